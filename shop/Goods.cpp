#include "shop/Goods.h"

#include "shop/GameState.h"

Goods* ShelfSlots[kShelfSlots] = {};
SPMan* FurnitureSprites[kFurnitureCount] = {};
bool FurnitureCreated = false;

namespace {

bool ValidSlot(int slot) { return slot >= 0 && slot < kShelfSlots; }

// A sprite of `sheet` standing on floor cell (gx, gy), shown and transparent.
std::unique_ptr<SPMan> FloorSprite(int sheet, FloorStep cell, int frame, std::int32_t* x,
                                   std::int32_t* y) {
    int w = 0, h = 0;
    if (const SPManChips* s = SpriteSheet(sheet)) {
        w = s->FrameWidth;
        h = s->FrameHeight;
    }
    *x = FloorSpriteX(cell.dx, cell.dy, w);
    *y = FloorSpriteY(cell.dx, cell.dy, h);
    auto sprite = std::make_unique<SPMan>(0, sheet, *y, *x, FloorDepth(*x, *y, w, h), frame);
    sprite->Show();
    sprite->SetTransparent();
    return sprite;
}

}  // namespace

int ShelfFrame(int item) {
    if (item < 0 || item >= kItemCount) return kEmptyShelfFrame;
    const SPManChips* s = SpriteSheet(kShelfSheet);
    const int columns = s ? s->Columns : 0;
    return ItemShelfRow(item) * columns + StockTier(item);
}

Goods::Goods(int slot, int item) {
    sprite_ = FloorSprite(kShelfSheet, kShelfCells[ValidSlot(slot) ? slot : 0], ShelfFrame(item),
                          &x_, &y_);
}

Goods::~Goods() = default;

void Goods::ShowItem(int item) { sprite_->SetFrame(ShelfFrame(item)); }

void CreateShelfSlots() {
    for (int slot = kShelfSlots - 1; slot >= 0; --slot) {
        delete ShelfSlots[slot];
        ShelfSlots[slot] = new Goods(slot, SlotItem(slot));
    }
    InvalidateSprites();
}

void DestroyShelfSlots() {
    for (Goods*& g : ShelfSlots) {
        delete g;
        g = nullptr;
    }
    InvalidateSprites();
}

void ShowShelfItem(int slot, int item) {
    if (!ValidSlot(slot) || !ShelfSlots[slot]) return;
    ShelfSlots[slot]->ShowItem(item);
    InvalidateSprites();
}

void RefreshShelfSlot(int slot) {
    if (!ValidSlot(slot)) return;
    ShowShelfItem(slot, SlotItem(slot));
}

void RefreshAllShelfSlots() {
    for (int slot = 0; slot < kShelfSlots; ++slot) RefreshShelfSlot(slot);
}

void CreateFurniture() {
    if (FurnitureCreated) return;
    for (int k = 0; k < kFurnitureCount; ++k) {
        std::int32_t x = 0, y = 0;
        FurnitureSprites[k] = FloorSprite(kFurnitureSheet, kFurnitureCells[k], k, &x, &y).release();
    }
    FurnitureCreated = true;
}

void DestroyFurniture() {
    if (!FurnitureCreated) return;
    for (SPMan*& s : FurnitureSprites) {
        delete s;
        s = nullptr;
    }
    FurnitureCreated = false;
}
