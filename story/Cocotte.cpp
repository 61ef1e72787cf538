// 可可特 and the shop's own days: her first meeting and her question in 微笑魔法店, her
// eight talks and chats at the counter, the meetings in town, the bath, her answer
// under the tree at 大樹丘; the first own potion, the exploding invention, the spring
// morning, the nobleman's chocolates, the bakery's new cake, the bath after an ending,
// and the evening walk with its scene loop. Their bodies are in story/text/Cocotte.txt.
#include "story/Cocotte.h"

#include <iterator>

#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"
#include "town/Whereabouts.h"

namespace {

constexpr char kWalk[] = "EvTurnStart023";

// 可可特 in her shop's room, where the visit command has let the heroine in.
bool CocotteInShop(TEventServerDbg* ev) {
    return ev->ChkNpc(npc::Cocotte, place::RivalShopInside) && ev->ChkPlace(place::RivalShopInside);
}

// 可可特 met in town: at the shop front, 芙蘿蕾's house, the square, the bakery, the park
// or the event ground, tried in this order; each try asks her schedule afresh.
bool CocotteInTown(TEventServerDbg* ev) {
    for (int p : {place::ShopFront, place::FloraeHouse, place::Square, place::Bakery, place::Park,
                  place::EventGround})
        if (ev->ChkNpc(npc::Cocotte, p) && ev->ChkPlace(p)) return true;
    return false;
}

// The schedule that answered last was one of her working-day ones, not the rest day's.
// Read from the server's field, so the override does not make it hold.
bool CocotteOnWeekdaySchedule(const TEventServerDbg* ev) {
    const int v = ev->m_ScheduleVariant;
    return v == 0 || v == 1 || v == 3 || v == 4;
}

}  // namespace

bool EvTurnStart009() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDayMark(mark::CocotteChosenDay, 3, 300)) return false;
    if (!ev->ChkDay(264, 300)) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    if (!ev->ChkHour(13, 16)) return false;
    if (!ev->ChkNot(ev->ChkWeekday(5))) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvTurnStart009");
}

bool EvTurnStart014() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::BathWithCocotte, false)) return false;
    if (!ev->ChkVar(var::CocotteMeetingCount, 10, 0, false)) return false;
    if (!ev->ChkDay(156, 75)) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    if (!ev->ChkHour(19, 22)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::RunEvent("EvTurnStart014");
}

bool EvTurnStart017() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkMixedItem()) return false;
    if (!ev->ChkFlg(flag::FirstOwnPotion, false)) return false;
    return story::RunEvent("EvTurnStart017");
}

bool EvTurnStart018() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(36, 24)) return false;
    if (!ev->ChkHour(20, 22)) return false;
    if (!ev->ChkFlg(flag::OwnMagicCandy, false)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::RunEvent("EvTurnStart018");
}

bool EvTurnStart019() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(49, 1)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    return story::RunEvent("EvTurnStart019");
}

bool EvTurnStart020() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(72, 48)) return false;
    if (!ev->ChkFlg(flag::RenetteHelpedOrder, false)) return false;
    if (!ev->IsRecipeKnown(item::CharmChocolate)) return false;
    if (!ev->ChkFlg(flag::ChocolateOrder, false)) return false;
    if (!ev->ChkHour(18, 20)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::RunEvent("EvTurnStart020");
}

bool EvTurnStart021() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    if (!ev->ChkVar(var::SilentVisitCount, 7, 0, false)) return false;
    if (!ev->ChkFlg(flag::BakeryNewCake, false)) return false;
    if (!ev->ChkHour(9, 9)) return false;
    return story::RunEvent("EvTurnStart021");
}

bool EvTurnStart023() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(60, 35)) return false;
    if (!ev->ChkFlg(flag::FlowerbedFirstVisit, true)) return false;
    if (!ev->ChkFlg(flag::RenetteMet, true)) return false;
    if (!ev->ChkFlg(flag::CocotteMet, true)) return false;
    if (!ev->ChkFlg(flag::FeleMet, true)) return false;
    if (!ev->ChkVar(var::CocotteMeetingCount, 5, 0, false)) return false;
    if (!ev->ChkHour(21, 23)) return false;
    if (!ev->ChkFlg(flag::EveningWalk, false)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::RunEvent(kWalk);
}

// Bedtime, the two knocks and the search as far as the bakery end in a choice, which
// starts the scene loop at scene 1 or 2; a choice left without an answer (-1) starts no
// scene.
void story::EveningWalkFromChoice() {
    const int choice = LastChoice();
    EveningWalk(choice < 0 ? -1 : choice == 1 ? 2 : 1);
}

// The evening walk's scenes: each plays its part and names the scene that follows.
int EvTurnStart023_Scene01() {
    story::PlayScene(kWalk, "Scene01");  // 芙蘿蕾 saw 可可特 go by
    return 3;
}
int EvTurnStart023_Scene02() {
    story::PlayScene(kWalk, "Scene02");  // 芙蘿蕾's bite
    return 7;
}
int EvTurnStart023_Scene03() {
    story::PlayScene(kWalk, "Scene03");  // the stage at the event ground, and 斐爾
    // As at the first choice, one left without an answer goes no further.
    const int choice = story::LastChoice();
    return choice < 0 ? -1 : choice == 1 ? 5 : 4;
}
int EvTurnStart023_Scene04() {
    story::PlayScene(kWalk, "Scene04");  // 斐爾 points to the park
    return 6;
}
int EvTurnStart023_Scene05() {
    story::PlayScene(kWalk, "Scene05");  // 斐爾's attack
    return 7;
}
int EvTurnStart023_Scene06() {
    story::PlayScene(kWalk, "Scene06");  // 可可特 found in the park; until 08:00
    return -1;
}
int EvTurnStart023_Scene07() {
    story::PlayScene(kWalk, "Scene07");  // waking from the nightmare; a night's sleep
    return -1;
}

