// Sprite sheets, the sheet list, the fatal path, sprite animation, layer order and
// rendering onto the 8-bit surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/FileFaults.h"
#include "media/Qvdib.h"
#include "media/Qvpack.h"
#include "platform/Files.h"
#include "shop/Figure.h"
#include "tests/support/SpriteFixtures.h"

namespace {

using test::FatalCatcher;
using test::NumberedSheet;
using test::SpriteEngineReset;

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// ---------------------------------------------------------------------------
// The sheet list

TEST(SpriteSheetList, LinesWithCrLfOrLf) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> names;
    } cases[] = {
        {"CRLF", "bg.wbm\r\nman.wbm\r\n", {"bg.wbm", "man.wbm"}},
        {"LF", "bg.wbm\nman.wbm\n", {"bg.wbm", "man.wbm"}},
        {"mixed, last line unterminated",
         "bg.wbm\r\nman.wbm\nshelf.wbm",
         {"bg.wbm", "man.wbm", "shelf.wbm"}},
        {"blank lines at the end", "a\r\nb\r\n\r\n\n", {"a", "b"}},
        {"one character names", "a\nb\n", {"a", "b"}},
        {"empty", "", {}},
        {"lone carriage return stays in the name", "a\rb\n", {"a\rb"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> names{"stale"};
        const auto bytes = Bytes(c.text);
        ASSERT_TRUE(ParseSpriteSheetList(bytes.data(), bytes.size(), &names)) << c.what;
        EXPECT_EQ(names, c.names) << c.what;
    }
}

TEST(SpriteSheetList, BoundsNamesAndCount) {
    std::string text;
    for (int i = 0; i < 70; ++i) text += "s" + std::to_string(i) + "\r\n";
    auto bytes = Bytes(text);
    std::vector<std::string> names;
    ASSERT_TRUE(ParseSpriteSheetList(bytes.data(), bytes.size(), &names));
    ASSERT_EQ(names.size(), 64u);
    EXPECT_EQ(names.back(), "s63");

    bytes = Bytes(std::string(300, 'x') + "\n");
    ASSERT_TRUE(ParseSpriteSheetList(bytes.data(), bytes.size(), &names));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].size(), kMaxSpriteSheetName);
}

TEST(SpriteSheetList, EmptyLineBeforeANameIsRefused) {
    const auto bytes = Bytes("a\r\n\r\nb\r\n");
    std::vector<std::string> names{"kept"};
    EXPECT_FALSE(ParseSpriteSheetList(bytes.data(), bytes.size(), &names));
    EXPECT_EQ(names, std::vector<std::string>{"kept"});
}

// ---------------------------------------------------------------------------
// Sheet pictures

TEST(SpriteSheetPicture, HeaderChecks) {
    const auto good = test::SheetPicture(8, 4, 4, 2, [](int, int) { return 1; });
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool ok;
    } cases[] = {
        {"8-bit sheet", good, true},
        {"24-bit sheet",
         test::SheetPicture(
             4, 2, 2, 2, [](int, int) { return 1; }, "!WBT"),
         true},
        {"wrong magic",
         test::SheetPicture(
             8, 4, 4, 2, [](int, int) { return 1; }, "!WBX"),
         false},
        {"frame width 0", test::SheetPicture(8, 4, 0, 2, [](int, int) { return 1; }), false},
        {"frame height 0", test::SheetPicture(8, 4, 4, 0, [](int, int) { return 1; }), false},
        {"frame wider than the sheet", test::SheetPicture(8, 4, 9, 2, [](int, int) { return 1; }),
         false},
        {"frame taller than the sheet", test::SheetPicture(8, 4, 4, 5, [](int, int) { return 1; }),
         false},
        {"one pixel short", std::vector<std::uint8_t>(good.begin(), good.end() - 1), false},
        {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + 12), false},
        {"shorter than the header", std::vector<std::uint8_t>(good.begin(), good.begin() + 11),
         false},
    };
    for (const Case& c : cases) {
        SPManChips sheet;
        EXPECT_EQ(LoadSpriteSheetMemory(c.bytes.data(), c.bytes.size(), &sheet), c.ok) << c.what;
        EXPECT_EQ(sheet.Loaded(), c.ok) << c.what;
    }
}

