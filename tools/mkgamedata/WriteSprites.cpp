// The sprite pack "Data\SPMan.Pak" (the sheet list "SPMan.cfg", the sheets the shop
// scene draws, the palette "SPMan.act") and the shop's click regions "Shoppoly.plf"
// in the shop pack "Data\WpData0.Pak".
//
// The sheets are placeholders that read well on screen: every sheet has its own
// shape and colour, every frame carries its number in the top-left corner (and each
// person its sheet number on the body). Transparent sheets are keyed on colour 0,
// which is what every frame's first pixel holds.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "shop/Figure.h"
#include "shop/Goods.h"
#include "tools/mkgamedata/PackWriter.h"
#include "tools/mkgamedata/PictureWriter.h"

namespace mkgamedata {

namespace {

constexpr std::uint8_t kKey = 0;       // transparent
constexpr std::uint8_t kInk = 233;     // near black
constexpr std::uint8_t kWhite = 255;
constexpr std::uint8_t kSkin = 16 + 36 * 5 + 6 * 4 + 3;

// A colour of the generated palette's 6 x 6 x 6 cube.
constexpr std::uint8_t Cube(int r, int g, int b) { return static_cast<std::uint8_t>(16 + 36 * r + 6 * g + b); }

// Digits 0..9, 3 x 5 pixels, one row per byte (bit 2 = left column).
constexpr std::uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

struct Pt {
    double x;
    double y;
};

// A picture of palette indices, drawn on with plain shapes.
class Picture {
public:
    Picture(int w, int h, std::uint8_t fill) : w_(w), h_(h), px_(std::size_t(w) * h, fill) {}

    void Set(int x, int y, std::uint8_t c) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[std::size_t(y) * w_ + x] = c;
    }
    void Rect(int x, int y, int w, int h, std::uint8_t c) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) Set(i, j, c);
    }
    void Frame(int x, int y, int w, int h, std::uint8_t c) {
        for (int i = x; i < x + w; ++i) Set(i, y, c), Set(i, y + h - 1, c);
        for (int j = y; j < y + h; ++j) Set(x, j, c), Set(x + w - 1, j, c);
    }
    void Ellipse(double cx, double cy, double rx, double ry, std::uint8_t c) {
        for (int j = int(cy - ry) - 1; j <= int(cy + ry) + 1; ++j)
            for (int i = int(cx - rx) - 1; i <= int(cx + rx) + 1; ++i) {
                const double dx = (i + 0.5 - cx) / rx, dy = (j + 0.5 - cy) / ry;
                if (dx * dx + dy * dy <= 1.0) Set(i, j, c);
            }
    }
    // A convex polygon, filled row by row at the pixel centres.
    void Polygon(const std::vector<Pt>& p, std::uint8_t c) {
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
    void Number(int x, int y, int n, std::uint8_t c) {
        const std::string s = std::to_string(n);
        for (std::size_t k = 0; k < s.size(); ++k)
            for (int j = 0; j < 5; ++j)
                for (int i = 0; i < 3; ++i)
                    if (kDigits[s[k] - '0'][j] & (4 >> i)) Set(x + int(k) * 4 + i, y + j, c);
    }
    // A frame's number on a dark plate in its top-left corner, leaving the first pixel
    // (the colour key) alone.
    void FrameNumber(int fx, int fy, int n) {
        const int digits = int(std::to_string(n).size());
        Rect(fx + 1, fy + 1, digits * 4 + 1, 7, kInk);
        Number(fx + 2, fy + 2, n, kWhite);
    }
    // Copies `cell` into this picture at (x, y).
    void Put(int x, int y, const Picture& cell) {
        for (int j = 0; j < cell.h_; ++j)
            for (int i = 0; i < cell.w_; ++i) Set(x + i, y + j, cell.px_[std::size_t(j) * cell.w_ + i]);
    }

    int Width() const { return w_; }
    int Height() const { return h_; }
    const std::vector<std::uint8_t>& Pixels() const { return px_; }

private:
    int w_, h_;
    std::vector<std::uint8_t> px_;
};

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

