#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

namespace {

using ui::Bitmap;
using ui::Canvas;
using ui::PixelFormat;
using ui::TColor;

// The bitmap as rows of letters, one per pixel, by a colour legend.
std::vector<std::string> Picture(const Bitmap& bm, const std::map<TColor, char>& legend) {
    std::vector<std::string> rows;
    for (int y = 0; y < bm.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bm.Width(); ++x) {
            auto it = legend.find(bm.GetPixel(x, y));
            row += it == legend.end() ? '?' : it->second;
        }
        rows.push_back(row);
    }
    return rows;
}

Bitmap Solid(int w, int h, TColor c, PixelFormat f = PixelFormat::pf24bit) {
    Bitmap bm(w, h, f);
    bm.GetCanvas().Brush.Color = c;
    bm.GetCanvas().FillRect(ui::Rect{0, 0, w, h});
    return bm;
}

// An 8-bit colour table where index i is grey level i, so indices and colours agree.
ui::Palette GreyTable() {
    ui::Palette p;
    for (int i = 0; i < 256; ++i)
        p[i] = ui::RGBQuad{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
    return p;
}

// Every raster operation the game uses, on known colours, with the brush as pattern.
struct RopCase {
    const char* name;
    std::uint32_t rop;
    std::uint32_t (*f)(std::uint32_t p, std::uint32_t s, std::uint32_t d);
};
const RopCase kRops[] = {
    {"SRCCOPY", ui::SRCCOPY, [](std::uint32_t, std::uint32_t s, std::uint32_t) { return s; }},
    {"SRCAND", ui::SRCAND, [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s & d; }},
    {"SRCPAINT", ui::SRCPAINT,
     [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s | d; }},
    {"SRCERASE", ui::SRCERASE,
     [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s & ~d; }},
    {"SRCINVERT", ui::SRCINVERT,
     [](std::uint32_t, std::uint32_t s, std::uint32_t d) { return s ^ d; }},
    {"MERGECOPY", ui::MERGECOPY,
     [](std::uint32_t p, std::uint32_t s, std::uint32_t) { return p & s; }},
    {"0xA000C9", 0xA000C9, [](std::uint32_t p, std::uint32_t, std::uint32_t d) { return p & d; }},
    {"PATCOPY", ui::PATCOPY, [](std::uint32_t p, std::uint32_t, std::uint32_t) { return p; }},
    {"NOTSRCCOPY", ui::NOTSRCCOPY,
     [](std::uint32_t, std::uint32_t s, std::uint32_t) { return ~s; }},
    {"DSTINVERT", ui::DSTINVERT, [](std::uint32_t, std::uint32_t, std::uint32_t d) { return ~d; }},
};

TEST(Canvas, RasterOperationsOnTrueColour) {
    const TColor S = ui::RGB(0xF0, 0xCC, 0x0F), D = ui::RGB(0xAA, 0x3C, 0x55),
                 P = ui::RGB(0xFF, 0x0F, 0x33);
    for (const RopCase& c : kRops) {
        for (PixelFormat f : {PixelFormat::pf24bit, PixelFormat::pf32bit}) {
            // Wide enough for whole runs of eight pixels and a rest.
            Bitmap src = Solid(11, 2, S, f);
            Bitmap dst = Solid(11, 2, D, f);
            dst.GetCanvas().Brush.Color = P;
            ASSERT_TRUE(dst.GetCanvas().BitBlt(0, 0, 11, 2, &src, 0, 0, c.rop));
            // Colour words are byte-aligned channels, so the operation applies to them whole.
            for (int x = 0; x < 11; ++x)
                EXPECT_EQ(dst.GetPixel(x, 1), c.f(P, S, D) & 0xFFFFFF) << c.name << " at " << x;
        }
        // An 8-bit source goes through its colour table (the per-pixel path).
        Bitmap src8(3, 2, PixelFormat::pf8bit);
        ui::Palette table{};
        table[9] = ui::ToQuad(S);
        src8.SetColorTable(table);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) src8.SetRaw(x, y, 9);
        Bitmap dst = Solid(3, 2, D);
        dst.GetCanvas().Brush.Color = P;
        dst.GetCanvas().BitBlt(0, 0, 3, 2, &src8, 0, 0, c.rop);
        EXPECT_EQ(dst.GetPixel(1, 1), c.f(P, S, D) & 0xFFFFFF) << c.name << " from 8-bit";
    }
}

