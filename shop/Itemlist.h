#pragma once
#include <array>

#include "platform/Controls.h"
#include "shop/GameDialog.h"
#include "shop/ItemListView.h"

// The item list (物品一覽): every known item in a paged table of 16 rows with sortable
// column headings; a row's icon or name opens the item's details, and while the shop
// is closed the Stock and Reserve cells move units between what is for sale and what
// the heroine keeps with her.
class TItemListForm : public TGameDialog {
public:
    TItemListForm();
    ~TItemListForm() override;

    struct Row {
        ui::Image* Icon;
        ui::Label* ItemName;
        ui::Label* Gflag;
        ui::Label* Mflag;
        ui::Label* Attribute;
        ui::Label* Price;
        ui::Label* Stock;
        ui::Label* Reserve;
        ui::Label* Total;
        ui::Label* Exhibition;
    };
    std::array<Row, ItemListPageSize> Rows;
    // Column headings.
    TCHBcSpeedButton *ItemName, *Gflag, *Mflag, *Attribute, *Price, *Stock, *Reserve, *Total,
        *Exhibition;
    ui::Label* Page;
    TCHBcSpeedButton* BackPageButton;
    TCHBcSpeedButton* NextPageButton;

    void DispItemList();
    void DrawItemPage();
    void DrawItemRow(int row, int item);
    void BackPageButtonClick();
    void NextPageButtonClick();
    void ItemNameClick();
    void GflagClick();
    void MflagClick();
    void AttributeClick();
    void PriceClick();
    void StockClick();
    void ReserveClick();
    void TotalClick();
    void ExhibitionClick();
    void OpenDetailsForRow(int row);
    void StockCellClick(int row);
    void ReserveCellClick(int row);
    // The mouse over a row's icon or name (-1: over the background).
    void HoverRow(int row);

protected:
    void ClearFormVariable() override;

private:
    // Resets every direction flag but the column's own.
    void KeepOnlyFlag(int column);
};

// Opens the item list unless it is open.
void OpenItemList();

// Opens the details window of an item (TItemDetails0Form::DispItemDetails0); null until
// the item details window exists, and then a row click does nothing.
extern void (*DispItemDetails0Hook)(int item);

// Where the list's columns lie: x and width of each of the nine headed columns.
struct ItemListColumnPlace {
    int x;
    int width;
};
extern const ItemListColumnPlace kItemListColumns[9];
