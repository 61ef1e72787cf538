#include "shop/Book.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "platform/Big5.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/HeadlessApp.h"

namespace {

// 0 活力花香瓶 goods 火; 3 活力香水 goods 火; 64 香草 material 風; 100 芙蘿蕾的花冠
// neither goods nor material (a treasure) 光.
void KnowOnly(std::initializer_list<int> items) {
    for (int i = 0; i < kItemCount; ++i) LockItem(i);
    for (int i : items) UnlockItem(i);
}

class BookTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        std::memset(EverUnlocked, 0, sizeof EverUnlocked);
        for (WindowPosition& p : WindowPositions) p = {};
        shop.SetBounds(0, 0, 640, 480);
        shop.Show();
        ShopHooks().shopForm = [this] { return &shop; };
    }
    void TearDown() override {
        delete BookForm;
        ShopHooks() = {};
        ShowTitleButtonsHook = nullptr;
    }
    TBookForm& Open(int mode) {
        OpenBook(mode);
        headless.RunFor(20);
        EXPECT_NE(BookForm, nullptr);
        return *BookForm;
    }
    void ClickOn(ui::Control& c) {
        const ui::Point p = c.ClientToScreen({4, 4});
        headless.Backend().Click(p.x, p.y);
        headless.RunFor(50);
    }
    ui::Form shop;
};

TEST_F(BookTest, NextWrapsAndBackGoesTheOtherWay) {
    KnowOnly({0, 3, 64});
    TBookForm& b = Open(0);
    EXPECT_EQ(b.Entry, 0);
    EXPECT_EQ(b.Page->Caption(), "No. 1");
    ClickOn(*b.NextButton);
    EXPECT_EQ(b.Entry, 3);
    ClickOn(*b.NextButton);
    EXPECT_EQ(b.Entry, 64);
    ClickOn(*b.NextButton);  // the last wraps to the first
    EXPECT_EQ(b.Entry, 0);
    ClickOn(*b.BackButton);
    EXPECT_EQ(b.Entry, 64);
}

TEST_F(BookTest, ASingleEntryStays) {
    KnowOnly({64});
    TBookForm& b = Open(0);
    EXPECT_EQ(b.Entry, 64);
    ClickOn(*b.NextButton);
    EXPECT_EQ(b.Entry, 64);
    ClickOn(*b.BackButton);
    EXPECT_EQ(b.Entry, 64);
    EXPECT_EQ(b.MaterialName[0]->Caption(), "");  // a material has no recipe
}

TEST_F(BookTest, TitleModeListsTheItemsEverKnown) {
    KnowOnly({0});
    EverUnlocked[item::VigourPerfume] = 1;
    EverUnlocked[64] = 1;
    TBookForm& b = Open(1);
    EXPECT_EQ(b.Entry, 3);
    ClickOn(*b.NextButton);
    EXPECT_EQ(b.Entry, 64);
    ClickOn(*b.NextButton);
    EXPECT_EQ(b.Entry, 3);
    ShowTitleButtonsHook = [] {};
    ClickOn(*b.CloseButton);
    headless.RunFor(20);
    EXPECT_EQ(BookForm, nullptr);
}

TEST_F(BookTest, AnAttributeWithoutGoodsDisablesTheGoodsButton) {
    KnowOnly({0, 3, 64});
    TBookForm& b = Open(0);
    ClickOn(*b.AtrButton[3]);  // 風: only the material
    EXPECT_EQ(b.AttributeFilter, 3);
    EXPECT_EQ(b.Entry, 64);
    EXPECT_FALSE(b.MagicItembutton->Enabled());
    EXPECT_TRUE(b.MaterialItemButton->Enabled());
    ClickOn(*b.AtrButton[3]);  // released
    EXPECT_EQ(b.AttributeFilter, -1);
    EXPECT_TRUE(b.MagicItembutton->Enabled());
}

