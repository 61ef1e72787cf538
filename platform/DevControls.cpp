#include "platform/DevControls.h"

#include <algorithm>

#include "platform/Big5.h"
#include "platform/Menus.h"

namespace ui {

namespace {

constexpr TColor clWindowBack = clWindow;

// The sunken two-pixel frame of fields; `r` shrinks inside it.
void SunkenFrame(Canvas& canvas, Rect& r) {
    Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(canvas, r, clWindowFrame, clBtnFace, 1);
}

// Byte length of the character before / at `pos` of a Big5 string.
int PrevCharLength(const std::string& s, int pos) {
    if (pos <= 0) return 0;
    // Walk from the start: lead bytes take their trail byte.
    int i = 0, last = 0;
    while (i < pos) {
        last = i;
        i += (IsBig5Lead(static_cast<unsigned char>(s[static_cast<std::size_t>(i)])) &&
              i + 1 < static_cast<int>(s.size()))
                 ? 2
                 : 1;
    }
    return pos - last;
}

int NextCharLength(const std::string& s, int pos) {
    if (pos >= static_cast<int>(s.size())) return 0;
    return (IsBig5Lead(static_cast<unsigned char>(s[static_cast<std::size_t>(pos)])) &&
            pos + 1 < static_cast<int>(s.size()))
               ? 2
               : 1;
}

void Arrow(Canvas& canvas, int cx, int cy, int dir, TColor color) {
    // dir: 0 up, 1 down, 2 left, 3 right; a small triangle around (cx, cy).
    for (int k = 0; k < 4; ++k) {
        for (int j = -k; j <= k; ++j) {
            switch (dir) {
                case 0:
                    canvas.SetPixel(cx + j, cy - 2 + k, color);
                    break;
                case 1:
                    canvas.SetPixel(cx + j, cy + 1 - k, color);
                    break;
                case 2:
                    canvas.SetPixel(cx - 2 + k, cy + j, color);
                    break;
                default:
                    canvas.SetPixel(cx + 1 - k, cy + j, color);
                    break;
            }
        }
    }
}

}  // namespace

// ================================================================ CheckBox

CheckBox::CheckBox(WinControl* parent) : WinControl(parent) {
    TabStop = true;
    SetBounds(0, 0, 97, 17);
}

void CheckBox::SetChecked(bool on) {
    if (on == checked_) return;
    checked_ = on;
    Invalidate();
}

void CheckBox::Click() {
    checked_ = !checked_;
    Invalidate();
    Control::Click();
}

void CheckBox::KeyUp(int& key, ShiftState shift) {
    Control::KeyUp(key, shift);
    if (key == vk::Space) {
        key = 0;
        Click();
    }
}

void CheckBox::Paint(Canvas& canvas) {
    canvas.Brush.Style = BrushStyle::bsSolid;
    canvas.FillRect(ClientRect());
    const int top = (Height() - 13) / 2;
    Rect box = Bounds(0, top, 13, 13);
    SunkenFrame(canvas, box);
    canvas.Brush.Color = Enabled() ? clWindowBack : clBtnFace;
    canvas.FillRect(box);
    if (checked_) {
        const TColor c = Enabled() ? clBlack : clBtnShadow;
        for (int k = 0; k < 7; ++k) {
            const int y = k < 3 ? top + 6 + k : top + 8 - (k - 2);
            for (int t = 0; t < 3; ++t) canvas.SetPixel(3 + k, y + t - 1, c);
        }
    }
    canvas.Brush.Style = BrushStyle::bsClear;
    Rect t{17, 0, Width(), Height()};
    if (!Enabled()) canvas.Font.Color = clBtnShadow;
    canvas.DrawText(Caption(), t, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) {
        Rect calc = t;
        canvas.DrawText(Caption(), calc, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
        const int h = canvas.TextHeight(Caption());
        const int y = (Height() - h) / 2;
        canvas.DrawFocusRect(Rect{16, y - 1, std::min(Width(), calc.Right + 1), y + h + 1});
    }
}

// ================================================================ Edit

Edit::Edit(WinControl* parent) : WinControl(parent) {
    TabStop = true;
    SetParentColor(false);
    SetColor(clWindowBack);
    SetBounds(0, 0, 121, 21);
    SetClickOnRelease(false);
}

void Edit::SetText(const std::string& text) {
    std::string t = text;
    if (MaxLength > 0 && static_cast<int>(t.size()) > MaxLength) {
        // Never cut a two-byte character in half.
        int n = 0;
        while (n < MaxLength) {
            const int len = NextCharLength(t, n);
            if (n + len > MaxLength) break;
            n += len;
        }
        t.resize(static_cast<std::size_t>(n));
    }
    if (t == Caption()) return;
    SetCaption(t);
    caret_ = std::min(caret_, static_cast<int>(t.size()));
    if (OnChange) OnChange(*this);
}

void Edit::SetSelStart(int pos) {
    caret_ = std::clamp(pos, 0, static_cast<int>(Text().size()));
    Invalidate();
}

void Edit::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    if (button == MouseButton::mbLeft) {
        // The caret goes to the character boundary nearest the click.
        const ui::Font& f = GetFont();
        const std::string& s = Text();
        int pos = 0, px = 3;
        while (pos < static_cast<int>(s.size())) {
            const int len = NextCharLength(s, pos);
            const int w = len == 2 ? FullWidth(f) : HalfWidth(f);
            if (x < px + w / 2) break;
            px += w;
            pos += len;
        }
        SetSelStart(pos);
    }
    Control::MouseDown(button, shift, x, y);
}

void Edit::KeyDown(int& key, ShiftState shift) {
    Control::KeyDown(key, shift);
    const std::string& s = Text();
    switch (key) {
        case vk::Left:
            SetSelStart(caret_ - PrevCharLength(s, caret_));
            key = 0;
            break;
        case vk::Right:
            SetSelStart(caret_ + NextCharLength(s, caret_));
            key = 0;
            break;
        case vk::Home:
            SetSelStart(0);
            key = 0;
            break;
        case vk::End:
            SetSelStart(static_cast<int>(s.size()));
            key = 0;
            break;
        case vk::Back:
            if (!ReadOnly) {
                const int len = PrevCharLength(s, caret_);
                if (len > 0) {
                    std::string t = s;
                    t.erase(static_cast<std::size_t>(caret_ - len), static_cast<std::size_t>(len));
                    caret_ -= len;
                    SetText(t);
                }
            }
            key = 0;
            break;
        case vk::Delete:
            if (!ReadOnly && caret_ < static_cast<int>(s.size())) {
                std::string t = s;
                t.erase(static_cast<std::size_t>(caret_),
                        static_cast<std::size_t>(NextCharLength(s, caret_)));
                SetText(t);
            }
            key = 0;
            break;
        default:
            break;
    }
}

void Edit::KeyPress(char& ch) {
    Control::KeyPress(ch);
    if (ch == 0 || ReadOnly) return;
    std::string t = Text();
    // Control characters (Backspace, Return) come as keys, not as typed text.
    if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) return;
    if (MaxLength > 0 && static_cast<int>(t.size()) >= MaxLength) return;
    t.insert(static_cast<std::size_t>(caret_), 1, ch);
    ++caret_;
    SetText(t);
}

