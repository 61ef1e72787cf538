#include "shop/Exhibition.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/Big5.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/Saleslist.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"

namespace {

// Goods used below: 0 活力花香瓶 base price 20, 1 清新花香瓶 20, 2 芙蘿蕾花香瓶 30.
void KnowOnly(std::initializer_list<int> items) {
    for (int i = 0; i < kItemCount; ++i) LockItem(i);
    for (int i : items) UnlockItem(i);
}

class ExhibitionTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        for (int s = 0; s < 10; ++s) SetSlotItem(s, -1);
        for (WindowPosition& p : WindowPositions) p = {};
        shop.SetBounds(0, 0, 640, 480);
        shop.Show();
        ShopHooks().shopForm = [this] { return &shop; };
        KnowOnly({0, 1, 2});
        for (int i = 0; i < 3; ++i) {
            SetItemStock(i, 10);
            SetItemReserve(i, 2);
        }
    }
    void TearDown() override {
        delete ExhibitionConfirmForm;
        delete ExhibitionListForm;
        delete ExhibitionForm;
        delete SalesListForm;
        ShopHooks() = {};
    }
    void ClickOn(ui::Control& c, int x = 4, int y = 4) {
        const ui::Point p = c.ClientToScreen({x, y});
        headless.Backend().Click(p.x, p.y);
        headless.RunFor(50);
    }

    ui::Form shop;
};

TEST_F(ExhibitionTest, ChoosingGoodsForAnEmptySlotPutsThemThere) {
    OpenExhibitionList(2);
    headless.RunFor(20);
    ASSERT_NE(ExhibitionListForm, nullptr);
    ClickOn(*ExhibitionListForm->Rows[1].ItemName);  // goods 1
    ASSERT_NE(ExhibitionConfirmForm, nullptr);
    EXPECT_FALSE(ExhibitionListForm->Visible());
    EXPECT_EQ(ui::Big5ToUtf8(ExhibitionConfirmForm->ExPrice->Caption()), "１號區");
    ClickOn(*ExhibitionConfirmForm->DicodeButton);
    headless.RunFor(20);
    EXPECT_EQ(SlotItem(2), 1);
    EXPECT_EQ(ExhibitionConfirmForm, nullptr);
    EXPECT_EQ(ExhibitionListForm, nullptr);
}

TEST_F(ExhibitionTest, CancellingTheConfirmationRestoresTheReserve) {
    OpenExhibitionList(3);
    headless.RunFor(20);
    ClickOn(*ExhibitionListForm->Rows[0].ItemName);
    ASSERT_NE(ExhibitionConfirmForm, nullptr);
    TExhibitionConfirmForm& c = *ExhibitionConfirmForm;
    ClickOn(*c.UpReserveButton);
    ClickOn(*c.UpReserveButton);
    EXPECT_EQ(ItemReserve(item::VigourScentBottle), 4);
    EXPECT_EQ(c.Reserve00->Caption(), "4");
    EXPECT_EQ(c.Stock00->Caption(), "6");
    ClickOn(*c.CloseButton);
    headless.RunFor(20);
    EXPECT_EQ(ItemReserve(item::VigourScentBottle), 2);
    EXPECT_EQ(ExhibitionConfirmForm, nullptr);
    EXPECT_EQ(SlotItem(3), -1);
    ASSERT_NE(ExhibitionListForm, nullptr);
    EXPECT_TRUE(ExhibitionListForm->Visible());
}

TEST_F(ExhibitionTest, GoodsOnASlotAreGreyAndCannotBeChosen) {
    SetSlotItem(5, 2);
    OpenExhibitionList(4);
    headless.RunFor(20);
    TExhibitionListForm& l = *ExhibitionListForm;
    EXPECT_EQ(l.Rows[2].ItemName->GetFont().Color, ui::clGray);
    EXPECT_EQ(l.Rows[2].Price->GetFont().Color, ui::clGray);
    EXPECT_EQ(l.Rows[0].ItemName->GetFont().Color, ui::clBlack);
    ClickOn(*l.Rows[2].ItemName);
    EXPECT_EQ(ExhibitionConfirmForm, nullptr);
    EXPECT_TRUE(l.Visible());
}