TEST(Canvas, MergeCopyOntoItselfMasksInPlace) {
    // The dissolve's step: work := work AND pattern, source and destination the same.
    const Bitmap pattern = [] {
        Bitmap p(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) p.SetPixel(x, y, x == y ? ui::clWhite : ui::clBlack);
        return p;
    }();
    Bitmap work = Solid(10, 9, ui::clRed);
    work.GetCanvas().Brush.Pattern = &pattern;
    work.GetCanvas().BitBlt(0, 0, 10, 9, &work, 0, 0, ui::MERGECOPY);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(work.GetPixel(x, y), x % 8 == y % 8 ? ui::clRed : ui::clBlack)
                << x << "," << y;
}

TEST(Canvas, RasterOperationsOnColourIndices) {
    // An 8-bit destination combines indices, as the display driver does.
    for (const RopCase& c : kRops) {
        Bitmap src(2, 2, PixelFormat::pf8bit), dst(2, 2, PixelFormat::pf8bit);
        src.SetColorTable(GreyTable());
        dst.SetColorTable(GreyTable());
        src.SetRaw(1, 1, 0x5A);
        dst.SetRaw(1, 1, 0xC3);
        dst.GetCanvas().Brush.Color = ui::RGB(0x36, 0x36, 0x36);
        dst.GetCanvas().BitBlt(0, 0, 2, 2, &src, 0, 0, c.rop);
        EXPECT_EQ(dst.GetRaw(1, 1), c.f(0x36, 0x5A, 0xC3) & 0xFF) << c.name;
    }
}

TEST(Canvas, SourceIndicesAreMatchedToTheDestinationTable) {
    Bitmap src(1, 1, PixelFormat::pf8bit), dst(1, 1, PixelFormat::pf8bit);
    ui::Palette a{}, b{};
    a[3] = ui::ToQuad(ui::clRed);
    b[200] = ui::ToQuad(ui::clRed);
    b[0] = ui::ToQuad(ui::clWhite);
    src.SetColorTable(a);
    dst.SetColorTable(b);
    src.SetRaw(0, 0, 3);
    dst.GetCanvas().Draw(0, 0, src);
    EXPECT_EQ(dst.GetRaw(0, 0), 200u);
    // And an 8-bit picture drawn on a true-colour one gives its colours.
    Bitmap rgb(1, 1);
    rgb.GetCanvas().Draw(0, 0, src);
    EXPECT_EQ(rgb.GetPixel(0, 0), ui::clRed);
}

// The 8x8 dissolve pattern: white where (x + 2y) % 3 == 0, else black.
Bitmap Pattern() {
    Bitmap p(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            p.SetPixel(x, y, (x + 2 * y) % 3 == 0 ? ui::clWhite : ui::clBlack);
    return p;
}

TEST(Canvas, MergeCopyKeepsTheSourceWhereThePatternIsWhite) {
    const Bitmap pattern = Pattern();
    const TColor S = ui::RGB(10, 200, 30);
    Bitmap src = Solid(20, 10, S);
    Bitmap dst = Solid(20, 10, ui::clBlue);
    Canvas& c = dst.GetCanvas();
    c.Brush.Pattern = &pattern;
    // Blitted at (3, 1): the tile stays anchored at the canvas's (0, 0) and repeats every 8.
    c.BitBlt(3, 1, 17, 9, &src, 0, 0, ui::MERGECOPY);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const TColor want =
                (x < 3 || y < 1) ? ui::clBlue : ((x % 8 + 2 * (y % 8)) % 3 == 0 ? S : ui::clBlack);
            ASSERT_EQ(dst.GetPixel(x, y), want) << x << "," << y;
        }
    // 0xA000C9 with the same brush blackens the rest of the destination.
    Bitmap dst2 = Solid(16, 8, S);
    dst2.GetCanvas().Brush.Pattern = &pattern;
    dst2.GetCanvas().BitBlt(0, 0, 16, 8, static_cast<const Bitmap*>(nullptr), 0, 0, ui::PATANDDEST);
    EXPECT_EQ(dst2.GetPixel(0, 0), S);
    EXPECT_EQ(dst2.GetPixel(1, 0), ui::clBlack);
    EXPECT_EQ(dst2.GetPixel(10, 1), ui::clBlack);  // 2 + 2
    EXPECT_EQ(dst2.GetPixel(12, 1), S);            // 4 + 2
    EXPECT_EQ(dst2.GetPixel(9, 7), S);             // 1 + 14 = 15
}

