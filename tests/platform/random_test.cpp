#include "platform/Random.h"

#include <gtest/gtest.h>

TEST(Random, SeedOneGivesTheRuntimeSequence) {
    ui::Srand(1);
    const int expected[] = {346, 130, 10982, 1090, 11656, 7117};
    for (int e : expected) EXPECT_EQ(ui::Rand(), e);
}

TEST(Random, ReseedingRepeatsTheSequence) {
    ui::Srand(12345);
    int a = ui::Rand(), b = ui::Rand();
    ui::Srand(12345);
    EXPECT_EQ(ui::Rand(), a);
    EXPECT_EQ(ui::Rand(), b);
}
