#include "shop/Itemlist.h"

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

bool ShopIsOpen() {
    ShopWindowHooks& h = ShopHooks();
    return h.shopOpen && h.shopOpen();
}

const ItemListHeading kHeadings[9] = {
    ItemListHeading::kName,      ItemListHeading::kGoodsFirst, ItemListHeading::kMaterialsFirst,
    ItemListHeading::kAttribute, ItemListHeading::kPrice,      ItemListHeading::kAvailable,
    ItemListHeading::kReserve,   ItemListHeading::kTotal,      ItemListHeading::kExhibition};

}  // namespace

TItemListForm::TItemListForm()
    : TPagedItemListDialog(kPosItemList, "DlgItemList.bmp", kHeadings, kItemListColumns, 9) {
    Name = "ItemListForm";
    MakeHeadings(&Gflag, &Mflag);
    for (int r = 0; r < ItemListPageSize; ++r) {
        Row& row = Rows[static_cast<std::size_t>(r)];
        MakeRow(r, row, &row.Gflag, &row.Mflag);
    }
    MakePageButtons();
}

TItemListForm::~TItemListForm() { ClearFormVariable(); }

void TItemListForm::ClearFormVariable() {
    if (ItemListForm == this) ItemListForm = nullptr;
}

void TItemListForm::DispItemList() {
    ShowFirstPage(0);
    ui::Record("window", "物品一覽");
}

void TItemListForm::DrawRow(int r, int item) {
    Row& row = Rows[static_cast<std::size_t>(r)];
    PaintRow(row, item);
    ShowGoodsMark(*row.Gflag, item);
    ShowMaterialMark(*row.Mflag, item);
    row.ItemName->SetFontColor(ui::clBlack);
}

void TItemListForm::RowClick(int row) {
    const int item = ItemListRowItem(row);
    if (item < 0 || ItemDetails0Form != nullptr) return;
    // Without the item details window (the list alone, in a test) the list stays shown.
    if (!DispItemDetails0Hook) return;
    Hide();
    DispItemDetails0Hook(item);
}

bool TItemListForm::CanMoveReserve(int item) const { return !ShopIsOpen() && IsShopGoods(item); }

void OpenItemList() {
    if (ItemListForm) return;
    ItemListForm = new TItemListForm;
    ItemListForm->DispItemList();
}
