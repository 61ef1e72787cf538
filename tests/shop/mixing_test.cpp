#include "shop/Mixing.h"

#include <gtest/gtest.h>

#include "shop/GameState.h"

TEST(Mixing, AJobCountsDownItsHours) {
    g_GameState.MixJob = {};
    EXPECT_FALSE(MixStep());  // no job: nothing changes
    EXPECT_EQ(MixHoursLeft(), 0);

    StartMixJob(43, 3, 20);  // 8 hours a batch
    EXPECT_EQ(MixItem(), 43);
    EXPECT_EQ(MixBatchCount(), 3);
    EXPECT_EQ(MixYield(), 20);
    EXPECT_EQ(MixHoursLeft(), 24);
    for (int h = 23; h > 0; --h) {
        EXPECT_FALSE(MixStep());
        EXPECT_EQ(MixHoursLeft(), h);
    }
    EXPECT_TRUE(MixStep());
    EXPECT_EQ(MixHoursLeft(), 0);
    EXPECT_FALSE(MixStep());
    EXPECT_EQ(MixItem(), 43);  // the finished job's fields stay for the result

    StartMixJob(12, 1, 10);
    EXPECT_EQ(MixHoursLeft(), 1);
    EXPECT_TRUE(MixStep());
}

TEST(Mixing, YieldFallsWithTheLevelsMissing) {
    struct Case {
        int goods, level, batches, yield;
    };
    const Case cases[] = {
        {12, 1, 2, 20},  // difficulty 1: at the level
        {12, 9, 4, 40},  // above it
        {3, 1, 2, 18},   // difficulty 3, level 1: 2 levels short, 200 + 99 -> 2
        {3, 1, 1, 9},    // 1 batch: 100 + 99 -> 1
        {6, 7, 2, 17},   // difficulty 10, level 7: 3 short, 300 + 99 -> 3
        {24, 1, 1, 0},   // difficulty 20 at level 1: 950 + 99 -> 10
        {24, 1, 4, 2},   // 3800 + 99 -> 38
        {24, 0, 1, 0},   // a level below 1 makes nothing rather than a negative count
    };
    for (const Case& c : cases) {
        SetGameLevel(c.level);
        EXPECT_EQ(PlannedMixYield(c.goods, c.batches), c.yield) << c.goods << " " << c.level;
    }
}

TEST(Mixing, TheConditionAtTheEndCuts) {
    EXPECT_EQ(MixResultCount(17, 0), 17);
    EXPECT_EQ(MixResultCount(17, 1), 12);
    EXPECT_EQ(MixResultCount(17, 2), 8);
    EXPECT_EQ(MixResultCount(0, 2), 0);
}
