// 蕾妮特 on the land map, the volcano and love-potion commissions and the great
// wizard, played headless through the real message window with the transcript: each
// event's lines, speakers, flags, items, money, reputation, clock and place, the
// conditions in their order with the draws they take, and the two commissions and the
// wizard's visits through the real walks and commands.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/Savefile.h"
#include "story/Dialogue.h"
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
#include "town/Whereabouts.h"

namespace {

using Counts = test::StoryTest::Counts;
using test::DrawsSince;
using test::SeedFor;
constexpr char kFile[] = "RenetteLand.txt";
constexpr int kStone = 63, kKudzu = 81, kBalm = 92, kPotion = 56;

// Where and when an event is tried, what stands before it, and the draws its chance
// and 蕾妮特's schedule take, in order (SeedFor's form; empty: nothing is drawn).
struct Given {
    int day = 100, hour = 16, place = 10;
    std::vector<int> flags = {};
    std::vector<std::pair<int, int>> marks = {};  // day mark := day
    std::vector<std::pair<int, int>> stock = {};  // item := stock
    std::vector<int> draws = {};
};

// What it leaves. Speakers are counted per group: "緹菈+蕾妮特" is the total of a pair
// whose lines the description does not split, "" narration.
struct Leaves {
    Counts speakers = {};
    std::vector<int> flags = {};                  // flags changed, ascending
    std::vector<std::pair<int, int>> marks = {};  // day mark := value
    std::vector<std::pair<int, int>> items = {};  // item := stock, for every item changed
    int money = 0, reputation = 0;
    int recipe = -1;  // the recipe learned
    int hours = 0;
    int place = -1;  // -1: where it started
};

struct Row {
    const char* name;
    bool (*event)();
    Given given;
    Leaves leaves;
};

class RenetteLandTest : public test::StoryTest {
protected:
    void Start(const Given& g) {
        NewGame(g.day, g.hour, g.place);
        ClearNpcMet();
        for (int f : g.flags) ev->SetFlg(f, true);
        for (auto [k, day] : g.marks) DayMarks[k] = day;
        for (auto [item, n] : g.stock) SetItemStock(item, n);
        ui::Srand(g.draws.empty() ? 1 : SeedFor(g.draws));
    }
    // Lines per group of speakers, as `want` groups them.
    static Counts Grouped(const Counts& got, const Counts& want) {
        Counts out;
        for (const auto& [who, n] : got) {
            std::string group = who;
            for (const auto& [key, m] : want) {
                std::stringstream names(key);
                for (std::string name; std::getline(names, name, '+');)
                    if (name == who && key != who) group = key;
            }
            out[group] += n;
        }
        return out;
    }
    // Plays a row from its state, with the plays not reset, and checks what it leaves.
    void Play(const Row& r) {
        SCOPED_TRACE(r.name);
        Start(r.given);
        std::vector<bool> flags(kEventFlagCount);
        for (int f = 1; f < kEventFlagCount; ++f) flags[f] = ev->TestFlg(f);
        std::vector<int> stock(kItemCount);
        for (int i = 0; i < kItemCount; ++i) stock[i] = ItemStock(i);
        const auto marks = DayMarks;
        const int money = GameMoney(), reputation = GameReputation();
        const int start = GameDay() * 24 + GameHour();
        const std::uint32_t seeded = ui::RandState();
        if (r.leaves.recipe >= 0) {
            EXPECT_FALSE(IsItemUnlocked(r.leaves.recipe));
        }
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(r.event());
        // Only the conditions draw, but the hours an event passes may draw too.
        if (r.leaves.hours == 0) {
            EXPECT_EQ(DrawsSince(seeded), static_cast<int>(r.given.draws.size()));
        }
        EXPECT_EQ(Grouped(Speakers(), r.leaves.speakers), r.leaves.speakers);
        EXPECT_EQ(player.linesAcknowledged, Lines());
        EXPECT_TRUE(Numbers("voice").empty());
        std::vector<int> changed;
        for (int f = 1; f < kEventFlagCount; ++f) {
            if (f >= 32 && f < 96) continue;  // pictures seen
            if (ev->TestFlg(f) != flags[f]) changed.push_back(f);
        }
        EXPECT_EQ(changed, r.leaves.flags);
        auto wantMarks = marks;
        for (auto [k, v] : r.leaves.marks) wantMarks[k] = v;
        EXPECT_EQ(DayMarks, wantMarks);
        std::vector<std::pair<int, int>> items;
        for (int i = 0; i < kItemCount; ++i)
            if (ItemStock(i) != stock[i]) items.emplace_back(i, ItemStock(i));
        EXPECT_EQ(items, r.leaves.items);
        EXPECT_EQ(GameMoney() - money, r.leaves.money);
        EXPECT_EQ(GameReputation() - reputation, r.leaves.reputation);
        if (r.leaves.recipe >= 0) {
            EXPECT_TRUE(IsItemUnlocked(r.leaves.recipe));
        }
        EXPECT_EQ(GameDay() * 24 + GameHour() - start, r.leaves.hours);
        EXPECT_EQ(GameFlow->Place, r.leaves.place < 0 ? r.given.place : r.leaves.place);
        EXPECT_EQ(ev->ConditionOverride, 0);
    }
    // One arrival: the move table's walk. The events whose scenes played, by name.
    std::vector<std::string> Arrive(int place) {
        story::ResetPlays();
        transcript->Clear();
        GameFlow->Place = place;
        RunMoveEvents();
        return Played();
    }
    // The lines after the last record of `kind` whose text is `text`; -1 when none.
    int LinesAfter(const char* kind, const std::string& text) {
        int lines = -1;
        for (const ui::TranscriptEntry& e : transcript->Entries()) {
            if (e.kind == kind && e.text == text)
                lines = 0;
            else if (e.kind == "line" && lines >= 0)
                ++lines;
        }
        return lines;
    }
};

// A working day outside the festival windows at 16:00: 蕾妮特's schedule answers each
// land place with one draw of 20 per cent.
Given At(int place, std::vector<int> draws = {}) {
    Given g;
    g.place = place;
    g.draws = std::move(draws);
    return g;
}
Given On(int day, int hour, int place) {
    Given g;
    g.day = day;
    g.hour = hour;
    g.place = place;
    return g;
}
Given With(Given g, std::vector<int> flags, std::vector<std::pair<int, int>> marks = {},
           std::vector<std::pair<int, int>> stock = {}) {
    g.flags = std::move(flags);
    g.marks = std::move(marks);
    g.stock = std::move(stock);
    return g;
}

constexpr int kNo = -20, kYes = 20;  // one ask of her schedule at 16:00

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        // ---- at set places
        {"EvMove138", EvMove138, On(50, 15, 38), {{{"緹菈+蕾妮特", 24}}, {504}}},
        {"EvMove139", EvMove139, On(168, 14, 41), {{{"緹菈+蕾妮特", 21}}, {532}}},
        {"EvMove140", EvMove140, At(34, {kYes}), {{{"緹菈", 6}, {"蕾妮特", 5}, {"", 1}}}},
        {"EvMove141",
         EvMove141,
         With(At(34, {kYes}), {}, {}, {{80, 0}}),
         {{{"緹菈", 8}, {"蕾妮特", 8}, {"", 1}}, {}, {}, {{80, 1}}}},
        {"EvMove142",
         EvMove142,
         With(At(34, {kYes}), {}, {}, {{71, 5}}),
         {{{"緹菈", 12}, {"蕾妮特", 8}}, {}, {}, {{71, 6}}}},
        {"EvMove143", EvMove143, At(35, {kYes}), {{{"緹菈", 6}, {"蕾妮特", 5}, {"", 1}}}},
        {"EvMove144",
         EvMove144,
         With(At(35, {kYes}), {}, {}, {{73, 0}}),
         {{{"緹菈", 8}, {"蕾妮特", 8}, {"", 1}}, {}, {}, {{73, 1}}}},
        // ---- met by chance, in the cave (the first place asked)
        {"EvMove152", EvMove152, At(36, {20, kYes}), {{{"緹菈", 7}, {"蕾妮特", 5}}}},
        {"EvMove153", EvMove153, At(36, {20, kYes}), {{{"緹菈", 6}, {"蕾妮特", 6}}}},
        {"EvMove154", EvMove154, At(36, {20, kYes}), {{{"緹菈", 11}, {"蕾妮特", 7}, {"", 1}}}},
        {"EvMove155", EvMove155, At(36, {10, kYes}), {{{"緹菈", 17}, {"蕾妮特", 8}}}},
        {"EvMove156", EvMove156, At(36, {20, kYes}), {{{"緹菈", 3}, {"蕾妮特", 2}}}},
        {"EvMove157", EvMove157, At(36, {20, kYes}), {{{"緹菈", 7}, {"蕾妮特", 4}, {"", 2}}}},
        {"EvMove191", EvMove191, With(At(36, {40, kYes}), {404}), {{{"緹菈", 4}, {"蕾妮特", 4}}}},
        // ---- the volcano commission
        {"EvMove112",
         EvMove112,
         With(On(110, 12, 38), {504}),
         {{{"緹菈+蕾妮特", 11}}, {505}, {{6, 110}}}},
        {"EvMove113",
         EvMove113,
         With(On(128, 12, 38), {504, 505, 548}, {{6, 110}}, {{kStone, 1}}),
         {{{"緹菈+蕾妮特的父親", 13}, {"", 1}}, {550}, {}, {}, 10000, 3}},
        {"EvMove114",
         EvMove114,
         With(On(128, 12, 38), {504, 505, 548}, {{6, 110}}),
         {{{"緹菈", 2}}}},
        // ---- the love potion
        {"EvMove125",
         EvMove125,
         With(On(100, 10, 17), {549}, {{9, 100}}),
         {{{"緹菈", 12}, {"蕾妮特", 1}}, {517}, {}, {}, 0, 0, kPotion}},
        {"EvMove126",
         EvMove126,
         With(On(105, 10, 42), {549, 517}, {{9, 100}}, {{kKudzu, 1}, {kBalm, 1}}),
         {{{"緹菈+蕾妮特+黑皮", 49}, {"", 1}},
          {551},
          {},
          {{kKudzu, 0}, {kBalm, 0}},
          300,
          0,
          -1,
          2,
          10}},
        {"EvMove127",
         EvMove127,
         With(On(105, 10, 42), {549, 517}, {{9, 100}}, {{kKudzu, 0}, {kBalm, 1}}),
         {{{"緹菈", 1}}}},
        // ---- the great wizard
        {"EvMove129",
         EvMove129,
         With(On(200, 14, 44), {}, {{2, 190}}),
         {{{"大魔法師", 23}, {"緹菈", 9}}, {427}, {}, {}, 0, 0, -1, 1, 43}},
        {"EvMove188",
         EvMove188,
         With(On(240, 22, 44), {163}),
         {{{"大魔法師", 6}, {"緹菈", 8}}, {363, 555}, {}, {}, 0, 0, -1, 0, 43}},
    };
    return rows;
}

