#include "town/Rqform.h"

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/ItemPainters.h"
#include "shop/Shop.h"
#include "town/Orders.h"
#include "town/Srcdbtxtform21.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 176;
constexpr int kLineBytes = 40;
constexpr int kTextLabels = 5;
constexpr int kLabelLeft = 86;
constexpr int kLabelTops[kTextLabels] = {47, 64, 81, 99, 117};
constexpr int kButtonTop = 143;

int HeldCount(const std::array<OrderSlot, kOrderSlotCount>& orders) {
    int n = 0;
    for (const OrderSlot& o : orders)
        if (o.Deadline != 0) ++n;
    return n;
}

}  // namespace

ui::Bitmap OrderListPicture() {
    ui::Bitmap b(kWidth, kHeight);
    ui::Canvas& c = b.GetCanvas();
    c.Brush.Color = ui::RGB(236, 222, 186);
    c.FillRect(ui::Rect{0, 0, kWidth, kHeight});
    c.Brush.Color = ui::RGB(120, 84, 48);
    c.FillRect(ui::Rect{0, 0, kWidth, 3});
    c.FillRect(ui::Rect{0, kHeight - 3, kWidth, kHeight});
    c.FillRect(ui::Rect{0, 0, 3, kHeight});
    c.FillRect(ui::Rect{kWidth - 3, 0, kWidth, kHeight});
    c.FillRect(ui::Rect{12, 36, kWidth - 12, 37});
    c.Brush.Color = ui::RGB(236, 222, 186);
    c.Font.Color = ui::RGB(90, 50, 20);
    c.TextOut(12, 14, B5("訂單一覽"));
    c.Font.Color = ui::clBlack;
    c.TextOut(30, 47, B5("訂單"));
    c.TextOut(30, 99, B5("期限"));
    c.TextOut(30, 117, B5("報酬"));
    return b;
}

TRqFm::TRqFm() {
    Name = "RqFm";
    SetBorderStyle(ui::BorderStyle::bsNone);
    // The page comes from the shop pack; without it, a plain page keeps the list usable.
    if (!LoadShopPicture("RqForm.bmp", m_CntMain)) {
        ui::Record("error", "picture missing: RqForm.bmp");
        m_CntMain = OrderListPicture();
    }
    SetClientWidth(m_CntMain.Width());
    SetClientHeight(m_CntMain.Height());
    // The whole page drags the list; its title rows are the strip kept on the screen.
    SetDragStrip(ui::Rect{0, 0, m_CntMain.Width(), 36});

    m_PnlMain = Make<ui::Panel>();
    m_PnlMain->Name = "m_PnlMain";
    m_PnlMain->SetBevelOuter(ui::BevelCut::bvNone);
    m_PnlMain->SetBounds(0, 0, m_CntMain.Width(), m_CntMain.Height());
    m_ImgMain = m_PnlMain->Make<ui::Image>();
    m_ImgMain->Name = "m_ImgMain";
    m_ImgMain->SetBounds(0, 0, m_CntMain.Width(), m_CntMain.Height());
    m_ImgMain->SetPicture(m_CntMain);
    m_ImgMain->OnMouseDown = [this](ui::Control&, ui::MouseButton b, ui::ShiftState, int, int) {
        m_PnlMainMouseDown(b);
    };
    m_PnlMain->OnMouseDown = m_ImgMain->OnMouseDown;

    ui::Label** labels[kTextLabels] = {&m_LblCap0, &m_LblCap1, &m_LblCap2, &m_LblClose, &m_LblRwd};
    const char* names[kTextLabels] = {"m_LblCap0", "m_LblCap1", "m_LblCap2", "m_LblClose",
                                      "m_LblRwd"};
    for (int i = 0; i < kTextLabels; ++i) {
        ui::Label* l = m_PnlMain->Make<ui::Label>();
        l->Name = names[i];
        l->SetTransparent(true);
        l->SetBounds(kLabelLeft, kLabelTops[i], kWidth - kLabelLeft - 8, 16);
        l->SetCaption("");
        *labels[i] = l;
    }

    auto button = [this](const char* name, const char* caption, int left) {
        ui::SpeedButton* b = m_PnlMain->Make<ui::SpeedButton>();
        b->Name = name;
        b->SetCaption(B5(caption));
        b->SetBounds(left, kButtonTop, 64, 22);
        return b;
    };
    m_BtnPre = button("m_BtnPre", "上一頁", 76);
    m_BtnNxt = button("m_BtnNxt", "下一頁", 155);
    m_BtnHide = button("m_BtnHide", "關閉", 247);
    m_BtnPre->OnClick = [this](ui::Control&) { m_BtnPreClick(); };
    m_BtnNxt->OnClick = [this](ui::Control&) { m_BtnNxtClick(); };
    m_BtnHide->OnClick = [this](ui::Control&) { m_BtnHideClick(); };

    Label1 = m_PnlMain->Make<ui::Label>();
    Label1->Name = "Label1";
    Label1->SetTransparent(true);
    Label1->SetBounds(m_BtnPre->Left() - 60, kButtonTop + 3, 50, 16);

    OnShow = [this](ui::Form&) { FormShow(); };
    OnCloseQuery = [](ui::Form&, bool& canClose) { canClose = true; };
}

