// 可可特 and the shop's own days played headless through the real message window with
// the transcript: every branch of every event with its lines, speakers, voices, flags,
// meetings, items, clock and place; the evening walk's three paths and its loop; the
// shop visits of days 100..204 through the visit command; the visit that an event took
// elsewhere; and the orders of a night spent inside an event.
#include "story/Cocotte.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Form.h"
#include "platform/Random.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Savefile.h"
#include "story/Dialogue.h"
#include "story/EventTables.h"
#include "story/Events.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/RuntimeDraws.h"
#include "tests/support/Scratch.h"
#include "tests/support/StoryFixture.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"

namespace {

using Counts = test::StoryTest::Counts;
constexpr char kFile[] = "Cocotte.txt";
constexpr int kMeetings = var::CocotteMeetingCount;

std::vector<int> Range(int first, int last) {
    std::vector<int> v(static_cast<std::size_t>(last - first + 1));
    std::iota(v.begin(), v.end(), first);
    return v;
}

// One event played under its conditions: where and when, what is set before, the
// answers to its choices; and what it leaves.
struct Case {
    const char* name;
    bool (*event)();
    int day, hour, place;
    std::vector<int> flagsBefore;
    int meetingsBefore;
    bool forced;        // with every condition held (the town meetings, the doorway)
    void (*prepare)();  // what else the conditions need, or null
    std::deque<int> answers;
    Counts speakers;
    std::vector<int> voices;
    std::vector<int> flagsChanged;  // ascending; pictures and endings seen aside
    int meetingsAfter;
    int hours;
    int placeAfter;
};

void ChoseCocotteOnDay260() { DayMarks[mark::CocotteChosenDay] = 260; }
void MixedAGood() { GameFlow->MixedItem = 3; }
void SevenRoomVisits() { EventServerDbg->SetVariable(var::SilentVisitCount, 7); }
void ChanceHolds() { ui::Srand(test::SeedFor({30})); }

std::vector<Case> Cases() {
    const std::vector<int> none;
    return {
        // ---- 微笑魔法店: the two voiced scenes, the eight talks, the chats
        {"EvMove015",
         EvMove015,
         100,
         16,
         13,
         none,
         0,
         false,
         nullptr,
         {},
         {{"", 1}, {"可可特", 8}, {"緹菈", 7}},
         Range(1086, 1100),
         {333, 387},
         1,
         0,
         2},
        {"EvMove016",
         EvMove016,
         204,
         16,
         13,
         {483},
         20,
         false,
         nullptr,
         {},
         {{"可可特", 10}, {"緹菈", 12}},
         Range(1146, 1167),
         {431, 433},
         20,
         0,
         2},
        {"EvMove049",
         EvMove049,
         102,
         16,
         13,
         none,
         1,
         false,
         nullptr,
         {},
         {{"可可特", 6}, {"緹菈", 6}},
         none,
         {476},
         2,
         0,
         2},
        {"EvMove050",
         EvMove050,
         102,
         16,
         13,
         {476},
         2,
         false,
         nullptr,
         {},
         {{"可可特", 8}, {"緹菈", 10}},
         none,
         {477},
         3,
         0,
         2},
        {"EvMove051",
         EvMove051,
         102,
         16,
         13,
         {476, 477},
         3,
         false,
         nullptr,
         {},
         {{"可可特", 10}, {"緹菈", 11}},
         none,
         {478},
         4,
         0,
         2},
        {"EvMove052",
         EvMove052,
         102,
         16,
         13,
         {478},
         4,
         false,
         nullptr,
         {},
         {{"可可特", 13}, {"緹菈", 11}},
         none,
         {479},
         5,
         0,
         2},
        {"EvMove053",
         EvMove053,
         108,
         16,
         13,
         {479},
         5,
         false,
         nullptr,
         {},
         {{"可可特", 6}, {"緹菈", 6}},
         none,
         {480},
         6,
         0,
         2},
        {"EvMove054",
         EvMove054,
         132,
         16,
         13,
         {480},
         6,
         false,
         nullptr,
         {},
         {{"可可特", 6}, {"緹菈", 13}},
         none,
         {481},
         7,
         0,
         2},
        {"EvMove055",
         EvMove055,
         156,
         16,
         13,
         {481},
         7,
         false,
         nullptr,
         {},
         {{"可可特", 8}, {"緹菈", 10}},
         none,
         {482},
         8,
         0,
         2},
        {"EvMove056",
         EvMove056,
         180,
         16,
         13,
         {482},
         20,
         false,
         nullptr,
         {},
         {{"可可特", 8}, {"緹菈", 11}},
         none,
         {483, 484},
         21,
         0,
         2},
        {"EvMove148",
         EvMove148,
         106,
         16,
         13,
         {476},
         9,
         false,
         nullptr,
         {},
         {{"可可特", 4}, {"緹菈", 6}},
         none,
         none,
         10,
         0,
         2},
        {"EvMove147",
         EvMove147,
         190,
         16,
         13,
         {484},
         30,
         false,
         nullptr,
         {},
         {{"可可特", 5}, {"緹菈", 8}},
         none,
         none,
         30,
         0,
         2},
        {"EvMove189",
         EvMove189,
         270,
         16,
         13,
         {405},
         30,
         false,
         nullptr,
         {},
         {{"可可特", 5}, {"緹菈", 4}},
         none,
         none,
         30,
         0,
         2},
        {"EvMove136",
         EvMove136,
         120,
         16,
         2,
         {333},
         12,
         true,
         nullptr,
         {},
         {{"可可特", 7}, {"緹菈", 7}},
         none,
         {168},
         12,
         0,
         2},
        // ---- in town
        {"EvMove130",
         EvMove130,
         155,
         14,
         3,
         none,
         3,
         true,
         nullptr,
         {},
         {{"可可特", 4}, {"緹菈", 4}},
         none,
         {530},
         3,
         0,
         3},
        {"EvMove131",
         EvMove131,
         100,
         15,
         3,
         none,
         3,
         true,
         nullptr,
         {},
         {{"可可特", 4}, {"緹菈", 6}},
         none,
         none,
         3,
         0,
         3},
        {"EvMove132",
         EvMove132,
         100,
         15,
         3,
         none,
         3,
         true,
         nullptr,
         {},
         {{"可可特", 4}, {"緹菈", 5}},
         none,
         none,
         3,
         0,
         3},
        {"EvMove133",
         EvMove133,
         100,
         15,
         3,
         none,
         3,
         true,
         nullptr,
         {},
         {{"可可特", 5}, {"緹菈", 6}},
         none,
         none,
         3,
         0,
         3},
        {"EvMove134",
         EvMove134,
         101,
         14,
         5,
         {387},
         3,
         true,
         nullptr,
         {},
         {{"可可特", 13}, {"緹菈", 5}},
         none,
         {531},
         3,
         0,
         5},
        {"EvMove135",
         EvMove135,
         100,
         15,
         3,
         none,
         3,
         true,
         nullptr,
         {},
         {{"可可特", 4}, {"緹菈", 5}},
         none,
         none,
         3,
         0,
         3},
        {"EvMove190",
         EvMove190,
         270,
         15,
         3,
         {405},
         3,
         true,
         nullptr,
         {},
         {{"可可特", 5}, {"緹菈", 4}},
         none,
         none,
         3,
         0,
         3},
        // ---- the turn start
        {"EvTurnStart009",
         EvTurnStart009,
         266,
         14,
         10,
         none,
         30,
         false,
         ChoseCocotteOnDay260,
         {},
         {{"可可特", 10}, {"緹菈", 24}, {"蕾妮特", 8}, {"黑皮", 5}},
         Range(1168, 1214),
         {405},
         30,
         1,
         39},
        {"EvTurnStart014",
         EvTurnStart014,
         160,
         20,
         10,
         none,
         10,
         false,
         nullptr,
         {},
         {{"可可特", 12}, {"緹菈", 15}, {"蕾妮特", 4}},
         Range(1101, 1131),
         {432},
         10,
         1,
         10},
        {"EvTurnStart017",
         EvTurnStart017,
         30,
         14,
         10,
         none,
         0,
         false,
         MixedAGood,
         {},
         {{"緹菈", 4}, {"黑皮", 4}},
         none,
         {503},
         0,
         0,
         10},
        {"EvTurnStart018",
         EvTurnStart018,
         40,
         22,
         10,
         none,
         0,
         false,
         nullptr,
         {},
         {{"緹菈", 27}, {"黑皮", 23}},
         none,
         {506},
         0,
         2,
         10},
        {"EvTurnStart019",
         EvTurnStart019,
         49,
         9,
         11,
         none,
         0,
         false,
         nullptr,
         {},
         {{"緹菈", 7}, {"芙蘿蕾", 3}},
         none,
         none,
         0,
         0,
         10},
        {"EvTurnStart021",
         EvTurnStart021,
         150,
         9,
         10,
         none,
         0,
         false,
         SevenRoomVisits,
         {},
         {{"緹菈", 11}, {"糕餅店的大嬸", 11}},
         none,
         {520},
         0,
         0,
         10},
        {"EvTurnStart027",
         EvTurnStart027,
         40,
         20,
         10,
         {93},
         0,
         false,
         ChanceHolds,
         {},
         {{"緹菈", 3}},
         {1101},
         {540},
         0,
         0,
         10},
        // ---- the chocolates: 蕾妮特 helps; declined, with and without her secret help
        {"EvTurnStart020 helped",
         EvTurnStart020,
         80,
         18,
         10,
         none,
         0,
         false,
         nullptr,
         {0},
         {{"緹菈", 48}, {"蕾妮特", 21}, {"黑皮", 8}, {"貴族男士", 4}},
         none,
         {430, 528},
         0,
         15,
         10},
        {"EvTurnStart020 secret help",
         EvTurnStart020,
         80,
         19,
         10,
         {92},
         0,
         false,
         nullptr,
         {1},
         {{"緹菈", 50}, {"蕾妮特", 17}, {"黑皮", 23}, {"貴族男士", 4}},
         none,
         {528},
         0,
         14,
         10},
        {"EvTurnStart020 declined",
         EvTurnStart020,
         80,
         20,
         10,
         none,
         0,
         false,
         nullptr,
         {1},
         {{"緹菈", 48}, {"蕾妮特", 9}, {"黑皮", 16}, {"貴族男士", 4}},
         none,
         {528},
         0,
         13,
         10},
    };
}

class CocotteTest : public test::StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        UnlockItem(18);  // the chocolates' recipe, for the nobleman's order
    }
    // Plays a case and checks what it leaves; the plays are kept for the accounting.
    void Play(const Case& c) {
        SCOPED_TRACE(c.name);
        NewGame(c.day, c.hour, c.place);
        UnlockItem(18);
        for (int f = 88; f <= 93; ++f) ev->SetFlg(f, false);  // kept from the case before
        for (int f : c.flagsBefore) ev->SetFlg(f, true);
        ev->SetVariable(kMeetings, c.meetingsBefore);
        ev->m_ScheduleVariant = 0;
        if (c.prepare) c.prepare();
        std::vector<bool> before(kEventFlagCount);
        for (int f = 1; f < kEventFlagCount; ++f) before[f] = ev->TestFlg(f);
        const int start = GameDay() * 24 + GameHour();
        const int money = GameMoney(), chocolates = ItemStock(18);
        test::EventResponders player(headless.Backend());
        player.answers = c.answers;
        ASSERT_TRUE(c.forced ? Forced(c.event) : c.event());
        EXPECT_EQ(Speakers(), c.speakers);
        int lines = 0;
        for (const auto& [who, n] : c.speakers) lines += n;
        EXPECT_EQ(player.linesAcknowledged, lines);
        EXPECT_EQ(player.choicesAnswered, static_cast<int>(c.answers.size()));
        EXPECT_EQ(Voices(), c.voices);
        std::vector<int> changed;
        for (int f = 1; f < kEventFlagCount; ++f)
            if ((f < 32 || f >= 96) && ev->TestFlg(f) != before[f]) changed.push_back(f);
        EXPECT_EQ(changed, c.flagsChanged);
        EXPECT_EQ(ev->EventVariable[kMeetings], c.meetingsAfter);
        EXPECT_EQ(GameDay() * 24 + GameHour() - start, c.hours);
        EXPECT_EQ(GameFlow->Place, c.placeAfter);
        EXPECT_EQ(ev->ConditionOverride, 0);
        EXPECT_EQ(ItemStock(18), chocolates);
        EXPECT_EQ(GameMoney() - money, c.event == EvTurnStart020 ? 10000 : 0);
    }
    // The evening walk on day 70 at `hour`, answered with `answers`; the walk's scenes
    // played, by number.
    std::vector<int> Walk(int hour, std::deque<int> answers) {
        NewGame(70, hour, 10);
        SetCondition(0);
        for (int f : {388, 386, 387, 412}) ev->SetFlg(f, true);
        ev->SetVariable(kMeetings, 5);
        std::vector<int> before;
        for (int k = 1; k <= 7; ++k) before.push_back(Plays(k));
        test::EventResponders player(headless.Backend());
        player.answers = std::move(answers);
        if (!EvTurnStart023()) return {-1};
        std::vector<int> scenes;
        for (int k = 1; k <= 7; ++k)
            if (Plays(k) > before[k - 1]) scenes.push_back(k);
        return scenes;
    }
    static int Plays(int scene) {
        const std::string name = "Scene0" + std::to_string(scene);
        const story::Scene* s = story::FindScene("EvTurnStart023", name);
        return s ? s->plays : -1;
    }
};

