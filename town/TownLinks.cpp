#include "town/TownLinks.h"

#include "platform/Transcript.h"
#include "shop/Calendar.h"
#include "shop/GameState.h"

namespace townlink {

namespace {
// Whether the message window is up, until the message window exists.
bool messageShown = true;
}  // namespace

// Until the game-flow controller chooses the art folder: the 24-bit one.
std::string ArtFolder() { return "\\col24b"; }

// Until the event server's time primitives exist: the hours pass one by one through
// the calendar rules, without the tiredness limit.
bool PassTime(int hours) {
    for (int i = 0; i < hours; ++i) AdvanceHour();
    if (hours > 0)
        ui::Record("hour", std::to_string(GameDay()) + " " + std::to_string(GameHour()) + ":00");
    return true;
}

int GetHour() { return GameHour(); }

int GetSeason() {
    const int month = GameDay() / 24 % 12 + 1;
    if (month == 12 || month <= 2) return 0;
    return month / 3;  // 3..5 spring, 6..8 summer, 9..11 autumn
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

// Until the event server's stage and sound primitives exist.
void DspMsg(const std::string& big5) { ui::RecordBig5("line", big5); }
void FaceGr(int face) { ui::Record("face", std::to_string(face)); }
void PlaySound(int n) { ui::Record("sound", std::to_string(n)); }
void PlayTrackLoop(int track) { ui::Record("music", std::to_string(track)); }
void ShowPlaceOnStage(int place) { ui::Record("place", std::to_string(place)); }
bool StageVisible() { return false; }

// Until the game-flow controller's form handling exists.
void AlignForms() {}
void SetMoveEventsPending() {}

// Until the shop's status dialog, notebook, option window and debug window exist.
void RunStatusDialog() {}
void RunNotebook() {}
void RunOptionWindow() {}
void ShowDebugWindow() {}

}  // namespace townlink
