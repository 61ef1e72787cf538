#include "shop/GameDialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Form.h"
#include "shop/ShopSkin.h"
#include "tests/support/HeadlessApp.h"
#include "town/Srcdbtxtform21.h"

namespace {

// A dialog of the game's pattern: 300 x 200, record 9, the caption strip x 8..206,
// y 8..34.
class TTestDialog;
TTestDialog* TestDialog = nullptr;

class TTestDialog : public TGameDialog {
public:
    TTestDialog() : TGameDialog(300, 200, kPosNote, CaptionStrip(8, 206, 8, 34)) {}
    ~TTestDialog() override { ClearFormVariable(); }
    void Disp() {
        Place();
        Show();
    }

protected:
    void ClearFormVariable() override {
        if (TestDialog == this) TestDialog = nullptr;
    }
};

void OpenTestDialog() {
    if (TestDialog) return;
    TestDialog = new TTestDialog;
    TestDialog->Disp();
}

// The shop window's stand-in and a log of the menu switches.
class GameDialogTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        for (WindowPosition& p : WindowPositions) p = {};
        shop.SetBounds(100, 40, 648, 520);
        shop.Show();
        ShopWindowHooks& h = ShopHooks();
        h.shopForm = [this] { return &shop; };
        h.setShopMenus = [this](bool buttons, bool autoPopup, bool scene) {
            menus.push_back({buttons, autoPopup, scene});
        };
        h.roomAndTitleHidden = [this] { return roomAndTitleHidden; };
        h.optionShown = [this] { return option.Visible(); };
        h.messageWindow = [] { return static_cast<ui::Form*>(nullptr); };
        option.SetBounds(0, 0, 100, 100);
    }
    void TearDown() override {
        delete TestDialog;
        ShopHooks() = {};
    }
    // Clicks the close button of the open test dialog and lets the release run.
    void CloseTestDialog() {
        ui::Control* b = TestDialog->CloseButton;
        const ui::Point p = b->ClientToScreen({5, 5});
        headless.Backend().Click(p.x, p.y);
        headless.RunUntil([] { return TestDialog == nullptr; });
        headless.RunFor(50);
    }
    struct Switch {
        bool buttons, autoPopup, scene;
    };
    ui::Form shop;
    ui::Form option;
    bool roomAndTitleHidden = true;
    std::vector<Switch> menus;
};

TEST_F(GameDialogTest, FirstOpeningIsCentredOnTheShopWindowsNewPlace) {
    shop.SetBounds(20, 10, 648, 520);
    OpenTestDialog();
    // 20 + (648 - 300) / 2, 10 + (520 - 200) / 2
    EXPECT_EQ(TestDialog->Left(), 194);
    EXPECT_EQ(TestDialog->Top(), 170);
    EXPECT_EQ(WindowPositions[kPosNote].placed, 1);
    ASSERT_FALSE(menus.empty());
    EXPECT_FALSE(menus.back().buttons);
    EXPECT_FALSE(menus.back().scene);
}

TEST_F(GameDialogTest, CentringTruncatesOddHalvesTowardZero) {
    shop.SetBounds(0, 100, 299, 101);  // (299 - 300) / 2 = 0, 100 + (101 - 200) / 2 = 51
    OpenTestDialog();
    EXPECT_EQ(TestDialog->Left(), 0);
    EXPECT_EQ(TestDialog->Top(), 51);
}

// Centred on a shop window dragged mostly off the screen, the dialog would have its
// caption strip (x 8..206, y 8..34) wholly off it: the least move brings the strip back.
TEST_F(GameDialogTest, CentredOnAShopWindowOffTheScreenTheStripStaysInReach) {
    const int sw = ui::App().GetScreen().Width();
    struct Case {
        int shopLeft, shopTop, wantLeft, wantTop;
    };
    const Case cases[] = {
        {-500, 40, -8, 40 + 160},           // -500 + 174 = -326: strip ends left of 0
        {sw + 10, 40, sw - 207, 40 + 160},  // wholly to the right
        {100, -500, 100 + 174, -8},         // -500 + 160 = -340: above
        {-300, 40, -300 + 174, 40 + 160},   // strip partly on the screen: centred as ever
    };
    for (const Case& c : cases) {
        for (WindowPosition& p : WindowPositions) p = {};
        shop.SetBounds(c.shopLeft, c.shopTop, 648, 520);
        OpenTestDialog();
        EXPECT_EQ(TestDialog->Left(), c.wantLeft) << c.shopLeft << "," << c.shopTop;
        EXPECT_EQ(TestDialog->Top(), c.wantTop) << c.shopLeft << "," << c.shopTop;
        // Remembered where it opened.
        EXPECT_EQ(WindowPositions[kPosNote].left, c.wantLeft);
        CloseTestDialog();
    }
}

