// The event stage: picture codes and their tables, loading, the transitions step by
// step, figures with their pose swap and centre slide, and the event frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "skin/BcPanel.h"
#include "skin/CHBCBTN.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvControler.h"
#include "town/EvPictures.h"
#include "town/Evsrvfm.h"
#include "town/Mdpform.h"

namespace {

using Strings = std::vector<std::string>;

// --- Tables ---

TEST(PictureTables, FigureGroupCountsTheLeadingStartsUpToThePose) {
    const std::pair<int, int> cases[] = {{0, 1},   {4, 1},   {5, 2},   {7, 2},  {8, 3},
                                         {11, 3},  {12, 4},  {19, 4},  {20, 5}, {34, 8},
                                         {46, 14}, {47, 15}, {57, 15}, {3, 1},  {1, 1}};
    for (auto [pose, group] : cases) EXPECT_EQ(FigureGroupOf(pose), group) << pose;
}

TEST(PictureTables, CodesNameTheMembersOfTheirKind) {
    const std::pair<int, const char*> cases[] = {
        {0x000, "fcSak_00.bmp"},
        {0x004, "fcSak_04.bmp"},
        {0x00F, "fcRn0_03.bmp"},
        {0x010, "fcRn1_04.bmp"},  // the second set goes on numbering
        {0x016, "fcRn2_02.bmp"},
        {0x021, "fcCo1_04.bmp"},
        {0x022, "fcMot_00.bmp"},
        {0x02A, "fcBoy_01.bmp"},
        {0x02B, "fcFl0_00.bmp"},
        {0x037, "fcFl1_08.bmp"},
        {0x038, "Nobody.bmp"},
        {0x039, "fcLaz_00.bmp"},
        {0x100, "bgpalf1.bmp"},
        {0x101, "bgpalf2.bmp"},
        {0x102, "bgpalf3.bmp"},
        {0x103, "dmy"},
        {0x104, "bgflof1.bmp"},
        {0x10D, "bgfun2.bmp"},
        {0x129, "bgpali1.bmp"},  // one picture for every hour
        {0x145, "bglib1.bmp"},   // the library's evening is its day picture
        {0x146, "bglib3.bmp"},
        {0x14A, "bgdst3.bmp"},
        {0x14C, "bgpalf1.bmp"},  // place 19 repeats the shop front
        {0x120, "dmy"},
        {0x122, "dmy"},
        {0x150, "bgshop2F0.bmp"},
        {0x151, "bgshop2F1.bmp"},
        {0x152, "bgshop2F2.bmp"},
        {0x153, "bgshop2F.bmp"},
        {0x154, "bgShop2F3.bmp"},
        {0x155, "bgShop2F3.bmp"},
        {0x200, "dmy"},
        {0x204, "bgfor1.bmp"},
        {0x207, "bgfor4.bmp"},
        {0x20C, "bgfal1.bmp"},
        {0x22C, "bggmhf1.bmp"},
        {0x233, "bggmhr1.bmp"},  // one picture for all four
        {0x300, "evg00.bmp"},
        {0x32C, "evg44.bmp"},
        {0x32D, "evg09_1.bmp"},
        {0x32E, "evg45.BMP"},
        {0x32F, "evg46.bmp"},
        {0x331, "evg48.bmp"},
        {0x332, "pal_01.bmp"},
        {0x333, "pal_02.bmp"},
        {0x334, "\\mivuto_s.avi"},
        {0x336, "\\mivuto_s.avi"},
        {0x33E, "win_mes2.bmp"},
    };
    for (auto [code, name] : cases) EXPECT_EQ(PictureMemberName(code, false), name) << code;
    EXPECT_EQ(std::string(GrPackNames[0]), "FC_PACK.pak");
    EXPECT_EQ(std::string(GrPackNames[3]), "evGraph.pak");
}

TEST(PictureTables, CaptionsAreTheCataloguesLabels) {
    const std::pair<int, const char*> cases[] = {
        {0x000, "普通"},
        {0x010, "泳裝‧普通"},
        {0x039, "普通拉撒魯斯"},
        {0x10D, "中央噴水廣場（夕）"},
        {0x146, "圖書館（魔法學院裡）（夜）"},
        {0x150, "背景‧上半身起床"},
        {0x103, ""},  // variant 3, place 8, place 19 and place 21 are not catalogued
        {0x120, ""},
        {0x14C, ""},
        {0x154, ""},
        {0x200, ""},  // nor the town node of the land map
        {0x207, "：森林裡（雨）"},
        {0x20C, "；瀑布（晝）"},
        {0x22F, "：森林的獨立小屋（雨）大魔法師婆婆的家前面"},
        {0x31F, ""},
        {0x320, "與可可特接吻"},
        {0x331, "可可特、結局訊息。"},
        {0x332, ""},
        {-1, ""},
    };
    for (auto [code, caption] : cases) EXPECT_EQ(PictureCaption(code), caption) << code;
    EXPECT_STREQ(FigureCharacter(16), "蕾妮特");
    EXPECT_STREQ(FigureCharacter(56), "");
    EXPECT_STREQ(TownPlaceCaption(12), "芙蘿蕾的部屋");
    EXPECT_STREQ(LandPlaceCaption(44), "大魔法師的家中");
}

TEST(PictureTables, LateLandTakesTheFourthVariantOfThePlace) {
    for (int code : {0x204, 0x205, 0x206, 0x207})
        EXPECT_EQ(PictureMemberName(code, true), "bgfor4.bmp") << code;
    EXPECT_EQ(PictureMemberName(0x101, true), "bgpalf2.bmp");  // the town is not affected
}

TEST(PictureTables, CodesThatNameNothingGiveNoName) {
    for (int code : {-1, -256, 0x03A, 0x0FF, 0x156, 0x157, 0x158, 0x234, 0x337, 0x33D, 0x33F, 0x400,
                     0x10100, 0x7FFFFFFF})
        EXPECT_EQ(PictureMemberName(code, false), "") << code;
}

TEST(PictureTables, PlaceCodeFollowsTheHour) {
    struct Case {
        int place, hour, code;
    };
    const Case cases[] = {{3, 8, 0x10C},   {3, 16, 0x10C},  {3, 17, 0x10D},  {3, 18, 0x10D},
                          {3, 19, 0x10E},  {3, 7, 0x10E},   {3, 0, 0x10E},   {32, 12, 0x200},
                          {33, 12, 0x204}, {37, 20, 0x216}, {20, 10, 0x150}, {20, 23, 0x152}};
    for (const Case& c : cases)
        EXPECT_EQ(TEventServerDbg::PlaceGrCode(c.place, c.hour), c.code)
            << c.place << " " << c.hour;
}

// --- Pixel steps on tiny fixtures ---

bool Same(const ui::Bitmap& a, const ui::Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
    return true;
}

ui::Bitmap Solid(int w, int h, ui::TColor c) {
    ui::Bitmap b(w, h);
    b.GetCanvas().Brush.Color = c;
    b.GetCanvas().FillRect(ui::Rect{0, 0, w, h});
    return b;
}

int WhiteCount(const ui::Bitmap& b) {
    int n = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) n += b.GetPixel(x, y) == ui::clWhite;
    return n;
}

