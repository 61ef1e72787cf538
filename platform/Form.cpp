#include "platform/Form.h"

#include <algorithm>
#include <cstring>

#include "platform/Hint.h"
#include "platform/Menus.h"

namespace ui {

namespace {

// The message a form posts to itself to be deleted (the class library's CM_RELEASE).
constexpr std::uint32_t kReleaseMessage = 0xB021;

constexpr ShiftState kModifiers = ssShift | ssAlt | ssCtrl;

int Band(const Form* f) {
    return f->IsPopupWindow() ? 2 : f->Style() == FormStyle::fsStayOnTop ? 1 : 0;
}

}  // namespace

// Everything the window layer keeps for the whole screen.
struct Desktop {
    std::vector<Form*> forms;  // bottom to top
    Form* mainForm = nullptr;
    Form* activeForm = nullptr;
    std::vector<Form*> modalStack;
    Control* capture = nullptr;
    MouseButton captureButton = MouseButton::mbLeft;
    Control* hover = nullptr;
    Control* pressed = nullptr;  // a left press that may become a click
    std::vector<InputGrab*> grabs;
    // The system move of a form.
    bool dragActive = false;
    Form* dragForm = nullptr;
    Point dragMouse;
    Point dragPos;
    bool resetting = false;
    // The program's own screen painter, found when the first form was made: it paints
    // the desktop behind the forms.
    std::function<void(Screen&)> backdrop;
    const Application* backdropApp = nullptr;

    void Forget(Control* c) {
        if (capture == c) capture = nullptr;
        if (hover == c) hover = nullptr;
        if (pressed == c) pressed = nullptr;
    }
    void Restack(Form* f, bool toTop) {
        forms.erase(std::remove(forms.begin(), forms.end(), f), forms.end());
        const int band = Band(f);
        std::size_t at = 0;
        if (toTop) {
            at = forms.size();
            while (at > 0 && Band(forms[at - 1]) > band) --at;
        } else {
            while (at < forms.size() && Band(forms[at]) < band) ++at;
        }
        forms.insert(forms.begin() + static_cast<std::ptrdiff_t>(at), f);
    }
};

namespace {
Desktop& Desk() {
    static Desktop desk;
    return desk;
}

// Set while the screen is being composed: what a paint handler changes is drawn in
// this same pass, so it must not ask for another (which would never end).
bool g_composing = false;

void InvalidateScreen() {
    if (HaveApp() && !g_composing) App().Invalidate();
}

// The forms' pictures are drawn while the screen is composed: a look at one, or a
// drawing on one, from outside composes first what a present left owed.
void SettleScreen() {
    if (HaveApp() && !g_composing) App().GetScreen().Settle();
}

bool Descends(const Control* c, const Control* ancestor) {
    for (; c != nullptr; c = c->Parent())
        if (c == ancestor) return true;
    return false;
}
}  // namespace

// Counts a form's input handlers that are running, so that a Release made inside one
// deletes the form only after the outermost has returned.
struct DispatchGuard {
    Form* form;
    LifeToken life;
    explicit DispatchGuard(Form* f) : form(f), life(f ? f->Life() : LifeToken{}) {
        if (form) ++form->dispatchDepth_;
    }
    ~DispatchGuard() {
        if (!form || life.expired()) return;
        if (--form->dispatchDepth_ == 0 && form->releasePending_) delete form;
    }
    DispatchGuard(const DispatchGuard&) = delete;
    DispatchGuard& operator=(const DispatchGuard&) = delete;
};

// ================================================================ Control

Control::Control(WinControl* parent) {
    if (parent) SetParent(parent);
}

Control::~Control() {
    life_.reset();
    Desk().Forget(this);
    if (parent_) {
        auto& list = parent_->children_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        parent_ = nullptr;
    }
    InvalidateScreen();
}

void Control::SetParent(WinControl* parent) {
    if (parent == parent_) return;
    if (parent_) {
        auto& list = parent_->children_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    parent_ = parent;
    if (parent_) parent_->children_.push_back(this);
    Invalidate();
}

Form* Control::ParentForm() const {
    const Control* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<Form*>(const_cast<Control*>(c));
}

void Control::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
    Invalidate();
}

Point Control::ClientOrigin() const {
    if (!parent_) return Point{left_, top_};
    const Point p = parent_->ClientOrigin();
    return Point{p.x + left_, p.y + top_};
}

Point Control::ClientToScreen(Point p) const {
    const Point o = ClientOrigin();
    return Point{p.x + o.x, p.y + o.y};
}

Point Control::ScreenToClient(Point p) const {
    const Point o = ClientOrigin();
    return Point{p.x - o.x, p.y - o.y};
}

void Control::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->children_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    Invalidate();
}

void Control::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->children_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    Invalidate();
}

void Control::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (!visible) {
        Desktop& d = Desk();
        if (d.capture && Descends(d.capture, this)) d.capture = nullptr;
        if (d.pressed && Descends(d.pressed, this)) d.pressed = nullptr;
    }
    Invalidate();
}

bool Control::Showing() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Invalidate();
}

void Control::SetCaption(const std::string& big5) {
    if (big5 == caption_) return;
    caption_ = big5;
    CaptionChanged();
    Invalidate();
}

TColor Control::Color() const {
    if (parentColor_ && parent_) return parent_->Color();
    return color_;
}

