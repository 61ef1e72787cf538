#include "shop/Shop.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iterator>

#include "media/FileFaults.h"
#include "media/Qvdib.h"
#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "shop/Book.h"
#include "shop/Calendar.h"
#include "shop/Debugform.h"
#include "shop/Demand.h"
#include "shop/Exhibition.h"
#include "shop/Fsctrl.h"
#include "shop/GameState.h"
#include "shop/Goods.h"
#include "shop/Heroine.h"
#include "shop/Itemdetails.h"
#include "shop/Itemlist.h"
#include "shop/Itemmixlist.h"
#include "shop/Main.h"
#include "shop/Marketlist.h"
#include "shop/Mixing.h"
#include "shop/Note.h"
#include "shop/Option.h"
#include "shop/Saleslist.h"
#include "shop/Savefile.h"
#include "shop/Saveloadlist.h"
#include "shop/ShopSkin.h"
#include "shop/Status.h"
#include "shop/Systemm.h"
#include "shop/Titlebar.h"
#include "story/DayStart.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

ShopScreenHooks g_ShopHooks;
TShopForm* ShopForm = nullptr;

void PlayShopSound(int n, bool sync) {
    if (sync && g_ShopHooks.PlaySoundSync)
        g_ShopHooks.PlaySoundSync(n);
    else if (!sync && g_ShopHooks.PlaySound)
        g_ShopHooks.PlaySound(n);
    else if (EventServerDbg)
        sync ? EventServerDbg->PlaySoundSync(n) : EventServerDbg->PlaySound(n);
}

namespace {

constexpr int kSceneWidth = 648;
constexpr int kSceneHeight = 484;
constexpr int kTopBarHeight = 36;
constexpr int kWindowHeight = kTopBarHeight + kSceneHeight;  // 520

// Sounds of the shop screen.
constexpr int kSoundSupper = 45;
constexpr int kSoundBreakfastDone = 46;
constexpr int kSoundToTown = 47;
constexpr int kSoundWakeUp = 43;
constexpr int kSoundIntoBed = 50;
constexpr int kSoundStairs = 72;

// Scene click regions 10..14 and the floor rows of the customers' side.
constexpr int kRegionItemMix = 10, kRegionItemList = 11, kRegionBook = 12, kRegionNote = 13,
              kRegionBed = 14;
constexpr int kCustomerRows = 6;

// A scripted walk gives up after this many shop steps (half a minute of the clock).
constexpr int kMaxWaitSteps = 1000;
constexpr std::uint32_t kShopStepMs = 30;

template <class F, class... A>
void Call(F* f, A... a) {
    if (f) f(a...);
}

const char* const kExhibitionCaptions[kExhibitionSlots] = {
    "優惠商品區", "推薦商品區", "１號區", "２號區", "３號區",
    "４號區",     "５號區",     "６號區", "７號區", "８號區"};

// The demand unit's calls into the shop screen.
bool HookShopOpen() { return ShopForm && ShopForm->IsShopOpen(); }
SPMan* HookDoor() { return ShopForm ? ShopForm->Actor2.get() : nullptr; }
void HookWalkToCounter() {
    if (ShopForm) ShopForm->WalkToCounter();
}
void HookWalkBackToWork() {
    if (ShopForm) ShopForm->WalkBackToWork();
}
int HookWalkState() { return ShopForm ? ShopForm->HeroineWalkState() : -1; }
void HookPlaySound(int n) { PlayShopSound(n, false); }

// The event server's time primitives step the scene while a story mixing job runs.
void HookShopSceneStep() {
    if (!ShopForm) return;
    ShopForm->UpdateScene();
    ShopForm->ShopPendingAction();
    ShopForm->Repaint();
}
// The end of the tired scene: home to bed.
void HookGoHomeToBed() {
    if (!ShopForm) return;
    ShopForm->ShowShopScreen();
    EnableShopMenus();
    ShopForm->StartShop2FMode(2);
    Call(g_ShopHooks.ShowStage, false);
    Call(g_ShopHooks.HideMapForm);
}
// The clock's calls.
void ClockShopOpen() {
    if (ShopForm) ShopForm->SetShopOpen();
}
void ClockShopClosed() {
    if (ShopForm) ShopForm->SetShopClosed();
}
bool ClockShop2FVisible() { return ShopForm && ShopForm->Shop2FPanel->Visible(); }
void ClockRedrawShop() { InvalidateSprites(); }

void HookSaveGameFlow() { static_cast<void>(SaveGameFlow()); }

void HookShowTitle() {
    if (ShopForm) ShopForm->ShowTitle();
}

void ShowMessage(const std::string& big5) { Call(g_ShopHooks.ShowMessage, big5); }

int TickPhase() { return g_ShopHooks.TickPhase ? g_ShopHooks.TickPhase() : 2; }

ui::Panel* PlainPanel(ui::WinControl* parent, const char* name, int left, int top, int w, int h) {
    auto* p = parent->Make<ui::Panel>();
    p->Name = name;
    p->SetBevelOuter(ui::BevelCut::bvNone);
    p->SetBounds(left, top, w, h);
    p->SetColor(ui::clBlack);
    return p;
}

ui::Image* FullImage(ui::WinControl* parent, const char* name, int w, int h) {
    auto* i = parent->Make<ui::Image>();
    i->Name = name;
    i->SetBounds(0, 0, w, h);
    return i;
}

// Which pending actions face which way on arrival.
int PendingFacing(int action) {
    switch (action) {
        case kPendingItemMix:
        case kPendingMixing:
            return 2;
        case kPendingItemList:
        case kPendingBook:
            return 1;
        default:
            return -1;
    }
}

}  // namespace

TCHBcSpeedButton* MakeTopBarButton(ui::WinControl& parent, TCHBmpContainer& sheet, const char* name,
                                   int left, int top, int width, int height, int stripTop) {
    auto* b = parent.Make<TCHBcSpeedButton>();
    b->Name = name;
    b->SetBounds(left, top, width, height);
    b->SetNumGlyphs(3);
    b->Glyph().SetBmpContainer(&sheet);
    b->Glyph().SetSrcLeft(0);
    b->Glyph().SetSrcTop(stripTop);
    b->Glyph().SetSrcRight(3 * width);
    b->Glyph().SetSrcBottom(stripTop + height);
    return b;
}

