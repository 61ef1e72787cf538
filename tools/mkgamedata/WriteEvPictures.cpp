// The event stage's picture packs, in both art folders ("col24b" and "col8b"):
// "evpack\FC_PACK.pak" (the character figures), "evpack\bkTown.pak" and
// "evpack\bkLand.pak" (the place backgrounds) and "evpack\evGraph.pak" (the event
// pictures), every member that the name tables name.
//
// Placeholders that read well on the stage: a background shows its place's name and
// number and the hours it serves over a plain scene in its own colour, an event
// picture its index and catalogue label, a figure its pose number, character and
// expression on a silhouette over the key colour (the top-left pixel, which the stage
// draws transparent). Labels stand high, clear of the message window.
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

// The hours a background serves, by variant; land places have a rain variant.
const char* const kVariantNames[4] = {"白天", "傍晚", "夜晚", "雨天"};

// Sky, ground and a few shapes; `land` draws trees, the town houses, `indoor` a room.
// The variant `v` picks the colours; `title` names the place, `when` the hours it serves.
Picture Background(int place, int v, bool land, bool indoor, const std::string& title,
                   const std::string& when, const std::string& name) {
    const int hue = place % 6;
    const std::uint8_t sky[4] = {Cube(2, 4, 5), Cube(5, 3, 1), Cube(0, 0, 2), Cube(2, 2, 3)};
    const std::uint8_t ground[4] = {Cube(hue % 3 + 1, 3, hue % 2), Cube(3, 2, 0), Cube(0, 1, 1),
                                    Cube(1, 2, 1)};
    const bool dark = v == 2;
    Picture p(kW, kH, sky[v]);
    if (indoor) {
        // A room: the wall, a window showing the hour's sky, a door and the floor.
        p.Rect(0, 0, kW, 320, Cube(4, 3 + hue % 2, 2 + hue % 3));
        p.Rect(0, 320, kW, kH - 320, Cube(3, 2, 1));
        p.Line(0, 320, kW - 1, 320, kInk);
        p.Rect(80, 150, 150, 110, sky[v]);
        p.Frame(80, 150, 150, 110, Cube(2, 1, 0));
        p.Line(155, 150, 155, 259, Cube(2, 1, 0));
        p.Rect(430, 170, 90, 150, Cube(2, 1, 0));
        p.Rect(500, 245, 8, 8, Cube(5, 4, 1));
    } else {
        p.Rect(0, 300, kW, kH - 300, ground[v]);
        p.Line(0, 300, kW - 1, 300, kInk);
        for (int i = 0; i < 5; ++i) {
            const int x = 30 + i * 128 + (place * 17 + i * 29) % 40;
            if (land) {
                p.Rect(x + 26, 250, 12, 60, Cube(2, 1, 0));
                p.Ellipse(x + 32, 230, 40 - (i % 2) * 8, 44, dark ? Cube(0, 1, 0) : Cube(0, 3, 1));
            } else {
                const int h = 70 + (place * 7 + i * 23) % 60;
                const std::uint8_t wall = dark ? Cube(1, 1, 2) : Cube(4, 3 + i % 2, 2 + hue % 3);
                p.Rect(x, 300 - h, 80, h, wall);
                p.Polygon({{x - 8.0, 300.0 - h}, {x + 40.0, 300.0 - h - 36}, {x + 88.0, 300.0 - h}},
                          Cube(3, 0 + i % 2, 0));
                p.Rect(x + 30, 300 - 36, 20, 36, kInk);
                p.Rect(x + 10, 300 - h + 16, 14, 14, dark ? Cube(5, 5, 1) : Cube(1, 3, 5));
            }
        }
    }
    if (v == 3)  // rain
        for (int i = 0; i < 60; ++i) {
            const int x = (i * 97) % kW;
            const int y = (i * 53) % 260 + 40;
            p.Line(x, y, x - 6, y + 18, Cube(4, 4, 5));
        }
    // In the sky, clear of the message window that covers the stage's lower part.
    Plate(p, 60, 16, 520, {{title, 24}, {when, 20}, {name, 14}});
    return p;
}

