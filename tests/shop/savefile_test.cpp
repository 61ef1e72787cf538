#include "shop/Savefile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "shop/Calendar.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "shop/Market.h"
#include "shop/Mixing.h"
#include "story/Register.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::int32_t I32At(const Bytes& b, std::size_t at) { return ui::LoadI32(b.data() + at); }

// A fresh game in an empty program folder of its own.
class SaveFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldFolder_ = ui::ProgramFolder();
        std::string tmpl = (fs::temp_directory_path() / "lumia-save-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        ui::SetProgramFolder(dir_.string());
        ui::Srand(7);
        for (std::uint8_t& b : EverUnlocked) b = 0;
        InitGameState();
        flow_ = new TEvControler();
        GameFlow = flow_;
    }
    void TearDown() override {
        SetSaveRenameHook(nullptr);
        GameFlow = nullptr;
        delete flow_;
        ui::SetProgramFolder(oldFolder_);
        fs::remove_all(dir_);
    }

    Bytes ReadBack(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void WriteOut(const std::string& name, const Bytes& b) const {
        std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    static Bytes Image() {
        Bytes b(kSlotFileSize);
        BuildSlotImage(b.data());
        return b;
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename().string());
        return names;
    }

    // A game with something in every part of the slot image.
    static void FillGame() {
        SetGameDay(123);
        SetGameHour(21);
        SetCondition(1);
        SetGameLevel(7);
        SetMoney(456789);
        SetReputation(55);
        AddCustomerMessage(70);
        SetMarketItem(2, 94);
        SetMarketStock(2, 61);
        SetItemStock(item::FloraePerfume, 42);
        SetItemReserve(item::FloraePerfume, 3);
        AddDailySoldCount(item::FloraePerfume, 123, 9);
        AddDailyRevenue(item::FloraePerfume, 123, 0x9C41);  // 250 units at 160 and one more
        SetSlotItem(4, item::FloraePerfume);
        StartMixJob(12, 2, 20);
        g_GameState.Reserved[0] = 0x5A;
        g_GameState.Reserved[127] = 0xA5;
        g_GameState.MarketPad[1] = 0x11;
        g_GameState.ItemStates[9].Pad1[2] = 0x22;
        Fashions[7].SetCell(3, 1, 5);
        Fashions[63].SetCell(63, 2, 4);
        EventServerDbg->SetFlg(500, true);
        EventServerDbg->SetFlg(40, true);
        EventServerDbg->EventVariable[3] = -77;
        EventServerDbg->CountdownTimers[1] = {600, 2, 601};
        DayMarks[9] = 111;
        Orders[0] = OrderSlot{};
        Orders[0].Id = 2;
        Orders[0].Reward = 1200;
        Orders[0].AcceptedDay = 120;
        Orders[0].Deadline = 132;
        Orders[0].Flag = 685;
        Orders[0].Item = 15;
        Orders[0].Quantity = 10;
        Orders[0].Client = 1;
        Orders[0].Spare = 2;
    }

    TEvControler* flow_ = nullptr;
    fs::path dir_;
    std::string oldFolder_;
};