// ---- every event, and every record accounted for

TEST_F(RenetteLandTest, EveryEventPlaysItsLinesAndChangesAndEveryRecordIsPlayed) {
    story::ResetPlays();
    int lines = 0;
    for (const Row& r : Rows()) {
        Play(r);
        lines += Lines();
    }
    EXPECT_EQ(lines, 354);
    ExpectAllPlayed(kFile);
}

TEST_F(RenetteLandTest, TheLinesPerPartAreAsTheyAreCounted) {
    // Lines per event as the data holds them, and their sums per Part.
    std::map<std::string, int> per;
    for (const story::Scene& sc : story::Scenes()) {
        if (sc.file != kFile) continue;
        for (const story::Step& st : sc.steps) {
            if (st.kind != story::StepKind::Line) continue;
            ++per[sc.key.substr(0, sc.key.find(':'))];
            EXPECT_EQ(story::LineProblem(st.text), "") << sc.key;
            const std::string utf8 = ui::Big5ToUtf8(st.text);
            EXPECT_FALSE(utf8.ends_with("」") || utf8.ends_with("』")) << sc.key << ": " << utf8;
        }
    }
    auto sum = [&per](std::initializer_list<int> events) {
        int n = 0;
        for (int e : events) n += per["EvMove" + std::to_string(e)];
        return n;
    };
    const std::map<std::string, int> want = {
        {"EvMove138", 24}, {"EvMove139", 21}, {"EvMove140", 12}, {"EvMove141", 17},
        {"EvMove142", 20}, {"EvMove143", 12}, {"EvMove144", 17}, {"EvMove152", 12},
        {"EvMove153", 12}, {"EvMove154", 19}, {"EvMove155", 25}, {"EvMove156", 5},
        {"EvMove157", 13}, {"EvMove191", 8},  {"EvMove112", 11}, {"EvMove113", 14},
        {"EvMove114", 2},  {"EvMove125", 13}, {"EvMove126", 50}, {"EvMove127", 1},
        {"EvMove129", 32}, {"EvMove188", 14}};
    EXPECT_EQ(per, want);
    EXPECT_EQ(sum({138, 139, 140, 141, 142, 143, 144}), 123);
    EXPECT_EQ(sum({152, 153, 154, 155, 156, 157, 191}), 94);
    EXPECT_EQ(sum({112, 113, 114}), 27);
    EXPECT_EQ(sum({125, 126, 127}), 64);
}

