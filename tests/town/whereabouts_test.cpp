// Where the four recurring characters are: which schedule a character follows by flags,
// day and weekday, and each schedule's answer by hour and place, with its chance.
#include "town/Whereabouts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/Files.h"
#include "platform/Random.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/RuntimeDraws.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"

namespace {

using test::DrawsSince;
using test::RandStep;
using test::RollFrom;

// A seed whose draws roll `rolls` in turn (0 = any roll).
std::uint32_t SeedRolling(const std::vector<int>& rolls) {
    for (std::uint32_t seed = 1;; ++seed) {
        std::uint32_t s = seed;
        bool ok = true;
        for (int r : rolls) {
            ok = ok && (r == 0 || RollFrom(s) == r);
            s = RandStep(s);
        }
        if (ok) return seed;
    }
}

// Every flag the choice of a schedule reads.
constexpr int kScheduleFlags[] = {
    flag::FeleSceneToday, flag::FloraeCollapsed, flag::FloraeDied,       flag::RouteFlorae,
    flag::FeleMet,        flag::RingFound,       flag::RenetteAtBigTree, flag::RenetteCrisis,
    flag::RenetteSaved,   flag::EarthquakeDone,  flag::FeleLeft,         flag::LakeCurse,
    flag::LakeAfternoon,  flag::LakeTooLate,     flag::DawnWithCocotte};

constexpr int kAlways = 100;  // present without a draw
constexpr int kNever = 0;     // absent without a draw

struct Met {
    int kind = -1, hour = 0, place = 0;
};

struct Case {
    int kind, day, hour;
    std::vector<int> flags;
    int place;
    int expect;  // kAlways, kNever, or the percent of one draw
    Met met = {};
    int heroine = place::ShopInside;
};

class WhereaboutsTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
        InitGameState();
        GameFlow = new TEvControler();
        ev = EventServerDbg;
        GameFlow->Place = place::ShopInside;
        ClearNpcMet();
    }
    void TearDown() override {
        delete GameFlow;
        GameFlow = nullptr;
    }
    void Arrange(const Case& c) {
        for (int f : kScheduleFlags) ev->SetFlg(f, false);
        for (int f : c.flags) ev->SetFlg(f, true);
        ev->ConditionOverride = 0;
        SetGameDay(c.day);
        SetGameHour(c.hour);
        GameFlow->Place = c.heroine;
        ClearNpcMet();
        if (c.met.kind >= 0) NpcMet[c.met.kind] = NpcMeeting{c.met.hour, c.met.place};
    }
    // The answer with the next roll `roll`, and the draws it took.
    bool Ask(const Case& c, int roll, int& draws) {
        Arrange(c);
        const std::uint32_t seed = SeedRolling({roll});
        ui::Srand(seed);
        const bool here = NpcWhereabouts(c.kind, c.place);
        draws = DrawsSince(seed);
        return here;
    }
    void Check(const Case& c) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " day " << c.day << " hour "
                                        << c.hour << " place " << c.place);
        int draws = 0;
        if (c.expect == kAlways) {
            EXPECT_TRUE(Ask(c, 100, draws));
            EXPECT_EQ(draws, 0);
        } else if (c.expect == kNever) {
            EXPECT_FALSE(Ask(c, 1, draws));
            EXPECT_EQ(draws, 0);
        } else {
            EXPECT_TRUE(Ask(c, c.expect, draws)) << "a roll of " << c.expect << " passes";
            EXPECT_EQ(draws, 1);
            EXPECT_FALSE(Ask(c, c.expect + 1, draws)) << "a roll of " << c.expect + 1 << " fails";
            EXPECT_EQ(draws, 1);
        }
    }

    TEventServerDbg* ev = nullptr;
};

