// The endings table played headless through the real message window with the
// transcript: which ending the year earns, each ending's lines, pictures and flags, the
// final crisis before it, and every record of the endings' dialogue data.
#include "story/Endings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Big5.h"
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

// The year as the walk finds it at 09:00 of the last day.
struct Year {
    std::vector<int> flags;  // route flags, FloraeDied, RenetteCrisis, RenetteSaved, an ending seen
    int money = 0;
    int reputation = 0;
    bool recipe19 = false;  // 緹菈軟糖's recipe known
    bool item98 = false;    // 水精靈石 held
};

class EndingTest : public test::StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        Start(Year{});
    }
    void Start(const Year& y) {
        InitGameState();  // no recipe known, nothing held (a key item stays otherwise)
        NewGame(287, 9, place::ShopInside);
        for (int f = flag::EndingFloraeSeen; f <= flag::EndingCocotteSeen; ++f)
            ev->SetFlg(f, false);
        for (int f : y.flags) ev->SetFlg(f, true);
        SetMoney(y.money);
        SetReputation(y.reputation);
        if (y.recipe19) UnlockItem(item::TiraCandy);
        if (y.item98) SetItemStock(item::WaterSpiritStone, 1);
        transcript->Clear();  // what the set-up itself recorded
    }
    // The event pictures shown, by code.
    std::vector<int> Pictures() {
        std::vector<int> out;
        for (const std::string& p : transcript->Texts("picture"))
            if (p.rfind("0x3", 0) == 0) out.push_back(std::stoi(p.substr(2, 3), nullptr, 16));
        return out;
    }
    std::vector<int> SeenFlags() {
        std::vector<int> out;
        for (int f = flag::EndingFloraeSeen; f <= flag::EndingCocotteSeen; ++f)
            if (ev->TestFlg(f)) out.push_back(f);
        return out;
    }
    int Count(const char* kind, const std::string& text) {
        const std::vector<std::string> t = transcript->Texts(kind);
        return static_cast<int>(std::count(t.begin(), t.end(), text));
    }
    // Music asked for (whether or not the game folder holds the track).
    int Tracks(int track) {
        const std::vector<int> music = Music();
        return static_cast<int>(std::count(music.begin(), music.end(), track));
    }
};

constexpr int kDebt = 1000000;

// ---- the data

TEST_F(EndingTest, EveryLineFollowsTheLineFormatAndFitsThePage) {
    const std::string open = B5("「"), thought = B5("『"), blank = B5("　");
    const std::string caption = B5("悲慘的結局　");  // the bad endings' own words
    int lines = 0;
    for (const story::Scene& sc : story::Scenes()) {
        if (sc.file != "Endings.txt") continue;
        for (const story::Step& st : sc.steps) {
            if (st.kind != story::StepKind::Line) continue;
            ++lines;
            const std::string utf8 = ui::Big5ToUtf8(st.text);
            const std::size_t tag = std::min(st.text.find(open), st.text.find(thought));
            const bool tagged = tag != std::string::npos && tag > 0 && tag % 2 == 0;
            EXPECT_TRUE(tagged || st.text.rfind(blank, 0) == 0 || st.text == caption)
                << sc.key << ": " << utf8;
            EXPECT_EQ(story::LineProblem(st.text), "") << sc.key << ": " << utf8;
            DbTxtForm2->SetText(st.text);
            DbTxtForm2->Tick();
            EXPECT_FALSE(DbTxtForm2->TestState(kMsgPageFull)) << sc.key << ": " << utf8;
        }
    }
    EXPECT_EQ(lines, 102 + 12 + 12 + 12 + 12 + 12 + 15 + 1);
    EXPECT_TRUE(story::DialogueErrors().empty());
}

TEST_F(EndingTest, TheTableHoldsTheElevenEndingsInOrder) {
    const EndingProc want[] = {&EvEnding000, &EvEnding001, &EvEnding002, &EvEnding003,
                               &EvEnding004, &EvEnding005, &EvEnding006, &EvEnding007,
                               &EvEnding008, &EvEnding009, &EvEnding010};
    for (std::size_t i = 0; i < std::size(want); ++i) EXPECT_EQ(EndingEvents[i], want[i]) << i;
    EXPECT_EQ(EndingEvents[11], nullptr);
}

