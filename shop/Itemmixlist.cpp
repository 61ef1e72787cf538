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

constexpr int kRowTop = 63;
constexpr int kRowStep = 17;
constexpr int kHeadingTop = 40;
constexpr int kHeadingHeight = 19;

}  // namespace

TItemMixListForm::TItemMixListForm()
    : TGameDialog(461, 372, kPosItemMixList, CaptionStrip(8, 452, 8, 34)) {
    Name = "ItemMixListForm";
    LoadBackground("DlgItemMixList.bmp");
    Image1->OnMouseMove = [this](ui::Control&, ui::ShiftState, int, int) { HoverRow(-1); };
    TShopSkinSheets& sheets = ShopSheets();

    TCHBmpContainer* headingSheets[7] = {&sheets.ChName,      &sheets.ChAttribute, &sheets.ChPrice,
                                         &sheets.ChStock,     &sheets.ChReserve,   &sheets.ChTotal,
                                         &sheets.ChExhibition};
    const char* headingNames[7] = {"ItemName", "Attribute", "Price",     "Stock",
                                   "Reserve",  "Total",     "Exhibition"};
    TCHBcSpeedButton** headings[7] = {&ItemName, &Attribute, &Price,     &Stock,
                                      &Reserve,  &Total,     &Exhibition};
    void (TItemMixListForm::*clicks[7])() = {
        &TItemMixListForm::ItemNameClick,  &TItemMixListForm::AttributeClick,
        &TItemMixListForm::PriceClick,     &TItemMixListForm::StockClick,
        &TItemMixListForm::ReserveClick,   &TItemMixListForm::TotalClick,
        &TItemMixListForm::ExhibitionClick};
    for (int c = 0; c < 7; ++c) {
        *headings[c] =
            MakeSheetButton(*headingSheets[c], kItemMixListColumns[c].x, kHeadingTop,
                            kItemMixListColumns[c].width, kHeadingHeight, headingNames[c]);
        (*headings[c])->OnClick = [this, f = clicks[c]](ui::Control&) { (this->*f)(); };
    }

    for (int r = 0; r < ItemListPageSize; ++r) {
        Row& row = Rows[static_cast<std::size_t>(r)];
        const int y = kRowTop + kRowStep * r;
        char name[32];
        std::snprintf(name, sizeof name, "Icon%02d", r);
        row.Icon = Make<ui::Image>();
        row.Icon->Name = name;
        row.Icon->Tag = r;
        row.Icon->SetBounds(10, y - 2, 16, 16);
        row.Icon->OnClick = [this, r](ui::Control&) { OpenMixForRow(r); };
        row.Icon->OnMouseMove = [this, r](ui::Control&, ui::ShiftState, int, int) { HoverRow(r); };
        ui::Label** cells[7] = {&row.ItemName, &row.Attribute, &row.Price,     &row.Stock,
                                &row.Reserve,  &row.Total,     &row.Exhibition};
        for (int c = 0; c < 7; ++c) {
            std::snprintf(name, sizeof name, "%s%02d", headingNames[c], r);
            ui::Label* l = MakeLabel(kItemMixListColumns[c].x + 2, y, name);
            l->Tag = r;
            l->SetAutoSize(false);
            l->SetBounds(kItemMixListColumns[c].x + 2, y, kItemMixListColumns[c].width - 4, 12);
            l->SetAlignment(c == 0             ? ui::Alignment::taLeftJustify
                            : c >= 2 && c <= 5 ? ui::Alignment::taRightJustify
                                               : ui::Alignment::taCenter);
            *cells[c] = l;
        }
        row.ItemName->OnClick = [this, r](ui::Control&) { OpenMixForRow(r); };
        row.ItemName->OnMouseMove = [this, r](ui::Control&, ui::ShiftState, int, int) {
            HoverRow(r);
        };
        row.Stock->OnClick = [this, r](ui::Control&) { StockCellClick(r); };
        row.Reserve->OnClick = [this, r](ui::Control&) { ReserveCellClick(r); };
        for (int k = 0; k < 3; ++k) {
            std::snprintf(name, sizeof name, "MIcon%02d_%d", r, k);
            ui::Image* icon = Make<ui::Image>();
            icon->Name = name;
            icon->SetBounds(kItemMixListIconX[k], y - 2, 16, 16);
            icon->ShowHint = true;
            icon->OnClick = [this, r, k](ui::Control&) { MIconClick(r, k); };
            row.MIcon[static_cast<std::size_t>(k)] = icon;
        }
    }

    Page = MakeLabel(11, 346, "Page");
    BackPageButton = MakeSheetButton(sheets.ChBtBack, 208, 341, 75, 23, "BackPageButton");
    BackPageButton->OnClick = [this](ui::Control&) { BackPageButtonClick(); };
    NextPageButton = MakeSheetButton(sheets.ChBtNext, 287, 341, 75, 23, "NextPageButton");
    NextPageButton->OnClick = [this](ui::Control&) { NextPageButtonClick(); };
    CloseButton->SetBounds(378, 341, 75, 23);
}

TItemMixListForm::~TItemMixListForm() { ClearFormVariable(); }

