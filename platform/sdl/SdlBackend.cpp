#include "platform/sdl/SdlBackend.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/Big5.h"
#include "platform/Clock.h"
#include "platform/Form.h"

namespace ui {

namespace {

// The virtual key code of an SDL key, 0 for keys the game has no code for.
int VirtualKey(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return vk::F1 + (k - SDLK_F1);
    switch (k) {
        case SDLK_BACKSPACE:
            return vk::Back;
        case SDLK_TAB:
            return vk::Tab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return vk::Return;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return vk::Shift;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return vk::Control;
        case SDLK_LALT:
        case SDLK_RALT:
            return vk::Menu;
        case SDLK_PAUSE:
            return vk::Pause;
        case SDLK_ESCAPE:
            return vk::Escape;
        case SDLK_SPACE:
            return vk::Space;
        case SDLK_PAGEUP:
            return vk::Prior;
        case SDLK_PAGEDOWN:
            return vk::Next;
        case SDLK_END:
            return vk::End;
        case SDLK_HOME:
            return vk::Home;
        case SDLK_LEFT:
            return vk::Left;
        case SDLK_UP:
            return vk::Up;
        case SDLK_RIGHT:
            return vk::Right;
        case SDLK_DOWN:
            return vk::Down;
        case SDLK_INSERT:
            return vk::Insert;
        case SDLK_DELETE:
            return vk::Delete;
        default:
            return 0;
    }
}

ShiftState KeyShift(Uint16 mod) {
    ShiftState s = 0;
    if (mod & KMOD_SHIFT) s |= ssShift;
    if (mod & KMOD_CTRL) s |= ssCtrl;
    if (mod & KMOD_ALT) s |= ssAlt;
    return s;
}

ShiftState MouseShift(Uint32 buttons) {
    ShiftState s = 0;
    if (buttons & SDL_BUTTON_LMASK) s |= ssLeft;
    if (buttons & SDL_BUTTON_RMASK) s |= ssRight;
    if (buttons & SDL_BUTTON_MMASK) s |= ssMiddle;
    return s;
}

bool Button(Uint8 sdl, MouseButton& out) {
    switch (sdl) {
        case SDL_BUTTON_LEFT:
            out = MouseButton::mbLeft;
            return true;
        case SDL_BUTTON_RIGHT:
            out = MouseButton::mbRight;
            return true;
        case SDL_BUTTON_MIDDLE:
            out = MouseButton::mbMiddle;
            return true;
        default:
            return false;
    }
}

}  // namespace

std::unique_ptr<SdlBackend> SdlBackend::Create(const SdlOptions& options, std::string* error) {
    std::unique_ptr<SdlBackend> b(new SdlBackend);
    if (!b->Open(options, error)) return nullptr;
    return b;
}

int FittingScale(int usableWidth, int usableHeight, int width, int height) {
    constexpr int kFrameHeight = 48;  // a title bar and borders
    if (width <= 0 || height <= 0) return 1;
    return std::max(1, std::min(usableWidth / width, (usableHeight - kFrameHeight) / height));
}

int SdlBackend::UsableScale(int width, int height) const {
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = {0, 0, 0, 0};
    return FittingScale(usable.w, usable.h, width, height);
}

bool SdlBackend::Open(const SdlOptions& options, std::string* error) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The window's close button comes as a window event alone; SDL would add a quit
    // event after it, and the player would be asked twice.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        if (error) *error = std::string("cannot start SDL video: ") + SDL_GetError();
        return false;
    }
    wakeEvent_ = SDL_RegisterEvents(1);

    scale_ = options.scale;
    autoScale_ = scale_ <= 0;
    if (autoScale_) scale_ = UsableScale(kScreenWidth, kScreenHeight);
    // No frame of the desktop's: the game draws its own bar, with its own minimise and
    // close buttons; a press on that bar moves the window (the hit test below).
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_BORDERLESS;
    if (options.fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow("lumia", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kScreenWidth * scale_, kScreenHeight * scale_, flags);
    if (!window_) {
        if (error) *error = std::string("cannot open a window: ") + SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, kScreenWidth / 2, kScreenHeight / 2);
    // Not every video driver lets a point move the window (the dummy one does not);
    // there the game's bar simply does not move it.
    SDL_SetWindowHitTest(
        window_,
        [](SDL_Window*, const SDL_Point* area, void* self) {
            return static_cast<SdlBackend*>(self)->HitTest(area->x, area->y);
        },
        this);
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        if (error) *error = std::string("cannot draw in the window: ") + SDL_GetError();
        return false;
    }
    SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight);
    UpdateScaling();
    SDL_StartTextInput();
    return true;
}

