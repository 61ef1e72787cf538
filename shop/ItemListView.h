#pragma once
#include <cstdint>

#include "shop/Catalog.h"

// The paged view list the item list, the mixing list and the exhibition list share:
// the known items in display order, 16 rows a page, with the building and sorting
// operations behind their column headings. Only one list dialog is open at a time.

constexpr int ItemListPageSize = 16;

// The sortable columns, in the order of their direction flags.
enum ItemListColumn {
    kColAttribute = 0,
    kColPrice = 1,
    kColAvailable = 2,
    kColReserve = 3,
    kColTotal = 4,
};

struct TItemListView {
    std::uint8_t ids[kItemCount];         // item ids in display order
    std::uint8_t slotOfItem[kItemCount];  // per item: its exhibition slot 0..9, 255 = none
    std::int32_t count;
    std::int32_t page;
    std::int32_t lastPage;       // (count - 1) / 16; 0 for an empty list
    std::uint8_t kind;           // 0 = every known item, 1 = known G items only
    std::uint8_t descending[5];  // per sortable column: the next sort runs descending
};
extern TItemListView ItemListView;

// The known items in id order (only the G items when kind is 1).
void BuildItemListView();
// Known G items first, then the other known items, each in id order.
void BuildItemListViewGoodsFirst();
// Known M items first, then the other known items.
void BuildItemListViewMaterialsFirst();
// Rebuild, then sort by the column's key in its direction; the direction flips for the
// next click.
void SortItemListViewByAttribute();
void SortItemListViewByPrice();
void SortItemListViewByAvailable();
void SortItemListViewByReserve();
void SortItemListViewByTotal();
// Rebuild, then ascending by exhibition slot (not exhibited last).
void SortItemListViewByExhibition();
void ResetItemListViewSort();
// Rebuild, note every item's slot (slot 9 down to 0), back to page 0, sorts reset.
void ResetItemListView();
// The item of a row of the current page, or -1.
int ItemListRowItem(int row);
