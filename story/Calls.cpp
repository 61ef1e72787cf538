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

struct Entry {
    std::string_view name;
    story::Mechanic mechanic;
};
// clang-format off
constexpr Entry kMechanics[] = {
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
