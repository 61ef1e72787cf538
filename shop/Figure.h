#pragma once
// The shop scene's sprite engine and the shop floor's geometry.
//
// Sprite sheets (frames in a grid on one picture) are listed in "SPMan.cfg" of the
// sprite pack "Data\SPMan.Pak" and held in `SpriteSheets`. Sprites (`SPMan`) live in
// four layer lists, each ordered by depth (largest first, drawn first, so furthest
// back); `RenderLayer` composes a layer onto a drawing surface and copies it to the
// target surface. On top of it: `Figure`, a person standing on the isometric floor;
// `DiamondF0`, the floor grid that maps a screen point to a cell; `PolygonField`, a set
// of convex click regions read from a region file (the shop's "Shoppoly.plf", the map
// screen's "town.plf" and "land.plf").
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TQvPack;
class TQvDib;
class TMemoryStream;

// ---------------------------------------------------------------------------
// Fatal errors

// What the fatal path does with its message box text and caption (both Big5). The
// default shows the message box through the platform and ends the program with
// status 1. Tests install their own handler to observe the call; when a handler
// returns, the caller gives up what it was doing and reports failure.
using FatalErrorHandler =
    std::function<void(const std::string& message, const std::string& caption)>;

// Installs `handler` (an empty one restores the default) and returns the previous one.
FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler);

// "沒有檔案" + line feed + name, caption "緹菈": a file the game cannot run without.
void FatalError(const std::string& name);
// "MagicNumber 不一致" + line feed + name, caption "緹菈": a sheet picture that is not one.
void FatalMagicError(const std::string& name);
// "檔案已經損壞" + line feed + name, caption "緹菈": a file that is there but holds too
// little for the game to run.
void FatalDamagedError(const std::string& name);

// The sheets the shop floor draws: 0 the background, 1..16 the people, 17 the cat,
// 18 the door, 19 the gate, 20 the furniture, 21 the shelves, 22 the balloons, 23 the
// mixing pot.
constexpr int kShopSheetCount = 24;

// ---------------------------------------------------------------------------
// Sprite sheets

constexpr int kMaxSpriteSheets = 64;
constexpr std::size_t kSpriteSheetHeaderBytes = 12;
// Longest sheet name kept from a line of the sheet list; longer lines are cut (and
// then name no member, since pack member names are shorter).
constexpr std::size_t kMaxSpriteSheetName = 63;

// The sheet list, the palette and the pack they live in.
inline constexpr const char* kSpritePackPath = "Data\\SPMan.Pak";
inline constexpr const char* kSpriteSheetList = "SPMan.cfg";
inline constexpr const char* kSpritePalette = "SPMan.act";

// A sprite sheet: a picture of Columns x Rows frames, each FrameWidth x FrameHeight.
struct SPManChips {
    std::unique_ptr<std::uint8_t[]> Pixels;  // Width x Height x BytesPerPixel, row by row
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t FrameWidth = 0;
    std::int32_t FrameHeight = 0;
    std::int32_t Columns = 0;        // Width / FrameWidth
    std::int32_t Rows = 0;           // Height / FrameHeight
    std::int32_t BytesPerPixel = 0;  // 1 ("!WBM", palette indices) or 3 ("!WBT"); 0 = not loaded

    bool Loaded() const { return Pixels != nullptr; }
    // The first pixel of frame f (pitch Width x BytesPerPixel); a frame outside
    // 0..Columns x Rows - 1 gives the first frame. Null when not loaded.
    const std::uint8_t* FramePixels(int frame) const;
    void Free();
};

extern SPManChips SpriteSheets[kMaxSpriteSheets];
extern int SpriteSheetCount;

// The loaded sheet `sheet`, or null.
const SPManChips* SpriteSheet(int sheet);

// The header of a sheet picture: magic "!WBM" or "!WBT", then u16 width, height,
// frame width, frame height (little-endian), then the pixels row by row.
struct SpriteSheetHeader {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t FrameWidth = 0;
    std::int32_t FrameHeight = 0;
    std::int32_t BytesPerPixel = 0;
    std::uint64_t PixelBytes() const {
        return std::uint64_t(Width) * std::uint64_t(Height) * std::uint64_t(BytesPerPixel);
    }
};

