#pragma once
// The status window (狀態): the heroine's face as her condition is, and her condition,
// level, experience, money and reputation.
#include "shop/GameDialog.h"

class TStatusForm : public TGameDialog {
public:
    TStatusForm();
    ~TStatusForm() override;

    ui::Image* FaceImg = nullptr;
    ui::Label *Condition, *Level, *Experience, *Money, *Popularity;

    void DispStatus();

protected:
    void ClearFormVariable() override;
};

// The face picture of the shop pack for a condition 0..2 ("palfc0.bmp" ..).
std::string StatusFaceName(int condition);

// Opens the status window unless it is open (the shop's 狀態).
void OpenStatus();
// Opens it and waits, pumping messages, until it is closed (the event server's and the
// map's menu buttons).
void RunStatusWindow();
