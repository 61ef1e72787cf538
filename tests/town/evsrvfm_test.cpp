#include "town/Evsrvfm.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Random.h"
#include "shop/GameState.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvControler.h"

namespace {

class EventStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameFlow = new TEvControler();
        ev = EventServerDbg;
        SetGameDay(10);
        SetGameHour(8);
    }
    void TearDown() override {
        delete GameFlow;
        GameFlow = nullptr;
    }

    std::vector<std::uint8_t> Save() const {
        std::vector<std::uint8_t> block(kEventSaveSize);
        EXPECT_TRUE(ev->SaveEventBlock(block.data(), block.size()));
        return block;
    }

    static std::int32_t I32At(const std::vector<std::uint8_t>& b, std::size_t off) {
        return static_cast<std::int32_t>(b[off] | b[off + 1] << 8 | b[off + 2] << 16 |
                                         static_cast<std::uint32_t>(b[off + 3]) << 24);
    }
    static void PutI32(std::vector<std::uint8_t>& b, std::size_t off, std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i) b[off + i] = static_cast<std::uint8_t>(u >> (8 * i));
    }
    // A held order as the save block stores it, words in their order.
    static void PutOrder(std::vector<std::uint8_t>& b, int slot, std::int32_t id,
                         std::int32_t client, std::int32_t item, std::int32_t flag) {
        const std::size_t off = kOrdersOffset + kOrderSlotSize * slot;
        for (int w = 0; w < 15; ++w) PutI32(b, off + 4 * w, 1000 * (slot + 1) + w);
        PutI32(b, off + 0, id);
        PutI32(b, off + 24, flag);
        PutI32(b, off + 28, item);
        PutI32(b, off + 36, client);
    }

    TEventServerDbg* ev = nullptr;
};

// --- flags ---

TEST_F(EventStateTest, ControllerOpensEveryPlaceButHotSpringAndWizardHouse) {
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_TRUE(GameFlow->IsReady());
    EXPECT_EQ(GameFlow->MixedItem, -1);
    for (int n = 96; n <= 159; ++n) EXPECT_EQ(ev->TestFlg(n), n != 138 && n != 139) << n;
    EXPECT_FALSE(ev->TestFlg(95));
    EXPECT_FALSE(ev->TestFlg(160));
}

TEST_F(EventStateTest, SetFlgOutsideOneTo1023ChangesAndShowsNothing) {
    ev->m_CbxDbg->SetChecked(true);
    const auto before = ev->EventFlags;
    for (int n : {0, 1024, -1, -32, INT_MIN, INT_MAX}) {
        ev->SetFlg(n, true);
        ev->SetFlg(n, false);
    }
    EXPECT_EQ(ev->EventFlags, before);
    EXPECT_EQ(ev->m_LblCommand->Caption(), "Command");  // as it was
    EXPECT_FALSE(ev->TestFlg(0));
    EXPECT_FALSE(ev->TestFlg(1024));
    EXPECT_FALSE(ev->TestFlg(-1));
}

TEST_F(EventStateTest, SetFlgTouchesOneBitAndNamesItselfInDebugMode) {
    ev->m_CbxDbg->SetChecked(true);
    for (int n : {1, 31, 32, 500, 1023}) {
        auto expected = ev->EventFlags;
        expected[n >> 5] |= 1u << (n & 31);
        ev->SetFlg(n, true);
        EXPECT_EQ(ev->EventFlags, expected) << n;
        EXPECT_TRUE(ev->TestFlg(n));
        EXPECT_EQ(ev->m_LblCommand->Caption(), "SetFlg1:" + std::to_string(n));
        ev->SetFlg(n, false);
        EXPECT_FALSE(ev->TestFlg(n));
        EXPECT_EQ(ev->m_LblCommand->Caption(), "SetFlg0:" + std::to_string(n));
    }
}

TEST_F(EventStateTest, DayMarksAndVariablesOutOfRangeAreIgnored) {
    ev->SetDayMark(0);
    ev->SetDayMark(9);
    EXPECT_EQ(DayMarks[0], 10);
    EXPECT_EQ(DayMarks[9], 10);
    const auto marks = DayMarks;
    for (int k : {-1, 10, INT_MAX}) {
        ev->SetDayMark(k);
        ev->ClearDayMark(k);
    }
    EXPECT_EQ(DayMarks, marks);
    ev->ClearDayMark(9);
    EXPECT_EQ(DayMarks[9], 0);

    EXPECT_TRUE(ev->SetVariable(63, -7));
    EXPECT_EQ(ev->Variable(63), -7);
    const auto vars = ev->EventVariable;
    EXPECT_FALSE(ev->SetVariable(64, 1));
    EXPECT_FALSE(ev->SetVariable(-1, 1));
    EXPECT_EQ(ev->EventVariable, vars);
    EXPECT_EQ(ev->Variable(64), 0);
    EXPECT_EQ(ev->Variable(-1), 0);
}

