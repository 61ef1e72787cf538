// The path graph: loading a graph file within its bounds, and the route search with
// its order of preference (fewer hops, then shorter length, then the later link).
#include "town/MapOfLink.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <tuple>
#include <vector>

#include "media/Qvpack.h"

namespace {

using Nodes = std::vector<PathGraphNode>;

std::unique_ptr<MapOfLink> Load(const Nodes& nodes) {
    auto g = std::make_unique<MapOfLink>(2);
    const std::vector<std::uint8_t> bytes = BuildPathGraphFile(nodes);
    EXPECT_TRUE(g->Parse(bytes.data(), bytes.size()));
    return g;
}

std::vector<std::int32_t> Route(const MapOfLink& g, int from, int to, int* hops) {
    std::int32_t route[kMaxRouteNodes];
    *hops = g.FindRoute(from, to, route);
    if (*hops < 0) return {};
    return std::vector<std::int32_t>(route, route + *hops + 1);
}

// Node 0 at the origin; two 2-hop ways to node 3, through 1 and through 2.
Nodes Diamond(int via1y, int via2y) {
    return {
        {0, 0, true, {1, 2}}, {50, via1y, true, {3}}, {50, via2y, true, {3}}, {100, 0, true, {}}};
}

}  // namespace

TEST(MapOfLinkSearch, FullTieGoesToTheLaterLinkOfTheStart) {
    // Both ways measure 100 (legs of max(|dx|,|dy|) = 50 each).
    auto g = Load(Diamond(10, -10));
    int hops = 0;
    EXPECT_EQ(Route(*g, 0, 3, &hops), (std::vector<std::int32_t>{0, 2, 3}));
    EXPECT_EQ(hops, 2);
}

TEST(MapOfLinkSearch, EqualHopsShorterLengthWinsWhateverTheOrder) {
    for (const auto& [y1, y2, via] : {std::tuple{10, 80, 1}, std::tuple{80, 10, 2}}) {
        auto g = Load(Diamond(y1, y2));
        int hops = 0;
        EXPECT_EQ(Route(*g, 0, 3, &hops), (std::vector<std::int32_t>{0, via, 3}))
            << y1 << "," << y2;
    }
}

TEST(MapOfLinkSearch, OneHopBeatsAShorterTwoHopRoute) {
    // 0 -> 2 directly is 500 long; 0 -> 1 -> 2 is 20. The direct road comes last in
    // the link order and still wins.
    auto g = Load({{0, 0, true, {1, 2}}, {10, 0, true, {2}}, {500, 500, true, {}}});
    int hops = 0;
    EXPECT_EQ(Route(*g, 0, 2, &hops), (std::vector<std::int32_t>{0, 2}));
    EXPECT_EQ(hops, 1);
}

TEST(MapOfLinkSearch, FewerHopsReplaceAnEarlierLongerHopRoute) {
    // The first link leads round three hops; the second reaches in two.
    auto g = Load({{0, 0, true, {1, 4}},
                   {1, 0, true, {2}},
                   {2, 0, true, {3}},
                   {3, 0, true, {}},
                   {400, 400, true, {3}}});
    int hops = 0;
    EXPECT_EQ(Route(*g, 0, 3, &hops), (std::vector<std::int32_t>{0, 4, 3}));
}

