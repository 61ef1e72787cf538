// The tired scene on the map, in the whole program: a walk that reaches the hour the
// heroine can stay out to sends her home to bed, and the map makes way for the shop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvControler.h"
#include "town/MapTables.h"
#include "town/Mapform.h"
#include "town/Srcdbtxtform21.h"

namespace {

class TiredOnTheMapTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        g_MainFormHooks = {};
        g_MainFormHooks.ShowTitle = [] {};  // no title: the game is under way
        headless.AnswerMessageBoxes(ui::IDCANCEL);
        CreateStartupForms();
        headless.RunFor(10);
    }
    void TearDown() override {
        DestroyStartupForms();
        g_MainFormHooks = {};
    }
};

TEST_F(TiredOnTheMapTest, TheWalkThatTiresHerHidesTheMapAndShowsTheShop) {
    ui::ScopedTranscript transcript;
    test::EventResponders responders(headless.Backend());
    ASSERT_NE(ShopForm, nullptr);
    ASSERT_NE(MapFm, nullptr);
    ShopForm->BuildShopScene();
    ShopForm->TitlePanel->Hide();
    ShopForm->ShowShopScreen();
    SetGameDay(3);
    SetGameHour(5);  // a healthy heroine stays out until 06:00
    GameFlow->Place = place::ShopInside;
    DbTxtForm2->Show();
    GameFlow->ShowMap();
    ASSERT_TRUE(MapFm->Visible());
    // A place one hour away (the square), clicked where its mark is.
    const MapPlace* square = nullptr;
    for (const MapPlace& place : kTownPlaces)
        if (std::string(place.name) == "中央噴水廣場") square = &place;
    ASSERT_NE(square, nullptr);
    const ui::Point p = MapFm->m_Img->ClientToScreen(
        ui::Point{square->markX + kMarkSize / 2, square->markY + kMarkSize / 2});
    headless.Backend().Move(p.x, p.y, 20);
    headless.Backend().Move(p.x, p.y, 20);
    headless.Backend().Click(p.x, p.y, ui::MouseButton::mbLeft, 0, 20);
    headless.RunUntil([&] { return responders.linesAcknowledged == 1 && GameFlow->Place == 10; });
    headless.RunFor(500);
    EXPECT_EQ(GameHour(), 6);
    EXPECT_EQ(transcript->Texts("line"), std::vector<std::string>{"我已經累了"});
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_EQ(GameCondition(), 1);
    EXPECT_FALSE(MapFm->Visible());
    EXPECT_TRUE(ShopForm->Visible());
}

}  // namespace
