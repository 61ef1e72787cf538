// The event stage's picture packs, in both art folders ("col24b" and "col8b"):
// "evpack\FC_PACK.pak" (the character figures), "evpack\bkTown.pak" and
// "evpack\bkLand.pak" (the place backgrounds) and "evpack\evGraph.pak" (the event
// pictures), every member that the name tables name.
//
// Backgrounds are drawn as their places in the light of their hour, event pictures as
// the scenes they show, figures as their characters with the pose's expression, on the
// key colour (the top-left pixel, which the stage draws transparent).
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tools/mkgamedata/Art.h"
#include "tools/mkgamedata/PackWriter.h"
#include "tools/mkgamedata/Scenery.h"
#include "town/EvPictures.h"

namespace mkgamedata {

namespace {

constexpr int kW = 640;
constexpr int kH = 480;
constexpr std::uint8_t kFigureKey = Cube(5, 0, 5);

// The message window's frame: a wooden panel along the bottom, the rest see-through.
Picture MessageFrame() {
    Picture p(kW, kH, kFigureKey);
    p.Rect(0, 340, kW, 140, Cube(4, 3, 2));
    p.Frame(4, 344, kW - 8, 132, Cube(2, 1, 0));
    p.Frame(8, 348, kW - 16, 124, Cube(5, 5, 3));
    return p;
}

Picture FigurePicture(int n, const std::string& name) {
    if (name == "Nobody.bmp") return Picture(8, 8, kFigureKey);  // no one: all transparent
    return FigureScene(n, PictureCaption(PictureCode(kFigureKind, n)), kFigureKey);
}

// Stored as they are: compressing them would cost more time than the disk space saves.
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
    // Each member once, drawn as its place at the first hour it serves.
    auto addBackgrounds = [&](std::vector<PackMember>& pack, const auto& names, bool land) {
        for (int i = 0; i < int(names.size()); ++i) {
            const std::string& name = names[i];
            if (!isPicture(name)) continue;
            const int place = i / 4;
            // The heroine's upstairs rooms are three pictures, not three hours.
            const bool rooms = !land && place >= 20;
            const Hour hour = rooms ? Hour::Day : static_cast<Hour>(i % 4);
            const Picture p = land ? LandScene(place + 32, hour) : TownScene(place, hour, i % 4);
            pack.push_back({name, PictureBmp8(p), false});
        }
    };
    addBackgrounds(town, TownBgNames, false);
    seen.clear();
    addBackgrounds(land, LandBgNames, true);
    seen.clear();
    for (int k = 0; k < kEvGrCount; ++k) {
        const std::string& name = EvGrNames[k];
        if (!isPicture(name) || name.find(".avi") != std::string::npos) continue;
        const Picture p = k == kMsgWinPicture ? MessageFrame() : EventScene(k);
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