TEST(SpriteSheetPicture, FramesLieInAGrid) {
    const auto bytes = NumberedSheet(3, 2, 4, 5);  // frame f is filled with f + 1
    SPManChips sheet;
    ASSERT_TRUE(LoadSpriteSheetMemory(bytes.data(), bytes.size(), &sheet));
    EXPECT_EQ(sheet.Columns, 3);
    EXPECT_EQ(sheet.Rows, 2);
    for (int f = 0; f < 6; ++f) {
        const std::uint8_t* p = sheet.FramePixels(f);
        EXPECT_EQ(p[0], f + 1);
        EXPECT_EQ(p[3], f + 1);                    // last column of the frame's first row
        EXPECT_EQ(p[4 * sheet.Width + 3], f + 1);  // last row, last column
    }
    // Frames beyond the grid (and negative ones) give the first frame.
    EXPECT_EQ(sheet.FramePixels(6), sheet.FramePixels(0));
    EXPECT_EQ(sheet.FramePixels(95), sheet.FramePixels(0));
    EXPECT_EQ(sheet.FramePixels(-1), sheet.FramePixels(0));
}

// ---------------------------------------------------------------------------
// Loading from the sprite pack, and the fatal path

class SpritePackTest : public ::testing::Test {
protected:
    SpriteEngineReset reset_;
    FatalCatcher fatal_;
    std::filesystem::path dir_{test::ScratchDir("sprite_pack_test")};
    TQvPack pack_;

    std::string Write(
        const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& members) {
        const auto path = dir_ / "SPMan.Pak";
        EXPECT_TRUE(test::WritePack(path, members));
        return path.string();
    }
};

TEST_F(SpritePackTest, LoadsTheListedSheetsWithCrLfAndWithLf) {
    for (const char* list : {"bg.wbm\r\nman.wbm\r\n", "bg.wbm\nman.wbm"}) {
        const std::string path = Write({{"SPMan.cfg", Bytes(list)},
                                        {"bg.wbm", NumberedSheet(1, 1, 6, 4)},
                                        {"man.wbm", NumberedSheet(4, 2, 3, 5)}});
        ASSERT_TRUE(LoadSpriteSheets(&pack_, path)) << list;
        EXPECT_TRUE(fatal_.Messages.empty());
        ASSERT_EQ(SpriteSheetCount, 2);
        EXPECT_EQ(SpriteSheets[0].Width, 6);
        EXPECT_EQ(SpriteSheets[1].Columns, 4);
        EXPECT_EQ(SpriteSheets[1].Rows, 2);
        EXPECT_EQ(SpriteSheets[1].FramePixels(5)[0], 6);
        EXPECT_FALSE(pack_.IsOpen());
        std::filesystem::remove(path);
    }
}

// A member the pack does not hold is named alone, as is a sheet with a wrong magic; one
// that is there but cannot be read is named with its pack, as any damaged member is.
TEST_F(SpritePackTest, FailuresReachTheFatalPathWithTheName) {
    const std::string pack = GameFileName((dir_ / "SPMan.Pak").string());
    auto badHeader = NumberedSheet(2, 1, 3, 3);
    badHeader[8] = 0;  // frame width 0
    badHeader[9] = 0;
    auto shortSheet = NumberedSheet(2, 1, 3, 3);
    shortSheet.resize(shortSheet.size() - 2);
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::vector<std::uint8_t>>> members;
        std::string message;
    } cases[] = {
        {"bad magic",
         {{"SPMan.cfg", Bytes("ok.wbm\r\nbad.wbm\r\n")},
          {"ok.wbm", NumberedSheet(1, 1, 2, 2)},
          {"bad.wbm", test::SheetPicture(
                          4, 4, 2, 2, [](int, int) { return 0; }, "WBM!")}},
         "MagicNumber 不一致\nbad.wbm"},
        {"bad header",
         {{"SPMan.cfg", Bytes("zero.wbm\n")}, {"zero.wbm", badHeader}},
         "檔案已經損壞\n" + pack + " (zero.wbm)"},
        {"short member",
         {{"SPMan.cfg", Bytes("short.wbm\n")}, {"short.wbm", shortSheet}},
         "檔案已經損壞\n" + pack + " (short.wbm)"},
        {"missing sheet", {{"SPMan.cfg", Bytes("gone.wbm\r\n")}}, "沒有檔案\ngone.wbm"},
        {"missing list", {{"other.wbm", NumberedSheet(1, 1, 2, 2)}}, "沒有檔案\nSPMan.cfg"},
        {"empty line inside the list",
         {{"SPMan.cfg", Bytes("a.wbm\n\nb.wbm\n")}},
         "檔案已經損壞\n" + pack + " (SPMan.cfg)"},
    };
    for (const Case& c : cases) {
        fatal_.Messages.clear();
        const std::string path = Write(c.members);
        EXPECT_FALSE(LoadSpriteSheets(&pack_, path)) << c.what;
        ASSERT_EQ(fatal_.Messages.size(), 1u) << c.what;
        EXPECT_EQ(fatal_.Messages[0], c.message) << c.what;
        EXPECT_EQ(fatal_.Captions[0], "緹菈");
        EXPECT_FALSE(pack_.IsOpen()) << c.what;
        EXPECT_EQ(SpriteSheetCount, 0) << c.what;  // no half-loaded set
        EXPECT_EQ(SpriteSheet(0), nullptr) << c.what;
        std::filesystem::remove(path);
    }
}

