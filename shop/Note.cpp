#include "shop/Note.h"

#include <cstring>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "shop/Graph.h"
#include "shop/Salesform.h"
#include "shop/Shop.h"
#include "town/EvControler.h"

namespace {

constexpr int kWidth = 215;
constexpr int kHeight = 231;
constexpr int kButtonWidth = 107;
constexpr int kButtonHeight = 23;
constexpr int kSalesSound = 70;

// The five report buttons' sheet (strips 23 px apart), loaded on first use.
TCHBmpContainer& NoteButtonImg() {
    static TCHBmpContainer sheet;
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        if (!sheet.LoadFromResource("NoteButtonImg.bmp"))
            ui::Record("error", "notebook button pictures missing");
    }
    return sheet;
}

void ShowShopMessage(const std::string& big5) {
    if (g_ShopHooks.ShowMessage) g_ShopHooks.ShowMessage(big5);
}

bool InShopPhase() { return !g_ShopHooks.TickPhase || g_ShopHooks.TickPhase() == 2; }

std::string ItemNameText(int item) {
    const char* name = ItemName(item);
    return name ? std::string(name, strnlen(name, 21)) : std::string();
}

}  // namespace

TNoteForm::TNoteForm() : TGameDialog(kWidth, kHeight, kPosNote, CaptionStrip(8, 206, 8, 34)) {
    Name = "NoteForm";
    NoteForm = this;
    LoadBackground("DlgNote.bmp");
    auto button = [this](const char* name, int top, int stripTop) {
        return MakeStripButton(NoteButtonImg(), 52, top, kButtonWidth, kButtonHeight, name,
                               stripTop);
    };
    TodayButton = button("TodayButton", 48, 0);
    YesterdayButton = button("YesterdayButton", 75, 23);
    GraphButton = button("GraphButton", 102, 46);
    UsersButton = button("UsersButton", 137, 69);
    RequestButton = button("RequestButton", 164, 92);
    TodayButton->OnClick = [this](ui::Control&) { TodayButtonClick(); };
    YesterdayButton->OnClick = [this](ui::Control&) { YesterdayButtonClick(); };
    GraphButton->OnClick = [this](ui::Control&) { GraphButtonClick(); };
    UsersButton->OnClick = [this](ui::Control&) { UsersButtonClick(); };
    RequestButton->OnClick = [this](ui::Control&) { RequestButtonClick(); };
    CloseButton->SetBounds(132, 200, 75, 23);
}

TNoteForm::~TNoteForm() { ClearFormVariable(); }

void TNoteForm::ClearFormVariable() {
    if (NoteForm == this) NoteForm = nullptr;
}

void TNoteForm::DispNote() {
    Place();
    ShopWindowHooks& h = ShopHooks();
    ui::Form* shop = h.shopForm ? h.shopForm() : nullptr;
    UsersButton->SetEnabled(!shop || shop->Visible());
    Show();
    ui::Record("window", "經營記事本");
}

void TNoteForm::OpenSales(bool today) {
    if (!SalesForm) {
        if (today && GameHour() >= 19 && !IsRestDay(GameDay())) PlayShopSound(kSalesSound);
        SalesForm = new TSalesForm;
        SalesForm->DispSales(today);
    }
    Hide();
}

void TNoteForm::TodayButtonClick() { OpenSales(true); }

void TNoteForm::YesterdayButtonClick() { OpenSales(false); }

void TNoteForm::GraphButtonClick() {
    if (!GraphForm) {
        GraphForm = new TGraphForm;
        GraphForm->DispGraph();
    }
    Hide();
}

std::string CustomerWishesText() {
    std::string text;
    for (int i = 0; i < 3; ++i) {
        const int m = CustomerMessage(i);
        if (m >= 64 && m - 64 < kItemCount)
            text += B5("有客人想訂購") + ItemNameText(m - 64) + B5("。\n");
        else if (m >= 0 && m < 64)
            text += B5("有客人買不起") + ItemNameText(m) + B5("。\n");
    }
    return text.empty() ? B5("沒有任何訊息。") : text;
}

void TNoteForm::UsersButtonClick() {
    if (!InShopPhase()) return;
    ShowShopMessage(CustomerWishesText());
}

void TNoteForm::RequestButtonClick() {
    Hide();
    if (GameFlow)
        GameFlow->ShowOrderList();
    else if (g_GameFlowHooks.ShowOrderList)
        g_GameFlowHooks.ShowOrderList();
    // The order list is modal; the notebook may have gone with the game meanwhile.
    if (NoteForm == this) Show();
}

void TNoteForm::CloseButtonClick() {
    TGameDialog::CloseButtonClick();
    if (IsShopSceneIdle() && InShopPhase()) ShowShopMessage(B5("該做什麼好呢？"));
    EnableShopMenus();
}

void BackToNotebook() {
    if (NoteForm)
        NoteForm->Show();
    else
        EnableShopMenus();
}

void OpenNote() {
    if (NoteForm) return;
    new TNoteForm();
    NoteForm->DispNote();
}

void RunNotebookWindow() {
    OpenNote();
    if (ui::HaveApp())
        ui::App().PumpUntil([] { return !NoteForm && !SalesForm && !GraphForm; }, "Notebook");
}
