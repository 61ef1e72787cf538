// The tests' main: every test runs headless, whoever starts it (ctest, a debugger,
// a shell), so SDL never looks for a display or a sound device.
#include <gtest/gtest.h>

#include <cstdlib>

#include "resources/Resources.h"

namespace res {
extern const Resource kTestResources[];  // tests/resources/data
}

int main(int argc, char** argv) {
    res::AddResources(res::kTestResources);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LUMIA_HEADLESS", "1", 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