// ============================================================================ the form

TShopForm::TShopForm() {
    Name = "ShopForm";
    ShopForm = this;
    SetBorderStyle(ui::BorderStyle::bsNone);
    SetFontName(B5("新細明體"));
    SetFontHeight(12);
    EraseBackground = false;
    SetColor(ui::clBlack);

    Image1 = FullImage(this, "Image1", kSceneWidth, kSceneHeight);
    Image1->SetBounds(0, kTopBarHeight, kSceneWidth, kSceneHeight);
    Image1->SetPopupMenu(&PopupMenu1);
    Image1->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState s, int x, int y) {
        Image1MouseDown(b, s, x, y);
    };
    Image1->OnMouseMove = [this](ui::Control&, ui::ShiftState, int, int y) {
        TrackTitleBarHover(y);
    };

    Shop2FPanel = PlainPanel(this, "Shop2FPanel", 0, kTopBarHeight, kSceneWidth, kSceneHeight);
    Shop2FImage = FullImage(Shop2FPanel, "Shop2FImage", kSceneWidth, kSceneHeight);
    Shop2FImage->OnClick = [this](ui::Control&) { Shop2FImageClick(); };
    Shop2FImage->OnMouseMove = [this](ui::Control&, ui::ShiftState, int, int y) {
        TrackTitleBarHover(y);
    };
    Shop2FPanel->Hide();

    // The title and the album draw themselves on these panels (the title screen).
    TitlePanel = PlainPanel(this, "TitlePanel", 0, kTopBarHeight, kSceneWidth, kSceneHeight);
    TitleImage = FullImage(TitlePanel, "TitleImage", kSceneWidth, kSceneHeight);
    TitlePanel->Hide();
    BuildTitle();
    AlbumPanel = PlainPanel(this, "AlbumPanel", 0, kTopBarHeight, kSceneWidth, kSceneHeight);
    AlbumPanel->Hide();
    BuildAlbum();

    QvDib1 = std::make_unique<TQvDib>(kSceneWidth, kSceneHeight);
    QvDib2 = std::make_unique<TQvDib>(kSceneWidth, kSceneHeight);
    QvDib1->InitDib();
    QvDib2->InitDib();
    QvDib1->SetImage(Image1);

    BuildTopBar();
    BuildMenus();

    SetBounds(0, 0, kSceneWidth, kWindowHeight);
    PendingAction = PendingDelay = 0;
    SceneBuilt = 0;
    AlbumEntry = -1;

    g_DemandHooks.IsShopOpen = &HookShopOpen;
    g_DemandHooks.IsShopSceneIdle = &IsShopSceneIdle;
    g_DemandHooks.DoorSprite = &HookDoor;
    g_DemandHooks.HideMixingAnimation = &HideMixAnimation;
    g_DemandHooks.WalkToCounter = &HookWalkToCounter;
    g_DemandHooks.WalkBackToWork = &HookWalkBackToWork;
    g_DemandHooks.HeroineWalkState = &HookWalkState;
    if (!g_DemandHooks.PlaySound) g_DemandHooks.PlaySound = &HookPlaySound;
    g_ClockHooks.SetShopOpen = &ClockShopOpen;
    g_ClockHooks.SetShopClosed = &ClockShopClosed;
    g_ClockHooks.IsShop2FVisible = &ClockShop2FVisible;
    if (!g_ClockHooks.RedrawShop) g_ClockHooks.RedrawShop = &ClockRedrawShop;

    ShopWindowHooks& dialogs = ShopHooks();
    dialogs.shopForm = []() -> ui::Form* { return ShopForm; };
    dialogs.setShopMenus = [](bool buttons, bool autoPopup, bool sceneClicks) {
        if (ShopForm) ShopForm->SetShopMenus(buttons, autoPopup, sceneClicks);
    };
    dialogs.roomAndTitleHidden = [] {
        return ShopForm && !ShopForm->Shop2FPanel->Visible() && !ShopForm->TitlePanel->Visible();
    };
    dialogs.shopOpen = [] { return ShopForm && ShopForm->IsShopOpen(); };
    if (!g_MainFormHooks.ShowTitle) g_MainFormHooks.ShowTitle = &HookShowTitle;
    if (!g_ShopHooks.SaveGameFlow) g_ShopHooks.SaveGameFlow = &HookSaveGameFlow;
    if (!g_ShopHooks.LoadFromListFlow) g_ShopHooks.LoadFromListFlow = &LoadFromListFlow;
    if (!g_ShopHooks.OpenSystemMenu) g_ShopHooks.OpenSystemMenu = &OpenSystemMenu;
    // The stage's menu buttons wait until these are closed.
    if (!EventServerHooks.ShopStatusPanel) EventServerHooks.ShopStatusPanel = &RunStatusWindow;
    if (!EventServerHooks.OpenNotebook) EventServerHooks.OpenNotebook = &RunNotebookWindow;
    if (!DispItemDetails0Hook) DispItemDetails0Hook = &DispItemDetails0;
    if (!g_ShopHooks.RunPrologue) g_ShopHooks.RunPrologue = &EvPrologue;

    TEventServerDbg::PrimitiveHooks& primitives = TEventServerDbg::Hooks;
    if (!primitives.ShopSceneStep) primitives.ShopSceneStep = &HookShopSceneStep;
    if (!primitives.GoHomeToBed) primitives.GoHomeToBed = &HookGoHomeToBed;

    if (!GameFlow) GameFlow = new TEvControler();
    RemoveSaveLeftovers();
    // Before the first save there is none: nothing was ever unlocked or seen, which
    // is what memory holds already.
    LoadSystemFileAtStart();
    LayoutForScreen();
    Shop2FMode = 0;
    OpeningPlayed = 0;
    OnCloseQuery = [](ui::Form&, bool& canClose) { canClose = false; };
    OnShow = [](ui::Form&) { InvalidateSprites(); };
    OnHide = [](ui::Form&) { Call(g_ShopHooks.ShowTitleBarForm, false); };
    OnClose = [this](ui::Form&, ui::CloseAction&) { DestroyShopScene(); };
}

