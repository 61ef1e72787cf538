#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/Bitmap.h"
#include "platform/Font.h"

// The drawing surface of a bitmap, or of a form or control drawing into its window's
// bitmap (through an origin and a clip rectangle). Every operation clips to the
// clip rectangle and the bitmap: nothing is ever written outside either.
//
// Pixels of an 8-bit bitmap are colour indices: colours are matched to the nearest
// entry of its colour table, and raster operations work on the indices, as the
// system's display driver does. On 24/32-bit bitmaps they work on red, green, blue.
namespace ui {

// Ternary raster operations (the high word selects the boolean function of pattern,
// source and destination; any such code works).
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCPAINT = 0x00EE0086;
constexpr std::uint32_t SRCAND = 0x008800C6;
constexpr std::uint32_t SRCINVERT = 0x00660046;
constexpr std::uint32_t SRCERASE = 0x00440328;
constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
constexpr std::uint32_t NOTSRCERASE = 0x001100A6;
constexpr std::uint32_t MERGECOPY = 0x00C000CA;
constexpr std::uint32_t MERGEPAINT = 0x00BB0226;
constexpr std::uint32_t PATCOPY = 0x00F00021;
constexpr std::uint32_t PATPAINT = 0x00FB0A09;
constexpr std::uint32_t PATINVERT = 0x005A0049;
constexpr std::uint32_t DSTINVERT = 0x00550009;
constexpr std::uint32_t BLACKNESS = 0x00000042;
constexpr std::uint32_t WHITENESS = 0x00FF0062;
// Destination AND pattern (the dissolve to black uses it).
constexpr std::uint32_t PATANDDEST = 0x00A000C9;

enum class BrushStyle { bsSolid, bsClear };
enum class PenStyle { psSolid, psClear };

struct TBrush {
    TColor Color = clWhite;
    BrushStyle Style = BrushStyle::bsSolid;
    // An 8x8 pattern brush: while set it is used instead of Color, tiled from the
    // canvas's (0, 0). The bitmap must outlive its use.
    const Bitmap* Pattern = nullptr;
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    PenStyle Style = PenStyle::psSolid;
};

// DrawText layout flags.
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;

class Canvas {
public:
    explicit Canvas(Bitmap& target);

    Bitmap& Target() const { return *target_; }
    void Retarget(Bitmap& target) { target_ = &target; }

    // Where this canvas's (0, 0) lies on the bitmap, and the part of it (in canvas
    // coordinates) the canvas may draw on. The default: the whole bitmap.
    void SetOrigin(int x, int y) { origin_ = Point{x, y}; }
    Point Origin() const { return origin_; }
    void SetClipRect(const Rect& clip);
    void ResetClip() { clipSet_ = false; }
    // The drawable area in canvas coordinates.
    Rect ClipRect() const;

    TBrush Brush;
    TPen Pen;
    ui::Font Font;
    std::uint32_t CopyMode = SRCCOPY;  // used by CopyRect

    // Pixels (canvas coordinates). GetPixel outside the bitmap gives black.
    TColor GetPixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // Brush fills; nothing with a clear brush.
    void FillRect(const Rect& r);
    void FrameRect(const Rect& r);  // a one-pixel frame in the brush colour
    // Outline with the pen, inside filled with the brush.
    void Rectangle(const Rect& r);
    void Rectangle(int left, int top, int right, int bottom) {
        Rectangle(Rect{left, top, right, bottom});
    }

    // Lines with the pen; LineTo leaves out the end point, as the system does.
    void MoveTo(int x, int y) { penPos_ = Point{x, y}; }
    void LineTo(int x, int y);
    Point PenPos() const { return penPos_; }
    void Polyline(std::span<const Point> points);

    // Pictures. Draw: the whole bitmap at (x, y), copied. StretchDraw: scaled to the
    // rectangle (nearest pixel). CopyRect: a rectangle of another canvas with CopyMode,
    // scaled when the sizes differ.
    void Draw(int x, int y, const Bitmap& source);
    void StretchDraw(const Rect& dest, const Bitmap& source);
    void CopyRect(const Rect& dest, const Canvas& source, const Rect& sourceRect);

    // The raster-operation blit: (x, y, w, h) of this canvas from (sx, sy) of the
    // source, combined by `rop` with the brush as the pattern. A null source is for
    // operations that do not read one (PATCOPY, BLACKNESS, 0xA000C9 ...).
    bool BitBlt(int x, int y, int w, int h, const Canvas* source, int sx, int sy,
                std::uint32_t rop);
    bool BitBlt(int x, int y, int w, int h, const Bitmap* source, int sx, int sy,
                std::uint32_t rop);

    // The dotted frame of a focused control: every other pixel of the rectangle's
    // edge inverted, so a second call removes it.
    void DrawFocusRect(const Rect& r);

    // Text (Big5) in Font, its cells filled with the brush first unless the brush is
    // clear. TextRect clips to the rectangle and fills all of it.
    void TextOut(int x, int y, std::string_view text);
    void TextRect(const Rect& r, int x, int y, std::string_view text);
    // Lays the text out in the rectangle by DT_ flags (left, centred, right; top or
    // vertically centred or bottom for a single line; lines broken at line feeds
    // otherwise). With DT_CALCRECT only r's right and bottom are set. Returns the
    // text's height.
    int DrawText(std::string_view text, Rect& r, unsigned flags);
    int TextWidth(std::string_view text) const { return ui::TextWidth(Font, text); }
    int TextHeight(std::string_view) const { return ui::TextHeight(Font); }

private:
    // Canvas rectangle -> clipped bitmap rectangle.
    Rect ToTarget(const Rect& r) const;
    void PlotPen(int x, int y);
    void DrawTextAt(int x, int y, std::string_view text, const Rect& clip);

    Bitmap* target_;
    Point origin_;
    Rect clip_;
    bool clipSet_ = false;
    Point penPos_;
};

// The frame of a raised or sunken bevel, `width` pixels deep: top and left edges in
// `topColor`, right and bottom in `bottomColor`. The rectangle shrinks by `width`.
void Frame3D(Canvas& canvas, Rect& r, TColor topColor, TColor bottomColor, int width);

}  // namespace ui
