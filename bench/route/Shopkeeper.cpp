#include "bench/route/Shopkeeper.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "bench/route/HelpShop.h"
#include "bench/route/Windows.h"
#include "bench/simyear/SimYear.h"
#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessBackend.h"
#include "shop/Catalog.h"
#include "shop/Demand.h"
#include "shop/Exhibition.h"
#include "shop/Fashion.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Heroine.h"
#include "shop/Itemlist.h"
#include "shop/Itemmix.h"
#include "shop/Itemmixlist.h"
#include "shop/Main.h"
#include "shop/Market.h"
#include "shop/Marketbuy.h"
#include "shop/Marketlist.h"
#include "shop/Mixconfirm.h"
#include "shop/Mixing.h"
#include "shop/Option.h"
#include "shop/Saveloadmsg.h"
#include "shop/Shop.h"
#include "skin/CHBCBTN.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/MapTables.h"
#include "town/Mapform.h"
#include "town/Spbtnfm.h"
#include "town/Srcdbtxtform21.h"

namespace fs = std::filesystem;
using namespace command;

namespace route {

namespace {

// The virtual milliseconds the shopkeeper takes before each click.
constexpr std::uint32_t kClickMs = 100;
constexpr int kShopPlace = 10;    // inside the shop
constexpr int kShopFront = 0;     // the town node of the shop
constexpr int kFlowerHouse = 1;   // the town node of 芙蘿蕾's house and the flowerbed
constexpr int kWellStocked = 20;  // units on hand that need no mixing
constexpr int kMixPages = 8;      // pages of the mixing list looked through for a goods
constexpr int kSquare = 3;        // the town node of the square (the market, peddling)
constexpr int kSchool = 7;        // the town node of the magic school
constexpr int kLibraryPlace = 17;
constexpr int kOutskirts = 8;    // the town node that leads to the land map
constexpr int kSpring = 2;       // the land node of the forest spring
constexpr int kNightGlory = 72;  // 夜牽牛, which the register does not name
constexpr int kLily = item::Lily;
// What the searches of a land node turn up most (night and day), for the goodwill
// shopkeeper's night searches.
struct LandFinds {
    int node;
    int materials[4];
};
constexpr LandFinds kLandFinds[] = {
    {7, {85, 69, 0, 0}},    // lake water, cosmos
    {3, {89, 81, 0, 0}},    // rock salt, 葛棗
    {8, {90, 95, 0, 0}},    // sea-star sand and stone
    {6, {83, 84, 65, 66}},  // the great tree's sap, branches, leaves; bellflowers
    {2, {71, 72, 69, 73}},  // the forest spring's lilies, night glories, cosmos
    {1, {80, 0, 0, 0}},     // mushrooms
    {5, {97, 87, 0, 0}},    // volcano rock and water
};
constexpr int kPeddleRepute = 20;       // peddling raises the reputation below this
constexpr int kBeautyContestDay = 179;  // won with the reputation of its morning
constexpr int kLetGoPrice = 1000;       // the shop let go lays out goods below this
constexpr int kPeddleReserve = 24;      // units kept in the reserve for peddling
constexpr int kCashKept = 3000;         // money the market purchases leave in hand
constexpr int kDayTripLack = 8;
constexpr int kStockAheadPopularity = 10;  // goods whose materials are bought ahead
constexpr int kBatchesAhead =
    12;  // batches' worth of them     // units of land materials short that are worth a day out

// Units one batch of a goods yields at the heroine's level (the mixing dialog's rule).
int YieldPerBatch(int g) { return PlannedMixYield(g, 4) / 4; }

// Units of each item that mixing for sale leaves for the story (none by default).
using Kept = std::array<int, kItemCount>;
const Kept kNoneKept{};

// Whether a material can be had: in stock beyond what is kept (or a key item), or, with
// `market`, among today's market offers.
bool Obtainable(int m, int units, bool market, const Kept& kept = kNoneKept) {
    if (m < 0 || m >= kItemCount) return true;
    const int spare = ItemStock(m) - kept[static_cast<std::size_t>(m)];
    if (ItemStock(m) == kKeyItemStock || spare >= units) return true;
    if (!market) return false;
    for (int i = 0; i < kMarketOffers; ++i)
        if (MarketItem(i) == m && MarketStock(i) + spare >= units) return true;
    return false;
}

bool MarketOpenToday() {
    const int d = GameDay();
    return !IsRestDay(d) && d != 48;
}

// The batches (up to four) of a goods the materials at hand allow, beyond what is kept.
int BatchesAtHand(int g, const Kept& kept = kNoneKept) {
    for (int b = 4; b >= 1; --b) {
        bool enough = true;
        for (int k = 0; k < 3; ++k) {
            const int m = RecipeMaterial(g, k);
            if (m >= 0 && m < kItemCount &&
                ItemStock(m) - kept[static_cast<std::size_t>(m)] < b * RecipeQuantity(g, k))
                enough = false;
        }
        if (enough) return b;
    }
    return 0;
}

// The batches (one to four) that make `units` of a goods at the level and the condition
// of now; four when even they fall short.
int BatchesFor(int g, int units) {
    int b = 1;
    while (b < 4 && MixResultCount(PlannedMixYield(g, b), GameCondition()) < units) ++b;
    return b;
}

// Goods the rich shopkeeper still makes: its stock is short of what about three days
// of the town's wants take (ten units at least, to show it and let it catch on).
bool ShortOnShelf(int g) {
    const int perDay = Fashions[g].Popularity() * std::max(GameReputation(), 5) / 100;
    return ItemStock(g) < std::clamp(3 * perDay + 10, 10, 90);
}

// What a goods brings per hour of mixing, weighed by how well it sells.
long long MixValue(int g) {
    const int y = YieldPerBatch(g);
    if (y <= 0) return 0;
    return static_cast<long long>(ItemBasePrice(g)) * y * (Fashions[g].Popularity() + 10) /
           RecipeHours(g, 1);
}

// Units a goods on `slot` may sell today: its customers from the town's wants (the
// bargain slot's come at random, up to nine hours of reputation / 20 + 1), with a margin
// for the customers who take from a neighbouring slot too.
int DayDemand(int g, int slot) {
    const int r = GameReputation();
    if (slot == 0) return 9 * (r / 20 + 1);
    return Fashions[g].Popularity() * r / 100 * 5 / 4 + 2;
}

// The rich shopkeeper's slots: on the bargain slot 0 (whose customers come whatever the
// fashion, and whose sales seed it three times) the dearest goods the town does not yet
// want; the rest by what they take in: popularity times price.
std::array<int, kExhibitionSlots> RichSlots(const std::vector<int>& leaveOff) {
    std::vector<int> goods;
    for (int g = 0; g < kGoodsCount; ++g)
        if (ItemStock(g) != kKeyItemStock && ItemAvailable(g) > 0 &&
            std::find(leaveOff.begin(), leaveOff.end(), g) == leaveOff.end())
            goods.push_back(g);
    std::array<int, kExhibitionSlots> slots;
    slots.fill(-1);
    int seed = -1;
    for (int g : goods)
        if (Fashions[g].Popularity() < 8 && ItemAvailable(g) >= DayDemand(g, 0) &&
            (seed < 0 || ItemBasePrice(g) > ItemBasePrice(seed)))
            seed = g;
    // No slot that would sell out: a sold-out slot costs the evening a point of
    // reputation, more than the customers a missing goods turns away.
    if (seed >= 0) {
        slots[0] = seed;
        goods.erase(std::find(goods.begin(), goods.end(), seed));
    }
    const auto short_ = std::stable_partition(
        goods.begin(), goods.end(), [](int g) { return ItemAvailable(g) >= DayDemand(g, 2); });
    // Goods the town hardly wants fill the slots left over, the safest first: an empty
    // slot beside a full one fails the customers who reach over to it, and that costs
    // the evening's point as a sold-out slot does.
    std::vector<int> spare;
    for (auto it = short_; it != goods.end(); ++it)
        if (Fashions[*it].Popularity() <= 5 && ItemAvailable(*it) >= 4) spare.push_back(*it);
    goods.erase(short_, goods.end());
    std::stable_sort(spare.begin(), spare.end(), [](int a, int b) {
        return ItemAvailable(a) - DayDemand(a, 2) > ItemAvailable(b) - DayDemand(b, 2);
    });
    auto takings = [](int g) {
        return static_cast<long long>(Fashions[g].Popularity() + 2) * ItemBasePrice(g);
    };
    std::stable_sort(goods.begin(), goods.end(),
                     [&](int a, int b) { return takings(a) > takings(b); });
    constexpr int order[kExhibitionSlots] = {2, 3, 4, 5, 6, 7, 8, 9, 1, 0};
    std::size_t next = 0;
    for (int k : order)
        if (slots[k] == -1 && next < goods.size()) slots[k] = goods[next++];
    next = 0;
    for (int k : order)
        if (slots[k] == -1 && next < spare.size()) slots[k] = spare[next++];
    return slots;
}

// ---- the goodwill shopkeeper

// Money from which the goodwill shopkeeper keeps the dear goods off the counter: its
// ending is the one without the debt paid.
constexpr int kMoneyWatch = 750000;

// The dearest goods the goodwill shopkeeper lays out with `money` in hand: all of them
// well short of the debt, fewer as it comes nearer.
int PriceLimit(int money) {
    if (money < 750000) return 1 << 30;
    if (money < 850000) return 120;
    if (money < 930000) return 60;
    return 30;
}

// Customers a goods draws in a day at today's popularity and reputation.
int DailyCustomers(int g) {
    return Fashions[g].Popularity() * std::max(GameReputation(), 10) / 100;
}

// Units a full-price slot may need today: its customers with a margin for the popularity
// that grows overnight and for the customers who reach over from a neighbouring slot.
int SafeUnits(int g) { return DailyCustomers(g) * 3 / 2 + 3; }

// Units the bargain slot may need today: its customers come at random, reputation / 20 + 1
// at most an hour, half that on the average; with a margin.
int BargainUnits() { return 9 * (GameReputation() / 20 + 1) / 2 + 4; }

// Units the goodwill shopkeeper keeps of a goods: three days of its customers and ten to
// start with for a goods the town wants at all.
int GoodwillTarget(int g) {
    if (Fashions[g].Popularity() < 3) return 0;
    return std::clamp(3 * DailyCustomers(g) + 10, 10, 95);
}

// Customers a mixing hour of the goods serves, weighed by how much the town wants it.
long long ServeValue(int g) {
    const int y = YieldPerBatch(g);
    const int shortfall = GoodwillTarget(g) - ItemStock(g);
    if (y <= 0 || shortfall <= 0) return 0;
    long long v = static_cast<long long>(std::min(shortfall, 4 * y)) * (DailyCustomers(g) + 1) *
                  100 / RecipeHours(g, 1);
    // Near the debt the cheap goods first: the money is to stay short of it.
    if (GameMoney() >= kMoneyWatch) v = v * 100 / std::max(ItemBasePrice(g), 1);
    return v;
}

// The goodwill shopkeeper's slots: the goods the stock covers for the day on the full-price
// slots, the most wanted first; on the bargain slot (where the town's wants bring no
// customers, only a few at random) the most wanted goods left over whose stock covers
// those few; goods the town hardly wants on any slot left, so that no customer reaches
// over to an empty one.
std::array<int, kExhibitionSlots> GoodwillSlots(const std::vector<int>& leaveOff) {
    std::vector<int> goods;
    const int dearest = PriceLimit(GameMoney());
    for (int g = 0; g < kGoodsCount; ++g)
        if (ItemStock(g) != kKeyItemStock && ItemAvailable(g) > 0 && ItemBasePrice(g) <= dearest &&
            std::find(leaveOff.begin(), leaveOff.end(), g) == leaveOff.end())
            goods.push_back(g);
    std::stable_sort(goods.begin(), goods.end(), [](int a, int b) {
        return Fashions[a].Popularity() > Fashions[b].Popularity();
    });
    std::array<int, kExhibitionSlots> slots;
    slots.fill(-1);
    std::vector<int> left;
    constexpr int order[kExhibitionSlots - 1] = {2, 3, 4, 5, 6, 7, 8, 9, 1};
    std::size_t next = 0;
    for (int g : goods) {
        if (next < std::size(order) && ItemAvailable(g) >= SafeUnits(g))
            slots[order[next++]] = g;
        else
            left.push_back(g);
    }
    for (auto it = left.begin(); it != left.end(); ++it)
        if (ItemAvailable(*it) >= BargainUnits()) {
            slots[0] = *it;
            left.erase(it);
            break;
        }
    // Spare goods: the least wanted with the most units.
    std::stable_sort(left.begin(), left.end(), [](int a, int b) {
        return ItemAvailable(a) - SafeUnits(a) > ItemAvailable(b) - SafeUnits(b);
    });
    std::size_t spare = 0;
    for (int k : order)
        if (slots[k] == -1 && spare < left.size() && ItemAvailable(left[spare]) >= 4 &&
            Fashions[left[spare]].Popularity() <= 5)
            slots[k] = left[spare++];
    return slots;
}

}  // namespace

bool PolicyByName(const std::string& name, Policy& policy) {
    static constexpr std::pair<const char*, Policy> kPolicies[] = {
        {"plain", Policy::Plain}, {"rich", Policy::Rich}, {"goodwill", Policy::Goodwill},
        {"short", Policy::Short}, {"help", Policy::Help},
    };
    for (const auto& [n, p] : kPolicies)
        if (name == n) {
            policy = p;
            return true;
        }
    return false;
}

int Count(const ui::Transcript& t, const std::string& kind, const std::string& text) {
    int n = 0;
    for (const ui::TranscriptEntry& e : t.Entries())
        if (e.kind == kind && (text.empty() || e.text == text)) ++n;
    return n;
}

int NewOrderOffer(const ui::Transcript& t, ui::LifeToken& seen) {
    if (!BtnForm || !BtnForm->Visible() || !BtnForm->Modal()) {
        seen.reset();
        return -1;
    }
    if (seen.lock() == BtnForm->Life().lock()) return -1;
    const std::vector<ui::TranscriptEntry>& all = t.Entries();
    for (int i = static_cast<int>(all.size()) - 1; i >= 0; --i) {
        const ui::TranscriptEntry& e = all[static_cast<std::size_t>(i)];
        if (e.kind != "choice") continue;
        if (e.text.rfind("接受訂單", 0) != 0) return -1;
        seen = BtnForm->Life();
        return i;
    }
    return -1;
}

ScratchGameFolder::ScratchGameFolder(const std::string& game) {
    std::string pattern = (fs::temp_directory_path() / "playyear-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    dir_ = pattern;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(game, ec)) {
        const std::string name = e.path().filename().string();
        if (name.size() == 8 && name.rfind("QDV", 0) == 0) continue;
        fs::create_symlink(fs::absolute(e.path()), fs::path(dir_) / name, ec);
    }
}

ScratchGameFolder::~ScratchGameFolder() {
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
}

int Shopkeeper::Place() { return GameFlow ? GameFlow->Place : kShopPlace; }

bool Shopkeeper::Step() {
    // Not while a click is still on its way: the state it changes is not there yet.
    if (!backend_.InputSettled()) return false;
    if (SaveLoadMessageForm && SaveLoadMessageForm->Visible()) {
        ++savesDeclined;
        return Click(*SaveLoadMessageForm->NoButton);
    }
    if (!started) return false;
    if (Goodwill()) Account();
    if (MarketBuyForm && MarketBuyForm->Visible()) return MarketBuy();
    if (MarketListForm && MarketListForm->Visible()) return MarketList();
    // A mixing job that ends while a scene has taken her out shows its result over the
    // map, which waits behind it. (The other policies keep their runs as they were.)
    if (Goodwill() && ItemMixConfirmForm && ItemMixConfirmForm->Visible())
        return Click(*ItemMixConfirmForm->CloseButton);
    if (CommandMenu()) return true;
    if (MapFm && MapFm->Visible()) return OnTheMap();
    if (!ShopForm || !ShopForm->Visible()) return false;
    if (ShopForm->TitlePanel && ShopForm->TitlePanel->Visible()) return false;
    if (OptionForm && OptionForm->Visible())
        return Click(OptionForm->OptionWatchAnime->Down() ? *OptionForm->CloseButton
                                                          : *OptionForm->OptionWatchAnime);
    if (ExhibitionConfirmForm && ExhibitionConfirmForm->Visible()) return ConfirmSlot();
    if (ExhibitionListForm && ExhibitionListForm->Visible()) return SlotList();
    if (ExhibitionForm && ExhibitionForm->Visible()) return SlotDialog();
    if (ItemMixConfirmForm && ItemMixConfirmForm->Visible())
        return Click(*ItemMixConfirmForm->CloseButton);
    if (ItemListForm && ItemListForm->Visible()) return ItemList();
    if (ItemMixForm && ItemMixForm->Visible()) return MixingWindow();
    if (ItemMixListForm && ItemMixListForm->Visible()) return MixingList();
    // A mixing job's hours are skipped with the top bar's 跳過回合.
    if (MixHoursLeft() > 0 && MainForm && !MainForm->FastForward) {
        TCHBcSpeedButton* skip = ShopForm->MenuSkipTurn;
        if (skip && skip->Showing() && skip->Enabled()) return Click(*skip);
    }
    if (!HeroineIdle()) return false;
    if (!sweepOff_) {
        // Nothing else until the sweep is off.
        if (!ShopForm->MenuOption->Enabled()) return false;
        sweepOff_ = true;
        return Click(*ShopForm->MenuOption);
    }
    if (GameDay() > maxDay && std::getenv("PLAYYEAR_PROGRESS"))
        std::fprintf(stderr, "day %d, virtual %u ms\n", GameDay(), ui::GetTickCount());
    maxDay = std::max(maxDay, GameDay());
    if (Active() && ReserveForPeddling()) return true;
    if (TendSlots()) return true;
    // A wanted goods whose materials are at hand is mixed before any errand.
    if (WantMixable() && StartMixing()) return true;
    if (MarketTripWorth() && StartErrand(Errand::Square)) return true;
    if (Active() && StartNightSearch()) return true;
    if (Active() && EarlyNight()) return true;
    if (StartMixing() || GoOut()) return true;
    if (Active() && StartErrand(Errand::None)) return true;
    return NextTurn();
}

bool Shopkeeper::NextTurn() {
    // The shop's fast speed, as a player in a hurry sets it: a click on the top bar's
    // speed button, which stays down.
    TCHBcSpeedButton* speed = ShopForm->SpeedButton;
    if (!ShopForm->FastMode() && speed && speed->Showing() && speed->Enabled())
        return Click(*speed);
    TCHBcSpeedButton* next = ShopForm->MenuNextTurn;
    if (next && next->Showing() && next->Enabled()) {
        ++nextTurns;
        return Click(*next);
    }
    return false;
}

bool Shopkeeper::TendSlots() {
    if (!started || !sweepOff_ || !ShopForm) return false;
    if (laidOutOn_ != GameDay() && !ShopForm->IsShopOpen() && GameHour() >= 8) {
        std::vector<int> leaveOff;
        for (int g = 0; g < kGoodsCount; ++g)
            if (kept_.Keeps(g)) leaveOff.push_back(g);
        layout_ = Help()       ? HelpSlots(leaveOff)
                  : Goodwill() ? GoodwillSlots(leaveOff)
                  : Active()   ? RichSlots(leaveOff)
                               : PlannedSlots(leaveOff);
        // A shop let go lays out nothing, but for the five working days before the
        // beauty contest, whose prize wants reputation 20 on its morning: the rest day's
        // reckoning then counts their sales, and empty slots turn customers away, each
        // evening's settlement taking a point. Only its cheaper goods, which bring in
        // too little to pay the debt.
        if (LetGo()) {
            const int day = GameDay();
            if (day >= kBeautyContestDay - 5 && day < kBeautyContestDay) {
                for (int g = 0; g < kGoodsCount; ++g)
                    if (ItemBasePrice(g) >= kLetGoPrice) leaveOff.push_back(g);
                layout_ = RichSlots(leaveOff);
            } else {
                layout_.fill(-1);
            }
        }
        if (Help()) HelpLog(layout_, ledger);
        laidOutOn_ = GameDay();
        laying_ = true;
    }
    return laying_ && LayOut();
}

void Shopkeeper::AnswerOrder(std::deque<int>& answers) {
    if (Goodwill() && NewOrderOffer(transcript_, orderAnswered_) >= 0) answers.push_front(1);
}

void Shopkeeper::Account() {
    const int rep = GameReputation(), hour = GameHour(), day = GameDay();
    if (lastRep_ < 0) lastRep_ = rep;
    int delta = rep - lastRep_;
    // The evening's settlement comes with the turn to 19:00, the orders due with it.
    const bool evening = hour >= 19 && hour <= 20;
    if (delta > 0 && hour == 8 && day % 6 == 5) {
        ledger.weekly += delta;
    } else if (delta > 0 && errand_ == Errand::Square) {
        ledger.peddled += delta;
    } else if (delta < 0 && evening) {
        const std::vector<ui::TranscriptEntry>& all = transcript_.Entries();
        for (; seenEntries_ < all.size() && delta < 0; ++seenEntries_)
            if (all[seenEntries_].kind == "order" &&
                all[seenEntries_].text.rfind("failed", 0) == 0) {
                --ledger.ordersFailed;
                ++delta;
            }
        if (delta < 0 && RepDecayCount() < lastDecay_) {
            --ledger.turnedAway;
            ++delta;
        }
        // A slot whose goods ran out in the last hours (the tallies are gone by now).
        for (int k = 0; k < kExhibitionSlots; ++k)
            tallyShort_ |= SlotItem(k) >= 0 && ItemAvailable(SlotItem(k)) <= 0;
        if (delta < 0 && tallyShort_) {
            --ledger.soldOut;
            ++delta;
        }
        ledger.other += delta;
    } else {
        ledger.other += delta;
    }
    lastRep_ = rep;
    seenEntries_ = transcript_.Entries().size();
    if (hour < 19 && DemandForm) {
        lastDecay_ = RepDecayCount();
        tallyShort_ = false;
        for (int k = 0; k < kExhibitionSlots; ++k) tallyShort_ |= DemandForm->SlotTally[k] < 0;
    }
}

bool Shopkeeper::Click(const ui::Control& c) { return route::Click(backend_, c, kClickMs); }

bool Shopkeeper::ClickAt(ui::Point p) { return route::ClickAt(backend_, p, kClickMs); }

bool Shopkeeper::ShopMenu(std::initializer_list<const ui::MenuItem*> path) {
    return ChooseFromMenu(backend_, *ShopForm->Image1, ShopForm->PopupMenu1, path, kClickMs);
}

bool Shopkeeper::ShopMenuReady() {
    return ShopForm->PopupMenu1.AutoPopup && ShopForm->PendingAction == 0;
}

void Shopkeeper::Want(int item, int count) {
    kept_.Keep(item, count, true);
    wants_ = kept_.Due();
}

void Shopkeeper::Keep(const KeptGoods& goods) {
    for (const KeptGoods::Entry& e : goods.Entries()) kept_.Keep(e.item, e.count, e.due);
    wants_ = kept_.Due();
}

bool Shopkeeper::TakenForSale(int g) const {
    for (int h = 0; h < kGoodsCount; ++h)
        if (IsItemUnlocked(h) && !Wanted(h))
            for (int k = 0; k < 3; ++k)
                if (RecipeMaterial(h, k) == g) return true;
    return false;
}

void KeptGoods::Keep(int item, int count, bool due) {
    for (Entry& e : entries_)
        if (e.item == item) {
            e.count = std::max(e.count, count);
            e.due = e.due || due;
            return;
        }
    entries_.push_back(Entry{item, count, due});
}

bool KeptGoods::Keeps(int item) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [item](const Entry& e) { return e.item == item; });
}

