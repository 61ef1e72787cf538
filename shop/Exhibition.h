#pragma once
#include <array>

#include "platform/Controls.h"
#include "shop/GameDialog.h"
#include "shop/ItemListView.h"

// The exhibition dialogs: the slot dialog for a slot that holds goods, the list to
// choose goods for a slot, and the confirmation of one choice (which puts the reserve
// back as it was when it is cancelled). They open only while the shop is closed.

// The layout the slot dialog and the confirmation share.
class TExhibitionSlotDialog : public TGameDialog {
public:
    TExhibitionSlotDialog(int record, const char* background);

    ui::Image* ItemIcon;
    ui::Image* ItemName;  // the name picture
    ui::Label* ExPrice;   // the slot's name
    ui::Label *Attribute00, *Price00, *Stock00, *Reserve00, *Total00;
    ui::Label* Infomation;  // the slot's sale price line
    TCHBcSpeedButton* DownReserveButton;
    TCHBcSpeedButton* UpReserveButton;

    int Slot = -1;
    int Item = -1;

protected:
    void PaintSlot(int slot, int item);
    void RedrawStock();
};

class TExhibitionForm : public TExhibitionSlotDialog {
public:
    TExhibitionForm();
    ~TExhibitionForm() override;

    TCHBcSpeedButton* ExhibitionButton;
    TCHBcSpeedButton* PutAwayButton;

    void DispExhibition(int slot);
    void ExhibitionButtonClick();
    void PutAwayButtonClick();
    void DownReserveButtonClick();
    void UpReserveButtonClick();
    void CloseButtonClick() override;
    // Shown again, its stock and reserve redrawn, when the goods list it opened closes.
    void ShowAgain();

protected:
    void ClearFormVariable() override;
};

class TExhibitionConfirmForm : public TExhibitionSlotDialog {
public:
    TExhibitionConfirmForm();
    ~TExhibitionConfirmForm() override;

    TCHBcSpeedButton* DicodeButton;
    int KeptReserve = 0;  // the item's reserve when the dialog opened

    void DispExhibitionConfirm(int slot, int item);
    void DicodeButtonClick();
    void DownReserveButtonClick();
    void UpReserveButtonClick();
    // Cancel: the reserve goes back, the list shows again.
    void CloseButtonClick() override;

protected:
    void ClearFormVariable() override;
};

class TExhibitionListForm : public TPagedItemListDialog {
public:
    TExhibitionListForm();
    ~TExhibitionListForm() override;

    using Row = ItemListRow;
    std::array<Row, ItemListPageSize> Rows;
    int Slot = -1;

    void DispExhibitionList(int slot);
    // The standard close; the slot dialog that opened the list shows again.
    void CloseButtonClick() override;

protected:
    void ClearFormVariable() override;
    void DrawRow(int row, int item) override;
    // The confirmation for the row's goods, unless they are on a slot already.
    void RowClick(int row) override;
    // The row drawn again, and the goods' slot on the shelf when they are exhibited.
    void ReserveMoved(int row, int item) override;
};

// The shop's openers: the slot dialog, the list for an empty slot.
void OpenExhibition(int slot);
void OpenExhibitionList(int slot);
