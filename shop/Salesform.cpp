#include "shop/Salesform.h"

#include <cstdio>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/Demand.h"
#include "shop/GameState.h"
#include "shop/ItemPainters.h"
#include "shop/Note.h"
#include "shop/ShopSkin.h"

namespace {

constexpr int kWidth = 449;
constexpr int kHeight = 358;
constexpr int kRowTop = 71;
constexpr int kRowPitch = 17;

void HookVisitors() {
    if (SalesForm) SalesForm->RefreshVisitors();
}
void HookSlotRow(int slot) {
    if (SalesForm) SalesForm->RefreshSlotRow(slot);
}
void HookRevenue() {
    if (SalesForm) SalesForm->RefreshRevenue();
}
void HookMoney() {
    if (SalesForm) SalesForm->RefreshMoney();
}

}  // namespace

TSalesForm::TSalesForm() : TGameDialog(kWidth, kHeight, kPosSales, CaptionStrip(8, 440, 8, 34)) {
    Name = "SalesForm";
    SalesForm = this;
    LoadBackground("DlgSales.bmp");
    char name[32];
    auto cell = [this, &name](int x, int y, int w, ui::Alignment a) {
        ui::Label* l = MakeFixedLabel(x, y, w, name);
        l->SetAlignment(a);
        return l;
    };
    constexpr auto left = ui::Alignment::taLeftJustify;
    constexpr auto right = ui::Alignment::taRightJustify;
    constexpr auto centre = ui::Alignment::taCenter;
    for (int r = 0; r < 10; ++r) {
        Row& row = Rows[static_cast<std::size_t>(r)];
        const int y = kRowTop + kRowPitch * r;
        row.Icon = Make<ui::Image>();
        std::snprintf(name, sizeof name, "Icon%02d", r);
        row.Icon->Name = name;
        row.Icon->SetBounds(14, y - 2, 16, 16);
        row.Icon->Hide();
        std::snprintf(name, sizeof name, "ItemName%02d", r);
        row.ItemName = cell(34, y, 120, left);
        row.ItemName->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int,
                                           int) { DragByControl(b); };
        std::snprintf(name, sizeof name, "Attribute%02d", r);
        row.Attribute = cell(158, y, 28, centre);
        std::snprintf(name, sizeof name, "Price%02d", r);
        row.Price = cell(190, y, 40, right);
        std::snprintf(name, sizeof name, "Total%02d", r);
        row.Total = cell(236, y, 36, right);
        std::snprintf(name, sizeof name, "Stock%02d", r);
        row.Stock = cell(278, y, 36, right);
        std::snprintf(name, sizeof name, "Reserve%02d", r);
        row.Reserve = cell(320, y, 36, right);
        std::snprintf(name, sizeof name, "Exhibition%02d", r);
        row.Exhibition = cell(362, y, 24, centre);
        std::snprintf(name, sizeof name, "SalesNum%02d", r);
        row.SalesNum = cell(392, y, 40, right);
    }
    std::snprintf(name, sizeof name, "Guest");
    Guest = cell(180, 276, 90, right);
    std::snprintf(name, sizeof name, "SalesGold");
    SalesGold = cell(180, 293, 90, right);
    std::snprintf(name, sizeof name, "TotalGold");
    TotalGold = cell(180, 310, 90, right);
    Image2 = Make<ui::Image>();
    Image2->Name = "Image2";
    Image2->SetBounds(168, 12, 96, 18);
    LoadPicture(*Image2, "SalesYesterdayTitle.bmp");
    Image2->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int, int) {
        DragByControl(b);
    };
    Image3 = Make<ui::Image>();
    Image3->Name = "Image3";
    Image3->SetBounds(23, 271, 64, 52);
    LoadPicture(*Image3, "SalesYesterdayStamp.bmp");
    CloseButton->Glyph().SetBmpContainer(&ShopSheets().ChBtReturn);
    CloseButton->SetBounds(366, 327, 75, 23);
    if (!g_DemandHooks.RefreshVisitors) {
        g_DemandHooks.RefreshVisitors = &HookVisitors;
        g_DemandHooks.RefreshSlotRow = &HookSlotRow;
        g_DemandHooks.RefreshRevenue = &HookRevenue;
        g_DemandHooks.RefreshMoney = &HookMoney;
    }
}

