// The shop window on the headless back end: layout, the scene, the top bar, the click
// map, the pending actions and the upstairs room's step machine.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "media/Qvdib.h"
#include "platform/Menus.h"
#include "platform/Transcript.h"
#include "shop/Book.h"
#include "shop/Calendar.h"
#include "shop/Demand.h"
#include "shop/Exhibition.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "shop/Heroine.h"
#include "shop/Itemlist.h"
#include "shop/Itemmixlist.h"
#include "shop/Mixing.h"
#include "shop/Note.h"
#include "shop/Saleslist.h"
#include "shop/Shop.h"
#include "shop/Status.h"
#include "tests/support/HeadlessApp.h"

namespace {

struct Seen {
    std::vector<int> sounds;
    bool messageExists = false;
    bool messageVisible = true;
    int showMessageWindow = 0;
    int phase = 2;
    int resets = 0;
    int saves = 0;
    int maps = 0;
};
Seen g_seen;

// The game dialogs open now, by name (the exhibition ones with their slot).
std::vector<std::string> Opened() {
    std::vector<std::string> out;
    if (ItemMixListForm) out.push_back("mixlist");
    if (ItemListForm) out.push_back("itemlist");
    if (BookForm) out.push_back("book");
    if (SalesListForm) out.push_back("saleslist");
    if (NoteForm) out.push_back("note");
    if (StatusForm) out.push_back("status");
    if (ExhibitionForm) out.push_back("exhibition " + std::to_string(ExhibitionForm->Slot));
    if (ExhibitionListForm)
        out.push_back("exhibitionlist " + std::to_string(ExhibitionListForm->Slot));
    return out;
}

// Closes every game dialog the shop opened, as their close buttons do, and gives the
// shop its menus back.
void CloseDialogs() {
    delete ItemMixListForm;
    delete ItemListForm;
    delete BookForm;
    delete SalesListForm;
    delete NoteForm;
    delete StatusForm;
    delete ExhibitionForm;
    delete ExhibitionListForm;
    EnableShopMenus();
}

void InstallHooks() {
    g_seen = {};
    g_ShopHooks = {};
    g_ShopHooks.MessageWindowExists = [] { return g_seen.messageExists; };
    g_ShopHooks.MessageWindowVisible = [] { return g_seen.messageVisible; };
    g_ShopHooks.ShowMessageWindow = [] {
        ++g_seen.showMessageWindow;
        g_seen.messageVisible = true;
    };
    g_ShopHooks.PlaySound = [](int n) { g_seen.sounds.push_back(n); };
    g_ShopHooks.PlaySoundSync = [](int n) { g_seen.sounds.push_back(n); };
    g_ShopHooks.TickPhase = [] { return g_seen.phase; };
    g_ShopHooks.ResetTickPhase = [] { ++g_seen.resets; };
    g_ShopHooks.SaveGameFlow = [] { ++g_seen.saves; };
    g_ShopHooks.ShowMap = [] { ++g_seen.maps; };
}

// Screen point of a cell's centre on the scene (window mode: the scene starts at y 36).
ui::Point CellPoint(int x, int y) { return {34 * (x + y) + 16, 17 * (y - x) + 243 + 36 - 17}; }

class ShopFormTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InstallHooks();
        demand = std::make_unique<TDemandForm>();
        form = new TShopForm();
        form->BuildShopScene();
        form->ShowShopScreen();
        EnableShopMenus();
        form->UpdateScene();
    }
    void TearDown() override {
        CloseDialogs();
        delete form;
        demand.reset();
        g_ShopHooks = {};
    }
    void Click(ui::Point p, ui::MouseButton b = ui::MouseButton::mbLeft) {
        headless.Backend().Click(p.x, p.y, b);
        headless.RunFor(50);
    }
    // Scene steps as the main loop takes them, until she stands idle.
    void Walk(int maxSteps = 300) {
        for (int i = 0; i < maxSteps && !HeroineIdle(); ++i) {
            form->UpdateScene();
            form->ShopPendingAction();
        }
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) {
            form->UpdateScene();
            form->ShopPendingAction();
        }
    }

    std::unique_ptr<TDemandForm> demand;
    TShopForm* form = nullptr;
};

