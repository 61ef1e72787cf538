#include "town/FormRegion.h"

ui::Region RegionFromBitmap(const ui::Bitmap& bitmap, ui::TColor key) {
    ui::Region region;
    const int width = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        int x = 0;
        while (x < width) {
            while (x < width && bitmap.GetPixel(x, y) == key) ++x;
            if (x < width) {
                const int start = x;
                while (x < width && bitmap.GetPixel(x, y) != key) ++x;
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
