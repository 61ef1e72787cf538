#include "town/EvPictures.h"

#include <cstdio>

namespace {

template <std::size_t N, class Fill>
std::array<std::string, N> Build(Fill fill) {
    std::array<std::string, N> a{};
    fill(a);
    return a;
}

// The figure poses: member, the catalogue's label and whose figure it is.
struct Pose {
    const char* member;
    const char* label;
    const char* character;
};
constexpr Pose kPoses[kFaceGrCount] = {
    {"fcSak_00.bmp", "普通", "黑皮"},         {"fcSak_01.bmp", "笑容", "黑皮"},
    {"fcSak_02.bmp", "生氣", "黑皮"},         {"fcSak_03.bmp", "悲傷", "黑皮"},
    {"fcSak_04.bmp", "驚訝", "黑皮"},         {"fcFer_00.bmp", "普通", "斐爾"},
    {"fcFer_01.bmp", "笑容", "斐爾"},         {"fcFer_02.bmp", "悲傷", "斐爾"},
    {"fcPri_00.bmp", "普通", "王子"},         {"fcPri_01.bmp", "笑顏", "王子"},
    {"fcPri_02.bmp", "悲傷", "王子"},         {"fcPri_03.bmp", "嚴肅", "王子"},
    {"fcRn0_00.bmp", "普通", "蕾妮特"},       {"fcRn0_01.bmp", "笑容", "蕾妮特"},
    {"fcRn0_02.bmp", "生氣", "蕾妮特"},       {"fcRn0_03.bmp", "悲傷", "蕾妮特"},
    {"fcRn1_04.bmp", "泳裝‧普通", "蕾妮特"},  {"fcRn1_05.bmp", "泳裝‧笑容", "蕾妮特"},
    {"fcRn1_06.bmp", "泳裝‧生氣", "蕾妮特"},  {"fcRn1_07.bmp", "泳裝‧悲傷", "蕾妮特"},
    {"fcRn2_00.bmp", "普通", "蕾妮特"},       {"fcRn2_01.bmp", "驚愕", "蕾妮特"},
    {"fcRn2_02.bmp", "懊悔‧生氣", "蕾妮特"},  {"fcCo0_00.bmp", "普通", "可可特"},
    {"fcCo0_01.bmp", "笑顏", "可可特"},       {"fcCo0_02.bmp", "生氣", "可可特"},
    {"fcCo0_03.bmp", "悲傷", "可可特"},       {"fcCo0_04.bmp", "嚴肅", "可可特"},
    {"fcCo0_05.bmp", "害羞", "可可特"},       {"fcCo1_00.bmp", "普通", "可可特"},
    {"fcCo1_01.bmp", "笑容", "可可特"},       {"fcCo1_02.bmp", "悲傷", "可可特"},
    {"fcCo1_03.bmp", "嚴肅", "可可特"},       {"fcCo1_04.bmp", "害羞", "可可特"},
    {"fcMot_00.bmp", "普通", "緹菈的母親"},   {"fcFmo_00.bmp", "普通", "芙蘿蕾的母親"},
    {"fcFmo_01.bmp", "悲傷", "芙蘿蕾的母親"}, {"fcRfa_00.bmp", "普通", "蕾妮特的父親"},
    {"fcRfa_01.bmp", "困擾", "蕾妮特的父親"}, {"fcKng_00.bmp", "普通", "王樣"},
    {"fcMag_00.bmp", "普通", "大魔法師"},     {"fcBoy_00.bmp", "普通", "少年"},
    {"fcBoy_01.bmp", "認真", "少年"},         {"fcFl0_00.bmp", "普通", "芙蘿蕾"},
    {"fcFl0_01.bmp", "笑容", "芙蘿蕾"},       {"fcFl0_02.bmp", "悲傷", "芙蘿蕾"},
    {"fcFl0_03.bmp", "嚴肅", "芙蘿蕾"},       {"fcFl1_00.bmp", "普通", "芙蘿蕾"},
    {"fcFl1_01.bmp", "笑容", "芙蘿蕾"},       {"fcFl1_02.bmp", "生氣", "芙蘿蕾"},
    {"fcFl1_03.bmp", "悲傷", "芙蘿蕾"},       {"fcFl1_04.bmp", "苦痛", "芙蘿蕾"},
    {"fcFl1_05.bmp", "生氣２", "芙蘿蕾"},     {"fcFl1_06.bmp", "悲傷２", "芙蘿蕾"},
    {"fcFl1_07.bmp", "普通２", "芙蘿蕾"},     {"fcFl1_08.bmp", "笑容２", "芙蘿蕾"},
    {"Nobody.bmp", "普通透明", ""},           {"fcLaz_00.bmp", "普通拉撒魯斯", "拉撒魯斯"},
};

std::string Numbered(const char* prefix, int n, const char* ext) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s%02d%s", prefix, n, ext);
    return buf;
}

