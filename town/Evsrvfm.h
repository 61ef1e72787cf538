#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/DevControls.h"
#include "platform/Form.h"

class TQvPack;
class TBcPanel;
class TBcImage;
class TCHBcSpeedButton;
class TCHBmpContainer;

// The event server: keeper of the story's memory (event flags, countdown timers,
// event variables, day marks, the held orders) and of the condition tests that
// every story event runs at its head; at once the stage window on which events draw
// their pictures and figures, and the developer's step-through debugger.

constexpr int kEventFlagCount = 1024;  // flags 1..1023 can be set; flag 0 never is
constexpr int kEventFlagWords = kEventFlagCount / 32;
constexpr int kFirstPersistentFlag = 32;  // 32..95: event pictures and endings seen
constexpr int kFirstPlaceOpenFlag = 96;   // 96..159: places open on the maps
constexpr int kLastPlaceOpenFlag = 159;
constexpr int kFirstDailyFlag = 160;  // 160..191: cleared by every day change
constexpr int kLastDailyFlag = 191;
constexpr int kCountdownTimerCount = 32;
constexpr int kEventVariableCount = 64;
constexpr int kDayMarkCount = 10;
constexpr int kOrderSlotCount = 4;

// Limits of what a held order may name; a loaded slot outside them is taken as free.
constexpr int kOrderIdCount = 22;     // ids 1..22; 0 = no order
constexpr int kOrderClientCount = 7;  // clients 0..6
constexpr int kOrderItemCount = 107;  // item ids 0..106

// Byte layout of the event part of a save slot.
constexpr std::size_t kEventSaveSize = 1048;
constexpr std::size_t kEventFlagsOffset = 0;
constexpr std::size_t kCountdownOffset = 128;
constexpr std::size_t kCountdownRecordSize = 12;
constexpr std::size_t kVariablesOffset = 512;
constexpr std::size_t kDayMarksOffset = 768;
constexpr std::size_t kOrdersOffset = 808;
constexpr std::size_t kOrderSlotSize = 60;
constexpr std::size_t kPersistentFlagsSize = 8;  // flag words 1 and 2, in the system file

// A timer that counts days: when it runs out it clears one flag and may set another.
// A record whose first field is 0 is free.
struct CountdownTimer {
    std::int32_t FlagToClear = 0;
    std::int32_t DaysLeft = 0;
    std::int32_t FlagToSet = 0;  // 0 or less: none

    bool operator==(const CountdownTimer&) const = default;
};

// One held order: fifteen 32-bit words, as stored in the save block.
struct OrderSlot {
    std::int32_t Id = 0;           // 1..22; 0 = no order
    std::int32_t Reward = 0;       // money paid on delivery
    std::int32_t AcceptedDay = 0;  // day index of acceptance
    std::int32_t Deadline = 0;     // day index the order is due; 0 marks a free slot
    std::int32_t Reserved = 0;
    std::int32_t Kind = 0;  // 0 goods order, 1 other order
    std::int32_t Flag = 0;  // the order's event flag
    std::int32_t Item = 0;
    std::int32_t Quantity = 0;
    std::int32_t Client = 0;  // 0..6
    std::int32_t Spare = 0;
    std::array<std::int32_t, 4> Tail{};  // reserved words, kept as loaded

    bool operator==(const OrderSlot&) const = default;
};

// Day on which a chain of events was armed; 0 means not armed (so a mark set on
// day 0 reads as not armed). Kept beside the server, saved with its block.
extern std::array<std::int32_t, kDayMarkCount> DayMarks;

// The four held orders: held ones fill slots 0..n-1, free (all zero) ones follow.
extern std::array<OrderSlot, kOrderSlotCount> Orders;

// The stage: 640 x 480 pictures, three figure layers.
constexpr int kStageWidth = 640;
constexpr int kStageHeight = 480;
constexpr int kFigureLayers = 3;  // 0 left, 1 centre, 2 right
constexpr int kBrushCount = 8;

