#include "shop/Book.h"

#include <cstdio>
#include <string>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/ItemPanel.h"
#include "shop/ShopSkin.h"
#include "story/Register.h"

void (*ShowTitleButtonsHook)() = nullptr;

namespace {

// The necklace and its keepsake share the necklace's entry, the last one.
constexpr int kEntries = item::MothersNecklace + 1;

int DataItem(int entry) { return entry == item::MothersNecklace ? item::NecklaceKeepsake : entry; }
// The categories are the goods (G), the materials (M) and the items with neither flag;
// an item flagged both ways belongs to the first two at once.
bool InCategory(int item, int category) {
    switch (category) {
        case 0:
            return IsShopGoods(item);
        case 1:
            return IsMaterial(item);
        default:
            return !IsShopGoods(item) && !IsMaterial(item);
    }
}

}  // namespace

TBookForm::TBookForm() : TGameDialog(435, 359, kPosBook, CaptionStrip(16, 418, 16, 42)) {
    Name = "BookForm";
    LoadBackground("DlgBook.bmp");
    MakeItemNameAndIcon(ItemName, ItemIcon, 134, 20, 24, 56);
    auto text = [this](int x, int y, int w, const char* n) { return MakeFixedLabel(x, y, w, n); };
    ItemAttribute = text(168, 56, 240, "ItemAttribute");
    ItemLevel = text(168, 72, 240, "ItemLevel");
    ItemCaption0 = text(104, 88, 310, "ItemCaption0");
    ItemCaption1 = text(104, 104, 310, "ItemCaption1");
    Page = text(16, 336, 80, "Page");
    Image2 = Make<ui::Image>();
    Image2->Name = "Image2";
    Image2->SetBounds(24, 127, 387, 16);
    LoadPicture(*Image2, "BookBar.bmp");
    char n[32];
    const int labelAt[6][3] = {{104, 56, 48}, {152, 56, 12}, {104, 72, 48},
                               {152, 72, 12}, {32, 129, 24}, {56, 129, 12}};
    for (int l = 0; l < 6; ++l) {
        std::snprintf(n, sizeof n, "Label%d", l + 1);
        Labels[static_cast<std::size_t>(l)] = text(labelAt[l][0], labelAt[l][1], labelAt[l][2], n);
    }
    // The field names stand right against their colons.
    Labels[0]->SetAlignment(ui::Alignment::taRightJustify);
    Labels[2]->SetAlignment(ui::Alignment::taRightJustify);
    Labels[0]->SetCaption(B5("屬性"));
    Labels[1]->SetCaption(B5("："));
    const int xs[3] = {24, 160, 304};
    for (int k = 0; k < 3; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        MaterialIcon[i] = Make<ui::Image>();
        MaterialIcon[i]->SetBounds(xs[k], 144, 64, 64);
        std::snprintf(n, sizeof n, "MaterialNum%d", k);
        MaterialNum[i] = text(xs[k] + 68, 192, 50, n);
        std::snprintf(n, sizeof n, "MaterialName%d", k);
        MaterialName[i] = text(xs[k], 216, 130, n);
    }
    TShopSkinSheets& s = ShopSheets();
    TCHBmpContainer* at[6] = {&s.ChAt0, &s.ChAt1, &s.ChAt2, &s.ChAt3, &s.ChAt4, &s.ChAt5};
    for (int a = 0; a < 6; ++a) {
        std::snprintf(n, sizeof n, "AtrButton%d", a);
        TCHBcSpeedButton* b = MakeSheetButton(*at[a], 24 + 44 * a, 257, 40, 23, n);
        b->Tag = a;
        b->SetGroupIndex(1);
        b->SetAllowAllUp(true);
        b->OnClick = [this, a](ui::Control&) { AtrButtonClick(a); };
        AtrButton[static_cast<std::size_t>(a)] = b;
    }
    TCHBmpContainer* cats[3] = {&s.ChBtMagicItem, &s.ChBtMaterialItem, &s.ChBtTreasure};
    const char* catNames[3] = {"MagicItembutton", "MaterialItemButton", "TreasureItemButton"};
    TCHBcSpeedButton** catButtons[3] = {&MagicItembutton, &MaterialItemButton, &TreasureItemButton};
    for (int c = 0; c < 3; ++c) {
        TCHBcSpeedButton* b = MakeSheetButton(*cats[c], 24 + 80 * c, 291, 75, 23, catNames[c]);
        b->Tag = c;
        b->SetGroupIndex(2);
        b->SetAllowAllUp(true);
        b->OnClick = [this, c](ui::Control&) { CategoryButtonClick(c); };
        *catButtons[c] = b;
    }
    BackButton = MakeSheetButton(s.ChBtBack, 192, 328, 75, 23, "BackButton");
    BackButton->OnClick = [this](ui::Control&) { PrevBookEntry(); };
    NextButton = MakeSheetButton(s.ChBtNext, 272, 328, 75, 23, "NextButton");
    NextButton->OnClick = [this](ui::Control&) { NextBookEntry(); };
    CloseButton->SetBounds(352, 328, 75, 23);
}

TBookForm::~TBookForm() { ClearFormVariable(); }

void TBookForm::ClearFormVariable() {
    if (BookForm == this) BookForm = nullptr;
}

bool TBookForm::Listed(int entry) const {
    if (entry == item::MothersNecklace)
        return ReadBookItemState(item::MothersNecklace) ||
               ReadBookItemState(item::NecklaceKeepsake);
    return ReadBookItemState(entry) != 0;
}

