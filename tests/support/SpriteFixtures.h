#pragma once
// Fixture builders for the sprite engine: sheet pictures in memory, sheets installed
// straight into the table, sprite packs on disk, and a catcher for the fatal path.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "shop/Figure.h"
#include "tests/support/Scratch.h"

namespace test {

// A sheet picture: magic, u16 width, height, frame width, frame height, pixels.
// Pixel (x, y) of a 1-byte sheet is pixel(x, y).
std::vector<std::uint8_t> SheetPicture(int width, int height, int frameWidth, int frameHeight,
                                       const std::function<std::uint8_t(int x, int y)>& pixel,
                                       const char* magic = "!WBM");
// Frame f of the sheet filled with colour f + 1 (frame numbers readable in pixels).
std::vector<std::uint8_t> NumberedSheet(int columns, int rows, int frameWidth, int frameHeight);

// Puts a sheet picture into SpriteSheets[index] (raising SpriteSheetCount to reach it).
void InstallSheet(int index, const std::vector<std::uint8_t>& picture);

// Writes a pack at `path` holding the members (name, bytes), stored as they are.
bool WritePack(const std::filesystem::path& path,
               const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& members);

// Leaves the sprite engine empty on entry and on exit: no sheets, no layer lists,
// nothing marked for redraw.
class SpriteEngineReset {
public:
    SpriteEngineReset();
    ~SpriteEngineReset();
};

// Records the fatal path's messages (Big5 message converted to UTF-8) instead of
// ending the program; the previous handler comes back at the end.
class FatalCatcher {
public:
    FatalCatcher();
    ~FatalCatcher();
    std::vector<std::string> Messages;
    std::vector<std::string> Captions;

private:
    FatalErrorHandler previous_;
};

}  // namespace test

// The old name of this namespace, for tests written before the helpers shared one.
namespace fixtures = test;
