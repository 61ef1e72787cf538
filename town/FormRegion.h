#pragma once
#include "platform/Bitmap.h"
#include "platform/Form.h"
#include "platform/Region.h"

// Windows shaped like their pictures (the clock, the calendar and the message window):
// a region made of every pixel of a picture that differs from a key colour.

// Every pixel of the bitmap whose colour differs from `key`, one rectangle per run of
// such pixels in each row (colours compared as whole values, as the canvas reads them).
ui::Region RegionFromBitmap(const ui::Bitmap& bitmap, ui::TColor key);

// Gives the form the region of the bitmap's pixels that differ from `key`; with
// `redraw` the form is repainted at once. The form is invalidated either way.
void SetFormRegion(ui::Form& form, const ui::Bitmap& bitmap, ui::TColor key, bool redraw);
