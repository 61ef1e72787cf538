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
constexpr int kScheduleFlags[] = {173, 391, 395, 403, 412, 416, 425, 426,
                                  437, 485, 491, 511, 512, 513, 537};

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
    int heroine = 10;
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
    const Met metAt17{0, 14, 17};
    const Case cases[] = {
        // Schedule 0: a weekday.
        {0, 50, 14, {}, 17, 70, {}, 17},
        {0, 50, 14, {}, 5, 70, {}, 17},  // the heroine at 17 is what counts in hour 14
        {0, 50, 14, {}, 17, kNever, metAt17, 17},
        {0, 50, 14, {}, 17, kNever, {}, 10},
        {0, 50, 15, {}, 7, 10},
        {0, 50, 15, {}, 19, 70},
        {0, 50, 15, {}, 17, 70},
        {0, 50, 15, {}, 17, kNever, metAt17},
        {0, 50, 16, {}, 3, 30},
        {0, 50, 17, {}, 4, 30},
        {0, 50, 16, {}, 19, kAlways},
        {0, 50, 18, {}, 12, kAlways},
        {0, 50, 18, {}, 19, kNever},
        {0, 50, 10, {}, 19, kNever},
        {0, 50, 13, {}, 17, kNever},
        // Schedule 1: the rest day.
        {0, 53, 10, {}, 19, kAlways},
        {0, 53, 11, {}, 19, kAlways},
        {0, 53, 12, {}, 19, kAlways},
        {0, 53, 12, {}, 19, kNever, {0, 11, 1}},
        {0, 53, 12, {}, 1, 10},
        {0, 53, 13, {}, 17, 70},
        {0, 53, 14, {}, 17, kNever, metAt17},
        {0, 53, 15, {}, 17, 70},
        {0, 53, 15, {}, 19, kAlways},
        {0, 53, 16, {}, 0, 10},
        {0, 53, 16, {}, 19, kAlways},
        {0, 53, 17, {}, 3, 30},
        {0, 53, 17, {}, 19, kAlways},
        {0, 53, 18, {}, 12, kAlways},
        {0, 53, 9, {}, 19, kNever},
        {0, 53, 15, {}, 5, kNever},
        // Schedule 2: the festival windows and day 48.
        {0, 30, 10, {}, 19, kAlways},
        {0, 30, 12, {}, 19, kAlways},
        {0, 30, 13, {}, 17, 70},
        {0, 30, 13, {}, 17, kNever, metAt17},
        {0, 30, 15, {}, 5, kAlways},
        {0, 30, 15, {}, 19, kNever},
        {0, 30, 16, {}, 5, kAlways},
        {0, 30, 16, {}, 19, 30},
        {0, 30, 17, {}, 4, 30},
        {0, 30, 17, {}, 19, kAlways},
        {0, 30, 18, {}, 12, kAlways},
        {0, 30, 19, {}, 12, kNever},
        {0, 24, 15, {}, 5, kAlways},
        {0, 47, 15, {}, 5, kAlways},
        {0, 170, 15, {}, 5, kAlways},
        {0, 48, 15, {}, 5, kAlways},
        {0, 29, 15, {}, 5, kAlways},  // the window wins over the rest day
        {0, 49, 15, {}, 5, kNever},   // schedule 0 again
        // Schedule 3: flag 391 without 403.
        {0, 50, 10, {391}, 12, kAlways},
        {0, 50, 18, {391}, 12, kAlways},
        {0, 50, 9, {391}, 12, kNever},
        {0, 50, 19, {391}, 12, kNever},
        {0, 50, 16, {391}, 19, kNever},
        {0, 50, 10, {391, 403}, 12, kNever},  // schedule 0
        {0, 30, 15, {391}, 5, kAlways},       // the window comes first
        // Flag 395: nowhere, whatever the day.
        {0, 50, 16, {395}, 19, kNever},
        {0, 30, 10, {395}, 19, kNever},
        {0, 50, 10, {391, 395}, 12, kNever},
    };
    for (const Case& c : cases) Check(c);
}

