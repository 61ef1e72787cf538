#include "platform/TimerService.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "platform/Clock.h"

namespace ui {

namespace {

std::unique_ptr<TimerService>& Current() {
    static std::unique_ptr<TimerService> service;
    return service;
}

}  // namespace

TimerService& MmTimer() {
    auto& service = Current();
    if (!service) {
        const char* headless = std::getenv("LUMIA_HEADLESS");
        if (headless != nullptr && std::string_view(headless) == "1")
            service = std::make_unique<PumpTimerService>();
        else
            service = std::make_unique<ThreadTimerService>();
    }
    return *service;
}

void SetTimerService(std::unique_ptr<TimerService> service) { Current() = std::move(service); }

// ================================================================ the timer thread

ThreadTimerService::~ThreadTimerService() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
        events_.clear();
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

std::uint32_t ThreadTimerService::SetEvent(std::uint32_t delay, std::uint32_t, TimerProc proc,
                                           std::uintptr_t user) {
    if (delay == 0 || proc == nullptr) return 0;
    std::uint32_t id;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stop_) return 0;
        id = nextId_++;
        if (nextId_ == 0) nextId_ = 1;
        events_[id] = Event{delay, proc, user,
                            std::chrono::steady_clock::now() + std::chrono::milliseconds(delay)};
        if (!worker_.joinable()) worker_ = std::thread([this] { Run(); });
    }
    wake_.notify_all();
    return id;
}

bool ThreadTimerService::KillEvent(std::uint32_t id) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (events_.erase(id) == 0) return false;
    // Wait for a callback of this event to return, unless we are that callback.
    if (std::this_thread::get_id() != worker_.get_id())
        idle_.wait(lock, [&] { return running_ != id; });
    lock.unlock();
    wake_.notify_all();
    return true;
}

void ThreadTimerService::Run() {
    using clock = std::chrono::steady_clock;
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        if (events_.empty()) {
            wake_.wait(lock);
            continue;
        }
        auto next = std::min_element(
            events_.begin(), events_.end(),
            [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
        const auto due = next->second.due;
        if (clock::now() < due) {
            wake_.wait_until(lock, due);
            continue;
        }
        const std::uint32_t id = next->first;
        Event& e = next->second;
        e.due += std::chrono::milliseconds(e.delay);
        // After a long stall (a suspended machine) the ticks restart from now rather
        // than arriving in one burst.
        const auto now = clock::now();
        if (now - e.due > std::chrono::seconds(1)) e.due = now + std::chrono::milliseconds(e.delay);
        const TimerProc proc = e.proc;
        const std::uintptr_t user = e.user;
        running_ = id;
        lock.unlock();
        proc(id, user);
        lock.lock();
        running_ = 0;
        idle_.notify_all();
    }
}

// ================================================================ ticks from the pump

std::uint32_t PumpTimerService::SetEvent(std::uint32_t delay, std::uint32_t, TimerProc proc,
                                         std::uintptr_t user) {
    if (delay == 0 || proc == nullptr) return 0;
    Purge();
    const std::uint32_t id = nextId_++;
    if (nextId_ == 0) nextId_ = 1;
    auto e = std::make_unique<Event>();
    e->delay = delay;
    e->next = GetTickCount() + delay;
    e->proc = proc;
    e->user = user;
    e->timer.SetInterval(delay);
    e->timer.OnTimer = [this, id] { Deliver(id); };
    events_[id] = std::move(e);
    return id;
}

bool PumpTimerService::KillEvent(std::uint32_t id) {
    auto it = events_.find(id);
    if (it == events_.end() || it->second->killed) return false;
    // The window timer may be the one calling us: it goes quiet now and is deleted
    // once no delivery is under way.
    it->second->killed = true;
    it->second->timer.SetEnabled(false);
    Purge();
    return true;
}

void PumpTimerService::Deliver(std::uint32_t id) {
    ++delivering_;
    const std::uint32_t now = GetTickCount();
    for (;;) {
        auto it = events_.find(id);
        if (it == events_.end() || it->second->killed) break;
        Event& e = *it->second;
        if (!TickReached(now, e.next)) break;
        e.next += e.delay;
        e.proc(id, e.user);
    }
    --delivering_;
    Purge();
}

void PumpTimerService::Purge() {
    if (delivering_ > 0) return;
    std::erase_if(events_, [](const auto& kv) { return kv.second->killed; });
}

// ================================================================ the fake

TimeCaps FakeTimerService::GetDevCaps() {
    Log.push_back("caps");
    return Caps;
}

bool FakeTimerService::BeginPeriod(std::uint32_t resolution) {
    Log.push_back("begin " + std::to_string(resolution) + (FailBeginPeriod ? " refused" : ""));
    if (FailBeginPeriod) return false;
    periods_.push_back(resolution);
    return true;
}

void FakeTimerService::EndPeriod(std::uint32_t resolution) {
    Log.push_back("end " + std::to_string(resolution));
    auto it = std::find(periods_.begin(), periods_.end(), resolution);
    if (it != periods_.end()) periods_.erase(it);
}

std::uint32_t FakeTimerService::SetEvent(std::uint32_t delay, std::uint32_t resolution,
                                         TimerProc proc, std::uintptr_t user) {
    std::uint32_t id = 0;
    if (!FailSetEvent && delay > 0 && proc != nullptr) {
        id = nextId_++;
        events_.push_back(Event{id, delay, resolution, proc, user});
    }
    Log.push_back("set " + std::to_string(delay) + " " + std::to_string(resolution) + " -> " +
                  std::to_string(id));
    return id;
}

bool FakeTimerService::KillEvent(std::uint32_t id) {
    Log.push_back("kill " + std::to_string(id));
    auto it =
        std::find_if(events_.begin(), events_.end(), [id](const Event& e) { return e.id == id; });
    if (it == events_.end()) return false;
    events_.erase(it);
    return true;
}

bool FakeTimerService::Fire(std::uint32_t id, int times) {
    for (int i = 0; i < times; ++i) {
        auto it = std::find_if(events_.begin(), events_.end(),
                               [id](const Event& e) { return e.id == id; });
        if (it == events_.end()) return false;
        const Event e = *it;
        e.proc(e.id, e.user);
    }
    return true;
}

void FakeTimerService::FireAll() {
    std::vector<std::uint32_t> ids;
    for (const Event& e : events_) ids.push_back(e.id);
    for (std::uint32_t id : ids) Fire(id);
}

}  // namespace ui
