#include "shop/Option.h"

#include <span>
#include <string>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "resources/Resources.h"
#include "shop/Calendar.h"
#include "shop/Calender.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "shop/Watch.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"

TOptionForm* OptionForm = nullptr;
std::uint8_t FullScreen = 0;

namespace {

constexpr int kWidth = 215;
constexpr int kHeight = 220;
constexpr int kButtonLeft = 112;
constexpr int kButtonTop = 46;
constexpr int kRowHeight = 28;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 23;
constexpr int kFullWidth = 640;
constexpr int kFullHeight = 480;

// ---- the hooks the other windows call

ui::Form* TheWatch() { return WatchForm; }
ui::Form* TheCalender() { return CalenderForm; }

void HookAnimateHourChange() {
    if (WatchForm) WatchForm->AnimateHourChange();
}
void HookRenewWatch() {
    if (WatchForm) WatchForm->RenewWatch();
}
void HookRenewCalender() {
    if (CalenderForm) CalenderForm->RenewCalender();
}
void HookRenewWatchAndCalendar() {
    HookRenewWatch();
    HookRenewCalender();
}

// The shop screen shows the clock and the calendar unless their buttons are down.
void HookShowWatchAndCalendar() {
    if (!OptionForm) return;
    if (!WatchForm && !OptionForm->OptionWatch->Down()) (new TWatchForm())->DispWatch();
    if (!CalenderForm && !OptionForm->OptionCalender->Down()) (new TCalenderForm())->DispCalender();
}
void HookDeleteWatchAndCalendar() {
    delete WatchForm;
    delete CalenderForm;
}

void HookOpenOption() {
    if (OptionForm) OptionForm->DispOption();
}

// The title's screen-mode label.
void HookToggleScreenMode() {
    if (FullScreen == 0)
        SetFullScreen();
    else
        RestoreDisplayMode();
}

void HookSetFullScreen() { SetFullScreen(); }
void HookRestoreDisplayMode() { RestoreDisplayMode(); }

void DesktopSize(int& w, int& h) {
    // The size read at start-up, which the window mode goes back to.
    if (MainForm && MainForm->DesktopWidth > 0) {
        w = MainForm->DesktopWidth;
        h = MainForm->DesktopHeight;
        return;
    }
    w = 1024;
    h = 768;
    if (ui::HaveApp()) ui::App().DesktopSize(w, h);
}

// The shop window, the event stage and the map lay themselves out for the screen the
// mode gives, and repaint.
void Relayout(bool full) {
    if (ShopForm) {
        int w = 0, h = 0;
        DesktopSize(w, h);
        if (full)
            ShopForm->LayoutForScreen(kFullWidth, kFullHeight);
        else
            ShopForm->LayoutForScreen(w, h);
        ShopForm->Invalidate();
    }
    if (EventServerDbg) {
        EventServerDbg->LayoutStage(true);
        EventServerDbg->Invalidate();
    }
    if (MapFm) {
        MapFm->LayoutForScreen(true);
        MapFm->Invalidate();
    }
}

// Disables the shop window for the switch and enables it again.
struct ShopDisabled {
    ShopDisabled() {
        if (ShopForm) ShopForm->SetEnabled(false);
    }
    ~ShopDisabled() {
        if (ShopForm) ShopForm->SetEnabled(true);
    }
};

}  // namespace

// ============================================================================ window

