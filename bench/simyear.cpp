// simyear --seed N [--days D]: a new game from seed N, then every hour of D days
// (288 by default: the whole year) through AdvanceHour, with no windows and no
// player. One line per day on stdout, the same on every run and machine; the
// time taken goes to stderr.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Random.h"
#include "shop/Calendar.h"
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

// The day's line: money, reputation, level, the three most wanted goods (id and
// wanting cells, "-" where popularity is 10 or less) and the market's offers.
std::string DayLine(int day) {
    char buf[256];
    int n = std::snprintf(buf, sizeof buf, "day %3d money %7d rep %3d lvl %2d want", day, GameMoney(),
                          GameReputation(), GameLevel());
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
    g_GameState = GameState{};
    for (Fashion& f : Fashions) f = Fashion();
    ui::Srand(static_cast<std::uint32_t>(seed));
    InitGameState();
    for (int d = 0; d < days; ++d) {
        // Every hour of the day, until the clock rolls into the next one.
        while (GameDay() == d) AdvanceHour();
        std::fprintf(out, "%s\n", DayLine(d).c_str());
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "simyear: %lld days in %.1f ms\n", days, ms);
    return 0;
}

#ifndef SIMYEAR_NO_MAIN
int main(int argc, char** argv) { return SimYear(argc, argv, stdout); }
#endif
