#include "platform/Timer.h"

#include <algorithm>
#include <vector>

#include "platform/Clock.h"

namespace ui {

// Every live timer in creation order. A handler may create or destroy timers (itself
// too) and may pump, which fires timers again from inside the walk; removal only
// blanks the slot while a walk is under way.
struct TimerList {
    std::vector<Timer*> timers;
    int walking = 0;
    bool holes = false;

    void Add(Timer* t) { timers.push_back(t); }
    void Remove(Timer* t) {
        auto it = std::find(timers.begin(), timers.end(), t);
        if (it == timers.end()) return;
        if (walking > 0) {
            *it = nullptr;
            holes = true;
        } else {
            timers.erase(it);
        }
    }
    void Compact() {
        if (walking == 0 && holes) {
            timers.erase(std::remove(timers.begin(), timers.end(), nullptr), timers.end());
            holes = false;
        }
    }
};

namespace {
TimerList& List() {
    static TimerList list;
    return list;
}
}  // namespace

Timer::Timer() {
    Restart();
    List().Add(this);
}

Timer::~Timer() { List().Remove(this); }

void Timer::Restart() { due_ = GetTickCount() + interval_; }

void Timer::SetInterval(std::uint32_t ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Restart();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Restart();
}

int FireDueTimers() {
    TimerList& list = List();
    int fired = 0;
    ++list.walking;
    struct Leave {
        TimerList& l;
        ~Leave() {
            --l.walking;
            l.Compact();
        }
    } leave{list};
    // Timers created during the walk wait for the next check.
    const std::size_t count = list.timers.size();
    for (std::size_t i = 0; i < count; ++i) {
        Timer* t = list.timers[i];
        if (!t || !t->Running()) continue;
        const std::uint32_t now = GetTickCount();
        if (!TickReached(now, t->DueTick())) continue;
        t->Restart();
        ++fired;
        // Copy the handler: it may reassign OnTimer or destroy the timer.
        std::function<void()> handler = t->OnTimer;
        handler();
    }
    return fired;
}

std::optional<std::uint32_t> NextTimerDeadline() {
    std::optional<std::uint32_t> best;
    const std::uint32_t now = GetTickCount();
    for (Timer* t : List().timers) {
        if (!t || !t->Running()) continue;
        // Compare as distances from now so the wrap at 2^32 orders them right.
        const std::int32_t d = static_cast<std::int32_t>(t->DueTick() - now);
        if (!best || d < static_cast<std::int32_t>(*best - now)) best = t->DueTick();
    }
    return best;
}

}  // namespace ui