std::vector<std::uint8_t> SheetBytes(const Picture& p, int fw, int fh) {
    std::vector<std::uint8_t> out = {'!', 'W', 'B', 'M'};
    for (int v : {p.Width(), p.Height(), fw, fh}) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    out.insert(out.end(), p.Pixels().begin(), p.Pixels().end());
    return out;
}

// ---- the sheets

// Body colours of the people, by sheet number.
constexpr std::uint8_t kPersonColours[32] = {
    0,            Cube(3, 0, 4), Cube(0, 3, 1), Cube(4, 2, 0), Cube(0, 2, 4), Cube(4, 0, 1), Cube(1, 4, 4),
    Cube(5, 4, 0), Cube(2, 1, 5), Cube(0, 4, 0), Cube(5, 1, 3), Cube(1, 2, 2), Cube(5, 3, 1), Cube(3, 3, 0),
    Cube(0, 1, 3), Cube(4, 4, 4), Cube(2, 5, 2), 0,             0,             0,             0,
    0,            0,             0,             Cube(5, 0, 0), Cube(0, 5, 5), Cube(3, 1, 1), Cube(1, 3, 5),
    Cube(5, 5, 2), Cube(2, 0, 2), Cube(4, 5, 0), Cube(1, 1, 1)};

constexpr int kPersonW = 32;
constexpr int kPersonH = 72;

// A person: 4 walking frames per row; row 0 seen from behind (directions 0 and 1),
// row 1 from the front (2 and 3). The heroine (sheet 1) wears a pointed hat.
Picture PersonSheet(int sheet) {
    const std::uint8_t body = kPersonColours[sheet];
    return Sheet(4, 2, kPersonW, kPersonH, kKey, [&](Picture& f, int c, int r) {
        const double cx = kPersonW / 2.0;
        const int stride = (c == 1) ? 3 : (c == 3) ? -3 : 0;  // legs apart on frames 1 and 3
        f.Rect(int(cx) - 6 + stride, 58, 4, 13, kInk);
        f.Rect(int(cx) + 2 - stride, 58, 4, 13, kInk);
        switch (sheet % 4) {  // a shape of its own per sheet
            case 0: f.Rect(5, 26, 22, 34, body); break;
            case 1: f.Polygon({{cx, 24}, {29, 60}, {3, 60}}, body); break;
            case 2: f.Ellipse(cx, 43, 12, 18, body); break;
            default: f.Polygon({{cx, 24}, {29, 42}, {cx, 61}, {3, 42}}, body); break;
        }
        f.Ellipse(cx, 17, 8, 8, r == 0 ? Cube(2, 1, 0) : kSkin);  // hair behind, face in front
        if (r == 1) {
            f.Set(int(cx) - 3, 16, kInk);
            f.Set(int(cx) + 2, 16, kInk);
        }
        if (sheet == 1) f.Polygon({{cx, 0}, {cx + 11, 11}, {cx - 11, 11}}, Cube(2, 0, 3));
        f.Number(int(cx) - (sheet >= 10 ? 4 : 1), 38, sheet, kWhite);
        f.FrameNumber(0, 0, r * 4 + c);
    });
}

// The floor and walls: the grid's cells in two tones per side of the counter.
Picture BackgroundSheet() {
    DiamondF0 grid;
    grid.Init({-18, 226}, {34, 17}, {68, 0}, {34, -17});
    Picture p(648, 484, Cube(1, 1, 2));
    p.Rect(0, 0, 648, 150, Cube(3, 2, 1));  // back wall
    for (int y = 0; y < 484; ++y)
        for (int x = 0; x < 648; ++x) {
            const int cell = grid.CellAt(x, y);
            if (cell < 0) continue;
            const int row = cell / 8, column = cell % 8;
            const bool odd = (row + column) & 1;
            const std::uint8_t c = row < 6 ? (odd ? Cube(4, 3, 2) : Cube(5, 4, 3)) : (odd ? Cube(2, 3, 3) : Cube(3, 4, 4));
            // Lines between cells: the cell to the left or above differs.
            const bool edge = grid.CellAt(x - 1, y) != cell || grid.CellAt(x, y - 1) != cell;
            p.Set(x, y, edge ? kInk : c);
        }
    p.FrameNumber(0, 0, 0);
    return p;
}

