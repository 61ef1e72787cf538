// One frame of the shop scene: RenderLayer over the floor, the furniture, the ten
// shelves and ten walking figures, beside a plain copy of the 648 x 484 surface.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "media/Qvdib.h"
#include "shop/Figure.h"
#include "shop/GameState.h"
#include "shop/Goods.h"

namespace {

constexpr int kW = 648;
constexpr int kH = 484;

// A sheet of the scene's sizes whose frames are half colour key (0), half colour.
void MakeSheet(int index, int columns, int rows, int fw, int fh, bool keyed) {
    std::vector<std::uint8_t> bytes = {'!', 'W', 'B', 'M'};
    for (int v : {columns * fw, rows * fh, fw, fh}) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    for (int y = 0; y < rows * fh; ++y)
        for (int x = 0; x < columns * fw; ++x) {
            const int fx = x % fw, fy = y % fh;
            const bool inside = !keyed || (fx > fw / 4 && fx < fw * 3 / 4 && fy > 0);
            bytes.push_back(inside ? static_cast<std::uint8_t>(1 + (x + y) % 250) : 0);
        }
    SPManChips sheet;
    if (!LoadSpriteSheetMemory(bytes.data(), bytes.size(), &sheet)) std::abort();
    SpriteSheets[index] = std::move(sheet);
    if (SpriteSheetCount <= index) SpriteSheetCount = index + 1;
}

struct Scene {
    Scene() {
        InitGameState();
        MakeSheet(0, 1, 1, kW, kH, false);
        for (int s = 1; s <= 16; ++s) MakeSheet(s, 4, 2, 32, 72, true);
        MakeSheet(kFurnitureSheet, 8, 1, 68, 64, true);
        MakeSheet(kShelfSheet, 5, 20, 40, 48, true);
        ClearSpriteLayers();
        background = std::make_unique<SPMan>(0, 0, 0, 0, 2147483647, 0);
        background->Show();
        CreateFurniture();
        CreateShelfSlots();
        for (int i = 0; i < 10; ++i) {
            figures.push_back(std::make_unique<Figure>(6 + i % 10, 1 + i % 6, i % 4, 1 + i));
            figures.back()->StartWalking();
        }
    }
    ~Scene() {
        figures.clear();
        DestroyShelfSlots();
        DestroyFurniture();
        background.reset();
        FreeSpriteSheets();
    }
    // The figures pace back and forth a little every frame.
    void Walk(int frame) {
        const int dx = (frame / 8) % 2 ? 1 : -1;
        for (auto& f : figures) f->MoveBy(dx * 2, dx);
    }
    std::unique_ptr<SPMan> background;
    std::vector<std::unique_ptr<Figure>> figures;
};

void BM_RenderShopScene(benchmark::State& state) {
    Scene scene;
    TQvDib target(kW, kH), surface(kW, kH);
    int frame = 0;
    for (auto _ : state) {
        scene.Walk(frame++);
        InvalidateSprites();
        RenderLayer(&target, &surface, 0);
        benchmark::DoNotOptimize(target.ImagePtr());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderShopScene)->Unit(benchmark::kMicrosecond);

// The baseline: one copy of the surface's bytes.
void BM_CopySurface(benchmark::State& state) {
    std::vector<std::uint8_t> from(std::size_t(kW) * kH, 7), to(std::size_t(kW) * kH);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopySurface)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