// Days: 50 a plain weekday (2), 49 weekday 1, 51 weekday 3, 53 the rest day (5), 48 the
// holiday, 30 (weekday 0), 25 (weekday 1) and 29 (the rest day) in the first festival
// window 24..47, 170 in the second 168..191.
TEST_F(WhereaboutsTest, KindZeroFollowsSchedulesZeroToThree) {
    const Met metAtLibrary{npc::Florae, 14, place::Library};
    const Case cases[] = {
        // Schedule 0: a weekday.
        {npc::Florae, 50, 14, {}, place::Library, 70, {}, place::Library},
        {npc::Florae,
         50,
         14,
         {},
         place::Park,
         70,
         {},
         place::Library},  // the heroine at the library is what counts in hour 14
        {npc::Florae, 50, 14, {}, place::Library, kNever, metAtLibrary, place::Library},
        {npc::Florae, 50, 14, {}, place::Library, kNever, {}, place::ShopInside},
        {npc::Florae, 50, 15, {}, place::School, 10},
        {npc::Florae, 50, 15, {}, place::Flowerbed, 70},
        {npc::Florae, 50, 15, {}, place::Library, 70},
        {npc::Florae, 50, 15, {}, place::Library, kNever, metAtLibrary},
        {npc::Florae, 50, 16, {}, place::Square, 30},
        {npc::Florae, 50, 17, {}, place::Bakery, 30},
        {npc::Florae, 50, 16, {}, place::Flowerbed, kAlways},
        {npc::Florae, 50, 18, {}, place::FloraeRoom, kAlways},
        {npc::Florae, 50, 18, {}, place::Flowerbed, kNever},
        {npc::Florae, 50, 10, {}, place::Flowerbed, kNever},
        {npc::Florae, 50, 13, {}, place::Library, kNever},
        // Schedule 1: the rest day.
        {npc::Florae, 53, 10, {}, place::Flowerbed, kAlways},
        {npc::Florae, 53, 11, {}, place::Flowerbed, kAlways},
        {npc::Florae, 53, 12, {}, place::Flowerbed, kAlways},
        {npc::Florae, 53, 12, {}, place::Flowerbed, kNever, {npc::Florae, 11, place::FloraeHouse}},
        {npc::Florae, 53, 12, {}, place::FloraeHouse, 10},
        {npc::Florae, 53, 13, {}, place::Library, 70},
        {npc::Florae, 53, 14, {}, place::Library, kNever, metAtLibrary},
        {npc::Florae, 53, 15, {}, place::Library, 70},
        {npc::Florae, 53, 15, {}, place::Flowerbed, kAlways},
        {npc::Florae, 53, 16, {}, place::ShopFront, 10},
        {npc::Florae, 53, 16, {}, place::Flowerbed, kAlways},
        {npc::Florae, 53, 17, {}, place::Square, 30},
        {npc::Florae, 53, 17, {}, place::Flowerbed, kAlways},
        {npc::Florae, 53, 18, {}, place::FloraeRoom, kAlways},
        {npc::Florae, 53, 9, {}, place::Flowerbed, kNever},
        {npc::Florae, 53, 15, {}, place::Park, kNever},
        // Schedule 2: the festival windows and day 48.
        {npc::Florae, 30, 10, {}, place::Flowerbed, kAlways},
        {npc::Florae, 30, 12, {}, place::Flowerbed, kAlways},
        {npc::Florae, 30, 13, {}, place::Library, 70},
        {npc::Florae, 30, 13, {}, place::Library, kNever, metAtLibrary},
        {npc::Florae, 30, 15, {}, place::Park, kAlways},
        {npc::Florae, 30, 15, {}, place::Flowerbed, kNever},
        {npc::Florae, 30, 16, {}, place::Park, kAlways},
        {npc::Florae, 30, 16, {}, place::Flowerbed, 30},
        {npc::Florae, 30, 17, {}, place::Bakery, 30},
        {npc::Florae, 30, 17, {}, place::Flowerbed, kAlways},
        {npc::Florae, 30, 18, {}, place::FloraeRoom, kAlways},
        {npc::Florae, 30, 19, {}, place::FloraeRoom, kNever},
        {npc::Florae, 24, 15, {}, place::Park, kAlways},
        {npc::Florae, 47, 15, {}, place::Park, kAlways},
        {npc::Florae, 170, 15, {}, place::Park, kAlways},
        {npc::Florae, 48, 15, {}, place::Park, kAlways},
        {npc::Florae, 29, 15, {}, place::Park, kAlways},  // the window wins over the rest day
        {npc::Florae, 49, 15, {}, place::Park, kNever},   // schedule 0 again
        // Schedule 3: FloraeCollapsed without RouteFlorae.
        {npc::Florae, 50, 10, {flag::FloraeCollapsed}, place::FloraeRoom, kAlways},
        {npc::Florae, 50, 18, {flag::FloraeCollapsed}, place::FloraeRoom, kAlways},
        {npc::Florae, 50, 9, {flag::FloraeCollapsed}, place::FloraeRoom, kNever},
        {npc::Florae, 50, 19, {flag::FloraeCollapsed}, place::FloraeRoom, kNever},
        {npc::Florae, 50, 16, {flag::FloraeCollapsed}, place::Flowerbed, kNever},
        {npc::Florae,
         50,
         10,
         {flag::FloraeCollapsed, flag::RouteFlorae},
         place::FloraeRoom,
         kNever},                                                              // schedule 0
        {npc::Florae, 30, 15, {flag::FloraeCollapsed}, place::Park, kAlways},  // the window comes
                                                                               // first
        // FloraeDied: nowhere, whatever the day.
        {npc::Florae, 50, 16, {flag::FloraeDied}, place::Flowerbed, kNever},
        {npc::Florae, 30, 10, {flag::FloraeDied}, place::Flowerbed, kNever},
        {npc::Florae, 50, 10, {flag::FloraeCollapsed, flag::FloraeDied}, place::FloraeRoom, kNever},
    };
    for (const Case& c : cases) Check(c);
}

