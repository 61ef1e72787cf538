#include "shop/Figure.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "media/FileFaults.h"
#include "media/Qvdib.h"
#include "media/Qvpack.h"
#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Files.h"

// ===========================================================================
// Fatal errors

namespace {

FatalErrorHandler& CurrentFatalHandler() {
    static FatalErrorHandler handler;
    return handler;
}

// The message box (and the same text on the error stream); then the program ends
// without running any more of its own code but what asked to run on a quick exit (the
// transcript is written). Files on disk are only ever replaced whole, so nothing is
// left half written.
void DefaultFatal(const std::string& message, const std::string& caption) {
    std::fprintf(stderr, "%s: %s\n", ui::Big5ToUtf8(caption).c_str(),
                 ui::Big5ToUtf8(message).c_str());
    if (ui::HaveApp()) ui::App().MessageBox(message, caption, ui::MB_OK | ui::MB_ICONERROR);
    std::fflush(nullptr);
    std::quick_exit(1);
}

void ShowFatal(const std::string& message) {
    const std::string caption = B5("緹菈");
    FatalErrorHandler& handler = CurrentFatalHandler();
    if (handler)
        handler(message, caption);
    else
        DefaultFatal(message, caption);
}

}  // namespace

FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler) {
    return std::exchange(CurrentFatalHandler(), std::move(handler));
}

void FatalError(const std::string& name) { ShowFatal(B5("沒有檔案") + "\n" + name); }

void FatalDamagedError(const std::string& name) { ShowFatal(B5("檔案已經損壞") + "\n" + name); }

void FatalMagicError(const std::string& name) { ShowFatal(B5("MagicNumber 不一致") + "\n" + name); }

// ===========================================================================
// Sprite sheets

SPManChips SpriteSheets[kMaxSpriteSheets];
int SpriteSheetCount = 0;

const std::uint8_t* SPManChips::FramePixels(int frame) const {
    if (!Pixels || Columns <= 0 || Rows <= 0) return nullptr;
    if (frame < 0 || frame >= Columns * Rows) frame = 0;
    const std::size_t column = static_cast<std::size_t>(frame % Columns);
    const std::size_t row = static_cast<std::size_t>(frame / Columns);
    const std::size_t offset =
        column * std::size_t(FrameWidth) + row * std::size_t(FrameHeight) * std::size_t(Width);
    return Pixels.get() + offset * std::size_t(BytesPerPixel);
}

void SPManChips::Free() { *this = SPManChips{}; }

const SPManChips* SpriteSheet(int sheet) {
    if (sheet < 0 || sheet >= SpriteSheetCount || sheet >= kMaxSpriteSheets) return nullptr;
    const SPManChips& s = SpriteSheets[sheet];
    return s.Loaded() ? &s : nullptr;
}

bool ReadSpriteSheetHeader(const std::uint8_t* data, std::size_t memberSize,
                           SpriteSheetHeader* header) {
    if (!data || memberSize < kSpriteSheetHeaderBytes) return false;
    SpriteSheetHeader h;
    if (std::memcmp(data, "!WBM", 4) == 0)
        h.BytesPerPixel = 1;
    else if (std::memcmp(data, "!WBT", 4) == 0)
        h.BytesPerPixel = 3;
    else
        return false;
    h.Width = ui::LoadU16(data + 4);
    h.Height = ui::LoadU16(data + 6);
    h.FrameWidth = ui::LoadU16(data + 8);
    h.FrameHeight = ui::LoadU16(data + 10);
    if (h.FrameWidth == 0 || h.FrameHeight == 0 || h.FrameWidth > h.Width ||
        h.FrameHeight > h.Height)
        return false;
    if (std::uint64_t(memberSize) - kSpriteSheetHeaderBytes < h.PixelBytes()) return false;
    if (header) *header = h;
    return true;
}

