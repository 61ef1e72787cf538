// 芙蘿蕾's fever played headless through the real message window with the transcript:
// the onsets, the bedside visits, the cure and its price, her death or vanishing, the
// visit after the cure with the water spirit stone, the panacea, and the night in the
// forest maze with every node and caption. Every branch of every event plays, and every
// record of their text is played.
#include "story/Fever.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Files.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Savefile.h"
#include "story/Dialogue.h"
#include "story/EventTables.h"
#include "story/Events.h"
#include "story/Flowerbed.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/Scratch.h"
#include "tests/support/StoryFixture.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"
#include "town/Whereabouts.h"

namespace {

using Counts = test::StoryTest::Counts;
constexpr char kFile[] = "Fever.txt";
constexpr int kOnset = 216;  // the fever's first day in the rows below

using test::EventCase;
using test::Span;

// The heroine's visits at the bedside: the onset + offset, at noon in her room, the
// once-flags set before, the lines; one visit more counted, and she ends outside.
EventCase Visit(const char* name, bool (*event)(), int offset, std::vector<int> before, Counts says,
                std::vector<int> sets) {
    before.push_back(flag::FloraeCollapsed);
    return {.name = name,
            .event = event,
            .day = kOnset + offset,
            .hour = 12,
            .place = place::FloraeRoom,
            .flags = std::move(before),
            .speakers = std::move(says),
            .changed = std::move(sets),
            .varsAfter = {{var::BedsideVisitCount, 1}},
            .placeAfter = place::FloraeHouse};
}

// The recipes of the cure are known only from the maze's goal on, even with one in
// stock.
void RecipesUnknown() {
    LockItem(item::CurePotion);
    LockItem(item::Panacea);
}

// The visit with 黑皮 after the cure, from the shop at 09:00 of day 250, eight silent
// visits behind her; `add` and `drop` change the flags of the way there.
EventCase AfterTheCure(std::vector<int> add, std::vector<int> drop) {
    std::vector<int> flags = {flag::FlowerbedFirstVisit, flag::FlowerCrownGiven,
                              flag::FloraeCollapsed, flag::PotionGiven, flag::FloraeBlindVisit};
    for (int f : drop) std::erase(flags, f);
    flags.insert(flags.end(), add.begin(), add.end());
    return {.name = "EvTurnStart005 on the plain way",
            .event = EvTurnStart005,
            .day = 250,
            .hour = 9,
            .place = place::ShopInside,
            .flags = flags,
            .vars = {{var::SilentVisitCount, 8}},
            .speakers = {{"緹菈", 17}, {"黑皮", 11}, {"芙蘿蕾", 10}},
            .voices = Span(248, 279),
            .changed = {flag::ShopClosedToday, flag::FloraeVisitedToday, flag::FloraeSpeaksAgain,
                        flag::StoryDayOff, flag::StoneDidNotAppear},
            .itemsAfter = {{item::WaterSpiritStone, 0}},
            .hours = 2,
            .placeAfter = place::FloraeHouse};
}

// The panacea given at noon in her room on day 250, on `route` (0: none yet, when it
// takes hers).
EventCase Panacea(int route) {
    EventCase c = {.name = "EvMove004",
                   .event = EvMove004,
                   .day = 250,
                   .hour = 12,
                   .place = place::FloraeRoom,
                   .items = {{item::Panacea, 1}},
                   .prepare = RecipesUnknown,
                   .speakers = {{"緹菈", 15}, {"芙蘿蕾", 13}},
                   .voices = Span(287, 313),
                   .changed = {flag::FloraeVisitedToday, flag::FloraeSightRestored},
                   .itemsAfter = {{item::Panacea, 0}},
                   .hours = 1,
                   .placeAfter = place::FloraeHouse};
    if (route)
        c.flags = {route};
    else
        c.changed = {flag::FloraeVisitedToday, flag::RouteFlorae, flag::FloraeSightRestored};
    return c;
}

// Her death: to 09:00 of the next day, in the shop.
EventCase Death(const char* name, bool (*event)(), int offset, std::vector<int> flags, int visits) {
    return {.name = name,
            .event = event,
            .day = kOnset + offset,
            .hour = 9,
            .place = place::ShopInside,
            .flags = std::move(flags),
            .vars = {{var::BedsideVisitCount, visits}},
            .speakers = {{"緹菈", 12}, {"黑皮", 4}, {"芙蘿蕾的母親", 3}, {"芙蘿蕾", 4}, {"", 1}},
            .voices = Span(201, 212),
            .changed = {flag::ShopClosedToday, flag::FloraeDied, flag::FloraeEndPlayed,
                        flag::StoryDayOff},
            .hours = 24};
}

const std::vector<EventCase>& Rows() {
    const Counts plainVisit{{"緹菈", 4}, {"芙蘿蕾", 1}};
    static const std::vector<EventCase> rows = {
        {.name = "EvTurnStart000",
         .event = EvTurnStart000,
         .day = 217,
         .hour = 9,
         .place = place::ShopInside,
         .flags = {flag::FloraeCollapsed},
         .speakers = {{"緹菈", 17}, {"黑皮", 1}, {"芙蘿蕾的母親", 4}, {"芙蘿蕾", 7}, {"", 2}},
         .voices = Span(159, 172),
         .changed = {flag::FloraeVisitedToday, flag::FeverExplained},
         .hours = 1,
         .placeAfter = place::FloraeHouse},
        {.name = "EvTurnStart015",
         .event = EvTurnStart015,
         .day = 235,
         .hour = 9,
         .place = place::ShopInside,
         .marks = {{mark::FeverBegan, 0}},
         .speakers = {{"緹菈", 24}, {"黑皮", 1}, {"芙蘿蕾的母親", 7}, {"芙蘿蕾", 7}},
         .voices = Span(159, 172),
         .changed = {flag::FloraeCollapsed, flag::FeverBeganAtTurnStart},
         .marksAfter = {{mark::FeverBegan, 235}},
         .hours = 1,
         .placeAfter = place::FloraeHouse},
        {.name = "EvTurnStart002",
         .event = EvTurnStart002,
         .day = 230,
         .hour = 14,
         .place = place::ShopInside,
         .flags = {flag::WizardFound},
         .items = {{item::CurePotion, 1}},
         .prepare = RecipesUnknown,
         .speakers = {{"緹菈", 4}, {"黑皮", 3}},
         .voices = Span(194, 200),
         .changed = {flag::CurePotionReady},
         .itemsAfter = {{item::CurePotion, 1}}},
        Death("EvTurnStart003", EvTurnStart003, 24, {flag::FloraeCollapsed}, 3),
        // the maze given up, before the 24th day
        Death("EvTurnStart003 given up", EvTurnStart003, 19,
              {flag::FloraeCollapsed, flag::MazeGivenUp}, 0),
        {.name = "EvTurnStart004",
         .event = EvTurnStart004,
         .day = kOnset + 24,
         .hour = 9,
         .place = place::ShopInside,
         .flags = {flag::FloraeCollapsed},
         .vars = {{var::BedsideVisitCount, 2}},
         .changed = {flag::FloraeDied, flag::FloraeEndPlayed, flag::FloraeVanished}},
        {.name = "EvTurnStart005",
         .event = EvTurnStart005,
         .day = 250,
         .hour = 9,
         .place = place::ShopInside,
         .flags = {flag::FlowerbedFirstVisit, flag::FlowerCrownGiven, flag::FloraeCollapsed,
                   flag::PotionGiven, flag::FloraeBlindVisit},
         .vars = {{var::SilentVisitCount, 8}},
         .speakers = {{"緹菈", 17}, {"黑皮", 13}, {"芙蘿蕾", 10}, {"", 1}},
         .voices = Span(248, 286),
         .changed = {flag::ShopClosedToday, flag::FloraeVisitedToday, flag::FloraeSpeaksAgain,
                     flag::StoryDayOff},
         .itemsAfter = {{item::WaterSpiritStone, 255}},
         .hours = 2,
         .placeAfter = place::FloraeHouse},
        AfterTheCure({}, {flag::FlowerbedFirstVisit}),
        AfterTheCure({}, {flag::FlowerCrownGiven}),
        AfterTheCure({}, {flag::FloraeCollapsed}),
        AfterTheCure({flag::RoutePrince}, {}),
        AfterTheCure({flag::RouteRenette}, {}),
        AfterTheCure({flag::RouteCocotte}, {}),
        {.name = "EvMove002",
         .event = EvMove002,
         .day = 230,
         .hour = 12,
         .place = place::FloraeRoom,
         .flags = {flag::FloraeCollapsed, flag::WizardFound},
         .items = {{item::CurePotion, 1}},
         .answers = {0},
         .prepare = RecipesUnknown,
         .speakers = {{"緹菈", 18}, {"黑皮", 5}, {"芙蘿蕾", 4}},
         .voices = Span(215, 233),
         .changed = {flag::ShopClosedToday, flag::PotionGiven, flag::StoryDayOff},
         .itemsAfter = {{item::CurePotion, 1}},
         .hours = 45,  // two mornings, then an hour
         .placeAfter = place::ShopInside},
        {.name = "EvMove002 not yet",
         .event = EvMove002,
         .day = 230,
         .hour = 12,
         .place = place::FloraeRoom,
         .flags = {flag::FloraeCollapsed, flag::WizardFound},
         .items = {{item::CurePotion, 1}},
         .answers = {1},
         .prepare = RecipesUnknown,
         .speakers = {{"緹菈", 8}, {"芙蘿蕾", 3}},
         .itemsAfter = {{item::CurePotion, 1}},
         .placeAfter = place::FloraeHouse},
        {.name = "EvMove003",
         .event = EvMove003,
         .day = 233,
         .hour = 12,
         .place = place::FloraeRoom,
         .flags = {flag::PotionGiven},
         .speakers = {{"緹菈", 21}, {"黑皮", 7}, {"芙蘿蕾的母親", 8}, {"芙蘿蕾", 9}},
         .voices = Span(234, 247),
         .changed = {flag::FloraeVisitedToday, flag::FloraeBlindVisit, flag::FloraeBlindnessKnown},
         .marksAfter = {{mark::BlindnessDay, 233}},
         .hours = 1,
         .placeAfter = place::ShopInside},
        Panacea(0),
        Panacea(flag::RoutePrince),
        Panacea(flag::RouteRenette),
        Panacea(flag::RouteCocotte),
        {.name = "EvMove018",
         .event = EvMove018,
         .day = 245,
         .hour = 12,
         .place = place::FloraeRoom,
         .flags = {flag::FloraeDied, flag::FloraeVanished},
         .speakers = {{"緹菈", 14}},
         .changed = {flag::EmptyRoomFound},
         .hours = 11,
         .placeAfter = place::FloraeHouse},
        Visit("EvMove023", EvMove023, 1, {}, {{"緹菈", 5}, {"芙蘿蕾", 4}},
              {flag::FloraeVisitedToday, flag::BedsideWindow1}),
        Visit("EvMove024", EvMove024, 5, {flag::BedsideWindow1}, plainVisit,
              {flag::FloraeVisitedToday}),
        Visit("EvMove025", EvMove025, 6, {}, {{"緹菈", 4}, {"芙蘿蕾", 4}},
              {flag::FloraeVisitedToday, flag::BedsideWindow2}),
        Visit("EvMove026", EvMove026, 10, {flag::BedsideWindow2}, plainVisit,
              {flag::FloraeVisitedToday}),
        Visit("EvMove027", EvMove027, 11, {}, {{"緹菈", 5}, {"芙蘿蕾", 5}},
              {flag::FloraeVisitedToday, flag::BedsideWindow3}),
        Visit("EvMove028", EvMove028, 14, {flag::BedsideWindow3}, plainVisit,
              {flag::FloraeVisitedToday}),
        Visit("EvMove029", EvMove029, 15, {}, {{"緹菈", 9}, {"芙蘿蕾", 9}},
              {flag::FloraeVisitedToday, flag::BedsideWindow4}),
        Visit("EvMove030", EvMove030, 17, {flag::BedsideWindow4}, plainVisit,
              {flag::FloraeVisitedToday}),
        Visit("EvMove031", EvMove031, 18, {}, {{"緹菈", 8}, {"芙蘿蕾", 4}},
              {flag::FloraeVisitedToday}),
        Visit("EvMove032", EvMove032, 23, {}, {{"緹菈", 5}, {"芙蘿蕾", 1}, {"芙蘿蕾的母親", 3}},
              {flag::FloraeVisitedToday, flag::BedsideUnconscious}),
    };
    return rows;
}

// ---- the forest maze, as the night's table gives it: where each caption leads (-1
// home), and a dead end's one way back; the lines each node shows.
struct Fork {
    int ways;  // captions; 0 for a dead end
    int next[3];
};
constexpr Fork kGraph[18] = {
    {2, {1, 2}},    {3, {3, 4, 0}},    {3, {4, 5, 0}},   {3, {6, 7, 1}},   {3, {7, 8, 1}},
    {3, {8, 9, 2}}, {0, {3}},          {3, {10, 11, 4}}, {3, {12, 13, 5}}, {0, {5}},
    {0, {7}},       {3, {14, 15, 7}},  {3, {15, 16, 8}}, {0, {8}},         {2, {-1, 11}},
    {2, {-1, 12}},  {3, {18, 17, 12}}, {2, {-1, 16}},
};
constexpr int kNodeLines[18] = {1, 2, 2, 3, 4, 3, 2, 4, 7, 2, 2, 3, 2, 2, 2, 7, 4, 2};
constexpr int kEveningLines = 37, kGoalLines = 72;

// The answers that walk `path` (nodes, then -1 home or 18 the goal).
std::deque<int> Answers(const std::vector<int>& path) {
    std::deque<int> out;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const Fork& f = kGraph[path[i]];
        if (f.ways == 0) {
            EXPECT_EQ(f.next[0], path[i + 1]) << "a dead end leads back by itself";
            continue;
        }
        int pick = -1;
        for (int k = 0; k < f.ways; ++k)
            if (f.next[k] == path[i + 1]) pick = k;
        EXPECT_GE(pick, 0) << path[i] << " -> " << path[i + 1];
        out.push_back(pick);
    }
    return out;
}

