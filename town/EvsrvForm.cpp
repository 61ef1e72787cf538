// The event server as a window: the stage form with its menu bar and frame strips, the
// developer's step-through controls, and the frame every event body runs in.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "media/Qvpack.h"
#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "shop/Shop.h"
#include "skin/BcImg.h"
#include "skin/BcPanel.h"
#include "skin/CHBCBTN.h"
#include "skin/CHBmpCnt.h"
#include "story/Register.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"
#include "town/SoundTables.h"
#include "town/Srcdbtxtform21.h"
#include "town/Whereabouts.h"

namespace {

constexpr int kMenuHeight = 36;
constexpr int kStripWidth = 4;
constexpr int kClientWidth = 648;
// Window mode: the menu bar, the stage and the bottom strip.
constexpr int kWindowBodyHeight = 516;
constexpr int kShopBackRoom = 11;
constexpr int kShopUpstairs = 20;
constexpr int kFlowerRoom = 12;
constexpr int kChurchRoom = 13;
constexpr int kBackToMapMode = 163;
// Developer controls stand right of the client area the layout keeps.
constexpr int kDebugLeft = 660;

bool InShopRooms(int place) {
    return place == place::ShopInside || place == kShopBackRoom || place == kShopUpstairs;
}

int CurrentPlace() { return GameFlow ? GameFlow->Place : place::ShopInside; }

void SetReady(bool on) {
    if (GameFlow) GameFlow->Ready = on ? 1 : 0;
}

template <class F, class... A>
void Call(const F& hook, A&&... args) {
    if (hook) hook(std::forward<A>(args)...);
}

template <class F>
bool Ask(const F& hook) {
    return hook ? hook() : false;
}

// A combo box that refills its list just before it drops down.
class TScheduleCombo : public ui::ComboBox {
public:
    using ui::ComboBox::ComboBox;
    std::function<void()> OnDropDown;
    void MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) override {
        if (OnDropDown) OnDropDown();
        ui::ComboBox::MouseDown(button, shift, x, y);
    }
};

// The menu bar's buttons: skinned, with their caption in the game's font.
TCHBcSpeedButton* MakeMenuButton(ui::WinControl* parent, TCHBmpContainer* sheet, const char* name,
                                 const char* caption, int x, int y) {
    auto* b = parent->Make<TCHBcSpeedButton>();
    b->Name = name;
    b->Glyph().SetBmpContainer(sheet);
    b->Glyph().SetIndex(-1);
    b->SetNumGlyphs(4);
    b->SetBounds(x, y, 60, 16);
    b->SetFontName(B5("新細明體"));
    b->SetFontHeight(-12);
    b->SetFontColor(ui::clWhite);
    b->SetCaption(B5(caption));
    // One pass in the face colour: white, grey while disabled.
    TCHBtnCaptionColor& colours = b->CaptionColor();
    for (int i = 0; i < 9; ++i) colours.SetColor(i, ui::clNone);
    colours.SetClUpFace(ui::clWhite);
    colours.SetClDownFace(ui::RGB(255, 240, 200));
    colours.SetClDisabledFace(ui::RGB(200, 200, 200));
    colours.SetEnabled(true);
    return b;
}

// The message window's face and the blank message that closes a line.
void MessageFace(int face) {
    if (DbTxtForm2) DbTxtForm2->SetFace(face);
}

void BlankMessage() {
    if (DbTxtForm2) DbTxtForm2->ShowMessage(B5("　"));
}

void ShowMessageWindow(bool show) {
    if (DbTxtForm2) DbTxtForm2->SetVisible(show);
}

}  // namespace

// --- The form ---

