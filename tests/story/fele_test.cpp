// 斐爾's events played headless through the real message window with the transcript:
// the first song (at the spring and from the shop), the spring festival, 蕾妮特 at the
// spring, the sprained ankle, the beauty contest, the chats at the spring, the meetings
// in town and on the land, the lake and the two scenes overheard. Every branch plays,
// and every record of their text is played.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Savefile.h"
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/RuntimeDraws.h"
#include "tests/support/Scratch.h"
#include "tests/support/StoryFixture.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"
#include "town/SoundTables.h"
#include "town/Whereabouts.h"

namespace {

using Counts = test::StoryTest::Counts;
constexpr char kFile[] = "Fele.txt";

// Voice numbers a..b, in order.
std::vector<int> Span(int a, int b) {
    std::vector<int> out;
    for (int v = a; v <= b; ++v) out.push_back(v);
    return out;
}
std::vector<int> Join(std::vector<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// One play of an event: where and when, what is set before, the draws its whereabouts
// tests get (SeedFor's outcomes), and what it must leave.
struct Case {
    const char* name;
    bool (*event)();
    int day, hour, place;
    std::vector<int> flags = {};
    std::vector<int> draws = {};
    Counts speakers = {};
    std::vector<int> voices = {};
    std::vector<int> changed = {};  // flags changed, ascending (album flags aside)
    int hours = 0;
    int endPlace = -1;  // -1: where it started
};

class FeleTest : public test::StoryTest {
protected:
    // A new game at `place` on `day` at `hour`, with `flags` set; the plays are kept,
    // so that one test can account for the records of many events.
    void Start(int day, int hour, int place, const std::vector<int>& flags = {}) {
        ev->NewGameReset();
        ev->ConditionOverride = 0;
        ClearNpcMet();
        SetGameDay(day);
        SetGameHour(hour);
        GameFlow->Place = place;
        for (int f : flags) ev->SetFlg(f, true);
        transcript->Clear();
    }
    // A new day of the same game: the daily flags and the met records go.
    void NextDay(int day, int hour, int place) {
        for (int f = 160; f < 192; ++f) ev->SetFlg(f, false);
        ClearNpcMet();
        SetGameDay(day);
        SetGameHour(hour);
        GameFlow->Place = place;
    }
    std::vector<int> FlagsNow() {
        std::vector<int> on;
        for (int f = 1; f < kEventFlagCount; ++f)
            if (!(f >= 32 && f < 96) && ev->TestFlg(f)) on.push_back(f);
        return on;
    }
    static std::vector<int> Changed(const std::vector<int>& before, const std::vector<int>& after) {
        std::vector<int> out;
        std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(),
                                      std::back_inserter(out));
        return out;
    }
    // Plays one case and checks what it leaves.
    void Play(const Case& c) {
        SCOPED_TRACE(c.name);
        Start(c.day, c.hour, c.place, c.flags);
        const std::vector<int> before = FlagsNow();
        const int start = GameDay() * 24 + GameHour();
        ui::Srand(test::SeedFor(c.draws));
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(c.event());
        EXPECT_EQ(Speakers(), c.speakers);
        int lines = 0;
        for (const auto& [who, n] : c.speakers) lines += n;
        EXPECT_EQ(player.linesAcknowledged, lines);
        EXPECT_EQ(Voices(), c.voices);
        EXPECT_EQ(Changed(before, FlagsNow()), c.changed);
        EXPECT_EQ(GameDay() * 24 + GameHour() - start, c.hours);
        EXPECT_EQ(GameFlow->Place, c.endPlace < 0 ? c.place : c.endPlace);
        EXPECT_EQ(ev->ConditionOverride, 0);
    }
    // One arrival: the move table's walk; the events whose scenes played.
    std::vector<std::string> Arrive() {
        story::ResetPlays();
        transcript->Clear();
        test::EventResponders player(headless.Backend());
        RunMoveEvents();
        return Played();
    }
    // The lines spoken by `who` with `mark` (「 or 『) after the tag.
    int LinesOf(const std::string& who, const char* mark) {
        int n = 0;
        for (const std::string& line : transcript->Texts("line"))
            n += line.rfind(who + mark, 0) == 0;
        return n;
    }
    bool Transcribed(const char* kind, const std::string& text) {
        for (const std::string& t : transcript->Texts(kind))
            if (t == text) return true;
        return false;
    }
};

// Every event and branch, under the conditions that let it play. Day % 6 is the
// weekday: 1 and 3 are 斐爾's singing days, 5 the rest day.
const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        // ---- the first song, the festival, 蕾妮特 at the spring, the ankle
        {"EvMove006",
         EvMove006,
         1,
         10,
         34,
         {},
         {},
         {{"緹菈", 16}, {"斐爾", 10}, {"", 2}},
         Span(459, 484),
         {173, 354, 412}},
        {"EvMove006 on a wind day",
         EvMove006,
         3,
         15,
         34,
         {},
         {},
         {{"緹菈", 16}, {"斐爾", 10}, {"", 2}},
         Span(459, 484),
         {173, 354, 412}},
        {"EvTurnStart016",
         EvTurnStart016,
         25,
         9,
         10,
         {},
         {},
         {{"緹菈", 25}, {"黑皮", 4}, {"斐爾", 10}},
         Span(459, 484),
         {173, 412},
         1,
         34},
        {"EvTurnStart007",
         EvTurnStart007,
         48,
         9,
         11,
         {},
         {},
         {{"緹菈", 16}, {"黑皮", 5}, {"王子", 3}, {"蕾妮特", 3}, {"", 2}},
         Span(485, 501),
         {164, 413, 459},
         1,
         4},
        {"EvMove007",
         EvMove007,
         97,
         12,
         34,
         {386, 412, 413},
         {},
         {{"緹菈", 17}, {"斐爾", 12}, {"蕾妮特", 8}, {"", 2}},
         Span(502, 536),
         {414}},
        {"EvMove008",
         EvMove008,
         147,
         15,
         34,
         {386, 412, 413, 414},
         {},
         {{"緹菈", 21}, {"斐爾", 13}},
         Span(537, 568),
         {171, 173, 415},
         0,
         33},
        // ---- the chats at the spring, each from its first day
        {"EvMove045",
         EvMove045,
         1,
         15,
         34,
         {412},
         {},
         {{"緹菈", 6}, {"斐爾", 6}, {"", 1}},
         {},
         {472},
         1},
        {"EvMove046",
         EvMove046,
         31,
         10,
         34,
         {412, 472},
         {},
         {{"緹菈", 8}, {"斐爾", 8}},
         {},
         {473},
         1},
        {"EvMove047",
         EvMove047,
         55,
         10,
         34,
         {412, 473},
         {},
         {{"緹菈", 9}, {"斐爾", 10}},
         {},
         {474},
         1},
        {"EvMove048",
         EvMove048,
         79,
         10,
         34,
         {412, 474},
         {},
         {{"緹菈", 11}, {"斐爾", 11}},
         {},
         {475},
         1},
        {"EvMove151", EvMove151, 3, 10, 34, {412}, {}, {{"緹菈", 6}, {"斐爾", 4}}, {}, {}, 1},
        // ---- in town (day 2: his everyday schedule, one draw a place) and on the land
        {"EvMove158", EvMove158, 2, 12, 5, {412}, {10}, {{"緹菈", 6}, {"斐爾", 5}}},
        {"EvMove159", EvMove159, 2, 18, 4, {412}, {10}, {{"緹菈", 5}, {"斐爾", 4}}},
        {"EvMove160", EvMove160, 2, 12, 7, {412}, {10}, {{"緹菈", 5}, {"斐爾", 6}}},
        {"EvMove161", EvMove161, 2, 16, 3, {412}, {30}, {{"緹菈", 5}, {"斐爾", 4}}},
        {"EvMove162", EvMove162, 98, 10, 39, {412}, {10}, {{"緹菈", 6}, {"斐爾", 5}}, {}, {535}},
        {"EvMove163", EvMove163, 101, 14, 35, {412}, {30}, {{"緹菈", 11}, {"斐爾", 7}}, {}, {536}},
        {"EvMove164 at the big tree",
         EvMove164,
         2,
         10,
         39,
         {412},
         {40, 10},
         {{"緹菈", 6}, {"斐爾", 3}}},
        {"EvMove165 at the beach",
         EvMove165,
         2,
         11,
         41,
         {412},
         {40, -30, 30},
         {{"緹菈", 6}, {"斐爾", 3}}},
        {"EvMove166 at the spring", EvMove166, 1, 10, 34, {412}, {20}, {{"緹菈", 5}, {"斐爾", 4}}},
        {"EvMove166 at the lake",
         EvMove166,
         2,
         11,
         40,
         {412},
         {20, -30, -30, 30},
         {{"緹菈", 5}, {"斐爾", 4}}},
        // ---- the lake (S = 190) and the scenes overheard
        {"EvMove119",
         EvMove119,
         190,
         11,
         40,
         {360, 412},
         {},
         {{"緹菈", 26}, {"斐爾", 14}, {"黑皮", 4}, {"粉紅色精靈", 1}, {"水藍色精靈", 2}},
         {},
         {511},
         1,
         10},
        {"EvMove122",
         EvMove122,
         121,
         10,
         34,
         {412, 414},
         {},
         {{"緹菈", 8}, {"蕾妮特", 5}, {"斐爾", 4}},
         {},
         {514}},
        {"EvMove123",
         EvMove123,
         200,
         19,
         2,
         {431},
         {},
         {{"緹菈", 7}, {"蕾妮特", 4}, {"可可特", 1}},
         {},
         {515},
         0,
         4},
    };
    return cases;
}

