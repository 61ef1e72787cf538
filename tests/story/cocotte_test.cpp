// 可可特 and the shop's own days played headless through the real message window with
// the transcript: every branch of every event with its lines, speakers, voices, flags,
// meetings, items, clock and place; the evening walk's three paths and its loop; the
// shop visits of days 100..204 through the visit command; the visit that an event took
// elsewhere; and the orders of a night spent inside an event.
#include "story/Cocotte.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Form.h"
#include "platform/Random.h"
#include "shop/GameDialog.h"
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
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"

namespace {

using Counts = test::StoryTest::Counts;
constexpr char kFile[] = "Cocotte.txt";
constexpr int kMeetings = var::CocotteMeetingCount;

void ChoseCocotteOnDay260() { DayMarks[mark::CocotteChosenDay] = 260; }
void MixedAGood() { GameFlow->MixedItem = item::VigourPerfume; }
void SevenRoomVisits() { EventServerDbg->SetVariable(var::SilentVisitCount, 7); }
void ChanceHolds() { ui::Srand(test::SeedFor({30})); }

std::vector<test::EventCase> Cases() {
    return {
        // ---- 微笑魔法店: the two voiced scenes, the eight talks, the chats
        {.name = "EvMove015",
         .event = EvMove015,
         .day = 100,
         .hour = 16,
         .place = place::RivalShopInside,
         .speakers = {{"", 1}, {"可可特", 8}, {"緹菈", 7}},
         .voices = test::Span(1086, 1100),
         .changed = {flag::IntroRivalShopRoom, flag::CocotteMet},
         .varsAfter = {{var::CocotteMeetingCount, 1}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove016",
         .event = EvMove016,
         .day = 204,
         .hour = 16,
         .place = place::RivalShopInside,
         .flags = {flag::CocotteTalk8},
         .vars = {{var::CocotteMeetingCount, 20}},
         .speakers = {{"可可特", 10}, {"緹菈", 12}},
         .voices = test::Span(1146, 1167),
         .changed = {flag::CocotteAskedAboutLove, flag::CocotteQuestionDone},
         .placeAfter = place::RivalShop},
        {.name = "EvMove049",
         .event = EvMove049,
         .day = 102,
         .hour = 16,
         .place = place::RivalShopInside,
         .vars = {{var::CocotteMeetingCount, 1}},
         .speakers = {{"可可特", 6}, {"緹菈", 6}},
         .changed = {flag::CocotteTalk1},
         .varsAfter = {{var::CocotteMeetingCount, 2}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove050",
         .event = EvMove050,
         .day = 102,
         .hour = 16,
         .place = place::RivalShopInside,
         .flags = {flag::CocotteTalk1},
         .vars = {{var::CocotteMeetingCount, 2}},
         .speakers = {{"可可特", 8}, {"緹菈", 10}},
         .changed = {flag::CocotteTalk2},
         .varsAfter = {{var::CocotteMeetingCount, 3}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove051",
         .event = EvMove051,
         .day = 102,
         .hour = 16,
         .place = place::RivalShopInside,
         .flags = {flag::CocotteTalk1, flag::CocotteTalk2},
         .vars = {{var::CocotteMeetingCount, 3}},
         .speakers = {{"可可特", 10}, {"緹菈", 11}},
         .changed = {flag::CocotteTalk3},
         .varsAfter = {{var::CocotteMeetingCount, 4}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove052",
         .event = EvMove052,
         .day = 102,
         .hour = 16,
         .place = place::RivalShopInside,
         .flags = {flag::CocotteTalk3},
         .vars = {{var::CocotteMeetingCount, 4}},
         .speakers = {{"可可特", 13}, {"緹菈", 11}},
         .changed = {flag::CocotteTalk4},
         .varsAfter = {{var::CocotteMeetingCount, 5}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove053",
         .event = EvMove053,
         .day = 108,
         .hour = 16,
         .place = place::RivalShopInside,
         .flags = {flag::CocotteTalk4},
         .vars = {{var::CocotteMeetingCount, 5}},
         .speakers = {{"可可特", 6}, {"緹菈", 6}},
         .changed = {flag::CocotteTalk5},
         .varsAfter = {{var::CocotteMeetingCount, 6}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove054",
         .event = EvMove054,
         .day = 132,
         .hour = 16,
         .place = place::RivalShopInside,
         .flags = {flag::CocotteTalk5},
         .vars = {{var::CocotteMeetingCount, 6}},
         .speakers = {{"可可特", 6}, {"緹菈", 13}},
         .changed = {flag::CocotteTalk6},
         .varsAfter = {{var::CocotteMeetingCount, 7}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove055",
         .event = EvMove055,
         .day = 156,
         .hour = 16,
         .place = place::RivalShopInside,
         .flags = {flag::CocotteTalk6},
         .vars = {{var::CocotteMeetingCount, 7}},
         .speakers = {{"可可特", 8}, {"緹菈", 10}},
         .changed = {flag::CocotteTalk7},
         .varsAfter = {{var::CocotteMeetingCount, 8}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove056",
         .event = EvMove056,
         .day = 180,
         .hour = 16,
         .place = place::RivalShopInside,
         .flags = {flag::CocotteTalk7},
         .vars = {{var::CocotteMeetingCount, 20}},
         .speakers = {{"可可特", 8}, {"緹菈", 11}},
         .changed = {flag::CocotteTalk8, flag::CocotteCrush},
         .varsAfter = {{var::CocotteMeetingCount, 21}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove148",
         .event = EvMove148,
         .day = 106,
         .hour = 16,
         .place = place::RivalShopInside,
         .flags = {flag::CocotteTalk1},
         .vars = {{var::CocotteMeetingCount, 9}},
         .speakers = {{"可可特", 4}, {"緹菈", 6}},
         .varsAfter = {{var::CocotteMeetingCount, 10}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove147",
         .event = EvMove147,
         .day = 190,
         .hour = 16,
         .place = place::RivalShopInside,
         .flags = {flag::CocotteCrush},
         .vars = {{var::CocotteMeetingCount, 30}},
         .speakers = {{"可可特", 5}, {"緹菈", 8}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove189",
         .event = EvMove189,
         .day = 270,
         .hour = 16,
         .place = place::RivalShopInside,
         .flags = {flag::RouteCocotte},
         .vars = {{var::CocotteMeetingCount, 30}},
         .speakers = {{"可可特", 5}, {"緹菈", 4}},
         .placeAfter = place::RivalShop},
        {.name = "EvMove136",
         .event = EvMove136,
         .day = 120,
         .hour = 16,
         .place = place::RivalShop,
         .flags = {flag::IntroRivalShopRoom},
         .vars = {{var::CocotteMeetingCount, 12}},
         .forced = true,
         .speakers = {{"可可特", 7}, {"緹菈", 7}},
         .changed = {flag::RivalShopVisitedToday}},
        // ---- in town
        {.name = "EvMove130",
         .event = EvMove130,
         .day = 155,
         .hour = 14,
         .place = place::Square,
         .vars = {{var::CocotteMeetingCount, 3}},
         .forced = true,
         .speakers = {{"可可特", 4}, {"緹菈", 4}},
         .changed = {flag::CocotteSwayingWalk}},
        {.name = "EvMove131",
         .event = EvMove131,
         .day = 100,
         .hour = 15,
         .place = place::Square,
         .vars = {{var::CocotteMeetingCount, 3}},
         .forced = true,
         .speakers = {{"可可特", 4}, {"緹菈", 6}}},
        {.name = "EvMove132",
         .event = EvMove132,
         .day = 100,
         .hour = 15,
         .place = place::Square,
         .vars = {{var::CocotteMeetingCount, 3}},
         .forced = true,
         .speakers = {{"可可特", 4}, {"緹菈", 5}}},
        {.name = "EvMove133",
         .event = EvMove133,
         .day = 100,
         .hour = 15,
         .place = place::Square,
         .vars = {{var::CocotteMeetingCount, 3}},
         .forced = true,
         .speakers = {{"可可特", 5}, {"緹菈", 6}}},
        {.name = "EvMove134",
         .event = EvMove134,
         .day = 101,
         .hour = 14,
         .place = place::Park,
         .flags = {flag::CocotteMet},
         .vars = {{var::CocotteMeetingCount, 3}},
         .forced = true,
         .speakers = {{"可可特", 13}, {"緹菈", 5}},
         .changed = {flag::CocotteMelodrama}},
        {.name = "EvMove135",
         .event = EvMove135,
         .day = 100,
         .hour = 15,
         .place = place::Square,
         .vars = {{var::CocotteMeetingCount, 3}},
         .forced = true,
         .speakers = {{"可可特", 4}, {"緹菈", 5}}},
        {.name = "EvMove190",
         .event = EvMove190,
         .day = 270,
         .hour = 15,
         .place = place::Square,
         .flags = {flag::RouteCocotte},
         .vars = {{var::CocotteMeetingCount, 3}},
         .forced = true,
         .speakers = {{"可可特", 5}, {"緹菈", 4}}},
        // ---- the turn start
        {.name = "EvTurnStart009",
         .event = EvTurnStart009,
         .day = 266,
         .hour = 14,
         .place = place::ShopInside,
         .vars = {{var::CocotteMeetingCount, 30}},
         .prepare = ChoseCocotteOnDay260,
         .speakers = {{"可可特", 10}, {"緹菈", 24}, {"蕾妮特", 8}, {"黑皮", 5}},
         .voices = test::Span(1168, 1214),
         .changed = {flag::RouteCocotte},
         .hours = 1,
         .placeAfter = place::BigTree},
        {.name = "EvTurnStart014",
         .event = EvTurnStart014,
         .day = 160,
         .hour = 20,
         .place = place::ShopInside,
         .vars = {{var::CocotteMeetingCount, 10}},
         .speakers = {{"可可特", 12}, {"緹菈", 15}, {"蕾妮特", 4}},
         .voices = test::Span(1101, 1131),
         .changed = {flag::BathWithCocotte},
         .hours = 1},
        {.name = "EvTurnStart017",
         .event = EvTurnStart017,
         .day = 30,
         .hour = 14,
         .place = place::ShopInside,
         .prepare = MixedAGood,
         .speakers = {{"緹菈", 4}, {"黑皮", 4}},
         .changed = {flag::FirstOwnPotion}},
        {.name = "EvTurnStart018",
         .event = EvTurnStart018,
         .day = 40,
         .hour = 22,
         .place = place::ShopInside,
         .speakers = {{"緹菈", 27}, {"黑皮", 23}},
         .changed = {flag::OwnMagicCandy},
         .itemsAfter = {{item::TiraCandy, 10}},
         .learns = {item::TiraCandy},
         .hours = 2},
        {.name = "EvTurnStart019",
         .event = EvTurnStart019,
         .day = 49,
         .hour = 9,
         .place = place::MixingRoom,
         .speakers = {{"緹菈", 7}, {"芙蘿蕾", 3}},
         .placeAfter = place::ShopInside},
        {.name = "EvTurnStart021",
         .event = EvTurnStart021,
         .day = 150,
         .hour = 9,
         .place = place::ShopInside,
         .prepare = SevenRoomVisits,
         .speakers = {{"緹菈", 11}, {"糕餅店的大嬸", 11}},
         .changed = {flag::BakeryNewCake}},
        {.name = "EvTurnStart027",
         .event = EvTurnStart027,
         .day = 40,
         .hour = 20,
         .place = place::ShopInside,
         .flags = {flag::EndingCocotteSeen},
         .prepare = ChanceHolds,
         .speakers = {{"緹菈", 3}},
         .voices = {1101},
         .changed = {flag::BathAfterEnding}},
        // ---- the chocolates: 蕾妮特 helps; declined, with and without her secret help
        {.name = "EvTurnStart020 helped",
         .event = EvTurnStart020,
         .day = 80,
         .hour = 18,
         .place = place::ShopInside,
         .answers = {0},
         .speakers = {{"緹菈", 48}, {"蕾妮特", 21}, {"黑皮", 8}, {"貴族男士", 4}},
         .changed = {flag::RenetteHelpedOrder, flag::ChocolateOrder},
         .money = 10000,
         .hours = 15},
        {.name = "EvTurnStart020 secret help",
         .event = EvTurnStart020,
         .day = 80,
         .hour = 19,
         .place = place::ShopInside,
         .flags = {flag::EndingRenetteSeen},
         .answers = {1},
         .speakers = {{"緹菈", 50}, {"蕾妮特", 17}, {"黑皮", 23}, {"貴族男士", 4}},
         .changed = {flag::ChocolateOrder},
         .money = 10000,
         .hours = 14},
        {.name = "EvTurnStart020 declined",
         .event = EvTurnStart020,
         .day = 80,
         .hour = 20,
         .place = place::ShopInside,
         .answers = {1},
         .speakers = {{"緹菈", 48}, {"蕾妮特", 9}, {"黑皮", 16}, {"貴族男士", 4}},
         .changed = {flag::ChocolateOrder},
         .money = 10000,
         .hours = 13},
    };
}

class CocotteTest : public test::StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        UnlockItem(item::CharmChocolate);  // the chocolates' recipe, for the nobleman's order
    }
    // Every case: the chocolates' recipe known, the endings of an earlier case
    // forgotten, her schedule's first variant.
    void Arrange(const test::EventCase&) override {
        UnlockItem(item::CharmChocolate);
        for (int f = flag::EndingFloraeSeen; f <= flag::EndingCocotteSeen; ++f)
            ev->SetFlg(f, false);
        ev->m_ScheduleVariant = 0;
    }
    // Plays a case; only the nobleman's order pays.
    void PlayCase(test::EventCase c) {
        c.money = c.money.value_or(0);
        Play(c);
    }
    // The evening walk on day 70 at `hour`, answered with `answers`; the walk's scenes
    // played, by number.
    std::vector<int> Walk(int hour, std::deque<int> answers) {
        NewGame(70, hour, place::ShopInside);
        SetCondition(0);
        for (int f : {flag::FlowerbedFirstVisit, flag::RenetteMet, flag::CocotteMet, flag::FeleMet})
            ev->SetFlg(f, true);
        ev->SetVariable(kMeetings, 5);
        std::vector<int> before;
        for (int k = 1; k <= 7; ++k) before.push_back(Plays(k));
        test::EventResponders player(headless.Backend());
        player.answers = std::move(answers);
        if (!EvTurnStart023()) return {-1};
        std::vector<int> scenes;
        for (int k = 1; k <= 7; ++k)
            if (Plays(k) > before[k - 1]) scenes.push_back(k);
        return scenes;
    }
    static int Plays(int scene) {
        const std::string name = "Scene0" + std::to_string(scene);
        const story::Scene* s = story::FindScene("EvTurnStart023", name);
        return s ? s->plays : -1;
    }
};

// ---- every event, every branch, every record

TEST_F(CocotteTest, EveryEventPlaysItsLinesAndChangesAndEveryRecordIsPlayed) {
    story::ResetPlays();
    for (const test::EventCase& c : Cases()) PlayCase(c);
    // The item of the invention: ten more, kept within 99, and its recipe.
    NewGame(40, 22, place::ShopInside);
    SetItemStock(item::TiraCandy, 95);
    {
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart018());
    }
    EXPECT_EQ(ItemStock(item::TiraCandy), 99);
    EXPECT_TRUE(IsItemUnlocked(item::TiraCandy));
    EXPECT_EQ(GameDay(), 41);
    EXPECT_EQ(GameHour(), 0);
    // The evening walk's three paths.
    EXPECT_EQ(Walk(21, {0, 0}), (std::vector<int>{1, 3, 4, 6}));
    EXPECT_EQ(Walk(21, {0, 1}), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(Walk(21, {1}), (std::vector<int>{2, 7}));
    ExpectAllPlayed(kFile);
}

TEST_F(CocotteTest, TheEveningWalksThreePathsEndAtEightInTheShop) {
    struct Path {
        std::deque<int> answers;
        std::vector<int> scenes;
        int lines;
    };
    const Path paths[] = {
        {{0, 0}, {1, 3, 4, 6}, 79}, {{0, 1}, {1, 3, 5, 7}, 70}, {{1}, {2, 7}, 61}};
    for (const Path& p : paths) {
        SCOPED_TRACE(p.lines);
        EXPECT_EQ(Walk(21, p.answers), p.scenes);
        EXPECT_EQ(Lines(), p.lines);
        EXPECT_EQ(GameDay(), 71);
        EXPECT_EQ(GameHour(), 8);
        EXPECT_EQ(GameFlow->Place, place::ShopInside);
        EXPECT_TRUE(ev->TestFlg(flag::EveningWalk));
        EXPECT_EQ(transcript->Texts("line")[2], "黑貓魔法店‧店頭");
    }
    // Once played, never again.
    EXPECT_FALSE(EvTurnStart023());
}

TEST_F(CocotteTest, TheEveningWalkWaitsForItsDaysHoursAndMeetings) {
    EXPECT_EQ(Walk(20, {}), std::vector<int>{-1});
    // A choice left without an answer, the first or the one at the stage: no further
    // scene of the walk plays.
    EXPECT_EQ(Walk(21, {test::EventResponders::kNoAnswer}), std::vector<int>{});
    EXPECT_EQ(Walk(21, {0, test::EventResponders::kNoAnswer}), (std::vector<int>{1, 3}));
    EXPECT_EQ(Walk(22, {1}), (std::vector<int>{2, 7}));
    EXPECT_EQ(GameDay(), 71);
    EXPECT_EQ(GameHour(), 8);
    // Four meetings, or day 95, or a flag of the four missing: nothing.
    NewGame(70, 21, place::ShopInside);
    for (int f : {flag::FlowerbedFirstVisit, flag::RenetteMet, flag::CocotteMet, flag::FeleMet})
        ev->SetFlg(f, true);
    ev->SetVariable(kMeetings, 4);
    EXPECT_FALSE(EvTurnStart023());
    ev->SetVariable(kMeetings, 5);
    SetGameDay(95);
    EXPECT_FALSE(EvTurnStart023());
    SetGameDay(60);
    ev->SetFlg(flag::FeleMet, false);
    EXPECT_FALSE(EvTurnStart023());
    EXPECT_EQ(Lines(), 0);
}

TEST_F(CocotteTest, AWalkFromASceneNumberThatNamesNoSceneEndsAtOnce) {
    NewGame(70, 23, place::ShopInside);
    test::EventResponders player(headless.Backend());
    for (int scene : {0, 8, 100, -1}) story::EveningWalk(scene);
    EXPECT_EQ(Lines(), 0);
    EXPECT_EQ(GameHour(), 23);
    // A walk from scene 2 plays 2 and 7.
    story::EveningWalk(2);
    EXPECT_EQ(Lines(), 15 + 3);
}

// ---- conditions

TEST_F(CocotteTest, TheBathAfterAnEndingDrawsItsChanceOnlyWhenTheRestHolds) {
    test::EventResponders player(headless.Backend());
    struct Try {
        std::vector<int> flags;
        int hour, place;
        bool draws;
    };
    const Try tries[] = {
        {{}, 20, 10, false},        // no ending seen
        {{89, 90}, 20, 10, false},  // the heroine's own endings do not count
        {{93}, 19, 10, false},      // the hour
        {{91}, 21, 11, false},      // the place
        {{88}, 21, 10, true},       // then the chance
    };
    for (const Try& t : tries) {
        NewGame(40, t.hour, t.place);
        for (int f : t.flags) ev->SetFlg(f, true);
        ui::Srand(test::SeedFor({-30}));
        const std::uint32_t seeded = ui::RandState();
        EXPECT_FALSE(EvTurnStart027());
        EXPECT_EQ(ui::RandState() != seeded, t.draws) << t.flags.size();
    }
    EXPECT_EQ(Lines(), 0);
}

TEST_F(CocotteTest, TheFirstOwnPotionNeedsAFinishedMixOfItsShelfRows) {
    test::EventResponders player(headless.Backend());
    NewGame(30, 14, place::ShopInside);
    GameFlow->MixedItem = -1;
    EXPECT_FALSE(EvTurnStart017());
    GameFlow->MixedItem = item::VigourScentBottle;  // shelf row 4
    EXPECT_FALSE(EvTurnStart017());
    GameFlow->MixedItem = item::CharmChocolate;  // shelf row 11
    EXPECT_FALSE(EvTurnStart017());
    GameFlow->MixedItem = item::GravityCrystal;
    EXPECT_TRUE(EvTurnStart017());
    EXPECT_FALSE(EvTurnStart017());
}

TEST_F(CocotteTest, TheSweepingAndTheSquareReadTheScheduleEvenUnderTheOverride) {
    test::EventResponders player(headless.Backend());
    for (int variant : {0, 1, 3, 4, 2, 5}) {
        const bool weekday = variant != 2 && variant != 5;
        NewGame(120, 16, place::RivalShop);
        ev->SetFlg(flag::IntroRivalShopRoom, true);
        ev->m_ScheduleVariant = variant;
        EXPECT_EQ(Forced(EvMove136), weekday) << variant;
        NewGame(120, 16, place::Square);
        ev->m_ScheduleVariant = variant;
        EXPECT_EQ(Forced(EvMove135), weekday) << variant;
    }
}

// ---- the shop visits of a year's middle

TEST_F(CocotteTest, AVisitAtFourOnEveryDayFrom100To204PlaysTheTalksInOrder) {
    NewGame(100, 16, place::RivalShop);
    std::map<std::string, int> count;
    std::vector<std::pair<int, std::string>> notable;
    for (int day = 100; day <= 204; ++day) {
        SetGameDay(day);
        SetGameHour(16);
        GameFlow->Place = place::RivalShop;
        ev->SetFlg(flag::RivalShopVisitedToday, false);
        story::ResetPlays();
        transcript->Clear();
        {
            test::EventResponders player(headless.Backend());
            VisitRivalShop(16);
        }
        const std::vector<std::string> played = Played();
        EXPECT_EQ(GameFlow->Place, place::RivalShop) << day;
        if (day % 6 == 5) {
            EXPECT_TRUE(played.empty()) << day << " is a rest day";
            EXPECT_FALSE(ev->TestFlg(flag::RivalShopVisitedToday)) << day;
            EXPECT_GT(Lines(), 0) << day << ": the closed sign";
            continue;
        }
        ASSERT_EQ(played.size(), 1u) << day;
        EXPECT_TRUE(ev->TestFlg(flag::RivalShopVisitedToday)) << day;
        ++count[played[0]];
        if (played[0] != "EvMove148" && played[0] != "EvMove147")
            notable.emplace_back(day, played[0]);
        if (played[0] == "EvMove147") {
            EXPECT_GE(day, 180) << "the chat after talk 8";
        }
        if (day == 179) {
            EXPECT_EQ(ev->EventVariable[kMeetings], 66);
        }
        if (day >= 180) {
            EXPECT_EQ(ev->EventVariable[kMeetings], 67) << day;
        }
    }
    const std::vector<std::pair<int, std::string>> want = {
        {100, "EvMove015"}, {102, "EvMove049"}, {103, "EvMove050"}, {104, "EvMove051"},
        {105, "EvMove052"}, {108, "EvMove053"}, {132, "EvMove054"}, {156, "EvMove055"},
        {180, "EvMove056"}, {204, "EvMove016"}};
    EXPECT_EQ(notable, want);
    EXPECT_EQ(count["EvMove148"], 58);
    EXPECT_EQ(count["EvMove147"], 19);
}

bool TakesHerHome() {
    EventServerDbg->SetPlace(place::ShopInside, false);
    return true;
}

TEST_F(CocotteTest, AVisitWhoseEventTookHerElsewhereLeavesHerThere) {
    const auto saved = MoveEvents;
    MoveEvents = {};
    MoveEvents[0] = &TakesHerHome;
    NewGame(102, 16, place::RivalShop);
    {
        test::EventResponders player(headless.Backend());
        VisitRivalShop(16);
    }
    MoveEvents = saved;
    EXPECT_EQ(GameFlow->Place, place::ShopInside);
    EXPECT_TRUE(ev->TestFlg(flag::RivalShopVisitedToday));
}

// ---- the orders of a night spent inside the chocolates

TEST_F(CocotteTest, OrdersDueOnTheNightOfTheChocolatesAreSettledTheNextMorning) {
    auto shop = std::make_unique<ui::Form>();
    shop->Show();
    ShopHooks().shopForm = [&shop] { return shop.get(); };
    NewGame(80, 18, place::ShopInside);
    UnlockItem(item::CharmChocolate);
    GameFlow->GameStarted();
    // Two goods of the shop's catalogue, ordered: one in stock, one not.
    constexpr int kCovered = 3, kShort = 5;
    SetItemStock(kCovered, 2);
    SetItemStock(kShort, 0);
    OrderSlot covered;
    covered.Id = 1;
    covered.Deadline = 80;
    covered.Kind = 0;
    covered.Flag = 684;
    covered.Item = kCovered;
    covered.Quantity = 2;
    covered.Reward = 700;
    OrderSlot short_ = covered;
    short_.Id = 2;
    short_.Flag = 685;
    short_.Item = kShort;
    OrderSlot later = covered;
    later.Id = 3;
    later.Flag = 686;
    later.Deadline = 82;
    Orders = {covered, short_, later, OrderSlot{}};
    SetReputation(10);
    const int money = GameMoney(), reputation = GameReputation();
    {
        test::EventResponders player(headless.Backend());
        player.answers = {0};
        ASSERT_TRUE(GameFlow->TurnStart(true));
    }
    ShopHooks().shopForm = nullptr;
    EXPECT_EQ(GameDay(), 81);
    EXPECT_EQ(GameHour(), 9);
    // The covered one delivered from stock, the other failed; the later one held.
    EXPECT_EQ(GameMoney() - money, 10000 + 700);
    EXPECT_EQ(ItemStock(kCovered), 0);
    EXPECT_EQ(GameReputation() - reputation, -1);
    EXPECT_EQ(Orders[0].Id, 3);
    EXPECT_EQ(Orders[1].Id, 0);
    EXPECT_EQ(GameFlow->LastOrdersDay, 80);
    EXPECT_EQ(GameFlow->LastDayChangeDay, 81);
    // The evening's customers were not caught up.
    for (const std::string& o : transcript->Texts("order"))
        EXPECT_EQ(o.rfind("accepted", 0), std::string::npos) << o;
}

}  // namespace

// ---- a save for the real program

// A game on the morning of day 100, the rival shop introduced and 蕾妮特 met, saved into
// slot 1 as the morning saves it: loaded in the real program, an afternoon trip to
// 微笑魔法店 and its 拜訪商店 meet 可可特 (the slot file stays in the scratch folder for
// that run).
TEST_F(CocotteTest, ASaveOnTheMorningOfDay100LoadsForTheFirstMeeting) {
    const std::string dir = test::ScratchDir("cocotte_meeting_save");
    ui::SetProgramFolder(dir);
    Fresh(100, 8, place::ShopInside);
    for (int f : {flag::IntroRivalShop, flag::RenetteMet}) ev->SetFlg(f, true);
    ASSERT_TRUE(SaveGame(0));
    Fresh(3, 9, place::ShopInside);
    ASSERT_TRUE(LoadGame(0));
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
    EXPECT_EQ(GameDay(), 100);
    EXPECT_EQ(GameHour(), 8);
    EXPECT_TRUE(ev->TestFlg(flag::RenetteMet));
    EXPECT_FALSE(ev->TestFlg(flag::IntroRivalShopRoom));
}
