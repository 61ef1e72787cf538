// The prologue and the day-start events: their conditions, and the prologue's skip;
// the bodies are the scenes of story/text/DayStart.txt.
#include "story/DayStart.h"

#include <string_view>

#include "story/Dialogue.h"
#include "story/Register.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

using story::PlayScene;

namespace {

// The prologue's scenes up to its end; the voice of the line after which the player
// skipped, or -1 when it played through.
int PrologueBody(TEventServerDbg* ev) {
    int skippedAt = -1;
    // Only the narration, the waking and the morning may be skipped, and only in a
    // game after the one that first saw the prologue to its end.
    const story::AfterLine skip = [&](int voice) {
        const bool skippable = (voice >= 326 && voice <= 329) || (voice >= 332 && voice <= 338);
        if (!skippable || !GameFlow || GameFlow->PrologueSkipGuard != 0) return false;
        if (!ev->ChkFlg(flag::PrologueSeen, true)) return false;
        skippedAt = voice;
        return true;
    };
    bool endingSeen = false;
    for (int f = flag::EndingFloraeSeen; f <= flag::EndingCocotteSeen && !endingSeen; ++f)
        endingSeen = ev->ChkFlg(f, true);
    PlayScene("EvPrologue", endingSeen ? "card" : "dark");
    for (const char* scene : {"narration", "dream", "awake", "morning"}) {
        const bool skippable = std::string_view(scene) != "dream";
        if (!PlayScene("EvPrologue", scene, skippable ? skip : story::AfterLine()) &&
            skippedAt >= 0)
            return skippedAt;
    }
    PlayScene("EvPrologue", "downstairs");
    return -1;
}

}  // namespace

void EvPrologue() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return;
    PlayScene("EvPrologue", "begin");
    if (GameFlow) GameFlow->PrologueSkipGuard = 1;
    const int skippedAt = PrologueBody(ev);
    if (skippedAt >= 0) PlayScene("EvPrologue", skippedAt >= 332 ? "skippedUpstairs" : "skipped");
    PlayScene("EvPrologue", "close");
}

bool EvDayStart000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeFirstVisit, false)) return false;
    if (!ev->ChkFlg(flag::NeverSet, true)) return false;
    return story::RunEvent("EvDayStart000");
}

bool EvDayStart001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::HeipiIllnessDone, false)) return false;
    if (!ev->ChkFlg(flag::RenetteMet, true)) return false;
    if (!ev->ChkFlg(flag::CocotteMet, true)) return false;
    // The first window holding today decides; its chance is drawn only on its days.
    struct Window {
        int first, length, chance;
    };
    constexpr Window kWindows[] = {{24, 5, 20}, {30, 4, 30}, {36, 4, 20}, {42, 4, 90}};
    bool fires = false;
    for (const Window& w : kWindows) {
        if (!ev->ChkDay(w.first, w.length)) continue;
        fires = ev->ChkRandom(w.chance);
        break;
    }
    if (!fires) return false;
    return story::RunEvent("EvDayStart001");
}

void EvDayStart001_Sub1() { PlayScene("EvDayStart001_Sub1", "main"); }

bool EvDayStart002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::VolcanoNotice, 19, 1)) return false;
    if (!ev->ChkFlg(flag::VolcanoCommission, true)) return false;
    if (!ev->ChkFlg(flag::VolcanoCommissionDone, false)) return false;
    return story::RunEvent("EvDayStart002");
}

bool EvDayStart003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::LovePotionNotice, 7, 1)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommission, true)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommissionDone, false)) return false;
    return story::RunEvent("EvDayStart003");
}