namespace {

// Gives the sheet a checked header and its pixels.
void TakeSheet(const SpriteSheetHeader& h, std::unique_ptr<std::uint8_t[]> pixels,
               SPManChips* sheet) {
    sheet->Pixels = std::move(pixels);
    sheet->Width = h.Width;
    sheet->Height = h.Height;
    sheet->FrameWidth = h.FrameWidth;
    sheet->FrameHeight = h.FrameHeight;
    sheet->Columns = h.Width / h.FrameWidth;
    sheet->Rows = h.Height / h.FrameHeight;
    sheet->BytesPerPixel = h.BytesPerPixel;
}

}  // namespace

bool LoadSpriteSheetMemory(const std::uint8_t* data, std::size_t size, SPManChips* sheet) {
    SpriteSheetHeader h;
    if (!sheet || !ReadSpriteSheetHeader(data, size, &h)) return false;
    std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[h.PixelBytes()]);
    if (!pixels) return false;
    std::memcpy(pixels.get(), data + kSpriteSheetHeaderBytes, h.PixelBytes());
    TakeSheet(h, std::move(pixels), sheet);
    return true;
}

bool ParseSpriteSheetList(const std::uint8_t* data, std::size_t size,
                          std::vector<std::string>* names) {
    std::vector<std::string> out;
    bool sawEmpty = false;
    std::size_t i = 0;
    while (i < size && out.size() < std::size_t(kMaxSpriteSheets)) {
        std::size_t end = i;
        while (end < size && data[end] != '\n') ++end;
        std::size_t next = end < size ? end + 1 : end;
        // CRLF: the carriage return belongs to the line end.
        if (end > i && data[end - 1] == '\r') --end;
        std::string name(reinterpret_cast<const char*>(data + i), end - i);
        // A name stops at a NUL byte as it would in the pack's own lookup.
        if (std::size_t nul = name.find('\0'); nul != std::string::npos) name.resize(nul);
        if (name.size() > kMaxSpriteSheetName) name.resize(kMaxSpriteSheetName);
        if (name.empty()) {
            sawEmpty = true;
        } else {
            // An empty line before a name would renumber every sheet after it.
            if (sawEmpty) return false;
            out.push_back(std::move(name));
        }
        i = next;
    }
    if (names) *names = std::move(out);
    return true;
}

void FreeSpriteSheets() {
    for (SPManChips& s : SpriteSheets) s.Free();
    SpriteSheetCount = 0;
}

// The disk path of the sprite pack: the program's folder, names matched without
// regard to case.
std::string SpritePackPath() { return ui::FindPath(kSpritePackPath); }

