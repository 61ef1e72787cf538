// The save-and-continue input script as `lumia --headless --input` plays it: a new game
// saved into slot 2 at bedtime, back to the title, and Continue from slot 2.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Savefile.h"
#include "shop/Shop.h"
#include "tests/support/ScriptedGame.h"

namespace fs = std::filesystem;

namespace {

using SaveContinueScriptTest = test::ScriptedGameTest;

TEST_F(SaveContinueScriptTest, SavedAtBedtimeThenContinuedFromTheTitle) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    EXPECT_EQ(test::PlayScript(headless, test::ReadScript("save_and_continue.txt", dir)), 0);
    EXPECT_EQ(transcript->Texts("save"), std::vector<std::string>{"slot 2"});
    EXPECT_EQ(transcript->Texts("load"), std::vector<std::string>{"slot 2"});
    EXPECT_TRUE(fs::exists(dir + "/QDV3.QDV"));
    EXPECT_TRUE(fs::exists(dir + "/loaded-morning.png"));
    EXPECT_EQ(GameDay(), 1);  // the loaded game's morning
    EXPECT_TRUE(ShopForm->Shop2FPanel->Visible());
    EXPECT_FALSE(ShopForm->TitlePanel->Visible());
}

}  // namespace