bool TBookForm::MatchesBookFilter(int entry) const {
    const int item = DataItem(entry);
    if (AttributeFilter != -1 && ::ItemAttribute(item) != AttributeFilter) return false;
    return CategoryFilter == -1 || InCategory(item, CategoryFilter);
}

void TBookForm::DispBook(int mode) {
    Mode = mode;
    for (int i = 0; i < kItemCount; ++i)
        SetBookItemState(i, (mode == 1 ? IsEverUnlocked(i) : IsItemUnlocked(i)) ? 1 : 0);
    Place();
    int perCategory[3] = {0, 0, 0};
    int perAttribute[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; i < kItemCount; ++i) {
        if (!ReadBookItemState(i)) continue;
        for (int c = 0; c < 3; ++c) perCategory[c] += InCategory(i, c) ? 1 : 0;
        const int a = ::ItemAttribute(i);
        if (a >= 0 && a < 6) ++perAttribute[a];
    }
    MagicItembutton->SetEnabled(perCategory[0] > 0);
    MaterialItemButton->SetEnabled(perCategory[1] > 0);
    TreasureItemButton->SetEnabled(perCategory[2] > 0);
    for (int a = 0; a < 6; ++a)
        AtrButton[static_cast<std::size_t>(a)]->SetEnabled(perAttribute[a] > 0);
    // Start on the first listed entry.
    Entry = 0;
    if (!Listed(Entry)) Step(1);
    DrawBookPage();
    Show();
    ui::Record("window", "魔法圖鑑");
}

void TBookForm::DrawBookPage() {
    const int item = DataItem(Entry);
    Page->SetCaption("No. " + std::to_string(Entry + 1));
    // Goods show their difficulty and recipe under the bar; other items leave the
    // difficulty line, the bar and the recipe empty. The book, open from the title too,
    // says nothing of the stock.
    ShowItemHeader({ItemName, ItemIcon, ItemAttribute, ItemLevel, ItemCaption0, ItemCaption1}, item,
                   StockTalk::None);
    const bool goods = IsShopGoods(item);
    Image2->SetVisible(goods);
    Labels[2]->SetCaption(goods ? B5("調配難度") : std::string());
    Labels[3]->SetCaption(goods ? B5("：") : std::string());
    Labels[4]->SetCaption(goods ? B5("明細") : std::string());
    Labels[5]->SetCaption(goods ? B5("：") : std::string());
    ShowRecipeMaterials({MaterialIcon, MaterialName, MaterialNum}, item, 1, StockTalk::None);
}

void TBookForm::Step(int delta) {
    const int start = Entry;
    int e = Entry;
    for (;;) {
        e = (e + delta + kEntries) % kEntries;
        if (e == start) return;  // back where it began: nothing changes
        if (Listed(e) && MatchesBookFilter(e)) break;
    }
    Entry = e;
}

void TBookForm::PrevBookEntry() {
    Step(-1);
    DrawBookPage();
}

void TBookForm::NextBookEntry() {
    Step(1);
    DrawBookPage();
}

void TBookForm::AtrButtonClick(int tag) {
    const bool pressed = AtrButton[static_cast<std::size_t>(tag)]->Down();
    TCHBcSpeedButton* cats[3] = {MagicItembutton, MaterialItemButton, TreasureItemButton};
    if (!pressed) {
        AttributeFilter = -1;
        for (TCHBcSpeedButton* b : cats) b->SetEnabled(true);
        return;
    }
    AttributeFilter = tag;
    if (!MatchesBookFilter(Entry)) NextBookEntry();
    bool has[3] = {false, false, false};
    for (int i = 0; i < kItemCount; ++i) {
        if (i == item::MothersNecklace || !ReadBookItemState(i) || ::ItemAttribute(i) != tag)
            continue;
        for (int c = 0; c < 3; ++c) has[c] = has[c] || InCategory(i, c);
    }
    for (int c = 0; c < 3; ++c) cats[c]->SetEnabled(has[c]);
}

void TBookForm::CategoryButtonClick(int tag) {
    TCHBcSpeedButton* cats[3] = {MagicItembutton, MaterialItemButton, TreasureItemButton};
    const bool pressed = cats[tag]->Down();
    if (!pressed) {
        CategoryFilter = -1;
        for (TCHBcSpeedButton* b : AtrButton) b->SetEnabled(true);
        return;
    }
    CategoryFilter = tag;
    if (!MatchesBookFilter(Entry)) NextBookEntry();
    bool has[6] = {false, false, false, false, false, false};
    for (int i = 0; i < kItemCount; ++i) {
        if (i == item::MothersNecklace || !ReadBookItemState(i) || !InCategory(i, tag)) continue;
        const int a = ::ItemAttribute(i);
        if (a >= 0 && a < 6) has[a] = true;
    }
    for (int a = 0; a < 6; ++a) AtrButton[static_cast<std::size_t>(a)]->SetEnabled(has[a]);
}

void TBookForm::CloseButtonClick() {
    SaveWindowPosition(*this, kPosBook);
    Hide();
    Release();
    ClearFormVariable();
    if (Mode == 1) {
        if (ShowTitleButtonsHook) ShowTitleButtonsHook();
    } else {
        EnableShopMenus();
    }
}

void OpenBook(int mode) {
    if (BookForm) return;
    BookForm = new TBookForm;
    BookForm->DispBook(mode);
}

void OpenGameBook() { OpenBook(0); }
