// The clock's and the calendar's pictures in the shop pack "Data\WpData0.Pak": twelve
// hour faces ("clock00".."clock11"), eleven minute hands ("clockm00".."clockm10", five
// minutes apart), twelve months ("calm01".."calm12"), twenty-four days ("cald01"..
// "cald24") and six weekdays ("calw1".."calw6"). The backgrounds are drawn here too
// and written by mkskin.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tools/mkgamedata/ClockArt.h"

namespace mkgamedata {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::uint8_t kFrame = Cube(2, 1, 3);  // violet, as the dialogs' frames
constexpr std::uint8_t kDial = Cube(5, 5, 4);   // parchment
constexpr std::uint8_t kHand = Cube(3, 0, 0);   // dark red
constexpr std::uint8_t kGrey = 241;

// A point at `radius` from the dial's centre in the direction of `step` of twelve
// (0 = up, clockwise).
Pt OnDial(double step, double radius) {
    const double a = step * kPi / 6.0, c = kDialSize / 2.0;
    return {c + radius * std::sin(a), c - radius * std::cos(a)};
}

// A hand: a thin quad from a short tail behind the centre to its tip.
void Hand(Picture& p, double step, double length, double halfWidth, std::uint8_t colour) {
    const double a = step * kPi / 6.0;
    const double dx = std::sin(a), dy = -std::cos(a);
    const double c = kDialSize / 2.0;
    const Pt tip{c + dx * length, c + dy * length};
    const Pt tail{c - dx * 6, c - dy * 6};
    const Pt side{-dy * halfWidth, dx * halfWidth};
    p.Polygon({{tail.x + side.x, tail.y + side.y},
               {c + side.x, c + side.y},
               tip,
               {c - side.x, c - side.y},
               {tail.x - side.x, tail.y - side.y}},
              colour);
    p.Ellipse(c, c, 3, 3, colour);
}

// Rounds the corners of a filled rectangle by giving its corner pixels back to the key.
void RoundCorners(Picture& p, int x, int y, int w, int h) {
    for (auto [cx, cy, sx, sy] :
         {std::tuple{x, y, 1, 1}, std::tuple{x + w - 1, y, -1, 1}, std::tuple{x, y + h - 1, 1, -1},
          std::tuple{x + w - 1, y + h - 1, -1, -1}}) {
        p.Set(cx, cy, kClockKey);
        p.Set(cx + sx, cy, kClockKey);
        p.Set(cx, cy + sy, kClockKey);
    }
}

// The band colour of a month's season: winter (12, 1, 2) blue, spring pink, summer
// green, autumn orange.
std::uint8_t SeasonColour(int month) {
    const int season = (month % 12) / 3;
    constexpr std::uint8_t kColours[4] = {Cube(1, 2, 4), Cube(4, 1, 3), Cube(0, 3, 1),
                                          Cube(4, 2, 0)};
    return kColours[season];
}

const char* const kSeasonNames[4] = {"冬", "春", "夏", "秋"};
const char* const kWeekdayNames[6] = {"光之日", "火之日", "水之日",
                                      "風之日", "土之日", "闇之日　休"};

}  // namespace

Picture WatchBackground() {
    Picture p(kWatchWidth, kWatchHeight, kClockKey);
    // The name plate at the dial's foot, on a short neck, right of the land map's cave.
    p.Rect(kPlateLeft, kPlateTop, kPlateWidth, kPlateHeight, kInk);
    p.Rect(kPlateLeft + 1, kPlateTop + 1, kPlateWidth - 2, kPlateHeight - 2, kFrame);
    RoundCorners(p, kPlateLeft, kPlateTop, kPlateWidth, kPlateHeight);
    p.Rect(58, kPlateTop - 6, 12, 8, kFrame);
    p.Rect(kClosedLeft - 1, kSignTop - 1, kClosedWidth + 2, kClosedHeight + 1, kInk);
    p.Rect(kClosedLeft, kSignTop, kClosedWidth, kClosedHeight - 1, kDial);
    p.TextCentred(kClosedLeft, kSignTop, kClosedWidth, kClosedHeight - 1, "休息中", 11, kGrey);
    // The round frame around the dial.
    const double c = kDialLeft + kDialSize / 2.0;
    p.Ellipse(c, c, kRingRadius, kRingRadius, kInk);
    p.Ellipse(c, c, kRingRadius - 1.5, kRingRadius - 1.5, kFrame);
    p.Ellipse(c, c, kFaceRadius + 1.5, kFaceRadius + 1.5, kInk);
    p.Ellipse(c, c, kFaceRadius, kFaceRadius, kDial);
    return p;
}

Picture WatchOpenSign() {
    // Only the part of the sign inside the plate shows: the red sign lies over the
    // closed one, on the plate's colour, its bottom row the plate's edge.
    Picture p(kSignWidth, kSignHeight, kFrame);
    const int left = kClosedLeft - kSignLeft;
    p.Rect(left - 1, 0, kClosedWidth + 2, kClosedHeight, kInk);
    p.Rect(left, 0, kClosedWidth, kClosedHeight - 1, Cube(4, 0, 0));
    p.TextCentred(left, 1, kClosedWidth, kClosedHeight - 2, "營業中", 11, kWhite, true);
    p.Rect(0, kPlateTop + kPlateHeight - 1 - kSignTop, kSignWidth, kSignHeight, kInk);
    p.Rect(kPlateLeft - kSignLeft, 0, 1, kSignHeight, kInk);
    return p;
}

