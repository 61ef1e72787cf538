// The customers: the day's demand table, the hour order, customers walking their
// routes, takes and sales, the evening settlement and the story visitors.
#include "shop/Demand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "platform/Random.h"
#include "shop/Calendar.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "shop/Goods.h"
#include "story/Register.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/SpriteFixtures.h"

namespace {

using test::NumberedSheet;

// What the hooks saw.
struct Seen {
    bool open = true;
    bool idle = true;
    int walkState = -1;
    SPMan* door = nullptr;
    std::vector<int> sounds;
    std::vector<int> slotRows;
    int toCounter = 0, backToWork = 0, hideMixing = 0, visitors = 0, revenue = 0, money = 0;
};
Seen g_seen;

// Grid cell of a figure drawn with no sheet (frame size 0): its top-left is its feet.
struct Cell {
    int x, y;
    bool operator==(const Cell&) const = default;
};
Cell CellOf(const Figure& f) {
    const int sum = (f.X() - 16) / 34, diff = (f.Y() - 243) / 17;  // gx + gy, gy - gx
    return {(sum - diff) / 2, (sum + diff) / 2};
}
Cell Ahead(const Figure& f) {
    const Cell c = CellOf(f);
    const FloorStep s = kDirectionGridStep[f.Direction()];
    return {c.x + s.dx, c.y + s.dy};
}

class DemandTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_ClockHooks = {};
        g_DemandHooks = {};
        ui::Srand(7);
        InitGameState();
        for (Fashion& f : Fashions) f = Fashion(FashionParams[0][0][0]);  // nobody wants anything
        for (int s = 0; s < kExhibitionSlots; ++s) SetSlotItem(s, -1);
        SetReputation(10);
        SetMoney(1000);
        SetGameDay(1);
        SetGameHour(12);

        g_seen = Seen{};
        g_DemandHooks.IsShopOpen = [] { return g_seen.open; };
        g_DemandHooks.IsShopSceneIdle = [] { return g_seen.idle; };
        g_DemandHooks.PlaySound = [](int n) { g_seen.sounds.push_back(n); };
        g_DemandHooks.DoorSprite = [] { return g_seen.door; };
        g_DemandHooks.HideMixingAnimation = [] { ++g_seen.hideMixing; };
        g_DemandHooks.WalkToCounter = [] { ++g_seen.toCounter; };
        g_DemandHooks.WalkBackToWork = [] { ++g_seen.backToWork; };
        g_DemandHooks.HeroineWalkState = [] { return g_seen.walkState; };
        g_DemandHooks.RefreshVisitors = [] { ++g_seen.visitors; };
        g_DemandHooks.RefreshSlotRow = [](int slot) { g_seen.slotRows.push_back(slot); };
        g_DemandHooks.RefreshRevenue = [] { ++g_seen.revenue; };
        g_DemandHooks.RefreshMoney = [] { ++g_seen.money; };

        test::InstallSheet(kShelfSheet, NumberedSheet(5, 20, 8, 6));
        test::InstallSheet(kDoorSheet, NumberedSheet(4, 1, 4, 4));
        door_ = std::make_unique<SPMan>(0, kDoorSheet, 77, 111, 211130, 0);
        g_seen.door = door_.get();
        form_ = std::make_unique<TDemandForm>();
    }
    void TearDown() override {
        form_.reset();
        door_.reset();
        DestroyShelfSlots();
        g_DemandHooks = {};
        g_ClockHooks = {};
    }

    // One hour's column holding the given goods rows (others exhausted).
    void SetColumn(int hour, int column, std::vector<std::pair<int, int>> rows) {
        const int j = hour - 10;
        for (auto& row : form_->DemandTable) row[column] = kDemandExhausted;
        for (auto [g, n] : rows) form_->DemandTable[g][column] = static_cast<std::uint8_t>(n);
        form_->HourOrder[j] = static_cast<std::uint8_t>(column);
        form_->HourRemaining[j] = static_cast<std::int8_t>(rows.size());
    }
    // Runs the finish loop of the clock; the number of calls (capped).
    int FinishHour() {
        int calls = 0;
        while (form_->SpawnHourlyCustomers(true) && ++calls < 100000) {
        }
        return calls;
    }
    void Stock(int item, int n) {
        SetItemStock(item, n);
        SetItemReserve(item, 0);
    }

    test::SpriteEngineReset reset_;
    std::unique_ptr<SPMan> door_;
    std::unique_ptr<TDemandForm> form_;
};

