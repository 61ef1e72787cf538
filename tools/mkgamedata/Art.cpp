#include "tools/mkgamedata/Art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "media/Qvpack.h"
#include "platform/Big5.h"
#include "platform/Font.h"
#include "tools/mkgamedata/PackWriter.h"
#include "tools/mkgamedata/PictureWriter.h"

namespace mkgamedata {

namespace {

// Digits 0..9, 3 x 5 pixels, one row per byte (bit 2 = left column).
constexpr std::uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

ui::Font LabelFont(int size) {
    ui::Font f;
    f.Height = -size;
    return f;
}

}  // namespace

void Picture::Rect(int x, int y, int w, int h, std::uint8_t c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Picture::Frame(int x, int y, int w, int h, std::uint8_t c) {
    for (int i = x; i < x + w; ++i) Set(i, y, c), Set(i, y + h - 1, c);
    for (int j = y; j < y + h; ++j) Set(x, j, c), Set(x + w - 1, j, c);
}

void Picture::Line(int x0, int y0, int x1, int y1, std::uint8_t c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

void Picture::Ellipse(double cx, double cy, double rx, double ry, std::uint8_t c) {
    for (int j = int(cy - ry) - 1; j <= int(cy + ry) + 1; ++j)
        for (int i = int(cx - rx) - 1; i <= int(cx + rx) + 1; ++i) {
            const double dx = (i + 0.5 - cx) / rx, dy = (j + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) Set(i, j, c);
        }
}

void Picture::Polygon(const std::vector<Pt>& p, std::uint8_t c) {
    double top = p[0].y, bottom = p[0].y;
    for (const Pt& q : p) top = std::min(top, q.y), bottom = std::max(bottom, q.y);
    for (int j = int(std::floor(top)); j <= int(std::ceil(bottom)); ++j) {
        const double y = j + 0.5;
        double lo = 1e9, hi = -1e9;
        for (std::size_t k = 0; k < p.size(); ++k) {
            const Pt a = p[k], b = p[(k + 1) % p.size()];
            if ((a.y <= y && b.y > y) || (b.y <= y && a.y > y)) {
                const double x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
                lo = std::min(lo, x), hi = std::max(hi, x);
            }
        }
        for (int i = int(std::ceil(lo - 0.5)); i <= int(std::floor(hi - 0.5)); ++i) Set(i, j, c);
    }
}

void Picture::Number(int x, int y, int n, std::uint8_t c) {
    const std::string s = std::to_string(n);
    for (std::size_t k = 0; k < s.size(); ++k) {
        if (s[k] < '0' || s[k] > '9') continue;  // the sign of a negative number
        for (int j = 0; j < 5; ++j)
            for (int i = 0; i < 3; ++i)
                if (kDigits[s[k] - '0'][j] & (4 >> i)) Set(x + int(k) * 4 + i, y + j, c);
    }
}

void Picture::FrameNumber(int fx, int fy, int n) {
    const int digits = int(std::to_string(n).size());
    Rect(fx + 1, fy + 1, digits * 4 + 1, 7, kInk);
    Number(fx + 2, fy + 2, n, kWhite);
}

int Picture::Text(int x, int y, std::string_view utf8, int size, std::uint8_t c, bool bold) {
    const ui::Font font = LabelFont(size);
    const std::string big5 = ui::Utf8ToBig5(utf8);
    const ui::Rect clip{0, 0, w_, h_};
    ui::RenderText(font, big5, x, y, clip, [&](int px, int py) {
        Set(px, py, c);
        if (bold) Set(px + 1, py, c);
    });
    return ui::TextWidth(font, big5) + (bold ? 1 : 0);
}

void Picture::TextCentred(int x, int y, int w, int h, std::string_view utf8, int size,
                          std::uint8_t c, bool bold) {
    const int tw = TextWidthUtf8(utf8, size);
    Text(x + (w - tw) / 2, y + (h - size) / 2, utf8, size, c, bold);
}

void Picture::Put(int x, int y, const Picture& cell) {
    for (int j = 0; j < cell.h_; ++j)
        for (int i = 0; i < cell.w_; ++i) Set(x + i, y + j, cell.px_[std::size_t(j) * cell.w_ + i]);
}

int TextWidthUtf8(std::string_view utf8, int size) {
    return ui::TextWidth(LabelFont(size), ui::Utf8ToBig5(utf8));
}

std::vector<std::uint8_t> PictureBmp8(const Picture& p) {
    const std::vector<RGBQUAD> palette = GeneratedPalette();
    return MakeBmp8(p.Width(), p.Height(), p.Pixels().data(), palette.data());
}

namespace {

// The packs that several writers fill, by path, with their members in the order added.
std::vector<std::pair<std::filesystem::path, std::vector<PackMember>>>& PendingPacks() {
    static std::vector<std::pair<std::filesystem::path, std::vector<PackMember>>> packs;
    return packs;
}

}  // namespace

bool AddPackMember(const std::filesystem::path& path, const std::string& name,
                   const std::vector<std::uint8_t>& bytes, bool compress) {
    auto& packs = PendingPacks();
    auto pack =
        std::find_if(packs.begin(), packs.end(), [&](const auto& p) { return p.first == path; });
    if (pack == packs.end()) pack = packs.insert(packs.end(), {path, {}});
    auto member = std::find_if(pack->second.begin(), pack->second.end(),
                               [&](const PackMember& m) { return m.name == name; });
    if (member != pack->second.end())
        *member = {name, bytes, compress};
    else
        pack->second.push_back({name, bytes, compress});
    return true;
}

bool WritePendingPacks(const std::filesystem::path&) {
    bool ok = true;
    for (const auto& [path, members] : PendingPacks()) ok = WritePack(path, members) && ok;
    PendingPacks().clear();
    return ok;
}

}  // namespace mkgamedata