namespace {

// A member that is there but cannot be read is named with its pack, as the game names
// any damaged member: "Data\SPMan.Pak (Back.wbm)".
void MemberDamaged(const std::string& packPath, const std::string& name) {
    FatalDamagedError(GameFileName(packPath) + " (" + name + ")");
}

// A member the pack does not list is missing; one it lists but cannot read is damaged.
void MemberFault(TQvPack* pack, const std::string& packPath, const std::string& name) {
    if (pack->CheckFileName(name.c_str()) >= 0)
        MemberDamaged(packPath, name);
    else
        FatalError(name);
}

bool SheetMagic(const std::uint8_t* head) {
    return std::memcmp(head, "!WBM", 4) == 0 || std::memcmp(head, "!WBT", 4) == 0;
}

// Loads one sheet picture of the open pack into `sheet`; fatal when it is missing, not
// a sheet (a wrong magic) or damaged (a header that does not fit it, pixels cut short).
bool LoadSheetMember(TQvPack* pack, const std::string& packPath, const std::string& name,
                     SPManChips* sheet) {
    QvFILE* f = pack->Qvfopen(name.c_str());
    if (!f) {
        MemberFault(pack, packPath, name);
        return false;
    }
    const std::uint32_t size = pack->Qvfsize(f);
    std::uint8_t head[kSpriteSheetHeaderBytes];
    SpriteSheetHeader h;
    const bool headRead = pack->Qvfread(head, 1, sizeof head, f) == sizeof head;
    bool ok = headRead && ReadSpriteSheetHeader(head, size, &h);
    std::unique_ptr<std::uint8_t[]> pixels;
    if (ok) {
        pixels.reset(new (std::nothrow) std::uint8_t[h.PixelBytes()]);
        ok = pixels && pack->Qvfread(pixels.get(), 1, static_cast<std::uint32_t>(h.PixelBytes()),
                                     f) == h.PixelBytes();
    }
    pack->Qvfclose(f);
    if (!ok) {
        if (headRead && !SheetMagic(head))
            FatalMagicError(name);
        else
            MemberDamaged(packPath, name);
        return false;
    }
    TakeSheet(h, std::move(pixels), sheet);
    return true;
}

bool LoadSheetsFromOpenPack(TQvPack* pack, const std::string& packPath) {
    QvFILE* f = pack->Qvfopen(kSpriteSheetList);
    if (!f) {
        MemberFault(pack, packPath, kSpriteSheetList);
        return false;
    }
    std::vector<std::uint8_t> list(pack->Qvfsize(f));
    const bool read =
        pack->Qvfread(list.data(), 1, static_cast<std::uint32_t>(list.size()), f) == list.size();
    pack->Qvfclose(f);
    std::vector<std::string> names;
    if (!read || !ParseSpriteSheetList(list.data(), list.size(), &names)) {
        MemberDamaged(packPath, kSpriteSheetList);
        return false;
    }
    for (const std::string& name : names) {
        if (!LoadSheetMember(pack, packPath, name, &SpriteSheets[SpriteSheetCount])) return false;
        ++SpriteSheetCount;
    }
    return true;
}

}  // namespace

bool LoadSpriteSheets(TQvPack* pack) { return LoadSpriteSheets(pack, SpritePackPath()); }

bool LoadSpriteSheets(TQvPack* pack, const std::string& path) {
    FreeSpriteSheets();
    if (!pack) return false;
    if (path.empty() || !pack->OpenPack(path)) {
        // A pack that is there but does not open is damaged, not missing.
        if (!path.empty() && ui::FileExists(path))
            FatalDamagedError(path);
        else
            FatalError(path);
        return false;
    }
    const bool ok = LoadSheetsFromOpenPack(pack, path);
    pack->ClosePack();
    // A scene never runs on part of its sheets.
    if (!ok) FreeSpriteSheets();
    return ok;
}

bool LoadSpritePalette(TQvPack* pack, TQvDib* surface) {
    return LoadSpritePalette(pack, surface, SpritePackPath());
}

bool LoadSpritePalette(TQvPack* pack, TQvDib* surface, const std::string& path) {
    if (!pack || !surface || path.empty() || !pack->OpenPack(path)) return false;
    const bool ok = surface->SetActPack(pack, kSpritePalette);
    pack->ClosePack();
    return ok;
}

// ===========================================================================
// Sprites and layers

SPMan* SpriteLayers[kSpriteLayers] = {};
bool SpritesDirty = false;

namespace {
bool ValidLayer(int layer) { return layer >= 0 && layer < kSpriteLayers; }
}  // namespace

SPMan::SPMan(int layer, int sheet, int y, int x, int depth, int frame)
    : layer_(layer), sheet_(sheet), frame_(frame), depth_(depth), x_(x), y_(y) {
    Link();
}

SPMan::~SPMan() { Unlink(); }

void SPMan::Link() {
    next_ = nullptr;
    if (!ValidLayer(layer_)) return;
    SPMan** at = &SpriteLayers[layer_];
    while (*at && (*at)->depth_ > depth_) at = &(*at)->next_;
    next_ = *at;
    *at = this;
}

void SPMan::Unlink() {
    if (ValidLayer(layer_)) {
        for (SPMan** at = &SpriteLayers[layer_]; *at; at = &(*at)->next_) {
            if (*at == this) {
                *at = next_;
                break;
            }
        }
    }
    next_ = nullptr;
}

void SPMan::SetDepth(int depth) {
    Unlink();
    depth_ = depth;
    Link();
}