// ---- every branch, and every record accounted for

TEST_F(FeleTest, EveryEventPlaysItsLinesAndChangesAndEveryRecordIsPlayed) {
    story::ResetPlays();
    for (const Case& c : Cases()) Play(c);
    // The lake's afternoon and the late arrival, on day S.
    const std::vector<int> cursed = {360, 412, 511};
    {
        SCOPED_TRACE("EvMove120");
        Start(190, 14, 40, cursed);
        DayMarks[mark::LakeCurseDay] = 190;
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvMove120());
        EXPECT_EQ(Speakers(), (Counts{{"緹菈", 41},
                                      {"斐爾", 32},
                                      {"黑皮", 3},
                                      {"芙蘿蕾", 7},
                                      {"粉紅色精靈", 2},
                                      {"水藍色精靈", 5}}));
        EXPECT_TRUE(ev->TestFlg(flag::LakeAfternoon));
    }
    {
        SCOPED_TRACE("EvMove121");
        Start(190, 16, 33, cursed);
        DayMarks[mark::LakeCurseDay] = 190;
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvMove121());
        EXPECT_EQ(Speakers(), (Counts{{"緹菈", 4}, {"蕾妮特", 5}}));
        EXPECT_TRUE(ev->TestFlg(flag::LakeTooLate));
        EXPECT_EQ(GameFlow->Place, 33);
    }
    // The contest's three ways: won, lost, and without the prince.
    for (const auto& [rep, flags] :
         {std::pair{20, std::vector<int>{412, 413}}, std::pair{19, std::vector<int>{412, 413}},
          std::pair{20, std::vector<int>{412}}}) {
        Start(179, 9, 10, flags);
        SetReputation(rep);
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart026());
    }
    ExpectAllPlayed(kFile);
}

