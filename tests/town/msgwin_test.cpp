// The message window: typing, marks, paging, acknowledging, plain messages, the
// command menu, the drag and the dodge, on the headless back end through the pump.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Big5.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Form.h"
#include "platform/Transcript.h"
#include "tests/support/HeadlessApp.h"
#include "town/Srcdbtxtform21.h"

namespace {

using ui::Rect;

// Whether the 20 x 20 cell at (x, y) of the composed page differs from the background.
bool CellDrawn(const TDbTxtForm2& w, int x, int y) {
    for (int j = y; j < y + 20; ++j)
        for (int i = x; i < x + 20; ++i)
            if (w.TextBitmap().GetPixel(i, j) != w.PageBackground().GetPixel(i, j)) return true;
    return false;
}

std::vector<std::uint32_t> golden_pixels(const ui::Bitmap& bm) {
    std::vector<std::uint32_t> px;
    for (int y = 0; y < bm.Height(); ++y)
        for (int x = 0; x < bm.Width(); ++x) px.push_back(bm.GetPixel(x, y));
    return px;
}

bool AnyDrawn(const TDbTxtForm2& w, const Rect& r) {
    for (int j = r.Top; j < r.Bottom; ++j)
        for (int i = r.Left; i < r.Right; ++i)
            if (w.TextBitmap().GetPixel(i, j) != w.PageBackground().GetPixel(i, j)) return true;
    return false;
}

class MessageWindowTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
        stage = new ui::Form();  // the stage behind, as the game has one
        stage->SetBounds(0, 0, 640, 480);
        stage->SetColor(ui::RGB(40, 60, 90));
        stage->Show();
        win = new TDbTxtForm2();
        DbTxtForm2 = win;
        win->m_FaceFolder = "\\col24b\\palFace";
        win->LoadFaces();
        win->SetBounds(0, 480 - win->Height(), win->Width(), win->Height());
        win->Show();
    }
    void TearDown() override {
        delete win;
        delete stage;
    }
    // A screen point of a window point.
    ui::Point Screen(int x, int y) const { return ui::Point{win->Left() + x, win->Top() + y}; }
    void ClickWindow(int x, int y, std::uint32_t after = 10) {
        const ui::Point p = Screen(x, y);
        headless.Backend().Click(p.x, p.y, ui::MouseButton::mbLeft, 0, after);
    }
    void ClickEndButton() {
        const Rect r = win->m_BtnEnd->BoundsRect();
        ClickWindow(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
    }

    ui::Form* stage = nullptr;
    TDbTxtForm2* win = nullptr;
};

TEST_F(MessageWindowTest, LaysOutTheFaceBesideThePageWithTheRegionOfBoth) {
    // Faces are 160 x 200 and the page 480 x 136: the page's bottom 4 px above the face's.
    EXPECT_EQ(win->m_ImgFace->BoundsRect(), (Rect{0, 0, 160, 200}));
    EXPECT_EQ(win->PageRect(), (Rect{160, 60, 640, 196}));
    EXPECT_EQ(win->ClientWidth(), 640);
    EXPECT_EQ(win->ClientHeight(), 200);
    EXPECT_EQ(win->m_OriginX, 14);
    EXPECT_EQ(win->m_OriginY, 14);
    EXPECT_EQ(win->m_LineGap, 6);
    EXPECT_EQ(win->m_TextColor, 128u);
    EXPECT_EQ(win->m_FaceNames[0], "par00.bmp");
    EXPECT_EQ(win->m_FaceNames[51], "par51.bmp");
    EXPECT_TRUE(win->m_FaceNames[52].empty());
    const ui::Region* region = win->WindowRegion();
    ASSERT_NE(region, nullptr);
    EXPECT_FALSE(region->Contains(0, 0));    // the key colour around the face
    EXPECT_TRUE(region->Contains(80, 92));   // the face itself
    EXPECT_TRUE(region->Contains(160, 60));  // the page's corners
    EXPECT_TRUE(region->Contains(639, 195));
    EXPECT_FALSE(region->Contains(639, 59));  // above the page
    // The end button sits 14 and 8 px inside the page's bottom right; hide 3 px inside its top
    // right.
    const Rect end = win->m_BtnEnd->BoundsRect();
    EXPECT_EQ(end.Right, 640 - 14);
    EXPECT_EQ(end.Bottom, 196 - 8);
    const Rect hide = win->m_BtnHide->BoundsRect();
    EXPECT_EQ(hide.Right, 640 - 3);
    EXPECT_EQ(hide.Top, 60 + 3);
    EXPECT_LE(hide.Bottom, 60 + 13);  // clear of the first line of cells
    EXPECT_FALSE(win->m_BtnEnd->Visible());
}

