// The order list window's picture "RqForm.bmp" in the shop pack "Data\WpData0.Pak": a
// parchment page with its heading and the captions beside the order's title,
// deadline and reward (the labels sit at x 86, the buttons along y 143).
#include <filesystem>

#include "tools/mkgamedata/Art.h"

namespace mkgamedata {

namespace {

constexpr int kW = 320;
constexpr int kH = 176;

Picture OrderListPicture() {
    const std::uint8_t paper = Cube(5, 5, 4), edge = Cube(3, 2, 1), rule = Cube(4, 3, 2);
    const std::uint8_t ink = Cube(2, 1, 0);
    Picture p(kW, kH, paper);
    p.Frame(0, 0, kW, kH, edge);
    p.Frame(1, 1, kW - 2, kH - 2, edge);
    p.Frame(2, 2, kW - 4, kH - 4, edge);
    p.Frame(6, 6, kW - 12, kH - 12, rule);
    p.Text(14, 14, "訂單一覽", 16, ink, true);
    p.Line(12, 36, kW - 13, 36, edge);
    // The captions, one row each before the labels.
    p.Text(30, 48, "訂單", 12, ink, true);
    p.Text(30, 100, "期限", 12, ink, true);
    p.Text(30, 118, "報酬", 12, ink, true);
    for (int y : {62, 79, 96, 114, 132}) p.Line(84, y, kW - 14, y, rule);
    // The strip the buttons and the page counter sit on.
    p.Rect(8, 139, kW - 16, 30, Cube(4, 4, 3));
    p.Line(8, 139, kW - 9, 139, rule);
    return p;
}

}  // namespace

bool WriteRqForm(const std::filesystem::path& root) {
    return AddPackMember(root / "Data" / "WpData0.Pak", "RqForm.bmp",
                         PictureBmp8(OrderListPicture()));
}

}  // namespace mkgamedata