// ---- every event, every branch, every record

TEST_F(CocotteTest, EveryEventPlaysItsLinesAndChangesAndEveryRecordIsPlayed) {
    story::ResetPlays();
    for (const Case& c : Cases()) Play(c);
    // The item of the invention: ten more, kept within 99, and its recipe.
    NewGame(40, 22, 10);
    SetItemStock(19, 95);
    {
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart018());
    }
    EXPECT_EQ(ItemStock(19), 99);
    EXPECT_TRUE(IsItemUnlocked(19));
    EXPECT_EQ(GameDay(), 41);
    EXPECT_EQ(GameHour(), 0);
    // The evening walk's three paths.
    EXPECT_EQ(Walk(21, {0, 0}), (std::vector<int>{1, 3, 4, 6}));
    EXPECT_EQ(Walk(21, {0, 1}), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(Walk(21, {1}), (std::vector<int>{2, 7}));
    ExpectAllPlayed(kFile);
}

TEST_F(CocotteTest, TheEveningWalksThreePathsEndAtEightInTheShop) {
    struct Path {
        std::deque<int> answers;
        std::vector<int> scenes;
        int lines;
    };
    const Path paths[] = {
        {{0, 0}, {1, 3, 4, 6}, 79}, {{0, 1}, {1, 3, 5, 7}, 70}, {{1}, {2, 7}, 61}};
    for (const Path& p : paths) {
        SCOPED_TRACE(p.lines);
        EXPECT_EQ(Walk(21, p.answers), p.scenes);
        EXPECT_EQ(Lines(), p.lines);
        EXPECT_EQ(GameDay(), 71);
        EXPECT_EQ(GameHour(), 8);
        EXPECT_EQ(GameFlow->Place, 10);
        EXPECT_TRUE(ev->TestFlg(flag::EveningWalk));
        EXPECT_EQ(transcript->Texts("line")[2], "黑貓魔法店‧店頭");
    }
    // Once played, never again.
    EXPECT_FALSE(EvTurnStart023());
}

