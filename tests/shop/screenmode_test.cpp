#include <gtest/gtest.h>

#include "shop/Option.h"
#include "tests/support/HeadlessApp.h"

namespace {

struct Desktop {
    int width, height;
    bool switches;
};

class ScreenModeTest : public ::testing::TestWithParam<Desktop> {};

TEST_P(ScreenModeTest, FullScreenOnlyOnADesktopNeither640WideNor480High) {
    ui::HeadlessOptions o;
    o.desktopWidth = GetParam().width;
    o.desktopHeight = GetParam().height;
    test::HeadlessApp app(o);
    EXPECT_EQ(SetFullScreen(), GetParam().switches);
    EXPECT_EQ(IsFullScreenMode(), GetParam().switches ? 1 : 0);
    EXPECT_EQ(app.Backend().IsFullScreen(), GetParam().switches);
    EXPECT_FALSE(SetFullScreen());  // never twice
    EXPECT_EQ(RestoreDisplayMode(), GetParam().switches);
    EXPECT_EQ(IsFullScreenMode(), 0);
    EXPECT_FALSE(app.Backend().IsFullScreen());
    EXPECT_FALSE(RestoreDisplayMode());  // already windowed
}

INSTANTIATE_TEST_SUITE_P(Desktops, ScreenModeTest,
                         ::testing::Values(Desktop{1024, 768, true}, Desktop{640, 768, false},
                                           Desktop{1024, 480, false}, Desktop{640, 480, false},
                                           Desktop{800, 600, true}));

}  // namespace