TOptionForm::TOptionForm() : TGameDialog(kWidth, kHeight, kPosOption, CaptionStrip(8, 206, 8, 34)) {
    Name = "OptionForm";
    OptionForm = this;
    LoadBackground("DlgOption.bmp");
    if (!OptionButtonImg.LoadFromResource("OptionButtonImg.bmp"))
        ui::Record("error", "option button pictures missing");
    auto button = [this](const char* name, int row, int group) {
        TCHBcSpeedButton* b =
            MakeSheetButton(OptionButtonImg, kButtonLeft, kButtonTop + row * kRowHeight,
                            kButtonWidth, kButtonHeight, name);
        b->SetNumGlyphs(4);
        b->Glyph().SetSrcLeft(0);
        b->Glyph().SetSrcTop(row * kButtonHeight);
        b->Glyph().SetSrcRight(4 * kButtonWidth);
        b->Glyph().SetSrcBottom((row + 1) * kButtonHeight);
        if (group) {
            b->SetGroupIndex(group);
            b->SetAllowAllUp(true);
        }
        return b;
    };
    OptionWatch = button("OptionWatch", 0, 1);
    OptionWatchAnime = button("OptionWatchAnime", 1, 2);
    OptionCalender = button("OptionCalender", 2, 3);
    OptionInitPos = button("OptionInitPos", 3, 0);
    ScreenModeButton = button("ScreenModeButton", 4, 4);
    OptionWatch->OnClick = [this](ui::Control&) { OptionWatchClick(); };
    OptionCalender->OnClick = [this](ui::Control&) { OptionCalenderClick(); };
    OptionInitPos->OnClick = [this](ui::Control&) { OptionInitPosClick(); };
    ScreenModeButton->OnClick = [this](ui::Control&) { ScreenModeButtonClick(); };

    // What the shop window, the clock's rules, the main loop, the event stage and the
    // title ask of the option window and the two small windows.
    ShopHooks().optionShown = [] { return OptionForm && OptionForm->Visible(); };
    g_ShopHooks.OpenOption = &HookOpenOption;
    g_ShopHooks.ShowWatchAndCalendar = &HookShowWatchAndCalendar;
    g_ShopHooks.DeleteWatchAndCalendar = &HookDeleteWatchAndCalendar;
    g_ShopHooks.ToggleScreenMode = &HookToggleScreenMode;
    g_ShopHooks.RenewWatchAndCalendar = &HookRenewWatchAndCalendar;
    g_ClockHooks.AnimateHourChange = &HookAnimateHourChange;
    g_ClockHooks.RenewWatch = &HookRenewWatch;
    g_ClockHooks.RenewCalender = &HookRenewCalender;
    g_MainFormHooks.WatchForm = &TheWatch;
    g_MainFormHooks.CalenderForm = &TheCalender;
    g_MainFormHooks.SetFullScreen = &HookSetFullScreen;
    g_MainFormHooks.RestoreDisplayMode = &HookRestoreDisplayMode;
    TEventServerHooks& e = EventServerHooks;
    e.OpenOptions = [] { RunOptionDialog(); };
    e.ClockVisible = [] { return WatchForm && WatchForm->Visible(); };
    e.ShowClock = [](bool show) {
        if (WatchForm) WatchForm->SetVisible(show);
    };
    e.CalendarVisible = [] { return CalenderForm && CalenderForm->Visible(); };
    e.ShowCalendar = [](bool show) {
        if (CalenderForm) CalenderForm->SetVisible(show);
    };
}

TOptionForm::~TOptionForm() {
    ClearFormVariable();
    if (g_ShopHooks.OpenOption == &HookOpenOption) {
        ShopHooks().optionShown = nullptr;
        g_ShopHooks.OpenOption = nullptr;
        g_ShopHooks.ShowWatchAndCalendar = nullptr;
        g_ShopHooks.DeleteWatchAndCalendar = nullptr;
        g_ShopHooks.ToggleScreenMode = nullptr;
        g_ShopHooks.RenewWatchAndCalendar = nullptr;
        g_ClockHooks.AnimateHourChange = nullptr;
        g_ClockHooks.RenewWatch = nullptr;
        g_ClockHooks.RenewCalender = nullptr;
        g_MainFormHooks.WatchForm = nullptr;
        g_MainFormHooks.CalenderForm = nullptr;
        g_MainFormHooks.SetFullScreen = nullptr;
        g_MainFormHooks.RestoreDisplayMode = nullptr;
        TEventServerHooks& e = EventServerHooks;
        e.OpenOptions = nullptr;
        e.ClockVisible = nullptr;
        e.ShowClock = nullptr;
        e.CalendarVisible = nullptr;
        e.ShowCalendar = nullptr;
    }
}

void TOptionForm::ClearFormVariable() {
    if (OptionForm == this) OptionForm = nullptr;
}

