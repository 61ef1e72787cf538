#pragma once
#include <array>
#include <cstdint>

// Story events are polled: each is a plain function in one of eleven tables, and a
// walker tries a table's functions in slot order until one runs, so order is priority.

// A story event: tests its own conditions; when they hold it runs and returns true,
// else it returns false having changed nothing.
using EventProc = bool (*)();
// An entry of the endings table: -1 when it did not end the game, 0 after a bad
// ending, 1..5 for an ending number.
using EndingProc = std::int32_t (*)();

constexpr int kEventTableSlots = 200;
// Packed from slot 0; the first empty (null) slot ends the table.
using EventTable = std::array<EventProc, kEventTableSlots>;
using EndingTable = std::array<EndingProc, kEventTableSlots>;

// Set by the character-whereabouts code when the character asked about is present,
// read by EventBegin to record the meeting; cleared before each slot is tried so a
// presence found for an entry that did not run is never recorded for a later one.
extern std::uint8_t NpcMetPending;

// The walks themselves, over any table.
// Tries slots in order until one returns true; true exactly when an entry ran.
bool WalkFirstTrue(const EventTable& table);
// Stops at the first result of 0 or more; passes on only 1..5, anything else as -1.
std::int32_t WalkEndings(const EndingTable& table);
// Calls every entry whatever each returns; the result of the last one called.
bool WalkEverySlot(const EventTable& table);

// The eleven walkers.
bool RunLookEvents();
bool RunTalkEvents();
bool RunSearchEvents();
bool RunMoveEvents();
// Only while the controller is ready: clears the ready byte for the walk and sets it
// again afterwards, whatever ran. Not ready: false, nothing called.
bool RunDayStartEvents();
// Only while the controller is ready (the events themselves clear and set it).
bool RunTurnStartEvents();
bool RunFlowerbedEvents();
std::int32_t RunEndingEvents();
bool RunDeliveryEvents();
// Every entry, except on the weekly rest day, when nothing is called.
bool RunCustomerRequestEvents();
bool RunPeddleEvents();
