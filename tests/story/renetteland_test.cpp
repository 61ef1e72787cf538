// 蕾妮特 on the land map, the volcano and love-potion commissions and the great
// wizard, played headless through the real message window with the transcript: each
// event's lines, speakers, flags, items, money, reputation, clock and place, the
// conditions in their order with the draws they take, and the two commissions and the
// wizard's visits through the real walks and commands.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/Savefile.h"
#include "story/Dialogue.h"
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
#include "town/Whereabouts.h"

namespace {

using Counts = test::StoryTest::Counts;
using test::DrawsSince;
using test::SeedFor;
constexpr char kFile[] = "RenetteLand.txt";

using test::EventCase;

class RenetteLandTest : public test::StoryTest {
protected:
    void Start(const EventCase& g) { Stage(g); }
    // Plays a row: no event of hers pays or costs anything unless it says so.
    void PlayRow(EventCase r) {
        r.money = r.money.value_or(0);
        r.reputation = r.reputation.value_or(0);
        Play(r);
    }
    // One arrival: the move table's walk. The events whose scenes played, by name.
    std::vector<std::string> Arrive(int place) {
        story::ResetPlays();
        transcript->Clear();
        GameFlow->Place = place;
        RunMoveEvents();
        return Played();
    }
    // The lines after the last record of `kind` whose text is `text`; -1 when none.
    int LinesAfter(const char* kind, const std::string& text) {
        int lines = -1;
        for (const ui::TranscriptEntry& e : transcript->Entries()) {
            if (e.kind == kind && e.text == text)
                lines = 0;
            else if (e.kind == "line" && lines >= 0)
                ++lines;
        }
        return lines;
    }
};

// A working day outside the festival windows at 16:00: 蕾妮特's schedule answers each
// land place with one draw of 20 per cent.
EventCase At(int place, std::vector<int> draws = {}) {
    return {.day = 100, .hour = 16, .place = place, .draws = std::move(draws)};
}
EventCase On(int day, int hour, int place) { return {.day = day, .hour = hour, .place = place}; }
EventCase With(EventCase g, std::vector<int> flags, test::Values marks = {},
               test::Values stock = {}) {
    g.flags = std::move(flags);
    g.marks = std::move(marks);
    g.items = std::move(stock);
    return g;
}

constexpr int kNo = -20, kYes = 20;  // one ask of her schedule at 16:00

const std::vector<test::EventCase>& Rows() {
    static const std::vector<test::EventCase> rows = {
        // ---- at set places
        {.name = "EvMove138",
         .event = EvMove138,
         .day = 50,
         .hour = 15,
         .place = place::Crater,
         .speakers = {{"緹菈+蕾妮特", 24}},
         .changed = {flag::RenetteAtCrater}},
        {.name = "EvMove139",
         .event = EvMove139,
         .day = 168,
         .hour = 14,
         .place = place::Beach,
         .speakers = {{"緹菈+蕾妮特", 21}},
         .changed = {flag::RenetteAtBeach}},
        {.name = "EvMove140",
         .event = EvMove140,
         .day = 100,
         .hour = 16,
         .place = place::ForestSpring,
         .draws = {kYes},
         .speakers = {{"緹菈", 6}, {"蕾妮特", 5}, {"", 1}}},
        {.name = "EvMove141",
         .event = EvMove141,
         .day = 100,
         .hour = 16,
         .place = place::ForestSpring,
         .items = {{item::Mushroom, 0}},
         .draws = {kYes},
         .speakers = {{"緹菈", 8}, {"蕾妮特", 8}, {"", 1}},
         .itemsAfter = {{item::Mushroom, 1}}},
        {.name = "EvMove142",
         .event = EvMove142,
         .day = 100,
         .hour = 16,
         .place = place::ForestSpring,
         .items = {{item::Lily, 5}},
         .draws = {kYes},
         .speakers = {{"緹菈", 12}, {"蕾妮特", 8}},
         .itemsAfter = {{item::Lily, 6}}},
        {.name = "EvMove143",
         .event = EvMove143,
         .day = 100,
         .hour = 16,
         .place = place::Waterfall,
         .draws = {kYes},
         .speakers = {{"緹菈", 6}, {"蕾妮特", 5}, {"", 1}}},
        {.name = "EvMove144",
         .event = EvMove144,
         .day = 100,
         .hour = 16,
         .place = place::Waterfall,
         .items = {{item::Nightglow, 0}},
         .draws = {kYes},
         .speakers = {{"緹菈", 8}, {"蕾妮特", 8}, {"", 1}},
         .itemsAfter = {{item::Nightglow, 1}}},
        // ---- met by chance, in the cave (the first place asked)
        {.name = "EvMove152",
         .event = EvMove152,
         .day = 100,
         .hour = 16,
         .place = place::Cave,
         .draws = {20, kYes},
         .speakers = {{"緹菈", 7}, {"蕾妮特", 5}}},
        {.name = "EvMove153",
         .event = EvMove153,
         .day = 100,
         .hour = 16,
         .place = place::Cave,
         .draws = {20, kYes},
         .speakers = {{"緹菈", 6}, {"蕾妮特", 6}}},
        {.name = "EvMove154",
         .event = EvMove154,
         .day = 100,
         .hour = 16,
         .place = place::Cave,
         .draws = {20, kYes},
         .speakers = {{"緹菈", 11}, {"蕾妮特", 7}, {"", 1}}},
        {.name = "EvMove155",
         .event = EvMove155,
         .day = 100,
         .hour = 16,
         .place = place::Cave,
         .draws = {10, kYes},
         .speakers = {{"緹菈", 17}, {"蕾妮特", 8}}},
        {.name = "EvMove156",
         .event = EvMove156,
         .day = 100,
         .hour = 16,
         .place = place::Cave,
         .draws = {20, kYes},
         .speakers = {{"緹菈", 3}, {"蕾妮特", 2}}},
        {.name = "EvMove157",
         .event = EvMove157,
         .day = 100,
         .hour = 16,
         .place = place::Cave,
         .draws = {20, kYes},
         .speakers = {{"緹菈", 7}, {"蕾妮特", 4}, {"", 2}}},
        {.name = "EvMove191",
         .event = EvMove191,
         .day = 100,
         .hour = 16,
         .place = place::Cave,
         .flags = {flag::RouteRenette},
         .draws = {40, kYes},
         .speakers = {{"緹菈", 4}, {"蕾妮特", 4}}},
        // ---- the volcano commission
        {.name = "EvMove112",
         .event = EvMove112,
         .day = 110,
         .hour = 12,
         .place = place::Crater,
         .flags = {flag::RenetteAtCrater},
         .speakers = {{"緹菈+蕾妮特", 11}},
         .changed = {flag::VolcanoTremor},
         .marksAfter = {{mark::VolcanoNotice, 110}}},
        {.name = "EvMove113",
         .event = EvMove113,
         .day = 128,
         .hour = 12,
         .place = place::Crater,
         .flags = {flag::RenetteAtCrater, flag::VolcanoTremor, flag::VolcanoCommission},
         .marks = {{mark::VolcanoNotice, 110}},
         .items = {{item::GlacierPebble, 1}},
         .speakers = {{"緹菈+蕾妮特的父親", 13}, {"", 1}},
         .changed = {flag::VolcanoCommissionDone},
         .money = 10000,
         .reputation = 3},
        {.name = "EvMove114",
         .event = EvMove114,
         .day = 128,
         .hour = 12,
         .place = place::Crater,
         .flags = {flag::RenetteAtCrater, flag::VolcanoTremor, flag::VolcanoCommission},
         .marks = {{mark::VolcanoNotice, 110}},
         .speakers = {{"緹菈", 2}}},
        // ---- the love potion
        {.name = "EvMove125",
         .event = EvMove125,
         .day = 100,
         .hour = 10,
         .place = place::Library,
         .flags = {flag::LovePotionCommission},
         .marks = {{mark::LovePotionNotice, 100}},
         .speakers = {{"緹菈", 12}, {"蕾妮特", 1}},
         .changed = {flag::LovePotionRecipe},
         .learns = {item::LovePotion}},
        {.name = "EvMove126",
         .event = EvMove126,
         .day = 105,
         .hour = 10,
         .place = place::HotSpring,
         .flags = {flag::LovePotionCommission, flag::LovePotionRecipe},
         .marks = {{mark::LovePotionNotice, 100}},
         .items = {{item::Kiwiberry, 1}, {item::ScentedOil, 1}},
         .speakers = {{"緹菈+蕾妮特+黑皮", 49}, {"", 1}},
         .changed = {flag::LovePotionCommissionDone},
         .itemsAfter = {{item::Kiwiberry, 0}, {item::ScentedOil, 0}},
         .money = 300,
         .hours = 2,
         .placeAfter = place::ShopInside},
        {.name = "EvMove127",
         .event = EvMove127,
         .day = 105,
         .hour = 10,
         .place = place::HotSpring,
         .flags = {flag::LovePotionCommission, flag::LovePotionRecipe},
         .marks = {{mark::LovePotionNotice, 100}},
         .items = {{item::Kiwiberry, 0}, {item::ScentedOil, 1}},
         .speakers = {{"緹菈", 1}}},
        // ---- the great wizard
        {.name = "EvMove129",
         .event = EvMove129,
         .day = 200,
         .hour = 14,
         .place = place::WizardHouseInside,
         .marks = {{mark::PurificationDay, 190}},
         .speakers = {{"大魔法師", 23}, {"緹菈", 9}},
         .changed = {flag::FathersTruthTold},
         .hours = 1,
         .placeAfter = place::WizardHouse},
        {.name = "EvMove188",
         .event = EvMove188,
         .day = 240,
         .hour = 22,
         .place = place::WizardHouseInside,
         .flags = {flag::NightSearch},
         .speakers = {{"大魔法師", 6}, {"緹菈", 8}},
         .changed = {flag::IntroWizardHouse, flag::WizardAdvice},
         .placeAfter = place::WizardHouse},
    };
    return rows;
}

// ---- every event, and every record accounted for

TEST_F(RenetteLandTest, EveryEventPlaysItsLinesAndChangesAndEveryRecordIsPlayed) {
    story::ResetPlays();
    int lines = 0;
    for (const EventCase& r : Rows()) {
        PlayRow(r);
        lines += Lines();
    }
    EXPECT_EQ(lines, 354);
    ExpectAllPlayed(kFile);
}

TEST_F(RenetteLandTest, TheLinesPerPartAreAsTheyAreCounted) {
    // Lines per event as the data holds them, and their sums per Part.
    std::map<std::string, int> per;
    for (const story::Scene& sc : story::Scenes()) {
        if (sc.file != kFile) continue;
        for (const story::Step& st : sc.steps) {
            if (st.kind != story::StepKind::Line) continue;
            ++per[sc.key.substr(0, sc.key.find(':'))];
            EXPECT_EQ(story::LineProblem(st.text), "") << sc.key;
            const std::string utf8 = ui::Big5ToUtf8(st.text);
            EXPECT_FALSE(utf8.ends_with("」") || utf8.ends_with("』")) << sc.key << ": " << utf8;
        }
    }
    auto sum = [&per](std::initializer_list<int> events) {
        int n = 0;
        for (int e : events) n += per["EvMove" + std::to_string(e)];
        return n;
    };
    const std::map<std::string, int> want = {
        {"EvMove138", 24}, {"EvMove139", 21}, {"EvMove140", 12}, {"EvMove141", 17},
        {"EvMove142", 20}, {"EvMove143", 12}, {"EvMove144", 17}, {"EvMove152", 12},
        {"EvMove153", 12}, {"EvMove154", 19}, {"EvMove155", 25}, {"EvMove156", 5},
        {"EvMove157", 13}, {"EvMove191", 8},  {"EvMove112", 11}, {"EvMove113", 14},
        {"EvMove114", 2},  {"EvMove125", 13}, {"EvMove126", 50}, {"EvMove127", 1},
        {"EvMove129", 32}, {"EvMove188", 14}};
    EXPECT_EQ(per, want);
    EXPECT_EQ(sum({138, 139, 140, 141, 142, 143, 144}), 123);
    EXPECT_EQ(sum({152, 153, 154, 155, 156, 157, 191}), 94);
    EXPECT_EQ(sum({112, 113, 114}), 27);
    EXPECT_EQ(sum({125, 126, 127}), 64);
}

TEST_F(RenetteLandTest, TheLetterThoughtsAndSoundsStandWhereTheScenesPutThem) {
    test::EventResponders player(headless.Backend());
    auto lines = [this] {
        std::vector<std::string> out;
        for (const std::string& l : transcript->Texts("line")) out.push_back(l);
        return out;
    };
    // The letter: its first line 蕾妮特's, the other three read by the heroine.
    Start(With(On(105, 10, place::HotSpring), {flag::LovePotionCommission, flag::LovePotionRecipe},
               {{mark::LovePotionNotice, 100}}, {{item::Kiwiberry, 1}, {item::ScentedOil, 1}}));
    ASSERT_TRUE(EvMove126());
    std::vector<std::string> l = lines();
    ASSERT_EQ(l.size(), 50u);
    EXPECT_EQ(LinesAfter("sound", "seLetter.wav"), 50 - 23);
    EXPECT_TRUE(l[23].starts_with("蕾妮特『")) << l[23];
    for (int i = 24; i < 27; ++i) EXPECT_TRUE(l[i].starts_with("緹菈『")) << l[i];
    for (int i = 46; i < 50; ++i) EXPECT_TRUE(l[i].starts_with("緹菈『")) << l[i];
    // The writing on her face: the stage goes black, the place comes back without
    // figures, and the fourth closing line is a thought.
    Start(At(place::Cave, {10, kYes}));
    ASSERT_TRUE(EvMove155());
    l = lines();
    EXPECT_TRUE(l[22].starts_with("緹菈『")) << l[22];
    EXPECT_EQ(Music(), (std::vector<int>{track::RenetteMusic, track::LandMusic}));
    // The wizard's last two lines come after the door.
    Start(With(On(200, 14, place::WizardHouseInside), {}, {{mark::PurificationDay, 190}}));
    ASSERT_TRUE(EvMove129());
    EXPECT_EQ(LinesAfter("sound", "seDoor.wav"), 2);
    EXPECT_EQ(Music().front(), track::WizardHouseMusic);
    // The night of the search ends on the map with the house's outside track playing.
    Start(With(On(240, 22, place::WizardHouseInside), {flag::NightSearch}));
    ASSERT_TRUE(EvMove188());
    EXPECT_EQ(Music(), (std::vector<int>{track::WizardHouseMusic, track::NightSearchMusic}));
    EXPECT_EQ(LinesAfter("sound", "seDoor.wav"), 1);
    // The beach's waves come before anything is said.
    Start(On(169, 13, place::Beach));
    ASSERT_TRUE(EvMove139());
    EXPECT_EQ(LinesAfter("sound", "seminWav.wav"), 21);
}

// ---- the conditions

// 蕾妮特 at the crater: the rest day widens the hours to 12..18.
TEST_F(RenetteLandTest, TheCraterAndTheBeachKeepTheirDaysAndHours) {
    test::EventResponders player(headless.Backend());
    struct Case {
        bool (*event)();
        int day, hour;
        bool plays;
    };
    const Case cases[] = {
        {EvMove138, 53, 12, true},   {EvMove138, 50, 12, false},  {EvMove138, 50, 14, false},
        {EvMove138, 50, 15, true},   {EvMove138, 53, 18, true},   {EvMove138, 50, 19, false},
        {EvMove138, 53, 19, false},  {EvMove138, 48, 12, false},  {EvMove138, 48, 15, true},
        {EvMove138, 47, 15, false},  {EvMove138, 95, 15, true},   {EvMove138, 96, 15, false},
        {EvMove139, 168, 14, true},  {EvMove139, 168, 15, false}, {EvMove139, 168, 16, true},
        {EvMove139, 169, 13, true},  {EvMove139, 169, 14, false}, {EvMove139, 169, 15, true},
        {EvMove139, 169, 17, true},  {EvMove139, 173, 13, true},  {EvMove139, 173, 17, true},
        {EvMove139, 173, 12, false}, {EvMove139, 173, 18, false}, {EvMove139, 170, 16, true},
        {EvMove139, 171, 17, true},  {EvMove139, 167, 14, false}, {EvMove139, 192, 14, false},
        {EvMove139, 191, 17, true},
    };
    for (const Case& c : cases) {
        const int place = c.event == EvMove138 ? place::Crater : place::Beach;
        Start(On(c.day, c.hour, place));
        EXPECT_EQ(c.event(), c.plays) << place << " day " << c.day << " at " << c.hour;
        // Once played, never again.
        if (c.plays) {
            EXPECT_FALSE(c.event()) << place << " day " << c.day;
        }
    }
}

TEST_F(RenetteLandTest, ConditionsFailInTheirOrderWithNothingChanged) {
    test::EventResponders player(headless.Backend());
    struct Case {
        const char* what;
        bool (*event)();
        EventCase given;
        int draws;
    };
    const Case cases[] = {
        {"the crater met already", EvMove138,
         With(On(50, 15, place::Crater), {flag::RenetteAtCrater}), 0},
        {"the crater elsewhere", EvMove138, On(50, 15, place::MountainPath), 0},
        {"the beach met already", EvMove139,
         With(On(168, 14, place::Beach), {flag::RenetteAtBeach}), 0},
        {"the spring, her route taken", EvMove140,
         With(At(place::ForestSpring, {kYes}), {flag::RouteRenette}), 1},
        {"the spring, she is elsewhere", EvMove140, At(place::ForestSpring, {kNo}), 1},
        {"the spring, the heroine elsewhere", EvMove142, At(place::Forest, {kYes}), 1},
        {"the waterfall, her route taken", EvMove144,
         With(At(place::Waterfall, {kYes}), {flag::RouteRenette}), 1},
        {"a chance meeting that fails its draw", EvMove152, At(place::Cave, {-20}), 1},
        {"a chance meeting at the waterfall", EvMove153,
         At(place::Waterfall, {20, kYes, kYes, kYes, kYes, kYes, kYes, kYes, kYes}), 9},
        {"a chance meeting after her route", EvMove157,
         With(At(place::Cave, {20, kYes}), {flag::RouteRenette}), 2},
        {"her route's meeting before it", EvMove191, At(place::Cave, {40, kYes}), 2},
        {"the tremor before the crater meeting", EvMove112, On(110, 12, place::Crater), 0},
        {"the tremor on day 107", EvMove112,
         With(On(107, 12, place::Crater), {flag::RenetteAtCrater}), 0},
        {"the tremor on day 132", EvMove112,
         With(On(132, 12, place::Crater), {flag::RenetteAtCrater}), 0},
        {"the tremor again", EvMove112,
         With(On(110, 12, place::Crater), {flag::RenetteAtCrater, flag::VolcanoTremor}), 0},
        {"the stone without the notice", EvMove113,
         With(On(112, 12, place::Crater), {flag::RenetteAtCrater, flag::VolcanoTremor},
              {{mark::VolcanoNotice, 110}}, {{item::GlacierPebble, 1}}),
         0},
        {"the stone on day m+19", EvMove113,
         With(On(129, 12, place::Crater),
              {flag::RenetteAtCrater, flag::VolcanoTremor, flag::VolcanoCommission},
              {{mark::VolcanoNotice, 110}}, {{item::GlacierPebble, 1}}),
         0},
        {"the stone after the commission", EvMove113,
         With(On(112, 12, place::Crater),
              {flag::RenetteAtCrater, flag::VolcanoTremor, flag::VolcanoCommission,
               flag::VolcanoCommissionDone},
              {{mark::VolcanoNotice, 110}}, {{item::GlacierPebble, 1}}),
         0},
        {"the heat on day m+19", EvMove114,
         With(On(129, 12, place::Crater),
              {flag::RenetteAtCrater, flag::VolcanoTremor, flag::VolcanoCommission},
              {{mark::VolcanoNotice, 110}}),
         0},
        {"the heat after the commission", EvMove114,
         With(On(112, 12, place::Crater),
              {flag::RenetteAtCrater, flag::VolcanoTremor, flag::VolcanoCommission,
               flag::VolcanoCommissionDone},
              {{mark::VolcanoNotice, 110}}),
         0},
        {"the heat without a mark", EvMove114,
         With(On(112, 12, place::Crater),
              {flag::RenetteAtCrater, flag::VolcanoTremor, flag::VolcanoCommission}),
         0},
        {"the recipe before the commission", EvMove125,
         With(On(100, 10, place::Library), {}, {{mark::LovePotionNotice, 100}}), 0},
        {"the recipe again", EvMove125,
         With(On(100, 10, place::Library), {flag::LovePotionCommission, flag::LovePotionRecipe},
              {{mark::LovePotionNotice, 100}}),
         0},
        {"the recipe on day D+6", EvMove125,
         With(On(106, 10, place::Library), {flag::LovePotionCommission},
              {{mark::LovePotionNotice, 100}}),
         0},
        {"the recipe after the delivery", EvMove125,
         With(On(100, 10, place::Library),
              {flag::LovePotionCommission, flag::LovePotionCommissionDone},
              {{mark::LovePotionNotice, 100}}),
         0},
        {"the spring before the recipe", EvMove126,
         With(On(101, 10, place::HotSpring), {flag::LovePotionCommission},
              {{mark::LovePotionNotice, 100}}),
         0},
        {"the spring on day D+6", EvMove126,
         With(On(106, 10, place::HotSpring), {flag::LovePotionCommission, flag::LovePotionRecipe},
              {{mark::LovePotionNotice, 100}}),
         0},
        {"the spring with no 香油", EvMove126,
         With(On(101, 10, place::HotSpring), {flag::LovePotionCommission, flag::LovePotionRecipe},
              {{mark::LovePotionNotice, 100}}, {{item::ScentedOil, 0}}),
         0},
        {"the reminder with neither", EvMove127,
         With(On(101, 10, place::HotSpring), {flag::LovePotionCommission, flag::LovePotionRecipe},
              {{mark::LovePotionNotice, 100}}, {{item::Kiwiberry, 0}, {item::ScentedOil, 0}}),
         0},
        {"the reminder after the delivery", EvMove127,
         With(On(101, 10, place::HotSpring),
              {flag::LovePotionCommission, flag::LovePotionRecipe, flag::LovePotionCommissionDone},
              {{mark::LovePotionNotice, 100}}, {{item::Kiwiberry, 0}}),
         0},
        {"the tale without day mark 2", EvMove129, On(200, 14, place::WizardHouseInside), 0},
        {"the tale after she ran away", EvMove129,
         With(On(200, 14, place::WizardHouseInside), {flag::RenetteRanAway},
              {{mark::PurificationDay, 190}}),
         0},
        {"the tale told", EvMove129,
         With(On(200, 14, place::WizardHouseInside), {flag::FathersTruthTold},
              {{mark::PurificationDay, 190}}),
         0},
        {"the advice outside the search", EvMove188, On(240, 22, place::WizardHouseInside), 0},
        {"the advice given", EvMove188,
         With(On(240, 22, place::WizardHouseInside), {flag::NightSearch, flag::WizardAdvice}), 0},
    };
    for (const Case& c : cases) {
        Start(c.given);
        const std::uint32_t seeded = ui::RandState();
        const auto marks = DayMarks;
        const int money = GameMoney();
        EXPECT_FALSE(c.event()) << c.what;
        EXPECT_EQ(DrawsSince(seeded), c.draws) << c.what;
        EXPECT_EQ(Lines(), 0) << c.what;
        EXPECT_EQ(DayMarks, marks) << c.what;
        EXPECT_EQ(GameMoney(), money) << c.what;
    }
}

// The spring's three and the waterfall's two each ask her schedule afresh: the first
// member that finds her plays.
TEST_F(RenetteLandTest, EachMemberAtTheSpringAndTheWaterfallAsksHerAfresh) {
    test::EventResponders player(headless.Backend());
    struct Case {
        int place;
        std::vector<int> draws = {};
        const char* plays;
    };
    const Case cases[] = {
        {34, {kYes}, "EvMove140"},
        {34, {kNo, kYes}, "EvMove141"},
        {34, {kNo, kNo, kYes}, "EvMove142"},
        {34, {kNo, kNo, kNo, kNo, kNo}, ""},
        // At the waterfall the spring's three ask for 34 first.
        {35, {kNo, kNo, kNo, kYes}, "EvMove143"},
        {35, {kYes, kNo, kYes, kNo, kYes}, "EvMove144"},
        {35, {kNo, kNo, kNo, kNo, kNo}, ""},
    };
    bool (*const family[])() = {EvMove140, EvMove141, EvMove142, EvMove143, EvMove144};
    for (const Case& c : cases) {
        Start(At(c.place, c.draws));
        story::ResetPlays();
        const std::uint32_t seeded = ui::RandState();
        // As the walk tries them, in slot order, to the first that runs.
        for (auto event : family)
            if (event()) break;
        const std::vector<std::string> played = Played();
        EXPECT_EQ(played.empty() ? "" : played.front(), std::string(c.plays)) << c.place;
        EXPECT_EQ(DrawsSince(seeded), static_cast<int>(c.draws.size())) << c.plays;
    }
    // A full stock stays full, and the scene plays all the same.
    Start(With(At(place::ForestSpring, {kNo, kYes}), {}, {}, {{item::Mushroom, 99}}));
    EXPECT_FALSE(EvMove140());
    EXPECT_TRUE(EvMove141());
    EXPECT_EQ(ItemStock(item::Mushroom), 99);
    EXPECT_EQ(Lines(), 17);
}

// 蕾妮特 met by chance: the cave, the spring, the forest, the mountain path, the big
// tree, the beach, the crater, then the lake, each asked in turn; the chance first.
TEST_F(RenetteLandTest, ChanceMeetingsTryHerPlacesInOrder) {
    test::EventResponders player(headless.Backend());
    // The rest day at 13:00: every one of the eight places draws (10 per cent, the big
    // tree 30).
    const std::vector<int> foundLast = {20, -10, -10, -10, -10, -30, -10, -10, 10};
    EventCase lake = On(5, 13, place::Lake);
    lake.draws = foundLast;
    Start(lake);
    std::uint32_t seeded = ui::RandState();
    EXPECT_TRUE(EvMove152());
    EXPECT_EQ(DrawsSince(seeded), 9);
    EXPECT_EQ(Lines(), 12);
    Start(lake);
    seeded = ui::RandState();
    EXPECT_FALSE(EvMove191());  // 40 per cent; her route not taken
    EXPECT_EQ(DrawsSince(seeded), 9);
    // The cave is asked first.
    lake.place = place::Cave;
    lake.draws = {10, 10};
    Start(lake);
    seeded = ui::RandState();
    EXPECT_TRUE(EvMove155());
    EXPECT_EQ(DrawsSince(seeded), 2);
    EXPECT_EQ(Lines(), 25);
    // Her route taken: the six before it draw their chance and fail; the seventh plays.
    // The first finds her at the mountain path and fails only on the flag.
    EventCase route = With(At(place::MountainPath), {flag::RouteRenette});
    route.draws = {20, kNo, kNo, kNo, kYes, -20, -20, -10, -20, -20, 40, kNo, kNo, kNo, kYes};
    Start(route);
    seeded = ui::RandState();
    EXPECT_FALSE(EvMove152());
    EXPECT_EQ(DrawsSince(seeded), 5);
    for (auto event : {EvMove153, EvMove154, EvMove155, EvMove156, EvMove157})
        EXPECT_FALSE(event());
    EXPECT_EQ(DrawsSince(seeded), 10);
    EXPECT_TRUE(EvMove191());
    EXPECT_EQ(DrawsSince(seeded), 15);
    EXPECT_EQ(Lines(), 8);
    // A walk tries them in slot order: the first whose chance and schedule hold plays.
    EventCase cave = At(place::Cave);
    cave.draws = {-20, -20, 20, kYes};
    Start(cave);
    story::ResetPlays();
    for (auto event : {EvMove152, EvMove153, EvMove154, EvMove155})
        if (event()) break;
    EXPECT_EQ(Played(), std::vector<std::string>{"EvMove154"});
}

// ---- the commissions and the wizard through the real walks and commands

TEST_F(RenetteLandTest, TheVolcanoFromTheCraterMeetingToTheDeadline) {
    test::EventResponders player(headless.Backend());
    Start(On(50, 15, place::Crater));
    ev->SetFlg(flag::IntroCrater, true);
    EXPECT_EQ(Arrive(38), std::vector<std::string>{"EvMove138"});
    EXPECT_EQ(Lines(), 24);
    EXPECT_TRUE(ev->TestFlg(flag::RenetteAtCrater));
    // The tremor, on day 110.
    SetGameDay(110);
    SetGameHour(12);
    EXPECT_EQ(Arrive(38), std::vector<std::string>{"EvMove112"});
    EXPECT_EQ(Lines(), 11);
    EXPECT_EQ(DayMarks[mark::VolcanoNotice], 110);
    // The notice read: with the stone, the commission on any of days 110..128; the
    // stone stays.
    for (int day = 110; day <= 128; ++day) {
        Start(With(On(day, 12, place::Crater),
                   {flag::IntroCrater, flag::RenetteAtCrater, flag::VolcanoTremor,
                    flag::VolcanoCommission},
                   {{mark::VolcanoNotice, 110}}, {{item::GlacierPebble, 1}}));
        const int money = GameMoney(), reputation = GameReputation();
        EXPECT_EQ(Arrive(38), std::vector<std::string>{"EvMove113"}) << day;
        EXPECT_EQ(Lines(), 14);
        EXPECT_EQ(GameMoney() - money, 10000);
        EXPECT_EQ(GameReputation() - reputation, 3);
        EXPECT_TRUE(ev->TestFlg(flag::VolcanoCommissionDone));
        EXPECT_EQ(ItemStock(item::GlacierPebble), 1);
        // Done: the crater is quiet after, and the deadline passes unmarked.
        EXPECT_EQ(Arrive(38), std::vector<std::string>{});
    }
    SetGameDay(129);
    RunDayStartEvents();
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 0);
    // Without the stone, the heat on any of days 110..128, again and again.
    for (int day = 110; day <= 128; ++day) {
        Start(With(On(day, 12, place::Crater),
                   {flag::IntroCrater, flag::RenetteAtCrater, flag::VolcanoTremor,
                    flag::VolcanoCommission},
                   {{mark::VolcanoNotice, 110}}, {{item::GlacierPebble, 0}}));
        EXPECT_EQ(Arrive(38), std::vector<std::string>{"EvMove114"}) << day;
        EXPECT_EQ(Lines(), 2);
        EXPECT_EQ(Arrive(38), std::vector<std::string>{"EvMove114"}) << day;
    }
    // Day 129: neither; the morning arms 蕾妮特's visit.
    Start(With(
        On(129, 12, place::Crater),
        {flag::IntroCrater, flag::RenetteAtCrater, flag::VolcanoTremor, flag::VolcanoCommission},
        {{mark::VolcanoNotice, 110}}, {{item::GlacierPebble, 1}}));
    EXPECT_EQ(Arrive(38), std::vector<std::string>{});
    SetGameHour(8);
    RunDayStartEvents();
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 129);
}

