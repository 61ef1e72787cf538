#include "skin/CHBCBTN.h"

#include <cstdio>

#include "platform/Application.h"
#include "platform/Big5.h"

namespace {

constexpr std::array<ui::TColor, 9> kDefaultCaptionColors = {
    ui::clBtnShadow,    ui::clNone, ui::clBtnHighlight,  // disabled
    ui::clBtnHighlight, ui::clNone, ui::clBtnShadow,     // down
    ui::clBtnHighlight, ui::clNone, ui::clBtnShadow,     // up
};

// The refusal of a NumGlyphs outside 0..6. Big5 has no kana (they come out as '?');
// the three kanji it lacks in their Japanese forms are written in their traditional ones.
constexpr char kNumGlyphsText[] =
    "0から6までの值が指定できます。0描畫せず 1通常 2無效 3押下 4押止 5フォーカス 6デフォルト";

}  // namespace

// ================================================================ caption colours

TCHBtnCaptionColor::TCHBtnCaptionColor(std::function<void()> ownerChange)
    : OwnerChange(std::move(ownerChange)), colors_(kDefaultCaptionColors) {}

void TCHBtnCaptionColor::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (OwnerChange) OwnerChange();
}

void TCHBtnCaptionColor::SetColor(int index, ui::TColor color) {
    if (index < 0 || index >= 9) return;
    ui::TColor& c = colors_[static_cast<std::size_t>(index)];
    if (c == color) return;
    c = color;
    if (OwnerChange) OwnerChange();
}

// ================================================================ the painter

CHBcButtonLook CHBcButtonCell(int state, bool a, bool b, int n) {
    auto down = [n] { return n >= 3 ? 2 : n >= 2 ? 1 : 0; };
    switch (state) {
        case kChBtnUp: {
            int c = 0;
            if (b && n >= 6)
                c = 5;
            else if ((b || a) && n >= 5)
                c = 4;
            return {c, 2};
        }
        case kChBtnDisabled:
            return {n >= 3 ? 1 : 0, 0};
        case kChBtnDown:
            return {down(), 1};
        case kChBtnHeld:
            return {n >= 4 ? 3 : down(), 1};
        default:
            return {0, 2};
    }
}

CHBcCaptionColors CHBcCaptionColorsFor(const TCHBtnCaptionColor& colors, int state,
                                       ui::TColor fontColor) {
    const int set = CHBcButtonCell(state, false, false, 0).colorSet;
    if (colors.Enabled())
        return {colors.Color(3 * set), colors.Color(3 * set + 1), colors.Color(3 * set + 2)};
    if (state == kChBtnDisabled) return {ui::clBtnShadow, ui::clNone, ui::clBtnHighlight};
    return {fontColor, ui::clNone, ui::clNone};
}

