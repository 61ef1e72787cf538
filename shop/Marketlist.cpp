#include "shop/Marketlist.h"

#include <cstdio>
#include <string>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/ItemListView.h"
#include "shop/ItemPainters.h"
#include "shop/Market.h"
#include "shop/Marketbuy.h"
#include "town/Srcdbtxtform21.h"

TMarketListForm* MarketListForm = nullptr;
TMarketBuyForm* MarketBuyForm = nullptr;

namespace {

constexpr int kRowTop = 63;
constexpr int kRowStep = 17;

// Name, attribute, price, what is left: x and width.
struct Column {
    int x;
    int width;
};
constexpr Column kColumns[4] = {{32, 110}, {146, 30}, {180, 44}, {228, 40}};

// The heroine's words on how many she owns (the hint of a row's icon and name).
std::string MarketStockTalk(int item) {
    const int n = ItemStock(item);
    if (n == kKeyItemStock) return B5("有很多噢");
    if (n == 0) return B5("並未持有耶");
    return B5("有") + std::to_string(n) + B5("個噢");
}

bool HalfPrice() { return GameHour() == 17; }

}  // namespace

int MarketPriceNow(int item) {
    const int base = ItemBasePrice(item);
    return HalfPrice() ? base / 2 : base;
}

TMarketListForm::TMarketListForm()
    : TGameDialog(282, 190, kPosMarketList, CaptionStrip(8, 273, 8, 34)) {
    Name = "MarketListForm";
    LoadBackground("DlgMarketList.bmp");
    Image1->OnMouseMove = [this](ui::Control&, ui::ShiftState, int, int) { HoverRow(-1); };
    const char* names[4] = {"ItemName", "Attribute", "Price", "Left"};
    for (int r = 0; r < 5; ++r) {
        Row& row = Rows[static_cast<std::size_t>(r)];
        const int y = kRowTop + kRowStep * r;
        row.Icon = MakeRowIcon(*this, r, y);
        char name[32];
        ui::Label** cells[4] = {&row.ItemName, &row.Attribute, &row.Price, &row.Left};
        for (int c = 0; c < 4; ++c) {
            std::snprintf(name, sizeof name, "%s%02d", names[c], r);
            ui::Label* l = MakeLabel(kColumns[c].x, y, name);
            l->Tag = r;
            l->SetAutoSize(false);
            l->SetBounds(kColumns[c].x, y, kColumns[c].width, 12);
            l->SetAlignment(c == 0   ? ui::Alignment::taLeftJustify
                            : c == 1 ? ui::Alignment::taCenter
                                     : ui::Alignment::taRightJustify);
            *cells[c] = l;
        }
        for (ui::Control* c :
             {static_cast<ui::Control*>(row.Icon), static_cast<ui::Control*>(row.ItemName)}) {
            c->OnClick = [this, r](ui::Control&) { RowClick(r); };
            c->OnMouseMove = [this, r](ui::Control&, ui::ShiftState, int, int) { HoverRow(r); };
        }
    }
    CloseButton->SetBounds(199, 160, 75, 23);
}

TMarketListForm::~TMarketListForm() { ClearFormVariable(); }

void TMarketListForm::ClearFormVariable() {
    if (MarketListForm == this) MarketListForm = nullptr;
}

void TMarketListForm::DispMarketList() {
    Place();
    DrawMarketRows();
    Show();
    ui::Record("window", "市集");
}

void TMarketListForm::DrawMarketRows() {
    const bool half = HalfPrice();
    for (int i = 0; i < 5; ++i) {
        Row& row = Rows[static_cast<std::size_t>(i)];
        const int item = MarketItem(i);
        const int left = MarketStock(i);
        ShowItemSmallIcon(*row.Icon, item);
        ShowItemName(*row.ItemName, item);
        ShowItemAttribute(*row.Attribute, item);
        row.Price->SetCaption(std::to_string(MarketPriceNow(item)));
        row.Left->SetCaption(std::to_string(left));
        const ui::TColor text = left > 0 ? ui::clBlack : ui::clGray;
        row.ItemName->SetFontColor(text);
        row.Attribute->SetFontColor(text);
        row.Left->SetFontColor(text);
        row.Price->SetFontColor(left > 0 ? (half ? ui::clRed : ui::clBlack) : ui::clGray);
        const std::string talk = MarketStockTalk(item);
        for (ui::Control* c :
             {static_cast<ui::Control*>(row.Icon), static_cast<ui::Control*>(row.ItemName)}) {
            c->Hint = talk;
            c->ShowHint = true;
        }
    }
}

void TMarketListForm::HoverRow(int row) {
    for (int r = 0; r < 5; ++r)
        MarkHoveredName(*Rows[static_cast<std::size_t>(r)].ItemName, r == row);
    if (row < 0 || row >= 5) return;
    // A sold-out row still tells what the item is, and the money in hand.
    ShowRowMessage(row);
}

void TMarketListForm::ShowRowMessage(int row) {
    if (row < 0 || row >= 5 || !DbTxtForm2) return;
    const int item = MarketItem(row);
    DbTxtForm2->ShowMessage(std::string(ItemName(item)) + "\n" + ItemDescriptionLine1(item) + "\n" +
                            B5("　") + "\n" + B5("持有現金") +
                            ToFullWidthDigits(std::to_string(GameMoney())) + B5("Ｇ"));
}

void TMarketListForm::RowClick(int row) {
    if (row < 0 || row >= 5 || MarketStock(row) <= 0 || MarketBuyForm) return;
    Hide();
    MarketBuyForm = new TMarketBuyForm;
    MarketBuyForm->SetOffer(row);
}

void DispMarketList() {
    if (MarketListForm) return;
    MarketListForm = new TMarketListForm;
    MarketListForm->DispMarketList();
    if (ui::HaveApp()) ui::App().PumpUntil([] { return MarketListForm == nullptr; }, "MarketList");
}
