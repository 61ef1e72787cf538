#pragma once
// The six save slots in a list, to save into or load from, and the save and load flows
// that lead through it: the save at bedtime, the load from the system menu and the
// title's Continue.
#include "platform/Controls.h"
#include "shop/GameDialog.h"
#include "shop/Savefile.h"

class TSaveLoadListForm : public TGameDialog {
public:
    TSaveLoadListForm();
    ~TSaveLoadListForm() override;

    ui::Image* ImageTag = nullptr;
    ui::Label* Label1 = nullptr;
    ui::Label* Day[kSaveSlotCount] = {};
    ui::Label* Money[kSaveSlotCount] = {};

    // 0 load, 1 save: the heading, the tag picture (save only) and each slot's day and
    // money read from its file; centres the window on the shop window.
    void SetListMode(int mode);
    int ListMode() const { return mode_; }
    bool SlotOccupied(int slot) const { return state_[slot] == SlotState::kSaved; }
    SlotState SlotStateOf(int slot) const { return state_[slot]; }
    // The labels of `slot` red, the others black.
    void SlotMouseMove(int slot);
    // Result 3 + slot, bit 31 set when the slot is empty; an empty or damaged slot does
    // nothing when loading (saving over a damaged one asks first, as over a game).
    void SlotClick(int slot);
    void CloseButtonClick() override { Finish(kListClosed); }
    bool CloseQuery() override { return finishing_; }

    static constexpr int kListClosed = 2;
    static constexpr int kFirstSlotResult = 3;
    static constexpr unsigned kEmptySlotBit = 0x80000000u;

protected:
    void ClearFormVariable() override;

private:
    void Finish(int result);
    int mode_ = 0;
    SlotState state_[kSaveSlotCount] = {};
    bool finishing_ = false;
};

extern TSaveLoadListForm* SaveLoadListForm;

// The save offer: "save?", the list in save mode (an occupied slot asks to overwrite;
// No goes back to the list), the save and the system file, then "saved" or "failed".
// True when the game was saved.
bool SaveGameFlow();
// "load?" and, on Yes, LoadFromListFlow.
bool LoadGameFlow();
// The list in load mode; the chosen slot and the system file are read and checked
// before anything changes; on success the heroine wakes in the 2F room's morning.
bool LoadFromListFlow();