TEST(StagePixels, BrushesThinOutInNestedSteps) {
    const int white[8] = {60, 56, 48, 32, 24, 16, 8, 4};
    for (int k = 0; k < 8; ++k) {
        const ui::Bitmap b = LoadBrushPattern(k);
        ASSERT_EQ(b.Width(), 8);
        EXPECT_EQ(WhiteCount(b), white[k]) << k;
        if (k > 0) {
            const ui::Bitmap before = LoadBrushPattern(k - 1);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    if (before.GetPixel(x, y) == ui::clBlack) {
                        EXPECT_EQ(b.GetPixel(x, y), ui::clBlack) << k << " " << x << "," << y;
                    }
        }
    }
    // Brush 3 is the checkerboard.
    const ui::Bitmap b3 = LoadBrushPattern(3);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(b3.GetPixel(x, y) == ui::clWhite,
                      b3.GetPixel(0, 0) == ui::clWhite ? (x + y) % 2 == 0 : (x + y) % 2 == 1);
}

// Brush 3's white squares: where (x + y) has the parity of its white corner.
bool CheckerWhite(int x, int y) {
    static const bool whiteAtOrigin = LoadBrushPattern(3).GetPixel(0, 0) == ui::clWhite;
    return ((x + y) % 2 == 0) == whiteAtOrigin;
}

// Each loaded pattern and its inverse cover every pixel between them, so the incoming
// picture shows through wherever the outgoing one is masked (the patterns keep their
// two colours in a palette: inverting the pixels' bytes gave black everywhere).
TEST(StagePixels, EachBrushAndItsInverseShareNoPixel) {
    for (int k = 0; k < 8; ++k) {
        const ui::Bitmap pattern = LoadBrushPattern(k);
        const ui::Bitmap inverse = InverseBrushPattern(pattern);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_NE(pattern.GetPixel(x, y) == ui::clWhite,
                          inverse.GetPixel(x, y) == ui::clWhite)
                    << k << " at " << x << "," << y;
    }
}

TEST(StagePixels, DissolveOutStepKeepsTheWorkUnderWhite) {
    ui::Bitmap work = Solid(8, 8, ui::RGB(200, 40, 20));
    DissolveOutStep(work, LoadBrushPattern(3));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(work.GetPixel(x, y), CheckerWhite(x, y) ? ui::RGB(200, 40, 20) : ui::clBlack);
}

TEST(StagePixels, DissolveInStepShowsTheSourceUnderTheInverse) {
    ui::Bitmap work = Solid(8, 8, ui::clBlack);
    const ui::Bitmap source = Solid(8, 8, ui::RGB(10, 220, 30));
    DissolveInStep(work, source, InverseBrushPattern(LoadBrushPattern(3)));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(work.GetPixel(x, y), CheckerWhite(x, y) ? ui::clBlack : ui::RGB(10, 220, 30));
}

