// The game driven from outside as `lumia --headless --input` drives it: start-up forms,
// an input script of clicks on the shop's next-turn button, the transcript of the hours
// and a screenshot, all through the real pump on the virtual clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Transcript.h"
#include "platform/headless/InputScript.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "story/EventTables.h"
#include "tests/support/HeadlessApp.h"

namespace {

// The title's clicks: the picture shows the labels, then 新的遊戲 (window mode); then
// the message window's 繼續 every half second for the prologue's 27 lines, done by
// 40 s (a click between lines finds none and does nothing).
std::string NewGame() {
    std::string s = "@300 click 320 200\n+200 click 321 392\n+2400 click 608 493\n";
    for (int i = 0; i < 75; ++i) s += "+500 click 608 493\n";
    return s;
}

class HeadlessRunTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        g_MainFormHooks = {};
        headless.AnswerMessageBoxes(ui::IDCANCEL);
        // The evening customers would stop the hours for their dialogue; this test is
        // about the loop, so the customer-request table stays empty.
        savedCustomerRequests = CustomerRequestEvents;
        CustomerRequestEvents = {};
    }
    void TearDown() override {
        CustomerRequestEvents = savedCustomerRequests;
        DestroyStartupForms();
        g_MainFormHooks = {};
    }
    EventTable savedCustomerRequests{};
};

TEST_F(HeadlessRunTest, ScriptedNextTurnClicksPassTheHoursOfADay) {
    const std::string dir = test::ScratchDir("headless_run_day");
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    // The top bar's next-turn button, where the shop window puts it.
    const ui::Point at = ShopForm->MenuNextTurn->ClientToScreen(
        {ShopForm->MenuNextTurn->Width() / 2, ShopForm->MenuNextTurn->Height() / 2});
    std::string script = NewGame() + "@41000 screenshot " + dir + "/start.png\n";
    for (int i = 0; i < 12; ++i)
        script += "+600 click " + std::to_string(at.x) + " " + std::to_string(at.y) + "\n";
    script += "+600 screenshot " + dir + "/evening.png\nstop\n";
    std::vector<ui::ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(ui::ParseInputScript(script, commands, error)) << error;
    ui::InputScriptPlayer player(headless.Backend());
    player.Play(commands);

    headless.RunUntil([] { return false; });  // until the script's stop

    // New Game from the title: day 0, 08:00, in the shop; the prologue passes an hour.
    std::vector<std::string> want;
    for (int h = 9; h <= 21; ++h)
        want.push_back("day 0 " + std::string(h < 10 ? "0" : "") + std::to_string(h) + ":00");
    EXPECT_EQ(transcript->Texts("hour"), want);
    EXPECT_EQ(GameHour(), 21);
    EXPECT_EQ(player.Failures(), 0);
    EXPECT_TRUE(std::filesystem::exists(dir + "/start.png"));
    EXPECT_TRUE(std::filesystem::exists(dir + "/evening.png"));
    EXPECT_TRUE(ShopForm->Visible());
    // The idle prompt once each hour the heroine stood idle in the open shop.
    EXPECT_FALSE(transcript->Texts("message").empty());
}

TEST_F(HeadlessRunTest, ClicksBeforeTheShopPhaseDoNotPassAnHour) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    const ui::Point at = ShopForm->MenuNextTurn->ClientToScreen({5, 5});
    // Three clicks in one 150 ms step: the first passes the hour, the others come
    // while the new hour's turn start has not run yet.
    std::string script = NewGame() + "@41000 click " + std::to_string(at.x) + " " +
                         std::to_string(at.y) + "\n+20 click " + std::to_string(at.x) + " " +
                         std::to_string(at.y) + "\n+20 click " + std::to_string(at.x) + " " +
                         std::to_string(at.y) + "\n+500 stop\n";
    std::vector<ui::ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(ui::ParseInputScript(script, commands, error)) << error;
    ui::InputScriptPlayer player(headless.Backend());
    player.Play(commands);
    headless.RunUntil([] { return false; });
    EXPECT_EQ(transcript->Texts("hour"), (std::vector<std::string>{"day 0 09:00", "day 0 10:00"}));
}

}  // namespace