TEST_F(ShopFormTest, LaysOutForWindowFromFiveHundredTwentyLines) {
    struct Case {
        int height;
        int fullScreen, width, formHeight, sceneX, sceneY;
        bool bar;
    };
    const Case cases[] = {{520, 0, 648, 520, 0, 36, true},
                          {519, 1, 640, 480, -4, 0, false},
                          {768, 0, 648, 520, 0, 36, true},
                          {480, 1, 640, 480, -4, 0, false}};
    for (const Case& c : cases) {
        form->LayoutForScreen(1024, c.height);
        EXPECT_EQ(form->FullScreen, c.fullScreen) << c.height;
        EXPECT_EQ(form->Width(), c.width);
        EXPECT_EQ(form->Height(), c.formHeight);
        EXPECT_EQ(form->Image1->Left(), c.sceneX);
        EXPECT_EQ(form->Image1->Top(), c.sceneY);
        EXPECT_EQ(form->Shop2FPanel->Left(), c.sceneX);
        EXPECT_EQ(form->TitleBarPanel->Visible(), c.bar);
    }
}

TEST_F(ShopFormTest, SceneHoldsHeroineActorsAndShelves) {
    ASSERT_TRUE(form->SceneBuilt);
    ASSERT_NE(form->HeroineFigure, nullptr);
    EXPECT_EQ(form->HeroineFigure->User, 71);
    EXPECT_EQ(form->Actor2->Sheet(), 18);
    EXPECT_EQ(form->Actor3->Sheet(), 19);
    EXPECT_EQ(form->Actor4->Sheet(), 17);
    EXPECT_EQ(form->Actor4->Depth(), 155812);
    EXPECT_TRUE(form->Actor3->Flags() & SPM_TRANSPARENT);
    EXPECT_EQ(form->WalkRegions->Count(), 15);
    form->DestroyShopScene();
    EXPECT_FALSE(form->SceneBuilt);
    EXPECT_EQ(Heroine, nullptr);
}

TEST_F(ShopFormTest, AClickWithTheMessageWindowHiddenOnlyShowsIt) {
    g_seen.messageExists = true;
    g_seen.messageVisible = false;
    Click(CellPoint(6, 8));
    EXPECT_EQ(g_seen.showMessageWindow, 1);
    EXPECT_TRUE(HeroineIdle());
    EXPECT_EQ(form->HeroineFigure->User, 71);
    // The next click walks.
    Click(CellPoint(6, 8));
    EXPECT_EQ(form->HeroineFigure->User, CellCode(6, 8));
}

// The message window shown again by a click on the shop (after its × hid it) stays
// under an open dialog: it would otherwise cover the dialog's 關閉 at the window's
// bottom, as it lies over the lower part of the shop.
TEST_F(ShopFormTest, TheMessageWindowShownAgainStaysUnderAnOpenDialog) {
    ui::Form* message = ui::CreateForm<ui::Form>();
    message->SetBorderStyle(ui::BorderStyle::bsNone);
    message->SetFormStyle(ui::FormStyle::fsStayOnTop);
    message->SetBounds(0, 300, 648, 220);
    static ui::Form* s_message = nullptr;
    s_message = message;
    g_ShopHooks.ShowMessageWindow = [] { s_message->Show(); };
    g_ShopHooks.MessageWindowVisible = [] { return s_message->Visible(); };
    g_seen.messageExists = true;

    form->PM_SalesListClick();
    ASSERT_NE(SalesListForm, nullptr);
    const ui::Point close = SalesListForm->CloseButton->ClientToScreen(ui::Point{10, 10});
    ASSERT_EQ(ui::FormAt(close.x, close.y), SalesListForm);
    message->Hide();             // the message window's ×
    Click(ui::Point{300, 460});  // the shop below the dialog
    EXPECT_TRUE(message->Visible());
    EXPECT_EQ(ui::FormAt(close.x, close.y), SalesListForm) << "關閉 lies under the message";
    CloseDialogs();
    s_message = nullptr;
    delete message;
}

