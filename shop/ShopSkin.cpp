#include "shop/ShopSkin.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

const char* const kShopSheetNames[39] = {
    "ChName",
    "ChGoods",
    "ChMaterial",
    "ChAttribute",
    "ChPrice",
    "ChStock",
    "ChReserve",
    "ChTotal",
    "ChExhibition",
    "ChBtBack",
    "ChBtNext",
    "ChBtClose",
    "ChBtMix",
    "Mix10",
    "Mix20",
    "Mix30",
    "Mix40",
    "ChBtExhibition",
    "ChBtPutAway",
    "ChBtLeft",
    "ChBtRight",
    "ChBtDecide",
    "ChBtCancel",
    "ChBtMagicItem",
    "ChBtMaterialItem",
    "ChBtTreasure",
    "ChAt0",
    "ChAt1",
    "ChAt2",
    "ChAt3",
    "ChAt4",
    "ChAt5",
    "ChBtReturn",
    "ChBtBuy",
    "ChBtMiniUp",
    "ChBtMiniDown",
    "MainMinCloseButton",
    "SpeedChangeButton",
    "MainMenuImg",
};

std::array<TCHBmpContainer*, 39> TShopSkinSheets::All() {
    return {
        &ChName,
        &ChGoods,
        &ChMaterial,
        &ChAttribute,
        &ChPrice,
        &ChStock,
        &ChReserve,
        &ChTotal,
        &ChExhibition,
        &ChBtBack,
        &ChBtNext,
        &ChBtClose,
        &ChBtMix,
        &Mix10,
        &Mix20,
        &Mix30,
        &Mix40,
        &ChBtExhibition,
        &ChBtPutAway,
        &ChBtLeft,
        &ChBtRight,
        &ChBtDecide,
        &ChBtCancel,
        &ChBtMagicItem,
        &ChBtMaterialItem,
        &ChBtTreasure,
        &ChAt0,
        &ChAt1,
        &ChAt2,
        &ChAt3,
        &ChAt4,
        &ChAt5,
        &ChBtReturn,
        &ChBtBuy,
        &ChBtMiniUp,
        &ChBtMiniDown,
        &MainMinCloseButton,
        &SpeedChangeButton,
        &MainMenuImg,
    };
}

bool TShopSkinSheets::Load() {
    bool ok = true;
    const auto table = All();
    for (int i = 0; i < 39; ++i) {
        const std::string file = std::string(kShopSheetNames[i]) + ".bmp";
        if (!table[i]->LoadFromResource(file)) {
            std::fprintf(stderr, "lumia: the skin sheet %s is missing\n", file.c_str());
            ok = false;
        }
    }
    return ok;
}

TCHBmpContainer* TShopSkinSheets::Find(const char* name) {
    const auto table = All();
    for (int i = 0; i < 39; ++i)
        if (std::strcmp(kShopSheetNames[i], name) == 0) return table[i];
    return nullptr;
}

TShopSkinSheets& ShopSheets() {
    static TShopSkinSheets* sheets = [] {
        auto* s = new TShopSkinSheets;
        s->Load();
        return s;
    }();
    return *sheets;
}
