#include "bench/simyear/SimYear.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Random.h"
#include "shop/Calendar.h"
#include "shop/Catalog.h"
#include "shop/Demand.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "shop/Market.h"
#include "shop/Mixing.h"
#include "story/CustomerRequests.h"
#include "story/Register.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Orders.h"

namespace {

bool ParseInt(const char* s, long long lo, long long hi, long long* out) {
    char* end = nullptr;
    long long v = std::strtoll(s, &end, 10);
    if (!*s || *end || v < lo || v > hi) return false;
    *out = v;
    return true;
}

// The shop's open state, as the shop screen keeps it for the clock.
bool g_shopOpen = false;

// The orders so far: offered (and taken), delivered and failed; and the units and money
// today's deliveries booked as sales.
struct OrderTally {
    int offered = 0, delivered = 0, failed = 0;
    int unitsToday = 0, rewardToday = 0;
};
OrderTally g_orders;

constexpr int kRestWeekday = 5;
constexpr int kGoodsOrder = 0;

bool IsGoods(int item) { return item >= 0 && item < kGoodsCount; }

// Units of each goods the held orders need.
std::array<int, kGoodsCount> OrderNeeds() {
    std::array<int, kGoodsCount> need{};
    for (const OrderSlot& o : Orders)
        if (o.Deadline != 0 && o.Kind == kGoodsOrder && IsGoods(o.Item)) need[o.Item] += o.Quantity;
    return need;
}

// The shopkeeper keeps the stock the held orders need off the counter: each goods'
// reserve is what the orders need, up to the stock.
void KeepStockForOrders() {
    const std::array<int, kGoodsCount> need = OrderNeeds();
    for (int g = 0; g < kGoodsCount; ++g)
        if (ItemStock(g) != kKeyItemStock) SetItemReserve(g, std::min(need[g], ItemStock(g)));
}

// After the evening's orders: when no mixing runs, the first held order short of stock
// is mixed from the materials at hand, as many batches (up to four) as cover it.
void MixForOrders() {
    if (MixHoursLeft() > 0) return;
    const std::array<int, kGoodsCount> need = OrderNeeds();
    for (const OrderSlot& o : Orders) {
        if (o.Deadline == 0 || o.Kind != kGoodsOrder || !IsGoods(o.Item)) continue;
        const int shortBy = need[o.Item] - ItemStock(o.Item);
        if (shortBy <= 0) continue;
        for (int batches = std::min(4, (shortBy + 9) / 10); batches >= 1; --batches) {
            bool enough = true;
            for (int k = 0; k < 3; ++k) {
                const int m = RecipeMaterial(o.Item, k);
                if (m >= 0 && m < kItemCount && ItemStock(m) < batches * RecipeQuantity(o.Item, k))
                    enough = false;
            }
            if (!enough) continue;
            StartMixJob(o.Item, batches, PlannedMixYield(o.Item, batches));
            for (int k = 0; k < 3; ++k) {
                const int m = RecipeMaterial(o.Item, k);
                if (m >= 0 && m < kItemCount) AddItemStock(m, -RecipeQuantity(o.Item, k) * batches);
            }
            return;
        }
    }
}

// Counts a held goods order that is handed over (or not) now.
void Tally(const OrderSlot& o) {
    if (EventServerDbg->CanDeliverOrder(o.Flag)) {
        ++g_orders.delivered;
        g_orders.unitsToday += o.Quantity;
        g_orders.rewardToday += o.Reward;
    } else {
        ++g_orders.failed;
    }
}

// The collection of order k, as its scene does it, without the words.
void Collect(int k) {
    TEventServerDbg& ev = *EventServerDbg;
    const int flag = kFirstOrderFlag + k;
    const int i = ev.FindOrder(flag);
    if (i < 0) return;
    Tally(Orders[i]);
    if (ev.CanDeliverOrder(flag))
        ev.DeliverOrder(flag);
    else
        ev.FailOrder(flag);
    ev.RemoveOrder(flag);
}

// 19:00 in the shop, with the plain policy: every order offered is taken (the offer
// comes only when a slot is free); the customers collect on the deadline day; what is
// due and still held is settled; then mixing for the orders.
void EveningOrders() {
    TEventServerDbg& ev = *EventServerDbg;
    if (!ev.ChkWeekday(kRestWeekday)) {
        for (int k = 0; k < kOfferedOrderCount; ++k) {
            if (!OrderOfferComes(k)) continue;
            ++g_orders.offered;
            ev.AcceptOrder(k);
            ev.SetFlg(flag::OrderTakenToday, true);
        }
        for (int k = 0; k < kOfferedOrderCount; ++k)
            if (OrderCollectionComes(k)) Collect(k);
    }
    // What is still due (on the rest day) is settled without a scene.
    const int today = GameDay();
    for (const OrderSlot& o : Orders)
        if (today != 0 && o.Deadline == today && o.Kind == kGoodsOrder) Tally(o);
    ev.SettleOrders();
    MixForOrders();
}

// The event server's day change, for the orders: the daily flags cleared, the flags
// of the orders due today armed, the overdue dropped.
void OrdersDayChange() {
    TEventServerDbg& ev = *EventServerDbg;
    ev.ClearDailyFlags();
    ev.ArmOrderFlags();
    ev.DropOverdueOrders();
}

int HeldOrders() {
    int n = 0;
    for (const OrderSlot& o : Orders)
        if (o.Deadline != 0) ++n;
    return n;
}

// The day's line: money, reputation, level, visitors, units sold and revenue, the
// three most wanted goods (id and wanting cells, "-" where popularity is 10 or
// less), the market's offers, the orders and the experience towards the next level.
std::string DayLine(int day) {
    int sold = 0, revenue = 0;
    for (int i = 0; i < kItemCount; ++i) {
        sold += DailySoldCount(i, day);
        revenue += DailyRevenue(i, day);
    }
    // The counter's sales; the orders' come on their own.
    sold -= g_orders.unitsToday;
    revenue -= g_orders.rewardToday;
    char buf[256];
    int n = std::snprintf(
        buf, sizeof buf, "day %3d money %7d rep %3d lvl %2d vis %3d sold %3d rev %6d want", day,
        GameMoney(), GameReputation(), GameLevel(), DailyVisitors(day), sold, revenue);
    std::string line(buf, n);
    int top[3];
    TopFashionTrends(top[0], top[1], top[2]);
    for (int g : top) {
        if (g < 0)
            n = std::snprintf(buf, sizeof buf, " -");
        else
            n = std::snprintf(buf, sizeof buf, " %d:%d", g, Fashions[g].Popularity());
        line.append(buf, n);
    }
    line += " market";
    for (int i = 0; i < kMarketOffers; ++i) {
        n = std::snprintf(buf, sizeof buf, " %dx%d", MarketItem(i), MarketStock(i));
        line.append(buf, n);
    }
    n = std::snprintf(buf, sizeof buf, " orders %d off %d del %d fail %d xp %d", HeldOrders(),
                      g_orders.offered, g_orders.delivered, g_orders.failed, GameExperience());
    line.append(buf, n);
    return line;
}

}  // namespace

