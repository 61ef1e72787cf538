// lumia: the game's entry. Reads the command line, chooses the game folder and the
// back end (an SDL window, or none with --headless), makes sure only one copy runs,
// and runs the application's message loop.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Audio.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/SingleInstance.h"
#include "platform/Timer.h"
#include "platform/TimerService.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/InputScript.h"
#include "platform/sdl/SdlBackend.h"
#include "shop/Main.h"
#include "shop/Option.h"
#include "shop/Savefile.h"
#include "shop/Shop.h"
#include "town/Debugformnk.h"
#include "town/Evsrvfm.h"
#include "town/TownLinks.h"

namespace {

// The saves of the generated game folder go to the user's data folder, where a rebuild
// does not delete them; a first run there takes over the saves the folder held.
void UseSaveFolder(const std::string& gameFolder) {
    const std::string saves = ui::ChooseSaveFolder(gameFolder, "lumia");
    if (saves == gameFolder) {
        ui::SetSaveFolder("");
        return;
    }
    ui::SetSaveFolder(saves);
    std::vector<std::string> names{kSystemFileName};
    for (int slot = 0; slot < kSaveSlotCount; ++slot) names.push_back(SlotFileName(slot));
    for (const std::string& name : names)
        if (ui::FileExists(ui::SavePath(name))) return;
    for (const std::string& name : names) {
        const std::string old = ui::FindPath(name);
        if (!ui::FileExists(old)) continue;
        if (!ui::MakeSaveFolder() || !ui::CopyFile(old, ui::SavePath(name), true))
            std::fprintf(stderr, "lumia: cannot copy %s to %s\n", old.c_str(), saves.c_str());
    }
}

constexpr char kUsage[] =
    "usage: lumia [--game DIR] [--disc DIR] [--fullscreen] [--scale N]\n"
    "       lumia --headless [--game DIR] [--input FILE] [--transcript FILE]\n"
    "                        [--run-for MS] [--screenshot FILE.png]\n"
    "\n"
    "  --game DIR         the game folder (default: the current folder when it holds\n"
    "                     game data, else the generated one)\n"
    "  --disc DIR         a copied or mounted game disc; voice packs missing from the\n"
    "                     game folder are played from its qdv/wave/intm (none by default)\n"
    "  --fullscreen       start in full screen\n"
    "  --debug-window     show the developer's event debug window beside the stage\n"
    "  --scale N          window size as a multiple of 640x480 (default: largest that fits)\n"
    "  --headless         run without a window, on a virtual clock (also when the\n"
    "                     environment has LUMIA_HEADLESS=1)\n"
    "  --input FILE       headless: play the input script FILE (below)\n"
    "  --transcript FILE  write what a player saw and heard, one line each:\n"
    "                     \"<virtual ms> <kind> <text>\"\n"
    "  --run-for MS       headless: stop after MS milliseconds of virtual time\n"
    "  --screenshot FILE  headless: write the screen as PNG at the end\n"
    "\n"
    "A headless run without --run-for ends when the script is done and the game has\n"
    "waited ten minutes of virtual time with nothing left to do.\n"
    "\n";

struct Options {
    std::optional<std::string> game;
    std::optional<std::string> disc;
    bool headless = false;
    bool fullScreen = false;
    int scale = 0;
    std::optional<std::uint32_t> runFor;
    std::optional<std::string> screenshot;
    std::optional<std::string> input;
    std::optional<std::string> transcript;
    bool debugWindow = false;
};

bool ParseNumber(const char* s, long max, long& out) {
    char* end = nullptr;
    out = std::strtol(s, &end, 10);
    return end != s && *end == 0 && out >= 0 && out <= max;
}

// False (after saying why) on a bad command line.
bool Parse(int argc, char** argv, Options& o, bool& help) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](const char*& v) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "lumia: %s needs a value\n", a.c_str());
                return false;
            }
            v = argv[++i];
            return true;
        };
        const char* v = nullptr;
        long n = 0;
        if (a == "--help" || a == "-h") {
            help = true;
        } else if (a == "--game") {
            if (!value(v)) return false;
            o.game = v;
        } else if (a == "--disc") {
            if (!value(v)) return false;
            o.disc = v;
        } else if (a == "--debug-window") {
            o.debugWindow = true;
        } else if (a == "--headless") {
            o.headless = true;
        } else if (a == "--fullscreen") {
            o.fullScreen = true;
        } else if (a == "--scale") {
            if (!value(v)) return false;
            if (!ParseNumber(v, 16, n) || n < 1) {
                std::fprintf(stderr, "lumia: --scale takes a number from 1 to 16\n");
                return false;
            }
            o.scale = static_cast<int>(n);
        } else if (a == "--run-for") {
            if (!value(v)) return false;
            if (!ParseNumber(v, 0x7FFFFFFF, n) || n < 1) {
                std::fprintf(stderr, "lumia: --run-for takes milliseconds\n");
                return false;
            }
            o.runFor = static_cast<std::uint32_t>(n);
        } else if (a == "--screenshot") {
            if (!value(v)) return false;
            o.screenshot = v;
        } else if (a == "--input") {
            if (!value(v)) return false;
            o.input = v;
        } else if (a == "--transcript") {
            if (!value(v)) return false;
            o.transcript = v;
        } else {
            std::fprintf(stderr, "lumia: unknown argument %s\n", a.c_str());
            return false;
        }
    }
    return true;
}

