// The save-and-continue input script as `lumia --headless --input` plays it: a new game
// saved into slot 2 at bedtime, back to the title, and Continue from slot 2; and the
// morning's save offer when the shop window was dragged mostly off the screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Form.h"
#include "platform/Timer.h"
#include "platform/Transcript.h"
#include "platform/headless/InputScript.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Savefile.h"
#include "shop/Saveloadmsg.h"
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

// The shop window dragged 500 px to the left before the morning: the save offer, centred
// on it, still opens with its caption strip on the screen, and its 否 takes a click, so
// the morning goes on.
TEST_F(SaveContinueScriptTest, TheSaveOfferOfAShopDraggedAwayOpensWithinReach) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    std::string script = test::ReadScript("save_and_continue.txt", dir);
    script = script.substr(0, script.find("+14000 click 271 306"));
    script += "+1500 drag 500 8 0 8\n";
    std::vector<ui::ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(ui::ParseInputScript(script, commands, error)) << error;
    ui::InputScriptPlayer player(headless.Backend());
    player.Play(commands);
    // The offer waits in a modal loop of its own: looked at and answered from a timer.
    bool seen = false;
    int shopLeft = 0;
    ui::Rect strip;
    ui::Timer answer;
    answer.SetInterval(50);
    answer.OnTimer = [&] {
        if (seen || !SaveLoadMessageForm || !SaveLoadMessageForm->Visible()) return;
        seen = true;
        shopLeft = ShopForm->Left();
        const ui::Rect s = SaveLoadMessageForm->DragStrip();
        const ui::Point at = SaveLoadMessageForm->ClientToScreen({s.Left, s.Top});
        strip = ui::Bounds(at.x, at.y, s.Width(), s.Height());
        const ui::Point no = SaveLoadMessageForm->NoButton->ClientToScreen({10, 10});
        headless.Backend().Click(no.x, no.y);
    };
    headless.RunUntil(
        [&] { return ShopForm->Shop2FMode == 6 || transcript->Texts("save").size(); });
    headless.RunUntil(
        [] { return ShopForm->Shop2FMode == 0 && !ShopForm->Shop2FPanel->Visible(); });
    ASSERT_TRUE(seen);
    EXPECT_LT(shopLeft, -400);  // the drag took the shop window away
    const ui::Rect screen{0, 0, ui::App().GetScreen().Width(), ui::App().GetScreen().Height()};
    EXPECT_EQ(ui::Intersect(strip, screen), strip);
    EXPECT_EQ(player.Failures(), 0);
    EXPECT_TRUE(transcript->Texts("save").empty());
    std::vector<std::string> hours = transcript->Texts("hour");
    ASSERT_FALSE(hours.empty());
    EXPECT_EQ(hours.back(), "day 1 09:00");  // breakfast over, the shop's morning
}

// The morning after the first evening, the save offer refused: while breakfast ends and
// the floor comes back from the 2F room, presses on the stairs (500, 218) meant for the
// room do nothing; one made once the floor has settled sends her to bed.
TEST_F(SaveContinueScriptTest, APressAsBreakfastGivesWayDoesNotActOnTheFloor) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    std::string script = test::ReadScript("save_and_continue.txt", dir);
    script = script.substr(0, script.find("+14000 click 271 306"));
    std::vector<ui::ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(ui::ParseInputScript(script, commands, error)) << error;
    ui::InputScriptPlayer player(headless.Backend());
    player.Play(commands);
    // The save offer refused from inside its modal loop; a press on the black that ends
    // breakfast made from inside the pause that shows it.
    bool refused = false, pressedOnBlack = false;
    ui::Timer watch;
    watch.SetInterval(20);
    watch.OnTimer = [&] {
        if (!refused && SaveLoadMessageForm && SaveLoadMessageForm->Visible()) {
            refused = true;
            const ui::Point no = SaveLoadMessageForm->NoButton->ClientToScreen({10, 10});
            headless.Backend().Click(no.x, no.y);
        }
        if (!pressedOnBlack && ShopForm->Shop2FMode == 7) {
            pressedOnBlack = true;
            headless.Backend().Click(500, 218);
        }
    };
    headless.RunUntil([] { return ShopForm->Shop2FMode == 6; });
    // A press on the room's last frames.
    headless.RunUntil([] { return ShopForm->Shop2FCounter >= 23; });
    headless.Backend().Click(500, 218);
    headless.RunUntil(
        [] { return ShopForm->Shop2FMode == 0 && !ShopForm->Shop2FPanel->Visible(); });
    EXPECT_TRUE(pressedOnBlack);
    const std::uint32_t shown = ui::GetTickCount();
    for (const std::uint32_t at : {0u, 150u, 200u, 300u, 450u}) {
        headless.RunFor(shown + at - ui::GetTickCount() + 1);
        headless.Backend().Click(500, 218);
        headless.RunFor(1);
        EXPECT_EQ(ShopForm->PendingAction, kPendingNone) << "a press " << at << " ms after";
    }
    headless.RunFor(shown + 600 - ui::GetTickCount());
    headless.Backend().Click(500, 218);
    headless.RunFor(1);
    EXPECT_EQ(ShopForm->PendingAction, kPendingBed);
    EXPECT_EQ(transcript->Texts("hour").back(), "day 1 09:00");
}

}  // namespace