// Reads the 12 header bytes and checks them against the member's size: false for a
// wrong magic, a frame size of 0 or larger than the sheet, or a member shorter than
// the header and pixels it declares.
[[nodiscard]] bool ReadSpriteSheetHeader(const std::uint8_t* data, std::size_t memberSize,
                                         SpriteSheetHeader* header);
// A whole sheet picture from memory; false (sheet untouched) as for the header.
[[nodiscard]] bool LoadSpriteSheetMemory(const std::uint8_t* data, std::size_t size,
                                         SPManChips* sheet);

// Splits the sheet list into names: lines end with CRLF or LF, a last line may end
// at the end of the buffer, names are cut to kMaxSpriteSheetName bytes, at most
// kMaxSpriteSheets names are taken. False for an empty line before a name (it would
// shift every later sheet number).
[[nodiscard]] bool ParseSpriteSheetList(const std::uint8_t* data, std::size_t size,
                                        std::vector<std::string>* names);

// Opens "Data\SPMan.Pak" of the program's folder on `pack` and loads every sheet that
// "SPMan.cfg" names into SpriteSheets (freeing the ones held). A missing pack, list
// or sheet is fatal (FatalError with its name; the pack with its path), as is a sheet
// that is not one (FatalMagicError) and a pack, list or sheet that is there but cannot
// be read (FatalDamagedError; a member as "Data\SPMan.Pak (name)"); false then, with
// no sheets held. The pack is closed again.
[[nodiscard]] bool LoadSpriteSheets(TQvPack* pack);
// The same from the sprite pack at `packPath`.
[[nodiscard]] bool LoadSpriteSheets(TQvPack* pack, const std::string& packPath);
void FreeSpriteSheets();
// The sprites' palette "SPMan.act" of the sprite pack onto the surface; false when
// the pack or the palette cannot be read. The pack is closed again.
[[nodiscard]] bool LoadSpritePalette(TQvPack* pack, TQvDib* surface);
[[nodiscard]] bool LoadSpritePalette(TQvPack* pack, TQvDib* surface, const std::string& packPath);
// Path of the sprite pack in the program's folder.
std::string SpritePackPath();

// ---------------------------------------------------------------------------
// Sprites

constexpr int kSpriteLayers = 4;

// SPMan flag bits.
constexpr std::uint32_t SPM_VISIBLE = 1u << 31;
constexpr std::uint32_t SPM_TRANSPARENT = 1u << 30;  // colour key = the frame's first pixel
constexpr std::uint32_t SPM_MIRRORED = 1u << 29;     // horizontally
constexpr std::uint32_t SPM_ANIMATING = 1u << 28;
constexpr std::uint32_t SPM_LOOP = 1u << 27;
constexpr std::uint32_t SPM_STOP_ON_LAST = 1u << 26;
constexpr std::uint32_t SPM_PING_PONG = 1u << 25;  // forward, then back once
constexpr std::uint32_t SPM_BACKWARDS = 1u << 24;
// The mode bits StartAnimation takes from its argument.
constexpr std::uint32_t SPM_MODE_BITS = SPM_LOOP | SPM_STOP_ON_LAST | SPM_PING_PONG;

// One drawn object. It links itself into its layer's list when made and unlinks
// when deleted. A layer outside 0..3 keeps the sprite out of every list.
class SPMan {
public:
    SPMan(int layer, int sheet, int y, int x, int depth, int frame);
    ~SPMan();
    SPMan(const SPMan&) = delete;
    SPMan& operator=(const SPMan&) = delete;

    void Show() { flags_ |= SPM_VISIBLE; }
    void Hide() { flags_ &= ~SPM_VISIBLE; }
    void SetTransparent() { flags_ |= SPM_TRANSPARENT; }
    void SetMirrored() { flags_ |= SPM_MIRRORED; }
    void ClearMirrored() { flags_ &= ~SPM_MIRRORED; }
    // Stops first; then, on a sheet of two or more columns, animates with the mode
    // bits of `mode` (SPM_LOOP, SPM_STOP_ON_LAST, SPM_PING_PONG) and `delay` ticks
    // between frames.
    void StartAnimation(std::uint32_t delay, std::uint32_t mode);
    // On a sheet of two or more columns: not animating, not backwards, and back to
    // the first frame of the current row.
    void StopAnimation();
    void ClearAnimating() { flags_ &= ~SPM_ANIMATING; }
    // One animation tick (RenderLayer calls it once per drawing while animating).
    void Step();
    void SetFrame(int frame) { frame_ = frame; }
    void SetPosition(int x, int y) {
        x_ = x;
        y_ = y;
    }
    // Re-sorts the sprite: it goes before the first sprite of its layer whose depth is
    // at most `depth`, so among equal depths it is drawn first (behind the others).
    void SetDepth(int depth);
    void SetFlags(std::uint32_t flags) { flags_ = flags; }