TShopForm::~TShopForm() {
    DestroyShopScene();
    delete DebugForm;
    delete FsCtrlForm;
    ReleaseTitleHooks();
    if (g_DemandHooks.IsShopOpen == &HookShopOpen) {
        g_DemandHooks.IsShopOpen = nullptr;
        g_DemandHooks.IsShopSceneIdle = nullptr;
        g_DemandHooks.DoorSprite = nullptr;
        g_DemandHooks.HideMixingAnimation = nullptr;
        g_DemandHooks.WalkToCounter = nullptr;
        g_DemandHooks.WalkBackToWork = nullptr;
        g_DemandHooks.HeroineWalkState = nullptr;
    }
    if (g_DemandHooks.PlaySound == &HookPlaySound) g_DemandHooks.PlaySound = nullptr;
    if (g_ClockHooks.SetShopOpen == &ClockShopOpen) {
        g_ClockHooks.SetShopOpen = nullptr;
        g_ClockHooks.SetShopClosed = nullptr;
        g_ClockHooks.IsShop2FVisible = nullptr;
    }
    if (g_ClockHooks.RedrawShop == &ClockRedrawShop) g_ClockHooks.RedrawShop = nullptr;
    if (g_MainFormHooks.ShowTitle == &HookShowTitle) g_MainFormHooks.ShowTitle = nullptr;
    if (g_ShopHooks.SaveGameFlow == &HookSaveGameFlow) g_ShopHooks.SaveGameFlow = nullptr;
    if (g_ShopHooks.LoadFromListFlow == &LoadFromListFlow) g_ShopHooks.LoadFromListFlow = nullptr;
    if (g_ShopHooks.OpenSystemMenu == &OpenSystemMenu) g_ShopHooks.OpenSystemMenu = nullptr;
    using Plain = void (*)();
    if (auto* f = EventServerHooks.ShopStatusPanel.target<Plain>(); f && *f == &RunStatusWindow)
        EventServerHooks.ShopStatusPanel = nullptr;
    if (auto* f = EventServerHooks.OpenNotebook.target<Plain>(); f && *f == &RunNotebookWindow)
        EventServerHooks.OpenNotebook = nullptr;
    if (DispItemDetails0Hook == &DispItemDetails0) DispItemDetails0Hook = nullptr;
    if (g_ShopHooks.RunPrologue == &EvPrologue) g_ShopHooks.RunPrologue = nullptr;
    TEventServerDbg::PrimitiveHooks& primitives = TEventServerDbg::Hooks;
    if (primitives.ShopSceneStep == &HookShopSceneStep) primitives.ShopSceneStep = nullptr;
    if (primitives.GoHomeToBed == &HookGoHomeToBed) primitives.GoHomeToBed = nullptr;
    if (QvDib1) QvDib1->SetImage(nullptr);
    if (ShopForm == this) {
        ShopForm = nullptr;
        ShopHooks().shopForm = nullptr;
        ShopHooks().setShopMenus = nullptr;
        ShopHooks().roomAndTitleHidden = nullptr;
        ShopHooks().shopOpen = nullptr;
    }
}

bool TShopForm::OpenDataPack() { return QvPack1.OpenPack(ui::FindPath(kShopPackPath)); }

void TShopForm::CloseDataPack() { QvPack1.ClosePack(); }

ui::Bitmap TShopForm::LoadPackPicture(const std::string& name) {
    ui::Bitmap b;
    const bool wasOpen = QvPack1.IsOpen();
    // Without the pack or the picture the window shows blank where it goes: the player
    // is told which file is at fault.
    if (!wasOpen && !OpenDataPack()) {
        TellFileFault(kShopPackPath);
        return b;
    }
    std::unique_ptr<TMemoryStream> s = QvPack1.QvMakeStream(name.c_str());
    if (!s || !b.LoadFromMemory(std::span<const std::uint8_t>(
                  s->Memory(), static_cast<std::size_t>(s->Size())))) {
        ui::Record("error", "picture refused: " + name);
        b = ui::Bitmap();
        TellFileFault(kShopPackPath, name);
    }
    if (!wasOpen) CloseDataPack();
    return b;
}

void TShopForm::BuildTopBar() {
    TitleBarPanel = PlainPanel(this, "TitleBarPanel", 0, 0, kSceneWidth, kTopBarHeight);
    TitleBarImage = FullImage(TitleBarPanel, "TitleBarImage", kSceneWidth, kTopBarHeight);
    TitleBarImage->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState s, int x,
                                        int y) { TitleBarImageMouseDown(b, s, x, y); };

    TitleBarImage->SetPicture(LoadPackPicture("TitleBar.bmp"));
    // The strip that drags the window (TitleBarImageMouseDown) stays on the screen; on
    // a desktop, where the shop fills the program's window, it moves that window.
    SetDragStrip(ui::Rect{4, 4, 644, 19});
    TitleBarImage->WindowDragArea = ui::Rect{4, 4, 644, 19};
    TShopSkinSheets& sheets = ShopSheets();

    auto button = [this](TCHBmpContainer& sheet, const char* name, int l, int t, int w, int h,
                         int top) {
        return MakeTopBarButton(*TitleBarPanel, sheet, name, l, t, w, h, top);
    };
    TCHBcSpeedButton** slots[6] = {&MenuSystem,   &MenuStatus,   &MenuNote,
                                   &MenuNextTurn, &MenuSkipTurn, &MenuOption};
    for (int k = 0; k < 6; ++k) {
        const TopBarButton& t = kTopBarButtons[k];
        *slots[k] =
            button(sheets.MainMenuImg, t.name, t.left, t.top, t.width, t.height, t.stripTop);
    }
    MenuSystem->OnClick = [this](ui::Control&) { MenuSystemClick(); };
    MenuStatus->OnClick = [this](ui::Control&) { MenuStatusClick(); };
    MenuNote->OnClick = [this](ui::Control&) { MenuNoteClick(); };
    MenuNextTurn->OnClick = [this](ui::Control&) { MenuNextTurnClick(); };
    MenuSkipTurn->OnClick = [this](ui::Control&) { MenuSkipTurnClick(); };
    MenuOption->OnClick = [this](ui::Control&) { MenuOptionClick(); };
    ShopFormMinButton = button(sheets.MainMinCloseButton, "ShopFormMinButton", 615, 7, 12, 10, 0);
    ShopFormCloseButton =
        button(sheets.MainMinCloseButton, "ShopFormCloseButton", 629, 7, 12, 10, 10);
    ShopFormMinButton->OnClick = [this](ui::Control&) { ShopFormMinButtonClick(); };
    ShopFormCloseButton->OnClick = [this](ui::Control&) { ShopFormCloseButtonClick(); };
    SpeedButton = button(sheets.SpeedChangeButton, "SpeedButton", 620, 21, 22, 13, 0);
    SpeedButton->SetGroupIndex(1);
    SpeedButton->SetAllowAllUp(true);
    SpeedButton->OnClick = [this](ui::Control&) { SpeedButtonClick(); };
}