// ---- the choice of ending

TEST_F(EndingTest, TheYearChoosesTheEnding) {
    struct Case {
        const char* what;
        Year year;
        int walk;     // what the walk hands the main loop
        int seen;     // the ending-seen flag set, 0 none
        int picture;  // the ending's own event picture
        bool crisis;  // the final crisis played first
    };
    const int rich = kDebt, poor = kDebt - 1;
    const Case cases[] = {
        {"prince without money",
         {{flag::RoutePrince}, 0, 0},
         3,
         flag::EndingPrinceSeen,
         803,
         false},
        {"prince beats every other route",
         {{flag::RoutePrince, flag::RouteFlorae, flag::RouteRenette, flag::RouteCocotte},
          rich,
          100},
         3,
         flag::EndingPrinceSeen,
         803,
         false},
        {"florae", {{flag::RouteFlorae}, rich, 0}, 2, flag::EndingFloraeSeen, 806, false},
        {"florae short", {{flag::RouteFlorae}, poor, 100}, -1, 0, 815, false},
        {"florae and renette: renette's",
         {{flag::RouteFlorae, flag::RouteRenette}, rich, 0},
         4,
         flag::EndingRenetteSeen,
         804,
         false},
        {"own work", {{}, rich, 0}, 1, flag::EndingDebtPaidSeen, 806, false},
        {"own work, whatever the goodwill",
         {{}, rich, 100},
         1,
         flag::EndingDebtPaidSeen,
         806,
         false},
        {"the town's help at 40", {{}, poor, 40}, 1, flag::EndingGoodwillSeen, 806, false},
        {"goodwill 39: bad", {{}, poor, 39}, -1, 0, 814, false},
        {"renette", {{flag::RouteRenette}, rich, 0}, 4, flag::EndingRenetteSeen, 804, false},
        {"renette and cocotte: renette's",
         {{flag::RouteRenette, flag::RouteCocotte}, rich, 0},
         4,
         flag::EndingRenetteSeen,
         804,
         false},
        {"renette short", {{flag::RouteRenette}, poor, 100}, -1, 0, 816, false},
        {"cocotte", {{flag::RouteCocotte}, rich, 0}, 5, flag::EndingCocotteSeen, 805, false},
        {"cocotte and florae: florae's bad",
         {{flag::RouteFlorae, flag::RouteCocotte}, rich, 0},
         -1,
         0,
         815,
         false},
        {"cocotte short", {{flag::RouteCocotte}, 0, 100}, -1, 0, 817, false},
        // The final crisis wants an ending seen, 蕾妮特 saved, 緹菈軟糖's recipe and 水精靈石.
        {"crisis, then own work",
         {{flag::EndingGoodwillSeen, flag::RenetteSaved}, rich, 0, true, true},
         1,
         flag::EndingDebtPaidSeen,
         806,
         true},
        {"crisis, then prince",
         {{flag::EndingFloraeSeen, flag::RoutePrince, flag::RenetteCrisis, flag::RenetteSaved},
          0,
          0,
          true,
          true},
         3,
         flag::EndingPrinceSeen,
         803,
         true},
        {"crisis, then a bad ending",
         {{flag::EndingCocotteSeen, flag::RenetteSaved}, poor, 0, true, true},
         -1,
         0,
         814,
         true},
        {"no crisis in a first game",
         {{flag::RenetteSaved}, rich, 0, true, true},
         1,
         flag::EndingDebtPaidSeen,
         806,
         false},
        {"no crisis unless 蕾妮特 was saved",
         {{flag::EndingGoodwillSeen}, rich, 0, true, true},
         1,
         flag::EndingDebtPaidSeen,
         806,
         false},
        {"no crisis without recipe 19",
         {{flag::EndingGoodwillSeen, flag::RenetteSaved}, rich, 0, false, true},
         1,
         flag::EndingDebtPaidSeen,
         806,
         false},
        {"no crisis without item 98",
         {{flag::EndingGoodwillSeen, flag::RenetteSaved}, rich, 0, true, false},
         1,
         flag::EndingDebtPaidSeen,
         806,
         false},
    };
    test::EventResponders player(headless.Backend());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start(c.year);
        std::vector<int> seen;
        for (int f : c.year.flags)
            if (f >= flag::EndingFloraeSeen && f <= flag::EndingCocotteSeen) seen.push_back(f);
        if (c.seen) seen.push_back(c.seen);
        std::sort(seen.begin(), seen.end());

        EXPECT_EQ(RunEndingEvents(), c.walk);
        EXPECT_EQ(SeenFlags(), seen);
        // The transcript names the slot that ended the year and the number it gave.
        const std::vector<std::string> endings = transcript->Texts("ending");
        ASSERT_FALSE(endings.empty());
        const std::string number = " number " + std::to_string(c.walk == -1 ? 0 : c.walk);
        EXPECT_TRUE(endings.back().ends_with(number)) << endings.back();
        const std::vector<int> pictures = Pictures();
        EXPECT_NE(std::find(pictures.begin(), pictures.end(), c.picture), pictures.end());
        EXPECT_EQ(Count("line", "緹菈「媽媽，請借給我力量……大家，\n請想起幸福的時光！"),
                  c.crisis ? 1 : 0);
        EXPECT_EQ(ItemStock(item::HappinessPotion), c.crisis ? 1 : 0);
        EXPECT_EQ(IsItemUnlocked(item::HappinessPotion), c.crisis);
        EXPECT_EQ(GameHour(), c.crisis ? 16 : 9);
        EXPECT_EQ(Count("line", "悲慘的結局　"), c.walk == -1 ? 1 : 0);
        EXPECT_EQ(Tracks(track::BadEndingMusic), c.walk == -1 ? 1 : 0);
        EXPECT_EQ(Tracks(track::EndingMusic), c.walk == -1 ? 0 : 1);
    }
    EXPECT_EQ(player.choicesAnswered, 0);
}

