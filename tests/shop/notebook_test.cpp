#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Bitmap.h"
#include "shop/Demand.h"
#include "shop/GameState.h"
#include "shop/Graph.h"
#include "shop/ItemPainters.h"
#include "shop/Note.h"
#include "shop/Salesform.h"
#include "shop/Shop.h"
#include "shop/Status.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvControler.h"

namespace {

// Catalogue facts used below (id: name, G flag, attribute, base price): 0 活力花香瓶 G 火
// 20; 3 活力香水 G 火 120; 5 芙蘿蕾香水 G 水 160; 12 黑貓果汁 G 水 20; 64 香草 material 風 10.
std::vector<int> g_sounds;
std::vector<std::string> g_messages;
int g_phase = 2;
bool g_noteShownDuringOrders = true;
int g_orderLists = 0;

class NotebookTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        for (WindowPosition& p : WindowPositions) p = {};
        shop.SetBounds(0, 0, 640, 480);
        shop.Show();
        ShopHooks().shopForm = [this] { return &shop; };
        g_sounds.clear();
        g_messages.clear();
        g_phase = 2;
        g_ShopHooks.PlaySound = [](int n) { g_sounds.push_back(n); };
        g_ShopHooks.ShowMessage = [](const std::string& big5) {
            g_messages.push_back(ui::Big5ToUtf8(big5));
        };
        g_ShopHooks.TickPhase = [] { return g_phase; };
    }
    void TearDown() override {
        delete SalesForm;
        delete GraphForm;
        delete StatusForm;
        delete NoteForm;
        ShopHooks() = {};
        g_ShopHooks.PlaySound = nullptr;
        g_ShopHooks.ShowMessage = nullptr;
        g_ShopHooks.TickPhase = nullptr;
        g_GameFlowHooks.ShowOrderList = nullptr;
    }
    TNoteForm& OpenNotebook() {
        OpenNote();
        headless.RunFor(20);
        return *NoteForm;
    }
    void ClickOn(ui::Control& c, int x = 4, int y = 4) {
        const ui::Point p = c.ClientToScreen({x, y});
        headless.Backend().Click(p.x, p.y);
        headless.RunFor(50);
    }
    std::string Text(const ui::Label* l) { return ui::Big5ToUtf8(l->Caption()); }
    ui::Form shop;
};

// ---- the sales report

TEST_F(NotebookTest, YesterdayOnTheFirstDayShowsFullWidthZerosAndEmptyRows) {
    SetGameDay(0);
    SetSlotItem(0, item::VigourPerfume);  // today's slots and sales must not show up as yesterday's
    AddDailySoldCount(item::VigourPerfume, 0, 2);
    AddDailyRevenue(item::VigourPerfume, 0, 240);
    AddVisitor();
    TNoteForm& note = OpenNotebook();
    ClickOn(*note.YesterdayButton);
    ASSERT_NE(SalesForm, nullptr);
    EXPECT_FALSE(note.Visible());
    EXPECT_EQ(Text(SalesForm->Guest), "０");
    EXPECT_EQ(Text(SalesForm->SalesGold), "０");
    EXPECT_TRUE(SalesForm->Image2->Visible());
    EXPECT_TRUE(SalesForm->Image3->Visible());
    for (const TSalesForm::Row& row : SalesForm->Rows) {
        EXPECT_EQ(Text(row.ItemName), "");
        EXPECT_EQ(Text(row.SalesNum), "");
        EXPECT_FALSE(row.Icon->Visible());
    }
    EXPECT_TRUE(g_sounds.empty());
}

