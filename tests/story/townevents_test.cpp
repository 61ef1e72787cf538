// The town's everyday events played headless through the real message window with
// the transcript: the peddle refusals, the hot spring, the look command's remarks,
// commissions, notices, fashion remark and picture catalogue, 蕾妮特's gloating, the
// place introductions, the recipe inspirations, the bath and 拉撒魯斯's commission.
// Every branch of every event plays once, and every record of their texts is played.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Big5.h"
#include "platform/Random.h"
#include "platform/Transcript.h"
#include "shop/GameState.h"
#include "story/Dialogue.h"
#include "story/Events.h"
#include "story/Looks.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/RuntimeDraws.h"
#include "tests/support/StoryFixture.h"
#include "town/EvControler.h"
#include "town/EvPictures.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"

namespace {

using Counts = test::StoryTest::Counts;

const char* const kFiles[] = {"Town.txt", "Looks.txt", "Intros.txt", "Inspirations.txt",
                              "Lazarus.txt"};

// The state an event is played in: a new game at `place`, by default on day 10 at
// 12:00 at level 1.
struct State {
    int day = 10, hour = 12, place = 10, level = 1;
    std::vector<int> flags;                  // set before
    std::vector<std::pair<int, int>> marks;  // day mark := day
    std::vector<std::pair<int, int>> items;  // item := stock
    State& On(int d, int h = 12) {
        day = d;
        hour = h;
        return *this;
    }
    State& At(int h) {
        hour = h;
        return *this;
    }
    State& Level(int l) {
        level = l;
        return *this;
    }
    State& Flags(std::vector<int> f) {
        flags = std::move(f);
        return *this;
    }
    State& Mark(int k, int d) {
        marks.emplace_back(k, d);
        return *this;
    }
    State& Item(int item, int n) {
        items.emplace_back(item, n);
        return *this;
    }
};
State In(int place) {
    State s;
    s.place = place;
    return s;
}

// What it leaves: the lines per speaker ("" narration and titles), the voices in
// order, the flags it set or cleared, the marks it set (to today) or cleared (-1),
// items, hours passed and the place at the end.
struct Outcome {
    Counts speakers;
    std::vector<int> voices;
    std::vector<int> flags;  // changed, ascending (pictures-seen flags aside)
    std::vector<std::pair<int, int>> marks;
    std::vector<std::pair<int, int>> items;
    int hours = 0;
    int place = -1;  // -1: where it started
    Outcome& Voices(std::vector<int> v) {
        voices = std::move(v);
        return *this;
    }
    Outcome& Sets(std::vector<int> f) {
        flags = std::move(f);
        return *this;
    }
    Outcome& Mark(int k, int d) {
        marks.emplace_back(k, d);
        return *this;
    }
    Outcome& Item(int item, int n) {
        items.emplace_back(item, n);
        return *this;
    }
    Outcome& Hours(int h) {
        hours = h;
        return *this;
    }
    Outcome& EndsAt(int p) {
        place = p;
        return *this;
    }
};
Outcome Says(Counts c) {
    Outcome o;
    o.speakers = std::move(c);
    return o;
}

struct Row {
    const char* name;
    bool (*event)();
    State setup;
    Outcome out;
};

class TownEventsTest : public test::StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        Start(State{});
    }
    // A new game in the state `s`; the plays are not reset, so one test can account
    // for the records of many events.
    void Start(const State& s) {
        ev->NewGameReset();
        ev->ConditionOverride = 0;
        SetGameDay(s.day);
        SetGameHour(s.hour);
        SetGameLevel(s.level);
        GameFlow->Place = s.place;
        for (int f : s.flags) ev->SetFlg(f, true);
        for (auto [k, day] : s.marks) DayMarks[k] = day;
        for (auto [item, n] : s.items) SetItemStock(item, n);
        transcript->Clear();
    }
    // Plays one row and checks what it leaves.
    void Play(const Row& r) {
        SCOPED_TRACE(r.name);
        Start(r.setup);
        std::vector<bool> before(kEventFlagCount);
        for (int f = 1; f < kEventFlagCount; ++f) before[f] = ev->TestFlg(f);
        const auto marks = DayMarks;
        const int start = GameDay() * 24 + GameHour();
        SeedNextHalfChance(true);  // the meeting's chance
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(r.event());
        EXPECT_EQ(Speakers(), r.out.speakers);
        int lines = 0;
        for (const auto& [who, n] : r.out.speakers) lines += n;
        EXPECT_EQ(player.linesAcknowledged, lines);
        EXPECT_EQ(Voices(), r.out.voices);
        std::vector<int> changed;
        for (int f = 1; f < kEventFlagCount; ++f) {
            if (f >= 32 && f < 96) continue;  // pictures seen, endings seen
            if (ev->TestFlg(f) != before[f]) changed.push_back(f);
        }
        EXPECT_EQ(changed, r.out.flags);
        auto wantMarks = marks;
        for (auto [k, day] : r.out.marks) wantMarks[k] = day < 0 ? 0 : day;
        EXPECT_EQ(DayMarks, wantMarks);
        for (auto [item, n] : r.out.items) EXPECT_EQ(ItemStock(item), n) << "item " << item;
        EXPECT_EQ(GameDay() * 24 + GameHour() - start, r.out.hours);
        EXPECT_EQ(GameFlow->Place, r.out.place < 0 ? r.setup.place : r.out.place);
        EXPECT_EQ(ev->ConditionOverride, 0);
    }
    // Seeds the generator so that the next ChkRandom(50) passes or fails.
    static void SeedNextHalfChance(bool pass) { ui::Srand(test::SeedFor({pass ? 50 : -50})); }

    // One look command's walk: the events whose scenes played, by name.
    std::vector<std::string> Look() {
        story::ResetPlays();
        transcript->Clear();
        test::EventResponders player(headless.Backend());
        RunLookEvents();
        return Played();
    }
};