int SPMan::SheetColumns() const {
    const SPManChips* s = SpriteSheet(sheet_);
    return s ? s->Columns : 0;
}

void SPMan::StartAnimation(std::uint32_t delay, std::uint32_t mode) {
    StopAnimation();
    if (SheetColumns() < 2) return;
    flags_ |= (mode & SPM_MODE_BITS) | SPM_ANIMATING;
    delay_ = delayCount_ = delay;
}

void SPMan::StopAnimation() {
    const int n = SheetColumns();
    if (n < 2) return;
    flags_ &= ~(SPM_ANIMATING | SPM_BACKWARDS);
    frame_ = frame_ / n * n;
}

void SPMan::Step() {
    const int n = SheetColumns();
    // A sheet of one column (or none loaded) has nothing to step through.
    if (n < 2) {
        flags_ &= ~(SPM_ANIMATING | SPM_BACKWARDS);
        return;
    }
    if (delayCount_ > 0) {
        --delayCount_;
        return;
    }
    if (flags_ & SPM_BACKWARDS) {
        if (frame_ % n == 0) {
            flags_ &= ~SPM_BACKWARDS;
            if (flags_ & SPM_LOOP)
                ++frame_;
            else
                flags_ &= ~SPM_ANIMATING;
        } else {
            --frame_;
        }
    } else {
        ++frame_;
        if (frame_ % n == 0) {
            if (flags_ & SPM_PING_PONG) {
                frame_ -= 2;
                flags_ |= SPM_BACKWARDS;
            } else {
                frame_ -= n;
                if (!(flags_ & SPM_LOOP)) {
                    if (flags_ & SPM_STOP_ON_LAST) frame_ += n - 1;
                    flags_ &= ~SPM_ANIMATING;
                }
            }
        }
    }
    delayCount_ = delay_;
}

bool InitSpriteEngine(TQvPack* pack) {
    bool ok = LoadSpriteSheets(pack);
    // A list cut short (emptied, halved) loads, but leaves the floor without sheets.
    if (ok && SpriteSheetCount < kShopSheetCount) {
        MemberDamaged(SpritePackPath(), kSpriteSheetList);
        FreeSpriteSheets();
        ok = false;
    }
    ClearSpriteLayers();
    return ok;
}

void ClearSpriteLayers() {
    for (SPMan*& head : SpriteLayers) head = nullptr;
}

void InvalidateSprites() { SpritesDirty = true; }

namespace {

void DrawSprite(TQvDib* surface, const SPMan& s) {
    const SPManChips* sheet = SpriteSheet(s.Sheet());
    if (!sheet || sheet->BytesPerPixel != 1) return;
    const std::uint8_t* frame = sheet->FramePixels(s.Frame());
    if (s.Flags() & SPM_TRANSPARENT) {
        surface->PasPat2Wappi(s.X(), s.Y(), sheet->FrameWidth, sheet->FrameHeight, frame,
                              sheet->Width, frame[0], (s.Flags() & SPM_MIRRORED) != 0);
    } else {
        surface->PutPat2(s.X(), s.Y(), sheet->FrameWidth, sheet->FrameHeight, frame, sheet->Width);
    }
}

}  // namespace

bool RenderLayer(TQvDib* target, TQvDib* surface, int layer) {
    if (!target || !surface || !ValidLayer(layer)) return false;
    surface->Cls();
    if (!SpritesDirty) {
        bool animating = false;
        for (SPMan* s = SpriteLayers[layer]; s && !animating; s = s->Next())
            animating = s->IsAnimating();
        if (!animating) return false;
    }
    for (SPMan* s = SpriteLayers[layer]; s; s = s->Next()) {
        if (!s->IsVisible()) continue;
        DrawSprite(surface, *s);
        if (s->IsAnimating()) s->Step();
    }
    target->PutDib(0, 0, surface, 0, 0, surface->Width(), surface->Height());
    SpritesDirty = false;
    return true;
}

