// The game-flow controller: its construction, the hourly hooks with the days and
// evenings they must not lose, experience messages and the forms it keeps together.
#include "town/EvControler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Form.h"
#include "platform/Transcript.h"
#include "shop/Calendar.h"
#include "shop/GameDialog.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Savefile.h"
#include "story/EventTables.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ScriptedRandom.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"
#include "town/Srcdbtxtform21.h"

namespace {

std::vector<std::string> calls;

std::string Calls(const std::string& prefix) {
    std::string out;
    for (const std::string& c : calls)
        if (c.rfind(prefix, 0) == 0) out += (out.empty() ? "" : ",") + c;
    return out;
}

// Lines, faces and plain messages shown, in order, as "<kind> <text>".
std::vector<std::string> Shown(const ui::Transcript& t) {
    std::vector<std::string> out;
    for (const ui::TranscriptEntry& e : t.Entries())
        if (e.kind == "line" || e.kind == "face" || e.kind == "message")
            out.push_back(e.kind + " " + e.text);
    return out;
}

bool TurnEventRuns() {
    calls.push_back("turnevent");
    return true;
}
bool DayEvent() {
    calls.push_back("dayevent");
    return false;
}
bool RequestEvent() {
    calls.push_back("request");
    return false;
}
bool MoveEvent() {
    calls.push_back("move");
    return false;
}

class ControllerTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        calls.clear();
        InitGameState();
        headless.AnswerMessageBoxes(ui::IDCANCEL);
        g_GameFlowHooks = {};
        GameFlowHooks& h = g_GameFlowHooks;
        h.SettleOrders = [] { calls.push_back("settle"); };
        TurnStartEvents = {};
        DayStartEvents = {};
        CustomerRequestEvents = {};
        MoveEvents = {};
        GameFlow = new TEvControler();
        shop = std::make_unique<ui::Form>();
        shop->Show();
        ShopHooks().shopForm = [this] { return shop.get(); };
        SetGameDay(12);
        SetGameHour(8);
    }
    void TearDown() override {
        ShopHooks().shopForm = nullptr;
        delete GameFlow;
        GameFlow = nullptr;
        g_GameFlowHooks = {};
        TurnStartEvents = {};
        DayStartEvents = {};
        CustomerRequestEvents = {};
        MoveEvents = {};
    }
    // A daily flag stands for everything the day change does.
    void ArmDailyFlag() { EventServerDbg->SetFlg(flag::PrinceMetToday, true); }
    bool DayChanged() const { return !EventServerDbg->TestFlg(flag::PrinceMetToday); }

    std::unique_ptr<ui::Form> shop;
};

TEST_F(ControllerTest, ConstructionOpensThePlacesButTwoAndIsReady) {
    EXPECT_EQ(GameFlow->Place, 10);
    EXPECT_EQ(GameFlow->MixedItem, -1);
    EXPECT_TRUE(GameFlow->IsReady());
    EXPECT_EQ(GameFlow->RefreshEnabled, 1);
    EXPECT_EQ(GameFlow->MoveEventsPending, 0);
    for (int n = 96; n <= 159; ++n)
        EXPECT_EQ(EventServerDbg->TestFlg(n), n != 138 && n != 139) << n;
    EXPECT_EQ(GameFlow->CommandLists[0][0], 5) << "the command lists are written";
}

