// The shelf sprites of the ten exhibition slots and the furniture.
#include "shop/Goods.h"

#include <gtest/gtest.h>

#include <vector>

#include "shop/GameState.h"
#include "story/Register.h"
#include "tests/support/SpriteFixtures.h"

namespace {

using test::NumberedSheet;

class GoodsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitGameState();
        test::InstallSheet(kFurnitureSheet, NumberedSheet(8, 1, 6, 4));
        test::InstallSheet(kShelfSheet, NumberedSheet(5, 20, 8, 6));
    }
    void TearDown() override {
        DestroyShelfSlots();
        DestroyFurniture();
    }
    int LayerCount() const {
        int n = 0;
        for (const SPMan* s = SpriteLayers[0]; s; s = s->Next()) ++n;
        return n;
    }
    test::SpriteEngineReset reset_;
};

TEST_F(GoodsTest, ShelfFrameFollowsTheStockTier) {
    const int item = 0;  // shelf-picture row 4
    ASSERT_EQ(ItemShelfRow(item), 4);
    SetSlotItem(3, item);
    CreateShelfSlots();
    struct Case {
        int stock, reserve, tier;
    } cases[] = {{0, 0, 0}, {3, 3, 0}, {1, 0, 1}, {2, 0, 2}, {5, 2, 2},
                 {4, 0, 3}, {5, 0, 3}, {6, 0, 4}, {9, 1, 4}};
    for (const Case& c : cases) {
        SetItemStock(item, c.stock);
        SetItemReserve(item, c.reserve);
        SpritesDirty = false;
        RefreshShelfSlot(3);
        EXPECT_EQ(ShelfSlots[3]->Sprite()->Frame(), 4 * 5 + c.tier) << c.stock << "/" << c.reserve;
        EXPECT_TRUE(SpritesDirty);
    }
}

TEST_F(GoodsTest, EmptySlotShowsFrame95WhateverTheSheet) {
    CreateShelfSlots();
    EXPECT_EQ(SlotItem(0), -1);
    EXPECT_EQ(ShelfSlots[0]->Sprite()->Frame(), kEmptyShelfFrame);
    ShowShelfItem(5, -1);  // slot 5 holds goods in a new game
    EXPECT_EQ(ShelfSlots[5]->Sprite()->Frame(), kEmptyShelfFrame);

    // On a sheet of fewer than 96 frames the number stays; drawing falls back to frame 0.
    test::InstallSheet(kShelfSheet, NumberedSheet(5, 2, 8, 6));
    EXPECT_EQ(ShelfFrame(-1), kEmptyShelfFrame);
    EXPECT_EQ(SpriteSheets[kShelfSheet].FramePixels(kEmptyShelfFrame),
              SpriteSheets[kShelfSheet].FramePixels(0));
    EXPECT_EQ(ShelfFrame(500), kEmptyShelfFrame);  // no such item
}

TEST_F(GoodsTest, ShowShelfItemOverridesTheSlot) {
    SetSlotItem(2, item::VigourScentBottle);
    SetItemStock(item::VigourScentBottle, 1);
    SetItemReserve(item::VigourScentBottle, 0);
    CreateShelfSlots();
    EXPECT_EQ(ShelfSlots[2]->Sprite()->Frame(), 4 * 5 + 1);
    SetItemStock(1, 8);  // shelf row 3
    ShowShelfItem(2, 1);
    EXPECT_EQ(ShelfSlots[2]->Sprite()->Frame(), 3 * 5 + 4);
    RefreshAllShelfSlots();  // back to what the slot holds
    EXPECT_EQ(ShelfSlots[2]->Sprite()->Frame(), 4 * 5 + 1);
    ShowShelfItem(10, 1);  // no such slot: nothing
    RefreshShelfSlot(-1);
}

TEST_F(GoodsTest, KeyItemShowsTheFullestPicture) {
    SetItemStock(item::HeipiFur, kKeyItemStock);
    SetSlotItem(4, item::HeipiFur);
    CreateShelfSlots();
    EXPECT_EQ(ShelfSlots[4]->Sprite()->Frame(), ItemShelfRow(82) * 5 + 4);
}

TEST_F(GoodsTest, SlotsStandOnTheirCells) {
    SpritesDirty = false;
    CreateShelfSlots();
    EXPECT_TRUE(SpritesDirty);
    EXPECT_EQ(LayerCount(), kShelfSlots);
    for (int s = 0; s < kShelfSlots; ++s) {
        const FloorStep cell = kShelfCells[s];
        const SPMan* sprite = ShelfSlots[s]->Sprite();
        const int x = 34 * (cell.dx + cell.dy) + 16 - 4;
        const int y = 17 * (cell.dy - cell.dx) + 243 - 6;
        EXPECT_EQ(ShelfSlots[s]->X(), x) << s;
        EXPECT_EQ(ShelfSlots[s]->Y(), y) << s;
        EXPECT_EQ(sprite->X(), x) << s;
        EXPECT_EQ(sprite->Y(), y) << s;
        EXPECT_EQ(sprite->Depth(), 313632 - (x + 4 + 648 * (y + 6))) << s;
        EXPECT_EQ(sprite->Sheet(), kShelfSheet);
        EXPECT_EQ(sprite->Flags(), SPM_VISIBLE | SPM_TRANSPARENT);
    }
    CreateShelfSlots();  // again: the old ones are replaced, not leaked or doubled
    EXPECT_EQ(LayerCount(), kShelfSlots);
    SpritesDirty = false;
    DestroyShelfSlots();
    EXPECT_TRUE(SpritesDirty);
    EXPECT_EQ(LayerCount(), 0);
    for (Goods* g : ShelfSlots) EXPECT_EQ(g, nullptr);
}

TEST_F(GoodsTest, FurnitureIsCreatedOnce) {
    CreateFurniture();
    CreateFurniture();
    EXPECT_TRUE(FurnitureCreated);
    EXPECT_EQ(LayerCount(), kFurnitureCount);
    for (int k = 0; k < kFurnitureCount; ++k) {
        const SPMan* s = FurnitureSprites[k];
        EXPECT_EQ(s->Frame(), k);
        EXPECT_EQ(s->Sheet(), kFurnitureSheet);
        EXPECT_EQ(s->X(), FloorSpriteX(kFurnitureCells[k].dx, kFurnitureCells[k].dy, 6));
        EXPECT_EQ(s->Flags(), SPM_VISIBLE | SPM_TRANSPARENT);
    }
    DestroyFurniture();
    EXPECT_FALSE(FurnitureCreated);
    EXPECT_EQ(LayerCount(), 0);
    DestroyFurniture();
    CreateFurniture();
    EXPECT_EQ(LayerCount(), kFurnitureCount);
}

}  // namespace
