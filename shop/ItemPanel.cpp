#include "shop/ItemPanel.h"

#include <cstring>

#include "platform/Big5.h"
#include "shop/Catalog.h"
#include "shop/ItemPainters.h"

namespace {

bool HasRecipe(int item) { return item >= 0 && item < kGoodsCount && IsShopGoods(item); }

}  // namespace

std::string ItemNameField(int item) {
    const char* n = ::ItemName(item);
    return std::string(n, strnlen(n, 21));
}

void ShowItemHeader(const ItemHeader& h, int item, StockTalk talk) {
    ShowItemNamePicture(*h.name, item);
    ShowItemIcon(*h.icon, item);
    if (talk == StockTalk::Shown) ShowStockTalk(*h.icon, item);
    ShowItemAttribute(*h.attribute, item);
    if (h.difficulty) {
        if (HasRecipe(item))
            ShowDifficultyStars(*h.difficulty, item);
        else
            h.difficulty->SetCaption("");
    }
    ShowItemDescriptionLines(*h.caption0, *h.caption1, item);
}

void ShowRecipeMaterials(const RecipeMaterials& m, int item, int batches, StockTalk talk) {
    for (int k = 0; k < 3; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        const int material = HasRecipe(item) ? RecipeMaterial(item, k) : -1;
        if (material < 0 || material >= kItemCount) {
            m.icon[i]->Hide();
            m.name[i]->SetCaption("");
            m.quantity[i]->SetCaption("");
            continue;
        }
        ShowItemIcon(*m.icon[i], material);
        if (talk == StockTalk::Shown) ShowStockTalk(*m.icon[i], material);
        m.name[i]->SetCaption(ItemNameField(material));
        m.quantity[i]->SetCaption(B5("× ") + std::to_string(batches * RecipeQuantity(item, k)));
    }
}
