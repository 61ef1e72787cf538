// The map screen's route search: across the generated land map (its largest graph),
// across the densest graph a file may hold (19 nodes, each linked to every other), and,
// as the baseline, one hop between two nodes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/headless/HeadlessBackend.h"
#include "shop/GameState.h"
#include "town/EvControler.h"
#include "town/MapOfLink.h"
#include "town/Mapform.h"

namespace {

void LoadFrom(MapOfLink& g, const std::vector<PathGraphNode>& nodes) {
    const std::vector<std::uint8_t> bytes = BuildPathGraphFile(nodes);
    g.Parse(bytes.data(), bytes.size());
}

void BM_RouteOneHop(benchmark::State& state) {
    MapOfLink g(2);
    LoadFrom(g, {{0, 0, true, {1}}, {10, 0, true, {0}}});
    std::int32_t route[kMaxRouteNodes];
    for (auto _ : state) benchmark::DoNotOptimize(g.FindRoute(0, 1, route));
}
BENCHMARK(BM_RouteOneHop);

// Every pair of the generated land map, as the hover hints ask for them.
void BM_RouteLandMapAllPairs(benchmark::State& state) {
    MapOfLink g(2);
    TQvPack pack;
    if (!pack.OpenPack("col24b\\mapPack\\mapPack.pak") ||
        !g.LoadFromStream(pack.QvMakeStream("land.sld").get())) {
        state.SkipWithError("no generated map pack");
        return;
    }
    std::int32_t route[kMaxRouteNodes];
    for (auto _ : state)
        for (int from = 0; from < g.Count(); ++from)
            for (int to = 0; to < g.Count(); ++to)
                benchmark::DoNotOptimize(g.FindRoute(from, to, route));
    state.SetItemsProcessed(state.iterations() * g.Count() * g.Count());
}
BENCHMARK(BM_RouteLandMapAllPairs);

// The worst a file allows: 19 nodes on a ring, each also linked to every other node,
// searched between the two ends of the ring with the direct link closed off.
void BM_RouteDenseNineteen(benchmark::State& state) {
    std::vector<PathGraphNode> nodes(19);
    for (int i = 0; i < 19; ++i) {
        nodes[i].x = (i % 5) * 100;
        nodes[i].y = (i / 5) * 100;
        for (int j = 0; j < 19; ++j)
            if (j != i && !(i == 0 && j == 18)) nodes[i].links.push_back(j);
    }
    MapOfLink g(2);
    LoadFrom(g, nodes);
    std::int32_t route[kMaxRouteNodes];
    for (auto _ : state) benchmark::DoNotOptimize(g.FindRoute(0, 18, route));
}
BENCHMARK(BM_RouteDenseNineteen);

// One walker tick of the map screen: a step along the route and the frame redrawn (the
// map picture copied to the back buffer, the walker masked over it), against the bare
// copy of the 640 x 480 picture as the baseline.
struct MapScreen {
    MapScreen() {
        app = std::make_unique<ui::Application>(std::make_unique<ui::HeadlessBackend>());
        InitGameState();
        SetGameDay(60);
        SetGameHour(10);
        GameFlow = new TEvControler();
        GameFlow->Place = 0;
        MapFm = new TMapFm();
        MapFm->Show();
    }
    ~MapScreen() {
        delete MapFm;
        delete GameFlow;
        GameFlow = nullptr;
    }
    std::unique_ptr<ui::Application> app;
};

void BM_MapPictureCopy(benchmark::State& state) {
    MapScreen screen;
    ui::Bitmap back = MapFm->MapPicture();
    for (auto _ : state) {
        back.GetCanvas().BitBlt(0, 0, 640, 480, &MapFm->MapPicture(), 0, 0, ui::SRCCOPY);
        benchmark::DoNotOptimize(back.Bits());
    }
}
BENCHMARK(BM_MapPictureCopy);

void BM_WalkerTick(benchmark::State& state) {
    MapScreen screen;
    auto& backend = static_cast<ui::HeadlessBackend&>(ui::App().GetBackend());
    auto restart = [] {  // the shop to the square and back, never quite arriving
        const int from = GameFlow->Place & 31, to = from == 3 ? 0 : 3;
        MapFm->m_Graph.FindRoute(from, to, MapFm->m_Route);
        MapFm->m_Dest = to;
        GameFlow->Place = to;
        MapFm->m_RouteIndex = 0;
        MapFm->m_StepsLeft = 0;
        MapFm->m_WalkState = 1;
    };
    restart();
    for (auto _ : state) {
        if (MapFm->m_StepsLeft == 0 && MapFm->m_Route[MapFm->m_RouteIndex] == MapFm->m_Dest) {
            state.PauseTiming();
            restart();
            state.ResumeTiming();
        }
        backend.Clock().Advance(kWalkTickMs);
        MapFm->WalkTick();
    }
}
BENCHMARK(BM_WalkerTick);

}  // namespace

BENCHMARK_MAIN();
