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
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"
#include "town/Mdpform.h"
#include "town/Srcdbtxtform21.h"

namespace {

class MapTripTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        ui::SetAudio(std::make_unique<ui::RecordingAudio>());
        GameFlow = new TEvControler();  // makes the message window, the map and the music form
        ASSERT_NE(MapFm, nullptr);
        ASSERT_NE(DbTxtForm2, nullptr);
        DbTxtForm2->Show();
        TMapFm::s_LastRegion = 0;
        // The command menus are answered from the queue, by clicking the button.
        menuResponder = headless.Backend().AddResponder([this] {
            if (!DbTxtForm2 || !DbTxtForm2->m_MenuMode || commands.empty()) return false;
            const TEvControler::CommandList& list = GameFlow->CommandLists[GameFlow->ShownMenuKind];
            for (int i = 0; i < TEvControler::kCommandListLength && list[i] >= 0; ++i)
                if (list[i] == commands.front()) {
                    const ui::Rect r = DbTxtForm2->m_BtnRects[i];
                    commands.pop_front();
                    headless.Backend().Click(DbTxtForm2->Left() + r.Left + r.Width() / 2,
                                             DbTxtForm2->Top() + r.Top + r.Height() / 2,
                                             ui::MouseButton::mbLeft, 0, 40);
                    return true;
                }
            return false;
        });
    }
    void TearDown() override {
        headless.Backend().RemoveResponder(menuResponder);
        delete GameFlow;
        GameFlow = nullptr;
        ui::SetAudio(nullptr);
    }
    // The pointer comes to the place (twice: a message window over it dodges the first
    // move), then the click; the pump takes them as it takes a player's.
    void Click(ui::Point p) {
        headless.Backend().Move(p.x, p.y, 20);
        headless.Backend().Move(p.x, p.y, 20);
        headless.Backend().Click(p.x, p.y, ui::MouseButton::mbLeft, 0, 20);
        headless.RunFor(100);
    }
    // A place chosen from the map's popup menu (the way to a place that the message
    // window covers).
    void FromMenu(const char* utf8) {
        for (int i = 0; i < MapFm->m_Ppm.Items.Count(); ++i)
            if (MapFm->m_Ppm.Items.Item(i)->Caption == ui::Utf8ToBig5(utf8)) {
                MapFm->m_Ppm.Items.Item(i)->Click();
                return;
            }
        ADD_FAILURE() << "no menu item " << utf8;
    }
    // The walk ticks of the command-menu steps, until she stands still.
    void Walk() {
        for (int i = 0; i < 400 && MapFm->m_WalkState == 1; ++i) {
            headless.Clock().Advance(kWalkTickMs);
            MapFm->WalkTick();
        }
    }
    // A command-menu step at the place shown on the stage, answered with `ids`.
    void Menu(std::initializer_list<int> ids) {
        commands.assign(ids);
        ASSERT_TRUE(EventServerDbg->Visible()) << "the stage shows the place";
        GameFlow->PlaceMenuStep();
        EXPECT_TRUE(commands.empty());
    }

    ui::ScopedTranscript transcript;
    test::EventResponders player{headless.Backend()};
    std::deque<int> commands;
    int menuResponder = 0;
};

TEST_F(MapTripTest, ToTheMarketOutToTheLandAndHome) {
    SetGameDay(30);
    SetGameHour(10);
    GameFlow->Place = 10;  // the heroine has walked out of the shop's door
    MapFm->Show();
    EXPECT_EQ(GameFlow->Place, 0);

    Click({281, 171});  // 中央噴水廣場
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
    Click({222, 107});  // 達利姆森林, one hop
    Walk();
    EXPECT_EQ(GameHour(), 13);
    EXPECT_EQ(GameFlow->Place, 33);
    EXPECT_EQ(GameFlow->PlaceMenuKind(), 2);

    Menu({command::kMove, command::kMap});
    Click({279, 196});  // 鎮上
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
