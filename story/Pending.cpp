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

// 芙蘿蕾's fever, the forest maze and her bedside

bool EvTurnStart000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FeverExplained, false)) return false;
    if (!ev->ChkFlg(flag::FloraeCollapsed, true)) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 1, 1)) return false;
    if (!ev->ChkFlg(flag::FeverBeganAtTurnStart, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    return story::Pending("EvTurnStart000");
}

bool EvTurnStart001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeCollapsed, true)) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 18, 20)) return false;
    if (!ev->ChkFlg(flag::MazeCompleted, false)) return false;
    if (!ev->ChkFlg(flag::FlowerCrownGiven, true)) return false;
    if (!ev->ChkVar(var::BedsideVisitCount, 5, 0, false)) return false;
    if (!ev->IsRecipeKnown(54)) return false;
    if (!ev->ChkHour(18, 22)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::Pending("EvTurnStart001");
}

bool EvTurnStart002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::WizardFound, true)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    if (!ev->ChkFlg(flag::FloraeDied, false)) return false;
    if (!ev->ChkItem(62, 1)) return false;
    if (!ev->ChkFlg(flag::CurePotionReady, false)) return false;
    return story::Pending("EvTurnStart002");
}

bool EvTurnStart003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeEndPlayed, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    // A maze given up ends the fever at once; otherwise its days and the visits decide.
    if (!ev->ChkFlg(flag::MazeGivenUp, true)) {
        if (!ev->ChkDayMark(mark::FeverBegan, 24, 100)) return false;
        if (!ev->ChkVar(var::BedsideVisitCount, 3, 0, false)) return false;
        if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    }
    return story::Pending("EvTurnStart003");
}

bool EvTurnStart004() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeEndPlayed, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 24, 100)) return false;
    if (!ev->ChkVar(var::BedsideVisitCount, 2, 1, false)) return false;
    return story::Pending("EvTurnStart004");
}

bool EvTurnStart005() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkVar(var::SilentVisitCount, 8, 0, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    if (!ev->ChkFlg(flag::FloraeSpeaksAgain, false)) return false;
    return story::Pending("EvTurnStart005");
}

bool EvTurnStart015() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(9, 9)) return false;
    if (!ev->ChkFlg(flag::FloraeCollapsed, false)) return false;
    if (!ev->ChkFlg(flag::FeverBeganAtTurnStart, false)) return false;
    if (!ev->ChkDay(235, 100)) return false;
    if (!ev->ChkNot(ev->ChkWeekday(5))) return false;
    return story::Pending("EvTurnStart015");
}

bool EvMove001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeCollapsed, true)) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 18, 20)) return false;
    if (!ev->ChkFlg(flag::MazeCompleted, false)) return false;
    if (!ev->ChkFlg(flag::FlowerCrownGiven, true)) return false;
    if (!ev->ChkVar(var::BedsideVisitCount, 5, 0, false)) return false;
    if (!ev->IsRecipeKnown(54)) return false;
    if (!ev->ChkHour(18, 22)) return false;
    if (!ev->ChkPlace(10)) return false;
    return story::Pending("EvMove001");
}

bool EvMove002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeCollapsed, true)) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 1, 23)) return false;
    if (!ev->ChkFlg(flag::WizardFound, true)) return false;
    if (!ev->ChkFlg(flag::FloraeDied, false)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    if (!ev->ChkItem(62, 1)) return false;
    if (!ev->ChkPlace(12)) return false;
    return story::Pending("EvMove002");
}

bool EvMove003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, true)) return false;
    if (!ev->ChkFlg(flag::FloraeBlindVisit, false)) return false;
    return story::Pending("EvMove003");
}

bool EvMove004() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkItem(44, 1)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::FloraeSightRestored, false)) return false;
    return story::Pending("EvMove004");
}

bool EvMove018() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeVanished, true)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::EmptyRoomFound, false)) return false;
    return story::Pending("EvMove018");
}

bool EvMove023() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 1, 5)) return false;
    if (!ev->ChkFlg(flag::BedsideWindow1, false)) return false;
    if (!ev->ChkNpc(kFlorae, 12)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    return story::Pending("EvMove023");
}

