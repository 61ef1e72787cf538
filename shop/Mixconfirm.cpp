#include "shop/Mixconfirm.h"

#include <cstring>
#include <string>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/Goods.h"
#include "shop/Mixing.h"
#include "shop/Shop.h"

TItemMixConfirmForm* ItemMixConfirmForm = nullptr;

namespace {

constexpr int kWidth = 310;
constexpr int kHeight = 200;
constexpr int kIconWidth = 16;
constexpr int kIconHeight = 32;
constexpr int kSoundMixDone = 59;
constexpr int kSoundMixNothing = 61;

// The caption strip the dialog is dragged by.
bool InCaption(int x, int y) { return x >= 8 && x <= 302 && y >= 8 && y <= 34; }

ui::Label* NumberLabel(TItemMixConfirmForm* f, const char* name, int top) {
    auto* l = f->Make<ui::Label>();
    l->Name = name;
    l->SetAutoSize(false);
    l->SetTransparent(true);
    l->SetAlignment(ui::Alignment::taRightJustify);
    l->SetBounds(120, top, 60, 16);
    return l;
}

}  // namespace

TItemMixConfirmForm::TItemMixConfirmForm() {
    Name = "ItemMixConfirmForm";
    ItemMixConfirmForm = this;
    SetBorderStyle(ui::BorderStyle::bsNone);
    SetFormStyle(ui::FormStyle::fsStayOnTop);
    SetFontName(B5("新細明體"));
    SetFontHeight(12);
    SetBounds(0, 0, kWidth, kHeight);

    Image1 = Make<ui::Image>();
    Image1->Name = "Image1";
    Image1->SetBounds(0, 0, kWidth, kHeight);
    Image1->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int x, int y) {
        if (b == ui::MouseButton::mbLeft && InCaption(x, y)) DragMove();
    };
    ItemIcon = Make<ui::Image>();
    ItemIcon->Name = "ItemIcon";
    ItemIcon->SetBounds(20, 50, kIconWidth, kIconHeight);
    ItemName = Make<ui::Label>();
    ItemName->Name = "ItemName";
    ItemName->SetTransparent(true);
    ItemName->SetBounds(48, 60, 240, 16);
    ItemName->SetFontHeight(16);
    ItemName->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int, int) {
        if (b == ui::MouseButton::mbLeft) DragMove();
    };
    ItemMixNum = NumberLabel(this, "ItemMixNum", 110);
    ItemConfirmNum = NumberLabel(this, "ItemConfirmNum", 134);
    CloseButton = Make<ui::Button>();
    CloseButton->Name = "CloseButton";
    CloseButton->SetCaption(B5("關閉"));
    CloseButton->SetBounds(115, 164, 80, 24);
    CloseButton->OnClick = [this](ui::Control&) { CloseButtonClick(); };
    OnCloseQuery = [](ui::Form&, bool& canClose) { canClose = false; };
}

TItemMixConfirmForm::~TItemMixConfirmForm() {
    if (ItemMixConfirmForm == this) ItemMixConfirmForm = nullptr;
}

void TItemMixConfirmForm::ShowMixResult() {
    const int item = MixItem();
    const int made = MixResultCount(MixYield(), GameCondition());

    // Centred on the shop window (the remembered place comes with the dialogs' pattern).
    if (ShopForm)
        SetBounds(ShopForm->Left() + (ShopForm->Width() - kWidth) / 2,
                  ShopForm->Top() + (ShopForm->Height() - kHeight) / 2, kWidth, kHeight);
    if (ShopForm) {
        ShopForm->OpenDataPack();
        Image1->SetPicture(ShopForm->LoadPackPicture("MixConf.bmp"));
        ui::Bitmap icons = ShopForm->LoadPackPicture("IconS.bmp");
        ShopForm->CloseDataPack();
        if (!icons.Empty()) {
            ui::Bitmap icon(kIconWidth, kIconHeight);
            icon.GetCanvas().CopyRect(
                ui::Rect{0, 0, kIconWidth, kIconHeight}, icons.GetCanvas(),
                ui::Rect{item * kIconWidth, 0, (item + 1) * kIconWidth, kIconHeight});
            ItemIcon->SetPicture(icon);
        }
    }
    const char* name = ::ItemName(item);
    const std::string nameText(name, strnlen(name, 21));
    ItemName->SetCaption(nameText);
    ItemMixNum->SetCaption(std::to_string(MixBatchCount() * 10));
    ItemConfirmNum->SetCaption(std::to_string(made));

    AddItemStock(item, made);
    ExhibitionSlot = ItemSlot(item);
    ui::Record("mix result", ui::Big5ToUtf8(nameText) + " " + std::to_string(made));
    DisableShopMenus();
    Show();
}

void TItemMixConfirmForm::CloseButtonClick() {
    const int slot = ExhibitionSlot;
    Hide();
    Release();
    if (ItemMixConfirmForm == this) ItemMixConfirmForm = nullptr;
    if (g_ShopHooks.ResetTickPhase) g_ShopHooks.ResetTickPhase();
    if (g_ShopHooks.ShowMessage) g_ShopHooks.ShowMessage(B5("　"));
    if (slot >= 0) RefreshShelfSlot(slot);
}

bool FinishMixJob() {
    if (ItemMixConfirmForm) return false;
    StopMixAnimation();
    if (g_ShopHooks.PlaySound)
        g_ShopHooks.PlaySound(MixYield() > 0 ? kSoundMixDone : kSoundMixNothing);
    (new TItemMixConfirmForm())->ShowMixResult();
    return true;
}
