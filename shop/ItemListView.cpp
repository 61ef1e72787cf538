#include "shop/ItemListView.h"

#include <cstdio>
#include <string>

#include "shop/GameState.h"
#include "shop/ItemPainters.h"
#include "shop/ShopSkin.h"

TItemListView ItemListView{};

namespace {

void ComputeLastPage() {
    ItemListView.lastPage =
        ItemListView.count > 0 ? (ItemListView.count - 1) / ItemListPageSize : 0;
    if (ItemListView.page > ItemListView.lastPage) ItemListView.page = ItemListView.lastPage;
    if (ItemListView.page < 0) ItemListView.page = 0;
}

void Append(int id) { ItemListView.ids[ItemListView.count++] = static_cast<std::uint8_t>(id); }

// Known items that pass `first` in id order, then the other known ones.
template <class Pred>
void BuildSplit(Pred first) {
    ItemListView.count = 0;
    for (int id = 0; id < kItemCount; ++id)
        if (IsItemUnlocked(id) && first(id)) Append(id);
    for (int id = 0; id < kItemCount; ++id)
        if (IsItemUnlocked(id) && !first(id)) Append(id);
    ComputeLastPage();
}

// The exchange sort: for every pair i < j, ids that are out of order swap; equal keys
// never do.
template <class Key>
void ExchangeSort(Key key, bool descending) {
    std::uint8_t* ids = ItemListView.ids;
    for (int i = 0; i + 1 < ItemListView.count; ++i)
        for (int j = i + 1; j < ItemListView.count; ++j) {
            const int a = key(ids[i]), b = key(ids[j]);
            if (descending ? a < b : a > b) {
                const std::uint8_t t = ids[i];
                ids[i] = ids[j];
                ids[j] = t;
            }
        }
}

template <class Key>
void SortByColumn(int column, Key key) {
    BuildItemListView();
    ExchangeSort(key, ItemListView.descending[column] != 0);
    ItemListView.descending[column] ^= 1;
}

}  // namespace

void BuildItemListView() {
    ItemListView.count = 0;
    for (int id = 0; id < kItemCount; ++id) {
        if (ItemListView.kind == 1 && !IsShopGoods(id)) continue;
        if (IsItemUnlocked(id)) Append(id);
    }
    ComputeLastPage();
}

void BuildItemListViewGoodsFirst() {
    BuildSplit([](int id) { return IsShopGoods(id); });
}

void BuildItemListViewMaterialsFirst() {
    BuildSplit([](int id) { return IsMaterial(id); });
}

void SortItemListViewByAttribute() { SortByColumn(kColAttribute, ItemAttribute); }
void SortItemListViewByPrice() { SortByColumn(kColPrice, ItemBasePrice); }
void SortItemListViewByAvailable() {
    SortByColumn(kColAvailable, [](int id) { return ItemStock(id) - ItemReserve(id); });
}
void SortItemListViewByReserve() { SortByColumn(kColReserve, ItemReserve); }
void SortItemListViewByTotal() { SortByColumn(kColTotal, ItemStock); }

void SortItemListViewByExhibition() {
    BuildItemListView();
    ExchangeSort([](int id) { return int(ItemListView.slotOfItem[id]); }, false);
}

void ResetItemListViewSort() {
    for (std::uint8_t& d : ItemListView.descending) d = 0;
}

void ResetItemListView() {
    BuildItemListView();
    for (std::uint8_t& s : ItemListView.slotOfItem) s = 255;
    for (int slot = kExhibitionSlots - 1; slot >= 0; --slot) {
        const int item = SlotItem(slot);
        if (item >= 0 && item < kItemCount)
            ItemListView.slotOfItem[item] = static_cast<std::uint8_t>(slot);
    }
    ItemListView.page = 0;
    ComputeLastPage();
    ResetItemListViewSort();
}

int ItemListRowItem(int row) {
    if (row < 0 || row >= ItemListPageSize) return -1;
    const int index = ItemListView.page * ItemListPageSize + row;
    return index >= 0 && index < ItemListView.count ? ItemListView.ids[index] : -1;
}

