#include "bench/route/HeadlessYear.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/Files.h"
#include "shop/Main.h"

namespace route {

HeadlessYear::HeadlessYear(const char* program, const std::string& game, unsigned long seed) {
    if (!std::filesystem::is_directory(game)) {
        std::fprintf(stderr, "%s: no game folder at %s\n", program, game.c_str());
        return;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LUMIA_HEADLESS", "1", 0);
    folder_ = std::make_unique<ScratchGameFolder>(game);
    if (folder_->Dir().empty()) {
        std::fprintf(stderr, "%s: cannot make a scratch folder\n", program);
        return;
    }
    // The game seeds its generator from the clock, at start-up and at each day change:
    // the seed moves where the virtual clock starts, its tick and its wall time.
    ui::HeadlessOptions options;
    options.startTick = static_cast<std::uint32_t>(seed);
    options.wallStart += static_cast<std::int64_t>(seed);
    headless_ = std::make_unique<test::HeadlessApp>(options);
    ui::SetProgramFolder(folder_->Dir());
    Backend().SetMessageBoxResponder([](const ui::MessageBoxRequest&) { return ui::IDNO; });
    CreateStartupForms();
}

HeadlessYear::~HeadlessYear() {
    if (headless_) DestroyStartupForms();
}

}  // namespace route
