#pragma once
#include "platform/Controls.h"
#include "shop/GameDialog.h"

// The market's buy dialog for one offer: the count goes up and down between 0 and the
// most the heroine can take (bounded by what is left, her money and a stock of 99).
class TMarketBuyForm : public TGameDialog {
public:
    TMarketBuyForm();
    ~TMarketBuyForm() override;

    ui::Image* ItemIcon;
    ui::Image* ItemName;
    ui::Label* ItemCaption0;
    ui::Label* ItemCaption1;
    ui::Label* ItemAttribute;
    ui::Label* ItemPrice;
    ui::Label* Hangaku;
    ui::Label* Money;
    ui::Label* ItemBuyNum;
    ui::Label* ItemTotalPrice;
    TCHBcSpeedButton* NumUpButton;
    TCHBcSpeedButton* NumDownButton;
    TCHBcSpeedButton* BuyButton;
    TCHBcSpeedButton* CanselButton;

    int Offer = 0;
    int Item = 0;
    int MaxCount = 0;
    int Count = 0;
    int Price = 0;

    // Sets the dialog up for offer i and shows it.
    void SetOffer(int i);
    void NumUpButtonClick();
    void NumDownButtonClick();
    void BuyButtonClick();
    void CanselButtonClick();

protected:
    void ClearFormVariable() override;

private:
    void DrawCount();
    // Frees the dialog and shows the list again (after redrawing its rows when bought).
    void Finish(bool redrawList);
};

// The most of an item the heroine can buy: min(left, money / price, 99 - stock), never
// below 0 (negative money or a full stock give 0).
int MarketMaxCount(int left, int money, int price, int stock);
