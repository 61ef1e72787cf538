#pragma once
#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/TimerService.h"

// A component that counts the ticks of a periodic multimedia timer. The callback runs
// on the timer service's thread: it adds one to Count (atomically, never past
// 0x7FFFFFFF) and calls OnTimer when one is set. The GUI thread polls Count and takes
// ticks off it one by one, so its pacing does not depend on the message loop.
//
// Every setter restarts the timer from stopped; Count survives restarts. When the
// timer cannot be set up the setter raises ui::EOutOfResources and leaves it stopped.
class TQvTimer {
public:
    using TimerEvent = std::function<void(TQvTimer& sender)>;

    static constexpr int kCountMax = 0x7FFFFFFF;

    // Enabled, Interval 1000, Count 0; reads the timer's capabilities but does not
    // start it (the first setter does). A null service means the one in use.
    explicit TQvTimer(ui::TimerService* service = nullptr);
    ~TQvTimer();
    TQvTimer(const TQvTimer&) = delete;
    TQvTimer& operator=(const TQvTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Period of the ticks in ms; 0 stops the timer.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);
    // Called on the timer thread after each tick; must be safe to run there.
    const TimerEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TimerEvent handler);

    // Ticks counted and not yet taken.
    int Count() const { return count_.load(); }
    // Values below 0 count as 0.
    void SetCount(int count) { count_.store(count < 0 ? 0 : count); }
    void CountClear() { count_.store(0); }
    void CountInc();
    void CountDec();

    // One tick, as the timer thread delivers it.
    void Timer();

    // The resolution asked of the system, the capabilities read at construction, the
    // running event (0 when none) and the resolution begun for it (0 when none).
    unsigned Resolution() const { return resolution_; }
    unsigned PeriodMin() const { return periodMin_; }
    unsigned PeriodMax() const { return periodMax_; }
    std::uint32_t EventId() const { return eventId_; }
    unsigned PeriodInForce() const { return period_; }

private:
    void UpdateTimer();
    void StopTimer();
    static void Callback(std::uint32_t id, std::uintptr_t user);

    ui::TimerService* service_;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    TimerEvent onTimer_;
    std::atomic<int> count_{0};
    unsigned resolution_ = 100;
    unsigned periodMin_ = 0;
    unsigned periodMax_ = 0;
    std::uint32_t eventId_ = 0;
    unsigned period_ = 0;
};
