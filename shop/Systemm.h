#pragma once
// The system menu of the shop's top bar: load a game, back to the title, quit.
#include "shop/GameDialog.h"

class TSystemMForm : public TGameDialog {
public:
    TSystemMForm();
    ~TSystemMForm() override;

    TCHBcSpeedButton* LoadButton = nullptr;
    TCHBcSpeedButton* TitleButton = nullptr;
    TCHBcSpeedButton* GameExitButton = nullptr;

    // Placed where it was last left, then shown.
    void DispSystemM();
    // Hidden while the load flow runs; closed after a load, shown again otherwise.
    void LoadButtonClick();
    // Closes, drops the scene and shows the title (the opening is not played again).
    void TitleButtonClick();
    // The main form's quit question.
    void GameExitButtonClick();

protected:
    void ClearFormVariable() override;
};

// Opens the system menu unless it is open.
void OpenSystemMenu();
