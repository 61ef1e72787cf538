#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Timer.h"
#include "tests/support/HeadlessApp.h"

using ui::InputEvent;
using ui::InputType;

namespace {

class Pump : public test::HeadlessTest {
protected:
    ui::Application& app = headless.App();
    ui::HeadlessBackend& backend = headless.Backend();
    std::vector<InputEvent> seen;

    void RecordInput() {
        app.OnInput = [this](const InputEvent& e) { seen.push_back(e); };
    }
    int Count(InputType type) const {
        int n = 0;
        for (const auto& e : seen) n += e.type == type;
        return n;
    }
};

struct Receiver : ui::MessageTarget {
    std::vector<std::uint32_t> got;
    std::function<void(const ui::Message&)> also;
    void HandlePostedMessage(const ui::Message& m) override {
        got.push_back(m.msg);
        if (also) also(m);
    }
};

TEST_F(Pump, ProcessMessagesNeverCallsOnIdleAndHandleMessageDoes) {
    int idles = 0;
    app.OnIdle = [&](bool& done) {
        ++idles;
        done = false;
        app.IdleWakeAt(ui::GetTickCount() + 10);
    };
    RecordInput();
    backend.Click(5, 5);
    for (int i = 0; i < 20; ++i) app.ProcessMessages();
    EXPECT_EQ(idles, 0);
    EXPECT_EQ(Count(InputType::MouseDown), 1);  // the input did get dispatched

    // One message each: move, down, up; only then does the idle handler run.
    backend.Click(6, 6);
    app.HandleMessage();
    app.HandleMessage();
    app.HandleMessage();
    EXPECT_EQ(idles, 0);
    app.HandleMessage();
    EXPECT_EQ(idles, 1);
}

// A wait inside an input handler (as a dialogue line waits for a click) pumps: the
// 200 ms timer keeps firing inside it, and the scripted click 1 s later ends it.
TEST_F(Pump, NestedWaitEndsOnAScriptedClickWhileATimerFires) {
    std::vector<std::uint32_t> fired;
    ui::Timer timer;
    timer.SetInterval(200);
    timer.OnTimer = [&] { fired.push_back(ui::GetTickCount()); };

    int clicks = 0;
    bool waited = false;
    std::uint32_t endedAt = 0;
    app.OnInput = [&](const InputEvent& e) {
        if (e.type != InputType::MouseDown) return;
        if (++clicks == 1) {
            app.PumpUntil([&] { return clicks == 2; }, "the test's wait");
            waited = true;
            endedAt = ui::GetTickCount();
        }
    };
    backend.Click(10, 10);
    backend.Click(20, 20, ui::MouseButton::mbLeft, 0, 1000);
    headless.RunUntil([&] { return waited; });

    EXPECT_EQ(endedAt, 1000u);
    EXPECT_EQ(fired, (std::vector<std::uint32_t>{200, 400, 600, 800, 1000}));
}

TEST_F(Pump, TimerFiresAtMostOncePerCheckAndNextDueIsNowPlusInterval) {
    std::vector<std::uint32_t> fired;
    ui::Timer timer;
    timer.SetInterval(200);
    timer.OnTimer = [&] { fired.push_back(ui::GetTickCount()); };

    headless.Clock().Advance(1000);  // five intervals late
    app.ProcessMessages();
    app.ProcessMessages();
    EXPECT_EQ(fired, (std::vector<std::uint32_t>{1000}));
    EXPECT_EQ(timer.DueTick(), 1200u);

    timer.SetEnabled(false);
    headless.Clock().Advance(500);
    app.ProcessMessages();
    EXPECT_EQ(fired.size(), 1u);
    timer.SetEnabled(true);  // a fresh period from now
    EXPECT_EQ(timer.DueTick(), 1700u);
}

// A timer handler that pumps (as the game's tick does when it runs the command menu)
// sees the timers fire again inside it, its own included.
TEST_F(Pump, TimersFireInsideNestedLoopsOfTheirHandlers) {
    ui::Timer other;
    other.SetInterval(50);
    int otherFired = 0;
    other.OnTimer = [&] { ++otherFired; };

    ui::Timer outer;
    outer.SetInterval(200);
    int depth = 0, maxDepth = 0, outerFired = 0;
    outer.OnTimer = [&] {
        ++outerFired;
        maxDepth = std::max(maxDepth, ++depth);
        if (depth == 1) app.Delay(500, "the handler's wait");
        --depth;
    };
    headless.RunFor(700);
    EXPECT_EQ(maxDepth, 2);
    EXPECT_GE(outerFired, 3);
    EXPECT_GE(otherFired, 12);  // 50 ms all along, nested or not
}

TEST_F(Pump, TimerMayDestroyItselfAndOthersInItsHandler) {
    auto a = std::make_unique<ui::Timer>();
    auto b = std::make_unique<ui::Timer>();
    a->SetInterval(100);
    b->SetInterval(100);
    int bFired = 0;
    a->OnTimer = [&] {
        b.reset();
        a.reset();
    };
    b->OnTimer = [&] { ++bFired; };
    headless.Clock().Advance(100);
    app.ProcessMessages();
    EXPECT_FALSE(a);
    EXPECT_FALSE(b);
    EXPECT_EQ(bFired, 0);
    headless.Clock().Advance(100);
    app.ProcessMessages();  // nothing left to fire, nothing dangling
}

TEST(PumpClock, TimersAndWaitsWorkAcrossTheTickWrap) {
    ui::HeadlessOptions options;
    options.startTick = 0xFFFFFF00u;
    test::HeadlessApp headless(options);
    ui::Timer timer;
    timer.SetInterval(200);
    std::vector<std::uint32_t> fired;
    timer.OnTimer = [&] { fired.push_back(ui::GetTickCount()); };
    headless.RunFor(600);
    EXPECT_EQ(fired, (std::vector<std::uint32_t>{0xFFFFFFC8u, 0x90u, 0x158u}));
}

// A modal window loops over HandleMessage until its result is set; the idle handler
// runs inside it, and input set aside for after it reaches the outer loop.
TEST_F(Pump, ModalLoopRunsUntilItsResultIsSet) {
    int idles = 0;
    app.OnIdle = [&](bool& done) {
        ++idles;
        done = true;
    };
    int modalResult = 0;
    bool inModal = false;
    int clicksAfter = 0;
    app.OnInput = [&](const InputEvent& e) {
        if (e.type != InputType::MouseDown) return;
        if (!inModal && modalResult == 0) {
            inModal = true;
            ui::WaitScope scope("ShowModal");
            while (modalResult == 0) app.HandleMessage();
            inModal = false;
        } else if (inModal) {
            modalResult = ui::IDOK;
        } else {
            ++clicksAfter;
        }
    };
    backend.Click(1, 1);                                   // opens it
    backend.Click(2, 2, ui::MouseButton::mbLeft, 0, 300);  // its OK button
    backend.Click(3, 3, ui::MouseButton::mbLeft, 0, 300);  // back in the main loop
    headless.RunUntil([&] { return clicksAfter == 1; });
    EXPECT_EQ(modalResult, ui::IDOK);
    EXPECT_GT(idles, 0);
}

TEST_F(Pump, WatchdogTurnsAMissingInputIntoAFailureNamingTheWait) {
    ui::Timer timer;  // the game's 200 ms tick keeps firing, which is no progress
    timer.SetInterval(200);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    backend.SetWatchdog(60 * 1000);
    bool clicked = false;
    try {
        app.PumpUntil([&] { return clicked; }, "DspMsg");
        FAIL() << "the wait returned";
    } catch (const ui::HeadlessFailure& e) {
        EXPECT_NE(std::string(e.what()).find("DspMsg"), std::string::npos) << e.what();
    }
    EXPECT_EQ(headless.Now(), 60u * 1000);
    EXPECT_EQ(ticks, 300);
}

TEST_F(Pump, WaitWithNothingToWaitForFailsAtOnce) {
    try {
        app.PumpUntil([] { return false; }, "SelWin2");
        FAIL() << "the wait returned";
    } catch (const ui::HeadlessFailure& e) {
        EXPECT_NE(std::string(e.what()).find("SelWin2"), std::string::npos) << e.what();
    }
    EXPECT_EQ(headless.Now(), 0u);
}

TEST_F(Pump, ResponderThatActsKeepsTheWatchdogAway) {
    backend.SetWatchdog(1000);
    bool clicked = false;
    RecordInput();
    app.OnInput = [&](const InputEvent& e) { clicked |= e.type == InputType::MouseDown; };
    ui::Timer timer;
    timer.SetInterval(200);
    timer.OnTimer = [] {};
    int passes = 0;
    // Clicks once the wait has gone on for 5 s: progress must come from somewhere
    // before then, and the responder's own report of work is what keeps it alive.
    backend.AddResponder([&] {
        ++passes;
        if (ui::GetTickCount() >= 5000 && !clicked) {
            backend.Click(1, 1);
            return true;
        }
        return ui::GetTickCount() % 800 == 0;
    });
    app.PumpUntil([&] { return clicked; }, "a long wait");
    EXPECT_GE(headless.Now(), 5000u);
    EXPECT_GT(passes, 0);
}

// An hour of an idle main loop with the game's 200 ms timer: the pump blocks between
// ticks, so the virtual clock jumps and the idle handler runs once per tick, not in a
// spin.
TEST_F(Pump, AnHourOfIdleLoopPassesInAMomentWithoutSpinning) {
    backend.SetWatchdog(2 * 60 * 60 * 1000);
    ui::Timer timer;
    timer.SetInterval(200);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    long idles = 0;
    app.OnIdle = [&](bool& done) {
        ++idles;
        done = true;
    };
    const auto start = std::chrono::steady_clock::now();
    headless.RunFor(60 * 60 * 1000);
    const auto spent = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(ticks, 18000);
    EXPECT_LE(idles, 2 * 18000 + 2);
    RecordProperty(
        "real_ms",
        std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count()));
}

