// The choice window: layout, captions drawn into the button glyphs, the result, the
// modal show; and the window regions made from pictures.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "platform/Big5.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Files.h"
#include "platform/Form.h"
#include "tests/support/HeadlessApp.h"
#include "town/FormRegion.h"
#include "town/Spbtnfm.h"
#include "town/Srcdbtxtform21.h"

namespace {

using ui::Rect;

constexpr ui::TColor kPaper = ui::RGB(240, 230, 200);
constexpr ui::TColor kCaption = 128;  // dark red

ui::Bitmap Paper(int w, int h) {
    ui::Bitmap bm(w, h);
    ui::Canvas& c = bm.GetCanvas();
    c.Brush.Color = kPaper;
    c.FillRect(Rect{0, 0, w, h});
    return bm;
}

// Where the caption colour lies on a glyph: bounding box and count.
struct Ink {
    int minX = 1 << 20, minY = 1 << 20, maxX = -1, maxY = -1, count = 0;
};
Ink FindInk(const ui::Bitmap& bm, ui::TColor c) {
    Ink k;
    for (int y = 0; y < bm.Height(); ++y)
        for (int x = 0; x < bm.Width(); ++x)
            if (bm.GetPixel(x, y) == c) {
                k.minX = std::min(k.minX, x);
                k.minY = std::min(k.minY, y);
                k.maxX = std::max(k.maxX, x);
                k.maxY = std::max(k.maxY, y);
                ++k.count;
            }
    return k;
}

class ChoiceWindowTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        form = new TBtnForm();
        form->SetBackground(Paper(480, 136));
        font.Name = ui::kFaceMing;
        font.Height = 20;
    }
    void TearDown() override { delete form; }
    TBtnForm* form = nullptr;
    ui::Font font;
};

TEST_F(ChoiceWindowTest, TwoButtonsShareTheClientHeightAndTheThirdLiesBelowIt) {
    EXPECT_EQ(form->ClientWidth(), 480);
    EXPECT_EQ(form->ClientHeight(), 136);
    form->LayoutButtons(2, 8, 8);
    // h = (136 - 3 x 8) / 2 = 56.
    EXPECT_EQ(form->m_Sbt1->BoundsRect(), ui::Bounds(8, 8, 464, 56));
    EXPECT_EQ(form->m_Sbt2->BoundsRect(), ui::Bounds(8, 72, 464, 56));
    EXPECT_EQ(form->m_Sbt3->BoundsRect(), ui::Bounds(8, 136, 464, 56));
}

TEST_F(ChoiceWindowTest, ThreeButtonsAndTheirGlyphs) {
    form->LayoutButtons(3, 8, 8);
    // h = (136 - 4 x 8) / 3 = 34.
    EXPECT_EQ(form->m_Sbt1->BoundsRect(), ui::Bounds(8, 8, 464, 34));
    EXPECT_EQ(form->m_Sbt2->BoundsRect(), ui::Bounds(8, 50, 464, 34));
    EXPECT_EQ(form->m_Sbt3->BoundsRect(), ui::Bounds(8, 92, 464, 34));
    for (int i = 0; i < 3; ++i) {
        const ui::Bitmap& g = form->Button(i)->Glyph();
        ASSERT_EQ(g.Width(), 464);
        ASSERT_EQ(g.Height(), 34);
        // The background under the button, and a blue 2 x 2 mark at the lower left.
        EXPECT_EQ(g.GetPixel(100, 10), kPaper);
        for (auto [x, y] : {std::pair{0, 32}, {1, 32}, {0, 33}, {1, 33}})
            EXPECT_EQ(g.GetPixel(x, y), ui::RGB(0, 0, 255)) << x << "," << y;
        EXPECT_EQ(g.GetPixel(2, 33), kPaper);
        EXPECT_EQ(g.GetPixel(0, 31), kPaper);
    }
}

