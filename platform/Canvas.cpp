#include "platform/Canvas.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/Big5.h"

namespace ui {
namespace {

constexpr std::uint32_t ColorToRaw(TColor c) {
    return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

// The boolean function of a ternary raster operation, applied bit by bit: bit i of
// `code` is the result for pattern = i & 4, source = i & 2, destination = i & 1.
template <typename T>
inline T Rop3(std::uint8_t code, T p, T s, T d) {
    switch (code) {
        case 0xCC:
            return s;
        case 0x88:
            return s & d;
        case 0xEE:
            return s | d;
        case 0x66:
            return s ^ d;
        case 0x44:
            return s & ~d;
        case 0xC0:
            return p & s;
        case 0xA0:
            return p & d;
        case 0xF0:
            return p;
        case 0x5A:
            return p ^ d;
        case 0x55:
            return ~d;
        case 0x00:
            return 0;
        case 0xFF:
            return ~T{0};
        default:
            break;
    }
    T r = 0;
    for (int i = 0; i < 8; ++i)
        if ((code >> i) & 1) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return r;
}

constexpr bool UsesSource(std::uint8_t code) { return ((code >> 2) ^ code) & 0x33; }

// Reads source pixels as values of the destination: colour indices for an 8-bit
// destination (through its colour table), 0x00RRGGBB for the others.
class SourceReader {
public:
    SourceReader(const Bitmap& src, const Bitmap& dst) : src_(src), dst_(dst) {
        const bool srcPal = src.Format() == PixelFormat::pf8bit;
        const bool dstPal = dst.Format() == PixelFormat::pf8bit;
        if (srcPal && dstPal) {
            same_ = src.ColorTable() == dst.ColorTable();
            if (!same_)
                for (int i = 0; i < 256; ++i)
                    lut_[i] = dst.NearestIndex(ToColor(src.ColorTable()[i]));
            mode_ = Mode::PalToPal;
        } else if (srcPal) {
            for (int i = 0; i < 256; ++i) lut_[i] = ColorToRaw(ToColor(src.ColorTable()[i]));
            mode_ = Mode::PalToRgb;
        } else if (dstPal) {
            mode_ = Mode::RgbToPal;
        } else {
            mode_ = Mode::RgbToRgb;
        }
    }

    std::uint32_t Get(int x, int y) {
        const std::uint32_t raw = src_.GetRaw(x, y);
        switch (mode_) {
            case Mode::PalToPal:
                return same_ ? raw : lut_[raw];
            case Mode::PalToRgb:
                return lut_[raw];
            case Mode::RgbToRgb:
                return raw;
            case Mode::RgbToPal: {
                auto it = cache_.find(raw);
                if (it != cache_.end()) return it->second;
                const TColor c =
                    RGB(static_cast<std::uint8_t>(raw >> 16), static_cast<std::uint8_t>(raw >> 8),
                        static_cast<std::uint8_t>(raw));
                const std::uint32_t idx = dst_.NearestIndex(c);
                cache_.emplace(raw, idx);
                return idx;
            }
        }
        return raw;
    }

private:
    enum class Mode { PalToPal, PalToRgb, RgbToPal, RgbToRgb };
    const Bitmap& src_;
    const Bitmap& dst_;
    Mode mode_ = Mode::RgbToRgb;
    bool same_ = false;
    std::uint32_t lut_[256] = {};
    std::unordered_map<std::uint32_t, std::uint32_t> cache_;
};

std::uint32_t RawColor(const Bitmap& dst, TColor c) {
    return dst.Format() == PixelFormat::pf8bit ? dst.NearestIndex(c) : ColorToRaw(c);
}

std::uint32_t ValueMask(const Bitmap& dst) {
    return dst.Format() == PixelFormat::pf8bit ? 0xFFu : 0xFFFFFFu;
}

// The brush as an 8x8 tile of destination values.
struct PatternTile {
    std::uint32_t v[8][8];
    PatternTile(const TBrush& brush, const Bitmap& dst) {
        if (brush.Pattern != nullptr && !brush.Pattern->Empty()) {
            SourceReader reader(*brush.Pattern, dst);
            const int pw = brush.Pattern->Width(), ph = brush.Pattern->Height();
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) v[y][x] = reader.Get(x % pw, y % ph);
        } else {
            const std::uint32_t c = RawColor(dst, brush.Color);
            for (auto& row : v)
                for (auto& e : row) e = c;
        }
    }
};

// Pixels of B bytes (1: an index; 3 or 4: blue, green, red) as values.
template <int B>
inline std::uint32_t LoadPx(const std::uint8_t* p) {
    if constexpr (B == 1)
        return p[0];
    else
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
}
template <int B>
inline void StorePx(std::uint8_t* p, std::uint32_t v) {
    if constexpr (B == 1) {
        p[0] = static_cast<std::uint8_t>(v);
    } else {
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        p[2] = static_cast<std::uint8_t>(v >> 16);
        if constexpr (B == 4) p[3] = 0;
    }
}

// One row of an unscaled blit between bitmaps of the same layout: `n` pixels of B
// bytes from `s` (null when the operation reads no source) onto `d`, the pattern row
// `pat` starting at column `px`. Every raster operation works bit by bit, so the row
// goes eight bytes at a time against the pattern laid out in the pixels' bytes
// (values little-endian, a 32-bit pixel's fourth byte masked to 0): eight pixels of
// the pattern are B such words.
template <int B, typename Op>
void RowOp(std::uint8_t* d, const std::uint8_t* s, int n, const std::uint32_t* pat, int px,
           std::uint32_t mask, Op op) {
    using W = std::uint64_t;
    constexpr int kRun = 8 * B;  // bytes of eight pixels
    std::uint8_t pb[kRun], mb[kRun];
    for (int i = 0; i < 8; ++i) {
        const std::uint32_t v = pat[(px + i) & 7];
        for (int b = 0; b < B; ++b) {
            pb[i * B + b] = static_cast<std::uint8_t>(v >> (8 * b));
            mb[i * B + b] = static_cast<std::uint8_t>(mask >> (8 * b));
        }
    }
    W pw[B], mw[B];
    std::memcpy(pw, pb, kRun);
    std::memcpy(mw, mb, kRun);
    const int bytes = n * B;
    int j = 0;
    for (; j + kRun <= bytes; j += kRun) {
        for (int k = 0; k < B; ++k) {
            W dv, sv = 0;
            std::memcpy(&dv, d + j + k * 8, 8);
            if (s) std::memcpy(&sv, s + j + k * 8, 8);
            dv = op(pw[k], sv, dv) & mw[k];
            std::memcpy(d + j + k * 8, &dv, 8);
        }
    }
    for (int k = 0; j + k < bytes; ++k) {
        const std::uint32_t sv = s ? s[j + k] : 0;
        d[j + k] = static_cast<std::uint8_t>(op(std::uint32_t{pb[k]}, sv, std::uint32_t{d[j + k]}) &
                                             mb[k]);
    }
}

template <int B>
void Row(std::uint8_t code, std::uint8_t* d, const std::uint8_t* s, int n, const std::uint32_t* pat,
         int px, std::uint32_t mask) {
    switch (code) {
        case 0x88:
            return RowOp<B>(d, s, n, pat, px, mask, [](auto, auto sv, auto dv) { return sv & dv; });
        case 0xEE:
            return RowOp<B>(d, s, n, pat, px, mask, [](auto, auto sv, auto dv) { return sv | dv; });
        case 0x66:
            return RowOp<B>(d, s, n, pat, px, mask, [](auto, auto sv, auto dv) { return sv ^ dv; });
        case 0x44:
            return RowOp<B>(d, s, n, pat, px, mask,
                            [](auto, auto sv, auto dv) { return sv & ~dv; });
        case 0xC0:
            return RowOp<B>(d, s, n, pat, px, mask, [](auto p, auto sv, auto) { return p & sv; });
        case 0xA0:
            return RowOp<B>(d, s, n, pat, px, mask, [](auto p, auto, auto dv) { return p & dv; });
        case 0xF0:
            return RowOp<B>(d, s, n, pat, px, mask, [](auto p, auto, auto) { return p; });
        default:
            return RowOp<B>(d, s, n, pat, px, mask,
                            [code](auto p, auto sv, auto dv) { return Rop3(code, p, sv, dv); });
    }
}

// The generic blit: every destination pixel of `dest` (bitmap coordinates, already
// clipped to `clip`) that maps into the source rectangle takes rop(pattern, source,
// destination). `srcRect` is in source bitmap coordinates; sizes may differ (scaling
// by the nearest pixel). `patOrigin` is the bitmap point where the brush tile starts.
void Blit(Bitmap& dst, const Rect& dest, const Rect& clip, const Bitmap* src, const Rect& srcRect,
          std::uint32_t rop, const TBrush& brush, Point patOrigin) {
    const std::uint8_t code = static_cast<std::uint8_t>(rop >> 16);
    const bool useSrc = UsesSource(code);
    if (useSrc && (src == nullptr || src->Empty() || srcRect.IsEmpty())) return;
    if (dest.IsEmpty()) return;
    const Rect area = Intersect(Intersect(dest, clip), Rect{0, 0, dst.Width(), dst.Height()});
    if (area.IsEmpty()) return;

    // Reading from the bitmap being written: work from a copy, unless every pixel
    // reads only itself.
    const Bitmap* from = src;
    Bitmap copy;
    if (useSrc && src == &dst && !(srcRect == dest)) {
        copy = dst;
        from = &copy;
    }
    const PatternTile tile(brush, dst);
    const std::uint32_t mask = ValueMask(dst);
    const bool scaled =
        useSrc && (srcRect.Width() != dest.Width() || srcRect.Height() != dest.Height());
    const bool plainCopy =
        code == 0xCC && !scaled && from->Format() == dst.Format() &&
        (dst.Format() != PixelFormat::pf8bit || from->ColorTable() == dst.ColorTable());

    // Same layout, no scaling: whole rows through pointers.
    const bool sameLayout =
        !useSrc || (from->Format() == dst.Format() && (dst.Format() != PixelFormat::pf8bit ||
                                                       from->ColorTable() == dst.ColorTable()));
    if (!scaled && sameLayout && code != 0xCC) {
        const int shift = dest.Left - srcRect.Left;  // source column of x is x - shift
        const int x0 = useSrc ? std::max(area.Left, shift) : area.Left;
        const int x1 = useSrc ? std::min(area.Right, shift + from->Width()) : area.Right;
        const int bytes = dst.BitsPerPixel() / 8;
        for (int y = area.Top; y < area.Bottom && x1 > x0; ++y) {
            const std::uint8_t* s = nullptr;
            if (useSrc) {
                const int sy = srcRect.Top + (y - dest.Top);
                if (sy < 0 || sy >= from->Height()) continue;
                s = from->ScanLine(sy) + (x0 - shift) * bytes;
            }
            const std::uint32_t* pat = tile.v[((y - patOrigin.y) % 8 + 8) % 8];
            const int px = ((x0 - patOrigin.x) % 8 + 8) % 8;
            std::uint8_t* d = dst.ScanLine(y) + x0 * bytes;
            switch (bytes) {
                case 1:
                    Row<1>(code, d, s, x1 - x0, pat, px, mask);
                    break;
                case 3:
                    Row<3>(code, d, s, x1 - x0, pat, px, mask);
                    break;
                default:
                    Row<4>(code, d, s, x1 - x0, pat, px, mask);
                    break;
            }
        }
        dst.Changed();
        return;
    }

    // A plain copy into an RGB bitmap from one of another layout: whole rows, each
    // source pixel read once (a palette picture's through its colour table).
    if (code == 0xCC && !scaled && !plainCopy && dst.Format() != PixelFormat::pf8bit) {
        const int shift = dest.Left - srcRect.Left;  // source column of x is x - shift
        const int x0 = std::max(area.Left, shift);
        const int x1 = std::min(area.Right, shift + from->Width());
        std::uint32_t lut[256] = {};
        if (from->Format() == PixelFormat::pf8bit)
            for (int i = 0; i < 256; ++i) lut[i] = ColorToRaw(ToColor(from->ColorTable()[i]));
        auto rows = [&](auto load) {
            for (int y = area.Top; y < area.Bottom && x1 > x0; ++y) {
                const int sy = srcRect.Top + (y - dest.Top);
                if (sy < 0 || sy >= from->Height()) continue;
                const std::uint8_t* s = from->ScanLine(sy);
                std::uint8_t* d = dst.ScanLine(y);
                for (int x = x0; x < x1; ++x) {
                    const std::uint32_t v = load(s, x - shift) & mask;
                    if (dst.Format() == PixelFormat::pf32bit)
                        StorePx<4>(d + x * 4, v);
                    else
                        StorePx<3>(d + x * 3, v);
                }
            }
        };
        if (from->Format() == PixelFormat::pf8bit && dst.Format() == PixelFormat::pf24bit &&
            std::endian::native == std::endian::little) {
            // A palette picture onto a 24-bit bitmap, eight pixels (three words) at a time.
            for (int y = area.Top; y < area.Bottom && x1 > x0; ++y) {
                const int sy = srcRect.Top + (y - dest.Top);
                if (sy < 0 || sy >= from->Height()) continue;
                const std::uint8_t* s = from->ScanLine(sy) - shift;
                std::uint8_t* d = dst.ScanLine(y);
                int x = x0;
                for (; x + 8 <= x1; x += 8) {
                    std::uint64_t idx;
                    std::memcpy(&idx, s + x, 8);
                    std::uint64_t v[8];
                    for (int i = 0; i < 8; ++i) v[i] = lut[(idx >> (8 * i)) & 0xFF];
                    const std::uint64_t w[3] = {v[0] | v[1] << 24 | v[2] << 48,
                                                v[2] >> 16 | v[3] << 8 | v[4] << 32 | v[5] << 56,
                                                v[5] >> 8 | v[6] << 16 | v[7] << 40};
                    std::memcpy(d + x * 3, w, 24);
                }
                for (; x < x1; ++x) StorePx<3>(d + x * 3, lut[s[x]]);
            }
            dst.Changed();
            return;
        }
        switch (from->Format()) {
            case PixelFormat::pf8bit:
                rows([&](const std::uint8_t* s, int sx) { return lut[s[sx]]; });
                break;
            case PixelFormat::pf24bit:
                rows([](const std::uint8_t* s, int sx) { return LoadPx<3>(s + sx * 3); });
                break;
            case PixelFormat::pf32bit:
                rows([](const std::uint8_t* s, int sx) { return LoadPx<4>(s + sx * 4); });
                break;
        }
        dst.Changed();
        return;
    }

    std::optional<SourceReader> reader;
    if (useSrc) reader.emplace(*from, dst);
    for (int y = area.Top; y < area.Bottom; ++y) {
        int sy = 0;
        if (useSrc) {
            sy = scaled ? srcRect.Top + static_cast<int>(std::int64_t(y - dest.Top) *
                                                         srcRect.Height() / dest.Height())
                        : srcRect.Top + (y - dest.Top);
            if (sy < 0 || sy >= from->Height()) continue;
        }
        if (plainCopy) {
            // Same format: copy the part of the row that the source has.
            // Source column of x is srcRect.Left + (x - dest.Left).
            const int shift = dest.Left - srcRect.Left;
            const int x0 = std::max(area.Left, shift);
            const int x1 = std::min(area.Right, shift + from->Width());
            if (x1 > x0) {
                const int bpp = dst.BitsPerPixel() / 8;
                std::memcpy(dst.ScanLine(y) + x0 * bpp,
                            from->ScanLine(sy) + (srcRect.Left + (x0 - dest.Left)) * bpp,
                            static_cast<std::size_t>(x1 - x0) * bpp);
            }
            continue;
        }
        const int py = ((y - patOrigin.y) % 8 + 8) % 8;
        for (int x = area.Left; x < area.Right; ++x) {
            std::uint32_t s = 0;
            if (useSrc) {
                const int sx = scaled
                                   ? srcRect.Left + static_cast<int>(std::int64_t(x - dest.Left) *
                                                                     srcRect.Width() / dest.Width())
                                   : srcRect.Left + (x - dest.Left);
                if (sx < 0 || sx >= from->Width()) continue;
                s = reader->Get(sx, sy);
            }
            const std::uint32_t p = tile.v[py][((x - patOrigin.x) % 8 + 8) % 8];
            const std::uint32_t d = dst.GetRaw(x, y);
            dst.SetRaw(x, y, Rop3(code, p, s, d) & mask);
        }
    }
    dst.Changed();
}

// Coordinates far outside any bitmap are pulled in, so no sum of them can overflow.
constexpr int kFar = 1 << 28;
int Near(int v) { return std::clamp(v, -kFar, kFar); }
Rect Near(const Rect& r) { return Rect{Near(r.Left), Near(r.Top), Near(r.Right), Near(r.Bottom)}; }

}  // namespace

Canvas::Canvas(Bitmap& target) : target_(&target) {}

void Canvas::SetClipRect(const Rect& clip) {
    clip_ = clip;
    clipSet_ = true;
}

Rect Canvas::ClipRect() const {
    const Rect whole{-origin_.x, -origin_.y, target_->Width() - origin_.x,
                     target_->Height() - origin_.y};
    return clipSet_ ? Intersect(whole, clip_) : whole;
}

Rect Canvas::ToTarget(const Rect& r) const {
    const Rect c = ClipRect();
    const Rect i = Intersect(r, c);
    return Rect{i.Left + origin_.x, i.Top + origin_.y, i.Right + origin_.x, i.Bottom + origin_.y};
}

TColor Canvas::GetPixel(int x, int y) const {
    return target_->GetPixel(x + origin_.x, y + origin_.y);
}

void Canvas::SetPixel(int x, int y, TColor color) {
    if (!ClipRect().Contains(x, y)) return;
    target_->SetPixel(x + origin_.x, y + origin_.y, color);
    target_->Changed();
}

void Canvas::FillRect(const Rect& r) {
    if (Brush.Style == BrushStyle::bsClear) return;
    const Rect t = ToTarget(r);
    if (t.IsEmpty()) return;
    Blit(*target_, t, t, nullptr, Rect{}, PATCOPY, Brush, origin_);
}

void Canvas::FrameRect(const Rect& r) {
    if (Brush.Style == BrushStyle::bsClear || r.IsEmpty()) return;
    FillRect(Rect{r.Left, r.Top, r.Right, r.Top + 1});
    FillRect(Rect{r.Left, r.Bottom - 1, r.Right, r.Bottom});
    FillRect(Rect{r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1});
    FillRect(Rect{r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1});
}

void Canvas::Rectangle(const Rect& r) {
    if (r.IsEmpty()) return;
    const bool pen = Pen.Style != PenStyle::psClear;
    FillRect(pen ? Rect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1} : r);
    if (!pen) return;
    const Point pts[] = {{r.Left, r.Top},
                         {r.Right - 1, r.Top},
                         {r.Right - 1, r.Bottom - 1},
                         {r.Left, r.Bottom - 1},
                         {r.Left, r.Top}};
    const Point keep = penPos_;
    Polyline(pts);
    penPos_ = keep;
}

