// The endings and the final crisis: their conditions; the bodies are the scenes of
// story/text/Endings.txt.
#include "story/Endings.h"

#include "story/Dialogue.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

namespace {

constexpr int kDebt = 1000000;  // what the year must earn
constexpr int kGoodwill = 40;   // the reputation that pays the rest instead

bool Money(TEventServerDbg* ev) { return ev->ChkMoney(kDebt); }

bool NoRoute(TEventServerDbg* ev) {
    return ev->ChkFlg(flag::RoutePrince, false) && ev->ChkFlg(flag::RouteFlorae, false) &&
           ev->ChkFlg(flag::RouteRenette, false) && ev->ChkFlg(flag::RouteCocotte, false);
}

// An ending's body; its number when it played, else -1.
std::int32_t Play(const char* event, std::int32_t number) {
    return story::RunEvent(event) ? number : -1;
}

}  // namespace

void EndingPicture() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return;
    // 蕾妮特 is lost when her crisis came and she was not saved.
    const bool floraeLost = ev->TestFlg(flag::FloraeDied);
    const bool renetteLost = ev->TestFlg(flag::RenetteCrisis) && !ev->TestFlg(flag::RenetteSaved);
    ev->DspGrDissolve(floraeLost ? (renetteLost ? 810 : 808) : (renetteLost ? 809 : 803));
}

std::int32_t EvEnding000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!ev->ChkDay(287, 1)) return -1;
    bool endingSeen = false;
    for (int f = flag::EndingFloraeSeen; f <= flag::EndingCocotteSeen && !endingSeen; ++f)
        endingSeen = ev->ChkFlg(f, true);
    if (!endingSeen) return -1;
    if (!ev->ChkFlg(flag::RenetteSaved, true)) return -1;
    if (!ev->IsRecipeKnown(item::TiraCandy)) return -1;
    if (!ev->ChkItem(item::WaterSpiritStone, 1)) return -1;
    if (!ev->ChkHour(9, 9)) return -1;
    story::RunEvent("EvEnding000");
    return -1;
}

std::int32_t EvEnding001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!ev->ChkFlg(flag::RoutePrince, true)) return -1;
    return Play("EvEnding001", 3);
}

std::int32_t EvEnding002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!ev->ChkFlg(flag::RouteFlorae, true)) return -1;
    if (!ev->ChkFlg(flag::RoutePrince, false)) return -1;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return -1;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return -1;
    if (!Money(ev)) return -1;
    return Play("EvEnding002", 2);
}

std::int32_t EvEnding003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!NoRoute(ev)) return -1;
    if (!Money(ev)) return -1;
    return Play("EvEnding003", 1);
}

std::int32_t EvEnding004() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!NoRoute(ev)) return -1;
    if (!ev->ChkNot(Money(ev))) return -1;
    if (!ev->ChkReputation(kGoodwill)) return -1;
    return Play("EvEnding004", 1);
}

std::int32_t EvEnding005() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!ev->ChkFlg(flag::RouteRenette, true)) return -1;
    if (!Money(ev)) return -1;
    return Play("EvEnding005", 4);
}

std::int32_t EvEnding006() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    if (!ev->ChkFlg(flag::RouteCocotte, true)) return -1;
    if (!ev->ChkFlg(flag::RoutePrince, false)) return -1;
    if (!ev->ChkFlg(flag::RouteRenette, false)) return -1;
    if (!ev->ChkFlg(flag::RouteFlorae, false)) return -1;
    if (!Money(ev)) return -1;
    return Play("EvEnding006", 5);
}

std::int32_t EvEnding007() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !ev->ChkFlg(flag::RouteFlorae, true)) return -1;
    return Play("EvEnding007", 0);
}

std::int32_t EvEnding008() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !ev->ChkFlg(flag::RouteRenette, true)) return -1;
    return Play("EvEnding008", 0);
}

std::int32_t EvEnding009() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev || !ev->ChkFlg(flag::RouteCocotte, true)) return -1;
    return Play("EvEnding009", 0);
}

std::int32_t EvEnding010() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return -1;
    return Play("EvEnding010", 0);
}