std::vector<std::pair<int, int>> KeptGoods::Due() const {
    std::vector<std::pair<int, int>> due;
    for (const Entry& e : entries_)
        if (e.due) due.emplace_back(e.item, e.count);
    return due;
}

std::array<int, kItemCount> KeptGoods::Units() const {
    Kept kept{};
    // `units` more of `item` kept; for a due goods that falls short of what is kept of
    // it, the materials of the batches that make up the new shortfall, and so on down.
    const auto keep = [&kept](const auto& self, int item, int units, bool due, int depth) -> void {
        if (item < 0 || item >= kItemCount || units <= 0 || ItemStock(item) == kKeyItemStock)
            return;
        int& k = kept[static_cast<std::size_t>(item)];
        const int before = std::max(k - ItemStock(item), 0);
        k += units;
        const int more = std::max(k - ItemStock(item), 0) - before;
        if (!due || item >= kGoodsCount || more <= 0 || depth >= 3) return;
        const int batches = BatchesFor(item, more);
        for (int m = 0; m < 3; ++m)
            self(self, RecipeMaterial(item, m), batches * RecipeQuantity(item, m), true, depth + 1);
    };
    for (const Entry& e : entries_) keep(keep, e.item, e.count, e.due, 0);
    return kept;
}

int KeptGoods::InOrder(const std::string& line) const {
    const Kept units = Units();
    for (int item = 0; item < kItemCount; ++item) {
        if (!Keeps(item) && units[static_cast<std::size_t>(item)] <= 0) continue;
        const std::string name = ui::Big5ToUtf8(ItemName(item));
        if (!name.empty() && line.find(name) != std::string::npos) return item;
    }
    return -1;
}

