// The flowerbed events: the scripts around the dialogue data of
// story/text/Flowerbed.txt. None tests the place: the flowerbed command walks the
// table only at 芙蘿蕾's house, while she is there and well.
#include "story/Flowerbed.h"

#include "story/Dialogue.h"
#include "town/Evsrvfm.h"

using story::PlayScene;

namespace {

constexpr int kFlowerbedPicture = 774;
constexpr int kFlowerbedTrack = 6;
constexpr int kFlowers = 70;       // 芙蘿蕾的花
constexpr int kHerbBouquet = 99;   // 芙蘿蕾的香草
constexpr int kFlowerCrown = 100;  // 芙蘿蕾的花冠
constexpr int kFlowerHouse = 1;
constexpr int kFlowerRoom = 12;
constexpr int kForest = 33;
constexpr int kHotSpring = 42;
constexpr int kAllDaysOn = 300;  // a day window that reaches past the last day

// The flowerbed picture with its music.
void Opening(TEventServerDbg* ev) {
    ev->DspGr(kFlowerbedPicture);
    ev->PlayMusic(kFlowerbedTrack, true);
    ev->RefreshStage();
}

// Four flowers, counted as one gift (also when the stock is already full).
void GiveFlowers(TEventServerDbg* ev) {
    ev->GiveItem(kFlowers, 4);
    ev->EventVariable[kFlowerGiftCount] += 1;
}

// The dissolve to black and the return to the house front that close most visits.
void BackAtTheHouse(TEventServerDbg* ev) {
    ev->ClearGr();
    ev->SetPlace(kFlowerHouse, true);
}

// The shape most of the talks share: lines, flowers, more lines, then home.
void TalkWithGift(const char* event, TEventServerDbg* ev, int flag) {
    ev->EventBegin();
    Opening(ev);
    PlayScene(event, "talk");
    GiveFlowers(ev);
    PlayScene(event, "after");
    BackAtTheHouse(ev);
    ev->SetFlg(flag, true);
    ev->EventEnd();
}

// The shape of the seasonal talks: lines, home, the flag, then the flowers.
void TalkThenGift(const char* event, TEventServerDbg* ev, int flag) {
    ev->EventBegin();
    Opening(ev);
    PlayScene(event, "talk");
    BackAtTheHouse(ev);
    ev->SetFlg(flag, true);
    GiveFlowers(ev);
    ev->EventEnd();
}

}  // namespace

bool EvFlowerbed000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(23, 1)) return false;
    if (!ev->ChkFlg(556, false)) return false;
    ev->EventBegin();
    Opening(ev);
    PlayScene("EvFlowerbed000", "talk");
    ev->GiveItem(kFlowers, 10);  // the birthday's flowers are not counted as a gift
    PlayScene("EvFlowerbed000", "after");
    BackAtTheHouse(ev);
    ev->SetFlg(556, true);
    ev->GiveItem(kHerbBouquet, 1);
    ev->EventEnd();
    return true;
}

bool EvFlowerbed001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(0, 12)) return false;
    if (!ev->ChkFlg(339, false)) return false;
    if (!ev->ChkFlg(388, false)) return false;
    ev->EventBeginVoice(113);
    Opening(ev);
    PlayScene("EvFlowerbed001", "talk");
    ev->PassTime(1);
    ev->SetFlg(388, true);
    ev->SetFlg(339, true);
    ev->SetPlace(kFlowerHouse, true);
    GiveFlowers(ev);
    ev->EventEnd();
    return true;
}

bool EvFlowerbed002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(388, true)) return false;
    if (!ev->ChkFlg(162, true)) return false;
    ev->EventBegin();
    Opening(ev);
    PlayScene("EvFlowerbed002", "talk");
    BackAtTheHouse(ev);
    ev->EventEnd();
    return true;
}

bool EvFlowerbed003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(96, 24)) return false;
    if (!ev->ChkVar(kFlowerGiftCount, 6, 0, false)) return false;
    if (!ev->ChkFlg(390, false)) return false;
    ev->EventBeginVoice(133);
    Opening(ev);
    PlayScene("EvFlowerbed003", "talk");
    ev->DspGr(776);
    PlayScene("EvFlowerbed003", "crown");
    ev->PassTime(1);
    ev->SetFlg(390, true);
    ev->GiveItem(kFlowerCrown, 1);
    ev->SetPlace(kFlowerHouse, true);
    ev->EventEnd();
    return true;
}

bool EvFlowerbed004() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(216, 18)) return false;
    if (!ev->ChkVar(kFlowerGiftCount, 1, 0, false)) return false;
    if (!ev->ChkFlg(391, false)) return false;
    ev->EventBeginVoice(151);
    ev->DspGr(775);
    ev->RefreshStage();
    ev->StopMusic();
    PlayScene("EvFlowerbed004", "collapse");
    ev->SetFlg(391, true);
    ev->ClearGr();
    ev->ShowPlaceGr(kFlowerRoom);  // her room is shown; the place stays the house
    ev->FaceGr(6);
    ev->PlayMusic(3, true);
    PlayScene("EvFlowerbed004", "room");
    ev->SetPlace(kFlowerHouse, true);
    ev->SetDayMark(0);
    ev->SetFlg(166, true);
    ev->SetFlg(534, true);
    ev->EventEnd();
    return true;
}

