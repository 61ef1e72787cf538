#include "tools/mkgamedata/Writers.h"

namespace mkgamedata {

// Declarations of the writers, each defined in its own file beside this one.
bool WriteFolders(const std::filesystem::path& root);
bool WriteSprites(const std::filesystem::path& root);  // Data\SPMan.Pak, Shoppoly.plf
bool WriteMapPack(const std::filesystem::path& root);  // col24b\mapPack\mapPack.pak

const WriterEntry kWriters[] = {
    {"folders", WriteFolders},
    {"sprites", WriteSprites},
    {"mappack", WriteMapPack},
    {nullptr, nullptr},
};

}  // namespace mkgamedata