TEST_F(ShopFormTest, ExhibitionRegionOpensTheSlotWhileClosedAndFallsThroughWhileOpen) {
    // The shelf of slot 2 stands on (7,3), on the customers' side.
    const FloorStep cell = {7, 3};
    const ui::Point shelf{FloorSpriteX(cell.dx, cell.dy, 0),
                          FloorSpriteY(cell.dx, cell.dy, 0) + 36 - 20};
    ASSERT_EQ(form->WalkRegions->FindRegion(shelf.x, shelf.y - 36), 2);
    SetSlotItem(2, -1);
    Click(shelf);
    EXPECT_EQ(Opened(), std::vector<std::string>{"exhibitionlist 2"});
    CloseDialogs();
    form->SetShopOpen();
    Click(shelf);
    EXPECT_EQ(Opened(), std::vector<std::string>{"saleslist"});
}

TEST_F(ShopFormTest, StairsAndDoorClicksAreIgnoredWhileSheWalks) {
    Click(CellPoint(6, 7));
    ASSERT_FALSE(HeroineIdle());
    Click(CellPoint(7, 6));
    Click(CellPoint(0, 7));
    EXPECT_EQ(form->PendingAction, 0);
    EXPECT_EQ(form->HeroineFigure->User, CellCode(6, 7));
    Walk();
    Click(CellPoint(7, 6));
    EXPECT_EQ(form->PendingAction, kPendingBed);
}

TEST_F(ShopFormTest, MenuWalksDoNothingWhileAPendingActionIsSet) {
    form->PM_ItemListClick();
    EXPECT_EQ(form->PendingAction, kPendingItemList);
    EXPECT_FALSE(form->SceneClicksEnabled);
    form->PM_BookClick();
    form->PM_ItemMixClick();
    form->GoToBed();
    EXPECT_EQ(form->PendingAction, kPendingItemList);
    EXPECT_EQ(form->HeroineFigure->User, CellCode(6, 8));
}

TEST_F(ShopFormTest, TurningBeforeADialogTakesOneExtraTick) {
    form->PM_BookClick();  // (6,10), arriving downwards, then face 1
    for (int i = 0; i < 300 && !HeroineIdle(); ++i) form->UpdateScene();
    ASSERT_TRUE(HeroineIdle());
    EXPECT_NE(form->HeroineFigure->Direction(), 1);
    form->ShopPendingAction();  // turns
    EXPECT_EQ(form->HeroineFigure->Direction(), 1);
    EXPECT_EQ(form->PendingDelay, 1);
    EXPECT_TRUE(Opened().empty());
    form->ShopPendingAction();  // the delay
    EXPECT_TRUE(Opened().empty());
    form->ShopPendingAction();
    EXPECT_EQ(Opened(), std::vector<std::string>{"book"});
    EXPECT_EQ(form->PendingAction, 0);
}

TEST_F(ShopFormTest, WhereSheStopsIsRecorded) {
    ui::ScopedTranscript transcript;
    form->PM_ItemMixClick();
    Walk();
    EXPECT_EQ(transcript->Texts("heroine"), std::vector<std::string>{"stands at 4,8"});
}

TEST_F(ShopFormTest, PendingActionsReachTheirPlaces) {
    struct Case {
        int entry;
        int code;
        const char* opened;
    };
    const Case cases[] = {{0, 72, "mixlist"}, {1, 104, "itemlist"}, {2, 106, "book"}};
    for (const Case& c : cases) {
        CloseDialogs();
        if (c.entry == 0) form->PM_ItemMixClick();
        if (c.entry == 1) form->PM_ItemListClick();
        if (c.entry == 2) form->PM_BookClick();
        Walk();
        Steps(4);
        EXPECT_EQ(form->HeroineFigure->User, c.code);
        EXPECT_EQ(Opened(), std::vector<std::string>{c.opened});
    }
}

TEST_F(ShopFormTest, GoingToTownLeavesThroughTheDoor) {
    form->PM_ExitShopClick();
    Walk();
    Steps(1);
    EXPECT_EQ(g_seen.sounds, std::vector<int>{47});
    EXPECT_EQ(g_seen.maps, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->HeroineFigure->User, 7);
    EXPECT_EQ(form->HeroineFigure->Direction(), 1);
}

TEST_F(ShopFormTest, NextTurnPassesAnHourOnlyInTheShopPhase) {
    SetGameHour(12);
    g_seen.phase = 1;
    form->MenuNextTurnClick();
    EXPECT_EQ(GameHour(), 12);
    g_seen.phase = 2;
    form->MenuNextTurnClick();
    EXPECT_EQ(GameHour(), 13);
}

