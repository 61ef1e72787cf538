#include "skin/CHBmpCnt.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

namespace {

using ui::Rect;

ui::Bitmap Sheet(int w, int h) { return ui::Bitmap(w, h, ui::PixelFormat::pf24bit); }

TEST(BmpContainer, CellRectangles) {
    struct Case {
        int w, h, cellWidth, cellHeight, n;
        Rect expected;
        int count;
    };
    const Case cases[] = {
        // Three columns of a 300 x 40 sheet; cell 5 is clamped to the last.
        {300, 40, -3, 0, 0, {0, 0, 100, 40}, 3},
        {300, 40, -3, 0, 2, {200, 0, 300, 40}, 3},
        {300, 40, -3, 0, 5, {200, 0, 300, 40}, 3},
        // 50 x 40 cells of 100 x 80, numbered down each column first.
        {100, 80, 50, 40, 0, {0, 0, 50, 40}, 4},
        {100, 80, 50, 40, 1, {0, 40, 50, 80}, 4},
        {100, 80, 50, 40, 2, {50, 0, 100, 40}, 4},
        {100, 80, 50, 40, 3, {50, 40, 100, 80}, 4},
        // A negative index is the whole bitmap.
        {100, 80, 50, 40, -1, {0, 0, 100, 80}, 4},
        {100, 80, 50, 40, -7, {0, 0, 100, 80}, 4},
        // Rows by count, columns by size; a cell never larger than the bitmap.
        {60, 90, 0, -3, 2, {0, 60, 60, 90}, 3},
        {30, 20, 50, 0, 0, {0, 0, 30, 20}, 1},
        {30, 20, 50, 0, 4, {0, 0, 30, 20}, 1},
        // No bitmap: empty cells.
        {0, 0, -4, -2, 3, {0, 0, 0, 0}, 8},
    };
    for (const Case& c : cases) {
        TCHBmpContainer cnt;
        cnt.SetBitmap(Sheet(c.w, c.h));
        cnt.SetCellWidth(c.cellWidth);
        cnt.SetCellHeight(c.cellHeight);
        EXPECT_EQ(cnt.GetCellRect(c.n), c.expected)
            << c.w << "x" << c.h << " cells " << c.cellWidth << "," << c.cellHeight << " n " << c.n;
        EXPECT_EQ(cnt.CellCount(), c.count);
    }
}

TEST(BmpContainer, HugeCellCountsStayBounded) {
    TCHBmpContainer cnt;
    cnt.SetBitmap(Sheet(10, 10));
    cnt.SetCellWidth(-2147483647 - 1);
    cnt.SetCellHeight(-2147483647 - 1);
    EXPECT_GT(cnt.CellCount(), 0);
    const Rect r = cnt.GetCellRect(2147483647);
    EXPECT_EQ(r.Width(), 0);
}

TEST(BcReader, SetterSideEffects) {
    int changes = 0;
    TCHBcReader reader([&] { ++changes; });
    EXPECT_EQ(reader.Index(), -1);
    reader.SetSrcLeft(10);
    EXPECT_EQ(reader.Index(), -2);
    reader.SetIndex(-1);
    reader.SetSrcWidth(20);
    EXPECT_EQ(reader.SrcRight(), 30);
    EXPECT_EQ(reader.SrcWidth(), 20);
    EXPECT_EQ(reader.Index(), -2);
    reader.SetSrcTop(5);
    reader.SetSrcHeight(7);
    EXPECT_EQ(reader.SrcBottom(), 12);
    EXPECT_EQ(reader.SrcRect(), (Rect{10, 5, 30, 12}));
    EXPECT_EQ(changes, 5);

    // Below -2 is stored as -2; an explicit rectangle stays without a container.
    reader.SetIndex(-9);
    EXPECT_EQ(reader.Index(), -2);
    EXPECT_EQ(reader.GetBmp(), nullptr);

    // A container with a cell index: the source is that cell.
    TCHBmpContainer cnt;
    cnt.SetBitmap(Sheet(100, 80));
    cnt.SetCellWidth(50);
    cnt.SetCellHeight(40);
    reader.SetIndex(2);
    reader.SetBmpContainer(&cnt);
    EXPECT_EQ(reader.SrcRect(), (Rect{50, 0, 100, 40}));
    EXPECT_EQ(reader.GetBmp(), &cnt.Bitmap());
    reader.SetIndex(1);
    EXPECT_EQ(reader.SrcRect(), (Rect{0, 40, 50, 80}));
    // An explicit rectangle is kept when the container changes.
    reader.SetSrcLeft(3);
    cnt.SetCellWidth(25);
    EXPECT_EQ(reader.SrcRect(), (Rect{3, 40, 50, 80}));
}

TEST(BcReader, ContainerChangesReachReadersAndTheirOwners) {
    TCHBmpContainer cnt;
    std::vector<std::string> log;
    TCHBcReader a([&] { log.push_back("a"); });
    TCHBcReader b([&] { log.push_back("b"); });
    cnt.OnChange = [&](TCHCustomBmpContainer&) { log.push_back("container"); };
    a.SetBmpContainer(&cnt);
    b.SetBmpContainer(&cnt);
    a.SetIndex(1);
    EXPECT_EQ(cnt.LinkCount(), 2u);
    log.clear();

    cnt.SetBitmap(Sheet(300, 40));
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "container"}));
    EXPECT_EQ(a.SrcRect(), (Rect{0, 0, 300, 40}));  // one column: cell 1 clamps to cell 0
    EXPECT_EQ(b.SrcRect(), (Rect{0, 0, 300, 40}));  // the whole bitmap
    log.clear();
    cnt.SetCellWidth(-3);
    EXPECT_EQ(a.SrcRect(), (Rect{100, 0, 200, 40}));
    cnt.SetCellWidth(-3);  // the same value: nothing happens
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "container"}));

    // Moving a reader to another container leaves the first.
    TCHBmpContainer other;
    b.SetBmpContainer(&other);
    EXPECT_EQ(cnt.LinkCount(), 1u);
    EXPECT_EQ(other.LinkCount(), 1u);
    log.clear();
    cnt.SetCellWidth(0);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "container"}));
}

