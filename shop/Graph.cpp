#include "shop/Graph.h"

#include <algorithm>
#include <cstdio>

#include "platform/Canvas.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/ItemPainters.h"
#include "shop/Note.h"
#include "shop/ShopSkin.h"

namespace {

constexpr int kWidth = 481;
constexpr int kHeight = 300;
constexpr int kGridRight = 397;
constexpr ui::TColor kGridGrey = 0x808080;

int LastDay() { return std::clamp(GameDay(), -1, kGameDays - 1); }

}  // namespace

TGraphForm::TGraphForm() : TGameDialog(kWidth, kHeight, kPosGraph, CaptionStrip(8, 472, 8, 34)) {
    Name = "GraphForm";
    GraphForm = this;
    if (LoadBackground("DlgGraph.bmp")) {
        background_ = Image1->Picture();
        background_.SetFormat(ui::PixelFormat::pf24bit);
    } else {
        background_ = ui::Bitmap(kWidth, kHeight);
        ui::Canvas c(background_);
        c.Brush.Color = ui::clWhite;
        c.FillRect(ui::Rect{0, 0, kWidth, kHeight});
    }
    ItemIcon = Make<ui::Image>();
    ItemIcon->Name = "ItemIcon";
    ItemIcon->SetBounds(16, 42, 64, 64);
    auto cell = [this](int x, int y, int w, ui::Alignment a, const char* name) {
        ui::Label* l = MakeFixedLabel(x, y, w, name);
        l->SetAlignment(a);
        return l;
    };
    constexpr auto left = ui::Alignment::taLeftJustify;
    constexpr auto right = ui::Alignment::taRightJustify;
    constexpr auto centre = ui::Alignment::taCenter;
    ItemName00 = cell(90, 46, 200, left, "ItemName00");
    Page = cell(396, 46, 70, right, "Page");
    Attribute00 = cell(90, 84, 30, centre, "Attribute00");
    Price00 = cell(126, 84, 40, right, "Price00");
    Total00 = cell(172, 84, 40, right, "Total00");
    Stock00 = cell(218, 84, 40, right, "Stock00");
    Reserve00 = cell(264, 84, 40, right, "Reserve00");
    Exhibition00 = cell(310, 84, 30, centre, "Exhibition00");
    SalesNum = cell(90, 252, 60, right, "SalesNum");
    SalesGold = cell(256, 252, 80, right, "SalesGold");
    TShopSkinSheets& s = ShopSheets();
    TCHBmpContainer* at[6] = {&s.ChAt0, &s.ChAt1, &s.ChAt2, &s.ChAt3, &s.ChAt4, &s.ChAt5};
    char name[32];
    for (int a = 0; a < 6; ++a) {
        std::snprintf(name, sizeof name, "AtrButton%d", a);
        TCHBcSpeedButton* b = MakeSheetButton(*at[a], 90 + 44 * a, 110, 40, 23, name);
        b->SetNumGlyphs(4);  // normal, disabled, pressed, held down
        b->Tag = a;
        b->SetGroupIndex(1);
        b->SetAllowAllUp(true);
        b->OnClick = [this, a](ui::Control&) { AtrButtonClick(a); };
        AtrButton[static_cast<std::size_t>(a)] = b;
    }
    BackButton = MakeSheetButton(s.ChBtBack, 16, 269, 75, 23, "BackButton");
    BackButton->OnClick = [this](ui::Control&) { PrevGraphItem(); };
    NextButton = MakeSheetButton(s.ChBtNext, 97, 269, 75, 23, "NextButton");
    NextButton->OnClick = [this](ui::Control&) { NextGraphItem(); };
    CloseButton->SetBounds(398, 269, 75, 23);
    auto scale = [this](const char* name, const char* picture) {
        ui::Image* img = Make<ui::Image>();
        img->Name = name;
        img->SetBounds(78, 140, 28, 90);
        LoadPicture(*img, picture);
        img->Hide();
        return img;
    };
    NumImg1 = scale("NumImg1", "GraphScale1.bmp");
    NumImg2 = scale("NumImg2", "GraphScale2.bmp");
    NumImg4 = scale("NumImg4", "GraphScale4.bmp");
}

TGraphForm::~TGraphForm() { ClearFormVariable(); }

void TGraphForm::ClearFormVariable() {
    if (GraphForm == this) GraphForm = nullptr;
}

bool TGraphForm::Matches(int item) const {
    return IsShopGoods(item) && IsItemUnlocked(item) &&
           (AttributeFilter == -1 || ItemAttribute(item) == AttributeFilter);
}

