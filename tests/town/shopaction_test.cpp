// The event server's scripted shop actions, each played on a scripted shop.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Transcript.h"
#include "shop/Demand.h"
#include "shop/GameState.h"
#include "shop/Heroine.h"
#include "shop/Mixing.h"
#include "shop/Shop.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

namespace {

std::vector<std::string> g_calls;

class ShopActionTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        g_ShopHooks = {};
        g_calls.clear();
        g_ShopHooks.ShowStage = [](bool show) {
            g_calls.push_back(show ? "stage shown" : "stage hidden");
        };
        g_ShopHooks.PlaySound = [](int n) { g_calls.push_back("sound " + std::to_string(n)); };
        demand = std::make_unique<TDemandForm>();
        form = new TShopForm();
        form->BuildShopScene();
        form->ShowShopScreen();
        form->UpdateScene();
        ShopActor4Mark = 0;
        ShopRedrawOn = 0;
    }
    void TearDown() override {
        delete form;
        demand.reset();
        g_ShopHooks = {};
    }
    void Act(int action, int sheet = 0) { EventServerDbg->ShopAction(sheet, action); }

    std::unique_ptr<TDemandForm> demand;
    TShopForm* form = nullptr;
    ui::ScopedTranscript transcript;
};

TEST_F(ShopActionTest, AVisitorComesToTheCounterAndLeaves) {
    Act(0, 3);
    ASSERT_NE(demand->Customer(0), nullptr);
    EXPECT_EQ(demand->VisitorFlag, 2u);  // waiting at the counter
    EXPECT_EQ(form->HeroineFigure->User, kCounterCode);
    EXPECT_TRUE(HeroineIdle());
    Act(1);
    EXPECT_EQ(demand->Customer(0), nullptr);
    EXPECT_EQ(form->HeroineFigure->User, kWorkCode);  // back to work
    EXPECT_TRUE(HeroineIdle());
    EXPECT_EQ(transcript->Texts("shop"),
              (std::vector<std::string>{"visitor enters", "visitor leaves"}));
}

TEST_F(ShopActionTest, SendingAwayWithNoVisitorReturnsAtOnce) {
    const std::uint32_t before = headless.Now();
    Act(1);
    EXPECT_EQ(headless.Now(), before);
}

TEST_F(ShopActionTest, PlaceAtDoorHidesActor4UntilTheEventEnds) {
    Act(2);
    EXPECT_EQ(form->HeroineFigure->User, CellCode(2, 7));
    EXPECT_EQ(form->HeroineFigure->Direction(), 1);
    ASSERT_NE(form->Companion, nullptr);
    // The companion is the shop visitor's figure (figure 1 draws sheet 2), at the
    // heroine's side facing her.
    EXPECT_EQ(form->Companion->Sprite()->Sheet(), 2);
    EXPECT_EQ(form->Companion->Direction(), 3);
    EXPECT_FALSE(form->Actor4->IsVisible());
    EXPECT_EQ(ShopActor4Mark, 1);
    ShowActor4AfterEvent();
    EXPECT_EQ(form->Companion, nullptr);
    EXPECT_TRUE(form->Actor4->IsVisible());
    EXPECT_EQ(ShopActor4Mark, 0);
}

TEST_F(ShopActionTest, WalkToMixingStartsTheAnimationAndStopMixingEndsIt) {
    Act(4);
    EXPECT_EQ(form->HeroineFigure->User, kDeskCode);
    EXPECT_EQ(ShopRedrawOn, 1);
    // The action's pending part runs on the next shop steps.
    for (int i = 0; i < 4; ++i) form->ShopPendingAction();
    EXPECT_TRUE(HasMixAnimation());
    Act(9);
    EXPECT_FALSE(HasMixAnimation());
    EXPECT_EQ(ShopRedrawOn, 0);
}

TEST_F(ShopActionTest, WalksToTheDoorAndInAgain) {
    Act(6);
    EXPECT_EQ(form->HeroineFigure->User, kDoorCode);
    EXPECT_TRUE(HeroineIdle());
    EXPECT_EQ(ShopActor4Mark, 1);
    Act(8);
    EXPECT_EQ(form->HeroineFigure->User, kHomeCode);
    EXPECT_TRUE(HeroineIdle());
    EXPECT_NE(demand->Customer(0), nullptr);  // the shop visitor
    Act(13);
    EXPECT_TRUE(form->Actor4->IsVisible());
    EXPECT_EQ(ShopActor4Mark, 0);
}

TEST_F(ShopActionTest, UpstairsActions) {
    Act(5);  // wake up
    EXPECT_TRUE(form->Shop2FPanel->Visible());
    Act(14);
    EXPECT_FALSE(form->Shop2FPanel->Visible());
    Act(3);  // a meal
    EXPECT_TRUE(form->Shop2FPanel->Visible());
    Act(15);
    EXPECT_FALSE(form->Shop2FPanel->Visible());
    Act(7);  // wake up fast
    Act(14);
    Act(12);  // into bed
    EXPECT_EQ(form->Shop2FMode, 2);
    EXPECT_TRUE(form->Shop2FPanel->Visible());
}

TEST_F(ShopActionTest, GoToBedWalksToTheStairs) {
    Act(10);
    EXPECT_EQ(form->PendingAction, kPendingBed);
    EXPECT_EQ(form->HeroineFigure->User, kStairsCode);
}

TEST_F(ShopActionTest, SwapShowsTheStageForOneStep) {
    Act(2);
    Act(11);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"stage shown", "stage hidden"}));
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(form->Actor4->IsVisible());
    EXPECT_EQ(ShopActor4Mark, 0);
}

TEST_F(ShopActionTest, AHiddenShopIsShownFirstAndOtherActionsDoNothing) {
    form->Hide();
    Act(16);
    EXPECT_TRUE(form->Visible());
    Act(-1);
    EXPECT_TRUE(transcript->Texts("shop").empty());
}

}  // namespace

namespace {

TEST_F(ShopActionTest, AWaitThatCannotEndGivesUpAfterHalfAMinute) {
    Act(0, 3);
    ASSERT_EQ(demand->VisitorFlag, 2u);
    // With a pending action set she never walks back, so the wait for her to go back
    // to work would never end.
    form->PendingAction = kPendingBook;
    const std::uint32_t before = headless.Now();
    Act(1);
    const std::uint32_t spent = headless.Now() - before;
    EXPECT_GE(spent, 30000u);
    EXPECT_LT(spent, 40000u);
}

}  // namespace
