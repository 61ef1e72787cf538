#pragma once
#include <cstdint>

// The tick count and sleeping come from a clock object: the real one in play,
// a virtual one in tests, which jumps to the next deadline instead of waiting.
namespace ui {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps at 2^32 (compare by unsigned difference).
    virtual std::uint32_t Now() = 0;
    // Blocks (real) or advances (virtual) for ms milliseconds.
    virtual void Sleep(std::uint32_t ms) = 0;
    // Seconds since the epoch, for the runtime's time() seed.
    virtual std::int64_t WallSeconds() = 0;
};

class RealClock final : public Clock {
public:
    std::uint32_t Now() override;
    void Sleep(std::uint32_t ms) override;
    std::int64_t WallSeconds() override;
};

class VirtualClock final : public Clock {
public:
    explicit VirtualClock(std::uint32_t start = 0, std::int64_t wallStart = 946684800)
        : now_(start), wallStart_(wallStart), start_(start) {}
    std::uint32_t Now() override { return now_; }
    void Sleep(std::uint32_t ms) override { now_ += ms; }
    std::int64_t WallSeconds() override { return wallStart_ + (now_ - start_) / 1000; }
    void Advance(std::uint32_t ms) { now_ += ms; }
    void Set(std::uint32_t now) { now_ = now; }

private:
    std::uint32_t now_;
    std::int64_t wallStart_;
    std::uint32_t start_;
};

// The clock in use (the real one until a test or the headless back end sets another).
Clock& CurrentClock();
void SetClock(Clock* clock);  // null restores the real clock

// The system calls, as the game makes them.
inline std::uint32_t GetTickCount() { return CurrentClock().Now(); }
inline void Sleep(std::uint32_t ms) { CurrentClock().Sleep(ms); }
// The runtime's time(): seconds since the epoch, from the clock in use (the seed the
// game gives the random generator at start-up).
inline std::int64_t Time() { return CurrentClock().WallSeconds(); }

}  // namespace ui
