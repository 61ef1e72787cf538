// The flowerbed events: their conditions, in the order the walk tests them; each
// body is the scene "main" of its event in story/text/Flowerbed.txt. None tests the
// place: the flowerbed command walks the table only at 芙蘿蕾's house, while she is
// there and well.
#include "story/Flowerbed.h"

#include "story/Dialogue.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

using story::RunEvent;

namespace {
constexpr int kAllDaysOn = 300;  // a day window that reaches past the last day
}  // namespace

bool EvFlowerbed000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(23, 1)) return false;
    if (!ev->ChkFlg(flag::BirthdayBouquet, false)) return false;
    return RunEvent("EvFlowerbed000");
}

bool EvFlowerbed001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(0, 12)) return false;
    if (!ev->ChkFlg(flag::FirstFlowersGiven, false)) return false;
    if (!ev->ChkFlg(flag::FlowerbedFirstVisit, false)) return false;
    return RunEvent("EvFlowerbed001");
}

bool EvFlowerbed002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FlowerbedFirstVisit, true)) return false;
    if (!ev->ChkFlg(flag::FlowerbedVisitedToday, true)) return false;
    return RunEvent("EvFlowerbed002");
}

bool EvFlowerbed003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(96, 24)) return false;
    if (!ev->ChkVar(var::FlowerGiftCount, 6, 0, false)) return false;
    if (!ev->ChkFlg(flag::FlowerCrownGiven, false)) return false;
    return RunEvent("EvFlowerbed003");
}

bool EvFlowerbed004() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(216, 18)) return false;
    if (!ev->ChkVar(var::FlowerGiftCount, 1, 0, false)) return false;
    if (!ev->ChkFlg(flag::FloraeCollapsed, false)) return false;
    return RunEvent("EvFlowerbed004");
}

bool EvFlowerbed005() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::HotSpringFound, true)) return false;
    if (!ev->ChkFlg(flag::HotSpringOuting, false)) return false;
    if (!ev->ChkHour(10, 14)) return false;
    return RunEvent("EvFlowerbed005");
}

bool EvFlowerbed006() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(12, kAllDaysOn)) return false;
    if (!ev->ChkFlg(flag::FirstFlowersGiven, false)) return false;
    return RunEvent("EvFlowerbed006");
}

bool EvFlowerbed007() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FlowerbedFirstVisit, true)) return false;
    if (!ev->ChkDay(24, kAllDaysOn)) return false;
    if (!ev->ChkFlg(flag::FlowerCareTalk, false)) return false;
    return RunEvent("EvFlowerbed007");
}

bool EvFlowerbed008() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FlowerbedFirstVisit, true)) return false;
    if (!ev->ChkDay(48, kAllDaysOn)) return false;
    if (!ev->ChkFlg(flag::FlowerSeasonsTalk, false)) return false;
    return RunEvent("EvFlowerbed008");
}

bool EvFlowerbed009() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FlowerbedFirstVisit, true)) return false;
    if (!ev->ChkDay(72, kAllDaysOn)) return false;
    if (!ev->ChkFlg(flag::FlowerWishTalk, false)) return false;
    return RunEvent("EvFlowerbed009");
}

bool EvFlowerbed010() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FlowerbedFirstVisit, true)) return false;
    if (!ev->ChkDay(120, kAllDaysOn)) return false;
    if (!ev->ChkFlg(flag::FlowerMoodsTalk, false)) return false;
    return RunEvent("EvFlowerbed010");
}

bool EvFlowerbed011() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FlowerbedFirstVisit, true)) return false;
    if (!ev->ChkDay(204, 10)) return false;
    if (!ev->ChkFlg(flag::FeverDayTalk, false)) return false;
    return RunEvent("EvFlowerbed011");
}

bool EvFlowerbed012() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeSightRestored, true)) return false;
    if (!ev->ChkFlg(flag::FloraeThanks, false)) return false;
    return RunEvent("EvFlowerbed012");
}

bool EvFlowerbed013() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(18, 6)) return false;
    if (!ev->ChkFlg(flag::SchoolYearEndsTalk, false)) return false;
    return RunEvent("EvFlowerbed013");
}

bool EvFlowerbed014() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(24, 24)) return false;
    if (!ev->ChkFlg(flag::SchoolYearEndsTalk, false)) return false;
    if (!ev->ChkFlg(flag::SchoolYearEndedTalk, false)) return false;
    return RunEvent("EvFlowerbed014");
}

bool EvFlowerbed015() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(156, 11)) return false;
    if (!ev->ChkFlg(flag::HolidaysSoonTalk, false)) return false;
    return RunEvent("EvFlowerbed015");
}

bool EvFlowerbed016() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(168, 11)) return false;
    if (!ev->ChkFlg(flag::HolidaysSoonTalk, false)) return false;
    if (!ev->ChkFlg(flag::HolidaysBegunTalk, false)) return false;
    return RunEvent("EvFlowerbed016");
}

bool EvFlowerbed017() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    // After the cure on her route, or while she is well and still tends her garden.
    const bool cured = ev->ChkFlg(flag::RouteFlorae, true) && ev->ChkFlg(flag::FloraeThanks, true);
    if (!cured) {
        if (!ev->ChkFlg(flag::FloraeDied, false)) return false;
        if (!ev->ChkFlg(flag::FloraeCollapsed, false)) return false;
    }
    return RunEvent("EvFlowerbed017");
}
