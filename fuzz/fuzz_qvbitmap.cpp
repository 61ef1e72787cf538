// 8-bit and 24-bit BMP pictures and .act palettes: every input goes through each
// loader (as a file and as a resource without its file header), into buffers the
// loader allocates and into buffers sized beforehand, and what loads is drawn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/Qvbitmap.h"
#include "media/Qvdib.h"

namespace {

void EightBit(const std::uint8_t* data, std::size_t size, bool fileHeader) {
    int w = 0, h = 0;
    if (!LoadBmpMemory(data, size, fileHeader, nullptr, nullptr, &w, &h)) return;
    if (w <= 0 || h <= 0) __builtin_trap();
    // Into the caller's buffers, exactly as large as the size asked for.
    std::vector<std::uint8_t> pixels(std::size_t(w) * h);
    std::vector<RGBQUAD> palette(256);
    std::uint8_t* px = pixels.data();
    RGBQUAD* pal = palette.data();
    if (!LoadBmpMemory(data, size, fileHeader, &pal, &px, nullptr, nullptr)) __builtin_trap();
    // Allocated by the loader.
    RGBQUAD* ownPal = nullptr;
    std::uint8_t* ownPx = nullptr;
    if (!LoadBmpMemory(data, size, fileHeader, &ownPal, &ownPx, nullptr, nullptr)) __builtin_trap();
    TQvDib dib(64, 48);
    dib.SetPal2(ownPal);
    dib.PasPat(-w / 2, -h / 2, w, h, ownPx, ownPx[0]);
    dib.Reverse = true;
    dib.PutPat(w > 64 ? 0 : 64 - w, 0, w, h, ownPx);
    QvFree(ownPal);
    QvFree(ownPx);
}

void TwentyFourBit(const std::uint8_t* data, std::size_t size, bool fileHeader) {
    int w = 0, h = 0;
    TQvRGB* px = nullptr;
    if (!LoadBmp24Memory(data, size, fileHeader, &px, &w, &h)) return;
    if (w <= 0 || h <= 0) __builtin_trap();
    volatile std::uint32_t sink = px[std::size_t(w) * h - 1].ToDWORD();
    (void)sink;
    QvFree(px);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (bool fileHeader : {true, false}) {
        EightBit(data, size, fileHeader);
        TwentyFourBit(data, size, fileHeader);
    }
    RGBQUAD* pal = nullptr;
    if (LoadActMemory(data, size, &pal)) {
        TQvDib dib(4, 4);
        dib.SetPal2(pal);
    }
    QvFree(pal);
    return 0;
}
