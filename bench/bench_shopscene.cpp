// One frame of the shop scene with ten customers on the floor: a customer tick, the
// scene update (the heroine's walk and the sprite layer), the composition of the
// screen and its present, on the headless back end (whose present leaves the
// composing to the first look at the pixels: each frame looks, as a shown window
// does). Beside it, in the same run, the present of an unchanged screen alone; the
// frame's share of a 60 Hz frame (16.7 ms) is reported as the counter "of60Hz".
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/Application.h"
#include "platform/headless/HeadlessBackend.h"
#include "shop/Demand.h"
#include "shop/GameState.h"
#include "shop/Heroine.h"
#include "shop/Shop.h"

namespace {

constexpr double k60HzFrameSeconds = 1.0 / 60.0;

struct ShopScene {
    ShopScene() {
        auto backend = std::make_unique<ui::HeadlessBackend>();
        app = std::make_unique<ui::Application>(std::move(backend));
        demand = std::make_unique<TDemandForm>();
        form = new TShopForm();
        form->BuildShopScene();
        form->ShowShopScreen();
        SetReputation(100);
        for (int slot = 0; slot < 10; ++slot) demand->AddCustomer(slot, 0);
        app->Update();
    }
    ~ShopScene() {
        delete form;
        demand.reset();
        app.reset();
    }
    std::unique_ptr<ui::Application> app;
    std::unique_ptr<TDemandForm> demand;
    TShopForm* form = nullptr;
};

void BM_ShopSceneFrame(benchmark::State& state) {
    ShopScene scene;
    int walk = 0;
    for (auto _ : state) {
        // Keep ten people walking: the heroine goes to and fro, customers come back.
        if (HeroineIdle()) {
            walk ^= 1;
            const int x = walk ? 6 : 4, y = walk ? 4 : 7;
            WalkHeroineTo(x, y);
            scene.form->HeroineFigure->User = CellCode(x, y);
        }
        if (scene.demand->CustomerCount() < 10) scene.demand->AddCustomer(3, 0);
        scene.demand->UpdateCustomers(false);
        InvalidateSprites();
        scene.form->UpdateScene();
        scene.app->Invalidate();
        scene.app->Update();
        benchmark::DoNotOptimize(scene.app->GetScreen().Pixels());
    }
    // Seconds per frame over the 60 Hz frame's seconds.
    state.counters["of60Hz"] =
        benchmark::Counter(k60HzFrameSeconds, benchmark::Counter::kIsIterationInvariantRate |
                                                  benchmark::Counter::kInvert);
}

// The baseline: composing and presenting the same screen with no scene work.
void BM_ComposeAndPresentOnly(benchmark::State& state) {
    ShopScene scene;
    for (auto _ : state) {
        scene.app->Invalidate();
        scene.app->Update();
        benchmark::DoNotOptimize(scene.app->GetScreen().Pixels());
    }
}

}  // namespace

BENCHMARK(BM_ShopSceneFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeAndPresentOnly)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
