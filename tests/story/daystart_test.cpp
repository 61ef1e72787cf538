// The dialogue data and its scene player, and the prologue and day-start events
// played headless through the real message and choice windows with the transcript.
#include "story/DayStart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "story/Dialogue.h"
#include "story/EventTables.h"
#include "tests/support/EventResponders.h"
#include "tests/support/StoryFixture.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"
#include "town/Srcdbtxtform21.h"

namespace {

using Counts = test::StoryTest::Counts;

// The shared fixture's new game, at 08:00 of day 0 at home.
class StoryTest : public test::StoryTest {
protected:
    void SetUp() override {
        test::StoryTest::SetUp();
        Fresh(0, 8, place::ShopInside);
    }
};

// ---- the data and its player

TEST(DialogueData, EveryFileReadsWithoutAnError) {
    EXPECT_TRUE(story::DialogueErrors().empty());
    for (const std::string& e : story::DialogueErrors()) ADD_FAILURE() << e;
    EXPECT_NE(story::FindScene("EvPrologue", "visit"), nullptr);
}

TEST(DialogueData, DamagedRecordsAreRefusedWithTheirPlace) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"line 緹菈「早。」\n", "t.txt:1: a record before the first scene"},
        {"[Ev:a]\nvoice\n", "t.txt:2: 'voice': too few arguments"},
        {"[Ev:a]\nfigure 3\n", "t.txt:2: 'figure': too few arguments"},
        {"[Ev:a]\nface 2 3\n", "t.txt:2: 'face': too many arguments"},
        {"[Ev:a]\nface 2x\n", "t.txt:2: 'face': '2x' is not a number"},
        {"[Ev:a]\nset 388\n", "t.txt:2: 'set': no flag named '388' in the register"},
        {"[Ev:a]\nvar NoSuchCounter 1\n",
         "t.txt:2: 'var': no variable named 'NoSuchCounter' in the register"},
        {"[Ev:a]\nmark FlowerGiftCount\n",
         "t.txt:2: 'mark': no day mark named 'FlowerGiftCount' in the register"},
        {"[Ev:a]\nplace 12 1\n", "t.txt:2: 'place': no place named '12' in the register"},
        {"[Ev:a]\ngive CurePotion\n", "t.txt:2: 'give': too few arguments"},
        {"[Ev:a]\nrecipe ForestSpring\n",
         "t.txt:2: 'recipe': no item named 'ForestSpring' in the register"},
        {"[Ev:a]\ncall NoSuchMechanic\n", "t.txt:2: 'call': no mechanic named 'NoSuchMechanic'"},
        {"[Ev:a]\nmusic MusicBox forever\n", "t.txt:2: 'music': music is 'loop' or 'once'"},
        {"[Ev:a]\nmusic 3 loop\n", "t.txt:2: 'music': no track named '3' in the register"},
        {"[Ev:a]\nbegin quietly\n", "t.txt:2: 'begin' takes nothing or 'voice N'"},
        {"[Ev:a]\noption b 『走。\n", "t.txt:2: an option stands after a choice"},
        {"[Ev:a]\nchoice\noption b 『走。\nface 1\n", "t.txt:2: a choice has two or three options"},
        {"[Ev:a]\nchoice\noption b 『一\noption b 『二\noption b 『三\noption b 『四\n",
         "t.txt:6: a choice has at most three options"},
        {"[Ev:a]\noption\n", "t.txt:2: 'option': too few arguments"},
        {"[Ev:a]\nchoice\noption b 『一\noption b 『二\nface 1\notherwise b\n",
         "t.txt:6: 'otherwise' stands after a choice's options"},
        {"[Ev:a]\nline 路人「早\n", "t.txt:2: an unknown speaker 路人"},
        {"[Ev:a]\nline 緹菈「OK\n", "t.txt:2: a half-width character"},
        {"[Ev:a]\nwave 3\n", "t.txt:2: unknown record 'wave'"},
        {"[Ev:a]\n[Ev:a]\n", "t.txt:2: scene Ev:a is named twice"},
        {"[Eva]\n", "t.txt:1: a scene is named [Event:scene]"},
        {"[Ev:a]\nline 緹菈「😀」\n", "t.txt:2: a character Big5 does not hold"},
        {"[Ev:a]\nline \n", "t.txt:2: an empty line"},
        {"[Ev:a]\nline 　一\\n二\\n三\\n四\\n五\n",
         "t.txt:2: more than 4 rows: the window cuts the line"},
        {"[Ev:a]\nline 緹菈「一二三四五六七八九十一二三四五六七八九十。\n",
         "t.txt:2: a row of the window starts with a closing mark"},
    };
    for (const Case& c : cases) {
        std::vector<story::Scene> scenes;
        std::vector<std::string> errors;
        EXPECT_FALSE(story::ParseDialogue("t.txt", c.text, scenes, errors)) << c.text;
        EXPECT_EQ(errors, std::vector<std::string>{c.error}) << c.text;
    }
}