void TEventServerDbg::BuildForm() {
    Name = "EventServerDbg";
    SetBorderStyle(ui::BorderStyle::bsNone);
    SetColor(ui::clBlack);
    OnCloseQuery = [](ui::Form&, bool& canClose) { canClose = false; };
    OnShow = [this](ui::Form&) { LayoutStage(false); };

    // The sheets are compiled into the program; one that does not load draws nothing.
    auto sheet = [](const char* name) {
        auto s = std::make_unique<TCHBmpContainer>();
        if (!s->LoadFromResource(name)) ui::Record("error", std::string("sheet missing: ") + name);
        return s;
    };
    m_MenuSheet = sheet("StageMenuBar.bmp");
    m_ButtonSheet = sheet("StageButton.bmp");
    m_FrameSheet = sheet("StageFrame.bmp");

    m_PnlMenu = Make<TBcPanel>();
    m_PnlMenu->Name = "m_PnlMenu";
    m_PnlMenu->SetBevelOuter(ui::BevelCut::bvNone);
    m_PnlMenu->SetBounds(0, 0, kClientWidth, kMenuHeight);
    m_PnlMenu->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int, int) {
        m_PnlMenuMouseDown(b);
    };
    ImgMenu = m_PnlMenu->Make<TBcImage>();
    ImgMenu->Name = "ImgMenu";
    ImgMenu->BcReader().SetBmpContainer(m_MenuSheet.get());
    ImgMenu->SetBounds(0, 0, kClientWidth, kMenuHeight);
    ImgMenu->OnMouseDown = m_PnlMenu->OnMouseDown;
    // On a desktop, where the stage fills the program's window, its bar moves that window.
    m_PnlMenu->WindowDragArea = ui::Rect{0, 0, kClientWidth, kMenuHeight};
    ImgMenu->WindowDragArea = m_PnlMenu->WindowDragArea;
    m_BtnStatus = MakeMenuButton(m_PnlMenu, m_ButtonSheet.get(), "m_BtnStatus", "狀態", 64, 19);
    m_BtnNote = MakeMenuButton(m_PnlMenu, m_ButtonSheet.get(), "m_BtnNote", "記事本", 129, 19);
    m_BtnOpt = MakeMenuButton(m_PnlMenu, m_ButtonSheet.get(), "m_BtnOpt", "選項", 356, 19);
    m_BtnStatus->OnClick = [this](ui::Control&) { m_BtnStatusClick(); };
    m_BtnNote->OnClick = [this](ui::Control&) { m_BtnNoteClick(); };
    m_BtnOpt->OnClick = [this](ui::Control&) { m_BtnOptClick(); };

    m_Img = Make<ui::Image>();
    m_Img->Name = "m_Img";
    m_Img->SetBounds(kStripWidth, kMenuHeight, kStageWidth, kStageHeight);
    m_Img->SetPicture(ui::Bitmap(kStageWidth, kStageHeight));
    m_Img->GetCanvas().Brush.Color = ui::clBlack;
    m_Img->GetCanvas().FillRect(ui::Rect{0, 0, kStageWidth, kStageHeight});
    m_Img->OnClick = [this](ui::Control&) { m_ImgClick(); };
    m_Img->OnMouseMove = [this](ui::Control&, ui::ShiftState, int x, int y) {
        m_ImgMouseMove(x, y);
    };

    auto strip = [this](const char* panel, const char* image, int x, int y, int w, int h,
                        TBcImage*& img) {
        auto* p = Make<TBcPanel>();
        p->Name = panel;
        p->SetBevelOuter(ui::BevelCut::bvNone);
        p->SetBounds(x, y, w, h);
        img = p->Make<TBcImage>();
        img->Name = image;
        img->BcReader().SetBmpContainer(m_FrameSheet.get());
        img->BcDrawer().SetDrawStyle(chdsStretch);
        img->SetBounds(0, 0, w, h);
        return p;
    };
    BcPanel1 = strip("BcPanel1", "Image1", 0, kMenuHeight, kStripWidth, kStageHeight, Image1);
    BcPanel2 = strip("BcPanel2", "Image2", kStripWidth + kStageWidth, kMenuHeight, kStripWidth,
                     kStageHeight, Image2);
    BcPanel3 = strip("BcPanel3", "Image3", 0, kMenuHeight + kStageHeight, kClientWidth, kStripWidth,
                     Image3);

    // The developer's controls.
    m_CbxDbg = Make<ui::CheckBox>();
    m_CbxDbg->Name = "m_CbxDbg";
    m_CbxDbg->SetCaption("Debug Mode");
    m_CbxDbg->SetBounds(kDebugLeft, 8, 120, 18);
    m_BtnNxt = Make<ui::Button>();
    m_BtnNxt->Name = "m_BtnNxt";
    m_BtnNxt->SetCaption("Next Step");
    m_BtnNxt->SetBounds(kDebugLeft, 30, 100, 24);
    m_BtnNxt->OnClick = [this](ui::Control&) { m_BtnNxtClick(); };
    m_LblCommand = Make<ui::Label>();
    m_LblCommand->Name = "m_LblCommand";
    m_LblCommand->SetCaption("Command");
    m_LblCommand->SetBounds(kDebugLeft, 60, 200, 16);
    m_EdtFlgName = Make<ui::Edit>();
    m_EdtFlgName->Name = "m_EdtFlgName";
    m_EdtFlgName->SetBounds(kDebugLeft, 84, 140, 20);
    Button1 = Make<ui::Button>();
    Button1->Name = "Button1";
    Button1->SetCaption("Search");
    Button1->SetBounds(kDebugLeft + 146, 84, 60, 20);
    Button1->OnClick = [this](ui::Control&) { m_BtnSerchClick(); };
    m_BtnFileLoad = Make<ui::Button>();
    m_BtnFileLoad->Name = "m_BtnFileLoad";
    m_BtnFileLoad->SetCaption("FlagFile");
    m_BtnFileLoad->SetBounds(kDebugLeft, 110, 80, 22);
    m_BtnFileLoad->OnClick = [this](ui::Control&) { m_BtnFileLoadClick(); };
    m_CbxFlgState = Make<ui::CheckBox>();
    m_CbxFlgState->Name = "m_CbxFlgState";
    m_CbxFlgState->SetCaption("Flag Status");
    m_CbxFlgState->SetBounds(kDebugLeft, 138, 110, 18);
    m_BtnFlgSet = Make<ui::Button>();
    m_BtnFlgSet->Name = "m_BtnFlgSet";
    m_BtnFlgSet->SetCaption("Set");
    m_BtnFlgSet->SetBounds(kDebugLeft + 116, 136, 50, 22);
    m_BtnFlgSet->OnClick = [this](ui::Control&) { m_BtnFlgSetClick(); };
    m_RgpFlag = Make<ui::RadioGroup>();
    m_RgpFlag->Name = "m_RgpFlag";
    m_RgpFlag->SetCaption("flag");
    m_RgpFlag->SetBounds(kDebugLeft, 164, 200, 40);
    auto* schedule = Make<TScheduleCombo>();
    schedule->OnDropDown = [this] { m_CmbScheduleDropDown(); };
    m_CmbSchedule = schedule;
    m_CmbSchedule->Name = "m_CmbSchedule";
    m_CmbSchedule->SetBounds(kDebugLeft, 210, 200, 20);
    SpeedButton1 = Make<ui::SpeedButton>();
    SpeedButton1->Name = "SpeedButton1";
    SpeedButton1->SetCaption("bmp");
    SpeedButton1->SetBounds(kDebugLeft, 236, 50, 22);
    SpeedButton1->OnClick = [this](ui::Control&) { SpeedButton1Click(); };
    m_Memo = Make<ui::Memo>();
    m_Memo->Name = "m_Memo";
    m_Memo->ReadOnly = true;
    m_Memo->SetBounds(kDebugLeft, 264, 200, 200);
    m_PnlAvi = Make<ui::Panel>();
    m_PnlAvi->Name = "m_PnlAvi";
    m_PnlAvi->SetBounds(kDebugLeft, 470, 40, 30);
    m_PnlAvi->Hide();
    m_OpnDialog.Filter = "*.h";
    m_OpnDialog.Title = "FlagFile";
}

