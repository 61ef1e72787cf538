// 王子 and the royal ball played headless through the real message window with the
// transcript: the ring, the first afternoon in the castle garden and the visits after
// it, the invitation, the ball on each of its paths, the engagement told to 黑皮 and to
// her mother, the castle gate's answers, the magic contest's aftermath and the ball
// night's walks. Every branch of every event plays, and every record of its text.
#include <gtest/gtest.h>

#include <algorithm>
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
using test::Join;
using test::Span;

class PrinceTest : public test::StoryTest {
protected:
    // Every case in good health, neither the ring nor the soul in stock.
    void Arrange(const test::EventCase&) override {
        SetCondition(0);
        SetItemStock(item::FoundRing, 0);
        SetItemStock(item::SoulOfTheUnderworld, 0);
    }
};

// Every event on every branch, as the Parts and the issue count them.
const std::vector<test::EventCase>& Plays() {
    static const std::vector<test::EventCase> plays = {
        // ---- the ring: at the spring on weekday 1 or 3 from day 144, then at the square
        {.name = "the ring at the spring",
         .event = EvMove009,
         .day = 145,
         .hour = 10,
         .place = place::ForestSpring,
         .flags = {flag::FeleSprainedAnkle},
         .speakers = {{"緹菈", 3}, {"", 2}},
         .voices = Span(569, 571),
         .changed = {flag::RingFound},
         .itemsAfter = {{item::FoundRing, 1}}},
        {.name = "the ring shown to 斐爾",
         .event = EvMove010,
         .day = 150,
         .hour = 12,
         .place = place::Square,
         .flags = {flag::RingFound},
         .items = {{item::FoundRing, 1}},
         .speakers = {{"緹菈", 10}, {"斐爾", 8}},
         .voices = Span(572, 589),
         .changed = {flag::RingReturned}},
        // ---- the first afternoon: in, or not today
        {.name = "the garden, choosing to go in",
         .event = EvMove011,
         .day = 185,
         .hour = 10,
         .place = place::CastleGarden,
         .flags = {flag::PalaceInvitation},
         .answers = {0},
         .speakers = {{"緹菈", 16}, {"王子", 9}, {"衛兵", 2}},
         .voices = Span(680, 700),
         .changed = {flag::PrinceMetToday, flag::GardenFirstVisit},
         .hours = 2,
         .placeAfter = place::CastleGate},
        {.name = "the garden, choosing not to",
         .event = EvMove011,
         .day = 185,
         .hour = 10,
         .place = place::CastleGarden,
         .flags = {flag::PalaceInvitation},
         .answers = {1},
         .speakers = {{"緹菈", 3}, {"衛兵", 2}}},
        // ---- the invitation and 斐爾's farewell
        {.name = "the invitation",
         .event = EvTurnStart008,
         .day = 276,
         .hour = 9,
         .place = place::ShopInside,
         .vars = {{var::GardenVisitCount, 5}},
         .speakers = {{"緹菈", 29}, {"", 5}, {"斐爾", 15}, {"王子", 7}, {"黑皮", 5}},
         .voices = Span(701, 756),
         .changed = {flag::BallInvitation}},
        // ---- the ball: the shop's lead-in with each answer, another's route, no ring
        {.name = "the ball, accepting",
         .event = EvTurnStart010,
         .day = 281,
         .hour = 17,
         .place = place::ShopInside,
         .flags = {flag::BallInvitation},
         .items = {{item::FoundRing, 1}},
         .answers = {0},
         .speakers = {{"緹菈", 63},
                      {"王子", 39},
                      {"王子殿下", 2},
                      {"斐爾", 4},
                      {"黑皮", 5},
                      {"王樣", 5},
                      {"蕾妮特的父親", 6},
                      {"", 2}},
         .voices = Span(757, 865),
         .changed = {flag::RoutePrince, flag::FeleLeft},
         .hours = 5},
        {.name = "the ball, keeping the shop",
         .event = EvTurnStart010,
         .day = 281,
         .hour = 17,
         .place = place::ShopInside,
         .flags = {flag::BallInvitation},
         .items = {{item::FoundRing, 1}},
         .answers = {1},
         .speakers = {{"緹菈", 62},
                      {"王子", 38},
                      {"斐爾", 5},
                      {"黑皮", 5},
                      {"王樣", 5},
                      {"蕾妮特的父親", 6},
                      {"", 2}},
         .voices = Join({Span(757, 847), Span(866, 880)}),
         .changed = {flag::ProposalRefused, flag::FeleLeft},
         .hours = 5},
        {.name = "the ball on 蕾妮特's route",
         .event = EvTurnStart010,
         .day = 281,
         .hour = 17,
         .place = place::ShopInside,
         .flags = {flag::BallInvitation, flag::RouteRenette},
         .items = {{item::FoundRing, 1}},
         .speakers = {{"緹菈", 62},
                      {"王子", 38},
                      {"斐爾", 5},
                      {"黑皮", 5},
                      {"王樣", 5},
                      {"蕾妮特的父親", 6},
                      {"", 2}},
         .voices = Join({Span(757, 847), Span(866, 880)}),
         .changed = {flag::ProposalRefused, flag::FeleLeft},
         .hours = 5},
        {.name = "the ball without the ring",
         .event = EvTurnStart010,
         .day = 281,
         .hour = 17,
         .place = place::ShopInside,
         .flags = {flag::BallInvitation},
         .speakers = {{"緹菈", 32}, {"王子", 18}, {"黑皮", 5}, {"王樣", 5}},
         .voices = Span(757, 806),
         .changed = {flag::ProposalRefused, flag::FeleLeft},
         .hours = 3},
        {.name = "the ball from an arrival at the park at 18:00",
         .event = EvMove102,
         .day = 281,
         .hour = 18,
         .place = place::Park,
         .flags = {flag::BallInvitation},
         .speakers = {{"緹菈", 32}, {"王子", 18}, {"黑皮", 5}, {"王樣", 5}},
         .voices = Span(757, 806),
         .changed = {flag::ProposalRefused, flag::FeleLeft},
         .hours = 2,
         .placeAfter = place::ShopInside},
        // ---- the engagement told
        {.name = "the secret told to 黑皮",
         .event = EvTurnStart025,
         .day = 282,
         .hour = 9,
         .place = place::ShopInside,
         .flags = {flag::RoutePrince},
         .speakers = {{"緹菈", 8}, {"黑皮", 3}},
         .changed = {flag::EngagementSecret}},
        {.name = "the mother told",
         .event = EvTurnStart011,
         .day = 282,
         .hour = 20,
         .place = place::ShopInside,
         .flags = {flag::RoutePrince},
         .items = {{item::SoulOfTheUnderworld, 1}},
         .speakers = {{"緹菈", 11}, {"緹菈的母親", 8}, {"黑皮", 3}, {"", 1}},
         .voices = Span(881, 897),
         .changed = {flag::EngagementToldMother}},
        // ---- the magic contest's aftermath
        {.name = "the contest under way",
         .event = EvMove096,
         .day = 125,
         .hour = 13,
         .place = place::EventGround,
         .speakers = {{"緹菈", 14}, {"蕾妮特", 8}, {"黑皮", 4}},
         .changed = {flag::ContestSkipped},
         .hours = 4},
        {.name = "the contest over",
         .event = EvMove097,
         .day = 125,
         .hour = 17,
         .place = place::EventGround,
         .speakers = {{"緹菈", 6}, {"蕾妮特", 5}},
         .changed = {flag::ContestSkipped}},
        // ---- the castle gate
        {.name = "the gate after a ball she missed",
         .event = EvMove098,
         .day = 283,
         .hour = 12,
         .place = place::CastleGate,
         .flags = {flag::BallNightPassed},
         .speakers = {{"緹菈", 1}},
         .placeAfter = place::Square},
        {.name = "the gate when engaged",
         .event = EvMove099,
         .day = 283,
         .hour = 12,
         .place = place::CastleGate,
         .flags = {flag::RoutePrince},
         .speakers = {{"緹菈", 5}, {"衛兵", 1}},
         .changed = {flag::GuardGreetedLady}},
        {.name = "the gate after refusing him",
         .event = EvMove100,
         .day = 283,
         .hour = 12,
         .place = place::CastleGate,
         .flags = {flag::ProposalRefused},
         .speakers = {{"緹菈", 1}},
         .placeAfter = place::Square},
        {.name = "the gate on a plain day",
         .event = EvMove101,
         .day = 100,
         .hour = 12,
         .place = place::CastleGate,
         .speakers = {{"緹菈", 1}}},
        // ---- the ball night's walks: marked only when invited and the ball not played
        {.name = "a walk on the ball night, invited, stayed away",
         .event = EvMove103,
         .day = 281,
         .hour = 20,
         .place = place::Square,
         .flags = {flag::BallInvitation},
         .changed = {flag::BallNightPassed}},
        {.name = "a walk on the ball night after the ball",
         .event = EvMove103,
         .day = 281,
         .hour = 22,
         .place = place::Square,
         .flags = {flag::BallInvitation, flag::FeleLeft}},
        {.name = "a walk on the ball night, never invited",
         .event = EvMove103,
         .day = 281,
         .hour = 21,
         .place = place::Square},
        {.name = "黑皮 after the ball night",
         .event = EvMove104,
         .day = 282,
         .hour = 10,
         .place = place::ShopInside,
         .flags = {flag::BallInvitation, flag::BallNightPassed},
         .speakers = {{"黑皮", 4}, {"緹菈", 5}},
         .changed = {flag::HeipiAfterBall}},
        // ---- the garden visits
        {.name = "garden visit 1",
         .event = EvMove105,
         .day = 191,
         .hour = 10,
         .place = place::CastleGarden,
         .speakers = {{"王子", 11}, {"緹菈", 9}},
         .changed = {flag::PrinceMetToday, flag::GardenVisit1},
         .varsAfter = {{var::GardenVisitCount, 1}},
         .hours = 2,
         .placeAfter = place::CastleGate},
        {.name = "garden visit 2",
         .event = EvMove106,
         .day = 203,
         .hour = 10,
         .place = place::CastleGarden,
         .flags = {flag::GardenVisit1},
         .vars = {{var::GardenVisitCount, 2}},
         .speakers = {{"王子", 8}, {"緹菈", 9}},
         .changed = {flag::PrinceMetToday, flag::GardenVisit2},
         .varsAfter = {{var::GardenVisitCount, 3}},
         .hours = 2,
         .placeAfter = place::CastleGate},
        {.name = "garden visit 3",
         .event = EvMove107,
         .day = 215,
         .hour = 10,
         .place = place::CastleGarden,
         .flags = {flag::GardenVisit2},
         .vars = {{var::GardenVisitCount, 4}},
         .speakers = {{"王子", 9}, {"緹菈", 13}},
         .changed = {flag::PrinceMetToday, flag::GardenVisit3},
         .varsAfter = {{var::GardenVisitCount, 5}},
         .hours = 2,
         .placeAfter = place::CastleGate},
        {.name = "garden visit 4",
         .event = EvMove108,
         .day = 227,
         .hour = 10,
         .place = place::CastleGarden,
         .flags = {flag::GardenVisit3},
         .vars = {{var::GardenVisitCount, 6}},
         .speakers = {{"王子", 11}, {"緹菈", 13}},
         .changed = {flag::PrinceMetToday, flag::GardenVisit4},
         .varsAfter = {{var::GardenVisitCount, 7}},
         .hours = 2,
         .placeAfter = place::CastleGate},
        {.name = "garden visit 5",
         .event = EvMove109,
         .day = 239,
         .hour = 10,
         .place = place::CastleGarden,
         .flags = {flag::GardenVisit4},
         .vars = {{var::GardenVisitCount, 8}},
         .speakers = {{"王子", 13}, {"緹菈", 12}},
         .changed = {flag::PrinceMetToday, flag::GardenVisit5},
         .varsAfter = {{var::GardenVisitCount, 9}},
         .hours = 2,
         .placeAfter = place::CastleGate},
        {.name = "garden visit 6, the king",
         .event = EvMove110,
         .day = 251,
         .hour = 10,
         .place = place::CastleGarden,
         .flags = {flag::GardenVisit5},
         .vars = {{var::GardenVisitCount, 10}},
         .speakers = {{"王子", 6}, {"緹菈", 13}, {"王樣", 5}},
         .changed = {flag::PrinceMetToday, flag::KingWarning, flag::GardenVisit6},
         .varsAfter = {{var::GardenVisitCount, 11}},
         .hours = 2,
         .placeAfter = place::Square},
        {.name = "a plain garden visit",
         .event = EvMove111,
         .day = 197,
         .hour = 10,
         .place = place::CastleGarden,
         .vars = {{var::GardenVisitCount, 1}},
         .speakers = {{"王子", 2}, {"緹菈", 6}},
         .changed = {flag::PrinceMetToday},
         .varsAfter = {{var::GardenVisitCount, 2}},
         .hours = 2,
         .placeAfter = place::CastleGate},
    };
    return plays;
}