    SPMan* Next() const { return next_; }
    int Layer() const { return layer_; }
    std::uint32_t Flags() const { return flags_; }
    int Sheet() const { return sheet_; }
    int Frame() const { return frame_; }
    int Depth() const { return depth_; }
    int X() const { return x_; }
    int Y() const { return y_; }
    std::uint32_t Delay() const { return delay_; }
    std::uint32_t DelayCount() const { return delayCount_; }
    bool IsVisible() const { return (flags_ & SPM_VISIBLE) != 0; }
    bool IsAnimating() const { return (flags_ & SPM_ANIMATING) != 0; }

private:
    void Link();
    void Unlink();
    // Columns of the sprite's sheet, 0 when it is not loaded.
    int SheetColumns() const;

    SPMan* next_ = nullptr;
    std::int32_t layer_ = 0;
    std::uint32_t flags_ = 0;
    std::int32_t sheet_ = 0;
    std::int32_t frame_ = 0;
    std::int32_t depth_ = 0;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    std::uint32_t delay_ = 0;
    std::uint32_t delayCount_ = 0;
};

// The four layer lists and the redraw mark.
extern SPMan* SpriteLayers[kSpriteLayers];
extern bool SpritesDirty;

// LoadSpriteSheets, then the four layer lists empty. False when the sheets did not load;
// a list with fewer than the shop's sheets is damaged (FatalDamagedError with its name).
bool InitSpriteEngine(TQvPack* pack);
// The lists empty (sprites still alive are left out of them, and unlink quietly).
void ClearSpriteLayers();
// Marks the sprites for redraw.
void InvalidateSprites();

// Composes `layer` on `surface` and copies the surface whole onto `target` at (0, 0).
// The surface is cleared first; when nothing is marked for redraw and no sprite of
// the layer animates, that is all (false: the target is unchanged). Visible sprites
// are drawn in list order: transparent ones keyed on their frame's first pixel and
// mirrored when asked, others opaque; an animating visible sprite steps once after
// it is drawn. Sheets of 3 bytes per pixel cannot go on an 8-bit surface and are
// skipped.
bool RenderLayer(TQvDib* target, TQvDib* surface, int layer);

// ---------------------------------------------------------------------------
// The shop floor

