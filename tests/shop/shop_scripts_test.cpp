// The shop driven from outside as `lumia --headless --input` drives it, with the input
// scripts of tests/scripts: the start-up forms, the real pump on the virtual clock, the
// transcript and screenshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Transcript.h"
#include "platform/headless/InputScript.h"
#include "shop/Debugform.h"
#include "shop/Demand.h"
#include "shop/Fsctrl.h"
#include "shop/GameState.h"
#include "shop/Heroine.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "story/EventTables.h"
#include "story/Register.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/ScriptedGame.h"
#include "town/Evsrvfm.h"

namespace {

class ShopScriptTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        g_MainFormHooks = {};
        headless.AnswerMessageBoxes(ui::IDCANCEL);
    }
    void TearDown() override {
        DestroyStartupForms();
        g_MainFormHooks = {};
        // A dialog a script left open (the mixing list at the desk) goes too, so the next
        // test's clicks reach its own title.
        while (!ui::Forms().empty()) delete ui::Forms().back();
    }
    // Plays the script until its stop, or until `done` holds.
    void Play(
        const std::string& name, const std::string& dir,
        const std::function<bool()>& done = [] { return false; }) {
        std::vector<ui::ScriptCommand> commands;
        std::string error;
        ASSERT_TRUE(ui::ParseInputScript(test::ReadScript(name, dir), commands, error)) << error;
        ui::InputScriptPlayer player(headless.Backend());
        player.Play(commands);
        headless.RunUntil(done);
        EXPECT_EQ(player.Failures(), 0);
    }
};

TEST_F(ShopScriptTest, TheShopMenuWalksHerToTheMixingDesk) {
    const std::string dir = test::ScratchDir("shop_script_desk");
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    Play("shop_walk_to_desk.txt", dir);
    ASSERT_NE(ShopForm, nullptr);
    EXPECT_EQ(ShopForm->HeroineFigure->User, kDeskCode);
    EXPECT_TRUE(HeroineIdle());
    // The new game's prologue, every line answered by the script, then the walk.
    EXPECT_EQ(transcript->Texts("line").size(), 27u);
    std::vector<std::string> afterPrologue;
    for (const ui::TranscriptEntry& e : transcript->Entries()) {
        if (e.kind == "event" && e.text == "end") afterPrologue.clear();
        if (e.kind == "heroine") afterPrologue.push_back(e.text);
    }
    EXPECT_EQ(afterPrologue, std::vector<std::string>{"stands at 4,8"});
    EXPECT_TRUE(std::filesystem::exists(dir + "/shop-desk.png"));
}

TEST_F(ShopScriptTest, DaysSkippedWithNextTurnBringCustomers) {
    const std::string dir = test::ScratchDir("shop_script_days");
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    // Up to the first customer: nobody comes on the first day of a new game, whose
    // demand is only drawn at the day change.
    Play("shop_open_day.txt", dir, [&] { return !transcript->Texts("customer").empty(); });
    EXPECT_FALSE(transcript->Texts("customer").empty());
    EXPECT_GE(GameDay(), 1);
    // On the way the evenings' order offers played, each answered by the script.
    int offers = 0;
    for (const std::string& l : transcript->Texts("line"))
        offers += l.rfind("顧客「", 0) == 0 ? 1 : 0;
    EXPECT_GE(offers, 8);  // an offer and a farewell each
    EXPECT_TRUE(ShopForm->IsShopOpen());
}

// The kinds and texts between the first entry of `from` and the next of `to`, as
// "kind text" lines.
std::vector<std::string> Between(const ui::Transcript& t, const std::string& from,
                                 const std::string& to) {
    std::vector<std::string> out;
    bool in = false;
    for (const ui::TranscriptEntry& e : t.Entries()) {
        if (!in) {
            in = e.kind == from;
            continue;
        }
        if (e.kind == to) break;
        out.push_back(e.kind + " " + e.text);
    }
    return out;
}

