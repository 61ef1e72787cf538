#include "shop/Main.h"

#include <cstring>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Clock.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/Calendar.h"
#include "shop/Demand.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Mixconfirm.h"
#include "shop/Mixing.h"
#include "shop/Option.h"
#include "shop/Savefile.h"
#include "shop/Shop.h"
#include "shop/Titlebar.h"
#include "story/EventTables.h"
#include "town/Debugformnk.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Srcdbtxtform21.h"

TMainForm* MainForm = nullptr;
MainFormHooks g_MainFormHooks;
std::uint8_t TMainForm::TitleShown = 0;

namespace {

constexpr int kImageWidth = 160;
constexpr int kImageHeight = 120;
constexpr int kIconStripWidth = 1712;
constexpr int kIconStripHeight = 32;
constexpr std::uint32_t kTimerInterval = 200;
constexpr int kOffScreenTop = -480;
constexpr int kBreakfastMode = 6;
constexpr int kAbandonHour = 6;  // a mixing job still running then is given up
constexpr int kBedHour = 22;     // from here until 08:00 the idle heroine goes to bed
constexpr int kMorningHour = 8;
constexpr int kPromptHour = 9;  // the idle prompt: 09:00 .. 21:59
constexpr int kMixMadeSound = 59;
constexpr int kMixFailedSound = 61;
constexpr int kCloseSound = 65;

bool g_startupFormsCreated = false;

template <class F, class... A>
void Call(F* f, A&&... a) {
    if (f) f(std::forward<A>(a)...);
}
template <class... A>
bool Ask(bool (*f)(A...), A... a) {
    return f && f(a...);
}

bool MixRunning() { return MixHoursLeft() > 0; }

void ShowMessage(const char* utf8) {
    if (DbTxtForm2) DbTxtForm2->ShowMessage(B5(utf8));
}
bool FastMode() { return ShopForm && ShopForm->FastMode(); }
bool ShopShown() { return ShopForm && ShopForm->Visible(); }
bool Shop2FShown() { return ShopForm && ShopForm->Shop2FPanel->Visible(); }
void GoToBed() {
    if (ShopForm) ShopForm->GoToBed();
}

// The shop window's calls into the main loop.
int ShopTickPhase() { return MainForm ? MainForm->TickPhaseValue() : 2; }
void ShopSetSceneActive(bool on) {
    if (!MainForm) return;
    if (on)
        MainForm->SetSceneActive();
    else
        MainForm->ClearSceneActive();
}
void ShopSetFastForward() {
    if (MainForm) MainForm->FastForward = 1;
}

// The game's clock asks for phase 0 through here.
void ClockResetTickPhase() {
    if (MainForm) MainForm->ResetTickPhase();
}

// True once (day, hour) has reached 09:00 of the last day, or passed it: hours that
// pass several at a time cannot carry the game beyond its last day.
bool EndingDue() {
    const int d = GameDay();
    return d > kEndingDay || (d == kEndingDay && GameHour() >= kEndingHour);
}

}  // namespace