// A sheet list emptied or cut short loads, but leaves the shop floor without its sheets:
// the shop's engine names the list as damaged.
TEST_F(SpritePackTest, AListShorterThanTheShopsSheetsIsDamaged) {
    std::filesystem::create_directories(dir_ / "Data");
    const std::string old = ui::ProgramFolder();
    ui::SetProgramFolder(dir_.string());
    for (const char* list : {"\r\n", "a.wbm\r\nb.wbm\r\n"}) {
        fatal_.Messages.clear();
        ASSERT_TRUE(
            test::WritePack(dir_ / "Data" / "SPMan.Pak", {{"SPMan.cfg", Bytes(list)},
                                                          {"a.wbm", NumberedSheet(1, 1, 2, 2)},
                                                          {"b.wbm", NumberedSheet(1, 1, 2, 2)}}));
        TQvPack pack;
        EXPECT_FALSE(InitSpriteEngine(&pack)) << list;
        ASSERT_EQ(fatal_.Messages.size(), 1u) << list;
        EXPECT_EQ(fatal_.Messages[0], "檔案已經損壞\nData\\SPMan.Pak (SPMan.cfg)");
        EXPECT_EQ(SpriteSheetCount, 0);
    }
    ui::SetProgramFolder(old);
}

// A pack that is not there is missing; one that is there but does not open is damaged.
TEST_F(SpritePackTest, MissingOrDamagedPackNamesItsPath) {
    const std::string good = Write({{"SPMan.cfg", Bytes("a.wbm\n")}});
    std::vector<char> bytes(static_cast<std::size_t>(std::filesystem::file_size(good)));
    std::ifstream(good, std::ios::binary).read(bytes.data(), std::ssize(bytes));
    const struct {
        const char* what;
        std::size_t keep;  // bytes kept; every one zeroed when `zero`
        bool zero;
        const char* message;
    } cases[] = {
        {"missing", 0, false, nullptr},
        {"cut", bytes.size() / 2, false, "檔案已經損壞\n"},
        {"zeroed", bytes.size(), true, "檔案已經損壞\n"},
    };
    for (const auto& c : cases) {
        fatal_.Messages.clear();
        const std::string path = (dir_ / (std::string(c.what) + ".Pak")).string();
        if (c.message) {
            std::vector<char> damaged(bytes.begin(),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(c.keep));
            if (c.zero) std::fill(damaged.begin(), damaged.end(), 0);
            std::ofstream(path, std::ios::binary).write(damaged.data(), std::ssize(damaged));
        }
        EXPECT_FALSE(LoadSpriteSheets(&pack_, path)) << c.what;
        ASSERT_EQ(fatal_.Messages.size(), 1u) << c.what;
        EXPECT_EQ(fatal_.Messages[0], std::string(c.message ? c.message : "沒有檔案\n") + path)
            << c.what;
    }
}

TEST_F(SpritePackTest, PaletteComesFromTheSpritePack) {
    std::vector<std::uint8_t> act(768);
    for (int i = 0; i < 256; ++i) {
        act[3 * i] = static_cast<std::uint8_t>(i);
        act[3 * i + 1] = static_cast<std::uint8_t>(255 - i);
        act[3 * i + 2] = 7;
    }
    const std::string path = Write({{"SPMan.act", act}});
    TQvDib surface(8, 8);
    ASSERT_TRUE(LoadSpritePalette(&pack_, &surface, path));
    RGBQUAD q{};
    surface.AskPal1(200, &q);
    EXPECT_EQ(q.rgbRed, 200);
    EXPECT_EQ(q.rgbGreen, 55);
    EXPECT_EQ(q.rgbBlue, 7);
    EXPECT_FALSE(pack_.IsOpen());
    EXPECT_FALSE(LoadSpritePalette(&pack_, &surface, (dir_ / "none.Pak").string()));
}