TEST(StagePixels, CrossDissolveStepMixesWorkAndBack) {
    // Work 0x9966CC over back 0x3355AA: kept where the pattern is white, back elsewhere,
    // and a pixel already taken by back (black in the pattern before) stays back.
    ui::Bitmap work = Solid(8, 8, ui::RGB(0xCC, 0x66, 0x99));
    const ui::Bitmap back = Solid(8, 8, ui::RGB(0xAA, 0x55, 0x33));
    ui::Bitmap second;
    const ui::Bitmap p3 = LoadBrushPattern(3);
    CrossDissolveStep(work, second, back, p3, InverseBrushPattern(p3));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(work.GetPixel(x, y),
                      CheckerWhite(x, y) ? ui::RGB(0xCC, 0x66, 0x99) : ui::RGB(0xAA, 0x55, 0x33));
    const ui::Bitmap p7 = LoadBrushPattern(7);
    CrossDissolveStep(work, second, back, p7, InverseBrushPattern(p7));
    int kept = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool stays = p7.GetPixel(x, y) == ui::clWhite;
            EXPECT_EQ(work.GetPixel(x, y),
                      stays ? ui::RGB(0xCC, 0x66, 0x99) : ui::RGB(0xAA, 0x55, 0x33));
            kept += stays;
        }
    EXPECT_EQ(kept, 4);
}

TEST(StagePixels, FigureTopLeftColourIsTransparent) {
    ui::Bitmap target = Solid(6, 6, ui::RGB(90, 90, 90));
    ui::Bitmap fig = Solid(4, 4, ui::RGB(255, 0, 255));
    fig.SetPixel(1, 1, ui::RGB(0, 0, 200));
    fig.SetPixel(2, 1, ui::clBlack);
    fig.SetPixel(1, 2, ui::RGB(250, 250, 250));
    fig.SetPixel(2, 2, ui::RGB(0, 0, 200));
    DrawTransparent(target, fig, 1, 2);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            ui::TColor want = ui::RGB(90, 90, 90);
            if (x == 2 && y == 3) want = ui::RGB(0, 0, 200);
            if (x == 3 && y == 3) want = ui::clBlack;
            if (x == 2 && y == 4) want = ui::RGB(250, 250, 250);
            if (x == 3 && y == 4) want = ui::RGB(0, 0, 200);
            EXPECT_EQ(target.GetPixel(x, y), want) << x << "," << y;
        }
}

// --- The stage on the generated game folder ---

class StageTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        GameFlow = new TEvControler();
        ev = EventServerDbg;
        EventServerHooks = TEventServerHooks{};
        SetGameDay(20);
        SetGameHour(10);
    }
    void TearDown() override {
        EventServerHooks = TEventServerHooks{};
        delete GameFlow;
        GameFlow = nullptr;
    }
    // Picture `code` as LoadPicture gives it, at the stage's format.
    ui::Bitmap Picture(int code) {
        ui::Bitmap b(kStageWidth, kStageHeight);
        const std::uint8_t keep = ev->m_AlbumMode;
        ev->m_AlbumMode = 1;
        EXPECT_TRUE(ev->LoadPicture(b, code)) << code;
        ev->m_AlbumMode = keep;
        return b;
    }
    ui::TColor StageAt(int x, int y) const { return ev->m_Img->Picture().GetPixel(x, y); }
    Strings Kinds(const char* kind) { return transcript->Texts(kind); }

    TEventServerDbg* ev = nullptr;
    ui::ScopedTranscript transcript;
};

// The stage's bar names its buttons as the shop's top bar names the same dialogs.
TEST_F(StageTest, MenuButtonsAreNamedAsTheShopsBar) {
    EXPECT_EQ(ui::Big5ToUtf8(ev->m_BtnStatus->Caption()), "狀態");
    EXPECT_EQ(ui::Big5ToUtf8(ev->m_BtnNote->Caption()), "記事本");
    EXPECT_EQ(ui::Big5ToUtf8(ev->m_BtnOpt->Caption()), "選項");
}

TEST_F(StageTest, EventPictureTenSetsFlag42AndHidesTheClockUntilEventEnd) {
    bool clockShown = true;
    Strings clockCalls;
    EventServerHooks.ClockVisible = [&] { return clockShown; };
    EventServerHooks.ShowClock = [&](bool show) {
        clockShown = show;
        clockCalls.push_back(show ? "show" : "hide");
    };
    ev->EventBegin();
    ev->DspGr(0x30A);
    EXPECT_TRUE(ev->TestFlg(42));
    EXPECT_FALSE(clockShown);
    EXPECT_TRUE(ev->IsPictureSeen(10));
    ev->EventEnd();
    EXPECT_TRUE(clockShown);
    EXPECT_EQ(clockCalls, (Strings{"hide", "show"}));
}

TEST_F(StageTest, SeenFlagsStopBeforeTheEndingFlags) {
    ui::Bitmap b;
    ev->m_AlbumMode = 1;
    ev->LoadPicture(b, 0x337 + 1);  // picture 56: an empty entry, nothing at all
    ev->LoadPicture(b, 0x33E);      // picture 62: the message frame
    for (int n = 88; n <= 95; ++n) EXPECT_FALSE(ev->TestFlg(n)) << n;
    ev->LoadPicture(b, 0x337);  // picture 55 (empty name): names nothing
    EXPECT_FALSE(ev->TestFlg(87));
    ev->LoadPicture(b, 0x333);  // picture 51
    EXPECT_TRUE(ev->TestFlg(83));
}

