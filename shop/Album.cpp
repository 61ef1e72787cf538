// The event album of the title screen: a page of 30 thumbnails, one for each album
// entry (a few event pictures that belong together), drawn over the album page picture;
// entries whose pictures were never seen in any game are covered by the closed picture
// and cannot be clicked. A click on an open thumbnail shows the entry's pictures one by
// one, each dissolving into the last; a click after the last one brings the page back.
#include <array>
#include <cstdint>
#include <string>

#include "platform/Big5.h"
#include "platform/Transcript.h"
#include "shop/Shop.h"
#include "skin/BcImg.h"
#include "story/Register.h"
#include "town/Evsrvfm.h"

namespace {

constexpr int kPageWidth = 640;
constexpr int kPageHeight = 480;
constexpr int kPageLeft = 4;  // the page within the album panel
constexpr int kColumns = 6;
constexpr int kThumbWidth = 80;
constexpr int kThumbHeight = 60;
constexpr int kEnd = 255;

constexpr ui::TColor kGrey = 0x808080;
constexpr ui::TColor kBlack = 0x000000;

constexpr int kSoundAlbum = 63;

// Each entry: its event pictures in viewing order, ended by 255.
constexpr std::uint8_t AlbumEntries[kAlbumEntryCount][5] = {
    {0, kEnd},      {1, kEnd},    {2, 3, kEnd},   {4, kEnd},
    {5, kEnd},      {6, 7, kEnd}, {8, kEnd},      {9, 45, kEnd},
    {10, 11, kEnd}, {12, kEnd},   {13, 14, kEnd}, {15, 16, kEnd},
    {17, 18, kEnd}, {19, kEnd},   {20, kEnd},     {21, kEnd},
    {22, 23, kEnd}, {24, kEnd},   {25, kEnd},     {26, 27, kEnd},
    {28, kEnd},     {29, kEnd},   {30, kEnd},     {31, kEnd},
    {32, kEnd},     {33, kEnd},   {34, kEnd},     {35, 40, 41, 42, kEnd},
    {36, kEnd},     {37, kEnd},
};

// Process-wide: a picture of an entry is shown (viewing), a thumbnail click is being
// handled (busy). A dissolve lets messages run, so both guard against clicks meanwhile.
std::uint8_t viewing = 0;
std::uint8_t busy = 0;

ui::Rect ThumbnailOnPage(int entry) {
    const int column = entry % kColumns, row = entry / kColumns;
    const int x = 29 + 100 * column, y = 59 + 79 * row;
    return ui::Rect{x, y, x + kThumbWidth, y + kThumbHeight};
}

void FillBitmapBlack(ui::Bitmap& b, const ui::Rect& r) {
    ui::Canvas& c = b.GetCanvas();
    c.Brush.Style = ui::BrushStyle::bsSolid;
    c.Brush.Color = ui::clBlack;
    c.FillRect(r);
}

ui::Image* BlackImage(ui::WinControl* parent, const char* name, int x, int y, int w, int h) {
    auto* i = parent->Make<ui::Image>();
    i->Name = name;
    i->SetBounds(x, y, w, h);
    ui::Bitmap black(w, h);
    FillBitmapBlack(black, ui::Rect{0, 0, w, h});
    i->SetPicture(std::move(black));
    return i;
}

}  // namespace

int AlbumPicture(int entry, int index) {
    if (entry < 0 || entry >= kAlbumEntryCount || index < 0 || index >= 5) return -1;
    const int k = AlbumEntries[entry][index];
    return k == kEnd ? -1 : k;
}

bool AlbumEntryOpen(int entry) {
    if (!EventServerDbg) return false;
    for (int i = 0; AlbumPicture(entry, i) >= 0; ++i)
        if (EventServerDbg->IsPictureSeen(AlbumPicture(entry, i))) return true;
    return false;
}

bool AlbumViewing() { return viewing != 0; }

