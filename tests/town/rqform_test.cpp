// The order list window: one page per held order, its arrows and counter, the date and
// reward in full-width digits, and the title's wrap at 40 bytes.
#include "town/Rqform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Form.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Orders.h"

namespace {

std::string U(const ui::Label* l) { return ui::Big5ToUtf8(l->Caption()); }

class RqFormTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
        InitGameState();
        GameFlow = new TEvControler();
        ev = EventServerDbg;
        Orders.fill(OrderSlot{});
    }
    void TearDown() override {
        delete GameFlow;
        GameFlow = nullptr;
    }
    // The window over the held orders, as ShowOrderList fills it, shown.
    void Open() {
        for (int i = 0; i < kOrderSlotCount; ++i) texts[i] = OrderTexts()[Orders[i].Id];
        form = std::make_unique<TRqFm>();
        form->m_Orders = &Orders;
        form->m_PageTexts = &texts;
        form->Show();
    }
    void Hold(int k, int day) {
        SetGameDay(day);
        ev->AcceptOrder(k);
    }

    TEventServerDbg* ev = nullptr;
    std::array<std::string, kOrderSlotCount> texts;
    std::unique_ptr<TRqFm> form;
};

TEST_F(RqFormTest, WithNoOrdersThePageSaysSo) {
    Open();
    EXPECT_EQ(U(form->m_LblCap0), "目前沒有訂單");
    EXPECT_EQ(U(form->m_LblCap1), "");
    EXPECT_EQ(U(form->m_LblClose), "") << "no date";
    EXPECT_EQ(U(form->m_LblRwd), "") << "no reward";
    EXPECT_EQ(form->Label1->Caption(), "1/1");
    EXPECT_FALSE(form->m_BtnPre->Enabled());
    EXPECT_FALSE(form->m_BtnNxt->Enabled());
    form->m_BtnNxtClick();
    EXPECT_EQ(form->m_Page, 0);
}

TEST_F(RqFormTest, TheArrowsWalkTheHeldOrders) {
    Hold(0, 280);  // due 292: month 1, day 5 of the next year
    Hold(1, 40);
    Hold(5, 40);
    Open();
    struct Page {
        int page;
        const char *title, *date, *reward, *counter;
        bool pre, nxt;
    };
    const Page pages[] = {
        {0, "願望秘石２０個", "１月５日", "１００００", "1/3", false, true},
        {1, "黑貓魔法杖１０支", "３月５日", "１２００", "2/3", true, true},
        {2, "加速咒文藥劑６０瓶", "３月１７日", "４８００", "3/3", true, false},
    };
    auto check = [&](const Page& p) {
        SCOPED_TRACE(p.page);
        EXPECT_EQ(form->m_Page, p.page);
        EXPECT_EQ(U(form->m_LblCap0), p.title);
        EXPECT_EQ(U(form->m_LblClose), p.date);
        EXPECT_EQ(U(form->m_LblRwd), p.reward);
        EXPECT_EQ(form->Label1->Caption(), p.counter);
        EXPECT_EQ(form->m_BtnPre->Enabled(), p.pre);
        EXPECT_EQ(form->m_BtnNxt->Enabled(), p.nxt);
    };
    check(pages[0]);
    form->m_BtnPreClick();  // nothing before the first page
    check(pages[0]);
    form->m_BtnNxtClick();
    check(pages[1]);
    form->m_BtnNxtClick();
    check(pages[2]);
    form->m_BtnNxtClick();  // no fourth order
    check(pages[2]);
    form->m_BtnPreClick();
    check(pages[1]);
}

TEST_F(RqFormTest, FourOrdersStopTheNextArrowOnTheLastPage) {
    for (int k = 0; k < 4; ++k) Hold(k, 40);
    Open();
    for (int i = 0; i < 3; ++i) form->m_BtnNxtClick();
    EXPECT_EQ(form->m_Page, 3);
    EXPECT_EQ(form->Label1->Caption(), "4/4");
    EXPECT_FALSE(form->m_BtnNxt->Enabled());
    form->m_BtnNxtClick();
    EXPECT_EQ(form->m_Page, 3);
}

TEST_F(RqFormTest, RemovingTheMiddleOfThreeLeavesTwoPages) {
    Hold(0, 40);
    Hold(1, 40);
    Hold(2, 40);
    ev->RemoveOrder(685);
    Open();
    EXPECT_EQ(form->Label1->Caption(), "1/2");
    form->m_BtnNxtClick();
    EXPECT_EQ(U(form->m_LblCap0), "天使之翼２０個");
    EXPECT_FALSE(form->m_BtnNxt->Enabled());
}

