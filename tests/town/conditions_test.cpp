#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Random.h"
#include "shop/GameState.h"
#include "shop/Mixing.h"
#include "story/Register.h"
#include "town/EvControler.h"
#include "town/Evsrvfm.h"

namespace {

class ConditionTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameFlow = new TEvControler();
        ev = EventServerDbg;
        SetGameDay(30);
        SetGameHour(12);
        SetGameLevel(5);
        SetMoney(1000);
        SetReputation(40);
        SetItemStock(item::FloraeFlowers, 4);
        LockItem(49);
        UnlockItem(50);
    }
    void TearDown() override {
        while (MixHoursLeft() > 0) MixStep();
        delete GameFlow;
        GameFlow = nullptr;
    }
    TEventServerDbg* ev = nullptr;
};

struct Case {
    std::string what;
    std::function<void()> arrange;
    std::function<bool()> test;
    bool expect;
};

std::vector<Case> BoundaryCases() {
    auto& ev = EventServerDbg;
    auto day = [](int d) { return [d] { SetGameDay(d); }; };
    auto hour = [](int h) { return [h] { SetGameHour(h); }; };
    auto none = [] {};
    // clang-format off
    return {
        {"ChkFlg set want set", [&] { ev->SetFlg(flag::FloraeBlindVisit, true); }, [&] { return ev->ChkFlg(flag::FloraeBlindVisit, true); }, true},
        {"ChkFlg clear want set", none, [&] { return ev->ChkFlg(flag::FloraeBlindVisit, true); }, false},
        {"ChkFlg clear want clear", none, [&] { return ev->ChkFlg(flag::FloraeBlindVisit, false); }, true},
        {"ChkFlg 0 want set", none, [&] { return ev->ChkFlg(flag::NeverSet, true); }, false},
        {"ChkFlg 0 want clear", none, [&] { return ev->ChkFlg(flag::NeverSet, false); }, true},
        {"ChkFlg 0 stays clear", [&] { ev->SetFlg(flag::NeverSet, true); }, [&] { return ev->ChkFlg(flag::NeverSet, false); }, true},
        {"ChkFlg 1024 want clear", none, [&] { return ev->ChkFlg(1024, false); }, false},
        {"ChkFlg -1 want clear", none, [&] { return ev->ChkFlg(-1, false); }, false},
        {"ChkNot false", none, [&] { return ev->ChkNot(false); }, true},
        {"ChkNot true", none, [&] { return ev->ChkNot(true); }, false},
        {"ChkPlace here", [] { GameFlow->Place = place::Forest; }, [&] { return ev->ChkPlace(place::Forest); }, true},
        {"ChkPlace elsewhere", [] { GameFlow->Place = place::Forest; }, [&] { return ev->ChkPlace(place::LandTown); }, false},
        {"ChkDay first day", day(24), [&] { return ev->ChkDay(24, 24); }, true},
        {"ChkDay last day", day(47), [&] { return ev->ChkDay(24, 24); }, true},
        {"ChkDay day after", day(48), [&] { return ev->ChkDay(24, 24); }, false},
        {"ChkDay day before", day(23), [&] { return ev->ChkDay(24, 24); }, false},
        {"ChkDay huge length", day(287), [&] { return ev->ChkDay(1, 0x7FFFFFFF); }, true},
        {"ChkHour from", hour(18), [&] { return ev->ChkHour(18, 22); }, true},
        {"ChkHour to", hour(22), [&] { return ev->ChkHour(18, 22); }, true},
        {"ChkHour after", hour(23), [&] { return ev->ChkHour(18, 22); }, false},
        {"ChkHour before", hour(17), [&] { return ev->ChkHour(18, 22); }, false},
        {"ChkWeekday(-1) rest day 5", day(5), [&] { return ev->ChkWeekday(-1); }, false},
        {"ChkWeekday(-1) rest day 11", day(11), [&] { return ev->ChkWeekday(-1); }, false},
        {"ChkWeekday(-1) day 12", day(12), [&] { return ev->ChkWeekday(-1); }, true},
        {"ChkWeekday(5) day 17", day(17), [&] { return ev->ChkWeekday(5); }, true},
        {"ChkWeekday(5) day 16", day(16), [&] { return ev->ChkWeekday(5); }, false},
        {"ChkWeekday(0) day 6", day(6), [&] { return ev->ChkWeekday(0); }, true},
        {"ChkDayMark unarmed", day(0), [&] { return ev->ChkDayMark(2, 0, 5); }, false},
        {"ChkDayMark set on day 0", [&] { SetGameDay(0); ev->SetDayMark(2); }, [&] { return ev->ChkDayMark(2, 0, 5); }, false},
        {"ChkDayMark first day", [&] { SetGameDay(10); ev->SetDayMark(2); SetGameDay(31); }, [&] { return ev->ChkDayMark(2, 21, 3); }, true},
        {"ChkDayMark last day", [&] { SetGameDay(10); ev->SetDayMark(2); SetGameDay(33); }, [&] { return ev->ChkDayMark(2, 21, 3); }, true},
        {"ChkDayMark past", [&] { SetGameDay(10); ev->SetDayMark(2); SetGameDay(34); }, [&] { return ev->ChkDayMark(2, 21, 3); }, false},
        {"ChkDayMark early", [&] { SetGameDay(10); ev->SetDayMark(2); SetGameDay(30); }, [&] { return ev->ChkDayMark(2, 21, 3); }, false},
        {"ChkDayMark index 10", [] { DayMarks.fill(30); }, [&] { return ev->ChkDayMark(10, 0, 5); }, false},
        {"ChkDayMark index -1", [] { DayMarks.fill(30); }, [&] { return ev->ChkDayMark(-1, 0, 5); }, false},
        {"ChkDayMark huge mark", [] { DayMarks[4] = 0x7FFFFFFF; }, [&] { return ev->ChkDayMark(4, 0x7FFFFFFF, 5); }, false},
        {"ChkVar >= at", [&] { ev->EventVariable[3] = 2; }, [&] { return ev->ChkVar(3, 2, 0, false); }, true},
        {"ChkVar >= below", [&] { ev->EventVariable[3] = 1; }, [&] { return ev->ChkVar(3, 2, 0, false); }, false},
        {"ChkVar <= at", [&] { ev->EventVariable[1] = 2; }, [&] { return ev->ChkVar(1, 2, 1, false); }, true},
        {"ChkVar <= above", [&] { ev->EventVariable[1] = 3; }, [&] { return ev->ChkVar(1, 2, 1, false); }, false},
        {"ChkVar = variables", [&] { ev->EventVariable[3] = -4; ev->EventVariable[4] = -4; }, [&] { return ev->ChkVar(3, 4, 2, true); }, true},
        {"ChkVar = variables differ", [&] { ev->EventVariable[3] = -4; ev->EventVariable[4] = 4; }, [&] { return ev->ChkVar(3, 4, 2, true); }, false},
        {"ChkVar mode 3", none, [&] { return ev->ChkVar(3, 0, 3, false); }, false},
        {"ChkVar a out of range", none, [&] { return ev->ChkVar(64, 0, 2, false); }, false},
        {"ChkVar b variable out of range", none, [&] { return ev->ChkVar(0, -1, 2, true); }, false},
        {"ChkVar b value out of variable range", none, [&] { return ev->ChkVar(0, -1, 0, false); }, true},
        {"ChkLevel at", none, [&] { return ev->ChkLevel(5); }, true},
        {"ChkLevel above", none, [&] { return ev->ChkLevel(6); }, false},
        {"ChkMoney at", none, [&] { return ev->ChkMoney(1000); }, true},
        {"ChkMoney above", none, [&] { return ev->ChkMoney(1001); }, false},
        {"ChkReputation at", none, [&] { return ev->ChkReputation(40); }, true},
        {"ChkReputation above", none, [&] { return ev->ChkReputation(41); }, false},
        {"ChkItem at", none, [&] { return ev->ChkItem(item::FloraeFlowers, 4); }, true},
        {"ChkItem above", none, [&] { return ev->ChkItem(item::FloraeFlowers, 5); }, false},
        {"ChkItem key item", [] { SetItemStock(item::HeipiFur, 1); }, [&] { return ev->ChkItem(item::HeipiFur, 255); }, true},
        {"ChkItem id 107", none, [&] { return ev->ChkItem(107, 0); }, false},
        {"ChkItem id -1", none, [&] { return ev->ChkItem(-1, 0); }, false},
        {"ChkMixing running", [] { StartMixJob(12, 1, 10); }, [&] { return ev->ChkMixing(); }, true},
        {"ChkMixing idle", [] { StartMixJob(12, 1, 10); MixStep(); }, [&] { return ev->ChkMixing(); }, false},
        {"ChkRandom 100", none, [&] { return ev->ChkRandom(100); }, true},
        {"ChkRandom 0", none, [&] { return ev->ChkRandom(0); }, false},
        {"IsPictureSeen set", [&] { ev->SetFlg(32 + 7, true); }, [&] { return ev->IsPictureSeen(7); }, true},
        {"IsPictureSeen clear", none, [&] { return ev->IsPictureSeen(8); }, false},
        {"IsPictureSeen past the flags", none, [&] { return ev->IsPictureSeen(0x7FFFFFF0); }, false},
    };
    // clang-format on
}

