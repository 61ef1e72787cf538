// Every place of both maps takes a left click in the real program, in every season and
// in each light the maps are drawn in (day, evening, night): on its mark with the
// message window resting at the bottom of the map, which dodges the pointer when the
// mark lies under it, and on its name with the window dodged up to the top, where it
// must not hide a place for good. Up there the window's face is drawn over the clock,
// not under it. The screen of each map in each look is written into the test's game
// folder, to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Screen.h"
#include "platform/Transcript.h"
#include "shop/Calender.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "shop/Watch.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ScriptedGame.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/MapTables.h"
#include "town/Mapform.h"
#include "town/Srcdbtxtform21.h"

namespace {

using MapReachTest = test::ScriptedGameTest;

// Where a form lies in the stacking order, bottom first; -1 when it is not there.
int StackIndex(const ui::Form* f) {
    const std::vector<ui::Form*> forms = ui::Forms();
    const auto at = std::find(forms.begin(), forms.end(), f);
    return at == forms.end() ? -1 : int(at - forms.begin());
}

TEST_F(MapReachTest, EveryPlaceTakesALeftClickInEverySeasonAndLight) {
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    ui::HeadlessBackend& backend = headless.Backend();
    // Past the logo movie and the opening; the title's labels, then 新的遊戲; the
    // prologue's lines read on until the shop stands ready.
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 100);
    backend.Click(320, 200, ui::MouseButton::mbLeft, 0, 300);
    backend.Click(321, 392, ui::MouseButton::mbLeft, 0, 300);
    {
        test::EventResponders player(backend);
        headless.RunUntil([&] { return backend.ScriptLeft() == 0; });
        headless.RunUntil(
            [] { return ShopForm && ShopForm->Visible() && ShopForm->PendingAction == 0; });
        headless.RunFor(2000);
    }
    ShopForm->PM_ExitShopClick();
    headless.RunUntil([] { return MapFm && MapFm->Visible() && MapFm->m_WalkState == 0; });
    ASSERT_NE(WatchForm, nullptr);
    ASSERT_NE(CalenderForm, nullptr);
    // Every place open.
    for (int i = 0; i < kTownNodes; ++i) EventServerDbg->SetFlg(kFirstPlaceOpenFlag + i, true);
    for (int i = 0; i < kLandNodes; ++i) EventServerDbg->SetFlg(kFirstPlaceOpenFlag + 32 + i, true);

    // The looks of the maps: daylight by season, the evening and the night alike in
    // every season. Each place is clicked once in each: on its mark with the window at
    // rest, or on its name with the window dodged up, in turn.
    struct Look {
        const char* name;
        int day, hour;
        int variant;
        bool dodged;
    };
    const Look looks[] = {{"winter day", 10, 10, 2, false},     {"spring day", 80, 10, 0, true},
                          {"summer day", 150, 12, 0, false},    {"autumn day", 230, 10, 1, true},
                          {"spring evening", 81, 17, 1, false}, {"winter night", 11, 20, 3, true}};
    int clicks = 0;
    for (const Look& look : looks)
        for (int land = 0; land < 2; ++land) {
            const MapPlace* places = land ? kLandPlaces : kTownPlaces;
            const int count = land ? kLandNodes : kTownNodes;
            for (int node = 0; node < count; ++node) {
                const std::string what = std::string(look.name) + " " + places[node].name +
                                         (look.dodged ? " (name, window up)" : " (mark)");
                // She stands on another place of the map, at that day and hour, and the
                // map comes up with the window at rest.
                MapFm->Hide();
                SetGameDay(look.day);
                SetGameHour(look.hour);
                SetCondition(0);
                GameFlow->Place = (node == 0 ? (land ? 1 : 3) : 0) + 32 * land;
                MapFm->Show();
                ASSERT_EQ(MapFm->MapPictureName(), std::string(land ? "map_land" : "map_town") +
                                                       std::to_string(look.variant) + ".bmp")
                    << what;
                if (node == 1) {
                    // The screen as the player sees it, written to look at.
                    std::string file = dir + "/" + (land ? "land " : "town ") + look.name + ".png";
                    std::replace(file.begin(), file.end(), ' ', '-');
                    EXPECT_TRUE(ui::WritePng(file, headless.App().GetScreen()));
                }
                ui::Point at;
                if (look.dodged) {
                    // The pointer over the left of the resting page sends it up.
                    const ui::Rect page = DbTxtForm2->PageRect();
                    backend.Move(DbTxtForm2->Left() + page.Left + 40,
                                 DbTxtForm2->Top() + page.Top + 60);
                    headless.RunFor(1);
                    ASSERT_EQ(DbTxtForm2->Top(), DbTxtForm2->m_DodgeB.y) << what;
                    ASSERT_GT(StackIndex(DbTxtForm2), StackIndex(WatchForm))
                        << "the window's face under the clock";
                    ASSERT_GT(StackIndex(DbTxtForm2), StackIndex(CalenderForm));
                    at = MapFm->m_Img->ClientToScreen({places[node].labelX, places[node].labelY});
                } else {
                    at = MapFm->m_Img->ClientToScreen(
                        {places[node].markX + kMarkSize / 2, places[node].markY + kMarkSize / 2});
                }
                backend.Click(at.x, at.y);
                headless.RunFor(1);
                ++clicks;
                EXPECT_EQ(MapFm->m_Dest, node) << what << " takes no click";
                EXPECT_EQ(MapFm->m_WalkState, 1) << what;
                ASSERT_FALSE(DbTxtForm2->m_BtnEnd->Visible()) << what << ": a scene began";
            }
        }
    EXPECT_EQ(clicks, 6 * (kTownNodes + kLandNodes));
}

}  // namespace
