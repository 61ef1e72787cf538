#include "media/Qvdib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Big5.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "tests/support/PictureFixtures.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The surface's pixels as rows of text, one character per pixel: '.' for 0,
// else the value's last digit; handy for small exact pictures.
std::string Rows(const TQvDib& d, int x0, int y0, int w, int h) {
    std::string out;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            const int v = d.PGet(x, y);
            out += v == 0 ? '.' : char('0' + v % 10);
        }
        out += '\n';
    }
    return out;
}

// A w x h pattern whose byte at (c, r) is r * 10 + c + 1 (columns readable).
Bytes Numbered(int w, int h) {
    Bytes p(std::size_t(w) * h);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) p[std::size_t(r) * w + c] = std::uint8_t(r * 10 + c + 1);
    return p;
}

int CountEqual(const TQvDib& d, std::uint8_t v) {
    int n = 0;
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x) n += d.PGet(x, y) == v;
    return n;
}

TEST(QvDib, StartsAsDocumented) {
    TQvDib d;
    EXPECT_EQ(d.Width(), 640);
    EXPECT_EQ(d.Height(), 480);
    EXPECT_EQ(d.Stride(), 640);
    EXPECT_EQ(d.Method, Qv_SET);
    EXPECT_FALSE(d.Reverse);
    EXPECT_TRUE(d.RefreshOn());
    TQvDib odd(5, 3);
    EXPECT_EQ(odd.Stride(), 8);
    RGBQUAD pal[256];
    odd.AskPal2(pal);
    EXPECT_EQ(pal[1].rgbRed, 128);  // system colours 0..9
    EXPECT_EQ(pal[9].rgbBlue, 240);
    EXPECT_EQ(pal[10].rgbRed, 0);  // black between
    EXPECT_EQ(pal[245].rgbGreen, 0);
    EXPECT_EQ(pal[246].rgbRed, 255);  // system colours 10..19 at 246..255
    EXPECT_EQ(pal[246].rgbGreen, 251);
    EXPECT_EQ(pal[255].rgbBlue, 255);
}

TEST(QvDib, DrawModeTable) {
    struct Case {
        std::uint8_t mode, dest, colour, result;
    };
    const Case cases[] = {
        {Qv_SET, 100, 7, 7},        {Qv_NOT, 100, 5, 250},     {Qv_NOT, 0, 5, 250},
        {Qv_AND, 0x0F, 0x3C, 0x0C}, {Qv_OR, 0x0F, 0x30, 0x3F}, {Qv_XOR, 0xFF, 0x0F, 0xF0},
        {Qv_ADD, 100, 200, 255},    {Qv_ADD, 100, 154, 254},   {Qv_ADD, 100, 155, 255},
        {Qv_SUB, 100, 150, 0},      {Qv_SUB, 100, 100, 0},     {Qv_SUB, 100, 30, 70},
        {Qv_MED, 255, 0, 127},      {Qv_MED, 255, 255, 255},   {8, 100, 7, 100},
        {255, 100, 7, 100},
    };
    for (const Case& c : cases) {
        TQvDib d(4, 1);
        // Every path that writes through the mode: pixel, line, box fill, blit.
        for (int x = 0; x < 4; ++x) d.PSet(x, 0, c.dest);
        d.Method = TQvMethod(c.mode);
        d.PSet(0, 0, c.colour);
        d.QvLine(1, 0, 1, 0, c.colour, false);
        d.BoxFill(2, 0, 2, 0, c.colour);
        d.PasPat(3, 0, 1, 1, &c.colour, std::uint8_t(c.colour + 1));
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(d.PGet(x, 0), c.result) << "mode " << int(c.mode) << " d " << int(c.dest)
                                              << " c " << int(c.colour) << " x " << x;
    }
}

TEST(QvDib, PixelsOutsideAndWithoutSection) {
    TQvDib d(4, 3);
    EXPECT_FALSE(d.PSet(-1, 0, 1));
    EXPECT_FALSE(d.PSet(4, 0, 1));
    EXPECT_FALSE(d.PSet(0, 3, 1));
    EXPECT_EQ(d.PGet(0, -1), 0);
    EXPECT_TRUE(d.PSet(3, 2, 9));
    EXPECT_EQ(d.PGet(3, 2), 9);

    d.EndDib();
    EXPECT_FALSE(d.HasSection());
    const std::uint8_t p[4] = {1, 2, 3, 4};
    EXPECT_FALSE(d.PSet(0, 0, 1));
    EXPECT_EQ(d.PGet(0, 0), 0);
    EXPECT_FALSE(d.PutPat(0, 0, 2, 2, p));
    EXPECT_FALSE(d.PasPatWappi(0, 0, 2, 2, p, 0, true));
    EXPECT_FALSE(d.PasMPat(0, 0, 2, 2, p, p, 8, 1));
    EXPECT_FALSE(d.Line(0, 0, 1, 1, 1));
    EXPECT_FALSE(d.Box(0, 0, 1, 1, 1));
    EXPECT_FALSE(d.BoxFill(0, 0, 1, 1, 1));
    std::uint8_t out[4] = {};
    EXPECT_FALSE(d.GetPat(0, 0, 2, 2, out));
}

