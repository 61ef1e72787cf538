#pragma once
// The program's heartbeat: the hidden main form builds the first game state, hooks the
// application's events, and its idle handler AppIdleTick is the game's main loop. Every
// 150 ms (20 ms in fast mode) it takes one step of a three-phase cycle: the turn's
// checks (the ending, the end of a mixing job, the 2F room), the game-flow controller's
// turn start, then the shop routine (customers, the heroine's pending action, the hour
// passing while a mixing job runs). Between steps the pump sleeps until the next step is
// due or input comes. Its 200 ms Timer1 drives the controller's tick, and closing the
// program goes through its close query.
#include <cstdint>
#include <string>

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Timer.h"

// Calls of the main loop into windows built elsewhere. Each is null until its window
// exists (its unit sets it); a null hook does nothing, a null predicate answers false.
struct MainFormHooks {
    // The opening and ending sequences (TShopForm::PlayEnding).
    void (*PlayEnding)(int n);
    // The title screen (TShopForm::ShowTitle, set by the shop window).
    void (*ShowTitle)();
    // The screen mode switch (RestoreDisplayMode, SetFullScreen of the option window's
    // unit); without it the display alone switches.
    void (*RestoreDisplayMode)();
    void (*SetFullScreen)();
    // The clock and calendar windows, re-shown on top on activation.
    ui::Form* (*WatchForm)();
    ui::Form* (*CalenderForm)();
    // The lyric subtitles of the opening and ending player.
    bool (*LyricsActive)();
    void (*LyricSubtitleTick)();
};
extern MainFormHooks g_MainFormHooks;

constexpr std::uint32_t kStepPeriod = 150;     // ms between main-loop steps
constexpr std::uint32_t kFastStepPeriod = 20;  // with the fast-mode button down
constexpr int kHourCountdownSteps = 12;        // shop steps per hour while mixing
constexpr int kEndingDay = 287;                // the last day; the ending at 09:00
constexpr int kEndingHour = 9;

class TMainForm : public ui::Form {
public:
    // Builds the first game state; ticks stay off until a game starts (ResumeTicks).
    TMainForm();
    ~TMainForm() override;

    // ---- components
    ui::Image* Image1 = nullptr;          // 160 x 120; a click shows the title
    ui::Image* IconSmallImage = nullptr;  // hidden, 1712 x 32
    ui::Timer Timer1;                     // 200 ms: the controller's tick

    // ---- fields
    std::int32_t DesktopWidth = 0;
    std::int32_t DesktopHeight = 0;
    std::uint8_t TickBusy = 0;       // a step runs, or no game is on
    std::uint8_t SceneActive = 0;    // the shop scene exists
    std::uint8_t WasFullScreen = 0;  // minimising left full-screen mode
    std::uint8_t SaidThisHour = 0;   // the idle prompt was shown since the last phase 0
    std::int32_t TickPhase = 0;      // 0, 1, 2; -1 while the mixing result is open
    std::int32_t HourCountdown = 0;  // steps left before a mixing hour passes
    std::uint32_t LastTick = 0;      // tick count of the last step
    std::uint8_t FastForward = 0;    // a running mixing job is skipped through
    std::uint8_t Dragging = 0;       // 1 while the window is dragged

    // ---- operations
    void FormCreate();
    void ResetTickPhase();
    void AdvanceTickPhase();
    int TickPhaseValue() const { return TickPhase; }
    void SetSceneActive() { SceneActive = 1; }
    void ClearSceneActive() { SceneActive = 0; }
    void ResumeTicks();
    // The idle handler: one main-loop step when it is due.
    void AppIdleTick(bool& done);
    void Timer1Timer();
    void Image1Click();
    void Image1MouseDown(ui::MouseButton button);
    void AppMinimize();
    void AppRestore();
    void AppActivate();
    void FormCloseQuery(bool& canClose);
    void FormClose(ui::CloseAction& action);
    // The system ends the program (a signal, a logout): a close without the question.
    void FormQuit();

    // The step of each phase (AppIdleTick runs the one of TickPhase). Phase 0 is true
    // when it ran the ending: the ticks are then left off.
    bool Phase0Step();
    void Phase1Step();
    void Phase2Step();

    // Set once the title was shown after start-up.
    static std::uint8_t TitleShown;
};

extern TMainForm* MainForm;

// The forms that live for the whole run, made at start-up in their order, and taken
// down again in the reverse order after the message loop.
void CreateStartupForms();
void DestroyStartupForms();
// Set once every start-up form exists.
bool StartupFormsCreated();
