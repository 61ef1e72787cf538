// 斐爾, the minstrel: the first song at the forest spring (or heard from the shop on day
// 25), the spring festival, 蕾妮特 at the spring, the sprained ankle, the chats at the
// spring, the meetings in town and on the land, the beauty contest, and the curse at
// the lake with the two scenes overheard. Their lines are in story/text/Fele.txt.
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"
#include "town/Whereabouts.h"

namespace {

// 斐爾 met on the land map: at the big tree, the spring, the beach or the lake, tried in
// this order; each try asks his schedule afresh.
bool FeleOnLand(TEventServerDbg* ev) {
    for (int p : {place::BigTree, place::ForestSpring, place::Beach, place::Lake})
        if (ev->ChkNpc(npc::Fele, p) && ev->ChkPlace(p)) return true;
    return false;
}

// 斐爾 at the spring for a chat: his schedule puts him there, the heroine is there, and
// the schedule the test left is the spring's (read from the server's field, so the
// override does not make it hold).
bool ChatAtSpring(TEventServerDbg* ev) {
    return ev->ChkNpc(npc::Fele, place::ForestSpring) && ev->ChkPlace(place::ForestSpring) &&
           ev->m_ScheduleVariant == 0;
}

// A chat after the first: from its first day, once the one before it has played.
bool NextChat(TEventServerDbg* ev, int firstDay, int length, int before, int own) {
    return ChatAtSpring(ev) && ev->ChkDay(firstDay, length) && ev->ChkFlg(before, true) &&
           ev->ChkFlg(own, false);
}

}  // namespace

// The spring festival on day 48: the fall before the prince's parade. No place test.
bool EvTurnStart007() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::SpringFestivalSeen, false)) return false;
    if (!ev->ChkDay(48, 1)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    return story::RunEvent("EvTurnStart007");
}

// Day 25 in the shop, 斐爾 not met: his song heard from afar, then the meeting of
// EvMove006 with its voices.
bool EvTurnStart016() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(25, 1)) return false;
    if (!ev->ChkFlg(flag::FeleMet, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    return story::RunEvent("EvTurnStart016");
}

// The beauty contest of day 179. No flag guards it: the clock leaves its hours behind.
bool EvTurnStart026() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(179, 1)) return false;
    if (!ev->ChkHour(9, 12)) return false;
    return story::RunEvent("EvTurnStart026");
}

// The first song at the spring in the first month, on a singing day (weekday 1, or 3
// when that fails).
bool EvMove006() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FeleMet, false)) return false;
    if (!ev->ChkDay(0, 24)) return false;
    if (!(ev->ChkWeekday(1) || ev->ChkWeekday(3))) return false;
    if (!ev->ChkHour(10, 15)) return false;
    if (!ev->ChkPlace(place::ForestSpring)) return false;
    return story::RunEvent("EvMove006");
}

// 蕾妮特 finds the heroine with 斐爾 at the spring.
bool EvMove007() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::RenetteAtSpring, false)) return false;
    if (!ev->ChkFlg(flag::RingFound, false)) return false;
    if (!ev->ChkDay(96, 300)) return false;
    if (!ev->ChkFlg(flag::SpringFestivalSeen, true)) return false;
    if (!ev->ChkFlg(flag::RenetteMet, true)) return false;
    if (!(ev->ChkWeekday(1) || ev->ChkWeekday(3))) return false;
    if (!ev->ChkHour(10, 15)) return false;
    if (!ev->ChkPlace(place::ForestSpring)) return false;
    return story::RunEvent("EvMove007");
}

// The sprained ankle: found at the spring, played in the forest.
bool EvMove008() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FeleSprainedAnkle, false)) return false;
    if (!ev->ChkFlg(flag::RingFound, false)) return false;
    if (!ev->ChkDay(144, 300)) return false;
    if (!ev->ChkFlg(flag::FeleMet, true)) return false;
    if (!ev->ChkFlg(flag::SpringFestivalSeen, true)) return false;
    if (!ev->ChkFlg(flag::RenetteAtSpring, true)) return false;
    if (!(ev->ChkWeekday(1) || ev->ChkWeekday(3))) return false;
    if (!ev->ChkHour(10, 15)) return false;
    if (!ev->ChkPlace(place::ForestSpring)) return false;
    return story::RunEvent("EvMove008");
}

// The chats at the spring, strictly in order from their first days. Each reads the
// schedule the whereabouts test left, which the override does not make hold.
bool EvMove045() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !ChatAtSpring(ev)) return false;
    if (!ev->ChkFlg(flag::FeleMet, true)) return false;
    if (!ev->ChkDay(0, 400)) return false;
    if (!ev->ChkFlg(flag::FeleChat1, false)) return false;
    return story::RunEvent("EvMove045");
}

bool EvMove046() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !NextChat(ev, 30, 400, flag::FeleChat1, flag::FeleChat2)) return false;
    return story::RunEvent("EvMove046");
}

