#include "media/Qvbitmap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "media/Qvdib.h"
#include "media/Qvpack.h"
#include "tests/support/PictureFixtures.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

// A 3 x 2 picture: rows {1, 2, 3} and {4, 5, 6}.
const std::uint8_t k3x2[6] = {1, 2, 3, 4, 5, 6};

TEST(QvRGB, ByteOrderAndWords) {
    const TQvRGB c(1, 2, 3);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&c);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[1], 2);
    EXPECT_EQ(bytes[2], 1);
    EXPECT_EQ(c.ToDWORD(), 0x00010203u);
    EXPECT_EQ(TQvRGB(0x00A0B0C0u), TQvRGB(0xA0, 0xB0, 0xC0));
    const RGBQUAD q = c.ToRGBQUAD();
    EXPECT_EQ(q.rgbBlue, 3);
    EXPECT_EQ(q.rgbGreen, 2);
    EXPECT_EQ(q.rgbRed, 1);
    EXPECT_EQ(q.rgbReserved, 0);
    TQvRGB d;
    EXPECT_EQ(d.ToDWORD(), 0u);
    d = RGBQUAD{9, 8, 7, 99};
    EXPECT_EQ(d, TQvRGB(7, 8, 9));
    d = 0x00112233u;
    EXPECT_EQ(d, TQvRGB(0x11, 0x22, 0x33));
}

TEST(LoadBmp, ThreeByTwoWithRowPadding) {
    const auto pal = test::RampPalette();
    const Bytes file = test::MakeBmp8(3, 2, k3x2, pal.data());
    // Each stored row is 3 bytes and 1 padding byte; the bottom row comes first.
    ASSERT_EQ(file.size(), 54u + 1024u + 8u);
    EXPECT_EQ(file[54 + 1024], 4);
    EXPECT_EQ(file[54 + 1024 + 4], 1);

    RGBQUAD* p = nullptr;
    std::uint8_t* px = nullptr;
    int w = 0, h = 0;
    ASSERT_TRUE(LoadBmpMemory(file.data(), file.size(), true, &p, &px, &w, &h));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(0, std::memcmp(px, k3x2, 6));
    EXPECT_EQ(p[200].rgbRed, 200);
    EXPECT_EQ(p[200].rgbGreen, 55);
    EXPECT_EQ(p[200].rgbBlue, 100);
    QvFree(p);
    QvFree(px);
}

TEST(LoadBmp, FromFileTopDownAndSizeOnly) {
    const auto pal = test::RampPalette();
    const std::filesystem::path dir = test::ScratchDir("qvbitmap-file");
    const std::string up = test::WriteTemp(dir, "UP.BMP", test::MakeBmp8(3, 2, k3x2, pal.data()));
    const std::string down =
        test::WriteTemp(dir, "DOWN.BMP", test::MakeBmp8(3, 2, k3x2, pal.data(), {.topDown = true}));
    for (const std::string& path : {up, down}) {
        std::uint8_t* px = nullptr;
        int w = 0, h = 0;
        ASSERT_TRUE(LoadBmpFile(path, nullptr, &px, &w, &h)) << path;
        EXPECT_EQ(h, 2);
        EXPECT_EQ(0, std::memcmp(px, k3x2, 6)) << path;
        QvFree(px);
        // Neither output wanted: only the size.
        w = h = 0;
        ASSERT_TRUE(LoadBmpFile(path, nullptr, nullptr, &w, &h));
        EXPECT_EQ(w, 3);
        EXPECT_EQ(h, 2);
    }
    EXPECT_FALSE(LoadBmpFile((dir / "MISSING.BMP").string(), nullptr, nullptr, nullptr, nullptr));
}