TEST_F(CocotteTest, TheEveningWalkWaitsForItsDaysHoursAndMeetings) {
    EXPECT_EQ(Walk(20, {}), std::vector<int>{-1});
    // Its first choice left without an answer: no scene of the walk plays.
    EXPECT_EQ(Walk(21, {test::EventResponders::kNoAnswer}), std::vector<int>{});
    EXPECT_EQ(Walk(22, {1}), (std::vector<int>{2, 7}));
    EXPECT_EQ(GameDay(), 71);
    EXPECT_EQ(GameHour(), 8);
    // Four meetings, or day 95, or a flag of the four missing: nothing.
    NewGame(70, 21, 10);
    for (int f : {388, 386, 387, 412}) ev->SetFlg(f, true);
    ev->SetVariable(kMeetings, 4);
    EXPECT_FALSE(EvTurnStart023());
    ev->SetVariable(kMeetings, 5);
    SetGameDay(95);
    EXPECT_FALSE(EvTurnStart023());
    SetGameDay(60);
    ev->SetFlg(412, false);
    EXPECT_FALSE(EvTurnStart023());
    EXPECT_EQ(Lines(), 0);
}

TEST_F(CocotteTest, AWalkFromASceneNumberThatNamesNoSceneEndsAtOnce) {
    NewGame(70, 23, 10);
    test::EventResponders player(headless.Backend());
    for (int scene : {0, 8, 100, -1}) story::EveningWalk(scene);
    EXPECT_EQ(Lines(), 0);
    EXPECT_EQ(GameHour(), 23);
    // A walk from scene 2 plays 2 and 7.
    story::EveningWalk(2);
    EXPECT_EQ(Lines(), 15 + 3);
}

