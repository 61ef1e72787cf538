#include "platform/Menus.h"

#include <algorithm>

#include "platform/Hint.h"

namespace ui {

namespace {

constexpr TColor clMenuFace = clBtnFace;
constexpr TColor clHighlight = clNavy;
constexpr TColor clHighlightText = clWhite;
constexpr TColor clGrayText = clGray;
constexpr int kTextLeft = 18;   // room for the check mark
constexpr int kTextRight = 22;  // room for the submenu arrow

bool HasSubmenu(const MenuItem* item) {
    for (int i = 0; i < item->Count(); ++i)
        if (item->Item(i)->Visible) return true;
    return false;
}

// One open level of a menu: a popup window listing the visible items of `menu`.
class MenuWindow : public Form {
public:
    MenuWindow(MenuItem* menu, int x, int y, int flipLeftOf)
        : Form(PopupWindowTag{}), menu_(menu), life_(menu->Life()) {
        ui::Font font;
        SetFont(font);
        int width = 0, height = 0;
        for (int i = 0; i < menu->Count(); ++i) {
            MenuItem* item = menu->Item(i);
            if (!item->Visible) continue;
            const int h = item->IsLine() ? kMenuLineHeight : kMenuItemHeight;
            rects_.push_back(Bounds(kMenuBorder, kMenuBorder + height, 0, h));
            items_.push_back(item);
            lives_.push_back(item->Life());
            height += h;
            if (!item->IsLine()) width = std::max(width, TextWidth(font, item->Caption));
        }
        const int w = width + kTextLeft + kTextRight + 2 * kMenuBorder;
        const int h = height + 2 * kMenuBorder;
        for (Rect& r : rects_) r.Right = w - kMenuBorder;
        // Keep the window on the screen: flip to the left of the opener, or move up.
        if (HaveApp()) {
            const int sw = App().GetScreen().Width(), sh = App().GetScreen().Height();
            if (x + w > sw) x = flipLeftOf >= 0 ? std::max(0, flipLeftOf - w) : std::max(0, sw - w);
            if (y + h > sh) y = std::max(0, sh - h);
        }
        SetBounds(x, y, w, h);
    }

    MenuItem* Menu() const { return life_.expired() ? nullptr : menu_; }
    int Count() const { return static_cast<int>(items_.size()); }
    MenuItem* ItemAt(int i) const {
        return (i >= 0 && i < Count() && !lives_[i].expired()) ? items_[i] : nullptr;
    }
    // Index of the row under a screen point, -1 for none.
    int RowAt(int sx, int sy) const {
        const Point p = ScreenToClient(Point{sx, sy});
        for (int i = 0; i < Count(); ++i)
            if (rects_[i].Contains(p.x, p.y)) return i;
        return -1;
    }
    Rect RowScreenRect(int i) const {
        const Point o = ClientOrigin();
        const Rect r = rects_[i];
        return Rect{r.Left + o.x, r.Top + o.y, r.Right + o.x, r.Bottom + o.y};
    }
    int selected = -1;
    void Select(int i) {
        if (i != selected) {
            selected = i;
            Invalidate();
        }
    }

