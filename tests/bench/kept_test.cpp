// The goods a route's plan keeps: every step's wants are kept from the start of the year,
// from the counter and from orders, not only those of the step under way.
#include <gtest/gtest.h>

#include <string>

#include "bench/route/Plan.h"
#include "bench/route/Runner.h"
#include "bench/route/Shopkeeper.h"
#include "story/Register.h"

namespace {

// 芙蘿蕾's bad ending keeps a 光魔法石 from its step in the summer for the 萬能藥 at the
// end of the year; the order for ten of them that came in the autumn is refused.
TEST(KeptGoodsTest, FloraeBadKeepsTheLightStoneFromAnOrder) {
    route::Plan plan;
    std::string error;
    ASSERT_TRUE(route::LoadPlan(std::string(LUMIA_SOURCE_DIR) + "/bench/routes/florae-bad.route",
                                plan, error))
        << error;
    const route::KeptGoods kept = route::PlanKeeps(plan);
    EXPECT_TRUE(kept.Keeps(item::LightStone));
    EXPECT_TRUE(kept.Keeps(item::Panacea));
    EXPECT_TRUE(kept.Keeps(item::CurePotion));
    EXPECT_EQ(kept.InOrder("顧客「我想訂購，5天後光魔法石１０個，可以嗎？"), item::LightStone);
    EXPECT_EQ(kept.InOrder("顧客「我想訂購，5天後萬能藥１個，可以嗎？"), item::Panacea);
    // Goods the plan does not keep are ordered as usual.
    EXPECT_FALSE(kept.Keeps(item::VigourScentBottle));
    EXPECT_EQ(kept.InOrder("顧客「我想訂購，5天後活力花香瓶１０個，可以嗎？"), -1);
    // Only the plan's wants are due (mixed first) at the start; the steps' come later.
    for (const auto& [item, count] : kept.Due())
        EXPECT_NE(item, item::LightStone) << "a step's want is not due before its step";
}

// Keeping an item again keeps the larger count, and a later want makes it due.
TEST(KeptGoodsTest, AKeptItemBecomesDueWhenItsStepWantsIt) {
    route::KeptGoods kept;
    kept.Keep(item::LightStone, 1, false);
    kept.Keep(item::LightStone, 3, false);
    EXPECT_TRUE(kept.Due().empty());
    kept.Keep(item::LightStone, 2, true);
    ASSERT_EQ(kept.Due().size(), 1u);
    EXPECT_EQ(kept.Due()[0], std::make_pair(item::LightStone, 3));
}

}  // namespace
