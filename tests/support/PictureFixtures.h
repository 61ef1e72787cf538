#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "media/Qvbitmap.h"
#include "tests/support/Scratch.h"
#include "tools/mkgamedata/PictureWriter.h"

// Small pictures and palettes for tests, written with mkgamedata's own writers.
namespace test {

using mkgamedata::Bmp8Options;
using mkgamedata::MakeAct;
using mkgamedata::MakeBmp24;
using mkgamedata::MakeBmp8;

// A palette whose entry i is (red i, green 255 - i, blue i / 2).
std::vector<RGBQUAD> RampPalette();

// Writes bytes into `dir` as `name`; returns the full path.
std::string WriteTemp(const std::filesystem::path& dir, const std::string& name,
                      const std::vector<std::uint8_t>& bytes);

}  // namespace test

// The old name of this namespace, for tests written before the helpers shared one.
namespace picfix = test;
