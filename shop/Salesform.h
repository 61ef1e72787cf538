#pragma once
// The sales report (營業報告) of today or of yesterday: the goods that lay on the
// exhibition slots that day, packed from the top, with their numbers and how many of
// each were sold; the day's visitors and takings and the money she has. Today's report
// follows the sales while it is open.
#include <array>

#include "shop/GameDialog.h"

class TSalesForm : public TGameDialog {
public:
    TSalesForm();
    ~TSalesForm() override;

    struct Row {
        ui::Image* Icon;
        ui::Label *ItemName, *Attribute, *Price, *Stock, *Reserve, *Total, *Exhibition, *SalesNum;
    };
    std::array<Row, 10> Rows;
    ui::Label* Guest = nullptr;      // visitors
    ui::Label* SalesGold = nullptr;  // the day's takings
    ui::Label* TotalGold = nullptr;  // her money
    ui::Image* Image2 = nullptr;     // the yesterday marks
    ui::Image* Image3 = nullptr;
    bool Today = true;

    void DispSales(bool today);
    void DrawSalesPanel();
    // Live updates of today's report, told by the sales rules.
    void RefreshSlotRow(int slot);
    void RefreshVisitors();
    void RefreshRevenue();
    void RefreshMoney();
    // Closes and shows the notebook again.
    void CloseButtonClick() override;

protected:
    void ClearFormVariable() override;

private:
    void DrawRow(int row, int item);
    int ReportDay() const;
    void DrawVisitors(int day);
    void DrawRevenue(int day);
};
