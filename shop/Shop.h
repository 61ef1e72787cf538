#pragma once
// The shop window: the isometric shop scene with the heroine and the customers, the
// top bar with its menu buttons, the right-click shop menu, the upstairs room's night
// and morning, the scripted shop actions the story plays, and the mixing animation at
// the work table. It lives for the whole run; the scene exists between BuildShopScene
// and DestroyShopScene.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "media/Qvpack.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Menus.h"
#include "shop/Figure.h"
#include "shop/GameDialog.h"
#include "skin/CHBCBTN.h"
#include "skin/CHBmpCnt.h"

class TQvDib;
class TBcImage;

// The title's event album: 30 entries of up to four event pictures each.
inline constexpr int kAlbumEntryCount = 30;
// Event picture `index` of album entry `entry` (in viewing order), -1 past its last.
int AlbumPicture(int entry, int index);
// Whether some picture of the entry was seen in any game (its thumbnail can be opened).
bool AlbumEntryOpen(int entry);
// Whether the album's viewer shows a picture of an entry.
bool AlbumViewing();

// The shop's picture pack.
inline constexpr const char* kShopPackPath = "Data\\WpData0.Pak";

// Calls into windows and units built elsewhere. A null hook does nothing (a null
// predicate answers false, a null TickPhase answers 2: the shop phase).
struct ShopScreenHooks {
    // The message window (set by the game-flow controller, which owns it).
    bool (*MessageWindowExists)();
    bool (*MessageWindowVisible)();
    void (*ShowMessageWindow)();
    void (*HideMessageWindow)();
    void (*ShowMessage)(const std::string& big5);
    // The event server's sounds: one played, one played to its end.
    void (*PlaySound)(int sound);
    void (*PlaySoundSync)(int sound);
    // The main loop.
    int (*TickPhase)();
    void (*ResetTickPhase)();
    void (*SetSceneActive)(bool active);
    void (*SetFastForward)();
    // The system menu (set by the shop form) and the option window (set by its unit).
    void (*OpenSystemMenu)();
    void (*OpenOption)();
    // The game-flow controller: the map screen for the trip to town.
    void (*ShowMap)();
    // The save offer at bedtime (the shop form sets the save windows' flow).
    void (*SaveGameFlow)();
    // The clock and calendar windows: shown with the shop, deleted with the scene.
    void (*ShowWatchAndCalendar)();
    void (*DeleteWatchAndCalendar)();
    // The full-screen stand-in for the top bar.
    void (*ShowTitleBarForm)(bool show);
    void (*SetTitleBarSpeed)(bool down);
    // The event server's stage and the map form, shown and hidden by the shop actions.
    void (*ShowStage)(bool show);
    void (*HideMapForm)();
    void (*SwapEventWindows)();
    // The title screen's calls: the opening sequence, the prologue of a new game (the
    // shop form sets EvPrologue), the recipe book in title mode and whether it is open
    // (the shop window sets them to the book), the screen-mode switch (the option
    // window's), the album (the shop window sets it to its album page).
    void (*PlayOpening)(int n);
    void (*RunPrologue)();
    void (*OpenTitleBook)();
    bool (*TitleBookOpen)();
    void (*ToggleScreenMode)();
    void (*OpenAlbum)();
    // The save and load flows (set by the shop window to the save windows' flows).
    bool (*LoadFromListFlow)();
    // The clock and calendar windows show the loaded day (set by their unit).
    void (*RenewWatchAndCalendar)();
};
extern ShopScreenHooks g_ShopHooks;

// A sound of the shop screen (sync: played to its end): through the hook when one is
// set, else the event server's.
void PlayShopSound(int n, bool sync = false);

// Where the top bar's buttons sit and which strip of the button sheet they take.
struct TopBarButton {
    const char* name;
    int left;
    int top;
    int width;
    int height;
    int stripTop;
};
inline constexpr TopBarButton kTopBarButtons[6] = {
    {"MenuSystem", 10, 19, 50, 17, 0},     {"MenuStatus", 64, 19, 61, 17, 17},
    {"MenuNote", 129, 19, 66, 17, 34},     {"MenuNextTurn", 199, 19, 66, 17, 51},
    {"MenuSkipTurn", 269, 19, 83, 17, 68}, {"MenuOption", 356, 19, 65, 17, 85},
};
// A button of the top bar on `parent`: three glyphs side by side (up, down, disabled)
// from the strip of `sheet` that starts at `top`.
TCHBcSpeedButton* MakeTopBarButton(ui::WinControl& parent, TCHBmpContainer& sheet, const char* name,
                                   int left, int top, int width, int height, int stripTop);

// Pending actions of a walk ordered from the menu, the scene or the story.
enum ShopPending {
    kPendingNone = 0,
    kPendingItemMix = 1,
    kPendingItemList = 2,
    kPendingBook = 3,
    kPendingBed = 4,
    kPendingTown = 5,
    kPendingMixing = 6,
};

class TShopForm : public ui::Form {
public:
    TShopForm();
    ~TShopForm() override;