TEST_F(RenetteLandTest, ThePotionRaceFromTheLibraryToTheDelivery) {
    test::EventResponders player(headless.Backend());
    // A new game holds 4 葛棗 and 3 香油.
    EXPECT_EQ(ItemStock(item::Kiwiberry), 4);
    EXPECT_EQ(ItemStock(item::ScentedOil), 3);
    for (int day = 100; day <= 105; ++day) {
        SCOPED_TRACE(day);
        Start(With(On(day, 10, place::School),
                   {flag::IntroLibrary, flag::HotSpringFound, flag::LovePotionCommission},
                   {{mark::LovePotionNotice, 100}}, {{item::Kiwiberry, 4}, {item::ScentedOil, 3}}));
        SetGameLevel(9);  // the hot spring's two inspirations could play too
        // The library.
        story::ResetPlays();
        GameFlow->DoMoveCommand(command::kLibrary);
        EXPECT_EQ(Played(), std::vector<std::string>{"EvMove125"});
        EXPECT_EQ(Lines(), 13);
        EXPECT_TRUE(IsItemUnlocked(item::LovePotion));
        EXPECT_EQ(GameFlow->Place, place::Library);
        // The hot spring, before its inspirations and the bath.
        const int money = GameMoney();
        EXPECT_EQ(Arrive(42), std::vector<std::string>{"EvMove126"});
        EXPECT_EQ(Lines(), 50);
        EXPECT_EQ(GameHour(), 12);
        EXPECT_EQ(ItemStock(item::Kiwiberry), 3);
        EXPECT_EQ(ItemStock(item::ScentedOil), 2);
        EXPECT_EQ(GameMoney() - money, 300);
        EXPECT_EQ(GameFlow->Place, place::ShopInside);
        EXPECT_TRUE(ev->TestFlg(flag::LovePotionCommissionDone));
    }
    // Exactly one of the two materials: the reminder, and nothing changes.
    for (auto [kudzu, balm] : {std::pair{1, 0}, std::pair{0, 1}}) {
        Start(With(On(103, 14, place::HotSpring),
                   {flag::HotSpringFound, flag::LovePotionCommission, flag::LovePotionRecipe},
                   {{mark::LovePotionNotice, 100}},
                   {{item::Kiwiberry, kudzu}, {item::ScentedOil, balm}}));
        SetGameLevel(9);
        EXPECT_EQ(Arrive(42), std::vector<std::string>{"EvMove127"});
        EXPECT_EQ(Lines(), 1);
        EXPECT_EQ(ItemStock(item::Kiwiberry), kudzu);
        EXPECT_EQ(ItemStock(item::ScentedOil), balm);
    }
    // Both materials before the library: nothing of the race, the spring's own
    // inspiration instead.
    Start(With(On(103, 14, place::HotSpring), {flag::HotSpringFound, flag::LovePotionCommission},
               {{mark::LovePotionNotice, 100}}, {{item::Kiwiberry, 4}, {item::ScentedOil, 3}}));
    SetGameLevel(9);
    EXPECT_EQ(Arrive(42), std::vector<std::string>{"EvMove167"});
    EXPECT_EQ(ItemStock(item::Kiwiberry), 4);
    // Undelivered on day 107: the morning arms 蕾妮特's visit; delivered, it does not.
    Start(With(On(107, 8, place::ShopInside),
               {flag::HotSpringFound, flag::LovePotionCommission, flag::LovePotionRecipe},
               {{mark::LovePotionNotice, 100}}));
    RunDayStartEvents();
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 107);
    Start(With(On(107, 8, place::ShopInside),
               {flag::HotSpringFound, flag::LovePotionCommission, flag::LovePotionRecipe,
                flag::LovePotionCommissionDone},
               {{mark::LovePotionNotice, 100}}));
    RunDayStartEvents();
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 0);
}

