// The shop window's own pictures in the shop pack "Data\WpData0.Pak": the top bar, the
// upstairs room with its bed and meal frames.
#include <cmath>
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

// The upstairs room, 648 x 484 as the 2F panel shows it. The clock's window sits over
// its top-left corner (0..116 x 0..140) and the calendar's over its top-right, and the
// message window rests along the bottom (from y 280), so the bed and the table stand
// between them: the bed's frames are copied onto (17,116)-(107,224) and the meal's onto
// (314,188)-(414,318), and each frame is cut from the room drawn with the heroine in it,
// so that a frame matches the room around it.
constexpr int kBedX = 17, kBedY = 116, kBedW = 90, kBedH = 108;
constexpr int kEatX = 314, kEatY = 188, kEatW = 100, kEatH = 130;
constexpr int kFloorY = 236;

constexpr std::uint8_t kHair = Cube(4, 2, 1);
constexpr std::uint8_t kNightgown = Cube(4, 4, 5);
constexpr std::uint8_t kDress = Cube(1, 1, 3);
constexpr std::uint8_t kBlanket = Cube(1, 2, 4);
constexpr std::uint8_t kBlanketLight = Cube(2, 3, 5);
constexpr std::uint8_t kWood = Cube(3, 1, 0);
constexpr std::uint8_t kWoodDark = Cube(2, 1, 0);

void Room(Picture& p) {
    // Plaster wall with a beam, a board floor.
    p.Rect(0, 0, 648, kFloorY, Cube(5, 4, 3));
    p.Rect(0, 0, 648, 10, kWoodDark);
    for (int x = 150; x < 648; x += 170) p.Rect(x, 10, 8, kFloorY - 10, Cube(4, 3, 2));
    p.Rect(0, kFloorY - 8, 648, 8, kWoodDark);  // skirting
    p.Rect(0, kFloorY, 648, 484 - kFloorY, Cube(3, 2, 1));
    for (int y = kFloorY + 18; y < 484; y += 22) p.Rect(0, y, 648, 2, Cube(2, 1, 0));
    for (int y = kFloorY, k = 0; y < 484; y += 22, ++k)
        for (int x = (k % 3) * 70; x < 648; x += 210) p.Rect(x, y, 2, 20, Cube(2, 1, 0));
    // The window between the clock and the calendar, curtains drawn back.
    p.Rect(236, 34, 136, 118, kWoodDark);
    p.Rect(242, 40, 124, 106, Cube(3, 4, 5));
    p.Ellipse(290, 70, 26, 9, kWhite);
    p.Ellipse(332, 96, 20, 7, kWhite);
    p.Rect(302, 40, 4, 106, kWoodDark);
    p.Rect(242, 91, 124, 4, kWoodDark);
    p.Rect(228, 28, 152, 6, kWoodDark);  // the curtain rail
    p.Polygon({{230, 34}, {256, 34}, {248, 150}, {224, 156}}, Cube(4, 1, 1));
    p.Polygon({{352, 34}, {378, 34}, {384, 156}, {360, 150}}, Cube(4, 1, 1));
    p.Rect(222, 150, 164, 8, Cube(4, 3, 2));  // the sill, a pot of flowers on it
    p.Polygon({{296, 136}, {314, 136}, {311, 150}, {299, 150}}, Cube(4, 2, 1));
    for (int k = 0; k < 3; ++k) p.Ellipse(298 + k * 7, 128 - (k % 2) * 4, 4, 4, Cube(5, 2, 3));
    // A shelf of jars over the table, and a broom and hat on a peg by the bed.
    p.Rect(420, 126, 110, 6, kWoodDark);
    for (int k = 0; k < 5; ++k) {
        p.Rect(428 + k * 20, 108, 12, 18, k % 2 ? Cube(2, 4, 3) : Cube(4, 3, 4));
        p.Rect(430 + k * 20, 104, 8, 4, kWoodDark);
    }
    p.Rect(168, 96, 6, 6, kWoodDark);
    p.Polygon({{150, 100}, {171, 56}, {192, 100}}, kDress);  // the witch's hat
    p.Rect(144, 98, 54, 6, kDress);
    for (int d = 0; d < 3; ++d) p.Line(262 + d, 120, 250 + d, kFloorY - 30, kWood);  // the broom
    p.Polygon({{244, kFloorY - 34}, {256, kFloorY - 34}, {262, kFloorY}, {236, kFloorY}},
              Cube(4, 4, 1));
    // The bed: headboard at the left, the blanket to the foot; the legs on the floor.
    p.Rect(12, 150, 12, 86, kWoodDark);
    p.Ellipse(18, 150, 8, 6, kWoodDark);
    p.Rect(232, 178, 10, 58, kWoodDark);
    p.Rect(20, 204, 214, 18, kWood);  // the side board
    p.Rect(20, 204, 214, 3, Cube(4, 2, 1));
    p.Rect(24, 222, 8, 14, kWoodDark);
    p.Rect(222, 222, 8, 14, kWoodDark);
    p.Rect(22, 196, 212, 8, kWhite);    // the sheet
    p.Ellipse(40, 192, 18, 7, kWhite);  // the pillow
    p.Ellipse(40, 191, 16, 5, Cube(5, 5, 5));
    p.Rect(66, 186, 166, 18, kBlanket);  // the blanket, folded back at its top
    p.Rect(66, 186, 10, 18, kBlanketLight);
    for (int x = 96; x < 232; x += 30) p.Rect(x, 188, 2, 16, kBlanketLight);
    // 黑皮 asleep at the bed's foot, curled up.
    p.Ellipse(196, 180, 20, 9, kInk);
    p.Ellipse(212, 176, 8, 7, kInk);
    p.Polygon({{206, 172}, {208, 164}, {212, 170}}, kInk);
    p.Polygon({{213, 170}, {218, 164}, {219, 172}}, kInk);
    p.Line(206, 177, 210, 177, Cube(2, 2, 3));
    p.Line(214, 177, 218, 177, Cube(2, 2, 3));
    p.Line(176, 184, 200, 188, Cube(1, 1, 2));
    // The table with its cloth, the chair behind it, and the meal laid.
    p.Rect(334, 196, 60, 8, kWoodDark);  // the chair's back
    p.Rect(334, 196, 8, 80, kWoodDark);
    p.Rect(386, 196, 8, 80, kWoodDark);
    p.Rect(346, 210, 36, 4, kWood);
    p.Rect(280, 270, 170, 8, kWood);
    p.Rect(276, 276, 178, 26, kWhite);
    for (int x = 282; x < 452; x += 16) p.Rect(x, 296, 8, 6, Cube(5, 3, 3));
    p.Rect(290, 302, 10, 50, kWoodDark);
    p.Rect(430, 302, 10, 50, kWoodDark);
    p.Ellipse(300, 266, 16, 6, Cube(4, 2, 0));  // bread in its basket
    p.Ellipse(298, 262, 10, 5, Cube(5, 4, 2));
    p.Rect(432, 252, 12, 16, kWhite);  // a cup of milk
    p.Ellipse(446, 260, 4, 4, kWhite);
    p.Ellipse(364, 270, 20, 5, Cube(4, 4, 4));  // the plate
    p.Ellipse(364, 269, 12, 3, Cube(5, 5, 1));
    p.Ellipse(366, 269, 4, 2, Cube(5, 3, 0));
}

