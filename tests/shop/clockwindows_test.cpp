// The clock, the calendar and the option window through the real start-up forms: where
// they open, what they show, the minute hand's sweep, the option buttons, the screen
// mode switch and the clock window's shape.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Input.h"
#include "shop/Calendar.h"
#include "shop/Calender.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Option.h"
#include "shop/Shop.h"
#include "shop/Watch.h"
#include "story/EventTables.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/HeadlessApp.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

class ClockWindowsTest : public ::testing::Test {
protected:
    // The program's forms on a desktop of the given size, a game started on `day` at
    // `hour` (as a load leaves it: the clock and calendar renewed).
    void Start(int day, int hour, int desktopWidth = 1024, int desktopHeight = 768) {
        ui::HeadlessOptions o;
        o.desktopWidth = desktopWidth;
        o.desktopHeight = desktopHeight;
        app.emplace(o);
        app->AnswerMessageBoxes(ui::IDOK);
        // The hours below pass without the evening customers' dialogue.
        savedRequests = CustomerRequestEvents;
        CustomerRequestEvents = {};
        g_MainFormHooks = {};
        CreateStartupForms();
        app->RunFor(10);  // the title
        ShopForm->BuildShopScene();
        ShopForm->TitlePanel->Hide();
        ShopForm->Shop2FPanel->Hide();
        ShopForm->ShowShopScreen();
        SetGameDay(day);
        SetGameHour(hour);
        if (IsShopOpenTime(day, hour)) ShopForm->SetShopOpen();
        ASSERT_NE(g_ShopHooks.RenewWatchAndCalendar, nullptr);
        g_ShopHooks.RenewWatchAndCalendar();
        app->RunFor(20);
    }
    void TearDown() override {
        if (!app) return;
        DestroyStartupForms();
        g_MainFormHooks = {};
        CustomerRequestEvents = savedRequests;
        FullScreen = 0;
    }

    void ClickOn(ui::Control& c) {
        const ui::Point p = c.ClientToScreen({c.Width() / 2, c.Height() / 2});
        app->Backend().Click(p.x, p.y);
        app->RunFor(50);
    }
    static Pixels Member(const std::string& name) {
        return test::Pixels(ShopForm->LoadPackPicture(name));
    }
    static std::string Face(int h) {
        return (h < 10 ? "clock0" : "clock") + std::to_string(h) + ".bmp";
    }
    static Pixels Shows(const ui::Image* image) { return test::Pixels(image->Picture()); }
    // The minute hand's position 0..10 that Image3 shows, -1 for none.
    int MinutePosition() {
        if (minuteHands.empty())
            for (int k = 0; k <= 10; ++k)
                minuteHands.push_back(
                    Member("clockm" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ".bmp"));
        const Pixels now = Shows(WatchForm->Image3);
        for (int k = 0; k <= 10; ++k)
            if (minuteHands[k] == now) return k;
        return -1;
    }
    static ui::Point At(const ui::Form* f) { return {f->Left(), f->Top()}; }

    std::optional<test::HeadlessApp> app;
    EventTable savedRequests{};
    std::vector<Pixels> minuteHands;
};

// ---------------------------------------------------------------- the clock and calendar

TEST_F(ClockWindowsTest, ShownWithTheShopAtTheSceneCornersOnTopAndShaped) {
    Start(0, 8);
    ASSERT_NE(WatchForm, nullptr);
    ASSERT_NE(CalenderForm, nullptr);
    for (ui::Form* f : {static_cast<ui::Form*>(WatchForm), static_cast<ui::Form*>(CalenderForm)}) {
        EXPECT_TRUE(f->Visible());
        EXPECT_EQ(f->Style(), ui::FormStyle::fsStayOnTop);
        ASSERT_NE(f->WindowRegion(), nullptr);
        EXPECT_FALSE(f->WindowRegion()->Contains(0, 0)) << "the key around it is left out";
        f->Close();
        EXPECT_TRUE(f->Visible()) << "the close request is refused";
    }
    // The clock at the scene's top-left corner (under the 36-pixel top bar); the calendar
    // at its top-right corner, 4 pixels in: 648 - its width - 4.
    EXPECT_EQ(At(WatchForm), (ui::Point{0, 36}));
    EXPECT_EQ(At(CalenderForm), (ui::Point{648 - CalenderForm->Width() - 4, 36}));
}

