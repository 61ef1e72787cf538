#include "platform/Random.h"

namespace ui {
namespace {
std::uint32_t g_state = 1;  // the runtime starts as if seeded with 1
}

void Srand(std::uint32_t seed) { g_state = seed; }

int Rand() {
    g_state = g_state * 22695477u + 1u;
    return static_cast<int>((g_state >> 16) & 0x7FFF);
}

std::uint32_t RandState() { return g_state; }

}  // namespace ui
