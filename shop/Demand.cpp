#include "shop/Demand.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Calendar.h"
#include "shop/Demandform.h"
#include "shop/Fashion.h"
#include "shop/Goods.h"

DemandHooks g_DemandHooks;
TDemandForm* DemandForm = nullptr;

// clang-format off
// Each route is padded with 0 (delete the figure) to its 22 instructions.
const std::int8_t CustomerRoutes[kCustomerRouteTable] = {
    // slot 0
    17, 5, 13, 10, 4, 5, 3, 6, 2, 6, 3, 14, 10, 1, 7, 4, 5, 18, 1, 0, 0, 0,
    // slot 1
    17, 4, 5, 3, 7, 13, 10, 2, 6, 3, 14, 10, 1, 7, 4, 5, 18, 1, 0, 0, 0, 0,
    // slot 2
    17, 2, 6, 3, 7, 2, 13, 10, 4, 5, 3, 10, 14, 1, 7, 4, 5, 18, 1, 0, 0, 0,
    // slot 3
    17, 2, 6, 3, 6, 2, 13, 10, 3, 5, 4, 5, 3, 10, 14, 1, 7, 4, 5, 18, 1, 0,
    // slot 4
    17, 2, 6, 3, 5, 2, 13, 10, 3, 6, 4, 5, 3, 10, 14, 1, 7, 4, 5, 18, 1, 0,
    // slot 5
    17, 2, 6, 13, 10, 3, 7, 4, 5, 3, 10, 14, 1, 7, 4, 5, 18, 1, 0, 0, 0, 0,
    // slot 6
    17, 4, 6, 3, 7, 4, 13, 10, 2, 7, 3, 10, 14, 1, 7, 4, 5, 18, 1, 0, 0, 0,
    // slot 7
    17, 4, 6, 3, 6, 4, 13, 10, 3, 5, 2, 7, 3, 10, 14, 1, 7, 4, 5, 18, 1, 0,
    // slot 8
    17, 4, 6, 3, 5, 4, 13, 10, 3, 6, 2, 7, 3, 10, 14, 1, 7, 4, 5, 18, 1, 0,
    // slot 9
    17, 4, 6, 13, 10, 3, 7, 2, 7, 3, 10, 14, 1, 7, 4, 5, 18, 1, 0, 0, 0, 0,
    // the event visitor
    17, 2, 6, 3, 7, 15, 1, 7, 4, 6, 18, 1, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // the shop visitor
    7, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};
// clang-format on

namespace {

enum RouteCode {
    kDelete = 0,
    kTake = 13,
    kPay = 14,
    kWaitForStory = 15,
    kBackToWork = 16,
    kDoor = 17,
    kLeave = 18,
};

constexpr int kDoorBellSound = 66;
constexpr int kFarewellSound = 67;
constexpr int kSpawnCooldown = 8;
constexpr int kBalloonUpdates = 5;
constexpr int kFrameGone = 0;          // balloon: the wanted item was gone
constexpr int kFrameNotOnDisplay = 1;  // balloon: the goods was not on display

// Screen step signs of a walking figure, by direction.
constexpr FloorStep kWalkSign[4] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};

bool ValidSlot(int slot) { return slot >= 0 && slot < kExhibitionSlots; }
bool IsItem(int item) { return item >= 0 && item < kItemCount; }

bool ShopOpen() { return g_DemandHooks.IsShopOpen && g_DemandHooks.IsShopOpen(); }
bool SceneIdle() { return g_DemandHooks.IsShopSceneIdle && g_DemandHooks.IsShopSceneIdle(); }
void Sound(int n) {
    if (g_DemandHooks.PlaySound) g_DemandHooks.PlaySound(n);
}
SPMan* Door() { return g_DemandHooks.DoorSprite ? g_DemandHooks.DoorSprite() : nullptr; }
template <class F, class... A>
void Call(F* f, A... a) {
    if (f) f(a...);
}

int TakeOutcome(const Figure& c) { return (c.Target >> 8) & 0xFF; }
void SetTakeOutcome(Figure& c, int outcome) {
    c.Target = (c.Target & ~0xFF00) | ((outcome & 0xFF) << 8);
}