// --- the day's demand -----------------------------------------------------------

TEST_F(DemandTest, DemandSpreadsPopularityTimesReputationWithACarry) {
    struct Case {
        int popularity, reputation, firstColumn;
        std::array<int, 9> expected;
    } cases[] = {
        {10,
         10,
         4,
         {0, 0, 0, 0, 0, 0, 0, 0, 0}},  // 100 / 9 = 11 a column: the carry never reaches 100
        {15,
         10,
         3,
         {1, 0, 0, 0, 0, 0, 0, 0, 0}},  // 16 a column: the seventh column filled gets one
        {30,
         40,
         5,
         {1, 1, 2, 1, 1, 1, 1, 1, 2}},  // 133 a column; the carry makes the 4th and 7th two
        {20, 50, 8, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {40, 0, 2, {0, 0, 0, 0, 0, 0, 0, 0, 0}},  // reputation 0: nobody comes
        {64, 100, 0, {7, 7, 7, 7, 7, 7, 7, 7, 7}},
    };
    const int g = 7;
    for (const Case& c : cases) {
        for (int cell = 0; cell < c.popularity; ++cell) Fashions[g].SetCell(cell, 1, 3);
        SetReputation(c.reputation);
        std::vector<int> draws(64, 0);
        draws[63 - g] = c.firstColumn + 9 * 5;  // taken modulo 9
        draws.insert(draws.end(), 9, 0);        // the hour order
        test::ScriptedRandom random(draws);
        form_->GenerateDailyDemand();
        EXPECT_TRUE(random.Done());
        for (int col = 0; col < 9; ++col)
            EXPECT_EQ(form_->DemandTable[g][col], c.expected[col])
                << "popularity " << c.popularity << " reputation " << c.reputation << " column "
                << col;
        for (int other : {0, 6, 8, 63}) EXPECT_EQ(form_->DemandTable[other][0], 0);
        Fashions[g] = Fashion(FashionParams[0][0][0]);
    }
}

TEST_F(DemandTest, BargainSlotGoodsGetsRandomDemandByReputation) {
    const int g = 12;
    SetSlotItem(0, g);
    for (int cell = 0; cell < 64; ++cell)
        Fashions[g].SetCell(cell, 1, 3);                              // popularity does not count
    const std::vector<int> cellDraws = {0, 1, 2, 3, 4, 5, 6, 7, 13};  // columns 8 down to 0
    for (auto [reputation, m] : std::vector<std::pair<int, int>>{{0, 2}, {45, 4}, {100, 7}}) {
        SetReputation(reputation);
        std::vector<int> draws(63 - g, 0);
        draws.insert(draws.end(), cellDraws.begin(), cellDraws.end());
        draws.insert(draws.end(), g + 9, 0);
        test::ScriptedRandom random(draws);
        form_->GenerateDailyDemand();
        EXPECT_TRUE(random.Done());
        for (int k = 0; k < 9; ++k)
            EXPECT_EQ(form_->DemandTable[g][8 - k], cellDraws[k] % m) << reputation;
    }
}

TEST_F(DemandTest, HourOrderIsTheHandWorkedShuffle) {
    struct Case {
        std::vector<int> draws;  // k = 8 down to 0, taken modulo k + 1
        std::array<int, 9> order;
    } cases[] = {
        // The walk counts the entry it starts on: a first draw of 0 puts column 8 in hour 0.
        {{0, 0, 0, 0, 0, 0, 0, 0, 0}, {8, 7, 6, 5, 4, 3, 2, 1, 0}},
        {{8, 7, 6, 5, 4, 3, 2, 1, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        // 8 -> entry 3; 7: 5th free after 3 wraps to 0; 6 -> 1; 5 -> 2; 4 -> 6; 3 -> 8;
        // 2 wraps to 4; 1 -> 7; 0 -> 5.
        {{3, 5, 0, 6, 2, 1, 0, 1, 0}, {7, 6, 5, 8, 2, 0, 4, 1, 3}},
        {{9 + 3, 8 + 5, 7, 6 + 6, 5 + 2, 4 + 1, 3, 2 + 1, 1}, {7, 6, 5, 8, 2, 0, 4, 1, 3}},
    };
    for (const Case& c : cases) {
        std::vector<int> draws(64, 0);
        draws.insert(draws.end(), c.draws.begin(), c.draws.end());
        test::ScriptedRandom random(draws);
        form_->SlotTally[4] = -3;
        form_->SpawnCooldown = 5;
        form_->GenerateDailyDemand();
        EXPECT_TRUE(random.Done());
        std::array<int, 9> order{};
        for (int j = 0; j < 9; ++j) order[j] = form_->HourOrder[j];
        EXPECT_EQ(order, c.order);
        std::array<int, 9> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::array<int, 9>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
        for (int j = 0; j < 9; ++j) EXPECT_EQ(form_->HourRemaining[j], 64);
        EXPECT_EQ(form_->SlotTally[4], 0);
        EXPECT_EQ(form_->SpawnCooldown, 0u);
    }
}

// --- an open hour ----------------------------------------------------------------

TEST_F(DemandTest, ScriptedOpenHourInFinishMode) {
    const int a = 3, c = 14, b = 20;  // prices 120, 100, 200
    Stock(a, 3);
    Stock(c, 1);
    Stock(b, 5);
    SetSlotItem(2, a);
    SetSlotItem(3, c);
    CreateShelfSlots();
    SetColumn(12, 4, {{a, 2}, {b, 1}});
    const int visitorsBefore = DailyVisitors(1);

    test::ScriptedRandom random({
        0, 1,        // goods a (first row left), figure 7
        0, 2,        // goods a again (its row now exhausted), figure 8
        0, 0, 3, 5,  // goods b, not on display: uses 1 of its 1; figure 9, walks slot 5's route
        1,           // the first customer takes no second item
        0,           // the second one also takes from slot 3 (slot 2 only looks at the next slot)
    });
    EXPECT_LT(FinishHour(), 100000);
    EXPECT_TRUE(random.Done());

    EXPECT_EQ(form_->HourRemaining[2], -1);
    EXPECT_EQ(form_->CustomerCount(), 0);
    EXPECT_EQ(GameMoney(), 1000 + 120 + 120 + 100);
    EXPECT_EQ(DailyRevenue(a, 1), 240);
    EXPECT_EQ(DailyRevenue(c, 1), 100);
    EXPECT_EQ(DailySoldCount(a, 1), 2);
    EXPECT_EQ(DailySoldCount(c, 1), 1);
    EXPECT_EQ(DailySoldCount(b, 1), 0);
    EXPECT_EQ(DailyVisitors(1), visitorsBefore + 3);
    EXPECT_EQ(g_seen.visitors, 3);
    EXPECT_EQ(ItemStock(a), 1);
    EXPECT_EQ(ItemStock(c), 0);
    EXPECT_EQ(ItemStock(b), 5);
    EXPECT_EQ(ShelfSlots[2]->Sprite()->Frame(), ItemShelfRow(a) * 5 + 1);
    EXPECT_EQ(ShelfSlots[3]->Sprite()->Frame(), ItemShelfRow(c) * 5 + 0);
    EXPECT_EQ(form_->SlotTally[2], 1);
    EXPECT_EQ(form_->SlotTally[3], 1);
    EXPECT_EQ(RepDecayCount(), 1);
    EXPECT_EQ(CustomerMessage(0), b + 64);
    EXPECT_EQ(std::count(g_seen.slotRows.begin(), g_seen.slotRows.end(), 2), 2);
    EXPECT_EQ(std::count(g_seen.slotRows.begin(), g_seen.slotRows.end(), 3), 1);
    // The bell rang once for the hour; nobody left alone, so no farewell; the door is shut.
    EXPECT_EQ(g_seen.sounds, std::vector<int>{66});
    EXPECT_FALSE(door_->IsAnimating());
    EXPECT_EQ(door_->Frame(), 0);
    EXPECT_FALSE(form_->SpawnHourlyCustomers(true));
}

TEST_F(DemandTest, EveryRouteTakesFacingItsShelfAndPaysFacingTheCounter) {
    test::ScriptedRandom random({}, 1);  // figure 7, never a second item
    for (int slot = 0; slot < kExhibitionSlots; ++slot) {
        SetSlotItem(slot, item::VigourScentBottle);
        Stock(0, 9);
        ASSERT_TRUE(form_->AddCustomer(slot, 0));
        Figure* f = form_->Customer(0);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(CellOf(*f), (Cell{4, 0}));
        bool took = false, paid = false;
        for (int tick = 0; tick < 500 && form_->Customer(0); ++tick) {
            f = form_->Customer(0);
            if (f->MoveMode == 0 && CustomerRoutes[f->RouteStep] == 13) {
                EXPECT_EQ(Ahead(*f), (Cell{kShelfCells[slot].dx, kShelfCells[slot].dy}))
                    << "slot " << slot;
                took = true;
            }
            if (f->MoveMode == 0 && CustomerRoutes[f->RouteStep] == 14) {
                EXPECT_EQ(Ahead(*f), (Cell{5, 4})) << "slot " << slot;  // the counter
                paid = true;
            }
            if (f->MoveMode == 0 && CustomerRoutes[f->RouteStep] == 18) {
                EXPECT_EQ(CellOf(*f), (Cell{4, 0})) << "slot " << slot;  // back at the door
            }
            form_->UpdateCustomers(false);
        }
        EXPECT_TRUE(took && paid) << "slot " << slot;
        EXPECT_EQ(form_->Customer(0), nullptr) << "slot " << slot;
        EXPECT_EQ(ItemStock(item::VigourScentBottle), 8);
        SetSlotItem(slot, -1);
    }
}

TEST_F(DemandTest, NeighbourTakeAcrossEverySlot) {
    // With the second-take draw forced: which neighbour a customer of each slot tries,
    // by the direction draw where the slot has a choice.
    struct Case {
        int slot, directionDraw, neighbour;  // directionDraw -1: not drawn; neighbour -1: none
    } cases[] = {
        {0, -1, -1}, {1, -1, -1}, {2, -1, 3}, {3, 0, 4}, {3, 1, 2}, {4, 0, 5}, {4, 1, 3},
        {5, -1, 4},  {6, -1, 7},  {7, 0, 8},  {7, 1, 6}, {8, 0, 9}, {8, 1, 7}, {9, -1, 8},
    };
    for (const Case& c : cases) {
        for (int s = 0; s < kExhibitionSlots; ++s) {
            SetSlotItem(s, s);
            Stock(s, 5);
        }
        std::fill(std::begin(form_->SlotTally), std::end(form_->SlotTally), 0);
        std::vector<int> draws = {0};          // figure
        if (c.slot >= 2) draws.push_back(10);  // 10 % 10 = 0: also a neighbour
        if (c.directionDraw >= 0) draws.push_back(c.directionDraw);
        test::ScriptedRandom random(draws);
        ASSERT_TRUE(form_->AddCustomer(c.slot, c.slot));
        Figure* f = form_->Customer(0);
        f->RouteStep = c.slot * kRouteLength;
        while (CustomerRoutes[f->RouteStep] != 13) ++f->RouteStep;
        form_->UpdateCustomers(false);
        EXPECT_TRUE(random.Done()) << "slot " << c.slot;
        for (int s = 0; s < kExhibitionSlots; ++s) {
            const bool taken = s == c.slot || s == c.neighbour;
            EXPECT_EQ(ItemStock(s), taken ? 4 : 5) << "slot " << c.slot << " item " << s;
            EXPECT_EQ(form_->SlotTally[s], taken ? 1 : 0) << "slot " << c.slot << " tally " << s;
        }
        const int outcome = c.neighbour < 0 ? 0 : c.neighbour > c.slot ? 1 : 2;
        EXPECT_EQ((f->Target >> 8) & 0xFF, outcome) << "slot " << c.slot;
        EXPECT_EQ(f->Target & 0xFF, c.slot);
        form_->ClearCustomers();
    }
}

TEST_F(DemandTest, GoneItemsDisappointAndTalliesSaturate) {
    SetSlotItem(4, 6);
    Stock(6, 1);
    SetSlotItem(5, item::ComfortBath);
    Stock(7, 0);
    SetSlotItem(3, item::FloralBath);
    Stock(8, 2);
    // A neighbour take that fails marks the neighbour, not the customer.
    test::ScriptedRandom random(
        {0, 0, 0});  // figure; a neighbour too; d = 1: slot 5, which is empty
    ASSERT_TRUE(form_->AddCustomer(4, 6));
    Figure* f = form_->Customer(0);
    while (CustomerRoutes[f->RouteStep] != 13) ++f->RouteStep;
    form_->UpdateCustomers(false);
    EXPECT_EQ((f->Target >> 8) & 0xFF, 0);
    EXPECT_EQ(form_->SlotTally[4], 1);
    EXPECT_EQ(form_->SlotTally[5], -1);
    EXPECT_TRUE(random.Done());

    // The next customer for slot 4 finds it gone: balloon 0 at the counter, the goods
    // remembered, no sale; the tally drops even after the earlier sale.
    random.Script({0});
    ASSERT_TRUE(form_->AddCustomer(4, 6));
    Figure* g = form_->Customer(1);
    while (CustomerRoutes[g->RouteStep] != 13) ++g->RouteStep;
    form_->Customers[0].reset();
    form_->UpdateCustomers(false);
    EXPECT_EQ((g->Target >> 8) & 0xFF, kTakeGone);
    EXPECT_EQ(form_->SlotTally[4], 0);
    while (CustomerRoutes[g->RouteStep] != 14) ++g->RouteStep;
    g->MoveMode = 0;
    const int money = GameMoney();
    form_->UpdateCustomers(false);
    EXPECT_EQ(GameMoney(), money);
    ASSERT_TRUE(form_->Balloon);
    EXPECT_EQ(form_->Balloon->Frame(), 0);
    EXPECT_EQ(form_->BalloonTicks, 4u);  // the update that showed it counts
    EXPECT_EQ(CustomerMessage(0), 6);
    EXPECT_TRUE(random.Done());

    // An empty slot: the take fails (no stock is touched), the sale pays nothing.
    EXPECT_FALSE(form_->CustomerTakeItem(0, true));
    EXPECT_EQ(form_->SlotTally[0], -1);
    form_->SettleSale(0);
    EXPECT_EQ(GameMoney(), money);
    // A tally saturates.
    for (int n = 0; n < 300; ++n) form_->CustomerTakeItem(5, true);
    EXPECT_EQ(form_->SlotTally[5], -128);
    EXPECT_FALSE(form_->CustomerTakeItem(kExhibitionSlots, true));
}

TEST_F(DemandTest, BalloonGoesAfterFiveUpdates) {
    test::ScriptedRandom random({0, 0});  // figure, route of slot 0
    ASSERT_TRUE(form_->AddCustomer(kNotOnDisplay, 30));
    Figure* f = form_->Customer(0);
    EXPECT_EQ(f->RouteStep, 0);
    while (CustomerRoutes[f->RouteStep] != 14) ++f->RouteStep;
    form_->UpdateCustomers(false);
    ASSERT_TRUE(form_->Balloon);
    EXPECT_EQ(form_->Balloon->Frame(), 1);
    EXPECT_EQ(RepDecayCount(), 1);
    EXPECT_EQ(CustomerMessage(0), 30 + 64);
    // Five updates in all, counting the one that showed it.
    for (int n = 0; n < 3; ++n) form_->UpdateCustomers(false);
    EXPECT_TRUE(form_->Balloon);
    SpritesDirty = false;
    form_->Customers[0].reset();
    form_->UpdateCustomers(false);
    EXPECT_FALSE(form_->Balloon);
    EXPECT_TRUE(SpritesDirty);
}

TEST_F(DemandTest, NoFreePlaceKeepsTheDemand) {
    SetSlotItem(6, item::FreshBath);
    Stock(9, 5);
    SetColumn(12, 0, {{9, 3}});
    test::ScriptedRandom random({}, 0);
    for (int n = 0; n < kCustomerPlaces; ++n) ASSERT_TRUE(form_->AddCustomer(6, 9));
    EXPECT_FALSE(form_->AddCustomer(6, 9));
    const std::size_t used = random.Count();
    form_->SpawnCooldown = 0;
    EXPECT_TRUE(form_->SpawnHourlyCustomers(false));
    EXPECT_EQ(random.Count(), used + 1);  // the row draw only: no figure was made
    EXPECT_EQ(form_->DemandTable[9][0], 3);
    EXPECT_EQ(form_->HourRemaining[2], 1);
}

TEST_F(DemandTest, NoCustomersOutsideOpenHours) {
    SetColumn(12, 0, {{9, 3}});
    test::ScriptedRandom random(std::vector<int>{});  // no draw at all
    g_seen.open = false;
    EXPECT_FALSE(form_->SpawnHourlyCustomers(false));
    g_seen.open = true;
    for (int hour : {9, 19, 23}) {
        SetGameHour(hour);
        EXPECT_FALSE(form_->SpawnHourlyCustomers(true));
    }
    SetGameHour(12);
    form_->HourRemaining[2] = -1;
    EXPECT_FALSE(form_->SpawnHourlyCustomers(true));
    g_DemandHooks.IsShopOpen = nullptr;  // no shop screen: closed
    form_->HourRemaining[2] = 1;
    EXPECT_FALSE(form_->SpawnHourlyCustomers(true));
}

// --- the evening ---------------------------------------------------------------------

TEST_F(DemandTest, EveningSeedsAndReputation) {
    const int g0 = 10, g1 = 11, g4 = 12, g5 = 13, g6 = 15;
    SetSlotItem(0, g0);
    SetSlotItem(1, g1);
    SetSlotItem(4, g4);
    SetSlotItem(5, g5);
    SetSlotItem(6, g6);
    SetSlotItem(2, item::FloraeFlowers);  // a material: no demand model
    form_->SlotTally[0] = 1;
    form_->SlotTally[1] = 1;
    form_->SlotTally[4] = 1;
    form_->SlotTally[5] = -2;
    form_->SlotTally[6] = 0;
    form_->SlotTally[7] = 1;  // an empty slot
    form_->SlotTally[2] = 1;
    SetReputation(30);
    SetRepDecayCount(7);
    // Slots 9 down to 0: slot 5 an immune cell, slot 4 one want, slot 1 two, slot 0
    // three; then the daily update, where no cell spreads (99 % 100 is above every rate).
    test::ScriptedRandom random({5, 4, 10, 11, 20, 21, 22}, 99);
    form_->SettleDailyFashion();
    EXPECT_EQ(random.Used(), 7u);
    EXPECT_EQ(Fashions[g5].CellState(5), 2);
    EXPECT_EQ(Fashions[g4].CellState(4), 1);
    EXPECT_EQ(Fashions[g1].Popularity(), 2);
    EXPECT_EQ(Fashions[g0].Popularity(), 3);
    EXPECT_EQ(Fashions[g0].CellState(20), 1);
    EXPECT_EQ(Fashions[g6].Popularity(), 0);
    EXPECT_EQ(GameReputation(), 29);  // once for any negative tally
    EXPECT_EQ(RepDecayCount(), 7);
    for (int s = 0; s < kExhibitionSlots; ++s) EXPECT_EQ(form_->SlotTally[s], 0);
    // The bargain slot is never made immune.
    form_->SlotTally[0] = -1;
    random.Script({}, 99);
    form_->SettleDailyFashion();
    EXPECT_EQ(Fashions[g0].CellState(0), 0);
    EXPECT_EQ(GameReputation(), 28);
}

TEST_F(DemandTest, EightDisappointedCustomersCostAPointOfReputation) {
    test::ScriptedRandom random({}, 3);  // figure 9, slot 3's route
    SetReputation(50);
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(RepDecayCount(), n);
        ASSERT_TRUE(form_->AddCustomer(kNotOnDisplay, 40));
        int ticks = 0;
        while (form_->UpdateCustomers(true) && ++ticks < 1000) {
        }
        EXPECT_EQ(form_->CustomerCount(), 0);
    }
    EXPECT_EQ(RepDecayCount(), 8);
    random.Script({}, 99);
    form_->SettleDailyFashion();
    EXPECT_EQ(RepDecayCount(), 0);
    EXPECT_EQ(GameReputation(), 49);
    form_->SettleDailyFashion();
    EXPECT_EQ(GameReputation(), 49);
}

// --- story visitors -------------------------------------------------------------------

TEST_F(DemandTest, FinishLoopEndsWithAVisitorWaiting) {
    g_ClockHooks.SetShopOpen = [] { g_seen.open = true; };
    g_ClockHooks.SetShopClosed = [] { g_seen.open = false; };
    SetColumn(12, 0, {});
    EXPECT_TRUE(form_->CanEventVisitorEnter());
    form_->AddEventVisitor(3);
    EXPECT_EQ(form_->VisitorFlag, 1u);
    EXPECT_FALSE(form_->CanEventVisitorEnter());
    EXPECT_EQ(form_->Customer(0)->Sprite()->Sheet(), 4);
    form_->AddShopVisitor();  // place 0 is taken: nothing
    EXPECT_EQ(form_->Customer(0)->Sprite()->Sheet(), 4);

    // The clock's finish loop ends, the visitor waits on; then the hour changes.
    ASSERT_LT(FinishHour(), 1000);
    EXPECT_EQ(form_->HourRemaining[2], -1);
    AdvanceHour();
    EXPECT_EQ(GameHour(), 13);
    ASSERT_NE(form_->Customer(0), nullptr);
    EXPECT_EQ(form_->VisitorFlag, 2u);
    EXPECT_TRUE(form_->CanEventVisitorEnter());
    EXPECT_EQ(g_seen.toCounter, 1);
    EXPECT_EQ(g_seen.hideMixing, 1);
    EXPECT_EQ(CellOf(*form_->Customer(0)), (Cell{6, 3}));
    EXPECT_EQ(Ahead(*form_->Customer(0)), (Cell{6, 4}));  // where the heroine serves
    EXPECT_EQ(form_->DoorBellRung, 0);
    // Outside the finish loop the waiting visitor keeps the shop busy, without a redraw.
    SpritesDirty = false;
    EXPECT_TRUE(form_->UpdateCustomers(false));
    EXPECT_FALSE(SpritesDirty);
    g_seen.walkState = 3;
    EXPECT_FALSE(form_->CanEventVisitorEnter());
    g_seen.walkState = -1;

    // Sent away, the visitor walks out and the heroine goes back to work.
    form_->SendEventVisitorAway();
    EXPECT_EQ(form_->VisitorFlag, 0u);
    int ticks = 0;
    while (form_->Customer(0) && ++ticks < 1000) form_->UpdateCustomers(false);
    EXPECT_EQ(form_->Customer(0), nullptr);
    EXPECT_EQ(g_seen.backToWork, 1);
    EXPECT_EQ(g_seen.toCounter, 1);
    // In at the door with the bell; out alone with the farewell, and the bell of the new hour.
    EXPECT_EQ(g_seen.sounds, (std::vector<int>{66, 67, 66}));
}

TEST_F(DemandTest, ShopVisitorWaitsAndCanBeDropped) {
    SetColumn(12, 0, {});
    form_->AddShopVisitor();
    ASSERT_NE(form_->Customer(0), nullptr);
    EXPECT_EQ(form_->Customer(0)->Sprite()->Sheet(), 2);
    EXPECT_EQ(CellOf(*form_->Customer(0)), (Cell{0, 7}));
    EXPECT_LT(FinishHour(), 1000);
    EXPECT_EQ(CellOf(*form_->Customer(0)), (Cell{3, 7}));
    EXPECT_EQ(form_->VisitorFlag, 2u);
    EXPECT_TRUE(g_seen.sounds.empty());  // no door on this side
    form_->DropEventVisitor();
    EXPECT_EQ(form_->Customer(0), nullptr);
    EXPECT_EQ(form_->VisitorFlag, 0u);
    // A customer in place 0 keeps a visitor out.
    test::ScriptedRandom random({}, 0);
    SetSlotItem(2, item::VigourScentBottle);
    ASSERT_TRUE(form_->AddCustomer(2, 0));
    form_->AddEventVisitor(3);
    EXPECT_EQ(form_->VisitorFlag, 0u);
    EXPECT_EQ(form_->Customer(0)->RouteStep, 2 * kRouteLength);
}

// --- clearing ---------------------------------------------------------------------------

TEST_F(DemandTest, LoadedGameOnARestDaySettlesNothingStale) {
    g_ClockHooks.SetShopOpen = [] { g_seen.open = true; };
    g_ClockHooks.SetShopClosed = [] { g_seen.open = false; };
    // A game saved at 18:00 of a rest day, with goods on display.
    SetGameDay(11);
    SetGameHour(18);
    SetSlotItem(2, item::FloraePerfume);
    SetSlotItem(3, 6);
    SetSlotItem(1, item::ComfortBath);
    std::vector<std::uint8_t> image(kGameStateSize), after(kGameStateSize);
    WriteGameStateImage(image.data());
    Fashion saved[kGoodsCount];
    std::copy(std::begin(Fashions), std::end(Fashions), saved);

    auto loadAndRunToEvening = [&](std::vector<std::uint8_t>* out) {
        ReadGameStateImage(image.data());
        std::copy(std::begin(saved), std::end(saved), Fashions);
        form_->ClearCustomers();  // as loading a game does
        ui::Srand(99);
        AdvanceHour();
        EXPECT_EQ(GameHour(), 19);
        WriteGameStateImage(out->data());
    };
    std::vector<std::uint8_t> fresh(kGameStateSize);
    loadAndRunToEvening(&fresh);

    // The previous game sold and disappointed at those slots and has demand left.
    SetGameDay(10);
    SetGameHour(12);
    {
        test::ScriptedRandom random({}, 0);
        form_->GenerateDailyDemand();
    }
    form_->SlotTally[2] = 1;
    form_->SlotTally[3] = -1;
    form_->SlotTally[1] = 1;
    form_->AddEventVisitor(3);
    loadAndRunToEvening(&after);
    EXPECT_EQ(after, fresh);
    for (int g = 0; g < kGoodsCount; ++g)
        EXPECT_EQ(Fashions[g].Popularity(), saved[g].Popularity()) << g;
    EXPECT_EQ(form_->CustomerCount(), 0);
    EXPECT_EQ(form_->VisitorFlag, 0u);
    EXPECT_TRUE(form_->CanEventVisitorEnter());
    // And on an open day loaded mid-hour, no stale customer walks in.
    SetGameDay(12);
    SetGameHour(12);
    g_seen.open = true;
    EXPECT_FALSE(form_->SpawnHourlyCustomers(true));
}

}  // namespace

namespace {

// The kinds of customer figures grow with reputation: 2 kinds below 10, two more
// for every 10 points, at most 10 (figures 6..15, sprite sheets 7..16).
TEST_F(DemandTest, FigureKindsGrowWithReputation) {
    const int a = 3;
    const struct {
        int reputation, draw, sheet;
    } cases[] = {
        {0, 5, 8},     // 2 kinds: 6 + 5 % 2
        {9, 2, 7},     // still 2
        {10, 7, 10},   // 4 kinds: 6 + 7 % 4
        {30, 13, 12},  // 8 kinds: 6 + 13 % 8
        {40, 19, 16},  // 10 kinds: 6 + 19 % 10
        {100, 9, 16},  // never more than 10
    };
    for (const auto& c : cases) {
        form_->ClearCustomers();
        SetReputation(c.reputation);
        Stock(a, 3);
        SetSlotItem(2, a);
        SetColumn(12, 4, {{a, 1}});
        test::ScriptedRandom random({0, c.draw}, 1);  // the goods row, the figure
        form_->SpawnHourlyCustomers(false);
        const Figure* f = nullptr;
        for (int p = 0; p < kCustomerPlaces && !f; ++p) f = form_->Customer(p);
        ASSERT_NE(f, nullptr) << c.reputation;
        EXPECT_EQ(f->Sprite()->Sheet(), c.sheet) << c.reputation;
    }
}

}  // namespace