// Town place p's caption and its day, evening and night members ("dmy" where the
// place has no picture). Variant 3 is "dmy" but for the upstairs room (place 20).
struct TownPlace {
    const char* caption;
    const char* members[3];
};
constexpr TownPlace kTownPlaces[22] = {
    {"黑貓魔法店‧店頭", {"bgpalf1.bmp", "bgpalf2.bmp", "bgpalf3.bmp"}},
    {"芙蘿蕾的家", {"bgflof1.bmp", "bgflof2.bmp", "bgflof3.bmp"}},
    {"微笑魔法店‧店頭", {"bgsmif1.bmp", "bgsmif2.bmp", "bgsmif3.bmp"}},
    {"中央噴水廣場", {"bgfun1.bmp", "bgfun2.bmp", "bgfun3.bmp"}},
    {"特利亞儂儂（糕餅店）", {"bgtor1.bmp", "bgtor2.bmp", "bgtor3.bmp"}},
    {"大公園", {"bgpar1.bmp", "bgpar2.bmp", "bgpar3.bmp"}},
    {"活動會場", {"bgsit1.bmp", "bgsit2.bmp", "bgsit3.bmp"}},
    {"魔法學院", {"bgsch1.bmp", "bgsch2.bmp", "bgsch3.bmp"}},
    {"郊外", {"dmy", "dmy", "dmy"}},
    {"城堡前", {"bgcasf1.bmp", "bgcasf2.bmp", "bgcasf3.bmp"}},
    {"黑貓魔法店‧店內", {"bgpali1.bmp", "bgpali1.bmp", "bgpali1.bmp"}},
    {"黑貓魔法店‧調配間", {"bgpalc1.bmp", "bgpalc1.bmp", "bgpalc1.bmp"}},
    {"芙蘿蕾的部屋", {"bgflor1.bmp", "bgflor1.bmp", "bgflor1.bmp"}},
    {"微笑魔法店‧店內", {"bgsmii1.bmp", "bgsmii1.bmp", "bgsmii1.bmp"}},
    {"城內‧花園庭院", {"bggar1.bmp", "bggar1.bmp", "bggar1.bmp"}},
    {"城內‧舞會現場", {"bghal1.bmp", "bghal1.bmp", "bghal1.bmp"}},
    {"城內‧陽臺", {"bgcasi1.bmp", "bgcasi1.bmp", "bgcasi1.bmp"}},
    {"圖書館（魔法學院裡）", {"bglib1.bmp", "bglib1.bmp", "bglib3.bmp"}},
    {"被破壞的小鎮景象", {"bgdst1.bmp", "bgdst2.bmp", "bgdst3.bmp"}},
    {"黑貓魔法店‧店頭", {"bgpalf1.bmp", "bgpalf2.bmp", "bgpalf3.bmp"}},
    {"黑貓魔法店‧二樓", {"bgshop2F0.bmp", "bgshop2F1.bmp", "bgshop2F2.bmp"}},
    {"黑貓魔法店‧二樓",
     {
         "bgShop2F3.bmp",
         "bgShop2F3.bmp",
         "",
     }},
};
// The upstairs room's three pictures have captions of their own.
constexpr const char* kUpstairsCaptions[3] = {"背景‧上半身起床", "背景‧和黑皮睡覺",
                                              "背景‧在母親房間"};

// Land place 32 + p: caption, the suffix after the variant mark, and the stem of its
// four members ("bgfor1.bmp".."bgfor4.bmp"); a stem ending in ".bmp" serves all four.
struct LandPlace {
    const char* caption;
    const char* suffix;
    const char* stem;
};
constexpr LandPlace kLandPlaces[13] = {
    {"鎮上", "", nullptr},
    {"森林裡", "", "bgfor"},
    {"森林之泉", "", "bgspr"},
    {"瀑布", "", "bgfal"},
    {"洞窟入口", "", "bgcav"},
    {"山路", "", "bgmou"},
    {"火山口", "", "bgcra"},
    {"大樹（周圍是原野）", "", "bgwod"},
    {"湖泊", "", "bglak"},
    {"沙灘", "", "bgsan"},
    {"溫泉", "", "bghot"},
    {"森林的獨立小屋", "大魔法師婆婆的家前面", "bggmhf"},
    {"大魔法師的家中", "婆婆的房間", "bggmhr1.bmp"},
};

