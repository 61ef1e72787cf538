// The event server's time, place, stats and items primitives, and the two fallbacks
// of the command menu (the default search and peddling) with the canned scenes they
// and the clock need: the tired scene and the new-recipe scene.
#include <cstring>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Clock.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/Calendar.h"
#include "shop/Catalog.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Srcdbtxtform21.h"

TEventServerDbg::PrimitiveHooks TEventServerDbg::Hooks;

namespace {

constexpr int kDandelion = 67;
constexpr int kRestWeekday = 5;
constexpr int kHolidayDay = 48;
constexpr int kPeddleMaxPrice = 1000;
constexpr int kFinds = 4;

// The hour at which the heroine must go home, by her condition (healthy, sleepy,
// exhausted).
constexpr int kTiredHour[3] = {6, 3, 0};

struct SearchFind {
    std::int32_t Item;
    std::int32_t Chance;  // percent
    std::int32_t Level;   // lowest level that finds it
    std::int32_t Band;    // 0 any hour, 1 not from 19:00, 2 not in 8..18
};

constexpr int kSearchPlaces = 11;
constexpr int kSearchRecords = 8;
constexpr SearchFind D{kDandelion, 10, 1, 0};  // the spare records of a place

// What searching finds, by place (place & 31), eight records a place: even hours look
// at records 0, 2, 4, 6 and odd hours at 1, 3, 5, 7.
constexpr SearchFind SearchFinds[kSearchPlaces * kSearchRecords] = {
    // 0
    {67, 10, 1, 0},
    {64, 40, 1, 0},
    {79, 30, 1, 0},
    {75, 20, 1, 0},
    {78, 30, 1, 0},
    {76, 20, 4, 0},
    {81, 30, 1, 0},
    {71, 40, 1, 0},
    // 1
    {67, 10, 1, 0},
    {64, 40, 1, 0},
    {75, 30, 1, 0},
    {78, 30, 1, 0},
    {71, 30, 2, 0},
    {79, 30, 1, 0},
    {80, 20, 2, 0},
    {67, 10, 1, 0},
    // 2
    {64, 10, 1, 0},
    {69, 30, 1, 0},
    {72, 20, 1, 2},
    {75, 30, 2, 0},
    {71, 30, 2, 0},
    {73, 10, 1, 0},
    D,
    D,
    // 3
    {89, 50, 1, 0},
    {94, 30, 1, 0},
    {79, 20, 1, 0},
    {96, 40, 4, 0},
    {78, 50, 8, 0},
    {81, 60, 1, 0},
    D,
    D,
    // 4
    {68, 40, 1, 0},
    {97, 20, 1, 0},
    {87, 10, 3, 0},
    {89, 20, 4, 0},
    {94, 40, 12, 2},
    D,
    D,
    D,
    // 5
    {68, 20, 1, 0},
    {97, 40, 1, 0},
    {87, 50, 1, 0},
    {94, 50, 12, 2},
    {89, 10, 4, 0},
    D,
    D,
    D,
    // 6
    {66, 30, 1, 0},
    {65, 40, 1, 0},
    {83, 30, 1, 0},
    {84, 50, 1, 0},
    {64, 50, 14, 0},
    {94, 50, 20, 2},
    D,
    D,
    // 7
    {85, 40, 1, 0},
    {64, 20, 1, 0},
    {69, 10, 1, 0},
    {72, 40, 4, 2},
    {71, 30, 2, 0},
    D,
    D,
    D,
    // 8
    {67, 10, 1, 0},
    {95, 30, 1, 0},
    {90, 30, 1, 0},
    {94, 10, 17, 2},
    D,
    D,
    D,
    D,
    // 9
    {86, 40, 1, 0},
    {81, 20, 1, 0},
    {97, 10, 4, 0},
    {87, 10, 4, 0},
    D,
    D,
    D,
    D,
    // 10
    {77, 10, 1, 0},
    {75, 20, 1, 0},
    {76, 20, 1, 0},
    {71, 10, 1, 0},
    {78, 10, 1, 0},
    {79, 10, 1, 0},
    {71, 40, 1, 0},
    {67, 10, 1, 0},
};

bool IsShopRoom(int place) {
    return place == place::ShopInside || place == place::MixingRoom || place == place::HomeRooms;
}
bool IsItem(int item) { return item >= 0 && item < kItemCount; }
int CurrentPlace() { return GameFlow ? GameFlow->Place : place::ShopInside; }

// An item's name as a Big5 string (the name field is 21 bytes, NUL-padded).
std::string NameOf(int item) {
    const char* name = ItemName(item);
    return std::string(name, strnlen(name, 21));
}

// After an hour has passed outside: the evening and night pictures of the place.
void ShowEveningPicture(TEventServerDbg& server) {
    const int hour = GameHour();
    if (hour >= 17 && hour <= 19) server.ShowPlaceGr(CurrentPlace());
}

}  // namespace