TEST(LoadBmp, SixteenColoursIntoPresetPalette) {
    const auto pal = test::RampPalette();
    const Bytes file = test::MakeBmp8(3, 2, k3x2, pal.data(), {.colours = 16});
    ASSERT_EQ(file.size(), 54u + 64u + 8u);
    RGBQUAD preset[256];
    for (auto& e : preset) e = RGBQUAD{7, 7, 7, 7};
    RGBQUAD* p = preset;
    std::uint8_t buffer[6] = {};
    std::uint8_t* px = buffer;
    ASSERT_TRUE(LoadBmpMemory(file.data(), file.size(), true, &p, &px, nullptr, nullptr));
    EXPECT_EQ(p, preset);
    EXPECT_EQ(0, std::memcmp(buffer, k3x2, 6));  // rows start right after the 64 bytes
    EXPECT_EQ(preset[15].rgbRed, 15);
    EXPECT_EQ(preset[16].rgbRed, 7);  // past the table: left as it was
    EXPECT_EQ(preset[255].rgbReserved, 7);

    // A palette the loader allocates is zero past the colours read.
    RGBQUAD* fresh = nullptr;
    ASSERT_TRUE(LoadBmpMemory(file.data(), file.size(), true, &fresh, nullptr, nullptr, nullptr));
    EXPECT_EQ(fresh[15].rgbRed, 15);
    for (int i = 16; i < 256; ++i)
        ASSERT_EQ(fresh[i].rgbRed | fresh[i].rgbGreen | fresh[i].rgbBlue, 0) << i;
    QvFree(fresh);
}

TEST(LoadBmp, DamagedPicturesFailWithoutWriting) {
    const auto pal = test::RampPalette();
    const Bytes good = test::MakeBmp8(3, 2, k3x2, pal.data(), {.colours = 16});
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases;
    auto with = [&](const char* what, std::size_t at, std::uint32_t v) {
        Bytes b = good;
        Put32(b, at, v);
        cases.push_back({what, b});
    };
    with("24 bits", 28, 24);
    with("4 bits", 28, 4);
    with("257 colours", 46, 257);
    with("width 0", 18, 0);
    with("negative width", 18, std::uint32_t(-3));
    with("height 0", 22, 0);
    with("huge width", 18, 0x7FFFFFFF);
    with("huge height", 22, 0x7FFFFFFF);
    with("most negative height", 22, 0x80000000);
    cases.push_back({"short rows", Bytes(good.begin(), good.end() - 4)});
    cases.push_back({"short table", Bytes(good.begin(), good.begin() + 54 + 60)});
    cases.push_back({"short header", Bytes(good.begin(), good.begin() + 50)});
    cases.push_back({"empty", Bytes{}});
    for (const Case& c : cases) {
        RGBQUAD preset[256] = {};
        preset[0].rgbRed = 77;
        RGBQUAD* p = preset;
        std::uint8_t buffer[6] = {9, 9, 9, 9, 9, 9};
        std::uint8_t* px = buffer;
        int w = -1, h = -1;
        EXPECT_FALSE(LoadBmpMemory(c.bytes.data(), c.bytes.size(), true, &p, &px, &w, &h))
            << c.what;
        EXPECT_EQ(preset[0].rgbRed, 77) << c.what;
        EXPECT_EQ(buffer[0], 9) << c.what;
        EXPECT_EQ(w, -1) << c.what;
        RGBQUAD* none = nullptr;
        std::uint8_t* nopx = nullptr;
        EXPECT_FALSE(LoadBmpMemory(c.bytes.data(), c.bytes.size(), true, &none, &nopx, &w, &h))
            << c.what;
        EXPECT_EQ(none, nullptr) << c.what;
        EXPECT_EQ(nopx, nullptr) << c.what;
    }
    // The last row may come without its padding.
    Bytes unpadded(good.begin(), good.end() - 1);
    EXPECT_TRUE(
        LoadBmpMemory(unpadded.data(), unpadded.size(), true, nullptr, nullptr, nullptr, nullptr));
}

