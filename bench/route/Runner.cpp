#include "bench/route/Runner.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "bench/route/Windows.h"
#include "media/Qvpack.h"
#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Menus.h"
#include "shop/Catalog.h"
#include "shop/Exhibition.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Heroine.h"
#include "shop/ItemListView.h"
#include "shop/Itemlist.h"
#include "shop/Itemmix.h"
#include "shop/Itemmixlist.h"
#include "shop/Main.h"
#include "shop/Marketlist.h"
#include "shop/Mixconfirm.h"
#include "shop/Mixing.h"
#include "shop/Saveloadmsg.h"
#include "shop/Shop.h"
#include "skin/CHBCBTN.h"
#include "story/Register.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/MapOfLink.h"
#include "town/MapTables.h"
#include "town/Mapform.h"
#include "town/Spbtnfm.h"
#include "town/Srcdbtxtform21.h"
#include "town/TownLinks.h"

using namespace command;

namespace route {

namespace {

// The night search, in which the land map refuses the town.
constexpr int kSearchModeFlag = flag::NightSearch;
constexpr int kExitPending = 5;  // the shop's pending action of a walk out of the door
constexpr int kOutskirts = 8;    // the town node that leads to the land map
// The hours ahead of a step's window in which the shopkeeper starts nothing new.
constexpr int kHoldHours = 4;
// Virtual time without a game hour passing after which the run is stuck.
constexpr std::uint32_t kStuckMs = 5 * 60 * 1000;
// Virtual time a trip may take to get out of the shop's door.
constexpr std::uint32_t kLeaveMs = 60 * 1000;
constexpr int kMaxMapClicks = 40;
constexpr int kMaxDetours = 4;
// Peddling sells only goods the heroine carries, below this base price.
constexpr int kPeddleMaxPrice = 1000;
constexpr int kCarryPages = 8;
constexpr int kTrackedFlags[] = {flag::RoutePrince, flag::RouteFlorae, flag::RouteRenette,
                                 flag::RouteCocotte, flag::RenetteSaved};

std::string Two(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

bool Showing(const ui::Control* c) { return c && c->Visible(); }

// The virtual milliseconds the runner takes before each click.
constexpr std::uint32_t kClickMs = 100;

int Place() { return GameFlow ? GameFlow->Place : 10; }

// The night search is on: she is kept on the land until it ends.
bool Searching() { return EventServerDbg && EventServerDbg->TestFlg(kSearchModeFlag); }

}  // namespace

KeptGoods PlanKeeps(const Plan& plan) {
    KeptGoods kept;
    for (const auto& [item, count] : plan.wants) kept.Keep(item, count, true);
    // Every step's goods are kept from the start: an order or the counter would take
    // them before the step that wants them opens.
    for (const PlanStep& s : plan.steps)
        for (const auto& [item, count] : s.wants) kept.Keep(item, count, false);
    return kept;
}

Runner::Runner(ui::HeadlessBackend& backend, const ui::Transcript& transcript,
               std::vector<Plan> plans)
    : backend_(backend), transcript_(transcript), plans_(std::move(plans)) {
    responder_ = backend_.AddResponder([this] { return Step(); });
    player_ = std::make_unique<test::EventResponders>(backend_);
}

Runner::~Runner() { backend_.RemoveResponder(responder_); }

void Runner::AnswerOrder() {
    const bool letGo = shopkeeper_ && shopkeeper_->LetGo();
    const int offer = NewOrderOffer(transcript_, orderAnswered_);
    if (offer < 0) return;
    const std::vector<ui::TranscriptEntry>& all = transcript_.Entries();
    const auto choice = all.rbegin() + static_cast<std::ptrdiff_t>(all.size() - 1 - offer);
    // Goods the plan keeps (and their materials) are never handed over, and a shop let go
    // takes no orders: the order is refused (the last caption).
    const auto line = std::find_if(choice, all.rend(),
                                   [](const ui::TranscriptEntry& e) { return e.kind == "line"; });
    const bool kept =
        line != all.rend() && shopkeeper_ && shopkeeper_->Keeping().InOrder(line->text) >= 0;
    if (letGo || kept) {
        const int captions =
            static_cast<int>(std::count(choice->text.begin(), choice->text.end(), '/')) + 1;
        player_->answers.push_front(captions - 1);
        return;
    }
    // Every order offer takes its own answer, ahead of the step's captions (the maze's):
    // accept, or with `orders refuse` the second caption.
    player_->answers.push_front(plan().orders == "refuse" ? 1 : 0);
}

void Runner::CheckCaption() {
    if (!BtnForm || !BtnForm->Visible() || !BtnForm->Modal()) {
        captionChecked_.reset();
        return;
    }
    if (captionChecked_.lock() == BtnForm->Life().lock() || player_->answers.empty()) return;
    const int i = player_->answers.front();
    if (i == test::EventResponders::kNoAnswer || (i >= 0 && i < BtnForm->Count())) {
        captionChecked_ = BtnForm->Life();
        return;
    }
    const std::vector<ui::TranscriptEntry>& all = transcript_.Entries();
    const auto choice = std::find_if(
        all.rbegin(), all.rend(), [](const ui::TranscriptEntry& e) { return e.kind == "choice"; });
    Fail(answersFor_, "caption " + std::to_string(i + 1) + " is not offered: the choice shows " +
                          (choice == all.rend() ? std::string("nothing") : choice->text));
    // The choice waits in a modal loop of its own, which the run's end cannot reach: the
    // failure is thrown out of it, as the watchdog's is.
    throw ui::HeadlessFailure(stuck_, "BtnForm");
}

void Runner::Fail(std::size_t step, const std::string& what) {
    if (!stuck_.empty()) return;
    std::string who = "no step";
    if (step < plan().steps.size()) {
        const PlanStep& s = plan().steps[step];
        who = "step '" + s.name + "' (" + plan().file + ":" + std::to_string(s.line) + ")";
    }
    stuck_ = When() + ": " + who + ": " + what;
}

void Runner::Note(const std::string& line) { digest_.push_back(line); }

std::string Runner::When() const {
    return "day " + std::to_string(day_) + " " + Two(hour_) + ":00";
}

void Runner::StartGame() {
    const Plan& p = plan();
    if (!land_) {
        // The land's path graph from the map pack, for the hours a walk there takes.
        land_ = std::make_unique<MapOfLink>(2);
        TQvPack pack;
        if (pack.OpenPack(ui::ProgramFolder() + townlink::ArtFolder() + "\\mapPack\\mapPack.pak")) {
            std::unique_ptr<TMemoryStream> graph = pack.QvMakeStream("land.sld");
            if (!land_->LoadFromStream(graph.get())) land_.reset();
            pack.ClosePack();
        } else {
            land_.reset();
        }
    }
    Policy policy = Policy::Plain;
    PolicyByName(p.policy, policy);
    shopkeeper_ = std::make_unique<Shopkeeper>(backend_, transcript_, policy);
    // The help shop's steps (a contest) leave it its flower walks.
    shopkeeper_->walksToFlowerbed = p.steps.empty() || policy == Policy::Help;
    shopkeeper_->Keep(PlanKeeps(p));
    shopkeeper_->started = true;
    playing_ = true;
    ended_ = false;
    endingText_.clear();
    events_.clear();
    day_ = 0;
    hour_ = 8;
    monthsNoted_ = 0;
    next_ = 0;
    state_.assign(p.steps.size(), State::Waiting);
    opened_.assign(p.steps.size(), 0);
    eventMark_.assign(p.steps.size(), 0);
    triedOn_.assign(p.steps.size(), -1);
    trip_.reset();
    answersSet_ = false;
    // Nothing of the game before carries over.
    shopkeeperOut_ = false;
    carry_ = 0;
    carriedOn_ = -1;
    orderAnswered_.reset();
    player_->answers.assign(8, 0);
    answersFor_ = kHome;
    Note("game " + std::to_string(game_ + 1) + ": route " + p.name + " (" + p.file + ")");
    OpenSteps();
}

std::vector<std::size_t> Runner::Open() const {
    std::vector<std::size_t> open;
    const std::vector<PlanStep>& steps = plan().steps;
    for (std::size_t i = next_; i < steps.size(); ++i) {
        if (state_[i] != State::Waiting) continue;
        open.push_back(i);
        if (!steps[i].optional) break;
    }
    return open;
}

void Runner::OpenSteps() {
    for (std::size_t i : Open()) {
        if (opened_[i]) continue;
        opened_[i] = 1;
        eventMark_[i] = events_.size();
        for (const auto& [item, count] : plan().steps[i].wants) shopkeeper_->Want(item, count);
    }
}

bool Runner::StepDone(std::size_t step) const {
    const PlanStep& s = plan().steps[step];
    switch (s.done) {
        case DoneKind::Event:
            for (std::size_t i = eventMark_[step]; i < events_.size(); ++i)
                if (events_[i] == s.doneEvent) return true;
            return false;
        case DoneKind::Flag:
            return EventServerDbg && EventServerDbg->TestFlg(s.doneNumber);
        case DoneKind::Item:
            return ItemStock(s.doneNumber) >= s.doneCount;
        case DoneKind::Recipe:
            return EventServerDbg && EventServerDbg->IsRecipeKnown(s.doneNumber);
        case DoneKind::None:
            break;
    }
    return false;
}

void Runner::Observe() {
    const std::vector<ui::TranscriptEntry>& all = transcript_.Entries();
    const Plan& p = plan();
    for (; seen_ < all.size(); ++seen_) {
        const ui::TranscriptEntry& e = all[seen_];
        if (!playing_) continue;
        if (e.kind == "hour") {
            int d = 0, h = 0;
            if (std::sscanf(e.text.c_str(), "day %d %d", &d, &h) == 2) {
                day_ = d;
                hour_ = h;
                if (std::getenv("PLAYROUTE_PROGRESS"))
                    std::fprintf(stderr,
                                 "day %d %02d:00 money %d reputation %d carried %d place %d\n", d,
                                 h, GameMoney(), GameReputation(), Carried(), Place());
            }
            // Money and level at the end of each month: read as the next one begins.
            while (monthsNoted_ < 12 && day_ >= (monthsNoted_ + 1) * kDaysPerMonth) {
                char buf[96];
                std::snprintf(buf, sizeof buf, "month %2d: money %d, level %d, reputation %d",
                              monthsNoted_ + 1, GameMoney(), GameLevel(), GameReputation());
                Note(buf);
                ++monthsNoted_;
            }
        } else if (e.kind == "scene") {
            const auto colon = e.text.find(':');
            if (colon != std::string::npos &&
                e.text.compare(colon + 1, std::string::npos, "main") == 0) {
                events_.push_back(e.text.substr(0, colon));
                Note(When() + " event " + events_.back());
            }
        } else if (e.kind == "flag") {
            int n = -1;
            char what[8] = {};
            if (std::sscanf(e.text.c_str(), "%7s %d", what, &n) != 2) continue;
            bool tracked = std::find(std::begin(kTrackedFlags), std::end(kTrackedFlags), n) !=
                           std::end(kTrackedFlags);
            for (const PlanStep& s : p.steps)
                if (s.done == DoneKind::Flag && s.doneNumber == n) tracked = true;
            if (tracked) Note(When() + " flag " + e.text);
        } else if (e.kind == "ending") {
            endingText_ = e.text;
            ended_ = true;
            if (monthsNoted_ < 12) {
                char buf[96];
                std::snprintf(buf, sizeof buf,
                              "month %2d: money %d, level %d, reputation %d (the ending)",
                              monthsNoted_ + 1, GameMoney(), GameLevel(), GameReputation());
                Note(buf);
                monthsNoted_ = 12;
            }
            Note(When() + " ending " + e.text);
        }
    }
    if (!playing_) return;
    // The open steps done; a step whose window has passed fails the run (an optional
    // one is only noted). Each change may open the steps after it.
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t i : Open()) {
            const PlanStep& s = p.steps[i];
            const bool done = StepDone(i);
            const int day = GameDay(), hour = GameHour();
            const bool passed =
                !done && !trip_ &&
                (day > s.lastDay || (day == s.lastDay && hour > s.lastHour) || ended_);
            if (!done && !passed) continue;
            if (done) {
                Note(When() + " step " + s.name + ": done");
            } else if (s.optional) {
                Note(When() + " step " + s.name + ": its window passed undone (optional)");
            } else {
                Note(When() + " step " + s.name + ": its window passed undone");
                faults_.push_back("step '" + s.name + "' (" + p.file + ":" +
                                  std::to_string(s.line) + ") passed its window undone");
            }
            state_[i] = done ? State::Done : State::Passed;
            answersSet_ = false;
            changed = true;
        }
        while (next_ < p.steps.size() && state_[next_] != State::Waiting) ++next_;
        OpenSteps();
    }
}

