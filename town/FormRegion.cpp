#include "town/FormRegion.h"

ui::Region RegionFromBitmap(const ui::Bitmap& bitmap, ui::TColor key) {
    return ui::Region::FromBitmap(bitmap, key);
}

void SetFormRegion(ui::Form& form, const ui::Bitmap& bitmap, ui::TColor key, bool redraw) {
    form.SetRegion(RegionFromBitmap(bitmap, key));
    if (redraw) form.Repaint();
    form.Invalidate();
}
