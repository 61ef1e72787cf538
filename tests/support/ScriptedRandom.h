#pragma once
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "shop/GameState.h"

namespace test {

// Puts a scripted sequence of draws in place of the runtime generator for the
// game rules. Running past the script fails the test (and draws 0), so a test
// also proves how many draws a rule makes. With a fill value the script goes
// on with that value instead.
class ScriptedRandom {
public:
    explicit ScriptedRandom(std::vector<int> draws = {}, int fill = -1) {
        s_draws = std::move(draws);
        s_next = 0;
        s_fill = fill;
        SetRandomSource(&Draw);
    }
    ~ScriptedRandom() { SetRandomSource(nullptr); }
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;

    void Script(std::vector<int> draws, int fill = -1) {
        s_draws = std::move(draws);
        s_next = 0;
        s_fill = fill;
        s_count = 0;
    }
    std::size_t Used() const { return s_next; }
    std::size_t Count() const { return s_count; }
    bool Done() const { return s_next == s_draws.size(); }

private:
    static int Draw() {
        ++s_count;
        if (s_next < s_draws.size()) return s_draws[s_next++];
        if (s_fill >= 0) return s_fill;
        ADD_FAILURE() << "more random draws than scripted (" << s_draws.size() << ")";
        return 0;
    }
    static inline std::vector<int> s_draws;
    static inline std::size_t s_next = 0;
    static inline std::size_t s_count = 0;
    static inline int s_fill = -1;
};

}  // namespace test
