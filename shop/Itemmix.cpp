#include "shop/Itemmix.h"

#include <cstdio>
#include <string>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/ItemPainters.h"
#include "shop/ItemPanel.h"
#include "shop/Itemmixlist.h"
#include "shop/Mixing.h"
#include "shop/Shop.h"
#include "shop/ShopSkin.h"

namespace {

constexpr int kMaterialX[3] = {16, 152, 296};

// Material k of recipe `item` is short of what `batches` batches need.
bool MaterialShort(int item, int batches, int k) {
    const int material = RecipeMaterial(item, k);
    return material >= 0 && material < kItemCount &&
           ItemStock(material) < batches * RecipeQuantity(item, k);
}

}  // namespace

TItemMixForm::TItemMixForm() : TGameDialog(419, 326, kPosItemMix, CaptionStrip(8, 410, 8, 34)) {
    Name = "ItemMixForm";
    LoadBackground("DlgItemMix.bmp");
    MakeItemNameAndIcon(ItemName, ItemIcon, 130, 12, 16, 48);
    auto text = [this](int x, int y, int w, const char* name) {
        ui::Label* l = MakeLabel(x, y, name);
        l->SetAutoSize(false);
        l->SetBounds(x, y, w, 14);
        return l;
    };
    ItemAttribute = text(160, 48, 240, "ItemAttribute");
    ItemLevel = text(160, 64, 240, "ItemLevel");
    ItemCaption0 = text(160, 80, 250, "ItemCaption0");
    ItemCaption1 = text(160, 96, 250, "ItemCaption1");
    char name[32];
    for (int k = 0; k < 3; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        std::snprintf(name, sizeof name, "MaterialIcon%d", k);
        MaterialIcon[i] = Make<ui::Image>();
        MaterialIcon[i]->Name = name;
        MaterialIcon[i]->SetBounds(kMaterialX[k], 136, 64, 64);
        std::snprintf(name, sizeof name, "MaterialNum%d", k);
        MaterialNum[i] = text(kMaterialX[k] + 68, 184, 50, name);
        std::snprintf(name, sizeof name, "MaterialName%d", k);
        MaterialName[i] = text(kMaterialX[k], 208, 130, name);
        // The shortage mark lies over the material's icon, which shows through it.
        std::snprintf(name, sizeof name, "Tarinai%d", k);
        Tarinai[i] = Make<ui::Image>();
        Tarinai[i]->Name = name;
        Tarinai[i]->SetBounds(kMaterialX[k], 136, 64, 64);
        Tarinai[i]->SetTransparent(true);
        LoadPicture(*Tarinai[i], "Tarinai.bmp");
        Tarinai[i]->Hide();
    }
    MixNumLabel = text(87, 240, 60, "MixNumLabel");
    MixNumLabel->SetFontBold(true);
    MixTimeLabel = text(255, 240, 60, "MixTimeLabel");
    MixTimeLabel->SetFontBold(true);
    TShopSkinSheets& sheets = ShopSheets();
    TCHBmpContainer* mixSheets[4] = {&sheets.Mix10, &sheets.Mix20, &sheets.Mix30, &sheets.Mix40};
    for (int n = 0; n < 4; ++n) {
        std::snprintf(name, sizeof name, "Mix%dButton", (n + 1) * 10);
        TCHBcSpeedButton* b = MakeSheetButton(*mixSheets[n], 16 + 98 * n, 259, 75, 23, name);
        b->Tag = n + 1;
        b->SetGroupIndex(1);
        b->OnClick = [this, n](ui::Control&) { MixNumButtonClick(n + 1); };
        MixButtons[static_cast<std::size_t>(n)] = b;
    }
    ItemMixButton = MakeSheetButton(sheets.ChBtMix, 253, 295, 75, 23, "ItemMixButton");
    ItemMixButton->OnClick = [this](ui::Control&) { ItemMixButtonClick(); };
    CloseButton->SetBounds(336, 295, 75, 23);
}

TItemMixForm::~TItemMixForm() { ClearFormVariable(); }

void TItemMixForm::ClearFormVariable() {
    if (ItemMixForm == this) ItemMixForm = nullptr;
}

void TItemMixForm::DispItemMix(int item) {
    Item = item;
    MixButtons[0]->SetDown(true);
    for (int n = 1; n < 4; ++n) MixButtons[static_cast<std::size_t>(n)]->SetDown(false);
    Batches = 1;
    Place();
    ShowItemHeader({ItemName, ItemIcon, ItemAttribute, ItemLevel, ItemCaption0, ItemCaption1}, item,
                   StockTalk::Shown);
    // The shortage mark over an icon says what the icon would.
    for (int k = 0; k < 3; ++k) {
        const int material = RecipeMaterial(item, k);
        if (material >= 0 && material < kItemCount)
            ShowStockTalk(*Tarinai[static_cast<std::size_t>(k)], material);
    }
    ShowMaterials();
    ShowMixNumbers();
    Show();
    ui::RecordBig5("window", ItemNameField(item));
}

void TItemMixForm::ShowMaterials() {
    ShowRecipeMaterials({MaterialIcon, MaterialName, MaterialNum}, Item, Batches, StockTalk::Shown);
    bool short_ = false;
    for (int k = 0; k < 3; ++k) {
        const bool lacking = MaterialShort(Item, Batches, k);
        Tarinai[static_cast<std::size_t>(k)]->SetVisible(lacking);
        short_ = short_ || lacking;
    }
    ItemMixButton->SetEnabled(!short_);
}

void TItemMixForm::ShowMixNumbers() {
    MixNumLabel->SetCaption(std::to_string(Batches * 10));
    MixTimeLabel->SetCaption(std::to_string(RecipeHours(Item, Batches)));
}

void TItemMixForm::MixNumButtonClick(int tag) {
    if (tag < 1 || tag > 4) return;
    MixButtons[static_cast<std::size_t>(tag - 1)]->SetDown(true);
    Batches = tag;
    ShowMixNumbers();
    ShowMaterials();
}

void TItemMixForm::ItemMixButtonClick() {
    // Only with every material at hand (the button is disabled otherwise).
    for (int k = 0; k < 3; ++k)
        if (MaterialShort(Item, Batches, k)) return;
    const int yield = PlannedMixYield(Item, Batches);
    if (g_ShopHooks.ShowMessage) g_ShopHooks.ShowMessage(B5("　"));
    StartMixJob(Item, Batches, yield);
    for (int k = 0; k < 3; ++k) {
        const int material = RecipeMaterial(Item, k);
        if (material >= 0 && material < kItemCount)
            AddItemStock(material, -RecipeQuantity(Item, k) * Batches);
    }
    StartMixAnimation();
    ui::RecordBig5("mix start", ItemNameField(Item) + " " + std::to_string(Batches * 10) + " " +
                                    std::to_string(MixHoursLeft()) + "h");
    if (ItemMixListForm) {
        TItemMixListForm* list = ItemMixListForm;
        SaveWindowPosition(*list, kPosItemMixList);
        list->Hide();
        list->Release();
        ItemMixListForm = nullptr;
    }
    SaveWindowPosition(*this, kPosItemMix);
    Hide();
    Release();
    ClearFormVariable();
    EnableShopMenus();
}

void TItemMixForm::CloseButtonClick() {
    SaveWindowPosition(*this, kPosItemMix);
    Hide();
    Release();
    ClearFormVariable();
    if (ItemMixListForm) ItemMixListForm->Show();
}