TEST_F(MessageWindowTest, ScreenshotOfAFaceAndALine) {
    win->SetText(B5("緹菈「今天天氣真好，去採些花草吧。"));
    win->Tick();
    headless.RunFor(50);
    const std::string dir = test::ScratchDir("msgwin_screen");
    EXPECT_TRUE(headless.Backend().WriteScreenPng(dir + "/line.png"));
    win->SetFace(5);
    win->SetText(
        B5("可可特「店長，今天要做什麼呢？要不要去森林採些藥草？聽說北邊的花圃開了很多花，"
           "或者到廣場的市集看看新的材料也不錯喔。我會好好看店的，請放心吧！"));
    win->Tick();
    headless.RunFor(50);
    EXPECT_TRUE(headless.Backend().WriteScreenPng(dir + "/full.png"));
    int ids[4] = {5, 0, 2, 4};
    headless.Backend().AddResponder([&] {
        if (!win->m_MenuMode) return false;
        win->Repaint();
        headless.Backend().WriteScreenPng(dir + "/menu.png");
        const Rect r = win->m_BtnRects[1];
        ClickWindow(r.Left + 5, r.Top + 5, 0);
        headless.Backend().ClearResponders();
        return true;
    });
    EXPECT_EQ(win->ChooseCommand(4, ids), 1);
}

// Draws the page one call at a time, noting where the pen stands after each.
std::vector<ui::Point> Steps(TDbTxtForm2& w) {
    std::vector<ui::Point> pens;
    for (int guard = 0; guard < 1000 && !w.TestState(kMsgAllTyped) && !w.TestState(kMsgPageFull);
         ++guard) {
        w.DrawOne();
        pens.push_back(ui::Point{w.m_PenX, w.m_PenY});
    }
    return pens;
}

TEST_F(MessageWindowTest, AnAtSignStartsTheSecondLine26PixelsLowerAtX14) {
    win->SetText(B5("花草@魔法"));
    win->Tick();
    EXPECT_TRUE(CellDrawn(*win, 14, 14));
    EXPECT_TRUE(CellDrawn(*win, 34, 14));
    EXPECT_FALSE(AnyDrawn(*win, Rect{54, 0, 480, 40}));
    EXPECT_TRUE(CellDrawn(*win, 14, 40));
    EXPECT_TRUE(CellDrawn(*win, 34, 40));
    EXPECT_FALSE(AnyDrawn(*win, Rect{54, 40, 480, 136}));
    EXPECT_TRUE(win->TestState(kMsgAllTyped));
}

TEST_F(MessageWindowTest, LineBreaksByAtSignAndLineFeed) {
    struct Case {
        const char* text;
        int secondLineY;  // where the character after the break goes
    };
    const Case cases[] = {
        {"花草@@魔法", 40},   // two at signs: one break, no empty line
        {"花草\n魔法", 40},   // a line feed
        {"花草\n@魔法", 40},  // mixed
        {"@花草@魔法", 40},   // at the start of a line a break is dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        win->SetText(B5(c.text));
        win->Tick();
        EXPECT_TRUE(CellDrawn(*win, 14, 14));
        EXPECT_TRUE(CellDrawn(*win, 14, c.secondLineY));
        EXPECT_FALSE(AnyDrawn(*win, Rect{0, 66, 480, 136}));
    }
}