bool TEventServerDbg::PassTime(int hours) {
    if (TestFlg(flag::NightSearch)) {
        AdvanceHour();
        if (GameHour() == kTiredHour[0]) {
            TiredRefusal();
            return false;
        }
        return true;
    }
    for (int i = 0; i < hours; ++i) {
        AdvanceHour();
        if (ShopRedrawOn && Hooks.ShopSceneStep) Hooks.ShopSceneStep();
        int condition = GameCondition();
        if (condition < 0) condition = 0;
        if (condition > 2) condition = 2;
        if (GameHour() == kTiredHour[condition] && !IsShopRoom(CurrentPlace())) {
            TiredRefusal();
            return false;
        }
    }
    return true;
}

void TEventServerDbg::WaitHour(int hour) {
    // Any other hour would never come round.
    if (hour < 0 || hour > 23) return;
    while (GameHour() != hour) AdvanceHour();
}

void TEventServerDbg::PassNights(int n) {
    for (int i = 0; i < n; ++i) AdvanceToMorning();
}

int TEventServerDbg::GetHour() const { return GameHour(); }

int TEventServerDbg::GetSeason(int& season, int& month) const {
    const int day = GameDay();
    month = MonthOfDay(day) + 1;
    if (month == 12 || month <= 2)
        season = 0;
    else if (month <= 5)
        season = 1;
    else if (month <= 8)
        season = 2;
    else
        season = 3;
    return day;
}

int TEventServerDbg::TickMod(int n) const {
    if (n == 0) return 0;
    return static_cast<int>(ui::GetTickCount() % static_cast<std::uint32_t>(n));
}

void TEventServerDbg::SetPlace(int place, bool redraw) {
    if (GameFlow) GameFlow->Place = place;
    ui::Record("place", std::to_string(place));
    if (Hooks.SetMapLand) Hooks.SetMapLand((place >> 5) != 0);
    if (redraw) ShowPlaceGr(place);
}

void TEventServerDbg::GiveItem(int item, int n) {
    if (IsItem(item)) AddItemStock(item, n);
}

void TEventServerDbg::TakeItem(int item, int n) {
    if (IsItem(item)) RemoveItemStock(item, n);
}

void TEventServerDbg::LearnRecipe(int item) {
    if (IsItem(item)) UnlockItem(item);
}

void TEventServerDbg::LearnRecipeScene(int item) {
    FaceGr(10);
    DspMsg(B5("緹菈「……"));
    FaceGr(2);
    DspMsg(B5("緹菈「……對了！！"));
    DspMsg(B5("緹菈腦海中閃過一道新魔法藥的調配法。"));
    LearnRecipe(item);
    if (IsItem(item)) DspMsg(NameOf(item) + B5("的調配法學會了！"));
}

void TEventServerDbg::GiveMoney(int n) { AddMoney(n); }

void TEventServerDbg::GiveReputation(int n) { AddReputation(n); }

void TEventServerDbg::ResetCondition() { SetCondition(0); }

void TEventServerDbg::TiredRefusal() {
    if (m_InEvent) return;
    if (GameCondition() < 2) SetCondition(GameCondition() + 1);
    FaceGr(7);
    DspMsg(B5("我已經累了"));
    if (TestFlg(flag::NightSearch)) SetFlg(flag::DawnWithCocotte, true);
    if (GameFlow) GameFlow->Place = place::ShopInside;
    ui::Record("place", std::to_string(place::ShopInside));
    if (Hooks.GoHomeToBed) Hooks.GoHomeToBed();
    ReleaseStageBitmaps();
    FaceGr(0);
}