TEST_F(WhereaboutsTest, KindOneFollowsSchedulesSevenToTwelve) {
    const Case cases[] = {
        // Schedule 7: a weekday (hour 15's own two tests below).
        {1, 50, 15, {}, 5, kNever},  // in neither list, nor in hour 16's
        {1, 50, 16, {}, 2, 20},
        {1, 50, 16, {}, 39, 20},
        {1, 50, 16, {}, 41, 20},
        {1, 50, 16, {}, 2, kNever, {1, 15, 39}},
        {1, 50, 17, {}, 0, 20},
        {1, 50, 17, {}, 2, 20},
        {1, 50, 17, {}, 39, kNever},
        {1, 50, 14, {}, 2, kNever},
        {1, 50, 18, {}, 2, kNever},
        // Schedule 8: the rest day.
        {1, 53, 10, {}, 17, 10},
        {1, 53, 11, {}, 6, 10},
        {1, 53, 11, {}, 17, kNever},
        {1, 53, 12, {}, 39, 30},
        {1, 53, 13, {}, 33, 10},
        {1, 53, 14, {}, 39, 30},
        {1, 53, 15, {}, 39, 10},
        {1, 53, 17, {}, 41, 10},
        {1, 53, 18, {}, 2, 10},
        {1, 53, 19, {}, 2, kNever},
        {1, 29, 12, {}, 39, 30},  // the festival's rest day falls through to schedule 8
        // Schedule 9: festival, weekdays 0, 2, 4.
        {1, 30, 10, {}, 17, 10},
        {1, 30, 11, {}, 6, 10},
        {1, 30, 11, {}, 13, 70},
        {1, 30, 12, {}, 13, 70},
        {1, 30, 13, {}, 39, 30},
        {1, 30, 14, {}, 34, 10},
        {1, 30, 14, {}, 33, kNever},
        {1, 30, 15, {}, 39, kNever},
        {1, 30, 16, {}, 41, 10},
        {1, 30, 17, {}, 39, kNever},
        {1, 30, 18, {}, 2, 10},
        {1, 170, 12, {}, 13, 70},
        // Schedule 10: festival, weekdays 1 and 3.
        {1, 25, 10, {}, 4, 10},
        {1, 25, 11, {}, 17, 10},
        {1, 25, 11, {}, 13, 70},
        {1, 27, 12, {}, 13, 70},
        {1, 25, 13, {}, 33, 10},
        {1, 25, 13, {}, 39, 30},
        {1, 25, 14, {}, 39, kNever},
        {1, 25, 15, {}, 33, 10},
        {1, 25, 16, {}, 39, kNever},
        {1, 25, 17, {}, 41, 10},
        {1, 25, 18, {}, 13, 10},
        // Schedule 11: flag 425 without 437, a working day.
        {1, 50, 15, {425}, 39, 10},
        {1, 50, 16, {425}, 39, 30},
        {1, 50, 17, {425}, 39, 10},
        {1, 50, 14, {425}, 39, kNever},
        {1, 50, 16, {425}, 38, kNever},
        {1, 50, 16, {425}, 39, kNever, {1, 13, 39}},
        {1, 30, 13, {425}, 39, 30},           // the festival comes first: schedule 9
        {1, 50, 16, {425, 437}, 39, 20},      // schedule 7
        {1, 50, 16, {425, 426}, 39, kNever},  // away
        // Schedule 12: flag 425 on the rest day or day 48.
        {1, 53, 13, {425}, 39, 10},
        {1, 53, 14, {425}, 39, 30},
        {1, 53, 15, {425}, 39, 30},
        {1, 53, 16, {425}, 39, 10},
        {1, 53, 17, {425}, 39, kNever},
        {1, 53, 14, {425}, 39, kNever, {1, 12, 39}},
        {1, 48, 14, {425}, 39, 30},
        // Away.
        {1, 50, 16, {485}, 2, kNever},
        {1, 50, 16, {537}, 2, kNever},
        {1, 30, 13, {537}, 39, kNever},
    };
    for (const Case& c : cases) Check(c);
}

