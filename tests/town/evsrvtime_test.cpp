// The event server's time, place, stats and items primitives, the tired scene, the
// new-recipe scene and the two command fallbacks (search and peddling).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ScriptedRandom.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

namespace {

// The transcript of each test; the hooks of the shop and the map write into it too.
ui::Transcript* g_transcript = nullptr;

// What the player saw, in order: "msg <text>", "face <n>", "picture" (a stage picture),
// and from the hooks "bed", "land <0|1>", "scene-step".
std::vector<std::string> Seen() {
    std::vector<std::string> out;
    for (const ui::TranscriptEntry& e : g_transcript->Entries()) {
        if (e.kind == "line") out.push_back("msg " + e.text);
        if (e.kind == "face") out.push_back("face " + e.text);
        if (e.kind == "picture") out.push_back("picture");
        if (e.kind == "test") out.push_back(e.text);
    }
    return out;
}

std::string Name(int item) {
    return ui::Big5ToUtf8(std::string(ItemName(item), strnlen(ItemName(item), 21)));
}

class TimePrimitivesTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        GameFlow = new TEvControler();
        ev = EventServerDbg;
        // The player reads every line the primitives show in the message window.
        player_ = std::make_unique<test::EventResponders>(headless.Backend());
        transcript_ = std::make_unique<ui::ScopedTranscript>();
        g_transcript = &**transcript_;
        ShopRedrawOn = 0;
        auto& h = TEventServerDbg::Hooks;
        h.ShopSceneStep = [] { ui::Record("test", "scene-step"); };
        h.GoHomeToBed = [] { ui::Record("test", "bed"); };
        h.SetMapLand = [](bool land) { ui::Record("test", land ? "land 1" : "land 0"); };
    }
    void TearDown() override {
        TEventServerDbg::Hooks = {};
        ShopRedrawOn = 0;
        delete GameFlow;
        GameFlow = nullptr;
        g_transcript = nullptr;
        transcript_.reset();
    }
    static void Clear() { g_transcript->Clear(); }
    void At(int day, int hour, int place) {
        SetGameDay(day);
        SetGameHour(hour);
        GameFlow->Place = place;
    }
    static std::vector<std::string> Messages() {
        std::vector<std::string> out;
        for (const std::string& s : Seen())
            if (s.rfind("msg ", 0) == 0) out.push_back(s.substr(4));
        return out;
    }

    TEventServerDbg* ev = nullptr;
    std::unique_ptr<ui::ScopedTranscript> transcript_;
    std::unique_ptr<test::EventResponders> player_;
};

// ---- PassTime and the tired scene

TEST_F(TimePrimitivesTest, TooLateOutsideTheShopSendsHerHomeToBed) {
    At(10, 4, 3);
    EXPECT_FALSE(ev->PassTime(3));
    EXPECT_EQ(GameHour(), 6);
    EXPECT_EQ(GameCondition(), 1);
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_EQ(Seen(), (std::vector<std::string>{"face 7", "msg 我已經累了", "bed", "face 0"}));
    EXPECT_FALSE(ev->TestFlg(flag::DawnWithCocotte));
}

TEST_F(TimePrimitivesTest, InTheShopAllHoursPass) {
    for (const int place : {10, 11, 20}) {
        At(10, 4, place);
        EXPECT_TRUE(ev->PassTime(3)) << place;
        EXPECT_EQ(GameHour(), 7);
        EXPECT_EQ(GameCondition(), 0);
    }
    EXPECT_TRUE(Seen().empty());
}

TEST_F(TimePrimitivesTest, InsideAnEventTheClockStopsWithoutAScene) {
    ev->m_InEvent = 1;
    At(10, 4, 3);
    EXPECT_FALSE(ev->PassTime(3));
    EXPECT_EQ(GameHour(), 6);
    EXPECT_EQ(GameCondition(), 0);
    EXPECT_EQ(GameFlow->Place, 3);
    EXPECT_TRUE(Seen().empty());
}

