// The town's everyday events as their condition chains, until their bodies come: each
// records its name when its conditions hold and returns false.
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

bool EvMove000() { return false; }  // an empty slot that never runs

namespace {

// A recipe inspiration: the recipe not known yet, the level reached, the place, and
// not during the night search.
bool Inspires(TEventServerDbg* ev, int item, int level, int place) {
    return ev->ChkNot(ev->IsRecipeKnown(item)) && ev->ChkLevel(level) && ev->ChkPlace(place) &&
           ev->ChkFlg(flag::NightSearch, false);
}

}  // namespace

bool EvTurnStart006() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(10)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    if (!ev->ChkDayMark(mark::CommissionExpired, 0, 1)) return false;
    return story::Pending("EvTurnStart006");
}

bool EvMove057() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::IntroRivalShop, false)) return false;
    if (!ev->ChkPlace(2)) return false;
    return story::Pending("EvMove057");
}

bool EvMove059() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(6)) return false;
    if (!ev->ChkFlg(flag::IntroEventGround, false)) return false;
    return story::Pending("EvMove059");
}

bool EvMove060() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::IntroBakery, false)) return false;
    if (!ev->ChkPlace(4)) return false;
    return story::Pending("EvMove060");
}

bool EvMove061() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::IntroFloraeHouse, false)) return false;
    if (!ev->ChkPlace(1)) return false;
    return story::Pending("EvMove061");
}

bool EvMove062() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(33)) return false;
    if (!ev->ChkFlg(flag::IntroForest, false)) return false;
    return story::Pending("EvMove062");
}

bool EvMove063() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(34)) return false;
    if (!ev->ChkFlg(flag::IntroForestSpring, false)) return false;
    return story::Pending("EvMove063");
}

bool EvMove064() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(35)) return false;
    if (!ev->ChkFlg(flag::IntroWaterfall, false)) return false;
    return story::Pending("EvMove064");
}

bool EvMove065() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(36)) return false;
    if (!ev->ChkFlg(flag::IntroCave, false)) return false;
    return story::Pending("EvMove065");
}

bool EvMove066() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(37)) return false;
    if (!ev->ChkFlg(flag::IntroMountainPath, false)) return false;
    return story::Pending("EvMove066");
}

bool EvMove067() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(38)) return false;
    if (!ev->ChkFlg(flag::IntroCrater, false)) return false;
    return story::Pending("EvMove067");
}

bool EvMove068() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(39)) return false;
    if (!ev->ChkFlg(flag::IntroBigTree, false)) return false;
    return story::Pending("EvMove068");
}

bool EvMove069() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(40)) return false;
    if (!ev->ChkFlg(flag::IntroLake, false)) return false;
    return story::Pending("EvMove069");
}

bool EvMove070() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(41)) return false;
    if (!ev->ChkFlg(flag::IntroBeach, false)) return false;
    return story::Pending("EvMove070");
}

bool EvMove071() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(0)) return false;
    if (!ev->ChkFlg(flag::IntroShop, false)) return false;
    return story::Pending("EvMove071");
}

bool EvMove072() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(9)) return false;
    if (!ev->ChkFlg(flag::IntroCastle, false)) return false;
    return story::Pending("EvMove072");
}

bool EvMove073() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(17)) return false;
    if (!ev->ChkFlg(flag::IntroLibrary, false)) return false;
    return story::Pending("EvMove073");
}

bool EvMove074() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(5)) return false;
    if (!ev->ChkFlg(flag::IntroPark, false)) return false;
    return story::Pending("EvMove074");
}

bool EvMove075() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::IntroSquare, false)) return false;
    return story::Pending("EvMove075");
}

bool EvMove076() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(7)) return false;
    if (!ev->ChkFlg(flag::IntroSchool, false)) return false;
    return story::Pending("EvMove076");
}

bool EvMove115() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(13, 17)) return false;
    if (!ev->ChkDay(180, 24)) return false;
    if (!ev->ChkPlace(35)) return false;
    if (!ev->ChkRandom(50)) return false;
    if (!(ev->ChkFlg(flag::EndingFloraeSeen, true) || ev->ChkFlg(flag::EndingDebtPaidSeen, true) ||
          ev->ChkFlg(flag::EndingGoodwillSeen, true) || ev->ChkFlg(flag::EndingPrinceSeen, true) ||
          ev->ChkFlg(flag::EndingRenetteSeen, true) || ev->ChkFlg(flag::EndingCocotteSeen, true)))
        return false;
    if (!ev->ChkFlg(flag::LazarusMet, false)) return false;
    return story::Pending("EvMove115");
}

bool EvMove116() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::LazarusMeetingDay, 0, 10)) return false;
    if (!ev->ChkHour(10, 17)) return false;
    if (!ev->ChkPlace(35)) return false;
    if (!ev->ChkFlg(flag::LazarusLeft, false)) return false;
    if (!ev->ChkNot(ev->ChkItem(30, 1))) return false;
    return story::Pending("EvMove116");
}