TEST_F(NotebookTest, TodaysRowsArePackedFromTheTopAndFollowTheSales) {
    SetGameDay(7);
    SetGameHour(12);
    for (int slot = 0; slot < 10; ++slot) SetSlotItem(slot, -1);
    SetSlotItem(1, item::VigourPerfume);      // slot 0 empty
    SetSlotItem(3, item::VigourScentBottle);  // slot 2 empty
    SetItemStock(item::VigourPerfume, 5);
    SetItemStock(item::VigourScentBottle, 9);
    SetItemReserve(item::VigourScentBottle, 2);
    AddDailySoldCount(item::VigourPerfume, 7, 4);
    AddDailyRevenue(item::VigourPerfume, 7, 360);
    AddDailyRevenue(64, 7, 50);                    // not shop goods: not counted in the takings
    AddDailySoldCount(item::VigourPerfume, 6, 8);  // yesterday's sales stay out of today's report
    AddVisitor();
    AddVisitor();
    SetMoney(1234);
    TNoteForm& note = OpenNotebook();
    ClickOn(*note.TodayButton);
    ASSERT_NE(SalesForm, nullptr);
    TSalesForm& s = *SalesForm;
    EXPECT_FALSE(s.Image2->Visible());
    EXPECT_FALSE(s.Image3->Visible());
    struct RowCase {
        int row;
        const char *name, *attribute, *price, *total, *stock, *reserve, *mark, *sold;
    };
    const RowCase rows[] = {
        {0, "活力香水", "火", "120", "5", "5", "0", "○", "4"},
        {1, "活力花香瓶", "火", "20", "9", "7", "2", "□", "0"},
        {2, "", "", "", "", "", "", "", ""},
    };
    for (const RowCase& c : rows) {
        const TSalesForm::Row& r = s.Rows[c.row];
        EXPECT_EQ(Text(r.ItemName), c.name) << c.row;
        EXPECT_EQ(Text(r.Attribute), c.attribute) << c.row;
        EXPECT_EQ(Text(r.Price), c.price) << c.row;
        EXPECT_EQ(Text(r.Total), c.total) << c.row;
        EXPECT_EQ(Text(r.Stock), c.stock) << c.row;
        EXPECT_EQ(Text(r.Reserve), c.reserve) << c.row;
        EXPECT_EQ(Text(r.Exhibition), c.mark) << c.row;
        EXPECT_EQ(Text(r.SalesNum), c.sold) << c.row;
    }
    EXPECT_EQ(Text(s.Guest), "2");
    EXPECT_EQ(Text(s.SalesGold), "360");
    EXPECT_EQ(Text(s.TotalGold), "1234");

    // A sale from slot 3 (at the base price 20) by the sales rules, and a visitor.
    {
        TDemandForm sales;
        sales.SettleSale(3);
    }
    AddVisitor();
    g_DemandHooks.RefreshVisitors();
    EXPECT_EQ(Text(s.Rows[1].SalesNum), "1");
    EXPECT_EQ(Text(s.SalesGold), "380");
    EXPECT_EQ(Text(s.TotalGold), "1254");
    EXPECT_EQ(Text(s.Guest), "3");

    // Closing the report brings the notebook back.
    ClickOn(*s.CloseButton);
    EXPECT_EQ(SalesForm, nullptr);
    EXPECT_TRUE(note.Visible());
    EXPECT_EQ(g_DemandHooks.RefreshSlotRow, nullptr);
}

TEST_F(NotebookTest, YesterdaysReportShowsYesterdaysSlotsAndSales) {
    SetGameDay(3);
    g_GameState.ExhibitionSlotsYesterday[4] = 5;  // what lay out at 19:00 of day 2
    SetSlotItem(2, 12);                           // today's: not in yesterday's report
    AddDailySoldCount(item::FloraePerfume, 2, 6);
    AddDailyRevenue(item::FloraePerfume, 2, 6 * 160);
    AddDailySoldCount(item::FloraePerfume, 3, 1);
    for (int k = 0; k < 4; ++k) AddVisitor();  // today's visitors
    TNoteForm& note = OpenNotebook();
    ClickOn(*note.YesterdayButton);
    ASSERT_NE(SalesForm, nullptr);
    const TSalesForm::Row& r = SalesForm->Rows[0];
    EXPECT_EQ(Text(r.ItemName), "芙蘿蕾香水");
    EXPECT_EQ(Text(r.Exhibition), "□");
    EXPECT_EQ(Text(r.SalesNum), "6");
    EXPECT_EQ(Text(SalesForm->Rows[1].ItemName), "");
    EXPECT_EQ(Text(SalesForm->SalesGold), "960");
    EXPECT_EQ(Text(SalesForm->Guest), "0");
}

TEST_F(NotebookTest, TodaysReportRingsAtSevenOnAShopDayOnly) {
    struct Case {
        int day, hour;
        bool today, sound;
    };
    const Case cases[] = {
        {0, 19, true, true},    // a shop day at 19:00
        {6, 21, true, true},    // later in the evening
        {1, 18, true, false},   // before 19:00
        {5, 19, true, false},   // the rest day (day mod 6 = 5)
        {11, 20, true, false},  // the next rest day
        {1, 19, false, false},  // yesterday's report never rings
    };
    for (const Case& c : cases) {
        g_sounds.clear();
        SetGameDay(c.day);
        SetGameHour(c.hour);
        TNoteForm& note = OpenNotebook();
        ClickOn(c.today ? *note.TodayButton : *note.YesterdayButton);
        ASSERT_NE(SalesForm, nullptr);
        EXPECT_EQ(g_sounds, c.sound ? std::vector<int>{70} : std::vector<int>{})
            << "day " << c.day << " hour " << c.hour << (c.today ? " today" : " yesterday");
        ClickOn(*SalesForm->CloseButton);
        ClickOn(*NoteForm->CloseButton);
        ASSERT_EQ(NoteForm, nullptr);
    }
}