// ---------------------------------------------------------------------------
// Animation

class SpriteTest : public ::testing::Test {
protected:
    SpriteEngineReset reset_;
};

TEST_F(SpriteTest, AnimationModes) {
    test::InstallSheet(0, NumberedSheet(4, 2, 2, 2));  // 4 columns, 2 rows
    struct Case {
        const char* what;
        std::uint32_t mode;
        std::uint32_t delay;
        int start;
        std::vector<int> frames;  // after each Step
        bool animatingAfter;
    } cases[] = {
        {"loop", SPM_LOOP, 0, 0, {1, 2, 3, 0, 1, 2, 3, 0}, true},
        {"loop on the second row", SPM_LOOP, 0, 6, {5, 6, 7, 4, 5}, true},
        {"once, back to the row's start", 0, 0, 0, {1, 2, 3, 0, 0}, false},
        {"stop on last", SPM_STOP_ON_LAST, 0, 0, {1, 2, 3, 3, 3}, false},
        {"ping-pong", SPM_PING_PONG, 0, 0, {1, 2, 3, 2, 1, 0, 0, 0}, false},
        {"backwards with loop",
         SPM_PING_PONG | SPM_LOOP,
         0,
         0,
         {1, 2, 3, 2, 1, 0, 1, 2, 3, 2},
         true},
        {"delay 2", SPM_LOOP, 2, 0, {0, 0, 1, 1, 1, 2}, true},
    };
    for (const Case& c : cases) {
        SPMan s(0, 0, 0, 0, 0, c.start);
        s.StartAnimation(c.delay, c.mode);
        EXPECT_EQ(s.Frame(), c.start / 4 * 4) << c.what;  // starting goes to the row's start
        std::vector<int> got;
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
            if (s.IsAnimating()) s.Step();
            got.push_back(s.Frame());
        }
        EXPECT_EQ(got, c.frames) << c.what;
        EXPECT_EQ(s.IsAnimating(), c.animatingAfter) << c.what;
    }
}

TEST_F(SpriteTest, StartAndStop) {
    test::InstallSheet(0, NumberedSheet(4, 2, 2, 2));
    test::InstallSheet(1, NumberedSheet(1, 3, 2, 2));  // one column
    SPMan one(0, 1, 0, 0, 0, 2);
    one.StartAnimation(0, SPM_LOOP);
    EXPECT_FALSE(one.IsAnimating());
    EXPECT_EQ(one.Frame(), 2);

    SPMan s(0, 0, 0, 0, 0, 5);
    s.StartAnimation(3, SPM_PING_PONG | 0x00FF00FFu);  // only the mode bits are taken
    EXPECT_EQ(s.Flags(), SPM_ANIMATING | SPM_PING_PONG);
    EXPECT_EQ(s.Delay(), 3u);
    EXPECT_EQ(s.DelayCount(), 3u);
    for (int i = 0; i < 4 * 3; ++i) s.Step();
    EXPECT_EQ(s.Frame(), 7);
    s.Step();
    s.Step();
    s.Step();
    s.Step();
    EXPECT_TRUE(s.Flags() & SPM_BACKWARDS);
    s.StopAnimation();
    EXPECT_FALSE(s.Flags() & (SPM_ANIMATING | SPM_BACKWARDS));
    EXPECT_EQ(s.Frame(), 4);
}

// ---------------------------------------------------------------------------
// Layer order

std::vector<const SPMan*> LayerList(int layer) {
    std::vector<const SPMan*> out;
    for (const SPMan* s = SpriteLayers[layer]; s; s = s->Next()) out.push_back(s);
    return out;
}