TEST_F(ShopScriptTest, MixedGoodsPutOnSlotTwoSellInTheOpenShop) {
    const std::string dir = test::ScratchDir("shop_script_mix_sell");
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    Play("mix_exhibit_sell.txt", dir);
    // Ten planned, one hour, nine made (difficulty 2 at level 1 takes one unit).
    EXPECT_EQ(transcript->Texts("mix start"), std::vector<std::string>{"活力花香瓶 10 1h"});
    const std::vector<std::string> job = Between(*transcript, "mix start", "mix result");
    EXPECT_NE(std::find(job.begin(), job.end(), "hour day 0 10:00"), job.end());
    EXPECT_EQ(transcript->Texts("mix result"), std::vector<std::string>{"活力花香瓶 9"});
    EXPECT_EQ(transcript->Texts("exhibit"), std::vector<std::string>{"活力花香瓶 2"});
    EXPECT_EQ(SlotItem(2), 0);
    // The shop was open from 10:00 and its customer bought from slot 2 at the full price.
    const std::vector<std::string> customers = transcript->Texts("customer");
    EXPECT_NE(std::find(customers.begin(), customers.end(), "活力花香瓶 at slot 2"),
              customers.end());
    const std::vector<std::string> sales = transcript->Texts("sale");
    ASSERT_FALSE(sales.empty());
    for (const std::string& sale : sales) EXPECT_EQ(sale, "活力花香瓶 20 at slot 2");
    EXPECT_EQ(DailySoldCount(item::VigourScentBottle, 0), static_cast<int>(sales.size()));
    EXPECT_EQ(ItemStock(item::VigourScentBottle), 19 - static_cast<int>(sales.size()));
    // Every offer of the evening had its answer from the script, and the day goes on.
    EXPECT_FALSE(transcript->Texts("choice").empty());
    EXPECT_EQ(transcript->Texts("answer"),
              std::vector<std::string>(transcript->Texts("choice").size(), "1"));
    EXPECT_EQ(GameHour(), 19);
    EXPECT_TRUE(HeroineIdle());
    for (const char* shot : {"mix-dialog.png", "mix-result.png", "exhibit-confirm.png",
                             "shop-open.png", "shop-evening.png"})
        EXPECT_TRUE(std::filesystem::exists(dir + "/" + shot)) << shot;
}

}  // namespace

TEST_F(ShopScriptTest, ShiftAltRightClickOpensTheDeveloperMenuAndItsPanels) {
    const std::string dir = test::ScratchDir("shop_script_developer");
    CreateStartupForms();
    Play("developer_menu.txt", dir);
    ASSERT_NE(DebugForm, nullptr);
    EXPECT_TRUE(DebugForm->Visible());
    EXPECT_EQ(GameMoney(), 900);  // a new game's 1000, less the right press
    ASSERT_NE(FsCtrlForm, nullptr);
    EXPECT_TRUE(FsCtrlForm->Visible());
    ASSERT_NE(DemandForm, nullptr);
    EXPECT_TRUE(DemandForm->IsViewVisible());
    for (const char* png : {"developer-menu.png", "developer-parameters.png",
                            "developer-fashion.png", "developer-panels.png"})
        EXPECT_TRUE(std::filesystem::exists(dir + "/" + png)) << png;
}

TEST_F(ShopScriptTest, ATripBuysAtTheMarketWalksTheLandAndComesHome) {
    const std::string dir = test::ScratchDir("shop_script_trip");
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    const int herbs = ItemStock(64);
    Play("map_trip.txt", dir);
    EXPECT_EQ(ItemStock(64), herbs + 3);
    EXPECT_EQ(transcript->Texts("action"), std::vector<std::string>{"buy 3"});
    const std::vector<std::string> trips = transcript->Texts("travel");
    EXPECT_EQ(trips, (std::vector<std::string>{"中央噴水廣場 1h", "郊外 1h", "達利姆森林 1h",
                                               "鎮上 1h", "黑貓魔法店 1h"}));
    EXPECT_EQ(GameHour(), 14);
    EXPECT_TRUE(ShopForm->Visible());
    for (const char* png : {"map-town.png", "map-market.png", "map-land.png", "map-home.png"})
        EXPECT_TRUE(std::filesystem::exists(dir + "/" + png)) << png;
}

TEST_F(ShopScriptTest, TheSquareIntroducesItselfAndItsBoardIsRead) {
    const std::string dir = test::ScratchDir("shop_script_square");
    ui::ScopedTranscript transcript;
    CreateStartupForms();
    Play("square_board.txt", dir);
    EXPECT_EQ(transcript->Texts("travel"), std::vector<std::string>{"中央噴水廣場 1h"});
    // After the walk: the introduction's name line and her 4, then the board's 7.
    std::vector<std::string> lines;
    for (const std::string& l : Between(*transcript, "travel", "")) {
        if (l.rfind("line ", 0) == 0) lines.push_back(l.substr(5));
    }
    ASSERT_EQ(lines.size(), 5u + 7u);
    EXPECT_EQ(lines[0], "中央噴水廣場");
    EXPECT_EQ(lines[5].substr(0, lines[5].find('\n')),
              "緹菈「這是鎮上的佈告欄。上面貼著各種消息，");
    EXPECT_TRUE(EventServerDbg->TestFlg(flag::IntroSquare));       // the square introduced
    EXPECT_TRUE(EventServerDbg->TestFlg(flag::NoticeBoardIntro));  // the board's first notice read
    EXPECT_EQ(GameDay(), 0);
    EXPECT_EQ(GameHour(), 10);
    for (const char* png : {"square-intro.png", "square-board.png", "square-after.png"})
        EXPECT_TRUE(std::filesystem::exists(dir + "/" + png)) << png;
}
