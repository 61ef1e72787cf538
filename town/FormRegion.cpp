#include "town/FormRegion.h"

#include <cstdint>
#include <vector>

#include "platform/Screen.h"

ui::Region RegionFromBitmap(const ui::Bitmap& bitmap, ui::TColor key) {
    ui::Region region;
    const int width = bitmap.Width();
    const std::uint32_t keyValue =
        ui::Rgb(ui::GetRValue(key), ui::GetGValue(key), ui::GetBValue(key));
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
    for (int y = 0; y < bitmap.Height(); ++y) {
        bitmap.RowColors(y, row.data());
        int x = 0;
        while (x < width) {
            while (x < width && row[x] == keyValue) ++x;
            if (x < width) {
                const int start = x;
                while (x < width && row[x] != keyValue) ++x;
                region.AddRect(ui::Rect{start, y, x, y + 1});
            }
            ++x;
        }
    }
    return region;
}

void SetFormRegion(ui::Form& form, const ui::Bitmap& bitmap, ui::TColor key, bool redraw) {
    form.SetRegion(RegionFromBitmap(bitmap, key));
    if (redraw) form.Repaint();
    form.Invalidate();
}