// The clock's calls into the customers.
bool ClockSpawn(bool finish) { return DemandForm && DemandForm->SpawnHourlyCustomers(finish); }
void ClockGenerate() {
    if (DemandForm) DemandForm->GenerateDailyDemand();
}
void ClockSettle() {
    if (DemandForm) DemandForm->SettleDailyFashion();
}
void ClockDoorBell() {
    if (DemandForm) DemandForm->ClearDoorBell();
}

}  // namespace

TDemandForm::TDemandForm() {
    ClearCustomers();
    DemandForm = this;
    g_ClockHooks.SpawnHourlyCustomers = &ClockSpawn;
    g_ClockHooks.GenerateDailyDemand = &ClockGenerate;
    g_ClockHooks.SettleDailyFashion = &ClockSettle;
    g_ClockHooks.ClearDoorBell = &ClockDoorBell;
}

TDemandForm::~TDemandForm() {
    if (DemandForm != this) return;
    DemandForm = nullptr;
    if (g_ClockHooks.SpawnHourlyCustomers == &ClockSpawn)
        g_ClockHooks.SpawnHourlyCustomers = nullptr;
    if (g_ClockHooks.GenerateDailyDemand == &ClockGenerate)
        g_ClockHooks.GenerateDailyDemand = nullptr;
    if (g_ClockHooks.SettleDailyFashion == &ClockSettle) g_ClockHooks.SettleDailyFashion = nullptr;
    if (g_ClockHooks.ClearDoorBell == &ClockDoorBell) g_ClockHooks.ClearDoorBell = nullptr;
}

int TDemandForm::CustomerCount() const {
    int n = 0;
    for (const auto& c : Customers) n += c != nullptr;
    return n;
}

// --- the day's demand -----------------------------------------------------------

void TDemandForm::GenerateDailyDemand() {
    const int bargain = SlotItem(0);
    SpawnCooldown = 0;
    std::fill(std::begin(SlotTally), std::end(SlotTally), 0);

    // Popularity times reputation, in hundredths of a customer, spread evenly over
    // the nine columns from a random first one; what a column cannot use carries on.
    // The bargain slot's goods gets a few random customers an hour instead.
    const int reputation = GameReputation();
    for (int g = kGoodsCount - 1; g >= 0; --g) {
        if (g != bargain) {
            const int total = Fashions[g].Popularity() * reputation;
            int h = DrawRandom() % kOpenHours, carry = 0;
            for (int n = 0; n < kOpenHours; ++n) {
                const int x = carry + total / kOpenHours;
                DemandTable[g][h] = static_cast<std::uint8_t>(x / 100);
                carry = x % 100;
                h = (h + 1) % kOpenHours;
            }
        } else {
            const int m = reputation / 20 + 2;
            for (int c = kOpenHours - 1; c >= 0; --c)
                DemandTable[g][c] = static_cast<std::uint8_t>(DrawRandom() % m);
        }
    }

    // The hour order, a shuffle: column k (8 down to 0) goes to the (r + 1)-th entry
    // still free, counting forward from where the previous column went. The count
    // includes the entry the walk starts on; only the first walk (from entry 0) can
    // start on a free entry, so a first draw of 0 puts column 8 in hour 0.
    std::fill(std::begin(HourOrder), std::end(HourOrder), 255);
    int p = 0;
    for (int k = kOpenHours - 1; k >= 0; --k) {
        const int r = DrawRandom() % (k + 1);
        for (int seen = -1;; p = (p + 1) % kOpenHours)
            if (HourOrder[p] == 255 && ++seen == r) break;
        HourOrder[p] = static_cast<std::uint8_t>(k);
    }

    std::fill(std::begin(HourRemaining), std::end(HourRemaining), kGoodsCount);
    if (IsViewVisible()) RedrawView();
}

// --- the hour's customers ---------------------------------------------------------

