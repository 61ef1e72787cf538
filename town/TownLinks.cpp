#include "town/TownLinks.h"

#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Marketlist.h"
#include "shop/Note.h"
#include "shop/Option.h"
#include "shop/Status.h"
#include "town/Debugformnk.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"
#include "town/Mdpform.h"

namespace townlink {

std::string ArtFolder() {
    return EventServerDbg ? EventServerDbg->m_ArtFolder : std::string("\\col24b");
}

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

void DspMsg(const std::string& big5) {
    if (EventServerDbg) EventServerDbg->DspMsg(big5);
}
void FaceGr(int face) {
    if (EventServerDbg) EventServerDbg->FaceGr(face);
}
void ShowPlaceOnStage(int place) {
    if (!EventServerDbg) return;
    EventServerDbg->SetPlaceGr(place);
    EventServerDbg->ShowStage();
}
bool StageVisible() { return EventServerDbg && EventServerDbg->Visible(); }
int SelWin2(const std::string& first, const std::string& second) {
    return EventServerDbg ? EventServerDbg->SelWin2(first, second) : -1;
}
void ClearGr() {
    if (EventServerDbg) EventServerDbg->ClearGr();
}
void HideStage() {
    if (EventServerDbg) EventServerDbg->HideStage();
}
void ShowStage() {
    if (EventServerDbg) EventServerDbg->ShowStage();
}
void ReleaseStageBitmaps() {
    if (EventServerDbg) EventServerDbg->ReleaseStageBitmaps();
}

bool ChkNpc(int who, int place) { return EventServerDbg && EventServerDbg->ChkNpc(who, place); }

void AlignForms() {
    if (GameFlow) GameFlow->AlignForms();
}
void SetMoveEventsPending() {
    if (GameFlow) GameFlow->MoveEventsPending = 1;
}
bool GainExperience(int points) {
    return GameFlow ? GameFlow->GainExperience(points) : AddExperience(points) >= 0;
}

void HideMap() {
    if (MapFm) MapFm->Hide();
}
bool MarketWindowOpen() { return MarketListForm != nullptr; }
void RunMarketWindow() { DispMarketList(); }

void RunStatusDialog() { RunStatusWindow(); }
void RunNotebook() { RunNotebookWindow(); }
void RunOptionWindow() { RunOptionDialog(); }
// The developer's event debug window, above the screens shown after it.
void ShowDebugWindow() {
    if (!DbgFm) return;
    DbgFm->SetFormStyle(ui::FormStyle::fsStayOnTop);
    DbgFm->Show();
}

}  // namespace townlink