int Runner::SearchWalk(int from) const {
    from &= 31;
    if (land_ && from < land_->Count()) {
        for (int i = 0; i < land_->Count(); ++i)
            land_->Node(i)->Enabled =
                EventServerDbg &&
                EventServerDbg->TestFlg(kFirstPlaceOpenFlag + place::LandTown + i);
        for (int i = 1; i < land_->Count(); ++i) {
            if (i == from || !land_->Node(i)->Enabled) continue;
            std::int32_t route[kMaxRouteNodes] = {};
            if (land_->FindRoute(from, i, route) == 1) return i;
        }
    }
    return from == 1 ? 2 : 1;
}

int Runner::LandHops(int from, int to) const {
    if (from == to) return 0;
    int hops = -1;
    if (land_ && from < land_->Count() && to < land_->Count()) {
        // The open places, as the map sets them up.
        for (int i = 0; i < land_->Count(); ++i)
            land_->Node(i)->Enabled =
                EventServerDbg &&
                EventServerDbg->TestFlg(kFirstPlaceOpenFlag + place::LandTown + i);
        std::int32_t route[kMaxRouteNodes] = {};
        hops = land_->FindRoute(from, to, route);
    }
    return hops > 0 ? hops : 2;
}

int Runner::TravelFrom(int from, int to) const {
    if (to < 0) return 0;
    // In the night search the event server lets a walk take one hour, however far.
    if (Searching()) return from == to ? 0 : 1;
    // The shop and the rooms open onto their town node.
    if (from == kShopPlace || from == 11 || from == 20) from = 0;
    const bool fromLand = from >= place::LandTown && from != 44, toLand = to >= place::LandTown;
    const int a = (from == 44 ? 43 : from) & 31, b = to & 31;
    if (!fromLand && !toLand) return a == b ? 0 : 1;
    if (!fromLand) return (a == 8 ? 0 : 1) + LandHops(0, b);
    if (toLand) return LandHops(a, b);
    return LandHops(a, 0) + (b == 8 ? 0 : 1);
}

