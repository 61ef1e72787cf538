// The events of the look, search, turn-start and move tables whose bodies are still to
// be written: each stands as its exact condition chain, so that the walks try the
// slots in their final order and draw the same random numbers. When a chain holds it
// records the event's name and returns false. One section per arc; each goes when
// the arc's bodies come.
#include "platform/Transcript.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

bool story::Pending(const char* name) {
    ui::Record("event", std::string(name) + " pending");
    return false;
}

namespace {

// The characters' kinds, as the whereabouts test takes them.
constexpr int kFlorae = 0;
constexpr int kRenette = 1;
constexpr int kCocotte = 3;

}  // namespace

// 可可特, the evening walk and the shop's days

namespace {

// 可可特 in her shop's room, where the visit command has let the heroine in.
bool CocotteInShop(TEventServerDbg* ev) { return ev->ChkNpc(kCocotte, 13) && ev->ChkPlace(13); }

// 可可特 met in town: at the shop front, 芙蘿蕾's house, the square, the bakery, the park
// or the event ground, tried in this order; each try asks her schedule afresh.
bool CocotteInTown(TEventServerDbg* ev) {
    for (int place : {0, 1, 3, 4, 5, 6})
        if (ev->ChkNpc(kCocotte, place) && ev->ChkPlace(place)) return true;
    return false;
}

// The schedule that answered last was one of her working-day ones, not the rest day's.
// Read from the server's field, so the override does not make it hold.
bool CocotteOnWeekdaySchedule(const TEventServerDbg* ev) {
    const int v = ev->m_ScheduleVariant;
    return v == 0 || v == 1 || v == 3 || v == 4;
}

}  // namespace

bool EvTurnStart009() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::CocotteChosenDay, 3, 300)) return false;
    if (!ev->ChkDay(264, 300)) return false;
    if (!ev->ChkPlace(10)) return false;
    if (!ev->ChkHour(13, 16)) return false;
    if (!ev->ChkNot(ev->ChkWeekday(5))) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvTurnStart009");
}

bool EvTurnStart014() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::BathWithCocotte, false)) return false;
    if (!ev->ChkVar(var::CocotteMeetingCount, 10, 0, false)) return false;
    if (!ev->ChkDay(156, 75)) return false;
    if (!ev->ChkPlace(10)) return false;
    if (!ev->ChkHour(19, 22)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::Pending("EvTurnStart014");
}

bool EvTurnStart017() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkMixedItem()) return false;
    if (!ev->ChkFlg(flag::FirstOwnPotion, false)) return false;
    return story::Pending("EvTurnStart017");
}

bool EvTurnStart018() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(36, 24)) return false;
    if (!ev->ChkHour(20, 22)) return false;
    if (!ev->ChkFlg(flag::OwnMagicCandy, false)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::Pending("EvTurnStart018");
}

bool EvTurnStart019() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(49, 1)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    return story::Pending("EvTurnStart019");
}

bool EvTurnStart020() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(72, 48)) return false;
    if (!ev->ChkFlg(flag::RenetteHelpedOrder, false)) return false;
    if (!ev->IsRecipeKnown(18)) return false;
    if (!ev->ChkFlg(flag::ChocolateOrder, false)) return false;
    if (!ev->ChkHour(18, 20)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::Pending("EvTurnStart020");
}

bool EvTurnStart021() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(10)) return false;
    if (!ev->ChkVar(var::SilentVisitCount, 7, 0, false)) return false;
    if (!ev->ChkFlg(flag::BakeryNewCake, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    return story::Pending("EvTurnStart021");
}

bool EvTurnStart023() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(60, 35)) return false;
    if (!ev->ChkFlg(flag::FlowerbedFirstVisit, true)) return false;
    if (!ev->ChkFlg(flag::RenetteMet, true)) return false;
    if (!ev->ChkFlg(flag::CocotteMet, true)) return false;
    if (!ev->ChkFlg(flag::FeleMet, true)) return false;
    if (!ev->ChkVar(var::CocotteMeetingCount, 5, 0, false)) return false;
    if (!ev->ChkHour(21, 23)) return false;
    if (!ev->ChkFlg(flag::EveningWalk, false)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::Pending("EvTurnStart023");
}

