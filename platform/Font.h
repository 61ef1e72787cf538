#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Bitmap.h"

// Fonts and glyphs. Text stays Big5 bytes; it becomes Unicode only here, to be
// drawn. "新細明體" is drawn with AR PL UMing TW (face 2 of uming.ttc, whose built-in
// bitmaps give the classic cells at 11 to 16 pixels) and "標楷體" with AR PL UKai TW
// (face 2 of ukai.ttc). No anti-aliasing. Every cell is fixed: a two-byte character
// advances by the pixel size, a single byte by half of it (rounded up).
namespace ui {

// Big5 face names as the forms give them.
inline constexpr char kFaceMing[] = "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9";  // 新細明體
inline constexpr char kFaceKai[] = "\xBC\xD0\xB7\xA2\xC5\xE9";           // 標楷體

// Where the fonts live and the packages that bring them.
inline constexpr char kFontDir[] = "/usr/share/fonts/truetype/arphic";
inline constexpr char kMingFile[] = "uming.ttc";
inline constexpr char kKaiFile[] = "ukai.ttc";

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A font as the class library describes one. Height < 0 is the character height in
// pixels (the usual form), Height > 0 the cell height; both give a cell of |Height|
// pixels here. 0 means the default 12.
class Font {
public:
    std::string Name = kFaceMing;  // Big5 (or ASCII) face name
    int Height = -12;
    TColor Color = clBlack;
    unsigned Style = 0;  // FontStyle bits; fsBold is drawn, the others are kept only

    int PixelSize() const;
    bool Bold() const { return (Style & fsBold) != 0; }
    void SetBold(bool on) { Style = on ? (Style | fsBold) : (Style & ~unsigned(fsBold)); }
    bool operator==(const Font&) const = default;
};

// Empty when both fonts are there; otherwise the message that stops start-up, naming
// the missing file and the package that brings it.
std::string CheckFonts(const std::string& dir = kFontDir);

// True when the system has a font of that name (Big5 or ASCII): the ming and kai
// faces above under their Chinese, English and AR PL names, when their files exist.
bool HasFont(std::string_view name);

// Cell advance of one character code: 2-byte Big5 = size, 1 byte = (size + 1) / 2.
int FullWidth(const Font& font);
int HalfWidth(const Font& font);

// Width of a Big5 string in pixels (a lead byte at the end counts as one byte).
int TextWidth(const Font& font, std::string_view big5);
// Height of a line: the pixel size.
int TextHeight(const Font& font);

// Calls plot(x, y) for every pixel of the text's letters, the first cell's top-left
// at (x, y). Only pixels inside `clip` are reported. A code that does not decode, or
// decodes to the private-use area, or that the face has no glyph for, draws a box.
void RenderText(const Font& font, std::string_view big5, int x, int y, const Rect& clip,
                const std::function<void(int, int)>& plot);

}  // namespace ui
