// The heroine's walk: the floor table, route planning on the real table, and the walk
// ticks with the gate stop.
#include "shop/Heroine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "tests/support/SpriteFixtures.h"

namespace {

struct Pair {
    int code;
    int count;
    bool operator==(const Pair&) const = default;
};

std::vector<Pair> Route() {
    std::vector<Pair> out;
    for (int i = 0; i < kRouteEntries && HeroineRoute[i] != kRouteEnd; i += 2)
        out.push_back({HeroineRoute[i], HeroineRoute[i + 1]});
    return out;
}

void PrintTo(const Pair& p, std::ostream* os) { *os << "(" << p.code << "," << p.count << ")"; }

class HeroineTest : public ::testing::Test {
protected:
    void SetUp() override {
        heroine = std::make_unique<Figure>(0, 4, 0, 7);
        heroine->User = kHomeCode;
        heroine->WaitTicks = -1;
        Heroine = heroine.get();
        GateActor = nullptr;
        for (auto& e : HeroineRoute) e = kRouteEnd;
    }
    void TearDown() override { Heroine = nullptr; }

    void PlaceAt(int x, int y, int direction) {
        heroine->PlaceAt(x, y);
        heroine->SetDirection(direction);
        heroine->User = CellCode(x, y);
    }

    test::SpriteEngineReset reset;
    std::unique_ptr<Figure> heroine;
};

TEST_F(HeroineTest, FloorTableMatchesTheShopPlan) {
    const char* const rows[11] = {"##.....#", "##.....#", "##..#..#", "##.....#",
                                  "#..###..", "##...#..", "####....", ".......#",
                                  "##.....#", "#####..#", "######.#"};
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(IsFloorCellFree(x, y), rows[y][x] == '.') << x << "," << y;
    // The border is blocked all round.
    EXPECT_FALSE(IsFloorCellFree(-1, 7));
    EXPECT_FALSE(IsFloorCellFree(8, 4));
    EXPECT_FALSE(IsFloorCellFree(3, 11));
}

struct RouteCase {
    int fromX, fromY, direction, toX, toY;
    std::vector<Pair> expected;
};

TEST_F(HeroineTest, RoutesOnTheRealFloor) {
    const RouteCase cases[] = {
        // Her own side.
        {4, 7, 0, 4, 8, {{2, 1}}},          // to the mixing desk
        {4, 7, 0, 6, 7, {{1, 2}}},          // back to work
        {4, 7, 0, 0, 7, {{3, 4}}},          // to the door
        {4, 7, 0, 7, 6, {{0, 1}, {1, 3}}},  // to the stairs
        // Through the gate, both ways.
        {4, 7, 0, 6, 4, {{0, 1}, {1, 2}, {-2, 4}, {0, 2}}},
        {6, 4, 2, 6, 7, {{2, 1}, {-2, 4}, {2, 2}}},
        {6, 4, 2, 4, 8, {{2, 1}, {-2, 4}, {2, 3}, {3, 2}}},
        // No walk: her own cell, a blocked cell.
        {4, 7, 0, 4, 7, {}},
        {4, 7, 0, 0, 0, {}},
        {4, 7, 0, 4, 4, {}},
    };
    for (const RouteCase& c : cases) {
        PlaceAt(c.fromX, c.fromY, c.direction);
        WalkHeroineTo(c.toX, c.toY);
        EXPECT_EQ(Route(), c.expected)
            << "(" << c.fromX << "," << c.fromY << ") -> (" << c.toX << "," << c.toY << ")";
    }
}

TEST_F(HeroineTest, FindRouteAtTheTargetWritesOneEmptyPair) {
    EXPECT_EQ(FindRoute(6, 6, 6, 6, 0, 3), 2);
    EXPECT_EQ(HeroineRoute[0], 3);
    EXPECT_EQ(HeroineRoute[1], 0);
}

TEST_F(HeroineTest, ARouteThatDoesNotFitLeavesHerIdle) {
    // Only one pair left at the end of the route: a turning route cannot be written.
    EXPECT_EQ(FindRoute(4, 7, 7, 6, 14, 0), 14);
}

TEST_F(HeroineTest, EveryFreeCellIsReachedFromHome) {
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 8; ++x) {
            if (!IsFloorCellFree(x, y) || (x == 4 && y == 7)) continue;
            PlaceAt(4, 7, 0);
            WalkHeroineTo(x, y);
            EXPECT_FALSE(Route().empty()) << x << "," << y;
            // Walk it and check she ends on the cell.
            heroine->User = CellCode(x, y);
            for (int t = 0; t < 400 && !HeroineIdle(); ++t) StepHeroineWalk();
            EXPECT_TRUE(HeroineIdle());
            EXPECT_EQ(heroine->X(), FloorSpriteX(x, y, heroine->Width())) << x << "," << y;
            EXPECT_EQ(heroine->Y(), FloorSpriteY(x, y, heroine->Height())) << x << "," << y;
        }
}