TEST_F(TimePrimitivesTest, TheLimitFollowsTheCondition) {
    // {condition, start hour, hours, hour reached, passed}
    const struct {
        int condition, start, hours, end;
        bool passed;
    } cases[] = {
        {0, 1, 8, 6, false}, {1, 1, 8, 3, false}, {2, 22, 8, 0, false},
        {1, 4, 3, 7, true},  {2, 1, 4, 5, true},  {0, 8, 10, 18, true},
    };
    for (const auto& c : cases) {
        At(10, c.start, 5);
        SetCondition(c.condition);
        EXPECT_EQ(ev->PassTime(c.hours), c.passed) << c.condition << " " << c.start;
        EXPECT_EQ(GameHour(), c.end) << c.condition << " " << c.start;
        EXPECT_EQ(GameCondition(), c.passed ? c.condition : std::min(c.condition + 1, 2));
    }
}

TEST_F(TimePrimitivesTest, NoHoursPassNothing) {
    At(10, 5, 3);
    EXPECT_TRUE(ev->PassTime(0));
    EXPECT_TRUE(ev->PassTime(-3));
    EXPECT_EQ(GameHour(), 5);
}

TEST_F(TimePrimitivesTest, BackToTheMapOneHourOnly) {
    ev->SetFlg(flag::NightSearch, true);
    At(10, 10, 3);
    EXPECT_TRUE(ev->PassTime(5));
    EXPECT_EQ(GameHour(), 11);
    // At 05:00 the one hour brings 06:00: home to bed, and the map knows why.
    At(10, 5, 3);
    EXPECT_FALSE(ev->PassTime(5));
    EXPECT_EQ(GameHour(), 6);
    EXPECT_TRUE(ev->TestFlg(flag::DawnWithCocotte));
    EXPECT_EQ(GameFlow->Place, 10);
}

TEST_F(TimePrimitivesTest, TheShopSceneRunsWhileTimePassesWhenAsked) {
    At(10, 9, 10);
    ev->PassTime(2);
    EXPECT_TRUE(Seen().empty());
    ShopRedrawOn = 1;
    ev->PassTime(2);
    EXPECT_EQ(Seen(), (std::vector<std::string>{"scene-step", "scene-step"}));
}

TEST_F(TimePrimitivesTest, TiredTwiceStaysExhausted) {
    SetCondition(2);
    ev->TiredRefusal();
    EXPECT_EQ(GameCondition(), 2);
    ev->m_InEvent = 1;
    SetCondition(0);
    ev->TiredRefusal();
    EXPECT_EQ(GameCondition(), 0);
}

// ---- the clock

TEST_F(TimePrimitivesTest, WaitHour) {
    At(10, 10, 3);
    ev->WaitHour(10);
    EXPECT_EQ(GameHour(), 10);
    for (const int bad : {-1, 24, 100}) ev->WaitHour(bad);
    EXPECT_EQ(GameHour(), 10);
    EXPECT_EQ(GameDay(), 10);
    ev->WaitHour(15);
    EXPECT_EQ(GameHour(), 15);
    ev->WaitHour(8);
    EXPECT_EQ(GameHour(), 8);
    EXPECT_EQ(GameDay(), 11);
}

TEST_F(TimePrimitivesTest, PassNights) {
    At(10, 12, 10);
    ev->PassNights(0);
    ev->PassNights(-2);
    EXPECT_EQ(GameDay(), 10);
    ev->PassNights(2);
    EXPECT_EQ(GameDay(), 12);
    EXPECT_EQ(GameHour(), 8);
    EXPECT_EQ(ev->GetHour(), 8);
}

TEST_F(TimePrimitivesTest, SeasonsAndMonths) {
    const struct {
        int day, month, season;
    } cases[] = {
        {0, 1, 0},   {47, 2, 0},  {48, 3, 1},   {119, 5, 1},  {120, 6, 2},
        {191, 8, 2}, {192, 9, 3}, {263, 11, 3}, {264, 12, 0}, {287, 12, 0},
    };
    for (const auto& c : cases) {
        SetGameDay(c.day);
        int season = -1, month = -1;
        EXPECT_EQ(ev->GetSeason(season, month), c.day);
        EXPECT_EQ(month, c.month) << c.day;
        EXPECT_EQ(season, c.season) << c.day;
    }
}

