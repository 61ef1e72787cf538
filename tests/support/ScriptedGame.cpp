#include "tests/support/ScriptedGame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/Backend.h"
#include "platform/Files.h"
#include "platform/headless/InputScript.h"
#include "shop/Main.h"
#include "tests/support/Scratch.h"

namespace fs = std::filesystem;

namespace test {

std::string GameFolderCopy(const std::string& name) {
    const std::string dir = ScratchDir(name);
    for (const fs::directory_entry& e : fs::directory_iterator(ui::DefaultGameFolder())) {
        const std::string file = e.path().filename().string();
        if (file.rfind("QDV", 0) == 0) continue;
        fs::create_symlink(e.path(), fs::path(dir) / file);
    }
    return dir;
}

std::string ReadScript(const std::string& file, const std::string& dir) {
    std::ifstream in(std::string(LUMIA_SOURCE_DIR) + "/tests/scripts/" + file);
    std::stringstream text;
    text << in.rdbuf();
    std::string script, line;
    for (std::istringstream lines(text.str()); std::getline(lines, line);) {
        const auto shot = line.find("screenshot ");
        if (shot != std::string::npos && line.find('#') > shot) {
            const std::string file = line.substr(shot + 11);
            line = line.substr(0, shot + 11) + dir + "/" + fs::path(file).filename().string();
        }
        script += line + "\n";
    }
    return script;
}

int PlayScript(HeadlessApp& headless, const std::string& script) {
    std::vector<ui::ScriptCommand> commands;
    std::string error;
    if (!ui::ParseInputScript(script, commands, error)) {
        ADD_FAILURE() << error;
        return -1;
    }
    ui::InputScriptPlayer player(headless.Backend());
    player.Play(commands);
    headless.RunUntil([] { return false; });
    return player.Failures();
}

void ScriptedGameTest::SetUp() {
    dir = GameFolderCopy(::testing::UnitTest::GetInstance()->current_test_info()->name());
    ui::SetProgramFolder(dir);
    g_MainFormHooks = {};
    headless.AnswerMessageBoxes(ui::IDCANCEL);
}

void ScriptedGameTest::TearDown() {
    DestroyStartupForms();
    g_MainFormHooks = {};
    ui::SetProgramFolder(ui::DefaultGameFolder());
}

}  // namespace test
