#include "shop/Watch.h"

#include <cstdio>

#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Transcript.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Option.h"
#include "shop/Shop.h"
#include "town/FormRegion.h"

TWatchForm* WatchForm = nullptr;

namespace {

// Where the parts sit on the background (the art is drawn for these places).
constexpr int kDialLeft = 8, kDialTop = 8, kDialSize = 96;
constexpr int kSignLeft = 24, kSignTop = 110, kSignWidth = 64, kSignHeight = 20;
constexpr int kSweepSteps[5] = {2, 4, 6, 8, 10};
constexpr std::uint32_t kSweepStepMs = 10;

}  // namespace

TWatchForm::TWatchForm() {
    Name = "WatchForm";
    WatchForm = this;
    SetBorderStyle(ui::BorderStyle::bsNone);
    SetFormStyle(ui::FormStyle::fsStayOnTop);
    EraseBackground = false;
    Image1 = Make<ui::Image>();
    Image1->Name = "Image1";
    Image1->SetPicture(ResourcePicture("WatchBack.bmp"));
    Image1->SetBounds(0, 0, Image1->Picture().Width(), Image1->Picture().Height());
    Image2 = Make<ui::Image>();
    Image2->Name = "Image2";
    Image2->SetBounds(kDialLeft, kDialTop, kDialSize, kDialSize);
    Image2->SetTransparent(true);
    Image3 = Make<ui::Image>();
    Image3->Name = "Image3";
    Image3->SetBounds(kDialLeft, kDialTop, kDialSize, kDialSize);
    Image3->SetTransparent(true);
    Image4 = Make<ui::Image>();
    Image4->Name = "Image4";
    Image4->SetBounds(kSignLeft, kSignTop, kSignWidth, kSignHeight);
    Image4->SetPicture(ResourcePicture("WatchOpenSign.bmp"));
    Image4->Hide();
    // The whole body drags the window.
    for (ui::Image* i : {Image1, Image2, Image3, Image4})
        i->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int, int) {
            StartDrag(b);
        };
    SetBounds(0, 0, Image1->Picture().Width(), Image1->Picture().Height());
    SetFormRegion(*this, Image1->Picture(), ui::RGB(0, 255, 0), true);
}

TWatchForm::~TWatchForm() {
    if (WatchForm == this) WatchForm = nullptr;
}

void TWatchForm::DispWatch() {
    WindowPosition& p = WindowPositions[kPosWatch];
    if (!p.placed && ShopForm) {
        p.left = ShopForm->Left();
        p.top = ShopForm->Top() + ShopForm->TitlePanel->Top();
        p.placed = 1;
    }
    SetBounds(p.left, p.top, Width(), Height());
    RenewWatch();
    Show();
    ui::Record("window", "clock");
}

void TWatchForm::SetPicture(ui::Image* image, const char* format, int n) {
    if (!ShopForm) return;
    char name[20];
    std::snprintf(name, sizeof name, format, n);
    image->SetPicture(ShopForm->LoadPackPicture(name));
}

void TWatchForm::RenewWatch() {
    {
        ShopPackScope pack;
        SetPicture(Image3, "clockm%02d.bmp", 0);
        SetPicture(Image2, "clock%02d.bmp", GameHour() % 12);
    }
    Image4->SetVisible(ShopForm && ShopForm->IsShopOpen());
}

void TWatchForm::AnimateHourChange() {
    const bool sweepOff = OptionForm && OptionForm->OptionWatchAnime->Down();
    const bool fastForward = MainForm && MainForm->FastForward;
    if (sweepOff || fastForward) {
        ShopPackScope pack;
        SetPicture(Image2, "clock%02d.bmp", (GameHour() + 1) % 12);
        return;
    }
    for (int k : kSweepSteps) {
        {
            ShopPackScope pack;
            SetPicture(Image3, "clockm%02d.bmp", k);
        }
        if (ui::HaveApp()) ui::App().ProcessMessages();
        Repaint();
        ui::Sleep(kSweepStepMs);
    }
}

void TWatchForm::StartDrag(ui::MouseButton button) {
    if (button != ui::MouseButton::mbLeft) return;
    Dragging = 1;
    ui::ReleaseCapture();
    DragMove();
    Dragging = 0;
}