SdlBackend::~SdlBackend() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

// Whole-number scaling while the window is at least the screen's size; a smaller
// window shrinks the picture to fit.
void SdlBackend::UpdateScaling() {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    const int lw = texWidth_ ? texWidth_ : kScreenWidth,
              lh = texHeight_ ? texHeight_ : kScreenHeight;
    SDL_RenderSetIntegerScale(renderer_, (w >= lw && h >= lh) ? SDL_TRUE : SDL_FALSE);
}

void SdlBackend::FitWindow(int width, int height) {
    SDL_RenderSetLogicalSize(renderer_, width, height);
    // The window mode's screen is larger than 640x480: the scale chosen for the
    // desktop is chosen again, so the window still fits.
    if (autoScale_) scale_ = UsableScale(width, height);
    if (!IsFullScreen()) SDL_SetWindowSize(window_, width * scale_, height * scale_);
    UpdateScaling();
}

void SdlBackend::Translate(const SDL_Event& e, std::deque<InputEvent>& out) {
    InputEvent in;
    switch (e.type) {
        case SDL_QUIT:
            // With the window's close kept apart (below), only the system asks this: a
            // SIGINT or SIGTERM, which SDL turns into a quit.
            in.type = InputType::Quit;
            break;
        case SDL_MOUSEMOTION:
            in.type = InputType::MouseMove;
            in.x = e.motion.x;
            in.y = e.motion.y;
            in.shift = MouseShift(e.motion.state) | KeyShift(SDL_GetModState());
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (!Button(e.button.button, in.button)) return;
            in.x = e.button.x;
            in.y = e.button.y;
            in.shift =
                MouseShift(SDL_GetMouseState(nullptr, nullptr)) | KeyShift(SDL_GetModState());
            if (e.type == SDL_MOUSEBUTTONUP) {
                in.type = InputType::MouseUp;
                in.shift &= ~ButtonBit(in.button);
            } else {
                // Every second press in a row is a double click, as the window system
                // reports it; the buttons held include this one.
                in.type = e.button.clicks >= 2 && e.button.clicks % 2 == 0 ? InputType::DoubleClick
                                                                           : InputType::MouseDown;
                in.shift |= ButtonBit(in.button);
                if (in.type == InputType::DoubleClick) in.shift |= ssDouble;
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            in.type = e.type == SDL_KEYDOWN ? InputType::KeyDown : InputType::KeyUp;
            in.key = VirtualKey(e.key.keysym.sym);
            if (in.key == 0) return;
            in.shift = KeyShift(e.key.keysym.mod);
            break;
        case SDL_TEXTINPUT: {
            // Typed ASCII characters only; the game takes no other text.
            for (const char* p = e.text.text; *p; ++p) {
                if (static_cast<unsigned char>(*p) >= 0x80) continue;
                InputEvent c;
                c.type = InputType::Char;
                c.ch = *p;
                out.push_back(c);
            }
            return;
        }
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    in.type = InputType::Close;
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    in.type = InputType::Activate;
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    in.type = InputType::Deactivate;
                    break;
                case SDL_WINDOWEVENT_MINIMIZED:
                    in.type = InputType::Minimize;
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                    in.type = InputType::Restore;
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    if (renderer_) UpdateScaling();
                    in.type = InputType::Expose;
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    in.type = InputType::Expose;
                    break;
                default:
                    return;
            }
            break;
        default:
            return;  // the wake-up event and everything else
    }
    out.push_back(in);
}

void SdlBackend::PollInput(std::deque<InputEvent>& out) {
    while (!pending_.empty()) {
        out.push_back(pending_.front());
        pending_.pop_front();
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) Translate(e, out);
}

void SdlBackend::WaitInput(std::optional<std::uint32_t> deadline, const char* waitName) {
    (void)waitName;
    if (!pending_.empty()) return;
    SDL_Event e;
    int got;
    if (deadline) {
        const std::int32_t left = static_cast<std::int32_t>(*deadline - GetTickCount());
        if (left <= 0) return;
        got = SDL_WaitEventTimeout(&e, left);
    } else {
        got = SDL_WaitEvent(&e);
    }
    if (got) Translate(e, pending_);
}