std::array<int, kExhibitionSlots> PlannedSlots(const std::vector<int>& leaveOff) {
    std::vector<int> goods;
    for (int g = 0; g < kGoodsCount; ++g)
        if (ItemStock(g) != kKeyItemStock && ItemAvailable(g) > 0 &&
            std::find(leaveOff.begin(), leaveOff.end(), g) == leaveOff.end())
            goods.push_back(g);
    std::stable_sort(goods.begin(), goods.end(), [](int a, int b) {
        return Fashions[a].Popularity() > Fashions[b].Popularity();
    });
    constexpr int order[kExhibitionSlots] = {2, 3, 4, 5, 6, 7, 8, 9, 1, 0};
    std::array<int, kExhibitionSlots> slots;
    for (int k = 0; k < kExhibitionSlots; ++k)
        slots[order[k]] = k < static_cast<int>(goods.size()) ? goods[k] : -1;
    return slots;
}

void LayOutSlots() {
    const std::array<int, kExhibitionSlots> slots = PlannedSlots();
    for (int k = 0; k < kExhibitionSlots; ++k) SetSlotItem(k, slots[k]);
}

// The whole run, writing the day lines to out. Returns the exit code.
int SimYear(int argc, char** argv, std::FILE* out) {
    long long seed = -1, days = kGameDays;
    bool orders = true;      // the plain order policy; without it the shop's rules alone
    bool fullShelf = false;  // --shelf full: every goods known, in stock and never sold out
    bool mixShelf = false;   // --shelf mix: the known goods, ten units an hour of mixing
    for (int i = 1; i < argc; ++i) {
        bool ok = i + 1 < argc;
        if (ok && std::strcmp(argv[i], "--seed") == 0)
            ok = ParseInt(argv[++i], 0, 0xFFFFFFFFll, &seed);
        else if (ok && std::strcmp(argv[i], "--days") == 0)
            ok = ParseInt(argv[++i], 1, kGameDays, &days);
        else if (ok && std::strcmp(argv[i], "--orders") == 0) {
            ++i;
            ok = std::strcmp(argv[i], "plain") == 0 || std::strcmp(argv[i], "none") == 0;
            orders = std::strcmp(argv[i], "plain") == 0;
        } else if (ok && std::strcmp(argv[i], "--shelf") == 0) {
            ++i;
            ok = std::strcmp(argv[i], "plain") == 0 || std::strcmp(argv[i], "full") == 0 ||
                 std::strcmp(argv[i], "mix") == 0;
            fullShelf = std::strcmp(argv[i], "full") == 0;
            mixShelf = std::strcmp(argv[i], "mix") == 0;
        } else
            ok = false;
        if (!ok) {
            std::fprintf(stderr,
                         "usage: simyear --seed N [--days D] [--orders plain|none] [--shelf "
                         "plain|full|mix]  "
                         "(N 0..4294967295, D 1..%d)\n",
                         kGameDays);
            return 2;
        }
    }
    if (seed < 0) {
        std::fprintf(stderr,
                     "usage: simyear --seed N [--days D] [--orders plain|none] [--shelf "
                     "plain|full|mix]\n");
        return 2;
    }

    auto start = std::chrono::steady_clock::now();
    // As the program starts: everything zero, so that what a new game carries over
    // from the previous one (the boost countdown, the market) is the same every run.
    g_ClockHooks = {};
    g_DemandHooks = {};
    g_ClockHooks.SetShopOpen = [] { g_shopOpen = true; };
    g_ClockHooks.SetShopClosed = [] { g_shopOpen = false; };
    g_DemandHooks.IsShopOpen = [] { return g_shopOpen; };
    g_shopOpen = false;
    TDemandForm demand;  // installs the customers' clock rules
    g_GameState = GameState{};
    for (Fashion& f : Fashions) f = Fashion();
    // The event server keeps the orders; the heroine stays in the shop.
    GameFlow = new TEvControler();
    EventServerDbg->NewGameReset();
    GameFlow->Place = place::ShopInside;
    ui::Srand(static_cast<std::uint32_t>(seed));
    InitGameState();
    g_orders = OrderTally{};
    for (int d = 0; d < days; ++d) {
        g_orders.unitsToday = g_orders.rewardToday = 0;
        // Every hour of the day, until the clock rolls into the next one.
        while (GameDay() == d) {
            AdvanceHour();
            // A finished mix: the goods into stock and, as the main loop does, the
            // experience of its batches.
            if (MixStep()) {
                AddItemStock(MixItem(), MixResultCount(MixYield(), GameCondition()));
                GameFlow->GainExperience(MixBatchCount());
            }
            if (GameDay() != d) break;
            // The full shelf: the best a player could keep, every goods at hand.
            if (fullShelf && GameDay() == d)
                for (int g = 0; g < kGoodsCount; ++g) {
                    UnlockItem(g);
                    if (ItemStock(g) != kKeyItemStock) SetItemStock(g, 99);
                }
            // Mixing at its best: every hour from 8:00 to 21:00 ten units of the known
            // goods furthest short of two days of its customers, from free materials.
            if (mixShelf && GameDay() == d && GameHour() >= 8 && GameHour() < 22) {
                int best = -1, bestShort = 0;
                for (int g = 0; g < kGoodsCount; ++g) {
                    if (!IsItemUnlocked(g) || ItemStock(g) == kKeyItemStock) continue;
                    const int shortBy =
                        2 * Fashions[g].Popularity() * GameReputation() / 100 + 5 - ItemStock(g);
                    if (shortBy > bestShort) {
                        best = g;
                        bestShort = shortBy;
                    }
                }
                if (best >= 0) AddItemStock(best, 10);
            }
            if (GameHour() == 9) {
                if (orders) KeepStockForOrders();
                LayOutSlots();
            }
            if (GameHour() == 19 && orders) EveningOrders();
        }
        std::fprintf(out, "%s\n", DayLine(d).c_str());
        if (orders) OrdersDayChange();
    }
    delete GameFlow;
    GameFlow = nullptr;

    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "simyear: %lld days in %.1f ms\n", days, ms);
    return 0;
}
