#pragma once
#include <cstdint>
#include <string>

namespace ui {
class Form;
}

// The game-flow controller: ties the shop, the town and the event server together.
// It owns the current place, the command menu shown while the heroine stands somewhere
// in town or on the land map, the move events run once after every map trip, the ready
// byte that tells the rest of the program that no command, event or walk is running,
// and the main loop's two hourly hooks, TurnStart (every game hour) and DayStart (08:00).

constexpr int kMenuKindCount = 14;       // MenuKind 0..13
constexpr int kCommandListLength = 18;   // a list ends at its first negative entry

// Calls into windows built elsewhere. Each is null until its window exists (its unit
// sets it); a null hook does nothing, a null predicate answers false, a null form
// getter answers "no such form".
struct GameFlowHooks {
    // The event server as the stage (TEventServerDbg's form side).
    ui::Form* (*StageForm)();
    void (*SetArtFolder)(const std::string& folder);
    void (*SetMsgWinPicture)(const std::string& name);
    void (*DspMsg)(const std::string& big5);  // a dialogue line, waits for the click
    void (*FaceGr)(int face);
    void (*SettleOrders)();
    void (*ShowOrderList)();
    // The developer's debug window (TDbgFm::ShowTypeName).
    void (*ShowTypeName)();
};
extern GameFlowHooks g_GameFlowHooks;

class TEvControler {
public:
    // Creates the message window, the event server, the map and the music form,
    // chooses the art folder, puts the heroine in the shop and opens the places of the
    // maps but the hot spring (138) and the wizard's house (139).
    TEvControler();
    ~TEvControler();
    TEvControler(const TEvControler&) = delete;
    TEvControler& operator=(const TEvControler&) = delete;

    // The 200 ms tick: CommandMenu, then Refresh.
    void Tick();
    // The message window, the music form and the debug window's refresh (not re-entered).
    void Refresh();
    // One step of the command menu: only while ready, and only while the stage shows a
    // place (the move events once after a map trip, else the place's menu).
    void CommandMenu();
    bool IsReady() const { return Ready != 0; }
    // Leaving the shop for the town: the map form shown where the shop was.
    void ShowMap();
    // The hidden ones of the shop, map and stage forms go where the visible one is.
    void AlignForms();
    // The message window's own bounds applied to it again.
    void PinMessageWindow();
    void ShowOrderList();
    // Goods id of the last confirmed mix; anything outside 0..63 stores -1.
    void SetMixedItem(int id);
    // Experience with its messages; true when a level was gained.
    bool GainExperience(int points);
    // The hourly hooks; true when an event ran.
    bool TurnStart(bool allowEvents);
    bool DayStart(bool allowEvents);

    // A game was started or loaded at the current day and hour: the day's change and
    // the evening's orders count as done up to now, so that none is run again.
    void GameStarted();

    // ---- fields, in their order
    std::int32_t MixedItem = -1;      // read by the condition ChkMixedItem
    std::uint8_t Ready = 0;           // cleared by EventBegin, set by EventEnd
    std::uint8_t RefreshEnabled = 0;  // guards Refresh against re-entry
    std::int32_t CommandLists[kMenuKindCount][kCommandListLength];
    std::uint8_t MoveEventsPending = 0;  // set by every map scene set-up
    std::int32_t MenuKind = 0;           // of the menu being shown
    std::uint8_t PrologueSkipGuard = 0;  // set by the prologue, cleared by a stage click
    std::int32_t Place = 10;             // the current PlaceCode; 10 the shop
    // The last day whose DayChange ran, and whose orders were settled; hours that pass
    // several at a time (a night, a trip, an event) lose neither.
    std::int32_t LastDayChangeDay = -1;
    std::int32_t LastOrdersDay = -1;

    // The turn start's re-entry guard: 1 at rest, 0 while a turn start runs.
    static std::uint8_t TurnStartGuard;

    // ---- Command menu and commands (their own source file) ----
    // The command menu's unit declares its operations here: writing the fourteen
    // command lists (called by the constructor after every entry is set to -1) and the
    // place-menu step (called by CommandMenu while the stage shows a place). Until they
    // exist the lists stay empty and the step shows no menu.
    // ---- end of the command menu's block ----
};

extern TEvControler* GameFlow;