// Background actor 4 (a cat by the counter), blinking.
Picture CatSheet() {
    return Sheet(2, 1, 40, 48, kKey, [](Picture& f, int c, int) {
        f.Ellipse(20, 34, 14, 12, kInk);
        f.Ellipse(20, 18, 10, 9, kInk);
        f.Polygon({{11, 14}, {13, 3}, {18, 11}}, kInk);
        f.Polygon({{22, 11}, {27, 3}, {29, 14}}, kInk);
        const std::uint8_t eye = c == 0 ? Cube(5, 5, 0) : kInk;
        f.Rect(15, 17, 3, 2, eye);
        f.Rect(23, 17, 3, 2, eye);
        f.FrameNumber(0, 0, c);
    });
}

// The door: four frames from shut to open.
Picture DoorSheet() {
    return Sheet(4, 1, 60, 110, kKey, [](Picture& f, int c, int) {
        f.Rect(0, 0, 60, 110, Cube(1, 0, 0));
        f.Rect(4, 4, 52, 106, Cube(5, 5, 4));  // light outside
        const int w = 52 - c * 16;
        f.Rect(4, 4, w, 106, Cube(3, 1, 0));
        f.Rect(4 + w - 8, 55, 4, 4, Cube(5, 4, 0));
        f.FrameNumber(0, 0, c);
    });
}

// The gate in the counter: a bar swinging up.
Picture GateSheet() {
    return Sheet(4, 1, 48, 64, kKey, [](Picture& f, int c, int) {
        f.Rect(2, 20, 6, 44, Cube(2, 1, 0));
        const double a = c * 3.14159 / 6;
        const double ex = 5 + 40 * std::cos(a), ey = 30 - 40 * std::sin(a);
        const double nx = 3 * std::sin(a), ny = 3 * std::cos(a);
        f.Polygon({{5 - nx, 30 - ny}, {ex - nx, ey - ny}, {ex + nx, ey + ny}, {5 + nx, 30 + ny}}, Cube(4, 2, 0));
        f.FrameNumber(0, 0, c);
    });
}

// A box standing on one floor cell: the cell's diamond raised by `height`.
void FloorBox(Picture& f, double height, std::uint8_t side, std::uint8_t top) {
    const double w = f.Width(), h = f.Height();
    const Pt bottom{w / 2, h}, left{0, h - 17}, right{w, h - 17};
    f.Polygon({{0, h - 17 - height}, left, bottom, {w / 2, h - height}}, side);
    f.Polygon({{w / 2, h - height}, bottom, right, {w, h - 17 - height}}, static_cast<std::uint8_t>(side + 36));
    f.Polygon({{w / 2, h - 34 - height}, {0, h - 17 - height}, {w / 2, h - height}, {w, h - 17 - height}}, top);
}

// Height of furniture piece k above its cell.
constexpr int FurnitureHeight(int k) { return 20 + 3 * k; }

Picture FurnitureSheet() {
    return Sheet(8, 1, 68, 64, kKey, [](Picture& f, int c, int) {
        FloorBox(f, FurnitureHeight(c), Cube(1, 1, 0), Cube(4, 3, 1));
        f.FrameNumber(0, 0, c);
    });
}

// Shelves: one row per shelf picture (the item's shelf row), one column per stock
// tier with that many pieces on the board; row 19, column 0 (frame 95) is the
// empty slot.
constexpr int kShelfRows = 20;
constexpr int kShelfW = 40;
constexpr int kShelfH = 48;