void Control::SetColor(TColor c) {
    color_ = c;
    parentColor_ = false;
    Invalidate();
}

void Control::SetParentColor(bool on) {
    parentColor_ = on;
    Invalidate();
}

const ui::Font& Control::GetFont() const {
    if (parentFont_ && parent_) return parent_->GetFont();
    return font_;
}

void Control::SetFont(const ui::Font& font) {
    font_ = font;
    parentFont_ = false;
    NotifyFontChanged();
}

void Control::SetFontName(const std::string& big5Name) {
    ui::Font f = GetFont();
    f.Name = big5Name;
    SetFont(f);
}

void Control::SetFontHeight(int height) {
    ui::Font f = GetFont();
    f.Height = height;
    SetFont(f);
}

void Control::SetFontColor(TColor color) {
    ui::Font f = GetFont();
    f.Color = color;
    SetFont(f);
}

void Control::SetFontBold(bool bold) {
    ui::Font f = GetFont();
    f.SetBold(bold);
    SetFont(f);
}

void Control::SetParentFont(bool on) {
    if (!on) font_ = GetFont();
    parentFont_ = on;
    NotifyFontChanged();
}

void Control::NotifyFontChanged() {
    FontChanged();
    // Children that follow this font change with it.
    if (auto* w = dynamic_cast<WinControl*>(this))
        for (Control* c : w->children_)
            if (c->parentFont_) c->NotifyFontChanged();
    Invalidate();
}

void Control::Invalidate() { InvalidateScreen(); }

void Control::Repaint() {
    if (!HaveApp()) return;
    App().Invalidate();
    App().Update();
}

void Control::Update() {
    if (HaveApp()) App().Update();
}

void Control::Paint(Canvas&) {}

void Control::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void Control::MouseMove(ShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void Control::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

void Control::Click() {
    if (OnClick) OnClick(*this);
}

void Control::DblClick() {
    if (OnDblClick) OnDblClick(*this);
}

void Control::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(*this);
}

void Control::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(*this);
}

bool Control::HitTest(int, int) const { return true; }

bool Control::MouseCapture() const { return Desk().capture == this; }

void Control::SetMouseCapture(bool on) {
    if (on)
        SetCapture(this);
    else if (MouseCapture())
        ReleaseCapture();
}

void Control::KeyDown(int& key, ShiftState shift) {
    if (OnKeyDown) OnKeyDown(*this, key, shift);
}

void Control::KeyUp(int& key, ShiftState shift) {
    if (OnKeyUp) OnKeyUp(*this, key, shift);
}

void Control::KeyPress(char& ch) {
    if (OnKeyPress) OnKeyPress(*this, ch);
}

bool Control::DialogKey(int) { return false; }

// ================================================================ WinControl

WinControl::WinControl(WinControl* parent) : Control(parent) {}

WinControl::~WinControl() {
    // Owned children go first (each takes itself off the list); others are let go.
    while (!owned_.empty()) {
        std::unique_ptr<Control> c = std::move(owned_.back());
        owned_.pop_back();
        c.reset();
    }
    for (Control* c : children_) c->parent_ = nullptr;
    children_.clear();
}

Control* WinControl::FindChild(const std::string& name) const {
    for (Control* c : children_) {
        if (c->Name == name) return c;
        if (auto* w = dynamic_cast<WinControl*>(c))
            if (Control* found = w->FindChild(name)) return found;
    }
    return nullptr;
}

bool WinControl::CanFocus() const {
    if (!TabStop) return false;
    for (const Control* c = this; c; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled()) return false;
        // A control laid out wholly outside its parent's client area cannot be seen, so
        // it takes no keys either (the stage's developer controls right of its picture).
        if (c->Parent() && Intersect(c->BoundsRect(), c->Parent()->ClientRect()).IsEmpty())
            return false;
    }
    return true;
}

bool WinControl::Focused() const {
    const Form* f = ParentForm();
    return f && f->ActiveControl() == this;
}

void WinControl::SetFocus() {
    if (Form* f = ParentForm()) {
        if (f == this) {
            f->Activate();
            return;
        }
        f->SetActiveControl(this);
    }
}

void WinControl::DoEnter() {
    if (OnEnter) OnEnter(*this);
}

void WinControl::DoExit() {
    if (OnExit) OnExit(*this);
}

// ================================================================ Form

Form::Form() {
    Init();
    Desktop& d = Desk();
    if (!d.mainForm) d.mainForm = this;
}

Form::Form(PopupWindowTag) {
    popupWindow_ = true;
    Init();
}

