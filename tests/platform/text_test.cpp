#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Big5.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/HeadlessApp.h"

namespace {

ui::Font MakeFont(const char* face, int px, bool bold) {
    ui::Font f;
    f.Name = face;
    f.Height = -px;
    f.SetBold(bold);
    return f;
}

ui::Bitmap White(int w, int h) {
    ui::Bitmap bm(w, h);
    bm.GetCanvas().Brush.Color = ui::clWhite;
    bm.GetCanvas().FillRect(ui::Rect{0, 0, w, h});
    return bm;
}

int CountInk(const ui::Bitmap& bm, const ui::Rect& r, ui::TColor ink) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += bm.GetPixel(x, y) == ink ? 1 : 0;
    return n;
}

TEST(Text, CellsAreFixedFullAndHalfWidths) {
    const ui::Font f12 = MakeFont(ui::kFaceMing, 12, false);
    EXPECT_EQ(ui::TextWidth(f12, B5("露米亞藥坊")), 60);
    EXPECT_EQ(ui::TextWidth(f12, "Lumia 1"), 42);
    EXPECT_EQ(ui::TextWidth(f12, B5("第12天")), 36);
    EXPECT_EQ(ui::TextWidth(f12, std::string("a\xC5")),
              12);  // a lead byte at the end counts as one byte
    EXPECT_EQ(ui::TextHeight(f12), 12);
    // Trail bytes that look like ASCII belong to their character.
    EXPECT_EQ(ui::TextWidth(f12, B5("功")), 12);  // 0xA5 0x5C: trail byte is a backslash
    const ui::Font f20 = MakeFont(ui::kFaceMing, 20, true);
    EXPECT_EQ(ui::TextWidth(f20, B5("藥")), 20);
    EXPECT_EQ(ui::TextWidth(f20, "A"), 10);
    const ui::Font f21 = MakeFont(ui::kFaceKai, 21, true);
    EXPECT_EQ(ui::TextWidth(f21, B5("開新遊戲")), 84);
    EXPECT_EQ(ui::HalfWidth(f21), 11);
}

TEST(Text, Line12MatchesGolden) {
    ui::Bitmap bm = White(136, 14);
    ui::Canvas& c = bm.GetCanvas();
    c.Font = MakeFont(ui::kFaceMing, 12, false);
    c.Brush.Style = ui::BrushStyle::bsClear;
    c.TextOut(1, 1, B5("露米亞藥坊 Lumia 123功"));
    EXPECT_TRUE(test::Matches(bm, "text-ming12"));
    // No anti-aliasing: only the two colours.
    for (int y = 0; y < bm.Height(); ++y)
        for (int x = 0; x < bm.Width(); ++x) {
            const ui::TColor p = bm.GetPixel(x, y);
            ASSERT_TRUE(p == ui::clWhite || p == ui::clBlack) << x << "," << y;
        }
}

TEST(Text, BoldCell20AndKaiTitle21MatchGoldens) {
    // The message window's 20x20 cell: bold, black on white.
    ui::Bitmap cell = White(20, 20);
    cell.GetCanvas().Font = MakeFont(ui::kFaceMing, 20, true);
    cell.GetCanvas().TextOut(0, 0, B5("藥"));
    EXPECT_TRUE(test::Matches(cell, "text-cell20bold"));
    // Bold is the same letter struck twice, one pixel apart: more ink, same cell.
    ui::Bitmap plain = White(20, 20);
    plain.GetCanvas().Font = MakeFont(ui::kFaceMing, 20, false);
    plain.GetCanvas().TextOut(0, 0, B5("藥"));
    EXPECT_GT(CountInk(cell, ui::Rect{0, 0, 20, 20}, ui::clBlack),
              CountInk(plain, ui::Rect{0, 0, 20, 20}, ui::clBlack));

    // A title label: 標楷體 21 px bold, centred in 93x21, in colour, on a clear brush.
    ui::Bitmap title(93, 21);
    title.GetCanvas().Brush.Color = ui::RGB(40, 60, 90);
    title.GetCanvas().FillRect(ui::Rect{0, 0, 93, 21});
    ui::Canvas& c = title.GetCanvas();
    c.Font = MakeFont(ui::kFaceKai, 21, true);
    c.Font.Color = ui::RGB(255, 255, 160);
    c.Brush.Style = ui::BrushStyle::bsClear;
    ui::Rect r{0, 0, 93, 21};
    c.DrawText(B5("開新遊戲"), r, ui::DT_CENTER | ui::DT_VCENTER | ui::DT_SINGLELINE);
    EXPECT_TRUE(test::Matches(title, "text-kai21bold"));
}

TEST(Text, UndecodableAndPrivateUseCodesDrawTheBox) {
    const ui::Font f = MakeFont(ui::kFaceMing, 12, false);
    // 0xFA40 does not decode; 0xC8A4 decodes to the private-use area. Both: a hollow
    // box one pixel inside the 12x12 cell.
    for (const char* code : {"\xFA\x40", "\xC8\xA4"}) {
        ui::Bitmap bm = White(12, 12);
        bm.GetCanvas().Brush.Style = ui::BrushStyle::bsClear;
        bm.GetCanvas().Font = f;
        bm.GetCanvas().TextOut(0, 0, code);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) {
                const bool edge = (x >= 1 && x <= 10 && y >= 1 && y <= 10) &&
                                  (x == 1 || x == 10 || y == 1 || y == 10);
                ASSERT_EQ(bm.GetPixel(x, y), edge ? ui::clBlack : ui::clWhite) << x << "," << y;
            }
    }
    // A lead byte at the end: a half-width box.
    ui::Bitmap bm = White(12, 12);
    bm.GetCanvas().Font = f;
    bm.GetCanvas().Brush.Style = ui::BrushStyle::bsClear;
    bm.GetCanvas().TextOut(0, 0, "\xC5");
    EXPECT_EQ(bm.GetPixel(1, 1), ui::clBlack);
    EXPECT_EQ(bm.GetPixel(4, 10), ui::clBlack);
    EXPECT_EQ(CountInk(bm, ui::Rect{6, 0, 12, 12}, ui::clBlack), 0);
}

