#pragma once
// A fixture for walks through the real map, stage, message window and command menus:
// the game-flow controller with its windows, the command menus answered from a queue
// by clicking their buttons, every line acknowledged, and the transcript kept.
#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <memory>
#include <string>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "platform/headless/HeadlessAudio.h"
#include "shop/GameState.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"
#include "town/Srcdbtxtform21.h"

namespace test {

class MapWalkTest : public HeadlessTest {
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
    EventResponders player{headless.Backend()};
    std::deque<int> commands;
    int menuResponder = 0;
};

}  // namespace test