TEST_F(RenetteLandTest, TheLetterThoughtsAndSoundsStandWhereTheScenesPutThem) {
    test::EventResponders player(headless.Backend());
    auto lines = [this] {
        std::vector<std::string> out;
        for (const std::string& l : transcript->Texts("line")) out.push_back(l);
        return out;
    };
    // The letter: its first line 蕾妮特's, the other three read by the heroine.
    Start(With(On(105, 10, 42), {549, 517}, {{9, 100}}, {{kKudzu, 1}, {kBalm, 1}}));
    ASSERT_TRUE(EvMove126());
    std::vector<std::string> l = lines();
    ASSERT_EQ(l.size(), 50u);
    EXPECT_EQ(LinesAfter("sound", "seLetter.wav"), 50 - 23);
    EXPECT_TRUE(l[23].starts_with("蕾妮特『")) << l[23];
    for (int i = 24; i < 27; ++i) EXPECT_TRUE(l[i].starts_with("緹菈『")) << l[i];
    for (int i = 46; i < 50; ++i) EXPECT_TRUE(l[i].starts_with("緹菈『")) << l[i];
    // The writing on her face: the stage goes black, the place comes back without
    // figures, and the fourth closing line is a thought.
    Start(At(36, {10, kYes}));
    ASSERT_TRUE(EvMove155());
    l = lines();
    EXPECT_TRUE(l[22].starts_with("緹菈『")) << l[22];
    EXPECT_EQ(Music(), (std::vector<int>{8, 11}));
    // The wizard's last two lines come after the door.
    Start(With(On(200, 14, 44), {}, {{2, 190}}));
    ASSERT_TRUE(EvMove129());
    EXPECT_EQ(LinesAfter("sound", "seDoor.wav"), 2);
    EXPECT_EQ(Music().front(), 21);
    // The night of the search ends on the map with the house's outside track playing.
    Start(With(On(240, 22, 44), {163}));
    ASSERT_TRUE(EvMove188());
    EXPECT_EQ(Music(), (std::vector<int>{21, 20}));
    EXPECT_EQ(LinesAfter("sound", "seDoor.wav"), 1);
    // The beach's waves come before anything is said.
    Start(On(169, 13, 41));
    ASSERT_TRUE(EvMove139());
    EXPECT_EQ(LinesAfter("sound", "seminWav.wav"), 21);
}