bool TDemandForm::SpawnHourlyCustomers(bool finish) {
    const int j = GameHour() - 10;
    if (j < 0 || j >= kOpenHours || !ShopOpen() || HourRemaining[j] < 0) return false;

    if (finish)
        SpawnCooldown = 0;
    else if (SpawnCooldown > 0)
        --SpawnCooldown;

    std::int8_t& remaining = HourRemaining[j];
    const int c = HourOrder[j];
    auto exhaust = [&](std::uint8_t& cell) {
        cell = kDemandExhausted;
        --remaining;
    };
    while (remaining > 0 && SpawnCooldown == 0) {
        // The r-th goods (in id order) of the hour's column with demand left.
        const int r = DrawRandom() % remaining;
        int g = -1;
        if (c < kOpenHours)
            for (int k = 0, seen = 0; k < kGoodsCount; ++k)
                if (DemandTable[k][c] != kDemandExhausted && seen++ == r) {
                    g = k;
                    break;
                }
        if (g < 0) {  // the column holds fewer rows than counted: nothing left to draw
            remaining = 0;
            break;
        }
        std::uint8_t& cell = DemandTable[g][c];
        if (cell == 0) {
            exhaust(cell);
            continue;
        }
        const int slot = ItemSlot(g);
        if (slot != -1) {
            if (!AddCustomer(slot, g)) break;  // no free place: the demand waits
            if (--cell == 0) exhaust(cell);
            break;
        }
        // Not on display: one disappointed customer uses up 1..10 of the demand.
        const int t = DrawRandom() % 10 + 1;
        if (cell < t) {
            exhaust(cell);
            continue;
        }
        cell = static_cast<std::uint8_t>(cell - t);
        if (cell == 0) exhaust(cell);
        AddCustomer(kNotOnDisplay, g);
        break;
    }

    const bool busy = UpdateCustomers(finish);
    if (!busy && remaining == 0) remaining = -1;  // the hour is done
    if (IsViewVisible()) RedrawView();
    return true;
}

bool TDemandForm::AddCustomer(int slot, int goods) {
    if (!ValidSlot(slot) && slot != kNotOnDisplay) return false;
    int place = 0;
    while (place < kCustomerPlaces && Customers[place]) ++place;
    if (place == kCustomerPlaces) return false;

    if (slot == kNotOnDisplay) AddCustomerMessage(goods + kGoodsCount);
    if (ui::ActiveTranscript()) {
        const char* name = ItemName(goods);
        ui::Record("customer", ui::Big5ToUtf8(std::string(name, strnlen(name, 21))) +
                                   (slot == kNotOnDisplay ? std::string(" (not on display)")
                                                          : " at slot " + std::to_string(slot)));
    }
    // A better reputation brings more kinds of customers (figures 6..15).
    const int kinds = std::min(GameReputation() / 10 * 2 + 2, 10);
    const int figure = 6 + DrawRandom() % kinds;
    auto c = std::make_unique<Figure>(figure, 4, 2, 0);
    c->Target = slot;
    c->RouteStep = (slot == kNotOnDisplay ? DrawRandom() % 10 : slot) * kRouteLength;
    Customers[place] = std::move(c);

    SpawnCooldown = kSpawnCooldown;
    AddVisitor();
    Call(g_DemandHooks.RefreshVisitors);
    return true;
}

bool TDemandForm::UpdateCustomers(bool finish) {
    bool busy = false, redraw = false, present = false;
    for (int place = kCustomerPlaces - 1; place >= 0; --place) {
        Figure* c = Customers[place].get();
        if (!c) continue;
        present = true;
        bool parked = false;
        switch (c->MoveMode) {
            case 0:
                parked = !RunInstruction(place);
                break;
            case 1: {  // walking: three ticks make one cell of (34, 17)
                const FloorStep s = kWalkSign[c->Direction() & 3];
                c->WaitTicks -= 1;
                if (c->WaitTicks % 3 == 2)
                    c->MoveBy(10 * s.dx, 5 * s.dy);
                else
                    c->MoveBy(12 * s.dx, 6 * s.dy);
                if (c->WaitTicks <= 0) {
                    c->MoveMode = 0;
                    c->StopWalking();
                }
                break;
            }
            default:  // pausing: the ticks run out, then one more tick to end the pause
                if (c->WaitTicks > 0)
                    c->WaitTicks -= 1;
                else
                    c->MoveMode = 0;
                break;
        }
        // A visitor parked at the counter asks for no redraw; in finish mode it does
        // not hold the hour open either, since only the story can send it away.
        if (!parked) redraw = true;
        if (!parked || !finish) busy = true;
    }

    if (BalloonTicks > 0 && --BalloonTicks == 0) {
        Balloon.reset();
        redraw = true;
    }
    if (!present) {
        SPMan* door = Door();
        if (door && door->IsAnimating()) {
            if (!finish) {
                redraw = true;
                busy = true;
            } else {
                door->StopAnimation();
                door->SetFrame(0);
            }
        }
    }
    if (redraw) InvalidateSprites();
    return busy;
}

