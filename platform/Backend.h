#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "platform/Input.h"
#include "platform/Screen.h"

// What the pump needs of a back end: the SDL window for play, or the headless one
// for tests. The application owns exactly one.
namespace ui {

// Message box styles and answers, with the Windows values the game's code uses.
constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_OKCANCEL = 0x01;
constexpr unsigned MB_RETRYCANCEL = 0x05;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_ICONERROR = 0x10;  // also MB_ICONSTOP, MB_ICONHAND
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;  // also MB_ICONEXCLAMATION
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_ICONSTOP = MB_ICONERROR;
constexpr unsigned MB_ICONEXCLAMATION = MB_ICONWARNING;
constexpr unsigned kMbButtonsMask = 0x0F;
constexpr unsigned kMbIconMask = 0xF0;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct MessageBoxRequest {
    std::string text;     // Big5
    std::string caption;  // Big5
    unsigned flags = MB_OK;
    unsigned Buttons() const { return flags & kMbButtonsMask; }
    unsigned Icon() const { return flags & kMbIconMask; }
    // The answer when the box cannot be shown: OK, No or Cancel (the harmless one).
    int DefaultAnswer() const;
};

class Backend {
public:
    virtual ~Backend() = default;

    // Called once at the start of every pump pass (the headless back end runs the
    // test's responders and releases scripted input that is due).
    virtual void BeginPass() {}
    // Appends the input that is waiting, without blocking.
    virtual void PollInput(std::deque<InputEvent>& out) = 0;
    // Blocks until input arrives or the tick count reaches `deadline` (none: no limit).
    // `waitName` names the wait for diagnostics. The headless back end moves its
    // virtual clock instead of blocking, and its watchdog may throw from here.
    virtual void WaitInput(std::optional<std::uint32_t> deadline, const char* waitName) = 0;
    // Ends a WaitInput early; safe from any thread.
    virtual void Wake() {}
    // Called after `passes` pump passes in a row found nothing to do and did not wait
    // (a busy loop); the headless back end lets virtual time run on.
    virtual void Spinning(std::uint32_t passes) { (void)passes; }
    // Something happened that moves the program on (input, a posted message).
    virtual void Progress() {}

    // Shows the screen (the SDL window follows its size).
    virtual void Present(const Screen& screen) = 0;
    // True when the back end shows nothing and only looks at the pixels on request
    // (headless): the pump then presents the screen with its pixels owed, and they
    // are composed at the first look.
    virtual bool ComposesOnLook() const { return false; }
    virtual int MessageBox(const MessageBoxRequest& request) = 0;
    // True when message boxes are forms of the program's own drawn on the screen (with
    // its fonts); false when the back end answers them itself (MessageBox).
    virtual bool DrawsMessageBoxes() const { return false; }

    virtual void SetTitle(const std::string& big5) { (void)big5; }
    // Desktop full screen showing the screen scaled; false when refused.
    virtual bool SetFullScreen(bool on) { return !on; }
    virtual bool IsFullScreen() const { return false; }
    virtual void Minimize() {}
    // The size of the desktop the window lives on.
    virtual void DesktopSize(int& width, int& height) const {
        width = 1024;
        height = 768;
    }
    // Moves the mouse pointer to a point of the screen.
    virtual void WarpMouse(int x, int y) {
        (void)x;
        (void)y;
    }
};

}  // namespace ui