// ---- the conditions

// 蕾妮特 at the crater: the rest day widens the hours to 12..18.
TEST_F(RenetteLandTest, TheCraterAndTheBeachKeepTheirDaysAndHours) {
    test::EventResponders player(headless.Backend());
    struct Case {
        bool (*event)();
        int day, hour;
        bool plays;
    };
    const Case cases[] = {
        {EvMove138, 53, 12, true},   {EvMove138, 50, 12, false},  {EvMove138, 50, 14, false},
        {EvMove138, 50, 15, true},   {EvMove138, 53, 18, true},   {EvMove138, 50, 19, false},
        {EvMove138, 53, 19, false},  {EvMove138, 48, 12, false},  {EvMove138, 48, 15, true},
        {EvMove138, 47, 15, false},  {EvMove138, 95, 15, true},   {EvMove138, 96, 15, false},
        {EvMove139, 168, 14, true},  {EvMove139, 168, 15, false}, {EvMove139, 168, 16, true},
        {EvMove139, 169, 13, true},  {EvMove139, 169, 14, false}, {EvMove139, 169, 15, true},
        {EvMove139, 169, 17, true},  {EvMove139, 173, 13, true},  {EvMove139, 173, 17, true},
        {EvMove139, 173, 12, false}, {EvMove139, 173, 18, false}, {EvMove139, 170, 16, true},
        {EvMove139, 171, 17, true},  {EvMove139, 167, 14, false}, {EvMove139, 192, 14, false},
        {EvMove139, 191, 17, true},
    };
    for (const Case& c : cases) {
        const int place = c.event == EvMove138 ? 38 : 41;
        Start(On(c.day, c.hour, place));
        EXPECT_EQ(c.event(), c.plays) << place << " day " << c.day << " at " << c.hour;
        // Once played, never again.
        if (c.plays) {
            EXPECT_FALSE(c.event()) << place << " day " << c.day;
        }
    }
}

