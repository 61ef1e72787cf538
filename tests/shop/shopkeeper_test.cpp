// The whole-year runs' shopkeeper on the real program, from the title's new game: what
// the story wants comes first and stays off the counter (and is not mixed for sale), a
// job for sale ends before the plan walks the heroine out, the rich policy's errands
// (peddling, the market, the library, the night's search) go through the windows, and the
// goodwill policy keeps the most wanted goods on the slots and takes no order it might fail.
#include "bench/route/Shopkeeper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "shop/Heroine.h"
#include "shop/Main.h"
#include "shop/Market.h"
#include "shop/Mixing.h"
#include "shop/Shop.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ScriptedGame.h"
#include "town/Spbtnfm.h"

namespace {

constexpr int kBroom = 13;  // 黑貓掃帚: its materials are at hand in a new game

class ShopkeeperTest : public test::ScriptedGameTest {
protected:
    // A new game from the title; then the shopkeeper plays until `day` begins, `each`
    // looking on before every move.
    void PlayUntil(route::Shopkeeper& keeper, int day, const std::function<void()>& each = {}) {
        ui::HeadlessBackend& backend = headless.Backend();
        const int id = backend.AddResponder([&] {
            if (player.answers.size() < 4) player.answers.assign(8, 0);
            if (each && keeper.started) each();
            return keeper.Step();
        });
        backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
        backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
        backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 300);
        backend.Click(321, 392, ui::MouseButton::mbLeft, 0, 300);
        headless.RunUntil([&] { return backend.ScriptLeft() == 0; });
        keeper.started = true;
        headless.RunUntil([&] { return GameDay() >= day; });
        backend.RemoveResponder(id);
    }

    ui::ScopedTranscript transcript;
    test::EventResponders player{headless.Backend()};
};

TEST_F(ShopkeeperTest, AWantedGoodsIsMixedFirstAndKeptOffTheCounter) {
    CreateStartupForms();
    route::Shopkeeper keeper(headless.Backend(), *transcript);
    keeper.Want(kBroom, 20);
    int onCounter = 0;
    PlayUntil(keeper, 3, [&] {
        if (!ShopForm || !ShopForm->IsShopOpen()) return;
        for (int k = 0; k < kExhibitionSlots; ++k) onCounter += SlotItem(k) == kBroom;
    });
    const std::vector<std::string> mixes = transcript->Texts("mix start");
    ASSERT_FALSE(mixes.empty());
    EXPECT_EQ(mixes.front().rfind("黑貓掃帚 ", 0), 0u) << mixes.front();
    EXPECT_GE(ItemStock(kBroom), 20);
    EXPECT_EQ(onCounter, 0);
    // The other goods were laid out, through the exhibition dialogs.
    EXPECT_GT(route::Count(*transcript, "sale"), 0);
}

// A wanted material is bought at the market: the plain shopkeeper, who has no other
// errand, walks to the square for it.
TEST_F(ShopkeeperTest, AWantedMaterialIsBoughtAtTheMarket) {
    CreateStartupForms();
    route::Shopkeeper keeper(headless.Backend(), *transcript);
    int wanted = -1, units = 0;
    PlayUntil(keeper, 2, [&] {
        if (wanted >= 0 || GameDay() != 1 || GameHour() < 9) return;
        // The cheapest of the morning's offers, five more than in stock.
        for (int i = 0; i < kMarketOffers; ++i)
            if (MarketStock(i) >= 5 &&
                (wanted < 0 || ItemBasePrice(MarketItem(i)) < ItemBasePrice(wanted)))
                wanted = MarketItem(i);
        ASSERT_GE(wanted, kGoodsCount);
        units = ItemStock(wanted) + 5;
        keeper.Want(wanted, units);
    });
    ASSERT_GE(wanted, 0);
    EXPECT_GE(ItemStock(wanted), units);
    EXPECT_EQ(transcript->Texts("action"), std::vector<std::string>{"buy 5"});
}

