#include "shop/Catalog.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/Big5.h"
#include "resources/Resources.h"

// Big5 bytes of 光 火 水 風 土 闇.
const char AttributeNames[6][6] = {
    "\xA5\xFA", "\xA4\xF5", "\xA4\xF4", "\xAD\xB7", "\xA4\x67", "\xEE\xEE",
};

// name (Big5), shelf row, G, M, attribute, 0, base price
const ItemCatalogEntry ItemCatalog[kItemCount] = {
    {"\xAC\xA1\xA4\x4F\xAA\xE1\xAD\xBB\xB2\x7E", 4, 1, 1, 1, 0, 20},          //   0 活力花香瓶
    {"\xB2\x4D\xB7\x73\xAA\xE1\xAD\xBB\xB2\x7E", 3, 1, 1, 4, 0, 20},          //   1 清新花香瓶
    {"\xAA\xDC\xC5\xDA\xC1\xA2\xAA\xE1\xAD\xBB\xB2\x7E", 5, 1, 1, 2, 0, 30},  //   2 芙蘿蕾花香瓶
    {"\xAC\xA1\xA4\x4F\xAD\xBB\xA4\xF4", 7, 1, 0, 1, 0, 120},                 //   3 活力香水
    {"\xB2\x4D\xB7\x73\xAD\xBB\xA4\xF4", 8, 1, 0, 4, 0, 120},                 //   4 清新香水
    {"\xAA\xDC\xC5\xDA\xC1\xA2\xAD\xBB\xA4\xF4", 6, 1, 0, 2, 0, 160},         //   5 芙蘿蕾香水
    {"\xBE\x79\xA4\x4F\xAD\xBB\xA4\xF4", 8, 1, 0, 1, 0, 200},                 //   6 魅力香水
    {"\xB5\xCE\xBE\x41\xA8\x4E\xAF\x44\xBE\xAF", 2, 1, 0, 4, 0, 100},         //   7 舒適沐浴劑
    {"\xAA\xE1\xAD\xBB\xA8\x4E\xAF\x44\xBE\xAF", 1, 1, 0, 2, 0, 100},         //   8 花香沐浴劑
    {"\xB2\x4D\xB2\x6E\xA8\x4E\xAF\x44\xBE\xAF", 0, 1, 0, 3, 0, 120},         //   9 清爽沐浴劑
    {"\xC4\xC6\xB6\x68\xAC\x7E\xBE\x76\xBA\xEB", 15, 1, 0, 3, 0, 40},         //  10 飄逸洗髮精
    {"\xAD\xBB\xAF\xF3\xAC\x7E\xBE\x76\xBA\xEB", 15, 1, 0, 3, 0, 60},         //  11 香草洗髮精
    {"\xB6\xC2\xBF\xDF\xAA\x47\xA5\xC4", 16, 1, 0, 2, 0, 20},                 //  12 黑貓果汁
    {"\xB6\xC2\xBF\xDF\xB1\xBD\xA9\xAA", 17, 1, 0, 4, 0, 80},                 //  13 黑貓掃帚
    {"\xB6\xC2\xBF\xDF\xAF\xDD\xB0\x77", 9, 1, 0, 5, 0, 100},                 //  14 黑貓胸針
    {"\xB6\xC2\xBF\xDF\xC5\x5D\xAA\x6B\xA7\xFA", 18, 1, 0, 3, 0, 120},        //  15 黑貓魔法杖
    {"\xB6\xC2\xBF\xDF\xB3\xEF\xBF\x7D", 14, 1, 0, 3, 0, 80},                 //  16 黑貓喉糖
    {"\xA9\x52\xB9\x42\xB3\x6E\xBF\x7D", 3, 1, 0, 3, 0, 40},                  //  17 命運軟糖
    {"\xBE\x79\xA4\x4F\xA5\xA9\xA7\x4A\xA4\x4F", 11, 1, 0, 1, 0, 250},        //  18 魅力巧克力
    {"\xBD\x7B\xDB\x69\xB3\x6E\xBF\x7D", 14, 1, 1, 0, 0, 100},                //  19 緹菈軟糖
    {"\xC5\x5D\xAA\x6B\xC3\x68\xC4\x6C", 14, 1, 0, 1, 0, 200},                //  20 魔法懷爐
    {"\xC5\x5D\xAA\x6B\xA7\x4E\xAB\x6F\xBE\xAF", 14, 1, 0, 2, 0, 180},        //  21 魔法冷卻劑
    {"\xAB\xE4\xA9\xC0\xAF\xB5\xA5\xDB", 10, 1, 1, 1, 0, 400},                //  22 思念秘石
    {"\xC4\x40\xB1\xE6\xAF\xB5\xA5\xDB", 9, 1, 1, 2, 0, 500},                 //  23 願望秘石
    {"\xA5\xFA\xC5\x5D\xAA\x6B\xA5\xDB", 10, 1, 1, 0, 0, 2000},               //  24 光魔法石
    {"\xA4\xF5\xC5\x5D\xAA\x6B\xA5\xDB", 11, 1, 1, 1, 0, 800},                //  25 火魔法石
    {"\xA4\xF4\xC5\x5D\xAA\x6B\xA5\xDB", 9, 1, 1, 2, 0, 1000},                //  26 水魔法石
    {"\xAD\xB7\xC5\x5D\xAA\x6B\xA5\xDB", 9, 1, 1, 3, 0, 600},                 //  27 風魔法石
    {"\xA4\x67\xC5\x5D\xAA\x6B\xA5\xDB", 10, 1, 1, 4, 0, 1200},               //  28 土魔法石
    {"\xEE\xEE\xC5\x5D\xAA\x6B\xA5\xDB", 9, 1, 1, 5, 0, 1400},                //  29 闇魔法石
    {"\xAD\xAB\xA4\x4F\xA4\xF4\xB4\xB9", 8, 1, 1, 5, 0, 700},                 //  30 重力水晶
    {"\xAB\xEC\xB4\x5F\xA9\x47\xA4\xE5\xC3\xC4\xBE\xAF", 13, 1, 1, 2, 0, 80},  //  31 恢復咒文藥劑
    {"\xB2\x4D\xB7\x73\xA9\x47\xA4\xE5\xC3\xC4\xBE\xAF", 13, 1, 1, 4, 0, 120},  //  32 清新咒文藥劑
    {"\xB7\x78\xAE\xF0\xA9\xD0\xA9\x47\xA4\xE5\xC3\xC4\xBE\xAF", 2, 1, 1, 1, 0,
     100},  //  33 暖氣房咒文藥劑
    {"\xAF\x50\xA4\xF5\xA9\x47\xA4\xE5\xC3\xC4\xBE\xAF", 8, 1, 0, 1, 0, 400},  //  34 烈火咒文藥劑
    {"\xA7\x4E\xAE\xF0\xA9\xD0\xA9\x47\xA4\xE5\xC3\xC4\xBE\xAF", 0, 1, 1, 2, 0,
     200},  //  35 冷氣房咒文藥劑
    {"\xA6\x42\xB5\xB2\xA9\x47\xA4\xE5\xC3\xC4\xBE\xAF", 12, 1, 0, 2, 0, 800},  //  36 冰結咒文藥劑
    {"\xA5\x5B\xB3\x74\xA9\x47\xA4\xE5\xC3\xC4\xBE\xAF", 12, 1, 1, 3, 0, 80},  //  37 加速咒文藥劑
    {"\xA4\xF5\xBF\x56\xA9\x47\xA4\xE5\xC3\xC4\xBE\xAF", 8, 1, 0, 1, 0, 400},  //  38 火燄咒文藥劑
    {"\xA9\xA5\xAC\xDE\xA9\x47\xA4\xE5\xC3\xC4\xBE\xAF", 7, 1, 0, 4, 0, 100},  //  39 岩盾咒文藥劑
    {"\xA4\xCF\xAE\x67\xA9\x47\xA4\xE5\xC3\xC4\xBE\xAF", 6, 1, 0, 4, 0, 500},  //  40 反射咒文藥劑
    {"\xC5\xCA\xB1\xA1\xC5\x5D\xAA\x6B\xC3\xC4\xBE\xAF", 1, 1, 0, 1, 0, 800},  //  41 戀情魔法藥劑
    {"\xA9\xAF\xBA\xD6\xC5\x5D\xAA\x6B\xC3\xC4\xBE\xAF", 2, 1, 0, 0, 0, 1200},  //  42 幸福魔法藥劑
    {"\xB2\x62\xA4\xC6\xB8\x74\xA5\xFA\xA9\x47\xC3\xC4\xBE\xAF", 1, 1, 0, 0, 0,
     2000},                                                            //  43 淨化聖光咒藥劑
    {"\xB8\x55\xAF\xE0\xC3\xC4", 12, 1, 0, 0, 0, 2000},                //  44 萬能藥
    {"\xB7\x4F\xA5\xC0\xB7\x6E\xC4\x78\xA6\xB1", 1, 1, 0, 5, 0, 300},  //  45 慈母搖籃曲
    {"\xA9\x5D\xAD\xB7\xAA\xBA\xC1\xDC\xAC\xF9", 0, 1, 0, 5, 0, 140},  //  46 夜風的邀約
    {"\xA4\xD1\xA8\xCF\xA4\xA7\xC1\x6C", 12, 1, 0, 5, 0, 400},         //  47 天使之翼
    {"\xAB\x69\xAE\xF0\xC3\xC4\xBE\xAF", 7, 1, 1, 1, 0, 200},          //  48 勇氣藥劑
    {"\xC1\xE9\xB1\xA1\xC3\xC4\xBE\xAF", 12, 1, 0, 3, 0, 800},         //  49 鍾情藥劑
    {"\xA6\x5E\xBE\xD0\xC3\xC4\xBE\xAF", 1, 1, 0, 2, 0, 200},          //  50 回憶藥劑
    {"\xB7\x4C\xAF\xBA\xC3\xC4\xBE\xAF", 2, 1, 0, 3, 0, 200},          //  51 微笑藥劑
    {"\xAA\xC5\xAF\x42\xC3\xC4\xBE\xAF", 12, 1, 0, 3, 0, 400},         //  52 空浮藥劑
    {"\xA9\x4D\xA6\x6E\xC3\xC4\xBE\xAF", 1, 1, 0, 4, 0, 100},          //  53 和好藥劑
    {"\xB6\xC0\xAC\x75\xA4\xA7\xBB\xEE", 0, 1, 0, 4, 0, 1000},         //  54 黃泉之魂
    {"\xA9\xD2\xC3\xB9\xAA\xF9\xAF\xB5\xC3\xC4", 0, 1, 0, 4, 0, 800},  //  55 所羅門秘藥
    {"\xB6\xC9\xB0\xEA\xB4\x41\xC3\xC4", 7, 1, 0, 1, 0, 10},           //  56 傾國媚藥
    {"\xB2\xA7\xAD\xBB\xC3\xC4\xBE\xAF", 1, 1, 0, 4, 0, 500},          //  57 異香藥劑
    {"\xBA\xFB\xA5\x4C\xA9\x52\xC3\xC4\xBE\xAF", 1, 1, 0, 1, 0, 170},  //  58 維他命藥劑
    {"\xB1\x64\xB4\x5F\xC3\xC4\xBE\xAF", 13, 1, 1, 2, 0, 120},         //  59 康復藥劑
    {"\xAB\xC4\xB5\xA3\xB1\x4D\xA5\xCE\xB1\x64\xB4\x5F\xC3\xC4\xBE\xAF", 13, 1, 0, 2, 0,
     160},                                                           //  60 孩童專用康復藥劑
    {"\xAD\xB8\xBB\x52\xC3\xC4\xBE\xAF", 0, 1, 0, 3, 0, 200},        //  61 飛舞藥劑
    {"\xB2\xAC\xC2\xA1\xC3\xC4\xBE\xAF", 16, 1, 0, 1, 0, 1000},      //  62 痊癒藥劑
    {"\xA6\x42\xAA\x65\xC4\x74\xA5\xDB", 9, 1, 0, 2, 0, 800},        //  63 冰河礫石
    {"\xAD\xBB\xAF\xF3", 1, 0, 1, 3, 0, 10},                         //  64 香草
    {"\xA4\x6A\xBE\xF0\xAA\xBA\xB8\xAD\xA4\x6C", 1, 0, 1, 3, 0, 4},  //  65 大樹的葉子
    {"\xAD\xB7\xB9\x61\xAF\xF3", 1, 0, 1, 3, 0, 8},                  //  66 風鈴草
    {"\xBB\x5A\xA4\xBD\xAD\x5E", 1, 0, 1, 3, 0, 2},                  //  67 蒲公英
    {"\xC6\x7B\xAA\xF7\xAD\xBB", 1, 0, 1, 1, 0, 10},                 //  68 鬱金香
    {"\xA4\x6A\xAA\x69\xB4\xB5\xB5\xE2", 1, 0, 1, 2, 0, 20},         //  69 大波斯菊
    {"\xAA\xDC\xC5\xDA\xC1\xA2\xAA\xBA\xAA\xE1", 1, 0, 1, 2, 0, 8},  //  70 芙蘿蕾的花
    {"\xA6\xCA\xA6\x58", 1, 0, 1, 4, 0, 40},                         //  71 百合
    {"\xA9\x5D\xB2\x6F\xA4\xFB", 1, 0, 1, 5, 0, 60},                 //  72 夜牽牛
    {"\xA9\x5D\xA5\xFA\xAA\xE1", 1, 0, 1, 0, 0, 200},                //  73 夜光花
    {"\xC2\x66\xC2\x63", 1, 0, 1, 3, 0, 20},                         //  74 檸檬
    {"\xA4\xF5\xC4\xAB\xAA\x47", 1, 0, 1, 1, 0, 50},                 //  75 火蘋果
    {"\xC4\xE5\xAE\xE7", 1, 0, 1, 1, 0, 40},                         //  76 櫻桃
    {"\xAE\xE7\xA4\x6C", 1, 0, 1, 2, 0, 30},                         //  77 桃子
    {"\xBA\xCE\xDB\xA3", 1, 0, 1, 4, 0, 10},                         //  78 睡菇
    {"\xAF\xBA\xDB\xA3", 1, 0, 1, 3, 0, 10},                         //  79 笑菇
    {"\xAD\xBB\xDB\xA3", 1, 0, 1, 4, 0, 100},                        //  80 香菇
    {"\xB8\xAF\xB4\xC7", 1, 0, 1, 3, 0, 50},                         //  81 葛棗
    {"\xB6\xC2\xA5\xD6\xAA\xBA\xA4\xF2", 1, 0, 1, 5, 0, 50},         //  82 黑皮的毛
    {"\xA4\x6A\xBE\xF0\xAA\xBA\xA5\xC4\xB2\x47", 1, 0, 1, 4, 0, 20},  //  83 大樹的汁液
    {"\xA4\x6A\xBE\xF0\xAA\xBA\xBE\xF0\xAA\x4B", 1, 0, 1, 4, 0, 18},  //  84 大樹的樹枝
    {"\xB4\xF2\xA4\xF4", 1, 0, 1, 2, 0, 4},                           //  85 湖水
    {"\xB7\xC5\xAC\x75\xA4\xF4", 1, 0, 1, 2, 0, 8},                   //  86 溫泉水
    {"\xA4\xF5\xA4\x73\xA4\xF4", 1, 0, 1, 1, 0, 50},                  //  87 火山水
    {"\xA4\xF5\xB0\x73", 1, 0, 1, 1, 0, 800},                         //  88 火酒
    {"\xA9\xA5\xC6\x51", 1, 0, 1, 4, 0, 20},                          //  89 岩鹽
    {"\xAE\xFC\xAC\x50\xAC\xE2", 1, 0, 1, 4, 0, 8},                   //  90 海星砂
    {"\xBB\x65\xC4\xFA", 1, 0, 1, 4, 0, 100},                         //  91 蜜蠟
    {"\xAD\xBB\xAA\x6F", 1, 0, 1, 3, 0, 1000},                        //  92 香油
    {"\xB6\xC0\xAA\xF7\xB8\xC1\xBB\x65", 1, 0, 1, 4, 0, 800},         //  93 黃金蜂蜜
    {"\xBF\xC3\xA5\xFA\xA5\xDB", 1, 0, 1, 5, 0, 80},                  //  94 螢光石
    {"\xAE\xFC\xAC\x50\xA5\xDB", 1, 0, 1, 2, 0, 10},                  //  95 海星石
    {"\xA6\x42\xB4\xB9\xA5\xDB", 1, 0, 1, 2, 0, 40},                  //  96 冰晶石
    {"\xA4\xF5\xA4\x73\xA9\xA5", 1, 0, 1, 1, 0, 30},                  //  97 火山岩
    {"\xA4\xF4\xBA\xEB\xC6\x46\xA5\xDB", 1, 0, 1, 2, 0, 7000},        //  98 水精靈石
    {"\xAA\xDC\xC5\xDA\xC1\xA2\xAA\xBA\xAD\xBB\xAF\xF3", 1, 0, 0, 2, 0, 120},  //  99 芙蘿蕾的香草
    {"\xAA\xDC\xC5\xDA\xC1\xA2\xAA\xBA\xAA\xE1\xAB\x61", 1, 0, 0, 0, 0, 100},  // 100 芙蘿蕾的花冠
    {"\xB3\x42\xA4\x6B\xA4\xA7\xB2\x5C", 1, 0, 0, 3, 0, 60},                   // 101 處女之淚
    {"\xAE\xB7\xAE\xBB\xBA\xEB\xC6\x46\xA5\xCE\xAA\xBA\xBA\xF4\xA4\x6C", 1, 0, 0, 2, 0,
     80},  // 102 捕捉精靈用的網子
    {"\xAF\xAB\xAF\xA6\xAA\xBA\xB2\xB0\xA4\x6C", 1, 0, 0, 0, 0, 9800},  // 103 神祕的盒子
    {"\xBE\xDF\xA8\xEC\xAA\xBA\xA7\xD9\xAB\xFC", 1, 0, 0, 3, 0, 4000},  // 104 撿到的戒指
    {"\xA5\xC0\xBF\xCB\xAA\xBA\xBF\xF2\xAA\xAB\xA1\x45\xB6\xB5\xC1\xE5", 1, 0, 1, 0, 0,
     9000},  // 105 母親的遺物‧項鍊
    {"\xA5\xC0\xBF\xCB\xAA\xBA\xBF\xF2\xAA\xAB\xA1\x45\xB6\xB5\xC1\xE5", 1, 0, 0, 0, 0,
     9000},  // 106 母親的遺物‧項鍊
};