TEST_F(ShopFormTest, ShopOpenDisablesTheExhibitionMenu) {
    form->SetShopOpen();
    EXPECT_TRUE(form->IsShopOpen());
    EXPECT_FALSE(form->PM_Exhibition->Enabled);
    form->SetShopClosed();
    EXPECT_FALSE(form->IsShopOpen());
    EXPECT_TRUE(form->PM_Exhibition->Enabled);
}

// Calls of StepShop2F until the supper (mode 1) gives way to bed (mode 2).
int CallsToEndSupper(TShopForm* form) {
    int calls = 0;
    while (form->Shop2FMode == 1 && calls < 1000) {
        form->StepShop2F();
        ++calls;
    }
    return calls;
}

TEST_F(ShopFormTest, FastModeDoublesTheUpstairsPace) {
    form->StartShop2FMode(1);
    EXPECT_TRUE(form->Shop2FPanel->Visible());
    const int normal = CallsToEndSupper(form);
    form->SpeedButton->SetDown(true);
    form->StartShop2FMode(1);
    const int fast = CallsToEndSupper(form);
    EXPECT_EQ(normal, 47);  // 24 steps, every other call
    EXPECT_EQ(fast, 24);
}

TEST_F(ShopFormTest, AClickDuringAMealEndsItAtTheNextStep) {
    form->StartShop2FMode(6);
    form->StepShop2F();
    form->StepShop2F();
    form->Shop2FImageClick();
    EXPECT_EQ(form->Shop2FCounter, 100);
    SetGameHour(8);
    form->StepShop2F();
    EXPECT_EQ(form->Shop2FMode, 0);  // 7 ran: back down
    EXPECT_EQ(GameHour(), 9);
    EXPECT_FALSE(form->Shop2FPanel->Visible());
    EXPECT_EQ(form->HeroineFigure->User, 102);
}

TEST_F(ShopFormTest, AWalkLeftOnTheFloorAtNightIsNotWalkedOnAfterBreakfast) {
    // Home late from a night out, she goes straight to bed while a walk to the stairs
    // was set on the floor below; after breakfast she comes down and stays down.
    SetGameHour(3);
    form->GoToBed();
    ASSERT_EQ(form->PendingAction, kPendingBed);
    form->StartShop2FMode(2);
    for (int i = 0; i < 2000 && form->Shop2FMode != 0; ++i) form->StepShop2F();
    ASSERT_EQ(GameHour(), 8);
    form->StartShop2FMode(6);
    for (int i = 0; i < 200 && form->Shop2FMode != 0; ++i) form->StepShop2F();
    ASSERT_FALSE(form->Shop2FPanel->Visible());
    EXPECT_EQ(form->PendingAction, 0);
    EXPECT_TRUE(HeroineIdle());
    Steps(60);
    EXPECT_FALSE(form->Shop2FPanel->Visible());
    EXPECT_EQ(form->Shop2FMode, 0);
    EXPECT_EQ(form->HeroineFigure->User, CellCode(6, 6));
    EXPECT_EQ(GameHour(), 9);
    // The floor's menus are hers again.
    form->PM_ItemListClick();
    EXPECT_EQ(form->PendingAction, kPendingItemList);
}

TEST_F(ShopFormTest, TheNightRunsFromSupperToMorningWithTheSaveOffer) {
    ui::ScopedTranscript transcript;
    SetGameHour(21);
    form->GoToBed();
    Walk();
    Steps(1);
    EXPECT_EQ(form->Shop2FMode, 1);
    for (int i = 0; i < 2000 && form->Shop2FMode != 0; ++i) form->StepShop2F();
    EXPECT_EQ(GameHour(), 8);
    EXPECT_EQ(g_seen.saves, 1);
    EXPECT_TRUE(form->Shop2FPanel->Visible());
    const std::vector<std::string> pictures = {"2F supper", "2F bed", "2F night", "2F getting up"};
    EXPECT_EQ(transcript->Texts("picture"), pictures);
    EXPECT_EQ(g_seen.sounds, (std::vector<int>{72, 45, 50, 43}));
}