// The new game has begun: the heroine stands in the shop with its menus enabled.
bool InShop() {
    return ShopForm && ShopForm->Visible() && HeroineIdle() && ShopForm->MenuOption->Enabled();
}

// Every goods the shop knows stocked well enough that the plain shopkeeper mixes none of
// them for sale, but `except`, which is left empty.
void StockEveryGoodsBut(int except) {
    for (int g = 0; g < kGoodsCount; ++g)
        if (IsItemUnlocked(g) && ItemStock(g) != kKeyItemStock)
            SetItemStock(g, g == except ? 0 : 99);
}

// A wanted goods is mixed in the batches the want still needs (units per batch by the
// level's yield), in a job that ends before midnight, for the night abandons a job still
// running at 06:00.
struct BatchCase {
    int goods, hour, units;  // wanted from this hour of day 1 on, none in stock
    int batches;             // the batches mixed, the materials at hand for four
};

class WantBatchesTest : public ShopkeeperTest, public ::testing::WithParamInterface<BatchCase> {};

TEST_P(WantBatchesTest, AWantedGoodsIsMixedInTheBatchesItNeedsEndingBeforeMidnight) {
    const BatchCase& c = GetParam();
    CreateStartupForms();
    route::Shopkeeper keeper(headless.Backend(), *transcript);
    int wantedAt = -1, batches = 0, startedAt = -1;
    PlayUntil(keeper, 2, [&] {
        if (wantedAt < 0 && InShop()) StockEveryGoodsBut(c.goods);
        if (wantedAt < 0 && GameDay() == 1 && GameHour() >= c.hour && !ShopForm->IsShopOpen() &&
            MixHoursLeft() == 0) {
            ASSERT_EQ(GameLevel(), 1);
            for (int k = 0; k < 3; ++k) {
                const int m = RecipeMaterial(c.goods, k);
                if (m < kItemCount && ItemStock(m) != kKeyItemStock) SetItemStock(m, 40);
            }
            wantedAt = GameHour();
            keeper.Want(c.goods, c.units);
        }
        if (wantedAt >= 0 && startedAt < 0 && MixHoursLeft() > 0 && MixItem() == c.goods) {
            batches = MixBatchCount();
            startedAt = GameHour();
        }
    });
    ASSERT_GE(wantedAt, 0);
    ASSERT_GE(startedAt, 0) << "the want was not mixed";
    EXPECT_EQ(batches, c.batches);
    EXPECT_LE(startedAt + RecipeHours(c.goods, batches), 24);
}

INSTANTIATE_TEST_SUITE_P(
    Wants, WantBatchesTest,
    ::testing::Values(BatchCase{12, 8, 20, 2},   // ten a batch at level 1
                      BatchCase{4, 8, 25, 3},    // above her level: 8, 17, 25 for 1..3 batches
                      BatchCase{4, 19, 25, 2}),  // at 19:00 three two-hour batches pass midnight
    [](const ::testing::TestParamInfo<BatchCase>& i) {
        return "Goods" + std::to_string(i.param.goods) + "At" + std::to_string(i.param.hour);
    });

// While a want is open, mixing for sale leaves the materials it needs: those of a wanted
// goods' recipe, of the recipe of a wanted goods it is made from, and a wanted material.
struct KeptCase {
    int item, units, kept;  // the want; the 睡菇 it keeps
};

class WantKeepsTest : public ShopkeeperTest, public ::testing::WithParamInterface<KeptCase> {};

