#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/Timer.h"

// The periodic multimedia timer, as the system offers it: its capabilities (shortest
// and longest period), a timer resolution begun before use and ended after, and
// periodic events that call back with their id and a user word.
//
// Three services: a thread on the steady clock (play), ticks derived from the clock
// in use and delivered by the message pump on the GUI thread (headless runs, where
// they follow the virtual clock), and a fake for tests that records every call, fires
// events on request and can be told to refuse.
namespace ui {

// The class library's out-of-resources error; the message is Big5.
class EOutOfResources : public std::runtime_error {
public:
    explicit EOutOfResources(const std::string& big5) : std::runtime_error(big5) {}
};

struct TimeCaps {
    std::uint32_t periodMin = 1;
    std::uint32_t periodMax = 1000000;
};

// The callback of a periodic event: its id and the user word it was made with.
using TimerProc = void (*)(std::uint32_t id, std::uintptr_t user);

class TimerService {
public:
    virtual ~TimerService() = default;
    // The real services run on a steady clock: any period from 1 ms up, and any
    // resolution but 0.
    virtual TimeCaps GetDevCaps() { return TimeCaps{1, 1000000}; }
    // False when the system cannot give that resolution.
    virtual bool BeginPeriod(std::uint32_t resolution) { return resolution > 0; }
    virtual void EndPeriod(std::uint32_t) {}
    // A periodic event calling proc(id, user) every `delay` ms; its id (never 0), or 0
    // when none could be made.
    virtual std::uint32_t SetEvent(std::uint32_t delay, std::uint32_t resolution, TimerProc proc,
                                   std::uintptr_t user) = 0;
    // Ends an event. Once it returns the callback is not running and never runs again
    // (called from inside that callback, it only keeps it from running again).
    virtual bool KillEvent(std::uint32_t id) = 0;
};

// The service in use: the one given to SetTimerService, else (chosen on first use) the
// pump's clock-driven one when LUMIA_HEADLESS=1 is set, else the timer thread.
TimerService& MmTimer();
// Replaces the service (null: choose again on next use). Timers still running on the
// old one must have been stopped first.
void SetTimerService(std::unique_ptr<TimerService> service);

// A worker thread on the steady clock: every event calls back on it.
class ThreadTimerService final : public TimerService {
public:
    ThreadTimerService() = default;
    ~ThreadTimerService() override;

    std::uint32_t SetEvent(std::uint32_t delay, std::uint32_t resolution, TimerProc proc,
                           std::uintptr_t user) override;
    bool KillEvent(std::uint32_t id) override;

private:
    struct Event {
        std::uint32_t delay;
        TimerProc proc;
        std::uintptr_t user;
        std::chrono::steady_clock::time_point due;
    };
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;  // the worker: events changed or stop
    std::condition_variable idle_;  // KillEvent: a callback returned
    std::map<std::uint32_t, Event> events_;
    std::uint32_t nextId_ = 1;
    std::uint32_t running_ = 0;  // the event whose callback runs now
    bool stop_ = false;
    std::thread worker_;
};

// Ticks derived from the clock in use (GetTickCount), delivered by the message pump:
// each event is a window timer, and every time it fires it calls back once for each
// period that has passed since the last, so a late pump loses no ticks.
class PumpTimerService final : public TimerService {
public:
    PumpTimerService() = default;
    ~PumpTimerService() override = default;

    std::uint32_t SetEvent(std::uint32_t delay, std::uint32_t resolution, TimerProc proc,
                           std::uintptr_t user) override;
    bool KillEvent(std::uint32_t id) override;

private:
    struct Event {
        Timer timer;
        std::uint32_t delay = 0;
        std::uint32_t next = 0;  // tick of the next callback
        TimerProc proc = nullptr;
        std::uintptr_t user = 0;
        bool killed = false;
    };
    void Deliver(std::uint32_t id);
    void Purge();

    std::map<std::uint32_t, std::unique_ptr<Event>> events_;
    std::uint32_t nextId_ = 1;
    int delivering_ = 0;
};

// The fake of the tests: capabilities as set, every call logged ("caps", "begin 10",
// "end 10", "set 20 10 -> 1", "set 20 10 -> 0", "kill 1"), refusals on request, and
// callbacks only when the test fires them (on the test's thread).
class FakeTimerService final : public TimerService {
public:
    TimeCaps Caps;
    bool FailBeginPeriod = false;
    bool FailSetEvent = false;
    std::vector<std::string> Log;

    struct Event {
        std::uint32_t id;
        std::uint32_t delay;
        std::uint32_t resolution;
        TimerProc proc;
        std::uintptr_t user;
    };
    // Events made and not killed, oldest first.
    const std::vector<Event>& Events() const { return events_; }
    // Resolutions begun and not ended.
    const std::vector<std::uint32_t>& Periods() const { return periods_; }
    // Calls the event's callback `times` times; false when there is no such event.
    bool Fire(std::uint32_t id, int times = 1);
    // Fires every running event once.
    void FireAll();

    TimeCaps GetDevCaps() override;
    bool BeginPeriod(std::uint32_t resolution) override;
    void EndPeriod(std::uint32_t resolution) override;
    std::uint32_t SetEvent(std::uint32_t delay, std::uint32_t resolution, TimerProc proc,
                           std::uintptr_t user) override;
    bool KillEvent(std::uint32_t id) override;

private:
    std::vector<Event> events_;
    std::vector<std::uint32_t> periods_;
    std::uint32_t nextId_ = 1;
};

}  // namespace ui
