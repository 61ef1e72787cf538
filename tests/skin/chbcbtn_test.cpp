#include "skin/CHBCBTN.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Form.h"
#include "tests/support/HeadlessApp.h"

namespace {

using ui::Rect;
using ui::TColor;

// The faces of SkinTestButton.bmp's six cells (normal, disabled, pressed, held down,
// focused, default), 40 x 20 each.
constexpr TColor kFaces[6] = {ui::RGB(96, 144, 208), ui::RGB(160, 160, 160), ui::RGB(48, 96, 176),
                              ui::RGB(32, 64, 128),  ui::RGB(96, 192, 112),  ui::RGB(224, 192, 64)};

int CellShown(const ui::Bitmap& bm, int x = 20, int y = 10) {
    for (int i = 0; i < 6; ++i)
        if (bm.GetPixel(x, y) == kFaces[i]) return i;
    return -1;
}

// Where a colour lies on a bitmap, within a rectangle.
struct Box {
    int minX = INT_MAX, minY = INT_MAX, maxX = -1, maxY = -1, count = 0;
};
Box Find(const ui::Bitmap& bm, TColor c, const Rect& area) {
    Box b;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (bm.GetPixel(x, y) == c) {
                b.minX = std::min(b.minX, x);
                b.minY = std::min(b.minY, y);
                b.maxX = std::max(b.maxX, x);
                b.maxY = std::max(b.maxY, y);
                ++b.count;
            }
    return b;
}

class SkinButtonTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(sheet.LoadFromResource("SkinTestButton.bmp"));
        glyph = Rect{0, 0, 240, 20};
    }
    // Paints with the shared painter onto a fresh 40 x 20 bitmap.
    ui::Bitmap Paint(int state, bool a, bool b, int n, const std::string& caption = "",
                     ui::Point down = {1, 1}) {
        ui::Bitmap bm(40, 20, ui::PixelFormat::pf24bit);
        ui::Canvas canvas(bm);
        CHBcPaintButton(colors, canvas, Rect{0, 0, 40, 20}, a, b, state, down, ui::Point{-1, -1},
                        font, caption, n, Rect{0, 0, n * 40, 20}, &sheet.Bitmap());
        return bm;
    }

    TCHBmpContainer sheet;
    Rect glyph;
    TCHBtnCaptionColor colors;
    ui::Font font;
};

TEST(SkinButtonLook, CellAndColourSetForEveryStateAndGlyphCount) {
    // Per glyph count: up, up focused (A), up default (B), up both, disabled, down, held down.
    const int cells[7][7] = {
        {0, 0, 0, 0, 0, 0, 0},  // N = 0
        {0, 0, 0, 0, 0, 0, 0},  // N = 1
        {0, 0, 0, 0, 0, 1, 1},  // N = 2: not enough cells for disabled
        {0, 0, 0, 0, 1, 2, 2},  // N = 3: held down shows pressed
        {0, 0, 0, 0, 1, 2, 3},  // N = 4
        {0, 4, 4, 4, 1, 2, 3},  // N = 5: focused cell for A or B
        {0, 4, 5, 5, 1, 2, 3},  // N = 6: default cell for B
    };
    struct Column {
        int state;
        bool a, b;
        int colorSet;
    };
    const Column columns[7] = {{kChBtnUp, false, false, 2},       {kChBtnUp, true, false, 2},
                               {kChBtnUp, false, true, 2},        {kChBtnUp, true, true, 2},
                               {kChBtnDisabled, false, false, 0}, {kChBtnDown, false, false, 1},
                               {kChBtnHeld, false, false, 1}};
    for (int n = 0; n <= 6; ++n) {
        for (int col = 0; col < 7; ++col) {
            const Column& c = columns[col];
            EXPECT_EQ(CHBcButtonCell(c.state, c.a, c.b, n),
                      (CHBcButtonLook{cells[n][col], c.colorSet}))
                << "N " << n << " state " << c.state << " A " << c.a << " B " << c.b;
        }
        // A or B do not change the other states; an unknown state looks up.
        EXPECT_EQ(CHBcButtonCell(kChBtnDown, true, true, n).cell, cells[n][5]);
        EXPECT_EQ(CHBcButtonCell(7, true, true, n), (CHBcButtonLook{0, 2}));
    }
}