bool Shopkeeper::LayOut() {
    if (ShopForm->IsShopOpen()) {
        laying_ = false;
        return false;
    }
    if (!ShopMenuReady() || !ShopForm->PM_Exhibition->Enabled) return false;
    // First every slot that holds other goods than the plan's is cleared (the goods may
    // be planned for another slot: the list offers only goods on no slot), then the
    // empty slots are filled.
    for (int k = 0; k < kExhibitionSlots; ++k)
        if (SlotItem(k) != -1 && SlotItem(k) != layout_[k]) {
            layoutSlot_ = k;
            return ShopMenu({ShopForm->PM_Exhibition, ShopForm->PM_Exhibition->Item(k)});
        }
    for (int k = 0; k < kExhibitionSlots; ++k)
        if (SlotItem(k) == -1 && layout_[k] != -1 && ItemSlot(layout_[k]) == -1) {
            layoutSlot_ = k;
            pagesTurned_ = 0;
            return ShopMenu({ShopForm->PM_Exhibition, ShopForm->PM_Exhibition->Item(k)});
        }
    laying_ = false;
    return false;
}

bool Shopkeeper::SlotDialog() {
    TExhibitionForm& d = *ExhibitionForm;
    const bool clear = d.Slot == layoutSlot_ && laying_ && d.Item != layout_[d.Slot];
    return Click(clear ? *d.PutAwayButton : *d.CloseButton);
}

