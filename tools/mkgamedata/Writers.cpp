#include "tools/mkgamedata/Writers.h"

namespace mkgamedata {

// Declarations of the writers, each defined in its own file beside this one.
bool WriteFolders(const std::filesystem::path& root);
bool WriteSprites(const std::filesystem::path& root);       // Data\SPMan.Pak, Shoppoly.plf
bool WriteShopScreen(const std::filesystem::path& root);    // the shop window's pictures
bool WriteItemArt(const std::filesystem::path& root);       // item icons and name pictures
bool WriteMapPack(const std::filesystem::path& root);       // col24b\mapPack\mapPack.pak
bool WriteSounds(const std::filesystem::path& root);        // wave\se, wave\Intm, music
bool WriteMsgWin(const std::filesystem::path& root);        // Data\MsgWin.pak, palFace.pak
bool WriteEvPictures(const std::filesystem::path& root);    // the four event picture packs
bool WriteTitle(const std::filesystem::path& root);         // the title picture, album and save art
bool WriteAlbum(const std::filesystem::path& root);         // the album page and closed thumbnail
bool WriteOpEd(const std::filesystem::path& root);          // OpEd.Pak, the songs, the logo movie
bool WriteRqForm(const std::filesystem::path& root);        // the order list window's picture
bool WriteStatusArt(const std::filesystem::path& root);     // the status window's faces
bool WriteClockArt(const std::filesystem::path& root);      // the clock and calendar pictures
bool WritePendingPacks(const std::filesystem::path& root);  // the packs shared by writers

// One writer a line, so that adding one touches one line.
// clang-format off
const WriterEntry kWriters[] = {
    {"folders", WriteFolders},
    {"sprites", WriteSprites},
    {"shopscreen", WriteShopScreen},
    {"item art", WriteItemArt},
    {"mappack", WriteMapPack},
    {"sounds", WriteSounds},
    {"msgwin", WriteMsgWin},
    {"evpictures", WriteEvPictures},
    {"title", WriteTitle},
    {"album", WriteAlbum},
    {"oped", WriteOpEd},
    {"rqform", WriteRqForm},
    {"status art", WriteStatusArt},
    {"clock art", WriteClockArt},
    {"shared packs", WritePendingPacks},
    {nullptr, nullptr},
};
// clang-format on

}  // namespace mkgamedata
