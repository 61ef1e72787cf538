// The library's ghost night played headless through the real message window with the
// transcript: its conditions and its two slots, every way through the shelves with
// every caption of every choice, the lines of each scene, the clock, the place and the
// flag it leaves, and a save that brings the real program to its first choice.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
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
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"
#include "town/Srcdbtxtform21.h"
#include "town/Whereabouts.h"

namespace {

using Counts = test::StoryTest::Counts;
constexpr char kFile[] = "GhostNight.txt";
constexpr int kOpening = 0;  // the opening, as a scene of the tables below

// The lines each scene shows, shared beats counted in every scene that plays them.
const std::map<int, int> kSceneLines = {{kOpening, 81}, {2, 7},   {3, 11},  {4, 4},   {5, 7},
                                        {6, 23},        {7, 7},   {10, 9},  {12, 9},  {14, 9},
                                        {8, 93},        {11, 18}, {13, 34}, {15, 43}, {16, 29},
                                        {17, 4},        {18, 17}, {19, 8},  {20, 17}};

// The captions of each scene's choice (the opening's is the first), as shown.
const std::map<int, std::string> kCaptions = {
    {kOpening, "『照芙蘿蕾所說，往北４格。 / 『不知道該怎麼辦，往西６格。 / 『還是只能往東３格。"},
    {2, "『往北１格。 / 『往西７格。 / 『往東６格。"},
    {3, "『往北３格。 / 『往南５格。 / 『往東２格。"},
    {4, "『往北４格。 / 『往西１２格。 / 『往東２格。"},
    {5, "『太晚了，回家吧。 / 『先到那邊看看吧。 / 『靜下來仔細地再聽一次。"},
    {6, "『往南邊逃！ / 『往西邊逃！ / 『往東邊逃！"},
    {7, "『往北邊逃！ / 『往南邊逃！ / 『往東邊逃！"},
    {10,
     "『照芙蘿蕾說的往北前進４格。 / 『我想想看噢、往西６格好了。 / "
     "『還是往東吧，不過這次走３格。"},
    {12, "『往北１格。 / 『往西７格。 / 『往東６格。"},
    {14, "『往東２格。 / 『往南５格。 / 『往北３格。"},
};

// A way through the night: the answers given, the scenes they lead through and the
// hour it ends at.
struct Route {
    std::vector<int> answers;
    std::vector<int> scenes;
    int endHour;
    std::vector<int> music;  // tracks started by the night, in order
};

// Together they pick every caption of every choice, play each wrong-way scene twice
// in a row and reach every ending.
const Route kRoutes[] = {
    {{0, 0},
     {2, 11},
     18,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::LandMusic}},
    {{0, 1, 1, 0},
     {2, 12, 12, 11},
     18,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::LandMusic}},
    {{0, 2, 2},
     {2, 3, 13},
     18,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::CocotteMusic,
      track::LandMusic}},
    {{0, 2, 1, 1, 0},
     {2, 3, 14, 14, 13},
     18,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::CocotteMusic,
      track::LandMusic}},
    {{0, 1, 2, 1, 2, 0},
     {2, 12, 3, 14, 4, 16},
     18,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::LandMusic}},
    {{0, 2, 0, 2},
     {2, 3, 4, 15},
     18,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::CocotteMusic,
      track::MusicBox, track::LandMusic}},
    {{0, 2, 0, 1, 0},
     {2, 3, 4, 5, 17},
     18,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::LandMusic}},
    {{0, 2, 0, 1, 1},
     {2, 3, 4, 5, 18},
     18,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic}},
    {{0, 2, 0, 1, 2, 0},
     {2, 3, 4, 5, 6, 19},
     19,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::GhostMusic,
      track::LandMusic}},
    {{0, 2, 0, 1, 2, 1},
     {2, 3, 4, 5, 6, 19},
     19,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::GhostMusic,
      track::LandMusic}},
    {{0, 2, 0, 1, 2, 2, 1},
     {2, 3, 4, 5, 6, 7, 19},
     19,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::GhostMusic,
      track::LandMusic}},
    {{0, 2, 0, 1, 2, 2, 2},
     {2, 3, 4, 5, 6, 7, 20},
     19,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::GhostMusic,
      track::LandMusic}},
    {{1, 2, 2, 0, 0},
     {10, 10, 10, 2, 11},
     18,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::LandMusic}},
    // The detour to the best ending.
    {{2, 1, 0, 2, 0, 1, 2, 2, 0},
     {10, 10, 2, 3, 4, 5, 6, 7, 8},
     19,
     {track::FloraeMusic, track::LandMusic, track::WizardHouseMusic, track::GhostMusic,
      track::LandMusic, track::QuietNightMusic, track::LandMusic, track::MusicBox,
      track::LandMusic}},
};

