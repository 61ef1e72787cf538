// The game's main loop on the headless back end: one idle step of the shop routine, and
// a whole game day skipped through by clicks on the shop's next-turn button (the real
// pump, the real forms, the virtual clock). The baseline is an empty pump pass.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/Application.h"
#include "platform/Audio.h"
#include "platform/Form.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/headless/HeadlessBackend.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Shop.h"

namespace {

// The game as the title's New Game leaves it: the shop scene built and shown, ticks on.
struct Game {
    ui::HeadlessBackend* backend;
    std::unique_ptr<ui::Application> app;

    Game() {
        ui::HeadlessOptions options;
        options.watchdogMs = 24 * 60 * 60 * 1000;
        auto b = std::make_unique<ui::HeadlessBackend>(options);
        backend = b.get();
        app = std::make_unique<ui::Application>(std::move(b));
        backend->SetMessageBoxResponder(
            [](const ui::MessageBoxRequest& r) { return r.DefaultAnswer(); });
        ui::SetAudio(std::make_unique<ui::RecordingAudio>());  // no sound device
        g_MainFormHooks.ShowTitle = [] {};                     // the title stays out of the way
        CreateStartupForms();
        Run(10);
        ShopForm->BuildShopScene();
        ShopForm->TitlePanel->Hide();
        ShopForm->Shop2FPanel->Hide();
        ShopForm->ShowShopScreen();
        MainForm->ResumeTicks();
    }
    ~Game() {
        DestroyStartupForms();
        g_MainFormHooks = {};
        ui::SetAudio(nullptr);
    }
    // The main loop for ms of virtual time.
    void Run(std::uint32_t ms) {
        const std::uint32_t end = ui::GetTickCount() + ms;
        ui::WaitScope scope("the main loop");
        while (!ui::TickReached(ui::GetTickCount(), end)) {
            app->HandleMessage();
            app->NoteProgress();
        }
    }
};

void BM_EmptyPumpPass(benchmark::State& state) {
    Game game;
    for (auto _ : state) {
        game.app->ProcessMessages();
        game.app->NoteProgress();
    }
}
BENCHMARK(BM_EmptyPumpPass);

// One shop-routine step of an idle game at noon: the pump sleeps to the step's tick,
// the step runs (scene, pending action, customers) and the loop goes back to sleep.
void BM_IdleMainLoopStep(benchmark::State& state) {
    Game game;
    SetGameDay(6);  // the rest day: the shop stays closed, no customers come
    SetGameHour(12);
    game.Run(1000);
    for (auto _ : state) {
        const std::uint32_t last = MainForm->LastTick;
        ui::WaitScope scope("the main loop");
        while (MainForm->LastTick == last) {
            game.app->HandleMessage();
            game.app->NoteProgress();
        }
    }
}
BENCHMARK(BM_IdleMainLoopStep);

// A game day (24 hours) passed with the next-turn button: a click on it whenever the
// main loop is in its shop phase. Customers come and go during the open hours.
void BM_GameDayByNextTurnClicks(benchmark::State& state) {
    Game game;
    const ui::Point button = ShopForm->MenuNextTurn->ClientToScreen(
        {ShopForm->MenuNextTurn->Width() / 2, ShopForm->MenuNextTurn->Height() / 2});
    int days = 0;
    for (auto _ : state) {
        const int day = GameDay();
        ui::WaitScope scope("the main loop");
        while (GameDay() == day) {
            if (MainForm->TickPhaseValue() == 2 && game.backend->ScriptLeft() == 0)
                game.backend->Click(button.x, button.y);
            game.app->HandleMessage();
            game.app->NoteProgress();
        }
        if (++days >= 280) {
            state.PauseTiming();
            SetGameDay(1);
            state.ResumeTiming();
            days = 0;
        }
    }
}
BENCHMARK(BM_GameDayByNextTurnClicks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
