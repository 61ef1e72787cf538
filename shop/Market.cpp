#include "shop/Market.h"

#include <utility>

#include "shop/Catalog.h"
#include "shop/GameState.h"

namespace {
int Clamp99(int v) { return v < 0 ? 0 : v > 99 ? 99 : v; }
}  // namespace

void NewMarketDay() {
    MarketOffer* offers = g_GameState.MarketOffers;
    for (int i = kMarketOffers - 1; i >= 0; --i) {
        int c;
        bool taken;
        do {  // no two offers of a day carry the same item
            c = MarketCandidates[DrawRandom() % 19];
            taken = false;
            for (int k = i + 1; k < kMarketOffers; ++k) taken |= offers[k].Item == c;
        } while (taken);
        offers[i].Item = static_cast<std::uint8_t>(c);
        offers[i].Quantity = static_cast<std::uint8_t>(DrawRandom() % 80 + 20);
    }
    // Exchange sort by item id; only the ids move, the quantities stay in place.
    for (int i = 0; i < kMarketOffers - 1; ++i)
        for (int k = i + 1; k < kMarketOffers; ++k)
            if (offers[i].Item > offers[k].Item) std::swap(offers[i].Item, offers[k].Item);
}

void MarketSellOff() {
    for (int i = kMarketOffers - 1; i >= 0; --i) {
        MarketOffer& o = g_GameState.MarketOffers[i];
        o.Quantity = static_cast<std::uint8_t>(Clamp99(o.Quantity - DrawRandom() % 20));
    }
}

void SetMarketItem(int i, int item) {
    g_GameState.MarketOffers[i].Item = static_cast<std::uint8_t>(item);
}
int MarketItem(int i) { return g_GameState.MarketOffers[i].Item; }
void SetMarketStock(int i, int n) {
    g_GameState.MarketOffers[i].Quantity = static_cast<std::uint8_t>(n);
}
void AddMarketStock(int i, int n) {
    MarketOffer& o = g_GameState.MarketOffers[i];
    o.Quantity = static_cast<std::uint8_t>(Clamp99(o.Quantity + n));
}
int MarketStock(int i) { return g_GameState.MarketOffers[i].Quantity; }
