#pragma once
#include <array>
#include <string>

#include "platform/Controls.h"
#include "platform/DevControls.h"
#include "platform/Form.h"

// The developer's view of the day's demand (需要): 16 goods rows over a scroll bar,
// each with the goods' name, its nine demand cells in the order of the open hours
// (255 marks a cell used up) and its exhibition mark. It belongs to the customers'
// object (TDemandForm), which makes it on first show, redraws it after every demand
// generation and spawning step while it is visible, and deletes it with itself.
// Closing it only hides it.
class TDemandView : public ui::Form {
public:
    TDemandView();
    TDemandView(const TDemandView&) = delete;
    TDemandView& operator=(const TDemandView&) = delete;

    static constexpr int kRows = 16;
    // The header over the cells: the open hours 10..18 on a 12-hour clock.
    static constexpr const char* kHeader = "10 11 12  1  2  3  4  5  6";

    void Redraw();
    // The cells of goods g in open-hour order, "%2d" each, one space between; a column
    // the day has no hour for yet shows " -".
    static std::string CellsText(int goods);

    // --- Components ---
    ui::ScrollBar* ScrollBar1 = nullptr;
    ui::Label* Header = nullptr;
    std::array<ui::Label*, kRows> DbItemName{};
    std::array<ui::Label*, kRows> DbItemNum{};
    std::array<ui::Label*, kRows> DbItemExhibition{};
};
