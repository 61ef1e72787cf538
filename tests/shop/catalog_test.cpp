#include "shop/Catalog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "platform/Big5.h"
#include "resources/Resources.h"

namespace {

// The catalogue as written in UTF-8: name, shelf row, G, M, attribute, base price.
struct Expected {
    const char* name;
    int row, goods, material, attribute, price;
};
const Expected kExpected[kItemCount] = {
    {"活力花香瓶", 4, 1, 1, 1, 20},
    {"清新花香瓶", 3, 1, 1, 4, 20},
    {"芙蘿蕾花香瓶", 5, 1, 1, 2, 30},
    {"活力香水", 7, 1, 0, 1, 120},
    {"清新香水", 8, 1, 0, 4, 120},
    {"芙蘿蕾香水", 6, 1, 0, 2, 160},
    {"魅力香水", 8, 1, 0, 1, 200},
    {"舒適沐浴劑", 2, 1, 0, 4, 100},
    {"花香沐浴劑", 1, 1, 0, 2, 100},
    {"清爽沐浴劑", 0, 1, 0, 3, 120},
    {"飄逸洗髮精", 15, 1, 0, 3, 40},
    {"香草洗髮精", 15, 1, 0, 3, 60},
    {"黑貓果汁", 16, 1, 0, 2, 20},
    {"黑貓掃帚", 17, 1, 0, 4, 80},
    {"黑貓胸針", 9, 1, 0, 5, 100},
    {"黑貓魔法杖", 18, 1, 0, 3, 120},
    {"黑貓喉糖", 14, 1, 0, 3, 80},
    {"命運軟糖", 3, 1, 0, 3, 40},
    {"魅力巧克力", 11, 1, 0, 1, 250},
    {"緹菈軟糖", 14, 1, 1, 0, 100},
    {"魔法懷爐", 14, 1, 0, 1, 200},
    {"魔法冷卻劑", 14, 1, 0, 2, 180},
    {"思念秘石", 10, 1, 1, 1, 400},
    {"願望秘石", 9, 1, 1, 2, 500},
    {"光魔法石", 10, 1, 1, 0, 2000},
    {"火魔法石", 11, 1, 1, 1, 800},
    {"水魔法石", 9, 1, 1, 2, 1000},
    {"風魔法石", 9, 1, 1, 3, 600},
    {"土魔法石", 10, 1, 1, 4, 1200},
    {"闇魔法石", 9, 1, 1, 5, 1400},
    {"重力水晶", 8, 1, 1, 5, 700},
    {"恢復咒文藥劑", 13, 1, 1, 2, 80},
    {"清新咒文藥劑", 13, 1, 1, 4, 120},
    {"暖氣房咒文藥劑", 2, 1, 1, 1, 100},
    {"烈火咒文藥劑", 8, 1, 0, 1, 400},
    {"冷氣房咒文藥劑", 0, 1, 1, 2, 200},
    {"冰結咒文藥劑", 12, 1, 0, 2, 800},
    {"加速咒文藥劑", 12, 1, 1, 3, 80},
    {"火燄咒文藥劑", 8, 1, 0, 1, 400},
    {"岩盾咒文藥劑", 7, 1, 0, 4, 100},
    {"反射咒文藥劑", 6, 1, 0, 4, 500},
    {"戀情魔法藥劑", 1, 1, 0, 1, 800},
    {"幸福魔法藥劑", 2, 1, 0, 0, 1200},
    {"淨化聖光咒藥劑", 1, 1, 0, 0, 2000},
    {"萬能藥", 12, 1, 0, 0, 2000},
    {"慈母搖籃曲", 1, 1, 0, 5, 300},
    {"夜風的邀約", 0, 1, 0, 5, 140},
    {"天使之翼", 12, 1, 0, 5, 400},
    {"勇氣藥劑", 7, 1, 1, 1, 200},
    {"鍾情藥劑", 12, 1, 0, 3, 800},
    {"回憶藥劑", 1, 1, 0, 2, 200},
    {"微笑藥劑", 2, 1, 0, 3, 200},
    {"空浮藥劑", 12, 1, 0, 3, 400},
    {"和好藥劑", 1, 1, 0, 4, 100},
    {"黃泉之魂", 0, 1, 0, 4, 1000},
    {"所羅門秘藥", 0, 1, 0, 4, 800},
    {"傾國媚藥", 7, 1, 0, 1, 10},
    {"異香藥劑", 1, 1, 0, 4, 500},
    {"維他命藥劑", 1, 1, 0, 1, 170},
    {"康復藥劑", 13, 1, 1, 2, 120},
    {"孩童專用康復藥劑", 13, 1, 0, 2, 160},
    {"飛舞藥劑", 0, 1, 0, 3, 200},
    {"痊癒藥劑", 16, 1, 0, 1, 1000},
    {"冰河礫石", 9, 1, 0, 2, 800},
    {"香草", 1, 0, 1, 3, 10},
    {"大樹的葉子", 1, 0, 1, 3, 4},
    {"風鈴草", 1, 0, 1, 3, 8},
    {"蒲公英", 1, 0, 1, 3, 2},
    {"鬱金香", 1, 0, 1, 1, 10},
    {"大波斯菊", 1, 0, 1, 2, 20},
    {"芙蘿蕾的花", 1, 0, 1, 2, 8},
    {"百合", 1, 0, 1, 4, 40},
    {"夜牽牛", 1, 0, 1, 5, 60},
    {"夜光花", 1, 0, 1, 0, 200},
    {"檸檬", 1, 0, 1, 3, 20},
    {"火蘋果", 1, 0, 1, 1, 50},
    {"櫻桃", 1, 0, 1, 1, 40},
    {"桃子", 1, 0, 1, 2, 30},
    {"睡菇", 1, 0, 1, 4, 10},
    {"笑菇", 1, 0, 1, 3, 10},
    {"香菇", 1, 0, 1, 4, 100},
    {"葛棗", 1, 0, 1, 3, 50},
    {"黑皮的毛", 1, 0, 1, 5, 50},
    {"大樹的汁液", 1, 0, 1, 4, 20},
    {"大樹的樹枝", 1, 0, 1, 4, 18},
    {"湖水", 1, 0, 1, 2, 4},
    {"溫泉水", 1, 0, 1, 2, 8},
    {"火山水", 1, 0, 1, 1, 50},
    {"火酒", 1, 0, 1, 1, 800},
    {"岩鹽", 1, 0, 1, 4, 20},
    {"海星砂", 1, 0, 1, 4, 8},
    {"蜜蠟", 1, 0, 1, 4, 100},
    {"香油", 1, 0, 1, 3, 1000},
    {"黃金蜂蜜", 1, 0, 1, 4, 800},
    {"螢光石", 1, 0, 1, 5, 80},
    {"海星石", 1, 0, 1, 2, 10},
    {"冰晶石", 1, 0, 1, 2, 40},
    {"火山岩", 1, 0, 1, 1, 30},
    {"水精靈石", 1, 0, 1, 2, 7000},
    {"芙蘿蕾的香草", 1, 0, 0, 2, 120},
    {"芙蘿蕾的花冠", 1, 0, 0, 0, 100},
    {"處女之淚", 1, 0, 0, 3, 60},
    {"捕捉精靈用的網子", 1, 0, 0, 2, 80},
    {"神祕的盒子", 1, 0, 0, 0, 9800},
    {"撿到的戒指", 1, 0, 0, 3, 4000},
    {"母親的遺物‧項鍊", 1, 0, 1, 0, 9000},
    {"母親的遺物‧項鍊", 1, 0, 0, 0, 9000},
};

std::string_view DescriptionFile() {
    const res::Resource* r = res::FindResource("ItemDescription.txt");
    return r ? std::string_view(reinterpret_cast<const char*>(r->data), r->size)
             : std::string_view();
}

}  // namespace

