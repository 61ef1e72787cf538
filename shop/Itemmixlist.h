#pragma once
#include <array>

#include "platform/Controls.h"
#include "shop/GameDialog.h"
#include "shop/ItemListView.h"

// The mixing list: the known goods in a paged table of 16 rows, each with the small
// icons of its recipe's materials (drawn as missing when the stock is short of one
// batch). A row opens the mixing dialog for that recipe; a material icon opens the
// material's details.
class TItemMixListForm : public TGameDialog {
public:
    TItemMixListForm();
    ~TItemMixListForm() override;

    struct Row {
        ui::Image* Icon;
        ui::Label* ItemName;
        ui::Label* Attribute;
        ui::Label* Price;
        ui::Label* Stock;
        ui::Label* Reserve;
        ui::Label* Total;
        ui::Label* Exhibition;
        std::array<ui::Image*, 3> MIcon;
    };
    std::array<Row, ItemListPageSize> Rows;
    // Column headings.
    TCHBcSpeedButton *ItemName, *Attribute, *Price, *Stock, *Reserve, *Total, *Exhibition;
    ui::Label* Page;
    TCHBcSpeedButton* BackPageButton;
    TCHBcSpeedButton* NextPageButton;

    void DrawItemMixList();
    void DrawMixPage();
    void DrawMixRow(int row, int item);
    void BackPageButtonClick();
    void NextPageButtonClick();
    void ItemNameClick();
    void AttributeClick();
    void PriceClick();
    void StockClick();
    void ReserveClick();
    void TotalClick();
    void ExhibitionClick();
    // A row's icon or name: the mixing dialog for its goods.
    void OpenMixForRow(int row);
    // A material icon: the details of the material it shows (its Tag).
    void MIconClick(int row, int k);
    void StockCellClick(int row);
    void ReserveCellClick(int row);
    void HoverRow(int row);

protected:
    void ClearFormVariable() override;

private:
    void KeepOnlyFlag(int column);
};

// Opens the mixing list unless it is open (the heroine reached the mixing desk).
void OpenItemMixList();

// Where the mixing list's columns lie: name, attribute, price, available, reserve,
// total, exhibition; then the three material icons.
struct ItemMixListColumnPlace {
    int x;
    int width;
};
extern const ItemMixListColumnPlace kItemMixListColumns[7];
extern const int kItemMixListIconX[3];