// ---- conditions

TEST_F(CocotteTest, TheBathAfterAnEndingDrawsItsChanceOnlyWhenTheRestHolds) {
    test::EventResponders player(headless.Backend());
    struct Try {
        std::vector<int> flags;
        int hour, place;
        bool draws;
    };
    const Try tries[] = {
        {{}, 20, 10, false},        // no ending seen
        {{89, 90}, 20, 10, false},  // the heroine's own endings do not count
        {{93}, 19, 10, false},      // the hour
        {{91}, 21, 11, false},      // the place
        {{88}, 21, 10, true},       // then the chance
    };
    for (const Try& t : tries) {
        NewGame(40, t.hour, t.place);
        for (int f : t.flags) ev->SetFlg(f, true);
        ui::Srand(test::SeedFor({-30}));
        const std::uint32_t seeded = ui::RandState();
        EXPECT_FALSE(EvTurnStart027());
        EXPECT_EQ(ui::RandState() != seeded, t.draws) << t.flags.size();
    }
    EXPECT_EQ(Lines(), 0);
}

TEST_F(CocotteTest, TheFirstOwnPotionNeedsAFinishedMixOfItsShelfRows) {
    test::EventResponders player(headless.Backend());
    NewGame(30, 14, 10);
    GameFlow->MixedItem = -1;
    EXPECT_FALSE(EvTurnStart017());
    GameFlow->MixedItem = 0;  // shelf row 4
    EXPECT_FALSE(EvTurnStart017());
    GameFlow->MixedItem = 18;  // shelf row 11
    EXPECT_FALSE(EvTurnStart017());
    GameFlow->MixedItem = 30;
    EXPECT_TRUE(EvTurnStart017());
    EXPECT_FALSE(EvTurnStart017());
}