std::size_t Runner::StepDueFrom(int from) const {
    const Plan& p = plan();
    for (std::size_t i : Open()) {
        const PlanStep& s = p.steps[i];
        const int tried = triedOn_[i];
        if (s.place < 0 || tried == GameDay() || (!s.repeat && tried >= 0)) continue;
        // A place that is not open on the maps yet cannot be walked to.
        if (!EventServerDbg || !EventServerDbg->TestFlg(kFirstPlaceOpenFlag + s.place)) continue;
        // Only the night search walks on past midnight.
        const int walk = TravelFrom(from, s.place);
        if (!Searching() && GameHour() + walk > 23) continue;
        int day = 0, hour = 0;
        Arrival(GameDay(), GameHour(), walk, day, hour);
        if (route::WindowHolds(s, day, hour)) return i;
    }
    return kHome;
}

void Runner::SetOut(int from, std::size_t step) {
    const PlanStep& s = plan().steps[step];
    triedOn_[step] = GameDay();
    if (!trip_) trip_ = std::make_unique<Trip>();
    trip_->step = step;
    trip_->target = s.place;
    trip_->arrived = false;
    trip_->command = 0;
    trip_->detours = 0;
    trip_->mapClicks = 0;
    trip_->startDay = GameDay();
    trip_->startHour = GameHour();
    trip_->left = from != kShopPlace;
    std::deque<int> a;
    for (int n : s.answers) a.push_back(n - 1);
    a.insert(a.end(), 8, 0);
    player_->answers = a;
    answersFor_ = step;
}

