// 蕾妮特 on the land map: at the crater, the beach, the spring and the waterfall, and by
// chance at eight places; the volcano and love-potion commissions; the great wizard's
// two talks. Their lines are in story/text/RenetteLand.txt.
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"
#include "town/Whereabouts.h"

namespace {

// 蕾妮特 met on the land map: at the cave, the spring, the forest, the mountain path,
// the big tree, the beach, the crater or the lake, tried in this order; each try asks
// her schedule afresh.
bool RenetteOnLand(TEventServerDbg* ev) {
    for (int p : {place::Cave, place::ForestSpring, place::Forest, place::MountainPath,
                  place::BigTree, place::Beach, place::Crater, place::Lake})
        if (ev->ChkNpc(npc::Renette, p) && ev->ChkPlace(p)) return true;
    return false;
}

// The beach's hours by weekday: the rest day 13..17, weekdays 0, 2 and 4 at 14 or 16,
// weekdays 1 and 3 at 13, 15 or 17.
bool BeachHours(TEventServerDbg* ev) {
    if (ev->ChkWeekday(5) && ev->ChkHour(13, 17)) return true;
    if (ev->ChkWeekday(0) || ev->ChkWeekday(2) || ev->ChkWeekday(4))
        return ev->ChkHour(14, 14) || ev->ChkHour(16, 16);
    if (ev->ChkWeekday(1) || ev->ChkWeekday(3))
        return ev->ChkHour(13, 13) || ev->ChkHour(15, 15) || ev->ChkHour(17, 17);
    return false;
}

}  // namespace

// The tremor at the crater, some weeks after the first meeting there; it opens the
// notice of the volcano commission.
bool EvMove112() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(108, 24)) return false;
    if (!ev->ChkFlg(flag::RenetteAtCrater, true)) return false;
    if (!ev->ChkPlace(place::Crater)) return false;
    if (!ev->ChkFlg(flag::VolcanoTremor, false)) return false;
    return story::RunEvent("EvMove112");
}

// The commission done: the stone thrown into the crater. The stone is not used up.
bool EvMove113() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::VolcanoCommission, true)) return false;
    if (!ev->ChkItem(item::GlacierPebble, 1)) return false;
    if (!ev->ChkPlace(place::Crater)) return false;
    // The same 19 days as the reminder's: on the last day before the deadline a
    // heroine holding the stone can still use it.
    if (!ev->ChkDayMark(mark::VolcanoNotice, 0, 19)) return false;
    if (!ev->ChkFlg(flag::VolcanoCommissionDone, false)) return false;
    return story::RunEvent("EvMove113");
}

// At the crater with the commission taken and no stone in hand.
bool EvMove114() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::VolcanoCommission, true)) return false;
    if (!ev->ChkPlace(place::Crater)) return false;
    if (!ev->ChkDayMark(mark::VolcanoNotice, 0, 19)) return false;
    if (!ev->ChkFlg(flag::VolcanoCommissionDone, false)) return false;
    return story::RunEvent("EvMove114");
}

// The love potion's recipe, in the book 蕾妮特 left open at the library.
bool EvMove125() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::LovePotionCommission, true)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommissionDone, false)) return false;
    if (!ev->ChkFlg(flag::LovePotionRecipe, false)) return false;
    if (!ev->ChkPlace(place::Library)) return false;
    if (!ev->ChkDayMark(mark::LovePotionNotice, 0, 6)) return false;
    return story::RunEvent("EvMove125");
}

// The hot spring with both materials: the frozen spring, her letter, the potion made
// and delivered.
bool EvMove126() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::LovePotionRecipe, true)) return false;
    if (!ev->ChkItem(item::Kiwiberry, 1)) return false;
    if (!ev->ChkItem(item::ScentedOil, 1)) return false;
    if (!ev->ChkPlace(place::HotSpring)) return false;
    if (!ev->ChkDayMark(mark::LovePotionNotice, 0, 6)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommission, true)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommissionDone, false)) return false;
    return story::RunEvent("EvMove126");
}

// The hot spring with only one of the two materials.
bool EvMove127() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::LovePotionCommission, true)) return false;
    if (!ev->ChkFlg(flag::LovePotionRecipe, true)) return false;
    if (!(ev->ChkItem(item::Kiwiberry, 1) || ev->ChkItem(item::ScentedOil, 1))) return false;
    if (!ev->ChkPlace(place::HotSpring)) return false;
    if (!ev->ChkDayMark(mark::LovePotionNotice, 0, 6)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommissionDone, false)) return false;
    return story::RunEvent("EvMove127");
}

// The great wizard tells how the heroine's father died, before 蕾妮特 runs away.
bool EvMove129() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::PurificationDay, 0, 400)) return false;
    if (!ev->ChkFlg(flag::RenetteRanAway, false)) return false;
    if (!ev->ChkPlace(place::WizardHouseInside)) return false;
    if (!ev->ChkFlg(flag::FathersTruthTold, false)) return false;
    return story::RunEvent("EvMove129");
}

// The crater in the third and fourth months: 蕾妮特's secret experiment; longer hours
// on the rest day.
bool EvMove138() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(48, 48)) return false;
    if (!ev->ChkPlace(place::Crater)) return false;
    if (!((ev->ChkWeekday(5) && ev->ChkHour(12, 18)) || ev->ChkHour(15, 18))) return false;
    if (!ev->ChkFlg(flag::RenetteAtCrater, false)) return false;
    return story::RunEvent("EvMove138");
}

// The beach in the eighth month: the untested magic swimsuit.
bool EvMove139() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(168, 24)) return false;
    if (!ev->ChkPlace(place::Beach)) return false;
    if (!ev->ChkFlg(flag::RenetteAtBeach, false)) return false;
    if (!BeachHours(ev)) return false;
    return story::RunEvent("EvMove139");
}

// The spring and the waterfall while her route is not taken: each member asks her
// schedule afresh, so a later one can find her where an earlier one did not.
bool EvMove140() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Renette, place::ForestSpring)) return false;
    if (!ev->ChkPlace(place::ForestSpring)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::RunEvent("EvMove140");
}

bool EvMove141() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Renette, place::ForestSpring)) return false;
    if (!ev->ChkPlace(place::ForestSpring)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::RunEvent("EvMove141");
}

bool EvMove142() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Renette, place::ForestSpring)) return false;
    if (!ev->ChkPlace(place::ForestSpring)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::RunEvent("EvMove142");
}

bool EvMove143() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Renette, place::Waterfall)) return false;
    if (!ev->ChkPlace(place::Waterfall)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::RunEvent("EvMove143");
}

bool EvMove144() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Renette, place::Waterfall)) return false;
    if (!ev->ChkPlace(place::Waterfall)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::RunEvent("EvMove144");
}

// Chance meetings before her route: the chance is drawn first, wherever the heroine is.
bool EvMove152() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::RunEvent("EvMove152");
}

bool EvMove153() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::RunEvent("EvMove153");
}

bool EvMove154() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::RunEvent("EvMove154");
}

bool EvMove155() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(10)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::RunEvent("EvMove155");
}

bool EvMove156() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::RunEvent("EvMove156");
}

bool EvMove157() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::RunEvent("EvMove157");
}

// The night of the search: the wizard tells her how to find 蕾妮特.
bool EvMove188() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::NightSearch, true)) return false;
    if (!ev->ChkPlace(place::WizardHouseInside)) return false;
    if (!ev->ChkFlg(flag::WizardAdvice, false)) return false;
    return story::RunEvent("EvMove188");
}

// The chance meeting after her route.
bool EvMove191() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(40)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, true)) return false;
    return story::RunEvent("EvMove191");
}