TEST_F(CocotteTest, TheSweepingAndTheSquareReadTheScheduleEvenUnderTheOverride) {
    test::EventResponders player(headless.Backend());
    for (int variant : {0, 1, 3, 4, 2, 5}) {
        const bool weekday = variant != 2 && variant != 5;
        NewGame(120, 16, 2);
        ev->SetFlg(flag::IntroRivalShopRoom, true);
        ev->m_ScheduleVariant = variant;
        EXPECT_EQ(Forced(EvMove136), weekday) << variant;
        NewGame(120, 16, 3);
        ev->m_ScheduleVariant = variant;
        EXPECT_EQ(Forced(EvMove135), weekday) << variant;
    }
}

// ---- the shop visits of a year's middle

TEST_F(CocotteTest, AVisitAtFourOnEveryDayFrom100To204PlaysTheTalksInOrder) {
    NewGame(100, 16, 2);
    std::map<std::string, int> count;
    std::vector<std::pair<int, std::string>> notable;
    for (int day = 100; day <= 204; ++day) {
        SetGameDay(day);
        SetGameHour(16);
        GameFlow->Place = 2;
        ev->SetFlg(flag::RivalShopVisitedToday, false);
        story::ResetPlays();
        transcript->Clear();
        {
            test::EventResponders player(headless.Backend());
            VisitRivalShop(16);
        }
        const std::vector<std::string> played = Played();
        EXPECT_EQ(GameFlow->Place, 2) << day;
        if (day % 6 == 5) {
            EXPECT_TRUE(played.empty()) << day << " is a rest day";
            EXPECT_FALSE(ev->TestFlg(flag::RivalShopVisitedToday)) << day;
            EXPECT_GT(Lines(), 0) << day << ": the closed sign";
            continue;
        }
        ASSERT_EQ(played.size(), 1u) << day;
        EXPECT_TRUE(ev->TestFlg(flag::RivalShopVisitedToday)) << day;
        ++count[played[0]];
        if (played[0] != "EvMove148" && played[0] != "EvMove147")
            notable.emplace_back(day, played[0]);
        if (played[0] == "EvMove147") {
            EXPECT_GE(day, 180) << "the chat after talk 8";
        }
        if (day == 179) {
            EXPECT_EQ(ev->EventVariable[kMeetings], 66);
        }
        if (day >= 180) {
            EXPECT_EQ(ev->EventVariable[kMeetings], 67) << day;
        }
    }
    const std::vector<std::pair<int, std::string>> want = {
        {100, "EvMove015"}, {102, "EvMove049"}, {103, "EvMove050"}, {104, "EvMove051"},
        {105, "EvMove052"}, {108, "EvMove053"}, {132, "EvMove054"}, {156, "EvMove055"},
        {180, "EvMove056"}, {204, "EvMove016"}};
    EXPECT_EQ(notable, want);
    EXPECT_EQ(count["EvMove148"], 58);
    EXPECT_EQ(count["EvMove147"], 19);
}

