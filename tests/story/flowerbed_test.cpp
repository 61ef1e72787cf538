// The flowerbed events played headless through the real message window with the
// transcript: their conditions, lines, steps, flags and gifts, and the table's walk.
#include "story/Flowerbed.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "story/Dialogue.h"
#include "story/EventTables.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/StoryFixture.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"
#include "town/Mdpform.h"
#include "town/Srcdbtxtform21.h"
#include "town/Whereabouts.h"

namespace {

using Counts = test::StoryTest::Counts;
constexpr char kFile[] = "Flowerbed.txt";

class FlowerbedTest : public test::StoryTest {
protected:
    void SetUp() override {
        test::StoryTest::SetUp();
        Fresh(0, 10);
    }
    // A new game at 芙蘿蕾's house on `day` at `hour`.
    void Fresh(int day, int hour) {
        test::StoryTest::Fresh(day, hour, place::FloraeHouse);
        for (int item : {item::FloraeFlowers, item::FloraeHerbs, item::FloraeCrown})
            SetItemStock(item, 0);
    }
    void ResetPlays() { story::ResetPlays(); }
    // One visit as the flowerbed command makes it: the walk, then daily flag 162 when
    // an event ran. The name of the event that ran, or "" for none.
    std::string Visit() {
        ResetPlays();
        transcript->Clear();
        const bool ran = RunFlowerbedEvents();
        if (ran) ev->SetFlg(flag::FlowerbedVisitedToday, true);
        const std::vector<std::string> p = Played();
        EXPECT_EQ(ran, !p.empty());
        return p.empty() ? std::string() : p.front();
    }
    std::vector<std::string> Figures() { return transcript->Texts("figure"); }
    // The lines shown before the first record of `kind` whose text holds `needle`;
    // -1 when there is none.
    int LinesBefore(const char* kind, const std::string& needle) {
        int lines = 0;
        for (const ui::TranscriptEntry& e : transcript->Entries()) {
            if (e.kind == kind && e.text.find(needle) != std::string::npos) return lines;
            lines += e.kind == "line";
        }
        return -1;
    }
};

// ---- the table

TEST_F(FlowerbedTest, TheTableHoldsTheEighteenEventsInPriorityOrder) {
    const EventProc want[] = {EvFlowerbed000, EvFlowerbed001, EvFlowerbed002, EvFlowerbed003,
                              EvFlowerbed004, EvFlowerbed005, EvFlowerbed006, EvFlowerbed007,
                              EvFlowerbed008, EvFlowerbed009, EvFlowerbed010, EvFlowerbed011,
                              EvFlowerbed012, EvFlowerbed013, EvFlowerbed014, EvFlowerbed015,
                              EvFlowerbed016, EvFlowerbed017};
    for (int i = 0; i < 18; ++i) EXPECT_EQ(FlowerbedEvents[i], want[i]) << i;
    EXPECT_EQ(FlowerbedEvents[18], nullptr);
}

// ---- each event, played under its own conditions

// An event at the flowerbed, and the faces it shows in order beside what it leaves.
struct FlowerbedCase {
    test::EventCase c;
    std::vector<int> faces;
};
void PrintTo(const FlowerbedCase& c, std::ostream* os) { *os << c.c.name; }

// Taken from the event descriptions: the lines per speaker ("" a line without a
// tag), the gifts, the flags and the time each passes.
const FlowerbedCase kEvents[] = {
    {{.name = "EvFlowerbed000",
      .event = EvFlowerbed000,
      .day = 23,
      .hour = 10,
      .place = place::FloraeHouse,
      .speakers = {{"緹菈", 10}, {"芙蘿蕾", 9}},
      .voiceRecords = 0,
      .changed = {flag::BirthdayBouquet},
      .itemsAfter = {{item::FloraeFlowers, 10}, {item::FloraeHerbs, 1}},
      .money = 0,
      .reputation = 0},
     {}},
    {{.name = "EvFlowerbed001",
      .event = EvFlowerbed001,
      .day = 0,
      .hour = 10,
      .place = place::FloraeHouse,
      .speakers = {{"緹菈", 9}, {"芙蘿蕾", 11}},
      .voiceRecords = 20,
      .changed = {flag::FirstFlowersGiven, flag::FlowerbedFirstVisit},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0,
      .hours = 1},
     {}},
    {{.name = "EvFlowerbed002",
      .event = EvFlowerbed002,
      .day = 5,
      .hour = 10,
      .place = place::FloraeHouse,
      .flags = {flag::FlowerbedFirstVisit, flag::FlowerbedVisitedToday},
      .speakers = {{"緹菈", 3}, {"芙蘿蕾", 3}},
      .voiceRecords = 0,
      .money = 0,
      .reputation = 0},
     {}},
    {{.name = "EvFlowerbed003",
      .event = EvFlowerbed003,
      .day = 100,
      .hour = 10,
      .place = place::FloraeHouse,
      .vars = {{var::FlowerGiftCount, 6}},
      .speakers = {{"緹菈", 8}, {"芙蘿蕾", 9}, {"", 1}},
      .voiceRecords = 18,
      .changed = {flag::FlowerCrownGiven},
      .itemsAfter = {{item::FloraeCrown, 1}},
      .money = 0,
      .reputation = 0,
      .hours = 1},
     {}},
    {{.name = "EvFlowerbed004",
      .event = EvFlowerbed004,
      .day = 220,
      .hour = 10,
      .place = place::FloraeHouse,
      .vars = {{var::FlowerGiftCount, 1}},
      .speakers = {{"緹菈", 10}, {"芙蘿蕾", 3}, {"芙蘿蕾的母親", 5}},
      .voiceRecords = 8,
      .changed = {flag::FloraeUnwellToday, flag::FloraeCollapsed, flag::FloraeMotherMet},
      .marksAfter = {{mark::FeverBegan, 220}},
      .money = 0,
      .reputation = 0},
     {6, 0}},
    {{.name = "EvFlowerbed005",
      .event = EvFlowerbed005,
      .day = 150,
      .hour = 10,
      .place = place::FloraeHouse,
      .flags = {flag::HotSpringFound},
      .speakers = {{"緹菈", 27}, {"芙蘿蕾", 18}, {"可可特", 11}, {"蕾妮特", 8}, {"", 2}},
      .voiceRecords = 64,
      .changed = {flag::HotSpringOuting},
      .money = 0,
      .reputation = 0,
      .hours = 4},
     {2, 0, 2, 0, 2, 0, 9, 0, 2, 0, 2, 3}},
    {{.name = "EvFlowerbed006",
      .event = EvFlowerbed006,
      .day = 12,
      .hour = 10,
      .place = place::FloraeHouse,
      .speakers = {{"緹菈", 5}, {"芙蘿蕾", 6}},
      .voiceRecords = 0,
      .changed = {flag::FirstFlowersGiven},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {}},
    {{.name = "EvFlowerbed007",
      .event = EvFlowerbed007,
      .day = 24,
      .hour = 10,
      .place = place::FloraeHouse,
      .flags = {flag::FlowerbedFirstVisit},
      .speakers = {{"緹菈", 6}, {"芙蘿蕾", 7}},
      .voiceRecords = 0,
      .changed = {flag::FlowerCareTalk},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {}},
    {{.name = "EvFlowerbed008",
      .event = EvFlowerbed008,
      .day = 48,
      .hour = 10,
      .place = place::FloraeHouse,
      .flags = {flag::FlowerbedFirstVisit},
      .speakers = {{"緹菈", 7}, {"芙蘿蕾", 7}},
      .voiceRecords = 0,
      .changed = {flag::FlowerSeasonsTalk},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {}},
    {{.name = "EvFlowerbed009",
      .event = EvFlowerbed009,
      .day = 72,
      .hour = 10,
      .place = place::FloraeHouse,
      .flags = {flag::FlowerbedFirstVisit},
      .speakers = {{"緹菈", 9}, {"芙蘿蕾", 6}},
      .voiceRecords = 0,
      .changed = {flag::FlowerWishTalk},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {9, 2}},
    {{.name = "EvFlowerbed010",
      .event = EvFlowerbed010,
      .day = 120,
      .hour = 10,
      .place = place::FloraeHouse,
      .flags = {flag::FlowerbedFirstVisit},
      .speakers = {{"緹菈", 15}, {"芙蘿蕾", 15}},
      .voiceRecords = 0,
      .changed = {flag::FlowerMoodsTalk},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {}},
    {{.name = "EvFlowerbed011",
      .event = EvFlowerbed011,
      .day = 204,
      .hour = 10,
      .place = place::FloraeHouse,
      .flags = {flag::FlowerbedFirstVisit},
      .speakers = {{"緹菈", 21}, {"芙蘿蕾", 19}},
      .voiceRecords = 0,
      .changed = {flag::FloraeUnwellToday, flag::FeverDayTalk},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {2, 0, 5, 0, 2, 13, 4, 0, 2, 0}},
    {{.name = "EvFlowerbed012",
      .event = EvFlowerbed012,
      .day = 250,
      .hour = 10,
      .place = place::FloraeHouse,
      .flags = {flag::FloraeSightRestored},
      .speakers = {{"緹菈", 4}, {"芙蘿蕾", 6}},
      .voiceRecords = 0,
      .changed = {flag::FloraeThanks},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {}},
    {{.name = "EvFlowerbed013",
      .event = EvFlowerbed013,
      .day = 18,
      .hour = 10,
      .place = place::FloraeHouse,
      .speakers = {{"緹菈", 6}, {"芙蘿蕾", 6}},
      .voiceRecords = 0,
      .changed = {flag::SchoolYearEndsTalk},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {}},
    {{.name = "EvFlowerbed014",
      .event = EvFlowerbed014,
      .day = 47,
      .hour = 10,
      .place = place::FloraeHouse,
      .speakers = {{"緹菈", 6}, {"芙蘿蕾", 6}},
      .voiceRecords = 0,
      .changed = {flag::SchoolYearEndedTalk},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {}},
    {{.name = "EvFlowerbed015",
      .event = EvFlowerbed015,
      .day = 166,
      .hour = 10,
      .place = place::FloraeHouse,
      .speakers = {{"緹菈", 5}, {"芙蘿蕾", 6}},
      .voiceRecords = 0,
      .changed = {flag::HolidaysSoonTalk},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {}},
    {{.name = "EvFlowerbed016",
      .event = EvFlowerbed016,
      .day = 168,
      .hour = 10,
      .place = place::FloraeHouse,
      .speakers = {{"緹菈", 5}, {"芙蘿蕾", 6}},
      .voiceRecords = 0,
      .changed = {flag::HolidaysBegunTalk},
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {}},
    {{.name = "EvFlowerbed017",
      .event = EvFlowerbed017,
      .day = 30,
      .hour = 10,
      .place = place::FloraeHouse,
      .speakers = {{"緹菈", 2}, {"芙蘿蕾", 4}},
      .voiceRecords = 0,
      .varsAfter = {{var::FlowerGiftCount, 1}},
      .itemsAfter = {{item::FloraeFlowers, 4}},
      .money = 0,
      .reputation = 0},
     {}},
};

class EachEvent : public FlowerbedTest, public ::testing::WithParamInterface<FlowerbedCase> {
protected:
    // Every event starts without flowers, herbs or crown, and with money to keep.
    void Arrange(const test::EventCase&) override {
        for (int item : {item::FloraeFlowers, item::FloraeHerbs, item::FloraeCrown})
            SetItemStock(item, 0);
        SetMoney(12345);
    }
};

TEST_P(EachEvent, PlaysItsLinesGiftsAndFlagsAndEndsAtTheHouse) {
    const test::EventCase& c = GetParam().c;
    ResetPlays();
    Play(c);  // no event of the flowerbed pays or charges, nor changes the reputation
    EXPECT_EQ(Played(), std::vector<std::string>{c.name});
    for (const std::string& fault : story::Unaccounted(kFile)) {
        if (fault.find(c.name) == std::string::npos || fault.find("no scene") == 0) continue;
        ADD_FAILURE() << fault;  // a record of this event left unplayed
    }
    for (const std::string& fault : story::Unaccounted(""))
        EXPECT_NE(fault.rfind("no scene", 0), 0u) << fault;
    EXPECT_EQ(Numbers("face"), GetParam().faces);
    // Every one but the collapse opens at the flowerbed with its music.
    const std::vector<std::string> pictures = transcript->Texts("picture");
    ASSERT_FALSE(pictures.empty());
    const std::vector<int> music = Music();
    ASSERT_FALSE(music.empty());
    if (c.event != EvFlowerbed004) {
        EXPECT_NE(pictures.front().find("evg06.bmp"), std::string::npos) << pictures.front();
        EXPECT_EQ(music.front(), track::FloraeMusic);
    }
    // Once run, the once-only events never run again.
    if (c.event == EvFlowerbed002 || c.event == EvFlowerbed017) return;
    transcript->Clear();
    ASSERT_FALSE(c.event());
    EXPECT_EQ(Lines(), 0);
}

INSTANTIATE_TEST_SUITE_P(Flowerbed, EachEvent, ::testing::ValuesIn(kEvents),
                         [](const auto& info) { return std::string(info.param.c.name); });

TEST_F(FlowerbedTest, TheCollapseShowsHerRoomWithoutLeavingTheHouse) {
    Fresh(216, 10);
    ev->EventVariable[var::FlowerGiftCount] = 1;
    ev->PlayMusic(track::TownMusic, true);
    transcript->Clear();
    test::EventResponders player(headless.Backend());
    ASSERT_TRUE(EvFlowerbed004());
    EXPECT_EQ(LinesBefore("picture", "evg07.bmp"), 0);
    EXPECT_EQ(LinesBefore("picture", "evg09_1.bmp"), 2);
    EXPECT_EQ(LinesBefore("picture", "evg09.bmp"), 3);
    EXPECT_EQ(LinesBefore("music", "track 3"), 8);
    EXPECT_EQ(transcript->Texts("music").front(), "stop");  // the garden falls silent first
    EXPECT_EQ(Music().front(), track::MusicBox);
    EXPECT_EQ(Figures(), (std::vector<std::string>{"show 36 centre", "show 35 centre"}));
    EXPECT_EQ(transcript->Texts("place"), std::vector<std::string>{"1"});
    EXPECT_EQ(DayMarks[mark::FeverBegan], 216);
    // Daily flag 166 keeps her away for the rest of the day.
    ev->DayChange();
    EXPECT_FALSE(ev->TestFlg(flag::FloraeUnwellToday));
    EXPECT_TRUE(ev->TestFlg(flag::FloraeCollapsed));
}

TEST_F(FlowerbedTest, TheOutingGoesToTheSpringAndBackWithItsMusicAndFigures) {
    Fresh(150, 14);
    ev->SetFlg(flag::HotSpringFound, true);
    test::EventResponders player(headless.Backend());
    ASSERT_TRUE(EvFlowerbed005());
    EXPECT_EQ(transcript->Texts("place"), (std::vector<std::string>{"1", "33", "42", "1"}));
    const std::vector<int> music = Music();
    const std::vector<int> want{track::FloraeMusic,  track::CocotteMusic, track::LandMusic,
                                track::RenetteMusic, track::BakeryMusic,  track::TownMusic};
    ASSERT_GE(music.size(), want.size());
    EXPECT_EQ(std::vector<int>(music.begin(), music.begin() + 6), want);
    EXPECT_EQ(GameHour(), 18);
    // Where the lines stand between the moves: 9 at the flowerbed, 7 at the house,
    // 4 in the forest, 17 at the spring, 24 in the bath.
    EXPECT_EQ(LinesBefore("place", "33"), 16);
    EXPECT_EQ(LinesBefore("place", "42"), 20);
    EXPECT_EQ(LinesBefore("music", "track 8"), 27);
    EXPECT_EQ(LinesBefore("picture", "evg04.bmp"), 37);
    EXPECT_EQ(LinesBefore("music", "track 10"), 61);
    EXPECT_EQ(static_cast<int>(transcript->Texts("sound").size()), 2);
    const std::vector<std::string> figures = Figures();
    const std::vector<std::string> wantFigures{
        "show 23 centre", "show 43 left", "show 24 right",  "show 43 centre", "show 24 left",
        "show 24 centre", "clear centre", "show 43 centre", "show 45 centre", "show 12 left",
        "show 43 right",  "show 14 left", "show 12 left",   "show 43 centre", "clear centre"};
    EXPECT_EQ(figures, wantFigures);
    // The two blank lines stand while a sound plays.
    int blanks = 0;
    for (const std::string& l : transcript->Texts("line")) blanks += l == "　";
    EXPECT_EQ(blanks, 2);
}

TEST_F(FlowerbedTest, TheRightFlowersEndAtTheHouseFrontWithItsMusic) {
    Fresh(72, 10);
    ev->SetFlg(flag::FlowerbedFirstVisit, true);
    test::EventResponders player(headless.Backend());
    ASSERT_TRUE(EvFlowerbed009());
    EXPECT_EQ(LinesBefore("music", "track 10"), 13);
    EXPECT_EQ(transcript->Texts("line")[13], "緹菈『唉……全被芙蘿蕾看穿了。\n我的鼻子真的會動嗎？");
}

TEST_F(FlowerbedTest, TheFeverishDayTakesHerToHerRoomAndBack) {
    Fresh(210, 10);
    ev->SetFlg(flag::FlowerbedFirstVisit, true);
    test::EventResponders player(headless.Backend());
    ASSERT_TRUE(EvFlowerbed011());
    EXPECT_EQ(transcript->Texts("place"), (std::vector<std::string>{"12", "1"}));
    EXPECT_EQ(LinesBefore("place", "12"), 15);
    EXPECT_EQ(Figures(),
              (std::vector<std::string>{"show 47 centre", "show 48 centre", "show 47 centre",
                                        "show 50 centre", "show 47 centre", "show 48 centre"}));
}

TEST_F(FlowerbedTest, TheCrownIsShownAfterTheFourthLine) {
    Fresh(119, 10);
    ev->EventVariable[var::FlowerGiftCount] = 9;
    test::EventResponders player(headless.Backend());
    ASSERT_TRUE(EvFlowerbed003());
    EXPECT_EQ(LinesBefore("picture", "evg08.bmp"), 4);
    // The voices of evfm03 count up by one per line.
    const std::vector<std::string> voices = transcript->Texts("voice");
    ASSERT_EQ(voices.size(), 18u);
    EXPECT_EQ(transcript->Texts("voicepack"), std::vector<std::string>{"evfm03"});
}

// ---- the walk

TEST_F(FlowerbedTest, OneVisitShowsTheFirstEventThatHolds) {
    struct Step {
        int day, hour;
        std::vector<int> setFlags;
        int gifts;  // -1: leave the count as it stands
        const char* ran;
    };
    struct Case {
        const char* what;
        std::vector<Step> visits;
        int flowers;  // the stock of flowers after the last visit
    };
    const Case cases[] = {
        {"the birthday, then a late first visit the same day",
         {{23, 10, {}, -1, "EvFlowerbed000"}, {23, 11, {}, -1, "EvFlowerbed006"}},
         14},
        {"the first visit, then back again the same day",
         {{3, 10, {}, -1, "EvFlowerbed001"}, {3, 12, {}, -1, "EvFlowerbed002"}},
         4},
        {"the first visit on day 11, then a plain visit the next day",
         {{11, 10, {}, -1, "EvFlowerbed001"}, {12, 10, {}, -1, "EvFlowerbed017"}},
         8},
        {"the crown after six gifts, not after five",
         {{100, 10, {flag::FirstFlowersGiven}, 5, "EvFlowerbed017"},
          {101, 10, {}, 5, "EvFlowerbed017"},
          {102, 10, {}, 6, "EvFlowerbed003"}},
         8},
        {"no crown outside May",
         {{95, 10, {flag::FirstFlowersGiven}, 6, "EvFlowerbed017"},
          {120, 10, {}, 9, "EvFlowerbed017"}},
         8},
        {"never a collapse without a gift",
         {{216, 10, {flag::FirstFlowersGiven}, 0, "EvFlowerbed017"},
          {233, 10, {}, -1, "EvFlowerbed004"}},
         4},
        {"no collapse after October 18",
         {{234, 10, {flag::FirstFlowersGiven}, 5, "EvFlowerbed017"}},
         4},
        {"the outing only from 10:00 to 14:00",
         {{60, 15, {flag::FirstFlowersGiven, flag::HotSpringFound}, -1, "EvFlowerbed017"},
          {61, 9, {}, -1, "EvFlowerbed017"},
          {62, 14, {}, -1, "EvFlowerbed005"}},
         8},
        {"the late school talk is missed when the early one ran",
         {{19, 10, {flag::FirstFlowersGiven}, -1, "EvFlowerbed013"},
          {30, 10, {}, -1, "EvFlowerbed017"}},
         8},
        {"the late school talk when the early one was missed",
         {{30, 10, {flag::FirstFlowersGiven}, -1, "EvFlowerbed014"},
          {48, 10, {}, -1, "EvFlowerbed017"}},
         8},
        {"the summer talks",
         {{156, 10, {flag::FirstFlowersGiven}, -1, "EvFlowerbed015"},
          {170, 10, {}, -1, "EvFlowerbed017"}},
         8},
        {"the summer talk once the holidays began",
         {{155, 10, {flag::FirstFlowersGiven}, -1, "EvFlowerbed017"},
          {178, 10, {}, -1, "EvFlowerbed016"},
          {179, 10, {}, -1, "EvFlowerbed017"}},
         12},
        {"after her illness began, no flowers until the cure on her route",
         {{240, 10, {flag::FirstFlowersGiven, flag::FloraeCollapsed}, -1, ""},
          {241, 10, {flag::RouteFlorae}, -1, ""},
          {242, 10, {flag::FloraeSightRestored}, -1, "EvFlowerbed012"},
          {243, 10, {}, -1, "EvFlowerbed017"}},
         8},
        {"the cure without her route",
         {{240,
           10,
           {flag::FirstFlowersGiven, flag::FloraeCollapsed, flag::FloraeSightRestored},
           -1,
           "EvFlowerbed012"},
          {241, 10, {}, -1, ""}},
         4},
        {"she no longer tends her flowerbed",
         {{200, 10, {flag::FirstFlowersGiven, flag::FloraeDied}, -1, ""}},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh(0, 10);
        test::EventResponders player(headless.Backend());
        int lastDay = -1;
        for (const Step& s : c.visits) {
            if (lastDay >= 0 && s.day != lastDay) ev->ClearDailyFlags();
            lastDay = s.day;
            SetGameDay(s.day);
            SetGameHour(s.hour);
            GameFlow->Place = place::FloraeHouse;
            for (int f : s.setFlags) ev->SetFlg(f, true);
            if (s.gifts >= 0) ev->EventVariable[var::FlowerGiftCount] = s.gifts;
            EXPECT_EQ(Visit(), s.ran) << "day " << s.day << " " << s.hour << ":00";
        }
        EXPECT_EQ(ItemStock(item::FloraeFlowers), c.flowers);
    }
}

TEST_F(FlowerbedTest, TheMonthlyTalksComeInTheirOrderAfterTheFirstVisit) {
    test::EventResponders player(headless.Backend());
    EXPECT_EQ(Visit(), "EvFlowerbed001");
    struct Step {
        int day;
        const char* ran;
    };
    // Each one once, at the first visit on or after its day; a plain visit between.
    const Step steps[] = {{23, "EvFlowerbed000"}, {25, "EvFlowerbed007"},  {26, "EvFlowerbed014"},
                          {27, "EvFlowerbed017"}, {50, "EvFlowerbed008"},  {80, "EvFlowerbed009"},
                          {81, "EvFlowerbed017"}, {130, "EvFlowerbed010"}, {205, "EvFlowerbed011"},
                          {206, "EvFlowerbed017"}};
    for (const Step& s : steps) {
        ev->ClearDailyFlags();
        SetGameDay(s.day);
        SetGameHour(10);
        GameFlow->Place = place::FloraeHouse;
        EXPECT_EQ(Visit(), s.ran) << s.day;
    }
}

TEST_F(FlowerbedTest, EveryGiftOfFourCountsAlsoWhenTheStockIsFull) {
    test::EventResponders player(headless.Backend());
    ev->SetFlg(flag::FirstFlowersGiven, true);
    SetItemStock(item::FloraeFlowers, 97);
    SetGameDay(30);
    ASSERT_TRUE(EvFlowerbed017());
    EXPECT_EQ(ItemStock(item::FloraeFlowers), 99);
    EXPECT_EQ(ev->EventVariable[var::FlowerGiftCount], 1);
    ASSERT_TRUE(EvFlowerbed017());
    EXPECT_EQ(ItemStock(item::FloraeFlowers), 99);
    EXPECT_EQ(ev->EventVariable[var::FlowerGiftCount], 2);
}

TEST_F(FlowerbedTest, AFailedConditionChangesNothing) {
    // Every event with its conditions failing in a fresh game at 15:00 on day 100,
    // but the plain visit, which holds.
    Fresh(100, 15);
    ev->SetFlg(flag::FirstFlowersGiven, true);
    for (int i = 0; i < 17; ++i) {
        ResetPlays();
        EXPECT_FALSE(FlowerbedEvents[i]()) << i;
    }
    EXPECT_EQ(Lines(), 0);
    EXPECT_TRUE(transcript->Texts("event").empty());
    EXPECT_EQ(ev->EventVariable[var::FlowerGiftCount], 0);
    EXPECT_EQ(GameHour(), 15);
}

TEST_F(FlowerbedTest, TheFlowerbedCommandSetsTheDailyFlagAfterAnEvent) {
    // 芙蘿蕾 tends her flowerbed at 17:00 on every school-day schedule.
    test::EventResponders player(headless.Backend());
    Fresh(2, 17);
    ClearNpcMet();
    VisitFlowerbed(17);
    EXPECT_EQ(Played(), std::vector<std::string>{"EvFlowerbed001"});
    EXPECT_TRUE(ev->TestFlg(flag::FlowerbedVisitedToday));
    ResetPlays();
    SetGameHour(17);
    GameFlow->Place = place::FloraeHouse;
    VisitFlowerbed(17);
    EXPECT_EQ(Played(), std::vector<std::string>{"EvFlowerbed002"});
    EXPECT_EQ(ItemStock(item::FloraeFlowers), 4);
}

TEST_F(FlowerbedTest, AYearOfVisitsAtHerHoursGivesTheCrownInMayAndTheCollapseInOctober) {
    // One visit a day through the flowerbed command, at the hour her schedule has her
    // at the flowerbed (the festival month in the morning, working days from 16:00):
    // six gifts by April, the crown in May, the collapse on 10月1日.
    test::EventResponders player(headless.Backend());
    struct Day {
        int day, hour;
        const char* want;
    };
    const Day days[] = {{0, 16, "EvFlowerbed001"},  {1, 16, "EvFlowerbed017"},
                        {18, 16, "EvFlowerbed013"}, {24, 10, "EvFlowerbed007"},
                        {49, 16, "EvFlowerbed008"}, {72, 16, "EvFlowerbed009"},
                        {96, 16, "EvFlowerbed003"}, {216, 16, "EvFlowerbed004"}};
    for (const Day& d : days) {
        SCOPED_TRACE(d.day);
        ev->DayChange();
        SetGameDay(d.day);
        SetGameHour(d.hour);
        GameFlow->Place = place::FloraeHouse;
        ClearNpcMet();
        ResetPlays();
        VisitFlowerbed(d.hour);
        const std::vector<std::string> p = Played();
        EXPECT_EQ(p.empty() ? std::string() : p.front(), d.want);
    }
    EXPECT_EQ(ev->EventVariable[var::FlowerGiftCount], 6);
    for (int f : {339, 388, 390, 391}) EXPECT_TRUE(ev->TestFlg(f)) << f;
    EXPECT_EQ(DayMarks[mark::FeverBegan], 216);
}

// ---- the data

TEST_F(FlowerbedTest, EverySceneIsPlayedOnceByItsEventAndEveryLineFits) {
    const std::string open = B5("「"), thought = B5("『"), blank = B5("　");
    int lines = 0, scenes = 0;
    for (const story::Scene& sc : story::Scenes()) {
        if (sc.file != kFile) continue;
        ++scenes;
        bool spoken = false;  // a bare line goes on with the last speaker's words
        for (const story::Step& st : sc.steps) {
            if (st.kind != story::StepKind::Line) continue;
            ++lines;
            const std::size_t tag = std::min(st.text.find(open), st.text.find(thought));
            const bool tagged = tag != std::string::npos && tag > 0 && tag % 2 == 0;
            const bool narration = st.text.rfind(blank, 0) == 0;
            EXPECT_TRUE(tagged || narration || spoken) << sc.key << ": " << ui::Big5ToUtf8(st.text);
            spoken = tagged || (spoken && !narration);
            if (!tagged) {
                // Narration: at most 5 rows of at most 32 full-width characters.
                int rows = 0;
                std::size_t from = 0;
                for (;;) {
                    const std::size_t nl = st.text.find('\n', from);
                    const std::size_t len = (nl == std::string::npos ? st.text.size() : nl) - from;
                    EXPECT_LE(len, 64u) << sc.key;
                    ++rows;
                    if (nl == std::string::npos) break;
                    from = nl + 1;
                }
                EXPECT_LE(rows, 5) << sc.key;
            }
            DbTxtForm2->SetText(st.text);
            DbTxtForm2->Tick();
            EXPECT_FALSE(DbTxtForm2->TestState(kMsgPageFull))
                << sc.key << ": " << ui::Big5ToUtf8(st.text);
        }
    }
    EXPECT_EQ(lines, 332);
    EXPECT_EQ(scenes, 21);  // a body for each event, and three steps most of them share

    // Every event once, each of its scenes once.
    test::EventResponders player(headless.Backend());
    ResetPlays();
    for (int i = 0; i < 18; ++i) {
        ev->NewGameReset();
        ev->ConditionOverride = 1;
        EXPECT_TRUE(FlowerbedEvents[i]()) << i;
    }
    ev->ConditionOverride = 0;
    for (const story::Scene& s : story::Scenes())
        if (s.file == kFile && s.key.rfind("Ev", 0) == 0) {
            EXPECT_EQ(s.plays, 1) << s.key;
        }
    EXPECT_EQ(Lines(), 332);
}

}  // namespace
