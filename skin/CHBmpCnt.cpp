#include "skin/CHBmpCnt.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "resources/Resources.h"

namespace {

// Column and row counts are kept to what a sheet could sensibly hold (their product
// fits an int).
constexpr std::int64_t kMaxCells = 0x4000;

// The rectangle part of the sheet that really exists: `src` cut to the bitmap, with
// (x, y) moved along so the pixels land where they would have.
bool CutToSheet(const ui::Bitmap& sheet, ui::Rect& src, int& x, int& y) {
    const ui::Rect cut = ui::Intersect(src, ui::Rect{0, 0, sheet.Width(), sheet.Height()});
    if (cut.IsEmpty()) return false;
    x += cut.Left - src.Left;
    y += cut.Top - src.Top;
    src = cut;
    return true;
}

// The source at its own size with its top-left at (x, y), cut to `area`.
void DrawAt(ui::Canvas& canvas, const ui::Rect& area, int x, int y, const ui::Bitmap& sheet,
            ui::Rect src) {
    if (!CutToSheet(sheet, src, x, y)) return;
    const ui::Rect c = ui::Intersect(ui::Bounds(x, y, src.Width(), src.Height()), area);
    if (c.IsEmpty()) return;
    canvas.BitBlt(c.Left, c.Top, c.Width(), c.Height(), &sheet, src.Left + (c.Left - x),
                  src.Top + (c.Top - y), ui::SRCCOPY);
}

// A non-negative remainder.
int Mod(std::int64_t a, int m) {
    const std::int64_t r = a % m;
    return static_cast<int>(r < 0 ? r + m : r);
}

// The source repeated over `area`, the first tile at (startX, startY) (at or before the
// area's corner), cut at the area's edges. A source without pixels draws nothing.
void TileAt(ui::Canvas& canvas, const ui::Rect& area, int startX, int startY,
            const ui::Bitmap& sheet, ui::Rect src) {
    if (area.IsEmpty()) return;
    src = ui::Intersect(src, ui::Rect{0, 0, sheet.Width(), sheet.Height()});
    const int w = src.Width(), h = src.Height();
    if (w <= 0 || h <= 0) return;
    if (w == 1 && h == 1) {
        // One pixel: its colour over the whole area.
        const ui::TBrush keep = canvas.Brush;
        canvas.Brush = ui::TBrush{};
        canvas.Brush.Color = sheet.GetPixel(src.Left, src.Top);
        canvas.FillRect(area);
        canvas.Brush = keep;
        return;
    }
    for (int y = startY; y < area.Bottom; y += h)
        for (int x = startX; x < area.Right; x += w) DrawAt(canvas, area, x, y, sheet, src);
}

// Splits a length into near, middle and far parts: the margins as asked, shrunk to fit.
void Split(int length, int nearM, int farM, int& nearOut, int& farOut) {
    nearM = std::max(nearM, 0);
    farM = std::max(farM, 0);
    length = std::max(length, 0);
    nearOut = std::min(nearM, length);
    farOut = std::min(farM, length - nearOut);
}

// A 3 x 3 frame: corners at their own size, edges repeated along the sides, the middle
// repeated over the inside when `fill`. Margins larger than the source or the
// destination shrink to fit (near side first).
void FixFrame(ui::Canvas& canvas, const ui::Rect& dst, const ui::Bitmap& sheet, const ui::Rect& src,
              int left, int right, int top, int bottom, bool fill) {
    int sl, sr, st, sb, dl, dr, dt, db;
    Split(src.Width(), left, right, sl, sr);
    Split(src.Height(), top, bottom, st, sb);
    Split(dst.Width(), sl, sr, dl, dr);
    Split(dst.Height(), st, sb, dt, db);
    const int sx[4] = {src.Left, src.Left + sl, src.Right - sr, src.Right};
    const int sy[4] = {src.Top, src.Top + st, src.Bottom - sb, src.Bottom};
    const int dx[4] = {dst.Left, dst.Left + dl, dst.Right - dr, dst.Right};
    const int dy[4] = {dst.Top, dst.Top + dt, dst.Bottom - db, dst.Bottom};
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            if (i == 1 && j == 1 && !fill) continue;
            const ui::Rect s{sx[i], sy[j], sx[i + 1], sy[j + 1]};
            const ui::Rect d{dx[i], dy[j], dx[i + 1], dy[j + 1]};
            if (s.IsEmpty() || d.IsEmpty()) continue;
            // Far corners and edges are anchored to their far side.
            const int x0 = i == 2 ? d.Right - s.Width() : d.Left;
            const int y0 = j == 2 ? d.Bottom - s.Height() : d.Top;
            if (i != 1 && j != 1)
                DrawAt(canvas, d, x0, y0, sheet, s);
            else
                TileAt(canvas, d, i == 1 ? d.Left : x0, j == 1 ? d.Top : y0, sheet, s);
        }
    }
}

}  // namespace