class FeverTest : public test::StoryTest {
protected:
    // What every case starts from: the fever begun on the rows' day, the cure's
    // potions and the stone out of stock and their recipes unknown, the controller
    // taking commands.
    void Arrange(const EventCase&) override {
        GameFlow->Ready = 1;
        DayMarks[mark::FeverBegan] = kOnset;
        SetItemStock(item::CurePotion, 0);
        SetItemStock(item::Panacea, 0);
        // A key item: SetItemStock keeps it at 255.
        g_GameState.ItemStates[item::WaterSpiritStone].Stock = 0;
        RecipesUnknown();
    }
    int Hours() const { return GameDay() * 24 + GameHour(); }

    // The evening of the maze: D = 216, five visits, the recipe of 黃泉之魂, 18:00 of
    // day 234 in the shop.
    void MazeEvening() {
        Stage({.day = 234,
               .hour = 18,
               .place = place::ShopInside,
               .flags = {flag::FlowerCrownGiven, flag::FloraeCollapsed, flag::FeverExplained},
               .vars = {{var::BedsideVisitCount, 5}}});
        UnlockItem(item::SoulOfTheUnderworld);
    }
    // One night in the maze along `path`, begun by `event`; checks the lines, the node
    // scenes played, and how the night ended.
    void Night(bool (*event)(), const std::vector<int>& path) {
        SCOPED_TRACE(path.size());
        MazeEvening();
        std::map<std::string, int> before;
        for (const story::Scene& sc : story::Scenes()) before[sc.key] = sc.plays;
        const int start = Hours();
        test::EventResponders player(headless.Backend());
        player.answers = Answers(path);
        ASSERT_TRUE(event());
        EXPECT_TRUE(player.answers.empty());
        int lines = kEveningLines;
        std::map<int, int> visits;
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            lines += kNodeLines[path[i]];
            ++visits[path[i]];
        }
        const bool goal = path.back() == 18;
        lines += goal ? kGoalLines : 0;
        EXPECT_EQ(Lines(), lines);
        for (int n = 0; n < 18; ++n) {
            char key[40];
            std::snprintf(key, sizeof key, "EvForestMaze_Node%02d:main", n);
            const story::Scene* sc = story::FindScene(std::string(key, 19), "main");
            ASSERT_NE(sc, nullptr) << key;
            EXPECT_EQ(sc->plays - before[key], visits[n]) << key;
        }
        EXPECT_EQ(ev->TestFlg(flag::MazeGivenUp), !goal);
        EXPECT_EQ(ev->TestFlg(flag::MazeCompleted), goal);
        EXPECT_EQ(ev->TestFlg(flag::WizardFound), goal);
        EXPECT_EQ(ev->TestFlg(flag::WizardHouseOpen), goal);
        EXPECT_EQ(IsItemUnlocked(item::CurePotion), goal);
        EXPECT_EQ(IsItemUnlocked(item::Panacea), goal);
        EXPECT_EQ(Hours() - start, goal ? 8 : 6);
        EXPECT_EQ(GameFlow->Place, place::ShopInside);
    }
};

