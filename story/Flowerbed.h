#pragma once

// The events of the flowerbed table: 芙蘿蕾's visits at her garden, with her flowers
// and the scenes of her story that take place there. The flowerbed command walks them
// in slot order; the first that runs ends the walk.

bool EvFlowerbed000();  // her birthday bouquet, on January 24
bool EvFlowerbed001();  // the first visit for flowers, in early January
bool EvFlowerbed002();  // back again on the same day: nothing more is given
bool EvFlowerbed003();  // the flower crown, in May after six gifts
bool EvFlowerbed004();  // her collapse in early October
bool EvFlowerbed005();  // the outing to the hot spring
bool EvFlowerbed006();  // the first visit when it comes late
bool EvFlowerbed007();  // the care her flowers need
bool EvFlowerbed008();  // the blooming times
bool EvFlowerbed009();  // just the flowers she wanted
bool EvFlowerbed010();  // the flowers' moods
bool EvFlowerbed011();  // the feverish day in September
bool EvFlowerbed012();  // her thanks after the cure
bool EvFlowerbed013();  // the school year ends soon
bool EvFlowerbed014();  // the school year has ended
bool EvFlowerbed015();  // the summer holidays and the beauty contest, before
bool EvFlowerbed016();  // the same, once the holidays have begun
bool EvFlowerbed017();  // a plain visit for flowers

// The table's slots in priority order, for story/EventTables.cpp.
#define LUMIA_FLOWERBED_SLOTS                                                           \
    EvFlowerbed000, EvFlowerbed001, EvFlowerbed002, EvFlowerbed003, EvFlowerbed004,     \
        EvFlowerbed005, EvFlowerbed006, EvFlowerbed007, EvFlowerbed008, EvFlowerbed009, \
        EvFlowerbed010, EvFlowerbed011, EvFlowerbed012, EvFlowerbed013, EvFlowerbed014, \
        EvFlowerbed015, EvFlowerbed016, EvFlowerbed017
