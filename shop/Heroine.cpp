#include "shop/Heroine.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/Transcript.h"

// clang-format off
const std::uint8_t ShopFloorTable[kFloorRows][kFloorColumns] = {
    {255, 255, 255, 255, 255, 255, 255, 255, 255, 255},
    {255, 255, 255, 254, 254, 254, 254, 254, 255, 255},  // y 0
    {255, 255, 255, 254, 254, 254, 254, 254, 255, 255},  // y 1
    {255, 255, 255, 254, 254, 255, 254, 254, 255, 255},  // y 2
    {255, 255, 255, 254, 254, 254, 254, 254, 255, 255},  // y 3
    {255, 255, 254, 254, 255, 255, 255, 254, 254, 255},  // y 4
    {255, 255, 255, 254, 254, 254, 255, 254, 254, 255},  // y 5
    {255, 255, 255, 255, 255, 254, 254, 254, 254, 255},  // y 6
    {255, 254, 254, 254, 254, 254, 254, 254, 255, 255},  // y 7
    {255, 255, 255, 254, 254, 254, 254, 254, 255, 255},  // y 8
    {255, 255, 255, 255, 255, 255, 254, 254, 255, 255},  // y 9
    {255, 255, 255, 255, 255, 255, 255, 254, 255, 255},  // y 10
    {255, 255, 255, 255, 255, 255, 255, 255, 255, 255},
};
// clang-format on

std::int32_t HeroineRoute[kRouteEntries];
Figure* Heroine = nullptr;
SPMan* GateActor = nullptr;

namespace {

// Offsets in the flat table of the four directions: y - 1, x + 1, y + 1, x - 1.
constexpr int kNeighbour[4] = {-kFloorColumns, 1, kFloorColumns, -1};
// Screen step signs of the directions.
constexpr FloorStep kWalkSign[4] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
constexpr int kTableSize = kFloorRows * kFloorColumns;
// Distances the fill sets at most.
constexpr int kMaxDistance = 16;

bool OnTable(int x, int y) { return x >= 0 && y >= 0 && x < 8 && y < 11; }
int At(int x, int y) { return (y + 1) * kFloorColumns + (x + 1); }

void ClearRoute() { std::fill(std::begin(HeroineRoute), std::end(HeroineRoute), kRouteEnd); }

// Drops the first pair; the rest move down one pair.
void DropPair() {
    std::memmove(HeroineRoute, HeroineRoute + 2, sizeof HeroineRoute - 2 * sizeof HeroineRoute[0]);
    HeroineRoute[kRouteEntries - 2] = kRouteEnd;
    HeroineRoute[kRouteEntries - 1] = kRouteEnd;
}

}  // namespace

bool IsFloorCellFree(int x, int y) {
    return x >= 0 && x < 8 && y >= 0 && y < 11 && ShopFloorTable[y + 1][x + 1] == kFloorFree;
}

int FindRoute(int fromX, int fromY, int toX, int toY, int index, int startDirection) {
    if (!OnTable(fromX, fromY) || !OnTable(toX, toY) || index < 0 || index + 1 >= kRouteEntries)
        return index;
    int grid[kTableSize];
    for (int i = 0; i < kTableSize; ++i)
        grid[i] = ShopFloorTable[i / kFloorColumns][i % kFloorColumns];
    // The sides meet only at the gate: the row next to the target's side is shut.
    const int shutRow = toY < 6 ? 6 : 5;
    for (int c = 0; c < kFloorColumns; ++c) grid[(shutRow + 1) * kFloorColumns + c] = kFloorBlocked;
    const int target = At(toX, toY), start = At(fromX, fromY);
    if (grid[target] == kFloorBlocked) return index;
    grid[start] = kFloorFree;
    grid[target] = 0;

    // Distances from the target, one pass per distance.
    for (int d = 0;; ++d) {
        bool found = false;
        for (int i = kTableSize - 1; i >= 0; --i) {
            if (grid[i] != d) continue;
            found = true;
            for (int k : {-kFloorColumns, -1, kFloorColumns, 1}) {
                const int n = i + k;
                if (n >= 0 && n < kTableSize && grid[n] == kFloorFree) grid[n] = d + 1;
            }
        }
        if (!found || d + 1 >= kMaxDistance) break;
    }

    startDirection &= 3;
    if (grid[start] == 0) {
        HeroineRoute[index] = startDirection;
        HeroineRoute[index + 1] = 0;
        return index + 2;
    }
    // Not reached by the fill: no route.
    if (grid[start] > kMaxDistance) return index;

    int at = start, want = grid[start] - 1, direction = startDirection, pair = index;
    while (want >= 0) {
        int tries = 0;
        while (tries < 4 && grid[at + kNeighbour[direction]] != want) {
            direction = (direction + 1) & 3;
            ++tries;
        }
        if (tries == 4) return index;
        if (HeroineRoute[pair] == direction) {
            ++HeroineRoute[pair + 1];
        } else {
            if (HeroineRoute[pair] != kRouteEnd) pair += 2;
            // No room for another pair: the route cannot be completed.
            if (pair + 1 >= kRouteEntries) return index;
            HeroineRoute[pair] = direction;
            HeroineRoute[pair + 1] = 1;
        }
        at += kNeighbour[direction];
        want = grid[at] - 1;
    }
    return pair + 2;
}

