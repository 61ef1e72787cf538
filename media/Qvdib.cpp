#include "media/Qvdib.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Font.h"

namespace {

// The system's twenty static colours (red, green, blue): the first ten open the
// default palette, the last ten close it.
constexpr std::uint8_t kSystemColours[20][3] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

// Surfaces larger than this on either side are refused rather than allocated.
constexpr int kMaxSide = 32768;
// Lines and boxes clamp their coordinates to this range.
constexpr int kClamp = 50000;

int Clamp(int v) { return std::clamp(v, -kClamp, kClamp); }

void DefaultPalette(RGBQUAD* pal) {
    for (int i = 0; i < 256; ++i) {
        const int s = i < 10 ? i : i >= 246 ? i - 236 : 0;
        pal[i] = RGBQUAD{kSystemColours[s][2], kSystemColours[s][1], kSystemColours[s][0], 0};
    }
}

// The pixel writer: destination d, colour c, draw mode m.
inline void Plot(std::uint8_t& d, std::uint8_t c, std::uint8_t m) {
    switch (m) {
        case Qv_SET:
            d = c;
            break;
        case Qv_NOT:
            d = std::uint8_t(c ^ 255);
            break;
        case Qv_AND:
            d = std::uint8_t(d & c);
            break;
        case Qv_OR:
            d = std::uint8_t(d | c);
            break;
        case Qv_XOR:
            d = std::uint8_t(d ^ c);
            break;
        case Qv_ADD:
            d = d + c < 255 ? std::uint8_t(d + c) : 255;
            break;
        case Qv_SUB:
            d = c < d ? std::uint8_t(d - c) : 0;
            break;
        case Qv_MED:
            d = std::uint8_t((d + c) >> 1);
            break;
        default:
            break;
    }
}

// Rows of a blit, 16 bytes at a time where the machine has SSE2 (every x86-64): a
// transparent byte keeps the destination, a mirrored row reads its source backwards
// (src points at the first byte read). Each vector is loaded before it is stored,
// so a surface copied onto itself is read as plain loads would read it.
#if defined(__SSE2__)
inline __m128i Load(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store(std::uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
// The 16 bytes read backwards from p: dwords reversed, words swapped in each
// dword, bytes swapped in each word.
inline __m128i LoadReversed(const std::uint8_t* p) {
    __m128i v = Load(p - 15);
    v = _mm_shuffle_epi32(v, _MM_SHUFFLE(0, 1, 2, 3));
    v = _mm_shufflelo_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
    v = _mm_shufflehi_epi16(v, _MM_SHUFFLE(2, 3, 0, 1));
    return _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
}
// Where `take` is set, the source; elsewhere the destination.
inline __m128i Select(__m128i take, __m128i s, __m128i d) {
    return _mm_or_si128(_mm_and_si128(take, s), _mm_andnot_si128(take, d));
}
constexpr int kVec = 16;
#else
constexpr int kVec = 0;
#endif

void RowCopy(std::uint8_t* d, const std::uint8_t* s, int n) { std::memmove(d, s, std::size_t(n)); }

void RowCopyReversed(std::uint8_t* d, const std::uint8_t* s, int n) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + kVec <= n; i += kVec) Store(d + i, LoadReversed(s - i));
#endif
    for (; i < n; ++i) d[i] = s[-i];
}

void RowKey(std::uint8_t* d, const std::uint8_t* s, int n, std::uint8_t key) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i k = _mm_set1_epi8(char(key));
    for (; i + kVec <= n; i += kVec) {
        const __m128i v = Load(s + i);
        Store(d + i,
              Select(_mm_andnot_si128(_mm_cmpeq_epi8(v, k), _mm_set1_epi8(-1)), v, Load(d + i)));
    }
#endif
    for (; i < n; ++i)
        if (s[i] != key) d[i] = s[i];
}

void RowKeyReversed(std::uint8_t* d, const std::uint8_t* s, int n, std::uint8_t key) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i k = _mm_set1_epi8(char(key));
    for (; i + kVec <= n; i += kVec) {
        const __m128i v = LoadReversed(s - i);
        Store(d + i,
              Select(_mm_andnot_si128(_mm_cmpeq_epi8(v, k), _mm_set1_epi8(-1)), v, Load(d + i)));
    }
#endif
    for (; i < n; ++i)
        if (s[-i] != key) d[i] = s[-i];
}

// Where the byte mask is non-zero (0xFF), the source; elsewhere the destination
// (forward or mirrored source).
void RowMasked(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* mask, int n,
               bool mirrored) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + kVec <= n; i += kVec)
        Store(d + i,
              Select(Load(mask + i), mirrored ? LoadReversed(s - i) : Load(s + i), Load(d + i)));
#endif
    for (; i < n; ++i)
        if (mask[i]) d[i] = mirrored ? s[-i] : s[i];
}

#if defined(__x86_64__) || defined(__i386__)
// The same rows 32 bytes at a time, for machines with AVX2 (chosen once, at run time).
#define QV_AVX2 __attribute__((target("avx2")))