TEST(QvDib, PatternClipsOnEverySide) {
    const Bytes p = Numbered(10, 3);  // rows 1..10, 11..20, 21..30
    struct Case {
        int x, y;
        std::string rows;  // the 8 x 4 surface afterwards
    };
    const Case cases[] = {
        // Left: columns 3..9 at 0..6.
        {-3, 0, "4567890.\n4567890.\n4567890.\n........\n"},
        // Right: columns 0..2 at 5..7.
        {5, 0, ".....123\n.....123\n.....123\n........\n"},
        // Top: rows 1..2 at 0..1.
        {0, -1, "12345678\n12345678\n........\n........\n"},
        // Bottom: row 0 at 3.
        {0, 3, "........\n........\n........\n12345678\n"},
    };
    for (const Case& c : cases) {
        TQvDib d(8, 4);
        EXPECT_TRUE(d.PasPat(c.x, c.y, 10, 3, p.data(), 255));
        EXPECT_EQ(Rows(d, 0, 0, 8, 4), c.rows) << c.x << "," << c.y;
    }
    // Nothing left to draw: true, nothing drawn.
    TQvDib d(8, 4);
    EXPECT_TRUE(d.PutPat(0, 0, 0, 3, p.data()));
    EXPECT_TRUE(d.PutPat(-10, 0, 10, 3, p.data()));
    EXPECT_TRUE(d.PutPat(8, 0, 10, 3, p.data()));
    EXPECT_TRUE(d.PutPat(0, -3, 10, 3, p.data()));
    EXPECT_TRUE(d.PutPat(0, 4, 10, 3, p.data()));
    EXPECT_TRUE(d.PasPat2Wappi(-2000000000, 0, 2000000000, 3, p.data(), 10, 0, true));
    EXPECT_EQ(CountEqual(d, 0), 32);
}

TEST(QvDib, PitchAndTransparency) {
    TQvDib d(4, 2);
    d.BoxFill(0, 0, 3, 1, 9);
    // A 2 x 2 window of a 5-wide sheet; 0 is the transparent colour.
    const std::uint8_t sheet[10] = {1, 0, 7, 7, 7, 0, 2, 7, 7, 7};
    EXPECT_TRUE(d.PasPat2(1, 0, 2, 2, sheet, 5, 0));
    EXPECT_EQ(Rows(d, 0, 0, 4, 2), "9199\n9929\n");
    // A pitch below w counts as w.
    TQvDib e(2, 2);
    EXPECT_TRUE(e.PutPat2(0, 0, 2, 2, sheet, 1));
    EXPECT_EQ(Rows(e, 0, 0, 2, 2), "1.\n77\n");
}

TEST(QvDib, ReverseMirrorsPlainAndTransparentBlits) {
    const Bytes p = Numbered(4, 2);  // 1234 / 1234 (second row 11..14 -> 1..4 shown)
    struct Case {
        int x;
        std::string row0;
    };
    // Pattern column 0 lands at x + w - 1; a right edge drops the first pattern
    // columns, the left edge stops the row at 0.
    const Case cases[] = {{1, ".4321..."}, {6, "......43"}, {-2, "21......"}};
    for (const Case& c : cases) {
        for (bool transparent : {false, true}) {
            TQvDib d(8, 2);
            d.Reverse = true;
            EXPECT_TRUE(transparent ? d.PasPat(c.x, 0, 4, 2, p.data(), 200)
                                    : d.PutPat(c.x, 0, 4, 2, p.data()));
            EXPECT_EQ(Rows(d, 0, 0, 8, 1), c.row0 + "\n") << c.x << " transparent " << transparent;
        }
    }
    // Through a draw mode as well.
    TQvDib d(8, 1);
    d.Reverse = true;
    d.Method = Qv_OR;
    const std::uint8_t q[3] = {1, 2, 4};
    d.PutPat(0, 0, 3, 1, q);
    EXPECT_EQ(Rows(d, 0, 0, 8, 1), "421.....\n");
    // The mirrored cores refuse to run without Reverse.
    TQvDib e(8, 1);
    EXPECT_FALSE(e.QvPutPatR(0, 0, 3, 1, q, 3, false, 0));
    EXPECT_FALSE(e.QvPutPatMR(0, 0, 3, 1, q, 3, q, 8, 1));
}

TEST(QvDib, MirroredTransparentBlitWithClips) {
    const std::uint8_t p[5] = {1, 2, 0, 4, 5};  // 0 is transparent
    struct Case {
        int x;
        bool mirror;
        std::string row;
    };
    const Case cases[] = {
        {0, false, "12.45...\n"},
        {0, true, "54.21...\n"},
        // Left clip of 2: the row starts at pattern column (5 - 2) - 1 = 2.
        {-2, true, ".21.....\n"},
        {-2, false, ".45.....\n"},
        // Right clip: the picture stays mirrored within its own columns.
        {5, true, ".....54.\n"},
    };
    for (const Case& c : cases) {
        TQvDib d(8, 1);
        d.Reverse = true;  // ignored by this blit
        EXPECT_TRUE(d.PasPatWappi(c.x, 0, 5, 1, p, 0, c.mirror));
        EXPECT_EQ(Rows(d, 0, 0, 8, 1), c.row) << c.x << " mirror " << c.mirror;
    }
    // Through the draw mode: transparent bytes still skipped.
    TQvDib d(8, 1);
    d.BoxFill(0, 0, 7, 0, 1);
    d.Method = Qv_ADD;
    d.PasPat2Wappi(0, 0, 5, 1, p, 5, 0, true);
    EXPECT_EQ(Rows(d, 0, 0, 8, 1), "65132111\n");
}