    // ---- components
    ui::Image* Image1 = nullptr;
    ui::Panel* Shop2FPanel = nullptr;
    ui::Image* Shop2FImage = nullptr;
    ui::Panel* TitlePanel = nullptr;
    ui::Image* TitleImage = nullptr;
    ui::Panel* TitleBarPanel = nullptr;
    ui::Image* TitleBarImage = nullptr;
    ui::Panel* AlbumPanel = nullptr;
    // The album: the page (or the picture viewed), the thumbnails' click areas (Tag =
    // entry) and the way back to the title.
    ui::Image* AlbumTopImage = nullptr;
    std::array<TBcImage*, kAlbumEntryCount> AlbumNone{};
    ui::Label* AlbumReturnButton = nullptr;
    // The title's six labels, in the order of their Tag: opening, new game, continue,
    // book, album, screen mode.
    ui::Label* TitleOpeningButton = nullptr;
    ui::Label* TitleStartButton = nullptr;
    ui::Label* TitleContinueButton = nullptr;
    ui::Label* TitleBookButton = nullptr;
    ui::Label* TitleAlbumButton = nullptr;
    ui::Label* TitleScreenModeButton = nullptr;
    ui::Label* TitleLabels[6] = {};
    // The hint under the title picture's house until the labels are first shown.
    ui::Label* TitleHint = nullptr;
    std::unique_ptr<TQvDib> QvDib1;
    std::unique_ptr<TQvDib> QvDib2;
    TQvPack QvPack1;
    ui::PopupMenu PopupMenu1;
    ui::PopupMenu PopupMenu2;
    ui::MenuItem* PM_ItemMix = nullptr;
    ui::MenuItem* PM_Exhibition = nullptr;
    ui::MenuItem* PM_ExitShop = nullptr;
    ui::MenuItem* PM_Sleep = nullptr;
    ui::MenuItem* PM_ItemList = nullptr;
    ui::MenuItem* PM_SalesList = nullptr;
    ui::MenuItem* PM_Note = nullptr;
    ui::MenuItem* PM_Status = nullptr;
    ui::MenuItem* PM_Book = nullptr;
    ui::MenuItem* PM_End = nullptr;
    TCHBcSpeedButton* MenuSystem = nullptr;
    TCHBcSpeedButton* MenuStatus = nullptr;
    TCHBcSpeedButton* MenuNote = nullptr;
    TCHBcSpeedButton* MenuNextTurn = nullptr;
    TCHBcSpeedButton* MenuSkipTurn = nullptr;
    TCHBcSpeedButton* MenuOption = nullptr;
    TCHBcSpeedButton* ShopFormMinButton = nullptr;
    TCHBcSpeedButton* ShopFormCloseButton = nullptr;
    TCHBcSpeedButton* SpeedButton = nullptr;
    // The skin sheets (the top bar's and every dialog's) are ShopSheets().

    // ---- state
    std::uint8_t SceneBuilt = 0;
    std::uint8_t Dragging = 0;
    std::uint8_t ShopOpen = 0;
    std::int32_t PendingAction = 0;
    std::int32_t PendingDelay = 0;
    std::int32_t Shop2FMode = 0;
    std::int32_t Shop2FCounter = 0;
    std::int32_t Shop2FDivider = 0;
    std::int32_t AlbumIndex = 0;
    std::int32_t AlbumEntry = -1;
    std::uint8_t SceneClicksEnabled = 0;
    // The tick the floor came back from the 2F room at, and whether a press on it is
    // still to be held back (FloorSettleMs): a click meant for the room must not act on
    // the floor that replaces it.
    std::uint32_t FloorShownAt = 0;
    std::uint8_t FloorSettling = 0;
    static constexpr std::uint32_t FloorSettleMs = 500;
    std::uint8_t FullScreen = 0;
    std::uint8_t OpeningPlayed = 0;

    // The scene objects.
    std::unique_ptr<SPMan> Background;
    std::unique_ptr<Figure> HeroineFigure;
    std::unique_ptr<SPMan> Actor2;  // the door
    std::unique_ptr<SPMan> Actor3;  // the gate in the counter
    std::unique_ptr<SPMan> Actor4;  // the cat by the counter
    std::unique_ptr<Figure> Companion;
    std::unique_ptr<SPMan> MixAnimation;
    DiamondF0 Floor;
    std::unique_ptr<PolygonField> WalkRegions;

    // ---- layout and scene
    // Window mode (648 x 520, top bar shown) when the screen has at least 520 lines,
    // else full screen (640 x 480, the scene's middle 640 columns, no top bar).
    void LayoutForScreen();
    void LayoutForScreen(int screenWidth, int screenHeight);
    void BuildShopScene();
    void DestroyShopScene();
    void ShowShopScreen();
    void UpdateScene();

    // ---- top bar and menus
    void MenuSystemClick();
    void MenuStatusClick() { PM_StatusClick(); }
    void MenuNoteClick() { PM_NoteClick(); }
    void MenuNextTurnClick();
    void MenuSkipTurnClick();
    void MenuOptionClick();
    void ShopFormMinButtonClick();
    void ShopFormCloseButtonClick();
    void SpeedButtonClick();
    bool FastMode() const;