bool TDemandForm::RunInstruction(int place) {
    Figure& c = *Customers[place];
    const int step = c.RouteStep;
    const int code = step >= 0 && step < kCustomerRouteTable ? CustomerRoutes[step] : int{kDelete};
    c.RouteStep = step + 1;

    if (code >= 1 && code <= 4) {
        c.SetDirection(code - 1);
        return true;
    }
    if (code >= 5 && code <= 8) {
        c.WaitTicks = 3 * code - 12;
        c.MoveMode = 1;
        c.StartWalking();
        return true;
    }
    if (code >= 9 && code <= 12) {
        c.WaitTicks = code - 8;
        c.MoveMode = 2;
        c.StopWalking();
        return true;
    }
    const int slot = c.Target & 0xFF;
    switch (code) {
        case kDelete:
            Customers[place].reset();
            break;
        case kTake:
            if (slot == kNotOnDisplay) break;
            if (!CustomerTakeItem(slot, true)) {
                SetTakeOutcome(c, kTakeGone);
                break;
            }
            // Now and then a customer also takes one from a neighbouring slot; slots 2
            // and 6 only look at the next one, 5 and 9 only at the previous one.
            if (slot >= 2 && DrawRandom() % 10 == 0) {
                int d;
                if (slot == 2 || slot == 6)
                    d = 1;
                else if (slot == 5 || slot == 9)
                    d = 2;
                else
                    d = (DrawRandom() & 1) + 1;
                if (CustomerTakeItem(d == 1 ? slot + 1 : slot - 1, true)) SetTakeOutcome(c, d);
            }
            break;
        case kPay: {
            const int outcome = TakeOutcome(c);
            if (slot == kNotOnDisplay) {
                SetRepDecayCount(std::min(RepDecayCount() + 1, 255));
                ShowBalloon(kFrameNotOnDisplay);
            } else if (outcome == kTakeGone) {
                ShowBalloon(kFrameGone);
                if (ValidSlot(slot) && SlotItem(slot) != -1) AddCustomerMessage(SlotItem(slot));
            } else {
                SettleSale(slot);
                if (outcome == 1) SettleSale(slot + 1);
                if (outcome == 2) SettleSale(slot - 1);
            }
            break;
        }
        case kWaitForStory:
            if (VisitorFlag == 1) {
                Call(g_DemandHooks.HideMixingAnimation);
                Call(g_DemandHooks.WalkToCounter);
            }
            if (c.Target == 0) {  // the same instruction again next tick
                c.RouteStep -= 1;
                VisitorFlag = 2;
                return false;
            }
            break;
        case kBackToWork:
            Call(g_DemandHooks.WalkBackToWork);
            break;
        case kLeave:
            if (CustomerCount() == 1 && SceneIdle()) Sound(kFarewellSound);
            OpenDoor();
            break;
        case kDoor:
            OpenDoor();
            break;
        default:
            break;
    }
    return true;
}

void TDemandForm::OpenDoor() {
    if (!DoorBellRung) {
        DoorBellRung = 1;
        if (SceneIdle()) Sound(kDoorBellSound);
    }
    if (SPMan* door = Door()) door->StartAnimation(3, SPM_PING_PONG);
}

void TDemandForm::ShowBalloon(int frame) {
    Balloon = std::make_unique<SPMan>(0, kBalloonSheet, 70, 310, 16, frame);
    Balloon->Show();
    Balloon->SetTransparent();
    BalloonTicks = kBalloonUpdates;
    InvalidateSprites();
}

// --- takes and sales ----------------------------------------------------------------

bool TDemandForm::CustomerTakeItem(int slot, bool tally) {
    if (!ValidSlot(slot)) return false;
    const int item = SlotItem(slot);
    if (IsItem(item) && ItemAvailable(item) > 0) {
        AddItemStock(item, -1);
        RefreshShelfSlot(slot);
        if (tally) SlotTally[slot] = 1;
        return true;
    }
    if (tally && SlotTally[slot] > INT8_MIN) SlotTally[slot] -= 1;
    return false;
}