int Runner::HomeBy() const {
    int by = 24;
    for (std::size_t i : Open()) {
        const PlanStep& s = plan().steps[i];
        const int tried = triedOn_[i];
        if (s.place < 0 || tried == GameDay() || (!s.repeat && tried >= 0)) continue;
        if (!EventServerDbg || !EventServerDbg->TestFlg(kFirstPlaceOpenFlag + s.place)) continue;
        const int walk = Travel(s.place);
        for (int h = GameHour() + walk; h <= 23; ++h)
            if (WindowHolds(s, h)) {
                by = std::min(by, h - walk);
                break;
            }
    }
    return by;
}

bool Runner::WindowHolds(const PlanStep& s, int hour) const {
    return route::WindowHolds(s, GameDay(), hour);
}

bool Runner::InShopIdle() const {
    if (!ShopForm || !ShopForm->Visible() || Showing(ShopForm->TitlePanel)) return false;
    if (Showing(MapFm) || Showing(EventServerDbg) || Place() != kShopPlace) return false;
    if (Showing(ItemMixForm) || Showing(ItemMixListForm) || Showing(SaveLoadMessageForm) ||
        Showing(ItemMixConfirmForm))
        return false;
    if (BtnForm && BtnForm->Visible()) return false;
    if (!HeroineIdle() || MixHoursLeft() > 0) return false;
    return ShopForm->PopupMenu1.AutoPopup && ShopForm->PendingAction == 0;
}