bool EvMove117() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::LazarusMeetingDay, 0, 10)) return false;
    if (!ev->ChkHour(10, 17)) return false;
    if (!ev->ChkItem(30, 1)) return false;
    if (!ev->ChkPlace(35)) return false;
    if (!ev->ChkFlg(flag::LazarusLeft, false)) return false;
    return story::Pending("EvMove117");
}

bool EvMove118() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::LazarusMeetingDay, 16, 300)) return false;
    if (!ev->ChkHour(10, 17)) return false;
    if (!ev->ChkFlg(flag::LazarusLeft, false)) return false;
    if (!ev->ChkFlg(flag::LazarusClosingThought, false)) return false;
    return story::Pending("EvMove118");
}

bool EvMove146() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::LazarusMeetingDay, 0, 10)) return false;
    if (!ev->ChkPlace(10)) return false;
    if (!ev->ChkFlg(flag::GravityRecipeFound, false)) return false;
    return story::Pending("EvMove146");
}

bool EvMove167() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 7, 2, 42)) return false;
    return story::Pending("EvMove167");
}

bool EvMove168() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNot(ev->IsRecipeKnown(60))) return false;
    if (!ev->ChkLevel(17)) return false;
    if (!ev->ChkPlace(33)) return false;
    if (!ev->ChkDay(192, 23)) return false;
    return story::Pending("EvMove168");
}

bool EvMove169() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 5, 2, 33)) return false;
    return story::Pending("EvMove169");
}

bool EvMove170() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 20, 2, 38)) return false;
    return story::Pending("EvMove170");
}

bool EvMove171() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 3, 3, 33)) return false;
    return story::Pending("EvMove171");
}

bool EvMove172() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 53, 4, 5)) return false;
    return story::Pending("EvMove172");
}

bool EvMove173() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 32, 4, 33)) return false;
    return story::Pending("EvMove173");
}

bool EvMove174() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 54, 5, 17)) return false;
    return story::Pending("EvMove174");
}

bool EvMove175() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 11, 5, 40)) return false;
    return story::Pending("EvMove175");
}

bool EvMove176() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 21, 5, 36)) return false;
    return story::Pending("EvMove176");
}

bool EvMove177() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 63, 7, 38)) return false;
    return story::Pending("EvMove177");
}

bool EvMove178() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 45, 8, 34)) return false;
    return story::Pending("EvMove178");
}

bool EvMove179() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 9, 8, 41)) return false;
    return story::Pending("EvMove179");
}

bool EvMove180() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 8, 9, 42)) return false;
    return story::Pending("EvMove180");
}

bool EvMove181() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 51, 10, 39)) return false;
    return story::Pending("EvMove181");
}

bool EvMove182() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 10, 12, 39)) return false;
    return story::Pending("EvMove182");
}

bool EvMove183() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 17, 14, 35)) return false;
    return story::Pending("EvMove183");
}

bool EvMove184() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 58, 16, 34)) return false;
    return story::Pending("EvMove184");
}

bool EvMove185() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 57, 18, 38)) return false;
    return story::Pending("EvMove185");
}

bool EvMove186() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!Inspires(ev, 61, 20, 43)) return false;
    return story::Pending("EvMove186");
}

bool EvMove187() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(42)) return false;
    if (!ev->ChkFlg(flag::NightSearch, false)) return false;
    return story::Pending("EvMove187");
}

bool EvSearch000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::HotSpringFound, false)) return false;
    if (!ev->ChkPlace(33)) return false;
    if (!ev->ChkDay(72, 400)) return false;
    if (!ev->ChkFlg(flag::NightSearch, false)) return false;
    return story::Pending("EvSearch000");
}

bool EvLook000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(2)) return false;
    return story::Pending("EvLook000");
}

bool EvLook001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(6)) return false;
    return story::Pending("EvLook001");
}

bool EvLook002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(4)) return false;
    return story::Pending("EvLook002");
}

bool EvLook003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(1)) return false;
    if (!ev->ChkFlg(flag::FloraeDied, false)) return false;
    return story::Pending("EvLook003");
}

bool EvLook004() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(0)) return false;
    return story::Pending("EvLook004");
}

bool EvLook005() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(9)) return false;
    if (!ev->ChkHour(10, 18)) return false;
    return story::Pending("EvLook005");
}

bool EvLook006() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(9)) return false;
    return story::Pending("EvLook006");
}

bool EvLook007() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(17)) return false;
    if (!ev->ChkFlg(flag::LibraryRemarkSeen, false)) return false;
    return story::Pending("EvLook007");
}

bool EvLook008() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(17)) return false;
    if (!ev->ChkFlg(flag::LibraryRemarkSeen, true)) return false;
    return story::Pending("EvLook008");
}