TEST_F(RenetteLandTest, ConditionsFailInTheirOrderWithNothingChanged) {
    test::EventResponders player(headless.Backend());
    struct Case {
        const char* what;
        bool (*event)();
        Given given;
        int draws;
    };
    const Case cases[] = {
        {"the crater met already", EvMove138, With(On(50, 15, 38), {504}), 0},
        {"the crater elsewhere", EvMove138, On(50, 15, 37), 0},
        {"the beach met already", EvMove139, With(On(168, 14, 41), {532}), 0},
        {"the spring, her route taken", EvMove140, With(At(34, {kYes}), {404}), 1},
        {"the spring, she is elsewhere", EvMove140, At(34, {kNo}), 1},
        {"the spring, the heroine elsewhere", EvMove142, At(33, {kYes}), 1},
        {"the waterfall, her route taken", EvMove144, With(At(35, {kYes}), {404}), 1},
        {"a chance meeting that fails its draw", EvMove152, At(36, {-20}), 1},
        {"a chance meeting at the waterfall", EvMove153,
         At(35, {20, kYes, kYes, kYes, kYes, kYes, kYes, kYes, kYes}), 9},
        {"a chance meeting after her route", EvMove157, With(At(36, {20, kYes}), {404}), 2},
        {"her route's meeting before it", EvMove191, At(36, {40, kYes}), 2},
        {"the tremor before the crater meeting", EvMove112, On(110, 12, 38), 0},
        {"the tremor on day 107", EvMove112, With(On(107, 12, 38), {504}), 0},
        {"the tremor on day 132", EvMove112, With(On(132, 12, 38), {504}), 0},
        {"the tremor again", EvMove112, With(On(110, 12, 38), {504, 505}), 0},
        {"the stone without the notice", EvMove113,
         With(On(112, 12, 38), {504, 505}, {{6, 110}}, {{kStone, 1}}), 0},
        {"the stone on day m+19", EvMove113,
         With(On(129, 12, 38), {504, 505, 548}, {{6, 110}}, {{kStone, 1}}), 0},
        {"the stone after the commission", EvMove113,
         With(On(112, 12, 38), {504, 505, 548, 550}, {{6, 110}}, {{kStone, 1}}), 0},
        {"the heat on day m+19", EvMove114, With(On(129, 12, 38), {504, 505, 548}, {{6, 110}}), 0},
        {"the heat after the commission", EvMove114,
         With(On(112, 12, 38), {504, 505, 548, 550}, {{6, 110}}), 0},
        {"the heat without a mark", EvMove114, With(On(112, 12, 38), {504, 505, 548}), 0},
        {"the recipe before the commission", EvMove125, With(On(100, 10, 17), {}, {{9, 100}}), 0},
        {"the recipe again", EvMove125, With(On(100, 10, 17), {549, 517}, {{9, 100}}), 0},
        {"the recipe on day D+6", EvMove125, With(On(106, 10, 17), {549}, {{9, 100}}), 0},
        {"the recipe after the delivery", EvMove125, With(On(100, 10, 17), {549, 551}, {{9, 100}}),
         0},
        {"the spring before the recipe", EvMove126, With(On(101, 10, 42), {549}, {{9, 100}}), 0},
        {"the spring on day D+6", EvMove126, With(On(106, 10, 42), {549, 517}, {{9, 100}}), 0},
        {"the spring with no 香油", EvMove126,
         With(On(101, 10, 42), {549, 517}, {{9, 100}}, {{kBalm, 0}}), 0},
        {"the reminder with neither", EvMove127,
         With(On(101, 10, 42), {549, 517}, {{9, 100}}, {{kKudzu, 0}, {kBalm, 0}}), 0},
        {"the reminder after the delivery", EvMove127,
         With(On(101, 10, 42), {549, 517, 551}, {{9, 100}}, {{kKudzu, 0}}), 0},
        {"the tale without day mark 2", EvMove129, On(200, 14, 44), 0},
        {"the tale after she ran away", EvMove129, With(On(200, 14, 44), {399}, {{2, 190}}), 0},
        {"the tale told", EvMove129, With(On(200, 14, 44), {427}, {{2, 190}}), 0},
        {"the advice outside the search", EvMove188, On(240, 22, 44), 0},
        {"the advice given", EvMove188, With(On(240, 22, 44), {163, 555}), 0},
    };
    for (const Case& c : cases) {
        Start(c.given);
        const std::uint32_t seeded = ui::RandState();
        const auto marks = DayMarks;
        const int money = GameMoney();
        EXPECT_FALSE(c.event()) << c.what;
        EXPECT_EQ(DrawsSince(seeded), c.draws) << c.what;
        EXPECT_EQ(Lines(), 0) << c.what;
        EXPECT_EQ(DayMarks, marks) << c.what;
        EXPECT_EQ(GameMoney(), money) << c.what;
    }
}