bool Runner::Click(const ui::Control& c) { return route::Click(backend_, c, kClickMs); }

bool Runner::ClickAt(ui::Point p, std::uint32_t ms) { return route::ClickAt(backend_, p, ms); }

int Runner::Carried() {
    int n = 0;
    for (int g = 0; g < kGoodsCount; ++g)
        if (IsShopGoods(g) && ItemBasePrice(g) < kPeddleMaxPrice) n += ItemReserve(g);
    return n;
}

int Runner::GoodsToCarry() {
    int best = -1;
    for (int g = 0; g < kGoodsCount; ++g) {
        if (!IsShopGoods(g) || ItemBasePrice(g) >= kPeddleMaxPrice || ItemAvailable(g) <= 0)
            continue;
        if (ItemStock(g) == kKeyItemStock) continue;
        if (best < 0 || ItemAvailable(g) > ItemAvailable(best)) best = g;
    }
    return best;
}

bool Runner::CarryStep() {
    TItemListForm* list = ItemListForm;
    if (!list || !list->Visible()) return false;
    const int g = GoodsToCarry();
    if (Carried() >= carry_ || g < 0 || carryPages_ > kCarryPages) {
        carry_ = 0;
        return Click(*list->CloseButton);
    }
    for (int r = 0; r < ItemListPageSize; ++r)
        if (ItemListRowItem(r) == g) return Click(*list->Rows[static_cast<std::size_t>(r)].Reserve);
    ++carryPages_;
    return Click(*list->NextPageButton);
}

bool Runner::TitleStep() {
    // Past the ending's sequence and the opening to the title's labels, then 新的遊戲.
    if (ui::GetTickCount() - titleClickAt_ < 300) return false;
    titleClickAt_ = ui::GetTickCount();
    if (ShopForm && Showing(ShopForm->TitlePanel) && Showing(ShopForm->TitleStartButton)) {
        Click(*ShopForm->TitleStartButton);
        StartGame();
        return true;
    }
    return ClickAt(ui::Point{320, 200}, 300);
}