bool EvMove047() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !NextChat(ev, 54, 400, flag::FeleChat2, flag::FeleChat3)) return false;
    return story::RunEvent("EvMove047");
}

bool EvMove048() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !NextChat(ev, 78, 300, flag::FeleChat3, flag::FeleChat4)) return false;
    return story::RunEvent("EvMove048");
}

// The lake: the curse on 斐爾's voice and the appointment for three o'clock.
bool EvMove119() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(186, 48)) return false;
    if (!ev->ChkPlace(place::Lake)) return false;
    if (!ev->ChkHour(10, 12)) return false;
    if (!ev->ChkFlg(flag::FloraeCollapsed, false)) return false;
    if (!ev->ChkFlg(flag::LakeCurse, false)) return false;
    if (!ev->ChkFlg(flag::FeleMet, true)) return false;
    return story::RunEvent("EvMove119");
}

// The afternoon at the lake on the day of the curse.
bool EvMove120() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::LakeCurseDay, 0, 1)) return false;
    if (!ev->ChkFlg(flag::LakeAfternoon, false)) return false;
    if (!ev->ChkFlg(flag::LakeTooLate, false)) return false;
    if (!ev->ChkHour(10, 15)) return false;
    if (!ev->ChkPlace(place::Lake)) return false;
    return story::RunEvent("EvMove120");
}

// Too late: from 16:00 of that day, anywhere, 蕾妮特 has cured him.
bool EvMove121() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::LakeCurseDay, 0, 1)) return false;
    if (!ev->ChkHour(16, 23)) return false;
    if (!ev->ChkFlg(flag::LakeAfternoon, false)) return false;
    if (!ev->ChkFlg(flag::LakeTooLate, false)) return false;
    return story::RunEvent("EvMove121");
}

// 蕾妮特 warns 斐爾 away, at the spring in the sixth month.
bool EvMove122() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(120, 24)) return false;
    if (!ev->ChkFlg(flag::RenetteAtSpring, true)) return false;
    if (!ev->ChkNpc(npc::Fele, place::ForestSpring)) return false;
    if (!ev->ChkPlace(place::ForestSpring)) return false;
    if (!ev->ChkFlg(flag::RenetteWarnsFele, false)) return false;
    return story::RunEvent("EvMove122");
}

// The sisters' quarrel overheard at 微笑魔法店 in the evening.
bool EvMove123() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(19, 23)) return false;
    if (!ev->ChkFlg(flag::CocotteAskedAboutLove, true)) return false;
    if (!ev->ChkFlg(flag::RenetteCrisis, false)) return false;
    if (!ev->ChkPlace(place::RivalShop)) return false;
    if (!ev->ChkFlg(flag::QuarrelOverheard, false)) return false;
    return story::RunEvent("EvMove123");
}

// Any other meeting at the spring: a short chat, with no guard of its own.
bool EvMove151() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !ChatAtSpring(ev)) return false;
    if (!ev->ChkFlg(flag::FeleMet, true)) return false;
    return story::RunEvent("EvMove151");
}

// The town meetings, one a place, whenever he is there.
bool EvMove158() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Fele, place::Park)) return false;
    if (!ev->ChkPlace(place::Park)) return false;
    return story::RunEvent("EvMove158");
}

bool EvMove159() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Fele, place::Bakery)) return false;
    if (!ev->ChkPlace(place::Bakery)) return false;
    return story::RunEvent("EvMove159");
}

bool EvMove160() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Fele, place::School)) return false;
    if (!ev->ChkPlace(place::School)) return false;
    return story::RunEvent("EvMove160");
}

bool EvMove161() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Fele, place::Square)) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    return story::RunEvent("EvMove161");
}

// The nap under the big tree, once, from day 96.
bool EvMove162() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(96, 400)) return false;
    if (!ev->ChkFlg(flag::FeleNap, false)) return false;
    if (!ev->ChkNpc(npc::Fele, place::BigTree)) return false;
    if (!ev->ChkPlace(place::BigTree)) return false;
    return story::RunEvent("EvMove162");
}

// Fishing at the waterfall, once.
bool EvMove163() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FeleFishing, false)) return false;
    if (!ev->ChkNpc(npc::Fele, place::Waterfall)) return false;
    if (!ev->ChkPlace(place::Waterfall)) return false;
    return story::RunEvent("EvMove163");
}

// His singing met on the land: the chance first, then where he is.
bool EvMove164() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(40)) return false;
    if (!FeleOnLand(ev)) return false;
    return story::RunEvent("EvMove164");
}

bool EvMove165() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(40)) return false;
    if (!FeleOnLand(ev)) return false;
    return story::RunEvent("EvMove165");
}

bool EvMove166() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!FeleOnLand(ev)) return false;
    return story::RunEvent("EvMove166");
}
