// The shop driven from outside as `lumia --headless --input` drives it, with the input
// scripts of tests/scripts: the start-up forms, the real pump on the virtual clock, the
// transcript and screenshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Transcript.h"
#include "platform/headless/InputScript.h"
#include "shop/GameState.h"
#include "shop/Heroine.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "story/EventTables.h"
#include "tests/support/HeadlessApp.h"

namespace {

// A script of tests/scripts with its screenshots written into `dir`.
std::string LoadScript(const std::string& name, const std::string& dir) {
    std::ifstream in(std::string(LUMIA_SOURCE_DIR) + "/tests/scripts/" + name);
    std::stringstream text;
    text << in.rdbuf();
    std::string script = text.str(), out;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        if (const auto at = line.find("screenshot "); at != std::string::npos)
            line = line.substr(0, at) + "screenshot " + dir + "/" + line.substr(at + 11);
        out += line + "\n";
    }
    return out;
}

class ShopScriptTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        // The evening customers would stop the script for their dialogue.
        savedCustomerRequests = CustomerRequestEvents;
        CustomerRequestEvents = {};
        g_MainFormHooks = {};
        headless.AnswerMessageBoxes(ui::IDCANCEL);
    }
    void TearDown() override {
        CustomerRequestEvents = savedCustomerRequests;
        DestroyStartupForms();
        g_MainFormHooks = {};
    }
    // Plays the script until its stop, or until `done` holds.
    void Play(
        const std::string& name, const std::string& dir,
        const std::function<bool()>& done = [] { return false; }) {
        std::vector<ui::ScriptCommand> commands;
        std::string error;
        ASSERT_TRUE(ui::ParseInputScript(LoadScript(name, dir), commands, error)) << error;
        ui::InputScriptPlayer player(headless.Backend());
        player.Play(commands);
        headless.RunUntil(done);
        EXPECT_EQ(player.Failures(), 0);
    }
    EventTable savedCustomerRequests{};
};

TEST_F(ShopScriptTest, TheShopMenuWalksHerToTheMixingDesk) {
    const std::string dir = test::ScratchDir("shop_script_desk");
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    Play("shop_walk_to_desk.txt", dir);
    ASSERT_NE(ShopForm, nullptr);
    EXPECT_EQ(ShopForm->HeroineFigure->User, kDeskCode);
    EXPECT_TRUE(HeroineIdle());
    // The new game's prologue, every line answered by the script, then the walk.
    EXPECT_EQ(transcript->Texts("line").size(), 27u);
    std::vector<std::string> afterPrologue;
    for (const ui::TranscriptEntry& e : transcript->Entries()) {
        if (e.kind == "event" && e.text == "end") afterPrologue.clear();
        if (e.kind == "heroine") afterPrologue.push_back(e.text);
    }
    EXPECT_EQ(afterPrologue, std::vector<std::string>{"stands at 4,8"});
    EXPECT_TRUE(std::filesystem::exists(dir + "/shop-desk.png"));
}

TEST_F(ShopScriptTest, DaysSkippedWithNextTurnBringCustomers) {
    const std::string dir = test::ScratchDir("shop_script_days");
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    // Up to the first customer: nobody comes on the first day of a new game, whose
    // demand is only drawn at the day change.
    Play("shop_open_day.txt", dir, [&] { return !transcript->Texts("customer").empty(); });
    EXPECT_FALSE(transcript->Texts("customer").empty());
    EXPECT_GE(GameDay(), 1);
    EXPECT_TRUE(ShopForm->IsShopOpen());
}

}  // namespace
