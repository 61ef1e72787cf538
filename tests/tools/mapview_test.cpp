// Every place of both maps can be seen and clicked in every season and hour: its click
// region lies clear of what covers the map picture on the screen (the top bar, the
// clock, the calendar, the message window at rest), and in each of the four pictures
// (day, evening or autumn, winter day, night or rain) its house stands out from the
// ground and its name plate carries legible text.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "media/Qvpack.h"
#include "platform/Bitmap.h"
#include "platform/Screen.h"
#include "shop/Figure.h"
#include "tools/mkgamedata/Art.h"
#include "tools/mkgamedata/PictureWriter.h"
#include "town/MapTables.h"

namespace {

struct MapCase {
    const char* picture;  // stem of the four variants
    const char* regions;
    const MapPlace* places;
    int nodes;
};

const MapCase kMaps[] = {{"map_town", "town.plf", kTownPlaces, kTownNodes},
                         {"map_land", "land.plf", kLandPlaces, kLandNodes}};

bool Covered(int x, int y) {
    for (const MapArea& a : kMapCovered)
        if (x >= a.left && x < a.right && y >= a.top && y < a.bottom) return true;
    return false;
}

int Luma(ui::TColor c) {
    return (ui::GetRValue(c) * 3 + ui::GetGValue(c) * 6 + ui::GetBValue(c)) / 10;
}

class MapViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            pack_.OpenPack(std::string(LUMIA_TEST_GAMEDATA) + "/col24b/mapPack/mapPack.pak"));
    }
    bool Load(const std::string& name, ui::Bitmap& b) {
        std::unique_ptr<TMemoryStream> s = pack_.QvMakeStream(name.c_str());
        return s && b.LoadFromMemory({s->Memory(), std::size_t(s->Size())});
    }
    TQvPack pack_;
};

// Box of the points that find a region, per region, over the whole picture.
struct Extent {
    int l = 1 << 20, t = 1 << 20, r = -1, b = -1;
};

TEST_F(MapViewTest, EveryRegionIsClearOfTheWindowsAndHitsItsMarkAndName) {
    for (const MapCase& m : kMaps) {
        PolygonField field;
        ASSERT_TRUE(field.LoadFromPack(&pack_, m.regions)) << m.regions;
        ASSERT_EQ(field.Count(), m.nodes);
        std::map<int, Extent> extents;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const int n = field.FindRegion(x, y);
                if (n < 0) continue;
                EXPECT_FALSE(Covered(x, y)) << m.regions << " place " << n << " at " << x << ","
                                            << y << " lies under a window";
                Extent& e = extents[n];
                e.l = std::min(e.l, x), e.t = std::min(e.t, y);
                e.r = std::max(e.r, x), e.b = std::max(e.b, y);
                if (HasFailure()) return;
            }
        for (int n = 0; n < m.nodes; ++n) {
            const MapPlace& p = m.places[n];
            ASSERT_TRUE(extents.count(n)) << m.regions << " place " << n << " has no region";
            // The mark and the name under it are both inside the place's region.
            EXPECT_EQ(field.FindRegion(p.markX + kMarkSize / 2, p.markY + kMarkSize / 2), n)
                << m.regions << " " << n;
            EXPECT_EQ(field.FindRegion(p.markX + kMarkSize / 2, p.markY + kMarkSize + 8), n)
                << m.regions << " " << n;
            EXPECT_GE(extents[n].b - (p.markY + kMarkSize), 14) << "room for the name, " << n;
        }
    }
}

// Also writes each picture to map_pictures/ in the test build folder, to look at.
TEST_F(MapViewTest, EveryHouseAndNameStandsOutInEveryVariant) {
    const std::string dir = std::string(LUMIA_BINARY_DIR) + "/map_pictures";
    std::filesystem::create_directories(dir);
    for (const MapCase& m : kMaps) {
        PolygonField field;
        ASSERT_TRUE(field.LoadFromPack(&pack_, m.regions));
        for (int v = 0; v < 4; ++v) {
            const std::string name = m.picture + std::to_string(v) + ".bmp";
            ui::Bitmap pic;
            ASSERT_TRUE(Load(name, pic)) << name;
            std::vector<std::uint32_t> rgb;
            for (int y = 0; y < pic.Height(); ++y)
                for (int x = 0; x < pic.Width(); ++x) {
                    const ui::TColor c = pic.GetPixel(x, y);
                    rgb.push_back(std::uint32_t(ui::GetRValue(c)) << 16 | ui::GetGValue(c) << 8 |
                                  ui::GetBValue(c));
                }
            EXPECT_TRUE(ui::WritePng(dir + "/" + m.picture + std::to_string(v) + ".png", rgb.data(),
                                     pic.Width(), pic.Height(), pic.Width()));
            // The ground: the colour under the message window, where no place is.
            const ui::TColor ground = pic.GetPixel(320, 470);
            for (int n = 0; n < m.nodes; ++n) {
                const MapPlace& p = m.places[n];
                int house = 0;
                for (int y = p.markY; y < p.markY + kMarkSize; ++y)
                    for (int x = p.markX; x < p.markX + kMarkSize; ++x)
                        house += pic.GetPixel(x, y) != ground;
                EXPECT_GE(house, 120) << name << " place " << n << ": no house to see";
                // The name plate: its commonest colour, and text strokes on it that
                // differ from it clearly in lightness.
                std::map<ui::TColor, int> counts;
                const int top = p.markY + kMarkSize + 2, bottom = top + 14;
                for (int y = top; y < bottom; ++y)
                    for (int x = p.markX - 60; x < p.markX + kMarkSize + 60; ++x)
                        if (field.FindRegion(x, y) == n) ++counts[pic.GetPixel(x, y)];
                ASSERT_FALSE(counts.empty()) << name << " place " << n;
                ui::TColor plate = counts.begin()->first;
                for (const auto& [c, k] : counts)
                    if (k > counts[plate]) plate = c;
                int ink = 0;
                for (const auto& [c, k] : counts)
                    if (std::abs(Luma(c) - Luma(plate)) >= 100) ink += k;
                EXPECT_GE(ink, 30) << name << " place " << n << ": no legible name";
                EXPECT_NE(plate, ground)
                    << name << " place " << n << ": the plate melts into the ground";
            }
        }
    }
}

// Nothing is written on a map but the places' names: no caption naming the map or its
// variant. Every pixel in the names' ink lies inside a place's region.
TEST_F(MapViewTest, NoWritingOutsideThePlaces) {
    const RGBQUAD q = mkgamedata::GeneratedPalette()[mkgamedata::kInk];
    const ui::TColor ink = ui::RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    for (const MapCase& m : kMaps) {
        PolygonField field;
        ASSERT_TRUE(field.LoadFromPack(&pack_, m.regions));
        for (int v = 0; v < 4; ++v) {
            const std::string name = m.picture + std::to_string(v) + ".bmp";
            ui::Bitmap pic;
            ASSERT_TRUE(Load(name, pic)) << name;
            int stray = 0;
            for (int y = 0; y < pic.Height(); ++y)
                for (int x = 0; x < pic.Width(); ++x)
                    stray += pic.GetPixel(x, y) == ink && field.FindRegion(x, y) < 0;
            EXPECT_EQ(stray, 0) << name << ": writing outside the places";
        }
    }
}

}  // namespace