void TShopForm::BuildMenus() {
    PopupMenu1.Name = "PopupMenu1";
    ui::MenuItem& m = PopupMenu1.Items;
    auto item = [&m](const char* name, const char* caption, std::function<void()> f) {
        ui::MenuItem* i = m.Add(B5(caption), 0, [f](ui::MenuItem&) { f(); });
        i->Name = name;
        return i;
    };
    PM_ItemMix = item("PM_ItemMix", "調配魔法", [this] { PM_ItemMixClick(); });
    PM_Exhibition = item("PM_Exhibition", "陳列商品", {});
    PM_Exhibition->OnClick = nullptr;
    for (int k = 0; k < kExhibitionSlots; ++k) {
        ui::MenuItem* e =
            PM_Exhibition->Add(B5(kExhibitionCaptions[k]), k,
                               [this](ui::MenuItem& sender) { Exhibition0Click(sender.Tag); });
        e->Name = "Exhibition" + std::to_string(k);
    }
    PM_ExitShop = item("PM_ExitShop", "到鎮上", [this] { PM_ExitShopClick(); });
    PM_Sleep = item("PM_Sleep", "就寢", [this] { PM_SleepClick(); });
    m.AddSeparator()->Name = "N2";
    PM_ItemList = item("PM_ItemList", "物品一覽", [this] { PM_ItemListClick(); });
    PM_SalesList = item("PM_SalesList", "販售商品一覽", [this] { PM_SalesListClick(); });
    PM_Note = item("PM_Note", "經營記事本", [this] { PM_NoteClick(); });
    PM_Status = item("PM_Status", "狀態", [this] { PM_StatusClick(); });
    PM_Book = item("PM_Book", "魔法圖鑑", [this] { PM_BookClick(); });
    m.AddSeparator()->Name = "N1";
    PM_End = item("PM_End", "結束遊戲", [this] { PM_Exit1Click(); });

    PopupMenu2.Name = "PopupMenu2";
    PopupMenu2.AutoPopup = false;
    const struct {
        const char* name;
        const char* caption;
        void (TShopForm::*click)();
    } dev[4] = {{"DM_Status", "參數", &TShopForm::DM_StatusClick},
                {"DM_Market", "市場", &TShopForm::DM_MarketClick},
                {"DM_Fashon", "流行", &TShopForm::DM_FashonClick},
                {"DM_Demand", "需要", &TShopForm::DM_DemandClick}};
    for (int k = 0; k < 4; ++k) {
        ui::MenuItem* i = PopupMenu2.Items.Add(
            B5(dev[k].caption), k, [this, f = dev[k].click](ui::MenuItem&) { (this->*f)(); });
        i->Name = dev[k].name;
    }
}

// ============================================================================ layout

void TShopForm::LayoutForScreen() {
    int w = ui::kScreenWidth, h = ui::kScreenHeight;
    if (ui::HaveApp()) ui::App().DesktopSize(w, h);
    LayoutForScreen(w, h);
}

void TShopForm::LayoutForScreen(int screenWidth, int screenHeight) {
    ui::Control* const panes[4] = {Image1, Shop2FPanel, TitlePanel, AlbumPanel};
    if (screenHeight >= kWindowHeight) {
        // The window is the program's whole screen: the virtual screen takes its size
        // and the form is centred on it.
        if (ui::HaveApp()) ui::App().GetScreen().Resize(kSceneWidth, kWindowHeight);
        SetBounds(0, 0, kSceneWidth, kWindowHeight);
        for (ui::Control* c : panes) c->SetBounds(0, kTopBarHeight, kSceneWidth, kSceneHeight);
        TitleBarPanel->Show();
        // The full-screen bar, if the pointer had dropped it down, goes with the full
        // screen: it would lie over the window's own bar, which it no longer follows.
        Call(g_ShopHooks.ShowTitleBarForm, false);
        FullScreen = 0;
    } else {
        if (ui::HaveApp()) ui::App().GetScreen().Resize(ui::kScreenWidth, ui::kScreenHeight);
        SetBounds(0, 0, ui::kScreenWidth, ui::kScreenHeight);
        for (ui::Control* c : panes) c->SetBounds(-4, 0, kSceneWidth, kSceneHeight);
        TitleBarPanel->Hide();
        FullScreen = 1;
    }
    (void)screenWidth;
    // Every window back at its first place for the new screen, the clock and the
    // calendar too.
    ResetAllWindowPositions();
}

// ============================================================================ the scene

