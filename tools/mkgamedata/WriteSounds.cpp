// The game's sounds: the effects pack, the voice packs and the music tracks. All are
// short generated sounds at 22,050 Hz, 16-bit mono: an effect is a tone or chirp of its
// own, a voice a short tone whose pitch follows its number, and a music track a short
// melody loop (a FLAC file with verbatim subframes) whose key and pace tell the place
// and the season apart.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/mkgamedata/PackWriter.h"
#include "tools/mkgamedata/PictureWriter.h"
#include "town/SoundTables.h"

namespace mkgamedata {

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<std::int16_t>;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

// A RIFF WAVE image of 16-bit mono samples.
std::vector<std::uint8_t> WaveImage(const Samples& samples) {
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, 36 + dataSize);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, kRate);
    Put32(out, kRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataSize);
    for (const std::int16_t s : samples) Put16(out, static_cast<std::uint16_t>(s));
    return out;
}

// A tone sliding from f0 to f1 Hz over ms milliseconds, with a short fade at both ends.
void AddChirp(Samples& out, double f0, double f1, int ms, double volume = 0.4) {
    const int n = kRate * ms / 1000;
    const int fade = std::min(n / 4, kRate / 200);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double f = f0 + (f1 - f0) * i / n;
        phase += 2 * kPi * f / kRate;
        double env = 1.0;
        if (i < fade) env = double(i) / fade;
        if (n - i < fade) env = double(n - i) / fade;
        out.push_back(static_cast<std::int16_t>(std::sin(phase) * env * volume * 32767));
    }
}

// Effect k: one to three short chirps whose pitch, slide and pace come from k.
Samples EffectSound(int k) {
    Samples s;
    const double base = 220.0 * std::pow(2.0, (k % 24) / 12.0);
    const double slide = (k % 3 == 0) ? 1.0 : (k % 3 == 1 ? 1.5 : 0.66);
    const int parts = 1 + k % 3;
    const int ms = 90 + (k % 5) * 30;
    for (int p = 0; p < parts; ++p) {
        AddChirp(s, base * (1 + 0.25 * p), base * (1 + 0.25 * p) * slide, ms);
        AddChirp(s, 0, 0, 20, 0);  // a short rest
    }
    return s;
}

// Voice v: a 100 ms tone, higher for higher numbers.
Samples VoiceSound(int v) {
    Samples s;
    const double f = 200.0 + (v - kFirstVoice) * 0.5;
    AddChirp(s, f, f * 1.06, 100, 0.35);
    return s;
}

// ---- FLAC, written by hand: STREAMINFO and frames of verbatim subframes.

class BitWriter {
public:
    void Bits(std::uint64_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            acc_ = static_cast<std::uint8_t>(acc_ << 1 | ((value >> i) & 1));
            if (++n_ == 8) {
                bytes.push_back(acc_);
                acc_ = 0;
                n_ = 0;
            }
        }
    }
    std::vector<std::uint8_t> bytes;

private:
    std::uint8_t acc_ = 0;
    int n_ = 0;
};

std::uint8_t Crc8(const std::uint8_t* p, std::size_t n) {
    std::uint8_t crc = 0;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int b = 0; b < 8; ++b)
            crc = static_cast<std::uint8_t>(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

std::uint16_t Crc16(const std::uint8_t* p, std::size_t n) {
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= static_cast<std::uint16_t>(p[i] << 8);
        for (int b = 0; b < 8; ++b)
            crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x8005 : crc << 1);
    }
    return crc;
}

constexpr int kFlacBlock = 4096;

