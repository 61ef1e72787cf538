// The endings and the final crisis: the scripts around the dialogue data of
// story/text/Endings.txt.
#include "story/Endings.h"

#include "story/Dialogue.h"
#include "town/Evsrvfm.h"

using story::PlayScene;

namespace {

constexpr int kDebt = 1000000;      // what the year must earn
constexpr int kGoodwill = 40;       // the reputation that pays the rest instead
constexpr int kEndingMusic = 17;    // every good ending's music
constexpr int kBadEndingMusic = 4;  // every bad ending's music
constexpr int kPrince = 402, kFlorae = 403, kRenette = 404, kCocotte = 405;
constexpr int kFloraeDied = 395, kRenetteCrisis = 426, kRenetteSaved = 437;

bool Money(TEventServerDbg* ev) { return ev->ChkMoney(kDebt); }

bool NoRoute(TEventServerDbg* ev) {
    return ev->ChkFlg(kPrince, false) && ev->ChkFlg(kFlorae, false) &&
           ev->ChkFlg(kRenette, false) && ev->ChkFlg(kCocotte, false);
}

// A good ending's frame: the voice pack, the first picture dissolved in, the music;
// afterwards the seen flag, the music stopped and the screens hidden.
void BeginGood(TEventServerDbg* ev, int firstVoice, int picture) {
    ev->EventBeginVoice(firstVoice);
    ev->DspGrDissolve(picture);
    ev->PlayMusic(kEndingMusic, true);
    ev->RefreshStage();
}

std::int32_t EndGood(TEventServerDbg* ev, int seenFlag, std::int32_t number) {
    ev->ClearGr();
    ev->SetFlg(seenFlag, true);
    ev->EventEndStopMusic(-1);
    return number;
}

// A bad ending: its message picture and one line, no flag.
std::int32_t Bad(TEventServerDbg* ev, int picture) {
    ev->EventBegin();
    ev->PlayMusic(kBadEndingMusic, true);
    ev->DspGrDissolve(picture);
    PlayScene("EvEnding010", "message");
    ev->EventEndStopMusic(-1);
    return 0;
}

}  // namespace

std::int32_t EvEnding000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!ev->ChkDay(287, 1)) return -1;
    bool endingSeen = false;
    for (int f = 88; f <= 93 && !endingSeen; ++f) endingSeen = ev->ChkFlg(f, true);
    if (!endingSeen) return -1;
    if (!ev->ChkFlg(kRenetteSaved, true)) return -1;
    if (!ev->IsRecipeKnown(19)) return -1;
    if (!ev->ChkItem(98, 1)) return -1;
    if (!ev->ChkHour(9, 9)) return -1;

    // The shop at nine: something is wrong outside.
    ev->EventBegin();
    ev->ShopAction(0, 2);
    ev->StopMusic();
    PlayScene("EvEnding000", "shop");

    // The street: the townspeople at each other's throats.
    ev->ClearGr();
    ev->SetPlace(0, true);
    ev->PlayMusic(23, true);
    ev->RefreshStage();
    PlayScene("EvEnding000", "street");

    // 芙蘿蕾's house: locked, nobody answers.
    ev->ClearGr();
    ev->PassTime(1);
    ev->SetPlace(1, true);
    PlayScene("EvEnding000", "florae");

    // The fountain square: the prince.
    ev->ClearGr();
    ev->PassTime(1);
    ev->SetPlace(3, true);
    PlayScene("EvEnding000", "square");

    // Back at the shop front: the necklace, and 蕾妮特.
    ev->ClearGr();
    ev->PassTime(1);
    ev->SetPlace(0, true);
    PlayScene("EvEnding000", "necklace");

    // The mixing room.
    ev->ClearGr();
    ev->SetPlace(11, true);
    PlayScene("EvEnding000", "resolve");

    // After the mixing: the potion of happiness.
    ev->ClearGr();
    ev->PassTime(4);
    ev->SetPlace(11, true);
    ev->PlayMusic(3, true);
    ev->FaceGr(1);
    ev->LearnRecipe(42);
    ev->GiveItem(42, 1);
    PlayScene("EvEnding000", "potion");

    // The rite.
    ev->WhiteOut();
    ev->RefreshStage();
    PlayScene("EvEnding000", "rite");
    ev->StopMusic();
    PlayScene("EvEnding000", "light");
    ev->ClearGr();
    ev->EventEnd();
    return -1;
}

std::int32_t EvEnding001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!ev->ChkFlg(kPrince, true)) return -1;
    ev->EventBeginVoice(448);
    // The picture mourns whoever was lost; 蕾妮特 is lost when her crisis came and
    // she was not saved.
    const bool floraeLost = ev->TestFlg(kFloraeDied);
    const bool renetteLost = ev->TestFlg(kRenetteCrisis) && !ev->TestFlg(kRenetteSaved);
    const int picture = floraeLost ? (renetteLost ? 810 : 808) : (renetteLost ? 809 : 803);
    ev->DspGrDissolve(picture);
    ev->PlayMusic(kEndingMusic, true);
    ev->RefreshStage();
    PlayScene("EvEnding001", "bells");
    if (!floraeLost) PlayScene("EvEnding001", "flowershop");
    PlayScene("EvEnding001", "child");
    return EndGood(ev, 91, 3);
}

std::int32_t EvEnding002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!ev->ChkFlg(kFlorae, true)) return -1;
    if (!ev->ChkFlg(kPrince, false)) return -1;
    if (!ev->ChkFlg(kRenette, false)) return -1;
    if (!ev->ChkFlg(kCocotte, false)) return -1;
    if (!Money(ev)) return -1;
    BeginGood(ev, 314, 806);
    PlayScene("EvEnding002", "lines");
    return EndGood(ev, 88, 2);
}

std::int32_t EvEnding003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!NoRoute(ev)) return -1;
    if (!Money(ev)) return -1;
    BeginGood(ev, 424, 806);
    PlayScene("EvEnding003", "lines");
    return EndGood(ev, 89, 1);
}

std::int32_t EvEnding004() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!NoRoute(ev)) return -1;
    if (!ev->ChkNot(Money(ev))) return -1;
    if (!ev->ChkReputation(kGoodwill)) return -1;
    BeginGood(ev, 436, 806);
    PlayScene("EvEnding004", "lines");
    return EndGood(ev, 90, 1);
}

std::int32_t EvEnding005() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!ev->ChkFlg(kRenette, true)) return -1;
    if (!Money(ev)) return -1;
    BeginGood(ev, 898, 256);
    PlayScene("EvEnding005", "lines");
    return EndGood(ev, 92, 4);
}

std::int32_t EvEnding006() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!ev->ChkFlg(kCocotte, true)) return -1;
    if (!ev->ChkFlg(kPrince, false)) return -1;
    if (!ev->ChkFlg(kRenette, false)) return -1;
    if (!ev->ChkFlg(kFlorae, false)) return -1;
    if (!Money(ev)) return -1;
    BeginGood(ev, 1132, 256);
    PlayScene("EvEnding006", "lines");
    return EndGood(ev, 93, 5);
}

std::int32_t EvEnding007() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !ev->ChkFlg(kFlorae, true)) return -1;
    return Bad(ev, 815);
}

std::int32_t EvEnding008() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !ev->ChkFlg(kRenette, true)) return -1;
    return Bad(ev, 816);
}

std::int32_t EvEnding009() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !ev->ChkFlg(kCocotte, true)) return -1;
    return Bad(ev, 817);
}

std::int32_t EvEnding010() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    return Bad(ev, 814);
}