TEST(QvDib, MaskAnchoredAtTheBlitOrigin) {
    // Mask 2 x 2: rows 10 / 01.
    const std::uint8_t mask[2] = {0x80, 0x40};
    Bytes p(6 * 3, 7);
    for (int x : {1, 2}) {
        TQvDib d(8, 4);
        EXPECT_TRUE(d.PasMPat(x, 1, 6, 3, p.data(), mask, 2, 2));
        std::string want;
        for (int y = 0; y < 4; ++y) {
            for (int c = 0; c < 8; ++c) {
                const bool inside = y >= 1 && c >= x && c < x + 6;
                want += inside && ((c - x) + (y - 1)) % 2 == 0 ? '7' : '.';
            }
            want += '\n';
        }
        EXPECT_EQ(Rows(d, 0, 0, 8, 4), want) << x;
    }
    // Clipped columns and rows still advance the mask.
    TQvDib d(4, 2);
    const Bytes q = Numbered(4, 3);
    EXPECT_TRUE(d.PasMPat(-1, -1, 4, 3, q.data(), mask, 2, 2));
    // Pattern (c, r) shows where (c + r) is even: row 1 shows columns 1, 3 ->
    // surface columns 0, 2; row 2 columns 0, 2 -> surface 1 (column 0 is off).
    EXPECT_EQ(Rows(d, 0, 0, 4, 2), "2.4.\n.3..\n");
    // Mirrored: pattern and mask go together.
    TQvDib r(4, 1);
    r.Reverse = true;
    const std::uint8_t one[1] = {0xA0};  // 101
    const std::uint8_t row[3] = {1, 2, 3};
    EXPECT_TRUE(r.PasMPat(0, 0, 3, 1, row, one, 3, 1));
    EXPECT_EQ(Rows(r, 0, 0, 4, 1), "3.1.\n");
    // A mask of width or height 0 draws nothing and fails.
    TQvDib z(4, 1);
    EXPECT_FALSE(z.PasMPat(0, 0, 3, 1, row, one, 0, 1));
    EXPECT_FALSE(z.PasMPat(0, 0, 3, 1, row, one, 3, 0));
    EXPECT_FALSE(z.PasMPat(0, 0, 3, 1, row, nullptr, 3, 1));
    EXPECT_FALSE(z.BoxFillM(0, 0, 3, 0, 5, one, 0, 1));
    EXPECT_EQ(CountEqual(z, 0), 4);
}

TEST(QvDib, MaskedFillAnchoredAtTheOrderedCorner) {
    const std::uint8_t mask[2] = {0x80, 0x40};
    TQvDib d(8, 5);
    // Given bottom-right first: ordered to (3, 1)-(6, 3).
    EXPECT_TRUE(d.BoxFillM(6, 3, 3, 1, 5, mask, 2, 2));
    EXPECT_EQ(Rows(d, 0, 0, 8, 5),
              "........\n"
              "...5.5..\n"
              "....5.5.\n"
              "...5.5..\n"
              "........\n");
    // Off-surface columns and rows advance the tile.
    TQvDib e(3, 2);
    EXPECT_TRUE(e.BoxFillM(-1, -1, 2, 1, 5, mask, 2, 2));
    EXPECT_EQ(Rows(e, 0, 0, 3, 2), "5.5\n.5.\n");
}

TEST(QvDib, LinesWriteEachPixelOnce) {
    // Under XOR a pixel written twice would go back to 0.
    const std::pair<std::pair<int, int>, std::pair<int, int>> lines[] = {
        {{0, 0}, {9, 3}}, {{9, 3}, {0, 0}}, {{0, 7}, {9, 0}}, {{2, 0}, {5, 9}},
        {{7, 1}, {1, 8}}, {{0, 0}, {9, 9}}, {{3, 4}, {3, 9}}, {{8, 2}, {0, 2}},
    };
    for (const auto& [a, b] : lines) {
        TQvDib d(10, 10);
        d.Method = Qv_XOR;
        EXPECT_TRUE(d.Line(a.first, a.second, b.first, b.second, 3));
        const int n = std::max(std::abs(b.first - a.first), std::abs(b.second - a.second)) + 1;
        EXPECT_EQ(CountEqual(d, 3), n)
            << a.first << "," << a.second << " - " << b.first << "," << b.second;
        EXPECT_EQ(d.PGet(a.first, a.second), 3);
        EXPECT_EQ(d.PGet(b.first, b.second), 3);
        // Without the ends: two pixels fewer.
        TQvDib e(10, 10);
        e.QvLine(a.first, a.second, b.first, b.second, 3, true);
        EXPECT_EQ(CountEqual(e, 3), n - 2);
        EXPECT_EQ(e.PGet(a.first, a.second), 0);
    }
    // A one-point line is that point, and it ends.
    TQvDib d(10, 10);
    d.Method = Qv_XOR;
    EXPECT_TRUE(d.Line(5, 5, 5, 5, 3));
    EXPECT_EQ(CountEqual(d, 3), 1);
    EXPECT_EQ(d.PGet(5, 5), 3);
    // CLine continues from the end without writing the joint again.
    EXPECT_TRUE(d.CLine(9, 5, 3));
    EXPECT_EQ(Rows(d, 0, 5, 10, 1), ".....33333\n");
    EXPECT_TRUE(d.CLine(9, 8, 3));
    EXPECT_EQ(CountEqual(d, 3), 8);
    // Far coordinates are clamped, and only on-surface pixels written.
    TQvDib f(10, 10);
    EXPECT_TRUE(f.Line(-2000000000, 5, 2000000000, 5, 1));
    EXPECT_EQ(CountEqual(f, 1), 10);
}