TEST_F(WhereaboutsTest, KindOneFollowsSchedulesSevenToTwelve) {
    const Case cases[] = {
        // Schedule 7: a weekday (hour 15's own two tests below).
        {npc::Renette, 50, 15, {}, place::Park, kNever},  // in neither list, nor in hour 16's
        {npc::Renette, 50, 16, {}, place::RivalShop, 20},
        {npc::Renette, 50, 16, {}, place::BigTree, 20},
        {npc::Renette, 50, 16, {}, place::Beach, 20},
        {npc::Renette, 50, 16, {}, place::RivalShop, kNever, {npc::Renette, 15, place::BigTree}},
        {npc::Renette, 50, 17, {}, place::ShopFront, 20},
        {npc::Renette, 50, 17, {}, place::RivalShop, 20},
        {npc::Renette, 50, 17, {}, place::BigTree, kNever},
        {npc::Renette, 50, 14, {}, place::RivalShop, kNever},
        {npc::Renette, 50, 18, {}, place::RivalShop, kNever},
        // Schedule 8: the rest day.
        {npc::Renette, 53, 10, {}, place::Library, 10},
        {npc::Renette, 53, 11, {}, place::EventGround, 10},
        {npc::Renette, 53, 11, {}, place::Library, kNever},
        {npc::Renette, 53, 12, {}, place::BigTree, 30},
        {npc::Renette, 53, 13, {}, place::Forest, 10},
        {npc::Renette, 53, 14, {}, place::BigTree, 30},
        {npc::Renette, 53, 15, {}, place::BigTree, 10},
        {npc::Renette, 53, 17, {}, place::Beach, 10},
        {npc::Renette, 53, 18, {}, place::RivalShop, 10},
        {npc::Renette, 53, 19, {}, place::RivalShop, kNever},
        {npc::Renette, 29, 12, {}, place::BigTree, 30},  // the festival's rest day falls through to
                                                         // schedule 8
        // Schedule 9: festival, weekdays 0, 2, 4.
        {npc::Renette, 30, 10, {}, place::Library, 10},
        {npc::Renette, 30, 11, {}, place::EventGround, 10},
        {npc::Renette, 30, 11, {}, place::RivalShopInside, 70},
        {npc::Renette, 30, 12, {}, place::RivalShopInside, 70},
        {npc::Renette, 30, 13, {}, place::BigTree, 30},
        {npc::Renette, 30, 14, {}, place::ForestSpring, 10},
        {npc::Renette, 30, 14, {}, place::Forest, kNever},
        {npc::Renette, 30, 15, {}, place::BigTree, kNever},
        {npc::Renette, 30, 16, {}, place::Beach, 10},
        {npc::Renette, 30, 17, {}, place::BigTree, kNever},
        {npc::Renette, 30, 18, {}, place::RivalShop, 10},
        {npc::Renette, 170, 12, {}, place::RivalShopInside, 70},
        // Schedule 10: festival, weekdays 1 and 3.
        {npc::Renette, 25, 10, {}, place::Bakery, 10},
        {npc::Renette, 25, 11, {}, place::Library, 10},
        {npc::Renette, 25, 11, {}, place::RivalShopInside, 70},
        {npc::Renette, 27, 12, {}, place::RivalShopInside, 70},
        {npc::Renette, 25, 13, {}, place::Forest, 10},
        {npc::Renette, 25, 13, {}, place::BigTree, 30},
        {npc::Renette, 25, 14, {}, place::BigTree, kNever},
        {npc::Renette, 25, 15, {}, place::Forest, 10},
        {npc::Renette, 25, 16, {}, place::BigTree, kNever},
        {npc::Renette, 25, 17, {}, place::Beach, 10},
        {npc::Renette, 25, 18, {}, place::RivalShopInside, 10},
        // Schedule 11: RenetteAtBigTree without RenetteSaved, a working day.
        {npc::Renette, 50, 15, {flag::RenetteAtBigTree}, place::BigTree, 10},
        {npc::Renette, 50, 16, {flag::RenetteAtBigTree}, place::BigTree, 30},
        {npc::Renette, 50, 17, {flag::RenetteAtBigTree}, place::BigTree, 10},
        {npc::Renette, 50, 14, {flag::RenetteAtBigTree}, place::BigTree, kNever},
        {npc::Renette, 50, 16, {flag::RenetteAtBigTree}, place::Crater, kNever},
        {npc::Renette,
         50,
         16,
         {flag::RenetteAtBigTree},
         place::BigTree,
         kNever,
         {npc::Renette, 13, place::BigTree}},
        {npc::Renette, 30, 13, {flag::RenetteAtBigTree}, place::BigTree, 30},  // the festival comes
                                                                               // first: schedule 9
        {npc::Renette,
         50,
         16,
         {flag::RenetteAtBigTree, flag::RenetteSaved},
         place::BigTree,
         20},  // schedule 7
        {npc::Renette,
         50,
         16,
         {flag::RenetteAtBigTree, flag::RenetteCrisis},
         place::BigTree,
         kNever},  // away
        // Schedule 12: RenetteAtBigTree on the rest day or day 48.
        {npc::Renette, 53, 13, {flag::RenetteAtBigTree}, place::BigTree, 10},
        {npc::Renette, 53, 14, {flag::RenetteAtBigTree}, place::BigTree, 30},
        {npc::Renette, 53, 15, {flag::RenetteAtBigTree}, place::BigTree, 30},
        {npc::Renette, 53, 16, {flag::RenetteAtBigTree}, place::BigTree, 10},
        {npc::Renette, 53, 17, {flag::RenetteAtBigTree}, place::BigTree, kNever},
        {npc::Renette,
         53,
         14,
         {flag::RenetteAtBigTree},
         place::BigTree,
         kNever,
         {npc::Renette, 12, place::BigTree}},
        {npc::Renette, 48, 14, {flag::RenetteAtBigTree}, place::BigTree, 30},
        // Away.
        {npc::Renette, 50, 16, {flag::EarthquakeDone}, place::RivalShop, kNever},
        {npc::Renette, 50, 16, {flag::DawnWithCocotte}, place::RivalShop, kNever},
        {npc::Renette, 30, 13, {flag::DawnWithCocotte}, place::BigTree, kNever},
    };
    for (const Case& c : cases) Check(c);
}

