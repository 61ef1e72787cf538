#pragma once
#include <array>
#include <cstdint>

// The game-flow controller: owns the current place and the ready byte that tells
// the rest of the program that no command, event or walk is running.
class TEvControler {
public:
    // Creates the event server, puts the heroine in the shop and opens the places
    // of the maps but the hot spring (138) and the wizard's house (139).
    TEvControler();
    ~TEvControler();
    TEvControler(const TEvControler&) = delete;
    TEvControler& operator=(const TEvControler&) = delete;

    bool IsReady() const { return Ready != 0; }
    // Goods id of the last confirmed mix; anything outside 0..63 stores -1.
    void SetMixedItem(int id);

    std::int32_t MixedItem = -1;  // read by the condition ChkMixedItem
    std::uint8_t Ready = 0;       // cleared by EventBegin, set by EventEnd
    std::int32_t Place = 10;      // the current PlaceCode

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