TEST(QvDib, BoxOutlineUnderXor) {
    struct Case {
        int x1, y1, x2, y2;
    };
    const Case cases[] = {{1, 1, 6, 4}, {6, 4, 1, 1}, {2, 2, 3, 3},
                          {0, 3, 7, 3}, {4, 0, 4, 5}, {-3, -3, 3, 2}};
    for (const Case& c : cases) {
        TQvDib d(8, 6);
        d.Method = Qv_XOR;
        EXPECT_TRUE(d.Box(c.x1, c.y1, c.x2, c.y2, 3));
        const int l = std::min(c.x1, c.x2), r = std::max(c.x1, c.x2);
        const int t = std::min(c.y1, c.y2), b = std::max(c.y1, c.y2);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool outline =
                    x >= l && x <= r && y >= t && y <= b && (x == l || x == r || y == t || y == b);
                ASSERT_EQ(d.PGet(x, y), outline ? 3 : 0)
                    << c.x1 << "," << c.y1 << " at " << x << "," << y;
            }
    }
}

TEST(QvDib, BoxFillOrdersAndClips) {
    TQvDib d(5, 3);
    d.Method = Qv_ADD;
    EXPECT_TRUE(d.BoxFill(10, 10, 2, 1, 4));
    EXPECT_TRUE(d.BoxFill(-100000, -100000, 0, 0, 4));
    EXPECT_EQ(Rows(d, 0, 0, 5, 3), "4....\n..444\n..444\n");
}

TEST(QvDib, GetPatAndPutDib) {
    TQvDib src(6, 4);
    const Bytes p = Numbered(6, 4);
    src.PutPat(0, 0, 6, 4, p.data());
    // GetPat: the off-surface part of the pattern is left as it was.
    Bytes out(3 * 3, 99);
    EXPECT_TRUE(src.GetPat(4, -1, 3, 3, out.data()));
    EXPECT_EQ(out, (Bytes{99, 99, 99, 5, 6, 99, 15, 16, 99}));

    // PutDib: a negative source corner moves the destination and shrinks the size.
    TQvDib d(6, 4);
    EXPECT_TRUE(d.PutDib(1, 1, &src, -1, 0, 3, 2));
    EXPECT_EQ(Rows(d, 0, 0, 6, 4), "......\n..12..\n..12..\n......\n");
    // Right and bottom clip to the source; transparent copies skip their colour.
    TQvDib e(6, 4);
    e.BoxFill(0, 0, 5, 3, 9);
    EXPECT_TRUE(e.PasDib(0, 0, &src, 4, 2, 10, 10, 25));
    EXPECT_EQ(Rows(e, 0, 0, 6, 4), "969999\n569999\n999999\n999999\n");
    // Whole source off: true, nothing.
    EXPECT_TRUE(e.PutDib(0, 0, &src, 6, 0, 2, 2));
    TQvDib none(2, 2);
    none.EndDib();
    EXPECT_FALSE(e.PutDib(0, 0, &none, 0, 0, 2, 2));
    // Copying from itself keeps the source rows intact (overlapping rows).
    EXPECT_TRUE(src.PutDib(1, 0, &src, 0, 0, 5, 1));
    EXPECT_EQ(Rows(src, 0, 0, 6, 1), "112345\n");
}

TEST(QvDib, ResizeKeepsThePictureRaw) {
    TQvDib d(5, 3);
    const Bytes p = Numbered(5, 3);
    d.PutPat(0, 0, 5, 3, p.data());
    RGBQUAD red{0, 0, 255, 0};
    d.SetPal1(40, &red);
    // Neither the draw mode nor the mirror applies to the copy.
    d.Method = Qv_XOR;
    d.Reverse = true;
    d.ResizeDib(7, 2);
    EXPECT_EQ(d.Width(), 7);
    EXPECT_EQ(d.Height(), 2);
    EXPECT_EQ(d.Stride(), 8);
    EXPECT_EQ(Rows(d, 0, 0, 7, 2), "12345..\n12345..\n");
    RGBQUAD q{};
    d.AskPal1(40, &q);
    EXPECT_EQ(q.rgbRed, 255);
    d.SetWidth(3);
    EXPECT_EQ(Rows(d, 0, 0, 3, 2), "123\n123\n");
    d.ResizeDib(0, 5);  // not a size: nothing happens
    EXPECT_EQ(d.Width(), 3);
    // Without pixels the setters store the size and make them.
    d.EndDib();
    d.ResizeDib(9, 9);
    EXPECT_FALSE(d.HasSection());
    d.SetWidth(4);
    EXPECT_TRUE(d.HasSection());
    EXPECT_EQ(d.Width(), 4);
    EXPECT_EQ(d.Height(), 2);
}

