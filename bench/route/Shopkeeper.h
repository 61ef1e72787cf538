#pragma once
// The plain shopkeeper of the whole-year runs (playyear and the route runs): it plays
// the real program on the headless back end through its windows, as a plain player:
// - the morning save declined, the clock's sweep turned off in the option window;
// - each morning the goods with units to sell laid out on the slots, the most wanted
//   first, through the exhibition dialogs;
// - in the mornings before the shop opens and in the evenings, when nothing is mixing,
//   the known goods that sells best and is short on the shelf mixed from the materials
//   at hand, through the mixing list and the mixing window;
// - on rest days a walk over the town map to 芙蘿蕾's house and the flowerbed, and home;
// - the top bar's next turn for everything else (the nights pass by themselves).
#include <array>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/Controls.h"
#include "platform/Menus.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessBackend.h"
#include "shop/GameState.h"

namespace route {

constexpr int kLastDay = 287;

// The index in `t` of the choice of an order offer (接受訂單 / 拒絕) now waiting, the
// first time its window is seen; -1 otherwise. The window is remembered in `seen` by its
// life token: a new window may take the address of the one answered before.
int NewOrderOffer(const ui::Transcript& t, ui::LifeToken& seen);
// Entries of the transcript of `kind` (and `text`, when given).
int Count(const ui::Transcript& t, const std::string& kind, const std::string& text = {});

// A game folder seen through a scratch folder: a link to each member but the save
// slots and the system file, which the run writes beside them.
class ScratchGameFolder {
public:
    explicit ScratchGameFolder(const std::string& game);
    ~ScratchGameFolder();
    ScratchGameFolder(const ScratchGameFolder&) = delete;
    ScratchGameFolder& operator=(const ScratchGameFolder&) = delete;
    // Empty when the folder could not be made.
    const std::string& Dir() const { return dir_; }

private:
    std::string dir_;
};

// How the shopkeeper keeps the shop: `Plain` as above; `Rich` to pay the debt: the
// slots by takings (popularity times price), with the dearest goods the town does not
// want yet on the bargain slot and none that would sell out; all day the goods that pay
// most per hour of mixing; the materials from the market and from night searches at the
// forest spring; peddling at the square while it raises the reputation (below 20),
// library afternoons for experience, and an early night when she is tired.
// `Goodwill` to raise the town's goodwill: the rich errands, but the slots by customers
// (the most wanted goods the stock covers for the day, the most wanted one it cannot
// cover on the bargain slot, where only a few come for it), the mixing and the market by
// the customers a mixing hour serves, and the stock of the wanted goods kept ahead.
// `Short`: a shopkeeper who lets the shop go for the story: the rich shop until the
// money reaches kShortMoney, then no orders taken and no goods on the slots (but its
// goods under 1,000 G in the five working days before the beauty contest, which wants
// the reputation empty slots lose), while the mixing goes on. The two contests' prizes
// and those five days leave the money about 100,000 G short of the debt.
// `Help`: the goodwill shopkeeper's errands for the town's help at the year's end, its
// choices of slots, mixing, market and land those of bench/route/HelpShop.h.
enum class Policy { Plain, Rich, Goodwill, Short, Help };
constexpr int kShortMoney = 650000;
// The policies by name, for the plans and the command lines.
constexpr const char* kPolicyNames = "plain, rich, goodwill, short or help";
bool PolicyByName(const std::string& name, Policy& policy);

// The goods a route's plan keeps: the plan's wants and every step's, from the start of
// the year. A kept item is never laid out for sale, nor mixed for sale, and an order for
// it is refused; a kept material is not used up by mixing for sale. An item wanted now
// (`due`: the plan's wants and those of the steps open now) is also mixed or bought
// before anything else, and the materials of the batches it still lacks are kept too.
class KeptGoods {
public:
    void Keep(int item, int count, bool due);
    // The item is kept (itself, not as a material).
    bool Keeps(int item) const;
    // Units of each item kept back from mixing for sale and from orders: the kept items'
    // units, and the materials of the batches a due goods still lacks (and of those
    // materials' own recipes, when they are short too).
    std::array<int, kItemCount> Units() const;
    // The kept item (itself or as a material) an order offer's line (UTF-8) asks for; -1
    // for none.
    int InOrder(const std::string& line) const;
    // The due items and their units.
    std::vector<std::pair<int, int>> Due() const;