// The main loop's idle step paced by the tick count: not done until its period has
// passed, and it says when; the pump sleeps until then instead of calling it again.
TEST_F(Pump, IdleHandlerThatIsNotDueWaitsForItsTick) {
    std::uint32_t last = 0;
    std::vector<std::uint32_t> steps;
    int idles = 0;
    app.OnIdle = [&](bool& done) {
        ++idles;
        const std::uint32_t now = ui::GetTickCount();
        if (now - last < 150) {
            done = false;
            app.IdleWakeAt(last + 150);
            return;
        }
        last = now;
        steps.push_back(now);
        done = false;
    };
    headless.RunFor(1000);
    EXPECT_EQ(steps, (std::vector<std::uint32_t>{150, 300, 450, 600, 750, 900}));
    EXPECT_LE(idles, 2 * 6 + 2);
}

// The original's spinning idle handler, ported as it was, still moves on: a busy pump
// lets virtual time run instead of hanging the test.
TEST_F(Pump, BusyIdleHandlerStillSeesTimePass) {
    std::uint32_t start = ui::GetTickCount();
    bool due = false;
    app.OnIdle = [&](bool& done) {
        done = false;
        if (ui::GetTickCount() - start >= 150) due = true;
    };
    headless.RunUntil([&] { return due; });
    EXPECT_TRUE(due);
}

