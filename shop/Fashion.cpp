#include "shop/Fashion.h"

#include <cstring>
#include <utility>

#include "platform/Files.h"
#include "shop/GameState.h"

// --- the parameter table -----------------------------------------------------
//
// Each goods has a character: how fast a want for it spreads and how long it
// lasts, how hard the town turns away from it once it is tired of it, and how
// it follows the seasons. Fashion goods (perfumes, sweets, charms) spread fast
// and meet a strong backlash (immunity 40% for 12 days); everyday goods and
// medicines spread steadily with a milder backlash (30% for 10 days). The
// seasons lift and lower the spread rate and the life of a want month by month.
// The two variants are two kinds of year: in variant 1 the seasons come one
// month late and the town is calmer about fashion goods (their spread rate is
// 2 lower). Every value stays within rate 20..40, life 2..6.

namespace {

enum Season : std::uint8_t { Steady, Cold, Hot, Bloom, Harvest, Sick, Festive };

struct SeasonCurve {
    std::int8_t Rate[12];  // months 1..12
    std::int8_t Life[12];
};

constexpr SeasonCurve kSeasonCurves[] = {
    // Steady: the same all year.
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    // Cold: warming goods, wanted from autumn to the end of winter.
    {{6, 6, 2, -2, -4, -6, -6, -6, -2, 2, 4, 6}, {1, 1, 0, 0, 0, -1, -1, -1, 0, 0, 1, 1}},
    // Hot: cooling and summer goods.
    {{-6, -6, -4, -2, 2, 6, 6, 6, 2, -2, -4, -6}, {-1, -1, 0, 0, 0, 1, 1, 1, 0, 0, 0, -1}},
    // Bloom: flowers, scents and romance, strongest in spring.
    {{-2, 0, 4, 6, 6, 2, 0, -2, -2, -4, -4, -2}, {0, 0, 1, 1, 1, 0, 0, 0, 0, -1, -1, 0}},
    // Harvest: autumn's goods, memories and the earth.
    {{-2, -2, -4, -2, -2, 0, 2, 4, 6, 6, 4, 0}, {0, 0, -1, 0, 0, 0, 0, 1, 1, 1, 0, 0}},
    // Sick: remedies for the cold season's colds.
    {{6, 6, 4, 0, -2, -4, -4, -2, 0, 2, 4, 6}, {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
    // Festive: gifts for the new year, the sweets' day of month 2, the year's end.
    {{2, 6, 0, 0, 0, -2, -2, 0, 0, 0, 2, 6}, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
};

struct GoodsCharacter {
    std::uint8_t Rate;  // base want rate
    std::uint8_t Life;  // base want life
    bool Fashionable;   // strong backlash; calmer in variant 1
    Season Curve;
};

constexpr GoodsCharacter kGoods[kGoodsCount] = {
    {36, 5, true, Steady},    //  0 vitality scent bottle: the town's favourite
    {34, 5, true, Bloom},     //  1 fresh scent bottle
    {32, 5, true, Bloom},     //  2 Florre scent bottle
    {30, 4, true, Steady},    //  3 vitality perfume
    {30, 4, true, Bloom},     //  4 fresh perfume
    {28, 4, true, Bloom},     //  5 Florre perfume
    {26, 4, true, Festive},   //  6 charm perfume
    {30, 4, false, Cold},     //  7 comfort bath
    {30, 4, false, Bloom},    //  8 flower bath
    {28, 4, false, Hot},      //  9 cool bath
    {32, 4, false, Hot},      // 10 flowing shampoo
    {32, 4, false, Steady},   // 11 herb shampoo
    {30, 4, false, Steady},   // 12 black cat juice
    {28, 5, false, Harvest},  // 13 black cat broom: autumn leaves
    {26, 5, true, Festive},   // 14 black cat brooch
    {26, 5, true, Steady},    // 15 black cat wand
    {34, 3, false, Sick},     // 16 black cat throat drops
    {32, 3, true, Festive},   // 17 fortune gummies
    {36, 3, true, Festive},   // 18 charm chocolate
    {30, 3, true, Steady},    // 19 Tila gummies
    {34, 4, false, Cold},     // 20 magic hand warmer
    {34, 4, false, Hot},      // 21 magic coolant
    {24, 6, true, Festive},   // 22 longing stone
    {24, 6, true, Festive},   // 23 wishing stone
    {22, 6, false, Steady},   // 24 light stone
    {24, 6, false, Cold},     // 25 fire stone
    {24, 6, false, Hot},      // 26 water stone
    {26, 5, false, Harvest},  // 27 wind stone
    {24, 6, false, Harvest},  // 28 earth stone
    {22, 6, false, Steady},   // 29 dark stone
    {22, 5, false, Steady},   // 30 gravity crystal
    {32, 4, false, Sick},     // 31 recovery spell
    {30, 4, false, Bloom},    // 32 freshness spell
    {38, 5, true, Cold},      // 33 warm-room spell
    {24, 4, false, Cold},     // 34 blaze spell
    {38, 5, true, Hot},       // 35 cool-room spell
    {24, 4, false, Hot},      // 36 freezing spell
    {30, 4, false, Steady},   // 37 haste spell
    {26, 4, false, Cold},     // 38 flame spell
    {26, 4, false, Steady},   // 39 rock shield spell
    {24, 4, false, Hot},      // 40 reflection spell
    {28, 5, true, Bloom},     // 41 love potion
    {26, 5, true, Festive},   // 42 happiness potion
    {20, 6, false, Steady},   // 43 holy light spell
    {22, 6, false, Sick},     // 44 panacea
    {26, 4, false, Steady},   // 45 lullaby
    {28, 4, true, Hot},       // 46 night wind's invitation: summer nights
    {24, 5, true, Festive},   // 47 angel wings
    {28, 4, true, Steady},    // 48 courage potion
    {28, 4, true, Bloom},     // 49 infatuation potion
    {26, 5, false, Harvest},  // 50 memory potion
    {30, 4, true, Steady},    // 51 smile potion
    {26, 4, true, Hot},       // 52 floating potion
    {28, 4, false, Steady},   // 53 reconciliation potion
    {20, 6, false, Harvest},  // 54 soul of the underworld
    {22, 5, false, Steady},   // 55 secret remedy
    {30, 3, true, Festive},   // 56 bewitching potion
    {26, 4, true, Bloom},     // 57 strange scent potion
    {32, 4, false, Sick},     // 58 vitamin potion
    {34, 4, false, Sick},     // 59 convalescence potion
    {30, 4, false, Sick},     // 60 children's convalescence potion
    {28, 4, true, Bloom},     // 61 dancing potion
    {22, 5, false, Sick},     // 62 healing potion
    {30, 3, false, Steady},   // 63 glacier pebbles
};

constexpr int ClampTo(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

constexpr FashionParamTable BuildFashionParams() {
    FashionParamTable t{};
    for (int g = 0; g < kGoodsCount; ++g) {
        const GoodsCharacter& c = kGoods[g];
        const SeasonCurve& curve = kSeasonCurves[c.Curve];
        for (int m = 0; m < 12; ++m)
            for (int v = 0; v < 2; ++v) {
                int sm = v == 0 ? m : (m + 11) % 12;  // variant 1: the seasons a month late
                int rate = c.Rate + curve.Rate[sm] - (v == 1 && c.Fashionable ? 2 : 0);
                int life = c.Life + curve.Life[sm];
                t[g][m][v] = FashionParamSet{static_cast<std::uint8_t>(ClampTo(rate, 20, 40)),
                                             static_cast<std::uint8_t>(ClampTo(life, 2, 6)),
                                             static_cast<std::uint8_t>(c.Fashionable ? 40 : 30), 4,
                                             static_cast<std::uint8_t>(c.Fashionable ? 12 : 10)};
            }
    }
    return t;
}

}  // namespace

const FashionParamTable FashionParams = BuildFashionParams();

static_assert(sizeof(FashionParamSet) == 5);

// --- calendar seeds and boosts -----------------------------------------------

namespace {
constexpr DemandSeed kNewYear0[] = {{0, 15}, {59, 10}, {33, 10}, {255, 0}};
constexpr DemandSeed kNewYear1[] = {{0, 20}, {33, 5}, {255, 0}};
constexpr DemandSeed kSweetsDay[] = {{18, 20}, {255, 0}};
constexpr DemandSeed kMonth3a[] = {{31, 5}, {2, 5}, {255, 0}};
constexpr DemandSeed kMonth3b[] = {{0, 15}, {33, 10}, {255, 0}};
constexpr DemandSeed kMonth6a[] = {{35, 5}, {255, 0}};
constexpr DemandSeed kMonth6b[] = {{59, 5}, {33, 5}, {255, 0}};
constexpr DemandSeed kMonth9a[] = {{6, 10}, {27, 10}, {255, 0}};
constexpr DemandSeed kMonth9b[] = {{59, 5}, {31, 5}, {255, 0}};
constexpr DemandSeed kMonth10a[] = {{0, 5}, {33, 10}, {255, 0}};
constexpr DemandSeed kMonth10b[] = {{5, 5}, {33, 2}, {255, 0}};
}  // namespace

const DatedDemand DatedDemandTable[] = {
    {1, 1, 0, 0, kNewYear0},   {1, 1, 1, 0, kNewYear1},   {2, 1, 2, 0, kSweetsDay},
    {3, 1, 0, 0, kMonth3a},    {3, 1, 1, 0, kMonth3b},    {6, 1, 0, 0, kMonth6a},
    {6, 1, 1, 0, kMonth6b},    {9, 1, 0, 0, kMonth9a},    {9, 1, 1, 0, kMonth9b},
    {10, 12, 0, 0, kMonth10a}, {10, 12, 1, 0, kMonth10b}, {255, 0, 0, 0, nullptr},
};

const std::uint8_t BoostCandidates[13] = {0, 1, 2, 10, 11, 12, 13, 14, 15, 16, 17, 31, 37};

Fashion Fashions[kGoodsCount];

// --- Fashion -----------------------------------------------------------------

Fashion::Fashion(const FashionParamSet& p)
    : Fashion(p.WantRate, p.WantLife, p.ImmuneRate, p.ImmuneLife, p.ImmunePeriod) {}

Fashion::Fashion(std::uint32_t wantRate, std::uint32_t wantLife, std::uint32_t immuneRate,
                 std::uint32_t immuneLife, std::uint32_t immunePeriod) {
    SetParams(wantRate, wantLife, immuneRate, immuneLife, immunePeriod);
}

void Fashion::SetParams(const FashionParamSet& p) {
    SetParams(p.WantRate, p.WantLife, p.ImmuneRate, p.ImmuneLife, p.ImmunePeriod);
}

void Fashion::SetParams(std::uint32_t wantRate, std::uint32_t wantLife, std::uint32_t immuneRate,
                        std::uint32_t immuneLife, std::uint32_t immunePeriod) {
    m_WantRate = wantRate;
    m_WantLife = wantLife;
    m_ImmuneRate = immuneRate;
    m_ImmuneLife = immuneLife;
    m_ImmunePeriod = immunePeriod;
}

void Fashion::SeedWant() {
    int cell = DrawRandom() & 63;
    State[cell] = 1;
    Life[cell] = static_cast<std::uint8_t>(m_WantLife);
}

void Fashion::SeedImmune() {
    int cell = DrawRandom() & 63;
    State[cell] = 2;
    Life[cell] = static_cast<std::uint8_t>(m_ImmuneLife);
    m_ImmuneTimer = m_ImmunePeriod;
}

int Fashion::Popularity() const {
    int n = 0;
    for (std::int8_t s : State) n += s == 1;
    return n;
}

int Fashion::HistoryOf(int day) const {
    return IsGameDay(day) ? static_cast<std::int8_t>(History[day]) : 0;
}

void Fashion::SetCell(int cell, int state, int life) {
    State[cell] = static_cast<std::int8_t>(state);
    Life[cell] = static_cast<std::uint8_t>(life);
}

// Wanting spreads only into empty cells, immunity into empty and wanting cells.
// Neighbours wrap round the 8x8 torus.
void Fashion::Spread(int cell, int s) {
    int c = cell % 8, r = cell / 8;
    int dir = DrawRandom() & 3;
    std::uint32_t rate = s == 1 ? m_WantRate : m_ImmuneRate;
    if (static_cast<std::uint32_t>(DrawRandom() % 100) >= rate) return;
    for (int tries = 0; tries < 4; ++tries) {
        int nr = r, nc = c;
        switch (dir) {
            case 0:
                nr = (r + 1) & 7;
                break;
            case 1:
                nc = (c + 1) & 7;
                break;
            case 2:
                nr = (r + 7) & 7;
                break;
            default:
                nc = (c + 7) & 7;
                break;
        }
        int n = nr * 8 + nc;
        if (State[n] < s) {
            State[n] = static_cast<std::int8_t>(s);
            Life[n] = static_cast<std::uint8_t>(s == 1 ? m_WantLife : m_ImmuneLife);
            return;
        }
        dir = (dir + 1) & 3;
    }
}

void Fashion::DailyUpdate() {
    int day = GameDay();
    if (IsGameDay(day)) History[day] = static_cast<std::uint8_t>(History[day] + Popularity());

    if (m_ImmuneTimer > 0 && --m_ImmuneTimer == 0)
        for (std::int8_t& s : State)
            if (s == 2) s = 0;

    std::int8_t snapshot[kFashionCells];
    for (int i = 0; i < kFashionCells; ++i) {
        if (State[i] != 0 && --Life[i] == 0) State[i] = 0;
        snapshot[i] = State[i];
    }

    // Only cells that were live before this step spread: today's new cells wait.
    for (int i = kFashionCells - 1; i >= 0; --i) {
        if (snapshot[i] == 1)
            Spread(i, 1);
        else if (snapshot[i] == 2)
            Spread(i, 2);
    }
}

void Fashion::SaveRecord(std::uint8_t* out) const {
    for (int i = 0; i < kFashionCells; ++i) out[i] = static_cast<std::uint8_t>(State[i]);
    std::memcpy(out + 64, Life, 64);
    std::memcpy(out + 128, History, 288);
    out[416] = 0;
    ui::StoreU32(out + 417, m_WantRate);
    ui::StoreU32(out + 421, m_WantLife);
    ui::StoreU32(out + 425, m_ImmuneRate);
    ui::StoreU32(out + 429, m_ImmuneLife);
    ui::StoreU32(out + 433, m_ImmunePeriod);
    ui::StoreU32(out + 437, m_ImmuneTimer);
}

bool Fashion::CheckRecord(const std::uint8_t* in) {
    for (int i = 0; i < kFashionCells; ++i) {
        if (in[i] > 2) return false;
        if (in[i] != 0 && in[64 + i] == 0) return false;  // a live cell that could never die
    }
    // Rates are percentages; lives, the immunity period and its timer count days in
    // the byte a cell's life is kept in. A new cell's life is at least a day: with 0, a
    // sale after loading would seed a cell that could never die, and the game's next
    // save would be one this check refuses.
    if (ui::LoadU32(in + 417) > 100 || ui::LoadU32(in + 425) > 100) return false;
    for (std::size_t at : {421u, 429u})
        if (ui::LoadU32(in + at) == 0) return false;
    for (std::size_t at : {421u, 429u, 433u, 437u})
        if (ui::LoadU32(in + at) > 255) return false;
    return true;
}

bool Fashion::LoadRecord(const std::uint8_t* in) {
    if (!CheckRecord(in)) return false;
    for (int i = 0; i < kFashionCells; ++i) State[i] = static_cast<std::int8_t>(in[i]);
    std::memcpy(Life, in + 64, 64);
    std::memcpy(History, in + 128, 288);
    m_WantRate = ui::LoadU32(in + 417);
    m_WantLife = ui::LoadU32(in + 421);
    m_ImmuneRate = ui::LoadU32(in + 425);
    m_ImmuneLife = ui::LoadU32(in + 429);
    m_ImmunePeriod = ui::LoadU32(in + 433);
    m_ImmuneTimer = ui::LoadU32(in + 437);
    return true;
}

// --- functions over all goods ------------------------------------------------

void MonthlyFashionReset() {
    int month = MonthOfDay(GameDay());  // a clock past the last day wraps round the year
    int variant = GameVariant() & 1;
    for (int g = 0; g < kGoodsCount; ++g) Fashions[g].SetParams(FashionParams[g][month][variant]);
}

void DatedDemandEvents() {
    int day = GameDay();
    int variant = GameVariant();
    for (const DatedDemand* d = DatedDemandTable; d->Month != 255; ++d) {
        if (d->Month * kDaysPerMonth + d->DayOfMonth - 25 != day) continue;
        if (d->Variant != 2 && d->Variant != variant) continue;
        for (const DemandSeed* s = d->Seeds; s->Goods != 255; ++s)
            for (int k = 0; k < s->Count; ++k) Fashions[s->Goods].SeedWant();
    }
}

void RandomDemandBoost() {
    int countdown = BoostCountdown();
    if (countdown != 0) {
        SetBoostCountdown(countdown - 1);
        return;
    }
    int g = BoostCandidates[DrawRandom() % 13];
    if (IsItemUnlocked(g)) {
        SeedDemand(g, 30);
        SetBoostCountdown(DrawRandom() % 20 + 10);
    } else {
        SetBoostCountdown(DrawRandom() % 20);
    }
}

void TopFashionTrends(int& first, int& second, int& third) {
    int id[kGoodsCount], pop[kGoodsCount];
    for (int g = 0; g < kGoodsCount; ++g) {
        id[g] = g;
        pop[g] = Fashions[g].Popularity();
    }
    for (int i = 0; i < kGoodsCount - 1; ++i)
        for (int k = i + 1; k < kGoodsCount; ++k)
            if (pop[i] < pop[k]) {
                std::swap(id[i], id[k]);
                std::swap(pop[i], pop[k]);
            }
    first = pop[0] > 10 ? id[0] : -1;
    second = pop[1] > 10 ? id[1] : -1;
    third = pop[2] > 10 ? id[2] : -1;
}

void SeedDemand(int g, int n) {
    for (int k = 0; k < n; ++k) Fashions[g].SeedWant();
}

void DailyUpdateAllFashions() {
    for (int g = kGoodsCount - 1; g >= 0; --g) Fashions[g].DailyUpdate();
}
