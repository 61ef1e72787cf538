// The map screen's two loaders: a path-graph file and a click-region file. What the
// graph loader accepts is searched between every pair of nodes, and every route found
// must follow stored links over enabled nodes.
#include <cstddef>
#include <cstdint>

#include "shop/Figure.h"
#include "town/MapOfLink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MapOfLink graph(2);
    if (graph.Parse(data, size)) {
        if (graph.Count() < 0 || graph.Count() >= kMaxMapNodes) __builtin_trap();
        for (int from = 0; from < graph.Count(); ++from)
            for (int to = 0; to < graph.Count(); ++to) {
                std::int32_t route[kMaxRouteNodes];
                const int hops = graph.FindRoute(from, to, route);
                if (hops < 0) continue;
                if (hops == 0 || hops >= graph.Count() || route[0] != from || route[hops] != to)
                    __builtin_trap();
                for (int i = 0; i < hops; ++i) {
                    const OneSphere* a = graph.Node(route[i]);
                    const OneSphere* b = graph.Node(route[i + 1]);
                    if (!a || !b || !b->Enabled) __builtin_trap();
                    bool linked = false;
                    for (int k = 0; k < a->LinkCount(); ++k) linked |= a->Link(k) == route[i + 1];
                    if (!linked) __builtin_trap();
                }
            }
    }

    PolygonField field;
    if (field.LoadFromBuffer(data, size)) {
        if (field.Count() > kMaxRegions) __builtin_trap();
        for (int i = 0; i < field.Count(); ++i) {
            const OnePolygon& r = field.Region(i);
            for (int k = 0; k < r.Count; ++k) {
                const int hit = field.FindRegion(r.Points[k]);
                if (hit < -1 || hit >= field.Count()) __builtin_trap();
            }
        }
    }
    return 0;
}