void TEventServerDbg::DefaultSearch() {
    if (!PassTime(1)) return;
    ShowEveningPicture(*this);
    const int hour = GameHour();
    const int row = CurrentPlace() & 31;

    struct Candidate {
        int Item;
        int Chance;
    };
    std::vector<Candidate> candidates;
    // A place past the table has nothing to find but the dandelion.
    if (row < kSearchPlaces) {
        const SearchFind* records = &SearchFinds[row * kSearchRecords];
        for (int k = hour & 1; k < kSearchRecords; k += 2) {
            const SearchFind& r = records[k];
            bool seen = false;
            for (int j = 0; j < k; ++j) seen = seen || records[j].Item == r.Item;
            if (seen || r.Level > GameLevel()) continue;
            if (r.Band == 1 && hour >= 19) continue;
            if (r.Band == 2 && hour >= 8 && hour <= 18) continue;
            candidates.push_back({r.Item, r.Chance});
        }
    }
    if (candidates.empty()) {
        DspMsg(B5("取得了一株蒲公英"));
        GiveItem(kDandelion, 1);
        return;
    }

    ui::Srand(ui::GetTickCount() % 1000);
    const int count = static_cast<int>(candidates.size());
    struct Find {
        int Item;
        int Quantity;
    };
    std::vector<Find> finds;
    for (int f = 0; f < kFinds; ++f) {
        const int idx = DrawRandom() % count;
        const int m = DrawRandom() % 3;
        const int r = DrawRandom() % 100;
        Find find{candidates[0].Item, 1};
        if (candidates[idx].Chance > r) {
            find = {candidates[idx].Item, candidates[idx].Chance * m / 100 + 1};
        } else {
            // The candidates before it get their chance: the lowest one that wins counts;
            // candidate 0, once, is the last resort.
            for (int j = idx - 1; j >= 1; --j)
                if (candidates[j].Chance > r)
                    find = {candidates[j].Item, candidates[j].Chance * m / 100 + 1};
        }
        finds.push_back(find);
    }
    for (std::size_t i = 0; i < finds.size(); ++i) {
        for (std::size_t j = i + 1; j < finds.size();) {
            if (finds[j].Item == finds[i].Item) {
                finds[i].Quantity += finds[j].Quantity;
                finds.erase(finds.begin() + static_cast<std::ptrdiff_t>(j));
            } else {
                ++j;
            }
        }
    }
    std::string text;
    for (const Find& find : finds) {
        if (find.Item > 0) GiveItem(find.Item, find.Quantity);
        // The count in full-width digits: the message window skips single-byte letters.
        text += NameOf(find.Item) + B5("取得了") +
                ToFullWidthDigits(std::to_string(find.Quantity)) + B5("個") + "\n";
    }
    text.pop_back();
    DspMsg(text);
}

void TEventServerDbg::Peddle() {
    if (ChkWeekday(kRestWeekday) || GameDay() == kHolidayDay) {
        DspMsg(B5("今天是假日，所以沒辦法到處兜售。"));
        return;
    }
    const int hour = GameHour();
    if (hour < 10 || hour > 18) {
        DspMsg(B5("緹菈「附近什麼人都沒有，") + "\n" + B5("兜售是沒有意義的。"));
        return;
    }
    if (!PassTime(1)) return;
    ShowEveningPicture(*this);
    if (!ChkRandom(60)) {
        DspMsg(B5("運氣真不好，一個也沒賣掉。"));
        return;
    }
    std::vector<int> candidates;
    for (int item = 0; item < kGoodsCount; ++item)
        if (IsShopGoods(item) && ItemStock(item) - ItemAvailable(item) > 0 &&
            ItemBasePrice(item) < kPeddleMaxPrice)
            candidates.push_back(item);
    if (candidates.empty()) {
        DspMsg(B5("身上沒有攜帶任何可以兜售的物品喔。"));
        return;
    }
    const int item = candidates[DrawRandom() % static_cast<int>(candidates.size())];
    const int price = ItemBasePrice(item);
    DspMsg(NameOf(item) + B5("賣掉了１個囉。"));
    TakeItem(item, 1);
    GiveMoney(price);
    AddDailyRevenue(item, GameDay(), price);
    AddDailySoldCount(item, GameDay(), 1);
    if (!ChkReputation(20)) GiveReputation(1);
}
