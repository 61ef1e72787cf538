// The command menu's lists and kinds, and the commands with their hours and lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Transcript.h"
#include "shop/Demand.h"
#include "shop/GameState.h"
#include "shop/Marketlist.h"
#include "shop/Shop.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"
#include "town/Srcdbtxtform21.h"

namespace {

class CommandsTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        InitGameState();
        GameFlow = new TEvControler();  // makes the message window and the map
        DbTxtForm2->m_FaceFolder = "\\col24b\\palFace";
        DbTxtForm2->LoadFaces();
        DbTxtForm2->Show();
    }
    void TearDown() override {
        delete GameFlow;
        GameFlow = nullptr;
    }
    void At(int day, int hour, int place) {
        SetGameDay(day);
        SetGameHour(hour);
        GameFlow->Place = place;
    }
    // The ids of a list, up to its first -1.
    std::vector<int> List(int kind) {
        std::vector<int> ids;
        for (int id : GameFlow->CommandLists[kind]) {
            if (id < 0) break;
            ids.push_back(id);
        }
        return ids;
    }
    std::vector<int> PlaceMenu(int place) {
        GameFlow->Place = place;
        MapFm->m_Land = place >= 32 ? 1 : 0;  // the map the place lies on
        return List(GameFlow->PlaceMenuKind());
    }
    std::vector<std::string> Lines() { return transcript->Texts("line"); }
    std::string LastLine() {
        const std::vector<std::string> l = Lines();
        return l.empty() ? std::string() : l.back();
    }

    ui::ScopedTranscript transcript;
    // Lines wait for the player's click.
    test::EventResponders player{headless.Backend()};
};

TEST_F(CommandsTest, PlaceMenus) {
    EXPECT_EQ(PlaceMenu(3), (std::vector<int>{5, 0, 2, 4}));  // move, look, peddle, market
    EXPECT_EQ(PlaceMenu(17), (std::vector<int>{5, 0, 14}));   // move, look, read
    EXPECT_EQ(PlaceMenu(33), (std::vector<int>{5, 3}));       // move, search
    EXPECT_EQ(PlaceMenu(44), (std::vector<int>{5, 0}));       // move, look
    EXPECT_EQ(PlaceMenu(12), (std::vector<int>{5, 0}));
    EXPECT_EQ(PlaceMenu(13), (std::vector<int>{5, 0}));
    EXPECT_EQ(PlaceMenu(7), (std::vector<int>{5, 0}));
    EXPECT_EQ(PlaceMenu(0), (std::vector<int>{5, 0, 2}));
    EXPECT_EQ(PlaceMenu(4), (std::vector<int>{5, 0, 2}));
}

TEST_F(CommandsTest, TheMapsLandFlagDecidesTheMenu) {
    MapFm->m_Land = 0;
    GameFlow->Place = place::Waterfall;  // node 3 of a place code read on the town map
    EXPECT_EQ(GameFlow->PlaceMenuKind(), 1);
    MapFm->m_Land = 1;
    GameFlow->Place = place::WizardHouseInside;
    EXPECT_EQ(GameFlow->PlaceMenuKind(), 3);
    GameFlow->Place = place::Square;
    EXPECT_EQ(GameFlow->PlaceMenuKind(), 2);
}

