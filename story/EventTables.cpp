#include "story/EventTables.h"

#include "story/CustomerRequests.h"

// Slot order is priority; the first null slot ends a table.
EventTable LookEvents = {};
EventTable TalkEvents = {};
EventTable SearchEvents = {};
EventTable MoveEvents = {};
EventTable DayStartEvents = {};
EventTable TurnStartEvents = {};
EventTable FlowerbedEvents = {};
EndingTable EndingEvents = {};
EventTable DeliveryEvents = {};
EventTable CustomerRequestEvents = {LUMIA_CUSTOMER_REQUEST_SLOTS};
EventTable PeddleEvents = {};
