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
    // The name plate under the clock, on a short neck.
    p.Rect(16, 100, 80, 38, kInk);
    p.Rect(17, 101, 78, 36, kFrame);
    RoundCorners(p, 16, 100, 80, 38);
    p.Rect(46, 96, 20, 8, kFrame);
    p.Rect(kSignLeft - 1, kSignTop - 1, kSignWidth + 2, kSignHeight + 2, kInk);
    p.Rect(kSignLeft, kSignTop, kSignWidth, kSignHeight, kDial);
    p.TextCentred(kSignLeft, kSignTop, kSignWidth, kSignHeight, "休息中", 12, kGrey);
    // The round frame around the dial.
    const double c = kWatchWidth / 2.0;
    p.Ellipse(c, c, 55.5, 55.5, kInk);
    p.Ellipse(c, c, 54, 54, kFrame);
    p.Ellipse(c, c, 49.5, 49.5, kInk);
    p.Ellipse(c, c, 48, 48, kDial);
    return p;
}

Picture WatchOpenSign() {
    Picture p(kSignWidth, kSignHeight, Cube(4, 0, 0));
    p.Frame(0, 0, kSignWidth, kSignHeight, kInk);
    p.Frame(1, 1, kSignWidth - 2, kSignHeight - 2, Cube(5, 3, 2));
    p.TextCentred(0, 0, kSignWidth, kSignHeight, "營業中", 12, kWhite, true);
    return p;
}

Picture HourFace(int hour) {
    Picture p(kDialSize, kDialSize, kClockKey);
    const double c = kDialSize / 2.0;
    p.Ellipse(c, c, 48, 48, kInk);
    p.Ellipse(c, c, 46.5, 46.5, kDial);
    for (int i = 0; i < 12; ++i) {
        // Twelve marks, the quarters longer and doubled.
        const bool quarter = i % 3 == 0;
        const Pt a = OnDial(i, quarter ? 38 : 41), b = OnDial(i, 45);
        p.Line(int(a.x), int(a.y), int(b.x), int(b.y), kInk);
        if (quarter) {
            const Pt a2 = OnDial(i + 0.03, 38), b2 = OnDial(i + 0.03, 45);
            p.Line(int(a2.x), int(a2.y), int(b2.x), int(b2.y), kInk);
        }
        const Pt n = OnDial(i, 32);
        const std::string number = std::to_string(i == 0 ? 12 : i);
        p.TextCentred(int(std::lround(n.x)) - 8, int(std::lround(n.y)) - 6, 16, 12, number, 11,
                      kInk);
    }
    Hand(p, hour % 12, 22, 2.6, kInk);
    return p;
}

Picture MinuteHand(int k) {
    Picture p(kDialSize, kDialSize, kClockKey);
    Hand(p, k, 40, 1.5, kHand);
    return p;
}

Picture CalenderBackground() {
    Picture p(kCalenderWidth, kCalenderHeight, kClockKey);
    // The page, its month band and the two rings it hangs by.
    p.Rect(2, 10, 96, 112, kInk);
    p.Rect(3, 11, 94, 110, kWhite);
    RoundCorners(p, 2, 10, 96, 112);
    p.Rect(3, 11, 94, 30, kFrame);
    p.Line(3, 40, 96, 40, kInk);
    p.Line(8, 95, 91, 95, kGrey);
    for (const int x : {26, 74}) {
        p.Ellipse(x, 9, 5.5, 7.5, kInk);
        p.Ellipse(x, 9, 2.5, 4.5, kClockKey);
    }
    return p;
}

Picture CalenderMonth(int m) {
    Picture p(kCalPartWidth, kMonthHeight, SeasonColour(m));
    p.TextCentred(0, 0, kCalPartWidth, kMonthHeight, std::to_string(m) + "月", 16, kWhite, true);
    p.Text(kCalPartWidth - 16, 4, kSeasonNames[(m % 12) / 3], 12, kWhite);
    return p;
}

Picture CalenderDay(int d) {
    Picture p(kCalPartWidth, kDayHeight, kWhite);
    p.TextCentred(0, 2, kCalPartWidth, kDayHeight - 4, std::to_string(d), 40, kInk, true);
    p.Text(kCalPartWidth - 14, kDayHeight - 14, "日", 12, kInk);
    return p;
}

Picture CalenderWeekday(int w) {
    Picture p(kCalPartWidth, kWeekHeight, kWhite);
    const bool rest = w == 6;
    p.TextCentred(0, 0, kCalPartWidth, kWeekHeight, kWeekdayNames[(w - 1) % 6], 12,
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
