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
constexpr int kCurePotion = 62, kPanacea = 44, kStone = 98, kSoulOfTheUnderworld = 54;

// The state an event is played in.
struct Given {
    int day = 230, hour = 12, place = 12;
    std::vector<int> flags{};
    int visits = 0;      // event variable 1
    int silent = 0;      // event variable 2
    int onset = kOnset;  // day mark 0; -1 none
    std::vector<std::pair<int, int>> items{};
    std::deque<int> answers{};
};
// What it leaves: lines per speaker ("" narration), the voice numbers a..b in order
// (0 none), the flags changed (pictures seen aside), items, hours, the place, and day
// mark 1.
struct Expect {
    Counts speakers{};
    int firstVoice = 0, lastVoice = 0;
    std::vector<int> flags{};
    std::vector<std::pair<int, int>> items{};
    int hours = 0;
    int place = 1;
    int visitsAdded = 0;
    int markOne = 0;
};
struct Row {
    const char* name;
    bool (*event)();
    Given s;
    Expect e;
};

// The heroine's visits at the bedside: s + offset, the once-flags set before, the lines.
Row Visit(const char* name, bool (*event)(), int offset, std::vector<int> before, Counts says,
          std::vector<int> sets) {
    Given s{.day = kOnset + offset, .flags = std::move(before)};
    s.flags.push_back(flag::FloraeCollapsed);
    return {name, event, s,
            Expect{.speakers = std::move(says), .flags = std::move(sets), .visitsAdded = 1}};
}

