#include "platform/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include "platform/Canvas.h"
#include "platform/Files.h"
#include "platform/Screen.h"

namespace ui {
namespace {

// Limits that keep a damaged header from asking for absurd memory.
constexpr int kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;

constexpr int Bpp(PixelFormat f) {
    return f == PixelFormat::pf8bit ? 8 : f == PixelFormat::pf24bit ? 24 : 32;
}
constexpr int StrideFor(int width, PixelFormat f) { return ((width * Bpp(f) + 31) / 32) * 4; }

// 0x00RRGGBB from a colour and back.
constexpr std::uint32_t ColorToRaw(TColor c) {
    return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}
constexpr TColor RawToColor(std::uint32_t v) {
    return RGB(static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
               static_cast<std::uint8_t>(v));
}

// The 20 static colours of the system palette (red, green, blue).
constexpr std::uint8_t kStatic[20][3] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

}  // namespace

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
           std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) return Rect{};
    return r;
}

const Palette& DefaultPalette() {
    static const Palette table = [] {
        Palette p{};
        for (int i = 0; i < 10; ++i) {
            p[i] = RGBQuad{kStatic[i][2], kStatic[i][1], kStatic[i][0], 0};
            p[246 + i] = RGBQuad{kStatic[10 + i][2], kStatic[10 + i][1], kStatic[10 + i][0], 0};
        }
        return p;
    }();
    return table;
}

Bitmap::Bitmap() : palette_(DefaultPalette()) {}

Bitmap::Bitmap(int width, int height, PixelFormat format) : palette_(DefaultPalette()) {
    Allocate(width, height, format);
    // A new bitmap is white, as the class library paints one with its white brush.
    if (format == PixelFormat::pf8bit)
        std::fill(own_.begin(), own_.end(), NearestIndex(clWhite));
    else
        std::fill(own_.begin(), own_.end(), 0xFF);
}

Bitmap::~Bitmap() = default;

Bitmap::Bitmap(const Bitmap& other) : palette_(other.palette_) {
    Allocate(other.width_, other.height_, other.format_);
    for (int y = 0; y < height_; ++y) std::memcpy(ScanLine(y), other.ScanLine(y), stride_);
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this == &other) return *this;
    palette_ = other.palette_;
    Allocate(other.width_, other.height_, other.format_);
    for (int y = 0; y < height_; ++y) std::memcpy(ScanLine(y), other.ScanLine(y), stride_);
    Changed();
    return *this;
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      format_(other.format_),
      own_(std::move(other.own_)),
      bits_(other.bits_),
      attached_(other.attached_),
      palette_(other.palette_) {
    if (!attached_) bits_ = own_.empty() ? nullptr : own_.data();
    other.width_ = other.height_ = other.stride_ = 0;
    other.bits_ = nullptr;
    other.attached_ = false;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this == &other) return *this;
    width_ = other.width_;
    height_ = other.height_;
    stride_ = other.stride_;
    format_ = other.format_;
    own_ = std::move(other.own_);
    attached_ = other.attached_;
    bits_ = attached_ ? other.bits_ : (own_.empty() ? nullptr : own_.data());
    palette_ = other.palette_;
    other.width_ = other.height_ = other.stride_ = 0;
    other.bits_ = nullptr;
    other.attached_ = false;
    Changed();
    return *this;
}

int Bitmap::BitsPerPixel() const { return Bpp(format_); }

void Bitmap::Allocate(int width, int height, PixelFormat format) {
    width = std::clamp(width, 0, kMaxSide);
    height = std::clamp(height, 0, kMaxSide);
    width_ = width;
    height_ = height;
    format_ = format;
    stride_ = StrideFor(width, format);
    attached_ = false;
    own_.assign(static_cast<std::size_t>(stride_) * height, 0);
    bits_ = own_.empty() ? nullptr : own_.data();
}

void Bitmap::SetSize(int width, int height) {
    width = std::clamp(width, 0, kMaxSide);
    height = std::clamp(height, 0, kMaxSide);
    if (width == width_ && height == height_ && !attached_) return;
    Bitmap old(std::move(*this));
    palette_ = old.palette_;
    Allocate(width, height, old.format_);
    // New area white, as the class library fills a resized bitmap with its white brush.
    // Row by row: the old pixels (a 32-bit pixel's fourth byte written 0, as SetRaw
    // does), then white.
    const std::uint32_t white = format_ == PixelFormat::pf8bit ? NearestIndex(clWhite) : 0xFFFFFF;
    const int bytes = Bpp(format_) / 8;
    const int keepW = std::min(width_, old.width_);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = ScanLine(y);
        int x = 0;
        if (y < old.height_ && keepW > 0) {
            std::memcpy(row, old.ScanLine(y), static_cast<std::size_t>(keepW) * bytes);
            if (bytes == 4)
                for (int i = 0; i < keepW; ++i) row[i * 4 + 3] = 0;
            x = keepW;
        }
        if (bytes == 4) {
            for (; x < width_; ++x) {
                std::uint8_t* p = row + x * 4;
                p[0] = p[1] = p[2] = 0xFF;
                p[3] = 0;
            }
        } else if (x < width_) {
            std::memset(row + x * bytes, bytes == 1 ? static_cast<int>(white) : 0xFF,
                        static_cast<std::size_t>(width_ - x) * bytes);
        }
    }
    Changed();
}

