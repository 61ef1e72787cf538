// The title's event album in the shop pack "Data\WpData0.Pak": the album page
// "AlbumBG.Bmp" with the 30 entries' thumbnails, and "AlbumNe.Bmp", the picture that
// covers the thumbnail of an entry not seen yet.
//
// A thumbnail is the entry's first event picture made small.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mkgamedata/Art.h"
#include "tools/mkgamedata/Scenery.h"

namespace mkgamedata {

namespace {

constexpr int kThumbW = 80;
constexpr int kThumbH = 60;
constexpr std::uint8_t kPaper = Cube(5, 5, 4);
constexpr std::uint8_t kLeather = Cube(2, 1, 0);

// The event pictures of each entry, as the album shows them.
const std::vector<std::vector<int>> kEntries = {
    {0},     {1},      {2, 3},   {4},      {5},      {6, 7},   {8},
    {9, 45}, {10, 11}, {12},     {13, 14}, {15, 16}, {17, 18}, {19},
    {20},    {21},     {22, 23}, {24},     {25},     {26, 27}, {28},
    {29},    {30},     {31},     {32},     {33},     {34},     {35, 40, 41, 42},
    {36},    {37},
};

// The entry's first event picture made small: each 8 x 8 block of the scene becomes
// the colour most of its pixels have, so the thumbnail shows the scene itself.
Picture Thumbnail(const std::vector<int>& pictures) {
    const Picture scene = EventScene(pictures.front());
    Picture p(kThumbW, kThumbH, kInk);
    const int bw = scene.Width() / kThumbW, bh = scene.Height() / kThumbH;
    std::array<int, 256> count{};
    for (int ty = 0; ty < kThumbH; ++ty)
        for (int tx = 0; tx < kThumbW; ++tx) {
            count.fill(0);
            std::uint8_t best = 0;
            for (int y = ty * bh; y < (ty + 1) * bh; ++y)
                for (int x = tx * bw; x < (tx + 1) * bw; ++x) {
                    const std::uint8_t c = scene.Get(x, y);
                    if (++count[c] > count[best]) best = c;
                }
            p.Set(tx, ty, best);
        }
    return p;
}

Picture ClosedThumbnail() {
    Picture p(kThumbW, kThumbH, Cube(2, 2, 2));
    p.Frame(0, 0, kThumbW, kThumbH, kInk);
    p.Frame(3, 3, kThumbW - 6, kThumbH - 6, Cube(3, 3, 3));
    p.TextCentred(0, 6, kThumbW, 28, "？", 26, Cube(4, 4, 4), true);
    p.TextCentred(0, 38, kThumbW, 14, "尚未看過", 12, Cube(4, 4, 4));
    return p;
}

Picture AlbumPage() {
    Picture p(640, 480, kLeather);
    p.Rect(10, 8, 620, 464, kPaper);
    p.Frame(10, 8, 620, 464, kInk);
    p.Frame(14, 12, 612, 456, Cube(4, 3, 1));
    p.TextCentred(0, 18, 640, 30, "事件相簿", 26, kLeather, true);
    for (int entry = 0; entry < 30; ++entry) {
        const int x = 29 + 100 * (entry % 6), y = 59 + 79 * (entry / 6);
        p.Rect(x - 2, y - 2, kThumbW + 4, kThumbH + 4, kInk);
        p.Put(x, y, Thumbnail(kEntries[static_cast<std::size_t>(entry)]));
    }
    // The return label is drawn by the program at (556, 452) of the page.
    p.Text(30, 452, "點一下縮圖觀看，灰色的還沒看過", 12, Cube(3, 2, 1));
    return p;
}

}  // namespace

bool WriteAlbum(const std::filesystem::path& root) {
    const std::filesystem::path pack = root / "Data" / "WpData0.Pak";
    return AddPackMember(pack, "AlbumBG.Bmp", PictureBmp8(AlbumPage())) &&
           AddPackMember(pack, "AlbumNe.Bmp", PictureBmp8(ClosedThumbnail()));
}

}  // namespace mkgamedata
