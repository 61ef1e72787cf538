// Feeds arbitrary script text (any tags, numbers, nesting, broken Big5) to the tag-script
// player and runs it for a bounded number of ticks: nothing may read or write outside
// its buffers, and every run must come to an end or to a wait.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/Application.h"
#include "platform/Audio.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/headless/HeadlessBackend.h"
#include "town/Eventf.h"

namespace {

// Ticks an input may spend in transitions: the slowest effect's 64 steps. A
// transition redraws its whole rectangle every step (a diagonal wipe tile by tile)
// for up to a few hundred ticks; past the first steps that is the same code on other
// pixels, and it cost most of every run.
constexpr int kTransitionTicks = 64;

struct Fixture {
    Fixture() : app(std::make_unique<ui::HeadlessBackend>()) {
        // An empty game folder: pictures, sounds and scripts named by the input are
        // missing, so the player's failure paths run and nothing is read from disk.
        const auto dir = std::filesystem::temp_directory_path() / "lumia_fuzz_tagscript";
        std::filesystem::create_directories(dir);
        ui::SetProgramFolder(dir.string());
        ui::SetAudio(std::make_unique<ui::RecordingAudio>());
        player = std::make_unique<TEventForm>();
        player->TraceOn = true;
    }
    ui::Application app;
    std::unique_ptr<TEventForm> player;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture f;
    TEventForm& p = *f.player;
    p.Open(nullptr);
    p.RunText(std::string(reinterpret_cast<const char*>(data), size));
    int transitionTicks = 0;
    for (int tick = 0; tick < 400 && p.State() != 0; ++tick) {
        if (tick == 200) p.EventImageMouseDown(ui::MouseButton::mbLeft, 0);
        if (p.State() == 2 && ++transitionTicks > kTransitionTicks) break;
        p.Tick();
    }
    p.Close();
    return 0;
}
