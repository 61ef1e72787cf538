#pragma once
// The town's-help shopkeeper's choices (policy `help`). Its ending wants the reputation at
// 40 or more when the year ends and the money short of the debt, so the shop sells a great
// many cheap goods and never lets a customer down:
// - on the slots only cheap goods (and, to fill a slot group, goods the town hardly wants),
//   each with the units its customers take today, which the town's wants and the
//   reputation tell exactly, and a margin for the customers who take from a neighbour too;
// - the slot groups 2-5 and 6-9 each full or empty: a customer who reaches over to an empty
//   slot costs the evening a point, as a sold-out slot does;
// - the mixing and the market for the cheap goods' stock, the lake's water from the land;
// - the money watched against the debt: the dearer goods leave the slots as the year's
//   takings near it, and in the last days the market's dearest materials are bought with
//   what would pass it.
// The Shopkeeper carries the choices out through the windows; these functions only read
// the game's state.
#include <array>
#include <utility>
#include <vector>

#include "shop/GameState.h"

namespace route {

struct RepLedger;

// Goods the help shop makes for sale: the cheap ones it knows, the dearer of them only
// while the money stays well short of the debt.
bool HelpGoods(int g);
// Units of a goods the help shop keeps on hand: a few days of its customers and a stock to
// fill a slot with; 0 for goods it does not make.
int HelpTarget(int g);
// The slots for today (the item of each, -1 for none), laid out before the shop opens.
std::array<int, kExhibitionSlots> HelpSlots(const std::vector<int>& leaveOff);
// The goods to mix now from the materials at hand (with `market`, today's market's too),
// the one furthest short of its stock for its customers; -1 for none.
int HelpMixGoods(bool market);
// The batches (1..4) of a goods' job: those its shortfall takes, no more (a batch of the
// two-hour goods is two hours the other goods wait).
int HelpBatches(int g);
// The materials to buy at today's market: for the stock of the cheap goods, and near the
// year's end the dearest ones with the money that would reach the debt.
std::vector<std::pair<int, int>> HelpMarketBuys();
// The land node of a night's search for the materials the market does not sell (the lake
// for its water); -1 when none is short.
int HelpLandNode();
// The money the year should end with at today's takings.
long long HelpMoneyForecast();
// With HELPSHOP_LOG set: a line a morning on the error stream (reputation, money, the
// town's wants, the slots, the stock).
void HelpLog(const std::array<int, kExhibitionSlots>& slots, const RepLedger& ledger);

}  // namespace route
