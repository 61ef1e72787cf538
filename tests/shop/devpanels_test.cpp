// The developer's panels over the shop window: the hidden developer menu on the top
// bar, the parameter window (參數), the fashion window (流行) and the demand view (需要),
// driven with the mouse as a developer would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Menus.h"
#include "shop/Debugform.h"
#include "shop/Demand.h"
#include "shop/Demandform.h"
#include "shop/Fashion.h"
#include "shop/Fsctrl.h"
#include "shop/GameState.h"
#include "shop/Marketlist.h"
#include "shop/Shop.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"

namespace {

using ui::MouseButton;
constexpr ui::ShiftState kShiftAlt = ui::ssShift | ui::ssAlt;

class DevPanelsTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        g_ShopHooks = {};
        demand = std::make_unique<TDemandForm>();
        form = new TShopForm();
        form->BuildShopScene();
        form->ShowShopScreen();
        headless.RunFor(20);
    }
    void TearDown() override {
        delete MarketListForm;
        delete form;
        demand.reset();
        g_ShopHooks = {};
    }
    // A press and release on a control, with a button and modifier keys.
    void Press(const ui::Control* c, MouseButton b = MouseButton::mbLeft, ui::ShiftState s = 0) {
        const ui::Point p = c->ClientToScreen(ui::Point{4, 4});
        headless.Backend().Click(p.x, p.y, b, s);
        headless.RunFor(30);
    }
    // Right-clicks the top bar at (x, y) with `mods`; when the developer menu comes up,
    // notes where and chooses its row `choose` (-1: Escape). True when it came up.
    bool RightClickTopBar(int x, int y, MouseButton b, ui::ShiftState mods, int choose,
                          ui::Point* menuAt = nullptr) {
        bool opened = false;
        const int id = headless.Backend().AddResponder([&] {
            if (opened || !ui::MenuOpen()) return false;
            opened = true;
            const ui::Form* w = ui::Forms().back();
            if (menuAt) *menuAt = {w->Left(), w->Top()};
            if (choose < 0)
                headless.Backend().Key(ui::vk::Escape, 0, 10);
            else
                headless.Backend().Click(
                    w->Left() + 20, w->Top() + ui::kMenuBorder + choose * ui::kMenuItemHeight + 5,
                    MouseButton::mbLeft, 0, 10);
            return true;
        });
        headless.Backend().Click(form->Left() + x, form->Top() + y, b, mods);
        headless.RunFor(200);
        headless.Backend().RemoveResponder(id);
        return opened;
    }
    TDebugForm* OpenDebugForm(int first = 0) {
        form->DM_StatusClick();
        EXPECT_NE(DebugForm, nullptr);
        DebugForm->ScrollBar1->SetPosition(first);
        headless.RunFor(20);
        return DebugForm;
    }

    std::unique_ptr<TDemandForm> demand;
    TShopForm* form = nullptr;
};

// ---------------------------------------------------------------- the developer menu

TEST_F(DevPanelsTest, DeveloperMenuComesOnlyWithShiftAltRightClickAtTheBarsRightEnd) {
    struct Case {
        int x, y;
        MouseButton button;
        ui::ShiftState mods;
        bool opens;
    } const cases[] = {
        {645, 28, MouseButton::mbRight, kShiftAlt, true},
        {617, 30, MouseButton::mbRight, kShiftAlt, true},
        {645, 19, MouseButton::mbRight, kShiftAlt, true},
        {645, 18, MouseButton::mbRight, kShiftAlt, false},  // y must be past 18
        {615, 28, MouseButton::mbRight, kShiftAlt, false},  // x must be 616 or more
        {645, 28, MouseButton::mbRight, ui::ssShift, false},
        {645, 28, MouseButton::mbRight, ui::ssAlt, false},
        {645, 28, MouseButton::mbRight, 0, false},
        {645, 28, MouseButton::mbLeft, kShiftAlt, false},
    };
    for (const Case& c : cases) {
        ui::Point at{};
        EXPECT_EQ(RightClickTopBar(c.x, c.y, c.button, c.mods, -1, &at), c.opens)
            << c.x << "," << c.y << " mods " << c.mods;
        if (c.opens) {
            EXPECT_EQ(at.x, form->Left() + 540);
            EXPECT_EQ(at.y, form->Top() + 19);
        }
        EXPECT_EQ(DebugForm, nullptr);
    }
    // The menu's entries, in order.
    std::vector<std::string> captions;
    for (int i = 0; i < form->PopupMenu2.Items.Count(); ++i)
        captions.push_back(ui::Big5ToUtf8(form->PopupMenu2.Items.Item(i)->Caption));
    EXPECT_EQ(captions, (std::vector<std::string>{"參數", "市場", "流行", "需要"}));
    EXPECT_FALSE(form->PopupMenu2.AutoPopup);
}