// ---- the notebook's other buttons

TEST_F(NotebookTest, TheWishesButtonTellsTheDaysCustomerMessages) {
    struct Case {
        std::vector<int> messages;
        int phase;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {{}, 2, {"沒有任何訊息。"}},
        {{64 + 3, 0}, 2, {"有客人想訂購活力香水。\n有客人買不起活力花香瓶。\n"}},
        {{12}, 2, {"有客人買不起黑貓果汁。\n"}},
        {{12}, 1, {}},  // only in the shop phase
    };
    for (const Case& c : cases) {
        ClearCustomerMessages();
        for (int m : c.messages) AddCustomerMessage(m);
        g_phase = c.phase;
        g_messages.clear();
        TNoteForm& note = OpenNotebook();
        ClickOn(*note.UsersButton);
        EXPECT_EQ(g_messages, c.shown);
        EXPECT_TRUE(note.Visible());
        delete NoteForm;
    }
}

TEST_F(NotebookTest, TheWishesNeedTheShopAndTheOrderListHidesTheNotebook) {
    shop.Hide();  // she is in town
    TNoteForm& note = OpenNotebook();
    EXPECT_FALSE(note.UsersButton->Enabled());
    delete NoteForm;
    shop.Show();
    TNoteForm& again = OpenNotebook();
    EXPECT_TRUE(again.UsersButton->Enabled());
    g_orderLists = 0;
    g_GameFlowHooks.ShowOrderList = [] {
        ++g_orderLists;
        g_noteShownDuringOrders = NoteForm && NoteForm->Visible();
    };
    ClickOn(*again.RequestButton);
    EXPECT_EQ(g_orderLists, 1);
    EXPECT_FALSE(g_noteShownDuringOrders);
    EXPECT_TRUE(again.Visible());
}

TEST_F(NotebookTest, ClosingTheNotebookAsksWhatToDoInTheShopPhase) {
    struct Case {
        int phase;
        std::vector<std::string> shown;
    };
    for (const Case& c : {Case{2, {"該做什麼好呢？"}}, Case{1, {}}}) {
        g_phase = c.phase;
        g_messages.clear();
        TNoteForm& note = OpenNotebook();
        ClickOn(*note.CloseButton);
        EXPECT_EQ(NoteForm, nullptr);
        EXPECT_EQ(g_messages, c.shown) << "phase " << c.phase;
    }
}

// The stage's and the map's menu buttons wait, pumping, until the window they opened
// is closed (with the notebook: until the reports it opened are closed too).
TEST_F(NotebookTest, TheStageAndMapButtonsWaitUntilTheWindowsAreClosed) {
    using Target = ui::Control* (*)();
    std::vector<Target> steps;
    std::vector<std::string> seen;
    // Clicks the controls one after the other, 200 ms apart, as a player would.
    std::function<void(std::size_t)> next = [&](std::size_t i) {
        if (i >= steps.size()) return;
        headless.Backend().ScriptAction(
            [&, i] {
                ui::Control* c = steps[i]();
                if (!c) return;
                seen.push_back(c->Name);
                const ui::Point p = c->ClientToScreen({4, 4});
                headless.Backend().Click(p.x, p.y);
                next(i + 1);
            },
            200);
    };
    steps = {[]() -> ui::Control* { return StatusForm ? StatusForm->CloseButton : nullptr; }};
    next(0);
    RunStatusWindow();
    EXPECT_EQ(StatusForm, nullptr);
    EXPECT_EQ(seen, std::vector<std::string>{"CloseButton"});

    seen.clear();
    steps = {
        []() -> ui::Control* { return NoteForm ? NoteForm->TodayButton : nullptr; },
        []() -> ui::Control* { return SalesForm ? SalesForm->CloseButton : nullptr; },
        []() -> ui::Control* { return NoteForm ? NoteForm->GraphButton : nullptr; },
        []() -> ui::Control* { return GraphForm ? GraphForm->CloseButton : nullptr; },
        []() -> ui::Control* { return NoteForm ? NoteForm->CloseButton : nullptr; },
    };
    next(0);
    RunNotebookWindow();
    EXPECT_EQ(NoteForm, nullptr);
    EXPECT_EQ(SalesForm, nullptr);
    EXPECT_EQ(GraphForm, nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"TodayButton", "CloseButton", "GraphButton",
                                              "CloseButton", "CloseButton"}));
}

