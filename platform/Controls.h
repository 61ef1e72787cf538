#pragma once
#include <algorithm>
#include <functional>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Form.h"

// The common controls the game's windows are built from: pictures, text labels,
// panels, speed buttons and push buttons. Each paints itself in a virtual Paint and
// takes the mouse in virtual handlers, so that the skinned controls can derive from
// them and draw their own faces.
namespace ui {

// A picture. Its Picture is drawn at the top-left corner (or centred, or stretched
// over the control); Transparent leaves out the pixels of the picture's bottom-left
// colour. Drawing on GetCanvas() draws on the picture.
//
// The picture may be owed: its owner, on a back end that composes the screen only
// when something looks (headless), may leave frames nobody has looked at undrawn and
// name what draws them; the first look at the picture (Picture, GetCanvas, a paint,
// a new picture) draws them first.
class Image : public Control {
public:
    explicit Image(WinControl* parent = nullptr);

    Bitmap& Picture() {
        Settle();
        return picture_;
    }
    const Bitmap& Picture() const {
        Settle();
        return picture_;
    }
    // What draws the picture when it is next looked at (null: nothing is owed).
    void Owe(std::function<void()> draw) { owed_ = std::move(draw); }
    bool Owed() const { return static_cast<bool>(owed_); }
    // Draws now what is owed.
    void Settle() const;
    void SetPicture(const Bitmap& picture);
    void SetPicture(Bitmap&& picture);
    // After changing Picture() directly: applies AutoSize and repaints.
    void PictureChanged();

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    bool Center() const { return center_; }
    void SetCenter(bool on);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

    // The picture's canvas; an empty picture first becomes a white bitmap of the
    // control's size. The control repaints at the next pump pass.
    Canvas& GetCanvas();

    void Paint(Canvas& canvas) override;

private:
    Bitmap picture_;
    mutable std::function<void()> owed_;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};

enum class TextLayout { tlTop, tlCenter, tlBottom };

// Big5 text in the control's font, aligned left, centred or right, clipped to the
// control (no word wrap); AutoSize fits the control to the text.
class Label : public Control {
public:
    explicit Label(WinControl* parent = nullptr);

    ui::Alignment Alignment() const { return alignment_; }
    void SetAlignment(ui::Alignment a);
    TextLayout Layout() const { return layout_; }
    void SetLayout(TextLayout l);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

    void Paint(Canvas& canvas) override;

protected:
    void CaptionChanged() override { AdjustSize(); }
    void FontChanged() override { AdjustSize(); }

private:
    void AdjustSize();
    ui::Alignment alignment_ = ui::Alignment::taLeftJustify;
    TextLayout layout_ = TextLayout::tlTop;
    bool autoSize_ = true;
    bool transparent_ = false;
};

enum class BevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A container with bevels and a caption centred vertically.
class Panel : public WinControl {
public:
    explicit Panel(WinControl* parent = nullptr);

    BevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(BevelCut b);
    BevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(BevelCut b);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int w);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);
    ui::Alignment Alignment() const { return alignment_; }
    void SetAlignment(ui::Alignment a);
    // The rectangle inside the bevels and border.
    Rect InnerRect() const;

    void Paint(Canvas& canvas) override;

protected:
    // The bevels and border; `r` shrinks to the inner rectangle.
    void PaintBevels(Canvas& canvas, Rect& r) const;
    // The caption in the canvas's font on one line across `r`, centred vertically and
    // aligned by Alignment; `greyed` draws it embossed as disabled text.
    void PaintCaption(Canvas& canvas, const Rect& r, bool greyed) const;

private:
    BevelCut bevelOuter_ = BevelCut::bvRaised;
    BevelCut bevelInner_ = BevelCut::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    ui::Alignment alignment_ = ui::Alignment::taCenter;
};

// What a button shows: up, disabled, pressed, or held down (a speed button in its
// down state).
enum class ButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
enum class ButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Draws a button face: the classic raised bevel, or pressed in.
void DrawButtonFace(Canvas& canvas, const Rect& r, bool pressed, bool flat);
// Draws a glyph cell and a caption laid out as buttons lay them out. `cell` picks
// the glyph cell of `numGlyphs` side by side; the glyph's bottom-left colour is
// transparent. `offset` shifts both (pressed buttons).
void DrawGlyphAndCaption(Canvas& canvas, const Rect& r, const Bitmap& glyph, int numGlyphs,
                         int cell, const std::string& caption, ButtonLayout layout, int margin,
                         int spacing, bool disabled, int offset);

