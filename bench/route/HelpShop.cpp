#include "bench/route/HelpShop.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "bench/route/Shopkeeper.h"
#include "shop/Catalog.h"
#include "shop/Fashion.h"
#include "shop/GameState.h"
#include "shop/Market.h"
#include "shop/Mixing.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

namespace route {

namespace {

constexpr int kDebt = 1000000;
constexpr int kKeyStock = 255;  // a key item's stock mark
// The cheap goods (20 to 100 G) the help shop lives on.
constexpr int kCheapGoods[] = {0, 1, 2, 12, 31, 33};
constexpr int kContestDay = 179;  // the beauty contest: 100,000 G at reputation 20
constexpr int kContestPrize = 100000;
constexpr int kMagicContestDay = 125;  // the magic contest: 100,000 G to the winner
constexpr int kContestHeld = 408;
constexpr int kLakeWater = 85;
constexpr int kLake = 7;         // the land node whose searches turn up the lake's water
constexpr int kRockSalt = 89;    // the flower bottles' other material the market seldom has
constexpr int kStarSand = 90;    // 黑貓胸針's material, found only on the seashore (node 8)
constexpr int kCashKept = 2000;  // money the market leaves in hand
// Days of customers the market's materials are bought for.
constexpr int kDaysAhead = 6;
// The market's offers come and go: a cheap material is bought up to this many units.
constexpr int kMaterialStock = 80;

bool Known(int g) { return IsItemUnlocked(g) && ItemStock(g) != kKeyStock; }

// Customers a goods on a full-price slot draws today: the town's wants times the
// reputation, as the day's demand is made at 10:00.
int Customers(int g) { return Fashions[g].Popularity() * GameReputation() / 100; }

// The most the bargain slot's goods may sell in a day: up to reputation / 20 + 1 an hour.
int BargainMost() { return 9 * (GameReputation() / 20 + 1); }

int YieldPerBatch(int g) { return PlannedMixYield(g, 4) / 4; }

bool OnMarket(int m, int units) {
    for (int i = 0; i < kMarketOffers; ++i)
        if (MarketItem(i) == m && MarketStock(i) >= units) return true;
    return false;
}

bool SoldAtMarket(int m) {
    return std::find(std::begin(MarketCandidates), std::end(MarketCandidates), m) !=
           std::end(MarketCandidates);
}

// Open days from today (counted from tomorrow when the shop has closed) to the year's end.
int OpenDaysLeft() {
    int n = 0;
    for (int d = GameDay() + (GameHour() >= 19 ? 1 : 0); d < kGameDays - 1; ++d)
        if (!IsRestDay(d) && d != 48) ++n;
    return n;
}

// The takings of an open day, over the last two weeks' open days.
long long DailyTakings() {
    long long sum = 0;
    int days = 0;
    for (int d = GameDay() - 1; d >= 0 && d >= GameDay() - 12; --d) {
        if (IsRestDay(d) || d == 48) continue;
        ++days;
        for (int g = 0; g < kGoodsCount; ++g) sum += DailyRevenue(g, d);
    }
    return days > 0 ? sum / days : 0;
}

// The dearest goods the help shop sells at the forecast's money.
int PriceLimit() {
    const long long f = HelpMoneyForecast();
    if (f < 920000) return 250;
    if (f < 950000) return 120;
    if (f < 965000) return 100;
    if (f < 980000) return 30;
    return 20;
}

bool Cheap(int g) {
    return std::find(std::begin(kCheapGoods), std::end(kCheapGoods), g) != std::end(kCheapGoods);
}

// What the night searches of a land node turn up (SearchFinds, the night's records).
struct LandFinds {
    int node;
    int materials[6];
};
constexpr LandFinds kLandFinds[] = {
    {7, {85, 64, 69, 71, 72, 0}},  {6, {66, 65, 83, 84, 64, 0}},  {8, {95, 90, 0, 0, 0, 0}},
    {3, {89, 94, 79, 81, 96, 78}}, {4, {68, 97, 87, 89, 0, 0}},   {5, {68, 97, 87, 89, 0, 0}},
    {2, {64, 69, 72, 75, 71, 73}}, {1, {64, 75, 78, 71, 79, 80}}, {9, {86, 81, 97, 87, 0, 0}},
};

bool LandOpen(int node) {
    return EventServerDbg && EventServerDbg->TestFlg(kFirstPlaceOpenFlag + place::LandTown + node);
}

bool FoundOnLand(int m) {
    for (const LandFinds& f : kLandFinds)
        for (int x : f.materials)
            if (x == m && LandOpen(f.node)) return true;
    return false;
}

bool SoldAtMarketOrLand(int m) {
    return std::find(std::begin(MarketCandidates), std::end(MarketCandidates), m) !=
               std::end(MarketCandidates) ||
           FoundOnLand(m);
}

// The shop can keep a goods in stock: its materials come from the market, the land, the
// key items or the cheap goods, and cost well below what the goods sells for.
bool Makeable(int g) {
    int cost = 0;
    for (int k = 0; k < 3; ++k) {
        const int m = RecipeMaterial(g, k), q = RecipeQuantity(g, k);
        if (m < 0 || m >= kItemCount) continue;
        if (ItemStock(m) == kKeyStock) continue;
        if (ItemStock(m) >= 4 * q) continue;  // at hand for a job (芙蘿蕾's flowers)
        if (m < kGoodsCount ? !Cheap(m) || !Known(m) : !SoldAtMarketOrLand(m)) return false;
        cost += q * ItemBasePrice(m);
    }
    return cost <= 5 * ItemBasePrice(g);
}

// Units a goods on a full-price slot needs today beside what its neighbours' customers take.
int SafeUnits(int g) { return Customers(g) + Customers(g) / 10 + 2; }

// Customers of `from` that may reach over to its neighbour (one in ten, half of them each
// way from the inner slots), twice over for a margin; `lean`: once.
int Reach(const std::array<int, kExhibitionSlots>& slots, int from, bool lean) {
    if (from < 2 || from > 9 || slots[from] < 0) return 0;
    const bool oneWay = from == 2 || from == 5 || from == 6 || from == 9;
    const int c = Customers(slots[from]) * (lean ? 1 : 2);
    return oneWay ? (c + 9) / 10 : (c + 19) / 20;
}

bool SlotSafe(const std::array<int, kExhibitionSlots>& slots, int s, bool lean = false) {
    const int g = slots[s];
    if (g < 0) return true;
    if (s == 0) return ItemAvailable(g) >= BargainMost();
    int need = SafeUnits(g);
    if (s >= 2) {
        const int lo = s == 6 ? -1 : s - 1, hi = s == 5 ? -1 : s + 1;
        if (lo >= 2) need += Reach(slots, lo, lean);
        if (hi >= 2 && hi <= 9) need += Reach(slots, hi, lean);
        need += 1;
    }
    return ItemAvailable(g) >= need;
}

// The dearer goods the town wants most, made for the bargain slot alone: its customers
// come at random and few, at half price, while the town's wants of it turn none away.
int BargainGoods() {
    int best = -1;
    for (int g = 0; g < kGoodsCount; ++g) {
        if (!Known(g) || Cheap(g) || ItemBasePrice(g) > 250 || !Makeable(g)) continue;
        if (Fashions[g].Popularity() < 20) continue;
        if (best < 0 || Fashions[g].Popularity() > Fashions[best].Popularity()) best = g;
    }
    return best;
}

}  // namespace

long long HelpMoneyForecast() {
    long long f = GameMoney() + DailyTakings() * OpenDaysLeft();
    // The contests' prizes still to come: the beauty contest's, and the magic contest's
    // when the plan goes to it.
    if (GameDay() < kContestDay || (GameDay() == kContestDay && GameHour() < 17))
        f += kContestPrize;
    if (GameDay() <= kMagicContestDay && EventServerDbg && !EventServerDbg->TestFlg(kContestHeld))
        f += kContestPrize;
    return f;
}

bool HelpGoods(int g) {
    if (g < 0 || g >= kGoodsCount || !Known(g)) return false;
    if (ItemBasePrice(g) > PriceLimit()) return g == BargainGoods();
    // The cheap goods always; a dearer one the town wants.
    return Makeable(g) && (Cheap(g) || Fashions[g].Popularity() >= 12 || ItemSlot(g) >= 0);
}

int HelpTarget(int g) {
    if (!HelpGoods(g)) return 0;
    if (ItemBasePrice(g) > PriceLimit()) return BargainMost() + 15;
    return std::clamp(3 * Customers(g) + 15, 30, 95);
}

std::array<int, kExhibitionSlots> HelpSlots(const std::vector<int>& leaveOff) {
    std::array<int, kExhibitionSlots> slots;
    slots.fill(-1);
    // Only the goods the shop makes: a sale seeds the town's wants of a goods, and once the
    // stock of one it cannot make is gone, its customers are turned away.
    auto usable = [&](int g) {
        return HelpGoods(g) && ItemAvailable(g) > 0 &&
               std::find(leaveOff.begin(), leaveOff.end(), g) == leaveOff.end();
    };
    auto byCustomers = [](int a, int b) { return Customers(a) > Customers(b); };
    // The help goods whose stock covers their customers at full price, the most wanted first.
    std::vector<int> full, short_;
    for (int g = 0; g < kGoodsCount; ++g) {
        if (!usable(g) || ItemBasePrice(g) > PriceLimit()) continue;
        if (ItemAvailable(g) >= SafeUnits(g) + 2)
            full.push_back(g);
        else
            short_.push_back(g);
    }
    std::stable_sort(full.begin(), full.end(), byCustomers);
    std::stable_sort(short_.begin(), short_.end(), byCustomers);
    // The bargain slot, whose customers come at random and not for the town's wants: the
    // dearer goods made for it, or the most wanted goods the stock cannot cover at full
    // price; else the least wanted.
    const int bargain = BargainGoods();
    if (bargain >= 0 && usable(bargain) && ItemAvailable(bargain) >= BargainMost()) {
        slots[0] = bargain;
        full.erase(std::remove(full.begin(), full.end(), bargain), full.end());
        short_.erase(std::remove(short_.begin(), short_.end(), bargain), short_.end());
    }
    for (auto it = short_.begin(); slots[0] < 0 && it != short_.end(); ++it)
        if (ItemAvailable(*it) >= BargainMost()) {
            slots[0] = *it;
            short_.erase(it);
            break;
        }
    if (slots[0] < 0)
        for (auto it = full.rbegin(); it != full.rend(); ++it)
            if (ItemAvailable(*it) >= BargainMost() + SafeUnits(*it) && full.size() > 5) {
                slots[0] = *it;
                full.erase(std::next(it).base());
                break;
            }
    // Spare goods for a group the cheap goods cannot fill: those the town hardly wants, with
    // units for the customers who reach over. A sale seeds the town's wants of it, so only
    // goods the shop can make and keep on the slots: a dear one the town learns to want
    // would turn its customers away.
    std::vector<int> spare;
    for (int g = 0; g < kGoodsCount; ++g)
        if (usable(g) && g != slots[0] && Customers(g) <= 2 &&
            std::find(full.begin(), full.end(), g) == full.end() && ItemAvailable(g) >= 6 &&
            ItemBasePrice(g) <= std::min(PriceLimit(), 120))
            spare.push_back(g);
    std::stable_sort(spare.begin(), spare.end(),
                     [](int a, int b) { return ItemAvailable(a) > ItemAvailable(b); });
    // The groups first, each full or empty: slot by slot the most wanted goods whose stock
    // covers its customers and those who reach over from the slots beside it, the spares
    // after the wanted goods; slot 1 (no neighbour reaches it) takes the next wanted goods.
    std::vector<int> pool = full;
    pool.insert(pool.end(), spare.begin(), spare.end());
    std::vector<bool> used(pool.size(), false);
    // A group the margins cannot fill is tried again with the customers who reach over
    // counted once: an empty group turns all its goods' customers away.
    for (const int first : {2, 6}) {
        for (const bool lean : {false, true}) {
            std::array<int, kExhibitionSlots> trial = slots;
            std::vector<bool> taken = used;
            bool filled = true;
            for (int s = first; s < first + 4 && filled; ++s) {
                filled = false;
                for (std::size_t i = 0; i < pool.size() && !filled; ++i) {
                    if (taken[i]) continue;
                    trial[s] = pool[i];
                    bool safe = true;
                    for (int t = first; t <= s; ++t) safe &= SlotSafe(trial, t, lean);
                    if (safe) {
                        taken[i] = true;
                        filled = true;
                    }
                }
                if (!filled) trial[s] = -1;
            }
            if (!filled) continue;
            slots = trial;
            used = taken;
            break;
        }
    }
    for (std::size_t i = 0; i < full.size(); ++i)
        if (!used[i]) {
            slots[1] = full[i];
            break;
        }
    return slots;
}

int HelpMixGoods(bool market) {
    // No job that would keep her in from the night's search.
    if (GameHour() >= 16 && GameHour() < 19 && HelpLandNode() >= 0) return -1;
    int best = -1;
    long long bestValue = 0;
    for (int g = 0; g < kGoodsCount; ++g) {
        if (!HelpGoods(g)) continue;
        const int y = YieldPerBatch(g);
        const int shortfall = HelpTarget(g) - ItemStock(g);
        if (y <= 0 || shortfall <= 0 || ItemStock(g) + y > 99) continue;
        bool can = true;
        for (int k = 0; k < 3; ++k) {
            const int m = RecipeMaterial(g, k), q = RecipeQuantity(g, k);
            if (m < 0 || m >= kItemCount || ItemStock(m) == kKeyStock) continue;
            if (ItemStock(m) < q && !(market && OnMarket(m, q - ItemStock(m)))) can = false;
        }
        if (!can) continue;
        // The customers an hour of mixing keeps served; a goods off the slots or nearly
        // out comes first.
        const int customers = ItemBasePrice(g) > PriceLimit() ? BargainMost() / 2 : Customers(g);
        long long v = static_cast<long long>(std::min(shortfall, 4 * y)) * (customers + 3) * 100 /
                      RecipeHours(g, 1);
        if (ItemStock(g) < SafeUnits(g) + 10) v *= 3;
        if (v > bestValue) {
            best = g;
            bestValue = v;
        }
    }
    return best;
}

int HelpBatches(int g) {
    if (RecipeHours(g, 1) < 2) return 4;
    const int y = std::max(YieldPerBatch(g), 1);
    return std::clamp((HelpTarget(g) - ItemStock(g) + y - 1) / y, 1, 4);
}

std::vector<std::pair<int, int>> HelpMarketBuys() {
    std::vector<std::pair<int, int>> buy;
    // Units of each material the cheap goods need for the days ahead, and a stock to start on.
    int need[kItemCount] = {};
    for (int g = 0; g < kGoodsCount; ++g) {
        if (!HelpGoods(g)) continue;
        const int y = std::max(YieldPerBatch(g), 1);
        const int units = HelpTarget(g) + kDaysAhead * Customers(g) - ItemStock(g);
        const int batches = std::max((units + y - 1) / y, 4);
        for (int k = 0; k < 3; ++k) {
            const int m = RecipeMaterial(g, k);
            if (m >= kGoodsCount && m < kItemCount && ItemStock(m) != kKeyStock)
                need[m] += batches * RecipeQuantity(g, k);
        }
    }
    long long money = GameMoney() - kCashKept;
    for (int i = 0; i < kMarketOffers; ++i) {
        const int m = MarketItem(i);
        if (m < kGoodsCount || m >= kItemCount || MarketStock(i) <= 0) continue;
        const int want = ItemBasePrice(m) <= 50 ? std::max(need[m], kMaterialStock) : need[m];
        const int units = std::min(want, 99) - ItemStock(m);
        const int afford =
            static_cast<int>(std::min<long long>(units, money / std::max(ItemBasePrice(m), 1)));
        if (afford <= 0) continue;
        money -= static_cast<long long>(afford) * ItemBasePrice(m);
        buy.emplace_back(m, afford);
    }
    // The money that would come within 60,000 G of the debt by the year's end goes into the dearest
    // materials (they keep; they are not sold), so that the cheap goods stay on the slots.
    long long surplus = HelpMoneyForecast() - (kDebt - 60000);
    if (surplus > 0) {
        std::vector<int> offers;
        for (int i = 0; i < kMarketOffers; ++i)
            if (MarketStock(i) > 0 && MarketItem(i) >= kGoodsCount) offers.push_back(i);
        std::stable_sort(offers.begin(), offers.end(), [](int a, int b) {
            return ItemBasePrice(MarketItem(a)) > ItemBasePrice(MarketItem(b));
        });
        for (int i : offers) {
            const int m = MarketItem(i), price = ItemBasePrice(m);
            int have = 0;
            for (const auto& b : buy)
                if (b.first == m) have += b.second;
            const int room = 99 - ItemStock(m) - have;
            const int units = static_cast<int>(std::min<long long>(
                {static_cast<long long>(room), static_cast<long long>(MarketStock(i) - have),
                 surplus / price + 1, money / price}));
            if (units <= 0) continue;
            surplus -= static_cast<long long>(units) * price;
            money -= static_cast<long long>(units) * price;
            bool merged = false;
            for (auto& b : buy)
                if (b.first == m) {
                    b.second += units;
                    merged = true;
                }
            if (!merged) buy.emplace_back(m, units);
            if (surplus <= 0) break;
        }
    }
    return buy;
}

int HelpLandNode() {
    // Units of each material the goods need for the days ahead.
    int need[kItemCount] = {};
    for (int g = 0; g < kGoodsCount; ++g) {
        if (!HelpGoods(g)) continue;
        const int y = std::max(YieldPerBatch(g), 1);
        const int units = HelpTarget(g) + kDaysAhead * Customers(g) - ItemStock(g);
        const int batches = std::max((units + y - 1) / y, 2);
        for (int k = 0; k < 3; ++k) {
            const int m = RecipeMaterial(g, k);
            if (m >= kGoodsCount && m < kItemCount && ItemStock(m) != kKeyStock)
                need[m] += batches * RecipeQuantity(g, k);
        }
    }
    // Materials the market never sells count in full, the others at a third.
    // The lake's water, which the most wanted cheap goods take, counts three times.
    auto lack = [&](int m) {
        const int units = std::min(need[m], m == kLakeWater ? 80 : 60) - ItemStock(m);
        if (units <= 0) return 0;
        if (m == kLakeWater) return 3 * units;
        if (m == kRockSalt) return 2 * units;
        // The seashore's sand turns up at the even hours alone, three finds in ten, and its
        // place's short list loses to the great tree's every night unless it counts four times.
        if (m == kStarSand) return 4 * units;
        return SoldAtMarket(m) ? units / 3 : units;
    };
    // The lake's water first: the most wanted cheap goods wait for it.
    if (lack(kLakeWater) > 0 && LandOpen(kLake)) return kLake;
    int node = -1, most = 3;
    for (const LandFinds& place : kLandFinds) {
        if (!LandOpen(place.node)) continue;
        int short_ = 0;
        for (int m : place.materials)
            if (m > 0) short_ += lack(m);
        if (short_ > most) {
            most = short_;
            node = place.node;
        }
    }
    return node;
}

void HelpLog(const std::array<int, kExhibitionSlots>& slots, const RepLedger& l) {
    if (!std::getenv("HELPSHOP_LOG")) return;
    std::fprintf(
        stderr,
        "help day %d rep %d money %d forecast %lld decay %d cond %d (w%d o%d s%d t%d p%d x%d) |",
        GameDay(), GameReputation(), GameMoney(), HelpMoneyForecast(), RepDecayCount(),
        GameCondition(), l.weekly, l.ordersFailed, l.soldOut, l.turnedAway, l.peddled, l.other);
    for (int g = 0; g < kGoodsCount; ++g)
        if (Fashions[g].Popularity() >= 4)
            std::fprintf(stderr, " %d:%d(%d)%s", g, Fashions[g].Popularity(), ItemStock(g),
                         ItemSlot(g) >= 0 || std::find(slots.begin(), slots.end(), g) != slots.end()
                             ? "*"
                             : "");
    std::fprintf(stderr, " | slots");
    for (int s = 0; s < kExhibitionSlots; ++s)
        std::fprintf(stderr, " %d(%d)", slots[s], slots[s] >= 0 ? ItemAvailable(slots[s]) : 0);
    std::fprintf(stderr, " | stock");
    for (int g : kCheapGoods)
        std::fprintf(stderr, " %d:%d/%d%s", g, ItemStock(g), ItemAvailable(g),
                     HelpGoods(g) ? "" : "-");
    for (int m : {85, 89, 68, 64, 70, 77, 97, 87, 65, 83, 84, 90, 94})
        std::fprintf(stderr, " m%d:%d", m, ItemStock(m));
    std::fprintf(stderr, " | night %d", HelpLandNode());
    std::fprintf(stderr, "\n");
}

}  // namespace route
