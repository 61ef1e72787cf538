#pragma once
// The calendar: a small stay-on-top window shaped like its background picture (the
// green key around it left out), showing the month, the day of the month and the
// weekday. Dragged by its body; the system's close request does nothing. It exists
// while the option window's calendar button is up and the shop scene is shown.
#include "platform/Controls.h"
#include "platform/Form.h"

class TCalenderForm : public ui::Form {
public:
    TCalenderForm();
    ~TCalenderForm() override;

    ui::Image* Image1 = nullptr;  // background; its picture gives the window's shape
    ui::Image* MonthImg = nullptr;
    ui::Image* DayImg = nullptr;
    ui::Image* WeekImg = nullptr;
    std::uint8_t Dragging = 0;

    // Placed at its remembered place, or at the scene's top-right corner the first
    // time; then RenewCalender and shown.
    void DispCalender();
    // The pictures of today.
    void RenewCalender();
    bool CloseQuery() override { return false; }

private:
    void StartDrag(ui::MouseButton button);
};

extern TCalenderForm* CalenderForm;
