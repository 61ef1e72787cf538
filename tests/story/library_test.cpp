// 芙蘿蕾 in the library, at the square and in her room, played headless through the
// real message window with the transcript: every event under its own conditions with
// every record of its text accounted for, the walks of the library and the square
// under her schedules, and the knocks at her house after the cure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/RuntimeDraws.h"
#include "tests/support/StoryFixture.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"
#include "town/Whereabouts.h"

namespace {

using Counts = test::StoryTest::Counts;
constexpr char kFile[] = "Library.txt";
constexpr char kKnock[] = "seDrNck.wav", kDoor[] = "seDoor.wav", kTumble[] = "seTumbl.wav";

// The state after the cure: the fever (391) cured (396), the first visit after it made
// (400), on a day well after the fever began.
const std::vector<int> kCured = {flag::FloraeCollapsed, flag::PotionGiven, flag::FloraeBlindVisit};
constexpr int kCuredDay = 250, kFeverDay = 230;

std::vector<int> With(std::vector<int> flags, std::initializer_list<int> more) {
    flags.insert(flags.end(), more);
    return flags;
}
const std::vector<int> kSilent6 =
    With(kCured, {flag::SilentVisit1, flag::SilentVisit2, flag::SilentVisit3, flag::SilentVisit4,
                  flag::SilentVisit5, flag::SilentVisit6});
const std::vector<int> kCheerful =
    With(kSilent6, {flag::SilentVisitRepeated, flag::FloraeSpeaksAgain});

using test::EventCase;

// What the room and the library show beside the common expectations.
struct Shown {
    int thoughts;                // the heroine's thoughts; -1 not counted
    std::vector<int> music;      // tracks started, in order
    std::vector<int> faces;      // every face in order (the room), or
    std::vector<int> firstUses;  // the faces in order of first use (the library, the square)
    std::vector<std::string> sounds;
};
struct Row {
    EventCase c;
    Shown shown;
};

// Taken from the events' descriptions: counts, flags, clock, place, music and faces.
const std::vector<Row>& Rows() {
    const std::vector<std::string> door = {kKnock, kDoor};
    static const std::vector<Row> rows = {
        // ---- the library, at 15:00 on days of her weekday schedule
        {{.name = "EvMove019",
          .event = EvMove019,
          .day = 1,
          .hour = 15,
          .place = place::Library,
          .draws = {70},
          .speakers = {{"緹菈", 5}, {"芙蘿蕾", 4}},
          .changed = {flag::LibraryMeeting1}},
         {1, {track::FloraeMusic, track::TownMusic}, {}, {0, 2}, {}}},
        {{.name = "EvMove020",
          .event = EvMove020,
          .day = 49,
          .hour = 15,
          .place = place::Library,
          .flags = {flag::LibraryMeeting1},
          .draws = {70},
          .speakers = {{"緹菈", 13}, {"芙蘿蕾", 11}},
          .changed = {flag::LibraryMeeting2},
          .placeAfter = place::School},
         {0, {track::FloraeMusic, track::TownMusic}, {}, {0, 19, 2, 18, 13, 14, 10, 3, 9, 4}, {}}},
        {{.name = "EvMove021",
          .event = EvMove021,
          .day = 72,
          .hour = 15,
          .place = place::Library,
          .flags = {flag::LibraryMeeting1, flag::LibraryMeeting2},
          .draws = {70},
          .speakers = {{"緹菈", 17}, {"芙蘿蕾", 9}, {"", 1}},
          .changed = {flag::LibraryMeeting3},
          .hours = 1,
          .placeAfter = place::School},
         {0, {track::FloraeMusic, track::TownMusic}, {}, {0, 19, 20, 9, 3, 15, 21, 2, 7, 10}, {}}},
        {{.name = "EvMove022",
          .event = EvMove022,
          .day = 96,
          .hour = 15,
          .place = place::Library,
          .flags = {flag::LibraryMeeting1, flag::LibraryMeeting2, flag::LibraryMeeting3},
          .draws = {70},
          .speakers = {{"緹菈", 18}, {"芙蘿蕾", 8}, {"", 2}},
          .changed = {flag::LibraryMeeting4},
          .hours = 1,
          .placeAfter = place::Bakery},
         {0,
          {track::FloraeMusic, track::BakeryMusic, track::TownMusic},
          {},
          {0, 19, 7, 10, 9, 2, 13, 18, 5, 3, 11},
          {}}},
        // the greeting on a rest day, whose schedule is not the weekday one
        {{.name = "EvMove150",
          .event = EvMove150,
          .day = 5,
          .hour = 14,
          .place = place::Library,
          .draws = {70},
          .speakers = {{"緹菈", 4}, {"芙蘿蕾", 3}}},
         {1, {track::FloraeMusic, track::TownMusic}, {}, {0, 2}, {}}},
        // ---- the square, at 16:00
        {{.name = "EvMove033",
          .event = EvMove033,
          .day = 50,
          .hour = 16,
          .place = place::Square,
          .draws = {30},
          .speakers = {{"緹菈", 10}, {"", 1}, {"芙蘿蕾", 5}, {"芙蘿蕾的母親", 3}},
          .changed = {flag::SquareMeeting1}},
         {-1, {track::FloraeMusic, track::TownMusic}, {}, {0, 2, 18, 6, 5, 1}, {}}},
        {{.name = "EvMove034",
          .event = EvMove034,
          .day = 72,
          .hour = 16,
          .place = place::Square,
          .flags = {flag::SquareMeeting1},
          .draws = {30},
          .speakers = {{"緹菈", 8}, {"芙蘿蕾", 6}},
          .changed = {flag::SquareMeeting2}},
         {0, {track::FloraeMusic, track::TownMusic}, {}, {0, 2, 13, 4}, {}}},
        {{.name = "EvMove149",
          .event = EvMove149,
          .day = 10,
          .hour = 16,
          .place = place::Square,
          .draws = {30},
          .speakers = {{"緹菈", 4}, {"芙蘿蕾", 4}}},
         {0, {track::FloraeMusic, track::TownMusic}, {}, {0, 2}, {}}},
        // ---- her room: her mother in the first month, without knock, music or face
        {{.name = "EvMove137",
          .event = EvMove137,
          .day = 0,
          .hour = 10,
          .place = place::FloraeRoom,
          .speakers = {{"芙蘿蕾的母親", 4}, {"緹菈", 3}},
          .changed = {flag::FloraeMotherMet},
          .placeAfter = place::FloraeHouse},
         {0, {}, {}, {}, {}}},
        // ---- her room after the cure: the silent visits, in order
        {{.name = "EvMove035",
          .event = EvMove035,
          .day = kCuredDay,
          .hour = 12,
          .place = place::FloraeRoom,
          .flags = kCured,
          .marks = {{mark::FeverBegan, kFeverDay}},
          .speakers = {{"緹菈", 7}, {"芙蘿蕾", 2}},
          .changed = {flag::FloraeVisitedToday, flag::SilentVisit1},
          .varsAfter = {{var::SilentVisitCount, 1}},
          .placeAfter = place::FloraeHouse},
         {2, {track::FloraeMusic, track::TownMusic}, {2, 18, 15, 1, 2}, {}, door}},
        {{.name = "EvMove036",
          .event = EvMove036,
          .day = kCuredDay,
          .hour = 12,
          .place = place::FloraeRoom,
          .flags = With(kCured, {flag::SilentVisit1}),
          .marks = {{mark::FeverBegan, kFeverDay}},
          .speakers = {{"緹菈", 10}, {"芙蘿蕾", 2}},
          .changed = {flag::FloraeVisitedToday, flag::SilentVisit2},
          .varsAfter = {{var::SilentVisitCount, 1}},
          .hours = 1,
          .placeAfter = place::FloraeHouse},
         {0, {track::FloraeMusic, track::TownMusic}, {2, 20, 0, 2, 20, 20, 9, 18, 0}, {}, door}},
        {{.name = "EvMove037",
          .event = EvMove037,
          .day = kCuredDay,
          .hour = 12,
          .place = place::FloraeRoom,
          .flags = With(kCured, {flag::SilentVisit1, flag::SilentVisit2}),
          .marks = {{mark::FeverBegan, kFeverDay}},
          .speakers = {{"緹菈", 10}, {"芙蘿蕾", 2}},
          .changed = {flag::FloraeVisitedToday, flag::SilentVisit3},
          .varsAfter = {{var::SilentVisitCount, 1}},
          .placeAfter = place::FloraeHouse},
         {0,
          {track::FloraeMusic, track::TownMusic},
          {2, 51, 22, 18, 2, 13, 11, 2, 3, 0},
          {},
          {kKnock, kDoor, kTumble}}},
        {{.name = "EvMove038",
          .event = EvMove038,
          .day = kCuredDay,
          .hour = 12,
          .place = place::FloraeRoom,
          .flags = With(kCured, {flag::SilentVisit1, flag::SilentVisit2, flag::SilentVisit3}),
          .marks = {{mark::FeverBegan, kFeverDay}},
          .speakers = {{"緹菈", 9}, {"芙蘿蕾", 2}, {"", 1}},
          .changed = {flag::FloraeVisitedToday, flag::SilentVisit4},
          .varsAfter = {{var::SilentVisitCount, 1}},
          .placeAfter = place::FloraeHouse},
         {0, {track::FloraeMusic, track::TownMusic}, {2, 3, 0, 9, 2, 3, 2, 0}, {}, door}},
        {{.name = "EvMove039",
          .event = EvMove039,
          .day = kCuredDay,
          .hour = 12,
          .place = place::FloraeRoom,
          .flags = With(kCured, {flag::SilentVisit1, flag::SilentVisit2, flag::SilentVisit3,
                                 flag::SilentVisit4}),
          .marks = {{mark::FeverBegan, kFeverDay}},
          .speakers = {{"緹菈", 6}, {"芙蘿蕾", 2}},
          .changed = {flag::FloraeVisitedToday, flag::SilentVisit5},
          .varsAfter = {{var::SilentVisitCount, 1}},
          .placeAfter = place::FloraeHouse},
         {1, {track::FloraeMusic, track::TownMusic}, {2, 3, 0, 2, 1, 0}, {}, door}},
        {{.name = "EvMove040",
          .event = EvMove040,
          .day = kCuredDay,
          .hour = 12,
          .place = place::FloraeRoom,
          .flags = With(kCured, {flag::SilentVisit1, flag::SilentVisit2, flag::SilentVisit3,
                                 flag::SilentVisit4, flag::SilentVisit5}),
          .marks = {{mark::FeverBegan, kFeverDay}},
          .speakers = {{"緹菈", 15}, {"芙蘿蕾", 4}, {"", 1}},
          .changed = {flag::FloraeVisitedToday, flag::SilentVisit6},
          .varsAfter = {{var::SilentVisitCount, 1}},
          .placeAfter = place::FloraeHouse},
         {2,
          {track::FloraeMusic, track::MusicBox, track::TownMusic},
          {2, 1, 2, 18, 9, 7, 3, 1, 3, 0, 7},
          {},
          door}},
        {{.name = "EvMove041",
          .event = EvMove041,
          .day = kCuredDay,
          .hour = 12,
          .place = place::FloraeRoom,
          .flags = kSilent6,
          .marks = {{mark::FeverBegan, kFeverDay}},
          .speakers = {{"緹菈", 6}, {"芙蘿蕾", 1}},
          .changed = {flag::FloraeVisitedToday, flag::SilentVisitRepeated},
          .varsAfter = {{var::SilentVisitCount, 1}},
          .placeAfter = place::FloraeHouse},
         {4, {track::FloraeMusic, track::TownMusic}, {2, 0, 1, 0}, {}, door}},
        // ---- the cheerful visits
        {{.name = "EvMove042",
          .event = EvMove042,
          .day = kCuredDay,
          .hour = 12,
          .place = place::FloraeRoom,
          .flags = kCheerful,
          .vars = {{var::SilentVisitCount, 8}},
          .marks = {{mark::FeverBegan, kFeverDay}},
          .speakers = {{"緹菈", 6}, {"芙蘿蕾", 5}},
          .changed = {flag::FloraeVisitedToday, flag::CheerfulVisit1},
          .placeAfter = place::FloraeHouse},
         {0, {track::FloraeMusic, track::TownMusic}, {2, 0, 2, 0, 2}, {}, door}},
        {{.name = "EvMove043",
          .event = EvMove043,
          .day = kCuredDay,
          .hour = 12,
          .place = place::FloraeRoom,
          .flags = With(kCheerful, {flag::CheerfulVisit1}),
          .vars = {{var::SilentVisitCount, 8}},
          .marks = {{mark::FeverBegan, kFeverDay}},
          .speakers = {{"緹菈", 4}, {"芙蘿蕾", 5}},
          .changed = {flag::FloraeVisitedToday, flag::CheerfulVisit2},
          .placeAfter = place::FloraeHouse},
         {0, {track::FloraeMusic, track::TownMusic}, {2, 0, 2}, {}, door}},
        {{.name = "EvMove044",
          .event = EvMove044,
          .day = kCuredDay,
          .hour = 12,
          .place = place::FloraeRoom,
          .flags = With(kCheerful, {flag::CheerfulVisit1, flag::CheerfulVisit2}),
          .vars = {{var::SilentVisitCount, 8}},
          .marks = {{mark::FeverBegan, kFeverDay}},
          .speakers = {{"緹菈", 5}, {"芙蘿蕾", 2}},
          .changed = {flag::FloraeVisitedToday},
          .placeAfter = place::FloraeHouse},
         {3, {track::FloraeMusic, track::TownMusic}, {2, 0, 0}, {}, door}},
    };
    return rows;
}

std::vector<int> FirstUses(const std::vector<int>& faces) {
    std::vector<int> out;
    for (int f : faces)
        if (std::find(out.begin(), out.end(), f) == out.end()) out.push_back(f);
    return out;
}

// The events of these scenes, by name.
bool OfThisArc(const std::string& name) {
    static const std::set<std::string> names = {
        "EvMove019", "EvMove020", "EvMove021", "EvMove022", "EvMove033", "EvMove034", "EvMove035",
        "EvMove036", "EvMove037", "EvMove038", "EvMove039", "EvMove040", "EvMove041", "EvMove042",
        "EvMove043", "EvMove044", "EvMove137", "EvMove149", "EvMove150"};
    return names.count(name) > 0;
}

class LibraryTest : public test::StoryTest {
protected:
    // The town's music plays before each case. After the fever began (391) it began on
    // kFeverDay; after she speaks again (406) the eight silent visits are behind her (a
    // case's own marks and variables come after).
    void Arrange(const EventCase& c) override {
        ev->PlayMusic(track::TownMusic, true);
        const auto has = [&](int f) { return std::count(c.flags.begin(), c.flags.end(), f) > 0; };
        if (has(flag::FloraeCollapsed)) DayMarks[mark::FeverBegan] = kFeverDay;
        if (has(flag::FloraeSpeaksAgain)) ev->EventVariable[var::SilentVisitCount] = 8;
    }
    // The heroine's thoughts among the lines.
    int Thoughts() {
        int n = 0;
        for (const std::string& l : transcript->Texts("line")) n += l.rfind("緹菈『", 0) == 0;
        return n;
    }
    std::vector<std::string> Sounds() { return transcript->Texts("sound"); }
    std::vector<std::string> Figures() { return transcript->Texts("figure"); }

