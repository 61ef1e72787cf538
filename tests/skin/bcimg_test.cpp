#include "skin/BcImg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "skin/BcPanel.h"
#include "tests/support/HeadlessApp.h"

namespace {

using ui::Rect;

// SkinTestPicture.bmp: two 64 x 48 cells, red and green, each in a one-pixel frame.
constexpr ui::TColor kRed = ui::RGB(200, 40, 40);
constexpr ui::TColor kGreen = ui::RGB(40, 160, 60);
constexpr ui::TColor kFrame = ui::RGB(240, 220, 160);

class SkinImageTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(sheet.LoadFromResource("SkinTestPicture.bmp"));
        sheet.SetCellWidth(-2);
    }
    TCHBmpContainer sheet;
};

TEST_F(SkinImageTest, ImageAutoSizesToItsCell) {
    TBcImage image;
    EXPECT_EQ(image.Width(), 105);
    EXPECT_EQ(image.Height(), 105);
    image.BcReader().SetBmpContainer(&sheet);
    image.BcReader().SetIndex(1);
    EXPECT_EQ(image.Width(), 105);  // not without AutoSize
    image.SetAutoSize(true);
    EXPECT_EQ(image.Width(), 64);
    EXPECT_EQ(image.Height(), 48);
    EXPECT_TRUE(image.Opaque());
    EXPECT_EQ(image.GetPalette(), &sheet.Bitmap().ColorTable());

    // Under AutoSize a new source sizes it again.
    image.BcReader().SetSrcWidth(32);
    EXPECT_EQ(image.Width(), 32);
    EXPECT_EQ(image.Height(), 48);

    ui::Bitmap bm(32, 48, ui::PixelFormat::pf24bit);
    ui::Canvas canvas(bm);
    image.Paint(canvas);
    EXPECT_EQ(bm.GetPixel(0, 0), kFrame);
    EXPECT_EQ(bm.GetPixel(10, 10), kGreen);
}

TEST_F(SkinImageTest, OpaqueOnlyWhenThePictureCoversTheControl) {
    struct Case {
        TCHDrawStyle style;
        int ax, ay;
        bool fill;
        bool opaque;
    };
    const Case cases[] = {
        {chdsNormal, 0, 0, true, true},  {chdsOffset, 0, 0, true, true},
        {chdsOffset, 5, 0, true, false}, {chdsOffset, 0, -1, true, false},
        {chdsFix, 0, 0, false, false},   {chdsFix, 0, 0, true, true},
        {chdsTile, 3, 3, false, true},   {chdsCenter, 0, 0, true, true},
    };
    for (const Case& c : cases) {
        TBcImage image;
        image.BcReader().SetBmpContainer(&sheet);
        image.BcReader().SetIndex(0);
        image.BcDrawer().SetDrawStyle(c.style);
        image.BcDrawer().SetDpParams(c.ax, c.ay, 0, 0, c.fill, false);
        image.SetAutoSize(true);
        EXPECT_EQ(image.Opaque(), c.opaque)
            << "style " << c.style << " offset " << c.ax << "," << c.ay;
    }
    // A destination that does not reach the control's edges never is.
    TBcImage image;
    image.BcReader().SetBmpContainer(&sheet);
    image.BcDrawer().SetDstLeft(2);
    image.BcReader().SetIndex(0);
    image.SetAutoSize(true);
    EXPECT_FALSE(image.Opaque());
}

TEST_F(SkinImageTest, PaintHooksRunAroundThePicture) {
    TBcImage image;
    image.BcReader().SetBmpContainer(&sheet);
    image.BcReader().SetIndex(0);
    image.SetBounds(0, 0, 64, 48);
    std::vector<std::string> order;
    ui::Bitmap bm(64, 48, ui::PixelFormat::pf24bit);
    image.OnPainting = [&](ui::Control&) { order.push_back("painting"); };
    image.OnPainted = [&](ui::Control&) {
        order.push_back("painted " + std::to_string(bm.GetPixel(10, 10) == kRed));
    };
    ui::Canvas canvas(bm);
    image.Paint(canvas);
    EXPECT_EQ(order, (std::vector<std::string>{"painting", "painted 1"}));

    // With OnPaint the handler paints instead of the drawer, on the paint's canvas.
    order.clear();
    bm = ui::Bitmap(64, 48, ui::PixelFormat::pf24bit);
    image.OnPaint = [&](ui::Control& sender) {
        auto& self = static_cast<TBcImage&>(sender);
        order.push_back(self.PaintCanvas() == &canvas ? "paint" : "paint without canvas");
    };
    image.Paint(canvas);
    EXPECT_EQ(order, (std::vector<std::string>{"painting", "paint", "painted 0"}));
    EXPECT_EQ(bm.GetPixel(10, 10), ui::clWhite);
    EXPECT_EQ(image.PaintCanvas(), nullptr);
}

