// simyear --seed N [--days D]: the year simulation of bench/simyear/SimYear.h, its
// day lines on stdout.
#include "bench/simyear/SimYear.h"

#include <cstdio>

int main(int argc, char** argv) { return SimYear(argc, argv, stdout); }
