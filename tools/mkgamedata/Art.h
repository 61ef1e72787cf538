#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Drawing helpers for the generated art: a picture of palette indices (in the
// generated palette's terms) with plain shapes, numbers and text labels, and the
// addition of a member to a pack that may already exist.
namespace mkgamedata {

// Named entries of the generated palette (see GeneratedPalette).
inline constexpr std::uint8_t kInk = 233;  // near black
inline constexpr std::uint8_t kWhite = 255;
inline constexpr std::uint8_t kSkin = 16 + 36 * 5 + 6 * 4 + 3;

// A colour of the generated palette's 6 x 6 x 6 cube (0..5 each).
constexpr std::uint8_t Cube(int r, int g, int b) {
    return static_cast<std::uint8_t>(16 + 36 * r + 6 * g + b);
}

struct Pt {
    double x;
    double y;
};

// A picture of palette indices, top row first, drawn on with plain shapes.
class Picture {
public:
    Picture(int w, int h, std::uint8_t fill) : w_(w), h_(h), px_(std::size_t(w) * h, fill) {}

    void Set(int x, int y, std::uint8_t c) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[std::size_t(y) * w_ + x] = c;
    }
    std::uint8_t Get(int x, int y) const {
        return (x >= 0 && y >= 0 && x < w_ && y < h_) ? px_[std::size_t(y) * w_ + x] : 0;
    }
    void Rect(int x, int y, int w, int h, std::uint8_t c);
    void Frame(int x, int y, int w, int h, std::uint8_t c);
    void Line(int x0, int y0, int x1, int y1, std::uint8_t c);
    void Ellipse(double cx, double cy, double rx, double ry, std::uint8_t c);
    // A convex polygon, filled row by row at the pixel centres.
    void Polygon(const std::vector<Pt>& p, std::uint8_t c);
    // A number in 3 x 5 pixel digits, 4 pixels a digit.
    void Number(int x, int y, int n, std::uint8_t c);
    // A frame's number on a dark plate in its top-left corner, leaving the first pixel
    // (the colour key) alone.
    void FrameNumber(int fx, int fy, int n);
    // UTF-8 text (Chinese or ASCII) in the game's Ming face at `size` pixels, the first
    // cell's top-left at (x, y); returns the width drawn. Bold draws each stroke twice.
    int Text(int x, int y, std::string_view utf8, int size, std::uint8_t c, bool bold = false);
    // The same, centred in the box (x, y, w, h).
    void TextCentred(int x, int y, int w, int h, std::string_view utf8, int size, std::uint8_t c,
                     bool bold = false);
    // Copies `cell` into this picture at (x, y).
    void Put(int x, int y, const Picture& cell);

    int Width() const { return w_; }
    int Height() const { return h_; }
    const std::vector<std::uint8_t>& Pixels() const { return px_; }
    std::vector<std::uint8_t>& Pixels() { return px_; }

private:
    int w_, h_;
    std::vector<std::uint8_t> px_;
};

// Width in pixels of UTF-8 text at `size` (full-width cells = size, half = (size+1)/2).
int TextWidthUtf8(std::string_view utf8, int size);

// A sheet of columns x rows frames of fw x fh, each drawn by draw(frame picture, column, row).
template <class Draw>
Picture Sheet(int columns, int rows, int fw, int fh, std::uint8_t fill, Draw draw) {
    Picture sheet(columns * fw, rows * fh, fill);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            Picture cell(fw, fh, fill);
            draw(cell, c, r);
            sheet.Put(c * fw, r * fh, cell);
        }
    return sheet;
}

// The picture as an 8-bit BMP file in the generated palette.
std::vector<std::uint8_t> PictureBmp8(const Picture& p);

// Adds (or replaces) one member of the pack at `path`, which several writers fill; the
// pack is written whole by WritePendingPacks, after every writer has run.
bool AddPackMember(const std::filesystem::path& path, const std::string& name,
                   const std::vector<std::uint8_t>& bytes, bool compress = false);
// Writes the packs AddPackMember filled (the root is unused: the paths are whole).
bool WritePendingPacks(const std::filesystem::path& root);

}  // namespace mkgamedata
