#pragma once
#include <string>

namespace test {

// A scratch folder of this test process under the build tree (tests run as processes
// of their own, at once), emptied when the test starts and left behind for a look
// after a failure. Every test that touches the disk works in one.
std::string ScratchDir(const std::string& name);

}  // namespace test