    void Paint(Canvas& canvas) override {
        Rect r = ClientRect();
        canvas.Brush.Color = clMenuFace;
        canvas.FillRect(r);
        Frame3D(canvas, r, clMenuFace, clWindowFrame, 1);
        Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
        for (int i = 0; i < Count(); ++i) {
            MenuItem* item = ItemAt(i);
            if (!item) continue;
            const Rect row = rects_[i];
            if (item->IsLine()) {
                const int y = row.Top + row.Height() / 2 - 1;
                canvas.Pen.Color = clBtnShadow;
                canvas.MoveTo(row.Left + 1, y);
                canvas.LineTo(row.Right - 1, y);
                canvas.Pen.Color = clBtnHighlight;
                canvas.MoveTo(row.Left + 1, y + 1);
                canvas.LineTo(row.Right - 1, y + 1);
                continue;
            }
            const bool sel = i == selected;
            if (sel) {
                canvas.Brush.Style = BrushStyle::bsSolid;
                canvas.Brush.Color = clHighlight;
                canvas.FillRect(row);
            }
            TColor fg = item->Enabled ? (sel ? clHighlightText : clBlack) : clGrayText;
            canvas.Brush.Style = BrushStyle::bsClear;
            const int ty = row.Top + (row.Height() - TextHeight(canvas.Font)) / 2;
            if (!item->Enabled && !sel) {
                canvas.Font.Color = clBtnHighlight;
                canvas.TextOut(row.Left + kTextLeft + 1, ty + 1, item->Caption);
            }
            canvas.Font.Color = fg;
            canvas.TextOut(row.Left + kTextLeft, ty, item->Caption);
            if (item->Checked) {
                // A small tick left of the text.
                const int cx = row.Left + 5, cy = row.Top + row.Height() / 2;
                for (int k = 0; k < 7; ++k) {
                    const int yy = k < 3 ? cy + k - 1 : cy + 1 - (k - 3) + 1;
                    canvas.SetPixel(cx + k, yy, fg);
                    canvas.SetPixel(cx + k, yy + 1, fg);
                }
            }
            if (HasSubmenu(item)) {
                // The submenu arrow: a triangle pointing right.
                const int ax = row.Right - 12, ay = row.Top + row.Height() / 2;
                for (int k = 0; k < 4; ++k)
                    for (int yy = ay - 3 + k; yy <= ay + 3 - k; ++yy)
                        canvas.SetPixel(ax + k, yy, fg);
            }
        }
    }

private:
    MenuItem* menu_;
    LifeToken life_;
    std::vector<MenuItem*> items_;
    std::vector<LifeToken> lives_;
    std::vector<Rect> rects_;
};

// The loop of an open menu: takes every input until an item is chosen or the menu
// is dismissed.
class Tracker : public InputGrab {
public:
    explicit Tracker(PopupMenu& menu, int x, int y) : life_(menu.Life()), start_{x, y} {
        Open(&menu.Items, x, y, -1);
    }
    ~Tracker() override { windows_.clear(); }

    bool done = false;
    MenuItem* chosen = nullptr;
    LifeToken chosenLife;

    void Input(const InputEvent& e) override {
        if (life_.expired()) {
            done = true;
            return;
        }
        switch (e.type) {
            case InputType::MouseMove:
                Move(e.x, e.y);
                break;
            case InputType::MouseDown:
            case InputType::DoubleClick:
                if (Level(e.x, e.y) < 0)
                    done = true;  // a press outside dismisses the menu
                else
                    pressed_ = true;
                break;
            case InputType::MouseUp: {
                const int level = Level(e.x, e.y);
                if (level < 0) break;
                Move(e.x, e.y);
                MenuWindow& w = *windows_[level];
                MenuItem* item = w.ItemAt(w.RowAt(e.x, e.y));
                if (item && (pressed_ || moved_)) Choose(item);
                break;
            }
            case InputType::KeyDown:
                Key(e.key);
                break;
            default:
                break;
        }
    }

private:
    void Open(MenuItem* menu, int x, int y, int flipLeftOf) {
        auto w = std::make_unique<MenuWindow>(menu, x, y, flipLeftOf);
        w->Show();
        windows_.push_back(std::move(w));
    }
    void CloseFrom(std::size_t level) {
        while (windows_.size() > level) windows_.pop_back();
    }
    int Level(int x, int y) const {
        for (int i = static_cast<int>(windows_.size()) - 1; i >= 0; --i)
            if (windows_[i]->ContainsScreenPoint(x, y)) return i;
        return -1;
    }
    void Choose(MenuItem* item) {
        if (item->IsLine() || !item->Enabled) return;
        if (HasSubmenu(item)) return;
        chosen = item;
        chosenLife = item->Life();
        done = true;
    }
    // Opens the submenu of the selected row of window `level` (when it has one).
    void OpenSelected(std::size_t level) {
        MenuWindow& w = *windows_[level];
        MenuItem* item = w.ItemAt(w.selected);
        if (windows_.size() > level + 1 && windows_[level + 1]->Menu() == item) return;
        CloseFrom(level + 1);
        if (!item || !item->Enabled || !HasSubmenu(item)) return;
        const Rect r = w.RowScreenRect(w.selected);
        Open(item, w.Left() + w.Width() - kMenuBorder, r.Top - kMenuBorder, w.Left() + kMenuBorder);
    }
    void Move(int x, int y) {
        if (x != start_.x || y != start_.y) moved_ = true;
        const int level = Level(x, y);
        if (level < 0) {
            MenuWindow& last = *windows_.back();
            last.Select(-1);
            return;
        }
        MenuWindow& w = *windows_[level];
        int row = w.RowAt(x, y);
        if (MenuItem* item = w.ItemAt(row); item && item->IsLine()) row = -1;
        w.Select(row);
        OpenSelected(static_cast<std::size_t>(level));
    }
    void Key(int key) {
        MenuWindow& w = *windows_.back();
        auto step = [&](int dir) {
            const int n = w.Count();
            if (n == 0) return;
            int i = w.selected;
            for (int k = 0; k < n; ++k) {
                i = i < 0 ? (dir > 0 ? 0 : n - 1) : (i + dir + n) % n;
                MenuItem* item = w.ItemAt(i);
                if (item && !item->IsLine()) {
                    w.Select(i);
                    return;
                }
            }
        };
        switch (key) {
            case vk::Escape:
                if (windows_.size() > 1)
                    CloseFrom(windows_.size() - 1);
                else
                    done = true;
                break;
            case vk::Left:
                if (windows_.size() > 1) CloseFrom(windows_.size() - 1);
                break;
            case vk::Down:
                step(1);
                break;
            case vk::Up:
                step(-1);
                break;
            case vk::Right:
            case vk::Return: {
                MenuItem* item = w.ItemAt(w.selected);
                if (!item) break;
                if (HasSubmenu(item)) {
                    OpenSelected(windows_.size() - 1);
                    if (windows_.back().get() != &w) Key(vk::Down);  // into the submenu's first row
                } else if (key == vk::Return) {
                    Choose(item);
                }
                break;
            }
            default:
                break;
        }
    }