TEST(Canvas, LetterInTextColourOverBackgroundByThreeOperations) {
    // The message window's trick: letter cell (black on white) SRCERASE onto the
    // picture, the cell ORed with a colour cell, then SRCINVERT: the letter takes
    // the colour, the background stays.
    const TColor bg = ui::RGB(40, 90, 160), ink = ui::RGB(128, 0, 0);
    Bitmap pic = Solid(4, 1, bg);
    Bitmap cell = Solid(4, 1, ui::clWhite);
    cell.SetPixel(1, 0, ui::clBlack);
    cell.SetPixel(2, 0, ui::clBlack);
    Bitmap colour = Solid(4, 1, ink);
    pic.GetCanvas().BitBlt(0, 0, 4, 1, &cell, 0, 0, ui::SRCERASE);
    colour.GetCanvas().BitBlt(0, 0, 4, 1, &cell, 0, 0, ui::SRCPAINT);
    pic.GetCanvas().BitBlt(0, 0, 4, 1, &colour, 0, 0, ui::SRCINVERT);
    EXPECT_EQ(Picture(pic, {{bg, '.'}, {ink, '#'}}), std::vector<std::string>({".##."}));
}

TEST(Canvas, EveryOperationClipsAtEveryEdge) {
    // A 6x5 canvas with its clip rect shrunk and its origin moved: operations around
    // and beyond every edge change only pixels inside; the sanitizers see any stray write.
    const Bitmap src = Solid(8, 8, ui::clRed);
    struct Place {
        int x, y;
    };
    const Place places[] = {{-2, -2}, {4, -2}, {-2, 3}, {4, 3},  {-20, 0},
                            {0, -20}, {30, 0}, {0, 30}, {-3, 1}, {1, -3}};
    for (PixelFormat f : {PixelFormat::pf8bit, PixelFormat::pf24bit, PixelFormat::pf32bit}) {
        for (const Place& p : places) {
            Bitmap bm = Solid(6, 5, ui::clWhite, f);
            Canvas& c = bm.GetCanvas();
            c.Brush.Color = ui::clRed;
            c.Pen.Color = ui::clRed;
            c.Font.Color = ui::clRed;
            c.BitBlt(p.x, p.y, 4, 4, &src, 0, 0, ui::SRCCOPY);
            c.BitBlt(p.x, p.y, 4, 4, &src, 0, 0, ui::SRCINVERT);
            c.Draw(p.x, p.y, src);
            c.StretchDraw(ui::Bounds(p.x, p.y, 9, 7), src);
            c.FillRect(ui::Bounds(p.x, p.y, 4, 4));
            c.MoveTo(p.x, p.y);
            c.LineTo(p.x + 3, p.y + 3);
            c.Rectangle(ui::Bounds(p.x, p.y, 5, 5));
            c.DrawFocusRect(ui::Bounds(p.x, p.y, 5, 5));
            c.TextOut(p.x, p.y, "\xC3\xC4W");
            c.SetPixel(p.x, p.y, ui::clRed);
            ui::Rect r = ui::Bounds(p.x, p.y, 7, 7);
            ui::Frame3D(c, r, ui::clRed, ui::clRed, 2);
            // Everything drawn lies within 9x9 of the place: far off, nothing changes.
            int red = 0;
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 6; ++x) red += bm.GetPixel(x, y) == ui::clWhite ? 0 : 1;
            const bool meets =
                !ui::Intersect(ui::Bounds(p.x, p.y, 9, 9), ui::Rect{0, 0, 6, 5}).IsEmpty();
            EXPECT_EQ(red > 0, meets) << p.x << "," << p.y;
        }
        // With a clip rectangle and an origin, nothing lands outside the clip.
        Bitmap bm = Solid(6, 5, ui::clWhite, f);
        Canvas& c = bm.GetCanvas();
        c.SetOrigin(1, 1);
        c.SetClipRect(ui::Rect{0, 0, 3, 2});  // bitmap pixels (1,1)..(3,2)
        c.Brush.Color = ui::clRed;
        c.FillRect(ui::Rect{-10, -10, 50, 50});
        c.Draw(-5, -5, src);
        c.Pen.Color = ui::clRed;
        c.MoveTo(-10, 0);
        c.LineTo(20, 0);
        EXPECT_EQ(Picture(bm, {{ui::clWhite, '.'}, {ui::clRed, '#'}}),
                  std::vector<std::string>({"......", ".###..", ".###..", "......", "......"}));
        EXPECT_EQ(c.GetPixel(-1, -1), ui::clWhite);    // reading through the origin
        EXPECT_EQ(c.GetPixel(100, 100), ui::clBlack);  // outside: black
    }
}