// The event pictures' catalogue labels; pictures 0..31 have none.
constexpr const char* kEventLabels[18] = {
    "與可可特接吻",
    "緹菈‧結局（償還債務or鎮上的人幫助償還）",
    "芙蘿蕾‧結局",
    "王子殿下‧結局",
    "蕾妮特‧結局",
    "可可特‧結局",
    "的地圖",
    "附近的地圖",
    "王子‧結局、芙蘿蕾死去",
    "王子‧結局、蕾妮特死去",
    "王子‧結局、芙蘿蕾‧蕾妮特均死去",
    "灰階處理和斐爾之間的回憶",
    "灰階處理和斐爾之間的回憶",
    "芙蘿蕾病倒的集中線效果處理。",
    "緹菈、不好的結局訊息。",
    "芙蘿蕾、結局訊息。",
    "蕾妮特特、結局訊息。",
    "可可特、結局訊息。",
};

constexpr const char* kVariantMarks[4] = {"（晝）", "（夕）", "（夜）", "（雨）"};

}  // namespace

const std::array<const char*, kPictureKinds> GrPackNames = {"FC_PACK.pak", "bkTown.pak",
                                                            "bkLand.pak", "evGraph.pak"};

const std::array<int, 16> FigureGroup = {0,  5,  8,  12, 20, 23, 29, 34,
                                         35, 37, 39, 40, 41, 43, 47, -1};

const std::array<std::string, kFaceGrCount> FaceGrNames =
    Build<kFaceGrCount>([](std::array<std::string, kFaceGrCount>& a) {
        for (int i = 0; i < kFaceGrCount; ++i) a[i] = kPoses[i].member;
    });

const std::array<std::string, kTownBgCount> TownBgNames =
    Build<kTownBgCount>([](std::array<std::string, kTownBgCount>& a) {
        for (int p = 0; p < 22; ++p) {
            for (int v = 0; v < 3; ++v) a[p * 4 + v] = kTownPlaces[p].members[v];
            a[p * 4 + 3] = p < 21 ? "dmy" : "";
        }
        a[83] = "bgshop2F.bmp";
    });

const std::array<std::string, kLandBgCount> LandBgNames =
    Build<kLandBgCount>([](std::array<std::string, kLandBgCount>& a) {
        for (int p = 0; p < 13; ++p) {
            const std::string stem = kLandPlaces[p].stem ? kLandPlaces[p].stem : "dmy";
            const bool oneForAll = stem == "dmy" || stem.ends_with(".bmp");
            for (int v = 0; v < 4; ++v)
                a[p * 4 + v] = oneForAll ? stem : stem + std::to_string(v + 1) + ".bmp";
        }
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

const char* FigureCharacter(int pose) {
    return pose >= 0 && pose < kFaceGrCount ? kPoses[pose].character : "";
}

const char* TownPlaceCaption(int place) {
    return place >= 0 && place < 22 ? kTownPlaces[place].caption : "";
}

const char* LandPlaceCaption(int place) {
    return place >= 32 && place < 45 ? kLandPlaces[place - 32].caption : "";
}

std::string PictureCaption(int code) {
    if (code < 0) return {};
    const int index = code & 255;
    const int variant = index & 3;
    switch (code >> 8) {
        case kFigureKind:
            return index < kFaceGrCount ? kPoses[index].label : "";
        case kTownKind: {
            const int place = index / 4;
            if (place == 20 && variant < 3) return kUpstairsCaptions[variant];
            if (place >= 19 || place == 8 || variant == 3) return {};
            return std::string(kTownPlaces[place].caption) + kVariantMarks[variant];
        }
        case kLandKind: {
            const int place = index / 4;
            if (place == 0 || place >= 13) return {};
            const LandPlace& l = kLandPlaces[place];
            const std::string prefix = place == 3 ? "；" : "：";
            return prefix + l.caption + kVariantMarks[variant] + l.suffix;
        }
        case kEventKind:
            return index >= 32 && index < 50 ? kEventLabels[index - 32] : "";
        default:
            return {};
    }
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