TEST(BcReader, DestroyingAContainerDetachesItsReaders) {
    int changes = 0;
    TCHBcReader reader([&] { ++changes; });
    {
        TCHBmpContainer cnt;
        cnt.SetBitmap(Sheet(20, 10));
        reader.SetBmpContainer(&cnt);
        changes = 0;
    }
    EXPECT_EQ(reader.BmpContainer(), nullptr);
    EXPECT_EQ(reader.GetBmp(), nullptr);
    EXPECT_EQ(changes, 1);  // the owner hears of it (and repaints empty)

    // A reader that goes first leaves its container.
    TCHBmpContainer cnt;
    {
        TCHBcReader shortLived;
        shortLived.SetBmpContainer(&cnt);
        EXPECT_EQ(cnt.LinkCount(), 1u);
    }
    EXPECT_EQ(cnt.LinkCount(), 0u);
    cnt.SetBitmap(Sheet(5, 5));  // no one left to tell
}

TEST(BcDrawer, SetterSideEffects) {
    int changes = 0;
    Rect owner{0, 0, 40, 30};
    TCHBcReader reader;
    TCHBcDrawer drawer(
        &reader, [&] { return owner; }, [&] { ++changes; });
    EXPECT_TRUE(drawer.ParentClient());
    EXPECT_EQ(drawer.DstRect(), owner);

    drawer.SetDstLeft(10);
    EXPECT_FALSE(drawer.ParentClient());
    drawer.SetDstWidth(20);
    EXPECT_EQ(drawer.DstRight(), 30);
    EXPECT_EQ(changes, 2);
    // The same rectangle again: nothing.
    drawer.UpdateDst(drawer.DstRect());
    drawer.SetDstHeight(drawer.DstHeight());
    EXPECT_EQ(changes, 2);

    // Style parameters go through one setter that ignores a repeat of all six.
    drawer.SetDpParams(0, 0, 0, 0, true, false);
    EXPECT_EQ(changes, 2);
    drawer.SetDpAX(3);
    drawer.SetDpFill(false);
    drawer.SetDpParams(3, 0, 0, 0, false, false);
    EXPECT_EQ(changes, 4);
    drawer.SetDrawStyle(chdsTile);
    drawer.SetDrawStyle(chdsTile);
    EXPECT_EQ(changes, 5);

    // Back to the owner's rectangle, taken at once.
    owner = Rect{0, 0, 64, 48};
    drawer.SetParentClient(true);
    EXPECT_EQ(drawer.DstRect(), owner);
    EXPECT_EQ(changes, 6);
}