TEST_F(ConditionTest, BoundaryCases) {
    for (const Case& c : BoundaryCases()) {
        TearDown();
        SetUp();
        c.arrange();
        EXPECT_EQ(c.test(), c.expect) << c.what;
    }
}

TEST_F(ConditionTest, OverrideForcesEveryTestTrueAndDrawsNothing) {
    for (const Case& c : BoundaryCases()) {
        TearDown();
        SetUp();
        c.arrange();
        ev->ConditionOverride = 1;
        const auto state = ui::RandState();
        EXPECT_TRUE(c.test()) << c.what;
        EXPECT_EQ(ui::RandState(), state) << c.what;
    }
}

TEST_F(ConditionTest, ExemptTestsReadTheirStateUnderOverride) {
    ev->ConditionOverride = 1;
    EXPECT_FALSE(ev->ChkMixedItem());  // nothing mixed since the new game
    EXPECT_FALSE(ev->IsRecipeKnown(49));
    EXPECT_TRUE(ev->IsRecipeKnown(50));
    EXPECT_FALSE(ev->TestFlg(flag::FloraeBlindVisit));
    EXPECT_FALSE(ev->TestFlg(flag::NeverSet));
    ev->SetFlg(flag::FloraeBlindVisit, true);
    EXPECT_TRUE(ev->TestFlg(flag::FloraeBlindVisit));
}

