#include "shop/Marketbuy.h"

#include <algorithm>
#include <string>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/ItemPainters.h"
#include "shop/Market.h"
#include "shop/Marketlist.h"
#include "shop/ShopSkin.h"

int MarketMaxCount(int left, int money, int price, int stock) {
    const int affordable = price > 0 ? money / price : left;
    const int room = 99 - stock;
    return std::max(0, std::min({left, affordable, room}));
}

TMarketBuyForm::TMarketBuyForm()
    : TGameDialog(400, 200, kPosMarketBuy, CaptionStrip(8, 391, 8, 34)) {
    Name = "MarketBuyForm";
    LoadBackground("DlgMarketBuy.bmp");
    TShopSkinSheets& sheets = ShopSheets();
    MakeItemNameAndIcon(ItemName, ItemIcon, 92, 44, 16, 44, 200);
    ItemCaption0 = MakeLabel(92, 76, "ItemCaption0");
    ItemCaption1 = MakeLabel(92, 92, "ItemCaption1");
    ItemAttribute = MakeLabel(300, 48, "ItemAttribute");
    ItemPrice = MakeLabel(300, 64, "ItemPrice");
    Hangaku = MakeLabel(344, 64, "Hangaku");
    Hangaku->SetCaption("50%Off");
    Hangaku->SetFontColor(ui::clRed);
    Money = MakeLabel(92, 120, "Money");
    ItemBuyNum = MakeLabel(92, 144, "ItemBuyNum");
    NumUpButton = MakeSheetButton(sheets.ChBtMiniUp, 130, 138, 16, 12, "NumUpButton");
    NumUpButton->OnClick = [this](ui::Control&) { NumUpButtonClick(); };
    NumDownButton = MakeSheetButton(sheets.ChBtMiniDown, 130, 152, 16, 12, "NumDownButton");
    NumDownButton->OnClick = [this](ui::Control&) { NumDownButtonClick(); };
    ItemTotalPrice = MakeLabel(200, 144, "ItemTotalPrice");
    BuyButton = MakeSheetButton(sheets.ChBtBuy, 232, 169, 75, 23, "BuyButton");
    BuyButton->OnClick = [this](ui::Control&) { BuyButtonClick(); };
    CanselButton = MakeSheetButton(sheets.ChBtCancel, 313, 169, 75, 23, "CanselButton");
    CanselButton->OnClick = [this](ui::Control&) { CanselButtonClick(); };
    // The dialog closes through Buy or Cancel only.
    CloseButton->SetVisible(false);
    CloseButton->SetEnabled(false);
}

TMarketBuyForm::~TMarketBuyForm() { ClearFormVariable(); }

void TMarketBuyForm::ClearFormVariable() {
    if (MarketBuyForm == this) MarketBuyForm = nullptr;
}

void TMarketBuyForm::SetOffer(int i) {
    Offer = i;
    Item = MarketItem(i);
    Price = MarketPriceNow(Item);
    MaxCount = MarketMaxCount(MarketStock(i), GameMoney(), Price, ItemStock(Item));
    Count = 1;
    if (MaxCount == 0) {
        BuyButton->SetEnabled(false);
        NumUpButton->SetEnabled(false);
        NumDownButton->SetEnabled(false);
        Count = 0;
    }
    Place();
    ShowItemIcon(*ItemIcon, Item);
    ShowItemNamePicture(*ItemName, Item);
    ShowItemAttribute(*ItemAttribute, Item);
    ShowItemDescriptionLines(*ItemCaption0, *ItemCaption1, Item);
    ShowMoney(*Money);
    ItemPrice->SetCaption(std::to_string(Price) + B5("Ｇ"));
    const bool half = GameHour() == 17;
    ItemPrice->SetFontColor(half ? ui::clRed : ui::clBlack);
    Hangaku->SetVisible(half);
    DrawCount();
    Show();
    ui::RecordBig5("window", B5("購買 ") + std::string(::ItemName(Item)));
}

void TMarketBuyForm::DrawCount() {
    ItemBuyNum->SetCaption(std::to_string(Count));
    ItemTotalPrice->SetCaption(std::to_string(Price * Count) + B5("Ｇ"));
}

void TMarketBuyForm::NumUpButtonClick() {
    if (Count < MaxCount) ++Count;
    DrawCount();
}

void TMarketBuyForm::NumDownButtonClick() {
    if (Count > 0) --Count;
    DrawCount();
}

void TMarketBuyForm::BuyButtonClick() {
    if (Count > 0) {
        AddItemStock(Item, Count);
        AddMoney(-Price * Count);
        AddMarketStock(Offer, -Count);
    }
    ui::Record("action", "buy " + std::to_string(Count));
    Finish(true);
}

void TMarketBuyForm::CanselButtonClick() { Finish(false); }

void TMarketBuyForm::Finish(bool redrawList) {
    SaveWindowPosition(*this, Record());
    Hide();
    Release();
    ClearFormVariable();
    if (MarketListForm) {
        if (redrawList) {
            MarketListForm->DrawMarketRows();
            // The message window still tells the money before the purchase.
            MarketListForm->ShowRowMessage(Offer);
        }
        MarketListForm->Show();
    }
}
