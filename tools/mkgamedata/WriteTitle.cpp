// The title screen's picture in the shop pack "Data\WpData0.Pak": the game's name large
// over a night sky, with a plain shop front and a plate where the six labels sit. Until
// the first click shows the labels, the plate carries the game's crest: the cat on a
// crescent moon with a flask and the witch's hat, drawn pale so that the labels, laid
// over it later, read clearly.
#include <cmath>
#include <filesystem>

#include "tools/mkgamedata/Art.h"

namespace mkgamedata {

namespace {

// The crest on the label plate, centred at (cx, cy), in pale tints of the plate's cream.
void Crest(Picture& p, double cx, double cy) {
    const std::uint8_t ring = Cube(5, 4, 3), line = Cube(4, 4, 5), moon = Cube(5, 5, 3),
                       cat = Cube(5, 4, 5), glass = Cube(4, 5, 5), hat = Cube(4, 4, 5);
    // A round medallion with a dotted border.
    p.Ellipse(cx, cy, 54, 54, ring);
    p.Ellipse(cx, cy, 50, 50, Cube(5, 5, 4));
    for (int k = 0; k < 24; ++k) {
        const double a = k * 3.14159265 / 12;
        p.Ellipse(cx + 46 * std::cos(a), cy + 46 * std::sin(a), 1.6, 1.6, ring);
    }
    // The crescent moon behind the cat.
    p.Ellipse(cx - 8, cy - 8, 34, 34, moon);
    p.Ellipse(cx + 6, cy - 16, 30, 30, Cube(5, 5, 4));
    // The cat sitting, its tail curled round.
    p.Ellipse(cx - 6, cy + 22, 16, 18, cat);
    p.Ellipse(cx - 6, cy - 2, 11, 10, cat);
    p.Polygon({{cx - 16, cy - 6}, {cx - 14, cy - 18}, {cx - 8, cy - 10}}, cat);
    p.Polygon({{cx - 4, cy - 10}, {cx + 2, cy - 18}, {cx + 4, cy - 6}}, cat);
    p.Polygon({{cx + 8, cy + 36}, {cx + 24, cy + 26}, {cx + 26, cy + 30}, {cx + 10, cy + 40}}, cat);
    // Its eyes and whiskers; the witch's hat hangs on the moon's tip.
    p.Rect(int(cx) - 11, int(cy) - 4, 2, 3, line);
    p.Rect(int(cx) - 3, int(cy) - 4, 2, 3, line);
    for (int side : {-1, 1})
        p.Line(int(cx) - 6 + side * 6, int(cy) + 2, int(cx) - 6 + side * 18, int(cy) + side % 2,
               line);
    p.Polygon({{cx + 14, cy - 30}, {cx + 30, cy - 52}, {cx + 38, cy - 28}}, hat);
    p.Rect(int(cx) + 10, int(cy) - 30, 32, 3, hat);
    // A flask beside it.
    p.Ellipse(cx + 26, cy + 24, 10, 12, glass);
    p.Rect(int(cx) + 23, int(cy) + 4, 6, 10, glass);
    p.Line(int(cx) + 16, int(cy) + 24, int(cx) + 36, int(cy) + 24, line);
    // The name under it, small.
    p.TextCentred(int(cx) - 56, int(cy) + 58, 112, 16, "露米亞藥坊", 14, ring, true);
}

Picture TitlePicture() {
    Picture p(648, 484, Cube(0, 0, 2));
    for (int y = 0; y < 300; y += 4) p.Rect(0, y, 648, 2, Cube(0, 0, y < 150 ? 1 : 2));
    for (int k = 0; k < 40; ++k) p.Set((k * 157) % 648, (k * 71) % 260, kWhite);  // stars
    p.Ellipse(560, 70, 30, 30, Cube(5, 5, 3));                                    // moon
    // The shop front on the hill.
    p.Rect(0, 300, 648, 184, Cube(1, 2, 0));
    p.Polygon({{40, 300}, {150, 230}, {260, 300}}, Cube(3, 1, 0));
    p.Rect(60, 300, 180, 90, Cube(4, 3, 2));
    p.Frame(60, 300, 180, 90, kInk);
    p.Rect(130, 340, 40, 50, Cube(2, 1, 0));
    // The game's name.
    p.TextCentred(0, 96, 648, 80, "露米亞藥坊", 72, Cube(5, 4, 1), true);
    p.TextCentred(0, 190, 648, 24, "魔女緹菈的魔法商店", 20, kWhite, true);
    // The plate behind the labels (x 275, y 322..463).
    p.Rect(262, 314, 120, 152, Cube(5, 5, 4));
    p.Frame(262, 314, 120, 152, kInk);
    Crest(p, 322, 380);
    // The hint under the house is the title's own label, which goes once the menu shows.
    return p;
}

}  // namespace

bool WriteTitle(const std::filesystem::path& root) {
    return AddPackMember(root / "Data" / "WpData0.Pak", "Title.bmp", PictureBmp8(TitlePicture()));
}

}  // namespace mkgamedata
