#include "tools/mkgamedata/PackWriter.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
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
    ok = ok && CommitFile(temp, path);
    if (!ok) fs::remove(temp, ec);
    return ok;
}

namespace {

bool SameBytes(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(a, ec);
    if (ec || std::filesystem::file_size(b, ec) != size || ec) return false;
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    std::vector<char> ba(1 << 16), bb(1 << 16);
    while (fa && fb) {
        fa.read(ba.data(), std::streamsize(ba.size()));
        fb.read(bb.data(), std::streamsize(bb.size()));
        if (fa.gcount() != fb.gcount() ||
            !std::equal(ba.begin(), ba.begin() + fa.gcount(), bb.begin()))
            return false;
    }
    return fa.eof() && fb.eof();
}

}  // namespace

bool CommitFile(const std::filesystem::path& temp, const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (SameBytes(temp, path)) return fs::remove(temp, ec), true;
    fs::rename(temp, path, ec);
    if (ec) {
        std::fprintf(stderr, "mkgamedata: cannot rename %s: %s\n", temp.c_str(),
                     ec.message().c_str());
        return false;
    }
    return true;
}

bool MirrorFile(const std::filesystem::path& original, const std::filesystem::path& copy) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::equivalent(original, copy, ec)) return true;
    fs::create_directories(copy.parent_path(), ec);
    fs::remove(copy, ec);
    fs::create_hard_link(original, copy, ec);
    if (ec) fs::copy_file(original, copy, ec);
    if (ec) {
        std::fprintf(stderr, "mkgamedata: cannot make %s: %s\n", copy.c_str(),
                     ec.message().c_str());
        return false;
    }
    return true;
}

}  // namespace mkgamedata