// Each event under the conditions that let it play, as its description gives it.
const std::vector<Row>& Rows() {
    const Counts one = {{"緹菈", 1}};
    static const std::vector<Row> rows = {
        // ---- peddling and searching
        {"EvPeddle000", EvPeddle000, In(2), Says(one)},
        {"EvPeddle001", EvPeddle001, In(2).At(20), Says(one)},
        {"EvPeddle002", EvPeddle002, In(2).Flags({399}), Says(one)},
        {"EvPeddle003", EvPeddle003, In(6).On(125, 20), Says(one)},
        {"EvPeddle004", EvPeddle004, In(6), Says(one)},
        {"EvPeddle005", EvPeddle005, In(5).At(9), Says(one)},
        {"EvPeddle006", EvPeddle006, In(9), Says({{"緹菈", 5}, {"衛兵", 4}})},
        {"EvPeddle007", EvPeddle007, In(9).On(191).Flags({420}), Says({{"緹菈", 2}, {"衛兵", 1}})},
        {"EvPeddle008", EvPeddle008, In(3).At(19), Says(one)},
        {"EvPeddle009", EvPeddle009, In(7), Says(one)},
        {"EvSearch000", EvSearch000, In(33).On(72),
         Says({{"", 1}, {"緹菈", 2}}).Voices({358, 359}).Sets({138, 410}).EndsAt(42)},
        {"EvTurnStart006", EvTurnStart006, In(10).On(50, 9).Mark(5, 50),
         Says({{"", 4}, {"緹菈", 4}, {"蕾妮特", 2}, {"黑皮", 1}})
             .Voices({340, 341, 342, 343, 344, 345})
             .Mark(5, -1)
             .EndsAt(10)},
        // ---- the look command
        {"EvLook000", EvLook000, In(2), Says(one)},
        {"EvLook001", EvLook001, In(6), Says({{"緹菈", 2}})},
        {"EvLook002", EvLook002, In(4), Says(one)},
        {"EvLook003", EvLook003, In(1), Says(one)},
        {"EvLook004", EvLook004, In(0), Says({{"緹菈", 2}})},
        {"EvLook005", EvLook005, In(9), Says(one)},
        {"EvLook006", EvLook006, In(9).At(19), Says(one)},
        {"EvLook007", EvLook007, In(17), Says({{"緹菈", 2}}).Sets({486})},
        {"EvLook008", EvLook008, In(17).Flags({486}), Says({{"緹菈", 2}})},
        {"EvLook009", EvLook009, In(5), Says(one)},
        {"EvLook010", EvLook010, In(7), Says(one)},
        {"EvLook012", EvLook012, In(3).On(115).Mark(6, 110), Says({{"緹菈", 7}}).Sets({548})},
        {"EvLook013", EvLook013, In(3).On(100).Flags({410}),
         Says({{"緹菈", 11}, {"蕾妮特", 6}}).Sets({549}).Mark(9, 100)},
        {"EvLook014", EvLook014, In(3).On(30), Says({{"緹菈", 2}}).Sets({522})},
        {"EvLook015", EvLook015, In(3).On(50), Says({{"緹菈", 10}}).Sets({523})},
        {"EvLook016", EvLook016, In(3).On(60).Flags({523}),
         Says({{"緹菈", 7}, {"蕾妮特", 2}}).Sets({524})},
        {"EvLook017", EvLook017, In(3).On(96), Says({{"緹菈", 6}}).Sets({525})},
        {"EvLook018", EvLook018, In(3).On(155), Says({{"緹菈", 5}}).Sets({526})},
        {"EvLook019", EvLook019, In(3).On(180), Says({{"緹菈", 6}}).Sets({527})},
        {"EvLook021", EvLook021, In(3).On(0), Says({{"緹菈", 7}}).Sets({541})},
        {"EvLook022", EvLook022, In(3).On(46), Says({{"緹菈", 5}}).Sets({542})},
        {"EvLook023", EvLook023, In(3).On(108), Says({{"緹菈", 9}, {"蕾妮特", 4}}).Sets({543})},
        {"EvLook024", EvLook024, In(3).On(177), Says({{"緹菈", 4}}).Sets({544})},
        {"EvLook025", EvLook025, In(3).On(287), Says({{"緹菈", 4}}).Sets({545})},
        {"EvLook026", EvLook026, In(1).Flags({395}), Says(one)},
        {"EvLook027", EvLook027, In(1).Flags({395, 436}), Says({{"緹菈", 2}})},
        {"EvLook028", EvLook028, In(3), Says(one)},
        // ---- the place introductions, in their places' order
        {"EvMove071", EvMove071, In(0), Says({{"", 1}, {"緹菈", 4}}).Sets({320})},
        {"EvMove061", EvMove061, In(1), Says({{"", 1}, {"緹菈", 2}}).Sets({321})},
        {"EvMove057", EvMove057, In(2), Says({{"", 1}, {"緹菈", 5}}).Sets({322})},
        {"EvMove075", EvMove075, In(3), Says({{"", 1}, {"緹菈", 4}}).Sets({323})},
        {"EvMove060", EvMove060, In(4), Says({{"", 1}, {"緹菈", 8}}).Sets({324})},
        {"EvMove074", EvMove074, In(5), Says({{"", 1}, {"緹菈", 2}}).Sets({325})},
        {"EvMove059", EvMove059, In(6), Says({{"", 1}, {"緹菈", 4}}).Sets({326})},
        {"EvMove076", EvMove076, In(7), Says({{"", 1}, {"緹菈", 4}}).Sets({327})},
        {"EvMove072", EvMove072, In(9), Says({{"", 1}, {"緹菈", 4}}).Sets({329})},
        {"EvMove073", EvMove073, In(17), Says({{"", 1}, {"緹菈", 4}}).Sets({337})},
        {"EvMove062", EvMove062, In(33), Says({{"", 1}, {"緹菈", 1}}).Sets({353})},
        {"EvMove063", EvMove063, In(34), Says({{"", 1}, {"緹菈", 1}}).Sets({354})},
        {"EvMove064", EvMove064, In(35), Says({{"", 1}, {"緹菈", 1}}).Sets({355})},
        {"EvMove065", EvMove065, In(36), Says({{"", 1}, {"緹菈", 1}}).Sets({356})},
        {"EvMove066", EvMove066, In(37), Says({{"", 1}, {"緹菈", 1}}).Sets({357})},
        {"EvMove067", EvMove067, In(38), Says({{"", 1}, {"緹菈", 1}}).Sets({358})},
        {"EvMove068", EvMove068, In(39), Says({{"", 1}, {"緹菈", 2}}).Sets({359})},
        {"EvMove069", EvMove069, In(40), Says({{"", 1}, {"緹菈", 1}}).Sets({360})},
        {"EvMove070", EvMove070, In(41), Says({{"", 1}, {"緹菈", 2}}).Sets({361})},
        // ---- the bath, the forest's honey (also in the night search) and 拉撒魯斯
        {"EvMove187", EvMove187, In(42), Says({})},
        // and the recipe scene's four lines
        {"EvMove168", EvMove168, In(33).On(192).Level(17).Flags({163}),
         Says({{"緹菈", 3 + 2}, {"", 1 + 2}}).Item(93, 255)},
        {"EvMove115", EvMove115, In(35).On(180, 13).Flags({93}),
         Says({{"緹菈", 20}, {"拉撒魯斯", 22}}).Sets({507}).Mark(7, 180)},
        {"EvMove146", EvMove146, In(10).On(189, 10).Mark(7, 180),
         Says({{"緹菈", 4}}).Sets({546}).Hours(1).EndsAt(10)},
        {"EvMove116", EvMove116, In(35).On(189, 17).Mark(7, 180),
         Says({{"緹菈", 2}, {"拉撒魯斯", 3}})},
        {"EvMove117", EvMove117, In(35).On(189, 10).Mark(7, 180).Item(30, 1),
         Says({{"緹菈", 25}, {"拉撒魯斯", 24}}).Sets({509}).Item(30, 1).Item(103, 1)},
        {"EvMove118", EvMove118, In(5).On(287, 17).Mark(7, 180), Says({{"緹菈", 3}}).Sets({510})},
    };
    return rows;
}