// ===========================================================================
// Figures

Figure::Figure(int figure, int gx, int direction, int gy) {
    const int sheet = figure + 1;
    if (const SPManChips* s = SpriteSheet(sheet)) {
        w_ = s->FrameWidth;
        h_ = s->FrameHeight;
        columns_ = s->Columns;
    }
    direction_ = direction & 3;
    x_ = FloorSpriteX(gx, gy, w_);
    y_ = FloorSpriteY(gx, gy, h_);
    sprite_ = std::make_unique<SPMan>(0, sheet, y_, x_, FloorDepth(x_, y_, w_, h_),
                                      columns_ * (direction_ >> 1));
    if (direction_ & 1) sprite_->SetMirrored();
    sprite_->Show();
    sprite_->SetTransparent();
}

Figure::~Figure() = default;

void Figure::UpdateSprite() {
    sprite_->SetPosition(x_, y_);
    sprite_->SetDepth(FloorDepth(x_, y_, w_, h_));
}

void Figure::PlaceAt(int gx, int gy) {
    x_ = FloorSpriteX(gx, gy, w_);
    y_ = FloorSpriteY(gx, gy, h_);
    UpdateSprite();
}

void Figure::MoveBy(int dx, int dy) {
    x_ += dx;
    y_ += dy;
    UpdateSprite();
}

void Figure::SetDirection(int direction) {
    direction_ = direction & 3;
    sprite_->SetFrame(columns_ * (direction_ >> 1));
    if (direction_ & 1)
        sprite_->SetMirrored();
    else
        sprite_->ClearMirrored();
}

void Figure::StartWalking() { sprite_->StartAnimation(0, SPM_LOOP); }
void Figure::StopWalking() { sprite_->StopAnimation(); }
void Figure::Show() { sprite_->Show(); }
void Figure::Hide() { sprite_->Hide(); }

// ===========================================================================
// The floor grid

namespace {

// A vector between two points: 33 bits per component, so products need 128.
struct Vec {
    std::int64_t x;
    std::int64_t y;
};

Vec Between(FieldPoint from, FieldPoint to) {
    return {std::int64_t(to.x) - from.x, std::int64_t(to.y) - from.y};
}

__int128 Cross(Vec a, Vec b) {
    return static_cast<__int128>(a.x) * b.y - static_cast<__int128>(a.y) * b.x;
}

// Corner arithmetic wraps rather than overflows; the game's grids are small.
FieldPoint Add(FieldPoint a, FieldPoint b) {
    return {static_cast<std::int32_t>(std::int64_t(a.x) + b.x),
            static_cast<std::int32_t>(std::int64_t(a.y) + b.y)};
}

FieldPoint Scale(FieldPoint a, int k) {
    return {static_cast<std::int32_t>(std::int64_t(a.x) * k),
            static_cast<std::int32_t>(std::int64_t(a.y) * k)};
}

}  // namespace

void DiamondF0::Init(FieldPoint origin, FieldPoint u, FieldPoint v, FieldPoint w) {
    Origin = origin;
    U = u;
    V = v;
    W = w;
    Corners[0] = origin;
    Corners[1] = Add(origin, Scale(u, kCellsU));
    Corners[2] = Add(Corners[1], Scale(w, kCellsW));
    Corners[3] = Add(origin, Scale(w, kCellsW));
}

