#pragma once
// The heroine's walk on the shop floor: a fixed floor table, routes planned by a
// breadth-first distance fill from the target, and one walk tick at a time. The
// heroine's Figure keeps her cell code (User, x * 16 + y) and her walk counter
// (WaitTicks: negative idle, 0 take the next route pair, k > 0 sub-steps left).
#include <cstdint>

#include "shop/Figure.h"

constexpr int kFloorRows = 13;     // y + 1, with a border row on both sides
constexpr int kFloorColumns = 10;  // x + 1, with a border column on both sides
constexpr std::uint8_t kFloorFree = 254;
constexpr std::uint8_t kFloorBlocked = 255;

// 254 = floor, 255 = blocked; row = y + 1, column = x + 1.
extern const std::uint8_t ShopFloorTable[kFloorRows][kFloorColumns];

// 8 pairs (code, count): 0..3 walk that direction for count cells; -2 stop at the
// gate for count ticks while background actor 3 plays (-3 once it plays); -1 ends.
constexpr int kRouteEntries = 16;
extern std::int32_t HeroineRoute[kRouteEntries];

// Route codes.
constexpr std::int32_t kRouteEnd = -1;
constexpr std::int32_t kRouteGate = -2;
constexpr std::int32_t kRouteGatePlaying = -3;
constexpr std::int32_t kGateTicks = 4;

// The figure that walks and the gate that opens for her (background actor 3); set by
// the shop scene while it exists, null otherwise.
extern Figure* Heroine;
extern SPMan* GateActor;

// Cell codes of the places she walks to.
constexpr int CellCode(int x, int y) { return x * 16 + y; }
constexpr int kHomeCode = CellCode(4, 7);      // 71, where she starts
constexpr int kDeskCode = CellCode(4, 8);      // 72, the mixing desk
constexpr int kGateInCode = CellCode(6, 6);    // 102
constexpr int kCounterCode = CellCode(6, 4);   // 100
constexpr int kWorkCode = CellCode(6, 7);      // 103
constexpr int kCupboardCode = CellCode(6, 8);  // 104
constexpr int kBookCode = CellCode(6, 10);     // 106
constexpr int kStairsCode = CellCode(7, 6);    // 118
constexpr int kDoorCode = CellCode(0, 7);      // 7

// The table entry of (x, y) is floor; false off the table.
bool IsFloorCellFree(int x, int y);

// Plans the route from (fromX, fromY) to (toX, toY) into HeroineRoute from `index`
// on, walking straight on from `startDirection` while that stays shortest. Returns
// the index just past the last pair written; `index` unchanged when there is no route
// (a blocked or unreachable target, or no room left in the route).
int FindRoute(int fromX, int fromY, int toX, int toY, int index, int startDirection);

// Plans a route for the heroine from her cell code to (x, y) and starts the walk
// (counter 0). A walk between the customers' side (rows 0..5) and hers (6..10) passes
// the gate (6,5)/(6,6) with a stop while the gate opens. A route that cannot be
// completed leaves the route empty: she stays idle where she stands. The caller then
// stores the target's cell code in her.
void WalkHeroineTo(int x, int y);

// One tick of the walk (the shop scene's update calls it).
void StepHeroineWalk();

// Her walk counter: negative while she stands idle; -1 without a heroine.
int HeroineWalkCounter();
// Idle with nothing left to walk.
bool HeroineIdle();
