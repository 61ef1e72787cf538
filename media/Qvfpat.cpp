#include "media/Qvfpat.h"

#include "platform/Big5.h"
#include "platform/Canvas.h"

namespace {

enum class ByteKind { Single, Lead, Trail };

// The kind of the byte at 0-based position `at`, found by walking the text from its
// start (a trail byte can look like a lead byte). A lead byte with nothing after it
// counts as a single byte.
ByteKind KindAt(const std::string& text, std::size_t at) {
    std::size_t i = 0;
    while (i < at) {
        if (ui::IsBig5Lead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            if (i + 1 == at) return ByteKind::Trail;
            i += 2;
        } else {
            ++i;
        }
    }
    if (ui::IsBig5Lead(static_cast<unsigned char>(text[at])) && at + 1 < text.size())
        return ByteKind::Lead;
    return ByteKind::Single;
}

}  // namespace

TFontPat::TFontPat()
    : pattern_(std::size_t(size_) * size_),
      work_(std::make_unique<TQvDib>(size_, size_)),
      workBitmap_(std::make_unique<ui::Bitmap>()) {
    // Entry 0 black (the character), every other entry white.
    RGBQUAD pal[256];
    for (int i = 0; i < 256; ++i) pal[i] = i == 0 ? RGBQUAD{0, 0, 0, 0} : RGBQUAD{255, 255, 255, 0};
    work_->SetPal2(pal);
    work_->SetBitmap(workBitmap_.get());
    font_.Name = ui::kFaceMing;
    font_.Height = -size_;
    font_.Color = ui::clBlack;
    MakeFontPat();
}

TFontPat::~TFontPat() {
    work_->EndBitmap();
    work_.reset();
    workBitmap_.reset();
}

void TFontPat::SetText(const std::string& text) {
    text_ = text;
    index_ = text_.empty() ? 0 : 1;
    MakeFontPat();
}

void TFontPat::SetIndex(int index) {
    const int length = static_cast<int>(text_.size());
    if (!text_.empty() && index < 1) index = 1;
    if (index > length) index = length;
    index_ = index;
    MakeFontPat();
}

void TFontPat::SetSize(int size) {
    if (size <= 0 || size > kMaxSize) return;
    size_ = size;
    pattern_.assign(std::size_t(size) * size, 0);
    work_->ResizeDib(size, size);
    if (font_.Height != -size) font_.Height = -size;
    MakeFontPat();
}

void TFontPat::SetForeground(std::uint8_t colour) {
    foreground_ = colour;
    BmpToPat();
}

void TFontPat::SetBackground(std::uint8_t colour) {
    background_ = colour;
    BmpToPat();
}

void TFontPat::SetFont(const ui::Font& font) {
    font_ = font;
    FontChanged();
}

void TFontPat::FontChanged() {
    if (font_.Height < 0 && font_.Height != -size_) SetSize(-font_.Height);
    font_.Color = ui::clBlack;
}

void TFontPat::MakeFontPat() {
    FontToBmp();
    BmpToPat();
}

std::string_view TFontPat::Letter() const {
    if (text_.empty() || index_ < 1 || index_ > static_cast<int>(text_.size())) return {};
    const std::size_t at = std::size_t(index_ - 1);
    switch (KindAt(text_, at)) {
        case ByteKind::Lead:
            return std::string_view(text_).substr(at, 2);
        case ByteKind::Trail:
            return std::string_view(text_).substr(at - 1, 2);
        case ByteKind::Single:
            break;
    }
    return std::string_view(text_).substr(at, 1);
}

void TFontPat::FontToBmp() {
    ui::Canvas& canvas = workBitmap_->GetCanvas();
    canvas.Brush.Color = ui::clWhite;
    canvas.Brush.Style = ui::BrushStyle::bsSolid;
    canvas.FillRect(ui::Rect{0, 0, size_, size_});
    const std::string_view letter = Letter();
    if (letter.empty()) return;
    canvas.Font = font_;
    canvas.TextOut(0, 0, letter);
}

void TFontPat::BmpToPat() {
    work_->GetPat(0, 0, size_, size_, pattern_.data());
    for (std::uint8_t& v : pattern_) v = v == 0 ? foreground_ : background_;
    Change();
}

int TFontPat::NextLetter() {
    if (text_.empty() || index_ <= 0) return index_;
    const bool lead = KindAt(text_, std::size_t(index_ - 1)) == ByteKind::Lead;
    index_ += lead ? 2 : 1;
    if (index_ > static_cast<int>(text_.size())) index_ = 0;
    MakeFontPat();
    return index_;
}

void TFontPat::Change() {
    if (OnChange) OnChange(this);
}
