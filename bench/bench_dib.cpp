// Full-screen 640 x 480 blits on the palette surface, each beside a memcpy of the
// same bytes in the same run: opaque PutPat, transparent PasPat, mirrored
// transparent PasPat2Wappi and masked PasMPat.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "media/Qvdib.h"

namespace {

constexpr int kW = 640;
constexpr int kH = 480;
constexpr std::int64_t kBytes = std::int64_t(kW) * kH;

// A picture with about a third of its pixels transparent (colour 0), in runs, as
// sprites and backgrounds with holes have them.
std::vector<std::uint8_t> Picture() {
    std::vector<std::uint8_t> p(kBytes);
    std::uint32_t s = 12345;
    for (auto& v : p) {
        s = s * 22695477 + 1;
        v = std::uint8_t((s >> 16) % 3 == 0 ? 0 : 1 + (s >> 20) % 255);
    }
    return p;
}

void BM_Memcpy(benchmark::State& state) {
    const auto src = Picture();
    std::vector<std::uint8_t> dst(kBytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kBytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_Memcpy);

void BM_PutPat(benchmark::State& state) {
    const auto src = Picture();
    TQvDib dib(kW, kH);
    for (auto _ : state) {
        dib.PutPat(0, 0, kW, kH, src.data());
        benchmark::DoNotOptimize(dib.ImagePtr());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_PutPat);

void BM_PasPat(benchmark::State& state) {
    const auto src = Picture();
    TQvDib dib(kW, kH);
    for (auto _ : state) {
        dib.PasPat(0, 0, kW, kH, src.data(), 0);
        benchmark::DoNotOptimize(dib.ImagePtr());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_PasPat);

void BM_PasPat2WappiMirrored(benchmark::State& state) {
    const auto src = Picture();
    TQvDib dib(kW, kH);
    for (auto _ : state) {
        dib.PasPat2Wappi(0, 0, kW, kH, src.data(), kW, 0, true);
        benchmark::DoNotOptimize(dib.ImagePtr());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_PasPat2WappiMirrored);

void BM_PasMPat(benchmark::State& state) {
    const auto src = Picture();
    // The 8 x 8 one-bit tile of a dissolve step.
    const std::uint8_t mask[8] = {0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22};
    TQvDib dib(kW, kH);
    for (auto _ : state) {
        dib.PasMPat(0, 0, kW, kH, src.data(), mask, 8, 8);
        benchmark::DoNotOptimize(dib.ImagePtr());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_PasMPat);

}  // namespace

BENCHMARK_MAIN();
