#include "shop/GameDialog.h"

#include <algorithm>
#include <span>

#include "platform/Font.h"
#include "platform/Transcript.h"
#include "resources/Resources.h"
#include "shop/Mixing.h"
#include "shop/ShopSkin.h"
#include "town/Srcdbtxtform21.h"

WindowPosition WindowPositions[kWindowPositionCount];

TItemMixListForm* ItemMixListForm = nullptr;
TItemMixForm* ItemMixForm = nullptr;
TExhibitionForm* ExhibitionForm = nullptr;
TExhibitionListForm* ExhibitionListForm = nullptr;
TExhibitionConfirmForm* ExhibitionConfirmForm = nullptr;
TItemListForm* ItemListForm = nullptr;
TItemDetails0Form* ItemDetails0Form = nullptr;
TItemDetails1Form* ItemDetails1Form = nullptr;
TSalesListForm* SalesListForm = nullptr;
TStatusForm* StatusForm = nullptr;
TBookForm* BookForm = nullptr;
TNoteForm* NoteForm = nullptr;
TSalesForm* SalesForm = nullptr;
TGraphForm* GraphForm = nullptr;
TSystemMForm* SystemMForm = nullptr;

ShopWindowHooks& ShopHooks() {
    static ShopWindowHooks hooks;
    return hooks;
}

namespace {

ui::Form* ShopWindow() {
    ShopWindowHooks& h = ShopHooks();
    return h.shopForm ? h.shopForm() : nullptr;
}

void ScreenSize(int& w, int& h) {
    w = ui::kScreenWidth;
    h = ui::kScreenHeight;
    if (ui::HaveApp()) {
        w = ui::App().GetScreen().Width();
        h = ui::App().GetScreen().Height();
    }
}

bool AnyDialogOpen() {
    return ItemMixListForm || ItemMixForm || ExhibitionForm || ExhibitionListForm ||
           ExhibitionConfirmForm || ItemListForm || ItemDetails0Form || ItemDetails1Form ||
           SalesListForm || StatusForm || BookForm || NoteForm || SalesForm || GraphForm ||
           SystemMForm;
}

}  // namespace

void PlaceGameWindow(ui::Form& form, int record, const ui::Rect& strip) {
    if (record < 0 || record >= kWindowPositionCount) return;
    WindowPosition& p = WindowPositions[record];
    int left = 0, top = 0;
    if (p.placed) {
        left = p.left;
        top = p.top;
    } else {
        if (ui::Form* shop = ShopWindow()) {
            left = shop->Left() + (shop->Width() - form.Width()) / 2;
            top = shop->Top() + (shop->Height() - form.Height()) / 2;
        } else {
            // Without a shop window (a dialog of the title, or alone in a test): centred on
            // the screen.
            int sw = 0, sh = 0;
            ScreenSize(sw, sh);
            left = (sw - form.Width()) / 2;
            top = (sh - form.Height()) / 2;
        }
    }
    // A place left on a larger screen, or the centre of a shop window dragged mostly
    // off the screen, would leave the caption strip out of reach.
    const ui::Rect s = !strip.IsEmpty()              ? strip
                       : !form.DragStrip().IsEmpty() ? form.DragStrip()
                                                     : ui::Rect{0, 0, form.Width(), 34};
    const ui::Point at = ui::StripOnScreen(ui::Point{left, top}, s);
    if (!p.placed) {
        // Remembered at once too, so a dialog that goes without its close button
        // still comes back here.
        p.placed = 1;
        p.left = at.x;
        p.top = at.y;
    }
    form.SetBounds(at.x, at.y, form.Width(), form.Height());
    DisableShopMenus();
}

void SaveWindowPosition(const ui::Form& form, int record) {
    if (record < 0 || record >= kWindowPositionCount) return;
    WindowPositions[record].left = form.Left();
    WindowPositions[record].top = form.Top();
}

void ResetWindowPositions() {
    for (WindowPosition& p : WindowPositions) p.placed = 0;
    ShopWindowHooks& h = ShopHooks();
    ui::Form* message = h.messageWindow ? h.messageWindow() : DbTxtForm2;
    ui::Form* shop = ShopWindow();
    if (message && shop) {
        message->SetBounds(shop->Left() + (shop->Width() - message->Width()) / 2,
                           shop->Top() + shop->Height() - 4 - message->Height(), message->Width(),
                           message->Height());
    }
}

void DisableShopMenus() {
    ShopWindowHooks& h = ShopHooks();
    if (h.setShopMenus) h.setShopMenus(false, false, false);
}

void EnableShopMenus() {
    if (!IsShopSceneIdle() || AnyDialogOpen()) return;
    ShopWindowHooks& h = ShopHooks();
    if (h.optionShown && h.optionShown()) return;
    if (h.setShopMenus) h.setShopMenus(true, MixHoursLeft() <= 0, true);
}

bool IsShopSceneIdle() {
    ui::Form* shop = ShopWindow();
    if (!shop || !shop->Visible()) return false;
    ShopWindowHooks& h = ShopHooks();
    return !h.roomAndTitleHidden || h.roomAndTitleHidden();
}

// ---- TGameDialog

