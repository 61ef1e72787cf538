#pragma once
#include <map>
#include <vector>

#include "platform/Bitmap.h"

// A window region: the set of pixels of a window that belong to it, kept as sorted,
// merged runs of pixels per row. A shaped window is drawn and hit only where its
// region holds the point. Coordinates are relative to the window's top-left corner.
namespace ui {

class Region {
public:
    struct Span {
        int left;   // first pixel
        int right;  // one past the last
        bool operator==(const Span&) const = default;
    };

    Region() = default;  // empty
    static Region FromRect(const Rect& r);
    // Every pixel of the bitmap whose colour differs from `key` (whole colour values,
    // as the canvas reads them): one run per stretch of such pixels in each row.
    static Region FromBitmap(const Bitmap& bitmap, TColor key);

    bool IsEmpty() const { return rows_.empty(); }
    // The smallest rectangle holding the region (empty when the region is).
    Rect Bounds() const;
    bool Contains(int x, int y) const;

    void AddRect(const Rect& r);      // union with a rectangle
    void Union(const Region& other);  // union with another region
    void Offset(int dx, int dy);

    // The runs of row y (empty when none), sorted and not touching one another.
    const std::vector<Span>& Row(int y) const;
    const std::map<int, std::vector<Span>>& Rows() const { return rows_; }
    bool operator==(const Region&) const = default;

private:
    void AddSpan(int y, int left, int right);
    std::map<int, std::vector<Span>> rows_;
};

}  // namespace ui
