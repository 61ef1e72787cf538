#pragma once
#include <cstdint>

// The runtime's random generator, as the game draws from it: a 32-bit state,
// state = state * 22695477 + 1, result = (state >> 16) & 0x7FFF.
// Ours, never the C library's, so a seed gives the same game on every machine.
namespace ui {

constexpr int kRandMax = 0x7FFF;

void Srand(std::uint32_t seed);
int Rand();
std::uint32_t RandState();

}  // namespace ui