void Edit::Paint(Canvas& canvas) {
    Rect r = ClientRect();
    SunkenFrame(canvas, r);
    canvas.Brush.Style = BrushStyle::bsSolid;
    canvas.Brush.Color = Enabled() ? Color() : clBtnFace;
    canvas.FillRect(r);
    const std::string& s = Text();
    const int caretX =
        canvas.TextWidth(std::string_view(s).substr(0, static_cast<std::size_t>(caret_)));
    // Scrolled so that the caret stays in view.
    const int room = std::max(1, r.Width() - 3);
    const int scroll = std::max(0, caretX - room);
    canvas.SetClipRect(Intersect(canvas.ClipRect(), r));
    canvas.Brush.Style = BrushStyle::bsClear;
    if (!Enabled()) canvas.Font.Color = clBtnShadow;
    const int ty = r.Top + (r.Height() - canvas.TextHeight(s)) / 2;
    canvas.TextOut(r.Left + 1 - scroll, ty, s);
    if (Focused() && !ReadOnly) {
        canvas.Pen.Color = clBlack;
        const int x = r.Left + 1 + caretX - scroll;
        canvas.MoveTo(x, ty);
        canvas.LineTo(x, ty + canvas.TextHeight(s));
    }
}

// ================================================================ Memo

Memo::Memo(WinControl* parent) : WinControl(parent) {
    TabStop = true;
    SetParentColor(false);
    SetColor(clWindowBack);
    SetBounds(0, 0, 185, 89);
}

