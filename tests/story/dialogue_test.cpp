// The story's data and its player: every text of the story read and checked, and the
// records of an event body played on the real event server.
#include "story/Dialogue.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/Big5.h"
#include "shop/GameState.h"
#include "story/Register.h"
#include "tests/story/QuotedTexts.h"
#include "tests/support/StoryFixture.h"
#include "town/Srcdbtxtform21.h"

namespace {

// Bodies of a test's own, added to the story's scenes once.
constexpr char kBodies[] = R"(
[TestEv:main]
begin
line 緹菈「開始
choice
option left 『往左。
option right 『往右。
line 緹菈「結束
ifset HotSpringFound found
ifclear HotSpringFound notFound
play TestShared:steps
end

[TestEv:left]
line 緹菈「左邊

[TestEv:right]
line 緹菈「右邊
line 緹菈「還是右邊

[TestEv:found]
line 　找到了。

[TestEv:notFound]
line 　沒找到。

[TestShared:steps]
set FloraeUnwellToday
unset FlowerbedFirstVisit
var FlowerGiftCount 5
addvar FlowerGiftCount -2
mark FeverBegan
unmark CommissionExpired
give FloraeFlowers 4
take FloraeFlowers 1
money 300
reputation 2
time 2
call EndingPicture
)";

class DialogueTest : public test::StoryTest {
protected:
    void SetUp() override {
        test::StoryTest::SetUp();
        static const bool added = [] {
            std::vector<std::string> errors;
            EXPECT_TRUE(story::ParseDialogue("Test.txt", kBodies, story::Scenes(), errors));
            for (const std::string& e : errors) ADD_FAILURE() << e;
            return true;
        }();
        (void)added;
        story::ResetPlays();
    }
};

TEST(StoryData, EveryFileReadsWithoutAnErrorAndEveryScenePlayedExists) {
    for (const std::string& e : story::DialogueErrors()) ADD_FAILURE() << e;
    EXPECT_EQ(story::MissingScenes(story::Scenes()), std::vector<std::string>{});
    EXPECT_EQ(story::UnendedEvents(story::Scenes()), std::vector<std::string>{});
}

// The mark after an ellipsis or a dash that ends a sentence: none, or ？ or ！ (！？ for
// surprise), where `at` is the byte after the ellipsis or dash; "" when it is right.
std::string MarkAfterTrail(const std::string& u, std::size_t at) {
    static const std::string closing[] = {"。", "，", "、", "？", "！", "」",
                                          "』", "～", "：", "；", "）"};
    std::string marks;
    for (bool more = true; more && at < u.size();) {
        more = false;
        for (const std::string& m : closing)
            if (u.compare(at, m.size(), m) == 0) {
                marks += m;
                at += m.size();
                more = true;
                break;
            }
    }
    return marks.empty() || marks == "？" || marks == "！" || marks == "！？" ? "" : marks;
}

// Whether each break of a line stands after a mark: a writer breaks after a comma or a
// sentence, not in mid-phrase. A notice may set an address on a row of its own.
bool BreaksAfterMarks(const std::string& u) {
    const std::string after[] = {"，", "。", "！", "？", "…",  "～", "」",
                                 "』", "、", "—",  "：", "；", "）"};
    for (std::size_t i = u.find("\n"); i != std::string::npos; i = u.find("\n", i + 1)) {
        bool marked = false;
        for (const std::string& m : after)
            marked = marked || (i >= m.size() && u.compare(i - m.size(), m.size(), m) == 0);
        const std::size_t rowStart = u.rfind('\n', i - 1);
        const bool address =
            u.compare(rowStart == std::string::npos ? 0 : rowStart + 1, 9, "ｗｗｗ") == 0 ||
            u.compare(i + 1, 9, "ｗｗｗ") == 0;
        if (!marked && !address) return false;
    }
    return true;
}

