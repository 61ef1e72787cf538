#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Writes pack files from members held in memory, through TQvPack's writing side.
// Used by the mkgamedata writers and by test fixtures.
namespace mkgamedata {

struct PackMember {
    std::string name;  // "name.ext": base up to 21, ext up to 3 characters
    std::vector<std::uint8_t> bytes;
    bool compress = false;  // store as an Orvane stream
};

// Writes a new pack at `path` (its folder is created) holding the members in order.
// False, with a message on stderr naming the pack and the member, when it cannot;
// the pack is written to a temporary file first, so a failure leaves no half pack,
// and a pack that holds the same bytes as before is left as it was.
bool WritePack(const std::filesystem::path& path, const std::vector<PackMember>& members);

// Moves the finished file `temp` to `path`, unless `path` already holds the same bytes
// (then `temp` is removed and `path` keeps its time, so nothing downstream rebuilds).
bool CommitFile(const std::filesystem::path& temp, const std::filesystem::path& path);

// Makes `copy` the same file as `original` (a hard link; a copy where the file system
// has none), leaving it alone when it already is.
bool MirrorFile(const std::filesystem::path& original, const std::filesystem::path& copy);

}  // namespace mkgamedata
