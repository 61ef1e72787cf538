// 王子 and the royal ball played headless through the real message window with the
// transcript: the ring, the first afternoon in the castle garden and the visits after
// it, the invitation, the ball on each of its paths, the engagement told to 黑皮 and to
// her mother, the castle gate's answers, the magic contest's aftermath and the ball
// night's walks. Every branch of every event plays, and every record of its text.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Files.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Savefile.h"
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/Scratch.h"
#include "tests/support/StoryFixture.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/SoundTables.h"

namespace {

using Counts = test::StoryTest::Counts;
constexpr char kFile[] = "Prince.txt";
constexpr int kRing = 104;        // 撿到的戒指
constexpr int kSoulOfHades = 54;  // 黃泉之魂

// Voice numbers from first to last, both included, range by range.
std::vector<int> Span(std::initializer_list<std::pair<int, int>> ranges) {
    std::vector<int> out;
    for (auto [first, last] : ranges)
        for (int v = first; v <= last; ++v) out.push_back(v);
    return out;
}

// One play of an event: the state it starts in, the answers its choices get, and what
// it leaves.
struct Play {
    const char* what;
    bool (*event)();
    int day, hour, place;
    std::vector<int> flags;  // set before
    int ring = 0, soul = 0;  // stock of items 104 and 54 before (and after: both are kept)
    int garden = 0;          // variable 3 before
    std::deque<int> answers;
    Counts speakers;
    std::vector<int> voices;
    std::vector<int> sets;  // flags changed, ascending (pictures seen aside)
    int hours = 0;
    int endPlace = -1;     // -1: where it started
    int gardenAfter = -1;  // -1: unchanged
    int ringGiven = 0;
};

class PrinceTest : public test::StoryTest {
protected:
    // A new game in the play's state; the accounting is kept, so that one test can
    // account for the records of many plays.
    void Start(int day, int hour, int place) {
        ev->NewGameReset();
        SetGameDay(day);
        SetGameHour(hour);
        SetCondition(0);
        GameFlow->Place = place;
        SetItemStock(kRing, 0);
        SetItemStock(kSoulOfHades, 0);
        transcript->Clear();
    }
    std::vector<int> ChangedFlags(const std::vector<bool>& before) {
        std::vector<int> out;
        for (int f = 1; f < kEventFlagCount; ++f) {
            if (f >= 32 && f < 96) continue;  // pictures seen, endings seen
            if (ev->TestFlg(f) != before[f]) out.push_back(f);
        }
        return out;
    }
    void Run(const Play& p) {
        SCOPED_TRACE(p.what);
        Start(p.day, p.hour, p.place);
        for (int f : p.flags) ev->SetFlg(f, true);
        SetItemStock(kRing, p.ring);
        SetItemStock(kSoulOfHades, p.soul);
        ev->EventVariable[var::GardenVisitCount] = p.garden;
        std::vector<bool> before(kEventFlagCount);
        for (int f = 1; f < kEventFlagCount; ++f) before[f] = ev->TestFlg(f);
        const int start = GameDay() * 24 + GameHour();
        test::EventResponders player(headless.Backend());
        player.answers = p.answers;
        ASSERT_TRUE(p.event());
        EXPECT_EQ(Speakers(), p.speakers);
        int lines = 0;
        for (const auto& [who, n] : p.speakers) lines += n;
        EXPECT_EQ(Lines(), lines);
        EXPECT_EQ(player.linesAcknowledged, lines);
        EXPECT_EQ(player.choicesAnswered, static_cast<int>(p.answers.size()));
        EXPECT_EQ(Voices(), p.voices);
        EXPECT_EQ(ChangedFlags(before), p.sets);
        EXPECT_EQ(ItemStock(kRing), p.ring + p.ringGiven);
        EXPECT_EQ(ItemStock(kSoulOfHades), p.soul);
        EXPECT_EQ(ev->EventVariable[var::GardenVisitCount],
                  p.gardenAfter < 0 ? p.garden : p.gardenAfter);
        EXPECT_EQ(GameDay() * 24 + GameHour() - start, p.hours);
        EXPECT_EQ(GameFlow->Place, p.endPlace < 0 ? p.place : p.endPlace);
        EXPECT_EQ(ev->ConditionOverride, 0);
    }
};

// Every event on every branch, as the Parts and the issue count them.
// clang-format off
const std::vector<Play>& Plays() {
    static const std::vector<Play> plays = {
        // ---- the ring: at the spring on weekday 1 or 3 from day 144, then at the square
        {"the ring at the spring", EvMove009, 145, 10, 34, {415}, 0, 0, 0, {},
         {{"緹菈", 3}, {"", 2}}, Span({{569, 571}}), {416}, 0, -1, -1, 1},
        {"the ring shown to 斐爾", EvMove010, 150, 12, 3, {416}, 1, 0, 0, {},
         {{"緹菈", 10}, {"斐爾", 8}}, Span({{572, 589}}), {417}},
        // ---- the first afternoon: in, or not today
        {"the garden, choosing to go in", EvMove011, 185, 10, 14, {420}, 0, 0, 0, {0},
         {{"緹菈", 16}, {"王子", 9}, {"衛兵", 2}}, Span({{680, 700}}), {170, 421}, 2, 9},
        {"the garden, choosing not to", EvMove011, 185, 10, 14, {420}, 0, 0, 0, {1},
         {{"緹菈", 3}, {"衛兵", 2}}, {}, {}},
        // ---- the invitation and 斐爾's farewell
        {"the invitation", EvTurnStart008, 276, 9, 10, {}, 0, 0, 5, {},
         {{"緹菈", 29}, {"", 5}, {"斐爾", 15}, {"王子", 7}, {"黑皮", 5}}, Span({{701, 756}}),
         {422}},
        // ---- the ball: the shop's lead-in with each answer, another's route, no ring
        {"the ball, accepting", EvTurnStart010, 281, 17, 10, {422}, 1, 0, 0, {0},
         {{"緹菈", 63}, {"王子", 39}, {"王子殿下", 2}, {"斐爾", 4}, {"黑皮", 5}, {"王樣", 5},
          {"蕾妮特的父親", 6}, {"", 2}},
         Span({{757, 865}}), {402, 491}, 5},
        {"the ball, keeping the shop", EvTurnStart010, 281, 17, 10, {422}, 1, 0, 0, {1},
         {{"緹菈", 62}, {"王子", 38}, {"斐爾", 5}, {"黑皮", 5}, {"王樣", 5}, {"蕾妮特的父親", 6},
          {"", 2}},
         Span({{757, 847}, {866, 880}}), {488, 491}, 5},
        {"the ball on 蕾妮特's route", EvTurnStart010, 281, 17, 10, {422, 404}, 1, 0, 0, {},
         {{"緹菈", 62}, {"王子", 38}, {"斐爾", 5}, {"黑皮", 5}, {"王樣", 5}, {"蕾妮特的父親", 6},
          {"", 2}},
         Span({{757, 847}, {866, 880}}), {488, 491}, 5},
        {"the ball without the ring", EvTurnStart010, 281, 17, 10, {422}, 0, 0, 0, {},
         {{"緹菈", 32}, {"王子", 18}, {"黑皮", 5}, {"王樣", 5}}, Span({{757, 806}}), {488, 491}, 3},
        {"the ball from an arrival at the park at 18:00", EvMove102, 281, 18, 5, {422}, 0, 0, 0, {},
         {{"緹菈", 32}, {"王子", 18}, {"黑皮", 5}, {"王樣", 5}}, Span({{757, 806}}), {488, 491}, 2, 10},
        // ---- the engagement told
        {"the secret told to 黑皮", EvTurnStart025, 282, 9, 10, {402}, 0, 0, 0, {},
         {{"緹菈", 8}, {"黑皮", 3}}, {}, {539}},
        {"the mother told", EvTurnStart011, 282, 20, 10, {402}, 0, 1, 0, {},
         {{"緹菈", 11}, {"緹菈的母親", 8}, {"黑皮", 3}, {"", 1}}, Span({{881, 897}}), {423}},
        // ---- the magic contest's aftermath
        {"the contest under way", EvMove096, 125, 13, 6, {}, 0, 0, 0, {},
         {{"緹菈", 14}, {"蕾妮特", 8}, {"黑皮", 4}}, {}, {487}, 4},
        {"the contest over", EvMove097, 125, 17, 6, {}, 0, 0, 0, {},
         {{"緹菈", 6}, {"蕾妮特", 5}}, {}, {487}},
        // ---- the castle gate
        {"the gate after a ball she missed", EvMove098, 283, 12, 9, {489}, 0, 0, 0, {},
         {{"緹菈", 1}}, {}, {}, 0, 3},
        {"the gate when engaged", EvMove099, 283, 12, 9, {402}, 0, 0, 0, {},
         {{"緹菈", 5}, {"衛兵", 1}}, {}, {490}},
        {"the gate after refusing him", EvMove100, 283, 12, 9, {488}, 0, 0, 0, {},
         {{"緹菈", 1}}, {}, {}, 0, 3},
        {"the gate on a plain day", EvMove101, 100, 12, 9, {}, 0, 0, 0, {},
         {{"緹菈", 1}}, {}, {}},
        // ---- the ball night's walks: marked only when invited and the ball not played
        {"a walk on the ball night, invited, stayed away", EvMove103, 281, 20, 3, {422}, 0, 0, 0,
         {}, {}, {}, {489}},
        {"a walk on the ball night after the ball", EvMove103, 281, 22, 3, {422, 491}, 0, 0, 0,
         {}, {}, {}, {}},
        {"a walk on the ball night, never invited", EvMove103, 281, 21, 3, {}, 0, 0, 0, {}, {},
         {}, {}},
        {"黑皮 after the ball night", EvMove104, 282, 10, 10, {422, 489}, 0, 0, 0, {},
         {{"黑皮", 4}, {"緹菈", 5}}, {}, {533}},
        // ---- the garden visits
        {"garden visit 1", EvMove105, 191, 10, 14, {}, 0, 0, 0, {},
         {{"王子", 11}, {"緹菈", 9}}, {}, {170, 497}, 2, 9, 1},
        {"garden visit 2", EvMove106, 203, 10, 14, {497}, 0, 0, 2, {},
         {{"王子", 8}, {"緹菈", 9}}, {}, {170, 498}, 2, 9, 3},
        {"garden visit 3", EvMove107, 215, 10, 14, {498}, 0, 0, 4, {},
         {{"王子", 9}, {"緹菈", 13}}, {}, {170, 499}, 2, 9, 5},
        {"garden visit 4", EvMove108, 227, 10, 14, {499}, 0, 0, 6, {},
         {{"王子", 11}, {"緹菈", 13}}, {}, {170, 500}, 2, 9, 7},
        {"garden visit 5", EvMove109, 239, 10, 14, {500}, 0, 0, 8, {},
         {{"王子", 13}, {"緹菈", 12}}, {}, {170, 501}, 2, 9, 9},
        {"garden visit 6, the king", EvMove110, 251, 10, 14, {501}, 0, 0, 10, {},
         {{"王子", 6}, {"緹菈", 13}, {"王樣", 5}}, {}, {170, 496, 502}, 2, 3, 11},
        {"a plain garden visit", EvMove111, 197, 10, 14, {}, 0, 0, 1, {},
         {{"王子", 2}, {"緹菈", 6}}, {}, {170}, 2, 9, 2},
    };
    return plays;
}
// clang-format on

TEST_F(PrinceTest, EveryEventPlaysEveryBranchAndEveryRecordIsPlayed) {
    story::ResetPlays();
    for (const Play& p : Plays()) Run(p);
    ExpectAllPlayed(kFile);
}

TEST_F(PrinceTest, TheArcsLinesAreTheIssuesCount) {
    // 5 + 18 + 29, 61, 11, 23; the lead-in 15, the ball 112, its declining 15; the
    // castle gate and the aftermath 46, of which the reproach's 5 lines stand once for
    // both of its scenes; the garden 140; 黑皮 after the ball night 9.
    int lines = 0;
    for (const story::Scene& sc : story::Scenes())
        if (sc.file == kFile)
            for (const story::Step& st : sc.steps) lines += st.kind == story::StepKind::Line;
    EXPECT_EQ(lines, 52 + 61 + 11 + 23 + 15 + 112 + 15 + 46 - 5 + 140 + 9);
    for (const story::Scene& sc : story::Scenes())
        if (sc.file == kFile)
            for (const story::Step& st : sc.steps)
                if (st.kind == story::StepKind::Line) {
                    EXPECT_EQ(story::LineProblem(st.text), "") << sc.key;
                }
}

// ---- the ball

TEST_F(PrinceTest, TheBallWaitsForSevenAndEndsInTheShopWithItsPictures) {
    Start(281, 17, 10);
    ev->SetFlg(flag::BallInvitation, true);
    SetItemStock(kRing, 1);
    test::EventResponders player(headless.Backend());
    player.answers = {0};
    ASSERT_TRUE(EvTurnStart010());
    // The lead-in's 15 lines, then the hall.
    int lines = 0, linesBeforeHall = -1;
    for (const ui::TranscriptEntry& e : transcript->Entries()) {
        if (e.kind == "place" && e.text == "15" && linesBeforeHall < 0) linesBeforeHall = lines;
        lines += e.kind == "line";
    }
    EXPECT_EQ(linesBeforeHall, 15);
    EXPECT_EQ(transcript->Texts("choice"),
              std::vector<std::string>{"『答應王子殿下的求婚。 / 『不放棄有著母親回憶的店。"});
    EXPECT_TRUE(ev->TestFlg(52));  // the dance seen
    EXPECT_TRUE(ev->TestFlg(62));  // the embrace seen
    EXPECT_EQ(GameHour(), 22);
    EXPECT_EQ(GameFlow->Place, 10);
    // The king steps in on the left and the prince to the right; both go before B3.
    const std::vector<std::string> figures = transcript->Texts("figure");
    const auto king = std::find(figures.begin(), figures.end(), "show 39 left");
    ASSERT_NE(king, figures.end());
    EXPECT_EQ(*(king + 1), "clear left");
    EXPECT_EQ(*(king + 2), "clear right");
    const std::vector<std::string> slides = transcript->Texts("transition");
    EXPECT_NE(std::find(slides.begin(), slides.end(), "slide centre to right"), slides.end());
    // At 22:00 of the ball day neither lead-in comes again.
    EXPECT_FALSE(EvTurnStart010());
    EXPECT_FALSE(EvMove102());
    // The walk that follows marks nothing: she went.
    GameFlow->Place = 3;
    ASSERT_TRUE(EvMove103());
    EXPECT_FALSE(ev->TestFlg(flag::BallNightPassed));
}

TEST_F(PrinceTest, AnotherRouteDeclinesWithoutAChoiceAndNoRingWithoutTheSecret) {
    for (int route : {flag::RouteFlorae, flag::RouteRenette, flag::RouteCocotte}) {
        SCOPED_TRACE(route);
        Start(281, 19, 10);
        ev->SetFlg(flag::BallInvitation, true);
        ev->SetFlg(route, true);
        SetItemStock(kRing, 1);
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart010());
        EXPECT_TRUE(transcript->Texts("choice").empty());
        EXPECT_EQ(Lines(), 123);
        EXPECT_FALSE(ev->TestFlg(flag::RoutePrince));
        EXPECT_TRUE(ev->TestFlg(flag::ProposalRefused));
        EXPECT_EQ(GameHour(), 22);
    }
    // Without the ring: back at the shop at 20:00, and the lead-in's window is past.
    Start(281, 17, 10);
    ev->SetFlg(flag::BallInvitation, true);
    test::EventResponders player(headless.Backend());
    ASSERT_TRUE(EvTurnStart010());
    EXPECT_TRUE(transcript->Texts("choice").empty());
    EXPECT_TRUE(ev->TestFlg(52));
    EXPECT_FALSE(ev->TestFlg(62));
    EXPECT_EQ(GameHour(), 20);
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_FALSE(EvTurnStart010());
}