const std::vector<Row>& Rows() {
    const Counts plainVisit{{"緹菈", 4}, {"芙蘿蕾", 1}};
    const Counts onThePlainWay{{"緹菈", 17}, {"黑皮", 11}, {"芙蘿蕾", 10}};
    const Expect plain{.speakers = onThePlainWay,
                       .firstVoice = 248,
                       .lastVoice = 279,
                       .flags = {164, 167, 406, 459, 471},
                       .items = {{kStone, 0}},
                       .hours = 2};
    const Given afterTheCure{
        .day = 250, .hour = 9, .place = 10, .flags = {388, 390, 391, 396, 400}, .silent = 8};
    auto with = [](Given s, std::vector<int> flags, std::vector<int> drop = {}) {
        for (int f : drop) std::erase(s.flags, f);
        s.flags.insert(s.flags.end(), flags.begin(), flags.end());
        return s;
    };
    const Counts panaceaSays{{"緹菈", 15}, {"芙蘿蕾", 13}};
    const Given panacea{.day = 250, .items = {{kPanacea, 1}}};
    const Expect panaceaNoRoute{.speakers = panaceaSays,
                                .firstVoice = 287,
                                .lastVoice = 313,
                                .flags = {167, 407},
                                .items = {{kPanacea, 0}},
                                .hours = 1};
    // Her death: to 09:00 of the next day, in the shop.
    const Expect death{
        .speakers = {{"緹菈", 12}, {"黑皮", 4}, {"芙蘿蕾的母親", 3}, {"芙蘿蕾", 4}, {"", 1}},
        .firstVoice = 201,
        .lastVoice = 212,
        .flags = {164, 395, 398, 459},
        .hours = 24,
        .place = 10};
    static const std::vector<Row> rows = {
        {"EvTurnStart000", EvTurnStart000,
         Given{.day = 217, .hour = 9, .place = 10, .flags = {391}},
         Expect{
             .speakers = {{"緹菈", 17}, {"黑皮", 1}, {"芙蘿蕾的母親", 4}, {"芙蘿蕾", 7}, {"", 2}},
             .firstVoice = 159,
             .lastVoice = 172,
             .flags = {167, 392},
             .hours = 1}},
        {"EvTurnStart015", EvTurnStart015, Given{.day = 235, .hour = 9, .place = 10, .onset = -1},
         Expect{.speakers = {{"緹菈", 24}, {"黑皮", 1}, {"芙蘿蕾的母親", 7}, {"芙蘿蕾", 7}},
                .firstVoice = 159,
                .lastVoice = 172,
                .flags = {391, 435},
                .hours = 1}},
        {"EvTurnStart002", EvTurnStart002,
         Given{.hour = 14, .place = 10, .flags = {393}, .items = {{kCurePotion, 1}}},
         Expect{.speakers = {{"緹菈", 4}, {"黑皮", 3}},
                .firstVoice = 194,
                .lastVoice = 200,
                .flags = {552},
                .items = {{kCurePotion, 1}},
                .place = 10}},
        {"EvTurnStart003", EvTurnStart003,
         Given{.day = kOnset + 24, .hour = 9, .place = 10, .flags = {391}, .visits = 3}, death},
        {"EvTurnStart003", EvTurnStart003,  // the maze given up, before the 24th day
         Given{.day = kOnset + 19, .hour = 9, .place = 10, .flags = {391, 394}}, death},
        {"EvTurnStart004", EvTurnStart004,
         Given{.day = kOnset + 24, .hour = 9, .place = 10, .flags = {391}, .visits = 2},
         Expect{.flags = {395, 398, 434}, .place = 10}},
        {"EvTurnStart005", EvTurnStart005, afterTheCure,
         Expect{.speakers = {{"緹菈", 17}, {"黑皮", 13}, {"芙蘿蕾", 10}, {"", 1}},
                .firstVoice = 248,
                .lastVoice = 286,
                .flags = {164, 167, 406, 459},
                .items = {{kStone, 255}},
                .hours = 2}},
        {"EvTurnStart005", EvTurnStart005, with(afterTheCure, {}, {388}), plain},
        {"EvTurnStart005", EvTurnStart005, with(afterTheCure, {}, {390}), plain},
        {"EvTurnStart005", EvTurnStart005, with(afterTheCure, {}, {391}), plain},
        {"EvTurnStart005", EvTurnStart005, with(afterTheCure, {402}), plain},
        {"EvTurnStart005", EvTurnStart005, with(afterTheCure, {404}), plain},
        {"EvTurnStart005", EvTurnStart005, with(afterTheCure, {405}), plain},
        {"EvMove002", EvMove002,
         Given{.flags = {391, 393}, .items = {{kCurePotion, 1}}, .answers = {0}},
         Expect{.speakers = {{"緹菈", 18}, {"黑皮", 5}, {"芙蘿蕾", 4}},
                .firstVoice = 215,
                .lastVoice = 233,
                .flags = {164, 396, 459},
                .items = {{kCurePotion, 1}},
                .hours = 45,  // two mornings, then an hour
                .place = 10}},
        {"EvMove002", EvMove002,
         Given{.flags = {391, 393}, .items = {{kCurePotion, 1}}, .answers = {1}},
         Expect{.speakers = {{"緹菈", 8}, {"芙蘿蕾", 3}}, .items = {{kCurePotion, 1}}}},
        {"EvMove003", EvMove003, Given{.day = 233, .flags = {396}},
         Expect{.speakers = {{"緹菈", 21}, {"黑皮", 7}, {"芙蘿蕾的母親", 8}, {"芙蘿蕾", 9}},
                .firstVoice = 234,
                .lastVoice = 247,
                .flags = {167, 400, 401},
                .hours = 1,
                .place = 10,
                .markOne = 233}},
        {"EvMove004", EvMove004, panacea,
         Expect{.speakers = panaceaSays,
                .firstVoice = 287,
                .lastVoice = 313,
                .flags = {167, 403, 407},
                .items = {{kPanacea, 0}},
                .hours = 1}},
        {"EvMove004", EvMove004, with(panacea, {402}), panaceaNoRoute},
        {"EvMove004", EvMove004, with(panacea, {404}), panaceaNoRoute},
        {"EvMove004", EvMove004, with(panacea, {405}), panaceaNoRoute},
        {"EvMove018", EvMove018, Given{.day = 245, .flags = {395, 434}},
         Expect{.speakers = {{"緹菈", 14}}, .flags = {436}, .hours = 11}},
        Visit("EvMove023", EvMove023, 1, {}, {{"緹菈", 5}, {"芙蘿蕾", 4}}, {167, 446}),
        Visit("EvMove024", EvMove024, 5, {446}, plainVisit, {167}),
        Visit("EvMove025", EvMove025, 6, {}, {{"緹菈", 4}, {"芙蘿蕾", 4}}, {167, 448}),
        Visit("EvMove026", EvMove026, 10, {448}, plainVisit, {167}),
        Visit("EvMove027", EvMove027, 11, {}, {{"緹菈", 5}, {"芙蘿蕾", 5}}, {167, 450}),
        Visit("EvMove028", EvMove028, 14, {450}, plainVisit, {167}),
        Visit("EvMove029", EvMove029, 15, {}, {{"緹菈", 9}, {"芙蘿蕾", 9}}, {167, 452}),
        Visit("EvMove030", EvMove030, 17, {452}, plainVisit, {167}),
        Visit("EvMove031", EvMove031, 18, {}, {{"緹菈", 8}, {"芙蘿蕾", 4}}, {167}),
        Visit("EvMove032", EvMove032, 23, {}, {{"緹菈", 5}, {"芙蘿蕾", 1}, {"芙蘿蕾的母親", 3}},
              {167, 455}),
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
    // A new game in the state `s`; the plays are not reset, so one test can account
    // for the records of many events.
    void Start(const Given& s) {
        ev->NewGameReset();
        ev->ConditionOverride = 0;
        SetGameDay(s.day);
        SetGameHour(s.hour);
        GameFlow->Place = s.place;
        GameFlow->Ready = 1;
        for (int f : s.flags) ev->SetFlg(f, true);
        ev->EventVariable[var::BedsideVisitCount] = s.visits;
        ev->EventVariable[var::SilentVisitCount] = s.silent;
        DayMarks = {};
        if (s.onset >= 0) DayMarks[mark::FeverBegan] = s.onset;
        SetItemStock(kCurePotion, 0);
        SetItemStock(kPanacea, 0);
        g_GameState.ItemStates[kStone].Stock = 0;  // a key item: SetItemStock keeps it at 255
        for (auto [item, n] : s.items) SetItemStock(item, n);
        // Known only from the maze's goal on.
        LockItem(kCurePotion);
        LockItem(kPanacea);
        ClearNpcMet();
        transcript->Clear();
    }
    static std::vector<int> Range(int a, int b) {
        std::vector<int> out;
        for (int v = a; a && v <= b; ++v) out.push_back(v);
        return out;
    }
    int Hours() const { return GameDay() * 24 + GameHour(); }
    std::vector<bool> FlagsNow() {
        std::vector<bool> out(kEventFlagCount);
        for (int f = 1; f < kEventFlagCount; ++f) out[f] = ev->TestFlg(f);
        return out;
    }
    // The flags changed since `before`, pictures seen and endings seen aside.
    std::vector<int> Changed(const std::vector<bool>& before) {
        std::vector<int> out;
        for (int f = 1; f < kEventFlagCount; ++f) {
            if (f >= 32 && f < 96) continue;
            if (ev->TestFlg(f) != before[f]) out.push_back(f);
        }
        return out;
    }
    // Plays one row and checks what it leaves.
    void Play(const Row& r) {
        SCOPED_TRACE(r.name);
        Start(r.s);
        const auto before = FlagsNow();
        const int start = Hours();
        const int visits = ev->EventVariable[var::BedsideVisitCount];
        test::EventResponders player(headless.Backend());
        player.answers = r.s.answers;
        ASSERT_TRUE(r.event());
        EXPECT_EQ(Speakers(), r.e.speakers);
        int lines = 0;
        for (const auto& [who, n] : r.e.speakers) lines += n;
        EXPECT_EQ(Lines(), lines);
        EXPECT_EQ(player.linesAcknowledged, lines);
        EXPECT_EQ(player.choicesAnswered, static_cast<int>(r.s.answers.size()));
        EXPECT_EQ(Voices(), Range(r.e.firstVoice, r.e.lastVoice));
        EXPECT_EQ(Changed(before), r.e.flags);
        for (auto [item, n] : r.e.items) EXPECT_EQ(ItemStock(item), n) << "item " << item;
        EXPECT_EQ(Hours() - start, r.e.hours);
        EXPECT_EQ(GameFlow->Place, r.e.place);
        EXPECT_EQ(ev->EventVariable[var::BedsideVisitCount], visits + r.e.visitsAdded);
        EXPECT_EQ(DayMarks[1], r.e.markOne);
        EXPECT_EQ(ev->ConditionOverride, 0);
    }

    // The evening of the maze: D = 216, five visits, the recipe of 黃泉之魂, 18:00 of
    // day 234 in the shop.
    void MazeEvening() {
        Start(Given{.day = 234, .hour = 18, .place = 10, .flags = {390, 391, 392}, .visits = 5});
        UnlockItem(kSoulOfTheUnderworld);
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
        EXPECT_EQ(IsItemUnlocked(kCurePotion), goal);
        EXPECT_EQ(IsItemUnlocked(kPanacea), goal);
        EXPECT_EQ(Hours() - start, goal ? 8 : 6);
        EXPECT_EQ(GameFlow->Place, 10);
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
    for (const Row& r : Rows()) {
        Play(r);
        // Played() lists what played since the accounting began: this row's event is
        // among them.
        const std::vector<std::string> played = Played();
        EXPECT_NE(std::find(played.begin(), played.end(), r.name), played.end()) << r.name;
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
    ev->SetFlg(37, false);
    story::ResetPlays();
    test::EventResponders player(headless.Backend());
    player.answers = Answers(kShortest[0]);
    ASSERT_TRUE(RunTurnStartEvents());
    EXPECT_EQ(Played().front(), "EvTurnStart001");
    EXPECT_EQ(Lines(), 129);
    EXPECT_EQ(Voices(), Range(173, 193));
    EXPECT_EQ(transcript->Texts("voicepack"), std::vector<std::string>{"evfm06"});
    // The evening 37, the six nodes 20, the goal 72.
    EXPECT_EQ(Speakers(), (Counts{{"緹菈", 68},
                                  {"黑皮", 21},
                                  {"緹菈的母親", 10},
                                  {"大魔法師", 25},
                                  {"？？？？", 1},
                                  {"", 4}}));
    EXPECT_TRUE(ev->TestFlg(37));  // the summoning's picture seen
    EXPECT_EQ(GameDay(), 235);
    EXPECT_EQ(GameHour(), 2);
    EXPECT_EQ(GameFlow->Place, 10);
    for (int f : {393, 397, 139, 164, 459}) EXPECT_TRUE(ev->TestFlg(f)) << f;
    EXPECT_FALSE(ev->TestFlg(394));
    EXPECT_TRUE(IsItemUnlocked(kCurePotion));
    EXPECT_TRUE(IsItemUnlocked(kPanacea));
    // Reached once, never offered again.
    SetGameDay(236);
    SetGameHour(19);
    EXPECT_FALSE(EvTurnStart001());
    GameFlow->Place = 10;
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
        {"the recipe unknown", [] { LockItem(kSoulOfTheUnderworld); }, false},
        {"at 23:00", [] { SetGameHour(23); }, false},
        {"on D + 17", [] { SetGameDay(kOnset + 17); }, false},
        {"on D + 38", [] { SetGameDay(kOnset + 38); }, false},
        {"on D + 37 at 22:00",
         [] {
             SetGameDay(kOnset + 37);
             SetGameHour(22);
         },
         true},
        {"without the flowerbed's friendship", [this] { ev->SetFlg(390, false); }, false},
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
    GameFlow->Place = 11;
    EXPECT_FALSE(EvMove001());  // only in the shop itself
    GameFlow->Place = 10;
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
        EXPECT_EQ(GameFlow->Place, 10);
    }
}

TEST_F(FeverTest, AProgramClosingInTheForestLeavesIt) {
    // Closed while a fork waits: every choice then answers nothing, and the loop
    // leaves instead of walking on by itself.
    MazeEvening();
    headless.App().Terminate();
    ForestMazeFrom(0);
    EXPECT_TRUE(ev->TestFlg(flag::MazeGivenUp));
    EXPECT_EQ(GameFlow->Place, 10);
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
    Start(Given{.day = kOnset, .hour = 10, .place = 1, .onset = -1});
    ev->EventVariable[var::FlowerGiftCount] = 1;
    ASSERT_TRUE(EvFlowerbed004());
    ASSERT_EQ(DayMarks[mark::FeverBegan], kOnset);
    ASSERT_FALSE(ev->TestFlg(flag::FlowerCrownGiven));

    // 09:00 of 217 in the shop: the fever is named at her bedside.
    ev->DayChange();
    SetGameDay(kOnset + 1);
    SetGameHour(9);
    GameFlow->Place = 10;
    story::ResetPlays();
    transcript->Clear();
    ASSERT_TRUE(RunTurnStartEvents());
    EXPECT_EQ(Played(), std::vector<std::string>{"EvTurnStart000"});
    EXPECT_EQ(Lines(), 31);
    EXPECT_TRUE(ev->TestFlg(flag::FloraeVisitedToday));
    EXPECT_EQ(GameHour(), 10);
    EXPECT_EQ(GameFlow->Place, 1);
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
        GameFlow->Place = 1;
        ClearNpcMet();
        story::ResetPlays();
        transcript->Clear();
        VisitFlowerHouse(12);
        const std::vector<std::string> p = Played();
        EXPECT_EQ(p.empty() ? std::string() : p.front(), want[day - kOnset - 2]) << day;
        if (!p.empty()) visitLines += Lines();
        EXPECT_EQ(GameFlow->Place, 1);
        EXPECT_EQ(GameHour(), 12);
    }
    EXPECT_EQ(ev->EventVariable[var::BedsideVisitCount], 20);
    EXPECT_EQ(visitLines, 150);
    for (int f : {446, 448, 450, 452, 455}) EXPECT_TRUE(ev->TestFlg(f)) << f;

    // 09:00 of 240: she dies; the clock runs on to 09:00 of 241.
    ev->DayChange();
    SetGameDay(kOnset + 24);
    SetGameHour(9);
    GameFlow->Place = 10;
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
        Start(Given{.day = c.day, .hour = 9, .place = 10, .onset = -1});
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
    Start(Given{.day = kOnset + 24, .hour = 9, .place = 10, .flags = {391}, .visits = 2});
    ASSERT_TRUE(RunTurnStartEvents());
    EXPECT_EQ(Lines(), 0);
    EXPECT_TRUE(ev->TestFlg(flag::FloraeVanished));
    ev->DayChange();
    SetGameHour(20);
    GameFlow->Place = 1;
    story::ResetPlays();
    VisitFlowerHouse(20);
    EXPECT_EQ(Played(), std::vector<std::string>{"EvMove018"});
    EXPECT_EQ(Numbers("face"), (std::vector<int>{1, 9, 6, 7}));
    EXPECT_EQ(GameHour(), 23);
    EXPECT_EQ(GameFlow->Place, 1);
    // Entered at 23:00 the clock does not move; the room stays empty for good.
    ev->SetFlg(flag::EmptyRoomFound, false);
    GameFlow->Place = 12;
    ASSERT_TRUE(EvMove018());
    EXPECT_EQ(GameHour(), 23);
    GameFlow->Place = 12;
    EXPECT_FALSE(EvMove018());
}

TEST_F(FeverTest, ThePotionOnTheLastButOneDayCarriesTheGameToItsEnd) {
    // Two mornings from day 286 pass the last day: 09:00 of day 288, where the main
    // loop's ending is due; the day-indexed records keep nothing past day 287.
    Start(Given{.day = 286, .flags = {391, 393}, .onset = 270, .items = {{kCurePotion, 1}}});
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
        Start(Given{.day = c.day, .flags = {391, 393}, .items = {{kCurePotion, 1}}});
        player.answers = {1};
        EXPECT_EQ(EvMove002(), c.offered);
        if (!c.offered) continue;
        // The search for the stone leaves the offer open.
        GameFlow->Place = 12;
        player.answers = {1};
        EXPECT_TRUE(EvMove002());
        EXPECT_EQ(GameFlow->Place, 1);
    }
}

