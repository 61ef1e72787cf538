// The shop window's own pictures in the shop pack "Data\WpData0.Pak": the top bar and
// its button sheets, the upstairs room with its bed and meal frames, the small item
// icons and the mixing result dialog's background. Every button carries its caption,
// every frame the step it shows.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mkgamedata/Art.h"

namespace mkgamedata {

namespace {

constexpr std::uint8_t kBar = Cube(1, 0, 1);
constexpr std::uint8_t kButton = Cube(4, 3, 5);
constexpr std::uint8_t kButtonDark = Cube(2, 1, 3);
constexpr std::uint8_t kGrey = Cube(3, 3, 3);
constexpr std::uint8_t kLight = Cube(5, 5, 4);

// One button cell: raised (state 0), greyed (1) or pressed in (2), with its caption.
void ButtonCell(Picture& p, int x, int y, int w, int h, const char* caption, int state, int size) {
    const std::uint8_t face = state == 2 ? kButtonDark : state == 1 ? Cube(2, 2, 2) : kButton;
    p.Rect(x, y, w, h, face);
    p.Rect(x, y, w, 1, state == 2 ? kInk : kWhite);
    p.Rect(x, y, 1, h, state == 2 ? kInk : kWhite);
    p.Rect(x, y + h - 1, w, 1, state == 2 ? kWhite : kInk);
    p.Rect(x + w - 1, y, 1, h, state == 2 ? kWhite : kInk);
    const std::uint8_t ink = state == 1 ? kGrey : state == 2 ? kLight : kInk;
    p.TextCentred(x + (state == 2 ? 1 : 0), y + (state == 2 ? 1 : 0), w, h, caption, size, ink);
}

struct BarButton {
    const char* caption;
    int width;
};
// The six menu buttons of the top bar, in strip order (17 px each).
constexpr BarButton kBarButtons[6] = {{"系統", 50},     {"狀態", 61},       {"記事本", 66},
                                      {"下一小時", 66}, {"跳過一小時", 83}, {"選項", 65}};

Picture MainMenuSheet() {
    Picture p(3 * 83, 6 * 17, kBar);
    for (int k = 0; k < 6; ++k)
        for (int s = 0; s < 3; ++s)
            ButtonCell(p, s * kBarButtons[k].width, k * 17, kBarButtons[k].width, 17,
                       kBarButtons[k].caption, s, 12);
    return p;
}

// Minimise (strip 0) and close (strip 10), three 12 x 10 cells each.
Picture MinCloseSheet() {
    Picture p(36, 20, kBar);
    for (int s = 0; s < 3; ++s) {
        ButtonCell(p, s * 12, 0, 12, 10, "", s, 8);
        ButtonCell(p, s * 12, 10, 12, 10, "", s, 8);
        const std::uint8_t ink = s == 1 ? kGrey : kInk;
        p.Rect(s * 12 + 3, 6, 6, 2, ink);  // _
        for (int k = 0; k < 5; ++k) {      // x
            p.Set(s * 12 + 3 + k, 12 + k, ink);
            p.Set(s * 12 + 4 + k, 12 + k, ink);
            p.Set(s * 12 + 7 - k, 12 + k, ink);
            p.Set(s * 12 + 8 - k, 12 + k, ink);
        }
    }
    return p;
}

// The fast-mode switch: three 22 x 13 cells (up, greyed, held down in yellow).
Picture SpeedSheet() {
    Picture p(66, 13, kBar);
    for (int s = 0; s < 3; ++s) {
        ButtonCell(p, s * 22, 0, 22, 13, "", s, 8);
        const std::uint8_t ink = s == 1 ? kGrey : s == 2 ? Cube(5, 5, 0) : kInk;
        for (int a = 0; a < 2; ++a)
            p.Polygon({{5.0 + a * 6, 3}, {11.0 + a * 6, 6.5}, {5.0 + a * 6, 10}}, ink);
    }
    return p;
}

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
    p.TextCentred(0, 14, 648, 24, "二樓・臥室", 16, kWhite, true);
    p.Text(20, 240, "床", 12, kWhite);
    p.Text(340, 330, "餐桌", 12, kWhite);
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
    const char* step = n < 5 ? "就寢" : n == 5 ? "夜晚" : "起床";
    p.TextCentred(0, 40, 90, 16, step, 12, kInk, true);
    p.Number(70, 96, n, kInk);
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
    p.TextCentred(0, 2, 100, 14, "用餐", 12, kWhite, true);
    p.Number(86, 118, n, kWhite);
    return p;
}

// 107 small item icons of 16 x 32, each with its item number.
Picture SmallIcons() {
    Picture p(1712, 32, kWhite);
    for (int i = 0; i < 107; ++i) {
        const std::uint8_t c = Cube(i % 6, (i / 6) % 6, 5 - i % 5);
        p.Rect(i * 16 + 2, 2, 12, 16, c);
        p.Frame(i * 16 + 2, 2, 12, 16, kInk);
        p.Number(i * 16 + (i >= 100 ? 2 : i >= 10 ? 4 : 6), 22, i, kInk);
    }
    return p;
}

// The mixing result dialog: caption strip and labels of the two counts.
Picture MixResultBack() {
    Picture p(310, 200, Cube(5, 5, 4));
    p.Frame(0, 0, 310, 200, kInk);
    p.Rect(8, 8, 294, 26, Cube(2, 1, 3));
    p.TextCentred(8, 8, 294, 26, "調配結果", 16, kWhite, true);
    p.Text(20, 110, "預定數量", 12, kInk);
    p.Text(20, 134, "完成數量", 12, kInk);
    return p;
}

}  // namespace

bool WriteShopScreen(const std::filesystem::path& root) {
    const std::filesystem::path pack = root / "Data" / "WpData0.Pak";
    std::vector<std::pair<std::string, Picture>> pictures;
    pictures.emplace_back("TitleBar.bmp", TitleBar());
    pictures.emplace_back("MainMenu.bmp", MainMenuSheet());
    pictures.emplace_back("MinClose.bmp", MinCloseSheet());
    pictures.emplace_back("SpeedChg.bmp", SpeedSheet());
    pictures.emplace_back("Shop_2F.bmp", Room());
    for (int n = 0; n < 12; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "Bed%02d.bmp", n);
        pictures.emplace_back(name, BedFrame(n));
    }
    for (int n = 0; n < 6; ++n)
        pictures.emplace_back("Eat" + std::to_string(n) + ".bmp", EatFrame(n));
    pictures.emplace_back("IconS.bmp", SmallIcons());
    pictures.emplace_back("MixConf.bmp", MixResultBack());
    for (const auto& [name, picture] : pictures)
        if (!AddPackMember(pack, name, PictureBmp8(picture))) return false;
    return true;
}

}  // namespace mkgamedata
