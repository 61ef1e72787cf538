// 芙蘿蕾 in the library, at the square, and in her room: the four library meetings and
// the greeting there, the two square meetings and the greeting there, her mother's
// greeting in the first month, and the visits after the cure, silent then cheerful.
// Their lines are in story/text/Library.txt.
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"
#include "town/Whereabouts.h"

using story::RunEvent;

namespace {

// The schedule that answered last was her ordinary weekday one. Read from the server's
// field, so the override does not make it hold.
bool WeekdaySchedule(const TEventServerDbg* ev) { return ev->m_ScheduleVariant == 0; }

// The silent days in her room: after the cure and the first visit that followed it,
// before she speaks again. Tested in this order.
bool SilentDays(TEventServerDbg* ev) {
    return ev->ChkFlg(flag::FloraeBlindVisit, true) && ev->ChkFlg(flag::FloraeSpeaksAgain, false) &&
           ev->ChkPlace(place::FloraeRoom) && ev->ChkFlg(flag::PotionGiven, true);
}

// The cheerful days in her room: she speaks again, and cannot see yet.
bool CheerfulDays(TEventServerDbg* ev) {
    return ev->ChkPlace(place::FloraeRoom) && ev->ChkFlg(flag::FloraeSpeaksAgain, true) &&
           ev->ChkFlg(flag::FloraeSightRestored, false);
}

}  // namespace

// ---- the library: a chain of four meetings, on days of her weekday schedule only

// The first meeting: her dream of a flower shop.
bool EvMove019() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::LibraryMeeting1, false)) return false;
    if (!ev->ChkDay(0, 300)) return false;
    if (!ev->ChkNpc(npc::Florae, place::Library)) return false;
    if (!ev->ChkPlace(place::Library)) return false;
    if (!WeekdaySchedule(ev)) return false;
    return RunEvent("EvMove019");
}

// The second meeting, from day 48: studying, and teased for it. Ends at the school.
bool EvMove020() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::LibraryMeeting1, true)) return false;
    if (!ev->ChkFlg(flag::LibraryMeeting2, false)) return false;
    if (!ev->ChkDay(48, 300)) return false;
    if (!ev->ChkNpc(npc::Florae, place::Library)) return false;
    if (!ev->ChkPlace(place::Library)) return false;
    if (!WeekdaySchedule(ev)) return false;
    return RunEvent("EvMove020");
}

// The third meeting, from day 72: asleep over a book for an hour. Ends at the school.
bool EvMove021() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::LibraryMeeting2, true)) return false;
    if (!ev->ChkFlg(flag::LibraryMeeting3, false)) return false;
    if (!ev->ChkDay(72, 300)) return false;
    if (!ev->ChkNpc(npc::Florae, place::Library)) return false;
    if (!ev->ChkPlace(place::Library)) return false;
    if (!WeekdaySchedule(ev)) return false;
    return RunEvent("EvMove021");
}

// The fourth meeting, from day 96: the fallen book, and an hour later cake at the
// bakery.
bool EvMove022() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::LibraryMeeting3, true)) return false;
    if (!ev->ChkFlg(flag::LibraryMeeting4, false)) return false;
    if (!ev->ChkDay(96, 300)) return false;
    if (!ev->ChkNpc(npc::Florae, place::Library)) return false;
    if (!ev->ChkPlace(place::Library)) return false;
    if (!WeekdaySchedule(ev)) return false;
    return RunEvent("EvMove022");
}

// ---- the square

// The first meeting, from day 24, with her mother.
bool EvMove033() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(24, 300)) return false;
    if (!ev->ChkFlg(flag::SquareMeeting1, false)) return false;
    if (!ev->ChkNpc(npc::Florae, place::Square)) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    return RunEvent("EvMove033");
}

// The second meeting, from day 72.
bool EvMove034() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(72, 300)) return false;
    if (!ev->ChkFlg(flag::SquareMeeting1, true)) return false;
    if (!ev->ChkFlg(flag::SquareMeeting2, false)) return false;
    if (!ev->ChkNpc(npc::Florae, place::Square)) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    return RunEvent("EvMove034");
}

// ---- her room after the cure: she is blind and silent; each silent visit counts

// Silent visit 1: the fine weather.
bool EvMove035() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::SilentVisit1, false)) return false;
    if (!SilentDays(ev)) return false;
    return RunEvent("EvMove035");
}

// Silent visit 2: the heroine dozes off for an hour.
bool EvMove036() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::SilentVisit1, true)) return false;
    if (!ev->ChkFlg(flag::SilentVisit2, false)) return false;
    if (!SilentDays(ev)) return false;
    return RunEvent("EvMove036");
}

// Silent visit 3: the heroine trips.
bool EvMove037() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::SilentVisit2, true)) return false;
    if (!ev->ChkFlg(flag::SilentVisit3, false)) return false;
    if (!SilentDays(ev)) return false;
    return RunEvent("EvMove037");
}

// Silent visit 4: the fire apple.
bool EvMove038() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::SilentVisit3, true)) return false;
    if (!ev->ChkFlg(flag::SilentVisit4, false)) return false;
    if (!SilentDays(ev)) return false;
    return RunEvent("EvMove038");
}

// Silent visit 5: the night-light flower.
bool EvMove039() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::SilentVisit4, true)) return false;
    if (!ev->ChkFlg(flag::SilentVisit5, false)) return false;
    if (!SilentDays(ev)) return false;
    return RunEvent("EvMove039");
}

// Silent visit 6: her mother's music box.
bool EvMove040() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::SilentVisit5, true)) return false;
    if (!ev->ChkFlg(flag::SilentVisit6, false)) return false;
    if (!SilentDays(ev)) return false;
    return RunEvent("EvMove040");
}

// Every later silent visit, until she speaks again.
bool EvMove041() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::SilentVisit6, true)) return false;
    if (!SilentDays(ev)) return false;
    return RunEvent("EvMove041");
}

// ---- her room once she speaks again, until her sight comes back

// Cheerful visit 1: she speaks to the heroine again.
bool EvMove042() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::CheerfulVisit1, false)) return false;
    if (!CheerfulDays(ev)) return false;
    return RunEvent("EvMove042");
}

// Cheerful visit 2: she practises walking.
bool EvMove043() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::CheerfulVisit1, true)) return false;
    if (!ev->ChkFlg(flag::CheerfulVisit2, false)) return false;
    if (!CheerfulDays(ev)) return false;
    return RunEvent("EvMove043");
}

// Every later cheerful visit.
bool EvMove044() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::CheerfulVisit2, true)) return false;
    if (!CheerfulDays(ev)) return false;
    return RunEvent("EvMove044");
}

// ---- her mother's greeting: a school day of the first month before 15:00, once

bool EvMove137() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(0, 24)) return false;
    if (!ev->ChkHour(10, 14)) return false;
    if (!ev->ChkNot(ev->ChkWeekday(5))) return false;
    if (!ev->ChkPlace(place::FloraeRoom)) return false;
    if (!ev->ChkFlg(flag::FloraeMotherMet, false)) return false;
    return RunEvent("EvMove137");
}

// ---- the greetings, whenever she is found there and nothing else plays

// At the square.
bool EvMove149() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Florae, place::Square)) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    return RunEvent("EvMove149");
}

// In the library.
bool EvMove150() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Florae, place::Library)) return false;
    if (!ev->ChkPlace(place::Library)) return false;
    return RunEvent("EvMove150");
}