void Form::Init() {
    VisibleFlag() = false;
    SetParentColor(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    Desktop& d = Desk();
    d.Restack(this, true);
    if (HaveApp()) {
        Application& app = App();
        auto* painter = app.OnPaint.target<void (*)(Screen&)>();
        if (!painter || *painter != &ComposeScreen) {
            d.backdrop = app.OnPaint;
            d.backdropApp = &app;
            app.OnPaint = ComposeScreen;
        }
        if (!app.OnInput) app.OnInput = RouteInput;
    }
}

Form::~Form() {
    Desktop& d = Desk();
    d.forms.erase(std::remove(d.forms.begin(), d.forms.end(), this), d.forms.end());
    d.modalStack.erase(std::remove(d.modalStack.begin(), d.modalStack.end(), this),
                       d.modalStack.end());
    if (d.mainForm == this) d.mainForm = nullptr;
    if (d.activeForm == this) d.activeForm = nullptr;
    if (d.dragForm == this) {
        d.dragForm = nullptr;
        d.dragActive = false;
    }
    if (d.capture && Descends(d.capture, this)) d.capture = nullptr;
    if (d.hover && Descends(d.hover, this)) d.hover = nullptr;
    if (d.pressed && Descends(d.pressed, this)) d.pressed = nullptr;
    // The last form of the program gone: the hint and menu machinery goes with it, so
    // that a new application starts from a clean desktop.
    if (!d.resetting && !popupWindow_ &&
        std::none_of(d.forms.begin(), d.forms.end(), [](Form* f) { return !f->IsPopupWindow(); })) {
        d.resetting = true;
        ShutDownHints();
        d.capture = d.hover = d.pressed = nullptr;
        d.grabs.clear();
        d.resetting = false;
    }
    InvalidateScreen();
}

void Form::DoCreate() {
    if (created_) return;
    created_ = true;
    if (OnCreate) OnCreate(*this);
}

void Form::SetFormStyle(FormStyle style) {
    if (style == style_) return;
    style_ = style;
    Desk().Restack(this, true);
    Invalidate();
}

void Form::SetBorderStyle(ui::BorderStyle border) {
    if (border == border_) return;
    const int cw = ClientWidth(), ch = ClientHeight();
    border_ = border;
    SetClientWidth(cw);
    SetClientHeight(ch);
    Invalidate();
}

int Form::ClientWidth() const {
    return border_ == ui::BorderStyle::bsNone ? Width() : std::max(0, Width() - 2 * kFrameWidth);
}

int Form::ClientHeight() const {
    return border_ == ui::BorderStyle::bsNone
               ? Height()
               : std::max(0, Height() - 2 * kFrameWidth - kCaptionHeight);
}

void Form::SetClientWidth(int w) {
    SetWidth(border_ == ui::BorderStyle::bsNone ? w : w + 2 * kFrameWidth);
}

void Form::SetClientHeight(int h) {
    SetHeight(border_ == ui::BorderStyle::bsNone ? h : h + 2 * kFrameWidth + kCaptionHeight);
}

Point Form::ClientOrigin() const {
    if (border_ == ui::BorderStyle::bsNone) return Point{Left(), Top()};
    return Point{Left() + kFrameWidth, Top() + kFrameWidth + kCaptionHeight};
}

void Form::SetVisible(bool visible) {
    if (visible == Visible()) return;
    Desktop& d = Desk();
    if (visible) {
        VisibleFlag() = true;
        if (OnShow) OnShow(*this);
        if (!Visible()) return;  // hidden again by its own OnShow
        KeepDragStripOnScreen();
        d.Restack(this, true);
        Activate();
    } else {
        if (OnHide) OnHide(*this);
        VisibleFlag() = false;
        if (d.capture && Descends(d.capture, this)) d.capture = nullptr;
        if (d.pressed && Descends(d.pressed, this)) d.pressed = nullptr;
        if (d.hover && Descends(d.hover, this)) d.hover = nullptr;
        if (d.activeForm == this) {
            d.activeForm = nullptr;
            if (OnDeactivate) OnDeactivate(*this);
            // The next form down becomes the active one.
            for (auto it = d.forms.rbegin(); it != d.forms.rend(); ++it) {
                Form* f = *it;
                if (f != this && f->Visible() && !f->IsPopupWindow() && f->TakesInput()) {
                    f->Activate();
                    break;
                }
            }
        }
    }
    Invalidate();
}

void Form::Show() {
    SetVisible(true);
    BringToFront();
}

void Form::BringToFront() {
    Desk().Restack(this, true);
    if (Visible()) Activate();
    Invalidate();
}

void Form::SendToBack() {
    Desk().Restack(this, false);
    Invalidate();
}

bool Form::Active() const { return Desk().activeForm == this; }

namespace {
// The first control of a form, in the order they were made, that can take the focus.
WinControl* FirstFocusable(const WinControl* w) {
    for (Control* c : w->Controls()) {
        if (!c->IsWindowed()) continue;
        auto* wc = static_cast<WinControl*>(c);
        if (wc->CanFocus()) return wc;
        if (WinControl* inner = FirstFocusable(wc)) return inner;
    }
    return nullptr;
}
}  // namespace

void Form::Activate() {
    Desktop& d = Desk();
    if (popupWindow_ || d.activeForm == this || !Visible()) return;
    // As the system does: an activated form without a focused control gives the
    // focus to its first one that takes it.
    if (!ActiveControl() || !ActiveControl()->CanFocus())
        if (WinControl* first = FirstFocusable(this)) SetActiveControl(first);
    Form* old = d.activeForm;
    d.activeForm = this;
    if (old && old->OnDeactivate) {
        const LifeToken life = Life();
        old->OnDeactivate(*old);
        if (life.expired()) return;
    }
    if (OnActivate) OnActivate(*this);
}

bool Form::TakesInput() const { return Visible() && Enabled() && heldBack_ == 0; }

int Form::ShowModal() {
    Desktop& d = Desk();
    ReleaseCapture();
    d.pressed = nullptr;
    CancelHint();
    // Every other form shown now takes no input while this one runs (one shown later,
    // as the system does it, is not held back).
    std::vector<std::pair<Form*, LifeToken>> held;
    for (Form* f : d.forms) {
        if (f == this || f->IsPopupWindow() || !f->Visible()) continue;
        ++f->heldBack_;
        held.emplace_back(f, f->Life());
    }
    const LifeToken life = Life();
    modal_ = true;
    modalResult_ = mrNone;
    d.modalStack.push_back(this);
    Show();
    waitName_ = "ShowModal " + (Name.empty() ? std::string("form") : Name);
    int result = mrCancel;
    CloseAction action = CloseAction::caHide;
    {
        WaitScope scope(waitName_.c_str());
        Application& app = App();
        for (;;) {
            app.HandleMessage();
            if (life.expired()) break;
            if (app.Terminated()) {
                result = modalResult_ = mrCancel;
                break;
            }
            if (modalResult_ != mrNone) {
                if (!CloseQuery()) {
                    modalResult_ = mrNone;
                    continue;
                }
                action = CloseAction::caHide;
                if (OnClose) OnClose(*this, action);
                if (life.expired()) break;
                if (action == CloseAction::caNone) {
                    modalResult_ = mrNone;
                    continue;
                }
                result = modalResult_;
                break;
            }
            if (!Visible()) {
                result = modalResult_ = mrCancel;
                break;
            }
        }
    }
    for (auto& [f, token] : held)
        if (!token.expired()) --f->heldBack_;
    if (life.expired()) return result;
    d.modalStack.erase(std::remove(d.modalStack.begin(), d.modalStack.end(), this),
                       d.modalStack.end());
    modal_ = false;
    Hide();
    if (action == CloseAction::caFree) Release();
    return result;
}

bool Form::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(*this, canClose);
    return canClose;
}