bool TakesHerHome() {
    EventServerDbg->SetPlace(10, false);
    return true;
}

TEST_F(CocotteTest, AVisitWhoseEventTookHerElsewhereLeavesHerThere) {
    const auto saved = MoveEvents;
    MoveEvents = {};
    MoveEvents[0] = &TakesHerHome;
    NewGame(102, 16, 2);
    {
        test::EventResponders player(headless.Backend());
        VisitRivalShop(16);
    }
    MoveEvents = saved;
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_TRUE(ev->TestFlg(flag::RivalShopVisitedToday));
}

// ---- the orders of a night spent inside the chocolates

TEST_F(CocotteTest, OrdersDueOnTheNightOfTheChocolatesAreSettledTheNextMorning) {
    auto shop = std::make_unique<ui::Form>();
    shop->Show();
    ShopHooks().shopForm = [&shop] { return shop.get(); };
    NewGame(80, 18, 10);
    UnlockItem(18);
    GameFlow->GameStarted();
    SetItemStock(3, 2);
    SetItemStock(5, 0);
    OrderSlot covered;
    covered.Id = 1;
    covered.Deadline = 80;
    covered.Kind = 0;
    covered.Flag = 684;
    covered.Item = 3;
    covered.Quantity = 2;
    covered.Reward = 700;
    OrderSlot short_ = covered;
    short_.Id = 2;
    short_.Flag = 685;
    short_.Item = 5;
    OrderSlot later = covered;
    later.Id = 3;
    later.Flag = 686;
    later.Deadline = 82;
    Orders = {covered, short_, later, OrderSlot{}};
    SetReputation(10);
    const int money = GameMoney(), reputation = GameReputation();
    {
        test::EventResponders player(headless.Backend());
        player.answers = {0};
        ASSERT_TRUE(GameFlow->TurnStart(true));
    }
    ShopHooks().shopForm = nullptr;
    EXPECT_EQ(GameDay(), 81);
    EXPECT_EQ(GameHour(), 9);
    // The covered one delivered from stock, the other failed; the later one held.
    EXPECT_EQ(GameMoney() - money, 10000 + 700);
    EXPECT_EQ(ItemStock(3), 0);
    EXPECT_EQ(GameReputation() - reputation, -1);
    EXPECT_EQ(Orders[0].Id, 3);
    EXPECT_EQ(Orders[1].Id, 0);
    EXPECT_EQ(GameFlow->LastOrdersDay, 80);
    EXPECT_EQ(GameFlow->LastDayChangeDay, 81);
    // The evening's customers were not caught up.
    for (const std::string& o : transcript->Texts("order"))
        EXPECT_EQ(o.rfind("accepted", 0), std::string::npos) << o;
}

}  // namespace

// ---- a save for the real program

// A game on the morning of day 100, the rival shop introduced and 蕾妮特 met, saved into
// slot 1 as the morning saves it: loaded in the real program, an afternoon trip to
// 微笑魔法店 and its 拜訪商店 meet 可可特 (the slot file stays in the scratch folder for
// that run).
TEST_F(CocotteTest, ASaveOnTheMorningOfDay100LoadsForTheFirstMeeting) {
    const std::string dir = test::ScratchDir("cocotte_meeting_save");
    ui::SetProgramFolder(dir);
    Fresh(100, 8, 10);
    for (int f : {flag::IntroRivalShop, flag::RenetteMet}) ev->SetFlg(f, true);
    ASSERT_TRUE(SaveGame(0));
    Fresh(3, 9, 10);
    ASSERT_TRUE(LoadGame(0));
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
    EXPECT_EQ(GameDay(), 100);
    EXPECT_EQ(GameHour(), 8);
    EXPECT_TRUE(ev->TestFlg(flag::RenetteMet));
    EXPECT_FALSE(ev->TestFlg(flag::IntroRivalShopRoom));
}