// A head at (x, y), radius r: hair round it (long, falling behind), eyes open or shut.
void Head(Picture& p, double x, double y, double r, bool eyesOpen, bool facingLeft) {
    p.Ellipse(x, y - r * 0.2, r * 1.25, r * 1.2, kHair);
    p.Ellipse(x, y + r * 0.15, r * 0.95, r, kSkin);
    p.Ellipse(x, y - r * 0.65, r * 1.05, r * 0.5, kHair);  // the fringe
    const double d = facingLeft ? -r * 0.2 : 0;
    for (int side : {-1, 1}) {
        const int ex = int(x + d + side * r * 0.38), ey = int(y + r * 0.15);
        if (eyesOpen)
            p.Rect(ex, ey - 1, r > 12 ? 3 : 2, r > 12 ? 4 : 3, kInk);
        else
            p.Line(ex - 1, ey + 1, ex + 2, ey + 1, kInk);
    }
    p.Line(int(x + d) - 1, int(y + r * 0.6), int(x + d) + 2, int(y + r * 0.6), Cube(4, 1, 1));
}

// The heroine in bed: t 0 lying asleep on the pillow, 1 sitting up; eyes open or shut.
void Sleeper(Picture& p, double t, bool eyesOpen, bool asleep) {
    // Sitting up turns her from the pillow to upright, hips where the blanket starts.
    const double hx = 74, hy = 198;
    const double a = (1 - t) * 1.35;  // the lean back, in radians from upright
    const double sx = hx - 28 * std::sin(a), sy = hy - 28 * std::cos(a);
    p.Polygon({{hx - 6, hy + 2},
               {hx + 8, hy + 2},
               {sx + 8 * std::cos(a), sy - 8 * std::sin(a)},
               {sx - 8 * std::cos(a), sy + 8 * std::sin(a)}},
              kNightgown);
    const double headX = sx - 10 * std::sin(a), headY = sy - 10 * std::cos(a);
    Head(p, headX, headY, 9, eyesOpen, true);
    // The blanket over her, up to the chest when lying, to the waist sitting; it falls
    // to the room's blanket before the frame's right edge.
    const double top = 186 - 6 * (1 - t), left = hx - 14 + 8 * t;
    p.Polygon({{left, top}, {hx + 18, top}, {104, 186}, {104, 204}, {left, 204}}, kBlanket);
    p.Rect(int(left), int(top), int(hx + 18 - left), 3, kBlanketLight);
    if (t > 0.5)  // her hands on the blanket
        p.Ellipse(hx + 10, top + 4, 4, 3, kSkin);
    if (asleep) {  // the "z" of her sleep, above her and clear of the clock
        for (int k = 0; k < 3; ++k) {
            const int zx = 64 + k * 12, zy = 172 - k * 10, s = 3 + k;
            p.Line(zx, zy, zx + s, zy, Cube(1, 1, 4));
            p.Line(zx + s, zy, zx, zy + s, Cube(1, 1, 4));
            p.Line(zx, zy + s, zx + s, zy + s, Cube(1, 1, 4));
        }
    }
}

