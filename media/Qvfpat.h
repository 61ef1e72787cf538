#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "media/Qvdib.h"
#include "platform/Bitmap.h"
#include "platform/Font.h"

// One character of a Big5 text at a time, rendered into a square pattern of
// palette indices (Size x Size bytes, the pattern format of TQvDib) in two chosen
// colours, so that text can be blitted onto a surface like any picture.
class TFontPat {
public:
    using TNotifyEvent = std::function<void(TFontPat* Sender)>;

    TFontPat();
    ~TFontPat();
    TFontPat(const TFontPat&) = delete;
    TFontPat& operator=(const TFontPat&) = delete;

    // The text (Big5); setting it moves to the first character (Index 1) and rebuilds.
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    // 1-based byte position of the current character; 0 = none.
    int Index() const { return index_; }
    void SetIndex(int index);
    // Side of the square cell in pixels; values of 0 or less are ignored.
    int Size() const { return size_; }
    void SetSize(int size);
    std::uint8_t Foreground() const { return foreground_; }
    void SetForeground(std::uint8_t colour);
    std::uint8_t Background() const { return background_; }
    void SetBackground(std::uint8_t colour);
    // The font of the cell: "新細明體" at Size pixels, black, by default. Its colour is
    // always black; a negative height other than -Size makes Size follow it.
    const ui::Font& Font() const { return font_; }
    void SetFont(const ui::Font& font);

    TNotifyEvent OnChange;  // after every rebuild of the pattern

    // The result: Size x Size bytes, row after row.
    const std::uint8_t* Pattern() const { return pattern_.data(); }

    void MakeFontPat();  // FontToBmp then BmpToPat
    void FontToBmp();    // draws the current character on the white work cell
    void BmpToPat();     // character pixels -> Foreground, the rest -> Background
    // Steps to the next character; past the end Index becomes 0 (a blank cell).
    int NextLetter();

    // Cells larger than this are refused.
    static constexpr int kMaxSize = 1024;

private:
    void Change();
    void FontChanged();
    // The current character's bytes (none, one or two).
    std::string_view Letter() const;

    std::string text_;
    int index_ = 0;
    int size_ = 32;
    std::uint8_t foreground_ = 0;
    std::uint8_t background_ = 255;
    ui::Font font_;
    std::vector<std::uint8_t> pattern_;
    // The cell is drawn through the bitmap's canvas onto the surface's pixels.
    std::unique_ptr<TQvDib> work_;
    std::unique_ptr<ui::Bitmap> workBitmap_;
};
