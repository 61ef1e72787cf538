#pragma once
#include <array>
#include <functional>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "skin/CHBmpCnt.h"
#include "skin/CHPNTBTN.h"
#include "skin/CHSPDBTN.h"

// Buttons drawn from a skin sheet: a strip of equal glyph cells (normal, disabled,
// pressed, held down, focused, default) read from a container by a TCHBcReader, with
// the caption drawn over it up to three times, in a highlight, a shadow and a face
// colour. TCHBcSpeedButton and TCHBcBitBtn share one painter, CHBcPaintButton.

// The caption colours: three sets (0 disabled, 1 down, 2 up) of face, highlight and
// shadow; clNone leaves that pass out. Used only while Enabled.
class TCHBtnCaptionColor {
public:
    enum Index {
        kDisabledFace,
        kDisabledHighlight,
        kDisabledShadow,
        kDownFace,
        kDownHighlight,
        kDownShadow,
        kUpFace,
        kUpHighlight,
        kUpShadow,
    };

    explicit TCHBtnCaptionColor(std::function<void()> ownerChange = {});

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    ui::TColor Color(int index) const { return colors_[static_cast<std::size_t>(index)]; }
    // Index 0..8; others are ignored.
    void SetColor(int index, ui::TColor color);

    ui::TColor ClDisabledFace() const { return Color(kDisabledFace); }
    ui::TColor ClDisabledHighlight() const { return Color(kDisabledHighlight); }
    ui::TColor ClDisabledShadow() const { return Color(kDisabledShadow); }
    ui::TColor ClDownFace() const { return Color(kDownFace); }
    ui::TColor ClDownHighlight() const { return Color(kDownHighlight); }
    ui::TColor ClDownShadow() const { return Color(kDownShadow); }
    ui::TColor ClUpFace() const { return Color(kUpFace); }
    ui::TColor ClUpHighlight() const { return Color(kUpHighlight); }
    ui::TColor ClUpShadow() const { return Color(kUpShadow); }
    void SetClDisabledFace(ui::TColor c) { SetColor(kDisabledFace, c); }
    void SetClDisabledHighlight(ui::TColor c) { SetColor(kDisabledHighlight, c); }
    void SetClDisabledShadow(ui::TColor c) { SetColor(kDisabledShadow, c); }
    void SetClDownFace(ui::TColor c) { SetColor(kDownFace, c); }
    void SetClDownHighlight(ui::TColor c) { SetColor(kDownHighlight, c); }
    void SetClDownShadow(ui::TColor c) { SetColor(kDownShadow, c); }
    void SetClUpFace(ui::TColor c) { SetColor(kUpFace, c); }
    void SetClUpHighlight(ui::TColor c) { SetColor(kUpHighlight, c); }
    void SetClUpShadow(ui::TColor c) { SetColor(kUpShadow, c); }

    std::function<void()> OwnerChange;

private:
    bool enabled_ = false;
    std::array<ui::TColor, 9> colors_;
};

// Button states as the painter takes them.
enum { kChBtnUp = 0, kChBtnDisabled = 1, kChBtnDown = 2, kChBtnHeld = 3 };

// The glyph cell (0 normal, 1 disabled, 2 pressed, 3 held down, 4 focused, 5 default)
// and the caption colour set (0 disabled, 1 down, 2 up) of a state, with A (focused)
// and B (draws the focus and is the default) and N glyph cells.
struct CHBcButtonLook {
    int cell;
    int colorSet;
    bool operator==(const CHBcButtonLook&) const = default;
};
CHBcButtonLook CHBcButtonCell(int state, bool a, bool b, int numGlyphs);

// The three caption colours (face, highlight, shadow) the painter uses in a state.
struct CHBcCaptionColors {
    ui::TColor face;
    ui::TColor highlight;
    ui::TColor shadow;
    bool operator==(const CHBcCaptionColors&) const = default;
};
CHBcCaptionColors CHBcCaptionColorsFor(const TCHBtnCaptionColor& colors, int state,
                                       ui::TColor fontColor);

