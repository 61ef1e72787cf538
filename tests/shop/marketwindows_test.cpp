#include <gtest/gtest.h>

#include <string>

#include "platform/Big5.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/Market.h"
#include "shop/Marketbuy.h"
#include "shop/Marketlist.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"
#include "town/Srcdbtxtform21.h"

namespace {

// Catalogue facts used below (id: name, base price): 0 活力花香瓶 20; 2 芙蘿蕾花香瓶 30;
// 3 活力香水 120; 64 香草 10; 100 芙蘿蕾的花冠 100.
class MarketWindowsTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        for (WindowPosition& p : WindowPositions) p = {};
        shop.SetBounds(0, 0, 640, 480);
        shop.Show();
        ShopHooks().shopForm = [this] { return &shop; };
        const int items[5] = {0, 2, 3, 64, 100};
        const int left[5] = {30, 0, 10, 99, 5};
        for (int i = 0; i < 5; ++i) {
            SetMarketItem(i, items[i]);
            SetMarketStock(i, left[i]);
        }
        SetGameHour(11);
        SetMoney(1000);
    }
    void TearDown() override {
        delete MarketBuyForm;
        delete MarketListForm;
        ShopHooks() = {};
    }
    TMarketListForm& Open() {
        MarketListForm = new TMarketListForm;
        MarketListForm->DispMarketList();
        headless.RunFor(20);
        return *MarketListForm;
    }
    void ClickOn(ui::Control& c, int x = 4, int y = 4) {
        const ui::Point p = c.ClientToScreen({x, y});
        headless.Backend().Click(p.x, p.y);
        headless.RunFor(50);
    }
    TMarketBuyForm& Buy(int row) {
        ClickOn(*MarketListForm->Rows[row].ItemName);
        EXPECT_NE(MarketBuyForm, nullptr);
        return *MarketBuyForm;
    }
    ui::Form shop;
};

TEST_F(MarketWindowsTest, RowsShowTheOffersAndASoldOutRowIsGreyAndClosed) {
    TMarketListForm& f = Open();
    EXPECT_EQ(ui::Big5ToUtf8(f.Rows[0].ItemName->Caption()), "活力花香瓶");
    EXPECT_EQ(f.Rows[0].Price->Caption(), "20");
    EXPECT_EQ(f.Rows[0].Left->Caption(), "30");
    EXPECT_EQ(f.Rows[0].Price->GetFont().Color, ui::clBlack);
    for (ui::Label* l : {f.Rows[1].ItemName, f.Rows[1].Attribute, f.Rows[1].Price, f.Rows[1].Left})
        EXPECT_EQ(l->GetFont().Color, ui::clGray);
    ClickOn(*f.Rows[1].ItemName);
    EXPECT_EQ(MarketBuyForm, nullptr);
    EXPECT_TRUE(f.Visible());
    ClickOn(*f.Rows[1].Icon);
    EXPECT_EQ(MarketBuyForm, nullptr);
    // The hint tells what she owns.
    SetItemStock(64, 0);
    SetItemStock(item::VigourScentBottle, 7);
    f.DrawMarketRows();
    EXPECT_EQ(ui::Big5ToUtf8(f.Rows[3].ItemName->Hint), "並未持有耶");
    EXPECT_EQ(ui::Big5ToUtf8(f.Rows[0].Icon->Hint), "有7個噢");
}

// The message window draws two-byte cells only, so the money in the hover text is
// written in full-width digits.
TEST_F(MarketWindowsTest, HoverShowsTheMoneyInFullWidthDigits) {
    TDbTxtForm2* own = DbTxtForm2 ? nullptr : new TDbTxtForm2;
    if (own) DbTxtForm2 = own;
    TMarketListForm& f = Open();
    f.HoverRow(3);
    EXPECT_EQ(ui::Big5ToUtf8(DbTxtForm2->m_Text).rfind("香草\n", 0), 0u);
    EXPECT_NE(ui::Big5ToUtf8(DbTxtForm2->m_Text).find("持有現金１０００Ｇ"), std::string::npos);
    // A sold-out row tells the same.
    ASSERT_EQ(f.Rows[1].Left->Caption(), "0");
    DbTxtForm2->m_Text.clear();
    f.HoverRow(1);
    EXPECT_EQ(DbTxtForm2->m_Text.rfind(ItemName(MarketItem(1)), 0), 0u);
    EXPECT_NE(ui::Big5ToUtf8(DbTxtForm2->m_Text).find("持有現金１０００Ｇ"), std::string::npos);
    if (DbTxtForm2 == own) DbTxtForm2 = nullptr;
    delete own;
}

// Buying 4 香草 (10 G each) from the row the mouse is over: the message window tells
// the money left as the list comes back, before any other row is touched.
TEST_F(MarketWindowsTest, AfterAPurchaseTheMessageTellsTheMoneyLeft) {
    TDbTxtForm2* own = DbTxtForm2 ? nullptr : new TDbTxtForm2;
    if (own) DbTxtForm2 = own;
    TMarketListForm& f = Open();
    f.HoverRow(3);
    TMarketBuyForm& b = Buy(3);
    for (int k = 0; k < 3; ++k) ClickOn(*b.NumUpButton);
    ClickOn(*b.BuyButton);
    ASSERT_EQ(MarketBuyForm, nullptr);
    EXPECT_EQ(GameMoney(), 960);
    const std::string text = ui::Big5ToUtf8(DbTxtForm2->m_Text);
    EXPECT_EQ(text.rfind("香草\n", 0), 0u);
    EXPECT_NE(text.find("持有現金９６０Ｇ"), std::string::npos) << text;
    if (DbTxtForm2 == own) DbTxtForm2 = nullptr;
    delete own;
}

