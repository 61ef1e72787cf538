// Too tired on the map: the walk is refused, the heroine is sent home to bed, and the
// map she stood on goes away with the rest of the town, in the real program.
#include <gtest/gtest.h>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ScriptedGame.h"
#include "town/EvControler.h"
#include "town/Mapform.h"

namespace {

using TiredMapTest = test::ScriptedGameTest;

TEST_F(TiredMapTest, ARefusedWalkTakesTheMapDown) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    ui::HeadlessBackend& backend = headless.Backend();
    test::EventResponders player(backend);
    player.answers.assign(8, 0);
    // Past the logo movie and the opening; the title's labels, then 新的遊戲.
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 300);
    backend.Click(321, 392, ui::MouseButton::mbLeft, 0, 300);
    headless.RunUntil([&] { return backend.ScriptLeft() == 0; });
    headless.RunUntil(
        [] { return ShopForm && ShopForm->Visible() && ShopForm->PendingAction == 0; });
    headless.RunFor(2000);

    // Out of the door in the evening, onto the town map.
    ShopForm->PM_ExitShopClick();
    headless.RunUntil([] { return MapFm && MapFm->Visible() && MapFm->m_WalkState == 0; });
    // Exhausted, an hour before the end of her day: the walk to the square takes it.
    SetCondition(2);
    SetGameHour(23);
    bool chosen = false;
    for (int i = 0; i < MapFm->m_Ppm.Items.Count(); ++i)
        if (MapFm->m_Ppm.Items.Item(i)->Caption == ui::Utf8ToBig5("中央噴水廣場")) {
            MapFm->m_Ppm.Items.Item(i)->Click();
            chosen = true;
        }
    ASSERT_TRUE(chosen);
    headless.RunFor(3000);
    EXPECT_EQ(transcript->Texts("line").back(), "我已經累了");
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_FALSE(MapFm->Visible()) << "the map stays over the shop and takes no clicks";
    EXPECT_TRUE(ShopForm->Visible());
}

}  // namespace
