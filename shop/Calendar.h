#pragma once

// The clock and calendar rules: game time moves in whole hours, and AdvanceHour
// is the only way an hour passes. It runs the hourly rules in a fixed order and
// rolls over into AdvanceDay at midnight.

void AdvanceHour();
void AdvanceDay();        // called only by AdvanceHour
void AdvanceToMorning();  // at least one hour, then on until 08:00

// The calls the clock makes into units that live elsewhere: the main loop, the
// customers, the shop screen and the clock and calendar windows. Each one is a
// plain function pointer, null until its unit installs it; a null hook does
// nothing (a null predicate answers false). Every hook is called in the order of
// the rules, so a test can record that order.
struct ClockHooks {
    void (*ResetTickPhase)();                   // main loop: next step is phase 0
    bool (*SpawnHourlyCustomers)(bool finish);  // customers: true while busy
    void (*RedrawShop)();                       // shop screen redraw
    void (*AnimateHourChange)();                // clock window, before the hour changes
    void (*SetShopOpen)();                      // shop screen open state
    void (*SetShopClosed)();
    void (*GenerateDailyDemand)();  // customers, 10:00 of an open day
    void (*SettleDailyFashion)();   // customers, 19:00
    bool (*IsShop2FVisible)();      // heroine in the 2F room
    void (*RenewWatch)();           // clock window
    void (*ClearDoorBell)();        // customers: bell rings again next hour
    void (*RenewCalender)();        // calendar window
};

extern ClockHooks g_ClockHooks;