TEST(DialogueData, RecordsKeepTheirOrderAndEachLineItsVoice) {
    std::vector<story::Scene> scenes;
    std::vector<std::string> errors;
    ASSERT_TRUE(
        story::ParseDialogue("t.txt",
                             "# a comment\r\n[Ev:a]\r\nface 2\nvoice 330\nline 緹菈「一\\n二」\n"
                             "figure 43 1\nline 　\nclear 1\nplace ShopInside 0\nrefresh\n",
                             scenes, errors));
    ASSERT_EQ(scenes.size(), 1u);
    const std::vector<story::Step>& s = scenes[0].steps;
    ASSERT_EQ(s.size(), 8u);
    EXPECT_EQ(s[0].kind, story::StepKind::Face);
    EXPECT_EQ(s[2].text, B5("緹菈「一\n二」"));
    EXPECT_EQ(s[2].voice, 330);
    EXPECT_EQ(s[3].a, 43);
    EXPECT_EQ(s[3].b, 1);
    EXPECT_EQ(s[4].text, B5("　"));  // the blank line while a sound plays
    EXPECT_EQ(s[4].voice, -1);
    EXPECT_EQ(s[5].kind, story::StepKind::ClearFigure);
    EXPECT_EQ(s[6].kind, story::StepKind::Place);
}

