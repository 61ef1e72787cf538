// The developer's event debug window through the real start-up forms: the table
// chooser and its numbering, debug mode for exactly one run, empty slots, the check
// run with the event's own conditions, flags, variables, the place and the timer step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Big5.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "story/EventTables.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/Debugformnk.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

namespace {

std::vector<std::string> ran;

// A flowerbed event that needs GardenVisit4 set and GardenVisit5 clear; it sets GardenVisit5.
bool Flowerbed() {
    if (!EventServerDbg->ChkFlg(flag::GardenVisit4, true) ||
        !EventServerDbg->ChkFlg(flag::GardenVisit5, false))
        return false;
    ran.push_back("flowerbed");
    EventServerDbg->SetFlg(flag::GardenVisit5, true);
    return true;
}
bool Move() {
    ran.push_back("move");
    return true;
}
bool Search() {
    ran.push_back("search");
    return true;
}
std::int32_t Ending() {
    ran.push_back("ending");
    return -1;
}

class DebugWindowTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        ran.clear();
        g_MainFormHooks = {};
        headless.AnswerMessageBoxes(ui::IDCANCEL);
        savedFlowerbed = FlowerbedEvents;
        savedMove = MoveEvents;
        savedSearch = SearchEvents;
        savedEndings = EndingEvents;
        FlowerbedEvents = {};
        FlowerbedEvents[0] = Flowerbed;
        MoveEvents = {};
        MoveEvents[0] = Move;
        SearchEvents = {};
        SearchEvents[0] = Search;
        EndingEvents = {};
        EndingEvents[3] = Ending;
        CreateStartupForms();
        ASSERT_NE(DbgFm, nullptr);
        ASSERT_NE(EventServerDbg, nullptr);
        fm = DbgFm;
    }
    void TearDown() override {
        DestroyStartupForms();
        g_MainFormHooks = {};
        FlowerbedEvents = savedFlowerbed;
        MoveEvents = savedMove;
        SearchEvents = savedSearch;
        EndingEvents = savedEndings;
    }
    void Choose(int type, const std::string& index) {
        fm->m_UDnTpSel->SetPosition(type);
        fm->m_EdtEvIx->SetText(index);
    }

    TDbgFm* fm = nullptr;
    EventTable savedFlowerbed{}, savedMove{}, savedSearch{};
    EndingTable savedEndings{};
};

TEST_F(DebugWindowTest, IsMadeHiddenAtStartUp) {
    EXPECT_FALSE(fm->Visible());
    EXPECT_FALSE(fm->m_BtnEvExec->Enabled());
    EXPECT_TRUE(fm->m_BtnDbgMode->Enabled());
    EXPECT_EQ(ui::Big5ToUtf8(fm->m_BtnEvExec->Caption()), "實行");
    EXPECT_EQ(ui::Big5ToUtf8(fm->m_BtnDbgMode->Caption()), "除虫模式");
    EXPECT_EQ(fm->m_UDnTpSel->Min, 0);
    EXPECT_EQ(fm->m_UDnTpSel->Max, 9);
}

TEST_F(DebugWindowTest, RunWithoutDebugModeDoesNothing) {
    Choose(6, "0");
    fm->m_BtnEvExecClick();
    EXPECT_TRUE(ran.empty());
    EXPECT_FALSE(EventServerDbg->TestFlg(flag::GardenVisit5));
    EXPECT_EQ(fm->m_EdtEvIx->Text(), "0");
}

