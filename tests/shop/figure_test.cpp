// People on the shop floor, the floor grid and the click regions.
#include "shop/Figure.h"

#include <gtest/gtest.h>

#include <vector>

#include "media/Qvpack.h"
#include "tests/support/SpriteFixtures.h"

namespace {

using test::NumberedSheet;

class FigureTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Figures 0 and 1 draw sheets 1 and 2: 4 walking frames per row, two rows.
        test::InstallSheet(1, NumberedSheet(4, 2, 40, 80));
        test::InstallSheet(2, NumberedSheet(4, 2, 30, 61));
    }
    test::SpriteEngineReset reset_;
};

TEST_F(FigureTest, StandsWithItsFeetOnTheCell) {
    Figure heroine(0, /*gx*/ 4, /*direction*/ 0, /*gy*/ 7);
    // Feet at (34 x 11 + 16, 17 x 3 + 243) = (390, 294).
    EXPECT_EQ(heroine.X(), 390 - 20);
    EXPECT_EQ(heroine.Y(), 294 - 80);
    EXPECT_EQ(heroine.Width(), 40);
    EXPECT_EQ(heroine.Height(), 80);
    const SPMan* s = heroine.Sprite();
    EXPECT_EQ(s->Sheet(), 1);
    EXPECT_EQ(s->X(), 370);
    EXPECT_EQ(s->Y(), 214);
    EXPECT_EQ(s->Depth(), 313632 - (370 + 20 + 648 * 294));
    EXPECT_EQ(s->Layer(), 0);
    EXPECT_EQ(s->Flags(), SPM_VISIBLE | SPM_TRANSPARENT);
    EXPECT_EQ(heroine.Target, -1);
    EXPECT_EQ(heroine.MoveMode, 0);
    EXPECT_EQ(heroine.WaitTicks, 0);
    EXPECT_EQ(heroine.RouteStep, 0);

    // An odd frame width: half of it rounds towards zero.
    Figure visitor(1, 0, 2, 7);
    EXPECT_EQ(visitor.X(), 34 * 7 + 16 - 15);
    EXPECT_EQ(visitor.Y(), 17 * 7 + 243 - 61);
}

TEST_F(FigureTest, DirectionPicksTheRowAndMirrorsOddOnes) {
    struct Case {
        int direction;
        int frame;
        bool mirrored;
    } cases[] = {{0, 0, false}, {1, 0, true}, {2, 4, false}, {3, 4, true}};
    for (const Case& c : cases) {
        Figure made(0, 2, c.direction, 2);
        EXPECT_EQ(made.Sprite()->Frame(), c.frame) << c.direction;
        EXPECT_EQ((made.Sprite()->Flags() & SPM_MIRRORED) != 0, c.mirrored) << c.direction;
        Figure turned(0, 2, 3 - c.direction, 2);
        turned.SetDirection(c.direction);
        EXPECT_EQ(turned.Direction(), c.direction);
        EXPECT_EQ(turned.Sprite()->Frame(), c.frame) << c.direction;
        EXPECT_EQ((turned.Sprite()->Flags() & SPM_MIRRORED) != 0, c.mirrored) << c.direction;
    }
}

TEST_F(FigureTest, WalkingAnimatesTheDirectionsRow) {
    Figure f(0, 2, 3, 2);
    f.StartWalking();
    EXPECT_TRUE(f.Sprite()->Flags() & SPM_LOOP);
    for (int i = 0; i < 5; ++i) f.Sprite()->Step();
    EXPECT_EQ(f.Sprite()->Frame(), 5);  // 4 5 6 7 4 5
    f.StopWalking();
    EXPECT_FALSE(f.Sprite()->IsAnimating());
    EXPECT_EQ(f.Sprite()->Frame(), 4);
}