TEST_F(WhereaboutsTest, KindTwoFollowsSchedulesFourToSix) {
    const Case cases[] = {
        // Schedule 4: RingFound clear, weekdays 1 and 3 (the spring from hour 10).
        {npc::Fele, 49, 10, {flag::FeleMet}, place::ForestSpring, kAlways},
        {npc::Fele, 51, 15, {flag::FeleMet}, place::ForestSpring, kAlways},
        {npc::Fele, 49, 12, {flag::FeleMet, flag::FeleSceneToday}, place::ForestSpring, kNever},
        {npc::Fele,
         49,
         12,
         {flag::FeleMet},
         place::ForestSpring,
         kNever,
         {npc::Fele, 11, place::ForestSpring}},
        {npc::Fele, 49, 16, {flag::FeleMet}, place::Square, 30},
        {npc::Fele, 49, 17, {flag::FeleMet}, place::Square, 30},
        {npc::Fele, 49, 18, {flag::FeleMet}, place::RivalShop, 10},
        {npc::Fele, 49, 18, {flag::FeleMet}, place::Bakery, 10},
        {npc::Fele, 49, 9, {flag::FeleMet}, place::ForestSpring, kNever},
        {npc::Fele, 49, 16, {flag::FeleMet}, place::ForestSpring, kNever},
        {npc::Fele, 49, 0, {flag::FeleMet}, place::ForestSpring, kNever},
        // Schedule 5: other working days, or RingFound.
        {npc::Fele, 50, 10, {flag::FeleMet}, place::BigTree, 10},
        {npc::Fele, 50, 10, {flag::FeleMet}, place::Beach, 10},
        {npc::Fele, 50, 11, {flag::FeleMet}, place::Lake, 30},
        {npc::Fele, 50, 12, {flag::FeleMet}, place::Park, 10},
        {npc::Fele, 50, 12, {flag::FeleMet}, place::School, 10},
        {npc::Fele, 50, 12, {flag::FeleMet}, place::Square, kNever},
        {npc::Fele, 50, 13, {flag::FeleMet}, place::Square, 10},
        {npc::Fele, 50, 13, {flag::FeleMet}, place::BigTree, 10},
        {npc::Fele, 50, 13, {flag::FeleMet}, place::Waterfall, kNever},
        {npc::Fele, 50, 14, {flag::FeleMet}, place::Square, kNever},
        {npc::Fele, 50, 16, {flag::FeleMet}, place::Square, 30},
        {npc::Fele, 50, 18, {flag::FeleMet}, place::RivalShop, 10},
        {npc::Fele, 50, 18, {flag::FeleMet}, place::Bakery, 10},
        {npc::Fele, 49, 10, {flag::FeleMet, flag::RingFound}, place::ForestSpring, kNever},
        {npc::Fele, 49, 10, {flag::FeleMet, flag::RingFound}, place::BigTree, 10},
        // Schedule 6: the rest day.
        {npc::Fele, 53, 10, {flag::FeleMet}, place::BigTree, 10},
        {npc::Fele, 53, 11, {flag::FeleMet}, place::Beach, 30},
        {npc::Fele, 53, 12, {flag::FeleMet}, place::Square, 10},
        {npc::Fele, 53, 12, {flag::FeleMet}, place::School, 10},
        {npc::Fele, 53, 13, {flag::FeleMet}, place::Waterfall, 10},
        {npc::Fele, 53, 14, {flag::FeleMet}, place::Waterfall, 30},
        {npc::Fele, 53, 15, {flag::FeleMet}, place::Park, 10},
        {npc::Fele, 53, 15, {flag::FeleMet}, place::BigTree, 10},
        {npc::Fele, 53, 16, {flag::FeleMet}, place::Square, 10},
        {npc::Fele, 53, 17, {flag::FeleMet}, place::Square, 10},
        {npc::Fele, 53, 18, {flag::FeleMet}, place::RivalShop, 10},
        // Away.
        {npc::Fele, 50, 10, {}, place::BigTree, kNever},
        {npc::Fele, 50, 10, {flag::FeleMet, flag::LakeCurse}, place::BigTree, kNever},
        {npc::Fele,
         50,
         10,
         {flag::FeleMet, flag::LakeCurse, flag::LakeAfternoon},
         place::BigTree,
         10},
        {npc::Fele,
         50,
         10,
         {flag::FeleMet, flag::LakeCurse, flag::LakeTooLate},
         place::BigTree,
         10},
        {npc::Fele, 50, 10, {flag::FeleMet, flag::FeleLeft}, place::BigTree, kNever},
    };
    for (const Case& c : cases) Check(c);
}

