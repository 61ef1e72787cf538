// The map pack "col24b\mapPack\mapPack.pak": the town and land pictures in their four
// variants ("map_town0.bmp".."map_town3.bmp", "map_land0.bmp".."map_land3.bmp"), the
// walker sheet "map_chr.bmp", the place marks "mark.bmp", the click regions
// "town.plf"/"land.plf" and the path graphs "town.sld"/"land.sld".
//
// Each picture draws every place as a house with its name on a plate under it, with the
// roads of the path graph between them and plain scenery (roofs, trees, mountains,
// water) on the free ground; nothing else is written on it. The mark of an
// open place is laid over the house by the map screen; a region covers the mark and the
// name, so a click on either goes to the place. Places and names keep clear of what
// covers the picture on the screen (kMapCovered): the writer refuses a layout that
// does not.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
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
constexpr std::uint8_t kKey = 0;  // the sheets' transparent colour (their top-left pixel)

// Roads of the two maps, each pair linked both ways.
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
};

const MapArt kTown = {"map_town", kTownPlaces, kTownNodes, kTownRoads, int(std::size(kTownRoads))};
const MapArt kLand = {"map_land", kLandPlaces, kLandNodes, kLandRoads, int(std::size(kLandRoads))};

// A node stands at the centre of its mark.
Pt NodePoint(const MapPlace& p) { return {p.markX + kMarkSize / 2.0, p.markY + kMarkSize / 2.0}; }

struct Box {
    int l, t, r, b;  // r and b exclusive
};

// The name plate of a place, centred under its mark.
Box LabelBox(const MapArt& map, int node) {
    const MapPlace& p = map.places[node];
    const int w = TextWidthUtf8(p.name, kLabelSize) + 6;
    const int h = kLabelSize + 4;
    const int l = std::clamp(p.markX + kMarkSize / 2 - w / 2, 1, kMapW - 1 - w);
    const int t = std::clamp(p.markY + kMarkSize + 1, 1, kMapH - 1 - h);
    return {l, t, l + w, t + h};
}

// The click region of a place: the mark and the name plate, with a small margin.
std::vector<FieldPoint> PlaceRegion(const MapArt& map, int node) {
    const MapPlace& p = map.places[node];
    const Box b = LabelBox(map, node);
    const int l = std::min(p.markX, b.l) - 2, t = std::min(p.markY, b.t) - 2;
    const int r = std::max(p.markX + kMarkSize, b.r) + 1,
              btm = std::max(p.markY + kMarkSize, b.b) + 1;
    // Anticlockwise on the screen, as the regions' inside test wants.
    return {{l, t}, {l, btm}, {r, btm}, {r, t}};
}

// True when every place's region (its mark and name) lies clear of what covers the
// picture on the screen; else says which place does not.
bool LayoutClear(const MapArt& map) {
    bool clear = true;
    for (int n = 0; n < map.count; ++n) {
        const std::vector<FieldPoint> r = PlaceRegion(map, n);
        for (const MapArea& a : kMapCovered)
            if (r[0].x < a.right && r[2].x > a.left && r[0].y < a.bottom && r[2].y > a.top) {
                std::fprintf(stderr, "mkgamedata: %s place %d lies under the screen's windows\n",
                             map.member, n);
                clear = false;
            }
    }
    return clear;
}

// Colours of a variant: 0 day, 1 evening (and autumn days), 2 winter day, 3 night.
struct Scheme {
    std::uint8_t ground, pattern, road, roadEdge, house, roof, plate, text;
};

Scheme TownScheme(int v) {
    switch (v) {
        case 0:
            return {Cube(4, 5, 3), Cube(3, 5, 2), Cube(5, 5, 4), Cube(4, 3, 2),
                    Cube(5, 4, 3), Cube(4, 1, 0), kWhite,        kInk};
        case 1:
            return {Cube(5, 4, 2), Cube(5, 3, 1), Cube(5, 5, 3), Cube(3, 2, 1),
                    Cube(5, 4, 3), Cube(3, 1, 0), kWhite,        kInk};
        case 2:
            return {Cube(4, 5, 5), Cube(5, 5, 5), Cube(4, 4, 4), Cube(2, 2, 3),
                    Cube(4, 4, 5), Cube(2, 2, 4), kWhite,        kInk};
        default:
            return {Cube(0, 0, 2), Cube(0, 1, 2), Cube(1, 1, 3), Cube(0, 0, 1),
                    Cube(2, 2, 3), Cube(1, 0, 2), Cube(5, 5, 4), kInk};
    }
}