TEST_F(WhereaboutsTest, KindTwoFollowsSchedulesFourToSix) {
    const Case cases[] = {
        // Schedule 4: flag 416 clear, weekdays 1 and 3 (the spring from hour 10).
        {2, 49, 10, {412}, 34, kAlways},
        {2, 51, 15, {412}, 34, kAlways},
        {2, 49, 12, {412, 173}, 34, kNever},
        {2, 49, 12, {412}, 34, kNever, {2, 11, 34}},
        {2, 49, 16, {412}, 3, 30},
        {2, 49, 17, {412}, 3, 30},
        {2, 49, 18, {412}, 2, 10},
        {2, 49, 18, {412}, 4, 10},
        {2, 49, 9, {412}, 34, kNever},
        {2, 49, 16, {412}, 34, kNever},
        {2, 49, 0, {412}, 34, kNever},
        // Schedule 5: other working days, or flag 416.
        {2, 50, 10, {412}, 39, 10},
        {2, 50, 10, {412}, 41, 10},
        {2, 50, 11, {412}, 40, 30},
        {2, 50, 12, {412}, 5, 10},
        {2, 50, 12, {412}, 7, 10},
        {2, 50, 12, {412}, 3, kNever},
        {2, 50, 13, {412}, 3, 10},
        {2, 50, 13, {412}, 39, 10},
        {2, 50, 13, {412}, 35, kNever},
        {2, 50, 14, {412}, 3, kNever},
        {2, 50, 16, {412}, 3, 30},
        {2, 50, 18, {412}, 2, 10},
        {2, 50, 18, {412}, 4, 10},
        {2, 49, 10, {412, 416}, 34, kNever},
        {2, 49, 10, {412, 416}, 39, 10},
        // Schedule 6: the rest day.
        {2, 53, 10, {412}, 39, 10},
        {2, 53, 11, {412}, 41, 30},
        {2, 53, 12, {412}, 3, 10},
        {2, 53, 12, {412}, 7, 10},
        {2, 53, 13, {412}, 35, 10},
        {2, 53, 14, {412}, 35, 30},
        {2, 53, 15, {412}, 5, 10},
        {2, 53, 15, {412}, 39, 10},
        {2, 53, 16, {412}, 3, 10},
        {2, 53, 17, {412}, 3, 10},
        {2, 53, 18, {412}, 2, 10},
        // Away.
        {2, 50, 10, {}, 39, kNever},
        {2, 50, 10, {412, 511}, 39, kNever},
        {2, 50, 10, {412, 511, 512}, 39, 10},
        {2, 50, 10, {412, 511, 513}, 39, 10},
        {2, 50, 10, {412, 491}, 39, kNever},
    };
    for (const Case& c : cases) Check(c);
}

TEST_F(WhereaboutsTest, KindThreeFollowsSchedulesThirteenToFifteen) {
    const Case cases[] = {
        // Schedule 13: a working day outside the windows.
        {3, 50, 14, {}, 7, 10},
        {3, 50, 15, {}, 2, 10},
        {3, 50, 15, {}, 3, 30},
        {3, 50, 15, {}, 13, kAlways},
        {3, 50, 16, {}, 3, 10},
        {3, 50, 16, {}, 13, kAlways},
        {3, 50, 17, {}, 13, kAlways},
        {3, 50, 18, {}, 13, kAlways},
        {3, 50, 14, {}, 13, kNever},
        {3, 50, 19, {}, 13, kNever},
        // Schedule 14: the rest day, day 48, the festival's rest day.
        {3, 53, 11, {}, 13, 10},
        {3, 53, 12, {}, 13, 10},
        {3, 53, 12, {}, 2, 50},
        {3, 53, 13, {}, 5, 10},
        {3, 53, 13, {}, 13, 30},
        {3, 53, 14, {}, 5, 30},
        {3, 53, 15, {}, 6, 10},
        {3, 53, 14, {}, 13, kNever},
        {3, 53, 16, {}, 4, 10},
        {3, 53, 16, {}, 5, kNever},
        {3, 53, 17, {}, 0, 10},
        {3, 53, 18, {}, 2, 10},
        {3, 53, 10, {}, 13, kNever},
        {3, 48, 12, {}, 2, 50},
        {3, 29, 12, {}, 2, 50},
        // Schedule 15: a working day in a window.
        {3, 30, 11, {}, 2, 10},
        {3, 30, 11, {}, 13, kAlways},
        {3, 30, 12, {}, 13, kAlways},
        {3, 30, 13, {}, 3, 30},
        {3, 30, 13, {}, 13, kAlways},
        {3, 30, 14, {}, 3, 10},
        {3, 170, 15, {}, 13, kAlways},
        {3, 30, 18, {}, 13, kAlways},
        {3, 30, 10, {}, 13, kNever},
        {3, 30, 12, {}, 2, kNever},
        // No such character.
        {4, 50, 15, {}, 13, kNever},
        {-1, 50, 15, {}, 13, kNever},
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
        {2, {20}, true, 1},
        {2, {21, 20}, true, 2},
        {2, {21, 21}, false, 2},
        {39, {60}, true, 1},
        {39, {61, 20}, true, 2},
        {39, {61, 21}, false, 2},
        {35, {21, 20}, true, 2},
        {2, {21, 1}, false, 1, {1, 15, 2}},  // met in hour 15: hour 16's rule is absent
    };
    for (const Twice& t : cases) {
        SCOPED_TRACE(testing::Message() << "place " << t.place << " first roll " << t.rolls[0]);
        Arrange(Case{1, 50, 15, {}, t.place, 0, t.met});
        const std::uint32_t seed = SeedRolling(t.rolls);
        ui::Srand(seed);
        EXPECT_EQ(NpcWhereabouts(1, t.place), t.here);
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
        Arrange(Case{1, 30, 14, {}, 39, 0});
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
        {0, 50, {}, 0},     {0, 53, {}, 2},     {0, 30, {}, 1},    {0, 48, {}, 1},
        {0, 50, {391}, -1}, {0, 50, {395}, -1}, {1, 50, {}, 0},    {1, 53, {}, 2},
        {1, 30, {}, 1},     {1, 25, {}, 3},     {1, 50, {425}, 4}, {1, 48, {425}, 5},
        {2, 49, {412}, 0},  {2, 50, {412}, 4},  {2, 53, {412}, 2}, {3, 50, {}, 0},
        {3, 30, {}, 1},     {3, 53, {}, 2},     {3, 48, {}, 2},
    };
    for (const Choice& c : cases) {
        Arrange(Case{c.kind, c.day, 12, c.flags, 0, 0});
        ev->m_ScheduleVariant = 99;
        NpcWhereabouts(c.kind, 0);
        EXPECT_EQ(ev->m_ScheduleVariant, c.variant) << "kind " << c.kind << " day " << c.day;
    }
}