TEST_F(ConditionTest, MixedItemCountsOnlyItsShelfRows) {
    for (int id = 0; id < 64; ++id) {
        GameFlow->SetMixedItem(id);
        const int row = ItemShelfRow(id);
        const bool expected = row == 0 || row == 1 || row == 2 || row == 6 || row == 7 ||
                              row == 8 || row == 12 || row == 13;
        EXPECT_EQ(ev->ChkMixedItem(), expected) << id;
    }
    GameFlow->MixedItem = 200;  // written past the setter: never indexes the catalogue
    EXPECT_FALSE(ev->ChkMixedItem());
    GameFlow->MixedItem = -1;
    EXPECT_FALSE(ev->ChkMixedItem());
}

TEST_F(ConditionTest, RecipeKnownOutOfRangeIsFalse) {
    EXPECT_FALSE(ev->IsRecipeKnown(-1));
    EXPECT_FALSE(ev->IsRecipeKnown(107));
}

TEST_F(ConditionTest, ChkRandomDrawsExactlyOncePerCall) {
    for (int n : {0, 1, 50, 60, 100, 101}) {
        ui::Srand(4242 + n);
        const std::uint32_t before = ui::RandState();
        const bool got = ev->ChkRandom(n);
        const std::uint32_t after = ui::RandState();
        ui::Srand(before);
        const int draw = ui::Rand();
        EXPECT_EQ(after, ui::RandState()) << n;
        EXPECT_EQ(got, n >= draw % 100 + 1) << n;
    }
}

TEST_F(ConditionTest, ChkRandomHundredAlwaysZeroNever) {
    ui::Srand(1);
    for (int i = 0; i < 500; ++i) {
        EXPECT_TRUE(ev->ChkRandom(100));
        EXPECT_FALSE(ev->ChkRandom(0));
    }
}

TEST_F(ConditionTest, PlaceWithoutControllerIsNowhere) {
    TEvControler* keep = GameFlow;
    GameFlow = nullptr;
    EXPECT_FALSE(ev->ChkPlace(place::ShopInside));
    EXPECT_FALSE(ev->ChkMixedItem());
    GameFlow = keep;
}

}  // namespace
