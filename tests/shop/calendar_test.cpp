#include "shop/Calendar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Random.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "shop/Market.h"
#include "story/Register.h"
#include "tests/support/ScriptedRandom.h"

namespace {

// Every hook writes its name into the log, so a test sees the clock's order of rules.
std::vector<std::string> g_log;
int g_spawnBusy = 0;  // SpawnHourlyCustomers answers true this many times per hour
int g_spawnLeft = 0;
bool g_upstairs = false;

void InstallRecorder() {
    g_log.clear();
    g_ClockHooks.ResetTickPhase = [] {
        g_log.push_back("ResetTickPhase");
        g_spawnLeft = g_spawnBusy;
    };
    g_ClockHooks.SpawnHourlyCustomers = [](bool finish) {
        g_log.push_back(finish ? "Spawn(true)" : "Spawn(false)");
        return g_spawnLeft-- > 0;
    };
    g_ClockHooks.RedrawShop = [] { g_log.push_back("RedrawShop"); };
    g_ClockHooks.AnimateHourChange = [] { g_log.push_back("AnimateHourChange"); };
    g_ClockHooks.SetShopOpen = [] { g_log.push_back("SetShopOpen"); };
    g_ClockHooks.SetShopClosed = [] { g_log.push_back("SetShopClosed"); };
    g_ClockHooks.GenerateDailyDemand = [] { g_log.push_back("GenerateDailyDemand"); };
    g_ClockHooks.SettleDailyFashion = [] { g_log.push_back("SettleDailyFashion"); };
    g_ClockHooks.IsShop2FVisible = [] {
        g_log.push_back("IsShop2FVisible");
        return g_upstairs;
    };
    g_ClockHooks.RenewWatch = [] { g_log.push_back("RenewWatch"); };
    g_ClockHooks.ClearDoorBell = [] { g_log.push_back("ClearDoorBell"); };
    g_ClockHooks.RenewCalender = [] { g_log.push_back("RenewCalender"); };
}

class CalendarTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_ClockHooks = {};
        ui::Srand(99);
        InitGameState();
        g_spawnBusy = 0;
        g_upstairs = false;
        SetBoostCountdown(200);  // no boosts unless a test wants them
    }
    void TearDown() override { g_ClockHooks = {}; }
    static void GoTo(int day, int hour) {
        g_GameState.Day = day;
        g_GameState.Hour = hour;
    }
};

using Log = std::vector<std::string>;

}  // namespace

TEST_F(CalendarTest, HourlyRulesRunInOrder) {
    InstallRecorder();
    g_spawnBusy = 2;

    GoTo(1, 9);  // 09:00 -> 10:00 of an open day
    AdvanceHour();
    EXPECT_EQ(g_log, (Log{"ResetTickPhase", "Spawn(true)", "Spawn(true)", "Spawn(true)",
                          "RedrawShop", "AnimateHourChange", "SetShopOpen", "GenerateDailyDemand",
                          "IsShop2FVisible", "RenewWatch", "ClearDoorBell"}));

    g_spawnBusy = 0;
    g_log.clear();
    GoTo(1, 18);  // closing time: 19:00
    AdvanceHour();
    EXPECT_EQ(g_log, (Log{"ResetTickPhase", "Spawn(true)", "RedrawShop", "AnimateHourChange",
                          "SetShopClosed", "SettleDailyFashion", "IsShop2FVisible", "RenewWatch",
                          "ClearDoorBell"}));

    g_log.clear();
    GoTo(1, 23);  // midnight: the day changes before any rule of 00:00
    AdvanceHour();
    EXPECT_EQ(g_log, (Log{"ResetTickPhase", "Spawn(true)", "RedrawShop", "AnimateHourChange",
                          "RenewCalender", "SetShopClosed", "IsShop2FVisible", "RenewWatch",
                          "ClearDoorBell"}));
    EXPECT_EQ(GameDay(), 2);
    EXPECT_EQ(GameHour(), 0);
}