// --- day change ---

TEST_F(EventStateTest, DayChangeClearsExactlyTheDailyFlags) {
    for (int n = 158; n <= 193; ++n) ev->SetFlg(n, true);
    ev->DayChange();
    for (int n = 158; n <= 193; ++n) EXPECT_EQ(ev->TestFlg(n), n < 160 || n > 191) << n;
}

TEST_F(EventStateTest, DayChangeReseedsFromTheTickCount) {
    ui::VirtualClock clock(123456);
    ui::SetClock(&clock);
    ev->DayChange();
    EXPECT_EQ(ui::RandState(), 456u);
    ui::SetClock(nullptr);
}

TEST_F(EventStateTest, CountdownOfOneAndTwoDays) {
    ev->SetFlg(500, true);
    ev->SetFlg(600, true);
    ev->CountdownTimers[0] = {500, 1, 501};
    ev->CountdownTimers[31] = {600, 2, 601};

    ev->DayChange();
    EXPECT_FALSE(ev->TestFlg(500));
    EXPECT_TRUE(ev->TestFlg(501));
    EXPECT_EQ(ev->CountdownTimers[0], CountdownTimer{});
    EXPECT_TRUE(ev->TestFlg(600));
    EXPECT_FALSE(ev->TestFlg(601));
    EXPECT_EQ(ev->CountdownTimers[31], (CountdownTimer{600, 1, 601}));

    ev->DayChange();
    EXPECT_FALSE(ev->TestFlg(600));
    EXPECT_TRUE(ev->TestFlg(601));
    EXPECT_EQ(ev->CountdownTimers[31], CountdownTimer{});
}

TEST_F(EventStateTest, CountdownWithOddLoadedFieldsStaysInsideTheFlags) {
    ev->SetFlg(700, true);
    ev->CountdownTimers[1] = {700, 0, 0};           // no follow-up flag
    ev->CountdownTimers[2] = {2000, INT_MIN, 702};  // flag out of range, days at the bottom
    ev->CountdownTimers[3] = {-5, 1, -9};
    ev->CountdownTimers[4] = {0, 1, 704};  // free: untouched
    ev->DayChange();
    EXPECT_FALSE(ev->TestFlg(700));
    EXPECT_TRUE(ev->TestFlg(702));
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(ev->CountdownTimers[i], CountdownTimer{}) << i;
    EXPECT_EQ(ev->CountdownTimers[4], (CountdownTimer{0, 1, 704}));
    EXPECT_FALSE(ev->TestFlg(704));
}

// --- new game ---

TEST_F(EventStateTest, NewGameKeepsPersistentFlagsAndOpensPlaces) {
    for (int n : {32, 60, 88, 94, 95, 200, 163, 684}) ev->SetFlg(n, true);
    ev->SetFlg(100, false);
    ev->CountdownTimers[5] = {300, 3, 301};
    ev->EventVariable[7] = 9;
    DayMarks[3] = 44;
    Orders[0].Id = 1;
    Orders[0].Flag = 684;
    GameFlow->SetMixedItem(5);

    ev->NewGameReset();

    for (int n = 32; n <= 95; ++n)
        EXPECT_EQ(ev->TestFlg(n), n == 32 || n == 60 || n == 88 || n == 94 || n == 95) << n;
    for (int n = 96; n <= 159; ++n) EXPECT_EQ(ev->TestFlg(n), n != 138 && n != 139) << n;
    for (int n : {1, 31, 163, 200, 684, 1023}) EXPECT_FALSE(ev->TestFlg(n)) << n;
    EXPECT_EQ(ev->EventFlags[0], 0u);
    for (int w = 5; w < kEventFlagWords; ++w) EXPECT_EQ(ev->EventFlags[w], 0u) << w;
    for (const auto& t : ev->CountdownTimers) EXPECT_EQ(t, CountdownTimer{});
    for (auto v : ev->EventVariable) EXPECT_EQ(v, 0);
    for (auto m : DayMarks) EXPECT_EQ(m, 0);
    for (const auto& o : Orders) EXPECT_EQ(o, OrderSlot{});
    EXPECT_EQ(GameFlow->MixedItem, -1);
}

// --- save block ---

