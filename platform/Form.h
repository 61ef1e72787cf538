#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "platform/Input.h"
#include "platform/Region.h"

// Windows and controls as the game's code expects of its class library.
//
// Forms are z-ordered windows composited into the application's virtual screen
// (normal forms below stay-on-top forms, popup windows such as menus and hints above
// all). Controls lie on forms and panels at positions relative to their parent's
// client area; a form's position is in screen coordinates. Every change invalidates
// the screen, which the pump composes and presents on its next pass; Repaint() and
// Update() do it at once.
//
// Input goes through Application::DispatchInput to RouteInput: the control under
// the mouse (or the one that holds the capture) gets the mouse, the active form's
// focused control gets the keys. While a modal form runs, the forms that were there
// before it take no input; timers and painting go on.
namespace ui {

class Control;
class WinControl;
class Form;
class PopupMenu;

enum class Alignment { taLeftJustify, taRightJustify, taCenter };

using NotifyEvent = std::function<void(Control& sender)>;
using MouseEvent =
    std::function<void(Control& sender, MouseButton button, ShiftState shift, int x, int y)>;
using MouseMoveEvent = std::function<void(Control& sender, ShiftState shift, int x, int y)>;
using KeyEvent = std::function<void(Control& sender, int& key, ShiftState shift)>;
using KeyPressEvent = std::function<void(Control& sender, char& ch)>;

// A liveness token: expires when the object it was taken from is destroyed.
using LifeToken = std::weak_ptr<const int>;

class Control {
public:
    explicit Control(WinControl* parent = nullptr);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    std::string Name;
    int Tag = 0;
    std::string Hint;  // Big5; shown after the mouse rests on the control when ShowHint
    bool ShowHint = false;
    // Where a press takes hold of the program's own window (client coordinates; empty
    // for none): the bar of a form that fills the screen, which the desktop's window
    // manager then moves as it would move its own title bar.
    Rect WindowDragArea{};

    // ---- place
    WinControl* Parent() const { return parent_; }
    void SetParent(WinControl* parent);
    // The form the control lies on (the form itself for a form); null when none.
    Form* ParentForm() const;
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    Rect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }
    Rect ClientRect() const { return Rect{0, 0, ClientWidth(), ClientHeight()}; }
    // The screen point of the client area's top-left corner.
    virtual Point ClientOrigin() const;
    Point ClientToScreen(Point p) const;
    Point ScreenToClient(Point p) const;
    // Moves the control to the top (end) or bottom of its parent's list.
    virtual void BringToFront();
    virtual void SendToBack();

    // ---- state
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent too.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& big5);

    // ---- looks: the parent's colour and font unless set here
    TColor Color() const;
    void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);
    const ui::Font& GetFont() const;
    void SetFont(const ui::Font& font);
    void SetFontName(const std::string& big5Name);
    void SetFontHeight(int height);
    void SetFontColor(TColor color);
    void SetFontBold(bool bold);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool on);
    ui::PopupMenu* GetPopupMenu() const { return popupMenu_; }
    void SetPopupMenu(ui::PopupMenu* menu) { popupMenu_ = menu; }

    // ---- painting
    void Invalidate();
    // Composes and presents the screen now.
    void Repaint();
    // Presents now what is invalid (nothing when all is up to date).
    void Update();
    // Draws the control. The canvas's origin is the control's top-left corner, it clips
    // to the control (and its parents), and comes with the control's font and its
    // colour as the brush. The default draws nothing.
    virtual void Paint(Canvas& canvas);

    // ---- mouse; the default handlers fire the events. Coordinates are client ones.
    virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseMove(ShiftState shift, int x, int y);
    virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Whether a point of the control (client coordinates, inside its bounds) takes
    // the mouse; a control that says no lets it through to what lies below.
    virtual bool HitTest(int x, int y) const;
    bool MouseCapture() const;
    void SetMouseCapture(bool on);

    // ---- keys (for the focused control, and the form first with KeyPreview)
    virtual void KeyDown(int& key, ShiftState shift);
    virtual void KeyUp(int& key, ShiftState shift);
    virtual void KeyPress(char& ch);
    // Return, Escape and the like offered to every control of the form when the
    // focused control did not use them; true when the control took the key.
    virtual bool DialogKey(int key);

    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    MouseEvent OnMouseDown;
    MouseMoveEvent OnMouseMove;
    MouseEvent OnMouseUp;
    NotifyEvent OnMouseEnter;
    NotifyEvent OnMouseLeave;
    KeyEvent OnKeyDown;
    KeyEvent OnKeyUp;
    KeyPressEvent OnKeyPress;

    virtual bool IsWindowed() const { return false; }
    virtual bool CanFocus() const { return false; }
    LifeToken Life() const { return life_; }

    // Whether a press arms a click on release inside the control, takes the mouse
    // capture until release, and whether a double click counts as one.
    bool ClickOnRelease() const { return clickOnRelease_; }
    bool CapturesOnPress() const { return captureOnPress_; }
    bool TakesDoubleClicks() const { return doubleClicks_; }

