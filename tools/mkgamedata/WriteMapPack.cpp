// The map pack "col24b\mapPack\mapPack.pak": the town and land pictures in their four
// variants ("map_town0.bmp".."map_town3.bmp", "map_land0.bmp".."map_land3.bmp"), the
// walker sheet "map_chr.bmp", the place marks "mark.bmp", the click regions
// "town.plf"/"land.plf" and the path graphs "town.sld"/"land.sld".
//
// The town is drawn as streets between rows of houses, with the fountain square, the
// park, the academy and the gate out to the fields; the land as mountains in the west,
// woods, fields round the town, a lake and the sea. Each place has its own picture at
// its mark (where the map screen lays the mark of an open place) and its name on a
// plate where nothing covers it on the screen (MapTables' label points, kMapCovered);
// its click region covers the mark and the name, so a click on either goes to the
// place. The writer refuses a layout whose names lie under the screen's windows or
// whose regions overlap.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "shop/Figure.h"
#include "tools/mkgamedata/Art.h"
#include "tools/mkgamedata/PackWriter.h"
#include "town/MapOfLink.h"
#include "town/MapTables.h"

namespace mkgamedata {

namespace {

constexpr int kMapW = 640;
constexpr int kMapH = 480;
constexpr int kLabelSize = 12;
constexpr int kLabelH = kLabelSize + 4;
constexpr std::uint8_t kKey = 0;  // the sheets' transparent colour (their top-left pixel)

// Roads of the two maps, each pair linked both ways. On the land map every road is an
// hour's walk.
constexpr int kTownRoads[][2] = {{0, 3}, {0, 4}, {0, 7}, {1, 3}, {1, 2}, {2, 3}, {2, 8},
                                 {3, 4}, {3, 5}, {3, 6}, {3, 7}, {3, 8}, {5, 6}};
constexpr int kLandRoads[][2] = {{0, 1}, {0, 2},  {0, 7},  {0, 9}, {1, 2},  {1, 3},
                                 {1, 5}, {2, 11}, {3, 4},  {3, 9}, {4, 5},  {5, 6},
                                 {7, 8}, {7, 10}, {7, 11}, {8, 9}, {10, 11}};

struct MapArt {
    const char* member;
    const MapPlace* places;
    int count;
    const int (*roads)[2];
    int roadCount;
    bool land;
};

const MapArt kTown = {"map_town", kTownPlaces, kTownNodes, kTownRoads, int(std::size(kTownRoads)),
                      false};
const MapArt kLand = {"map_land", kLandPlaces, kLandNodes, kLandRoads, int(std::size(kLandRoads)),
                      true};

// A node stands at the centre of its mark.
Pt NodePoint(const MapPlace& p) { return {p.markX + kMarkSize / 2.0, p.markY + kMarkSize / 2.0}; }

struct Box {
    int l, t, r, b;  // r and b exclusive
};

// The name plate of a place, centred on its label point.
Box LabelBox(const MapPlace& p) {
    const int w = TextWidthUtf8(p.name, kLabelSize) + 6;
    const int l = std::clamp(p.labelX - w / 2, 1, kMapW - 1 - w);
    const int t = std::clamp(p.labelY - kLabelH / 2, 1, kMapH - 1 - kLabelH);
    return {l, t, l + w, t + kLabelH};
}

bool Overlaps(const Box& b, const MapArea& a) {
    return b.l < a.right && b.r > a.left && b.t < a.bottom && b.b > a.top;
}

long long Cross(FieldPoint o, FieldPoint a, FieldPoint b) {
    return (long long)(a.x - o.x) * (b.y - o.y) - (long long)(a.y - o.y) * (b.x - o.x);
}

// The click region of a place: the convex hull of its mark and its name plate, with
// a small margin, in the turning the regions' inside test wants (at most 8 corners).
std::vector<FieldPoint> PlaceRegion(const MapPlace& p) {
    const Box b = LabelBox(p);
    const int ml = p.markX - 2, mt = p.markY - 2, mr = p.markX + kMarkSize + 1,
              mb = p.markY + kMarkSize + 1;
    const int ll = b.l - 1, lt = b.t - 1, lr = b.r, lb = b.b;
    std::vector<FieldPoint> pts = {{ml, mt}, {mr, mt}, {mr, mb}, {ml, mb},
                                   {ll, lt}, {lr, lt}, {lr, lb}, {ll, lb}};
    std::sort(pts.begin(), pts.end(),
              [](FieldPoint a, FieldPoint c) { return a.x < c.x || (a.x == c.x && a.y < c.y); });
    pts.erase(std::unique(pts.begin(), pts.end(),
                          [](FieldPoint a, FieldPoint c) { return a.x == c.x && a.y == c.y; }),
              pts.end());
    // Andrew's monotone chain; collinear corners are dropped.
    std::vector<FieldPoint> hull(2 * pts.size());
    std::size_t k = 0;
    for (const FieldPoint& q : pts) {
        while (k >= 2 && Cross(hull[k - 2], hull[k - 1], q) <= 0) --k;
        hull[k++] = q;
    }
    for (std::size_t i = pts.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && Cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
        hull[k++] = pts[i];
    }
    hull.resize(k - 1);
    // With y growing downwards that chain turns clockwise on the screen; the regions
    // turn the other way.
    std::reverse(hull.begin(), hull.end());
    return hull;
}

std::vector<std::uint8_t> Regions(const MapArt& map) {
    std::vector<std::vector<FieldPoint>> regions;
    for (int n = 0; n < map.count; ++n) regions.push_back(PlaceRegion(map.places[n]));
    return BuildClickRegionFile(regions);
}

// True when every place's name lies clear of what may cover the picture on the screen,
// every region holds its mark's centre and its name, and no two regions share a pixel;
// else says what is wrong.
bool LayoutClear(const MapArt& map) {
    bool clear = true;
    const std::vector<std::uint8_t> file = Regions(map);
    PolygonField field;
    if (!field.LoadFromBuffer(file.data(), file.size()) || field.Count() != map.count) {
        std::fprintf(stderr, "mkgamedata: %s regions do not load\n", map.member);
        return false;
    }
    for (int n = 0; n < map.count; ++n) {
        const MapPlace& p = map.places[n];
        const Box b = LabelBox(p);
        for (const MapArea& a : kMapCovered)
            if (Overlaps(b, a)) {
                std::fprintf(stderr,
                             "mkgamedata: %s place %d's name lies under the screen's windows\n",
                             map.member, n);
                clear = false;
            }
        const Pt c = NodePoint(p);
        if (!field.Region(n).Contains({int(c.x), int(c.y)}) ||
            !field.Region(n).Contains({(b.l + b.r) / 2, (b.t + b.b) / 2})) {
            std::fprintf(stderr, "mkgamedata: %s place %d's region misses its mark or name\n",
                         map.member, n);
            clear = false;
        }
    }
    for (int y = 0; y < kMapH; ++y)
        for (int x = 0; x < kMapW; ++x) {
            int holders = 0;
            for (int n = 0; n < map.count; ++n) holders += field.Region(n).Contains({x, y});
            if (holders > 1) {
                std::fprintf(stderr, "mkgamedata: %s regions overlap at %d,%d\n", map.member, x, y);
                return false;
            }
        }
    return clear;
}

// Colours of a variant: 0 day, 1 evening (and autumn days), 2 winter day, 3 night.
struct Scheme {
    std::uint8_t grass, grassDot, street, streetEdge, wall, wallEdge;
    std::array<std::uint8_t, 4> roofs;
    std::uint8_t window, plate, plateEdge, leaf, leafDark, trunk, water, waterLight, sand, rock,
        rockLight, fieldA, fieldB, paving, lawn;
    bool winter, night;
};

Scheme SchemeOf(int v) {
    switch (v) {
        case 0:
            return {Cube(2, 4, 1),
                    Cube(2, 3, 1),
                    Cube(4, 4, 3),
                    Cube(3, 2, 1),
                    Cube(5, 5, 4),
                    Cube(3, 2, 1),
                    {Cube(4, 1, 0), Cube(1, 2, 4), Cube(3, 1, 2), Cube(4, 2, 0)},
                    Cube(1, 2, 3),
                    kWhite,
                    Cube(2, 1, 0),
                    Cube(0, 3, 0),
                    Cube(0, 2, 0),
                    Cube(2, 1, 0),
                    Cube(1, 3, 5),
                    Cube(3, 4, 5),
                    Cube(5, 5, 3),
                    Cube(3, 2, 2),
                    Cube(4, 3, 3),
                    Cube(5, 4, 1),
                    Cube(3, 4, 0),
                    Cube(4, 4, 4),
                    Cube(1, 4, 1),
                    false,
                    false};
        case 1:
            return {Cube(3, 3, 1),
                    Cube(3, 2, 1),
                    Cube(4, 3, 2),
                    Cube(2, 1, 0),
                    Cube(5, 4, 3),
                    Cube(2, 1, 0),
                    {Cube(4, 0, 0), Cube(1, 1, 3), Cube(3, 0, 1), Cube(4, 1, 0)},
                    Cube(5, 4, 1),
                    kWhite,
                    Cube(2, 1, 0),
                    Cube(4, 2, 0),
                    Cube(3, 1, 0),
                    Cube(2, 1, 0),
                    Cube(1, 2, 4),
                    Cube(3, 3, 4),
                    Cube(5, 4, 2),
                    Cube(3, 2, 1),
                    Cube(4, 3, 2),
                    Cube(5, 3, 0),
                    Cube(4, 2, 0),
                    Cube(4, 3, 3),
                    Cube(3, 4, 1),
                    false,
                    false};
        case 2:
            return {Cube(5, 5, 5),
                    Cube(4, 4, 5),
                    Cube(3, 3, 4),
                    Cube(2, 2, 3),
                    Cube(4, 4, 4),
                    Cube(1, 1, 2),
                    {Cube(3, 1, 1), Cube(1, 1, 3), Cube(2, 1, 2), Cube(3, 2, 1)},
                    Cube(1, 2, 3),
                    Cube(5, 5, 3),
                    Cube(1, 1, 2),
                    Cube(0, 2, 1),
                    Cube(0, 1, 1),
                    Cube(1, 1, 0),
                    Cube(2, 3, 4),
                    Cube(4, 5, 5),
                    Cube(4, 4, 4),
                    Cube(2, 2, 3),
                    Cube(3, 3, 4),
                    Cube(4, 4, 5),
                    Cube(4, 5, 5),
                    Cube(4, 4, 5),
                    Cube(4, 5, 4),
                    true,
                    false};
        default:
            return {Cube(0, 1, 1),
                    Cube(0, 1, 0),
                    Cube(1, 1, 1),
                    Cube(0, 0, 1),
                    Cube(1, 1, 2),
                    Cube(0, 0, 1),
                    {Cube(2, 0, 0), Cube(0, 0, 2), Cube(1, 0, 1), Cube(2, 1, 0)},
                    Cube(5, 5, 2),
                    Cube(5, 5, 4),
                    Cube(1, 1, 2),
                    Cube(0, 1, 0),
                    Cube(0, 1, 0),
                    Cube(1, 0, 0),
                    Cube(0, 0, 2),
                    Cube(0, 1, 3),
                    Cube(2, 2, 1),
                    Cube(1, 1, 1),
                    Cube(2, 2, 2),
                    Cube(1, 1, 0),
                    Cube(0, 1, 0),
                    Cube(1, 1, 2),
                    Cube(0, 2, 1),
                    false,
                    true};
    }
}

void ThickLine(Picture& p, Pt a, Pt b, double width, std::uint8_t c) {
    // A round brush along the segment.
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    const int steps = std::max(1, int(len));
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        p.Ellipse(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, width / 2, width / 2, c);
    }
}

// Distance from c to the segment a-b.
double SegmentDistance(Pt c, Pt a, Pt b) {
    const double dx = b.x - a.x, dy = b.y - a.y, len = dx * dx + dy * dy;
    const double t =
        len > 0 ? std::clamp(((c.x - a.x) * dx + (c.y - a.y) * dy) / len, 0.0, 1.0) : 0;
    return std::hypot(c.x - (a.x + t * dx), c.y - (a.y + t * dy));
}

double RoadDistance(const MapArt& map, Pt c) {
    double d = 1e9;
    for (int i = 0; i < map.roadCount; ++i)
        d = std::min(d, SegmentDistance(c, NodePoint(map.places[map.roads[i][0]]),
                                        NodePoint(map.places[map.roads[i][1]])));
    return d;
}

// True where scenery of `radius` may stand: off every place's picture, name and road.
bool FreeGround(const MapArt& map, Pt c, double radius, double roadHalf) {
    for (int n = 0; n < map.count; ++n) {
        const Pt q = NodePoint(map.places[n]);
        if (std::hypot(c.x - q.x, c.y - q.y) < 26 + radius) return false;
        const Box b = LabelBox(map.places[n]);
        if (c.x > b.l - radius - 3 && c.x < b.r + radius + 3 && c.y > b.t - radius - 3 &&
            c.y < b.b + radius + 3)
            return false;
    }
    return RoadDistance(map, c) > roadHalf + radius;
}

// A cheap repeatable hash for scattering scenery.
int Hash(int x, int y) {
    unsigned h = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return int((h ^ (h >> 15)) & 0x7fffffff);
}

// ---- pieces of scenery

void Tree(Picture& p, Pt c, const Scheme& s, double size = 1) {
    p.Rect(int(c.x) - 1, int(c.y + 2 * size), 3, int(5 * size), s.trunk);
    p.Ellipse(c.x, c.y - size, 7 * size, 7 * size, s.leafDark);
    p.Ellipse(c.x - size, c.y - 2 * size, 5.5 * size, 5.5 * size, s.leaf);
    if (s.winter) p.Ellipse(c.x - size, c.y - 6 * size, 4.5 * size, 2.5 * size, kWhite);
}

void Fir(Picture& p, Pt c, const Scheme& s) {
    p.Rect(int(c.x) - 1, int(c.y) + 3, 3, 5, s.trunk);
    p.Polygon({{c.x - 7, c.y + 4}, {c.x, c.y - 11}, {c.x + 7, c.y + 4}}, s.leafDark);
    p.Polygon({{c.x - 5, c.y - 1}, {c.x, c.y - 11}, {c.x + 3, c.y - 1}}, s.leaf);
    if (s.winter) p.Polygon({{c.x - 3, c.y - 5}, {c.x, c.y - 11}, {c.x + 3, c.y - 5}}, kWhite);
}

// A house seen from the front and above: walls, a gabled roof, a door and a window
// (lit at night). `roof` picks its roof colour.
void House(Picture& p, Pt c, const Scheme& s, int roof, int w = 18, int h = 12) {
    const int x = int(c.x) - w / 2, y = int(c.y) - h / 2 + 3;
    p.Rect(x, y, w, h, s.wall);
    p.Frame(x, y, w, h, s.wallEdge);
    const std::uint8_t r = s.roofs[std::size_t(roof) % s.roofs.size()];
    p.Polygon({{double(x) - 3, double(y) + 1},
               {double(x) + 3, double(y) - 8},
               {double(x + w) - 3, double(y) - 8},
               {double(x + w) + 3, double(y) + 1}},
              r);
    if (s.winter) p.Rect(x + 2, y - 8, w - 4, 2, kWhite);
    p.Rect(x + w / 2 - 2, y + h - 6, 4, 6, s.wallEdge);
    p.Rect(x + 3, y + 3, 3, 3, s.window);
    if (w > 14) p.Rect(x + w - 6, y + 3, 3, 3, s.window);
}

void Rocks(Picture& p, Pt c, const Scheme& s, double size) {
    p.Polygon({{c.x - 14 * size, c.y + 8 * size},
               {c.x - 4 * size, c.y - 12 * size},
               {c.x + 4 * size, c.y - 14 * size},
               {c.x + 15 * size, c.y + 8 * size}},
              s.rock);
    p.Polygon({{c.x - 4 * size, c.y - 12 * size},
               {c.x + 4 * size, c.y - 14 * size},
               {c.x + 6 * size, c.y - 6 * size},
               {c.x - 2 * size, c.y - 4 * size}},
              s.rockLight);
}

void Mountain(Picture& p, Pt c, const Scheme& s, double w, double h) {
    p.Polygon({{c.x - w, c.y}, {c.x, c.y - h}, {c.x + w, c.y}}, s.rock);
    p.Polygon({{c.x, c.y - h}, {c.x + w, c.y}, {c.x + w * 0.3, c.y}}, s.rockLight);
    const std::uint8_t cap = s.night ? Cube(3, 3, 4) : kWhite;
    p.Polygon({{c.x - w * 0.3, c.y - h * 0.7}, {c.x, c.y - h}, {c.x + w * 0.3, c.y - h * 0.7}},
              cap);
}

// A field: a patch of furrows in two colours.
void Field(Picture& p, int x, int y, int w, int h, const Scheme& s, bool across) {
    p.Rect(x, y, w, h, s.fieldA);
    if (across)
        for (int j = y + 2; j < y + h - 1; j += 4) p.Rect(x + 1, j, w - 2, 1, s.fieldB);
    else
        for (int i = x + 2; i < x + w - 1; i += 4) p.Rect(i, y + 1, 1, h - 2, s.fieldB);
    p.Frame(x, y, w, h, s.grassDot);
}

// The roads of a map: a broad edge, then the surface over it. Town streets run
// straight; country roads bend a little, now one way, now the other.
void Roads(Picture& p, const MapArt& map, const Scheme& s, double width) {
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < map.roadCount; ++i) {
            const Pt a = NodePoint(map.places[map.roads[i][0]]),
                     b = NodePoint(map.places[map.roads[i][1]]);
            const double len = std::hypot(b.x - a.x, b.y - a.y);
            const double bend = map.land ? std::min(6.0, len / 12) * (i % 2 ? 1 : -1) : 0;
            constexpr int kPieces = 10;
            Pt from = a;
            for (int k = 1; k <= kPieces; ++k) {
                const double t = double(k) / kPieces, off = bend * std::sin(t * 3.14159265);
                const Pt to{a.x + (b.x - a.x) * t - (b.y - a.y) / len * off,
                            a.y + (b.y - a.y) * t + (b.x - a.x) / len * off};
                ThickLine(p, from, to, pass ? width : width + 4, pass ? s.street : s.streetEdge);
                from = to;
            }
        }
}