TEST_F(RenetteLandTest, TheWizardsTwoTalksThroughHerHousesDoor) {
    test::EventResponders player(headless.Backend());
    // Day mark 2 armed and 蕾妮特 still at home: the tale, then outside an hour later.
    Start(With(On(200, 14, place::WizardHouse), {}, {{mark::PurificationDay, 190}}));
    story::ResetPlays();
    VisitWizardHouse(14);
    EXPECT_EQ(Played(), std::vector<std::string>{"EvMove129"});
    EXPECT_EQ(Speakers(), (Counts{{"大魔法師", 23}, {"緹菈", 9}}));
    EXPECT_TRUE(ev->TestFlg(flag::FathersTruthTold));
    EXPECT_EQ(GameHour(), 15);
    EXPECT_EQ(GameFlow->Place, place::WizardHouse);
    // Told once: the next knock finds nobody.
    story::ResetPlays();
    VisitWizardHouse(15);
    EXPECT_TRUE(Played().empty());
    EXPECT_EQ(GameFlow->Place, place::WizardHouse);
    // The night of the search: the advice, once, ending on the map with track 20.
    Start(With(On(240, 22, place::WizardHouse), {flag::NightSearch}));
    story::ResetPlays();
    VisitWizardHouse(22);
    EXPECT_EQ(Played(), std::vector<std::string>{"EvMove188"});
    EXPECT_TRUE(ev->TestFlg(flag::WizardAdvice));
    EXPECT_EQ(Music().back(), track::NightSearchMusic);
    EXPECT_EQ(GameFlow->Place, place::WizardHouse);
    EXPECT_EQ(GameHour(), 22);
}

// The save tests/scripts/renette_crater.txt loads (slot 2 of a copy of the game folder):
// the morning of day 50, the land's places already introduced, so that a walk from
// the shop to the crater arrives there at 15:00 and meets 蕾妮特.
TEST_F(RenetteLandTest, TheCraterScriptsSaveLoadsOnTheMorningOfDay50) {
    const std::string dir = test::ScratchDir("renette_crater");
    ui::SetProgramFolder(dir);
    Start(With(On(50, 8, place::ShopInside),
               {flag::IntroForest, flag::IntroForestSpring, flag::IntroWaterfall, flag::IntroCave,
                flag::IntroMountainPath, flag::IntroCrater, flag::IntroBigTree, flag::IntroLake,
                flag::IntroBeach}));
    ASSERT_TRUE(SaveGame(1));
    Start(On(0, 8, place::ShopInside));
    ASSERT_TRUE(LoadGame(1));
    EXPECT_EQ(GameDay(), 50);
    EXPECT_TRUE(ev->TestFlg(flag::IntroCrater));
    EXPECT_FALSE(ev->TestFlg(flag::RenetteAtCrater));
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
}

}  // namespace
