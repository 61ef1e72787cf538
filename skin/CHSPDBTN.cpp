#include "skin/CHSPDBTN.h"

TCHSpeedButton::TCHSpeedButton(ui::WinControl* parent) : ui::SpeedButton(parent) {}

int TCHSpeedButton::PaintState() const {
    switch (State()) {
        case ui::ButtonState::bsUp:
            return 0;
        case ui::ButtonState::bsDisabled:
            return 1;
        case ui::ButtonState::bsDown:
            return 2;
        case ui::ButtonState::bsExclusive:
            return 3;
    }
    return 0;
}

void TCHSpeedButton::Paint(ui::Canvas& canvas) {
    ui::SpeedButton::Paint(canvas);
    if (OnPaintHook) OnPaintHook(*this, canvas, PaintState());
}
