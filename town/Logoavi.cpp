#include "town/Logoavi.h"

#include "platform/Application.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Transcript.h"

TaviForm1* aviForm1 = nullptr;

TaviForm1::TaviForm1() {
    Name = "aviForm1";
    SetColor(ui::clBlack);
    SetBorderStyle(ui::BorderStyle::bsNone);
    SetFormStyle(ui::FormStyle::fsStayOnTop);
    Display = Make<ui::Image>();
    Display->SetVisible(false);
    auto mouse = [this](ui::Control&, ui::MouseButton, ui::ShiftState, int, int) {
        FromMouseDown();
    };
    OnMouseDown = mouse;
    Display->OnMouseDown = mouse;
    Timer1.SetEnabled(false);
    Timer1.SetInterval(20);
    Timer1.OnTimer = [this] { Timer1Timer(); };
    OnShow = [this](ui::Form&) { FormShow(); };
    OnHide = [this](ui::Form&) {
        Timer1.SetEnabled(false);
        CloseDevice();
    };
    Hide();
    FormCreate();
    if (aviForm1 == nullptr) aviForm1 = this;
}

TaviForm1::~TaviForm1() {
    Timer1.SetEnabled(false);
    CloseDevice();
    if (aviForm1 == this) aviForm1 = nullptr;
}

void TaviForm1::FitToScreen() {
    if (!ui::HaveApp()) return;
    const ui::Screen& s = ui::App().GetScreen();
    SetBounds(0, 0, s.Width(), s.Height());
    Display->SetBounds(0, 0, s.Width(), s.Height());
}

void TaviForm1::FormCreate() { FitToScreen(); }

void TaviForm1::FormShow() {
    FitToScreen();
    Timer1.SetEnabled(true);
}

void TaviForm1::CloseDevice() {
    if (!MediaPlayerAVI.IsOpen()) return;
    ui::StopWave();
    MediaPlayerAVI.Close();
    ui::Record("movie", "end");
}

void TaviForm1::Timer1Timer() {
    if (!Visible()) {
        Timer1.SetEnabled(false);
        return;
    }
    if (!started_) {
        started_ = true;
        FitToScreen();
        // "\name" is the game folder's root.
        std::string file = MovieFileName;
        while (!file.empty() && file[0] == '\\') file.erase(0, 1);
        if (!MediaPlayerAVI.Open(file)) {
            // Nothing to show: the form closes at once.
            ui::Record("movie", "missing " + MovieFileName);
            Timer1.SetEnabled(false);
            Close();
            return;
        }
        ui::Record("movie", MovieFileName);
        startTick_ = ui::GetTickCount();
        const std::vector<std::uint8_t>& sound = MediaPlayerAVI.Sound();
        if (!sound.empty()) ui::PlayWaveMemory(sound.data(), sound.size(), false);
        MediaPlayerAVI.DrawAt(0, Display->Picture(), Width(), Height());
        Display->PictureChanged();
        Display->SetVisible(true);
        return;
    }
    const std::uint32_t at = ui::GetTickCount() - startTick_;
    if (MediaPlayerAVI.EndedAt(at)) {
        Timer1.SetEnabled(false);
        CloseDevice();
        Close();
        return;
    }
    if (MediaPlayerAVI.DrawAt(at, Display->Picture(), Width(), Height())) Display->PictureChanged();
}

void TaviForm1::FromMouseDown() {
    Timer1.SetEnabled(false);
    CloseDevice();
    Close();
}