QV_AVX2 inline __m256i Load32(const std::uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
QV_AVX2 inline void Store32(std::uint8_t* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}
QV_AVX2 inline __m256i LoadReversed32(const std::uint8_t* p) {
    const __m256i rev = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0,  //
                                         15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    const __m256i v = _mm256_shuffle_epi8(Load32(p - 31), rev);
    return _mm256_permute2x128_si256(v, v, 0x01);
}

QV_AVX2 void RowCopyReversedAvx2(std::uint8_t* d, const std::uint8_t* s, int n) {
    int i = 0;
    for (; i + 32 <= n; i += 32) Store32(d + i, LoadReversed32(s - i));
    RowCopyReversed(d + i, s - i, n - i);
}

QV_AVX2 void RowKeyAvx2(std::uint8_t* d, const std::uint8_t* s, int n, std::uint8_t key) {
    const __m256i k = _mm256_set1_epi8(char(key));
    int i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i v = Load32(s + i);
        Store32(d + i, _mm256_blendv_epi8(v, Load32(d + i), _mm256_cmpeq_epi8(v, k)));
    }
    RowKey(d + i, s + i, n - i, key);
}

QV_AVX2 void RowKeyReversedAvx2(std::uint8_t* d, const std::uint8_t* s, int n, std::uint8_t key) {
    const __m256i k = _mm256_set1_epi8(char(key));
    int i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i v = LoadReversed32(s - i);
        Store32(d + i, _mm256_blendv_epi8(v, Load32(d + i), _mm256_cmpeq_epi8(v, k)));
    }
    RowKeyReversed(d + i, s - i, n - i, key);
}

QV_AVX2 void RowMaskedAvx2(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* mask, int n,
                           bool mirrored) {
    int i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i v = mirrored ? LoadReversed32(s - i) : Load32(s + i);
        Store32(d + i, _mm256_blendv_epi8(Load32(d + i), v, Load32(mask + i)));
    }
    RowMasked(d + i, mirrored ? s - i : s + i, mask + i, n - i, mirrored);
}
#endif

// The row functions this machine runs best.
struct RowOps {
    void (*copyReversed)(std::uint8_t*, const std::uint8_t*, int);
    void (*key)(std::uint8_t*, const std::uint8_t*, int, std::uint8_t);
    void (*keyReversed)(std::uint8_t*, const std::uint8_t*, int, std::uint8_t);
    void (*masked)(std::uint8_t*, const std::uint8_t*, const std::uint8_t*, int, bool);
};

const RowOps& Rows() {
    static const RowOps ops = [] {
#if defined(__x86_64__) || defined(__i386__)
        if (__builtin_cpu_supports("avx2"))
            return RowOps{RowCopyReversedAvx2, RowKeyAvx2, RowKeyReversedAvx2, RowMaskedAvx2};
#endif
        return RowOps{RowCopyReversed, RowKey, RowKeyReversed, RowMasked};
    }();
    return ops;
}

void RowMode(std::uint8_t* d, const std::uint8_t* s, int step, int n, bool transparent,
             std::uint8_t key, std::uint8_t m) {
    for (int i = 0; i < n; ++i) {
        const std::uint8_t v = s[i * step];
        if (!transparent || v != key) Plot(d[i], v, m);
    }
}

// A rectangle of pattern columns mapped onto destination columns.
struct Span {
    int dx0 = 0;     // first destination column
    int n = 0;       // columns drawn
    int srcCol = 0;  // pattern column for dx0
    int step = 1;    // pattern column change per destination column
    int dy0 = 0;     // first destination row
    int rows = 0;    // rows drawn
    int srcRow = 0;  // pattern row for dy0
};

// Clips a w x h blit at (x, y) to a width x height surface. `mirror` maps pattern
// column 0 to x + w - 1. False when nothing is left to draw.
bool ClipSpan(int x, int y, int w, int h, int width, int height, bool mirror, Span& s) {
    const long long x0 = std::max<long long>(x, 0);
    const long long x1 = std::min<long long>((long long)x + w, width);
    const long long y0 = std::max<long long>(y, 0);
    const long long y1 = std::min<long long>((long long)y + h, height);
    if (x1 <= x0 || y1 <= y0) return false;
    s.dx0 = int(x0);
    s.n = int(x1 - x0);
    s.dy0 = int(y0);
    s.rows = int(y1 - y0);
    s.srcRow = int(y0 - y);
    if (mirror) {
        s.srcCol = int((long long)x + w - 1 - x0);
        s.step = -1;
    } else {
        s.srcCol = int(x0 - x);
        s.step = 1;
    }
    return true;
}

inline bool MaskBit(const std::uint8_t* mask, int bytesPerRow, int row, int col) {
    return (mask[std::size_t(row) * bytesPerRow + (col >> 3)] >> (7 - (col & 7))) & 1;
}

// Non-negative remainder.
inline int Mod(long long v, int m) {
    const long long r = v % m;
    return int(r < 0 ? r + m : r);
}

ui::Palette ToTable(const RGBQUAD* pal) {
    ui::Palette t;
    for (int i = 0; i < 256; ++i)
        t[i] = ui::RGBQuad{pal[i].rgbBlue, pal[i].rgbGreen, pal[i].rgbRed, 0};
    return t;
}