// difficulty, hours per batch, materials, quantities (255 = no material)
const RecipeEntry Recipes[kGoodsCount] = {
    {2, 1, {68, 89, 85}, {1, 1, 1}},    //  0
    {3, 1, {64, 89, 85}, {1, 1, 1}},    //  1
    {4, 1, {70, 89, 85}, {2, 1, 1}},    //  2
    {3, 2, {0, 92, 255}, {1, 1, 0}},    //  3
    {4, 2, {1, 92, 255}, {1, 1, 0}},    //  4
    {6, 2, {2, 92, 255}, {1, 1, 0}},    //  5
    {10, 3, {71, 81, 92}, {1, 2, 1}},   //  6
    {3, 1, {1, 95, 86}, {1, 1, 1}},     //  7
    {5, 1, {70, 66, 86}, {1, 1, 1}},    //  8
    {8, 2, {64, 95, 86}, {2, 1, 1}},    //  9
    {5, 1, {66, 90, 91}, {2, 1, 1}},    // 10
    {5, 1, {64, 90, 91}, {2, 1, 1}},    // 11
    {1, 1, {77, 255, 255}, {1, 0, 0}},  // 12
    {2, 2, {84, 83, 82}, {2, 1, 1}},    // 13
    {8, 2, {94, 90, 82}, {1, 1, 1}},    // 14
    {10, 2, {65, 84, 82}, {2, 1, 1}},   // 15
    {6, 3, {64, 74, 66}, {2, 1, 1}},    // 16
    {6, 3, {70, 75, 69}, {1, 1, 1}},    // 17
    {7, 1, {71, 80, 88}, {2, 1, 1}},    // 18
    {12, 1, {71, 85, 255}, {1, 1, 0}},  // 19
    {2, 1, {97, 90, 255}, {1, 1, 0}},   // 20
    {4, 1, {96, 85, 89}, {1, 1, 1}},    // 21
    {12, 3, {94, 65, 95}, {1, 1, 1}},   // 22
    {15, 3, {94, 72, 95}, {1, 1, 1}},   // 23
    {20, 6, {73, 82, 23}, {2, 1, 1}},   // 24
    {12, 3, {68, 97, 23}, {2, 1, 1}},   // 25
    {14, 4, {69, 96, 23}, {2, 1, 1}},   // 26
    {8, 3, {67, 65, 23}, {2, 1, 1}},    // 27
    {15, 4, {71, 82, 23}, {2, 1, 1}},   // 28
    {18, 4, {72, 94, 23}, {1, 1, 1}},   // 29
    {6, 1, {97, 96, 255}, {1, 1, 0}},   // 30
    {1, 1, {64, 255, 255}, {1, 0, 0}},  // 31
    {6, 2, {78, 90, 255}, {1, 1, 0}},   // 32
    {3, 2, {97, 87, 255}, {1, 1, 0}},   // 33
    {20, 4, {33, 25, 19}, {1, 1, 1}},   // 34
    {3, 2, {64, 96, 255}, {1, 1, 0}},   // 35
    {20, 4, {63, 23, 19}, {1, 1, 1}},   // 36
    {6, 2, {67, 66, 83}, {4, 2, 1}},    // 37
    {6, 4, {33, 82, 255}, {1, 1, 0}},   // 38
    {5, 3, {90, 82, 255}, {2, 1, 0}},   // 39
    {8, 4, {37, 71, 255}, {1, 1, 0}},   // 40
    {20, 4, {19, 48, 51}, {2, 1, 1}},   // 41
    {20, 4, {19, 73, 98}, {2, 1, 1}},   // 42
    {20, 8, {105, 22, 24}, {1, 2, 2}},  // 43
    {20, 8, {98, 23, 24}, {1, 2, 1}},   // 44
    {8, 2, {74, 67, 78}, {1, 1, 1}},    // 45
    {16, 2, {72, 94, 255}, {1, 1, 0}},  // 46
    {20, 2, {66, 65, 83}, {2, 2, 1}},   // 47
    {8, 3, {68, 79, 88}, {2, 2, 1}},    // 48
    {8, 3, {80, 81, 85}, {1, 2, 1}},    // 49
    {10, 2, {66, 79, 88}, {1, 1, 1}},   // 50
    {8, 3, {19, 80, 88}, {1, 1, 1}},    // 51
    {18, 1, {65, 67, 88}, {1, 1, 1}},   // 52
    {2, 2, {70, 67, 79}, {1, 1, 1}},    // 53
    {19, 2, {28, 78, 23}, {1, 1, 1}},   // 54
    {12, 3, {75, 90, 81}, {2, 2, 2}},   // 55
    {6, 1, {81, 92, 86}, {1, 1, 2}},    // 56
    {12, 3, {83, 88, 92}, {2, 2, 1}},   // 57
    {8, 1, {76, 74, 77}, {2, 2, 1}},    // 58
    {6, 1, {31, 75, 78}, {1, 1, 1}},    // 59
    {6, 1, {59, 93, 255}, {1, 1, 0}},   // 60
    {5, 1, {66, 83, 87}, {2, 1, 1}},    // 61
    {20, 6, {32, 31, 73}, {1, 1, 1}},   // 62
    {17, 4, {37, 96, 95}, {1, 2, 1}},   // 63
};