TEST(LoadBmp, TwentyFourBitFileIsNotAnEightBitPicture) {
    const TQvRGB px[6] = {{1, 2, 3},    {4, 5, 6},    {7, 8, 9},
                          {10, 11, 12}, {13, 14, 15}, {16, 17, 18}};
    const Bytes file = test::MakeBmp24(3, 2, px);
    int w = -1;
    EXPECT_FALSE(LoadBmpMemory(file.data(), file.size(), true, nullptr, nullptr, &w, nullptr));
    EXPECT_EQ(w, -1);

    TQvRGB* out = nullptr;
    int h = 0;
    ASSERT_TRUE(LoadBmp24Memory(file.data(), file.size(), true, &out, &w, &h));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(out[i], px[i]) << i;
    QvFree(out);
}

// A 2 x 2 picture of 16 colours with RLE8 rows, as image tools write by default: its
// eight stored bytes are as many as two uncompressed rows would take, so only the
// compression field tells them apart.
Bytes Rle8Bmp() {
    const auto pal = test::RampPalette();
    const std::uint8_t rows[4] = {5, 5, 7, 7};
    Bytes b = test::MakeBmp8(2, 2, rows, pal.data(), {.colours = 16});
    const std::size_t at = 14 + 40 + 16 * 4;
    b.resize(at);
    // Bottom row: two of colour 7, end of line; top row: two of 5, end of picture.
    const std::uint8_t rle[] = {0x02, 0x07, 0x00, 0x00, 0x02, 0x05, 0x00, 0x01};
    b.insert(b.end(), rle, rle + sizeof rle);
    Put32(b, 30, 1);           // BI_RLE8
    Put32(b, 34, sizeof rle);  // image bytes
    Put32(b, 2, std::uint32_t(b.size()));
    return b;
}

TEST(LoadBmp, CompressedRowsFail) {
    const Bytes rle = Rle8Bmp();
    Bytes plain = rle;
    Put32(plain, 30, 0);
    int w = -1, h = -1;
    // Read as rows, the same bytes would load: the compression field is what fails it.
    ASSERT_TRUE(LoadBmpMemory(plain.data(), plain.size(), true, nullptr, nullptr, &w, &h));
    w = -1;
    RGBQUAD* p = nullptr;
    std::uint8_t* px = nullptr;
    EXPECT_FALSE(LoadBmpMemory(rle.data(), rle.size(), true, &p, &px, &w, &h));
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(px, nullptr);
    EXPECT_EQ(w, -1);
    TQvRGB* rgb = nullptr;
    EXPECT_FALSE(LoadBmp24Memory(rle.data(), rle.size(), true, &rgb, &w, &h));
    EXPECT_EQ(rgb, nullptr);
    for (std::uint32_t compression : {2u, 3u, 4u, 5u}) {
        Bytes other = plain;
        Put32(other, 30, compression);
        EXPECT_FALSE(LoadBmpMemory(other.data(), other.size(), true, nullptr, nullptr, &w, &h))
            << compression;
    }
    // From a file, as a player's own picture would come.
    const std::filesystem::path dir = test::ScratchDir("rle");
    const std::string path = test::WriteTemp(dir, "rle.bmp", rle);
    EXPECT_FALSE(LoadBmpFile(path, &p, &px, &w, &h));
    EXPECT_FALSE(LoadBmp24File(path, &rgb, &w, &h));
    EXPECT_EQ(w, -1);
}

// The loaders read 8 bits (and the 24-bit ones 24 too); every other depth fails.
TEST(LoadBmp, DepthsTheLoaderDoesNotReadFail) {
    const auto pal = test::RampPalette();
    const Bytes good = test::MakeBmp8(3, 2, k3x2, pal.data(), {});
    for (std::uint32_t bits : {0u, 1u, 2u, 4u, 16u, 24u, 32u, 64u}) {
        Bytes b = good;
        b[28] = std::uint8_t(bits);
        int w = -1, h = -1;
        EXPECT_FALSE(LoadBmpMemory(b.data(), b.size(), true, nullptr, nullptr, &w, &h)) << bits;
        if (bits != 24) {
            EXPECT_FALSE(LoadBmp24Memory(b.data(), b.size(), true, nullptr, &w, &h)) << bits;
        }
        EXPECT_EQ(w, -1) << bits;
    }
}

