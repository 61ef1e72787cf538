#include "media/Qvtimer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/Big5.h"
#include "platform/TimerService.h"
#include "tests/support/HeadlessApp.h"

namespace {

using Log = std::vector<std::string>;

TEST(QvTimer, ResolutionFollowsIntervalAndCapabilities) {
    struct Case {
        std::uint32_t periodMin, periodMax;
        unsigned interval;  // 0: as constructed, no setter
        unsigned resolution;
    };
    const Case cases[] = {
        {1, 1000000, 0, 100},     // constructor: max(100, min) within max
        {200, 1000000, 0, 200},   // a coarse system: its minimum
        {1, 50, 0, 50},           // a short maximum caps it
        {1, 1000000, 20, 10},     // half the interval
        {1, 1000000, 1000, 100},  // at most 100
        {1, 1000000, 1, 1},       // half of 1 is 0: the system minimum
        {16, 1000000, 20, 16},    // never below the minimum
        {1, 50, 1000, 50},        // never above the maximum
    };
    for (const Case& c : cases) {
        ui::FakeTimerService fake;
        fake.Caps = {c.periodMin, c.periodMax};
        TQvTimer timer(&fake);
        if (c.interval != 0) timer.SetInterval(c.interval);
        EXPECT_EQ(timer.Resolution(), c.resolution)
            << "caps " << c.periodMin << ".." << c.periodMax << ", interval " << c.interval;
        EXPECT_EQ(timer.PeriodMin(), c.periodMin);
        EXPECT_EQ(timer.PeriodMax(), c.periodMax);
    }
}

TEST(QvTimer, ConstructorReadsCapsButStartsNothing) {
    ui::FakeTimerService fake;
    TQvTimer timer(&fake);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_EQ(timer.Count(), 0);
    EXPECT_EQ(timer.EventId(), 0u);
    EXPECT_EQ(fake.Log, (Log{"caps"}));
}

TEST(QvTimer, SettersRestartTheEventAndTheDestructorStopsIt) {
    ui::FakeTimerService fake;
    {
        TQvTimer timer(&fake);
        timer.SetInterval(20);
        ASSERT_EQ(fake.Events().size(), 1u);
        EXPECT_EQ(fake.Events()[0].delay, 20u);
        EXPECT_EQ(fake.Events()[0].resolution, 10u);
        EXPECT_EQ(fake.Periods(), (std::vector<std::uint32_t>{10}));
        EXPECT_EQ(timer.EventId(), fake.Events()[0].id);
        EXPECT_EQ(timer.PeriodInForce(), 10u);

        // A new interval replaces the event; the same value changes nothing.
        timer.SetInterval(1000);
        timer.SetInterval(1000);
        // Disabling stops it, enabling starts it again.
        timer.SetEnabled(false);
        EXPECT_TRUE(fake.Events().empty());
        EXPECT_TRUE(fake.Periods().empty());
        EXPECT_EQ(timer.EventId(), 0u);
        timer.SetEnabled(true);
        // Assigning a handler restarts it too.
        timer.SetOnTimer([](TQvTimer&) {});
    }
    EXPECT_EQ(fake.Log, (Log{"caps", "begin 10", "set 20 10 -> 1",                   //
                             "kill 1", "end 10", "begin 100", "set 1000 100 -> 2",   //
                             "kill 2", "end 100",                                    //
                             "begin 100", "set 1000 100 -> 3",                       //
                             "kill 3", "end 100", "begin 100", "set 1000 100 -> 4",  //
                             "kill 4", "end 100"}));
    EXPECT_TRUE(fake.Events().empty());
    EXPECT_TRUE(fake.Periods().empty());
}

TEST(QvTimer, IntervalZeroStopsAndKeepsTheCount) {
    ui::FakeTimerService fake;
    TQvTimer timer(&fake);
    timer.SetInterval(20);
    ASSERT_TRUE(fake.Fire(timer.EventId(), 3));
    EXPECT_EQ(timer.Count(), 3);
    timer.SetInterval(0);
    EXPECT_TRUE(fake.Events().empty());
    EXPECT_TRUE(fake.Periods().empty());
    EXPECT_EQ(timer.Count(), 3);
    // Restarting keeps it as well; only CountClear resets it.
    timer.SetInterval(50);
    fake.FireAll();
    EXPECT_EQ(timer.Count(), 4);
    timer.CountClear();
    EXPECT_EQ(timer.Count(), 0);
}

TEST(QvTimer, RefusedPeriodRaisesAndLeavesNothingRunning) {
    ui::FakeTimerService fake;
    fake.FailBeginPeriod = true;
    TQvTimer timer(&fake);
    try {
        timer.SetInterval(20);
        FAIL() << "no error raised";
    } catch (const ui::EOutOfResources& e) {
        EXPECT_EQ(std::string(e.what()), B5("無法設定多媒體時序的最小配置"));
        EXPECT_EQ(ui::Big5ToUtf8(e.what()), "無法設定多媒體時序的最小配置");
    }
    EXPECT_EQ(timer.EventId(), 0u);
    EXPECT_EQ(timer.PeriodInForce(), 0u);
    EXPECT_TRUE(fake.Events().empty());
    EXPECT_TRUE(fake.Periods().empty());
    EXPECT_EQ(fake.Log, (Log{"caps", "begin 10 refused"}));
}

TEST(QvTimer, RefusedEventEndsThePeriodAndRaises) {
    ui::FakeTimerService fake;
    TQvTimer timer(&fake);
    timer.SetInterval(20);
    const std::uint32_t first = timer.EventId();
    fake.FailSetEvent = true;
    try {
        timer.SetInterval(40);
        FAIL() << "no error raised";
    } catch (const ui::EOutOfResources& e) {
        EXPECT_EQ(ui::Big5ToUtf8(e.what()), "無法取得多媒體時序");
    }
    // The old event is gone, the new one never came, and no period is left begun.
    EXPECT_EQ(timer.EventId(), 0u);
    EXPECT_EQ(timer.PeriodInForce(), 0u);
    EXPECT_TRUE(fake.Events().empty());
    EXPECT_TRUE(fake.Periods().empty());
    EXPECT_FALSE(fake.Fire(first));
    EXPECT_EQ(fake.Log, (Log{"caps", "begin 10", "set 20 10 -> 1", "kill 1", "end 10", "begin 20",
                             "set 40 20 -> 0", "end 20"}));
    // Once the system gives a timer again, the next setter starts it.
    fake.FailSetEvent = false;
    timer.SetInterval(20);
    EXPECT_NE(timer.EventId(), 0u);
}

TEST(QvTimer, CountStaysWithinItsBounds) {
    ui::FakeTimerService fake;
    TQvTimer timer(&fake);
    timer.CountDec();
    EXPECT_EQ(timer.Count(), 0);
    timer.SetCount(-5);
    EXPECT_EQ(timer.Count(), 0);

    timer.SetCount(TQvTimer::kCountMax);
    timer.CountInc();
    EXPECT_EQ(timer.Count(), TQvTimer::kCountMax);
    // A tick from the timer thread saturates too.
    timer.SetInterval(20);
    fake.Fire(timer.EventId(), 2);
    EXPECT_EQ(timer.Count(), TQvTimer::kCountMax);
    timer.CountDec();
    EXPECT_EQ(timer.Count(), TQvTimer::kCountMax - 1);
}

TEST(QvTimer, TickCallsOnTimerAndAHandlerErrorGoesNoFurther) {
    ui::FakeTimerService fake;
    TQvTimer timer(&fake);
    std::vector<TQvTimer*> senders;
    timer.SetOnTimer([&](TQvTimer& sender) {
        senders.push_back(&sender);
        if (senders.size() == 2) throw std::runtime_error("handler failed");
    });
    ASSERT_NE(timer.EventId(), 0u);
    EXPECT_NO_THROW(fake.Fire(timer.EventId(), 3));
    EXPECT_EQ(senders, (std::vector<TQvTimer*>{&timer, &timer, &timer}));
    EXPECT_EQ(timer.Count(), 3);
}

// The pump's service follows the clock in use: under the virtual clock the ticks come
// exactly, and a late pump catches up on the periods it missed.
TEST(QvTimer, PumpServiceTicksWithTheClock) {
    test::HeadlessApp headless;
    ui::PumpTimerService pump;
    TQvTimer timer(&pump);
    timer.SetInterval(20);
    headless.RunFor(200);
    EXPECT_EQ(timer.Count(), 10);

    headless.Clock().Advance(100);
    headless.App().ProcessMessages();
    EXPECT_EQ(timer.Count(), 15);

    timer.SetEnabled(false);
    headless.RunFor(100);
    EXPECT_EQ(timer.Count(), 15);
}

TEST(QvTimer, PumpServiceEventMayBeKilledFromItsOwnCallback) {
    test::HeadlessApp headless;
    ui::PumpTimerService pump;
    TQvTimer timer(&pump);
    timer.SetInterval(10);
    int calls = 0;
    // A handler that stops its own timer (on the pump's service it runs on the GUI thread).
    timer.SetOnTimer([&](TQvTimer& t) {
        if (++calls == 2) t.SetInterval(0);
    });
    headless.RunFor(100);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(timer.Count(), 2);
}

// The timer thread, for real: ticks arrive on another thread while the GUI thread takes
// them off, and the count never goes below zero. The bound is loose on purpose.
TEST(QvTimer, ThreadServiceSmoke) {
    ui::ThreadTimerService service;
    std::atomic<int> onTimerCalls{0};
    std::atomic<bool> otherThread{false};
    const std::thread::id gui = std::this_thread::get_id();
    int taken = 0;
    {
        TQvTimer timer(&service);
        timer.SetOnTimer([&](TQvTimer&) {
            if (std::this_thread::get_id() != gui) otherThread = true;
            ++onTimerCalls;
        });
        timer.SetInterval(2);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (taken < 5 && std::chrono::steady_clock::now() < deadline) {
            if (timer.Count() > 0) {
                timer.CountDec();
                ++taken;
            } else {
                std::this_thread::yield();
            }
            ASSERT_GE(timer.Count(), 0);
        }
    }
    EXPECT_EQ(taken, 5);
    EXPECT_GE(onTimerCalls.load(), 5);
    EXPECT_TRUE(otherThread.load());
}

}  // namespace

namespace {

// Headless runs take their ticks from the pump, so a timer made with the service in
// use follows the virtual clock.
TEST(QvTimer, HeadlessRunsUseThePumpService) {
    test::HeadlessApp headless;
    ASSERT_NE(dynamic_cast<ui::PumpTimerService*>(&ui::MmTimer()), nullptr);
    TQvTimer timer;
    timer.SetInterval(20);
    headless.RunFor(100);
    EXPECT_EQ(timer.Count(), 5);
}

}  // namespace
