#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "media/Qvbitmap.h"

// Writers of the picture formats the game reads: 8-bit BMP files with their
// colour table, 24-bit BMP files and .act palettes. Used by mkgamedata and by the
// tests' fixtures.
namespace mkgamedata {

struct Bmp8Options {
    int colours = 256;     // colour table entries written (biClrUsed; 256 is written as 0)
    bool topDown = false;  // rows top row first, with a negative height
};

// An 8-bit BMP file image. `pixels` are top-down, width x height bytes without
// padding; `palette` holds at least options.colours entries.
std::vector<std::uint8_t> MakeBmp8(int width, int height, const std::uint8_t* pixels,
                                   const RGBQUAD* palette, const Bmp8Options& options = {});
// A 24-bit BMP file image; `pixels` top-down, width x height.
std::vector<std::uint8_t> MakeBmp24(int width, int height, const TQvRGB* pixels);
// A 768-byte .act palette: red, green, blue per entry.
std::vector<std::uint8_t> MakeAct(const RGBQUAD* palette256);

// A palette for generated pictures: a few named colours first, then a spread of
// hues, then greys; entry 0 black, 255 white.
std::vector<RGBQUAD> GeneratedPalette();

// Writes bytes to a file, creating its folder, unless it holds them already; false
// (with a message on stderr) when it cannot.
bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace mkgamedata
