// The map screen's route search: across the generated land map (its largest graph),
// across the densest graph a file may hold (19 nodes, each linked to every other), and,
// as the baseline, one hop between two nodes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "town/MapOfLink.h"

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

}  // namespace

BENCHMARK_MAIN();