TEST(QvDib, PaletteCalls) {
    TQvDib d(2, 2);
    RGBQUAD e{1, 2, 3, 99};
    d.SetPal1(7, &e);
    RGBQUAD got{};
    d.AskPal1(7, &got);
    EXPECT_EQ(got.rgbBlue, 1);
    EXPECT_EQ(got.rgbRed, 3);
    EXPECT_EQ(got.rgbReserved, 0);
    d.SetPal1(256, &e);  // out of range: ignored
    d.SetPal1(-1, &e);
    d.SetPal1(9, TQvRGB(10, 20, 30));
    TQvRGB c;
    d.AskPal1(9, &c);
    EXPECT_EQ(c, TQvRGB(10, 20, 30));
    std::vector<TQvRGB> all(256);
    d.AskPal2(all.data());
    EXPECT_EQ(all[7], TQvRGB(3, 2, 1));
    d.InitPal();
    d.AskPal1(7, &got);
    EXPECT_EQ(got.rgbRed, 192);

    const auto pal = test::RampPalette();
    const std::filesystem::path dir = test::ScratchDir("qvdib-pal");
    const std::string act = test::WriteTemp(dir, "P.ACT", test::MakeAct(pal.data()));
    EXPECT_TRUE(d.SetActFile(act));
    d.AskPal1(200, &got);
    EXPECT_EQ(got.rgbRed, 200);
    EXPECT_EQ(got.rgbGreen, 55);
    EXPECT_FALSE(d.SetActFile((dir / "NONE.ACT").string()));
    d.AskPal1(200, &got);
    EXPECT_EQ(got.rgbRed, 200);
}

TEST(QvDib, DrawBmpFile) {
    const auto pal = test::RampPalette();
    const std::uint8_t px[6] = {1, 2, 3, 4, 5, 6};
    const std::filesystem::path dir = test::ScratchDir("qvdib-draw");
    const std::string path = test::WriteTemp(dir, "P.BMP", test::MakeBmp8(3, 2, px, pal.data()));
    TQvDib d(6, 4);
    EXPECT_TRUE(d.DrawBmpFile(path, 2, 1));
    EXPECT_EQ(Rows(d, 0, 0, 6, 4), "......\n..123.\n..456.\n......\n");
    RGBQUAD got{};
    d.AskPal1(100, &got);
    EXPECT_EQ(got.rgbRed, 100);
    // A surface without pixels takes the size the picture needs.
    TQvDib e;
    e.EndDib();
    EXPECT_TRUE(e.DrawBmpFile(path, 1, 2));
    EXPECT_EQ(e.Width(), 4);
    EXPECT_EQ(e.Height(), 4);
    EXPECT_EQ(Rows(e, 0, 0, 4, 4), "....\n....\n.123\n.456\n");
    // A picture that does not load leaves the surface as it was.
    d.InitPal();
    EXPECT_FALSE(d.DrawBmpFile((dir / "NONE.BMP").string(), 0, 0));
    d.AskPal1(100, &got);
    EXPECT_EQ(got.rgbRed, 0);
    EXPECT_EQ(d.PGet(2, 1), 1);
}

TEST(QvDib, KeptStripStaysInsideItsSurface) {
    // Rows written behind the surface's back, as a caller holding ImagePtr would.
    auto scribble = [](TQvDib& d, int y0, int y1, std::uint8_t v) {
        for (int y = y0; y <= y1; ++y)
            std::fill_n(d.ImagePtr() + std::size_t(y) * d.Stride(), d.Width(), v);
    };
    // A short narrow surface: the strip covers only the rows it has.
    TQvDib d(10, 460);
    d.BoxFill(0, 456, 9, 459, 4);
    d.getback();
    scribble(d, 450, 459, 8);
    d.backcopy(456);
    EXPECT_EQ(d.PGet(9, 459), 4);
    EXPECT_EQ(d.PGet(0, 455), 8);
    // Put back near the bottom: cut at the last row; a row off the surface: nothing.
    d.getback();
    scribble(d, 450, 459, 8);
    d.backcopy(458);
    EXPECT_EQ(d.PGet(0, 458), 4);
    EXPECT_EQ(d.PGet(0, 457), 8);
    for (int row : {460, -1, 100000}) {
        d.getback();
        scribble(d, 0, 459, 1);
        d.backcopy(row);
        EXPECT_EQ(CountEqual(d, 1), 4600) << row;
    }
    // A surface shorter than the strip's first row keeps nothing.
    TQvDib small(4, 4);
    small.getback();
    EXPECT_TRUE(small.PSet(0, 0, 1));
    EXPECT_EQ(CountEqual(small, 1), 1);
    // A strip is put back before the next drawing operation of its own surface only.
    TQvDib a(4, 480), b(4, 480);
    a.BoxFill(0, 456, 3, 479, 2);
    a.getback();
    scribble(a, 456, 479, 6);
    b.BoxFill(0, 0, 3, 479, 7);
    EXPECT_EQ(b.PGet(0, 460), 7);
    EXPECT_EQ(a.PGet(0, 460), 6);
    a.PSet(0, 0, 1);
    EXPECT_EQ(a.PGet(1, 460), 2);
    EXPECT_EQ(a.PGet(1, 479), 2);
}

