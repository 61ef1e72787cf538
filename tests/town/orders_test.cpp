// The held orders, the customer-request table and the two order scenes, played
// headless with the transcript and the responders answering lines and choices.
#include "town/Orders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "story/EventTables.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/RuntimeDraws.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"
#include "town/Mdpform.h"
#include "town/Srcdbtxtform21.h"

namespace {

using Strings = std::vector<std::string>;

using test::DrawsSince;

// The percentage roll the next draw from s gives; s moves on by the draw.
int RollAfter(std::uint32_t& s) {
    const int roll = test::RollFrom(s);
    s = test::RandStep(s);
    return roll;
}
// A seed whose first draws pass (true) or fail (false) a 60 per cent test in turn.
std::uint32_t SeedFor(const std::vector<bool>& want) {
    for (std::uint32_t seed = 1;; ++seed) {
        std::uint32_t s = seed;
        bool ok = true;
        for (bool w : want) ok = ok && ((60 >= RollAfter(s)) == w);
        if (ok) return seed;
    }
}

class OrdersTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        ui::SetProgramFolder(LUMIA_TEST_GAMEDATA);
        InitGameState();
        GameFlow = new TEvControler();
        ev = EventServerDbg;
        EventServerHooks = TEventServerHooks{};
        GameFlow->Place = place::ShopInside;
        GameFlow->Ready = 1;
        Orders.fill(OrderSlot{});
        SetGameDay(50);
        SetGameHour(19);
        SetMoney(1000);
        SetReputation(10);
        for (int i = 0; i < kGoodsCount; ++i) SetItemStock(i, 0);
        transcript->Clear();
    }
    void TearDown() override {
        delete GameFlow;
        GameFlow = nullptr;
    }
    Strings Kinds(const std::string& kind) {
        Strings out;
        for (const ui::TranscriptEntry& e : transcript->Entries())
            if (e.kind == kind) out.push_back(e.text);
        return out;
    }
    // Accepts catalogue row k on `day` (the day of acceptance).
    void Hold(int k, int day) {
        SetGameDay(day);
        ev->AcceptOrder(k);
    }
    // The 19:00 walk as the controller runs it: the table, then the settlement.
    void Evening() {
        RunCustomerRequestEvents();
        ev->SettleOrders();
    }

    TEventServerDbg* ev = nullptr;
    ui::ScopedTranscript transcript;
};

TEST_F(OrdersTest, AcceptingFillsTheFirstFreeSlotAndFourIsTheLimit) {
    Hold(0, 40);
    Hold(1, 41);
    Hold(2, 42);
    EXPECT_TRUE(ev->CanAcceptOrder(687));
    EXPECT_FALSE(ev->CanAcceptOrder(684)) << "order 0 is already held";
    Hold(3, 43);
    EXPECT_EQ(Orders[3].Id, 4);
    EXPECT_EQ(Orders[3].Flag, 687);
    EXPECT_EQ(Orders[3].AcceptedDay, 43);
    EXPECT_EQ(Orders[3].Deadline, 55);
    EXPECT_EQ(Orders[3].Reward, 16000);
    EXPECT_EQ(Orders[3].Item, 26);
    EXPECT_EQ(Orders[3].Quantity, 20);
    EXPECT_FALSE(ev->CanAcceptOrder(688));
    const auto before = Orders;
    ev->AcceptOrder(4);
    EXPECT_EQ(Orders, before) << "no fifth order";
}

TEST_F(OrdersTest, RemovingSlotOneOfThreeMovesTheLaterDown) {
    Hold(0, 40);
    Hold(1, 40);
    Hold(2, 40);
    ev->SetFlg(685, true);
    ev->RemoveOrder(685);
    EXPECT_FALSE(ev->TestFlg(685));
    EXPECT_EQ(Orders[0].Id, 1);
    EXPECT_EQ(Orders[1].Id, 3);
    EXPECT_EQ(Orders[2], OrderSlot{});
    EXPECT_EQ(Orders[3], OrderSlot{});
    ev->RemoveOrder(690);  // held by no order
    EXPECT_EQ(Orders[1].Id, 3);
}

TEST_F(OrdersTest, TwoOrdersDueTheSameDayAreBothSettled) {
    Hold(0, 38);  // due 50, stock covers it
    Hold(5, 30);  // due 54
    Hold(1, 38);  // due 50, nothing in stock
    SetItemStock(23, 25);
    SetGameDay(50);
    ev->SettleOrders();
    EXPECT_EQ(GameMoney(), 1000 + 10000);
    EXPECT_EQ(ItemStock(23), 5);
    EXPECT_EQ(DailySoldCount(23, 50), 20);
    EXPECT_EQ(DailyRevenue(23, 50), 10000);
    EXPECT_EQ(GameReputation(), 9) << "the short one costs one point";
    EXPECT_EQ(Orders[0].Id, 6);
    EXPECT_EQ(Orders[1], OrderSlot{});
    EXPECT_TRUE(Kinds("line").empty()) << "settlement is silent";
}