void Bitmap::SetFormat(PixelFormat format) {
    if (format == format_ && !attached_) return;
    Bitmap old(std::move(*this));
    palette_ = old.palette_;
    Allocate(old.width_, old.height_, format);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) SetPixel(x, y, old.GetPixel(x, y));
    Changed();
}

void Bitmap::AttachPixels8(std::uint8_t* pixels, int width, int height, int stride) {
    if (pixels == nullptr || width <= 0 || height <= 0 || stride < width) {
        Allocate(0, 0, format_);
        Changed();
        return;
    }
    own_.clear();
    own_.shrink_to_fit();
    width_ = width;
    height_ = height;
    stride_ = stride;
    format_ = PixelFormat::pf8bit;
    bits_ = pixels;
    attached_ = true;
    Changed();
}

void Bitmap::SetColorTable(const Palette& palette) {
    palette_ = palette;
    Changed();
}

void Bitmap::SetColorTable(const RGBQuad* entries, int first, int count) {
    for (int i = 0; i < count && first + i < 256; ++i)
        if (first + i >= 0) palette_[first + i] = entries[i];
    Changed();
}

std::uint32_t Bitmap::GetRaw(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const std::uint8_t* row = ScanLine(y);
    switch (format_) {
        case PixelFormat::pf8bit:
            return row[x];
        case PixelFormat::pf24bit: {
            const std::uint8_t* p = row + x * 3;
            return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
        }
        case PixelFormat::pf32bit: {
            const std::uint8_t* p = row + x * 4;
            return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
        }
    }
    return 0;
}

void Bitmap::SetRaw(int x, int y, std::uint32_t v) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* row = ScanLine(y);
    switch (format_) {
        case PixelFormat::pf8bit:
            row[x] = static_cast<std::uint8_t>(v);
            break;
        case PixelFormat::pf24bit: {
            std::uint8_t* p = row + x * 3;
            p[0] = static_cast<std::uint8_t>(v);
            p[1] = static_cast<std::uint8_t>(v >> 8);
            p[2] = static_cast<std::uint8_t>(v >> 16);
            break;
        }
        case PixelFormat::pf32bit: {
            std::uint8_t* p = row + x * 4;
            p[0] = static_cast<std::uint8_t>(v);
            p[1] = static_cast<std::uint8_t>(v >> 8);
            p[2] = static_cast<std::uint8_t>(v >> 16);
            p[3] = 0;
            break;
        }
    }
}

void Bitmap::RowColors(int y, std::uint32_t* out) const {
    if (y < 0 || y >= height_) return;
    const std::uint8_t* row = ScanLine(y);
    switch (format_) {
        case PixelFormat::pf8bit:
            for (int x = 0; x < width_; ++x) {
                const RGBQuad& q = palette_[row[x]];
                out[x] = std::uint32_t(q.Red) << 16 | std::uint32_t(q.Green) << 8 | q.Blue;
            }
            break;
        case PixelFormat::pf24bit:
        case PixelFormat::pf32bit: {
            const int bytes = Bpp(format_) / 8;
            for (int x = 0; x < width_; ++x, row += bytes)
                out[x] = std::uint32_t(row[0]) | std::uint32_t(row[1]) << 8 |
                         std::uint32_t(row[2]) << 16;
            break;
        }
    }
}

TColor Bitmap::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clBlack;
    if (format_ == PixelFormat::pf8bit) return ToColor(palette_[ScanLine(y)[x]]);
    return RawToColor(GetRaw(x, y));
}

void Bitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    SetRaw(x, y, format_ == PixelFormat::pf8bit ? NearestIndex(color) : ColorToRaw(color));
}

std::uint8_t Bitmap::NearestIndex(TColor color) const {
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    int best = 0;
    int bestDist = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const int dr = palette_[i].Red - r, dg = palette_[i].Green - g, db = palette_[i].Blue - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = i;
            if (d == 0) break;
        }
    }
    return static_cast<std::uint8_t>(best);
}