// The written rules of story/text/STYLE.md that a reader can check: each sentence
// ends with its mark (but titles and a closing quote), only ？ or ！ follows an
// ellipsis or a dash, a line breaks after a mark, the dash is no box-drawing line, and
// each thing keeps its one name. The texts quoted word for word keep their own marks.
TEST(StoryData, EveryLineKeepsTheHouseStyle) {
    const std::string marks[] = {"。", "！", "？", "…", "～", "—", "』", "　"};
    const std::string never[] = {"──",     "魔法大賽", "魔法比賽", "選美",  "高等科", "初等科",
                                 "暗魔石", "八音盒",   "拼命",     "晒",    "麵包店", "、、",
                                 "初級班", "連續劇",   "的說。",   "的說……"};
    const std::string titleCard = "　露米亞藥坊";  // the prologue's card: a name
    const auto endsWith = [](const std::string& s, const std::string& end) {
        return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
    };
    int lines = 0;
    for (const story::Scene& sc : story::Scenes()) {
        if (sc.file == "Test.txt") continue;
        for (const story::Step& st : sc.steps) {
            if (st.kind != story::StepKind::Line && st.kind != story::StepKind::Option) continue;
            ++lines;
            const std::string u = ui::Big5ToUtf8(st.text);
            const std::string at = sc.file + ":" + std::to_string(st.line) + ": " + u;
            if (test::IsQuotedText(sc.key, u)) continue;
            for (const std::string& w : never) EXPECT_EQ(u.find(w), std::string::npos) << at;
            for (const char* trail : {"……", "——"})
                for (std::size_t i = u.find(trail); i != std::string::npos;
                     i = u.find(trail, i + 1)) {
                    std::size_t end = i;
                    while (u.compare(end, 3, "…") == 0 || u.compare(end, 3, "—") == 0) end += 3;
                    EXPECT_EQ(MarkAfterTrail(u, end), "") << at << " puts a mark after " << trail;
                    i = end - 1;
                }
            EXPECT_TRUE(BreaksAfterMarks(u)) << at << " breaks in mid-phrase";
            // Each contest has its host: 司會 the magic contest's, 司儀 the beauty contest's.
            if (sc.key.rfind("EvMove005", 0) == 0) {
                EXPECT_NE(u.rfind("司儀", 0), 0u) << at;
            }
            // 使魔 is 黑皮's kind by another name; 使魔法 would be a verb.
            for (std::size_t i = u.find("使魔"); i != std::string::npos; i = u.find("使魔", i + 1))
                EXPECT_EQ(u.compare(i, 9, "使魔法"), 0) << at;
            // A place's title: bare text of words alone.
            bool caption = st.kind == story::StepKind::Line && u.rfind("　", 0) != 0;
            for (const char* m : {"「", "『", "，", "。", "！", "？", "…", "、"})
                caption = caption && u.find(m) == std::string::npos;
            bool marked = caption || u == titleCard;
            for (const std::string& m : marks) marked = marked || endsWith(u, m);
            EXPECT_TRUE(marked) << at << " ends without its mark";
        }
    }
    EXPECT_GT(lines, 4000);
}

TEST(StoryData, AScenePlayedThatNoFileHoldsIsNamedWithItsPlace) {
    std::vector<story::Scene> scenes;
    std::vector<std::string> errors;
    ASSERT_TRUE(story::ParseDialogue("t.txt", "[Ev:main]\nplay gone\nifset PrologueSeen Other:x\n",
                                     scenes, errors));
    EXPECT_EQ(story::MissingScenes(scenes),
              (std::vector<std::string>{"t.txt:2: no scene Ev:gone", "t.txt:3: no scene Other:x"}));
}

// An event body that opens an event must close it, itself or through a scene it plays;
// scenes other than a body (pieces the code plays) are left alone.
TEST(StoryData, AnEventBodyThatNeverEndsItsEventIsNamedWithItsPlace) {
    std::vector<story::Scene> scenes;
    std::vector<std::string> errors;
    ASSERT_TRUE(story::ParseDialogue("t.txt",
                                     "[Open:main]\nbegin\nline 緹菈「開始\n"
                                     "[Closed:main]\nbegin voice 346\nend\n"
                                     "[Played:main]\nbegin\nifset PrologueSeen later\n"
                                     "[Played:later]\nplay Played:last\n"
                                     "[Played:last]\nend stopmusic 163\n"
                                     "[Loop:main]\nbegin\nplay again\n"
                                     "[Loop:again]\nplay Loop:main\n"
                                     "[Piece:begin]\nbegin\n",
                                     scenes, errors));
    EXPECT_EQ(story::UnendedEvents(scenes),
              (std::vector<std::string>{"t.txt:2: Open:main begins an event and never ends it",
                                        "t.txt:15: Loop:main begins an event and never ends it"}));
}

