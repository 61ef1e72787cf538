#include "media/Qvbitmap.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Files.h"
#include "resources/Resources.h"

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
// The longer info headers (V4, V5) that image tools write; the colour table follows them.
constexpr std::uint32_t kInfoHeaderV4Bytes = 108;
constexpr std::uint32_t kInfoHeaderV5Bytes = 124;
constexpr std::uint32_t kUncompressed = 0;  // BI_RGB
// No picture or palette of the game comes near this; anything larger is damage.
constexpr long kMaxSourceBytes = 256L << 20;

// What the headers say, checked against the bytes that follow them.
struct BmpLayout {
    int width = 0;
    int height = 0;  // rows, always positive
    bool topDown = false;
    int bitCount = 0;
    std::size_t colours = 0;    // colour table entries (8-bit only)
    std::size_t tableAt = 0;    // offset of the colour table
    std::size_t rowsAt = 0;     // offset of the first stored row
    std::size_t rowStride = 0;  // bytes from one stored row to the next
    std::size_t rowBytes = 0;   // bytes of pixels in a row
};

// Reads the info header and checks that the colour table and every row are
// there. Accepts uncompressed 8-bit pictures, and 24-bit ones when `allow24`:
// compressed rows (RLE) and other depths would be read as garbage, so they fail.
//
// This is the game's own picture loader: it reads what the pictures of the game
// are (8-bit, the colour table right after the info header, the rows right after
// the table, the file header's data offset not looked at) into plain buffers.
// ui::Bitmap::LoadFromMemory is the class library's bitmap loader, which takes
// any uncompressed depth and follows the data offset; the two read different sets
// of files into different objects, so they stay two.
bool ParseLayout(const std::uint8_t* data, std::size_t size, bool fileHeader, bool allow24,
                 BmpLayout& out) {
    if (!data) return false;
    const std::size_t info = fileHeader ? kFileHeaderBytes : 0;
    if (size < info + kInfoHeaderBytes) return false;
    const std::uint8_t* h = data + info;
    const std::int32_t width = static_cast<std::int32_t>(ui::LoadU32(h + 4));
    const std::int32_t height = static_cast<std::int32_t>(ui::LoadU32(h + 8));
    const int bits = ui::LoadU16(h + 14);
    if (bits != 8 && !(allow24 && bits == 24)) return false;
    if (ui::LoadU32(h + 16) != kUncompressed) return false;
    const std::uint32_t headerBytes = ui::LoadU32(h);
    if (width <= 0 || height == 0 || height == INT32_MIN) return false;
    const std::uint64_t rows =
        height < 0 ? std::uint64_t(-std::int64_t(height)) : std::uint64_t(height);
    // Every row takes at least one byte, so neither side can exceed the source.
    if (std::uint64_t(width) > size || rows > size) return false;

    out.width = width;
    out.height = static_cast<int>(rows);
    out.topDown = height < 0;
    out.bitCount = bits;
    out.tableAt = info + ((headerBytes == kInfoHeaderV4Bytes || headerBytes == kInfoHeaderV5Bytes)
                              ? headerBytes
                              : kInfoHeaderBytes);
    if (bits == 8) {
        std::size_t n = ui::LoadU32(h + 32) & 0xFFFF;
        if (n == 0) n = 256;
        if (n > 256) return false;
        out.colours = n;
        out.rowBytes = std::size_t(width);
    } else {
        out.colours = 0;
        out.rowBytes = std::size_t(width) * 3;
    }
    out.rowsAt = out.tableAt + out.colours * 4;
    out.rowStride = (out.rowBytes + 3) & ~std::size_t(3);
    // The last row may come without its padding.
    const std::uint64_t need =
        std::uint64_t(out.rowsAt) + std::uint64_t(out.rowStride) * (rows - 1) + out.rowBytes;
    return need <= size;
}

// The stored row that holds top-down row `row`.
const std::uint8_t* StoredRow(const std::uint8_t* data, const BmpLayout& l, int row) {
    const int stored = l.topDown ? row : l.height - 1 - row;
    return data + l.rowsAt + std::size_t(stored) * l.rowStride;
}