    // Plays one row and checks what it shows beside what it leaves: the persistent
    // flags (kept by a new game) stay as they were.
    void Play(const Row& r) {
        std::vector<int> persistent;
        for (int f = kFirstPersistentFlag; f < kFirstPlaceOpenFlag; ++f)
            if (ev->TestFlg(f)) persistent.push_back(f);
        StoryTest::Play(r.c);
        SCOPED_TRACE(r.c.name);
        std::vector<int> persistentAfter;
        for (int f = kFirstPersistentFlag; f < kFirstPlaceOpenFlag; ++f)
            if (ev->TestFlg(f)) persistentAfter.push_back(f);
        EXPECT_EQ(persistentAfter, persistent);
        if (r.shown.thoughts >= 0) {
            EXPECT_EQ(Thoughts(), r.shown.thoughts);
        }
        EXPECT_EQ(Music(), r.shown.music);
        if (!r.shown.firstUses.empty()) {
            EXPECT_EQ(FirstUses(Numbers("face")), r.shown.firstUses);
        } else {
            EXPECT_EQ(Numbers("face"), r.shown.faces);
        }
        EXPECT_EQ(Sounds(), r.shown.sounds);
    }

    // One walk of the move table; the events of this arc that played.
    std::vector<std::string> Walk(void (*arrive)()) {
        story::ResetPlays();
        transcript->Clear();
        test::EventResponders player(headless.Backend());
        arrive();
        std::vector<std::string> out;
        for (const std::string& name : Played())
            if (OfThisArc(name)) out.push_back(name);
        return out;
    }
    // Arrives once per seed 1..seeds: each time at most one event of this arc plays,
    // one that `may` holds ("" for none), and every event `may` names plays for some seed.
    void ExpectOutcomes(std::uint32_t seeds, const std::set<std::string>& may,
                        const std::function<void()>& setUp, void (*arrive)()) {
        std::set<std::string> seen = {""};
        for (std::uint32_t seed = 1; seed <= seeds; ++seed) {
            setUp();
            ui::Srand(seed);
            const std::vector<std::string> played = Walk(arrive);
            ASSERT_LE(played.size(), 1u);
            const std::string name = played.empty() ? "" : played.front();
            EXPECT_EQ(may.count(name), 1u) << "seed " << seed << ": " << name;
            seen.insert(name);
        }
        EXPECT_EQ(seen, may);
    }
    static void Library() { GameFlow->DoMoveCommand(command::kLibrary); }
    static void Square() { RunMoveEvents(); }
    static void Knock() { VisitFlowerHouse(GameHour()); }
};

// ---- every event, and every record of its text

TEST_F(LibraryTest, EveryEventPlaysItsLinesAndChangesAndEveryRecordIsPlayed) {
    story::ResetPlays();
    for (const Row& r : Rows()) Play(r);
    ExpectAllPlayed(kFile);
}

TEST_F(LibraryTest, TheLinesAreOfTheirFormAndCount) {
    const std::string blank = B5("　");
    int lines = 0, bare = 0, narration = 0, silences = 0;
    Counts speakers;
    for (const story::Scene& sc : story::Scenes()) {
        if (sc.file != kFile) continue;
        for (const story::Step& st : sc.steps) {
            if (st.kind != story::StepKind::Line) continue;
            ++lines;
            const std::string utf8 = ui::Big5ToUtf8(st.text);
            EXPECT_EQ(story::LineProblem(st.text), "") << sc.key << ": " << utf8;
            for (const std::string close : {"」", "』"})
                EXPECT_FALSE(utf8.ends_with(close)) << sc.key << ": " << utf8;
            const std::string tag = story::SpeakerTag(st.text);
            if (!tag.empty()) ++speakers[ui::Big5ToUtf8(tag)];
            narration += st.text.rfind(blank, 0) == 0;
            bare += tag.empty() && st.text.rfind(blank, 0) != 0;
            silences += utf8 == "芙蘿蕾「……";
        }
    }
    EXPECT_EQ(lines, 95 + 41 + 114);
    EXPECT_EQ(speakers, (Counts{{"緹菈", 160}, {"芙蘿蕾", 77}, {"芙蘿蕾的母親", 7}}));
    EXPECT_EQ(narration, 5);
    EXPECT_EQ(bare, 1);  // the square: her words to her late mother
    // Every reply of 芙蘿蕾 in the silent visits is a silence.
    EXPECT_EQ(silences, 2 + 2 + 2 + 2 + 2 + 4 + 1);
}

// ---- the library

TEST_F(LibraryTest, TheLibraryMeetingsTheirPlacesAndTheirHour) {
    test::EventResponders player(headless.Backend());
    // The third: an hour asleep in the library, then out at the school.
    Start(72, 15, place::Library, {flag::LibraryMeeting1, flag::LibraryMeeting2});
    ui::Srand(test::SeedFor({70}));
    ASSERT_TRUE(EvMove021());
    EXPECT_EQ(transcript->Texts("place"), (std::vector<std::string>{"17", "7"}));
    EXPECT_EQ(Figures(), (std::vector<std::string>{
                             "show 44 centre", "show 43 centre", "show 44 centre", "show 46 centre",
                             "show 44 centre", "show 43 centre", "show 44 centre"}));
    // The fourth: an hour on to the bakery, with its music.
    Start(96, 15, place::Library,
          {flag::LibraryMeeting1, flag::LibraryMeeting2, flag::LibraryMeeting3});
    ui::Srand(test::SeedFor({70}));
    ASSERT_TRUE(EvMove022());
    EXPECT_EQ(transcript->Texts("place"), std::vector<std::string>{"4"});
    EXPECT_EQ(GameHour(), 16);
    // An hour that reaches the heroine's limit shows no tired scene inside an event:
    // the event runs on to its end, at the bakery.
    Start(96, 23, place::Library,
          {flag::LibraryMeeting1, flag::LibraryMeeting2, flag::LibraryMeeting3});
    SetCondition(2);
    ev->ConditionOverride = 1;
    ev->m_ScheduleVariant = 0;
    ASSERT_TRUE(EvMove022());
    EXPECT_EQ(GameFlow->Place, place::Bakery);
    EXPECT_TRUE(ev->TestFlg(flag::LibraryMeeting4));
    EXPECT_EQ(Lines(), 28);
}

TEST_F(LibraryTest, TheChainNeedsHerWeekdayScheduleEvenUnderTheOverride) {
    test::EventResponders player(headless.Backend());
    for (int variant : {-1, 1, 2}) {
        Start(100, 15, place::Library);
        ev->ConditionOverride = 1;
        ev->m_ScheduleVariant = variant;
        EXPECT_FALSE(EvMove019()) << variant;
        EXPECT_FALSE(EvMove022()) << variant;
        EXPECT_EQ(Lines(), 0);
    }
    Start(100, 15, place::Library);
    ev->ConditionOverride = 1;
    ev->m_ScheduleVariant = 0;
    EXPECT_TRUE(EvMove019());
    EXPECT_TRUE(ev->TestFlg(flag::LibraryMeeting1));
}

// Each arrival in the library, whatever the draws: the events of this arc that may
// play, and those that must play for some seeds.
TEST_F(LibraryTest, EachVisitPlaysAtMostTheLinkItsDayAndScheduleAllow) {
    struct Case {
        const char* what;
        int day, hour;
        std::vector<int> flags;
        std::set<std::string> may;  // "" for nothing of this arc; each event is seen too
    };
    const std::set<std::string> chain1 = {"EvMove019", "EvMove150", ""};
    const std::set<std::string> greeting = {"EvMove150", ""};
    const Case cases[] = {
        // Unintroduced: a failed draw leaves the room to the library's introduction.
        {"the first visit, the library not introduced", 1, 15, {}, {"EvMove019", ""}},
        {"a school day at 15:00", 1, 15, {flag::IntroLibrary}, chain1},
        {"a school day at 14:00", 2, 14, {flag::IntroLibrary}, chain1},
        {"the rest day", 5, 14, {flag::IntroLibrary}, greeting},
        {"a special day", 30, 14, {flag::IntroLibrary}, greeting},
        {"day 48, special too", 48, 14, {flag::IntroLibrary, flag::LibraryMeeting1}, greeting},
        {"the second link before day 48",
         20,
         15,
         {flag::IntroLibrary, flag::LibraryMeeting1},
         greeting},
        {"the second link from day 48",
         49,
         15,
         {flag::IntroLibrary, flag::LibraryMeeting1},
         {"EvMove020", "EvMove150", ""}},
        {"the third before day 72",
         70,
         15,
         {flag::IntroLibrary, flag::LibraryMeeting1, flag::LibraryMeeting2},
         greeting},
        {"the fourth from day 96",
         97,
         15,
         {flag::IntroLibrary, flag::LibraryMeeting1, flag::LibraryMeeting2, flag::LibraryMeeting3},
         {"EvMove022", "EvMove150", ""}},
        {"the chain done",
         100,
         15,
         {flag::IntroLibrary, flag::LibraryMeeting1, flag::LibraryMeeting2, flag::LibraryMeeting3,
          flag::LibraryMeeting4},
         greeting},
        {"during her fever", 240, 15, {flag::IntroLibrary, flag::FloraeCollapsed}, {""}},
        {"she is gone", 100, 15, {flag::IntroLibrary, flag::FloraeDied}, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectOutcomes(
            12, c.may, [&] { Start(c.day, c.hour, place::School, c.flags); }, Library);
    }
}

TEST_F(LibraryTest, OverTheYearTheLinksComeInOrderOnePerVisitFromTheirDays) {
    // Flag 516 marks the ghost night as played: from day 132 it would take the visit
    // after the fourth link (its own test plays it).
    Start(0, 15, place::School, {flag::IntroLibrary, flag::GhostNight});
    std::vector<std::pair<std::string, int>> links;
    for (int day = 0; day < 140; ++day) {
        ev->ClearDailyFlags();
        ClearNpcMet();
        SetGameDay(day);
        SetGameHour(15);
        GameFlow->Place = place::School;
        ui::Srand(1000 + day);
        for (const std::string& name : Walk(Library))
            if (name != "EvMove150") links.emplace_back(name, day);
    }
    ASSERT_EQ(links.size(), 4u);
    const char* names[] = {"EvMove019", "EvMove020", "EvMove021", "EvMove022"};
    const int firstDays[] = {0, 48, 72, 96};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(links[i].first, names[i]);
        EXPECT_GE(links[i].second, firstDays[i]);
        const int d = links[i].second;
        EXPECT_FALSE(d % 6 == 5 || (d >= 24 && d <= 48)) << d;  // her weekday schedule
        if (i) {
            EXPECT_GT(d, links[i - 1].second);
        }
    }
    EXPECT_TRUE(ev->TestFlg(flag::LibraryMeeting4));
}

// ---- the square

TEST_F(LibraryTest, HerMotherComesInOnTheLeftAndMovesHerDaughterToTheRight) {
    test::EventResponders player(headless.Backend());
    Start(50, 16, place::Square);
    ui::Srand(test::SeedFor({30}));
    ASSERT_TRUE(EvMove033());
    EXPECT_EQ(Figures(), (std::vector<std::string>{"show 43 centre", "show 44 centre",
                                                   "show 43 centre", "show 35 left",
                                                   "show 44 right", "clear left", "clear right"}));
    // The town's music comes back before her thoughts, the last five lines.
    const std::vector<std::string> lines = transcript->Texts("line");
    EXPECT_EQ(lines[lines.size() - 3], "媽媽，請妳在天上看著我。\n我一定會成為了不起的魔法師。");
}

TEST_F(LibraryTest, EachArrivalAtTheSquarePlaysAtMostTheMeetingItsDayAllows) {
    struct Case {
        const char* what;
        int day;
        std::vector<int> flags;
        std::set<std::string> may;
    };
    const Case cases[] = {
        {"before day 24", 10, {flag::IntroSquare}, {"EvMove149", ""}},
        {"from day 24", 50, {flag::IntroSquare}, {"EvMove033", "EvMove149", ""}},
        {"the second before day 72",
         60,
         {flag::IntroSquare, flag::SquareMeeting1},
         {"EvMove149", ""}},
        {"the second from day 72",
         80,
         {flag::IntroSquare, flag::SquareMeeting1},
         {"EvMove034", "EvMove149", ""}},
        {"both done",
         80,
         {flag::IntroSquare, flag::SquareMeeting1, flag::SquareMeeting2},
         {"EvMove149", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectOutcomes(
            24, c.may, [&] { Start(c.day, 16, place::Square, c.flags); }, Square);
    }
}

// ---- her room

TEST_F(LibraryTest, HerMotherReceivesTheHeroineOnceOnASchoolDayOfTheFirstMonth) {
    struct Case {
        const char* what;
        int day, hour;
        std::vector<int> flags;
        bool plays;
    };
    const Case cases[] = {
        {"day 0 at 10:00", 0, 10, {}, true},
        {"day 22 at 14:00", 22, 14, {}, true},
        {"the rest day", 5, 10, {}, false},
        {"at 15:00", 1, 15, {}, false},
        {"day 24", 24, 10, {}, false},
        {"once met", 1, 10, {flag::FloraeMotherMet}, false},
        {"at 9:00, refused at the door", 1, 9, {}, false},
    };
    test::EventResponders player(headless.Backend());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start(c.day, c.hour, place::FloraeHouse, c.flags);
        const std::vector<std::string> played = Walk(Knock);
        EXPECT_EQ(played,
                  c.plays ? std::vector<std::string>{"EvMove137"} : std::vector<std::string>{});
        EXPECT_EQ(GameFlow->Place, place::FloraeHouse);
    }
}

// The knocks at 12:00 on the days after the first visit after the cure.
TEST_F(LibraryTest, TheKnocksAfterTheCurePlayTheSilentVisitsThenTheCheerfulOnes) {
    Start(kCuredDay, 12, place::FloraeHouse, kCured);
    test::EventResponders player(headless.Backend());
    int day = kCuredDay;
    auto knock = [&](int hour = 12) {
        ev->ClearDailyFlags();
        ClearNpcMet();
        SetGameDay(++day);
        SetGameHour(hour);
        GameFlow->Place = place::FloraeHouse;
        const std::vector<std::string> played = Walk(Knock);
        EXPECT_EQ(GameFlow->Place, place::FloraeHouse);
        return played.empty() ? std::string() : played.front();
    };
    const char* silent[] = {"EvMove035", "EvMove036", "EvMove037", "EvMove038",
                            "EvMove039", "EvMove040", "EvMove041", "EvMove041"};
    int lines = 0;
    for (const char* want : silent) {
        EXPECT_EQ(knock(), want);
        EXPECT_EQ(GameHour(), std::string(want) == "EvMove036" ? 13 : 12);
        lines += Lines();
        // A second knock the same day is turned away at the door.
        SetGameHour(14);
        EXPECT_TRUE(Walk(Knock).empty());
        EXPECT_EQ(Lines(), 1);
    }
    EXPECT_EQ(lines, 87);
    EXPECT_EQ(ev->EventVariable[var::SilentVisitCount], 8);
    for (int f = flag::SilentVisit1; f <= flag::SilentVisitRepeated; ++f)
        EXPECT_TRUE(ev->TestFlg(f)) << f;

    // She speaks again (the turn-start scene sets 406).
    ev->SetFlg(flag::FloraeSpeaksAgain, true);
    lines = 0;
    for (const char* want : {"EvMove042", "EvMove043", "EvMove044", "EvMove044"}) {
        EXPECT_EQ(knock(), want);
        lines += Lines();
    }
    EXPECT_EQ(lines, 34);
    EXPECT_EQ(ev->EventVariable[var::SilentVisitCount], 8);
    EXPECT_TRUE(ev->TestFlg(flag::CheerfulVisit1) && ev->TestFlg(flag::CheerfulVisit2));
    // Outside her hours she is not called on; with her sight back nothing of this plays.
    EXPECT_EQ(knock(19), "");
    ev->SetFlg(flag::FloraeSightRestored, true);
    EXPECT_EQ(knock(), "");
}

TEST_F(LibraryTest, TheMusicBoxPlaysUntilItFallsAndTheSighIsOutside) {
    test::EventResponders player(headless.Backend());
    Start(kCuredDay, 12, place::FloraeRoom,
          With(kCured, {flag::SilentVisit1, flag::SilentVisit2, flag::SilentVisit3,
                        flag::SilentVisit4, flag::SilentVisit5}));
    ASSERT_TRUE(EvMove040());
    const std::vector<std::string> music = transcript->Texts("music");
    const auto box = std::find(music.begin(), music.end(), "track 3 loop");
    ASSERT_NE(box, music.end());
    EXPECT_EQ(*(box + 1), "stop");
    // The frame shows her room, the knock shows it again, then the house outside.
    EXPECT_EQ(transcript->Texts("place"), (std::vector<std::string>{"12", "12", "1"}));
    EXPECT_EQ(transcript->Texts("line").back(), "緹菈「唉……");
}

TEST_F(LibraryTest, TheDozingVisitShowsHerRoomAgainAfterTheHour) {
    test::EventResponders player(headless.Backend());
    Start(kCuredDay, 12, place::FloraeRoom, With(kCured, {flag::SilentVisit1}));
    ASSERT_TRUE(EvMove036());
    // The frame, the knock, the hour later, the house outside.
    EXPECT_EQ(transcript->Texts("place"), (std::vector<std::string>{"12", "12", "12", "1"}));
    EXPECT_EQ(Figures(), (std::vector<std::string>{"show 54 centre", "show 54 centre"}));
}

TEST_F(LibraryTest, FailedConditionsDrawNothingAndShowNothing) {
    struct Case {
        const char* what;
        bool (*event)();
        int day, hour, place;
        std::vector<int> flags;
    };
    const Case cases[] = {
        {"the first link done", EvMove019, 1, 15, place::Library, {flag::LibraryMeeting1}},
        {"the second before day 48", EvMove020, 47, 15, place::Library, {flag::LibraryMeeting1}},
        {"the third before the second", EvMove021, 80, 15, place::Library, {flag::LibraryMeeting1}},
        {"the fourth before day 96",
         EvMove022,
         95,
         15,
         place::Library,
         {flag::LibraryMeeting1, flag::LibraryMeeting2, flag::LibraryMeeting3}},
        {"the square before day 24", EvMove033, 23, 16, place::Square, {}},
        {"the second square meeting before 72",
         EvMove034,
         71,
         16,
         place::Square,
         {flag::SquareMeeting1}},
        {"a silent visit before the cure's visit",
         EvMove035,
         kCuredDay,
         12,
         place::FloraeRoom,
         {flag::FloraeCollapsed, flag::PotionGiven}},
        {"a silent visit out of order", EvMove037, kCuredDay, 12, place::FloraeRoom,
         With(kCured, {flag::SilentVisit1})},
        {"a silent visit once she speaks", EvMove041, kCuredDay, 12, place::FloraeRoom,
         With(kSilent6, {flag::FloraeSpeaksAgain})},
        {"a silent visit outside her room", EvMove035, kCuredDay, 12, place::FloraeHouse, kCured},
        {"a cheerful visit before she speaks", EvMove042, kCuredDay, 12, place::FloraeRoom,
         kSilent6},
        {"a cheerful visit with her sight back", EvMove044, kCuredDay, 12, place::FloraeRoom,
         With(kCheerful, {flag::CheerfulVisit1, flag::CheerfulVisit2, flag::FloraeSightRestored})},
        {"her mother on the rest day", EvMove137, 11, 10, place::FloraeRoom, {}},
        {"her mother after 14:00", EvMove137, 1, 15, place::FloraeRoom, {}},
    };
    test::EventResponders player(headless.Backend());
    for (const Case& c : cases) {
        Start(c.day, c.hour, c.place, c.flags);
        const std::uint32_t state = ui::RandState();
        EXPECT_FALSE(c.event()) << c.what;
        EXPECT_EQ(ui::RandState(), state) << c.what;
        EXPECT_EQ(Lines(), 0) << c.what;
        EXPECT_EQ(GameFlow->Place, c.place) << c.what;
    }
}

}  // namespace
