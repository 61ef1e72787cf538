#include "shop/ItemPainters.h"

#include <cstdio>
#include <memory>

#include "media/FileFaults.h"
#include "media/Qvpack.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"

namespace {

bool IsItem(int item) { return item >= 0 && item < kItemCount; }

std::string Repeat(const char* utf8, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += utf8;
    return B5(s);
}

std::string Number(int n) { return std::to_string(n); }

// The item's slot in a set of ten, searched from slot 9 down; -1 when it is in none.
int SlotOf(int item, bool yesterday) {
    for (int s = kExhibitionSlots - 1; s >= 0; --s)
        if ((yesterday ? YesterdaySlotItem(s) : SlotItem(s)) == item) return s;
    return -1;
}

const ui::Bitmap* g_iconSheet = nullptr;

}  // namespace

const char* const kSlotNames[10] = {"特惠商品區", "推薦商品區", "１號區", "２號區", "３號區",
                                    "４號區",     "５號區",     "６號區", "７號區", "８號區"};

// ---- the heroine

void ShowConditionText(ui::Control& c) {
    static const char* const kTexts[3] = {"健康！！", "睏倦", "疲憊"};
    const int k = GameCondition();
    c.SetCaption(k >= 0 && k < 3 ? B5(kTexts[k]) : std::string());
}

void ShowLevelStars(ui::Control& c) { c.SetCaption(Repeat("☆", 1 + GameLevel() / 4)); }

void ShowExperience(ui::Control& c) { c.SetCaption(Number(GameExperience()) + "/100"); }

void ShowMoney(ui::Control& c) { c.SetCaption(Number(GameMoney()) + B5("Ｇ")); }

void ShowReputation(ui::Control& c) { c.SetCaption(Number(GameReputation())); }

// ---- one item

void ShowItemName(ui::Control& c, int item) {
    c.SetCaption(IsItem(item) ? std::string(ItemName(item)) : std::string());
}

void ShowGoodsMark(ui::Control& c, int item) {
    c.SetCaption(IsItem(item) && IsShopGoods(item) ? B5("○") : std::string());
}

void ShowMaterialMark(ui::Control& c, int item) {
    c.SetCaption(IsItem(item) && IsMaterial(item) ? B5("○") : std::string());
}

void ShowItemAttribute(ui::Control& c, int item) {
    c.SetCaption(IsItem(item) ? std::string(ItemAttributeName(item)) : std::string());
}

void ShowItemPrice(ui::Control& c, int item) {
    c.SetCaption(IsItem(item) ? Number(ItemBasePrice(item)) : std::string());
}

void ShowItemAvailable(ui::Control& c, int item) {
    if (!IsItem(item)) return c.SetCaption("");
    c.SetCaption(IsShopGoods(item) ? Number(ItemStock(item) - ItemReserve(item)) : "-");
}

void ShowItemReserve(ui::Control& c, int item) {
    if (!IsItem(item)) return c.SetCaption("");
    c.SetCaption(IsShopGoods(item) ? Number(ItemReserve(item)) : "-");
}

void ShowItemStock(ui::Control& c, int item) {
    if (!IsItem(item)) return c.SetCaption("");
    c.SetCaption(ItemStock(item) == kKeyItemStock ? B5("∞") : Number(ItemStock(item)));
}

std::string ItemSlotMarkText(int item, bool yesterday) {
    if (!IsItem(item)) return {};
    const int s = SlotOf(item, yesterday);
    if (s < 0) return {};
    return B5(s == 0 ? "◎" : s == 1 ? "○" : "□");
}

void ShowItemSlotMark(ui::Control& c, int item) { c.SetCaption(ItemSlotMarkText(item, false)); }

void ShowItemYesterdaySlotMark(ui::Control& c, int item) {
    c.SetCaption(ItemSlotMarkText(item, true));
}

void ShowItemSoldToday(ui::Control& c, int item, bool today) {
    if (!IsItem(item)) return c.SetCaption("");
    const int day = GameDay();
    if (!today && day <= 0) return c.SetCaption("0");
    c.SetCaption(Number(DailySoldCount(item, today ? day : day - 1)));
}

void ShowDifficultyStars(ui::Control& c, int item) {
    // Only the goods have recipes.
    if (!IsItem(item) || item >= kGoodsCount) return c.SetCaption("");
    c.SetCaption(Repeat("☆", 1 + RecipeDifficulty(item) / 4));
}

void ShowItemDescriptionLines(ui::Control& line1, ui::Control& line2, int item) {
    line1.SetCaption(IsItem(item) ? std::string(ItemDescriptionLine1(item)) : std::string());
    line2.SetCaption(IsItem(item) ? std::string(ItemDescriptionLine2(item)) : std::string());
}