void SdlBackend::Wake() {
    SDL_Event e{};
    e.type = wakeEvent_;
    SDL_PushEvent(&e);
}

void SdlBackend::Present(const Screen& screen) {
    if (!texture_ || texWidth_ != screen.Width() || texHeight_ != screen.Height()) {
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                     screen.Width(), screen.Height());
        if (!texture_) return;
        const bool resized = texWidth_ != 0;
        texWidth_ = screen.Width();
        texHeight_ = screen.Height();
        if (resized || texWidth_ != kScreenWidth || texHeight_ != kScreenHeight)
            FitWindow(texWidth_, texHeight_);
    }
    SDL_UpdateTexture(texture_, nullptr, screen.Pixels(), screen.Width() * 4);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

int SdlBackend::MessageBox(const MessageBoxRequest& request) {
    const std::string text = Big5ToUtf8(request.text), caption = Big5ToUtf8(request.caption);
    const Uint32 enter = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    const Uint32 esc = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    SDL_MessageBoxButtonData buttons[2];
    int count = 0;
    switch (request.Buttons()) {
        case MB_YESNO:
            buttons[count++] = {enter, IDYES, "是"};
            buttons[count++] = {esc, IDNO, "否"};
            break;
        case MB_RETRYCANCEL:
            buttons[count++] = {enter, IDRETRY, "重試"};
            buttons[count++] = {esc, IDCANCEL, "取消"};
            break;
        case MB_OKCANCEL:
            buttons[count++] = {enter, IDOK, "確定"};
            buttons[count++] = {esc, IDCANCEL, "取消"};
            break;
        default:
            buttons[count++] = {enter | esc, IDOK, "確定"};
            break;
    }
    Uint32 flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    switch (request.Icon()) {
        case MB_ICONERROR:
            flags |= SDL_MESSAGEBOX_ERROR;
            break;
        case MB_ICONWARNING:
            flags |= SDL_MESSAGEBOX_WARNING;
            break;
        default:
            flags |= SDL_MESSAGEBOX_INFORMATION;
            break;
    }
    const SDL_MessageBoxData data{flags, window_, caption.c_str(), text.c_str(),
                                  count, buttons, nullptr};
    int answer = 0;
    if (SDL_ShowMessageBox(&data, &answer) != 0 || answer <= 0) {
        std::fprintf(stderr, "lumia: %s: %s\n", caption.c_str(), text.c_str());
        return request.DefaultAnswer();
    }
    return answer;
}

void SdlBackend::SetTitle(const std::string& big5) {
    SDL_SetWindowTitle(window_, Big5ToUtf8(big5).c_str());
}

SDL_HitTestResult SdlBackend::HitTest(int windowX, int windowY) const {
    if (!renderer_ || IsFullScreen()) return SDL_HITTEST_NORMAL;
    float x = 0, y = 0;
    SDL_RenderWindowToLogical(renderer_, windowX, windowY, &x, &y);
    return DragsProgramWindow(static_cast<int>(x), static_cast<int>(y)) ? SDL_HITTEST_DRAGGABLE
                                                                        : SDL_HITTEST_NORMAL;
}

bool SdlBackend::SetFullScreen(bool on) {
    if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
    if (!on && texWidth_) SDL_SetWindowSize(window_, texWidth_ * scale_, texHeight_ * scale_);
    UpdateScaling();
    return true;
}

bool SdlBackend::ShowsOnADisplay() const {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
}

bool SdlBackend::IsFullScreen() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void SdlBackend::Minimize() { SDL_MinimizeWindow(window_); }

void SdlBackend::DesktopSize(int& width, int& height) const {
    SDL_DisplayMode mode;
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
    if (SDL_GetDesktopDisplayMode(display, &mode) == 0) {
        width = mode.w;
        height = mode.h;
    } else {
        Backend::DesktopSize(width, height);
    }
}

void SdlBackend::WarpMouse(int x, int y) {
    int wx = x, wy = y;
    SDL_RenderLogicalToWindow(renderer_, static_cast<float>(x), static_cast<float>(y), &wx, &wy);
    SDL_WarpMouseInWindow(window_, wx, wy);
}

}  // namespace ui
