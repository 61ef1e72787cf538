#include "shop/Itemdetails.h"

#include <cstdio>
#include <string>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/ItemPanel.h"
#include "shop/Itemlist.h"
#include "shop/Itemmixlist.h"

namespace {

// After a details window closes: the list it came from shows again.
void ShowListAgain() {
    if (ItemListForm)
        ItemListForm->Show();
    else if (ItemMixListForm)
        ItemMixListForm->Show();
    EnableShopMenus();
}

}  // namespace

// ---------------------------------------------------------------------------- material

TItemDetails0Form::TItemDetails0Form()
    : TGameDialog(419, 156, kPosItemDetails0, CaptionStrip(8, 410, 8, 34)) {
    Name = "ItemDetails0Form";
    LoadBackground("DlgItemDetails0.bmp");
    MakeItemNameAndIcon(ItemName, ItemIcon, 130, 12, 16, 48);
    auto text = [this](int x, int y, const char* n) {
        ui::Label* l = MakeLabel(x, y, n);
        l->SetAutoSize(false);
        l->SetBounds(x, y, 260, 14);
        return l;
    };
    ItemAttribute = text(152, 47, "ItemAttribute");
    ItemCaption0 = text(152, 65, "ItemCaption0");
    ItemCaption1 = text(152, 83, "ItemCaption1");
    CloseButton->SetBounds(336, 125, 75, 23);
}

TItemDetails0Form::~TItemDetails0Form() { ClearFormVariable(); }

void TItemDetails0Form::ClearFormVariable() {
    if (ItemDetails0Form == this) ItemDetails0Form = nullptr;
}

void TItemDetails0Form::DispItemDetails0(int item) {
    if (item < 0 || item >= kItemCount) return;
    if (IsShopGoods(item)) {
        // Goods get the recipe window; this one stays made and hidden.
        if (ItemDetails1Form) return;
        ItemDetails1Form = new TItemDetails1Form;
        ItemDetails1Form->DispItemDetails1(item);
        return;
    }
    Place();
    ShowItemHeader({ItemName, ItemIcon, ItemAttribute, nullptr, ItemCaption0, ItemCaption1}, item,
                   StockTalk::Shown);
    Show();
    ui::RecordBig5("window", ItemNameField(item));
}

void TItemDetails0Form::CloseButtonClick() {
    SaveWindowPosition(*this, kPosItemDetails0);
    Hide();
    Release();
    ClearFormVariable();
    ShowListAgain();
}

// ---------------------------------------------------------------------------- goods

TItemDetails1Form::TItemDetails1Form()
    : TGameDialog(419, 262, kPosItemDetails1, CaptionStrip(8, 410, 8, 34)) {
    Name = "ItemDetails1Form";
    LoadBackground("DlgItemDetails1.bmp");
    MakeItemNameAndIcon(ItemName, ItemIcon, 130, 12, 16, 48);
    auto text = [this](int x, int y, int w, const char* n) { return MakeFixedLabel(x, y, w, n); };
    // The material window's fields, the difficulty under them, the recipe below.
    ItemAttribute = text(152, 47, 250, "ItemAttribute");
    ItemCaption0 = text(152, 65, 260, "ItemCaption0");
    ItemCaption1 = text(152, 83, 260, "ItemCaption1");
    ItemLevel = text(152, 101, 250, "ItemLevel");
    const int xs[3] = {16, 152, 296};
    char n[32];
    for (int k = 0; k < 3; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        MaterialIcon[i] = Make<ui::Image>();
        MaterialIcon[i]->SetBounds(xs[k], 136, 64, 64);
        std::snprintf(n, sizeof n, "MaterialNum%d", k);
        MaterialNum[i] = text(xs[k] + 68, 184, 50, n);
        std::snprintf(n, sizeof n, "MaterialName%d", k);
        MaterialName[i] = text(xs[k], 208, 130, n);
    }
    CloseButton->SetBounds(336, 231, 75, 23);
}

TItemDetails1Form::~TItemDetails1Form() { ClearFormVariable(); }

void TItemDetails1Form::ClearFormVariable() {
    if (ItemDetails1Form == this) ItemDetails1Form = nullptr;
}

void TItemDetails1Form::DispItemDetails1(int item) {
    Place();
    ShowItemHeader({ItemName, ItemIcon, ItemAttribute, ItemLevel, ItemCaption0, ItemCaption1}, item,
                   StockTalk::Shown);
    ShowRecipeMaterials({MaterialIcon, MaterialName, MaterialNum}, item, 1, StockTalk::Shown);
    Show();
    ui::RecordBig5("window", ItemNameField(item));
}

void TItemDetails1Form::CloseButtonClick() {
    SaveWindowPosition(*this, kPosItemDetails1);
    Hide();
    Release();
    ClearFormVariable();
    // The material window that handed over to this one goes too, and its variable with
    // it, so no later click reaches a freed window.
    if (ItemDetails0Form) {
        TItemDetails0Form* d0 = ItemDetails0Form;
        ItemDetails0Form = nullptr;
        d0->Release();
    }
    ShowListAgain();
}

void DispItemDetails0(int item) {
    if (ItemDetails0Form) return;
    ItemDetails0Form = new TItemDetails0Form;
    ItemDetails0Form->DispItemDetails0(item);
}