// Paints a skinned button: the glyph cell over the whole client rectangle (or the
// standard face without cells or sheet), the caption in up to three passes, and with B
// the focus rectangle. `captionPos` x >= 0 / y >= 0 place the caption from the left /
// top, else it is centred.
void CHBcPaintButton(const TCHBtnCaptionColor& colors, ui::Canvas& canvas, const ui::Rect& client,
                     bool a, bool b, int state, ui::Point downOffset, ui::Point captionPos,
                     const ui::Font& font, const std::string& caption, int numGlyphs,
                     const ui::Rect& glyphRect, const ui::Bitmap* sheet);

// What the two skinned buttons share: caption colours, glyph cells and their reader,
// the caption's shift while pressed, and sizing to one cell.
class CHBcButtonSkin {
public:
    // `owner` is the button; `repaint` invalidates it; `caption` names the setter in
    // the refusal message.
    CHBcButtonSkin(ui::Control& owner, const char* caption);

    TCHBtnCaptionColor CaptionColor;
    TCHBcReader Glyph;

    int NumGlyphs() const { return numGlyphs_; }
    // 0..6 are taken; any other value shows a message box and changes nothing.
    void SetNumGlyphs(int n);
    int CaptionDownOffsetX() const { return downX_; }
    int CaptionDownOffsetY() const { return downY_; }
    void SetCaptionDownOffsetX(int v);
    void SetCaptionDownOffsetY(int v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    // The sheet's colour table, or null.
    const ui::Palette* GetPalette() const;

    void Paint(ui::Canvas& canvas, int state, bool a, bool b, int spacing, int margin);

private:
    void GlyphChanged();
    void ApplyAutoSize();

    ui::Control& owner_;
    const char* caption_;
    int numGlyphs_ = 0;
    int downX_ = 1;
    int downY_ = 1;
    bool autoSize_ = false;
};

// A button `Base` with a CHBcButtonSkin, and the skin's properties as its own.
template <class Base>
class CHBcSkinned : public Base {
public:
    // `caption` names the NumGlyphs setter in its refusal message.
    CHBcSkinned(ui::WinControl* parent, const char* caption)
        : Base(parent), skin_(*this, caption) {}

    TCHBtnCaptionColor& CaptionColor() { return skin_.CaptionColor; }
    TCHBcReader& Glyph() { return skin_.Glyph; }
    int NumGlyphs() const { return skin_.NumGlyphs(); }
    void SetNumGlyphs(int n) { skin_.SetNumGlyphs(n); }
    int CaptionDownOffsetX() const { return skin_.CaptionDownOffsetX(); }
    int CaptionDownOffsetY() const { return skin_.CaptionDownOffsetY(); }
    void SetCaptionDownOffsetX(int v) { skin_.SetCaptionDownOffsetX(v); }
    void SetCaptionDownOffsetY(int v) { skin_.SetCaptionDownOffsetY(v); }
    bool AutoSize() const { return skin_.AutoSize(); }
    void SetAutoSize(bool on) { skin_.SetAutoSize(on); }
    const ui::Palette* GetPalette() const { return skin_.GetPalette(); }

protected:
    CHBcButtonSkin skin_;
};

class TCHBcSpeedButton : public CHBcSkinned<TCHSpeedButton> {
public:
    explicit TCHBcSpeedButton(ui::WinControl* parent = nullptr);

private:
    void DoPaint(ui::Canvas& canvas, int state);
};

class TCHBcBitBtn : public CHBcSkinned<TCHCustomPaintBitBtn> {
public:
    explicit TCHBcBitBtn(ui::WinControl* parent = nullptr);

    // Draw the focus rectangle, and the default cell while the button is the default.
    bool DrawFocus() const { return drawFocus_; }
    void SetDrawFocus(bool on);

private:
    void DoPaint(ui::Canvas& canvas, int state, bool focused, bool isDefault);
    bool drawFocus_ = false;
};