TEST_P(WantKeepsTest, MixingForSaleLeavesTheMaterialsAWantNeeds) {
    constexpr int kSleepyMushroom = 78;  // 睡菇: in 清新咒文藥劑, and in 59 for sale
    constexpr int kForSale = 59;         // the one goods left to mix: 31, 75 and 睡菇
    const KeptCase& c = GetParam();
    CreateStartupForms();
    route::Shopkeeper keeper(headless.Backend(), *transcript);
    bool set = false;
    int batches = -1, left = -1;
    PlayUntil(keeper, 1, [&] {
        if (!set && InShop()) {
            set = true;
            StockEveryGoodsBut(kForSale);
            SetItemStock(75, 20);
            SetItemStock(kSleepyMushroom, 4);
            keeper.Want(c.item, c.units);
        }
        if (batches < 0 && MixHoursLeft() > 0 && MixItem() == kForSale) {
            batches = MixBatchCount();
            left = ItemStock(kSleepyMushroom);
        }
    });
    ASSERT_GT(batches, 0) << "the goods for sale was not mixed";
    EXPECT_EQ(left, c.kept);
    EXPECT_EQ(batches, 4 - c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Wants, WantKeepsTest,
    ::testing::Values(KeptCase{32, 1, 1},  // 清新咒文藥劑, not known yet: one batch's 睡菇
                      KeptCase{62, 1, 1},  // 痊癒藥劑: one 清新咒文藥劑, and so its 睡菇
                      KeptCase{78, 2, 2}),  // 睡菇 itself
    [](const ::testing::TestParamInfo<KeptCase>& i) {
        return "Item" + std::to_string(i.param.item);
    });

// The rich shopkeeper never lays out a wanted goods, so it mixes one beyond the want only
// for the goods for sale that take it: 願望秘石 for the magic stones, but not 思念秘石,
// which only goods she does not know yet take.
struct ForSaleCase {
    int goods;
    route::Policy policy;
    bool mixed;
};

class WantedForSaleTest : public ShopkeeperTest,
                          public ::testing::WithParamInterface<ForSaleCase> {};

TEST_P(WantedForSaleTest, AWantedGoodsIsMixedOnlyForTheGoodsThatTakeIt) {
    const ForSaleCase& c = GetParam();
    CreateStartupForms();
    route::Shopkeeper keeper(headless.Backend(), *transcript, c.policy);
    keeper.Want(c.goods, 3);
    bool mixed = false;
    PlayUntil(keeper, 1, [&] {
        if (!mixed && InShop() && MixHoursLeft() == 0) {
            // Nothing else is short; the want is met, its materials at hand.
            StockEveryGoodsBut(c.goods);
            SetItemStock(c.goods, 3);
            for (int k = 0; k < 3; ++k) SetItemStock(RecipeMaterial(c.goods, k), 40);
        }
        mixed |= MixHoursLeft() > 0 && MixItem() == c.goods;
    });
    EXPECT_EQ(mixed, c.mixed);
}

INSTANTIATE_TEST_SUITE_P(
    Wants, WantedForSaleTest,
    ::testing::Values(ForSaleCase{23, route::Policy::Rich, true},   // 願望秘石: 27 takes it
                      ForSaleCase{22, route::Policy::Rich, false},  // 思念秘石: only 43
                      ForSaleCase{kBroom, route::Policy::Plain, false}),  // none takes it
    [](const ::testing::TestParamInfo<ForSaleCase>& i) {
        return "Goods" + std::to_string(i.param.goods) +
               (i.param.policy == route::Policy::Plain ? "Plain" : "Rich");
    });

// A job for sale ends by the hour the plan walks the heroine out (`homeBy`): she leaves
// only from an idle shop, and a long job begun in the morning kept her in past a step.
TEST_F(ShopkeeperTest, AJobForSaleEndsByTheHourThePlanWalksHerOut) {
    CreateStartupForms();
    route::Shopkeeper keeper(headless.Backend(), *transcript);
    int homeBy = -1, startedAt = -1, batches = 0;
    PlayUntil(keeper, 2, [&] {
        if (homeBy < 0 && GameDay() == 1 && InShop() && MixHoursLeft() == 0) {
            // The broom is the one goods short, its materials at hand for four batches;
            // the plan walks her out when two of them would be done.
            StockEveryGoodsBut(kBroom);
            for (int k = 0; k < 3; ++k) SetItemStock(RecipeMaterial(kBroom, k), 40);
            homeBy = std::max(GameHour(), 8) + RecipeHours(kBroom, 2);
            keeper.homeBy = homeBy;
        }
        if (homeBy >= 0 && startedAt < 0 && MixHoursLeft() > 0 && MixItem() == kBroom) {
            startedAt = GameHour();
            batches = MixBatchCount();
        }
    });
    ASSERT_GE(startedAt, 0) << "the broom was not mixed";
    EXPECT_GE(batches, 1);
    EXPECT_LE(startedAt + RecipeHours(kBroom, batches), homeBy);
}

TEST_F(ShopkeeperTest, TheRichPolicysErrandsGoThroughTheWindows) {
    CreateStartupForms();
    route::Shopkeeper keeper(headless.Backend(), *transcript, route::Policy::Rich);
    const int startLevel = 1;
    PlayUntil(keeper, 14);
    const std::vector<std::string> walks = transcript->Texts("travel");
    auto visited = [&](const char* place) {
        return std::find(walks.begin(), walks.end(), place) != walks.end();
    };
    EXPECT_TRUE(visited("中央噴水廣場 1h"));          // the square: peddling and the market
    EXPECT_TRUE(visited("弗洛愛爾摩斯魔法學院 1h"));  // the school's library
    EXPECT_TRUE(visited("森林之泉 1h"));              // the forest spring, at night
    EXPECT_GE(GameReputation(), 15) << "peddling raises the reputation towards 20";
    EXPECT_GT(route::Count(*transcript, "action"), 0);
    EXPECT_GT(GameLevel() * 100 + GameExperience(), startLevel * 100);
    const std::vector<std::string> lines = transcript->Texts("line");
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("取得了") != std::string::npos;
    })) << "the night's search found something";
    EXPECT_GT(route::Count(*transcript, "sale"), 0);
}