TEST_F(GameDialogTest, AMovedDialogReopensAtItsScreenPlaceAfterTheShopMoved) {
    OpenTestDialog();
    // Drag it by its caption strip from (20, 20) of the dialog to 30 px right, 15 down.
    const int x0 = TestDialog->Left() + 20, y0 = TestDialog->Top() + 20;
    headless.Backend().Move(x0, y0);
    headless.Backend().MouseDown(x0, y0);
    headless.Backend().Move(x0 + 30, y0 + 15, 10);
    headless.Backend().MouseUp(x0 + 30, y0 + 15, ui::MouseButton::mbLeft, 0, 10);
    headless.RunFor(100);
    const int left = 100 + (648 - 300) / 2 + 30, top = 40 + (520 - 200) / 2 + 15;
    ASSERT_EQ(TestDialog->Left(), left);
    ASSERT_EQ(TestDialog->Top(), top);
    EXPECT_EQ(TestDialog->Dragging, 0);
    CloseTestDialog();

    shop.SetBounds(0, 0, 648, 520);
    OpenTestDialog();
    EXPECT_EQ(TestDialog->Left(), left);
    EXPECT_EQ(TestDialog->Top(), top);
}

TEST_F(GameDialogTest, APressOutsideTheCaptionStripDoesNotDrag) {
    OpenTestDialog();
    const int left = TestDialog->Left(), top = TestDialog->Top();
    // y 35 is just below the strip; x 207 just right of it.
    for (ui::Point p : {ui::Point{20, 35}, ui::Point{207, 20}}) {
        headless.Backend().Move(left + p.x, top + p.y);
        headless.Backend().MouseDown(left + p.x, top + p.y);
        headless.Backend().Move(left + p.x + 40, top + p.y + 40, 10);
        headless.Backend().MouseUp(left + p.x + 40, top + p.y + 40, ui::MouseButton::mbLeft, 0, 10);
        headless.RunFor(100);
        EXPECT_EQ(TestDialog->Left(), left);
        EXPECT_EQ(TestDialog->Top(), top);
    }
}

TEST_F(GameDialogTest, TheSystemCloseRequestLeavesTheDialogOpen) {
    OpenTestDialog();
    TTestDialog* d = TestDialog;
    d->Close();
    headless.Backend().RequestClose();
    headless.RunFor(100);
    EXPECT_EQ(TestDialog, d);
    EXPECT_TRUE(d->Visible());
}

TEST_F(GameDialogTest, ClosingSavesThePlaceAndEnablesTheMenus) {
    OpenTestDialog();
    TestDialog->SetBounds(33, 44, 300, 200);
    menus.clear();
    CloseTestDialog();
    EXPECT_EQ(WindowPositions[kPosNote].left, 33);
    EXPECT_EQ(WindowPositions[kPosNote].top, 44);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_TRUE(menus[0].buttons);
    EXPECT_TRUE(menus[0].autoPopup);
    EXPECT_TRUE(menus[0].scene);
}

TEST_F(GameDialogTest, WhileTheOptionWindowIsShownTheMenusStayDisabled) {
    option.Show();
    OpenTestDialog();
    menus.clear();
    CloseTestDialog();
    EXPECT_TRUE(menus.empty());
    option.Hide();
    EnableShopMenus();
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_TRUE(menus[0].buttons);
}

TEST_F(GameDialogTest, MenusStayOffWhileAnotherDialogIsOpenOrTheSceneIsNotIdle) {
    // Any of the listed form variables holds them back.
    int dummy = 0;
    NoteForm = reinterpret_cast<TNoteForm*>(&dummy);
    EnableShopMenus();
    NoteForm = nullptr;
    EXPECT_TRUE(menus.empty());
    roomAndTitleHidden = false;  // the 2F room or the title covers the shop
    EnableShopMenus();
    EXPECT_TRUE(menus.empty());
    roomAndTitleHidden = true;
    shop.Hide();
    EnableShopMenus();
    EXPECT_TRUE(menus.empty());
    EXPECT_FALSE(IsShopSceneIdle());
    shop.Show();
    EXPECT_TRUE(IsShopSceneIdle());
}

