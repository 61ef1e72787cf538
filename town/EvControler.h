#pragma once
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
};

extern TEvControler* GameFlow;
