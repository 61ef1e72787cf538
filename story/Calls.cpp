// The mechanics the story's data calls by name ("call NAME"): what loops, computes or
// reaches past the event server.
#include <string_view>

#include "shop/Shop.h"
#include "story/Cocotte.h"
#include "story/Dialogue.h"
#include "story/Endings.h"
#include "story/Fever.h"
#include "story/Looks.h"
#include "story/Prince.h"
#include "town/Evsrvfm.h"

namespace {

// The title's panel stays hidden while the prologue plays over it.
void HideTitlePanel() {
    if (ShopForm && ShopForm->TitlePanel) ShopForm->TitlePanel->Hide();
}

// The shop window is hidden behind the stage.
void HideShop() {
    if (EventServerHooks.ShowShop) EventServerHooks.ShowShop(false);
}

// Waits for `hour` only from an earlier one: from a later hour WaitHour would run
// through the night to the next day's.
void WaitFromEarlier(int hour) {
    TEventServerDbg* ev = EventServerDbg;
    if (ev && ev->GetHour() < hour) ev->WaitHour(hour);
}

// The beauty contest's stage opens at 14:00. A heroine who set out at 11:00 or 12:00
// reaches the ground at 15:00 or 16:00; waiting for 14:00 then would run through the
// night past the contest's only day, so she goes on the stage as she arrives.
void ContestStage() { WaitFromEarlier(14); }

// The contest's result: reputation 20 or more wins.
void ContestResult() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return;
    story::PlayScene("EvTurnStart026", ev->ChkReputation(20) ? "win" : "loss");
}

// 蕾妮特's first meeting: in school hours on a working day the heroine wonders why her
// classmate is not at school.
void RenetteOutOfSchool() {
    TEventServerDbg* ev = EventServerDbg;
    if (ev && ev->ChkHour(10, 13) && ev->ChkNot(ev->ChkWeekday(5)))
        story::PlayScene("EvMove012", "school");
}

// 可可特's plea: the heroine sets out at 19:00, so an earlier hour waits for it; a later
// one would wait a whole day.
void WaitForSeven() { WaitFromEarlier(19); }

struct Entry {
    std::string_view name;
    story::Mechanic mechanic;
};
// clang-format off
constexpr Entry kMechanics[] = {
    {"ContestResult", ContestResult},
    {"ContestStage", ContestStage},
    {"EndingPicture", EndingPicture},
    {"EvBall", EvBall},
    {"EveningWalk", story::EveningWalkFromChoice},
    {"FashionRemark", FashionRemark},
    {"ForestMaze", EvForestMaze},
    {"HideShop", HideShop},
    {"HideTitlePanel", HideTitlePanel},
    {"MazeWayBack", MazeWayBack},
    {"MazeWayHome", MazeWayHome},
    {"MazeWayLeft", MazeWayLeft},
    {"MazeWayRight", MazeWayRight},
    {"PictureCatalogue", PictureCatalogue},
    {"RenetteOutOfSchool", RenetteOutOfSchool},
    {"WaitForSeven", WaitForSeven},
};
// clang-format on

}  // namespace

namespace story {
Mechanic FindMechanic(std::string_view name) {
    for (const Entry& e : kMechanics)
        if (e.name == name) return e.mechanic;
    return nullptr;
}
}  // namespace story
