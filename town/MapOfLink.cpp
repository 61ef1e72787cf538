#include "town/MapOfLink.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "media/Qvpack.h"
#include "platform/Files.h"

namespace {

// A leg's drawn length: the larger of the two distances, counted wide so that no
// position a file may hold overflows it.
std::int64_t LegLength(const OneSphere& a, const OneSphere& b) {
    const std::int64_t dx = std::llabs(std::int64_t(a.x) - b.x);
    const std::int64_t dy = std::llabs(std::int64_t(a.y) - b.y);
    return std::max(dx, dy);
}

constexpr std::size_t kNodeHeaderSize = 16;  // k, x, y, enabled

}  // namespace

void OneSphere::AddLink(int index) {
    if (std::find(links_.begin(), links_.end(), index) == links_.end()) links_.push_back(index);
}

MapOfLink::MapOfLink(int n) {
    count_ = std::clamp(n, 0, kMaxMapNodes - 1);
    for (int i = 0; i < count_; ++i) nodes_[i] = new OneSphere();
}

MapOfLink::~MapOfLink() { Clear(); }

void MapOfLink::Clear() {
    for (OneSphere*& node : nodes_) {
        delete node;
        node = nullptr;
    }
    count_ = 0;
}

bool MapOfLink::Parse(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 4) return false;
    const std::int32_t count = ui::LoadI32(data);
    if (count < 0 || count >= kMaxMapNodes) return false;

    // Check the whole image before the graph held is given up.
    std::size_t pos = 4;
    for (int i = 0; i < count; ++i) {
        if (size - pos < kNodeHeaderSize) return false;
        const std::int32_t k = ui::LoadI32(data + pos);
        pos += kNodeHeaderSize;
        if (k < 0 || static_cast<std::size_t>(k) > (size - pos) / 4) return false;
        for (std::int32_t j = 0; j < k; ++j) {
            const std::int32_t link = ui::LoadI32(data + pos);
            pos += 4;
            if (link < 0 || link >= count) return false;
        }
    }
    // Bytes after the last node's links are not read.

    Clear();
    pos = 4;
    for (int i = 0; i < count; ++i) {
        auto* node = new OneSphere();
        const std::int32_t k = ui::LoadI32(data + pos);
        node->x = ui::LoadI32(data + pos + 4);
        node->y = ui::LoadI32(data + pos + 8);
        node->Enabled = ui::LoadI32(data + pos + 12) != 0 ? 1 : 0;
        pos += kNodeHeaderSize;
        for (std::int32_t j = 0; j < k; ++j, pos += 4) node->AddLink(ui::LoadI32(data + pos));
        nodes_[i] = node;
    }
    count_ = count;
    return true;
}

bool MapOfLink::LoadFromStream(TMemoryStream* stream) {
    if (!stream) return false;
    return Parse(stream->Memory(), static_cast<std::size_t>(stream->Size()));
}

// The working state of one search; it lives on the stack, so the search allocates
// nothing.
struct MapOfLink::Search {
    int to = 0;
    std::int32_t path[kMaxRouteNodes];
    std::int32_t best[kMaxRouteNodes];
    int bestHops = 0;
    std::int64_t bestLength = std::numeric_limits<std::int32_t>::max();
};

int MapOfLink::FindRoute(int from, int to, std::int32_t route[kMaxRouteNodes]) const {
    if (!route || from < 0 || from >= count_ || to < 0 || to >= count_) return -1;
    Search s;
    s.to = to;
    std::fill(std::begin(s.path), std::end(s.path), -1);
    std::fill(std::begin(s.best), std::end(s.best), -1);
    s.bestHops = count_;
    s.path[0] = from;
    s.best[0] = from;

    bool found = false;
    const OneSphere& start = *nodes_[from];
    for (int i = 0; i < start.LinkCount(); ++i) {
        const int n = start.Link(i);
        if (nodes_[n]->Enabled && Step(s, n, 1)) found = true;
    }
    if (!found) return -1;

    for (int i = 0; i < count_ && i < kMaxRouteNodes; ++i) {
        route[i] = s.best[i];
        if (s.best[i] == to) return i;
    }
    return -1;
}

bool MapOfLink::Step(Search& s, int n, int depth) const {
    if (s.bestHops <= depth && n != s.to) return false;
    for (int i = 0; i < depth; ++i)
        if (s.path[i] == n) return false;

    if (n != s.to) {
        // Deeper than any route the graph can hold: nothing to find there.
        if (depth + 1 >= kMaxRouteNodes) return false;
        s.path[depth] = n;
        bool any = false;
        const OneSphere& node = *nodes_[n];
        for (int i = 0; i < node.LinkCount(); ++i) {
            const int m = node.Link(i);
            if (nodes_[m]->Enabled && Step(s, m, depth + 1)) {
                s.best[depth] = n;
                any = true;
            }
        }
        return any;
    }

    std::int64_t length = 0;
    for (int i = 0; i + 1 < depth; ++i)
        length += LegLength(*nodes_[s.path[i]], *nodes_[s.path[i + 1]]);
    length += LegLength(*nodes_[s.path[depth - 1]], *nodes_[n]);
    if (s.bestHops == depth && s.bestLength < length) return false;
    s.bestLength = length;
    s.bestHops = depth;
    s.best[depth] = n;
    s.path[depth] = n;
    return true;
}

std::vector<std::uint8_t> BuildPathGraphFile(const std::vector<PathGraphNode>& nodes) {
    std::vector<std::uint8_t> out;
    ui::ByteWriter w(out);
    w.I32(static_cast<std::int32_t>(nodes.size()));
    for (const PathGraphNode& n : nodes) {
        w.I32(static_cast<std::int32_t>(n.links.size()));
        w.I32(n.x);
        w.I32(n.y);
        w.I32(n.enabled ? 1 : 0);
        for (std::int32_t link : n.links) w.I32(link);
    }
    return out;
}
