// The held orders and the two order scenes: accepting, delivering, failing and
// removing orders, arming their flags on the deadline day, settling them at 19:00.
#include "town/Orders.h"

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Goods.h"
#include "story/Register.h"
#include "town/Srcdbtxtform21.h"

namespace {

constexpr int kGoodsOrder = 0;
constexpr int kOtherOrder = 1;
constexpr int kOtherOrderFailedMark = 5;  // day mark set when an other order fails
constexpr int kVisitorEnters = 0;
constexpr int kVisitorLeaves = 1;
constexpr int kOfferSound = 41;
constexpr int kThanksSound = 42;
constexpr int kSmileFace = 2;
constexpr int kSorryFace = 16;

// Id, reward, accepted day, days to the deadline, reserved, kind, flag, item,
// quantity, client, spare.
constexpr OrderSlot Row(int id, int item, int quantity, int reward, int days, int kind, int flag,
                        int client, int spare, int accepted = 0) {
    OrderSlot o;
    o.Id = id;
    o.Reward = reward;
    o.AcceptedDay = accepted;
    o.Deadline = days;
    o.Kind = kind;
    o.Flag = flag;
    o.Item = item;
    o.Quantity = quantity;
    o.Client = client;
    o.Spare = spare;
    return o;
}

bool Held(const OrderSlot& o) { return o.Deadline != 0; }

}  // namespace

const std::array<OrderSlot, kOrderCatalogSize> OrderCatalog = {
    Row(1, 23, 20, 10000, 12, 0, 684, 0, 5),   Row(2, 15, 10, 1200, 12, 0, 685, 1, 2),
    Row(3, 47, 20, 8000, 12, 0, 686, 0, 2),    Row(4, 26, 20, 16000, 12, 0, 687, 1, 5),
    Row(5, 4, 40, 4000, 12, 0, 688, 2, 4),     Row(6, 37, 60, 4800, 24, 0, 689, 1, 5),
    Row(7, 6, 60, 12000, 12, 0, 690, 3, 5),    Row(8, 28, 30, 30000, 24, 0, 691, 0, 5),
    Row(9, 40, 30, 15000, 12, 0, 692, 4, 5),   Row(10, 36, 20, 16000, 12, 0, 693, 0, 10),
    Row(11, 29, 40, 48000, 24, 0, 694, 2, 10), Row(12, 24, 10, 20000, 12, 0, 695, 2, 20),
    Row(13, 55, 30, 36000, 24, 0, 696, 0, 5),  Row(14, 39, 30, 3000, 12, 0, 697, 0, 2),
    Row(15, 38, 40, 16000, 12, 0, 698, 0, 2),  Row(16, 52, 50, 20000, 12, 0, 699, 5, 2),
    Row(17, 25, 30, 18000, 12, 0, 700, 6, 2),  Row(18, 34, 20, 8000, 24, 0, 701, 0, 10),
    Row(19, 0, 3, 100, 3, 1, 702, 0, 0),       Row(20, 0, 4, 10, 3, 1, 703, 0, 0),
    Row(21, 63, 1, 0, 7, 1, 548, 0, 0, 1),     Row(22, 0, 1, 0, 7, 1, 549, 0, 0, 1),
};

const std::array<std::string, kOrderTextCount>& OrderTexts() {
    static const std::array<std::string, kOrderTextCount> texts = [] {
        const char* utf8[kOrderTextCount] = {
            "目前沒有訂單",
            "願望秘石２０個",
            "黑貓魔法杖１０支",
            "天使之翼２０個",
            "水魔法石２０個",
            "清新香水４０瓶",
            "加速咒文藥劑６０瓶",
            "魅力香水６０瓶",
            "土魔法石３０瓶",
            "反射咒文藥劑３０瓶",
            "冰結咒文藥劑２０瓶",
            "闇魔法石４０個",
            "光魔法石１０個",
            "所羅門秘藥３０瓶",
            "岩盾咒文藥劑３０瓶",
            "火燄咒文藥劑４０瓶",
            "空浮藥劑５０瓶",
            "火魔法石３０個",
            "烈火咒文藥劑２０瓶",
            "測試０",
            "測試１",
            "使用冰河礫石，阻止火山爆發",
            "尋找傾國媚藥",
        };
        std::array<std::string, kOrderTextCount> out;
        for (int i = 0; i < kOrderTextCount; ++i) out[i] = ui::Utf8ToBig5(utf8[i]);
        return out;
    }();
    return texts;
}