TEST_F(CalendarTest, OneDayCallsEachDailyRuleOnce) {
    InstallRecorder();
    GoTo(3, 0);
    for (int h = 0; h < 24; ++h) AdvanceHour();
    auto count = [](const char* name) {
        int n = 0;
        for (const std::string& s : g_log) n += s == name;
        return n;
    };
    EXPECT_EQ(count("ResetTickPhase"), 24);
    EXPECT_EQ(count("RenewWatch"), 24);
    EXPECT_EQ(count("SetShopOpen"), 9);
    EXPECT_EQ(count("SetShopClosed"), 15);
    EXPECT_EQ(count("GenerateDailyDemand"), 1);
    EXPECT_EQ(count("SettleDailyFashion"), 1);
    EXPECT_EQ(count("RenewCalender"), 1);
    EXPECT_EQ(GameDay(), 4);
}

TEST_F(CalendarTest, OpenHoursOverTheWholeYear) {
    static std::vector<std::pair<int, int>> opened, demanded;
    opened.clear();
    demanded.clear();
    g_ClockHooks.SetShopOpen = [] { opened.push_back({GameDay(), GameHour()}); };
    g_ClockHooks.GenerateDailyDemand = [] { demanded.push_back({GameDay(), GameHour()}); };
    GoTo(0, 9);
    while (GameDay() < kGameDays - 1 || GameHour() < 23) AdvanceHour();

    std::vector<std::pair<int, int>> expected, expectedDemand;
    for (int d = 0; d < kGameDays; ++d) {
        if (d % 6 == 5 || d == 48) continue;
        for (int h = 10; h <= 18; ++h) expected.push_back({d, h});
        expectedDemand.push_back({d, 10});
    }
    EXPECT_EQ(opened, expected);
    EXPECT_EQ(demanded, expectedDemand);
    EXPECT_EQ(opened.size(), (288u - 48u - 1u) * 9u);
}

TEST_F(CalendarTest, WeeklyReputationOnTheRestDay) {
    struct Case {
        int reputation, sold, expected;
    };
    const Case cases[] = {
        {10, 100, 12}, {10, 99, 11},     {10, 50, 11},    {10, 49, 10},
        {0, 0, 2},     {100, 1000, 100}, {100, 999, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reputation * 10000 + c.sold);
        InitGameState();
        SetBoostCountdown(200);
        SetReputation(c.reputation);
        // Sales spread over days 6..10, plus sales that must not count: today and day 5.
        for (int k = 0; k < c.sold; ++k) AddDailySoldCount(k % 64, 6 + k % 5, 1);
        AddDailySoldCount(item::VigourPerfume, 11, 50);
        AddDailySoldCount(item::VigourPerfume, 5, 50);
        AddDailySoldCount(item::FloraeFlowers, 8, 50);  // a material is not goods
        GoTo(11, 7);
        AdvanceHour();
        EXPECT_EQ(GameReputation(), c.expected);
        AdvanceHour();  // 09:00: no second check
        EXPECT_EQ(GameReputation(), c.expected);
    }
    // No check at 08:00 of a working day.
    InitGameState();
    SetReputation(0);
    GoTo(10, 7);
    AdvanceHour();
    EXPECT_EQ(GameReputation(), 0);
    // Day 5 sums days 0..4.
    SetReputation(1);
    AddDailySoldCount(item::VigourScentBottle, 0, 10);
    GoTo(5, 7);
    AdvanceHour();
    EXPECT_EQ(GameReputation(), 3);
}

TEST_F(CalendarTest, MarketRestocksAtNineAndSellsOffTenToSeventeen) {
    static int draws;
    static int (*counting)() = [] {
        ++draws;
        return ui::Rand();
    };
    SetRandomSource(counting);
    for (int day : {2, 5}) {  // a working day and a rest day
        SCOPED_TRACE(day);
        GoTo(day, 0);
        for (int h = 1; h <= 23; ++h) {
            draws = 0;
            AdvanceHour();
            ASSERT_EQ(GameHour(), h);
            if (h == 9)
                EXPECT_GE(draws, 10);
            else if (h >= 10 && h <= 17)
                EXPECT_EQ(draws, 5);
            else
                EXPECT_EQ(draws, 0);
        }
    }
    SetRandomSource(nullptr);
}

