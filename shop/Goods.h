#pragma once
// The shelves: the ten exhibition slots shown on the shop floor as sprites of sheet
// 21 whose frame tells which goods lies there and roughly how much is left, and the
// eight furniture sprites of sheet 20, placed by floor cell so that people walking
// past are drawn in front of or behind them.
#include <cstdint>
#include <memory>

#include "shop/Figure.h"

constexpr int kShelfSlots = 10;
constexpr int kShelfSheet = 21;
constexpr int kFurnitureSheet = 20;
constexpr int kFurnitureCount = 8;
// The frame an empty slot shows (the sheet's first frame when it has fewer).
constexpr int kEmptyShelfFrame = 95;

// Floor cells of the slots and of the furniture pieces.
constexpr FloorStep kShelfCells[kShelfSlots] = {{4, 2}, {3, 4}, {7, 3}, {7, 2}, {7, 1},
                                                {7, 0}, {1, 3}, {1, 2}, {1, 1}, {1, 0}};
constexpr FloorStep kFurnitureCells[kFurnitureCount] = {{4, 4}, {5, 4}, {1, 8},  {2, 9},
                                                        {4, 8}, {4, 9}, {5, 10}, {7, 7}};

// The shelf frame of item i: its shelf-picture row times the columns of sheet 21
// plus its stock tier; kEmptyShelfFrame for -1 (or any id that is no item).
int ShelfFrame(int item);

// One exhibition slot's sprite, standing on the slot's floor cell.
class Goods {
public:
    Goods(int slot, int item);
    ~Goods();
    Goods(const Goods&) = delete;
    Goods& operator=(const Goods&) = delete;

    // Shows item i (-1 = empty).
    void ShowItem(int item);

    SPMan* Sprite() const { return sprite_.get(); }
    int X() const { return x_; }
    int Y() const { return y_; }

private:
    std::unique_ptr<SPMan> sprite_;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
};

extern Goods* ShelfSlots[kShelfSlots];
extern SPMan* FurnitureSprites[kFurnitureCount];
extern bool FurnitureCreated;

// A Goods for SlotItem(slot), slots 9 down to 0 (any held before are replaced);
// marks the sprites for redraw.
void CreateShelfSlots();
// Deletes the ten slots and their sprites; marks for redraw.
void DestroyShelfSlots();
// The slot's frame from its current SlotItem; marks for redraw.
void RefreshShelfSlot(int slot);
void RefreshAllShelfSlots();
// The slot's frame for `item` (-1 = empty) whatever the slot holds; marks for redraw.
void ShowShelfItem(int slot, int item);
// Once: the eight furniture sprites, shown and transparent, in layer 0.
void CreateFurniture();
// When they exist: deletes them.
void DestroyFurniture();
