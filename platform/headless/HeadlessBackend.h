#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/Clock.h"

// The back end for tests and `lumia --headless`: no window, a virtual clock that jumps
// to the next deadline whenever the pump would block, input from a script and from
// responders the test installs, and a watchdog that turns a wait nobody will end into
// a failure instead of a hang.
namespace ui {

// Thrown out of the pump when the headless run cannot go on: the watchdog fired, or a
// message box came up that no responder answers.
class HeadlessFailure : public std::runtime_error {
public:
    HeadlessFailure(const std::string& what, std::string wait)
        : std::runtime_error(what), waitName(std::move(wait)) {}
    std::string waitName;  // the wait that was stuck (empty for a message box)
};

struct HeadlessOptions {
    std::uint32_t startTick = 0;
    std::int64_t wallStart = 946684800;  // 2000-01-01 00:00:00 UTC
    // Virtual milliseconds without progress (input, a posted message, a responder that
    // acted) after which a wait with no scripted input left fails.
    std::uint32_t watchdogMs = 10 * 60 * 1000;
    int desktopWidth = 1024;
    int desktopHeight = 768;
};

class HeadlessBackend final : public Backend {
public:
    explicit HeadlessBackend(const HeadlessOptions& options = {});
    ~HeadlessBackend() override;  // gives back the clock that was in use before

    VirtualClock& Clock() { return clock_; }

    // ---- scripted input: each event is released `afterMs` virtual milliseconds after
    // the one before it was (or, at the head of an empty script, after it was queued),
    // at the next pump pass from then on.
    void Script(const InputEvent& event, std::uint32_t afterMs = 0);
    void Move(int x, int y, std::uint32_t afterMs = 0);
    void MouseDown(int x, int y, MouseButton button = MouseButton::mbLeft, ShiftState shift = 0,
                   std::uint32_t afterMs = 0);
    void MouseUp(int x, int y, MouseButton button = MouseButton::mbLeft, ShiftState shift = 0,
                 std::uint32_t afterMs = 0);
    // Move there, press, release.
    void Click(int x, int y, MouseButton button = MouseButton::mbLeft, ShiftState shift = 0,
               std::uint32_t afterMs = 0);
    // A click, then the second press as a double click and its release.
    void DoubleClick(int x, int y, MouseButton button = MouseButton::mbLeft, ShiftState shift = 0,
                     std::uint32_t afterMs = 0);
    // Key down and up (a printable key also types its character).
    void Key(int vkCode, ShiftState shift = 0, std::uint32_t afterMs = 0);
    // The window manager's close request.
    void RequestClose(std::uint32_t afterMs = 0);
    // The system's request to end the program (a signal).
    void RequestQuit(std::uint32_t afterMs = 0);
    // Something to do at that point of the script (write the screen, stop the run): it
    // runs at the start of a pump pass once it is due and the input scripted before it
    // has been dispatched.
    void ScriptAction(std::function<void()> action, std::uint32_t afterMs = 0);
    // A note recorded in the transcript ("input" kind) when the next event scripted is
    // released, so a transcript shows what was done and when.
    void NoteNext(std::string note) { nextNote_ = std::move(note); }
    std::size_t ScriptLeft() const { return script_.size(); }
    // Every input scripted so far has been dispatched: none is left in the script,
    // released to the program or waiting in its queue (a click's press and release
    // are served a pass apart).
    bool InputSettled() const;

    // ---- responders: called once per pump pass, in the order added; a responder
    // returns true when it did something (queued input, changed state), which counts as
    // progress for the watchdog.
    using Responder = std::function<bool()>;
    int AddResponder(Responder responder);
    void RemoveResponder(int id);
    void ClearResponders() { responders_.clear(); }

    // Answers message boxes; without one a message box is a failure.
    using MessageBoxResponder = std::function<int(const MessageBoxRequest&)>;
    // Message boxes drawn as the program's own forms, answered by clicks and keys as in
    // the window (off: the responder answers them).
    void SetDrawMessageBoxes(bool on) { drawBoxes_ = on; }
    bool DrawsMessageBoxes() const override { return drawBoxes_; }
    void SetMessageBoxResponder(MessageBoxResponder responder) {
        boxResponder_ = std::move(responder);
    }
    // Every message box shown, in order.
    const std::vector<MessageBoxRequest>& MessageBoxes() const { return boxes_; }

    void SetWatchdog(std::uint32_t ms) { options_.watchdogMs = ms; }
    std::uint32_t Watchdog() const { return options_.watchdogMs; }

    // ---- the screen
    int PresentCount() const { return presents_; }
    // Writes the screen as last presented as PNG (composed now when the present left its
    // pixels owed); false when nothing was presented yet or the file cannot be written.
    bool WriteScreenPng(const std::string& path) const;

    const std::string& Title() const { return title_; }

    // Backend
    void BeginPass() override;
    void PollInput(std::deque<InputEvent>& out) override;
    void WaitInput(std::optional<std::uint32_t> deadline, const char* waitName) override;
    void Spinning(std::uint32_t passes) override;
    void Progress() override { lastProgress_ = clock_.Now(); }
    void Present(const Screen& screen) override;
    bool ComposesOnLook() const override { return true; }
    int MessageBox(const MessageBoxRequest& request) override;
    void SetTitle(const std::string& big5) override { title_ = big5; }
    bool SetFullScreen(bool on) override {
        fullScreen_ = on;
        return true;
    }
    bool IsFullScreen() const override { return fullScreen_; }
    void Minimize() override;
    void DesktopSize(int& width, int& height) const override {
        width = options_.desktopWidth;
        height = options_.desktopHeight;
    }
    void WarpMouse(int x, int y) override {
        (void)x;
        (void)y;
    }

private:
    struct Scripted {
        InputEvent event;
        std::uint32_t afterMs;
        std::function<void()> action;  // set: an action instead of input
        std::string note;
    };
    std::uint32_t HeadDue() const { return headSince_ + script_.front().afterMs; }
    [[noreturn]] void Fail(const std::string& why, const char* waitName);

    HeadlessOptions options_;
    VirtualClock clock_;
    ui::Clock* previousClock_;
    std::deque<Scripted> script_;
    std::string nextNote_;
    std::uint32_t headSince_ = 0;
    std::deque<InputEvent> released_;
    std::map<int, Responder> responders_;
    int nextResponder_ = 1;
    MessageBoxResponder boxResponder_;
    bool drawBoxes_ = false;
    std::vector<MessageBoxRequest> boxes_;
    std::uint32_t lastProgress_ = 0;
    int presents_ = 0;
    const Screen* shown_ = nullptr;  // the application's screen, once presented
    std::string title_;
    bool fullScreen_ = false;
};

}  // namespace ui
