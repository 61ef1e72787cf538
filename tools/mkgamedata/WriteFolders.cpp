// The game folder's layout: the folders every later writer fills. Names keep the
// case the game uses; the file layer matches them without regard to case.
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace mkgamedata {

namespace {
constexpr const char* kFolders[] = {
    "Data",            // shop pictures, the sprite pack
    "SPMan/8Bit",      // sprite sheets, 8-bit art
    "SPMan/24Bit",     // sprite sheets, 24-bit art
    "col24b/evpack",   // event picture packs (figures, backgrounds, event pictures)
    "col24b/palFace",  // message-window faces
    "col24b/mapPack",  // map pictures, click regions and path graphs
    "wave/se",         // the effects pack
    "wave/Intm",       // the voice packs
    "music",           // music tracks in place of CD audio
};
}  // namespace

bool WriteFolders(const std::filesystem::path& root) {
    for (const char* folder : kFolders) {
        std::error_code ec;
        std::filesystem::create_directories(root / folder, ec);
        if (ec) {
            std::fprintf(stderr, "mkgamedata: cannot create %s: %s\n", (root / folder).c_str(),
                         ec.message().c_str());
            return false;
        }
    }
    return true;
}

}  // namespace mkgamedata
