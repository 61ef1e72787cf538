#pragma once

// The places of the two map screens, in node order: the name the hover hint gives
// (UTF-8, made Big5 where it is shown), the name in the place menu, the top-left
// corner of the place's 23-pixel mark on the map picture, and the centre of the plate
// on which the generated maps write the place's name. The marks are where the map
// pictures have their places; the generated maps put each name where it stays in view
// (see kMapCovered), and a place's click region covers its mark and its name.
struct MapPlace {
    const char* name;
    const char* menuName;
    int markX;
    int markY;
    int labelX;
    int labelY;
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
// What may cover the map picture on the screen, in window mode (the picture at (4, 36)
// of a 648 x 520 screen) or full screen (at (0, 0) of 640 x 480): the title strip that
// shows over the top rows while the pointer is up there (full screen); the clock's dial
// and plate in the top left corner and the calendar's page in the top right one, as
// their pictures shape them; the message window (face and page) where it rests along
// the bottom; and the right quarter of its page when it has dodged to the top, where
// the pointer does not send it back. Marks may lie under them (the window dodges the
// pointer over the rest of itself); every place's name lies clear of them, so a click
// on it reaches the place whatever is shown.
inline constexpr MapArea kMapCovered[] = {
    {0, 0, 640, 40},    {8, 12, 101, 101},    {32, 96, 97, 125},  {565, 0, 640, 125},
    {0, 276, 161, 480}, {156, 336, 640, 480}, {520, 24, 640, 200}};

inline constexpr MapPlace kTownPlaces[kTownNodes] = {
    {"黑貓魔法店", "黑貓魔法店", 121, 285, 132, 266},
    {"芙蘿蕾的家", "芙蘿蕾的家", 365, 273, 376, 262},
    {"微笑魔法店", "微笑魔法店", 304, 368, 316, 326},
    {"中央噴水廣場", "中央噴水廣場", 270, 160, 281, 192},
    {"糕餅店‧特利亞儂儂", "特利亞儂儂", 236, 222, 247, 254},
    {"弗洛愛爾摩斯大公園", "大公園", 539, 141, 461, 174},
    {"活動會場", "活動會場", 403, 130, 414, 120},
    {"弗洛愛爾摩斯魔法學院", "魔法學院", 146, 144, 157, 176},
    {"郊外", "郊外", 263, 419, 240, 326},
};

inline constexpr MapPlace kLandPlaces[kLandNodes] = {
    {"鎮上", "鎮上", 268, 185, 279, 217},
    {"達利姆森林", "森林裡", 211, 96, 222, 128},
    {"森林之泉", "森林之泉", 353, 114, 364, 146},
    {"克拉貝爾瀑布", "瀑布", 53, 124, 64, 156},
    {"洞窟", "洞窟入口", 2, 90, 16, 122},
    {"伊斯特山‧山路", "山路", 106, 70, 176, 82},
    {"伊斯特山‧火山口", "火山口", 99, 10, 163, 48},
    {"大樹丘", "大木（周圍是原野）", 503, 167, 514, 210},
    {"澄淨湖", "湖泊", 531, 318, 542, 306},
    {"沙灘", "沙灘", 49, 338, 60, 266},
    {"溫泉", "溫泉", 541, 75, 503, 86},
    {"大魔法師的家", "森林的獨立小屋大魔法師婆婆的家前面", 436, 80, 447, 112},
};
