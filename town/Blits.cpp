#include "town/Blits.h"

#include "platform/Canvas.h"

void BlitBitmap(ui::Bitmap* dst, int x, int y, int w, int h, const ui::Bitmap* src, int sx, int sy,
                std::uint32_t rop) {
    if (dst == nullptr || src == nullptr || dst->Empty() || src->Empty()) return;
    dst->GetCanvas().BitBlt(x, y, w, h, src, sx, sy, rop);
}

void CopyBitmap(ui::Bitmap* dst, const ui::Bitmap* src) {
    if (dst == nullptr || src == nullptr) return;
    BlitWhole(dst, 0, 0, src, ui::SRCCOPY);
}

void BlitWhole(ui::Bitmap* dst, int x, int y, const ui::Bitmap* src, std::uint32_t rop) {
    if (src == nullptr) return;
    BlitBitmap(dst, x, y, src->Width(), src->Height(), src, 0, 0, rop);
}

void MaskBlit(ui::Bitmap* dst, int x, int y, int w, int h, const ui::Bitmap* src,
              const ui::Bitmap* mask) {
    if (mask == nullptr || src == nullptr) return;
    BlitBitmap(dst, x, y, w, h, mask, 0, 0, ui::SRCAND);
    BlitBitmap(dst, x, y, w, h, src, 0, 0, ui::SRCPAINT);
}

void MaskBlitWhole(ui::Bitmap* dst, int x, int y, const ui::Bitmap* src, const ui::Bitmap* mask) {
    if (src == nullptr) return;
    MaskBlit(dst, x, y, src->Width(), src->Height(), src, mask);
}

void DrawBitmapToImage(ui::Image* image, const ui::Bitmap* bitmap, bool flag) {
    (void)flag;  // the callers' colour-depth hint; the copy is the same either way
    if (image == nullptr || bitmap == nullptr) return;
    image->SetPicture(*bitmap);
}