TEST_F(ControllerTest, ArtFolderIsTheFirstWhoseEventPackOpens) {
    struct Case {
        bool col24, col8;
        bool pack24;  // the 24-bit folder holds its event pack, not just the folder
        const char* art;
        const char* faces;
        const char* box;  // what the player is told of the art, if anything
    };
    const Case cases[] = {
        {true, true, true, "\\col24b", "\\col24b\\palFace", nullptr},
        {false, true, false, "\\col8b", "\\col8b\\palFace", nullptr},
        // A 24-bit folder without its event pack is passed over.
        {true, true, false, "\\col8b", "\\col8b\\palFace", nullptr},
        {false, false, false, "", "", "遊戲目錄的路徑不正確，請結束遊戲。"},
    };
    std::vector<std::string> boxes;
    headless.Backend().SetMessageBoxResponder([&](const ui::MessageBoxRequest& r) {
        // Only what is said of the art folder; the scratch folder lacks everything else.
        const std::string text = ui::Big5ToUtf8(r.text);
        if (text.find("evGraph") != std::string::npos || text.find("遊戲目錄") == 0)
            boxes.push_back(text);
        return r.DefaultAnswer();
    });
    for (const Case& c : cases) {
        const std::string dir = test::ScratchDir("evcontroler_art");
        ui::SetProgramFolder(dir);
        for (auto [has, name] : {std::pair{c.col24, "col24b"}, std::pair{c.col8, "col8b"}}) {
            if (!has) continue;
            std::filesystem::create_directories(dir + "/" + name + "/EvPack");
            if (!c.pack24 && std::string(name) == "col24b") continue;
            std::FILE* f = std::fopen((dir + "/" + name + "/EvPack/EVGRAPH.PAK").c_str(), "wb");
            ASSERT_NE(f, nullptr);
            std::fclose(f);
        }
        boxes.clear();
        delete GameFlow;
        GameFlow = new TEvControler();
        EXPECT_EQ(EventServerDbg->m_ArtFolder, c.art);
        EXPECT_EQ(DbTxtForm2->m_FaceFolder, c.faces);
        EXPECT_EQ(boxes, c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{});
        ui::SetProgramFolder(ui::DefaultGameFolder());
    }
    const auto& box = headless.Backend().MessageBoxes().back();
    EXPECT_EQ(box.Buttons(), ui::MB_RETRYCANCEL);
}

TEST_F(ControllerTest, SetMixedItemKeepsOnlyGoods) {
    const std::pair<int, int> cases[] = {{0, 0}, {63, 63}, {64, -1}, {-5, -1}, {17, 17}};
    for (auto [id, stored] : cases) {
        GameFlow->SetMixedItem(id);
        EXPECT_EQ(GameFlow->MixedItem, stored) << id;
    }
}

TEST_F(ControllerTest, AtSevenInTheEveningOrdersAreSettledEvenWhenNotReady) {
    CustomerRequestEvents[0] = &RequestEvent;
    SetGameHour(19);
    GameFlow->Ready = 0;
    GameFlow->TurnStart(true);
    EXPECT_EQ(Calls("request"), "");
    EXPECT_EQ(Calls("settle"), "settle");

    calls.clear();
    GameFlow->Ready = 1;
    GameFlow->TurnStart(true);
    EXPECT_EQ(Calls("request"), "request");
    EXPECT_EQ(Calls("settle"), "settle");
}

TEST_F(ControllerTest, SkippedSevenInTheEveningStillSettlesOnceThatDay) {
    SetGameHour(18);
    GameFlow->GameStarted();
    SetGameHour(21);  // 19:00 went by in one pass
    GameFlow->TurnStart(true);
    SetGameHour(22);
    GameFlow->TurnStart(true);
    EXPECT_EQ(Calls("settle"), "settle");
    EXPECT_EQ(Calls("request"), "");
    // The next day's evening settles again.
    SetGameDay(13);
    SetGameHour(20);
    GameFlow->TurnStart(true);
    EXPECT_EQ(Calls("settle"), "settle,settle");
}

TEST_F(ControllerTest, AtEightATurnStartWhoseEventRanStillRunsTheDayStart) {
    ui::ScopedTranscript transcript;
    TurnStartEvents[0] = &TurnEventRuns;
    DayStartEvents[0] = &DayEvent;
    ArmDailyFlag();
    SetGameHour(8);
    const bool ran = GameFlow->TurnStart(true);
    EXPECT_EQ(calls, (std::vector<std::string>{"turnevent", "dayevent"}));
    EXPECT_EQ(transcript->Texts("music").size(), 1u) << "no day-start event: the place's music";
    EXPECT_FALSE(ran) << "the result is the day start's";
    EXPECT_TRUE(DayChanged());
    EXPECT_EQ(GameFlow->LastDayChangeDay, 12);
}