TEST(QvDib, OnChangeAfterEveryChange) {
    TQvDib d(4, 4);
    int calls = 0;
    d.OnChange = [&](TQvDib* sender) {
        EXPECT_EQ(sender, &d);
        ++calls;
    };
    const std::uint8_t p[4] = {1, 2, 3, 4};
    d.PutPat(0, 0, 2, 2, p);
    d.PSet(0, 0, 1);
    d.BoxFill(0, 0, 1, 1, 1);
    d.Cls();
    EXPECT_EQ(calls, 4);
    std::uint8_t out[4];
    d.GetPat(0, 0, 2, 2, out);
    d.PSet(9, 9, 1);
    EXPECT_EQ(calls, 4);
}

}  // namespace

namespace {

// The pixels of rows y0..y1 as they stand.
Bytes Strip(const TQvDib& d, int y0, int y1) {
    Bytes out;
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < d.Width(); ++x) out.push_back(d.PGet(x, y));
    return out;
}

TEST(QvDibShown, BitmapShowsPixelsAndPalette) {
    TQvDib d(6, 3);
    ui::Bitmap bmp;
    d.StartBitmap(&bmp);
    EXPECT_EQ(bmp.Width(), 6);
    EXPECT_EQ(bmp.Height(), 3);
    EXPECT_EQ(bmp.Format(), ui::PixelFormat::pf8bit);
    d.PSet(4, 2, 200);
    EXPECT_EQ(bmp.GetRaw(4, 2), 200u);
    RGBQUAD red{0, 0, 255, 0};
    d.SetPal1(200, &red);
    EXPECT_EQ(bmp.GetPixel(4, 2), ui::clRed);
    // A new size is handed over too, the palette kept.
    d.ResizeDib(9, 5);
    EXPECT_EQ(bmp.Width(), 9);
    EXPECT_EQ(bmp.Height(), 5);
    EXPECT_EQ(bmp.GetPixel(4, 2), ui::clRed);
    d.EndBitmap();
    EXPECT_TRUE(bmp.Empty());
    EXPECT_EQ(d.Bitmap(), nullptr);
}

TEST(QvDibShown, ImageShowsTheSurfaceAndMayGoFirst) {
    auto image = std::make_unique<ui::Image>();
    TQvDib d(8, 4);
    d.SetImage(image.get());
    EXPECT_EQ(d.Image(), image.get());
    EXPECT_EQ(d.Bitmap(), &image->Picture());
    d.PSet(3, 2, 77);
    EXPECT_EQ(image->Picture().GetRaw(3, 2), 77u);
    EXPECT_EQ(image->Picture().Width(), 8);
    // Detaching leaves the image empty and the surface whole.
    d.SetImage(nullptr);
    EXPECT_EQ(d.Image(), nullptr);
    EXPECT_TRUE(image->Picture().Empty());
    EXPECT_EQ(d.PGet(3, 2), 77);
    // The image destroyed while attached: the surface forgets it and draws on.
    d.SetImage(image.get());
    image.reset();
    EXPECT_TRUE(d.PSet(1, 1, 5));
    EXPECT_EQ(d.Image(), nullptr);
    EXPECT_EQ(d.Bitmap(), nullptr);
    d.ResizeDib(4, 4);
    d.EndDib();
}

TEST(QvDibShown, ModifiedOffAndOnRepaintOnce) {
    TQvDib d(64, 48);
    ui::Bitmap bmp;
    d.StartBitmap(&bmp);
    const Bytes p(64 * 48, 3);
    const auto before = bmp.ChangeCount();
    d.PutPat(0, 0, 64, 48, p.data());
    EXPECT_EQ(bmp.ChangeCount(), before + 1);

    int changes = 0;
    d.OnChange = [&](TQvDib*) { ++changes; };
    const auto pushes = d.PushCount();
    const auto count = bmp.ChangeCount();
    d.ModifiedOff();
    d.ModifiedOff();  // nested
    for (int i = 0; i < 5; ++i) d.PasPat(i, i, 64, 48, p.data(), 0);
    RGBQUAD red{0, 0, 255, 0};
    d.SetPal1(3, &red);
    d.ModifiedOn();
    EXPECT_FALSE(d.RefreshOn());
    EXPECT_EQ(d.PushCount(), pushes);
    EXPECT_EQ(bmp.ChangeCount(), count);
    EXPECT_NE(bmp.GetPixel(0, 0), ui::clRed);  // palette not handed over yet
    d.ModifiedOn();
    EXPECT_TRUE(d.RefreshOn());
    EXPECT_EQ(d.PushCount(), pushes + 1);
    EXPECT_GT(bmp.ChangeCount(), count);
    EXPECT_EQ(bmp.GetPixel(0, 0), ui::clRed);
    EXPECT_EQ(changes, 6);  // OnChange still follows every change
    // An extra ModifiedOn neither pushes again nor goes below 0.
    d.ModifiedOn();
    EXPECT_EQ(d.PushCount(), pushes + 1);
    d.ModifiedOff();
    d.PSet(0, 0, 1);
    d.ModifiedOn();
    EXPECT_EQ(d.PushCount(), pushes + 2);
    // Switching off by hand, then on: the pending change goes out once.
    d.ChgModifiedSw(false);
    d.PSet(0, 0, 2);
    EXPECT_EQ(d.PushCount(), pushes + 2);
    d.ChgModifiedSw(true);
    EXPECT_EQ(d.PushCount(), pushes + 3);
    d.ChgModifiedSw(true);
    EXPECT_EQ(d.PushCount(), pushes + 3);
}

