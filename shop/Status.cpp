#include "shop/Status.h"

#include <algorithm>

#include "platform/Application.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/ItemPainters.h"

TStatusForm::TStatusForm() : TGameDialog(320, 213, kPosStatus, CaptionStrip(8, 311, 8, 34)) {
    Name = "StatusForm";
    StatusForm = this;
    LoadBackground("DlgStatus.bmp");
    FaceImg = Make<ui::Image>();
    FaceImg->Name = "FaceImg";
    FaceImg->SetBounds(16, 48, 120, 120);
    Condition = MakeFixedLabel(230, 49, 80, "Condition");
    Level = MakeFixedLabel(230, 65, 80, "Level");
    Experience = MakeFixedLabel(230, 81, 80, "Experience");
    Money = MakeFixedLabel(230, 113, 80, "Money");
    Popularity = MakeFixedLabel(230, 129, 80, "Popularity");
    CloseButton->SetBounds(237, 182, 75, 23);
}

TStatusForm::~TStatusForm() { ClearFormVariable(); }

void TStatusForm::ClearFormVariable() {
    if (StatusForm == this) StatusForm = nullptr;
}

std::string StatusFaceName(int condition) {
    return "palfc" + std::to_string(std::clamp(condition, 0, 2)) + ".bmp";
}

void TStatusForm::DispStatus() {
    Place();
    ui::Bitmap face;
    const std::string name = StatusFaceName(GameCondition());
    if (LoadShopPicture(name, face))
        FaceImg->SetPicture(std::move(face));
    else
        ui::Record("error", "status face missing: " + name);
    ShowConditionText(*Condition);
    ShowLevelStars(*Level);
    ShowExperience(*Experience);
    ShowMoney(*Money);
    ShowReputation(*Popularity);
    Show();
    ui::Record("window", "狀態 " + name);
}

void OpenStatus() {
    if (StatusForm) return;
    new TStatusForm();
    StatusForm->DispStatus();
}

void RunStatusWindow() {
    OpenStatus();
    if (ui::HaveApp()) ui::App().PumpUntil([] { return StatusForm == nullptr; }, "Status");
}