TEST_F(MessageWindowTest, AFaceMarkSwitchesTheFaceWhereItStandsAndDrawsNothing) {
    win->SetFace(0);
    const ui::Bitmap face0 = win->m_ImgFace->Picture();
    win->SetText(B5("花F3草"));
    std::vector<ui::Point> pens = Steps(*win);
    // Three calls: a cell, the mark (pen unchanged), a cell right beside the first.
    ASSERT_EQ(pens.size(), 3u);
    EXPECT_EQ(pens[0], (ui::Point{34, 14}));
    EXPECT_EQ(pens[1], (ui::Point{34, 14}));
    EXPECT_EQ(pens[2], (ui::Point{54, 14}));
    EXPECT_TRUE(CellDrawn(*win, 14, 14));
    EXPECT_TRUE(CellDrawn(*win, 34, 14));
    EXPECT_FALSE(AnyDrawn(*win, Rect{54, 0, 480, 136}));
    // Face 3 is shown now: a different picture from face 0.
    EXPECT_NE(golden_pixels(win->m_ImgFace->Picture()), golden_pixels(face0));
    win->SetFace(3);
    const ui::Bitmap face3 = win->m_ImgFace->Picture();
    win->SetFace(0);
    win->SetText(B5("F3"));
    win->Tick();
    EXPECT_EQ(golden_pixels(win->m_ImgFace->Picture()), golden_pixels(face3));
}

TEST_F(MessageWindowTest, MarksWithoutAFaceLeaveTheFaceAsItIs) {
    win->SetFace(2);
    const std::vector<std::uint32_t> before = golden_pixels(win->m_ImgFace->Picture());
    for (const char* text : {"F", "f@", "F99", "F54", "Fx"}) {
        SCOPED_TRACE(text);
        win->SetText(text);
        win->Tick();
        EXPECT_EQ(golden_pixels(win->m_ImgFace->Picture()), before);
        EXPECT_TRUE(win->TestState(kMsgAllTyped));
    }
}

TEST_F(MessageWindowTest, TrailBytesThatLookLikeMarksStayInTheirCharacter) {
    // 0xA440 is a character whose trail byte is the at sign; 0xA446 ends in "F", 0xA447
    // in "G", 0xA466 in "f": each is one cell, no break, no face, no glyph.
    win->SetFace(0);
    const std::vector<std::uint32_t> face = golden_pixels(win->m_ImgFace->Picture());
    win->SetText("\xA4\x40\xA4\x46\x33\xA4\x47\x31\xA4\x66");
    std::vector<ui::Point> pens = Steps(*win);
    // Cells at 14, 34 ("3" skipped), 54 ("1" skipped), 74: four cells, one line.
    EXPECT_EQ(pens.back(), (ui::Point{94, 14}));
    for (int x : {14, 34, 54, 74}) EXPECT_TRUE(CellDrawn(*win, x, 14)) << x;
    EXPECT_FALSE(AnyDrawn(*win, Rect{0, 40, 480, 136}));
    EXPECT_EQ(golden_pixels(win->m_ImgFace->Picture()), face);
}

TEST_F(MessageWindowTest, AGlyphMarkTakesOneCellAndDrawsNothing) {
    win->SetText(B5("花G1草"));
    win->Tick();
    EXPECT_TRUE(CellDrawn(*win, 14, 14));
    EXPECT_FALSE(CellDrawn(*win, 34, 14));
    EXPECT_TRUE(CellDrawn(*win, 54, 14));
}

TEST_F(MessageWindowTest, ALongLineWrapsAtThePageWidth) {
    // 23 cells fit between x = 14 and 480; the 24th starts the second line.
    std::string text;
    for (int i = 0; i < 24; ++i) text += B5("花");
    win->ShowMessage(text);
    EXPECT_TRUE(CellDrawn(*win, 14 + 22 * 20, 14));
    EXPECT_TRUE(CellDrawn(*win, 14, 40));
    EXPECT_FALSE(CellDrawn(*win, 34, 40));
}

TEST_F(MessageWindowTest, APlainMessageKeepsBit3AndShowsNoEndButton) {
    for (bool bit3 : {true, false}) {
        SCOPED_TRACE(bit3);
        win->SetState(kMsgEndButton, bit3);
        win->ShowMessage(B5("該做什麼好呢？"));
        EXPECT_EQ(win->TestState(kMsgEndButton), bit3);
        EXPECT_FALSE(win->m_BtnEnd->Visible());
        EXPECT_TRUE(CellDrawn(*win, 14, 14));
        // The 200 ms ticks that follow neither type it again nor show the end button.
        win->Tick();
        headless.RunFor(500);
        EXPECT_FALSE(win->m_BtnEnd->Visible());
    }
}

