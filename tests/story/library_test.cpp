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
const std::vector<int> kCured = {391, 396, 400};
constexpr int kCuredDay = 250, kFeverDay = 230;

std::vector<int> With(std::vector<int> flags, std::initializer_list<int> more) {
    flags.insert(flags.end(), more);
    return flags;
}
const std::vector<int> kSilent6 = With(kCured, {460, 461, 462, 463, 464, 465});
const std::vector<int> kCheerful = With(kSilent6, {466, 406});

struct Row {
    const char* name;
    bool (*event)();
    int day, hour, place;
    std::vector<int> flags;  // set before
    int chance;              // the schedule's chance the first draw meets; 0 none drawn
    Counts speakers;         // lines per speaker ("" narration and the bare line)
    int thoughts;            // the heroine's thoughts; -1 not counted
    std::vector<int> sets;   // flags changed, ascending
    int silentAfter;         // SilentVisitCount at the end (it starts at 0, or 8 with 406)
    int hours, endsAt;
    std::vector<int> music;      // tracks started, in order
    std::vector<int> faces;      // every face in order (the room), or
    std::vector<int> firstUses;  // the faces in order of first use (the library, the square)
    std::vector<std::string> sounds;
};

// Taken from the events' descriptions: counts, flags, clock, place, music and faces.
const std::vector<Row>& Rows() {
    const std::vector<std::string> door = {kKnock, kDoor};
    // One event a row, its columns as the struct gives them.
    // clang-format off
    static const std::vector<Row> rows = {
        // ---- the library, at 15:00 on days of her weekday schedule
        {"EvMove019", EvMove019, 1, 15, 17, {}, 70,
         {{"緹菈", 5}, {"芙蘿蕾", 4}}, 1, {442}, 0, 0, 17, {6, 10}, {}, {0, 2}, {}},
        {"EvMove020", EvMove020, 49, 15, 17, {442}, 70,
         {{"緹菈", 13}, {"芙蘿蕾", 11}}, 0, {443}, 0, 0, 7, {6, 10}, {},
         {0, 19, 2, 18, 13, 14, 10, 3, 9, 4}, {}},
        {"EvMove021", EvMove021, 72, 15, 17, {442, 443}, 70,
         {{"緹菈", 17}, {"芙蘿蕾", 9}, {"", 1}}, 0, {444}, 0, 1, 7, {6, 10}, {},
         {0, 19, 20, 9, 3, 15, 21, 2, 7, 10}, {}},
        {"EvMove022", EvMove022, 96, 15, 17, {442, 443, 444}, 70,
         {{"緹菈", 18}, {"芙蘿蕾", 8}, {"", 2}}, 0, {445}, 0, 1, 4, {6, 5, 10}, {},
         {0, 19, 7, 10, 9, 2, 13, 18, 5, 3, 11}, {}},
        // the greeting on a rest day, whose schedule is not the weekday one
        {"EvMove150", EvMove150, 5, 14, 17, {}, 70,
         {{"緹菈", 4}, {"芙蘿蕾", 3}}, 1, {}, 0, 0, 17, {6, 10}, {}, {0, 2}, {}},
        // ---- the square, at 16:00
        {"EvMove033", EvMove033, 50, 16, 3, {}, 30,
         {{"緹菈", 10}, {"", 1}, {"芙蘿蕾", 5}, {"芙蘿蕾的母親", 3}}, -1, {457}, 0, 0, 3,
         {6, 10}, {}, {0, 2, 18, 6, 5, 1}, {}},
        {"EvMove034", EvMove034, 72, 16, 3, {457}, 30,
         {{"緹菈", 8}, {"芙蘿蕾", 6}}, 0, {458}, 0, 0, 3, {6, 10}, {}, {0, 2, 13, 4}, {}},
        {"EvMove149", EvMove149, 10, 16, 3, {}, 30,
         {{"緹菈", 4}, {"芙蘿蕾", 4}}, 0, {}, 0, 0, 3, {6, 10}, {}, {0, 2}, {}},
        // ---- her room: her mother in the first month, without knock, music or face
        {"EvMove137", EvMove137, 0, 10, 12, {}, 0,
         {{"芙蘿蕾的母親", 4}, {"緹菈", 3}}, 0, {534}, 0, 0, 1, {}, {}, {}, {}},
        // ---- her room after the cure: the silent visits, in order
        {"EvMove035", EvMove035, kCuredDay, 12, 12, kCured, 0,
         {{"緹菈", 7}, {"芙蘿蕾", 2}}, 2, {167, 460}, 1, 0, 1, {6, 10},
         {2, 18, 15, 1, 2}, {}, door},
        {"EvMove036", EvMove036, kCuredDay, 12, 12, With(kCured, {460}), 0,
         {{"緹菈", 10}, {"芙蘿蕾", 2}}, 0, {167, 461}, 1, 1, 1, {6, 10},
         {2, 20, 0, 2, 20, 20, 9, 18, 0}, {}, door},
        {"EvMove037", EvMove037, kCuredDay, 12, 12, With(kCured, {460, 461}), 0,
         {{"緹菈", 10}, {"芙蘿蕾", 2}}, 0, {167, 462}, 1, 0, 1, {6, 10},
         {2, 51, 22, 18, 2, 13, 11, 2, 3, 0}, {}, {kKnock, kDoor, kTumble}},
        {"EvMove038", EvMove038, kCuredDay, 12, 12, With(kCured, {460, 461, 462}), 0,
         {{"緹菈", 9}, {"芙蘿蕾", 2}, {"", 1}}, 0, {167, 463}, 1, 0, 1, {6, 10},
         {2, 3, 0, 9, 2, 3, 2, 0}, {}, door},
        {"EvMove039", EvMove039, kCuredDay, 12, 12, With(kCured, {460, 461, 462, 463}), 0,
         {{"緹菈", 6}, {"芙蘿蕾", 2}}, 1, {167, 464}, 1, 0, 1, {6, 10},
         {2, 3, 0, 2, 1, 0}, {}, door},
        {"EvMove040", EvMove040, kCuredDay, 12, 12,
         With(kCured, {460, 461, 462, 463, 464}), 0,
         {{"緹菈", 15}, {"芙蘿蕾", 4}, {"", 1}}, 2, {167, 465}, 1, 0, 1, {6, 3, 10},
         {2, 1, 2, 18, 9, 7, 3, 1, 3, 0, 7}, {}, door},
        {"EvMove041", EvMove041, kCuredDay, 12, 12, kSilent6, 0,
         {{"緹菈", 6}, {"芙蘿蕾", 1}}, 4, {167, 466}, 1, 0, 1, {6, 10}, {2, 0, 1, 0}, {}, door},
        // ---- the cheerful visits
        {"EvMove042", EvMove042, kCuredDay, 12, 12, kCheerful, 0,
         {{"緹菈", 6}, {"芙蘿蕾", 5}}, 0, {167, 468}, 8, 0, 1, {6, 10}, {2, 0, 2, 0, 2}, {},
         door},
        {"EvMove043", EvMove043, kCuredDay, 12, 12, With(kCheerful, {468}), 0,
         {{"緹菈", 4}, {"芙蘿蕾", 5}}, 0, {167, 469}, 8, 0, 1, {6, 10}, {2, 0, 2}, {}, door},
        {"EvMove044", EvMove044, kCuredDay, 12, 12, With(kCheerful, {468, 469}), 0,
         {{"緹菈", 5}, {"芙蘿蕾", 2}}, 3, {167}, 8, 0, 1, {6, 10}, {2, 0, 0}, {}, door},
    };
    // clang-format on
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
    // A new game on `day` at `hour` at `place` with `flags` set and nobody met yet; the
    // accounting goes on.
    void Start(int day, int hour, int place, const std::vector<int>& flags = {}) {
        NewGame(day, hour, place);
        ClearNpcMet();
        ev->ConditionOverride = 0;
        for (int f : flags) ev->SetFlg(f, true);
        if (ev->TestFlg(flag::FloraeCollapsed)) DayMarks[mark::FeverBegan] = kFeverDay;
        if (ev->TestFlg(flag::FloraeSpeaksAgain)) ev->EventVariable[var::SilentVisitCount] = 8;
        ev->PlayMusic(10, true);  // the town's music
        transcript->Clear();
    }
    // The heroine's thoughts among the lines.
    int Thoughts() {
        int n = 0;
        for (const std::string& l : transcript->Texts("line")) n += l.rfind("緹菈『", 0) == 0;
        return n;
    }
    std::vector<std::string> Sounds() { return transcript->Texts("sound"); }
    std::vector<std::string> Figures() { return transcript->Texts("figure"); }

    // Plays one row under its own conditions and checks what it leaves.
    void Play(const Row& r) {
        SCOPED_TRACE(r.name);
        Start(r.day, r.hour, r.place, r.flags);
        std::vector<bool> before(kEventFlagCount);
        for (int f = 1; f < kEventFlagCount; ++f) before[f] = ev->TestFlg(f);
        const int silentBefore = ev->EventVariable[var::SilentVisitCount];
        if (r.chance) ui::Srand(test::SeedFor({r.chance}));
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(r.event());
        EXPECT_EQ(Speakers(), r.speakers);
        int lines = 0;
        for (const auto& [who, n] : r.speakers) lines += n;
        EXPECT_EQ(Lines(), lines);
        EXPECT_EQ(player.linesAcknowledged, lines);
        if (r.thoughts >= 0) {
            EXPECT_EQ(Thoughts(), r.thoughts);
        }
        std::vector<int> changed;
        for (int f = 1; f < kEventFlagCount; ++f)
            if (ev->TestFlg(f) != before[f]) changed.push_back(f);
        EXPECT_EQ(changed, r.sets);
        EXPECT_EQ(ev->EventVariable[var::SilentVisitCount],
                  r.silentAfter ? r.silentAfter : silentBefore);
        EXPECT_EQ(GameDay(), r.day);
        EXPECT_EQ(GameHour(), r.hour + r.hours);
        EXPECT_EQ(GameFlow->Place, r.endsAt);
        EXPECT_EQ(Music(), r.music);
        if (!r.firstUses.empty()) {
            EXPECT_EQ(FirstUses(Numbers("face")), r.firstUses);
        } else {
            EXPECT_EQ(Numbers("face"), r.faces);
        }
        EXPECT_EQ(Sounds(), r.sounds);
        EXPECT_EQ(ev->ConditionOverride, 0);
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
    Start(72, 15, 17, {442, 443});
    ui::Srand(test::SeedFor({70}));
    ASSERT_TRUE(EvMove021());
    EXPECT_EQ(transcript->Texts("place"), (std::vector<std::string>{"17", "7"}));
    EXPECT_EQ(Figures(), (std::vector<std::string>{
                             "show 44 centre", "show 43 centre", "show 44 centre", "show 46 centre",
                             "show 44 centre", "show 43 centre", "show 44 centre"}));
    // The fourth: an hour on to the bakery, with its music.
    Start(96, 15, 17, {442, 443, 444});
    ui::Srand(test::SeedFor({70}));
    ASSERT_TRUE(EvMove022());
    EXPECT_EQ(transcript->Texts("place"), std::vector<std::string>{"4"});
    EXPECT_EQ(GameHour(), 16);
    // An hour that reaches the heroine's limit shows no tired scene inside an event:
    // the event runs on to its end, at the bakery.
    Start(96, 23, 17, {442, 443, 444});
    SetCondition(2);
    ev->ConditionOverride = 1;
    ev->m_ScheduleVariant = 0;
    ASSERT_TRUE(EvMove022());
    EXPECT_EQ(GameFlow->Place, 4);
    EXPECT_TRUE(ev->TestFlg(445));
    EXPECT_EQ(Lines(), 28);
}

TEST_F(LibraryTest, TheChainNeedsHerWeekdayScheduleEvenUnderTheOverride) {
    test::EventResponders player(headless.Backend());
    for (int variant : {-1, 1, 2}) {
        Start(100, 15, 17);
        ev->ConditionOverride = 1;
        ev->m_ScheduleVariant = variant;
        EXPECT_FALSE(EvMove019()) << variant;
        EXPECT_FALSE(EvMove022()) << variant;
        EXPECT_EQ(Lines(), 0);
    }
    Start(100, 15, 17);
    ev->ConditionOverride = 1;
    ev->m_ScheduleVariant = 0;
    EXPECT_TRUE(EvMove019());
    EXPECT_TRUE(ev->TestFlg(442));
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
        {"a school day at 15:00", 1, 15, {337}, chain1},
        {"a school day at 14:00", 2, 14, {337}, chain1},
        {"the rest day", 5, 14, {337}, greeting},
        {"a special day", 30, 14, {337}, greeting},
        {"day 48, special too", 48, 14, {337, 442}, greeting},
        {"the second link before day 48", 20, 15, {337, 442}, greeting},
        {"the second link from day 48", 49, 15, {337, 442}, {"EvMove020", "EvMove150", ""}},
        {"the third before day 72", 70, 15, {337, 442, 443}, greeting},
        {"the fourth from day 96", 97, 15, {337, 442, 443, 444}, {"EvMove022", "EvMove150", ""}},
        {"the chain done", 100, 15, {337, 442, 443, 444, 445}, greeting},
        {"during her fever", 240, 15, {337, 391}, {""}},
        {"she is gone", 100, 15, {337, 395}, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectOutcomes(
            12, c.may, [&] { Start(c.day, c.hour, 7, c.flags); }, Library);
    }
}

TEST_F(LibraryTest, OverTheYearTheLinksComeInOrderOnePerVisitFromTheirDays) {
    // Flag 516 marks the ghost night as played: from day 132 it would take the visit
    // after the fourth link (its own test plays it).
    Start(0, 15, 7, {337, 516});
    std::vector<std::pair<std::string, int>> links;
    for (int day = 0; day < 140; ++day) {
        ev->ClearDailyFlags();
        ClearNpcMet();
        SetGameDay(day);
        SetGameHour(15);
        GameFlow->Place = 7;
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
    EXPECT_TRUE(ev->TestFlg(445));
}

// ---- the square

TEST_F(LibraryTest, HerMotherComesInOnTheLeftAndMovesHerDaughterToTheRight) {
    test::EventResponders player(headless.Backend());
    Start(50, 16, 3);
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
        {"before day 24", 10, {323}, {"EvMove149", ""}},
        {"from day 24", 50, {323}, {"EvMove033", "EvMove149", ""}},
        {"the second before day 72", 60, {323, 457}, {"EvMove149", ""}},
        {"the second from day 72", 80, {323, 457}, {"EvMove034", "EvMove149", ""}},
        {"both done", 80, {323, 457, 458}, {"EvMove149", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectOutcomes(
            24, c.may, [&] { Start(c.day, 16, 3, c.flags); }, Square);
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
        {"once met", 1, 10, {534}, false},
        {"at 9:00, refused at the door", 1, 9, {}, false},
    };
    test::EventResponders player(headless.Backend());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start(c.day, c.hour, 1, c.flags);
        const std::vector<std::string> played = Walk(Knock);
        EXPECT_EQ(played,
                  c.plays ? std::vector<std::string>{"EvMove137"} : std::vector<std::string>{});
        EXPECT_EQ(GameFlow->Place, 1);
    }
}

// The knocks at 12:00 on the days after the first visit after the cure.
TEST_F(LibraryTest, TheKnocksAfterTheCurePlayTheSilentVisitsThenTheCheerfulOnes) {
    Start(kCuredDay, 12, 1, kCured);
    test::EventResponders player(headless.Backend());
    int day = kCuredDay;
    auto knock = [&](int hour = 12) {
        ev->ClearDailyFlags();
        ClearNpcMet();
        SetGameDay(++day);
        SetGameHour(hour);
        GameFlow->Place = 1;
        const std::vector<std::string> played = Walk(Knock);
        EXPECT_EQ(GameFlow->Place, 1);
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
    for (int f = 460; f <= 466; ++f) EXPECT_TRUE(ev->TestFlg(f)) << f;

    // She speaks again (the turn-start scene sets 406).
    ev->SetFlg(flag::FloraeSpeaksAgain, true);
    lines = 0;
    for (const char* want : {"EvMove042", "EvMove043", "EvMove044", "EvMove044"}) {
        EXPECT_EQ(knock(), want);
        lines += Lines();
    }
    EXPECT_EQ(lines, 34);
    EXPECT_EQ(ev->EventVariable[var::SilentVisitCount], 8);
    EXPECT_TRUE(ev->TestFlg(468) && ev->TestFlg(469));
    // Outside her hours she is not called on; with her sight back nothing of this plays.
    EXPECT_EQ(knock(19), "");
    ev->SetFlg(flag::FloraeSightRestored, true);
    EXPECT_EQ(knock(), "");
}

TEST_F(LibraryTest, TheMusicBoxPlaysUntilItFallsAndTheSighIsOutside) {
    test::EventResponders player(headless.Backend());
    Start(kCuredDay, 12, 12, With(kCured, {460, 461, 462, 463, 464}));
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
    Start(kCuredDay, 12, 12, With(kCured, {460}));
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
        {"the first link done", EvMove019, 1, 15, 17, {442}},
        {"the second before day 48", EvMove020, 47, 15, 17, {442}},
        {"the third before the second", EvMove021, 80, 15, 17, {442}},
        {"the fourth before day 96", EvMove022, 95, 15, 17, {442, 443, 444}},
        {"the square before day 24", EvMove033, 23, 16, 3, {}},
        {"the second square meeting before 72", EvMove034, 71, 16, 3, {457}},
        {"a silent visit before the cure's visit", EvMove035, kCuredDay, 12, 12, {391, 396}},
        {"a silent visit out of order", EvMove037, kCuredDay, 12, 12, With(kCured, {460})},
        {"a silent visit once she speaks", EvMove041, kCuredDay, 12, 12, With(kSilent6, {406})},
        {"a silent visit outside her room", EvMove035, kCuredDay, 12, 1, kCured},
        {"a cheerful visit before she speaks", EvMove042, kCuredDay, 12, 12, kSilent6},
        {"a cheerful visit with her sight back", EvMove044, kCuredDay, 12, 12,
         With(kCheerful, {468, 469, 407})},
        {"her mother on the rest day", EvMove137, 11, 10, 12, {}},
        {"her mother after 14:00", EvMove137, 1, 15, 12, {}},
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