TEST(Catalog, EntriesMatchTheTableAndFitTheirFields) {
    for (int i = 0; i < kItemCount; ++i) {
        SCOPED_TRACE(i);
        const Expected& e = kExpected[i];
        // NUL-padded within the 21-byte field, and exactly the name once decoded.
        EXPECT_EQ(ItemCatalog[i].Name[20], '\0');
        EXPECT_EQ(ui::Big5ToUtf8(ItemName(i)), e.name);
        EXPECT_EQ(ui::Utf8ToBig5(e.name), ItemName(i));
        EXPECT_EQ(ItemShelfRow(i), e.row);
        EXPECT_EQ(IsShopGoods(i), e.goods == 1);
        EXPECT_EQ(IsMaterial(i), e.material == 1);
        EXPECT_EQ(ItemAttribute(i), e.attribute);
        EXPECT_EQ(ItemBasePrice(i), e.price);
        EXPECT_EQ(ItemCatalog[i].Zero, 0);
        // Goods are exactly the ids below 64.
        EXPECT_EQ(IsShopGoods(i), i < kGoodsCount);
    }
    const char* attributes[] = {"光", "火", "水", "風", "土", "闇"};
    for (int a = 0; a < 6; ++a) {
        EXPECT_EQ(ui::Big5ToUtf8(AttributeNames[a]), attributes[a]);
        EXPECT_EQ(AttributeNames[a][5], '\0');
    }
    EXPECT_EQ(ui::Big5ToUtf8(ItemAttributeName(29)), "闇");
}

