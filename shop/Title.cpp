// The title screen of the shop window: the title picture with its six text labels (the
// opening, a new game, continue from a slot, the recipe book, the album, the screen
// mode), laid over the scene on TitlePanel.
#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/Book.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

namespace {

constexpr int kLabelLeft = 275;
constexpr int kLabelWidth = 93;
constexpr int kLabelHeight = 21;
constexpr int kLabelTop[6] = {322, 346, 370, 394, 418, 442};
const char* const kLabelNames[6] = {"TitleOpeningButton",  "TitleStartButton",
                                    "TitleContinueButton", "TitleBookButton",
                                    "TitleAlbumButton",    "TitleScreenModeButton"};
const char* const kLabelCaptions[6] = {"開頭動畫", "新的遊戲", "讀取進度",
                                       "魔法圖鑑", "事件相簿", "畫面模式"};
constexpr ui::TColor kGrey = 0x808080;
constexpr ui::TColor kBlack = 0x000000;
constexpr ui::TColor kWhite = 0xFFFFFF;
// The hint sits under the house, inside the 640 x 480 that a full screen shows.
constexpr int kHintLeft = 0, kHintTop = 444, kHintWidth = 262, kHintHeight = 16;

constexpr int kOpeningCount = 6;
constexpr int kSoundNewGame = 62;
constexpr int kSoundBook = 64;

template <class F, class... A>
void Call(F* f, A... a) {
    if (f) f(a...);
}

void PlayMusic(int track) {
    if (EventServerDbg) EventServerDbg->PlayMusic(track, true);
}

// The recipe book in title mode, and the title's labels again when it closes.
void OpenTitleBook() { OpenBook(1); }
bool TitleBookOpen() { return BookForm != nullptr; }
void ShowTitleButtonsAgain() {
    if (ShopForm) ShopForm->ShowTitleButtons(true);
}
void OpenAlbum() {
    if (ShopForm) ShopForm->TitleAlbumButtonClick();
}

}  // namespace

void TShopForm::BuildTitle() {
    if (!g_ShopHooks.OpenTitleBook) g_ShopHooks.OpenTitleBook = &OpenTitleBook;
    if (!g_ShopHooks.TitleBookOpen) g_ShopHooks.TitleBookOpen = &TitleBookOpen;
    if (!ShowTitleButtonsHook) ShowTitleButtonsHook = &ShowTitleButtonsAgain;
    if (!g_ShopHooks.OpenAlbum) g_ShopHooks.OpenAlbum = &OpenAlbum;
    TitleImage->OnClick = [this](ui::Control&) { TitleImageClick(); };
    TitleImage->OnMouseMove = [this](ui::Control&, ui::ShiftState, int, int y) {
        TitleImageMouseMove(y);
    };
    TitleImage->SetPicture(LoadPackPicture("Title.bmp"));
    ui::Label** slots[6] = {&TitleOpeningButton, &TitleStartButton, &TitleContinueButton,
                            &TitleBookButton,    &TitleAlbumButton, &TitleScreenModeButton};
    for (int k = 0; k < 6; ++k) {
        auto* l = TitlePanel->Make<ui::Label>();
        l->Name = kLabelNames[k];
        l->Tag = k;
        l->SetAutoSize(false);
        l->SetTransparent(true);
        l->SetAlignment(ui::Alignment::taCenter);
        l->SetFontName(B5("標楷體"));
        l->SetFontHeight(21);
        l->SetFontBold(true);
        l->SetFontColor(kGrey);
        l->SetCaption(B5(kLabelCaptions[k]));
        l->SetBounds(kLabelLeft, kLabelTop[k], kLabelWidth, kLabelHeight);
        l->OnMouseMove = [this, k](ui::Control&, ui::ShiftState, int, int) {
            TitleOpeningButtonMouseMove(k);
        };
        l->Hide();
        *slots[k] = l;
        TitleLabels[k] = l;
    }
    TitleHint = TitlePanel->Make<ui::Label>();
    TitleHint->Name = "TitleHint";
    TitleHint->SetAutoSize(false);
    TitleHint->SetTransparent(true);
    TitleHint->SetAlignment(ui::Alignment::taCenter);
    TitleHint->SetFontName(ui::kFaceMing);
    TitleHint->SetFontHeight(12);
    TitleHint->SetFontColor(kWhite);
    TitleHint->SetCaption(B5("點一下畫面顯示選單"));
    TitleHint->SetBounds(kHintLeft, kHintTop, kHintWidth, kHintHeight);
    // A click on the hint is a click on the picture.
    TitleHint->OnClick = [this](ui::Control&) { TitleImageClick(); };
    TitleOpeningButton->OnClick = [this](ui::Control&) { TitleOpeningButtonClick(); };
    TitleStartButton->OnClick = [this](ui::Control&) { TitleStartButtonClick(); };
    TitleContinueButton->OnClick = [this](ui::Control&) { TitleContinueButtonClick(); };
    TitleBookButton->OnClick = [this](ui::Control&) { TitleBookButtonClick(); };
    TitleAlbumButton->OnClick = [this](ui::Control&) { TitleAlbumButtonClick(); };
    TitleScreenModeButton->OnClick = [this](ui::Control&) { TitleScreenModeButtonClick(); };
}