bool Shopkeeper::SlotList() {
    TExhibitionListForm& list = *ExhibitionListForm;
    const int want = laying_ && list.Slot == layoutSlot_ ? layout_[list.Slot] : -1;
    if (want >= 0) {
        for (int r = 0; r < ItemListPageSize; ++r)
            if (ItemListRowItem(r) == want) return Click(*list.Rows[r].ItemName);
        if (pagesTurned_++ < kMixPages && list.NextPageButton->Enabled())
            return Click(*list.NextPageButton);
    }
    // Not found: the slot stays empty today.
    if (want >= 0) layout_[list.Slot] = -1;
    return Click(*list.CloseButton);
}

bool Shopkeeper::ConfirmSlot() {
    TExhibitionConfirmForm& c = *ExhibitionConfirmForm;
    const bool planned = laying_ && c.Slot == layoutSlot_ && c.Item == layout_[c.Slot];
    return Click(planned ? *c.DicodeButton : *c.CloseButton);
}

bool Shopkeeper::WantMixable() const {
    const int hour = GameHour();
    if (hour < 8 || hour >= 21) return false;
    for (const auto& [item, count] : wants_)
        if (item < kGoodsCount && IsItemUnlocked(item) && ItemStock(item) < count &&
            BatchesAtHand(item) > 0 && hour + RecipeHours(item, 1) <= 24)
            return true;
    return false;
}

