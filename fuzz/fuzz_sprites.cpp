// The sprite pack's sheet list, a sheet picture's header and pixels, and a click-region
// file: every input goes through all three readers, and what they accept is used.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shop/Figure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> names;
    if (ParseSpriteSheetList(data, size, &names)) {
        if (names.size() > std::size_t(kMaxSpriteSheets)) __builtin_trap();
        for (const std::string& n : names)
            if (n.empty() || n.size() > kMaxSpriteSheetName) __builtin_trap();
    }

    SPManChips sheet;
    if (LoadSpriteSheetMemory(data, size, &sheet)) {
        // Every frame, in range or not, lies inside the pixels.
        const std::uint8_t* end =
            sheet.Pixels.get() + std::size_t(sheet.Width) * sheet.Height * sheet.BytesPerPixel;
        for (int f : {0, 1, sheet.Columns * sheet.Rows - 1, sheet.Columns * sheet.Rows, -1}) {
            const std::uint8_t* p = sheet.FramePixels(f);
            const std::size_t last =
                (std::size_t(sheet.FrameHeight - 1) * sheet.Width + sheet.FrameWidth - 1) *
                sheet.BytesPerPixel;
            if (!p || p + last >= end) __builtin_trap();
        }
    }

    PolygonField field;
    if (field.LoadFromBuffer(data, size)) {
        if (field.Count() > kMaxRegions) __builtin_trap();
        for (int i = 0; i < field.Count(); ++i) {
            const OnePolygon& r = field.Region(i);
            for (int k = 0; k < r.Count; ++k) field.FindRegion(r.Points[k]);
            field.FindRegion(static_cast<std::int32_t>((std::int64_t(r.Left) + r.Right) / 2),
                             static_cast<std::int32_t>((std::int64_t(r.Top) + r.Bottom) / 2));
        }
    }
    DiamondF0 grid;
    grid.Init({-18, 226}, {34, 17}, {68, 0}, {34, -17});
    if (size >= 8) {
        const auto x = static_cast<std::int32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                                 std::uint32_t(data[3]) << 24);
        const auto y = static_cast<std::int32_t>(data[4] | data[5] << 8 | data[6] << 16 |
                                                 std::uint32_t(data[7]) << 24);
        const int cell = grid.CellAt(x, y);
        if (cell < -1 || cell >= DiamondF0::kCellsU * DiamondF0::kCellsW) __builtin_trap();
    }
    return 0;
}