TEST_F(DebugWindowTest, DebugModeRunsOneFlowerbedEventWithEveryConditionTrue) {
    Choose(6, "0");
    // Flag 500 is clear and the event's own conditions would refuse it.
    ASSERT_FALSE(EventServerDbg->TestFlg(flag::GardenVisit4));
    fm->m_BtnDbgMode->Click();
    EXPECT_EQ(EventServerDbg->ConditionOverride, 1);
    EXPECT_FALSE(fm->m_BtnDbgMode->Enabled());
    EXPECT_TRUE(fm->m_BtnEvExec->Enabled());
    fm->m_BtnEvExec->Click();
    EXPECT_EQ(ran, std::vector<std::string>{"flowerbed"});
    EXPECT_TRUE(EventServerDbg->TestFlg(flag::GardenVisit5));
    // Debug mode is off again after the one run.
    EXPECT_EQ(EventServerDbg->ConditionOverride, 0);
    EXPECT_TRUE(fm->m_BtnDbgMode->Enabled());
    EXPECT_FALSE(fm->m_BtnEvExec->Enabled());
    fm->m_BtnEvExecClick();
    EXPECT_EQ(ran.size(), 1u);
}

// The game's own day-start slot 2 (the flowerbed table has no events of its own yet):
// its conditions (VolcanoNotice, VolcanoCommission and VolcanoCommissionDone) fail, so a
// check run leaves it; with debug mode the one run goes through and sets
// CommissionExpired to today.
TEST_F(DebugWindowTest, DebugModeRunsARealDayStartEventWhoseConditionsFail) {
    ASSERT_NE(DayStartEvents[2], nullptr);
    SetGameDay(40);
    DayMarks = {};
    Choose(4, "2");
    fm->m_BtnChkClick();
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 0);
    fm->m_BtnDbgMode->Click();
    fm->m_BtnEvExec->Click();
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 40);
    EXPECT_EQ(EventServerDbg->ConditionOverride, 0);
    EXPECT_EQ(fm->m_EdtEvIx->Text(), "2");
}

// The game's own flowerbed slot 0 (芙蘿蕾's birthday, day 23 only) run on day 5 with
// debug mode: it plays through, gives its flowers and sets its flag; debug mode is off
// after it.
TEST_F(DebugWindowTest, DebugModeRunsTheGamesFlowerbedEventOnAnotherDay) {
    ASSERT_NE(savedFlowerbed[0], nullptr);
    FlowerbedEvents[0] = savedFlowerbed[0];
    SetGameDay(5);
    SetGameHour(10);
    SetItemStock(item::FloraeFlowers, 0);
    ASSERT_FALSE(EventServerDbg->TestFlg(flag::BirthdayBouquet));
    Choose(6, "0");
    fm->m_BtnChkClick();  // its own conditions refuse it
    EXPECT_FALSE(EventServerDbg->TestFlg(flag::BirthdayBouquet));
    test::EventResponders player(headless.Backend());
    fm->m_BtnDbgMode->Click();
    fm->m_BtnEvExec->Click();
    EXPECT_TRUE(EventServerDbg->TestFlg(flag::BirthdayBouquet));
    EXPECT_EQ(ItemStock(item::FloraeFlowers), 10);
    EXPECT_GT(player.linesAcknowledged, 0);
    EXPECT_EQ(EventServerDbg->ConditionOverride, 0);
    EXPECT_TRUE(fm->m_BtnDbgMode->Enabled());
}

TEST_F(DebugWindowTest, EmptyOrOutOfRangeSlotsSayTheEventDoesNotExist) {
    struct Case {
        int type;
        std::string index;
    } cases[] = {{6, "5"}, {6, "200"}, {6, "-1"}, {0, "29"}, {7, "0"}, {6, "x"}};
    for (const Case& c : cases) {
        Choose(c.type, c.index);
        fm->m_BtnDbgModeClick();
        fm->m_BtnEvExecClick();
        EXPECT_EQ(ui::Big5ToUtf8(fm->m_EdtEvIx->Text()), c.index + "號事件並不存在")
            << c.type << " " << c.index;
        EXPECT_EQ(EventServerDbg->ConditionOverride, 0);
        EXPECT_TRUE(fm->m_BtnDbgMode->Enabled());
    }
    EXPECT_TRUE(ran.empty());
}

