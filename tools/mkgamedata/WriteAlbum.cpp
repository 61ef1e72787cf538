// The title's event album in the shop pack "Data\WpData0.Pak": the album page
// "AlbumBG.Bmp" with the 30 entries' thumbnails, and "AlbumNe.Bmp", the picture that
// covers the thumbnail of an entry not seen yet.
//
// A thumbnail is a small copy of the look of the entry's first event picture (its
// colours and its oval) with the numbers of the event pictures it holds written on it,
// and the entry's number under it.
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mkgamedata/Art.h"

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

Picture Thumbnail(const std::vector<int>& pictures) {
    const int k = pictures.front();
    // The colours of the event picture's placeholder (see WriteEvPictures.cpp).
    Picture p(kThumbW, kThumbH, Cube(1 + k % 3, 1, 2 + k % 2));
    p.Frame(2, 2, kThumbW - 4, kThumbH - 4, Cube(5, 5, 3));
    p.Ellipse(40, 22, 26, 16, Cube(2 + k % 4, 2, 3 + k % 3));
    p.Ellipse(40, 22, 17, 10, Cube(4, 3 + k % 3, 4));
    // The numbers apart by "、" where they fit, else by spaces.
    std::string listed, spaced;
    for (const int n : pictures) {
        listed += (listed.empty() ? "" : "、") + std::to_string(n);
        spaced += " " + std::to_string(n);
    }
    std::string text = pictures.size() == 1 ? "事件圖 " + listed : "圖 " + listed;
    if (TextWidthUtf8(text, 12) > kThumbW - 6) text = "圖" + spaced;
    int size = 12;
    while (size > 9 && TextWidthUtf8(text, size) > kThumbW - 6) --size;
    p.Rect(3, 40, kThumbW - 6, 17, kInk);
    p.TextCentred(3, 42, kThumbW - 6, 13, text, size, kWhite);
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
        p.TextCentred(x, y + kThumbH + 3, kThumbW, 12, "相簿 " + std::to_string(entry + 1), 12,
                      kLeather);
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