Scheme LandScheme(int v) {
    switch (v) {
        case 0:
            return {Cube(2, 4, 1), Cube(1, 3, 1), Cube(4, 3, 2), Cube(2, 1, 0),
                    Cube(5, 4, 2), Cube(3, 1, 0), kWhite,        kInk};
        case 1:
            return {Cube(4, 3, 1), Cube(3, 2, 0), Cube(5, 4, 2), Cube(2, 1, 0),
                    Cube(5, 4, 2), Cube(3, 0, 0), kWhite,        kInk};
        case 2:
            return {Cube(4, 5, 5), Cube(3, 4, 4), Cube(3, 3, 3), Cube(1, 1, 2),
                    Cube(4, 4, 5), Cube(2, 2, 4), kWhite,        kInk};
        default:
            return {Cube(0, 1, 1), Cube(0, 1, 0), Cube(1, 1, 2), Cube(0, 0, 1),
                    Cube(2, 2, 3), Cube(1, 0, 2), Cube(5, 5, 4), kInk};
    }
}

void ThickLine(Picture& p, Pt a, Pt b, int width, std::uint8_t c) {
    for (int dy = -width / 2; dy <= width / 2; ++dy)
        for (int dx = -width / 2; dx <= width / 2; ++dx)
            if (dx * dx + dy * dy <= (width / 2) * (width / 2))
                p.Line(int(a.x) + dx, int(a.y) + dy, int(b.x) + dx, int(b.y) + dy, c);
}

// A small house (or, on the land map, a hut) for a place, centred on its node.
void House(Picture& p, Pt c, const Scheme& s) {
    const int x = int(c.x) - 9, y = int(c.y) - 6;
    p.Rect(x, y, 18, 14, s.house);
    p.Frame(x, y, 18, 14, s.roadEdge);
    p.Polygon({{c.x - 12, double(y)}, {c.x, double(y) - 9}, {c.x + 12, double(y)}}, s.roof);
    p.Rect(int(c.x) - 2, y + 7, 5, 7, s.roadEdge);
}

// Distance from c to the segment a-b.
double SegmentDistance(Pt c, Pt a, Pt b) {
    const double dx = b.x - a.x, dy = b.y - a.y, len = dx * dx + dy * dy;
    const double t =
        len > 0 ? std::clamp(((c.x - a.x) * dx + (c.y - a.y) * dy) / len, 0.0, 1.0) : 0;
    return std::hypot(c.x - (a.x + t * dx), c.y - (a.y + t * dy));
}

// True where scenery may stand: away from every place, its name and every road.
bool FreeGround(const MapArt& map, Pt c) {
    for (int n = 0; n < map.count; ++n) {
        const Pt q = NodePoint(map.places[n]);
        if (std::hypot(c.x - q.x, c.y - q.y) < 30) return false;
        const Box b = LabelBox(map, n);
        if (c.x > b.l - 14 && c.x < b.r + 14 && c.y > b.t - 20 && c.y < b.b + 6) return false;
    }
    for (int i = 0; i < map.roadCount; ++i)
        if (SegmentDistance(c, NodePoint(map.places[map.roads[i][0]]),
                            NodePoint(map.places[map.roads[i][1]])) < 14)
            return false;
    return true;
}

