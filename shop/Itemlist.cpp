#include "shop/Itemlist.h"

#include <cstdio>

#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/ItemPainters.h"
#include "shop/ShopSkin.h"

void (*DispItemDetails0Hook)(int item) = nullptr;

// Name, G, M, attribute, price, available, reserve, total, exhibition.
const ItemListColumnPlace kItemListColumns[9] = {{32, 120}, {154, 28}, {184, 28},
                                                 {214, 32}, {248, 46}, {296, 40},
                                                 {338, 40}, {380, 40}, {422, 30}};

namespace {

constexpr int kRowTop = 63;
constexpr int kRowStep = 17;
constexpr int kHeadingTop = 40;
constexpr int kHeadingHeight = 19;

bool ShopIsOpen() {
    ShopWindowHooks& h = ShopHooks();
    return h.shopOpen && h.shopOpen();
}

}  // namespace

TItemListForm::TItemListForm() : TGameDialog(461, 372, kPosItemList, CaptionStrip(8, 452, 8, 34)) {
    Name = "ItemListForm";
    LoadBackground("DlgItemList.bmp");
    Image1->OnMouseMove = [this](ui::Control&, ui::ShiftState, int, int) { HoverRow(-1); };
    TShopSkinSheets& sheets = ShopSheets();

    // Column headings.
    TCHBmpContainer* headingSheets[9] = {
        &sheets.ChName,      &sheets.ChGoods, &sheets.ChMaterial,
        &sheets.ChAttribute, &sheets.ChPrice, &sheets.ChStock,
        &sheets.ChReserve,   &sheets.ChTotal, &sheets.ChExhibition};
    const char* headingNames[9] = {"ItemName", "Gflag",   "Mflag", "Attribute", "Price",
                                   "Stock",    "Reserve", "Total", "Exhibition"};
    TCHBcSpeedButton** headings[9] = {&ItemName, &Gflag,   &Mflag, &Attribute, &Price,
                                      &Stock,    &Reserve, &Total, &Exhibition};
    void (TItemListForm::*clicks[9])() = {
        &TItemListForm::ItemNameClick,  &TItemListForm::GflagClick,
        &TItemListForm::MflagClick,     &TItemListForm::AttributeClick,
        &TItemListForm::PriceClick,     &TItemListForm::StockClick,
        &TItemListForm::ReserveClick,   &TItemListForm::TotalClick,
        &TItemListForm::ExhibitionClick};
    for (int c = 0; c < 9; ++c) {
        *headings[c] = MakeSheetButton(*headingSheets[c], kItemListColumns[c].x, kHeadingTop,
                                       kItemListColumns[c].width, kHeadingHeight, headingNames[c]);
        (*headings[c])->OnClick = [this, f = clicks[c]](ui::Control&) { (this->*f)(); };
    }

    // The rows.
    for (int r = 0; r < ItemListPageSize; ++r) {
        Row& row = Rows[static_cast<std::size_t>(r)];
        const int y = kRowTop + kRowStep * r;
        char name[32];
        std::snprintf(name, sizeof name, "Icon%02d", r);
        row.Icon = Make<ui::Image>();
        row.Icon->Name = name;
        row.Icon->Tag = r;
        row.Icon->SetBounds(10, y - 2, 16, 16);
        row.Icon->OnClick = [this, r](ui::Control&) { OpenDetailsForRow(r); };
        row.Icon->OnMouseMove = [this, r](ui::Control&, ui::ShiftState, int, int) { HoverRow(r); };
        ui::Label** cells[9] = {&row.ItemName, &row.Gflag,   &row.Mflag, &row.Attribute, &row.Price,
                                &row.Stock,    &row.Reserve, &row.Total, &row.Exhibition};
        for (int c = 0; c < 9; ++c) {
            std::snprintf(name, sizeof name, "%s%02d", headingNames[c], r);
            ui::Label* l = MakeLabel(kItemListColumns[c].x + 2, y, name);
            l->Tag = r;
            l->SetAutoSize(false);
            l->SetBounds(kItemListColumns[c].x + 2, y, kItemListColumns[c].width - 4, 12);
            // Names from the left, numbers from the right, marks in the middle.
            l->SetAlignment(c == 0             ? ui::Alignment::taLeftJustify
                            : c >= 4 && c <= 7 ? ui::Alignment::taRightJustify
                                               : ui::Alignment::taCenter);
            *cells[c] = l;
        }
        row.ItemName->OnClick = [this, r](ui::Control&) { OpenDetailsForRow(r); };
        row.ItemName->OnMouseMove = [this, r](ui::Control&, ui::ShiftState, int, int) {
            HoverRow(r);
        };
        row.Stock->OnClick = [this, r](ui::Control&) { StockCellClick(r); };
        row.Reserve->OnClick = [this, r](ui::Control&) { ReserveCellClick(r); };
    }

    Page = MakeLabel(11, 346, "Page");
    BackPageButton = MakeSheetButton(sheets.ChBtBack, 208, 341, 75, 23, "BackPageButton");
    BackPageButton->OnClick = [this](ui::Control&) { BackPageButtonClick(); };
    NextPageButton = MakeSheetButton(sheets.ChBtNext, 287, 341, 75, 23, "NextPageButton");
    NextPageButton->OnClick = [this](ui::Control&) { NextPageButtonClick(); };
    CloseButton->SetBounds(378, 341, 75, 23);
}