const int kEndings[] = {8, 11, 13, 15, 16, 17, 18, 19, 20};

std::string SceneName(int n) { return (n < 10 ? "Scene0" : "Scene") + std::to_string(n); }

class GhostNightTest : public test::StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        // The generator as the first line of a night finds it: the draws of the
        // conditions end there, and the hours the night passes draw their own.
        watch_ = headless.Backend().AddResponder([this] {
            if (!atFirstLine_ && DbTxtForm2 && DbTxtForm2->Visible())
                atFirstLine_ = ui::RandState();
            return false;
        });
        Evening(140, 15, place::Library);
    }
    void TearDown() override {
        headless.Backend().RemoveResponder(watch_);
        StoryTest::TearDown();
    }
    // A new game on `day` at `hour` at `place`, the fourth library meeting behind her
    // (the accounting of earlier plays kept when `keepPlays`).
    void Evening(int day, int hour, int place, bool keepPlays = false) {
        if (keepPlays)
            NewGame(day, hour, place);
        else
            Fresh(day, hour, place);
        ClearNpcMet();
        ev->SetFlg(flag::LibraryMeeting4, true);
        atFirstLine_.reset();
    }
    // The draws from `seed` to the night's first line, or to now when no night began.
    int DrawsToNight(std::uint32_t seed) {
        if (!atFirstLine_) return test::DrawsSince(seed);
        std::uint32_t s = seed;
        for (int n = 0; n < 10000; ++n, s = test::RandStep(s))
            if (s == *atFirstLine_) return n;
        return -1;
    }
    // How often each scene of the night played since the last reset.
    std::map<int, int> ScenePlays() {
        std::map<int, int> out;
        for (int n = 2; n <= 20; ++n)
            if (const story::Scene* s = story::FindScene("EvMove124", SceneName(n)); s && s->plays)
                out[n] = s->plays;
        return out;
    }
    std::vector<std::string> LineSpeakers() {
        std::vector<std::string> out;
        for (const std::string& s : transcript->Texts("speaker"))
            out.push_back(s.substr(0, s.rfind(" face ")));
        return out;
    }
    std::vector<int> Stock() {
        std::vector<int> out;
        for (int i = 0; i < kItemCount; ++i) out.push_back(ItemStock(i));
        return out;
    }
    // The night's own tracks: every one started before the event's end chose the
    // place's music.
    std::vector<int> NightMusic() {
        std::vector<int> tracks = Music();
        if (!tracks.empty()) tracks.pop_back();
        return tracks;
    }

    int watch_ = 0;
    std::optional<std::uint32_t> atFirstLine_;
};

// ---- the slots and the conditions

TEST_F(GhostNightTest, StandsInSlots124And128) {
    EXPECT_EQ(MoveEvents[124], &EvMove124);
    EXPECT_EQ(MoveEvents[128], &EvMove124);
}