bool EvMove024() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 1, 5)) return false;
    if (!ev->ChkFlg(flag::BedsideWindow1, true)) return false;
    if (!ev->ChkNpc(kFlorae, 12)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    return story::Pending("EvMove024");
}

bool EvMove025() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 6, 5)) return false;
    if (!ev->ChkFlg(flag::BedsideWindow2, false)) return false;
    if (!ev->ChkNpc(kFlorae, 12)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    return story::Pending("EvMove025");
}

bool EvMove026() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 6, 5)) return false;
    if (!ev->ChkFlg(flag::BedsideWindow2, true)) return false;
    if (!ev->ChkNpc(kFlorae, 12)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    return story::Pending("EvMove026");
}

bool EvMove027() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 11, 4)) return false;
    if (!ev->ChkFlg(flag::BedsideWindow3, false)) return false;
    if (!ev->ChkNpc(kFlorae, 12)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    return story::Pending("EvMove027");
}

bool EvMove028() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 11, 4)) return false;
    if (!ev->ChkFlg(flag::BedsideWindow3, true)) return false;
    if (!ev->ChkNpc(kFlorae, 12)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    return story::Pending("EvMove028");
}

bool EvMove029() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 15, 3)) return false;
    if (!ev->ChkFlg(flag::BedsideWindow4, false)) return false;
    if (!ev->ChkNpc(kFlorae, 12)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    return story::Pending("EvMove029");
}

bool EvMove030() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 15, 3)) return false;
    if (!ev->ChkFlg(flag::BedsideWindow4, true)) return false;
    if (!ev->ChkNpc(kFlorae, 12)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    return story::Pending("EvMove030");
}

bool EvMove031() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 18, 3)) return false;
    if (!ev->ChkNpc(kFlorae, 12)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    return story::Pending("EvMove031");
}

bool EvMove032() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FeverBegan, 21, 3)) return false;
    if (!ev->ChkFlg(flag::BedsideUnconscious, false)) return false;
    if (!ev->ChkNpc(kFlorae, 12)) return false;
    if (!ev->ChkPlace(12)) return false;
    if (!ev->ChkFlg(flag::PotionGiven, false)) return false;
    return story::Pending("EvMove032");
}

// The library's ghost night

bool EvMove124() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(132, 34)) return false;
    if (!ev->ChkFlg(flag::GhostNight, false)) return false;
    if (!ev->ChkFlg(flag::LibraryMeeting4, true)) return false;
    if (!ev->ChkNpc(kFlorae, 17)) return false;
    if (!ev->ChkPlace(17)) return false;
    if (!ev->m_ScheduleVariant == 0) return false;
    return story::Pending("EvMove124");
}

// 蕾妮特 on the land map, the two commissions and the great wizard

namespace {

// 蕾妮特 met on the land map: at the cave, the spring, the forest, the mountain path,
// the big tree, the beach, the crater or the lake, tried in this order; each try asks
// her schedule afresh.
bool RenetteOnLand(TEventServerDbg* ev) {
    for (int place : {36, 34, 33, 37, 39, 41, 38, 40})
        if (ev->ChkNpc(kRenette, place) && ev->ChkPlace(place)) return true;
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

bool EvMove112() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(108, 24)) return false;
    if (!ev->ChkFlg(flag::RenetteAtCrater, true)) return false;
    if (!ev->ChkPlace(38)) return false;
    if (!ev->ChkFlg(flag::VolcanoTremor, false)) return false;
    return story::Pending("EvMove112");
}

bool EvMove113() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::VolcanoCommission, true)) return false;
    if (!ev->ChkItem(63, 1)) return false;
    if (!ev->ChkPlace(38)) return false;
    if (!ev->ChkDayMark(mark::VolcanoNotice, 0, 18)) return false;
    if (!ev->ChkFlg(flag::VolcanoCommissionDone, false)) return false;
    return story::Pending("EvMove113");
}