// An info header of the longer kinds (V5 here) is followed by the colour table.
TEST(LoadBmp, LongerInfoHeaderPutsTheTableAfterIt) {
    const auto pal = test::RampPalette();
    Bytes b = test::MakeBmp8(3, 2, k3x2, pal.data(), {.colours = 16});
    b.insert(b.begin() + 54, 124 - 40, 0);
    Put32(b, 14, 124);
    Put32(b, 10, 14 + 124 + 16 * 4);
    RGBQUAD* p = nullptr;
    std::uint8_t* px = nullptr;
    int w = 0, h = 0;
    ASSERT_TRUE(LoadBmpMemory(b.data(), b.size(), true, &p, &px, &w, &h));
    EXPECT_EQ(0, std::memcmp(p, pal.data(), 16 * 4));
    EXPECT_EQ(0, std::memcmp(px, k3x2, 6));
    QvFree(p);
    QvFree(px);
}

TEST(LoadBmp24, EightBitPictureThroughItsTable) {
    auto pal = test::RampPalette();
    // Index 20 lies past the 16-entry table: black, not whatever follows the table.
    const std::uint8_t idx[6] = {0, 1, 15, 20, 2, 3};
    const Bytes file = test::MakeBmp8(3, 2, idx, pal.data(), {.colours = 16});
    TQvRGB* out = nullptr;
    int w = 0, h = 0;
    ASSERT_TRUE(LoadBmp24Memory(file.data(), file.size(), true, &out, &w, &h));
    EXPECT_EQ(out[2], TQvRGB(pal[15]));
    EXPECT_EQ(out[3], TQvRGB());
    EXPECT_EQ(out[4], TQvRGB(pal[2]));
    QvFree(out);
    // Other bit counts fail.
    Bytes four = file;
    four[28] = 4;
    EXPECT_FALSE(LoadBmp24Memory(four.data(), four.size(), true, nullptr, &w, &h));
}

TEST(LoadAct, ChannelOrderAndShortFiles) {
    Bytes act(768, 0);
    act[0] = 255;         // entry 0: red 255
    act[3 * 7 + 1] = 40;  // entry 7: green 40
    act[767] = 9;         // entry 255: blue 9
    const std::filesystem::path dir = test::ScratchDir("qvbitmap-act");
    const std::string path = test::WriteTemp(dir, "PAL.ACT", act);
    RGBQUAD* p = nullptr;
    ASSERT_TRUE(LoadActFile(path, &p));
    EXPECT_EQ(p[0].rgbRed, 255);
    EXPECT_EQ(p[0].rgbGreen, 0);
    EXPECT_EQ(p[0].rgbBlue, 0);
    EXPECT_EQ(p[0].rgbReserved, 0);
    EXPECT_EQ(p[7].rgbGreen, 40);
    EXPECT_EQ(p[255].rgbBlue, 9);
    QvFree(p);

    // The writer gives back what the loader reads.
    auto pal = test::RampPalette();
    const Bytes written = test::MakeAct(pal.data());
    RGBQUAD back[256];
    RGBQUAD* bp = back;
    ASSERT_TRUE(LoadActMemory(written.data(), written.size(), &bp));
    EXPECT_EQ(0, std::memcmp(back, pal.data(), sizeof(back)));

    // Short: fails and writes nothing; a trailer past 768 bytes is ignored.
    RGBQUAD keep[256] = {};
    RGBQUAD* kp = keep;
    EXPECT_FALSE(LoadActMemory(act.data(), 767, &kp));
    EXPECT_EQ(keep[0].rgbRed, 0);
    EXPECT_FALSE(
        LoadActFile(test::WriteTemp(dir, "SHORT.ACT", Bytes(act.begin(), act.end() - 1)), &kp));
    Bytes longer = act;
    longer.resize(772, 1);
    EXPECT_TRUE(LoadActMemory(longer.data(), longer.size(), &kp));
    EXPECT_FALSE(LoadActFile((dir / "NONE.ACT").string(), &kp));
}