void Form::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    const LifeToken life = Life();
    if (!CloseQuery() || life.expired()) return;
    CloseAction action = CloseAction::caHide;
    if (OnClose) OnClose(*this, action);
    if (life.expired() || action == CloseAction::caNone) return;
    if (Desk().mainForm == this) {
        if (HaveApp()) App().Terminate();
        return;
    }
    switch (action) {
        case CloseAction::caHide:
            Hide();
            break;
        case CloseAction::caMinimize:
            if (HaveApp()) App().Minimize();
            break;
        case CloseAction::caFree:
            Release();
            break;
        case CloseAction::caNone:
            break;
    }
}

void Form::Release() {
    if (released_) return;
    released_ = true;
    if (HaveApp()) App().PostMessage(this, kReleaseMessage);
}

void Form::PostMessage(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam) {
    if (HaveApp()) App().PostMessage(this, msg, wParam, lParam);
}

void Form::HandlePostedMessage(const Message& message) {
    if (message.msg == kReleaseMessage) {
        if (dispatchDepth_ > 0)
            releasePending_ = true;
        else
            delete this;
        return;
    }
    if (OnMessage) OnMessage(*this, message);
}

void Form::DragMove() {
    Desktop& d = Desk();
    if (d.dragActive || !HaveApp()) return;
    Application& app = App();
    if (!(app.MouseButtons() & ssLeft)) return;
    ReleaseCapture();
    d.pressed = nullptr;
    CancelHint();
    d.dragActive = true;
    d.dragForm = this;
    d.dragMouse = Point{app.MouseX(), app.MouseY()};
    d.dragPos = Point{Left(), Top()};
    const LifeToken life = Life();
    app.PumpUntil([&] { return !d.dragActive || life.expired(); }, "DragMove");
    if (!life.expired() && d.dragForm == this) {
        d.dragActive = false;
        d.dragForm = nullptr;
    }
}

bool Form::Dragging() const { return Desk().dragActive && Desk().dragForm == this; }

Point StripOnScreen(Point at, const Rect& strip) {
    if (strip.IsEmpty() || !HaveApp()) return at;
    const int sw = App().GetScreen().Width(), sh = App().GetScreen().Height();
    const Rect onScreen =
        Bounds(at.x + strip.Left, at.y + strip.Top, strip.Width(), strip.Height());
    if (!Intersect(onScreen, Rect{0, 0, sw, sh}).IsEmpty()) return at;
    // The whole strip where it fits; its left or top end where it does not.
    return Point{std::max(-strip.Left, std::min(at.x, sw - strip.Right)),
                 std::max(-strip.Top, std::min(at.y, sh - strip.Bottom))};
}

void Form::KeepDragStripOnScreen() {
    const Point at = StripOnScreen(Point{Left(), Top()}, dragStrip_);
    if (at.x != Left() || at.y != Top()) SetBounds(at.x, at.y, Width(), Height());
}

void Form::SetRegion(const Region& region) {
    region_ = region;
    Invalidate();
}

void Form::ClearRegion() {
    region_.reset();
    Invalidate();
}

bool Form::ContainsScreenPoint(int x, int y) const {
    if (!BoundsRect().Contains(x, y)) return false;
    return !region_ || region_->Contains(x - Left(), y - Top());
}

Canvas& Form::GetCanvas() {
    SettleScreen();
    if (bitmap_.Width() != Width() || bitmap_.Height() != Height() ||
        bitmap_.Format() != PixelFormat::pf32bit)
        bitmap_ = Bitmap(std::max(Width(), 1), std::max(Height(), 1), PixelFormat::pf32bit);
    if (!canvas_) canvas_ = std::make_unique<Canvas>(bitmap_);
    const Point o = ClientOrigin();
    canvas_->SetOrigin(o.x - Left(), o.y - Top());
    canvas_->SetClipRect(Rect{0, 0, ClientWidth(), ClientHeight()});
    return *canvas_;
}