// The spring's three and the waterfall's two each ask her schedule afresh: the first
// member that finds her plays.
TEST_F(RenetteLandTest, EachMemberAtTheSpringAndTheWaterfallAsksHerAfresh) {
    test::EventResponders player(headless.Backend());
    struct Case {
        int place;
        std::vector<int> draws = {};
        const char* plays;
    };
    const Case cases[] = {
        {34, {kYes}, "EvMove140"},
        {34, {kNo, kYes}, "EvMove141"},
        {34, {kNo, kNo, kYes}, "EvMove142"},
        {34, {kNo, kNo, kNo, kNo, kNo}, ""},
        // At the waterfall the spring's three ask for 34 first.
        {35, {kNo, kNo, kNo, kYes}, "EvMove143"},
        {35, {kYes, kNo, kYes, kNo, kYes}, "EvMove144"},
        {35, {kNo, kNo, kNo, kNo, kNo}, ""},
    };
    bool (*const family[])() = {EvMove140, EvMove141, EvMove142, EvMove143, EvMove144};
    for (const Case& c : cases) {
        Start(At(c.place, c.draws));
        story::ResetPlays();
        const std::uint32_t seeded = ui::RandState();
        // As the walk tries them, in slot order, to the first that runs.
        for (auto event : family)
            if (event()) break;
        const std::vector<std::string> played = Played();
        EXPECT_EQ(played.empty() ? "" : played.front(), std::string(c.plays)) << c.place;
        EXPECT_EQ(DrawsSince(seeded), static_cast<int>(c.draws.size())) << c.plays;
    }
    // A full stock stays full, and the scene plays all the same.
    Start(With(At(34, {kNo, kYes}), {}, {}, {{80, 99}}));
    EXPECT_FALSE(EvMove140());
    EXPECT_TRUE(EvMove141());
    EXPECT_EQ(ItemStock(80), 99);
    EXPECT_EQ(Lines(), 17);
}

// 蕾妮特 met by chance: the cave, the spring, the forest, the mountain path, the big
// tree, the beach, the crater, then the lake, each asked in turn; the chance first.
TEST_F(RenetteLandTest, ChanceMeetingsTryHerPlacesInOrder) {
    test::EventResponders player(headless.Backend());
    // The rest day at 13:00: every one of the eight places draws (10 per cent, the big
    // tree 30).
    const std::vector<int> foundLast = {20, -10, -10, -10, -10, -30, -10, -10, 10};
    Given lake = On(5, 13, 40);
    lake.draws = foundLast;
    Start(lake);
    std::uint32_t seeded = ui::RandState();
    EXPECT_TRUE(EvMove152());
    EXPECT_EQ(DrawsSince(seeded), 9);
    EXPECT_EQ(Lines(), 12);
    Start(lake);
    seeded = ui::RandState();
    EXPECT_FALSE(EvMove191());  // 40 per cent; her route not taken
    EXPECT_EQ(DrawsSince(seeded), 9);
    // The cave is asked first.
    lake.place = 36;
    lake.draws = {10, 10};
    Start(lake);
    seeded = ui::RandState();
    EXPECT_TRUE(EvMove155());
    EXPECT_EQ(DrawsSince(seeded), 2);
    EXPECT_EQ(Lines(), 25);
    // Her route taken: the six before it draw their chance and fail; the seventh plays.
    // The first finds her at the mountain path and fails only on the flag.
    Given route = With(At(37), {404});
    route.draws = {20, kNo, kNo, kNo, kYes, -20, -20, -10, -20, -20, 40, kNo, kNo, kNo, kYes};
    Start(route);
    seeded = ui::RandState();
    EXPECT_FALSE(EvMove152());
    EXPECT_EQ(DrawsSince(seeded), 5);
    for (auto event : {EvMove153, EvMove154, EvMove155, EvMove156, EvMove157})
        EXPECT_FALSE(event());
    EXPECT_EQ(DrawsSince(seeded), 10);
    EXPECT_TRUE(EvMove191());
    EXPECT_EQ(DrawsSince(seeded), 15);
    EXPECT_EQ(Lines(), 8);
    // A walk tries them in slot order: the first whose chance and schedule hold plays.
    Given cave = At(36);
    cave.draws = {-20, -20, 20, kYes};
    Start(cave);
    story::ResetPlays();
    for (auto event : {EvMove152, EvMove153, EvMove154, EvMove155})
        if (event()) break;
    EXPECT_EQ(Played(), std::vector<std::string>{"EvMove154"});
}