void TShopForm::BuildShopScene() {
    DestroyShopScene();
    if (SceneBuilt) return;
    SceneBuilt = 1;
    InitGameState();
    InitSpriteEngine(&QvPack1);
    if (!LoadSpritePalette(&QvPack1, QvDib1.get()) || !LoadSpritePalette(&QvPack1, QvDib2.get()))
        ui::Record("error", "sprite palette missing");
    WalkRegions = std::make_unique<PolygonField>();
    if (OpenDataPack()) {
        if (!WalkRegions->LoadFromPack(&QvPack1, "Shoppoly.plf"))
            ui::Record("error", "walk regions refused: Shoppoly.plf");
        CloseDataPack();
    }
    SetShopClosed();
    ResetWindowPositions();

    Background = std::make_unique<SPMan>(0, 0, 0, 0, INT_MAX, 0);
    Background->Show();
    HeroineFigure = std::make_unique<Figure>(0, 4, 0, 7);
    HeroineFigure->User = kHomeCode;
    HeroineFigure->WaitTicks = -1;
    auto actor = [](int sheet, int x, int y, int depth) {
        auto s = std::make_unique<SPMan>(0, sheet, y, x, depth, 0);
        s->Show();
        s->SetTransparent();
        return s;
    };
    Actor2 = actor(18, 111, 77, 211130);
    Actor3 = actor(19, 386, 146, 166794);
    Actor4 = actor(17, 321, 182, 155812);
    Floor.Init({-18, 226}, {34, 17}, {68, 0}, {34, -17});
    Heroine = HeroineFigure.get();
    GateActor = Actor3.get();
    std::fill(std::begin(HeroineRoute), std::end(HeroineRoute), kRouteEnd);
    CreateShelfSlots();
    CreateFurniture();
    InvalidateSprites();
    Call(g_ShopHooks.SetSceneActive, true);
    ui::Record("place", "shop");
}

void TShopForm::DestroyShopScene() {
    if (SceneBuilt) {
        Call(g_ShopHooks.SetSceneActive, false);
        Heroine = nullptr;
        GateActor = nullptr;
        MixAnimation.reset();
        Companion.reset();
        Background.reset();
        HeroineFigure.reset();
        Actor2.reset();
        Actor3.reset();
        Actor4.reset();
        WalkRegions.reset();
        if (DemandForm) DemandForm->ClearCustomers();
        DestroyShelfSlots();
        DestroyFurniture();
        FreeSpriteSheets();
        ClearSpriteLayers();
        PendingAction = PendingDelay = 0;
        roomPictures_.clear();
        SceneBuilt = 0;
    }
    Call(g_ShopHooks.DeleteWatchAndCalendar);
    Call(g_ShopHooks.HideMessageWindow);
}

void TShopForm::ShowShopScreen() {
    Show();
    Call(g_ShopHooks.ShowWatchAndCalendar);
}

void TShopForm::UpdateScene() {
    StepHeroineWalk();
    if (SceneBuilt) RenderLayer(QvDib1.get(), QvDib2.get(), 0);
}

// ============================================================================ top bar

void TShopForm::MenuSystemClick() { Call(g_ShopHooks.OpenSystemMenu); }

void TShopForm::MenuNextTurnClick() {
    if (TickPhase() != 2) return;
    ui::Record("command", "next turn");
    AdvanceHour();
    if (FsCtrlForm) FsCtrlForm->Redraw();
}

void TShopForm::MenuSkipTurnClick() {
    if (TickPhase() != 2) return;
    if (MixHoursLeft() > 0) {
        Call(g_ShopHooks.SetFastForward);
        return;
    }
    MenuNextTurnClick();
}

void TShopForm::MenuOptionClick() { Call(g_ShopHooks.OpenOption); }

void TShopForm::ShopFormMinButtonClick() {
    if (ui::HaveApp()) ui::App().Minimize();
}

void TShopForm::ShopFormCloseButtonClick() {
    // The main form asks whether to quit.
    if (ui::Form* main = ui::MainForm(); main && main != this) main->Close();
}

void TShopForm::SpeedButtonClick() { Call(g_ShopHooks.SetTitleBarSpeed, SpeedButton->Down()); }

bool TShopForm::FastMode() const { return SpeedButton && SpeedButton->Down(); }

void TShopForm::SetShopMenus(bool buttons, bool autoPopup, bool sceneClicks) {
    for (TCHBcSpeedButton* b :
         {MenuSystem, MenuStatus, MenuNote, MenuNextTurn, MenuSkipTurn, MenuOption})
        b->SetEnabled(buttons);
    if (TitleBarForm) TitleBarForm->SetMenus(buttons);
    PopupMenu1.AutoPopup = autoPopup;
    SceneClicksEnabled = sceneClicks ? 1 : 0;
}

void TShopForm::SetShopOpen() {
    ShopOpen = 1;
    PM_Exhibition->Enabled = false;
}

void TShopForm::SetShopClosed() {
    ShopOpen = 0;
    PM_Exhibition->Enabled = true;
}

void TShopForm::TrackTitleBarHover(int y) {
    if (!FullScreen) return;
    Call(g_ShopHooks.ShowTitleBarForm, y < 32);
}

// ============================================================================ menus

void TShopForm::StartPending(int action, int x, int y) {
    if (PendingAction != kPendingNone || !HeroineIdle() || !HeroineFigure) return;
    DisableShopMenus();
    PendingAction = action;
    WalkHeroineTo(x, y);
    HeroineFigure->User = CellCode(x, y);
}

void TShopForm::PM_ItemMixClick() { StartPending(kPendingItemMix, 4, 8); }
void TShopForm::PM_ItemListClick() { StartPending(kPendingItemList, 6, 8); }
void TShopForm::PM_BookClick() { StartPending(kPendingBook, 6, 10); }
void TShopForm::PM_ExitShopClick() { StartPending(kPendingTown, 0, 7); }
void TShopForm::GoToBed() { StartPending(kPendingBed, 7, 6); }

void TShopForm::PM_SleepClick() {
    ShowMessage(B5("　"));
    GoToBed();
}

void TShopForm::PM_SalesListClick() { OpenSalesList(); }
void TShopForm::PM_NoteClick() { OpenNote(); }
void TShopForm::PM_StatusClick() { OpenStatus(); }