TEST_F(ControllerTest, ASkippedEightRunsTheMissedDayChangeOnce) {
    DayStartEvents[0] = &DayEvent;
    SetGameHour(23);
    GameFlow->GameStarted();  // day 12 already changed
    SetGameDay(13);
    SetGameHour(11);  // the night and the morning went by at once
    ArmDailyFlag();
    GameFlow->TurnStart(true);
    EXPECT_TRUE(DayChanged());
    EXPECT_EQ(Calls("dayevent"), "") << "the morning's events are not played late";
    ArmDailyFlag();
    SetGameHour(12);
    GameFlow->TurnStart(true);
    EXPECT_FALSE(DayChanged()) << "once a day";
}

TEST_F(ControllerTest, BeforeEightNoDayChangeIsMissedYet) {
    SetGameHour(22);
    GameFlow->GameStarted();
    SetGameDay(13);
    SetGameHour(3);
    ArmDailyFlag();
    GameFlow->TurnStart(true);
    EXPECT_FALSE(DayChanged());
}

TEST_F(ControllerTest, ALoadedOrStartedGameCountsItsDayAsChanged) {
    SetGameHour(14);
    GameFlow->GameStarted();
    ArmDailyFlag();
    SetGameHour(15);
    GameFlow->TurnStart(true);
    EXPECT_FALSE(DayChanged());
}

TEST_F(ControllerTest, ALoadedSlotCountsItsDayAsChanged) {
    SetGameDay(20);
    SetGameHour(15);
    std::vector<std::uint8_t> image(kSlotFileSize);
    BuildSlotImage(image.data());
    SetGameDay(12);
    SetGameHour(8);
    GameFlow->GameStarted();  // a game that stood on day 12
    ASSERT_TRUE(ApplySlotImage(image.data(), image.size()));
    EXPECT_EQ(GameDay(), 20);
    ArmDailyFlag();
    SetGameHour(16);
    GameFlow->TurnStart(true);
    EXPECT_FALSE(DayChanged()) << "day 20's change ran before it was saved";
}

TEST_F(ControllerTest, TurnStartEventsOnlyWithTheShopShownAndReady) {
    TurnStartEvents[0] = &TurnEventRuns;
    SetGameHour(13);
    struct Case {
        bool shopShown, allow, ready;
        bool runs;
    };
    for (const Case& c : {Case{true, true, true, true}, Case{false, true, true, false},
                          Case{true, false, true, false}, Case{true, true, false, false}}) {
        calls.clear();
        shop->SetVisible(c.shopShown);
        GameFlow->Ready = c.ready ? 1 : 0;
        EXPECT_EQ(GameFlow->TurnStart(c.allow), c.runs);
        EXPECT_EQ(Calls("turnevent"), c.runs ? "turnevent" : "");
    }
}

bool ReenterTurnStart() {
    calls.push_back(GameFlow->TurnStart(true) ? "inner ran" : "inner refused");
    return true;
}

TEST_F(ControllerTest, TurnStartEnteredAgainFromAnEventReturnsFalseAtOnce) {
    TurnStartEvents[0] = &ReenterTurnStart;
    SetGameHour(13);
    EXPECT_TRUE(GameFlow->TurnStart(true));
    EXPECT_EQ(calls, std::vector<std::string>{"inner refused"});
    EXPECT_EQ(TEvControler::TurnStartGuard, 1);
}

TEST_F(ControllerTest, ShopClosedFlagClosesTheShopFromTen) {
    int closed = 0;
    static int* counter = nullptr;
    counter = &closed;
    auto keep = g_ClockHooks.SetShopClosed;
    g_ClockHooks.SetShopClosed = [] { ++*counter; };
    GameFlow->GameStarted();  // today's change is done: ShopClosedToday is a daily flag
    EventServerDbg->SetFlg(flag::ShopClosedToday, true);
    for (int h : {9, 10, 15}) {
        SetGameHour(h);
        GameFlow->TurnStart(true);
    }
    g_ClockHooks.SetShopClosed = keep;
    EXPECT_EQ(closed, 2);
}

