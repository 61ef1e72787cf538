#include "shop/ItemListView.h"

#include "shop/GameState.h"

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
