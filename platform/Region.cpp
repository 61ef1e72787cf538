#include "platform/Region.h"

#include <algorithm>
#include <climits>

namespace ui {

Region Region::FromRect(const Rect& r) {
    Region region;
    region.AddRect(r);
    return region;
}

Region Region::FromBitmap(const Bitmap& bitmap, TColor key) {
    Region region;
    const int w = bitmap.Width();
    const std::uint32_t keyValue =
        std::uint32_t(GetRValue(key)) << 16 | std::uint32_t(GetGValue(key)) << 8 | GetBValue(key);
    std::vector<std::uint32_t> colors(static_cast<std::size_t>(w));
    for (int y = 0; y < bitmap.Height(); ++y) {
        bitmap.RowColors(y, colors.data());
        // The runs of one row come in order, each apart from the next by a key pixel.
        std::vector<Span> spans;
        int x = 0;
        while (x < w) {
            while (x < w && colors[x] == keyValue) ++x;
            if (x < w) {
                const int start = x;
                while (x < w && colors[x] != keyValue) ++x;
                spans.push_back(Span{start, x});
            }
            ++x;
        }
        if (!spans.empty()) region.rows_.emplace_hint(region.rows_.end(), y, std::move(spans));
    }
    return region;
}

Rect Region::Bounds() const {
    if (rows_.empty()) return Rect{};
    int left = INT_MAX, right = INT_MIN;
    for (const auto& [y, spans] : rows_) {
        left = std::min(left, spans.front().left);
        right = std::max(right, spans.back().right);
    }
    return Rect{left, rows_.begin()->first, right, rows_.rbegin()->first + 1};
}

bool Region::Contains(int x, int y) const {
    const auto it = rows_.find(y);
    if (it == rows_.end()) return false;
    const auto& spans = it->second;
    // The first run that ends after x.
    const auto s = std::upper_bound(spans.begin(), spans.end(), x,
                                    [](int v, const Span& sp) { return v < sp.right; });
    return s != spans.end() && s->left <= x;
}

const std::vector<Region::Span>& Region::Row(int y) const {
    static const std::vector<Span> none;
    const auto it = rows_.find(y);
    return it == rows_.end() ? none : it->second;
}

void Region::AddSpan(int y, int left, int right) {
    if (right <= left) return;
    auto& spans = rows_[y];
    // Insert, then merge every run that overlaps or touches the new one.
    auto it = std::lower_bound(spans.begin(), spans.end(), left,
                               [](const Span& sp, int v) { return sp.right < v; });
    Span merged{left, right};
    auto end = it;
    while (end != spans.end() && end->left <= merged.right) {
        merged.left = std::min(merged.left, end->left);
        merged.right = std::max(merged.right, end->right);
        ++end;
    }
    it = spans.erase(it, end);
    spans.insert(it, merged);
}

void Region::AddRect(const Rect& r) {
    if (r.IsEmpty()) return;
    for (int y = r.Top; y < r.Bottom; ++y) AddSpan(y, r.Left, r.Right);
}

void Region::Union(const Region& other) {
    for (const auto& [y, spans] : other.rows_)
        for (const Span& s : spans) AddSpan(y, s.left, s.right);
}

void Region::Offset(int dx, int dy) {
    std::map<int, std::vector<Span>> moved;
    for (auto& [y, spans] : rows_) {
        for (Span& s : spans) {
            s.left += dx;
            s.right += dx;
        }
        moved.emplace(y + dy, std::move(spans));
    }
    rows_ = std::move(moved);
}

}  // namespace ui
