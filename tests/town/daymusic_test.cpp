// The music of a day as a player hears it, through the real map, stage, message window
// and command menus: the shop's music of the season, the town's, the land's, the
// town's again and the shop's.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessAudio.h"
#include "shop/GameState.h"
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

using DayMusicTest = test::MapWalkTest;

TEST_F(DayMusicTest, ShopBySeasonTownLandTownShop) {
    SetGameDay(3 * 24);  // month 4: spring
    SetGameHour(10);
    GameFlow->Place = place::ShopInside;
    EventServerDbg->PlayPlaceMusic();
    MapFm->Show();  // out of the shop's door

    Click(MarkOf(kTownPlaces[3]));  // 中央噴水廣場
    Walk();
    Menu({command::kMove, command::kMap});
    FromMenu("郊外");
    Walk();
    Click(MarkOf(kLandPlaces[1]));  // 達利姆森林
    Walk();
    Menu({command::kMove, command::kMap});
    Click(MarkOf(kLandPlaces[0]));  // 鎮上
    Walk();
    FromMenu("黑貓魔法店");
    Walk();
    Menu({command::kMove, command::kEnter});
    ASSERT_EQ(GameFlow->Place, 10);

    // The tracks started, each change once.
    std::vector<std::string> tracks;
    for (const std::string& m : transcript->Texts("music"))
        if (m.rfind("track ", 0) == 0 && (tracks.empty() || tracks.back() != m))
            tracks.push_back(m);
    EXPECT_EQ(tracks, (std::vector<std::string>{"track 12 loop", "track 10 loop", "track 11 loop",
                                                "track 10 loop", "track 12 loop"}));
}

}  // namespace