TEST_F(StageTest, HostilePictureCodesChangeNothing) {
    ev->SetGr(0x104);  // town place 1, day
    const ui::Bitmap stage = ev->m_Img->Picture();
    const ui::Bitmap work = ev->WorkBitmap();
    const auto flags = ev->EventFlags;
    const int background = ev->CurrentBackground();
    transcript->Clear();
    const std::uint32_t start = headless.Now();
    // A negative code loads nothing (DspGr, DissolveToGr and WhiteIn take it for the
    // current background instead).
    ui::Bitmap small(3, 3);
    EXPECT_FALSE(ev->LoadPicture(small, -2));
    ev->SetGr(-2);
    ev->ShowFigure(-2, 1);
    for (int code : {0x03A, 0x158, 0x234, 0x33F, 0x400, 0x7FFF, 0x10100}) {
        ui::Bitmap target(3, 3);
        EXPECT_FALSE(ev->LoadPicture(target, code)) << code;
        EXPECT_EQ(target.Width(), 3);
        ev->DspGr(code);
        ev->SetGr(code);
        EXPECT_FALSE(ev->DissolveToGr(code));
        ev->WhiteIn(code);
        ev->ShowFigure(code, 1);
    }
    ev->ShowFigure(1, 3);
    ev->ShowFigure(1, -1);
    EXPECT_EQ(ev->EventFlags, flags);
    EXPECT_EQ(ev->CurrentBackground(), background);
    EXPECT_TRUE(Same(ev->m_Img->Picture(), stage));
    EXPECT_TRUE(Same(ev->WorkBitmap(), work));
    EXPECT_TRUE(transcript->Entries().empty());
    EXPECT_EQ(headless.Now(), start);
}

TEST_F(StageTest, FirstPictureOfAnEventDissolvesInAndTheNextCrossDissolves) {
    ev->HideStage();
    ev->m_TransitionOn = 0;
    ev->EventBegin();  // the stage is hidden: the first picture comes in from black
    const std::uint32_t t0 = headless.Now();
    ev->DspGr(0x104);
    EXPECT_TRUE(ev->Visible());
    EXPECT_GT(headless.Now() - t0, 800u);
    EXPECT_EQ(Kinds("transition"), (Strings{"dissolve-in"}));
    EXPECT_TRUE(Same(ev->m_Img->Picture(), Picture(0x104)));
    const std::uint32_t t1 = headless.Now();
    ev->DspGr(0x30B);
    EXPECT_GT(headless.Now() - t1, 800u);
    EXPECT_EQ(Kinds("transition"), (Strings{"dissolve-in", "cross-dissolve"}));
    EXPECT_TRUE(Same(ev->m_Img->Picture(), Picture(0x30B)));
    EXPECT_TRUE(Same(ev->SourceBitmap(), Picture(0x30B)));
    EXPECT_EQ(ev->CurrentBackground(), 0x30B);
    ev->EventEnd();
}

TEST_F(StageTest, DspGrDissolveComesInFromBlackAgain) {
    ev->SetGr(0x104);
    ev->DspGrDissolve(0x108);
    EXPECT_EQ(Kinds("transition"), (Strings{"dissolve-in"}));
    EXPECT_TRUE(Same(ev->m_Img->Picture(), Picture(0x108)));
}

TEST_F(StageTest, PoseOfTheSameCharacterSwapsAtOnce) {
    ev->SetGr(0x104);
    ev->ShowFigure(3, 1);
    EXPECT_EQ(Kinds("transition"), (Strings{"cross-dissolve"}));
    transcript->Clear();
    const std::uint32_t t0 = headless.Now();
    ev->ShowFigure(1, 1);
    EXPECT_EQ(headless.Now(), t0);
    EXPECT_EQ(Kinds("transition"), Strings{});
    EXPECT_EQ(Kinds("figure"), (Strings{"show 1 centre"}));
    EXPECT_EQ(ev->FigureOf(1), 1);
    // Another character: the old one dissolves out, the new one in.
    ev->ShowFigure(5, 1);
    EXPECT_EQ(Kinds("figure"), (Strings{"show 1 centre", "clear centre", "show 5 centre"}));
    EXPECT_EQ(Kinds("transition"), (Strings{"cross-dissolve", "cross-dissolve"}));
    EXPECT_GT(headless.Now() - t0, 1600u);
    EXPECT_EQ(ev->FigureOf(1), 5);
}

