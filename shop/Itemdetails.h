#pragma once
#include <array>

#include "platform/Controls.h"
#include "shop/GameDialog.h"

// The details windows: a material (name, icon, attribute, description) and goods (the
// same with the difficulty and the recipe's materials). They open from a row of the
// item list or a material icon of the mixing list and show that list again on close.
class TItemDetails0Form : public TGameDialog {
public:
    TItemDetails0Form();
    ~TItemDetails0Form() override;

    ui::Image* ItemName;
    ui::Image* ItemIcon;
    ui::Label *ItemAttribute, *ItemCaption0, *ItemCaption1;

    void DispItemDetails0(int item);
    void CloseButtonClick() override;

protected:
    void ClearFormVariable() override;
};

class TItemDetails1Form : public TGameDialog {
public:
    TItemDetails1Form();
    ~TItemDetails1Form() override;

    ui::Image* ItemName;
    ui::Image* ItemIcon;
    ui::Label *ItemAttribute, *ItemLevel, *ItemCaption0, *ItemCaption1;
    std::array<ui::Image*, 3> MaterialIcon;
    std::array<ui::Label*, 3> MaterialName;
    std::array<ui::Label*, 3> MaterialNum;

    void DispItemDetails1(int item);
    // Also releases a hidden material window and clears both form variables.
    void CloseButtonClick() override;

protected:
    void ClearFormVariable() override;
};

// Opens the details of an item: goods get the recipe window.
void DispItemDetails0(int item);
