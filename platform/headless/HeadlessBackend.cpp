#include "platform/headless/HeadlessBackend.h"

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Timer.h"
#include "platform/Transcript.h"

namespace ui {

HeadlessBackend::HeadlessBackend(const HeadlessOptions& options)
    : options_(options),
      clock_(options.startTick, options.wallStart),
      previousClock_(&CurrentClock()) {
    SetClock(&clock_);
    lastProgress_ = clock_.Now();
    headSince_ = clock_.Now();
}

HeadlessBackend::~HeadlessBackend() { SetClock(previousClock_); }

void HeadlessBackend::Script(const InputEvent& event, std::uint32_t afterMs) {
    if (script_.empty()) headSince_ = clock_.Now();
    script_.push_back({event, afterMs, nullptr, std::move(nextNote_)});
    nextNote_.clear();
}

void HeadlessBackend::ScriptAction(std::function<void()> action, std::uint32_t afterMs) {
    if (script_.empty()) headSince_ = clock_.Now();
    script_.push_back({InputEvent{}, afterMs, std::move(action), std::move(nextNote_)});
    nextNote_.clear();
}

void HeadlessBackend::Move(int x, int y, std::uint32_t afterMs) {
    Script({.type = InputType::MouseMove, .x = x, .y = y}, afterMs);
}

void HeadlessBackend::MouseDown(int x, int y, MouseButton button, ShiftState shift,
                                std::uint32_t afterMs) {
    Script({.type = InputType::MouseDown,
            .x = x,
            .y = y,
            .button = button,
            .shift = shift | ButtonBit(button)},
           afterMs);
}

void HeadlessBackend::MouseUp(int x, int y, MouseButton button, ShiftState shift,
                              std::uint32_t afterMs) {
    Script({.type = InputType::MouseUp, .x = x, .y = y, .button = button, .shift = shift}, afterMs);
}

void HeadlessBackend::Click(int x, int y, MouseButton button, ShiftState shift,
                            std::uint32_t afterMs) {
    Move(x, y, afterMs);
    MouseDown(x, y, button, shift);
    MouseUp(x, y, button, shift);
}

void HeadlessBackend::DoubleClick(int x, int y, MouseButton button, ShiftState shift,
                                  std::uint32_t afterMs) {
    Click(x, y, button, shift, afterMs);
    Script({.type = InputType::DoubleClick,
            .x = x,
            .y = y,
            .button = button,
            .shift = shift | ButtonBit(button) | ssDouble});
    MouseUp(x, y, button, shift);
}

void HeadlessBackend::Key(int vkCode, ShiftState shift, std::uint32_t afterMs) {
    InputEvent e;
    e.type = InputType::KeyDown;
    e.key = vkCode;
    e.shift = shift;
    Script(e, afterMs);
    const bool printable = (vkCode >= '0' && vkCode <= '9') || (vkCode >= 'A' && vkCode <= 'Z') ||
                           vkCode == vk::Space || vkCode == vk::Return;
    if (printable && !(shift & (ssCtrl | ssAlt))) {
        InputEvent c;
        c.type = InputType::Char;
        c.ch = static_cast<char>(vkCode >= 'A' && vkCode <= 'Z' && !(shift & ssShift)
                                     ? vkCode - 'A' + 'a'
                                 : vkCode == vk::Return ? '\r'
                                                        : vkCode);
        Script(c);
    }
    e.type = InputType::KeyUp;
    Script(e);
}

void HeadlessBackend::RequestClose(std::uint32_t afterMs) {
    InputEvent e;
    e.type = InputType::Close;
    Script(e, afterMs);
}

void HeadlessBackend::RequestQuit(std::uint32_t afterMs) {
    InputEvent e;
    e.type = InputType::Quit;
    Script(e, afterMs);
}

int HeadlessBackend::AddResponder(Responder responder) {
    const int id = nextResponder_++;
    responders_[id] = std::move(responder);
    return id;
}

void HeadlessBackend::RemoveResponder(int id) { responders_.erase(id); }

void HeadlessBackend::BeginPass() {
    // Walk a copy of the ids: a responder may add or remove responders.
    std::vector<int> ids;
    for (const auto& [id, r] : responders_) ids.push_back(id);
    for (int id : ids) {
        auto it = responders_.find(id);
        if (it == responders_.end()) continue;
        Responder r = it->second;
        if (r()) Progress();
    }
    while (!script_.empty() && TickReached(clock_.Now(), HeadDue())) {
        Scripted& s = script_.front();
        if (s.action) {
            // After the input scripted before it, not in the middle of it.
            if (!released_.empty() || (HaveApp() && App().InputPending())) break;
            std::function<void()> action = std::move(s.action);
            if (!s.note.empty()) Record("input", s.note);
            script_.pop_front();
            headSince_ = clock_.Now();
            Progress();
            action();
            continue;
        }
        if (!s.note.empty()) Record("input", s.note);
        released_.push_back(s.event);
        script_.pop_front();
        headSince_ = clock_.Now();
    }
}

bool HeadlessBackend::InputSettled() const {
    return script_.empty() && released_.empty() && !(HaveApp() && App().InputPending());
}

void HeadlessBackend::PollInput(std::deque<InputEvent>& out) {
    while (!released_.empty()) {
        out.push_back(released_.front());
        released_.pop_front();
    }
}

void HeadlessBackend::Fail(const std::string& why, const char* waitName) {
    throw HeadlessFailure("headless: stuck waiting in " + std::string(waitName) + ": " + why +
                              " (tick " + std::to_string(clock_.Now()) + ")",
                          waitName);
}

void HeadlessBackend::WaitInput(std::optional<std::uint32_t> deadline, const char* waitName) {
    if (!released_.empty()) return;
    const std::uint32_t now = clock_.Now();
    // Distances from now, so deadlines across the 2^32 wrap compare right.
    auto distance = [now](std::uint32_t t) {
        const std::int32_t d = static_cast<std::int32_t>(t - now);
        return d < 0 ? 0u : static_cast<std::uint32_t>(d);
    };
    std::optional<std::uint32_t> wake;
    if (deadline) wake = distance(*deadline);
    if (!script_.empty()) {
        const std::uint32_t d = distance(HeadDue());
        if (!wake || d < *wake) wake = d;
    } else {
        // No one will give input: only the program's own deadlines can move it on.
        const std::uint32_t idle = now - lastProgress_;
        const std::uint32_t left = idle >= options_.watchdogMs ? 0 : options_.watchdogMs - idle;
        if (!wake) Fail("no scripted input left and nothing to wait for", waitName);
        if (*wake > left) {
            clock_.Advance(left);
            Fail("no scripted input left and no progress for " +
                     std::to_string(options_.watchdogMs) + " ms of virtual time",
                 waitName);
        }
    }
    clock_.Advance(*wake);
}

void HeadlessBackend::Spinning(std::uint32_t passes) {
    (void)passes;
    // A busy loop costs time on a real machine; let the virtual clock run on too, so
    // loops that poll the tick count end, and one that polls for input nobody will
    // give meets the watchdog.
    clock_.Advance(1);
    if (script_.empty() && clock_.Now() - lastProgress_ >= options_.watchdogMs)
        Fail("no scripted input left and no progress for " + std::to_string(options_.watchdogMs) +
                 " ms of virtual time in a busy loop",
             HaveApp() ? App().CurrentWaitName() : "a busy loop");
}

void HeadlessBackend::Present(const Screen& screen) {
    // Nothing is shown: the screen is only looked at when asked for, so its pixels are
    // left as they are (owed, as a rule) until then.
    ++presents_;
    shown_ = &screen;
}

bool HeadlessBackend::WriteScreenPng(const std::string& path) const {
    if (!shown_) return false;
    return WritePng(path, *shown_);
}

int HeadlessBackend::MessageBox(const MessageBoxRequest& request) {
    boxes_.push_back(request);
    if (!boxResponder_)
        throw HeadlessFailure("headless: a message box came up with no responder: \"" +
                                  Big5ToUtf8(request.caption) + "\": \"" +
                                  Big5ToUtf8(request.text) + "\"",
                              std::string());
    return boxResponder_(request);
}

void HeadlessBackend::Minimize() {
    InputEvent e;
    e.type = InputType::Minimize;
    released_.push_back(e);
}

}  // namespace ui