TEST_F(WhereaboutsTest, KindThreeFollowsSchedulesThirteenToFifteen) {
    const Case cases[] = {
        // Schedule 13: a working day outside the windows.
        {npc::Cocotte, 50, 14, {}, place::School, 10},
        {npc::Cocotte, 50, 15, {}, place::RivalShop, 10},
        {npc::Cocotte, 50, 15, {}, place::Square, 30},
        {npc::Cocotte, 50, 15, {}, place::RivalShopInside, kAlways},
        {npc::Cocotte, 50, 16, {}, place::Square, 10},
        {npc::Cocotte, 50, 16, {}, place::RivalShopInside, kAlways},
        {npc::Cocotte, 50, 17, {}, place::RivalShopInside, kAlways},
        {npc::Cocotte, 50, 18, {}, place::RivalShopInside, kAlways},
        {npc::Cocotte, 50, 14, {}, place::RivalShopInside, kNever},
        {npc::Cocotte, 50, 19, {}, place::RivalShopInside, kNever},
        // Schedule 14: the rest day, day 48, the festival's rest day.
        {npc::Cocotte, 53, 11, {}, place::RivalShopInside, 10},
        {npc::Cocotte, 53, 12, {}, place::RivalShopInside, 10},
        {npc::Cocotte, 53, 12, {}, place::RivalShop, 50},
        {npc::Cocotte, 53, 13, {}, place::Park, 10},
        {npc::Cocotte, 53, 13, {}, place::RivalShopInside, 30},
        {npc::Cocotte, 53, 14, {}, place::Park, 30},
        {npc::Cocotte, 53, 15, {}, place::EventGround, 10},
        {npc::Cocotte, 53, 14, {}, place::RivalShopInside, kNever},
        {npc::Cocotte, 53, 16, {}, place::Bakery, 10},
        {npc::Cocotte, 53, 16, {}, place::Park, kNever},
        {npc::Cocotte, 53, 17, {}, place::ShopFront, 10},
        {npc::Cocotte, 53, 18, {}, place::RivalShop, 10},
        {npc::Cocotte, 53, 10, {}, place::RivalShopInside, kNever},
        {npc::Cocotte, 48, 12, {}, place::RivalShop, 50},
        {npc::Cocotte, 29, 12, {}, place::RivalShop, 50},
        // Schedule 15: a working day in a window.
        {npc::Cocotte, 30, 11, {}, place::RivalShop, 10},
        {npc::Cocotte, 30, 11, {}, place::RivalShopInside, kAlways},
        {npc::Cocotte, 30, 12, {}, place::RivalShopInside, kAlways},
        {npc::Cocotte, 30, 13, {}, place::Square, 30},
        {npc::Cocotte, 30, 13, {}, place::RivalShopInside, kAlways},
        {npc::Cocotte, 30, 14, {}, place::Square, 10},
        {npc::Cocotte, 170, 15, {}, place::RivalShopInside, kAlways},
        {npc::Cocotte, 30, 18, {}, place::RivalShopInside, kAlways},
        {npc::Cocotte, 30, 10, {}, place::RivalShopInside, kNever},
        {npc::Cocotte, 30, 12, {}, place::RivalShop, kNever},
        // No such character.
        {4, 50, 15, {}, place::RivalShopInside, kNever},
        {-1, 50, 15, {}, place::RivalShopInside, kNever},
    };
    for (const Case& c : cases) Check(c);
}