void NamePlates(Picture& p, const MapArt& map, const Scheme& s) {
    for (int n = 0; n < map.count; ++n) {
        const Box b = LabelBox(map.places[n]);
        p.Rect(b.l, b.t, b.r - b.l, b.b - b.t, s.plate);
        p.Frame(b.l, b.t, b.r - b.l, b.b - b.t, s.plateEdge);
        p.Text(b.l + 3, b.t + 2, map.places[n].name, kLabelSize, kInk);
    }
}

// ---- the town

void TownPlace(Picture& p, int n, Pt c, const Scheme& s) {
    switch (n) {
        case 0:  // the heroine's shop: a purple roof, the black cat on its sign
            House(p, c, s, 2, 22, 13);
            p.Rect(int(c.x) + 8, int(c.y) - 4, 8, 7, s.plate);
            p.Ellipse(c.x + 12, c.y, 2.5, 2, Cube(0, 0, 0));
            p.Ellipse(c.x + 13.5, c.y - 2, 1.6, 1.6, Cube(0, 0, 0));
            break;
        case 1:  // 芙蘿蕾's house and her flowerbed
            House(p, {c.x, c.y - 2}, s, 1, 20, 12);
            for (int i = 0; i < 6; ++i)
                p.Ellipse(c.x - 10 + 4 * i, c.y + 11, 1.6, 1.6,
                          s.winter ? kWhite
                          : i % 2  ? Cube(5, 1, 3)
                                   : Cube(5, 5, 1));
            break;
        case 2:  // the rival shop, pink roofed
            House(p, c, s, 0, 22, 13);
            p.Polygon({{c.x - 14, c.y - 5},
                       {c.x - 3, c.y - 17},
                       {c.x + 3, c.y - 17},
                       {c.x + 14, c.y - 5}},
                      s.night ? Cube(2, 0, 1) : Cube(5, 2, 3));
            break;
        case 3:  // the fountain square
            p.Ellipse(c.x, c.y, 30, 24, s.streetEdge);
            p.Ellipse(c.x, c.y, 28, 22, s.paving);
            p.Ellipse(c.x, c.y, 12, 9, s.wallEdge);
            p.Ellipse(c.x, c.y, 10.5, 7.5, s.winter ? Cube(4, 5, 5) : s.water);
            p.Ellipse(c.x, c.y - 3, 3, 5, s.waterLight);
            break;
        case 4:  // the cake shop: an awning in stripes
            House(p, c, s, 3, 22, 13);
            for (int i = 0; i < 6; ++i)
                p.Rect(int(c.x) - 11 + 4 * i, int(c.y) + 1, 4, 3,
                       i % 2 ? s.wall : (s.night ? Cube(2, 0, 0) : Cube(5, 1, 1)));
            break;
        case 5:  // the park's gate
            p.Rect(int(c.x) - 12, int(c.y) - 8, 3, 18, s.wallEdge);
            p.Rect(int(c.x) + 10, int(c.y) - 8, 3, 18, s.wallEdge);
            p.Rect(int(c.x) - 13, int(c.y) - 11, 27, 4, s.roofs[1]);
            Tree(p, {c.x, c.y + 2}, s);
            break;
        case 6: {  // the event ground: a striped tent with a flag
            const std::uint8_t a = s.night ? Cube(2, 0, 0) : Cube(5, 1, 1);
            p.Polygon({{c.x - 16, c.y + 10}, {c.x, c.y - 12}, {c.x + 16, c.y + 10}}, s.wall);
            p.Polygon({{c.x - 16, c.y + 10}, {c.x, c.y - 12}, {c.x - 6, c.y + 10}}, a);
            p.Polygon({{c.x + 6, c.y + 10}, {c.x, c.y - 12}, {c.x + 16, c.y + 10}}, a);
            p.Rect(int(c.x), int(c.y) - 18, 1, 7, s.wallEdge);
            p.Rect(int(c.x) + 1, int(c.y) - 18, 5, 3, s.roofs[1]);
            break;
        }
        case 7:  // the academy: a long hall and its tower
            House(p, {c.x - 8, c.y + 1}, s, 1, 24, 14);
            House(p, {c.x + 12, c.y + 1}, s, 1, 16, 14);
            p.Rect(int(c.x) - 3, int(c.y) - 18, 10, 22, s.wall);
            p.Frame(int(c.x) - 3, int(c.y) - 18, 10, 22, s.wallEdge);
            p.Polygon({{c.x - 5, c.y - 18}, {c.x + 2, c.y - 28}, {c.x + 9, c.y - 18}}, s.roofs[1]);
            p.Ellipse(c.x + 2, c.y - 11, 2.5, 2.5, s.window);
            break;
        default:  // the gate out of town, the road going on south
            p.Rect(int(c.x) - 16, int(c.y) - 10, 9, 20, s.wall);
            p.Rect(int(c.x) + 8, int(c.y) - 10, 9, 20, s.wall);
            p.Frame(int(c.x) - 16, int(c.y) - 10, 9, 20, s.wallEdge);
            p.Frame(int(c.x) + 8, int(c.y) - 10, 9, 20, s.wallEdge);
            p.Polygon({{c.x - 18, c.y - 10}, {c.x - 11.5, c.y - 18}, {c.x - 5, c.y - 10}},
                      s.roofs[0]);
            p.Polygon({{c.x + 6, c.y - 10}, {c.x + 12.5, c.y - 18}, {c.x + 19, c.y - 10}},
                      s.roofs[0]);
            p.Rect(int(c.x) - 7, int(c.y) - 9, 15, 4, s.wallEdge);
            break;
    }
}

