// 王子 and the royal ball: the ring at the forest spring and at the square, the first
// afternoon in the castle garden and the visits after it, the ball's invitation, the
// ball night, the engagement told to 黑皮 and to her mother, the castle gate's answers
// and the magic contest's aftermath. Their lines are in story/text/Prince.txt.
#include "story/Prince.h"

#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

namespace {

// The garden visits so far are even: read from the variable itself, so the override
// does not make it hold.
bool GardenVisitsEven(const TEventServerDbg* ev) {
    return (ev->EventVariable[var::GardenVisitCount] & 1) == 0;
}

}  // namespace

bool EvTurnStart008() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::BallInvitation, false)) return false;
    if (!ev->ChkDay(276, 5)) return false;
    if (!ev->ChkVar(var::GardenVisitCount, 5, 0, false)) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    if (!ev->ChkHour(9, 15)) return false;
    return story::RunEvent("EvTurnStart008");
}

bool EvTurnStart010() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(281, 1)) return false;
    if (!ev->ChkFlg(flag::BallInvitation, true)) return false;
    if (!ev->ChkHour(17, 19)) return false;
    return story::RunEvent("EvTurnStart010");
}

bool EvTurnStart011() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::EngagementToldMother, false)) return false;
    if (!ev->ChkDay(282, 300)) return false;
    if (!ev->ChkFlg(flag::RoutePrince, true)) return false;
    if (!ev->ChkItem(item::SoulOfTheUnderworld, 1)) return false;
    if (!ev->ChkHour(20, 22)) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::RunEvent("EvTurnStart011");
}

bool EvTurnStart025() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(282, 1)) return false;
    if (!ev->ChkFlg(flag::RoutePrince, true)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    if (!ev->ChkFlg(flag::EngagementSecret, false)) return false;
    return story::RunEvent("EvTurnStart025");
}

bool EvMove009() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::RingFound, false)) return false;
    if (!ev->ChkDay(144, 300)) return false;
    if (!ev->ChkFlg(flag::FeleFellToday, false)) return false;
    if (!ev->ChkFlg(flag::FeleSprainedAnkle, true)) return false;
    if (!(ev->ChkWeekday(1) || ev->ChkWeekday(3))) return false;
    if (!ev->ChkHour(10, 15)) return false;
    if (!ev->ChkPlace(place::ForestSpring)) return false;
    return story::RunEvent("EvMove009");
}

bool EvMove010() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::RingReturned, false)) return false;
    if (!ev->ChkFlg(flag::RingFound, true)) return false;
    if (!ev->ChkHour(12, 18)) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    return story::RunEvent("EvMove010");
}

bool EvMove011() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::PalaceInvitation, true)) return false;
    if (!ev->ChkDay(185, 300)) return false;
    if (!ev->ChkWeekday(5)) return false;
    if (!ev->ChkHour(10, 15)) return false;
    if (!ev->ChkPlace(place::CastleGarden)) return false;
    if (!ev->ChkFlg(flag::GardenFirstVisit, false)) return false;
    return story::RunEvent("EvMove011");
}

bool EvMove096() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::EventGround)) return false;
    if (!ev->ChkHour(13, 16)) return false;
    if (!ev->ChkDay(125, 1)) return false;
    return story::RunEvent("EvMove096");
}

bool EvMove097() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::EventGround)) return false;
    if (!ev->ChkHour(17, 18)) return false;
    if (!ev->ChkDay(125, 1)) return false;
    if (!ev->ChkFlg(flag::MagicContestHeld, false)) return false;
    if (!ev->ChkFlg(flag::ContestSkipped, false)) return false;
    return story::RunEvent("EvMove097");
}

bool EvMove098() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::BallNightPassed, true)) return false;
    if (!ev->ChkPlace(place::CastleGate)) return false;
    return story::RunEvent("EvMove098");
}

bool EvMove099() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::RoutePrince, true)) return false;
    if (!ev->ChkPlace(place::CastleGate)) return false;
    if (!ev->ChkFlg(flag::GuardGreetedLady, false)) return false;
    return story::RunEvent("EvMove099");
}

