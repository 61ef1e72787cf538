#pragma once
// The shop notebook (經營記事本): a small menu of reports. Today's and yesterday's sales
// report, the sales graph of one item over the year, the customers' wishes of the day
// and the order list.
#include <string>

#include "shop/GameDialog.h"

class TNoteForm : public TGameDialog {
public:
    TNoteForm();
    ~TNoteForm() override;

    TCHBcSpeedButton* TodayButton = nullptr;
    TCHBcSpeedButton* YesterdayButton = nullptr;
    TCHBcSpeedButton* GraphButton = nullptr;
    TCHBcSpeedButton* UsersButton = nullptr;
    TCHBcSpeedButton* RequestButton = nullptr;

    // Placed where it was last left; the wishes need the shop (not while she is in
    // town); shown.
    void DispNote();
    // Today's report (sound 70 first at 19:00 or later on a day the shop opens) or
    // yesterday's; the notebook hides behind it.
    void TodayButtonClick();
    void YesterdayButtonClick();
    void GraphButtonClick();
    // The day's customer messages in the message window (only in the shop phase).
    void UsersButtonClick();
    // The order list, with the notebook hidden meanwhile.
    void RequestButtonClick();
    void CloseButtonClick() override;

protected:
    void ClearFormVariable() override;

private:
    void OpenSales(bool today);
};

// The wishes text: a line for each of the day's customer messages, or "沒有任何訊息。"
// when there is none (Big5).
std::string CustomerWishesText();

// After a report the notebook opened is closed: the notebook again when it is open,
// else the shop's menus.
void BackToNotebook();

// Opens the notebook unless it is open (the shop's 經營記事本).
void OpenNote();
// Opens the notebook and waits, pumping messages, until it and the reports it opened
// are closed (the event server's and the map's menu buttons).
void RunNotebookWindow();