// Each condition in turn fails, in the order they are tested: the draws show whether
// 芙蘿蕾's schedule was asked, which comes before the place.
TEST_F(GhostNightTest, ConditionsAreTestedInOrder) {
    struct Case {
        const char* what;
        int day, hour, place;
        std::vector<int> flagsOn, flagsOff;
        std::vector<int> rolls;  // the schedule's draws, as SeedFor takes them
        bool runs;
        int draws;
    };
    const Case cases[] = {
        {"before day 132", 131, 15, place::Library, {}, {}, {70}, false, 0},
        {"after day 165", 166, 15, place::Library, {}, {}, {70}, false, 0},
        {"already played", 140, 15, place::Library, {flag::GhostNight}, {}, {70}, false, 0},
        {"no fourth meeting", 140, 15, place::Library, {}, {flag::LibraryMeeting4}, {70}, false, 0},
        {"芙蘿蕾 not there by the draw", 140, 15, place::Library, {}, {}, {-70}, false, 1},
        {"芙蘿蕾 not there at 16:00", 140, 16, place::Library, {}, {}, {70}, false, 0},
        {"the heroine elsewhere", 140, 15, place::School, {}, {}, {70}, false, 1},
        {"the rest day: there, but not by her weekday schedule",
         143,
         15,
         place::Library,
         {},
         {},
         {70},
         false,
         1},
        {"day 132 at 14:00", 132, 14, place::Library, {}, {}, {70}, true, 1},
        {"day 165 at 15:00", 165, 15, place::Library, {}, {}, {70}, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Evening(c.day, c.hour, c.place);
        for (int f : c.flagsOn) ev->SetFlg(f, true);
        for (int f : c.flagsOff) ev->SetFlg(f, false);
        const std::uint32_t seed = test::SeedFor(c.rolls);
        ui::Srand(seed);
        test::EventResponders player(headless.Backend());
        player.answers = {0, 0};
        EXPECT_EQ(EvMove124(), c.runs);
        EXPECT_EQ(DrawsToNight(seed), c.draws);
        EXPECT_EQ(Lines() > 0, c.runs);
        EXPECT_EQ(ev->TestFlg(flag::GhostNight),
                  c.runs || c.flagsOn == std::vector<int>{flag::GhostNight});
    }
}

// Under the debug window's override the schedule is not asked: the variant its last
// answer left decides.
TEST_F(GhostNightTest, UnderTheOverrideTheLastScheduleVariantDecides) {
    for (int variant : {-1, 1, 2}) {
        Evening(140, 15, place::Library);
        ev->m_ScheduleVariant = variant;
        EXPECT_FALSE(Forced(EvMove124)) << variant;
        EXPECT_EQ(Lines(), 0);
    }
    Evening(140, 15, place::Library);
    ev->m_ScheduleVariant = 0;
    test::EventResponders player(headless.Backend());
    player.answers = {0, 0};
    const std::uint32_t state = ui::RandState();
    EXPECT_TRUE(Forced(EvMove124));
    EXPECT_EQ(DrawsToNight(state), 0);
    EXPECT_EQ(Lines(), 81 + 7 + 18);
}

// The second chance: nothing draws before slot 124; a failed draw there lets slots
// 125..127 pass without a draw, and slot 128 draws afresh.
TEST_F(GhostNightTest, Slot128DrawsAgainWhenSlot124Fails) {
    struct Case {
        std::uint32_t seed;
        std::vector<int> rolls;
        int slot;  // where the night starts
    };
    const Case cases[] = {{4, {86, 52}, 128}, {1, {47}, 124}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed);
        Evening(140, 15, place::Library);
        for (int f : {flag::LibraryMeeting1, flag::LibraryMeeting2, flag::LibraryMeeting3,
                      flag::IntroLibrary})
            ev->SetFlg(f, true);
        // The rolls the issue names, from this seed.
        std::uint32_t s = c.seed;
        for (int roll : c.rolls) {
            EXPECT_EQ(test::RollFrom(s), roll);
            s = test::RandStep(s);
        }
        // The walk slot by slot, as RunMoveEvents makes it.
        ui::Srand(c.seed);
        test::EventResponders player(headless.Backend());
        player.answers = {0, 0};
        std::vector<std::pair<int, int>> drew;  // slot, draws taken there
        int ran = -1;
        for (int slot = 0; slot < kEventTableSlots && MoveEvents[slot]; ++slot) {
            NpcMetPending = 0;
            const std::uint32_t before = ui::RandState();
            const bool holds = MoveEvents[slot]();
            if (const int n = DrawsToNight(before); n) drew.emplace_back(slot, n);
            if (holds) {
                ran = slot;
                break;
            }
        }
        EXPECT_EQ(ran, c.slot);
        std::vector<std::pair<int, int>> want = {{124, 1}};
        if (c.slot == 128) want.emplace_back(128, 1);
        EXPECT_EQ(drew, want);
        EXPECT_EQ(Played(), std::vector<std::string>{"EvMove124"});
        EXPECT_TRUE(ev->TestFlg(flag::GhostNight));
        // The real walk does the same.
        Evening(140, 15, place::Library);
        for (int f : {flag::LibraryMeeting1, flag::LibraryMeeting2, flag::LibraryMeeting3,
                      flag::IntroLibrary})
            ev->SetFlg(f, true);
        ui::Srand(c.seed);
        player.answers = {0, 0};
        EXPECT_TRUE(RunMoveEvents());
        EXPECT_EQ(DrawsToNight(c.seed), static_cast<int>(c.rolls.size()));
        EXPECT_EQ(Played(), std::vector<std::string>{"EvMove124"});
    }
}