TEST_F(TimePrimitivesTest, TickMod) {
    headless.Clock().Set(1234);
    EXPECT_EQ(ev->TickMod(0), 0);
    EXPECT_EQ(ev->TickMod(100), 34);
    EXPECT_EQ(ev->TickMod(7), 1234 % 7);
}

// ---- place, stats and items

TEST_F(TimePrimitivesTest, SetPlace) {
    ev->SetPlace(place::Waterfall, false);
    EXPECT_EQ(GameFlow->Place, 35);
    ev->SetPlace(place::Square, true);
    EXPECT_EQ(GameFlow->Place, 3);
    EXPECT_EQ(Seen(), (std::vector<std::string>{"land 1", "land 0", "picture"}));
    EXPECT_EQ(g_transcript->Texts("place"), (std::vector<std::string>{"35", "3"}));
}

TEST_F(TimePrimitivesTest, StatsAndItems) {
    SetItemStock(item::FloraeFlowers, 0);
    ev->GiveItem(item::FloraeFlowers, 5);
    EXPECT_EQ(ItemStock(item::FloraeFlowers), 5);
    EXPECT_TRUE(IsItemUnlocked(item::FloraeFlowers));
    ev->GiveItem(item::FloraeFlowers, 200);
    EXPECT_EQ(ItemStock(item::FloraeFlowers), 99);
    ev->TakeItem(item::FloraeFlowers, 150);
    EXPECT_EQ(ItemStock(item::FloraeFlowers), 0);
    ev->GiveItem(-1, 3);  // no such item: nothing
    ev->GiveItem(107, 3);
    ev->TakeItem(500, 1);
    ev->LearnRecipe(200);

    ev->LearnRecipe(12);
    EXPECT_TRUE(IsItemUnlocked(12));

    SetMoney(100);
    ev->GiveMoney(-250);
    EXPECT_EQ(GameMoney(), -150);
    ev->GiveMoney(20000000);
    EXPECT_EQ(GameMoney(), 9999999);

    SetReputation(95);
    ev->GiveReputation(10);
    EXPECT_EQ(GameReputation(), 100);
    ev->GiveReputation(-200);
    EXPECT_EQ(GameReputation(), 0);

    SetCondition(2);
    ev->ResetCondition();
    EXPECT_EQ(GameCondition(), 0);
}

TEST_F(TimePrimitivesTest, TheNewRecipeScene) {
    ev->LearnRecipeScene(item::MagicHandWarmer);
    EXPECT_TRUE(IsItemUnlocked(item::MagicHandWarmer));
    EXPECT_EQ(Seen(),
              (std::vector<std::string>{"face 10", "msg 緹菈「……", "face 2", "msg 緹菈「……對了！！",
                                        "msg 緹菈腦海中閃過一道新魔法藥的調配法。",
                                        "msg " + Name(20) + "的調配法學會了！"}));
}

// ---- the default search

TEST_F(TimePrimitivesTest, APlaceWithoutFindsGivesOneDandelion) {
    // Places whose row lies past the table: the shop's room 11 and land place 43.
    for (const int place : {11, 43}) {
        Clear();
        At(10, 19, place);
        SetItemStock(item::Dandelion, 0);
        test::ScriptedRandom none;  // no draw at all
        ev->DefaultSearch();
        EXPECT_EQ(Messages(), (std::vector<std::string>{"取得了一株蒲公英"})) << place;
        EXPECT_EQ(ItemStock(item::Dandelion), 1);
        EXPECT_EQ(GameHour(), 20);
        EXPECT_EQ(none.Count(), 0u);
    }
}

