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
// the pack is written to a temporary file first, so a failure leaves no half pack.
bool WritePack(const std::filesystem::path& path, const std::vector<PackMember>& members);

}  // namespace mkgamedata
