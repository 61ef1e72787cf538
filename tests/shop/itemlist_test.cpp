#include "shop/Itemlist.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/HeadlessApp.h"

namespace {

// Catalogue facts used below (id: name, G, M, attribute, base price):
// 0 活力花香瓶 G M 火 20; 1 清新花香瓶 G M 土 20; 2 芙蘿蕾花香瓶 G M 水 30;
// 3 活力香水 G 火 120; 64 香草 M 風 10; 100 芙蘿蕾的花冠 光 100.
void KnowOnly(std::initializer_list<int> items) {
    for (int i = 0; i < kItemCount; ++i) LockItem(i);
    for (int i : items) UnlockItem(i);
}

void KnowFirst(int n) {
    for (int i = 0; i < kItemCount; ++i) LockItem(i);
    for (int i = 0; i < n; ++i) UnlockItem(i);
}

std::vector<int> ViewIds() {
    return std::vector<int>(ItemListView.ids, ItemListView.ids + ItemListView.count);
}

class ItemListTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        for (int s = 0; s < 10; ++s) SetSlotItem(s, -1);
        for (WindowPosition& p : WindowPositions) p = {};
        shop.SetBounds(0, 0, 640, 480);
        shop.Show();
        ShopHooks().shopForm = [this] { return &shop; };
        ShopHooks().shopOpen = [this] { return shopOpen; };
    }
    void TearDown() override {
        delete ItemListForm;
        ShopHooks() = {};
        DispItemDetails0Hook = nullptr;
    }
    TItemListForm& Open() {
        OpenItemList();
        EXPECT_NE(ItemListForm, nullptr);
        headless.RunFor(20);
        return *ItemListForm;
    }
    void ClickOn(ui::Control& c, int x = 4, int y = 4) {
        const ui::Point p = c.ClientToScreen({x, y});
        headless.Backend().Click(p.x, p.y);
        headless.RunFor(50);
    }
    void MoveOver(ui::Control& c) {
        const ui::Point p = c.ClientToScreen({3, 3});
        headless.Backend().Move(p.x, p.y);
        headless.RunFor(20);
    }
    std::string RowName(int r) { return ui::Big5ToUtf8(ItemListForm->Rows[r].ItemName->Caption()); }
    std::string PageText() { return ItemListForm->Page->Caption(); }

    ui::Form shop;
    bool shopOpen = false;
};

TEST_F(ItemListTest, SixteenKnownItemsDisableBothPageButtons) {
    KnowFirst(16);
    TItemListForm& f = Open();
    EXPECT_FALSE(f.BackPageButton->Enabled());
    EXPECT_FALSE(f.NextPageButton->Enabled());
    EXPECT_EQ(PageText(), "1/1");
    EXPECT_EQ(RowName(15), ui::Big5ToUtf8(ItemName(15)));
    // Centred on the shop window: (640 - 461) / 2, (480 - 372) / 2.
    EXPECT_EQ(f.Left(), 89);
    EXPECT_EQ(f.Top(), 54);
}

TEST_F(ItemListTest, SeventeenKnownItemsPageAndWrapBothWays) {
    KnowFirst(17);
    TItemListForm& f = Open();
    EXPECT_TRUE(f.NextPageButton->Enabled());
    EXPECT_TRUE(f.BackPageButton->Enabled());
    ClickOn(*f.NextPageButton);
    EXPECT_EQ(PageText(), "2/2");
    EXPECT_EQ(RowName(0), ui::Big5ToUtf8(ItemName(16)));
    EXPECT_EQ(RowName(1), "");
    EXPECT_FALSE(f.Rows[1].Icon->Visible());
    ClickOn(*f.NextPageButton);  // from the last page back to the first
    EXPECT_EQ(PageText(), "1/2");
    ClickOn(*f.BackPageButton);  // from the first page to the last
    EXPECT_EQ(PageText(), "2/2");
}

TEST_F(ItemListTest, PriceHeadingSortsAscendingThenDescendingAndAnotherHeadingResetsIt) {
    KnowOnly({0, 1, 2, 3, 64, 100});
    TItemListForm& f = Open();
    EXPECT_EQ(ViewIds(), (std::vector<int>{0, 1, 2, 3, 64, 100}));
    // The exchange sort by price (20, 20, 30, 120, 10, 100): equal keys never swap,
    // but a later swap may carry one past its equal.
    ClickOn(*f.Price);
    EXPECT_EQ(ViewIds(), (std::vector<int>{64, 1, 0, 2, 100, 3}));
    EXPECT_EQ(RowName(0), "香草");
    ClickOn(*f.Price);
    EXPECT_EQ(ViewIds(), (std::vector<int>{3, 100, 2, 1, 0, 64}));
    ClickOn(*f.Attribute);  // 光 0, 火 1, 水 2, 風 3, 土 4: keys 1, 4, 2, 1, 3, 0
    EXPECT_EQ(ViewIds(), (std::vector<int>{100, 3, 0, 2, 64, 1}));
    ClickOn(*f.Price);  // ascending again
    EXPECT_EQ(ViewIds(), (std::vector<int>{64, 1, 0, 2, 100, 3}));
}