Picture HourFace(int hour) {
    Picture p(kDialSize, kDialSize, kClockKey);
    const double c = kDialSize / 2.0;
    p.Ellipse(c, c, kFaceRadius + 1, kFaceRadius + 1, kInk);
    p.Ellipse(c, c, kFaceRadius, kFaceRadius, kDial);
    for (int i = 0; i < 12; ++i) {
        // Twelve marks, the quarters longer; the quarters' numbers larger.
        const bool quarter = i % 3 == 0;
        const Pt a = OnDial(i, quarter ? kFaceRadius - 7 : kFaceRadius - 4),
                 b = OnDial(i, kFaceRadius - 1);
        p.Line(int(a.x), int(a.y), int(b.x), int(b.y), kInk);
        const Pt n = OnDial(i, kFaceRadius - 13);
        const std::string number = std::to_string(i == 0 ? 12 : i);
        p.TextCentred(int(std::lround(n.x)) - 8, int(std::lround(n.y)) - 5, 16, 10, number,
                      quarter ? 11 : 9, kInk, quarter);
    }
    Hand(p, hour % 12, 18, 2.4, kInk);
    return p;
}

Picture MinuteHand(int k) {
    Picture p(kDialSize, kDialSize, kClockKey);
    Hand(p, k, kFaceRadius - 5, 1.5, kHand);
    return p;
}

Picture CalenderBackground() {
    Picture p(kCalenderWidth, kCalenderHeight, kClockKey);
    // The page, its month band and the two rings it hangs by; the window's left part
    // is left to the map under it.
    const int w = kCalenderWidth - 2 - kCalPageLeft;
    p.Rect(kCalPageLeft, 10, w, 112, kInk);
    p.Rect(kCalPageLeft + 1, 11, w - 2, 110, kWhite);
    RoundCorners(p, kCalPageLeft, 10, w, 112);
    p.Rect(kCalPageLeft + 1, 11, w - 2, 30, kFrame);
    p.Line(kCalPageLeft + 1, 40, kCalenderWidth - 4, 40, kInk);
    p.Line(kCalPageLeft + 5, 95, kCalenderWidth - 9, 95, kGrey);
    for (const int x : {kCalPageLeft + 16, kCalenderWidth - 18}) {
        p.Ellipse(x, 9, 5.5, 7.5, kInk);
        p.Ellipse(x, 9, 2.5, 4.5, kClockKey);
    }
    return p;
}

// The parts are drawn in the part of their box that lies on the page.
constexpr int kShown = kCalPageLeft + 1 - kCalPartLeft;
constexpr int kShownWidth = kCalPartWidth - kShown;

Picture CalenderMonth(int m) {
    Picture p(kCalPartWidth, kMonthHeight, SeasonColour(m));
    p.TextCentred(kShown, 0, kShownWidth - 14, kMonthHeight, std::to_string(m) + "月", 16, kWhite,
                  true);
    p.Text(kCalPartWidth - 14, 4, kSeasonNames[(m % 12) / 3], 12, kWhite);
    return p;
}

Picture CalenderDay(int d) {
    Picture p(kCalPartWidth, kDayHeight, kWhite);
    p.TextCentred(kShown, 2, kShownWidth - 8, kDayHeight - 4, std::to_string(d), 40, kInk, true);
    p.Text(kCalPartWidth - 13, kDayHeight - 14, "日", 12, kInk);
    return p;
}

Picture CalenderWeekday(int w) {
    Picture p(kCalPartWidth, kWeekHeight, kWhite);
    const bool rest = w == 6;
    p.TextCentred(kShown, 0, kShownWidth, kWeekHeight, kWeekdayNames[(w - 1) % 6], 12,
                  rest ? Cube(5, 0, 0) : kInk, rest);
    return p;
}

bool WriteClockArt(const std::filesystem::path& root) {
    const std::filesystem::path pack = root / "Data" / "WpData0.Pak";
    std::vector<std::pair<std::string, Picture>> pictures;
    char name[20];
    for (int h = 0; h < 12; ++h) {
        std::snprintf(name, sizeof name, "clock%02d.bmp", h);
        pictures.emplace_back(name, HourFace(h));
    }
    for (int k = 0; k <= 10; ++k) {
        std::snprintf(name, sizeof name, "clockm%02d.bmp", k);
        pictures.emplace_back(name, MinuteHand(k));
    }
    for (int m = 1; m <= 12; ++m) {
        std::snprintf(name, sizeof name, "calm%02d.bmp", m);
        pictures.emplace_back(name, CalenderMonth(m));
    }
    for (int d = 1; d <= 24; ++d) {
        std::snprintf(name, sizeof name, "cald%02d.bmp", d);
        pictures.emplace_back(name, CalenderDay(d));
    }
    for (int w = 1; w <= 6; ++w) {
        std::snprintf(name, sizeof name, "calw%d.bmp", w);
        pictures.emplace_back(name, CalenderWeekday(w));
    }
    for (const auto& [member, picture] : pictures)
        if (!AddPackMember(pack, member, PictureBmp8(picture))) return false;
    return true;
}

}  // namespace mkgamedata
