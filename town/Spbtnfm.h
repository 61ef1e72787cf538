#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "platform/Form.h"

// The choice window: two or three option buttons over the message window's page
// background, each caption drawn into its button's glyph as Big5 cells in the caption
// colour. A click stores the option's index (0, 1 or 2) through the result pointer and
// closes the window, which the caller shows modally.

constexpr int kChoiceButtons = 3;

class TBtnForm : public ui::Form {
public:
    TBtnForm();
    ~TBtnForm() override;

    ui::SpeedButton* m_Sbt1;
    ui::SpeedButton* m_Sbt2;
    ui::SpeedButton* m_Sbt3;

    // The picture behind the buttons; the client area and the buttons take its width.
    void SetBackground(const ui::Bitmap& bitmap);
    // Lays out `count` buttons `margin` from the sides and `gap` apart, and fills their
    // glyphs with the background under them.
    void LayoutButtons(int count, int margin, int gap);
    // The captions' font (its height and face name) and colour.
    void SetFont(const ui::Font& font, ui::TColor color);
    // Copies `count` captions (at most three) and draws every non-empty one.
    void SetCaptions(const std::string* captions, int count);
    void SetCaptions(const std::array<std::string, kChoiceButtons>& captions) {
        SetCaptions(captions.data(), kChoiceButtons);
    }
    void SetResultPtr(std::int32_t* result);
    // Draws caption `index` into `glyph`, one c x c cell a character (c = the font's
    // pixel height), wrapping at the glyph's width; nothing falls outside the glyph.
    void DrawCaption(int index, ui::Bitmap& glyph);

    void m_Sbt1Click() { Choose(0); }
    void m_Sbt2Click() { Choose(1); }
    void m_Sbt3Click() { Choose(2); }
    void FormPaint();
    void FormMouseDown() {}
    // Only a chosen option closes the window: the close request is refused.
    void FormCloseQuery(bool& canClose);

    ui::SpeedButton* Button(int i) const { return buttons_[static_cast<std::size_t>(i)]; }
    const ui::Bitmap& Background() const { return m_Background; }
    const std::string& CaptionText(int i) const { return m_Captions[static_cast<std::size_t>(i)]; }
    int Count() const { return m_Count; }

    ui::Bitmap m_Background;
    std::array<std::string, kChoiceButtons> m_Captions{};
    int m_Count = 0;
    ui::TColor m_CaptionColor = ui::clBlack;
    std::int32_t* m_Result = nullptr;

    // Stores `index` as the answer and closes: the buttons' clicks; -1 ends the choice
    // without an answer.
    void Choose(int index);

private:
    std::array<ui::SpeedButton*, kChoiceButtons> buttons_{};
    bool chosen_ = false;
};

extern TBtnForm* BtnForm;