TEST_F(PrinceTest, TheInvitationMovesFeleAsideForHeipi) {
    Start(278, 15, 10);
    ev->EventVariable[var::GardenVisitCount] = 5;
    test::EventResponders player(headless.Backend());
    ASSERT_TRUE(EvTurnStart008());
    const std::vector<std::string> figures = transcript->Texts("figure");
    const auto heipi = std::find(figures.begin(), figures.end(), "show 2 left");
    ASSERT_NE(heipi, figures.end());
    const std::vector<std::string> slides = transcript->Texts("transition");
    EXPECT_NE(std::find(slides.begin(), slides.end(), "slide centre to right"), slides.end());
    EXPECT_EQ(*(heipi + 1), "clear right");
    EXPECT_EQ(*(heipi + 2), "clear left");
    EXPECT_EQ(GameHour(), 15);
}

// ---- the garden, visit by visit through the castle gate

TEST_F(PrinceTest, ElevenRestDaysInTheGardenAfterTheFirstAfternoon) {
    Start(185, 10, 9);
    ev->SetFlg(flag::PalaceInvitation, true);
    test::EventResponders player(headless.Backend());
    struct Visit {
        int day;
        const char* event;
        int gardenAfter;
    };
    const Visit visits[] = {{185, "EvMove011", 0}, {191, "EvMove105", 1},  {197, "EvMove111", 2},
                            {203, "EvMove106", 3}, {209, "EvMove111", 4},  {215, "EvMove107", 5},
                            {221, "EvMove111", 6}, {227, "EvMove108", 7},  {233, "EvMove111", 8},
                            {239, "EvMove109", 9}, {245, "EvMove111", 10}, {251, "EvMove110", 11}};
    int gardenLines = 0;
    for (const Visit& v : visits) {
        SCOPED_TRACE(v.day);
        ev->ClearDailyFlags();
        SetGameDay(v.day);
        SetGameHour(10);
        GameFlow->Place = 9;
        story::ResetPlays();
        transcript->Clear();
        player.answers = {0};
        VisitPalace(10);
        EXPECT_EQ(Played(), std::vector<std::string>{v.event});
        EXPECT_EQ(GameHour(), 12);
        EXPECT_EQ(ev->EventVariable[var::GardenVisitCount], v.gardenAfter);
        EXPECT_TRUE(ev->TestFlg(flag::PrinceMetToday));
        EXPECT_EQ(GameFlow->Place, v.day == 251 ? 3 : 9);
        if (v.day == 185) continue;
        for (const story::Scene& sc : story::Scenes())
            if (sc.file == kFile)
                for (const story::Step& st : sc.steps)
                    gardenLines += st.kind == story::StepKind::Line ? st.plays : 0;
    }
    EXPECT_EQ(gardenLines, 172);
    EXPECT_TRUE(ev->TestFlg(flag::KingWarning));
    // A second call the same day, and any rest day after the king's warning, finds no
    // garden.
    for (int day : {251, 257}) {
        if (day != 251) ev->ClearDailyFlags();
        SetGameDay(day);
        SetGameHour(10);
        GameFlow->Place = 9;
        story::ResetPlays();
        VisitPalace(10);
        EXPECT_TRUE(Played().empty()) << day;
    }
    // Five visits and more open the invitation on days 276..280.
    Start(276, 9, 10);
    ev->EventVariable[var::GardenVisitCount] = 11;
    ASSERT_TRUE(EvTurnStart008());
}