TEST(StoryData, TheRegisterNamesEachNumberOnce) {
    EXPECT_EQ(story::RegisterNumber(story::RegisterKind::Flag, "PrologueSeen"), flag::PrologueSeen);
    EXPECT_EQ(story::RegisterNumber(story::RegisterKind::Variable, "FlowerGiftCount"),
              var::FlowerGiftCount);
    EXPECT_EQ(story::RegisterNumber(story::RegisterKind::DayMark, "FeverBegan"), mark::FeverBegan);
    EXPECT_EQ(story::RegisterNumber(story::RegisterKind::Flag, "FlowerGiftCount"), -1);
    EXPECT_EQ(story::RegisterNumber(story::RegisterKind::Place, "ForestSpring"),
              place::ForestSpring);
    EXPECT_EQ(story::RegisterNumber(story::RegisterKind::Item, "CurePotion"), item::CurePotion);
    EXPECT_EQ(story::RegisterNumber(story::RegisterKind::Track, "TownMusic"), track::TownMusic);
    std::vector<std::pair<int, int>> seen;  // (kind, number)
#define FLAG(n, v) seen.emplace_back(0, v);
#define VAR(n, v) seen.emplace_back(1, v);
#define MARK(n, v) seen.emplace_back(2, v);
#define PLACE(n, v) seen.emplace_back(3, v);
#define ITEM(n, v) seen.emplace_back(4, v);
#define TRACK(n, v) seen.emplace_back(5, v);
#include "story/Register.def"
    for (std::size_t i = 0; i < seen.size(); ++i)
        for (std::size_t j = i + 1; j < seen.size(); ++j)
            EXPECT_NE(seen[i], seen[j]) << "number " << seen[i].second << " is named twice";
}

TEST(StoryData, SpeakersAreReadFromTheirTags) {
    EXPECT_EQ(story::SpeakerTag(B5("芙蘿蕾的母親「請進")), B5("芙蘿蕾的母親"));
    EXPECT_EQ(story::SpeakerTag(B5("緹菈『好累")), B5("緹菈"));
    EXPECT_EQ(story::SpeakerTag(B5("　門上掛著「本日公休」的牌子")), "");
    EXPECT_EQ(story::SpeakerTag(B5("可是，「那個」是什麼")), "");
    EXPECT_TRUE(story::KnownSpeaker(B5("？？？？")));
    EXPECT_FALSE(story::KnownSpeaker(B5("路人")));
}

TEST_F(DialogueTest, EveryLineOfTheStoryFitsOnePageOfTheWindow) {
    int lines = 0;
    for (const story::Scene& sc : story::Scenes())
        for (const story::Step& st : sc.steps) {
            if (st.kind != story::StepKind::Line) continue;
            ++lines;
            DbTxtForm2->SetText(st.text);
            DbTxtForm2->Tick();
            EXPECT_FALSE(DbTxtForm2->TestState(kMsgPageFull))
                << sc.file << ":" << st.line << ": " << ui::Big5ToUtf8(st.text);
        }
    EXPECT_GT(lines, 0);
}

