#include "shop/Exhibition.h"

#include <cstdio>
#include <cstring>

#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/Goods.h"
#include "shop/ItemPainters.h"
#include "shop/Itemlist.h"
#include "shop/Itemmixlist.h"
#include "shop/ShopSkin.h"

namespace {

// The goods list has the mixing list's columns (name, attribute, price, available,
// reserve, total, exhibition): the item list's without the G and M marks, closed up.
const ItemListHeading kListHeadings[7] = {ItemListHeading::kName,      ItemListHeading::kAttribute,
                                          ItemListHeading::kPrice,     ItemListHeading::kAvailable,
                                          ItemListHeading::kReserve,   ItemListHeading::kTotal,
                                          ItemListHeading::kExhibition};

ui::Label* Cell(ui::Label* l, int x, int y, int w, ui::Alignment a) {
    l->SetAutoSize(false);
    l->SetBounds(x, y, w, 14);
    l->SetAlignment(a);
    return l;
}

void CloseDialog(TGameDialog* d, int record) {
    if (!d) return;
    SaveWindowPosition(*d, record);
    d->Hide();
    d->Release();
}

}  // namespace

// ============================================================================ slot dialogs

TExhibitionSlotDialog::TExhibitionSlotDialog(int record, const char* background)
    : TGameDialog(384, 157, record, CaptionStrip(8, 371, 8, 34)) {
    LoadBackground(background);
    MakeItemNameAndIcon(ItemName, ItemIcon, 108, 12, 16, 48);
    const auto right = ui::Alignment::taRightJustify;
    ExPrice = Cell(MakeLabel(95, 66, "ExPrice"), 95, 66, 90, ui::Alignment::taLeftJustify);
    Attribute00 = Cell(MakeLabel(188, 66, "Attribute00"), 188, 66, 30, ui::Alignment::taCenter);
    Price00 = Cell(MakeLabel(223, 66, "Price00"), 223, 66, 42, right);
    Stock00 = Cell(MakeLabel(270, 66, "Stock00"), 270, 66, 32, right);
    Reserve00 = Cell(MakeLabel(307, 66, "Reserve00"), 307, 66, 30, right);
    Total00 = Cell(MakeLabel(341, 66, "Total00"), 341, 66, 30, right);
    Infomation = Cell(MakeLabel(96, 88, "Infomation"), 96, 88, 170, ui::Alignment::taLeftJustify);
    TShopSkinSheets& sheets = ShopSheets();
    DownReserveButton = MakeSheetButton(sheets.ChBtLeft, 290, 91, 23, 23, "DownReserveButton");
    UpReserveButton = MakeSheetButton(sheets.ChBtRight, 318, 91, 23, 23, "UpReserveButton");
}

void TExhibitionSlotDialog::PaintSlot(int slot, int item) {
    Slot = slot;
    Item = item;
    Place();
    ShowItemNamePicture(*ItemName, item);
    ShowItemIcon(*ItemIcon, item);
    ShowItemAttribute(*Attribute00, item);
    ShowItemPrice(*Price00, item);
    ShowItemAvailable(*Stock00, item);
    ShowItemReserve(*Reserve00, item);
    ShowItemStock(*Total00, item);
    ShowSlotHeading(*ExPrice, *Infomation, slot, item);
    Show();
}

void TExhibitionSlotDialog::RedrawStock() {
    ShowItemAvailable(*Stock00, Item);
    ShowItemReserve(*Reserve00, Item);
}

TExhibitionForm::TExhibitionForm() : TExhibitionSlotDialog(kPosExhibition, "DlgExhibition.bmp") {
    Name = "ExhibitionForm";
    TShopSkinSheets& sheets = ShopSheets();
    ExhibitionButton = MakeSheetButton(sheets.ChBtExhibition, 138, 126, 75, 23, "ExhibitionButton");
    ExhibitionButton->OnClick = [this](ui::Control&) { ExhibitionButtonClick(); };
    PutAwayButton = MakeSheetButton(sheets.ChBtPutAway, 218, 126, 75, 23, "PutAwayButton");
    PutAwayButton->OnClick = [this](ui::Control&) { PutAwayButtonClick(); };
    CloseButton->SetBounds(301, 126, 75, 23);
    DownReserveButton->OnClick = [this](ui::Control&) { DownReserveButtonClick(); };
    UpReserveButton->OnClick = [this](ui::Control&) { UpReserveButtonClick(); };
}

TExhibitionForm::~TExhibitionForm() { ClearFormVariable(); }

void TExhibitionForm::ClearFormVariable() {
    if (ExhibitionForm == this) ExhibitionForm = nullptr;
}

void TExhibitionForm::DispExhibition(int slot) {
    PaintSlot(slot, SlotItem(slot));
    ui::Record("window", std::string("陳列 ") + kSlotNames[slot]);
}

void TExhibitionForm::ExhibitionButtonClick() {
    if (ExhibitionListForm) return;
    ExhibitionListForm = new TExhibitionListForm;
    ExhibitionListForm->DispExhibitionList(Slot);
    // The slot dialog lives on, hidden, until the choice is confirmed or cancelled.
    Hide();
}

void TExhibitionForm::PutAwayButtonClick() {
    SetSlotItem(Slot, -1);
    RefreshShelfSlot(Slot);
    TGameDialog::CloseButtonClick();
}

void TExhibitionForm::CloseButtonClick() {
    RefreshShelfSlot(Slot);
    TGameDialog::CloseButtonClick();
}

void TExhibitionForm::ShowAgain() {
    RedrawStock();
    ShowItemStock(*Total00, Item);
    RefreshShelfSlot(Slot);
    Show();
}