TEST_F(DevPanelsTest, EachEntryOpensItsWindowOverTheShopOnlyOnce) {
    ASSERT_TRUE(RightClickTopBar(645, 28, MouseButton::mbRight, kShiftAlt, 0));
    ASSERT_NE(DebugForm, nullptr);
    EXPECT_TRUE(DebugForm->Visible());
    EXPECT_EQ(DebugForm->ScrollBar1->Position(), 0);  // first row 0
    auto z = [](const ui::Form* f) {
        const std::vector<ui::Form*> all = ui::Forms();
        return std::find(all.begin(), all.end(), f) - all.begin();
    };
    EXPECT_GT(z(DebugForm), z(form));  // over the shop
    TDebugForm* first = DebugForm;
    DebugForm->ScrollBar1->SetPosition(30);
    ASSERT_TRUE(RightClickTopBar(645, 28, MouseButton::mbRight, kShiftAlt, 0));
    EXPECT_EQ(DebugForm, first);
    EXPECT_EQ(DebugForm->ScrollBar1->Position(), 30);  // the open one is left as it is

    ASSERT_TRUE(RightClickTopBar(645, 28, MouseButton::mbRight, kShiftAlt, 1));
    ASSERT_NE(MarketListForm, nullptr);
    EXPECT_TRUE(MarketListForm->Visible());
    TMarketListForm* market = MarketListForm;
    form->DM_MarketClick();
    EXPECT_EQ(MarketListForm, market);

    ASSERT_TRUE(RightClickTopBar(645, 28, MouseButton::mbRight, kShiftAlt, 2));
    ASSERT_NE(FsCtrlForm, nullptr);
    EXPECT_TRUE(FsCtrlForm->Visible());
    TFsCtrlForm* fashion = FsCtrlForm;
    form->DM_FashonClick();
    EXPECT_EQ(FsCtrlForm, fashion);

    EXPECT_FALSE(demand->IsViewVisible());
    ASSERT_TRUE(RightClickTopBar(645, 28, MouseButton::mbRight, kShiftAlt, 3));
    EXPECT_TRUE(demand->IsViewVisible());
}

TEST_F(DevPanelsTest, SystemCloseButtonFreesThePanelsAndHidesTheDemandView) {
    form->DM_StatusClick();
    form->DM_FashonClick();
    form->DM_DemandClick();
    for (ui::Form* f : std::vector<ui::Form*>{DebugForm, FsCtrlForm, demand->View.get()}) {
        ASSERT_NE(f, nullptr);
        f->Show();  // on top of the others
        // The close box at the right end of the caption bar.
        headless.Backend().Click(f->Left() + f->Width() - ui::kFrameWidth - 10,
                                 f->Top() + ui::kFrameWidth + ui::kCaptionHeight / 2);
        headless.RunFor(30);
    }
    EXPECT_EQ(DebugForm, nullptr);
    EXPECT_EQ(FsCtrlForm, nullptr);
    ASSERT_NE(demand->View, nullptr);  // the view is kept, only hidden
    EXPECT_FALSE(demand->IsViewVisible());
    form->DM_StatusClick();
    form->DM_DemandClick();
    EXPECT_NE(DebugForm, nullptr);
    EXPECT_TRUE(demand->IsViewVisible());
}

// ---------------------------------------------------------------- 參數

