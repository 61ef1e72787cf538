#include "skin/BcPanel.h"

TBcCustomPanel::TBcCustomPanel(ui::WinControl* parent)
    : ui::Panel(parent),
      reader_([this] { Changed(); }),
      drawer_(
          &reader_, [this] { return inner_; }, [this] { Changed(); }) {
    SetBevelOuter(ui::BevelCut::bvNone);
    SetCaption(" ");
    inner_ = InnerRect();
    drawer_.SetParentClient(true);
}

TBcCustomPanel::~TBcCustomPanel() { reader_.OwnerChange = nullptr; }

void TBcCustomPanel::SetAutoSize(bool on) {
    autoSize_ = on;
    ApplyAutoSize();
}

void TBcCustomPanel::SetEraseBkGnd(bool on) {
    if (on == eraseBkGnd_) return;
    eraseBkGnd_ = on;
    Invalidate();
}

void TBcCustomPanel::Changed() {
    ApplyAutoSize();
    Invalidate();
}

void TBcCustomPanel::ApplyAutoSize() {
    if (!autoSize_) return;
    const ui::Rect src = reader_.SrcRect();
    if (src.IsEmpty()) return;
    if (Width() != src.Width() || Height() != src.Height())
        SetBounds(Left(), Top(), src.Width(), src.Height());
}

const ui::Palette* TBcCustomPanel::GetPalette() const { return reader_.GetPalette(); }

void TBcCustomPanel::Paint(ui::Canvas& canvas) {
    const ui::LifeToken life = Life();
    // The window's erase before the paint: only when asked for.
    if (eraseBkGnd_) {
        canvas.Brush.Style = ui::BrushStyle::bsSolid;
        canvas.Brush.Color = Color();
        canvas.FillRect(ClientRect());
    }
    paintCanvas_ = &canvas;
    if (OnPainting) OnPainting(*this);
    if (life.expired()) return;
    if (OnPaint) {
        OnPaint(*this);
        if (life.expired()) return;
    } else {
        ui::Rect r = ClientRect();
        PaintBevels(canvas, r);
        inner_ = r;
        drawer_.Draw(&canvas);
        if (!Caption().empty()) {
            canvas.Font = GetFont();
            PaintCaption(canvas, r, false);
        }
    }
    if (OnPainted) OnPainted(*this);
    if (life.expired()) return;
    paintCanvas_ = nullptr;
}
