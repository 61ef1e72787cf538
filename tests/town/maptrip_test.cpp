// A trip as a player makes it, through the real map, stage, message window and
// command menus: from the shop's door to the market square, the market, out to the
// land map and back, and into the shop again. Each leg charges its hours.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessAudio.h"
#include "shop/GameState.h"
#include "shop/Marketlist.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/MapWalkFixture.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/MapTables.h"
#include "town/Mapform.h"
#include "town/Mdpform.h"
#include "town/Srcdbtxtform21.h"

namespace {

// A screen point inside a place's mark on the map (its top-left + 11).
constexpr ui::Point MarkOf(const MapPlace& p) { return {p.markX + 11, p.markY + 11}; }

using MapTripTest = test::MapWalkTest;

TEST_F(MapTripTest, ToTheMarketOutToTheLandAndHome) {
    SetGameDay(30);
    SetGameHour(10);
    GameFlow->Place = place::ShopInside;  // the heroine has walked out of the shop's door
    MapFm->Show();
    EXPECT_EQ(GameFlow->Place, 0);

    Click(MarkOf(kTownPlaces[3]));  // 中央噴水廣場
    Walk();
    EXPECT_EQ(GameHour(), 11);
    EXPECT_FALSE(MapFm->Visible());
    EXPECT_EQ(GameFlow->PlaceMenuKind(), 1);
    // The market list opens; she looks and closes it.
    int marketShown = 0;
    const int closer = headless.Backend().AddResponder([&] {
        if (!MarketListForm || !MarketListForm->Visible()) return false;
        ++marketShown;
        MarketListForm->CloseButtonClick();
        return true;
    });
    Menu({command::kMarket});
    headless.Backend().RemoveResponder(closer);
    EXPECT_EQ(marketShown, 1);
    EXPECT_EQ(transcript->Texts("line").back(), "緹菈「今天有什麼東西呢？");

    Menu({command::kMove, command::kMap});
    ASSERT_TRUE(MapFm->Visible());
    FromMenu("郊外");
    Walk();
    EXPECT_EQ(GameHour(), 12);
    EXPECT_EQ(MapFm->m_Land, 1);
    Click(MarkOf(kLandPlaces[1]));  // 達利姆森林, one hop
    Walk();
    EXPECT_EQ(GameHour(), 13);
    EXPECT_EQ(GameFlow->Place, 33);
    EXPECT_EQ(GameFlow->PlaceMenuKind(), 2);

    Menu({command::kMove, command::kMap});
    Click(MarkOf(kLandPlaces[0]));  // 鎮上
    Walk();
    EXPECT_EQ(GameHour(), 14);
    EXPECT_EQ(MapFm->m_Land, 0);
    EXPECT_EQ(GameFlow->Place, 8);
    FromMenu("黑貓魔法店");
    Walk();
    EXPECT_EQ(GameHour(), 15);
    Menu({command::kMove, command::kEnter});
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_EQ(transcript->Texts("message").back(), "該做什麼好呢？");

    EXPECT_EQ(transcript->Texts("travel"),
              (std::vector<std::string>{"中央噴水廣場 1h", "郊外 1h", "達利姆森林 1h", "鎮上 1h",
                                        "黑貓魔法店 1h"}));
    EXPECT_EQ(transcript->Texts("command"),
              (std::vector<std::string>{"4", "5", "6", "5", "6", "5", "7"}));
}

}  // namespace