TEST_F(EventStateTest, SaveBlockGoldenBytesAtEveryOffset) {
    ev->EventFlags.fill(0);
    ev->SetFlg(1, true);     // word 0, byte 0 bit 1
    ev->SetFlg(40, true);    // word 1, byte 1 bit 0
    ev->SetFlg(1023, true);  // word 31, top bit
    ev->CountdownTimers[0] = {500, 2, 501};
    ev->CountdownTimers[31] = {-1, 0x01020304, 0x7FFFFFFF};
    ev->EventVariable[0] = 0x11223344;
    ev->EventVariable[63] = -2;
    DayMarks[0] = 96;
    DayMarks[9] = 287;
    Orders[0] = {1, 10000, 280, 292, 0, 0, 684, 23, 20, 0, 5, {0, 0, 0, 0}};
    Orders[3] = {22, 0, 3, 10, 0, 1, 549, 0, 1, 6, 0, {1, 2, 3, 0x0A0B0C0D}};

    const auto b = Save();
    ASSERT_EQ(b.size(), 1048u);
    const std::vector<std::uint8_t> flagsHead = {0x02, 0, 0, 0, 0, 0x01, 0, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin(), b.begin() + 8), flagsHead);
    EXPECT_EQ(b[124], 0);
    EXPECT_EQ(b[127], 0x80);
    EXPECT_EQ(I32At(b, 128), 500);
    EXPECT_EQ(I32At(b, 132), 2);
    EXPECT_EQ(I32At(b, 136), 501);
    EXPECT_EQ(I32At(b, 140), 0);
    const std::vector<std::uint8_t> lastTimer = {0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x03,
                                                 0x02, 0x01, 0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 500, b.begin() + 512), lastTimer);
    const std::vector<std::uint8_t> firstVar = {0x44, 0x33, 0x22, 0x11};
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 512, b.begin() + 516), firstVar);
    EXPECT_EQ(I32At(b, 764), -2);
    EXPECT_EQ(I32At(b, 768), 96);
    EXPECT_EQ(I32At(b, 804), 287);
    const std::int32_t order0[15] = {1, 10000, 280, 292, 0, 0, 684, 23, 20, 0, 5, 0, 0, 0, 0};
    for (int w = 0; w < 15; ++w) EXPECT_EQ(I32At(b, 808 + 4 * w), order0[w]) << w;
    for (std::size_t off = 868; off < 988; ++off) EXPECT_EQ(b[off], 0) << off;
    const std::int32_t order3[15] = {22, 0, 3, 10, 0, 1, 549, 0, 1, 6, 0, 1, 2, 3, 0x0A0B0C0D};
    for (int w = 0; w < 15; ++w) EXPECT_EQ(I32At(b, 988 + 4 * w), order3[w]) << w;
    EXPECT_EQ(b[1047], 0x0A);
}

TEST_F(EventStateTest, SaveBlockRoundTripIsByteIdentical) {
    std::vector<std::uint8_t> block(kEventSaveSize);
    ui::Srand(77);
    for (std::size_t i = 0; i < kOrdersOffset; ++i)
        block[i] = static_cast<std::uint8_t>(ui::Rand());
    PutOrder(block, 0, 3, 0, 47, 686);
    PutOrder(block, 1, 21, 6, 63, 548);
    PutOrder(block, 2, 1, 3, 106, 684);
    PutOrder(block, 3, 22, 5, 0, 549);
    GameFlow->SetMixedItem(7);

    ASSERT_TRUE(ev->LoadEventBlock(block.data(), block.size()));
    EXPECT_EQ(GameFlow->MixedItem, -1);
    EXPECT_EQ(Save(), block);
    EXPECT_EQ(Orders[1].Id, 21);
    EXPECT_EQ(Orders[1].Client, 6);
    EXPECT_EQ(ev->CountdownTimers[3].DaysLeft, I32At(block, 128 + 36 + 4));
    EXPECT_EQ(DayMarks[2], I32At(block, 776));
}

TEST_F(EventStateTest, LoadFreesOrdersNamingUnknownIdsClientsOrItems) {
    std::vector<std::uint8_t> block(kEventSaveSize);
    PutOrder(block, 0, 23, 0, 1, 684);   // id past the catalogue
    PutOrder(block, 1, 5, 2, 4, 688);    // good
    PutOrder(block, 2, 2, 7, 15, 685);   // client past the table
    PutOrder(block, 3, 6, 1, 107, 689);  // item past the catalogue
    ASSERT_TRUE(ev->LoadEventBlock(block.data(), block.size()));
    EXPECT_EQ(Orders[0].Id, 5);
    EXPECT_EQ(Orders[0].Flag, 688);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(Orders[i], OrderSlot{}) << i;

    for (auto [id, client, item] : {std::tuple{0, 0, 0}, {-1, 0, 0}, {1, -1, 0}, {1, 0, -1}}) {
        std::vector<std::uint8_t> one(kEventSaveSize);
        PutOrder(one, 0, id, client, item, 684);
        ASSERT_TRUE(ev->LoadEventBlock(one.data(), one.size()));
        EXPECT_EQ(Orders[0], OrderSlot{}) << id << " " << client << " " << item;
    }
}

