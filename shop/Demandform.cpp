#include "shop/Demandform.h"

#include <cstdio>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/Demand.h"
#include "shop/ItemPainters.h"

namespace {
constexpr int kRowTop = 22;
constexpr int kRowHeight = 16;
constexpr int kNameX = 8, kCellsX = 146, kMarkX = 364, kBarX = 384;
}  // namespace

TDemandView::TDemandView() {
    Name = "DemandForm";
    SetCaption(B5("需要"));
    SetBorderStyle(ui::BorderStyle::bsSingle);
    SetFormStyle(
        ui::FormStyle::fsStayOnTop);  // over the clock, the calendar and the message window
    SetClientWidth(kBarX + 16 + 4);
    SetClientHeight(kRowTop + kRows * kRowHeight + 6);
    SetBounds(236, 40, Width(), Height());
    SetVisible(false);

    auto label = [this](const std::string& name, int x, int y, int w) {
        ui::Label* l = Make<ui::Label>();
        l->Name = name;
        l->SetAutoSize(false);
        l->SetBounds(x, y, w, kRowHeight - 2);
        return l;
    };
    Header = label("Header", kCellsX, 4, kMarkX - kCellsX);
    Header->SetCaption(kHeader);
    for (int k = 0; k < kRows; ++k) {
        char digits[12];
        std::snprintf(digits, sizeof digits, "%02d", k);
        const std::string n = digits;
        const int y = kRowTop + k * kRowHeight;
        const std::size_t r = static_cast<std::size_t>(k);
        DbItemName[r] = label("DbItemName" + n, kNameX, y, kCellsX - kNameX - 4);
        DbItemNum[r] = label("DbItemNum" + n, kCellsX, y, kMarkX - kCellsX);
        DbItemExhibition[r] = label("DbItemExhibition" + n, kMarkX, y, 16);
    }
    ScrollBar1 = Make<ui::ScrollBar>();
    ScrollBar1->Name = "ScrollBar1";
    ScrollBar1->SetKind(ui::ScrollBarKind::sbVertical);
    ScrollBar1->SetBounds(kBarX, kRowTop, 16, kRows * kRowHeight);
    ScrollBar1->Min = 0;
    ScrollBar1->Max = kGoodsCount - kRows;
    ScrollBar1->LargeChange = kRows;
    ScrollBar1->OnChange = [this](ui::Control&) { Redraw(); };
}

std::string TDemandView::CellsText(int goods) {
    std::string s;
    for (int j = 0; j < kOpenHours; ++j) {
        char cell[8];
        const int c = DemandForm ? DemandForm->HourOrder[j] : 255;
        if (c < kOpenHours)
            std::snprintf(cell, sizeof cell, "%2d", DemandForm->DemandTable[goods][c]);
        else
            std::snprintf(cell, sizeof cell, " -");
        if (j) s += ' ';
        s += cell;
    }
    return s;
}

void TDemandView::Redraw() {
    for (int k = 0; k < kRows; ++k) {
        const std::size_t r = static_cast<std::size_t>(k);
        const int g = ScrollBar1->Position() + k;
        const bool row = g >= 0 && g < kGoodsCount;
        ShowItemName(*DbItemName[r], row ? g : -1);
        DbItemNum[r]->SetCaption(row ? CellsText(g) : std::string());
        ShowItemSlotMark(*DbItemExhibition[r], row ? g : -1);
    }
}

// ---- the customers' object shows its view

void TDemandForm::ShowView() {
    if (!View) View = std::make_unique<TDemandView>();
    View->Redraw();
    View->Show();
    ui::Record("window", "需要");
}

bool TDemandForm::IsViewVisible() const { return View && View->Visible(); }

void TDemandForm::RedrawView() {
    if (View) View->Redraw();
}
