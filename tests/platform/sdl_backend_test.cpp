#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/sdl/SdlBackend.h"

// The SDL back end on SDL's dummy video driver: what the window system's events turn
// into, and what the screen turns into on the window.
namespace {

class SdlBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        std::string error;
        backend = ui::SdlBackend::Create({1, false}, &error);
        ASSERT_TRUE(backend) << error;
    }
    std::deque<ui::InputEvent> Translate(const SDL_Event& e) {
        std::deque<ui::InputEvent> out;
        backend->Translate(e, out);
        return out;
    }
    SDL_Event Button(Uint32 type, Uint8 button, Uint8 clicks, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.button = button;
        e.button.clicks = clicks;
        e.button.x = x;
        e.button.y = y;
        return e;
    }
    std::unique_ptr<ui::SdlBackend> backend;
};

TEST(SdlWindowScale, TheLargestWholeMultipleThatFitsWithTheFrame) {
    struct Case {
        int usableW, usableH, w, h, scale;
    };
    const Case cases[] = {
        {1280, 1024, 640, 480, 2},  // full screen's size
        {1280, 1024, 648, 520, 1},  // the window mode's screen: 1296 x 1040 would not fit
        {1296, 1088, 648, 520, 2},  // exactly, with the frame's room
        {1296, 1087, 648, 520, 1},  // one short
        {2560, 1440, 648, 520, 2}, {3840, 2160, 640, 480, 4},
        {800, 600, 640, 480, 1},  // nothing fits: still 1
        {0, 0, 640, 480, 1},      // no desktop known
        {1280, 1024, 0, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::FittingScale(c.usableW, c.usableH, c.w, c.h), c.scale)
            << c.usableW << "x" << c.usableH << " for " << c.w << "x" << c.h;
}

TEST_F(SdlBackendTest, TheDummyDriverShowsOnNoDisplay) { EXPECT_FALSE(backend->ShowsOnADisplay()); }

TEST_F(SdlBackendTest, TheWindowHasNoFrameOfTheDesktopsAndNoFormNoBarToDrag) {
    EXPECT_NE(SDL_GetWindowFlags(backend->Window()) & SDL_WINDOW_BORDERLESS, 0u);
    for (const SDL_Point p : {SDL_Point{0, 0}, SDL_Point{320, 10}, SDL_Point{639, 479}})
        EXPECT_EQ(backend->HitTest(p.x, p.y), SDL_HITTEST_NORMAL);
}

TEST_F(SdlBackendTest, MouseButtonsBecomePressesDoubleClicksAndReleases) {
    auto down = Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 10, 20));
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].type, ui::InputType::MouseDown);
    EXPECT_EQ(down[0].button, ui::MouseButton::mbLeft);
    EXPECT_EQ(down[0].x, 10);
    EXPECT_EQ(down[0].y, 20);
    EXPECT_TRUE(down[0].shift & ui::ssLeft);

    auto dbl = Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2, 1, 2));
    ASSERT_EQ(dbl.size(), 1u);
    EXPECT_EQ(dbl[0].type, ui::InputType::DoubleClick);
    EXPECT_EQ(dbl[0].button, ui::MouseButton::mbRight);
    EXPECT_TRUE(dbl[0].shift & ui::ssDouble);

    auto third = Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 1, 2));
    EXPECT_EQ(third[0].type, ui::InputType::MouseDown);

    auto up = Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 3, 4));
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].type, ui::InputType::MouseUp);
    EXPECT_FALSE(up[0].shift & ui::ssLeft);

    EXPECT_TRUE(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 0, 0)).empty());
}

TEST_F(SdlBackendTest, KeysTextAndWindowEvents) {
    SDL_Event k{};
    k.type = SDL_KEYDOWN;
    k.key.keysym.sym = SDLK_a;
    k.key.keysym.mod = KMOD_LCTRL;
    auto a = Translate(k);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].key, 'A');
    EXPECT_EQ(a[0].shift, ui::ssCtrl);
    k.type = SDL_KEYUP;
    k.key.keysym.sym = SDLK_F5;
    k.key.keysym.mod = 0;
    auto f5 = Translate(k);
    ASSERT_EQ(f5.size(), 1u);
    EXPECT_EQ(f5[0].type, ui::InputType::KeyUp);
    EXPECT_EQ(f5[0].key, 0x74);
    k.key.keysym.sym = SDLK_VOLUMEUP;
    EXPECT_TRUE(Translate(k).empty());

    SDL_Event t{};
    t.type = SDL_TEXTINPUT;
    std::strcpy(t.text.text, "a\xE4\xB8\xAD!");  // a中!
    auto chars = Translate(t);
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_EQ(chars[0].ch, 'a');
    EXPECT_EQ(chars[1].ch, '!');

    // The window's close is one request: SDL adds no quit event after it, which the
    // pump would take as a second close (the player asked twice). A quit comes only
    // from the system (SIGINT, SIGTERM) and ends the program without a question.
    EXPECT_FALSE(SDL_GetHintBoolean(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, SDL_TRUE));
    SDL_Event q{};
    q.type = SDL_QUIT;
    EXPECT_EQ(Translate(q).at(0).type, ui::InputType::Quit);
    SDL_Event w{};
    w.type = SDL_WINDOWEVENT;
    const std::pair<Uint8, ui::InputType> cases[] = {
        {SDL_WINDOWEVENT_CLOSE, ui::InputType::Close},
        {SDL_WINDOWEVENT_MINIMIZED, ui::InputType::Minimize},
        {SDL_WINDOWEVENT_RESTORED, ui::InputType::Restore},
        {SDL_WINDOWEVENT_FOCUS_GAINED, ui::InputType::Activate},
        {SDL_WINDOWEVENT_EXPOSED, ui::InputType::Expose},
    };
    for (const auto& [sdl, want] : cases) {
        w.window.event = sdl;
        auto got = Translate(w);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].type, want);
    }
}

TEST_F(SdlBackendTest, ScreenPixelsReachTheWindowUnchanged) {
    ui::Screen screen;
    screen.Fill(0x123456);
    screen.Row(1)[2] = 0xFF8001;
    backend->Present(screen);
    // Read back what the renderer drew (the window is the screen at scale 1).
    SDL_Renderer* renderer = backend->Renderer();
    std::vector<Uint32> px(ui::kScreenWidth * 2);
    SDL_Rect r{0, 0, ui::kScreenWidth, 2};
    ASSERT_EQ(
        SDL_RenderReadPixels(renderer, &r, SDL_PIXELFORMAT_RGB888, px.data(), ui::kScreenWidth * 4),
        0)
        << SDL_GetError();
    EXPECT_EQ(px[0] & 0xFFFFFF, 0x123456u);
    EXPECT_EQ(px[ui::kScreenWidth + 2] & 0xFFFFFF, 0xFF8001u);
}

TEST_F(SdlBackendTest, WakeEndsAWaitFromAnotherThread) {
    std::thread other([this] { backend->Wake(); });
    other.join();
    backend->WaitInput(std::nullopt, "test");  // returns: the wake-up is queued
    std::deque<ui::InputEvent> out;
    backend->PollInput(out);
    EXPECT_TRUE(out.empty());  // the wake-up itself is no input
}

}  // namespace