// Drawing fixture: a sheet whose pixel colours say where they came from, drawn onto a
// white bitmap.
class DrawTest : public ::testing::Test {
protected:
    static ui::TColor At(int x, int y) {
        return ui::RGB(static_cast<std::uint8_t>(10 + x), static_cast<std::uint8_t>(10 + y), 7);
    }

    void MakeSheet(int w, int h) {
        ui::Bitmap bm(w, h, ui::PixelFormat::pf24bit);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) bm.SetPixel(x, y, At(x, y));
        cnt.SetBitmap(bm);
        reader.SetBmpContainer(&cnt);
    }
    // The row y of the target as source x coordinates (-1 for white, -2 otherwise).
    std::vector<int> Row(int y, int width) {
        std::vector<int> out;
        for (int x = 0; x < width; ++x) {
            const ui::TColor c = target.GetPixel(x, y);
            if (c == ui::clWhite)
                out.push_back(-1);
            else if (ui::GetBValue(c) == 7)
                out.push_back(ui::GetRValue(c) - 10);
            else
                out.push_back(-2);
        }
        return out;
    }
    int SourceY(int x, int y) {
        const ui::TColor c = target.GetPixel(x, y);
        return c == ui::clWhite ? -1 : ui::GetGValue(c) - 10;
    }
    void Draw(const Rect& dst) {
        drawer.UpdateDst(dst);
        drawer.Draw(&canvas);
    }

    TCHBmpContainer cnt;
    TCHBcReader reader;
    TCHBcDrawer drawer{&reader, [] { return Rect{}; }, [] {}};
    ui::Bitmap target{20, 12, ui::PixelFormat::pf24bit};
    ui::Canvas canvas{target};
};

TEST_F(DrawTest, NormalCentreAndOffset) {
    MakeSheet(10, 4);
    Draw(Rect{0, 0, 15, 4});
    EXPECT_EQ(Row(0, 16), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1, -1, -1, -1, -1, -1}));

    // Centred: (15 - 10) / 2 = 2 pixels in.
    target = ui::Bitmap(20, 12, ui::PixelFormat::pf24bit);
    drawer.SetDrawStyle(chdsCenter);
    Draw(Rect{0, 0, 15, 4});
    EXPECT_EQ(Row(0, 15), (std::vector<int>{-1, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1, -1, -1}));
    // A destination smaller than the source cuts it: (6 - 10) / 2 = -2.
    target = ui::Bitmap(20, 12, ui::PixelFormat::pf24bit);
    Draw(Rect{1, 0, 7, 4});
    EXPECT_EQ(Row(0, 8), (std::vector<int>{-1, 2, 3, 4, 5, 6, 7, -1}));

    target = ui::Bitmap(20, 12, ui::PixelFormat::pf24bit);
    drawer.SetDrawStyle(chdsOffset);
    drawer.SetDpParams(3, 1, 0, 0, true, false);
    Draw(Rect{0, 0, 8, 4});
    EXPECT_EQ(Row(1, 9), (std::vector<int>{-1, -1, -1, 0, 1, 2, 3, 4, -1}));
    EXPECT_EQ(SourceY(3, 0), -1);
    EXPECT_EQ(SourceY(3, 3), 2);
}