// The recipe inspirations: recipe item, level, place.
struct Inspiration {
    const char* name;
    bool (*event)();
    int item, level, place;
};
const Inspiration kInspirations[] = {
    {"EvMove167", EvMove167, 7, 2, 42},   {"EvMove169", EvMove169, 5, 2, 33},
    {"EvMove170", EvMove170, 20, 2, 38},  {"EvMove171", EvMove171, 3, 3, 33},
    {"EvMove172", EvMove172, 53, 4, 5},   {"EvMove173", EvMove173, 32, 4, 33},
    {"EvMove174", EvMove174, 54, 5, 17},  {"EvMove175", EvMove175, 11, 5, 40},
    {"EvMove176", EvMove176, 21, 5, 36},  {"EvMove177", EvMove177, 63, 7, 38},
    {"EvMove178", EvMove178, 45, 8, 34},  {"EvMove179", EvMove179, 9, 8, 41},
    {"EvMove180", EvMove180, 8, 9, 42},   {"EvMove181", EvMove181, 51, 10, 39},
    {"EvMove182", EvMove182, 10, 12, 39}, {"EvMove183", EvMove183, 17, 14, 35},
    {"EvMove184", EvMove184, 58, 16, 34}, {"EvMove185", EvMove185, 57, 18, 38},
    {"EvMove186", EvMove186, 61, 20, 43},
};

