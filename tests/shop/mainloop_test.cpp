// The main loop through the real pump on the virtual clock: start-up, pacing, the three
// phases, the ending, the mixing job's end and abandonment, and the close query.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "shop/Calendar.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Mixconfirm.h"
#include "shop/Mixing.h"
#include "shop/Saleslist.h"
#include "shop/Shop.h"
#include "story/EventTables.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/SoundTables.h"
#include "town/Srcdbtxtform21.h"

namespace {

std::vector<std::string> calls;
int endingNumber = -1;

std::string Calls(const std::string& prefix) {
    std::string out;
    for (const std::string& c : calls)
        if (c.rfind(prefix, 0) == 0) out += (out.empty() ? "" : ",") + c;
    return out;
}

std::int32_t Ending() { return endingNumber; }

class MainLoopTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        calls.clear();
        endingNumber = -1;
        // The evening customers would stop the hours for their dialogue; this test is
        // about the loop, so the customer-request table stays empty.
        savedCustomerRequests = CustomerRequestEvents;
        CustomerRequestEvents = {};
        folder = test::ScratchDir(std::string("mainloop_") +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        headless.Backend().SetMessageBoxResponder([this](const ui::MessageBoxRequest& r) {
            boxes.push_back(ui::Big5ToUtf8(r.text) + "|" + ui::Big5ToUtf8(r.caption));
            return quitAnswer;
        });
        g_MainFormHooks = {};
        MainFormHooks& h = g_MainFormHooks;
        h.ShowTitle = [] { calls.push_back("title"); };
        h.PlayEnding = [](int n) { calls.push_back("ending " + std::to_string(n)); };
        EndingEvents = {};
        CreateStartupForms();
        // Past start-up: the title is shown at the first idle call, no step runs yet.
        headless.RunFor(10);
        startup = calls;
        calls.clear();
    }
    void TearDown() override {
        CustomerRequestEvents = savedCustomerRequests;
        DestroyStartupForms();
        g_MainFormHooks = {};
        EndingEvents = {};
        SetRandomSource(nullptr);
        ui::SetProgramFolder(ui::DefaultGameFolder());
    }

    // What the title's New Game leaves: the shop scene built and shown, the ticks on.
    void StartGame(int day, int hour) {
        ShopForm->BuildShopScene();
        ShopForm->TitlePanel->Hide();
        ShopForm->Shop2FPanel->Hide();
        ShopForm->ShowShopScreen();
        SetGameDay(day);
        SetGameHour(hour);
        // 蕾妮特's afternoon visit would stop the hours for its dialogue; this test is
        // about the loop, so she has been met already.
        EventServerDbg->SetFlg(flag::RenetteMet, true);
        MainForm->ResumeTicks();
    }
    // A mixing job with `hours` left.
    static void Mixing(int hours, int item = 3, int batches = 2, int yield = 20) {
        g_GameState.MixJob = {static_cast<std::uint8_t>(item), static_cast<std::uint8_t>(batches),
                              static_cast<std::uint8_t>(yield), static_cast<std::uint8_t>(hours)};
    }
    static void SetFastMode(bool on) { ShopForm->SpeedButton->SetDown(on); }
    int Hours() const { return GameDay() * 24 + GameHour(); }
    // Runs the main loop up to a tick count (steps fall on multiples of 150 ms).
    void RunTo(std::uint32_t tick) { headless.RunFor(tick - headless.Now()); }

    std::string folder;
    std::vector<std::string> startup;
    std::vector<std::string> boxes;
    int quitAnswer = ui::IDNO;
    EventTable savedCustomerRequests{};
};

