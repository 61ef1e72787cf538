// 蕾妮特's and 可可特's routes and the final crisis walked link by link, as a player walks
// them: from a new game, each event reached by its own walk (arriving at a place, a
// visit command, the turn's start, the morning, a search) at the day, hour and place
// of the route plans in bench/routes, with nothing of the story set by hand. Only what
// the shop gives is put in place: stock, reputation, level, the chocolates' recipe and
// the money at the year's end.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/Random.h"
#include "shop/GameState.h"
#include "story/Dialogue.h"
#include "story/Register.h"
#include "tests/support/EventResponders.h"
#include "tests/support/StoryFixture.h"
#include "town/EvCommands.h"
#include "town/EvControler.h"
#include "town/EventTables.h"
#include "town/Evsrvfm.h"
#include "town/Mapform.h"

namespace {

// How the heroine gets to an event.
enum class Walk { Arrive, RivalShop, Flowerbed, House, Wizard, Turn, Morning, Search };

struct Link {
    const char* event;  // the event that must play
    int day, hour, place;
    Walk walk;
    std::deque<int> answers = {};  // 0-based captions
};

// The forest maze by right, right, left, left, right, left.
const std::deque<int> kMaze = {1, 1, 0, 0, 1, 0};

class RouteChainTest : public test::StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        ui::Srand(1);
        GameFlow->GameStarted();
    }
    void TearDown() override {
        if (MapFm) MapFm->Hide();
        StoryTest::TearDown();
    }
    // A new game, keeping the persistent flags (the system file's).
    void Begin() {
        if (MapFm) MapFm->Hide();
        InitGameState();
        SetMoney(0);
        NewGame(0, 10, 10);
        story::ResetPlays();
    }
    // Goes to the link's day, hour and place (a new day clears the daily flags, as the
    // morning does), takes its walk and returns the events that played.
    std::vector<std::string> Take(const Link& l) {
        if (l.day != GameDay()) ev->ClearDailyFlags();
        if (MapFm && l.place < 32) MapFm->Hide();
        SetGameDay(l.day);
        SetGameHour(l.hour);
        GameFlow->Place = l.place;
        story::ResetPlays();
        transcript->Clear();
        test::EventResponders player(headless.Backend());
        player.answers = l.answers;
        switch (l.walk) {
            case Walk::Arrive:
                RunMoveEvents();
                break;
            case Walk::RivalShop:
                VisitRivalShop(l.hour);
                break;
            case Walk::Flowerbed:
                VisitFlowerbed(l.hour);
                break;
            case Walk::House:
                VisitFlowerHouse(l.hour);
                break;
            case Walk::Wizard:
                VisitWizardHouse(l.hour);
                break;
            case Walk::Turn:
                RunTurnStartEvents();
                break;
            case Walk::Morning:
                RunDayStartEvents();
                break;
            case Walk::Search:
                RunSearchEvents();
                break;
        }
        return Played();
    }
    // Takes each link; each must play its event first.
    void Play(const std::vector<Link>& links) {
        for (const Link& l : links) {
            const std::vector<std::string> played = Take(l);
            ASSERT_FALSE(played.empty()) << l.event << " on day " << l.day << " at " << l.hour;
            ASSERT_EQ(played.front(), l.event) << "day " << l.day << " at " << l.hour;
        }
    }
    // 黑皮's illness: a draw of each morning in days 24..45.
    void HeipiFallsIll() {
        for (int day = 24; day <= 45 && !ev->TestFlg(flag::HeipiIllnessDone); ++day)
            Take({"", day, 9, 10, Walk::Morning, {0}});
        ASSERT_TRUE(ev->TestFlg(flag::HeipiIllnessDone));
    }
    // Visits to 微笑魔法店 at 16:00 on each working day from `first` until `event` plays.
    void VisitCocotteUntil(const std::string& event, int first, int last) {
        for (int day = first; day <= last; ++day) {
            if (day % 6 == 5) continue;
            const std::vector<std::string> played = Take({"", day, 16, 2, Walk::RivalShop});
            if (!played.empty() && played.front() == event) return;
        }
        FAIL() << event << " did not play by day " << last;
    }

    // The year of 蕾妮特's route as far as the great wizard found, with the contests won
    // or not, and 可可特's talks between when `cocotte`.
    void ToTheMaze(bool contests, bool cocotte) {
        Play({
            {"EvMove012", 0, 10, 2, Walk::Arrive},
            {"EvMove015", 0, 15, 2, Walk::RivalShop},
            {"EvFlowerbed001", 0, 17, 1, Walk::Flowerbed},
            {"EvFlowerbed017", 12, 17, 1, Walk::Flowerbed},
        });
        if (cocotte) VisitCocotteUntil("EvMove049", 13, 35);
        Play({
            {"EvFlowerbed007", 24, 17, 1, Walk::Flowerbed},
            {"EvFlowerbed014", 25, 17, 1, Walk::Flowerbed},
        });
        HeipiFallsIll();
        if (cocotte) VisitCocotteUntil("EvMove050", 36, 59);
        if (!contests) Play({{"EvTurnStart018", 36, 20, 10, Walk::Turn}});
        Play({{"EvFlowerbed008", 48, 17, 1, Walk::Flowerbed}});
        if (cocotte) VisitCocotteUntil("EvMove051", 60, 83);
        UnlockItem(item::CharmChocolate);  // the shop mixes it from the start
        Play({
            {"EvFlowerbed009", 72, 17, 1, Walk::Flowerbed},
            {"EvTurnStart020", 72, 18, 10, Walk::Turn, {0}},
        });
        EXPECT_TRUE(ev->TestFlg(flag::RenetteHelpedOrder));
        if (cocotte) VisitCocotteUntil("EvMove052", 84, 107);
        Play({{"EvFlowerbed003", 101, 10, 1, Walk::Flowerbed}});
        if (cocotte) VisitCocotteUntil("EvMove053", 108, 124);
        if (contests) Play({{"EvMove005", 125, 10, 6, Walk::Arrive, {0, 0, 2, 1}}});
        EXPECT_EQ(ev->TestFlg(flag::MagicContestWon), contests);
        SetGameLevel(5);
        // The library's first visit introduces it; the recipe comes at the next.
        Play({{"EvMove073", 126, 10, 17, Walk::Arrive}, {"EvMove174", 127, 10, 17, Walk::Arrive}});
        if (cocotte) {
            VisitCocotteUntil("EvMove054", 132, 155);
            VisitCocotteUntil("EvMove055", 156, 178);
        }
        if (contests) {
            SetReputation(20);
            Play({{"EvTurnStart026", 179, 9, 10, Walk::Turn}});
            EXPECT_TRUE(ev->TestFlg(flag::BeautyContestWon));
        }
        if (cocotte) VisitCocotteUntil("EvMove056", 180, 203);
        Play({{"EvMove013", 192, 14, 3, Walk::Arrive}});
        if (cocotte) VisitCocotteUntil("EvMove016", 204, 215);
        Play({
            {"EvMove014", 210, 14, 39, Walk::Arrive},
            {"EvMove065", 210, 16, 36, Walk::Arrive},
            {"EvFlowerbed004", 216, 17, 1, Walk::Flowerbed},
            {"EvMove023", 217, 10, 1, Walk::House},
            {"EvMove024", 218, 10, 1, Walk::House},
            {"EvMove025", 222, 10, 1, Walk::House},
            {"EvMove027", 227, 10, 1, Walk::House},
            {"EvMove029", 231, 10, 1, Walk::House},
            {"EvTurnStart001", 234, 18, 10, Walk::Turn, kMaze},
        });
        EXPECT_TRUE(ev->TestFlg(flag::WizardFound));
    }
    // Her attack, the purification, the great wizard's story, the plea and the night
    // search, up to the cave's answer `answer`. With `cure`, 芙蘿蕾 is given the
    // healing potion between the purification and the wizard.
    void ToTheCave(int answer, bool cure) {
        Play({{"EvTurnStart012", 235, 9, 10, Walk::Turn}});
        SetItemStock(item::LongingStone, 1);
        SetItemStock(item::LightStone, 1);
        Play({{"EvMove017", 235, 17, 10, Walk::Arrive}});
        EXPECT_TRUE(ev->TestFlg(flag::RenettePurified));
        if (cure) {
            SetItemStock(item::CurePotion, 1);
            Play({{"EvMove002", 237, 10, 1, Walk::House, {0}}});
            EXPECT_TRUE(ev->TestFlg(flag::PotionGiven));
        }
        const int day = cure ? 239 : 237;
        Play({
            {"EvMove129", day, 10, 43, Walk::Wizard},
            {"EvTurnStart013", day + 1, 18, 10, Walk::Turn},
        });
        EXPECT_TRUE(ev->TestFlg(flag::NightSearch));
        EXPECT_EQ(GameFlow->Place, 32);
        Play({
            {"EvSearch001", day + 1, 20, 39, Walk::Search},
            {"EvSearch001", day + 1, 21, 39, Walk::Search},
            {"EvMove145", day + 1, 22, 36, Walk::Arrive, {answer}},
        });
        EXPECT_TRUE(ev->TestFlg(flag::RenetteSaved));
        EXPECT_FALSE(ev->TestFlg(flag::NightSearch));
    }
    // The ending-message pictures shown (codes 0x32E.. 0x331), by number.
    std::vector<int> EndingPictures() {
        std::vector<int> out;
        for (const std::string& p : transcript->Texts("picture")) {
            if (p.rfind("0x3", 0) != 0) continue;
            const int code = std::stoi(p.substr(2, 3), nullptr, 16);
            if (code >= 814 && code <= 817) out.push_back(code);
        }
        return out;
    }
    // The year's end at 09:00 of day 287 with the debt paid or not.
    std::int32_t YearEnds(bool paid) {
        if (MapFm) MapFm->Hide();
        SetGameDay(287);
        SetGameHour(9);
        GameFlow->Place = place::ShopInside;
        SetMoney(paid ? 1000000 : 10000);
        story::ResetPlays();
        test::EventResponders player(headless.Backend());
        return RunEndingEvents();
    }
};