bool Shopkeeper::StartMixing() {
    const int hour = GameHour();
    const int when = GameDay() * 24 + hour;
    const bool rich = Active();
    if (!ShopMenuReady() || (ShopForm->IsShopOpen() && !rich) || MixHoursLeft() > 0) return false;
    if (triedMixAt_ == when || hour < 8 || hour >= 21) return false;
    triedMixAt_ = when;
    int best = -1;
    // What the story wants comes first: the batches the want still needs, in a job that
    // ends before midnight (the night abandons a job still running at 06:00).
    for (const auto& [item, count] : wants_) {
        if (best >= 0 || item >= kGoodsCount || !IsItemUnlocked(item) || ItemStock(item) >= count)
            continue;
        int batches = std::min(BatchesAtHand(item), BatchesFor(item, count - ItemStock(item)));
        while (batches > 1 && hour + RecipeHours(item, batches) > 24) --batches;
        if (batches > 0 && hour + RecipeHours(item, batches) <= 24) {
            best = item;
            mixBatches_ = batches;
        }
    }
    const bool wanted = best >= 0;
    // Goods for sale only from what the story's wants leave.
    const Kept kept = wanted ? kNoneKept : KeptForStory();
    if (rich && !wanted) best = BestGoods(false);
    for (int g = 0; g < kGoodsCount && !wanted && !rich; ++g) {
        // A kept goods is not mixed for sale (the plain shop took the 夜光花 the cure
        // wanted for a second 光魔法石), unless goods for sale are made from it.
        if (!IsItemUnlocked(g) || ItemStock(g) == kKeyItemStock || (Wanted(g) && !TakenForSale(g)))
            continue;
        if (ItemStock(g) >= kWellStocked || BatchesAtHand(g, kept) == 0) continue;
        if (best < 0 || Fashions[g].Popularity() > Fashions[best].Popularity()) best = g;
    }
    if (best < 0) return false;
    mixGoods_ = best;
    if (!wanted) mixBatches_ = BatchesAtHand(best, kept);
    if (Help() && !wanted) mixBatches_ = std::min(mixBatches_, HelpBatches(best));
    // The rich shopkeeper's job ends before midnight and fills the shelf, no more.
    while (rich && !wanted && mixBatches_ > 1 &&
           (hour + RecipeHours(best, mixBatches_) > 24 ||
            ItemStock(best) + (mixBatches_ - 1) * YieldPerBatch(best) >= 99))
        --mixBatches_;
    // A job for sale ends by the hour the plan walks her out: she leaves only from an idle
    // shop, and a long job begun in the morning kept her in past a step's afternoon.
    if (!wanted) {
        while (mixBatches_ > 1 && hour + RecipeHours(best, mixBatches_) > homeBy) --mixBatches_;
        if (hour + RecipeHours(best, mixBatches_) > homeBy) return false;
    }
    pagesTurned_ = 0;
    return ShopMenu({ShopForm->PM_ItemMix});
}