TEST_F(MessageWindowTest, APlainMessageIsRecordedAndDoesNotWait) {
    ui::ScopedTranscript transcript;
    const std::uint32_t before = headless.Now();
    win->ShowMessage(B5("沒有任何訊息。"));
    EXPECT_EQ(headless.Now(), before);
    EXPECT_EQ(transcript->Texts("message"), std::vector<std::string>{"沒有任何訊息。"});
}

TEST_F(MessageWindowTest, ALineShowsTheEndButtonAndOneClickAcknowledgesIt) {
    win->SetText(B5("緹菈「早安。"));
    EXPECT_FALSE(win->TestState(kMsgAcknowledged));
    win->Tick();
    EXPECT_TRUE(win->TestState(kMsgAllTyped));
    EXPECT_TRUE(win->m_BtnEnd->Visible());
    ClickEndButton();
    headless.RunUntil([&] { return win->TestState(kMsgAcknowledged); });
    EXPECT_FALSE(win->m_BtnEnd->Visible());
    EXPECT_TRUE(win->m_Text.empty());
    EXPECT_FALSE(AnyDrawn(*win, Rect{0, 0, 480, 136}));
}

// A letter drawn again looks the same; in another colour or face it takes them.
TEST_F(MessageWindowTest, ALetterAgainLooksTheSameUnlessItsColourOrFaceChanged) {
    const auto cell = [&](int k) {
        const int s = win->m_CharSize;
        std::vector<std::uint32_t> px;
        for (int j = 0; j < s; ++j)
            for (int i = 0; i < s; ++i)
                px.push_back(
                    win->TextBitmap().GetPixel(win->m_OriginX + k * s + i, win->m_OriginY + j));
        return px;
    };
    const auto has = [](const std::vector<std::uint32_t>& px, ui::TColor c) {
        return std::find(px.begin(), px.end(), c) != px.end();
    };
    win->m_TextColor = ui::clRed;
    win->SetText(B5("花花"));
    win->Tick();
    const std::vector<std::uint32_t> red = cell(0);
    EXPECT_TRUE(has(red, ui::clRed));
    EXPECT_EQ(cell(1), red);
    win->m_TextColor = ui::clBlue;
    win->SetText(B5("花"));
    win->Tick();
    const std::vector<std::uint32_t> blue = cell(0);
    EXPECT_TRUE(has(blue, ui::clBlue));
    EXPECT_FALSE(has(blue, ui::clRed));
    win->SetFontName(ui::kFaceMing);  // the window writes in kai
    win->SetText(B5("花"));
    win->Tick();
    EXPECT_TRUE(has(cell(0), ui::clBlue));
    EXPECT_NE(cell(0), blue);
}

TEST_F(MessageWindowTest, APageFullCutIsAcknowledgedWholeByOneClick) {
    // Far more than four lines: the page takes what fits before the end button.
    std::string text;
    for (int i = 0; i < 150; ++i) text += B5("花");
    win->SetText(text);
    win->Tick();
    EXPECT_TRUE(win->TestState(kMsgPageFull));
    EXPECT_FALSE(win->TestState(kMsgAllTyped));
    EXPECT_TRUE(win->m_BtnEnd->Visible());
    // Four lines are drawn (the last one stops at the end button), nothing below them.
    EXPECT_TRUE(CellDrawn(*win, 14, 92));
    EXPECT_FALSE(AnyDrawn(*win, Rect{0, 113, 480, 136}));
    const Rect end = win->EndButtonPageRect();
    EXPECT_FALSE(AnyDrawn(*win, end));
    EXPECT_LT(win->m_TypePos, static_cast<int>(text.size()));
    // Further ticks draw nothing more.
    const std::vector<std::uint32_t> page = golden_pixels(win->TextBitmap());
    win->Tick();
    EXPECT_EQ(golden_pixels(win->TextBitmap()), page);
    ClickEndButton();
    headless.RunUntil([&] { return win->TestState(kMsgAcknowledged); });
    EXPECT_FALSE(win->TestState(kMsgPageFull));
    EXPECT_TRUE(win->m_Text.empty());
    EXPECT_FALSE(win->m_BtnEnd->Visible());
    win->Tick();
    EXPECT_FALSE(AnyDrawn(*win, Rect{0, 0, 480, 136}));
}