Picture ShelfSheet() {
    return Sheet(5, kShelfRows, kShelfW, kShelfH, kKey, [](Picture& f, int c, int r) {
        if (r == kShelfRows - 1 && c > 0) return;  // unused
        f.Rect(4, 26, 32, 4, Cube(3, 2, 1));     // the board
        f.Rect(6, 30, 4, 18, Cube(2, 1, 0));
        f.Rect(30, 30, 4, 18, Cube(2, 1, 0));
        if (r == kShelfRows - 1) {
            f.Frame(8, 12, 24, 14, Cube(3, 3, 3));  // nothing on show
        } else {
            const std::uint8_t colour = Cube(r % 3 * 2 + 1, (r / 3) % 3 * 2, 5 - r % 5);
            for (int k = 0; k < c; ++k) {
                const int x = 7 + k * 7;
                switch (r % 3) {
                    case 0: f.Rect(x, 14, 5, 12, colour); f.Rect(x + 1, 11, 3, 3, colour); break;
                    case 1: f.Ellipse(x + 2.5, 21, 3, 5, colour); break;
                    default: f.Rect(x, 18, 6, 8, colour); break;
                }
            }
            f.Number(26, 2, r, kInk);
        }
        f.FrameNumber(0, 0, r * 5 + c);
    });
}

// The speech balloon: frame 0 the goods was gone (a cross), 1 not on display (a ring).
Picture BalloonSheet() {
    return Sheet(2, 1, 64, 40, kKey, [](Picture& f, int c, int) {
        f.Ellipse(32, 17, 30, 16, kWhite);
        f.Polygon({{24, 28}, {34, 28}, {22, 39}}, kWhite);
        if (c == 0) {
            for (int k = -7; k <= 7; ++k) f.Rect(32 + k - 1, 17 + k - 1, 3, 3, Cube(5, 0, 0)), f.Rect(32 + k - 1, 17 - k - 1, 3, 3, Cube(5, 0, 0));
        } else {
            f.Ellipse(32, 17, 9, 9, Cube(0, 0, 5));
            f.Ellipse(32, 17, 6, 6, kWhite);
        }
        f.FrameNumber(0, 0, c);
    });
}

// The mixing animation: the heroine at the cauldron, bubbles rising.
Picture MixingSheet() {
    return Sheet(4, 1, 64, 72, kKey, [](Picture& f, int c, int) {
        f.Polygon({{16, 20}, {28, 60}, {4, 60}}, kPersonColours[1]);
        f.Ellipse(16, 14, 7, 7, kSkin);
        f.Polygon({{16, 0}, {26, 9}, {6, 9}}, Cube(2, 0, 3));
        f.Ellipse(44, 56, 18, 12, kInk);
        f.Ellipse(44, 48, 15, 4, Cube(0, 4, 1));
        for (int k = 0; k < 3; ++k) f.Ellipse(38 + 6 * k, 40 - ((c + k) % 4) * 8, 3, 3, Cube(1, 5, 2));
        f.FrameNumber(0, 0, c);
    });
}

constexpr int kSheetCount = 32;

struct SheetOut {
    std::string name;
    Picture picture;
    int fw;
    int fh;
};

std::vector<SheetOut> Sheets() {
    std::vector<SheetOut> out;
    for (int s = 0; s < kSheetCount; ++s) {
        char name[16];
        std::snprintf(name, sizeof name, "Man%02d.wbm", s);
        switch (s) {
            case 0: out.push_back({"Back.wbm", BackgroundSheet(), 648, 484}); break;
            case 17: out.push_back({"Cat.wbm", CatSheet(), 40, 48}); break;
            case 18: out.push_back({"Door.wbm", DoorSheet(), 60, 110}); break;
            case 19: out.push_back({"Gate.wbm", GateSheet(), 48, 64}); break;
            case kFurnitureSheet: out.push_back({"Furnit.wbm", FurnitureSheet(), 68, 64}); break;
            case kShelfSheet: out.push_back({"Shelf.wbm", ShelfSheet(), kShelfW, kShelfH}); break;
            case 22: out.push_back({"Balloon.wbm", BalloonSheet(), 64, 40}); break;
            case 23: out.push_back({"Mixing.wbm", MixingSheet(), 64, 72}); break;
            default: out.push_back({name, PersonSheet(s), kPersonW, kPersonH}); break;
        }
    }
    return out;
}