Picture EventPicture(int index, const std::string& name) {
    Picture p(kW, kH, Cube(1 + index % 3, 1, 2 + index % 2));
    p.Frame(16, 16, kW - 32, kH - 32, Cube(5, 5, 3));
    p.Frame(20, 20, kW - 40, kH - 40, Cube(5, 5, 3));
    p.Ellipse(320, 200, 180, 120, Cube(2 + index % 4, 2, 3 + index % 3));
    p.Ellipse(320, 200, 120, 80, Cube(4, 3 + index % 3, 4));
    // At the top, clear of the message window; the catalogue's label where it has one.
    std::vector<std::pair<std::string, int>> lines = {{"事件圖 " + std::to_string(index), 28}};
    const std::string label = PictureCaption(PictureCode(kEventKind, index));
    if (!label.empty()) lines.push_back({label, 16});
    lines.push_back({name, 14});
    Plate(p, 100, 36, 440, lines);
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
    Plate(p, 24, 144, 152,
          {{"姿勢 " + std::to_string(n), 20},
           {FigureCharacter(n), 20},
           {PictureCaption(PictureCode(kFigureKind, n)), 14},
           {name, 12}});
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
    // Each member once, labelled with its place and the hours it serves there.
    auto addBackgrounds = [&](std::vector<PackMember>& pack, const auto& names, bool land) {
        const int variants = land ? 4 : 3;
        for (int i = 0; i < int(names.size()); ++i) {
            const std::string& name = names[i];
            if (!isPicture(name)) continue;
            const int place = i / 4;
            std::string when;
            int served = 0;
            for (int v = 0; v < 4; ++v)
                if (names[place * 4 + v] == name) {
                    when += (when.empty() ? "" : "‧") + std::string(kVariantNames[v]);
                    ++served;
                }
            if (served >= variants) when = "所有時段";
            std::string title = land ? LandPlaceCaption(place + 32) : TownPlaceCaption(place);
            title += land ? " （野外 " + std::to_string(place + 32) + "）"
                          : " （城鎮 " + std::to_string(place) + "）";
            if (!land && place == 20) when = PictureCaption(PictureCode(kTownKind, i));
            // The shop's rooms, the other houses' rooms, the castle and the wizard's room.
            const bool indoor = land ? place == 12 : (place >= 10 && place <= 17) || place >= 20;
            pack.push_back({name,
                            PictureBmp8(Background(place, i % 4, land, indoor, title, when, name)),
                            false});
        }
    };
    addBackgrounds(town, TownBgNames, false);
    seen.clear();
    addBackgrounds(land, LandBgNames, true);
    seen.clear();
    for (int k = 0; k < kEvGrCount; ++k) {
        const std::string& name = EvGrNames[k];
        if (!isPicture(name) || name.find(".avi") != std::string::npos) continue;
        const Picture p = k == kMsgWinPicture ? MessageFrame(name) : EventPicture(k, name);
        events.push_back({name, PictureBmp8(p), false});
    }
    // The 24-bit folder is the one the program prefers; the 8-bit folder holds the
    // same files, linked rather than written twice.
    const std::filesystem::path& evpack = evpacks.front();
    const std::pair<int, const std::vector<PackMember>*> packs[] = {
        {kFigureKind, &figures}, {kTownKind, &town}, {kLandKind, &land}, {kEventKind, &events}};
    for (const auto& [kind, members] : packs) {
        if (!WritePack(evpack / GrPackNames[kind], *members)) return false;
        for (std::size_t k = 1; k < evpacks.size(); ++k)
            if (!MirrorFile(evpack / GrPackNames[kind], evpacks[k] / GrPackNames[kind]))
                return false;
    }
    return true;
}

}  // namespace

bool WriteEvPictures(const std::filesystem::path& root) {
    return WriteFolders({root / "col24b" / "evpack", root / "col8b" / "evpack"});
}

}  // namespace mkgamedata
