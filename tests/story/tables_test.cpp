// The look, peddle, search, turn-start and move tables: every slot holds the event the
// slot map gives it, a walk draws its random numbers only where a chain reaches a
// chance or a character's schedule, and the chains of the events still to be written
// record their names when they hold.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "story/EventTables.h"
#include "story/Events.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/RuntimeDraws.h"
#include "tests/support/StoryFixture.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"
#include "town/Whereabouts.h"

namespace {

// ---- the slot map

std::map<std::string, EventProc> EventsByName() {
    std::map<std::string, EventProc> out;
#define LUMIA_NAME_EVENT(name) out[#name] = &name;
    LUMIA_LOOK_EVENTS(LUMIA_NAME_EVENT)
    LUMIA_PEDDLE_EVENTS(LUMIA_NAME_EVENT)
    LUMIA_SEARCH_EVENTS(LUMIA_NAME_EVENT)
    LUMIA_TURN_START_EVENTS(LUMIA_NAME_EVENT)
    LUMIA_MOVE_EVENTS(LUMIA_NAME_EVENT)
#undef LUMIA_NAME_EVENT
    return out;
}

std::string EventName(const char* prefix, int n) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03d", n);
    return prefix + std::string(digits);
}

// The event the slot map puts in move slot s: the second and third entries of the
// place introductions and the second entry of the ghost night repeat earlier events.
int MoveEventOf(int s) {
    if (s == 58 || s == 77) return 57;
    if (s >= 78 && s <= 95) return s - 19;
    if (s == 128) return 124;
    return s;
}

TEST(EventTables, EverySlotHoldsTheEventOfItsNumber) {
    struct Table {
        const EventTable* table;
        const char* prefix;
        int slots;
        int (*eventOf)(int slot);
    };
    const Table tables[] = {
        {&LookEvents, "EvLook", 29, [](int s) { return s == 11 ? 10 : s; }},
        {&PeddleEvents, "EvPeddle", 10, [](int s) { return s; }},
        {&SearchEvents, "EvSearch", 4, [](int s) { return s; }},
        {&TurnStartEvents, "EvTurnStart", 30, [](int s) { return s; }},
        {&MoveEvents, "EvMove", 192, MoveEventOf},
    };
    const std::map<std::string, EventProc> named = EventsByName();
    std::set<EventProc> placed;
    for (const Table& t : tables) {
        for (int s = 0; s < t.slots; ++s) {
            const std::string name = EventName(t.prefix, t.eventOf(s));
            ASSERT_EQ(named.count(name), 1u) << name;
            EXPECT_EQ((*t.table)[s], named.at(name)) << t.prefix << " slot " << s;
            placed.insert((*t.table)[s]);
        }
        EXPECT_EQ((*t.table)[t.slots], nullptr) << t.prefix << ": the walk ends there";
    }
    EXPECT_EQ(placed.size(), named.size());  // every event named stands in a slot
    EXPECT_EQ(named.size(), 28u + 10u + 4u + 30u + 171u);
}

// ---- draws

using test::DrawsSince;
using test::SeedFor;

class TablesTest : public test::StoryTest {
protected:
    // The move walk as RunMoveEvents makes it, slot by slot: the slots that drew, each
    // with its count of draws.
    std::vector<std::pair<int, int>> MoveDraws() {
        std::vector<std::pair<int, int>> out;
        for (int slot = 0; slot < kEventTableSlots && MoveEvents[slot]; ++slot) {
            NpcMetPending = 0;
            const std::uint32_t before = ui::RandState();
            const bool ran = MoveEvents[slot]();
            const int draws = DrawsSince(before);
            if (draws != 0) out.emplace_back(slot, draws);
            if (ran) break;
        }
        return out;
    }
    // One event tried on its own: its result and the draws it took.
    std::pair<bool, int> Try(EventProc event) {
        transcript->Clear();
        const std::uint32_t before = ui::RandState();
        const bool ran = event();
        return {ran, DrawsSince(before)};
    }
    std::vector<std::string> Records() { return transcript->Texts("event"); }
};

// A fresh game on day 2 at 10:00, level 1, in the forest it has already introduced:
// no event holds, and only the chance of each chat is drawn, once per slot that has
// one first; the characters' schedules draw nothing at that hour. Whatever the rolls
// give, the same slots draw: a chain testing its chance later, or a character before
// it, shows here as a slot out of place.
TEST_F(TablesTest, AFreshForestWalkDrawsTheChatsChancesAndNothingElse) {
    Stage({.day = 2, .hour = 10, .place = place::Forest, .level = 1, .flags = {flag::IntroForest}});
    const std::vector<std::pair<int, int>> chances = {
        {131, 1}, {132, 1}, {133, 1}, {152, 1}, {153, 1}, {154, 1}, {155, 1},
        {156, 1}, {157, 1}, {164, 1}, {165, 1}, {166, 1}, {190, 1}, {191, 1}};
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        ui::Srand(seed);
        EXPECT_EQ(MoveDraws(), chances) << "seed " << seed;
    }
    // The real walk: nothing runs, and after srand(1) the fifteenth number comes next.
    ui::Srand(1);
    EXPECT_FALSE(RunMoveEvents());
    EXPECT_EQ(ui::Rand(), 18492);
    EXPECT_TRUE(Records().empty());
}