void story::EveningWalk(int scene) {
    using SceneProc = int (*)();
    static constexpr SceneProc kScenes[] = {EvTurnStart023_Scene01, EvTurnStart023_Scene02,
                                            EvTurnStart023_Scene03, EvTurnStart023_Scene04,
                                            EvTurnStart023_Scene05, EvTurnStart023_Scene06,
                                            EvTurnStart023_Scene07};
    constexpr int kLast = static_cast<int>(std::size(kScenes));
    // A negative number ends the walk; so does a number that names no scene (0 or past
    // the last), which would otherwise be asked for again and again.
    while (scene >= 1 && scene <= kLast) scene = kScenes[scene - 1]();
}

bool EvTurnStart027() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::BathAfterEnding, false)) return false;
    if (!(ev->ChkFlg(flag::EndingFloraeSeen, true) || ev->ChkFlg(flag::EndingPrinceSeen, true) ||
          ev->ChkFlg(flag::EndingRenetteSeen, true) || ev->ChkFlg(flag::EndingCocotteSeen, true)))
        return false;
    if (!ev->ChkHour(20, 21)) return false;
    if (!ev->ChkPlace(place::ShopInside)) return false;
    if (!ev->ChkRandom(30)) return false;
    if (!ev->ChkNot(ev->ChkMixing())) return false;
    return story::RunEvent("EvTurnStart027");
}

bool EvMove015() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::IntroRivalShopRoom, false)) return false;
    if (!ev->ChkPlace(place::RivalShopInside)) return false;
    if (!ev->ChkNpc(npc::Cocotte, place::RivalShopInside)) return false;
    if (!ev->ChkPlace(place::RivalShopInside)) return false;
    return story::RunEvent("EvMove015");
}

bool EvMove016() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::CocotteQuestionDone, false)) return false;
    if (!ev->ChkVar(var::CocotteMeetingCount, 20, 0, false)) return false;
    if (!ev->ChkDay(204, 300)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk8, true)) return false;
    if (!ev->ChkNpc(npc::Cocotte, place::RivalShopInside)) return false;
    if (!ev->ChkPlace(place::RivalShopInside)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove016");
}

bool EvMove049() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(12, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk1, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove049");
}

bool EvMove050() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(36, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk1, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk2, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove050");
}

bool EvMove051() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(60, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk2, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk3, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove051");
}

bool EvMove052() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(84, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk3, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk4, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove052");
}

bool EvMove053() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(108, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk4, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk5, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove053");
}

bool EvMove054() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(132, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk5, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk6, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove054");
}

bool EvMove055() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(156, 400)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk6, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk7, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove055");
}

bool EvMove056() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkDay(180, 400)) return false;
    if (!ev->ChkVar(var::CocotteMeetingCount, 20, 0, false)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk7, true)) return false;
    if (!ev->ChkFlg(flag::CocotteTalk8, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove056");
}

bool EvMove130() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkDay(149, 42)) return false;
    if (!ev->ChkWeekday(5)) return false;
    if (!CocotteInTown(ev)) return false;
    if (!ev->ChkFlg(flag::CocotteSwayingWalk, false)) return false;
    return story::RunEvent("EvMove130");
}

bool EvMove131() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(40)) return false;
    if (!CocotteInTown(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove131");
}

bool EvMove132() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(20)) return false;
    if (!CocotteInTown(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove132");
}

bool EvMove133() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(40)) return false;
    if (!CocotteInTown(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove133");
}

bool EvMove134() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::CocotteMet, true)) return false;
    if (!ev->ChkDay(96, 400)) return false;
    if (!ev->ChkNpc(npc::Cocotte, place::Park)) return false;
    if (!ev->ChkPlace(place::Park)) return false;
    if (!ev->ChkFlg(flag::CocotteMelodrama, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove134");
}

bool EvMove135() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkNpc(npc::Cocotte, place::Square)) return false;
    if (!ev->ChkPlace(place::Square)) return false;
    if (!CocotteOnWeekdaySchedule(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove135");
}

bool EvMove136() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkFlg(flag::IntroRivalShopRoom, true)) return false;
    if (!ev->ChkNpc(npc::Cocotte, place::RivalShop)) return false;
    if (!ev->ChkPlace(place::RivalShop)) return false;
    if (!CocotteOnWeekdaySchedule(ev)) return false;
    return story::RunEvent("EvMove136");
}

bool EvMove147() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkFlg(flag::CocotteCrush, true)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove147");
}

bool EvMove148() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkFlg(flag::CocotteCrush, false)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, false)) return false;
    return story::RunEvent("EvMove148");
}

bool EvMove189() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!CocotteInShop(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, true)) return false;
    return story::RunEvent("EvMove189");
}

bool EvMove190() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return false;
    if (!ev->ChkRandom(40)) return false;
    if (!CocotteInTown(ev)) return false;
    if (!ev->ChkFlg(flag::RouteCocotte, true)) return false;
    return story::RunEvent("EvMove190");
}