// Lanes between the blocks, off the path graph: they make the streets a town.
constexpr double kTownLanes[][4] = {
    {132, 296, 0, 262},  {157, 155, 0, 110},   {157, 155, 150, 30},  {281, 171, 290, 30},
    {414, 141, 430, 30}, {376, 284, 520, 300}, {520, 300, 640, 286}, {376, 284, 330, 200},
    {0, 200, 247, 233},  {425, 225, 520, 236}, {315, 379, 420, 392}, {132, 296, 60, 392}};

double LaneDistance(Pt c) {
    double d = 1e9;
    for (const auto& l : kTownLanes)
        d = std::min(d, SegmentDistance(c, {l[0], l[1]}, {l[2], l[3]}));
    return d;
}

Picture TownPicture(const Scheme& s) {
    const MapArt& map = kTown;
    Picture p(kMapW, kMapH, s.grass);
    for (int y = 6; y < kMapH; y += 12)
        for (int x = (y / 12 % 2) * 6 + 3; x < kMapW; x += 12) p.Set(x, y, s.grassDot);
    // Fields outside the town: south of the gate and in the far corners.
    const Pt gate = NodePoint(kTownPlaces[8]);
    for (const auto& [x, y, w, h, across] :
         {std::tuple{20, 404, 90, 30, true}, std::tuple{20, 440, 90, 32, false},
          std::tuple{120, 430, 110, 42, true}, std::tuple{330, 430, 100, 42, false},
          std::tuple{440, 410, 90, 30, true}, std::tuple{540, 410, 90, 30, false},
          std::tuple{440, 445, 190, 28, true}})
        Field(p, x, y, w, h, s, across);
    // The road on south through the fields.
    ThickLine(p, gate, {gate.x, double(kMapH + 10)}, 14, s.streetEdge);
    ThickLine(p, gate, {gate.x, double(kMapH + 10)}, 10, s.street);
    // The park: a lawn with a pond and trees round the park's gate.
    const Pt park = NodePoint(kTownPlaces[5]);
    p.Ellipse(park.x + 38, park.y + 42, 64, 70, s.grassDot);
    p.Ellipse(park.x + 38, park.y + 42, 62, 68, s.lawn);
    p.Ellipse(park.x + 48, park.y + 58, 22, 13, s.water);
    p.Ellipse(park.x + 44, park.y + 55, 8, 3, s.waterLight);
    for (int pass = 0; pass < 2; ++pass)
        for (const auto& l : kTownLanes)
            ThickLine(p, {l[0], l[1]}, {l[2], l[3]}, pass ? 6 : 9, pass ? s.street : s.streetEdge);
    Roads(p, map, s, 10);
    // Houses along the streets and lanes, gardens with a tree here and there behind.
    for (int y = 40; y < kMapH - 6; y += 17)
        for (int x = 8 + (y / 17 % 2) * 11; x < kMapW - 8; x += 22) {
            const int k = Hash(x, y);
            const Pt c{x + double(k % 5) - 2, y + double(k / 7 % 3) - 1};
            const bool inPark = std::hypot((c.x - park.x - 38) / 66, (c.y - park.y - 42) / 72) < 1;
            if (c.y > 396) continue;  // the fields
            const double street = std::min(RoadDistance(map, c), LaneDistance(c));
            if (inPark) {
                if (k % 3 == 0 && FreeGround(map, c, 8, 7) &&
                    std::hypot((c.x - park.x - 48) / 26, (c.y - park.y - 58) / 17) > 1)
                    Tree(p, c, s);
            } else if (street < 34 && street > 12 && FreeGround(map, c, 10, 6)) {
                House(p, c, s, k / 5 % 4, 16 + k % 3 * 2, 10);
            } else if (street >= 12 && k % 3 == 0 && FreeGround(map, c, 8, 6)) {
                Tree(p, c, s);
            }
        }
    for (int n = 0; n < map.count; ++n) TownPlace(p, n, NodePoint(map.places[n]), s);
    NamePlates(p, map, s);
    return p;
}

