#include "platform/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

#include "platform/Big5.h"

namespace ui {
namespace {

// The face inside each collection: the Taiwan cut.
constexpr int kFaceIndex = 2;

enum class Face { Ming, Kai };

// One glyph as a cell-relative 1-byte-per-pixel mask.
struct Glyph {
    bool box = false;  // draw the placeholder box instead
    int left = 0;      // from the cell's left edge
    int top = 0;       // from the cell's top edge
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;
};

bool IEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]),
                            y = static_cast<unsigned char>(b[i]);
        if (std::tolower(x) != std::tolower(y)) return false;
    }
    return true;
}

// Which of our faces stands for a name; nothing for an unknown name.
bool FaceForName(std::string_view name, Face* face) {
    static constexpr std::string_view kKai[] = {kFaceKai, "\xE6\xA8\x99\xE6\xA5\xB7\xE9\xAB\x94",
                                                "DFKai-SB", "AR PL UKai TW", "AR PL UKai"};
    static constexpr std::string_view kMing[] = {kFaceMing,
                                                 "\xB2\xD3\xA9\xFA\xC5\xE9",
                                                 "\xE6\x96\xB0\xE7\xB4\xB0\xE6\x98\x8E\xE9\xAB\x94",
                                                 "\xE7\xB4\xB0\xE6\x98\x8E\xE9\xAB\x94",
                                                 "PMingLiU",
                                                 "MingLiU",
                                                 "AR PL UMing TW",
                                                 "AR PL UMing"};
    for (std::string_view n : kKai)
        if (IEquals(name, n)) {
            *face = Face::Kai;
            return true;
        }
    for (std::string_view n : kMing)
        if (IEquals(name, n)) {
            *face = Face::Ming;
            return true;
        }
    return false;
}

class GlyphSource {
public:
    static GlyphSource& Get() {
        static GlyphSource source;
        return source;
    }

    const Glyph& Find(Face face, int size, char32_t code) {
        std::lock_guard lock(mutex_);
        const auto key = std::make_tuple(int(face), size, code);
        auto it = cache_.find(key);
        if (it != cache_.end()) return it->second;
        return cache_.emplace(key, Render(face, size, code)).first->second;
    }

private:
    GlyphSource() {
        if (FT_Init_FreeType(&lib_) != 0) {
            lib_ = nullptr;
            return;
        }
        const std::string dir = kFontDir;
        faces_[0] = Open(dir + "/" + kMingFile);
        faces_[1] = Open(dir + "/" + kKaiFile);
        if (!faces_[1]) faces_[1] = faces_[0];
        if (!faces_[0]) faces_[0] = faces_[1];
    }
    ~GlyphSource() {
        if (faces_[1] && faces_[1] != faces_[0]) FT_Done_Face(faces_[1]);
        if (faces_[0]) FT_Done_Face(faces_[0]);
        if (lib_) FT_Done_FreeType(lib_);
    }

    FT_Face Open(const std::string& path) {
        FT_Face face = nullptr;
        if (!lib_ || FT_New_Face(lib_, path.c_str(), kFaceIndex, &face) != 0) return nullptr;
        return face;
    }

    // The row of the baseline inside a cell of `size` pixels: the built-in bitmaps
    // fill the cell down to its last row; outlines split the cell by the face's
    // ascent and descent.
    static int Baseline(FT_Face face, int size) {
        for (int i = 0; i < face->num_fixed_sizes; ++i)
            if (face->available_sizes[i].height == size) return size - 1;
        const double asc = face->ascender, desc = -face->descender;
        if (asc + desc <= 0) return size - 1;
        return static_cast<int>(std::floor(size * asc / (asc + desc) + 0.5));
    }

    Glyph Render(Face face, int size, char32_t code) {
        Glyph g;
        const bool privateUse = (code >= 0xE000 && code <= 0xF8FF) || code >= 0xF0000;
        FT_Face ft = faces_[face == Face::Kai ? 1 : 0];
        if (code == 0 || privateUse || !ft) {
            g.box = true;
            return g;
        }
        const FT_UInt index = FT_Get_Char_Index(ft, code);
        if (index == 0) {
            g.box = true;
            return g;
        }
        if (FT_Set_Pixel_Sizes(ft, 0, size) != 0 ||
            FT_Load_Glyph(ft, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) !=
                0) {
            g.box = true;
            return g;
        }
        const FT_Bitmap& bm = ft->glyph->bitmap;
        g.left = ft->glyph->bitmap_left;
        g.top = Baseline(ft, size) - ft->glyph->bitmap_top;
        g.width = static_cast<int>(bm.width);
        g.height = static_cast<int>(bm.rows);
        g.bits.assign(static_cast<std::size_t>(g.width) * g.height, 0);
        for (int y = 0; y < g.height; ++y) {
            const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
            for (int x = 0; x < g.width; ++x) {
                const bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO
                                    ? (row[x >> 3] & (0x80 >> (x & 7))) != 0
                                    : row[x] >= 128;
                g.bits[static_cast<std::size_t>(y) * g.width + x] = on ? 1 : 0;
            }
        }
        return g;
    }