// The glyph's keyed-out mark shows the window's background, not a button face: no
// stray pixel under a caption, up or pressed.
TEST_F(ChoiceWindowTest, TheKeyedMarkShowsTheBackgroundUnderTheButton) {
    form->LayoutButtons(3, 8, 8);
    form->SetFont(font, kCaption);
    form->SetCaptions(std::array<std::string, 3>{B5("是"), B5("否"), B5("再想想")});
    for (int i = 0; i < 3; ++i) {
        ui::SpeedButton* b = form->Button(i);
        ui::Bitmap shown(b->Width(), b->Height());
        b->Paint(shown.GetCanvas());
        for (auto [x, y] : {std::pair{0, 32}, {1, 32}, {0, 33}, {1, 33}})
            EXPECT_EQ(shown.GetPixel(x, y), kPaper) << i << ": " << x << "," << y;
        EXPECT_EQ(FindInk(shown, ui::clBtnFace).count, 0) << i;
        EXPECT_GT(FindInk(shown, kCaption).count, 10) << i;
    }
}

TEST_F(ChoiceWindowTest, CaptionsAreDrawnInTheCaptionColourAndWrap) {
    form->LayoutButtons(2, 8, 8);
    form->SetFont(font, kCaption);
    // 23 cells of 20 fit in 464; the 24th and 25th go to the second line.
    std::string longCaption;
    for (int i = 0; i < 25; ++i) longCaption += B5("花");
    const std::array<std::string, 3> captions = {B5("好"), longCaption, ""};
    form->SetCaptions(captions);
    const Ink first = FindInk(form->m_Sbt1->Glyph(), kCaption);
    EXPECT_GT(first.count, 10);
    EXPECT_LT(first.maxX, 20);
    EXPECT_LT(first.maxY, 20);
    const Ink second = FindInk(form->m_Sbt2->Glyph(), kCaption);
    EXPECT_GE(second.maxX, 22 * 20);
    EXPECT_GE(second.maxY, 20);  // the second line
    EXPECT_LT(second.maxY, 40);
    EXPECT_EQ(FindInk(form->m_Sbt3->Glyph(), kCaption).count, 0);
}

TEST_F(ChoiceWindowTest, ALineFeedStartsANewLineAndCaptionsStayInTheirButton) {
    form->LayoutButtons(3, 8, 8);  // buttons 34 high: a second line is cut at the bottom
    form->SetFont(font, kCaption);
    const std::array<std::string, 3> captions = {B5("好\n不"), "", ""};
    form->SetCaptions(captions);
    const ui::Bitmap& g = form->m_Sbt1->Glyph();
    const Ink ink = FindInk(g, kCaption);
    EXPECT_LT(ink.maxX, 20);    // both characters in the first column
    EXPECT_GE(ink.maxY, 20);    // the second on the second line
    EXPECT_EQ(g.Height(), 34);  // and nothing grew: the caption is clipped to the glyph
}

TEST_F(ChoiceWindowTest, AClickStoresTheIndexAndEndsTheModalShow) {
    form->LayoutButtons(3, 8, 8);
    form->SetFont(font, kCaption);
    form->SetCaptions(std::array<std::string, 3>{B5("是"), B5("否"), B5("再想想")});
    for (int pick = 0; pick < 3; ++pick) {
        std::int32_t result = -1;
        form->SetResultPtr(&result);
        form->SetBounds(100, 300, form->Width(), form->Height());
        const Rect r = form->Button(pick)->BoundsRect();
        // The system's close request first: refused, the window stays.
        headless.Backend().AddResponder([&] {
            if (!form->Visible()) return false;
            form->Close();
            headless.Backend().Click(100 + r.Left + 50, 300 + r.Top + 10, ui::MouseButton::mbLeft,
                                     0, 10);
            headless.Backend().ClearResponders();
            return true;
        });
        form->ShowModal();
        EXPECT_EQ(result, pick);
        EXPECT_FALSE(form->Visible());
    }
}