// The three ways home, every node and every caption, and the three shortest ways.
const std::vector<int> kHomeFrom15 = {0, 1,  0, 2,  0,  1,  3,  1,  4, 1, 3, 6, 3, 7,  4,  7, 10,
                                      7, 11, 7, 11, 14, 11, 15, 12, 8, 5, 2, 4, 8, 12, 15, -1};
const std::vector<int> kHomeFrom17 = {0, 2, 5, 9, 5, 8, 13, 8, 12, 16, 12, 16, 17, 16, 17, -1};
const std::vector<int> kHomeFrom14 = {0, 1, 3, 7, 11, 14, -1};
const std::vector<int> kShortest[] = {
    {0, 1, 4, 8, 12, 16, 18}, {0, 2, 4, 8, 12, 16, 18}, {0, 2, 5, 8, 12, 16, 18}};

// ---- the tables

TEST_F(FeverTest, TheEventsStandInTheirSlots) {
    const std::pair<int, EventProc> turn[] = {
        {0, EvTurnStart000}, {1, EvTurnStart001}, {2, EvTurnStart002}, {3, EvTurnStart003},
        {4, EvTurnStart004}, {5, EvTurnStart005}, {15, EvTurnStart015}};
    for (auto [slot, proc] : turn) EXPECT_EQ(TurnStartEvents[slot], proc) << slot;
    const std::pair<int, EventProc> move[] = {
        {1, EvMove001},  {2, EvMove002},  {3, EvMove003},  {4, EvMove004},  {18, EvMove018},
        {23, EvMove023}, {24, EvMove024}, {25, EvMove025}, {26, EvMove026}, {27, EvMove027},
        {28, EvMove028}, {29, EvMove029}, {30, EvMove030}, {31, EvMove031}, {32, EvMove032}};
    for (auto [slot, proc] : move) EXPECT_EQ(MoveEvents[slot], proc) << slot;
}

