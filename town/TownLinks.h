#pragma once
#include <string>

// The map screen's and the command menu's calls into windows and primitives that other
// units of the town own: the message window, the stage, the time and sound primitives,
// the music form, the game-flow controller's hooks and the shop's dialogs. Each one
// calls its owner by name; where the owner may not exist yet (a form not built, no
// event server) the call does nothing and answers its default (see each definition).
namespace townlink {

// The art folder ("\\col24b" or "\\col8b") under the program's folder.
std::string ArtFolder();

// ---- the clock (the event server's time primitives)
bool PassTime(int hours);
int GetHour();
// 0 winter, 1 spring, 2 summer, 3 autumn.
int GetSeason();

// ---- the event server: dialogue, faces, sounds, music, the stage
void DspMsg(const std::string& big5);
void FaceGr(int face);
void PlaySound(int n);
void PlayTrackLoop(int track);
// The stage shows the place's background at once and comes up in place of the map.
void ShowPlaceOnStage(int place);
bool StageVisible();

// A choice of two (index 0 or 1; -1 when it cannot be answered).
int SelWin2(const std::string& first, const std::string& second);
void ClearGr();
void HideStage();
void ShowStage();
void ReleaseStageBitmaps();
// Character `who` is at `place` now (the characters' whereabouts).
bool ChkNpc(int who, int place);

// ---- the game-flow controller
void AlignForms();
void SetMoveEventsPending();
// Experience with its messages; true when a level was gained.
bool GainExperience(int points);

// ---- the shop
void HideMap();
bool MarketWindowOpen();
// Creates and shows the market window and returns when it has closed itself.
void RunMarketWindow();

// ---- the shop's dialogs, opened from the map's title strip (each returns when closed)
void RunStatusDialog();
void RunNotebook();
void RunOptionWindow();
void ShowDebugWindow();

}  // namespace townlink