    struct Entry {
        int item = -1, count = 0;
        bool due = false;
    };
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

// The reputation's moves in a run, by cause, as the goodwill shopkeeper saw them.
struct RepLedger {
    int weekly = 0;        // the rest day's reckoning of the week's sales
    int ordersFailed = 0;  // an order due that the stock could not fill
    int soldOut = 0;       // the evening's point for a slot whose goods ran out
    int turnedAway = 0;    // the point for every eight customers whose goods was not shown
    int peddled = 0;       // sales at the square below 20
    int other = 0;         // orders and the story
};

class Shopkeeper {
public:
    Shopkeeper(ui::HeadlessBackend& backend, const ui::Transcript& transcript,
               Policy policy = Policy::Plain)
        : backend_(backend), transcript_(transcript), policy_(policy) {}

    bool started = false;
    bool Active() const { return policy_ != Policy::Plain; }
    bool Goodwill() const { return policy_ == Policy::Goodwill || policy_ == Policy::Help; }
    bool Help() const { return policy_ == Policy::Help; }
    RepLedger ledger;
    // The short policy past its money: the shop is let go.
    bool LetGo() const { return policy_ == Policy::Short && GameMoney() >= kShortMoney; }
    // Out on the land map on its own errand (a night search for materials).
    bool OnLandErrand() const { return errand_ == Errand::Land; }
    // Off: no walks of its own (a route's plan walks the heroine).
    bool walksToFlowerbed = true;
    // The hour today by which a route's plan walks the heroine out (24: none): no errand
    // of its own is started that would keep her out past it, and one under way ends; no
    // job for sale is started that would still be mixing then.
    int homeBy = 24;
    int maxDay = 0, nextTurns = 0, savesDeclined = 0, mixesOrdered = 0, trips = 0;

    // One move when one is due (true: a click was made or a window opened).
    bool Step();
    // The day's slots, laid out before the shop opens: one move while that is under way
    // (true), nothing once they stand. The runner calls it before it passes the hours
    // ahead of a step or walks out, so a day with a trip still opens with its slots.
    bool TendSlots();
    // The top bar's next turn (the speed button first, while the shop is not fast).
    bool NextTurn();
    // A customer's order offer on show: the goodwill shopkeeper takes no order it might
    // fail (a failed order costs a point of reputation): it delivers on the spot when it
    // can, else refuses, its second caption put ahead of `answers` (the player's).
    void AnswerOrder(std::deque<int>& answers);
    // Keep at least `count` units of `item` in stock for the story: mixed (or, for a
    // material, bought) before anything else, and never laid out for sale.
    void Want(int item, int count);
    // Keep `count` units of `item` for a later step: never laid out nor ordered away,
    // mixed first only once it is wanted.
    void Keep(int item, int count) { kept_.Keep(item, count, false); }
    // Keeps all of `goods` (the due ones wanted now).
    void Keep(const KeptGoods& goods);
    const KeptGoods& Keeping() const { return kept_; }

private:
    bool Wanted(int item) const { return kept_.Keeps(item); }
    std::array<int, kItemCount> KeptForStory() const { return kept_.Units(); }
    // A known goods that is not wanted takes `g` as a material.
    bool TakenForSale(int g) const;
    // Books a change of the reputation since the last step under its cause.
    void Account();
    int lastRep_ = -1, lastDecay_ = 0;
    std::size_t seenEntries_ = 0;  // transcript entries already looked through
    ui::LifeToken orderAnswered_;  // the order offer answered last
    bool tallyShort_ = false;

private:
    bool Click(const ui::Control& c);
    bool ClickAt(ui::Point p);
    // An item of the shop's floor menu (a slot of its 陳列商品: the item, then the slot).
    bool ShopMenu(std::initializer_list<const ui::MenuItem*> path);

