#pragma once
// (ScratchDir, the per-test folder, is in tests/support/Scratch.h.)
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Application.h"
#include "platform/headless/HeadlessBackend.h"
#include "tests/support/Scratch.h"

// The headless application every behaviour test runs on: the real pump on the headless
// back end, a virtual clock, scripted input and responders, and the watchdog.
namespace test {

class HeadlessApp {
public:
    explicit HeadlessApp(const ui::HeadlessOptions& options = {});
    ~HeadlessApp();
    HeadlessApp(const HeadlessApp&) = delete;
    HeadlessApp& operator=(const HeadlessApp&) = delete;

    ui::Application& App() { return *app_; }
    ui::HeadlessBackend& Backend() { return *backend_; }
    ui::VirtualClock& Clock() { return backend_->Clock(); }
    std::uint32_t Now() { return backend_->Clock().Now(); }

    // Runs the main loop (HandleMessage over and over) for ms of virtual time.
    void RunFor(std::uint32_t ms);
    // Runs the main loop until `done` holds after a pass; the watchdog ends a run that
    // gets stuck.
    void RunUntil(const std::function<bool()>& done);
    // Answers every message box with `answer`.
    void AnswerMessageBoxes(int answer);

private:
    ui::HeadlessBackend* backend_;  // owned by app_
    ui::Application* app_;
};

// A test with a fresh headless application.
class HeadlessTest : public ::testing::Test {
protected:
    HeadlessApp headless;
};

}  // namespace test