// Calls into windows that other units build, set by the unit that builds each; an
// empty one (the server alone, in a test) is skipped.
struct TEventServerHooks {
    // The shop form.
    std::function<bool()> ShopVisible;
    std::function<void(bool show)> ShowShop;
    std::function<void()> ShopUpdateScene;  // one step of the scene and an update
    std::function<void()> ShopStatusPanel;  // TShopForm::PM_StatusClick
    // The map form.
    std::function<bool()> MapVisible;
    std::function<void(bool show)> ShowMap;
    // TEvControler::AlignForms: the hidden forms of the shop, map and stage moved to
    // where the shown one stands.
    std::function<void()> AlignForms;
    // The clock and calendar windows: whether each exists and is shown, show or hide.
    std::function<bool()> ClockVisible;
    std::function<void(bool show)> ShowClock;
    std::function<bool()> CalendarVisible;
    std::function<void(bool show)> ShowCalendar;
    // Modal windows of the menu bar; each returns once its window is closed.
    std::function<void()> OpenOptions;
    std::function<void()> OpenNotebook;
    std::function<void()> ShowOrderList;
    // MarkNpcMet of the character whereabouts, the debug window's check memo.
    std::function<void()> MarkNpcMet;
    std::function<void()> ClearCheckMemo;
    // The game-flow controller's prologue skip guard, cleared by a click on the stage.
    std::function<void()> ClearPrologueSkip;
};
extern TEventServerHooks EventServerHooks;

class TEventServerDbg : public ui::Form {
public:
    TEventServerDbg();
    ~TEventServerDbg() override;
    TEventServerDbg(const TEventServerDbg&) = delete;
    TEventServerDbg& operator=(const TEventServerDbg&) = delete;

    // --- Story state ---
    // Flag n is bit (n & 31) of word (n >> 5).
    std::array<std::uint32_t, kEventFlagWords> EventFlags{};
    std::array<CountdownTimer, kCountdownTimerCount> CountdownTimers{};
    // Written directly by the events; ChkVar compares them.
    std::array<std::int32_t, kEventVariableCount> EventVariable{};
    // Set by the developer's debug window: every condition test with override is true.
    std::uint8_t ConditionOverride = 0;

    // Sets (on) or clears flag n; numbers outside 1..1023 are ignored entirely.
    void SetFlg(int n, bool on);
    // Flag n is set; false for any number outside 1..1023.
    bool TestFlg(int n) const;
    void ClearDailyFlags();
    // Mark k := today; ClearDayMark: mark k := 0. Indices outside 0..9 do nothing.
    void SetDayMark(int k);
    void ClearDayMark(int k);
    // Bounded access for the debug window; out-of-range reads give 0, writes do nothing.
    std::int32_t Variable(int i) const;
    bool SetVariable(int i, std::int32_t value);

    // The once-a-day update, run at 08:00 by the game-flow controller's day start.
    void DayChange();
    // A new game: everything zero but the persistent flags; places open but 138, 139.
    void NewGameReset();

    // The event part of a save slot: exactly kEventSaveSize bytes, little-endian.
    static int EventSaveSize() { return static_cast<int>(kEventSaveSize); }
    bool SaveEventBlock(std::uint8_t* buffer, std::size_t size) const;
    // Replaces the whole story state from a block; a size other than kEventSaveSize
    // is refused and changes nothing. An order slot naming an unknown order id, client
    // or item is taken as free (the held orders close up). Resets the last-mixed item.
    bool LoadEventBlock(const std::uint8_t* buffer, std::size_t size);

    // Flags 32..95 as the system file keeps them (8 bytes: flag words 1 and 2).
    static int PersistentFlagsSize() { return static_cast<int>(kPersistentFlagsSize); }
    bool GetPersistentFlags(std::uint8_t* buffer, std::size_t size) const;
    bool PutPersistentFlags(const std::uint8_t* buffer, std::size_t size);

