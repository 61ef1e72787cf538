#include "town/EventTables.h"

#include <gtest/gtest.h>

#include <vector>

#include "shop/GameState.h"
#include "story/EventTables.h"
#include "story/Register.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

namespace {

// What the test entries saw, in call order.
std::vector<int> calls;
std::vector<int> metSeen;
std::vector<int> readySeen;

// Puts test entries into a real table for the length of a test and restores it.
template <typename Table>
class TableSwap {
public:
    explicit TableSwap(Table& table) : table_(table), saved_(table) { table_.fill(nullptr); }
    ~TableSwap() { table_ = saved_; }

private:
    Table& table_;
    Table saved_;
};

template <int Id, bool Result>
bool Entry() {
    calls.push_back(Id);
    metSeen.push_back(NpcMetPending);
    readySeen.push_back(GameFlow ? GameFlow->Ready : -1);
    NpcMetPending = 1;  // as if a character had been found while testing
    return Result;
}

template <int Id, std::int32_t Result>
std::int32_t Ending() {
    calls.push_back(Id);
    return Result;
}

class WalkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        metSeen.clear();
        readySeen.clear();
        NpcMetPending = 1;
        GameFlow = new TEvControler();
        SetGameDay(12);
        SetGameHour(19);
    }
    void TearDown() override {
        delete GameFlow;
        GameFlow = nullptr;
    }
};

TEST_F(WalkerTest, EmptyTablesCallNothing) {
    EXPECT_FALSE(RunTalkEvents());
    EXPECT_FALSE(RunDeliveryEvents());
    EXPECT_EQ(RunEndingEvents(), -1);
    EXPECT_FALSE(RunCustomerRequestEvents());
    EXPECT_FALSE(WalkFirstTrue(EventTable{}));
    EXPECT_FALSE(WalkEverySlot(EventTable{}));
    EXPECT_EQ(WalkEndings(EndingTable{}), -1);
    EXPECT_EQ(NpcMetPending, 0);  // cleared before the empty slot 0 was looked at
}

TEST_F(WalkerTest, FullTableIsWalkedToItsLastSlot) {
    EventTable table;
    table.fill(&Entry<0, false>);
    EXPECT_FALSE(WalkFirstTrue(table));
    EXPECT_EQ(calls.size(), 200u);
    calls.clear();
    table[199] = &Entry<199, true>;
    EXPECT_TRUE(WalkFirstTrue(table));
    EXPECT_EQ(calls.size(), 200u);
    EXPECT_EQ(calls.back(), 199);
    calls.clear();
    EXPECT_TRUE(WalkEverySlot(table));
    EXPECT_EQ(calls.size(), 200u);
    EndingTable endings;
    endings.fill(&Ending<0, -1>);
    calls.clear();
    EXPECT_EQ(WalkEndings(endings), -1);
    EXPECT_EQ(calls.size(), 200u);
}

