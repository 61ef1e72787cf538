// 斐爾's events played headless through the real message window with the transcript:
// the first song (at the spring and from the shop), the spring festival, 蕾妮特 at the
// spring, the sprained ankle, the beauty contest, the chats at the spring, the meetings
// in town and on the land, the lake and the two scenes overheard. Every branch plays,
// and every record of their text is played.
#include <gtest/gtest.h>

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

using test::Join;
using test::Span;

class FeleTest : public test::StoryTest {
protected:
    // A new day of the same game: the daily flags and the met records go.
    void NextDay(int day, int hour, int place) {
        for (int f = kFirstDailyFlag; f <= kLastDailyFlag; ++f) ev->SetFlg(f, false);
        ClearNpcMet();
        SetGameDay(day);
        SetGameHour(hour);
        GameFlow->Place = place;
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
const std::vector<test::EventCase>& Cases() {
    static const std::vector<test::EventCase> cases = {
        // ---- the first song, the festival, 蕾妮特 at the spring, the ankle
        {.name = "EvMove006",
         .event = EvMove006,
         .day = 1,
         .hour = 10,
         .place = place::ForestSpring,
         .speakers = {{"緹菈", 16}, {"斐爾", 10}, {"", 2}},
         .voices = Span(459, 484),
         .changed = {flag::FeleSceneToday, flag::IntroForestSpring, flag::FeleMet}},
        {.name = "EvMove006 on a wind day",
         .event = EvMove006,
         .day = 3,
         .hour = 15,
         .place = place::ForestSpring,
         .speakers = {{"緹菈", 16}, {"斐爾", 10}, {"", 2}},
         .voices = Span(459, 484),
         .changed = {flag::FeleSceneToday, flag::IntroForestSpring, flag::FeleMet}},
        {.name = "EvTurnStart016",
         .event = EvTurnStart016,
         .day = 25,
         .hour = 9,
         .place = place::ShopInside,
         .speakers = {{"緹菈", 25}, {"黑皮", 4}, {"斐爾", 10}},
         .voices = Span(459, 484),
         .changed = {flag::FeleSceneToday, flag::FeleMet},
         .hours = 1,
         .placeAfter = place::ForestSpring},
        {.name = "EvTurnStart007",
         .event = EvTurnStart007,
         .day = 48,
         .hour = 9,
         .place = place::MixingRoom,
         .speakers = {{"緹菈", 16}, {"黑皮", 5}, {"王子", 3}, {"蕾妮特", 3}, {"", 2}},
         .voices = Span(485, 501),
         .changed = {flag::ShopClosedToday, flag::SpringFestivalSeen, flag::StoryDayOff},
         .hours = 1,
         .placeAfter = place::Bakery},
        {.name = "EvMove007",
         .event = EvMove007,
         .day = 97,
         .hour = 12,
         .place = place::ForestSpring,
         .flags = {flag::RenetteMet, flag::FeleMet, flag::SpringFestivalSeen},
         .speakers = {{"緹菈", 17}, {"斐爾", 12}, {"蕾妮特", 8}, {"", 2}},
         .voices = Span(502, 536),
         .changed = {flag::RenetteAtSpring}},
        {.name = "EvMove008",
         .event = EvMove008,
         .day = 147,
         .hour = 15,
         .place = place::ForestSpring,
         .flags = {flag::RenetteMet, flag::FeleMet, flag::SpringFestivalSeen,
                   flag::RenetteAtSpring},
         .speakers = {{"緹菈", 21}, {"斐爾", 13}},
         .voices = Span(537, 568),
         .changed = {flag::FeleFellToday, flag::FeleSceneToday, flag::FeleSprainedAnkle},
         .placeAfter = place::Forest},
        // ---- the chats at the spring, each from its first day
        {.name = "EvMove045",
         .event = EvMove045,
         .day = 1,
         .hour = 15,
         .place = place::ForestSpring,
         .flags = {flag::FeleMet},
         .speakers = {{"緹菈", 6}, {"斐爾", 6}, {"", 1}},
         .changed = {flag::FeleChat1},
         .hours = 1},
        {.name = "EvMove046",
         .event = EvMove046,
         .day = 31,
         .hour = 10,
         .place = place::ForestSpring,
         .flags = {flag::FeleMet, flag::FeleChat1},
         .speakers = {{"緹菈", 8}, {"斐爾", 8}},
         .changed = {flag::FeleChat2},
         .hours = 1},
        {.name = "EvMove047",
         .event = EvMove047,
         .day = 55,
         .hour = 10,
         .place = place::ForestSpring,
         .flags = {flag::FeleMet, flag::FeleChat2},
         .speakers = {{"緹菈", 9}, {"斐爾", 10}},
         .changed = {flag::FeleChat3},
         .hours = 1},
        {.name = "EvMove048",
         .event = EvMove048,
         .day = 79,
         .hour = 10,
         .place = place::ForestSpring,
         .flags = {flag::FeleMet, flag::FeleChat3},
         .speakers = {{"緹菈", 11}, {"斐爾", 11}},
         .changed = {flag::FeleChat4},
         .hours = 1},
        {.name = "EvMove151",
         .event = EvMove151,
         .day = 3,
         .hour = 10,
         .place = place::ForestSpring,
         .flags = {flag::FeleMet},
         .speakers = {{"緹菈", 6}, {"斐爾", 4}},
         .hours = 1},
        // ---- in town (day 2: his everyday schedule, one draw a place) and on the land
        {.name = "EvMove158",
         .event = EvMove158,
         .day = 2,
         .hour = 12,
         .place = place::Park,
         .flags = {flag::FeleMet},
         .draws = {10},
         .speakers = {{"緹菈", 6}, {"斐爾", 5}}},
        {.name = "EvMove159",
         .event = EvMove159,
         .day = 2,
         .hour = 18,
         .place = place::Bakery,
         .flags = {flag::FeleMet},
         .draws = {10},
         .speakers = {{"緹菈", 5}, {"斐爾", 4}}},
        {.name = "EvMove160",
         .event = EvMove160,
         .day = 2,
         .hour = 12,
         .place = place::School,
         .flags = {flag::FeleMet},
         .draws = {10},
         .speakers = {{"緹菈", 5}, {"斐爾", 6}}},
        {.name = "EvMove161",
         .event = EvMove161,
         .day = 2,
         .hour = 16,
         .place = place::Square,
         .flags = {flag::FeleMet},
         .draws = {30},
         .speakers = {{"緹菈", 5}, {"斐爾", 4}}},
        {.name = "EvMove162",
         .event = EvMove162,
         .day = 98,
         .hour = 10,
         .place = place::BigTree,
         .flags = {flag::FeleMet},
         .draws = {10},
         .speakers = {{"緹菈", 6}, {"斐爾", 5}},
         .changed = {flag::FeleNap}},
        {.name = "EvMove163",
         .event = EvMove163,
         .day = 101,
         .hour = 14,
         .place = place::Waterfall,
         .flags = {flag::FeleMet},
         .draws = {30},
         .speakers = {{"緹菈", 11}, {"斐爾", 7}},
         .changed = {flag::FeleFishing}},
        {.name = "EvMove164 at the big tree",
         .event = EvMove164,
         .day = 2,
         .hour = 10,
         .place = place::BigTree,
         .flags = {flag::FeleMet},
         .draws = {40, 10},
         .speakers = {{"緹菈", 6}, {"斐爾", 3}}},
        {.name = "EvMove165 at the beach",
         .event = EvMove165,
         .day = 2,
         .hour = 11,
         .place = place::Beach,
         .flags = {flag::FeleMet},
         .draws = {40, -30, 30},
         .speakers = {{"緹菈", 6}, {"斐爾", 3}}},
        {.name = "EvMove166 at the spring",
         .event = EvMove166,
         .day = 1,
         .hour = 10,
         .place = place::ForestSpring,
         .flags = {flag::FeleMet},
         .draws = {20},
         .speakers = {{"緹菈", 5}, {"斐爾", 4}}},
        {.name = "EvMove166 at the lake",
         .event = EvMove166,
         .day = 2,
         .hour = 11,
         .place = place::Lake,
         .flags = {flag::FeleMet},
         .draws = {20, -30, -30, 30},
         .speakers = {{"緹菈", 5}, {"斐爾", 4}}},
        // ---- the lake (S = 190) and the scenes overheard
        {.name = "EvMove119",
         .event = EvMove119,
         .day = 190,
         .hour = 11,
         .place = place::Lake,
         .flags = {flag::IntroLake, flag::FeleMet},
         .speakers =
             {{"緹菈", 26}, {"斐爾", 14}, {"黑皮", 4}, {"粉紅色精靈", 1}, {"水藍色精靈", 2}},
         .changed = {flag::LakeCurse},
         .marksAfter = {{mark::LakeCurseDay, 190}},
         .itemsAfter = {{item::ThroatDrops, 1}},
         .hours = 1,
         .placeAfter = place::ShopInside},
        {.name = "EvMove122",
         .event = EvMove122,
         .day = 121,
         .hour = 10,
         .place = place::ForestSpring,
         .flags = {flag::FeleMet, flag::RenetteAtSpring},
         .speakers = {{"緹菈", 8}, {"蕾妮特", 5}, {"斐爾", 4}},
         .changed = {flag::RenetteWarnsFele}},
        {.name = "EvMove123",
         .event = EvMove123,
         .day = 200,
         .hour = 19,
         .place = place::RivalShop,
         .flags = {flag::CocotteAskedAboutLove},
         .speakers = {{"緹菈", 7}, {"蕾妮特", 4}, {"可可特", 1}},
         .changed = {flag::QuarrelOverheard},
         .placeAfter = place::Bakery},
    };
    return cases;
}

// ---- every branch, and every record accounted for

TEST_F(FeleTest, EveryEventPlaysItsLinesAndChangesAndEveryRecordIsPlayed) {
    story::ResetPlays();
    for (const test::EventCase& c : Cases()) Play(c);
    // The lake's afternoon and the late arrival, on day S.
    const std::vector<int> cursed = {flag::IntroLake, flag::FeleMet, flag::LakeCurse};
    {
        SCOPED_TRACE("EvMove120");
        Start(190, 14, place::Lake, cursed);
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
        Start(190, 16, place::Forest, cursed);
        DayMarks[mark::LakeCurseDay] = 190;
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvMove121());
        EXPECT_EQ(Speakers(), (Counts{{"緹菈", 4}, {"蕾妮特", 5}}));
        EXPECT_TRUE(ev->TestFlg(flag::LakeTooLate));
        EXPECT_EQ(GameFlow->Place, place::Forest);
    }
    // The contest's three ways: won, lost, and without the prince.
    for (const auto& [rep, flags] :
         {std::pair{20, std::vector<int>{flag::FeleMet, flag::SpringFestivalSeen}},
          std::pair{19, std::vector<int>{flag::FeleMet, flag::SpringFestivalSeen}},
          std::pair{20, std::vector<int>{flag::FeleMet}}}) {
        Start(179, 9, place::ShopInside, flags);
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
    Start(25, 9, place::ShopInside);
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
    Start(3, 10, place::ForestSpring);
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
         {flag::PrinceMetAtContest, flag::BeautyContestWon, flag::PalaceInvitation},
         150000,
         25},
        {19, 73, Join({Span(590, 618), {645}, Span(619, 629), Span(639, 644)}), {418}, 50000, 20},
    };
    for (const Way& w : ways) {
        SCOPED_TRACE(w.reputation);
        Start(179, 9, place::ShopInside, {flag::FeleMet, flag::SpringFestivalSeen});
        SetMoney(50000);
        SetReputation(w.reputation);
        const std::vector<int> before = FlagsNow();
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart026());
        EXPECT_EQ(Lines(), w.lines);
        EXPECT_EQ(Voices(), w.voices);
        EXPECT_EQ(FlagsChanged(before, FlagsNow()), w.changed);
        EXPECT_EQ(GameMoney(), w.money);
        EXPECT_EQ(GameReputation(), w.reputationAfter);
        EXPECT_EQ(GameDay(), 179);
        EXPECT_EQ(GameHour(), 17);
        EXPECT_EQ(GameFlow->Place, place::EventGround);
    }
    // The whole contest by speaker, over its three branches.
    Counts all;
    for (const auto& [rep, prince] : {std::pair{20, true}, std::pair{19, false}}) {
        Start(179, 9, place::ShopInside,
              prince ? std::vector<int>{flag::FeleMet, flag::SpringFestivalSeen}
                     : std::vector<int>{flag::FeleMet});
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
    for (const std::vector<int>& flags :
         {std::vector<int>{flag::FeleMet}, std::vector<int>{flag::SpringFestivalSeen}}) {
        Start(179, 10, place::ShopInside, flags);
        SetReputation(0);
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart026());
        EXPECT_EQ(Lines(), 43 + 11);
        EXPECT_FALSE(ev->TestFlg(flag::PrinceMetAtContest));
        EXPECT_EQ(GameHour(), 17);
    }
    // Set out at noon: on the ground at 16:00, no wait; the win ends at 19:00 that day.
    Start(179, 12, place::ShopInside, {flag::FeleMet, flag::SpringFestivalSeen});
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
        Start(day, hour, place::ShopInside, {flag::FeleMet, flag::SpringFestivalSeen});
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
        {"the first song at 16:00", EvMove006, 1, 16, place::ForestSpring, {}},
        {"the first song at 09:00", EvMove006, 1, 9, place::ForestSpring, {}},
        {"the first song on weekday 2", EvMove006, 2, 10, place::ForestSpring, {}},
        {"the first song from day 24", EvMove006, 25, 10, place::ForestSpring, {}},
        {"the first song met already", EvMove006, 1, 10, place::ForestSpring, {flag::FeleMet}},
        {"the first song in the forest", EvMove006, 1, 10, place::Forest, {}},
        {"the shop's song on day 24", EvTurnStart016, 24, 9, place::ShopInside, {}},
        {"the shop's song in the mixing room", EvTurnStart016, 25, 9, place::MixingRoom, {}},
        {"the shop's song met already", EvTurnStart016, 25, 9, place::ShopInside, {flag::FeleMet}},
        {"the shop's song at 10:00", EvTurnStart016, 25, 10, place::ShopInside, {}},
        {"the festival on day 49", EvTurnStart007, 49, 9, place::ShopInside, {}},
        {"the festival seen", EvTurnStart007, 48, 9, place::ShopInside, {flag::SpringFestivalSeen}},
        {"蕾妮特 at the spring before her step 386",
         EvMove007,
         97,
         10,
         place::ForestSpring,
         {flag::FeleMet, flag::SpringFestivalSeen}},
        {"蕾妮特 at the spring before day 96",
         EvMove007,
         91,
         10,
         place::ForestSpring,
         {flag::RenetteMet, flag::FeleMet, flag::SpringFestivalSeen}},
        {"蕾妮特 at the spring after the ring",
         EvMove007,
         97,
         10,
         place::ForestSpring,
         {flag::RenetteMet, flag::FeleMet, flag::SpringFestivalSeen, flag::RingFound}},
        {"the ankle before 蕾妮特's visit",
         EvMove008,
         145,
         10,
         place::ForestSpring,
         {flag::RenetteMet, flag::FeleMet, flag::SpringFestivalSeen}},
        {"the ankle before day 144",
         EvMove008,
         139,
         10,
         place::ForestSpring,
         {flag::RenetteMet, flag::FeleMet, flag::SpringFestivalSeen, flag::RenetteAtSpring}},
        {"the ankle on weekday 0",
         EvMove008,
         144,
         10,
         place::ForestSpring,
         {flag::RenetteMet, flag::FeleMet, flag::SpringFestivalSeen, flag::RenetteAtSpring}},
    };
    for (const Refusal& r : refusals) {
        Start(r.day, r.hour, r.place, r.flags);
        EXPECT_FALSE(r.event()) << r.what;
        EXPECT_EQ(Lines(), 0) << r.what;
    }
}

