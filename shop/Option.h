#pragma once
// The option window and the screen-mode switch.
//
// The option window turns the clock and the calendar on and off, turns the clock's
// sweep off, puts every window back at its first place, and switches between window
// and full screen. It is made at start-up, lives for the run and is only hidden when
// closed; while it is shown the shop's menus stay off.
//
// The screen-mode switch: full screen is the back end's desktop full screen showing the
// 640 x 480 screen; window mode the scaled window. A desktop of exactly 640 wide or 480
// high is never switched. After a switch the shop window, the event stage and the map
// lay themselves out for the new screen.
#include <cstdint>

#include "platform/Bitmap.h"
#include "shop/GameDialog.h"
#include "skin/CHBmpCnt.h"

class TOptionForm : public TGameDialog {
public:
    TOptionForm();
    ~TOptionForm() override;

    TCHBcSpeedButton* OptionWatch = nullptr;       // down: no clock
    TCHBcSpeedButton* OptionWatchAnime = nullptr;  // down: no sweep
    TCHBcSpeedButton* OptionCalender = nullptr;    // down: no calendar
    TCHBcSpeedButton* OptionInitPos = nullptr;
    TCHBcSpeedButton* ScreenModeButton = nullptr;  // down: full screen
    TCHBmpContainer OptionButtonImg;

    // Placed at its remembered place, the screen-mode button down iff full screen, shown.
    void DispOption();
    // Up: the clock is made and shown (unless it exists). Down: its place is remembered
    // and it is taken down.
    void OptionWatchClick();
    void OptionCalenderClick();
    // Every window back at its first place: the dialogs' records, this window, and the
    // clock and calendar when they are up.
    void OptionInitPosClick();
    // Switches the screen mode; when the switch is refused the button goes back.
    void ScreenModeButtonClick();
    // Flip the button and apply it.
    void ToggleWatchButton();
    void ToggleCalenderButton();
    // Remembers the place, hides the window (it is never freed) and gives the menus back.
    void CloseButtonClick() override;

protected:
    void ClearFormVariable() override;
};

extern TOptionForm* OptionForm;

// Shows the option window and returns once it is closed (the event stage's and the
// map's option buttons).
void RunOptionDialog();

// The option window's position reset when it exists, else ResetWindowPositions.
void ResetAllWindowPositions();

// The shop window's pack opened for a run of picture loads (when it is not open yet)
// and closed again at the end of the scope.
class ShopPackScope {
public:
    ShopPackScope();
    ~ShopPackScope();
    ShopPackScope(const ShopPackScope&) = delete;
    ShopPackScope& operator=(const ShopPackScope&) = delete;

private:
    bool opened_ = false;
};

// A picture of the program's resources ("<name>.bmp"); empty when missing.
ui::Bitmap ResourcePicture(const char* name);

// ---- the screen-mode switch

// 1 while the display runs full screen for the program.
extern std::uint8_t FullScreen;

// Switches to w x h: 640 x 480 is full screen, any other size the window. On refusal a
// message box says so; false.
bool ChangeResolution(int width, int height);
// To full screen, only from window mode; true on success.
bool SetFullScreen();
// Back to the window, only from full screen; true on success.
bool RestoreDisplayMode();
// FullScreen.
int IsFullScreenMode();