TEST_F(OrdersTest, AShortOrderNeverTakesReputationBelowZero) {
    SetReputation(0);
    Hold(2, 38);
    SetGameDay(50);
    ev->SettleOrders();
    EXPECT_EQ(GameReputation(), 0);
    EXPECT_EQ(Orders[0], OrderSlot{});
}

TEST_F(OrdersTest, AnOtherOrderSetsDayMarkFiveWhenSettled) {
    Hold(20, 43);  // the glacier stone: 7 days, VolcanoCommission
    SetGameDay(50);
    ev->SettleOrders();
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 50);
    EXPECT_EQ(Orders[0], OrderSlot{});
}

TEST_F(OrdersTest, TheDayChangeArmsTheDueAndDropsTheOverdueSilently) {
    Hold(0, 38);  // due 50
    Hold(1, 30);  // due 42: overdue
    Hold(2, 45);  // due 57
    SetGameDay(50);
    const int reputation = GameReputation();
    ev->DayChange();
    EXPECT_TRUE(ev->TestFlg(684));
    EXPECT_FALSE(ev->TestFlg(686));
    EXPECT_EQ(GameReputation(), reputation);
    EXPECT_TRUE(Kinds("line").empty());
    ASSERT_EQ(Orders[0].Id, 1);
    EXPECT_EQ(Orders[1].Id, 3);
    EXPECT_EQ(Orders[2], OrderSlot{});
    // Removing the order clears its flag.
    ev->RemoveOrder(684);
    EXPECT_FALSE(ev->TestFlg(684));
}

// Two overdue orders side by side: the second moves into the first one's slot and is
// dropped too, the same day.
TEST_F(OrdersTest, EveryOverdueOrderIsDroppedAtOnce) {
    Hold(0, 30);  // due 42
    Hold(1, 31);  // due 43
    Hold(2, 45);  // due 57
    Hold(3, 32);  // due 44
    SetGameDay(50);
    ev->DayChange();
    EXPECT_EQ(Orders[0].Id, 3);
    EXPECT_EQ(Orders[1], OrderSlot{});
    EXPECT_EQ(Orders[3], OrderSlot{});
    EXPECT_TRUE(Kinds("line").empty());
}

TEST_F(OrdersTest, TheDeadlineWrapsIntoTheNextYearsMonths) {
    Hold(0, 280);
    EXPECT_EQ(Orders[0].Deadline, 292);
    EXPECT_EQ(ui::Big5ToUtf8(OrderDateText(292)), "１月５日");
    EXPECT_EQ(ui::Big5ToUtf8(OrderDateText(0)), "１月１日");
    EXPECT_EQ(ui::Big5ToUtf8(OrderDateText(287)), "１２月２４日");
}

TEST_F(OrdersTest, OrderTitlesAndTheRowWithoutAGivenTitle) {
    EXPECT_EQ(ui::Big5ToUtf8(OrderTexts()[0]), "目前沒有訂單");
    EXPECT_EQ(ui::Big5ToUtf8(OrderTexts()[1]), "願望秘石２０個");
    const std::string row13 = ui::Big5ToUtf8(OrderTexts()[14]);
    EXPECT_NE(row13.find("岩盾咒文藥劑"), std::string::npos);
    EXPECT_NE(row13.find("３０"), std::string::npos);
    for (const std::string& t : OrderTexts()) EXPECT_LT(t.size(), 160u);
    for (const OrderClient& c : OrderClients()) {
        EXPECT_LT(c.Offer.size(), 80u);
        EXPECT_EQ(c.Offer.back(), '\n');
        EXPECT_LT(c.Ask.size(), 40u);
        EXPECT_LT(c.Accept.size(), 60u);
        EXPECT_LT(c.Refuse.size(), 60u);
        EXPECT_EQ(c.Refuse.rfind(B5("顧客「"), 0), 0u);
        EXPECT_LT(c.Thanks.size(), 60u);
        EXPECT_LT(c.Apology.size(), 40u);
    }
}

