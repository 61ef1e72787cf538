// The title screen through the real shop window: start-up shows it, a click on the
// picture shows its labels (the book only when something was ever unlocked), the hover
// colours, New Game into the shop, Continue cancelled back to the title, and the random
// opening the first time and after an ending.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "shop/Main.h"
#include "shop/Shop.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/HeadlessApp.h"

namespace {

std::vector<int> openings;
int loads = 0;

constexpr ui::TColor kGrey = 0x808080;
constexpr ui::TColor kBlack = 0x000000;

class TitleTest : public test::HeadlessTest {
protected:
    void SetUp() override {
        openings.clear();
        loads = 0;
        g_MainFormHooks = {};
        g_ShopHooks.PlayOpening = [](int n) { openings.push_back(n); };
        headless.AnswerMessageBoxes(ui::IDCANCEL);
        std::fill(std::begin(EverUnlocked), std::end(EverUnlocked), 0);
        CreateStartupForms();
        headless.RunFor(10);  // the first idle call shows the title
    }
    void TearDown() override {
        DestroyStartupForms();
        g_MainFormHooks = {};
        g_ShopHooks.PlayOpening = nullptr;
        g_ShopHooks.LoadFromListFlow = nullptr;
        std::fill(std::begin(EverUnlocked), std::end(EverUnlocked), 0);
    }
    static std::vector<bool> Shown() {
        std::vector<bool> v;
        for (ui::Label* l : ShopForm->TitleLabels) v.push_back(l->Visible());
        return v;
    }
};

TEST_F(TitleTest, StartUpShowsTheTitleWithItsLabelsHiddenAndNoGameRunning) {
    ASSERT_NE(ShopForm, nullptr);
    EXPECT_TRUE(ShopForm->Visible());
    EXPECT_TRUE(ShopForm->TitlePanel->Visible());
    EXPECT_EQ(Shown(), std::vector<bool>(6, false));
    EXPECT_EQ(MainForm->TickBusy, 1);  // no main-loop step until a game starts
    EXPECT_FALSE(ShopForm->MenuNextTurn->Enabled());
    ASSERT_EQ(openings.size(), 1u);
    EXPECT_GE(openings[0], 1);
    EXPECT_LE(openings[0], 6);
    EXPECT_FALSE(ShopForm->TitleImage->Picture().Empty());
}

TEST_F(TitleTest, TheLabelsAndTheirPlaces) {
    const char* const captions[6] = {"開頭動畫", "新的遊戲", "讀取進度",
                                     "魔法圖鑑", "事件相簿", "畫面模式"};
    for (int k = 0; k < 6; ++k) {
        ui::Label* l = ShopForm->TitleLabels[k];
        EXPECT_EQ(ui::Big5ToUtf8(l->Caption()), captions[k]);
        EXPECT_EQ(l->Tag, k);
        EXPECT_EQ(l->Left(), 275);
        EXPECT_EQ(l->Top(), 322 + 24 * k);
        EXPECT_EQ(l->Width(), 93);
        EXPECT_EQ(l->Height(), 21);
    }
}

TEST_F(TitleTest, TheBookLabelShowsOnlyWhenSomethingWasEverUnlocked) {
    ShopForm->TitleImageClick();
    EXPECT_EQ(Shown(), (std::vector<bool>{true, true, true, false, true, true}));
    ShopForm->ShowTitleButtons(false);
    EXPECT_EQ(Shown(), std::vector<bool>(6, false));
    EverUnlocked[item::NecklaceKeepsake] = 1;
    ShopForm->TitleImageClick();
    EXPECT_EQ(Shown(), std::vector<bool>(6, true));
}

TEST_F(TitleTest, TheHintShowsUntilTheMenuAppearsAndAgainOnTheNextTitle) {
    ASSERT_NE(ShopForm->TitleHint, nullptr);
    EXPECT_EQ(ui::Big5ToUtf8(ShopForm->TitleHint->Caption()), "點一下畫面顯示選單");
    EXPECT_TRUE(ShopForm->TitleHint->Visible());
    ShopForm->TitleImageClick();
    EXPECT_FALSE(ShopForm->TitleHint->Visible());
    ShopForm->ShowTitleButtons(false);  // the book or the load list over the title
    EXPECT_FALSE(ShopForm->TitleHint->Visible());
    ShopForm->ShowTitle();
    EXPECT_TRUE(ShopForm->TitleHint->Visible());
}

TEST_F(TitleTest, TheLabelUnderTheMouseTurnsBlackTheOthersGrey) {
    ShopForm->TitleImageClick();
    ShopForm->TitleOpeningButtonMouseMove(2);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(ShopForm->TitleLabels[k]->GetFont().Color, k == 2 ? kBlack : kGrey) << k;
    ShopForm->TitleImageMouseMove(200);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(ShopForm->TitleLabels[k]->GetFont().Color, kGrey) << k;
}

TEST_F(TitleTest, NewGameByClicksStartsTheShopOnDayZero) {
    ui::ScopedTranscript transcript;
    SetGameDay(40);
    headless.Backend().Click(320, 200);  // the picture: the labels
    headless.RunFor(100);
    ASSERT_TRUE(ShopForm->TitleStartButton->Visible());
    test::EventResponders player(headless.Backend());
    headless.Backend().Click(321, 392);  // 新的遊戲
    headless.RunUntil([] { return ShopForm->MenuNextTurn->Enabled(); });
    // The prologue played before the shop came: a first game's 27 lines.
    const std::vector<std::string> lines = transcript->Texts("line");
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines.front(), "緹菈『這座小鎮在王國的西邊，四周是森林、\n田野和山丘。");
    EXPECT_EQ(player.linesAcknowledged, 27);
    EXPECT_EQ(GameHour(), 9);
    EXPECT_FALSE(ShopForm->TitlePanel->Visible());
    EXPECT_FALSE(ShopForm->Shop2FPanel->Visible());
    EXPECT_EQ(ShopForm->SceneBuilt, 1);
    EXPECT_EQ(GameDay(), 0);
    EXPECT_EQ(MainForm->SceneActive, 1);
    EXPECT_NE(std::find(transcript->Texts("command").begin(), transcript->Texts("command").end(),
                        "new game"),
              transcript->Texts("command").end());
    EXPECT_TRUE(ShopForm->MenuNextTurn->Enabled());  // the shop phase came
}

TEST_F(TitleTest, ACancelledContinueGoesBackToTheLabels) {
    g_ShopHooks.LoadFromListFlow = [] {
        ++loads;
        return false;
    };
    ShopForm->TitleImageClick();
    ShopForm->TitleContinueButtonClick();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(ShopForm->SceneBuilt, 0);
    EXPECT_TRUE(ShopForm->TitlePanel->Visible());
    EXPECT_TRUE(ShopForm->TitleStartButton->Visible());
    EXPECT_EQ(MainForm->TickBusy, 1);
}

TEST_F(TitleTest, TheOpeningPlaysOnceUntilAnEndingThenARandomOneAgain) {
    ASSERT_EQ(openings.size(), 1u);
    ShopForm->ShowTitle();  // back to the title from a game
    EXPECT_EQ(openings.size(), 1u);
    ShopForm->TitleOpeningButtonClick();  // on demand: opening 1
    ASSERT_EQ(openings.size(), 2u);
    EXPECT_EQ(openings[1], 1);
    ShopForm->OpeningPlayed = 0;  // what the ending leaves
    ShopForm->ShowTitle();
    ASSERT_EQ(openings.size(), 3u);
    EXPECT_GE(openings[2], 1);
    EXPECT_LE(openings[2], 6);
}

}  // namespace