void TOptionForm::DispOption() {
    Place();
    ScreenModeButton->SetDown(FullScreen != 0);
    Show();
    ui::Record("window", "option");
}

void TOptionForm::OptionWatchClick() {
    if (OptionWatch->Down()) {
        if (WatchForm) {
            SaveWindowPosition(*WatchForm, kPosWatch);
            delete WatchForm;
        }
    } else if (!WatchForm) {
        (new TWatchForm())->DispWatch();
    }
}

void TOptionForm::OptionCalenderClick() {
    if (OptionCalender->Down()) {
        if (CalenderForm) {
            SaveWindowPosition(*CalenderForm, kPosCalender);
            delete CalenderForm;
        }
    } else if (!CalenderForm) {
        (new TCalenderForm())->DispCalender();
    }
}

void TOptionForm::ToggleWatchButton() {
    OptionWatch->SetDown(!OptionWatch->Down());
    OptionWatchClick();
}

void TOptionForm::ToggleCalenderButton() {
    OptionCalender->SetDown(!OptionCalender->Down());
    OptionCalenderClick();
}

void TOptionForm::OptionInitPosClick() {
    ResetWindowPositions();
    // Placing takes the menus away; a hidden window is placed when it is next shown.
    if (Visible()) Place();
    if (WatchForm) {
        ToggleWatchButton();
        ToggleWatchButton();
    }
    if (CalenderForm) {
        ToggleCalenderButton();
        ToggleCalenderButton();
    }
}

void TOptionForm::ScreenModeButtonClick() {
    if (!ScreenModeButton->Down()) {
        if (!RestoreDisplayMode()) ScreenModeButton->SetDown(true);
    } else if (!SetFullScreen()) {
        ScreenModeButton->SetDown(false);
    }
}

void TOptionForm::CloseButtonClick() {
    SaveWindowPosition(*this, kPosOption);
    Hide();
    EnableShopMenus();
}

void RunOptionDialog() {
    if (!OptionForm) return;
    OptionForm->DispOption();
    if (ui::HaveApp())
        ui::App().PumpUntil([] { return !OptionForm || !OptionForm->Visible(); }, "option window");
}

void ResetAllWindowPositions() {
    if (OptionForm)
        OptionForm->OptionInitPosClick();
    else
        ResetWindowPositions();
}

// ============================================================================ the pack

ui::Bitmap ResourcePicture(const char* name) {
    ui::Bitmap b;
    const res::Resource* r = res::FindResource(name);
    if (!r || !b.LoadFromMemory(std::span<const std::uint8_t>(r->data, r->size)))
        ui::Record("error", std::string("picture missing: ") + name);
    return b;
}

ShopPackScope::ShopPackScope() {
    if (ShopForm && !ShopForm->QvPack1.IsOpen()) opened_ = ShopForm->OpenDataPack();
}

ShopPackScope::~ShopPackScope() {
    if (opened_ && ShopForm) ShopForm->CloseDataPack();
}

// ============================================================================ screen mode

int IsFullScreenMode() { return FullScreen; }

bool ChangeResolution(int width, int height) {
    const bool full = width == kFullWidth && height == kFullHeight;
    if (ui::HaveApp() && ui::App().SetFullScreen(full)) return true;
    if (ui::HaveApp())
        ui::App().MessageBox(B5("好像不能用這個解析度進行遊戲的樣子"), B5("緹菈"), ui::MB_OK);
    return false;
}

bool SetFullScreen() {
    ShopDisabled off;
    int w = 0, h = 0;
    DesktopSize(w, h);
    if (FullScreen != 0 || w == kFullWidth || h == kFullHeight) return false;
    if (!ChangeResolution(kFullWidth, kFullHeight)) return false;
    FullScreen = 1;
    Relayout(true);
    ui::Record("screen", "full screen");
    return true;
}

bool RestoreDisplayMode() {
    ShopDisabled off;
    if (FullScreen != 1) return false;
    int w = 0, h = 0;
    DesktopSize(w, h);
    if (!ChangeResolution(w, h)) return false;
    FullScreen = 0;
    Relayout(false);
    ui::Record("screen", "window");
    return true;
}
