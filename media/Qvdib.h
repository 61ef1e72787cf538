#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "media/Qvbitmap.h"

class TQvPack;
namespace ui {
class Image;
class Bitmap;
class Canvas;
class Font;
}  // namespace ui

// Draw modes: how the pixel writer combines a destination byte d with a colour c.
// Any other value writes nothing.
enum TQvMethod : std::uint8_t {
    Qv_SET = 0,  // c
    Qv_NOT = 1,  // c XOR 255 (the complement of the colour, not of the destination)
    Qv_AND = 2,  // d AND c
    Qv_OR = 3,   // d OR c
    Qv_XOR = 4,  // d XOR c
    Qv_ADD = 5,  // d + c, at most 255
    Qv_SUB = 6,  // d - c, at least 0
    Qv_MED = 7,  // (d + c) >> 1
};

// An 8-bit palette drawing surface: Height rows of Stride() = (Width + 3) & ~3
// bytes, top row first, with its own 256-entry palette, drawn on by byte
// operations (pixels, lines, boxes, pattern blits with a transparent colour, 1-bit
// tile masks and mirroring) under a draw mode, and shown through an image whose
// bitmap is given the pixels and the palette whenever they change.
//
// A pattern is a block of palette indices, row after row, with a pitch in bytes.
class TQvDib {
public:
    using TNotifyEvent = std::function<void(TQvDib* Sender)>;

    // 640 x 480 (or the given size), Qv_SET, no mirroring, refresh on, the default
    // palette, all pixels 0.
    TQvDib();
    TQvDib(int width, int height);
    ~TQvDib();
    TQvDib(const TQvDib&) = delete;
    TQvDib& operator=(const TQvDib&) = delete;

    // ---- Properties
    int Width() const { return width_; }
    int Height() const { return height_; }
    // With pixels: ResizeDib to the new size; without: store it and InitDib.
    void SetWidth(int width);
    void SetHeight(int height);
    ui::Image* Image() const { return image_; }
    // Shows the surface in the image: its picture bitmap is attached (StartBitmap)
    // and repainted after every change; null detaches. An image destroyed while
    // attached is forgotten, the surface keeping its pixels.
    void SetImage(ui::Image* image);

    TQvMethod Method = Qv_SET;  // draw mode of the per-pixel paths
    bool Reverse = false;       // mirror QvPutPat and QvPutPatM horizontally
    TNotifyEvent OnChange;      // after every change SetModified reports

    // The overlay: a line of Big5 text drawn over the surface after every change,
    // in black at (OverlayX + 1, OverlayY + 5), then white at (OverlayX, OverlayY + 4),
    // with the 24 clean rows under it kept aside and put back before the next drawing.
    const char* OverlayText = nullptr;
    const ui::Font* OverlayFont = nullptr;
    int OverlayX = 0;
    int OverlayY = 0;

    // ---- Lifecycle and attachment
    bool HasSection() const { return !pixels_.empty(); }
    // Creates the pixels and the default palette; nothing when they exist or the
    // size is not drawable.
    void InitDib();
    // Detaches the bitmap, releases a held canvas and drops pixels and palette.
    void EndDib();
    // New size, keeping the overlapping top-left part of the picture (copied raw,
    // whatever Method and Reverse say) and the palette. Nothing without pixels.
    void ResizeDib(int width, int height);
    // Shows the surface through this bitmap (detaching a previous one): it takes
    // the pixels and palette, both change marks are cleared, refresh is on.
    void StartBitmap(ui::Bitmap* bitmap);
    void SetBitmap(ui::Bitmap* bitmap) { StartBitmap(bitmap); }
    void EndBitmap();
    ui::Bitmap* Bitmap() const { return bitmap_; }

    std::uint8_t* ImagePtr() { return pixels_.empty() ? nullptr : pixels_.data(); }
    const std::uint8_t* ImagePtr() const { return pixels_.empty() ? nullptr : pixels_.data(); }
    int Stride() const { return stride_; }

    // ---- Palette (nothing without pixels)
    void SetPal1(int index, const RGBQUAD* entry);
    void SetPal2(const RGBQUAD* palette256);
    void AskPal1(int index, RGBQUAD* out) const;
    void AskPal2(RGBQUAD* out256) const;
    void SetPal1(int index, const TQvRGB& entry);
    void SetPal2(const TQvRGB* palette256);
    void AskPal1(int index, TQvRGB* out) const;
    void AskPal2(TQvRGB* out256) const;
    // The default arrangement: the system colours at 0..9 and 246..255, black between.
    void InitPal();
    [[nodiscard]] bool SetActFile(const std::string& fileName);
    [[nodiscard]] bool SetActPack(TQvPack* pack, const std::string& memberName);

    // ---- Pixels, lines and boxes (through the draw mode unless said otherwise)
    // Clears OverlayText and sets every byte to 0 (not through the draw mode).
    void Cls();
    bool PSet(int x, int y, std::uint8_t colour);
    std::uint8_t PGet(int x, int y) const;
    bool QvLine(int x1, int y1, int x2, int y2, std::uint8_t colour, bool leaveOutEnds);
    bool Line(int x1, int y1, int x2, int y2, std::uint8_t colour);
    // From the end of the last Line or CLine to (x, y); the joint is written once.
    bool CLine(int x, int y, std::uint8_t colour);
    bool Box(int x1, int y1, int x2, int y2, std::uint8_t colour);
    // Mask: 1 bit per pixel, mh rows of (mw + 7) / 8 bytes, most significant bit
    // first, tiled from the ordered top-left corner.
    bool QvBoxFill(int x1, int y1, int x2, int y2, std::uint8_t colour, const std::uint8_t* mask,
                   int mw, int mh);
    bool BoxFill(int x1, int y1, int x2, int y2, std::uint8_t colour);
    bool BoxFillM(int x1, int y1, int x2, int y2, std::uint8_t colour, const std::uint8_t* mask,
                  int mw, int mh);