void TDemandForm::SettleSale(int slot) {
    if (!ValidSlot(slot)) return;
    const int item = SlotItem(slot);
    if (!IsItem(item)) return;
    const int price = SalePrice(slot, item);
    AddMoney(price);
    AddDailyRevenue(item, GameDay(), price);
    AddDailySoldCount(item, GameDay(), 1);
    if (ui::ActiveTranscript()) {
        const char* name = ItemName(item);
        ui::RecordBig5("sale", std::string(name, strnlen(name, 21)) + " " + std::to_string(price) +
                                   " at slot " + std::to_string(slot));
    }
    Call(g_DemandHooks.RefreshSlotRow, slot);
    Call(g_DemandHooks.RefreshRevenue);
    Call(g_DemandHooks.RefreshMoney);
}

// --- the evening ---------------------------------------------------------------------

void TDemandForm::SettleDailyFashion() {
    if (std::any_of(std::begin(SlotTally), std::end(SlotTally),
                    [](std::int8_t t) { return t < 0; }))
        AddReputation(-1);

    // Sales make the goods wanted (more so from the bargain slots); disappointment at
    // an ordinary slot makes the town immune to it for a while.
    for (int slot = kExhibitionSlots - 1; slot >= 0; --slot) {
        const int item = SlotItem(slot);
        if (item < 0 || item >= kGoodsCount) continue;
        if (SlotTally[slot] > 0) {
            const int seeds = slot == 0 ? 3 : slot == 1 ? 2 : 1;
            for (int n = 0; n < seeds; ++n) Fashions[item].SeedWant();
        } else if (SlotTally[slot] < 0 && slot != 0) {
            Fashions[item].SeedImmune();
        }
    }
    std::fill(std::begin(SlotTally), std::end(SlotTally), 0);

    DailyUpdateAllFashions();

    // Customers who found nothing of what they wanted cost reputation, one point
    // for every eight.
    if (RepDecayCount() >= 8) {
        SetRepDecayCount(0);
        AddReputation(-1);
    }
}

// --- clearing -------------------------------------------------------------------------

void TDemandForm::ClearCustomers() {
    for (auto& c : Customers) c.reset();
    Balloon.reset();
    BalloonTicks = 0;
    SpawnCooldown = 0;
    VisitorFlag = 0;
    DoorBellRung = 0;
    // Nothing of the day's demand survives: the hours are done until the next
    // generation, so another game never serves or settles this one's customers.
    for (auto& row : DemandTable) std::fill(std::begin(row), std::end(row), kDemandExhausted);
    for (int j = 0; j < kOpenHours; ++j) HourOrder[j] = static_cast<std::uint8_t>(j);
    std::fill(std::begin(HourRemaining), std::end(HourRemaining), -1);
    std::fill(std::begin(SlotTally), std::end(SlotTally), 0);
    InvalidateSprites();
}

// --- story visitors ---------------------------------------------------------------------

void TDemandForm::AddEventVisitor(int figure) {
    if (Customers[0]) return;
    auto c = std::make_unique<Figure>(figure, 4, 2, 0);
    c->Target = 0;
    c->RouteStep = kEventVisitorRoute;
    Customers[0] = std::move(c);
    VisitorFlag = 1;
}

void TDemandForm::AddShopVisitor() {
    if (Customers[0]) return;
    auto c = std::make_unique<Figure>(1, 0, 1, 7);
    c->Target = 0;
    c->RouteStep = kShopVisitorRoute;
    Customers[0] = std::move(c);
    VisitorFlag = 1;
}

void TDemandForm::SendEventVisitorAway() {
    if (!Customers[0]) return;
    Customers[0]->Target = 1;  // ends the wait at the counter
    VisitorFlag = 0;
}

void TDemandForm::DropEventVisitor() {
    Customers[0].reset();
    VisitorFlag = 0;
    InvalidateSprites();
}

bool TDemandForm::CanEventVisitorEnter() const {
    const int walk = g_DemandHooks.HeroineWalkState ? g_DemandHooks.HeroineWalkState() : -1;
    return walk < 0 && (VisitorFlag == 0 || VisitorFlag == 2);
}