void Canvas::PlotPen(int x, int y) {
    const int w = std::max(1, Pen.Width);
    const Rect c = ClipRect();
    const TColor color = Pen.Color;
    const int from = -(w - 1) / 2;
    for (int dy = from; dy < from + w; ++dy)
        for (int dx = from; dx < from + w; ++dx)
            if (c.Contains(x + dx, y + dy))
                target_->SetPixel(x + dx + origin_.x, y + dy + origin_.y, color);
}

void Canvas::LineTo(int x, int y) {
    int x0 = penPos_.x, y0 = penPos_.y;
    penPos_ = Point{x, y};
    if (Pen.Style == PenStyle::psClear) return;
    // Bresenham, end point left out. Far-off coordinates are clamped so the loop stays short.
    const int lim = 1 << 20;
    x0 = std::clamp(x0, -lim, lim);
    y0 = std::clamp(y0, -lim, lim);
    x = std::clamp(x, -lim, lim);
    y = std::clamp(y, -lim, lim);
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int stepX = x0 < x ? 1 : -1, stepY = y0 < y ? 1 : -1;
    int err = dx + dy;
    const Rect c = ClipRect();
    while (x0 != x || y0 != y) {
        if (Pen.Width > 1 || c.Contains(x0, y0)) PlotPen(x0, y0);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += stepX;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += stepY;
        }
    }
    target_->Changed();
}