TEST(LoadBmp, GamePathsReachTheFile) {
    const auto pal = test::RampPalette();
    const std::filesystem::path dir = test::ScratchDir("qvbitmap-slash");
    test::WriteTemp(dir / "Sub", "P.BMP", test::MakeBmp8(3, 2, k3x2, pal.data()));
    int w = 0;
    EXPECT_TRUE(LoadBmpFile(dir.string() + "\\Sub\\P.BMP", nullptr, nullptr, &w, nullptr));
    EXPECT_EQ(w, 3);
    w = 0;
    EXPECT_TRUE(LoadBmpFile(dir.string() + "\\sub\\p.bmp", nullptr, nullptr, &w, nullptr));
    EXPECT_EQ(w, 3);
}

// A pack holding a compressed picture, a stored palette and a damaged picture.
class PackPictures : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::ScratchDir(std::string("qvbitmap-pack-") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        pal = test::RampPalette();
        pixels.resize(64 * 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 64; ++x) pixels[y * 64 + x] = std::uint8_t((x / 8 + y / 5) % 7 + 1);
        const Bytes bmp = test::MakeBmp8(64, 40, pixels.data(), pal.data());
        const Bytes act = test::MakeAct(pal.data());
        const std::string bmpPath = test::WriteTemp(dir, "src.bmp", bmp);
        const std::string actPath = test::WriteTemp(dir, "src.act", act);
        const std::string badPath =
            test::WriteTemp(dir, "bad.bmp", Bytes(bmp.begin(), bmp.begin() + 600));
        packPath = (dir / "PICS.PAK").string();
        TQvPack w;
        w.SetReadOnly(false);
        ASSERT_TRUE(w.NewPack(packPath.c_str()));
        ASSERT_TRUE(w.AddFile("Room.bmp", bmpPath.c_str(), true));
        ASSERT_TRUE(w.AddFile("Room.act", actPath.c_str(), false));
        ASSERT_TRUE(w.AddFile("Bad.bmp", badPath.c_str(), true));
        ASSERT_TRUE(w.EndPack());
        ASSERT_TRUE(pack.OpenPack(packPath));
        const QvFileTable2* r = pack.Record(pack.CheckFileName("Room.bmp"));
        ASSERT_NE(r, nullptr);
        ASSERT_EQ(r->compressed, 1);
        ASSERT_LT(r->storedSize, r->size);
    }

    std::filesystem::path dir;
    std::vector<RGBQUAD> pal;
    Bytes pixels;
    std::string packPath;
    TQvPack pack;
};

TEST_F(PackPictures, PictureFromACompressedMember) {
    RGBQUAD* p = nullptr;
    std::uint8_t* px = nullptr;
    int w = 0, h = 0;
    ASSERT_TRUE(LoadBmpPack(&pack, "ROOM.BMP", &p, &px, &w, &h));
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 40);
    EXPECT_EQ(0, std::memcmp(px, pixels.data(), pixels.size()));
    EXPECT_EQ(0, std::memcmp(p, pal.data(), 1024));
    QvFree(p);
    QvFree(px);

    TQvRGB* rgb = nullptr;
    ASSERT_TRUE(LoadBmp24Pack(&pack, "Room.bmp", &rgb, &w, &h));
    EXPECT_EQ(rgb[64 * 39 + 63], TQvRGB(pal[pixels[64 * 39 + 63]]));
    QvFree(rgb);

    RGBQUAD* a = nullptr;
    ASSERT_TRUE(LoadActPack(&pack, "Room.act", &a));
    EXPECT_EQ(a[200].rgbRed, 200);
    QvFree(a);
    // The member handles are closed: the same member reads again.
    EXPECT_TRUE(LoadBmpPack(&pack, "Room.bmp", nullptr, nullptr, &w, &h));
}

