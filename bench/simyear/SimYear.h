#pragma once
#include <cstdio>

// The year simulation behind simyear --seed N [--days D]: a new game from seed N,
// then every hour of D days (288 by default: the whole year) through AdvanceHour,
// with no windows and no player but a plain shopkeeper who lays out the goods in
// stock every morning. Each open hour serves its customers to the end, as the
// clock's finish loop does. One line per day, the same on every run and machine;
// the time taken goes to stderr.

// The whole run with the program's arguments, writing the day lines to `out`.
// Returns the exit code (2 for bad arguments).
int SimYear(int argc, char** argv, std::FILE* out);