void TEventServerDbg::ConnectWindows() {
    // The shop and map forms are shown and hidden as they are; a test may put its own
    // calls in first.
    TEventServerHooks& h = EventServerHooks;
    if (!h.ShopVisible) h.ShopVisible = [] { return ShopForm && ShopForm->Visible(); };
    if (!h.ShowShop)
        h.ShowShop = [](bool show) {
            if (ShopForm) ShopForm->SetVisible(show);
        };
    if (!h.MapVisible) h.MapVisible = [] { return MapFm && MapFm->Visible(); };
    if (!h.ShowMap)
        h.ShowMap = [](bool show) {
            if (MapFm) MapFm->SetVisible(show);
        };
    if (!g_ShopHooks.ShowStage)
        g_ShopHooks.ShowStage = [](bool show) {
            if (!EventServerDbg) return;
            if (show)
                EventServerDbg->ShowStage();
            else
                EventServerDbg->HideStage();
        };
    // The controller settles the orders at 19:00 and opens their list through these.
    if (!g_GameFlowHooks.SettleOrders)
        g_GameFlowHooks.SettleOrders = [] {
            if (EventServerDbg) EventServerDbg->SettleOrders();
        };
    if (!g_GameFlowHooks.SettleOrdersDue)
        g_GameFlowHooks.SettleOrdersDue = [](int day) {
            if (EventServerDbg) EventServerDbg->SettleOrders(day);
        };
    if (!g_GameFlowHooks.ShowOrderList)
        g_GameFlowHooks.ShowOrderList = [] {
            if (EventServerDbg) EventServerDbg->ShowOrderList();
        };
}