// The window's page: four rows of 23 cells, the fourth ending at cell 20 before the
// end button; a longer text line wraps. What would be cut fails.
TEST(DialogueData, ALineFitsFourRowsOfTheWindowTheLastStoppingAtTheEndButton) {
    const std::string row = "　一二三四五六七八九十一二三四五六七八九十一二";  // 23 cells
    const std::string twenty = row.substr(0, 20 * 3);
    struct Case {
        std::string text;
        std::string problem;
    };
    const std::string cut = "the fourth row runs into the end button: the window cuts the line";
    const std::string more = "more than 4 rows: the window cuts the line";
    const Case cases[] = {
        {"　鐘聲響起。", ""},
        {row + "\n" + row + "\n" + row + "\n" + twenty, ""},
        {row + "\n" + row + "\n" + row + "\n" + twenty + "一", cut},
        {row + row + row + twenty, ""},  // wrapped rows count alike
        {row + row + row + twenty + "一", cut},
        {row + row + row + row, cut},
        {"　一\n二\n三\n四", ""},
        {"　一\n二\n三\n四\n五", more},
        {"　一\n" + row + row + "\n三", ""},
        {"　一\n" + row + row + "二二\n三", more},
        {"　一\n\n二", ""},  // the window draws no empty row
        // A row of 32 cells, as the page was once thought to hold, is cut as soon as
        // it wraps onto the fourth row.
        {"緹菈「一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十\n" + row + "\n" +
             twenty,
         ""},
        {"緹菈「一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十\n" + row + "\n" + row,
         cut},
        {"　一二ab", "a half-width character"},
        {"　一\n。二", "a row of the window starts with a closing mark"},
        {row + "。", "a row of the window starts with a closing mark"},
        {row + "頭", "a row of the window holds a lone character"},
        {row + "頭。", "a row of the window holds a lone character"},
        {row + "石頭", ""},
        {"　", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(story::LineProblem(ui::Utf8ToBig5(c.text)), c.problem) << c.text;
}

TEST_F(StoryTest, EveryLineFollowsTheLineFormatAndFitsThePage) {
    const std::string open = B5("「"), thought = B5("『"), blank = B5("　");
    int lines = 0;
    for (const story::Scene& sc : story::Scenes()) {
        if (sc.file != "DayStart.txt") continue;
        for (const story::Step& st : sc.steps) {
            if (st.kind != story::StepKind::Line) continue;
            ++lines;
            const std::size_t tag = std::min(st.text.find(open), st.text.find(thought));
            const bool tagged = tag != std::string::npos && tag > 0 && tag % 2 == 0;
            EXPECT_TRUE(tagged || st.text.rfind(blank, 0) == 0)
                << sc.key << ": " << ui::Big5ToUtf8(st.text);
            EXPECT_EQ(story::LineProblem(st.text), "") << sc.key << ": " << ui::Big5ToUtf8(st.text);
            DbTxtForm2->SetText(st.text);
            DbTxtForm2->Tick();
            EXPECT_FALSE(DbTxtForm2->TestState(kMsgPageFull))
                << sc.key << ": " << ui::Big5ToUtf8(st.text);
        }
    }
    EXPECT_EQ(lines, 34 + 13 + 119 - 13);  // the visit's 13 lines are shared
}

TEST_F(StoryTest, AMissingSceneShowsNothingAndIsAccountedFor) {
    EXPECT_FALSE(story::PlayScene("EvNothing", "none"));
    EXPECT_EQ(Lines(), 0);
    const std::vector<std::string> faults = story::Unaccounted("DayStart.txt");
    ASSERT_FALSE(faults.empty());
    EXPECT_EQ(faults.back(), "no scene EvNothing:none");
    story::ResetPlays();
    EXPECT_EQ(story::Unaccounted("NoSuchFile.txt"), std::vector<std::string>{});
}

TEST_F(StoryTest, ARecordLeftUnplayedIsNamedWithItsPlace) {
    test::EventResponders player(headless.Backend());
    // The morning played but stopped after its first line by a skip.
    EXPECT_FALSE(story::PlayScene("EvPrologue", "morning", [](int) { return true; }));
    const std::vector<std::string> faults = story::Unaccounted("DayStart.txt");
    const auto has = [&](const std::string& f) {
        return std::find(faults.begin(), faults.end(), f) != faults.end();
    };
    const auto at = [](const char* scene, std::size_t step) {
        const story::Scene* s = story::FindScene("EvPrologue", scene);
        return "DayStart.txt:" + std::to_string(step == 99 ? s->line : s->steps[step].line);
    };
    EXPECT_TRUE(has(at("card", 99) + ": EvPrologue:card never played"));
    EXPECT_FALSE(has(at("morning", 99) + ": EvPrologue:morning never played"));
    // voice 333 and 黑皮's line were played, face 26 after them was not.
    EXPECT_FALSE(has(at("morning", 4) + ": a record of EvPrologue:morning never played"));
    EXPECT_TRUE(has(at("morning", 5) + ": a record of EvPrologue:morning never played"));
    EXPECT_EQ(at("morning", 5), "DayStart.txt:84");
}

// ---- the prologue

TEST_F(StoryTest, AFirstGamePlaysThePrologueWithoutCardOrFarewell) {
    test::EventResponders player(headless.Backend());
    ev->m_ImgClick();  // a click does not skip on a first play
    EvPrologue();
    EXPECT_EQ(Speakers(), (Counts{{"緹菈", 15}, {"黑皮", 5}, {"芙蘿蕾", 7}}));
    EXPECT_TRUE(ev->TestFlg(flag::FloraeFirstVisit));
    EXPECT_TRUE(ev->TestFlg(flag::PrologueSeen));
    EXPECT_EQ(GameFlow->Place, place::ShopInside);
    EXPECT_EQ(GameHour(), 9);
    EXPECT_EQ(GameDay(), 0);
    EXPECT_EQ(transcript->Texts("line").front(),
              "緹菈『這座小鎮在王國的西邊，四周是森林、\n田野和山丘。");
}

TEST_F(StoryTest, AfterAnEndingTheCardAndTheFarewellComeFirst) {
    test::EventResponders player(headless.Backend());
    ev->SetFlg(flag::EndingGoodwillSeen, true);
    EvPrologue();
    EXPECT_EQ(Lines(), 34);
    EXPECT_EQ(Speakers(),
              (Counts{{"緹菈", 18}, {"黑皮", 5}, {"芙蘿蕾", 7}, {"緹菈的母親", 3}, {"", 1}}));
    EXPECT_EQ(transcript->Texts("line").front(), "　露米亞藥坊");
}

TEST_F(StoryTest, ALaterGameSkipsAfterTheLineWhenTheStageWasClicked) {
    // The skip is tested after the narration, the dream's last line and the morning but
    // its last line; lines counted from the narration's first.
    struct Case {
        int clickAfter;  // the line shown when the player clicks the stage
        int shown;       // lines shown in all
    };
    const Case cases[] = {{1, 1}, {5, 7}, {11, 11}, {14, 27}};
    int clickAfter = -1;
    headless.Backend().AddResponder([&] {
        if (Lines() == clickAfter && GameFlow->PrologueSkipGuard) ev->m_ImgClick();
        return false;
    });
    for (const Case& c : cases) {
        clickAfter = c.clickAfter;
        NewGame(0, 8, place::ShopInside);
        ev->SetFlg(flag::PrologueSeen, true);
        test::EventResponders player(headless.Backend());
        EvPrologue();
        EXPECT_EQ(Lines(), c.shown) << c.clickAfter;
        EXPECT_TRUE(ev->TestFlg(flag::FloraeFirstVisit));
        EXPECT_EQ(GameFlow->Place, place::ShopInside);
        EXPECT_EQ(GameHour(), 9) << c.clickAfter;
    }
}

// ---- the day-start table

TEST_F(StoryTest, TheFirstMorningVisitRunsOnlyUnderForcedConditions) {
    test::EventResponders player(headless.Backend());
    EXPECT_FALSE(EvDayStart000());
    EXPECT_EQ(Lines(), 0);
    ev->ConditionOverride = 1;
    ev->SetFlg(flag::FloraeFirstVisit, true);
    EXPECT_TRUE(EvDayStart000());
    ev->ConditionOverride = 0;
    EXPECT_EQ(Speakers(), (Counts{{"緹菈", 5}, {"黑皮", 1}, {"芙蘿蕾", 7}}));
    EXPECT_TRUE(ev->TestFlg(flag::FloraeFirstVisit));
    EXPECT_EQ(DayStartEvents[0], &EvDayStart000);
    EXPECT_EQ(DayStartEvents[3], &EvDayStart003);
    EXPECT_EQ(DayStartEvents[4], nullptr);
}

TEST_F(StoryTest, TheIllnessFiresOnlyInItsWindowsWithTheirChances) {
    struct Case {
        int day;
        int chance;  // 0: no draw at all
    };
    const Case cases[] = {{23, 0},  {24, 20}, {28, 20}, {29, 0},  {30, 30}, {33, 30},
                          {34, 0},  {35, 0},  {36, 20}, {39, 20}, {40, 0},  {41, 0},
                          {42, 90}, {45, 90}, {46, 0},  {100, 0}};
    ev->SetFlg(flag::RenetteMet, true);
    ev->SetFlg(flag::CocotteMet, true);
    ev->SetFlg(flag::HeipiIllnessDone,
               true);  // the scene itself is not wanted here: the first test fails
    for (const Case& c : cases) {
        SetGameDay(c.day);
        ui::Srand(7);
        EXPECT_FALSE(EvDayStart001());
        EXPECT_EQ(ui::RandState(), 7u);
    }
    ev->SetFlg(flag::HeipiIllnessDone, false);
    ev->SetFlg(flag::NeverSet, true);  // a no-op: flag 0 is never set
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        for (const Case& c : cases) {
            if (c.chance == 0) {
                SetGameDay(c.day);
                ui::Srand(seed);
                EXPECT_FALSE(EvDayStart001()) << c.day;
                EXPECT_EQ(ui::RandState(), seed) << c.day;
                continue;
            }
            ui::Srand(seed);
            const bool expected = c.chance >= ui::Rand() % 100 + 1;
            if (expected) continue;  // the firing cases are played below
            SetGameDay(c.day);
            ui::Srand(seed);
            EXPECT_FALSE(EvDayStart001()) << c.day << " seed " << seed;
        }
    }
    // Without both meetings, never.
    ev->ConditionOverride = 0;
    SetGameDay(42);
    ev->SetFlg(flag::CocotteMet, false);
    EXPECT_FALSE(EvDayStart001());
    EXPECT_EQ(Lines(), 0);
}

class IllnessTest : public StoryTest, public ::testing::WithParamInterface<int> {};

TEST_P(IllnessTest, EachChoicePlaysItsLinesAndEndsAtHomeTheNextMorning) {
    const int choice = GetParam();
    const Counts both{{"黑皮", 4 + 7},
                      {"緹菈", 6 + 5 + 10 + 5},
                      {"蕾妮特", 13},
                      {"可可特", 2},
                      {"蕾妮特的父親", 2}};
    Counts want = both;
    if (choice == 0) {
        want["蕾妮特"] += 19, want["緹菈"] += 12, want["可可特"] += 3, want["黑皮"] += 2;
        want["蕾妮特的父親"] += 2;
    } else {
        want["蕾妮特的父親"] += 12, want["緹菈"] += 10, want["蕾妮特"] += 4, want["可可特"] += 1;
    }
    // Day 42 at 10:00 in the shop, both met, a draw that passes the 90 % roll; home at
    // 09:00 the next morning.
    Play({.name = choice == 0 ? "EvDayStart001 with 蕾妮特" : "EvDayStart001 with her father",
          .event = EvDayStart001,
          .day = 42,
          .hour = 10,
          .place = place::ShopInside,
          .flags = {flag::RenetteMet, flag::CocotteMet},
          .draws = {90},
          .answers = {choice},
          .speakers = want,
          .changed = {flag::HeipiIllnessDone},
          .hours = 23});
    EXPECT_EQ(Lines(), choice == 0 ? 10 + 5 + 27 + 38 + 12 : 10 + 5 + 27 + 27 + 12);
    EXPECT_EQ(transcript->Texts("choice"),
              std::vector<std::string>{"『直接讓蕾妮特診治。 / 『讓蕾妮特的父親診治。"});
    // Once played, never again.
    transcript->Clear();
    SetGameDay(44);
    test::EventResponders player(headless.Backend());
    EXPECT_FALSE(EvDayStart001());
}

INSTANTIATE_TEST_SUITE_P(Choices, IllnessTest, ::testing::Values(0, 1));

TEST_F(StoryTest, ALostCommissionIsMarkedOnTheDayAfterItsLimitOnly) {
    struct Case {
        bool (*event)();
        int mark, offset, taken, done;
    };
    const Case cases[] = {{&EvDayStart002, mark::VolcanoNotice, 19, flag::VolcanoCommission,
                           flag::VolcanoCommissionDone},
                          {&EvDayStart003, mark::LovePotionNotice, 7, flag::LovePotionCommission,
                           flag::LovePotionCommissionDone}};
    for (const Case& c : cases) {
        ev->NewGameReset();
        DayMarks[c.mark] = 10;
        ev->SetFlg(c.taken, true);
        for (int day = 10; day < 10 + c.offset + 3; ++day) {
            SetGameDay(day);
            DayMarks[mark::CommissionExpired] = 0;
            EXPECT_EQ(c.event(), day == 10 + c.offset) << c.mark << " day " << day;
            EXPECT_EQ(DayMarks[mark::CommissionExpired], day == 10 + c.offset ? day : 0);
        }
        SetGameDay(10 + c.offset);
        ev->SetFlg(c.done, true);
        EXPECT_FALSE(c.event());
        ev->SetFlg(c.done, false);
        ev->SetFlg(c.taken, false);
        EXPECT_FALSE(c.event());
    }
    EXPECT_EQ(Lines(), 0);
}

// ---- all of it

TEST_F(StoryTest, EveryRecordIsPlayedByAnEventOrBranch) {
    // A first game's prologue, one after an ending, and later games skipping it in the
    // narration and upstairs.
    int clickAfter = -1;
    headless.Backend().AddResponder([&] {
        if (Lines() == clickAfter && GameFlow->PrologueSkipGuard) ev->m_ImgClick();
        return false;
    });
    test::EventResponders player(headless.Backend());
    EvPrologue();
    ev->SetFlg(flag::EndingFloraeSeen, true);
    EvPrologue();
    ev->SetFlg(flag::EndingFloraeSeen, false);
    for (int click : {1, 11}) {
        ev->SetFlg(flag::PrologueSeen, true);
        transcript->Clear();
        clickAfter = click;
        EvPrologue();
    }
    clickAfter = -1;
    // The override holds every condition.
    EXPECT_TRUE(Forced(EvDayStart000));
    for (int choice : {0, 1}) {
        player.answers = {choice};
        EXPECT_TRUE(Forced(EvDayStart001));
    }
    EXPECT_TRUE(Forced(EvDayStart002));
    EXPECT_TRUE(Forced(EvDayStart003));
    ExpectAllPlayed("DayStart.txt");
}

}  // namespace