void Canvas::Polyline(std::span<const Point> points) {
    if (points.empty()) return;
    MoveTo(points[0].x, points[0].y);
    for (std::size_t i = 1; i < points.size(); ++i) LineTo(points[i].x, points[i].y);
}

void Canvas::Draw(int x, int y, const Bitmap& source) {
    BitBlt(x, y, source.Width(), source.Height(), &source, 0, 0, SRCCOPY);
}

void Canvas::StretchDraw(const Rect& destIn, const Bitmap& source) {
    const Rect dest = Near(destIn);
    if (dest.IsEmpty() || source.Empty()) return;
    const Rect d{dest.Left + origin_.x, dest.Top + origin_.y, dest.Right + origin_.x,
                 dest.Bottom + origin_.y};
    Blit(*target_, d, ToTarget(ClipRect()), &source, Rect{0, 0, source.Width(), source.Height()},
         SRCCOPY, Brush, origin_);
}

void Canvas::CopyRect(const Rect& destIn, const Canvas& source, const Rect& sourceIn) {
    const Rect dest = Near(destIn), sourceRect = Near(sourceIn);
    if (dest.IsEmpty() || sourceRect.IsEmpty()) return;
    const Rect d{dest.Left + origin_.x, dest.Top + origin_.y, dest.Right + origin_.x,
                 dest.Bottom + origin_.y};
    const Rect s{sourceRect.Left + source.origin_.x, sourceRect.Top + source.origin_.y,
                 sourceRect.Right + source.origin_.x, sourceRect.Bottom + source.origin_.y};
    Blit(*target_, d, ToTarget(ClipRect()), source.target_, s, CopyMode, Brush, origin_);
}

