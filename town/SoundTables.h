#pragma once
#include <array>
#include <cstdint>
#include <string>

// The one number space of the game's sounds: 0..84 are the effects of
// "wave\se\sepack.pak", 100..1261 the voice lines of the voice packs of "wave\Intm\".

constexpr int kSoundEffectCount = 85;  // effects 0..84
constexpr int kFirstVoice = 100;
constexpr int kVoiceCount = 1162;  // voices 100..1261
constexpr int kLastVoice = kFirstVoice + kVoiceCount - 1;
constexpr int kVoicePackCount = 46;
constexpr int kVoicePackEnd = 100000;  // the start table's closing entry

constexpr int kSoundNameLen = 20;
constexpr int kVoiceNameLen = 32;
constexpr int kVoicePackNameLen = 12;

// File names of the effects, by effect number; some files stand under two numbers.
extern const std::array<const char*, kSoundEffectCount> SoundNames;
// File names of the voice lines: VoiceNames[n - 100] is voice n.
extern const std::array<std::array<char, kVoiceNameLen>, kVoiceCount> VoiceNames;
// The voice packs, in number order: pack p holds voices VoicePackStarts[p] up to
// VoicePackStarts[p + 1] - 1; one pack file may serve two ranges.
extern const std::array<const char*, kVoicePackCount> VoicePackNames;
extern const std::array<std::int32_t, kVoicePackCount + 1> VoicePackStarts;

// The pack index holding voice n (VoicePackStarts[p] <= n < VoicePackStarts[p + 1]), or -1
// for a number outside 100..1261.
int VoicePackOf(int n);
// The pack whose first voice number is exactly n, or -1.
int VoicePackStartingAt(int n);

// Where sound n lives: the pack file (a game path) and the member name. False for
// a number that names no sound (85..99, below 0, above 1261).
struct SoundLocation {
    std::string pack;
    std::string member;
};
bool LocateSound(int n, SoundLocation& out);
