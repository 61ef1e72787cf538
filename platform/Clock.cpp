#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace ui {

std::uint32_t RealClock::Now() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void RealClock::Sleep(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::int64_t RealClock::WallSeconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

namespace {
RealClock g_realClock;
Clock* g_clock = &g_realClock;
}  // namespace

Clock& CurrentClock() { return *g_clock; }
void SetClock(Clock* clock) { g_clock = clock ? clock : &g_realClock; }

}  // namespace ui