TEST_F(StageTest, FigureStandsOnTheBottomEdgeWithItsKeyTransparent) {
    ev->SetGr(0x104);
    ev->ShowFigure(0, 0);
    ev->ShowFigure(8, 2);
    const ui::Bitmap bg = Picture(0x104);
    const ui::Bitmap left = Picture(0x000);
    const ui::Bitmap right = Picture(0x008);
    const ui::Bitmap& stage = ev->m_Img->Picture();
    const int top = kStageHeight - left.Height();
    // Left: x 0..w; the key colour shows the background.
    for (int y = 0; y < left.Height(); y += 7)
        for (int x = 0; x < left.Width(); x += 5) {
            const ui::TColor f = left.GetPixel(x, y);
            const ui::TColor want = f == left.GetPixel(0, 0) ? bg.GetPixel(x, top + y) : f;
            ASSERT_EQ(stage.GetPixel(x, top + y), want) << x << "," << y;
        }
    // Right: flush with the right edge, standing on the bottom edge at its own height.
    const int rx = kStageWidth - right.Width(), rtop = kStageHeight - right.Height();
    for (int y = 0; y < right.Height(); y += 7)
        for (int x = 0; x < right.Width(); x += 5) {
            const ui::TColor f = right.GetPixel(x, y);
            const ui::TColor want = f == right.GetPixel(0, 0) ? bg.GetPixel(rx + x, rtop + y) : f;
            ASSERT_EQ(stage.GetPixel(rx + x, rtop + y), want) << x << "," << y;
        }
}

TEST_F(StageTest, CentreFigureSlidesAsideBeforeALeftFigureEnters) {
    ev->SetGr(0x104);
    ev->ShowFigure(20, 1);
    transcript->Clear();
    const std::uint32_t t0 = headless.Now();
    ev->ShowFigure(5, 0);
    EXPECT_EQ(ev->FigureOf(0), 5);
    EXPECT_EQ(ev->FigureOf(1), -1);
    EXPECT_EQ(ev->FigureOf(2), 20);
    EXPECT_EQ(Kinds("transition"), (Strings{"slide centre to right", "cross-dissolve"}));
    EXPECT_GT(headless.Now() - t0, 200u + 800u);
    // Going right, the centre figure moves to the left.
    ev->ClearFigure(0);
    ev->ClearFigure(2);
    ev->ShowFigure(20, 1);
    ev->ShowFigure(5, 2);
    EXPECT_EQ(ev->FigureOf(0), 20);
    EXPECT_EQ(ev->FigureOf(2), 5);
}

TEST_F(StageTest, LateFlagPicksTheFourthLandVariant) {
    ev->SetFlg(flag::NightSearch, true);
    ev->ShowPlaceGr(33);
    ev->SetFlg(flag::NightSearch, false);
    EXPECT_EQ(Kinds("picture"), (Strings{"0x204 bgfor4.bmp"}));
    EXPECT_TRUE(Same(ev->m_Img->Picture(), Picture(0x207)));
}

TEST_F(StageTest, ClearWhiteAndShake) {
    ev->SetGr(0x108);
    EXPECT_TRUE(ev->ClearGr());
    EXPECT_TRUE(Same(ev->m_Img->Picture(), Solid(kStageWidth, kStageHeight, ui::clBlack)));
    ev->SetGr(0x108);
    ev->WhiteOut();
    EXPECT_TRUE(Same(ev->m_Img->Picture(), Solid(kStageWidth, kStageHeight, ui::clWhite)));
    ev->WhiteIn(0x30C);
    EXPECT_TRUE(Same(ev->m_Img->Picture(), Picture(0x30C)));
    transcript->Clear();
    const std::uint32_t t0 = headless.Now();
    ev->ShakeGr(12);
    // Bands in 8 steps, 15 swings, the dissolve back in 8: each step over 100 ms.
    EXPECT_GE(headless.Now() - t0, 31u * 101u);
    EXPECT_EQ(Kinds("sound").size(), 1u);
    EXPECT_TRUE(Same(ev->m_Img->Picture(), Picture(0x30C)));
    EXPECT_EQ(ev->m_TransitionRunning, 0);
}

TEST_F(StageTest, DissolveRefusesWhileATransitionRuns) {
    ev->SetGr(0x108);
    ev->m_TransitionRunning = 1;
    EXPECT_FALSE(ev->ClearGr());
    EXPECT_FALSE(ev->DissolveToGr(0x10C));
    EXPECT_TRUE(Same(ev->m_Img->Picture(), Picture(0x108)));
    ev->m_TransitionRunning = 0;
}

