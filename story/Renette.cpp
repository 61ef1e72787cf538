// 蕾妮特's arc: the magic contest, the first meeting, the quarrel, the big tree, her
// attack and the great wizard, the purification or the earthquake, the night search
// and the cave. Each event tests its conditions in the order the walks rely on (the
// draws follow from it); its body is the scene "main" of its event in
// story/text/Renette.txt.
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

using story::RunEvent;

// 蕾妮特 burns the town; the great wizard teaches the purifying spell.
bool EvTurnStart012() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::RenetteCrisis, false)) return false;
    if (!ev->ChkDay(234, 300)) return false;
    if (!ev->ChkHour(9, 10)) return false;
    if (!ev->ChkFlg(flag::RenetteAtBigTree, true)) return false;
    if (!ev->ChkFlg(flag::WizardFound, true)) return false;
    return RunEvent("EvTurnStart012");
}

// 可可特's plea; the night search begins.
bool EvTurnStart013() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    // From the day after the purification once the wizard has told the truth, else
    // from the seventh day; a test failing in the first list goes on to the second.
    const bool told = ev->ChkDayMark(mark::PurificationDay, 1, 400) &&
                      ev->ChkFlg(flag::FathersTruthTold, true) && ev->ChkPlace(place::ShopInside) &&
                      ev->ChkHour(18, 21) && ev->ChkFlg(flag::RenetteMissingNight, false) &&
                      ev->ChkNot(ev->ChkMixing());
    if (!told && !(ev->ChkDayMark(mark::PurificationDay, 7, 400) &&
                   ev->ChkPlace(place::ShopInside) && ev->ChkHour(19, 23) &&
                   ev->ChkFlg(flag::RenetteMissingNight, false) && ev->ChkNot(ev->ChkMixing())))
        return false;
    return RunEvent("EvTurnStart013");
}

// Too late for the purification: the earthquake, from the seventh day after the attack.
bool EvTurnStart022() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::FirstAttackDay, 7, 400)) return false;
    if (!ev->ChkFlg(flag::RenettePurified, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    if (!ev->ChkFlg(flag::EarthquakeDone, false)) return false;
    return RunEvent("EvTurnStart022");
}

// 蕾妮特 drops in, for a heroine who did not meet her at her shop in the first days.
bool EvTurnStart024() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(6, 400)) return false;
    if (!ev->ChkFlg(flag::RenetteMet, false)) return false;
    // Working days 14:00..17:00, the rest day 10:00..17:00.
    if (!(ev->ChkWeekday(-1) && ev->ChkHour(14, 17)) && !(ev->ChkWeekday(5) && ev->ChkHour(10, 17)))
        return false;
    return RunEvent("EvTurnStart024");
}

// The contest morning: 黑皮's reminder.
bool EvTurnStart028() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(125, 1)) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    return RunEvent("EvTurnStart028");
}

namespace {

// The purification's conditions both twins test, in their order: within six days of
// the first attack, the three materials held (tested, never taken), not yet purified,
// in the shop.
bool PurificationDue(TEventServerDbg* ev) {
    if (!ev->ChkDayMark(mark::FirstAttackDay, 0, 6)) return false;
    if (!ev->ChkItem(item::MothersNecklace, 1)) return false;
    if (!ev->ChkItem(item::LongingStone, 1)) return false;
    if (!ev->ChkItem(item::LightStone, 1)) return false;
    if (!ev->ChkFlg(flag::RenettePurified, false)) return false;
    return ev->ChkPlace(place::ShopInside);
}

}  // namespace

// The purification at the shop's hour: only while no mix runs.
bool EvTurnStart029() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!PurificationDue(ev)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return RunEvent("EvTurnStart029");
}

// The magic contest: the duel's scenes lead one into another by the choices made.
bool EvMove005() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::MagicContestHeld, false)) return false;
    if (!ev->ChkDay(125, 1)) return false;
    if (!ev->ChkHour(10, 13)) return false;
    if (!ev->ChkPlace(place::EventGround)) return false;
    return RunEvent("EvMove005");
}

// The first meeting in front of 微笑魔法店: in the first days, before its introduction.
bool EvMove012() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(0, 6)) return false;
    if (!ev->ChkFlg(flag::IntroRivalShop, false)) return false;
    if (!ev->ChkPlace(place::RivalShop)) return false;
    return RunEvent("EvMove012");
}

// The quarrel at the square.
bool EvMove013() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::RenetteQuarrel, false)) return false;
    if (!ev->ChkDay(192, 300)) return false;
    if (!ev->ChkHour(14, 18)) return false;
    if (!ev->ChkFlg(flag::RenetteMet, true)) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    return RunEvent("EvMove013");
}

// 蕾妮特 alone at the big tree.
bool EvMove014() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::RenetteAtBigTree, false)) return false;
    if (!ev->ChkDay(210, 300)) return false;
    if (!ev->ChkHour(14, 17)) return false;
    if (!ev->ChkFlg(flag::RenetteQuarrel, true)) return false;
    if (!ev->ChkPlace(place::BigTree)) return false;
    return RunEvent("EvMove014");
}

// The purification on coming home, mix or no mix.
bool EvMove017() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!PurificationDue(ev)) return false;
    return RunEvent("EvMove017");
}

// The cave: the end of the night search and 蕾妮特's confession.
bool EvMove145() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::NightSearch, true)) return false;
    if (!ev->ChkFlg(flag::HeipiIllnessDone, true)) return false;
    if (!ev->ChkFlg(flag::RenetteHelpedOrder, true)) return false;
    if (!ev->ChkFlg(flag::FathersTruthTold, true)) return false;
    if (!ev->ChkFlg(flag::RenetteFoundAtBigTree, true)) return false;
    if (!ev->ChkPlace(place::Cave)) return false;
    if (!ev->ChkFlg(flag::RenetteSaved, false)) return false;
    return RunEvent("EvMove145");
}

// The big tree in the night search: nobody the first time, 蕾妮特 the second.
bool EvSearch001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::NightSearch, true)) return false;
    if (!ev->ChkPlace(place::BigTree)) return false;
    if (!ev->ChkFlg(flag::RenetteFoundAtBigTree, false)) return false;
    return RunEvent("EvSearch001");
}

// Dawn in the night search: home, and 可可特.
bool EvSearch002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(5, 6)) return false;
    if (!ev->ChkFlg(flag::NightSearch, true)) return false;
    if (!ev->ChkFlg(flag::DawnWithCocotte, false)) return false;
    return RunEvent("EvSearch002");
}

// Anywhere else in the night search: no trace.
bool EvSearch003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::NightSearch, true)) return false;
    return RunEvent("EvSearch003");
}