void TExhibitionForm::DownReserveButtonClick() {
    DecreaseReserve(Item);
    RedrawStock();
    RefreshShelfSlot(Slot);
}

void TExhibitionForm::UpReserveButtonClick() {
    IncreaseReserve(Item);
    RedrawStock();
    RefreshShelfSlot(Slot);
}

TExhibitionConfirmForm::TExhibitionConfirmForm()
    : TExhibitionSlotDialog(kPosExhibitionConfirm, "DlgExhibitionConfirm.bmp") {
    Name = "ExhibitionConfirmForm";
    TShopSkinSheets& sheets = ShopSheets();
    DicodeButton = MakeSheetButton(sheets.ChBtDecide, 218, 126, 75, 23, "DicodeButton");
    DicodeButton->OnClick = [this](ui::Control&) { DicodeButtonClick(); };
    CloseButton->Glyph().SetBmpContainer(&sheets.ChBtCancel);
    CloseButton->SetBounds(301, 126, 75, 23);
    DownReserveButton->OnClick = [this](ui::Control&) { DownReserveButtonClick(); };
    UpReserveButton->OnClick = [this](ui::Control&) { UpReserveButtonClick(); };
}

TExhibitionConfirmForm::~TExhibitionConfirmForm() { ClearFormVariable(); }

void TExhibitionConfirmForm::ClearFormVariable() {
    if (ExhibitionConfirmForm == this) ExhibitionConfirmForm = nullptr;
}

void TExhibitionConfirmForm::DispExhibitionConfirm(int slot, int item) {
    KeptReserve = ItemReserve(item);
    PaintSlot(slot, item);
}

void TExhibitionConfirmForm::DicodeButtonClick() {
    SetSlotItem(Slot, Item);
    RefreshShelfSlot(Slot);
    const char* name = ::ItemName(Item);
    ui::RecordBig5("exhibit", std::string(name, strnlen(name, 21)) + " " + std::to_string(Slot));
    TExhibitionListForm* list = ExhibitionListForm;
    TExhibitionForm* slotDialog = ExhibitionForm;
    CloseDialog(list, kPosExhibitionList);
    ExhibitionListForm = nullptr;
    CloseDialog(slotDialog, kPosExhibition);
    ExhibitionForm = nullptr;
    CloseDialog(this, kPosExhibitionConfirm);
    ClearFormVariable();
    EnableShopMenus();
}

void TExhibitionConfirmForm::CloseButtonClick() {
    SetItemReserve(Item, KeptReserve);
    SaveWindowPosition(*this, kPosExhibitionConfirm);
    Hide();
    Release();
    ClearFormVariable();
    if (ExhibitionListForm) {
        ExhibitionListForm->DrawPage();
        ExhibitionListForm->Show();
    }
}

void TExhibitionConfirmForm::DownReserveButtonClick() {
    DecreaseReserve(Item);
    RedrawStock();
}

void TExhibitionConfirmForm::UpReserveButtonClick() {
    IncreaseReserve(Item);
    RedrawStock();
}

// ============================================================================ the list

TExhibitionListForm::TExhibitionListForm()
    : TPagedItemListDialog(kPosExhibitionList, "DlgExhibitionList.bmp", kListHeadings,
                           kItemMixListColumns, 7) {
    Name = "ExhibitionListForm";
    MakeHeadings();
    for (int r = 0; r < ItemListPageSize; ++r) MakeRow(r, Rows[static_cast<std::size_t>(r)]);
    MakePageButtons();
}

TExhibitionListForm::~TExhibitionListForm() { ClearFormVariable(); }

void TExhibitionListForm::ClearFormVariable() {
    if (ExhibitionListForm == this) ExhibitionListForm = nullptr;
}

void TExhibitionListForm::DispExhibitionList(int slot) {
    Slot = slot;
    ShowFirstPage(1);
    ui::Record("window", std::string("陳列商品 ") + kSlotNames[slot]);
}

void TExhibitionListForm::CloseButtonClick() {
    TPagedItemListDialog::CloseButtonClick();
    if (ExhibitionForm) ExhibitionForm->ShowAgain();
}

void TExhibitionListForm::DrawRow(int r, int item) {
    Row& row = Rows[static_cast<std::size_t>(r)];
    PaintRow(row, item);
    // Goods already on a slot are grey and cannot be chosen.
    const ui::TColor c = item >= 0 && ItemSlot(item) >= 0 ? ui::clGray : ui::clBlack;
    for (ui::Label* l : {row.ItemName, row.Attribute, row.Price, row.Stock, row.Reserve, row.Total,
                         row.Exhibition})
        l->SetFontColor(c);
}

void TExhibitionListForm::RowClick(int r) {
    const int item = ItemListRowItem(r);
    if (item < 0 || ItemSlot(item) >= 0 || ExhibitionConfirmForm) return;
    Hide();
    ExhibitionConfirmForm = new TExhibitionConfirmForm;
    ExhibitionConfirmForm->DispExhibitionConfirm(Slot, item);
}

void TExhibitionListForm::ReserveMoved(int r, int item) {
    DrawRow(r, item);
    if (ItemSlot(item) >= 0) RefreshShelfSlot(ItemSlot(item));
}

void OpenExhibition(int slot) {
    if (ExhibitionForm || slot < 0 || slot >= 10) return;
    ExhibitionForm = new TExhibitionForm;
    ExhibitionForm->DispExhibition(slot);
}

void OpenExhibitionList(int slot) {
    if (ExhibitionListForm || slot < 0 || slot >= 10) return;
    ExhibitionListForm = new TExhibitionListForm;
    ExhibitionListForm->DispExhibitionList(slot);
}