bool EvFlowerbed005() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(410, true)) return false;
    if (!ev->ChkFlg(411, false)) return false;
    if (!ev->ChkHour(10, 14)) return false;
    ev->EventBeginVoice(360);
    ev->DspGr(kFlowerbedPicture);
    ev->RefreshStage();
    ev->PlayMusic(kFlowerbedTrack, true);
    PlayScene("EvFlowerbed005", "ask");
    ev->SetPlace(kFlowerHouse, true);
    ev->PlayMusic(9, true);
    PlayScene("EvFlowerbed005", "house");
    ev->PassTime(1);
    ev->SetPlace(kForest, true);
    ev->PlayMusic(11, true);
    PlayScene("EvFlowerbed005", "forest");
    ev->PassTime(1);
    ev->SetPlace(kHotSpring, true);
    PlayScene("EvFlowerbed005", "spring");
    ev->PlayMusic(8, true);
    PlayScene("EvFlowerbed005", "renette");
    ev->DspGr(772);
    ev->PlayMusic(5, true);
    ev->RefreshStage();
    PlayScene("EvFlowerbed005", "bath");
    ev->ClearGr();
    ev->PassTime(2);
    ev->SetPlace(kFlowerHouse, true);
    ev->PlayMusic(10, true);
    PlayScene("EvFlowerbed005", "home");
    ev->SetFlg(411, true);
    ev->EventEnd();
    return true;
}

bool EvFlowerbed006() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(12, kAllDaysOn)) return false;
    if (!ev->ChkFlg(339, false)) return false;
    ev->EventBegin();
    Opening(ev);
    PlayScene("EvFlowerbed006", "talk");
    ev->SetPlace(kFlowerHouse, true);
    ev->SetFlg(339, true);
    GiveFlowers(ev);
    ev->EventEnd();
    return true;
}

bool EvFlowerbed007() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(388, true)) return false;
    if (!ev->ChkDay(24, kAllDaysOn)) return false;
    if (!ev->ChkFlg(438, false)) return false;
    TalkThenGift("EvFlowerbed007", ev, 438);
    return true;
}

bool EvFlowerbed008() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(388, true)) return false;
    if (!ev->ChkDay(48, kAllDaysOn)) return false;
    if (!ev->ChkFlg(439, false)) return false;
    TalkThenGift("EvFlowerbed008", ev, 439);
    return true;
}

bool EvFlowerbed009() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(388, true)) return false;
    if (!ev->ChkDay(72, kAllDaysOn)) return false;
    if (!ev->ChkFlg(440, false)) return false;
    ev->EventBegin();
    Opening(ev);
    PlayScene("EvFlowerbed009", "talk");
    BackAtTheHouse(ev);
    ev->PlayMusic(10, true);
    PlayScene("EvFlowerbed009", "front");
    ev->SetFlg(440, true);
    GiveFlowers(ev);
    ev->EventEnd();
    return true;
}

bool EvFlowerbed010() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(388, true)) return false;
    if (!ev->ChkDay(120, kAllDaysOn)) return false;
    if (!ev->ChkFlg(441, false)) return false;
    TalkThenGift("EvFlowerbed010", ev, 441);
    return true;
}

bool EvFlowerbed011() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(388, true)) return false;
    if (!ev->ChkDay(204, 10)) return false;
    if (!ev->ChkFlg(547, false)) return false;
    ev->EventBegin();
    Opening(ev);
    PlayScene("EvFlowerbed011", "garden");
    ev->ClearGr();
    ev->SetPlace(kFlowerRoom, true);
    PlayScene("EvFlowerbed011", "room");
    ev->ClearGr();
    ev->SetFlg(166, true);
    ev->SetPlace(kFlowerHouse, true);
    GiveFlowers(ev);
    ev->SetFlg(547, true);
    ev->EventEnd();
    return true;
}

bool EvFlowerbed012() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(407, true)) return false;
    if (!ev->ChkFlg(467, false)) return false;
    TalkWithGift("EvFlowerbed012", ev, 467);
    return true;
}

bool EvFlowerbed013() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(18, 6)) return false;
    if (!ev->ChkFlg(492, false)) return false;
    TalkWithGift("EvFlowerbed013", ev, 492);
    return true;
}

bool EvFlowerbed014() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(24, 24)) return false;
    if (!ev->ChkFlg(492, false)) return false;
    if (!ev->ChkFlg(493, false)) return false;
    TalkWithGift("EvFlowerbed014", ev, 493);
    return true;
}

bool EvFlowerbed015() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(156, 11)) return false;
    if (!ev->ChkFlg(494, false)) return false;
    TalkWithGift("EvFlowerbed015", ev, 494);
    return true;
}

bool EvFlowerbed016() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(168, 11)) return false;
    if (!ev->ChkFlg(494, false)) return false;
    if (!ev->ChkFlg(495, false)) return false;
    TalkWithGift("EvFlowerbed016", ev, 495);
    return true;
}

bool EvFlowerbed017() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    // After the cure on her route, or while she is well and still tends her garden.
    const bool cured = ev->ChkFlg(403, true) && ev->ChkFlg(467, true);
    if (!cured) {
        if (!ev->ChkFlg(395, false)) return false;
        if (!ev->ChkFlg(391, false)) return false;
    }
    ev->EventBegin();
    Opening(ev);
    PlayScene("EvFlowerbed017", "talk");
    BackAtTheHouse(ev);
    GiveFlowers(ev);
    ev->EventEnd();
    return true;
}