// ---- the land

void LandPlace(Picture& p, int n, Pt c, const Scheme& s) {
    switch (n) {
        case 0:  // the town: a wall round its roofs
            p.Ellipse(c.x, c.y, 17, 13, s.wallEdge);
            p.Ellipse(c.x, c.y, 15.5, 11.5, s.paving);
            House(p, {c.x - 6, c.y - 1}, s, 0, 10, 7);
            House(p, {c.x + 6, c.y - 3}, s, 1, 10, 7);
            House(p, {c.x + 1, c.y + 5}, s, 2, 12, 7);
            break;
        case 1:  // the deep wood: a clearing ringed by firs
            for (int i = 0; i < 6; ++i) {
                const double a = i * 1.047;
                Fir(p, {c.x + 12 * std::cos(a), c.y + 9 * std::sin(a)}, s);
            }
            Fir(p, c, s);
            break;
        case 2:  // the spring: a pool among the trees
            p.Ellipse(c.x, c.y + 2, 13, 8, s.rock);
            p.Ellipse(c.x, c.y + 2, 11, 6.5, s.water);
            p.Ellipse(c.x - 3, c.y + 1, 4, 2, s.waterLight);
            Tree(p, {c.x - 12, c.y - 6}, s, 0.8);
            break;
        case 3:  // the waterfall: a cliff, the falling water and its pool
            Rocks(p, c, s, 1.1);
            p.Rect(int(c.x) - 3, int(c.y) - 12, 7, 20, s.waterLight);
            p.Rect(int(c.x) - 1, int(c.y) - 12, 2, 20, kWhite);
            p.Ellipse(c.x, c.y + 10, 11, 4, s.water);
            break;
        case 4:  // the cave: a dark mouth in the rock
            Rocks(p, c, s, 1.0);
            p.Ellipse(c.x + 1, c.y + 3, 6, 7, Cube(0, 0, 0));
            p.Rect(int(c.x) - 5, int(c.y) + 3, 13, 6, Cube(0, 0, 0));
            break;
        case 5:  // the mountain path: a track zigzagging up the slope
            Rocks(p, c, s, 0.9);
            p.Line(int(c.x) - 10, int(c.y) + 6, int(c.x) + 6, int(c.y) + 1, s.street);
            p.Line(int(c.x) + 6, int(c.y) + 1, int(c.x) - 4, int(c.y) - 5, s.street);
            p.Line(int(c.x) - 4, int(c.y) - 5, int(c.x) + 3, int(c.y) - 10, s.street);
            break;
        case 6:  // the crater: the volcano's top, glowing
            p.Polygon({{c.x - 18, c.y + 11},
                       {c.x - 7, c.y - 6},
                       {c.x + 7, c.y - 6},
                       {c.x + 18, c.y + 11}},
                      s.rock);
            p.Ellipse(c.x, c.y - 5, 8, 3, Cube(5, 2, 0));
            p.Ellipse(c.x, c.y - 5, 5, 2, Cube(5, 4, 1));
            break;
        case 7:  // the hill of the great tree
            p.Ellipse(c.x, c.y + 8, 20, 8, s.grassDot);
            Tree(p, {c.x, c.y - 2}, s, 1.7);
            break;
        case 8:  // the lake's shore: a jetty
            p.Rect(int(c.x) - 2, int(c.y) - 2, 5, 14, s.trunk);
            p.Rect(int(c.x) - 7, int(c.y) - 4, 15, 4, s.trunk);
            break;
        case 9:  // the beach: a parasol on the sand
            p.Ellipse(c.x, c.y + 4, 16, 8, s.sand);
            p.Rect(int(c.x), int(c.y) - 6, 1, 14, s.wallEdge);
            p.Polygon({{c.x - 11, c.y - 4}, {c.x, c.y - 12}, {c.x + 11, c.y - 4}}, s.roofs[0]);
            break;
        case 10:  // the hot spring: a steaming pool in its stones
            p.Ellipse(c.x, c.y + 3, 14, 8, s.rock);
            p.Ellipse(c.x, c.y + 3, 11, 5.5, s.waterLight);
            for (int i = -1; i <= 1; ++i)
                p.Ellipse(c.x + 6 * i, c.y - 8 + (i & 1) * 2, 2, 4,
                          s.night ? Cube(2, 2, 3) : Cube(5, 5, 5));
            break;
        default:  // the great witch's cottage, alone in the wood
            House(p, c, s, 2, 16, 11);
            p.Polygon({{c.x - 10, c.y - 1}, {c.x, c.y - 17}, {c.x + 10, c.y - 1}}, s.roofs[2]);
            p.Rect(int(c.x) + 5, int(c.y) - 13, 3, 6, s.wallEdge);
            break;
    }
}