// ---- every branch, and every record accounted for

TEST_F(TownEventsTest, EveryEventPlaysItsLinesAndChangesAndEveryRecordIsPlayed) {
    story::ResetPlays();
    for (const Row& r : Rows()) Play(r);
    // The inspirations teach their recipe, at their level and place, with no time.
    for (const Inspiration& i : kInspirations) {
        SCOPED_TRACE(i.name);
        Start(In(i.place).Level(i.level));
        test::EventResponders player(headless.Backend());
        ASSERT_FALSE(IsItemUnlocked(i.item));
        ASSERT_TRUE(i.event());
        EXPECT_TRUE(IsItemUnlocked(i.item));
        EXPECT_EQ(GameHour(), 12);
        EXPECT_EQ(GameFlow->Place, i.place);
    }
    // The bath: healthy again, without a word.
    Start(In(42));
    SetCondition(2);
    ASSERT_TRUE(EvMove187());
    EXPECT_EQ(GameCondition(), 0);
    EXPECT_EQ(Lines(), 0);
    // The catalogue, under the debug window's override, in the night search: its
    // captions before their pictures, the land's in their rain variant.
    Start(State{}.Flags({163}));
    ev->ConditionOverride = 1;
    {
        test::EventResponders player(headless.Backend());
        ASSERT_TRUE(EvLook020());
        EXPECT_EQ(player.linesAcknowledged, 181);
    }
    const std::vector<std::string> lines = transcript->Texts("line");
    ASSERT_EQ(lines.size(), 181u);
    EXPECT_EQ(lines[0], "與可可特接吻");
    EXPECT_EQ(lines[6], "的地圖");
    EXPECT_EQ(lines[18], "黑貓魔法店‧店頭（晝）");
    EXPECT_EQ(lines[18 + 21], "城堡前（晝）");  // the castle gate before the school
    EXPECT_EQ(lines[18 + 54], "背景‧上半身起床");
    EXPECT_EQ(lines[75], "：森林裡（晝）");
    EXPECT_EQ(lines[75 + 8], "；瀑布（晝）");
    EXPECT_EQ(lines[75 + 47], "：大魔法師的家中（雨）婆婆的房間");
    EXPECT_EQ(lines[123], "普通");
    EXPECT_EQ(lines[180], "普通拉撒魯斯");
    for (int i = 0; i < 50; ++i) EXPECT_TRUE(ev->TestFlg(32 + i)) << i;
    int land = 0, rain = 0;
    for (const std::string& p : transcript->Texts("picture")) {
        if (p.rfind("0x2", 0) != 0) continue;
        ++land;
        rain += p.size() > 5 && p.compare(p.size() - 5, 5, "4.bmp") == 0;
    }
    EXPECT_EQ(land, 48);
    EXPECT_EQ(rain, 44);  // 大魔法師的家中 has one member for all four
    for (const char* file : kFiles) ExpectAllPlayed(file);
}