bool Runner::Step() {
    if (playing_) AnswerOrder();
    if (!backend_.InputSettled() || backend_.ScriptLeft() != 0) return false;
    Observe();
    if (!stuck_.empty() || finished_) return false;
    if (!playing_) return TitleStep();
    CheckCaption();
    if (player_->answers.size() < 4) player_->answers.resize(8, 0);

    // A game hour passes every few virtual seconds; none for minutes is a soft lock.
    const std::uint32_t now = ui::GetTickCount();
    const int stamp = GameDay() * 24 + GameHour();
    if (stamp != lastHourSeen_) {
        lastHourSeen_ = stamp;
        lastClockMove_ = now;
    } else if (now - lastClockMove_ > kStuckMs && !ended_) {
        stuck_ = "no hour passed for " + std::to_string(kStuckMs / 60000) + " minutes at " +
                 When() + " (place " + std::to_string(Place()) + ")";
        return false;
    }

    if (ended_) {
        if (!ShopForm || !Showing(ShopForm->TitlePanel)) return false;
        Close();
        if (game_ + 1 < plans_.size()) {
            ++game_;
            playing_ = false;
            return false;
        }
        finished_ = true;
        return false;
    }
    if (SaveLoadMessageForm && SaveLoadMessageForm->Visible()) return shopkeeper_->Step();
    const Plan& p = plan();
    // Choices of a step in the shop take the plan's captions while its window holds, also
    // when its scene comes as she walks home (the forest maze starts at the shop's door).
    for (std::size_t i : Open()) {
        const PlanStep& s = p.steps[i];
        if (answersSet_) break;
        if (s.place < 0 && !s.answers.empty() && WindowHolds(s, GameHour())) {
            answersSet_ = true;
            std::deque<int> a;
            for (int n : s.answers) a.push_back(n - 1);
            a.insert(a.end(), 8, 0);
            player_->answers = a;
            answersFor_ = i;
        }
    }
    // While a scene plays only the player answers: the shopkeeper's clicks would go to the
    // dialogs left open under it (the slots' lists when the 09:00 scene comes).
    if (!trip_ && EventServerDbg && EventServerDbg->m_InEvent && !CommandMenuShown()) return false;
    // A scene that took her out of the shop leaves the slot dialogs of the morning's
    // laying out open, over the command menu: they are closed before she walks on.
    if (Showing(MapFm) || CommandMenuShown())
        for (TGameDialog* d : std::initializer_list<TGameDialog*>{
                 ExhibitionConfirmForm, ExhibitionListForm, ExhibitionForm})
            if (Showing(d)) return Click(*d->CloseButton);
    // The shopkeeper's own walk goes on until she is home again; a scene that leaves her
    // on the land map ends it: the runner walks her home from there.
    if (shopkeeperOut_ && !trip_) {
        if (!Showing(MapFm) && !Showing(EventServerDbg) && Place() == kShopPlace)
            shopkeeperOut_ = false;
        else if (Place() >= place::LandTown && !Showing(EventServerDbg) &&
                 !shopkeeper_->OnLandErrand())
            shopkeeperOut_ = false;
        else
            return shopkeeper_->Step();
    }
    // Out on the maps without a walk of ours (a scene left her there): walk on from here.
    if (!trip_ && (Showing(MapFm) || CommandMenuShown())) {
        trip_ = std::make_unique<Trip>();
        trip_->left = true;
        trip_->arrived = true;
    }
    if (trip_) return TripStep();
    if (carry_ > 0) {
        if (CarryStep()) return true;
        // The list did not open (the shop opened meanwhile): go without.
        if (InShopIdle() && !Showing(ItemListForm)) carry_ = 0;
        return false;
    }

    // The morning's slots before anything of the steps': a day she walks out early or
    // passes the hours to a window still opens with its goods laid out (stale slots that
    // sold out cost the evening a point of reputation).
    if (InShopIdle() && shopkeeper_->TendSlots()) return true;
    const int today = GameDay();
    if (const std::size_t due = InShopIdle() ? StepDueFrom(kShopPlace) : kHome; due != kHome) {
        const PlanStep& s = p.steps[due];
        // To peddle she carries goods: as many units as the step peddles, put in the
        // reserve from the item list while the shop is closed.
        const int peddles =
            static_cast<int>(std::count(s.commandIds.begin(), s.commandIds.end(), kPeddle));
        if (peddles > 0 && Carried() < peddles && GoodsToCarry() >= 0 && !ShopForm->IsShopOpen() &&
            carriedOn_ != today) {
            carriedOn_ = today;
            carry_ = peddles;
            carryPages_ = 0;
            return ChooseFromMenu(backend_, *ShopForm->Image1, ShopForm->PopupMenu1,
                                  {ShopForm->PM_ItemList}, kClickMs);
        }
        if (!ChooseFromMenu(backend_, *ShopForm->Image1, ShopForm->PopupMenu1,
                            {ShopForm->PM_ExitShop}, kClickMs))
            return false;
        SetOut(kShopPlace, due);
        lastClockMove_ = now;
        return true;
    }
    for (std::size_t i : Open()) {
        const PlanStep& s = p.steps[i];
        const int tried = triedOn_[i];
        const bool open = s.place < 0 || (EventServerDbg &&
                                          EventServerDbg->TestFlg(kFirstPlaceOpenFlag + s.place));
        if (s.place >= 0 && open && tried != today && (s.repeat || tried < 0) && InShopIdle()) {
            const int arrival = GameHour() + Travel(s.place);
            // The window opens within a few hours today: pass the hours without a new mix.
            for (int h = arrival + 1; h <= std::min(23, arrival + kHoldHours); ++h) {
                if (!WindowHolds(s, h)) continue;
                if (shopkeeper_->NextTurn()) return true;
                break;
            }
        }
        // A step `idle`: its scene wants her in the shop with nothing mixing (可可特's
        // answer), so in its hours and the few before them she starts no new mix.
        if (s.place < 0 && s.idle && InShopIdle())
            for (int h = GameHour(); h <= std::min(23, GameHour() + kHoldHours); ++h) {
                if (!WindowHolds(s, h)) continue;
                if (shopkeeper_->NextTurn()) return true;
                break;
            }
    }
    shopkeeper_->homeBy = HomeBy();
    const bool acted = shopkeeper_->Step();
    if (ShopForm && ShopForm->PendingAction == kExitPending) shopkeeperOut_ = true;
    return acted;
}