// ---- the shop's click regions

// The region over a floor cell raised by `height`: the cell's diamond with its top
// lifted, wound anticlockwise on the screen.
std::vector<FieldPoint> CellRegion(FloorStep cell, int height) {
    const int x0 = -18 + 34 * cell.dy + 34 * cell.dx, y0 = 226 + 17 * cell.dy - 17 * cell.dx;  // O + gy U + gx W
    const FieldPoint left{x0, y0}, bottom{x0 + 34, y0 + 17}, right{x0 + 68, y0}, top{x0 + 34, y0 - 17};
    return {{left.x, left.y - height}, left, bottom, right, {right.x, right.y - height}, {top.x, top.y - height}};
}

// The box of a shelf sprite standing on the cell, a little narrower than the sprite so
// that neighbouring shelves do not share points.
std::vector<FieldPoint> ShelfRegion(FloorStep cell) {
    const int x = FloorSpriteX(cell.dx, cell.dy, 0), y = FloorSpriteY(cell.dx, cell.dy, 0);  // the feet
    const int l = x - kShelfW / 2 + 4, r = x + kShelfW / 2 - 5, t = y - kShelfH + 2, b = y - 2;
    return {{l, t}, {l, b}, {r, b}, {r, t}};
}

// Regions 0..9 are the shelves of the exhibition slots; 10..14 the furniture pieces
// that stand for the mixing desk, the item cupboard, the bookcase, the notebook and
// the stairs up to bed.
constexpr int kRegionFurniture[5] = {5, 6, 2, 3, 7};

std::vector<std::uint8_t> ShopRegions() {
    std::vector<std::vector<FieldPoint>> regions;
    for (const FloorStep& cell : kShelfCells) regions.push_back(ShelfRegion(cell));
    for (int k : kRegionFurniture) regions.push_back(CellRegion(kFurnitureCells[k], FurnitureHeight(k)));
    return BuildClickRegionFile(regions);
}

// Adds (or replaces) one member of a pack, making the pack when it is not there, so
// that the writers sharing the shop pack each put in their own members.
bool PutMember(const std::filesystem::path& path, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    if (!std::filesystem::exists(path)) return WritePack(path, {{name, bytes, false}});
    TQvPack pack;
    pack.SetReadOnly(false);
    bool ok = pack.OpenPack(path.string());
    if (ok && pack.CheckFileName(name.c_str()) >= 0) ok = pack.DelFile(name.c_str());
    std::FILE* f = ok ? std::tmpfile() : nullptr;
    ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0 &&
         pack.AddFileFrom(name.c_str(), f, false);
    if (f) std::fclose(f);
    ok = pack.ClosePack() && ok;
    if (!ok) std::fprintf(stderr, "mkgamedata: cannot add %s to %s\n", name.c_str(), path.c_str());
    return ok;
}

}  // namespace

bool WriteSprites(const std::filesystem::path& root) {
    std::vector<PackMember> members;
    std::string list;
    for (const SheetOut& s : Sheets()) {
        list += s.name + "\r\n";
        members.push_back({s.name, SheetBytes(s.picture, s.fw, s.fh), false});
    }
    members.insert(members.begin(), {kSpriteSheetList, std::vector<std::uint8_t>(list.begin(), list.end()), false});
    const std::vector<RGBQUAD> palette = GeneratedPalette();
    members.push_back({kSpritePalette, MakeAct(palette.data()), false});
    if (!WritePack(root / "Data" / "SPMan.Pak", members)) return false;
    return PutMember(root / "Data" / "WpData0.Pak", "Shoppoly.plf", ShopRegions());
}

}  // namespace mkgamedata