TEST_F(DevPanelsTest, MoneyStepsByButtonAndKeysAndStaysNegativeBelowZero) {
    struct Case {
        int start;
        MouseButton button;
        ui::ShiftState mods;
        int expected;
    } const cases[] = {
        {0, MouseButton::mbLeft, 0, 100},
        {50, MouseButton::mbRight, 0, -50},  // no lower bound
        {-50, MouseButton::mbRight, ui::ssShift, -1050},
        {0, MouseButton::mbRight, ui::ssCtrl, -10000},
        {0, MouseButton::mbRight, ui::ssCtrl | ui::ssShift, -10000},  // Ctrl wins
        {0, MouseButton::mbLeft, ui::ssShift, 1000},
        {9999950, MouseButton::mbLeft, ui::ssCtrl, 9999999},  // the cap above
    };
    TDebugForm* f = OpenDebugForm();
    for (const Case& c : cases) {
        SetMoney(c.start);
        Press(f->Money, c.button, c.mods);
        EXPECT_EQ(GameMoney(), c.expected) << c.start << " mods " << c.mods;
        EXPECT_EQ(f->Money->Caption(), std::to_string(c.expected));
    }
}

TEST_F(DevPanelsTest, StockPressesKeepTheKeyItemRules) {
    struct Case {
        int item, stock;
        MouseButton button;
        ui::ShiftState mods;
        int expected;
    } const cases[] = {
        {0, 5, MouseButton::mbLeft, 0, 6},
        {0, 95, MouseButton::mbLeft, ui::ssShift, 99},  // clamped at 99
        {0, 5, MouseButton::mbRight, ui::ssShift, 0},   // and at 0
        {82, 255, MouseButton::mbRight, 0, 255},        // a key item stays unlimited
        {93, 3, MouseButton::mbRight, 0, 255},          // any change of 93 ends at 255
        {98, 0, MouseButton::mbLeft, 0, 255},
        {50, 255, MouseButton::mbLeft, ui::ssShift, 255},
    };
    TDebugForm* f = OpenDebugForm();
    for (const Case& c : cases) {
        SetItemStock(c.item, c.stock);
        f->ScrollBar1->SetPosition(c.item);
        headless.RunFor(10);
        const int row = c.item - f->ScrollBar1->Position();
        ASSERT_EQ(f->RowItem(row), c.item);
        Press(f->DbItemNumRow[static_cast<std::size_t>(row)], c.button, c.mods);
        EXPECT_EQ(ItemStock(c.item), c.expected) << c.item;
    }
    EXPECT_EQ(ui::Big5ToUtf8(f->DbItemNumRow[0]->Caption()), "∞");  // item 50, a key item now

    // The keepsake: holding one form removes the other.
    SetItemStock(item::NecklaceKeepsake, 1);
    SetItemStock(item::MothersNecklace, 0);
    f->ScrollBar1->SetPosition(91);  // the last page: items 91..106
    headless.RunFor(10);
    ASSERT_EQ(f->RowItem(14), 105);
    Press(f->DbItemNumRow[14]);
    EXPECT_EQ(ItemStock(item::MothersNecklace), 255);
    EXPECT_EQ(ItemStock(item::NecklaceKeepsake), 0);
    EXPECT_FALSE(IsItemUnlocked(item::NecklaceKeepsake));

    // The header steps every item; key items stay at 255, the rest clamp at 99.
    SetItemStock(item::VigourScentBottle, 98);
    SetItemStock(1, 0);
    Press(f->DbItemNum, MouseButton::mbLeft, ui::ssShift);
    EXPECT_EQ(ItemStock(item::VigourScentBottle), 99);
    EXPECT_EQ(ItemStock(1), 10);
    EXPECT_EQ(ItemStock(item::HeipiFur), 255);
    Press(f->DbItemNum, MouseButton::mbRight);
    EXPECT_EQ(ItemStock(item::VigourScentBottle), 98);
    EXPECT_EQ(ItemStock(item::HeipiFur), 255);
}

