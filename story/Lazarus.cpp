// 拉撒魯斯, the star traveller at the waterfall, in a game after a good ending of an
// earlier one: the meeting, the recipe found at home, the reminder, the delivery and
// the closing thought. Their lines are in story/text/Lazarus.txt.
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

// The meeting: afternoons of days 180..203 at the waterfall, half the arrivals (the
// chance is drawn before the ending flags are looked at).
bool EvMove115() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(13, 17)) return false;
    if (!ev->ChkDay(180, 24)) return false;
    if (!ev->ChkPlace(place::Waterfall)) return false;
    if (!ev->ChkRandom(50)) return false;
    // Any ending seen in an earlier game; the first set flag ends the test.
    bool endingSeen = false;
    for (int f : {flag::EndingFloraeSeen, flag::EndingDebtPaidSeen, flag::EndingGoodwillSeen,
                  flag::EndingPrinceSeen, flag::EndingRenetteSeen, flag::EndingCocotteSeen})
        if (!endingSeen) endingSeen = ev->ChkFlg(f, true);
    if (!endingSeen) return false;
    if (!ev->ChkFlg(flag::LazarusMet, false)) return false;
    return story::RunEvent("EvMove115");
}

// The recipe, found at home within ten days of the meeting.
bool EvMove146() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::LazarusMeetingDay, 0, 10)) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    if (!ev->ChkFlg(flag::GravityRecipeFound, false)) return false;
    return story::RunEvent("EvMove146");
}

// The reminder while she holds no 重力水晶.
bool EvMove116() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::LazarusMeetingDay, 0, 10)) return false;
    if (!ev->ChkHour(10, 17)) return false;
    if (!ev->ChkPlace(place::Waterfall)) return false;
    if (!ev->ChkFlg(flag::LazarusLeft, false)) return false;
    if (!ev->ChkNot(ev->ChkItem(item::GravityCrystal, 1))) return false;
    return story::RunEvent("EvMove116");
}

// The delivery: the crystal is shown, not handed over, so it stays in stock.
bool EvMove117() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::LazarusMeetingDay, 0, 10)) return false;
    if (!ev->ChkHour(10, 17)) return false;
    if (!ev->ChkItem(item::GravityCrystal, 1)) return false;
    if (!ev->ChkPlace(place::Waterfall)) return false;
    if (!ev->ChkFlg(flag::LazarusLeft, false)) return false;
    return story::RunEvent("EvMove117");
}

// The closing thought, anywhere by day from the 16th day after the meeting.
bool EvMove118() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::LazarusMeetingDay, 16, 300)) return false;
    if (!ev->ChkHour(10, 17)) return false;
    if (!ev->ChkFlg(flag::LazarusLeft, false)) return false;
    if (!ev->ChkFlg(flag::LazarusClosingThought, false)) return false;
    return story::RunEvent("EvMove118");
}