const Bitmap& Form::WindowBitmap() const {
    SettleScreen();
    return bitmap_;
}

WinControl* Form::ActiveControl() const {
    if (activeControlLife_.expired()) return nullptr;
    return activeControl_;
}

void Form::SetActiveControl(WinControl* control) {
    WinControl* old = ActiveControl();
    if (old == control) return;
    const LifeToken life = Life();
    activeControl_ = control;
    activeControlLife_ = control ? control->Life() : LifeToken{};
    if (old) {
        old->DoExit();
        old->Invalidate();
    }
    if (life.expired()) return;
    if (control) {
        control->DoEnter();
        control->Invalidate();
    }
}

void Form::Paint(Canvas& canvas) {
    if (EraseBackground) {
        canvas.Brush.Color = Color();
        canvas.Brush.Style = BrushStyle::bsSolid;
        canvas.FillRect(ClientRect());
    }
    if (OnPaint) OnPaint(*this);
}

void Form::PaintNonClient(Canvas& canvas) {
    Rect r{0, 0, Width(), Height()};
    Frame3D(canvas, r, clBtnFace, clWindowFrame, 1);
    Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
    const Rect bar{kFrameWidth, kFrameWidth, Width() - kFrameWidth, kFrameWidth + kCaptionHeight};
    canvas.Brush.Style = BrushStyle::bsSolid;
    canvas.Brush.Color = Active() ? clNavy : clGray;
    canvas.FillRect(bar);
    ui::Font f = GetFont();
    f.Color = clWhite;
    f.SetBold(true);
    canvas.Font = f;
    canvas.Brush.Style = BrushStyle::bsClear;
    Rect text{bar.Left + 3, bar.Top, bar.Right - 20, bar.Bottom};
    canvas.DrawText(Caption(), text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    // The close box.
    Rect box{bar.Right - 18, bar.Top + 2, bar.Right - 2, bar.Bottom - 2};
    canvas.Brush.Style = BrushStyle::bsSolid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(box);
    Rect inner = box;
    Frame3D(canvas, inner, clBtnHighlight, clWindowFrame, 1);
    canvas.Pen.Color = clBlack;
    for (int i = 0; i < 6; ++i) {
        canvas.SetPixel(box.Left + 5 + i, box.Top + 4 + i, clBlack);
        canvas.SetPixel(box.Left + 10 - i, box.Top + 4 + i, clBlack);
    }
}

namespace {

// Paints the children of `w`, whose client (0, 0) lies at `origin` of the window
// bitmap, clipped to `clip` (bitmap coordinates): plain controls first, windowed ones
// above them.
void PaintChildren(Bitmap& bitmap, const WinControl& w, Point origin, const Rect& clip) {
    const std::vector<Control*> children = w.Controls();
    for (int pass = 0; pass < 2; ++pass) {
        for (Control* c : children) {
            if (!c->Visible() || c->IsWindowed() != (pass == 1)) continue;
            const Rect r =
                Bounds(origin.x + c->Left(), origin.y + c->Top(), c->Width(), c->Height());
            const Rect cc = Intersect(r, clip);
            if (cc.IsEmpty()) continue;
            Canvas canvas(bitmap);
            canvas.SetOrigin(r.Left, r.Top);
            canvas.SetClipRect(
                Rect{cc.Left - r.Left, cc.Top - r.Top, cc.Right - r.Left, cc.Bottom - r.Top});
            canvas.Font = c->GetFont();
            canvas.Brush.Color = c->Color();
            const LifeToken life = c->Life();
            c->Paint(canvas);
            if (life.expired()) return;
            if (c->IsWindowed())
                PaintChildren(bitmap, *static_cast<WinControl*>(c), Point{r.Left, r.Top}, cc);
        }
    }
}

}  // namespace

void Form::PaintWindow() {
    Canvas& canvas = GetCanvas();
    if (border_ != ui::BorderStyle::bsNone) {
        Canvas nc(bitmap_);
        nc.Font = GetFont();
        PaintNonClient(nc);
    }
    canvas.Font = GetFont();
    canvas.Brush = TBrush{};
    canvas.Brush.Color = Color();
    canvas.Pen = TPen{};
    canvas.CopyMode = SRCCOPY;
    const LifeToken life = Life();
    Paint(canvas);
    if (life.expired()) return;
    const Point o = ClientOrigin();
    const Point origin{o.x - Left(), o.y - Top()};
    PaintChildren(bitmap_, *this, origin,
                  Bounds(origin.x, origin.y, ClientWidth(), ClientHeight()));
}

// ================================================================ composing

void ComposeScreen(Screen& screen) {
    struct Composing {
        Composing() { g_composing = true; }
        ~Composing() { g_composing = false; }
    } composing;
    Desktop& d = Desk();
    const std::vector<Form*> forms = d.forms;
    // A form that covers the whole screen hides the desktop and every form under it:
    // composing starts from the topmost such form.
    std::size_t first = 0;
    bool covered = false;
    for (std::size_t i = forms.size(); i-- > 0;) {
        const Form* f = forms[i];
        if (f->Visible() && !f->WindowRegion() && f->Left() <= 0 && f->Top() <= 0 &&
            f->Left() + std::min(f->Width(), f->bitmap_.Width()) >= screen.Width() &&
            f->Top() + std::min(f->Height(), f->bitmap_.Height()) >= screen.Height()) {
            first = i;
            covered = true;
            break;
        }
    }
    if (!covered) {
        if (d.backdrop && HaveApp() && d.backdropApp == &App())
            d.backdrop(screen);
        else
            screen.Fill(0);
    }
    for (std::size_t i = first; i < forms.size(); ++i) {
        Form* f = forms[i];
        if (!f->Visible() || f->Width() <= 0 || f->Height() <= 0) continue;
        const LifeToken life = f->Life();
        f->PaintWindow();
        if (life.expired()) continue;
        const Bitmap& bm = f->bitmap_;
        const int sw = screen.Width(), sh = screen.Height();
        const int w = std::min(f->Width(), bm.Width()), h = std::min(f->Height(), bm.Height());
        auto copy = [&](int y, int from, int to) {
            const int sy = f->Top() + y;
            from = std::max({from, 0, -f->Left()});
            to = std::min({to, w, sw - f->Left()});
            if (to <= from || sy < 0 || sy >= sh) return;
            std::memcpy(screen.Row(sy) + f->Left() + from, bm.ScanLine(y) + from * 4,
                        static_cast<std::size_t>(to - from) * 4);
        };
        if (const Region* region = f->WindowRegion()) {
            for (const auto& [y, spans] : region->Rows()) {
                if (y < 0 || y >= h) continue;
                for (const Region::Span& s : spans) copy(y, s.left, s.right);
            }
        } else {
            for (int y = 0; y < h; ++y) copy(y, 0, w);
        }
    }
}

// ================================================================ desktop

std::vector<Form*> Forms() { return Desk().forms; }

Form* MainForm() { return Desk().mainForm; }

void SetMainForm(Form* form) { Desk().mainForm = form; }

Form* ActiveForm() { return Desk().activeForm; }

Form* FormAt(int x, int y) {
    const auto& forms = Desk().forms;
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        Form* f = *it;
        if (!f->Visible() || !f->ContainsScreenPoint(x, y)) continue;
        const Point p = f->ScreenToClient(Point{x, y});
        if (!f->HitTest(p.x, p.y)) continue;
        return f;
    }
    return nullptr;
}