TEST_F(ShopFormTest, MixingAnimationHidesTheHeroine) {
    StartMixAnimation();
    ASSERT_TRUE(HasMixAnimation());
    EXPECT_EQ(form->MixAnimation->Sheet(), 23);
    EXPECT_EQ(form->MixAnimation->X(), 388);
    EXPECT_EQ(form->MixAnimation->Y(), 192);
    EXPECT_FALSE(form->HeroineFigure->Sprite()->IsVisible());
    HideMixAnimation();
    EXPECT_TRUE(form->HeroineFigure->Sprite()->IsVisible());
    StopMixAnimation();
    EXPECT_FALSE(HasMixAnimation());
    EXPECT_TRUE(form->HeroineFigure->Sprite()->IsVisible());
}

TEST_F(ShopFormTest, ScreenshotOfTheShop) {
    form->PM_ItemMixClick();
    Walk();
    Steps(4);
    form->UpdateScene();
    headless.RunFor(100);
    const std::string dir = test::ScratchDir("shopform");
    EXPECT_TRUE(headless.Backend().WriteScreenPng(dir + "/shop.png"));
    // Full screen: the scene's middle 640 columns, no top bar.
    form->LayoutForScreen(640, 480);
    InvalidateSprites();
    form->UpdateScene();
    headless.RunFor(100);
    EXPECT_EQ(headless.App().GetScreen().Height(), 480);
    EXPECT_TRUE(headless.Backend().WriteScreenPng(dir + "/shop-fullscreen.png"));
}

}  // namespace

namespace {

TEST_F(ShopFormTest, ScreenshotOfTheRoomAtSupper) {
    form->StartShop2FMode(1);
    for (int i = 0; i < 5; ++i) form->StepShop2F();
    headless.RunFor(50);
    const std::string dir = test::ScratchDir("shopform-room");
    EXPECT_TRUE(headless.Backend().WriteScreenPng(dir + "/room.png"));
    form->Shop2FCounter = 100;  // supper ends
    for (int i = 0; i < 20 && form->Shop2FMode != 3; ++i) form->StepShop2F();
    headless.RunFor(50);
    EXPECT_EQ(form->Shop2FMode, 3);
    EXPECT_TRUE(headless.Backend().WriteScreenPng(dir + "/night.png"));
}

}  // namespace

namespace {

TEST_F(ShopFormTest, TheRightClickMenuWalksHerToTheMixingDesk) {
    const ui::Point p = CellPoint(3, 3);
    headless.Backend().Click(p.x, p.y, ui::MouseButton::mbRight);
    // The first entry, "調配魔法", lies just under the point the menu opened at.
    headless.Backend().Click(p.x + 20, p.y + ui::kMenuBorder + ui::kMenuItemHeight / 2,
                             ui::MouseButton::mbLeft, 0, 100);
    headless.RunFor(300);
    EXPECT_EQ(form->PendingAction, kPendingItemMix);
    EXPECT_EQ(form->HeroineFigure->User, kDeskCode);
}

TEST_F(ShopFormTest, NoMenuWhileTheMenusAreOff) {
    DisableShopMenus();
    const ui::Point p = CellPoint(3, 3);
    headless.Backend().Click(p.x, p.y, ui::MouseButton::mbRight);
    headless.Backend().Click(p.x + 20, p.y + ui::kMenuBorder + ui::kMenuItemHeight / 2,
                             ui::MouseButton::mbLeft, 0, 100);
    headless.RunFor(300);
    EXPECT_EQ(form->PendingAction, 0);
}

}  // namespace

namespace {

TEST_F(ShopFormTest, AnOpenDaySkippedWithNextTurnSellsToCustomers) {
    ui::ScopedTranscript transcript;
    SetGameDay(1);
    SetGameHour(9);
    for (int g = 0; g < 10; ++g) {
        SetSlotItem(g, g);
        SetItemStock(g, 99);
        for (int n = 0; n < 40; ++n) Fashions[g].SeedWant();
    }
    SetReputation(60);
    // The main loop's shop phase: customers step until the hour is served, then the
    // player takes the next turn.
    while (GameHour() != 19) {
        form->MenuNextTurnClick();
        for (int step = 0; step < 200 && demand->SpawnHourlyCustomers(false); ++step)
            form->UpdateScene();
    }
    EXPECT_FALSE(transcript->Texts("sale").empty());
    EXPECT_GT(DailyVisitors(1), 0);
}

}  // namespace