TEST_F(SkinButtonTest, PaintedFaceIsTheStatesCell) {
    struct Case {
        int state;
        bool a, b;
        int n;
        int cell;  // -1: the standard face
    };
    const Case cases[] = {
        {kChBtnUp, false, false, 6, 0},       {kChBtnDisabled, false, false, 6, 1},
        {kChBtnDown, false, false, 6, 2},     {kChBtnHeld, false, false, 6, 3},
        {kChBtnUp, true, false, 6, 4},        {kChBtnUp, false, true, 6, 5},
        {kChBtnUp, false, true, 5, 4},        {kChBtnHeld, false, false, 3, 2},
        {kChBtnDisabled, false, false, 2, 0}, {kChBtnDown, false, false, 0, -1},
    };
    for (const Case& c : cases) {
        const ui::Bitmap bm = Paint(c.state, c.a, c.b, c.n);
        if (c.cell >= 0) {
            EXPECT_EQ(CellShown(bm), c.cell) << "state " << c.state << " N " << c.n;
            // The whole cell, bevel and all, covers the client.
            const bool pressed = c.cell == 2 || c.cell == 3;
            EXPECT_EQ(bm.GetPixel(0, 0), pressed ? ui::RGB(64, 64, 64) : ui::clWhite);
        } else {
            EXPECT_EQ(bm.GetPixel(20, 10), ui::clBtnFace) << "the standard face";
        }
    }
}

TEST_F(SkinButtonTest, CaptionIsDrawnInThreePasses) {
    const TColor face = ui::RGB(250, 0, 0), highlight = ui::RGB(0, 250, 0),
                 shadow = ui::RGB(0, 0, 250);
    colors.SetEnabled(true);
    for (int set = 0; set < 3; ++set) {
        colors.SetColor(3 * set, face);
        colors.SetColor(3 * set + 1, highlight);
        colors.SetColor(3 * set + 2, shadow);
    }
    const Rect inside{0, 0, 40, 20};
    auto check = [&](const ui::Bitmap& bm, const char* what) {
        const Box f = Find(bm, face, inside), h = Find(bm, highlight, inside),
                  s = Find(bm, shadow, inside);
        ASSERT_GT(f.count, 0) << what;
        ASSERT_GT(h.count, 0) << what;
        ASSERT_GT(s.count, 0) << what;
        // Highlight one pixel up-left of the face, shadow one down-right.
        EXPECT_EQ(h.minX + 1, f.minX) << what;
        EXPECT_EQ(h.minY + 1, f.minY) << what;
        EXPECT_EQ(f.maxX + 1, s.maxX) << what;
        EXPECT_EQ(f.maxY + 1, s.maxY) << what;
    };
    const ui::Bitmap up = Paint(kChBtnUp, false, false, 6, "WW");
    check(up, "up");
    // Pressed, the caption moves by the down offset.
    const ui::Bitmap down = Paint(kChBtnDown, false, false, 6, "WW", ui::Point{2, 3});
    check(down, "down");
    const Box fu = Find(up, face, inside), fd = Find(down, face, inside);
    EXPECT_EQ(fd.minX - fu.minX, 2);
    EXPECT_EQ(fd.minY - fu.minY, 3);

    // A pass in clNone is left out.
    colors.SetColor(TCHBtnCaptionColor::kUpHighlight, ui::clNone);
    const ui::Bitmap noHighlight = Paint(kChBtnUp, false, false, 6, "WW");
    EXPECT_EQ(Find(noHighlight, highlight, inside).count, 0);
    EXPECT_GT(Find(noHighlight, face, inside).count, 0);
}