    void PM_ItemMixClick();
    void PM_ItemListClick();
    void PM_BookClick();
    void PM_ExitShopClick();
    void PM_SleepClick();
    void GoToBed();

    // ---- the opening and ending sequences (OpEd.Pak)
    // The logo movie, then opening n (1..6); any other n does nothing.
    void PlayOpening(int n);
    // Ending n (1..5); any other n does nothing.
    void PlayEnding(int n);
    void Exhibition0Click(int tag) { OpenExhibitionSlot(tag); }
    void PM_SalesListClick();
    void PM_NoteClick();
    void PM_StatusClick();
    void PM_Exit1Click() { ShopFormCloseButtonClick(); }
    void OpenExhibitionSlot(int slot);

    // ---- the developer menu (PopupMenu2): each window opens only when it is not open
    void DM_StatusClick();  // 參數, from the first item
    void DM_MarketClick();  // 市場
    void DM_FashonClick();  // 流行
    void DM_DemandClick();  // 需要

    void SetShopOpen();
    void SetShopClosed();
    bool IsShopOpen() const { return ShopOpen != 0; }
    void TrackTitleBarHover(int y);

    // The top bar's six buttons, the shop menu's pop-up and the scene clicks (the
    // dialogs' DisableShopMenus / EnableShopMenus switch them through this).
    void SetShopMenus(bool buttons, bool autoPopup, bool sceneClicks);

    // ---- scene clicks
    void Image1MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);
    void TitleBarImageMouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);

    // ---- the heroine (the walk itself is shop/Heroine.h)
    void WalkToCounter();
    void WalkBackToWork();
    int HeroineWalkState();
    void ShopPendingAction();
    void LeaveShop();

    // ---- the upstairs room
    void StartShop2FMode(int mode);
    void FadeToShop2F();
    void DrawShop2FBed(int frame);
    void DrawShop2FEat(int frame);
    void StepShop2F();
    void Shop2FImageClick();

    // ---- scripted shop actions
    void EvPlaceAtDoor();
    void EvEatAnimation();
    void EvWalkToMixing();
    void EvWakeUp();
    void EvWalkToDoor();
    void EvWakeUpFast();
    void EvEnterShop();
    void EvStopMixing();
    void EvGoToBed() { PM_SleepClick(); }
    void EvShowActor4();
    void EvGoUpstairs() { StartShop2FMode(2); }
    void EvFadeOut2F();
    void EvFadeOut2FB() { EvFadeOut2F(); }
    // Shop steps until the heroine stands idle with nothing left to walk (bounded).
    void WaitHeroineIdle();

    // ---- the title screen (shop/Title.cpp)
    void ShowTitle();
    void ShowTitleButtons(bool show);
    void TitleImageClick();
    void TitleImageMouseMove(int y);
    // The hover of label `index`: it turns black, the others grey.
    void TitleOpeningButtonMouseMove(int index);
    void TitleOpeningButtonClick();
    void TitleStartButtonClick();
    void TitleContinueButtonClick();
    void TitleBookButtonClick();
    void TitleAlbumButtonClick();
    void TitleScreenModeButtonClick();

    // ---- the album (shop/Album.cpp)
    // TitleAlbumButtonClick builds the album page and shows it; it also rebuilds the
    // page when the viewer is left (then without the album's sound and music).
    void AlbumNone00Click(int entry);
    void AlbumTopImageClick();
    void AlbumReturnButtonClick();
    void AlbumTopImageMouseMove();
    void AlbumReturnButtonMouseMove();

    // The shop pack on QvPack1; a picture of it as a bitmap (empty when missing).
    bool OpenDataPack();
    void CloseDataPack();
    ui::Bitmap LoadPackPicture(const std::string& name);

private:
    void BuildTopBar();
    void BuildMenus();
    void BuildTitle();
    void BuildAlbum();
    // The title's hooks into the book and the album: set by BuildTitle, cleared here.
    void ReleaseTitleHooks();
    // Starts a walk that ends in a pending action; nothing while one is set or she walks.
    void StartPending(int action, int x, int y);
    void FillBlack(ui::Image* image);
    void ShowRoom(const ui::Bitmap& room);
    void Frame2F(const char* name, int frame, ui::Rect from, ui::Rect to);
    // The upstairs pictures, loaded once per scene (24-bit, ready to draw on).
    const ui::Bitmap& RoomPicture(const std::string& name);
    std::map<std::string, ui::Bitmap> roomPictures_;
    // Draws a frame, lets messages run, repaints and pauses `ms` milliseconds.
    void PlayFrame(void (TShopForm::*draw)(int), int frame, std::uint32_t ms);
    void Pause(std::uint32_t ms, const char* why);
};

extern TShopForm* ShopForm;

// The start-up's opening and the main loop's endings: sets the main form's hooks for
// them (the program sets them; tests that drive the start-up forms leave them off).
void InstallOpeningEndingHooks();

// ---- the mixing animation at the work table (sheet 23)
constexpr int kMixSheet = 23;
void StartMixAnimation();
void StopMixAnimation();
void HideMixAnimation();
void ShowMixAnimation();
bool HasMixAnimation();
