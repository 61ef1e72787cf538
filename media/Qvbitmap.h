#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// 8-bit BMP pictures and .act palettes, read from a loose file, from a bitmap of
// the program's own resource set or from a member of an open pack, into plain
// buffers: a 256-entry RGBQUAD palette and a top-down array of palette indices,
// width x height bytes without row padding (the pattern format of TQvDib).
//
// Buffers: every loader takes pointers to the caller's buffer pointers. When the
// buffer pointer is null the loader allocates it with std::malloc (palette 1,024
// bytes, zero-filled past the colours read; pixels width x height bytes, x 3 for
// the 24-bit loaders) and the caller releases it with std::free (or QvFree).
// When it is set, the loader writes into it: a pixel buffer must then hold the
// picture (ask for the size first with null pixel and palette pointers-to-pointers).
// A null pointer-to-pointer means that output is not wanted.
//
// A loader fails (false) without writing or allocating anything when the source
// does not open, the bit count is not the one it reads, the colour table holds
// more than 256 entries, the width or height is 0 (or the width negative), or the
// source is shorter than its headers, colour table and rows. A top-down file
// (negative height) is read in its own row order.

class TQvPack;

// A palette entry as stored in BMP colour tables: blue, green, red, reserved.
struct RGBQUAD {
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
};
static_assert(sizeof(RGBQUAD) == 4);

// A 3-byte colour, stored blue, green, red (the first three bytes of an RGBQUAD).
struct TQvRGB {
    std::uint8_t b = 0;
    std::uint8_t g = 0;
    std::uint8_t r = 0;

    constexpr TQvRGB() = default;
    constexpr TQvRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
        : b(blue), g(green), r(red) {}
    constexpr TQvRGB(const RGBQUAD& q) : b(q.rgbBlue), g(q.rgbGreen), r(q.rgbRed) {}
    // From a colour word 0x00RRGGBB.
    constexpr TQvRGB(std::uint32_t word)
        : b(static_cast<std::uint8_t>(word)),
          g(static_cast<std::uint8_t>(word >> 8)),
          r(static_cast<std::uint8_t>(word >> 16)) {}

    constexpr TQvRGB& operator=(const RGBQUAD& q) { return *this = TQvRGB(q); }
    constexpr TQvRGB& operator=(std::uint32_t word) { return *this = TQvRGB(word); }

    constexpr RGBQUAD ToRGBQUAD() const { return RGBQUAD{b, g, r, 0}; }
    constexpr std::uint32_t ToDWORD() const {
        return std::uint32_t(b) | std::uint32_t(g) << 8 | std::uint32_t(r) << 16;
    }
    constexpr bool operator==(const TQvRGB&) const = default;
};
static_assert(sizeof(TQvRGB) == 3);

// The .act palette: 256 entries of red, green, blue, one byte each.
constexpr std::size_t kActPaletteBytes = 768;

// Frees a buffer that a loader allocated.
void QvFree(void* buffer);

// 8-bit pictures.
[[nodiscard]] bool LoadBmpFile(const std::string& fileName, RGBQUAD** palette,
                               std::uint8_t** pixels, int* width, int* height);
// From the program's resource set: the bitmap named "<id>.bmp", or by its name. The
// resource may or may not start with a 14-byte file header.
[[nodiscard]] bool LoadBmpResource(std::uint16_t resourceId, RGBQUAD** palette,
                                   std::uint8_t** pixels, int* width, int* height);
[[nodiscard]] bool LoadBmpResource(std::string_view resourceName, RGBQUAD** palette,
                                   std::uint8_t** pixels, int* width, int* height);
[[nodiscard]] bool LoadBmpPack(TQvPack* pack, const std::string& memberName, RGBQUAD** palette,
                               std::uint8_t** pixels, int* width, int* height);

// .act palettes (at least 768 bytes; anything past them is ignored).
[[nodiscard]] bool LoadActFile(const std::string& fileName, RGBQUAD** palette);
[[nodiscard]] bool LoadActPack(TQvPack* pack, const std::string& memberName, RGBQUAD** palette);

// 8- or 24-bit pictures into TQvRGB pixels.
[[nodiscard]] bool LoadBmp24File(const std::string& fileName, TQvRGB** pixels, int* width,
                                 int* height);
[[nodiscard]] bool LoadBmp24Resource(std::uint16_t resourceId, TQvRGB** pixels, int* width,
                                     int* height);
[[nodiscard]] bool LoadBmp24Resource(std::string_view resourceName, TQvRGB** pixels, int* width,
                                     int* height);
[[nodiscard]] bool LoadBmp24Pack(TQvPack* pack, const std::string& memberName, TQvRGB** pixels,
                                 int* width, int* height);

// The same readers over bytes already in memory (a whole file when `fileHeader`,
// else a resource: the info header at the start). The file and pack loaders read
// their source whole and hand it to these.
[[nodiscard]] bool LoadBmpMemory(const std::uint8_t* data, std::size_t size, bool fileHeader,
                                 RGBQUAD** palette, std::uint8_t** pixels, int* width, int* height);
[[nodiscard]] bool LoadActMemory(const std::uint8_t* data, std::size_t size, RGBQUAD** palette);
[[nodiscard]] bool LoadBmp24Memory(const std::uint8_t* data, std::size_t size, bool fileHeader,
                                   TQvRGB** pixels, int* width, int* height);
