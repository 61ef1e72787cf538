#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The path graph of a map screen: a few places (nodes) with their positions on the
// map picture and the roads (links) leading out of each. The map screen asks it for
// the route between two places; a closed place is a disabled node no route enters.
//
// The graph file (PathGraphFile, "town.sld" / "land.sld" of the map pack) is
// little-endian without a header: i32 count (0..19), then per node i32 k, i32 x,
// i32 y, u32 enabled (non-zero: enabled) and k x i32 link (a neighbour's index).
// Links are one-way as stored.

constexpr int kMaxMapNodes = 20;  // node slots; a file holds fewer
constexpr int kMaxRouteNodes = 20;

// One node of the graph.
class OneSphere {
public:
    // Appends a link to node `index` unless the node already holds it.
    void AddLink(int index);

    std::int32_t LinkCount() const { return static_cast<std::int32_t>(links_.size()); }
    std::int32_t Link(int i) const { return links_[static_cast<std::size_t>(i)]; }

    std::uint8_t Enabled = 1;  // a disabled node is never entered by a route
    std::int32_t x = 0;        // position on the map picture, pixels
    std::int32_t y = 0;

private:
    std::vector<std::int32_t> links_;
};

class MapOfLink {
public:
    // n default nodes (no links, enabled, at 0,0); n is held to 0..19.
    explicit MapOfLink(int n);
    ~MapOfLink();
    MapOfLink(const MapOfLink&) = delete;
    MapOfLink& operator=(const MapOfLink&) = delete;

    // Builds the graph from a whole file image. Refused as a whole, the graph held
    // staying as it was, when the count is not 0..19, a link count is negative, a
    // link names a node outside 0..count-1, or the image is shorter or longer than
    // the nodes it declares.
    bool Parse(const std::uint8_t* data, std::size_t size);
    // The whole stream from its start, as Parse; false when it did not parse.
    bool LoadFromStream(class TMemoryStream* stream);

    // The route with the fewest hops from `from` to `to` over enabled nodes (the start
    // node's own state is not looked at) and, among those, the shortest drawn length
    // (a leg counts max(|dx|, |dy|)); on a full tie the route found later in link order
    // wins. Writes the route's nodes, `from` to `to` inclusive, into `route` and
    // returns the hop count; -1 (route untouched) when there is none, when from = to,
    // or when either index lies outside the graph.
    int FindRoute(int from, int to, std::int32_t route[kMaxRouteNodes]) const;

    int Count() const { return count_; }
    // Node i, or null outside 0..Count()-1.
    OneSphere* Node(int i) { return (i >= 0 && i < count_) ? nodes_[i] : nullptr; }
    const OneSphere* Node(int i) const { return (i >= 0 && i < count_) ? nodes_[i] : nullptr; }

private:
    struct Search;
    bool Step(Search& s, int n, int depth) const;
    void Clear();

    OneSphere* nodes_[kMaxMapNodes] = {};
    std::int32_t count_ = 0;
};

// Writes a graph file's bytes: per node its position, enabled state and links. For the
// game-data writer and tests.
struct PathGraphNode {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool enabled = true;
    std::vector<std::int32_t> links;
};
std::vector<std::uint8_t> BuildPathGraphFile(const std::vector<PathGraphNode>& nodes);