TEST_F(CommandsTest, MoveMenus) {
    struct Case {
        int place;
        std::vector<int> ids;
    } cases[] = {
        {0, {6, 7, 8}},  {4, {6, 7, 8}},  {43, {6, 7, 8}}, {1, {6, 9, 10, 8}},
        {2, {6, 11, 8}}, {3, {6, 16, 8}}, {7, {6, 13, 8}}, {9, {17, 7, 8}},
        {12, {12, 8}},   {13, {12, 8}},   {17, {12, 8}},   {44, {12, 8}},
        {5, {6, 8}},     {32, {6, 8}},    {45, {6, 8}},    {63, {6, 8}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(List(TEvControler::MoveMenuKind(c.place)), c.ids) << c.place;
    EXPECT_EQ(TEvControler::MoveMenuKind(45), 6);
    EXPECT_EQ(TEvControler::MoveMenuKind(50), 6);
}

TEST_F(CommandsTest, Market) {
    struct Case {
        int day, hour;
        const char* line;
    } cases[] = {
        {48, 12, "今天是假日，市集也公休噢"},  // day 48: the holiday, though not a rest day
        {5, 12, "今天是假日，市集也公休噢"},   // the weekly rest day
        {30, 12, "緹菈「今天有什麼東西呢？"},        {30, 10, "緹菈「今天有什麼東西呢？"},
        {30, 18, "緹菈「今天有什麼東西呢？"},        {30, 7, "緹菈「市集好像還沒開的樣子。"},
        {30, 9, "緹菈「市集好像還沒開的樣子。"},     {30, 19, "緹菈「今天的市集已經結束營業了。"},
        {30, 3, "緹菈「今天的市集已經結束營業了。"},
    };
    // The player closes the market list as soon as it shows.
    int opened = 0;
    const int id = headless.Backend().AddResponder([&] {
        if (!MarketListForm || !MarketListForm->Visible()) return false;
        ++opened;
        MarketListForm->CloseButtonClick();
        return true;
    });
    for (const Case& c : cases) {
        At(c.day, c.hour, 3);
        GameFlow->RunPlaceCommand(command::kMarket);
        EXPECT_EQ(LastLine(), c.line) << c.day << " " << c.hour;
    }
    headless.Backend().RemoveResponder(id);
    EXPECT_EQ(opened, 3);  // only in the market's hours
    EXPECT_EQ(MarketListForm, nullptr);
}

TEST_F(CommandsTest, Library) {
    struct Case {
        int hour;
        const char* line;
    } cases[] = {
        {9, "圖書館還沒有開噢。"},
        {7, "圖書館還沒有開噢。"},
        {18, "時間太晚了，今天讀不成書了吧。"},
        {19, "圖書館已經關了啦。"},
        {6, "圖書館已經關了啦。"},
    };
    for (const Case& c : cases) {
        At(30, c.hour, 7);
        GameFlow->DoMoveCommand(command::kLibrary);
        EXPECT_EQ(LastLine(), c.line) << c.hour;
        EXPECT_EQ(GameFlow->Place, 7);
    }
    At(30, 10, 7);
    GameFlow->DoMoveCommand(command::kLibrary);
    EXPECT_EQ(GameFlow->Place, 17);
    At(30, 17, 7);
    GameFlow->DoMoveCommand(command::kLibrary);
    EXPECT_EQ(GameFlow->Place, 17);
}

TEST_F(CommandsTest, ReadingCostsTwoHoursAndHalvesOnTheSecondRead) {
    At(30, 10, 17);
    const int before = GameExperience();
    GameFlow->RunPlaceCommand(command::kRead);
    EXPECT_EQ(GameHour(), 12);
    EXPECT_TRUE(EventServerDbg->TestFlg(flag::ReadToday));
    const int first = GameExperience() - before;
    GameFlow->RunPlaceCommand(command::kRead);
    EXPECT_EQ(GameHour(), 14);
    const int second = GameExperience() - before - first;
    // The reads' own faces; the library's remark on a read without a level may add
    // the tired face 20.
    std::vector<std::string> faces = transcript->Texts("face");
    std::erase(faces, "20");
    EXPECT_EQ(faces, (std::vector<std::string>{"19", "0", "19", "0"}));
    EXPECT_GT(first, second);

    At(30, 18, 17);
    GameFlow->RunPlaceCommand(command::kRead);
    EXPECT_EQ(LastLine(), "唉呀、圖書館已經關了啦。");
    EXPECT_EQ(GameHour(), 18);
}

TEST_F(CommandsTest, EnterTheShopByDayAndAtNight) {
    TDemandForm demand;
    auto* shop = new TShopForm();  // GameFlow is already there, so the shop keeps it
    shop->BuildShopScene();
    shop->Hide();

    // The stage's last picture is let go of on the way in, by day and by night.
    const auto stageHoldsPicture = [] {
        for (const ui::Bitmap* b :
             {&EventServerDbg->WorkBitmap(), &EventServerDbg->SourceBitmap()}) {
            if (b->Width() != kStageWidth || b->Height() != kStageHeight) return true;
            for (int y = 0; y < b->Height(); y += 4)
                for (int x = 0; x < b->Width(); x += 4)
                    if (b->GetPixel(x, y) != ui::clBlack) return true;
        }
        return false;
    };
    EventServerDbg->SetPlaceGr(0);
    ASSERT_TRUE(stageHoldsPicture());
    At(30, 21, 0);
    GameFlow->DoMoveCommand(command::kEnter);
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_TRUE(shop->Visible());
    EXPECT_NE(shop->Shop2FMode, 2);
    EXPECT_FALSE(stageHoldsPicture());
    EXPECT_EQ(transcript->Texts("message"), std::vector<std::string>{"該做什麼好呢？"});

    transcript->Clear();
    shop->Hide();
    EventServerDbg->SetPlaceGr(0);
    At(30, 22, 0);
    GameFlow->DoMoveCommand(command::kEnter);
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_TRUE(shop->Visible());
    EXPECT_EQ(shop->Shop2FMode, 2) << "upstairs, going to bed";
    EXPECT_FALSE(stageHoldsPicture());
    for (const std::string& m : transcript->Texts("message"))
        EXPECT_EQ(m, "　") << "no prompt at night; the window is only emptied";
    delete shop;
}

TEST_F(CommandsTest, GoOutOfTheRooms) {
    for (auto [room, outside] :
         {std::pair{12, 1}, std::pair{13, 2}, std::pair{17, 7}, std::pair{44, 43}}) {
        At(30, 12, room);
        GameFlow->DoMoveCommand(command::kGoOut);
        EXPECT_EQ(GameFlow->Place, outside) << room;
    }
}

TEST_F(CommandsTest, CastleGateAndSquareSetThePlace) {
    At(30, 12, 3);
    GameFlow->DoMoveCommand(command::kToCastleGate);
    EXPECT_EQ(GameFlow->Place, 9);
    GameFlow->DoMoveCommand(command::kToSquare);
    EXPECT_EQ(GameFlow->Place, 3);
    GameFlow->DoMoveCommand(command::kCancel);
    EXPECT_EQ(GameFlow->Place, 3);
}

TEST_F(CommandsTest, BakeryByHour) {
    At(30, 12, 4);
    GameFlow->DoMoveCommand(command::kEnter);
    EXPECT_EQ(Lines().size(), 3u);
    At(30, 19, 4);
    GameFlow->DoMoveCommand(command::kEnter);
    EXPECT_EQ(LastLine(), "緹菈「商店已經關門了噢。");
}

TEST_F(CommandsTest, PalaceGate) {
    // Shut outside 10..18.
    At(5, 9, 9);
    VisitPalace(9);
    EXPECT_EQ(Lines().size(), 1u);
    // Not known at court: five lines of the guard sending her away.
    transcript->Clear();
    At(5, 12, 9);
    VisitPalace(12);
    EXPECT_EQ(Lines().size(), 5u);
    EXPECT_EQ(transcript->Texts("face"), (std::vector<std::string>{"16", "18", "0"}));
    // Known, both out of reach.
    transcript->Clear();
    EventServerDbg->SetFlg(flag::PalaceInvitation, true);
    EventServerDbg->SetFlg(flag::BallNightPassed, true);
    VisitPalace(12);
    EXPECT_EQ(Lines(), std::vector<std::string>{"已經見不到她囉"});
    EventServerDbg->SetFlg(flag::BallNightPassed, false);
    // Not summoned on the rest day (day 5): straight into the garden's arrival events,
    // where the first story visit takes the walk, and back out to the gate.
    transcript->Clear();
    VisitPalace(12);
    EXPECT_EQ(transcript->Texts("choice").size(), 0u);
    EXPECT_EQ(Lines().size(), 20u);
    EXPECT_EQ(GameFlow->Place, 9);
    EventServerDbg->SetFlg(flag::PrinceMetToday, false);  // as on the next rest day
    // Summoned: the gate's own choice. Meeting him leads through the garden and back
    // out to the gate; declining goes back to the square.
    EventServerDbg->SetFlg(flag::GardenFirstVisit, true);
    player.answers = {1};
    VisitPalace(12);
    EXPECT_EQ(transcript->Texts("choice"),
              std::vector<std::string>{"『和王子殿下見面。 / 『今天不打算進宮。"});
    EXPECT_EQ(transcript->Texts("answer").back(), "1");
    EXPECT_EQ(GameFlow->Place, 3);
    GameFlow->Place = place::CastleGate;
    player.answers = {0};
    VisitPalace(12);
    EXPECT_EQ(transcript->Texts("answer").back(), "0");
    const std::vector<std::string> places = transcript->Texts("place");
    EXPECT_NE(std::find(places.end() - 3, places.end(), "14"), places.end())
        << "the garden was shown";
    EXPECT_EQ(GameFlow->Place, 9);
    // Not the rest day: four lines, no choice.
    transcript->Clear();
    At(6, 12, 9);
    VisitPalace(12);
    EXPECT_EQ(Lines().size(), 4u);
    EXPECT_TRUE(transcript->Texts("choice").empty());
}

TEST_F(CommandsTest, FlowerbedAndRivalShopHours) {
    At(30, 21, 1);
    VisitFlowerbed(21);
    EXPECT_EQ(LastLine(), "緹菈「這個時間去打擾人家不太好吧。");
    VisitFlowerbed(12);
    EXPECT_EQ(LastLine(), "緹菈「芙蘿蕾好像不在花壇這裡。");

    transcript->Clear();
    At(48, 12, 2);
    VisitRivalShop(12);
    EXPECT_EQ(Lines(),
              std::vector<std::string>{"　門上掛著「本日公休」的牌子。\n兩個人好像都出門了。"});
    At(30, 16, 2);  // after school: nobody answers, she stays outside
    VisitRivalShop(16);
    EXPECT_EQ(GameFlow->Place, 2);
}

TEST_F(CommandsTest, WizardHouseNobodyHome) {
    At(30, 12, 43);
    VisitWizardHouse(12);
    EXPECT_EQ(Lines().size(), 3u);  // a knock and three lines: nobody answers
    EXPECT_EQ(GameFlow->Place, 43);
}

}  // namespace