TEST_F(TownEventsTest, TheLinesAreOfTheirFormAndTheNameLinesAreThePlaces) {
    int lines = 0, titles = 0;
    const std::string open = B5("「"), thought = B5("『"), blank = B5("　");
    for (const story::Scene& sc : story::Scenes()) {
        if (std::find(std::begin(kFiles), std::end(kFiles), sc.file) == std::end(kFiles)) continue;
        for (const story::Step& st : sc.steps) {
            if (st.kind != story::StepKind::Line) continue;
            ++lines;
            const std::string tag = story::SpeakerTag(st.text);
            EXPECT_TRUE(!tag.empty() || st.text.rfind(blank, 0) == 0 ||
                        sc.file == std::string("Intros.txt"))
                << sc.key << ": " << ui::Big5ToUtf8(st.text);
            EXPECT_EQ(story::LineProblem(st.text), "") << sc.key;
            // No closing bracket ends a speech or a thought.
            const std::string utf8 = ui::Big5ToUtf8(st.text);
            for (const std::string close : {"」", "』"})
                EXPECT_FALSE(utf8.ends_with(close)) << sc.key << ": " << utf8;
            titles += tag.empty() && st.text.rfind(blank, 0) != 0;
        }
    }
    EXPECT_EQ(lines, 33 + 112 + 71 + 4 + 103);
    EXPECT_EQ(titles, 19);
}

// ---- the look command's edge cases