// 94 stands twice: it is drawn twice as often.
const std::uint8_t MarketCandidates[19] = {64, 68, 74, 75, 76, 77, 78, 79, 86, 87,
                                           88, 89, 91, 92, 94, 94, 95, 96, 97};

const std::uint8_t InitialUnlocks[17] = {0,  1,  2,  4,  6,  12, 13, 14, 15,
                                         18, 22, 23, 27, 31, 33, 35, 59};

// Entry n is unlocked on reaching level n; entries 0 and 1 are never used.
const std::uint8_t LevelUnlocks[21] = {0,  0,  49, 37, 38, 48, 40, 50, 55, 25, 39,
                                       26, 28, 46, 52, 29, 34, 47, 36, 24, 41};

const std::int8_t InitialSlots[10] = {-1, -1, -1, 4, -1, 13, -1, -1, 1, -1};

// {item, a, b}: stock := a + b (low 8 bits), reserve := b. (82, 255, 0) is the
// key-item mark.
const InitialStockEntry InitialStock[35] = {
    {0, 8, 2},   {1, 5, 2},   {2, 5, 2},   {4, 5, 2},  {6, 5, 0},   {12, 8, 0},  {13, 5, 0},
    {14, 10, 0}, {15, 5, 0},  {18, 8, 0},  {22, 6, 2}, {23, 6, 2},  {27, 6, 0},  {33, 6, 0},
    {35, 4, 0},  {31, 10, 0}, {59, 10, 0}, {64, 8, 0}, {65, 10, 0}, {68, 8, 0},  {70, 4, 0},
    {71, 2, 0},  {74, 5, 0},  {75, 5, 0},  {77, 5, 0}, {78, 6, 0},  {81, 4, 0},  {82, 255, 0},
    {83, 4, 0},  {84, 4, 0},  {85, 10, 0}, {89, 8, 0}, {92, 3, 0},  {94, 10, 0}, {106, 1, 0},
};