    LifeToken life_;
    Point start_;
    bool pressed_ = false;
    bool moved_ = false;
    std::vector<std::unique_ptr<MenuWindow>> windows_;
};

Tracker* g_tracker = nullptr;

}  // namespace

// ================================================================ MenuItem

MenuItem::MenuItem(std::string caption, int tag) : Caption(std::move(caption)), Tag(tag) {}

MenuItem::~MenuItem() { life_.reset(); }

MenuItem* MenuItem::Add(std::string caption, int tag, std::function<void(MenuItem&)> onClick) {
    auto item = std::make_unique<MenuItem>(std::move(caption), tag);
    item->parent_ = this;
    item->OnClick = std::move(onClick);
    items_.push_back(std::move(item));
    return items_.back().get();
}

void MenuItem::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
}

void MenuItem::Clear() { items_.clear(); }

MenuItem* MenuItem::Item(int index) const {
    return (index >= 0 && index < Count()) ? items_[static_cast<std::size_t>(index)].get()
                                           : nullptr;
}

MenuItem* MenuItem::Find(const std::string& name) const {
    for (const auto& item : items_) {
        if (item->Name == name) return item.get();
        if (MenuItem* found = item->Find(name)) return found;
    }
    return nullptr;
}

void MenuItem::Click() {
    if (OnClick) OnClick(*this);
}

// ================================================================ PopupMenu

PopupMenu::PopupMenu() = default;

PopupMenu::~PopupMenu() { life_.reset(); }

MenuItem* PopupMenu::LastChosen() const {
    return lastChosenLife_.expired() ? nullptr : lastChosen_;
}

void PopupMenu::Popup(int x, int y) {
    if (g_tracker || !HaveApp()) return;  // one menu at a time
    const LifeToken life = Life();
    if (OnPopup) {
        OnPopup(*this);
        if (life.expired()) return;
    }
    lastChosen_ = nullptr;
    lastChosenLife_.reset();
    if (!HasSubmenu(&Items)) return;
    ReleaseCapture();
    CancelHint();
    MenuItem* chosen = nullptr;
    LifeToken chosenLife;
    {
        Tracker tracker(*this, x, y);
        g_tracker = &tracker;
        PushInputGrab(&tracker);
        App().PumpUntil([&] { return tracker.done || life.expired(); }, "PopupMenu");
        PopInputGrab(&tracker);
        g_tracker = nullptr;
        chosen = tracker.chosen;
        chosenLife = tracker.chosenLife;
    }
    if (life.expired() || !chosen || chosenLife.expired()) return;
    lastChosen_ = chosen;
    lastChosenLife_ = chosenLife;
    chosen->Click();
}

bool MenuOpen() { return g_tracker != nullptr; }

}  // namespace ui