void TEventServerDbg::LayoutStage(bool centre) {
    SetClientWidth(kClientWidth);
    SetClientHeight(kStageHeight);
    m_PnlMenu->SetBounds(0, 0, kClientWidth, kMenuHeight);
    m_Img->SetBounds(BcPanel1->Width(), m_Img->Top(), kStageWidth, kStageHeight);
    m_Img->Settle();  // a dissolve's owed steps are drawn on the work as it was
    m_Work.SetSize(kStageWidth, kStageHeight);
    m_Src.SetSize(kStageWidth, kStageHeight);
    int screenW = ui::kScreenWidth, screenH = ui::kScreenHeight;
    if (ui::HaveApp()) {
        screenW = ui::App().GetScreen().Width();
        screenH = ui::App().GetScreen().Height();
    }
    if (screenH != ui::kScreenHeight) {
        SetClientHeight(BcPanel3->Height() + kWindowBodyHeight);
        m_PnlMenu->Show();
        m_Img->SetTop(kMenuHeight);
        if (centre) {
            SetBounds((screenW - Width()) / 2, (screenH - Height()) / 2, Width(), Height());
            BcPanel1->Show();
            BcPanel2->Show();
            BcPanel3->Show();
        }
    } else {
        m_PnlMenu->Hide();
        m_Img->SetBounds(0, 0, kStageWidth, kStageHeight);
        SetBounds(0, 0, Width(), Height());
        // The strips would stand over the stage's left edge: hidden on a full screen
        // whether or not the form is centred.
        BcPanel1->Hide();
        BcPanel2->Hide();
        BcPanel3->Hide();
    }
    BcPanel3->SetTop(m_Img->Top() + m_Img->Height());
}

void TEventServerDbg::MakeBrushes() {
    for (int k = 0; k < kBrushCount; ++k) {
        m_Brush[k] = LoadBrushPattern(k);
        m_BrushInv[k] = InverseBrushPattern(m_Brush[k]);
    }
    m_BrushBlack = ui::Bitmap(8, 8);
    m_BrushBlack.GetCanvas().Brush.Color = ui::clBlack;
    m_BrushBlack.GetCanvas().FillRect(ui::Rect{0, 0, 8, 8});
    m_BrushWhite = ui::Bitmap(8, 8);
}

void TEventServerDbg::SetMenuButtonsEnabled(bool on) {
    m_BtnStatus->SetEnabled(on);
    m_BtnNote->SetEnabled(on);
    m_BtnOpt->SetEnabled(on);
}

// --- The event frame ---

void TEventServerDbg::EventBegin() {
    // Steps 1-4 also open a voiced event, before its voice pack is looked for.
    SetMenuButtonsEnabled(false);
    m_ClockHidden = 0;
    m_CalendarHidden = 0;
    Call(EventServerHooks.AlignForms);
    SetReady(false);
    if (NpcMetPending) MarkNpcMet();
    const int place = CurrentPlace();
    if (place == kFlowerRoom || place == kChurchRoom) SetPlace(place, true);
    Call(EventServerHooks.ClearCheckMemo);
    m_InEvent = 1;
    ShopRedrawOn = 0;
    ConditionOverride = 0;
    if (!Visible()) m_TransitionOn = 1;
    ui::Record("event", "begin");
}

