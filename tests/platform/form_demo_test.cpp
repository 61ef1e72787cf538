// A small form with a picture, a Big5 label, a speed button and a panel, composed on
// the headless screen and checked against its golden; the same form can be shown in
// an SDL window (LUMIA_SDL_SHOW=<ms> keeps it up that long, for a screenshot).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "platform/Big5.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/sdl/SdlBackend.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/HeadlessApp.h"

namespace {

constexpr int kLeft = 16, kTop = 12, kWidth = 232, kHeight = 150;

// The picture: an 8-bit palette picture of bands and a diagonal.
ui::Bitmap DemoPicture() {
    ui::Bitmap bm(64, 48, ui::PixelFormat::pf8bit);
    ui::Palette pal = ui::DefaultPalette();
    for (int i = 0; i < 16; ++i)
        pal[16 + i] = ui::RGBQuad{static_cast<std::uint8_t>(255 - i * 12), 96,
                                  static_cast<std::uint8_t>(i * 16), 0};
    bm.SetColorTable(pal);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            bm.SetRaw(x, y, (x == y || x == y + 16) ? 15 : 16 + (y / 3) % 16);
    return bm;
}

// A 16x16 glyph: a red diamond on a green (transparent) ground.
ui::Bitmap DemoGlyph() {
    ui::Bitmap g(16, 16, ui::PixelFormat::pf24bit);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            g.SetPixel(x, y, std::abs(x - 8) + std::abs(y - 8) <= 6 ? ui::clRed : ui::clLime);
    return g;
}

struct DemoForm : ui::Form {
    ui::Image image{this};
    ui::Label label{this};
    ui::SpeedButton button{this};
    ui::Panel panel{this};
    ui::Label inPanel{&panel};

    DemoForm() {
        SetBounds(kLeft, kTop, kWidth, kHeight);
        SetColor(ui::clSilver);
        image.SetBounds(8, 8, 10, 10);
        image.SetAutoSize(true);
        image.SetPicture(DemoPicture());
        label.SetBounds(80, 10, 0, 0);
        label.SetFontName(ui::kFaceKai);
        label.SetFontHeight(-16);
        label.SetFontBold(true);
        label.SetFontColor(ui::clMaroon);
        label.SetTransparent(true);
        label.SetCaption(ui::Utf8ToBig5("露米亞藥坊"));
        button.SetBounds(80, 34, 96, 26);
        button.SetGlyph(DemoGlyph());
        button.SetCaption(ui::Utf8ToBig5("下一回合"));
        panel.SetBounds(8, 68, 216, 74);
        panel.SetBevelOuter(ui::BevelCut::bvLowered);
        panel.SetBevelInner(ui::BevelCut::bvRaised);
        panel.SetColor(ui::RGB(0xE0, 0xE8, 0xF0));
        panel.SetAlignment(ui::Alignment::taCenter);
        panel.SetCaption(ui::Utf8ToBig5("陳列商品"));
        inPanel.SetBounds(6, 6, 0, 0);
        inPanel.SetCaption(ui::Utf8ToBig5("魔法 Lv.3"));
        inPanel.SetFontColor(ui::clNavy);
    }
};

ui::Bitmap Crop(const ui::Screen& screen, int x, int y, int w, int h) {
    ui::Bitmap out(w, h, ui::PixelFormat::pf24bit);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) out.SetRaw(i, j, screen.At(x + i, y + j));
    return out;
}

TEST(FormDemo, HeadlessScreenMatchesItsGolden) {
    test::HeadlessApp headless;
    DemoForm form;
    form.Show();
    headless.RunFor(10);
    EXPECT_EQ(form.image.Width(), 64);
    EXPECT_EQ(form.image.Height(), 48);
    const std::string dir = test::ScratchDir("form_demo");
    EXPECT_TRUE(headless.Backend().WriteScreenPng(dir + "/headless.png"));
    EXPECT_TRUE(
        test::Matches(Crop(headless.App().GetScreen(), kLeft, kTop, kWidth, kHeight), "form-demo"));
}

// Shows the form in an SDL window; with LUMIA_SDL_SHOW set, for that many real
// milliseconds (the screenshot is taken meanwhile). Without a display it is skipped.
TEST(FormDemo, SdlWindowShowsTheSameForm) {
    const char* show = std::getenv("LUMIA_SDL_SHOW");
    if (!show) GTEST_SKIP() << "set LUMIA_SDL_SHOW=<ms> to show the form in an SDL window";
    std::string error;
    ui::SdlOptions options;
    options.scale = 1;
    auto backend = ui::SdlBackend::Create(options, &error);
    if (!backend) GTEST_SKIP() << "no SDL window: " << error;
    ui::Application app(std::move(backend));
    {
        DemoForm form;
        form.Show();
        app.Update();
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoi(show));
        while (std::chrono::steady_clock::now() < until) {
            app.ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ui::WritePng(test::ScratchDir("form_demo_sdl") + "/sdl-screen.png", app.GetScreen());
    }
}

}  // namespace
