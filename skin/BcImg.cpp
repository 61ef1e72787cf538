#include "skin/BcImg.h"

TBcImage::TBcImage(ui::WinControl* parent)
    : ui::Control(parent),
      reader_([this] { Changed(); }),
      drawer_(
          &reader_, [this] { return ClientRect(); }, [this] { Changed(); }) {
    SetBounds(Left(), Top(), 105, 105);
}

TBcImage::~TBcImage() {
    // The reader's link goes with it; nothing may call back into a half-destroyed image.
    reader_.OwnerChange = nullptr;
}

void TBcImage::SetAutoSize(bool on) {
    autoSize_ = on;
    ApplyAutoSize();
}

void TBcImage::Changed() {
    ApplyAutoSize();
    Invalidate();
}

void TBcImage::ApplyAutoSize() {
    if (!autoSize_) return;
    const ui::Rect src = reader_.SrcRect();
    if (src.IsEmpty()) return;
    if (Width() != src.Width() || Height() != src.Height())
        SetBounds(Left(), Top(), src.Width(), src.Height());

    // Opaque: the destination covers the control, and the picture covers the destination.
    const ui::Rect dst = drawer_.ParentClient() ? ClientRect() : drawer_.DstRect();
    const int w = Width(), h = Height();
    bool opaque = dst.Left <= 0 && dst.Top <= 0 && dst.Right >= w && dst.Bottom >= h;
    if (opaque) {
        switch (drawer_.DrawStyle()) {
            case chdsNormal:
                opaque = dst.Left + src.Width() >= w && dst.Top + src.Height() >= h;
                break;
            case chdsOffset: {
                const int x = dst.Left + drawer_.DpAX(), y = dst.Top + drawer_.DpAY();
                opaque = x <= 0 && y <= 0 && x + src.Width() >= w && y + src.Height() >= h;
                break;
            }
            case chdsFix:
            case chdsTitleFix:
                opaque = drawer_.DpFill();
                break;
            default:
                break;
        }
    }
    opaque_ = opaque;
}

const ui::Palette* TBcImage::GetPalette() const { return reader_.GetPalette(); }

void TBcImage::Paint(ui::Canvas& canvas) {
    const ui::LifeToken life = Life();
    paintCanvas_ = &canvas;
    if (OnPainting) OnPainting(*this);
    if (life.expired()) return;
    if (OnPaint)
        OnPaint(*this);
    else
        drawer_.Draw(&canvas);
    if (life.expired()) return;
    if (OnPainted) OnPainted(*this);
    if (life.expired()) return;
    paintCanvas_ = nullptr;
}