// ---- the commissions and the wizard through the real walks and commands

TEST_F(RenetteLandTest, TheVolcanoFromTheCraterMeetingToTheDeadline) {
    test::EventResponders player(headless.Backend());
    Start(On(50, 15, 38));
    ev->SetFlg(flag::IntroCrater, true);
    EXPECT_EQ(Arrive(38), std::vector<std::string>{"EvMove138"});
    EXPECT_EQ(Lines(), 24);
    EXPECT_TRUE(ev->TestFlg(flag::RenetteAtCrater));
    // The tremor, on day 110.
    SetGameDay(110);
    SetGameHour(12);
    EXPECT_EQ(Arrive(38), std::vector<std::string>{"EvMove112"});
    EXPECT_EQ(Lines(), 11);
    EXPECT_EQ(DayMarks[mark::VolcanoNotice], 110);
    // The notice read: with the stone, the commission on any of days 110..128; the
    // stone stays.
    for (int day = 110; day <= 128; ++day) {
        Start(With(On(day, 12, 38), {358, 504, 505, 548}, {{6, 110}}, {{kStone, 1}}));
        const int money = GameMoney(), reputation = GameReputation();
        EXPECT_EQ(Arrive(38), std::vector<std::string>{"EvMove113"}) << day;
        EXPECT_EQ(Lines(), 14);
        EXPECT_EQ(GameMoney() - money, 10000);
        EXPECT_EQ(GameReputation() - reputation, 3);
        EXPECT_TRUE(ev->TestFlg(flag::VolcanoCommissionDone));
        EXPECT_EQ(ItemStock(kStone), 1);
        // Done: the crater is quiet after, and the deadline passes unmarked.
        EXPECT_EQ(Arrive(38), std::vector<std::string>{});
    }
    SetGameDay(129);
    RunDayStartEvents();
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 0);
    // Without the stone, the heat on any of days 110..128, again and again.
    for (int day = 110; day <= 128; ++day) {
        Start(With(On(day, 12, 38), {358, 504, 505, 548}, {{6, 110}}, {{kStone, 0}}));
        EXPECT_EQ(Arrive(38), std::vector<std::string>{"EvMove114"}) << day;
        EXPECT_EQ(Lines(), 2);
        EXPECT_EQ(Arrive(38), std::vector<std::string>{"EvMove114"}) << day;
    }
    // Day 129: neither; the morning arms 蕾妮特's visit.
    Start(With(On(129, 12, 38), {358, 504, 505, 548}, {{6, 110}}, {{kStone, 1}}));
    EXPECT_EQ(Arrive(38), std::vector<std::string>{});
    SetGameHour(8);
    RunDayStartEvents();
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 129);
}

