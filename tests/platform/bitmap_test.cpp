#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Canvas.h"
#include "platform/Screen.h"

namespace {

using ui::Bitmap;
using ui::PixelFormat;

void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& v, std::uint32_t x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}

// A BMP file: `rows` top row first, each already holding its pixel bytes; the rows are
// padded and stored bottom-up unless topDown.
std::vector<std::uint8_t> Bmp(int w, int bits, const std::vector<std::vector<std::uint8_t>>& rows,
                              bool topDown, const std::vector<ui::RGBQuad>& table = {}) {
    const int h = static_cast<int>(rows.size());
    const std::uint32_t stride = ((w * bits + 31) / 32) * 4;
    const std::uint32_t off = 14 + 40 + static_cast<std::uint32_t>(table.size()) * 4;
    std::vector<std::uint8_t> v = {'B', 'M'};
    Put32(v, off + stride * h);
    Put32(v, 0);
    Put32(v, off);
    Put32(v, 40);
    Put32(v, static_cast<std::uint32_t>(w));
    Put32(v, static_cast<std::uint32_t>(topDown ? -h : h));
    Put16(v, 1);
    Put16(v, static_cast<std::uint32_t>(bits));
    Put32(v, 0);
    Put32(v, stride * h);
    Put32(v, 0);
    Put32(v, 0);
    Put32(v, static_cast<std::uint32_t>(table.size()));
    Put32(v, 0);
    for (const ui::RGBQuad& q : table) v.insert(v.end(), {q.Blue, q.Green, q.Red, 0});
    for (int i = 0; i < h; ++i) {
        const auto& row = rows[topDown ? i : h - 1 - i];
        std::vector<std::uint8_t> r = row;
        r.resize(stride, 0xEE);  // padding bytes are never pixels
        v.insert(v.end(), r.begin(), r.end());
    }
    return v;
}

