#pragma once
// The mixing result: the dialog that shows what a finished mixing job made and puts
// it into stock, fewer when the heroine was sleepy (three quarters) or exhausted
// (half).
#include "platform/Controls.h"
#include "shop/GameDialog.h"

class TItemMixConfirmForm : public TGameDialog {
public:
    TItemMixConfirmForm();
    ~TItemMixConfirmForm() override;

    ui::Image* ItemIcon = nullptr;
    ui::Image* ItemName = nullptr;        // the name picture
    ui::Label* ItemMixNum = nullptr;      // units planned: batches x 10
    ui::Label* ItemConfirmNum = nullptr;  // units made
    int ExhibitionSlot = -1;              // the slot showing the item made, or -1

    // Sets the dialog up from the finished job, adds the units made to stock and shows it.
    void ShowMixResult();
    // Closes the dialog: it is freed, the main loop's phase starts again, the message
    // window is emptied and the item's shelf shows its new stock.
    void CloseButtonClick() override;

protected:
    void ClearFormVariable() override;
};

extern TItemMixConfirmForm* ItemMixConfirmForm;

// The end of a mixing job on screen, for the main loop: the animation stops, sound 59
// (61 when the job makes nothing) plays and the result dialog opens. Nothing while a
// result dialog is open (false then).
bool FinishMixJob();