TEST_F(SkinButtonTest, DisabledCaptionWithoutColoursIsEtched) {
    font.Color = ui::clBlack;
    const Rect inside{2, 2, 38, 18};
    const ui::Bitmap bm = Paint(kChBtnDisabled, false, false, 6, "WW");
    const Box grey = Find(bm, ui::clBtnShadow, inside),
              white = Find(bm, ui::clBtnHighlight, inside);
    ASSERT_GT(grey.count, 0);
    ASSERT_GT(white.count, 0);
    EXPECT_EQ(grey.maxX + 1, white.maxX);
    EXPECT_EQ(grey.maxY + 1, white.maxY);
    EXPECT_EQ(Find(bm, ui::clBlack, inside).count, 0);
    // Enabled buttons take the font's colour, once.
    font.Color = ui::RGB(250, 0, 250);
    const ui::Bitmap up = Paint(kChBtnUp, false, false, 6, "WW");
    EXPECT_GT(Find(up, font.Color, inside).count, 0);
    EXPECT_EQ(Find(up, ui::clBtnShadow, inside).count, 0);
}

TEST_F(SkinButtonTest, FocusRectangleWithB) {
    const ui::Bitmap focused = Paint(kChBtnUp, false, true, 6);
    EXPECT_EQ(CellShown(focused), 5);
    // Every other pixel of the frame 4 inside is inverted.
    EXPECT_NE(focused.GetPixel(4, 4), kFaces[5]);
    EXPECT_EQ(focused.GetPixel(5, 4), kFaces[5]);
    EXPECT_EQ(focused.GetPixel(3, 3), kFaces[5]);
}

TEST_F(SkinButtonTest, NumGlyphsOutOfRangeIsRefusedWithAMessage) {
    headless.AnswerMessageBoxes(ui::IDOK);
    TCHBcBitBtn bit;
    TCHBcSpeedButton speed;
    EXPECT_EQ(bit.NumGlyphs(), 0);
    bit.SetNumGlyphs(6);
    bit.SetNumGlyphs(7);
    speed.SetNumGlyphs(-1);
    EXPECT_EQ(bit.NumGlyphs(), 6);
    EXPECT_EQ(speed.NumGlyphs(), 0);
    const auto& boxes = headless.Backend().MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    for (const auto& box : boxes) {
        // Big5 has no kana: they come out as '?', the rest as it stands.
        EXPECT_EQ(box.text, B5("0から6までの值が指定できます。0描畫せず 1通常 2無效 3押下 4押止 "
                               "5フォーカス 6デフォルト"));
        EXPECT_NE(ui::Big5ToUtf8(box.text).find("值"), std::string::npos);
        EXPECT_NE(ui::Big5ToUtf8(box.text).find("1通常 2無效 3押下 4押止"), std::string::npos);
        EXPECT_EQ(box.caption, "TCHBcBitBtn.NumGlyphs");
    }
}

TEST_F(SkinButtonTest, GlyphChangeSetsThreeCellsAndAutoSizes) {
    TCHBcSpeedButton b;
    EXPECT_EQ(b.Spacing(), -1);
    EXPECT_EQ(b.CaptionDownOffsetX(), 1);
    EXPECT_EQ(b.CaptionDownOffsetY(), 1);
    b.Glyph().SetBmpContainer(&sheet);
    EXPECT_EQ(b.NumGlyphs(), 3);
    EXPECT_EQ(b.GetPalette(), &sheet.Bitmap().ColorTable());
    b.SetNumGlyphs(6);
    b.SetAutoSize(true);
    EXPECT_EQ(b.Width(), 40);
    EXPECT_EQ(b.Height(), 20);
    // A new sheet under AutoSize sizes the button again.
    ui::Bitmap wide(360, 30, ui::PixelFormat::pf24bit);
    sheet.SetBitmap(wide);
    EXPECT_EQ(b.Width(), 60);
    EXPECT_EQ(b.Height(), 30);

    TCHBcBitBtn bit;
    EXPECT_EQ(bit.Spacing(), -1);
    EXPECT_EQ(bit.GetPalette(), nullptr);
}

TEST_F(SkinButtonTest, SpeedButtonPaintsItsStateFromTheSheet) {
    ui::Panel parent;
    auto* b = parent.Make<TCHBcSpeedButton>();
    b->Glyph().SetBmpContainer(&sheet);
    b->SetNumGlyphs(6);
    b->SetBounds(0, 0, 40, 20);
    std::vector<int> states;
    auto paint = [&] {
        ui::Bitmap bm(40, 20, ui::PixelFormat::pf24bit);
        ui::Canvas canvas(bm);
        b->Paint(canvas);
        return CellShown(bm);
    };
    EXPECT_EQ(paint(), 0);
    b->SetGroupIndex(1);
    b->SetDown(true);
    EXPECT_EQ(b->PaintState(), kChBtnHeld);
    EXPECT_EQ(paint(), 3);
    b->SetEnabled(false);
    EXPECT_EQ(paint(), 1);
}