TEST_F(SaveFileTest, SlotFileHoldsEachPartAtItsOffset) {
    FillGame();
    ASSERT_TRUE(SaveGame(0));
    EXPECT_EQ(SlotFileName(0), "QDV1.QDV");
    EXPECT_EQ(SlotFileName(5), "QDV6.QDV");
    const Bytes f = ReadBack("QDV1.QDV");
    ASSERT_EQ(f.size(), 185836u);

    EXPECT_EQ(I32At(f, 4), 123);
    EXPECT_EQ(I32At(f, 8), 21);
    EXPECT_EQ(I32At(f, 12), 1);
    EXPECT_EQ(I32At(f, 16), 7);
    EXPECT_EQ(I32At(f, 24), 456789);
    EXPECT_EQ(I32At(f, 28), 55);
    EXPECT_EQ(I32At(f, 32), 70);
    EXPECT_EQ(I32At(f, 36), -1);
    EXPECT_EQ(f[1196 + 2 * 2], 94);  // market offer 2
    EXPECT_EQ(f[1196 + 2 * 2 + 1], 61);
    EXPECT_EQ(f[1207], 0x11);
    const std::size_t item5 = 1208 + 1448 * 5;
    EXPECT_EQ(f[item5], 42);
    EXPECT_EQ(f[item5 + 1], 3);
    EXPECT_EQ(f[item5 + 2 + 123], 9);
    EXPECT_EQ(ui::LoadU32(f.data() + item5 + 292 + 4 * 123), 0x9C41u);
    EXPECT_EQ(f[item5 + 1444], 1);
    EXPECT_EQ(f[1208 + 1448 * 9 + 1447], 0x22);
    EXPECT_EQ(static_cast<std::int8_t>(f[156144 + 4]), 5);
    EXPECT_EQ(static_cast<std::int8_t>(f[156144]), -1);
    const std::uint8_t job[] = {12, 2, 20, 2};
    EXPECT_TRUE(std::equal(job, job + 4, f.begin() + 156176));
    EXPECT_EQ(f[156180], 0x5A);
    EXPECT_EQ(f[156180 + 127], 0xA5);

    for (int g = 0; g < 64; ++g) {
        std::uint8_t rec[441];
        Fashions[g].SaveRecord(rec);
        ASSERT_TRUE(std::equal(rec, rec + 441, f.begin() + 156308 + 441 * g)) << "goods " << g;
    }
    EXPECT_EQ(f[156308 + 441 * 7 + 3], 1);
    EXPECT_EQ(f[156308 + 441 * 7 + 64 + 3], 5);
    EXPECT_EQ(f[156308 + 441 * 63 + 63], 2);

    const std::size_t ev = 184532;
    EXPECT_EQ(ui::LoadU32(f.data() + ev + 4 * 15), 1u << 20);       // flag 500
    EXPECT_NE(ui::LoadU32(f.data() + ev + 4 * 1) & (1u << 8), 0u);  // flag 40
    EXPECT_EQ(I32At(f, ev + 128 + 12 + 0), 600);
    EXPECT_EQ(I32At(f, ev + 128 + 12 + 8), 601);
    EXPECT_EQ(I32At(f, ev + 512 + 4 * 3), -77);
    EXPECT_EQ(I32At(f, ev + 768 + 4 * 9), 111);
    EXPECT_EQ(I32At(f, ev + 808), 2);
    EXPECT_EQ(I32At(f, ev + 808 + 24), 685);
    EXPECT_EQ(I32At(f, ev + 808 + 60), 0);  // second order slot free

    for (std::size_t i = 185580; i < f.size(); ++i) ASSERT_EQ(f[i], 0) << "tail byte " << i;
}

TEST_F(SaveFileTest, SaveLoadSaveIsByteIdentical) {
    FillGame();
    ASSERT_TRUE(SaveGame(0));
    const Bytes saved = ReadBack("QDV1.QDV");

    // Another game in memory, then the slot back.
    InitGameState();
    EventServerDbg->NewGameReset();
    GameFlow->MixedItem = 12;
    g_GameState.Reserved[0] = 0;
    ASSERT_NE(Image(), saved);

    ASSERT_TRUE(LoadGame(0));
    EXPECT_EQ(GameDay(), 123);
    EXPECT_EQ(GameMoney(), 456789);
    EXPECT_EQ(Orders[0].Flag, 685);
    EXPECT_EQ(GameFlow->MixedItem, -1);
    ASSERT_TRUE(SaveGame(3));
    EXPECT_EQ(ReadBack("QDV4.QDV"), saved);
}

// With a save folder apart from the game folder (the generated folder's saves), the
// slots and the system file are written there, the folder made by the first save, and
// read back from there; nothing goes into the game folder.
TEST_F(SaveFileTest, SavesGoToTheSaveFolderMadeByTheFirstSave) {
    const fs::path saves = dir_ / "user" / "lumia";
    ui::SetSaveFolder(saves.string());
    FillGame();
    const bool saved = SaveGame(1) && SaveSystemFile();
    std::int32_t day = 0, money = 0;
    const bool peeked = PeekSaveSlot(1, day, money);
    InitGameState();
    const bool loaded = LoadGame(1) && LoadSystemFile();
    ui::SetSaveFolder("");
    ASSERT_TRUE(saved);
    EXPECT_EQ(fs::file_size(saves / "QDV2.QDV"), 185836u);
    EXPECT_EQ(fs::file_size(saves / "QDV0.QDV"), 115u);
    EXPECT_FALSE(fs::exists(dir_ / "QDV2.QDV"));
    EXPECT_FALSE(fs::exists(dir_ / "QDV0.QDV"));
    EXPECT_TRUE(peeked);
    EXPECT_EQ(day, 123);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(GameMoney(), 456789);
}