int Shopkeeper::BestGoods(bool market) const {
    if (Help()) return HelpMixGoods(market);
    int best = -1;
    long long bestValue = 0;
    const Kept kept = KeptForStory();
    for (int g = 0; g < kGoodsCount; ++g) {
        // A wanted goods stays off the counter; one that goods for sale take (願望秘石)
        // is still made for them, and they spend what the story does not keep.
        if (!IsItemUnlocked(g) || ItemStock(g) == kKeyItemStock || (Wanted(g) && !TakenForSale(g)))
            continue;
        if (Goodwill() ? GoodwillTarget(g) <= ItemStock(g)
                       : !ShortOnShelf(g) && !(LetGo() && ItemStock(g) + YieldPerBatch(g) < 99))
            continue;
        bool can = true;
        for (int k = 0; k < 3; ++k)
            if (!Obtainable(RecipeMaterial(g, k), RecipeQuantity(g, k), market, kept)) can = false;
        const long long v = Goodwill() ? ServeValue(g) : MixValue(g);
        if (can && v > bestValue) {
            best = g;
            bestValue = v;
        }
    }
    return best;
}

bool Shopkeeper::MarketTripWorth() {
    const int hour = GameHour();
    if (squareDay_ == GameDay() || !MarketOpenToday() || hour < 10 || hour > 16) return false;
    if (MixHoursLeft() > 0 || !ShopMenuReady()) return false;
    buy_.clear();
    auto offered = [](int m) {
        for (int i = 0; i < kMarketOffers; ++i)
            if (MarketItem(i) == m && MarketStock(i) > 0) return true;
        return false;
    };
    // What the story wants first: a material itself, or a goods' materials for four
    // batches.
    for (const auto& [item, count] : wants_) {
        if (item >= kGoodsCount && item < kItemCount && ItemStock(item) < count && offered(item))
            buy_.emplace_back(item, count - ItemStock(item));
        if (item >= 0 && item < kGoodsCount && ItemStock(item) < count)
            for (int k = 0; k < 3; ++k) {
                const int m = RecipeMaterial(item, k);
                if (m < 0 || m >= kItemCount || ItemStock(m) == kKeyItemStock || !offered(m))
                    continue;
                const int units = 4 * RecipeQuantity(item, k) - ItemStock(m);
                if (units > 0) buy_.emplace_back(m, units);
            }
    }
    if (!Active()) return !buy_.empty();
    const Kept kept = KeptForStory();
    if (Help()) {
        for (const auto& b : HelpMarketBuys())
            if (std::none_of(buy_.begin(), buy_.end(),
                             [&b](const auto& have) { return have.first == b.first; }))
                buy_.push_back(b);
        return !buy_.empty();
    }
    if (Goodwill()) {
        // The materials of every goods the town wants, a stock of them ahead: the market
        // offers each only now and then.
        int need[kItemCount] = {};
        for (int g = 0; g < kGoodsCount; ++g) {
            if (!IsItemUnlocked(g) || ItemStock(g) == kKeyItemStock || Wanted(g)) continue;
            if (Fashions[g].Popularity() < kStockAheadPopularity) continue;
            for (int k = 0; k < 3; ++k) {
                const int m = RecipeMaterial(g, k);
                if (m >= kGoodsCount && m < kItemCount && ItemStock(m) != kKeyItemStock)
                    need[m] += kBatchesAhead * RecipeQuantity(g, k);
            }
        }
        int money = GameMoney() - kCashKept;
        for (int i = 0; i < kMarketOffers; ++i) {
            const int m = MarketItem(i);
            if (m < kGoodsCount || m >= kItemCount || MarketStock(i) <= 0) continue;
            const int units = std::min({need[m], 99}) - ItemStock(m);
            const int afford = std::min(units, money / std::max(ItemBasePrice(m), 1));
            if (afford <= 0 ||
                std::any_of(buy_.begin(), buy_.end(), [m](const auto& b) { return b.first == m; }))
                continue;
            money -= afford * ItemBasePrice(m);
            buy_.emplace_back(m, afford);
        }
        return !buy_.empty();
    }
    // The three best goods the market makes possible, four batches each twice over,
    // beyond what the story's wants keep.
    std::vector<int> chosen;
    int money = GameMoney() - kCashKept;
    for (int round = 0; round < 3; ++round) {
        int best = -1;
        long long bestValue = 0;
        for (int g = 0; g < kGoodsCount; ++g) {
            if (!IsItemUnlocked(g) || ItemStock(g) == kKeyItemStock ||
                (Wanted(g) && !TakenForSale(g)))
                continue;
            if ((Goodwill() ? GoodwillTarget(g) <= ItemStock(g) : !ShortOnShelf(g)) ||
                std::find(chosen.begin(), chosen.end(), g) != chosen.end())
                continue;
            bool can = true;
            for (int k = 0; k < 3; ++k)
                if (!Obtainable(RecipeMaterial(g, k), RecipeQuantity(g, k), true, kept))
                    can = false;
            const long long v = Goodwill() ? ServeValue(g) : MixValue(g);
            if (can && v > bestValue) {
                best = g;
                bestValue = v;
            }
        }
        if (best < 0) break;
        chosen.push_back(best);
        for (int k = 0; k < 3; ++k) {
            const int m = RecipeMaterial(best, k);
            if (m < 0 || m >= kItemCount || ItemStock(m) == kKeyItemStock) continue;
            bool offered = false;
            for (int i = 0; i < kMarketOffers; ++i) offered |= MarketItem(i) == m;
            if (!offered) continue;
            const int units = std::min(
                8 * RecipeQuantity(best, k) + kept[static_cast<std::size_t>(m)] - ItemStock(m),
                money / std::max(ItemBasePrice(m), 1));
            if (units <= 0) continue;
            money -= units * ItemBasePrice(m);
            buy_.emplace_back(m, units);
        }
    }
    return !buy_.empty();
}

