// Customers in the shop at 19:00: an offer of an order when a slot is free and none
// was taken today, and the collection of a held order on its deadline day.
#include "story/CustomerRequests.h"

#include "story/Register.h"
#include "town/Evsrvfm.h"
#include "town/Orders.h"

bool OrderOfferComes(int k) {
    if (!EventServerDbg || k < 0 || k >= kOfferedOrderCount) return false;
    TEventServerDbg& ev = *EventServerDbg;
    if (!ev.CanAcceptOrder(kFirstOrderFlag + k)) return false;
    if (!ev.ChkPlace(place::ShopInside)) return false;
    bool inSeason = true;
    if (k == 13)
        inSeason = ev.ChkDay(0, 48);
    else if (k >= 2 && k <= 6)
        inSeason = ev.ChkDay(48, 72);
    else if (k >= 7 && k <= 9)
        inSeason = ev.ChkDay(120, 72);
    else if (k >= 10 && k <= 12)
        inSeason = ev.ChkDay(192, 72);
    else if (k >= 14)
        inSeason = ev.ChkDay(264, 72);
    if (!inSeason) return false;
    if (!ev.ChkFlg(flag::OrderTakenToday, false)) return false;
    return ev.ChkRandom(60);
}

bool OrderCollectionComes(int k) {
    if (!EventServerDbg || k < 0 || k >= kOfferedOrderCount) return false;
    TEventServerDbg& ev = *EventServerDbg;
    if (!ev.ChkFlg(kFirstOrderFlag + k, true)) return false;
    return ev.ChkPlace(place::ShopInside);
}

namespace {

// Order k's offer: its conditions, then the customer's scene.
bool Offer(int k) {
    if (!OrderOfferComes(k)) return false;
    TEventServerDbg& ev = *EventServerDbg;
    ev.EventBegin();
    ev.OrderTalk(k);
    ev.EventEnd();
    return true;
}

// Order k's collection: today is its deadline and the heroine is in the shop.
bool Collect(int k) {
    if (!OrderCollectionComes(k)) return false;
    TEventServerDbg& ev = *EventServerDbg;
    ev.EventBegin();
    ev.DeliveryTalk(kFirstOrderFlag + k);
    ev.EventEnd();
    return true;
}

}  // namespace

bool EvCustomerRequest000() { return Offer(0); }
bool EvCustomerRequest001() { return Offer(1); }
bool EvCustomerRequest002() { return Offer(2); }
bool EvCustomerRequest003() { return Offer(3); }
bool EvCustomerRequest004() { return Offer(4); }
bool EvCustomerRequest005() { return Offer(5); }
bool EvCustomerRequest006() { return Offer(6); }
bool EvCustomerRequest007() { return Offer(7); }
bool EvCustomerRequest008() { return Offer(8); }
bool EvCustomerRequest009() { return Offer(9); }
bool EvCustomerRequest010() { return Offer(10); }
bool EvCustomerRequest011() { return Offer(11); }
bool EvCustomerRequest012() { return Offer(12); }
bool EvCustomerRequest013() { return Offer(13); }
bool EvCustomerRequest014() { return Offer(14); }
bool EvCustomerRequest015() { return Offer(15); }
bool EvCustomerRequest016() { return Offer(16); }
bool EvCustomerRequest017() { return Offer(17); }
bool EvCustomerRequest018() { return Collect(0); }
bool EvCustomerRequest019() { return Collect(1); }
bool EvCustomerRequest020() { return Collect(2); }
bool EvCustomerRequest021() { return Collect(3); }
bool EvCustomerRequest022() { return Collect(4); }
bool EvCustomerRequest023() { return Collect(5); }
bool EvCustomerRequest024() { return Collect(6); }
bool EvCustomerRequest025() { return Collect(7); }
bool EvCustomerRequest026() { return Collect(8); }
bool EvCustomerRequest027() { return Collect(9); }
bool EvCustomerRequest028() { return Collect(10); }
bool EvCustomerRequest029() { return Collect(11); }
bool EvCustomerRequest030() { return Collect(12); }
bool EvCustomerRequest031() { return Collect(13); }
bool EvCustomerRequest032() { return Collect(14); }
bool EvCustomerRequest033() { return Collect(15); }
bool EvCustomerRequest034() { return Collect(16); }
bool EvCustomerRequest035() { return Collect(17); }
