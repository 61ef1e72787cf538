// The message window's pictures: "Data\MsgWin.pak" (the text page's background, the
// hide and end buttons' sheet, the command-button sheet with one labelled row per
// command) and the faces "palFace.pak" (par00.bmp .. par51.bmp) in both art folders.
//
// Every face is a head and shoulders on the colour key (magenta, the picture's first
// pixel, so the window's outline follows the figure), all of them the heroine's; eyes,
// mouth and a mark (a blush, a drop of sweat, a tear) make the face's expression.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mkgamedata/Art.h"
#include "tools/mkgamedata/PackWriter.h"

namespace mkgamedata {

namespace {

constexpr int kPageW = 480;
constexpr int kPageH = 136;
constexpr int kFaceW = 160;
constexpr int kFaceH = 200;
constexpr int kSwitchW = 120;
constexpr int kSwitchH = 40;
constexpr int kHideW = 14;  // small enough to sit above the first line of text
constexpr int kHideH = 10;
constexpr int kEndW = 44;
constexpr int kEndH = 22;

constexpr std::uint8_t kFaceKey = Cube(5, 0, 5);
constexpr std::uint8_t kPaper = Cube(5, 5, 4);
constexpr std::uint8_t kPaperEdge = Cube(3, 2, 1);
constexpr std::uint8_t kPaperLine = Cube(4, 4, 3);

// The commands, by CommandId (the row of the sheet).
constexpr const char* kCommandNames[18] = {
    "觀察", "交談",     "叫賣",     "搜索", "市集",   "移動", "地圖", "進入",   "取消",
    "花圃", "拜訪住家", "拜訪商店", "出去", "圖書館", "閱讀", "交貨", "往城門", "往廣場",
};

Picture PageBackground() {
    Picture p(kPageW, kPageH, kPaper);
    p.Frame(0, 0, kPageW, kPageH, kPaperEdge);
    p.Frame(1, 1, kPageW - 2, kPageH - 2, kPaperEdge);
    p.Frame(4, 4, kPageW - 8, kPageH - 8, kPaperLine);
    return p;
}

// A bevelled face: light top-left, dark bottom-right (the other way round pressed).
void Bevel(Picture& p, int x, int y, int w, int h, std::uint8_t face, bool pressed) {
    p.Rect(x, y, w, h, face);
    const std::uint8_t light = kWhite, dark = Cube(1, 1, 1);
    const std::uint8_t tl = pressed ? dark : light, br = pressed ? light : dark;
    p.Line(x, y, x + w - 1, y, tl);
    p.Line(x, y, x, y + h - 1, tl);
    p.Line(x, y + h - 1, x + w - 1, y + h - 1, br);
    p.Line(x + w - 1, y, x + w - 1, y + h - 1, br);
}

// Three cells (normal, disabled, pressed) of a captioned button, side by side.
void ButtonCells(Picture& p, int top, int w, int h, const char* caption, std::uint8_t face) {
    for (int i = 0; i < 3; ++i) {
        const bool pressed = i == 2;
        Bevel(p, i * w, top, w, h, face, pressed);
        const std::uint8_t ink = i == 1 ? Cube(3, 3, 3) : kWhite;
        const int d = pressed ? 1 : 0;
        p.TextCentred(i * w + d, top + d, w, h, caption, 12, ink);
    }
}

Picture HideSheet() {
    Picture p(3 * kEndW, kHideH + kEndH, Cube(3, 3, 3));
    // The hide button: a cross, too small for a caption.
    for (int i = 0; i < 3; ++i) {
        const int d = i == 2 ? 1 : 0;
        const std::uint8_t ink = i == 1 ? Cube(3, 3, 3) : kWhite;
        Bevel(p, i * kHideW, 0, kHideW, kHideH, Cube(2, 1, 0), i == 2);
        p.Line(i * kHideW + 4 + d, 2 + d, i * kHideW + 9 + d, 7 + d, ink);
        p.Line(i * kHideW + 9 + d, 2 + d, i * kHideW + 4 + d, 7 + d, ink);
    }
    ButtonCells(p, kHideH, kEndW, kEndH, "繼續", Cube(3, 0, 0));
    return p;
}

Picture SwitchSheet() {
    Picture p(kSwitchW, kSwitchH * 18, kPaper);
    for (int r = 0; r < 18; ++r) {
        const int y = r * kSwitchH;
        Bevel(p, 0, y, kSwitchW, kSwitchH, Cube(1, 2, 4), false);
        p.Frame(2, y + 2, kSwitchW - 4, kSwitchH - 4, Cube(2, 3, 5));
        p.TextCentred(0, y, kSwitchW, kSwitchH, kCommandNames[r], 16, kWhite, true);
    }
    return p;
}

// The heroine in her witch's hat, one expression a face number: the eyes, the mouth
// and a mark (a blush, a drop of sweat, a tear, a vein) vary with the number.
Picture Face(int n) {
    constexpr std::uint8_t kHair = Cube(4, 2, 1);
    constexpr std::uint8_t kHat = Cube(2, 1, 3);
    constexpr std::uint8_t kMouth = Cube(4, 1, 1);
    Picture p(kFaceW, kFaceH, kFaceKey);
    // Shoulders in the hat's colour, the hair behind the head, the face, the fringe.
    p.Polygon({{20, 200}, {40, 150}, {120, 150}, {140, 200}}, kHat);
    p.Rect(70, 128, 20, 26, kSkin);
    p.Ellipse(80, 86, 50, 54, kHair);
    p.Rect(30, 86, 100, 60, kHair);
    p.Ellipse(80, 92, 38, 44, kSkin);
    p.Ellipse(80, 60, 40, 16, kHair);
    // The hat.
    p.Polygon({{28, 52}, {132, 52}, {92, 2}}, kHat);
    p.Rect(22, 46, 116, 9, kHat);
    p.Rect(44, 42, 72, 4, Cube(5, 4, 1));
    // Eyes: open, closed, smiling arcs, wide.
    switch (n % 4) {
        case 0:
            p.Ellipse(66, 94, 5, 7, kInk);
            p.Ellipse(94, 94, 5, 7, kInk);
            break;
        case 1:
            p.Line(60, 95, 72, 95, kInk);
            p.Line(88, 95, 100, 95, kInk);
            break;
        case 2:
            p.Line(60, 96, 66, 90, kInk);
            p.Line(66, 90, 72, 96, kInk);
            p.Line(88, 96, 94, 90, kInk);
            p.Line(94, 90, 100, 96, kInk);
            break;
        default:
            p.Ellipse(66, 94, 7, 9, kWhite);
            p.Ellipse(94, 94, 7, 9, kWhite);
            p.Ellipse(66, 94, 3, 4, kInk);
            p.Ellipse(94, 94, 3, 4, kInk);
            break;
    }
    // Mouth: a smile, flat, open, a frown; a smile's corners stand above its middle.
    auto curve = [&](int corners, int middle) {
        p.Line(72, corners, 76, middle, kMouth);
        p.Line(76, middle, 84, middle, kMouth);
        p.Line(84, middle, 88, corners, kMouth);
    };
    switch (n / 4 % 4) {
        case 0:
            curve(114, 118);
            break;
        case 1:
            p.Line(72, 116, 88, 116, kMouth);
            break;
        case 2:
            p.Ellipse(80, 117, 6, 7, kMouth);
            break;
        default:
            curve(119, 115);
            break;
    }
    // A mark: none, a blush, a drop of sweat, a tear.
    switch (n / 16) {
        case 1:
            p.Ellipse(58, 108, 7, 4, Cube(5, 3, 3));
            p.Ellipse(102, 108, 7, 4, Cube(5, 3, 3));
            break;
        case 2:
            p.Ellipse(112, 80, 4, 7, Cube(1, 3, 5));
            break;
        case 3:
            p.Ellipse(62, 110, 3, 6, Cube(1, 3, 5));
            break;
        default:
            break;
    }
    return p;
}

}  // namespace

bool WriteMsgWin(const std::filesystem::path& root) {
    if (!WritePack(root / "Data" / "MsgWin.pak",
                   {{"MsgBack.bmp", PictureBmp8(PageBackground()), true},
                    {"MsgHide.bmp", PictureBmp8(HideSheet()), true},
                    {"MsgSwitch.bmp", PictureBmp8(SwitchSheet()), true}}))
        return false;
    std::vector<PackMember> faces;
    for (int n = 0; n < 52; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "par%02d.bmp", n);
        faces.push_back({name, PictureBmp8(Face(n)), true});
    }
    const std::filesystem::path pack = root / "col24b" / "palFace" / "palFace.pak";
    return WritePack(pack, faces) && MirrorFile(pack, root / "col8b" / "palFace" / "palFace.pak");
}

}  // namespace mkgamedata
