#include "shop/Itemdetails.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/Big5.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/ItemPainters.h"
#include "shop/Itemlist.h"
#include "shop/Itemmixlist.h"
#include "story/Register.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/HeadlessApp.h"

namespace {

// 0 活力花香瓶 (goods: 68 x1 鬱金香, 89 x1 岩鹽, 85 x1 湖水); 3 活力香水 (goods: 0 x1,
// 92 x1, no third material); 64 香草 (a material).
void KnowOnly(std::initializer_list<int> items) {
    for (int i = 0; i < kItemCount; ++i) LockItem(i);
    for (int i : items) UnlockItem(i);
}

class ItemDetailsTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        for (WindowPosition& p : WindowPositions) p = {};
        shop.SetBounds(0, 0, 640, 480);
        shop.Show();
        ShopHooks().shopForm = [this] { return &shop; };
        DispItemDetails0Hook = &DispItemDetails0;
    }
    void TearDown() override {
        delete ItemDetails1Form;
        delete ItemDetails0Form;
        delete ItemListForm;
        delete ItemMixListForm;
        ShopHooks() = {};
        DispItemDetails0Hook = nullptr;
    }
    void ClickOn(ui::Control& c, int x = 4, int y = 4) {
        const ui::Point p = c.ClientToScreen({x, y});
        headless.Backend().Click(p.x, p.y);
        headless.RunFor(50);
    }
    ui::Form shop;
};

TEST_F(ItemDetailsTest, GoodsFromTheItemListShowTheRecipeAndCloseBackToTheList) {
    KnowOnly({3, 64});
    OpenItemList();
    headless.RunFor(20);
    ClickOn(*ItemListForm->Rows[0].ItemName);  // goods 3
    ASSERT_NE(ItemDetails1Form, nullptr);
    ASSERT_NE(ItemDetails0Form, nullptr);  // made, hidden
    EXPECT_FALSE(ItemDetails0Form->Visible());
    EXPECT_FALSE(ItemListForm->Visible());
    TItemDetails1Form& d = *ItemDetails1Form;
    EXPECT_EQ(ui::Big5ToUtf8(d.MaterialName[0]->Caption()), "活力花香瓶");
    EXPECT_EQ(ui::Big5ToUtf8(d.MaterialNum[1]->Caption()), "× 1");
    EXPECT_EQ(d.MaterialName[2]->Caption(), "");
    EXPECT_FALSE(d.MaterialIcon[2]->Visible());
    ClickOn(*d.CloseButton);
    headless.RunFor(50);
    EXPECT_EQ(ItemDetails1Form, nullptr);
    EXPECT_EQ(ItemDetails0Form, nullptr);
    ASSERT_NE(ItemListForm, nullptr);
    EXPECT_TRUE(ItemListForm->Visible());
    // The chain opens again on fresh windows; the material row gets the plain window.
    ClickOn(*ItemListForm->Rows[1].ItemName);  // material 64
    ASSERT_NE(ItemDetails0Form, nullptr);
    EXPECT_EQ(ItemDetails1Form, nullptr);
    EXPECT_TRUE(ItemDetails0Form->Visible());
    EXPECT_EQ(ui::Big5ToUtf8(ItemDetails0Form->ItemAttribute->Caption()), "風");
    ClickOn(*ItemDetails0Form->CloseButton);
    headless.RunFor(50);
    EXPECT_EQ(ItemDetails0Form, nullptr);
    EXPECT_TRUE(ItemListForm->Visible());
}

TEST_F(ItemDetailsTest, AMaterialIconOfTheMixingListOpensItsDetails) {
    KnowOnly({0});
    OpenItemMixList();
    headless.RunFor(20);
    ClickOn(*ItemMixListForm->Rows[0].MIcon[0]);  // 68
    ASSERT_NE(ItemDetails0Form, nullptr);
    EXPECT_FALSE(ItemMixListForm->Visible());
    ClickOn(*ItemDetails0Form->CloseButton);
    headless.RunFor(50);
    EXPECT_EQ(ItemDetails0Form, nullptr);
    EXPECT_TRUE(ItemMixListForm->Visible());
}

TEST_F(ItemDetailsTest, GoodsUsedAsAMaterialOpenTheGoodsWindowFromTheMixingListTwice) {
    // 4 清新香水 is mixed from goods 1 清新花香瓶 (x1) and 92 香油 (x1): its first
    // material icon goes list -> material window (made, hidden) -> goods window.
    KnowOnly({4});
    OpenItemMixList();
    headless.RunFor(20);
    ASSERT_EQ(ItemMixListForm->Rows[0].MIcon[0]->Tag, 1);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ClickOn(*ItemMixListForm->Rows[0].MIcon[0]);
        ASSERT_NE(ItemDetails1Form, nullptr);
        ASSERT_NE(ItemDetails0Form, nullptr);
        EXPECT_FALSE(ItemDetails0Form->Visible());
        EXPECT_TRUE(ItemDetails1Form->Visible());
        EXPECT_FALSE(ItemMixListForm->Visible());
        EXPECT_EQ(ui::Big5ToUtf8(ItemDetails1Form->MaterialName[0]->Caption()), "香草");
        EXPECT_EQ(ui::Big5ToUtf8(ItemDetails1Form->ItemLevel->Caption()), "☆");
        ClickOn(*ItemDetails1Form->CloseButton);
        headless.RunFor(50);
        EXPECT_EQ(ItemDetails1Form, nullptr);
        EXPECT_EQ(ItemDetails0Form, nullptr);
        EXPECT_TRUE(ItemMixListForm->Visible());
    }
}

// The two windows as a player sees them: goods 3 with its difficulty and a recipe of
// two materials (the third place empty), and the material 64; every icon carries the
// heroine's words on her stock as its hint.
TEST_F(ItemDetailsTest, BothWindowsMatchTheirGoldens) {
    KnowOnly({3, 64});
    SetItemStock(item::VigourScentBottle, 4);
    DispItemDetails0(3);
    ASSERT_NE(ItemDetails1Form, nullptr);
    TItemDetails1Form& goods = *ItemDetails1Form;
    goods.Repaint();
    EXPECT_TRUE(test::Matches(goods.WindowBitmap(), "itemdetails-goods"));
    EXPECT_EQ(goods.ItemIcon->Hint, StockTalkText(3));
    EXPECT_EQ(goods.MaterialIcon[0]->Hint, StockTalkText(0));
    EXPECT_EQ(goods.MaterialIcon[1]->Hint, StockTalkText(92));
    ClickOn(*goods.CloseButton);

    DispItemDetails0(64);
    ASSERT_NE(ItemDetails0Form, nullptr);
    TItemDetails0Form& material = *ItemDetails0Form;
    material.Repaint();
    EXPECT_TRUE(test::Matches(material.WindowBitmap(), "itemdetails-material"));
    EXPECT_EQ(material.ItemIcon->Hint, StockTalkText(64));
}

}  // namespace
