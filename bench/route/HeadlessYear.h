#pragma once
// What every whole-year run sets up before it plays: the dummy drivers, the game
// folder seen through a scratch folder (so the run starts with no endings seen and
// writes nothing into the game folder), a transcript, the headless application seeded
// by the run's seed, message boxes answered No, and the program's start-up forms.
#include <memory>
#include <string>

#include "bench/route/Shopkeeper.h"
#include "platform/Transcript.h"
#include "tests/support/HeadlessApp.h"

namespace route {

class HeadlessYear {
public:
    // On failure (no game folder, no scratch folder) `program: why` is printed and Ready
    // is false.
    HeadlessYear(const char* program, const std::string& game, unsigned long seed);
    ~HeadlessYear();
    HeadlessYear(const HeadlessYear&) = delete;
    HeadlessYear& operator=(const HeadlessYear&) = delete;

    bool Ready() const { return headless_ != nullptr; }
    test::HeadlessApp& Headless() { return *headless_; }
    ui::HeadlessBackend& Backend() { return headless_->Backend(); }
    ui::Transcript& Transcript() { return *transcript_; }

private:
    std::unique_ptr<ScratchGameFolder> folder_;
    ui::ScopedTranscript transcript_;
    std::unique_ptr<test::HeadlessApp> headless_;
};

}  // namespace route