// The save tests/scripts/garden_first_afternoon.txt starts from: the morning of day 185,
// a rest day, invited to the palace, the square and the castle gate introduced; slot 2
// of the list.
TEST_F(PrinceTest, TheFirstAfternoonsMorningSavesAndLoads) {
    Start(185, 8, 10);
    ev->SetFlg(flag::PalaceInvitation, true);
    ev->SetFlg(flag::IntroSquare, true);
    ev->SetFlg(flag::IntroCastle, true);
    SetMoney(50000);
    ui::SetProgramFolder(test::ScratchDir("garden"));
    ASSERT_TRUE(SaveGame(1));
    Start(0, 10, 10);
    ASSERT_TRUE(LoadGame(1));
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
    EXPECT_EQ(GameDay(), 185);
    EXPECT_EQ(GameHour(), 8);
    EXPECT_TRUE(ev->TestFlg(flag::PalaceInvitation));
    EXPECT_FALSE(ev->TestFlg(flag::GardenFirstVisit));
    EXPECT_EQ(GameMoney(), 50000);
}

// ---- conditions

TEST_F(PrinceTest, EachEventRefusesOutsideItsConditions) {
    struct Case {
        const char* what;
        bool (*event)();
        int day, hour, place;
        std::vector<int> flags;
        int ring, soul, garden;
    };
    // clang-format off
    const Case cases[] = {
        {"the ring on weekday 2", EvMove009, 146, 10, 34, {415}, 0, 0, 0},
        {"the ring before day 144", EvMove009, 139, 10, 34, {415}, 0, 0, 0},
        {"the ring on the ankle's day", EvMove009, 145, 10, 34, {415, 171}, 0, 0, 0},
        {"the ring at 16:00", EvMove009, 145, 16, 34, {415}, 0, 0, 0},
        {"the ring before the ankle", EvMove009, 145, 10, 34, {}, 0, 0, 0},
        {"the square at 19:00", EvMove010, 150, 19, 3, {416}, 1, 0, 0},
        {"the first afternoon at the gate itself", EvMove011, 185, 10, 9, {420}, 0, 0, 0},
        {"the first afternoon on day 179", EvMove011, 179, 10, 14, {420}, 0, 0, 0},
        {"the first afternoon at 16:00", EvMove011, 185, 16, 14, {420}, 0, 0, 0},
        {"the first afternoon again", EvMove011, 191, 10, 14, {420, 421}, 0, 0, 0},
        {"the invitation at 16:00", EvTurnStart008, 280, 16, 10, {}, 0, 0, 5},
        {"the invitation after four visits", EvTurnStart008, 278, 10, 10, {}, 0, 0, 4},
        {"the invitation on day 281", EvTurnStart008, 281, 10, 10, {}, 0, 0, 5},
        {"the ball at 20:00", EvTurnStart010, 281, 20, 10, {422}, 1, 0, 0},
        {"the ball uninvited", EvTurnStart010, 281, 17, 10, {}, 1, 0, 0},
        {"the ball's arrival a day late", EvMove102, 282, 17, 3, {422}, 1, 0, 0},
        {"the mother without 黃泉之魂", EvTurnStart011, 282, 20, 10, {402}, 0, 0, 0},
        {"the mother before day 282", EvTurnStart011, 281, 22, 10, {402}, 0, 1, 0},
        {"the secret on day 283", EvTurnStart025, 283, 9, 10, {402}, 0, 0, 0},
        {"the secret at 10:00", EvTurnStart025, 282, 10, 10, {402}, 0, 0, 0},
        {"the contest's end after taking part", EvMove097, 125, 17, 6, {408}, 0, 0, 0},
        {"the contest's end after the aftermath", EvMove097, 125, 17, 6, {487}, 0, 0, 0},
        {"the contest under way the next day", EvMove096, 126, 13, 6, {}, 0, 0, 0},
        {"the guard's welcome twice", EvMove099, 283, 12, 9, {402, 490}, 0, 0, 0},
        {"the ball night's walk a day later", EvMove103, 282, 20, 3, {422}, 0, 0, 0},
        {"黑皮 without the marked night", EvMove104, 283, 10, 10, {422}, 0, 0, 0},
        {"黑皮 outside the shop", EvMove104, 283, 10, 3, {422, 489}, 0, 0, 0},
        {"黑皮 once", EvMove104, 283, 10, 10, {422, 489, 533}, 0, 0, 0},
        {"a story visit with an odd count", EvMove105, 191, 10, 14, {}, 0, 0, 1},
        {"visit 2 before visit 1", EvMove106, 191, 10, 14, {}, 0, 0, 0},
        {"the king's visit again", EvMove110, 257, 10, 14, {501, 502}, 0, 0, 12},
    };
    // clang-format on
    test::EventResponders player(headless.Backend());
    for (const Case& c : cases) {
        Start(c.day, c.hour, c.place);
        for (int f : c.flags) ev->SetFlg(f, true);
        SetItemStock(kRing, c.ring);
        SetItemStock(kSoulOfHades, c.soul);
        ev->EventVariable[var::GardenVisitCount] = c.garden;
        EXPECT_FALSE(c.event()) << c.what;
        EXPECT_EQ(Lines(), 0) << c.what;
    }
    // Weekday 3 holds as well as 1.
    Start(147, 15, 34);
    ev->SetFlg(flag::FeleSprainedAnkle, true);
    EXPECT_TRUE(EvMove009());
    // The debug window's override does not lift the garden's parity: an odd count leaves
    // every story visit to the plain one.
    Start(191, 10, 14);
    ev->EventVariable[var::GardenVisitCount] = 1;
    for (bool (*visit)() : {EvMove105, EvMove106, EvMove107, EvMove108, EvMove109, EvMove110})
        EXPECT_FALSE(Forced(visit));
    EXPECT_TRUE(EvMove111());
}

}  // namespace
