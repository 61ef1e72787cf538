#include "bench/simyear/SimYear.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shop/GameState.h"

namespace {

std::string RunSimYear(std::initializer_list<const char*> args) {
    std::vector<char*> argv{const_cast<char*>("simyear")};
    for (const char* a : args) argv.push_back(const_cast<char*>(a));
    std::FILE* f = std::tmpfile();
    EXPECT_NE(f, nullptr);
    if (!f) return {};
    int rc = SimYear(static_cast<int>(argv.size()), argv.data(), f);
    EXPECT_EQ(rc, 0);
    std::rewind(f);
    std::string out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

}  // namespace

TEST(SimYear, ShortRunMatchesTheCommittedLines) {
    std::string out = RunSimYear({"--seed", "1", "--days", "30"});
    std::string path = std::string(LUMIA_SOURCE_DIR) + "/tests/shop/data/simyear_seed1_days30.txt";
    if (const char* u = std::getenv("UPDATE_GOLDEN"); u && std::string(u) == "1") {
        std::ofstream(path, std::ios::binary) << out;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(out, expected.str());
}

TEST(SimYear, SameSeedSameLinesAndBadArgumentsRefused) {
    std::string a = RunSimYear({"--seed", "77", "--days", "40"});
    EXPECT_EQ(RunSimYear({"--seed", "77", "--days", "40"}), a);
    EXPECT_NE(RunSimYear({"--seed", "78", "--days", "40"}), a);
    EXPECT_EQ(std::count(a.begin(), a.end(), '\n'), 40);

    for (auto args : {std::vector<const char*>{"simyear"},
                      {"simyear", "--seed"},
                      {"simyear", "--seed", "x"},
                      {"simyear", "--seed", "1", "--days", "0"},
                      {"simyear", "--seed", "1", "--days", "289"},
                      {"simyear", "--seed", "1", "--bogus", "2"},
                      {"simyear", "--seed", "1", "--orders", "all"},
                      {"simyear", "--seed", "1", "--orders"}}) {
        EXPECT_EQ(SimYear(static_cast<int>(args.size()), const_cast<char**>(args.data()), stdout),
                  2);
    }
}

TEST(SimYear, WholeYearSellsTheSameOnEveryRun) {
    std::string a = RunSimYear({"--seed", "5"});
    EXPECT_EQ(RunSimYear({"--seed", "5"}), a);
    EXPECT_EQ(std::count(a.begin(), a.end(), '\n'), kGameDays);
    // Some day sells: its line carries a non-zero sold count.
    std::istringstream lines(a);
    std::string line;
    int soldDays = 0;
    while (std::getline(lines, line)) {
        int day = 0, money = 0, rep = 0, lvl = 0, vis = 0, sold = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "day %d money %d rep %d lvl %d vis %d sold %d", &day,
                              &money, &rep, &lvl, &vis, &sold),
                  6)
            << line;
        EXPECT_LE(sold, vis * 2) << line;  // a customer takes at most two units
        soldDays += sold > 0;
    }
    EXPECT_GT(soldDays, 0);
}

// Without orders the shop's rules run alone: no order is offered all year, and the
// plain policy is the default.
TEST(SimYear, OrdersNoneTakesNoOrders) {
    const std::string none = RunSimYear({"--seed", "1", "--days", "60", "--orders", "none"});
    std::istringstream lines(none);
    for (std::string line; std::getline(lines, line);)
        EXPECT_NE(line.find(" orders 0 off 0 del 0 fail 0"), std::string::npos) << line;
    const std::string plain = RunSimYear({"--seed", "1", "--days", "60"});
    EXPECT_EQ(RunSimYear({"--seed", "1", "--days", "60", "--orders", "plain"}), plain);
    EXPECT_NE(plain, none);
}

// The plain order policy over a year: orders are offered, some delivered, some failed,
// the same on every run of a seed; the tallies only grow, at most four orders are held.
TEST(SimYear, AYearOfOrdersOfferedDeliveredAndFailed) {
    for (const char* seed : {"1", "5"}) {
        SCOPED_TRACE(seed);
        const std::string a = RunSimYear({"--seed", seed});
        EXPECT_EQ(RunSimYear({"--seed", seed}), a);
        std::istringstream lines(a);
        std::string line;
        int held = 0, offered = 0, delivered = 0, failed = 0;
        int lastOffered = 0, lastDelivered = 0, lastFailed = 0;
        while (std::getline(lines, line)) {
            const std::size_t at = line.find(" orders ");
            ASSERT_NE(at, std::string::npos) << line;
            ASSERT_EQ(std::sscanf(line.c_str() + at, " orders %d off %d del %d fail %d", &held,
                                  &offered, &delivered, &failed),
                      4)
                << line;
            EXPECT_GE(held, 0);
            EXPECT_LE(held, 4) << line;
            EXPECT_GE(offered, lastOffered);
            EXPECT_GE(delivered, lastDelivered);
            EXPECT_GE(failed, lastFailed);
            EXPECT_LE(delivered + failed, offered) << line;
            lastOffered = offered;
            lastDelivered = delivered;
            lastFailed = failed;
        }
        EXPECT_GT(offered, 0);
        EXPECT_GT(delivered, 0);
        EXPECT_GT(failed, 0);
        EXPECT_EQ(offered, delivered + failed + held) << "every order ends one way or the other";
    }
}

// A finished mix gains the experience of its batches, as in the real main loop: with
// orders the shopkeeper mixes and the experience climbs; without them it stays put.
TEST(SimYear, AFinishedMixGainsExperience) {
    auto experience = [](const std::string& out) {
        std::vector<int> xp;
        std::istringstream lines(out);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t at = line.find(" xp ");
            EXPECT_NE(at, std::string::npos) << line;
            if (at != std::string::npos) xp.push_back(std::atoi(line.c_str() + at + 4));
        }
        return xp;
    };
    const std::vector<int> mixed = experience(RunSimYear({"--seed", "1", "--days", "60"}));
    ASSERT_EQ(mixed.size(), 60u);
    EXPECT_GT(mixed.back(), mixed.front());
    const std::vector<int> idle =
        experience(RunSimYear({"--seed", "1", "--days", "60", "--orders", "none"}));
    ASSERT_EQ(idle.size(), 60u);
    EXPECT_EQ(idle.back(), idle.front());
}

// The best shelf a player could keep (every goods at hand, the most wanted on the
// slots, none ever sold out), and the known goods mixed at ten units an hour from free
// materials: both earn the weekly reputation faster than the customers of goods not on
// display wear it down, and the reputation passes 40 within the year.
TEST(SimYear, AWellKeptShelfEarnsReputationForty) {
    for (const char* shelf : {"full", "mix"})
        for (const char* seed : {"1", "5"}) {
            SCOPED_TRACE(std::string(shelf) + " " + seed);
            std::istringstream lines(
                RunSimYear({"--seed", seed, "--orders", "none", "--shelf", shelf}));
            int day = -1;
            for (std::string line; std::getline(lines, line);) {
                int d = 0, money = 0, rep = 0;
                ASSERT_EQ(std::sscanf(line.c_str(), "day %d money %d rep %d", &d, &money, &rep), 3);
                if (rep >= 40 && day < 0) day = d;
            }
            EXPECT_GE(day, 0);
            EXPECT_LT(day, 200);
        }
    const char* bad[] = {"simyear", "--seed", "1", "--shelf", "empty"};
    EXPECT_EQ(SimYear(5, const_cast<char**>(bad), stdout), 2);
}