void TShopForm::ShowTitle() {
    DisableShopMenus();
    if (!OpeningPlayed) {
        // The first title since start-up or since an ending opens with a random opening.
        const int n = ui::Rand() % kOpeningCount + 1;
        ui::Record("opening", std::to_string(n));
        Call(g_ShopHooks.PlayOpening, n);
        OpeningPlayed = 1;
    }
    for (ui::Label* l : TitleLabels) {
        l->SetFontColor(kGrey);
        l->Hide();
    }
    TitleHint->Show();
    TitlePanel->Show();
    TitlePanel->SetEnabled(true);
    Show();
    Repaint();
    ui::Record("picture", "title");
    PlayMusic(track::TitleMusic);
}

void TShopForm::ShowTitleButtons(bool show) {
    bool unlocked = false;
    for (int i = 0; i < kItemCount && !unlocked; ++i) unlocked = IsEverUnlocked(i);
    for (ui::Label* l : TitleLabels) l->SetVisible(show && (l != TitleBookButton || unlocked));
    if (!show) return;
    // Once the menu has appeared the hint has done its work; the next title shows it again.
    TitleHint->Hide();
    ui::Record("menu", "title");
}

void TShopForm::TitleImageClick() {
    if (g_ShopHooks.TitleBookOpen && g_ShopHooks.TitleBookOpen()) return;
    ShowTitleButtons(true);
}

void TShopForm::TitleImageMouseMove(int y) {
    TrackTitleBarHover(y);
    for (ui::Label* l : TitleLabels) l->SetFontColor(kGrey);
}

void TShopForm::TitleOpeningButtonMouseMove(int index) {
    for (ui::Label* l : TitleLabels) l->SetFontColor(l->Tag == index ? kBlack : kGrey);
}

void TShopForm::TitleOpeningButtonClick() {
    if (EventServerDbg) EventServerDbg->StopMusic();
    Call(g_ShopHooks.PlayOpening, 1);
    PlayMusic(track::TitleMusic);
}

void TShopForm::TitleStartButtonClick() {
    ui::Record("command", "new game");
    if (EventServerDbg) EventServerDbg->NewGameReset();
    TitlePanel->SetEnabled(false);
    PlayShopSound(kSoundNewGame, true);
    BuildShopScene();
    UpdateScene();
    if (g_ShopHooks.RunPrologue)
        g_ShopHooks.RunPrologue();
    else
        Call(g_ShopHooks.ShowMessageWindow);  // without the story: the day begins
    TitlePanel->Hide();
    Shop2FPanel->Hide();
    ShowShopScreen();
    if (MainForm) MainForm->ResumeTicks();
}

void TShopForm::TitleContinueButtonClick() {
    ui::Record("command", "continue");
    ShowTitleButtons(false);
    BuildShopScene();
    if (!g_ShopHooks.LoadFromListFlow || !g_ShopHooks.LoadFromListFlow()) {
        DestroyShopScene();
        ShowTitleButtons(true);
        return;
    }
    TitlePanel->SetEnabled(false);
    if (EventServerDbg) EventServerDbg->PlaySeasonMusic();
    UpdateScene();
    TitlePanel->Hide();
    ShowShopScreen();
    Call(g_ShopHooks.ShowMessageWindow);
    if (MainForm) MainForm->ResumeTicks();
}

void TShopForm::TitleBookButtonClick() {
    ShowTitleButtons(false);
    PlayShopSound(kSoundBook);
    if (g_ShopHooks.TitleBookOpen && g_ShopHooks.TitleBookOpen()) return;
    Call(g_ShopHooks.OpenTitleBook);
}

void TShopForm::TitleScreenModeButtonClick() {
    if (g_ShopHooks.ToggleScreenMode) {
        g_ShopHooks.ToggleScreenMode();
    } else if (ui::HaveApp()) {
        // Without the option window (the title alone, in a test): the display alone.
        ui::App().SetFullScreen(!ui::App().IsFullScreen());
    }
}

void TShopForm::ReleaseTitleHooks() {
    if (g_ShopHooks.OpenTitleBook == &OpenTitleBook) g_ShopHooks.OpenTitleBook = nullptr;
    if (g_ShopHooks.TitleBookOpen == &TitleBookOpen) g_ShopHooks.TitleBookOpen = nullptr;
    if (ShowTitleButtonsHook == &ShowTitleButtonsAgain) ShowTitleButtonsHook = nullptr;
    if (g_ShopHooks.OpenAlbum == &OpenAlbum) g_ShopHooks.OpenAlbum = nullptr;
}
