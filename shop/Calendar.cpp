#include "shop/Calendar.h"

#include "platform/Transcript.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "shop/Market.h"

ClockHooks g_ClockHooks;

namespace {

template <class F, class... A>
void Call(F* f, A... a) {
    if (f) f(a...);
}

// Units of the 64 goods sold on the five days before today.
int SoldInLastFiveDays() {
    int day = GameDay(), sum = 0;
    for (int d = day - 1; d >= day - 5; --d)
        for (int g = 0; g < kGoodsCount; ++g) sum += DailySoldCount(g, d);
    return sum;
}

}  // namespace

void AdvanceHour() {
    ClockHooks& h = g_ClockHooks;
    Call(h.ResetTickPhase);

    // Call point of the customers: finish every customer of the closing hour.
    if (h.SpawnHourlyCustomers)
        while (h.SpawnHourlyCustomers(true)) {
        }

    Call(h.RedrawShop);
    Call(h.AnimateHourChange);

    GameState& G = g_GameState;
    G.Hour += 1;
    if (G.Hour >= 24) {
        G.Hour = 0;
        AdvanceDay();
    }
    int day = G.Day, hour = G.Hour;
    ui::Record("hour", "day " + std::to_string(day) + " " + (hour < 10 ? "0" : "") +
                           std::to_string(hour) + ":00");

    // Weekly reputation, at 08:00 of the rest day.
    if (IsRestDay(day) && hour == 8) {
        int sold = SoldInLastFiveDays();
        if (sold >= G.Reputation * 10)
            AddReputation(2);
        else if (sold >= G.Reputation * 5)
            AddReputation(1);
    }

    if (hour == 8) ClearCustomerMessages();
    if (hour == 9) NewMarketDay();
    if (hour >= 10 && hour < 18) MarketSellOff();

    bool open = IsShopOpenTime(day, hour);
    Call(open ? h.SetShopOpen : h.SetShopClosed);

    if (hour == 10 && open) Call(h.GenerateDailyDemand);  // customers: the day's demand table
    if (hour == 19) Call(h.SettleDailyFashion);           // customers: the evening settlement

    // Rest in the 2F room recovers the heroine.
    if (h.IsShop2FVisible && h.IsShop2FVisible()) {
        if (hour == 19) AddCondition(-2);
        if (hour == 1) AddCondition(-1);
    }

    if (hour == 19)
        for (int s = 0; s < kExhibitionSlots; ++s)
            G.ExhibitionSlotsEvening[s] = G.ExhibitionSlots[s];
    if (hour == 0)
        for (int s = 0; s < kExhibitionSlots; ++s)
            G.ExhibitionSlotsYesterday[s] = G.ExhibitionSlotsEvening[s];

    Call(h.RenewWatch);
    Call(h.ClearDoorBell);
}

void AdvanceDay() {
    GameState& G = g_GameState;
    G.Day += 1;
    Call(g_ClockHooks.RenewCalender);
    DatedDemandEvents();
    RandomDemandBoost();
    if (G.Day % kDaysPerMonth == 0) MonthlyFashionReset();  // the variant still unchanged
    if (G.Day == 72 || G.Day == 120 || G.Day == 240) G.Variant = DrawRandom() & 1;
}

void AdvanceToMorning() {
    do {
        AdvanceHour();
    } while (GameHour() != 8);
}