TEST_F(EndingTest, EachSlotReturnsItsOwnResult) {
    // Straight from the slots, the bad endings' 0 that the walk turns into -1.
    struct Case {
        EndingProc slot;
        Year year;
        int result;
    };
    const Case cases[] = {
        {&EvEnding000, {{flag::EndingGoodwillSeen, flag::RenetteSaved}, 0, 0, true, true}, -1},
        {&EvEnding001, {{flag::RoutePrince}}, 3},
        {&EvEnding002, {{flag::RouteFlorae}, kDebt}, 2},
        {&EvEnding003, {{}, kDebt}, 1},
        {&EvEnding004, {{}, 0, 40}, 1},
        {&EvEnding005, {{flag::RouteRenette}, kDebt}, 4},
        {&EvEnding006, {{flag::RouteCocotte}, kDebt}, 5},
        {&EvEnding007, {{flag::RouteFlorae}}, 0},
        {&EvEnding008, {{flag::RouteRenette}}, 0},
        {&EvEnding009, {{flag::RouteCocotte}}, 0},
        {&EvEnding010, {}, 0},
        // Their conditions failing: nothing shown.
        {&EvEnding001, {{flag::RouteFlorae}}, -1},
        {&EvEnding002, {{flag::RouteFlorae, flag::RoutePrince}, kDebt}, -1},
        {&EvEnding003, {{}, kDebt - 1}, -1},
        {&EvEnding004, {{}, kDebt, 100}, -1},
        {&EvEnding004, {{flag::RouteCocotte}, 0, 100}, -1},
        {&EvEnding006, {{flag::RouteCocotte, flag::RouteRenette}, kDebt}, -1},
        {&EvEnding007, {{flag::RoutePrince}}, -1},
    };
    test::EventResponders player(headless.Backend());
    for (const Case& c : cases) {
        Start(c.year);
        EXPECT_EQ(c.slot(), c.result) << &c - cases;
        if (c.result == -1 && c.slot != &EvEnding000) {
            EXPECT_EQ(Lines(), 0) << &c - cases;
        }
    }
}