TEST_F(OrdersTest, AcceptingAnOfferInTheEvening) {
    test::EventResponders player(headless.Backend(), 20);
    player.answers = {0};
    const std::uint32_t seed = SeedFor({true});
    ui::Srand(seed);
    Evening();
    ASSERT_EQ(Orders[0].Id, 1);
    EXPECT_EQ(Orders[0].Deadline, 62);
    EXPECT_TRUE(ev->TestFlg(flag::OrderTakenToday));
    EXPECT_EQ(DrawsSince(seed), 1) << "the accepted offer stops the others before their draw";
    const Strings lines = Kinds("line");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "顧客「您好，我想訂購一批貨。\n１２天後願望秘石２０個，可以幫我準備嗎？");
    EXPECT_EQ(lines[1], "顧客「謝謝你。\n３月１５日我會來取貨，\n到時候就麻煩妳了。");
    EXPECT_EQ(Kinds("choice").size(), 1u);
    EXPECT_EQ(player.choicesAnswered, 1);
}

TEST_F(OrdersTest, RefusingLetsTheNextOfferOfTheEveningCome) {
    test::EventResponders player(headless.Backend(), 20);
    // One answer queued at a time: the responder may click a closing window again.
    player.answers = {1};
    ui::Srand(SeedFor({true}));
    EXPECT_TRUE(CustomerRequestEvents[0]());  // refused
    EXPECT_EQ(Orders[0], OrderSlot{});
    EXPECT_FALSE(ev->TestFlg(flag::OrderTakenToday));
    player.answers = {0};
    ui::Srand(SeedFor({true}));
    EXPECT_TRUE(CustomerRequestEvents[2]());  // accepted
    EXPECT_EQ(Orders[0].Id, 3);
    EXPECT_TRUE(ev->TestFlg(flag::OrderTakenToday));
    const std::uint32_t seed = SeedFor({true});
    ui::Srand(seed);
    EXPECT_FALSE(CustomerRequestEvents[3]());
    EXPECT_EQ(DrawsSince(seed), 0) << "no roll once an order was taken today";
    const Strings lines = Kinds("line");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "顧客「這樣啊……真可惜。\n那下次再麻煩妳了。");
}

TEST_F(OrdersTest, DeliveringOnTheSpotWhenTheStockCoversIt) {
    test::EventResponders player(headless.Backend(), 20);
    player.answers = {1};
    SetItemStock(23, 20);
    ui::Srand(SeedFor({true}));
    Evening();
    EXPECT_EQ(Kinds("choice").size(), 1u);
    EXPECT_NE(Kinds("choice")[0].find("當場交貨"), std::string::npos);
    EXPECT_EQ(GameMoney(), 11000);
    EXPECT_EQ(ItemStock(23), 0);
    EXPECT_EQ(DailySoldCount(23, 50), 20);
    EXPECT_EQ(Orders[0], OrderSlot{});
    EXPECT_TRUE(ev->TestFlg(flag::OrderTakenToday));
    EXPECT_FALSE(ev->TestFlg(684)) << "never armed";
}

TEST_F(OrdersTest, OnTheRestDayNothingRunsButDueOrdersAreSettled) {
    Hold(0, 41);  // due 53, a rest day
    SetItemStock(23, 20);
    SetGameDay(53);
    ev->DayChange();
    ASSERT_TRUE(ev->TestFlg(684));
    const std::uint32_t seed = 7;
    ui::Srand(seed);
    transcript->Clear();
    Evening();
    EXPECT_EQ(DrawsSince(seed), 0);
    EXPECT_TRUE(Kinds("line").empty());
    EXPECT_EQ(GameMoney(), 11000);
    EXPECT_EQ(Orders[0], OrderSlot{});
}

TEST_F(OrdersTest, WithFourHeldNoOfferRunsEvenWhenOneIsCollected) {
    Hold(1, 38);  // due 50
    Hold(2, 45);
    Hold(3, 45);
    Hold(4, 45);
    SetGameDay(50);
    ev->DayChange();
    test::EventResponders player(headless.Backend(), 20);
    const std::uint32_t seed = 11;
    ui::Srand(seed);
    transcript->Clear();
    Evening();
    EXPECT_EQ(DrawsSince(seed), 0) << "no offer reached its roll";
    EXPECT_EQ(player.choicesAnswered, 0);
    // The collection of order 1 ran: short of stock, so the apology.
    const Strings lines = Kinds("line");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "緹菈「真是非常抱歉。");
    EXPECT_EQ(GameReputation(), 9);
    EXPECT_EQ(Orders[0].Id, 3);
    EXPECT_EQ(Orders[3], OrderSlot{});
    EXPECT_FALSE(ev->TestFlg(685));
}

