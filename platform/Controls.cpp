#include "platform/Controls.h"

#include <algorithm>
#include <cstring>

namespace ui {

namespace {

// A colour-table entry as 0x00RRGGBB.
inline std::uint32_t QuadXrgb(RGBQuad q) {
    return std::uint32_t(q.Red) << 16 | std::uint32_t(q.Green) << 8 | q.Blue;
}

// A pixel of a bitmap as 0x00RRGGBB.
inline std::uint32_t Xrgb(const Bitmap& bm, const std::uint8_t* row, int x) {
    switch (bm.Format()) {
        case PixelFormat::pf8bit:
            return QuadXrgb(bm.ColorTable()[row[x]]);
        case PixelFormat::pf24bit: {
            const std::uint8_t* p = row + x * 3;
            return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
        }
        case PixelFormat::pf32bit: {
            const std::uint8_t* p = row + x * 4;
            return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
        }
    }
    return 0;
}

// A colour 0x00RRGGBB as the four bytes of a 32-bit pixel (blue, green, red, 0), read
// as one word, so that a row is written and compared a word at a time.
inline std::uint32_t PixelWord(std::uint32_t xrgb) {
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(xrgb),
                               static_cast<std::uint8_t>(xrgb >> 8),
                               static_cast<std::uint8_t>(xrgb >> 16), 0};
    std::uint32_t w;
    std::memcpy(&w, b, 4);
    return w;
}

// The pixel word of a 24- or 32-bit pixel's blue, green and red bytes.
inline std::uint32_t BgrWord(const std::uint8_t* p) {
    return PixelWord(std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0]);
}

// Writes `w` pixels of a row, given as pixel words by `get`, into a 32-bit row; with
// `transparent`, the pixels equal to `key` are left out. The two loops are apart so
// that the plain copy runs without a test per pixel.
template <class Get>
void CopyRowWords(std::uint8_t* d, int w, bool transparent, std::uint32_t key, Get get) {
    if (!transparent) {
        for (int i = 0; i < w; ++i) {
            const std::uint32_t v = get(i);
            std::memcpy(d + i * 4, &v, 4);
        }
        return;
    }
    for (int i = 0; i < w; ++i) {
        const std::uint32_t v = get(i);
        if (v != key) std::memcpy(d + i * 4, &v, 4);
    }
}

// Draws a whole picture at (x, y) of the canvas; with `transparent`, the pixels of
// the colour `key` (0x00RRGGBB) are left out. Forms paint into 32-bit bitmaps, for
// which this is a plain loop over the rows; other targets go through the canvas.
void DrawPicture(Canvas& canvas, const Bitmap& src, int x, int y, bool transparent,
                 std::uint32_t key) {
    if (src.Empty()) return;
    Bitmap& dst = canvas.Target();
    const Point o = canvas.Origin();
    const Rect clip = canvas.ClipRect();
    Rect area = Intersect(Bounds(x, y, src.Width(), src.Height()), clip);
    area = Rect{area.Left + o.x, area.Top + o.y, area.Right + o.x, area.Bottom + o.y};
    area = Intersect(area, Rect{0, 0, dst.Width(), dst.Height()});
    if (area.IsEmpty()) return;
    const int dx = x + o.x, dy = y + o.y;
    if (dst.Format() == PixelFormat::pf32bit) {
        const int w = area.Width();
        const std::uint32_t keyWord = PixelWord(key);
        // A palette picture looks its pixel words up in a table made once per draw.
        std::uint32_t lut[256];
        if (src.Format() == PixelFormat::pf8bit)
            for (int i = 0; i < 256; ++i) lut[i] = PixelWord(QuadXrgb(src.ColorTable()[i]));
        for (int ty = area.Top; ty < area.Bottom; ++ty) {
            const std::uint8_t* s = src.ScanLine(ty - dy);
            std::uint8_t* d = dst.ScanLine(ty) + area.Left * 4;
            const int sx = area.Left - dx;
            switch (src.Format()) {
                case PixelFormat::pf8bit:
                    CopyRowWords(d, w, transparent, keyWord, [&](int i) { return lut[s[sx + i]]; });
                    break;
                case PixelFormat::pf24bit:
                    CopyRowWords(d, w, transparent, keyWord,
                                 [&](int i) { return BgrWord(s + (sx + i) * 3); });
                    break;
                case PixelFormat::pf32bit:
                    if (!transparent)
                        std::memcpy(d, s + sx * 4, static_cast<std::size_t>(w) * 4);
                    else  // the fourth byte of a source pixel is not part of its colour
                        CopyRowWords(d, w, transparent, keyWord,
                                     [&](int i) { return BgrWord(s + (sx + i) * 4); });
                    break;
            }
        }
        dst.Changed();
        return;
    }
    if (!transparent) {
        canvas.Draw(x, y, src);
        return;
    }
    for (int ty = area.Top; ty < area.Bottom; ++ty) {
        const std::uint8_t* s = src.ScanLine(ty - dy);
        for (int tx = area.Left; tx < area.Right; ++tx) {
            const std::uint32_t v = Xrgb(src, s, tx - dx);
            if (v != key) dst.SetPixel(tx, ty, RGB(RedOf(v), GreenOf(v), BlueOf(v)));
        }
    }
    dst.Changed();
}