namespace {

struct Hit {
    Form* form = nullptr;
    Control* control = nullptr;
    bool blocked = false;    // a disabled window or a held-back form: nobody gets it
    bool nonClient = false;  // the frame or caption bar of a bordered form
};

Hit Deepest(WinControl* w, int x, int y) {
    const std::vector<Control*>& children = w->Controls();
    for (int pass = 0; pass < 2; ++pass) {
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            Control* c = *it;
            if (!c->Visible() || c->IsWindowed() != (pass == 0)) continue;
            if (!c->BoundsRect().Contains(x, y) || !c->HitTest(x - c->Left(), y - c->Top()))
                continue;
            if (c->IsWindowed()) {
                if (!c->Enabled()) return Hit{nullptr, nullptr, true};
                return Deepest(static_cast<WinControl*>(c), x - c->Left(), y - c->Top());
            }
            if (!c->Enabled()) continue;  // a disabled plain control lets its parent have it
            return Hit{nullptr, c};
        }
    }
    return Hit{nullptr, w};
}

Hit HitAt(int x, int y) {
    Form* f = FormAt(x, y);
    if (!f) return {};
    if (!f->TakesInput()) return Hit{f, nullptr, true};
    const Point p = f->ScreenToClient(Point{x, y});
    if (!f->ClientRect().Contains(p.x, p.y)) return Hit{f, f, false, true};
    Hit h = Deepest(f, p.x, p.y);
    h.form = f;
    return h;
}

ShiftState MouseShift(const InputEvent& e) {
    ShiftState s = e.shift & kModifiers;
    if (HaveApp()) s |= App().MouseButtons();
    return s;
}

void SetHover(Control* c, int x, int y) {
    Desktop& d = Desk();
    if (d.hover != c) {
        Control* old = d.hover;
        d.hover = c;
        if (old) old->MouseLeave();
        if (c && d.hover == c) {
            const LifeToken life = c->Life();
            c->MouseEnter();
            if (life.expired()) c = nullptr;
        }
    }
    HintMouseOver(d.hover, x, y);
}

// The system caption bar of a bordered form: the close box closes, the rest drags.
void NonClientPress(Form* f, const InputEvent& e) {
    if (e.button != MouseButton::mbLeft) return;
    f->Activate();
    const int bx = e.x - f->Left(), by = e.y - f->Top();
    const int right = f->Width() - kFrameWidth;
    if (by >= kFrameWidth && by < kFrameWidth + kCaptionHeight) {
        if (bx >= right - 18 && bx < right - 2) {
            f->Close();
            return;
        }
        f->DragMove();
    }
}

void MouseMoveInput(const InputEvent& e) {
    Desktop& d = Desk();
    const Hit hit = HitAt(e.x, e.y);
    SetHover(hit.nonClient ? nullptr : hit.control, e.x, e.y);
    Control* target = d.capture ? d.capture : (hit.nonClient ? nullptr : hit.control);
    if (!target) return;
    DispatchGuard guard(target->ParentForm());
    const Point p = target->ScreenToClient(Point{e.x, e.y});
    target->MouseMove(MouseShift(e), p.x, p.y);
}

