// 蕾妮特's arc played headless through the real message window with the transcript:
// the magic contest down every path of its duel, the first meetings, the quarrel, the
// big tree, her attack and the great wizard, the purification and its twin, the
// earthquake, 可可特's plea and the night search, the cave and each of its answers.
// Every branch plays, and every record of the arc's text is played.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "shop/GameState.h"
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/StoryFixture.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"

namespace {

using Counts = test::StoryTest::Counts;
constexpr char kFile[] = "Renette.txt";

using test::EventCase;
using test::Join;
using test::Span;

class RenetteTest : public test::StoryTest {
protected:
    // The night search leaves the map shown.
    void Arrange(const EventCase&) override {
        if (MapFm) MapFm->Hide();
    }
    // Runs an event as its walk would, reporting whether it played.
    bool Try(bool (*event)()) {
        transcript->Clear();
        test::EventResponders player(headless.Backend());
        return event();
    }
    static void Mixing(int hours) {
        g_GameState.MixJob = {3, 1, 10, static_cast<std::uint8_t>(hours)};
    }
    // The purification's three materials in stock.
    static void Materials() {
        SetItemStock(item::MothersNecklace, 255);
        SetItemStock(item::LongingStone, 2);
        SetItemStock(item::LightStone, 2);
    }
};

// ---- the magic contest

// The duel's scenes: their lines, and the paths through them by the answers given.
constexpr int kSceneLines[] = {4, 2, 5, 3, 4, 3, 5, 5, 4, 2, 2};
struct Path {
    std::deque<int> answers;  // the first is the opening choice
    std::vector<int> scenes;
    bool won;
};
const Path kPaths[] = {
    {{0, 0, 2, 1}, {0, 2, 5}, true},
    {{1, 0, 0, 1}, {1, 3, 5}, true},
    {{1, 1, 2, 1}, {1, 4, 5}, true},
    {{1, 0, 1, 2, 1}, {1, 3, 4, 5}, true},
    {{1, 0, 0, 0}, {1, 3, 5, 9}, false},
    {{1, 1, 2, 2}, {1, 4, 5, 10}, false},
    {{0, 2}, {0, 6}, false},
    {{0, 1}, {0, 8}, false},
    {{0, 0, 0}, {0, 2, 7}, false},
    {{0, 0, 1}, {0, 2, 8}, false},
    {{1, 0, 2}, {1, 3, 6}, false},
    {{1, 1, 0}, {1, 4, 7}, false},
    {{1, 1, 1}, {1, 4, 8}, false},
    // A choice left without an answer (the run stopped while it waited) loses at once,
    // with no further scene.
    {{test::EventResponders::kNoAnswer}, {}, false},
    {{0, 0, test::EventResponders::kNoAnswer}, {0, 2}, false},
};

TEST_F(RenetteTest, TheContestPlaysEveryPathOfTheDuelAndOnlyTheReflectionInSceneFiveWins) {
    for (const Path& p : kPaths) {
        SCOPED_TRACE(::testing::PrintToString(p.scenes));
        Fresh(125, 10, place::EventGround);
        SetReputation(10);
        const int money = GameMoney();
        test::EventResponders player(headless.Backend());
        player.answers = p.answers;
        ASSERT_TRUE(EvMove005());
        int lines = 21 + (p.won ? 14 : 6);
        for (int s : p.scenes) lines += kSceneLines[s];
        EXPECT_EQ(player.linesAcknowledged, lines);
        EXPECT_EQ(Lines(), lines);
        EXPECT_EQ(player.choicesAnswered, static_cast<int>(p.answers.size()));
        EXPECT_EQ(Voices(), p.won ? Span(346, 352) : Span(353, 357));
        EXPECT_TRUE(ev->TestFlg(flag::MagicContestHeld));
        EXPECT_EQ(ev->TestFlg(flag::MagicContestWon), p.won);
        EXPECT_EQ(GameMoney() - money, p.won ? 100000 : 0);
        EXPECT_EQ(GameReputation(), p.won ? 13 : 10);
        // 15:00 by the wait, three hours after either outcome.
        EXPECT_EQ(GameDay(), 125);
        EXPECT_EQ(GameHour(), 18);
        EXPECT_EQ(GameFlow->Place, place::EventGround);
    }
    // The first winning path, speaker by speaker.
    Fresh(125, 13, place::EventGround);
    test::EventResponders player(headless.Backend());
    player.answers = kPaths[0].answers;
    ASSERT_TRUE(EvMove005());
    EXPECT_EQ(Speakers(), (Counts{{"緹菈", 28}, {"蕾妮特", 14}, {"司會", 4}, {"", 1}}));
    EXPECT_EQ(transcript->Texts("choice").front(), "『好、來個先發制人！ / 『先讓蕾妮特出招。");
    EXPECT_EQ(transcript->Texts("choice").back(), "『火燄魔法！ / 『反射魔法！ / 『加速魔法！");
}

TEST_F(RenetteTest, TheContestIsHeldOnlyFromTenToTwoOnDay125AtTheEventGround) {
    struct When {
        int day, hour, place;
        bool held, plays;
    };
    for (const When& t : {When{125, 9, place::EventGround, false, false},
                          When{125, 14, place::EventGround, false, false},
                          When{124, 12, place::EventGround, false, false},
                          When{125, 12, place::Square, false, false},
                          When{125, 12, place::EventGround, true, false},
                          When{125, 12, place::EventGround, false, true}}) {
        SCOPED_TRACE(t.hour);
        Fresh(t.day, t.hour, t.place);
        ev->SetFlg(flag::MagicContestHeld, t.held);
        test::EventResponders player(headless.Backend());
        player.answers = {1, 0, 0, 0};
        EXPECT_EQ(EvMove005(), t.plays);
        EXPECT_EQ(Lines(), t.plays ? 21 + 2 + 3 + 3 + 2 + 6 : 0);
    }
}

// ---- every event, and every record accounted for

const std::vector<test::EventCase>& Cases() {
    static const std::vector<test::EventCase> cases = {
        {.name = "EvTurnStart028",
         .event = EvTurnStart028,
         .day = 125,
         .hour = 9,
         .place = place::ShopInside,
         .speakers = {{"黑皮", 6}, {"緹菈", 7}}},
        {.name = "EvTurnStart024",
         .event = EvTurnStart024,
         .day = 6,
         .hour = 14,
         .place = place::ShopInside,
         .speakers = {{"緹菈", 7}, {"蕾妮特", 6}},
         .changed = {flag::RenetteMet}},
        // In school hours on a working day two more lines wonder at her being here.
        {.name = "EvMove012",
         .event = EvMove012,
         .day = 0,
         .hour = 10,
         .place = place::RivalShop,
         .speakers = {{"緹菈", 10}, {"蕾妮特", 5}},
         .voices = Span(910, 919),
         .changed = {flag::IntroRivalShop, flag::RenetteMet}},
        {.name = "EvMove012 on the rest day",
         .event = EvMove012,
         .day = 5,
         .hour = 10,
         .place = place::RivalShop,
         .speakers = {{"緹菈", 8}, {"蕾妮特", 5}},
         .voices = Span(910, 919),
         .changed = {flag::IntroRivalShop, flag::RenetteMet}},
        {.name = "EvMove012 after school",
         .event = EvMove012,
         .day = 1,
         .hour = 14,
         .place = place::RivalShop,
         .speakers = {{"緹菈", 8}, {"蕾妮特", 5}},
         .voices = Span(910, 919),
         .changed = {flag::IntroRivalShop, flag::RenetteMet}},
        {.name = "EvMove013",
         .event = EvMove013,
         .day = 192,
         .hour = 14,
         .place = place::Square,
         .flags = {flag::RenetteMet},
         .speakers = {{"緹菈", 11}, {"蕾妮特", 8}},
         .voices = Join({Span(920, 926), Span(930, 941)}),
         .changed = {flag::RenetteQuarrel}},
        {.name = "EvMove014",
         .event = EvMove014,
         .day = 210,
         .hour = 17,
         .place = place::BigTree,
         .flags = {flag::RenetteQuarrel},
         .speakers = {{"緹菈", 12}, {"蕾妮特", 8}, {"", 1}},
         .voices = Span(942, 961),
         .changed = {flag::RenetteAtBigTree}},
        // No place test: from anywhere, seven hours on, at the great wizard's house.
        {.name = "EvTurnStart012",
         .event = EvTurnStart012,
         .day = 234,
         .hour = 9,
         .place = place::Park,
         .flags = {flag::WizardFound, flag::RenetteAtBigTree},
         .speakers = {{"緹菈", 24 + 17},
                      {"大魔法師", 19},
                      {"蕾妮特的父親", 13},
                      {"可可特", 9},
                      {"蕾妮特", 5},
                      {"黑皮", 1},
                      {"", 1}},
         .voices = Span(962, 997),
         .changed = {flag::RenetteCrisis},
         .marksAfter = {{mark::FirstAttackDay, 234}},
         .itemsAfter = {{item::MothersNecklace, 255}, {item::NecklaceKeepsake, 0}},
         .learns = {item::PurifyingLightPotion},
         .hours = 7,
         .placeAfter = place::WizardHouse},
        {.name = "EvTurnStart012 at ten",
         .event = EvTurnStart012,
         .day = 240,
         .hour = 10,
         .place = place::ShopInside,
         .flags = {flag::WizardFound, flag::RenetteAtBigTree},
         .speakers = {{"緹菈", 24 + 17},
                      {"大魔法師", 19},
                      {"蕾妮特的父親", 13},
                      {"可可特", 9},
                      {"蕾妮特", 5},
                      {"黑皮", 1},
                      {"", 1}},
         .voices = Span(962, 997),
         .changed = {flag::RenetteCrisis},
         .marksAfter = {{mark::FirstAttackDay, 240}},
         .hours = 7,
         .placeAfter = place::WizardHouse},
        // The wizard's truth told: from 18:00 the day after, waiting for 19:00 ...
        {.name = "EvTurnStart013",
         .event = EvTurnStart013,
         .day = 101,
         .hour = 18,
         .place = place::ShopInside,
         .flags = {flag::FathersTruthTold},
         .marks = {{mark::PurificationDay, 100}},
         .speakers = {{"緹菈", 8}, {"可可特", 7}, {"", 3}},
         .voices = Span(998, 1008),
         .changed = {flag::NightSearch, flag::IntroLandTown, flag::RenetteRanAway,
                     flag::RenetteMissingNight},
         .hours = 1,
         .placeAfter = place::LandTown},
        // ... and not a whole day when it is later already.
        {.name = "EvTurnStart013 at nine",
         .event = EvTurnStart013,
         .day = 101,
         .hour = 21,
         .place = place::ShopInside,
         .flags = {flag::FathersTruthTold},
         .marks = {{mark::PurificationDay, 100}},
         .speakers = {{"緹菈", 8}, {"可可特", 7}, {"", 3}},
         .voices = Span(998, 1008),
         .changed = {flag::NightSearch, flag::IntroLandTown, flag::RenetteRanAway,
                     flag::RenetteMissingNight},
         .placeAfter = place::LandTown},
        // Without the truth: from the seventh day, at 19:00 or later.
        {.name = "EvTurnStart013 a week on",
         .event = EvTurnStart013,
         .day = 107,
         .hour = 23,
         .place = place::ShopInside,
         .marks = {{mark::PurificationDay, 100}},
         .speakers = {{"緹菈", 8}, {"可可特", 7}, {"", 3}},
         .voices = Span(998, 1008),
         .changed = {flag::NightSearch, flag::IntroLandTown, flag::RenetteRanAway,
                     flag::RenetteMissingNight},
         .placeAfter = place::LandTown},
        {.name = "EvTurnStart022",
         .event = EvTurnStart022,
         .day = 247,
         .hour = 9,
         .place = place::ShopInside,
         .marks = {{mark::FirstAttackDay, 240}},
         .speakers = {{"緹菈", 26}, {"可可特", 12}, {"蕾妮特的父親", 5}},
         .changed = {flag::EarthquakeDone, flag::WizardDead},
         .hours = 9,
         .placeAfter = place::RivalShop},
        // The night search: nobody at the big tree, then 蕾妮特.
        {.name = "EvSearch001",
         .event = EvSearch001,
         .day = 241,
         .hour = 21,
         .place = place::BigTree,
         .flags = {flag::NightSearch},
         .speakers = {{"緹菈", 1}},
         .changed = {flag::IntroBigTree, flag::BigTreeSearched}},
        {.name = "EvSearch001 again",
         .event = EvSearch001,
         .day = 241,
         .hour = 23,
         .place = place::BigTree,
         .flags = {flag::NightSearch, flag::BigTreeSearched},
         .speakers = {{"緹菈", 13}, {"蕾妮特", 7}},
         .voices = Span(1009, 1027),
         .changed = {flag::IntroBigTree, flag::RenetteFoundAtBigTree}},
        // Dawn: one hour to 06:00 with no tired scene, home, 可可特 at the door.
        {.name = "EvSearch002",
         .event = EvSearch002,
         .day = 242,
         .hour = 5,
         .place = place::Waterfall,
         .flags = {flag::NightSearch},
         .speakers = {{"緹菈", 9}, {"可可特", 6}, {"", 1}},
         .changed = {flag::DawnWithCocotte},
         .hours = 1,
         .placeAfter = place::ShopInside},
        {.name = "EvSearch003",
         .event = EvSearch003,
         .day = 242,
         .hour = 2,
         .place = place::Forest,
         .flags = {flag::NightSearch},
         .speakers = {{"緹菈", 1}},
         .changed = {flag::IntroForest}},
    };
    return cases;
}

// The cave: night search on, 黑皮's illness played, 蕾妮特 helped with the chocolate, the
// wizard's truth told, 蕾妮特 found at the big tree; 22:00 at the cave.
std::vector<int> Cave(std::vector<int> more) {
    std::vector<int> f = {flag::NightSearch, flag::HeipiIllnessDone, flag::RenetteHelpedOrder,
                          flag::FathersTruthTold, flag::RenetteFoundAtBigTree};
    f.insert(f.end(), more.begin(), more.end());
    return f;
}
const std::vector<test::EventCase>& CaveCases() {
    const int won = flag::MagicContestWon, beauty = flag::BeautyContestWon;
    const Counts friends = {{"緹菈", 6 + 4}, {"蕾妮特", 6 + 3}};
    const std::vector<int> friendsVoices = Span(1028, 1046);
    const std::vector<int> over = {flag::NightSearch, flag::RenetteSaved};
    static const std::vector<test::EventCase> cases = {
        {.name = "love",
         .event = EvMove145,
         .day = 243,
         .hour = 22,
         .place = place::Cave,
         .flags = Cave({won, beauty}),
         .answers = {1},
         .speakers = {{"緹菈", 6 + 14}, {"蕾妮特", 6 + 13}},
         .voices = Join({Span(1028, 1039), Span(1047, 1073)}),
         .changed = {flag::NightSearch, flag::RouteRenette, flag::RenetteSaved}},
        {.name = "friends by choice",
         .event = EvMove145,
         .day = 243,
         .hour = 22,
         .place = place::Cave,
         .flags = Cave({won, beauty}),
         .answers = {0},
         .speakers = friends,
         .voices = friendsVoices,
         .changed = over,
         .hours = 1},
        {.name = "可可特",
         .event = EvMove145,
         .day = 243,
         .hour = 22,
         .place = place::Cave,
         .flags = Cave({won, beauty, flag::EndingRenetteSeen, flag::CocotteAskedAboutLove}),
         .answers = {2},
         .speakers = {{"緹菈", 6 + 6}, {"蕾妮特", 6 + 6}},
         .voices = Join({Span(1028, 1039), Span(1074, 1085)}),
         .changed = over,
         .marksAfter = {{mark::CocotteChosenDay, 243}}},
        // Without either contest won, or on another route: friends, and no choice.
        {.name = "no contest",
         .event = EvMove145,
         .day = 243,
         .hour = 22,
         .place = place::Cave,
         .flags = Cave({beauty}),
         .speakers = friends,
         .voices = friendsVoices,
         .changed = over,
         .hours = 1},
        {.name = "no beauty contest",
         .event = EvMove145,
         .day = 243,
         .hour = 22,
         .place = place::Cave,
         .flags = Cave({won}),
         .speakers = friends,
         .voices = friendsVoices,
         .changed = over,
         .hours = 1},
        {.name = "the prince's route",
         .event = EvMove145,
         .day = 243,
         .hour = 22,
         .place = place::Cave,
         .flags = Cave({won, beauty, flag::RoutePrince}),
         .speakers = friends,
         .voices = friendsVoices,
         .changed = over,
         .hours = 1},
        {.name = "芙蘿蕾's route",
         .event = EvMove145,
         .day = 243,
         .hour = 22,
         .place = place::Cave,
         .flags = Cave({won, beauty, flag::RouteFlorae}),
         .speakers = friends,
         .voices = friendsVoices,
         .changed = over,
         .hours = 1},
        {.name = "可可特's route",
         .event = EvMove145,
         .day = 243,
         .hour = 22,
         .place = place::Cave,
         .flags = Cave({won, beauty, flag::RouteCocotte}),
         .speakers = friends,
         .voices = friendsVoices,
         .changed = over,
         .hours = 1},
        // The third caption needs both her ending seen and 可可特's question.
        {.name = "ending seen only",
         .event = EvMove145,
         .day = 243,
         .hour = 22,
         .place = place::Cave,
         .flags = Cave({won, beauty, flag::EndingRenetteSeen}),
         .answers = {0},
         .speakers = friends,
         .voices = friendsVoices,
         .changed = over,
         .hours = 1},
    };
    return cases;
}

TEST_F(RenetteTest, EveryEventPlaysItsLinesAndChangesAndEveryRecordIsPlayed) {
    story::ResetPlays();
    for (const EventCase& c : Cases()) Play(c);
    for (const EventCase& c : CaveCases()) Play(c);
    // The contest's paths and the purification's twins are accounted for here too.
    for (const Path& p : kPaths) {
        Start(125, 10, place::EventGround);
        test::EventResponders player(headless.Backend());
        player.answers = p.answers;
        ASSERT_TRUE(EvMove005());
    }
    for (bool (*twin)() : {EvTurnStart029, EvMove017}) {
        Start(240, 12, place::ShopInside);
        DayMarks[mark::FirstAttackDay] = 240;
        Materials();
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(twin());
    }
    ExpectAllPlayed(kFile);
}

TEST_F(RenetteTest, TheCaveOffersTwoOrThreeCaptionsVerbatim) {
    const std::string two = "『想跟蕾妮特保持朋友關係。 / 『我也很喜歡蕾妮特。";
    Play(CaveCases()[0]);
    EXPECT_EQ(transcript->Texts("choice"), std::vector<std::string>{two});
    Play(CaveCases()[2]);
    EXPECT_EQ(transcript->Texts("choice"),
              std::vector<std::string>{two + " / 『其實我喜歡可可特。"});
    Play(CaveCases()[3]);
    EXPECT_TRUE(transcript->Texts("choice").empty());
}

// ---- the purification and the earthquake

TEST_F(RenetteTest, ThePurificationRunsTwoNightsAndAnHourAndTheEarthquakeFollowsWithoutIt) {
    // Day mark 4 on day 240, the materials held, the heroine in the shop.
    auto start = [this](int day, int hour) {
        Fresh(day, hour, place::ShopInside);
        DayMarks[mark::FirstAttackDay] = 240;
        Materials();
    };
    start(245, 20);
    {
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart029());
        EXPECT_EQ(player.linesAcknowledged, 48);
    }
    EXPECT_EQ(Speakers(), (Counts{{"緹菈", 24}, {"蕾妮特", 14}, {"黑皮", 9}, {"", 1}}));
    EXPECT_EQ(Voices(), Span(1215, 1261));
    EXPECT_EQ(GameDay(), 247);
    EXPECT_EQ(GameHour(), 9);
    EXPECT_EQ(DayMarks[mark::PurificationDay], 247);
    EXPECT_TRUE(ev->TestFlg(flag::RenettePurified));
    EXPECT_EQ(GameFlow->Place, place::ShopInside);
    EXPECT_EQ(ItemStock(item::MothersNecklace), 255);  // tested, never taken
    EXPECT_EQ(ItemStock(item::LongingStone), 2);
    EXPECT_EQ(ItemStock(item::LightStone), 2);
    EXPECT_FALSE(Try(EvTurnStart029));  // once only
    EXPECT_FALSE(Try(EvTurnStart022));  // freed: no earthquake