std::string StockTalkText(int item) {
    if (!IsItem(item)) return {};
    const int n = ItemStock(item);
    if (n == kKeyItemStock) return B5("有很多噢");
    if (n == 0) return B5("並未持有");
    const int r = ItemReserve(item);
    if (r > 0) return B5("有") + Number(n) + B5("個噢。其中有") + Number(r) + B5("個是隨身攜帶的");
    return B5("有") + Number(n) + B5("個噢");
}

void ShowStockTalk(ui::Control& c, int item) {
    c.Hint = StockTalkText(item);
    c.ShowHint = !c.Hint.empty();
}

void ShowSlotHeading(ui::Control& heading, ui::Control& priceLabel, int slot, int item) {
    if (slot < 0 || slot >= kExhibitionSlots) {
        heading.SetCaption("");
        priceLabel.SetCaption("");
        return;
    }
    heading.SetCaption(B5(kSlotNames[slot]));
    if (slot <= 1) {
        priceLabel.SetFontColor(slot == 0 ? ui::clRed : ui::clGreen);
        priceLabel.SetCaption(IsItem(item) ? B5("販售價格 ") + Number(SalePrice(slot, item)) + "G "
                                           : std::string());
    } else {
        priceLabel.SetFontColor(ui::clBlack);
        priceLabel.SetCaption("");
    }
}

// ---- pictures

namespace {
constexpr const char* kItemPicturePack = "Data\\WpData0.Pak";
}  // namespace

bool LoadShopPicture(const std::string& name, ui::Bitmap& out) {
    TQvPack pack;
    if (!pack.OpenPack(ui::FindPath(kItemPicturePack))) {
        TellFileFault(kItemPicturePack);
        return false;
    }
    std::unique_ptr<TMemoryStream> stream = pack.QvMakeStream(name.c_str());
    bool ok = false;
    if (stream) {
        ui::Bitmap loaded;
        ok = loaded.LoadFromMemory(stream->Bytes());
        if (ok) out = std::move(loaded);
    }
    pack.ClosePack();
    if (!ok) TellFileFault(kItemPicturePack, name);
    return ok;
}

namespace {
void ShowPackPicture(ui::Image& image, const char* format, int item) {
    if (!IsItem(item)) {
        image.SetPicture(ui::Bitmap());
        image.Hide();
        return;
    }
    char name[32];
    std::snprintf(name, sizeof name, format, item);
    ui::Bitmap picture;
    // A picture that does not load leaves the image blank (the player has been told).
    if (!LoadShopPicture(name, picture)) picture = ui::Bitmap();
    image.SetPicture(std::move(picture));
    image.Show();
}
}  // namespace

void ShowItemNamePicture(ui::Image& image, int item) {
    ShowPackPicture(image, "IName%03d.Bmp", item);
}

void ShowItemIcon(ui::Image& image, int item) { ShowPackPicture(image, "IconB%03d.Bmp", item); }

void SetSmallIconSheet(const ui::Bitmap* sheet) { g_iconSheet = sheet; }

const ui::Bitmap* SmallIconSheet() {
    if (g_iconSheet) return g_iconSheet;
    // Loaded once from the shop pack until the main form hands over its own.
    static ui::Bitmap* own = [] {
        auto* b = new ui::Bitmap;
        (void)LoadShopPicture("IconS.bmp", *b);
        return b;
    }();
    return own->Empty() ? nullptr : own;
}

void ShowItemSmallIcon(ui::Image& image, int picture) {
    if (picture < 0) {
        image.Hide();
        return;
    }
    const int sx = picture < kItemCount ? 16 * picture : 16 * (picture - kItemCount);
    const int sy = picture < kItemCount ? 0 : 16;
    const ui::Bitmap* sheet = SmallIconSheet();
    const bool indexed = !sheet || sheet->Format() == ui::PixelFormat::pf8bit;
    ui::Bitmap cell(16, 16, indexed ? ui::PixelFormat::pf8bit : ui::PixelFormat::pf24bit);
    if (sheet) {
        if (indexed) cell.SetColorTable(sheet->ColorTable());
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool inside = sx + x < sheet->Width() && sy + y < sheet->Height();
                if (indexed)
                    cell.SetRaw(x, y, inside ? sheet->GetRaw(sx + x, sy + y) : 0);
                else
                    cell.SetPixel(x, y, inside ? sheet->GetPixel(sx + x, sy + y) : ui::clBlack);
            }
    }
    image.SetPicture(std::move(cell));
    image.Show();
}
