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

ui::Label* Text(TGameDialog* f, ui::Label* l, int left, int top, int width, const char* utf8) {
    l->SetAutoSize(false);
    l->SetBounds(left, top, width, 16);
    if (utf8) l->SetCaption(B5(utf8));
    (void)f;
    return l;
}

}  // namespace

TItemMixConfirmForm::TItemMixConfirmForm()
    : TGameDialog(kWidth, kHeight, kPosItemMixConfirm, CaptionStrip(8, 302, 8, 34)) {
    Name = "ItemMixConfirmForm";
    ItemMixConfirmForm = this;
    LoadBackground("DlgItemMixConfirm.bmp");
    ItemIcon = Make<ui::Image>();
    ItemIcon->Name = "ItemIcon";
    ItemIcon->SetBounds(20, 50, kIconWidth, kIconHeight);
    ItemName = MakeLabel(48, 58, "ItemName");
    Text(this, ItemName, 48, 58, 240, nullptr);
    ItemName->SetFontHeight(16);
    ItemName->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int, int) {
        DragByControl(b);
    };
    Text(this, MakeLabel(20, 108, "MixNumCaption"), 20, 108, 90, "預定數量");
    Text(this, MakeLabel(20, 125, "ConfirmNumCaption"), 20, 125, 90, "完成數量");
    ItemMixNum = Text(this, MakeLabel(120, 108, "ItemMixNum"), 120, 108, 60, nullptr);
    ItemConfirmNum = Text(this, MakeLabel(120, 125, "ItemConfirmNum"), 120, 125, 60, nullptr);
    ItemMixNum->SetAlignment(ui::Alignment::taRightJustify);
    ItemConfirmNum->SetAlignment(ui::Alignment::taRightJustify);
}

TItemMixConfirmForm::~TItemMixConfirmForm() { ClearFormVariable(); }

void TItemMixConfirmForm::ClearFormVariable() {
    if (ItemMixConfirmForm == this) ItemMixConfirmForm = nullptr;
}

void TItemMixConfirmForm::ShowMixResult() {
    const int item = MixItem();
    const int made = MixResultCount(MixYield(), GameCondition());

    Place();
    if (ShopForm) {
        const ui::Bitmap icons = ShopForm->LoadPackPicture("IconS.bmp");
        if (!icons.Empty()) {
            ui::Bitmap icon(kIconWidth, kIconHeight);
            ui::Bitmap source = icons;
            icon.GetCanvas().CopyRect(
                ui::Rect{0, 0, kIconWidth, kIconHeight}, source.GetCanvas(),
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
    Show();
}

void TItemMixConfirmForm::CloseButtonClick() {
    const int slot = ExhibitionSlot;
    SaveWindowPosition(*this, Record());
    Hide();
    Release();
    ClearFormVariable();
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