TEST_F(CalendarTest, EveningAndYesterdayCopiesOfTheSlots) {
    GoTo(7, 17);
    SetSlotItem(0, item::VigourPerfume);
    AdvanceHour();  // 18:00: no copy yet
    EXPECT_EQ(EveningSlotItem(0), -1);
    SetSlotItem(0, 12);
    AdvanceHour();  // 19:00: evening copy
    EXPECT_EQ(EveningSlotItem(0), 12);
    for (int s = 1; s < 10; ++s) EXPECT_EQ(EveningSlotItem(s), SlotItem(s));
    EXPECT_EQ(YesterdaySlotItem(0), -1);
    SetSlotItem(0, 40);  // changed after the evening copy
    while (GameHour() != 0) AdvanceHour();
    EXPECT_EQ(YesterdaySlotItem(0), 12);
    EXPECT_EQ(EveningSlotItem(0), 12);
    for (int s = 1; s < 10; ++s) EXPECT_EQ(YesterdaySlotItem(s), InitialSlots[s]);
}

TEST_F(CalendarTest, VariantIsRedrawnAfterTheMonthlyReset) {
    SetGameVariant(0);
    GoTo(71, 23);
    {
        // Day 72: no calendar seeds, the boost counts down; then the variant draw.
        test::ScriptedRandom rnd({1});
        AdvanceHour();
        EXPECT_TRUE(rnd.Done());
    }
    EXPECT_EQ(GameDay(), 72);
    EXPECT_EQ(GameVariant(), 1);
    for (int g = 0; g < kGoodsCount; ++g) {
        EXPECT_EQ(Fashions[g].WantRate(), FashionParams[g][3][0].WantRate) << g;
        EXPECT_EQ(Fashions[g].WantLife(), FashionParams[g][3][0].WantLife) << g;
    }
    EXPECT_NE(FashionParams[0][3][0].WantRate, FashionParams[0][3][1].WantRate);

    // The variant is drawn only on days 72, 120 and 240.
    GoTo(72, 23);
    {
        test::ScriptedRandom rnd(std::vector<int>{});
        AdvanceHour();
    }
    EXPECT_EQ(GameVariant(), 1);
}

TEST_F(CalendarTest, RestInTheUpperRoomRecoversCondition) {
    InstallRecorder();
    g_upstairs = true;
    SetCondition(2);
    GoTo(4, 18);
    AdvanceHour();
    EXPECT_EQ(GameCondition(), 0);
    SetCondition(2);
    GoTo(4, 0);
    AdvanceHour();
    EXPECT_EQ(GameCondition(), 1);
    g_upstairs = false;
    SetCondition(2);
    GoTo(4, 18);
    AdvanceHour();
    EXPECT_EQ(GameCondition(), 2);
}

TEST_F(CalendarTest, CustomerMessagesClearAtEight) {
    AddCustomerMessage(70);
    GoTo(6, 6);
    AdvanceHour();
    EXPECT_EQ(CustomerMessage(0), 70);
    AdvanceHour();
    EXPECT_EQ(CustomerMessage(0), -1);
}

TEST_F(CalendarTest, AdvanceToMorning) {
    static int hours;
    hours = 0;
    g_ClockHooks.ResetTickPhase = [] { ++hours; };
    GoTo(3, 8);
    AdvanceToMorning();
    EXPECT_EQ(hours, 24);
    EXPECT_EQ(GameDay(), 4);
    EXPECT_EQ(GameHour(), 8);
    hours = 0;
    GoTo(3, 7);
    AdvanceToMorning();
    EXPECT_EQ(hours, 1);
    hours = 0;
    GoTo(3, 22);
    AdvanceToMorning();
    EXPECT_EQ(hours, 10);
}

TEST_F(CalendarTest, TheClockRunsSafelyPastTheLastDay) {
    // The ending stops a real game at day 287; the rules must stay safe beyond it.
    for (int g = 0; g < kGoodsCount; ++g) SeedDemand(g, 5);
    AddDailySoldCount(item::VigourPerfume, 287, 7);
    SetBoostCountdown(0);
    GoTo(286, 0);
    while (GameDay() < 320) AdvanceHour();
    EXPECT_EQ(DailySoldCount(item::VigourPerfume, 287), 7);
    EXPECT_EQ(DailyVisitors(287), 0);
    // Day 312 began month 14 of the clock, which wraps round to the second month.
    for (int g = 0; g < kGoodsCount; ++g)
        EXPECT_EQ(Fashions[g].WantRate(), FashionParams[g][1][GameVariant()].WantRate);
    for (int g = 0; g < kGoodsCount; ++g) {
        Fashions[g].DailyUpdate();
        EXPECT_EQ(Fashions[g].HistoryOf(GameDay()), 0);
    }
}