// The transparent colour of a picture: its bottom-left pixel.
std::uint32_t KeyOf(const Bitmap& bm) {
    if (bm.Empty()) return 0;
    return Xrgb(bm, bm.ScanLine(bm.Height() - 1), 0);
}

void DrawDisabledText(Canvas& canvas, std::string_view text, Rect r, unsigned flags) {
    canvas.Brush.Style = BrushStyle::bsClear;
    Rect shadow{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
    canvas.Font.Color = clBtnHighlight;
    canvas.DrawText(text, shadow, flags);
    canvas.Font.Color = clBtnShadow;
    canvas.DrawText(text, r, flags);
}

// A push button's face over `r`: the default button gets a frame in the window-frame
// colour and `r` shrinks inside it; then the face is pressed flat in a shadow frame,
// or raised.
void DrawPushFace(Canvas& canvas, Rect& r, bool isDefault, bool pressed) {
    if (isDefault) {
        canvas.Brush.Color = clWindowFrame;
        canvas.FrameRect(r);
        r = Rect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    if (pressed) {
        canvas.Brush.Style = BrushStyle::bsSolid;
        canvas.Brush.Color = clBtnFace;
        canvas.FillRect(r);
        canvas.Brush.Color = clBtnShadow;
        canvas.FrameRect(r);
    } else {
        DrawButtonFace(canvas, r, false, false);
    }
}

}  // namespace

// ================================================================ Image

Image::Image(WinControl* parent) : Control(parent) { SetBounds(0, 0, 105, 105); }

void Image::Settle() const {
    if (!owed_) return;
    const std::function<void()> draw = std::move(owed_);
    owed_ = nullptr;  // first: the drawing looks at the picture itself
    draw();
}

void Image::SetPicture(const Bitmap& picture) {
    Settle();
    picture_ = picture;
    PictureChanged();
}

void Image::SetPicture(Bitmap&& picture) {
    Settle();
    picture_ = std::move(picture);
    PictureChanged();
}

void Image::PictureChanged() {
    if (autoSize_ && !picture_.Empty())
        SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

void Image::SetAutoSize(bool on) {
    autoSize_ = on;
    PictureChanged();
}

void Image::SetStretch(bool on) {
    stretch_ = on;
    Invalidate();
}

void Image::SetCenter(bool on) {
    center_ = on;
    Invalidate();
}

void Image::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

Canvas& Image::GetCanvas() {
    Settle();
    if (picture_.Empty())
        picture_ = Bitmap(std::max(Width(), 1), std::max(Height(), 1), PixelFormat::pf24bit);
    Invalidate();
    return picture_.GetCanvas();
}

void Image::Paint(Canvas& canvas) {
    Settle();
    if (picture_.Empty()) return;
    if (stretch_) {
        const Rect dest = ClientRect();
        if (!transparent_) {
            canvas.StretchDraw(dest, picture_);
            return;
        }
        // Stretched with a key colour: nearest pixel, key pixels left out.
        const std::uint32_t key = KeyOf(picture_);
        for (int y = 0; y < dest.Height(); ++y) {
            const int sy = static_cast<int>(std::int64_t(y) * picture_.Height() / dest.Height());
            const std::uint8_t* row = picture_.ScanLine(sy);
            for (int x = 0; x < dest.Width(); ++x) {
                const int sx = static_cast<int>(std::int64_t(x) * picture_.Width() / dest.Width());
                const std::uint32_t v = Xrgb(picture_, row, sx);
                if (v != key) canvas.SetPixel(x, y, RGB(RedOf(v), GreenOf(v), BlueOf(v)));
            }
        }
        return;
    }
    int x = 0, y = 0;
    if (center_) {
        x = (Width() - picture_.Width()) / 2;
        y = (Height() - picture_.Height()) / 2;
    }
    DrawPicture(canvas, picture_, x, y, transparent_, KeyOf(picture_));
}

// ================================================================ Label

Label::Label(WinControl* parent) : Control(parent) {
    SetBounds(0, 0, 65, 13);
    AdjustSize();
}

void Label::SetAlignment(ui::Alignment a) {
    alignment_ = a;
    AdjustSize();
    Invalidate();
}

void Label::SetLayout(TextLayout l) {
    layout_ = l;
    Invalidate();
}

void Label::SetAutoSize(bool on) {
    autoSize_ = on;
    AdjustSize();
}

void Label::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

void Label::AdjustSize() {
    if (!autoSize_) return;
    Bitmap scratch;
    Canvas c(scratch);
    c.Font = GetFont();
    Rect r{0, 0, 0, 0};
    c.DrawText(Caption(), r, DT_CALCRECT | DT_LEFT);
    int left = Left();
    if (alignment_ == ui::Alignment::taRightJustify) left = Left() + Width() - r.Width();
    SetBounds(left, Top(), r.Width(), r.Height());
}

void Label::Paint(Canvas& canvas) {
    const Rect client = ClientRect();
    if (!transparent_) {
        canvas.Brush.Style = BrushStyle::bsSolid;
        canvas.FillRect(client);
    }
    canvas.Brush.Style = BrushStyle::bsClear;
    unsigned flags = alignment_ == ui::Alignment::taCenter         ? DT_CENTER
                     : alignment_ == ui::Alignment::taRightJustify ? DT_RIGHT
                                                                   : DT_LEFT;
    Rect r = client;
    if (layout_ != TextLayout::tlTop) {
        Rect calc{0, 0, client.Width(), 0};
        canvas.DrawText(Caption(), calc, DT_CALCRECT | flags);
        const int h = calc.Height();
        r.Top = layout_ == TextLayout::tlCenter ? (client.Height() - h) / 2 : client.Height() - h;
        r.Bottom = r.Top + h;
    }
    if (!Enabled()) {
        DrawDisabledText(canvas, Caption(), r, flags);
        return;
    }
    canvas.DrawText(Caption(), r, flags);
}

// ================================================================ Panel

Panel::Panel(WinControl* parent) : WinControl(parent) {
    SetParentColor(false);
    SetBounds(0, 0, 185, 41);
}

void Panel::SetBevelOuter(BevelCut b) {
    bevelOuter_ = b;
    Invalidate();
}

void Panel::SetBevelInner(BevelCut b) {
    bevelInner_ = b;
    Invalidate();
}

void Panel::SetBevelWidth(int w) {
    bevelWidth_ = std::max(w, 1);
    Invalidate();
}

void Panel::SetBorderWidth(int w) {
    borderWidth_ = std::max(w, 0);
    Invalidate();
}

void Panel::SetAlignment(ui::Alignment a) {
    alignment_ = a;
    Invalidate();
}

Rect Panel::InnerRect() const {
    int inset = borderWidth_;
    if (bevelOuter_ != BevelCut::bvNone) inset += bevelWidth_;
    if (bevelInner_ != BevelCut::bvNone) inset += bevelWidth_;
    return Rect{inset, inset, std::max(inset, Width() - inset), std::max(inset, Height() - inset)};
}

void Panel::PaintBevels(Canvas& canvas, Rect& r) const {
    auto bevel = [&](BevelCut b) {
        if (b == BevelCut::bvNone) return;
        const bool lowered = b == BevelCut::bvLowered;
        Frame3D(canvas, r, lowered ? clBtnShadow : clBtnHighlight,
                lowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    };
    bevel(bevelOuter_);
    Frame3D(canvas, r, Color(), Color(), borderWidth_);
    bevel(bevelInner_);
}

void Panel::Paint(Canvas& canvas) {
    Rect r = ClientRect();
    PaintBevels(canvas, r);
    canvas.Brush.Style = BrushStyle::bsSolid;
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    if (!Caption().empty()) PaintCaption(canvas, r, !Enabled());
}

void Panel::PaintCaption(Canvas& canvas, const Rect& r, bool greyed) const {
    canvas.Brush.Style = BrushStyle::bsClear;
    const int fh = canvas.TextHeight("W");
    Rect t = r;
    t.Top = (r.Bottom + r.Top - fh) / 2;
    t.Bottom = t.Top + fh;
    const unsigned flags =
        DT_SINGLELINE | (alignment_ == ui::Alignment::taCenter         ? DT_CENTER
                         : alignment_ == ui::Alignment::taRightJustify ? DT_RIGHT
                                                                       : DT_LEFT);
    if (greyed)
        DrawDisabledText(canvas, Caption(), t, flags);
    else
        canvas.DrawText(Caption(), t, flags);
}

// ================================================================ button drawing

void DrawButtonFace(Canvas& canvas, const Rect& rect, bool pressed, bool flat) {
    Rect r = rect;
    canvas.Brush.Style = BrushStyle::bsSolid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(r);
    if (flat) {
        if (pressed) Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
        return;
    }
    if (pressed) {
        Frame3D(canvas, r, clWindowFrame, clBtnHighlight, 1);
        Frame3D(canvas, r, clBtnShadow, clBtnFace, 1);
    } else {
        Frame3D(canvas, r, clBtnHighlight, clWindowFrame, 1);
        Frame3D(canvas, r, clBtnFace, clBtnShadow, 1);
    }
}

void DrawGlyphAndCaption(Canvas& canvas, const Rect& r, const Bitmap& glyph, int numGlyphs,
                         int cell, const std::string& caption, ButtonLayout layout, int margin,
                         int spacing, bool disabled, int offset) {
    numGlyphs = std::max(numGlyphs, 1);
    const int gw = glyph.Empty() ? 0 : glyph.Width() / numGlyphs;
    const int gh = glyph.Empty() ? 0 : glyph.Height();
    const int tw = caption.empty() ? 0 : canvas.TextWidth(caption);
    const int th = caption.empty() ? 0 : canvas.TextHeight(caption);
    const bool horizontal =
        layout == ButtonLayout::blGlyphLeft || layout == ButtonLayout::blGlyphRight;
    const int gap = (gw > 0 && tw > 0) ? std::max(spacing, 0) : 0;
    const int total = horizontal ? gw + gap + tw : gh + gap + th;
    const int room = horizontal ? r.Width() : r.Height();
    const int start = margin >= 0 ? margin : (room - total) / 2;
    int gx, gy, tx, ty;
    if (horizontal) {
        gy = r.Top + (r.Height() - gh) / 2;
        ty = r.Top + (r.Height() - th) / 2;
        if (layout == ButtonLayout::blGlyphLeft) {
            gx = r.Left + start;
            tx = gx + gw + gap;
        } else {
            tx = r.Left + start;
            gx = tx + tw + gap;
        }
    } else {
        gx = r.Left + (r.Width() - gw) / 2;
        tx = r.Left + (r.Width() - tw) / 2;
        if (layout == ButtonLayout::blGlyphTop) {
            gy = r.Top + start;
            ty = gy + gh + gap;
        } else {
            ty = r.Top + start;
            gy = ty + th + gap;
        }
    }
    if (gw > 0 && gh > 0) {
        cell = std::clamp(cell, 0, numGlyphs - 1);
        const std::uint32_t key = KeyOf(glyph);
        for (int y = 0; y < gh; ++y) {
            const std::uint8_t* row = glyph.ScanLine(y);
            for (int x = 0; x < gw; ++x) {
                const std::uint32_t v = Xrgb(glyph, row, cell * gw + x);
                if (v != key)
                    canvas.SetPixel(gx + x + offset, gy + y + offset,
                                    RGB(RedOf(v), GreenOf(v), BlueOf(v)));
            }
        }
    }
    if (tw > 0) {
        canvas.Brush.Style = BrushStyle::bsClear;
        if (disabled) {
            canvas.Font.Color = clBtnHighlight;
            canvas.TextOut(tx + offset + 1, ty + offset + 1, caption);
            canvas.Font.Color = clBtnShadow;
        }
        canvas.TextOut(tx + offset, ty + offset, caption);
    }
}

int GlyphCell(ButtonState state, int numGlyphs) {
    switch (state) {
        case ButtonState::bsDisabled:
            return numGlyphs > 1 ? 1 : 0;
        case ButtonState::bsDown:
            return numGlyphs > 2 ? 2 : 0;
        case ButtonState::bsExclusive:
            return numGlyphs > 3 ? 3 : numGlyphs > 2 ? 2 : 0;
        default:
            return 0;
    }
}

// ================================================================ SpeedButton

SpeedButton::SpeedButton(WinControl* parent) : GlyphButton(parent) {
    SetBounds(0, 0, 23, 22);
    SetClickOnRelease(false);  // it clicks from its own MouseUp
}

ButtonState SpeedButton::State() const {
    if (!Enabled()) return ButtonState::bsDisabled;
    return state_;
}

void SpeedButton::SetDown(bool down) {
    if (groupIndex_ == 0) down = false;
    if (down == down_) return;
    if (down_ && !allowAllUp_) return;  // the last one down of a group stays down
    down_ = down;
    state_ = down ? ButtonState::bsExclusive : ButtonState::bsUp;
    Invalidate();
    if (down) UpdateExclusive();
}

void SpeedButton::UpdateExclusive() {
    if (groupIndex_ == 0 || !Parent()) return;
    for (Control* c : Parent()->Controls()) {
        auto* b = dynamic_cast<SpeedButton*>(c);
        if (!b || b == this || b->groupIndex_ != groupIndex_) continue;
        if (down_ && b->down_) {
            b->down_ = false;
            b->state_ = ButtonState::bsUp;
            b->Invalidate();
        }
        b->allowAllUp_ = allowAllUp_;
    }
}

void SpeedButton::SetGroupIndex(int index) {
    groupIndex_ = index;
    UpdateExclusive();
}

void SpeedButton::SetAllowAllUp(bool on) {
    allowAllUp_ = on;
    UpdateExclusive();
}

void SpeedButton::SetFlat(bool on) {
    flat_ = on;
    Invalidate();
}

void SpeedButton::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    if (button == MouseButton::mbLeft && Enabled()) {
        if (!down_) {
            state_ = ButtonState::bsDown;
            Invalidate();
        }
        dragging_ = true;
    }
    Control::MouseDown(button, shift, x, y);
}

void SpeedButton::MouseMove(ShiftState shift, int x, int y) {
    if (dragging_) {
        ButtonState s = down_ ? ButtonState::bsExclusive : ButtonState::bsUp;
        if (ClientRect().Contains(x, y)) s = ButtonState::bsDown;
        if (s != state_) {
            state_ = s;
            Invalidate();
        }
    }
    Control::MouseMove(shift, x, y);
}

void SpeedButton::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
    if (dragging_ && button == MouseButton::mbLeft) {
        dragging_ = false;
        const bool doClick = ClientRect().Contains(x, y);
        if (groupIndex_ == 0) {
            state_ = ButtonState::bsUp;
            Invalidate();
        } else if (doClick) {
            SetDown(!down_);
            state_ = down_ ? ButtonState::bsExclusive : ButtonState::bsUp;
            Invalidate();
        } else {
            state_ = down_ ? ButtonState::bsExclusive : ButtonState::bsUp;
            Invalidate();
        }
        if (doClick) {
            const LifeToken life = Life();
            Click();
            if (life.expired()) return;
        }
    }
    Control::MouseUp(button, shift, x, y);
}

void SpeedButton::Paint(Canvas& canvas) {
    const ButtonState s = State();
    const Rect r = ClientRect();
    const bool pressed = s == ButtonState::bsDown || s == ButtonState::bsExclusive;
    DrawButtonFace(canvas, r, pressed, flat_);
    if (s == ButtonState::bsExclusive) {
        // Held down: the face shows a fine checker of white and face colour.
        for (int y = 2; y < r.Height() - 2; ++y)
            for (int x = 2 + (y & 1); x < r.Width() - 2; x += 2)
                canvas.SetPixel(x, y, clBtnHighlight);
    }
    PaintGlyphAndCaption(canvas, r, s, pressed);
}

// ================================================================ Button

Button::Button(WinControl* parent) : WinControl(parent) {
    TabStop = true;
    SetBounds(0, 0, 75, 25);
    SetTakesDoubleClicks(false);
}

bool Button::IsDefaultNow() const {
    const Form* f = ParentForm();
    const WinControl* focus = f ? f->ActiveControl() : nullptr;
    if (dynamic_cast<const Button*>(focus)) return focus == this;
    return Default;
}

void Button::Click() {
    if (ModalResult != mrNone)
        if (Form* f = ParentForm()) f->SetModalResult(ModalResult);
    Control::Click();
}

void Button::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    if (button == MouseButton::mbLeft) {
        mousePressed_ = true;
        mouseInside_ = true;
        Invalidate();
    }
    Control::MouseDown(button, shift, x, y);
}

