#include "town/EventTables.h"

#include <string>

#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "story/EventTables.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

std::uint8_t NpcMetPending = 0;

namespace {
constexpr int kNoEnding = -1;
constexpr int kLastEndingNumber = 5;

bool ControllerReady() { return GameFlow && GameFlow->Ready; }
}  // namespace

bool WalkFirstTrue(const EventTable& table) {
    bool result = false;
    for (int slot = 0; slot < kEventTableSlots; ++slot) {
        NpcMetPending = 0;
        if (!table[slot]) break;
        result = table[slot]();
        if (result) break;
    }
    return result;
}

std::int32_t WalkEndings(const EndingTable& table) {
    std::int32_t result = kNoEnding;
    for (int slot = 0; slot < kEventTableSlots; ++slot) {
        NpcMetPending = 0;
        if (!table[slot]) break;
        result = table[slot]();
        if (result >= 0) {
            ui::Record("ending",
                       "slot " + std::to_string(slot) + " number " + std::to_string(result));
            break;
        }
    }
    // A bad ending (0) stops the walk but reaches the caller as "nothing ended".
    return (result > 0 && result <= kLastEndingNumber) ? result : kNoEnding;
}

bool WalkEverySlot(const EventTable& table) {
    bool result = false;
    for (int slot = 0; slot < kEventTableSlots && table[slot]; ++slot) {
        NpcMetPending = 0;
        result = table[slot]();
    }
    return result;
}

bool RunLookEvents() { return WalkFirstTrue(LookEvents); }
bool RunTalkEvents() { return WalkFirstTrue(TalkEvents); }
bool RunSearchEvents() { return WalkFirstTrue(SearchEvents); }
bool RunMoveEvents() { return WalkFirstTrue(MoveEvents); }

bool RunDayStartEvents() {
    if (!ControllerReady()) return false;
    GameFlow->Ready = 0;
    const bool ran = WalkFirstTrue(DayStartEvents);
    GameFlow->Ready = 1;
    return ran;
}

bool RunTurnStartEvents() {
    if (!ControllerReady()) return false;
    return WalkFirstTrue(TurnStartEvents);
}

bool RunFlowerbedEvents() { return WalkFirstTrue(FlowerbedEvents); }
std::int32_t RunEndingEvents() { return WalkEndings(EndingEvents); }
bool RunDeliveryEvents() { return WalkFirstTrue(DeliveryEvents); }

bool RunCustomerRequestEvents() {
    // The calendar's rest day itself, not a condition test: the debug window's override
    // would make that hold on every day and silence an evening it forces.
    if (!EventServerDbg || IsRestDay(GameDay())) return false;
    return WalkEverySlot(CustomerRequestEvents);
}

bool RunPeddleEvents() { return WalkFirstTrue(PeddleEvents); }
