// Extracting a compressed pack member to a file beside gunzip's work on the same
// bytes in the same run: a 4 MB member of picture-like data, written from the pack by
// the streaming decoder (what `qvpack extract` does), by the whole-member decode into
// memory and a copy (as extraction went before), and by zlib's gzread from a .gz file
// of the same bytes, each into a file.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "media/Qvpack.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kMember = "PICTURES.BIN";

// Thirteen 640x480 8-bit pictures: flat fills, outlined boxes, dithering and a noisy
// strip, as the game's art holds.
Bytes Pictures() {
    const int w = 640, h = 480;
    std::mt19937 g(7);
    Bytes all;
    for (int p = 0; p < 13; ++p) {
        Bytes px(std::size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) px[std::size_t(y) * w + x] = std::uint8_t(32 + y / 20 + p);
        for (int r = 0; r < 60; ++r) {
            const int x0 = int(g() % w), y0 = int(g() % h), rw = 10 + int(g() % 200),
                      rh = 10 + int(g() % 150);
            const std::uint8_t c = std::uint8_t(g() % 224);
            for (int y = y0; y < std::min(h, y0 + rh); ++y)
                for (int x = x0; x < std::min(w, x0 + rw); ++x)
                    px[std::size_t(y) * w + x] =
                        (y == y0 || x == x0) ? 0 : std::uint8_t(c + ((x ^ y) & 1) * 2);
        }
        for (int y = 400; y < 420; ++y)
            for (int x = 0; x < w; ++x) px[std::size_t(y) * w + x] = std::uint8_t(100 + g() % 12);
        all.insert(all.end(), px.begin(), px.end());
    }
    return all;
}

struct Files {
    fs::path dir, pack, gz, out;
    std::size_t size = 0;
};

// The pack and the .gz, made once for the whole run.
const Files& Inputs() {
    static const Files files = [] {
        Files f;
        f.dir = fs::temp_directory_path() / ("lumia_bench_extract_" + std::to_string(::getpid()));
        fs::create_directories(f.dir);
        f.pack = f.dir / "p.pak";
        f.gz = f.dir / "p.bin.gz";
        f.out = f.dir / "out.bin";
        const Bytes data = Pictures();
        f.size = data.size();
        const fs::path raw = f.dir / kMember;
        std::FILE* r = std::fopen(raw.c_str(), "wb");
        std::fwrite(data.data(), 1, data.size(), r);
        std::fclose(r);
        TQvPack pack;
        pack.SetReadOnly(false);
        if (!pack.NewPack(f.pack.c_str()) || !pack.AddFile(kMember, raw.c_str(), true))
            std::fprintf(stderr, "bench_extract: cannot make the pack\n");
        pack.EndPack();
        gzFile gz = gzopen(f.gz.c_str(), "wb6");
        gzwrite(gz, data.data(), unsigned(data.size()));
        gzclose(gz);
        return f;
    }();
    return files;
}

void BM_ExtractStreaming(benchmark::State& state) {
    const Files& f = Inputs();
    for (auto _ : state) {
        TQvPack pack;
        if (!pack.LoadPack(f.pack.c_str())) state.SkipWithError("pack");
        QvFILE* h = pack.QvfopenComp(kMember, false);
        std::FILE* out = std::fopen(f.out.c_str(), "wb");
        if (!h || !out || !pack.ExtractTo(out, h)) state.SkipWithError("extract");
        pack.Qvfclose(h);
        std::fclose(out);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * f.size));
}

void BM_ExtractInMemory(benchmark::State& state) {
    const Files& f = Inputs();
    for (auto _ : state) {
        TQvPack pack;
        if (!pack.LoadPack(f.pack.c_str())) state.SkipWithError("pack");
        QvFILE* h = pack.Qvfopen(kMember);
        if (!h) state.SkipWithError("open");
        Bytes bytes(pack.Qvfsize(h));
        pack.Qvfread(bytes.data(), 1, std::uint32_t(bytes.size()), h);
        pack.Qvfclose(h);
        std::FILE* out = std::fopen(f.out.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * f.size));
}

void BM_Gunzip(benchmark::State& state) {
    const Files& f = Inputs();
    Bytes buf(64 * 1024);
    for (auto _ : state) {
        gzFile gz = gzopen(f.gz.c_str(), "rb");
        std::FILE* out = std::fopen(f.out.c_str(), "wb");
        for (int n; (n = gzread(gz, buf.data(), unsigned(buf.size()))) > 0;)
            std::fwrite(buf.data(), 1, std::size_t(n), out);
        gzclose(gz);
        std::fclose(out);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * f.size));
}

BENCHMARK(BM_ExtractStreaming)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gunzip)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(Inputs().dir, ec);
    return 0;
}