TEST(Text, TextOutFillsItsCellsWithTheBrush) {
    ui::Bitmap bm = White(30, 14);
    ui::Canvas& c = bm.GetCanvas();
    c.Font = MakeFont(ui::kFaceMing, 12, false);
    c.Font.Color = ui::clRed;
    c.Brush.Color = ui::clBlue;
    c.TextOut(2, 1, "ab");
    EXPECT_EQ(c.PenPos(), (ui::Point{14, 1}));
    EXPECT_EQ(bm.GetPixel(2, 1), ui::clBlue);    // top-left of the first cell
    EXPECT_EQ(bm.GetPixel(13, 12), ui::clBlue);  // bottom-right of the second
    EXPECT_EQ(bm.GetPixel(14, 1), ui::clWhite);
    EXPECT_EQ(bm.GetPixel(1, 1), ui::clWhite);
    EXPECT_GT(CountInk(bm, ui::Rect{2, 1, 14, 13}, ui::clRed), 10);
}

TEST(Text, TextRectClipsAndDrawTextAligns) {
    const ui::Font f = MakeFont(ui::kFaceMing, 12, false);
    // TextRect: the rectangle is filled and nothing is drawn beyond it.
    ui::Bitmap bm = White(40, 14);
    ui::Canvas& c = bm.GetCanvas();
    c.Font = f;
    c.Brush.Color = ui::clLime;
    c.TextRect(ui::Rect{0, 0, 18, 12}, 0, 0, B5("露米亞藥"));
    EXPECT_EQ(CountInk(bm, ui::Rect{18, 0, 40, 14}, ui::clBlack), 0);
    EXPECT_EQ(CountInk(bm, ui::Rect{0, 12, 40, 14}, ui::clBlack), 0);
    EXPECT_GT(CountInk(bm, ui::Rect{12, 0, 18, 12}, ui::clBlack), 0);

    // DrawText: left, centred, right; vertically centred on a single line.
    struct Case {
        unsigned flags;
        int left, top;
    };
    for (const Case& k : {Case{ui::DT_LEFT | ui::DT_SINGLELINE, 0, 0},
                          Case{ui::DT_CENTER | ui::DT_SINGLELINE, 14, 0},
                          Case{ui::DT_RIGHT | ui::DT_SINGLELINE, 28, 0},
                          Case{ui::DT_CENTER | ui::DT_VCENTER | ui::DT_SINGLELINE, 14, 9}}) {
        ui::Bitmap one = White(40, 30);
        one.GetCanvas().Font = f;
        one.GetCanvas().Brush.Color = ui::clLime;  // cells filled: their place shows
        ui::Rect r{0, 0, 40, 30};
        EXPECT_EQ(one.GetCanvas().DrawText("\xC3\xC4", r, k.flags), 12);
        EXPECT_EQ(CountInk(one, ui::Bounds(k.left, k.top, 12, 12), ui::clWhite), 0) << k.flags;
        EXPECT_EQ(CountInk(one, ui::Rect{0, 0, 40, 30}, ui::clWhite), 40 * 30 - 144) << k.flags;
    }
    // Several lines; DT_CALCRECT measures without drawing.
    ui::Bitmap multi = White(40, 30);
    multi.GetCanvas().Font = f;
    ui::Rect r{0, 0, 0, 0};
    EXPECT_EQ(multi.GetCanvas().DrawText("ab\nabc", r, ui::DT_CALCRECT), 24);
    EXPECT_EQ(r, (ui::Rect{0, 0, 18, 24}));
    EXPECT_EQ(CountInk(multi, ui::Rect{0, 0, 40, 30}, ui::clWhite), 1200);
}

TEST(Text, FontsArePresentAndChecked) {
    EXPECT_EQ(ui::CheckFonts(), "");
    EXPECT_TRUE(ui::HasFont(ui::kFaceKai));
    EXPECT_TRUE(ui::HasFont(ui::kFaceMing));
    EXPECT_FALSE(ui::HasFont("Comic Sans"));
    // A folder without the files names both packages.
    const std::string empty = test::ScratchDir("no-fonts-here");
    const std::string msg = ui::CheckFonts(empty);
    EXPECT_NE(msg.find("fonts-arphic-uming"), std::string::npos);
    EXPECT_NE(msg.find("fonts-arphic-ukai"), std::string::npos);
    // One present: only the other is named.
    std::ofstream(empty + "/uming.ttc") << "x";
    const std::string one = ui::CheckFonts(empty);
    EXPECT_EQ(one.find("fonts-arphic-uming"), std::string::npos);
    EXPECT_NE(one.find("fonts-arphic-ukai"), std::string::npos);
}

TEST(Text, Big5CodePointTable) {
    EXPECT_EQ(ui::Big5CodePoint(0xC5, 0x53), U'露');
    EXPECT_EQ(ui::Big5CodePoint(0xA1, 0x40), U'\u3000');
    EXPECT_EQ(ui::Big5CodePoint(0xFA, 0x40), 0u);
    EXPECT_EQ(ui::Big5CodePoint(0xA4, 0x20), 0u);  // not a trail byte
    EXPECT_EQ(ui::Big5CodePoint(0x41, 0x41), 0u);  // not a lead byte
}

}  // namespace