Picture LandPicture(const Scheme& s) {
    const MapArt& map = kLand;
    Picture p(kMapW, kMapH, s.grass);
    for (int y = 6; y < kMapH; y += 12)
        for (int x = (y / 12 % 2) * 6 + 3; x < kMapW; x += 12) p.Set(x, y, s.grassDot);
    // The sea in the south-west behind its beach, the lake in the south-east.
    p.Ellipse(40, 520, 250, 150, s.sand);
    p.Ellipse(30, 540, 236, 140, s.water);
    for (int i = 0; i < 6; ++i) p.Rect(40 + 30 * i, 440 + (i % 3) * 9, 12, 1, s.waterLight);
    p.Ellipse(596, 372, 64, 40, s.grassDot);
    p.Ellipse(596, 374, 60, 36, s.water);
    p.Rect(570, 366, 24, 1, s.waterLight);
    // The river from the waterfall down to the sea.
    const Pt fall = NodePoint(kLandPlaces[3]);
    for (const auto& [a, b] :
         {std::pair{Pt{fall.x, fall.y + 10}, Pt{100, 220}}, std::pair{Pt{100, 220}, Pt{118, 300}},
          std::pair{Pt{118, 300}, Pt{130, 392}}})
        ThickLine(p, a, b, 7, s.water);
    // Fields round the town.
    for (const auto& [x, y, w, h, across] :
         {std::tuple{196, 236, 60, 34, true}, std::tuple{262, 240, 56, 30, false},
          std::tuple{326, 232, 64, 36, true}, std::tuple{300, 286, 70, 30, false},
          std::tuple{380, 280, 60, 34, true}, std::tuple{200, 290, 56, 30, false}})
        Field(p, x, y, w, h, s, across);
    // The mountains of the west, the volcano above them.
    for (const auto& [x, y, w, h] :
         {std::tuple{60.0, 74.0, 50.0, 56.0}, std::tuple{150.0, 60.0, 46.0, 50.0},
          std::tuple{30.0, 170.0, 40.0, 40.0}, std::tuple{170.0, 190.0, 36.0, 34.0},
          std::tuple{110.0, 40.0, 60.0, 40.0}})
        Mountain(p, {x, y}, s, w, h);
    Roads(p, map, s, 5);
    // Woods in the north and east, trees scattered elsewhere.
    for (int y = 30; y < kMapH - 6; y += 13)
        for (int x = 6 + (y / 13 % 2) * 8; x < kMapW - 6; x += 16) {
            const int k = Hash(x, y);
            const Pt c{x + double(k % 7) - 3, y + double(k / 7 % 5) - 2};
            if (!FreeGround(map, c, 7, 3)) continue;
            const bool north = (c.x > 160 && c.x < 330 && c.y > 50 && c.y < 170) ||
                               (c.x > 380 && c.x < 520 && c.y > 30 && c.y < 150);
            const bool west = c.x < 200 && c.y < 230;
            const bool wet = c.y > 380 || std::hypot((c.x - 596) / 70, (c.y - 374) / 46) < 1 ||
                             std::hypot((c.x - 40) / 256, (c.y - 520) / 156) < 1;
            const bool fields = c.x > 190 && c.x < 446 && c.y > 228 && c.y < 322;
            if (wet || fields) continue;
            if (north) {
                if (k % 5 != 0) Fir(p, c, s);
            } else if (west) {
                if (k % 4 == 0) Rocks(p, c, s, 0.5);
            } else if (k % 4 == 0) {
                Tree(p, c, s, 0.8);
            }
        }
    for (int n = 0; n < map.count; ++n) LandPlace(p, n, NodePoint(map.places[n]), s);
    NamePlates(p, map, s);
    return p;
}