void MousePressInput(const InputEvent& e) {
    Desktop& d = Desk();
    CancelHint();
    Control* target = d.capture;
    if (!target) {
        const Hit hit = HitAt(e.x, e.y);
        if (!hit.form || hit.blocked || !hit.control) return;
        if (hit.nonClient) {
            DispatchGuard guard(hit.form);
            NonClientPress(hit.form, e);
            return;
        }
        target = hit.control;
    }
    Form* form = target->ParentForm();
    DispatchGuard guard(form);
    const LifeToken life = target->Life();
    if (form) {
        form->Activate();
        if (life.expired()) return;
    }
    if (target->IsWindowed() && target->CanFocus()) {
        static_cast<WinControl*>(target)->SetFocus();
        if (life.expired()) return;
    }
    if (!d.capture && target->CapturesOnPress()) {
        d.capture = target;
        d.captureButton = e.button;
    }
    const bool isDouble = e.type == InputType::DoubleClick && target->TakesDoubleClicks();
    if (e.button == MouseButton::mbLeft)
        d.pressed = (!isDouble && target->ClickOnRelease()) ? target : nullptr;
    const Point p = target->ScreenToClient(Point{e.x, e.y});
    ShiftState shift = MouseShift(e);
    if (isDouble) {
        shift |= ssDouble;
        target->DblClick();
        if (life.expired()) return;
    }
    target->MouseDown(e.button, shift, p.x, p.y);
}

void MouseUpInput(const InputEvent& e) {
    Desktop& d = Desk();
    Control* target = d.capture;
    if (target && e.button == d.captureButton) d.capture = nullptr;
    if (!target) {
        const Hit hit = HitAt(e.x, e.y);
        if (hit.blocked || hit.nonClient) return;
        target = hit.control;
    }
    const bool clicked =
        e.button == MouseButton::mbLeft && d.pressed == target && target != nullptr;
    if (e.button == MouseButton::mbLeft) d.pressed = nullptr;
    if (!target) return;
    DispatchGuard guard(target->ParentForm());
    const LifeToken life = target->Life();
    const Point p = target->ScreenToClient(Point{e.x, e.y});
    if (clicked && target->ClientRect().Contains(p.x, p.y)) {
        target->Click();
        if (life.expired()) return;
    }
    target->MouseUp(e.button, MouseShift(e), p.x, p.y);
    if (life.expired() || e.button != MouseButton::mbRight) return;
    // The context menu: the first control up the chain with a menu that pops up by itself.
    for (Control* c = target; c; c = c->Parent()) {
        PopupMenu* menu = c->GetPopupMenu();
        if (menu && menu->AutoPopup) {
            menu->PopupComponent = c;
            menu->Popup(e.x, e.y);
            return;
        }
    }
}

// The form's controls that can take the focus, in the order they were made.
void Focusables(WinControl* w, std::vector<WinControl*>& out) {
    for (Control* c : w->Controls()) {
        if (!c->IsWindowed()) continue;
        auto* wc = static_cast<WinControl*>(c);
        if (wc->CanFocus()) out.push_back(wc);
        Focusables(wc, out);
    }
}

bool BroadcastDialogKey(WinControl* w, int key);

void KeyInput(const InputEvent& e) {
    Desktop& d = Desk();
    Form* form = nullptr;
    for (auto it = d.modalStack.rbegin(); it != d.modalStack.rend() && !form; ++it)
        if ((*it)->Visible()) form = *it;
    if (!form) form = d.activeForm;
    if (!form || !form->TakesInput()) return;
    if (e.type == InputType::KeyDown) CancelHint();
    DispatchGuard guard(form);
    const LifeToken life = form->Life();
    WinControl* focus = form->ActiveControl();
    if (focus && !focus->CanFocus()) focus = nullptr;
    const ShiftState shift = e.shift & kModifiers;
    if (e.type == InputType::Char) {
        char ch = e.ch;
        if (form->KeyPreview) {
            form->KeyPress(ch);
            if (life.expired() || ch == 0) return;
        }
        if (focus) focus->KeyPress(ch);
        return;
    }
    int key = e.key;
    const bool down = e.type == InputType::KeyDown;
    if (form->KeyPreview) {
        down ? form->KeyDown(key, shift) : form->KeyUp(key, shift);
        if (life.expired() || key == 0) return;
    }
    if (focus) {
        down ? focus->KeyDown(key, shift) : focus->KeyUp(key, shift);
        if (life.expired() || key == 0) return;
    } else if (!form->KeyPreview) {
        down ? form->KeyDown(key, shift) : form->KeyUp(key, shift);
        if (life.expired() || key == 0) return;
    }
    if (!down) return;
    if (key == vk::F1 + 3 && (shift & ssAlt)) {  // Alt+F4
        form->Close();                           // the system's close request for the active window
        return;
    }
    if (key == vk::Tab) {
        std::vector<WinControl*> list;
        Focusables(form, list);
        if (list.empty()) return;
        auto it = std::find(list.begin(), list.end(), focus);
        std::size_t i = 0;
        if (it != list.end()) {
            const std::size_t at = static_cast<std::size_t>(it - list.begin());
            i = (shift & ssShift) ? (at + list.size() - 1) % list.size() : (at + 1) % list.size();
        } else if (shift & ssShift) {
            i = list.size() - 1;
        }
        list[i]->SetFocus();
        return;
    }
    BroadcastDialogKey(form, key);
}

}  // namespace