TEST_F(FeleTest, TheLinesAreOfTheirForm) {
    int lines = 0;
    const std::string blank = B5("　");
    for (const story::Scene& sc : story::Scenes()) {
        if (sc.file != kFile) continue;
        for (const story::Step& st : sc.steps) {
            if (st.kind != story::StepKind::Line) continue;
            ++lines;
            EXPECT_TRUE(!story::SpeakerTag(st.text).empty() || st.text.rfind(blank, 0) == 0)
                << sc.key << ": " << ui::Big5ToUtf8(st.text);
            EXPECT_EQ(story::LineProblem(st.text), "") << sc.key;
            const std::string utf8 = ui::Big5ToUtf8(st.text);
            for (const std::string close : {"」", "』"})
                EXPECT_FALSE(utf8.ends_with(close)) << sc.key << ": " << utf8;
        }
    }
    // 28 and 13 for the twins' own lines with the 26 they share; the contest, 5.209's
    // chats, the meetings and the lake.
    EXPECT_EQ(lines, 2 + 13 + 26 + 29 + 39 + 34 + 126 + 80 + 96 + 175);
}

// The 26 voiced lines of the first meeting are one record set: the shop's twin plays
// them as its lines 11..36, after its own prologue.
TEST_F(FeleTest, TheTwinsPlayTheSameVoicedRecords) {
    story::ResetPlays();
    test::EventResponders player(headless.Backend());
    Start(25, 9, 10);
    ASSERT_TRUE(EvTurnStart016());
    std::vector<int> voicedLines;  // 1-based numbers of the lines after a voice
    int lines = 0;
    bool voiced = false;
    for (const ui::TranscriptEntry& e : transcript->Entries()) {
        if (e.kind == "voice") voiced = true;
        if (e.kind != "line") continue;
        ++lines;
        if (voiced) voicedLines.push_back(lines);
        voiced = false;
    }
    EXPECT_EQ(voicedLines, Span(11, 36));
    Start(3, 10, 34);
    ASSERT_TRUE(EvMove006());
    for (const char* scene : {"song", "meeting"}) {
        const story::Scene* sc = story::FindScene("Fele", scene);
        ASSERT_NE(sc, nullptr);
        EXPECT_EQ(sc->plays, 2) << scene;
    }
}

