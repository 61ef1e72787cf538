#pragma once

// The mixing job: one recipe's batches running for a number of game hours.
// The job lives in the game state (MixJob); its animation and result dialog
// belong to the shop screen.

// Starts a job: item (goods id), batches (1..4), the units it will make; the
// hours come from the recipe.
void StartMixJob(int item, int batches, int yield);
// One hour of the job: false without a job; true when it has just ended.
bool MixStep();

int MixHoursLeft();
int MixItem();
int MixBatchCount();
int MixYield();

// The units a job of this goods and batch count makes at the current level:
// ten per batch, less half a unit per batch for every level the recipe is above
// the heroine's, the loss rounded up. A recipe can always be mixed; one too hard
// may make nothing.
int PlannedMixYield(int goods, int batches);
// The units the job actually adds at its end: three quarters when sleepy, half
// when exhausted (rounded down).
int MixResultCount(int yield, int condition);