TEST_F(ClockWindowsTest, FacesAndPagesFollowTheGameTime) {
    struct Case {
        int day, hour;
        const char *face, *month, *date, *weekday;
        bool open;
    };
    const Case cases[] = {
        {0, 8, "clock08", "calm01", "cald01", "calw1", false},
        {1, 12, "clock00", "calm01", "cald02", "calw2", true},
        {29, 13, "clock01", "calm02", "cald06", "calw6", false},  // the rest day
        {48, 12, "clock00", "calm03", "cald01", "calw1", false},  // the shop's holiday
        {287, 23, "clock11", "calm12", "cald24", "calw6", false},
    };
    Start(0, 8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.day * 100 + c.hour);
        SetGameDay(c.day);
        SetGameHour(c.hour);
        if (c.open)
            ShopForm->SetShopOpen();
        else
            ShopForm->SetShopClosed();
        g_ShopHooks.RenewWatchAndCalendar();
        EXPECT_EQ(Shows(WatchForm->Image2), Member(std::string(c.face) + ".bmp"));
        EXPECT_EQ(MinutePosition(), 0);
        EXPECT_EQ(WatchForm->Image4->Visible(), c.open) << "the open sign";
        EXPECT_EQ(Shows(CalenderForm->MonthImg), Member(std::string(c.month) + ".bmp"));
        EXPECT_EQ(Shows(CalenderForm->DayImg), Member(std::string(c.date) + ".bmp"));
        EXPECT_EQ(Shows(CalenderForm->WeekImg), Member(std::string(c.weekday) + ".bmp"));
    }
    // The hour that opens the shop puts the sign up, the one that closes it takes it down.
    SetGameDay(1);
    SetGameHour(9);
    AdvanceHour();
    EXPECT_TRUE(WatchForm->Image4->Visible());
    SetGameHour(18);
    AdvanceHour();
    EXPECT_FALSE(WatchForm->Image4->Visible());
    // An hour past midnight turns the page and the face.
    SetGameDay(5);
    SetGameHour(23);
    AdvanceHour();
    EXPECT_EQ(Shows(CalenderForm->DayImg), Member("cald07.bmp"));
    EXPECT_EQ(Shows(CalenderForm->WeekImg), Member("calw1.bmp"));
    EXPECT_EQ(Shows(WatchForm->Image2), Member("clock00.bmp"));
}

TEST_F(ClockWindowsTest, EveryPictureTheWindowsNameFitsItsPlaceAndNoTwoAreAlike) {
    Start(0, 8);
    struct Set {
        const char* format;
        int first, last;
        const ui::Image* place;
    };
    const Set sets[] = {{"clock%02d.bmp", 0, 11, WatchForm->Image2},
                        {"clockm%02d.bmp", 0, 10, WatchForm->Image3},
                        {"calm%02d.bmp", 1, 12, CalenderForm->MonthImg},
                        {"cald%02d.bmp", 1, 24, CalenderForm->DayImg},
                        {"calw%d.bmp", 1, 6, CalenderForm->WeekImg}};
    for (const Set& set : sets) {
        std::vector<Pixels> seen;
        for (int n = set.first; n <= set.last; ++n) {
            char name[20];
            std::snprintf(name, sizeof name, set.format, n);
            SCOPED_TRACE(name);
            const ui::Bitmap b = ShopForm->LoadPackPicture(name);
            EXPECT_EQ(b.Width(), set.place->Width());
            EXPECT_EQ(b.Height(), set.place->Height());
            const Pixels px = test::Pixels(b);
            for (const Pixels& other : seen) EXPECT_NE(px, other);
            seen.push_back(px);
        }
    }
}

