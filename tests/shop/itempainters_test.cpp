#include "shop/ItemPainters.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/Big5.h"
#include "platform/Controls.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"

namespace {

// Items of the catalogue: 0 "活力花香瓶" (G and M, 火, 20), 3 "活力香水" (G, 火, 120),
// 64 "香草" (M, 風, 10), 100 "芙蘿蕾的花冠" (neither, 光, 100).
class ItemPaintersTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        for (int s = 0; s < 10; ++s) {
            SetSlotItem(s, -1);
            g_GameState.ExhibitionSlotsYesterday[s] = -1;
        }
    }
    std::string Caption(const std::function<void(ui::Control&)>& paint) {
        ui::Label label;
        label.SetCaption("old");
        paint(label);
        return ui::Big5ToUtf8(label.Caption());
    }
};

TEST_F(ItemPaintersTest, HeroinePainters) {
    struct Case {
        std::function<void()> set;
        std::function<void(ui::Control&)> paint;
        const char* want;
    };
    const Case cases[] = {
        {[] { SetCondition(0); }, ShowConditionText, "健康！！"},
        {[] { SetCondition(1); }, ShowConditionText, "睏倦"},
        {[] { SetCondition(2); }, ShowConditionText, "疲憊"},
        {[] { SetGameLevel(1); }, ShowLevelStars, "☆"},
        {[] { SetGameLevel(3); }, ShowLevelStars, "☆"},
        {[] { SetGameLevel(4); }, ShowLevelStars, "☆☆"},
        {[] { SetGameLevel(20); }, ShowLevelStars, "☆☆☆☆☆☆"},
        {[] { SetExperience(37); }, ShowExperience, "37/100"},
        {[] { SetMoney(1234567); }, ShowMoney, "1234567Ｇ"},
        {[] { SetReputation(55); }, ShowReputation, "55"},
    };
    for (const Case& c : cases) {
        c.set();
        EXPECT_EQ(Caption(c.paint), c.want);
    }
}

TEST_F(ItemPaintersTest, ItemPainterCases) {
    using P = void (*)(ui::Control&, int);
    struct Case {
        const char* what;
        std::function<void()> set;
        P paint;
        int item;
        const char* want;
    };
    const Case cases[] = {
        {"name", [] {}, ShowItemName, 3, "活力香水"},
        {"empty row", [] {}, ShowItemName, -1, ""},
        {"G mark on G", [] {}, ShowGoodsMark, 3, "○"},
        {"G mark on M", [] {}, ShowGoodsMark, 64, ""},
        {"M mark on M", [] {}, ShowMaterialMark, 64, "○"},
        {"M mark on G+M", [] {}, ShowMaterialMark, 0, "○"},
        {"M mark on neither", [] {}, ShowMaterialMark, 100, ""},
        {"attribute 火", [] {}, ShowItemAttribute, 3, "火"},
        {"attribute 風", [] {}, ShowItemAttribute, 64, "風"},
        {"attribute 光", [] {}, ShowItemAttribute, 100, "光"},
        {"price", [] {}, ShowItemPrice, 3, "120"},
        {"available of G",
         [] {
             SetItemStock(item::VigourPerfume, 12);
             SetItemReserve(item::VigourPerfume, 5);
         },
         ShowItemAvailable, 3, "7"},
        {"available of M", [] { SetItemStock(64, 9); }, ShowItemAvailable, 64, "-"},
        {"reserve of G",
         [] {
             SetItemStock(item::VigourPerfume, 12);
             SetItemReserve(item::VigourPerfume, 5);
         },
         ShowItemReserve, 3, "5"},
        {"reserve of M", [] {}, ShowItemReserve, 64, "-"},
        {"stock", [] { SetItemStock(64, 9); }, ShowItemStock, 64, "9"},
        {"stock of a key item", [] { SetItemStock(item::FloraeCrown, 255); }, ShowItemStock, 100,
         "∞"},
        {"slot 0", [] { SetSlotItem(0, item::VigourPerfume); }, ShowItemSlotMark, 3, "◎"},
        {"slot 1", [] { SetSlotItem(1, item::VigourPerfume); }, ShowItemSlotMark, 3, "○"},
        {"slot 7", [] { SetSlotItem(7, item::VigourPerfume); }, ShowItemSlotMark, 3, "□"},
        {"not exhibited", [] {}, ShowItemSlotMark, 3, ""},
        {"slots 0 and 5: the highest one's mark",
         [] {
             SetSlotItem(0, item::VigourPerfume);
             SetSlotItem(5, item::VigourPerfume);
         },
         ShowItemSlotMark, 3, "□"},
        {"slots 0 and 1: the highest one's mark",
         [] {
             SetSlotItem(0, item::VigourPerfume);
             SetSlotItem(1, item::VigourPerfume);
         },
         ShowItemSlotMark, 3, "○"},
        {"yesterday's slot 0, today none", [] { g_GameState.ExhibitionSlotsYesterday[0] = 3; },
         ShowItemYesterdaySlotMark, 3, "◎"},
        {"yesterday reads yesterday's slots", [] { SetSlotItem(0, item::VigourPerfume); },
         ShowItemYesterdaySlotMark, 3, ""},
        {"difficulty 2", [] {}, ShowDifficultyStars, 0, "☆"},
        {"difficulty 4", [] {}, ShowDifficultyStars, 2, "☆☆"},
    };
    for (const Case& c : cases) {
        SetUp();
        c.set();
        EXPECT_EQ(Caption([&](ui::Control& l) { c.paint(l, c.item); }), c.want) << c.what;
    }
}