// --- catalogue accessors -----------------------------------------------------

const char* ItemName(int i) { return ItemCatalog[i].Name; }
int ItemShelfRow(int i) { return ItemCatalog[i].ShelfRow; }
bool IsShopGoods(int i) { return ItemCatalog[i].Goods != 0; }
bool IsMaterial(int i) { return ItemCatalog[i].Material != 0; }
int ItemAttribute(int i) { return ItemCatalog[i].Attribute; }
const char* ItemAttributeName(int i) { return AttributeNames[ItemAttribute(i)]; }
int ItemBasePrice(int i) { return ItemCatalog[i].BasePrice; }

int RecipeDifficulty(int g) { return Recipes[g].Difficulty; }
int RecipeMaterial(int g, int k) { return Recipes[g].Material[k]; }
int RecipeQuantity(int g, int k) { return Recipes[g].Quantity[k]; }
int RecipeHours(int g, int n) { return Recipes[g].Hours * (n == 0 ? 1 : n); }

// --- description lines -------------------------------------------------------

namespace {

// Copies one converted line into its 41-byte field; false when it does not fit
// or does not convert.
bool PutLine(std::string_view utf8, char (&field)[41]) {
    if (!ui::FitsBig5(utf8)) return false;
    std::string big5 = ui::Utf8ToBig5(utf8);
    if (big5.size() >= sizeof field || big5.find('\0') != std::string::npos) return false;
    std::memset(field, 0, sizeof field);
    std::memcpy(field, big5.data(), big5.size());
    return true;
}

std::string LineError(int lineNo, const char* what) {
    return "ItemDescription.txt line " + std::to_string(lineNo) + ": " + what;
}

}  // namespace