protected:
    virtual void CaptionChanged() {}
    virtual void FontChanged() {}
    virtual void BoundsChanged() {}
    void SetClickOnRelease(bool on) { clickOnRelease_ = on; }
    void SetCapturesOnPress(bool on) { captureOnPress_ = on; }
    void SetTakesDoubleClicks(bool on) { doubleClicks_ = on; }
    // Forms: a form's own Show runs its events.
    bool& VisibleFlag() { return visible_; }

private:
    friend class WinControl;
    void NotifyFontChanged();

    WinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool parentColor_ = true;
    TColor color_ = clBtnFace;
    bool parentFont_ = true;
    ui::Font font_;
    std::string caption_;
    ui::PopupMenu* popupMenu_ = nullptr;
    bool clickOnRelease_ = true;
    bool captureOnPress_ = true;
    bool doubleClicks_ = true;
    std::shared_ptr<const int> life_ = std::make_shared<const int>(0);
};

// A control that holds other controls and can take the focus.
class WinControl : public Control {
public:
    explicit WinControl(WinControl* parent = nullptr);
    ~WinControl() override;

    // Children in z-order (bottom first). Windowed children are drawn above the
    // plain ones, as windows are.
    const std::vector<Control*>& Controls() const { return children_; }
    int ControlCount() const { return static_cast<int>(children_.size()); }
    // Makes a child that this control owns and deletes with itself.
    template <class T, class... A>
    T* Make(A&&... args) {
        auto p = std::make_unique<T>(this, std::forward<A>(args)...);
        T* raw = p.get();
        owned_.push_back(std::move(p));
        return raw;
    }
    // Finds a child (any depth) by Name.
    Control* FindChild(const std::string& name) const;

    bool TabStop = false;
    bool IsWindowed() const override { return true; }
    // Visible, enabled (with its parents) and taking the focus.
    bool CanFocus() const override;
    bool Focused() const;
    void SetFocus();
    NotifyEvent OnEnter;
    NotifyEvent OnExit;
    virtual void DoEnter();
    virtual void DoExit();

private:
    friend class Control;
    std::vector<Control*> children_;
    std::vector<std::unique_ptr<Control>> owned_;
};

enum class FormStyle { fsNormal, fsStayOnTop };
enum class BorderStyle { bsNone, bsSingle };
enum class CloseAction { caNone, caHide, caFree, caMinimize };

constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
              mrNo = 7;

// The system's caption bar of a bordered (developer) form.
constexpr int kFrameWidth = 2;
constexpr int kCaptionHeight = 18;

class Form : public WinControl, public MessageTarget {
public:
    Form();
    ~Form() override;

    // Runs OnCreate once. CreateForm calls it; a form built with new calls it at the
    // end of its constructor when it has an OnCreate to run.
    void DoCreate();

    FormStyle Style() const { return style_; }
    void SetFormStyle(FormStyle style);
    ui::BorderStyle Border() const { return border_; }
    void SetBorderStyle(ui::BorderStyle border);
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientWidth(int w);
    void SetClientHeight(int h);
    Point ClientOrigin() const override;

    // Showing: Show() also brings the form to the top of its band and activates it.
    void SetVisible(bool visible) override;
    void Show();
    void Hide() { SetVisible(false); }
    void BringToFront() override;
    void SendToBack() override;
    bool Active() const;
    void Activate();