TEST_F(MessageWindowTest, NoCellIsDrawnOutsideTheTextArea) {
    // A plain message has no end button to stop at: it fills the four lines and is cut.
    std::string text;
    for (int i = 0; i < 150; ++i) text += B5("國");
    win->ShowMessage(text);
    EXPECT_TRUE(win->TestState(kMsgPageFull));
    EXPECT_TRUE(CellDrawn(*win, 14 + 22 * 20, 92));
    EXPECT_FALSE(AnyDrawn(*win, Rect{0, 0, 480, 13}));
    EXPECT_FALSE(AnyDrawn(*win, Rect{0, 0, 13, 136}));
    EXPECT_FALSE(AnyDrawn(*win, Rect{0, 136 - 13, 480, 136}));
}

TEST_F(MessageWindowTest, FourCommandIdsGiveThreeButtonsAndOne) {
    const int ids[4] = {5, 0, 2, 4};
    const Rect page = win->PageRect();
    headless.Backend().AddResponder([&] {
        if (!win->m_MenuMode) return false;
        EXPECT_EQ(win->m_BtnCount, 4);
        EXPECT_EQ(win->m_BtnRects[0], ui::Bounds(page.Left + 40, page.Top + 30, 120, 40));
        EXPECT_EQ(win->m_BtnRects[1], ui::Bounds(page.Left + 180, page.Top + 30, 120, 40));
        EXPECT_EQ(win->m_BtnRects[2], ui::Bounds(page.Left + 320, page.Top + 30, 120, 40));
        EXPECT_EQ(win->m_BtnRects[3], ui::Bounds(page.Left + 40, page.Top + 80, 120, 40));
        EXPECT_TRUE(win->m_BtnRects[4].IsEmpty());
        EXPECT_TRUE(win->m_BtnRects[5].IsEmpty());
        // The buttons are on the page: the command sheet's cells, not the background.
        EXPECT_TRUE(AnyDrawn(*win, ui::Bounds(40, 80, 120, 40)));
        EXPECT_FALSE(AnyDrawn(*win, ui::Bounds(180, 80, 120, 40)));
        const Rect r = win->m_BtnRects[3];
        ClickWindow(r.Left + 60, r.Top + 20, 0);
        headless.Backend().ClearResponders();
        return true;
    });
    ui::ScopedTranscript transcript;
    EXPECT_EQ(win->ChooseCommand(4, ids), 3);
    EXPECT_FALSE(win->m_MenuMode);
    EXPECT_FALSE(AnyDrawn(*win, Rect{0, 0, 480, 136}));
    EXPECT_EQ(transcript->Texts("menu"), std::vector<std::string>{"5 0 2 4"});
    EXPECT_EQ(transcript->Texts("command"), std::vector<std::string>{"4"});
}

