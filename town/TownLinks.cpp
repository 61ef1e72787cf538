#include "town/TownLinks.h"

#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mdpform.h"

namespace townlink {

namespace {
// Whether the message window is up, until the message window exists.
bool messageShown = true;
}  // namespace

// Until the game-flow controller chooses the art folder: the 24-bit one.
std::string ArtFolder() { return "\\col24b"; }

bool PassTime(int hours) { return EventServerDbg && EventServerDbg->PassTime(hours); }

int GetHour() { return EventServerDbg ? EventServerDbg->GetHour() : GameHour(); }

int GetSeason() {
    int season = 0, month = 1;
    if (EventServerDbg) EventServerDbg->GetSeason(season, month);
    return season;
}

// Until the message window exists, its hints and lines go to the transcript only.
bool MessageWindowExists() { return true; }
bool MessageWindowVisible() { return messageShown; }
void ShowMessageWindow() { messageShown = true; }
void HideMessageWindow() { messageShown = false; }
bool EndButtonHidden() { return true; }
void ShowMessage(const std::string& big5) { ui::RecordBig5("message", big5); }
int ChooseCommand(int, const int*) { return -1; }
void MessageWindowBounds(int& left, int& top, int& width, int& height) {
    left = top = width = height = 0;
}
void MessageWindowMoveTo(int, int) {}
void MessageWindowSavePosition(int, int, int, int, int, int, int, int) {}
void MessageWindowRestorePosition() {}
void MessageWindowNoDodge() {}

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

void AlignForms() {
    if (GameFlow) GameFlow->AlignForms();
}
void SetMoveEventsPending() {
    if (GameFlow) GameFlow->MoveEventsPending = 1;
}

// Until the shop's status dialog, notebook, option window and debug window exist.
void RunStatusDialog() {}
void RunNotebook() {}
void RunOptionWindow() {}
void ShowDebugWindow() {}

}  // namespace townlink