TEST(MapOfLinkSearch, ThreeHopRouteIsWrittenWhole) {
    auto g =
        Load({{0, 0, true, {1}}, {10, 0, true, {0, 2}}, {20, 0, true, {1, 3}}, {30, 0, true, {2}}});
    int hops = 0;
    EXPECT_EQ(Route(*g, 0, 3, &hops), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(Route(*g, 3, 0, &hops), (std::vector<std::int32_t>{3, 2, 1, 0}));
}

TEST(MapOfLinkSearch, NoRouteCases) {
    // 0 <-> 1 <-> 2, 3 reachable only from 2 one way (2 -> 3).
    auto g =
        Load({{0, 0, true, {1}}, {10, 0, true, {0, 2}}, {20, 0, true, {1, 3}}, {30, 0, true, {}}});
    std::int32_t route[kMaxRouteNodes] = {};
    EXPECT_EQ(g->FindRoute(1, 1, route), -1) << "a place to itself";
    EXPECT_EQ(g->FindRoute(3, 2, route), -1) << "links are one-way as stored";
    EXPECT_EQ(g->FindRoute(-1, 2, route), -1);
    EXPECT_EQ(g->FindRoute(0, 4, route), -1);
    EXPECT_EQ(g->FindRoute(0, 19, route), -1);

    g->Node(1)->Enabled = 0;  // the only middle node
    EXPECT_EQ(g->FindRoute(0, 2, route), -1);
    g->Node(1)->Enabled = 1;
    g->Node(3)->Enabled = 0;  // a closed destination
    EXPECT_EQ(g->FindRoute(0, 3, route), -1);
    EXPECT_EQ(g->FindRoute(0, 2, route), 2);
}

TEST(MapOfLinkSearch, TheStartNodesOwnStateIsNotLookedAt) {
    auto g = Load({{0, 0, false, {1}}, {10, 0, true, {}}});
    std::int32_t route[kMaxRouteNodes] = {};
    EXPECT_EQ(g->FindRoute(0, 1, route), 1);
}

TEST(MapOfLinkSearch, LongChainOfNineteenNodes) {
    Nodes chain(19);
    for (int i = 0; i < 19; ++i) {
        chain[i].x = i * 10;
        if (i + 1 < 19) chain[i].links.push_back(i + 1);
    }
    auto g = Load(chain);
    int hops = 0;
    const std::vector<std::int32_t> r = Route(*g, 0, 18, &hops);
    EXPECT_EQ(hops, 18);
    ASSERT_EQ(r.size(), 19u);
    for (int i = 0; i < 19; ++i) EXPECT_EQ(r[i], i);
}

// ---- loading

TEST(MapOfLinkLoad, NodesTakeTheFilesPositionsStatesAndLinks) {
    auto g = Load({{5, -7, true, {1, 1, 2}}, {100, 200, false, {0}}, {1, 2, true, {}}});
    ASSERT_EQ(g->Count(), 3);
    EXPECT_EQ(g->Node(0)->x, 5);
    EXPECT_EQ(g->Node(0)->y, -7);
    EXPECT_EQ(g->Node(0)->LinkCount(), 2) << "a repeated link is dropped";
    EXPECT_EQ(g->Node(0)->Link(1), 2);
    EXPECT_EQ(g->Node(1)->Enabled, 0);
    EXPECT_EQ(g->Node(2)->Enabled, 1);
    EXPECT_EQ(g->Node(3), nullptr);
}

TEST(MapOfLinkLoad, AnyNonZeroEnabledWordEnables) {
    std::vector<std::uint8_t> bytes = BuildPathGraphFile({{0, 0, false, {}}});
    bytes[4 + 12 + 3] = 0x80;  // the enabled word's top byte
    MapOfLink g(2);
    ASSERT_TRUE(g.Parse(bytes.data(), bytes.size()));
    EXPECT_EQ(g.Node(0)->Enabled, 1);
}

TEST(MapOfLinkLoad, NineteenNodesLoadTwentyAreRefused) {
    MapOfLink g(2);
    const std::vector<std::uint8_t> nineteen = BuildPathGraphFile(Nodes(19));
    ASSERT_TRUE(g.Parse(nineteen.data(), nineteen.size()));
    EXPECT_EQ(g.Count(), 19);

    auto h = Load({{1, 2, true, {1}}, {3, 4, true, {0}}});
    const std::vector<std::uint8_t> twenty = BuildPathGraphFile(Nodes(20));
    EXPECT_FALSE(h->Parse(twenty.data(), twenty.size()));
    EXPECT_EQ(h->Count(), 2) << "the graph held stays in use";
    EXPECT_EQ(h->Node(1)->x, 3);
}

TEST(MapOfLinkLoad, DamagedFilesAreRefusedWhole) {
    const Nodes good = {{1, 2, true, {1}}, {3, 4, true, {0}}};
    const std::vector<std::uint8_t> ok = BuildPathGraphFile(good);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"count only, short", {1, 0, 0}});
    cases.push_back({"negative count", {0xFF, 0xFF, 0xFF, 0xFF}});
    cases.push_back({"link equal to the count", BuildPathGraphFile({{0, 0, true, {1}}})});
    cases.push_back({"negative link", BuildPathGraphFile({{0, 0, true, {-1}}, {0, 0, true, {}}})});
    cases.push_back({"truncated", std::vector<std::uint8_t>(ok.begin(), ok.end() - 1)});
    cases.push_back(
        {"cut inside a node header", std::vector<std::uint8_t>(ok.begin(), ok.begin() + 10)});
    std::vector<std::uint8_t> hugeK = ok;
    hugeK[4] = 0xFF, hugeK[5] = 0xFF, hugeK[6] = 0xFF, hugeK[7] = 0x7F;
    cases.push_back({"link count past the end", hugeK});
    std::vector<std::uint8_t> negK = ok;
    negK[7] = 0xFF;
    cases.push_back({"negative link count", negK});

    for (const Case& c : cases) {
        auto g = Load({{7, 8, true, {}}});
        EXPECT_FALSE(g->Parse(c.bytes.data(), c.bytes.size())) << c.what;
        ASSERT_EQ(g->Count(), 1) << c.what;
        EXPECT_EQ(g->Node(0)->x, 7) << c.what;
    }
}

// What follows the last node's links is left unread.
TEST(MapOfLinkLoad, BytesAfterTheRecordsAreIgnored) {
    std::vector<std::uint8_t> bytes = BuildPathGraphFile({{1, 2, true, {1}}, {3, 4, false, {0}}});
    bytes.insert(bytes.end(), {9, 9, 9, 9, 9});
    MapOfLink g(1);
    ASSERT_TRUE(g.Parse(bytes.data(), bytes.size()));
    ASSERT_EQ(g.Count(), 2);
    EXPECT_EQ(g.Node(1)->x, 3);
    EXPECT_EQ(g.Node(0)->Link(0), 1);
}

TEST(MapOfLinkLoad, StreamLoaderReportsTheParse) {
    MapOfLink g(2);
    TMemoryStream good;
    const std::vector<std::uint8_t> bytes =
        BuildPathGraphFile({{0, 0, true, {1}}, {9, 9, true, {}}, {1, 1, true, {}}});
    good.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    EXPECT_TRUE(g.LoadFromStream(&good));
    EXPECT_EQ(g.Count(), 3);

    TMemoryStream bad;
    const std::vector<std::uint8_t> twenty = BuildPathGraphFile(Nodes(20));
    bad.Write(twenty.data(), static_cast<std::int64_t>(twenty.size()));
    EXPECT_FALSE(g.LoadFromStream(&bad));
    EXPECT_EQ(g.Count(), 3);
    EXPECT_FALSE(g.LoadFromStream(nullptr));
}

TEST(MapOfLinkLoad, ConstructorMakesDefaultNodes) {
    MapOfLink g(2);
    ASSERT_EQ(g.Count(), 2);
    EXPECT_EQ(g.Node(0)->Enabled, 1);
    EXPECT_EQ(g.Node(0)->LinkCount(), 0);
    EXPECT_EQ(MapOfLink(25).Count(), 19);
    EXPECT_EQ(MapOfLink(-3).Count(), 0);
}