// Headless, a dissolve's steps are drawn only when something looks at the stage. A
// look between two steps, at the picture or at the screen, sees every step before it
// drawn, just as a screen showing each step would.
TEST_F(StageTest, ALookBetweenTheStepsOfADissolveSeesThemDrawn) {
    struct Case {
        std::function<void()> run;                   // the dissolve from 0x108
        std::function<void(ui::Bitmap&, int)> step;  // its step k, drawn at once
        ui::Bitmap end;
    };
    const ui::Bitmap to = Picture(0x10C);
    ui::Bitmap second;
    const Case cases[] = {
        {[&] { ev->DissolveToGr(0x10C); },
         [&](ui::Bitmap& w, int k) {
             const ui::Bitmap pattern = LoadBrushPattern(k);
             CrossDissolveStep(w, second, to, pattern, InverseBrushPattern(pattern));
         },
         to},
        {[&] { ev->ClearGr(); },
         [](ui::Bitmap& w, int k) { DissolveOutStep(w, LoadBrushPattern(k)); },
         Solid(kStageWidth, kStageHeight, ui::clBlack)},
    };
    for (const Case& c : cases) {
        ev->SetGr(0x108);
        std::vector<ui::Bitmap> seen;
        int looked = -1;
        const int id = headless.Backend().AddResponder([&] {
            const int k = ev->m_TransitionStep;
            if (!ev->m_TransitionRunning || k == looked || k % 2 == 0) return false;
            looked = k;
            if (k % 4 == 1) {
                (void)headless.App().GetScreen().Pixels();  // the screen's look draws them
                EXPECT_FALSE(ev->m_Img->Owed()) << k;
            }
            seen.push_back(ev->m_Img->Picture());
            return false;
        });
        c.run();
        headless.Backend().RemoveResponder(id);
        ASSERT_EQ(seen.size(), 4u);
        ui::Bitmap work = Picture(0x108);
        for (int k = 0; k < 8; ++k) {
            c.step(work, k);
            if (k % 2 == 1) {
                EXPECT_TRUE(Same(seen[k / 2], work)) << k;
            }
        }
        EXPECT_TRUE(Same(ev->m_Img->Picture(), c.end));
    }
}

// --- The frame ---

TEST_F(StageTest, EventEndInTheUpperRoomLeavesTheShopShown) {
    Strings shop;
    EventServerHooks.ShowShop = [&](bool show) { shop.push_back(show ? "show" : "hide"); };
    GameFlow->Place = place::HomeRooms;
    ev->EventBegin();
    EXPECT_FALSE(GameFlow->IsReady());
    EXPECT_EQ(ev->m_InEvent, 1);
    ev->DspGr(0x150);
    ev->EventEnd();
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_FALSE(ev->Visible());
    EXPECT_EQ(shop, (Strings{"hide", "show"}));
    EXPECT_TRUE(GameFlow->IsReady());
    EXPECT_EQ(ev->m_InEvent, 0);
    EXPECT_TRUE(ev->m_BtnStatus->Enabled());
}

TEST_F(StageTest, EventEndStopMusicForTheEndingsAndForTheMap) {
    MdpFm->OpenCdAudio();  // the controller's music form
    Strings calls;
    EventServerHooks.ShowShop = [&](bool show) {
        calls.push_back(show ? "show shop" : "hide shop");
    };
    EventServerHooks.ShowMap = [&](bool show) { calls.push_back(show ? "show map" : "hide map"); };
    GameFlow->Place = place::Square;
    ev->EventBegin();
    ev->ShowStage();
    MdpFm->PlayTrackLoop(10);
    ASSERT_EQ(MdpFm->CurrentTrack(), 10);
    ev->EventEndStopMusic(-1);
    EXPECT_EQ(calls, (Strings{"hide shop"}));
    EXPECT_EQ(MdpFm->CurrentTrack(), -1);
    EXPECT_FALSE(ev->Visible());
    EXPECT_TRUE(GameFlow->IsReady());

    calls.clear();
    GameFlow->Place = place::Forest;
    ev->EventBegin();
    ev->ShowStage();
    MdpFm->PlayTrackLoop(11);
    ev->EventEndStopMusic(163);
    EXPECT_EQ(calls, (Strings{"show map"}));
    EXPECT_EQ(MdpFm->CurrentTrack(), 11);  // the music plays on
    EXPECT_FALSE(ev->Visible());
    EXPECT_TRUE(GameFlow->IsReady());
    EXPECT_TRUE(ev->m_BtnOpt->Enabled());
}

TEST_F(StageTest, DebugStepWaitsForNextStepAfterAPicture) {
    Strings shown;
    ev->m_CbxDbg->SetChecked(true);
    headless.Backend().AddResponder([&] {
        if (ev->m_Step != 0 || ev->m_LblCommand->Caption() == "Command") return false;
        shown.push_back(ev->m_LblCommand->Caption());
        ev->m_LblCommand->SetCaption("Command");
        ev->m_BtnNxtClick();
        return true;
    });
    ev->DspGr(0x104);
    EXPECT_EQ(shown, (Strings{"DspGr"}));
}

