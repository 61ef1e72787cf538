#include "tools/mkgamedata/PackWriter.h"

#include <cstdio>
#include <system_error>

#include "media/Qvpack.h"

namespace mkgamedata {

bool WritePack(const std::filesystem::path& path, const std::vector<PackMember>& members) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    // The pack reads game paths from the program's folder: hand it an absolute one.
    const fs::path temp = fs::absolute(path, ec).string() + ".tmp";
    bool ok = true;
    {
        TQvPack pack;
        pack.SetReadOnly(false);
        if (!pack.NewPack(temp.c_str())) {
            std::fprintf(stderr, "mkgamedata: cannot create %s\n", temp.c_str());
            return false;
        }
        for (const PackMember& m : members) {
            std::FILE* f = std::tmpfile();
            bool added = f && (m.bytes.empty() ||
                               std::fwrite(m.bytes.data(), 1, m.bytes.size(), f) == m.bytes.size());
            added = added && std::fflush(f) == 0 && pack.AddFileFrom(m.name.c_str(), f, m.compress);
            if (f) std::fclose(f);
            if (!added) {
                std::fprintf(stderr, "mkgamedata: cannot add %s to %s\n", m.name.c_str(),
                             path.c_str());
                ok = false;
                break;
            }
        }
        if (!pack.EndPack() && ok) {
            std::fprintf(stderr, "mkgamedata: cannot write %s\n", temp.c_str());
            ok = false;
        }
    }
    if (ok) {
        fs::rename(temp, path, ec);
        if (ec) {
            std::fprintf(stderr, "mkgamedata: cannot rename %s: %s\n", temp.c_str(),
                         ec.message().c_str());
            ok = false;
        }
    }
    if (!ok) fs::remove(temp, ec);
    return ok;
}

}  // namespace mkgamedata
