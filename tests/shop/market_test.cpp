#include "shop/Market.h"

#include <gtest/gtest.h>

#include "platform/Random.h"
#include "shop/GameState.h"
#include "tests/support/ScriptedRandom.h"

TEST(Market, NewDayRedrawsDuplicatesAndSortsTheIds) {
    // Offers are drawn from the last to the first: candidate, then quantity.
    test::ScriptedRandom rnd({0, 5,        // offer 4: 64, 25
                              14, 0,       // offer 3: 94, 20
                              15, 1, 79,   // offer 2: 94 again, redrawn: 68, 99
                              19, 18, 10,  // offer 1: 64 again (19 % 19), redrawn: 97, 30
                              2, 80});     // offer 0: 74, 20 (80 % 80)
    NewMarketDay();
    EXPECT_TRUE(rnd.Done());
    const int items[] = {64, 68, 74, 94, 97};
    const int quantities[] = {20, 30, 99, 20, 25};  // left where they were drawn
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(MarketItem(i), items[i]) << i;
        EXPECT_EQ(MarketStock(i), quantities[i]) << i;
    }
}

TEST(Market, NoDayCarriesTheSameItemTwice) {
    ui::Srand(3);
    for (int day = 0; day < 500; ++day) {
        NewMarketDay();
        for (int i = 0; i < 5; ++i) {
            EXPECT_GE(MarketStock(i), 20);
            EXPECT_LE(MarketStock(i), 99);
            if (i > 0) {
                EXPECT_LT(MarketItem(i - 1), MarketItem(i));
            }
        }
    }
}

TEST(Market, SellOffClampsAtZero) {
    const int before[] = {5, 0, 99, 19, 30};
    for (int i = 0; i < 5; ++i) SetMarketStock(i, before[i]);
    test::ScriptedRandom rnd({3, 39, 0, 0, 19});  // offers 4 down to 0
    MarketSellOff();
    EXPECT_TRUE(rnd.Done());
    const int after[] = {0, 0, 99, 0, 27};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(MarketStock(i), after[i]) << i;

    SetMarketStock(0, 90);
    AddMarketStock(0, 20);
    EXPECT_EQ(MarketStock(0), 99);
    AddMarketStock(0, -150);
    EXPECT_EQ(MarketStock(0), 0);
    SetMarketItem(2, 96);
    EXPECT_EQ(MarketItem(2), 96);
}
