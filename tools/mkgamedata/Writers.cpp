#include "tools/mkgamedata/Writers.h"

namespace mkgamedata {

// Declarations of the writers, each defined in its own file beside this one.

const WriterEntry kWriters[] = {
    {nullptr, nullptr},
};

}  // namespace mkgamedata