// Hour 15 of schedule 7: a failed draw goes on to hour 16's rule in the same call.
TEST_F(WhereaboutsTest, ScheduleSevenTriesHourSixteensRuleAfterAFailedDraw) {
    struct Twice {
        int place;
        std::vector<int> rolls;
        bool here;
        int draws;
        Met met = {};
    };
    const Twice cases[] = {
        {place::RivalShop, {20}, true, 1},
        {place::RivalShop, {21, 20}, true, 2},
        {place::RivalShop, {21, 21}, false, 2},
        {place::BigTree, {60}, true, 1},
        {place::BigTree, {61, 20}, true, 2},
        {place::BigTree, {61, 21}, false, 2},
        {place::Waterfall, {21, 20}, true, 2},
        {place::RivalShop,
         {21, 1},
         false,
         1,
         {npc::Renette, 15, place::RivalShop}},  // met in hour 15: hour 16's rule is absent
    };
    for (const Twice& t : cases) {
        SCOPED_TRACE(testing::Message() << "place " << t.place << " first roll " << t.rolls[0]);
        Arrange(Case{npc::Renette, 50, 15, {}, t.place, 0, t.met});
        const std::uint32_t seed = SeedRolling(t.rolls);
        ui::Srand(seed);
        EXPECT_EQ(NpcWhereabouts(npc::Renette, t.place), t.here);
        EXPECT_EQ(DrawsSince(seed), t.draws);
    }
}

