#pragma once
#include "town/EventTables.h"

// The eleven event tables, in their fixed order (the event debug window numbers them
// its own way: move 2, search 3). Each is filled by the story's units in slot order.
extern EventTable LookEvents;             // 0
extern EventTable TalkEvents;             // 1
extern EventTable SearchEvents;           // 2
extern EventTable MoveEvents;             // 3
extern EventTable DayStartEvents;         // 4
extern EventTable TurnStartEvents;        // 5
extern EventTable FlowerbedEvents;        // 6
extern EndingTable EndingEvents;          // 7
extern EventTable DeliveryEvents;         // 8
extern EventTable CustomerRequestEvents;  // 9
extern EventTable PeddleEvents;           // 10
