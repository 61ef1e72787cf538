#include "shop/GameState.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/Random.h"
#include "shop/Calendar.h"
#include "shop/Fashion.h"
#include "shop/Mixing.h"
#include "story/Register.h"
#include "tests/support/ScriptedRandom.h"

namespace {

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::vector<std::uint8_t> Image() {
    std::vector<std::uint8_t> b(kGameStateSize);
    WriteGameStateImage(b.data());
    return b;
}

class GameStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_ClockHooks = {};
        ui::Srand(7);
        InitGameState();
    }
};

}  // namespace

TEST(GameStateLayout, ByteImagePutsEveryFieldAtItsOffset) {
    GameState& g = g_GameState;
    std::memset(&g, 0, sizeof g);
    g.Variant = 1;
    g.Day = 0x0102;
    g.Hour = 23;
    g.Condition = 2;
    g.Level = 20;
    g.Experience = 99;
    g.Money = -5;
    g.Reputation = 100;
    g.CustomerMessages[0] = 70;
    g.CustomerMessages[2] = -1;
    g.Visitors[0] = 0x11223344;
    g.Visitors[287] = 9;
    g.MarketOffers[0] = {64, 20};
    g.MarketOffers[4] = {97, 99};
    g.MarketPad[1] = 0xAB;
    g.ItemStates[0].Stock = 12;
    g.ItemStates[106].Stock = 1;
    g.ItemStates[106].Reserve = 1;
    g.ItemStates[106].Sold[287] = 7;
    g.ItemStates[106].Pad0[0] = 0xCD;
    g.ItemStates[106].Revenue[0] = 0xA0B0C0D0;
    g.ItemStates[106].Revenue[287] = 5;
    g.ItemStates[106].Unlocked = 1;
    g.ItemStates[106].Pad1[2] = 0xEF;
    g.ExhibitionSlots[0] = -1;
    g.ExhibitionSlots[9] = 63;
    g.ExhibitionSlotsYesterday[9] = 4;
    g.ExhibitionSlotsEvening[0] = 13;
    g.RepDecayCount = 7;
    g.BoostCountdown = 29;
    g.MixJob = {43, 4, 17, 32};
    g.Reserved[0] = 0x5A;
    g.Reserved[127] = 0xA5;

    std::vector<std::uint8_t> b = Image();
    const std::size_t item106 = 1208 + 106 * 1448;
    EXPECT_EQ(U32At(b, 0), 1u);
    EXPECT_EQ(U32At(b, 4), 0x0102u);
    EXPECT_EQ(U32At(b, 8), 23u);
    EXPECT_EQ(U32At(b, 12), 2u);
    EXPECT_EQ(U32At(b, 16), 20u);
    EXPECT_EQ(U32At(b, 20), 99u);
    EXPECT_EQ(U32At(b, 24), 0xFFFFFFFBu);
    EXPECT_EQ(U32At(b, 28), 100u);
    EXPECT_EQ(U32At(b, 32), 70u);
    EXPECT_EQ(U32At(b, 40), 0xFFFFFFFFu);
    EXPECT_EQ(U32At(b, 44), 0x11223344u);
    EXPECT_EQ(U32At(b, 44 + 287 * 4), 9u);
    EXPECT_EQ(b[1196], 64);
    EXPECT_EQ(b[1197], 20);
    EXPECT_EQ(b[1204], 97);
    EXPECT_EQ(b[1205], 99);
    EXPECT_EQ(b[1207], 0xAB);
    EXPECT_EQ(b[1208], 12);
    EXPECT_EQ(b[item106 + 0], 1);
    EXPECT_EQ(b[item106 + 1], 1);
    EXPECT_EQ(b[item106 + 2 + 287], 7);
    EXPECT_EQ(b[item106 + 290], 0xCD);
    EXPECT_EQ(U32At(b, item106 + 292), 0xA0B0C0D0u);
    EXPECT_EQ(U32At(b, item106 + 292 + 287 * 4), 5u);
    EXPECT_EQ(b[item106 + 1444], 1);
    EXPECT_EQ(b[item106 + 1447], 0xEF);
    EXPECT_EQ(b[156144], 0xFF);
    EXPECT_EQ(b[156153], 63);
    EXPECT_EQ(b[156163], 4);
    EXPECT_EQ(b[156164], 13);
    EXPECT_EQ(b[156174], 7);
    EXPECT_EQ(b[156175], 29);
    EXPECT_EQ(b[156176], 43);
    EXPECT_EQ(b[156177], 4);
    EXPECT_EQ(b[156178], 17);
    EXPECT_EQ(b[156179], 32);
    EXPECT_EQ(b[156180], 0x5A);
    EXPECT_EQ(b[156307], 0xA5);
}