void Memo::Changed() {
    Invalidate();
    if (OnChange) OnChange(*this);
}

void Memo::Add(const std::string& line) {
    lines_.push_back(line);
    Changed();
}

void Memo::Clear() {
    lines_.clear();
    topLine_ = 0;
    Changed();
}

std::string Memo::Text() const {
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) out += '\n';
        out += lines_[i];
    }
    return out;
}

void Memo::SetText(const std::string& text) {
    lines_.assign(1, std::string());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsBig5Lead(c) && i + 1 < text.size()) {
            lines_.back() += text.substr(i, 2);
            ++i;
        } else if (c == '\n') {
            lines_.emplace_back();
        } else if (c != '\r') {
            lines_.back() += static_cast<char>(c);
        }
    }
    if (text.empty()) lines_.clear();
    topLine_ = std::min(topLine_, std::max(0, static_cast<int>(lines_.size()) - 1));
    Changed();
}

void Memo::SetTopLine(int line) {
    topLine_ = std::clamp(line, 0, std::max(0, static_cast<int>(lines_.size()) - 1));
    Invalidate();
}

void Memo::KeyDown(int& key, ShiftState shift) {
    Control::KeyDown(key, shift);
    if (key == vk::Up) {
        SetTopLine(topLine_ - 1);
        key = 0;
    } else if (key == vk::Down) {
        SetTopLine(topLine_ + 1);
        key = 0;
    } else if (key == vk::Return && !ReadOnly) {
        if (lines_.empty()) lines_.emplace_back();
        lines_.emplace_back();
        key = 0;
        Changed();
    } else if (key == vk::Back && !ReadOnly && !lines_.empty()) {
        std::string& last = lines_.back();
        const int len = PrevCharLength(last, static_cast<int>(last.size()));
        if (len > 0 && static_cast<std::size_t>(len) <= last.size())
            last.erase(last.size() - static_cast<std::size_t>(len));
        else if (lines_.size() > 1)
            lines_.pop_back();
        key = 0;
        Changed();
    }
}

void Memo::KeyPress(char& ch) {
    Control::KeyPress(ch);
    if (ch == 0 || ReadOnly) return;
    // Control characters (Backspace, Return) come as keys, not as typed text.
    if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) return;
    if (lines_.empty()) lines_.emplace_back();
    lines_.back() += ch;
    Changed();
}

void Memo::Paint(Canvas& canvas) {
    Rect r = ClientRect();
    SunkenFrame(canvas, r);
    canvas.Brush.Style = BrushStyle::bsSolid;
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    canvas.SetClipRect(Intersect(canvas.ClipRect(), r));
    canvas.Brush.Style = BrushStyle::bsClear;
    const int lh = canvas.TextHeight("W");
    int y = r.Top + 1;
    for (std::size_t i = static_cast<std::size_t>(topLine_); i < lines_.size() && y < r.Bottom;
         ++i, y += lh)
        canvas.TextOut(r.Left + 2, y, lines_[i]);
}

// ================================================================ ComboBox

ComboBox::ComboBox(WinControl* parent) : WinControl(parent) {
    TabStop = true;
    SetParentColor(false);
    SetColor(clWindowBack);
    SetBounds(0, 0, 145, 21);
    SetClickOnRelease(false);
}

void ComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(Items.size())) index = -1;
    itemIndex_ = index;
    Invalidate();
}

std::string ComboBox::Text() const {
    return itemIndex_ >= 0 && itemIndex_ < static_cast<int>(Items.size())
               ? Items[static_cast<std::size_t>(itemIndex_)]
               : std::string();
}

void ComboBox::Choose(int index) {
    if (index == itemIndex_) return;
    SetItemIndex(index);
    if (OnChange) OnChange(*this);
}

void ComboBox::DropDown() {
    if (Items.empty()) return;
    PopupMenu list;
    int chosen = -1;
    for (std::size_t i = 0; i < Items.size(); ++i) {
        MenuItem* item = list.Items.Add(Items[i], static_cast<int>(i),
                                        [&chosen](MenuItem& m) { chosen = m.Tag; });
        item->Checked = static_cast<int>(i) == itemIndex_;
    }
    const LifeToken life = Life();
    const Point p = ClientToScreen(Point{0, Height()});
    list.Popup(p.x, p.y);
    if (!life.expired() && chosen >= 0) Choose(chosen);
}