// The entry nearest to a colour: an exact entry wins, the lowest index on ties, as
// the display driver matches colours on a palette surface.
std::uint8_t Nearest(const RGBQUAD* pal, int r, int g, int b) {
    int best = 0;
    long bestDist = -1;
    for (int i = 0; i < 256; ++i) {
        const long dr = pal[i].rgbRed - r, dg = pal[i].rgbGreen - g, db = pal[i].rgbBlue - b;
        const long dist = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || dist < bestDist) {
            best = i;
            bestDist = dist;
        }
    }
    return std::uint8_t(best);
}

}  // namespace

// ---------------------------------------------------------------- lifecycle

TQvDib::TQvDib() { InitDib(); }

TQvDib::TQvDib(int width, int height) : width_(width), height_(height) { InitDib(); }

TQvDib::~TQvDib() { EndDib(); }

void TQvDib::Allocate(int width, int height) {
    width_ = width;
    height_ = height;
    stride_ = (width + 3) & ~3;
    pixels_.assign(std::size_t(stride_) * std::size_t(height), 0);
}

void TQvDib::InitDib() {
    if (HasSection()) return;
    if (width_ <= 0 || height_ <= 0 || width_ > kMaxSide || height_ > kMaxSide) return;
    Allocate(width_, height_);
    DefaultPalette(palette_);
    stripPending_ = false;
}

void TQvDib::EndDib() {
    EndBitmap();
    ReleaseBmpDC();
    pixels_.clear();
    pixels_.shrink_to_fit();
    stride_ = 0;
    strip_.clear();
    stripPending_ = false;
}

void TQvDib::ResizeDib(int width, int height) {
    if (!HasSection()) return;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return;
    std::vector<std::uint8_t> old = std::move(pixels_);
    const int oldStride = stride_;
    const int oldWidth = width_;
    const int oldHeight = height_;
    Allocate(width, height);
    const int w = std::min(oldWidth, width);
    const int h = std::min(oldHeight, height);
    for (int row = 0; row < h; ++row)
        std::memcpy(&pixels_[std::size_t(row) * stride_], &old[std::size_t(row) * oldStride],
                    std::size_t(w));
    // A strip kept from the old picture no longer fits it.
    strip_.clear();
    stripPending_ = false;
    if (dc_) dc_->AttachPixels8(pixels_.data(), width_, height_, stride_);
    CheckImage();
    if (bitmap_) {
        paletteChanged_ = true;
        PushToBitmap();
    }
}

void TQvDib::SetWidth(int width) {
    if (HasSection())
        ResizeDib(width, height_);
    else {
        width_ = width;
        InitDib();
    }
}

void TQvDib::SetHeight(int height) {
    if (HasSection())
        ResizeDib(width_, height);
    else {
        height_ = height;
        InitDib();
    }
}

// ---------------------------------------------------------------- palette

void TQvDib::SetPal1(int index, const RGBQUAD* entry) {
    if (!HasSection() || !entry || index < 0 || index > 255) return;
    RestoreStrip();
    palette_[index] = RGBQUAD{entry->rgbBlue, entry->rgbGreen, entry->rgbRed, 0};
    if (dc_) dc_->SetColorTable(ToTable(palette_));
    paletteChanged_ = true;
    SetModified();
}

void TQvDib::SetPal2(const RGBQUAD* palette256) {
    if (!HasSection() || !palette256) return;
    RestoreStrip();
    for (int i = 0; i < 256; ++i)
        palette_[i] =
            RGBQUAD{palette256[i].rgbBlue, palette256[i].rgbGreen, palette256[i].rgbRed, 0};
    if (dc_) dc_->SetColorTable(ToTable(palette_));
    paletteChanged_ = true;
    SetModified();
}

void TQvDib::AskPal1(int index, RGBQUAD* out) const {
    if (!HasSection() || !out || index < 0 || index > 255) return;
    *out = palette_[index];
}

void TQvDib::AskPal2(RGBQUAD* out256) const {
    if (!HasSection() || !out256) return;
    std::memcpy(out256, palette_, sizeof(palette_));
}

void TQvDib::SetPal1(int index, const TQvRGB& entry) {
    const RGBQUAD q = entry.ToRGBQUAD();
    SetPal1(index, &q);
}

void TQvDib::SetPal2(const TQvRGB* palette256) {
    if (!palette256) return;
    RGBQUAD q[256];
    for (int i = 0; i < 256; ++i) q[i] = palette256[i].ToRGBQUAD();
    SetPal2(q);
}

void TQvDib::AskPal1(int index, TQvRGB* out) const {
    if (!HasSection() || !out || index < 0 || index > 255) return;
    *out = TQvRGB(palette_[index]);
}

void TQvDib::AskPal2(TQvRGB* out256) const {
    if (!HasSection() || !out256) return;
    for (int i = 0; i < 256; ++i) out256[i] = TQvRGB(palette_[i]);
}

void TQvDib::InitPal() {
    RGBQUAD pal[256];
    DefaultPalette(pal);
    SetPal2(pal);
}