TEST_F(OrdersTest, TheCollectionHandsTheGoodsOver) {
    Hold(0, 38);
    SetItemStock(23, 30);
    SetGameDay(50);
    ev->DayChange();
    test::EventResponders player(headless.Backend(), 20);
    ui::Srand(SeedFor({false, false, false, false, false, false, false}));
    transcript->Clear();
    Evening();
    const Strings lines = Kinds("line");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "緹菈「這是您預定的貨品");
    EXPECT_EQ(lines[1], "顧客「太好了，謝謝妳！\n下次還要麻煩妳了。");
    EXPECT_EQ(lines[2], "緹菈「謝謝您的惠顧。");
    EXPECT_EQ(GameMoney(), 11000);
    EXPECT_EQ(ItemStock(23), 10);
    EXPECT_EQ(Orders[0], OrderSlot{});
}

TEST_F(OrdersTest, AwayFromTheShopNoSceneAndASilentSettlement) {
    Hold(0, 38);
    SetItemStock(23, 20);
    SetGameDay(50);
    ev->DayChange();
    GameFlow->Place = place::Square;
    const std::uint32_t seed = 5;
    ui::Srand(seed);
    transcript->Clear();
    Evening();
    EXPECT_EQ(DrawsSince(seed), 0);
    EXPECT_TRUE(Kinds("line").empty());
    EXPECT_EQ(GameMoney(), 11000);
    EXPECT_EQ(Orders[0], OrderSlot{});
}

// Offer k's season: whether its conditions reach the roll on a day.
TEST_F(OrdersTest, EachOfferComesOnlyInItsDays) {
    struct Case {
        int k, day;
        bool offered;
    };
    const Case cases[] = {
        {0, 0, true},     {0, 287, true},   {1, 150, true},  {13, 0, true},   {13, 47, true},
        {13, 48, false},  {2, 47, false},   {2, 48, true},   {6, 119, true},  {6, 120, false},
        {7, 120, true},   {9, 191, true},   {9, 192, false}, {10, 192, true}, {12, 263, true},
        {12, 264, false}, {14, 263, false}, {14, 264, true}, {17, 287, true},
    };
    for (const Case& c : cases) {
        SetGameDay(c.day);
        const std::uint32_t seed = SeedFor({false});
        ui::Srand(seed);
        EXPECT_FALSE(CustomerRequestEvents[c.k]());  // fails at the roll or before it
        EXPECT_EQ(DrawsSince(seed), c.offered ? 1 : 0) << "offer " << c.k << " day " << c.day;
    }
}

TEST_F(OrdersTest, TheOfferNeedsTheShopAndNothingTakenToday) {
    const std::uint32_t seed = SeedFor({true});
    ui::Srand(seed);
    ev->SetFlg(flag::OrderTakenToday, true);
    EXPECT_FALSE(CustomerRequestEvents[0]());
    GameFlow->Place = place::MixingRoom;
    ev->SetFlg(flag::OrderTakenToday, false);
    EXPECT_FALSE(CustomerRequestEvents[0]());
    EXPECT_EQ(DrawsSince(seed), 0);
}

TEST_F(OrdersTest, TheStorysGateSaysWhenNoOrderCanBeTaken) {
    GameFlow->Place = place::Square;
    SetGameDay(100);
    EXPECT_TRUE(ev->OrderFullTalk(96, 24));
    EXPECT_FALSE(ev->OrderFullTalk(120, 24));
    for (int k = 0; k < 4; ++k) ev->AcceptOrder(k);
    test::EventResponders player(headless.Backend(), 20);
    transcript->Clear();
    EXPECT_FALSE(ev->OrderFullTalk(96, 24));
    EXPECT_EQ(Kinds("line"), (Strings{"無法再接受任何訂單了"}));
}

TEST_F(OrdersTest, OperationsOnAFlagNoOrderCarriesDoNothing) {
    Hold(0, 40);
    const auto before = Orders;
    const int money = GameMoney(), reputation = GameReputation();
    ev->DeliverOrder(700);
    ev->FailOrder(700);
    ev->RemoveOrder(700);
    ev->DeliveryTalk(700);
    EXPECT_FALSE(ev->CanDeliverOrder(700));
    EXPECT_FALSE(ev->CanDeliverOrder(0)) << "a free slot carries no flag";
    EXPECT_EQ(Orders, before);
    EXPECT_EQ(GameMoney(), money);
    EXPECT_EQ(GameReputation(), reputation);
}

TEST_F(OrdersTest, TheTableHoldsThirtySixSlots) {
    for (int s = 0; s < 36; ++s) EXPECT_NE(CustomerRequestEvents[s], nullptr) << s;
    EXPECT_EQ(CustomerRequestEvents[36], nullptr);
}

}  // namespace