bool Shopkeeper::PeddleWorth() {
    const int hour = GameHour();
    if (GameReputation() >= kPeddleRepute || !MarketOpenToday() || hour < 10 || hour >= 18)
        return false;
    for (int g = 0; g < kGoodsCount; ++g)
        if (IsShopGoods(g) && ItemStock(g) - ItemAvailable(g) > 0 && ItemBasePrice(g) < 1000)
            return true;
    return false;
}

bool Shopkeeper::StartErrand(Errand errand) {
    const int hour = GameHour(), day = GameDay();
    if (MixHoursLeft() > 0 || !ShopMenuReady() || hour < 10) return false;
    // Out, an hour there at least, and home again before the plan's next walk.
    if (hour + 3 > homeBy) return false;
    if (errand == Errand::None) {
        if (PeddleWorth() && hour < 17)
            errand = Errand::Square;
        else if (libraryDay_ != day && hour < 15)
            errand = Errand::Library;
        else
            return false;
    }
    if (errand == Errand::Square) squareDay_ = day;
    if (errand == Errand::Library) libraryDay_ = day;
    errand_ = errand;
    ++trips;
    return ShopMenu({ShopForm->PM_ExitShop});
}

bool Shopkeeper::LandHours() const {
    const int hour = GameHour();
    return hour >= 19 || hour < 2;
}

bool Shopkeeper::StartNightSearch() {
    const int hour = GameHour(), day = GameDay();
    if (landDay_ == day || MixHoursLeft() > 0 || !ShopMenuReady()) return false;
    if (hour < 19 || hour > 20 || ShopForm->IsShopOpen() || homeBy < 24) return false;
    const int node = Goodwill() ? GoodwillLandNode() : kSpring;
    if (node < 0 || (node == kSpring && ItemStock(kNightGlory) >= 8 && ItemStock(kLily) >= 8))
        return false;
    // Not when she is tired: she rests instead.
    if (GameCondition() > 0) return false;
    landNode_ = node;
    landDay_ = day;
    errand_ = Errand::Land;
    ++trips;
    return ShopMenu({ShopForm->PM_ExitShop});
}

