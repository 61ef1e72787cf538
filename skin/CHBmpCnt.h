#pragma once
#include <functional>
#include <string_view>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

// Skin sheets and the parts of them that controls show.
//
// A container (TCHBmpContainer) holds one bitmap cut into equal cells. A control that
// shows part of a sheet owns a reader (TCHBcReader: which container, which cell or
// which explicit rectangle) and, for images and panels, a drawer (TCHBcDrawer: where
// and how to draw it). A change link lets a reader follow changes of its container;
// destroying a container detaches every reader registered with it.

class TCHCustomBmpContainer;

// A reader's subscription to its container's changes.
class TCHBcChangeLink {
public:
    TCHBcChangeLink() = default;
    ~TCHBcChangeLink();
    TCHBcChangeLink(const TCHBcChangeLink&) = delete;
    TCHBcChangeLink& operator=(const TCHBcChangeLink&) = delete;

    TCHCustomBmpContainer* Container() const { return container_; }
    std::function<void()> OnChange;
    void Change() {
        if (OnChange) OnChange();
    }

private:
    friend class TCHCustomBmpContainer;
    TCHCustomBmpContainer* container_ = nullptr;
};

class TCHCustomBmpContainer {
public:
    TCHCustomBmpContainer() = default;
    // Detaches every registered link (their readers lose their container).
    virtual ~TCHCustomBmpContainer();
    TCHCustomBmpContainer(const TCHCustomBmpContainer&) = delete;
    TCHCustomBmpContainer& operator=(const TCHCustomBmpContainer&) = delete;

    // The sheet. SetBitmap takes a copy; after drawing on Bitmap() directly, call
    // BitmapChanged.
    const ui::Bitmap& Bitmap() const { return bitmap_; }
    ui::Bitmap& Bitmap() { return bitmap_; }
    void SetBitmap(const ui::Bitmap& bitmap);
    void BitmapChanged() { Changed(); }
    // Loads the sheet from a BMP of the program's resource set; false (the sheet as it
    // was) when there is no such resource or it does not decode.
    [[nodiscard]] bool LoadFromResource(std::string_view name);

    // > 0: cell size in pixels; < 0: minus the number of columns (rows); 0: one column
    // as wide (one row as high) as the bitmap.
    int CellWidth() const { return cellWidth_; }
    void SetCellWidth(int value);
    int CellHeight() const { return cellHeight_; }
    void SetCellHeight(int value);

    // The geometry derived from the bitmap and the cell settings.
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    int CellW() const { return cellW_; }
    int CellH() const { return cellH_; }
    int CellCount() const { return columns_ * rows_; }

    // Cell n (numbered down each column first, clamped to the last); n < 0: the whole
    // bitmap.
    ui::Rect GetCellRect(int n) const;

    void RegisterChanges(TCHBcChangeLink* link);
    void UnRegisterChanges(TCHBcChangeLink* link);
    std::size_t LinkCount() const { return links_.size(); }

    // Called after the container changed (links first).
    std::function<void(TCHCustomBmpContainer&)> OnChange;

protected:
    // Recomputes the geometry, tells every link in registration order, then OnChange.
    void Changed();

private:
    void UpdateGeometry();

    ui::Bitmap bitmap_;
    int cellWidth_ = 0;
    int cellHeight_ = 0;
    int columns_ = 1;
    int rows_ = 1;
    int cellW_ = 0;
    int cellH_ = 0;
    std::vector<TCHBcChangeLink*> links_;
};

class TCHBmpContainer : public TCHCustomBmpContainer {
public:
    const ui::Bitmap& GetBitmap() const { return Bitmap(); }
};

// Which part of which sheet a control shows.
class TCHCustomBcReader {
public:
    // `ownerChange` is the owning control's change callback.
    explicit TCHCustomBcReader(std::function<void()> ownerChange = {});
    virtual ~TCHCustomBcReader() = default;
    TCHCustomBcReader(const TCHCustomBcReader&) = delete;
    TCHCustomBcReader& operator=(const TCHCustomBcReader&) = delete;

    TCHCustomBmpContainer* BmpContainer() const { return link_.Container(); }
    void SetBmpContainer(TCHCustomBmpContainer* container);
    // >= 0: a cell; -1: the whole bitmap; -2: the explicit rectangle (lower values
    // are stored as -2).
    int Index() const { return index_; }
    void SetIndex(int index);

    int SrcLeft() const { return src_.Left; }
    int SrcTop() const { return src_.Top; }
    int SrcRight() const { return src_.Right; }
    int SrcBottom() const { return src_.Bottom; }
    int SrcWidth() const { return src_.Width(); }
    int SrcHeight() const { return src_.Height(); }
    // Each stores its value, makes Index -2 and tells the owner.
    void SetSrcLeft(int v);
    void SetSrcTop(int v);
    void SetSrcRight(int v);
    void SetSrcBottom(int v);
    void SetSrcWidth(int w) { SetSrcRight(src_.Left + w); }
    void SetSrcHeight(int h) { SetSrcBottom(src_.Top + h); }
    const ui::Rect& SrcRect() const { return src_; }