TGameDialog::TGameDialog(int width, int height, int record, const ui::Rect& strip)
    : record_(record), strip_(strip) {
    SetBorderStyle(ui::BorderStyle::bsNone);
    SetFormStyle(ui::FormStyle::fsStayOnTop);
    ui::Font font;
    font.Name = ui::kFaceMing;
    font.Height = -12;
    SetFont(font);
    SetBounds(0, 0, width, height);
    SetDragStrip(strip);
    EraseBackground = false;
    Image1 = Make<ui::Image>();
    Image1->Name = "Image1";
    Image1->SetAutoSize(false);
    Image1->SetBounds(0, 0, width, height);
    Image1->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int x, int y) {
        Image1MouseDown(b, x, y);
    };
    CloseButton =
        MakeSheetButton(ShopSheets().ChBtClose, width - 83, height - 31, 75, 23, "CloseButton");
    CloseButton->OnClick = [this](ui::Control&) { CloseButtonClick(); };
}

TGameDialog::~TGameDialog() = default;

void RaiseGameDialogs() {
    for (ui::Form* f : ui::Forms())
        if (auto* dialog = dynamic_cast<TGameDialog*>(f); dialog && dialog->Visible())
            dialog->BringToFront();
}

void TGameDialog::CloseButtonClick() {
    SaveWindowPosition(*this, record_);
    Hide();
    Release();
    ClearFormVariable();
    EnableShopMenus();
}

void TGameDialog::StartDrag() {
    Dragging = 1;
    ui::ReleaseCapture();
    DragMove();
    Dragging = 0;
}

void TGameDialog::Image1MouseDown(ui::MouseButton button, int x, int y) {
    if (button == ui::MouseButton::mbLeft && strip_.Contains(x, y)) StartDrag();
}

void TGameDialog::DragByControl(ui::MouseButton button) {
    if (button == ui::MouseButton::mbLeft) StartDrag();
}

bool TGameDialog::LoadBackground(const char* resourceName) {
    return LoadPicture(*Image1, resourceName);
}

bool TGameDialog::LoadPicture(ui::Image& image, const char* resourceName) {
    const res::Resource* r = res::FindResource(resourceName);
    ui::Bitmap picture;
    if (!r || !picture.LoadFromMemory(std::span<const std::uint8_t>(r->data, r->size))) {
        ui::Record("error", std::string("dialog picture missing: ") + resourceName);
        return false;
    }
    image.SetPicture(std::move(picture));
    return true;
}

void TGameDialog::MakeItemNameAndIcon(ui::Image*& name, ui::Image*& icon, int nameX, int nameY,
                                      int iconX, int iconY, int nameWidth) {
    name = Make<ui::Image>();
    name->Name = "ItemName";
    name->SetBounds(nameX, nameY, nameWidth, 24);
    name->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int, int) {
        DragByControl(b);
    };
    icon = Make<ui::Image>();
    icon->Name = "ItemIcon";
    icon->SetBounds(iconX, iconY, 64, 64);
}

TCHBcSpeedButton* TGameDialog::MakeSheetButton(TCHBmpContainer& sheet, int x, int y, int w, int h,
                                               const char* name) {
    auto* b = Make<TCHBcSpeedButton>();
    b->Name = name;
    b->SetBounds(x, y, w, h);
    b->Glyph().SetBmpContainer(&sheet);
    // A sheet holds one cell as wide as the button per state: three (up, disabled,
    // down) or four (and held down, for grouped buttons).
    const int cells = w > 0 ? sheet.GetBitmap().Width() / w : 0;
    if (cells >= 1 && cells <= 6 && cells * w == sheet.GetBitmap().Width()) b->SetNumGlyphs(cells);
    return b;
}

TCHBcSpeedButton* TGameDialog::MakeStripButton(TCHBmpContainer& sheet, int x, int y, int w, int h,
                                               const char* name, int stripTop) {
    TCHBcSpeedButton* b = MakeSheetButton(sheet, x, y, w, h, name);
    b->SetNumGlyphs(2);
    b->Glyph().SetSrcLeft(0);
    b->Glyph().SetSrcTop(stripTop);
    b->Glyph().SetSrcRight(2 * w);
    b->Glyph().SetSrcBottom(stripTop + h);
    return b;
}

ui::Image* TGameDialog::MakeDragTag(int x, int y, int w, int h, const char* resourceName) {
    auto* tag = Make<ui::Image>();
    tag->Name = "ImageTag";
    tag->SetBounds(x, y, w, h);
    ui::Bitmap picture;
    if (const res::Resource* r = res::FindResource(resourceName))
        if (picture.LoadFromMemory(std::span<const std::uint8_t>(r->data, r->size)))
            tag->SetPicture(std::move(picture));
    tag->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int, int) {
        DragByControl(b);
    };
    return tag;
}

ui::Label* TGameDialog::MakeLabel(int x, int y, const char* name) {
    auto* l = Make<ui::Label>();
    l->Name = name;
    l->SetTransparent(true);
    l->SetBounds(x, y, l->Width(), l->Height());
    return l;
}

ui::Label* TGameDialog::MakeFixedLabel(int x, int y, int w, const char* name) {
    ui::Label* l = MakeLabel(x, y, name);
    l->SetAutoSize(false);
    l->SetBounds(x, y, w, 14);
    return l;
}