TEST_F(MainLoopTest, StartUpShowsTheTitleOnceAndRunsNoStepUntilAGameStarts) {
    ShopForm->BuildShopScene();  // even with a scene and a running job ...
    ASSERT_EQ(MainForm->SceneActive, 1);
    Mixing(40);
    SetGameHour(10);
    headless.RunFor(20000);
    EXPECT_EQ(startup, std::vector<std::string>{"title"});
    EXPECT_EQ(Calls("title"), "");
    EXPECT_FALSE(MainForm->Visible());
    EXPECT_EQ(GameHour(), 10);  // ... no hour passes
    EXPECT_EQ(MainForm->TickPhaseValue(), 0);
    EXPECT_EQ(MixHoursLeft(), 40);
    EXPECT_EQ(MainForm->TickBusy, 1);

    MainForm->ResumeTicks();
    headless.RunFor(20000);
    EXPECT_GT(GameHour(), 10);
    EXPECT_EQ(Calls("title"), "");
}

TEST_F(MainLoopTest, StepsComeEvery150MsAnd20MsInFastMode) {
    for (bool fast : {false, true}) {
        SetFastMode(fast);
        std::vector<std::uint32_t> steps;
        const int id = headless.Backend().AddResponder([&] {
            if (steps.empty() || steps.back() != MainForm->LastTick)
                steps.push_back(MainForm->LastTick);
            return false;
        });
        StartGame(0, 12);
        headless.RunFor(1000);
        headless.Backend().RemoveResponder(id);
        ASSERT_GE(steps.size(), 5u);
        for (std::size_t i = 2; i < steps.size(); ++i)
            EXPECT_EQ(steps[i] - steps[i - 1], fast ? 20u : 150u)
                << "fast " << fast << " step " << i;
    }
}

TEST_F(MainLoopTest, MixingHoursPassByThemselvesTwelveShopStepsAnHour) {
    StartGame(3, 20);
    Mixing(10);
    // phase 0, phase 1, then twelve shop steps: the hour passes at the twelfth.
    RunTo(150 * 14 - 1);
    EXPECT_EQ(GameHour(), 20);
    RunTo(150 * 14 + 1);
    EXPECT_EQ(GameHour(), 21);
    EXPECT_EQ(MainForm->TickPhaseValue(), 0);
}

TEST_F(MainLoopTest, WithoutMixingTheClockStandsStill) {
    ui::ScopedTranscript transcript;
    StartGame(3, 12);
    headless.RunFor(60000);
    EXPECT_EQ(GameHour(), 12);
    EXPECT_EQ(MainForm->TickPhaseValue(), 2);
    EXPECT_EQ(transcript->Texts("message"), std::vector<std::string>{"該做什麼好呢？"})
        << "the idle prompt, once an hour";
}

TEST_F(MainLoopTest, FastForwardPassesAnHourEveryShopStep) {
    StartGame(3, 12);
    Mixing(30);
    MainForm->FastForward = 1;
    headless.RunFor(150 * 3 * 4 + 1);  // four hours of phase 0, 1, 2
    EXPECT_EQ(GameHour(), 16);
}

TEST_F(MainLoopTest, EndingAtNineOfTheLastDaySavesAndShowsTheTitle) {
    struct Case {
        int hour;     // where the game stands
        int advance;  // hours passed at once before the next step
        int ending;
    };
    for (const Case& c : {Case{8, 1, 0}, Case{8, 3, 0}, Case{23, 11, 4}, Case{9, 0, -1}}) {
        SCOPED_TRACE(c.hour * 100 + c.advance);
        calls.clear();
        std::filesystem::remove(folder + "/QDV0.QDV");
        endingNumber = c.ending;
        EndingEvents[0] = &Ending;
        ui::SetProgramFolder(ui::DefaultGameFolder());
        StartGame(c.hour == 23 ? 286 : 287, c.hour);
        ui::SetProgramFolder(folder);  // where the system file is saved
        ShopForm->OpeningPlayed = 1;
        Mixing(50);
        for (int i = 0; i < c.advance; ++i) AdvanceHour();
        headless.RunFor(300);
        EXPECT_TRUE(std::filesystem::exists(folder + "/QDV0.QDV")) << "the system file is saved";
        EXPECT_EQ(Calls("ending"), c.ending > 0 ? "ending " + std::to_string(c.ending) : "");
        EXPECT_EQ(Calls("title"), "title");
        EXPECT_EQ(ShopForm->SceneBuilt, 0);
        EXPECT_FALSE(ShopForm->Visible());
        EXPECT_EQ(ShopForm->OpeningPlayed, 0);
        // Nothing runs afterwards until the next game starts.
        const int at = Hours();
        headless.RunFor(30000);
        EXPECT_EQ(Hours(), at);
        EXPECT_LE(GameDay(), 287);
        EXPECT_EQ(MainForm->TickBusy, 1);
    }
}