TEST_F(MarketWindowsTest, AtFiveOClockListAndDialogShowAndChargeHalfPrice) {
    SetGameHour(17);
    TMarketListForm& f = Open();
    EXPECT_EQ(f.Rows[2].Price->Caption(), "60");
    EXPECT_EQ(f.Rows[2].Price->GetFont().Color, ui::clRed);
    EXPECT_EQ(f.Rows[1].Price->GetFont().Color, ui::clGray);  // sold out stays grey
    TMarketBuyForm& b = Buy(2);
    EXPECT_FALSE(f.Visible());
    EXPECT_TRUE(b.Hangaku->Visible());
    EXPECT_EQ(b.ItemPrice->GetFont().Color, ui::clRed);
    EXPECT_EQ(ui::Big5ToUtf8(b.ItemPrice->Caption()), "60Ｇ");
    ClickOn(*b.NumUpButton);
    EXPECT_EQ(ui::Big5ToUtf8(b.ItemTotalPrice->Caption()), "120Ｇ");
    const int stock = ItemStock(item::VigourPerfume);
    ClickOn(*b.BuyButton);
    EXPECT_EQ(MarketBuyForm, nullptr);
    EXPECT_EQ(GameMoney(), 1000 - 120);
    EXPECT_EQ(ItemStock(item::VigourPerfume), stock + 2);
    EXPECT_EQ(MarketStock(2), 8);
    ASSERT_NE(MarketListForm, nullptr);
    EXPECT_TRUE(MarketListForm->Visible());
    EXPECT_EQ(MarketListForm->Rows[2].Left->Caption(), "8");
}

TEST_F(MarketWindowsTest, BeforeFiveTheDialogHidesTheDiscount) {
    Open();
    TMarketBuyForm& b = Buy(2);
    EXPECT_FALSE(b.Hangaku->Visible());
    EXPECT_EQ(b.ItemPrice->GetFont().Color, ui::clBlack);
    EXPECT_EQ(b.Price, 120);
}

TEST(MarketMaxCount, BoundedByLeftMoneyAndStockAndNeverNegative) {
    struct Case {
        int left, money, price, stock, expected;
    };
    const Case cases[] = {
        {50, 1000, 10, 95, 4},  // the stock may not pass 99
        {50, 25, 10, 0, 2},     // the money may not go below 0
        {5, 1000, 10, 0, 5},    // no more than is left
        {50, 1000, 10, 99, 0},  // a full stock
        {50, 0, 10, 0, 0},      // no money
        {50, -100, 10, 0, 0},   // negative money gives 0, never less
        {0, 1000, 10, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MarketMaxCount(c.left, c.money, c.price, c.stock), c.expected)
            << c.left << " " << c.money << " " << c.price << " " << c.stock;
}

TEST_F(MarketWindowsTest, TheCountStopsAtTheMaximumAndAtZero) {
    SetMoney(35);  // three of 香草 at 10
    Open();
    TMarketBuyForm& b = Buy(3);
    EXPECT_EQ(b.MaxCount, 3);
    EXPECT_EQ(b.Count, 1);
    for (int k = 0; k < 5; ++k) ClickOn(*b.NumUpButton);
    EXPECT_EQ(b.ItemBuyNum->Caption(), "3");
    for (int k = 0; k < 5; ++k) ClickOn(*b.NumDownButton);
    EXPECT_EQ(b.ItemBuyNum->Caption(), "0");
    EXPECT_EQ(ui::Big5ToUtf8(b.ItemTotalPrice->Caption()), "0Ｇ");
}

TEST_F(MarketWindowsTest, BuyingZeroChangesNothing) {
    SetItemStock(64, 4);
    Open();
    TMarketBuyForm& b = Buy(3);
    ClickOn(*b.NumDownButton);
    ClickOn(*b.BuyButton);
    EXPECT_EQ(MarketBuyForm, nullptr);
    EXPECT_EQ(GameMoney(), 1000);
    EXPECT_EQ(ItemStock(64), 4);
    EXPECT_EQ(MarketStock(3), 99);
    EXPECT_TRUE(MarketListForm->Visible());
}

TEST_F(MarketWindowsTest, WithNegativeMoneyNothingCanBeBought) {
    SetMoney(-50);
    Open();
    TMarketBuyForm& b = Buy(0);
    EXPECT_EQ(b.MaxCount, 0);
    EXPECT_EQ(b.Count, 0);
    EXPECT_FALSE(b.BuyButton->Enabled());
    EXPECT_FALSE(b.NumUpButton->Enabled());
    EXPECT_FALSE(b.NumDownButton->Enabled());
    ClickOn(*b.CanselButton);
    EXPECT_EQ(MarketBuyForm, nullptr);
    EXPECT_EQ(GameMoney(), -50);
    EXPECT_TRUE(MarketListForm->Visible());
}

TEST_F(MarketWindowsTest, CloseButtonEndsTheListAndRemembersItsPlace) {
    TMarketListForm& f = Open();
    f.SetBounds(30, 40, f.Width(), f.Height());
    ClickOn(*f.CloseButton);
    EXPECT_EQ(MarketListForm, nullptr);
    EXPECT_EQ(WindowPositions[kPosMarketList].left, 30);
    EXPECT_EQ(WindowPositions[kPosMarketList].top, 40);
}

}  // namespace
