#include "shop/Calender.h"

#include <cstdio>

#include "platform/Transcript.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Option.h"
#include "shop/Shop.h"
#include "town/FormRegion.h"

TCalenderForm* CalenderForm = nullptr;

namespace {

// Where the parts sit on the background (the art is drawn for these places).
constexpr int kPartLeft = 8, kPartWidth = 84;
constexpr int kMonthTop = 16, kMonthHeight = 20;
constexpr int kDayTop = 40, kDayHeight = 54;
constexpr int kWeekTop = 98, kWeekHeight = 18;
constexpr int kRightMargin = 4;

ui::Bitmap PackPicture(const char* format, int n) {
    if (!ShopForm) return {};
    char name[20];
    std::snprintf(name, sizeof name, format, n);
    return ShopForm->LoadPackPicture(name);
}

}  // namespace

TCalenderForm::TCalenderForm() {
    Name = "CalenderForm";
    CalenderForm = this;
    SetBorderStyle(ui::BorderStyle::bsNone);
    SetFormStyle(ui::FormStyle::fsStayOnTop);
    EraseBackground = false;
    Image1 = Make<ui::Image>();
    Image1->Name = "Image1";
    Image1->SetPicture(ResourcePicture("CalenderBack.bmp"));
    Image1->SetBounds(0, 0, Image1->Picture().Width(), Image1->Picture().Height());
    auto part = [this](const char* name, int top, int height) {
        ui::Image* i = Make<ui::Image>();
        i->Name = name;
        i->SetBounds(kPartLeft, top, kPartWidth, height);
        return i;
    };
    MonthImg = part("MonthImg", kMonthTop, kMonthHeight);
    DayImg = part("DayImg", kDayTop, kDayHeight);
    WeekImg = part("WeekImg", kWeekTop, kWeekHeight);
    for (ui::Image* i : {Image1, MonthImg, DayImg, WeekImg})
        i->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int, int) {
            StartDrag(b);
        };
    SetBounds(0, 0, Image1->Picture().Width(), Image1->Picture().Height());
    SetFormRegion(*this, Image1->Picture(), ui::RGB(0, 255, 0), true);
}

TCalenderForm::~TCalenderForm() {
    if (CalenderForm == this) CalenderForm = nullptr;
}

void TCalenderForm::DispCalender() {
    WindowPosition& p = WindowPositions[kPosCalender];
    if (!p.placed && ShopForm) {
        p.left = ShopForm->Left() + ShopForm->Width() - Width() - kRightMargin;
        p.top = ShopForm->Top() + ShopForm->TitlePanel->Top();
        p.placed = 1;
    }
    SetBounds(p.left, p.top, Width(), Height());
    RenewCalender();
    Show();
    ui::Record("window", "calendar");
}

void TCalenderForm::RenewCalender() {
    const int day = GameDay();
    {
        ShopPackScope pack;
        MonthImg->SetPicture(PackPicture("calm%02d.bmp", day / kDaysPerMonth + 1));
        DayImg->SetPicture(PackPicture("cald%02d.bmp", day % kDaysPerMonth + 1));
        WeekImg->SetPicture(PackPicture("calw%d.bmp", day % kDaysPerWeek + 1));
    }
    Repaint();
}

void TCalenderForm::StartDrag(ui::MouseButton button) {
    if (button != ui::MouseButton::mbLeft) return;
    Dragging = 1;
    ui::ReleaseCapture();
    DragMove();
    Dragging = 0;
}
