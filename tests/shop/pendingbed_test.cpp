// A walk the shop floor left pending when the heroine goes upstairs: coming home at
// night from a scene that sent her to bed (the forest maze's end), she sleeps, and
// nothing of that walk is left to fire in the middle of a later scene.
#include <gtest/gtest.h>

#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "story/EventTables.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

namespace {

// A scene on coming home that ends by sending her to bed, as the maze's end does.
bool SentToBed() {
    TEventServerDbg* ev = EventServerDbg;
    ev->EventBegin();
    ev->ShopAction(0, 8);   // she comes in at the door
    ev->ShopAction(0, 10);  // and goes to bed
    ev->EventEnd();
    return true;
}

class PendingBedTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        saved = MoveEvents;
        g_MainFormHooks = {};
        g_MainFormHooks.ShowTitle = [] {};
        CreateStartupForms();
        headless.RunFor(10);
        ShopForm->BuildShopScene();
        ShopForm->TitlePanel->Hide();
        ShopForm->Shop2FPanel->Hide();
        ShopForm->ShowShopScreen();
    }
    void TearDown() override {
        MoveEvents = saved;
        DestroyStartupForms();
        g_MainFormHooks = {};
    }
    EventTable saved{};
};

TEST_F(PendingBedTest, GoingUpstairsAtNightEndsTheWalkToBedTheSceneLeft) {
    MoveEvents = {};
    MoveEvents[0] = &SentToBed;
    SetGameDay(240);
    SetGameHour(2);
    GameFlow->Place = place::ShopFront;
    {
        test::EventResponders player(headless.Backend());
        GameFlow->EnterShop();
    }
    EXPECT_EQ(ShopForm->Shop2FMode, 2) << "into bed";
    EXPECT_EQ(ShopForm->PendingAction, 0);
    // The next morning's scene walks her to the mixing desk.
    ShopForm->StartShop2FMode(7);
    {
        test::EventResponders player(headless.Backend());
        EventServerDbg->EventBegin();
        EventServerDbg->ShopAction(0, 4);
        EXPECT_NE(ShopForm->PendingAction, 4) << "still on her way to bed";
        EXPECT_EQ(ShopForm->Shop2FMode, 0) << "no supper in the middle of the scene";
        EventServerDbg->EventEnd();
    }
}

}  // namespace