    // --- Conditions (true under ConditionOverride, unless noted) ---
    bool ChkFlg(int n, bool want) const;
    bool ChkNot(bool b) const;
    bool ChkPlace(int place) const;
    bool ChkDay(int first, int length) const;
    bool ChkHour(int from, int to) const;
    bool ChkWeekday(int n) const;
    bool ChkDayMark(int k, int offset, int length) const;
    bool ChkVar(int a, int b, int mode, bool bIsVariable) const;
    bool ChkLevel(int n) const;
    bool ChkMoney(int n) const;
    bool ChkReputation(int n) const;
    bool ChkItem(int item, int n) const;
    bool ChkMixing() const;
    bool ChkRandom(int n) const;         // draws one number from the generator
    bool ChkMixedItem() const;           // no override
    bool IsRecipeKnown(int item) const;  // no override
    bool IsPictureSeen(int k) const;

    // Step-through point of the debug window: while "Debug Mode" is checked, the
    // command label shows the primitive's name and the program waits, messages
    // still running, for "Next Step".
    void DebugStep(const std::string& text);

    // --- The event frame ---
    void EventBegin();
    // EventBegin for a voiced event whose first voice number is v: the event's voice
    // pack is looked for where it lies (never copied).
    void EventBeginVoice(int v);
    void EventEnd();
    // -1: the endings (music stopped, stage and shop hidden); 163: back to the map.
    void EventEndStopMusic(int mode);
    // Lays the stage out for the screen: window mode (menu bar, frame strips) or a
    // 480-line full screen; with centre the form is centred and the strips follow.
    void LayoutStage(bool centre);

    // The voice pack of the current event: where it lies (in the game folder's
    // voice folder, else in the disc folder), empty when none was found.
    std::string m_VoicePackPath;
    // A folder holding a copy of the game disc (--disc DIR); empty: none.
    static std::string DiscFolder;
    // Where the voice pack `name` (without ".pak") lies: "wave/Intm/" of the game
    // folder first, then "qdv/wave/intm/" of the disc folder; empty when in neither.
    static std::string FindVoicePack(const std::string& name);

    // --- Dialogue (the message and choice windows) ---
    void DspMsg(const std::string& line);
    void FaceGr(int face);
    void RefreshStage();
    int SelWin2(const std::string& c0, const std::string& c1);
    int SelWin3(const std::string& c0, const std::string& c1, const std::string& c2);
    bool SetMsgWinPicture(const std::string& name);

    // --- Stage pictures and transitions ---
    // Loads picture `code` ((kind << 8) | index) into `target`. A code that names
    // nothing changes nothing; a missing pack or member leaves the target as it was
    // (the seen flag and the current background are still set). True when loaded.
    bool LoadPicture(ui::Bitmap& target, int code);
    void DspGr(int code);
    void DspGrDissolve(int code);
    bool ClearGr();
    bool DissolveToGr(int code);
    void WhiteOut();
    void WhiteIn(int code);
    void ShakeGr(int sound);
    void ShowFigure(int figure, int layer);
    void ClearFigure(int layer);
    void ShowPlaceGr(int place);
    void SetPlaceGr(int place);
    void SetGr(int code);
    void ShowBlankStage(bool show);
    void HideStage();
    // On the way home: the work and source pictures let go of the last scene's picture
    // (black, as the stage starts) and the transitions' scratch pictures are freed (a
    // transition makes them again at the work's size).
    void ReleaseStageBitmaps();
    void ShowStage();
    // Event picture k dissolved into `image` (the title screen's album), stage unseen.
    void ShowAlbumPicture(ui::Image* image, int k);
    // The place background code for the hour now.
    static int PlaceGrCode(int place, int hour);
    // Figure number of a layer (-1 none) and the current background code.
    int FigureOf(int layer) const;
    int CurrentBackground() const { return m_CurBg; }
    const ui::Bitmap& WorkBitmap() const { return m_Work; }
    const ui::Bitmap& SourceBitmap() const { return m_Src; }

