#include "shop/Saleslist.h"

#include <cstdio>

#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/ItemPainters.h"

TSalesListForm::TSalesListForm()
    : TGameDialog(579, 270, kPosSalesList, CaptionStrip(8, 571, 8, 34)) {
    Name = "SalesListForm";
    LoadBackground("DlgSalesList.bmp");
    char name[32];
    auto cell = [this, &name](int x, int y, int w, ui::Alignment a) {
        ui::Label* l = MakeLabel(x, y, name);
        l->SetAutoSize(false);
        l->SetBounds(x, y, w, 12);
        l->SetAlignment(a);
        return l;
    };
    for (int s = 0; s < 10; ++s) {
        Row& row = Rows[static_cast<std::size_t>(s)];
        const int y = 63 + 17 * s;
        std::snprintf(name, sizeof name, "ItemName%02d", s);
        row.ItemName = cell(332, y, 126, ui::Alignment::taLeftJustify);
        std::snprintf(name, sizeof name, "Price%02d", s);
        row.Price = cell(462, y, 44, ui::Alignment::taRightJustify);
        row.Price->SetFontColor(s == 0 ? ui::clRed : s == 1 ? ui::clGreen : ui::clBlack);
        std::snprintf(name, sizeof name, "Stock%02d", s);
        row.Stock = cell(510, y, 32, ui::Alignment::taRightJustify);
        std::snprintf(name, sizeof name, "Reserve%02d", s);
        row.Reserve = cell(546, y, 28, ui::Alignment::taRightJustify);
    }
    CloseButton->SetBounds(496, 240, 75, 23);
}

TSalesListForm::~TSalesListForm() { ClearFormVariable(); }

void TSalesListForm::ClearFormVariable() {
    if (SalesListForm == this) SalesListForm = nullptr;
}

void TSalesListForm::DispSalesList() {
    Place();
    MakeSalesList();
    Show();
    ui::Record("window", "販售一覽");
}

void TSalesListForm::MakeSalesList() {
    for (int s = 0; s < 10; ++s) ShowSalesRow(s);
}

void TSalesListForm::ShowSalesRow(int s) {
    Row& row = Rows[static_cast<std::size_t>(s)];
    const int item = SlotItem(s);
    ShowItemName(*row.ItemName, item);
    row.Price->SetCaption(item < 0 ? std::string() : std::to_string(SalePrice(s, item)));
    ShowItemAvailable(*row.Stock, item);
    ShowItemReserve(*row.Reserve, item);
}

void OpenSalesList() {
    if (SalesListForm) return;
    SalesListForm = new TSalesListForm;
    SalesListForm->DispSalesList();
}