    // The six days from the mark: day 246 is too late for either twin.
    start(246, 12);
    EXPECT_FALSE(Try(EvTurnStart029));
    EXPECT_FALSE(Try(EvMove017));
    // Without it, the earthquake at 09:00 from the seventh day on.
    start(247, 9);
    {
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart022());
        EXPECT_EQ(player.linesAcknowledged, 43);
    }
    EXPECT_EQ(GameHour(), 18);
    EXPECT_EQ(GameFlow->Place, place::RivalShop);
    EXPECT_TRUE(ev->TestFlg(flag::EarthquakeDone));
    EXPECT_TRUE(ev->TestFlg(flag::WizardDead));
    EXPECT_FALSE(Try(EvTurnStart022));
    start(246, 9);
    EXPECT_FALSE(Try(EvTurnStart022));
}

TEST_F(RenetteTest, ThePurificationTwinsDifferInTheMixAndInTheHourTheyStart) {
    struct Run {
        bool (*event)();
        int day, hour;
        bool mixing, plays;
        int endDay;
    };
    // Before 08:00 the first night ends the same morning.
    for (const Run& r :
         {Run{EvTurnStart029, 241, 5, false, true, 242},
          Run{EvTurnStart029, 241, 12, true, false, 241}, Run{EvMove017, 241, 12, true, true, 243},
          Run{EvMove017, 245, 23, false, true, 247}}) {
        SCOPED_TRACE(r.day * 100 + r.hour);
        Fresh(r.day, r.hour, place::ShopInside);
        DayMarks[mark::FirstAttackDay] = 240;
        Materials();
        Mixing(r.mixing ? 5 : 0);
        EXPECT_EQ(Try(r.event), r.plays);
        EXPECT_EQ(GameDay(), r.endDay);
        if (r.plays) {
            EXPECT_EQ(GameHour(), 9);
        }
    }
    // Each material is needed (the necklace back in its own form takes 105 away).
    Mixing(0);
    for (int item : {item::MothersNecklace, item::LongingStone, item::LightStone}) {
        Fresh(241, 12, place::ShopInside);
        DayMarks[mark::FirstAttackDay] = 240;
        Materials();
        SetItemStock(item == 105 ? 106 : item, item == 105 ? 1 : 0);
        ASSERT_EQ(ItemStock(item), 0);
        EXPECT_FALSE(Try(EvTurnStart029)) << item;
        EXPECT_FALSE(Try(EvMove017)) << item;
    }
}