TEST_F(WalkerTest, FirstTrueWinsAndEveryTryStartsWithNoMeeting) {
    TableSwap swap(LookEvents);
    LookEvents[0] = &Entry<0, false>;
    LookEvents[1] = &Entry<1, false>;
    LookEvents[2] = &Entry<2, true>;
    LookEvents[3] = &Entry<3, true>;
    EXPECT_TRUE(RunLookEvents());
    EXPECT_EQ(calls, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(metSeen, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(NpcMetPending, 1);  // the entry that ran keeps its meeting for EventBegin
}

TEST_F(WalkerTest, SameFunctionInTwoSlotsIsTriedTwice) {
    TableSwap swap(MoveEvents);
    MoveEvents[0] = &Entry<5, false>;
    MoveEvents[1] = &Entry<5, false>;
    MoveEvents[3] = &Entry<6, true>;  // past the end marker in slot 2
    EXPECT_FALSE(RunMoveEvents());
    EXPECT_EQ(calls, (std::vector<int>{5, 5}));
}

TEST_F(WalkerTest, EveryNamedFirstTrueWalkerWalksItsOwnTable) {
    struct Named {
        EventTable* table;
        bool (*walk)();
    };
    const Named named[] = {
        {&LookEvents, RunLookEvents},           {&TalkEvents, RunTalkEvents},
        {&SearchEvents, RunSearchEvents},       {&MoveEvents, RunMoveEvents},
        {&DayStartEvents, RunDayStartEvents},   {&TurnStartEvents, RunTurnStartEvents},
        {&FlowerbedEvents, RunFlowerbedEvents}, {&DeliveryEvents, RunDeliveryEvents},
        {&PeddleEvents, RunPeddleEvents}};
    for (const Named& n : named) {
        TableSwap swap(*n.table);
        (*n.table)[0] = &Entry<7, true>;
        calls.clear();
        EXPECT_TRUE(n.walk());
        EXPECT_EQ(calls, (std::vector<int>{7}));
        for (const Named& other : named) {
            if (other.table == n.table) continue;
            calls.clear();
            other.walk();
            EXPECT_TRUE(calls.empty());
        }
    }
}

TEST_F(WalkerTest, EndingRule) {
    TableSwap swap(EndingEvents);
    EndingEvents[0] = &Ending<0, -1>;
    EndingEvents[1] = &Ending<1, 3>;
    EndingEvents[2] = &Ending<2, 4>;
    EXPECT_EQ(RunEndingEvents(), 3);
    EXPECT_EQ(calls, (std::vector<int>{0, 1}));

    calls.clear();
    EndingEvents[1] = &Ending<1, 0>;  // a bad ending stops the walk, reported as nothing
    EXPECT_EQ(RunEndingEvents(), -1);
    EXPECT_EQ(calls, (std::vector<int>{0, 1}));

    calls.clear();
    EndingEvents[1] = &Ending<1, -1>;
    EndingEvents[2] = &Ending<2, -1>;
    EXPECT_EQ(RunEndingEvents(), -1);
    EXPECT_EQ(calls, (std::vector<int>{0, 1, 2}));

    for (auto [entry, expected] : {std::pair{&Ending<3, 1>, 1},
                                   {&Ending<3, 5>, 5},
                                   {&Ending<3, 6>, -1},
                                   {&Ending<3, -7>, -1}}) {
        EndingEvents[0] = entry;
        EXPECT_EQ(RunEndingEvents(), expected);
    }
}

TEST_F(WalkerTest, CustomerRequestsRunEveryEntryButNotOnTheRestDay) {
    TableSwap swap(CustomerRequestEvents);
    CustomerRequestEvents[0] = &Entry<0, true>;
    CustomerRequestEvents[1] = &Entry<1, true>;
    CustomerRequestEvents[2] = &Entry<2, false>;

    SetGameDay(11);
    EXPECT_FALSE(RunCustomerRequestEvents());
    EXPECT_TRUE(calls.empty());

    SetGameDay(12);
    EXPECT_FALSE(RunCustomerRequestEvents());  // the last entry's result
    EXPECT_EQ(calls, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(metSeen, (std::vector<int>{0, 0, 0}));

    calls.clear();
    CustomerRequestEvents[2] = nullptr;
    EXPECT_TRUE(RunCustomerRequestEvents());
    EXPECT_EQ(calls, (std::vector<int>{0, 1}));

    // The debug window's override forces every condition true, but the rest day is the
    // calendar's: an ordinary evening stays an evening, and the rest day stays quiet.
    calls.clear();
    EventServerDbg->ConditionOverride = 1;
    EXPECT_TRUE(RunCustomerRequestEvents());
    EXPECT_EQ(calls, (std::vector<int>{0, 1}));
    calls.clear();
    SetGameDay(11);
    EXPECT_FALSE(RunCustomerRequestEvents());
    EXPECT_TRUE(calls.empty());
}

TEST_F(WalkerTest, StartWalkersNeedTheReadyByte) {
    TableSwap swapDay(DayStartEvents);
    TableSwap swapTurn(TurnStartEvents);
    DayStartEvents[0] = &Entry<0, true>;
    TurnStartEvents[0] = &Entry<1, true>;

    GameFlow->Ready = 0;
    EXPECT_FALSE(RunDayStartEvents());
    EXPECT_FALSE(RunTurnStartEvents());
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(GameFlow->Ready, 0);

    GameFlow->Ready = 1;
    EXPECT_TRUE(RunDayStartEvents());
    EXPECT_EQ(GameFlow->Ready, 1);
    EXPECT_TRUE(RunTurnStartEvents());
    EXPECT_EQ(calls, (std::vector<int>{0, 1}));
    EXPECT_EQ(readySeen,
              (std::vector<int>{0, 1}));  // day start holds it clear; turn start leaves it

    DayStartEvents[0] = &Entry<2, false>;
    EXPECT_FALSE(RunDayStartEvents());
    EXPECT_EQ(GameFlow->Ready, 1);

    TEvControler* keep = GameFlow;
    GameFlow = nullptr;
    calls.clear();
    EXPECT_FALSE(RunDayStartEvents());
    EXPECT_FALSE(RunTurnStartEvents());
    EXPECT_TRUE(calls.empty());
    GameFlow = keep;
}

// An entry as the story writes them: conditions first, the body only when all hold.
bool OfferLikeEntry() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    if (!ev->ChkFlg(flag::OrderTakenToday, false)) return false;
    if (!ev->ChkDay(24, 24)) return false;
    if (!ev->ChkDayMark(0, 0, 5)) return false;
    ev->SetFlg(flag::OrderTakenToday, true);
    ev->EventVariable[0] += 1;
    return true;
}

TEST_F(WalkerTest, AFailingEntryLeavesNoTrace) {
    TableSwap swap(SearchEvents);
    SearchEvents[0] = &OfferLikeEntry;
    TEventServerDbg* ev = EventServerDbg;
    ev->SetFlg(700, true);
    DayMarks[0] = 20;
    SetGameDay(30);  // mark + 10: past the mark's window, so the last condition fails

    std::vector<std::uint8_t> before(kEventSaveSize), after(kEventSaveSize);
    ev->SaveEventBlock(before.data(), before.size());
    const auto place = GameFlow->Place;
    const auto ready = GameFlow->Ready;

    EXPECT_FALSE(RunSearchEvents());

    ev->SaveEventBlock(after.data(), after.size());
    EXPECT_EQ(after, before);
    EXPECT_EQ(GameFlow->Place, place);
    EXPECT_EQ(GameFlow->Ready, ready);
    EXPECT_EQ(NpcMetPending, 0);

    SetGameDay(24);  // inside both windows now: the entry runs
    EXPECT_TRUE(RunSearchEvents());
    EXPECT_TRUE(ev->TestFlg(flag::OrderTakenToday));
    EXPECT_EQ(ev->EventVariable[0], 1);
}

}  // namespace
