#include "shop/Itemmix.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/Big5.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/ItemPainters.h"
#include "shop/Itemmixlist.h"
#include "shop/Mixing.h"
#include "story/Register.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/HeadlessApp.h"

namespace {

// Recipes used below (goods: difficulty, hours a batch, materials x quantity):
// 0 活力花香瓶: 2, 1 h, 68 x1, 89 x1, 85 x1;
// 3 活力香水: 3, 2 h, 0 x1, 92 x1 (two materials only);
// 6: 10, 3 h, 71 x1, 81 x2, 92 x1.
void KnowOnly(std::initializer_list<int> items) {
    for (int i = 0; i < kItemCount; ++i) LockItem(i);
    for (int i : items) UnlockItem(i);
}

class ItemMixTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        for (int i = 0; i < kItemCount; ++i) SetItemStock(i, 0);
        for (int s = 0; s < 10; ++s) SetSlotItem(s, -1);
        for (WindowPosition& p : WindowPositions) p = {};
        shop.SetBounds(0, 0, 640, 480);
        shop.Show();
        ShopHooks().shopForm = [this] { return &shop; };
    }
    void TearDown() override {
        delete ItemMixForm;
        delete ItemMixListForm;
        ShopHooks() = {};
    }
    void ClickOn(ui::Control& c, int x = 4, int y = 4) {
        const ui::Point p = c.ClientToScreen({x, y});
        headless.Backend().Click(p.x, p.y);
        headless.RunFor(50);
    }
    // The mixing list, then the mixing dialog of the list's row r.
    TItemMixForm& OpenMix(int row = 0) {
        OpenItemMixList();
        headless.RunFor(20);
        EXPECT_NE(ItemMixListForm, nullptr);
        ClickOn(*ItemMixListForm->Rows[static_cast<std::size_t>(row)].ItemName);
        EXPECT_NE(ItemMixForm, nullptr);
        return *ItemMixForm;
    }

    ui::Form shop;
};

TEST_F(ItemMixTest, ListShowsKnownGoodsOnlyWithTheirMaterials) {
    KnowOnly({0, 3, 64, 68});
    SetItemStock(68, 1);
    OpenItemMixList();
    headless.RunFor(20);
    ASSERT_NE(ItemMixListForm, nullptr);
    TItemMixListForm& f = *ItemMixListForm;
    EXPECT_EQ(ui::Big5ToUtf8(f.Rows[0].ItemName->Caption()), "活力花香瓶");
    EXPECT_EQ(ui::Big5ToUtf8(f.Rows[1].ItemName->Caption()), "活力香水");
    EXPECT_EQ(f.Rows[2].ItemName->Caption(), "");  // the material 64 is not listed
    EXPECT_EQ(f.Rows[0].MIcon[0]->Tag, 68);
    EXPECT_EQ(f.Rows[0].MIcon[0]->Hint, ItemName(68));
    EXPECT_TRUE(f.Rows[0].MIcon[0]->Visible());
    EXPECT_EQ(f.Rows[1].MIcon[2]->Tag, -1);  // no third material
    EXPECT_FALSE(f.Rows[1].MIcon[2]->Visible());
    EXPECT_FALSE(f.Rows[2].MIcon[0]->Visible());
    EXPECT_FALSE(f.BackPageButton->Enabled());
    EXPECT_FALSE(f.NextPageButton->Enabled());
}

TEST_F(ItemMixTest, YieldsTwentyAtTheLevelAndSeventeenThreeLevelsBelow) {
    struct Case {
        int goods;
        int level;
        int expected;
    } cases[] = {{0, 2, 20}, {0, 9, 20}, {6, 7, 17}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.goods * 100 + c.level);
        KnowOnly({c.goods});
        for (int i = 0; i < kItemCount; ++i) SetItemStock(i, 0);
        for (int k = 0; k < 3; ++k)
            if (RecipeMaterial(c.goods, k) < kNoMaterial)
                SetItemStock(RecipeMaterial(c.goods, k), 9);
        SetGameLevel(c.level);
        TItemMixForm& f = OpenMix();
        ClickOn(*f.MixButtons[1]);  // 20
        EXPECT_EQ(f.Batches, 2);
        EXPECT_EQ(f.MixNumLabel->Caption(), "20");
        ASSERT_TRUE(f.ItemMixButton->Enabled());
        ClickOn(*f.ItemMixButton);
        EXPECT_EQ(MixItem(), c.goods);
        EXPECT_EQ(MixBatchCount(), 2);
        EXPECT_EQ(MixYield(), c.expected);
        // Both dialogs are gone.
        EXPECT_EQ(ItemMixForm, nullptr);
        EXPECT_EQ(ItemMixListForm, nullptr);
        headless.RunFor(20);
        StartMixJob(0, 0, 0);  // no job left for the next case
        while (MixStep()) {
        }
    }
}

TEST_F(ItemMixTest, MixingTakesTheMaterialsAndRunsTheRecipeHours) {
    KnowOnly({0});
    SetItemStock(68, 5);
    SetItemStock(89, 5);
    SetItemStock(85, 5);
    SetGameLevel(5);
    TItemMixForm& f = OpenMix();
    ClickOn(*f.MixButtons[2]);  // 30
    EXPECT_EQ(f.MixNumLabel->Caption(), "30");
    EXPECT_EQ(f.MixTimeLabel->Caption(), "3");  // 1 hour a batch
    ClickOn(*f.ItemMixButton);
    EXPECT_EQ(ItemStock(68), 2);
    EXPECT_EQ(ItemStock(89), 2);
    EXPECT_EQ(ItemStock(85), 2);
    EXPECT_EQ(MixHoursLeft(), 3);
    EXPECT_EQ(MixYield(), 30);
}