void WalkHeroineTo(int x, int y) {
    ClearRoute();
    if (!Heroine) return;
    const int code = Heroine->User;
    const int x0 = code / 16, y0 = code % 16, d = Heroine->Direction();
    if (x0 == x && y0 == y) return;
    bool ok;
    if (y0 >= 6 && y < 6) {
        const int n = FindRoute(x0, y0, 6, 6, 0, d);
        ok = n > 0 && n + 2 < kRouteEntries;
        if (ok) {
            HeroineRoute[n] = kRouteGate;
            HeroineRoute[n + 1] = kGateTicks;
            ok = FindRoute(6, 6, x, y, n + 2, HeroineRoute[n - 2]) > n + 2;
        }
    } else if (y0 <= 5 && y >= 6) {
        const int n = FindRoute(x0, y0, 6, 5, 0, d);
        ok = n > 0 && n + 2 < kRouteEntries;
        if (ok) {
            HeroineRoute[n] = kRouteGate;
            HeroineRoute[n + 1] = kGateTicks;
            ok = FindRoute(6, 5, x, y, n + 2, HeroineRoute[n - 2]) > n + 2;
        }
    } else {
        ok = FindRoute(x0, y0, x, y, 0, d) > 0;
    }
    // Half a route would leave her somewhere she was never sent: she stays put.
    if (!ok) ClearRoute();
    Heroine->WaitTicks = 0;
}

void StepHeroineWalk() {
    if (!Heroine) return;
    const int k = Heroine->WaitTicks;
    if (k == 0) {
        const int code = HeroineRoute[0];
        if (code == kRouteEnd) {
            Heroine->WaitTicks = -1;
            if (ui::ActiveTranscript()) {
                const int cell = Heroine->User;
                ui::Record("heroine", "stands at " + std::to_string(cell / 16) + "," +
                                          std::to_string(cell % 16));
            }
        } else if (code >= 0 && code <= 3) {
            Heroine->SetDirection(code);
            const int count = std::max(0, HeroineRoute[1]);
            Heroine->WaitTicks = count * 3;
            if (count > 0) Heroine->StartWalking();
            DropPair();
        } else {
            if (code == kRouteGate) {
                if (GateActor) GateActor->StartAnimation(4, SPM_PING_PONG);
                HeroineRoute[0] = kRouteGatePlaying;
            }
            if (--HeroineRoute[1] <= 0) DropPair();
        }
        InvalidateSprites();
    } else if (k > 0) {
        Heroine->WaitTicks = k - 1;
        const FloorStep s = kWalkSign[Heroine->Direction() & 3];
        if ((k - 1) % 3 == 2)
            Heroine->MoveBy(10 * s.dx, 5 * s.dy);
        else
            Heroine->MoveBy(12 * s.dx, 6 * s.dy);
        if (k == 1) Heroine->StopWalking();
        InvalidateSprites();
    }
}

int HeroineWalkCounter() { return Heroine ? Heroine->WaitTicks : -1; }

bool HeroineIdle() { return HeroineRoute[0] == kRouteEnd && HeroineWalkCounter() < 0; }