// The glyph cell a button shows in a state, of `numGlyphs` cells (up, disabled,
// pressed, held down); a state without its own cell shows the up one (held down
// falls back to pressed first).
int GlyphCell(ButtonState state, int numGlyphs);

// The glyph properties the speed button and the glyph push button share, on top of
// their `Base` control; every change repaints.
template <class Base>
class GlyphButton : public Base {
public:
    using Base::Base;

    Bitmap& Glyph() { return glyph_; }
    const Bitmap& Glyph() const { return glyph_; }
    void SetGlyph(const Bitmap& glyph) {
        glyph_ = glyph;
        this->Invalidate();
    }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int n) {
        numGlyphs_ = std::clamp(n, 1, 4);
        this->Invalidate();
    }
    int Spacing() const { return spacing_; }
    void SetSpacing(int s) {
        spacing_ = s;
        this->Invalidate();
    }
    int Margin() const { return margin_; }
    void SetMargin(int m) {
        margin_ = m;
        this->Invalidate();
    }
    ButtonLayout Layout() const { return layout_; }
    void SetLayout(ButtonLayout l) {
        layout_ = l;
        this->Invalidate();
    }

protected:
    // The glyph cell of state `s` and the caption over `r`, greyed while disabled and
    // shifted one pixel while `pressed`.
    void PaintGlyphAndCaption(Canvas& canvas, const Rect& r, ButtonState s, bool pressed) const {
        DrawGlyphAndCaption(canvas, r, glyph_, numGlyphs_, GlyphCell(s, numGlyphs_),
                            this->Caption(), layout_, margin_, spacing_,
                            s == ButtonState::bsDisabled, pressed ? 1 : 0);
    }

private:
    Bitmap glyph_;
    int numGlyphs_ = 1;
    int spacing_ = 4;
    int margin_ = -1;
    ButtonLayout layout_ = ButtonLayout::blGlyphLeft;
};

// A button that never takes the focus. With a GroupIndex it stays down when
// clicked, and pressing another of its group (same parent, same index) lets it up;
// AllowAllUp lets the last one of the group come up too. The click comes on release
// inside the button.
class SpeedButton : public GlyphButton<Control> {
public:
    explicit SpeedButton(WinControl* parent = nullptr);

    bool Down() const { return down_; }
    void SetDown(bool down);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool on);
    bool Flat() const { return flat_; }
    void SetFlat(bool on);

    // What the button shows now.
    ButtonState State() const;

    void Paint(Canvas& canvas) override;
    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void MouseMove(ShiftState shift, int x, int y) override;
    void MouseUp(MouseButton button, ShiftState shift, int x, int y) override;

private:
    void UpdateExclusive();
    ButtonState state_ = ButtonState::bsUp;  // up, down (pressed) or exclusive
    bool down_ = false;
    bool dragging_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool flat_ = false;
};

// A focusable push button: clicks on release inside, on Space, and on Return; the
// Default button takes Return and the Cancel button Escape for the whole form; a
// ModalResult ends its form's modal loop with that result.
class Button : public WinControl {
public:
    explicit Button(WinControl* parent = nullptr);

    bool Default = false;
    bool Cancel = false;
    int ModalResult = mrNone;

    // Held down: pressed with the mouse still inside, or Space held.
    bool Pressed() const { return (mousePressed_ && mouseInside_) || spacePressed_; }
    // Shown as the form's default button: it has the focus, or it is the Default one
    // and no other button has the focus.
    bool IsDefaultNow() const;

    void Click() override;
    void Paint(Canvas& canvas) override;
    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void MouseMove(ShiftState shift, int x, int y) override;
    void MouseUp(MouseButton button, ShiftState shift, int x, int y) override;
    void KeyDown(int& key, ShiftState shift) override;
    void KeyUp(int& key, ShiftState shift) override;
    bool DialogKey(int key) override;

private:
    bool mousePressed_ = false;
    bool mouseInside_ = false;
    bool spacePressed_ = false;
};

// A push button with a glyph, drawn by its owner: DrawButton gets the state
// (selected, focused, disabled, default) and draws the whole face.
class BitBtn : public GlyphButton<Button> {
public:
    explicit BitBtn(WinControl* parent = nullptr);

    struct DrawState {
        bool selected = false;
        bool focused = false;
        bool disabled = false;
        bool isDefault = false;
    };
    DrawState CurrentDrawState() const;
    // Draws the button: the default is the classic face with glyph and caption.
    virtual void DrawButton(Canvas& canvas, const DrawState& state);
    void Paint(Canvas& canvas) override { DrawButton(canvas, CurrentDrawState()); }
};

}  // namespace ui
