#pragma once
#include <string>

#include "platform/Bitmap.h"
#include "platform/Controls.h"

// The item painters: each writes one fact about the heroine or an item into one control
// (a label's caption, an image's picture, a control's hint), so that every shop dialog
// shows names, marks, numbers and pictures the same way. They read the game only through
// its accessors. An item of -1 (an empty row or slot) gives an empty caption or a hidden
// image. Numbers are written in decimal without separators.

// ---- the heroine
void ShowConditionText(ui::Control& c);  // "健康！！", "睏倦", "疲憊"
void ShowLevelStars(ui::Control& c);     // "☆" × (1 + level / 4)
void ShowExperience(ui::Control& c);     // experience "/100"
void ShowMoney(ui::Control& c);          // money "Ｇ"
void ShowReputation(ui::Control& c);

// ---- one item
void ShowItemName(ui::Control& c, int item);
void ShowGoodsMark(ui::Control& c, int item);     // "○" for a G item
void ShowMaterialMark(ui::Control& c, int item);  // "○" for an M item
void ShowItemAttribute(ui::Control& c, int item);
void ShowItemPrice(ui::Control& c, int item);
void ShowItemAvailable(ui::Control& c, int item);  // G: stock - reserve; else "-"
void ShowItemReserve(ui::Control& c, int item);    // G: reserve; else "-"
void ShowItemStock(ui::Control& c, int item);      // the stock; a key item "∞"
// The item's place in today's (yesterday's) exhibition slots, searched from slot 9 down:
// slot 0 "◎", slot 1 "○", slots 2..9 "□", none: empty.
void ShowItemSlotMark(ui::Control& c, int item);
void ShowItemYesterdaySlotMark(ui::Control& c, int item);
// Units sold on the current day (today) or the day before ("0" on the first day).
void ShowItemSoldToday(ui::Control& c, int item, bool today);
void ShowDifficultyStars(ui::Control& c, int item);  // "☆" × (1 + difficulty / 4)
void ShowItemDescriptionLines(ui::Control& line1, ui::Control& line2, int item);
// The control's hint: the heroine's words on her stock of the item.
void ShowStockTalk(ui::Control& c, int item);
// An exhibition slot's name, and its sale price line (slot 0 red, slot 1 green; the
// other slots have none).
void ShowSlotHeading(ui::Control& heading, ui::Control& priceLabel, int slot, int item);

// The texts the painters write, for callers that draw them elsewhere.
std::string ItemSlotMarkText(int item, bool yesterday);
std::string StockTalkText(int item);
extern const char* const kSlotNames[10];  // UTF-8

// ---- pictures from the shop pack
void ShowItemNamePicture(ui::Image& image, int item);  // "IName%03d.Bmp"
void ShowItemIcon(ui::Image& image, int item);         // "IconB%03d.Bmp"
// A 16 x 16 cell of the small icon sheet "IconS.bmp": pictures 0..106 on the first row,
// 107 and above (the item drawn as missing) on the second.
void ShowItemSmallIcon(ui::Image& image, int picture);

// Loads a picture member of the shop pack "Data\WpData0.Pak", opening and closing the
// pack around the load; false when the pack or the member is missing or bad.
bool LoadShopPicture(const std::string& name, ui::Bitmap& out);

// The small icon sheet the painters cut from. The main form holds it once it exists
// (IconSmallImage); until something is set here the painters load "IconS.bmp" from the
// shop pack on first use.
void SetSmallIconSheet(const ui::Bitmap* sheet);
const ui::Bitmap* SmallIconSheet();