bool Runner::TripStep() {
    Trip& t = *trip_;
    if (Showing(MarketListForm)) return Click(*MarketListForm->CloseButton);
    // On the way home, or in the night search with the step's commands done (the land map
    // refuses the town), the next step may be due from where she stands: she walks on to it.
    const bool ready = CommandMenuShown() || (Showing(MapFm) && MapFm->m_WalkState == 0);
    const bool stepOver = t.step == kHome || (Searching() && t.arrived &&
                                              t.command >= plan().steps[t.step].commandIds.size());
    if (stepOver && t.left && ready)
        if (const std::size_t due = StepDueFrom(Place()); due != kHome) SetOut(Place(), due);
    if (CommandMenuShown()) {
        t.left = true;
        return TripMenu();
    }
    if (Showing(MapFm)) {
        t.left = true;
        return TripMap();
    }
    if (!t.left) {
        if (ui::GetTickCount() - lastClockMove_ > kLeaveMs && InShopIdle()) {
            std::fprintf(stderr, "playroute: %s: the heroine did not leave the shop\n",
                         When().c_str());
            trip_.reset();
            player_->answers.assign(8, 0);
            answersFor_ = kHome;
        }
        return false;
    }
    // Home again (or put there by a scene): the trip is over.
    if (ShopForm && ShopForm->Visible() && !Showing(MapFm) && !Showing(EventServerDbg) &&
        (Place() == kShopPlace || Place() == 11 || Place() == 20)) {
        if (!t.arrived && t.step != kHome)
            std::fprintf(stderr, "playroute: %s: step '%s' came home without reaching its place\n",
                         When().c_str(), plan().steps[t.step].name.c_str());
        trip_.reset();
        player_->answers.assign(8, 0);
        answersFor_ = kHome;
        answersSet_ = false;
    }
    return false;
}

bool Runner::TripMap() {
    Trip& t = *trip_;
    TMapFm& map = *MapFm;
    if (map.m_WalkState != 0 || !map.m_BtnStatus->Enabled()) return false;
    if (DbTxtForm2 && !DbTxtForm2->Visible()) return Click(*map.m_Img);
    if (++t.mapClicks > kMaxMapClicks) {
        Fail(t.step, "the map takes no more clicks at " + PlaceName(Place()));
        return false;
    }
    const int to = t.arrived || t.target < 0 ? 0 : t.target;
    const bool toLand = to >= place::LandTown;
    int node;
    if (map.m_Land) {
        node = toLand ? (to & 31) : 0;
        // The night search keeps her on the land, and a search where nothing turns up
        // passes no time: she walks on to a neighbouring place (an hour) and searches there.
        if (node == 0 && Searching()) node = SearchWalk(map.m_Dest);
    } else {
        node = toLand ? kOutskirts : to;
    }
    const MapPlace& mark = map.m_Land ? kLandPlaces[node] : kTownPlaces[node];
    // The place's name on the map, where the generated maps keep it in view.
    const ui::Point p = map.m_Img->ClientToScreen(ui::Point{mark.labelX, mark.labelY});
    if (ui::ControlAt(p.x, p.y) == map.m_Img) return ClickAt(p);
    // Another window (the message window, the clock) covers the place's name: the map's
    // menu of places instead, popped up with a right click on open map.
    const std::string caption = ui::Utf8ToBig5(mark.menuName);
    const ui::MenuItem* row = nullptr;
    std::string places;
    for (int i = 0; i < map.m_Ppm.Items.Count(); ++i) {
        const ui::MenuItem* item = map.m_Ppm.Items.Item(i);
        if (!item->Visible) continue;
        if (item->Caption == caption) row = item;
        places.append(" ").append(ui::Big5ToUtf8(item->Caption));
    }
    if (!row || !ChooseFromMenu(backend_, *map.m_Img, map.m_Ppm, {row}, kClickMs)) {
        Fail(t.step, std::string("no ") + mark.menuName + " in the map's menu of places: it shows" +
                         places);
        return false;
    }
    return true;
}

