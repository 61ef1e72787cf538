#pragma once
#include <array>
#include <cstdint>

#include "platform/Controls.h"
#include "shop/Catalog.h"
#include "shop/GameDialog.h"

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

// What a click on a column heading does to the view. The name, G, M and exhibition
// headings rebuild it with every direction reset; the sortable ones reset the other
// directions and sort by their own key, which flips for the next click.
enum class ItemListHeading {
    kName,
    kGoodsFirst,
    kMaterialsFirst,
    kAttribute,
    kPrice,
    kAvailable,
    kReserve,
    kTotal,
    kExhibition,
};
void SortItemListViewByHeading(ItemListHeading heading);

// The hover mark of a list dialog's rows: the name of the row under the mouse turns red,
// a red name of another row black again; grey names (rows that cannot be chosen) stay.
void MarkHoveredName(ui::Label& name, bool hovered);
// A row's small icon in a list dialog: named "Icon" and the row's number, tagged with
// the row, 16 x 16 at (10, y - 2) beside the row's cells at y.
ui::Image* MakeRowIcon(ui::WinControl& owner, int row, int y);

// Where a column of a paged list lies: its heading's x and width.
struct ItemListColumnPlace {
    int x;
    int width;
};

// The cells every row of a paged list has (a list adds its own).
struct ItemListRow {
    ui::Image* Icon;
    ui::Label *ItemName, *Attribute, *Price, *Stock, *Reserve, *Total, *Exhibition;
};

// The paged list dialogs (the item list, the mixing list, the goods list for a slot):
// 461 x 372 over their background, a heading per column that sorts ItemListView, 16 rows
// of a small icon and a cell per column, the page line with its back and next buttons.
// A row's icon or name opens what the dialog offers for its item; its available and
// reserve cells move a unit between stock and reserve.
class TPagedItemListDialog : public TGameDialog {
public:
    // The headings every paged list has (a list adds its own).
    TCHBcSpeedButton *ItemName = nullptr, *Attribute = nullptr, *Price = nullptr, *Stock = nullptr,
                     *Reserve = nullptr, *Total = nullptr, *Exhibition = nullptr;
    ui::Label* Page = nullptr;
    TCHBcSpeedButton* BackPageButton = nullptr;
    TCHBcSpeedButton* NextPageButton = nullptr;

    // Draws every row of the current page and the page line.
    void DrawPage();
    // The previous and the next page, round from the first to the last and back.
    void BackPageButtonClick();
    void NextPageButtonClick();
    void HeadingClick(ItemListHeading heading);
    // The mouse over a row's icon or name (-1: over the background).
    void HoverRow(int row);
    void StockCellClick(int row);
    void ReserveCellClick(int row);

protected:
    // The columns: what each heading does and where it lies (both `count` long, kept).
    TPagedItemListDialog(int record, const char* background, const ItemListHeading* headings,
                         const ItemListColumnPlace* places, int count);
    // The heading buttons; the G and M columns' into *goods and *materials.
    void MakeHeadings(TCHBcSpeedButton** goods = nullptr, TCHBcSpeedButton** materials = nullptr);
    // A row's icon and its cells (the G and M columns' into *goods and *materials), wired
    // to RowClick, HoverRow and the stock and reserve clicks; the row is kept for them.
    void MakeRow(int row, ItemListRow& cells, ui::Label** goods = nullptr,
                 ui::Label** materials = nullptr);
    // Draws the icon and the common cells of a row for an item (-1: an empty row).
    static void PaintRow(const ItemListRow& row, int item);
    // The page line, the back and next buttons, the close button beside them.
    void MakePageButtons();
    // Fills the view (all known items or the G items only), draws page 0 and shows the
    // dialog; the page buttons are off when there is only one page.
    void ShowFirstPage(std::uint8_t kind);
    // The top of a row's cells.
    static int RowTop(int row) { return 63 + 17 * row; }

    virtual void DrawRow(int row, int item) = 0;
    // A click on a row's icon or name.
    virtual void RowClick(int row) = 0;
    // Whether the stock and reserve cells may move units of the item now.
    virtual bool CanMoveReserve(int item) const;
    // After a unit moved: the row's available and reserve cells drawn again.
    virtual void ReserveMoved(int row, int item);

private:
    std::array<ItemListRow*, ItemListPageSize> rows_{};
    const ItemListHeading* headings_;
    const ItemListColumnPlace* places_;
    int count_;
};
