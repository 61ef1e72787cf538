#pragma once
#include <array>
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

// Calls into windows built elsewhere, set by the unit that builds each; a null hook does nothing, a
// null predicate answers false, a null form getter answers "no such form".
struct GameFlowHooks {
    // The orders (TEventServerDbg::SettleOrders, ShowOrderList); SettleOrdersDue settles
    // those due on an earlier day whose 19:00 went by unseen.
    void (*SettleOrders)();
    void (*ShowOrderList)();
    void (*SettleOrdersDue)(int day);
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
    std::int32_t MixedItem = -1;         // read by the condition ChkMixedItem
    std::uint8_t Ready = 0;              // cleared by EventBegin, set by EventEnd
    std::uint8_t RefreshEnabled = 0;     // guards Refresh against re-entry
    std::uint8_t MoveEventsPending = 0;  // set by every map scene set-up
    std::uint8_t PrologueSkipGuard = 0;  // set by the prologue, cleared by a stage click
    std::int32_t Place = 10;             // the current PlaceCode; 10 the shop
    // The last day whose DayChange ran, and whose orders were settled; hours that pass
    // several at a time (a night, a trip, an event) lose neither.
    std::int32_t LastDayChangeDay = -1;
    std::int32_t LastOrdersDay = -1;

    // The turn start's re-entry guard: 1 at rest, 0 while a turn start runs.
    static std::uint8_t TurnStartGuard;

    // --- Command menu and commands (EvCommands.cpp) ---
    static constexpr int kMenuKinds = 14;
    static constexpr int kCommandListLength = 18;
    using CommandList = std::array<std::int32_t, kCommandListLength>;
    // The lists of every MenuKind, each ended by its first -1.
    static std::array<CommandList, kMenuKinds> DefaultCommandLists();
    std::array<CommandList, kMenuKinds> CommandLists = DefaultCommandLists();
    std::int32_t ShownMenuKind = 0;  // the MenuKind of the menu being shown
    // The place menu's kind, from the place and the map it lies on.
    int PlaceMenuKind() const;
    // The move menu's kind, from the whole place code.
    static int MoveMenuKind(int place);
    // The command menu of the place: shows it, waits for the choice and runs it.
    void PlaceMenuStep();
    // Runs a command of a place menu (look, peddle, search, market, move, read).
    void RunPlaceCommand(int id);
    // Runs the command chosen in a move menu.
    void DoMoveCommand(int id);
    // The enter command in front of the shop.
    void EnterShop();
    // --- end of command menu and commands ---
};

extern TEvControler* GameFlow;