void TEventServerDbg::EventBeginVoice(int v) {
    m_VoicePackPath.clear();
    // Only the first number of a pack names it.
    for (int p = 0; p < kVoicePackCount; ++p) {
        if (VoicePackStarts[p] != v) continue;
        m_VoicePackPath = FindVoicePack(VoicePackNames[p]);
        ui::Record("voicepack",
                   std::string(VoicePackNames[p]) + (m_VoicePackPath.empty() ? " missing" : ""));
        break;
    }
    EventBegin();
}

std::string TEventServerDbg::FindVoicePack(const std::string& name) {
    if (name.empty()) return {};
    const std::string local = "wave\\Intm\\" + name + ".pak";
    if (ui::FileExists(local)) return ui::FindPath(local);
    if (!DiscFolder.empty()) {
        std::string disc = DiscFolder;
        if (disc.back() != '/' && disc.back() != '\\') disc += '/';
        disc += "qdv/wave/intm/" + name + ".pak";
        if (ui::FileExists(disc)) return ui::FindPath(disc);
    }
    return {};
}

void TEventServerDbg::ShowClockAndCalendarAgain() {
    if (m_ClockHidden) Call(EventServerHooks.ShowClock, true);
    if (m_CalendarHidden) Call(EventServerHooks.ShowCalendar, true);
}

void TEventServerDbg::EndActor4() { ShowActor4AfterEvent(); }

void TEventServerDbg::EventEnd() {
    // The voice pack was opened where it lies: nothing to remove.
    MessageFace(0);
    m_Face = 0;
    BlankMessage();
    if (InShopRooms(CurrentPlace())) {
        HideStage();
        Call(EventServerHooks.ShowShop, true);
    }
    SetReady(true);
    PlayPlaceMusic();
    ShowClockAndCalendarAgain();
    SetMenuButtonsEnabled(true);
    EndActor4();
    m_InEvent = 0;
    const int place = CurrentPlace();
    if (GameFlow && (place == kShopBackRoom || place == kShopUpstairs))
        GameFlow->Place = place::ShopInside;
    ui::Record("event", "end");
}

void TEventServerDbg::EventEndStopMusic(int mode) {
    BlankMessage();
    if (mode == kBackToMapMode) {
        Call(EventServerHooks.AlignForms);
        Call(EventServerHooks.ShowMap, true);
        HideStage();
    }
    MessageFace(0);
    m_Face = 0;
    BlankMessage();
    if (InShopRooms(CurrentPlace())) {
        HideStage();
        Call(EventServerHooks.ShowShop, true);
    }
    if (mode >= 0) {
        SetReady(true);
        ShowClockAndCalendarAgain();
        SetMenuButtonsEnabled(true);
        EndActor4();
        m_InEvent = 0;
    } else {
        StopMusic();
        SetReady(true);
        EndActor4();
        m_InEvent = 0;
        HideStage();
        Call(EventServerHooks.ShowShop, false);
    }
    const int place = CurrentPlace();
    if (GameFlow && (place == kShopBackRoom || place == kShopUpstairs))
        GameFlow->Place = place::ShopInside;
    ui::Record("event", "end " + std::to_string(mode));
}

// --- Stage controls ---

void TEventServerDbg::m_ImgClick() {
    m_Clicked = 1;
    if (DbTxtForm2 && !DbTxtForm2->Visible()) DbTxtForm2->Show();
    Call(EventServerHooks.ClearPrologueSkip);
}

void TEventServerDbg::m_ImgMouseMove(int x, int y) {
    (void)x;
    const int screenH = ui::HaveApp() ? ui::App().GetScreen().Height() : ui::kScreenHeight;
    if (screenH == ui::kScreenHeight) {
        m_PnlMenu->SetVisible(y < kMenuHeight);
    } else {
        m_PnlMenu->Show();
        m_Img->SetTop(kMenuHeight);
    }
}