TEST_F(MessageWindowTest, AClickOnACommandRectangleEdgeChoosesIt) {
    const int ids[2] = {6, 8};
    const Rect page = win->PageRect();
    const Rect r0 = ui::Bounds(page.Left + 40, page.Top + 30, 120, 40);
    const Rect r1 = ui::Bounds(page.Left + 180, page.Top + 30, 120, 40);
    struct Case {
        ui::Point p;
        int expect;
    };
    const Case cases[] = {
        {{r0.Left, r0.Top}, 0},  {{r0.Right, r0.Bottom}, 0},     {{r1.Left, r1.Bottom}, 1},
        {{r1.Right, r1.Top}, 1}, {{r0.Left + 5, r0.Top + 5}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
        headless.Backend().AddResponder([&] {
            if (!win->m_MenuMode) return false;
            // A press just outside first: nothing is chosen (the window is dragged
            // nowhere), then the press on the edge.
            ClickWindow(r0.Left - 1, r0.Top - 1, 0);
            ClickWindow(c.p.x, c.p.y, 10);
            headless.Backend().ClearResponders();
            return true;
        });
        EXPECT_EQ(win->ChooseCommand(2, ids), c.expect);
    }
}

TEST_F(MessageWindowTest, ACommandMenuWithNoButtonDoesNotWait) {
    EXPECT_EQ(win->ChooseCommand(0, nullptr), -1);
    const int ids[1] = {5};
    EXPECT_EQ(win->ChooseCommand(1, nullptr), -1);
    (void)ids;
}

TEST_F(MessageWindowTest, DraggingThePanelMovesTheWindow) {
    const int left = win->Left(), top = win->Top();
    const ui::Point p = Screen(300, 120);
    headless.Backend().Move(p.x, p.y);
    headless.Backend().MouseDown(p.x, p.y, ui::MouseButton::mbLeft, 0, 10);
    headless.Backend().Move(p.x - 50, p.y - 100, 10);
    headless.Backend().MouseUp(p.x - 50, p.y - 100, ui::MouseButton::mbLeft, 0, 10);
    headless.RunFor(200);
    EXPECT_EQ(win->Left(), left - 50);
    EXPECT_EQ(win->Top(), top - 100);
    EXPECT_FALSE(win->TestState(kMsgDragging));
}

TEST_F(MessageWindowTest, TheDodgeMovesBetweenItsTwoPositions) {
    const ui::Point a{0, 276};
    const ui::Point b{0, 0};
    win->SetBounds(a.x, a.y, win->Width(), win->Height());
    win->SavePosition(a, b, Rect{0, 0, 644, 476});
    // Over the page, left of its last quarter: the window jumps to B...
    ui::Point p = Screen(300, 120);
    headless.Backend().Move(p.x, p.y, 10);
    headless.RunFor(50);
    EXPECT_EQ(win->Top(), b.y);
    // ...and from B back to A.
    p = Screen(300, 120);
    headless.Backend().Move(p.x, p.y, 10);
    headless.RunFor(50);
    EXPECT_EQ(win->Top(), a.y);
    // In the last quarter of the page it stays.
    p = Screen(160 + 480 - 100, 120);
    headless.Backend().Move(p.x, p.y, 10);
    headless.RunFor(50);
    EXPECT_EQ(win->Top(), a.y);
    // While the end button shows it stays too.
    win->SetText(B5("早安。"));
    win->Tick();
    p = Screen(300, 120);
    headless.Backend().Move(p.x, p.y, 10);
    headless.RunFor(50);
    EXPECT_EQ(win->Top(), a.y);
    // Restored and disarmed.
    win->m_BtnEndClick();
    win->SetBounds(0, 0, win->Width(), win->Height());
    win->RestorePosition();
    EXPECT_EQ(win->Top(), a.y);
    EXPECT_FALSE(win->m_Dodge);
    p = Screen(300, 120);
    headless.Backend().Move(p.x, p.y, 10);
    headless.RunFor(50);
    EXPECT_EQ(win->Top(), a.y);
}

TEST_F(MessageWindowTest, HidingTheTextPartLeavesOnlyTheFaceInTheRegion) {
    win->HideForChoice();
    EXPECT_TRUE(win->WindowRegion()->Contains(80, 92));
    EXPECT_FALSE(win->WindowRegion()->Contains(400, 120));
    win->ShowAfterChoice();
    EXPECT_TRUE(win->WindowRegion()->Contains(400, 120));
}

TEST_F(MessageWindowTest, ClearFaceLeavesNoFaceVisible) {
    win->ClearFace();
    EXPECT_FALSE(win->WindowRegion()->Contains(80, 92));
    EXPECT_TRUE(win->WindowRegion()->Contains(400, 120));
    win->SetFace(1);
    EXPECT_TRUE(win->WindowRegion()->Contains(80, 92));
}

TEST_F(MessageWindowTest, TheHideButtonHidesAndTheCloseRequestIsRefused) {
    win->Close();
    EXPECT_TRUE(win->Visible());
    const Rect r = win->m_BtnHide->BoundsRect();
    ClickWindow(r.Left + 5, r.Top + 5);
    headless.RunUntil([&] { return !win->Visible(); });
}

TEST_F(MessageWindowTest, EndFaceMarksDropsWhatACutPageLeftUntyped) {
    std::string text;
    for (int i = 0; i < 150; ++i) text += B5("花");
    text += "F5";
    win->SetText(text);
    win->Tick();
    ASSERT_TRUE(win->TestState(kMsgPageFull));
    win->EndFaceMarks();
    EXPECT_TRUE(win->m_Text.empty());
}

TEST(FullWidthDigits, DigitsBecomeTwoByteCharactersAndTheRestStays) {
    EXPECT_EQ(ToFullWidthDigits("12"), "\xA2\xB0\xA2\xB1");
    EXPECT_EQ(ToFullWidthDigits("a9"), "a\xA2\xB8");
    // A trail byte is never taken for a digit; a lone lead byte at the end is kept.
    EXPECT_EQ(ToFullWidthDigits("\xA4\x40"
                                "0"),
              "\xA4\x40\xA2\xAF");
    EXPECT_EQ(ToFullWidthDigits("\xA4"), "\xA4");
    EXPECT_EQ(ToFullWidthDigits(""), "");
}

TEST(MessageWindowData, TheGameFolderHoldsThePagesSheetsAndFiftyTwoFacesInBothArtFolders) {
    test::HeadlessApp app;
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
    TQvPack pack;
    ASSERT_TRUE(pack.OpenPack(kMsgWinPack));
    for (const char* name : {kMsgBackMember, kMsgHideMember, kMsgSwitchMember}) {
        std::unique_ptr<TMemoryStream> s = pack.QvMakeStream(name);
        ASSERT_TRUE(s) << name;
        ui::Bitmap bm;
        EXPECT_TRUE(bm.LoadFromMemory(s->Bytes())) << name;
    }
    pack.ClosePack();
    for (const char* folder : {"col24b\\palFace\\palFace.pak", "col8b\\palFace\\palFace.pak"}) {
        ASSERT_TRUE(pack.OpenPack(folder)) << folder;
        for (int n = 0; n < 52; ++n) {
            char name[16];
            std::snprintf(name, sizeof name, "par%02d.bmp", n);
            std::unique_ptr<TMemoryStream> s = pack.QvMakeStream(name);
            ASSERT_TRUE(s) << folder << " " << name;
            ui::Bitmap bm;
            ASSERT_TRUE(bm.LoadFromMemory(s->Bytes())) << name;
            // The key colour around the figure, the figure in the middle.
            EXPECT_EQ(bm.GetPixel(0, 0), ui::RGB(255, 0, 255)) << name;
            EXPECT_NE(bm.GetPixel(80, 92), ui::RGB(255, 0, 255)) << name;
        }
        pack.ClosePack();
    }
}

TEST(MessageWindowData, WithoutItsPicturesTheWindowStillTypesAndAcknowledges) {
    test::HeadlessApp app;
    ui::SetProgramFolder(test::ScratchDir("msgwin_nodata"));
    std::vector<std::string> boxes;
    app.Backend().SetMessageBoxResponder([&](const ui::MessageBoxRequest& r) {
        boxes.push_back(ui::Big5ToUtf8(r.text));
        return ui::IDOK;
    });
    {
        TDbTxtForm2 win;
        win.m_FaceFolder = "\\col24b\\palFace";
        win.LoadFaces();  // no pack: plain page, no face
        // The player hears which files are missing.
        EXPECT_EQ(boxes, (std::vector<std::string>{"沒有檔案\nData\\MsgWin.pak",
                                                   "沒有檔案\ncol24b\\palFace\\palFace.pak"}));
        EXPECT_EQ(win.PageRect(), (Rect{0, 0, 480, 136}));
        EXPECT_TRUE(win.m_ImgFace->Picture().Empty());
        win.Show();
        win.SetText(ui::Utf8ToBig5("早安。F3"));
        win.Tick();
        EXPECT_TRUE(win.TestState(kMsgAllTyped));
        EXPECT_TRUE(CellDrawn(win, 14, 14));
        EXPECT_TRUE(win.m_BtnEnd->Visible());
        win.m_BtnEndClick();
        EXPECT_TRUE(win.TestState(kMsgAcknowledged));
        const int ids[2] = {5, 0};
        app.Backend().AddResponder([&] {
            if (!win.m_MenuMode) return false;
            const Rect r = win.m_BtnRects[0];
            app.Backend().Click(win.Left() + r.Left + 1, win.Top() + r.Top + 1);
            app.Backend().ClearResponders();
            return true;
        });
        EXPECT_EQ(win.ChooseCommand(2, ids), 0);
    }
    ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
}

}  // namespace
