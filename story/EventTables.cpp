#include "story/EventTables.h"

#include "story/CustomerRequests.h"
#include "story/DayStart.h"
#include "story/Endings.h"
#include "story/Events.h"
#include "story/Flowerbed.h"

// Slot order is priority; the first null slot ends a table. A function that stands in
// several slots is tried again in each: the later entries keep the slot numbers of the
// events after them.
EventTable LookEvents = {
    EvLook000, EvLook001, EvLook002, EvLook003, EvLook004, EvLook005, EvLook006, EvLook007,
    EvLook008, EvLook009, EvLook010, EvLook010, EvLook012, EvLook013, EvLook014, EvLook015,
    EvLook016, EvLook017, EvLook018, EvLook019, EvLook020, EvLook021, EvLook022, EvLook023,
    EvLook024, EvLook025, EvLook026, EvLook027, EvLook028,
};
EventTable TalkEvents = {};
EventTable SearchEvents = {
    EvSearch000,
    EvSearch001,
    EvSearch002,
    EvSearch003,
};
// Slot 192, the first empty one, ends the walk.
EventTable MoveEvents = {
    EvMove000, EvMove001, EvMove002, EvMove003, EvMove004, EvMove005, EvMove006, EvMove007,
    EvMove008, EvMove009, EvMove010, EvMove011, EvMove012, EvMove013, EvMove014, EvMove015,
    EvMove016, EvMove017, EvMove018, EvMove019, EvMove020, EvMove021, EvMove022, EvMove023,
    EvMove024, EvMove025, EvMove026, EvMove027, EvMove028, EvMove029, EvMove030, EvMove031,
    EvMove032, EvMove033, EvMove034, EvMove035, EvMove036, EvMove037, EvMove038, EvMove039,
    EvMove040, EvMove041, EvMove042, EvMove043, EvMove044, EvMove045, EvMove046, EvMove047,
    EvMove048, EvMove049, EvMove050, EvMove051, EvMove052, EvMove053, EvMove054, EvMove055,
    EvMove056, EvMove057, EvMove057, EvMove059, EvMove060, EvMove061, EvMove062, EvMove063,
    EvMove064, EvMove065, EvMove066, EvMove067, EvMove068, EvMove069, EvMove070, EvMove071,
    EvMove072, EvMove073, EvMove074, EvMove075, EvMove076, EvMove057, EvMove059, EvMove060,
    EvMove061, EvMove062, EvMove063, EvMove064, EvMove065, EvMove066, EvMove067, EvMove068,
    EvMove069, EvMove070, EvMove071, EvMove072, EvMove073, EvMove074, EvMove075, EvMove076,
    EvMove096, EvMove097, EvMove098, EvMove099, EvMove100, EvMove101, EvMove102, EvMove103,
    EvMove104, EvMove105, EvMove106, EvMove107, EvMove108, EvMove109, EvMove110, EvMove111,
    EvMove112, EvMove113, EvMove114, EvMove115, EvMove116, EvMove117, EvMove118, EvMove119,
    EvMove120, EvMove121, EvMove122, EvMove123, EvMove124, EvMove125, EvMove126, EvMove127,
    EvMove124, EvMove129, EvMove130, EvMove131, EvMove132, EvMove133, EvMove134, EvMove135,
    EvMove136, EvMove137, EvMove138, EvMove139, EvMove140, EvMove141, EvMove142, EvMove143,
    EvMove144, EvMove145, EvMove146, EvMove147, EvMove148, EvMove149, EvMove150, EvMove151,
    EvMove152, EvMove153, EvMove154, EvMove155, EvMove156, EvMove157, EvMove158, EvMove159,
    EvMove160, EvMove161, EvMove162, EvMove163, EvMove164, EvMove165, EvMove166, EvMove167,
    EvMove168, EvMove169, EvMove170, EvMove171, EvMove172, EvMove173, EvMove174, EvMove175,
    EvMove176, EvMove177, EvMove178, EvMove179, EvMove180, EvMove181, EvMove182, EvMove183,
    EvMove184, EvMove185, EvMove186, EvMove187, EvMove188, EvMove189, EvMove190, EvMove191,
};
EventTable DayStartEvents = {EvDayStart000, EvDayStart001, EvDayStart002, EvDayStart003};
EventTable TurnStartEvents = {
    EvTurnStart000, EvTurnStart001, EvTurnStart002, EvTurnStart003, EvTurnStart004, EvTurnStart005,
    EvTurnStart006, EvTurnStart007, EvTurnStart008, EvTurnStart009, EvTurnStart010, EvTurnStart011,
    EvTurnStart012, EvTurnStart013, EvTurnStart014, EvTurnStart015, EvTurnStart016, EvTurnStart017,
    EvTurnStart018, EvTurnStart019, EvTurnStart020, EvTurnStart021, EvTurnStart022, EvTurnStart023,
    EvTurnStart024, EvTurnStart025, EvTurnStart026, EvTurnStart027, EvTurnStart028, EvTurnStart029,
};
EventTable FlowerbedEvents = {LUMIA_FLOWERBED_SLOTS};
EndingTable EndingEvents = {LUMIA_ENDING_SLOTS};
EventTable DeliveryEvents = {};
EventTable CustomerRequestEvents = {LUMIA_CUSTOMER_REQUEST_SLOTS};
EventTable PeddleEvents = {
    EvPeddle000, EvPeddle001, EvPeddle002, EvPeddle003, EvPeddle004,
    EvPeddle005, EvPeddle006, EvPeddle007, EvPeddle008, EvPeddle009,
};
