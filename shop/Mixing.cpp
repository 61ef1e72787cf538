#include "shop/Mixing.h"

#include "shop/Catalog.h"
#include "shop/GameState.h"

void StartMixJob(int item, int batches, int yield) {
    MixJobState& j = g_GameState.MixJob;
    j.Item = static_cast<std::uint8_t>(item);
    j.Batches = static_cast<std::uint8_t>(batches);
    j.Yield = static_cast<std::uint8_t>(yield);
    j.HoursLeft = static_cast<std::uint8_t>(RecipeHours(item, batches));
}

bool MixStep() {
    MixJobState& j = g_GameState.MixJob;
    if (j.HoursLeft == 0) return false;
    return --j.HoursLeft == 0;
}

int MixHoursLeft() { return g_GameState.MixJob.HoursLeft; }
int MixItem() { return g_GameState.MixJob.Item; }
int MixBatchCount() { return g_GameState.MixJob.Batches; }
int MixYield() { return g_GameState.MixJob.Yield; }

int PlannedMixYield(int goods, int batches) {
    int above = RecipeDifficulty(goods) - GameLevel();
    if (above < 0) above = 0;
    int yield = 10 * batches - (above * batches * 50 + 99) / 100;
    return yield < 0 ? 0 : yield;
}

int MixResultCount(int yield, int condition) {
    if (condition == 1) return yield * 3 / 4;
    if (condition == 2) return yield / 2;
    return yield;
}