// Started on day 286 the two nights carry the clock past 09:00 of the last day inside
// the event; nothing of the year is read past it, and the ending is due at once.
TEST_F(RenetteTest, ThePurificationOnDay286EndsPastTheLastMorning) {
    Fresh(286, 12, place::ShopInside);
    DayMarks[mark::FirstAttackDay] = 282;
    Materials();
    test::EventResponders player(headless.Backend());
    ASSERT_TRUE(EvTurnStart029());
    EXPECT_EQ(player.linesAcknowledged, 48);
    EXPECT_EQ(GameDay() * 24 + GameHour(), 288 * 24 + 9);
    EXPECT_EQ(DayMarks[mark::PurificationDay], 288);
}

// ---- the attack and the great wizard

TEST_F(RenetteTest, TheWizardTeachesTheSpellAndTheNecklaceBecomesItsMaterial) {
    Fresh(234, 9, place::Square);
    ev->SetFlg(flag::WizardFound, true);
    ev->SetFlg(flag::RenetteAtBigTree, true);
    ev->GiveItem(item::NecklaceKeepsake, 1);
    ASSERT_EQ(ItemStock(item::NecklaceKeepsake), 1);
    ASSERT_FALSE(IsItemUnlocked(item::PurifyingLightPotion));
    {
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart012());
    }
    EXPECT_EQ(Lines(), 89);
    EXPECT_TRUE(IsItemUnlocked(item::PurifyingLightPotion));
    EXPECT_EQ(ItemStock(item::MothersNecklace), 255);
    EXPECT_EQ(ItemStock(item::NecklaceKeepsake), 0);
    EXPECT_FALSE(IsItemUnlocked(item::NecklaceKeepsake));
    EXPECT_EQ(transcript->Texts("line")[51], "大魔法師的家");
    EXPECT_FALSE(Try(EvTurnStart012));  // once
    // Its window: from day 234, at 09:00 or 10:00, after the big tree and the maze.
    struct When {
        int day, hour;
        std::vector<int> flags;
        bool plays;
    };
    for (const When& t :
         {When{233, 9, {flag::RenetteAtBigTree, flag::WizardFound}, false},
          When{234, 11, {flag::RenetteAtBigTree, flag::WizardFound}, false},
          When{234, 9, {flag::WizardFound}, false}, When{234, 9, {flag::RenetteAtBigTree}, false},
          When{287, 10, {flag::RenetteAtBigTree, flag::WizardFound}, true}}) {
        Fresh(t.day, t.hour, place::ShopInside);
        for (int f : t.flags) ev->SetFlg(f, true);
        EXPECT_EQ(Try(EvTurnStart012), t.plays) << t.day << " " << t.hour;
    }
}