TEST_F(EndingTest, TheCrisisWaitsForNineOnTheLastDay) {
    struct Case {
        int day, hour;
    };
    const Year ready{{flag::EndingGoodwillSeen, flag::RenetteSaved}, kDebt, 0, true, true};
    for (const Case& c : {Case{286, 9}, Case{287, 8}, Case{287, 10}, Case{100, 9}}) {
        Start(ready);
        SetGameDay(c.day);
        SetGameHour(c.hour);
        EXPECT_EQ(EvEnding000(), -1);
        EXPECT_EQ(Lines(), 0) << c.day << " " << c.hour;
    }
}

// ---- the scenes

TEST_F(EndingTest, TheGoodEndingsPlayTheirLinesPicturesAndVoices) {
    struct Case {
        Year year;
        EndingProc slot;
        const char* pack;
        Counts speakers;
        int voices;
        std::vector<int> pictures;
        int seen;
        int result;
    };
    const Case cases[] = {
        {{{flag::RoutePrince}},
         &EvEnding001,
         "evend04",
         {{"緹菈", 8}, {"王子", 3}, {"", 1}},
         11,
         {803},
         flag::EndingPrinceSeen,
         3},
        {{{flag::RouteFlorae}, kDebt},
         &EvEnding002,
         "evend03",
         {{"緹菈", 8}, {"芙蘿蕾", 4}},
         12,
         {806, 802},
         flag::EndingFloraeSeen,
         2},
        {{{}, kDebt},
         &EvEnding003,
         "evend01",
         {{"緹菈", 9}, {"黑皮", 3}},
         12,
         {806, 801},
         flag::EndingDebtPaidSeen,
         1},
        {{{}, 0, 40},
         &EvEnding004,
         "evend02",
         {{"緹菈", 9}, {"黑皮", 3}},
         12,
         {806, 801},
         flag::EndingGoodwillSeen,
         1},
        {{{flag::RouteRenette}, kDebt},
         &EvEnding005,
         "evend05",
         {{"緹菈", 9}, {"蕾妮特", 3}},
         12,
         {804},
         flag::EndingRenetteSeen,
         4},
        {{{flag::RouteCocotte}, kDebt},
         &EvEnding006,
         "evend06",
         {{"緹菈", 10}, {"可可特", 4}, {"", 1}},
         14,
         {805},
         flag::EndingCocotteSeen,
         5},
    };
    test::EventResponders player(headless.Backend());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pack);
        Start(c.year);
        EXPECT_EQ(c.slot(), c.result);
        EXPECT_EQ(transcript->Texts("voicepack").front().substr(0, 7), c.pack);
        EXPECT_EQ(Speakers(), c.speakers);
        EXPECT_EQ(static_cast<int>(transcript->Texts("voice").size()), c.voices);
        EXPECT_EQ(Pictures(), c.pictures);
        EXPECT_EQ(SeenFlags(), std::vector<int>{c.seen});
        EXPECT_EQ(transcript->Texts("event").back(), "end -1");  // music off, screens hidden
        EXPECT_EQ(GameHour(), 9);
    }
}

TEST_F(EndingTest, TheShopPicturesComeBetweenTheLinesOfTheHeroinesEndings) {
    // The shop front by day after line 2 (own work) or 3 (the town's help), the
    // ending's picture after line 4.
    struct Case {
        Year year;
        EndingProc slot;
        int shopAfter;
    };
    const Case cases[] = {{{{}, kDebt}, &EvEnding003, 2}, {{{}, 0, 40}, &EvEnding004, 3}};
    test::EventResponders player(headless.Backend());
    for (const Case& c : cases) {
        Start(c.year);
        c.slot();
        int lines = 0;
        std::vector<std::string> order;
        for (const ui::TranscriptEntry& e : transcript->Entries()) {
            if (e.kind == "line") ++lines;
            if (e.kind == "picture") order.push_back(std::to_string(lines) + " " + e.text);
        }
        ASSERT_EQ(order.size(), 3u);
        EXPECT_EQ(order[0].substr(0, 7), "0 0x326");
        EXPECT_EQ(order[1].substr(0, 7), std::to_string(c.shopAfter) + " 0x100");
        EXPECT_EQ(order[2].substr(0, 7), "4 0x321");
    }
}

