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

// A box on the map picture, right and bottom exclusive.
struct MapArea {
    int left, top, right, bottom;
};
// What covers the map picture on the screen in every season and hour, whether the
// window has its title strip or not: the strip of the top bar, the clock in the top
// left corner, the calendar in the top right one and the message window (with the
// heroine's face) at its resting place along the bottom. Every place's mark and name
// lies clear of them.
inline constexpr MapArea kMapCovered[] = {
    {0, 0, 640, 40}, {0, 0, 112, 176}, {536, 0, 640, 162}, {0, 276, 640, 480}};

inline constexpr MapPlace kTownPlaces[kTownNodes] = {
    {"黑貓魔法店", "黑貓魔法店", 119, 199},
    {"芙蘿蕾的家", "芙蘿蕾的家", 419, 229},
    {"微笑魔法店", "微笑魔法店", 269, 233},
    {"中央噴水廣場", "中央噴水廣場", 309, 117},
    {"糕餅店‧特利亞儂儂", "特利亞儂儂", 229, 171},
    {"弗洛愛爾摩斯大公園", "大公園", 459, 117},
    {"活動會場", "活動會場", 419, 49},
    {"弗洛愛爾摩斯魔法學院", "魔法學院", 169, 49},
    {"郊外", "郊外", 549, 189},
};

inline constexpr MapPlace kLandPlaces[kLandNodes] = {
    {"鎮上", "鎮上", 289, 179},
    {"達利姆森林", "森林裡", 289, 99},
    {"森林之泉", "森林之泉", 399, 99},
    {"克拉貝爾瀑布", "瀑布", 99, 233},
    {"洞窟", "洞窟入口", 49, 189},
    {"伊斯特山‧山路", "山路", 174, 109},
    {"伊斯特山‧火山口", "火山口", 159, 45},
    {"大樹丘", "大木（周圍是原野）", 489, 179},
    {"澄淨湖", "湖泊", 579, 233},
    {"沙灘", "沙灘", 319, 233},
    {"溫泉", "溫泉", 489, 45},
    {"大魔法師的家", "森林的獨立小屋大魔法師婆婆的家前面", 409, 45},
};
