#pragma once

// The places of the two map screens, in node order: the name the hover hint gives
// (UTF-8, made Big5 where it is shown), the name in the place menu, and the top-left
// corner of the place's 23-pixel mark on the map picture.
struct MapPlace {
    const char* name;
    const char* menuName;
    int markX;
    int markY;
};

inline constexpr int kTownNodes = 9;
inline constexpr int kLandNodes = 12;
inline constexpr int kMarkSize = 23;
// Land marks follow the town marks in the mark sheet.
inline constexpr int kLandMarkTop = 207;

inline constexpr MapPlace kTownPlaces[kTownNodes] = {
    {"黑貓魔法店", "黑貓魔法店", 121, 285},
    {"芙蘿蕾的家", "芙蘿蕾的家", 365, 273},
    {"微笑魔法店", "微笑魔法店", 304, 368},
    {"中央噴水廣場", "中央噴水廣場", 270, 160},
    {"糕餅店‧特利亞儂儂", "特利亞儂儂", 236, 222},
    {"弗洛愛爾摩斯大公園", "大公園", 539, 141},
    {"活動會場", "活動會場", 403, 130},
    {"弗洛愛爾摩斯魔法學院", "魔法學院", 146, 144},
    {"郊外", "郊外", 263, 419},
};

inline constexpr MapPlace kLandPlaces[kLandNodes] = {
    {"鎮上", "鎮上", 268, 185},
    {"達利姆森林", "森林裡", 211, 96},
    {"森林之泉", "森林之泉", 353, 114},
    {"克拉貝爾瀑布", "瀑布", 53, 124},
    {"洞窟", "洞窟入口", 2, 90},
    {"伊斯特山‧山路", "山路", 106, 70},
    {"伊斯特山‧火山口", "火山口", 99, 10},
    {"大樹丘", "大木（周圍是原野）", 503, 167},
    {"澄淨湖", "湖泊", 531, 318},
    {"沙灘", "沙灘", 49, 338},
    {"溫泉", "溫泉", 541, 75},
    {"大魔法師的家", "森林的獨立小屋大魔法師婆婆的家前面", 436, 80},
};
