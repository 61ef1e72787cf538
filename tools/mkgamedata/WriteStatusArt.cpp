// The status window's faces in the shop pack "Data\WpData0.Pak": "palfc0.bmp" ..
// "palfc2.bmp" (120 x 120), the heroine as she is when healthy, sleepy and tired, each
// with her condition written under the face.
#include <cstdio>
#include <filesystem>

#include "tools/mkgamedata/Art.h"

namespace mkgamedata {

namespace {

constexpr int kSize = 120;
constexpr std::uint8_t kHair = Cube(4, 2, 1);
constexpr std::uint8_t kHat = Cube(2, 1, 3);
constexpr std::uint8_t kHatBand = Cube(5, 4, 1);
constexpr std::uint8_t kCheek = Cube(5, 3, 3);
constexpr std::uint8_t kMouth = Cube(4, 1, 1);
constexpr std::uint8_t kPale = Cube(4, 4, 5);

Picture StatusFace(int condition) {
    // Sky for a good day, dusk for a sleepy one, grey for a tired one.
    constexpr std::uint8_t kBack[3] = {Cube(3, 4, 5), Cube(3, 2, 4), Cube(3, 3, 3)};
    Picture p(kSize, kSize, kBack[condition]);
    // Shoulders, hair behind the head, the face, the fringe, the witch's hat.
    p.Polygon({{14, 120}, {30, 96}, {90, 96}, {106, 120}}, kHat);
    p.Ellipse(60, 58, 34, 36, kHair);
    p.Rect(26, 58, 68, 34, kHair);
    p.Ellipse(60, 62, 26, 30, condition == 2 ? kPale : kSkin);
    p.Ellipse(60, 38, 28, 11, kHair);
    p.Polygon({{22, 32}, {98, 32}, {60, 2}}, kHat);
    p.Rect(20, 28, 80, 6, kHat);
    p.Rect(34, 26, 52, 3, kHatBand);
    switch (condition) {
        case 0:  // healthy: open eyes, rosy cheeks, a smile
            p.Ellipse(50, 60, 3.5, 5, kInk);
            p.Ellipse(70, 60, 3.5, 5, kInk);
            p.Ellipse(43, 71, 4, 2.5, kCheek);
            p.Ellipse(77, 71, 4, 2.5, kCheek);
            p.Line(53, 76, 56, 79, kMouth);
            p.Line(56, 79, 64, 79, kMouth);
            p.Line(64, 79, 67, 76, kMouth);
            break;
        case 1:  // sleepy: closed eyes, a yawn, "z z"
            p.Line(45, 61, 55, 61, kInk);
            p.Line(65, 61, 75, 61, kInk);
            p.Ellipse(60, 78, 4, 5, kMouth);
            p.Text(88, 36, "z", 12, kWhite, true);
            p.Text(98, 26, "Z", 14, kWhite, true);
            break;
        default:  // tired: drooping eyes, a flat mouth, a drop of sweat
            p.Line(45, 58, 55, 62, kInk);
            p.Line(65, 62, 75, 58, kInk);
            p.Line(53, 79, 67, 79, kMouth);
            p.Ellipse(84, 52, 3, 5, Cube(1, 3, 5));
            break;
    }
    const char* const kCondition[3] = {"健康！！", "睏倦", "疲憊"};
    p.Rect(0, 100, kSize, 20, Cube(1, 0, 2));
    p.TextCentred(0, 100, kSize, 20, kCondition[condition], 12, kWhite, true);
    return p;
}

}  // namespace

bool WriteStatusArt(const std::filesystem::path& root) {
    const std::filesystem::path pack = root / "Data" / "WpData0.Pak";
    for (int c = 0; c < 3; ++c) {
        char name[16];
        std::snprintf(name, sizeof name, "palfc%d.bmp", c);
        if (!AddPackMember(pack, name, PictureBmp8(StatusFace(c)))) return false;
    }
    return true;
}

}  // namespace mkgamedata
