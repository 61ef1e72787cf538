#include "media/Qvtimer.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "platform/Big5.h"

TQvTimer::TQvTimer(ui::TimerService* service) : service_(service ? service : &ui::MmTimer()) {
    const ui::TimeCaps caps = service_->GetDevCaps();
    periodMin_ = caps.periodMin;
    periodMax_ = caps.periodMax;
    resolution_ = std::min(std::max(100u, periodMin_), periodMax_);
}

TQvTimer::~TQvTimer() {
    enabled_ = false;
    StopTimer();
}

void TQvTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TQvTimer::SetInterval(unsigned interval) {
    if (interval == interval_) return;
    interval_ = interval;
    resolution_ = std::min(std::max(std::min(interval / 2, 100u), periodMin_), periodMax_);
    UpdateTimer();
}

void TQvTimer::SetOnTimer(TimerEvent handler) {
    // The event goes first, so the handler is never swapped under a running callback.
    StopTimer();
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TQvTimer::CountInc() {
    int c = count_.load();
    while (c < kCountMax && !count_.compare_exchange_weak(c, c + 1)) {
    }
}

void TQvTimer::CountDec() {
    int c = count_.load();
    while (c > 0 && !count_.compare_exchange_weak(c, c - 1)) {
    }
}

void TQvTimer::Timer() {
    CountInc();
    if (onTimer_) onTimer_(*this);
}

void TQvTimer::StopTimer() {
    if (eventId_ != 0) {
        service_->KillEvent(eventId_);
        eventId_ = 0;
    }
    if (period_ != 0) {
        service_->EndPeriod(period_);
        period_ = 0;
    }
}

void TQvTimer::UpdateTimer() {
    StopTimer();
    if (interval_ == 0 || !enabled_) return;
    if (!service_->BeginPeriod(resolution_))
        throw ui::EOutOfResources(B5("無法設定多媒體時序的最小配置"));
    period_ = resolution_;
    eventId_ = service_->SetEvent(interval_, resolution_, &TQvTimer::Callback,
                                  reinterpret_cast<std::uintptr_t>(this));
    if (eventId_ == 0) {
        service_->EndPeriod(period_);
        period_ = 0;
        throw ui::EOutOfResources(B5("無法取得多媒體時序"));
    }
}

void TQvTimer::Callback(std::uint32_t, std::uintptr_t user) {
    auto* timer = reinterpret_cast<TQvTimer*>(user);
    // An error of the handler ends here: nothing may leave the timer thread.
    try {
        timer->Timer();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "TQvTimer: OnTimer failed: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "TQvTimer: OnTimer failed\n");
    }
}