TEST_F(SpriteTest, LayersKeepDepthOrderAndTiesGoAhead) {
    SPMan a(0, 0, 0, 0, 100, 0);
    SPMan b(0, 0, 0, 0, 50, 0);
    SPMan c(0, 0, 0, 0, 100, 0);  // same depth as a: in front of it in the list
    SPMan other(2, 0, 0, 0, 75, 0);
    EXPECT_EQ(LayerList(0), (std::vector<const SPMan*>{&c, &a, &b}));
    EXPECT_EQ(LayerList(2), (std::vector<const SPMan*>{&other}));

    b.SetDepth(100);  // a tie again: ahead of both, so drawn first (behind them)
    EXPECT_EQ(LayerList(0), (std::vector<const SPMan*>{&b, &c, &a}));
    a.SetDepth(1000);
    EXPECT_EQ(LayerList(0), (std::vector<const SPMan*>{&a, &b, &c}));
    {
        SPMan last(0, 0, 0, 0, -5, 0);
        EXPECT_EQ(LayerList(0).back(), &last);
    }
    EXPECT_EQ(LayerList(0), (std::vector<const SPMan*>{&a, &b, &c}));  // deleting unlinks

    SPMan outside(7, 0, 0, 0, 0, 0);  // no such layer: in no list
    for (int l = 0; l < kSpriteLayers; ++l)
        for (const SPMan* s : LayerList(l)) EXPECT_NE(s, &outside);
}

// ---------------------------------------------------------------------------
// Rendering

std::vector<std::vector<int>> Rows(const TQvDib& dib) {
    std::vector<std::vector<int>> rows;
    for (int y = 0; y < dib.Height(); ++y) {
        const std::uint8_t* p = dib.ImagePtr() + y * dib.Stride();
        rows.emplace_back(p, p + dib.Width());
    }
    return rows;
}

TEST_F(SpriteTest, RendersOverlappingTransparentAndMirroredSprites) {
    // Two 3x2 frames side by side. Frame 0 is keyed on its first pixel (9).
    const std::uint8_t pixels[2][6] = {{9, 1, 2, 5, 6, 7}, {3, 9, 4, 8, 5, 5}};
    test::InstallSheet(0,
                       test::SheetPicture(6, 2, 3, 2, [&](int x, int y) { return pixels[y][x]; }));
    TQvDib target(8, 4), surface(8, 4);
    target.BoxFill(0, 0, 7, 3, 77);

    SPMan front(0, 0, /*y*/ 1, /*x*/ 1, /*depth*/ 10, /*frame*/ 0);
    front.Show();
    front.SetTransparent();
    front.SetMirrored();
    SPMan back(0, 0, 0, 3, 20, 1);  // opaque, drawn first
    back.Show();
    SPMan hidden(0, 0, 0, 0, 5, 1);
    SPMan otherLayer(1, 0, 0, 0, 5, 1);
    otherLayer.Show();

    InvalidateSprites();
    ASSERT_TRUE(RenderLayer(&target, &surface, 0));
    const std::vector<std::vector<int>> expected = {
        {0, 0, 0, 5, 6, 7, 0, 0},
        {0, 2, 1, 8, 5, 5, 0, 0},  // mirrored row 0 of frame 0: 2 1 (9 skipped)
        {0, 4, 0, 3, 0, 0, 0, 0},  // mirrored row 1: 4 (9 skipped) 3
        {0, 0, 0, 0, 0, 0, 0, 0},
    };
    EXPECT_EQ(Rows(surface), expected);
    EXPECT_EQ(Rows(target), expected);
    EXPECT_FALSE(SpritesDirty);
}

TEST_F(SpriteTest, RendersOnlyWhenMarkedOrAnimating) {
    test::InstallSheet(0, NumberedSheet(2, 1, 1, 1));  // frame f is one pixel of f + 1
    TQvDib target(4, 1), surface(4, 1);
    SPMan s(0, 0, 0, 1, 0, 0);
    s.Show();

    EXPECT_FALSE(RenderLayer(&target, &surface, 0));  // nothing changed
    EXPECT_EQ(Rows(target)[0], (std::vector<int>{0, 0, 0, 0}));

    InvalidateSprites();
    EXPECT_TRUE(RenderLayer(&target, &surface, 0));
    EXPECT_EQ(Rows(target)[0], (std::vector<int>{0, 1, 0, 0}));

    s.StartAnimation(0, SPM_LOOP);  // animating: drawn, then stepped
    EXPECT_TRUE(RenderLayer(&target, &surface, 0));
    EXPECT_EQ(Rows(target)[0], (std::vector<int>{0, 1, 0, 0}));
    EXPECT_TRUE(RenderLayer(&target, &surface, 0));
    EXPECT_EQ(Rows(target)[0], (std::vector<int>{0, 2, 0, 0}));
    EXPECT_EQ(s.Frame(), 0);

    s.StopAnimation();
    s.Hide();
    InvalidateSprites();
    EXPECT_TRUE(RenderLayer(&target, &surface, 0));
    EXPECT_EQ(Rows(target)[0], (std::vector<int>{0, 0, 0, 0}));
    EXPECT_FALSE(RenderLayer(&target, &surface, 9));
}

