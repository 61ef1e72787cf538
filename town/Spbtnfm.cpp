#include "town/Spbtnfm.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Canvas.h"
#include "town/Eventf.h"

TBtnForm* BtnForm = nullptr;

namespace {

// An option button: flat, and see-through where its glyph is keyed out (the glyph's
// lower-left mark), where the window's own background shows, as under a flat button
// that paints no face of its own. Pressed, it sinks by a pixel in a thin frame.
class ChoiceButton : public ui::SpeedButton {
public:
    ChoiceButton(ui::WinControl* parent, const ui::Bitmap& background)
        : ui::SpeedButton(parent), background_(background) {}

    void Paint(ui::Canvas& canvas) override {
        const ui::ButtonState s = State();
        const bool pressed = s == ui::ButtonState::bsDown || s == ui::ButtonState::bsExclusive;
        ui::Rect r = ClientRect();
        if (!background_.Empty())
            canvas.BitBlt(0, 0, r.Width(), r.Height(), &background_, Left(), Top(), ui::SRCCOPY);
        PaintGlyphAndCaption(canvas, r, s, pressed);
        if (pressed) ui::Frame3D(canvas, r, ui::clBtnShadow, ui::clBtnHighlight, 1);
    }

private:
    const ui::Bitmap& background_;
};

}  // namespace

TBtnForm::TBtnForm() {
    Name = "BtnForm";
    SetFormStyle(ui::FormStyle::fsStayOnTop);
    EraseBackground = false;  // the background picture covers the window
    m_Sbt1 = Make<ChoiceButton>(m_Background);
    m_Sbt2 = Make<ChoiceButton>(m_Background);
    m_Sbt3 = Make<ChoiceButton>(m_Background);
    buttons_ = {m_Sbt1, m_Sbt2, m_Sbt3};
    const char* names[kChoiceButtons] = {"m_Sbt1", "m_Sbt2", "m_Sbt3"};
    for (int i = 0; i < kChoiceButtons; ++i) {
        ui::SpeedButton* b = buttons_[static_cast<std::size_t>(i)];
        b->Name = names[i];
        b->SetBounds(8, 8 + i * 40, 145, 32);
        b->SetFlat(true);
        b->SetMargin(0);
    }
    m_Sbt1->OnClick = [this](ui::Control&) { m_Sbt1Click(); };
    m_Sbt2->OnClick = [this](ui::Control&) { m_Sbt2Click(); };
    m_Sbt3->OnClick = [this](ui::Control&) { m_Sbt3Click(); };
    OnShow = [this](ui::Form&) { chosen_ = false; };  // every show waits for a new choice
    OnPaint = [this](ui::Form&) { FormPaint(); };
    OnCloseQuery = [this](ui::Form&, bool& canClose) { FormCloseQuery(canClose); };
}

TBtnForm::~TBtnForm() {
    if (BtnForm == this) BtnForm = nullptr;
}

void TBtnForm::SetBackground(const ui::Bitmap& bitmap) {
    m_Background = bitmap;
    m_Background.SetFormat(ui::PixelFormat::pf24bit);
    SetClientWidth(m_Background.Width());
    SetClientHeight(m_Background.Height());
    for (ui::SpeedButton* b : buttons_) b->SetWidth(m_Background.Width());
}

void TBtnForm::LayoutButtons(int count, int margin, int gap) {
    m_Count = std::clamp(count, 1, kChoiceButtons);
    const int h = (ClientHeight() - (m_Count + 1) * gap) / m_Count;
    int top = gap;
    for (ui::SpeedButton* b : buttons_) {
        b->SetBounds(margin, top, b->Width() - 2 * margin, h);
        top += h + gap;
    }
    Repaint();
    for (ui::SpeedButton* b : buttons_) {
        ui::Bitmap glyph(std::max(b->Width(), 1), std::max(h, 1));
        glyph.GetCanvas().BitBlt(0, 0, glyph.Width(), glyph.Height(), &m_Background, b->Left(),
                                 b->Top(), ui::SRCCOPY);
        // The glyph's transparent colour is its lower-left pixel: a blue mark there keeps
        // the background's own colours from being keyed out.
        ui::Canvas& c = glyph.GetCanvas();
        c.Brush.Color = ui::clBlue;
        c.Brush.Style = ui::BrushStyle::bsSolid;
        c.FillRect(ui::Rect{0, glyph.Height() - 2, 2, glyph.Height()});
        b->SetGlyph(glyph);
    }
}