// The year can end while a mixing job is skipped through; the next game, with no job,
// still waits for the player.
TEST_F(MainLoopTest, ASkipLeftOnAtTheEndingDoesNotRunTheNextGamesClock) {
    endingNumber = 0;
    EndingEvents[0] = &Ending;
    StartGame(287, 8);
    ui::SetProgramFolder(folder);  // where the system file is saved
    Mixing(50);
    MainForm->FastForward = 1;
    headless.RunFor(3000);
    ASSERT_EQ(Calls("title"), "title");
    g_GameState.MixJob = {};
    ui::SetProgramFolder(ui::DefaultGameFolder());
    StartGame(0, 9);
    headless.RunFor(60000);
    EXPECT_EQ(Hours(), 9);
    EXPECT_EQ(MainForm->FastForward, 0);
}

TEST_F(MainLoopTest, EndingIsNotDueBeforeNineOfTheLastDay) {
    EndingEvents[0] = &Ending;
    StartGame(287, 8);
    ui::SetProgramFolder(folder);
    headless.RunFor(3000);
    EXPECT_EQ(Calls("title"), "");
    EXPECT_FALSE(std::filesystem::exists(folder + "/QDV0.QDV"));
    EXPECT_EQ(MainForm->TickPhaseValue(), 2);
}

TEST_F(MainLoopTest, MixingStillRunningAtSixIsAbandoned) {
    ui::ScopedTranscript transcript;
    StartGame(40, 5);
    SetCondition(1);
    const int stock = ItemStock(item::VigourPerfume);
    Mixing(10);
    StartMixAnimation();
    ASSERT_TRUE(HasMixAnimation());
    MainForm->FastForward = 1;
    AdvanceHour();  // 06:00
    headless.RunFor(150 * 2);
    EXPECT_EQ(MixHoursLeft(), 0);
    EXPECT_EQ(GameCondition(), 2);
    EXPECT_EQ(ItemStock(item::VigourPerfume), stock) << "nothing is made";
    EXPECT_EQ(ItemMixConfirmForm, nullptr);
    EXPECT_EQ(ShopForm->PendingAction, kPendingBed);
    EXPECT_FALSE(HasMixAnimation());
    EXPECT_EQ(transcript->Texts("message"),
              std::vector<std::string>{"……好睏噢。\n還是別做了，去睡覺吧。"});
    EXPECT_EQ(MainForm->FastForward, 0);
}

TEST_F(MainLoopTest, ConditionAfterAbandonIsCappedAtExhausted) {
    StartGame(40, 6);
    SetCondition(2);
    Mixing(10);
    headless.RunFor(300);
    EXPECT_EQ(GameCondition(), 2);
}

TEST_F(MainLoopTest, FinishedMixOpensTheResultAndStopsTheHoursUntilItCloses) {
    ui::ScopedTranscript transcript;
    StartGame(10, 14);
    // The first own potion's scene would follow the mix at the next turn; it has played.
    EventServerDbg->SetFlg(flag::FirstOwnPotion, true);
    const int experience = GameExperience();
    Mixing(1, 7, 3, 30);
    MainForm->FastForward = 1;
    headless.RunFor(151);
    ASSERT_NE(ItemMixConfirmForm, nullptr);
    EXPECT_EQ(transcript->Texts("sound"), std::vector<std::string>{SoundNames[59]});
    EXPECT_EQ(MainForm->TickPhaseValue(), -1);
    EXPECT_EQ(GameFlow->MixedItem, 7);
    EXPECT_EQ(GameExperience(), experience + 3);
    EXPECT_EQ(MainForm->FastForward, 0);

    headless.RunFor(60000);
    EXPECT_EQ(GameHour(), 14) << "no hour passes while the result is open";
    EXPECT_EQ(MainForm->TickPhaseValue(), -1);

    ItemMixConfirmForm->CloseButtonClick();  // its close starts the phase again
    headless.RunFor(450);
    EXPECT_EQ(MainForm->TickPhaseValue(), 2);
}