TEST_F(ItemPaintersTest, SoldTodayAndYesterday) {
    SetGameDay(0);
    AddDailySoldCount(item::VigourPerfume, 0, 4);
    EXPECT_EQ(Caption([](ui::Control& l) { ShowItemSoldToday(l, 3, true); }), "4");
    // The day before the first day: "0".
    EXPECT_EQ(Caption([](ui::Control& l) { ShowItemSoldToday(l, 3, false); }), "0");
    SetGameDay(10);
    AddDailySoldCount(item::VigourPerfume, 9, 6);
    AddDailySoldCount(item::VigourPerfume, 10, 2);
    EXPECT_EQ(Caption([](ui::Control& l) { ShowItemSoldToday(l, 3, true); }), "2");
    EXPECT_EQ(Caption([](ui::Control& l) { ShowItemSoldToday(l, 3, false); }), "6");
}

TEST_F(ItemPaintersTest, StockTalkSetsTheHintNotTheCaption) {
    struct Case {
        int item, stock, reserve;
        const char* want;
    };
    const Case cases[] = {
        {100, 255, 0, "有很多噢"},
        {3, 0, 0, "並未持有"},
        {3, 12, 5, "有12個噢。其中有5個是隨身攜帶的"},
        {3, 12, 0, "有12個噢"},
        {64, 9, 0, "有9個噢"},
    };
    for (const Case& c : cases) {
        SetItemStock(c.item, c.stock);
        SetItemReserve(c.item, c.reserve);
        ui::Label label;
        label.SetCaption("x");
        ShowStockTalk(label, c.item);
        EXPECT_EQ(ui::Big5ToUtf8(label.Hint), c.want) << c.item;
        EXPECT_EQ(label.Caption(), "x");
    }
}

TEST_F(ItemPaintersTest, SlotHeadingsAndPriceLines) {
    const char* names[10] = {"特惠商品區", "推薦商品區", "１號區", "２號區", "３號區",
                             "４號區",     "５號區",     "６號區", "７號區", "８號區"};
    ui::Label heading, price;
    for (int s = 0; s < 10; ++s) {
        ShowSlotHeading(heading, price, s, 3);
        EXPECT_EQ(ui::Big5ToUtf8(heading.Caption()), names[s]);
        if (s >= 2) {
            EXPECT_EQ(price.Caption(), "");
            EXPECT_EQ(price.GetFont().Color, ui::clBlack);
        }
    }
    // 120 G at half price on slot 0 (red), three quarters on slot 1 (green).
    ShowSlotHeading(heading, price, 0, 3);
    EXPECT_EQ(ui::Big5ToUtf8(price.Caption()), "販售價格 60G ");
    EXPECT_EQ(price.GetFont().Color, ui::clRed);
    ShowSlotHeading(heading, price, 1, 3);
    EXPECT_EQ(ui::Big5ToUtf8(price.Caption()), "販售價格 90G ");
    EXPECT_EQ(price.GetFont().Color, ui::clGreen);
}

TEST_F(ItemPaintersTest, PicturesComeFromTheShopPack) {
    ui::Image image;
    ShowItemIcon(image, 5);
    EXPECT_TRUE(image.Visible());
    EXPECT_EQ(image.Picture().Width(), 64);
    EXPECT_EQ(image.Picture().Height(), 64);
    ShowItemIcon(image, -1);
    EXPECT_FALSE(image.Visible());
    ShowItemNamePicture(image, 5);
    EXPECT_TRUE(image.Visible());
    EXPECT_FALSE(image.Picture().Empty());
}

TEST_F(ItemPaintersTest, SmallIconsAreCellsOfTheSheetRows) {
    // A sheet whose cell (16 n, 0) holds colour index n + 1 and (16 n, 16) index 200 + n.
    ui::Bitmap sheet(16 * 107, 32, ui::PixelFormat::pf8bit);
    ui::Palette pal{};
    for (int i = 0; i < 256; ++i) pal[i] = ui::RGBQuad{std::uint8_t(i), 0, 0, 0};
    sheet.SetColorTable(pal);
    for (int n = 0; n < 107; ++n)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                sheet.SetRaw(16 * n + x, y, std::uint32_t(n + 1));
                sheet.SetRaw(16 * n + x, 16 + y, std::uint32_t(n < 50 ? 200 + n : 0));
            }
    SetSmallIconSheet(&sheet);
    ui::Image image;
    struct Case {
        int picture;
        std::uint32_t raw;
    };
    for (Case c : {Case{0, 1}, Case{106, 107}, Case{107, 200}, Case{107 + 5, 205}}) {
        ShowItemSmallIcon(image, c.picture);
        EXPECT_TRUE(image.Visible());
        ASSERT_EQ(image.Picture().Width(), 16);
        EXPECT_EQ(image.Picture().GetRaw(0, 0), c.raw) << c.picture;
        EXPECT_EQ(image.Picture().GetRaw(15, 15), c.raw) << c.picture;
        EXPECT_EQ(image.Picture().ColorTable()[c.raw].Blue, c.raw);
    }
    ShowItemSmallIcon(image, -1);
    EXPECT_FALSE(image.Visible());
    SetSmallIconSheet(nullptr);
}

}  // namespace
