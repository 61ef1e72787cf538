#include "story/EventTables.h"

#include "story/CustomerRequests.h"
#include "story/DayStart.h"
#include "story/Flowerbed.h"

// Slot order is priority; the first null slot ends a table.
EventTable LookEvents = {};
EventTable TalkEvents = {};
EventTable SearchEvents = {};
EventTable MoveEvents = {};
EventTable DayStartEvents = {EvDayStart000, EvDayStart001, EvDayStart002, EvDayStart003};
EventTable TurnStartEvents = {};
EventTable FlowerbedEvents = {LUMIA_FLOWERBED_SLOTS};
EndingTable EndingEvents = {};
EventTable DeliveryEvents = {};
EventTable CustomerRequestEvents = {LUMIA_CUSTOMER_REQUEST_SLOTS};
EventTable PeddleEvents = {};
