#include "shop/Itemmixlist.h"

#include <cstdio>
#include <cstring>

#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/ItemPainters.h"
#include "shop/Itemlist.h"
#include "shop/Itemmix.h"
#include "shop/ShopSkin.h"

// Name, attribute, price, available, reserve, total, exhibition.
const ItemMixListColumnPlace kItemMixListColumns[7] = {{32, 120}, {154, 32}, {188, 46}, {236, 36},
                                                       {274, 36}, {312, 36}, {350, 30}};
const int kItemMixListIconX[3] = {386, 406, 426};

namespace {

const ItemListHeading kHeadings[7] = {ItemListHeading::kName,      ItemListHeading::kAttribute,
                                      ItemListHeading::kPrice,     ItemListHeading::kAvailable,
                                      ItemListHeading::kReserve,   ItemListHeading::kTotal,
                                      ItemListHeading::kExhibition};

}  // namespace

TItemMixListForm::TItemMixListForm()
    : TPagedItemListDialog(kPosItemMixList, "DlgItemMixList.bmp", kHeadings, kItemMixListColumns,
                           7) {
    Name = "ItemMixListForm";
    MakeHeadings();
    for (int r = 0; r < ItemListPageSize; ++r) {
        Row& row = Rows[static_cast<std::size_t>(r)];
        MakeRow(r, row);
        char name[32];
        for (int k = 0; k < 3; ++k) {
            std::snprintf(name, sizeof name, "MIcon%02d_%d", r, k);
            ui::Image* icon = Make<ui::Image>();
            icon->Name = name;
            icon->SetBounds(kItemMixListIconX[k], RowTop(r) - 2, 16, 16);
            icon->ShowHint = true;
            icon->OnClick = [this, r, k](ui::Control&) { MIconClick(r, k); };
            row.MIcon[static_cast<std::size_t>(k)] = icon;
        }
    }
    MakePageButtons();
}

TItemMixListForm::~TItemMixListForm() { ClearFormVariable(); }

void TItemMixListForm::ClearFormVariable() {
    if (ItemMixListForm == this) ItemMixListForm = nullptr;
}

void TItemMixListForm::DrawItemMixList() {
    ShowFirstPage(1);
    ui::Record("window", "調配一覽");
}

void TItemMixListForm::DrawRow(int r, int item) {
    Row& row = Rows[static_cast<std::size_t>(r)];
    for (int k = 2; k >= 0; --k) {
        ui::Image& icon = *row.MIcon[static_cast<std::size_t>(k)];
        const int material = item < 0 ? -1 : RecipeMaterial(item, k);
        if (material < 0 || material >= kItemCount) {
            ShowItemSmallIcon(icon, -1);
            icon.Tag = -1;
            icon.Hint.clear();
            continue;
        }
        // A material short of one batch is drawn from the sheet's second row.
        const bool short_ = RecipeQuantity(item, k) > ItemStock(material);
        ShowItemSmallIcon(icon, short_ ? material + kItemCount : material);
        icon.Tag = material;
        const char* name = ::ItemName(material);
        icon.Hint.assign(name, strnlen(name, 21));
    }
    PaintRow(row, item);
    row.ItemName->SetFontColor(ui::clBlack);
}

void TItemMixListForm::RowClick(int r) {
    const int item = ItemListRowItem(r);
    if (item < 0 || ItemMixForm != nullptr) return;
    Hide();
    ItemMixForm = new TItemMixForm;
    ItemMixForm->DispItemMix(item);
}

void TItemMixListForm::MIconClick(int r, int k) {
    const int material = Rows[static_cast<std::size_t>(r)].MIcon[static_cast<std::size_t>(k)]->Tag;
    if (ItemListRowItem(r) < 0 || material < 0 || material >= kItemCount) return;
    // Without the item details window (the list alone, in a test) the list stays shown.
    if (ItemDetails0Form != nullptr || !DispItemDetails0Hook) return;
    Hide();
    DispItemDetails0Hook(material);
}

void OpenItemMixList() {
    if (ItemMixListForm) return;
    ItemMixListForm = new TItemMixListForm;
    ItemMixListForm->DrawItemMixList();
}