TEST_F(SkinButtonTest, BitButtonTakesFocusAndDefaultFromItsDrawState) {
    TCHBcBitBtn b;
    b.Glyph().SetBmpContainer(&sheet);
    b.SetNumGlyphs(6);
    b.SetBounds(0, 0, 40, 20);
    auto paint = [&](ui::BitBtn::DrawState s) {
        ui::Bitmap bm(40, 20, ui::PixelFormat::pf24bit);
        ui::Canvas canvas(bm);
        b.DrawButton(canvas, s);
        return CellShown(bm, 20, 10);
    };
    EXPECT_EQ(paint({}), 0);
    EXPECT_EQ(paint({.selected = true}), 2);
    EXPECT_EQ(paint({.disabled = true}), 1);
    EXPECT_EQ(paint({.focused = true}), 4);
    // The default cell needs DrawFocus.
    EXPECT_EQ(paint({.isDefault = true}), 0);
    b.SetDrawFocus(true);
    EXPECT_EQ(paint({.isDefault = true}), 5);
}

TEST_F(SkinButtonTest, PaintHooksOfTheBases) {
    TCHCustomPaintBitBtn bit;
    std::vector<std::string> calls;
    bit.OnPaintHook = [&](TCHCustomPaintBitBtn&, ui::Canvas& c, int state, bool focused,
                          bool isDefault) {
        calls.push_back(
            std::to_string(state) + (focused ? "f" : "") + (isDefault ? "d" : "") +
            (c.Brush.Color == ui::clBtnFace && c.Pen.Color == ui::clWindowFrame ? "" : "?"));
    };
    ui::Bitmap bm(75, 25, ui::PixelFormat::pf24bit);
    ui::Canvas canvas(bm);
    bit.DrawButton(canvas, {.selected = true, .focused = true});
    bit.DrawButton(canvas, {.selected = true, .disabled = true, .isDefault = true});
    bit.DrawButton(canvas, {});
    EXPECT_EQ(calls, (std::vector<std::string>{"2f", "1d", "0"}));

    // The speed button's hook runs after the standard painting, with its state.
    TCHSpeedButton speed;
    speed.SetBounds(0, 0, 23, 22);
    int hookState = -1;
    speed.OnPaintHook = [&](TCHSpeedButton&, ui::Canvas&, int state) { hookState = state; };
    speed.SetEnabled(false);
    speed.Paint(canvas);
    EXPECT_EQ(hookState, kChBtnDisabled);
}

}  // namespace

namespace {

// On a real form: the mouse presses the button, the form shows the pressed cell, and
// the release clicks it.
TEST_F(SkinButtonTest, OnAFormTheMouseShowsThePressedCell) {
    ui::Form form;
    form.SetBounds(10, 10, 100, 60);
    auto* b = form.Make<TCHBcSpeedButton>();
    b->Glyph().SetBmpContainer(&sheet);
    b->SetNumGlyphs(6);
    b->SetAutoSize(true);
    b->SetBounds(20, 20, b->Width(), b->Height());
    int clicks = 0;
    b->OnClick = [&](ui::Control&) { ++clicks; };
    form.Show();
    form.Repaint();
    EXPECT_EQ(CellShown(form.WindowBitmap(), 40, 30), 0);

    headless.Backend().MouseDown(50, 40);
    headless.RunUntil([&] { return headless.Backend().ScriptLeft() == 0; });
    form.Repaint();
    EXPECT_EQ(CellShown(form.WindowBitmap(), 40, 30), 2);

    headless.Backend().MouseUp(50, 40);
    headless.RunUntil([&] { return headless.Backend().ScriptLeft() == 0; });
    form.Repaint();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(CellShown(form.WindowBitmap(), 40, 30), 0);
}

}  // namespace
