#pragma once
// The clock's and the calendar's art. The pictures that change with the time (hour
// faces, minute hands, months, days, weekdays) go into the shop pack; the windows'
// backgrounds and the clock's "open" sign are the program's own (mkskin writes them
// into resources/data). Everything outside a window's shape, and around the hands, is
// the pure green key.
#include <cstdint>

#include "tools/mkgamedata/Art.h"

namespace mkgamedata {

inline constexpr std::uint8_t kClockKey = Cube(0, 5, 0);  // 0x00FF00

// Sizes and places of the parts in their windows (shop/Watch.cpp, shop/Calender.cpp
// place their images the same way).
inline constexpr int kWatchWidth = 112, kWatchHeight = 140;
inline constexpr int kDialLeft = 8, kDialTop = 8, kDialSize = 96;
inline constexpr int kSignLeft = 24, kSignTop = 110, kSignWidth = 64, kSignHeight = 20;
// The dial's face and the ring around it, from the dial's centre: small enough to
// leave the land map's marks beside the clock in view. The plate under the dial, and
// the part of the open sign's box that shows on it (the closed sign is drawn there).
inline constexpr double kFaceRadius = 37, kRingRadius = 43;
inline constexpr int kPlateLeft = 36, kPlateTop = 99, kPlateWidth = 60, kPlateHeight = 25;
inline constexpr int kClosedLeft = 40, kClosedWidth = 44, kClosedHeight = 13;
inline constexpr int kCalenderWidth = 100, kCalenderHeight = 124;
// The calendar's page begins this far in: the land map's hot spring shows left of it.
inline constexpr int kCalPageLeft = 30;
inline constexpr int kCalPartLeft = 8, kCalPartWidth = 84;
inline constexpr int kMonthTop = 16, kMonthHeight = 20;
inline constexpr int kDayTop = 40, kDayHeight = 54;
inline constexpr int kWeekTop = 98, kWeekHeight = 18;

// The clock window's background: a round frame over a name plate reading "休息中".
Picture WatchBackground();
// The plate's "營業中" sign, shown over it while the shop is open.
Picture WatchOpenSign();
// The dial at hour h (0..11, 0 = twelve): twelve marks and numbers, the hour hand.
Picture HourFace(int hour);
// The minute hand at k x 5 minutes (0..10), alone on the key.
Picture MinuteHand(int k);
// The calendar window's background: a hanging page with two rings.
Picture CalenderBackground();
// Month m (1..12), day d (1..24) and weekday w (1..6, the sixth the rest day).
Picture CalenderMonth(int m);
Picture CalenderDay(int d);
Picture CalenderWeekday(int w);

}  // namespace mkgamedata