bool ReadWholeFile(const std::string& fileName, std::vector<std::uint8_t>& out) {
    // Through the file layer: the game's backslashes, any case, from the program's folder.
    const std::int64_t size = ui::FileSize(fileName);
    try {
        return size >= 0 && size <= kMaxSourceBytes && ui::ReadFile(fileName, out);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

const res::Resource* FindBitmapResource(std::uint16_t id) {
    return res::FindResource(std::to_string(id) + ".bmp");
}

bool HasFileHeader(const std::uint8_t* data, std::size_t size) {
    return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

// Reads a pack member whole (decoded), closing it before returning.
bool ReadPackMember(TQvPack* pack, const std::string& memberName, std::vector<std::uint8_t>& out);

}  // namespace

void QvFree(void* buffer) { std::free(buffer); }

bool LoadBmpMemory(const std::uint8_t* data, std::size_t size, bool fileHeader, RGBQUAD** palette,
                   std::uint8_t** pixels, int* width, int* height) {
    BmpLayout l;
    if (!ParseLayout(data, size, fileHeader, false, l)) return false;

    RGBQUAD* pal = nullptr;
    bool ownPal = false;
    if (palette) {
        pal = *palette;
        if (!pal) {
            pal = static_cast<RGBQUAD*>(std::calloc(256, sizeof(RGBQUAD)));
            if (!pal) return false;
            ownPal = true;
        }
    }
    std::uint8_t* pix = nullptr;
    if (pixels) {
        pix = *pixels;
        if (!pix) {
            pix = static_cast<std::uint8_t*>(
                std::malloc(std::size_t(l.width) * std::size_t(l.height)));
            if (!pix) {
                if (ownPal) std::free(pal);
                return false;
            }
        }
    }

    if (pal) std::memcpy(pal, data + l.tableAt, l.colours * 4);
    if (pix)
        for (int row = 0; row < l.height; ++row)
            std::memcpy(pix + std::size_t(row) * l.width, StoredRow(data, l, row), l.rowBytes);
    if (palette) *palette = pal;
    if (pixels) *pixels = pix;
    if (width) *width = l.width;
    if (height) *height = l.height;
    return true;
}

bool LoadActMemory(const std::uint8_t* data, std::size_t size, RGBQUAD** palette) {
    if (!data || size < kActPaletteBytes) return false;
    if (!palette) return true;
    RGBQUAD* pal = *palette;
    if (!pal) {
        pal = static_cast<RGBQUAD*>(std::calloc(256, sizeof(RGBQUAD)));
        if (!pal) return false;
    }
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t* e = data + i * 3;
        pal[i] = RGBQUAD{e[2], e[1], e[0], 0};
    }
    *palette = pal;
    return true;
}

bool LoadBmp24Memory(const std::uint8_t* data, std::size_t size, bool fileHeader, TQvRGB** pixels,
                     int* width, int* height) {
    BmpLayout l;
    if (!ParseLayout(data, size, fileHeader, true, l)) return false;
    if (pixels) {
        TQvRGB* pix = *pixels;
        if (!pix) {
            pix = static_cast<TQvRGB*>(
                std::malloc(std::size_t(l.width) * std::size_t(l.height) * sizeof(TQvRGB)));
            if (!pix) return false;
        }
        if (l.bitCount == 8) {
            // Indices past the colour table come out black.
            TQvRGB table[256];
            for (std::size_t i = 0; i < l.colours; ++i) {
                const std::uint8_t* e = data + l.tableAt + i * 4;
                table[i] = RGBQUAD{e[0], e[1], e[2], 0};
            }
            for (int row = 0; row < l.height; ++row) {
                const std::uint8_t* src = StoredRow(data, l, row);
                TQvRGB* dst = pix + std::size_t(row) * l.width;
                for (int x = 0; x < l.width; ++x) dst[x] = table[src[x]];
            }
        } else {
            for (int row = 0; row < l.height; ++row)
                std::memcpy(pix + std::size_t(row) * l.width, StoredRow(data, l, row), l.rowBytes);
        }
        *pixels = pix;
    }
    if (width) *width = l.width;
    if (height) *height = l.height;
    return true;
}

bool LoadBmpFile(const std::string& fileName, RGBQUAD** palette, std::uint8_t** pixels, int* width,
                 int* height) {
    std::vector<std::uint8_t> bytes;
    return ReadWholeFile(fileName, bytes) &&
           LoadBmpMemory(bytes.data(), bytes.size(), true, palette, pixels, width, height);
}

bool LoadBmpResource(std::string_view resourceName, RGBQUAD** palette, std::uint8_t** pixels,
                     int* width, int* height) {
    const res::Resource* r = res::FindResource(resourceName);
    return r && LoadBmpMemory(r->data, r->size, HasFileHeader(r->data, r->size), palette, pixels,
                              width, height);
}

bool LoadBmpResource(std::uint16_t resourceId, RGBQUAD** palette, std::uint8_t** pixels, int* width,
                     int* height) {
    const res::Resource* r = FindBitmapResource(resourceId);
    return r && LoadBmpMemory(r->data, r->size, HasFileHeader(r->data, r->size), palette, pixels,
                              width, height);
}

bool LoadBmpPack(TQvPack* pack, const std::string& memberName, RGBQUAD** palette,
                 std::uint8_t** pixels, int* width, int* height) {
    std::vector<std::uint8_t> bytes;
    return ReadPackMember(pack, memberName, bytes) &&
           LoadBmpMemory(bytes.data(), bytes.size(), true, palette, pixels, width, height);
}

bool LoadActFile(const std::string& fileName, RGBQUAD** palette) {
    std::vector<std::uint8_t> bytes;
    return ReadWholeFile(fileName, bytes) && LoadActMemory(bytes.data(), bytes.size(), palette);
}

bool LoadActPack(TQvPack* pack, const std::string& memberName, RGBQUAD** palette) {
    std::vector<std::uint8_t> bytes;
    return ReadPackMember(pack, memberName, bytes) &&
           LoadActMemory(bytes.data(), bytes.size(), palette);
}

bool LoadBmp24File(const std::string& fileName, TQvRGB** pixels, int* width, int* height) {
    std::vector<std::uint8_t> bytes;
    return ReadWholeFile(fileName, bytes) &&
           LoadBmp24Memory(bytes.data(), bytes.size(), true, pixels, width, height);
}

bool LoadBmp24Resource(std::string_view resourceName, TQvRGB** pixels, int* width, int* height) {
    const res::Resource* r = res::FindResource(resourceName);
    return r && LoadBmp24Memory(r->data, r->size, HasFileHeader(r->data, r->size), pixels, width,
                                height);
}

bool LoadBmp24Resource(std::uint16_t resourceId, TQvRGB** pixels, int* width, int* height) {
    const res::Resource* r = FindBitmapResource(resourceId);
    return r && LoadBmp24Memory(r->data, r->size, HasFileHeader(r->data, r->size), pixels, width,
                                height);
}

bool LoadBmp24Pack(TQvPack* pack, const std::string& memberName, TQvRGB** pixels, int* width,
                   int* height) {
    std::vector<std::uint8_t> bytes;
    return ReadPackMember(pack, memberName, bytes) &&
           LoadBmp24Memory(bytes.data(), bytes.size(), true, pixels, width, height);
}

namespace {

bool ReadPackMember(TQvPack* pack, const std::string& memberName, std::vector<std::uint8_t>& out) {
    if (!pack) return false;
    QvFILE* f = pack->Qvfopen(memberName.c_str());
    if (!f) return false;
    const std::uint32_t size = pack->Qvfsize(f);
    bool ok = size <= std::uint32_t(kMaxSourceBytes);
    try {
        if (ok) out.resize(size);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    ok = ok && (size == 0 || pack->Qvfread(out.data(), 1, size, f) == size);
    pack->Qvfclose(f);
    return ok;
}

}  // namespace