TEST_F(PrinceTest, EveryEventPlaysEveryBranchAndEveryRecordIsPlayed) {
    story::ResetPlays();
    for (const test::EventCase& p : Plays()) Play(p);
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
    Start(281, 17, place::ShopInside);
    ev->SetFlg(flag::BallInvitation, true);
    SetItemStock(item::FoundRing, 1);
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
              std::vector<std::string>{"『答應王子殿下的求婚 / 『不放棄有著母親回憶的店"});
    EXPECT_TRUE(ev->TestFlg(flag::DancePictureSeen));
    EXPECT_TRUE(ev->TestFlg(flag::EmbracePictureSeen));
    EXPECT_EQ(GameHour(), 22);
    EXPECT_EQ(GameFlow->Place, place::ShopInside);
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
    GameFlow->Place = place::Square;
    ASSERT_TRUE(EvMove103());
    EXPECT_FALSE(ev->TestFlg(flag::BallNightPassed));
}

TEST_F(PrinceTest, AnotherRouteDeclinesWithoutAChoiceAndNoRingWithoutTheSecret) {
    for (int route : {flag::RouteFlorae, flag::RouteRenette, flag::RouteCocotte}) {
        SCOPED_TRACE(route);
        Start(281, 19, place::ShopInside);
        ev->SetFlg(flag::BallInvitation, true);
        ev->SetFlg(route, true);
        SetItemStock(item::FoundRing, 1);
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart010());
        EXPECT_TRUE(transcript->Texts("choice").empty());
        EXPECT_EQ(Lines(), 123);
        EXPECT_FALSE(ev->TestFlg(flag::RoutePrince));
        EXPECT_TRUE(ev->TestFlg(flag::ProposalRefused));
        EXPECT_EQ(GameHour(), 22);
    }
    // Without the ring: back at the shop at 20:00, and the lead-in's window is past.
    Start(281, 17, place::ShopInside);
    ev->SetFlg(flag::BallInvitation, true);
    test::EventResponders player(headless.Backend());
    ASSERT_TRUE(EvTurnStart010());
    EXPECT_TRUE(transcript->Texts("choice").empty());
    EXPECT_TRUE(ev->TestFlg(flag::DancePictureSeen));
    EXPECT_FALSE(ev->TestFlg(flag::EmbracePictureSeen));
    EXPECT_EQ(GameHour(), 20);
    EXPECT_EQ(GameFlow->Place, place::ShopInside);
    EXPECT_FALSE(EvTurnStart010());
}

