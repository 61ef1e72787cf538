#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "shop/Catalog.h"

// The demand model: what the town wants of each goods is an epidemic on an 8x8
// torus of cells. A cell wants the goods, is immune to it, or neither; wanting
// and immunity spread once a day and die out after their lifetimes. The number
// of wanting cells is the goods' popularity.

// One entry of the parameter table: 5 bytes.
struct FashionParamSet {
    std::uint8_t WantRate;      // percent chance that a wanting cell spreads in a day
    std::uint8_t WantLife;      // life of a newly wanting cell
    std::uint8_t ImmuneRate;    // percent chance that an immune cell spreads in a day
    std::uint8_t ImmuneLife;    // life of a newly immune cell
    std::uint8_t ImmunePeriod;  // days immunity lasts after an immune seed
};

// Indexed [goods][month][variant].
using FashionParamTable = std::array<std::array<std::array<FashionParamSet, 2>, 12>, kGoodsCount>;
extern const FashionParamTable FashionParams;

constexpr int kFashionCells = 64;
constexpr std::size_t kFashionRecordSize = 441;

class Fashion {
public:
    Fashion() = default;  // all zero: an object that has never been set up
    explicit Fashion(const FashionParamSet& p);
    Fashion(std::uint32_t wantRate, std::uint32_t wantLife, std::uint32_t immuneRate,
            std::uint32_t immuneLife, std::uint32_t immunePeriod);

    // New parameters; cells, history and timer unchanged.
    void SetParams(const FashionParamSet& p);
    void SetParams(std::uint32_t wantRate, std::uint32_t wantLife, std::uint32_t immuneRate,
                   std::uint32_t immuneLife, std::uint32_t immunePeriod);

    void SeedWant();         // a random cell wants, whatever it held
    void SeedImmune();       // a random cell is immune; the immunity period restarts
    void DailyUpdate();      // at 19:00: history, timer, lives, then spreading
    int Popularity() const;  // wanting cells, 0..64

    int CellState(int cell) const { return State[cell]; }
    int CellLife(int cell) const { return Life[cell]; }
    int HistoryOf(int day) const;  // a signed byte; 0 for a day outside 0..287
    std::uint32_t WantRate() const { return m_WantRate; }
    std::uint32_t WantLife() const { return m_WantLife; }
    std::uint32_t ImmuneRate() const { return m_ImmuneRate; }
    std::uint32_t ImmuneLife() const { return m_ImmuneLife; }
    std::uint32_t ImmunePeriod() const { return m_ImmunePeriod; }
    std::uint32_t ImmuneTimer() const { return m_ImmuneTimer; }

    // The 441-byte saved record: State, Life, History, one 0 byte, then the five
    // parameters and the immunity timer as u32 little-endian.
    void SaveRecord(std::uint8_t* out) const;
    // False, and the object unchanged, for a record the game could not have
    // written: a state outside 0..2, or a life of 0 on a live cell.
    [[nodiscard]] bool LoadRecord(const std::uint8_t* in);
    [[nodiscard]] static bool CheckRecord(const std::uint8_t* in);

    // For tests and the developer panel: set one cell directly.
    void SetCell(int cell, int state, int life);

private:
    void Spread(int cell, int s);

    std::int8_t State[kFashionCells] = {};
    std::uint8_t Life[kFashionCells] = {};
    std::uint8_t History[288] = {};
    std::uint32_t m_WantRate = 0;
    std::uint32_t m_WantLife = 0;
    std::uint32_t m_ImmuneRate = 0;
    std::uint32_t m_ImmuneLife = 0;
    std::uint32_t m_ImmunePeriod = 0;
    std::uint32_t m_ImmuneTimer = 0;
};

extern Fashion Fashions[kGoodsCount];

// Calendar seeds: on the day index month * 24 + day - 25, for the variant given
// (2 = both), each listed goods gets that many want seeds.
struct DemandSeed {
    std::uint8_t Goods;  // 255 ends a list
    std::uint8_t Count;
};
struct DatedDemand {
    std::uint8_t Month;       // 1..12; 255 ends the table
    std::uint8_t DayOfMonth;  // 1..24
    std::uint8_t Variant;     // 0, 1, or 2 = both
    std::uint8_t Zero;
    const DemandSeed* Seeds;
};
extern const DatedDemand DatedDemandTable[];
extern const std::uint8_t BoostCandidates[13];

// Every goods takes this month's parameters (month = day / 24, this variant).
void MonthlyFashionReset();
// Today's calendar seeds.
void DatedDemandEvents();
// Every day change: after a countdown, a random boost of a known goods.
void RandomDemandBoost();
// The three goods ids with the highest popularity, each -1 when its popularity
// is 10 or less. Changes nothing.
void TopFashionTrends(int& first, int& second, int& third);
// Goods g gets n want seeds.
void SeedDemand(int g, int n);
// The daily update of every goods, 63 down to 0 (the evening settlement's last
// step but one).
void DailyUpdateAllFashions();
