// The generated map pack: every member the map screen loads, the pictures at the
// screen's size, graphs with the maps' node counts whose roads reach every place, and
// a click region over each place's mark.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "media/Qvpack.h"
#include "platform/Bitmap.h"
#include "shop/Figure.h"
#include "town/MapOfLink.h"
#include "town/MapTables.h"

namespace {

struct MapCase {
    const char* graph;
    const char* regions;
    int nodes;
    // The places with the top-left corners of their marks, from the map screen's layout.
    const MapPlace* places;
};

const MapCase kTown = {"town.sld", "town.plf", 9, kTownPlaces};
const MapCase kLand = {"land.sld", "land.plf", 12, kLandPlaces};

class MapPackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            pack_.OpenPack(std::string(LUMIA_TEST_GAMEDATA) + "/col24b/mapPack/mapPack.pak"));
    }
    TQvPack pack_;
};

TEST_F(MapPackTest, PicturesAreFullScreenAndTheSheetsFitTheirCells) {
    for (const char* map : {"map_town", "map_land"})
        for (int v = 0; v < 4; ++v) {
            const std::string name = map + std::to_string(v) + ".bmp";
            std::unique_ptr<TMemoryStream> s = pack_.QvMakeStream(name.c_str());
            ASSERT_TRUE(s) << name;
            ui::Bitmap b;
            ASSERT_TRUE(b.LoadFromMemory({s->Memory(), std::size_t(s->Size())})) << name;
            EXPECT_EQ(b.Width(), 640) << name;
            EXPECT_EQ(b.Height(), 480) << name;
        }
    ui::Bitmap walker, marks;
    auto chr = pack_.QvMakeStream("map_chr.bmp");
    auto mark = pack_.QvMakeStream("mark.bmp");
    ASSERT_TRUE(chr && mark);
    ASSERT_TRUE(walker.LoadFromMemory({chr->Memory(), std::size_t(chr->Size())}));
    ASSERT_TRUE(marks.LoadFromMemory({mark->Memory(), std::size_t(mark->Size())}));
    EXPECT_EQ(walker.Width(), 80);  // two frames of 40
    EXPECT_GE(marks.Width(), 23);
    EXPECT_GE(marks.Height(), 207 + 23 * 12);  // the last land mark
}

TEST_F(MapPackTest, GraphsReachEveryPlaceAndRegionsCoverEveryMark) {
    for (const MapCase* m : {&kTown, &kLand}) {
        MapOfLink graph(2);
        ASSERT_TRUE(graph.LoadFromStream(pack_.QvMakeStream(m->graph).get())) << m->graph;
        ASSERT_EQ(graph.Count(), m->nodes) << m->graph;
        for (int from = 0; from < m->nodes; ++from)
            for (int to = 0; to < m->nodes; ++to) {
                if (from == to) continue;
                std::int32_t route[kMaxRouteNodes];
                EXPECT_GT(graph.FindRoute(from, to, route), 0)
                    << m->graph << " " << from << "->" << to;
            }

        PolygonField field;
        ASSERT_TRUE(field.LoadFromPack(&pack_, m->regions)) << m->regions;
        ASSERT_EQ(field.Count(), m->nodes) << m->regions;
        for (int n = 0; n < m->nodes; ++n) {
            const int x = m->places[n].markX, y = m->places[n].markY;
            EXPECT_EQ(field.FindRegion(x + 11, y + 11), n) << m->regions << " node " << n;
            // The house drawn for the place stands where the walker arrives.
            EXPECT_NEAR(graph.Node(n)->x, x + 11, 2) << n;
            EXPECT_NEAR(graph.Node(n)->y, y + 11, 2) << n;
        }
        EXPECT_EQ(field.FindRegion(639, 479), -1) << "the bottom corner is no place";
    }
}

TEST_F(MapPackTest, TheTownIsOneHopFromTheNearLandAndTheCraterThree) {
    MapOfLink land(2);
    ASSERT_TRUE(land.LoadFromStream(pack_.QvMakeStream("land.sld").get()));
    std::int32_t route[kMaxRouteNodes];
    EXPECT_EQ(land.FindRoute(0, 1, route), 1);
    EXPECT_EQ(land.FindRoute(0, 6, route), 3);  // the crater lies beyond the mountain path
}

}  // namespace
