#include "platform/Application.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/Clock.h"
#include "platform/MessageForm.h"
#include "platform/Timer.h"
#include "platform/Transcript.h"

namespace ui {

namespace {
Application* g_app = nullptr;
// Empty passes in a row after which the back end hears the pump is spinning.
constexpr std::uint32_t kSpinPasses = 64;
}  // namespace

int MessageBoxRequest::DefaultAnswer() const {
    switch (Buttons()) {
        case MB_YESNO:
            return IDNO;
        case MB_OKCANCEL:
        case MB_RETRYCANCEL:
            return IDCANCEL;
        default:
            return IDOK;
    }
}

MessageTarget::~MessageTarget() {
    if (g_app) g_app->Forget(this);
}

Application::Application(std::unique_ptr<Backend> backend) : backend_(std::move(backend)) {
    screen_.SetComposer([this](Screen& screen) {
        if (OnPaint) OnPaint(screen);
    });
    if (g_app) {
        std::fprintf(stderr, "lumia: a second application object was created\n");
        std::abort();
    }
    g_app = this;
}

Application::~Application() {
    if (g_app == this) g_app = nullptr;
}

Application& App() {
    if (!g_app) {
        std::fprintf(stderr, "lumia: no application object\n");
        std::abort();
    }
    return *g_app;
}

bool HaveApp() { return g_app != nullptr; }

WaitScope::WaitScope(const char* name) { App().waits_.push_back(name); }
WaitScope::~WaitScope() {
    if (g_app && !g_app->waits_.empty()) g_app->waits_.pop_back();
}

const char* Application::CurrentWaitName() const {
    return waits_.empty() ? "the message pump" : waits_.back();
}

void Application::Gather() {
    backend_->BeginPass();
    backend_->PollInput(input_);
}

bool Application::DispatchOnePosted() {
    Posted p;
    {
        std::lock_guard<std::mutex> lock(postedMutex_);
        if (posted_.empty()) return false;
        p = posted_.front();
        posted_.pop_front();
    }
    backend_->Progress();
    p.target->HandlePostedMessage(p.message);
    return true;
}

bool Application::DispatchOneInput() {
    if (input_.empty()) return false;
    const InputEvent e = input_.front();
    input_.pop_front();
    DispatchInput(e);
    return true;
}

void Application::CountSpin(bool didSomething) {
    // A pass that dispatched nothing while the clock stood still is a spinning one.
    const std::uint32_t now = GetTickCount();
    if (didSomething || now != spinTick_) {
        spins_ = 0;
        spinTick_ = now;
        return;
    }
    if (++spins_ >= kSpinPasses) backend_->Spinning(spins_);
    spinTick_ = GetTickCount();
}

void Application::ProcessMessages() {
    Gather();
    bool did = false;
    // Only what is pending now: a handler that posts to itself is served on the next pass.
    std::size_t posted;
    {
        std::lock_guard<std::mutex> lock(postedMutex_);
        posted = posted_.size();
    }
    for (std::size_t n = input_.size(); n > 0 && DispatchOneInput(); --n) did = true;
    for (; posted > 0 && DispatchOnePosted(); --posted) did = true;
    if (FireDueTimers() > 0) did = true;
    if (dirty_) {
        Update();
        did = true;
    }
    CountSpin(did);
}

void Application::HandleMessage() {
    Gather();
    if (DispatchOnePosted() || DispatchOneInput() || FireDueTimers() > 0) {
        CountSpin(true);
        return;
    }
    if (dirty_) {
        Update();
        CountSpin(true);
        return;
    }
    bool done = true;
    idleWake_.reset();
    if (OnIdle) OnIdle(done);
    if (terminated_) return;
    if (idleWake_) {
        // Not before this tick, unless input or a timer comes first.
        const std::uint32_t wake = *idleWake_;
        idleWake_.reset();
        if (!TickReached(GetTickCount(), wake)) Block(wake);
    } else if (done) {
        Block(std::nullopt);
    } else {
        CountSpin(false);
    }
}

void Application::Run() {
    WaitScope scope("the main loop");
    while (!terminated_) HandleMessage();
}

void Application::Terminate() {
    terminated_ = true;
    backend_->Wake();
}

void Application::IdleWakeAt(std::uint32_t tick) { idleWake_ = tick; }

bool Application::Pending() {
    if (!input_.empty() || dirty_) return true;
    {
        std::lock_guard<std::mutex> lock(postedMutex_);
        if (!posted_.empty()) return true;
    }
    const auto next = NextTimerDeadline();
    return next && TickReached(GetTickCount(), *next);
}

void Application::Block(std::optional<std::uint32_t> extra) {
    spins_ = 0;
    if (Pending() || terminated_) return;
    std::optional<std::uint32_t> deadline = NextTimerDeadline();
    if (extra) {
        if (TickReached(GetTickCount(), *extra)) return;
        const std::uint32_t now = GetTickCount();
        if (!deadline ||
            static_cast<std::int32_t>(*extra - now) < static_cast<std::int32_t>(*deadline - now))
            deadline = extra;
    }
    backend_->WaitInput(deadline, CurrentWaitName());
}

void Application::PumpUntil(const std::function<bool()>& done, const char* waitName) {
    WaitScope scope(waitName);
    for (;;) {
        ProcessMessages();
        if (terminated_ || done()) return;
        WaitMessage();
    }
}

void Application::Delay(std::uint32_t ms, const char* waitName) {
    WaitScope scope(waitName);
    const std::uint32_t deadline = GetTickCount() + ms;
    for (;;) {
        ProcessMessages();
        if (terminated_ || TickReached(GetTickCount(), deadline)) return;
        WaitUntil(deadline);
    }
}

void Application::WaitMessage() { Block(std::nullopt); }

void Application::WaitUntil(std::uint32_t deadline) { Block(deadline); }

void Application::PostMessage(MessageTarget* target, std::uint32_t msg, std::intptr_t wParam,
                              std::intptr_t lParam) {
    if (!target) return;
    {
        std::lock_guard<std::mutex> lock(postedMutex_);
        posted_.push_back({target, {msg, wParam, lParam}});
    }
    backend_->Wake();
}

void Application::Forget(MessageTarget* target) {
    std::lock_guard<std::mutex> lock(postedMutex_);
    posted_.erase(std::remove_if(posted_.begin(), posted_.end(),
                                 [target](const Posted& p) { return p.target == target; }),
                  posted_.end());
}

void Application::QueueInput(const InputEvent& event) { input_.push_back(event); }

void Application::DispatchInput(const InputEvent& e) {
    backend_->Progress();
    switch (e.type) {
        case InputType::MouseMove:
            mouseX_ = e.x;
            mouseY_ = e.y;
            break;
        case InputType::MouseDown:
        case InputType::DoubleClick:
            mouseX_ = e.x;
            mouseY_ = e.y;
            mouseButtons_ |= ButtonBit(e.button);
            break;
        case InputType::MouseUp:
            mouseX_ = e.x;
            mouseY_ = e.y;
            mouseButtons_ &= ~ButtonBit(e.button);
            break;
        case InputType::Activate:
            if (OnActivate) OnActivate();
            return;
        case InputType::Deactivate:
            if (OnDeactivate) OnDeactivate();
            return;
        case InputType::Minimize:
            if (OnMinimize) OnMinimize();
            return;
        case InputType::Restore:
            if (OnRestore) OnRestore();
            return;
        case InputType::Expose:
            backend_->Present(screen_);
            return;
        default:
            break;
    }
    if (OnInput) {
        OnInput(e);
    } else if (e.type == InputType::Close || e.type == InputType::Quit) {
        Terminate();
    }
}

void Application::Update() {
    if (!dirty_) return;
    dirty_ = false;
    if (backend_->ComposesOnLook())
        screen_.Owe();
    else if (OnPaint)
        OnPaint(screen_);
    backend_->Present(screen_);
}

int Application::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    MessageBoxRequest request{text, caption, flags};
    int answer;
    if (backend_->DrawsMessageBoxes()) {
        RecordBig5("box", caption + ": " + text);
        answer = RunMessageForm(request);
    } else {
        answer = backend_->MessageBox(request);
    }
    backend_->Progress();
    return answer;
}

void Application::SetTitle(const std::string& big5) {
    title_ = big5;
    backend_->SetTitle(big5);
}

void Application::SetCursorPos(int x, int y) {
    backend_->WarpMouse(x, y);
    InputEvent e;
    e.type = InputType::MouseMove;
    e.x = x;
    e.y = y;
    e.shift = mouseButtons_;
    input_.push_back(e);
}

}  // namespace ui
