#include "town/TownLinks.h"

#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"
#include "town/Mdpform.h"

namespace townlink {

// Until the game-flow controller chooses the art folder: the 24-bit one.
std::string ArtFolder() { return "\\col24b"; }

bool PassTime(int hours) { return EventServerDbg && EventServerDbg->PassTime(hours); }

int GetHour() { return EventServerDbg ? EventServerDbg->GetHour() : GameHour(); }

int GetSeason() {
    int season = 0, month = 1;
    if (EventServerDbg) EventServerDbg->GetSeason(season, month);
    return season;
}

void PlaySound(int n) {
    if (EventServerDbg) EventServerDbg->PlaySound(n);
}
void PlayTrackLoop(int track) {
    if (MdpFm) MdpFm->PlayTrackLoop(track);
}

// Until the event server's stage and dialogue primitives exist.
void DspMsg(const std::string& big5) { ui::RecordBig5("line", big5); }
void FaceGr(int face) { ui::Record("face", std::to_string(face)); }
void ShowPlaceOnStage(int place) { ui::Record("place", std::to_string(place)); }
bool StageVisible() { return false; }
int SelWin2(const std::string& first, const std::string& second) {
    ui::RecordBig5("choice", first + " / " + second);
    return -1;
}
void ClearGr() {}
void HideStage() {}
void ShowStage() {}
void ReleaseStageBitmaps() {}

// Until the characters' whereabouts exist, nobody is anywhere.
bool ChkNpc(int, int) { return false; }

void AlignForms() {
    if (GameFlow) GameFlow->AlignForms();
}
void SetMoveEventsPending() {
    if (GameFlow) GameFlow->MoveEventsPending = 1;
}
bool GainExperience(int points) {
    return GameFlow ? GameFlow->GainExperience(points) : AddExperience(points) >= 0;
}

// Until the market window exists.
void HideMap() {
    if (MapFm) MapFm->Hide();
}
bool MarketWindowOpen() { return false; }
void RunMarketWindow() { ui::Record("screen", "market"); }

// Until the shop's status dialog, notebook, option window and debug window exist.
void RunStatusDialog() {}
void RunNotebook() {}
void RunOptionWindow() {}
void ShowDebugWindow() {}

}  // namespace townlink