// ================================================================ change link

TCHBcChangeLink::~TCHBcChangeLink() {
    if (container_ != nullptr) container_->UnRegisterChanges(this);
}

// ================================================================ container

TCHCustomBmpContainer::~TCHCustomBmpContainer() {
    // Every reader loses its container and tells its owner (which repaints empty).
    const std::vector<TCHBcChangeLink*> links = links_;
    links_.clear();
    for (TCHBcChangeLink* link : links) link->container_ = nullptr;
    for (TCHBcChangeLink* link : links) link->Change();
}

void TCHCustomBmpContainer::SetBitmap(const ui::Bitmap& bitmap) {
    bitmap_ = bitmap;
    Changed();
}

bool TCHCustomBmpContainer::LoadFromResource(std::string_view name) {
    const res::Resource* r = res::FindResource(name);
    if (r == nullptr) return false;
    ui::Bitmap loaded;
    if (!loaded.LoadFromMemory(std::span<const std::uint8_t>(r->data, r->size))) return false;
    bitmap_ = std::move(loaded);
    Changed();
    return true;
}

void TCHCustomBmpContainer::SetCellWidth(int value) {
    if (value == cellWidth_) return;
    cellWidth_ = value;
    Changed();
}

void TCHCustomBmpContainer::SetCellHeight(int value) {
    if (value == cellHeight_) return;
    cellHeight_ = value;
    Changed();
}

void TCHCustomBmpContainer::UpdateGeometry() {
    auto count = [](int cell, int length) -> int {
        std::int64_t n = 1;
        if (cell > 0)
            n = std::max<std::int64_t>(1, length / cell);
        else if (cell < 0)
            n = -static_cast<std::int64_t>(cell);
        return static_cast<int>(std::min(n, kMaxCells));
    };
    const int w = bitmap_.Width(), h = bitmap_.Height();
    columns_ = count(cellWidth_, w);
    rows_ = count(cellHeight_, h);
    cellW_ = cellWidth_ > 0 ? cellWidth_ : w / columns_;
    cellH_ = cellHeight_ > 0 ? cellHeight_ : h / rows_;
}

void TCHCustomBmpContainer::Changed() {
    UpdateGeometry();
    // A link's owner may unregister links while we walk: walk a copy and skip the gone.
    const std::vector<TCHBcChangeLink*> links = links_;
    for (TCHBcChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Change();
    if (OnChange) OnChange(*this);
}

ui::Rect TCHCustomBmpContainer::GetCellRect(int n) const {
    const int w = bitmap_.Width(), h = bitmap_.Height();
    if (n < 0) return ui::Rect{0, 0, w, h};
    const std::int64_t last = std::int64_t{columns_} * rows_ - 1;
    const std::int64_t cell = std::min<std::int64_t>(n, last);
    const std::int64_t row = cell % rows_, column = cell / rows_;
    const std::int64_t left = column * cellW_, top = row * cellH_;
    const int cw = std::min(cellW_, w), ch = std::min(cellH_, h);
    return ui::Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + cw),
                    static_cast<int>(top + ch)};
}