TEST_F(StageTest, VoicePackIsOpenedWhereItLiesAndNeverCopied) {
    const std::string game = test::ScratchDir("evstage_voice_game");
    const std::string disc = test::ScratchDir("evstage_voice_disc");
    ui::SetProgramFolder(game);
    headless.AnswerMessageBoxes(ui::IDOK);  // the empty game folder's faces are missing
    ui::CreateDirectory(disc + "/qdv");
    ui::CreateDirectory(disc + "/qdv/wave");
    ui::CreateDirectory(disc + "/qdv/wave/intm");
    ASSERT_TRUE(ui::WriteFileAtomic(disc + "/qdv/wave/intm/evfm02.pak", "x", 1));
    TEventServerDbg::DiscFolder.clear();
    ev->EventBeginVoice(113);
    EXPECT_EQ(ev->m_VoicePackPath, "");
    ev->EventEnd();
    TEventServerDbg::DiscFolder = disc;
    ev->EventBeginVoice(114);  // not the first number of a pack: nothing
    EXPECT_EQ(ev->m_VoicePackPath, "");
    ev->EventEnd();
    ev->EventBeginVoice(113);
    EXPECT_NE(ev->m_VoicePackPath.find("qdv/wave/intm/evfm02.pak"), std::string::npos);
    ev->EventEnd();
    EXPECT_FALSE(ui::FileExists(game + "/wave/Intm/evfm02.pak"));
    EXPECT_TRUE(ui::FileExists(disc + "/qdv/wave/intm/evfm02.pak"));
    ui::CreateDirectory(game + "/wave");
    ui::CreateDirectory(game + "/wave/Intm");
    ASSERT_TRUE(ui::WriteFileAtomic(game + "/wave/Intm/evfm02.pak", "y", 1));
    ev->EventBeginVoice(113);
    EXPECT_NE(ev->m_VoicePackPath.find(game), std::string::npos);
    ev->EventEnd();
    EXPECT_TRUE(ui::FileExists(game + "/wave/Intm/evfm02.pak"));
    TEventServerDbg::DiscFolder.clear();
    ui::SetProgramFolder(ui::DefaultGameFolder());
}

TEST_F(StageTest, ScreenshotOfAPlaceWithTwoFigures) {
    SetGameHour(17);
    ev->ShowPlaceGr(3);
    ev->ShowFigure(0, 0);
    ev->ShowFigure(21, 2);
    headless.App().Update();
    const std::string dir = test::ScratchDir("evstage_shot");
    EXPECT_TRUE(headless.Backend().WriteScreenPng(dir + "/stage.png"));
}

}  // namespace