    // --- Form components ---
    ui::Image* m_Img = nullptr;  // the 640 x 480 stage
    TBcPanel* m_PnlMenu = nullptr;
    TBcImage* ImgMenu = nullptr;
    TCHBcSpeedButton* m_BtnStatus = nullptr;
    TCHBcSpeedButton* m_BtnNote = nullptr;
    TCHBcSpeedButton* m_BtnOpt = nullptr;
    TBcPanel* BcPanel1 = nullptr;  // left, right and bottom frame strips
    TBcPanel* BcPanel2 = nullptr;
    TBcPanel* BcPanel3 = nullptr;
    TBcImage* Image1 = nullptr;
    TBcImage* Image2 = nullptr;
    TBcImage* Image3 = nullptr;
    ui::CheckBox* m_CbxDbg = nullptr;
    ui::Button* m_BtnNxt = nullptr;
    ui::Label* m_LblCommand = nullptr;
    ui::Edit* m_EdtFlgName = nullptr;
    ui::Button* Button1 = nullptr;
    ui::Button* m_BtnFileLoad = nullptr;
    ui::Memo* m_Memo = nullptr;
    ui::OpenDialog m_OpnDialog;
    ui::CheckBox* m_CbxFlgState = nullptr;
    ui::Button* m_BtnFlgSet = nullptr;
    ui::RadioGroup* m_RgpFlag = nullptr;
    ui::ComboBox* m_CmbSchedule = nullptr;
    ui::SpeedButton* SpeedButton1 = nullptr;
    ui::Panel* m_PnlAvi = nullptr;

    // --- Handlers ---
    void m_ImgClick();
    void m_ImgMouseMove(int x, int y);
    void m_PnlMenuMouseDown(ui::MouseButton button);
    void m_BtnStatusClick();
    void m_BtnNoteClick();
    void m_BtnOptClick();
    void m_BtnMenu0Click();
    void m_BtnNxtClick();
    void m_BtnFileLoadClick();
    void m_BtnSerchClick();
    void m_BtnFlgSetClick();
    void m_CmbScheduleDropDown();
    void SpeedButton1Click();

    // --- Fields ---
    std::uint8_t m_Step = 0;  // set by "Next Step"
    std::string m_FlagNames;  // the developer's flag-name text
    int m_ChosenFlag = 0;
    std::string m_ArtFolder = "\\col24b";  // set by the game-flow controller
    std::uint8_t m_TransitionOn = 1;       // the next DspGr dissolves in from black
    std::uint8_t m_ClockHidden = 0;        // an event picture hid the clock window
    std::uint8_t m_CalendarHidden = 0;     // ... the calendar window
    std::uint8_t m_InEvent = 0;
    std::uint8_t m_Dragging = 0;
    std::uint8_t m_Clicked = 0;
    std::int32_t m_ScheduleVariant = 0;
    std::uint8_t m_TransitionRunning = 0;
    std::uint8_t m_AlbumMode = 0;
    int m_TransitionMode = 0;
    int m_TransitionStep = 0;  // 0..8

    // --- Shop actions (town/ShopAction.cpp) ---
    // A scripted action on the shop floor: 0 a visitor of figure `sheet` comes in,
    // 1 it leaves, 2..15 the heroine's scripted moves and the upstairs room.
    void ShopAction(int sheet, int action);
    // --- end of shop actions ---

    // --- Sound, music, time, place, stats and items (EvsrvSound.cpp, EvsrvTime.cpp) ---
    // Sound n: 0..84 an effect, 100..1261 a voice line; other numbers play nothing.
    void PlaySound(int n);
    void PlaySoundSync(int n);
    void PlayMusic(int track, bool loop);
    void StopMusic();
    // The current place's music: the shop's season track, the land's or the town's.
    void PlayPlaceMusic();
    void PlaySeasonMusic();