TEST_F(ClockWindowsTest, TheMinuteHandSweepsOnceAnHourUnlessSkippedOrTurnedOff) {
    struct Case {
        bool sweepOff, fastForward;
        std::vector<int> seen;  // positions the hand shows while the hour passes
        std::uint32_t ms;       // virtual time the hour change takes
    };
    const Case cases[] = {
        {false, false, {2, 4, 6, 8, 10, 0}, 50},
        {true, false, {}, 0},
        {false, true, {}, 0},
    };
    Start(3, 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sweepOff) + std::to_string(c.fastForward));
        OptionForm->OptionWatchAnime->SetDown(c.sweepOff);
        MainForm->FastForward = c.fastForward ? 1 : 0;
        std::vector<int> seen;
        const int id = app->Backend().AddResponder([&] {
            const int k = MinutePosition();
            if (seen.empty() ? k != 0 : k != seen.back()) seen.push_back(k);
            return false;
        });
        const int hour = GameHour();
        const std::uint32_t t0 = app->Now();
        AdvanceHour();
        app->RunFor(10);
        app->Backend().RemoveResponder(id);
        EXPECT_EQ(seen, c.seen);
        EXPECT_EQ(app->Now() - t0 - 10, c.ms);
        EXPECT_EQ(GameHour(), hour + 1);
        EXPECT_EQ(Shows(WatchForm->Image2), Member(Face((hour + 1) % 12)));
    }
}

TEST_F(ClockWindowsTest, AFastForwardedMixingJobNeverSweeps) {
    Start(3, 12);
    g_GameState.MixJob = {3, 2, 20, 30};
    MainForm->FastForward = 1;
    MainForm->ResumeTicks();
    int moved = 0;
    const int id = app->Backend().AddResponder([&] {
        if (MinutePosition() != 0) ++moved;
        return false;
    });
    app->RunFor(150 * 3 * 4 + 1);  // four hours of phases 0, 1, 2
    app->Backend().RemoveResponder(id);
    EXPECT_EQ(GameHour(), 16);
    EXPECT_EQ(moved, 0);
    EXPECT_EQ(Shows(WatchForm->Image2), Member("clock04.bmp"));
}

// The shape: the region of the background's non-green pixels, and the window as the
// player sees it through that region (outside it black).
TEST_F(ClockWindowsTest, TheClockWindowsRegionAndFace) {
    Start(0, 8);
    const ui::Region* region = WatchForm->WindowRegion();
    ASSERT_NE(region, nullptr);
    const int w = WatchForm->Width(), h = WatchForm->Height();
    ui::Bitmap mask(w, h), seen(w, h);
    const ui::Bitmap& window = WatchForm->WindowBitmap();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool in = region->Contains(x, y);
            mask.SetPixel(x, y, in ? ui::clWhite : ui::clBlack);
            seen.SetPixel(x, y, in ? window.GetPixel(x, y) : ui::clBlack);
        }
    EXPECT_TRUE(test::Matches(mask, "clock-region"));
    EXPECT_TRUE(test::Matches(seen, "clock-window-0800"));
    // On the screen the green key never shows: around the clock and between its
    // numbers the shop or the clock's own frame does.
    const ui::Screen& screen = ui::App().GetScreen();
    int green = 0;
    for (int y = WatchForm->Top(); y < WatchForm->Top() + h; ++y)
        for (int x = WatchForm->Left(); x < WatchForm->Left() + w; ++x)
            if ((screen.Row(y)[x] & 0xFFFFFF) == 0x00FF00) ++green;
    EXPECT_EQ(green, 0);
}

// ---------------------------------------------------------------- the option window

TEST_F(ClockWindowsTest, TheOptionWindowTakesTheClockAndCalendarDownAndBack) {
    Start(0, 8);
    ShopForm->MenuOptionClick();
    ASSERT_TRUE(OptionForm->Visible());
    // Centred on the shop window the first time.
    EXPECT_EQ(At(OptionForm), (ui::Point{(648 - 215) / 2, (520 - 220) / 2}));
    WatchForm->SetBounds(200, 240, WatchForm->Width(), WatchForm->Height());  // dragged
    ClickOn(*OptionForm->OptionWatch);
    EXPECT_TRUE(OptionForm->OptionWatch->Down());
    EXPECT_EQ(WatchForm, nullptr);
    ClickOn(*OptionForm->OptionCalender);
    EXPECT_EQ(CalenderForm, nullptr);
    // Up again: the clock comes back where it was left.
    ClickOn(*OptionForm->OptionWatch);
    ASSERT_NE(WatchForm, nullptr);
    EXPECT_TRUE(WatchForm->Visible());
    EXPECT_EQ(At(WatchForm), (ui::Point{200, 240}));
    // Down, they stay away when the shop is shown again, even with a new scene.
    ClickOn(*OptionForm->OptionWatch);
    ShopForm->BuildShopScene();
    ShopForm->ShowShopScreen();
    EXPECT_EQ(WatchForm, nullptr);
    EXPECT_EQ(CalenderForm, nullptr);
    // A new scene puts every window back at its first place.
    ClickOn(*OptionForm->OptionCalender);
    ASSERT_NE(CalenderForm, nullptr);
    EXPECT_TRUE(CalenderForm->Visible());
    EXPECT_EQ(At(CalenderForm), (ui::Point{648 - CalenderForm->Width() - 4, 36}));
}