TEST_F(PackPictures, MissingAndDamagedMembersFail) {
    int w = -1;
    RGBQUAD* p = nullptr;
    std::uint8_t* px = nullptr;
    EXPECT_FALSE(LoadBmpPack(&pack, "Nothing.bmp", &p, &px, &w, nullptr));
    EXPECT_FALSE(LoadBmpPack(&pack, "Bad.bmp", &p, &px, &w, nullptr));
    EXPECT_FALSE(LoadBmpPack(nullptr, "Room.bmp", &p, &px, &w, nullptr));
    EXPECT_FALSE(LoadActPack(&pack, "Bad.act", &p));
    EXPECT_FALSE(LoadActPack(&pack, "Bad.bmp", &p));  // 600 bytes: too short for a palette
    EXPECT_EQ(p, nullptr);
    TQvRGB* rgb = nullptr;
    EXPECT_FALSE(LoadBmp24Pack(&pack, "Bad.bmp", &rgb, &w, nullptr));
    EXPECT_EQ(px, nullptr);
    EXPECT_EQ(rgb, nullptr);
    EXPECT_EQ(w, -1);
    TQvPack closed;
    EXPECT_FALSE(LoadBmpPack(&closed, "Room.bmp", &p, &px, &w, nullptr));
}

TEST_F(PackPictures, SurfaceDrawsAndTakesPalettesFromThePack) {
    TQvDib d(80, 50);
    EXPECT_TRUE(d.DrawBmpPack(&pack, "Room.bmp", 10, 5));
    EXPECT_EQ(d.PGet(10, 5), pixels[0]);
    EXPECT_EQ(d.PGet(73, 44), pixels[64 * 39 + 63]);
    EXPECT_EQ(d.PGet(9, 5), 0);
    RGBQUAD q{};
    d.AskPal1(200, &q);
    EXPECT_EQ(q.rgbRed, 200);
    d.InitPal();
    EXPECT_TRUE(d.SetActPack(&pack, "Room.act"));
    d.AskPal1(200, &q);
    EXPECT_EQ(q.rgbRed, 200);
    d.InitPal();
    EXPECT_FALSE(d.SetActPack(&pack, "Bad.bmp"));
    EXPECT_FALSE(d.DrawBmpPack(&pack, "Bad.bmp", 0, 0));
    EXPECT_FALSE(d.SetActPack(nullptr, "Room.act"));
    d.AskPal1(200, &q);
    EXPECT_EQ(q.rgbRed, 0);
    EXPECT_EQ(d.PGet(10, 5), pixels[0]);
}

TEST(LoadBmpResource, MissingResourcesFail) {
    int w = -1;
    EXPECT_FALSE(LoadBmpResource(std::uint16_t(4321), nullptr, nullptr, &w, nullptr));
    EXPECT_FALSE(
        LoadBmpResource(std::string_view("no-such-picture.bmp"), nullptr, nullptr, &w, nullptr));
    EXPECT_FALSE(LoadBmp24Resource(std::uint16_t(4321), nullptr, &w, nullptr));
    EXPECT_EQ(w, -1);
    TQvDib d(4, 4);
    EXPECT_FALSE(d.DrawBmpResource(std::uint16_t(4321), 0, 0));
}

// A picture stored as a resource is read from its info header, with or without
// the file header in front.
TEST(LoadBmpMemory, ResourceForm) {
    const auto pal = test::RampPalette();
    const Bytes file = test::MakeBmp8(3, 2, k3x2, pal.data(), {.colours = 16});
    const Bytes res(file.begin() + 14, file.end());
    std::uint8_t* px = nullptr;
    ASSERT_TRUE(LoadBmpMemory(res.data(), res.size(), false, nullptr, &px, nullptr, nullptr));
    EXPECT_EQ(0, std::memcmp(px, k3x2, 6));
    QvFree(px);
    EXPECT_FALSE(LoadBmpMemory(res.data(), res.size(), true, nullptr, nullptr, nullptr, nullptr));
}

}  // namespace