TEST(QvDibShown, OverlayStaysOnTopUntilCls) {
    TQvDib d;
    ui::Bitmap bmp;
    d.StartBitmap(&bmp);
    ui::Font font;
    font.Height = -16;
    const std::string first = B5("今日天氣晴朗");
    d.OverlayFont = &font;
    d.OverlayText = first.c_str();
    d.OverlayX = 40;
    d.OverlayY = kQvStripRow;
    d.BoxFill(0, 0, 639, 479, 3);
    const Bytes shown = Strip(d, kQvStripRow, 479);
    int white = 0, black = 0;
    for (std::uint8_t v : shown) {
        white += v == 255;
        black += v == 0;
    }
    EXPECT_GT(white, 20);
    EXPECT_GT(black, 20);
    // A full-screen blit: the text is drawn again over the new picture.
    const Bytes p(640 * 480, 5);
    d.PutPat(0, 0, 640, 480, p.data());
    Bytes expect = shown;
    for (auto& v : expect)
        if (v == 3) v = 5;
    EXPECT_EQ(Strip(d, kQvStripRow, 479), expect);
    EXPECT_EQ(d.PGet(0, 0), 5);
    // Blits that miss the strip leave it alone; palette changes do not bake the
    // text into the kept rows.
    d.PutPat(0, 0, 10, 10, p.data());
    RGBQUAD grey{90, 90, 90, 0};
    d.SetPal1(77, &grey);
    EXPECT_EQ(Strip(d, kQvStripRow, 479), expect);
    // Another text replaces the first completely.
    const std::string second = "OK";
    d.OverlayText = second.c_str();
    d.PutPat(0, 0, 10, 10, p.data());
    TQvDib ref;
    ui::Bitmap refBmp;
    ref.StartBitmap(&refBmp);
    ref.OverlayFont = &font;
    ref.OverlayText = second.c_str();
    ref.OverlayX = 40;
    ref.OverlayY = kQvStripRow;
    ref.PutPat(0, 0, 640, 480, p.data());
    EXPECT_EQ(Strip(d, kQvStripRow, 479), Strip(ref, kQvStripRow, 479));
    // Cls removes it for good.
    d.Cls();
    EXPECT_EQ(d.OverlayText, nullptr);
    d.PutPat(0, 0, 640, 480, p.data());
    EXPECT_EQ(CountEqual(d, 5), 640 * 480);
}

TEST(QvDibShown, OverlayOnAShortSurfaceStaysInside) {
    TQvDib d(100, 470);
    ui::Bitmap bmp;
    d.StartBitmap(&bmp);
    const std::string text = "Lumia";
    d.OverlayText = text.c_str();
    d.OverlayY = kQvStripRow;
    d.BoxFill(0, 0, 99, 469, 3);
    d.BoxFill(0, 0, 99, 469, 4);
    EXPECT_EQ(d.PGet(99, 469), 4);
    // A font taller than the kept rows is cut at their edge, so nothing stays behind.
    ui::Font tall;
    tall.Height = -40;
    d.OverlayFont = &tall;
    d.OverlayY = 400;
    d.BoxFill(0, 0, 99, 469, 6);
    for (int y = 424; y < 470; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(d.PGet(x, y), 6) << x << "," << y;
    d.OverlayText = nullptr;
    d.BoxFill(0, 0, 99, 0, 6);
    EXPECT_EQ(CountEqual(d, 6), 100 * 470);
    d.OverlayText = text.c_str();
    d.OverlayY = 100000;
    d.BoxFill(0, 0, 99, 469, 6);
    d.OverlayY = -100000;
    d.BoxFill(0, 0, 99, 469, 6);
    d.Cls();
    EXPECT_EQ(CountEqual(d, 0), 100 * 470);
}

TEST(QvDibShown, CanvasOnThePixels) {
    TQvDib d(8, 4);
    ui::Canvas* c = d.GetBmpDC();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(d.GetBmpDC(), nullptr);  // one at a time
    c->Brush.Color = ui::clWhite;
    c->FillRect(ui::Rect{1, 1, 3, 2});
    EXPECT_EQ(d.PGet(1, 1), 255);  // white is entry 255 of the default palette
    EXPECT_EQ(d.PGet(2, 1), 255);
    EXPECT_EQ(d.PGet(3, 1), 0);
    d.ReleaseBmpDC();
    EXPECT_NE(d.GetBmpDC(), nullptr);
    d.ReleaseBmpDC();

    // Copies from and to another canvas, colours matched to the palette.
    ui::Bitmap rgb(4, 4, ui::PixelFormat::pf24bit);
    rgb.GetCanvas().Brush.Color = ui::clRed;
    rgb.GetCanvas().FillRect(ui::Rect{0, 0, 4, 4});
    RGBQUAD red{0, 0, 255, 0};
    d.SetPal1(50, &red);
    EXPECT_TRUE(d.PutBitBlt(4, 0, &rgb.GetCanvas(), 0, 0, 2, 2));
    EXPECT_EQ(d.PGet(4, 0), 50);
    EXPECT_EQ(d.PGet(5, 1), 50);
    EXPECT_EQ(d.PGet(6, 0), 0);
    ui::Bitmap out(4, 4, ui::PixelFormat::pf24bit);
    EXPECT_TRUE(d.GetBitBlt(&out.GetCanvas(), 0, 0, 4, 0, 2, 2));
    EXPECT_EQ(out.GetPixel(1, 1), ui::clRed);
    d.EndDib();
    EXPECT_EQ(d.GetBmpDC(), nullptr);
    EXPECT_FALSE(d.PutBitBlt(0, 0, &rgb.GetCanvas(), 0, 0, 1, 1));
}

}  // namespace

