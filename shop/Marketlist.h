#pragma once
#include <array>

#include "platform/Controls.h"
#include "shop/GameDialog.h"

// The town market's list (市集): the day's five offers with their price and what is
// left; a row's icon or name opens the buy dialog for that offer. In the market's last
// hour (17:00) everything is half price; a sold-out row is grey and cannot be chosen.
class TMarketListForm : public TGameDialog {
public:
    TMarketListForm();
    ~TMarketListForm() override;

    struct Row {
        ui::Image* Icon;
        ui::Label* ItemName;
        ui::Label* Attribute;
        ui::Label* Price;
        ui::Label* Left;
    };
    std::array<Row, 5> Rows;

    // Places the list, draws the rows and shows it.
    void DispMarketList();
    void DrawMarketRows();
    // The mouse over a row's icon or name (-1: over the background).
    void HoverRow(int row);
    // The row's item, its first description line and the money in hand, in the message
    // window.
    void ShowRowMessage(int row);
    // A click on a row's icon or name: opens the buy dialog unless the row is grey or a
    // buy dialog is open.
    void RowClick(int row);

protected:
    void ClearFormVariable() override;
};

class TMarketBuyForm;
extern TMarketListForm* MarketListForm;
extern TMarketBuyForm* MarketBuyForm;

// The unit price of an offer's item now: the base price, halved at 17:00.
int MarketPriceNow(int item);
// Opens the list and waits, pumping messages, until it is closed.
void DispMarketList();