    // Modal: shows the form and pumps messages until ModalResult is set (and the close
    // query agrees) or the form is hidden; the other forms take no input meanwhile.
    int ShowModal();
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }

    // Close: asks OnCloseQuery, then OnClose decides (hide by default). Closing the
    // main form ends the application; closing a modal form ends its modal loop.
    void Close();
    virtual bool CloseQuery();
    // Deletes the form once the handler that called this has returned (the form must
    // have been made with new).
    void Release();

    // The system move: drags the form with the mouse until the left button is up. The
    // drag strip (form coordinates) keeps its height and 64 px of its width on the
    // screen, so the form can always be caught again; without one, the point the drag
    // took hold of stays on the screen.
    void DragMove();
    const Rect& DragStrip() const { return dragStrip_; }
    void SetDragStrip(const Rect& strip) { dragStrip_ = strip; }
    // A form with a drag strip lying wholly off the screen (placed where it was left on
    // a larger screen, or centred on an owner dragged away) is moved the least that
    // brings the whole strip onto the screen, so it can be seen and caught again. Done
    // by every Show; callers that move a shown form may call it too.
    void KeepDragStripOnScreen();
    bool Dragging() const;

    // The window region (window coordinates); none: the whole rectangle.
    void SetRegion(const Region& region);
    void ClearRegion();
    const Region* WindowRegion() const { return region_ ? &*region_ : nullptr; }
    // Whether a screen point lies on the form (inside it and its region).
    bool ContainsScreenPoint(int x, int y) const;

    // The form's own canvas (client coordinates): what is drawn on it stays until the
    // next paint of the form.
    Canvas& GetCanvas();
    // The picture of the whole window as last painted (the screen composed first when
    // its pixels are owed).
    const Bitmap& WindowBitmap() const;
    // Fill the client area with Color before each paint (off: keep what was there).
    bool EraseBackground = true;
    bool KeyPreview = false;
    WinControl* ActiveControl() const;
    void SetActiveControl(WinControl* control);

    std::function<void(Form&)> OnCreate;
    std::function<void(Form&)> OnShow;
    std::function<void(Form&)> OnHide;
    std::function<void(Form&)> OnActivate;
    std::function<void(Form&)> OnDeactivate;
    std::function<void(Form&)> OnPaint;  // draws on GetCanvas()
    std::function<void(Form&, CloseAction&)> OnClose;
    std::function<void(Form&, bool& canClose)> OnCloseQuery;
    // The main form's: the system ends the program (InputType::Quit), with no question;
    // the application terminates once it returns.
    std::function<void(Form&)> OnQuit;
    // Messages posted to the form (PostMessage(form, WM_USER ...)).
    std::function<void(Form&, const Message&)> OnMessage;
    void PostMessage(std::uint32_t msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);

    // Paints the background and runs OnPaint.
    void Paint(Canvas& canvas) override;
    void HandlePostedMessage(const Message& message) override;

    // Whether the form takes input now (enabled and not held back by a modal form).
    bool TakesInput() const;
    bool IsPopupWindow() const { return popupWindow_; }

protected:
    // Menus and hints: above every form, never active, never held back.
    struct PopupWindowTag {};
    explicit Form(PopupWindowTag);
    // Paints the caption bar and frame of a bordered form.
    virtual void PaintNonClient(Canvas& canvas);

private:
    friend struct Desktop;
    friend struct DispatchGuard;
    friend void ComposeScreen(Screen& screen);
    void Init();
    void PaintWindow();

    FormStyle style_ = FormStyle::fsNormal;
    ui::BorderStyle border_ = ui::BorderStyle::bsNone;
    bool popupWindow_ = false;
    bool created_ = false;
    bool modal_ = false;
    int modalResult_ = mrNone;
    int heldBack_ = 0;  // modal loops that hold this form back
    int dispatchDepth_ = 0;
    bool releasePending_ = false;
    bool released_ = false;
    std::optional<Region> region_;
    Rect dragStrip_{};
    Bitmap bitmap_;
    std::unique_ptr<Canvas> canvas_;
    WinControl* activeControl_ = nullptr;
    LifeToken activeControlLife_;
    std::string waitName_;
};

// Makes a form with new (the application owns it until it is released or deleted)
// and runs its OnCreate.
template <class F, class... A>
F* CreateForm(A&&... args) {
    F* f = new F(std::forward<A>(args)...);
    f->DoCreate();
    return f;
}

// ---- the desktop
// Forms bottom to top.
std::vector<Form*> Forms();
// The main form: the first form made (closing it ends the application).
Form* MainForm();
void SetMainForm(Form* form);
Form* ActiveForm();
// The topmost form under a screen point (its region counted), or null.
Form* FormAt(int x, int y);
// The control under a screen point, as the mouse would find it, or null.
Control* ControlAt(int x, int y);
// Whether a press at a screen point drags the program's window: the form there covers
// the whole screen and the control under the point has it in its WindowDragArea.
bool DragsProgramWindow(int x, int y);

// Where a form at `at` keeps its caption strip (form coordinates) within reach: `at`
// when any of the strip lies on the screen, else the least move that brings the whole
// strip onto it (its left or top end where it does not fit).
Point StripOnScreen(Point at, const Rect& strip);

// Mouse capture: all mouse input goes to the control until released.
void SetCapture(Control* control);
Control* GetCapture();
void ReleaseCapture();
// The mouse pointer: where it is, and moving it (a mouse move follows).
Point CursorPos();
void SetCursorPos(int x, int y);

// The window layer's hooks into the application, installed by the first form made:
// the screen's painter (a painter the program had installed before stays on as the
// desktop behind the forms; else the desktop is black) and, unless the program
// handles input itself, the input router.
void ComposeScreen(Screen& screen);
void RouteInput(const InputEvent& event);

// Something that takes all input for a while (a popup menu's loop).
class InputGrab {
public:
    virtual ~InputGrab() = default;
    virtual void Input(const InputEvent& event) = 0;
};
void PushInputGrab(InputGrab* grab);
void PopInputGrab(InputGrab* grab);

}  // namespace ui
