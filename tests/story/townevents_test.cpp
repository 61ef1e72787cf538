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

using test::EventCase;

class TownEventsTest : public test::StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        Start(EventCase{.day = 10, .hour = 12, .place = place::ShopInside});
    }
    // A new game in the state `s`; the plays are not reset, so one test can account
    // for the records of many events.
    void Start(const EventCase& s) { Stage(s); }
    // Every case at level 1 unless it says otherwise; the meeting's chance holds unless
    // the case gives its own draws.
    void Arrange(const EventCase& c) override {
        SetGameLevel(1);
        if (c.draws.empty()) SeedNextHalfChance(true);
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
const std::vector<test::EventCase>& Rows() {
    const Counts one = {{"緹菈", 1}};
    static const std::vector<test::EventCase> rows = {
        // ---- peddling and searching
        {.name = "EvPeddle000",
         .event = EvPeddle000,
         .day = 10,
         .hour = 12,
         .place = place::RivalShop,
         .speakers = one},
        {.name = "EvPeddle001",
         .event = EvPeddle001,
         .day = 10,
         .hour = 20,
         .place = place::RivalShop,
         .speakers = one},
        {.name = "EvPeddle002",
         .event = EvPeddle002,
         .day = 10,
         .hour = 12,
         .place = place::RivalShop,
         .flags = {flag::RenetteRanAway},
         .speakers = one},
        {.name = "EvPeddle003",
         .event = EvPeddle003,
         .day = 125,
         .hour = 20,
         .place = place::EventGround,
         .speakers = one},
        {.name = "EvPeddle004",
         .event = EvPeddle004,
         .day = 10,
         .hour = 12,
         .place = place::EventGround,
         .speakers = one},
        {.name = "EvPeddle005",
         .event = EvPeddle005,
         .day = 10,
         .hour = 9,
         .place = place::Park,
         .speakers = one},
        {.name = "EvPeddle006",
         .event = EvPeddle006,
         .day = 10,
         .hour = 12,
         .place = place::CastleGate,
         .speakers = {{"緹菈", 5}, {"衛兵", 4}}},
        {.name = "EvPeddle007",
         .event = EvPeddle007,
         .day = 191,
         .hour = 12,
         .place = place::CastleGate,
         .flags = {flag::PalaceInvitation},
         .speakers = {{"緹菈", 2}, {"衛兵", 1}}},
        {.name = "EvPeddle008",
         .event = EvPeddle008,
         .day = 10,
         .hour = 19,
         .place = place::Square,
         .speakers = one},
        {.name = "EvPeddle009",
         .event = EvPeddle009,
         .day = 10,
         .hour = 12,
         .place = place::School,
         .speakers = one},
        {.name = "EvSearch000",
         .event = EvSearch000,
         .day = 72,
         .hour = 12,
         .place = place::Forest,
         .speakers = {{"", 1}, {"緹菈", 2}},
         .voices = {358, 359},
         .changed = {flag::HotSpringOpen, flag::HotSpringFound},
         .placeAfter = place::HotSpring},
        {.name = "EvTurnStart006",
         .event = EvTurnStart006,
         .day = 50,
         .hour = 9,
         .place = place::ShopInside,
         .marks = {{mark::CommissionExpired, 50}},
         .speakers = {{"", 4}, {"緹菈", 4}, {"蕾妮特", 2}, {"黑皮", 1}},
         .voices = {340, 341, 342, 343, 344, 345},
         .marksAfter = {{mark::CommissionExpired, 0}}},
        // ---- the look command
        {.name = "EvLook000",
         .event = EvLook000,
         .day = 10,
         .hour = 12,
         .place = place::RivalShop,
         .speakers = one},
        {.name = "EvLook001",
         .event = EvLook001,
         .day = 10,
         .hour = 12,
         .place = place::EventGround,
         .speakers = {{"緹菈", 2}}},
        {.name = "EvLook002",
         .event = EvLook002,
         .day = 10,
         .hour = 12,
         .place = place::Bakery,
         .speakers = one},
        {.name = "EvLook003",
         .event = EvLook003,
         .day = 10,
         .hour = 12,
         .place = place::FloraeHouse,
         .speakers = one},
        {.name = "EvLook004",
         .event = EvLook004,
         .day = 10,
         .hour = 12,
         .place = place::ShopFront,
         .speakers = {{"緹菈", 2}}},
        {.name = "EvLook005",
         .event = EvLook005,
         .day = 10,
         .hour = 12,
         .place = place::CastleGate,
         .speakers = one},
        {.name = "EvLook006",
         .event = EvLook006,
         .day = 10,
         .hour = 19,
         .place = place::CastleGate,
         .speakers = one},
        {.name = "EvLook007",
         .event = EvLook007,
         .day = 10,
         .hour = 12,
         .place = place::Library,
         .speakers = {{"緹菈", 2}},
         .changed = {flag::LibraryRemarkSeen}},
        {.name = "EvLook008",
         .event = EvLook008,
         .day = 10,
         .hour = 12,
         .place = place::Library,
         .flags = {flag::LibraryRemarkSeen},
         .speakers = {{"緹菈", 2}}},
        {.name = "EvLook009",
         .event = EvLook009,
         .day = 10,
         .hour = 12,
         .place = place::Park,
         .speakers = one},
        {.name = "EvLook010",
         .event = EvLook010,
         .day = 10,
         .hour = 12,
         .place = place::School,
         .speakers = one},
        {.name = "EvLook012",
         .event = EvLook012,
         .day = 115,
         .hour = 12,
         .place = place::Square,
         .marks = {{mark::VolcanoNotice, 110}},
         .speakers = {{"緹菈", 7}},
         .changed = {flag::VolcanoCommission}},
        {.name = "EvLook013",
         .event = EvLook013,
         .day = 100,
         .hour = 12,
         .place = place::Square,
         .flags = {flag::HotSpringFound},
         .speakers = {{"緹菈", 11}, {"蕾妮特", 6}},
         .changed = {flag::LovePotionCommission},
         .marksAfter = {{mark::LovePotionNotice, 100}}},
        {.name = "EvLook014",
         .event = EvLook014,
         .day = 30,
         .hour = 12,
         .place = place::Square,
         .speakers = {{"緹菈", 2}},
         .changed = {flag::NoticeHomepage}},
        {.name = "EvLook015",
         .event = EvLook015,
         .day = 50,
         .hour = 12,
         .place = place::Square,
         .speakers = {{"緹菈", 10}},
         .changed = {flag::NoticeShyWriter}},
        {.name = "EvLook016",
         .event = EvLook016,
         .day = 60,
         .hour = 12,
         .place = place::Square,
         .flags = {flag::NoticeShyWriter},
         .speakers = {{"緹菈", 7}, {"蕾妮特", 2}},
         .changed = {flag::NoticeConfession}},
        {.name = "EvLook017",
         .event = EvLook017,
         .day = 96,
         .hour = 12,
         .place = place::Square,
         .speakers = {{"緹菈", 6}},
         .changed = {flag::NoticeComplaint}},
        {.name = "EvLook018",
         .event = EvLook018,
         .day = 155,
         .hour = 12,
         .place = place::Square,
         .speakers = {{"緹菈", 5}},
         .changed = {flag::NoticeSmallAds}},
        {.name = "EvLook019",
         .event = EvLook019,
         .day = 180,
         .hour = 12,
         .place = place::Square,
         .speakers = {{"緹菈", 6}},
         .changed = {flag::NoticeFan}},
        {.name = "EvLook021",
         .event = EvLook021,
         .day = 0,
         .hour = 12,
         .place = place::Square,
         .speakers = {{"緹菈", 7}},
         .changed = {flag::NoticeBoardIntro}},
        {.name = "EvLook022",
         .event = EvLook022,
         .day = 46,
         .hour = 12,
         .place = place::Square,
         .speakers = {{"緹菈", 5}},
         .changed = {flag::NoticeSpringFestival}},
        {.name = "EvLook023",
         .event = EvLook023,
         .day = 108,
         .hour = 12,
         .place = place::Square,
         .speakers = {{"緹菈", 9}, {"蕾妮特", 4}},
         .changed = {flag::NoticeMagicContest}},
        {.name = "EvLook024",
         .event = EvLook024,
         .day = 177,
         .hour = 12,
         .place = place::Square,
         .speakers = {{"緹菈", 4}},
         .changed = {flag::NoticeBeautyContest}},
        {.name = "EvLook025",
         .event = EvLook025,
         .day = 287,
         .hour = 12,
         .place = place::Square,
         .speakers = {{"緹菈", 4}},
         .changed = {flag::NoticeBakery}},
        {.name = "EvLook026",
         .event = EvLook026,
         .day = 10,
         .hour = 12,
         .place = place::FloraeHouse,
         .flags = {flag::FloraeDied},
         .speakers = one},
        {.name = "EvLook027",
         .event = EvLook027,
         .day = 10,
         .hour = 12,
         .place = place::FloraeHouse,
         .flags = {flag::FloraeDied, flag::EmptyRoomFound},
         .speakers = {{"緹菈", 2}}},
        {.name = "EvLook028",
         .event = EvLook028,
         .day = 10,
         .hour = 12,
         .place = place::Square,
         .speakers = one},
        // ---- the place introductions, in their places' order
        {.name = "EvMove071",
         .event = EvMove071,
         .day = 10,
         .hour = 12,
         .place = place::ShopFront,
         .speakers = {{"", 1}, {"緹菈", 4}},
         .changed = {flag::IntroShop}},
        {.name = "EvMove061",
         .event = EvMove061,
         .day = 10,
         .hour = 12,
         .place = place::FloraeHouse,
         .speakers = {{"", 1}, {"緹菈", 2}},
         .changed = {flag::IntroFloraeHouse}},
        {.name = "EvMove057",
         .event = EvMove057,
         .day = 10,
         .hour = 12,
         .place = place::RivalShop,
         .speakers = {{"", 1}, {"緹菈", 5}},
         .changed = {flag::IntroRivalShop}},
        {.name = "EvMove075",
         .event = EvMove075,
         .day = 10,
         .hour = 12,
         .place = place::Square,
         .speakers = {{"", 1}, {"緹菈", 4}},
         .changed = {flag::IntroSquare}},
        {.name = "EvMove060",
         .event = EvMove060,
         .day = 10,
         .hour = 12,
         .place = place::Bakery,
         .speakers = {{"", 1}, {"緹菈", 8}},
         .changed = {flag::IntroBakery}},
        {.name = "EvMove074",
         .event = EvMove074,
         .day = 10,
         .hour = 12,
         .place = place::Park,
         .speakers = {{"", 1}, {"緹菈", 2}},
         .changed = {flag::IntroPark}},
        {.name = "EvMove059",
         .event = EvMove059,
         .day = 10,
         .hour = 12,
         .place = place::EventGround,
         .speakers = {{"", 1}, {"緹菈", 4}},
         .changed = {flag::IntroEventGround}},
        {.name = "EvMove076",
         .event = EvMove076,
         .day = 10,
         .hour = 12,
         .place = place::School,
         .speakers = {{"", 1}, {"緹菈", 4}},
         .changed = {flag::IntroSchool}},
        {.name = "EvMove072",
         .event = EvMove072,
         .day = 10,
         .hour = 12,
         .place = place::CastleGate,
         .speakers = {{"", 1}, {"緹菈", 4}},
         .changed = {flag::IntroCastle}},
        {.name = "EvMove073",
         .event = EvMove073,
         .day = 10,
         .hour = 12,
         .place = place::Library,
         .speakers = {{"", 1}, {"緹菈", 4}},
         .changed = {flag::IntroLibrary}},
        {.name = "EvMove062",
         .event = EvMove062,
         .day = 10,
         .hour = 12,
         .place = place::Forest,
         .speakers = {{"", 1}, {"緹菈", 1}},
         .changed = {flag::IntroForest}},
        {.name = "EvMove063",
         .event = EvMove063,
         .day = 10,
         .hour = 12,
         .place = place::ForestSpring,
         .speakers = {{"", 1}, {"緹菈", 1}},
         .changed = {flag::IntroForestSpring}},
        {.name = "EvMove064",
         .event = EvMove064,
         .day = 10,
         .hour = 12,
         .place = place::Waterfall,
         .speakers = {{"", 1}, {"緹菈", 1}},
         .changed = {flag::IntroWaterfall}},
        {.name = "EvMove065",
         .event = EvMove065,
         .day = 10,
         .hour = 12,
         .place = place::Cave,
         .speakers = {{"", 1}, {"緹菈", 1}},
         .changed = {flag::IntroCave}},
        {.name = "EvMove066",
         .event = EvMove066,
         .day = 10,
         .hour = 12,
         .place = place::MountainPath,
         .speakers = {{"", 1}, {"緹菈", 1}},
         .changed = {flag::IntroMountainPath}},
        {.name = "EvMove067",
         .event = EvMove067,
         .day = 10,
         .hour = 12,
         .place = place::Crater,
         .speakers = {{"", 1}, {"緹菈", 1}},
         .changed = {flag::IntroCrater}},
        {.name = "EvMove068",
         .event = EvMove068,
         .day = 10,
         .hour = 12,
         .place = place::BigTree,
         .speakers = {{"", 1}, {"緹菈", 2}},
         .changed = {flag::IntroBigTree}},
        {.name = "EvMove069",
         .event = EvMove069,
         .day = 10,
         .hour = 12,
         .place = place::Lake,
         .speakers = {{"", 1}, {"緹菈", 1}},
         .changed = {flag::IntroLake}},
        {.name = "EvMove070",
         .event = EvMove070,
         .day = 10,
         .hour = 12,
         .place = place::Beach,
         .speakers = {{"", 1}, {"緹菈", 2}},
         .changed = {flag::IntroBeach}},
        // ---- the bath, the forest's honey (also in the night search) and 拉撒魯斯
        {.name = "EvMove187", .event = EvMove187, .day = 10, .hour = 12, .place = place::HotSpring},
        // and the recipe scene's four lines
        {.name = "EvMove168",
         .event = EvMove168,
         .day = 192,
         .hour = 12,
         .place = place::Forest,
         .level = 17,
         .flags = {flag::NightSearch},
         .speakers = {{"緹菈", 3 + 2}, {"", 1 + 2}},
         .itemsAfter = {{item::GoldenHoney, 255}}},
        {.name = "EvMove115",
         .event = EvMove115,
         .day = 180,
         .hour = 13,
         .place = place::Waterfall,
         .flags = {flag::EndingCocotteSeen},
         .speakers = {{"緹菈", 20}, {"拉撒魯斯", 22}},
         .changed = {flag::LazarusMet},
         .marksAfter = {{mark::LazarusMeetingDay, 180}}},
        {.name = "EvMove146",
         .event = EvMove146,
         .day = 189,
         .hour = 10,
         .place = place::ShopInside,
         .marks = {{mark::LazarusMeetingDay, 180}},
         .speakers = {{"緹菈", 4}},
         .changed = {flag::GravityRecipeFound},
         .hours = 1},
        {.name = "EvMove116",
         .event = EvMove116,
         .day = 189,
         .hour = 17,
         .place = place::Waterfall,
         .marks = {{mark::LazarusMeetingDay, 180}},
         .speakers = {{"緹菈", 2}, {"拉撒魯斯", 3}}},
        {.name = "EvMove117",
         .event = EvMove117,
         .day = 189,
         .hour = 10,
         .place = place::Waterfall,
         .marks = {{mark::LazarusMeetingDay, 180}},
         .items = {{item::GravityCrystal, 1}},
         .speakers = {{"緹菈", 25}, {"拉撒魯斯", 24}},
         .changed = {flag::LazarusLeft},
         .itemsAfter = {{item::GravityCrystal, 1}, {item::MysteryBox, 1}}},
        {.name = "EvMove118",
         .event = EvMove118,
         .day = 287,
         .hour = 17,
         .place = place::Park,
         .marks = {{mark::LazarusMeetingDay, 180}},
         .speakers = {{"緹菈", 3}},
         .changed = {flag::LazarusClosingThought}},
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
    {"EvMove167", EvMove167, item::ComfortBath, 2, place::HotSpring},
    {"EvMove169", EvMove169, item::FloraePerfume, 2, place::Forest},
    {"EvMove170", EvMove170, item::MagicHandWarmer, 2, place::Crater},
    {"EvMove171", EvMove171, item::VigourPerfume, 3, place::Forest},
    {"EvMove172", EvMove172, item::ReconciliationPotion, 4, place::Park},
    {"EvMove173", EvMove173, item::FreshnessSpellPotion, 4, place::Forest},
    {"EvMove174", EvMove174, item::SoulOfTheUnderworld, 5, place::Library},
    {"EvMove175", EvMove175, item::HerbShampoo, 5, place::Lake},
    {"EvMove176", EvMove176, item::MagicCoolant, 5, place::Cave},
    {"EvMove177", EvMove177, item::GlacierPebble, 7, place::Crater},
    {"EvMove178", EvMove178, item::MothersLullaby, 8, place::ForestSpring},
    {"EvMove179", EvMove179, item::FreshBath, 8, place::Beach},
    {"EvMove180", EvMove180, item::FloralBath, 9, place::HotSpring},
    {"EvMove181", EvMove181, item::SmilePotion, 10, place::BigTree},
    {"EvMove182", EvMove182, item::FlowingShampoo, 12, place::BigTree},
    {"EvMove183", EvMove183, item::FateCandy, 14, place::Waterfall},
    {"EvMove184", EvMove184, item::VitaminPotion, 16, place::ForestSpring},
    {"EvMove185", EvMove185, item::StrangeScentPotion, 18, place::Crater},
    {"EvMove186", EvMove186, item::FlyingPotion, 20, place::WizardHouse},
};

// ---- every branch, and every record accounted for

TEST_F(TownEventsTest, EveryEventPlaysItsLinesAndChangesAndEveryRecordIsPlayed) {
    story::ResetPlays();
    for (const EventCase& r : Rows()) Play(r);
    // The inspirations teach their recipe, at their level and place, with no time.
    for (const Inspiration& i : kInspirations) {
        SCOPED_TRACE(i.name);
        Start(EventCase{.day = 10, .hour = 12, .place = i.place, .level = i.level});
        test::EventResponders player(headless.Backend());
        ASSERT_FALSE(IsItemUnlocked(i.item));
        ASSERT_TRUE(i.event());
        EXPECT_TRUE(IsItemUnlocked(i.item));
        EXPECT_EQ(GameHour(), 12);
        EXPECT_EQ(GameFlow->Place, i.place);
    }
    // The bath: healthy again, without a word.
    Start(EventCase{.day = 10, .hour = 12, .place = place::HotSpring});
    SetCondition(2);
    ASSERT_TRUE(EvMove187());
    EXPECT_EQ(GameCondition(), 0);
    EXPECT_EQ(Lines(), 0);
    // The catalogue, under the debug window's override, in the night search: its
    // captions before their pictures, the land's in their rain variant.
    Start(
        EventCase{.day = 10, .hour = 12, .place = place::ShopInside, .flags = {flag::NightSearch}});
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
    for (int i = 0; i < 50; ++i) EXPECT_TRUE(ev->TestFlg(kFirstPersistentFlag + i)) << i;
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
    Start(EventCase{.day = 96,
                    .hour = 12,
                    .place = place::Square,
                    .flags = {flag::HotSpringFound, flag::LovePotionCommission}});
    for (int k = 0; k < 4; ++k) {
        Orders[k] = OrderSlot{};
        Orders[k].Id = 1 + k;
        Orders[k].Deadline = 120;
    }
    EXPECT_FALSE(EvLook013());
    EXPECT_EQ(transcript->Texts("line"), std::vector<std::string>{"無法再接受任何訂單了"});
    EXPECT_FALSE(ev->TestFlg(flag::LovePotionCommission) && DayMarks[mark::LovePotionNotice] != 0);
}

TEST_F(TownEventsTest, ConditionsFailInTheirOrderAndDrawOnlyWhenReached) {
    test::EventResponders player(headless.Backend());
    const EventCase cases[] = {
        {.name = "the rival shop before the runaway, at night",
         .event = EvPeddle000,
         .day = 10,
         .hour = 20,
         .place = place::RivalShop},
        {.name = "the contest evening on another day",
         .event = EvPeddle003,
         .day = 124,
         .hour = 20,
         .place = place::EventGround},
        {.name = "the gate at noon with the invitation before day 191",
         .event = EvPeddle007,
         .day = 190,
         .hour = 12,
         .place = place::CastleGate,
         .flags = {flag::PalaceInvitation}},
        {.name = "the hot spring before day 72",
         .event = EvSearch000,
         .day = 71,
         .hour = 12,
         .place = place::Forest},
        {.name = "the hot spring in the night search",
         .event = EvSearch000,
         .day = 80,
         .hour = 12,
         .place = place::Forest,
         .flags = {flag::NightSearch}},
        {.name = "the hot spring found",
         .event = EvSearch000,
         .day = 80,
         .hour = 12,
         .place = place::Forest,
         .flags = {flag::HotSpringFound}},
        {.name = "the gloat outside the shop",
         .event = EvTurnStart006,
         .day = 50,
         .hour = 9,
         .place = place::MixingRoom,
         .marks = {{mark::CommissionExpired, 50}}},
        {.name = "the gloat a day late",
         .event = EvTurnStart006,
         .day = 51,
         .hour = 9,
         .place = place::ShopInside,
         .marks = {{mark::CommissionExpired, 50}}},
        {.name = "the gloat at ten",
         .event = EvTurnStart006,
         .day = 50,
         .hour = 10,
         .place = place::ShopInside,
         .marks = {{mark::CommissionExpired, 50}}},
        {.name = "the notice past its window",
         .event = EvLook022,
         .day = 47,
         .hour = 12,
         .place = place::Square},
        {.name = "the confession before the request",
         .event = EvLook016,
         .day = 60,
         .hour = 12,
         .place = place::Square},
        {.name = "the potion before the hot spring",
         .event = EvLook013,
         .day = 100,
         .hour = 12,
         .place = place::Square},
        {.name = "the volcano on its 13th day",
         .event = EvLook012,
         .day = 122,
         .hour = 12,
         .place = place::Square,
         .marks = {{mark::VolcanoNotice, 110}}},
        {.name = "an introduction again",
         .event = EvMove075,
         .day = 10,
         .hour = 12,
         .place = place::Square,
         .flags = {flag::IntroSquare}},
        {.name = "an inspiration in the night search",
         .event = EvMove169,
         .day = 10,
         .hour = 12,
         .place = place::Forest,
         .level = 2,
         .flags = {flag::NightSearch}},
        {.name = "an inspiration below its level",
         .event = EvMove171,
         .day = 10,
         .hour = 12,
         .place = place::Forest,
         .level = 2},
        {.name = "the honey on day 215",
         .event = EvMove168,
         .day = 215,
         .hour = 12,
         .place = place::Forest,
         .level = 17},
        {.name = "the bath in the night search",
         .event = EvMove187,
         .day = 10,
         .hour = 12,
         .place = place::HotSpring,
         .flags = {flag::NightSearch}},
        {.name = "the crystal on day M+10",
         .event = EvMove117,
         .day = 190,
         .hour = 10,
         .place = place::Waterfall,
         .marks = {{mark::LazarusMeetingDay, 180}},
         .items = {{item::GravityCrystal, 1}}},
        {.name = "the reminder with a crystal",
         .event = EvMove116,
         .day = 185,
         .hour = 10,
         .place = place::Waterfall,
         .marks = {{mark::LazarusMeetingDay, 180}},
         .items = {{item::GravityCrystal, 1}}},
        {.name = "the recipe on day M+10",
         .event = EvMove146,
         .day = 190,
         .hour = 12,
         .place = place::ShopInside,
         .marks = {{mark::LazarusMeetingDay, 180}}},
        {.name = "the thought on day M+15",
         .event = EvMove118,
         .day = 195,
         .hour = 12,
         .place = place::Park,
         .marks = {{mark::LazarusMeetingDay, 180}}},
        {.name = "the thought after the delivery",
         .event = EvMove118,
         .day = 200,
         .hour = 12,
         .place = place::Park,
         .flags = {flag::LazarusLeft},
         .marks = {{mark::LazarusMeetingDay, 180}}},
    };
    ui::Srand(7);
    const int firstDraw = ui::Rand();
    for (const EventCase& c : cases) {
        Start(c);
        ui::Srand(7);
        EXPECT_FALSE(c.event()) << c.name;
        EXPECT_EQ(ui::Rand(), firstDraw) << c.name;  // nothing drawn
        EXPECT_EQ(Lines(), 0) << c.name;
    }
    EXPECT_FALSE(EvMove000());
    EXPECT_FALSE(EvLook020());  // flag 0 is never set
}

TEST_F(TownEventsTest, TheMeetingDrawsItsChanceBeforeTheEndingFlags) {
    test::EventResponders player(headless.Backend());
    // No ending seen: the chance is drawn all the same, and the meeting fails.
    Start(EventCase{.day = 180, .hour = 13, .place = place::Waterfall});
    SeedNextHalfChance(true);
    const std::uint32_t seeded = ui::RandState();
    EXPECT_FALSE(EvMove115());
    EXPECT_NE(ui::RandState(), seeded);
    // A failed draw fails it with an ending seen.
    Start(EventCase{
        .day = 180, .hour = 13, .place = place::Waterfall, .flags = {flag::EndingFloraeSeen}});
    SeedNextHalfChance(false);
    EXPECT_FALSE(EvMove115());
    // Any one ending seen opens it; once met, never again.
    for (int f = 88; f <= 93; ++f) {
        Start(EventCase{.day = 203, .hour = 17, .place = place::Waterfall, .flags = {f}});
        SeedNextHalfChance(true);
        EXPECT_TRUE(EvMove115()) << f;
        EXPECT_EQ(DayMarks[mark::LazarusMeetingDay], 203);
        SeedNextHalfChance(true);
        EXPECT_FALSE(EvMove115()) << f;
    }
    // Outside the afternoon or the window nothing is drawn.
    for (auto [day, hour] : {std::pair{180, 12}, std::pair{180, 18}, std::pair{204, 13}}) {
        Start(EventCase{.day = day,
                        .hour = hour,
                        .place = place::Waterfall,
                        .flags = {flag::EndingFloraeSeen}});
        const std::uint32_t state = ui::RandState();
        EXPECT_FALSE(EvMove115());
        EXPECT_EQ(ui::RandState(), state);
    }
}

TEST_F(TownEventsTest, ThreeLooksAtTheSquareOnDay30ReadTwoNoticesThenTheFashion) {
    Start(EventCase{.day = 30, .hour = 12, .place = place::Square});
    struct Step {
        const char* event;
        int lines, flag;
    };
    for (const Step& s :
         {Step{"EvLook014", 2, flag::NoticeHomepage},
          Step{"EvLook022", 5, flag::NoticeSpringFestival}, Step{"EvLook028", 1, 0}}) {
        EXPECT_EQ(Look(), std::vector<std::string>{s.event});
        EXPECT_EQ(Lines(), s.lines) << s.event;
        if (s.flag) {
            EXPECT_TRUE(ev->TestFlg(s.flag)) << s.event;
        }
    }
    EXPECT_EQ(GameDay(), 30);
    EXPECT_EQ(GameHour(), 12);
    EXPECT_EQ(GameFlow->Place, place::Square);
}

TEST_F(TownEventsTest, OnDay96TheFullOrdersLineComesBeforeTheNoticeOfTheSameLook) {
    Start(
        EventCase{.day = 96, .hour = 12, .place = place::Square, .flags = {flag::HotSpringFound}});
    for (int k = 0; k < 4; ++k) {
        Orders[k] = OrderSlot{};
        Orders[k].Id = 1 + k;
        Orders[k].Deadline = 120;
    }
    EXPECT_EQ(Look(), std::vector<std::string>{"EvLook017"});
    const std::vector<std::string> lines = transcript->Texts("line");
    ASSERT_EQ(lines.size(), 1u + 6u);
    EXPECT_EQ(lines[0], "無法再接受任何訂單了");
    EXPECT_TRUE(ev->TestFlg(flag::NoticeComplaint));
    EXPECT_FALSE(ev->TestFlg(flag::LovePotionCommission));
    // A slot free: the potion commission, with 蕾妮特.
    Orders[3] = OrderSlot{};
    EXPECT_EQ(Look(), std::vector<std::string>{"EvLook013"});
    EXPECT_EQ(Lines(), 17);
    EXPECT_TRUE(ev->TestFlg(flag::LovePotionCommission));
    EXPECT_EQ(DayMarks[mark::LovePotionNotice], 96);
    EXPECT_EQ(GameFlow->Place, place::Square);
}

}  // namespace