bool EvLook009() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(5)) return false;
    return story::Pending("EvLook009");
}

bool EvLook010() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(7)) return false;
    return story::Pending("EvLook010");
}

bool EvLook012() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::VolcanoNotice, 0, 12)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::VolcanoCommission, false)) return false;
    return story::Pending("EvLook012");
}

bool EvLook013() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->OrderFullTalk(96, 24)) return false;
    if (!ev->ChkFlg(flag::HotSpringFound, true)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommission, false)) return false;
    if (!ev->ChkFlg(flag::LovePotionCommissionDone, false)) return false;
    return story::Pending("EvLook013");
}

bool EvLook014() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(24, 24)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::NoticeHomepage, false)) return false;
    return story::Pending("EvLook014");
}

bool EvLook015() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(48, 48)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::NoticeShyWriter, false)) return false;
    return story::Pending("EvLook015");
}

bool EvLook016() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(60, 24)) return false;
    if (!ev->ChkFlg(flag::NoticeShyWriter, true)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::NoticeConfession, false)) return false;
    return story::Pending("EvLook016");
}

bool EvLook017() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkDay(77, 24)) return false;
    if (!ev->ChkFlg(flag::NoticeComplaint, false)) return false;
    return story::Pending("EvLook017");
}

bool EvLook018() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(132, 24)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::NoticeSmallAds, false)) return false;
    return story::Pending("EvLook018");
}

bool EvLook019() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(180, 24)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::NoticeFan, false)) return false;
    return story::Pending("EvLook019");
}

bool EvLook020() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::NeverSet, true)) return false;
    return story::Pending("EvLook020");
}

bool EvLook021() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(0, 24)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::NoticeBoardIntro, false)) return false;
    return story::Pending("EvLook021");
}

bool EvLook022() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(30, 17)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::NoticeSpringFestival, false)) return false;
    return story::Pending("EvLook022");
}

bool EvLook023() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(108, 16)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::NoticeMagicContest, false)) return false;
    return story::Pending("EvLook023");
}

bool EvLook024() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(162, 16)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::NoticeBeautyContest, false)) return false;
    return story::Pending("EvLook024");
}

bool EvLook025() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(204, 200)) return false;
    if (!ev->ChkPlace(3)) return false;
    if (!ev->ChkFlg(flag::NoticeBakery, false)) return false;
    return story::Pending("EvLook025");
}

bool EvLook026() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::FloraeDied, true)) return false;
    if (!ev->ChkPlace(1)) return false;
    if (!ev->ChkFlg(flag::EmptyRoomFound, false)) return false;
    return story::Pending("EvLook026");
}

bool EvLook027() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(1)) return false;
    if (!ev->ChkFlg(flag::EmptyRoomFound, true)) return false;
    return story::Pending("EvLook027");
}

bool EvLook028() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(3)) return false;
    return story::Pending("EvLook028");
}

bool EvPeddle000() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(2)) return false;
    if (!ev->ChkFlg(flag::RenetteRanAway, false)) return false;
    if (!ev->ChkHour(10, 18)) return false;
    return story::Pending("EvPeddle000");
}

bool EvPeddle001() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(2)) return false;
    if (!ev->ChkFlg(flag::RenetteRanAway, false)) return false;
    return story::Pending("EvPeddle001");
}

bool EvPeddle002() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(2)) return false;
    if (!ev->ChkFlg(flag::RenetteRanAway, true)) return false;
    if (!ev->ChkHour(10, 18)) return false;
    return story::Pending("EvPeddle002");
}

bool EvPeddle003() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(19, 23)) return false;
    if (!ev->ChkPlace(6)) return false;
    if (!ev->ChkDay(125, 1)) return false;
    return story::Pending("EvPeddle003");
}

bool EvPeddle004() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(6)) return false;
    return story::Pending("EvPeddle004");
}

bool EvPeddle005() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNot(ev->ChkHour(10, 18))) return false;
    return story::Pending("EvPeddle005");
}

bool EvPeddle006() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(9)) return false;
    if (!ev->ChkHour(10, 18)) return false;
    if (!ev->ChkFlg(flag::PalaceInvitation, false)) return false;
    return story::Pending("EvPeddle006");
}

bool EvPeddle007() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(9)) return false;
    if (!ev->ChkDay(191, 300)) return false;
    if (!ev->ChkHour(10, 18)) return false;
    if (!ev->ChkFlg(flag::PalaceInvitation, true)) return false;
    return story::Pending("EvPeddle007");
}

bool EvPeddle008() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(19, 20)) return false;
    if (!ev->ChkPlace(3)) return false;
    return story::Pending("EvPeddle008");
}

bool EvPeddle009() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkHour(10, 18)) return false;
    if (!ev->ChkPlace(7)) return false;
    return story::Pending("EvPeddle009");
}