TEST_F(ItemListTest, GoodsMaterialsAndExhibitionHeadings) {
    KnowOnly({0, 3, 64, 100});
    SetSlotItem(4, item::VigourPerfume);
    SetSlotItem(2, item::VigourScentBottle);
    TItemListForm& f = Open();
    ClickOn(*f.Mflag);
    EXPECT_EQ(ViewIds(), (std::vector<int>{0, 64, 3, 100}));
    ClickOn(*f.Gflag);
    EXPECT_EQ(ViewIds(), (std::vector<int>{0, 3, 64, 100}));
    ClickOn(*f.Exhibition);  // slot 2, slot 4, then the unexhibited in their order
    EXPECT_EQ(ViewIds(), (std::vector<int>{0, 3, 64, 100}));
    SetSlotItem(2, -1);
    SetSlotItem(1, item::FloraeCrown);
    f.CloseButtonClick();
    headless.RunFor(20);
    TItemListForm& g = Open();
    ClickOn(*g.Exhibition);  // keys 255, 4, 255, 1: the two unexhibited change places
    EXPECT_EQ(ViewIds(), (std::vector<int>{100, 3, 64, 0}));
    EXPECT_EQ(ui::Big5ToUtf8(g.Rows[0].Exhibition->Caption()), "○");
    EXPECT_EQ(ui::Big5ToUtf8(g.Rows[1].Exhibition->Caption()), "□");
    ClickOn(*g.ItemName);
    EXPECT_EQ(ViewIds(), (std::vector<int>{0, 3, 64, 100}));
}

TEST_F(ItemListTest, SortingKeepsThePage) {
    KnowFirst(17);
    TItemListForm& f = Open();
    ClickOn(*f.NextPageButton);
    ClickOn(*f.Price);
    EXPECT_EQ(PageText(), "2/2");
    EXPECT_EQ(ItemListView.page, 1);
    ClickOn(*f.ItemName);
    EXPECT_EQ(PageText(), "2/2");
    EXPECT_EQ(RowName(0), ui::Big5ToUtf8(ItemName(16)));
}

TEST_F(ItemListTest, ReserveClicksMoveUnitsOnlyForGoodsWhileTheShopIsClosed) {
    KnowOnly({3, 64});
    SetItemStock(item::VigourPerfume, 10);
    SetItemReserve(item::VigourPerfume, 2);
    SetItemStock(64, 5);
    TItemListForm& f = Open();
    ClickOn(*f.Rows[0].Reserve, 20);
    EXPECT_EQ(ItemReserve(item::VigourPerfume), 3);
    EXPECT_EQ(f.Rows[0].Stock->Caption(), "7");
    EXPECT_EQ(f.Rows[0].Reserve->Caption(), "3");
    ClickOn(*f.Rows[0].Stock, 20);
    ClickOn(*f.Rows[0].Stock, 20);
    EXPECT_EQ(ItemReserve(item::VigourPerfume), 1);
    EXPECT_EQ(f.Rows[0].Stock->Caption(), "9");
    // A material row changes nothing.
    ClickOn(*f.Rows[1].Reserve, 20);
    ClickOn(*f.Rows[1].Stock, 20);
    EXPECT_EQ(ItemReserve(64), 0);
    EXPECT_EQ(ItemStock(64), 5);
    EXPECT_EQ(f.Rows[1].Reserve->Caption(), "-");
    // Nor does anything while the shop is open.
    shopOpen = true;
    ClickOn(*f.Rows[0].Reserve, 20);
    ClickOn(*f.Rows[0].Stock, 20);
    EXPECT_EQ(ItemReserve(item::VigourPerfume), 1);
    EXPECT_EQ(f.Rows[0].Reserve->Caption(), "1");
}

