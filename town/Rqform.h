#pragma once
#include <array>
#include <string>
#include <string_view>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "town/Evsrvfm.h"

// The order list: one page per held order with its title, its deadline as a date and
// its reward, previous and next buttons and a page counter. Shown modally by
// TEventServerDbg::ShowOrderList.
class TRqFm : public ui::Form {
public:
    TRqFm();
    ~TRqFm() override;

    ui::Panel* m_PnlMain = nullptr;
    ui::Image* m_ImgMain = nullptr;
    ui::Label* m_LblCap0 = nullptr;
    ui::Label* m_LblCap1 = nullptr;
    ui::Label* m_LblCap2 = nullptr;
    ui::Label* m_LblClose = nullptr;  // the deadline
    ui::Label* m_LblRwd = nullptr;    // the reward
    ui::Label* Label1 = nullptr;      // the page counter
    ui::SpeedButton* m_BtnPre = nullptr;
    ui::SpeedButton* m_BtnNxt = nullptr;
    ui::SpeedButton* m_BtnHide = nullptr;
    ui::Bitmap m_CntMain;  // the window's picture

    int m_Page = 0;
    bool m_Dragging = false;
    const std::array<OrderSlot, kOrderSlotCount>* m_Orders = nullptr;
    const std::array<std::string, kOrderSlotCount>* m_PageTexts = nullptr;

    void FormShow();
    void ShowOrderPage();
    void m_BtnPreClick();
    void m_BtnNxtClick();
    void m_BtnHideClick();
    void m_PnlMainMouseDown(ui::MouseButton button);

    static std::string ToFullWidthDigits(std::string_view big5);
    // Fills the five labels, a line each, from `text`: at most 40 bytes a line, never
    // splitting a two-byte character, a line feed ending a line early.
    void WrapOrderText(const std::string& text);
    ui::Label* TextLabel(int i) const;
};

// The plain page the order list shows when the shop pack has no picture for it.
ui::Bitmap OrderListPicture();
