// The prologue and the day-start events: the scripts around the dialogue data of
// story/text/DayStart.txt.
#include "story/DayStart.h"

#include "platform/Big5.h"
#include "shop/Shop.h"
#include "story/Dialogue.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

using story::PlayScene;

namespace {

void HideTitlePanel() {
    if (ShopForm && ShopForm->TitlePanel) ShopForm->TitlePanel->Hide();
}

// The prologue up to its end steps; the voice of the line after which the player
// skipped, or -1 when it played through.
int PrologueBody(TEventServerDbg* ev) {
    int skippedAt = -1;
    // Only the narration, the dream's last line and the morning may be skipped, and
    // only in a game after the one that first saw the prologue to its end.
    const story::AfterLine skip = [&](int voice) {
        const bool skippable = (voice >= 326 && voice <= 329) || (voice >= 332 && voice <= 338);
        if (!skippable || !GameFlow || GameFlow->PrologueSkipGuard != 0) return false;
        if (!ev->ChkFlg(94, true)) return false;
        skippedAt = voice;
        return true;
    };
    bool endingSeen = false;
    for (int f = 88; f <= 93 && !endingSeen; ++f) endingSeen = ev->ChkFlg(f, true);
    if (endingSeen) {
        ev->ShowBlankStage(true);
        HideTitlePanel();
        ev->RefreshStage();
        PlayScene("EvPrologue", "card");
        PlayScene("EvPrologue", "farewell");
    } else {
        ev->ClearGr();
    }

    ev->DspGrDissolve(807);
    HideTitlePanel();
    ev->PlayMusic(11, true);
    ev->RefreshStage();
    if (!PlayScene("EvPrologue", "narration", skip) && skippedAt >= 0) return skippedAt;

    // The dream at the mixing desk, and waking upstairs.
    ev->ClearGr();
    ev->PlayMusic(15, true);
    ev->ShopAction(0, 4);
    PlayScene("EvPrologue", "dream");
    ev->ShopAction(0, 9);
    ev->SetPlace(0, true);
    ev->RefreshStage();
    ev->ShakeGr(78);
    ev->PlayMusic(5, true);
    ev->ShopAction(0, 5);
    if (!PlayScene("EvPrologue", "awake", skip) && skippedAt >= 0) return skippedAt;

    // The morning in her room.
    ev->SetGr(340);
    ev->ShowStage();
    if (EventServerHooks.ShowShop) EventServerHooks.ShowShop(false);
    if (!PlayScene("EvPrologue", "morning", skip) && skippedAt >= 0) return skippedAt;

    // Downstairs: 芙蘿蕾 comes in.
    ev->FaceGr(0);
    ev->ShopAction(0, 14);
    ev->PassTime(1);
    ev->SetPlace(10, false);
    ev->PlayMusic(15, true);
    ev->ShopAction(2, 0);
    ev->DspGrDissolve(296);
    ev->ShowFigure(43, 1);
    ev->PlayMusic(6, true);
    PlayScene("EvPrologue", "visit");
    ev->ShopAction(2, 1);
    PlayScene("EvPrologue", "visitEnd");
    return -1;
}

}  // namespace

void EvPrologue() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return;
    ev->EventBeginVoice(326);
    if (GameFlow) GameFlow->PrologueSkipGuard = 1;
    const int skippedAt = PrologueBody(ev);
    if (skippedAt >= 0) {
        // Skipped upstairs: the room goes dark first, so the shop never opens under it.
        if (skippedAt >= 332) ev->ShopAction(0, 14);
        ev->PassTime(1);
    }
    ev->SetFlg(384, true);
    ev->SetFlg(94, true);
    ev->SetPlace(10, false);
    ev->EventEnd();
}

bool EvDayStart000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(384, false)) return false;
    if (!ev->ChkFlg(0, true)) return false;
    ev->EventBegin();
    ev->PlayMusic(15, true);
    ev->ShopAction(2, 0);
    ev->DspGr(296);
    ev->ShopAction(2, 1);
    ev->ShowFigure(43, 1);
    ev->PlayMusic(6, true);
    // The same visit as the prologue's, its lines played from the prologue's scenes.
    PlayScene("EvPrologue", "visit");
    PlayScene("EvPrologue", "visitEnd");
    ev->SetFlg(384, true);
    ev->EventEnd();
    return true;
}

bool EvDayStart001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(385, false)) return false;
    if (!ev->ChkFlg(386, true)) return false;
    if (!ev->ChkFlg(387, true)) return false;
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
    ev->EventBegin();
    EvDayStart001_Sub1();
    ev->EventEnd();
    return true;
}

void EvDayStart001_Sub1() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return;
    ev->ShopAction(0, 3);
    PlayScene("EvDayStart001_Sub1", "breakfast");
    ev->PassTime(2);
    ev->PlayMusic(22, true);
    PlayScene("EvDayStart001_Sub1", "weak");

    ev->ClearGr();
    ev->PassTime(1);
    ev->SetPlace(13, true);
    PlayScene("EvDayStart001_Sub1", "smile");
    const int choice = ev->SelWin2(B5("『直接讓蕾妮特診治。"), B5("『讓蕾妮特的父親診治。"));
    if (choice != 1) {
        ev->PassTime(1);
        PlayScene("EvDayStart001_Sub1", "renette");
        ev->ClearGr();
        ev->PassTime(1);
        ev->SetPlace(13, true);
        PlayScene("EvDayStart001_Sub1", "soup");
        ev->ClearGr();
    } else {
        ev->PassTime(1);
        PlayScene("EvDayStart001_Sub1", "father");
        ev->PassTime(1);
        PlayScene("EvDayStart001_Sub1", "examined");
        ev->SetPlace(2, true);
        PlayScene("EvDayStart001_Sub1", "homeward");
        ev->ClearGr();
    }

    ev->SetPlace(10, false);
    ev->PassNights(1);
    ev->DspGr(337);
    ev->PlayMusic(15, true);
    ev->RefreshStage();
    PlayScene("EvDayStart001_Sub1", "nextMorning");
    ev->ShopAction(0, 15);
    ev->PassTime(1);
    ev->SetFlg(385, true);
}

bool EvDayStart002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(6, 19, 1)) return false;
    if (!ev->ChkFlg(548, true)) return false;
    if (!ev->ChkFlg(550, false)) return false;
    ev->EventBegin();
    ev->SetDayMark(5);
    ev->EventEnd();
    return true;
}

bool EvDayStart003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(9, 7, 1)) return false;
    if (!ev->ChkFlg(549, true)) return false;
    if (!ev->ChkFlg(551, false)) return false;
    ev->EventBegin();
    ev->SetDayMark(5);
    ev->EventEnd();
    return true;
}