// A wait ported as a bare polling loop (no WaitMessage) still meets the watchdog.
TEST_F(Pump, BusyPollingLoopMeetsTheWatchdogToo) {
    backend.SetWatchdog(5000);
    bool clicked = false;
    ui::WaitScope scope("a polling loop");
    try {
        while (!clicked) app.ProcessMessages();
        FAIL() << "the loop ended";
    } catch (const ui::HeadlessFailure& e) {
        EXPECT_EQ(e.waitName, "a polling loop");
    }
    EXPECT_EQ(headless.Now(), 5000u);
}

TEST_F(Pump, PostedMessagesArriveInOrderAndDieWithTheirTarget) {
    Receiver r;
    auto gone = std::make_unique<Receiver>();
    app.PostMessage(&r, ui::WM_USER);
    app.PostMessage(gone.get(), ui::WM_USER);
    app.PostMessage(&r, ui::WM_USER + 1);
    gone.reset();
    app.ProcessMessages();
    EXPECT_EQ(r.got, (std::vector<std::uint32_t>{ui::WM_USER, ui::WM_USER + 1}));

    // A handler that posts to itself is served again on the next pass, not in a loop.
    r.got.clear();
    r.also = [&](const ui::Message&) { app.PostMessage(&r, ui::WM_USER); };
    app.PostMessage(&r, ui::WM_USER);
    app.ProcessMessages();
    EXPECT_EQ(r.got.size(), 1u);
    app.ProcessMessages();
    EXPECT_EQ(r.got.size(), 2u);
}