TEST_F(GameDialogTest, ResetMakesEveryDialogOpenCentredAgainAndPlacesTheMessageWindow) {
    ui::Form message;
    message.SetBounds(0, 0, 600, 120);
    ShopHooks().messageWindow = [&message] { return &message; };
    for (WindowPosition& p : WindowPositions) p = {1, 5, 5};
    ResetWindowPositions();
    for (const WindowPosition& p : WindowPositions) EXPECT_EQ(p.placed, 0);
    EXPECT_EQ(message.Left(), 100 + (648 - 600) / 2);
    EXPECT_EQ(message.Top(), 40 + 520 - 4 - 120);
    OpenTestDialog();
    EXPECT_EQ(TestDialog->Left(), 274);
}

TEST_F(GameDialogTest, APlaceWithTheCaptionStripOffTheScreenIsPulledBack) {
    const int sw = ui::App().GetScreen().Width(), sh = ui::App().GetScreen().Height();
    struct Case {
        int left, top, wantLeft, wantTop;
    };
    const Case cases[] = {
        {900, 700, sw - 207, sh - 35},  // from a larger screen: whole strip back on
        {-250, 100, -8, 100},           // strip right of x -250 + 206 < 0
        {100, -40, 100, -8},            // strip above the screen
        {-150, 300, -150, 300},         // strip partly on the screen: left alone
    };
    for (const Case& c : cases) {
        WindowPositions[kPosNote] = {1, c.left, c.top};
        OpenTestDialog();
        EXPECT_EQ(TestDialog->Left(), c.wantLeft) << c.left << "," << c.top;
        EXPECT_EQ(TestDialog->Top(), c.wantTop) << c.left << "," << c.top;
        CloseTestDialog();
    }
}

// A drag past the screen's edge stops where the caption strip (x 8..206, y 8..34)
// still shows its whole height and 64 px of its width, so the dialog can be caught.
TEST_F(GameDialogTest, ADragKeepsTheCaptionStripOnTheScreen) {
    const int sw = ui::App().GetScreen().Width(), sh = ui::App().GetScreen().Height();
    struct Case {
        int x, y, wantLeft, wantTop;
    };
    const Case cases[] = {
        {-2000, -2000, 64 - 207, -8},
        {5000, 5000, sw - 64 - 8, sh - 35},
        {-2000, 100, 64 - 207, 100 - 20},
        {200, 200, 180, 180},  // on the screen: where the mouse takes it
    };
    for (const Case& c : cases) {
        OpenTestDialog();
        const int x0 = TestDialog->Left() + 20, y0 = TestDialog->Top() + 20;
        headless.Backend().Move(x0, y0);
        headless.Backend().MouseDown(x0, y0);
        headless.Backend().Move(c.x, c.y, 10);
        headless.Backend().MouseUp(c.x, c.y, ui::MouseButton::mbLeft, 0, 10);
        headless.RunFor(100);
        EXPECT_EQ(TestDialog->Left(), c.wantLeft) << c.x << "," << c.y;
        EXPECT_EQ(TestDialog->Top(), c.wantTop) << c.x << "," << c.y;
        CloseTestDialog();
    }
}

TEST_F(GameDialogTest, ResetPutsTheGamesMessageWindowUnderTheShop) {
    ShopHooks().messageWindow = nullptr;
    TDbTxtForm2* own = DbTxtForm2 ? nullptr : new TDbTxtForm2;
    if (own && !DbTxtForm2) DbTxtForm2 = own;
    ASSERT_NE(DbTxtForm2, nullptr);
    ResetWindowPositions();
    EXPECT_EQ(DbTxtForm2->Left(), 100 + (648 - DbTxtForm2->Width()) / 2);
    EXPECT_EQ(DbTxtForm2->Top() + DbTxtForm2->Height(), 40 + 520 - 4);
    if (DbTxtForm2 == own) DbTxtForm2 = nullptr;
    delete own;
}

TEST(ShopSheets, EverySheetLoadsWithItsCells) {
    TShopSkinSheets& s = ShopSheets();
    for (TCHBmpContainer* c : s.All()) EXPECT_FALSE(c->Bitmap().Empty());
    EXPECT_EQ(s.ChBtClose.Bitmap().Width(), 3 * 75);
    EXPECT_EQ(s.ChBtClose.Bitmap().Height(), 23);
    EXPECT_EQ(s.MainMenuImg.Bitmap().Height(), 6 * 17);
    EXPECT_EQ(s.Find("ChTotal"), &s.ChTotal);
    EXPECT_EQ(s.Find("nothing"), nullptr);
}

}  // namespace