// The goodwill policy: each morning the most wanted goods with plenty in stock is on the
// slots, and a customer's order offer is answered with the second caption (delivered on
// the spot, or refused), so no order fails.
TEST_F(ShopkeeperTest, TheGoodwillPolicyShowsTheWantedGoodsAndFailsNoOrder) {
    CreateStartupForms();
    route::Shopkeeper keeper(headless.Backend(), *transcript, route::Policy::Goodwill);
    // The player answers only what is queued: the shopkeeper's answer to an order offer
    // goes in first, the first caption to any other choice, once a window.
    ui::LifeToken seen;
    int checkedDays = 0, lastChecked = -1;
    std::vector<std::string> hidden;
    PlayUntil(keeper, 14, [&] {
        player.answers.clear();
        if (BtnForm && BtnForm->Visible() && BtnForm->Modal() &&
            seen.lock() != BtnForm->Life().lock()) {
            seen = BtnForm->Life();
            keeper.AnswerOrder(player.answers);
            if (player.answers.empty()) player.answers.push_back(0);
        }
        if (!ShopForm || !ShopForm->IsShopOpen() || lastChecked == GameDay()) return;
        lastChecked = GameDay();
        ++checkedDays;
        int top = -1;
        for (int g = 0; g < kGoodsCount; ++g)
            if (ItemStock(g) != kKeyItemStock && ItemAvailable(g) >= 40 &&
                Fashions[g].Popularity() >= 10 &&
                (top < 0 || Fashions[g].Popularity() > Fashions[top].Popularity()))
                top = g;
        if (top >= 0 && ItemSlot(top) < 0)
            hidden.push_back("day " + std::to_string(GameDay()) + ": goods " + std::to_string(top));
    });
    EXPECT_GE(checkedDays, 8);
    EXPECT_TRUE(hidden.empty()) << hidden.front();
    const std::vector<std::string> orders = transcript->Texts("order");
    EXPECT_FALSE(orders.empty()) << "no order was offered in two weeks";
    for (const std::string& o : orders) {
        EXPECT_NE(o.rfind("accepted", 0), 0u) << o;
        EXPECT_NE(o.rfind("failed", 0), 0u) << o;
    }
    EXPECT_GT(route::Count(*transcript, "sale"), 0);
}

}  // namespace
