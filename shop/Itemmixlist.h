#pragma once
#include <array>

#include "platform/Controls.h"
#include "shop/GameDialog.h"
#include "shop/ItemListView.h"

// The mixing list: the known goods in a paged table of 16 rows, each with the small
// icons of its recipe's materials (drawn as missing when the stock is short of one
// batch). A row opens the mixing dialog for that recipe; a material icon opens the
// material's details. Its stock and reserve cells move units even while the shop is open.
class TItemMixListForm : public TPagedItemListDialog {
public:
    TItemMixListForm();
    ~TItemMixListForm() override;

    struct Row : ItemListRow {
        std::array<ui::Image*, 3> MIcon;
    };
    std::array<Row, ItemListPageSize> Rows;

    void DrawItemMixList();
    // A material icon: the details of the material it shows (its Tag).
    void MIconClick(int row, int k);

protected:
    void ClearFormVariable() override;
    void DrawRow(int row, int item) override;
    // A row's icon or name: the mixing dialog for its goods.
    void RowClick(int row) override;
};

// Opens the mixing list unless it is open (the heroine reached the mixing desk).
void OpenItemMixList();

// Where the mixing list's columns lie: name, attribute, price, available, reserve,
// total, exhibition; then the three material icons.
using ItemMixListColumnPlace = ItemListColumnPlace;
extern const ItemMixListColumnPlace kItemMixListColumns[7];
extern const int kItemMixListIconX[3];