const std::array<OrderClient, kOrderClientCount>& OrderClients() {
    static const std::array<OrderClient, kOrderClientCount> clients = [] {
        struct Utf8Client {
            int figure;
            const char *offer, *ask, *accept, *refuse, *thanks, *apology;
        };
        const Utf8Client rows[kOrderClientCount] = {
            {13, "您好，我想訂購一批貨。\n", "，可以幫我準備嗎？",
             "我會來取貨，\n到時候就麻煩妳了。", "顧客「這樣啊……真可惜。\n那下次再麻煩妳了。",
             "太好了，謝謝妳！\n下次還要麻煩妳了。", "這樣啊……真是遺憾。"},
            {12, "打擾了，我有東西想請妳準備。\n", "，能幫忙準備嗎？",
             "我會準時來拿，\n那就拜託妳了。", "顧客「是嗎……那也沒辦法。\n我再去別家問問看吧。",
             "真是幫了大忙！\n謝謝妳。", "唉，我可是很期待的說。"},
            {15, "魔法師小姐，我想訂貨。\n", "，做得到嗎？", "我會再來，\n請多多指教。",
             "顧客「嗯……好吧。\n下次有機會再說。", "不愧是魔法師小姐！\n真的謝謝妳。",
             "真可惜，沒辦法了。"},
            {14, "妳好，聽說這裡的東西很不錯。\n", "，可以拜託妳做嗎？",
             "我一定會來拿，\n就交給妳囉。", "顧客「這樣呀，太可惜了。\n那我先走了。",
             "哇，跟傳聞一樣好！\n謝謝妳。", "好失望啊……算了。"},
            {11, "喂，店主在嗎？我要訂貨。\n", "，做得出來吧？", "我會過來取，\n別忘了喔。",
             "顧客「什麼，不接啊？\n真是沒辦法。", "很好，很好。\n下次還會再來的。",
             "哼，說好的呢。"},
            {9, "不好意思，我想請您準備一些東西。\n", "，方便幫忙準備嗎？",
             "我會依約前來，\n麻煩您了。", "顧客「是嗎……我明白了。\n打擾您了。",
             "非常感謝您！\n幫了我大忙。", "真是令人遺憾呢。"},
            {9, "您好，有件急事想拜託您。\n", "，可以麻煩您準備嗎？", "我會來領取，\n一切拜託了。",
             "顧客「這樣啊，真遺憾。\n那我告辭了。", "太感謝您了！\n真是幫了大忙。",
             "只好另想辦法了。"},
        };
        std::array<OrderClient, kOrderClientCount> out;
        for (int i = 0; i < kOrderClientCount; ++i) {
            const Utf8Client& r = rows[i];
            out[i] = OrderClient{r.figure,
                                 ui::Utf8ToBig5(r.offer),
                                 ui::Utf8ToBig5(r.ask),
                                 ui::Utf8ToBig5(r.accept),
                                 ui::Utf8ToBig5(r.refuse),
                                 ui::Utf8ToBig5(r.thanks),
                                 ui::Utf8ToBig5(r.apology)};
        }
        return out;
    }();
    return clients;
}

std::string OrderDateText(int day) {
    const std::string text =
        std::to_string((day / 24) % 12 + 1) + B5("月") + std::to_string(day % 24 + 1) + B5("日");
    return ToFullWidthDigits(text);
}

// --- Operations ---

int TEventServerDbg::FindOrder(int flag) const {
    for (int i = 0; i < kOrderSlotCount; ++i)
        if (Held(Orders[i]) && Orders[i].Flag == flag) return i;
    return -1;
}

bool TEventServerDbg::CanAcceptOrder(int flag) const {
    if (FindOrder(flag) >= 0) return false;
    for (const OrderSlot& o : Orders)
        if (!Held(o)) return true;
    return false;
}

void TEventServerDbg::AcceptOrder(int k) {
    if (k < 0 || k >= kOrderCatalogSize) return;
    for (OrderSlot& o : Orders) {
        if (Held(o)) continue;
        o = OrderCatalog[k];
        o.AcceptedDay = GameDay();
        o.Deadline = OrderCatalog[k].Deadline + GameDay();
        return;
    }
}

bool TEventServerDbg::CanDeliverOrder(int flag) const {
    const int i = FindOrder(flag);
    if (i < 0 || Orders[i].Kind != kGoodsOrder) return false;
    return ChkItem(Orders[i].Item, Orders[i].Quantity);
}

void TEventServerDbg::DeliverOrder(int flag, int day) {
    const int i = FindOrder(flag);
    if (i < 0 || Orders[i].Kind != kGoodsOrder) return;
    const OrderSlot& o = Orders[i];
    const int today = day < 0 ? GameDay() : day;
    if (o.Reward > 0) AddMoney(o.Reward);
    RemoveItemStock(o.Item, o.Quantity);
    AddDailyRevenue(o.Item, today, o.Reward);
    AddDailySoldCount(o.Item, today, o.Quantity);
    RefreshAllShelfSlots();
    ui::Record("order", "delivered " + std::to_string(o.Id));
}

void TEventServerDbg::FailOrder(int flag) {
    const int i = FindOrder(flag);
    if (i < 0) return;
    if (Orders[i].Kind == kGoodsOrder)
        AddReputation(-1);
    else
        SetDayMark(kOtherOrderFailedMark);
    ui::Record("order", "failed " + std::to_string(Orders[i].Id));
}