// The heroine at the table, facing us; the spoon at step 0 (plate) .. 2 (mouth).
void Diner(Picture& p, int step) {
    const double cx = 364, headY = 224;
    p.Polygon({{cx - 16, 238}, {cx + 16, 238}, {cx + 24, 272}, {cx - 24, 272}}, kDress);
    p.Polygon({{cx - 8, 238}, {cx + 8, 238}, {cx, 248}}, Cube(5, 4, 1));  // the collar
    Head(p, cx, headY, 15, true, false);
    if (step == 2)  // the mouth open for the spoon
        p.Ellipse(cx, headY + 9, 3, 3, Cube(4, 1, 1));
    // Her left hand on the table, the right lifting the spoon.
    p.Polygon({{cx - 18, 244}, {cx - 12, 244}, {cx - 18, 268}, {cx - 26, 266}}, kDress);
    p.Ellipse(cx - 22, 268, 4, 3, kSkin);
    const double handY = 266 - step * 14, handX = cx + 18 - step * 6;
    p.Polygon({{cx + 12, 244}, {cx + 18, 244}, {handX + 4, handY}, {handX - 3, handY}}, kDress);
    p.Ellipse(handX, handY, 4, 3, kSkin);
    p.Line(int(handX) - 2, int(handY) - 1, int(handX) - 10 + step * 2, int(handY) - 6,
           Cube(4, 4, 4));
    p.Ellipse(handX - 11 + step * 2, handY - 7, 3, 2, Cube(4, 4, 4));
    // The plate stays in front of her.
    p.Ellipse(364, 270, 20, 5, Cube(4, 4, 4));
    p.Ellipse(364, 269, 12 - step * 3, 3, Cube(5, 5, 1));
}

Picture Cut(const Picture& room, int x, int y, int w, int h) {
    Picture cell(w, h, 0);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) cell.Set(i, j, room.Get(x + i, y + j));
    return cell;
}

Picture RoomPicture() {
    Picture p(648, 484, 0);
    Room(p);
    return p;
}

// Bed frames: 0..4 getting into bed, 5 asleep (the night), 6..11 getting up.
Picture BedFrame(int n) {
    Picture p = RoomPicture();
    if (n <= 5)
        Sleeper(p, 1.0 - n / 5.0, n < 4, n == 5);
    else
        Sleeper(p, (n - 6) / 5.0, n > 6, false);
    return Cut(p, kBedX, kBedY, kBedW, kBedH);
}

// Meal frames 0..5 (supper and breakfast alike): the spoon goes up and down.
Picture EatFrame(int n) {
    Picture p = RoomPicture();
    Diner(p, n % 3);
    return Cut(p, kEatX, kEatY, kEatW, kEatH);
}

}  // namespace

bool WriteShopScreen(const std::filesystem::path& root) {
    const std::filesystem::path pack = root / "Data" / "WpData0.Pak";
    std::vector<std::pair<std::string, Picture>> pictures;
    pictures.emplace_back("TitleBar.bmp", TitleBar());
    pictures.emplace_back("Shop_2F.bmp", RoomPicture());
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
