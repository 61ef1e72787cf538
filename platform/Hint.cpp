#include "platform/Hint.h"

#include <algorithm>
#include <memory>

#include "platform/Big5.h"
#include "platform/Form.h"
#include "platform/Timer.h"

namespace ui {

namespace {

// The tooltip: a popup window that never takes the mouse.
class HintWindow : public Form {
public:
    HintWindow() : Form(PopupWindowTag{}) {}
    bool HitTest(int, int) const override { return false; }
    void Paint(Canvas& canvas) override {
        const Rect r = ClientRect();
        canvas.Brush.Color = Hints().color;
        canvas.FillRect(r);
        canvas.Brush.Color = clBlack;
        canvas.FrameRect(r);
        canvas.Brush.Style = BrushStyle::bsClear;
        canvas.Font.Color = clInfoText;
        Rect t{r.Left + 3, r.Top + 2, r.Right - 2, r.Bottom - 2};
        canvas.DrawText(Caption(), t, DT_LEFT);
    }
    static constexpr TColor clInfoText = clBlack;
};

struct HintState {
    HintWindow window;
    Timer pauseTimer;
    Timer hideTimer;
    Control* control = nullptr;
    LifeToken life;
    Point mouse;
    HintState() {
        pauseTimer.SetEnabled(false);
        hideTimer.SetEnabled(false);
        pauseTimer.OnTimer = [this] { ShowNow(); };
        hideTimer.OnTimer = [this] {
            hideTimer.SetEnabled(false);
            window.Hide();
        };
    }
    void ShowNow();
};

HintState* g_hints = nullptr;
HintSettings g_settings;
const std::string kNoText;

HintState& State() {
    if (!g_hints) g_hints = new HintState;
    return *g_hints;
}

bool Wants(const Control* c) { return c && c->ShowHint && !c->Hint.empty(); }

void HintState::ShowNow() {
    pauseTimer.SetEnabled(false);
    if (life.expired() || !Wants(control) || !control->Showing()) return;
    ui::Font font;  // the hint font: the default face at 12 pixels
    window.SetFont(font);
    window.SetCaption(control->Hint);
    // Size to the text: its widest line and its lines, with a margin.
    int lines = 1, width = 0, line = 0;
    const std::string& text = control->Hint;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(text[i]);
        if (ch == '\n') {
            width = std::max(width, line);
            line = 0;
            ++lines;
        } else if (IsBig5Lead(ch) && i + 1 < text.size()) {
            line += FullWidth(font);
            ++i;
        } else {
            line += HalfWidth(font);
        }
    }
    width = std::max(width, line);
    const int w = width + 6, h = lines * TextHeight(font) + 4;
    int x = mouse.x, y = mouse.y + 20;
    if (HaveApp()) {
        const int sw = App().GetScreen().Width(), sh = App().GetScreen().Height();
        x = std::clamp(x, 0, std::max(0, sw - w));
        if (y + h > sh) y = std::max(0, mouse.y - h - 2);
    }
    window.SetBounds(x, y, w, h);
    window.Show();
    hideTimer.SetInterval(g_settings.hidePause);
    hideTimer.SetEnabled(true);
}

}  // namespace

HintSettings& Hints() { return g_settings; }

bool HintShowing() { return g_hints && g_hints->window.Visible(); }

const std::string& HintText() { return HintShowing() ? g_hints->window.Caption() : kNoText; }

Rect HintBounds() { return HintShowing() ? g_hints->window.BoundsRect() : Rect{}; }

void HintMouseOver(Control* control, int screenX, int screenY) {
    if (!g_hints && !Wants(control)) return;
    HintState& s = State();
    const bool same = control == s.control && !s.life.expired();
    if (same) {
        if (!s.window.Visible()) s.mouse = Point{screenX, screenY};
        return;
    }
    s.window.Hide();
    s.hideTimer.SetEnabled(false);
    s.control = control;
    s.life = control ? control->Life() : LifeToken{};
    s.mouse = Point{screenX, screenY};
    s.pauseTimer.SetEnabled(false);
    if (Wants(control)) {
        s.pauseTimer.SetInterval(std::max<std::uint32_t>(g_settings.pause, 1));
        s.pauseTimer.SetEnabled(true);
    }
}

void CancelHint() {
    if (!g_hints) return;
    g_hints->pauseTimer.SetEnabled(false);
    g_hints->hideTimer.SetEnabled(false);
    g_hints->window.Hide();
    // The same control shows its hint again only after the mouse has left it.
}

void ShutDownHints() {
    delete g_hints;
    g_hints = nullptr;
}

}  // namespace ui
