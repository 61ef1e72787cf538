#pragma once
#include <cstdint>
#include <functional>
#include <optional>

// A window timer, as the class library's timer component: while enabled and with a
// handler, OnTimer runs from the message pump (any loop that pumps, nested ones too)
// once the interval has passed. A check fires a timer at most once and sets its next
// due time to now + interval, so a late pump never makes it catch up in a burst.
namespace ui {

int FireDueTimers();

class Timer {
public:
    Timer();
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    std::uint32_t Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    // Each setter that changes the value restarts the period from now; 0 stops the timer.
    void SetInterval(std::uint32_t ms);
    void SetEnabled(bool enabled);

    std::function<void()> OnTimer;

    // True while the timer would fire: enabled, interval > 0 and a handler set.
    bool Running() const { return enabled_ && interval_ > 0 && OnTimer; }
    // The tick count at which it fires next (meaningful while Running).
    std::uint32_t DueTick() const { return due_; }

private:
    friend struct TimerList;
    friend int FireDueTimers();
    void Restart();

    std::uint32_t interval_ = 1000;
    bool enabled_ = true;
    std::uint32_t due_ = 0;
};

// Fires every running timer that is due, each at most once; returns how many fired.
int FireDueTimers();
// The earliest due tick of the running timers, if any.
std::optional<std::uint32_t> NextTimerDeadline();

// Tick arithmetic: a is at or after b (unsigned difference, wraps at 2^32).
inline bool TickReached(std::uint32_t now, std::uint32_t deadline) {
    return static_cast<std::int32_t>(now - deadline) >= 0;
}

}  // namespace ui