void TEventServerDbg::m_PnlMenuMouseDown(ui::MouseButton button) {
    if (button != ui::MouseButton::mbLeft) return;
    const int screenW = ui::HaveApp() ? ui::App().GetScreen().Width() : ui::kScreenWidth;
    if (screenW <= ui::kScreenWidth) return;
    ui::ReleaseCapture();
    m_Dragging = 1;
    DragMove();
    m_Dragging = 0;
}

void TEventServerDbg::m_BtnStatusClick() {
    SetMenuButtonsEnabled(false);
    ShowMessageWindow(false);
    Call(EventServerHooks.ShopStatusPanel);
    ShowMessageWindow(true);
    SetMenuButtonsEnabled(true);
}

void TEventServerDbg::m_BtnNoteClick() {
    SetMenuButtonsEnabled(false);
    Call(EventServerHooks.OpenNotebook);
    SetMenuButtonsEnabled(true);
}

void TEventServerDbg::m_BtnOptClick() {
    SetMenuButtonsEnabled(false);
    ShowMessageWindow(false);
    Call(EventServerHooks.AlignForms);
    Call(EventServerHooks.OpenOptions);
    ShowMessageWindow(true);
    SetMenuButtonsEnabled(true);
}

void TEventServerDbg::m_BtnMenu0Click() { ShowOrderList(); }

// --- Developer controls ---

void TEventServerDbg::m_BtnFileLoadClick() {
    m_FlagNames.clear();
    if (!m_OpnDialog.Execute()) return;
    std::vector<std::uint8_t> bytes;
    if (!ui::ReadFile(m_OpnDialog.FileName, bytes)) return;
    m_FlagNames.assign(bytes.begin(), bytes.end());
    m_Memo->SetText(m_FlagNames);
}

int FlagNumberFromText(const std::string& text, const std::string& names) {
    auto digitsAt = [](const std::string& s, std::size_t at) {
        long n = 0;
        std::size_t i = at;
        for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && n < 100000; ++i)
            n = n * 10 + (s[i] - '0');
        return i == at ? -1 : static_cast<int>(n);
    };
    if (text.empty()) return -1;
    if (std::isdigit(static_cast<unsigned char>(text[0]))) return digitsAt(text, 0);
    // The name as a word: a blank before and after it.
    const auto blank = [](char c) { return static_cast<unsigned char>(c) < 33; };
    std::size_t at = 0;
    for (;;) {
        at = names.find(text, at);
        if (at == std::string::npos) return -1;
        const std::size_t end = at + text.size();
        if (at > 0 && blank(names[at - 1]) && end < names.size() && blank(names[end])) break;
        ++at;
    }
    // The first run of digits after a character below 33.
    for (std::size_t i = at + text.size(); i + 1 < names.size(); ++i)
        if (blank(names[i]) && std::isdigit(static_cast<unsigned char>(names[i + 1])))
            return digitsAt(names, i + 1);
    return -1;
}

void TEventServerDbg::m_BtnSerchClick() {
    const int n = FlagNumberFromText(m_EdtFlgName->Text(), m_FlagNames);
    if (n < 0) return;
    m_LblCommand->SetCaption("Flag:" + std::to_string(n));
    m_CbxFlgState->SetChecked(TestFlg(n));
    m_ChosenFlag = n;
}

void TEventServerDbg::m_BtnFlgSetClick() { SetFlg(m_ChosenFlag, m_CbxFlgState->Checked()); }

void TEventServerDbg::m_CmbScheduleDropDown() {
    m_CmbSchedule->Items.clear();
    for (const CountdownTimer& t : CountdownTimers)
        m_CmbSchedule->Items.push_back(std::to_string(t.FlagToClear) + "," +
                                       std::to_string(t.DaysLeft) + "," +
                                       std::to_string(t.FlagToSet));
}

void TEventServerDbg::SpeedButton1Click() {
    auto save = [](const ui::Bitmap& b, const char* path) {
        const std::vector<std::uint8_t> bytes = b.SaveToMemory();
        if (std::FILE* f = std::fopen(path, "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    };
    m_Img->Settle();  // the work with every step of a dissolve drawn
    save(m_Src, "src.bmp");
    save(m_Work, "work.bmp");
}