// ---- the beauty contest

TEST_F(FeleTest, TheContestIsWonAtReputation20AndLostAt19) {
    struct Way {
        int reputation;
        int lines;
        std::vector<int> voices;
        std::vector<int> changed;
        int money, reputationAfter;
    };
    const Way ways[] = {
        {20,
         115,
         Join({Span(590, 618), {645}, Span(619, 638), Span(646, 679)}),
         {418, 419, 420},
         150000,
         25},
        {19, 73, Join({Span(590, 618), {645}, Span(619, 629), Span(639, 644)}), {418}, 50000, 20},
    };
    for (const Way& w : ways) {
        SCOPED_TRACE(w.reputation);
        Start(179, 9, 10, {412, 413});
        SetMoney(50000);
        SetReputation(w.reputation);
        const std::vector<int> before = FlagsNow();
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart026());
        EXPECT_EQ(Lines(), w.lines);
        EXPECT_EQ(Voices(), w.voices);
        EXPECT_EQ(Changed(before, FlagsNow()), w.changed);
        EXPECT_EQ(GameMoney(), w.money);
        EXPECT_EQ(GameReputation(), w.reputationAfter);
        EXPECT_EQ(GameDay(), 179);
        EXPECT_EQ(GameHour(), 17);
        EXPECT_EQ(GameFlow->Place, 6);
    }
    // The whole contest by speaker, over its three branches.
    Counts all;
    for (const auto& [rep, prince] : {std::pair{20, true}, std::pair{19, false}}) {
        Start(179, 9, 10, prince ? std::vector<int>{412, 413} : std::vector<int>{412});
        SetReputation(rep);
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart026());
        for (const auto& [who, n] : Speakers()) all[who] += n;
    }
    EXPECT_EQ(all, (Counts{{"緹菈", 62 + 23},
                           {"王子", 16},
                           {"司儀", 13 + 5},
                           {"斐爾", 10},
                           {"蕾妮特", 9 + 4},
                           {"黑皮", 5 + 5},
                           {"受理處", 1 + 1},
                           {"", 10 + 5}}));
}

TEST_F(FeleTest, TheContestNeedsBothFlagsForThePrinceAndKeepsToItsDay) {
    // 412 without 413, and 413 without 412: no prince scene, 418 stays clear.
    for (const std::vector<int>& flags : {std::vector<int>{412}, std::vector<int>{413}}) {
        Start(179, 10, 10, flags);
        SetReputation(0);
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart026());
        EXPECT_EQ(Lines(), 43 + 11);
        EXPECT_FALSE(ev->TestFlg(flag::PrinceMetAtContest));
        EXPECT_EQ(GameHour(), 17);
    }
    // Set out at noon: on the ground at 16:00, no wait; the win ends at 19:00 that day.
    Start(179, 12, 10, {412, 413});
    SetReputation(30);
    SetMoney(kMoneyCap - 10);
    {
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart026());
    }
    EXPECT_EQ(GameDay(), 179);
    EXPECT_EQ(GameHour(), 19);
    EXPECT_EQ(GameMoney(), kMoneyCap);
    // The prince into layer 0 moves 斐爾 from the centre to layer 2, which is cleared.
    EXPECT_TRUE(Transcribed("transition", "slide centre to right"));
    EXPECT_TRUE(Transcribed("figure", "clear right"));
    // Not on another day, nor after noon.
    for (auto [day, hour] : {std::pair{178, 9}, std::pair{180, 9}, std::pair{179, 13}}) {
        Start(day, hour, 10, {412, 413});
        EXPECT_FALSE(EvTurnStart026()) << day << " " << hour;
        EXPECT_EQ(Lines(), 0);
    }
}

