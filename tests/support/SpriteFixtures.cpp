#include "tests/support/SpriteFixtures.h"

#include <cstdio>
#include <cstring>
#include <system_error>

#include "media/Qvpack.h"
#include "platform/Big5.h"
#include "tests/support/PictureFixtures.h"

namespace test {

namespace {
void PutU16(std::vector<std::uint8_t>& out, int v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
}  // namespace

std::vector<std::uint8_t> SheetPicture(int width, int height, int frameWidth, int frameHeight,
                                       const std::function<std::uint8_t(int x, int y)>& pixel,
                                       const char* magic) {
    std::vector<std::uint8_t> out(magic, magic + 4);
    PutU16(out, width);
    PutU16(out, height);
    PutU16(out, frameWidth);
    PutU16(out, frameHeight);
    const int bpp = std::memcmp(magic, "!WBT", 4) == 0 ? 3 : 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int b = 0; b < bpp; ++b) out.push_back(pixel(x, y));
    return out;
}

std::vector<std::uint8_t> NumberedSheet(int columns, int rows, int frameWidth, int frameHeight) {
    return SheetPicture(
        columns * frameWidth, rows * frameHeight, frameWidth, frameHeight, [=](int x, int y) {
            return static_cast<std::uint8_t>(y / frameHeight * columns + x / frameWidth + 1);
        });
}

void InstallSheet(int index, const std::vector<std::uint8_t>& picture) {
    SPManChips sheet;
    if (!LoadSpriteSheetMemory(picture.data(), picture.size(), &sheet)) return;
    SpriteSheets[index] = std::move(sheet);
    if (SpriteSheetCount <= index) SpriteSheetCount = index + 1;
}

bool WritePack(const std::filesystem::path& path,
               const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& members) {
    TQvPack pack;
    pack.SetReadOnly(false);
    if (!pack.NewPack(path.string().c_str())) return false;
    for (const auto& [name, bytes] : members) {
        std::FILE* f = std::tmpfile();
        if (!f) return false;
        const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() &&
                        std::fflush(f) == 0 && pack.AddFileFrom(name.c_str(), f, false);
        std::fclose(f);
        if (!ok) return false;
    }
    return pack.EndPack();
}

SpriteEngineReset::SpriteEngineReset() {
    FreeSpriteSheets();
    ClearSpriteLayers();
    SpritesDirty = false;
}

SpriteEngineReset::~SpriteEngineReset() {
    FreeSpriteSheets();
    ClearSpriteLayers();
    SpritesDirty = false;
}

FatalCatcher::FatalCatcher() {
    previous_ =
        SetFatalErrorHandler([this](const std::string& message, const std::string& caption) {
            Messages.push_back(ui::Big5ToUtf8(message));
            Captions.push_back(ui::Big5ToUtf8(caption));
        });
}

FatalCatcher::~FatalCatcher() { SetFatalErrorHandler(std::move(previous_)); }

}  // namespace test