namespace {
bool BroadcastDialogKey(WinControl* w, int key) {
    for (Control* c : std::vector<Control*>(w->Controls())) {
        if (!c->Visible() || !c->Enabled()) continue;
        if (c->DialogKey(key)) return true;
        if (c->IsWindowed() && BroadcastDialogKey(static_cast<WinControl*>(c), key)) return true;
    }
    return false;
}

// Where a drag puts the form for the mouse at (x, y): its drag strip (or the point
// taken hold of) kept on the screen, its whole height and enough of its width to take
// hold of again.
Point DraggedPlace(const Form& f, int x, int y) {
    constexpr int kKeepWidth = 64;
    const Desktop& d = Desk();
    Point at{d.dragPos.x + x - d.dragMouse.x, d.dragPos.y + y - d.dragMouse.y};
    if (!HaveApp()) return at;
    Rect strip = f.DragStrip();
    if (strip.IsEmpty()) {
        const Point held{d.dragMouse.x - d.dragPos.x, d.dragMouse.y - d.dragPos.y};
        strip = Rect{held.x, held.y, held.x + 1, held.y + 1};
    }
    const int sw = App().GetScreen().Width(), sh = App().GetScreen().Height();
    const int keep = std::min(strip.Width(), kKeepWidth);
    at.x = std::max(keep - strip.Right, std::min(at.x, sw - keep - strip.Left));
    at.y = std::max(-strip.Top, std::min(at.y, sh - strip.Bottom));
    return at;
}

void DragInput(const InputEvent& e) {
    Desktop& d = Desk();
    Form* f = d.dragForm;
    if (!f) {
        d.dragActive = false;
        return;
    }
    switch (e.type) {
        case InputType::MouseMove: {
            const Point at = DraggedPlace(*f, e.x, e.y);
            f->SetBounds(at.x, at.y, f->Width(), f->Height());
            break;
        }
        case InputType::MouseUp:
            if (e.button == MouseButton::mbLeft) {
                const Point at = DraggedPlace(*f, e.x, e.y);
                f->SetBounds(at.x, at.y, f->Width(), f->Height());
                d.dragActive = false;
            }
            break;
        case InputType::KeyDown:
            if (e.key == vk::Escape) {
                f->SetBounds(d.dragPos.x, d.dragPos.y, f->Width(), f->Height());
                d.dragActive = false;
            }
            break;
        default:
            break;
    }
}
}  // namespace

void RouteInput(const InputEvent& e) {
    Desktop& d = Desk();
    if (e.type == InputType::Close) {
        if (d.mainForm)
            d.mainForm->Close();
        else if (HaveApp())
            App().Terminate();
        return;
    }
    if (e.type == InputType::Quit) {
        // The program ends whatever runs; the main form tidies up first where it can.
        if (d.mainForm && d.mainForm->OnQuit) d.mainForm->OnQuit(*d.mainForm);
        if (HaveApp()) App().Terminate();
        return;
    }
    if (d.dragActive) {
        DragInput(e);
        return;
    }
    if (!d.grabs.empty()) {
        d.grabs.back()->Input(e);
        return;
    }
    switch (e.type) {
        case InputType::MouseMove:
            MouseMoveInput(e);
            break;
        case InputType::MouseDown:
        case InputType::DoubleClick:
            MousePressInput(e);
            break;
        case InputType::MouseUp:
            MouseUpInput(e);
            break;
        case InputType::KeyDown:
        case InputType::KeyUp:
        case InputType::Char:
            KeyInput(e);
            break;
        default:
            break;
    }
}

Control* ControlAt(int x, int y) {
    const Hit h = HitAt(x, y);
    return (h.blocked || h.nonClient) ? nullptr : h.control;
}

bool DragsProgramWindow(int x, int y) {
    if (!HaveApp()) return false;
    const Hit h = HitAt(x, y);
    if (!h.form || !h.control || h.blocked || h.nonClient) return false;
    const Screen& screen = App().GetScreen();
    const Rect whole{0, 0, screen.Width(), screen.Height()};
    if (Intersect(h.form->BoundsRect(), whole) != whole) return false;
    const Point p = h.control->ScreenToClient(Point{x, y});
    return h.control->WindowDragArea.Contains(p.x, p.y);
}

void SetCapture(Control* control) {
    Desktop& d = Desk();
    d.capture = control;
    d.captureButton = MouseButton::mbLeft;
    if (HaveApp()) {
        const ShiftState b = App().MouseButtons();
        d.captureButton = (b & ssLeft)     ? MouseButton::mbLeft
                          : (b & ssRight)  ? MouseButton::mbRight
                          : (b & ssMiddle) ? MouseButton::mbMiddle
                                           : MouseButton::mbLeft;
    }
}

Control* GetCapture() { return Desk().capture; }

void ReleaseCapture() { Desk().capture = nullptr; }

Point CursorPos() {
    if (!HaveApp()) return Point{};
    return Point{App().MouseX(), App().MouseY()};
}

void SetCursorPos(int x, int y) {
    if (HaveApp()) App().SetCursorPos(x, y);
}

void PushInputGrab(InputGrab* grab) { Desk().grabs.push_back(grab); }

void PopInputGrab(InputGrab* grab) {
    auto& g = Desk().grabs;
    g.erase(std::remove(g.begin(), g.end(), grab), g.end());
}

}  // namespace ui