TEST_F(PrinceTest, TheInvitationMovesFeleAsideForHeipi) {
    Start(278, 15, place::ShopInside);
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
    Start(185, 10, place::CastleGate);
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
        GameFlow->Place = place::CastleGate;
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
        GameFlow->Place = place::CastleGate;
        story::ResetPlays();
        VisitPalace(10);
        EXPECT_TRUE(Played().empty()) << day;
    }
    // Five visits and more open the invitation on days 276..280.
    Start(276, 9, place::ShopInside);
    ev->EventVariable[var::GardenVisitCount] = 11;
    ASSERT_TRUE(EvTurnStart008());
}

// The save tests/scripts/garden_first_afternoon.txt starts from: the morning of day 185,
// a rest day, invited to the palace, the square and the castle gate introduced; slot 2
// of the list.
TEST_F(PrinceTest, TheFirstAfternoonsMorningSavesAndLoads) {
    Start(185, 8, place::ShopInside);
    ev->SetFlg(flag::PalaceInvitation, true);
    ev->SetFlg(flag::IntroSquare, true);
    ev->SetFlg(flag::IntroCastle, true);
    SetMoney(50000);
    ui::SetProgramFolder(test::ScratchDir("garden"));
    ASSERT_TRUE(SaveGame(1));
    Start(0, 10, place::ShopInside);
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
    const test::EventCase cases[] = {
        {.name = "the ring on weekday 2",
         .event = EvMove009,
         .day = 146,
         .hour = 10,
         .place = place::ForestSpring,
         .flags = {flag::FeleSprainedAnkle}},
        {.name = "the ring before day 144",
         .event = EvMove009,
         .day = 139,
         .hour = 10,
         .place = place::ForestSpring,
         .flags = {flag::FeleSprainedAnkle}},
        {.name = "the ring on the ankle's day",
         .event = EvMove009,
         .day = 145,
         .hour = 10,
         .place = place::ForestSpring,
         .flags = {flag::FeleSprainedAnkle, flag::FeleFellToday}},
        {.name = "the ring at 16:00",
         .event = EvMove009,
         .day = 145,
         .hour = 16,
         .place = place::ForestSpring,
         .flags = {flag::FeleSprainedAnkle}},
        {.name = "the ring before the ankle",
         .event = EvMove009,
         .day = 145,
         .hour = 10,
         .place = place::ForestSpring},
        {.name = "the square at 19:00",
         .event = EvMove010,
         .day = 150,
         .hour = 19,
         .place = place::Square,
         .flags = {flag::RingFound},
         .items = {{item::FoundRing, 1}}},
        {.name = "the first afternoon at the gate itself",
         .event = EvMove011,
         .day = 185,
         .hour = 10,
         .place = place::CastleGate,
         .flags = {flag::PalaceInvitation}},
        {.name = "the first afternoon on day 179",
         .event = EvMove011,
         .day = 179,
         .hour = 10,
         .place = place::CastleGarden,
         .flags = {flag::PalaceInvitation}},
        {.name = "the first afternoon at 16:00",
         .event = EvMove011,
         .day = 185,
         .hour = 16,
         .place = place::CastleGarden,
         .flags = {flag::PalaceInvitation}},
        {.name = "the first afternoon again",
         .event = EvMove011,
         .day = 191,
         .hour = 10,
         .place = place::CastleGarden,
         .flags = {flag::PalaceInvitation, flag::GardenFirstVisit}},
        {.name = "the invitation at 16:00",
         .event = EvTurnStart008,
         .day = 280,
         .hour = 16,
         .place = place::ShopInside,
         .vars = {{var::GardenVisitCount, 5}}},
        {.name = "the invitation after four visits",
         .event = EvTurnStart008,
         .day = 278,
         .hour = 10,
         .place = place::ShopInside,
         .vars = {{var::GardenVisitCount, 4}}},
        {.name = "the invitation on day 281",
         .event = EvTurnStart008,
         .day = 281,
         .hour = 10,
         .place = place::ShopInside,
         .vars = {{var::GardenVisitCount, 5}}},
        {.name = "the ball at 20:00",
         .event = EvTurnStart010,
         .day = 281,
         .hour = 20,
         .place = place::ShopInside,
         .flags = {flag::BallInvitation},
         .items = {{item::FoundRing, 1}}},
        {.name = "the ball uninvited",
         .event = EvTurnStart010,
         .day = 281,
         .hour = 17,
         .place = place::ShopInside,
         .items = {{item::FoundRing, 1}}},
        {.name = "the ball's arrival a day late",
         .event = EvMove102,
         .day = 282,
         .hour = 17,
         .place = place::Square,
         .flags = {flag::BallInvitation},
         .items = {{item::FoundRing, 1}}},
        {.name = "the mother without 黃泉之魂",
         .event = EvTurnStart011,
         .day = 282,
         .hour = 20,
         .place = place::ShopInside,
         .flags = {flag::RoutePrince}},
        {.name = "the mother before day 282",
         .event = EvTurnStart011,
         .day = 281,
         .hour = 22,
         .place = place::ShopInside,
         .flags = {flag::RoutePrince},
         .items = {{item::SoulOfTheUnderworld, 1}}},
        {.name = "the secret on day 283",
         .event = EvTurnStart025,
         .day = 283,
         .hour = 9,
         .place = place::ShopInside,
         .flags = {flag::RoutePrince}},
        {.name = "the secret at 10:00",
         .event = EvTurnStart025,
         .day = 282,
         .hour = 10,
         .place = place::ShopInside,
         .flags = {flag::RoutePrince}},
        {.name = "the contest's end after taking part",
         .event = EvMove097,
         .day = 125,
         .hour = 17,
         .place = place::EventGround,
         .flags = {flag::MagicContestHeld}},
        {.name = "the contest's end after the aftermath",
         .event = EvMove097,
         .day = 125,
         .hour = 17,
         .place = place::EventGround,
         .flags = {flag::ContestSkipped}},
        {.name = "the contest under way the next day",
         .event = EvMove096,
         .day = 126,
         .hour = 13,
         .place = place::EventGround},
        {.name = "the guard's welcome twice",
         .event = EvMove099,
         .day = 283,
         .hour = 12,
         .place = place::CastleGate,
         .flags = {flag::RoutePrince, flag::GuardGreetedLady}},
        {.name = "the ball night's walk a day later",
         .event = EvMove103,
         .day = 282,
         .hour = 20,
         .place = place::Square,
         .flags = {flag::BallInvitation}},
        {.name = "黑皮 without the marked night",
         .event = EvMove104,
         .day = 283,
         .hour = 10,
         .place = place::ShopInside,
         .flags = {flag::BallInvitation}},
        {.name = "黑皮 outside the shop",
         .event = EvMove104,
         .day = 283,
         .hour = 10,
         .place = place::Square,
         .flags = {flag::BallInvitation, flag::BallNightPassed}},
        {.name = "黑皮 once",
         .event = EvMove104,
         .day = 283,
         .hour = 10,
         .place = place::ShopInside,
         .flags = {flag::BallInvitation, flag::BallNightPassed, flag::HeipiAfterBall}},
        {.name = "a story visit with an odd count",
         .event = EvMove105,
         .day = 191,
         .hour = 10,
         .place = place::CastleGarden,
         .vars = {{var::GardenVisitCount, 1}}},
        {.name = "visit 2 before visit 1",
         .event = EvMove106,
         .day = 191,
         .hour = 10,
         .place = place::CastleGarden},
        {.name = "the king's visit again",
         .event = EvMove110,
         .day = 257,
         .hour = 10,
         .place = place::CastleGarden,
         .flags = {flag::GardenVisit5, flag::GardenVisit6},
         .vars = {{var::GardenVisitCount, 12}}},
    };
    test::EventResponders player(headless.Backend());
    for (const test::EventCase& c : cases) {
        Stage(c);
        EXPECT_FALSE(c.event()) << c.name;
        EXPECT_EQ(Lines(), 0) << c.name;
    }
    // Weekday 3 holds as well as 1.
    Start(147, 15, place::ForestSpring);
    ev->SetFlg(flag::FeleSprainedAnkle, true);
    EXPECT_TRUE(EvMove009());
    // The debug window's override does not lift the garden's parity: an odd count leaves
    // every story visit to the plain one.
    Start(191, 10, place::CastleGarden);
    ev->EventVariable[var::GardenVisitCount] = 1;
    for (bool (*visit)() : {EvMove105, EvMove106, EvMove107, EvMove108, EvMove109, EvMove110})
        EXPECT_FALSE(Forced(visit));
    EXPECT_TRUE(EvMove111());
}

}  // namespace