TEST_F(ClockWindowsTest, ResetPositionsMovesBothOpenWindowsAtOnce) {
    Start(0, 8);
    ShopForm->MenuOptionClick();
    OptionForm->SetBounds(10, 300, OptionForm->Width(), OptionForm->Height());
    WatchForm->SetBounds(300, 200, WatchForm->Width(), WatchForm->Height());
    CalenderForm->SetBounds(100, 300, CalenderForm->Width(), CalenderForm->Height());
    ClickOn(*OptionForm->OptionInitPos);
    EXPECT_EQ(At(WatchForm), (ui::Point{0, 36}));
    EXPECT_EQ(At(CalenderForm), (ui::Point{648 - CalenderForm->Width() - 4, 36}));
    EXPECT_EQ(At(OptionForm), (ui::Point{(648 - 215) / 2, (520 - 220) / 2}));
    EXPECT_TRUE(WatchForm->Visible());
    EXPECT_TRUE(CalenderForm->Visible());
    EXPECT_FALSE(OptionForm->OptionWatch->Down());
    EXPECT_FALSE(OptionForm->OptionCalender->Down());
}

TEST_F(ClockWindowsTest, WhileTheOptionWindowIsShownTheMenusStayOff) {
    Start(0, 8);
    EnableShopMenus();
    ASSERT_TRUE(ShopForm->MenuNextTurn->Enabled());
    ShopForm->MenuOptionClick();
    EXPECT_FALSE(ShopForm->MenuNextTurn->Enabled());
    EnableShopMenus();  // as any dialog's close does
    EXPECT_FALSE(ShopForm->MenuNextTurn->Enabled());
    EXPECT_FALSE(ShopForm->SceneClicksEnabled);
    ClickOn(*OptionForm->CloseButton);
    EXPECT_FALSE(OptionForm->Visible());
    EXPECT_NE(OptionForm, nullptr) << "hidden, never freed";
    EXPECT_TRUE(ShopForm->MenuNextTurn->Enabled());
    EXPECT_TRUE(ShopForm->SceneClicksEnabled);
}

TEST_F(ClockWindowsTest, TheStagesAndTheMapsOptionButtonReturnsOnceItIsClosed) {
    Start(0, 8);
    int closes = 0;
    const int id = app->Backend().AddResponder([&] {
        if (!OptionForm->Visible()) return false;
        ++closes;
        OptionForm->CloseButtonClick();
        return true;
    });
    ASSERT_TRUE(EventServerHooks.OpenOptions);
    EventServerHooks.OpenOptions();
    app->Backend().RemoveResponder(id);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(OptionForm->Visible());
}

// ---------------------------------------------------------------- the screen mode

struct Desktop {
    int width, height;
    bool switches;
};

class ScreenModeButtonTest : public ClockWindowsTest,
                             public ::testing::WithParamInterface<Desktop> {};