TEST_F(BookTest, TheTreasureButtonListsItemsNeitherGoodsNorMaterial) {
    KnowOnly({0, 64});
    {
        TBookForm& b = Open(0);
        EXPECT_FALSE(b.TreasureItemButton->Enabled());
        ClickOn(*b.CloseButton);
        headless.RunFor(20);
    }
    KnowOnly({0, 64, 100});
    TBookForm& b = Open(0);
    EXPECT_TRUE(b.TreasureItemButton->Enabled());
    ClickOn(*b.TreasureItemButton);
    EXPECT_EQ(b.CategoryFilter, 2);
    EXPECT_EQ(b.Entry, 100);
    ClickOn(*b.NextButton);
    EXPECT_EQ(b.Entry, 100);
}

// Goods that are also materials belong to both categories: with only 活力花香瓶 known,
// both buttons are on and each lists it.
TEST_F(BookTest, AnItemThatIsGoodsAndMaterialIsListedUnderBoth) {
    ASSERT_TRUE(IsShopGoods(0));
    ASSERT_TRUE(IsMaterial(0));
    KnowOnly({0});
    TBookForm& b = Open(0);
    EXPECT_TRUE(b.MagicItembutton->Enabled());
    EXPECT_TRUE(b.MaterialItemButton->Enabled());
    EXPECT_FALSE(b.TreasureItemButton->Enabled());
    ClickOn(*b.MaterialItemButton);
    EXPECT_EQ(b.CategoryFilter, 1);
    EXPECT_EQ(b.Entry, 0);
    EXPECT_TRUE(b.AtrButton[static_cast<std::size_t>(ItemAttribute(0))]->Enabled());
    ClickOn(*b.MaterialItemButton);  // released
    ClickOn(*b.AtrButton[static_cast<std::size_t>(ItemAttribute(0))]);
    EXPECT_TRUE(b.MagicItembutton->Enabled());
    EXPECT_TRUE(b.MaterialItemButton->Enabled());
}

TEST_F(BookTest, GoodsPagesShowDifficultyAndRecipeUnderTheBarOtherPagesLeaveThemEmpty) {
    // Items 105 and 106 (the keepsake in its two forms) share page 106, drawn as 106.
    const struct {
        int known, entry;
        const char* page;
        bool goods;
        const char* attribute;
    } cases[] = {
        {0, 0, "No. 1", true, "火"},
        {64, 64, "No. 65", false, "風"},
        {106, 105, "No. 106", false, "光"},
        {105, 105, "No. 106", false, "光"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.known);
        KnowOnly({c.known});
        TBookForm& b = Open(0);
        EXPECT_EQ(b.Entry, c.entry);
        EXPECT_EQ(b.Page->Caption(), c.page);
        EXPECT_EQ(ui::Big5ToUtf8(b.ItemAttribute->Caption()), c.attribute);
        EXPECT_EQ(ui::Big5ToUtf8(b.Labels[0]->Caption()), "屬性");
        EXPECT_EQ(ui::Big5ToUtf8(b.Labels[1]->Caption()), "：");
        EXPECT_EQ(b.Image2->Visible(), c.goods);
        const char* goodsLabels[4] = {"調配難度", "：", "明細", "："};
        for (int l = 0; l < 4; ++l)
            EXPECT_EQ(ui::Big5ToUtf8(b.Labels[static_cast<std::size_t>(l + 2)]->Caption()),
                      c.goods ? goodsLabels[l] : "");
        EXPECT_EQ(ui::Big5ToUtf8(b.ItemLevel->Caption()), c.goods ? "☆" : "");
        EXPECT_EQ(b.MaterialIcon[0]->Visible(), c.goods);
        EXPECT_EQ(ui::Big5ToUtf8(b.MaterialName[0]->Caption()), c.goods ? "鬱金香" : "");
        ClickOn(*b.CloseButton);
        headless.RunFor(20);
        ASSERT_EQ(BookForm, nullptr);
    }
}

// A goods page with a recipe of two materials: the item's name picture, icon,
// attribute, difficulty and description, and under the bar the two materials with
// their quantities and the third place empty. The book gives no stock talk.
TEST_F(BookTest, AGoodsPageMatchesItsGolden) {
    KnowOnly({3});
    TBookForm& b = Open(0);
    b.Repaint();
    EXPECT_TRUE(test::Matches(b.WindowBitmap(), "book-goods-page"));
    EXPECT_FALSE(b.ItemIcon->ShowHint);
    EXPECT_FALSE(b.MaterialIcon[0]->ShowHint);
}

}  // namespace
