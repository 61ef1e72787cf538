// The generated shop art says what things are by drawing them: the mixing desk, the
// item cupboard and the stairs on the shop floor are pictures, not boxes with a name,
// and the title's label plate carries the game's crest before its labels are shown.
// The upstairs room is drawn round the windows that lie over it: the bed and the
// sleeping heroine clear of the clock's window, the meal clear of the message window,
// and each frame cut from the room so that it shows no box of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "tools/mkgamedata/Art.h"
#include "tools/mkgamedata/PictureWriter.h"

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

// A picture of the shop pack.
ui::Bitmap ShopPicture(const std::string& name) {
    TQvPack pack;
    EXPECT_TRUE(pack.OpenPack(std::string(LUMIA_TEST_GAMEDATA) + "/Data/WpData0.Pak"));
    std::unique_ptr<TMemoryStream> s = pack.QvMakeStream(name.c_str());
    ui::Bitmap bm;
    EXPECT_TRUE(s) << name;
    if (s) {
        EXPECT_TRUE(bm.LoadFromMemory({s->Memory(), std::size_t(s->Size())})) << name;
    }
    return bm;
}

TEST(ShopArtTest, TheTitlePlateShowsTheCrestBeforeTheLabels) {
    const ui::Bitmap title = ShopPicture("Title.bmp");
    ASSERT_FALSE(title.Empty());
    // The plate under the labels (x 275..368, y 322..463): its own colour, and the
    // crest's colours on it.
    const ui::TColor plate = title.GetPixel(266, 318);
    int crest = 0;
    for (int y = 322; y < 463; ++y)
        for (int x = 275; x < 368; ++x) crest += title.GetPixel(x, y) != plate;
    EXPECT_GE(crest, 3000) << "the plate is empty";
    // The click hint is the title's own label, which goes with the menu: the picture
    // carries no writing under the house.
    const ui::TColor ground = title.GetPixel(2, 446);
    for (int y = 440; y < 464; ++y)
        for (int x = 0; x < 262; ++x)
            ASSERT_EQ(title.GetPixel(x, y), ground) << "writing at " << x << "," << y;
}

// The 2F room and its frames, where the shop window puts them.
constexpr ui::Rect kClock{0, 0, 116, 140};  // the clock at its first place (either mode)
constexpr int kMessageTop = 280;            // the message window's top, resting
constexpr ui::Rect kBedAt{17, 116, 107, 224}, kEatAt{314, 188, 414, 318};

// The room with a frame laid on it, as the shop draws it.
ui::Bitmap RoomWith(const std::string& frame, const ui::Rect& at) {
    ui::Bitmap room = ShopPicture("Shop_2F.bmp");
    const ui::Bitmap f = ShopPicture(frame);
    EXPECT_EQ(f.Width(), at.Width()) << frame;
    EXPECT_EQ(f.Height(), at.Height()) << frame;
    room.GetCanvas().BitBlt(at.Left, at.Top, at.Width(), at.Height(), &f, 0, 0, ui::SRCCOPY);
    return room;
}

// The pixels where the frame differs from the bare room: what the heroine adds.
std::vector<std::pair<int, int>> Added(const ui::Bitmap& room, const ui::Bitmap& with) {
    std::vector<std::pair<int, int>> px;
    for (int y = 0; y < room.Height(); ++y)
        for (int x = 0; x < room.Width(); ++x)
            if (room.GetPixel(x, y) != with.GetPixel(x, y)) px.emplace_back(x, y);
    return px;
}

TEST(ShopArtTest, TheUpstairsRoomShowsTheSleeperAndTheMealClearOfTheWindows) {
    const ui::Bitmap room = ShopPicture("Shop_2F.bmp");
    ASSERT_EQ(room.Width(), 648);
    ASSERT_EQ(room.Height(), 484);
    struct Frame {
        std::string name;
        ui::Rect at;
    };
    std::vector<Frame> frames;
    for (int n = 0; n < 12; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "Bed%02d.bmp", n);
        frames.push_back({name, kBedAt});
    }
    for (int n = 0; n < 6; ++n) frames.push_back({"Eat" + std::to_string(n) + ".bmp", kEatAt});
    for (const Frame& f : frames) {
        const ui::Bitmap with = RoomWith(f.name, f.at);
        const auto added = Added(room, with);
        // The heroine is there, big enough to read, and nothing of her lies under the
        // clock or the message window.
        EXPECT_GE(added.size(), f.at == kBedAt ? 250u : 900u) << f.name;
        for (auto [x, y] : added) {
            ASSERT_FALSE(kClock.Contains(x, y))
                << f.name << " under the clock at " << x << "," << y;
            ASSERT_LT(y, kMessageTop) << f.name << " under the message window at " << x;
        }
        // The frame is cut from the room: its edge matches the room around it, no box.
        int edge = 0, same = 0;
        for (int x = f.at.Left; x < f.at.Right; ++x)
            for (int y : {f.at.Top, f.at.Bottom - 1}) {
                ++edge;
                same += with.GetPixel(x, y) == room.GetPixel(x, y);
            }
        for (int y = f.at.Top; y < f.at.Bottom; ++y)
            for (int x : {f.at.Left, f.at.Right - 1}) {
                ++edge;
                same += with.GetPixel(x, y) == room.GetPixel(x, y);
            }
        EXPECT_GE(same * 10, edge * 9) << f.name << " draws a box of its own";
    }
    // Asleep, her face is on the pillow below the clock: skin shows there.
    const ui::Bitmap asleep = RoomWith("Bed05.bmp", kBedAt);
    const RGBQUAD q = mkgamedata::GeneratedPalette()[mkgamedata::kSkin];
    const ui::TColor skinColour = ui::RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    int skin = 0;
    for (auto [x, y] : Added(room, asleep)) skin += asleep.GetPixel(x, y) == skinColour;
    EXPECT_GE(skin, 80);
}

}  // namespace