// Flag 395: no schedule is asked, so the walker's pending mark stays as it was.
TEST_F(WhereaboutsTest, AnAbsentCharacterLeavesThePendingMarkAlone) {
    for (std::uint8_t pending : {0, 1}) {
        Arrange(Case{0, 50, 16, {395}, 19, 0});
        NpcMetPending = pending;
        EXPECT_FALSE(NpcWhereabouts(npc::Florae, place::Flowerbed));
        EXPECT_EQ(NpcMetPending, pending);
        EXPECT_EQ(NpcLastKind, -1);
    }
    // A schedule's answer, either way, becomes the mark.
    Arrange(Case{0, 50, 16, {}, 19, 0});
    NpcMetPending = 0;
    EXPECT_TRUE(NpcWhereabouts(npc::Florae, place::Flowerbed));
    EXPECT_EQ(NpcMetPending, 1);
    EXPECT_FALSE(NpcWhereabouts(npc::Florae, place::FloraeRoom));
    EXPECT_EQ(NpcMetPending, 0);
}

// Day 48 is a holiday for every character, on any weekday the calendar gives it.
TEST_F(WhereaboutsTest, DayFortyEightsSchedules) {
    int draws = 0;
    EXPECT_TRUE(Ask(Case{0, 48, 10, {}, 19, 0}, 100, draws));
    EXPECT_EQ(ev->m_ScheduleVariant, 1);
    EXPECT_TRUE(Ask(Case{3, 48, 12, {}, 2, 0}, 50, draws));
    EXPECT_EQ(ev->m_ScheduleVariant, 2);
    EXPECT_FALSE(Ask(Case{3, 48, 15, {}, 13, 0}, 1, draws)) << "not schedule 13's hour 15";
    EXPECT_FALSE(Ask(Case{1, 48, 16, {425}, 39, 0}, 11, draws)) << "schedule 12's hour 16: 10";
    EXPECT_TRUE(Ask(Case{1, 48, 16, {425}, 39, 0}, 10, draws));
}

// The meeting an event marks holds for the rest of the day, and the day change forgets it.
TEST_F(WhereaboutsTest, AMeetingIsRememberedUntilTheDayChanges) {
    const Case at17{0, 50, 14, {}, 17, 0, {}, 17};
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
    Arrange(Case{0, 50, 16, {}, 19, 0});
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
    Arrange(Case{0, 50, 3, {395}, 0, 0});
    ev->ConditionOverride = 1;
    const std::uint32_t seed = 9;
    ui::Srand(seed);
    EXPECT_TRUE(ev->ChkNpc(0, 99));
    EXPECT_TRUE(ev->ChkNpc(npc::Fele, place::ShopFront));
    EXPECT_EQ(DrawsSince(seed), 0);
    ev->ConditionOverride = 0;
}

}  // namespace