    std::mutex mutex_;
    FT_Library lib_ = nullptr;
    FT_Face faces_[2] = {nullptr, nullptr};
    std::map<std::tuple<int, int, char32_t>, Glyph> cache_;
};

Face FaceOf(const Font& font) {
    Face face = Face::Ming;
    FaceForName(font.Name, &face);
    return face;
}

// Walks a Big5 string: calls step(code, cellWidth, isTwoByte) per character.
// A single byte decodes as ASCII; 0x80, 0xFF and a lead byte at the end give code 0.
template <typename F>
void Walk(std::string_view s, F&& step) {
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (IsBig5Lead(c) && i + 1 < s.size()) {
            step(Big5CodePoint(c, static_cast<unsigned char>(s[i + 1])), true);
            i += 2;
        } else {
            step(c < 0x80 ? char32_t(c) : char32_t(0), false);
            ++i;
        }
    }
}

}  // namespace

int Font::PixelSize() const {
    const int h = Height < 0 ? -Height : Height;
    return h == 0 ? 12 : std::min(h, 512);
}

std::string CheckFonts(const std::string& dir) {
    struct Need {
        const char* file;
        const char* package;
    };
    static constexpr Need kNeeds[] = {{kMingFile, "fonts-arphic-uming"},
                                      {kKaiFile, "fonts-arphic-ukai"}};
    std::string message;
    for (const Need& n : kNeeds) {
        std::error_code ec;
        const std::filesystem::path path = std::filesystem::path(dir) / n.file;
        if (std::filesystem::is_regular_file(path, ec)) continue;
        if (!message.empty()) message += "\n";
        message += "The font file " + path.string() + " is missing: install the package " +
                   n.package + " (apt-get install " + n.package + ").";
    }
    return message;
}

bool HasFont(std::string_view name) {
    Face face;
    if (!FaceForName(name, &face)) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(
        std::filesystem::path(kFontDir) / (face == Face::Kai ? kKaiFile : kMingFile), ec);
}

int FullWidth(const Font& font) { return font.PixelSize(); }
int HalfWidth(const Font& font) { return (font.PixelSize() + 1) / 2; }

int TextWidth(const Font& font, std::string_view big5) {
    const int full = FullWidth(font), half = HalfWidth(font);
    int width = 0;
    Walk(big5, [&](char32_t, bool two) { width += two ? full : half; });
    return width;
}

int TextHeight(const Font& font) { return font.PixelSize(); }

void RenderText(const Font& font, std::string_view big5, int x, int y, const Rect& clip,
                const std::function<void(int, int)>& plot) {
    if (clip.IsEmpty()) return;
    const int size = font.PixelSize();
    const int full = FullWidth(font), half = HalfWidth(font);
    const bool bold = font.Bold();
    const Face face = FaceOf(font);
    GlyphSource& source = GlyphSource::Get();
    auto put = [&](int px, int py) {
        if (clip.Contains(px, py)) plot(px, py);
    };
    int penX = x;
    Walk(big5, [&](char32_t code, bool two) {
        const int advance = two ? full : half;
        if (penX >= clip.Right || penX + advance + 1 <= clip.Left || y >= clip.Bottom ||
            y + size <= clip.Top) {
            penX += advance;
            return;
        }
        // Control codes draw nothing.
        if (!two && code != 0 && code < 0x20) {
            penX += advance;
            return;
        }
        const Glyph& g = source.Find(face, size, code);
        if (g.box) {
            // A hollow box one pixel inside the cell.
            const int l = penX + 1, t = y + 1, r = penX + advance - 2, b = y + size - 2;
            if (r > l && b > t) {
                for (int px = l; px <= r; ++px) {
                    put(px, t);
                    put(px, b);
                }
                for (int py = t + 1; py < b; ++py) {
                    put(l, py);
                    put(r, py);
                }
            }
        } else {
            for (int gy = 0; gy < g.height; ++gy) {
                const int py = y + g.top + gy;
                if (py < clip.Top || py >= clip.Bottom) continue;
                for (int gx = 0; gx < g.width; ++gx) {
                    if (!g.bits[static_cast<std::size_t>(gy) * g.width + gx]) continue;
                    const int px = penX + g.left + gx;
                    put(px, py);
                    // Bold strikes each letter twice, one pixel apart.
                    if (bold) put(px + 1, py);
                }
            }
        }
        penX += advance;
    });
}

}  // namespace ui