TEST_F(FeleTest, TheChatsComeOneADayInOrderAndTheShortChatFillsTheRest) {
    // 412 met, 354 the spring introduced; arrivals at 10:00 on his singing days.
    Start(1, 10, place::ForestSpring, {flag::IntroForestSpring, flag::FeleMet});
    struct Visit {
        int day;
        std::vector<std::string> played;
    };
    const Visit visits[] = {
        {1, {"EvMove045"}},  {3, {"EvMove151"}},  {31, {"EvMove046"}}, {33, {"EvMove151"}},
        {55, {"EvMove047"}}, {57, {"EvMove151"}}, {79, {"EvMove048"}}, {81, {"EvMove151"}},
    };
    for (const Visit& v : visits) {
        NextDay(v.day, 10, place::ForestSpring);
        EXPECT_EQ(Arrive(), v.played) << v.day;
        // Met today: not at the spring again, whatever the hour.
        EXPECT_EQ(GameHour(), 11) << v.day;
        GameFlow->Place = place::ForestSpring;
        EXPECT_EQ(Arrive(), std::vector<std::string>{}) << v.day;
        EXPECT_FALSE(ev->ChkNpc(npc::Fele, place::ForestSpring)) << v.day;
    }
    for (int f : {flag::FeleChat1, flag::FeleChat2, flag::FeleChat3, flag::FeleChat4})
        EXPECT_TRUE(ev->TestFlg(f)) << f;
    // Chat 1 passes its hour after the farewell, the others before it (the lines after
    // the hour are the farewell's); 15:00 ends at 16:00.
    struct Farewell {
        bool (*event)();
        int day;
        std::vector<int> flags;
        int linesAfterHour;
    };
    for (const Farewell& f : {Farewell{EvMove045, 1, {flag::FeleMet}, 0},
                              Farewell{EvMove046, 31, {flag::FeleMet, flag::FeleChat1}, 4},
                              Farewell{EvMove047, 55, {flag::FeleMet, flag::FeleChat2}, 4},
                              Farewell{EvMove048, 79, {flag::FeleMet, flag::FeleChat3}, 12},
                              Farewell{EvMove151, 3, {flag::FeleMet}, 4}}) {
        Start(f.day, 15, place::ForestSpring, f.flags);
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
    Start(31, 10, place::ForestSpring, {flag::FeleMet, flag::FeleChat1});
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
    Start(2, 11, place::Beach, {flag::FeleMet});
    const std::uint32_t seed = test::SeedFor({40, -30, 30});
    ui::Srand(seed);
    ASSERT_TRUE(EvMove164());
    // A lost chance draws once and asks nothing.
    Start(2, 11, place::Beach, {flag::FeleMet});
    ui::Srand(test::SeedFor({-40}));
    const std::uint32_t from = ui::RandState();
    EXPECT_FALSE(EvMove164());
    EXPECT_EQ(test::DrawsSince(from), 1);
    // The waterfall has only the fishing; the chance meetings never play there.
    Start(101, 14, place::Waterfall, {flag::FeleMet});
    ui::Srand(test::SeedFor({20, 30, 30, 30, 30}));
    EXPECT_FALSE(EvMove166());
    // Before 412 and after 491 he is nowhere.
    for (int f : {flag::NeverSet, flag::FeleLeft}) {
        Start(2, 12, place::Park, f ? std::vector<int>{flag::FeleMet, f} : std::vector<int>{});
        ui::Srand(test::SeedFor({10}));
        EXPECT_FALSE(EvMove158()) << f;
    }
    // The nap waits for day 96 and plays once.
    Start(95, 10, place::BigTree, {flag::FeleMet});
    ui::Srand(test::SeedFor({10}));
    EXPECT_FALSE(EvMove162());
    Start(98, 10, place::BigTree, {flag::FeleMet, flag::FeleNap});
    ui::Srand(test::SeedFor({10}));
    EXPECT_FALSE(EvMove162());
    EXPECT_EQ(Lines(), 0);
}

// ---- the lake and the scenes overheard

TEST_F(FeleTest, TheLakeDayTakesOneOfItsTwoWaysOrLeavesHimNowhere) {
    // S = 190: 412 set, 391 clear, the lake introduced; arrival at 11:00.
    auto curse = [&] {
        Start(190, 11, place::Lake, {flag::IntroLake, flag::FeleMet});
        ASSERT_EQ(Arrive(), std::vector<std::string>{"EvMove119"});
        EXPECT_EQ(Lines(), 47);
        EXPECT_EQ(GameHour(), 12);
        EXPECT_EQ(GameFlow->Place, place::ShopInside);
        EXPECT_TRUE(ev->TestFlg(flag::LakeCurse));
        EXPECT_TRUE(IsItemUnlocked(item::ThroatDrops));
        EXPECT_EQ(DayMarks[mark::LakeCurseDay], 190);
    };
    // (A) Back at the lake at 14:00: the clock goes to 15:00 first.
    SetItemStock(item::ThroatDrops, 0);
    curse();
    EXPECT_EQ(ItemStock(item::ThroatDrops), 1);
    for (int p : {place::Square, place::ForestSpring, place::Lake})
        EXPECT_FALSE(ev->ChkNpc(npc::Fele, p)) << p;
    SetGameHour(14);
    GameFlow->Place = place::Lake;
    ASSERT_EQ(Arrive(), std::vector<std::string>{"EvMove120"});
    EXPECT_EQ(transcript->Texts("hour").front(), "day 190 15:00");
    EXPECT_EQ(Lines(), 90);
    EXPECT_EQ(GameHour(), 19);
    EXPECT_EQ(GameFlow->Place, place::ShopInside);
    EXPECT_EQ(ItemStock(item::SpiritNet), 1);
    EXPECT_EQ(ItemStock(item::MaidensTears), 1);
    EXPECT_TRUE(ev->TestFlg(flag::LakeAfternoon));
    EXPECT_FALSE(EvMove121());
    // (B) Instead, a first arrival anywhere from 16:00.
    curse();
    SetGameHour(16);
    GameFlow->Place = place::Park;
    ev->SetFlg(flag::IntroPark, true);
    ASSERT_EQ(Arrive(), std::vector<std::string>{"EvMove121"});
    EXPECT_EQ(Lines(), 9);
    EXPECT_TRUE(ev->TestFlg(flag::LakeTooLate));
    // (C) Neither: from day 191 he is at no place at any hour.
    curse();
    NextDay(191, 8, place::ShopInside);
    for (int hour = 0; hour < 24; ++hour) {
        SetGameHour(hour);
        for (int p = place::ShopFront; p <= place::WizardHouseInside; ++p)
            EXPECT_FALSE(ev->ChkNpc(npc::Fele, p)) << hour << " " << p;
    }
    // The episode waits for 10:00..12:59, and never starts once 芙蘿蕾 is ill.
    for (auto [hour, flags] :
         {std::pair{13, std::vector<int>{flag::FeleMet}},
          std::pair{9, std::vector<int>{flag::FeleMet}},
          std::pair{11, std::vector<int>{flag::FeleMet, flag::FloraeCollapsed}},
          std::pair{11, std::vector<int>{}}}) {
        Start(190, hour, place::Lake, flags);
        EXPECT_FALSE(EvMove119()) << hour;
    }
    Start(185, 12, place::Lake, {flag::FeleMet});
    EXPECT_FALSE(EvMove119());
}

TEST_F(FeleTest, TheOverheardScenesClearTheRightLayerAndTagTheWallWithThoughts) {
    test::EventResponders player(headless.Backend());
    // 蕾妮特 into layer 0 moves 斐爾 to layer 2; that layer is cleared when he goes.
    Start(121, 10, place::ForestSpring, {flag::FeleMet, flag::RenetteAtSpring});
    ASSERT_TRUE(EvMove122());
    const std::vector<std::string> figures = transcript->Texts("figure");
    const std::vector<std::string> want = {"show 5 centre", "show 14 left", "clear left",
                                           "clear right"};
    EXPECT_EQ(figures, want);
    EXPECT_TRUE(Transcribed("transition", "slide centre to right"));
    // Not while his schedule puts him elsewhere, nor outside the sixth month.
    Start(122, 10, place::ForestSpring, {flag::FeleMet, flag::RenetteAtSpring});
    EXPECT_FALSE(EvMove122());
    Start(144, 9, place::ForestSpring, {flag::FeleMet, flag::RenetteAtSpring});
    EXPECT_FALSE(EvMove122());
    // The quarrel: four lines through the wall, then 蕾妮特 aloud.
    Start(200, 19, place::RivalShop, {flag::CocotteAskedAboutLove});
    ASSERT_TRUE(EvMove123());
    EXPECT_EQ(LinesOf("蕾妮特", "『") + LinesOf("可可特", "『"), 4);
    EXPECT_EQ(LinesOf("蕾妮特", "「"), 1);
    Start(200, 19, place::RivalShop, {flag::CocotteAskedAboutLove, flag::RenetteCrisis});
    EXPECT_FALSE(EvMove123());
}

// ---- a save for the real program

// The morning of day 1, a singing day, at 08:00: the save that
// tests/scripts/fele_first_song.txt loads to walk to the spring.
TEST_F(FeleTest, TheFirstSongsMorningSavesAndLoads) {
    Start(1, 8, place::ShopInside);
    ui::SetProgramFolder(test::ScratchDir("fele"));
    ASSERT_TRUE(SaveGame(1));
    Start(0, 10, place::ShopInside);
    ASSERT_TRUE(LoadGame(1));
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
    EXPECT_EQ(GameDay(), 1);
    EXPECT_EQ(GameHour(), 8);
    EXPECT_FALSE(ev->TestFlg(flag::FeleMet));
}

}  // namespace
