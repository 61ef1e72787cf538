// Every place of both maps can be seen and clicked in every season and hour: its click
// region holds its mark and its name, the regions do not overlap, the name lies clear
// of what may cover the map picture on the screen (the title strip, the clock, the
// calendar, the message window at rest and the part of it that stays at the top), and
// in each of the four pictures (day, evening or autumn, winter day, night or rain) the
// place's picture stands out from the ground and its name plate carries legible text.
// The clock's and the calendar's shapes leave the land map's corner marks in view.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "media/Qvpack.h"
#include "platform/Bitmap.h"
#include "platform/Screen.h"
#include "resources/Resources.h"
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

constexpr int kPlateH = 16;

struct Box {
    int l, t, r, b;  // r and b exclusive
};

// The name plate the generated maps draw for a place.
Box Plate(const MapPlace& p) {
    const int w = mkgamedata::TextWidthUtf8(p.name, 12) + 6;
    return {p.labelX - w / 2, p.labelY - kPlateH / 2, p.labelX - w / 2 + w,
            p.labelY - kPlateH / 2 + kPlateH};
}

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

TEST_F(MapViewTest, EveryRegionHoldsItsMarkAndItsNameWhichNothingCovers) {
    for (const MapCase& m : kMaps) {
        PolygonField field;
        ASSERT_TRUE(field.LoadFromPack(&pack_, m.regions)) << m.regions;
        ASSERT_EQ(field.Count(), m.nodes);
        for (int n = 0; n < m.nodes; ++n) {
            const MapPlace& p = m.places[n];
            const Box b = Plate(p);
            for (int y = b.t; y < b.b; ++y)
                for (int x = b.l; x < b.r; ++x) {
                    ASSERT_FALSE(Covered(x, y)) << m.regions << " " << p.name << "'s name at " << x
                                                << "," << y << " lies under a window";
                    ASSERT_EQ(field.FindRegion(x, y), n) << m.regions << " " << p.name;
                }
            EXPECT_EQ(field.FindRegion(p.markX + kMarkSize / 2, p.markY + kMarkSize / 2), n)
                << m.regions << " " << p.name;
        }
        // No point belongs to two places (the first region found would take it).
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                int holders = 0;
                for (int n = 0; n < m.nodes; ++n) holders += field.Region(n).Contains({x, y});
                ASSERT_LE(holders, 1) << m.regions << " at " << x << "," << y;
            }
    }
}

// Also writes each picture to map_pictures/ in the test build folder, to look at.
TEST_F(MapViewTest, EveryPlaceAndNameStandsOutInEveryVariant) {
    const std::string dir = std::string(LUMIA_BINARY_DIR) + "/map_pictures";
    std::filesystem::create_directories(dir);
    for (const MapCase& m : kMaps) {
        for (int v = 0; v < 4; ++v) {
            const std::string name = m.picture + std::to_string(v) + ".bmp";
            ui::Bitmap pic;
            ASSERT_TRUE(Load(name, pic)) << name;
            std::vector<std::uint32_t> rgb;
            std::map<ui::TColor, int> all;
            for (int y = 0; y < pic.Height(); ++y)
                for (int x = 0; x < pic.Width(); ++x) {
                    const ui::TColor c = pic.GetPixel(x, y);
                    ++all[c];
                    rgb.push_back(std::uint32_t(ui::GetRValue(c)) << 16 | ui::GetGValue(c) << 8 |
                                  ui::GetBValue(c));
                }
            EXPECT_TRUE(ui::WritePng(dir + "/" + m.picture + std::to_string(v) + ".png", rgb.data(),
                                     pic.Width(), pic.Height(), pic.Width()));
            // The ground: the picture's commonest colour.
            ui::TColor ground = all.begin()->first;
            for (const auto& [c, k] : all)
                if (k > all[ground]) ground = c;
            for (int n = 0; n < m.nodes; ++n) {
                const MapPlace& p = m.places[n];
                int drawn = 0;
                for (int y = p.markY; y < p.markY + kMarkSize; ++y)
                    for (int x = p.markX; x < p.markX + kMarkSize; ++x)
                        drawn += pic.GetPixel(x, y) != ground;
                EXPECT_GE(drawn, 120) << name << " " << p.name << ": nothing to see at the mark";
                // The name plate: its commonest colour, and text strokes on it that
                // differ from it clearly in lightness.
                std::map<ui::TColor, int> counts;
                const Box b = Plate(p);
                for (int y = b.t + 1; y < b.b - 1; ++y)
                    for (int x = b.l + 1; x < b.r - 1; ++x) ++counts[pic.GetPixel(x, y)];
                ui::TColor plate = counts.begin()->first;
                for (const auto& [c, k] : counts)
                    if (k > counts[plate]) plate = c;
                int ink = 0;
                for (const auto& [c, k] : counts)
                    if (std::abs(Luma(c) - Luma(plate)) >= 100) ink += k;
                EXPECT_GE(ink, 30) << name << " " << p.name << ": no legible name";
                EXPECT_NE(plate, ground) << name << " " << p.name << ": the plate melts away";
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

// The clock (at the top left) and the calendar (at the top right) take the shapes of
// their backgrounds. In window mode the map picture lies 4 pixels right of the shop's
// left edge, full screen it lies at it; either way the windows leave every land mark
// whole, and everything they show lies inside what the layout counts as covered.
TEST(MapCornersTest, TheClockAndTheCalendarLeaveTheLandMarksInView) {
    struct Window {
        const char* resource;
        int leftFull, leftWindowed;  // the window's left on the map picture
    };
    // The calendar stands 4 pixels in from the shop's right edge: 640 wide full screen,
    // 648 in window mode.
    const Window windows[] = {{"WatchBack.bmp", 0, -4}, {"CalenderBack.bmp", 536, 540}};
    for (const Window& w : windows) {
        const res::Resource* r = res::FindResource(w.resource);
        ASSERT_NE(r, nullptr) << w.resource;
        ui::Bitmap shape;
        ASSERT_TRUE(shape.LoadFromMemory({r->data, r->size})) << w.resource;
        const ui::TColor key = ui::RGB(0, 255, 0);
        for (const int left : {w.leftFull, w.leftWindowed})
            for (int y = 0; y < shape.Height(); ++y)
                for (int x = 0; x < shape.Width(); ++x) {
                    if (shape.GetPixel(x, y) == key) continue;
                    const int mx = left + x, my = y;
                    if (mx < 0 || mx >= 640) continue;
                    ASSERT_TRUE(Covered(mx, my)) << w.resource << " shows at " << mx << "," << my
                                                 << " outside the covered boxes";
                    for (const MapPlace& p : kLandPlaces)
                        ASSERT_FALSE(mx >= p.markX && mx < p.markX + kMarkSize && my >= p.markY &&
                                     my < p.markY + kMarkSize)
                            << w.resource << " covers " << p.name << "'s mark at " << mx << ","
                            << my;
                }
    }
}

}  // namespace