TEST_F(FigureTest, TheLowerFigureIsDrawnOverTheHigherOne) {
    Figure upper(0, 3, 0, 3);
    Figure lower(0, 3, 0, 4);  // one cell further along gy: lower on the screen
    EXPECT_LT(lower.Sprite()->Depth(), upper.Sprite()->Depth());
    EXPECT_EQ(SpriteLayers[0], upper.Sprite());  // drawn first, behind
    EXPECT_EQ(upper.Sprite()->Next(), lower.Sprite());

    // Walking up past it re-sorts by the new depth.
    const FloorStep up = kDirectionPixelStep[0];
    lower.MoveBy(up.dx, up.dy);
    lower.MoveBy(up.dx, up.dy);
    EXPECT_EQ(lower.X(), upper.X() - 34);
    EXPECT_EQ(lower.Y(), upper.Y() - 17);
    EXPECT_GT(lower.Sprite()->Depth(), upper.Sprite()->Depth());
    EXPECT_EQ(SpriteLayers[0], lower.Sprite());

    lower.PlaceAt(3, 4);
    EXPECT_EQ(SpriteLayers[0], upper.Sprite());
}

TEST(FloorDirections, StepsAgreeWithThePixelFormula) {
    for (int d = 0; d < 4; ++d) {
        const FloorStep g = kDirectionGridStep[d];
        EXPECT_EQ(FloorSpriteX(3 + g.dx, 5 + g.dy, 40) - FloorSpriteX(3, 5, 40),
                  kDirectionPixelStep[d].dx)
            << d;
        EXPECT_EQ(FloorSpriteY(3 + g.dx, 5 + g.dy, 80) - FloorSpriteY(3, 5, 80),
                  kDirectionPixelStep[d].dy)
            << d;
    }
}

// ---------------------------------------------------------------------------
// The floor grid

DiamondF0 ShopGrid() {
    DiamondF0 g;
    g.Init({-18, 226}, {34, 17}, {68, 0}, {34, -17});
    return g;
}

TEST(DiamondF0, CellAtCornersEdgesAndOutside) {
    const DiamondF0 g = ShopGrid();
    struct Case {
        const char* what;
        FieldPoint p;
        int cell;
    } cases[] = {
        {"origin corner", {-18, 226}, 0},
        {"corner O + 11U", {356, 413}, 80},
        {"corner O + 11U + 8W", {628, 277}, 87},
        {"corner O + 8W", {254, 90}, 7},
        {"inside cell (3, 2)", {186, 209}, 2 * 8 + 3},
        {"inner grid point goes to the cell after", {152, 243}, 3 * 8 + 2},
        {"on the edge along U", {152, 311}, 40},
        {"on the edge along W", {118, 158}, 4},
        {"on the far edge", {458, 362}, 83},
        {"left of the origin", {-19, 226}, -1},
        {"below the bottom corner", {356, 414}, -1},
        {"right of the right corner", {629, 277}, -1},
        {"screen corner", {0, 0}, -1},
        {"far outside", {INT32_MIN + 4, INT32_MAX}, -1},
        {"far outside the other way", {INT32_MAX, INT32_MIN}, -1},
        {"centre of the last cell", {611, 277}, 87},
    };
    for (const Case& c : cases) EXPECT_EQ(g.CellAt(c.p), c.cell) << c.what;
}

TEST(DiamondF0, EveryCellCentreMapsToItsCell) {
    const DiamondF0 g = ShopGrid();
    for (int u = 0; u < 11; ++u)
        for (int w = 0; w < 8; ++w) {
            // Centre of cell (u, w): O + (u + 1/2) U + (w + 1/2) W.
            const int x = -18 + 34 * u + 17 + 34 * w + 17;
            const int y = 226 + 17 * u - 17 * w;  // the halves cancel
            EXPECT_EQ(g.CellAt(x, y), u * 8 + w) << u << "," << w;
        }
}

TEST(DiamondF0, UninitialisedGridHoldsNothing) {
    DiamondF0 g;
    EXPECT_EQ(g.CellAt(0, 0), -1);
}

// ---------------------------------------------------------------------------
// Click regions

std::vector<std::uint8_t> Regions(const std::vector<std::vector<FieldPoint>>& regions) {
    return BuildClickRegionFile(regions);
}

// A square from (10, 10) to (20, 20), wound as the regions are (anticlockwise on screen).
const std::vector<FieldPoint> kSquare = {{10, 10}, {10, 20}, {20, 20}, {20, 10}};