bool ParseItemDescriptions(std::string_view text, ItemDescription (&out)[kItemCount],
                           std::string* error) {
    ItemDescription table[kItemCount] = {};
    bool seen[kItemCount] = {};
    auto fail = [&](int lineNo, const char* what) {
        if (error) *error = LineError(lineNo, what);
        return false;
    };
    int lineNo = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        std::size_t t1 = line.find('\t');
        std::size_t t2 = t1 == std::string_view::npos ? t1 : line.find('\t', t1 + 1);
        if (t2 == std::string_view::npos || line.find('\t', t2 + 1) != std::string_view::npos)
            return fail(lineNo, "expected id, first line and second line separated by tabs");
        std::string_view idText = line.substr(0, t1);
        int id = 0;
        if (idText.empty() || idText.size() > 3) return fail(lineNo, "bad item id");
        for (char c : idText) {
            if (c < '0' || c > '9') return fail(lineNo, "bad item id");
            id = id * 10 + (c - '0');
        }
        if (id >= kItemCount) return fail(lineNo, "item id out of range");
        if (seen[id]) return fail(lineNo, "item described twice");
        seen[id] = true;
        if (!PutLine(line.substr(t1 + 1, t2 - t1 - 1), table[id].Line1))
            return fail(lineNo, "first line does not convert to Big5 or is longer than 40 bytes");
        if (!PutLine(line.substr(t2 + 1), table[id].Line2))
            return fail(lineNo, "second line does not convert to Big5 or is longer than 40 bytes");
    }
    for (int i = 0; i < kItemCount; ++i)
        if (!seen[i]) {
            if (error) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "ItemDescription.txt: item %d has no description",
                              i);
                *error = buf;
            }
            return false;
        }
    std::memcpy(out, table, sizeof table);
    return true;
}

namespace {

// The descriptions, converted once on first use. A missing or damaged data file
// leaves every line empty and says so once on stderr: the shop still runs.
const ItemDescription* Descriptions() {
    static ItemDescription table[kItemCount];
    static std::once_flag once;
    std::call_once(once, [] {
        std::string error = "ItemDescription.txt: missing from the program's resources";
        const res::Resource* r = res::FindResource("ItemDescription.txt");
        if (r &&
            ParseItemDescriptions(std::string_view(reinterpret_cast<const char*>(r->data), r->size),
                                  table, &error))
            return;
        std::fprintf(stderr, "%s\n", error.c_str());
    });
    return table;
}

}  // namespace

const char* ItemDescriptionLine1(int i) { return Descriptions()[i].Line1; }
const char* ItemDescriptionLine2(int i) { return Descriptions()[i].Line2; }
