#pragma once
#include <array>
#include <cstdio>
#include <vector>

#include "shop/GameState.h"

// The year simulation behind simyear --seed N [--days D] [--orders plain|none]
// [--shelf plain|full|mix]: a new
// game from seed N, then every hour of D days (288 by default: the whole year) through
// AdvanceHour, with no windows and no player but a plain shopkeeper who lays out the goods in
// stock every morning. Each open hour serves its customers to the end, as the
// clock's finish loop does. At 19:00 she takes every order a customer offers (one comes
// only when a slot is free), keeps the stock the held orders need off the counter, and
// mixes for an order she is short of from the materials at hand; the customers collect
// on the deadline day. One line per day, the same on every run and machine, ending in
// the orders held and the year's orders so far (offered, delivered, failed); the time
// taken goes to stderr. With --orders none she takes no orders (no offer is drawn), so
// the shop's own rules can be compared alone. With --shelf full every goods is known
// and kept at 99 units (the most wanted always on the slots, never sold out); with
// --shelf mix the known goods furthest short of two days of customers gain ten units
// an hour from 8:00 to 22:00, mixing at its best from free materials.

// The whole run with the program's arguments, writing the day lines to `out`.
// Returns the exit code (2 for bad arguments).
int SimYear(int argc, char** argv, std::FILE* out);

// The plain shopkeeper's morning: the goods with units to sell (but those in
// `leaveOff`), the most wanted first, planned for the full-price slots 2..9, then for
// the bargain slots 1 and 0; the item of each slot, -1 for none.
std::array<int, kExhibitionSlots> PlannedSlots(const std::vector<int>& leaveOff = {});
// The plan laid out on the slots at once (simyear has no windows).
void LayOutSlots();
