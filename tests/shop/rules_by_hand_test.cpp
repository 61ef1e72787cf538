// Values taken by hand from the game's rules, not from the tables the code holds:
// a wrong entry in those tables changes the game, so it must fail a test.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Random.h"
#include "shop/Calendar.h"
#include "shop/Catalog.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "tests/support/ScriptedRandom.h"

namespace {

class RulesByHand : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = g_ClockHooks;
        g_ClockHooks = {};
        ui::Srand(3);
        InitGameState();
    }
    void TearDown() override { g_ClockHooks = saved_; }
    static void ClearDemand() {
        for (Fashion& f : Fashions) f = Fashion(30, 4, 30, 4, 10);
    }
    ClockHooks saved_;
};

TEST_F(RulesByHand, Recipes) {
    const struct {
        int goods, difficulty, hours;
        std::vector<std::pair<int, int>> materials;  // item, quantity
    } cases[] = {
        {0, 2, 1, {{68, 1}, {89, 1}, {85, 1}}},
        {6, 10, 3, {{71, 1}, {81, 2}, {92, 1}}},
        {12, 1, 1, {{77, 1}}},
        {24, 20, 6, {{73, 2}, {82, 1}, {23, 1}}},
        {37, 6, 2, {{67, 4}, {66, 2}, {83, 1}}},
        {43, 20, 8, {{105, 1}, {22, 2}, {24, 2}}},
        {55, 12, 3, {{75, 2}, {90, 2}, {81, 2}}},
        {63, 17, 4, {{37, 1}, {96, 2}, {95, 1}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecipeDifficulty(c.goods), c.difficulty) << c.goods;
        EXPECT_EQ(RecipeHours(c.goods, 1), c.hours) << c.goods;
        EXPECT_EQ(RecipeHours(c.goods, 3), 3 * c.hours) << c.goods;
        for (int k = 0; k < 3; ++k) {
            if (k < static_cast<int>(c.materials.size())) {
                EXPECT_EQ(RecipeMaterial(c.goods, k), c.materials[k].first) << c.goods << " " << k;
                EXPECT_EQ(RecipeQuantity(c.goods, k), c.materials[k].second) << c.goods << " " << k;
            } else {
                EXPECT_GE(RecipeMaterial(c.goods, k), kItemCount) << c.goods << " " << k;
            }
        }
    }
}

TEST_F(RulesByHand, NewGame) {
    EXPECT_EQ(GameDay(), 0);
    EXPECT_EQ(GameHour(), 8);
    EXPECT_EQ(GameLevel(), 1);
    EXPECT_EQ(GameExperience(), 30);
    EXPECT_EQ(GameMoney(), 1000);
    EXPECT_EQ(GameReputation(), 10);
    // Stock a + b with b set aside.
    const struct {
        int item, stock, reserve;
    } stock[] = {{0, 10, 2},  {1, 7, 2},   {4, 7, 2},  {6, 5, 0},    {14, 10, 0}, {23, 8, 2},
                 {35, 4, 0},  {59, 10, 0}, {71, 2, 0}, {82, 255, 0}, {92, 3, 0},  {94, 10, 0},
                 {106, 1, 0}, {105, 0, 0}, {3, 0, 0},  {63, 0, 0},   {98, 0, 0}};
    for (const auto& s : stock) {
        EXPECT_EQ(ItemStock(s.item), s.stock) << s.item;
        EXPECT_EQ(ItemReserve(s.item), s.reserve) << s.item;
    }
    // Known: the 17 first recipes and whatever is in stock; nothing else.
    for (int i : {0, 1, 2, 4, 6, 12, 13, 14, 15, 18, 22, 23, 27, 31, 33, 35, 59, 64, 94, 106})
        EXPECT_TRUE(IsItemUnlocked(i)) << i;
    for (int i : {3, 5, 7, 24, 37, 49, 63, 66, 105}) EXPECT_FALSE(IsItemUnlocked(i)) << i;
    const int slots[kExhibitionSlots] = {-1, -1, -1, 4, -1, 13, -1, -1, 1, -1};
    for (int s = 0; s < kExhibitionSlots; ++s) EXPECT_EQ(SlotItem(s), slots[s]) << s;
}

TEST_F(RulesByHand, LevelUnlocks) {
    // The recipe learnt on reaching each level.
    const int learnt[] = {0,  0,  49, 37, 38, 48, 40, 50, 55, 25, 39,
                          26, 28, 46, 52, 29, 34, 47, 36, 24, 41};
    for (int level = 2; level <= 20; ++level) {
        SetGameLevel(level - 1);
        SetExperience(95);
        EXPECT_EQ(AddExperience(5), learnt[level]) << level;
        EXPECT_EQ(GameLevel(), level);
        EXPECT_EQ(GameExperience(), 0);
    }
    EXPECT_EQ(AddExperience(100), -1);  // no level above 20
}

TEST_F(RulesByHand, DatedDemandSeeds) {
    const struct {
        int day, variant;
        std::vector<std::pair<int, int>> seeds;  // goods, wanting cells
    } cases[] = {
        {0, 0, {{0, 15}, {59, 10}, {33, 10}}},
        {0, 1, {{0, 20}, {33, 5}}},
        {24, 0, {{18, 20}}},
        {24, 1, {{18, 20}}},
        {48, 1, {{0, 15}, {33, 10}}},
        {192, 0, {{6, 10}, {27, 10}}},
        {227, 1, {{5, 5}, {33, 2}}},
        {25, 0, {}},
    };
    for (const auto& c : cases) {
        ClearDemand();
        SetGameDay(c.day);
        SetGameVariant(c.variant);
        // Every seed lands on a cell of its own: draws 0, 1, 2, ...
        std::vector<int> draws(64);
        for (int i = 0; i < 64; ++i) draws[i] = i;
        test::ScriptedRandom random(draws, 0);
        DatedDemandEvents();
        std::vector<int> want(kGoodsCount, 0);
        for (const auto& [goods, n] : c.seeds) want[goods] = n;
        for (int g = 0; g < kGoodsCount; ++g)
            EXPECT_EQ(Fashions[g].Popularity(), want[g])
                << "day " << c.day << " variant " << c.variant << " goods " << g;
    }
}

TEST_F(RulesByHand, BoostCandidates) {
    const int candidates[13] = {0, 1, 2, 10, 11, 12, 13, 14, 15, 16, 17, 31, 37};
    for (int g = 0; g < kGoodsCount; ++g) UnlockItem(g);
    for (int i = 0; i < 13; ++i) {
        ClearDemand();
        SetBoostCountdown(0);
        std::vector<int> draws{i};
        for (int k = 0; k < 30; ++k) draws.push_back(k);
        draws.push_back(0);  // countdown 0 + 10
        test::ScriptedRandom random(draws);
        RandomDemandBoost();
        EXPECT_EQ(Fashions[candidates[i]].Popularity(), 30) << i;
        EXPECT_EQ(BoostCountdown(), 10) << i;
    }
}

TEST_F(RulesByHand, VariantIsDrawnAgainOnDays72_120_240) {
    test::ScriptedRandom random({}, 1);  // every draw 1: a redraw makes the variant 1
    std::vector<int> redrawn;
    while (GameDay() < kGameDays - 1) {
        SetGameVariant(0);
        AdvanceDay();
        if (GameVariant() == 1) redrawn.push_back(GameDay());
    }
    EXPECT_EQ(redrawn, (std::vector<int>{72, 120, 240}));
}

}  // namespace