void ComboBox::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    const LifeToken life = Life();
    Control::MouseDown(button, shift, x, y);
    if (!life.expired() && button == MouseButton::mbLeft) {
        ReleaseCapture();
        DropDown();
    }
}

void ComboBox::KeyDown(int& key, ShiftState shift) {
    Control::KeyDown(key, shift);
    const int n = static_cast<int>(Items.size());
    if (key == vk::Down && itemIndex_ + 1 < n) {
        Choose(itemIndex_ + 1);
        key = 0;
    } else if (key == vk::Up && itemIndex_ > 0) {
        Choose(itemIndex_ - 1);
        key = 0;
    }
}

void ComboBox::Paint(Canvas& canvas) {
    Rect r = ClientRect();
    SunkenFrame(canvas, r);
    canvas.Brush.Style = BrushStyle::bsSolid;
    canvas.Brush.Color = Enabled() ? Color() : clBtnFace;
    canvas.FillRect(r);
    const Rect button{r.Right - 16, r.Top, r.Right, r.Bottom};
    DrawButtonFace(canvas, button, false, false);
    Arrow(canvas, button.Left + 8, button.Top + button.Height() / 2, 1,
          Enabled() ? clBlack : clBtnShadow);
    Rect t{r.Left + 2, r.Top, button.Left - 1, r.Bottom};
    canvas.Brush.Style = BrushStyle::bsClear;
    if (!Enabled()) canvas.Font.Color = clBtnShadow;
    canvas.DrawText(Text(), t, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) canvas.DrawFocusRect(Rect{t.Left - 1, t.Top + 1, t.Right, t.Bottom - 1});
}

// ================================================================ UpDown

UpDown::UpDown(WinControl* parent) : WinControl(parent) {
    SetBounds(0, 0, 15, 21);
    SetClickOnRelease(false);
}

void UpDown::SetPosition(int pos) {
    position_ = std::clamp(pos, std::min(Min, Max), std::max(Min, Max));
    WriteAssociate();
    Invalidate();
}

void UpDown::SetAssociate(Edit* edit) {
    associate_ = edit;
    associateLife_ = edit ? edit->Life() : LifeToken{};
    if (edit) {
        edit->SetBounds(edit->Left(), edit->Top(), edit->Width(), edit->Height());
        SetBounds(edit->Left() + edit->Width(), edit->Top(), Width(), edit->Height());
    }
    WriteAssociate();
}

void UpDown::WriteAssociate() {
    if (associate_ && !associateLife_.expired()) associate_->SetText(std::to_string(position_));
}

void UpDown::Step(UDBtnType button) {
    bool allow = true;
    if (OnChanging) OnChanging(*this, allow);
    if (!allow) return;
    lastButton_ = button;
    int next = position_ + (button == UDBtnType::btNext ? Increment : -Increment);
    const int lo = std::min(Min, Max), hi = std::max(Min, Max);
    if (next > hi) next = Wrap ? lo : hi;
    if (next < lo) next = Wrap ? hi : lo;
    position_ = next;
    WriteAssociate();
    Invalidate();
    Click();
}

void UpDown::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    const LifeToken life = Life();
    Control::MouseDown(button, shift, x, y);
    if (life.expired() || button != MouseButton::mbLeft || !Enabled()) return;
    Step(y < Height() / 2 ? UDBtnType::btNext : UDBtnType::btPrev);
}

void UpDown::Paint(Canvas& canvas) {
    const int half = Height() / 2;
    const Rect up{0, 0, Width(), half};
    const Rect down{0, half, Width(), Height()};
    DrawButtonFace(canvas, up, false, false);
    DrawButtonFace(canvas, down, false, false);
    const TColor c = Enabled() ? clBlack : clBtnShadow;
    Arrow(canvas, Width() / 2, half / 2, 0, c);
    Arrow(canvas, Width() / 2, half + (Height() - half) / 2, 1, c);
}

// ================================================================ ScrollBar

ScrollBar::ScrollBar(WinControl* parent) : WinControl(parent) {
    SetBounds(0, 0, 121, 16);
    SetClickOnRelease(false);
}

void ScrollBar::SetKind(ScrollBarKind kind) {
    if (kind == kind_) return;
    kind_ = kind;
    SetBounds(Left(), Top(), Height(), Width());
}

void ScrollBar::SetPosition(int pos) {
    pos = std::clamp(pos, std::min(Min, Max), std::max(Min, Max));
    if (pos == position_) return;
    position_ = pos;
    Invalidate();
    if (OnChange) OnChange(*this);
}