TRqFm::~TRqFm() = default;

ui::Label* TRqFm::TextLabel(int i) const {
    switch (i) {
        case 0:
            return m_LblCap0;
        case 1:
            return m_LblCap1;
        case 2:
            return m_LblCap2;
        case 3:
            return m_LblClose;
        case 4:
            return m_LblRwd;
        default:
            return nullptr;
    }
}

std::string TRqFm::ToFullWidthDigits(std::string_view big5) { return ::ToFullWidthDigits(big5); }

void TRqFm::WrapOrderText(const std::string& text) {
    std::size_t pos = 0;
    for (int label = 0; label < kTextLabels && pos < text.size(); ++label) {
        std::size_t end = pos;
        bool lineFeed = false;
        while (end < text.size() && end - pos < kLineBytes) {
            if (text[end] == '\n') {
                lineFeed = true;
                break;
            }
            const std::size_t step = ui::IsBig5Lead(static_cast<unsigned char>(text[end])) ? 2 : 1;
            if (end + step - pos > kLineBytes) break;  // the character goes to the next line
            end += step;
        }
        if (end > text.size()) end = text.size();
        TextLabel(label)->SetCaption(text.substr(pos, end - pos));
        pos = end + (lineFeed ? 1 : 0);
    }
}

void TRqFm::FormShow() {
    m_Page = 0;
    m_ImgMain->SetPicture(m_CntMain);
    ShowOrderPage();
    int sx = 0, sy = 0, sw = 640, sh = 480;
    if (ShopForm) {
        sx = ShopForm->Left();
        sy = ShopForm->Top();
        sw = ShopForm->Width();
        sh = ShopForm->Height();
    }
    SetBounds(sx + (sw - Width()) / 2, sy + sh / 4, Width(), Height());
}

void TRqFm::ShowOrderPage() {
    for (int i = 0; i < kTextLabels; ++i) TextLabel(i)->SetCaption("");
    if (!m_Orders || !m_PageTexts) return;
    const OrderSlot& o = (*m_Orders)[m_Page];
    WrapOrderText(ToFullWidthDigits((*m_PageTexts)[m_Page]));
    if (o.Deadline > 0) {
        m_LblClose->SetCaption(OrderDateText(o.Deadline));
        if (o.Reward >= 0) m_LblRwd->SetCaption(ToFullWidthDigits(std::to_string(o.Reward)));
    }
    m_BtnPre->SetEnabled(m_Page > 0);
    m_BtnNxt->SetEnabled(m_Page + 1 < kOrderSlotCount && (*m_Orders)[m_Page + 1].Deadline > 0);
    const int count = HeldCount(*m_Orders);
    Label1->SetCaption(std::to_string(m_Page + 1) + "/" + std::to_string(count ? count : 1));
    ui::RecordBig5("orders", m_LblCap0->Caption() + " " + m_LblClose->Caption() + " " +
                                 m_LblRwd->Caption() + " " + Label1->Caption());
}

void TRqFm::m_BtnPreClick() {
    if (m_Page <= 0) return;
    --m_Page;
    ShowOrderPage();
}

void TRqFm::m_BtnNxtClick() {
    if (!m_Orders || m_Page + 1 >= kOrderSlotCount || (*m_Orders)[m_Page + 1].Deadline <= 0) return;
    ++m_Page;
    ShowOrderPage();
}

void TRqFm::m_BtnHideClick() { Hide(); }

void TRqFm::m_PnlMainMouseDown(ui::MouseButton button) {
    if (button != ui::MouseButton::mbLeft) return;
    m_Dragging = true;
    DragMove();
    m_Dragging = false;
}

void TEventServerDbg::ShowOrderList() {
    std::array<std::string, kOrderSlotCount> texts;
    for (int i = 0; i < kOrderSlotCount; ++i) {
        const int id = Orders[i].Id;
        texts[i] = OrderTexts()[(id >= 0 && id < kOrderTextCount) ? id : 0];
    }
    TRqFm form;
    form.m_Orders = &Orders;
    form.m_PageTexts = &texts;
    form.ShowModal();
}
