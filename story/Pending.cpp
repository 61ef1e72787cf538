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
