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
// The land map's town node. The map, shown again at the end of the plea and of the
// searches, marks the place it shows introduced.
constexpr int kTownIntroduced = 320 + 32;

// Voice numbers first..last.
std::vector<int> Span(int first, int last, std::vector<int> out = {}) {
    for (int v = first; v <= last; ++v) out.push_back(v);
    return out;
}

// One play of an event: where and when it starts, with which flags, marks, items and
// answers; what it leaves (the lines per speaker, "" narration and titles; the voices;
// the flags changed, ascending, the persistent ones aside; the marks set; the day, hour
// and place at the end).
struct Case {
    const char* name;
    bool (*event)();
    int day, hour, place;
    std::vector<int> flags;
    std::vector<std::pair<int, int>> marks;  // mark := day, before
    std::deque<int> answers;
    Counts speakers;
    std::vector<int> voices;
    std::vector<int> changed;
    std::vector<std::pair<int, int>> marksAfter;
    int endDay, endHour, endPlace;
};

class RenetteTest : public test::StoryTest {
protected:
    // A new game in the case's state; the plays are not reset, so one test can account
    // for the records of many events.
    void Start(const Case& c) {
        At(c.day, c.hour, c.place);
        for (int f : c.flags) ev->SetFlg(f, true);
        for (auto [k, day] : c.marks) DayMarks[static_cast<std::size_t>(k)] = day;
    }
    // A new game at `place` on `day` at `hour`, the accounting kept.
    void At(int day, int hour, int place) {
        if (MapFm) MapFm->Hide();  // the night search leaves it shown
        ev->NewGameReset();
        SetGameDay(day);
        SetGameHour(hour);
        GameFlow->Place = place;
        transcript->Clear();
    }
    void Play(const Case& c) {
        SCOPED_TRACE(c.name);
        Start(c);
        std::vector<bool> before(kEventFlagCount);
        for (int f = 1; f < kEventFlagCount; ++f) before[f] = ev->TestFlg(f);
        auto marks = DayMarks;
        test::EventResponders player(headless.Backend());
        player.answers = c.answers;
        ASSERT_TRUE(c.event());
        EXPECT_EQ(Speakers(), c.speakers);
        int lines = 0;
        for (const auto& [who, n] : c.speakers) lines += n;
        EXPECT_EQ(player.linesAcknowledged, lines);
        EXPECT_EQ(player.choicesAnswered, static_cast<int>(c.answers.size()));
        EXPECT_EQ(Voices(), c.voices);
        std::vector<int> changed;
        for (int f = 1; f < kEventFlagCount; ++f)
            if ((f < 32 || f >= 96) && ev->TestFlg(f) != before[f]) changed.push_back(f);
        EXPECT_EQ(changed, c.changed);
        for (auto [k, day] : c.marksAfter) marks[static_cast<std::size_t>(k)] = day;
        EXPECT_EQ(DayMarks, marks);
        EXPECT_EQ(GameDay(), c.endDay);
        EXPECT_EQ(GameHour(), c.endHour);
        EXPECT_EQ(GameFlow->Place, c.endPlace);
        EXPECT_EQ(ev->ConditionOverride, 0);
        // The event is over: the controller takes commands again and the shop's
        // menus work, so the player can go on (to the contest, say).
        EXPECT_TRUE(GameFlow->IsReady());
        EXPECT_EQ(ev->m_InEvent, 0);
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
        SetItemStock(105, 255);
        SetItemStock(22, 2);
        SetItemStock(24, 2);
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
        Fresh(125, 10, 6);
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
        EXPECT_EQ(GameFlow->Place, 6);
    }
    // The first winning path, speaker by speaker: the host is 司會 but in scene 2.
    Fresh(125, 13, 6);
    test::EventResponders player(headless.Backend());
    player.answers = kPaths[0].answers;
    ASSERT_TRUE(EvMove005());
    EXPECT_EQ(Speakers(),
              (Counts{{"緹菈", 28}, {"蕾妮特", 14}, {"司會", 3}, {"司儀", 1}, {"", 1}}));
    EXPECT_EQ(transcript->Texts("choice").front(), "『好，來個先發制人！ / 『先讓蕾妮特出招。");
    EXPECT_EQ(transcript->Texts("choice").back(), "『火燄魔法！ / 『反射魔法！ / 『加速魔法！");
}