// ---- the spring

TEST_F(FeleTest, TheSpringScenesKeepToTheSingingDaysHoursAndOrder) {
    test::EventResponders player(headless.Backend());
    struct Refusal {
        const char* what;
        bool (*event)();
        int day, hour, place;
        std::vector<int> flags;
    };
    const Refusal refusals[] = {
        {"the first song at 16:00", EvMove006, 1, 16, 34, {}},
        {"the first song at 09:00", EvMove006, 1, 9, 34, {}},
        {"the first song on weekday 2", EvMove006, 2, 10, 34, {}},
        {"the first song from day 24", EvMove006, 25, 10, 34, {}},
        {"the first song met already", EvMove006, 1, 10, 34, {412}},
        {"the first song in the forest", EvMove006, 1, 10, 33, {}},
        {"the shop's song on day 24", EvTurnStart016, 24, 9, 10, {}},
        {"the shop's song in the mixing room", EvTurnStart016, 25, 9, 11, {}},
        {"the shop's song met already", EvTurnStart016, 25, 9, 10, {412}},
        {"the shop's song at 10:00", EvTurnStart016, 25, 10, 10, {}},
        {"the festival on day 49", EvTurnStart007, 49, 9, 10, {}},
        {"the festival seen", EvTurnStart007, 48, 9, 10, {413}},
        {"蕾妮特 at the spring before her step 386", EvMove007, 97, 10, 34, {412, 413}},
        {"蕾妮特 at the spring before day 96", EvMove007, 91, 10, 34, {386, 412, 413}},
        {"蕾妮特 at the spring after the ring", EvMove007, 97, 10, 34, {386, 412, 413, 416}},
        {"the ankle before 蕾妮特's visit", EvMove008, 145, 10, 34, {386, 412, 413}},
        {"the ankle before day 144", EvMove008, 139, 10, 34, {386, 412, 413, 414}},
        {"the ankle on weekday 0", EvMove008, 144, 10, 34, {386, 412, 413, 414}},
    };
    for (const Refusal& r : refusals) {
        Start(r.day, r.hour, r.place, r.flags);
        EXPECT_FALSE(r.event()) << r.what;
        EXPECT_EQ(Lines(), 0) << r.what;
    }
}

