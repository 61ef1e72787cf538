// The shop window's own pictures in the shop pack "Data\WpData0.Pak": the top bar, the
// upstairs room with its bed and meal frames.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mkgamedata/Art.h"

namespace mkgamedata {

namespace {

constexpr std::uint8_t kBar = Cube(1, 0, 1);
constexpr std::uint8_t kLight = Cube(5, 5, 4);

// The top bar: the shop's name on the left, the fast-mode mark on the right.
Picture TitleBar() {
    Picture p(648, 36, kBar);
    p.Rect(0, 35, 648, 1, kInk);
    p.Text(10, 3, "露米亞藥坊", 12, kLight, true);
    p.Text(590, 21, "快速", 12, kLight);
    return p;
}

// The upstairs room: bed on the left, table on the right, a window between.
Picture Room() {
    Picture p(648, 484, Cube(3, 2, 1));
    p.Rect(0, 330, 648, 154, Cube(2, 1, 0));  // floor
    p.Rect(230, 60, 120, 90, Cube(1, 2, 4));  // window
    p.Frame(230, 60, 120, 90, kInk);
    p.Rect(289, 60, 2, 90, kInk);
    p.Rect(12, 110, 100, 120, Cube(4, 4, 5));  // bed
    p.Frame(12, 110, 100, 120, kInk);
    p.Rect(308, 182, 112, 142, Cube(3, 1, 0));  // table
    p.Frame(308, 182, 112, 142, kInk);
    return p;
}

// Bed frames: 0..4 getting into bed, 5 asleep (the night), 6..11 getting up.
Picture BedFrame(int n) {
    Picture p(90, 108, Cube(4, 4, 5));
    p.Frame(0, 0, 90, 108, kInk);
    p.Rect(8, 8, 74, 22, kWhite);  // pillow
    const int cover = n <= 5 ? 30 + n * 10 : 80 - (n - 6) * 10;
    p.Rect(6, 108 - cover, 78, cover, Cube(1, 2, 4));  // blanket
    p.Ellipse(45, 24, 10, 10, kSkin);
    return p;
}

// Meal frames 0..5 (supper and breakfast alike): the spoon goes up and down.
Picture EatFrame(int n) {
    Picture p(100, 130, Cube(3, 1, 0));
    p.Frame(0, 0, 100, 130, kInk);
    p.Ellipse(50, 30, 14, 14, kSkin);
    p.Polygon({{50, 44}, {72, 100}, {28, 100}}, Cube(3, 0, 4));
    p.Ellipse(50, 110, 26, 8, kWhite);  // plate
    const int lift = (n % 3) * 10;
    p.Rect(66, 96 - lift, 3, 14, Cube(4, 4, 4));
    return p;
}

}  // namespace

bool WriteShopScreen(const std::filesystem::path& root) {
    const std::filesystem::path pack = root / "Data" / "WpData0.Pak";
    std::vector<std::pair<std::string, Picture>> pictures;
    pictures.emplace_back("TitleBar.bmp", TitleBar());
    pictures.emplace_back("Shop_2F.bmp", Room());
    for (int n = 0; n < 12; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "Bed%02d.bmp", n);
        pictures.emplace_back(name, BedFrame(n));
    }
    for (int n = 0; n < 6; ++n)
        pictures.emplace_back("Eat" + std::to_string(n) + ".bmp", EatFrame(n));
    for (const auto& [name, picture] : pictures)
        if (!AddPackMember(pack, name, PictureBmp8(picture))) return false;
    return true;
}

}  // namespace mkgamedata