// Floor directions and their steps on the grid (gx, gy) and on the screen.
// 0 = gy - 1, 1 = gx + 1, 2 = gy + 1, 3 = gx - 1; odd directions are drawn mirrored.
struct FloorStep {
    int dx;
    int dy;
};
constexpr FloorStep kDirectionGridStep[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
constexpr FloorStep kDirectionPixelStep[4] = {{-34, -17}, {34, -17}, {34, 17}, {-34, 17}};

// Depth of a frame at (x, y) of size w x h: a point lower on the screen (and, on one
// row, further right) is nearer, so its depth is smaller.
constexpr int kFloorDepthBase = 313632;  // 648 x 484
constexpr int FloorDepth(int x, int y, int w, int h) {
    return kFloorDepthBase - (x + w / 2 + 648 * (y + h));
}
// Top-left of a w x h frame whose feet stand on grid (gx, gy): the feet are at
// (34 (gx + gy) + 16, 17 (gy - gx) + 243).
constexpr int FloorSpriteX(int gx, int gy, int w) { return 34 * (gx + gy) + 16 - w / 2; }
constexpr int FloorSpriteY(int gx, int gy, int h) { return 17 * (gy - gx) + 243 - h; }

// A person on the floor. Figure number f draws sheet f + 1 (0 the heroine, 1 the shop
// visitor, 6..15 the customers); its frame row is Direction / 2.
class Figure {
public:
    Figure(int figure, int gx, int direction, int gy);
    ~Figure();
    Figure(const Figure&) = delete;
    Figure& operator=(const Figure&) = delete;

    // Position and depth from the grid cell.
    void PlaceAt(int gx, int gy);
    // Moves by pixels and re-sorts by the new depth.
    void MoveBy(int dx, int dy);
    // Row Direction / 2 from its first frame, mirrored iff odd.
    void SetDirection(int direction);
    // The walking animation: no delay, looped.
    void StartWalking();
    void StopWalking();
    void Show();
    void Hide();

    SPMan* Sprite() const { return sprite_.get(); }
    int X() const { return x_; }
    int Y() const { return y_; }
    int Width() const { return w_; }
    int Height() const { return h_; }
    int Direction() const { return direction_; }

    // Free for the owner's use (the customers' route state; the heroine's cell code).
    std::int32_t User = 0;
    std::int32_t Target = -1;
    std::int32_t MoveMode = 0;
    std::int32_t WaitTicks = 0;
    std::int32_t RouteStep = 0;

private:
    void UpdateSprite();

    std::unique_ptr<SPMan> sprite_;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    std::int32_t w_ = 0;
    std::int32_t h_ = 0;
    std::int32_t direction_ = 0;
    std::int32_t columns_ = 0;
};

// A point on the scene, in pixels.
struct FieldPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The floor grid: cells u along U (11) and w along W (8) from the origin O, inside
// the parallelogram O, O + 11U, O + 11U + 8W, O + 8W. V is kept but not used.
// The shop's grid: O (-18, 226), U (34, 17), V (68, 0), W (34, -17); there u is the
// cell's y (row) and w its x (column).
class DiamondF0 {
public:
    static constexpr int kCellsU = 11;
    static constexpr int kCellsW = 8;

    void Init(FieldPoint origin, FieldPoint u, FieldPoint v, FieldPoint w);
    // u x 8 + w of the cell holding p, or -1 outside the grid. Points on the outline
    // are inside; a point on a line between cells belongs to the cell after it.
    int CellAt(FieldPoint p) const;
    int CellAt(int x, int y) const { return CellAt(FieldPoint{x, y}); }

    FieldPoint Origin{}, U{}, V{}, W{};
    FieldPoint Corners[4]{};
};

// ---------------------------------------------------------------------------
// Click regions

constexpr int kMaxRegions = 20;
constexpr int kMaxRegionPoints = 8;

// A convex region. A point is in it when it lies in the bounding box (edges
// included) and on the inner side of, or on, every edge; the inner side is the one
// where (x1 - x0)(py - y0) - (px - x0)(y1 - y0) <= 0, so on the screen (y down) the
// vertices run anticlockwise. A region wound the other way holds no point inside.
struct OnePolygon {
    FieldPoint Points[kMaxRegionPoints]{};
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = -1;
    std::int32_t Bottom = -1;
    std::int32_t Count = 0;

    bool Contains(FieldPoint p) const;
};

// A click-region file (ClickRegionFile), little-endian: u32 region count N (at most
// 20), then per region u32 vertex count n (at most 8) and n x (i32 x, i32 y).
class PolygonField {
public:
    PolygonField();
    ~PolygonField();

    // The member `name` of the open `pack`; false when it is missing or does not parse.
    [[nodiscard]] bool LoadFromPack(TQvPack* pack, const std::string& name);
    // A whole region file in memory. False, and the regions held are kept, for more
    // than 20 regions, more than 8 points in a region, or fewer bytes than declared.
    [[nodiscard]] bool LoadFromBuffer(const std::uint8_t* data, std::size_t size);
    // The whole stream, as LoadFromBuffer.
    [[nodiscard]] bool LoadFromStream(TMemoryStream* stream);
    // The first region 0..Count() - 1 holding p, or -1.
    int FindRegion(FieldPoint p) const;
    int FindRegion(int x, int y) const { return FindRegion(FieldPoint{x, y}); }

    int Count() const { return count_; }
    const OnePolygon& Region(int i) const { return regions_[i]; }

    // A pair per region slot kept for the field's user; (-1, 0) at first.
    std::int32_t UserPairs[kMaxRegions][2];

private:
    OnePolygon regions_[kMaxRegions];
    int count_ = 0;
};

// Writes a region file's bytes (the format above); for tools and tests.
std::vector<std::uint8_t> BuildClickRegionFile(const std::vector<std::vector<FieldPoint>>& regions);
