#include "tests/support/PictureFixtures.h"

#include <unistd.h>

#include <system_error>

namespace test {

std::vector<RGBQUAD> RampPalette() {
    std::vector<RGBQUAD> pal(256);
    for (int i = 0; i < 256; ++i)
        pal[i] = RGBQUAD{std::uint8_t(i / 2), std::uint8_t(255 - i), std::uint8_t(i), 0};
    return pal;
}

std::string WriteTemp(const std::filesystem::path& dir, const std::string& name,
                      const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path p = dir / name;
    mkgamedata::WriteBytes(p, bytes);
    return p.string();
}

}  // namespace test