TEST_F(TimePrimitivesTest, FourFindsOfOneItemAreOneLine) {
    // Place 0 at 20:00 (an even hour) looks at 67, 79, 78 and 81. (Searches here end
    // outside 9..17, when the market draws nothing.)
    At(10, 19, 0);
    SetItemStock(79, 0);
    test::ScriptedRandom draws({1, 2, 0, 5, 2, 0, 9, 2, 0, 1, 2, 0});  // candidate 1 each time
    ev->DefaultSearch();
    EXPECT_EQ(Messages(), (std::vector<std::string>{Name(79) + "取得了４個"}));
    EXPECT_EQ(ItemStock(79), 4);
    EXPECT_TRUE(draws.Done());
}

TEST_F(TimePrimitivesTest, ASearchWithForcedDraws) {
    // Place 3 at 20:00, level 1: 89 (50 %), 79 (20 %), 67 (10 %); 78 needs level 8.
    At(10, 19, 3);
    for (const int item : {89, 79, 67}) SetItemStock(item, 0);
    test::ScriptedRandom draws({
        0, 2, 49,  // candidate 0 wins: 89 x (50*2/100 + 1) = 2
        4, 1, 19,  // candidate 1 wins: 79 x (20*1/100 + 1) = 1
        2, 0, 30,  // nobody wins: candidate 0 once, 89 x 1
        2, 5, 15,  // 67 loses, 79 below it wins: 79 x (20*2/100 + 1) = 1
    });
    ev->DefaultSearch();
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{Name(89) + "取得了３個\n" + Name(79) + "取得了２個"}));
    EXPECT_EQ(ItemStock(89), 3);
    EXPECT_EQ(ItemStock(79), 2);
    EXPECT_EQ(ItemStock(item::Dandelion), 0);
    EXPECT_TRUE(draws.Done());
}

TEST_F(TimePrimitivesTest, TheLowestWinnerBelowCounts) {
    // Place 1 at 22:00, level 2: 67 (10 %), 75 (30 %), 71 (30 %), 80 (20 %).
    At(10, 21, 1);
    SetGameLevel(2);
    test::ScriptedRandom draws({3, 2, 25, 3, 2, 25, 3, 2, 25, 3, 1, 25});
    ev->DefaultSearch();
    // 80 loses at 25; 71 and 75 win, 75 (the lower) counts: 30*2/100 + 1 = 1, three
    // times, then 30*1/100 + 1 = 1.
    EXPECT_EQ(Messages(), (std::vector<std::string>{Name(75) + "取得了４個"}));
}

TEST_F(TimePrimitivesTest, OddHoursLevelsAndBandsChooseTheCandidates) {
    // Place 2 at level 1. At 21:00 (odd): 69, 75 (level 2), 73, and 67 already at
    // record 6: 69 and 73. At 08:00 (even): 64, 72 (band 2: not in 8..18), 71 (level 2)
    // and 67: 64 and 67. At 20:00 the band lets 72 in.
    const struct {
        int hour;  // the hour the search reaches
        std::vector<int> draws;
        std::string text;
    } cases[] = {
        {21,
         {0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0},
         Name(69) + "取得了２個\n" + Name(73) + "取得了２個"},
        {8,
         {0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0},
         Name(64) + "取得了２個\n" + Name(67) + "取得了２個"},
        {20,
         {0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0},
         Name(64) + "取得了２個\n" + Name(72) + "取得了１個\n" + Name(67) + "取得了１個"},
    };
    for (const auto& c : cases) {
        Clear();
        At(10, c.hour - 1, 2);
        test::ScriptedRandom draws(c.draws);  // every find wins at once (r = 0), one unit each
        ev->DefaultSearch();
        EXPECT_EQ(Messages(), std::vector<std::string>{c.text}) << c.hour;
        EXPECT_TRUE(draws.Done());
    }
}

TEST_F(TimePrimitivesTest, EveningSearchShowsTheEveningPicture) {
    At(10, 16, 3);
    test::ScriptedRandom draws({}, 0);
    ev->DefaultSearch();
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(Seen()[0], "picture");
}