TEST_F(MainLoopTest, AFailedMixSoundsItsOwnSound) {
    ui::ScopedTranscript transcript;
    StartGame(10, 14);
    Mixing(1, 7, 3, 0);
    headless.RunFor(151);
    EXPECT_EQ(transcript->Texts("sound"), std::vector<std::string>{SoundNames[61]});
}

TEST_F(MainLoopTest, NoInTheQuitBoxChangesNothing) {
    StartGame(5, 12);
    quitAnswer = ui::IDNO;
    boxes.clear();
    headless.Backend().RequestClose(10);
    headless.RunFor(1000);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "要結束遊戲嗎？|緹菈");
    EXPECT_FALSE(headless.App().Terminated());
    EXPECT_NE(GameFlow, nullptr);
    EXPECT_TRUE(MainForm->Timer1.Enabled());
    const int phase = MainForm->TickPhaseValue();
    headless.RunFor(1000);
    EXPECT_EQ(MainForm->TickPhaseValue(), phase);
}

TEST_F(MainLoopTest, YesInTheQuitBoxClosesWithItsSound) {
    ui::ScopedTranscript transcript;
    quitAnswer = ui::IDYES;
    headless.Backend().RequestClose(10);
    headless.RunFor(1000);
    EXPECT_TRUE(headless.App().Terminated());
    EXPECT_EQ(GameFlow, nullptr);
    EXPECT_FALSE(MainForm->Timer1.Enabled());
    EXPECT_EQ(transcript->Texts("sound"), std::vector<std::string>{SoundNames[65]});
}

