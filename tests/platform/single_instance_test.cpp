#include <gtest/gtest.h>

#include <optional>

#include "platform/SingleInstance.h"
#include "tests/support/HeadlessApp.h"

namespace {

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstEnds) {
    const std::string dir = test::ScratchDir("single_instance");
    std::optional<ui::SingleInstance> first;
    first.emplace("RORAREVERORAD", dir);
    ASSERT_TRUE(first->Acquired());
    {
        ui::SingleInstance second("RORAREVERORAD", dir);
        EXPECT_FALSE(second.Acquired());
        EXPECT_TRUE(second.OtherCopyRuns());
    }
    EXPECT_TRUE(first->Acquired());  // the refused copy took nothing away
    first.reset();
    ui::SingleInstance third("RORAREVERORAD", dir);
    EXPECT_TRUE(third.Acquired());
}

TEST(SingleInstance, LockFileIsNamedAfterTheMutex) {
    EXPECT_EQ(ui::SingleInstance::LockPath("RORAREVERORAD", std::string("/run/x")),
              "/run/x/RORAREVERORAD.lock");
    EXPECT_NE(ui::SingleInstance::LockPath("RORAREVERORAD").find("RORAREVERORAD"),
              std::string::npos);
}

}  // namespace