// Big5 texts of n two-byte characters, and an ASCII byte to shift them by one.
std::string Chars(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += B5("訂");
    return s;
}

TEST_F(RqFormTest, ATitleWrapsAtFortyBytesWithoutSplittingACharacter) {
    Open();
    struct Wrap {
        std::string text;
        std::size_t line0, line1, line2;  // bytes on the first three labels
    };
    const Wrap cases[] = {
        {Chars(22), 40, 4, 0},                  // the 44-byte title
        {Chars(20), 40, 0, 0},                  // exactly one line
        {"A" + Chars(21), 39, 4, 0},            // a lead byte at byte 40 moves down
        {"AB" + Chars(21), 40, 4, 0},           // the pairs fall even again
        {Chars(3) + "\n" + Chars(2), 6, 4, 0},  // a line feed ends the line early
        {Chars(45), 40, 40, 10},
    };
    for (const Wrap& w : cases) {
        SCOPED_TRACE(w.text.size());
        for (ui::Label* l : {form->m_LblCap0, form->m_LblCap1, form->m_LblCap2}) l->SetCaption("");
        form->WrapOrderText(w.text);
        EXPECT_EQ(form->m_LblCap0->Caption().size(), w.line0);
        EXPECT_EQ(form->m_LblCap1->Caption().size(), w.line1);
        EXPECT_EQ(form->m_LblCap2->Caption().size(), w.line2);
        const std::string joined =
            form->m_LblCap0->Caption() + form->m_LblCap1->Caption() + form->m_LblCap2->Caption();
        std::string flat = w.text;
        flat.erase(std::remove(flat.begin(), flat.end(), '\n'), flat.end());
        EXPECT_EQ(joined, flat) << "nothing lost, nothing split";
    }
    // Beyond five lines nothing more is shown.
    form->WrapOrderText(Chars(130));
    EXPECT_EQ(form->m_LblRwd->Caption().size(), 40u);
}

TEST_F(RqFormTest, APageTitleWrapsOntoTheSecondLabel) {
    Hold(0, 40);
    for (int i = 0; i < kOrderSlotCount; ++i) texts[i] = OrderTexts()[Orders[i].Id];
    texts[0] = Chars(22);
    form = std::make_unique<TRqFm>();
    form->m_Orders = &Orders;
    form->m_PageTexts = &texts;
    form->Show();
    EXPECT_EQ(form->m_LblCap0->Caption(), Chars(20));
    EXPECT_EQ(form->m_LblCap1->Caption(), Chars(2));
    EXPECT_EQ(U(form->m_LblClose), "３月５日") << "the date keeps its own label";
}

TEST_F(RqFormTest, DigitsOfAPageTextBecomeFullWidth) {
    EXPECT_EQ(ui::Big5ToUtf8(TRqFm::ToFullWidthDigits(B5("訂單") + "12")), "訂單１２");
    EXPECT_EQ(ui::Big5ToUtf8(TRqFm::ToFullWidthDigits("")), "");
}

// The list from the stage's menu: shown modally over the shop screen, closed by its
// own button; the picture names itself.
TEST_F(RqFormTest, ShowOrderListOpensAndClosesTheWindow) {
    Hold(0, 280);
    ui::ScopedTranscript transcript;
    const std::string dir = test::ScratchDir("rqform_screen");
    bool seen = false;
    headless.Backend().AddResponder([&] {
        for (ui::Form* f : ui::Forms()) {
            auto* rq = dynamic_cast<TRqFm*>(f);
            if (!rq || !rq->Visible()) continue;
            seen = true;
            rq->Repaint();
            headless.Backend().WriteScreenPng(dir + "/rqform.png");
            const ui::Rect r = rq->m_BtnHide->BoundsRect();
            headless.Backend().Click(rq->Left() + r.Left + 10, rq->Top() + r.Top + 8);
            headless.Backend().ClearResponders();
            return true;
        }
        return false;
    });
    ev->ShowOrderList();
    EXPECT_TRUE(seen);
    bool recorded = false;
    for (const ui::TranscriptEntry& e : transcript->Entries()) {
        EXPECT_NE(e.kind, "error") << e.text;
        if (e.kind == "orders" && e.text.find("１月５日") != std::string::npos) recorded = true;
    }
    EXPECT_TRUE(recorded);
    EXPECT_TRUE(ui::FileExists(dir + "/rqform.png"));
}

}  // namespace