TEST_F(MainLoopTest, CloseIsRefusedWithoutAskingWhileACommandOrAWaitRuns) {
    quitAnswer = ui::IDYES;
    boxes.clear();
    GameFlow->Ready = 0;
    headless.Backend().RequestClose(10);
    headless.RunFor(100);
    GameFlow->Ready = 1;
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(headless.App().Terminated());

    // A line of an event waiting for its click: the close comes into that wait.
    {
        ui::WaitScope loop("the main loop");
        headless.Backend().RequestClose(10);
        headless.App().Delay(100, "DspMsg");
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(headless.App().Terminated());
    EXPECT_NE(GameFlow, nullptr);
}

// SIGTERM or SIGINT (the system's quit): the game ends as on Yes in the quit box,
// without asking; from inside a wait it ends too, the forms left to the shutdown.
TEST_F(MainLoopTest, TheSystemsQuitEndsTheGameWithoutAsking) {
    ui::ScopedTranscript transcript;
    StartGame(5, 12);
    quitAnswer = ui::IDNO;
    boxes.clear();
    headless.Backend().RequestQuit(10);
    headless.RunFor(1000);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(headless.App().Terminated());
    EXPECT_EQ(GameFlow, nullptr);
    EXPECT_FALSE(MainForm->Timer1.Enabled());
    EXPECT_EQ(transcript->Texts("sound"), std::vector<std::string>{SoundNames[65]});
}

TEST_F(MainLoopTest, TheSystemsQuitEndsAWaitToo) {
    boxes.clear();
    const std::uint32_t start = headless.Now();
    {
        ui::WaitScope loop("the main loop");
        headless.Backend().RequestQuit(10);
        headless.App().Delay(100000, "DspMsg");
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(headless.App().Terminated());
    EXPECT_LT(headless.Now() - start, 1000u);
    EXPECT_NE(GameFlow, nullptr);  // taken down by the shutdown, not under the wait
}

TEST_F(MainLoopTest, TimerTicksTheControllerEvery200Ms) {
    int ticks = 0;
    g_GameFlowHooks.ShowTypeName = [] { calls.push_back("tick"); };
    headless.RunFor(1000);
    for (const std::string& c : calls) ticks += c == "tick";
    g_GameFlowHooks.ShowTypeName = nullptr;
    EXPECT_EQ(ticks, 5);
}

TEST_F(MainLoopTest, TheTurnStartAdvancesThePhaseAndTheShopMenusFollow) {
    StartGame(2, 13);
    headless.RunFor(151);
    EXPECT_EQ(MainForm->TickPhaseValue(), 1);
    headless.RunFor(150);
    EXPECT_EQ(MainForm->TickPhaseValue(), 2);
    AdvanceHour();
    EXPECT_EQ(MainForm->TickPhaseValue(), 0);
    EXPECT_EQ(GameHour(), 14);
}

TEST_F(MainLoopTest, MinimisingLeavesFullScreenAndRestoringGoesBack) {
    headless.App().SetFullScreen(true);
    MainForm->AppMinimize();
    EXPECT_EQ(MainForm->WasFullScreen, 1);
    EXPECT_FALSE(headless.App().IsFullScreen());
    MainForm->AppRestore();
    EXPECT_TRUE(headless.App().IsFullScreen());

    headless.App().SetFullScreen(false);
    MainForm->AppMinimize();
    EXPECT_EQ(MainForm->WasFullScreen, 0);
    MainForm->AppRestore();
    EXPECT_FALSE(headless.App().IsFullScreen());
}

TEST_F(MainLoopTest, ActivationPutsTheShownMessageWindowOnTop) {
    ASSERT_NE(DbTxtForm2, nullptr);
    DbTxtForm2->SetFormStyle(ui::FormStyle::fsNormal);
    DbTxtForm2->Show();
    MainForm->AppActivate();
    EXPECT_EQ(DbTxtForm2->Style(), ui::FormStyle::fsStayOnTop);
    EXPECT_TRUE(DbTxtForm2->Visible());

    DbTxtForm2->Hide();  // a hidden one is left as it is
    DbTxtForm2->SetFormStyle(ui::FormStyle::fsNormal);
    MainForm->AppActivate();
    EXPECT_FALSE(DbTxtForm2->Visible());
    EXPECT_EQ(DbTxtForm2->Style(), ui::FormStyle::fsNormal);
}

// Shown again on activation, the message window stays under an open dialog.
TEST_F(MainLoopTest, ActivationLeavesAnOpenDialogAboveTheMessageWindow) {
    ASSERT_NE(DbTxtForm2, nullptr);
    DbTxtForm2->Show();
    ShopForm->PM_SalesListClick();
    ASSERT_NE(SalesListForm, nullptr);
    MainForm->AppActivate();
    const std::vector<ui::Form*> forms = ui::Forms();  // bottom to top
    const auto at = [&](const ui::Form* f) { return std::find(forms.begin(), forms.end(), f); };
    EXPECT_GT(at(SalesListForm), at(DbTxtForm2));
    SalesListForm->CloseButtonClick();
}

// However the message window is shown again (a click on the shop, the stage or the map
// after its × hid it), an open dialog stays above it.
TEST_F(MainLoopTest, TheMessageWindowShownAgainStaysUnderAnOpenDialog) {
    ASSERT_NE(DbTxtForm2, nullptr);
    DbTxtForm2->Show();
    ShopForm->PM_SalesListClick();
    ASSERT_NE(SalesListForm, nullptr);
    DbTxtForm2->Hide();
    DbTxtForm2->Show();
    const std::vector<ui::Form*> forms = ui::Forms();  // bottom to top
    const auto at = [&](const ui::Form* f) { return std::find(forms.begin(), forms.end(), f); };
    EXPECT_GT(at(SalesListForm), at(DbTxtForm2));
    SalesListForm->CloseButtonClick();
}

TEST_F(MainLoopTest, AClickOnTheMainFormsPictureShowsTheTitle) {
    MainForm->Image1Click();
    EXPECT_EQ(Calls("title"), "title");
}

}  // namespace