bool Bitmap::LoadFromMemory(std::span<const std::uint8_t> data, bool fileHeader) {
    const std::uint8_t* base = data.data();
    std::size_t size = data.size();
    std::size_t info = 0;
    std::size_t pixelsAt = 0;
    bool havePixelsAt = false;
    if (fileHeader) {
        if (size < 14 || base[0] != 'B' || base[1] != 'M') return false;
        pixelsAt = LoadU32(base + 10);
        havePixelsAt = true;
        info = 14;
    }
    if (size < info + 40) return false;
    const std::uint32_t headerSize = LoadU32(base + info);
    if (headerSize < 40 || headerSize > size - info) return false;
    const std::int32_t w = static_cast<std::int32_t>(LoadU32(base + info + 4));
    const std::int32_t hRaw = static_cast<std::int32_t>(LoadU32(base + info + 8));
    const std::uint32_t bitCount = LoadU16(base + info + 14);
    const std::uint32_t compression = LoadU32(base + info + 16);
    std::uint32_t colorsUsed = LoadU32(base + info + 32);
    if (compression != 0) return false;  // only uncompressed rows
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return false;
    if (w <= 0 || hRaw == 0 || hRaw == INT32_MIN) return false;
    const bool topDown = hRaw < 0;
    const std::int32_t h = topDown ? -hRaw : hRaw;
    if (w > kMaxSide || h > kMaxSide || std::int64_t(w) * h > kMaxPixels) return false;

    // Indexed pictures (1, 4, 8 bits) become 8-bit bitmaps with their colour table.
    const bool indexed = bitCount <= 8;
    Palette table = DefaultPalette();
    const std::size_t tableAt = info + headerSize;
    if (indexed) {
        const std::uint32_t maxColors = 1u << bitCount;
        if (colorsUsed == 0) colorsUsed = maxColors;
        if (colorsUsed > 256) return false;
        if (tableAt + std::size_t(colorsUsed) * 4 > size) return false;
        std::fill(table.begin(), table.end(), RGBQuad{});
        for (std::uint32_t i = 0; i < colorsUsed; ++i) {
            const std::uint8_t* q = base + tableAt + i * 4;
            table[i] = RGBQuad{q[0], q[1], q[2], 0};
        }
    }
    if (!havePixelsAt) pixelsAt = tableAt + std::size_t(colorsUsed) * 4;
    const PixelFormat format = indexed          ? PixelFormat::pf8bit
                               : bitCount == 24 ? PixelFormat::pf24bit
                                                : PixelFormat::pf32bit;
    const std::size_t fileStride = ((std::size_t(w) * bitCount + 31) / 32) * 4;
    if (pixelsAt > size || (size - pixelsAt) / fileStride < std::size_t(h)) return false;

    Bitmap loaded;
    try {
        loaded = Bitmap(w, h, format);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < h; ++y) {
        const int fileRow = topDown ? y : h - 1 - y;
        const std::uint8_t* src = base + pixelsAt + std::size_t(fileRow) * fileStride;
        std::uint8_t* dst = loaded.ScanLine(y);
        if (bitCount >= 8) {
            std::memcpy(dst, src, std::min<std::size_t>(fileStride, loaded.stride_));
        } else {
            const int perByte = 8 / bitCount;
            const std::uint8_t mask = static_cast<std::uint8_t>((1u << bitCount) - 1);
            for (int x = 0; x < w; ++x) {
                const int shift = 8 - bitCount * (x % perByte + 1);
                dst[x] = static_cast<std::uint8_t>((src[x / perByte] >> shift) & mask);
            }
        }
        if (format == PixelFormat::pf32bit)
            for (int x = 0; x < w; ++x) dst[x * 4 + 3] = 0;
    }
    width_ = loaded.width_;
    height_ = loaded.height_;
    stride_ = loaded.stride_;
    format_ = loaded.format_;
    own_ = std::move(loaded.own_);
    bits_ = own_.data();
    attached_ = false;
    palette_ = table;
    Changed();
    return true;
}

bool Bitmap::LoadFromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    try {
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
        return LoadFromMemory(bytes, true);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::vector<std::uint8_t> Bitmap::SaveToMemory() const {
    const bool pal = format_ == PixelFormat::pf8bit;
    const PixelFormat outFormat = pal ? PixelFormat::pf8bit : PixelFormat::pf24bit;
    const std::uint32_t outStride = StrideFor(width_, outFormat);
    const std::uint32_t tableBytes = pal ? 1024 : 0;
    const std::uint32_t offBits = 14 + 40 + tableBytes;
    const std::uint32_t imageBytes = outStride * height_;
    std::vector<std::uint8_t> out;
    out.reserve(offBits + imageBytes);
    out.push_back('B');
    out.push_back('M');
    ByteWriter w(out);
    w.U32(offBits + imageBytes);
    w.U32(0);
    w.U32(offBits);
    w.U32(40);
    w.U32(static_cast<std::uint32_t>(width_));
    w.U32(static_cast<std::uint32_t>(height_));
    w.U16(1);
    w.U16(pal ? 8 : 24);
    w.U32(0);
    w.U32(imageBytes);
    w.U32(2835);
    w.U32(2835);
    w.U32(pal ? 256 : 0);
    w.U32(0);
    if (pal)
        for (const RGBQuad& q : palette_) {
            out.push_back(q.Blue);
            out.push_back(q.Green);
            out.push_back(q.Red);
            out.push_back(0);
        }
    for (int y = height_ - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t v = GetRaw(x, y);
            if (pal) {
                out.push_back(static_cast<std::uint8_t>(v));
            } else {
                out.push_back(static_cast<std::uint8_t>(v));
                out.push_back(static_cast<std::uint8_t>(v >> 8));
                out.push_back(static_cast<std::uint8_t>(v >> 16));
            }
        }
        out.resize(start + outStride, 0);
    }
    return out;
}