// Hour 14 of schedule 9 at the spring: a second draw of 30 only when the first fails.
TEST_F(WhereaboutsTest, ScheduleNineGivesTheSpringASecondChance) {
    struct Twice {
        std::vector<int> rolls;
        bool here;
        int draws;
    };
    const Twice cases[] = {
        {{10}, true, 1},
        {{11, 30}, true, 2},
        {{11, 31}, false, 2},
    };
    for (const Twice& t : cases) {
        Arrange(Case{npc::Renette, 30, 14, {}, place::BigTree, 0});
        const std::uint32_t seed = SeedRolling(t.rolls);
        ui::Srand(seed);
        EXPECT_EQ(NpcWhereabouts(npc::Renette, place::BigTree), t.here);
        EXPECT_EQ(DrawsSince(seed), t.draws);
    }
}

TEST_F(WhereaboutsTest, TheVariantNamesTheChosenSchedule) {
    struct Choice {
        int kind, day;
        std::vector<int> flags;
        int variant;
    };
    const Choice cases[] = {
        {npc::Florae, 50, {}, 0},
        {npc::Florae, 53, {}, 2},
        {npc::Florae, 30, {}, 1},
        {npc::Florae, 48, {}, 1},
        {npc::Florae, 50, {flag::FloraeCollapsed}, -1},
        {npc::Florae, 50, {flag::FloraeDied}, -1},
        {npc::Renette, 50, {}, 0},
        {npc::Renette, 53, {}, 2},
        {npc::Renette, 30, {}, 1},
        {npc::Renette, 25, {}, 3},
        {npc::Renette, 50, {flag::RenetteAtBigTree}, 4},
        {npc::Renette, 48, {flag::RenetteAtBigTree}, 5},
        {npc::Fele, 49, {flag::FeleMet}, 0},
        {npc::Fele, 50, {flag::FeleMet}, 4},
        {npc::Fele, 53, {flag::FeleMet}, 2},
        {npc::Cocotte, 50, {}, 0},
        {npc::Cocotte, 30, {}, 1},
        {npc::Cocotte, 53, {}, 2},
        {npc::Cocotte, 48, {}, 2},
    };
    for (const Choice& c : cases) {
        Arrange(Case{c.kind, c.day, 12, c.flags, place::ShopFront, 0});
        ev->m_ScheduleVariant = 99;
        NpcWhereabouts(c.kind, place::ShopFront);
        EXPECT_EQ(ev->m_ScheduleVariant, c.variant) << "kind " << c.kind << " day " << c.day;
    }
}

// FloraeDied: no schedule is asked, so the walker's pending mark stays as it was.
TEST_F(WhereaboutsTest, AnAbsentCharacterLeavesThePendingMarkAlone) {
    for (std::uint8_t pending : {0, 1}) {
        Arrange(Case{npc::Florae, 50, 16, {flag::FloraeDied}, place::Flowerbed, 0});
        NpcMetPending = pending;
        EXPECT_FALSE(NpcWhereabouts(npc::Florae, place::Flowerbed));
        EXPECT_EQ(NpcMetPending, pending);
        EXPECT_EQ(NpcLastKind, -1);
    }
    // A schedule's answer, either way, becomes the mark.
    Arrange(Case{npc::Florae, 50, 16, {}, place::Flowerbed, 0});
    NpcMetPending = 0;
    EXPECT_TRUE(NpcWhereabouts(npc::Florae, place::Flowerbed));
    EXPECT_EQ(NpcMetPending, 1);
    EXPECT_FALSE(NpcWhereabouts(npc::Florae, place::FloraeRoom));
    EXPECT_EQ(NpcMetPending, 0);
}

