#pragma once
// The sales graph: one known shop item at a time, its numbers and how many were sold on
// each day of the year so far, a bar per day. The scale is 4 px per unit, 2 px once a
// day reaches 20 and 1 px once a day reaches 40; the attribute buttons keep the paging
// to one attribute.
#include <array>

#include "platform/Bitmap.h"
#include "shop/GameDialog.h"

class TGraphForm : public TGameDialog {
public:
    TGraphForm();
    ~TGraphForm() override;

    ui::Image* ItemIcon = nullptr;
    ui::Label *ItemName00, *Attribute00, *Price00, *Stock00, *Reserve00, *Total00, *Exhibition00;
    ui::Label* SalesNum = nullptr;   // units sold over the year so far
    ui::Label* SalesGold = nullptr;  // takings over the year so far
    ui::Label* Page = nullptr;
    std::array<TCHBcSpeedButton*, 6> AtrButton{};
    TCHBcSpeedButton* BackButton = nullptr;
    TCHBcSpeedButton* NextButton = nullptr;
    // The scale marks beside the plot, one shown for 1, 2 or 4 px per unit.
    ui::Image *NumImg1, *NumImg2, *NumImg4;

    int Item = 0;
    int AttributeFilter = -1;

    void DispGraph();
    void DrawItemGraph();
    void PrevGraphItem();
    void NextGraphItem();
    // A toggle of attribute `tag` (0..5) went down or up.
    void AtrButtonClick(int tag);
    // Closes and shows the notebook again.
    void CloseButtonClick() override;

    // The plot's place in Image1: bars stand on row 223 from x 109 (day 0).
    static constexpr int kPlotLeft = 109;
    static constexpr int kPlotTop = 145;
    static constexpr int kPlotBottom = 224;

protected:
    void ClearFormVariable() override;

private:
    bool Matches(int item) const;
    void Step(int delta);
    ui::Bitmap background_;
};