TEST_F(SpriteTest, SpritesOfMissingOrWideSheetsAreSkipped) {
    test::InstallSheet(1, test::SheetPicture(
                              2, 1, 1, 1, [](int, int) { return 4; }, "!WBT"));
    TQvDib target(2, 1), surface(2, 1);
    SPMan missing(0, 30, 0, 0, 0, 0);
    missing.Show();
    missing.StartAnimation(0, SPM_LOOP);
    SPMan wide(0, 1, 0, 0, 0, 0);
    wide.Show();
    InvalidateSprites();
    EXPECT_TRUE(RenderLayer(&target, &surface, 0));
    EXPECT_EQ(Rows(target)[0], (std::vector<int>{0, 0}));
}

// ---------------------------------------------------------------------------
// The generated game folder

TEST_F(SpriteTest, GeneratedSpritePackLoadsFromTheProgramsFolder) {
    FatalCatcher fatal;
    TQvPack pack;
    ASSERT_TRUE(InitSpriteEngine(&pack));
    EXPECT_TRUE(fatal.Messages.empty());
    ASSERT_GE(SpriteSheetCount, 24);
    EXPECT_EQ(SpriteSheets[0].Width, 648);
    EXPECT_EQ(SpriteSheets[0].Height, 484);
    for (int s : {1, 2, 7, 16}) {
        EXPECT_EQ(SpriteSheets[s].Columns, 4) << s;  // walking frames
        EXPECT_EQ(SpriteSheets[s].Rows, 2) << s;     // back and front
    }
    EXPECT_EQ(SpriteSheets[20].Columns * SpriteSheets[20].Rows, 8);  // furniture
    EXPECT_GE(SpriteSheets[21].Columns, 5);                          // a column per stock tier
    EXPECT_GT(SpriteSheets[21].Columns * SpriteSheets[21].Rows,
              95);  // the empty slot's frame exists
    for (int s : {18, 19}) EXPECT_GE(SpriteSheets[s].Columns, 2) << s;  // door and gate animate
    // Transparent sheets are keyed on colour 0 in every frame's first pixel.
    for (int f = 0; f < 8; ++f) EXPECT_EQ(SpriteSheets[1].FramePixels(f)[0], 0) << f;

    TQvDib surface(8, 8);
    EXPECT_TRUE(LoadSpritePalette(&pack, &surface));
    RGBQUAD white{};
    surface.AskPal1(255, &white);
    EXPECT_EQ(white.rgbRed, 255);
}

TEST(ShopRegions, ShelvesAndFurnitureCanBeClicked) {
    TQvPack pack;
    ASSERT_TRUE(pack.OpenPack(ui::FindPath("Data\\WpData0.Pak")));
    PolygonField field;
    ASSERT_TRUE(field.LoadFromPack(&pack, "Shoppoly.plf"));
    ASSERT_EQ(field.Count(), 15);
    // The middle of each shelf sprite (40 x 48, feet on the slot's cell).
    const FloorStep shelves[10] = {{4, 2}, {3, 4}, {7, 3}, {7, 2}, {7, 1},
                                   {7, 0}, {1, 3}, {1, 2}, {1, 1}, {1, 0}};
    for (int s = 0; s < 10; ++s) {
        const int x = FloorSpriteX(shelves[s].dx, shelves[s].dy, 0);
        const int y = FloorSpriteY(shelves[s].dx, shelves[s].dy, 0) - 24;
        EXPECT_EQ(field.FindRegion(x, y), s) << s;
    }
    // A little above the middle of the mixing desk's cell (4, 9) and of the stairs' (7, 7).
    EXPECT_EQ(field.FindRegion(-18 + 34 * 13 + 34, 226 + 17 * 5 - 10), 10);
    EXPECT_EQ(field.FindRegion(-18 + 34 * 14 + 34, 226 - 10), 14);
    // The open floor is no region.
    EXPECT_EQ(field.FindRegion(-18 + 34 * 8 + 34, 226 + 17 * 2), -1);
}

TEST(FatalError, DefaultHandlerEndsTheProgram) {
    EXPECT_EXIT(FatalError("SPMan.cfg"), ::testing::ExitedWithCode(1), "SPMan.cfg");
}

}  // namespace
