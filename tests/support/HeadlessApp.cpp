#include "tests/support/HeadlessApp.h"

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Timer.h"

namespace test {

HeadlessApp::HeadlessApp(const ui::HeadlessOptions& options) {
    auto backend = std::make_unique<ui::HeadlessBackend>(options);
    backend_ = backend.get();
    app_ = new ui::Application(std::move(backend));
}

HeadlessApp::~HeadlessApp() { delete app_; }

void HeadlessApp::RunFor(std::uint32_t ms) {
    bool over = false;
    ui::Timer stop;
    stop.SetInterval(ms);
    stop.OnTimer = [&] {
        over = true;
        stop.SetEnabled(false);
    };
    ui::WaitScope scope("the main loop");
    while (!over && !app_->Terminated()) app_->HandleMessage();
}

void HeadlessApp::RunUntil(const std::function<bool()>& done) {
    ui::WaitScope scope("the main loop");
    while (!done() && !app_->Terminated()) app_->HandleMessage();
}

void HeadlessApp::AnswerMessageBoxes(int answer) {
    backend_->SetMessageBoxResponder([answer](const ui::MessageBoxRequest&) { return answer; });
}

}  // namespace test
