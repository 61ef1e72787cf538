// The heroine too tired to walk on the map, in the whole program: the tired scene
// sends her home to bed and takes the map away, and the next trip's map takes clicks.
#include <gtest/gtest.h>

#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/ScriptedGame.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"

namespace {

using MapTiredTest = test::ScriptedGameTest;

TEST_F(MapTiredTest, TheTiredSceneOnTheLandMapTakesTheMapAwayAndTheNextTripWalks) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    // A sleepy heroine (condition 1: her limit is 03:00) at the forest spring at 02:00.
    SetGameDay(192);
    SetGameHour(2);
    SetCondition(1);
    GameFlow->Place = place::ForestSpring;
    MapFm->Show();
    ASSERT_EQ(MapFm->m_WalkState, 0);
    {
        test::EventResponders player(headless.Backend());
        MapFm->m_Ppm.Items.Item(0)->Click();  // 鎮上, one hop: 03:00, too tired
    }
    EXPECT_EQ(transcript->Texts("line").back(), "我已經累了");
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_FALSE(MapFm->Visible());
    // The next morning's trip from the shop: the town map opens with the walk at rest,
    // and a walk to 芙蘿蕾's house takes its hour.
    SetGameDay(193);
    SetGameHour(10);
    MapFm->Show();
    EXPECT_EQ(MapFm->m_WalkState, 0);
    MapFm->m_Ppm.Items.Item(1)->Click();
    EXPECT_EQ(MapFm->m_WalkState, 1);
    EXPECT_EQ(GameFlow->Place, 1);
    EXPECT_EQ(GameHour(), 11);
    MapFm->Hide();
}

}  // namespace