TEST_F(SkinImageTest, ImageForgetsADestroyedSheet) {
    TBcImage image;
    auto gone = std::make_unique<TCHBmpContainer>();
    gone->SetBitmap(sheet.Bitmap());
    image.BcReader().SetBmpContainer(gone.get());
    gone.reset();
    EXPECT_EQ(image.BcReader().BmpContainer(), nullptr);
    EXPECT_EQ(image.GetPalette(), nullptr);
    ui::Bitmap bm(105, 105, ui::PixelFormat::pf24bit);
    ui::Canvas canvas(bm);
    image.Paint(canvas);
    EXPECT_EQ(bm.GetPixel(10, 10), ui::clWhite);
}

// A panel on a lime form shows its picture; what the picture leaves uncovered shows the
// panel's colour only when it erases its background.
TEST_F(SkinImageTest, PanelErasesOnlyWhenAsked) {
    for (bool erase : {true, false}) {
        ui::Bitmap bm(100, 60, ui::PixelFormat::pf24bit);
        ui::Canvas canvas(bm);
        canvas.Brush.Color = ui::clLime;
        canvas.FillRect(Rect{0, 0, 100, 60});

        TBcPanel panel;
        EXPECT_EQ(panel.BevelOuter(), ui::BevelCut::bvNone);
        EXPECT_EQ(panel.Caption(), " ");
        panel.SetBounds(0, 0, 100, 60);
        panel.SetColor(ui::clRed);
        panel.SetEraseBkGnd(erase);
        panel.BcReader().SetBmpContainer(&sheet);
        panel.BcReader().SetIndex(0);
        panel.Paint(canvas);
        EXPECT_EQ(bm.GetPixel(10, 10), kRed);
        EXPECT_EQ(bm.GetPixel(80, 10), erase ? ui::clRed : ui::clLime) << "erase " << erase;
        EXPECT_EQ(bm.GetPixel(10, 55), erase ? ui::clRed : ui::clLime) << "erase " << erase;
    }
}

TEST_F(SkinImageTest, PanelDrawsInsideItsBevelsAndAutoSizes) {
    ui::Bitmap bm(100, 60, ui::PixelFormat::pf24bit);
    ui::Canvas canvas(bm);
    TBcPanel panel;
    panel.SetBounds(0, 0, 100, 60);
    panel.SetBevelOuter(ui::BevelCut::bvRaised);
    panel.SetBevelWidth(2);
    panel.BcReader().SetBmpContainer(&sheet);
    panel.BcReader().SetIndex(1);
    std::vector<std::string> order;
    panel.OnPainting = [&](ui::Control&) { order.push_back("painting"); };
    panel.OnPainted = [&](ui::Control&) { order.push_back("painted"); };
    panel.Paint(canvas);
    EXPECT_EQ(order, (std::vector<std::string>{"painting", "painted"}));
    EXPECT_EQ(panel.InnerRectPainted(), (Rect{2, 2, 98, 58}));
    EXPECT_EQ(bm.GetPixel(0, 0), ui::clBtnHighlight);
    EXPECT_EQ(bm.GetPixel(99, 59), ui::clBtnShadow);
    EXPECT_EQ(bm.GetPixel(2, 2), kFrame);  // the picture starts inside the bevel
    EXPECT_EQ(bm.GetPixel(10, 10), kGreen);

    panel.SetAutoSize(true);
    EXPECT_EQ(panel.Width(), 64);
    EXPECT_EQ(panel.Height(), 48);
    EXPECT_EQ(panel.GetPalette(), &sheet.Bitmap().ColorTable());
}

}  // namespace