TEST_F(RouteChainTest, RenettesRouteFromANewGameToHerEndingOrHerBadEnding) {
    for (const bool paid : {true, false}) {
        SCOPED_TRACE(paid ? "paid" : "short");
        Begin();
        ev->SetFlg(flag::EndingRenetteSeen, false);  // a first game: no ending seen
        ToTheMaze(true, false);
        ToTheCave(1, false);
        EXPECT_TRUE(ev->TestFlg(flag::RouteRenette));
        transcript->Clear();
        EXPECT_EQ(YearEnds(paid), paid ? 4 : -1);
        EXPECT_EQ(ev->TestFlg(flag::EndingRenetteSeen), paid);
        EXPECT_EQ(EndingPictures(), paid ? std::vector<int>{} : std::vector<int>{816});
    }
}

TEST_F(RouteChainTest, CocottesRouteInTheGameAfterRenettesEndingToHerEndingOrHerBadEnding) {
    for (const bool paid : {true, false}) {
        SCOPED_TRACE(paid ? "paid" : "short");
        Begin();
        ev->SetFlg(flag::EndingCocotteSeen, false);
        ev->SetFlg(flag::EndingRenetteSeen, true);  // the system file of the first game
        ToTheMaze(true, true);
        EXPECT_TRUE(ev->TestFlg(flag::CocotteAskedAboutLove));
        ToTheCave(2, false);
        EXPECT_FALSE(ev->TestFlg(flag::RouteRenette));
        const int chosen = GameDay();
        Play({{"EvTurnStart009", std::max(264, chosen + 3), 13, 10, Walk::Turn}});
        EXPECT_TRUE(ev->TestFlg(flag::RouteCocotte));
        transcript->Clear();
        EXPECT_EQ(YearEnds(paid), paid ? 5 : -1);
        EXPECT_EQ(ev->TestFlg(flag::EndingCocotteSeen), paid);
        EXPECT_EQ(EndingPictures(), paid ? std::vector<int>{} : std::vector<int>{817});
    }
}

TEST_F(RouteChainTest, TheCrisisInTheGameAfterAnEnding) {
    Begin();
    ev->SetFlg(flag::EndingRenetteSeen, true);
    ToTheMaze(false, false);
    EXPECT_TRUE(IsItemUnlocked(item::TiraCandy));
    ToTheCave(0, true);
    EXPECT_FALSE(ev->TestFlg(flag::RouteRenette));
    // 芙蘿蕾 blind, then silent visits, one a day, until she speaks again in a morning.
    Play({{"EvMove003", 241, 10, 1, Walk::House}});
    for (int day = 242; day <= 285 && ev->ChkItem(item::WaterSpiritStone, 1) == false; ++day) {
        Take({"", day, 9, 10, Walk::Turn});
        if (ev->TestFlg(flag::FloraeSpeaksAgain)) break;
        Take({"", day, 10, 1, Walk::House});
    }
    EXPECT_TRUE(ev->ChkItem(item::WaterSpiritStone, 1));
    EXPECT_EQ(YearEnds(true), 1);
    EXPECT_TRUE(IsItemUnlocked(item::HappinessPotion));
}

}  // namespace