    // Advances the clock hour by hour; false when the heroine was too tired to go on.
    bool PassTime(int hours);
    // Advances until the hour is `hour`; nothing for an hour outside 0..23.
    void WaitHour(int hour);
    void PassNights(int n);
    int GetHour() const;
    // Today's day index; month 1..12 and season 0 winter, 1 spring, 2 summer, 3 autumn.
    int GetSeason(int& season, int& month) const;
    // The tick count modulo n; 0 for n = 0.
    int TickMod(int n) const;
    void SetPlace(int place, bool redraw);
    void GiveItem(int item, int n);
    void TakeItem(int item, int n);
    void LearnRecipe(int item);
    void LearnRecipeScene(int item);
    void GiveMoney(int n);
    void GiveReputation(int n);
    void ResetCondition();
    // The tired scene: the heroine goes home to bed. Nothing inside an event.
    void TiredRefusal();
    // The search and peddle commands when no event of theirs ran.
    void DefaultSearch();
    void Peddle();

    // Calls into windows that other units own, set by those windows when they are
    // made; each does nothing while unset.
    struct PrimitiveHooks {
        // One step of the shop scene while an event lets it run (UpdateScene, the
        // pending action, a repaint): the shop window.
        void (*ShopSceneStep)() = nullptr;
        // The end of the tired scene: the shop screen shown with its menus, the heroine
        // going to bed upstairs, the map and stage forms hidden and the stage's
        // bitmaps freed: the shop window.
        void (*GoHomeToBed)() = nullptr;
        void (*SetMapLand)(bool land) = nullptr;  // the map form's land flag
        // A line of the debug window's check memo (set by the debug window).
        void (*CheckMemo)(const std::string& line) = nullptr;
    };
    static PrimitiveHooks Hooks;
    // --- end of sound, music, time, place, stats and items ---

    // --- Orders and whereabouts (town/Orders.cpp, town/Whereabouts.cpp, town/Rqform.cpp) ---
    // The slot of the held order carrying `flag`, -1 when none does.
    int FindOrder(int flag) const;
    // No held order carries `flag` and a slot is free.
    bool CanAcceptOrder(int flag) const;
    // Catalogue row k into the first free slot, due in its days from today.
    void AcceptOrder(int k);
    // A held goods order whose stock covers it (true under the condition override).
    bool CanDeliverOrder(int flag) const;
    // Pays the reward, takes the goods and books the sale on `day` (-1 today); the
    // order stays held.
    void DeliverOrder(int flag, int day = -1);
    // Goods: reputation -1; other orders: day mark 5 := today.
    void FailOrder(int flag);
    // Clears the flag; the later orders move down.
    void RemoveOrder(int flag);
    // Sets the flag of every goods order due today (the day change).
    void ArmOrderFlags();
    // Removes, without penalty, the orders whose deadline has passed (the day change).
    void DropOverdueOrders();
    // At 19:00: every order due today is delivered when the stock covers it, or failed.
    void SettleOrders();
    // The same for the orders due on `day`, as its 19:00 would have settled them (a
    // sale booked, or day mark 5 set, on that day): for a 19:00 that went by unseen.
    void SettleOrders(int day);
    // The offer of catalogue row k and the collection of a held order, with dialogue.
    void OrderTalk(int k);
    void DeliveryTalk(int flag);
    // The story's gate: place 3 within the days and a free slot; when all four are held
    // it says so and answers false.
    bool OrderFullTalk(int first, int length);
    // The order list window, modal.
    void ShowOrderList();
    // A recurring character (kind 0..3) is at the place now.
    bool ChkNpc(int kind, int place);
    // --- end of orders and whereabouts ---

private:
    void BuildForm();
    void ConnectWindows();
    void MakeBrushes();
    void SetMenuButtonsEnabled(bool on);
    void ShowClockAndCalendarAgain();
    void EndActor4();
    // Work onto the stage image and the screen.
    void ShowWork();
    // One step of a dissolve on the work, then shown. A back end that composes only
    // when something looks (headless) keeps the step owed by the stage image instead:
    // a look draws the owed steps in order; the dissolve's end, which draws its last
    // picture over the whole work, drops those nobody looked at.
    void StepWork(std::function<void()> step);
    void PayOwedSteps();
    void DropOwedSteps();
    // Waits, messages running, until more than 100 ms passed since the last step.
    void WaitStep();
    // Source with the figures of the layers but `skip` drawn in, into `out`.
    void ComposeStage(ui::Bitmap& out, int skip) const;
    void DrawFigure(ui::Bitmap& target, int layer, int x) const;
    int FigureX(int layer) const;
    void RemoveFigures();
    void DissolveOut();
    void DissolveIn();
    void CrossDissolve();
    void ShowStageForm();
    // The choice window with `count` of the captions; the index chosen, or -1.
    int Choose(const std::array<std::string, 3>& captions, int count);