TEST_F(TownEventsTest, TheFashionRemarkNamesOnlyTheRankedGoods) {
    struct Case {
        int a, b, c;
        const char* line;
    };
    const std::string n3 = ui::Big5ToUtf8(ItemName(3)), n5 = ui::Big5ToUtf8(ItemName(5)),
                      n7 = ui::Big5ToUtf8(ItemName(7));
    const std::string want[] = {
        "緹菈「嗯～…沒什麼特別的消息啊…可惜。",
        "緹菈「現在最流行的是\n『" + n3 + "』噢。",
        "緹菈「最近流行『" + n3 + "』和\n『" + n5 + "』呢。",
        "緹菈「『" + n3 + "』和\n『" + n5 + "』還有\n『" + n7 + "』，是現在的流行噢。",
    };
    EXPECT_EQ(ui::Big5ToUtf8(story::FashionRemarkLine(-1, -1, -1)), want[0]);
    EXPECT_EQ(ui::Big5ToUtf8(story::FashionRemarkLine(3, -1, -1)), want[1]);
    EXPECT_EQ(ui::Big5ToUtf8(story::FashionRemarkLine(3, 5, -1)), want[2]);
    EXPECT_EQ(ui::Big5ToUtf8(story::FashionRemarkLine(3, 5, 7)), want[3]);
    // An id out of the goods' range names nothing, and ends the count there.
    EXPECT_EQ(ui::Big5ToUtf8(story::FashionRemarkLine(3, 200, 7)), want[1]);
    EXPECT_EQ(ui::Big5ToUtf8(story::FashionRemarkLine(-5, 5, 7)), want[0]);
    // Every template with the longest goods names fits the page.
    int longest = 0;
    for (int i = 1; i < 64; ++i)
        if (std::strlen(ItemName(i)) > std::strlen(ItemName(longest))) longest = i;
    EXPECT_EQ(story::LineProblem(story::FashionRemarkLine(longest, longest, longest)), "");
}

TEST_F(TownEventsTest, ThePotionCommissionSaysTheOrdersAreFullAndFailsFirst) {
    test::EventResponders player(headless.Backend());
    Start(In(3).On(96).Flags({410, 549}));
    for (int k = 0; k < 4; ++k) {
        Orders[k] = OrderSlot{};
        Orders[k].Id = 1 + k;
        Orders[k].Deadline = 120;
    }
    EXPECT_FALSE(EvLook013());
    EXPECT_EQ(transcript->Texts("line"), std::vector<std::string>{"無法再接受任何訂單了"});
    EXPECT_FALSE(ev->TestFlg(549) && DayMarks[9] != 0);
}

TEST_F(TownEventsTest, ConditionsFailInTheirOrderAndDrawOnlyWhenReached) {
    test::EventResponders player(headless.Backend());
    struct Case {
        const char* what;
        bool (*event)();
        State s;
    };
    const Case cases[] = {
        {"the rival shop before the runaway, at night", EvPeddle000, In(2).At(20)},
        {"the contest evening on another day", EvPeddle003, In(6).On(124, 20)},
        {"the gate at noon with 420 before day 191", EvPeddle007, In(9).On(190).Flags({420})},
        {"the hot spring before day 72", EvSearch000, In(33).On(71)},
        {"the hot spring in the night search", EvSearch000, In(33).On(80).Flags({163})},
        {"the hot spring found", EvSearch000, In(33).On(80).Flags({410})},
        {"the gloat outside the shop", EvTurnStart006, In(11).On(50, 9).Mark(5, 50)},
        {"the gloat a day late", EvTurnStart006, In(10).On(51, 9).Mark(5, 50)},
        {"the gloat at ten", EvTurnStart006, In(10).On(50, 10).Mark(5, 50)},
        {"the notice past its window", EvLook022, In(3).On(47)},
        {"the confession before the request", EvLook016, In(3).On(60)},
        {"the potion before the hot spring", EvLook013, In(3).On(100)},
        {"the volcano on its 13th day", EvLook012, In(3).On(122).Mark(6, 110)},
        {"an introduction again", EvMove075, In(3).Flags({323})},
        {"an inspiration in the night search", EvMove169, In(33).Level(2).Flags({163})},
        {"an inspiration below its level", EvMove171, In(33).Level(2)},
        {"the honey on day 215", EvMove168, In(33).On(215).Level(17)},
        {"the bath in the night search", EvMove187, In(42).Flags({163})},
        {"the crystal on day M+10", EvMove117, In(35).On(190, 10).Mark(7, 180).Item(30, 1)},
        {"the reminder with a crystal", EvMove116, In(35).On(185, 10).Mark(7, 180).Item(30, 1)},
        {"the recipe on day M+10", EvMove146, In(10).On(190).Mark(7, 180)},
        {"the thought on day M+15", EvMove118, In(5).On(195).Mark(7, 180)},
        {"the thought after the delivery", EvMove118, In(5).On(200).Mark(7, 180).Flags({509})},
    };
    ui::Srand(7);
    const int firstDraw = ui::Rand();
    for (const Case& c : cases) {
        Start(c.s);
        ui::Srand(7);
        EXPECT_FALSE(c.event()) << c.what;
        EXPECT_EQ(ui::Rand(), firstDraw) << c.what;  // nothing drawn
        EXPECT_EQ(Lines(), 0) << c.what;
    }
    EXPECT_FALSE(EvMove000());
    EXPECT_FALSE(EvLook020());  // flag 0 is never set
}