TEST_F(RenetteTest, TheContestIsHeldOnlyFromTenToTwoOnDay125AtTheEventGround) {
    struct When {
        int day, hour, place;
        bool held, plays;
    };
    for (const When& t : {When{125, 9, 6, false, false}, When{125, 14, 6, false, false},
                          When{124, 12, 6, false, false}, When{125, 12, 3, false, false},
                          When{125, 12, 6, true, false}, When{125, 12, 6, false, true}}) {
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

const std::vector<Case>& Cases() {
    const int shop = 10;
    static const std::vector<Case> cases = {
        {"EvTurnStart028",
         EvTurnStart028,
         125,
         9,
         shop,
         {},
         {},
         {},
         {{"黑皮", 6}, {"緹菈", 7}},
         {},
         {},
         {},
         125,
         9,
         shop},
        {"EvTurnStart024",
         EvTurnStart024,
         6,
         14,
         shop,
         {},
         {},
         {},
         {{"緹菈", 7}, {"蕾妮特", 6}},
         {},
         {flag::RenetteMet},
         {},
         6,
         14,
         shop},
        // In school hours on a working day two more lines wonder at her being here.
        {"EvMove012",
         EvMove012,
         0,
         10,
         2,
         {},
         {},
         {},
         {{"緹菈", 10}, {"蕾妮特", 5}},
         Span(910, 919),
         {flag::IntroRivalShop, flag::RenetteMet},
         {},
         0,
         10,
         2},
        {"EvMove012 on the rest day",
         EvMove012,
         5,
         10,
         2,
         {},
         {},
         {},
         {{"緹菈", 8}, {"蕾妮特", 5}},
         Span(910, 919),
         {flag::IntroRivalShop, flag::RenetteMet},
         {},
         5,
         10,
         2},
        {"EvMove012 after school",
         EvMove012,
         1,
         14,
         2,
         {},
         {},
         {},
         {{"緹菈", 8}, {"蕾妮特", 5}},
         Span(910, 919),
         {flag::IntroRivalShop, flag::RenetteMet},
         {},
         1,
         14,
         2},
        {"EvMove013",
         EvMove013,
         192,
         14,
         3,
         {flag::RenetteMet},
         {},
         {},
         {{"緹菈", 11}, {"蕾妮特", 8}},
         Span(930, 941, Span(920, 926)),
         {flag::RenetteQuarrel},
         {},
         192,
         14,
         3},
        {"EvMove014",
         EvMove014,
         210,
         17,
         39,
         {flag::RenetteQuarrel},
         {},
         {},
         {{"緹菈", 12}, {"蕾妮特", 8}, {"", 1}},
         Span(942, 961),
         {flag::RenetteAtBigTree},
         {},
         210,
         17,
         39},
        // No place test: from anywhere, seven hours on, at the great wizard's house.
        {"EvTurnStart012",
         EvTurnStart012,
         234,
         9,
         5,
         {flag::WizardFound, flag::RenetteAtBigTree},
         {},
         {},
         {{"緹菈", 24 + 17},
          {"大魔法師", 19},
          {"蕾妮特的父親", 13},
          {"可可特", 9},
          {"蕾妮特", 5},
          {"黑皮", 1},
          {"", 1}},
         Span(962, 997),
         {flag::RenetteCrisis},
         {{mark::FirstAttackDay, 234}},
         234,
         16,
         43},
        {"EvTurnStart012 at ten",
         EvTurnStart012,
         240,
         10,
         shop,
         {flag::WizardFound, flag::RenetteAtBigTree},
         {},
         {},
         {{"緹菈", 24 + 17},
          {"大魔法師", 19},
          {"蕾妮特的父親", 13},
          {"可可特", 9},
          {"蕾妮特", 5},
          {"黑皮", 1},
          {"", 1}},
         Span(962, 997),
         {flag::RenetteCrisis},
         {{mark::FirstAttackDay, 240}},
         240,
         17,
         43},
        // The wizard's truth told: from 18:00 the day after, waiting for 19:00 ...
        {"EvTurnStart013",
         EvTurnStart013,
         101,
         18,
         shop,
         {flag::FathersTruthTold},
         {{mark::PurificationDay, 100}},
         {},
         {{"緹菈", 8}, {"可可特", 7}, {"", 3}},
         Span(998, 1008),
         {flag::NightSearch, kTownIntroduced, flag::RenetteRanAway, flag::RenetteMissingNight},
         {},
         101,
         19,
         32},
        // ... and not a whole day when it is later already.
        {"EvTurnStart013 at nine",
         EvTurnStart013,
         101,
         21,
         shop,
         {flag::FathersTruthTold},
         {{mark::PurificationDay, 100}},
         {},
         {{"緹菈", 8}, {"可可特", 7}, {"", 3}},
         Span(998, 1008),
         {flag::NightSearch, kTownIntroduced, flag::RenetteRanAway, flag::RenetteMissingNight},
         {},
         101,
         21,
         32},
        // Without the truth: from the seventh day, at 19:00 or later.
        {"EvTurnStart013 a week on",
         EvTurnStart013,
         107,
         23,
         shop,
         {},
         {{mark::PurificationDay, 100}},
         {},
         {{"緹菈", 8}, {"可可特", 7}, {"", 3}},
         Span(998, 1008),
         {flag::NightSearch, kTownIntroduced, flag::RenetteRanAway, flag::RenetteMissingNight},
         {},
         107,
         23,
         32},
        {"EvTurnStart022",
         EvTurnStart022,
         247,
         9,
         shop,
         {},
         {{mark::FirstAttackDay, 240}},
         {},
         {{"緹菈", 26}, {"可可特", 12}, {"蕾妮特的父親", 5}},
         {},
         {flag::EarthquakeDone, flag::WizardDead},
         {},
         247,
         18,
         2},
        // The night search: nobody at the big tree, then 蕾妮特.
        {"EvSearch001",
         EvSearch001,
         241,
         21,
         39,
         {flag::NightSearch},
         {},
         {},
         {{"緹菈", 1}},
         {},
         {flag::IntroBigTree, flag::BigTreeSearched},
         {},
         241,
         21,
         39},
        {"EvSearch001 again",
         EvSearch001,
         241,
         23,
         39,
         {flag::NightSearch, flag::BigTreeSearched},
         {},
         {},
         {{"緹菈", 13}, {"蕾妮特", 7}},
         Span(1009, 1027),
         {flag::IntroBigTree, flag::RenetteFoundAtBigTree},
         {},
         241,
         23,
         39},
        // Dawn: one hour to 06:00 with no tired scene, home, 可可特 at the door.
        {"EvSearch002",
         EvSearch002,
         242,
         5,
         35,
         {flag::NightSearch},
         {},
         {},
         {{"緹菈", 9}, {"可可特", 6}, {"", 1}},
         {},
         {flag::DawnWithCocotte},
         {},
         242,
         6,
         shop},
        {"EvSearch003",
         EvSearch003,
         242,
         2,
         33,
         {flag::NightSearch},
         {},
         {},
         {{"緹菈", 1}},
         {},
         {flag::IntroForest},
         {},
         242,
         2,
         33},
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
const std::vector<Case>& CaveCases() {
    const int won = flag::MagicContestWon, beauty = flag::BeautyContestWon;
    const Counts friends = {{"緹菈", 6 + 4}, {"蕾妮特", 6 + 3}};
    const std::vector<int> friendsVoices = Span(1028, 1046);
    const std::vector<int> over = {flag::NightSearch, flag::RenetteSaved};
    static const std::vector<Case> cases = {
        {"love",
         EvMove145,
         243,
         22,
         36,
         Cave({won, beauty}),
         {},
         {1},
         {{"緹菈", 6 + 14}, {"蕾妮特", 6 + 13}},
         Span(1047, 1073, Span(1028, 1039)),
         {flag::NightSearch, flag::RouteRenette, flag::RenetteSaved},
         {},
         243,
         22,
         36},
        {"friends by choice",
         EvMove145,
         243,
         22,
         36,
         Cave({won, beauty}),
         {},
         {0},
         friends,
         friendsVoices,
         over,
         {},
         243,
         23,
         36},
        {"可可特",
         EvMove145,
         243,
         22,
         36,
         Cave({won, beauty, flag::EndingRenetteSeen, flag::CocotteAskedAboutLove}),
         {},
         {2},
         {{"緹菈", 6 + 6}, {"蕾妮特", 6 + 6}},
         Span(1074, 1085, Span(1028, 1039)),
         over,
         {{mark::CocotteChosenDay, 243}},
         243,
         22,
         36},
        // Without either contest won, or on another route: friends, and no choice.
        {"no contest",
         EvMove145,
         243,
         22,
         36,
         Cave({beauty}),
         {},
         {},
         friends,
         friendsVoices,
         over,
         {},
         243,
         23,
         36},
        {"no beauty contest",
         EvMove145,
         243,
         22,
         36,
         Cave({won}),
         {},
         {},
         friends,
         friendsVoices,
         over,
         {},
         243,
         23,
         36},
        {"the prince's route",
         EvMove145,
         243,
         22,
         36,
         Cave({won, beauty, flag::RoutePrince}),
         {},
         {},
         friends,
         friendsVoices,
         over,
         {},
         243,
         23,
         36},
        {"芙蘿蕾's route",
         EvMove145,
         243,
         22,
         36,
         Cave({won, beauty, flag::RouteFlorae}),
         {},
         {},
         friends,
         friendsVoices,
         over,
         {},
         243,
         23,
         36},
        {"可可特's route",
         EvMove145,
         243,
         22,
         36,
         Cave({won, beauty, flag::RouteCocotte}),
         {},
         {},
         friends,
         friendsVoices,
         over,
         {},
         243,
         23,
         36},
        // The third caption needs both her ending seen and 可可特's question.
        {"ending seen only",
         EvMove145,
         243,
         22,
         36,
         Cave({won, beauty, flag::EndingRenetteSeen}),
         {},
         {0},
         friends,
         friendsVoices,
         over,
         {},
         243,
         23,
         36},
    };
    return cases;
}

TEST_F(RenetteTest, EveryEventPlaysItsLinesAndChangesAndEveryRecordIsPlayed) {
    story::ResetPlays();
    for (const Case& c : Cases()) Play(c);
    for (const Case& c : CaveCases()) Play(c);
    // The contest's paths and the purification's twins are accounted for here too.
    for (const Path& p : kPaths) {
        At(125, 10, 6);
        test::EventResponders player(headless.Backend());
        player.answers = p.answers;
        ASSERT_TRUE(EvMove005());
    }
    for (bool (*twin)() : {EvTurnStart029, EvMove017}) {
        At(240, 12, 10);
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
        Fresh(day, hour, 10);
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
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_EQ(ItemStock(105), 255);  // tested, never taken
    EXPECT_EQ(ItemStock(22), 2);
    EXPECT_EQ(ItemStock(24), 2);
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
    EXPECT_EQ(GameFlow->Place, 2);
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
        Fresh(r.day, r.hour, 10);
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
    for (int item : {105, 22, 24}) {
        Fresh(241, 12, 10);
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
    Fresh(286, 12, 10);
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
    Fresh(234, 9, 3);
    ev->SetFlg(flag::WizardFound, true);
    ev->SetFlg(flag::RenetteAtBigTree, true);
    ev->GiveItem(106, 1);
    ASSERT_EQ(ItemStock(106), 1);
    ASSERT_FALSE(IsItemUnlocked(43));
    {
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvTurnStart012());
    }
    EXPECT_EQ(Lines(), 89);
    EXPECT_TRUE(IsItemUnlocked(43));
    EXPECT_EQ(ItemStock(105), 255);
    EXPECT_EQ(ItemStock(106), 0);
    EXPECT_FALSE(IsItemUnlocked(106));
    EXPECT_EQ(transcript->Texts("line")[51], "大魔法師的家");
    EXPECT_FALSE(Try(EvTurnStart012));  // once
    // Its window: from day 234, at 09:00 or 10:00, after the big tree and the maze.
    struct When {
        int day, hour;
        std::vector<int> flags;
        bool plays;
    };
    for (const When& t : {When{233, 9, {425, 393}, false}, When{234, 11, {425, 393}, false},
                          When{234, 9, {393}, false}, When{234, 9, {425}, false},
                          When{287, 10, {425, 393}, true}}) {
        Fresh(t.day, t.hour, 10);
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
        Fresh(t.day, t.hour, 10);
        ev->SetFlg(flag::RenetteMet, t.met);
        EXPECT_EQ(Try(EvTurnStart024), t.plays) << t.day << " " << t.hour;
    }
    // The rival shop's first visit on day 6 is the plain introduction's, not hers.
    Fresh(6, 10, 2);
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
