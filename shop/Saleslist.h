#pragma once
#include <array>

#include "platform/Controls.h"
#include "shop/GameDialog.h"

// The sales list: what lies on each of the ten exhibition slots, at what price, and
// how many are for sale and kept back.
class TSalesListForm : public TGameDialog {
public:
    TSalesListForm();
    ~TSalesListForm() override;

    struct Row {
        ui::Label *ItemName, *Price, *Stock, *Reserve;
    };
    std::array<Row, 10> Rows;

    void DispSalesList();
    void MakeSalesList();
    void ShowSalesRow(int slot);

protected:
    void ClearFormVariable() override;
};

void OpenSalesList();
