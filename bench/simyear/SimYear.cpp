#include "bench/simyear/SimYear.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Random.h"
#include "shop/Calendar.h"
#include "shop/Demand.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "shop/Market.h"

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

// The shopkeeper, at 09:00: the goods with units to sell, the most wanted first,
// go on the full-price slots 2..9, then on the bargain slots 1 and 0.
void LayOutSlots() {
    std::vector<int> goods;
    for (int g = 0; g < kGoodsCount; ++g)
        if (ItemStock(g) != kKeyItemStock && ItemAvailable(g) > 0) goods.push_back(g);
    std::stable_sort(goods.begin(), goods.end(), [](int a, int b) {
        return Fashions[a].Popularity() > Fashions[b].Popularity();
    });
    constexpr int order[kExhibitionSlots] = {2, 3, 4, 5, 6, 7, 8, 9, 1, 0};
    for (int k = 0; k < kExhibitionSlots; ++k)
        SetSlotItem(order[k], k < static_cast<int>(goods.size()) ? goods[k] : -1);
}

// The day's line: money, reputation, level, visitors, units sold and revenue, the
// three most wanted goods (id and wanting cells, "-" where popularity is 10 or
// less) and the market's offers.
std::string DayLine(int day) {
    int sold = 0, revenue = 0;
    for (int i = 0; i < kItemCount; ++i) {
        sold += DailySoldCount(i, day);
        revenue += DailyRevenue(i, day);
    }
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
    return line;
}

}  // namespace

// The whole run, writing the day lines to out. Returns the exit code.
int SimYear(int argc, char** argv, std::FILE* out) {
    long long seed = -1, days = kGameDays;
    for (int i = 1; i < argc; ++i) {
        bool ok = i + 1 < argc;
        if (ok && std::strcmp(argv[i], "--seed") == 0)
            ok = ParseInt(argv[++i], 0, 0xFFFFFFFFll, &seed);
        else if (ok && std::strcmp(argv[i], "--days") == 0)
            ok = ParseInt(argv[++i], 1, kGameDays, &days);
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "usage: simyear --seed N [--days D]  (N 0..4294967295, D 1..%d)\n",
                         kGameDays);
            return 2;
        }
    }
    if (seed < 0) {
        std::fprintf(stderr, "usage: simyear --seed N [--days D]\n");
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
    ui::Srand(static_cast<std::uint32_t>(seed));
    InitGameState();
    for (int d = 0; d < days; ++d) {
        // Every hour of the day, until the clock rolls into the next one.
        while (GameDay() == d) {
            AdvanceHour();
            if (GameHour() == 9) LayOutSlots();
        }
        std::fprintf(out, "%s\n", DayLine(d).c_str());
    }
    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "simyear: %lld days in %.1f ms\n", days, ms);
    return 0;
}