void SortItemListViewByHeading(ItemListHeading heading) {
    switch (heading) {
        case ItemListHeading::kName:
            ResetItemListViewSort();
            BuildItemListView();
            return;
        case ItemListHeading::kGoodsFirst:
            ResetItemListViewSort();
            BuildItemListViewGoodsFirst();
            return;
        case ItemListHeading::kMaterialsFirst:
            ResetItemListViewSort();
            BuildItemListViewMaterialsFirst();
            return;
        case ItemListHeading::kExhibition:
            ResetItemListViewSort();
            SortItemListViewByExhibition();
            return;
        default:
            break;
    }
    const int column = static_cast<int>(heading) - static_cast<int>(ItemListHeading::kAttribute);
    for (int c = 0; c < 5; ++c)
        if (c != column) ItemListView.descending[c] = 0;
    void (*sorts[5])() = {&SortItemListViewByAttribute, &SortItemListViewByPrice,
                          &SortItemListViewByAvailable, &SortItemListViewByReserve,
                          &SortItemListViewByTotal};
    sorts[column]();
}

void MarkHoveredName(ui::Label& name, bool hovered) {
    const ui::TColor c = name.GetFont().Color;
    if (c == ui::clGray) return;
    if (hovered)
        name.SetFontColor(ui::clRed);
    else if (c == ui::clRed)
        name.SetFontColor(ui::clBlack);
}

ui::Image* MakeRowIcon(ui::WinControl& owner, int row, int y) {
    char name[32];
    std::snprintf(name, sizeof name, "Icon%02d", row);
    ui::Image* icon = owner.Make<ui::Image>();
    icon->Name = name;
    icon->Tag = row;
    icon->SetBounds(10, y - 2, 16, 16);
    return icon;
}

namespace {

// Per heading, in ItemListHeading's order: its sheet and its name (a row's cell of the
// column is the name and the row's number).
struct HeadingLook {
    TCHBmpContainer TShopSkinSheets::*sheet;
    const char* name;
};
const HeadingLook kHeadingLooks[9] = {
    {&TShopSkinSheets::ChName, "ItemName"},        {&TShopSkinSheets::ChGoods, "Gflag"},
    {&TShopSkinSheets::ChMaterial, "Mflag"},       {&TShopSkinSheets::ChAttribute, "Attribute"},
    {&TShopSkinSheets::ChPrice, "Price"},          {&TShopSkinSheets::ChStock, "Stock"},
    {&TShopSkinSheets::ChReserve, "Reserve"},      {&TShopSkinSheets::ChTotal, "Total"},
    {&TShopSkinSheets::ChExhibition, "Exhibition"}};

const HeadingLook& LookOf(ItemListHeading h) { return kHeadingLooks[static_cast<int>(h)]; }

// Names from the left, numbers from the right, marks in the middle.
ui::Alignment CellAlignment(ItemListHeading h) {
    if (h == ItemListHeading::kName) return ui::Alignment::taLeftJustify;
    if (h >= ItemListHeading::kPrice && h <= ItemListHeading::kTotal)
        return ui::Alignment::taRightJustify;
    return ui::Alignment::taCenter;
}

}  // namespace

TPagedItemListDialog::TPagedItemListDialog(int record, const char* background,
                                           const ItemListHeading* headings,
                                           const ItemListColumnPlace* places, int count)
    : TGameDialog(461, 372, record, CaptionStrip(8, 452, 8, 34)),
      headings_(headings),
      places_(places),
      count_(count) {
    LoadBackground(background);
    Image1->OnMouseMove = [this](ui::Control&, ui::ShiftState, int, int) { HoverRow(-1); };
}

void TPagedItemListDialog::MakeHeadings(TCHBcSpeedButton** goods, TCHBcSpeedButton** materials) {
    constexpr int kHeadingTop = 40;
    constexpr int kHeadingHeight = 19;
    TCHBcSpeedButton** buttons[9] = {&ItemName, goods,    materials, &Attribute, &Price,
                                     &Stock,    &Reserve, &Total,    &Exhibition};
    TShopSkinSheets& sheets = ShopSheets();
    for (int c = 0; c < count_; ++c) {
        const ItemListHeading h = headings_[c];
        const HeadingLook& look = LookOf(h);
        TCHBcSpeedButton* b = MakeSheetButton(sheets.*look.sheet, places_[c].x, kHeadingTop,
                                              places_[c].width, kHeadingHeight, look.name);
        b->OnClick = [this, h](ui::Control&) { HeadingClick(h); };
        if (TCHBcSpeedButton** into = buttons[static_cast<int>(h)]) *into = b;
    }
}

