#pragma once

// The prologue of a new game and the events of the day-start table.

// Plays once per new game, before the shop opens. A later game (flag 94 set) may skip
// it with a click on the stage.
void EvPrologue();

bool EvDayStart000();  // the first-morning visit of 芙蘿蕾 (forced conditions only)
bool EvDayStart001();  // 黑皮 falls ill, once per game, in one of four day windows
bool EvDayStart002();  // the volcano commission ran out: day mark 5 := today
bool EvDayStart003();  // the love-potion commission ran out: day mark 5 := today
// The scene of 黑皮's illness, between the frame calls of EvDayStart001.
void EvDayStart001_Sub1();
