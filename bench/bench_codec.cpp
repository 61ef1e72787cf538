// Orvane decode and encode throughput beside zlib's inflate and deflate (level 6)
// on the same inputs in the same run: an 8-bit 640x480 picture like the game's,
// a WAV of speech-like audio, and random bytes. Ends with the speed ratios and
// the sizes each codec stores.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "media/Orvane.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A picture as the game stores them: flat fills and gradients, outlined shapes,
// dithered shading, a strip of noisy texture.
Bytes Picture() {
    const int w = 640, h = 480;
    std::mt19937 g(1);
    Bytes px(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[std::size_t(y) * w + x] = std::uint8_t(32 + y / 20);
    for (int r = 0; r < 60; ++r) {
        const int x0 = g() % w, y0 = g() % h, rw = 10 + g() % 200, rh = 10 + g() % 150;
        const std::uint8_t c = std::uint8_t(g() % 224);
        const int kind = g() % 3;
        for (int y = y0; y < std::min(h, y0 + rh); ++y)
            for (int x = x0; x < std::min(w, x0 + rw); ++x) {
                std::uint8_t v = c;
                if (kind == 1) v = std::uint8_t(c + ((x ^ y) & 1) * 2);  // dither
                if (kind == 2) v = std::uint8_t(c + (x - x0) * 8 / rw);  // gradient
                if (y == y0 || x == x0 || y == y0 + rh - 1 || x == x0 + rw - 1) v = 0;
                px[std::size_t(y) * w + x] = v;
            }
    }
    for (int y = 400; y < 440; ++y)
        for (int x = 0; x < w; ++x) px[std::size_t(y) * w + x] = std::uint8_t(100 + g() % 12);
    return px;
}

void PutU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

// Four seconds of 22,050 Hz 16-bit mono: voiced syllables with pauses, breath noise.
Bytes SpeechWav() {
    const std::uint32_t rate = 22050, samples = rate * 4;
    std::mt19937 g(2);
    Bytes pcm;
    double phase = 0;
    for (std::uint32_t i = 0; i < samples; ++i) {
        const double t = double(i) / rate;
        const double syllable = std::max(0.0, std::sin(t * 2 * M_PI * 3.1));
        const double phrase = t - std::floor(t) < 0.8 ? 1.0 : 0.0;
        const double f0 = 120 + 30 * std::sin(t * 2.3);
        phase += 2 * M_PI * f0 / rate;
        double v = syllable * phrase *
                   (std::sin(phase) + 0.6 * std::sin(2 * phase + 0.5) + 0.3 * std::sin(3 * phase));
        v += (double(g() % 1000) - 500) / 250000.0;
        const auto s = std::int16_t(std::clamp(v * 8000, -32768.0, 32767.0));
        pcm.push_back(std::uint8_t(s));
        pcm.push_back(std::uint8_t(s >> 8));
    }
    Bytes wav = {'R', 'I', 'F', 'F'};
    PutU32(wav, 36 + std::uint32_t(pcm.size()));
    for (char c : std::string("WAVEfmt ")) wav.push_back(std::uint8_t(c));
    PutU32(wav, 16);
    wav.insert(wav.end(), {1, 0, 1, 0});
    PutU32(wav, rate);
    PutU32(wav, rate * 2);
    wav.insert(wav.end(), {2, 0, 16, 0});
    for (char c : std::string("data")) wav.push_back(std::uint8_t(c));
    PutU32(wav, std::uint32_t(pcm.size()));
    wav.insert(wav.end(), pcm.begin(), pcm.end());
    return wav;
}

Bytes RandomBytes() {
    std::mt19937 g(3);
    Bytes b(307200);
    for (auto& c : b) c = std::uint8_t(g());
    return b;
}

const std::vector<std::pair<std::string, Bytes>>& Inputs() {
    static const std::vector<std::pair<std::string, Bytes>> inputs = {
        {"picture", Picture()}, {"speech", SpeechWav()}, {"random", RandomBytes()}};
    return inputs;
}

Bytes& OrvaneEncodeInto(const Bytes& in, Bytes& result) {
    TOrvaneEncode enc;
    const std::uint8_t* out = enc.Open(std::uint32_t(in.size()));
    result.clear();
    std::size_t at = 0;
    static const Bytes none(orvane::kBlockSize);
    while (!enc.Done()) {
        const std::size_t n = std::min<std::size_t>(orvane::kBlockSize, in.size() - at);
        const int k = enc.Encode(n > 0 ? in.data() + at : none.data());
        at += n;
        result.insert(result.end(), out, out + k);
    }
    return result;
}

// The block loops as the pack drives them. The result goes to a buffer kept from
// run to run, so the timing is the codec's, not the allocator's page faults.
Bytes OrvaneEncode(const Bytes& in) {
    Bytes result;
    result.reserve(in.size() + in.size() / 8 + 64);
    return OrvaneEncodeInto(in, result);
}

std::size_t OrvaneDecode(const Bytes& stream, std::uint32_t size, std::uint8_t* dest) {
    TOrvaneDecode dec;
    const std::uint8_t* block = dec.Open(size, std::uint32_t(stream.size()));
    std::size_t at = 0, produced = 0;
    while (!dec.Done()) {
        const std::uint8_t* in = stream.data() + at;
        if (dec.NeedInput()) at += std::min<std::size_t>(orvane::kBlockSize, stream.size() - at);
        const int k = dec.Decode(in);
        std::memcpy(dest + produced, block, std::size_t(k));
        produced += std::size_t(k);
    }
    return produced;
}

Bytes& DeflateInto(const Bytes& in, Bytes& out) {
    uLongf n = compressBound(uLong(in.size()));
    out.resize(n);
    compress2(out.data(), &n, in.data(), uLong(in.size()), 6);
    out.resize(n);
    return out;
}

Bytes Deflate(const Bytes& in) {
    Bytes out;
    return DeflateInto(in, out);
}

void BM_OrvaneEncode(benchmark::State& state) {
    const Bytes& in = Inputs()[std::size_t(state.range(0))].second;
    Bytes out;
    out.reserve(in.size() + in.size() / 8 + 64);
    for (auto _ : state) benchmark::DoNotOptimize(OrvaneEncodeInto(in, out).data());
    state.SetBytesProcessed(std::int64_t(state.iterations() * in.size()));
    state.SetLabel(Inputs()[std::size_t(state.range(0))].first);
}

void BM_Deflate6(benchmark::State& state) {
    const Bytes& in = Inputs()[std::size_t(state.range(0))].second;
    Bytes out(compressBound(uLong(in.size())));
    for (auto _ : state) benchmark::DoNotOptimize(DeflateInto(in, out).data());
    state.SetBytesProcessed(std::int64_t(state.iterations() * in.size()));
    state.SetLabel(Inputs()[std::size_t(state.range(0))].first);
}

void BM_OrvaneDecode(benchmark::State& state) {
    const Bytes& in = Inputs()[std::size_t(state.range(0))].second;
    const Bytes stream = OrvaneEncode(in);
    Bytes out(in.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(OrvaneDecode(stream, std::uint32_t(in.size()), out.data()));
        benchmark::ClobberMemory();
    }
    if (out != in) state.SkipWithError("decoded bytes differ");
    state.SetBytesProcessed(std::int64_t(state.iterations() * in.size()));
    state.SetLabel(Inputs()[std::size_t(state.range(0))].first);
}

void BM_Inflate(benchmark::State& state) {
    const Bytes& in = Inputs()[std::size_t(state.range(0))].second;
    const Bytes stream = Deflate(in);
    Bytes out(in.size());
    for (auto _ : state) {
        uLongf n = uLongf(out.size());
        uncompress(out.data(), &n, stream.data(), uLong(stream.size()));
        benchmark::ClobberMemory();
    }
    if (out != in) state.SkipWithError("inflated bytes differ");
    state.SetBytesProcessed(std::int64_t(state.iterations() * in.size()));
    state.SetLabel(Inputs()[std::size_t(state.range(0))].first);
}

BENCHMARK(BM_OrvaneDecode)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Inflate)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrvaneEncode)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Deflate6)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Keeps every run's throughput for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration) continue;
            const auto it = r.counters.find("bytes_per_second");
            if (it != r.counters.end()) speed[r.benchmark_name()] = it->second.value;
        }
    }
    std::map<std::string, double> speed;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-8s %14s %14s %14s %14s %9s %9s\n", "input", "orvane dec", "inflate",
                "orvane enc", "deflate 6", "dec ratio", "enc ratio");
    for (std::size_t i = 0; i < Inputs().size(); ++i) {
        std::string k = "/";
        k += std::to_string(i);
        auto get = [&](const char* name) {
            const auto it = reporter.speed.find(std::string(name) + k);
            return it == reporter.speed.end() ? 0.0 : it->second / 1e6;
        };
        const double dec = get("BM_OrvaneDecode"), inf = get("BM_Inflate");
        const double enc = get("BM_OrvaneEncode"), def = get("BM_Deflate6");
        if (dec + inf + enc + def == 0) continue;
        std::printf("%-8s %9.1f MB/s %9.1f MB/s %9.1f MB/s %9.1f MB/s %9.2f %9.2f\n",
                    Inputs()[i].first.c_str(), dec, inf, enc, def, inf > 0 ? dec / inf : 0.0,
                    def > 0 ? enc / def : 0.0);
    }
    std::printf("\n%-8s %10s %10s %10s\n", "input", "size", "orvane", "zlib 6");
    for (const auto& [name, in] : Inputs())
        std::printf("%-8s %10zu %10zu %10zu\n", name.c_str(), in.size(), OrvaneEncode(in).size(),
                    Deflate(in).size());
    benchmark::Shutdown();
    return 0;
}