bool EvMove100() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::ProposalRefused, true)) return false;
    if (!ev->ChkPlace(place::CastleGate)) return false;
    return story::RunEvent("EvMove100");
}

bool EvMove101() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::CastleGate)) return false;
    return story::RunEvent("EvMove101");
}

bool EvMove102() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(281, 1)) return false;
    if (!ev->ChkHour(17, 19)) return false;
    if (!ev->ChkFlg(flag::BallInvitation, true)) return false;
    return story::RunEvent("EvMove102");
}

// Every walk of the ball night from 20:00 is claimed; its data marks that she stayed
// away only while she was invited and the ball has not been played.
bool EvMove103() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(281, 1)) return false;
    if (!ev->ChkHour(20, 23)) return false;
    return story::RunEvent("EvMove103");
}

bool EvMove104() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::HeipiAfterBall, false)) return false;
    if (!((ev->ChkDay(281, 1) && ev->ChkHour(20, 23)) ||
          (ev->ChkDay(282, 100) && ev->ChkHour(0, 23))))
        return false;
    if (!ev->ChkFlg(flag::BallInvitation, true)) return false;
    if (!ev->ChkFlg(flag::BallNightPassed, true)) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    return story::RunEvent("EvMove104");
}

bool EvMove105() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::CastleGarden)) return false;
    if (!GardenVisitsEven(ev)) return false;
    if (!ev->ChkFlg(flag::GardenVisit1, false)) return false;
    return story::RunEvent("EvMove105");
}

bool EvMove106() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::CastleGarden)) return false;
    if (!GardenVisitsEven(ev)) return false;
    if (!ev->ChkFlg(flag::GardenVisit1, true)) return false;
    if (!ev->ChkFlg(flag::GardenVisit2, false)) return false;
    return story::RunEvent("EvMove106");
}

bool EvMove107() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::CastleGarden)) return false;
    if (!GardenVisitsEven(ev)) return false;
    if (!ev->ChkFlg(flag::GardenVisit2, true)) return false;
    if (!ev->ChkFlg(flag::GardenVisit3, false)) return false;
    return story::RunEvent("EvMove107");
}

bool EvMove108() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::CastleGarden)) return false;
    if (!GardenVisitsEven(ev)) return false;
    if (!ev->ChkFlg(flag::GardenVisit3, true)) return false;
    if (!ev->ChkFlg(flag::GardenVisit4, false)) return false;
    return story::RunEvent("EvMove108");
}

bool EvMove109() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::CastleGarden)) return false;
    if (!GardenVisitsEven(ev)) return false;
    if (!ev->ChkFlg(flag::GardenVisit4, true)) return false;
    if (!ev->ChkFlg(flag::GardenVisit5, false)) return false;
    return story::RunEvent("EvMove109");
}

bool EvMove110() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::CastleGarden)) return false;
    if (!GardenVisitsEven(ev)) return false;
    if (!ev->ChkFlg(flag::GardenVisit5, true)) return false;
    if (!ev->ChkFlg(flag::GardenVisit6, false)) return false;
    return story::RunEvent("EvMove110");
}

bool EvMove111() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::CastleGarden)) return false;
    return story::RunEvent("EvMove111");
}

// The ball: the hall and the balcony until her flight; then the ring decides. Without
// it she begs his pardon at the gate. With it, the prince's secret; a heroine on
// another's route declines without being asked, any other answers his proposal.
void EvBall() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return;
    story::PlayScene("EvBall", "hall");
    if (!ev->ChkItem(item::FoundRing, 1)) {
        story::PlayScene("EvBall", "noring");
    } else {
        story::PlayScene("EvBall", "ring");
        if (ev->ChkFlg(flag::RouteFlorae, true) || ev->ChkFlg(flag::RouteRenette, true) ||
            ev->ChkFlg(flag::RouteCocotte, true))
            story::PlayScene("EvBall", "declined");
        else
            story::PlayScene("EvBall", "proposal");
    }
    story::PlayScene("EvBall", "close");
}
