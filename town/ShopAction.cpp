// The event server's scripted shop actions: what the story makes happen on the shop
// floor (visitors, the heroine's walks, meals, waking up, the upstairs room).
#include "platform/Application.h"
#include "platform/Transcript.h"
#include "shop/Demand.h"
#include "shop/Heroine.h"
#include "shop/Shop.h"
#include "town/Evsrvfm.h"

std::uint8_t ShopActor4Mark = 0;
std::uint8_t ShopRedrawOn = 0;

namespace {

// A shop step is paced by the clock (one every 30 ms) and a wait gives up after a
// half a minute of steps, so no action can hold the game for ever.
constexpr int kMaxShopSteps = 1000;
constexpr std::uint32_t kShopStepMs = 30;

constexpr const char* kActionNames[16] = {
    "visitor enters", "visitor leaves", "place at door", "eat",
    "walk to mixing", "wake up",        "walk to door",  "wake up fast",
    "enter shop",     "stop mixing",    "go to bed",     "show actor 4",
    "go upstairs",    "show actor 4",   "fade out 2F",   "fade out 2F"};

void ShopStep() {
    if (DemandForm) DemandForm->UpdateCustomers(false);
    if (ShopForm) ShopForm->UpdateScene();
    if (!ui::HaveApp()) return;
    ui::App().ProcessMessages();
    if (ShopForm) ShopForm->Update();
    ui::App().Delay(kShopStepMs, "ShopAction");
}

bool VisitorCanEnter() { return !DemandForm || DemandForm->CanEventVisitorEnter(); }

// Shop steps while `cond` gives `want`, at most kMaxShopSteps.
template <class F>
void StepWhile(F cond, bool want) {
    for (int i = 0; i < kMaxShopSteps && cond() == want; ++i) ShopStep();
}

}  // namespace

void ShowActor4AfterEvent() {
    if (!ShopActor4Mark) return;
    if (ShopForm) ShopForm->EvShowActor4();
    ShopActor4Mark = 0;
}

void TEventServerDbg::ShopAction(int sheet, int action) {
    if (!ShopForm) return;
    if (!ShopForm->Visible()) {
        ShopForm->Show();
        if (g_ShopHooks.ShowStage) g_ShopHooks.ShowStage(false);
        if (g_ShopHooks.HideMapForm) g_ShopHooks.HideMapForm();
    }
    if (action >= 0 && action < 16) ui::Record("shop", kActionNames[action]);
    switch (action) {
        case 0:
            if (DemandForm) DemandForm->AddEventVisitor(sheet);
            StepWhile(VisitorCanEnter, false);
            break;
        case 1: {
            // Only a visitor that is there has a way out to wait for.
            const bool present = DemandForm && DemandForm->Customer(0) != nullptr;
            if (DemandForm) DemandForm->SendEventVisitorAway();
            if (present) {
                StepWhile(VisitorCanEnter, true);
                StepWhile(VisitorCanEnter, false);
            }
            break;
        }
        case 2:
            ShopForm->EvPlaceAtDoor();
            ShopActor4Mark = 1;
            break;
        case 3:
            ShopForm->EvEatAnimation();
            break;
        case 4:
            ShopForm->EvWalkToMixing();
            ShopRedrawOn = 1;
            break;
        case 5:
            ShopForm->EvWakeUp();
            break;
        case 6:
            ShopForm->EvWalkToDoor();
            ShopActor4Mark = 1;
            break;
        case 7:
            ShopForm->EvWakeUpFast();
            break;
        case 8:
            ShopForm->EvEnterShop();
            break;
        case 9:
            ShopRedrawOn = 0;
            ShopForm->EvStopMixing();
            break;
        case 10:
            ShopForm->EvGoToBed();
            break;
        case 11:
            if (g_ShopHooks.ShowStage) g_ShopHooks.ShowStage(true);
            ShopForm->Hide();
            ShopForm->EvShowActor4();
            ShopStep();
            ShopForm->Show();
            if (g_ShopHooks.ShowStage) g_ShopHooks.ShowStage(false);
            ShopActor4Mark = 0;
            break;
        case 12:
            ShopForm->EvGoUpstairs();
            break;
        case 13:
            ShopForm->EvShowActor4();
            ShopActor4Mark = 0;
            break;
        case 14:
            ShopForm->EvFadeOut2F();
            break;
        case 15:
            ShopForm->EvFadeOut2FB();
            break;
        default:
            break;
    }
}
