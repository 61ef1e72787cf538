#pragma once
#include <filesystem>

// Each writer lays down one group of the game folder's files under `root` and
// returns false (after printing why to stderr) when it could not.
namespace mkgamedata {

using Writer = bool (*)(const std::filesystem::path& root);

struct WriterEntry {
    const char* name;
    Writer write;
};

// The writers, in the order they run; one line per group in Writers.cpp.
extern const WriterEntry kWriters[];

}  // namespace mkgamedata
