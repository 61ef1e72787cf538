#pragma once

// The town market's rules: five offers a day drawn from the candidate list,
// restocked at 09:00 and partly bought up by other buyers each hour 10..17.
// The offers live in the game state (MarketOffers), sorted by item id.

void NewMarketDay();   // 09:00
void MarketSellOff();  // 10:00 to 17:00, each hour

void SetMarketItem(int i, int item);
int MarketItem(int i);
void SetMarketStock(int i, int n);
void AddMarketStock(int i, int n);  // result clamped to 0..99
int MarketStock(int i);
