#pragma once
#include <array>
#include <string>

#include "platform/Controls.h"

// An item's header and its recipe's three materials, painted the same way in the recipe
// book, the two details windows and the mixing dialog. Each window hands over the
// controls it has; the painter fills them from the catalogue and the stock.

// The header: the name picture, the icon, the attribute, the difficulty (none in the
// material window: nullptr) and the description's two lines.
struct ItemHeader {
    ui::Image* name = nullptr;
    ui::Image* icon = nullptr;
    ui::Label* attribute = nullptr;
    ui::Label* difficulty = nullptr;
    ui::Label* caption0 = nullptr;
    ui::Label* caption1 = nullptr;
};

// The recipe's three places: each material's icon, name and "× quantity".
struct RecipeMaterials {
    std::array<ui::Image*, 3> icon{};
    std::array<ui::Label*, 3> name{};
    std::array<ui::Label*, 3> quantity{};
};

// Whether the icons carry the heroine's words on her stock as their hint (everywhere but
// in the book, which is read from the title too).
enum class StockTalk { Shown, None };

// The header of `item`; the difficulty stars for goods, an empty line for other items.
void ShowItemHeader(const ItemHeader& h, int item, StockTalk talk);
// The materials of goods `item` for `batches` batches of its recipe (the quantities
// multiplied); a place without a material, and every place for an item that is not
// goods, is left empty with its icon hidden.
void ShowRecipeMaterials(const RecipeMaterials& m, int item, int batches, StockTalk talk);

// The item's Big5 name as the catalogue holds it (its 21-byte field).
std::string ItemNameField(int item);