// The place marks, 23 pixels apart: the town's first, then the land's from y = 207.
// A mark is a round badge, so an open place stands out.
Picture MarkSheet() {
    Picture p(kMarkSize, kLandMarkTop + kMarkSize * kLandNodes, kKey);
    auto badge = [&](int top, std::uint8_t fill) {
        const double c = kMarkSize / 2.0;
        p.Ellipse(c, top + c, 10.5, 10.5, kInk);
        p.Ellipse(c, top + c, 9, 9, fill);
        p.Ellipse(c, top + c, 5, 5, kWhite);
    };
    for (int i = 0; i < kTownNodes; ++i) badge(kMarkSize * i, Cube(5, 1, 1));
    for (int i = 0; i < kLandNodes; ++i) badge(kLandMarkTop + kMarkSize * i, Cube(1, 2, 5));
    p.Set(0, 0, kKey);
    return p;
}

// The walker: the heroine small, in her dark dress and pointed hat, facing left, two
// frames side by side (40 pixels each) with the legs apart on the second.
Picture WalkerSheet() {
    return Sheet(2, 1, 40, 40, kKey, [](Picture& f, int frame, int) {
        const std::uint8_t dress = Cube(2, 0, 3), hat = Cube(1, 0, 2);
        f.Polygon({{20, 2}, {29, 14}, {11, 14}}, hat);     // hat
        f.Rect(9, 13, 22, 3, hat);                         // brim
        f.Ellipse(19, 19, 5, 5, kSkin);                    // face
        f.Set(16, 19, kInk);                               // eye, looking left
        f.Polygon({{19, 23}, {28, 34}, {10, 34}}, dress);  // dress
        f.Rect(8, 24, 3, 8, Cube(4, 3, 1));                // broom handle
        const int spread = frame ? 3 : 0;
        f.Rect(15 - spread, 34, 3, 5, kInk);
        f.Rect(22 + spread, 34, 3, 5, kInk);
        f.Set(0, 0, kKey);
    });
}