// Day 48 is a holiday for every character, on any weekday the calendar gives it.
TEST_F(WhereaboutsTest, DayFortyEightsSchedules) {
    int draws = 0;
    EXPECT_TRUE(Ask(Case{npc::Florae, 48, 10, {}, place::Flowerbed, 0}, 100, draws));
    EXPECT_EQ(ev->m_ScheduleVariant, 1);
    EXPECT_TRUE(Ask(Case{npc::Cocotte, 48, 12, {}, place::RivalShop, 0}, 50, draws));
    EXPECT_EQ(ev->m_ScheduleVariant, 2);
    EXPECT_FALSE(Ask(Case{npc::Cocotte, 48, 15, {}, place::RivalShopInside, 0}, 1, draws))
        << "not schedule 13's hour 15";
    EXPECT_FALSE(
        Ask(Case{npc::Renette, 48, 16, {flag::RenetteAtBigTree}, place::BigTree, 0}, 11, draws))
        << "schedule 12's hour 16: 10";
    EXPECT_TRUE(
        Ask(Case{npc::Renette, 48, 16, {flag::RenetteAtBigTree}, place::BigTree, 0}, 10, draws));
}

// The meeting an event marks holds for the rest of the day, and the day change forgets it.
TEST_F(WhereaboutsTest, AMeetingIsRememberedUntilTheDayChanges) {
    const Case at17{npc::Florae, 50, 14, {}, place::Library, 0, {}, place::Library};
    Arrange(at17);
    ui::Srand(SeedRolling({70}));
    ASSERT_TRUE(ev->ChkNpc(npc::Florae, place::Library));
    ev->EventBegin();  // marks the meeting
    ev->EventEnd();
    EXPECT_EQ(NpcMet[0].Hour, 14);
    EXPECT_EQ(NpcMet[0].Place, 17);
    const std::uint32_t seed = SeedRolling({1});
    ui::Srand(seed);
    EXPECT_FALSE(ev->ChkNpc(npc::Florae, place::Library)) << "asked again in the hour";
    EXPECT_EQ(DrawsSince(seed), 0);
    SetGameHour(15);
    EXPECT_FALSE(ev->ChkNpc(npc::Florae, place::Library)) << "nor later that day at the same place";
    SetGameDay(51);
    ev->DayChange();
    EXPECT_EQ(NpcMet[0].Hour, 0);
    EXPECT_EQ(NpcMet[0].Place, 0);
    SetGameHour(14);
    ui::Srand(SeedRolling({70}));
    EXPECT_TRUE(ev->ChkNpc(npc::Florae, place::Library)) << "a new day";
}

TEST_F(WhereaboutsTest, MarkingRemembersOnlyAKnownCharacter) {
    Arrange(Case{npc::Florae, 50, 16, {}, place::Flowerbed, 0});
    NpcLastKind = -1;
    MarkNpcMet();
    NpcLastKind = -3;
    MarkNpcMet();
    NpcLastKind = 4;
    MarkNpcMet();
    for (const NpcMeeting& m : NpcMet) {
        EXPECT_EQ(m.Hour, 0);
        EXPECT_EQ(m.Place, 0);
    }
    ASSERT_TRUE(NpcWhereabouts(npc::Florae, place::Flowerbed));
    MarkNpcMet();
    EXPECT_EQ(NpcMet[0].Hour, 16);
    EXPECT_EQ(NpcMet[0].Place, 19);
    // An answer of "not here" forgets who was found last.
    EXPECT_FALSE(NpcWhereabouts(npc::Florae, place::FloraeRoom));
    NpcMet[0] = NpcMeeting{};
    MarkNpcMet();
    EXPECT_EQ(NpcMet[0].Place, 0);
}

TEST_F(WhereaboutsTest, TheOverrideFindsEveryoneEverywhere) {
    Arrange(Case{npc::Florae, 50, 3, {flag::FloraeDied}, place::ShopFront, 0});
    ev->ConditionOverride = 1;
    const std::uint32_t seed = 9;
    ui::Srand(seed);
    EXPECT_TRUE(ev->ChkNpc(0, 99));
    EXPECT_TRUE(ev->ChkNpc(npc::Fele, place::ShopFront));
    EXPECT_EQ(DrawsSince(seed), 0);
    ev->ConditionOverride = 0;
}

}  // namespace