TSalesForm::~TSalesForm() {
    if (g_DemandHooks.RefreshVisitors == &HookVisitors) {
        g_DemandHooks.RefreshVisitors = nullptr;
        g_DemandHooks.RefreshSlotRow = nullptr;
        g_DemandHooks.RefreshRevenue = nullptr;
        g_DemandHooks.RefreshMoney = nullptr;
    }
    ClearFormVariable();
}

void TSalesForm::ClearFormVariable() {
    if (SalesForm == this) SalesForm = nullptr;
}

void TSalesForm::DispSales(bool today) {
    Today = today;
    Place();
    Image2->SetVisible(!today);
    Image3->SetVisible(!today);
    DrawSalesPanel();
    Show();
    ui::Record("window", today ? "營業報告 今日" : "營業報告 昨日");
}

int TSalesForm::ReportDay() const { return Today ? GameDay() : GameDay() - 1; }

void TSalesForm::DrawRow(int r, int item) {
    Row& row = Rows[static_cast<std::size_t>(r)];
    ShowItemSmallIcon(*row.Icon, item);
    ShowItemName(*row.ItemName, item);
    ShowItemAttribute(*row.Attribute, item);
    ShowItemPrice(*row.Price, item);
    ShowItemStock(*row.Total, item);
    ShowItemAvailable(*row.Stock, item);
    ShowItemReserve(*row.Reserve, item);
    if (Today)
        ShowItemSlotMark(*row.Exhibition, item);
    else
        ShowItemYesterdaySlotMark(*row.Exhibition, item);
    ShowItemSoldToday(*row.SalesNum, item, Today);
}

void TSalesForm::DrawSalesPanel() {
    const int day = ReportDay();
    int r = 0;
    for (int s = 0; s < 10; ++s) {
        // Yesterday's slots on the first day are nobody's: the rows stay empty.
        const int item = Today ? SlotItem(s) : (day >= 0 ? YesterdaySlotItem(s) : -1);
        if (item >= 0) DrawRow(r++, item);
    }
    for (; r < 10; ++r) DrawRow(r, -1);
    if (day < 0) {
        // Yesterday on the first day: nobody came and nothing was taken.
        Guest->SetCaption(B5("０"));
        SalesGold->SetCaption(B5("０"));
    } else {
        DrawVisitors(day);
        DrawRevenue(day);
    }
    RefreshMoney();
}

void TSalesForm::DrawVisitors(int day) { Guest->SetCaption(IntToText(DailyVisitors(day))); }

void TSalesForm::DrawRevenue(int day) {
    int takings = 0;
    for (int i = 0; i < kItemCount; ++i)
        if (IsShopGoods(i)) takings += DailyRevenue(i, day);
    SalesGold->SetCaption(IntToText(takings));
}

void TSalesForm::RefreshSlotRow(int slot) {
    if (!Today || slot < 0 || slot >= 10) return;
    const int item = SlotItem(slot);
    if (item < 0) return;
    int row = slot;
    for (int s = 0; s < slot; ++s)
        if (SlotItem(s) < 0) --row;
    DrawRow(row, item);
}

void TSalesForm::RefreshVisitors() {
    if (Today) DrawVisitors(GameDay());
}

void TSalesForm::RefreshRevenue() {
    if (Today) DrawRevenue(GameDay());
}

void TSalesForm::RefreshMoney() { TotalGold->SetCaption(IntToText(GameMoney())); }

void TSalesForm::CloseButtonClick() {
    SaveWindowPosition(*this, kPosSales);
    Hide();
    Release();
    ClearFormVariable();
    BackToNotebook();
}