int ScrollBar::Length() const { return kind_ == ScrollBarKind::sbHorizontal ? Width() : Height(); }

int ScrollBar::Thickness() const {
    return kind_ == ScrollBarKind::sbHorizontal ? Height() : Width();
}

Rect ScrollBar::ThumbRect() const {
    const int t = Thickness();
    const int track = std::max(0, Length() - 2 * t);
    const int thumb = std::min(track, t);
    const int range = Max - Min;
    const int at =
        t +
        (range > 0 ? static_cast<int>(std::int64_t(position_ - Min) * (track - thumb) / range) : 0);
    return kind_ == ScrollBarKind::sbHorizontal ? Rect{at, 0, at + thumb, t}
                                                : Rect{0, at, t, at + thumb};
}

void ScrollBar::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    const LifeToken life = Life();
    Control::MouseDown(button, shift, x, y);
    if (life.expired() || button != MouseButton::mbLeft || !Enabled()) return;
    const int along = kind_ == ScrollBarKind::sbHorizontal ? x : y;
    const int t = Thickness();
    const Rect thumb = ThumbRect();
    const int thumbStart = kind_ == ScrollBarKind::sbHorizontal ? thumb.Left : thumb.Top;
    const int thumbEnd = kind_ == ScrollBarKind::sbHorizontal ? thumb.Right : thumb.Bottom;
    if (along < t)
        SetPosition(position_ - SmallChange);
    else if (along >= Length() - t)
        SetPosition(position_ + SmallChange);
    else if (along < thumbStart)
        SetPosition(position_ - LargeChange);
    else if (along >= thumbEnd)
        SetPosition(position_ + LargeChange);
    else {
        draggingThumb_ = true;
        dragOffset_ = along - thumbStart;
    }
}

void ScrollBar::MouseMove(ShiftState shift, int x, int y) {
    if (draggingThumb_) {
        const int t = Thickness();
        const int track = std::max(0, Length() - 2 * t);
        const int thumb = std::min(track, t);
        const int along = (kind_ == ScrollBarKind::sbHorizontal ? x : y) - dragOffset_ - t;
        if (track > thumb)
            SetPosition(Min +
                        static_cast<int>(std::int64_t(along) * (Max - Min) / (track - thumb)));
    }
    Control::MouseMove(shift, x, y);
}

void ScrollBar::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
    if (button == MouseButton::mbLeft) draggingThumb_ = false;
    Control::MouseUp(button, shift, x, y);
}

void ScrollBar::Paint(Canvas& canvas) {
    const int t = Thickness();
    const bool h = kind_ == ScrollBarKind::sbHorizontal;
    // The track: a fine checker of white and face colour.
    canvas.Brush.Style = BrushStyle::bsSolid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(ClientRect());
    for (int y = 0; y < Height(); ++y)
        for (int x = (y & 1); x < Width(); x += 2) canvas.SetPixel(x, y, clBtnHighlight);
    const Rect first = h ? Rect{0, 0, t, t} : Rect{0, 0, t, t};
    const Rect last = h ? Rect{Width() - t, 0, Width(), t} : Rect{0, Height() - t, t, Height()};
    DrawButtonFace(canvas, first, false, false);
    DrawButtonFace(canvas, last, false, false);
    const TColor c = Enabled() ? clBlack : clBtnShadow;
    Arrow(canvas, first.Left + t / 2, first.Top + t / 2, h ? 2 : 0, c);
    Arrow(canvas, last.Left + t / 2, last.Top + t / 2, h ? 3 : 1, c);
    if (Enabled() && Max > Min) DrawButtonFace(canvas, ThumbRect(), false, false);
}

// ================================================================ RadioGroup

RadioGroup::RadioGroup(WinControl* parent) : WinControl(parent) {
    TabStop = true;
    SetBounds(0, 0, 185, 105);
    SetClickOnRelease(false);
}

void RadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(Items.size())) index = -1;
    itemIndex_ = index;
    Invalidate();
}

Rect RadioGroup::ItemRect(int i) const {
    const int n = static_cast<int>(Items.size());
    const int cols = std::max(1, Columns);
    const int rows = std::max(1, (n + cols - 1) / cols);
    const int top = 16, left = 8;
    const int colWidth = (Width() - 2 * left) / cols;
    const int rowHeight = std::max(1, (Height() - top - 4) / rows);
    const int col = i / rows, row = i % rows;
    return Bounds(left + col * colWidth, top + row * rowHeight, colWidth, rowHeight);
}

