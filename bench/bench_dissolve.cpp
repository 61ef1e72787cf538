// One cross-dissolve step of the event stage on a 640x480 24-bit stage, beside a plain
// memcpy of the same stage in the same run; also the figure drawn with its key colour.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "town/Evsrvfm.h"

namespace {

constexpr int kW = 640;
constexpr int kH = 480;

ui::Bitmap Picture(int seed) {
    ui::Bitmap bm(kW, kH);
    for (int y = 0; y < kH; ++y) {
        std::uint8_t* row = bm.ScanLine(y);
        for (int x = 0; x < kW * 3; ++x) row[x] = static_cast<std::uint8_t>(x * seed + y);
    }
    return bm;
}

void BM_CrossDissolveStep(benchmark::State& state) {
    ui::Bitmap work = Picture(3);
    const ui::Bitmap back = Picture(7);
    ui::Bitmap second;
    const ui::Bitmap pattern = LoadBrushPattern(3);
    ui::Bitmap inverse = pattern;
    inverse.GetCanvas().BitBlt(0, 0, 8, 8, static_cast<const ui::Bitmap*>(nullptr), 0, 0,
                               ui::DSTINVERT);
    for (auto _ : state) {
        CrossDissolveStep(work, second, back, pattern, inverse);
        benchmark::DoNotOptimize(work.Bits());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(work.Stride()) * kH);
}
BENCHMARK(BM_CrossDissolveStep);

// The baseline: one copy of the stage's bytes.
void BM_MemcpyStage(benchmark::State& state) {
    const ui::Bitmap from = Picture(3);
    ui::Bitmap to(kW, kH);
    const std::size_t bytes = static_cast<std::size_t>(from.Stride()) * kH;
    for (auto _ : state) {
        std::memcpy(to.Bits(), from.Bits(), bytes);
        benchmark::DoNotOptimize(to.Bits());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes));
}
BENCHMARK(BM_MemcpyStage);

// A 200x400 figure with its key colour around a body, onto the stage.
void BM_DrawFigure(benchmark::State& state) {
    ui::Bitmap stage = Picture(5);
    ui::Bitmap figure(200, 400);
    figure.GetCanvas().Brush.Color = ui::RGB(255, 0, 255);
    figure.GetCanvas().FillRect(ui::Rect{0, 0, 200, 400});
    figure.GetCanvas().Brush.Color = ui::RGB(40, 90, 200);
    figure.GetCanvas().FillRect(ui::Rect{40, 60, 160, 400});
    for (auto _ : state) {
        DrawTransparent(stage, figure, 220, 80);
        benchmark::DoNotOptimize(stage.Bits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawFigure);

}  // namespace

BENCHMARK_MAIN();