// The loader's page check and the window agree: a line the check passes is drawn
// whole, and one it finds cut fills the page and leaves text undrawn.
TEST_F(DialogueTest, ThePageCheckCutsWhereTheWindowCuts) {
    std::mt19937 random(51);
    int cutLines = 0, wholeLines = 0;
    for (int n = 0; n < 400; ++n) {
        std::string text;
        const int textLines = 1 + static_cast<int>(random() % 5);
        for (int l = 0; l < textLines; ++l) {
            int cells = 1 + static_cast<int>(random() % 50);
            if (cells > 23 && cells % 23 == 1) ++cells;  // no lone letter on a row
            if (l > 0) text += "\n";
            for (int c = 0; c < cells; ++c) text += B5("花");
        }
        const std::string problem = story::LineProblem(text);
        const bool cut = problem.find("cuts the line") != std::string::npos;
        EXPECT_TRUE(problem.empty() || cut) << problem;
        DbTxtForm2->SetText(text);
        DbTxtForm2->Tick();
        EXPECT_EQ(DbTxtForm2->TestState(kMsgPageFull), cut) << ui::Big5ToUtf8(text);
        ++(cut ? cutLines : wholeLines);
    }
    EXPECT_GT(cutLines, 50);
    EXPECT_GT(wholeLines, 50);
}

TEST_F(DialogueTest, AChoicePlaysTheChosenSceneAndTheBodyGoesOn) {
    struct Case {
        int answer;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {0, {"緹菈「開始", "緹菈「左邊", "緹菈「結束", "　沒找到。"}},
        {1, {"緹菈「開始", "緹菈「右邊", "緹菈「還是右邊", "緹菈「結束", "　沒找到。"}},
        // Left without an answer (the run stopped while it waited): neither side plays.
        {test::EventResponders::kNoAnswer, {"緹菈「開始", "緹菈「結束", "　沒找到。"}},
    };
    for (const Case& c : cases) {
        transcript->Clear();
        test::EventResponders player(headless.Backend());
        player.answers = {c.answer};
        EXPECT_TRUE(story::RunEvent("TestEv"));
        EXPECT_EQ(transcript->Texts("line"), c.lines) << c.answer;
        EXPECT_EQ(story::LastChoice(), c.answer);
    }
    ev->SetFlg(flag::HotSpringFound, true);
    transcript->Clear();
    test::EventResponders player(headless.Backend());
    player.answers = {0};
    EXPECT_TRUE(story::RunEvent("TestEv"));
    EXPECT_EQ(transcript->Texts("line").back(), "　找到了。");
    EXPECT_EQ(story::Unaccounted("Test.txt"), std::vector<std::string>{});
}

TEST_F(DialogueTest, StateRecordsChangeWhatTheirNamesSay) {
    ev->SetFlg(flag::FlowerbedFirstVisit, true);
    ev->SetDayMark(mark::CommissionExpired);
    ev->SetFlg(flag::RenetteCrisis, true);
    SetGameDay(30);
    SetGameHour(10);
    SetMoney(1000);
    SetItemStock(item::FloraeFlowers, 0);
    const int reputation = GameReputation();
    ev->EventBegin();
    EXPECT_TRUE(story::PlayScene("TestShared", "steps"));
    ev->EventEnd();
    EXPECT_TRUE(ev->TestFlg(flag::FloraeUnwellToday));
    EXPECT_FALSE(ev->TestFlg(flag::FlowerbedFirstVisit));
    EXPECT_EQ(ev->EventVariable[var::FlowerGiftCount], 3);
    EXPECT_EQ(DayMarks[mark::FeverBegan], 30);
    EXPECT_EQ(DayMarks[mark::CommissionExpired], 0);
    EXPECT_EQ(ItemStock(item::FloraeFlowers), 3);
    EXPECT_EQ(GameMoney(), 1300);
    EXPECT_EQ(GameReputation(), reputation + 2);
    EXPECT_EQ(GameHour(), 12);
    // The mechanic: 王子's ending mourns 蕾妮特, not saved.
    ASSERT_FALSE(transcript->Texts("picture").empty());
    EXPECT_EQ(transcript->Texts("picture").back().substr(0, 5), "0x329");
}

TEST_F(DialogueTest, AMissingBodyPlaysNothingAndIsNamed) {
    EXPECT_FALSE(story::RunEvent("EvNoSuchEvent"));
    EXPECT_EQ(Lines(), 0);
    const std::vector<std::string> faults = story::Unaccounted("Test.txt");
    ASSERT_FALSE(faults.empty());
    EXPECT_EQ(faults.back(), "no scene EvNoSuchEvent:main");
}

}  // namespace
