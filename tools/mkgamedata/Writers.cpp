#include "tools/mkgamedata/Writers.h"

namespace mkgamedata {

// Declarations of the writers, each defined in its own file beside this one.
bool WriteFolders(const std::filesystem::path& root);

const WriterEntry kWriters[] = {
    {"folders", WriteFolders},
    {nullptr, nullptr},
};

}  // namespace mkgamedata
