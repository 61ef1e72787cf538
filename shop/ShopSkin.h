#pragma once
#include <array>

#include "skin/CHBmpCnt.h"

// The skin sheets the shop window holds for every dialog's buttons: the list column
// headings, the dialog buttons, the attribute buttons and the top bar's strips. Each
// sheet is one picture of the program's resources ("<name>.bmp"), its glyph cells side
// by side (normal, disabled, pressed, and held down for the buttons that stay down).
// MainMenuImg stacks the six top-bar strips 17 px apart; MainMinCloseButton stacks the
// minimise and close strips 10 px apart.
struct TShopSkinSheets {
    TCHBmpContainer ChName, ChGoods, ChMaterial, ChAttribute, ChPrice, ChStock, ChReserve, ChTotal,
        ChExhibition;
    TCHBmpContainer ChBtBack, ChBtNext, ChBtClose, ChBtMix, Mix10, Mix20, Mix30, Mix40,
        ChBtExhibition, ChBtPutAway, ChBtLeft, ChBtRight, ChBtDecide, ChBtCancel, ChBtMagicItem,
        ChBtMaterialItem, ChBtTreasure;
    TCHBmpContainer ChAt0, ChAt1, ChAt2, ChAt3, ChAt4, ChAt5;
    TCHBmpContainer ChBtReturn, ChBtBuy, ChBtMiniUp, ChBtMiniDown, MainMinCloseButton,
        SpeedChangeButton, MainMenuImg;

    // Loads every sheet; false when one is missing (the others are loaded).
    bool Load();
    // The sheet of that name, or null.
    TCHBmpContainer* Find(const char* name);
    // Every sheet, in the order of kShopSheetNames.
    std::array<TCHBmpContainer*, 39> All();
};

// The shop's sheets, loaded on first use. The shop window and every dialog take their
// button pictures from here (the dialogs' "ShopForm.ChBtClose").
TShopSkinSheets& ShopSheets();

// The sheets' names, in the order above.
extern const char* const kShopSheetNames[39];