// 可可特 met in town: her chance first, then each town place in the order 0, 1, 3, 4,
// 5, 6, her schedule asked afresh at each; a yes at a place where the heroine is not
// goes on to the next place.
TEST_F(TablesTest, CocotteInTownTriesHerPlacesInOrder) {
    Start(5, 13, place::Bakery);  // the rest day at 13:00: a draw of 10 per cent at each town place
    struct Case {
        std::vector<int> outcomes;
        bool holds;
        int draws;
    };
    const Case cases[] = {
        {{-40}, false, 1},                              // the chance fails: nothing more is drawn
        {{40, -10, -10, -10, 10}, true, 5},             // found at the bakery, where she is
        {{40, 10, -10, -10, -10, -10, -10}, false, 7},  // found at 0, the heroine at 4
    };
    test::EventResponders player(headless.Backend());
    for (const Case& c : cases) {
        ui::Srand(SeedFor(c.outcomes));
        EXPECT_EQ(Try(EvMove131), std::make_pair(c.holds, c.draws));
    }
    ev->SetFlg(flag::RouteCocotte, true);  // her route taken: the last test fails
    ui::Srand(SeedFor({40, -10, -10, -10, 10}));
    EXPECT_EQ(Try(EvMove131), std::make_pair(false, 5));
    ui::Srand(SeedFor({40, -10, -10, -10, 10}));
    EXPECT_EQ(Try(EvMove190), std::make_pair(true, 5));  // her route's chat
}

// 斐爾 met on the land map: the big tree, the spring, the beach, then the lake. On a
// working day at 10:00 his schedule draws for the tree, the beach and the lake only.
TEST_F(TablesTest, FeleOnLandTriesHisPlacesInOrder) {
    test::EventResponders player(headless.Backend());  // the meetings play once found
    Start(6, 10, place::Lake, {flag::FeleMet});
    ui::Srand(SeedFor({40, -10, -10, 10}));
    EXPECT_EQ(Try(EvMove164), std::make_pair(true, 4));
    GameFlow->Place = place::BigTree;
    ClearNpcMet();
    ui::Srand(SeedFor({20, 10}));
    EXPECT_EQ(Try(EvMove166), std::make_pair(true, 2));
    ev->SetFlg(flag::FeleMet, false);  // not met yet: he is nowhere, and nothing is drawn
    ui::Srand(SeedFor({20}));
    EXPECT_EQ(Try(EvMove166), std::make_pair(false, 1));
    EXPECT_TRUE(Records().empty());
}

// Chains whose chance or character comes after other tests draw only when those hold,
// and a character asked before the place draws wherever the heroine stands.
TEST_F(TablesTest, ChainsDrawOnlyWhereTheyReachAChanceOrACharacter) {
    // The bath once an ending is seen: the endings, the hour and the place come first.
    Start(8, 20, place::ShopInside);
    ui::Srand(SeedFor({30}));
    EXPECT_EQ(Try(EvTurnStart027), std::make_pair(false, 0));
    ev->SetFlg(flag::EndingRenetteSeen, true);
    {
        test::EventResponders player(headless.Backend());
        EXPECT_EQ(Try(EvTurnStart027), std::make_pair(true, 1));
    }
    ev->SetFlg(flag::BathAfterEnding, false);
    SetGameHour(22);
    EXPECT_EQ(Try(EvTurnStart027), std::make_pair(false, 0));

    // The ghost night asks 芙蘿蕾's schedule before the place: at 15:00 of a working
    // day it draws even with the heroine in the forest (and in the library, where a
    // failed draw ends it), and once the earlier flag tests fail it draws nothing.
    Start(140, 15, place::Forest);
    ev->SetFlg(flag::LibraryMeeting4, true);
    EXPECT_EQ(Try(EvMove124).second, 1);
    EXPECT_TRUE(Records().empty());
    GameFlow->Place = place::Library;
    ui::Srand(SeedFor({-70}));
    EXPECT_EQ(Try(EvMove124), std::make_pair(false, 1));
    EXPECT_TRUE(Records().empty());
    ev->SetFlg(flag::LibraryMeeting4, false);
    EXPECT_EQ(Try(EvMove124), std::make_pair(false, 0));

    // The schedule variant is read from the server, so the override leaves it as the
    // last real answer: the ghost night needs her ordinary working-day schedule.
    ev->ConditionOverride = 1;
    ev->m_ScheduleVariant = 1;
    EXPECT_EQ(Try(EvMove124), std::make_pair(false, 0));
    EXPECT_TRUE(Records().empty());
    ev->ConditionOverride = 0;
    // With variant 0 the night itself plays (tests/story/ghostnight_test.cpp).
}

}  // namespace