    // The container's bitmap, or null.
    const ui::Bitmap* GetBmp() const;
    // The sheet's colour table, or null when there is no sheet.
    const ui::Palette* GetPalette() const;
    // With a container and Index >= -1, the source becomes that cell (or the whole bitmap).
    void UpdateSrc();

    std::function<void()> OwnerChange;

protected:
    void Change() {
        if (OwnerChange) OwnerChange();
    }

private:
    TCHBcChangeLink link_;
    int index_ = -1;
    ui::Rect src_;
};

class TCHBcReader : public TCHCustomBcReader {
public:
    using TCHCustomBcReader::TCHCustomBcReader;
};

enum TCHDrawStyle {
    chdsNormal,
    chdsCenter,
    chdsStretch,
    chdsOffset,
    chdsTile,
    chdsFix,
    chdsTitleFix
};

// Copies a rectangle of a sheet onto a canvas: at its own size, or scaled when the
// sizes differ.
void CHBcCopyRect(ui::Canvas& canvas, const ui::Rect& dst, const ui::Bitmap& sheet,
                  const ui::Rect& src);

// Where and how a control draws its reader's part.
class TCHCustomBcDrawer {
public:
    using RectHook = std::function<void(ui::Rect& r)>;

    // `ownerRect` gives the owner's rectangle (its client area); `ownerChange` is the
    // owner's change callback.
    TCHCustomBcDrawer(TCHCustomBcReader* reader, std::function<ui::Rect()> ownerRect,
                      std::function<void()> ownerChange);
    virtual ~TCHCustomBcDrawer() = default;
    TCHCustomBcDrawer(const TCHCustomBcDrawer&) = delete;
    TCHCustomBcDrawer& operator=(const TCHCustomBcDrawer&) = delete;

    TCHDrawStyle DrawStyle() const { return style_; }
    void SetDrawStyle(TCHDrawStyle style);
    bool ParentClient() const { return parentClient_; }
    void SetParentClient(bool on);

    int DstLeft() const { return dst_.Left; }
    int DstTop() const { return dst_.Top; }
    int DstRight() const { return dst_.Right; }
    int DstBottom() const { return dst_.Bottom; }
    int DstWidth() const { return dst_.Width(); }
    int DstHeight() const { return dst_.Height(); }
    void SetDstLeft(int v) { UpdateDst(ui::Rect{v, dst_.Top, dst_.Right, dst_.Bottom}); }
    void SetDstTop(int v) { UpdateDst(ui::Rect{dst_.Left, v, dst_.Right, dst_.Bottom}); }
    void SetDstRight(int v) { UpdateDst(ui::Rect{dst_.Left, dst_.Top, v, dst_.Bottom}); }
    void SetDstBottom(int v) { UpdateDst(ui::Rect{dst_.Left, dst_.Top, dst_.Right, v}); }
    void SetDstWidth(int w) { SetDstRight(dst_.Left + w); }
    void SetDstHeight(int h) { SetDstBottom(dst_.Top + h); }
    const ui::Rect& DstRect() const { return dst_; }
    // A different rectangle is stored, ParentClient goes off and the owner is told.
    void UpdateDst(const ui::Rect& r);

    // Style parameters: offsets (A), far-side margins (B), fill the middle, head apart.
    int DpAX() const { return ax_; }
    int DpAY() const { return ay_; }
    int DpBX() const { return bx_; }
    int DpBY() const { return by_; }
    bool DpFill() const { return fill_; }
    bool DpOtherHead() const { return otherHead_; }
    void SetDpAX(int v) { SetDpParams(v, ay_, bx_, by_, fill_, otherHead_); }
    void SetDpAY(int v) { SetDpParams(ax_, v, bx_, by_, fill_, otherHead_); }
    void SetDpBX(int v) { SetDpParams(ax_, ay_, v, by_, fill_, otherHead_); }
    void SetDpBY(int v) { SetDpParams(ax_, ay_, bx_, v, fill_, otherHead_); }
    void SetDpFill(bool v) { SetDpParams(ax_, ay_, bx_, by_, v, otherHead_); }
    void SetDpOtherHead(bool v) { SetDpParams(ax_, ay_, bx_, by_, fill_, v); }
    // All six at once; nothing happens when none differs.
    void SetDpParams(int ax, int ay, int bx, int by, bool fill, bool otherHead);

    // Owner hooks that may adjust the source and the destination before drawing.
    RectHook OnAdjustSrc;
    RectHook OnAdjustDst;

    // Draws the reader's part onto the canvas by DrawStyle; nothing without a canvas
    // or a sheet.
    void Draw(ui::Canvas* canvas);

    TCHCustomBcReader* Reader() const { return reader_; }

protected:
    void Changed() {
        if (ownerChange_) ownerChange_();
    }

private:
    TCHCustomBcReader* reader_;
    std::function<ui::Rect()> ownerRect_;
    std::function<void()> ownerChange_;
    TCHDrawStyle style_ = chdsNormal;
    bool parentClient_ = true;
    ui::Rect dst_;
    int ax_ = 0, ay_ = 0, bx_ = 0, by_ = 0;
    bool fill_ = true;
    bool otherHead_ = false;
};

class TCHBcDrawer : public TCHCustomBcDrawer {
public:
    using TCHCustomBcDrawer::TCHCustomBcDrawer;
};