bool EvMove114() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::VolcanoCommission, true)) return false;
    if (!ev->ChkPlace(38)) return false;
    if (!ev->ChkDayMark(mark::VolcanoNotice, 0, 19)) return false;
    if (!ev->ChkFlg(flag::VolcanoCommissionDone, false)) return false;
    return story::Pending("EvMove114");
}

bool EvMove125() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::LovePotionCommission, true)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommissionDone, false)) return false;
    if (!ev->ChkFlg(flag::LovePotionRecipe, false)) return false;
    if (!ev->ChkPlace(17)) return false;
    if (!ev->ChkDayMark(mark::LovePotionNotice, 0, 6)) return false;
    return story::Pending("EvMove125");
}

bool EvMove126() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::LovePotionRecipe, true)) return false;
    if (!ev->ChkItem(81, 1)) return false;
    if (!ev->ChkItem(92, 1)) return false;
    if (!ev->ChkPlace(42)) return false;
    if (!ev->ChkDayMark(mark::LovePotionNotice, 0, 6)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommission, true)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommissionDone, false)) return false;
    return story::Pending("EvMove126");
}

bool EvMove127() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::LovePotionCommission, true)) return false;
    if (!ev->ChkFlg(flag::LovePotionRecipe, true)) return false;
    if (!(ev->ChkItem(81, 1) || ev->ChkItem(92, 1))) return false;
    if (!ev->ChkPlace(42)) return false;
    if (!ev->ChkDayMark(mark::LovePotionNotice, 0, 6)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommissionDone, false)) return false;
    return story::Pending("EvMove127");
}

bool EvMove129() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::PurificationDay, 0, 400)) return false;
    if (!ev->ChkFlg(flag::RenetteRanAway, false)) return false;
    if (!ev->ChkPlace(44)) return false;
    if (!ev->ChkFlg(flag::FathersTruthTold, false)) return false;
    return story::Pending("EvMove129");
}

bool EvMove138() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(48, 48)) return false;
    if (!ev->ChkPlace(38)) return false;
    if (!((ev->ChkWeekday(5) && ev->ChkHour(12, 18)) || ev->ChkHour(15, 18))) return false;
    if (!ev->ChkFlg(flag::RenetteAtCrater, false)) return false;
    return story::Pending("EvMove138");
}

bool EvMove139() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(168, 24)) return false;
    if (!ev->ChkPlace(41)) return false;
    if (!ev->ChkFlg(flag::RenetteAtBeach, false)) return false;
    if (!BeachHours(ev)) return false;
    return story::Pending("EvMove139");
}

bool EvMove140() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(kRenette, 34)) return false;
    if (!ev->ChkPlace(34)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::Pending("EvMove140");
}

bool EvMove141() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(kRenette, 34)) return false;
    if (!ev->ChkPlace(34)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::Pending("EvMove141");
}

bool EvMove142() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(kRenette, 34)) return false;
    if (!ev->ChkPlace(34)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::Pending("EvMove142");
}

bool EvMove143() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(kRenette, 35)) return false;
    if (!ev->ChkPlace(35)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::Pending("EvMove143");
}

bool EvMove144() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(kRenette, 35)) return false;
    if (!ev->ChkPlace(35)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::Pending("EvMove144");
}

bool EvMove152() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::Pending("EvMove152");
}

bool EvMove153() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::Pending("EvMove153");
}

bool EvMove154() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::Pending("EvMove154");
}

bool EvMove155() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(10)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::Pending("EvMove155");
}

bool EvMove156() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::Pending("EvMove156");
}

bool EvMove157() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return false;
    return story::Pending("EvMove157");
}

bool EvMove188() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::NightSearch, true)) return false;
    if (!ev->ChkPlace(44)) return false;
    if (!ev->ChkFlg(flag::WizardAdvice, false)) return false;
    return story::Pending("EvMove188");
}

bool EvMove191() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(40)) return false;
    if (!RenetteOnLand(ev)) return false;
    if (!ev->ChkFlg(flag::RouteRenette, true)) return false;
    return story::Pending("EvMove191");
}