TEST_F(ExhibitionTest, ReplacingASlotsGoodsKeepsTheOldOnesInStock) {
    SetSlotItem(0, item::VigourScentBottle);
    OpenExhibition(0);
    headless.RunFor(20);
    ASSERT_NE(ExhibitionForm, nullptr);
    // Slot 0 sells at half price: 20 / 2.
    EXPECT_EQ(ui::Big5ToUtf8(ExhibitionForm->Infomation->Caption()), "販售價格 10G ");
    ClickOn(*ExhibitionForm->ExhibitionButton);
    ASSERT_NE(ExhibitionListForm, nullptr);
    EXPECT_FALSE(ExhibitionForm->Visible());
    ClickOn(*ExhibitionListForm->Rows[1].ItemName);
    ASSERT_NE(ExhibitionConfirmForm, nullptr);
    ClickOn(*ExhibitionConfirmForm->DicodeButton);
    headless.RunFor(20);
    EXPECT_EQ(SlotItem(0), 1);
    EXPECT_EQ(ItemStock(item::VigourScentBottle), 10);
    EXPECT_EQ(ExhibitionForm, nullptr);
    EXPECT_EQ(ExhibitionListForm, nullptr);
}

// Closing the goods list opened from a filled slot, directly or after cancelling the
// confirmation, brings the slot dialog back; its close gives the shop its menus again.
TEST_F(ExhibitionTest, ClosingTheListShowsTheSlotDialogAgainAndFreesTheMenus) {
    bool menusOn = true;
    ShopHooks().setShopMenus = [&](bool buttons, bool, bool) { menusOn = buttons; };
    for (bool viaConfirm : {false, true}) {
        SCOPED_TRACE(viaConfirm);
        SetSlotItem(0, item::VigourScentBottle);
        OpenExhibition(0);
        headless.RunFor(20);
        ASSERT_NE(ExhibitionForm, nullptr);
        EXPECT_FALSE(menusOn);
        ClickOn(*ExhibitionForm->ExhibitionButton);
        ASSERT_NE(ExhibitionListForm, nullptr);
        if (viaConfirm) {
            ClickOn(*ExhibitionListForm->Rows[1].ItemName);
            ASSERT_NE(ExhibitionConfirmForm, nullptr);
            ClickOn(*ExhibitionConfirmForm->CloseButton);
            ASSERT_NE(ExhibitionListForm, nullptr);
        }
        ClickOn(*ExhibitionListForm->Rows[0].Reserve);  // a reserve moved in the list shows too
        ClickOn(*ExhibitionListForm->CloseButton);
        headless.RunFor(20);
        EXPECT_EQ(ExhibitionListForm, nullptr);
        ASSERT_NE(ExhibitionForm, nullptr);
        EXPECT_TRUE(ExhibitionForm->Visible());
        EXPECT_EQ(ExhibitionForm->Reserve00->Caption(),
                  std::to_string(ItemReserve(item::VigourScentBottle)));
        EXPECT_FALSE(menusOn);
        ClickOn(*ExhibitionForm->CloseButton);
        headless.RunFor(20);
        EXPECT_EQ(ExhibitionForm, nullptr);
        EXPECT_TRUE(menusOn);
        EXPECT_EQ(SlotItem(0), 0);
    }
}

TEST_F(ExhibitionTest, PutAwayEmptiesTheSlot) {
    SetSlotItem(6, 2);
    OpenExhibition(6);
    headless.RunFor(20);
    ClickOn(*ExhibitionForm->PutAwayButton);
    headless.RunFor(20);
    EXPECT_EQ(SlotItem(6), -1);
    EXPECT_EQ(ItemStock(2), 10);
    EXPECT_EQ(ExhibitionForm, nullptr);
}

TEST_F(ExhibitionTest, SalesListShowsEverySlotAndEmptyRowsForEmptySlots) {
    SetSlotItem(0, item::VigourScentBottle);
    SetSlotItem(1, 2);
    SetSlotItem(4, 1);
    OpenSalesList();
    headless.RunFor(20);
    ASSERT_NE(SalesListForm, nullptr);
    TSalesListForm& f = *SalesListForm;
    EXPECT_EQ(ui::Big5ToUtf8(f.Rows[0].ItemName->Caption()), "活力花香瓶");
    EXPECT_EQ(f.Rows[0].Price->Caption(), "10");  // half of 20
    EXPECT_EQ(f.Rows[0].Price->GetFont().Color, ui::clRed);
    EXPECT_EQ(f.Rows[1].Price->GetFont().Color, ui::clGreen);
    EXPECT_EQ(f.Rows[4].Price->Caption(), "20");
    EXPECT_EQ(f.Rows[4].Stock->Caption(), "8");
    EXPECT_EQ(f.Rows[4].Reserve->Caption(), "2");
    for (int s : {2, 3, 5, 9}) {
        SCOPED_TRACE(s);
        EXPECT_EQ(f.Rows[s].ItemName->Caption(), "");
        EXPECT_EQ(f.Rows[s].Price->Caption(), "");
        EXPECT_EQ(f.Rows[s].Stock->Caption(), "");
    }
    ClickOn(*f.CloseButton);
    headless.RunFor(20);
    EXPECT_EQ(SalesListForm, nullptr);
}

}  // namespace