TEST_F(HeroineTest, AWalkToHerOwnCellPlansNothing) {
    WalkHeroineTo(4, 7);
    EXPECT_TRUE(Route().empty());
    StepHeroineWalk();
    EXPECT_TRUE(HeroineIdle());
}

TEST_F(HeroineTest, CrossingTheSidesStopsFourTicksAtTheGateWhileItOpens) {
    test::InstallSheet(19, test::NumberedSheet(4, 1, 8, 8));
    SPMan gate(0, 19, 0, 0, 10, 0);
    GateActor = &gate;
    WalkHeroineTo(6, 4);
    heroine->User = kCounterCode;
    std::vector<std::pair<int, int>> positions;
    int gateTicks = 0;
    for (int t = 0; t < 200 && !HeroineIdle(); ++t) {
        const bool atGate = heroine->WaitTicks == 0 &&
                            (HeroineRoute[0] == kRouteGate || HeroineRoute[0] == kRouteGatePlaying);
        const int x = heroine->X(), y = heroine->Y();
        StepHeroineWalk();
        if (atGate) {
            ++gateTicks;
            EXPECT_EQ(heroine->X(), x);
            EXPECT_EQ(heroine->Y(), y);
            EXPECT_TRUE(gate.IsAnimating());
        }
        positions.emplace_back(heroine->X(), heroine->Y());
    }
    EXPECT_EQ(gateTicks, 4);
    EXPECT_EQ(gate.Flags() & SPM_PING_PONG, SPM_PING_PONG);
    EXPECT_EQ(gate.Delay(), 4u);
    auto passes = [&](int gx, int gy) {
        const std::pair<int, int> p{FloorSpriteX(gx, gy, heroine->Width()),
                                    FloorSpriteY(gx, gy, heroine->Height())};
        return std::find(positions.begin(), positions.end(), p) != positions.end();
    };
    EXPECT_TRUE(passes(6, 6));
    EXPECT_TRUE(passes(6, 5));
    EXPECT_TRUE(passes(6, 4));
}

TEST_F(HeroineTest, OneCellTakesThreeSubSteps) {
    WalkHeroineTo(4, 8);  // one cell down-right on the screen
    const int x0 = heroine->X(), y0 = heroine->Y();
    StepHeroineWalk();  // takes the pair
    EXPECT_EQ(heroine->WaitTicks, 3);
    EXPECT_EQ(heroine->Direction(), 2);
    StepHeroineWalk();
    EXPECT_EQ(heroine->X() - x0, 10);
    EXPECT_EQ(heroine->Y() - y0, 5);
    StepHeroineWalk();
    StepHeroineWalk();
    EXPECT_EQ(heroine->X() - x0, 34);
    EXPECT_EQ(heroine->Y() - y0, 17);
    EXPECT_EQ(heroine->WaitTicks, 0);
    StepHeroineWalk();
    EXPECT_TRUE(HeroineIdle());
}

}  // namespace