TEST_F(TimePrimitivesTest, ASearchTooLateStops) {
    At(10, 5, 3);
    test::ScriptedRandom none;
    ev->DefaultSearch();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"我已經累了"}));
    EXPECT_EQ(GameFlow->Place, 10);
}

// ---- peddling

// The first number the runtime generator draws after a seed, by its rule.
int FirstDraw(std::uint32_t seed) {
    const std::uint32_t state = seed * 22695477u + 1u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}
// A seed whose first draw makes ChkRandom(60) hold (or fail).
std::uint32_t SeedFor(bool lucky) {
    for (std::uint32_t s = 1;; ++s)
        if ((60 >= FirstDraw(s) % 100 + 1) == lucky) return s;
}

// The first shop goods item below 1000 in base price, by the catalogue.
int CheapGoods() {
    for (int i = 0; i < kGoodsCount; ++i)
        if (IsShopGoods(i) && ItemBasePrice(i) < 1000) return i;
    return -1;
}

TEST_F(TimePrimitivesTest, NoPeddlingOnHolidays) {
    for (const int day : {48, 5, 11}) {  // day 48, and two rest days
        Clear();
        At(day, 12, 3);
        ev->Peddle();
        EXPECT_EQ(Messages(), (std::vector<std::string>{"今天是假日，所以沒辦法到處兜售。"}))
            << day;
        EXPECT_EQ(GameHour(), 12);
    }
}

TEST_F(TimePrimitivesTest, NoPeddlingWhenNobodyIsAbout) {
    for (const int hour : {9, 19, 2}) {
        Clear();
        At(10, hour, 3);
        ev->Peddle();
        EXPECT_EQ(Messages(),
                  (std::vector<std::string>{"緹菈「附近什麼人都沒有，\n兜售是沒有意義的。"}));
        EXPECT_EQ(GameHour(), hour);
    }
}

// Peddling at 17:00 reaches 18:00, when the market draws nothing, and shows the
// evening picture.
TEST_F(TimePrimitivesTest, PeddlingWithoutLuck) {
    At(10, 17, 3);
    ui::Srand(SeedFor(false));
    ev->Peddle();
    EXPECT_EQ(Seen(), (std::vector<std::string>{"picture", "msg 運氣真不好，一個也沒賣掉。"}));
    EXPECT_EQ(GameHour(), 18);
}

TEST_F(TimePrimitivesTest, PeddlingWithNothingToSell) {
    At(10, 17, 3);
    for (int i = 0; i < kGoodsCount; ++i) SetItemReserve(i, 0);
    SetItemStock(CheapGoods(), 9);  // in the shop, not carried
    ui::Srand(SeedFor(true));
    ev->Peddle();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"身上沒有攜帶任何可以兜售的物品喔。"}));
}

TEST_F(TimePrimitivesTest, PeddlingSellsOneCarriedItem) {
    const int item = CheapGoods();
    ASSERT_GE(item, 0);
    const int price = ItemBasePrice(item);
    for (const int reputation : {10, 20}) {
        Clear();
        At(10, 17, 3);
        for (int i = 0; i < kGoodsCount; ++i) SetItemReserve(i, 0);
        SetItemStock(item, 5);
        SetItemReserve(item, 2);
        SetMoney(1000);
        SetReputation(reputation);
        ui::Srand(SeedFor(true));
        test::ScriptedRandom draws({0});
        ev->Peddle();
        EXPECT_EQ(Messages(), (std::vector<std::string>{Name(item) + "賣掉了１個囉。"}));
        EXPECT_EQ(ItemStock(item), 4);
        EXPECT_EQ(ItemReserve(item), 1);
        EXPECT_EQ(GameMoney(), 1000 + price);
        EXPECT_EQ(GameReputation(), reputation == 10 ? 11 : 20);
        EXPECT_TRUE(draws.Done());
    }
    EXPECT_EQ(DailyRevenue(item, 10), 2 * price);
    EXPECT_EQ(DailySoldCount(item, 10), 2);
}

}  // namespace