void TPagedItemListDialog::MakeRow(int r, ItemListRow& row, ui::Label** goods,
                                   ui::Label** materials) {
    const int y = RowTop(r);
    row.Icon = MakeRowIcon(*this, r, y);
    char name[32];
    ui::Label** cells[9] = {&row.ItemName, goods,        materials,  &row.Attribute, &row.Price,
                            &row.Stock,    &row.Reserve, &row.Total, &row.Exhibition};
    for (int c = 0; c < count_; ++c) {
        const ItemListHeading h = headings_[c];
        std::snprintf(name, sizeof name, "%s%02d", LookOf(h).name, r);
        ui::Label* l = MakeLabel(places_[c].x + 2, y, name);
        l->Tag = r;
        l->SetAutoSize(false);
        l->SetBounds(places_[c].x + 2, y, places_[c].width - 4, 12);
        l->SetAlignment(CellAlignment(h));
        if (ui::Label** into = cells[static_cast<int>(h)]) *into = l;
    }
    rows_[static_cast<std::size_t>(r)] = &row;
    for (ui::Control* c :
         {static_cast<ui::Control*>(row.Icon), static_cast<ui::Control*>(row.ItemName)}) {
        c->OnClick = [this, r](ui::Control&) { RowClick(r); };
        c->OnMouseMove = [this, r](ui::Control&, ui::ShiftState, int, int) { HoverRow(r); };
    }
    row.Stock->OnClick = [this, r](ui::Control&) { StockCellClick(r); };
    row.Reserve->OnClick = [this, r](ui::Control&) { ReserveCellClick(r); };
}

void TPagedItemListDialog::PaintRow(const ItemListRow& row, int item) {
    ShowItemSmallIcon(*row.Icon, item);
    ShowItemName(*row.ItemName, item);
    ShowItemAttribute(*row.Attribute, item);
    ShowItemPrice(*row.Price, item);
    ShowItemStock(*row.Total, item);
    ShowItemSlotMark(*row.Exhibition, item);
    ShowItemAvailable(*row.Stock, item);
    ShowItemReserve(*row.Reserve, item);
}

void TPagedItemListDialog::MakePageButtons() {
    TShopSkinSheets& sheets = ShopSheets();
    Page = MakeLabel(11, 346, "Page");
    BackPageButton = MakeSheetButton(sheets.ChBtBack, 208, 341, 75, 23, "BackPageButton");
    BackPageButton->OnClick = [this](ui::Control&) { BackPageButtonClick(); };
    NextPageButton = MakeSheetButton(sheets.ChBtNext, 287, 341, 75, 23, "NextPageButton");
    NextPageButton->OnClick = [this](ui::Control&) { NextPageButtonClick(); };
    CloseButton->SetBounds(378, 341, 75, 23);
}

void TPagedItemListDialog::ShowFirstPage(std::uint8_t kind) {
    ItemListView.kind = kind;
    Place();
    ResetItemListView();
    DrawPage();
    if (ItemListView.lastPage == 0) {
        BackPageButton->SetEnabled(false);
        NextPageButton->SetEnabled(false);
    }
    Show();
}

void TPagedItemListDialog::DrawPage() {
    for (int r = 0; r < ItemListPageSize; ++r) DrawRow(r, ItemListRowItem(r));
    Page->SetCaption(std::to_string(ItemListView.page + 1) + "/" +
                     std::to_string(ItemListView.lastPage + 1));
}

void TPagedItemListDialog::BackPageButtonClick() {
    ItemListView.page = ItemListView.page == 0 ? ItemListView.lastPage : ItemListView.page - 1;
    DrawPage();
}

void TPagedItemListDialog::NextPageButtonClick() {
    ItemListView.page = ItemListView.page >= ItemListView.lastPage ? 0 : ItemListView.page + 1;
    DrawPage();
}

void TPagedItemListDialog::HeadingClick(ItemListHeading heading) {
    SortItemListViewByHeading(heading);
    DrawPage();
}

void TPagedItemListDialog::HoverRow(int row) {
    for (int r = 0; r < ItemListPageSize; ++r)
        if (const ItemListRow* cells = rows_[static_cast<std::size_t>(r)])
            MarkHoveredName(*cells->ItemName, r == row);
}

bool TPagedItemListDialog::CanMoveReserve(int) const { return true; }

void TPagedItemListDialog::StockCellClick(int r) {
    const int item = ItemListRowItem(r);
    if (item < 0 || !CanMoveReserve(item)) return;
    DecreaseReserve(item);
    ReserveMoved(r, item);
}

void TPagedItemListDialog::ReserveCellClick(int r) {
    const int item = ItemListRowItem(r);
    if (item < 0 || !CanMoveReserve(item)) return;
    IncreaseReserve(item);
    ReserveMoved(r, item);
}

void TPagedItemListDialog::ReserveMoved(int r, int item) {
    const ItemListRow& row = *rows_[static_cast<std::size_t>(r)];
    ShowItemAvailable(*row.Stock, item);
    ShowItemReserve(*row.Reserve, item);
}