std::vector<PathGraphNode> Graph(const MapArt& map) {
    std::vector<PathGraphNode> nodes(map.count);
    for (int n = 0; n < map.count; ++n) {
        const Pt c = NodePoint(map.places[n]);
        nodes[n].x = int(c.x);
        nodes[n].y = int(c.y);
    }
    for (int i = 0; i < map.roadCount; ++i) {
        nodes[map.roads[i][0]].links.push_back(map.roads[i][1]);
        nodes[map.roads[i][1]].links.push_back(map.roads[i][0]);
    }
    return nodes;
}

}  // namespace

bool WriteMapPack(const std::filesystem::path& root) {
    if (!LayoutClear(kTown) || !LayoutClear(kLand)) return false;
    std::vector<PackMember> members;
    for (int v = 0; v < 4; ++v) {
        members.push_back(
            {"map_town" + std::to_string(v) + ".bmp", PictureBmp8(TownPicture(SchemeOf(v))), true});
        members.push_back(
            {"map_land" + std::to_string(v) + ".bmp", PictureBmp8(LandPicture(SchemeOf(v))), true});
    }
    members.push_back({"map_chr.bmp", PictureBmp8(WalkerSheet()), false});
    members.push_back({"mark.bmp", PictureBmp8(MarkSheet()), false});
    members.push_back({"town.plf", Regions(kTown), false});
    members.push_back({"land.plf", Regions(kLand), false});
    members.push_back({"town.sld", BuildPathGraphFile(Graph(kTown)), false});
    members.push_back({"land.sld", BuildPathGraphFile(Graph(kLand)), false});
    return WritePack(root / "col24b" / "mapPack" / "mapPack.pak", members);
}

}  // namespace mkgamedata
