// The event stage's picture packs, in both art folders ("col24b" and "col8b"):
// "evpack\FC_PACK.pak" (the character figures), "evpack\bkTown.pak" and
// "evpack\bkLand.pak" (the place backgrounds) and "evpack\evGraph.pak" (the event
// pictures), every member that the name tables name.
//
// Placeholders that read well on the stage: a background shows its place number and
// its variant (the hour) over a plain scene in its own colour, an event picture its
// index, a figure its pose number and character on a silhouette over the key colour
// (the top-left pixel, which the stage draws transparent).
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tools/mkgamedata/Art.h"
#include "tools/mkgamedata/PackWriter.h"
#include "town/EvPictures.h"

namespace mkgamedata {

namespace {

constexpr int kW = 640;
constexpr int kH = 480;
constexpr std::uint8_t kFigureKey = Cube(5, 0, 5);
constexpr int kFigureW = 200;
constexpr int kFigureH = 400;

// A label plate: dark with a light rule, text lines centred.
void Plate(Picture& p, int x, int y, int w, const std::vector<std::pair<std::string, int>>& lines) {
    int h = 12;
    for (const auto& l : lines) h += l.second + 8;
    p.Rect(x, y, w, h, kInk);
    p.Frame(x + 2, y + 2, w - 4, h - 4, Cube(5, 5, 3));
    int ty = y + 10;
    for (const auto& [text, size] : lines) {
        p.TextCentred(x, ty, w, size, text, size, kWhite, size >= 20);
        ty += size + 8;
    }
}

const char* const kVariantNames[4] = {"白天", "傍晚", "夜晚", "深夜"};

// Sky, ground and a few shapes; `land` draws trees, the town houses.
Picture Background(int place, int variant, bool land, bool oneForAll, const std::string& name) {
    const int hue = place % 6;
    const std::uint8_t sky[4] = {Cube(2, 4, 5), Cube(5, 3, 1), Cube(0, 0, 2), Cube(1, 0, 2)};
    const std::uint8_t ground[4] = {Cube(hue % 3 + 1, 3, hue % 2), Cube(3, 2, 0), Cube(0, 1, 1),
                                    Cube(1, 0, 1)};
    const int v = oneForAll ? 0 : variant;
    Picture p(kW, kH, sky[v]);
    p.Rect(0, 300, kW, kH - 300, ground[v]);
    p.Line(0, 300, kW - 1, 300, kInk);
    for (int i = 0; i < 5; ++i) {
        const int x = 30 + i * 128 + (place * 17 + i * 29) % 40;
        if (land) {
            p.Rect(x + 26, 250, 12, 60, Cube(2, 1, 0));
            p.Ellipse(x + 32, 230, 40 - (i % 2) * 8, 44, v >= 2 ? Cube(0, 1, 0) : Cube(0, 3, 1));
        } else {
            const int h = 70 + (place * 7 + i * 23) % 60;
            const std::uint8_t wall = v >= 2 ? Cube(1, 1, 2) : Cube(4, 3 + i % 2, 2 + hue % 3);
            p.Rect(x, 300 - h, 80, h, wall);
            p.Polygon({{x - 8.0, 300.0 - h}, {x + 40.0, 300.0 - h - 36}, {x + 88.0, 300.0 - h}},
                      Cube(3, 0 + i % 2, 0));
            p.Rect(x + 30, 300 - 36, 20, 36, kInk);
            p.Rect(x + 10, 300 - h + 16, 14, 14, v >= 2 ? Cube(5, 5, 1) : Cube(1, 3, 5));
        }
    }
    const std::string where =
        std::string(land ? "野外 地點 " : "城鎮 地點 ") + std::to_string(land ? place + 32 : place);
    const std::string when = oneForAll ? "所有時段" : kVariantNames[variant];
    // In the sky, clear of the message window that covers the stage's lower part.
    Plate(p, 170, 16, 300, {{where, 24}, {when, 20}, {name, 14}});
    return p;
}

Picture EventPicture(int index, const std::string& name) {
    Picture p(kW, kH, Cube(1 + index % 3, 1, 2 + index % 2));
    p.Frame(16, 16, kW - 32, kH - 32, Cube(5, 5, 3));
    p.Frame(20, 20, kW - 40, kH - 40, Cube(5, 5, 3));
    p.Ellipse(320, 200, 180, 120, Cube(2 + index % 4, 2, 3 + index % 3));
    p.Ellipse(320, 200, 120, 80, Cube(4, 3 + index % 3, 4));
    Plate(p, 180, 330, 280, {{"事件圖 " + std::to_string(index), 28}, {name, 14}});
    return p;
}

Picture MessageFrame(const std::string& name) {
    Picture p(kW, kH, kFigureKey);
    p.Rect(0, 340, kW, 140, Cube(4, 3, 2));
    p.Frame(4, 344, kW - 8, 132, Cube(2, 1, 0));
    p.Frame(8, 348, kW - 16, 124, Cube(5, 5, 3));
    Plate(p, 200, 120, 240, {{"訊息框", 24}, {name, 14}});
    return p;
}

// Character colours by figure group (1..15).
std::uint8_t GroupColour(int group) {
    constexpr std::uint8_t kColours[16] = {
        Cube(3, 3, 3), Cube(4, 1, 4), Cube(1, 3, 1), Cube(4, 3, 0), Cube(0, 2, 4), Cube(4, 0, 1),
        Cube(1, 4, 4), Cube(5, 4, 0), Cube(2, 1, 5), Cube(0, 4, 0), Cube(5, 1, 3), Cube(1, 2, 2),
        Cube(5, 3, 1), Cube(3, 3, 0), Cube(0, 1, 3), Cube(2, 5, 2)};
    return kColours[group & 15];
}

Picture FigurePicture(int n, const std::string& name) {
    if (name == "Nobody.bmp") return Picture(8, 8, kFigureKey);  // no one: all transparent
    const int group = FigureGroupOf(n);
    const std::uint8_t body = GroupColour(group);
    Picture p(kFigureW, kFigureH, kFigureKey);
    const double cx = kFigureW / 2.0;
    const int lean = (n % 3 - 1) * 10;  // poses lean a little differently
    p.Polygon({{cx - 60.0, kFigureH - 1.0},
               {cx - 30.0 + lean, 130.0},
               {cx + 30.0 + lean, 130.0},
               {cx + 60.0, kFigureH - 1.0}},
              body);
    p.Ellipse(cx + lean, 90, 40, 46, kSkin);
    p.Ellipse(cx + lean, 60, 46, 24, body);
    p.Rect(int(cx) - 14 + lean, 86, 6, 6, kInk);
    p.Rect(int(cx) + 8 + lean, 86, 6, 6, kInk);
    const std::string who = name.substr(0, name.find('_'));
    Plate(p, 30, 144, 140, {{"姿勢 " + std::to_string(n), 20}, {who, 14}});
    return p;
}

// Stored as they are: the flat placeholders would cost more time to compress than
// the disk space they take.
bool WriteFolders(const std::vector<std::filesystem::path>& evpacks) {
    std::vector<PackMember> figures, town, land, events;
    for (int n = 0; n < kFaceGrCount; ++n)
        if (!FaceGrNames[n].empty())
            figures.push_back(
                {FaceGrNames[n], PictureBmp8(FigurePicture(n, FaceGrNames[n])), false});
    std::set<std::string> seen;
    auto isPicture = [&](const std::string& name) {
        return !name.empty() && name != "dmy" && seen.insert(name).second;
    };
    for (int i = 0; i < kTownBgCount; ++i) {
        const std::string& name = TownBgNames[i];
        if (!isPicture(name)) continue;
        const int place = i / 4;
        // One picture for all hours: its name ends without the variant digit.
        const bool oneForAll =
            name.find_first_of("0123456789") == std::string::npos || name == "bgshop2F.bmp";
        town.push_back(
            {name, PictureBmp8(Background(place, i % 4, false, oneForAll, name)), false});
    }
    seen.clear();
    for (int i = 0; i < kLandBgCount; ++i) {
        const std::string& name = LandBgNames[i];
        if (!isPicture(name)) continue;
        land.push_back({name, PictureBmp8(Background(i / 4, i % 4, true, false, name)), false});
    }
    seen.clear();
    for (int k = 0; k < kEvGrCount; ++k) {
        const std::string& name = EvGrNames[k];
        if (!isPicture(name) || name.find(".avi") != std::string::npos) continue;
        const Picture p = k == kMsgWinPicture ? MessageFrame(name) : EventPicture(k, name);
        events.push_back({name, PictureBmp8(p), false});
    }
    for (const std::filesystem::path& evpack : evpacks)
        if (!WritePack(evpack / GrPackNames[kFigureKind], figures) ||
            !WritePack(evpack / GrPackNames[kTownKind], town) ||
            !WritePack(evpack / GrPackNames[kLandKind], land) ||
            !WritePack(evpack / GrPackNames[kEventKind], events))
            return false;
    return true;
}

}  // namespace

bool WriteEvPictures(const std::filesystem::path& root) {
    return WriteFolders({root / "col24b" / "evpack", root / "col8b" / "evpack"});
}

}  // namespace mkgamedata