TEST_F(FeleTest, TheChatsComeOneADayInOrderAndTheShortChatFillsTheRest) {
    // 412 met, 354 the spring introduced; arrivals at 10:00 on his singing days.
    Start(1, 10, 34, {354, 412});
    struct Visit {
        int day;
        std::vector<std::string> played;
    };
    const Visit visits[] = {
        {1, {"EvMove045"}},  {3, {"EvMove151"}},  {31, {"EvMove046"}}, {33, {"EvMove151"}},
        {55, {"EvMove047"}}, {57, {"EvMove151"}}, {79, {"EvMove048"}}, {81, {"EvMove151"}},
    };
    for (const Visit& v : visits) {
        NextDay(v.day, 10, 34);
        EXPECT_EQ(Arrive(), v.played) << v.day;
        // Met today: not at the spring again, whatever the hour.
        EXPECT_EQ(GameHour(), 11) << v.day;
        GameFlow->Place = 34;
        EXPECT_EQ(Arrive(), std::vector<std::string>{}) << v.day;
        EXPECT_FALSE(ev->ChkNpc(2, 34)) << v.day;
    }
    for (int f : {472, 473, 474, 475}) EXPECT_TRUE(ev->TestFlg(f)) << f;
    // Chat 1 passes its hour after the farewell, the others before it (the lines after
    // the hour are the farewell's); 15:00 ends at 16:00.
    struct Farewell {
        bool (*event)();
        int day;
        std::vector<int> flags;
        int linesAfterHour;
    };
    for (const Farewell& f :
         {Farewell{EvMove045, 1, {412}, 0}, Farewell{EvMove046, 31, {412, 472}, 4},
          Farewell{EvMove047, 55, {412, 473}, 4}, Farewell{EvMove048, 79, {412, 474}, 12},
          Farewell{EvMove151, 3, {412}, 4}}) {
        Start(f.day, 15, 34, f.flags);
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(f.event()) << f.day;
        int after = -1;
        for (const ui::TranscriptEntry& e : transcript->Entries()) {
            if (e.kind == "hour") after = 0;
            if (e.kind == "line" && after >= 0) ++after;
        }
        EXPECT_EQ(after, f.linesAfterHour) << f.day;
        EXPECT_EQ(GameHour(), 16) << f.day;
    }
    // Under the override the chats run only when the last real whereabouts test left
    // schedule variant 0.
    Start(31, 10, 34, {412, 472});
    ev->m_ScheduleVariant = 4;
    EXPECT_FALSE(Forced(EvMove046));
    ev->m_ScheduleVariant = 0;
    {
        test::EventResponders player(headless.Backend());
        EXPECT_TRUE(Forced(EvMove046));
    }
}

// ---- town and land meetings

TEST_F(FeleTest, TheChanceMeetingsDrawFirstThenAskEachPlaceAfresh) {
    test::EventResponders player(headless.Backend());
    // At the beach at 11:00 on day 2: the chance, then the big tree's draw (lost) and
    // the beach's (won); the spring draws nothing.
    Start(2, 11, 41, {412});
    const std::uint32_t seed = test::SeedFor({40, -30, 30});
    ui::Srand(seed);
    ASSERT_TRUE(EvMove164());
    // A lost chance draws once and asks nothing.
    Start(2, 11, 41, {412});
    ui::Srand(test::SeedFor({-40}));
    const std::uint32_t from = ui::RandState();
    EXPECT_FALSE(EvMove164());
    EXPECT_EQ(test::DrawsSince(from), 1);
    // The waterfall has only the fishing; the chance meetings never play there.
    Start(101, 14, 35, {412});
    ui::Srand(test::SeedFor({20, 30, 30, 30, 30}));
    EXPECT_FALSE(EvMove166());
    // Before 412 and after 491 he is nowhere.
    for (int f : {0, 491}) {
        Start(2, 12, 5, f ? std::vector<int>{412, f} : std::vector<int>{});
        ui::Srand(test::SeedFor({10}));
        EXPECT_FALSE(EvMove158()) << f;
    }
    // The nap waits for day 96 and plays once.
    Start(95, 10, 39, {412});
    ui::Srand(test::SeedFor({10}));
    EXPECT_FALSE(EvMove162());
    Start(98, 10, 39, {412, 535});
    ui::Srand(test::SeedFor({10}));
    EXPECT_FALSE(EvMove162());
    EXPECT_EQ(Lines(), 0);
}

// ---- the lake and the scenes overheard