// The game's own rules never leave a state that the loader refuses: a year of days
// with mixing, stock and money changes, checked every evening and night.
TEST_F(SaveFileTest, EveryDayOfAYearPassesTheChecks) {
    const ClockHooks oldHooks = g_ClockHooks;
    g_ClockHooks = {};
    for (int d = 0; d < kGameDays; ++d) {
        const int goods = ui::Rand() % kGoodsCount;
        const int batches = ui::Rand() % 4 + 1;
        if (MixHoursLeft() == 0) StartMixJob(goods, batches, PlannedMixYield(goods, batches));
        AddItemStock(ui::Rand() % kItemCount, ui::Rand() % 200 - 100);
        AddMoney(ui::Rand() * 40 - 600000);
        AddExperience(ui::Rand() % 60);
        AddReputation(ui::Rand() % 11 - 5);
        SetSlotItem(ui::Rand() % kExhibitionSlots, ui::Rand() % 65 - 1);
        while (GameDay() == d) {
            MixStep();
            AdvanceHour();
            if (GameHour() == 20 || GameHour() == 3) {
                ASSERT_TRUE(CheckSlotImage(Image().data(), kSlotFileSize)) << d;
            }
        }
    }
    g_ClockHooks = oldHooks;
}

TEST_F(SaveFileTest, KeyItemsAndAnEndedJobLoad) {
    SetItemStock(item::HeipiFur, 255);
    SetItemStock(item::MothersNecklace, 0);
    StartMixJob(43, 4, 40);  // the longest recipe, all its hours left
    ASSERT_EQ(MixHoursLeft(), 32);
    ASSERT_TRUE(SaveGame(1));
    ASSERT_TRUE(LoadGame(1));
    while (MixStep()) {
    }
    ASSERT_TRUE(SaveGame(1));
    EXPECT_TRUE(LoadGame(1));
    EXPECT_EQ(ItemStock(item::HeipiFur), 255);
}

