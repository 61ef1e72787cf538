// The generated shop art says what things are by drawing them: the mixing desk, the
// item cupboard and the stairs on the shop floor are pictures, not boxes with a name,
// and the title's label plate carries the game's crest before its labels are shown.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "media/Qvpack.h"
#include "platform/Bitmap.h"
#include "tools/mkgamedata/Art.h"

namespace {

constexpr int kFrameW = 68, kFrameH = 64;

// The furniture sheet's pixels (palette indices), frames side by side.
std::vector<std::uint8_t> FurnitureSheet(int& width) {
    TQvPack pack;
    EXPECT_TRUE(pack.OpenPack(std::string(LUMIA_TEST_GAMEDATA) + "/Data/SPMan.Pak"));
    std::unique_ptr<TMemoryStream> s = pack.QvMakeStream("Furnit.wbm");
    if (!s || s->Size() < 12) return {};
    const std::uint8_t* b = static_cast<const std::uint8_t*>(s->Memory());
    width = b[4] | b[5] << 8;
    return {b + 12, b + s->Size()};
}

TEST(ShopArtTest, DeskCupboardAndStairsAreDrawnNotLabelled) {
    int width = 0;
    const std::vector<std::uint8_t> px = FurnitureSheet(width);
    ASSERT_EQ(width, 8 * kFrameW);
    ASSERT_EQ(px.size(), std::size_t(width) * kFrameH);
    for (int frame : {5, 6, 7}) {  // the mixing desk, the item cupboard, the stairs
        std::set<std::uint8_t> colours;
        int white = 0, drawn = 0;
        for (int y = 0; y < kFrameH; ++y)
            for (int x = 0; x < kFrameW; ++x) {
                const std::uint8_t c = px[std::size_t(y) * width + frame * kFrameW + x];
                if (c == 0) continue;
                ++drawn;
                colours.insert(c);
                white += c == mkgamedata::kWhite;
            }
        EXPECT_EQ(white, 0) << "frame " << frame << " carries a written name";
        EXPECT_GE(drawn, 600) << "frame " << frame;
        EXPECT_GE(colours.size(), 4u) << "frame " << frame << " is a plain box";
    }
    // The stairs climb: their top edge rises across the frame in several steps.
    std::set<int> tops;
    for (int x = 10; x < kFrameW - 10; x += 4)
        for (int y = 0; y < kFrameH; ++y)
            if (px[std::size_t(y) * width + 7 * kFrameW + x] != 0) {
                tops.insert(y / 4);
                break;
            }
    EXPECT_GE(tops.size(), 4u);
}

TEST(ShopArtTest, TheTitlePlateShowsTheCrestBeforeTheLabels) {
    TQvPack pack;
    ASSERT_TRUE(pack.OpenPack(std::string(LUMIA_TEST_GAMEDATA) + "/Data/WpData0.Pak"));
    std::unique_ptr<TMemoryStream> s = pack.QvMakeStream("Title.bmp");
    ASSERT_TRUE(s);
    ui::Bitmap title;
    ASSERT_TRUE(title.LoadFromMemory({s->Memory(), std::size_t(s->Size())}));
    // The plate under the labels (x 275..368, y 322..463): its own colour, and the
    // crest's colours on it.
    const ui::TColor plate = title.GetPixel(266, 318);
    int crest = 0;
    for (int y = 322; y < 463; ++y)
        for (int x = 275; x < 368; ++x) crest += title.GetPixel(x, y) != plate;
    EXPECT_GE(crest, 3000) << "the plate is empty";
}

}  // namespace