bool Canvas::BitBlt(int x, int y, int w, int h, const Canvas* source, int sx, int sy,
                    std::uint32_t rop) {
    const Bitmap* bm = nullptr;
    if (source != nullptr) {
        bm = source->target_;
        sx = Near(sx) + source->origin_.x;
        sy = Near(sy) + source->origin_.y;
    }
    return BitBlt(x, y, w, h, bm, sx, sy, rop);
}

bool Canvas::BitBlt(int x, int y, int w, int h, const Bitmap* source, int sx, int sy,
                    std::uint32_t rop) {
    if (w <= 0 || h <= 0) return true;
    x = Near(x);
    y = Near(y);
    sx = Near(sx);
    sy = Near(sy);
    w = std::min(w, kFar);
    h = std::min(h, kFar);
    if (UsesSource(static_cast<std::uint8_t>(rop >> 16)) && source == nullptr) return false;
    const Rect d = Bounds(x + origin_.x, y + origin_.y, w, h);
    Blit(*target_, d, ToTarget(ClipRect()), source, Bounds(sx, sy, w, h), rop, Brush, origin_);
    return true;
}

void Canvas::DrawFocusRect(const Rect& r) {
    if (r.IsEmpty()) return;
    const Rect c = ClipRect();
    const std::uint32_t mask = ValueMask(*target_);
    auto flip = [&](int x, int y) {
        // The system's focus brush: a checkerboard aligned to the canvas's (0, 0).
        if (((x + y) & 1) != 0 || !c.Contains(x, y)) return;
        const int tx = x + origin_.x, ty = y + origin_.y;
        target_->SetRaw(tx, ty, target_->GetRaw(tx, ty) ^ mask);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        flip(x, r.Top);
        if (r.Bottom - 1 > r.Top) flip(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        flip(r.Left, y);
        if (r.Right - 1 > r.Left) flip(r.Right - 1, y);
    }
    target_->Changed();
}

void Canvas::DrawTextAt(int x, int y, std::string_view text, const Rect& clip) {
    const Rect c = Intersect(clip, ClipRect());
    if (c.IsEmpty()) return;
    if (Brush.Style != BrushStyle::bsClear) {
        const TBrush keep = Brush;
        Brush.Pattern = nullptr;
        const Rect cell =
            Intersect(Bounds(x, y, ui::TextWidth(Font, text), ui::TextHeight(Font)), c);
        if (!cell.IsEmpty()) FillRect(cell);
        Brush = keep;
    }
    const std::uint32_t value = RawColor(*target_, Font.Color);
    Bitmap& bm = *target_;
    const int ox = origin_.x, oy = origin_.y;
    RenderText(Font, text, x, y, c, [&](int px, int py) { bm.SetRaw(px + ox, py + oy, value); });
    target_->Changed();
}

void Canvas::TextOut(int x, int y, std::string_view text) {
    DrawTextAt(x, y, text, ClipRect());
    penPos_ = Point{x + ui::TextWidth(Font, text), y};
}

void Canvas::TextRect(const Rect& r, int x, int y, std::string_view text) {
    if (Brush.Style != BrushStyle::bsClear) FillRect(r);
    const BrushStyle keep = Brush.Style;
    Brush.Style = BrushStyle::bsClear;
    DrawTextAt(x, y, text, r);
    Brush.Style = keep;
}

int Canvas::DrawText(std::string_view text, Rect& r, unsigned flags) {
    // Split into lines at line feeds (a line feed is never a trail byte), dropping
    // carriage returns; a single line keeps everything on one line.
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsBig5Lead(c) && i + 1 < text.size()) {
            lines.back() += text.substr(i, 2);
            ++i;
        } else if (c == '\n' && !(flags & DT_SINGLELINE)) {
            lines.emplace_back();
        } else if (c != '\r') {
            lines.back() += static_cast<char>(c);
        }
    }
    const int lineHeight = ui::TextHeight(Font);
    const int height = lineHeight * static_cast<int>(lines.size());
    if (flags & DT_CALCRECT) {
        int width = 0;
        for (const auto& l : lines) width = std::max(width, ui::TextWidth(Font, l));
        r.Right = r.Left + width;
        r.Bottom = r.Top + height;
        return height;
    }
    const Rect box = Near(r);
    int y = box.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = box.Top + (box.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = box.Bottom - lineHeight;
    }
    const Rect clip = (flags & DT_NOCLIP) ? ClipRect() : box;
    for (const auto& l : lines) {
        const int w = ui::TextWidth(Font, l);
        int x = box.Left;
        if (flags & DT_CENTER)
            x = box.Left + (box.Width() - w) / 2;
        else if (flags & DT_RIGHT)
            x = box.Right - w;
        DrawTextAt(x, y, l, clip);
        y += lineHeight;
    }
    return height;
}

void Frame3D(Canvas& canvas, Rect& r, TColor topColor, TColor bottomColor, int width) {
    canvas.Pen.Width = 1;
    canvas.Pen.Style = PenStyle::psSolid;
    --r.Bottom;
    --r.Right;
    while (width > 0) {
        --width;
        const Point top[] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
        canvas.Pen.Color = topColor;
        canvas.Polyline(top);
        const Point bottom[] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
        canvas.Pen.Color = bottomColor;
        canvas.Polyline(bottom);
        ++r.Left;
        ++r.Top;
        --r.Right;
        --r.Bottom;
    }
    ++r.Bottom;
    ++r.Right;
}

}  // namespace ui