TEST_F(TownEventsTest, TheMeetingDrawsItsChanceBeforeTheEndingFlags) {
    test::EventResponders player(headless.Backend());
    // No ending seen: the chance is drawn all the same, and the meeting fails.
    Start(In(35).On(180, 13));
    SeedNextHalfChance(true);
    const std::uint32_t seeded = ui::RandState();
    EXPECT_FALSE(EvMove115());
    EXPECT_NE(ui::RandState(), seeded);
    // A failed draw fails it with an ending seen.
    Start(In(35).On(180, 13).Flags({88}));
    SeedNextHalfChance(false);
    EXPECT_FALSE(EvMove115());
    // Any one ending seen opens it; once met, never again.
    for (int f = 88; f <= 93; ++f) {
        Start(In(35).On(203, 17).Flags({f}));
        SeedNextHalfChance(true);
        EXPECT_TRUE(EvMove115()) << f;
        EXPECT_EQ(DayMarks[7], 203);
        SeedNextHalfChance(true);
        EXPECT_FALSE(EvMove115()) << f;
    }
    // Outside the afternoon or the window nothing is drawn.
    for (auto [day, hour] : {std::pair{180, 12}, std::pair{180, 18}, std::pair{204, 13}}) {
        Start(In(35).On(day, hour).Flags({88}));
        const std::uint32_t state = ui::RandState();
        EXPECT_FALSE(EvMove115());
        EXPECT_EQ(ui::RandState(), state);
    }
}

TEST_F(TownEventsTest, ThreeLooksAtTheSquareOnDay30ReadTwoNoticesThenTheFashion) {
    Start(In(3).On(30));
    struct Step {
        const char* event;
        int lines, flag;
    };
    for (const Step& s :
         {Step{"EvLook014", 2, 522}, Step{"EvLook022", 5, 542}, Step{"EvLook028", 1, 0}}) {
        EXPECT_EQ(Look(), std::vector<std::string>{s.event});
        EXPECT_EQ(Lines(), s.lines) << s.event;
        if (s.flag) {
            EXPECT_TRUE(ev->TestFlg(s.flag)) << s.event;
        }
    }
    EXPECT_EQ(GameDay(), 30);
    EXPECT_EQ(GameHour(), 12);
    EXPECT_EQ(GameFlow->Place, 3);
}

TEST_F(TownEventsTest, OnDay96TheFullOrdersLineComesBeforeTheNoticeOfTheSameLook) {
    Start(In(3).On(96).Flags({410}));
    for (int k = 0; k < 4; ++k) {
        Orders[k] = OrderSlot{};
        Orders[k].Id = 1 + k;
        Orders[k].Deadline = 120;
    }
    EXPECT_EQ(Look(), std::vector<std::string>{"EvLook017"});
    const std::vector<std::string> lines = transcript->Texts("line");
    ASSERT_EQ(lines.size(), 1u + 6u);
    EXPECT_EQ(lines[0], "無法再接受任何訂單了");
    EXPECT_TRUE(ev->TestFlg(525));
    EXPECT_FALSE(ev->TestFlg(549));
    // A slot free: the potion commission, with 蕾妮特.
    Orders[3] = OrderSlot{};
    EXPECT_EQ(Look(), std::vector<std::string>{"EvLook013"});
    EXPECT_EQ(Lines(), 17);
    EXPECT_TRUE(ev->TestFlg(549));
    EXPECT_EQ(DayMarks[9], 96);
    EXPECT_EQ(GameFlow->Place, 3);
}

}  // namespace
