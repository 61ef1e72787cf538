#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/Input.h"
#include "platform/Screen.h"

// The application object and its message pump, as the game's code expects of its
// class library:
//  - ProcessMessages() dispatches what is pending (posted messages, input, due timers,
//    then the paint) and never calls the idle handler;
//  - HandleMessage() dispatches one message or, when none is pending, calls OnIdle with
//    its Done flag, and when the handler reports done, blocks until the next input or
//    timer deadline;
//  - Run() loops over HandleMessage() until Terminate().
// Handlers may nest loops of their own: waits call ProcessMessages() and WaitMessage(),
// modal windows loop over HandleMessage(). Nothing here spins: a blocked pump sleeps in
// the back end (the headless one moves its virtual clock to the next deadline).
namespace ui {

// The user message a form posts to itself (WM_USER).
constexpr std::uint32_t WM_USER = 0x400;

struct Message {
    std::uint32_t msg = 0;
    std::intptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Anything that receives posted messages (forms derive from it). Messages still queued
// for a target are dropped when it is destroyed.
class MessageTarget {
public:
    MessageTarget() = default;
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;
    virtual ~MessageTarget();
    virtual void HandlePostedMessage(const Message& message) = 0;
};

class Application {
public:
    // Becomes the application object (one at a time) and takes the back end.
    explicit Application(std::unique_ptr<Backend> backend);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // ---- the pump
    void ProcessMessages();
    void HandleMessage();
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Blocks until something is pending: input, a posted message, a due timer, or the
    // deadline when one is given. Returns at once when something already is.
    void WaitMessage();
    void WaitUntil(std::uint32_t deadline);
    // For the idle handler whose next step is not yet due: the pump waits for input, a
    // timer or this tick before calling it again (whatever Done says), instead of
    // calling it again at once. Valid for the current OnIdle call only.
    void IdleWakeAt(std::uint32_t tick);
    // A wait as the game's loops make them: pumps messages, blocking between passes,
    // until `done` holds (or the application is terminated). `waitName` names it.
    void PumpUntil(const std::function<bool()>& done, const char* waitName);
    // Pumps messages for ms milliseconds of the tick count, blocking between passes.
    void Delay(std::uint32_t ms, const char* waitName);

    // Posts a message to a target; dispatched by the pump in order. Safe from any thread.
    void PostMessage(MessageTarget* target, std::uint32_t msg, std::intptr_t wParam = 0,
                     std::intptr_t lParam = 0);
    // Queues input as if the back end had delivered it (tests, synthetic events).
    void QueueInput(const InputEvent& event);
    // The one function every input event goes through, live or scripted: updates the
    // mouse state, then hands the event on to OnInput or the application's handlers.
    void DispatchInput(const InputEvent& event);

    // ---- painting: the window layer composites the screen in OnPaint
    Screen& GetScreen() { return screen_; }
    // The screen changed; it is painted and presented when the pump next gets to it.
    void Invalidate() { dirty_ = true; }
    // Paints and presents now if the screen changed.
    void Update();

    // ---- events (all optional)
    std::function<void(bool& done)> OnIdle;
    // Every input event but Activate, Deactivate, Minimize and Restore; with no handler
    // a Close request terminates the application.
    std::function<void(const InputEvent&)> OnInput;
    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;
    std::function<void()> OnActivate;
    std::function<void()> OnDeactivate;
    std::function<void(Screen&)> OnPaint;

    // ---- the rest of the application object
    // Shows a message box (Big5 text and caption) and returns the button pressed (IDOK...).
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);
    void SetTitle(const std::string& big5);
    const std::string& Title() const { return title_; }
    bool SetFullScreen(bool on) { return backend_->SetFullScreen(on); }
    bool IsFullScreen() const { return backend_->IsFullScreen(); }
    void Minimize() { backend_->Minimize(); }
    void DesktopSize(int& width, int& height) const { backend_->DesktopSize(width, height); }
    void SetCursorPos(int x, int y);
    // The last mouse position and the buttons held, from the input dispatched so far.
    int MouseX() const { return mouseX_; }
    int MouseY() const { return mouseY_; }
    ShiftState MouseButtons() const { return mouseButtons_; }

    Backend& GetBackend() { return *backend_; }
    // The name of the innermost wait (see WaitScope), for the watchdog's message.
    const char* CurrentWaitName() const;
    // How many waits are open (the main loop's own counts as one).
    int WaitDepth() const { return static_cast<int>(waits_.size()); }
    // Input handed over by the back end that is not dispatched yet.
    bool InputPending() const { return !input_.empty(); }
    // Tells the back end the program moved on (resets the headless watchdog).
    void NoteProgress() { backend_->Progress(); }

private:
    friend class WaitScope;
    friend class MessageTarget;
    struct Posted {
        MessageTarget* target;
        Message message;
    };

    // One pass's gathering: back end pass hook, then its pending input.
    void Gather();
    bool DispatchOnePosted();
    bool DispatchOneInput();
    void Block(std::optional<std::uint32_t> extra);
    bool Pending();
    void Forget(MessageTarget* target);
    void CountSpin(bool didSomething);

    std::unique_ptr<Backend> backend_;
    Screen screen_;
    std::deque<InputEvent> input_;
    std::mutex postedMutex_;
    std::deque<Posted> posted_;
    std::vector<const char*> waits_;
    std::string title_;
    bool terminated_ = false;
    bool dirty_ = true;
    std::optional<std::uint32_t> idleWake_;
    std::uint32_t spins_ = 0;
    std::uint32_t spinTick_ = 0;
    int mouseX_ = 0;
    int mouseY_ = 0;
    ShiftState mouseButtons_ = 0;
};

// The application object; there must be one.
Application& App();
// True while an application object exists.
bool HaveApp();

// Names the wait the code inside it is in ("DspMsg", "ShowModal TItemListForm"): the
// headless watchdog names it when the program is stuck. Nests.
class WaitScope {
public:
    explicit WaitScope(const char* name);
    ~WaitScope();
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
};

}  // namespace ui