bool TQvDib::SetActFile(const std::string& fileName) {
    RGBQUAD pal[256];
    RGBQUAD* p = pal;
    if (!LoadActFile(fileName, &p)) return false;
    SetPal2(pal);
    return true;
}

bool TQvDib::SetActPack(TQvPack* pack, const std::string& memberName) {
    RGBQUAD pal[256];
    RGBQUAD* p = pal;
    if (!LoadActPack(pack, memberName, &p)) return false;
    SetPal2(pal);
    return true;
}

// ---------------------------------------------------------------- pixels, lines, boxes

void TQvDib::Cls() {
    OverlayText = nullptr;
    if (!HasSection()) return;
    stripPending_ = false;
    std::fill(pixels_.begin(), pixels_.end(), std::uint8_t(0));
    SetModified();
}

bool TQvDib::PSet(int x, int y, std::uint8_t colour) {
    if (!HasSection() || x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    RestoreStrip();
    Plot(pixels_[std::size_t(y) * stride_ + x], colour, Method);
    SetModified();
    return true;
}

std::uint8_t TQvDib::PGet(int x, int y) const {
    if (!HasSection() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[std::size_t(y) * stride_ + x];
}

bool TQvDib::QvLine(int x1, int y1, int x2, int y2, std::uint8_t colour, bool leaveOutEnds) {
    if (!HasSection()) return false;
    RestoreStrip();
    x1 = Clamp(x1);
    y1 = Clamp(y1);
    x2 = Clamp(x2);
    y2 = Clamp(y2);
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const std::uint8_t m = Method;
    auto put = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            Plot(pixels_[std::size_t(y) * stride_ + x], colour, m);
    };
    if (x1 == x2 && y1 == y2) {
        if (!leaveOutEnds) put(x1, y1);
        return true;
    }
    const int dx = std::abs(x2 - x1) + 1;
    const int dy = y2 - y1 + 1;
    const int sx = x2 > x1 ? 1 : -1;
    int e = 0;
    int x = x1;
    int y = y1;
    if (!leaveOutEnds) put(x, y);
    for (;;) {
        if (dx > dy) {
            e += dy;
            if (e >= dx) {
                e -= dx;
                ++y;
            }
            x += sx;
        } else {
            e += dx;
            if (e >= dy) {
                e -= dy;
                x += sx;
            }
            ++y;
        }
        if ((x == x2 && y == y2) || y > y2) break;
        put(x, y);
    }
    if (!leaveOutEnds) put(x2, y2);
    return true;
}

bool TQvDib::Line(int x1, int y1, int x2, int y2, std::uint8_t colour) {
    const bool ok = QvLine(x1, y1, x2, y2, colour, false);
    if (ok) SetModified();
    lastX_ = x2;
    lastY_ = y2;
    return ok;
}

bool TQvDib::CLine(int x, int y, std::uint8_t colour) {
    const bool ok = QvLine(lastX_, lastY_, x, y, colour, true);
    if (ok && !PSet(x, y, colour)) SetModified();
    lastX_ = x;
    lastY_ = y;
    return ok;
}

bool TQvDib::Box(int x1, int y1, int x2, int y2, std::uint8_t colour) {
    x1 = Clamp(x1);
    y1 = Clamp(y1);
    x2 = Clamp(x2);
    y2 = Clamp(y2);
    bool ok;
    if (x1 == x2 || y1 == y2) {
        ok = QvLine(x1, y1, x2, y2, colour, false);
    } else {
        ok = QvLine(x1, y1, x2, y1, colour, false);
        ok = QvLine(x1, y1, x1, y2, colour, true) && ok;
        ok = QvLine(x1, y2, x2, y2, colour, false) && ok;
        ok = QvLine(x2, y1, x2, y2, colour, true) && ok;
    }
    if (ok) SetModified();
    return ok;
}

bool TQvDib::QvBoxFill(int x1, int y1, int x2, int y2, std::uint8_t colour,
                       const std::uint8_t* mask, int mw, int mh) {
    if (!HasSection()) return false;
    if (mask && (mw <= 0 || mh <= 0)) return false;
    RestoreStrip();
    x1 = Clamp(x1);
    y1 = Clamp(y1);
    x2 = Clamp(x2);
    y2 = Clamp(y2);
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const int cx0 = std::max(x1, 0);
    const int cx1 = std::min(x2, width_ - 1);
    const int cy0 = std::max(y1, 0);
    const int cy1 = std::min(y2, height_ - 1);
    if (cx0 > cx1 || cy0 > cy1) return true;
    const std::uint8_t m = Method;
    const int maskBytes = (mw + 7) / 8;
    for (int y = cy0; y <= cy1; ++y) {
        std::uint8_t* row = &pixels_[std::size_t(y) * stride_];
        if (!mask) {
            if (m == Qv_SET)
                std::memset(row + cx0, colour, std::size_t(cx1 - cx0 + 1));
            else
                for (int x = cx0; x <= cx1; ++x) Plot(row[x], colour, m);
            continue;
        }
        const int mrow = Mod((long long)y - y1, mh);
        int mcol = Mod((long long)cx0 - x1, mw);
        for (int x = cx0; x <= cx1; ++x) {
            if (MaskBit(mask, maskBytes, mrow, mcol)) Plot(row[x], colour, m);
            if (++mcol == mw) mcol = 0;
        }
    }
    return true;
}

bool TQvDib::BoxFill(int x1, int y1, int x2, int y2, std::uint8_t colour) {
    const bool ok = QvBoxFill(x1, y1, x2, y2, colour, nullptr, 0, 0);
    if (ok) SetModified();
    return ok;
}

bool TQvDib::BoxFillM(int x1, int y1, int x2, int y2, std::uint8_t colour, const std::uint8_t* mask,
                      int mw, int mh) {
    if (!mask) return false;
    const bool ok = QvBoxFill(x1, y1, x2, y2, colour, mask, mw, mh);
    if (ok) SetModified();
    return ok;
}

// ---------------------------------------------------------------- pattern blits

bool TQvDib::PutPat(int x, int y, int w, int h, const std::uint8_t* pattern) {
    const bool ok = QvPutPat(x, y, w, h, pattern, w, false, 0);
    if (ok) SetModified();
    return ok;
}

bool TQvDib::PutPat2(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch) {
    const bool ok = QvPutPat(x, y, w, h, pattern, pitch, false, 0);
    if (ok) SetModified();
    return ok;
}

bool TQvDib::PasPat(int x, int y, int w, int h, const std::uint8_t* pattern, std::uint8_t colour) {
    const bool ok = QvPutPat(x, y, w, h, pattern, w, true, colour);
    if (ok) SetModified();
    return ok;
}

bool TQvDib::PasPat2(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                     std::uint8_t colour) {
    const bool ok = QvPutPat(x, y, w, h, pattern, pitch, true, colour);
    if (ok) SetModified();
    return ok;
}

bool TQvDib::PasPatWappi(int x, int y, int w, int h, const std::uint8_t* pattern,
                         std::uint8_t colour, bool mirror) {
    const bool ok = QvPutPatWappi(x, y, w, h, pattern, w, colour, mirror);
    if (ok) SetModified();
    return ok;
}

bool TQvDib::PasPat2Wappi(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                          std::uint8_t colour, bool mirror) {
    const bool ok = QvPutPatWappi(x, y, w, h, pattern, pitch, colour, mirror);
    if (ok) SetModified();
    return ok;
}

bool TQvDib::PasMPat(int x, int y, int w, int h, const std::uint8_t* pattern,
                     const std::uint8_t* mask, int mw, int mh) {
    const bool ok = QvPutPatM(x, y, w, h, pattern, w, mask, mw, mh);
    if (ok) SetModified();
    return ok;
}

namespace {

// The shared body of the plain, mirrored and transparent blits.
void BlitSpan(std::uint8_t* pixels, int stride, const Span& s, const std::uint8_t* pattern,
              int pitch, bool transparent, std::uint8_t key, std::uint8_t m) {
    const RowOps& ops = Rows();
    std::uint8_t* d0 = pixels + std::size_t(s.dy0) * stride + s.dx0;
    const std::uint8_t* s0 = pattern + std::size_t(s.srcRow) * pitch + s.srcCol;
    if (m == Qv_SET && !transparent && s.step > 0 && s.n == stride && s.n == pitch) {
        // Whole rows back to back on both sides: one copy.
        std::memmove(d0, s0, std::size_t(s.n) * s.rows);
        return;
    }
    for (int r = 0; r < s.rows; ++r) {
        std::uint8_t* d = d0 + std::size_t(r) * stride;
        const std::uint8_t* src = s0 + std::size_t(r) * pitch;
        if (m == Qv_SET) {
            if (!transparent)
                s.step > 0 ? RowCopy(d, src, s.n) : ops.copyReversed(d, src, s.n);
            else
                s.step > 0 ? ops.key(d, src, s.n, key) : ops.keyReversed(d, src, s.n, key);
        } else {
            RowMode(d, src, s.step, s.n, transparent, key, m);
        }
    }
}

// The tile mask of a pattern blit: for each surface row, the bytes 0xFF where
// the mask bit of its pattern column is set. Pattern columns run from s.srcCol by
// s.step; the mask repeats every mw columns and mh rows from pattern (0, 0). The
// rows of one mask row are alike, so a small tile is expanded once per mask row.
class MaskRows {
public:
    MaskRows(const Span& s, const std::uint8_t* mask, int mw, int mh)
        : s_(s), mask_(mask), mw_(mw), mh_(mh), bytes_((mw + 7) / 8) {
        cached_ = mh <= 64;
        // Transitions blit tile by tile: a small blit's rows live on the stack, so a
        // blit costs no allocation.
        const std::size_t need = std::size_t(cached_ ? mh : 1) * s.n;
        if (need <= sizeof small_) {
            rows_ = small_;
        } else {
            large_.resize(need);
            rows_ = large_.data();
        }
    }

    // The byte mask of blit row r (0-based within the span).
    const std::uint8_t* Row(int r) {
        const int mrow = Mod((long long)s_.srcRow + r, mh_);
        const int slot = cached_ ? mrow : 0;
        std::uint8_t* out = rows_ + std::size_t(slot) * s_.n;
        const std::uint64_t bit = std::uint64_t{1} << slot;
        if (!cached_ || !(done_ & bit)) {
            Expand(mrow, out);
            if (cached_) done_ |= bit;
        }
        return out;
    }

private:
    void Expand(int mrow, std::uint8_t* out) const {
        // One period of mw columns, then copies of it.
        const int period = std::min(mw_, s_.n);
        int col = Mod(s_.srcCol, mw_);
        for (int i = 0; i < period; ++i) {
            out[i] = MaskBit(mask_, bytes_, mrow, col) ? 0xFF : 0x00;
            col += s_.step;
            if (col == mw_) col = 0;
            if (col < 0) col = mw_ - 1;
        }
        for (int have = period; have < s_.n;) {
            const int n = std::min(have, s_.n - have);
            std::memcpy(out + have, out, std::size_t(n));
            have += n;
        }
    }

    Span s_;
    const std::uint8_t* mask_;
    int mw_, mh_, bytes_;
    bool cached_;
    std::uint8_t* rows_;
    std::uint8_t small_[1024];
    std::vector<std::uint8_t> large_;
    std::uint64_t done_ = 0;  // bit m: mask row m is expanded
};

void MaskBlit(std::uint8_t* pixels, int stride, const Span& s, const std::uint8_t* pattern,
              int pitch, const std::uint8_t* mask, int mw, int mh, std::uint8_t m) {
    const RowOps& ops = Rows();
    MaskRows rows(s, mask, mw, mh);
    for (int r = 0; r < s.rows; ++r) {
        std::uint8_t* d = pixels + std::size_t(s.dy0 + r) * stride + s.dx0;
        const std::uint8_t* src = pattern + std::size_t(s.srcRow + r) * pitch + s.srcCol;
        const std::uint8_t* em = rows.Row(r);
        if (m == Qv_SET) {
            ops.masked(d, src, em, s.n, s.step < 0);
        } else {
            for (int i = 0; i < s.n; ++i)
                if (em[i]) Plot(d[i], src[std::ptrdiff_t(i) * s.step], m);
        }
    }
}

}  // namespace

bool TQvDib::QvPutPat(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                      bool transparent, std::uint8_t colour) {
    if (Reverse) return QvPutPatR(x, y, w, h, pattern, pitch, transparent, colour);
    if (!HasSection() || !pattern) return false;
    RestoreStrip();
    pitch = std::max(pitch, w);
    Span s;
    if (!ClipSpan(x, y, w, h, width_, height_, false, s)) return true;
    BlitSpan(pixels_.data(), stride_, s, pattern, pitch, transparent, colour, Method);
    return true;
}

bool TQvDib::QvPutPatR(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                       bool transparent, std::uint8_t colour) {
    if (!Reverse || !HasSection() || !pattern) return false;
    RestoreStrip();
    pitch = std::max(pitch, w);
    Span s;
    if (!ClipSpan(x, y, w, h, width_, height_, true, s)) return true;
    BlitSpan(pixels_.data(), stride_, s, pattern, pitch, transparent, colour, Method);
    return true;
}

bool TQvDib::QvPutPatWappi(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                           std::uint8_t colour, bool mirror) {
    if (!HasSection() || !pattern) return false;
    RestoreStrip();
    pitch = std::max(pitch, w);
    Span s;
    if (!ClipSpan(x, y, w, h, width_, height_, mirror, s)) return true;
    BlitSpan(pixels_.data(), stride_, s, pattern, pitch, true, colour, Method);
    return true;
}

bool TQvDib::QvPutPatM(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                       const std::uint8_t* mask, int mw, int mh) {
    if (Reverse) return QvPutPatMR(x, y, w, h, pattern, pitch, mask, mw, mh);
    if (!HasSection() || !pattern || !mask || mw <= 0 || mh <= 0) return false;
    RestoreStrip();
    pitch = std::max(pitch, w);
    Span s;
    if (!ClipSpan(x, y, w, h, width_, height_, false, s)) return true;
    MaskBlit(pixels_.data(), stride_, s, pattern, pitch, mask, mw, mh, Method);
    return true;
}

bool TQvDib::QvPutPatMR(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                        const std::uint8_t* mask, int mw, int mh) {
    if (!Reverse || !HasSection() || !pattern || !mask || mw <= 0 || mh <= 0) return false;
    RestoreStrip();
    pitch = std::max(pitch, w);
    Span s;
    if (!ClipSpan(x, y, w, h, width_, height_, true, s)) return true;
    MaskBlit(pixels_.data(), stride_, s, pattern, pitch, mask, mw, mh, Method);
    return true;
}

// ---------------------------------------------------------------- reading and copying

bool TQvDib::QvGetPat(int x, int y, int w, int h, std::uint8_t* pattern) const {
    if (!HasSection() || !pattern) return false;
    Span s;
    if (!ClipSpan(x, y, w, h, width_, height_, false, s)) return true;
    for (int r = 0; r < s.rows; ++r)
        std::memcpy(pattern + std::size_t(s.srcRow + r) * w + s.srcCol,
                    &pixels_[std::size_t(s.dy0 + r) * stride_ + s.dx0], std::size_t(s.n));
    return true;
}

namespace {

// Clips the source rectangle to the source surface, moving the destination with
// a negative source corner. False when nothing is left.
bool ClipSource(const TQvDib& src, int& x, int& y, int& sx, int& sy, int& w, int& h) {
    if (sx < 0) {
        x -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        y -= sy;
        h += sy;
        sy = 0;
    }
    if (sx >= src.Width() || sy >= src.Height()) return false;
    w = std::min(w, src.Width() - sx);
    h = std::min(h, src.Height() - sy);
    return w > 0 && h > 0;
}

}  // namespace

bool TQvDib::PutDib(int x, int y, const TQvDib* source, int sx, int sy, int w, int h) {
    if (!HasSection() || !source || !source->HasSection()) return false;
    if (!ClipSource(*source, x, y, sx, sy, w, h)) return true;
    return PutPat2(x, y, w, h, source->ImagePtr() + std::size_t(sy) * source->Stride() + sx,
                   source->Stride());
}

bool TQvDib::PasDib(int x, int y, const TQvDib* source, int sx, int sy, int w, int h,
                    std::uint8_t colour) {
    if (!HasSection() || !source || !source->HasSection()) return false;
    if (!ClipSource(*source, x, y, sx, sy, w, h)) return true;
    return PasPat2(x, y, w, h, source->ImagePtr() + std::size_t(sy) * source->Stride() + sx,
                   source->Stride(), colour);
}

namespace {

template <class Load>
bool DrawLoaded(TQvDib& dib, int x, int y, Load load) {
    RGBQUAD* pal = nullptr;
    std::uint8_t* pix = nullptr;
    int w = 0, h = 0;
    if (!load(&pal, &pix, &w, &h)) return false;
    bool ok = true;
    if (!dib.HasSection()) {
        const long long nw = (long long)x + w;
        const long long nh = (long long)y + h;
        if (nw > 0 && nh > 0 && nw <= kMaxSide && nh <= kMaxSide) {
            dib.SetWidth(int(nw));
            dib.SetHeight(int(nh));
        }
        ok = dib.HasSection();
    }
    if (ok) {
        dib.SetPal2(pal);
        dib.PutPat(x, y, w, h, pix);
    }
    QvFree(pal);
    QvFree(pix);
    return ok;
}

}  // namespace

bool TQvDib::DrawBmpFile(const std::string& fileName, int x, int y) {
    return DrawLoaded(*this, x, y, [&](RGBQUAD** p, std::uint8_t** px, int* w, int* h) {
        return LoadBmpFile(fileName, p, px, w, h);
    });
}

bool TQvDib::DrawBmpResource(std::uint16_t resourceId, int x, int y) {
    return DrawLoaded(*this, x, y, [&](RGBQUAD** p, std::uint8_t** px, int* w, int* h) {
        return LoadBmpResource(resourceId, p, px, w, h);
    });
}

bool TQvDib::DrawBmpResource(std::string_view resourceName, int x, int y) {
    return DrawLoaded(*this, x, y, [&](RGBQUAD** p, std::uint8_t** px, int* w, int* h) {
        return LoadBmpResource(resourceName, p, px, w, h);
    });
}

bool TQvDib::DrawBmpPack(TQvPack* pack, const std::string& memberName, int x, int y) {
    return DrawLoaded(*this, x, y, [&](RGBQUAD** p, std::uint8_t** px, int* w, int* h) {
        return LoadBmpPack(pack, memberName, p, px, w, h);
    });
}

// ---------------------------------------------------------------- the kept strip

void TQvDib::SaveStrip(int row) {
    stripPending_ = false;
    if (!HasSection()) return;
    const int r0 = std::clamp(row, 0, height_);
    const int r1 = std::clamp(row + kQvStripRows, 0, height_);
    stripRow_ = r0;
    strip_.assign(pixels_.begin() + std::ptrdiff_t(r0) * stride_,
                  pixels_.begin() + std::ptrdiff_t(r1) * stride_);
    stripPending_ = true;
}

void TQvDib::RestoreStrip() {
    if (stripPending_) backcopy(stripRow_);
}

void TQvDib::getback() { SaveStrip(kQvStripRow); }

void TQvDib::backcopy(int row) {
    if (!stripPending_) return;
    stripPending_ = false;
    if (!HasSection() || row < 0 || row >= height_) return;
    const std::size_t at = std::size_t(row) * stride_;
    const std::size_t n = std::min(strip_.size(), pixels_.size() - at);
    std::memcpy(&pixels_[at], strip_.data(), n);
}

// ---------------------------------------------------------------- refresh

void TQvDib::SetModified() {
    CheckImage();
    if (bitmap_) {
        stripPending_ = false;
        if (OverlayText) {
            SaveStrip(OverlayY);
            DrawOverlay();
        }
        pixelsChanged_ = true;
    }
    if (refresh_ && bitmap_) PushToBitmap();
    Change();
}

void TQvDib::Change() {
    if (OnChange) OnChange(this);
}

void TQvDib::ChgModifiedSw(bool on) {
    CheckImage();
    if (on) {
        if (!refresh_) {
            refresh_ = true;
            suspend_ = 0;
            if (bitmap_ && (pixelsChanged_ || paletteChanged_)) PushToBitmap();
        }
    } else {
        if (suspend_ == 0) suspend_ = 1;
        refresh_ = false;
    }
}

void TQvDib::ModifiedOff() {
    ++suspend_;
    refresh_ = false;
}

void TQvDib::ModifiedOn() {
    if (suspend_ > 0) --suspend_;
    if (suspend_ == 0) ChgModifiedSw(true);
}

// ---------------------------------------------------------------- attachment

void TQvDib::SetImage(ui::Image* image) {
    if (!image) {
        EndBitmap();
        return;
    }
    StartBitmap(&image->Picture());
    image_ = image;
    imageLife_ = image->Life();
    image_->PictureChanged();
}

void TQvDib::CheckImage() {
    // An image destroyed while attached took its bitmap with it: forget both.
    if (image_ && imageLife_.expired()) {
        image_ = nullptr;
        bitmap_ = nullptr;
    }
}

void TQvDib::StartBitmap(ui::Bitmap* bitmap) {
    EndBitmap();
    bitmap_ = bitmap;
    pixelsChanged_ = false;
    paletteChanged_ = false;
    refresh_ = true;
    suspend_ = 0;
    if (bitmap_ && HasSection()) {
        bitmap_->SetColorTable(ToTable(palette_));
        bitmap_->AttachPixels8(pixels_.data(), width_, height_, stride_);
    }
}

void TQvDib::EndBitmap() {
    CheckImage();
    if (bitmap_) bitmap_->AttachPixels8(nullptr, 0, 0, 0);
    if (image_) image_->PictureChanged();
    bitmap_ = nullptr;
    image_ = nullptr;
    imageLife_.reset();
}

void TQvDib::PushToBitmap() {
    CheckImage();
    if (bitmap_) {
        if (paletteChanged_) bitmap_->SetColorTable(ToTable(palette_));
        // The pixels may have moved (a new size): hand them over again.
        if (HasSection() && (bitmap_->Bits() != pixels_.data() || bitmap_->Width() != width_ ||
                             bitmap_->Height() != height_))
            bitmap_->AttachPixels8(pixels_.data(), width_, height_, stride_);
        else
            bitmap_->Changed();
        if (image_) image_->PictureChanged();
        ++pushes_;
    }
    pixelsChanged_ = false;
    paletteChanged_ = false;
}

void TQvDib::DrawOverlay() {
    if (!OverlayText || !HasSection()) return;
    ui::Font font;
    if (OverlayFont) font = *OverlayFont;
    const std::string_view text(OverlayText);
    // Only inside the kept rows, so that putting them back removes every pixel of it.
    const ui::Rect clip{0, std::max(OverlayY, 0), width_,
                        std::min(OverlayY + kQvStripRows, height_)};
    if (clip.IsEmpty()) return;
    const std::uint8_t black = Nearest(palette_, 0, 0, 0);
    const std::uint8_t white = Nearest(palette_, 255, 255, 255);
    auto plotIn = [this](std::uint8_t colour) {
        return [this, colour](int x, int y) { pixels_[std::size_t(y) * stride_ + x] = colour; };
    };
    ui::RenderText(font, text, OverlayX + 1, OverlayY + 5, clip, plotIn(black));
    ui::RenderText(font, text, OverlayX, OverlayY + 4, clip, plotIn(white));
}

ui::Canvas* TQvDib::GetBmpDC() {
    if (dc_ || !HasSection()) return nullptr;
    dc_ = std::make_unique<ui::Bitmap>();
    dc_->SetColorTable(ToTable(palette_));
    dc_->AttachPixels8(pixels_.data(), width_, height_, stride_);
    return &dc_->GetCanvas();
}

void TQvDib::ReleaseBmpDC() { dc_.reset(); }

bool TQvDib::PutBitBlt(int x, int y, ui::Canvas* source, int sx, int sy, int w, int h) {
    if (!HasSection() || !source) return false;
    ui::Bitmap target;
    target.SetColorTable(ToTable(palette_));
    target.AttachPixels8(pixels_.data(), width_, height_, stride_);
    return target.GetCanvas().BitBlt(x, y, w, h, source, sx, sy, ui::SRCCOPY);
}

bool TQvDib::GetBitBlt(ui::Canvas* dest, int x, int y, int sx, int sy, int w, int h) const {
    if (!HasSection() || !dest) return false;
    ui::Bitmap source;
    source.SetColorTable(ToTable(palette_));
    // Only read from: the blit takes the source as const.
    source.AttachPixels8(const_cast<std::uint8_t*>(pixels_.data()), width_, height_, stride_);
    return dest->BitBlt(x, y, w, h, &source, sx, sy, ui::SRCCOPY);
}
