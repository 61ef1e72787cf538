#include "shop/GameState.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/Files.h"
#include "platform/Random.h"
#include "shop/Calendar.h"
#include "shop/Fashion.h"
#include "story/Register.h"

// The struct mirrors the byte image field for field.
static_assert(sizeof(ItemState) == kItemStateSize);
static_assert(offsetof(ItemState, Stock) == 0);
static_assert(offsetof(ItemState, Reserve) == 1);
static_assert(offsetof(ItemState, Sold) == 2);
static_assert(offsetof(ItemState, Pad0) == 290);
static_assert(offsetof(ItemState, Revenue) == 292);
static_assert(offsetof(ItemState, Unlocked) == 1444);
static_assert(offsetof(ItemState, Pad1) == 1445);
static_assert(sizeof(GameState) == kGameStateSize);
static_assert(offsetof(GameState, Variant) == 0);
static_assert(offsetof(GameState, Day) == 4);
static_assert(offsetof(GameState, Hour) == 8);
static_assert(offsetof(GameState, Condition) == 12);
static_assert(offsetof(GameState, Level) == 16);
static_assert(offsetof(GameState, Experience) == 20);
static_assert(offsetof(GameState, Money) == 24);
static_assert(offsetof(GameState, Reputation) == 28);
static_assert(offsetof(GameState, CustomerMessages) == 32);
static_assert(offsetof(GameState, Visitors) == 44);
static_assert(offsetof(GameState, MarketOffers) == 1196);
static_assert(offsetof(GameState, MarketPad) == 1206);
static_assert(offsetof(GameState, ItemStates) == 1208);
static_assert(offsetof(GameState, ExhibitionSlots) == 156144);
static_assert(offsetof(GameState, ExhibitionSlotsYesterday) == 156154);
static_assert(offsetof(GameState, ExhibitionSlotsEvening) == 156164);
static_assert(offsetof(GameState, RepDecayCount) == 156174);
static_assert(offsetof(GameState, BoostCountdown) == 156175);
static_assert(offsetof(GameState, MixJob) == 156176);
static_assert(offsetof(GameState, Reserved) == 156180);
static_assert(sizeof(ItemCatalogEntry) == 28 && sizeof(RecipeEntry) == 8 &&
              sizeof(ItemDescription) == 82);

GameState g_GameState;
std::uint8_t EverUnlocked[kItemCount];
std::uint8_t BookItemState[kItemCount];

namespace {

GameState& G = g_GameState;
int (*g_randomSource)() = nullptr;

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

}  // namespace

int DrawRandom() { return g_randomSource ? g_randomSource() : ui::Rand(); }
void SetRandomSource(int (*source)()) { g_randomSource = source; }

// --- byte image --------------------------------------------------------------

