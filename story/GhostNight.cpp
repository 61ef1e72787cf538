// The library's ghost night: on an afternoon of days 132..165, after the fourth
// library meeting, 緹菈 and 芙蘿蕾 read until closing time and follow a voice through
// the shelves. The opening, the search with its choices and the nine endings are
// data in story/text/GhostNight.txt: every choice names the scene it leads to, so the
// walk through the shelves is the choices themselves, and every ending returns to
// the opening's body, which marks the night as played.
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"
#include "town/Whereabouts.h"

// Slots 124 and 128: the second slot tries again with a fresh draw of her schedule.
// The schedule variant is read as the last lookup left it (under the debug window's
// override the lookup is skipped, so the last one decides).
bool EvMove124() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(132, 34)) return false;
    if (!ev->ChkFlg(flag::GhostNight, false)) return false;
    if (!ev->ChkFlg(flag::LibraryMeeting4, true)) return false;
    if (!ev->ChkNpc(npc::Florae, place::Library)) return false;
    if (!ev->ChkPlace(place::Library)) return false;
    if (ev->m_ScheduleVariant != 0) return false;  // her ordinary weekday schedule
    return story::RunEvent("EvMove124");
}
