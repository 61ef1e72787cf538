#include "tests/support/Scratch.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace test {

std::string ScratchDir(const std::string& name) {
    namespace fs = std::filesystem;
    // One folder per test process: ctest runs the tests of a file as processes of
    // their own, at the same time.
    const fs::path dir =
        fs::path(LUMIA_BINARY_DIR) / "scratch" / (name + "-" + std::to_string(::getpid()));
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir);
    return dir.string();
}

}  // namespace test