bool ReadTextFile(const std::string& path, std::string& text) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::ostringstream s;
    s << f.rdbuf();
    text = s.str();
    return static_cast<bool>(f) || f.eof();
}

// What the screen shows until the game's own windows draw on it: a quiet gradient.
void PaintBackdrop(ui::Screen& s) {
    for (int y = 0; y < s.Height(); ++y) {
        std::uint32_t* row = s.Row(y);
        const int t = y * 255 / std::max(1, s.Height() - 1);
        for (int x = 0; x < s.Width(); ++x)
            row[x] = ui::Rgb(static_cast<std::uint8_t>(40 + t / 4),
                             static_cast<std::uint8_t>(24 + t / 6),
                             static_cast<std::uint8_t>(64 + t / 3));
    }
}

// The transcript asked for and where it goes. A fatal error ends the program through
// quick_exit, past the end of main; the transcript is written on that way out too.
struct TranscriptOut {
    const ui::Transcript* transcript = nullptr;
    std::string path;
};
TranscriptOut g_TranscriptOut;

void WriteTranscriptOnQuickExit() {
    if (!g_TranscriptOut.transcript) return;
    if (!g_TranscriptOut.transcript->WriteTo(g_TranscriptOut.path))
        std::fprintf(stderr, "lumia: cannot write %s\n", g_TranscriptOut.path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    bool help = false;
    if (!Parse(argc, argv, o, help)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (help) {
        std::fputs(kUsage, stdout);
        std::fputs(ui::kInputScriptHelp, stdout);
        return 0;
    }
    // The test runs set this so that nothing they start opens a window.
    if (const char* h = std::getenv("LUMIA_HEADLESS"); h && std::strcmp(h, "1") == 0)
        o.headless = true;
    if (o.input && !o.headless) {
        std::fprintf(stderr, "lumia: --input needs --headless\n");
        return 2;
    }

    // The script is read whole before anything starts, so a bad one stops nothing.
    std::vector<ui::ScriptCommand> script;
    if (o.input) {
        std::string text, error;
        if (!ReadTextFile(*o.input, text)) {
            std::fprintf(stderr, "lumia: cannot read the input script %s\n", o.input->c_str());
            return 1;
        }
        if (!ui::ParseInputScript(text, script, error)) {
            std::fprintf(stderr, "lumia: %s: %s\n", o.input->c_str(), error.c_str());
            return 1;
        }
    }
    ui::Transcript transcript;
    if (o.transcript) {
        ui::InstallTranscript(&transcript);
        g_TranscriptOut = {&transcript, *o.transcript};
        std::at_quick_exit(WriteTranscriptOnQuickExit);
    }

    const std::string folder = ui::ChooseGameFolder(o.game);
    if (o.game && !ui::DirectoryExists(folder + "/")) {
        std::fprintf(stderr, "lumia: the game folder %s does not exist\n", folder.c_str());
        return 1;
    }
    ui::SetProgramFolder(folder);
    // A folder given with --game keeps its saves, whichever it is.
    if (!o.game) UseSaveFolder(folder);
    if (o.disc) {
        if (!ui::DirectoryExists(*o.disc + "/")) {
            std::fprintf(stderr, "lumia: the disc folder %s does not exist\n", o.disc->c_str());
            return 1;
        }
        TEventServerDbg::DiscFolder = *o.disc;
    }

    // Every text is drawn with the AR PL fonts; without them nothing can be read.
    if (const std::string missing = ui::CheckFonts(); !missing.empty()) {
        std::fprintf(stderr, "lumia: %s\n", missing.c_str());
        return 1;
    }

    // A second windowed copy ends silently while the first runs. Headless runs share no
    // display and write only what they are told to, so they run side by side.
    std::optional<ui::SingleInstance> instance;
    if (!o.headless) {
        instance.emplace("RORAREVERORAD");
        if (!instance->Acquired()) return 0;
    }

    std::unique_ptr<ui::Backend> backend;
    ui::HeadlessBackend* headless = nullptr;
    std::optional<ui::InputScriptPlayer> player;
    if (o.headless) {
        ui::HeadlessOptions ho;
        // A long run asked for is not cut short by the watchdog.
        if (o.runFor) ho.watchdogMs = std::max(ho.watchdogMs, *o.runFor + 1000);
        auto h = std::make_unique<ui::HeadlessBackend>(ho);
        headless = h.get();
        player.emplace(*headless);
        player->Play(script);
        // No sound device: what would play is recorded, on the virtual clock.
        ui::SetAudio(std::make_unique<ui::RecordingAudio>());
        // The tick timer counts on the virtual clock too, delivered by the pump; a timer
        // thread would count real milliseconds while the virtual clock runs ahead.
        ui::SetTimerService(std::make_unique<ui::PumpTimerService>());
        backend = std::move(h);
    } else {
        std::string error;
        auto sdl = ui::SdlBackend::Create({o.scale, o.fullScreen}, &error);
        // A window nobody can see would run on unnoticed: say what is missing, and how
        // to play without a window.
        if (!sdl || !sdl->ShowsOnADisplay()) {
            const char* chosen = std::getenv("SDL_VIDEODRIVER");
            const char* x11 = std::getenv("DISPLAY");
            const char* wayland = std::getenv("WAYLAND_DISPLAY");
            if (!sdl) std::fprintf(stderr, "lumia: %s\n", error.c_str());
            if (chosen && *chosen)
                std::fprintf(stderr,
                             "lumia: no display to show the window on: SDL_VIDEODRIVER=%s "
                             "draws on none; unset it to play in a window.\n",
                             chosen);
            else if ((!x11 || !*x11) && (!wayland || !*wayland))
                std::fprintf(stderr,
                             "lumia: no display to show the window on: neither DISPLAY nor "
                             "WAYLAND_DISPLAY is set; start it from a desktop session.\n");
            else if (sdl)
                std::fprintf(stderr,
                             "lumia: no display to show the window on: SDL found no video "
                             "driver for it (it chose '%s').\n",
                             SDL_GetCurrentVideoDriver());
            std::fprintf(stderr,
                         "To play without a window: lumia --headless --input SCRIPT "
                         "--screenshot FILE.png (see README.md, \"Driving the game without a "
                         "window\").\n");
            return 1;
        }
        backend = std::move(sdl);
    }

    ui::Application app(std::move(backend));
    app.SetTitle(B5("露米亞藥坊"));
    app.OnPaint = PaintBackdrop;

    ui::Timer stop;
    if (o.runFor) {
        stop.SetInterval(*o.runFor);
        stop.OnTimer = [&app] { app.Terminate(); };
    }
    int status = 0;
    try {
        InstallOpeningEndingHooks();
        CreateStartupForms();
        // Full screen asked for on the command line is the game's own full screen (the
        // 640 x 480 layout), made through the same switch as the option window's.
        if (app.IsFullScreen() && !IsFullScreenMode()) {
            app.SetFullScreen(false);
            SetFullScreen();
        }
        // The event debug window beside the stage, for a developer who asks for it.
        if (o.debugWindow) townlink::ShowDebugWindow();
        app.Run();
    } catch (const ui::HeadlessFailure& e) {
        // Idle in the main loop with no input to come is where a headless run ends;
        // stuck in any other wait is a fault.
        if (e.waitName == "the main loop") {
            std::printf("lumia: headless run ends: idle with no input to come\n");
        } else {
            std::fprintf(stderr, "lumia: %s\n", e.what());
            status = 1;
        }
    } catch (const std::exception& e) {
        // What reaches the loop is shown, as the application's standard box does; the
        // lock is let go when `instance` goes out of scope, whatever happened.
        std::fprintf(stderr, "lumia: %s\n", e.what());
        if (!headless)
            app.MessageBox(ui::Utf8ToBig5(e.what()), app.Title(), ui::MB_OK | ui::MB_ICONERROR);
        status = 1;
    }
    if (headless && o.screenshot) {
        app.Update();
        if (!headless->WriteScreenPng(*o.screenshot)) {
            std::fprintf(stderr, "lumia: cannot write %s\n", o.screenshot->c_str());
            status = 1;
        }
    }
    if (player && player->Failures() > 0) status = 1;
    DestroyStartupForms();
    ui::SetAudio(nullptr);
    if (o.transcript) {
        ui::InstallTranscript(nullptr);
        g_TranscriptOut = {};
        if (!transcript.WriteTo(*o.transcript)) {
            std::fprintf(stderr, "lumia: cannot write %s\n", o.transcript->c_str());
            status = 1;
        }
    }
    return status;
}
