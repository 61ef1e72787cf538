// The sprite pack "Data\SPMan.Pak" (the sheet list "SPMan.cfg", the sheets the shop
// scene draws, the palette "SPMan.act") and the shop's click regions "Shoppoly.plf"
// in the shop pack "Data\WpData0.Pak".
//
// Every person's sheet has its own shape and colours; the furniture says what it is
// where a player needs to know. Transparent sheets are keyed on colour 0,
// which is what every frame's first pixel holds.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Files.h"
#include "shop/Figure.h"
#include "shop/Goods.h"
#include "tools/mkgamedata/Art.h"
#include "tools/mkgamedata/PackWriter.h"
#include "tools/mkgamedata/PictureWriter.h"

namespace mkgamedata {

namespace {

constexpr std::uint8_t kKey = 0;  // transparent

// A sheet file: "!WBM", the picture's and a frame's sizes, then the pixels.
std::vector<std::uint8_t> SheetBytes(const Picture& p, int fw, int fh) {
    std::vector<std::uint8_t> out = {'!', 'W', 'B', 'M'};
    ui::ByteWriter w(out);
    for (int v : {p.Width(), p.Height(), fw, fh}) w.U16(static_cast<std::uint16_t>(v));
    out.insert(out.end(), p.Pixels().begin(), p.Pixels().end());
    return out;
}

// ---- the sheets

constexpr int kPersonW = 32;
constexpr int kPersonH = 72;

// How a person on the shop floor looks: the clothes' colours, the hair, and the kind
// of person (a girl or woman in a dress, a man or boy in trousers, a child shorter,
// the old grey-haired, the heroine in her witch's hat).
struct Walker {
    std::uint8_t top, bottom, hair;
    bool dress, child, hat;
};

Walker WalkerOf(int sheet) {
    constexpr std::uint8_t kHairs[6] = {Cube(2, 1, 0), Cube(4, 3, 1), Cube(1, 1, 1),
                                        Cube(4, 2, 1), Cube(4, 4, 4), Cube(3, 1, 0)};
    if (sheet == 1) return {Cube(1, 0, 2), Cube(1, 0, 2), Cube(4, 2, 1), true, false, true};
    if (sheet == 2) return {Cube(5, 4, 4), Cube(5, 3, 4), Cube(2, 4, 1), true, false, false};
    const int k = sheet * 7 % 11;
    const std::uint8_t top = Cube(1 + k % 5, (k * 3) % 5, 1 + (k * 2) % 5);
    const bool dress = sheet % 2 == 0;
    const bool child = sheet % 5 == 3;
    return {top, dress ? top : Cube(1, 1, 2 + k % 3), kHairs[sheet % 6], dress, child, false};
}

// A person: 4 walking frames per row; row 0 seen from behind (directions 0 and 1),
// row 1 from the front (2 and 3).
Picture PersonSheet(int sheet) {
    const Walker w = WalkerOf(sheet);
    return Sheet(4, 2, kPersonW, kPersonH, kKey, [&](Picture& f, int c, int r) {
        const double cx = kPersonW / 2.0;
        const int stride = (c == 1) ? 3 : (c == 3) ? -3 : 0;  // legs apart on frames 1 and 3
        const int top = w.child ? 22 : 8;                     // a child stands shorter
        const double s = w.child ? 0.75 : 1.0;
        f.Rect(int(cx) - 6 + stride, 58, 4, 13, kInk);
        f.Rect(int(cx) + 2 - stride, 58, 4, 13, kInk);
        const int waist = top + int(34 * s);
        if (w.dress) {
            f.Polygon({{cx - 6, top + 18.0}, {cx + 6, top + 18.0}, {cx + 12, 61}, {cx - 12, 61}},
                      w.top);
        } else {
            f.Rect(int(cx) - 8, top + 18, 16, waist - top - 16, w.top);
            f.Rect(int(cx) - 7 + stride, waist, 6, 60 - waist, w.bottom);
            f.Rect(int(cx) + 1 - stride, waist, 6, 60 - waist, w.bottom);
        }
        f.Rect(int(cx) - 11, top + 20, 3, int(18 * s), r == 1 ? kSkin : w.top);  // arms
        f.Rect(int(cx) + 8, top + 20, 3, int(18 * s), r == 1 ? kSkin : w.top);
        // The head: hair behind from the back, the face in front.
        f.Ellipse(cx, top + 9, 8, 9, w.hair);
        if (r == 1) {
            f.Ellipse(cx, top + 11, 6, 6, kSkin);
            f.Set(int(cx) - 3, top + 11, kInk);
            f.Set(int(cx) + 2, top + 11, kInk);
        }
        if (w.hat) {
            f.Polygon({{cx, 0}, {cx + 8, top + 2.0}, {cx - 8, top + 2.0}}, Cube(1, 0, 2));
            f.Rect(int(cx) - 12, top + 1, 24, 3, Cube(1, 0, 2));
        }
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
            const std::uint8_t c = row < 6 ? (odd ? Cube(4, 3, 2) : Cube(5, 4, 3))
                                           : (odd ? Cube(2, 3, 3) : Cube(3, 4, 4));
            // Lines between cells: the cell to the left or above differs.
            const bool edge = grid.CellAt(x - 1, y) != cell || grid.CellAt(x, y - 1) != cell;
            p.Set(x, y, edge ? kInk : c);
        }
    // The places the heroine walks to that have no furniture of their own.
    auto label = [&](int gx, int gy, const char* text) {
        p.TextCentred(FloorSpriteX(gx, gy, 68), FloorSpriteY(gx, gy, 0) - 23, 68, 14, text, 12,
                      kInk, true);
    };
    label(0, 7, "出口");
    // Each exhibition slot's name on the floor in front of its shelf.
    const char* const slotNames[kShelfSlots] = {"優惠", "推薦", "1號", "2號", "3號",
                                                "4號",  "5號",  "6號", "7號", "8號"};
    for (int k = 0; k < kShelfSlots; ++k) {
        const FloorStep c = kShelfCells[k];
        p.TextCentred(FloorSpriteX(c.dx, c.dy, 40), FloorSpriteY(c.dx, c.dy, 0) + 1, 40, 12,
                      slotNames[k], 12, kInk);
    }
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
    });
}

// The gate in the counter: a bar swinging up.
Picture GateSheet() {
    return Sheet(4, 1, 48, 64, kKey, [](Picture& f, int c, int) {
        f.Rect(2, 20, 6, 44, Cube(2, 1, 0));
        const double a = c * 3.14159 / 6;
        const double ex = 5 + 40 * std::cos(a), ey = 30 - 40 * std::sin(a);
        const double nx = 3 * std::sin(a), ny = 3 * std::cos(a);
        f.Polygon({{5 - nx, 30 - ny}, {ex - nx, ey - ny}, {ex + nx, ey + ny}, {5 + nx, 30 + ny}},
                  Cube(4, 2, 0));
    });
}

// A box standing on one floor cell: the cell's diamond raised by `height`.
void FloorBox(Picture& f, double height, std::uint8_t side, std::uint8_t top) {
    const double w = f.Width(), h = f.Height();
    const Pt bottom{w / 2, h}, left{0, h - 17}, right{w, h - 17};
    f.Polygon({{0, h - 17 - height}, left, bottom, {w / 2, h - height}}, side);
    f.Polygon({{w / 2, h - height}, bottom, right, {w, h - 17 - height}},
              static_cast<std::uint8_t>(side + 36));
    f.Polygon(
        {{w / 2, h - 34 - height}, {0, h - 17 - height}, {w / 2, h - height}, {w, h - 17 - height}},
        top);
}

// Height of furniture piece k above its cell.
// Piece 4 is the spot at the work table where the heroine stands: a low step, so that
// she shows above it.
constexpr int FurnitureHeight(int k) { return k == 4 ? 4 : 20 + 3 * k; }

// What the counter, the bookcase and the notebook are, written on their fronts so a
// player can tell the boxes apart; the counter's two pieces carry one name, and the
// spot at the work table none. The mixing desk, the item cupboard and the stairs are
// drawn as what they are.
constexpr const char* kFurnitureNames[kFurnitureCount] = {"櫃台", "", "圖鑑", "記事本",
                                                          "",     "", "",     ""};

// A point of a floor cell's diamond raised by `lift`: u runs from the near corner to
// the right one, v from the near corner to the left one (both 0..1).
Pt CellPoint(const Picture& f, double u, double v, double lift = 0) {
    const double w = f.Width(), h = f.Height();
    return {w / 2 + (u - v) * w / 2, h - 17 * (u + v) - lift};
}

// A block on the part v0..v1 of the cell (u0..u1 across), `height` high, its two near
// faces and its top.
void CellBlock(Picture& f, double u0, double u1, double v0, double v1, double height,
               std::uint8_t left, std::uint8_t right, std::uint8_t top) {
    f.Polygon({CellPoint(f, u0, v0), CellPoint(f, u0, v1), CellPoint(f, u0, v1, height),
               CellPoint(f, u0, v0, height)},
              left);
    f.Polygon({CellPoint(f, u0, v0), CellPoint(f, u1, v0), CellPoint(f, u1, v0, height),
               CellPoint(f, u0, v0, height)},
              right);
    f.Polygon({CellPoint(f, u0, v0, height), CellPoint(f, u1, v0, height),
               CellPoint(f, u1, v1, height), CellPoint(f, u0, v1, height)},
              top);
}

// The stairs up to the room: four wooden steps climbing to the back, with a rail.
void Stairs(Picture& f) {
    for (int i = 3; i >= 0; --i)
        CellBlock(f, 0.05, 0.95, i / 4.0, (i + 1) / 4.0, 7.0 * (i + 1), Cube(2, 1, 0),
                  Cube(3, 1, 0), Cube(4, 3, 1));
    for (int i = 0; i < 4; ++i) {  // the step edges
        const Pt a = CellPoint(f, 0.05, i / 4.0, 7.0 * (i + 1)),
                 b = CellPoint(f, 0.95, i / 4.0, 7.0 * (i + 1));
        f.Line(int(a.x), int(a.y), int(b.x), int(b.y), Cube(5, 4, 2));
    }
    const Pt r0 = CellPoint(f, 0.95, 0.0, 22), r1 = CellPoint(f, 0.95, 1.0, 46);
    f.Line(int(r0.x), int(r0.y), int(r1.x), int(r1.y), Cube(1, 0, 0));
    f.Line(int(r0.x), int(r0.y) + 1, int(r1.x), int(r1.y) + 1, Cube(1, 0, 0));
    for (double v : {0.0, 0.5, 1.0}) {
        const Pt top = CellPoint(f, 0.95, v, 22 + 24 * v),
                 foot = CellPoint(f, 0.95, v, 7.0 * (1 + std::min(3, int(v * 4))));
        f.Line(int(top.x), int(top.y), int(foot.x), int(foot.y), Cube(1, 0, 0));
    }
}

// The mixing desk: a work table with the cauldron on it, bubbling, and a flask.
void MixingDesk(Picture& f) {
    CellBlock(f, 0.1, 0.9, 0.1, 0.9, 18, Cube(2, 1, 0), Cube(3, 1, 0), Cube(4, 2, 1));
    const Pt c = CellPoint(f, 0.5, 0.5, 18);
    f.Ellipse(c.x, c.y - 6, 14, 11, Cube(1, 1, 1));
    f.Ellipse(c.x, c.y - 12, 13, 5, Cube(1, 4, 1));
    f.Ellipse(c.x - 4, c.y - 19, 2, 2, Cube(2, 5, 2));
    f.Ellipse(c.x + 3, c.y - 24, 2, 2, Cube(2, 5, 2));
    const Pt k = CellPoint(f, 0.75, 0.2, 18);
    f.Ellipse(k.x, k.y - 5, 4, 5, Cube(5, 1, 3));
    f.Rect(int(k.x) - 1, int(k.y) - 13, 3, 5, Cube(4, 4, 5));
}

// The item cupboard: a tall cabinet whose open fronts show shelves of bottles.
void ItemCupboard(Picture& f) {
    const double h = 38;
    CellBlock(f, 0.2, 0.8, 0.2, 0.8, h, Cube(2, 1, 0), Cube(3, 1, 0), Cube(4, 2, 1));
    for (int shelf = 1; shelf <= 3; ++shelf) {
        const double lift = h * shelf / 4;
        for (int side = 0; side < 2; ++side) {
            const Pt a = side ? CellPoint(f, 0.2, 0.2, lift) : CellPoint(f, 0.2, 0.2, lift);
            const Pt b = side ? CellPoint(f, 0.8, 0.2, lift) : CellPoint(f, 0.2, 0.8, lift);
            f.Line(int(a.x), int(a.y), int(b.x), int(b.y), Cube(1, 0, 0));
            for (int k = 0; k < 4; ++k) {  // bottles standing on the board
                const double t = 0.15 + k * 0.22;
                const Pt p = {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
                const std::uint8_t glass =
                    Cube((k + shelf + side) % 3 == 0 ? 5 : 1, (k + shelf) % 3 == 1 ? 4 : 2,
                         (k + side) % 2 ? 5 : 1);
                f.Rect(int(p.x) - 1, int(p.y) - 6, 3, 6, glass);
            }
        }
    }
}

Picture FurnitureSheet() {
    return Sheet(8, 1, 68, 64, kKey, [](Picture& f, int c, int) {
        switch (c) {
            case 5:
                MixingDesk(f);
                break;
            case 6:
                ItemCupboard(f);
                break;
            case 7:
                Stairs(f);
                break;
            default: {
                FloorBox(f, FurnitureHeight(c), Cube(1, 1, 0), Cube(4, 3, 1));
                // On the front faces, which always lie inside the frame.
                const int front = f.Height() - 17 - FurnitureHeight(c) / 2;
                f.TextCentred(0, c == 4 ? f.Height() - 24 : front - 7, 68, 14, kFurnitureNames[c],
                              12, c == 4 ? kInk : kWhite, true);
                break;
            }
        }
        f.Set(0, 0, kKey);
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
        f.Rect(4, 26, 32, 4, Cube(3, 2, 1));       // the board
        f.Rect(6, 30, 4, 18, Cube(2, 1, 0));
        f.Rect(30, 30, 4, 18, Cube(2, 1, 0));
        if (r == kShelfRows - 1) {
            f.Frame(8, 12, 24, 14, Cube(3, 3, 3));  // nothing on show
        } else {
            const std::uint8_t colour = Cube(r % 3 * 2 + 1, (r / 3) % 3 * 2, 5 - r % 5);
            for (int k = 0; k < c; ++k) {
                const int x = 7 + k * 7;
                switch (r % 3) {
                    case 0:
                        f.Rect(x, 14, 5, 12, colour);
                        f.Rect(x + 1, 11, 3, 3, colour);
                        break;
                    case 1:
                        f.Ellipse(x + 2.5, 21, 3, 5, colour);
                        break;
                    default:
                        f.Rect(x, 18, 6, 8, colour);
                        break;
                }
            }
        }
    });
}

// The speech balloon: frame 0 the goods was gone (a cross), 1 not on display (a ring).
Picture BalloonSheet() {
    return Sheet(2, 1, 64, 40, kKey, [](Picture& f, int c, int) {
        f.Ellipse(32, 17, 30, 16, kWhite);
        f.Polygon({{24, 28}, {34, 28}, {22, 39}}, kWhite);
        if (c == 0) {
            for (int k = -7; k <= 7; ++k)
                f.Rect(32 + k - 1, 17 + k - 1, 3, 3, Cube(5, 0, 0)),
                    f.Rect(32 + k - 1, 17 - k - 1, 3, 3, Cube(5, 0, 0));
        } else {
            f.Ellipse(32, 17, 9, 9, Cube(0, 0, 5));
            f.Ellipse(32, 17, 6, 6, kWhite);
        }
    });
}

// The mixing animation: the heroine at the cauldron, bubbles rising.
Picture MixingSheet() {
    return Sheet(4, 1, 64, 72, kKey, [](Picture& f, int c, int) {
        f.Polygon({{16, 20}, {28, 60}, {4, 60}}, Cube(1, 0, 2));
        f.Ellipse(16, 14, 7, 7, kSkin);
        f.Polygon({{16, 0}, {26, 9}, {6, 9}}, Cube(2, 0, 3));
        f.Ellipse(44, 56, 18, 12, kInk);
        f.Ellipse(44, 48, 15, 4, Cube(0, 4, 1));
        for (int k = 0; k < 3; ++k)
            f.Ellipse(38 + 6 * k, 40 - ((c + k) % 4) * 8, 3, 3, Cube(1, 5, 2));
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
            case 0:
                out.push_back({"Back.wbm", BackgroundSheet(), 648, 484});
                break;
            case 17:
                out.push_back({"Cat.wbm", CatSheet(), 40, 48});
                break;
            case 18:
                out.push_back({"Door.wbm", DoorSheet(), 60, 110});
                break;
            case 19:
                out.push_back({"Gate.wbm", GateSheet(), 48, 64});
                break;
            case kFurnitureSheet:
                out.push_back({"Furnit.wbm", FurnitureSheet(), 68, 64});
                break;
            case kShelfSheet:
                out.push_back({"Shelf.wbm", ShelfSheet(), kShelfW, kShelfH});
                break;
            case 22:
                out.push_back({"Balloon.wbm", BalloonSheet(), 64, 40});
                break;
            case 23:
                out.push_back({"Mixing.wbm", MixingSheet(), 64, 72});
                break;
            default:
                out.push_back({name, PersonSheet(s), kPersonW, kPersonH});
                break;
        }
    }
    return out;
}

// ---- the shop's click regions

// The region over a floor cell raised by `height`: the cell's diamond with its top
// lifted, wound anticlockwise on the screen.
std::vector<FieldPoint> CellRegion(FloorStep cell, int height) {
    const int x0 = -18 + 34 * cell.dy + 34 * cell.dx,
              y0 = 226 + 17 * cell.dy - 17 * cell.dx;  // O + gy U + gx W
    const FieldPoint left{x0, y0}, bottom{x0 + 34, y0 + 17}, right{x0 + 68, y0},
        top{x0 + 34, y0 - 17};
    return {{left.x, left.y - height}, left, bottom, right, {right.x, right.y - height},
            {top.x, top.y - height}};
}

// The box of a shelf sprite standing on the cell, a little narrower than the sprite so
// that neighbouring shelves do not share points.
std::vector<FieldPoint> ShelfRegion(FloorStep cell) {
    const int x = FloorSpriteX(cell.dx, cell.dy, 0),
              y = FloorSpriteY(cell.dx, cell.dy, 0);  // the feet
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
    for (int k : kRegionFurniture)
        regions.push_back(CellRegion(kFurnitureCells[k], FurnitureHeight(k)));
    return BuildClickRegionFile(regions);
}

// Adds (or replaces) one member of a pack, making the pack when it is not there, so
// that the writers sharing the shop pack each put in their own members.

}  // namespace

bool WriteSprites(const std::filesystem::path& root) {
    std::vector<PackMember> members;
    std::string list;
    for (const SheetOut& s : Sheets()) {
        list += s.name + "\r\n";
        members.push_back({s.name, SheetBytes(s.picture, s.fw, s.fh), false});
    }
    members.insert(members.begin(),
                   {kSpriteSheetList, std::vector<std::uint8_t>(list.begin(), list.end()), false});
    const std::vector<RGBQUAD> palette = GeneratedPalette();
    members.push_back({kSpritePalette, MakeAct(palette.data()), false});
    if (!WritePack(root / "Data" / "SPMan.Pak", members)) return false;
    return AddPackMember(root / "Data" / "WpData0.Pak", "Shoppoly.plf", ShopRegions());
}

}  // namespace mkgamedata
