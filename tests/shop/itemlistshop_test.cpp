// The item list over the real shop window: opened from the shop menu's "物品一覽"
// after the heroine's walk to the shelf, holding the menus back while it is open.
#include <gtest/gtest.h>

#include <memory>

#include "shop/Demand.h"
#include "shop/GameState.h"
#include "shop/Heroine.h"
#include "shop/Itemlist.h"
#include "shop/Shop.h"
#include "tests/support/HeadlessApp.h"

namespace {

class ItemListOverShopTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        g_ShopHooks = {};
        g_ShopHooks.TickPhase = [] { return 2; };
        demand = std::make_unique<TDemandForm>();
        form = new TShopForm();
        form->BuildShopScene();
        form->ShowShopScreen();
        EnableShopMenus();
        form->UpdateScene();
    }
    void TearDown() override {
        delete ItemListForm;
        delete form;
        demand.reset();
        g_ShopHooks = {};
    }
    void Walk(int maxSteps = 300) {
        for (int i = 0; i < maxSteps && !ItemListForm; ++i) {
            form->UpdateScene();
            form->ShopPendingAction();
        }
    }
    std::unique_ptr<TDemandForm> demand;
    TShopForm* form = nullptr;
};

TEST_F(ItemListOverShopTest, TheShopMenuOpensTheListAndItHoldsTheMenusBack) {
    ASSERT_TRUE(form->MenuSystem->Enabled());
    // The shop menu pops up at the click; "物品一覽" is its sixth line.
    headless.Backend().Click(300, 300, ui::MouseButton::mbRight);
    headless.Backend().Click(340, 392, ui::MouseButton::mbLeft, 0, 100);
    headless.RunFor(300);
    ASSERT_EQ(ItemListForm, nullptr);  // she walks to the shelf first
    Walk();
    ASSERT_NE(ItemListForm, nullptr);
    headless.RunFor(50);
    EXPECT_TRUE(ItemListForm->Visible());
    // Centred on the shop window.
    EXPECT_EQ(ItemListForm->Left(), form->Left() + (form->Width() - 461) / 2);
    EXPECT_EQ(ItemListForm->Top(), form->Top() + (form->Height() - 372) / 2);
    EXPECT_FALSE(form->MenuSystem->Enabled());
    EXPECT_FALSE(form->MenuOption->Enabled());
    EXPECT_FALSE(form->PopupMenu1.AutoPopup);
    EXPECT_EQ(form->SceneClicksEnabled, 0);
    headless.App().Update();
    EXPECT_TRUE(headless.Backend().WriteScreenPng(test::ScratchDir("itemlistshop") + "/list.png"));

    const ui::Point close = ItemListForm->CloseButton->ClientToScreen({10, 10});
    headless.Backend().Click(close.x, close.y);
    headless.RunFor(100);
    EXPECT_EQ(ItemListForm, nullptr);
    EXPECT_TRUE(form->MenuSystem->Enabled());
    EXPECT_TRUE(form->PopupMenu1.AutoPopup);
    EXPECT_EQ(form->SceneClicksEnabled, 1);
}

}  // namespace