namespace {

// Masks of many rows (their expanded rows no longer fit the blit's own small buffer)
// and of more rows than are kept expanded: row r of the blit takes mask row r % mh.
TEST(QvDibRule, TallMasksFollowThePixelRule) {
    constexpr int kW = 150, kH = 80, kX = 3, kY = 2, kBlitW = 140, kBlitH = 75;
    std::uint32_t seed = 11;
    auto rnd = [&] {
        seed = seed * 22695477 + 1;
        return (seed >> 16) & 0x7FFF;
    };
    for (int mh : {2, 16, 64, 70}) {
        Bytes mask(static_cast<std::size_t>(mh));  // 8 x mh
        for (auto& v : mask) v = std::uint8_t(rnd());
        Bytes pat(std::size_t(kBlitW) * kBlitH), back(std::size_t(kW) * kH);
        for (auto& v : pat) v = std::uint8_t(rnd());
        for (auto& v : back) v = std::uint8_t(rnd());
        TQvDib d(kW, kH);
        d.PutPat(0, 0, kW, kH, back.data());
        ASSERT_TRUE(d.QvPutPatM(kX, kY, kBlitW, kBlitH, pat.data(), kBlitW, mask.data(), 8, mh));
        int wrong = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const int i = x - kX, r = y - kY;
                std::uint8_t want = back[std::size_t(y) * kW + x];
                if (i >= 0 && i < kBlitW && r >= 0 && r < kBlitH &&
                    (mask[r % mh] >> (7 - i % 8)) & 1)
                    want = pat[std::size_t(r) * kBlitW + i];
                wrong += d.PGet(x, y) != want;
            }
        EXPECT_EQ(wrong, 0) << "mask rows " << mh;
    }
}

// Every blit against the pixel rule, on widths around the sizes the row copies work
// in, with clips on both sides: destination column x + i shows pattern column i
// (or w - 1 - i mirrored), transparent bytes and clear mask bits keep what was there.
TEST(QvDibRule, WideBlitsFollowThePixelRule) {
    constexpr int kW = 150, kH = 5;
    std::uint32_t seed = 7;
    auto rnd = [&] {
        seed = seed * 22695477 + 1;
        return (seed >> 16) & 0x7FFF;
    };
    const std::uint8_t mask[3 * 2] = {0xB7, 0x5D, 0x80, 0x6C, 0xE1, 0x40};  // 17 x 2
    enum Kind { Opaque, Transparent, Wappi, Masked };
    for (int w : {1, 15, 16, 17, 31, 32, 33, 64, 70, 100, 149}) {
        for (int x : {0, 3, -5, kW - w / 2}) {
            for (Kind kind : {Opaque, Transparent, Wappi, Masked}) {
                for (bool mirror : {false, true}) {
                    const int pitch = w + 3;
                    Bytes pat(std::size_t(pitch) * kH);
                    for (auto& v : pat) v = std::uint8_t(rnd() % 4 == 0 ? 0 : 1 + rnd() % 250);
                    TQvDib d(kW, kH);
                    Bytes back(std::size_t(kW) * kH);
                    for (auto& v : back) v = std::uint8_t(rnd());
                    d.PutPat(0, 0, kW, kH, back.data());
                    d.Reverse = kind != Wappi && mirror;
                    switch (kind) {
                        case Opaque:
                            d.PutPat2(x, 0, w, kH, pat.data(), pitch);
                            break;
                        case Transparent:
                            d.PasPat2(x, 0, w, kH, pat.data(), pitch, 0);
                            break;
                        case Wappi:
                            d.PasPat2Wappi(x, 0, w, kH, pat.data(), pitch, 0, mirror);
                            break;
                        case Masked:
                            d.QvPutPatM(x, 0, w, kH, pat.data(), pitch, mask, 17, 2);
                            break;
                    }
                    for (int y = 0; y < kH; ++y)
                        for (int dx = 0; dx < kW; ++dx) {
                            std::uint8_t want = back[std::size_t(y) * kW + dx];
                            const int i = dx - x;
                            if (i >= 0 && i < w) {
                                const int col = mirror ? w - 1 - i : i;
                                const std::uint8_t v = pat[std::size_t(y) * pitch + col];
                                const bool bit =
                                    (mask[y % 2 * 3 + col % 17 / 8] >> (7 - col % 17 % 8)) & 1;
                                if (kind == Opaque || (kind == Masked ? bit : v != 0)) want = v;
                            }
                            ASSERT_EQ(d.PGet(dx, y), want)
                                << "w " << w << " x " << x << " kind " << kind << " mirror "
                                << mirror << " at " << dx << "," << y;
                        }
                }
            }
        }
    }
}

}  // namespace