int DiamondF0::CellAt(FieldPoint p) const {
    for (int i = 0; i < 4; ++i) {
        const FieldPoint a = Corners[i];
        if (Cross(Between(a, Corners[(i + 1) & 3]), Between(a, p)) > 0) return -1;
    }
    // p = O + a U + b W with a = cross(p - O, W) / D and b = cross(U, p - O) / D.
    const Vec u{U.x, U.y}, w{W.x, W.y};
    const __int128 d = Cross(u, w);
    if (d == 0) return -1;
    const Vec rel = Between(Origin, p);
    const __int128 aD = Cross(rel, w);
    const __int128 bD = Cross(u, rel);
    // Whether the coordinate times D lies at or beyond k times D.
    auto atLeast = [d](__int128 vD, int k) { return d > 0 ? vD >= k * d : vD <= k * d; };
    // Bisection along both axes in turn, keeping the half that holds p.
    int uLo = 0, uHi = kCellsU, wLo = 0, wHi = kCellsW;
    while (uHi - uLo > 1 || wHi - wLo > 1) {
        if (uHi - uLo > 1) {
            const int mid = (uLo + uHi) / 2;
            (atLeast(aD, mid) ? uLo : uHi) = mid;
        }
        if (wHi - wLo > 1) {
            const int mid = (wLo + wHi) / 2;
            (atLeast(bD, mid) ? wLo : wHi) = mid;
        }
    }
    return uLo * kCellsW + wLo;
}

// ===========================================================================
// Click regions

bool OnePolygon::Contains(FieldPoint p) const {
    if (Count <= 0 || p.x < Left || p.x > Right || p.y < Top || p.y > Bottom) return false;
    for (int i = 0; i < Count; ++i) {
        const FieldPoint a = Points[i];
        if (Cross(Between(a, Points[(i + 1) % Count]), Between(a, p)) > 0) return false;
    }
    return true;
}

PolygonField::PolygonField() {
    for (auto& pair : UserPairs) {
        pair[0] = -1;
        pair[1] = 0;
    }
}

PolygonField::~PolygonField() = default;

bool PolygonField::LoadFromBuffer(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 4) return false;
    const std::uint32_t n = ui::LoadU32(data);
    if (n > std::uint32_t(kMaxRegions)) return false;
    OnePolygon regions[kMaxRegions];
    std::size_t at = 4;
    for (std::uint32_t r = 0; r < n; ++r) {
        if (size - at < 4) return false;
        const std::uint32_t count = ui::LoadU32(data + at);
        at += 4;
        if (count > std::uint32_t(kMaxRegionPoints) || size - at < std::size_t(count) * 8)
            return false;
        OnePolygon& poly = regions[r];
        poly.Count = static_cast<std::int32_t>(count);
        for (std::uint32_t k = 0; k < count; ++k, at += 8) {
            const FieldPoint p{ui::LoadI32(data + at), ui::LoadI32(data + at + 4)};
            poly.Points[k] = p;
            if (k == 0) {
                poly.Left = poly.Right = p.x;
                poly.Top = poly.Bottom = p.y;
            } else {
                poly.Left = std::min(poly.Left, p.x);
                poly.Right = std::max(poly.Right, p.x);
                poly.Top = std::min(poly.Top, p.y);
                poly.Bottom = std::max(poly.Bottom, p.y);
            }
        }
    }
    for (int r = 0; r < kMaxRegions; ++r) regions_[r] = regions[r];
    count_ = static_cast<int>(n);
    return true;
}

bool PolygonField::LoadFromPack(TQvPack* pack, const std::string& name) {
    if (!pack) return false;
    std::unique_ptr<TMemoryStream> stream = pack->QvMakeStream(name.c_str());
    return LoadFromStream(stream.get());
}

bool PolygonField::LoadFromStream(TMemoryStream* stream) {
    if (!stream) return false;
    return LoadFromBuffer(stream->Memory(), static_cast<std::size_t>(stream->Size()));
}

int PolygonField::FindRegion(FieldPoint p) const {
    for (int i = 0; i < count_; ++i)
        if (regions_[i].Contains(p)) return i;
    return -1;
}

std::vector<std::uint8_t> BuildClickRegionFile(
    const std::vector<std::vector<FieldPoint>>& regions) {
    std::vector<std::uint8_t> out;
    ui::ByteWriter w(out);
    w.U32(static_cast<std::uint32_t>(regions.size()));
    for (const auto& region : regions) {
        w.U32(static_cast<std::uint32_t>(region.size()));
        for (const FieldPoint& p : region) {
            w.I32(p.x);
            w.I32(p.y);
        }
    }
    return out;
}