void TCHCustomBmpContainer::RegisterChanges(TCHBcChangeLink* link) {
    if (link == nullptr) return;
    if (link->container_ != nullptr && link->container_ != this)
        link->container_->UnRegisterChanges(link);
    link->container_ = this;
    if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TCHCustomBmpContainer::UnRegisterChanges(TCHBcChangeLink* link) {
    if (link == nullptr) return;
    std::erase(links_, link);
    if (link->container_ == this) link->container_ = nullptr;
}

// ================================================================ reader

TCHCustomBcReader::TCHCustomBcReader(std::function<void()> ownerChange)
    : OwnerChange(std::move(ownerChange)) {
    link_.OnChange = [this] {
        UpdateSrc();
        Change();
    };
}

void TCHCustomBcReader::SetBmpContainer(TCHCustomBmpContainer* container) {
    if (container == link_.Container()) return;
    if (link_.Container() != nullptr) link_.Container()->UnRegisterChanges(&link_);
    if (container != nullptr) container->RegisterChanges(&link_);
    UpdateSrc();
    Change();
}

void TCHCustomBcReader::SetIndex(int index) {
    index = std::max(index, -2);
    if (index == index_) return;
    index_ = index;
    UpdateSrc();
    Change();
}

void TCHCustomBcReader::SetSrcLeft(int v) {
    src_.Left = v;
    index_ = -2;
    Change();
}

void TCHCustomBcReader::SetSrcTop(int v) {
    src_.Top = v;
    index_ = -2;
    Change();
}

void TCHCustomBcReader::SetSrcRight(int v) {
    src_.Right = v;
    index_ = -2;
    Change();
}

void TCHCustomBcReader::SetSrcBottom(int v) {
    src_.Bottom = v;
    index_ = -2;
    Change();
}

const ui::Bitmap* TCHCustomBcReader::GetBmp() const {
    return link_.Container() != nullptr ? &link_.Container()->Bitmap() : nullptr;
}

const ui::Palette* TCHCustomBcReader::GetPalette() const {
    const ui::Bitmap* bmp = GetBmp();
    return bmp != nullptr ? &bmp->ColorTable() : nullptr;
}

void TCHCustomBcReader::UpdateSrc() {
    if (index_ >= -1 && link_.Container() != nullptr) src_ = link_.Container()->GetCellRect(index_);
}

// ================================================================ drawing a rectangle

void CHBcCopyRect(ui::Canvas& canvas, const ui::Rect& dst, const ui::Bitmap& sheet,
                  const ui::Rect& src) {
    if (dst.IsEmpty() || src.IsEmpty() || sheet.Empty()) return;
    if (dst.Width() == src.Width() && dst.Height() == src.Height()) {
        DrawAt(canvas, dst, dst.Left, dst.Top, sheet, src);
        return;
    }
    if (src == ui::Rect{0, 0, sheet.Width(), sheet.Height()}) {
        canvas.StretchDraw(dst, sheet);
        return;
    }
    // A part is stretched from a bitmap of its own (what lies outside the sheet white).
    ui::Bitmap part(src.Width(), src.Height(), sheet.Format());
    part.SetColorTable(sheet.ColorTable());
    part.GetCanvas().BitBlt(0, 0, src.Width(), src.Height(), &sheet, src.Left, src.Top,
                            ui::SRCCOPY);
    canvas.StretchDraw(dst, part);
}

// ================================================================ drawer

TCHCustomBcDrawer::TCHCustomBcDrawer(TCHCustomBcReader* reader, std::function<ui::Rect()> ownerRect,
                                     std::function<void()> ownerChange)
    : reader_(reader), ownerRect_(std::move(ownerRect)), ownerChange_(std::move(ownerChange)) {
    if (ownerRect_) dst_ = ownerRect_();
}

void TCHCustomBcDrawer::SetDrawStyle(TCHDrawStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TCHCustomBcDrawer::SetParentClient(bool on) {
    if (on) {
        parentClient_ = true;
        if (ownerRect_) dst_ = ownerRect_();
        Changed();
        return;
    }
    if (!parentClient_) return;
    parentClient_ = false;
    Changed();
}

void TCHCustomBcDrawer::UpdateDst(const ui::Rect& r) {
    if (r == dst_) return;
    dst_ = r;
    parentClient_ = false;
    Changed();
}

void TCHCustomBcDrawer::SetDpParams(int ax, int ay, int bx, int by, bool fill, bool otherHead) {
    if (ax == ax_ && ay == ay_ && bx == bx_ && by == by_ && fill == fill_ &&
        otherHead == otherHead_)
        return;
    ax_ = ax;
    ay_ = ay;
    bx_ = bx;
    by_ = by;
    fill_ = fill;
    otherHead_ = otherHead;
    Changed();
}

void TCHCustomBcDrawer::Draw(ui::Canvas* canvas) {
    if (parentClient_ && ownerRect_) dst_ = ownerRect_();
    ui::Rect dst = dst_;
    ui::Rect src = reader_ != nullptr ? reader_->SrcRect() : ui::Rect{};
    if (OnAdjustSrc) OnAdjustSrc(src);
    if (OnAdjustDst) OnAdjustDst(dst);
    const ui::Bitmap* sheet = reader_ != nullptr ? reader_->GetBmp() : nullptr;
    if (canvas == nullptr || sheet == nullptr || sheet->Empty() || dst.IsEmpty() || src.IsEmpty())
        return;
    const int sw = src.Width(), sh = src.Height();
    switch (style_) {
        case chdsNormal:
            DrawAt(*canvas, dst, dst.Left, dst.Top, *sheet, src);
            break;
        case chdsCenter:
            DrawAt(*canvas, dst, dst.Left + (dst.Width() - sw) / 2,
                   dst.Top + (dst.Height() - sh) / 2, *sheet, src);
            break;
        case chdsStretch:
            CHBcCopyRect(*canvas, dst, *sheet, src);
            break;
        case chdsOffset:
            DrawAt(*canvas, dst, dst.Left + ax_, dst.Top + ay_, *sheet, src);
            break;
        case chdsTile: {
            // The repetition shifted by DpAX columns and DpAY rows.
            src = ui::Intersect(src, ui::Rect{0, 0, sheet->Width(), sheet->Height()});
            if (src.IsEmpty()) break;
            const int sw = src.Width(), sh = src.Height();
            const int x0 = dst.Left - sw + 1 + Mod(std::int64_t{ax_} - 1, sw);
            const int y0 = dst.Top - sh + 1 + Mod(std::int64_t{ay_} - 1, sh);
            TileAt(*canvas, dst, x0, y0, *sheet, src);
            break;
        }
        case chdsFix:
            FixFrame(*canvas, dst, *sheet, src, ax_, bx_, ay_, by_, fill_);
            break;
        case chdsTitleFix: {
            // A title bar: the head never takes more than half the height.
            const int top = std::min(std::max(ay_, 0), dst.Height() / 2);
            if (!otherHead_) {
                FixFrame(*canvas, dst, *sheet, src, ax_, bx_, top, by_, fill_);
                break;
            }
            // Head and body apart: the source's top rows as a strip over the head, the
            // rest as a frame without a top over the body.
            int srcHead, unused;
            Split(sh, top, 0, srcHead, unused);
            const ui::Rect headSrc{src.Left, src.Top, src.Right, src.Top + srcHead};
            const ui::Rect bodySrc{src.Left, src.Top + srcHead, src.Right, src.Bottom};
            const ui::Rect headDst{dst.Left, dst.Top, dst.Right, dst.Top + top};
            const ui::Rect bodyDst{dst.Left, dst.Top + top, dst.Right, dst.Bottom};
            FixFrame(*canvas, headDst, *sheet, headSrc, ax_, bx_, 0, 0, true);
            FixFrame(*canvas, bodyDst, *sheet, bodySrc, ax_, bx_, 0, by_, fill_);
            break;
        }
    }
}