TEST_F(Pump, DoubleClickAndModifiersReachTheInputHandler) {
    RecordInput();
    backend.DoubleClick(30, 40, ui::MouseButton::mbRight, ui::ssCtrl);
    app.ProcessMessages();
    ASSERT_EQ(Count(InputType::DoubleClick), 1);
    for (const auto& e : seen) {
        if (e.type == InputType::DoubleClick) {
            EXPECT_EQ(e.button, ui::MouseButton::mbRight);
            EXPECT_EQ(e.shift, ui::ssCtrl | ui::ssRight | ui::ssDouble);
            EXPECT_EQ(e.x, 30);
            EXPECT_EQ(e.y, 40);
        }
    }
    EXPECT_EQ(app.MouseButtons(), 0u);  // released again
    EXPECT_EQ(app.MouseX(), 30);
}

TEST_F(Pump, CloseRequestEndsRunWhenNothingHandlesIt) {
    backend.RequestClose(500);
    app.Run();
    EXPECT_TRUE(app.Terminated());
    EXPECT_EQ(headless.Now(), 500u);
}

TEST_F(Pump, MinimizeRestoreAndActivateReachTheApplicationHandlers) {
    std::vector<std::string> got;
    app.OnMinimize = [&] { got.push_back("min"); };
    app.OnRestore = [&] { got.push_back("restore"); };
    app.OnActivate = [&] { got.push_back("activate"); };
    for (InputType t : {InputType::Minimize, InputType::Restore, InputType::Activate}) {
        InputEvent e;
        e.type = t;
        backend.Script(e);
    }
    app.ProcessMessages();
    EXPECT_EQ(got, (std::vector<std::string>{"min", "restore", "activate"}));
}

TEST_F(Pump, MessageBoxIsAnsweredByTheResponderOrFails) {
    const std::string text =
        "\xAD\x6E\xB5\xB2\xA7\xF4\xB9\x43\xC0\xB8\xB6\xDC\xA1\x48";  // 要結束遊戲嗎？
    EXPECT_THROW(app.MessageBox(text, "x", ui::MB_YESNO | ui::MB_ICONQUESTION),
                 ui::HeadlessFailure);
    headless.AnswerMessageBoxes(ui::IDYES);
    EXPECT_EQ(app.MessageBox(text, "x", ui::MB_YESNO | ui::MB_ICONQUESTION), ui::IDYES);
    ASSERT_EQ(backend.MessageBoxes().size(), 2u);
    EXPECT_EQ(backend.MessageBoxes()[1].Icon(), ui::MB_ICONQUESTION);
    EXPECT_EQ(backend.MessageBoxes()[1].Buttons(), ui::MB_YESNO);
    EXPECT_EQ(backend.MessageBoxes()[1].DefaultAnswer(), ui::IDNO);
}

TEST_F(Pump, ScreenIsPaintedOnDemandAndWrittenAsPng) {
    int paints = 0;
    app.OnPaint = [&](ui::Screen& s) {
        ++paints;
        s.Fill(ui::Rgb(0x12, 0x34, 0x56));
        s.Row(2)[3] = ui::Rgb(255, 0, 0);
    };
    app.ProcessMessages();
    app.ProcessMessages();
    EXPECT_EQ(backend.PresentCount(), 1);  // only while invalid
    EXPECT_EQ(paints, 0);  // the headless present leaves the pixels to the first look
    EXPECT_EQ(app.GetScreen().At(3, 2), ui::Rgb(255, 0, 0));
    EXPECT_EQ(app.GetScreen().At(0, 0), ui::Rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(paints, 1);  // once per present looked at
    app.Invalidate();
    app.ProcessMessages();
    app.Invalidate();
    app.ProcessMessages();
    EXPECT_EQ(backend.PresentCount(), 3);
    EXPECT_EQ(paints, 1);

    const std::string path = test::ScratchDir("pump_png") + "/screen.png";
    ASSERT_TRUE(backend.WriteScreenPng(path));
    EXPECT_EQ(paints, 2);
    std::vector<std::uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(ui::ReadPng(path, px, w, h));
    ASSERT_EQ(w, ui::kScreenWidth);
    ASSERT_EQ(h, ui::kScreenHeight);
    EXPECT_EQ(px[2 * w + 3], ui::Rgb(255, 0, 0));
    EXPECT_EQ(px[0], 0x123456u);
    EXPECT_FALSE(ui::ReadPng(path + ".missing", px, w, h));
}

}  // namespace