// Each case damages one value of a good slot image; the load must fail and leave
// the running game exactly as it was.
TEST_F(SaveFileTest, DamagedSlotFailsAndChangesNothing) {
    FillGame();
    const Bytes good = Image();
    auto i32 = [](std::size_t at, std::int32_t v) {
        return [=](Bytes& b) { ui::StoreI32(b.data() + at, v); };
    };
    auto u8 = [](std::size_t at, std::uint8_t v) { return [=](Bytes& b) { b[at] = v; }; };
    const std::size_t fashion7 = 156308 + 441 * 7, order0 = 184532 + 808, order1 = order0 + 60;
    const std::size_t events = 184532, timer1 = events + 128 + 12, item5 = 1208 + 1448 * 5;
    const struct {
        const char* what;
        std::function<void(Bytes&)> damage;
    } cases[] = {
        {"one byte short", [](Bytes& b) { b.pop_back(); }},
        {"one byte long", [](Bytes& b) { b.push_back(0); }},
        {"empty", [](Bytes& b) { b.clear(); }},
        {"variant 2", i32(0, 2)},
        {"day 288", i32(4, 288)},
        {"day -1", i32(4, -1)},
        {"hour 24", i32(8, 24)},
        {"condition 3", i32(12, 3)},
        {"level 0", i32(16, 0)},
        {"level 21", i32(16, 21)},
        // Experience is 0..99: a level-up takes 100 away, and no gain is above 10.
        {"experience 100", i32(20, 100)},
        {"experience next to the largest int", i32(20, 0x7FFFFFF0)},
        {"experience -1", i32(20, -1)},
        {"money above the cap", i32(24, 10000000)},
        {"a debt beyond the cap", i32(24, -10000000)},
        {"visitors beyond any day's", i32(44 + 4 * 7, 0x7FFFFFFF)},
        {"reputation 101", i32(28, 101)},
        {"reputation -1", i32(28, -1)},
        {"customer message 128", i32(36, 128)},
        {"customer message -2", i32(40, -2)},
        {"market item 107", u8(1196 + 8, 107)},
        {"market quantity 100", u8(1196 + 9, 100)},
        {"stock 100", u8(1208 + 1448 * 20, 100)},
        {"stock 254", u8(1208 + 1448 * 106, 254)},
        {"reserve above the stock", u8(item5 + 1, 43)},
        {"reserve of an empty item", u8(1208 + 1448 * 3 + 1, 1)},
        {"unlocked 2", u8(item5 + 1444, 2)},
        // Item 5 sells at most at 160; a day's sold count is a byte.
        {"revenue beyond 255 units", i32(item5 + 292 + 4 * 123, 255 * 160 + 1)},
        {"slot shows a material", u8(156144 + 9, 64)},
        {"slot -2", u8(156144, 0xFE)},
        {"yesterday's slot out of range", u8(156154 + 3, 120)},
        {"evening slot out of range", u8(156164 + 9, 64)},
        {"job mixes a material", u8(156176, 64)},
        {"job of five batches", u8(156177, 5)},
        {"job of no batches", u8(156177, 0)},
        {"job yields more than its batches", u8(156178, 21)},
        {"job with more hours than its recipe", u8(156179, 3)},
        {"fashion state 3", u8(fashion7 + 10, 3)},
        {"fashion live cell without life", u8(fashion7 + 64 + 3, 0)},
        {"fashion want rate 101", i32(fashion7 + 417, 101)},
        {"fashion immune rate 101", i32(fashion7 + 425, 101)},
        {"fashion want life 256", i32(fashion7 + 421, 256)},
        {"fashion immunity timer 256", i32(fashion7 + 437, 256)},
        {"flag 0 set", u8(events, 0x01)},
        {"countdown clears flag 1024", i32(timer1, 1024)},
        {"countdown clears flag -1", i32(timer1, -1)},
        {"countdown with -1 days", i32(timer1 + 4, -1)},
        {"countdown with more than a year", i32(timer1 + 4, 289)},
        {"countdown sets flag 1024", i32(timer1 + 8, 1024)},
        {"event variable beyond any count", i32(events + 512 + 4 * 3, 0x7FFFFFFF)},
        {"day mark 288", i32(events + 768 + 4 * 9, 288)},
        {"day mark -1", i32(events + 768, -1)},
        {"order reward beyond the cap", i32(order0 + 4, 10000000)},
        {"order reward -1", i32(order0 + 4, -1)},
        {"order accepted on day 288", i32(order0 + 8, 288)},
        {"order due before it was accepted", i32(order0 + 12, 119)},
        {"order for 100 units", i32(order0 + 32, 100)},
        {"order id 23", i32(order0, 23)},
        {"order id -1", i32(order0, -1)},
        {"order client 7", i32(order0 + 36, 7)},
        {"order item 107", i32(order0 + 28, 107)},
        {"order kind 2", i32(order0 + 20, 2)},
        {"order flag 0", i32(order0 + 24, 0)},
        {"order flag 1024", i32(order0 + 24, 1024)},
        {"order without deadline", i32(order0 + 12, 0)},
        {"two orders with one flag",
         [&](Bytes& b) {
             std::copy(b.begin() + order0, b.begin() + order0 + 60, b.begin() + order1);
         }},
    };
    for (const auto& c : cases) {
        Bytes bad = good;
        c.damage(bad);
        WriteOut("QDV3.QDV", bad);
        // Something else in memory, so a partial load would show.
        SetMoney(1);
        EventServerDbg->SetFlg(700, true);
        const Bytes before = Image();
        const int mixed = GameFlow->MixedItem = 5;
        EXPECT_FALSE(LoadGame(2)) << c.what;
        EXPECT_EQ(Image(), before) << c.what;
        EXPECT_EQ(GameFlow->MixedItem, mixed) << c.what;
        std::int32_t day = 0, money = 0;
        EXPECT_FALSE(PeekSaveSlot(2, day, money)) << c.what;
    }
    WriteOut("QDV3.QDV", good);
    EXPECT_TRUE(LoadGame(2));
    EXPECT_EQ(Image(), good);
}