// ---- the first meetings

TEST_F(RenetteTest, HerVisitComesInTheAfternoonOnWorkingDaysAndFromTenOnTheRestDay) {
    struct When {
        int day, hour;
        bool met, plays;
    };
    for (const When& t :
         {When{6, 13, false, false}, When{6, 18, false, false}, When{6, 14, false, true},
          When{6, 17, false, true}, When{11, 9, false, false}, When{11, 10, false, true},
          When{5, 14, false, false}, When{7, 15, true, false}}) {
        Fresh(t.day, t.hour, place::ShopInside);
        ev->SetFlg(flag::RenetteMet, t.met);
        EXPECT_EQ(Try(EvTurnStart024), t.plays) << t.day << " " << t.hour;
    }
    // The rival shop's first visit on day 6 is the plain introduction's, not hers.
    Fresh(6, 10, place::RivalShop);
    EXPECT_FALSE(Try(EvMove012));
}

TEST_F(RenetteTest, PleaAndSearchKeepToTheirHoursAndFlags) {
    struct When {
        bool (*event)();
        int day, hour, place;
        std::vector<int> flags;
        bool plays;
    };
    const int night = flag::NightSearch;
    for (const When& t : {
             // the plea: the first list from the day after, the second from the seventh
             When{EvTurnStart013, 101, 18, 10, {}, false},
             When{EvTurnStart013, 100, 20, 10, {flag::FathersTruthTold}, false},
             When{EvTurnStart013, 101, 17, 10, {flag::FathersTruthTold}, false},
             When{EvTurnStart013, 107, 18, 10, {}, false},
             When{EvTurnStart013, 107, 20, 11, {}, false},
             When{EvTurnStart013, 107, 20, 10, {flag::RenetteMissingNight}, false},
             // the search: only in the night search, the dawn once
             When{EvSearch001, 241, 22, 39, {}, false},
             When{EvSearch001, 241, 22, 39, {night, flag::RenetteFoundAtBigTree}, false},
             When{EvSearch002, 241, 7, 35, {night}, false},
             When{EvSearch002, 241, 6, 35, {night, flag::DawnWithCocotte}, false},
             When{EvSearch003, 241, 22, 35, {}, false},
         }) {
        Fresh(t.day, t.hour, t.place);
        DayMarks[mark::PurificationDay] = 100;
        for (int f : t.flags) ev->SetFlg(f, true);
        EXPECT_EQ(Try(t.event), t.plays) << t.day << " " << t.hour;
    }
}

}  // namespace
