// The full-screen top bar: its buttons forward to the shop window, the fast mode shows
// alike on both bars, and the menus switch together.
#include "shop/Titlebar.h"

#include <gtest/gtest.h>

#include "shop/GameDialog.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "tests/support/HeadlessApp.h"

namespace {

class TitleBarTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        g_MainFormHooks = {};
        headless.AnswerMessageBoxes(ui::IDCANCEL);
        CreateStartupForms();
        headless.RunFor(10);
    }
    void TearDown() override {
        DestroyStartupForms();
        g_MainFormHooks = {};
    }
};

TEST_F(TitleBarTest, FastModeShowsAlikeOnBothBars) {
    ASSERT_NE(TitleBarForm, nullptr);
    TitleBarForm->SpeedButton->SetDown(true);
    TitleBarForm->SpeedButtonClick();
    EXPECT_TRUE(ShopForm->SpeedButton->Down());
    ShopForm->SpeedButton->SetDown(false);
    ShopForm->SpeedButtonClick();
    EXPECT_FALSE(TitleBarForm->SpeedButton->Down());
    ShopForm->SpeedButton->SetDown(true);
    ShopForm->SpeedButtonClick();
    EXPECT_TRUE(TitleBarForm->SpeedButton->Down());
}

TEST_F(TitleBarTest, TheMenusSwitchWithTheShopWindowsAndTheMinimiseStaysOff) {
    ShopForm->SetShopMenus(false, false, false);
    EXPECT_FALSE(TitleBarForm->MenuNextTurn->Enabled());
    ShopForm->SetShopMenus(true, true, true);
    EXPECT_TRUE(TitleBarForm->MenuNextTurn->Enabled());
    EXPECT_TRUE(TitleBarForm->MenuSystem->Enabled());
    EXPECT_FALSE(TitleBarForm->CHBcSpeedButton1->Enabled());
    EXPECT_EQ(TitleBarForm->Width(), 640);
    EXPECT_EQ(TitleBarForm->Height(), 32);
}

TEST_F(TitleBarTest, ShownOnlyWithTheShopWindow) {
    ShopForm->FullScreen = 1;
    ShopForm->TrackTitleBarHover(10);
    EXPECT_TRUE(TitleBarForm->Visible());
    ShopForm->TrackTitleBarHover(100);
    EXPECT_FALSE(TitleBarForm->Visible());
    ShopForm->TrackTitleBarHover(10);
    ShopForm->Hide();
    EXPECT_FALSE(TitleBarForm->Visible());
}

// Full screen, the pointer at the top drops the bar down, back to the window: the bar
// goes, or it would stay over the window's own bar as a stale copy.
TEST_F(TitleBarTest, BackToTheWindowTheFullScreenBarGoes) {
    ShopForm->LayoutForScreen(640, 480);
    ASSERT_EQ(ShopForm->FullScreen, 1);
    ShopForm->TrackTitleBarHover(5);
    ASSERT_TRUE(TitleBarForm->Visible());
    ShopForm->LayoutForScreen(1024, 768);
    EXPECT_EQ(ShopForm->FullScreen, 0);
    EXPECT_FALSE(TitleBarForm->Visible());
    ShopForm->TrackTitleBarHover(5);  // the window's bar is its own: no drop-down
    EXPECT_FALSE(TitleBarForm->Visible());
}

}  // namespace