TEST(GameStateLayout, AnyImageRoundTripsByteForByte) {
    std::vector<std::uint8_t> in(kGameStateSize);
    std::uint32_t x = 12345;
    for (std::uint8_t& v : in) {
        x = x * 1103515245u + 12345u;
        v = static_cast<std::uint8_t>(x >> 24);
    }
    ReadGameStateImage(in.data());
    EXPECT_EQ(Image(), in);
}

// The accessors as one table: each case acts on a fresh new game and checks one item.
TEST_F(GameStateTest, StockAccessors) {
    struct Case {
        const char* name;
        std::function<void()> act;
        int item, stock, reserve;
        bool unlocked;
    };
    const Case cases[] = {
        {"key item 82 set", [] { SetItemStock(item::HeipiFur, 5); }, item::HeipiFur, 255, 0, true},
        {"key item 93 added", [] { AddItemStock(item::GoldenHoney, 3); }, item::GoldenHoney, 255, 0,
         true},
        {"key item 98 added", [] { AddItemStock(item::WaterSpiritStone, 1); },
         item::WaterSpiritStone, 255, 0, true},
        {"key item 82 taken", [] { AddItemStock(item::HeipiFur, -10); }, item::HeipiFur, 255, 0,
         true},
        {"key item 82 removed", [] { RemoveItemStock(item::HeipiFur, 10); }, item::HeipiFur, 255, 0,
         true},
        {"106 set: one keepsake", [] { SetItemStock(item::NecklaceKeepsake, 7); },
         item::NecklaceKeepsake, 1, 0, true},
        {"106 set: 105 goes",
         [] {
             SetItemStock(item::MothersNecklace, 1);
             SetItemStock(item::NecklaceKeepsake, 7);
         },
         105, 0, 0, false},
        {"105 set: key item", [] { SetItemStock(item::MothersNecklace, 1); }, item::MothersNecklace,
         255, 0, true},
        {"106 can be taken away", [] { RemoveItemStock(item::NecklaceKeepsake, 1); },
         item::NecklaceKeepsake, 0, 0, true},
        {"105 set: 106 goes", [] { SetItemStock(item::MothersNecklace, 1); },
         item::NecklaceKeepsake, 0, 0, false},
        {"reserve taken first",
         [] {
             SetItemStock(item::FloraeFlowers, 10);
             SetItemReserve(item::FloraeFlowers, 4);
             RemoveItemStock(item::FloraeFlowers, 3);
         },
         70, 7, 1, true},
        {"reserve used up",
         [] {
             SetItemStock(item::FloraeFlowers, 10);
             SetItemReserve(item::FloraeFlowers, 4);
             RemoveItemStock(item::FloraeFlowers, 5);
         },
         70, 5, 0, true},
        {"never below 0",
         [] {
             SetItemStock(item::FloraeFlowers, 3);
             SetItemReserve(item::FloraeFlowers, 2);
             RemoveItemStock(item::FloraeFlowers, 9);
         },
         70, 0, 0, true},
        {"add clamps at 99", [] { AddItemStock(item::FloraeFlowers, 250); }, item::FloraeFlowers,
         99, 0, true},
        {"add unlocks", [] { AddItemStock(item::Nightglow, 1); }, item::Nightglow, 1, 0, true},
        {"add below 0 clamps, reserve follows",
         [] {
             SetItemStock(item::FloraeFlowers, 5);
             SetItemReserve(item::FloraeFlowers, 5);
             AddItemStock(item::FloraeFlowers, -3);
         },
         70, 2, 2, true},
        {"set 0 does not unlock", [] { SetItemStock(item::Nightglow, 0); }, item::Nightglow, 0, 0,
         false},
        {"set keeps low 8 bits", [] { SetItemStock(item::Nightglow, 258); }, item::Nightglow, 2, 0,
         true},
        {"reserve up to the stock",
         [] {
             SetItemStock(item::FloraeFlowers, 2);
             IncreaseReserve(item::FloraeFlowers);
             IncreaseReserve(item::FloraeFlowers);
             IncreaseReserve(item::FloraeFlowers);
         },
         70, 2, 2, true},
        {"reserve down to 0",
         [] {
             SetItemStock(item::FloraeFlowers, 2);
             SetItemReserve(item::FloraeFlowers, 1);
             DecreaseReserve(item::FloraeFlowers);
             DecreaseReserve(item::FloraeFlowers);
         },
         70, 2, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InitGameState();
        SetItemStock(item::FloraeFlowers, 0);
        LockItem(item::FloraeFlowers);
        c.act();
        EXPECT_EQ(ItemStock(c.item), c.stock);
        EXPECT_EQ(ItemReserve(c.item), c.reserve);
        EXPECT_EQ(IsItemUnlocked(c.item), c.unlocked);
    }
}

TEST_F(GameStateTest, StockTiersFollowTheUnitsForSale) {
    const int available[] = {0, 1, 2, 3, 4, 5, 6, 50};
    const int tier[] = {0, 1, 2, 2, 3, 3, 4, 4};
    for (int k = 0; k < 8; ++k) {
        SetItemStock(item::FloraeFlowers, available[k] + 2);
        SetItemReserve(item::FloraeFlowers, 2);
        EXPECT_EQ(StockTier(item::FloraeFlowers), tier[k]) << available[k];
    }
    SetItemStock(item::FloraeFlowers, 1);
    SetItemReserve(item::FloraeFlowers, 3);  // a reserve set above the stock still shows tier 0
    EXPECT_EQ(StockTier(item::FloraeFlowers), 0);
}

TEST_F(GameStateTest, MoneyReputationConditionAndMessages) {
    SetMoney(9999000);
    AddMoney(5000);
    EXPECT_EQ(GameMoney(), 9999999);
    SetMoney(100);
    AddMoney(-250);
    EXPECT_EQ(GameMoney(), -150);
    AddMoney(INT32_MIN);  // stays negative instead of wrapping round
    EXPECT_LT(GameMoney(), 0);

    SetReputation(120);
    EXPECT_EQ(GameReputation(), 100);
    AddReputation(-150);
    EXPECT_EQ(GameReputation(), 0);

    SetCondition(1);
    AddCondition(5);
    EXPECT_EQ(GameCondition(), 2);
    AddCondition(-3);
    EXPECT_EQ(GameCondition(), 0);

    ClearCustomerMessages();
    AddCustomerMessage(70);
    AddCustomerMessage(70);
    AddCustomerMessage(5);
    EXPECT_EQ(CustomerMessage(0), 70);
    EXPECT_EQ(CustomerMessage(1), 5);
    EXPECT_EQ(CustomerMessage(2), -1);
    AddCustomerMessage(6);
    AddCustomerMessage(7);  // full: dropped
    EXPECT_EQ(CustomerMessage(2), 6);
    AddCustomerMessage(5);
    EXPECT_EQ(CustomerMessage(0), 70);
    EXPECT_EQ(CustomerMessage(1), 5);
    EXPECT_EQ(CustomerMessage(2), 6);
}

TEST_F(GameStateTest, SlotsPricesAndDailyRecords) {
    SetSlotItem(2, 13);
    EXPECT_EQ(ItemSlot(13), 5);  // slot 5 shows it too: the higher slot wins
    SetSlotItem(5, -1);
    EXPECT_EQ(ItemSlot(13), 2);
    EXPECT_EQ(ItemSlot(item::Panacea), -1);

    EXPECT_EQ(SalePrice(0, 3), 60);
    EXPECT_EQ(SalePrice(1, 3), 90);
    EXPECT_EQ(SalePrice(1, 58), 127);  // 170 x 3 / 4, rounded down
    EXPECT_EQ(SalePrice(9, 3), 120);

    AddDailySoldCount(item::VigourPerfume, 4, 250);
    AddDailySoldCount(item::VigourPerfume, 4, 10);  // a byte: wraps
    EXPECT_EQ(DailySoldCount(item::VigourPerfume, 4), 4);
    AddDailyRevenue(item::VigourPerfume, 4, 120);
    AddDailyRevenue(item::VigourPerfume, 4, 60);
    EXPECT_EQ(DailyRevenue(item::VigourPerfume, 4), 180);

    // Days outside the year are never written and read as 0.
    std::vector<std::uint8_t> before = Image();
    AddDailySoldCount(item::VigourPerfume, 288, 1);
    AddDailySoldCount(item::VigourPerfume, -1, 1);
    AddDailyRevenue(item::VigourPerfume, 300, 1);
    SetGameDay(288);
    AddVisitor();
    SetGameDay(0);
    EXPECT_EQ(Image(), before);
    EXPECT_EQ(DailySoldCount(item::VigourPerfume, 288), 0);
    EXPECT_EQ(DailyVisitors(-1), 0);
    AddVisitor();
    EXPECT_EQ(DailyVisitors(0), 1);
}

TEST_F(GameStateTest, ExperienceRaisesOneLevelPerCall) {
    SetGameLevel(5);
    SetExperience(30);
    EXPECT_EQ(AddExperience(250), LevelUnlocks[6]);
    EXPECT_EQ(GameLevel(), 6);
    EXPECT_EQ(GameExperience(), 180);
    EXPECT_TRUE(IsItemUnlocked(LevelUnlocks[6]));
    EXPECT_EQ(AddExperience(0), LevelUnlocks[7]);
    EXPECT_EQ(GameLevel(), 7);
    EXPECT_EQ(GameExperience(), 80);
    EXPECT_EQ(AddExperience(19), -1);
    EXPECT_EQ(GameExperience(), 99);

    SetGameLevel(19);
    SetExperience(90);
    EXPECT_EQ(AddExperience(50), 41);
    EXPECT_EQ(GameLevel(), 20);
    EXPECT_EQ(GameExperience(), 0);
    EXPECT_EQ(AddExperience(500), -1);
    EXPECT_EQ(GameLevel(), 20);
    EXPECT_EQ(GameExperience(), 0);
}

TEST(GameStateInit, NewGameUnderScriptedDraws) {
    g_ClockHooks = {};
    g_GameState.BoostCountdown = 17;
    g_GameState.MixJob = {3, 2, 20, 5};
    // Variant 0, then the new year's seeds of variant 0: 15 for goods 0, 10 for 59, 10 for 33.
    std::vector<int> draws = {0};
    for (int k = 0; k < 35; ++k) draws.push_back(k);
    test::ScriptedRandom rnd(draws);
    InitGameState();
    EXPECT_TRUE(rnd.Done());

    EXPECT_EQ(GameVariant(), 0);
    EXPECT_EQ(GameDay(), 0);
    EXPECT_EQ(GameHour(), 8);
    EXPECT_EQ(GameCondition(), 0);
    EXPECT_EQ(GameLevel(), 1);
    EXPECT_EQ(GameExperience(), 30);
    EXPECT_EQ(GameMoney(), 1000);
    EXPECT_EQ(GameReputation(), 10);
    EXPECT_EQ(MixHoursLeft(), 0);
    EXPECT_EQ(RepDecayCount(), 0);
    EXPECT_EQ(BoostCountdown(), 17);  // carried over
    for (int i = 0; i < 3; ++i) EXPECT_EQ(CustomerMessage(i), -1);
    for (int s = 0; s < 10; ++s) {
        EXPECT_EQ(SlotItem(s), InitialSlots[s]);
        EXPECT_EQ(YesterdaySlotItem(s), -1);
        EXPECT_EQ(EveningSlotItem(s), -1);
    }

    int stock[kItemCount] = {}, reserve[kItemCount] = {};
    bool unlocked[kItemCount] = {};
    for (std::uint8_t id : InitialUnlocks) unlocked[id] = true;
    for (const InitialStockEntry& e : InitialStock) {
        stock[e.Item] = (e.A + e.B) & 0xFF;
        reserve[e.Item] = e.B;
        unlocked[e.Item] = true;
    }
    for (int i = 0; i < kItemCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ItemStock(i), stock[i]);
        EXPECT_EQ(ItemReserve(i), reserve[i]);
        EXPECT_EQ(IsItemUnlocked(i), unlocked[i]);
    }
    EXPECT_EQ(ItemStock(item::HeipiFur), 255);
    EXPECT_EQ(ItemStock(item::NecklaceKeepsake), 1);
    EXPECT_EQ(ItemStock(item::VigourScentBottle), 10);
    EXPECT_EQ(ItemReserve(item::VigourScentBottle), 2);

    EXPECT_EQ(Fashions[0].Popularity(), 15);
    EXPECT_EQ(Fashions[59].Popularity(), 10);
    EXPECT_EQ(Fashions[33].Popularity(), 10);
    EXPECT_EQ(Fashions[0].CellState(14), 1);
    EXPECT_EQ(Fashions[59].CellState(15), 1);
    EXPECT_EQ(Fashions[33].CellState(34), 1);
    for (int g = 0; g < kGoodsCount; ++g) {
        EXPECT_EQ(Fashions[g].WantRate(), FashionParams[g][0][0].WantRate);
        EXPECT_EQ(Fashions[g].ImmunePeriod(), FashionParams[g][0][0].ImmunePeriod);
        EXPECT_EQ(Fashions[g].ImmuneTimer(), 0u);
    }
}

TEST(GameStateInit, SameSeedSameGame) {
    g_ClockHooks = {};
    auto run = [] {
        ui::Srand(2024);
        InitGameState();
        std::vector<std::uint8_t> b = Image();
        for (const Fashion& f : Fashions) {
            std::uint8_t rec[kFashionRecordSize];
            f.SaveRecord(rec);
            b.insert(b.end(), rec, rec + sizeof rec);
        }
        return b;
    };
    std::vector<std::uint8_t> a = run();
    // Leave traces of a played game; the new game must not keep them.
    AddItemStock(64, 50);
    AddDailySoldCount(item::VigourPerfume, 2, 4);
    g_GameState.Visitors[10] = 5;
    SeedDemand(40, 3);
    EXPECT_EQ(run(), a);
}