TItemListForm::~TItemListForm() { ClearFormVariable(); }

void TItemListForm::ClearFormVariable() {
    if (ItemListForm == this) ItemListForm = nullptr;
}

void TItemListForm::DispItemList() {
    ItemListView.kind = 0;
    Place();
    ResetItemListView();
    DrawItemPage();
    if (ItemListView.lastPage == 0) {
        BackPageButton->SetEnabled(false);
        NextPageButton->SetEnabled(false);
    }
    Show();
    ui::Record("window", "物品一覽");
}

void TItemListForm::DrawItemPage() {
    for (int r = 0; r < ItemListPageSize; ++r) {
        DrawItemRow(r, ItemListRowItem(r));
        Rows[static_cast<std::size_t>(r)].ItemName->SetFontColor(ui::clBlack);
    }
    Page->SetCaption(std::to_string(ItemListView.page + 1) + "/" +
                     std::to_string(ItemListView.lastPage + 1));
}

void TItemListForm::DrawItemRow(int r, int item) {
    Row& row = Rows[static_cast<std::size_t>(r)];
    ShowItemSmallIcon(*row.Icon, item);
    ShowItemName(*row.ItemName, item);
    ShowGoodsMark(*row.Gflag, item);
    ShowMaterialMark(*row.Mflag, item);
    ShowItemAttribute(*row.Attribute, item);
    ShowItemPrice(*row.Price, item);
    ShowItemStock(*row.Total, item);
    ShowItemSlotMark(*row.Exhibition, item);
    ShowItemAvailable(*row.Stock, item);
    ShowItemReserve(*row.Reserve, item);
}

void TItemListForm::BackPageButtonClick() {
    ItemListView.page = ItemListView.page == 0 ? ItemListView.lastPage : ItemListView.page - 1;
    DrawItemPage();
}

void TItemListForm::NextPageButtonClick() {
    ItemListView.page = ItemListView.page >= ItemListView.lastPage ? 0 : ItemListView.page + 1;
    DrawItemPage();
}

void TItemListForm::KeepOnlyFlag(int column) {
    for (int c = 0; c < 5; ++c)
        if (c != column) ItemListView.descending[c] = 0;
}

void TItemListForm::ItemNameClick() {
    ResetItemListViewSort();
    BuildItemListView();
    DrawItemPage();
}

void TItemListForm::GflagClick() {
    ResetItemListViewSort();
    BuildItemListViewGoodsFirst();
    DrawItemPage();
}

void TItemListForm::MflagClick() {
    ResetItemListViewSort();
    BuildItemListViewMaterialsFirst();
    DrawItemPage();
}

void TItemListForm::AttributeClick() {
    KeepOnlyFlag(kColAttribute);
    SortItemListViewByAttribute();
    DrawItemPage();
}

void TItemListForm::PriceClick() {
    KeepOnlyFlag(kColPrice);
    SortItemListViewByPrice();
    DrawItemPage();
}

void TItemListForm::StockClick() {
    KeepOnlyFlag(kColAvailable);
    SortItemListViewByAvailable();
    DrawItemPage();
}

void TItemListForm::ReserveClick() {
    KeepOnlyFlag(kColReserve);
    SortItemListViewByReserve();
    DrawItemPage();
}

void TItemListForm::TotalClick() {
    KeepOnlyFlag(kColTotal);
    SortItemListViewByTotal();
    DrawItemPage();
}

void TItemListForm::ExhibitionClick() {
    ResetItemListViewSort();
    SortItemListViewByExhibition();
    DrawItemPage();
}

void TItemListForm::OpenDetailsForRow(int row) {
    const int item = ItemListRowItem(row);
    if (item < 0 || ItemDetails0Form != nullptr) return;
    // Until the item details window exists the list stays shown.
    if (!DispItemDetails0Hook) return;
    Hide();
    DispItemDetails0Hook(item);
}

void TItemListForm::StockCellClick(int r) {
    const int item = ItemListRowItem(r);
    if (item < 0 || ShopIsOpen() || !IsShopGoods(item)) return;
    DecreaseReserve(item);
    ShowItemAvailable(*Rows[static_cast<std::size_t>(r)].Stock, item);
    ShowItemReserve(*Rows[static_cast<std::size_t>(r)].Reserve, item);
}

void TItemListForm::ReserveCellClick(int r) {
    const int item = ItemListRowItem(r);
    if (item < 0 || ShopIsOpen() || !IsShopGoods(item)) return;
    IncreaseReserve(item);
    ShowItemAvailable(*Rows[static_cast<std::size_t>(r)].Stock, item);
    ShowItemReserve(*Rows[static_cast<std::size_t>(r)].Reserve, item);
}

void TItemListForm::HoverRow(int row) {
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

void OpenItemList() {
    if (ItemListForm) return;
    ItemListForm = new TItemListForm;
    ItemListForm->DispItemList();
}