TEST(Canvas, FarCoordinatesAreHarmless) {
    Bitmap src = Solid(2, 2, ui::clRed);
    Bitmap dst = Solid(4, 4, ui::clWhite);
    Canvas& c = dst.GetCanvas();
    c.SetOrigin(1, 1);
    const int big = 2147483000, small = -2147483000;
    c.BitBlt(big, big, big, big, &src, small, small, ui::SRCCOPY);
    c.BitBlt(small, small, big, big, &src, big, big, ui::SRCCOPY);
    c.StretchDraw(ui::Rect{small, small, big, big}, src);
    c.CopyRect(ui::Rect{big, 0, big, 4}, src.GetCanvas(), ui::Rect{small, 0, big, 2});
    c.FillRect(ui::Rect{small, small, small + 5, big});
    c.MoveTo(small, small);
    c.LineTo(big, big);
    c.TextOut(big, small, "ab");
    ui::Rect r{small, small, big, big};
    c.DrawText("ab", r, ui::DT_CENTER | ui::DT_VCENTER | ui::DT_SINGLELINE);
    SUCCEED();  // the sanitizers watch for overflow and stray writes
}

TEST(Canvas, BlitClipsTheSourceToo) {
    // Source pixels beyond the source bitmap are not drawn.
    const Bitmap src = Solid(2, 2, ui::clRed);
    Bitmap dst = Solid(4, 4, ui::clWhite);
    dst.GetCanvas().BitBlt(0, 0, 4, 4, &src, -1, -1, ui::SRCCOPY);
    EXPECT_EQ(Picture(dst, {{ui::clWhite, '.'}, {ui::clRed, '#'}}),
              std::vector<std::string>({"....", ".##.", ".##.", "...."}));
}

TEST(Canvas, CopiesBetweenLayoutsKeepEveryColourAndClipBothSides) {
    // Each source layout onto each true-colour layout, the source partly off its own
    // edge and the destination partly off its bitmap: each pixel that lands is the
    // source's colour, every other pixel keeps the background.
    const PixelFormat all[] = {PixelFormat::pf8bit, PixelFormat::pf24bit, PixelFormat::pf32bit};
    for (PixelFormat from : all) {
        Bitmap src(21, 4, from);  // whole runs of eight pixels and a rest
        if (from == PixelFormat::pf8bit) src.SetColorTable(GreyTable());
        auto colour = [](int x, int y) {
            const std::uint8_t v = static_cast<std::uint8_t>(11 * x + 9 * y + 1);
            return ui::RGB(v, v, v);
        };
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 21; ++x) src.SetPixel(x, y, colour(x, y));
        for (PixelFormat to : {PixelFormat::pf24bit, PixelFormat::pf32bit}) {
            Bitmap dst = Solid(22, 5, ui::clRed, to);
            ASSERT_TRUE(dst.GetCanvas().BitBlt(3, -1, 21, 5, &src, -1, 0, ui::SRCCOPY));
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 22; ++x) {
                    const int sx = x - 3 - 1, sy = y + 1;
                    const bool lands = x >= 3 && sx >= 0 && sx < 21 && sy < 4;
                    EXPECT_EQ(dst.GetPixel(x, y), lands ? colour(sx, sy) : ui::clRed)
                        << static_cast<int>(from) << "->" << static_cast<int>(to) << " at " << x
                        << "," << y;
                }
        }
    }
}

TEST(Canvas, OverlappingBlitOnOneBitmapReadsTheOriginal) {
    Bitmap bm(4, 1);
    for (int x = 0; x < 4; ++x) bm.SetPixel(x, 0, ui::RGB(std::uint8_t(x), 0, 0));
    bm.GetCanvas().BitBlt(1, 0, 3, 1, &bm, 0, 0, ui::SRCCOPY);
    EXPECT_EQ(bm.GetPixel(1, 0), ui::RGB(0, 0, 0));
    EXPECT_EQ(bm.GetPixel(2, 0), ui::RGB(1, 0, 0));
    EXPECT_EQ(bm.GetPixel(3, 0), ui::RGB(2, 0, 0));
}

TEST(Canvas, StretchAndCopyRect) {
    Bitmap src(2, 2);
    src.SetPixel(0, 0, ui::clRed);
    src.SetPixel(1, 0, ui::clLime);
    src.SetPixel(0, 1, ui::clBlue);
    src.SetPixel(1, 1, ui::clWhite);
    Bitmap dst = Solid(4, 4, ui::clBlack);
    dst.GetCanvas().StretchDraw(ui::Rect{0, 0, 4, 4}, src);
    const std::map<TColor, char> legend{{ui::clRed, 'r'},
                                        {ui::clLime, 'g'},
                                        {ui::clBlue, 'b'},
                                        {ui::clWhite, 'w'},
                                        {ui::clBlack, '.'}};
    EXPECT_EQ(Picture(dst, legend), std::vector<std::string>({"rrgg", "rrgg", "bbww", "bbww"}));
    Bitmap dst2 = Solid(3, 2, ui::clBlack);
    dst2.GetCanvas().CopyRect(ui::Rect{1, 0, 3, 1}, src.GetCanvas(), ui::Rect{0, 1, 2, 2});
    EXPECT_EQ(Picture(dst2, legend), std::vector<std::string>({".bw", "..."}));
    // CopyMode applies.
    dst2.GetCanvas().CopyMode = ui::SRCINVERT;
    dst2.GetCanvas().CopyRect(ui::Rect{1, 0, 3, 1}, src.GetCanvas(), ui::Rect{0, 1, 2, 2});
    EXPECT_EQ(Picture(dst2, legend), std::vector<std::string>({"...", "..."}));
}

