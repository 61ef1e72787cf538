#pragma once
#include <cstdio>

// The year simulation behind simyear --seed N [--days D] [--orders plain|none]: a new
// game from seed N, then every hour of D days (288 by default: the whole year) through
// AdvanceHour, with no windows and no player but a plain shopkeeper who lays out the goods in
// stock every morning. Each open hour serves its customers to the end, as the
// clock's finish loop does. At 19:00 she takes every order a customer offers (one comes
// only when a slot is free), keeps the stock the held orders need off the counter, and
// mixes for an order she is short of from the materials at hand; the customers collect
// on the deadline day. One line per day, the same on every run and machine, ending in
// the orders held and the year's orders so far (offered, delivered, failed); the time
// taken goes to stderr. With --orders none she takes no orders (no offer is drawn), so
// the shop's own rules can be compared alone.

// The whole run with the program's arguments, writing the day lines to `out`.
// Returns the exit code (2 for bad arguments).
int SimYear(int argc, char** argv, std::FILE* out);

// The plain shopkeeper's morning, shared with playyear: the goods with units to sell,
// the most wanted first, go on the full-price slots 2..9, then on the bargain slots 1
// and 0.
void LayOutSlots();