// ---- every way through the shelves

TEST_F(GhostNightTest, EveryRoutePlaysItsScenesLinesClockAndEnd) {
    story::ResetPlays();
    std::map<int, Counts> perScene;  // the speakers of each scene, the first time it plays
    std::map<int, int> endings;
    for (const Route& r : kRoutes) {
        SCOPED_TRACE(::testing::PrintToString(r.answers));
        Evening(140, 15, place::Library, true);
        const std::vector<int> flagsBefore = FlagsNow();
        const std::vector<int> stockBefore = Stock();
        const int moneyBefore = GameMoney();
        const int reputationBefore = GameReputation();
        ui::Srand(test::SeedFor({70}));
        // Plays counted on top of the earlier routes: this route's own are the rise.
        const std::map<int, int> playsBefore = ScenePlays();
        test::EventResponders player(headless.Backend());
        player.answers = {r.answers.begin(), r.answers.end()};
        ASSERT_TRUE(EvMove124());
        EXPECT_TRUE(player.answers.empty());

        // The scenes in the route's order, each as often as it lies on the way.
        std::map<int, int> want = playsBefore;
        for (int n : r.scenes) ++want[n];
        EXPECT_EQ(ScenePlays(), want);
        // The choices offered, in order, with their captions.
        std::vector<std::string> captions = {kCaptions.at(kOpening)};
        for (int n : r.scenes)
            if (kCaptions.count(n)) captions.push_back(kCaptions.at(n));
        EXPECT_EQ(transcript->Texts("choice"), captions);
        EXPECT_EQ(player.choicesAnswered, static_cast<int>(r.answers.size()));

        // The lines: the opening's, then each scene's, in order.
        const std::vector<std::string> speakers = LineSpeakers();
        std::size_t at = 0;
        std::vector<int> parts = {kOpening};
        parts.insert(parts.end(), r.scenes.begin(), r.scenes.end());
        int lines = 0;
        for (int n : parts) lines += kSceneLines.at(n);
        ASSERT_EQ(static_cast<int>(speakers.size()), lines);
        EXPECT_EQ(player.linesAcknowledged, lines);
        for (int n : parts) {
            Counts c;
            for (int k = 0; k < kSceneLines.at(n); ++k) ++c[speakers[at++]];
            if (!perScene.count(n)) perScene[n] = c;
            EXPECT_EQ(perScene[n], c) << "scene " << n;
        }
        const int ending = r.scenes.back();
        ++endings[ending];
        // Each ending closes with the heroine's thought (two after the comics shelf,
        // three after the seed), with 芙蘿蕾 gone from the stage before it.
        const std::vector<std::string> texts = transcript->Texts("line");
        const int thoughts = ending == 8 ? 3 : (ending == 13 || ending == 15) ? 2 : 1;
        for (int k = 1; k <= thoughts + 1; ++k) {
            const std::string& t = texts[texts.size() - static_cast<std::size_t>(k)];
            EXPECT_EQ(t.rfind("緹菈『", 0) == 0, k <= thoughts) << t;
        }
        int linesAfterClear = -1;
        for (const ui::TranscriptEntry& e : transcript->Entries()) {
            if (e.kind == "figure" && e.text == "clear centre") linesAfterClear = 0;
            if (e.kind == "figure" && e.text.rfind("show ", 0) == 0) linesAfterClear = -1;
            if (e.kind == "line" && linesAfterClear >= 0) ++linesAfterClear;
        }
        EXPECT_EQ(linesAfterClear, ending == 8 ? 2 : thoughts);
        // 芙蘿蕾's figures only, in the centre.
        for (const std::string& f : transcript->Texts("figure")) {
            if (f == "clear centre") continue;
            const int figure = std::atoi(f.c_str() + 5);
            EXPECT_TRUE(figure >= 43 && figure <= 46 && f.substr(f.rfind(' ') + 1) == "centre")
                << f;
        }
        EXPECT_EQ(NightMusic(), r.music);

        // The clock, the place, the flag, and nothing else.
        EXPECT_EQ(GameDay(), 140);
        EXPECT_EQ(GameHour(), r.endHour);
        EXPECT_EQ(GameFlow->Place, place::School);
        EXPECT_EQ(transcript->Texts("place").back(), "7");
        EXPECT_EQ(FlagsChanged(flagsBefore, FlagsNow()), std::vector<int>{flag::GhostNight});
        EXPECT_EQ(Stock(), stockBefore);
        EXPECT_EQ(GameMoney(), moneyBefore);
        EXPECT_EQ(GameReputation(), reputationBefore);
        EXPECT_EQ(ev->ConditionOverride, 0);
        // It never comes again.
        ui::Srand(test::SeedFor({70}));
        GameFlow->Place = place::Library;
        SetGameHour(15);
        transcript->Clear();
        EXPECT_FALSE(EvMove124());
        EXPECT_EQ(Lines(), 0);
    }
    for (int e : kEndings) EXPECT_GT(endings[e], 0) << "ending " << e;
    ExpectAllPlayed(kFile);

    // The opening, and the whole night as the issue counts it.
    EXPECT_EQ(perScene[kOpening],
              (Counts{{"緹菈", 45}, {"芙蘿蕾", 31}, {"？？？？", 3}, {"書中的小矮人？", 2}}));
    Counts total;
    int all = 0;
    for (const auto& [scene, c] : perScene)
        for (const auto& [who, n] : c) {
            total[who] += n;
            all += n;
        }
    EXPECT_EQ(all, 430);
    EXPECT_EQ(total, (Counts{{"緹菈", 236},
                             {"芙蘿蕾", 154},
                             {"？？？？", 7},
                             {"書中的小矮人？", 5},
                             {"小矮人", 1},
                             {"好像是幽靈？", 2},
                             {"果然是幽靈？", 1},
                             {"幽靈！？", 1},
                             {"幽靈？", 6},
                             {"圖書館的幽靈？", 1},
                             {"圖書館的幽靈", 2},
                             {"幽靈妹妹", 5},
                             {"小女孩", 4},
                             {"光", 1},
                             {"小種子", 4}}));
}

