#include "shop/Mixconfirm.h"

#include <cstring>
#include <string>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/Goods.h"
#include "shop/ItemPainters.h"
#include "shop/Mixing.h"
#include "shop/Shop.h"

TItemMixConfirmForm* ItemMixConfirmForm = nullptr;

namespace {

constexpr int kWidth = 384;
constexpr int kHeight = 157;
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
    MakeItemNameAndIcon(ItemName, ItemIcon, 92, 44, 16, 44);
    Text(this, MakeLabel(96, 80, "MixNumCaption"), 96, 80, 90, "預定數量");
    Text(this, MakeLabel(96, 98, "ConfirmNumCaption"), 96, 98, 90, "完成數量");
    ItemMixNum = Text(this, MakeLabel(190, 80, "ItemMixNum"), 190, 80, 60, nullptr);
    ItemConfirmNum = Text(this, MakeLabel(190, 98, "ItemConfirmNum"), 190, 98, 60, nullptr);
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
    ShowItemIcon(*ItemIcon, item);
    ShowItemNamePicture(*ItemName, item);
    ItemMixNum->SetCaption(std::to_string(MixBatchCount() * 10));
    ItemConfirmNum->SetCaption(std::to_string(made));

    AddItemStock(item, made);
    ExhibitionSlot = ItemSlot(item);
    const char* name = ::ItemName(item);
    ui::RecordBig5("mix result", std::string(name, strnlen(name, 21)) + " " + std::to_string(made));
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