// ---- every event and branch, with every record of the text accounted for

TEST_F(FeverTest, EveryBranchOfEveryEventPlaysAndEveryRecordIsPlayed) {
    for (const EventCase& r : Rows()) {
        Play(r);
        // Played() lists what played since the accounting began: this row's event is
        // among them.
        const std::vector<std::string> played = Played();
        const std::string event = std::string(r.name).substr(0, std::string(r.name).find(' '));
        EXPECT_NE(std::find(played.begin(), played.end(), event), played.end()) << r.name;
    }
    Night(EvTurnStart001, kHomeFrom15);
    Night(EvTurnStart001, kHomeFrom17);
    Night(EvMove001, kHomeFrom14);
    for (const std::vector<int>& way : kShortest) Night(EvTurnStart001, way);
    ExpectAllPlayed(kFile);
}

TEST_F(FeverTest, AWayThroughTheMazeAsTheTurnStartOffersIt) {
    // D = 216, 390, 391 and 392 set, five visits, the recipe known: the 18:00 turn of
    // day 234 in the shop plays the night; left, right, right, left, right, left.
    MazeEvening();
    ev->SetFlg(flag::SummoningPictureSeen, false);
    story::ResetPlays();
    test::EventResponders player(headless.Backend());
    player.answers = Answers(kShortest[0]);
    ASSERT_TRUE(RunTurnStartEvents());
    EXPECT_EQ(Played().front(), "EvTurnStart001");
    EXPECT_EQ(Lines(), 129);
    EXPECT_EQ(Voices(), Span(173, 193));
    EXPECT_EQ(transcript->Texts("voicepack"), std::vector<std::string>{"evfm06"});
    // The evening 37, the six nodes 20, the goal 72.
    EXPECT_EQ(Speakers(), (Counts{{"緹菈", 68},
                                  {"黑皮", 21},
                                  {"緹菈的母親", 10},
                                  {"大魔法師", 25},
                                  {"？？？？", 1},
                                  {"", 4}}));
    EXPECT_TRUE(ev->TestFlg(flag::SummoningPictureSeen));
    EXPECT_EQ(GameDay(), 235);
    EXPECT_EQ(GameHour(), 2);
    EXPECT_EQ(GameFlow->Place, place::ShopInside);
    for (int f : {flag::WizardFound, flag::MazeCompleted, flag::WizardHouseOpen,
                  flag::ShopClosedToday, flag::StoryDayOff})
        EXPECT_TRUE(ev->TestFlg(f)) << f;
    EXPECT_FALSE(ev->TestFlg(flag::MazeGivenUp));
    EXPECT_TRUE(IsItemUnlocked(item::CurePotion));
    EXPECT_TRUE(IsItemUnlocked(item::Panacea));
    // Reached once, never offered again.
    SetGameDay(236);
    SetGameHour(19);
    EXPECT_FALSE(EvTurnStart001());
    GameFlow->Place = place::ShopInside;
    EXPECT_FALSE(EvMove001());
}