    // ---- Pattern blits. Wrappers call their core and SetModified when it succeeds.
    bool PutPat(int x, int y, int w, int h, const std::uint8_t* pattern);
    bool PutPat2(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch);
    bool PasPat(int x, int y, int w, int h, const std::uint8_t* pattern, std::uint8_t colour);
    bool PasPat2(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                 std::uint8_t colour);
    bool PasPatWappi(int x, int y, int w, int h, const std::uint8_t* pattern, std::uint8_t colour,
                     bool mirror);
    bool PasPat2Wappi(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                      std::uint8_t colour, bool mirror);
    // The mask (layout as for QvBoxFill) is anchored at (x, y).
    bool PasMPat(int x, int y, int w, int h, const std::uint8_t* pattern, const std::uint8_t* mask,
                 int mw, int mh);

    // Cores. QvPutPat and QvPutPatM hand over to their mirrored forms when Reverse
    // is set; the mirrored forms return false unless it is.
    bool QvPutPat(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                  bool transparent, std::uint8_t colour);
    bool QvPutPatR(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                   bool transparent, std::uint8_t colour);
    bool QvPutPatWappi(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                       std::uint8_t colour, bool mirror);
    bool QvPutPatM(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                   const std::uint8_t* mask, int mw, int mh);
    bool QvPutPatMR(int x, int y, int w, int h, const std::uint8_t* pattern, int pitch,
                    const std::uint8_t* mask, int mw, int mh);

    // ---- Reading and copying
    // The on-surface part of the rectangle into the pattern (pitch w) at the same
    // relative place; parts off the surface are left as they were.
    bool QvGetPat(int x, int y, int w, int h, std::uint8_t* pattern) const;
    bool GetPat(int x, int y, int w, int h, std::uint8_t* pattern) const {
        return QvGetPat(x, y, w, h, pattern);
    }
    bool PutDib(int x, int y, const TQvDib* source, int sx, int sy, int w, int h);
    bool PasDib(int x, int y, const TQvDib* source, int sx, int sy, int w, int h,
                std::uint8_t colour);
    // An 8-bit picture at (x, y) with its palette; a surface without pixels first
    // takes the size (x + width) x (y + height).
    [[nodiscard]] bool DrawBmpFile(const std::string& fileName, int x, int y);
    [[nodiscard]] bool DrawBmpResource(std::uint16_t resourceId, int x, int y);
    [[nodiscard]] bool DrawBmpResource(std::string_view resourceName, int x, int y);
    [[nodiscard]] bool DrawBmpPack(TQvPack* pack, const std::string& memberName, int x, int y);

    // A canvas that draws on the surface's pixels; null when one is already held
    // or there are no pixels. ReleaseBmpDC ends it.
    ui::Canvas* GetBmpDC();
    void ReleaseBmpDC();
    // Raw copies between a canvas and the surface (no SetModified).
    bool PutBitBlt(int x, int y, ui::Canvas* source, int sx, int sy, int w, int h);
    bool GetBitBlt(ui::Canvas* dest, int x, int y, int sx, int sy, int w, int h) const;

    // ---- Refresh control
    void SetModified();
    void Change();
    void ChgModifiedSw(bool on);
    void ModifiedOff();
    void ModifiedOn();
    bool RefreshOn() const { return refresh_; }
    // Times the pixels or palette were handed to the attached bitmap.
    std::uint64_t PushCount() const { return pushes_; }

    // The kept strip: rows 456..479 put aside, and put back at `row`.
    void getback();
    void backcopy(int row);

private:
    void RestoreStrip();
    void SaveStrip(int row);
    void DrawOverlay();
    void PushToBitmap();
    void CheckImage();
    void Allocate(int width, int height);

    int width_ = 640;
    int height_ = 480;
    int stride_ = 0;
    std::vector<std::uint8_t> pixels_;
    RGBQUAD palette_[256] = {};
    ui::Image* image_ = nullptr;
    std::weak_ptr<const int> imageLife_;  // expires with the image
    ui::Bitmap* bitmap_ = nullptr;
    std::unique_ptr<ui::Bitmap> dc_;  // shows the pixels to the canvas GetBmpDC hands out
    int lastX_ = 0;
    int lastY_ = 0;
    bool refresh_ = true;
    bool pixelsChanged_ = false;
    bool paletteChanged_ = false;
    int suspend_ = 0;
    std::uint64_t pushes_ = 0;
    // The kept strip: 24 rows of this surface from stripRow_, with its own stride.
    std::vector<std::uint8_t> strip_;
    int stripRow_ = 0;
    bool stripPending_ = false;
};

// Rows and first row of the kept overlay strip.
constexpr int kQvStripRows = 24;
constexpr int kQvStripRow = 456;
