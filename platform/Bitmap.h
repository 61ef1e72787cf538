#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Bitmaps as the class library keeps them: 8-bit with a 256-entry colour table,
// or 24/32-bit; rows top-down, each padded to a multiple of 4 bytes.
namespace ui {

class Canvas;
class Screen;

// Colours are the class library's 0x00BBGGRR values.
using TColor = std::uint32_t;

constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | TColor(g) << 8 | TColor(b) << 16;
}
constexpr std::uint8_t GetRValue(TColor c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t GetGValue(TColor c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t GetBValue(TColor c) { return static_cast<std::uint8_t>(c >> 16); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
// The standard system colours, fixed to the classic scheme.
constexpr TColor clBtnFace = 0xC0C0C0;
constexpr TColor clBtnShadow = 0x808080;
constexpr TColor clBtnHighlight = 0xFFFFFF;
constexpr TColor clWindowFrame = 0x000000;
constexpr TColor clWindow = 0xFFFFFF;
constexpr TColor clWindowText = 0x000000;
constexpr TColor clBtnText = 0x000000;
// "No colour": a pass that is not drawn.
constexpr TColor clNone = 0x1FFFFFFF;

// A colour-table entry, laid out as in BMP files.
struct RGBQuad {
    std::uint8_t Blue = 0;
    std::uint8_t Green = 0;
    std::uint8_t Red = 0;
    std::uint8_t Reserved = 0;
    constexpr bool operator==(const RGBQuad&) const = default;
};
static_assert(sizeof(RGBQuad) == 4);

constexpr RGBQuad ToQuad(TColor c) { return RGBQuad{GetBValue(c), GetGValue(c), GetRValue(c), 0}; }
constexpr TColor ToColor(RGBQuad q) { return RGB(q.Red, q.Green, q.Blue); }

// Rectangles include Left/Top and exclude Right/Bottom.
struct Point {
    int x = 0;
    int y = 0;
    constexpr bool operator==(const Point&) const = default;
};

struct Rect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(int x, int y) const {
        return x >= Left && x < Right && y >= Top && y < Bottom;
    }
    constexpr bool operator==(const Rect&) const = default;
};
constexpr Rect Bounds(int x, int y, int w, int h) { return Rect{x, y, x + w, y + h}; }
// The overlap of two rectangles (empty when they do not meet).
Rect Intersect(const Rect& a, const Rect& b);

enum class PixelFormat { pf8bit, pf24bit, pf32bit };

using Palette = std::array<RGBQuad, 256>;

// The colour table a new 8-bit bitmap starts with: the 20 static system colours at
// 0..9 and 246..255, black between.
const Palette& DefaultPalette();

class Bitmap {
public:
    Bitmap();
    // A white bitmap of that size.
    Bitmap(int width, int height, PixelFormat format = PixelFormat::pf24bit);
    ~Bitmap();
    // Copies pixels, format and colour table (never the canvas state).
    Bitmap(const Bitmap& other);
    Bitmap& operator=(const Bitmap& other);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    PixelFormat Format() const { return format_; }
    int BitsPerPixel() const;
    int Stride() const { return stride_; }  // bytes per row

    // New size: the overlapping top-left part is kept, new parts are white.
    // Sizes below 0 count as 0.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    // Converts the pixels (to 8-bit: the nearest entry of the colour table).
    void SetFormat(PixelFormat format);
    // Copies another bitmap whole (VCL's Assign).
    void Assign(const Bitmap& other) { *this = other; }

    // Shows pixels the caller owns (8-bit, rows of `stride` bytes, top-down) instead
    // of its own; they must outlive the bitmap or the next SetSize/SetFormat/Assign,
    // which make the bitmap own its pixels again. Null pixels release them.
    void AttachPixels8(std::uint8_t* pixels, int width, int height, int stride);
    bool PixelsAttached() const { return attached_; }

    std::uint8_t* ScanLine(int y) { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
    const std::uint8_t* ScanLine(int y) const {
        return bits_ + static_cast<std::ptrdiff_t>(y) * stride_;
    }
    std::uint8_t* Bits() { return bits_; }
    const std::uint8_t* Bits() const { return bits_; }

    // The colour table (used by 8-bit bitmaps; kept for the others too).
    const Palette& ColorTable() const { return palette_; }
    void SetColorTable(const Palette& palette);
    void SetColorTable(const RGBQuad* entries, int first, int count);

    // Colour of a pixel; 0 (black) outside.
    TColor GetPixel(int x, int y) const;
    // Sets a pixel (8-bit: the nearest colour-table entry); nothing outside.
    void SetPixel(int x, int y, TColor color);
    // The raw value: a colour index (8-bit) or 0x00RRGGBB (24/32-bit).
    std::uint32_t GetRaw(int x, int y) const;
    void SetRaw(int x, int y, std::uint32_t value);
    // The colours of row y as 0x00RRGGBB values, Width() of them into `out` (nothing
    // outside the bitmap): a whole row at the cost of a few GetPixel calls.
    void RowColors(int y, std::uint32_t* out) const;
    // The colour-table entry nearest to a colour (exact entries win; lowest index on ties).
    std::uint8_t NearestIndex(TColor color) const;

    // Decodes a BMP image: a whole file (with "BM" header) or, with fileHeader false,
    // one that starts at its info header. Uncompressed 1/4/8-bit (becoming 8-bit with
    // their colour table), 24-bit and 32-bit, bottom-up or top-down rows. False,
    // leaving the bitmap as it was, on any damage.
    [[nodiscard]] bool LoadFromMemory(std::span<const std::uint8_t> data, bool fileHeader = true);
    [[nodiscard]] bool LoadFromFile(const std::string& path);
    // Writes a BMP file image (8-bit with its colour table, or 24-bit).
    std::vector<std::uint8_t> SaveToMemory() const;

    // The canvas that draws on this bitmap (made on first use).
    Canvas& GetCanvas();

    // Bumped by every change made through the canvas, so a viewer can tell it changed.
    std::uint32_t ChangeCount() const { return changes_; }
    void Changed() { ++changes_; }

private:
    void Allocate(int width, int height, PixelFormat format);

    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    PixelFormat format_ = PixelFormat::pf24bit;
    std::vector<std::uint8_t> own_;
    std::uint8_t* bits_ = nullptr;
    bool attached_ = false;
    Palette palette_;
    std::uint32_t changes_ = 0;
    std::unique_ptr<Canvas> canvas_;
};

// Hands pixels to a 32-bit screen buffer (0x00RRGGBB per pixel, `dstPitch` pixels a
// row, dstWidth x dstHeight): the rectangle (sx, sy, w, h) of the bitmap goes to
// (dx, dy), clipped to both. 8-bit pixels go through the colour table.
void BlitToXrgb(const Bitmap& src, int sx, int sy, int w, int h, std::uint32_t* dst, int dstPitch,
                int dstWidth, int dstHeight, int dx, int dy);
// The same onto the virtual screen: the whole bitmap, or a part of it, at (dx, dy).
void Present(const Bitmap& src, Screen& screen, int dx, int dy);
void Present(const Bitmap& src, const Rect& part, Screen& screen, int dx, int dy);

}  // namespace ui