const std::vector<ui::RGBQuad> kTable = {
    {0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};

TEST(Bitmap, Decodes8BitBothRowOrders) {
    for (bool topDown : {false, true}) {
        Bitmap bm;
        ASSERT_TRUE(bm.LoadFromMemory(Bmp(3, 8, {{1, 2, 3}, {3, 0, 1}}, topDown, kTable)));
        EXPECT_EQ(bm.Format(), PixelFormat::pf8bit);
        EXPECT_EQ(bm.Width(), 3);
        EXPECT_EQ(bm.Height(), 2);
        EXPECT_EQ(bm.Stride(), 4);
        EXPECT_EQ(bm.GetRaw(0, 0), 1u);
        EXPECT_EQ(bm.GetRaw(2, 0), 3u);
        EXPECT_EQ(bm.GetRaw(0, 1), 3u);
        EXPECT_EQ(bm.GetPixel(0, 0), ui::clRed);
        EXPECT_EQ(bm.GetPixel(1, 0), ui::clLime);
        EXPECT_EQ(bm.GetPixel(2, 0), ui::clBlue);
        EXPECT_EQ(bm.ColorTable()[200], (ui::RGBQuad{}));  // entries past the file's are black
    }
}

TEST(Bitmap, Decodes24BitAndIndexedSmallDepths) {
    for (bool topDown : {false, true}) {
        Bitmap bm;
        // Pixels are blue, green, red in the file.
        ASSERT_TRUE(bm.LoadFromMemory(
            Bmp(2, 24, {{0, 0, 255, 255, 0, 0}, {0, 255, 0, 10, 20, 30}}, topDown)));
        EXPECT_EQ(bm.Format(), PixelFormat::pf24bit);
        EXPECT_EQ(bm.GetPixel(0, 0), ui::clRed);
        EXPECT_EQ(bm.GetPixel(1, 0), ui::clBlue);
        EXPECT_EQ(bm.GetPixel(0, 1), ui::clLime);
        EXPECT_EQ(bm.GetPixel(1, 1), ui::RGB(30, 20, 10));
    }
    // 1-bit (the pattern brushes) and 4-bit pictures become 8-bit with their table.
    Bitmap mono;
    ASSERT_TRUE(
        mono.LoadFromMemory(Bmp(10, 1, {{0xA5, 0x80}}, false, {{0, 0, 0, 0}, {255, 255, 255, 0}})));
    EXPECT_EQ(mono.Format(), PixelFormat::pf8bit);
    const int bits[] = {1, 0, 1, 0, 0, 1, 0, 1, 1, 0};
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(mono.GetRaw(x, 0), static_cast<std::uint32_t>(bits[x])) << x;
    EXPECT_EQ(mono.GetPixel(0, 0), ui::clWhite);
    Bitmap nib;
    ASSERT_TRUE(nib.LoadFromMemory(Bmp(3, 4, {{0x12, 0x30}}, false, kTable)));
    EXPECT_EQ(nib.GetRaw(0, 0), 1u);
    EXPECT_EQ(nib.GetRaw(1, 0), 2u);
    EXPECT_EQ(nib.GetRaw(2, 0), 3u);
}

TEST(Bitmap, DamagedStreamsFailAndLeaveTheBitmapAlone) {
    const std::vector<std::uint8_t> good = Bmp(3, 8, {{1, 2, 3}, {3, 0, 1}}, false, kTable);
    auto with = [&](std::size_t at, std::vector<std::uint8_t> bytes) {
        std::vector<std::uint8_t> v = good;
        for (std::size_t i = 0; i < bytes.size(); ++i) v[at + i] = bytes[i];
        return v;
    };
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},
        std::vector<std::uint8_t>(good.begin(), good.end() - 1),  // last row cut short
        std::vector<std::uint8_t>(good.begin(), good.begin() + 20),
        with(0, {'B', 'X'}),
        with(10, {0xFF, 0xFF, 0, 0}),        // pixels beyond the end
        with(14, {12, 0, 0, 0}),             // header too small
        with(14, {0xFF, 0xFF, 0xFF, 0x7F}),  // header larger than the file
        with(18, {0, 0, 0, 0}),              // width 0
        with(18, {0xFF, 0xFF, 0xFF, 0xFF}),  // width negative
        with(22, {0, 0, 0, 0}),              // height 0
        with(22, {0, 0, 0, 0x80}),           // height INT_MIN
        with(18, {0, 0, 1, 0}),              // 65536 wide: too big
        with(28, {16, 0}),                   // 16 bits a pixel
        with(30, {1, 0, 0, 0}),              // compressed
        with(46, {0, 2, 0, 0}),              // 512 colours
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        Bitmap bm(2, 2);
        bm.SetPixel(1, 1, ui::clRed);
        EXPECT_FALSE(bm.LoadFromMemory(bad[i])) << i;
        EXPECT_EQ(bm.Width(), 2) << i;
        EXPECT_EQ(bm.GetPixel(1, 1), ui::clRed) << i;
    }
    EXPECT_FALSE(Bitmap().LoadFromFile("/nonexistent/picture.bmp"));
}

TEST(Bitmap, DecodesAnImageWithoutFileHeader) {
    // A resource starts at its info header; the pixels follow the colour table.
    const std::vector<std::uint8_t> file = Bmp(3, 8, {{1, 2, 3}}, true, kTable);
    Bitmap bm;
    ASSERT_TRUE(bm.LoadFromMemory(std::span(file).subspan(14), false));
    EXPECT_EQ(bm.GetRaw(2, 0), 3u);
}

TEST(Bitmap, SavesWhatItLoads) {
    for (PixelFormat f : {PixelFormat::pf8bit, PixelFormat::pf24bit}) {
        Bitmap bm(5, 3, f);
        bm.SetPixel(0, 0, ui::clRed);
        bm.SetPixel(4, 2, ui::clWhite);
        bm.SetPixel(2, 1, ui::clNavy);
        Bitmap back;
        ASSERT_TRUE(back.LoadFromMemory(bm.SaveToMemory()));
        EXPECT_EQ(back.Format(), f);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(back.GetPixel(x, y), bm.GetPixel(x, y));
    }
}

