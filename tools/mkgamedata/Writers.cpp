#include "tools/mkgamedata/Writers.h"

namespace mkgamedata {

// Declarations of the writers, each defined in its own file beside this one.
bool WriteFolders(const std::filesystem::path& root);
bool WriteSprites(const std::filesystem::path& root);  // Data\SPMan.Pak, Shoppoly.plf
bool WriteEvPictures(const std::filesystem::path& root);  // the four event picture packs

const WriterEntry kWriters[] = {
    {"folders", WriteFolders},
    {"sprites", WriteSprites},
    {"evpictures", WriteEvPictures},
    {nullptr, nullptr},
};

}  // namespace mkgamedata