// Scenery between the places, in the variant's colours: on the town map the roofs of
// the houses between the streets and a few trees; on the land map mountains in the
// west, woods in the north and east, and water along the south.
void Scenery(Picture& p, const MapArt& map, const Scheme& s, bool winter, bool night) {
    const bool land = map.places == kLandPlaces;
    const std::uint8_t leaf = winter ? Cube(1, 3, 2) : night ? Cube(0, 2, 1) : Cube(0, 3, 1);
    const std::uint8_t trunk = night ? Cube(1, 0, 0) : Cube(2, 1, 0);
    const std::uint8_t rock = night ? Cube(1, 1, 2) : Cube(3, 2, 2);
    const std::uint8_t snow = night ? Cube(3, 3, 4) : kWhite;
    const std::uint8_t water = night ? Cube(0, 1, 3) : winter ? Cube(3, 4, 5) : Cube(1, 3, 5);
    if (land) {  // the sea along the south, under the beach
        p.Ellipse(330, 520, 260, 90, water);
        p.Ellipse(610, 300, 44, 26, water);  // the lake beside its place
    }
    for (int y = 46; y < kMapH - 10; y += 26)
        for (int x = 14 + (y / 26 % 2) * 14; x < kMapW - 10; x += 30) {
            const int k = (x * 7 + y * 13) % 11;
            const Pt c{x + double((k * 5) % 9) - 4, double(y) + (k * 3) % 7 - 3};
            if (k > 6 || !FreeGround(map, c)) continue;
            if (land) {
                if (c.x < 250 && c.y < 230) {  // the mountains of the west
                    p.Polygon({{c.x - 14, c.y + 8}, {c.x, c.y - 14}, {c.x + 14, c.y + 8}}, rock);
                    p.Polygon({{c.x - 5, c.y - 6}, {c.x, c.y - 14}, {c.x + 5, c.y - 6}}, snow);
                } else if (c.y < 270) {  // woods
                    p.Rect(int(c.x) - 1, int(c.y) + 2, 3, 6, trunk);
                    p.Polygon({{c.x - 8, c.y + 3}, {c.x, c.y - 12}, {c.x + 8, c.y + 3}}, leaf);
                }
            } else {
                // Houses line the streets; trees stand farther out.
                double road = 1e9;
                for (int i = 0; i < map.roadCount; ++i)
                    road = std::min(road, SegmentDistance(c, NodePoint(map.places[map.roads[i][0]]),
                                                          NodePoint(map.places[map.roads[i][1]])));
                if (road < 34 && k % 4 != 0) {  // a house: its roof's two slopes
                    p.Polygon(
                        {{c.x - 9, c.y}, {c.x - 6, c.y - 6}, {c.x + 6, c.y - 6}, {c.x + 9, c.y}},
                        s.roof);
                    p.Rect(int(c.x) - 8, int(c.y), 17, 5, s.house);
                    p.Frame(int(c.x) - 8, int(c.y), 17, 5, s.roadEdge);
                } else if (k % 2 == 0) {  // a tree, snow on it in winter
                    p.Rect(int(c.x) - 1, int(c.y) + 2, 3, 6, trunk);
                    p.Ellipse(c.x, c.y - 3, 7, 7, leaf);
                    if (winter) p.Ellipse(c.x, c.y - 7, 5, 3, kWhite);
                }
            }
        }
}

Picture MapPicture(const MapArt& map, int variant, const Scheme& s) {
    Picture p(kMapW, kMapH, s.ground);
    // A light texture, so the ground does not read as an empty window.
    for (int y = 8; y < kMapH; y += 16)
        for (int x = (y / 16 % 2) * 8 + 4; x < kMapW; x += 16) p.Ellipse(x, y, 2, 1, s.pattern);
    Scenery(p, map, s, variant == 2, variant == 3);
    for (int i = 0; i < map.roadCount; ++i) {
        const Pt a = NodePoint(map.places[map.roads[i][0]]),
                 b = NodePoint(map.places[map.roads[i][1]]);
        ThickLine(p, a, b, 8, s.roadEdge);
    }
    for (int i = 0; i < map.roadCount; ++i) {
        const Pt a = NodePoint(map.places[map.roads[i][0]]),
                 b = NodePoint(map.places[map.roads[i][1]]);
        ThickLine(p, a, b, 4, s.road);
    }
    for (int n = 0; n < map.count; ++n) {
        House(p, NodePoint(map.places[n]), s);
        const Box b = LabelBox(map, n);
        p.Rect(b.l, b.t, b.r - b.l, b.b - b.t, s.plate);
        p.Frame(b.l, b.t, b.r - b.l, b.b - b.t, s.roadEdge);
        p.Text(b.l + 3, b.t + 2, map.places[n].name, kLabelSize, s.text);
    }
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

std::vector<std::uint8_t> Regions(const MapArt& map) {
    std::vector<std::vector<FieldPoint>> regions;
    for (int n = 0; n < map.count; ++n) regions.push_back(PlaceRegion(map, n));
    return BuildClickRegionFile(regions);
}

}  // namespace

bool WriteMapPack(const std::filesystem::path& root) {
    if (!LayoutClear(kTown) || !LayoutClear(kLand)) return false;
    std::vector<PackMember> members;
    for (int v = 0; v < 4; ++v) {
        members.push_back({"map_town" + std::to_string(v) + ".bmp",
                           PictureBmp8(MapPicture(kTown, v, TownScheme(v))), true});
        members.push_back({"map_land" + std::to_string(v) + ".bmp",
                           PictureBmp8(MapPicture(kLand, v, LandScheme(v))), true});
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
