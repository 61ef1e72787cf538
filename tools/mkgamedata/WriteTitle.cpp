// The title screen's picture in the shop pack "Data\WpData0.Pak": the game's name large
// over a night sky, with a plain shop front and a plate where the six labels sit.
#include <filesystem>

#include "tools/mkgamedata/Art.h"

namespace mkgamedata {

namespace {

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
    // The hint under the house, inside the 640 x 480 that a full screen shows.
    p.TextCentred(0, 444, 262, 16, "點一下畫面顯示選單", 12, kWhite);
    return p;
}

}  // namespace

bool WriteTitle(const std::filesystem::path& root) {
    return AddPackMember(root / "Data" / "WpData0.Pak", "Title.bmp", PictureBmp8(TitlePicture()));
}

}  // namespace mkgamedata
