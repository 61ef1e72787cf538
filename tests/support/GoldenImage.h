#pragma once
// Pixel goldens for the drawing tests: a bitmap's decoded pixels are compared with
// tests/platform/golden/<name>.png exactly. On a mismatch <name>-actual.png is written
// beside it; UPDATE_GOLDEN=1 rewrites the golden instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Screen.h"

namespace test {

inline std::string Dir() { return std::string(LUMIA_SOURCE_DIR) + "/tests/platform/golden/"; }

inline std::vector<std::uint32_t> Pixels(const ui::Bitmap& bm) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(bm.Width()) * bm.Height(), 0);
    ui::BlitToXrgb(bm, 0, 0, bm.Width(), bm.Height(), px.data(), bm.Width(), bm.Width(),
                   bm.Height(), 0, 0);
    return px;
}

inline ::testing::AssertionResult Matches(const ui::Bitmap& bm, const std::string& name) {
    const std::string path = Dir() + name + ".png";
    const std::vector<std::uint32_t> actual = Pixels(bm);
    const char* update = std::getenv("UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        if (!ui::WritePng(path, actual.data(), bm.Width(), bm.Height(), bm.Width()))
            return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess();
    }
    std::vector<std::uint32_t> expected;
    int w = 0, h = 0;
    const bool read = ui::ReadPng(path, expected, w, h);
    if (read && w == bm.Width() && h == bm.Height() && expected == actual)
        return ::testing::AssertionSuccess();
    const std::string actualPath = Dir() + name + "-actual.png";
    ui::WritePng(actualPath, actual.data(), bm.Width(), bm.Height(), bm.Width());
    if (!read)
        return ::testing::AssertionFailure()
               << "no golden " << path << " (wrote " << actualPath << ")";
    return ::testing::AssertionFailure()
           << name << " differs from its golden (" << w << "x" << h << " vs " << bm.Width() << "x"
           << bm.Height() << "); see " << actualPath;
}

}  // namespace test