    ui::Bitmap m_Work, m_Work2, m_Back, m_Src;
    std::vector<std::function<void()>> m_OwedSteps;
    std::array<int, kFigureLayers> m_FigNo{-1, -1, -1};
    std::array<ui::Bitmap, kFigureLayers> m_FigBmp;
    std::array<ui::Bitmap, kBrushCount> m_Brush, m_BrushInv;
    ui::Bitmap m_BrushBlack, m_BrushWhite;
    int m_CurBg = -1;
    std::unique_ptr<TQvPack> m_Pack;
    std::unique_ptr<TCHBmpContainer> m_MenuSheet, m_ButtonSheet, m_FrameSheet;
    std::uint32_t m_LastStepTick = 0;
    int m_Face = 0;  // the face the message window shows, for the transcript
};

// One step of each transition, on bitmaps of one size (the pixel arithmetic the
// stage uses; `pattern` and `inverse` are 8x8 brush bitmaps):
// dissolve out: work := work AND pattern;
void DissolveOutStep(ui::Bitmap& work, const ui::Bitmap& pattern);
// dissolve in: work := source AND inverse;
void DissolveInStep(ui::Bitmap& work, const ui::Bitmap& source, const ui::Bitmap& inverse);
// cross-dissolve: work := (work AND pattern) OR (back AND inverse), through `second`.
void CrossDissolveStep(ui::Bitmap& work, ui::Bitmap& second, const ui::Bitmap& back,
                       const ui::Bitmap& pattern, const ui::Bitmap& inverse);
// A figure drawn with its top-left colour transparent, its top-left corner at (x, y).
void DrawTransparent(ui::Bitmap& target, const ui::Bitmap& figure, int x, int y);
// The eight dissolve patterns (k = 0..7: 60, 56, 48, 32, 24, 16, 8, 4 white pixels).
ui::Bitmap LoadBrushPattern(int k);
// A pattern's inverse: white where it is black and black where it is white, so that
// the incoming picture shows where the outgoing one is masked.
ui::Bitmap InverseBrushPattern(const ui::Bitmap& pattern);

// --- Shop actions (town/ShopAction.cpp) ---
// Set while an action of the story hid the shop's background actor 4 (actions 2, 6);
// the end of the event shows it again through ShowActor4AfterEvent.
extern std::uint8_t ShopActor4Mark;
// Set while a story mixing job runs at the desk (action 4 until action 9): the time
// primitives then step the shop scene with every hour.
extern std::uint8_t ShopRedrawOn;
// The end of an event: when the mark is set, actor 4 comes back and the companion goes.
void ShowActor4AfterEvent();
// --- end of shop actions ---

extern TEventServerDbg* EventServerDbg;

// The flag number the developer's look-up finds: the text itself when it begins with a
// digit, else the number after the name (a blank-delimited word) in the flag-name
// text; -1 when there is none.
int FlagNumberFromText(const std::string& text, const std::string& names);