// ---- from the cure to her route, through the knocks at her door

TEST_F(FeverTest, FromTheCureToHerRouteTheKnocksAndTheMorningsCarryTheArc) {
    test::EventResponders player(headless.Backend());
    // D + 19 after the night in the forest: her first flowers, the talks and the
    // friendship at the flowerbed, seven bedside visits, the great wizard found, one
    // potion mixed.
    Start(Given{.day = kOnset + 19,
                .hour = 12,
                .place = 1,
                .flags = {339, 388, 390, 391, 392, 393, 397, 438, 439, 440, 441},
                .visits = 7,
                .items = {{kCurePotion, 1}}});
    UnlockItem(kCurePotion);
    UnlockItem(kPanacea);
    auto knock = [&](int day, int hour) {
        ev->DayChange();
        SetGameDay(day);
        SetGameHour(hour);
        GameFlow->Place = 1;
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
        GameFlow->Place = 10;
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
    EXPECT_GE(ItemStock(kStone), 1);
    // A cheerful visit, then the knock with the panacea opens her route.
    EXPECT_EQ(knock(++day, 12), "EvMove042");
    SetItemStock(kPanacea, 1);
    EXPECT_EQ(knock(++day, 12), "EvMove004");
    EXPECT_TRUE(ev->TestFlg(flag::FloraeSightRestored));
    EXPECT_TRUE(ev->TestFlg(flag::RouteFlorae));
    EXPECT_EQ(ItemStock(kPanacea), 0);
    // Her route brings her back to her flowerbed at 16:00 on a working day: her thanks.
    ev->DayChange();
    SetGameDay(++day % 6 == 5 ? ++day : day);
    SetGameHour(16);
    GameFlow->Place = 1;
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
    for (int f : {390, 391, 392}) EXPECT_TRUE(ev->TestFlg(f)) << f;
    EXPECT_TRUE(IsItemUnlocked(kSoulOfTheUnderworld));
    SetGameHour(18);
    GameFlow->Place = 10;
    test::EventResponders player(headless.Backend());
    player.answers = Answers(kHomeFrom14);
    ASSERT_TRUE(RunTurnStartEvents());
    EXPECT_EQ(Played().front(), "EvTurnStart001");
}

}  // namespace
