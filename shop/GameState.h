#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "shop/Catalog.h"

// All state of one game: one block of static data, saved and loaded whole.
// The layout below is the byte image of the block (little-endian, the offsets
// of the slot file); padding and reserved bytes are members so that they travel
// unchanged from file to file. Other units reach the state only through the
// accessor functions further down.

constexpr int kGameDays = 288;  // 12 months of 24 days
constexpr int kDaysPerMonth = 24;
constexpr int kDaysPerWeek = 6;  // weekday 5 is the rest day
constexpr int kExhibitionSlots = 10;
constexpr int kMarketOffers = 5;
constexpr int kCustomerMessages = 3;
constexpr std::int32_t kMoneyCap = 9999999;
constexpr int kMaxLevel = 20;
constexpr std::uint8_t kKeyItemStock = 255;  // shown as unlimited, never used up

struct ItemState {                     // 1448 bytes
    std::uint8_t Stock;                //    0: 0..99, 255 = key item
    std::uint8_t Reserve;              //    1: set aside by the player, never above Stock
    std::uint8_t Sold[kGameDays];      //    2: units sold per day
    std::uint8_t Pad0[2];              //  290
    std::uint32_t Revenue[kGameDays];  //  292: money taken per day
    std::uint8_t Unlocked;             // 1444: the item is known
    std::uint8_t Pad1[3];              // 1445
};

struct MarketOffer {
    std::uint8_t Item;
    std::uint8_t Quantity;
};

struct MixJobState {
    std::uint8_t Item;       // goods id
    std::uint8_t Batches;    // 1..4, ten units each
    std::uint8_t Yield;      // units the job makes before the condition rule
    std::uint8_t HoursLeft;  // 0 = no job
};

struct GameState {                                     // 156308 bytes
    std::int32_t Variant;                              //      0: column of the demand tables
    std::int32_t Day;                                  //      4: 0..287
    std::int32_t Hour;                                 //      8: 0..23
    std::int32_t Condition;                            //     12: 0 healthy, 1 sleepy, 2 exhausted
    std::int32_t Level;                                //     16: 1..20
    std::int32_t Experience;                           //     20: 0..99
    std::int32_t Money;                                //     24: at most 9,999,999
    std::int32_t Reputation;                           //     28: 0..100
    std::int32_t CustomerMessages[kCustomerMessages];  //     32: -1 = empty
    std::uint32_t Visitors[kGameDays];                 //     44
    MarketOffer MarketOffers[kMarketOffers];           //   1196
    std::uint8_t MarketPad[2];                         //   1206
    ItemState ItemStates[kItemCount];                  //   1208
    std::int8_t ExhibitionSlots[kExhibitionSlots];     // 156144: item id, -1 = empty
    std::int8_t ExhibitionSlotsYesterday[kExhibitionSlots];  // 156154: evening copy, taken at 00:00
    std::int8_t ExhibitionSlotsEvening[kExhibitionSlots];    // 156164: taken at 19:00
    std::uint8_t RepDecayCount;                              // 156174
    std::uint8_t BoostCountdown;                             // 156175
    MixJobState MixJob;                                      // 156176
    std::uint8_t Reserved[128];                              // 156180: never read or written
};

constexpr std::size_t kItemStateSize = 1448;
constexpr std::size_t kGameStateSize = 156308;

// The one game. Reach it through the accessors; the save files and the tests
// use the byte image functions below.
extern GameState g_GameState;

// Outside the game block: items unlocked in any game (kept in the system file)
// and the recipe book's per-item display state.
extern std::uint8_t EverUnlocked[kItemCount];
extern std::uint8_t BookItemState[kItemCount];

// Byte image of the game block, little-endian at the stated offsets, padding and
// reserved bytes included. `out`/`in` hold kGameStateSize bytes. Reading checks
// nothing: the save loader validates the image before it hands it over.
void WriteGameStateImage(std::uint8_t* out);
void ReadGameStateImage(const std::uint8_t* in);

// A new game (also run once when the program starts).
void InitGameState();

// --- accessors (ids are not range-checked; callers pass valid ids) ---------

void SetGameVariant(int v);
int GameVariant();
void SetGameDay(int d);  // then the calendar window redraws
int GameDay();
void SetGameHour(int h);  // then the clock window redraws
int GameHour();

void SetCondition(int c);
int GameCondition();
void AddCondition(int n);  // clamped to 0..2

void SetGameLevel(int l);
int GameLevel();
void SetExperience(int x);
int GameExperience();
int AddExperience(int n);  // the item unlocked by a level-up, or -1

void SetMoney(int m);
int GameMoney();
void AddMoney(int n);  // capped at 9,999,999 above; no lower bound

void SetReputation(int r);  // clamped to 0..100
void AddReputation(int n);  // clamped to 0..100
int GameReputation();

void AddVisitor();  // today's visitors + 1
int DailyVisitors(int d);

void ClearCustomerMessages();
void AddCustomerMessage(int id);  // distinct ids only, at most three
int CustomerMessage(int i);       // -1 = empty

void UnlockItem(int i);
void LockItem(int i);
bool IsItemUnlocked(int i);

void SetItemStock(int i, int n);
void AddItemStock(int i, int n);
void RemoveItemStock(int i, int n);
int ItemStock(int i);
void SetItemReserve(int i, int n);
int ItemReserve(int i);
int ItemAvailable(int i);  // Stock - Reserve: units that can be sold
void IncreaseReserve(int i);
void DecreaseReserve(int i);
int StockTier(int i);  // 0..4, display tier of ItemAvailable
void ApplyKeyItemRules(int i);
void ClampReserve(int i);

// Day-indexed records; a day outside 0..287 reads 0 and is never written.
void AddDailySoldCount(int i, int d, int n);
int DailySoldCount(int i, int d);
void AddDailyRevenue(int i, int d, int n);
int DailyRevenue(int i, int d);

int SalePrice(int slot, int i);  // slot 0 half price, slot 1 three quarters

void SetBookItemState(int i, int v);
int ReadBookItemState(int i);
bool IsEverUnlocked(int i);

void SetSlotItem(int s, int i);
int SlotItem(int s);  // -1 = empty
int ItemSlot(int i);  // highest slot showing item i, -1 if none
int YesterdaySlotItem(int s);
int EveningSlotItem(int s);

int RepDecayCount();
void SetRepDecayCount(int n);
int BoostCountdown();
void SetBoostCountdown(int n);

std::string IntToText(int n);  // "%d"

// Calendar rules shared by the clock, the shop screen and the demand table.
inline int MonthOfDay(int d) { return ((d / kDaysPerMonth) % 12 + 12) % 12; }
inline bool IsRestDay(int d) { return d % kDaysPerWeek == 5; }
// The shop opens in hours 10..18, never on a rest day nor on day 48.
inline bool IsShopOpenTime(int d, int h) { return !IsRestDay(d) && d != 48 && h >= 10 && h < 19; }
// True for a day that indexes the per-day records.
inline bool IsGameDay(int d) { return d >= 0 && d < kGameDays; }

// The random draws of the game rules. They come from the runtime generator
// (ui::Rand); a test may put a scripted source in its place.
int DrawRandom();
void SetRandomSource(int (*source)());  // null = the runtime generator

// The clock (AdvanceHour, AdvanceDay, AdvanceToMorning) is in shop/Calendar.h,
// the market accessors in shop/Market.h, the mixing job in shop/Mixing.h.
