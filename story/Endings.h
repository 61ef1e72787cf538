#pragma once
#include <cstdint>

// The endings table: walked once, at 09:00 of the last day. Each entry tests its own
// ending's conditions; -1 passes the walk on, 0 is a bad ending played, 1..5 the
// number of the good ending played.

// Before the ending, once an ending has been seen in an earlier game: the town turns
// on itself and the heroine mixes the potion that drives the evil out (-1 after it).
std::int32_t EvEnding000();
std::int32_t EvEnding001();  // 王子 (3)
std::int32_t EvEnding002();  // 芙蘿蕾 (2)
std::int32_t EvEnding003();  // the heroine, the debt repaid (1)
std::int32_t EvEnding004();  // the heroine, with the town's help (1)
std::int32_t EvEnding005();  // 蕾妮特 (4)
std::int32_t EvEnding006();  // 可可特 (5)
std::int32_t EvEnding007();  // bad: 芙蘿蕾's route without the money (0)
std::int32_t EvEnding008();  // bad: 蕾妮特's route without the money (0)
std::int32_t EvEnding009();  // bad: 可可特's route without the money (0)
std::int32_t EvEnding010();  // bad: no route, no money, too little goodwill (0)

// The picture of 王子's ending, by whoever was lost (called from its body).
void EndingPicture();

// The table's slots, in order.
#define LUMIA_ENDING_SLOTS                                                                     \
    EvEnding000, EvEnding001, EvEnding002, EvEnding003, EvEnding004, EvEnding005, EvEnding006, \
        EvEnding007, EvEnding008, EvEnding009, EvEnding010