TMainForm::TMainForm() {
    Name = "MainForm";
    MainForm = this;
    Image1 = Make<ui::Image>();
    Image1->Name = "Image1";
    Image1->SetBounds(0, 0, kImageWidth, kImageHeight);
    Image1->SetPicture(ui::Bitmap(kImageWidth, kImageHeight));
    Image1->OnClick = [this](ui::Control&) { Image1Click(); };
    Image1->OnDblClick = [this](ui::Control&) { Image1Click(); };
    Image1->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int, int) {
        Image1MouseDown(b);
    };
    IconSmallImage = Make<ui::Image>();
    IconSmallImage->Name = "IconSmallImage";
    IconSmallImage->SetBounds(0, 0, kIconStripWidth, kIconStripHeight);
    IconSmallImage->Hide();
    Timer1.SetInterval(kTimerInterval);
    Timer1.OnTimer = [this] { Timer1Timer(); };
    OnCreate = [this](ui::Form&) { FormCreate(); };
    OnCloseQuery = [this](ui::Form&, bool& canClose) { FormCloseQuery(canClose); };
    OnClose = [this](ui::Form&, ui::CloseAction& action) { FormClose(action); };
    OnQuit = [this](ui::Form&) { FormQuit(); };
    g_ClockHooks.ResetTickPhase = &ClockResetTickPhase;
    g_ShopHooks.TickPhase = &ShopTickPhase;
    g_ShopHooks.ResetTickPhase = &ClockResetTickPhase;
    g_ShopHooks.SetSceneActive = &ShopSetSceneActive;
    g_ShopHooks.SetFastForward = &ShopSetFastForward;

    if (ui::HaveApp()) {
        int w = 0, h = 0;
        ui::App().DesktopSize(w, h);
        DesktopWidth = w;
        DesktopHeight = h;
    }
    ui::Srand(static_cast<std::uint32_t>(ui::Time()));
    InitGameState();
    TickPhase = 0;
    TickBusy = 0;
    SceneActive = 0;
    LastTick = 0;
    FastForward = 0;
    std::memset(EverUnlocked, 0, sizeof EverUnlocked);
    TickBusy = 1;  // no step until a game starts
}

TMainForm::~TMainForm() {
    if (g_ClockHooks.ResetTickPhase == &ClockResetTickPhase) g_ClockHooks.ResetTickPhase = nullptr;
    if (g_ShopHooks.TickPhase == &ShopTickPhase) {
        g_ShopHooks.TickPhase = nullptr;
        g_ShopHooks.ResetTickPhase = nullptr;
        g_ShopHooks.SetSceneActive = nullptr;
        g_ShopHooks.SetFastForward = nullptr;
    }
    if (ui::HaveApp()) {
        ui::Application& app = ui::App();
        app.OnIdle = nullptr;
        app.OnMinimize = nullptr;
        app.OnRestore = nullptr;
        app.OnActivate = nullptr;
    }
    if (MainForm == this) MainForm = nullptr;
}

void TMainForm::FormCreate() {
    SetClientWidth(Image1->Picture().Width());
    SetClientHeight(Image1->Picture().Height());
    if (ui::HaveApp()) {
        ui::Application& app = ui::App();
        app.OnIdle = [this](bool& done) { AppIdleTick(done); };
        app.OnMinimize = [this] { AppMinimize(); };
        app.OnRestore = [this] { AppRestore(); };
        app.OnActivate = [this] { AppActivate(); };
    }
    SetTop(kOffScreenTop);
}

void TMainForm::ResetTickPhase() {
    TickPhase = 0;
    DisableShopMenus();
}

void TMainForm::AdvanceTickPhase() {
    TickPhase += 1;
    if (TickPhase == 2) EnableShopMenus();
}

void TMainForm::ResumeTicks() {
    TickBusy = 0;
    if (GameFlow) GameFlow->GameStarted();
}

void TMainForm::AppIdleTick(bool& done) {
    if (!TitleShown && StartupFormsCreated()) {
        TitleShown = 1;
        Call(g_MainFormHooks.ShowTitle);
        Hide();
    }
    if (!TickBusy) {
        TickBusy = 1;
        const std::uint32_t period = FastMode() ? kFastStepPeriod : kStepPeriod;
        const std::uint32_t now = ui::GetTickCount();
        if (now - LastTick < period) {
            // Not due: the pump sleeps until it is, unless input or a timer comes first.
            TickBusy = 0;
            done = false;
            if (ui::HaveApp()) ui::App().IdleWakeAt(LastTick + period);
            return;
        }
        LastTick = now;
        if (SceneActive) {
            switch (TickPhase) {
                case 0:
                    // After the ending no step runs until the next game starts.
                    if (Phase0Step()) return;
                    break;
                case 1:
                    Phase1Step();
                    break;
                case 2:
                    Phase2Step();
                    break;
                default:
                    break;  // the mixing result is open
            }
        }
        TickBusy = 0;
        if (ui::HaveApp()) {
            const std::uint32_t next = LastTick + (FastMode() ? kFastStepPeriod : kStepPeriod);
            ui::App().IdleWakeAt(next);
        }
    }
    if (GameFlow) GameFlow->CommandMenu();
    done = true;
}

