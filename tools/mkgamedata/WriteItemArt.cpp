// The item pictures of the shop pack "Data\WpData0.Pak": the small icon sheet
// "IconS.bmp" (16 x 16 per item; the first row as the items are, the second drawn as
// missing), the big icons "IconB%03d.Bmp" (64 x 64) and the name pictures
// "IName%03d.Bmp" that carry each item's catalogue name (drawn for the dialogs' caption
// strips).
//
// An icon's colour tells the item's attribute (光 yellow, 火 red, 水 blue, 風 green,
// 土 brown, 闇 violet), its shape what it is (a flask for the shop goods, a diamond
// for a material, a star for the other items) and it carries the item's number.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "shop/Catalog.h"
#include "tools/mkgamedata/Art.h"

namespace mkgamedata {

namespace {

constexpr std::uint8_t kAttributeColour[6] = {Cube(5, 5, 1), Cube(5, 1, 0), Cube(1, 2, 5),
                                              Cube(1, 4, 1), Cube(3, 2, 0), Cube(2, 0, 3)};
constexpr std::uint8_t kAttributeDark[6] = {Cube(3, 3, 0), Cube(3, 0, 0), Cube(0, 0, 3),
                                            Cube(0, 2, 0), Cube(2, 1, 0), Cube(1, 0, 2)};
constexpr std::uint8_t kGrey = 246;
constexpr std::uint8_t kDarkGrey = 240;
constexpr std::uint8_t kParchment = Cube(5, 5, 4);

std::string NameUtf8(int item) { return ui::Big5ToUtf8(ItemName(item)); }

// The item's shape, filled with `fill` and outlined with `edge`, in the box (x, y, s, s).
void Shape(Picture& p, int item, int x, int y, int s, std::uint8_t fill, std::uint8_t edge) {
    const double cx = x + s / 2.0, cy = y + s / 2.0, r = s / 2.0 - 0.5;
    if (IsShopGoods(item)) {
        // A round flask with a neck.
        p.Ellipse(cx, cy + r * 0.2, r, r * 0.8, edge);
        p.Ellipse(cx, cy + r * 0.2, r - 1.2, r * 0.8 - 1.2, fill);
        p.Rect(int(cx - r * 0.25), y, std::max(2, int(r * 0.5)), int(r * 0.5) + 1, edge);
    } else if (IsMaterial(item)) {
        p.Polygon({{cx, cy - r}, {cx + r, cy}, {cx, cy + r}, {cx - r, cy}}, edge);
        p.Polygon({{cx, cy - r + 1.5}, {cx + r - 1.5, cy}, {cx, cy + r - 1.5}, {cx - r + 1.5, cy}},
                  fill);
    } else {
        // A five-pointed star from two triangles and a pentagon's middle.
        p.Polygon({{cx, cy - r}, {cx + r * 0.95, cy + r * 0.3}, {cx - r * 0.95, cy + r * 0.3}},
                  edge);
        p.Polygon({{cx - r * 0.6, cy + r}, {cx, cy - r * 0.2}, {cx + r * 0.6, cy + r}}, edge);
        p.Polygon({{cx, cy - r * 0.7}, {cx + r * 0.7, cy + r * 0.2}, {cx - r * 0.7, cy + r * 0.2}},
                  fill);
    }
}

Picture SmallIcon(int item, bool missing) {
    Picture p(16, 16, kWhite);
    const int a = ItemAttribute(item) % 6;
    const std::uint8_t fill = missing ? kGrey : kAttributeColour[a];
    const std::uint8_t edge = missing ? kDarkGrey : kAttributeDark[a];
    p.Rect(0, 0, 16, 16, missing ? kWhite : Cube(5, 5, 5));
    Shape(p, item, 0, 0, 16, fill, edge);
    p.Frame(0, 0, 16, 16, missing ? kGrey : edge);
    return p;
}

Picture BigIcon(int item) {
    Picture p(64, 64, Cube(5, 5, 5));
    const int a = ItemAttribute(item) % 6;
    p.Frame(0, 0, 64, 64, kAttributeDark[a]);
    p.Frame(1, 1, 62, 62, kAttributeColour[a]);
    Shape(p, item, 10, 6, 44, kAttributeColour[a], kAttributeDark[a]);
    // The first character of the name in the middle.
    const std::string name = NameUtf8(item);
    std::size_t len = 1;
    while (len < name.size() && (static_cast<unsigned char>(name[len]) & 0xC0) == 0x80) ++len;
    p.TextCentred(10, 20, 44, 30, name.substr(0, len), 16, kInk, true);
    return p;
}

// The name sits on a dialog's caption strip: white on the strip's violet.
Picture NamePicture(int item) {
    Picture p(240, 22, Cube(2, 1, 3));
    p.Text(4, 3, NameUtf8(item), 16, kWhite, true);
    p.Line(4, 20, 235, 20, kAttributeColour[ItemAttribute(item) % 6]);
    return p;
}

}  // namespace

bool WriteItemArt(const std::filesystem::path& root) {
    const std::filesystem::path pack = root / "Data" / "WpData0.Pak";
    Picture sheet(16 * kItemCount, 32, kWhite);
    for (int i = 0; i < kItemCount; ++i) {
        sheet.Put(16 * i, 0, SmallIcon(i, false));
        sheet.Put(16 * i, 16, SmallIcon(i, true));
    }
    if (!AddPackMember(pack, "IconS.bmp", PictureBmp8(sheet))) return false;
    for (int i = 0; i < kItemCount; ++i) {
        char big[32], name[32];
        std::snprintf(big, sizeof big, "IconB%03d.Bmp", i);
        std::snprintf(name, sizeof name, "IName%03d.Bmp", i);
        if (!AddPackMember(pack, big, PictureBmp8(BigIcon(i)))) return false;
        if (!AddPackMember(pack, name, PictureBmp8(NamePicture(i)))) return false;
    }
    return true;
}

}  // namespace mkgamedata
