#pragma once
#include <array>

#include "platform/Controls.h"
#include "shop/GameDialog.h"
#include "shop/ItemListView.h"

// The item list (物品一覽): every known item in a paged table of 16 rows with sortable
// column headings; a row's icon or name opens the item's details, and while the shop
// is closed the Stock and Reserve cells move units between what is for sale and what
// the heroine keeps with her.
class TItemListForm : public TPagedItemListDialog {
public:
    TItemListForm();
    ~TItemListForm() override;

    struct Row : ItemListRow {
        ui::Label* Gflag;
        ui::Label* Mflag;
    };
    std::array<Row, ItemListPageSize> Rows;
    // The G and M headings (the others are every paged list's).
    TCHBcSpeedButton *Gflag, *Mflag;

    void DispItemList();

protected:
    void ClearFormVariable() override;
    void DrawRow(int row, int item) override;
    // The item's details.
    void RowClick(int row) override;
    // Only goods, and only while the shop is closed.
    bool CanMoveReserve(int item) const override;
};

// Opens the item list unless it is open.
void OpenItemList();

// Opens the details window of an item (TItemDetails0Form::DispItemDetails0); null until
// the item details window exists, and then a row click does nothing.
extern void (*DispItemDetails0Hook)(int item);

// Where the list's columns lie: x and width of each of the nine headed columns.
extern const ItemListColumnPlace kItemListColumns[9];