TEST_F(ControllerTest, GainExperienceTellsWhatWasLearnt) {
    // A level gained elsewhere: a plain message; at the library: a line.
    SetGameLevel(1);
    SetExperience(95);
    GameFlow->Place = place::Square;
    {
        ui::ScopedTranscript transcript;
        EXPECT_TRUE(GameFlow->GainExperience(10));
        EXPECT_TRUE(calls.empty());
        const auto shown = transcript->Texts("message");
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_NE(shown[0].find("的調配法學會了！"), std::string::npos);
    }

    ui::ScopedTranscript transcript;
    test::EventResponders player(headless.Backend());
    SetExperience(95);
    GameFlow->Place = place::Library;
    EXPECT_TRUE(GameFlow->GainExperience(10));
    const auto shown = Shown(*transcript);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("line ", 0), 0u);
    EXPECT_NE(shown[0].find("的調配法學會了！"), std::string::npos);
}

TEST_F(ControllerTest, ReadingWithoutALevelShowsARemarkOnlyAtTheLibrary) {
    ui::ScopedTranscript transcript;
    test::EventResponders player(headless.Backend());
    test::ScriptedRandom random({0, 1});
    SetGameLevel(1);
    SetExperience(0);
    GameFlow->Place = place::Library;
    EXPECT_FALSE(GameFlow->GainExperience(5));
    EXPECT_FALSE(GameFlow->GainExperience(5));
    EXPECT_FALSE(GameFlow->GainExperience(10));
    const std::vector<std::string> want = {
        "line 緹菈「嗯～。\n還不行、我大概還比不上媽媽那樣吧…",
        "face 20",
        "line 緹菈「我是不是工作過度啦？\n…眼睛有點乾澀。",
        "line 緹菈「嗯！\n今天的工作好像進行得很順利噢！",
    };
    EXPECT_EQ(Shown(*transcript), want);
    transcript->Clear();
    GameFlow->Place = place::Square;
    EXPECT_FALSE(GameFlow->GainExperience(5));
    EXPECT_TRUE(Shown(*transcript).empty());
}

TEST_F(ControllerTest, CommandMenuRunsTheMoveEventsOnceTheStageShows) {
    MoveEvents[0] = &MoveEvent;
    ui::Form* stage = EventServerDbg;
    GameFlow->MoveEventsPending = 1;
    GameFlow->CommandMenu();  // the stage is hidden: nothing
    EXPECT_EQ(Calls("move"), "");
    EXPECT_EQ(GameFlow->MoveEventsPending, 1);
    stage->Show();
    GameFlow->Ready = 0;  // a command runs
    GameFlow->CommandMenu();
    EXPECT_EQ(Calls("move"), "");
    GameFlow->Ready = 1;
    GameFlow->CommandMenu();  // the next step would show the place's menu
    EXPECT_EQ(Calls("move"), "move");
    EXPECT_EQ(GameFlow->MoveEventsPending, 0);
    EXPECT_TRUE(GameFlow->IsReady());
}

TEST_F(ControllerTest, RefreshIsNotEnteredAgain) {
    g_GameFlowHooks.ShowTypeName = [] {
        calls.push_back("tick");
        GameFlow->Refresh();
    };
    GameFlow->Tick();
    EXPECT_EQ(Calls("tick"), "tick");
    EXPECT_EQ(GameFlow->RefreshEnabled, 1);
}

TEST_F(ControllerTest, AlignFormsMovesTheHiddenOnesToTheVisibleOne) {
    ui::Form* map = MapFm;
    ui::Form* stage = EventServerDbg;
    shop->SetLeft(30);
    shop->SetTop(40);
    map->Hide();
    map->SetLeft(1);
    map->SetTop(2);
    stage->Show();
    stage->SetLeft(5);
    stage->SetTop(6);
    GameFlow->AlignForms();
    EXPECT_EQ(shop->Left(), 30) << "visible ones stay";
    EXPECT_EQ(stage->Left(), 5);
    EXPECT_EQ(map->Left(), 5);
    EXPECT_EQ(map->Top(), 6);

    // ShowMap: the map comes up where the shop is.
    stage->Hide();
    GameFlow->ShowMap();
    EXPECT_TRUE(map->Visible());
    EXPECT_EQ(map->Left(), 30);
    EXPECT_EQ(map->Top(), 40);
    EXPECT_EQ(stage->Left(), 30);
}

}  // namespace