// ---- the graph

class GraphTest : public NotebookTest {
protected:
    TGraphForm& OpenGraph() {
        TNoteForm& note = OpenNotebook();
        ClickOn(*note.GraphButton);
        EXPECT_FALSE(note.Visible());
        return *GraphForm;
    }
    ui::TColor Pixel(int x, int y) { return GraphForm->Image1->Picture().GetPixel(x, y); }
    // The bar of day d is blue from row 223 up to row 224 - h and ends there.
    void ExpectBar(int d, int h) {
        const int x = TGraphForm::kPlotLeft + d;
        EXPECT_EQ(Pixel(x, 223), ui::clBlue) << "day " << d;
        EXPECT_EQ(Pixel(x, 224 - h), ui::clBlue) << "day " << d << " height " << h;
        EXPECT_EQ(Pixel(x, 223 - h), ui::clWhite) << "day " << d << " height " << h;
    }
};

TEST_F(GraphTest, TheScaleIsFourTwoOrOnePixelsPerUnit) {
    // Sold per day from day 0; bar measured on `day`, its top off the grid rows.
    struct Case {
        std::vector<int> sold;
        int today, scale, day;
    };
    const Case cases[] = {
        {{19, 5, 19}, 2, 4, 0},   // nothing reaches 20
        {{20, 21, 39}, 2, 2, 1},  // a day of 20, none of 40
        {{20, 45, 39}, 2, 1, 1},  // one day of 40 or more switches it all
        {{45, 20, 3}, 2, 1, 0},   // the 40 first, a 20 after
        {{19, 21, 40}, 1, 2, 1},  // the day of 40 is after today: not counted
    };
    for (const Case& c : cases) {
        InitGameState();
        SetGameDay(c.today);
        for (std::size_t d = 0; d < c.sold.size(); ++d)
            AddDailySoldCount(item::VigourScentBottle, static_cast<int>(d), c.sold[d]);
        TGraphForm& g = OpenGraph();
        EXPECT_EQ(g.NumImg1->Visible(), c.scale == 1) << c.sold[0];
        EXPECT_EQ(g.NumImg2->Visible(), c.scale == 2) << c.sold[0];
        EXPECT_EQ(g.NumImg4->Visible(), c.scale == 4) << c.sold[0];
        ExpectBar(c.day, c.scale * c.sold[static_cast<std::size_t>(c.day)]);
        // The days to come are not whitened.
        EXPECT_NE(Pixel(TGraphForm::kPlotLeft + c.today + 1, 150), ui::clWhite);
        delete GraphForm;
        delete NoteForm;
    }
}

TEST_F(GraphTest, TheYearsTotalsAndATallBarStayInThePlot) {
    SetGameDay(4);
    const int sold[5] = {3, 0, 100, 7, 2};
    for (int d = 0; d < 5; ++d) {
        AddDailySoldCount(item::VigourPerfume, d, sold[d]);
        AddDailyRevenue(item::VigourPerfume, d, 120 * sold[d]);
    }
    AddDailySoldCount(item::VigourPerfume, 5, 9);  // tomorrow: not counted
    UnlockItem(item::VigourPerfume);               // a new game knows 0, 1 and 2 before it
    TGraphForm& g = OpenGraph();
    for (int k = 0; k < 3; ++k) ClickOn(*g.NextButton);  // 0 -> 1 -> 2 -> 3
    ASSERT_EQ(g.Item, 3);
    EXPECT_EQ(Text(g.Page), "No. 4");
    EXPECT_EQ(Text(g.ItemName00), "活力香水");
    EXPECT_EQ(Text(g.SalesNum), "112");
    EXPECT_EQ(Text(g.SalesGold), "13440");
    EXPECT_TRUE(g.NumImg1->Visible());
    ExpectBar(0, 3);
    EXPECT_EQ(Pixel(TGraphForm::kPlotLeft + 1, 223), ui::clWhite);  // nothing sold
    EXPECT_EQ(Pixel(TGraphForm::kPlotLeft + 2, TGraphForm::kPlotTop), ui::clBlue);
    EXPECT_NE(Pixel(TGraphForm::kPlotLeft + 2, TGraphForm::kPlotTop - 2), ui::clBlue);
}

