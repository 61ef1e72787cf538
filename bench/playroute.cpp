// playroute --route FILE [--seed N] [--game DIR] [--transcript FILE]: the real program on the
// headless back end plays a route plan (bench/routes/README.md) from the title's 新的遊戲 to the
// ending; a plan with `after` first plays that route's game to its ending, then a
// second new game with the system file the first one wrote. Every step is a click or a
// key through the program's windows (bench/route/Runner.h).
// It prints the digest of the run (the story's events with their day and hour, the
// route's flags as they were set, money and level at each month's end, the ending) and,
// on the error stream, the real time the run took. The exit status is 1 when the ending
// is not the plan's, a step passed its window undone or the run got stuck; 2 when the
// plan or the options are wrong.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/route/HeadlessYear.h"
#include "bench/route/Plan.h"
#include "bench/route/Runner.h"
#include "bench/route/Shopkeeper.h"
#include "platform/Application.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessBackend.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "tests/support/HeadlessApp.h"

namespace fs = std::filesystem;
using namespace route;

int main(int argc, char** argv) {
    unsigned long seed = 1;
    std::string game = ui::DefaultGameFolder();
    std::string routeFile, transcriptFile;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            seed = std::strtoul(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--game") == 0 && i + 1 < argc) {
            game = argv[++i];
        } else if (std::strcmp(argv[i], "--transcript") == 0 && i + 1 < argc) {
            transcriptFile = argv[++i];
        } else if (std::strcmp(argv[i], "--route") == 0 && i + 1 < argc) {
            routeFile = argv[++i];
        } else {
            routeFile.clear();
            break;
        }
    }
    if (routeFile.empty()) {
        std::fprintf(stderr,
                     "usage: playroute --route FILE [--seed N] [--game DIR] [--transcript FILE]\n");
        return 2;
    }
    // The plan and the plans it comes after, first game first.
    std::vector<Plan> plans;
    for (std::string path = routeFile;;) {
        Plan plan;
        std::string error;
        if (!LoadPlan(path, plan, error)) {
            std::fprintf(stderr, "playroute: %s\n", error.c_str());
            return 2;
        }
        const std::string after = plan.after;
        plans.insert(plans.begin(), std::move(plan));
        if (after.empty()) break;
        if (plans.size() > 4) {
            std::fprintf(stderr, "playroute: %s: `after` goes round in a circle\n",
                         routeFile.c_str());
            return 2;
        }
        path = (fs::path(path).parent_path() / (after + ".route")).string();
    }
    const auto start = std::chrono::steady_clock::now();
    HeadlessYear year("playroute", game, seed);
    if (!year.Ready()) return 2;
    test::HeadlessApp& headless = year.Headless();
    ui::HeadlessBackend& backend = year.Backend();
    ui::Transcript* transcript = &year.Transcript();

    int status = 0;
    std::string stop;
    {
        Runner runner(backend, *transcript, plans);
        try {
            headless.RunUntil([&] {
                return headless.App().Terminated() || runner.Finished() || !runner.Stuck().empty();
            });
        } catch (const ui::HeadlessFailure& failure) {
            stop = std::string("stuck: ") + failure.what() + " (day " + std::to_string(GameDay()) +
                   " hour " + std::to_string(GameHour()) + ")";
        }
        if (stop.empty() && !runner.Stuck().empty()) stop = "stuck: " + runner.Stuck();
        if (stop.empty() && !runner.Finished()) stop = "the program ended";
        runner.Close();

        std::printf("route %s, seed %lu\n", plans.back().name.c_str(), seed);
        for (const std::string& line : runner.Digest()) std::printf("%s\n", line.c_str());
        std::vector<std::string> faults = runner.Faults();
        if (!stop.empty()) faults.insert(faults.begin(), stop);
        for (const std::string& f : faults) std::printf("FAULT %s\n", f.c_str());
        std::printf("%s\n", faults.empty() ? "result: the plan's ending" : "result: failed");
        status = faults.empty() ? 0 : 1;
        if (!transcriptFile.empty() && !transcript->WriteTo(transcriptFile))
            std::fprintf(stderr, "playroute: cannot write %s\n", transcriptFile.c_str());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "real time %.2f s, virtual %.1f h\n", seconds, headless.Now() / 3600000.0);
    return status;
}
