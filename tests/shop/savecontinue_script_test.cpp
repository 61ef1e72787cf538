// The save-and-continue input script as `lumia --headless --input` plays it: a new game
// saved into slot 2 at bedtime, back to the title, and Continue from slot 2.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Transcript.h"
#include "platform/headless/InputScript.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Savefile.h"
#include "shop/Shop.h"
#include "story/EventTables.h"
#include "tests/support/HeadlessApp.h"

namespace fs = std::filesystem;

namespace {

class SaveContinueScriptTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        dir = test::ScratchDir("save_continue_script");
        for (const fs::directory_entry& e : fs::directory_iterator(ui::DefaultGameFolder())) {
            const std::string name = e.path().filename().string();
            if (name.rfind("QDV", 0) == 0) continue;
            fs::create_symlink(e.path(), fs::path(dir) / name);
        }
        ui::SetProgramFolder(dir);
        g_MainFormHooks = {};
        headless.AnswerMessageBoxes(ui::IDCANCEL);
    }
    void TearDown() override {
        DestroyStartupForms();
        g_MainFormHooks = {};
        ui::SetProgramFolder(ui::DefaultGameFolder());
    }
    std::string dir;
};

TEST_F(SaveContinueScriptTest, SavedAtBedtimeThenContinuedFromTheTitle) {
    std::ifstream in(std::string(LUMIA_SOURCE_DIR) + "/tests/scripts/save_and_continue.txt");
    std::stringstream text;
    text << in.rdbuf();
    std::string script, line;
    for (std::istringstream lines(text.str()); std::getline(lines, line);) {
        if (const auto at = line.find("screenshot "); at != std::string::npos)
            line = line.substr(0, at) + "screenshot " + dir + "/" + line.substr(at + 11);
        script += line + "\n";
    }
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    std::vector<ui::ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(ui::ParseInputScript(script, commands, error)) << error;
    ui::InputScriptPlayer player(headless.Backend());
    player.Play(commands);
    headless.RunUntil([] { return false; });
    EXPECT_EQ(player.Failures(), 0);
    EXPECT_EQ(transcript->Texts("save"), std::vector<std::string>{"slot 2"});
    EXPECT_EQ(transcript->Texts("load"), std::vector<std::string>{"slot 2"});
    EXPECT_TRUE(fs::exists(dir + "/QDV3.QDV"));
    EXPECT_TRUE(fs::exists(dir + "/loaded-morning.png"));
    EXPECT_EQ(GameDay(), 1);  // the loaded game's morning
    EXPECT_TRUE(ShopForm->Shop2FPanel->Visible());
    EXPECT_FALSE(ShopForm->TitlePanel->Visible());
}

}  // namespace