TEST(PolygonField, FindsTheFirstRegionHoldingThePoint) {
    PolygonField field;
    EXPECT_EQ(field.UserPairs[19][0], -1);
    EXPECT_EQ(field.UserPairs[19][1], 0);
    EXPECT_EQ(field.FindRegion(15, 15), -1);

    const std::vector<FieldPoint> reversed(kSquare.rbegin(), kSquare.rend());
    const std::vector<FieldPoint> triangle = {{0, 0}, {0, 40}, {40, 0}};
    const auto bytes = Regions({reversed, kSquare, triangle});
    ASSERT_TRUE(field.LoadFromBuffer(bytes.data(), bytes.size()));
    ASSERT_EQ(field.Count(), 3);
    EXPECT_EQ(field.Region(1).Left, 10);
    EXPECT_EQ(field.Region(1).Bottom, 20);

    struct Case {
        const char* what;
        FieldPoint p;
        int region;
    } cases[] = {
        {"inside the square (the reversed one holds nothing)", {15, 15}, 1},
        {"on the square's edge", {10, 15}, 1},
        {"on the square's corner", {20, 20}, 1},
        {"in the triangle only", {5, 5}, 2},
        {"on the triangle's slanted edge", {30, 10}, 2},
        {"just past the slanted edge", {31, 10}, -1},
        {"outside everything", {50, 50}, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(field.FindRegion(c.p), c.region) << c.what;
}

TEST(PolygonField, RefusesFilesBeyondItsLimits) {
    PolygonField field;
    const auto good = Regions({kSquare});
    ASSERT_TRUE(field.LoadFromBuffer(good.data(), good.size()));

    std::vector<std::vector<FieldPoint>> many(21, kSquare);
    const std::vector<FieldPoint> nine = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4},
                                          {1, 4}, {2, 4}, {2, 0}, {1, 0}};
    const auto shortFile = std::vector<std::uint8_t>(good.begin(), good.end() - 1);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"21 regions", Regions(many)},
        {"9 points", Regions({nine})},
        {"one byte short", shortFile},
        {"count only, regions missing", std::vector<std::uint8_t>(good.begin(), good.begin() + 4)},
        {"empty", {}},
        {"huge point count", {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(field.LoadFromBuffer(c.bytes.data(), c.bytes.size())) << c.what;
        EXPECT_EQ(field.Count(), 1) << c.what;  // the regions held stay
        EXPECT_EQ(field.FindRegion(15, 15), 0) << c.what;
    }

    many.resize(20);
    auto full = Regions(many);
    full.push_back(0xAB);  // bytes past the last region are ignored
    EXPECT_TRUE(field.LoadFromBuffer(full.data(), full.size()));
    EXPECT_EQ(field.Count(), 20);
    const auto none = Regions({});
    EXPECT_TRUE(field.LoadFromBuffer(none.data(), none.size()));
    EXPECT_EQ(field.FindRegion(15, 15), -1);
}

TEST(PolygonField, ExtremeCoordinatesDoNotOverflow) {
    const std::vector<FieldPoint> huge = {{INT32_MIN, INT32_MIN},
                                          {INT32_MIN, INT32_MAX},
                                          {INT32_MAX, INT32_MAX},
                                          {INT32_MAX, INT32_MIN}};
    PolygonField field;
    const auto bytes = Regions({huge});
    ASSERT_TRUE(field.LoadFromBuffer(bytes.data(), bytes.size()));
    EXPECT_EQ(field.FindRegion(0, 0), 0);
    EXPECT_EQ(field.FindRegion(INT32_MAX, INT32_MIN), 0);
}

TEST(PolygonField, LoadsFromAPackMember) {
    const std::filesystem::path dir = test::ScratchDir("polygon_field_test");
    const auto path = dir / "WpData0.Pak";
    ASSERT_TRUE(test::WritePack(path, {{"Shoppoly.plf", Regions({kSquare})}}));
    TQvPack pack;
    ASSERT_TRUE(pack.OpenPack(path.string()));
    PolygonField field;
    EXPECT_TRUE(field.LoadFromPack(&pack, "SHOPPOLY.PLF"));
    EXPECT_EQ(field.FindRegion(12, 19), 0);
    EXPECT_FALSE(field.LoadFromPack(&pack, "town.plf"));
    EXPECT_EQ(field.Count(), 1);
}

}  // namespace
