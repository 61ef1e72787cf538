#include "skin/CHPNTBTN.h"

TCHCustomPaintBitBtn::TCHCustomPaintBitBtn(ui::WinControl* parent) : ui::BitBtn(parent) {}

void TCHCustomPaintBitBtn::SetEraseBkGnd(bool on) {
    if (on == eraseBkGnd_) return;
    eraseBkGnd_ = on;
    Invalidate();
}

void TCHCustomPaintBitBtn::DrawItem(ui::Canvas& canvas, const DrawState& state) {
    canvas.Font = GetFont();
    canvas.Brush = ui::TBrush{};
    canvas.Brush.Color = ui::clBtnFace;
    canvas.Pen = ui::TPen{};
    canvas.Pen.Color = ui::clWindowFrame;
    const int s = state.disabled ? 1 : state.selected ? 2 : 0;
    OnPaintHook(*this, canvas, s, state.focused, state.isDefault);
}

void TCHCustomPaintBitBtn::DrawButton(ui::Canvas& canvas, const DrawState& state) {
    // The erase the window does before the paint, unless the button says not to.
    if (eraseBkGnd_) {
        canvas.Brush.Style = ui::BrushStyle::bsSolid;
        canvas.Brush.Color = Color();
        canvas.FillRect(ClientRect());
    }
    if (OnPaintHook)
        DrawItem(canvas, state);
    else
        ui::BitBtn::DrawButton(canvas, state);
}
