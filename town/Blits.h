#pragma once
#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/Controls.h"

// Blit routines between bitmaps, shared by the stage, the map screen, the message and
// choice windows and the order list. Each does nothing when a bitmap is missing and
// clips to both bitmaps.

// One raster-operation blit of (sx, sy, w, h) of `src` to (x, y) of `dst`.
void BlitBitmap(ui::Bitmap* dst, int x, int y, int w, int h, const ui::Bitmap* src, int sx, int sy,
                std::uint32_t rop);
// `src` copied onto `dst` at (0, 0), at its own size.
void CopyBitmap(ui::Bitmap* dst, const ui::Bitmap* src);
// The whole of `src` to (x, y) with `rop`.
void BlitWhole(ui::Bitmap* dst, int x, int y, const ui::Bitmap* src, std::uint32_t rop);
// Transparent drawing: the mask ANDed in, then the picture ORed over it.
void MaskBlit(ui::Bitmap* dst, int x, int y, int w, int h, const ui::Bitmap* src,
              const ui::Bitmap* mask);
void MaskBlitWhole(ui::Bitmap* dst, int x, int y, const ui::Bitmap* src, const ui::Bitmap* mask);
// The image's own picture takes the bitmap's size and pixels; the image repaints.
void DrawBitmapToImage(ui::Image* image, const ui::Bitmap* bitmap, bool flag);
