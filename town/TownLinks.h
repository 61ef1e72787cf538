#pragma once
#include <string>

// The map screen's and the command menu's calls into windows and primitives that other
// units of the town own: the message window, the stage, the time and sound primitives,
// the music form, the game-flow controller's hooks and the shop's dialogs. Each one
// calls its owner by name where the owner exists; the rest wait for their owner (see
// each definition) and then pass straight through.
namespace townlink {

// The art folder ("\\col24b" or "\\col8b") under the program's folder.
std::string ArtFolder();

// ---- the clock (the event server's time primitives)
bool PassTime(int hours);
int GetHour();
// 0 winter, 1 spring, 2 summer, 3 autumn.
int GetSeason();

// ---- the message window
bool MessageWindowExists();
bool MessageWindowVisible();
void ShowMessageWindow();
void HideMessageWindow();
// The end button is hidden: no dialogue line waits for its click.
bool EndButtonHidden();
// A plain hint, no wait.
void ShowMessage(const std::string& big5);
// Command buttons; the index chosen, or -1 when the menu cannot be answered.
int ChooseCommand(int count, const int* ids);
// The message window's rectangle on the screen (empty when there is none), and its
// dodge positions.
void MessageWindowBounds(int& left, int& top, int& width, int& height);
void MessageWindowMoveTo(int left, int top);
void MessageWindowSavePosition(int ax, int ay, int bx, int by, int areaLeft, int areaTop,
                               int areaRight, int areaBottom);
void MessageWindowRestorePosition();
void MessageWindowNoDodge();

// ---- the event server: dialogue, faces, sounds, music, the stage
void DspMsg(const std::string& big5);
void FaceGr(int face);
void PlaySound(int n);
void PlayTrackLoop(int track);
// The stage shows the place's background at once and comes up in place of the map.
void ShowPlaceOnStage(int place);
bool StageVisible();

// ---- the game-flow controller
void AlignForms();
void SetMoveEventsPending();

// ---- the shop's dialogs, opened from the map's title strip (each returns when closed)
void RunStatusDialog();
void RunNotebook();
void RunOptionWindow();
void ShowDebugWindow();

}  // namespace townlink
