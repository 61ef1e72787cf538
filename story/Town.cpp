// The town's small events: the peddle refusals, the hot spring found by searching the
// forest, and 蕾妮特's visit when she finished a commission first. Their lines are
// in story/text/Town.txt.
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

using story::RunEvent;

// The rival shop in its hours, before 蕾妮特 ran away.
bool EvPeddle000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::RivalShop)) return false;
    if (!ev->ChkFlg(flag::RenetteRanAway, false)) return false;
    if (!ev->ChkHour(10, 18)) return false;
    return RunEvent("EvPeddle000");
}

// The rival shop at other hours.
bool EvPeddle001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::RivalShop)) return false;
    if (!ev->ChkFlg(flag::RenetteRanAway, false)) return false;
    return RunEvent("EvPeddle001");
}

// The rival shop in its hours, after 蕾妮特 ran away.
bool EvPeddle002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::RivalShop)) return false;
    if (!ev->ChkFlg(flag::RenetteRanAway, true)) return false;
    if (!ev->ChkHour(10, 18)) return false;
    return RunEvent("EvPeddle002");
}

// The event ground on the evening of the magic contest.
bool EvPeddle003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(19, 23)) return false;
    if (!ev->ChkPlace(place::EventGround)) return false;
    if (!ev->ChkDay(125, 1)) return false;
    return RunEvent("EvPeddle003");
}

// The event ground at every other time.
bool EvPeddle004() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::EventGround)) return false;
    return RunEvent("EvPeddle004");
}

// Anywhere outside the shop hours.
bool EvPeddle005() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNot(ev->ChkHour(10, 18))) return false;
    return RunEvent("EvPeddle005");
}

// The castle gate by day, before the prince called her by name.
bool EvPeddle006() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::CastleGate)) return false;
    if (!ev->ChkHour(10, 18)) return false;
    if (!ev->ChkFlg(flag::PalaceInvitation, false)) return false;
    return RunEvent("EvPeddle006");
}

// The castle gate by day, from day 191 once he did.
bool EvPeddle007() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::CastleGate)) return false;
    if (!ev->ChkDay(191, 300)) return false;
    if (!ev->ChkHour(10, 18)) return false;
    if (!ev->ChkFlg(flag::PalaceInvitation, true)) return false;
    return RunEvent("EvPeddle007");
}

// The square at 19:00..20:59. Slot 5 answers those hours first, so it never plays;
// its slot is kept so the table's numbering stays.
bool EvPeddle008() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(19, 20)) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    return RunEvent("EvPeddle008");
}

// The magic school, where the command menu offers no peddling; kept like slot 8.
bool EvPeddle009() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(10, 18)) return false;
    if (!ev->ChkPlace(place::School)) return false;
    return RunEvent("EvPeddle009");
}

// The hot spring, found by searching the forest from day 72 on, outside the night
// search; the heroine stays there.
bool EvSearch000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::HotSpringFound, false)) return false;
    if (!ev->ChkPlace(place::Forest)) return false;
    if (!ev->ChkDay(72, 400)) return false;
    if (!ev->ChkFlg(flag::NightSearch, false)) return false;
    return RunEvent("EvSearch000");
}

// 蕾妮特 comes to gloat at 09:00 of the day a commission was lost to her.
bool EvTurnStart006() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    if (!ev->ChkDayMark(mark::CommissionExpired, 0, 1)) return false;
    return RunEvent("EvTurnStart006");
}
