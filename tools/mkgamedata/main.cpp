// mkgamedata DIR: writes the complete game folder that lumia and the tests use,
// with generated pictures, sounds and tables in place of the original art.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/mkgamedata/Writers.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkgamedata DIR\n");
        return 1;
    }
    const std::filesystem::path root = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    if (ec) {
        std::fprintf(stderr, "mkgamedata: cannot create %s: %s\n", root.c_str(),
                     ec.message().c_str());
        return 1;
    }
    for (const mkgamedata::WriterEntry* w = mkgamedata::kWriters; w->name; ++w) {
        if (!w->write(root)) {
            std::fprintf(stderr, "mkgamedata: writing %s failed\n", w->name);
            return 1;
        }
    }
    return 0;
}