void TEventServerDbg::RemoveOrder(int flag) {
    const int i = FindOrder(flag);
    if (i < 0) return;
    SetFlg(flag, false);
    for (int j = i; j + 1 < kOrderSlotCount; ++j) Orders[j] = Orders[j + 1];
    Orders[kOrderSlotCount - 1] = OrderSlot{};
}

void TEventServerDbg::ArmOrderFlags() {
    const int today = GameDay();
    for (const OrderSlot& o : Orders)
        if (Held(o) && o.Kind == kGoodsOrder && o.Deadline == today) SetFlg(o.Flag, true);
}

void TEventServerDbg::DropOverdueOrders() {
    const int today = GameDay();
    // A removal moves the later orders down into slot i, which is looked at again.
    for (int i = 0; i < kOrderSlotCount;) {
        if (Held(Orders[i]) && today > Orders[i].Deadline)
            RemoveOrder(Orders[i].Flag);
        else
            ++i;
    }
}

void TEventServerDbg::SettleOrders() { SettleOrders(GameDay()); }

void TEventServerDbg::SettleOrders(int today) {
    if (today == 0) return;
    int i = 0;
    while (i < kOrderSlotCount) {
        const OrderSlot o = Orders[i];
        if (!Held(o) || o.Deadline != today) {
            ++i;
            continue;
        }
        if (o.Kind == kGoodsOrder) {
            if (CanDeliverOrder(o.Flag))
                DeliverOrder(o.Flag, today);
            else
                FailOrder(o.Flag);
        } else if (o.Kind == kOtherOrder) {
            DayMarks[kOtherOrderFailedMark] = today;
        } else {
            ++i;  // a kind this shop does not know stays held
            continue;
        }
        RemoveOrder(o.Flag);  // the next order moved into slot i
    }
}

void TEventServerDbg::OrderTalk(int k) {
    if (k < 0 || k >= kOrderCatalogSize) return;
    const OrderSlot& t = OrderCatalog[k];
    const int deadline = GameDay() + t.Deadline;
    if (t.Client < 0 || t.Client >= kOrderClientCount) return;
    const OrderClient& client = OrderClients()[t.Client];
    AcceptOrder(k);
    // Held while it is offered; with no free slot there is nothing to offer.
    if (FindOrder(t.Flag) < 0) return;

    ShopAction(client.Figure, kVisitorEnters);
    PlaySound(kOfferSound);
    DspMsg(B5("顧客「") + client.Offer + ToFullWidthDigits(std::to_string(t.Deadline)) +
           B5("天後") + OrderTexts()[t.Id] + client.Ask);

    enum { kAccept, kDeliverNow, kRefuse } answer;
    if (CanDeliverOrder(t.Flag)) {
        const int r = SelWin3(B5("接受訂單"), B5("當場交貨"), B5("拒絕"));
        answer = r == 0 ? kAccept : r == 1 ? kDeliverNow : kRefuse;
    } else {
        answer = SelWin2(B5("接受訂單"), B5("拒絕")) == 0 ? kAccept : kRefuse;
    }

    std::string reply;
    switch (answer) {
        case kAccept:
            reply = B5("顧客「謝謝你。\n") + OrderDateText(deadline) + client.Accept;
            SetFlg(flag::OrderTakenToday, true);
            ui::Record("order", "accepted " + std::to_string(t.Id));
            break;
        case kDeliverNow:
            reply = B5("顧客「") + client.Thanks;
            DeliverOrder(t.Flag);
            RemoveOrder(t.Flag);
            SetFlg(flag::OrderTakenToday, true);
            break;
        case kRefuse:
            reply = client.Refuse;
            RemoveOrder(t.Flag);
            ui::Record("order", "refused " + std::to_string(t.Id));
            break;
    }
    DspMsg(reply);
    ShopAction(client.Figure, kVisitorLeaves);
}

void TEventServerDbg::DeliveryTalk(int flag) {
    const int i = FindOrder(flag);
    if (i < 0) return;
    const int c = Orders[i].Client;
    if (c < 0 || c >= kOrderClientCount) return;
    const OrderClient& client = OrderClients()[c];
    ShopAction(client.Figure, kVisitorEnters);
    if (CanDeliverOrder(flag)) {
        DspMsg(B5("緹菈「這是您預定的貨品"));
        DeliverOrder(flag);
        DspMsg(B5("顧客「") + client.Thanks);
        FaceGr(kSmileFace);
        PlaySound(kThanksSound);
        DspMsg(B5("緹菈「謝謝您的惠顧。"));
    } else {
        FaceGr(kSorryFace);
        DspMsg(B5("緹菈「真是非常抱歉。"));
        FailOrder(flag);
        DspMsg(B5("顧客「") + client.Apology);
    }
    ShopAction(client.Figure, kVisitorLeaves);
    RemoveOrder(flag);
    FaceGr(0);
}

bool TEventServerDbg::OrderFullTalk(int first, int length) {
    if (!ChkPlace(place::Square) || !ChkDay(first, length)) return false;
    for (const OrderSlot& o : Orders)
        if (!Held(o)) return true;
    DspMsg(B5("無法再接受任何訂單了"));
    return false;
}