void TShopForm::OpenExhibitionSlot(int slot) {
    if (slot < 0 || slot >= kExhibitionSlots) return;
    if (SlotItem(slot) != -1)
        OpenExhibition(slot);
    else
        OpenExhibitionList(slot);
}

// ============================================================================ clicks

void TShopForm::Image1MouseDown(ui::MouseButton button, ui::ShiftState, int x, int y) {
    if (g_ShopHooks.MessageWindowExists && g_ShopHooks.MessageWindowExists() &&
        !(g_ShopHooks.MessageWindowVisible && g_ShopHooks.MessageWindowVisible())) {
        Call(g_ShopHooks.ShowMessageWindow);
        RaiseGameDialogs();
        return;
    }
    if (MixHoursLeft() > 0 || button != ui::MouseButton::mbLeft || !SceneClicksEnabled ||
        !SceneBuilt)
        return;
    if (FloorSettling) {
        // A press in the first moments after the 2F room gave way was aimed at the room.
        if (ui::GetTickCount() - FloorShownAt < FloorSettleMs) return;
        FloorSettling = 0;
    }
    const int region = WalkRegions ? WalkRegions->FindRegion(x, y) : -1;
    if (!IsShopOpen() && region >= 0 && region < kExhibitionSlots) {
        OpenExhibitionSlot(region);
        return;
    }
    switch (region) {
        case kRegionItemMix:
            PM_ItemMixClick();
            return;
        case kRegionItemList:
            PM_ItemListClick();
            return;
        case kRegionBook:
            PM_BookClick();
            return;
        case kRegionNote:
            PM_NoteClick();
            return;
        case kRegionBed:
            PM_SleepClick();
            return;
        default:
            break;
    }
    const int cell = Floor.CellAt(x, y);
    if (cell < 0) return;
    const int row = cell / DiamondF0::kCellsW, column = cell % DiamondF0::kCellsW;
    if (row < kCustomerRows) {
        if (column != 0) PM_SalesListClick();
        return;
    }
    if (!HeroineIdle() || !HeroineFigure) return;
    if (column == 7 && row == 6) {
        PM_SleepClick();
    } else if (column == 0 && row == 7) {
        PM_ExitShopClick();
    } else if (IsFloorCellFree(column, row)) {
        WalkHeroineTo(column, row);
        HeroineFigure->User = CellCode(column, row);
    }
}

void TShopForm::TitleBarImageMouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) {
    if (button == ui::MouseButton::mbRight && (shift & ui::ssShift) && (shift & ui::ssAlt) &&
        x >= 616 && y > 18) {
        PopupMenu2.Popup(Left() + 540, Top() + 19);
        return;
    }
    if (button == ui::MouseButton::mbLeft && x >= 4 && x < 644 && y > 3 && y < 19) {
        Dragging = 1;
        ui::ReleaseCapture();
        DragMove();
        Dragging = 0;
    }
}

// ============================================================================ developer menu

void TShopForm::DM_StatusClick() {
    if (DebugForm) return;
    (new TDebugForm())->Disp(0);
}

void TShopForm::DM_MarketClick() {
    if (MarketListForm) return;
    MarketListForm = new TMarketListForm();
    MarketListForm->DispMarketList();
}

void TShopForm::DM_FashonClick() {
    if (FsCtrlForm) return;
    (new TFsCtrlForm())->Disp();
}

void TShopForm::DM_DemandClick() {
    if (DemandForm) DemandForm->ShowView();
}

// ============================================================================ the heroine

void TShopForm::WalkToCounter() {
    if (PendingAction != kPendingNone || !HeroineIdle() || !HeroineFigure) return;
    WalkHeroineTo(6, 4);
    HeroineFigure->User = kCounterCode;
}

void TShopForm::WalkBackToWork() {
    if (PendingAction != kPendingNone || !HeroineIdle() || !HeroineFigure) return;
    if (MixAnimation) {
        WalkHeroineTo(4, 8);
        HeroineFigure->User = kDeskCode;
    } else {
        WalkHeroineTo(6, 7);
        HeroineFigure->User = kWorkCode;
    }
}

int TShopForm::HeroineWalkState() {
    if (MixAnimation && HeroineFigure && HeroineWalkCounter() < 0 &&
        HeroineFigure->User == kDeskCode)
        ShowMixAnimation();
    return HeroineWalkCounter();
}

void TShopForm::ShopPendingAction() {
    if (PendingDelay > 0) {
        --PendingDelay;
        return;
    }
    if (PendingAction == kPendingNone || !HeroineIdle() || !HeroineFigure) return;
    const int action = PendingAction;
    const int facing = PendingFacing(action);
    if (facing >= 0) {
        if (HeroineFigure->Direction() != facing) {
            HeroineFigure->SetDirection(facing);
            InvalidateSprites();
            PendingDelay = 1;
            return;
        }
        PendingAction = kPendingNone;
        switch (action) {
            case kPendingItemMix:
                OpenItemMixList();
                break;
            case kPendingItemList:
                OpenItemList();
                break;
            case kPendingBook:
                OpenGameBook();
                break;
            case kPendingMixing:
                StartMixAnimation();
                break;
            default:
                break;
        }
        InvalidateSprites();
        return;
    }
    if (action == kPendingBed) {
        HookPlaySound(kSoundStairs);
        PendingAction = kPendingNone;
        StartShop2FMode(1);
    } else if (action == kPendingTown) {
        PlayShopSound(kSoundToTown, true);
        ui::Record("place", "town");
        Call(g_ShopHooks.ShowMap);
        Hide();
        LeaveShop();
        PendingAction = kPendingNone;
    }
}

void TShopForm::LeaveShop() {
    if (!HeroineFigure) return;
    HeroineFigure->PlaceAt(0, 7);
    HeroineFigure->SetDirection(1);
    HeroineFigure->User = kDoorCode;
    InvalidateSprites();
    UpdateScene();
}

// ============================================================================ upstairs

