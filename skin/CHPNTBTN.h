#pragma once
#include <functional>

#include "platform/Controls.h"

// A push button drawn by its owner through a paint hook. The hook gets the button's
// state (0 up, 1 disabled, 2 down), whether it has the focus and whether it is the
// form's default button now; without a hook the button draws as a plain one.
class TCHCustomPaintBitBtn : public ui::BitBtn {
public:
    using PaintHook = std::function<void(TCHCustomPaintBitBtn& sender, ui::Canvas& canvas,
                                         int state, bool focused, bool isDefault)>;

    explicit TCHCustomPaintBitBtn(ui::WinControl* parent = nullptr);

    // Let the window erase the background (the button's colour) before painting.
    bool EraseBkGnd() const { return eraseBkGnd_; }
    void SetEraseBkGnd(bool on);

    PaintHook OnPaintHook;

    // The owner draw: the canvas takes the button's font, brush clBtnFace and pen
    // clWindowFrame, and the hook draws.
    void DrawItem(ui::Canvas& canvas, const DrawState& state);
    void DrawButton(ui::Canvas& canvas, const DrawState& state) override;

private:
    bool eraseBkGnd_ = true;
};
