// Pixel goldens of the message and choice windows: a line of Big5 cells over the page,
// a choice caption that wraps, and the window region around a face.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/Big5.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Files.h"
#include "platform/Form.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/HeadlessApp.h"
#include "town/Spbtnfm.h"
#include "town/Srcdbtxtform21.h"

namespace {

ui::Bitmap Crop(const ui::Bitmap& src, const ui::Rect& r) {
    ui::Bitmap out(r.Width(), r.Height());
    out.GetCanvas().BitBlt(0, 0, r.Width(), r.Height(), &src, r.Left, r.Top, ui::SRCCOPY);
    return out;
}

class MessageWindowGolden : public test::HeadlessTest {
protected:
    void SetUp() override {
        ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
        win.m_FaceFolder = "\\col24b\\palFace";
        win.LoadFaces();
    }
    TDbTxtForm2 win;
};

TEST_F(MessageWindowGolden, OneLineOfCellsInTheTextColourOverThePage) {
    win.SetText(B5("緹菈「早安。"));
    win.Tick();
    // Six cells from (14, 14), with a few pixels of the page around them.
    EXPECT_TRUE(test::Matches(Crop(win.TextBitmap(), ui::Rect{10, 10, 138, 38}), "msgwin-line"));
}

TEST_F(MessageWindowGolden, TheWindowRegionAroundAFace) {
    win.SetFace(7);
    const ui::Region* region = win.WindowRegion();
    ASSERT_NE(region, nullptr);
    // The head's outline: inside the region white, outside black.
    const ui::Rect r{24, 16, 136, 80};
    ui::Bitmap mask(r.Width(), r.Height());
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            mask.SetPixel(x - r.Left, y - r.Top,
                          region->Contains(x, y) ? ui::clWhite : ui::clBlack);
    EXPECT_TRUE(test::Matches(mask, "msgwin-face-region"));
}

TEST(ChoiceWindowGolden, ACaptionThatWraps) {
    test::HeadlessApp app;
    TBtnForm form;
    ui::Bitmap paper(80, 60);
    paper.GetCanvas().Brush.Color = ui::RGB(240, 230, 200);
    paper.GetCanvas().FillRect(ui::Rect{0, 0, 80, 60});
    form.SetBackground(paper);
    form.LayoutButtons(1, 8, 8);  // one button 64 x 44: three cells a line
    ui::Font font;
    font.Name = ui::kFaceMing;
    font.Height = 20;
    form.SetFont(font, 128);
    form.SetCaptions(std::array<std::string, 3>{B5("去花圃看看"), "", ""});
    EXPECT_TRUE(test::Matches(form.m_Sbt1->Glyph(), "choice-wrap"));
}

}  // namespace