bool TMainForm::Phase0Step() {
    MainFormHooks& h = g_MainFormHooks;
    if (EndingDue()) {
        const int n = RunEndingEvents();
        // The endings seen live in the system file; a failed write loses them.
        if (!SaveSystemFile()) ui::Record("error", "system file not written");
        if (n > 0) Call(h.PlayEnding, n);
        // The year is over, and with it a mixing job skipped through: left on, the skip
        // would pass the next game's hours by themselves.
        FastForward = 0;
        if (ShopForm) {
            ShopForm->Hide();
            ShopForm->DestroyShopScene();
            ShopForm->OpeningPlayed = 0;  // the title plays a random opening again
        }
        Call(h.ShowTitle);
        return true;
    }
    SaidThisHour = 0;
    if (Shop2FShown() && ShopForm->Shop2FMode != 0) {
        ShopForm->StepShop2F();
        return false;
    }
    HourCountdown = kHourCountdownSteps;
    if (MixStep() && !ItemMixConfirmForm) {
        StopMixAnimation();
        if (EventServerDbg)
            EventServerDbg->PlaySound(MixYield() > 0 ? kMixMadeSound : kMixFailedSound);
        (new TItemMixConfirmForm())->ShowMixResult();
        TickPhase = -1;
        if (GameFlow) {
            GameFlow->SetMixedItem(MixItem());
            GameFlow->GainExperience(MixBatchCount());
        }
        FastForward = 0;
        return false;
    }
    if (MixRunning() && GameHour() == kAbandonHour) {
        // Too late for the night's work: the hours run out and nothing is made.
        while (MixRunning() && !MixStep()) {
        }
        ShowMessage("……好睏噢。\n還是別做了，去睡覺吧。");
        StopMixAnimation();
        AddCondition(+1);
        GoToBed();
        FastForward = 0;
    }
    TickPhase = 1;
    return false;
}

void TMainForm::Phase1Step() {
    if (GameFlow)
        GameFlow->TurnStart(true);
    else
        AdvanceTickPhase();
}

void TMainForm::Phase2Step() {
    const int hour = GameHour();
    if (ShopShown() && Shop2FShown() && hour == kMorningHour) {
        ShopForm->StartShop2FMode(kBreakfastMode);
        return;
    }
    if (IsShopSceneIdle() && !MixRunning() && (hour >= kBedHour || hour < kMorningHour)) GoToBed();
    if (HourCountdown > 0) --HourCountdown;
    if (IsShopSceneIdle()) {
        if (!SaidThisHour && !MixRunning() && hour >= kPromptHour && hour < kBedHour) {
            ShowMessage("該做什麼好呢？");
            SaidThisHour = 1;
        }
        if (ShopForm) {
            ShopForm->UpdateScene();
            ShopForm->ShopPendingAction();
        }
    }
    if (FastForward) {
        AdvanceHour();
    } else if (ShopForm && ShopForm->IsShopOpen()) {
        const bool busy = DemandForm && DemandForm->SpawnHourlyCustomers(false);
        if (!busy && MixRunning() && HourCountdown == 0) AdvanceHour();
    } else if (MixRunning() && HourCountdown == 0) {
        AdvanceHour();
    }
}

void TMainForm::Timer1Timer() {
    if (Ask(g_MainFormHooks.LyricsActive)) Call(g_MainFormHooks.LyricSubtitleTick);
    if (GameFlow) GameFlow->Tick();
}

void TMainForm::Image1Click() { Call(g_MainFormHooks.ShowTitle); }

void TMainForm::Image1MouseDown(ui::MouseButton button) {
    if (button != ui::MouseButton::mbLeft) return;
    ui::ReleaseCapture();
    Dragging = 1;
    DragMove();
    Dragging = 0;
}