TEST(Catalog, RecipesNameRealMaterials) {
    for (int g = 0; g < kGoodsCount; ++g) {
        SCOPED_TRACE(g);
        EXPECT_GE(RecipeDifficulty(g), 1);
        EXPECT_LE(RecipeDifficulty(g), 20);
        EXPECT_GE(Recipes[g].Hours, 1);
        int materials = 0;
        for (int k = 0; k < 3; ++k) {
            if (RecipeMaterial(g, k) >= kNoMaterial) {
                EXPECT_EQ(RecipeQuantity(g, k), 0);
                continue;
            }
            ++materials;
            EXPECT_NE(RecipeMaterial(g, k), g);
            EXPECT_GE(RecipeQuantity(g, k), 1);
            EXPECT_LE(RecipeQuantity(g, k), 4);
        }
        EXPECT_GE(materials, 1);
    }
    // Spot checks against the table.
    EXPECT_EQ(RecipeMaterial(43, 0), 105);
    EXPECT_EQ(RecipeQuantity(37, 0), 4);
    EXPECT_EQ(RecipeHours(43, 3), 24);
    EXPECT_EQ(RecipeHours(43, 0), 8);  // 0 batches counts as one
    EXPECT_EQ(RecipeDifficulty(54), 19);
}

TEST(Catalog, SmallTables) {
    int twice = 0;
    for (std::uint8_t c : MarketCandidates) {
        EXPECT_GE(c, kGoodsCount);
        EXPECT_LT(c, kItemCount);
        twice += c == 94;
    }
    EXPECT_EQ(twice, 2);
    for (std::uint8_t id : InitialUnlocks) EXPECT_TRUE(IsShopGoods(id));
    for (int l = 2; l <= 20; ++l) EXPECT_TRUE(IsShopGoods(LevelUnlocks[l]));
    EXPECT_EQ(LevelUnlocks[20], 41);
    EXPECT_EQ(InitialStock[27].Item, 82);
    EXPECT_EQ((InitialStock[27].A + InitialStock[27].B) & 0xFF, 255);
    EXPECT_EQ(InitialStock[34].Item, 106);
}

TEST(Catalog, EveryDescriptionConvertsAndFits) {
    std::string_view file = DescriptionFile();
    ASSERT_FALSE(file.empty());
    ItemDescription table[kItemCount];
    std::string error;
    ASSERT_TRUE(ParseItemDescriptions(file, table, &error)) << error;
    // Each Big5 line decodes back to exactly its UTF-8 source.
    std::size_t pos = 0;
    int lines = 0;
    while (pos < file.size()) {
        std::size_t end = file.find('\n', pos);
        std::string_view line = file.substr(pos, end - pos);
        pos = end == std::string_view::npos ? file.size() : end + 1;
        if (line.empty() || line[0] == '#') continue;
        std::size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1);
        int id = std::stoi(std::string(line.substr(0, t1)));
        EXPECT_EQ(ui::Big5ToUtf8(table[id].Line1), line.substr(t1 + 1, t2 - t1 - 1)) << id;
        EXPECT_EQ(ui::Big5ToUtf8(table[id].Line2), line.substr(t2 + 1)) << id;
        ++lines;
    }
    EXPECT_EQ(lines, kItemCount);
    for (int i = 0; i < kItemCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_GT(std::strlen(table[i].Line1), 0u);
        EXPECT_LE(std::strlen(table[i].Line1), 40u);
        EXPECT_GT(std::strlen(table[i].Line2), 0u);
        EXPECT_LE(std::strlen(table[i].Line2), 40u);
        // The accessors serve the same lines.
        EXPECT_STREQ(ItemDescriptionLine1(i), table[i].Line1);
        EXPECT_STREQ(ItemDescriptionLine2(i), table[i].Line2);
    }
}

TEST(Catalog, DamagedDescriptionFilesAreRefusedWhole) {
    std::string good(DescriptionFile());
    auto replaceLine = [&](const std::string& id, const std::string& with) {
        std::string s = good;
        std::size_t at = s.find("\n" + id + "\t");
        std::size_t end = s.find('\n', at + 1);
        return s.replace(at + 1, end - at - 1, with);
    };
    struct Case {
        const char* name;
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"line of 21 characters",
         replaceLine("5", "5\t一二三四五六七八九十一二三四五六七八九十一\t短"), "line"},
        {"not in Big5", replaceLine("5", "5\t\xF0\x9F\x98\x80\t短"), "Big5"},
        {"missing item", replaceLine("5", "# gone"), "item 5"},
        {"item twice", replaceLine("5", "4\t甲\t乙"), "twice"},
        {"id out of range", good + "107\t甲\t乙\n", "range"},
        {"no second line", replaceLine("5", "5\t甲"), "tabs"},
        {"bad id", replaceLine("5", "x5\t甲\t乙"), "id"},
        {"empty file", "", "item 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ItemDescription table[kItemCount];
        std::memset(table, 'k', sizeof table);
        std::string error;
        EXPECT_FALSE(ParseItemDescriptions(c.text, table, &error));
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_EQ(table[0].Line1[0], 'k');  // nothing kept
    }
    // Windows line ends and exactly 20 full-width characters are fine.
    std::string crlf = replaceLine("5", "5\t一二三四五六七八九十一二三四五六七八九十\t短\r");
    ItemDescription table[kItemCount];
    EXPECT_TRUE(ParseItemDescriptions(crlf, table, nullptr));
    EXPECT_EQ(std::strlen(table[5].Line1), 40u);
    EXPECT_STREQ(table[5].Line2, ui::Utf8ToBig5("短").c_str());
}