TEST_F(SaveFileTest, MissingSlotAndBadSlotNumbersFail) {
    const Bytes before = Image();
    EXPECT_FALSE(LoadGame(0));
    EXPECT_FALSE(LoadGame(-1));
    EXPECT_FALSE(LoadGame(6));
    EXPECT_FALSE(SaveGame(6));
    EXPECT_FALSE(SaveGame(-1));
    EXPECT_EQ(SlotFileName(6), "");
    EXPECT_EQ(Image(), before);
    EXPECT_TRUE(Files().empty());
}

bool StopBeforeRename() { return false; }

TEST_F(SaveFileTest, InterruptedOrFailedSaveKeepsTheOldFile) {
    FillGame();
    ASSERT_TRUE(SaveGame(2));
    const Bytes old = ReadBack("QDV3.QDV");

    SetMoney(99);
    SetSaveRenameHook(&StopBeforeRename);
    EXPECT_FALSE(SaveGame(2));
    EXPECT_FALSE(SaveSystemFile());
    SetSaveRenameHook(nullptr);
    EXPECT_EQ(ReadBack("QDV3.QDV"), old);
    EXPECT_EQ(Files(), std::vector<std::string>{"QDV3.QDV"});  // no temporary left behind

    // A folder that cannot be written: the save reports failure.
    ui::SetProgramFolder((dir_ / "missing").string());
    EXPECT_FALSE(SaveGame(2));
    EXPECT_FALSE(SaveSystemFile());
    ui::SetProgramFolder(dir_.string());
    EXPECT_EQ(ReadBack("QDV3.QDV"), old);

    ASSERT_TRUE(SaveGame(2));
    EXPECT_EQ(I32At(ReadBack("QDV3.QDV"), 24), 99);
}

TEST_F(SaveFileTest, SystemFileHoldsUnlockedItemsAndPersistentFlags) {
    EverUnlocked[item::FloraeCrown] = 1;
    ASSERT_FALSE(IsItemUnlocked(72));
    UnlockItem(72);
    EventServerDbg->SetFlg(32, true);
    EventServerDbg->SetFlg(95, true);
    EventServerDbg->SetFlg(96, true);  // not persistent
    ASSERT_TRUE(SaveSystemFile());
    const Bytes f = ReadBack("QDV0.QDV");
    ASSERT_EQ(f.size(), 115u);
    EXPECT_EQ(f[100], 1);
    EXPECT_EQ(f[72], 1);
    EXPECT_EQ(f[0], 1);  // unlocked in a new game
    EXPECT_EQ(f[66], 0);
    EXPECT_EQ(EverUnlocked[72], 1);
    EXPECT_EQ(ui::LoadU32(f.data() + 107), 1u);        // flag 32
    EXPECT_EQ(ui::LoadU32(f.data() + 111), 1u << 31);  // flag 95
}

TEST_F(SaveFileTest, LoadingTheSystemFileOnlyAddsToMemory) {
    Bytes f(115, 0);
    f[10] = 1;
    ui::StoreU32(f.data() + 107, 1u << 1);  // flag 33
    ui::StoreU32(f.data() + 111, 1u << 2);  // flag 66
    WriteOut("QDV0.QDV", f);

    EverUnlocked[item::MagicHandWarmer] = 1;
    EventServerDbg->SetFlg(40, true);  // a picture seen since the file was written
    ASSERT_TRUE(LoadSystemFile());
    EXPECT_EQ(EverUnlocked[item::FlowingShampoo], 1);
    EXPECT_EQ(EverUnlocked[item::MagicHandWarmer], 1);
    EXPECT_EQ(EverUnlocked[item::HerbShampoo], 0);
    EXPECT_TRUE(EventServerDbg->TestFlg(33));
    EXPECT_TRUE(EventServerDbg->TestFlg(66));
    EXPECT_TRUE(EventServerDbg->TestFlg(40));
    EXPECT_FALSE(EventServerDbg->TestFlg(34));

    f.pop_back();
    WriteOut("QDV0.QDV", f);
    EverUnlocked[item::FlowingShampoo] = 0;
    EXPECT_FALSE(LoadSystemFile());
    EXPECT_EQ(EverUnlocked[item::FlowingShampoo], 0);
    fs::remove(dir_ / "QDV0.QDV");
    EXPECT_FALSE(LoadSystemFile());
}

