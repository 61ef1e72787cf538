// The route plan's reader: the form of bench/routes/README.md, and a clear file:line
// for every fault in a plan.
#include "bench/route/Plan.h"

#include <gtest/gtest.h>

#include <string>

#include "story/Register.h"
#include "town/EvCommands.h"

namespace {

using route::DoneKind;
using route::Plan;

TEST(PlanTest, ReadsTheFormOfTheReadme) {
    const std::string text =
        "# a comment\n"
        "route 王子                  # the route's name\n"
        "ending 1 3\n"
        "after renette\n"
        "policy rich\n"
        "orders refuse\n"
        "want 54 1\n"
        "\n"
        "step 森林之泉的戒指\n"
        "  days 144-286\n"
        "  weekdays 1 3\n"
        "  hours 10-15\n"
        "  at 森林之泉\n"
        "  do 移動 到城門 進入\n"
        "  answer 2 1\n"
        "  want 104 1\n"
        "  done event EvMove009\n"
        "  repeat\n"
        "  idle\n"
        "  optional\n"
        "step 舞會\n"
        "  days 281\n"
        "  at 店裡\n"
        "  done flag 402\n";
    Plan plan;
    std::string error;
    ASSERT_TRUE(route::ParsePlan(text, "p.route", plan, error)) << error;
    EXPECT_EQ(plan.name, "王子");
    EXPECT_EQ(plan.endingSlot, 1);
    EXPECT_EQ(plan.endingNumber, 3);
    EXPECT_EQ(plan.after, "renette");
    EXPECT_EQ(plan.policy, "rich");
    ASSERT_EQ(plan.wants.size(), 1u);
    ASSERT_EQ(plan.steps.size(), 2u);
    const route::PlanStep& s = plan.steps[0];
    EXPECT_EQ(plan.orders, "refuse");
    EXPECT_EQ(s.line, 9);
    EXPECT_EQ(s.firstDay, 144);
    EXPECT_EQ(s.lastDay, 286);
    EXPECT_EQ(s.weekdays, (std::vector<int>{1, 3}));
    EXPECT_EQ(s.firstHour, 10);
    EXPECT_EQ(s.lastHour, 15);
    EXPECT_EQ(s.place, 32 + 2);
    EXPECT_EQ(s.commandIds,
              (std::vector<int>{command::kMove, command::kToCastleGate, command::kEnter}));
    EXPECT_EQ(s.answers, (std::vector<int>{2, 1}));
    EXPECT_EQ(s.done, DoneKind::Event);
    EXPECT_EQ(s.doneEvent, "EvMove009");
    EXPECT_TRUE(s.repeat);
    EXPECT_TRUE(s.idle);
    EXPECT_TRUE(s.optional);
    const route::PlanStep& ball = plan.steps[1];
    EXPECT_EQ(ball.firstDay, 281);
    EXPECT_EQ(ball.lastDay, 281);
    EXPECT_EQ(ball.place, -1);
    EXPECT_EQ(ball.done, DoneKind::Flag);
    EXPECT_EQ(ball.doneNumber, 402);
    EXPECT_FALSE(ball.repeat);
    EXPECT_FALSE(ball.optional);
}

TEST(PlanTest, NamesTheLineOfEachFault) {
    const std::string head = "route r\nending 10 0\n";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"ending 10 0\n", "p.route:0: the plan has no `route` line"},
        {"route r\n", "p.route:0: the plan has no `ending` line"},
        {head + "ending 11 0\n", "p.route:3: ending needs a slot 0..10 and a number 0..5"},
        {head + "policy lazy\n", "p.route:3: policy is plain, rich, goodwill or short"},
        {head + "colour red\n", "p.route:3: unknown key 'colour'"},
        {head + "orders maybe\n", "p.route:3: orders is accept or refuse"},
        {head + "step s\n  days 300\n  done flag 1\n",
         "p.route:4: days needs a day or a range within 0..286"},
        {head + "step s\n  hours 15-10\n  done flag 1\n",
         "p.route:4: hours needs an hour or a range within 0..23"},
        {head + "step s\n  at 月亮\n  done flag 1\n",
         "p.route:4: no place named '月亮' on the maps"},
        {head + "step s\n  at 大公園\n  do 飛翔\n  done flag 1\n",
         "p.route:5: no command '飛翔' in the command menus"},
        {head + "step s\n  answer 0\n  done flag 1\n", "p.route:4: a caption number is 1..9"},
        {head + "step s\n  done money 5\n",
         "p.route:4: done needs `event NAME`, `flag FLAG`, `item ITEM [COUNT]` or `recipe ITEM`"},
        {head + "step s\n  done recipe 200\n",
         "p.route:4: done needs `event NAME`, `flag FLAG`, `item ITEM [COUNT]` or `recipe ITEM`"},
        {head + "step s\n  done flag NoSuchFlag\n",
         "p.route:4: done needs `event NAME`, `flag FLAG`, `item ITEM [COUNT]` or `recipe ITEM`"},
        {head + "step s\n  done item 月光石\n",
         "p.route:4: done needs `event NAME`, `flag FLAG`, `item ITEM [COUNT]` or `recipe ITEM`"},
        {head + "want 128 1\n",
         "p.route:3: want needs an item (by name or number) and a count of at least 1"},
        {head + "want LightStone 0\n",
         "p.route:3: want needs an item (by name or number) and a count of at least 1"},
        {head + "step s\n  at 大公園\n", "p.route:3: step 's' has no `done` line"},
        {head + "step s\n  done flag 1\npolicy rich\n",
         "p.route:5: 'policy' after the first step must be indented under it"},
        {head + "step s\n  do 觀察\n  done flag 1\n",
         "p.route:3: step 's' has commands but no place on the maps"},
    };
    for (const auto& c : cases) {
        Plan plan;
        std::string error;
        EXPECT_FALSE(route::ParsePlan(c.text, "p.route", plan, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

// Flags and items by the names the story's data gives them (the register's), items also
// by the catalogue's names, and both by number.
TEST(PlanTest, ReadsFlagsAndItemsByTheirNames) {
    Plan plan;
    std::string error;
    ASSERT_TRUE(
        route::ParsePlan("route r\nending 10 0\nwant LightStone 1\nwant 願望秘石 3\n"
                         "step a\n  done flag RenetteMet\n"
                         "step b\n  want CurePotion 1\n  done item Nightglow 3\n"
                         "step c\n  done item 光魔法石\n"
                         "step d\n  done recipe FreshnessSpellPotion\n"
                         "step e\n  done flag 402\n",
                         "p.route", plan, error))
        << error;
    EXPECT_EQ(plan.wants, (std::vector<std::pair<int, int>>{{item::LightStone, 1}, {23, 3}}));
    ASSERT_EQ(plan.steps.size(), 5u);
    EXPECT_EQ(plan.steps[0].doneNumber, flag::RenetteMet);
    EXPECT_EQ(plan.steps[1].wants, (std::vector<std::pair<int, int>>{{item::CurePotion, 1}}));
    EXPECT_EQ(plan.steps[1].doneNumber, item::Nightglow);
    EXPECT_EQ(plan.steps[1].doneCount, 3);
    EXPECT_EQ(plan.steps[2].doneNumber, item::LightStone);
    EXPECT_EQ(plan.steps[3].done, DoneKind::Recipe);
    EXPECT_EQ(plan.steps[3].doneNumber, item::FreshnessSpellPotion);
    EXPECT_EQ(plan.steps[4].doneNumber, flag::RoutePrince);
}

TEST(PlanTest, ReadsARecipeAsTheDoneOfAStep) {
    Plan plan;
    std::string error;
    ASSERT_TRUE(route::ParsePlan("route r\nending 10 0\nstep s\n  at 大公園\n  done recipe 32\n",
                                 "p.route", plan, error))
        << error;
    ASSERT_EQ(plan.steps.size(), 1u);
    EXPECT_EQ(plan.steps[0].done, DoneKind::Recipe);
    EXPECT_EQ(plan.steps[0].doneNumber, 32);
}

// A walk arrives at its hour; in the night search it goes on past midnight into the next
// day, where the step's window is read again.
TEST(PlanTest, AWalkPastMidnightArrivesOnTheNextDay) {
    route::PlanStep night;
    night.firstDay = 237;
    night.lastDay = 261;
    route::PlanStep evening = night;
    evening.firstHour = 18;
    evening.lastHour = 22;
    route::PlanStep working = night;
    working.weekdays = {-1};
    const struct {
        int day, hour, walk, arrivalDay, arrivalHour;
        const route::PlanStep* step;
        bool holds;
    } cases[] = {
        {237, 21, 1, 237, 22, &night, true},   {237, 23, 1, 238, 0, &night, true},
        {237, 23, 3, 238, 2, &evening, false}, {237, 20, 2, 237, 22, &evening, true},
        {261, 23, 1, 262, 0, &night, false},   {236, 23, 1, 237, 0, &night, true},
        {238, 23, 1, 239, 0, &working, false},  // day 239 is a rest day
        {239, 23, 1, 240, 0, &working, true},
    };
    for (const auto& c : cases) {
        int day = -1, hour = -1;
        route::Arrival(c.day, c.hour, c.walk, day, hour);
        EXPECT_EQ(day, c.arrivalDay) << c.day << " " << c.hour;
        EXPECT_EQ(hour, c.arrivalHour) << c.day << " " << c.hour;
        EXPECT_EQ(route::WindowHolds(*c.step, day, hour), c.holds) << c.day << " " << c.hour;
    }
}

TEST(PlanTest, TakesTheButtonsCaptionsAndThePlayersWords) {
    const struct {
        const char* caption;
        int id;
    } cases[] = {
        {"搜索", command::kSearch},
        {"搜尋", command::kSearch},
        {"市集", command::kMarket},
        {"市場", command::kMarket},
        {"花圃", command::kFlowerbed},
        {"花壇", command::kFlowerbed},
        {"拜訪店家", command::kVisitShop},
        {"往城門", command::kToCastleGate},
        {"到廣場", command::kToSquare},
        {"出去", command::kGoOut},
        {"走路", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(route::CommandByCaption(c.caption), c.id) << c.caption;
    EXPECT_EQ(route::PlaceByName("黑貓魔法店"), 0);
    EXPECT_EQ(route::PlaceByName("大公園"), 5);
    EXPECT_EQ(route::PlaceByName("弗洛愛爾摩斯大公園"), 5);
    EXPECT_EQ(route::PlaceByName("鎮上"), 32);
    EXPECT_EQ(route::PlaceByName("店裡"), -1);
}

}  // namespace