void TBtnForm::SetFont(const ui::Font& font, ui::TColor color) {
    ui::Font f = GetFont();
    f.Height = font.Height;
    f.Name = font.Name;
    ui::Form::SetFont(f);
    m_CaptionColor = color;
}

void TBtnForm::SetCaptions(const std::string* captions, int count) {
    count = std::clamp(count, 0, kChoiceButtons);
    for (int i = 0; i < count; ++i) m_Captions[static_cast<std::size_t>(i)] = captions[i];
    for (int i = 0; i < kChoiceButtons; ++i) {
        if (m_Captions[static_cast<std::size_t>(i)].empty()) continue;
        ui::SpeedButton* b = buttons_[static_cast<std::size_t>(i)];
        DrawCaption(i, b->Glyph());
        b->Invalidate();
    }
}

void TBtnForm::SetResultPtr(std::int32_t* result) { m_Result = result; }

void TBtnForm::DrawCaption(int index, ui::Bitmap& glyph) {
    if (index < 0 || index >= kChoiceButtons || glyph.Empty()) return;
    const std::string& text = m_Captions[static_cast<std::size_t>(index)];
    const int c = std::max(1, std::abs(GetFont().Height));
    ui::Bitmap cell(c, c);
    ui::Bitmap colour(c, c);
    ui::Canvas& cc = cell.GetCanvas();
    cc.Font = GetFont();
    cc.Font.Height = c;
    cc.Font.Color = ui::clBlack;
    ui::Canvas& gc = glyph.GetCanvas();
    const int width = buttons_[static_cast<std::size_t>(index)]->Width();
    int x = 0, y = 0;
    std::size_t pos = 0;
    while (pos < text.size() && y < glyph.Height()) {
        const unsigned char b = static_cast<unsigned char>(text[pos]);
        const std::size_t len = (b >= 0x80 && pos + 1 < text.size()) ? 2 : 1;
        const std::string_view ch(text.data() + pos, len);
        pos += len;
        if (b == '\n') {
            y += c;
            x = 0;
            continue;
        }
        cc.Brush.Color = ui::clWhite;
        cc.Brush.Style = ui::BrushStyle::bsSolid;
        cc.FillRect(ui::Rect{0, 0, c, c});
        cc.TextOut(0, 0, ch);
        ui::Canvas& kc = colour.GetCanvas();
        kc.Brush.Color = m_CaptionColor;
        kc.Brush.Style = ui::BrushStyle::bsSolid;
        kc.FillRect(ui::Rect{0, 0, c, c});
        // The blits clip to the glyph, so a caption never spills out of its button.
        gc.BitBlt(x, y, c, c, &cell, 0, 0, ui::SRCERASE);
        kc.BitBlt(0, 0, c, c, &cell, 0, 0, ui::SRCPAINT);
        gc.BitBlt(x, y, c, c, &colour, 0, 0, ui::SRCINVERT);
        x += c;
        if (x + c > width) {
            x = 0;
            y += c;
        }
    }
    glyph.Changed();
}

void TBtnForm::Choose(int index) {
    if (m_Result != nullptr) *m_Result = index;
    chosen_ = true;
    Close();
}

void TBtnForm::FormPaint() {
    if (!m_Background.Empty()) GetCanvas().Draw(0, 0, m_Background);
}

void TBtnForm::FormCloseQuery(bool& canClose) { canClose = chosen_; }