bool Runner::TripMenu() {
    Trip& t = *trip_;
    static const PlanStep kNoStep;
    const PlanStep& s = t.step == kHome ? kNoStep : plan().steps[t.step];
    TDbTxtForm2* win = DbTxtForm2;
    const std::vector<int> ids = MenuIds(transcript_);
    const int place = Place();
    if (!t.arrived && place == t.target) {
        t.arrived = true;
        Note(When() + " at " + s.at + " for step " + s.name);
    }
    auto has = [&](int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    auto pick = [&](int id) {
        const auto it = std::find(ids.begin(), ids.end(), id);
        return ClickCommandAt(backend_, static_cast<std::size_t>(it - ids.begin()), kClickMs);
    };
    if (t.arrived && t.command < s.commandIds.size()) {
        const int want = s.commandIds[t.command];
        if (has(want)) {
            ++t.command;
            t.detours = 0;
            return pick(want);
        }
        if (t.detours++ < kMaxDetours) {
            if (has(kMove)) return pick(kMove);
            if (has(kCancel)) return pick(kCancel);
        }
        std::string shown;
        for (int id : ids) shown.append(" ").append(CommandCaption(id));
        Fail(t.step, "no " + s.commands[t.command] + " in the menu at " + PlaceName(place) +
                         ": it shows" + shown);
        return false;
    }
    // On the way (or home): to the map, or in at the shop's door. In the night search on
    // the land, home is out of reach: she searches until it ends.
    const bool searching = place >= place::LandTown && Searching();
    if (searching && (t.arrived || t.target < 0))
        for (int id : {kSearch, kCancel})
            if (has(id)) return pick(id);
    const int want = ((t.arrived || t.target < 0) && place == 0) ? kEnter : kMap;
    for (int id : {want, kMove, kGoOut, kToSquare, kCancel})
        if (has(id)) return pick(id);
    return win->m_BtnCount > 0 &&
           ClickCommandAt(backend_, static_cast<std::size_t>(win->m_BtnCount - 1), kClickMs);
}

void Runner::Close() {
    if (!playing_) return;
    playing_ = false;
    const Plan& p = plan();
    Observe();
    for (std::size_t i = next_; i < p.steps.size(); ++i) {
        const PlanStep& s = p.steps[i];
        if (state_[i] != State::Waiting || s.optional || StepDone(i)) continue;
        faults_.push_back("step '" + s.name + "' (" + p.file + ":" + std::to_string(s.line) +
                          ") was never done");
    }
    const std::string want = "slot " + std::to_string(p.endingSlot ? p.endingSlot : -1) +
                             " number " + std::to_string(p.endingNumber);
    bool reached = false;
    if (p.endingSlot == 0) {
        const bool crisis =
            std::find(events_.begin(), events_.end(), "EvEnding000") != events_.end();
        int slot = -1, number = -1;
        std::sscanf(endingText_.c_str(), "slot %d number %d", &slot, &number);
        reached = crisis && number == p.endingNumber;
    } else {
        reached = endingText_ == want;
    }
    if (!reached)
        faults_.push_back(
            "game " + std::to_string(game_ + 1) + " (" + p.file + ") ended in " +
            (endingText_.empty() ? std::string("no ending") : endingText_) + ", not " +
            (p.endingSlot == 0 ? "the crisis and number " + std::to_string(p.endingNumber) : want));
}

}  // namespace route