void TShopForm::Pause(std::uint32_t ms, const char* why) {
    if (ui::HaveApp()) ui::App().Delay(ms, why);
}

void TShopForm::FillBlack(ui::Image* image) {
    ui::Canvas& c = image->GetCanvas();
    c.Brush.Style = ui::BrushStyle::bsSolid;
    c.Brush.Color = ui::clBlack;
    c.FillRect(ui::Rect{4, 0, 644, 480});
    image->Picture().Changed();
    image->Repaint();
}

void TShopForm::ShowRoom(const ui::Bitmap& room) {
    // Shown at the pump's next paint (the animations' frames ask for it at once).
    Shop2FImage->SetPicture(room);
}

void TShopForm::FadeToShop2F() {
    ShowMessage(B5("　"));
    if (Shop2FPanel->Visible()) return;
    FillBlack(Image1);
    Pause(500, "FadeToShop2F");
    if (ui::HaveApp()) ui::App().ProcessMessages();
    ShowRoom(RoomPicture("Shop_2F.bmp"));
    Shop2FPanel->Show();
    Shop2FPanel->BringToFront();
}

const ui::Bitmap& TShopForm::RoomPicture(const std::string& name) {
    auto it = roomPictures_.find(name);
    if (it == roomPictures_.end()) {
        ui::Bitmap b = LoadPackPicture(name);
        if (b.Empty() && name == "Shop_2F.bmp") b = ui::Bitmap(kSceneWidth, kSceneHeight);
        if (!b.Empty()) b.SetFormat(ui::PixelFormat::pf24bit);
        it = roomPictures_.emplace(name, std::move(b)).first;
    }
    return it->second;
}

void TShopForm::Frame2F(const char* name, int frame, ui::Rect from, ui::Rect to) {
    char member[16];
    std::snprintf(member, sizeof member, name, frame);
    ui::Bitmap room = RoomPicture("Shop_2F.bmp");
    ui::Bitmap part = RoomPicture(member);
    if (!part.Empty()) room.GetCanvas().CopyRect(to, part.GetCanvas(), from);
    ShowRoom(room);
}

void TShopForm::DrawShop2FBed(int frame) {
    Frame2F("Bed%02d.bmp", frame, ui::Rect{0, 0, 90, 108}, ui::Rect{17, 116, 107, 224});
}

void TShopForm::DrawShop2FEat(int frame) {
    Frame2F("Eat%d.bmp", frame, ui::Rect{0, 0, 100, 130}, ui::Rect{314, 188, 414, 318});
}

void TShopForm::StartShop2FMode(int mode) {
    // Upstairs, no walk of the shop floor goes on: one still pending (a scene that sent
    // her to bed before the night did) would otherwise fire in a later scene.
    PendingAction = kPendingNone;
    PendingDelay = 0;
    Shop2FDivider = 0;
    Shop2FMode = mode;
    switch (mode) {
        case 1:
            if (DemandForm) DemandForm->DropEventVisitor();
            FadeToShop2F();
            HookPlaySound(kSoundSupper);
            Shop2FCounter = 0;
            Call(g_ShopHooks.ResetTickPhase);
            ui::Record("picture", "2F supper");
            break;
        case 2:
            HookPlaySound(kSoundIntoBed);
            FadeToShop2F();
            Shop2FCounter = 0;
            Call(g_ShopHooks.ResetTickPhase);
            ui::Record("picture", "2F bed");
            break;
        case 5:
            HookPlaySound(kSoundWakeUp);
            Call(g_ShopHooks.ResetTickPhase);
            FadeToShop2F();
            Shop2FCounter = 0;
            ui::Record("picture", "2F getting up");
            break;
        case 6:
            FadeToShop2F();
            HookPlaySound(kSoundSupper);
            Shop2FCounter = 0;
            Call(g_ShopHooks.ResetTickPhase);
            ui::Record("picture", "2F breakfast");
            break;
        case 7:
            FillBlack(Shop2FImage);
            Pause(500, "Shop2F back down");
            if (ui::HaveApp()) ui::App().ProcessMessages();
            Shop2FMode = 0;
            // She comes down to a new day: a walk or menu action set on the floor before
            // she went up (a bed walk begun as she came home late) is dropped, or it
            // would take her back upstairs or hold the menus closed.
            PendingAction = PendingDelay = 0;
            std::fill(std::begin(HeroineRoute), std::end(HeroineRoute), kRouteEnd);
            if (HeroineFigure) {
                HeroineFigure->WaitTicks = -1;
                HeroineFigure->PlaceAt(6, 6);
                HeroineFigure->SetDirection(3);
                HeroineFigure->User = kGateInCode;
            }
            InvalidateSprites();
            UpdateScene();
            if (Actor4) Actor4->Show();
            Shop2FPanel->Hide();
            FloorShownAt = ui::GetTickCount();
            FloorSettling = 1;
            ui::Record("picture", "shop");
            break;
        default:
            if (mode == 3) ui::Record("picture", "2F night");
            break;
    }
}

void TShopForm::StepShop2F() {
    if (Shop2FDivider == 0) {
        switch (Shop2FMode) {
            case 1:
                ++Shop2FCounter;
                if (Shop2FCounter < 24)
                    DrawShop2FEat(Shop2FCounter % 6);
                else
                    StartShop2FMode(2);
                break;
            case 2:
                DrawShop2FBed(Shop2FCounter);
                ++Shop2FCounter;
                if (Shop2FCounter >= 6) {
                    DrawShop2FBed(5);
                    StartShop2FMode(3);
                }
                break;
            case 3:
                AdvanceHour();
                if (GameHour() == 8) StartShop2FMode(4);
                break;
            case 4:
                Call(g_ShopHooks.SaveGameFlow);
                StartShop2FMode(5);
                break;
            case 5:
                DrawShop2FBed(Shop2FCounter + 5);
                ++Shop2FCounter;
                if (Shop2FCounter >= 7) Shop2FMode = 0;
                break;
            case 6:
                ++Shop2FCounter;
                if (Shop2FCounter >= 24) {
                    HookPlaySound(kSoundBreakfastDone);
                    AdvanceHour();
                    StartShop2FMode(7);
                } else {
                    DrawShop2FEat(Shop2FCounter % 6);
                }
                break;
            default:
                break;
        }
    }
    Shop2FDivider += FastMode() ? 2 : 1;
    if (Shop2FDivider > 1) Shop2FDivider = 0;
}