TEST_P(ScreenModeButtonTest, FullScreenFromTheOptionWindowAndBackWithoutLosingTheGame) {
    const Desktop d = GetParam();
    Start(30, 14, d.width, d.height);
    SetMoney(4321);
    const ui::Screen& screen = ui::App().GetScreen();
    const int width = screen.Width(), height = screen.Height();
    const ui::Point clock = At(WatchForm);
    ShopForm->MenuOptionClick();
    ClickOn(*OptionForm->ScreenModeButton);
    // Refused on a desktop 640 wide or 480 high: the button comes back up.
    EXPECT_EQ(OptionForm->ScreenModeButton->Down(), d.switches);
    EXPECT_EQ(FullScreen, d.switches ? 1 : 0);
    EXPECT_EQ(ui::App().IsFullScreen(), d.switches);
    if (d.switches) {
        // The 640 x 480 layout: the scene's middle, no top bar; the stage and the map
        // at the screen's corner; every window back at its first place for it.
        EXPECT_EQ(ShopForm->FullScreen, 1);
        EXPECT_EQ(screen.Width(), 640);
        EXPECT_EQ(screen.Height(), 480);
        EXPECT_EQ(ShopForm->Image1->Left(), -4);
        EXPECT_EQ(EventServerDbg->m_Img->Top(), 0);
        ASSERT_NE(MapFm, nullptr);
        EXPECT_EQ(MapFm->m_Img->Top(), 0);
        EXPECT_EQ(At(WatchForm), (ui::Point{0, 0}));
        EXPECT_EQ(At(CalenderForm), (ui::Point{640 - CalenderForm->Width() - 4, 0}));
        EXPECT_EQ(At(OptionForm), (ui::Point{(640 - 215) / 2, (480 - 220) / 2}));
        // And back to the window: the stage and the map below their title strips.
        ClickOn(*OptionForm->ScreenModeButton);
        EXPECT_FALSE(OptionForm->ScreenModeButton->Down());
        EXPECT_EQ(FullScreen, 0);
        EXPECT_FALSE(ui::App().IsFullScreen());
        EXPECT_EQ(EventServerDbg->m_Img->Top(), 36);
        EXPECT_EQ(MapFm->m_Img->Top(), 36);
    }
    // The layout the desktop gave at start-up.
    EXPECT_EQ(screen.Width(), width);
    EXPECT_EQ(screen.Height(), height);
    EXPECT_EQ(At(WatchForm), clock);
    // The game goes on as it was.
    EXPECT_EQ(ShopForm->SceneBuilt, 1);
    EXPECT_EQ(GameDay(), 30);
    EXPECT_EQ(GameHour(), 14);
    EXPECT_EQ(GameMoney(), 4321);
    EXPECT_TRUE(ShopForm->Visible());
    EXPECT_TRUE(ShopForm->Enabled());
}

INSTANTIATE_TEST_SUITE_P(Desktops, ScreenModeButtonTest,
                         ::testing::Values(Desktop{1024, 768, true}, Desktop{640, 768, false},
                                           Desktop{1280, 480, false}));

TEST_F(ClockWindowsTest, TheTitlesLabelSwitchesAndTheOptionWindowShowsTheMode) {
    Start(0, 8);
    ASSERT_NE(g_ShopHooks.ToggleScreenMode, nullptr);
    ShopForm->TitleScreenModeButtonClick();
    EXPECT_EQ(FullScreen, 1);
    ShopForm->MenuOptionClick();
    EXPECT_TRUE(OptionForm->ScreenModeButton->Down());
    OptionForm->CloseButtonClick();
    ShopForm->TitleScreenModeButtonClick();
    EXPECT_EQ(FullScreen, 0);
    ShopForm->MenuOptionClick();
    EXPECT_FALSE(OptionForm->ScreenModeButton->Down());
}

TEST_F(ClockWindowsTest, MinimisingLeavesFullScreenThroughTheSwitchAndRestoringComesBack) {
    Start(0, 8);
    ASSERT_TRUE(SetFullScreen());
    ui::App().Minimize();
    app->RunFor(20);
    EXPECT_EQ(MainForm->WasFullScreen, 1);
    EXPECT_EQ(FullScreen, 0);
    EXPECT_FALSE(ui::App().IsFullScreen());
    EXPECT_EQ(ShopForm->FullScreen, 0) << "laid out for the window again";
    ui::InputEvent restore;
    restore.type = ui::InputType::Restore;
    ui::App().QueueInput(restore);
    app->RunFor(20);
    EXPECT_EQ(FullScreen, 1);
    EXPECT_TRUE(ui::App().IsFullScreen());
    EXPECT_EQ(ShopForm->FullScreen, 1);
    // A minimise in window mode leaves the mode alone.
    ASSERT_TRUE(RestoreDisplayMode());
    ui::App().Minimize();
    app->RunFor(20);
    EXPECT_EQ(MainForm->WasFullScreen, 0);
    ui::App().QueueInput(restore);
    app->RunFor(20);
    EXPECT_EQ(FullScreen, 0);
}

}  // namespace