TEST_F(ChoiceWindowTest, ScreenshotBesideTheMessageWindow) {
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
    delete form;
    form = nullptr;
    ui::Form stage;
    stage.SetBounds(0, 0, 640, 480);
    stage.SetColor(ui::RGB(40, 60, 90));
    stage.Show();
    TDbTxtForm2 win;
    win.m_FaceFolder = "\\col24b\\palFace";
    win.LoadFaces();
    win.SetBounds(0, 480 - win.Height(), win.Width(), win.Height());
    win.Show();
    // As the event server sets a choice up.
    form = new TBtnForm();
    form->SetBackground(win.m_CntBack.Bitmap());
    form->LayoutButtons(3, 8, 8);
    form->SetFont(win.TextFont(), 128);
    form->SetBounds(win.Left() + win.PageRect().Left, win.Top() + win.PageRect().Top, form->Width(),
                    form->Height());
    form->SetCaptions(
        std::array<std::string, 3>{B5("去花圃看看"), B5("留在店裡"), B5("到廣場走走")});
    std::int32_t result = -1;
    form->SetResultPtr(&result);
    win.HideForChoice();
    const std::string dir = test::ScratchDir("btnform_screen");
    headless.Backend().AddResponder([&] {
        if (!form->Visible()) return false;
        form->Repaint();
        headless.Backend().WriteScreenPng(dir + "/choice.png");
        const Rect r = form->m_Sbt2->BoundsRect();
        headless.Backend().Click(form->Left() + r.Left + 30, form->Top() + r.Top + 10);
        headless.Backend().ClearResponders();
        return true;
    });
    form->ShowModal();
    win.ShowAfterChoice();
    EXPECT_EQ(result, 1);
}

// ---- regions from pictures

ui::Bitmap Row(std::initializer_list<bool> opaque) {
    ui::Bitmap bm(static_cast<int>(opaque.size()), 1);
    int x = 0;
    for (bool o : opaque) bm.SetPixel(x++, 0, o ? ui::clRed : ui::clLime);
    return bm;
}

TEST(RegionFromBitmap, OneRunPerStretchOfOpaquePixels) {
    const ui::Region r = RegionFromBitmap(Row({false, true, true, false, true}), ui::clLime);
    const std::vector<ui::Region::Span> want = {{1, 3}, {4, 5}};
    EXPECT_EQ(r.Row(0), want);
}

TEST(RegionFromBitmap, AllKeyIsEmptyAndNoKeyIsTheWholeRectangle) {
    ui::Bitmap key(7, 5);
    key.GetCanvas().Brush.Color = ui::clLime;
    key.GetCanvas().FillRect(Rect{0, 0, 7, 5});
    EXPECT_TRUE(RegionFromBitmap(key, ui::clLime).IsEmpty());
    ui::Bitmap solid(7, 5);  // white
    const ui::Region r = RegionFromBitmap(solid, ui::clLime);
    EXPECT_EQ(r.Bounds(), (Rect{0, 0, 7, 5}));
    for (int y = 0; y < 5; ++y) EXPECT_EQ(r.Row(y), (std::vector<ui::Region::Span>{{0, 7}}));
}

TEST(RegionFromBitmap, EightBitPicturesCompareColoursNotIndices) {
    ui::Bitmap bm(3, 1, ui::PixelFormat::pf8bit);
    ui::Palette pal = ui::DefaultPalette();
    pal[10] = ui::ToQuad(ui::clLime);
    pal[11] = ui::ToQuad(ui::clLime);  // a second entry of the same colour
    bm.SetColorTable(pal);
    bm.SetRaw(0, 0, 10);
    bm.SetRaw(1, 0, 11);
    bm.SetRaw(2, 0, 255);
    EXPECT_EQ(RegionFromBitmap(bm, ui::clLime).Row(0), (std::vector<ui::Region::Span>{{2, 3}}));
}

TEST_F(ChoiceWindowTest, SetFormRegionShapesTheForm) {
    ui::Form f;
    f.SetBounds(10, 10, 5, 1);
    SetFormRegion(f, Row({false, true, true, false, true}), ui::clLime, true);
    ASSERT_NE(f.WindowRegion(), nullptr);
    EXPECT_FALSE(f.ContainsScreenPoint(10, 10));
    EXPECT_TRUE(f.ContainsScreenPoint(11, 10));
    EXPECT_FALSE(f.ContainsScreenPoint(13, 10));
    EXPECT_TRUE(f.ContainsScreenPoint(14, 10));
}

}  // namespace
