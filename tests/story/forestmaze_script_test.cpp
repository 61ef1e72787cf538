// The forest maze in the real program: a save of the maze's day in slot 2, and the
// input script tests/scripts/forest_maze.txt as `lumia --headless --input` plays it,
// from the title's Continue to the first fork in the night forest.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Savefile.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ScriptedGame.h"
#include "town/Evsrvfm.h"

namespace fs = std::filesystem;

namespace {

using ForestMazeScriptTest = test::ScriptedGameTest;

TEST_F(ForestMazeScriptTest, FromTheTitleToTheFirstForkInTheNightForest) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    // The morning of day 234 (the program saves on waking): the fever began on day 216,
    // the heroine knows of it, sat five times at the bedside, knows 黃泉之魂, and met
    // 蕾妮特 long before.
    SetGameDay(234);
    SetGameHour(8);
    for (int f :
         {flag::FlowerCrownGiven, flag::FloraeCollapsed, flag::FeverExplained, flag::RenetteMet})
        EventServerDbg->SetFlg(f, true);
    DayMarks[mark::FeverBegan] = 216;
    EventServerDbg->EventVariable[var::BedsideVisitCount] = 5;
    UnlockItem(item::SoulOfTheUnderworld);
    ASSERT_TRUE(SaveGame(2));
    SetGameDay(0);

    EXPECT_EQ(test::PlayScript(headless, test::ReadScript("forest_maze.txt", dir)), 0);
    EXPECT_EQ(transcript->Texts("load"), std::vector<std::string>{"slot 2"});
    // The evening's 37 lines, then the first node's fork line and its two captions;
    // the run's end answers nothing, and the heroine leaves the forest.
    const std::vector<std::string> lines = transcript->Texts("line");
    ASSERT_GE(lines.size(), 38u);
    EXPECT_EQ(lines[lines.size() - 38], "緹菈「芙蘿蕾生病，已經三個星期了……");
    EXPECT_EQ(lines.back(), "緹菈『路分成左右兩邊了。\n該往哪邊走才好呢……");
    EXPECT_EQ(transcript->Texts("choice"), std::vector<std::string>{"『往左邊走。 / 『往右邊走。"});
    for (const char* shot : {"evening", "fork", "choice"})
        EXPECT_TRUE(fs::exists(dir + "/forest_maze_" + shot + ".png")) << shot;
    EXPECT_TRUE(EventServerDbg->TestFlg(flag::MazeGivenUp));
}

}  // namespace
