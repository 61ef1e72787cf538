#include "town/EvPictures.h"

#include <cstdio>

namespace {

template <std::size_t N, class Fill>
std::array<std::string, N> Build(Fill fill) {
    std::array<std::string, N> a{};
    fill(a);
    return a;
}

// Poses per character, in pack order after the heroine's five.
struct PoseRun {
    const char* prefix;
    int count;
};
constexpr PoseRun kPoseRuns[] = {
    {"fcSak", 5}, {"fcFer", 3}, {"fcPri", 4}, {"fcRn0", 3}, {"fcRn1", 3}, {"fcRn2", 2},
    {"fcCo0", 3}, {"fcCo1", 6}, {"fcMot", 5}, {"fcFmo", 1}, {"fcRfa", 2}, {"fcKng", 2},
    {"fcMag", 1}, {"fcBoy", 1}, {"fcFl0", 6}, {"fcFl1", 9},
};

std::string Numbered(const char* prefix, int n, const char* ext) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s%02d%s", prefix, n, ext);
    return buf;
}

// Town place p's picture stem ("bgpalf" gives bgpalf1..3 for day, evening, night).
// Places whose one picture serves all three hours have `oneForAll`.
struct TownPlace {
    const char* stem;
    bool oneForAll;
};
constexpr TownPlace kTownPlaces[22] =
    {
        {"bgpalf", false}, {"bgflwr", false}, {"bgchrc", false}, {"bgmrkt", false},
        {"bgsqre", false}, {"bgbrdg", false}, {"bggate", false}, {"bglibo", false},
        {nullptr, false},  // place 8: "dmy" in all four
        {"bghill", false}, {"bgshop", false}, {"bgshpk", true},  {"bgflrm", true},
        {"bgchin", true},  {"bgrivr", false}, {"bgwell", false}, {"bgfarm", false},
        {"bglibr", true},  {"bgpark", false}, {"bgfnte", false}, {nullptr, false},  // 20 below
        {nullptr, false},
};

}  // namespace

const std::array<const char*, kPictureKinds> GrPackNames = {"FC_PACK.pak", "bkTown.pak",
                                                            "bkLand.pak", "evGraph.pak"};

const std::array<int, 16> FigureGroup = {0,  5,  8,  12, 20, 23, 29, 34,
                                         35, 37, 39, 40, 41, 43, 47, -1};

const std::array<std::string, kFaceGrCount> FaceGrNames =
    Build<kFaceGrCount>([](std::array<std::string, kFaceGrCount>& a) {
        int i = 0;
        for (const PoseRun& run : kPoseRuns)
            for (int k = 0; k < run.count; ++k)
                a[i++] = Numbered((std::string(run.prefix) + "_").c_str(), k, ".bmp");
        a[56] = "Nobody.bmp";
        a[57] = "fcLaz_00.bmp";
    });

const std::array<std::string, kTownBgCount> TownBgNames =
    Build<kTownBgCount>([](std::array<std::string, kTownBgCount>& a) {
        for (int p = 0; p < 22; ++p) {
            const TownPlace& t = kTownPlaces[p];
            for (int v = 0; v < 4; ++v) {
                std::string& name = a[p * 4 + v];
                if (v == 3 || (t.stem == nullptr && p == 8))
                    name = "dmy";
                else if (t.stem != nullptr)
                    name =
                        std::string(t.stem) + (t.oneForAll ? "" : std::to_string(v + 1)) + ".bmp";
            }
        }
        a[80] = "bgshop2F0.bmp";
        a[81] = "bgshop2F1.bmp";
        a[82] = "bgshop2F2.bmp";
        a[83] = "bgshop2F.bmp";
        a[84] = "bgShop2F3.bmp";
        a[85] = "bgShop2F3.bmp";
        a[86] = "";
        a[87] = "";
    });

const std::array<std::string, kLandBgCount> LandBgNames =
    Build<kLandBgCount>([](std::array<std::string, kLandBgCount>& a) {
        constexpr const char* kStems[13] = {"bgfor", "bgmdw", "bglak", "bgcav", "bgruin",
                                            "bgspr", "bgwiz", "bgclf", "bgvly", "bgmrs",
                                            "bgfld", "bgtre", "bgrck"};
        for (int p = 0; p < 13; ++p)
            for (int v = 0; v < 4; ++v)
                a[p * 4 + v] = std::string(kStems[p]) + std::to_string(v + 1) + ".bmp";
    });

std::array<std::string, kEvGrCount> EvGrNames =
    Build<kEvGrCount>([](std::array<std::string, kEvGrCount>& a) {
        for (int k = 0; k <= 44; ++k) a[k] = Numbered("evg", k, ".bmp");
        a[45] = "evg09_1.bmp";
        a[46] = "evg45.BMP";
        for (int k = 47; k <= 49; ++k) a[k] = Numbered("evg", k - 1, ".bmp");
        a[50] = "pal_01.bmp";
        a[51] = "pal_02.bmp";
        for (int k = 52; k <= 54; ++k) a[k] = "\\mivuto_s.avi";
        a[62] = "win_mes2.bmp";
    });

int FigureGroupOf(int n) {
    int group = 0;
    for (int start : FigureGroup) {
        if (start < 0 || start > n) break;
        ++group;
    }
    return group;
}

std::string PictureMemberName(int code, bool landLate) {
    if (code < 0) return {};
    const int kind = code >> 8;
    int index = code & 255;
    switch (kind) {
        case kFigureKind:
            return index < kFaceGrCount ? FaceGrNames[index] : std::string();
        case kTownKind:
            return index < kTownBgCount ? TownBgNames[index] : std::string();
        case kLandKind:
            if (landLate) index = (index & ~3) + 3;
            return index < kLandBgCount ? LandBgNames[index] : std::string();
        case kEventKind:
            return index < kEvGrCount ? EvGrNames[index] : std::string();
        default:
            return {};
    }
}