TEST_F(ItemMixTest, FortyMakesAMaterialShortAndTenTakesItBack) {
    KnowOnly({0});
    SetItemStock(68, 3);
    SetItemStock(89, 10);
    SetItemStock(85, 10);
    TItemMixForm& f = OpenMix();
    EXPECT_TRUE(f.MixButtons[0]->Down());
    EXPECT_TRUE(f.ItemMixButton->Enabled());
    EXPECT_FALSE(f.Tarinai[0]->Visible());
    EXPECT_EQ(ui::Big5ToUtf8(f.MaterialNum[0]->Caption()), "× 1");
    ClickOn(*f.MixButtons[3]);
    EXPECT_TRUE(f.MixButtons[3]->Down());
    EXPECT_FALSE(f.MixButtons[0]->Down());
    EXPECT_EQ(ui::Big5ToUtf8(f.MaterialNum[0]->Caption()), "× 4");
    EXPECT_TRUE(f.Tarinai[0]->Visible());
    EXPECT_FALSE(f.Tarinai[1]->Visible());
    EXPECT_FALSE(f.ItemMixButton->Enabled());
    ClickOn(*f.ItemMixButton);  // disabled: nothing starts
    EXPECT_EQ(MixHoursLeft(), 0);
    EXPECT_EQ(ItemStock(68), 3);
    ClickOn(*f.MixButtons[0]);
    EXPECT_FALSE(f.Tarinai[0]->Visible());
    EXPECT_TRUE(f.ItemMixButton->Enabled());
}

TEST_F(ItemMixTest, TwoMaterialRecipeShowsAnEmptyThirdSlotWithoutAMark) {
    KnowOnly({3});
    // No stock at all: the two real materials are short, the empty slot is not.
    TItemMixForm& f = OpenMix();
    EXPECT_TRUE(f.Tarinai[0]->Visible());
    EXPECT_TRUE(f.Tarinai[1]->Visible());
    EXPECT_FALSE(f.Tarinai[2]->Visible());
    EXPECT_EQ(f.MaterialName[2]->Caption(), "");
    EXPECT_EQ(f.MaterialNum[2]->Caption(), "");
    EXPECT_FALSE(f.MaterialIcon[2]->Visible());
    EXPECT_EQ(ui::Big5ToUtf8(f.MaterialName[0]->Caption()), "活力花香瓶");
    EXPECT_FALSE(f.ItemMixButton->Enabled());
}

TEST_F(ItemMixTest, ClosingTheMixDialogShowsTheListAgain) {
    KnowOnly({0});
    TItemMixForm& f = OpenMix();
    EXPECT_FALSE(ItemMixListForm->Visible());
    ClickOn(*f.CloseButton);
    headless.RunFor(20);
    EXPECT_EQ(ItemMixForm, nullptr);
    ASSERT_NE(ItemMixListForm, nullptr);
    EXPECT_TRUE(ItemMixListForm->Visible());
    ClickOn(*ItemMixListForm->CloseButton);
    headless.RunFor(20);
    EXPECT_EQ(ItemMixListForm, nullptr);
}

TEST_F(ItemMixTest, TheShortageMarkIsAPictureOverTheIconThatLetsItShowThrough) {
    KnowOnly({3});
    TItemMixForm& f = OpenMix();
    for (std::size_t k = 0; k < 2; ++k) {
        ui::Image& mark = *f.Tarinai[k];
        EXPECT_TRUE(mark.Visible());
        EXPECT_EQ(mark.Left(), f.MaterialIcon[k]->Left());
        EXPECT_EQ(mark.Top(), f.MaterialIcon[k]->Top());
        ASSERT_EQ(mark.Picture().Width(), 64);
        ASSERT_EQ(mark.Picture().Height(), 64);
        EXPECT_TRUE(mark.Transparent());
        // Its middle is the key colour (the bottom-left pixel), its plate and frame not.
        const ui::TColor key = mark.Picture().GetPixel(0, 63);
        EXPECT_EQ(mark.Picture().GetPixel(32, 24), key);
        EXPECT_NE(mark.Picture().GetPixel(8, 50), key);
        EXPECT_NE(mark.Picture().GetPixel(1, 32), key);
        EXPECT_EQ(mark.Hint, f.MaterialIcon[k]->Hint);  // the stock talk, as on the icon
    }
    // The batch buttons show their own four cells (up, disabled, down, held down).
    for (TCHBcSpeedButton* b : f.MixButtons) EXPECT_EQ(b->NumGlyphs(), 4);
}

// The dialog for recipe 6 at 20: its header, three materials with what 20 needs (the
// second short, under its mark) and the numbers; the icons and the mark carry the
// stock talk.
TEST_F(ItemMixTest, TheDialogMatchesItsGolden) {
    KnowOnly({6});
    SetItemStock(item::Lily, 2);
    SetItemStock(item::Kiwiberry, 3);
    SetItemStock(item::ScentedOil, 5);
    TItemMixForm& f = OpenMix();
    ClickOn(*f.MixButtons[1]);
    f.Repaint();
    EXPECT_TRUE(test::Matches(f.WindowBitmap(), "itemmix-dialog"));
    EXPECT_EQ(f.ItemIcon->Hint, StockTalkText(6));
    const int materials[3] = {71, 81, 92};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(f.MaterialIcon[k]->Hint, StockTalkText(materials[k]));
        EXPECT_EQ(f.Tarinai[k]->Hint, StockTalkText(materials[k]));
        EXPECT_EQ(f.Tarinai[k]->Visible(), k == 1);
    }
}

}  // namespace