// The samples are padded with silence to whole blocks.
std::vector<std::uint8_t> FlacImage(Samples samples) {
    samples.resize((samples.size() + kFlacBlock - 1) / kFlacBlock * kFlacBlock, 0);
    const std::size_t frames = samples.size() / kFlacBlock;
    BitWriter head;
    head.Bits('f', 8), head.Bits('L', 8), head.Bits('a', 8), head.Bits('C', 8);
    head.Bits(1, 1), head.Bits(0, 7), head.Bits(34, 24);  // last block, STREAMINFO
    head.Bits(kFlacBlock, 16), head.Bits(kFlacBlock, 16);
    const std::size_t frameSize = 6 + 1 + 2 * kFlacBlock + 2;
    head.Bits(frameSize, 24), head.Bits(frameSize, 24);
    head.Bits(kRate, 20), head.Bits(0, 3), head.Bits(15, 5);  // mono, 16 bits
    head.Bits(samples.size(), 36);
    for (int i = 0; i < 16; ++i) head.Bits(0, 8);  // no MD5 signature
    std::vector<std::uint8_t> out = head.bytes;
    for (std::size_t f = 0; f < frames; ++f) {
        BitWriter frame;
        frame.Bits(0x3FFE, 14), frame.Bits(0, 1), frame.Bits(0, 1);  // sync, fixed blocks
        frame.Bits(0xC, 4);                                          // 4096 samples
        frame.Bits(0x7, 4);                                          // 22.05 kHz
        frame.Bits(0x0, 4);                                          // mono
        frame.Bits(0x4, 3), frame.Bits(0, 1);                        // 16 bits
        frame.Bits(f, 8);                                            // frame number (below 128)
        frame.Bits(Crc8(frame.bytes.data(), frame.bytes.size()), 8);
        frame.Bits(0x02, 8);  // verbatim subframe, no wasted bits
        for (int i = 0; i < kFlacBlock; ++i)
            frame.Bits(static_cast<std::uint16_t>(samples[f * kFlacBlock + i]), 16);
        frame.Bits(Crc16(frame.bytes.data(), frame.bytes.size()), 16);
        out.insert(out.end(), frame.bytes.begin(), frame.bytes.end());
    }
    return out;
}

// Track n: a loop of eight notes. The town walks in a major key, the land strolls
// lower, each season of the shop has its own key and pace.
Samples TrackMusic(int track) {
    static const int kMajor[8] = {0, 4, 7, 12, 7, 4, 2, 5};
    static const int kMinor[8] = {0, 3, 7, 10, 7, 3, 5, 2};
    const bool minor = track == 11 || track == 15 || track % 2 == 1;
    const double root = 196.0 * std::pow(2.0, (track % 12) / 12.0);
    const int noteMs = 260 + (track % 4) * 60;
    Samples s;
    for (int bar = 0; bar < 2; ++bar)
        for (int i = 0; i < 8; ++i) {
            const int step = (minor ? kMinor : kMajor)[(i + bar * 3) % 8];
            const double f = root * std::pow(2.0, step / 12.0);
            AddChirp(s, f, f, noteMs - 30, 0.3);
            AddChirp(s, 0, 0, 30, 0);
        }
    return s;
}

// The engine's tracks (10 town, 11 land, 12..15 the shop by season), the title's (18)
// and the album's (2), and the ones the story's events play.
constexpr int kTracks[] = {2, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 18, 20, 21, 22};

}  // namespace

bool WriteSounds(const std::filesystem::path& root) {
    // The effects: a file under two numbers is one member, sounding as its first number.
    std::vector<PackMember> effects;
    std::set<std::string> names;
    for (int k = 0; k < kSoundEffectCount; ++k)
        if (names.insert(SoundNames[k]).second)
            effects.push_back({SoundNames[k], WaveImage(EffectSound(k))});
    if (!WritePack(root / "wave" / "se" / "sepack.pak", effects)) return false;

    // The voices, pack by pack; a pack file that serves two ranges holds both.
    std::map<std::string, std::vector<PackMember>> packs;
    for (int v = kFirstVoice; v <= kLastVoice; ++v)
        packs[VoicePackNames[VoicePackOf(v)]].push_back(
            {VoiceNames[v - kFirstVoice].data(), WaveImage(VoiceSound(v))});
    for (const auto& [name, members] : packs)
        if (!WritePack(root / "wave" / "Intm" / (name + ".pak"), members)) return false;

    for (const int track : kTracks) {
        char name[32];
        std::snprintf(name, sizeof name, "track%02d.flac", track);
        if (!WriteBytes(root / "music" / name, FlacImage(TrackMusic(track)))) return false;
    }
    return true;
}

}  // namespace mkgamedata
