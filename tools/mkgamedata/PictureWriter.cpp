#include "tools/mkgamedata/PictureWriter.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include "platform/Files.h"
#include "tools/mkgamedata/PackWriter.h"

namespace mkgamedata {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v) {
    ui::StoreU16(&out[at], v);
}
void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    ui::StoreU32(&out[at], v);
}

// File header (14 bytes) and info header (40 bytes) for rows of `stride` bytes
// after a table of `colours` entries.
std::vector<std::uint8_t> Headers(int width, int height, int bits, int colours, int stride,
                                  bool topDown) {
    const std::uint32_t offset = 14 + 40 + std::uint32_t(colours) * 4;
    const std::uint32_t image = std::uint32_t(stride) * std::uint32_t(height);
    std::vector<std::uint8_t> out(offset + image, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, offset + image);
    Put32(out, 10, offset);
    Put32(out, 14, 40);
    Put32(out, 18, std::uint32_t(width));
    Put32(out, 22, std::uint32_t(topDown ? -height : height));
    Put16(out, 26, 1);
    Put16(out, 28, std::uint16_t(bits));
    Put32(out, 30, 0);  // no compression
    Put32(out, 34, image);
    Put32(out, 38, 2835);  // 72 dots per inch
    Put32(out, 42, 2835);
    Put32(out, 46, bits == 8 && colours != 256 ? std::uint32_t(colours) : 0);
    Put32(out, 50, 0);
    return out;
}

}  // namespace

std::vector<std::uint8_t> MakeBmp8(int width, int height, const std::uint8_t* pixels,
                                   const RGBQUAD* palette, const Bmp8Options& options) {
    const int stride = (width + 3) & ~3;
    std::vector<std::uint8_t> out =
        Headers(width, height, 8, options.colours, stride, options.topDown);
    std::size_t at = 54;
    for (int i = 0; i < options.colours; ++i, at += 4) {
        out[at] = palette[i].rgbBlue;
        out[at + 1] = palette[i].rgbGreen;
        out[at + 2] = palette[i].rgbRed;
        out[at + 3] = 0;
    }
    for (int row = 0; row < height; ++row) {
        const int stored = options.topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x)
            out[at + std::size_t(stored) * stride + x] = pixels[std::size_t(row) * width + x];
    }
    return out;
}

std::vector<std::uint8_t> MakeBmp24(int width, int height, const TQvRGB* pixels) {
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> out = Headers(width, height, 24, 0, stride, false);
    for (int row = 0; row < height; ++row) {
        std::uint8_t* dst = &out[54 + std::size_t(height - 1 - row) * stride];
        for (int x = 0; x < width; ++x) {
            const TQvRGB& c = pixels[std::size_t(row) * width + x];
            dst[x * 3] = c.b;
            dst[x * 3 + 1] = c.g;
            dst[x * 3 + 2] = c.r;
        }
    }
    return out;
}

std::vector<std::uint8_t> MakeAct(const RGBQUAD* palette256) {
    std::vector<std::uint8_t> out(kActPaletteBytes);
    for (int i = 0; i < 256; ++i) {
        out[i * 3] = palette256[i].rgbRed;
        out[i * 3 + 1] = palette256[i].rgbGreen;
        out[i * 3 + 2] = palette256[i].rgbBlue;
    }
    return out;
}

std::vector<RGBQUAD> GeneratedPalette() {
    std::vector<RGBQUAD> pal(256, RGBQUAD{0, 0, 0, 0});
    auto set = [&](int i, int r, int g, int b) {
        pal[i] = RGBQUAD{std::uint8_t(b), std::uint8_t(g), std::uint8_t(r), 0};
    };
    // 1..15: the primaries and their halves.
    constexpr int kBasic[15][3] = {{128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},
                                   {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {128, 128, 128},
                                   {255, 0, 0},   {0, 255, 0},   {255, 255, 0},   {0, 0, 255},
                                   {255, 0, 255}, {0, 255, 255}, {255, 128, 0}};
    for (int i = 0; i < 15; ++i) set(i + 1, kBasic[i][0], kBasic[i][1], kBasic[i][2]);
    // 16..231: a 6 x 6 x 6 colour cube.
    for (int i = 0; i < 216; ++i) set(16 + i, (i / 36) * 51, (i / 6 % 6) * 51, (i % 6) * 51);
    // 232..255: greys up to white.
    for (int i = 0; i < 24; ++i) {
        const int v = (i + 1) * 255 / 24;
        set(232 + i, v, v, v);
    }
    return pal;
}

bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    const std::filesystem::path temp = path.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (out)
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "mkgamedata: cannot write %s\n", path.string().c_str());
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    return CommitFile(temp, path);
}

}  // namespace mkgamedata
