#pragma once
#include <functional>

#include "platform/Controls.h"

// A speed button with a paint hook run after the standard painting, with the state
// (0 up, 1 disabled, 2 down, 3 held down).
class TCHSpeedButton : public ui::SpeedButton {
public:
    using PaintHook = std::function<void(TCHSpeedButton& sender, ui::Canvas& canvas, int state)>;

    explicit TCHSpeedButton(ui::WinControl* parent = nullptr);

    PaintHook OnPaintHook;

    // The state as the hook gets it.
    int PaintState() const;

    void Paint(ui::Canvas& canvas) override;
};
