#pragma once
#include <SDL.h>

#include <deque>
#include <memory>
#include <string>

#include "platform/Backend.h"

// The back end for play: one SDL window showing the virtual screen, scaled (by a
// whole number by default, as large as the desktop allows), or desktop full screen
// with the screen's size as the logical size. Mouse, keyboard and window events go
// into the pump; the window manager's close request becomes an InputType::Close, the
// system's (SIGINT, SIGTERM) an InputType::Quit.
namespace ui {

struct SdlOptions {
    int scale = 0;  // window size as a multiple of the screen; 0 picks the largest that fits
    bool fullScreen = false;
};

// The largest whole multiple (at least 1) at which a screen of width x height fits a
// desktop area of usableWidth x usableHeight, leaving room for the window's frame.
int FittingScale(int usableWidth, int usableHeight, int width, int height);

class SdlBackend final : public Backend {
public:
    // Opens the window; null (with the reason in `error`) when SDL cannot.
    static std::unique_ptr<SdlBackend> Create(const SdlOptions& options, std::string* error);
    ~SdlBackend() override;

    void PollInput(std::deque<InputEvent>& out) override;
    void WaitInput(std::optional<std::uint32_t> deadline, const char* waitName) override;
    void Wake() override;
    void Present(const Screen& screen) override;
    int MessageBox(const MessageBoxRequest& request) override;
    bool DrawsMessageBoxes() const override { return window_ != nullptr; }
    void SetTitle(const std::string& big5) override;
    bool SetFullScreen(bool on) override;
    bool IsFullScreen() const override;
    void Minimize() override;
    void DesktopSize(int& width, int& height) const override;
    void WarpMouse(int x, int y) override;

    // Turns one SDL event into input for the pump (none for events it does not use).
    // Public so the translation can be tested with synthetic events.
    void Translate(const SDL_Event& event, std::deque<InputEvent>& out);
    // What a press at a point of the window does: it drags the window on the game's own
    // bar (DragsProgramWindow), else it is the game's; never in full screen.
    SDL_HitTestResult HitTest(int windowX, int windowY) const;
    int Scale() const { return scale_; }
    // False when SDL draws nowhere (its dummy or offscreen video driver).
    bool ShowsOnADisplay() const;
    SDL_Window* Window() const { return window_; }
    SDL_Renderer* Renderer() const { return renderer_; }

private:
    SdlBackend() = default;
    bool Open(const SdlOptions& options, std::string* error);
    void FitWindow(int width, int height);
    // FittingScale for the desktop's usable area.
    int UsableScale(int width, int height) const;
    void UpdateScaling();

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int texWidth_ = 0;
    int texHeight_ = 0;
    int scale_ = 1;
    bool autoScale_ = false;  // no scale asked for: it follows the screen's size
    std::uint32_t wakeEvent_ = 0;
    std::deque<InputEvent> pending_;
};

}  // namespace ui