void TGraphForm::DispGraph() {
    AttributeFilter = -1;
    Place();
    DrawItemGraph();
    int known[6] = {0, 0, 0, 0, 0, 0};
    for (int i = 0; i < kItemCount; ++i) {
        const int a = ItemAttribute(i);
        if (IsShopGoods(i) && IsItemUnlocked(i) && a >= 0 && a < 6) ++known[a];
    }
    for (int a = 0; a < 6; ++a) AtrButton[static_cast<std::size_t>(a)]->SetEnabled(known[a] > 0);
    Show();
    ui::Record("window", "銷售圖表");
}

void TGraphForm::DrawItemGraph() {
    ShowItemIcon(*ItemIcon, Item);
    ShowItemName(*ItemName00, Item);
    ShowItemAttribute(*Attribute00, Item);
    ShowItemPrice(*Price00, Item);
    ShowItemStock(*Total00, Item);
    ShowItemAvailable(*Stock00, Item);
    ShowItemReserve(*Reserve00, Item);
    ShowItemSlotMark(*Exhibition00, Item);
    Page->SetCaption("No. " + IntToText(Item + 1));

    const int today = LastDay();
    // 4 px per unit; 2 once a day sold 20 or more; 1 once a day sold 40 or more.
    int s = 4;
    for (int d = 0; d <= today; ++d) {
        const int sold = DailySoldCount(Item, d);
        if (sold > 39) {
            s = 1;
            break;
        }
        if (sold > 19 && s == 4) s = 2;
    }
    NumImg1->SetVisible(s == 1);
    NumImg2->SetVisible(s == 2);
    NumImg4->SetVisible(s == 4);

    ui::Bitmap picture = background_;
    ui::Canvas c(picture);
    c.Brush.Color = ui::clWhite;
    c.FillRect(ui::Rect{kPlotLeft, kPlotTop, today + kPlotLeft + 1, kPlotBottom});
    // A bar taller than the plot stops at its top rather than running over the window.
    c.SetClipRect(ui::Rect{0, kPlotTop, kWidth, kHeight});
    c.Pen.Color = ui::clBlue;
    for (int d = 0; d <= today; ++d) {
        const int h = s * DailySoldCount(Item, d);
        if (h <= 0) continue;
        // Rows 223 up to 224 - h, both ends: h pixels, s px for each unit sold.
        c.MoveTo(kPlotLeft + d, kPlotBottom - 1);
        c.LineTo(kPlotLeft + d, kPlotBottom - h - 1);
    }
    c.ResetClip();
    for (int y = 10; y <= 70; y += 10) {
        c.Pen.Color = y % 20 == 0 ? ui::clBlack : kGridGrey;
        c.MoveTo(kPlotLeft, kPlotBottom - y);
        c.LineTo(kGridRight, kPlotBottom - y);
    }
    for (int k = 12; k <= 288; k += 12) {
        c.Pen.Color = k % 24 == 0 ? ui::clBlack : kGridGrey;
        c.MoveTo(kPlotLeft - 1 + k, kPlotBottom - 1);
        c.LineTo(kPlotLeft - 1 + k, kPlotTop - 1);
    }
    Image1->SetPicture(std::move(picture));

    int sold = 0, takings = 0;
    for (int d = 0; d <= today; ++d) {
        sold += DailySoldCount(Item, d);
        takings += DailyRevenue(Item, d);
    }
    SalesNum->SetCaption(IntToText(sold));
    SalesGold->SetCaption(IntToText(takings));
}

void TGraphForm::Step(int delta) {
    int i = Item;
    for (int n = 0; n < kItemCount; ++n) {
        i = (i + delta + kItemCount) % kItemCount;
        if (i == Item) return;  // round to the start: nothing else matches
        if (Matches(i)) {
            Item = i;
            return;
        }
    }
}

void TGraphForm::PrevGraphItem() {
    Step(-1);
    DrawItemGraph();
}

void TGraphForm::NextGraphItem() {
    Step(1);
    DrawItemGraph();
}

void TGraphForm::AtrButtonClick(int tag) {
    if (!AtrButton[static_cast<std::size_t>(tag)]->Down()) {
        AttributeFilter = -1;
        return;
    }
    AttributeFilter = tag;
    if (!Matches(Item)) NextGraphItem();
}

void TGraphForm::CloseButtonClick() {
    SaveWindowPosition(*this, kPosGraph);
    Hide();
    Release();
    ClearFormVariable();
    BackToNotebook();
}