void TMainForm::AppMinimize() {
    if (ui::HaveApp() && ui::App().IsFullScreen()) {
        WasFullScreen = 1;
        Call(g_MainFormHooks.RestoreDisplayMode);
        // A full screen the switch did not make (or refused to leave) is left all the
        // same: the desktop comes back while the game is minimised.
        if (ui::App().IsFullScreen()) ui::App().SetFullScreen(false);
    } else {
        WasFullScreen = 0;
    }
}

void TMainForm::AppRestore() {
    if (!WasFullScreen) return;
    if (g_MainFormHooks.SetFullScreen)
        g_MainFormHooks.SetFullScreen();
    else if (ui::HaveApp())
        ui::App().SetFullScreen(true);
}

void TMainForm::AppActivate() {
    MainFormHooks& h = g_MainFormHooks;
    ui::Form* windows[3] = {h.WatchForm ? h.WatchForm() : nullptr,
                            h.CalenderForm ? h.CalenderForm() : nullptr, DbTxtForm2};
    for (ui::Form* f : windows) {
        if (!f || !f->Visible()) continue;
        f->Hide();
        f->SetFormStyle(ui::FormStyle::fsStayOnTop);
        f->Show();
    }
    RaiseGameDialogs();
}

void TMainForm::FormCloseQuery(bool& canClose) {
    canClose = GameFlow ? GameFlow->IsReady() : true;
    // Never from inside a wait (a line waiting for its click, a modal window, the
    // ending's sequence): closing would take the forms down under it.
    if (canClose && ui::HaveApp() && ui::App().WaitDepth() > 1) canClose = false;
    if (!canClose || !ui::HaveApp()) return;
    canClose = ui::App().MessageBox(B5("要結束遊戲嗎？"), B5("緹菈"),
                                    ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES;
}

void TMainForm::FormQuit() {
    // As a confirmed close; from inside a command or a wait the forms under it are left
    // for the shutdown to take down.
    const bool ready = GameFlow ? GameFlow->IsReady() : true;
    if (!ready || (ui::HaveApp() && ui::App().WaitDepth() > 1)) return;
    ui::CloseAction action = ui::CloseAction::caFree;
    FormClose(action);
}

void TMainForm::FormClose(ui::CloseAction& action) {
    (void)action;
    MainFormHooks& h = g_MainFormHooks;
    if (EventServerDbg) EventServerDbg->PlaySoundSync(kCloseSound);
    if (ui::HaveApp()) ui::App().OnIdle = nullptr;
    Timer1.SetEnabled(false);
    if (ShopForm) ShopForm->Hide();
    if (h.RestoreDisplayMode)
        h.RestoreDisplayMode();
    else if (ui::HaveApp())
        ui::App().SetFullScreen(false);
    if (ShopForm) ShopForm->Close();  // the shop window refuses; kept as the game does
    delete GameFlow;
    GameFlow = nullptr;
}

// ---------------------------------------------------------------- start-up

void CreateStartupForms() {
    g_startupFormsCreated = false;
    TMainForm::TitleShown = 0;
    ui::CreateForm<TMainForm>();
    // The option window, hidden until the player opens it.
    ui::CreateForm<TOptionForm>();
    ui::CreateForm<TShopForm>();  // loads the system file, makes the game-flow controller
    // The full-screen top bar, after the shop window whose pictures it draws.
    if (!TitleBarForm) new TTitleBarForm();
    if (!DemandForm) new TDemandForm();
    if (!DbgFm) new TDbgFm();  // hidden until the developer shows it
    // TaviForm1 and TEventForm come here once they exist.
    g_startupFormsCreated = true;
}

void DestroyStartupForms() {
    g_startupFormsCreated = false;
    delete DbgFm;
    delete DemandForm;
    DemandForm = nullptr;
    delete GameFlow;
    GameFlow = nullptr;
    delete TitleBarForm;
    delete ShopForm;
    delete OptionForm;  // after the shop window, whose scene takes the clock down
    delete MainForm;
}

bool StartupFormsCreated() { return g_startupFormsCreated; }
