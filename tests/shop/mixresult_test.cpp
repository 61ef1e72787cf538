// The end of a mixing job on screen: the sound, the result dialog and the units it
// puts into stock.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/Transcript.h"
#include "shop/Demand.h"
#include "shop/GameState.h"
#include "shop/Mixconfirm.h"
#include "shop/Mixing.h"
#include "shop/Shop.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"

namespace {

std::vector<int> g_sounds;
int g_resets = 0;

class MixResultTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        g_ShopHooks = {};
        g_sounds.clear();
        g_resets = 0;
        g_ShopHooks.PlaySound = [](int n) { g_sounds.push_back(n); };
        g_ShopHooks.ResetTickPhase = [] { ++g_resets; };
        demand = std::make_unique<TDemandForm>();
        form = new TShopForm();
        form->BuildShopScene();
        form->ShowShopScreen();
    }
    void TearDown() override {
        delete ItemMixConfirmForm;
        delete form;
        demand.reset();
        g_ShopHooks = {};
    }
    // A job of `batches` of goods 3 that makes `yield`, ended.
    void EndJob(int batches, int yield) {
        StartMixJob(3, batches, yield);
        StartMixAnimation();
        while (!MixStep()) {
        }
    }

    std::unique_ptr<TDemandForm> demand;
    TShopForm* form = nullptr;
};

TEST_F(MixResultTest, TheHeroinesConditionDecidesWhatIsMade) {
    struct Case {
        int condition, batches, yield, stock, made, after;
    };
    const Case cases[] = {
        {0, 4, 40, 0, 40, 40}, {1, 4, 40, 0, 30, 30},  {2, 4, 40, 0, 20, 20}, {1, 1, 7, 0, 5, 5},
        {2, 1, 7, 0, 3, 3},    {0, 4, 40, 90, 40, 99},  // the stock stops at 99
    };
    for (const Case& c : cases) {
        SetCondition(c.condition);
        SetItemStock(item::VigourPerfume, c.stock);
        EndJob(c.batches, c.yield);
        ASSERT_TRUE(FinishMixJob());
        ASSERT_NE(ItemMixConfirmForm, nullptr);
        EXPECT_EQ(ItemMixConfirmForm->ItemMixNum->Caption(), std::to_string(c.batches * 10));
        EXPECT_EQ(ItemMixConfirmForm->ItemConfirmNum->Caption(), std::to_string(c.made));
        EXPECT_EQ(ItemStock(item::VigourPerfume), c.after);
        ItemMixConfirmForm->CloseButtonClick();
        EXPECT_EQ(ItemMixConfirmForm, nullptr);
        headless.RunFor(10);
    }
    EXPECT_EQ(g_resets, 6);
}

TEST_F(MixResultTest, SoundFiftyNineForGoodsSixtyOneForNothing) {
    EndJob(1, 10);
    FinishMixJob();
    EXPECT_FALSE(HasMixAnimation());
    EXPECT_FALSE(FinishMixJob());  // one dialog at a time
    ItemMixConfirmForm->CloseButtonClick();
    headless.RunFor(10);  // the released dialog goes
    SetItemStock(item::VigourPerfume, 5);
    EndJob(2, 0);
    FinishMixJob();
    EXPECT_EQ(ItemMixConfirmForm->ItemConfirmNum->Caption(), "0");
    EXPECT_EQ(ItemStock(item::VigourPerfume), 5);
    EXPECT_EQ(g_sounds, (std::vector<int>{59, 61}));
}

TEST_F(MixResultTest, ScreenshotOfTheResult) {
    SetCondition(0);
    EndJob(3, 30);
    FinishMixJob();
    headless.RunFor(50);
    const std::string dir = test::ScratchDir("mixresult");
    EXPECT_TRUE(headless.Backend().WriteScreenPng(dir + "/result.png"));
}

}  // namespace