void Button::MouseMove(ShiftState shift, int x, int y) {
    if (mousePressed_) {
        const bool inside = ClientRect().Contains(x, y);
        if (inside != mouseInside_) {
            mouseInside_ = inside;
            Invalidate();
        }
    }
    Control::MouseMove(shift, x, y);
}

void Button::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
    if (button == MouseButton::mbLeft && mousePressed_) {
        mousePressed_ = false;
        Invalidate();
    }
    Control::MouseUp(button, shift, x, y);
}

void Button::KeyDown(int& key, ShiftState shift) {
    Control::KeyDown(key, shift);
    if (key == vk::Space) {
        spacePressed_ = true;
        Invalidate();
        key = 0;
    } else if (key == vk::Return) {
        key = 0;
        Click();
    }
}

void Button::KeyUp(int& key, ShiftState shift) {
    Control::KeyUp(key, shift);
    if (key == vk::Space && spacePressed_) {
        spacePressed_ = false;
        Invalidate();
        key = 0;
        Click();
    }
}

bool Button::DialogKey(int key) {
    if (key == vk::Return && Default && IsDefaultNow()) {
        Click();
        return true;
    }
    if (key == vk::Escape && Cancel) {
        Click();
        return true;
    }
    return false;
}

void Button::Paint(Canvas& canvas) {
    Rect r = ClientRect();
    const bool pressed = Pressed();
    DrawPushFace(canvas, r, IsDefaultNow(), pressed);
    const int off = pressed ? 1 : 0;
    Rect t{r.Left + off, r.Top + off, r.Right + off, r.Bottom + off};
    canvas.Brush.Style = BrushStyle::bsClear;
    if (!Enabled())
        DrawDisabledText(canvas, Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    else
        canvas.DrawText(Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) canvas.DrawFocusRect(Rect{r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3});
}

// ================================================================ BitBtn

BitBtn::BitBtn(WinControl* parent) : GlyphButton(parent) {}

BitBtn::DrawState BitBtn::CurrentDrawState() const {
    DrawState s;
    s.disabled = !Enabled();
    s.selected = !s.disabled && Pressed();
    s.focused = Focused();
    s.isDefault = IsDefaultNow();
    return s;
}

void BitBtn::DrawButton(Canvas& canvas, const DrawState& state) {
    Rect r = ClientRect();
    DrawPushFace(canvas, r, state.isDefault, state.selected);
    PaintGlyphAndCaption(canvas, r,
                         state.disabled   ? ButtonState::bsDisabled
                         : state.selected ? ButtonState::bsDown
                                          : ButtonState::bsUp,
                         state.selected);
    if (state.focused) canvas.DrawFocusRect(Rect{r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3});
}

}  // namespace ui