TEST_F(DrawTest, TileIsShiftedByItsOffsets) {
    MakeSheet(6, 2);
    reader.SetSrcLeft(0);
    reader.SetSrcTop(0);
    reader.SetSrcRight(3);
    reader.SetSrcBottom(2);
    drawer.SetDrawStyle(chdsTile);
    Draw(Rect{0, 0, 7, 5});
    EXPECT_EQ(Row(0, 8), (std::vector<int>{0, 1, 2, 0, 1, 2, 0, -1}));
    EXPECT_EQ(SourceY(0, 4), 0);
    EXPECT_EQ(SourceY(0, 5), -1);

    drawer.SetDpParams(1, 1, 0, 0, true, false);
    Draw(Rect{0, 0, 7, 5});
    EXPECT_EQ(Row(1, 7), (std::vector<int>{2, 0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(SourceY(0, 0), 1);
    EXPECT_EQ(SourceY(0, 1), 0);
    // Negative offsets wrap the same way.
    drawer.SetDpParams(-1, 0, 0, 0, true, false);
    Draw(Rect{0, 0, 7, 5});
    EXPECT_EQ(Row(0, 7), (std::vector<int>{1, 2, 0, 1, 2, 0, 1}));
}

TEST_F(DrawTest, TileOfAnEmptySourceDrawsNothing) {
    MakeSheet(6, 2);
    drawer.SetDrawStyle(chdsTile);
    reader.SetSrcLeft(4);
    reader.SetSrcRight(4);
    reader.SetSrcBottom(2);
    Draw(Rect{0, 0, 10, 10});
    // A source outside the sheet is empty too.
    reader.SetSrcLeft(50);
    reader.SetSrcRight(60);
    Draw(Rect{0, 0, 10, 10});
    EXPECT_EQ(Row(0, 10), std::vector<int>(10, -1));
}

TEST_F(DrawTest, TileOfOnePixelFillsTheDestination) {
    MakeSheet(6, 2);
    drawer.SetDrawStyle(chdsTile);
    reader.SetSrcLeft(4);
    reader.SetSrcTop(1);
    reader.SetSrcRight(5);
    reader.SetSrcBottom(2);
    Draw(Rect{2, 2, 6, 5});
    EXPECT_EQ(Row(3, 7), (std::vector<int>{-1, -1, 4, 4, 4, 4, -1}));
    EXPECT_EQ(SourceY(5, 4), 1);
    EXPECT_EQ(SourceY(5, 5), -1);
}

TEST_F(DrawTest, StretchScalesTheWholeBitmapOrAPart) {
    MakeSheet(4, 2);
    drawer.SetDrawStyle(chdsStretch);
    Draw(Rect{0, 0, 8, 4});
    EXPECT_EQ(Row(0, 9), (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3, -1}));
    EXPECT_EQ(SourceY(0, 3), 1);

    target = ui::Bitmap(20, 12, ui::PixelFormat::pf24bit);
    reader.SetSrcLeft(2);
    reader.SetSrcTop(0);
    reader.SetSrcRight(4);
    reader.SetSrcBottom(1);
    Draw(Rect{0, 0, 4, 2});
    EXPECT_EQ(Row(1, 5), (std::vector<int>{2, 2, 3, 3, -1}));
}

TEST_F(DrawTest, FixKeepsCornersAndRepeatsEdges) {
    MakeSheet(5, 5);
    drawer.SetDrawStyle(chdsFix);
    // Margins: 1 left, 2 right, 1 top, 1 bottom; the middle column of the source is 2..2.
    drawer.SetDpParams(1, 1, 2, 1, true, false);
    Draw(Rect{0, 0, 9, 6});
    EXPECT_EQ(Row(0, 10), (std::vector<int>{0, 1, 2, 1, 2, 1, 2, 3, 4, -1}));
    EXPECT_EQ(Row(3, 9), (std::vector<int>{0, 1, 2, 1, 2, 1, 2, 3, 4}));
    EXPECT_EQ(SourceY(0, 0), 0);
    EXPECT_EQ(SourceY(0, 1), 1);
    EXPECT_EQ(SourceY(0, 4), 1);  // the left edge repeats rows 1..3
    EXPECT_EQ(SourceY(0, 5), 4);
    EXPECT_EQ(SourceY(8, 5), 4);

    // Without DpFill the middle is left as it was.
    target = ui::Bitmap(20, 12, ui::PixelFormat::pf24bit);
    drawer.SetDpFill(false);
    Draw(Rect{0, 0, 9, 6});
    EXPECT_EQ(Row(2, 9), (std::vector<int>{0, -1, -1, -1, -1, -1, -1, 3, 4}));
    EXPECT_EQ(Row(0, 9), (std::vector<int>{0, 1, 2, 1, 2, 1, 2, 3, 4}));

    // A destination narrower than the margins keeps what fits, near side first; the
    // far corner keeps its outer edge.
    target = ui::Bitmap(20, 12, ui::PixelFormat::pf24bit);
    Draw(Rect{0, 0, 2, 3});
    EXPECT_EQ(Row(0, 3), (std::vector<int>{0, 4, -1}));
}

TEST_F(DrawTest, TitleFixHeadIsAtMostHalfTheHeight) {
    MakeSheet(3, 6);
    drawer.SetDrawStyle(chdsTitleFix);
    drawer.SetDpParams(1, 4, 1, 1, true, false);
    Draw(Rect{0, 0, 3, 4});
    // Top margin 4 becomes 2: rows 0, 1 from the source's top, the last from its bottom.
    EXPECT_EQ(SourceY(1, 0), 0);
    EXPECT_EQ(SourceY(1, 1), 1);
    EXPECT_EQ(SourceY(1, 3), 5);

    // Head and body apart: the head strip, then the body's rows below the head.
    target = ui::Bitmap(20, 12, ui::PixelFormat::pf24bit);
    drawer.SetDpParams(1, 2, 1, 1, false, true);
    Draw(Rect{0, 0, 3, 6});
    EXPECT_EQ(SourceY(1, 0), 0);
    EXPECT_EQ(SourceY(1, 1), 1);
    EXPECT_EQ(SourceY(1, 2), -1);  // the body's middle, not filled
    EXPECT_EQ(SourceY(0, 2), 2);
    EXPECT_EQ(SourceY(0, 5), 5);
}

TEST_F(DrawTest, HooksAdjustAndNothingIsDrawnWithoutSheetOrCanvas) {
    MakeSheet(10, 4);
    drawer.OnAdjustSrc = [](Rect& r) { r.Left += 5; };
    drawer.OnAdjustDst = [](Rect& r) { r.Left += 1; };
    Draw(Rect{0, 0, 10, 4});
    EXPECT_EQ(Row(0, 8), (std::vector<int>{-1, 5, 6, 7, 8, 9, -1, -1}));

    drawer.Draw(nullptr);
    target = ui::Bitmap(20, 12, ui::PixelFormat::pf24bit);
    reader.SetBmpContainer(nullptr);
    Draw(Rect{0, 0, 10, 4});
    EXPECT_EQ(Row(0, 4), (std::vector<int>{-1, -1, -1, -1}));
}

TEST(BmpContainer, LoadsSheetsFromTheResourceSet) {
    TCHBmpContainer cnt;
    int changes = 0;
    cnt.OnChange = [&](TCHCustomBmpContainer&) { ++changes; };
    ASSERT_TRUE(cnt.LoadFromResource("SkinTestButton.bmp"));
    EXPECT_EQ(cnt.GetBitmap().Width(), 240);
    EXPECT_EQ(cnt.GetBitmap().Height(), 20);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(cnt.LoadFromResource("NoSuchSheet.bmp"));
    EXPECT_FALSE(cnt.LoadFromResource("ItemDescription.txt"));
    EXPECT_EQ(cnt.GetBitmap().Width(), 240);
    EXPECT_EQ(changes, 1);
}

}  // namespace
