// The first arrival at nineteen places: the heroine names the place and tells what it
// is to her, once; the place's introduced flag is the only state. The map also sets
// that flag when she leaves the place, so an introduction missed on the first stay
// never comes later. Their lines are in story/text/Intros.txt.
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

namespace {

// The place and its flag clear, in the order each introduction tests them.
bool Introduce(const char* name, int place, int introducedFlag, bool flagFirst) {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (flagFirst) {
        if (!ev->ChkFlg(introducedFlag, false)) return false;
        if (!ev->ChkPlace(place)) return false;
    } else {
        if (!ev->ChkPlace(place)) return false;
        if (!ev->ChkFlg(introducedFlag, false)) return false;
    }
    return story::RunEvent(name);
}

constexpr bool kFlagFirst = true, kPlaceFirst = false;

}  // namespace

bool EvMove057() { return Introduce("EvMove057", 2, flag::IntroRivalShop, kFlagFirst); }
bool EvMove059() { return Introduce("EvMove059", 6, flag::IntroEventGround, kPlaceFirst); }
bool EvMove060() { return Introduce("EvMove060", 4, flag::IntroBakery, kFlagFirst); }
bool EvMove061() { return Introduce("EvMove061", 1, flag::IntroFloraeHouse, kFlagFirst); }
bool EvMove062() { return Introduce("EvMove062", 33, flag::IntroForest, kPlaceFirst); }
bool EvMove063() { return Introduce("EvMove063", 34, flag::IntroForestSpring, kPlaceFirst); }
bool EvMove064() { return Introduce("EvMove064", 35, flag::IntroWaterfall, kPlaceFirst); }
bool EvMove065() { return Introduce("EvMove065", 36, flag::IntroCave, kPlaceFirst); }
bool EvMove066() { return Introduce("EvMove066", 37, flag::IntroMountainPath, kPlaceFirst); }
bool EvMove067() { return Introduce("EvMove067", 38, flag::IntroCrater, kPlaceFirst); }
bool EvMove068() { return Introduce("EvMove068", 39, flag::IntroBigTree, kPlaceFirst); }
bool EvMove069() { return Introduce("EvMove069", 40, flag::IntroLake, kPlaceFirst); }
bool EvMove070() { return Introduce("EvMove070", 41, flag::IntroBeach, kPlaceFirst); }
bool EvMove071() { return Introduce("EvMove071", 0, flag::IntroShop, kPlaceFirst); }
bool EvMove072() { return Introduce("EvMove072", 9, flag::IntroCastle, kPlaceFirst); }
bool EvMove073() { return Introduce("EvMove073", 17, flag::IntroLibrary, kPlaceFirst); }
bool EvMove074() { return Introduce("EvMove074", 5, flag::IntroPark, kPlaceFirst); }
bool EvMove075() { return Introduce("EvMove075", 3, flag::IntroSquare, kPlaceFirst); }
bool EvMove076() { return Introduce("EvMove076", 7, flag::IntroSchool, kPlaceFirst); }