int Shopkeeper::GoodwillLandNode() const {
    if (Help()) return HelpLandNode();
    // Units of a material the wanted goods need for the days ahead.
    int need[kItemCount] = {};
    for (int g = 0; g < kGoodsCount; ++g) {
        if (!IsItemUnlocked(g) || ItemStock(g) == kKeyItemStock) continue;
        const int units = GoodwillTarget(g) + 2 * DailyCustomers(g) - ItemStock(g);
        if (units <= 0) continue;
        const int batches = (units + 9) / 10;
        for (int k = 0; k < 3; ++k) {
            const int m = RecipeMaterial(g, k);
            if (m >= kGoodsCount && m < kItemCount) need[m] += batches * RecipeQuantity(g, k);
        }
    }
    // Materials the market never offers count in full, those it may offer at half.
    auto lack = [&](int m) {
        const int units = need[m] - ItemStock(m);
        if (units <= 0) return 0;
        const bool market = std::find(std::begin(MarketCandidates), std::end(MarketCandidates),
                                      m) != std::end(MarketCandidates);
        return market ? units / 2 : units;
    };
    int node = -1, most = 0;
    for (const LandFinds& place : kLandFinds) {
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

bool Shopkeeper::EarlyNight() {
    const int hour = GameHour(), day = GameDay();
    if (GameCondition() == 0 || hour < 18 || sleptOn_ == day) return false;
    if (MixHoursLeft() > 0 || !ShopMenuReady()) return false;
    sleptOn_ = day;
    return ShopMenu({ShopForm->PM_Sleep});
}

bool Shopkeeper::ReserveForPeddling() {
    if (reservedOn_ == GameDay() || ShopForm->IsShopOpen() || GameHour() < 8) return false;
    if (GameReputation() >= kPeddleRepute || !ShopMenuReady()) return false;
    reservedOn_ = GameDay();
    int reserved = 0;
    for (int g = 0; g < kGoodsCount; ++g)
        if (ItemStock(g) != kKeyItemStock && ItemBasePrice(g) < 1000) reserved += ItemReserve(g);
    if (reserved >= kPeddleReserve) return false;
    pagesTurned_ = 0;
    return ShopMenu({ShopForm->PM_ItemList});
}

bool Shopkeeper::ItemList() {
    TItemListForm& list = *ItemListForm;
    int reserved = 0;
    for (int g = 0; g < kGoodsCount; ++g)
        if (ItemStock(g) != kKeyItemStock && ItemBasePrice(g) < 1000) reserved += ItemReserve(g);
    // The cheap goods with units to spare, one unit a click.
    if (reserved < kPeddleReserve && Active())
        for (int r = 0; r < ItemListPageSize; ++r) {
            const int g = ItemListRowItem(r);
            if (g >= 0 && g < kGoodsCount && ItemStock(g) != kKeyItemStock &&
                ItemBasePrice(g) <= 200 && ItemAvailable(g) > 2 && !Wanted(g))
                return Click(*list.Rows[r].Reserve);
        }
    if (reserved < kPeddleReserve && Active() && pagesTurned_++ < kMixPages &&
        list.NextPageButton->Enabled())
        return Click(*list.NextPageButton);
    return Click(*list.CloseButton);
}

bool Shopkeeper::MarketList() {
    TMarketListForm& list = *MarketListForm;
    for (auto it = buy_.begin(); it != buy_.end(); ++it)
        for (int i = 0; i < kMarketOffers; ++i)
            if (MarketItem(i) == it->first && MarketStock(i) > 0 && it->second > 0 &&
                ItemStock(it->first) < 99) {
                buying_ = it->first;
                return Click(*list.Rows[static_cast<std::size_t>(i)].ItemName);
            }
    buy_.clear();
    return Click(*list.CloseButton);
}

bool Shopkeeper::MarketBuy() {
    TMarketBuyForm& d = *MarketBuyForm;
    auto it = std::find_if(buy_.begin(), buy_.end(),
                           [&](const std::pair<int, int>& b) { return b.first == d.Item; });
    const int target = it == buy_.end() ? 0 : std::min(it->second, d.MaxCount);
    if (d.Count < target) return Click(*d.NumUpButton);
    if (d.Count > target) return Click(*d.NumDownButton);
    if (it != buy_.end()) buy_.erase(it);
    return Click(d.Count > 0 ? *d.BuyButton : *d.CanselButton);
}

bool Shopkeeper::MixingList() {
    TItemMixListForm& list = *ItemMixListForm;
    if (mixGoods_ < 0) return Click(*list.CloseButton);
    for (int r = 0; r < ItemListPageSize; ++r)
        if (ItemListRowItem(r) == mixGoods_) return Click(*list.Rows[r].ItemName);
    if (pagesTurned_++ < kMixPages) return Click(*list.NextPageButton);
    mixGoods_ = -1;
    return Click(*list.CloseButton);
}

bool Shopkeeper::MixingWindow() {
    TItemMixForm& mix = *ItemMixForm;
    if (mixGoods_ != mix.Item) {
        mixGoods_ = -1;
        return Click(*mix.CloseButton);
    }
    if (mix.Batches != mixBatches_) return Click(*mix.MixButtons[mixBatches_ - 1]);
    mixGoods_ = -1;
    if (!mix.ItemMixButton->Enabled()) return Click(*mix.CloseButton);
    ++mixesOrdered;
    return Click(*mix.ItemMixButton);
}

bool Shopkeeper::GoOut() {
    const int hour = GameHour();
    if (!walksToFlowerbed) return false;
    if (!IsRestDay(GameDay()) || tripDay_ == GameDay() || hour < 10 || hour >= 16) return false;
    if (MixHoursLeft() > 0 || !ShopMenuReady()) return false;
    tripDay_ = GameDay();
    visited_ = false;
    ++trips;
    return ShopMenu({ShopForm->PM_ExitShop});
}

bool Shopkeeper::OnTheMap() {
    if (MapFm->m_WalkState != 0 || !MapFm->m_BtnStatus->Enabled()) return false;
    if (DbTxtForm2 && !DbTxtForm2->Visible()) return Click(*MapFm->m_Img);
    const bool searching = errand_ == Errand::Land && LandHours();
    if (errand_ == Errand::Land && !searching) errand_ = Errand::None;
    const MapPlace& to = MapFm->m_Land                ? kLandPlaces[searching ? landNode_ : 0]
                         : searching                  ? kTownPlaces[kOutskirts]
                         : errand_ == Errand::Square  ? kTownPlaces[kSquare]
                         : errand_ == Errand::Library ? kTownPlaces[kSchool]
                         : visited_ || tripDay_ != GameDay() ? kTownPlaces[kShopFront]
                                                             : kTownPlaces[kFlowerHouse];
    // The outskirts and the land's places through the map's place menu: the message
    // window lies over the bottom of the map.
    if (MapFm->m_Land || &to == &kTownPlaces[kOutskirts]) {
        const std::string caption = ui::Utf8ToBig5(to.menuName);
        for (int i = 0; i < MapFm->m_Ppm.Items.Count(); ++i)
            if (MapFm->m_Ppm.Items.Item(i)->Caption == caption &&
                ChooseFromMenu(backend_, *MapFm->m_Img, MapFm->m_Ppm, {MapFm->m_Ppm.Items.Item(i)},
                               kClickMs))
                return true;
    }
    // The place's name on the map, where the generated maps keep it in view.
    return ClickAt(MapFm->m_Img->ClientToScreen(ui::Point{to.labelX, to.labelY}));
}

bool Shopkeeper::CommandMenu() {
    TDbTxtForm2* win = DbTxtForm2;
    if (!win || !win->Visible() || !win->m_MenuMode || win->m_BtnCount <= 0) return false;
    const std::vector<int> ids = MenuIds(transcript_);
    int want = kMap;
    if ((Place() & 31) == kFlowerHouse && !visited_ && tripDay_ == GameDay()) want = kFlowerbed;
    if (Place() == kShopFront) want = kEnter;
    const int hour = GameHour();
    // The plan walks her out again soon: the errand ends and she goes home.
    if (errand_ != Errand::None && errand_ != Errand::Land && hour + 1 >= homeBy)
        errand_ = Errand::None;
    if (errand_ == Errand::Square && Place() == kSquare) {
        if (!buy_.empty() && MarketOpenToday() && hour >= 10 && hour < 18)
            want = kMarket;
        else if (Active() && PeddleWorth() && !WantMixable())
            want = kPeddle;
        else
            errand_ = Errand::None;
    } else if (errand_ == Errand::Land && Help() && LandHours() && Place() >= 32 &&
               HelpLandNode() >= 0 && HelpLandNode() != landNode_) {
        // The help shop's night goes on to the place of what is short now.
        landNode_ = HelpLandNode();
        want = kMap;
    } else if (errand_ == Errand::Land && Place() == 32 + landNode_) {
        if (LandHours())
            want = kSearch;
        else
            errand_ = Errand::None;
    } else if (errand_ == Errand::Library && Place() == kSchool) {
        if (hour >= 10 && hour < 17)
            want = kLibrary;
        else
            errand_ = Errand::None;
    } else if (errand_ == Errand::Library && Place() == kLibraryPlace) {
        if (hour < 17)
            want = kRead;
        else
            errand_ = Errand::None;
    }
    int pick = -1;
    for (int choice : {want, kMove, kMap, kGoOut, kCancel}) {
        const auto it = std::find(ids.begin(), ids.end(), choice);
        if (it != ids.end()) {
            pick = static_cast<int>(it - ids.begin());
            break;
        }
    }
    if (pick < 0 || pick >= win->m_BtnCount) pick = win->m_BtnCount - 1;
    if (ids[static_cast<std::size_t>(pick)] == kFlowerbed) visited_ = true;
    if (ids[static_cast<std::size_t>(pick)] == kEnter) errand_ = Errand::None;
    return ClickCommandAt(backend_, static_cast<std::size_t>(pick), kClickMs);
}

}  // namespace route