TEST_F(FeleTest, TheLakeDayTakesOneOfItsTwoWaysOrLeavesHimNowhere) {
    // S = 190: 412 set, 391 clear, the lake introduced; arrival at 11:00.
    auto curse = [&] {
        Start(190, 11, 40, {360, 412});
        ASSERT_EQ(Arrive(), std::vector<std::string>{"EvMove119"});
        EXPECT_EQ(Lines(), 47);
        EXPECT_EQ(GameHour(), 12);
        EXPECT_EQ(GameFlow->Place, 10);
        EXPECT_TRUE(ev->TestFlg(flag::LakeCurse));
        EXPECT_TRUE(IsItemUnlocked(16));
        EXPECT_EQ(DayMarks[mark::LakeCurseDay], 190);
    };
    // (A) Back at the lake at 14:00: the clock goes to 15:00 first.
    SetItemStock(16, 0);
    curse();
    EXPECT_EQ(ItemStock(16), 1);
    for (int p : {3, 34, 40}) EXPECT_FALSE(ev->ChkNpc(2, p)) << p;
    SetGameHour(14);
    GameFlow->Place = 40;
    ASSERT_EQ(Arrive(), std::vector<std::string>{"EvMove120"});
    EXPECT_EQ(transcript->Texts("hour").front(), "day 190 15:00");
    EXPECT_EQ(Lines(), 90);
    EXPECT_EQ(GameHour(), 19);
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_EQ(ItemStock(102), 1);
    EXPECT_EQ(ItemStock(101), 1);
    EXPECT_TRUE(ev->TestFlg(flag::LakeAfternoon));
    EXPECT_FALSE(EvMove121());
    // (B) Instead, a first arrival anywhere from 16:00.
    curse();
    SetGameHour(16);
    GameFlow->Place = 5;
    ev->SetFlg(flag::IntroPark, true);
    ASSERT_EQ(Arrive(), std::vector<std::string>{"EvMove121"});
    EXPECT_EQ(Lines(), 9);
    EXPECT_TRUE(ev->TestFlg(flag::LakeTooLate));
    // (C) Neither: from day 191 he is at no place at any hour.
    curse();
    NextDay(191, 8, 10);
    for (int hour = 0; hour < 24; ++hour) {
        SetGameHour(hour);
        for (int p = 0; p <= 44; ++p) EXPECT_FALSE(ev->ChkNpc(2, p)) << hour << " " << p;
    }
    // The episode waits for 10:00..12:59, and never starts once 芙蘿蕾 is ill.
    for (auto [hour, flags] :
         {std::pair{13, std::vector<int>{412}}, std::pair{9, std::vector<int>{412}},
          std::pair{11, std::vector<int>{412, 391}}, std::pair{11, std::vector<int>{}}}) {
        Start(190, hour, 40, flags);
        EXPECT_FALSE(EvMove119()) << hour;
    }
    Start(185, 12, 40, {412});
    EXPECT_FALSE(EvMove119());
}

TEST_F(FeleTest, TheOverheardScenesClearTheRightLayerAndTagTheWallWithThoughts) {
    test::EventResponders player(headless.Backend());
    // 蕾妮特 into layer 0 moves 斐爾 to layer 2; that layer is cleared when he goes.
    Start(121, 10, 34, {412, 414});
    ASSERT_TRUE(EvMove122());
    const std::vector<std::string> figures = transcript->Texts("figure");
    const std::vector<std::string> want = {"show 5 centre", "show 14 left", "clear left",
                                           "clear right"};
    EXPECT_EQ(figures, want);
    EXPECT_TRUE(Transcribed("transition", "slide centre to right"));
    // Not while his schedule puts him elsewhere, nor outside the sixth month.
    Start(122, 10, 34, {412, 414});
    EXPECT_FALSE(EvMove122());
    Start(144, 9, 34, {412, 414});
    EXPECT_FALSE(EvMove122());
    // The quarrel: four lines through the wall, then 蕾妮特 aloud.
    Start(200, 19, 2, {431});
    ASSERT_TRUE(EvMove123());
    EXPECT_EQ(LinesOf("蕾妮特", "『") + LinesOf("可可特", "『"), 4);
    EXPECT_EQ(LinesOf("蕾妮特", "「"), 1);
    Start(200, 19, 2, {431, 426});
    EXPECT_FALSE(EvMove123());
}

// ---- a save for the real program

// The morning of day 1, a singing day, at 08:00: the save that
// tests/scripts/fele_first_song.txt loads to walk to the spring.
TEST_F(FeleTest, TheFirstSongsMorningSavesAndLoads) {
    Start(1, 8, 10);
    ui::SetProgramFolder(test::ScratchDir("fele"));
    ASSERT_TRUE(SaveGame(1));
    Start(0, 10, 10);
    ASSERT_TRUE(LoadGame(1));
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
    EXPECT_EQ(GameDay(), 1);
    EXPECT_EQ(GameHour(), 8);
    EXPECT_FALSE(ev->TestFlg(flag::FeleMet));
}

}  // namespace