bool EvTurnStart027() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::BathAfterEnding, false)) return false;
    if (!(ev->ChkFlg(flag::EndingFloraeSeen, true) || ev->ChkFlg(flag::EndingPrinceSeen, true) ||
          ev->ChkFlg(flag::EndingRenetteSeen, true) || ev->ChkFlg(flag::EndingCocotteSeen, true)))
        return false;
    if (!ev->ChkHour(20, 21)) return false;
    if (!ev->ChkPlace(10)) return false;
    if (!ev->ChkRandom(30)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::Pending("EvTurnStart027");
}

bool EvMove015() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::IntroRivalShopRoom, false)) return false;
    if (!ev->ChkPlace(13)) return false;
    if (!ev->ChkNpc(kCocotte, 13)) return false;
    if (!ev->ChkPlace(13)) return false;
    return story::Pending("EvMove015");
}

bool EvMove016() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::CocotteQuestionDone, false)) return false;
    if (!ev->ChkVar(var::CocotteMeetingCount, 20, 0, false)) return false;
    if (!ev->ChkDay(204, 300)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk8, true)) return false;
    if (!ev->ChkNpc(kCocotte, 13)) return false;
    if (!ev->ChkPlace(13)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove016");
}

bool EvMove049() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(12, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk1, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove049");
}

bool EvMove050() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(36, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk1, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk2, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove050");
}

bool EvMove051() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(60, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk2, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk3, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove051");
}

bool EvMove052() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(84, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk3, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk4, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove052");
}

bool EvMove053() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(108, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk4, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk5, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove053");
}

bool EvMove054() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(132, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk5, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk6, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove054");
}

bool EvMove055() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(156, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk6, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk7, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove055");
}

bool EvMove056() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(180, 400)) return false;
    if (!ev->ChkVar(var::CocotteMeetingCount, 20, 0, false)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk7, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk8, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove056");
}

bool EvMove130() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(149, 42)) return false;
    if (!ev->ChkWeekday(5)) return false;
    if (!CocotteInTown(ev)) return false;
    if (!ev->ChkFlg(flag::CocotteSwayingWalk, false)) return false;
    return story::Pending("EvMove130");
}

bool EvMove131() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(40)) return false;
    if (!CocotteInTown(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove131");
}

bool EvMove132() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!CocotteInTown(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove132");
}

bool EvMove133() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(40)) return false;
    if (!CocotteInTown(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove133");
}

bool EvMove134() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::CocotteMet, true)) return false;
    if (!ev->ChkDay(96, 400)) return false;
    if (!ev->ChkNpc(kCocotte, 5)) return false;
    if (!ev->ChkPlace(5)) return false;
    if (!ev->ChkFlg(flag::CocotteMelodrama, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove134");
}

bool EvMove135() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(kCocotte, 3)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!CocotteOnWeekdaySchedule(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove135");
}

bool EvMove136() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::IntroRivalShopRoom, true)) return false;
    if (!ev->ChkNpc(kCocotte, 2)) return false;
    if (!ev->ChkPlace(2)) return false;
    if (!CocotteOnWeekdaySchedule(ev)) return false;
    return story::Pending("EvMove136");
}

bool EvMove147() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkFlg(flag::CocotteCrush, true)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove147");
}

bool EvMove148() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkFlg(flag::CocotteCrush, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::Pending("EvMove148");
}

bool EvMove189() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, true)) return false;
    return story::Pending("EvMove189");
}

bool EvMove190() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(40)) return false;
    if (!CocotteInTown(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, true)) return false;
    return story::Pending("EvMove190");
}