TEST_F(RenetteLandTest, ThePotionRaceFromTheLibraryToTheDelivery) {
    test::EventResponders player(headless.Backend());
    // A new game holds 4 葛棗 and 3 香油.
    EXPECT_EQ(ItemStock(kKudzu), 4);
    EXPECT_EQ(ItemStock(kBalm), 3);
    for (int day = 100; day <= 105; ++day) {
        SCOPED_TRACE(day);
        Start(With(On(day, 10, 7), {flag::IntroLibrary, 410, 549}, {{9, 100}},
                   {{kKudzu, 4}, {kBalm, 3}}));
        SetGameLevel(9);  // the hot spring's two inspirations could play too
        // The library.
        story::ResetPlays();
        GameFlow->DoMoveCommand(command::kLibrary);
        EXPECT_EQ(Played(), std::vector<std::string>{"EvMove125"});
        EXPECT_EQ(Lines(), 13);
        EXPECT_TRUE(IsItemUnlocked(kPotion));
        EXPECT_EQ(GameFlow->Place, 17);
        // The hot spring, before its inspirations and the bath.
        const int money = GameMoney();
        EXPECT_EQ(Arrive(42), std::vector<std::string>{"EvMove126"});
        EXPECT_EQ(Lines(), 50);
        EXPECT_EQ(GameHour(), 12);
        EXPECT_EQ(ItemStock(kKudzu), 3);
        EXPECT_EQ(ItemStock(kBalm), 2);
        EXPECT_EQ(GameMoney() - money, 300);
        EXPECT_EQ(GameFlow->Place, 10);
        EXPECT_TRUE(ev->TestFlg(flag::LovePotionCommissionDone));
    }
    // Exactly one of the two materials: the reminder, and nothing changes.
    for (auto [kudzu, balm] : {std::pair{1, 0}, std::pair{0, 1}}) {
        Start(With(On(103, 14, 42), {410, 549, 517}, {{9, 100}}, {{kKudzu, kudzu}, {kBalm, balm}}));
        SetGameLevel(9);
        EXPECT_EQ(Arrive(42), std::vector<std::string>{"EvMove127"});
        EXPECT_EQ(Lines(), 1);
        EXPECT_EQ(ItemStock(kKudzu), kudzu);
        EXPECT_EQ(ItemStock(kBalm), balm);
    }
    // Both materials before the library: nothing of the race, the spring's own
    // inspiration instead.
    Start(With(On(103, 14, 42), {410, 549}, {{9, 100}}, {{kKudzu, 4}, {kBalm, 3}}));
    SetGameLevel(9);
    EXPECT_EQ(Arrive(42), std::vector<std::string>{"EvMove167"});
    EXPECT_EQ(ItemStock(kKudzu), 4);
    // Undelivered on day 107: the morning arms 蕾妮特's visit; delivered, it does not.
    Start(With(On(107, 8, 10), {410, 549, 517}, {{9, 100}}));
    RunDayStartEvents();
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 107);
    Start(With(On(107, 8, 10), {410, 549, 517, 551}, {{9, 100}}));
    RunDayStartEvents();
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 0);
}

TEST_F(RenetteLandTest, TheWizardsTwoTalksThroughHerHousesDoor) {
    test::EventResponders player(headless.Backend());
    // Day mark 2 armed and 蕾妮特 still at home: the tale, then outside an hour later.
    Start(With(On(200, 14, 43), {}, {{2, 190}}));
    story::ResetPlays();
    VisitWizardHouse(14);
    EXPECT_EQ(Played(), std::vector<std::string>{"EvMove129"});
    EXPECT_EQ(Speakers(), (Counts{{"大魔法師", 23}, {"緹菈", 9}}));
    EXPECT_TRUE(ev->TestFlg(flag::FathersTruthTold));
    EXPECT_EQ(GameHour(), 15);
    EXPECT_EQ(GameFlow->Place, 43);
    // Told once: the next knock finds nobody.
    story::ResetPlays();
    VisitWizardHouse(15);
    EXPECT_TRUE(Played().empty());
    EXPECT_EQ(GameFlow->Place, 43);
    // The night of the search: the advice, once, ending on the map with track 20.
    Start(With(On(240, 22, 43), {163}));
    story::ResetPlays();
    VisitWizardHouse(22);
    EXPECT_EQ(Played(), std::vector<std::string>{"EvMove188"});
    EXPECT_TRUE(ev->TestFlg(flag::WizardAdvice));
    EXPECT_EQ(Music().back(), 20);
    EXPECT_EQ(GameFlow->Place, 43);
    EXPECT_EQ(GameHour(), 22);
}

// The save tests/scripts/renette_crater.txt loads (slot 2 of a copy of the game folder):
// the morning of day 50, the land's places already introduced, so that a walk from
// the shop to the crater arrives there at 15:00 and meets 蕾妮特.
TEST_F(RenetteLandTest, TheCraterScriptsSaveLoadsOnTheMorningOfDay50) {
    const std::string dir = test::ScratchDir("renette_crater");
    ui::SetProgramFolder(dir);
    Start(With(On(50, 8, 10), {353, 354, 355, 356, 357, 358, 359, 360, 361}));
    ASSERT_TRUE(SaveGame(1));
    Start(On(0, 8, 10));
    ASSERT_TRUE(LoadGame(1));
    EXPECT_EQ(GameDay(), 50);
    EXPECT_TRUE(ev->TestFlg(flag::IntroCrater));
    EXPECT_FALSE(ev->TestFlg(flag::RenetteAtCrater));
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
}

}  // namespace