TEST_F(SaveFileTest, SlotListLabels) {
    SetGameDay(50);  // month 3, day 3
    SetMoney(12345);
    ASSERT_TRUE(SaveGame(2));
    std::int32_t day = 0, money = 0;
    ASSERT_TRUE(PeekSaveSlot(2, day, money));
    EXPECT_EQ(day, 50);
    EXPECT_EQ(money, 12345);

    std::string dayText, moneyText;
    EXPECT_EQ(SaveSlotLabels(2, dayText, moneyText), SlotState::kSaved);
    EXPECT_EQ(dayText, B5("2： 3月3日"));
    EXPECT_EQ(moneyText, B5("12345Ｇ"));

    SetGameDay(287);
    SetMoney(-40);
    ASSERT_TRUE(SaveGame(5));
    EXPECT_EQ(SaveSlotLabels(5, dayText, moneyText), SlotState::kSaved);
    EXPECT_EQ(dayText, B5("5： 12月24日"));
    EXPECT_EQ(moneyText, B5("-40Ｇ"));

    EXPECT_EQ(SaveSlotLabels(4, dayText, moneyText), SlotState::kEmpty);
    EXPECT_EQ(dayText, B5("4：   未使用"));
    EXPECT_EQ(moneyText, "");
    EXPECT_FALSE(PeekSaveSlot(4, day, money));

    // A file that does not load is told apart from an empty slot: cut short, empty, or
    // of the right size with values no game holds.
    for (const Bytes& damaged : {Bytes(1000, 0), Bytes(), Bytes(kSlotFileSize, 0xFF)}) {
        SCOPED_TRACE(damaged.size());
        WriteOut("QDV1.QDV", damaged);
        EXPECT_EQ(SaveSlotLabels(0, dayText, moneyText), SlotState::kDamaged);
        EXPECT_EQ(dayText, B5("0：   無法讀取"));
        EXPECT_EQ(moneyText, "");
    }
}

TEST_F(SaveFileTest, LeftoversOfACutSaveGoAndNothingElse) {
    const Bytes some(10, 1);
    // Ours, from a save cut between the temporary file and its rename.
    const std::vector<std::string> ours = {".QDV3.QDV.a1B2c3", ".QDV0.QDV.XXXXXX",
                                           ".qdv6.qdv.zzzzzz"};
    // Not ours: another file's, a wrong tail, a name of the game, a fresh one (a save
    // of another copy under way).
    const std::vector<std::string> kept = {".QDV7.QDV.a1B2c3", ".QDV3.QDV.a1B2c",
                                           ".QDV3.QDV.a1-2c3", ".notes.txt.abcdef",
                                           "QDV3.QDV",         ".QDV2.QDV.fresh1"};
    for (const std::string& n : ours) WriteOut(n, some);
    for (const std::string& n : kept) WriteOut(n, some);
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
    for (const std::string& n : ours) fs::last_write_time(dir_ / n, old);
    for (const std::string& n : kept)
        if (n != ".QDV2.QDV.fresh1") fs::last_write_time(dir_ / n, old);
    RemoveSaveLeftovers();
    for (const std::string& n : ours) EXPECT_FALSE(fs::exists(dir_ / n)) << n;
    for (const std::string& n : kept) EXPECT_TRUE(fs::exists(dir_ / n)) << n;
}

TEST_F(SaveFileTest, RawFilesAreReadOnlyWhole) {
    const std::uint8_t data[5] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(WriteRawFile(data, sizeof data, "raw.bin"));
    std::uint8_t back[5] = {};
    EXPECT_TRUE(ReadRawFile(back, sizeof back, "RAW.BIN"));  // any case
    EXPECT_TRUE(std::equal(data, data + 5, back));
    std::uint8_t more[6] = {};
    EXPECT_FALSE(ReadRawFile(more, sizeof more, "raw.bin"));
    std::uint8_t less[4] = {};
    EXPECT_FALSE(ReadRawFile(less, sizeof less, "raw.bin"));
    EXPECT_FALSE(ReadRawFile(back, sizeof back, "none.bin"));
}

}  // namespace