TEST_F(DevPanelsTest, KnownMarksToggleByRowAndAllOrNoneByHeaderDoubleClick) {
    TDebugForm* f = OpenDebugForm(10);
    LockItem(item::FlowingShampoo);
    Press(f->DbItemShowRow[0]);
    EXPECT_TRUE(IsItemUnlocked(item::FlowingShampoo));
    EXPECT_EQ(ui::Big5ToUtf8(f->DbItemShowRow[0]->Caption()), "○");
    Press(f->DbItemShowRow[0], MouseButton::mbRight);
    EXPECT_FALSE(IsItemUnlocked(item::FlowingShampoo));
    EXPECT_EQ(ui::Big5ToUtf8(f->DbItemShowRow[0]->Caption()), "×");

    auto known = [] {
        int n = 0;
        for (int i = 0; i < kItemCount; ++i) n += IsItemUnlocked(i);
        return n;
    };
    const ui::Point p = f->DbItemShow->ClientToScreen(ui::Point{4, 4});
    headless.Backend().DoubleClick(p.x, p.y);
    headless.RunFor(30);
    EXPECT_EQ(known(), kItemCount);
    headless.Backend().DoubleClick(p.x, p.y);
    headless.RunFor(30);
    EXPECT_EQ(known(), 0);
    // A single press on the header changes nothing.
    Press(f->DbItemShow);
    EXPECT_EQ(known(), 0);
}

