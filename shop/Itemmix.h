#pragma once
#include <array>

#include "platform/Controls.h"
#include "shop/GameDialog.h"

// The mixing dialog: one recipe, its materials and what a batch count of 10, 20, 30
// or 40 needs of them; the mix button starts the job when no material is short.
class TItemMixForm : public TGameDialog {
public:
    TItemMixForm();
    ~TItemMixForm() override;

    ui::Image* ItemName;  // the name picture
    ui::Image* ItemIcon;
    ui::Label* ItemAttribute;
    ui::Label* ItemLevel;  // difficulty stars
    ui::Label* ItemCaption0;
    ui::Label* ItemCaption1;
    std::array<ui::Image*, 3> MaterialIcon;
    std::array<ui::Image*, 3> Tarinai;  // the shortage mark laid over a material's icon
    std::array<ui::Label*, 3> MaterialName;
    std::array<ui::Label*, 3> MaterialNum;
    ui::Label* MixNumLabel;
    ui::Label* MixTimeLabel;
    std::array<TCHBcSpeedButton*, 4> MixButtons;  // Mix10Button .. Mix40Button
    TCHBcSpeedButton* ItemMixButton;

    int Item = -1;
    int Batches = 1;  // 1..4

    void DispItemMix(int item);
    void ShowMaterials();
    void ShowMixNumbers();
    void MixNumButtonClick(int tag);
    void ItemMixButtonClick();
    // Back to the mixing list.
    void CloseButtonClick() override;

protected:
    void ClearFormVariable() override;
};