TEST_F(ItemListTest, HoverTurnsTheRowsNameRedAndTheBackgroundTurnsItBlack) {
    KnowFirst(5);
    TItemListForm& f = Open();
    f.Rows[3].ItemName->SetFontColor(ui::clGray);
    MoveOver(*f.Rows[1].ItemName);
    EXPECT_EQ(f.Rows[1].ItemName->GetFont().Color, ui::clRed);
    MoveOver(*f.Rows[2].Icon);
    EXPECT_EQ(f.Rows[2].ItemName->GetFont().Color, ui::clRed);
    EXPECT_EQ(f.Rows[1].ItemName->GetFont().Color, ui::clBlack);
    EXPECT_EQ(f.Rows[3].ItemName->GetFont().Color, ui::clGray);
    const ui::Point p = f.ClientToScreen({4, 200});  // the background left of the icons
    headless.Backend().Move(p.x, p.y);
    headless.RunFor(20);
    EXPECT_EQ(f.Rows[2].ItemName->GetFont().Color, ui::clBlack);
    EXPECT_EQ(f.Rows[3].ItemName->GetFont().Color, ui::clGray);
}

int g_detailsItem = -1;

TEST_F(ItemListTest, RowClicksOpenTheDetailsAndHideTheList) {
    KnowOnly({3, 64});
    TItemListForm& f = Open();
    // Until the details window exists the list stays.
    ClickOn(*f.Rows[1].ItemName);
    EXPECT_TRUE(f.Visible());
    DispItemDetails0Hook = [](int item) { g_detailsItem = item; };
    ClickOn(*f.Rows[1].ItemName);
    EXPECT_EQ(g_detailsItem, 64);
    EXPECT_FALSE(f.Visible());
    f.Show();
    g_detailsItem = -1;
    ClickOn(*f.Rows[0].Icon);
    EXPECT_EQ(g_detailsItem, 3);
    f.Show();
    g_detailsItem = -1;
    ClickOn(*f.Rows[5].ItemName);  // an empty row
    EXPECT_EQ(g_detailsItem, -1);
    EXPECT_TRUE(f.Visible());
}

TEST_F(ItemListTest, CloseForgetsTheFormAndReopensWhereItWasLeft) {
    KnowFirst(3);
    TItemListForm& f = Open();
    f.SetBounds(30, 20, f.Width(), f.Height());
    ClickOn(*f.CloseButton);
    EXPECT_EQ(ItemListForm, nullptr);
    EXPECT_EQ(WindowPositions[kPosItemList].left, 30);
    TItemListForm& g = Open();
    EXPECT_EQ(g.Left(), 30);
    EXPECT_EQ(g.Top(), 20);
    OpenItemList();  // already open: the same form
    EXPECT_EQ(ItemListForm, &g);
}

TEST_F(ItemListTest, ViewOfGoodsOnlyAndOfNothing) {
    KnowOnly({0, 3, 64, 100});
    ItemListView.kind = 1;
    BuildItemListView();
    EXPECT_EQ(ViewIds(), (std::vector<int>{0, 3}));
    // Goods first and materials first do not look at the kind.
    BuildItemListViewMaterialsFirst();
    EXPECT_EQ(ViewIds(), (std::vector<int>{0, 64, 3, 100}));
    KnowOnly({});
    ItemListView.kind = 0;
    ResetItemListView();
    EXPECT_EQ(ItemListView.count, 0);
    EXPECT_EQ(ItemListView.lastPage, 0);
    KnowFirst(33);  // (33 - 1) / 16
    ResetItemListView();
    EXPECT_EQ(ItemListView.lastPage, 2);
    KnowFirst(32);
    ResetItemListView();
    EXPECT_EQ(ItemListView.lastPage, 1);
}

TEST_F(ItemListTest, ResetNotesTheLowestSlotOfAnItemOnTwoSlots) {
    KnowOnly({3});
    SetSlotItem(6, item::VigourPerfume);
    SetSlotItem(2, item::VigourPerfume);
    ResetItemListView();
    EXPECT_EQ(ItemListView.slotOfItem[3], 2);
    EXPECT_EQ(ItemListView.slotOfItem[4], 255);
}

TEST_F(ItemListTest, OneRowInTheTwelvePixelFont) {
    KnowOnly({3});
    SetItemStock(item::VigourPerfume, 12);
    SetItemReserve(item::VigourPerfume, 5);
    SetSlotItem(0, item::VigourPerfume);
    TItemListForm& f = Open();
    f.Repaint();
    const ui::Bitmap& window = f.WindowBitmap();
    // Row 0: icon to exhibition mark, y 60 .. 77.
    ui::Bitmap row(446, 17, ui::PixelFormat::pf24bit);
    for (int y = 0; y < row.Height(); ++y)
        for (int x = 0; x < row.Width(); ++x) row.SetPixel(x, y, window.GetPixel(8 + x, 60 + y));
    EXPECT_TRUE(test::Matches(row, "itemlist-row"));
}

}  // namespace
