// The game's sounds: the effects pack, the voice packs and the music tracks. All are
// short generated sounds at 22,050 Hz, 16-bit mono: an effect is a tone or chirp of its
// own, a voice a short tone whose pitch follows its number, and a music track a short
// melody loop (a FLAC file with verbatim subframes) whose key and pace tell the place
// and the season apart.
#include <algorithm>
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
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
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

// What a track is for sets its mood: the key (a root and a mode), the pace, the beats
// to a bar (3 for the ball's waltz), the instrument's brightness and how busy the tune
// is. Tracks by use: 2 the album, 3 the music box, 4 sorrow (musings, bad endings),
// 5 dreams and alarms, 6 芙蘿蕾, 7 the castle, 8 and 9 the story's days, 10 the town,
// 11 the land, 12..15 the shop in spring, summer, autumn and winter, 16 the ball,
// 17 the good endings, 18 the title, 19 and 20 trouble, 21 and 23 the ghostly night,
// 22 tenderness.
struct Mood {
    double root;    // Hz of the tonic
    int mode;       // 0 major, 1 minor, 2 dorian, 3 whole tone (the uncanny)
    int beatMs;     // one beat
    int meter;      // beats to a bar
    double bright;  // the share of the second and third harmonics
    int busy;       // notes to a beat: 1 or 2
};

Mood TrackMood(int track) {
    switch (track) {
        case 2:
            return {392.0, 0, 420, 4, 0.15, 1};
        case 3:
            return {784.0, 0, 300, 3, 0.05, 1};  // a music box, high and pure
        case 4:
            return {220.0, 1, 560, 4, 0.10, 1};
        case 5:
            return {293.7, 3, 380, 4, 0.35, 1};
        case 6:
            return {349.2, 0, 400, 3, 0.15, 1};
        case 7:
            return {261.6, 0, 440, 4, 0.40, 1};
        case 8:
            return {329.6, 0, 300, 4, 0.25, 2};
        case 9:
            return {293.7, 2, 340, 4, 0.25, 1};
        case 10:
            return {392.0, 0, 280, 4, 0.30, 2};
        case 11:
            return {293.7, 0, 360, 3, 0.20, 1};
        case 12:
            return {349.2, 0, 320, 4, 0.20, 2};
        case 13:
            return {392.0, 0, 260, 4, 0.35, 2};
        case 14:
            return {329.6, 2, 380, 3, 0.20, 1};
        case 15:
            return {261.6, 1, 460, 4, 0.10, 1};
        case 16:
            return {349.2, 0, 300, 3, 0.30, 1};
        case 17:
            return {261.6, 0, 400, 4, 0.30, 2};
        case 18:
            return {293.7, 0, 380, 4, 0.20, 1};
        case 19:
            return {220.0, 1, 260, 4, 0.45, 2};
        case 20:
            return {246.9, 1, 300, 4, 0.35, 2};
        case 21:
            return {233.1, 3, 520, 3, 0.05, 1};
        case 22:
            return {329.6, 0, 500, 4, 0.10, 1};
        case 23:
            return {207.7, 3, 600, 4, 0.05, 1};
        default:
            return {261.6, 0, 400, 4, 0.20, 1};
    }
}

// A voice of the tune: a tone with some harmonics and a soft attack and decay, mixed
// into `out` from sample `at`.
void AddNote(std::vector<double>& out, std::size_t at, double f, int ms, double volume,
             double bright) {
    const std::size_t n = std::size_t(kRate) * ms / 1000;
    if (out.size() < at + n) out.resize(at + n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = double(i) / kRate;
        const double env = std::min(1.0, t / 0.01) * std::exp(-2.5 * t * 1000.0 / ms);
        const double w = 2 * kPi * f * t;
        out[at + i] += volume * env *
                       ((1 - bright) * std::sin(w) + bright * 0.6 * std::sin(2 * w) +
                        bright * 0.4 * std::sin(3 * w));
    }
}

// Track n: eight bars of a tune (four for a slow one, so that no loop runs past ten
// seconds) over a bass and a chord, in its mood. The melody walks
// the mode's steps from a seeded sequence (the same notes every build), each phrase
// ending on the tonic so that the loop closes.
Samples TrackMusic(int track) {
    static const int kModes[4][7] = {{0, 2, 4, 5, 7, 9, 11},
                                     {0, 2, 3, 5, 7, 8, 10},
                                     {0, 2, 3, 5, 7, 9, 10},
                                     {0, 2, 4, 6, 8, 10, 12}};
    // Chords by bar, as steps of the mode: I, IV, V, I / vi, IV, V, I.
    static const int kChords[8] = {0, 3, 4, 0, 5, 3, 4, 0};
    const Mood m = TrackMood(track);
    auto pitch = [&](int step) {
        const int octave = step >= 0 ? step / 7 : (step - 6) / 7;
        const int degree = step - octave * 7;
        return m.root * std::pow(2.0, (kModes[m.mode][degree] + 12 * octave) / 12.0);
    };
    std::uint32_t seed = 2166136261u ^ std::uint32_t(track * 16777619u);
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return int(seed >> 24);
    };
    const std::size_t beat = std::size_t(kRate) * m.beatMs / 1000;
    const int bars = m.beatMs * m.meter * 8 <= 9500 ? 8 : 4;
    std::vector<double> mix;
    int step = 0;
    for (int bar = 0; bar < bars; ++bar) {
        const int chord = kChords[bar];
        const std::size_t barAt = beat * m.meter * bar;
        // The bass on the first beat, the chord's other notes on the others.
        AddNote(mix, barAt, pitch(chord - 14), m.beatMs * m.meter, 0.22, 0.1);
        for (int b = 1; b < m.meter; ++b)
            AddNote(mix, barAt + beat * b, pitch(chord - 7 + (b % 2 ? 2 : 4)), m.beatMs, 0.10, 0.1);
        const int notes = m.meter * m.busy;
        for (int k = 0; k < notes; ++k) {
            const bool last = (bar % 4 == 3) && k == notes - 1;
            if (k == 0) {
                step = chord + (next() % 3) * 2 - 2;  // a note of the chord on the downbeat
            } else {
                const int r = next() % 8;
                step += r < 3 ? 1 : r < 6 ? -1 : r == 6 ? 2 : -2;
            }
            step = std::clamp(step, -2, 9);
            if (last) step = bar == bars - 1 ? 0 : 4;  // the phrase rests on the tonic or the fifth
            const int ms = m.beatMs / m.busy;
            if (next() % 7 != 0 || k == 0)  // now and then a rest
                AddNote(mix, barAt + std::size_t(k) * beat / m.busy, pitch(step),
                        last ? ms * 2 : ms, 0.32, m.bright);
        }
    }
    mix.resize(beat * m.meter * bars, 0.0);
    Samples s;
    s.reserve(mix.size());
    for (const double v : mix)
        s.push_back(static_cast<std::int16_t>(std::clamp(v, -1.0, 1.0) * 30000));
    return s;
}

// Every track the game plays: the engine's (10 town, 11 land, 12..15 the shop by
// season, 18 the title, 2 the album) and those of the story's scenes.
constexpr int kFirstTrack = 2;
constexpr int kLastTrack = 23;

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

    for (int track = kFirstTrack; track <= kLastTrack; ++track) {
        char name[32];
        std::snprintf(name, sizeof name, "track%02d.flac", track);
        if (!WriteBytes(root / "music" / name, FlacImage(TrackMusic(track)))) return false;
    }
    return true;
}

}  // namespace mkgamedata
