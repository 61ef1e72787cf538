#include "town/EvControler.h"

#include "town/Evsrvfm.h"

TEvControler* GameFlow = nullptr;

namespace {
constexpr int kMixableGoods = 64;
constexpr int kShopPlace = 10;
constexpr int kHotSpringOpenFlag = 138;
constexpr int kWizardHouseOpenFlag = 139;
}  // namespace

TEvControler::TEvControler() {
    MixedItem = -1;
    Ready = 0;
    EventServerDbg = new TEventServerDbg();
    Place = kShopPlace;
    for (int n = kFirstPlaceOpenFlag; n <= kLastPlaceOpenFlag; ++n) EventServerDbg->SetFlg(n, true);
    EventServerDbg->SetFlg(kHotSpringOpenFlag, false);
    EventServerDbg->SetFlg(kWizardHouseOpenFlag, false);
    Ready = 1;
}

TEvControler::~TEvControler() {
    delete EventServerDbg;
    EventServerDbg = nullptr;
}

void TEvControler::SetMixedItem(int id) { MixedItem = (id >= 0 && id < kMixableGoods) ? id : -1; }
