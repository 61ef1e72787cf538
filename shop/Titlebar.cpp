#include "shop/Titlebar.h"

#include "shop/Shop.h"
#include "shop/ShopSkin.h"

TTitleBarForm* TitleBarForm = nullptr;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 32;

void HookShowTitleBar(bool show) {
    if (!TitleBarForm) return;
    if (show && ShopForm && ShopForm->Visible())
        TitleBarForm->Show();
    else
        TitleBarForm->Hide();
}

void HookSetTitleBarSpeed(bool down) {
    if (TitleBarForm) TitleBarForm->SpeedButton->SetDown(down);
}

}  // namespace

TTitleBarForm::TTitleBarForm() {
    Name = "TitleBarForm";
    TitleBarForm = this;
    SetBorderStyle(ui::BorderStyle::bsNone);
    SetFormStyle(ui::FormStyle::fsStayOnTop);
    EraseBackground = false;
    SetBounds(0, 0, kWidth, kHeight);
    TitleBarImage = Make<ui::Image>();
    TitleBarImage->Name = "TitleBarImage";
    TitleBarImage->SetBounds(0, 0, kWidth, kHeight);
    if (ShopForm) TitleBarImage->SetPicture(ShopForm->LoadPackPicture("TitleBar.bmp"));
    TShopSkinSheets& sheets = ShopSheets();
    auto button = [this](TCHBmpContainer& sheet, const char* name, int l, int t, int w, int h,
                         int top) { return MakeTopBarButton(*this, sheet, name, l, t, w, h, top); };
    TCHBcSpeedButton** slots[6] = {&MenuSystem,   &MenuStatus,   &MenuNote,
                                   &MenuNextTurn, &MenuSkipTurn, &MenuOption};
    for (int k = 0; k < 6; ++k) {
        const TopBarButton& t = kTopBarButtons[k];
        // The bar sits 4 px further left and up than the window-mode top bar.
        *slots[k] = button(sheets.MainMenuImg, t.name, t.left - 4, t.top - 4, t.width, t.height,
                           t.stripTop);
    }
    MenuSystem->OnClick = [](ui::Control&) {
        if (ShopForm) ShopForm->MenuSystemClick();
    };
    MenuStatus->OnClick = [](ui::Control&) {
        if (ShopForm) ShopForm->MenuStatusClick();
    };
    MenuNote->OnClick = [](ui::Control&) {
        if (ShopForm) ShopForm->MenuNoteClick();
    };
    MenuNextTurn->OnClick = [](ui::Control&) {
        if (ShopForm) ShopForm->MenuNextTurnClick();
    };
    MenuSkipTurn->OnClick = [](ui::Control&) {
        if (ShopForm) ShopForm->MenuSkipTurnClick();
    };
    MenuOption->OnClick = [](ui::Control&) {
        if (ShopForm) ShopForm->MenuOptionClick();
    };
    CHBcSpeedButton1 = button(sheets.MainMinCloseButton, "CHBcSpeedButton1", 611, 3, 12, 10, 0);
    CHBcSpeedButton1->SetEnabled(false);
    CHBcSpeedButton1->OnClick = [](ui::Control&) {
        if (ShopForm) ShopForm->ShopFormMinButtonClick();
    };
    ShopFormCloseButton =
        button(sheets.MainMinCloseButton, "ShopFormCloseButton", 625, 3, 12, 10, 10);
    ShopFormCloseButton->OnClick = [](ui::Control&) {
        if (ShopForm) ShopForm->ShopFormCloseButtonClick();
    };
    SpeedButton = button(sheets.SpeedChangeButton, "SpeedButton", 616, 17, 22, 13, 0);
    SpeedButton->SetGroupIndex(1);
    SpeedButton->SetAllowAllUp(true);
    SpeedButton->OnClick = [this](ui::Control&) { SpeedButtonClick(); };
    g_ShopHooks.ShowTitleBarForm = &HookShowTitleBar;
    g_ShopHooks.SetTitleBarSpeed = &HookSetTitleBarSpeed;
}

TTitleBarForm::~TTitleBarForm() {
    if (g_ShopHooks.ShowTitleBarForm == &HookShowTitleBar) g_ShopHooks.ShowTitleBarForm = nullptr;
    if (g_ShopHooks.SetTitleBarSpeed == &HookSetTitleBarSpeed)
        g_ShopHooks.SetTitleBarSpeed = nullptr;
    if (TitleBarForm == this) TitleBarForm = nullptr;
}

void TTitleBarForm::SpeedButtonClick() {
    if (ShopForm) ShopForm->SpeedButton->SetDown(SpeedButton->Down());
}

void TTitleBarForm::SetMenus(bool enabled) {
    for (TCHBcSpeedButton* b :
         {MenuSystem, MenuStatus, MenuNote, MenuNextTurn, MenuSkipTurn, MenuOption})
        b->SetEnabled(enabled);
}
