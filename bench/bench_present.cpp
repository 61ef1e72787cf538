// Handing a 640x480 8-bit bitmap to the 32-bit screen, and a form's repaint of one,
// beside plain memcpy of the same frame in the same run; the ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Screen.h"

namespace {

ui::Bitmap MakeFrame() {
    ui::Bitmap bm(ui::kScreenWidth, ui::kScreenHeight, ui::PixelFormat::pf8bit);
    ui::Palette p{};
    for (int i = 0; i < 256; ++i)
        p[i] = ui::RGBQuad{std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), 0};
    bm.SetColorTable(p);
    for (int y = 0; y < bm.Height(); ++y)
        for (int x = 0; x < bm.Width(); ++x)
            bm.ScanLine(y)[x] = static_cast<std::uint8_t>(x * 3 + y);
    return bm;
}

void BM_Present8To32(benchmark::State& state) {
    const ui::Bitmap frame = MakeFrame();
    ui::Screen screen;
    for (auto _ : state) {
        ui::Present(frame, screen, 0, 0);
        benchmark::DoNotOptimize(screen.Pixels());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(screen.Width()) * screen.Height() *
                            4);
}
BENCHMARK(BM_Present8To32);

// The baseline: copying the finished 32-bit frame (the bytes the present writes).
void BM_Memcpy32(benchmark::State& state) {
    std::vector<std::uint32_t> from(ui::kScreenWidth * ui::kScreenHeight, 0x123456);
    ui::Screen screen;
    for (auto _ : state) {
        std::memcpy(screen.Pixels(), from.data(), from.size() * 4);
        benchmark::DoNotOptimize(screen.Pixels());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(from.size()) * 4);
}
BENCHMARK(BM_Memcpy32);

// Copying the 8-bit source bytes alone.
void BM_Memcpy8(benchmark::State& state) {
    const ui::Bitmap frame = MakeFrame();
    std::vector<std::uint8_t> to(static_cast<std::size_t>(frame.Stride()) * frame.Height());
    for (auto _ : state) {
        std::memcpy(to.data(), frame.Bits(), to.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(to.size()));
}
BENCHMARK(BM_Memcpy8);

// What a form does on each repaint: the 8-bit frame drawn onto its 32-bit bitmap by a
// plain copy, and a whole 32-bit bitmap filled with one colour (a panel's face).
void BM_Blit8OntoForm(benchmark::State& state) {
    const ui::Bitmap frame = MakeFrame();
    ui::Bitmap form(ui::kScreenWidth, ui::kScreenHeight, ui::PixelFormat::pf32bit);
    for (auto _ : state) {
        form.GetCanvas().BitBlt(0, 0, ui::kScreenWidth, ui::kScreenHeight, &frame, 0, 0,
                                ui::SRCCOPY);
        benchmark::DoNotOptimize(form.Bits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Blit8OntoForm);

void BM_FillForm(benchmark::State& state) {
    ui::Bitmap form(ui::kScreenWidth, ui::kScreenHeight, ui::PixelFormat::pf32bit);
    form.GetCanvas().Brush.Color = ui::clBtnFace;
    for (auto _ : state) {
        form.GetCanvas().FillRect(ui::Rect{0, 0, ui::kScreenWidth, ui::kScreenHeight});
        benchmark::DoNotOptimize(form.Bits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillForm);

// A dissolve step on a whole frame: work AND pattern (MERGECOPY with itself), then
// OR the other picture, as the stage transitions do, on 8-bit and 24-bit bitmaps.
void BM_DissolveStep(benchmark::State& state) {
    const auto format = state.range(0) == 8 ? ui::PixelFormat::pf8bit : ui::PixelFormat::pf24bit;
    ui::Bitmap work(ui::kScreenWidth, ui::kScreenHeight, format),
        back(ui::kScreenWidth, ui::kScreenHeight, format);
    ui::Bitmap pattern(8, 8);
    for (int i = 0; i < 8; ++i) pattern.SetPixel(i, i, ui::clWhite);
    work.GetCanvas().Brush.Pattern = &pattern;
    for (auto _ : state) {
        work.GetCanvas().BitBlt(0, 0, ui::kScreenWidth, ui::kScreenHeight, &work, 0, 0,
                                ui::MERGECOPY);
        work.GetCanvas().BitBlt(0, 0, ui::kScreenWidth, ui::kScreenHeight, &back, 0, 0,
                                ui::SRCPAINT);
        benchmark::DoNotOptimize(work.Bits());
    }
}
BENCHMARK(BM_DissolveStep)->Arg(8)->Arg(24);

// Remembers each run's time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                perIteration[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> perIteration;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.perIteration;
    auto at = [&](const char* name) {
        auto it = t.find(name);
        return it == t.end() ? 0.0 : it->second;
    };
    auto ratio = [&](const char* what, const char* name, const char* baseline) {
        if (at(name) > 0 && at(baseline) > 0)
            std::printf("%s: %.2f\n", what, at(name) / at(baseline));
    };
    ratio("present 8-bit -> 32-bit / memcpy of the 32-bit frame", "BM_Present8To32", "BM_Memcpy32");
    ratio("present 8-bit -> 32-bit / memcpy of the 8-bit frame", "BM_Present8To32", "BM_Memcpy8");
    ratio("8-bit frame onto a form / memcpy of the 32-bit frame", "BM_Blit8OntoForm",
          "BM_Memcpy32");
    ratio("filling a form / memcpy of the 32-bit frame", "BM_FillForm", "BM_Memcpy32");
    benchmark::Shutdown();
    return 0;
}