void TShopForm::BuildAlbum() {
    viewing = busy = 0;  // a new shop window starts on no album picture
    AlbumTopImage = AlbumPanel->Make<ui::Image>();
    AlbumTopImage->Name = "AlbumTopImage";
    AlbumTopImage->SetBounds(kPageLeft, 0, kPageWidth, kPageHeight);
    AlbumTopImage->OnClick = [this](ui::Control&) { AlbumTopImageClick(); };
    AlbumTopImage->OnMouseMove = [this](ui::Control&, ui::ShiftState, int, int) {
        AlbumTopImageMouseMove();
    };
    // The 4-pixel margins round the page (the panel is 648 x 484).
    BlackImage(AlbumPanel, "Image2", 0, 0, kPageLeft, 484);
    BlackImage(AlbumPanel, "Image3", kPageLeft + kPageWidth, 0, kPageLeft, 484);
    BlackImage(AlbumPanel, "Image4", 0, kPageHeight, 648, 4);
    // The thumbnails are drawn on the page; these are their click areas.
    for (int entry = 0; entry < kAlbumEntryCount; ++entry) {
        auto* t = AlbumPanel->Make<TBcImage>();
        t->Name = "AlbumNone" + std::string(entry < 10 ? "0" : "") + std::to_string(entry);
        t->Tag = entry;
        const ui::Rect r = ThumbnailOnPage(entry);
        t->SetBounds(r.Left + kPageLeft, r.Top, kThumbWidth, kThumbHeight);
        t->OnClick = [this](ui::Control& c) { AlbumNone00Click(c.Tag); };
        AlbumNone[static_cast<std::size_t>(entry)] = t;
    }
    AlbumReturnButton = AlbumPanel->Make<ui::Label>();
    AlbumReturnButton->Name = "AlbumReturnButton";
    AlbumReturnButton->SetAutoSize(true);
    AlbumReturnButton->SetTransparent(true);
    AlbumReturnButton->SetFontName(B5("標楷體"));
    AlbumReturnButton->SetFontHeight(19);
    AlbumReturnButton->SetFontBold(true);
    AlbumReturnButton->SetFontColor(kGrey);
    AlbumReturnButton->SetCaption(B5("回前頁"));
    AlbumReturnButton->SetBounds(560, 452, AlbumReturnButton->Width(), AlbumReturnButton->Height());
    AlbumReturnButton->OnClick = [this](ui::Control&) { AlbumReturnButtonClick(); };
    AlbumReturnButton->OnMouseMove = [this](ui::Control&, ui::ShiftState, int, int) {
        AlbumReturnButtonMouseMove();
    };
}

void TShopForm::TitleAlbumButtonClick() {
    TitlePanel->SetEnabled(false);
    if (!viewing) {
        // Opened from the title (not coming back from the viewer).
        PlayShopSound(kSoundAlbum);
        if (EventServerDbg) EventServerDbg->PlayMusic(track::AlbumMusic, true);
    }
    const ui::Bitmap background = LoadPackPicture("AlbumBG.Bmp");
    const ui::Bitmap closed = LoadPackPicture("AlbumNe.Bmp");
    ui::Bitmap page(kPageWidth, kPageHeight);
    FillBitmapBlack(page, ui::Rect{0, 0, kPageWidth, kPageHeight});
    if (!background.Empty()) page.GetCanvas().Draw(0, 0, background);
    int open = 0;
    for (int entry = kAlbumEntryCount - 1; entry >= 0; --entry) {
        TBcImage* t = AlbumNone[static_cast<std::size_t>(entry)];
        t->Show();
        if (AlbumEntryOpen(entry)) {
            ++open;
            continue;
        }
        // A closed entry: the closed picture over its thumbnail, and no click.
        const ui::Rect at = ThumbnailOnPage(entry);
        if (closed.Empty()) {
            FillBitmapBlack(page, at);
        } else {
            ui::Bitmap cover(kThumbWidth, kThumbHeight);
            cover.GetCanvas().Draw(0, 0, closed);
            page.GetCanvas().Draw(at.Left, at.Top, cover);
        }
        t->Hide();
    }
    AlbumTopImage->SetPicture(std::move(page));
    AlbumReturnButton->SetFontColor(kGrey);
    AlbumReturnButton->Show();
    AlbumPanel->Show();
    AlbumEntry = -1;
    TitlePanel->SetEnabled(true);
    ui::Record("picture", "album page, " + std::to_string(open) + " open");
}

void TShopForm::AlbumNone00Click(int entry) {
    if (busy || AlbumPicture(entry, 0) < 0) return;
    busy = 1;
    for (TBcImage* t : AlbumNone) t->Hide();
    AlbumReturnButton->Hide();
    AlbumEntry = entry;
    AlbumIndex = 0;
    if (EventServerDbg) EventServerDbg->ShowAlbumPicture(AlbumTopImage, AlbumPicture(entry, 0));
    viewing = 1;
    busy = 0;
}

void TShopForm::AlbumTopImageClick() {
    if (!viewing) return;
    ++AlbumIndex;
    const int k = AlbumPicture(AlbumEntry, AlbumIndex);
    if (k >= 0) {
        // No further click counts until this picture is in place.
        viewing = 0;
        if (EventServerDbg) EventServerDbg->ShowAlbumPicture(AlbumTopImage, k);
        viewing = 1;
        return;
    }
    // Past the last picture: the page again, its music going on.
    TitleAlbumButtonClick();
    viewing = 0;
}

void TShopForm::AlbumReturnButtonClick() {
    if (EventServerDbg) EventServerDbg->PlayMusic(track::TitleMusic, true);
    AlbumPanel->Hide();
    ui::Record("picture", "title");
}

void TShopForm::AlbumTopImageMouseMove() {
    // The display always has more than 8 bits a pixel here, so the label always lights.
    AlbumReturnButton->SetFontColor(kGrey);
}

void TShopForm::AlbumReturnButtonMouseMove() { AlbumReturnButton->SetFontColor(kBlack); }