void TShopForm::Shop2FImageClick() {
    if (g_ShopHooks.MessageWindowExists && g_ShopHooks.MessageWindowExists() &&
        !(g_ShopHooks.MessageWindowVisible && g_ShopHooks.MessageWindowVisible())) {
        Call(g_ShopHooks.ShowMessageWindow);
        RaiseGameDialogs();
        return;
    }
    if (Shop2FMode == 1 || Shop2FMode == 6) Shop2FCounter = 100;
}

// ============================================================================ shop actions

void TShopForm::WaitHeroineIdle() {
    for (int step = 0; step < kMaxWaitSteps && SceneBuilt && !HeroineIdle(); ++step) {
        if (DemandForm) DemandForm->UpdateCustomers(false);
        UpdateScene();
        if (!ui::HaveApp()) continue;
        // The pass paints what changed; the update presents anything left.
        ui::App().ProcessMessages();
        Update();
        Pause(kShopStepMs, "shop walk");
    }
}

void TShopForm::PlayFrame(void (TShopForm::*draw)(int), int frame, std::uint32_t ms) {
    (this->*draw)(frame);
    if (ui::HaveApp()) ui::App().ProcessMessages();
    Update();
    Pause(ms, "shop animation");
}

void TShopForm::EvPlaceAtDoor() {
    if (!HeroineFigure) return;
    if (Actor4) Actor4->Hide();
    HeroineFigure->PlaceAt(2, 7);
    HeroineFigure->SetDirection(1);
    HeroineFigure->User = CellCode(2, 7);
    // The shop visitor's figure (figure 1, sheet 2) comes in beside her.
    Companion = std::make_unique<Figure>(1, 3, 3, 7);
    InvalidateSprites();
    UpdateScene();
    if (ui::HaveApp()) ui::App().ProcessMessages();
    Repaint();
}

void TShopForm::EvEatAnimation() {
    FadeToShop2F();
    PlayFrame(&TShopForm::DrawShop2FEat, 0, 1000);
    for (int i = 0; i < 24; ++i) PlayFrame(&TShopForm::DrawShop2FEat, i % 6, 100);
}

void TShopForm::EvWalkToMixing() {
    if (PendingAction == kPendingNone && HeroineIdle() && HeroineFigure) {
        PendingAction = kPendingMixing;
        WalkHeroineTo(4, 8);
        HeroineFigure->User = kDeskCode;
    }
    WaitHeroineIdle();
}

void TShopForm::EvWakeUp() {
    FadeToShop2F();
    PlayFrame(&TShopForm::DrawShop2FBed, 5, 1000);
    for (int f = 6; f <= 11; ++f) PlayFrame(&TShopForm::DrawShop2FBed, f, 100);
}

void TShopForm::EvWakeUpFast() {
    FadeToShop2F();
    PlayFrame(&TShopForm::DrawShop2FBed, 5, 30);
    for (int f = 6; f <= 11; ++f) PlayFrame(&TShopForm::DrawShop2FBed, f, 30);
}

void TShopForm::EvWalkToDoor() {
    if (HeroineIdle() && HeroineFigure) {
        WalkHeroineTo(0, 7);
        HeroineFigure->User = kDoorCode;
    }
    WaitHeroineIdle();
}

void TShopForm::EvEnterShop() {
    if (!HeroineFigure) return;
    if (Actor4) Actor4->Hide();
    if (DemandForm) DemandForm->AddShopVisitor();
    HeroineFigure->PlaceAt(1, 7);
    HeroineFigure->SetDirection(1);
    HeroineFigure->User = CellCode(1, 7);
    InvalidateSprites();
    UpdateScene();
    WalkHeroineTo(4, 7);
    HeroineFigure->User = kHomeCode;
    WaitHeroineIdle();
}

void TShopForm::EvStopMixing() { StopMixAnimation(); }

void TShopForm::EvShowActor4() {
    Companion.reset();
    if (Actor4) Actor4->Show();
    InvalidateSprites();
}

void TShopForm::EvFadeOut2F() {
    FillBlack(Shop2FImage);
    Pause(500, "EvFadeOut2F");
    if (ui::HaveApp()) ui::App().ProcessMessages();
    Shop2FPanel->Hide();
}

// ============================================================================ mixing animation

void StartMixAnimation() {
    if (!ShopForm || ShopForm->MixAnimation || !ShopForm->SceneBuilt) return;
    if (ShopForm->HeroineFigure) ShopForm->HeroineFigure->Hide();
    auto s = std::make_unique<SPMan>(0, kMixSheet, 192, 388, 16, 0);
    s->Show();
    s->SetTransparent();
    s->StartAnimation(1, SPM_LOOP);
    ShopForm->MixAnimation = std::move(s);
    InvalidateSprites();
}

void StopMixAnimation() {
    if (!ShopForm || !ShopForm->MixAnimation) return;
    ShopForm->MixAnimation.reset();
    if (ShopForm->HeroineFigure) ShopForm->HeroineFigure->Show();
    InvalidateSprites();
}

void HideMixAnimation() {
    if (!ShopForm || !ShopForm->MixAnimation) return;
    ShopForm->MixAnimation->Hide();
    if (ShopForm->HeroineFigure) ShopForm->HeroineFigure->Show();
    InvalidateSprites();
}

void ShowMixAnimation() {
    if (!ShopForm || !ShopForm->MixAnimation) return;
    if (ShopForm->HeroineFigure) ShopForm->HeroineFigure->Hide();
    ShopForm->MixAnimation->Show();
    InvalidateSprites();
}

bool HasMixAnimation() { return ShopForm && ShopForm->MixAnimation != nullptr; }