// The detour: two wrong ways at the start, then the straight way to the best ending.
TEST_F(GhostNightTest, TheDetourToTheSeedTakesFourHoursAnd251Lines) {
    ui::Srand(test::SeedFor({70}));
    const std::vector<int> stockBefore = Stock();
    test::EventResponders player(headless.Backend());
    player.answers = {2, 1, 0, 2, 0, 1, 2, 2, 0};
    ASSERT_TRUE(EvMove124());
    EXPECT_EQ(Lines(), 251);
    EXPECT_EQ(GameHour(), 19);
    EXPECT_EQ(GameFlow->Place, place::School);
    EXPECT_TRUE(ev->TestFlg(flag::GhostNight));
    EXPECT_EQ(Stock(), stockBefore);
    // The fall off the chair: her face, then the tumble.
    const std::vector<ui::TranscriptEntry>& entries = transcript->Entries();
    bool fell = false;
    for (std::size_t i = 0; i + 1 < entries.size(); ++i)
        fell = fell || (entries[i].kind == "face" && entries[i].text == "51" &&
                        entries[i + 1].kind == "sound" && entries[i + 1].text == "seTumbl.wav");
    EXPECT_TRUE(fell);
    EXPECT_EQ(Numbers("voice"), std::vector<int>{});
}

// A save for the real program (tests/scripts/ghost_night.txt): day 140 at 8:00, when
// a loaded game wakes in the bedroom and comes down to the shop after breakfast, with
// the library's meetings, the school's and library's introductions and the first
// meeting with 蕾妮特 (who would call at the shop at 14:00) behind her. It
// is written to this test's scratch folder; the script's run loads it from a copy of
// the game folder.
TEST_F(GhostNightTest, PreparesASaveBeforeTheNight) {
    Evening(140, 8, place::ShopInside);
    for (int f : {flag::LibraryMeeting1, flag::LibraryMeeting2, flag::LibraryMeeting3,
                  flag::IntroLibrary, flag::IntroSchool, flag::RenetteMet})
        ev->SetFlg(f, true);
    const std::string folder = ui::ProgramFolder();
    const std::string dir = test::ScratchDir("ghostnight_save");
    ui::SetProgramFolder(dir);
    const bool saved = SaveGame(0);
    ui::SetProgramFolder(folder);
    ASSERT_TRUE(saved);
    std::int32_t day = 0, money = 0;
    ui::SetProgramFolder(dir);
    EXPECT_TRUE(PeekSaveSlot(0, day, money));
    ui::SetProgramFolder(folder);
    EXPECT_EQ(day, 140);
}

}  // namespace