void TItemMixListForm::ClearFormVariable() {
    if (ItemMixListForm == this) ItemMixListForm = nullptr;
}

void TItemMixListForm::DrawItemMixList() {
    ItemListView.kind = 1;
    Place();
    ResetItemListView();
    DrawMixPage();
    if (ItemListView.lastPage == 0) {
        BackPageButton->SetEnabled(false);
        NextPageButton->SetEnabled(false);
    }
    Show();
    ui::Record("window", "調配一覽");
}

void TItemMixListForm::DrawMixPage() {
    for (int r = 0; r < ItemListPageSize; ++r) {
        DrawMixRow(r, ItemListRowItem(r));
        Rows[static_cast<std::size_t>(r)].ItemName->SetFontColor(ui::clBlack);
    }
    Page->SetCaption(std::to_string(ItemListView.page + 1) + "/" +
                     std::to_string(ItemListView.lastPage + 1));
}

void TItemMixListForm::DrawMixRow(int r, int item) {
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
    ShowItemSmallIcon(*row.Icon, item);
    ShowItemName(*row.ItemName, item);
    ShowItemAttribute(*row.Attribute, item);
    ShowItemPrice(*row.Price, item);
    ShowItemStock(*row.Total, item);
    ShowItemSlotMark(*row.Exhibition, item);
    ShowItemAvailable(*row.Stock, item);
    ShowItemReserve(*row.Reserve, item);
}

void TItemMixListForm::BackPageButtonClick() {
    ItemListView.page = ItemListView.page == 0 ? ItemListView.lastPage : ItemListView.page - 1;
    DrawMixPage();
}

void TItemMixListForm::NextPageButtonClick() {
    ItemListView.page = ItemListView.page >= ItemListView.lastPage ? 0 : ItemListView.page + 1;
    DrawMixPage();
}

void TItemMixListForm::KeepOnlyFlag(int column) {
    for (int c = 0; c < 5; ++c)
        if (c != column) ItemListView.descending[c] = 0;
}

void TItemMixListForm::ItemNameClick() {
    ResetItemListViewSort();
    BuildItemListView();
    DrawMixPage();
}

void TItemMixListForm::AttributeClick() {
    KeepOnlyFlag(kColAttribute);
    SortItemListViewByAttribute();
    DrawMixPage();
}

void TItemMixListForm::PriceClick() {
    KeepOnlyFlag(kColPrice);
    SortItemListViewByPrice();
    DrawMixPage();
}

void TItemMixListForm::StockClick() {
    KeepOnlyFlag(kColAvailable);
    SortItemListViewByAvailable();
    DrawMixPage();
}

void TItemMixListForm::ReserveClick() {
    KeepOnlyFlag(kColReserve);
    SortItemListViewByReserve();
    DrawMixPage();
}

void TItemMixListForm::TotalClick() {
    KeepOnlyFlag(kColTotal);
    SortItemListViewByTotal();
    DrawMixPage();
}

void TItemMixListForm::ExhibitionClick() {
    ResetItemListViewSort();
    SortItemListViewByExhibition();
    DrawMixPage();
}

void TItemMixListForm::OpenMixForRow(int r) {
    const int item = ItemListRowItem(r);
    if (item < 0 || ItemMixForm != nullptr) return;
    Hide();
    ItemMixForm = new TItemMixForm;
    ItemMixForm->DispItemMix(item);
}

void TItemMixListForm::MIconClick(int r, int k) {
    const int material = Rows[static_cast<std::size_t>(r)].MIcon[static_cast<std::size_t>(k)]->Tag;
    if (ItemListRowItem(r) < 0 || material < 0 || material >= kItemCount) return;
    // Until the item details window exists the list stays shown.
    if (ItemDetails0Form != nullptr || !DispItemDetails0Hook) return;
    Hide();
    DispItemDetails0Hook(material);
}

// The mixing list moves units between stock and reserve even while the shop is open.
void TItemMixListForm::StockCellClick(int r) {
    const int item = ItemListRowItem(r);
    if (item < 0) return;
    DecreaseReserve(item);
    ShowItemAvailable(*Rows[static_cast<std::size_t>(r)].Stock, item);
    ShowItemReserve(*Rows[static_cast<std::size_t>(r)].Reserve, item);
}

void TItemMixListForm::ReserveCellClick(int r) {
    const int item = ItemListRowItem(r);
    if (item < 0) return;
    IncreaseReserve(item);
    ShowItemAvailable(*Rows[static_cast<std::size_t>(r)].Stock, item);
    ShowItemReserve(*Rows[static_cast<std::size_t>(r)].Reserve, item);
}

void TItemMixListForm::HoverRow(int row) {
    for (int r = 0; r < ItemListPageSize; ++r) {
        ui::Label& name = *Rows[static_cast<std::size_t>(r)].ItemName;
        const ui::TColor c = name.GetFont().Color;
        if (c == ui::clGray) continue;
        if (r == row)
            name.SetFontColor(ui::clRed);
        else if (c == ui::clRed)
            name.SetFontColor(ui::clBlack);
    }
}

void OpenItemMixList() {
    if (ItemMixListForm) return;
    ItemMixListForm = new TItemMixListForm;
    ItemMixListForm->DrawItemMixList();
}
