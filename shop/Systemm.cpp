#include "shop/Systemm.h"

#include "platform/Transcript.h"
#include "shop/Demand.h"
#include "shop/Saveloadlist.h"
#include "shop/Shop.h"

namespace {

constexpr int kWidth = 215;
constexpr int kHeight = 169;
constexpr int kButtonWidth = 107;
constexpr int kButtonHeight = 23;

// The three buttons' sheet (strips 23 px apart), loaded on first use.
TCHBmpContainer& SystemButtonImg() {
    static TCHBmpContainer sheet;
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        if (!sheet.LoadFromResource("SystemButtonImg.bmp"))
            ui::Record("error", "system menu button pictures missing");
    }
    return sheet;
}

}  // namespace

TSystemMForm::TSystemMForm()
    : TGameDialog(kWidth, kHeight, kPosSystemM, CaptionStrip(8, 206, 8, 34)) {
    Name = "SystemMForm";
    SystemMForm = this;
    LoadBackground("DlgSystemM.bmp");
    auto button = [this](const char* name, int top, int stripTop) {
        return MakeStripButton(SystemButtonImg(), 52, top, kButtonWidth, kButtonHeight, name,
                               stripTop);
    };
    LoadButton = button("LoadButton", 48, 0);
    TitleButton = button("TitleButton", 75, 23);
    GameExitButton = button("GameExitButton", 102, 46);
    LoadButton->OnClick = [this](ui::Control&) { LoadButtonClick(); };
    TitleButton->OnClick = [this](ui::Control&) { TitleButtonClick(); };
    GameExitButton->OnClick = [this](ui::Control&) { GameExitButtonClick(); };
}

TSystemMForm::~TSystemMForm() { ClearFormVariable(); }

void TSystemMForm::ClearFormVariable() {
    if (SystemMForm == this) SystemMForm = nullptr;
}

void TSystemMForm::DispSystemM() {
    Place();
    Show();
    ui::Record("window", "system menu");
}

void TSystemMForm::LoadButtonClick() {
    Hide();
    if (!LoadGameFlow()) {
        Show();
        return;
    }
    if (DemandForm) DemandForm->ClearCustomers();
    if (ShopForm) {
        for (SPMan* actor : {ShopForm->Actor2.get(), ShopForm->Actor3.get()}) {
            if (!actor) continue;
            actor->ClearAnimating();
            actor->StopAnimation();
        }
    }
    CloseButtonClick();
}

void TSystemMForm::TitleButtonClick() {
    CloseButtonClick();
    if (g_ShopHooks.HideMessageWindow) g_ShopHooks.HideMessageWindow();
    if (ShopForm) {
        ShopForm->DestroyShopScene();
        ShopForm->ShowTitle();
    }
}

void TSystemMForm::GameExitButtonClick() {
    if (ShopForm) ShopForm->ShopFormCloseButtonClick();
}

void OpenSystemMenu() {
    if (!SystemMForm) new TSystemMForm();
    SystemMForm->DispSystemM();
}
