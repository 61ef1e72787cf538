#pragma once
// The clock: a small stay-on-top window shaped like its background picture (the green
// key around it left out), showing the hour face, a minute hand that sweeps once round
// when an hour passes, and the "open" sign while the shop is open. Dragged by its body;
// the system's close request does nothing. It exists while the option window's clock
// button is up and the shop scene is shown.
#include "platform/Controls.h"
#include "platform/Form.h"

class TWatchForm : public ui::Form {
public:
    TWatchForm();
    ~TWatchForm() override;

    ui::Image* Image1 = nullptr;  // background; its picture gives the window's shape
    ui::Image* Image2 = nullptr;  // hour face
    ui::Image* Image3 = nullptr;  // minute hand
    ui::Image* Image4 = nullptr;  // the "open" sign
    std::uint8_t Dragging = 0;

    // Placed at its remembered place, or at the scene's top-left corner the first time;
    // then RenewWatch and shown.
    void DispWatch();
    // The face of this hour, the minute hand at the hour, the sign while open.
    void RenewWatch();
    // Before the hour changes: the minute hand sweeps round (unless the sweep is off or
    // a mixing job is fast-forwarded), else only the next hour's face is shown.
    void AnimateHourChange();
    bool CloseQuery() override { return false; }

private:
    void SetPicture(ui::Image* image, const char* format, int n);
    void StartDrag(ui::MouseButton button);
};

extern TWatchForm* WatchForm;