void CHBcPaintButton(const TCHBtnCaptionColor& colors, ui::Canvas& canvas, const ui::Rect& client,
                     bool a, bool b, int state, ui::Point downOffset, ui::Point captionPos,
                     const ui::Font& font, const std::string& caption, int numGlyphs,
                     const ui::Rect& glyphRect, const ui::Bitmap* sheet) {
    const CHBcButtonLook look = CHBcButtonCell(state, a, b, numGlyphs);
    const bool pressed = state == kChBtnDown || state == kChBtnHeld;

    // The face: one glyph cell stretched over the client, or the standard face.
    const int w = numGlyphs >= 1 ? glyphRect.Width() / numGlyphs : 0;
    if (numGlyphs >= 1 && sheet != nullptr && !sheet->Empty() && w > 0 && glyphRect.Height() > 0) {
        const ui::Rect cell{glyphRect.Left + look.cell * w, glyphRect.Top,
                            glyphRect.Left + (look.cell + 1) * w, glyphRect.Bottom};
        CHBcCopyRect(canvas, client, *sheet, cell);
    } else {
        ui::DrawButtonFace(canvas, client, pressed, false);
    }

    if (!caption.empty()) {
        canvas.Font = font;
        canvas.Brush.Style = ui::BrushStyle::bsClear;
        ui::Rect r{client.Left - 3, client.Top - 1, client.Right, client.Bottom};
        if (pressed)
            r = ui::Rect{r.Left + downOffset.x, r.Top + downOffset.y, r.Right + downOffset.x,
                         r.Bottom + downOffset.y};
        unsigned flags = 0;
        if (captionPos.x >= 0) {
            r.Left += captionPos.x;
            r.Right += captionPos.x;
            flags |= ui::DT_LEFT;
        } else {
            flags |= ui::DT_CENTER;
        }
        if (captionPos.y >= 0) {
            r.Top += captionPos.y;
            r.Bottom += captionPos.y;
        } else {
            flags |= ui::DT_VCENTER | ui::DT_SINGLELINE;
        }
        const CHBcCaptionColors c = CHBcCaptionColorsFor(colors, state, font.Color);
        auto pass = [&](ui::TColor color, int dx, int dy) {
            if (color == ui::clNone) return;
            canvas.Font.Color = color;
            ui::Rect t{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
            canvas.DrawText(caption, t, flags);
        };
        // Highlight up-left, shadow down-right, the face between them.
        pass(c.highlight, 0, 0);
        pass(c.shadow, 2, 2);
        pass(c.face, 1, 1);
        canvas.Font.Color = font.Color;
    }

    if (b) {
        ui::Rect f{client.Left + 4, client.Top + 4, client.Right - 4, client.Bottom - 4};
        if (pressed)
            f = ui::Rect{f.Left + downOffset.x, f.Top + downOffset.y, f.Right + downOffset.x,
                         f.Bottom + downOffset.y};
        canvas.Pen.Color = ui::clWindowFrame;
        canvas.Brush.Style = ui::BrushStyle::bsSolid;
        canvas.Brush.Color = ui::clBtnFace;
        canvas.DrawFocusRect(f);
    }
}

// ================================================================ shared button parts

CHBcButtonSkin::CHBcButtonSkin(ui::Control& owner, const char* caption)
    : CaptionColor([&owner] { owner.Invalidate(); }),
      Glyph([this] { GlyphChanged(); }),
      owner_(owner),
      caption_(caption) {}

void CHBcButtonSkin::SetNumGlyphs(int n) {
    if (n < 0 || n > 6) {
        const std::string text = B5(kNumGlyphsText);
        if (ui::HaveApp())
            ui::App().MessageBox(text, caption_, 0);
        else
            std::fprintf(stderr, "%s: %d refused\n", caption_, n);
        return;
    }
    if (n == numGlyphs_) return;
    numGlyphs_ = n;
    owner_.Invalidate();
}

void CHBcButtonSkin::SetCaptionDownOffsetX(int v) {
    if (v == downX_) return;
    downX_ = v;
    owner_.Invalidate();
}

void CHBcButtonSkin::SetCaptionDownOffsetY(int v) {
    if (v == downY_) return;
    downY_ = v;
    owner_.Invalidate();
}

void CHBcButtonSkin::SetAutoSize(bool on) {
    autoSize_ = on;
    if (on) ApplyAutoSize();
}

void CHBcButtonSkin::ApplyAutoSize() {
    if (numGlyphs_ <= 0 || Glyph.GetBmp() == nullptr) return;
    owner_.SetBounds(owner_.Left(), owner_.Top(), Glyph.SrcWidth() / numGlyphs_, Glyph.SrcHeight());
}

void CHBcButtonSkin::GlyphChanged() {
    if (autoSize_) ApplyAutoSize();
    if (numGlyphs_ == 0) numGlyphs_ = 3;
    owner_.Invalidate();
}

const ui::Palette* CHBcButtonSkin::GetPalette() const { return Glyph.GetPalette(); }

void CHBcButtonSkin::Paint(ui::Canvas& canvas, int state, bool a, bool b, int spacing, int margin) {
    CHBcPaintButton(CaptionColor, canvas, owner_.ClientRect(), a, b, state,
                    ui::Point{downX_, downY_}, ui::Point{spacing, margin}, owner_.GetFont(),
                    owner_.Caption(), numGlyphs_, Glyph.SrcRect(), Glyph.GetBmp());
}

// ================================================================ the buttons

TCHBcSpeedButton::TCHBcSpeedButton(ui::WinControl* parent)
    : CHBcSkinned(parent, "TCHBcBitBtn.NumGlyphs") {
    SetSpacing(-1);
    OnPaintHook = [this](TCHSpeedButton&, ui::Canvas& canvas, int state) {
        DoPaint(canvas, state);
    };
}

void TCHBcSpeedButton::DoPaint(ui::Canvas& canvas, int state) {
    skin_.Paint(canvas, state, false, false, Spacing(), Margin());
}

TCHBcBitBtn::TCHBcBitBtn(ui::WinControl* parent) : CHBcSkinned(parent, "TCHBcBitBtn.NumGlyphs") {
    SetSpacing(-1);
    OnPaintHook = [this](TCHCustomPaintBitBtn&, ui::Canvas& canvas, int state, bool focused,
                         bool isDefault) { DoPaint(canvas, state, focused, isDefault); };
}

void TCHBcBitBtn::SetDrawFocus(bool on) {
    if (on == drawFocus_) return;
    drawFocus_ = on;
    Invalidate();
}

void TCHBcBitBtn::DoPaint(ui::Canvas& canvas, int state, bool focused, bool isDefault) {
    skin_.Paint(canvas, state, focused, drawFocus_ && isDefault, Spacing(), Margin());
}
