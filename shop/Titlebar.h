#pragma once
// The full-screen copy of the shop's top bar: shown at the top of the screen while the
// mouse is in the top 32 rows in full-screen mode; every button forwards to the shop
// window's handler of the same name.
#include "platform/Controls.h"
#include "platform/Form.h"
#include "skin/CHBCBTN.h"

class TTitleBarForm : public ui::Form {
public:
    TTitleBarForm();
    ~TTitleBarForm() override;

    ui::Image* TitleBarImage = nullptr;
    TCHBcSpeedButton* MenuSystem = nullptr;
    TCHBcSpeedButton* MenuStatus = nullptr;
    TCHBcSpeedButton* MenuNote = nullptr;
    TCHBcSpeedButton* MenuNextTurn = nullptr;
    TCHBcSpeedButton* MenuSkipTurn = nullptr;
    TCHBcSpeedButton* MenuOption = nullptr;
    TCHBcSpeedButton* CHBcSpeedButton1 = nullptr;  // minimise, disabled
    TCHBcSpeedButton* ShopFormCloseButton = nullptr;
    TCHBcSpeedButton* SpeedButton = nullptr;

    // The fast-mode button's down state copied to the shop window's.
    void SpeedButtonClick();
    // The six menu buttons on or off with the shop window's.
    void SetMenus(bool enabled);
};

extern TTitleBarForm* TitleBarForm;
