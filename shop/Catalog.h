#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The static tables of the items: the catalogue, the description lines, the
// recipes, and the small tables a new game, the market and the level-ups draw
// from. Names are Big5, as the game stores and draws them.

constexpr int kItemCount = 107;   // item ids 0..106
constexpr int kGoodsCount = 64;   // goods ids 0..63: the items with the G flag
constexpr int kNoMaterial = 107;  // a recipe material id of 107 or more means none

struct ItemCatalogEntry {    // 28 bytes
    char Name[21];           // Big5, NUL-padded
    std::uint8_t ShelfRow;   // shelf-picture row
    std::uint8_t Goods;      // G: shop goods
    std::uint8_t Material;   // M: usable as material
    std::uint8_t Attribute;  // 0..5: 光 火 水 風 土 闇
    std::uint8_t Zero;
    std::uint16_t BasePrice;
};

struct ItemDescription {  // 82 bytes: two NUL-terminated Big5 lines
    char Line1[41];
    char Line2[41];
};

struct RecipeEntry {           // 8 bytes
    std::uint8_t Difficulty;   // compared with the level
    std::uint8_t Hours;        // hours per batch
    std::uint8_t Material[3];  // item ids, 107 or more = none
    std::uint8_t Quantity[3];
};

struct InitialStockEntry {
    std::uint8_t Item;
    std::uint8_t A;  // stock := A + B (low 8 bits), reserve := B
    std::uint8_t B;
};

extern const char AttributeNames[6][6];
extern const ItemCatalogEntry ItemCatalog[kItemCount];
extern const RecipeEntry Recipes[kGoodsCount];
extern const std::uint8_t MarketCandidates[19];
extern const std::uint8_t InitialUnlocks[17];
extern const std::uint8_t LevelUnlocks[21];
extern const std::int8_t InitialSlots[10];
extern const InitialStockEntry InitialStock[35];

// Catalogue accessors.
const char* ItemName(int i);  // the 21-byte NUL-padded Big5 name field
const char* ItemDescriptionLine1(int i);
const char* ItemDescriptionLine2(int i);
int ItemShelfRow(int i);
bool IsShopGoods(int i);
bool IsMaterial(int i);
int ItemAttribute(int i);
const char* ItemAttributeName(int i);
int ItemBasePrice(int i);

// Recipe accessors (g = goods id, k = 0..2).
int RecipeDifficulty(int g);
int RecipeMaterial(int g, int k);
int RecipeQuantity(int g, int k);
int RecipeHours(int g, int n);  // hours per batch x n, n = 0 counted as 1

// The description lines come from the data file "ItemDescription.txt" among the
// program's resources (UTF-8, converted to Big5 once, on first use). Each text
// line is "id<TAB>first line<TAB>second line"; empty lines and lines starting
// with '#' are skipped. Every item needs exactly one line and every Big5 line
// must fit its 40 bytes. On failure `error` names the line and nothing is kept.
[[nodiscard]] bool ParseItemDescriptions(std::string_view utf8, ItemDescription (&out)[kItemCount],
                                         std::string* error);