    static int Place();

    // The floor's menu would open for a right click, and no walk for one of its entries
    // is under way.
    static bool ShopMenuReady();

    // ---- the slots

    // Before the shop opens: the day's plan laid out through the shop menu's 陳列商品,
    // one slot a step: the slot dialog's 收起 for a slot that holds other goods, the
    // goods list and its confirmation for an empty one. False when the plan stands.
    bool LayOut();
    bool SlotDialog();
    bool SlotList();
    bool ConfirmSlot();

    // ---- mixing

    // Before the shop opens or after it closes, with nothing mixing: the known goods
    // that sells best among those short on the shelf, as many batches as the materials
    // at hand allow, through the shop menu's 調配魔法.
    bool StartMixing();
    // A goods the story wants now is short and its materials are at hand: it is mixed
    // before an errand, and the square's peddling ends for it.
    bool WantMixable() const;

    // The mixing list (the heroine is at the desk): the goods' row, turning pages to find it.
    bool MixingList();

    // The mixing window: the batch button, then 調配.
    bool MixingWindow();

    // ---- the rich policy

    // The goods worth mixing now (materials at hand, or with `market` those of today's
    // market too), the most paying per hour of mixing among those short on the shelf;
    // -1 for none.
    int BestGoods(bool market) const;
    // The market's materials the story wants (a wanted material, a wanted goods'
    // materials), then for the rich policy those for a few jobs of the best goods, into
    // buy_; true when today's market has some of them and the day's trip is still to come.
    bool MarketTripWorth();
    enum class Errand { None, Square, Library, Land };
    // After the shop closes, when the land's materials run short: a night of searches
    // at the forest spring (night glories, lilies) through the outskirts.
    bool StartNightSearch();
    // Out of the shop for an errand: the square for the market (`Square`), or for
    // peddling while that still raises the reputation, else the library (`None`).
    bool StartErrand(Errand errand);
    static bool PeddleWorth();
    // Sleepy or exhausted in the evening: to bed with the shop menu's 就寢, upstairs
    // before 19:00, when rest mends the condition.
    bool EarlyNight();
    // The goods for peddling, moved to the reserve through the item list.
    bool ReserveForPeddling();
    bool ItemList();
    bool MarketList();
    bool MarketBuy();

    // ---- the walk to the flowerbed

    // On a rest day, between 10:00 and 16:00: out of the door with the shop menu's 到鎮上.
    bool GoOut();

    // On the town map: to the flowerbed's node until it is visited, then to the shop's.
    // On the land map (a scene may leave her there): back to the town.
    bool OnTheMap();

    // A place's command menu: at the flowerbed's node its 花壇 once, at the shop's node
    // 進入, elsewhere the map; each through 移動 when the menu does not hold it.
    bool CommandMenu();

    ui::HeadlessBackend& backend_;
    const ui::Transcript& transcript_;
    Policy policy_;
    std::vector<std::pair<int, int>> wants_;  // item, units: wanted now
    KeptGoods kept_;
    bool sweepOff_ = false;
    int laidOutOn_ = -1;
    bool laying_ = false;
    std::array<int, kExhibitionSlots> layout_{};
    int layoutSlot_ = -1;
    int triedMixAt_ = -1, mixGoods_ = -1, mixBatches_ = 1, pagesTurned_ = 0;
    int tripDay_ = -1;
    bool visited_ = false;
    // The rich policy's errand out of the shop, and the day it was last run.
    Errand errand_ = Errand::None;
    int squareDay_ = -1, libraryDay_ = -1, reservedOn_ = -1, landDay_ = -1, sleptOn_ = -1;
    // The land node of the night's search, and its hours (19:00 to 2:00).
    int landNode_ = 2;
    bool LandHours() const;
    // The goodwill shopkeeper's land node for the material its wanted goods lack most,
    // -1 when none is short.
    int GoodwillLandNode() const;
    std::vector<std::pair<int, int>> buy_;  // market item, units still to buy
    int buying_ = -1;
};

}  // namespace route