void RadioGroup::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    const LifeToken life = Life();
    Control::MouseDown(button, shift, x, y);
    if (life.expired() || button != MouseButton::mbLeft) return;
    for (int i = 0; i < static_cast<int>(Items.size()); ++i) {
        if (ItemRect(i).Contains(x, y)) {
            SetItemIndex(i);
            Click();
            return;
        }
    }
}

void RadioGroup::Paint(Canvas& canvas) {
    canvas.Brush.Style = BrushStyle::bsSolid;
    canvas.FillRect(ClientRect());
    const int th = canvas.TextHeight("W");
    // The etched frame, broken by the caption.
    Rect frame{0, th / 2, Width(), Height()};
    Rect outer{frame.Left + 1, frame.Top + 1, frame.Right, frame.Bottom};
    canvas.Brush.Color = clBtnHighlight;
    canvas.FrameRect(outer);
    Rect inner{frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1};
    canvas.Brush.Color = clBtnShadow;
    canvas.FrameRect(inner);
    canvas.Brush.Color = Color();
    if (!Caption().empty()) {
        canvas.Brush.Style = BrushStyle::bsSolid;
        canvas.TextOut(8, 0, Caption());
    }
    canvas.Brush.Style = BrushStyle::bsClear;
    for (int i = 0; i < static_cast<int>(Items.size()); ++i) {
        const Rect r = ItemRect(i);
        const int cy = r.Top + r.Height() / 2;
        // A round button: a circle of radius 5, with a dot when chosen.
        for (int y = -5; y <= 5; ++y)
            for (int x = -5; x <= 5; ++x) {
                const int d = x * x + y * y;
                if (d <= 16)
                    canvas.SetPixel(r.Left + 6 + x, cy + y, clWindowBack);
                else if (d <= 30)
                    canvas.SetPixel(r.Left + 6 + x, cy + y,
                                    (x + y < 0) ? clBtnShadow : clBtnHighlight);
                if (i == itemIndex_ && d <= 4) canvas.SetPixel(r.Left + 6 + x, cy + y, clBlack);
            }
        canvas.Font.Color = Enabled() ? GetFont().Color : clBtnShadow;
        canvas.TextOut(r.Left + 16, cy - th / 2, Items[static_cast<std::size_t>(i)]);
    }
}

// ================================================================ OpenDialog

namespace {
Form* g_openWindow = nullptr;
}

Form* OpenDialog::Window() { return g_openWindow; }

bool OpenDialog::Execute() {
    if (!HaveApp()) return false;
    Form window;
    window.Name = "OpenDialog";
    window.SetBorderStyle(ui::BorderStyle::bsSingle);
    window.SetCaption(Title);
    window.SetClientWidth(360);
    window.SetClientHeight(84);
    const Screen& screen = App().GetScreen();
    window.SetLeft((screen.Width() - window.Width()) / 2);
    window.SetTop((screen.Height() - window.Height()) / 2);
    Label prompt(&window);
    prompt.SetBounds(8, 8, 0, 0);
    prompt.SetCaption(Filter.empty() ? std::string("File name:") : "File name (" + Filter + "):");
    Edit path(&window);
    path.Name = "FileNameEdit";
    path.SetBounds(8, 26, 344, 21);
    std::string start = FileName;
    if (start.empty() && !InitialDir.empty()) {
        start = InitialDir;
        if (start.back() != '/' && start.back() != '\\') start += '/';
    }
    path.SetText(start);
    path.SetSelStart(static_cast<int>(start.size()));
    Button ok(&window);
    ok.SetCaption("OK");
    ok.SetBounds(196, 54, 75, 23);
    ok.Default = true;
    ok.ModalResult = mrOk;
    Button cancel(&window);
    cancel.SetCaption("Cancel");
    cancel.SetBounds(277, 54, 75, 23);
    cancel.Cancel = true;
    cancel.ModalResult = mrCancel;
    window.OnShow = [&path](Form&) { path.SetFocus(); };
    Form* outer = g_openWindow;
    g_openWindow = &window;
    const int result = window.ShowModal();
    g_openWindow = outer;
    if (result != mrOk || path.Text().empty()) return false;
    FileName = path.Text();
    return true;
}

}  // namespace ui