TEST_F(EndingTest, ThePrincesPictureMournsWhoeverWasLost) {
    struct Case {
        std::vector<int> flags;  // 芙蘿蕾 died, 蕾妮特's crisis, she was saved
        int picture;
        int lines;
    };
    const Case cases[] = {
        {{}, 803, 12},
        {{flag::FloraeDied}, 808, 11},
        {{flag::RenetteCrisis}, 809, 12},
        {{flag::FloraeDied, flag::RenetteCrisis}, 810, 11},
        {{flag::RenetteCrisis, flag::RenetteSaved}, 803, 12},
        {{flag::FloraeDied, flag::RenetteCrisis, flag::RenetteSaved}, 808, 11},
        {{flag::RenetteSaved}, 803, 12},
        {{flag::FloraeDied, flag::RenetteSaved}, 808, 11},
    };
    test::EventResponders player(headless.Backend());
    for (const Case& c : cases) {
        Year y{c.flags};
        y.flags.push_back(flag::RoutePrince);
        Start(y);
        EXPECT_EQ(EvEnding001(), 3);
        EXPECT_EQ(Pictures(), std::vector<int>{c.picture});
        EXPECT_EQ(Lines(), c.lines);
        // The flower shop's line, voice 449, only while 芙蘿蕾 lives.
        EXPECT_EQ(Speakers()["緹菈"], c.lines == 12 ? 8 : 7);
    }
}

TEST_F(EndingTest, TheCrisisPlaysItsSevenHoursAndGivesThePotion) {
    test::EventResponders player(headless.Backend());
    Start(Year{{flag::EndingPrinceSeen, flag::RenetteSaved}, 0, 0, true, true});
    const int money = GameMoney();
    EXPECT_EQ(EvEnding000(), -1);
    EXPECT_EQ(Lines(), 102);
    EXPECT_EQ(Speakers(), (Counts{{"緹菈", 2 + 9 + 5 + 11 + 15 + 4 + 6 + 1},
                                  {"黑皮", 1 + 3 + 3},
                                  {"某男１", 1},
                                  {"某男２", 1},
                                  {"某女１", 2},
                                  {"某女２", 1},
                                  {"某男３", 1},
                                  {"王子", 9},
                                  {"蕾妮特", 12 + 3 + 4 + 1},
                                  {"", 1 + 6}}));
    EXPECT_EQ(GameDay(), 287);
    EXPECT_EQ(GameHour(), 16);
    EXPECT_EQ(GameFlow->Place, place::ShopInside);  // the mixing room hands back to the shop
    EXPECT_TRUE(IsItemUnlocked(item::HappinessPotion));
    EXPECT_EQ(ItemStock(item::HappinessPotion), 1);
    EXPECT_EQ(GameMoney(), money);
    EXPECT_EQ(SeenFlags(), std::vector<int>{flag::EndingPrinceSeen});  // no ending of its own
    EXPECT_TRUE(transcript->Texts("voicepack").empty());
    EXPECT_EQ(transcript->Texts("event"), (std::vector<std::string>{"begin", "end"}));
    EXPECT_EQ(transcript->Texts("place"),
              (std::vector<std::string>{"0", "1", "3", "0", "11", "11"}));
}

// ---- all of it

TEST_F(EndingTest, EveryRecordIsPlayedByAnEndingOrBranch) {
    test::EventResponders player(headless.Backend());
    const std::vector<Year> years = {
        {{flag::EndingGoodwillSeen, flag::RenetteSaved, flag::RoutePrince},
         0,
         0,
         true,
         true},                                   // the crisis, then the prince with 芙蘿蕾
        {{flag::RoutePrince, flag::FloraeDied}},  // the prince after 芙蘿蕾 died
        {{flag::RouteFlorae}, kDebt},
        {{}, kDebt},
        {{}, 0, 40},
        {{flag::RouteRenette}, kDebt},
        {{flag::RouteCocotte}, kDebt},
        {{flag::RouteFlorae}},
        {{flag::RouteRenette}},
        {{flag::RouteCocotte}},
        {},
    };
    for (const Year& y : years) {
        Start(y);
        RunEndingEvents();
    }
    ExpectAllPlayed("Endings.txt");
}

}  // namespace