TEST_F(DevPanelsTest, HeroineLabelsStepAndWrapOrClamp) {
    TDebugForm* f = OpenDebugForm();
    struct Case {
        const char* what;
        ui::Label* label;
        MouseButton button;
        ui::ShiftState mods;
        int before, after;
    } const cases[] = {
        {"level", f->Level, MouseButton::mbLeft, 0, 20, 1},
        {"level", f->Level, MouseButton::mbRight, 0, 1, 20},
        {"level", f->Level, MouseButton::mbLeft, 0, 7, 8},
        {"reputation", f->Popularity, MouseButton::mbLeft, ui::ssShift, 95, 100},
        {"reputation", f->Popularity, MouseButton::mbRight, ui::ssShift, 5, 0},
        {"reputation", f->Popularity, MouseButton::mbRight, 0, 50, 49},
        // Month keeps the day of the month; day wraps within its month.
        {"day", f->Month, MouseButton::mbRight, 0, 5, 11 * 24 + 5},
        {"day", f->Month, MouseButton::mbLeft, 0, 11 * 24 + 23, 23},
        {"day", f->Day, MouseButton::mbLeft, 0, 2 * 24 + 23, 2 * 24},
        {"day", f->Day, MouseButton::mbRight, 0, 2 * 24, 2 * 24 + 23},
    };
    for (const Case& c : cases) {
        const std::string what = c.what;
        if (what == "level") SetGameLevel(c.before);
        if (what == "reputation") SetReputation(c.before);
        if (what == "day") SetGameDay(c.before);
        Press(c.label, c.button, c.mods);
        const int now = what == "level"        ? GameLevel()
                        : what == "reputation" ? GameReputation()
                                               : GameDay();
        EXPECT_EQ(now, c.after) << c.what << " " << c.before;
    }
    SetGameDay(2 * 24 + 4);
    SetGameLevel(3);
    Press(f->Day);
    EXPECT_EQ(ui::Big5ToUtf8(f->Month->Caption()), "3月");
    EXPECT_EQ(ui::Big5ToUtf8(f->Day->Caption()), "6日");
    EXPECT_EQ(f->Level->Caption(), "Lv. 3");

    SetCondition(0);
    std::vector<int> seen;
    for (int k = 0; k < 3; ++k) {
        Press(f->Condition);
        seen.push_back(GameCondition());
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(ui::Big5ToUtf8(f->Condition->Caption()), "健康！！");
}

TEST_F(DevPanelsTest, RowsFollowTheScrollBarToTheLastItem) {
    TDebugForm* f = OpenDebugForm();
    EXPECT_EQ(f->ScrollBar1->Max, 91);
    EXPECT_EQ(f->DbItemName[0]->Caption(), std::string(ItemName(0)));
    f->ScrollBar1->SetPosition(200);  // clamped to the last page
    headless.RunFor(10);
    EXPECT_EQ(f->RowItem(15), 106);
    EXPECT_EQ(f->DbItemName[15]->Caption(), std::string(ItemName(106)));
    EXPECT_EQ(f->DbItemName[0]->Caption(), std::string(ItemName(91)));
}

// ---------------------------------------------------------------- 流行

TEST_F(DevPanelsTest, FashionPanelChoosesGoodsByArrowsOrNumber) {
    form->DM_FashonClick();
    TFsCtrlForm* f = FsCtrlForm;
    ASSERT_NE(f, nullptr);
    struct Case {
        const char* text;
        int goods;
    } const cases[] = {{"12", 12}, {"abc", 0}, {"", 0}, {"63", 63}, {"99", 63}, {"-4", 0}};
    for (const Case& c : cases) {
        f->GoodsBox->SetText(c.text);
        EXPECT_EQ(f->Goods(), c.goods) << c.text;
        EXPECT_EQ(f->GoodsUD1->Position(), c.goods);
        EXPECT_EQ(f->GoodsUD2->Position(), c.goods);
        EXPECT_EQ(f->GoodsName->Caption(), std::string(ItemName(c.goods)));
    }
    f->GoodsBox->SetText("5");
    // Both arrows step the one goods and stay equal.
    const ui::Point up1 = f->GoodsUD1->ClientToScreen(ui::Point{4, 2});
    headless.Backend().Click(up1.x, up1.y);
    headless.RunFor(30);
    EXPECT_EQ(f->Goods(), 6);
    EXPECT_EQ(f->GoodsUD2->Position(), 6);
    const ui::Point down2 = f->GoodsUD2->ClientToScreen(ui::Point{4, 17});
    headless.Backend().Click(down2.x, down2.y);
    headless.RunFor(30);
    EXPECT_EQ(f->Goods(), 5);
    EXPECT_EQ(f->GoodsUD1->Position(), 5);
    EXPECT_EQ(f->GoodsBox->Text(), "5");

    SetGameVariant(1);
    f->Redraw();
    EXPECT_EQ(ui::Big5ToUtf8(f->VariantLabel->Caption()), "季節Ｂ");
    SetGameVariant(0);
    f->Redraw();
    EXPECT_EQ(ui::Big5ToUtf8(f->VariantLabel->Caption()), "季節Ａ");
}

TEST_F(DevPanelsTest, FashionPanelSeedsCellsAndShowsTheGrid) {
    form->DM_FashonClick();
    TFsCtrlForm* f = FsCtrlForm;
    f->GoodsBox->SetText("7");
    Fashions[7] = Fashion(FashionParamSet{30, 5, 20, 4, 6});
    f->Redraw();
    EXPECT_EQ(ui::Big5ToUtf8(f->GridRows[0]->Caption()), "○○○○○○○○");
    EXPECT_EQ(f->Params[0]->Caption(), "WantRate 30");
    EXPECT_EQ(f->Params[4]->Caption(), "ImmunePeriod 6");

    Press(f->ViLabel);
    EXPECT_EQ(Fashions[7].Popularity(), 1);
    Press(f->VaLabel);
    EXPECT_EQ(f->Params[5]->Caption(), "ImmuneTimer 6");  // the immunity period restarts
    int wants = 0, immune = 0;
    for (int r = 0; r < 8; ++r) {
        const std::string row = ui::Big5ToUtf8(f->GridRows[static_cast<std::size_t>(r)]->Caption());
        for (std::size_t at = 0; (at = row.find("●", at)) != std::string::npos; at += 3) ++wants;
        for (std::size_t at = 0; (at = row.find("☆", at)) != std::string::npos; at += 3) ++immune;
    }
    EXPECT_EQ(wants, Fashions[7].Popularity());
    EXPECT_EQ(immune, 1);

    // The next-turn button redraws the open panel.
    Fashions[7].SetCell(63, 1, 3);
    form->MenuNextTurnClick();
    EXPECT_EQ(ui::Big5ToUtf8(f->GridRows[7]->Caption()).substr(21), "●");
}

TEST_F(DevPanelsTest, FashionGraphDrawsHistoryAverageAndGuides) {
    // Days 0..2 with popularity 20, 40, 0: the averages are 20, 30, 20.
    std::uint8_t record[kFashionRecordSize] = {};
    Fashion(FashionParamSet{30, 5, 20, 4, 6}).SaveRecord(record);
    record[128] = 20;
    record[129] = 40;
    ASSERT_TRUE(Fashions[3].LoadRecord(record));
    SetGameDay(2);
    form->DM_FashonClick();
    TFsCtrlForm* f = FsCtrlForm;
    f->GoodsBox->SetText("3");
    const ui::Bitmap& g = f->Image1->Picture();
    const int bottom = TFsCtrlForm::kGraphHeight - 1;
    struct Case {
        int x, y;
        ui::TColor colour;
    } const cases[] = {
        {0, bottom - 20, ui::clRed},     // day 0: average 20 on top of its column
        {0, bottom - 5, ui::clSilver},   // inside day 0's column
        {0, bottom - 21, ui::clWhite},   // above it
        {1, bottom - 30, ui::clRed},     // day 1: average 30
        {1, bottom - 39, ui::clSilver},  // day 1's column reaches 40
        {2, bottom - 20, ui::clRed},     // day 2: nothing sold, average 20
        {2, bottom - 5, ui::clWhite},   {3, bottom - 10, ui::clBlue},  // past today only the guides
        {3, bottom - 20, ui::clPurple}, {3, bottom - 15, ui::clWhite},
        {0, bottom - 10, ui::clBlue},  // guides over the columns
    };
    for (const Case& c : cases) EXPECT_EQ(g.GetPixel(c.x, c.y), c.colour) << c.x << "," << c.y;
}

// ---------------------------------------------------------------- 需要

TEST_F(DevPanelsTest, DemandViewListsTheCellsInOpenHourOrderAndRedrawsWhileShown) {
    form->DM_DemandClick();
    TDemandView* v = demand->View.get();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Header->Caption(), "10 11 12  1  2  3  4  5  6");
    EXPECT_EQ(v->ScrollBar1->Max, 48);
    // Before the day's demand every cell is used up.
    EXPECT_EQ(v->DbItemNum[0]->Caption(), "255 255 255 255 255 255 255 255 255");

    const std::uint8_t order[kOpenHours] = {8, 7, 6, 5, 4, 3, 2, 1, 0};
    std::copy(std::begin(order), std::end(order), demand->HourOrder);
    for (int c = 0; c < kOpenHours; ++c) demand->DemandTable[2][c] = static_cast<std::uint8_t>(c);
    demand->DemandTable[2][0] = kDemandExhausted;
    SetSlotItem(0, 2);
    SetSlotItem(1, -1);
    v->Redraw();
    EXPECT_EQ(v->DbItemNum[2]->Caption(), " 8  7  6  5  4  3  2  1 255");
    EXPECT_EQ(v->DbItemName[2]->Caption(), std::string(ItemName(2)));
    EXPECT_EQ(ui::Big5ToUtf8(v->DbItemExhibition[2]->Caption()), "◎");
    v->ScrollBar1->SetPosition(48);
    EXPECT_EQ(v->DbItemName[15]->Caption(), std::string(ItemName(63)));

    // While shown, the day's demand redraws the view; once hidden it is left alone.
    v->ScrollBar1->SetPosition(0);
    SetReputation(100);
    SetSlotItem(0, -1);
    for (int cell = 0; cell < 40; ++cell) Fashions[5].SetCell(cell, 1, 5);
    demand->GenerateDailyDemand();
    std::string cells;
    for (int j = 0; j < kOpenHours; ++j) {
        char cell[8];
        std::snprintf(cell, sizeof cell, "%s%2d", j ? " " : "",
                      demand->DemandTable[5][demand->HourOrder[j]]);
        cells += cell;
    }
    EXPECT_EQ(v->DbItemNum[5]->Caption(), cells);
    // 40 wanting cells at reputation 100 are 4000 hundredths, 444 a column with the
    // remainders carried: three columns of 5 and six of 4, wherever the day starts.
    std::string sorted = cells;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, std::string(8, ' ') + std::string(9, ' ') + "444444555");
    v->Close();
    EXPECT_FALSE(demand->IsViewVisible());
    demand->DemandTable[5][demand->HourOrder[0]] = 77;
    demand->GenerateDailyDemand();
    EXPECT_EQ(v->DbItemNum[5]->Caption(), cells);
}

}  // namespace
