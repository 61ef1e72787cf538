#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/Random.h"

// The runtime generator (platform/Random.h) followed step by step, so a test can seed it
// for the draws it wants and count the draws the code under test took.
namespace test {

inline std::uint32_t RandStep(std::uint32_t s) { return s * 22695477u + 1u; }

// The per-cent roll (rand() % 100 + 1) of the next draw from state s.
inline int RollFrom(std::uint32_t s) {
    return static_cast<int>((RandStep(s) >> 16) & 0x7FFF) % 100 + 1;
}

// Draws made since the generator stood at `from`; -1 when more than 10000.
inline int DrawsSince(std::uint32_t from) {
    std::uint32_t s = from;
    for (int n = 0; n < 10000; ++n, s = RandStep(s))
        if (s == ui::RandState()) return n;
    return -1;
}

// A seed whose draws go as `outcomes` says, in turn: n > 0 a roll of n or less (a
// chance of n per cent that holds), n < 0 a roll above -n (one that fails).
inline std::uint32_t SeedFor(const std::vector<int>& outcomes) {
    for (std::uint32_t seed = 1; seed < 100000000u; ++seed) {
        std::uint32_t s = seed;
        bool ok = true;
        for (int n : outcomes) {
            const int r = RollFrom(s);
            ok = n > 0 ? r <= n : r > -n;
            if (!ok) break;
            s = RandStep(s);
        }
        if (ok) return seed;
    }
    ADD_FAILURE() << "no seed gives these draws";
    return 1;
}

}  // namespace test