namespace {

// Writes fields straight into the image, little-endian, never past its end: a save
// writes some 156,000 of them.
class ImageWriter {
public:
    ImageWriter(std::uint8_t* out, std::size_t size) : p_(out), end_(out + size) {}
    void U8(std::uint8_t v) {
        if (p_ < end_) *p_++ = v;
    }
    void U32(std::uint32_t v) {
        if (end_ - p_ < 4) {
            p_ = end_;
            return;
        }
        ui::StoreU32(p_, v);
        p_ += 4;
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    // A byte array as it stands.
    template <std::size_t N>
    void Bytes(const std::uint8_t (&v)[N]) {
        const std::size_t n = std::min<std::size_t>(N, static_cast<std::size_t>(end_ - p_));
        std::memcpy(p_, v, n);
        p_ += n;
    }
    // An array of 32-bit fields.
    template <std::size_t N>
    void U32s(const std::uint32_t (&v)[N]) {
        if (static_cast<std::size_t>(end_ - p_) < 4 * N) {
            for (std::uint32_t x : v) U32(x);
            return;
        }
        // The fields are little-endian in the image: on a little-endian machine the
        // array's bytes are the image's bytes.
        if constexpr (std::endian::native == std::endian::little)
            std::memcpy(p_, v, 4 * N);
        else
            for (std::size_t i = 0; i < N; ++i) ui::StoreU32(p_ + 4 * i, v[i]);
        p_ += 4 * N;
    }

private:
    std::uint8_t* p_;
    std::uint8_t* end_;
};

}  // namespace

void WriteGameStateImage(std::uint8_t* out) {
    ImageWriter o(out, kGameStateSize);
    o.I32(G.Variant);
    o.I32(G.Day);
    o.I32(G.Hour);
    o.I32(G.Condition);
    o.I32(G.Level);
    o.I32(G.Experience);
    o.I32(G.Money);
    o.I32(G.Reputation);
    for (std::int32_t m : G.CustomerMessages) o.I32(m);
    o.U32s(G.Visitors);
    for (const MarketOffer& m : G.MarketOffers) {
        o.U8(m.Item);
        o.U8(m.Quantity);
    }
    o.Bytes(G.MarketPad);
    for (const ItemState& s : G.ItemStates) {
        o.U8(s.Stock);
        o.U8(s.Reserve);
        o.Bytes(s.Sold);
        o.Bytes(s.Pad0);
        o.U32s(s.Revenue);
        o.U8(s.Unlocked);
        o.Bytes(s.Pad1);
    }
    for (std::int8_t v : G.ExhibitionSlots) o.U8(static_cast<std::uint8_t>(v));
    for (std::int8_t v : G.ExhibitionSlotsYesterday) o.U8(static_cast<std::uint8_t>(v));
    for (std::int8_t v : G.ExhibitionSlotsEvening) o.U8(static_cast<std::uint8_t>(v));
    o.U8(G.RepDecayCount);
    o.U8(G.BoostCountdown);
    o.U8(G.MixJob.Item);
    o.U8(G.MixJob.Batches);
    o.U8(G.MixJob.Yield);
    o.U8(G.MixJob.HoursLeft);
    o.Bytes(G.Reserved);
}

namespace {

// An array of 32-bit fields, read at once (0s past the end, as single reads give).
template <std::size_t N>
void ReadU32s(ui::ByteReader& r, std::uint32_t (&v)[N]) {
    if constexpr (std::endian::native == std::endian::little) {
        if (!r.Bytes(v, sizeof v)) std::fill(std::begin(v), std::end(v), 0u);
    } else {
        std::uint8_t raw[4 * N];
        if (!r.Bytes(raw, sizeof raw)) {
            std::fill(std::begin(v), std::end(v), 0u);
            return;
        }
        for (std::size_t i = 0; i < N; ++i) v[i] = ui::LoadU32(raw + 4 * i);
    }
}

}  // namespace

void ReadGameStateImage(const std::uint8_t* in) {
    ui::ByteReader r(in, kGameStateSize);
    G.Variant = r.I32();
    G.Day = r.I32();
    G.Hour = r.I32();
    G.Condition = r.I32();
    G.Level = r.I32();
    G.Experience = r.I32();
    G.Money = r.I32();
    G.Reputation = r.I32();
    for (std::int32_t& m : G.CustomerMessages) m = r.I32();
    ReadU32s(r, G.Visitors);
    for (MarketOffer& m : G.MarketOffers) {
        m.Item = r.U8();
        m.Quantity = r.U8();
    }
    r.Bytes(G.MarketPad, sizeof G.MarketPad);
    for (ItemState& s : G.ItemStates) {
        s.Stock = r.U8();
        s.Reserve = r.U8();
        r.Bytes(s.Sold, sizeof s.Sold);
        r.Bytes(s.Pad0, sizeof s.Pad0);
        ReadU32s(r, s.Revenue);
        s.Unlocked = r.U8();
        r.Bytes(s.Pad1, sizeof s.Pad1);
    }
    for (std::int8_t& v : G.ExhibitionSlots) v = static_cast<std::int8_t>(r.U8());
    for (std::int8_t& v : G.ExhibitionSlotsYesterday) v = static_cast<std::int8_t>(r.U8());
    for (std::int8_t& v : G.ExhibitionSlotsEvening) v = static_cast<std::int8_t>(r.U8());
    G.RepDecayCount = r.U8();
    G.BoostCountdown = r.U8();
    G.MixJob.Item = r.U8();
    G.MixJob.Batches = r.U8();
    G.MixJob.Yield = r.U8();
    G.MixJob.HoursLeft = r.U8();
    r.Bytes(G.Reserved, sizeof G.Reserved);
}

// --- a new game --------------------------------------------------------------

void InitGameState() {
    G.Variant = DrawRandom() & 1;
    SetGameDay(0);
    SetGameHour(8);
    G.Condition = 0;
    G.Level = 1;
    G.Experience = 30;
    G.Money = 1000;
    SetReputation(10);

    G.MixJob.HoursLeft = 0;
    G.RepDecayCount = 0;

    for (ItemState& s : G.ItemStates) {
        s.Stock = 0;
        s.Reserve = 0;
        s.Unlocked = 0;
        for (std::uint8_t& b : s.Sold) b = 0;
        for (std::uint32_t& v : s.Revenue) v = 0;
    }

    ClearCustomerMessages();
    for (std::uint32_t& v : G.Visitors) v = 0;

    for (int s = 0; s < kExhibitionSlots; ++s) {
        G.ExhibitionSlots[s] = InitialSlots[s];
        G.ExhibitionSlotsYesterday[s] = -1;
        G.ExhibitionSlotsEvening[s] = -1;
    }

    for (std::uint8_t id : InitialUnlocks) G.ItemStates[id].Unlocked = 1;

    for (int k = 34; k >= 0; --k) {
        const InitialStockEntry& e = InitialStock[k];
        SetItemStock(e.Item, e.A + e.B);
        SetItemReserve(e.Item, e.B);
    }

    for (int g = kGoodsCount - 1; g >= 0; --g)
        Fashions[g] = Fashion(FashionParams[g][0][G.Variant]);

    DatedDemandEvents();
    // BoostCountdown carries over from the previous game.
}

// --- accessors ---------------------------------------------------------------

void SetGameVariant(int v) { G.Variant = v; }
int GameVariant() { return G.Variant; }

void SetGameDay(int d) {
    G.Day = d;
    if (g_ClockHooks.RenewCalender) g_ClockHooks.RenewCalender();
}
int GameDay() { return G.Day; }

void SetGameHour(int h) {
    G.Hour = h;
    if (g_ClockHooks.RenewWatch) g_ClockHooks.RenewWatch();
}
int GameHour() { return G.Hour; }

void SetCondition(int c) { G.Condition = c; }
int GameCondition() { return G.Condition; }
void AddCondition(int n) { G.Condition = Clamp(G.Condition + n, 0, 2); }

void SetGameLevel(int l) { G.Level = l; }
int GameLevel() { return G.Level; }
void SetExperience(int x) { G.Experience = x; }
int GameExperience() { return G.Experience; }

int AddExperience(int n) {
    if (G.Level >= kMaxLevel) return -1;
    G.Experience += n;
    if (G.Experience < 100) return -1;
    G.Level += 1;  // one level per call, whatever n was
    if (G.Level == kMaxLevel)
        G.Experience = 0;
    else
        G.Experience -= 100;
    int item = LevelUnlocks[G.Level];
    UnlockItem(item);
    return item;
}

void SetMoney(int m) { G.Money = m; }
int GameMoney() { return G.Money; }
void AddMoney(int n) {
    // Summed in 64 bits: a huge loss stays negative instead of wrapping round.
    long long m = static_cast<long long>(G.Money) + n;
    if (m > kMoneyCap) m = kMoneyCap;
    if (m < INT32_MIN) m = INT32_MIN;
    G.Money = static_cast<std::int32_t>(m);
}

void SetReputation(int r) { G.Reputation = Clamp(r, 0, 100); }
void AddReputation(int n) { G.Reputation = Clamp(G.Reputation + n, 0, 100); }
int GameReputation() { return G.Reputation; }

void AddVisitor() {
    if (IsGameDay(G.Day)) G.Visitors[G.Day] += 1;
}
int DailyVisitors(int d) { return IsGameDay(d) ? static_cast<int>(G.Visitors[d]) : 0; }

void ClearCustomerMessages() {
    for (std::int32_t& m : G.CustomerMessages) m = -1;
}

void AddCustomerMessage(int id) {
    for (std::int32_t m : G.CustomerMessages)
        if (m == id) return;
    for (std::int32_t& m : G.CustomerMessages)
        if (m == -1) {
            m = id;
            return;
        }
}

int CustomerMessage(int i) { return G.CustomerMessages[i]; }

void UnlockItem(int i) { G.ItemStates[i].Unlocked = 1; }
void LockItem(int i) { G.ItemStates[i].Unlocked = 0; }
bool IsItemUnlocked(int i) { return G.ItemStates[i].Unlocked != 0; }

void ApplyKeyItemRules(int i) {
    // The necklace and its keepsake are two forms of the same thing: holding one removes
    // the other.
    if (i == item::MothersNecklace) {
        G.ItemStates[item::MothersNecklace].Stock = kKeyItemStock;
        UnlockItem(item::MothersNecklace);
        G.ItemStates[item::NecklaceKeepsake].Stock = 0;
        LockItem(item::NecklaceKeepsake);
    } else if (i == item::NecklaceKeepsake) {
        G.ItemStates[item::MothersNecklace].Stock = 0;
        LockItem(item::MothersNecklace);
        G.ItemStates[item::NecklaceKeepsake].Stock = 1;
        UnlockItem(item::NecklaceKeepsake);
    }
    if (i == item::HeipiFur || i == item::GoldenHoney || i == item::WaterSpiritStone)
        G.ItemStates[i].Stock = kKeyItemStock;
}

void ClampReserve(int i) {
    ItemState& s = G.ItemStates[i];
    if (s.Reserve > s.Stock) s.Reserve = s.Stock;
}

void SetItemStock(int i, int n) {
    G.ItemStates[i].Stock = static_cast<std::uint8_t>(n);
    if (n != 0) UnlockItem(i);
    ApplyKeyItemRules(i);
}

void AddItemStock(int i, int n) {
    ItemState& s = G.ItemStates[i];
    if (s.Stock < kKeyItemStock) {
        s.Stock = static_cast<std::uint8_t>(Clamp(s.Stock + n, 0, 99));
        if (s.Stock != 0) UnlockItem(i);
        ClampReserve(i);
    }
    ApplyKeyItemRules(i);
}

void RemoveItemStock(int i, int n) {
    ItemState& s = G.ItemStates[i];
    if (s.Stock >= kKeyItemStock) return;  // a key item is never used up
    // The reserve is taken first, then the stock, which never goes below 0.
    s.Reserve = n < s.Reserve ? static_cast<std::uint8_t>(s.Reserve - n) : 0;
    s.Stock = static_cast<std::uint8_t>(n < s.Stock ? s.Stock - n : 0);
    ClampReserve(i);
}

int ItemStock(int i) { return G.ItemStates[i].Stock; }
void SetItemReserve(int i, int n) { G.ItemStates[i].Reserve = static_cast<std::uint8_t>(n); }
int ItemReserve(int i) { return G.ItemStates[i].Reserve; }
int ItemAvailable(int i) { return G.ItemStates[i].Stock - G.ItemStates[i].Reserve; }

void IncreaseReserve(int i) {
    ItemState& s = G.ItemStates[i];
    if (s.Reserve < s.Stock) s.Reserve += 1;
}

void DecreaseReserve(int i) {
    ItemState& s = G.ItemStates[i];
    if (s.Reserve > 0) s.Reserve -= 1;
}

int StockTier(int i) {
    int a = ItemAvailable(i);
    if (a <= 0) return 0;
    if (a == 1) return 1;
    if (a <= 3) return 2;
    if (a <= 5) return 3;
    return 4;
}

void AddDailySoldCount(int i, int d, int n) {
    if (IsGameDay(d))
        G.ItemStates[i].Sold[d] = static_cast<std::uint8_t>(G.ItemStates[i].Sold[d] + n);
}
int DailySoldCount(int i, int d) { return IsGameDay(d) ? G.ItemStates[i].Sold[d] : 0; }

void AddDailyRevenue(int i, int d, int n) {
    if (IsGameDay(d)) G.ItemStates[i].Revenue[d] += static_cast<std::uint32_t>(n);
}
int DailyRevenue(int i, int d) {
    return IsGameDay(d) ? static_cast<int>(G.ItemStates[i].Revenue[d]) : 0;
}

int SalePrice(int slot, int i) {
    int price = ItemBasePrice(i);
    if (slot == 0) return price / 2;
    if (slot == 1) return price * 3 / 4;
    return price;
}

void SetBookItemState(int i, int v) { BookItemState[i] = static_cast<std::uint8_t>(v); }
int ReadBookItemState(int i) { return BookItemState[i]; }
bool IsEverUnlocked(int i) { return EverUnlocked[i] != 0; }

void SetSlotItem(int s, int i) { G.ExhibitionSlots[s] = static_cast<std::int8_t>(i); }
int SlotItem(int s) { return G.ExhibitionSlots[s]; }
int ItemSlot(int i) {
    for (int s = kExhibitionSlots - 1; s >= 0; --s)
        if (G.ExhibitionSlots[s] == i) return s;
    return -1;
}
int YesterdaySlotItem(int s) { return G.ExhibitionSlotsYesterday[s]; }
int EveningSlotItem(int s) { return G.ExhibitionSlotsEvening[s]; }

int RepDecayCount() { return G.RepDecayCount; }
void SetRepDecayCount(int n) { G.RepDecayCount = static_cast<std::uint8_t>(n); }
int BoostCountdown() { return G.BoostCountdown; }
void SetBoostCountdown(int n) { G.BoostCountdown = static_cast<std::uint8_t>(n); }

std::string IntToText(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", n);
    return buf;
}
