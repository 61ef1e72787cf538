#pragma once
// The save and load flows' yes/no window: a question or a report in two lines, with Yes
// and No, or the close button alone. Modal; its result is 1 for Yes, 2 for No or Close.
#include "platform/Controls.h"
#include "shop/GameDialog.h"

class TSaveLoadMessageForm : public TGameDialog {
public:
    TSaveLoadMessageForm();
    ~TSaveLoadMessageForm() override;

    ui::Image* ImageTag = nullptr;
    ui::Label* Label1 = nullptr;
    ui::Label* Label2 = nullptr;
    TCHBcSpeedButton* YesButton = nullptr;
    TCHBcSpeedButton* NoButton = nullptr;

    // 0 load?, 1 save?, 2 overwrite?, 3 saved, 4 save failed, 5 the game saved but not
    // the record all games share; centres the window on the shop window.
    void SetMessageMode(int mode);
    static constexpr int kSaved = 3;
    static constexpr int kSaveFailed = 4;
    static constexpr int kSavedWithoutRecord = 5;
    int MessageMode() const { return mode_; }
    void YesButtonClick() { Finish(1); }
    void NoButtonClick() { Finish(2); }
    void CloseButtonClick() override { Finish(2); }
    bool CloseQuery() override { return finishing_; }

protected:
    void ClearFormVariable() override;

private:
    void Finish(int result);
    int mode_ = -1;
    bool finishing_ = false;
};

extern TSaveLoadMessageForm* SaveLoadMessageForm;

// Centres a form on the shop window (on the screen without one).
void CentreOnShop(ui::Form& form);