TEST_F(GraphTest, PagingVisitsTheKnownGoodsOfTheChosenAttribute) {
    for (int i = 0; i < 107; ++i) LockItem(i);
    for (int i : {3, 5, 12, 64}) UnlockItem(i);
    TGraphForm& g = OpenGraph();
    EXPECT_EQ(g.Item, 0);
    // 火 (3) and 水 (5, 12) are known; 光, 風 (only a material), 土 and 闇 are not.
    const bool enabled[6] = {false, true, true, false, false, false};
    for (int a = 0; a < 6; ++a) EXPECT_EQ(g.AtrButton[a]->Enabled(), enabled[a]) << a;
    std::vector<int> seen;
    for (int k = 0; k < 4; ++k) {
        ClickOn(*g.NextButton);
        seen.push_back(g.Item);
    }
    EXPECT_EQ(seen, (std::vector<int>{3, 5, 12, 3}));
    ClickOn(*g.BackButton);
    EXPECT_EQ(g.Item, 12);
    ClickOn(*g.AtrButton[1]);  // 火: 12 does not match, on to the next 火 item
    EXPECT_EQ(g.AttributeFilter, 1);
    EXPECT_EQ(g.Item, 3);
    ClickOn(*g.NextButton);  // 3 is the only one: nothing changes
    EXPECT_EQ(g.Item, 3);
    ClickOn(*g.AtrButton[1]);  // released
    EXPECT_EQ(g.AttributeFilter, -1);
    ClickOn(*g.NextButton);
    EXPECT_EQ(g.Item, 5);
    ClickOn(*g.CloseButton);
    EXPECT_EQ(GraphForm, nullptr);
    ASSERT_NE(NoteForm, nullptr);
    EXPECT_TRUE(NoteForm->Visible());
}

// ---- the status window

TEST_F(NotebookTest, TheStatusShowsTheFaceOfHerConditionAndHerNumbers) {
    struct Case {
        int condition;
        const char* face;
        const char* text;
    };
    const Case cases[] = {
        {0, "palfc0.bmp", "健康！！"}, {1, "palfc1.bmp", "睏倦"}, {2, "palfc2.bmp", "疲憊"}};
    SetGameLevel(9);
    SetExperience(42);
    SetMoney(3456);
    SetReputation(61);
    for (const Case& c : cases) {
        SetCondition(c.condition);
        OpenStatus();
        ASSERT_NE(StatusForm, nullptr);
        ui::Bitmap expected;
        ASSERT_TRUE(LoadShopPicture(c.face, expected)) << c.face;
        const ui::Bitmap& face = StatusForm->FaceImg->Picture();
        ASSERT_EQ(face.Width(), 120);
        ASSERT_EQ(face.Height(), 120);
        for (int y = 0; y < 120; y += 7)
            for (int x = 0; x < 120; x += 7)
                ASSERT_EQ(face.GetPixel(x, y), expected.GetPixel(x, y)) << c.face << " " << x;
        EXPECT_EQ(Text(StatusForm->Condition), c.text);
        EXPECT_EQ(Text(StatusForm->Level), "☆☆☆");  // 1 + 9 / 4
        EXPECT_EQ(Text(StatusForm->Experience), "42/100");
        EXPECT_EQ(Text(StatusForm->Money), "3456Ｇ");
        EXPECT_EQ(Text(StatusForm->Popularity), "61");
        ClickOn(*StatusForm->CloseButton);
        EXPECT_EQ(StatusForm, nullptr);
    }
}

TEST_F(NotebookTest, ThePalfcFacesDifferByCondition) {
    ui::Bitmap a, b, c;
    ASSERT_TRUE(LoadShopPicture(StatusFaceName(0), a));
    ASSERT_TRUE(LoadShopPicture(StatusFaceName(1), b));
    ASSERT_TRUE(LoadShopPicture(StatusFaceName(2), c));
    EXPECT_EQ(StatusFaceName(7), "palfc2.bmp");
    auto differ = [](const ui::Bitmap& x, const ui::Bitmap& y) {
        for (int j = 0; j < 120; ++j)
            for (int i = 0; i < 120; ++i)
                if (x.GetPixel(i, j) != y.GetPixel(i, j)) return true;
        return false;
    };
    EXPECT_TRUE(differ(a, b));
    EXPECT_TRUE(differ(b, c));
}

}  // namespace