Canvas& Bitmap::GetCanvas() {
    if (!canvas_) canvas_ = std::make_unique<Canvas>(*this);
    canvas_->Retarget(*this);
    return *canvas_;
}

void BlitToXrgb(const Bitmap& src, int sx, int sy, int w, int h, std::uint32_t* dst, int dstPitch,
                int dstWidth, int dstHeight, int dx, int dy) {
    if (dst == nullptr || src.Empty()) return;
    // Clip against the source, then the destination (in 64 bits: no overflow).
    std::int64_t X = sx, Y = sy, W = w, H = h, DX = dx, DY = dy;
    if (X < 0) {
        W += X;
        DX -= X;
        X = 0;
    }
    if (Y < 0) {
        H += Y;
        DY -= Y;
        Y = 0;
    }
    if (DX < 0) {
        W += DX;
        X -= DX;
        DX = 0;
    }
    if (DY < 0) {
        H += DY;
        Y -= DY;
        DY = 0;
    }
    W = std::min({W, std::int64_t(src.Width()) - X, std::int64_t(dstWidth) - DX});
    H = std::min({H, std::int64_t(src.Height()) - Y, std::int64_t(dstHeight) - DY});
    if (W <= 0 || H <= 0) return;
    sx = static_cast<int>(X);
    sy = static_cast<int>(Y);
    w = static_cast<int>(W);
    h = static_cast<int>(H);
    dx = static_cast<int>(DX);
    dy = static_cast<int>(DY);
    switch (src.Format()) {
        case PixelFormat::pf8bit: {
            std::uint32_t lut[256];
            for (int i = 0; i < 256; ++i) {
                const RGBQuad& q = src.ColorTable()[i];
                lut[i] = std::uint32_t(q.Red) << 16 | std::uint32_t(q.Green) << 8 | q.Blue;
            }
            for (int y = 0; y < h; ++y) {
                const std::uint8_t* s = src.ScanLine(sy + y) + sx;
                std::uint32_t* d = dst + static_cast<std::ptrdiff_t>(dy + y) * dstPitch + dx;
                for (int x = 0; x < w; ++x) d[x] = lut[s[x]];
            }
            break;
        }
        case PixelFormat::pf24bit:
            for (int y = 0; y < h; ++y) {
                const std::uint8_t* s = src.ScanLine(sy + y) + sx * 3;
                std::uint32_t* d = dst + static_cast<std::ptrdiff_t>(dy + y) * dstPitch + dx;
                for (int x = 0; x < w; ++x, s += 3)
                    d[x] =
                        std::uint32_t(s[0]) | std::uint32_t(s[1]) << 8 | std::uint32_t(s[2]) << 16;
            }
            break;
        case PixelFormat::pf32bit:
            for (int y = 0; y < h; ++y) {
                const std::uint8_t* s = src.ScanLine(sy + y) + sx * 4;
                std::uint32_t* d = dst + static_cast<std::ptrdiff_t>(dy + y) * dstPitch + dx;
                for (int x = 0; x < w; ++x, s += 4)
                    d[x] =
                        std::uint32_t(s[0]) | std::uint32_t(s[1]) << 8 | std::uint32_t(s[2]) << 16;
            }
            break;
    }
}

void Present(const Bitmap& src, Screen& screen, int dx, int dy) {
    BlitToXrgb(src, 0, 0, src.Width(), src.Height(), screen.Pixels(), screen.Width(),
               screen.Width(), screen.Height(), dx, dy);
}

void Present(const Bitmap& src, const Rect& part, Screen& screen, int dx, int dy) {
    const auto span = [](int a, int b) {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t(b) - a, 0, INT32_MAX));
    };
    BlitToXrgb(src, part.Left, part.Top, span(part.Left, part.Right), span(part.Top, part.Bottom),
               screen.Pixels(), screen.Width(), screen.Width(), screen.Height(), dx, dy);
}

}  // namespace ui