TEST_F(DebugWindowTest, TypesNumberMoveTwoSearchThreeAndEndingsSeven) {
    Choose(2, "0");
    fm->m_BtnChkClick();
    Choose(3, "0");
    fm->m_BtnChkClick();
    Choose(7, "3");
    fm->m_BtnChkClick();
    EXPECT_EQ(ran, (std::vector<std::string>{"move", "search", "ending"}));
}

TEST_F(DebugWindowTest, ASetFlagIsReadByTheConditionsOfACheckRun) {
    Choose(6, "0");
    fm->m_BtnChkClick();
    EXPECT_TRUE(ran.empty());  // GardenVisit4 clear: the event's own conditions refuse

    fm->m_EdtFlNum->SetText("500");
    fm->m_CbxFlag->SetChecked(true);
    fm->m_BtnFlSetClick();
    EXPECT_TRUE(EventServerDbg->TestFlg(flag::GardenVisit4));
    fm->m_BtnFlChkClick();
    ASSERT_EQ(fm->m_MemChk->Lines().size(), 16u);
    EXPECT_EQ(fm->m_MemChk->Lines()[0], "0:500: T");
    EXPECT_EQ(fm->m_MemChk->Lines()[1], "1:501: F");
    EXPECT_EQ(fm->m_MemChk->Lines()[15], "15:515: F");

    fm->m_BtnChkClick();
    EXPECT_EQ(ran, std::vector<std::string>{"flowerbed"});
    fm->m_BtnFlChkClick();
    EXPECT_EQ(fm->m_MemChk->Lines()[1], "1:501: T");

    // Clearing it again from the window.
    fm->m_CbxFlag->SetChecked(false);
    fm->m_BtnFlSetClick();
    EXPECT_FALSE(EventServerDbg->TestFlg(flag::GardenVisit4));
}

TEST_F(DebugWindowTest, VariablesAndPlaceAreShown) {
    EventServerDbg->SetVariable(3, 77);
    EventServerDbg->SetVariable(4, -5);
    fm->Edit1->SetText("3");
    fm->m_BtnValClick();
    ASSERT_EQ(fm->m_MemChk->Lines().size(), 16u);
    EXPECT_EQ(fm->m_MemChk->Lines()[0], "0:3:77");
    EXPECT_EQ(fm->m_MemChk->Lines()[1], "1:4:-5");
    fm->m_BtnValSetClick();
    EXPECT_EQ(fm->m_MemChk->Lines()[1], "1:4:-5");

    GameFlow->Place = place::RivalShopInside;
    fm->Button1Click();
    EXPECT_EQ(fm->m_EdtPos->Text(), "13");
}

TEST_F(DebugWindowTest, TypeNameFollowsTheSelectorOnRefresh) {
    fm->m_UDnTpSel->SetPosition(6);
    fm->ShowTypeName();
    EXPECT_EQ(ui::Big5ToUtf8(fm->m_LblTpName->Caption()), "花圃事件");
    fm->m_UDnTpSel->Step(ui::UDBtnType::btPrev);
    ASSERT_TRUE(g_GameFlowHooks.ShowTypeName);
    g_GameFlowHooks.ShowTypeName();  // as the controller's refresh calls it
    EXPECT_EQ(ui::Big5ToUtf8(fm->m_LblTpName->Caption()), "回合前頭事件");
    const std::pair<int, const char*> names[] = {
        {0, "觀看指令事件"}, {1, "交談指令事件"}, {2, "移動時的事件"}, {3, "尋找指令事件"},
        {4, "每日起始事件"}, {7, "結局事件"},     {8, "交貨事件"},     {9, "顧客委託事件"}};
    for (const auto& [type, name] : names)
        EXPECT_EQ(ui::Big5ToUtf8(TDbgFm::EventTypeName(type)), name) << type;
}

TEST_F(DebugWindowTest, TimerStepLeavesTheMainTimerRunning) {
    MainForm->Timer1.SetEnabled(false);
    fm->m_BtnTimerClick();
    EXPECT_TRUE(MainForm->Timer1.Enabled());
}

}  // namespace
