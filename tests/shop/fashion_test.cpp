#include "shop/Fashion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/Random.h"
#include "shop/Calendar.h"
#include "shop/GameState.h"
#include "tests/support/ScriptedRandom.h"

namespace {

class FashionTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_ClockHooks = {};
        ui::Srand(5);
        InitGameState();
        for (Fashion& f : Fashions) f = Fashion();
    }
};

int Live(const Fashion& f) {
    int n = 0;
    for (int c = 0; c < kFashionCells; ++c) n += f.CellState(c) != 0;
    return n;
}

std::uint32_t U32At(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

TEST_F(FashionTest, SpreadingWrapsRoundTheEdges) {
    struct Case {
        int cell, dir, neighbour;
    };
    const Case cases[] = {
        {63, 0, 7}, {63, 1, 56}, {0, 2, 56}, {0, 3, 7},
        {5, 0, 13}, {7, 1, 0},   {56, 0, 0}, {8, 3, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell * 10 + c.dir);
        Fashion f(100, 3, 40, 4, 12);
        f.SetCell(c.cell, 1, 5);
        test::ScriptedRandom rnd(
            {0x7FFC + c.dir, 99});  // only the low two bits choose the direction
        f.DailyUpdate();
        EXPECT_TRUE(rnd.Done());
        EXPECT_EQ(f.CellState(c.neighbour), 1);
        EXPECT_EQ(f.CellLife(c.neighbour), 3);
        EXPECT_EQ(f.CellLife(c.cell), 4);
        EXPECT_EQ(Live(f), 2);
    }
}

TEST_F(FashionTest, TheRateDrawDecidesWhetherACellSpreads) {
    struct Case {
        int draw;
        bool spreads;
    };
    for (Case c :
         {Case{29, true}, Case{30, false}, Case{99, false}, Case{130, false}, Case{229, true}}) {
        Fashion f(30, 3, 40, 4, 12);
        f.SetCell(20, 1, 5);
        test::ScriptedRandom rnd({0, c.draw});
        f.DailyUpdate();
        EXPECT_EQ(f.CellState(28), c.spreads ? 1 : 0) << c.draw;
    }
}

TEST_F(FashionTest, ImmunityOverridesWantingAndNotTheReverse) {
    {
        // A wanting cell meets an immune neighbour: it passes on to the next direction.
        Fashion f(100, 3, 40, 4, 12);
        f.SetCell(0, 1, 5);
        f.SetCell(8, 2, 4);
        test::ScriptedRandom rnd({0, 99,   // cell 8 (immune): the rate draw fails
                                  0, 0});  // cell 0: direction 0 is cell 8, immune; then cell 1
        f.DailyUpdate();
        EXPECT_TRUE(rnd.Done());
        EXPECT_EQ(f.CellState(8), 2);
        EXPECT_EQ(f.CellState(1), 1);
    }
    {
        // An immune cell spreads into a wanting neighbour.
        Fashion f(50, 3, 40, 6, 12);
        f.SetCell(0, 1, 5);
        f.SetCell(8, 2, 4);
        test::ScriptedRandom rnd({2, 0,     // cell 8: direction 2 (row - 1) is cell 0
                                  0, 99});  // cell 0: the rate draw fails
        f.DailyUpdate();
        EXPECT_TRUE(rnd.Done());
        EXPECT_EQ(f.CellState(0), 2);
        EXPECT_EQ(f.CellLife(0), 6);
    }
    {
        // A want seed overwrites an immune cell; an immune seed restarts the timer.
        Fashion f(30, 3, 40, 4, 12);
        f.SetCell(5, 2, 4);
        test::ScriptedRandom rnd({64 + 5, 9});
        f.SeedWant();
        EXPECT_EQ(f.CellState(5), 1);
        EXPECT_EQ(f.CellLife(5), 3);
        f.SeedImmune();
        EXPECT_EQ(f.CellState(9), 2);
        EXPECT_EQ(f.CellLife(9), 4);
        EXPECT_EQ(f.ImmuneTimer(), 12u);
    }
}

TEST_F(FashionTest, ACellChangedTodayDoesNotSpreadToday) {
    Fashion f(100, 3, 40, 4, 12);
    f.SetCell(9, 1, 5);
    f.SetCell(20, 1, 1);               // dies in this update: no spreading, no draws
    test::ScriptedRandom rnd({2, 0});  // cell 9 spreads to cell 1, which is later in the walk
    f.DailyUpdate();
    EXPECT_TRUE(rnd.Done());
    EXPECT_EQ(f.CellState(1), 1);
    EXPECT_EQ(f.CellState(20), 0);
    EXPECT_EQ(Live(f), 2);
}

TEST_F(FashionTest, ImmunityEndsTogetherWhenTheTimerRunsOut) {
    Fashion f(0, 3, 0, 10, 2);
    f.SetCell(40, 1, 5);
    test::ScriptedRandom rnd({12, 13});
    f.SeedImmune();
    f.SeedImmune();
    EXPECT_EQ(f.ImmuneTimer(), 2u);
    // Every live cell draws a direction and a rate, 63 down to 0; rate 0 never spreads.
    rnd.Script({0, 0, 0, 0, 0, 0});
    f.DailyUpdate();
    EXPECT_TRUE(rnd.Done());
    EXPECT_EQ(f.ImmuneTimer(), 1u);
    EXPECT_EQ(f.CellState(12), 2);
    EXPECT_EQ(f.CellLife(12), 9);
    rnd.Script({0, 0});  // only the wanting cell is left to draw
    f.DailyUpdate();
    EXPECT_TRUE(rnd.Done());
    EXPECT_EQ(f.ImmuneTimer(), 0u);
    EXPECT_EQ(f.CellState(12), 0);
    EXPECT_EQ(f.CellState(13), 0);
    EXPECT_EQ(f.CellState(40), 1);
    EXPECT_EQ(f.CellLife(40), 3);
}

TEST_F(FashionTest, HistoryAddsThePopularityOfEachUpdate) {
    g_GameState.Day = 3;
    Fashion f(0, 3, 0, 4, 12);
    f.SetCell(1, 1, 5);
    f.SetCell(2, 1, 5);
    f.SetCell(3, 2, 5);
    test::ScriptedRandom rnd({}, 0);
    f.DailyUpdate();
    f.DailyUpdate();
    EXPECT_EQ(f.HistoryOf(3), 4);
    EXPECT_EQ(f.HistoryOf(2), 0);

    std::uint8_t rec[kFashionRecordSize];
    f.SaveRecord(rec);
    rec[128 + 3] = 200;  // read back as a signed byte
    ASSERT_TRUE(f.LoadRecord(rec));
    EXPECT_EQ(f.HistoryOf(3), -56);
    EXPECT_EQ(f.HistoryOf(288), 0);
    EXPECT_EQ(f.HistoryOf(-1), 0);
}

TEST_F(FashionTest, TopTrendsFollowTheExchangeSortAndTheThreshold) {
    struct Case {
        std::vector<std::pair<int, int>> popularity;  // goods, wanting cells
        int first, second, third;
    };
    const Case cases[] = {
        // Equal popularity: the exchange sort puts 5 before 3.
        {{{5, 12}, {3, 12}, {40, 20}, {7, 11}, {9, 10}}, 40, 5, 3},
        {{{2, 11}, {9, 10}}, 2, -1, -1},
        {{}, -1, -1, -1},
        {{{0, 64}, {1, 64}, {2, 64}, {63, 64}}, 0, 1, 2},
        {{{63, 11}, {62, 12}, {61, 13}}, 61, 62, 63},
    };
    for (const Case& c : cases) {
        for (Fashion& f : Fashions) f = Fashion();
        for (auto [g, n] : c.popularity)
            for (int k = 0; k < n; ++k) Fashions[g].SetCell(k, 1, 3);
        int a = 99, b = 99, d = 99;
        TopFashionTrends(a, b, d);
        EXPECT_EQ(a, c.first);
        EXPECT_EQ(b, c.second);
        EXPECT_EQ(d, c.third);
    }
}

TEST_F(FashionTest, BoostDrawsForALockedAndAnUnlockedGoods) {
    for (Fashion& f : Fashions) f = Fashion(30, 3, 30, 4, 10);
    {
        SetBoostCountdown(0);
        test::ScriptedRandom rnd({3 + 13 * 5, 45});  // candidate 3 is goods 10, not yet known
        RandomDemandBoost();
        EXPECT_TRUE(rnd.Done());
        EXPECT_EQ(BoostCountdown(), 5);
        EXPECT_EQ(Fashions[10].Popularity(), 0);
    }
    {
        SetBoostCountdown(0);
        std::vector<int> draws = {5};  // goods 12, known from the start
        for (int k = 0; k < 30; ++k) draws.push_back(k);
        draws.push_back(33);
        test::ScriptedRandom rnd(draws);
        RandomDemandBoost();
        EXPECT_TRUE(rnd.Done());
        EXPECT_EQ(BoostCountdown(), 23);
        EXPECT_EQ(Fashions[12].Popularity(), 30);
    }
    {
        SetBoostCountdown(4);
        test::ScriptedRandom rnd(std::vector<int>{});
        RandomDemandBoost();
        EXPECT_EQ(BoostCountdown(), 3);
    }
}

TEST_F(FashionTest, CalendarSeedsOfTheDay) {
    struct Case {
        int day, variant;
        std::vector<std::pair<int, int>> seeds;
    };
    const Case cases[] = {
        {0, 0, {{0, 15}, {59, 10}, {33, 10}}},
        {0, 1, {{0, 20}, {33, 5}}},
        {24, 0, {{18, 20}}},
        {24, 1, {{18, 20}}},
        {48, 1, {{0, 15}, {33, 10}}},
        {227, 1, {{5, 5}, {33, 2}}},
        {227, 0, {{0, 5}, {33, 10}}},
        {192, 0, {{6, 10}, {27, 10}}},
        {1, 0, {}},
        {300, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.day * 10 + c.variant);
        for (Fashion& f : Fashions) f = Fashion(30, 3, 30, 4, 10);
        g_GameState.Day = c.day;
        SetGameVariant(c.variant);
        std::vector<int> draws;
        for (auto [g, n] : c.seeds)
            for (int k = 0; k < n; ++k) draws.push_back(static_cast<int>(draws.size()) % 64);
        test::ScriptedRandom rnd(draws);
        DatedDemandEvents();
        EXPECT_TRUE(rnd.Done());
        int total = 0;
        for (const Fashion& f : Fashions) total += f.Popularity();
        EXPECT_EQ(total, static_cast<int>(draws.size()));
        for (auto [g, n] : c.seeds) EXPECT_GT(Fashions[g].Popularity(), 0) << g;
    }
}

TEST_F(FashionTest, RecordBytesRoundTrip) {
    Fashion f(36, 5, 40, 4, 12);
    f.SetCell(0, 1, 5);
    f.SetCell(63, 2, 3);
    g_GameState.Day = 287;
    {
        test::ScriptedRandom rnd({}, 99);
        f.DailyUpdate();  // history of day 287 and a running timer
        f.SeedImmune();
    }
    std::uint8_t rec[kFashionRecordSize];
    std::memset(rec, 0xEE, sizeof rec);
    f.SaveRecord(rec);
    EXPECT_EQ(rec[0], 1);
    EXPECT_EQ(rec[64], 4);  // life after one update
    EXPECT_EQ(rec[128 + 287], 1);
    EXPECT_EQ(rec[416], 0);
    EXPECT_EQ(U32At(rec + 417), 36u);
    EXPECT_EQ(U32At(rec + 421), 5u);
    EXPECT_EQ(U32At(rec + 425), 40u);
    EXPECT_EQ(U32At(rec + 429), 4u);
    EXPECT_EQ(U32At(rec + 433), 12u);
    EXPECT_EQ(U32At(rec + 437), 12u);

    Fashion g;
    ASSERT_TRUE(g.LoadRecord(rec));
    std::uint8_t again[kFashionRecordSize];
    g.SaveRecord(again);
    EXPECT_EQ(std::memcmp(rec, again, sizeof rec), 0);

    // Records the game could never write are refused, and nothing changes.
    std::uint8_t bad[kFashionRecordSize];
    std::memcpy(bad, rec, sizeof bad);
    bad[10] = 3;  // a state outside 0..2
    EXPECT_FALSE(Fashion::CheckRecord(bad));
    EXPECT_FALSE(g.LoadRecord(bad));
    std::memcpy(bad, rec, sizeof bad);
    bad[64 + 0] = 0;  // cell 0 wants with a life of 0
    EXPECT_FALSE(g.LoadRecord(bad));
    bad[0] = 0xFF;  // -1 as a signed state
    EXPECT_FALSE(g.LoadRecord(bad));
    g.SaveRecord(again);
    EXPECT_EQ(std::memcmp(rec, again, sizeof rec), 0);
    // An empty cell may have any life.
    std::memcpy(bad, rec, sizeof bad);
    bad[5] = 0;
    bad[64 + 5] = 0;
    EXPECT_TRUE(g.LoadRecord(bad));
    // A new cell's life of 0 would let a sale seed a cell that never dies, which the
    // next save could not load again.
    for (std::size_t at : {421u, 429u}) {
        std::memcpy(bad, rec, sizeof bad);
        std::memset(bad + at, 0, 4);
        EXPECT_FALSE(Fashion::CheckRecord(bad)) << "life at " << at;
    }
}

// A record the loader takes plays on to records it takes again.
TEST_F(FashionTest, ALoadedRecordSavesOneThatLoadsAfterASale) {
    Fashion f(36, 5, 40, 4, 12);
    std::uint8_t rec[kFashionRecordSize];
    f.SaveRecord(rec);
    std::memset(rec + 421, 0, 4);  // a damaged want life
    Fashion g;
    if (g.LoadRecord(rec)) {
        g.SeedWant();  // a sale
        g.SaveRecord(rec);
        EXPECT_TRUE(Fashion::CheckRecord(rec));
    }
}

TEST(FashionParamsTable, StaysInRangeAndGivesEachGoodsACharacter) {
    int seasonal = 0, variantDiffers = 0;
    for (int g = 0; g < kGoodsCount; ++g) {
        bool changesWithMonth = false;
        for (int m = 0; m < 12; ++m)
            for (int v = 0; v < 2; ++v) {
                const FashionParamSet& p = FashionParams[g][m][v];
                SCOPED_TRACE(g * 100 + m * 10 + v);
                EXPECT_GE(p.WantRate, 20);
                EXPECT_LE(p.WantRate, 40);
                EXPECT_GE(p.WantLife, 2);
                EXPECT_LE(p.WantLife, 6);
                EXPECT_TRUE(p.ImmuneRate == 30 || p.ImmuneRate == 40);
                EXPECT_EQ(p.ImmuneLife, 4);
                EXPECT_TRUE(p.ImmunePeriod == 10 || p.ImmunePeriod == 12);
                changesWithMonth |= p.WantRate != FashionParams[g][0][v].WantRate;
                variantDiffers += v == 1 && p.WantRate != FashionParams[g][m][0].WantRate;
            }
        seasonal += changesWithMonth;
    }
    EXPECT_GT(seasonal, 32);
    EXPECT_GT(variantDiffers, 100);

    auto same = [](const FashionParamSet& p, FashionParamSet q) {
        return p.WantRate == q.WantRate && p.WantLife == q.WantLife &&
               p.ImmuneRate == q.ImmuneRate && p.ImmuneLife == q.ImmuneLife &&
               p.ImmunePeriod == q.ImmunePeriod;
    };
    for (int m = 0; m < 3; ++m) {
        EXPECT_TRUE(same(FashionParams[0][m][0], {36, 5, 40, 4, 12}));
        EXPECT_TRUE(same(FashionParams[0][m][1], {34, 5, 40, 4, 12}));
        EXPECT_TRUE(same(FashionParams[12][m][0], {30, 4, 30, 4, 10}));
        EXPECT_TRUE(same(FashionParams[12][m][1], {30, 4, 30, 4, 10}));
        EXPECT_TRUE(same(FashionParams[63][m][0], {30, 3, 30, 4, 10}));
    }
    // Warming goods are wanted more in winter, cooling goods in summer.
    EXPECT_GT(FashionParams[20][0][0].WantRate, FashionParams[20][6][0].WantRate);
    EXPECT_LT(FashionParams[21][0][0].WantRate, FashionParams[21][6][0].WantRate);
}

TEST_F(FashionTest, MonthlyResetTakesTheMonthAndVariant) {
    g_GameState.Day = 24 * 6;
    SetGameVariant(1);
    Fashions[20].SetCell(3, 1, 2);
    MonthlyFashionReset();
    for (int g = 0; g < kGoodsCount; ++g) {
        const FashionParamSet& p = FashionParams[g][6][1];
        EXPECT_EQ(Fashions[g].WantRate(), p.WantRate);
        EXPECT_EQ(Fashions[g].WantLife(), p.WantLife);
        EXPECT_EQ(Fashions[g].ImmuneRate(), p.ImmuneRate);
        EXPECT_EQ(Fashions[g].ImmuneLife(), p.ImmuneLife);
        EXPECT_EQ(Fashions[g].ImmunePeriod(), p.ImmunePeriod);
    }
    EXPECT_EQ(Fashions[20].CellState(3), 1);  // cells unchanged
}
