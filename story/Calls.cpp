// The mechanics the story's data calls by name ("call NAME"): what loops, computes or
// reaches past the event server.
#include <string_view>

#include "shop/Shop.h"
#include "story/Dialogue.h"
#include "story/Endings.h"
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

// The beauty contest's stage opens at 14:00. A heroine who set out at 11:00 or 12:00
// reaches the ground at 15:00 or 16:00; waiting for 14:00 then would run through the
// night past the contest's only day, so she goes on the stage as she arrives.
void ContestStage() {
    TEventServerDbg* ev = EventServerDbg;
    if (ev && ev->GetHour() < 14) ev->WaitHour(14);
}

// The contest's result: reputation 20 or more wins.
void ContestResult() {
    TEventServerDbg* ev = EventServerDbg;
    if (!ev) return;
    story::PlayScene("EvTurnStart026", ev->ChkReputation(20) ? "win" : "loss");
}

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
    {"FashionRemark", FashionRemark},
    {"HideShop", HideShop},
    {"HideTitlePanel", HideTitlePanel},
    {"PictureCatalogue", PictureCatalogue},
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