TEST(Canvas, Frame3DRaisedAndTwoDeep) {
    const std::map<TColor, char> legend{
        {ui::clBtnHighlight, 'H'}, {ui::clBtnShadow, 'S'}, {ui::clBtnFace, '.'}};
    Bitmap bm = Solid(5, 4, ui::clBtnFace);
    ui::Rect r{0, 0, 5, 4};
    ui::Frame3D(bm.GetCanvas(), r, ui::clBtnHighlight, ui::clBtnShadow, 1);
    EXPECT_EQ(Picture(bm, legend), std::vector<std::string>({"HHHHS", "H...S", "H...S", "SSSSS"}));
    EXPECT_EQ(r, (ui::Rect{1, 1, 4, 3}));

    Bitmap bm2 = Solid(6, 6, ui::clBtnFace);
    ui::Rect r2{0, 0, 6, 6};
    ui::Frame3D(bm2.GetCanvas(), r2, ui::clBtnShadow, ui::clBtnHighlight, 2);  // sunken
    EXPECT_EQ(Picture(bm2, legend), std::vector<std::string>({"SSSSSH", "SSSSHH", "SS..HH",
                                                              "SS..HH", "SHHHHH", "HHHHHH"}));
    EXPECT_EQ(r2, (ui::Rect{2, 2, 4, 4}));
}

TEST(Canvas, FocusRectangleIsDottedAndUndoesItself) {
    Bitmap bm = Solid(6, 5, ui::clWhite);
    const Bitmap before = bm;
    bm.GetCanvas().DrawFocusRect(ui::Rect{0, 0, 6, 5});
    EXPECT_EQ(Picture(bm, {{ui::clWhite, '.'}, {ui::clBlack, '#'}}),
              std::vector<std::string>({"#.#.#.", ".....#", "#.....", ".....#", "#.#.#."}));
    bm.GetCanvas().DrawFocusRect(ui::Rect{0, 0, 6, 5});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(bm.GetPixel(x, y), before.GetPixel(x, y));
}

TEST(Canvas, LinesLeaveOutTheEndPoint) {
    Bitmap bm = Solid(5, 3, ui::clWhite);
    Canvas& c = bm.GetCanvas();
    c.Pen.Color = ui::clBlack;
    c.MoveTo(0, 0);
    c.LineTo(4, 0);
    c.LineTo(4, 2);
    EXPECT_EQ(Picture(bm, {{ui::clWhite, '.'}, {ui::clBlack, '#'}}),
              std::vector<std::string>({"#####", "....#", "....."}));
    EXPECT_EQ(c.PenPos(), (ui::Point{4, 2}));
    // Rectangle: pen outline, brush inside.
    Bitmap bm2 = Solid(4, 4, ui::clWhite);
    bm2.GetCanvas().Brush.Color = ui::clRed;
    bm2.GetCanvas().Rectangle(0, 0, 4, 4);
    EXPECT_EQ(Picture(bm2, {{ui::clWhite, '.'}, {ui::clBlack, '#'}, {ui::clRed, 'r'}}),
              std::vector<std::string>({"####", "#rr#", "#rr#", "####"}));
}

TEST(Canvas, PixelsReadAndWrittenThroughTheColourTable) {
    Bitmap bm(2, 1, PixelFormat::pf8bit);
    ui::Palette p{};
    p[7] = ui::ToQuad(ui::RGB(10, 20, 30));
    p[9] = ui::ToQuad(ui::RGB(200, 200, 200));
    bm.SetColorTable(p);
    bm.GetCanvas().SetPixel(0, 0, ui::RGB(12, 19, 33));  // nearest: entry 7
    EXPECT_EQ(bm.GetRaw(0, 0), 7u);
    EXPECT_EQ(bm.GetCanvas().GetPixel(0, 0), ui::RGB(10, 20, 30));
}

}  // namespace
