// The pump's own cost: an empty pass, and an hour of an idle main loop with the game's
// 200 ms timer on the headless back end (the virtual clock jumps between ticks).
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/Application.h"
#include "platform/Timer.h"
#include "platform/headless/HeadlessBackend.h"

namespace {

void BM_EmptyProcessMessages(benchmark::State& state) {
    ui::Application app(std::make_unique<ui::HeadlessBackend>());
    app.OnPaint = [](ui::Screen&) {};
    app.ProcessMessages();  // the first paint
    ui::Timer timer;
    timer.SetInterval(200);
    timer.OnTimer = [] {};
    for (auto _ : state) {
        app.ProcessMessages();
        app.NoteProgress();  // an endless empty loop is what the watchdog is for
    }
}
BENCHMARK(BM_EmptyProcessMessages);

void BM_IdleHourOfMainLoop(benchmark::State& state) {
    for (auto _ : state) {
        ui::HeadlessOptions options;
        options.watchdogMs = 2 * 60 * 60 * 1000;
        ui::Application app(std::make_unique<ui::HeadlessBackend>(options));
        ui::Timer tick;
        tick.SetInterval(200);
        int ticks = 0;
        tick.OnTimer = [&] { ++ticks; };
        ui::Timer stop;
        stop.SetInterval(60 * 60 * 1000);
        stop.OnTimer = [&] { app.Terminate(); };
        app.OnIdle = [](bool& done) { done = true; };
        app.Run();
        benchmark::DoNotOptimize(ticks);
    }
}
BENCHMARK(BM_IdleHourOfMainLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