TEST_F(FeverTest, TheMazeIsOfferedOnlyOnItsEvenings) {
    struct Case {
        const char* what;
        std::function<void()> change;
        bool offered;
    };
    const Case cases[] = {
        {"as it stands", [] {}, true},
        {"a mix running", [] { g_GameState.MixJob.HoursLeft = 3; }, false},
        {"four visits", [this] { ev->EventVariable[var::BedsideVisitCount] = 4; }, false},
        {"the recipe unknown", [] { LockItem(item::SoulOfTheUnderworld); }, false},
        {"at 23:00", [] { SetGameHour(23); }, false},
        {"on D + 17", [] { SetGameDay(kOnset + 17); }, false},
        {"on D + 38", [] { SetGameDay(kOnset + 38); }, false},
        {"on D + 37 at 22:00",
         [] {
             SetGameDay(kOnset + 37);
             SetGameHour(22);
         },
         true},
        {"without the flowerbed's friendship",
         [this] { ev->SetFlg(flag::FlowerCrownGiven, false); }, false},
        {"芙蘿蕾 gone", [this] { ev->SetFlg(flag::FloraeDied, true); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MazeEvening();
        c.change();
        // Only the conditions are asked: a false chain changes nothing.
        ev->SetFlg(flag::MazeCompleted, true);
        EXPECT_FALSE(EvTurnStart001());
        ev->SetFlg(flag::MazeCompleted, false);
        const int before = Hours();
        story::ResetPlays();
        const bool ran = [&] {
            // When it runs, the shortest way home: give up at node 14.
            test::EventResponders player(headless.Backend());
            player.answers = Answers(kHomeFrom14);
            return EvTurnStart001();
        }();
        EXPECT_EQ(ran, c.offered);
        if (!ran) {
            EXPECT_EQ(Lines(), 0);
            EXPECT_EQ(Hours(), before);
        }
        g_GameState.MixJob = {};
    }
}

TEST_F(FeverTest, TheMoveTableStartsTheSameNightAtTheShopWithoutItsVoicePack) {
    MazeEvening();
    GameFlow->Place = place::MixingRoom;
    EXPECT_FALSE(EvMove001());  // only in the shop itself
    GameFlow->Place = place::ShopInside;
    g_GameState.MixJob.HoursLeft = 3;  // a mix does not keep the arrival's night away
    test::EventResponders player(headless.Backend());
    player.answers = Answers(kHomeFrom14);
    ASSERT_TRUE(EvMove001());
    EXPECT_TRUE(transcript->Texts("voicepack").empty());
    EXPECT_TRUE(ev->TestFlg(flag::MazeGivenUp));
    g_GameState.MixJob = {};
}

TEST_F(FeverTest, ANodeOutsideTheMazeLeavesTheForestAsGivingUpDoes) {
    for (int node : {-1, -5, 19, 42}) {
        SCOPED_TRACE(node);
        MazeEvening();
        const int start = Hours();
        ForestMazeFrom(node);
        EXPECT_EQ(Lines(), 0);
        EXPECT_TRUE(ev->TestFlg(flag::MazeGivenUp));
        EXPECT_FALSE(ev->TestFlg(flag::MazeCompleted));
        EXPECT_EQ(Hours() - start, 5);
        EXPECT_EQ(GameFlow->Place, place::ShopInside);
    }
}

TEST_F(FeverTest, AProgramClosingInTheForestLeavesIt) {
    // Closed while a fork waits: every choice then answers nothing, and the loop
    // leaves instead of walking on by itself.
    MazeEvening();
    headless.App().Terminate();
    ForestMazeFrom(0);
    EXPECT_TRUE(ev->TestFlg(flag::MazeGivenUp));
    EXPECT_EQ(GameFlow->Place, place::ShopInside);
}

TEST_F(FeverTest, GivingUpLetsHerDieTheNextMorning) {
    test::EventResponders player(headless.Backend());
    MazeEvening();
    player.answers = Answers(kHomeFrom14);
    ASSERT_TRUE(EvTurnStart001());
    // 18:00 + 1 + 5: midnight; the 09:00 turn of day 235 plays her death.
    EXPECT_EQ(GameDay(), 235);
    EXPECT_EQ(GameHour(), 0);
    SetGameHour(9);
    story::ResetPlays();
    ASSERT_TRUE(RunTurnStartEvents());
    EXPECT_EQ(Played(), std::vector<std::string>{"EvTurnStart003"});
    EXPECT_TRUE(ev->TestFlg(flag::FloraeDied));
    // The maze is not offered again after her death.
    SetGameHour(19);
    EXPECT_FALSE(EvTurnStart001());
}

// ---- the bedside, from the flowerbed's onset to her death

TEST_F(FeverTest, TheBedsideFromTheCollapseToHerDeath) {
    test::EventResponders player(headless.Backend());
    Stage(
        {.day = kOnset, .hour = 10, .place = place::FloraeHouse, .marks = {{mark::FeverBegan, 0}}});
    ev->EventVariable[var::FlowerGiftCount] = 1;
    ASSERT_TRUE(EvFlowerbed004());
    ASSERT_EQ(DayMarks[mark::FeverBegan], kOnset);
    ASSERT_FALSE(ev->TestFlg(flag::FlowerCrownGiven));

    // 09:00 of 217 in the shop: the fever is named at her bedside.
    ev->DayChange();
    SetGameDay(kOnset + 1);
    SetGameHour(9);
    GameFlow->Place = place::ShopInside;
    story::ResetPlays();
    transcript->Clear();
    ASSERT_TRUE(RunTurnStartEvents());
    EXPECT_EQ(Played(), std::vector<std::string>{"EvTurnStart000"});
    EXPECT_EQ(Lines(), 31);
    EXPECT_TRUE(ev->TestFlg(flag::FloraeVisitedToday));
    EXPECT_EQ(GameHour(), 10);
    EXPECT_EQ(GameFlow->Place, place::FloraeHouse);
    // So that day's knock is refused.
    story::ResetPlays();
    VisitFlowerHouse(10);
    EXPECT_TRUE(Played().empty());

    // A knock at 12:00 on each of the days 218..239.
    const std::vector<std::string> want = {
        "EvMove023", "EvMove024", "EvMove024", "EvMove024", "EvMove025", "EvMove026",
        "EvMove026", "EvMove026", "EvMove026", "EvMove027", "EvMove028", "EvMove028",
        "EvMove028", "EvMove029", "EvMove030", "EvMove030", "EvMove031", "EvMove031",
        "EvMove031", "EvMove032", "",          ""};
    int visitLines = 0;
    for (int day = kOnset + 2; day <= kOnset + 23; ++day) {
        ev->DayChange();
        SetGameDay(day);
        SetGameHour(12);
        GameFlow->Place = place::FloraeHouse;
        ClearNpcMet();
        story::ResetPlays();
        transcript->Clear();
        VisitFlowerHouse(12);
        const std::vector<std::string> p = Played();
        EXPECT_EQ(p.empty() ? std::string() : p.front(), want[day - kOnset - 2]) << day;
        if (!p.empty()) visitLines += Lines();
        EXPECT_EQ(GameFlow->Place, place::FloraeHouse);
        EXPECT_EQ(GameHour(), 12);
    }
    EXPECT_EQ(ev->EventVariable[var::BedsideVisitCount], 20);
    EXPECT_EQ(visitLines, 150);
    for (int f : {flag::BedsideWindow1, flag::BedsideWindow2, flag::BedsideWindow3,
                  flag::BedsideWindow4, flag::BedsideUnconscious})
        EXPECT_TRUE(ev->TestFlg(f)) << f;

    // 09:00 of 240: she dies; the clock runs on to 09:00 of 241.
    ev->DayChange();
    SetGameDay(kOnset + 24);
    SetGameHour(9);
    GameFlow->Place = place::ShopInside;
    story::ResetPlays();
    ASSERT_TRUE(RunTurnStartEvents());
    EXPECT_EQ(Played(), std::vector<std::string>{"EvTurnStart003"});
    EXPECT_EQ(GameDay(), kOnset + 25);
    EXPECT_EQ(GameHour(), 9);
}

TEST_F(FeverTest, TheOnsetAtATurnStartKeepsTheMorningVisitAway) {
    struct Case {
        int day;
        bool plays;
    };
    // Day 239 is a rest day; 235 is not.
    for (const Case& c : {Case{234, false}, Case{235, true}, Case{239, false}, Case{240, true}}) {
        SCOPED_TRACE(c.day);
        Stage({.day = c.day,
               .hour = 9,
               .place = place::ShopInside,
               .marks = {{mark::FeverBegan, 0}}});
        test::EventResponders player(headless.Backend());
        EXPECT_EQ(EvTurnStart015(), c.plays);
        if (!c.plays) continue;
        EXPECT_EQ(DayMarks[mark::FeverBegan], c.day);
        // The next morning: no second visit of slot 0.
        ev->DayChange();
        SetGameDay(c.day + 1);
        SetGameHour(9);
        EXPECT_FALSE(EvTurnStart000());
        EXPECT_FALSE(EvTurnStart015());
    }
}

TEST_F(FeverTest, TheSilentEndAndTheEmptyRoom) {
    test::EventResponders player(headless.Backend());
    // D + 24, two visits: she vanishes unseen; a knock finds the room.
    Stage({.day = kOnset + 24,
           .hour = 9,
           .place = place::ShopInside,
           .flags = {flag::FloraeCollapsed},
           .vars = {{var::BedsideVisitCount, 2}}});
    ASSERT_TRUE(RunTurnStartEvents());
    EXPECT_EQ(Lines(), 0);
    EXPECT_TRUE(ev->TestFlg(flag::FloraeVanished));
    ev->DayChange();
    SetGameHour(20);
    GameFlow->Place = place::FloraeHouse;
    story::ResetPlays();
    VisitFlowerHouse(20);
    EXPECT_EQ(Played(), std::vector<std::string>{"EvMove018"});
    EXPECT_EQ(Numbers("face"), (std::vector<int>{1, 9, 6, 7}));
    EXPECT_EQ(GameHour(), 23);
    EXPECT_EQ(GameFlow->Place, place::FloraeHouse);
    // Entered at 23:00 the clock does not move; the room stays empty for good.
    ev->SetFlg(flag::EmptyRoomFound, false);
    GameFlow->Place = place::FloraeRoom;
    ASSERT_TRUE(EvMove018());
    EXPECT_EQ(GameHour(), 23);
    GameFlow->Place = place::FloraeRoom;
    EXPECT_FALSE(EvMove018());
}

TEST_F(FeverTest, ThePotionOnTheLastButOneDayCarriesTheGameToItsEnd) {
    // Two mornings from day 286 pass the last day: 09:00 of day 288, where the main
    // loop's ending is due; the day-indexed records keep nothing past day 287.
    Stage({.day = 286,
           .hour = 12,
           .place = place::FloraeRoom,
           .flags = {flag::FloraeCollapsed, flag::WizardFound},
           .marks = {{mark::FeverBegan, 270}},
           .items = {{item::CurePotion, 1}},
           .prepare = RecipesUnknown});
    test::EventResponders player(headless.Backend());
    player.answers = {0};
    ASSERT_TRUE(EvMove002());
    EXPECT_EQ(GameDay(), 288);
    EXPECT_EQ(GameHour(), 9);
    EXPECT_FALSE(IsGameDay(GameDay()));
    EXPECT_EQ(DailyVisitors(288), 0);
}

TEST_F(FeverTest, ThePotionIsOfferedOnlyInItsWindowAndTheStoneKeepsItOpen) {
    test::EventResponders player(headless.Backend());
    struct Case {
        int day;
        bool offered;
    };
    for (const Case& c : {Case{kOnset, false}, Case{kOnset + 1, true}, Case{kOnset + 23, true},
                          Case{kOnset + 24, false}}) {
        SCOPED_TRACE(c.day);
        Stage({.day = c.day,
               .hour = 12,
               .place = place::FloraeRoom,
               .flags = {flag::FloraeCollapsed, flag::WizardFound},
               .items = {{item::CurePotion, 1}},
               .prepare = RecipesUnknown});
        player.answers = {1};
        EXPECT_EQ(EvMove002(), c.offered);
        if (!c.offered) continue;
        // The search for the stone leaves the offer open.
        GameFlow->Place = place::FloraeRoom;
        player.answers = {1};
        EXPECT_TRUE(EvMove002());
        EXPECT_EQ(GameFlow->Place, place::FloraeHouse);
    }
}

// ---- from the cure to her route, through the knocks at her door

TEST_F(FeverTest, FromTheCureToHerRouteTheKnocksAndTheMorningsCarryTheArc) {
    test::EventResponders player(headless.Backend());
    // D + 19 after the night in the forest: her first flowers, the talks and the
    // friendship at the flowerbed, seven bedside visits, the great wizard found, one
    // potion mixed.
    Stage({.day = kOnset + 19,
           .hour = 12,
           .place = place::FloraeHouse,
           .flags = {flag::FirstFlowersGiven, flag::FlowerbedFirstVisit, flag::FlowerCrownGiven,
                     flag::FloraeCollapsed, flag::FeverExplained, flag::WizardFound,
                     flag::MazeCompleted, flag::FlowerCareTalk, flag::FlowerSeasonsTalk,
                     flag::FlowerWishTalk, flag::FlowerMoodsTalk},
           .vars = {{var::BedsideVisitCount, 7}},
           .items = {{item::CurePotion, 1}}});
    UnlockItem(item::CurePotion);
    UnlockItem(item::Panacea);
    auto knock = [&](int day, int hour) {
        ev->DayChange();
        SetGameDay(day);
        SetGameHour(hour);
        GameFlow->Place = place::FloraeHouse;
        ClearNpcMet();
        story::ResetPlays();
        VisitFlowerHouse(hour);
        const std::vector<std::string> p = Played();
        return p.empty() ? std::string() : p.front();
    };
    auto morning = [&](int day) {
        ev->DayChange();
        SetGameDay(day);
        SetGameHour(9);
        GameFlow->Place = place::ShopInside;
        story::ResetPlays();
        RunTurnStartEvents();
        const std::vector<std::string> p = Played();
        return p.empty() ? std::string() : p.front();
    };

    // The potion: two mornings pass, she wakes in the shop on D + 21.
    player.answers = {0};
    story::ResetPlays();
    VisitFlowerHouse(12);
    EXPECT_EQ(Played().front(), "EvMove002");
    EXPECT_TRUE(ev->TestFlg(flag::PotionGiven));
    EXPECT_EQ(GameDay(), kOnset + 21);
    // No death on D + 24: she is cured.
    EXPECT_EQ(morning(kOnset + 24), "");
    EXPECT_FALSE(ev->TestFlg(flag::FloraeDied));

    // The first knock after the cure: her blindness.
    EXPECT_EQ(knock(kOnset + 24, 12), "EvMove003");
    EXPECT_TRUE(ev->TestFlg(flag::FloraeBlindVisit));
    // Eight silent visits, one a day; a second knock the same day is refused.
    const char* silent[] = {"EvMove035", "EvMove036", "EvMove037", "EvMove038",
                            "EvMove039", "EvMove040", "EvMove041", "EvMove041"};
    int day = kOnset + 25;
    for (const char* want : silent) {
        SCOPED_TRACE(day);
        EXPECT_EQ(knock(day, 12), want);
        story::ResetPlays();
        VisitFlowerHouse(GameHour());
        EXPECT_TRUE(Played().empty());
        ++day;
    }
    EXPECT_EQ(ev->EventVariable[var::SilentVisitCount], 8);
    // The next morning she speaks again and the stone comes forth.
    EXPECT_EQ(morning(day), "EvTurnStart005");
    EXPECT_TRUE(ev->TestFlg(flag::FloraeSpeaksAgain));
    EXPECT_GE(ItemStock(item::WaterSpiritStone), 1);
    // A cheerful visit, then the knock with the panacea opens her route.
    EXPECT_EQ(knock(++day, 12), "EvMove042");
    SetItemStock(item::Panacea, 1);
    EXPECT_EQ(knock(++day, 12), "EvMove004");
    EXPECT_TRUE(ev->TestFlg(flag::FloraeSightRestored));
    EXPECT_TRUE(ev->TestFlg(flag::RouteFlorae));
    EXPECT_EQ(ItemStock(item::Panacea), 0);
    // Her route brings her back to her flowerbed at 16:00 on a working day: her thanks.
    ev->DayChange();
    SetGameDay(++day % 6 == 5 ? ++day : day);
    SetGameHour(16);
    GameFlow->Place = place::FloraeHouse;
    ClearNpcMet();
    story::ResetPlays();
    VisitFlowerbed(16);
    EXPECT_EQ(Played(), std::vector<std::string>{"EvFlowerbed012"});
    EXPECT_TRUE(ev->TestFlg(flag::FloraeThanks));
    EXPECT_LT(GameDay(), 287);
}

// ---- the maze in the real program

TEST_F(FeverTest, ASaveOnTheMazesDayLoadsWithItsState) {
    // Slot 2 on the morning of day 234 with the maze's state, as the program saves on
    // waking (a loaded game always wakes upstairs): the real program's next turns up
    // to 18:00 (tests/scripts/forest_maze.txt) play the evening and the first fork.
    const std::string dir = test::ScratchDir("fever_maze_save");
    MazeEvening();
    SetGameHour(8);
    ev->SetFlg(flag::RenetteMet, true);  // met long before, as in any game this late
    ui::SetProgramFolder(dir);
    ASSERT_TRUE(SaveGame(2));
    ev->NewGameReset();
    SetGameDay(0);
    ASSERT_TRUE(LoadGame(2));
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
    EXPECT_EQ(GameDay(), 234);
    EXPECT_EQ(GameHour(), 8);
    EXPECT_EQ(DayMarks[mark::FeverBegan], kOnset);
    EXPECT_EQ(ev->EventVariable[var::BedsideVisitCount], 5);
    for (int f : {flag::FlowerCrownGiven, flag::FloraeCollapsed, flag::FeverExplained})
        EXPECT_TRUE(ev->TestFlg(f)) << f;
    EXPECT_TRUE(IsItemUnlocked(item::SoulOfTheUnderworld));
    SetGameHour(18);
    GameFlow->Place = place::ShopInside;
    test::EventResponders player(headless.Backend());
    player.answers = Answers(kHomeFrom14);
    ASSERT_TRUE(RunTurnStartEvents());
    EXPECT_EQ(Played().front(), "EvTurnStart001");
}

}  // namespace