namespace {

TEST(FlagLookUp, NumbersNamesAndMisses) {
    const std::string names = "#define FLG_START 5\n#define FLG_HOTSPRING\t410\n#define FLG_X\n";
    struct Case {
        const char* text;
        int flag;
    };
    const Case cases[] = {
        {"42", 42},        {"7abc", 7}, {"FLG_START", 5}, {"FLG_HOTSPRING", 410},
        {"HOTSPRING", -1},  // not a whole word
        {"FLG_X", -1},      // no number after it
        {"FLG_NONE", -1},  {"", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(FlagNumberFromText(c.text, names), c.flag) << c.text;
}

TEST_F(StageTest, FlagLookUpShowsAndSetsTheFlag) {
    ev->SetFlg(flag::HotSpringFound, true);
    ev->m_FlagNames = "#define FLG_HOTSPRING 410\n";
    ev->m_EdtFlgName->SetText("FLG_HOTSPRING");
    ev->m_BtnSerchClick();
    EXPECT_EQ(ev->m_LblCommand->Caption(), "Flag:410");
    EXPECT_TRUE(ev->m_CbxFlgState->Checked());
    ev->m_CbxFlgState->SetChecked(false);
    ev->m_BtnFlgSetClick();
    EXPECT_FALSE(ev->TestFlg(flag::HotSpringFound));
}

TEST_F(StageTest, ScheduleListShowsTheCountdownTimers) {
    ev->CountdownTimers[0] = {500, 2, 501};
    ev->m_CmbScheduleDropDown();
    ASSERT_EQ(ev->m_CmbSchedule->Items.size(), 32u);
    EXPECT_EQ(ev->m_CmbSchedule->Items[0], "500,2,501");
    EXPECT_EQ(ev->m_CmbSchedule->Items[31], "0,0,0");
}

TEST_F(StageTest, LayoutForAFullScreenAndForAWindow) {
    ev->LayoutStage(true);
    EXPECT_EQ(ev->ClientWidth(), 648);
    EXPECT_EQ(ev->ClientHeight(), 480);
    EXPECT_EQ(ev->m_Img->BoundsRect(), (ui::Rect{0, 0, 640, 480}));
    EXPECT_FALSE(ev->m_PnlMenu->Visible());
    EXPECT_FALSE(ev->BcPanel1->Visible());
    EXPECT_EQ(ev->Left(), 0);
    // The pointer at the top of a full screen brings the menu bar.
    ev->m_ImgMouseMove(100, 10);
    EXPECT_TRUE(ev->m_PnlMenu->Visible());
    ev->m_ImgMouseMove(100, 36);
    EXPECT_FALSE(ev->m_PnlMenu->Visible());

    headless.App().GetScreen().Resize(800, 600);
    ev->LayoutStage(true);
    EXPECT_EQ(ev->ClientHeight(), 4 + 516);
    EXPECT_TRUE(ev->m_PnlMenu->Visible());
    EXPECT_EQ(ev->m_Img->BoundsRect(), (ui::Rect{4, 36, 644, 516}));
    EXPECT_TRUE(ev->BcPanel1->Visible());
    EXPECT_TRUE(ev->BcPanel3->Visible());
    EXPECT_EQ(ev->BcPanel3->Top(), 516);
    EXPECT_EQ(ev->Left(), (800 - 648) / 2);
    EXPECT_EQ(ev->Top(), (600 - 520) / 2);
}

TEST_F(StageTest, TheMenuButtonsAreOffDuringAnEvent) {
    ev->EventBegin();
    EXPECT_FALSE(ev->m_BtnStatus->Enabled());
    EXPECT_FALSE(ev->m_BtnNote->Enabled());
    EXPECT_FALSE(ev->m_BtnOpt->Enabled());
    ev->EventEnd();
    EXPECT_TRUE(ev->m_BtnNote->Enabled());
}

}  // namespace

namespace {

TEST_F(StageTest, AlbumPictureDissolvesIntoTheAlbumImageWithoutTheStage) {
    ui::Form album;
    auto* image = album.Make<ui::Image>();
    image->SetBounds(0, 0, 160, 120);
    image->SetPicture(Solid(160, 120, ui::clBlack));
    const std::uint32_t t0 = headless.Now();
    ev->ShowAlbumPicture(image, 10);
    EXPECT_GT(headless.Now() - t0, 800u);
    EXPECT_FALSE(ev->Visible());
    ui::Bitmap want(160, 120);
    want.GetCanvas().StretchDraw(ui::Rect{0, 0, 160, 120}, Picture(0x30A));
    EXPECT_TRUE(Same(image->Picture(), want));
}

// Every name of the four tables is a picture of the right size in both art folders.
TEST(EventPicturePacks, EveryNamedPictureIsThereInBothArtFolders) {
    for (const char* folder : {"col24b", "col8b"}) {
        for (int kind = 0; kind < kPictureKinds; ++kind) {
            TQvPack pack;
            const std::string path =
                std::string(LUMIA_TEST_GAMEDATA) + "/" + folder + "/evpack/" + GrPackNames[kind];
            ASSERT_TRUE(pack.OpenPack(path)) << path;
            const int count = kind == 0 ? 58 : kind == 1 ? 88 : kind == 2 ? 52 : 63;
            for (int index = 0; index < count; ++index) {
                const std::string name = PictureMemberName(PictureCode(kind, index), false);
                if (name.empty() || name == "dmy" || name.find(".avi") != std::string::npos)
                    continue;
                std::unique_ptr<TMemoryStream> member = pack.QvMakeStream(name.c_str());
                ASSERT_TRUE(member) << folder << " " << name;
                ui::Bitmap b;
                ASSERT_TRUE(b.LoadFromMemory(member->Bytes())) << name;
                if (kind != 0) {
                    EXPECT_EQ(b.Width(), 640) << name;
                    EXPECT_EQ(b.Height(), 480) << name;
                } else {
                    EXPECT_LE(b.Height(), 480) << name;
                }
            }
        }
    }
}

}  // namespace

namespace {

TEST_F(StageTest, ShakeSwingsTheMiddleDownByEightBetweenBlackBands) {
    ev->SetGr(0x108);
    const ui::Bitmap before = Picture(0x108);
    ui::Bitmap first;
    headless.Backend().AddResponder([&] {
        if (!first.Empty() || !ev->m_TransitionRunning) return false;
        first = ev->m_Img->Picture();
        return false;
    });
    ev->ShakeGr(-1);
    ASSERT_FALSE(first.Empty());
    for (int x = 0; x < 640; x += 13) {
        EXPECT_EQ(first.GetPixel(x, 5), ui::clBlack) << x;
        EXPECT_EQ(first.GetPixel(x, 31), ui::clBlack) << x;
        EXPECT_EQ(first.GetPixel(x, 479), ui::clBlack) << x;
        EXPECT_EQ(first.GetPixel(x, 40), before.GetPixel(x, 32)) << x;
        EXPECT_EQ(first.GetPixel(x, 300), before.GetPixel(x, 292)) << x;
    }
}

}  // namespace

namespace {

TEST_F(StageTest, AVoiceIsPlayedFromTheDiscWhenTheGameFolderLacksItsPack) {
    const std::string game = test::ScratchDir("evstage_disc_game");
    const std::string disc = test::ScratchDir("evstage_disc_copy");
    ui::CreateDirectory(disc + "/qdv");
    ui::CreateDirectory(disc + "/qdv/wave");
    ui::CreateDirectory(disc + "/qdv/wave/intm");
    ASSERT_TRUE(ui::CopyFile(std::string(LUMIA_TEST_GAMEDATA) + "/wave/Intm/evpm01.pak",
                             disc + "/qdv/wave/intm/evpm01.pak", false));
    ui::SetProgramFolder(game);
    headless.AnswerMessageBoxes(ui::IDOK);  // the empty game folder's faces are missing
    TEventServerDbg::DiscFolder.clear();
    ev->PlaySound(100);
    EXPECT_TRUE(transcript->Texts("voice").empty());  // nowhere to be found
    TEventServerDbg::DiscFolder = disc;
    ev->EventBeginVoice(100);
    ev->PlaySound(100);
    EXPECT_EQ(transcript->Texts("voice").size(), 1u);
    ev->EventEnd();
    EXPECT_FALSE(ui::FileExists(game + "/wave/Intm/evpm01.pak"));  // nothing copied
    TEventServerDbg::DiscFolder.clear();
    ui::SetProgramFolder(ui::DefaultGameFolder());
}

}  // namespace
