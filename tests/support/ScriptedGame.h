#pragma once
// The real program driven by an input script of tests/scripts/, in a game folder of
// its own so that the saves it writes stay out of the shared one.
#include <string>

#include "tests/support/HeadlessApp.h"

namespace test {

// A scratch game folder `name`: the default game folder's files linked in, its saves
// (QDV*) left out.
std::string GameFolderCopy(const std::string& name);
// tests/scripts/`file` with its screenshots written into `dir` (a script names them in
// the build folder, "build/NAME.png": they go to `dir`/NAME.png).
std::string ReadScript(const std::string& file, const std::string& dir);
// Plays `script` to its end on the headless back end; the number of its commands that
// failed (-1 when it does not parse, reported as a test failure).
int PlayScript(HeadlessApp& headless, const std::string& script);

// A test of the whole program in such a folder (named after the test): message boxes
// get Cancel, the start-up forms are taken down at the end.
class ScriptedGameTest : public HeadlessTest {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string dir;
};

}  // namespace test