TEST_F(EventStateTest, LoadOfWrongSizeChangesNothing) {
    ev->SetFlg(300, true);
    DayMarks[1] = 5;
    Orders[0].Id = 2;
    GameFlow->SetMixedItem(3);
    const auto before = Save();
    std::vector<std::uint8_t> block(kEventSaveSize + 1, 0xFF);
    EXPECT_FALSE(ev->LoadEventBlock(block.data(), kEventSaveSize - 1));
    EXPECT_FALSE(ev->LoadEventBlock(block.data(), kEventSaveSize + 1));
    EXPECT_FALSE(ev->LoadEventBlock(nullptr, kEventSaveSize));
    EXPECT_EQ(Save(), before);
    EXPECT_EQ(GameFlow->MixedItem, 3);
    EXPECT_FALSE(ev->SaveEventBlock(block.data(), kEventSaveSize - 1));
    EXPECT_EQ(block[0], 0xFF);
}

TEST_F(EventStateTest, PersistentFlagsAreFlagWordsOneAndTwo) {
    EXPECT_EQ(TEventServerDbg::PersistentFlagsSize(), 8);
    EXPECT_EQ(TEventServerDbg::EventSaveSize(), 1048);
    ev->EventFlags.fill(0);
    ev->SetFlg(31, true);
    ev->SetFlg(32, true);
    ev->SetFlg(95, true);
    ev->SetFlg(96, true);
    std::uint8_t out[8];
    ASSERT_TRUE(ev->GetPersistentFlags(out, sizeof out));
    const std::uint8_t expected[8] = {0x01, 0, 0, 0, 0, 0, 0, 0x80};
    EXPECT_EQ(std::memcmp(out, expected, 8), 0);

    const std::uint8_t in[8] = {0, 0, 0, 0x40, 0x01, 0, 0, 0};  // flags 62 and 64
    ASSERT_TRUE(ev->PutPersistentFlags(in, sizeof in));
    for (int n = 32; n <= 95; ++n) EXPECT_EQ(ev->TestFlg(n), n == 62 || n == 64) << n;
    EXPECT_TRUE(ev->TestFlg(31));
    EXPECT_TRUE(ev->TestFlg(96));
    EXPECT_FALSE(ev->PutPersistentFlags(expected, 7));
    EXPECT_TRUE(ev->TestFlg(62));
}

TEST_F(EventStateTest, SetMixedItemKeepsOnlyGoodsIds) {
    for (auto [id, stored] : {std::pair{0, 0}, {63, 63}, {64, -1}, {-5, -1}}) {
        GameFlow->SetMixedItem(id);
        EXPECT_EQ(GameFlow->MixedItem, stored) << id;
    }
}

}  // namespace

namespace {

// Presses "Next Step" from inside the pump, after looking at what the step shows.
struct NextStepPresser : ui::MessageTarget {
    std::vector<std::string> shown;
    std::vector<bool> flagSeen;
    void HandlePostedMessage(const ui::Message&) override {
        shown.push_back(EventServerDbg->m_LblCommand->Caption());
        flagSeen.push_back(EventServerDbg->TestFlg(5));
        EventServerDbg->m_BtnNxtClick();
    }
};

class DebugStepTest : public test::HeadlessTest {
protected:
    void SetUp() override { GameFlow = new TEvControler(); }
    void TearDown() override {
        delete GameFlow;
        GameFlow = nullptr;
    }
};

TEST_F(DebugStepTest, SetFlgWaitsForNextStepInDebugMode) {
    NextStepPresser presser;
    EventServerDbg->m_CbxDbg->SetChecked(true);
    headless.App().PostMessage(&presser, ui::WM_USER);
    EventServerDbg->SetFlg(5, true);
    EXPECT_EQ(presser.shown, (std::vector<std::string>{"SetFlg1:5"}));
    EXPECT_EQ(presser.flagSeen, (std::vector<bool>{true}));
    EXPECT_EQ(EventServerDbg->m_Step, 1);

    EventServerDbg->m_CbxDbg->SetChecked(false);  // no wait at all: nothing is pending to press it
    EventServerDbg->SetFlg(5, false);
    EXPECT_EQ(EventServerDbg->m_Step, 0);
    EXPECT_EQ(EventServerDbg->m_LblCommand->Caption(), "SetFlg1:5");
}

}  // namespace