TEST(Bitmap, ResizeKeepsTheCornerAndWhitensTheRest) {
    for (PixelFormat f : {PixelFormat::pf8bit, PixelFormat::pf24bit, PixelFormat::pf32bit}) {
        Bitmap bm(2, 2, f);
        EXPECT_EQ(bm.GetPixel(0, 1), ui::clWhite);  // a new bitmap is white
        bm.SetPixel(1, 1, ui::clRed);
        bm.SetPixel(0, 0, ui::clBlack);
        bm.SetSize(3, 3);
        EXPECT_EQ(bm.GetPixel(1, 1), ui::clRed);
        EXPECT_EQ(bm.GetPixel(0, 0), ui::clBlack);
        EXPECT_EQ(bm.GetPixel(2, 2), ui::clWhite);
        EXPECT_EQ(bm.GetPixel(2, 0), ui::clWhite);
        bm.SetSize(-5, 1);
        EXPECT_TRUE(bm.Empty());
        EXPECT_EQ(bm.GetPixel(0, 0), ui::clBlack);  // reading an empty bitmap is safe
    }
    // Changing the depth keeps the colours.
    Bitmap bm(2, 1);
    bm.SetPixel(0, 0, ui::clLime);
    bm.SetPixel(1, 0, ui::RGB(1, 2, 3));
    bm.SetFormat(PixelFormat::pf8bit);
    EXPECT_EQ(bm.GetPixel(0, 0), ui::clLime);
    EXPECT_EQ(bm.GetPixel(1, 0), ui::clBlack);  // the nearest entry of the default table
    bm.SetFormat(PixelFormat::pf32bit);
    EXPECT_EQ(bm.GetPixel(0, 0), ui::clLime);
}

TEST(Bitmap, AttachedPixelsAreDrawnInPlace) {
    // A palette surface lends its pixel rows; the canvas draws straight into them.
    std::vector<std::uint8_t> pixels(8 * 3, 0);
    Bitmap bm;
    bm.AttachPixels8(pixels.data(), 6, 3, 8);
    EXPECT_TRUE(bm.PixelsAttached());
    bm.GetCanvas().Brush.Color = ui::clRed;
    bm.GetCanvas().FillRect(ui::Rect{1, 1, 100, 2});
    EXPECT_EQ(pixels[8 + 1], 249);  // pure red of the system colours
    EXPECT_EQ(pixels[8 + 5], 249);
    EXPECT_EQ(pixels[8 + 6], 0);  // row padding untouched
    Bitmap copy = bm;             // a copy owns its pixels
    EXPECT_FALSE(copy.PixelsAttached());
    copy.SetRaw(0, 0, 7);
    EXPECT_EQ(pixels[0], 0);
    bm.AttachPixels8(nullptr, 0, 0, 0);
    EXPECT_TRUE(bm.Empty());
}

TEST(Bitmap, PresentsToTheScreenThroughItsColourTable) {
    Bitmap bm(4, 3, PixelFormat::pf8bit);
    ui::Palette p{};
    p[5] = ui::RGBQuad{0x30, 0x20, 0x10, 0};  // red 0x10, green 0x20, blue 0x30
    bm.SetColorTable(p);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) bm.SetRaw(x, y, 5);
    ui::Screen screen(6, 4);
    screen.Fill(0xABCDEF);
    ui::Present(bm, screen, 3, 2);  // clipped at the right and bottom
    EXPECT_EQ(screen.At(3, 2), 0x102030u);
    EXPECT_EQ(screen.At(5, 3), 0x102030u);
    EXPECT_EQ(screen.At(2, 2), 0xABCDEFu);
    ui::Present(bm, ui::Rect{1, 1, 3, 2}, screen, -1, 0);  // clipped at the left
    EXPECT_EQ(screen.At(0, 0), 0x102030u);
    EXPECT_EQ(screen.At(1, 0), 0xABCDEFu);
    // True-colour pixels go across as they are.
    Bitmap rgb(1, 1, PixelFormat::pf24bit);
    rgb.SetPixel(0, 0, ui::RGB(0x11, 0x22, 0x33));
    ui::Present(rgb, screen, 0, 3);
    EXPECT_EQ(screen.At(0, 3), 0x112233u);
    ui::Present(rgb, screen, 6, 0);  // fully outside
    ui::Present(rgb, screen, -1, -1);
    ui::Present(rgb, ui::Rect{-2147483000, -2147483000, 2147483000, 2147483000}, screen, 2147483000,
                -5);
}

}  // namespace
