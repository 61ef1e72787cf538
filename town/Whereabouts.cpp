// The recurring characters' schedules. Every day, flag and weekday test goes through
// the event server's conditions, so the debug window's override makes them all true;
// every chance is one draw of the server's random test.
#include "town/Whereabouts.h"

#include <initializer_list>

#include "story/Register.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"

std::array<NpcMeeting, kNpcKinds> NpcMet{};
std::int32_t NpcLastKind = -1;
std::int32_t NpcLastPlace = 0;

namespace {

TEventServerDbg& Ev() { return *EventServerDbg; }
bool R(int percent) { return Ev().ChkRandom(percent); }
bool In(int place, std::initializer_list<int> places) {
    for (int p : places)
        if (p == place) return true;
    return false;
}
bool InRange(int place, int first, int last) { return place >= first && place <= last; }
// The land's places from the forest to the crater, the lake and the beach: all but the
// big tree (39).
bool LandButBigTree(int p) {
    return InRange(p, place::Forest, place::Crater) || p == place::Lake || p == place::Beach;
}
bool MetAt(int kind, int place) { return NpcMet[kind].Place == place; }
int HeroinePlace() { return GameFlow ? GameFlow->Place : -1; }

bool Schedule0(int h, int p) {
    switch (h) {
        case 14:
            return HeroinePlace() == place::Library && !MetAt(npc::Florae, place::Library) && R(70);
        case 15:
            if (p == place::School) return R(10);
            if (p == place::Flowerbed) return R(70);
            if (p == place::Library) return !MetAt(npc::Florae, place::Library) && R(70);
            return false;
        case 16:
        case 17:
            if (In(p, {place::Square, place::Bakery})) return R(30);
            return p == place::Flowerbed;
        case 18:
            return p == place::FloraeRoom;
        default:
            return false;
    }
}

bool Schedule1(int h, int p) {
    switch (h) {
        case 10:
        case 11:
            return p == place::Flowerbed;
        case 12:
            if (p == place::Flowerbed) return NpcMet[npc::Florae].Place != place::FloraeHouse;
            if (p == place::FloraeHouse) return R(10);
            return false;
        case 13:
        case 14:
            return p == place::Library && !MetAt(npc::Florae, place::Library) && R(70);
        case 15:
            if (p == place::Library) return !MetAt(npc::Florae, place::Library) && R(70);
            return p == place::Flowerbed;
        case 16:
            if (p == place::ShopFront) return R(10);
            return p == place::Flowerbed;
        case 17:
            if (In(p, {place::Square, place::Bakery})) return R(30);
            return p == place::Flowerbed;
        case 18:
            return p == place::FloraeRoom;
        default:
            return false;
    }
}

bool Schedule2(int h, int p) {
    switch (h) {
        case 10:
        case 11:
        case 12:
            return p == place::Flowerbed;
        case 13:
            return p == place::Library && !MetAt(npc::Florae, place::Library) && R(70);
        case 14:
            if (p == place::Library) return !MetAt(npc::Florae, place::Library) && R(70);
            if (p == place::Park) return R(70);
            return false;
        case 15:
            return p == place::Park;
        case 16:
            if (p == place::Park) return true;
            if (p == place::Flowerbed) return R(30);
            return false;
        case 17:
            if (In(p, {place::Square, place::Bakery})) return R(30);
            return p == place::Flowerbed;
        case 18:
            return p == place::FloraeRoom;
        default:
            return false;
    }
}

bool Schedule3(int, int p) { return p == place::FloraeRoom && Ev().ChkHour(10, 18); }

bool Schedule4(int h, int p) {
    if (h >= 10 && h <= 15)
        return p == place::ForestSpring && NpcMet[npc::Fele].Hour == 0 &&
               Ev().ChkFlg(flag::FeleSceneToday, false);
    if (h == 16 || h == 17) return p == place::Square && R(30);
    if (h == 18) return In(p, {place::RivalShop, place::Bakery}) && R(10);
    return false;
}

bool Schedule5(int h, int p) {
    switch (h) {
        case 10:
            return In(p, {place::BigTree, place::Lake, place::Beach}) && R(10);
        case 11:
            return In(p, {place::BigTree, place::Lake, place::Beach}) && R(30);
        case 12:
            return In(p, {place::Park, place::School}) && R(10);
        case 13:
            return In(p, {place::Square, place::Park, place::BigTree}) && R(10);
        case 16:
        case 17:
            return p == place::Square && R(30);
        case 18:
            return In(p, {place::RivalShop, place::Bakery}) && R(10);
        default:
            return false;
    }
}

bool Schedule6(int h, int p) {
    switch (h) {
        case 12:
            return In(p, {place::Square, place::Park, place::School}) && R(10);
        case 13:
            return In(p, {place::Square, place::Park, place::Waterfall, place::BigTree}) && R(10);
        case 14:
        case 15:
            if (In(p, {place::Square, place::Park, place::BigTree})) return R(10);
            return p == place::Waterfall && R(30);
        case 16:
        case 17:
            return p == place::Square && R(10);
        default:
            return Schedule5(h, p);
    }
}

bool Schedule7At16(int p) {
    if (NpcMet[npc::Renette].Hour == 15) return false;
    return (p == place::RivalShop || InRange(p, place::Forest, place::Beach)) && R(20);
}

bool Schedule7(int h, int p) {
    switch (h) {
        case 15:
            // A failed draw (or a place of neither list) falls through to hour 16's rule.
            if ((p == place::RivalShop || LandButBigTree(p)) && R(20)) return true;
            if (p == place::BigTree && R(60)) return true;
            return Schedule7At16(p);
        case 16:
            return Schedule7At16(p);
        case 17:
            return In(p, {place::ShopFront, place::RivalShop}) && R(20);
        default:
            return false;
    }
}

bool Schedule8(int h, int p) {
    switch (h) {
        case 10:
            return In(p, {place::RivalShop, place::Square, place::Bakery, place::Library}) && R(10);
        case 11:
            return In(p, {place::RivalShop, place::Square, place::Bakery, place::EventGround}) &&
                   R(10);
        case 12:
            return p == place::BigTree && R(30);
        case 13:
        case 14:
            if (LandButBigTree(p)) return R(10);
            return p == place::BigTree && R(30);
        case 15:
        case 16:
        case 17:
            return InRange(p, place::Forest, place::Beach) && R(10);
        case 18:
            return p == place::RivalShop && R(10);
        default:
            return false;
    }
}

bool Schedule9(int h, int p) {
    switch (h) {
        case 10:
            return In(p, {place::RivalShop, place::Square, place::Bakery, place::Library}) && R(10);
        case 11:
            if (In(p, {place::RivalShop, place::Square, place::Bakery, place::EventGround,
                       place::Library}))
                return R(10);
            return p == place::RivalShopInside && R(70);
        case 12:
            return p == place::RivalShopInside && R(70);
        case 13:
            return p == place::BigTree && R(30);
        case 14:
            if (!InRange(p, place::ForestSpring, place::Beach)) return false;
            if (R(10)) return true;
            return p == place::BigTree && R(30);  // the spring's second chance
        case 16:
            return InRange(p, place::ForestSpring, place::Beach) && R(10);
        case 18:
            return p == place::RivalShop && R(10);
        default:
            return false;
    }
}

bool Schedule10(int h, int p) {
    switch (h) {
        case 10:
            return In(p, {place::RivalShop, place::Square, place::Bakery, place::Library}) && R(10);
        case 11:
            if (In(p, {place::RivalShop, place::Square, place::Bakery, place::Library}))
                return R(10);
            return p == place::RivalShopInside && R(70);
        case 12:
            return p == place::RivalShopInside && R(70);
        case 13:
            if (LandButBigTree(p)) return R(10);
            return p == place::BigTree && R(30);
        case 15:
        case 17:
            return InRange(p, place::Forest, place::Beach) && R(10);
        case 18:
            return p == place::RivalShopInside && R(10);
        default:
            return false;
    }
}

bool Schedule11(int h, int p) {
    if (p != place::BigTree || NpcMet[npc::Renette].Hour != 0) return false;
    if (h == 15 || h == 17) return R(10);
    if (h == 16) return R(30);
    return false;
}

bool Schedule12(int h, int p) {
    if (p != place::BigTree || NpcMet[npc::Renette].Hour != 0) return false;
    if (h == 13 || h == 16) return R(10);
    if (h == 14 || h == 15) return R(30);
    return false;
}

bool Schedule13(int h, int p) {
    switch (h) {
        case 14:
            return p == place::School && R(10);
        case 15:
            if (p == place::RivalShop) return R(10);
            if (p == place::Square) return R(30);
            return p == place::RivalShopInside;
        case 16:
            if (p == place::Square) return R(10);
            return p == place::RivalShopInside;
        case 17:
        case 18:
            return p == place::RivalShopInside;
        default:
            return false;
    }
}

bool Schedule14(int h, int p) {
    switch (h) {
        case 11:
            return p == place::RivalShopInside && R(10);
        case 12:
            if (p == place::RivalShopInside) return R(10);
            return p == place::RivalShop && R(50);
        case 13:
            if (In(p, {place::ShopFront, place::FloraeHouse, place::Square, place::Bakery,
                       place::Park, place::EventGround}))
                return R(10);
            return p == place::RivalShopInside && R(30);
        case 14:
        case 15:
            if (In(p, {place::ShopFront, place::FloraeHouse, place::Square, place::Bakery,
                       place::EventGround}))
                return R(10);
            return p == place::Park && R(30);
        case 16:
        case 17:
            return In(p, {place::ShopFront, place::FloraeHouse, place::Square, place::Bakery}) &&
                   R(10);
        case 18:
            return p == place::RivalShop && R(10);
        default:
            return false;
    }
}

bool Schedule15(int h, int p) {
    switch (h) {
        case 11:
            if (p == place::RivalShop) return R(10);
            return p == place::RivalShopInside;
        case 13:
            if (p == place::Square) return R(30);
            return p == place::RivalShopInside;
        case 14:
            if (p == place::Square) return R(10);
            return p == place::RivalShopInside;
        case 12:
        case 15:
        case 16:
        case 17:
        case 18:
            return p == place::RivalShopInside;
        default:
            return false;
    }
}

using ScheduleFn = bool (*)(int hour, int place);
constexpr ScheduleFn kSchedules[kNpcSchedules] = {
    Schedule0, Schedule1, Schedule2,  Schedule3,  Schedule4,  Schedule5,  Schedule6,  Schedule7,
    Schedule8, Schedule9, Schedule10, Schedule11, Schedule12, Schedule13, Schedule14, Schedule15,
};

constexpr int kAbsent = -1;

// The schedule of `kind` today (and its variant), or kAbsent.
int ChooseSchedule(int kind, int& variant) {
    TEventServerDbg& ev = Ev();
    const bool festival = ev.ChkDay(24, 24) || ev.ChkDay(168, 24);
    // Neither the rest day nor day 48, on which the town keeps its holiday.
    const bool workday = ev.ChkWeekday(-1) && ev.ChkNot(ev.ChkDay(48, 1));
    auto pick = [&variant](int schedule, int v) {
        variant = v;
        return schedule;
    };
    switch (kind) {
        case npc::Florae:
            if (ev.ChkFlg(flag::FloraeDied, true)) return kAbsent;
            if (festival || ev.ChkDay(48, 1)) return pick(2, 1);
            if (ev.ChkFlg(flag::FloraeCollapsed, true) && ev.ChkFlg(flag::RouteFlorae, false))
                return pick(3, -1);
            if (ev.ChkWeekday(5)) return pick(1, 2);
            return pick(0, 0);
        case npc::Renette:
            if (ev.ChkFlg(flag::EarthquakeDone, true) || ev.ChkFlg(flag::DawnWithCocotte, true))
                return kAbsent;
            if (festival && (ev.ChkWeekday(1) || ev.ChkWeekday(3))) return pick(10, 3);
            if (festival && (ev.ChkWeekday(0) || ev.ChkWeekday(2) || ev.ChkWeekday(4)))
                return pick(9, 1);
            if (ev.ChkFlg(flag::RenetteAtBigTree, true) && ev.ChkFlg(flag::RenetteSaved, false)) {
                if (ev.ChkFlg(flag::RenetteCrisis, true)) return kAbsent;
                if (workday) return pick(11, 4);
                return pick(12, 5);
            }
            if (ev.ChkWeekday(5)) return pick(8, 2);
            return pick(7, 0);
        case npc::Fele:
            if (ev.ChkFlg(flag::FeleMet, false)) return kAbsent;
            if (ev.ChkFlg(flag::LakeCurse, true) && ev.ChkFlg(flag::LakeAfternoon, false) &&
                ev.ChkFlg(flag::LakeTooLate, false))
                return kAbsent;
            if (ev.ChkFlg(flag::FeleLeft, true)) return kAbsent;
            if (ev.ChkWeekday(5)) return pick(6, 2);
            if (ev.ChkFlg(flag::RingFound, false))
                return ev.ChkNot(ev.ChkWeekday(1) || ev.ChkWeekday(3)) ? pick(5, 4) : pick(4, 0);
            return pick(5, 4);
        case npc::Cocotte:
            if (workday && ev.ChkNot(festival)) return pick(13, 0);
            if (workday) return pick(15, 1);
            return pick(14, 2);
        default:
            return kAbsent;
    }
}

}  // namespace

bool NpcSchedule(int n, int place) {
    if (!EventServerDbg || n < 0 || n >= kNpcSchedules) return false;
    return kSchedules[n](Ev().GetHour(), place);
}

bool NpcWhereabouts(int kind, int place) {
    NpcLastKind = -1;
    if (!EventServerDbg) return false;
    int variant = -1;
    Ev().m_ScheduleVariant = -1;
    const int schedule = ChooseSchedule(kind, variant);
    if (schedule == kAbsent) return false;
    Ev().m_ScheduleVariant = variant;
    const bool here = NpcSchedule(schedule, place);
    if (here) {
        NpcLastKind = kind;
        NpcLastPlace = place;
    }
    NpcMetPending = here ? 1 : 0;
    return here;
}

void MarkNpcMet() {
    if (NpcLastKind < 0 || NpcLastKind >= kNpcKinds || !EventServerDbg) return;
    NpcMet[NpcLastKind] = NpcMeeting{Ev().GetHour(), NpcLastPlace};
}

void ClearNpcMet() { NpcMet.fill(NpcMeeting{}); }

bool TEventServerDbg::ChkNpc(int kind, int place) {
    if (ConditionOverride) return true;
    return NpcWhereabouts(kind, place);
}
