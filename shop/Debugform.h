#pragma once
#include <array>

#include "platform/Controls.h"
#include "platform/DevControls.h"
#include "platform/Form.h"
#include "platform/Input.h"

// The developer's parameter window (參數): the stock and known flag of every item, 16
// rows over a scroll bar, and the heroine's condition, level, money, reputation, month
// and day. A left press on a number or a mark adds, a right press subtracts; every
// change redraws the rows and the labels. Made from the shop's developer menu, freed
// when it is closed.
class TDebugForm : public ui::Form {
public:
    TDebugForm();
    ~TDebugForm() override;
    TDebugForm(const TDebugForm&) = delete;
    TDebugForm& operator=(const TDebugForm&) = delete;

    static constexpr int kRows = 16;

    // Shows the window with `first` as the first row.
    void Disp(int first);
    // Redraws the rows from the scroll position and the labels.
    void Redraw();

    // --- Components ---
    ui::ScrollBar* ScrollBar1 = nullptr;
    ui::Label* DbItemNameHeader = nullptr;
    ui::Label* DbItemNum = nullptr;   // the stock column's header
    ui::Label* DbItemShow = nullptr;  // the known column's header
    std::array<ui::Label*, kRows> DbItemName{};
    std::array<ui::Label*, kRows> DbItemNumRow{};
    std::array<ui::Label*, kRows> DbItemShowRow{};
    ui::Label* Condition = nullptr;
    ui::Label* Level = nullptr;
    ui::Label* Money = nullptr;
    ui::Label* Popularity = nullptr;
    ui::Label* Month = nullptr;
    ui::Label* Day = nullptr;

    // --- Handlers: `right` for a right press (subtract) ---
    void DbItemNumHeaderPress(bool right, ui::ShiftState shift);
    void DbItemNumPress(int row, bool right, ui::ShiftState shift);
    void DbItemShowHeaderDblClick();
    void DbItemShowPress(int row);
    void ConditionClick();
    void LevelPress(bool right);
    void MoneyPress(bool right, ui::ShiftState shift);
    void PopularityPress(bool right, ui::ShiftState shift);
    void MonthPress(bool right);
    void DayPress(bool right);

    // The item shown in a row (-1 past the last item).
    int RowItem(int row) const;

private:
    bool allKnownNext_ = true;  // what the next double click on the known header does
};

extern TDebugForm* DebugForm;
