// Pack reader fuzz target: the input is a pack file. Opens it, then looks up,
// opens, reads, seeks and streams every member, decoded and raw.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "media/Qvpack.h"

namespace {

// The pack file: a file in memory, named by its /proc path, that every input
// rewrites. A file on disk cost most of a run in the file system (a truncated file
// is written back as it is closed); without memory files, one in /tmp serves.
struct PackFile {
    PackFile() : fd(memfd_create("fuzz_qvpack", 0)) {
        path = fd >= 0 ? "/proc/self/fd/" + std::to_string(fd)
                       : "/tmp/fuzz_qvpack_" + std::to_string(getpid()) + ".pak";
    }
    bool Write(const std::uint8_t* data, std::size_t size) const {
        if (fd >= 0)
            return ftruncate(fd, 0) == 0 && pwrite(fd, data, size, 0) == static_cast<ssize_t>(size);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return false;
        const bool ok = std::fwrite(data, 1, size, f) == size;
        return std::fclose(f) == 0 && ok;
    }
    int fd;
    std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const PackFile file;
    if (!file.Write(data, size)) return 0;

    TQvPack pack;
    if (!pack.LoadPack(file.path.c_str())) return 0;
    std::vector<std::uint8_t> buf(4096);
    for (int i = 0; i < pack.GetFileNum() && i < 64; ++i) {
        const std::string name = pack.GetFileName(i);
        pack.CheckFileName(name.c_str());
        for (bool decode : {true, false}) {
            QvFILE* h = pack.QvfopenComp(name.c_str(), decode);
            if (!h) continue;
            pack.Qvfsize(h);
            pack.Qvdsize(h);
            pack.QvIsComp(h);
            while (pack.Qvfread(buf.data(), 7, 100, h) > 0) {
            }
            pack.Qvfseek(h, -3, 2);
            pack.Qvfread(buf.data(), 4, 1000, h);
            pack.Qvfseek(h, 5, 0);
            int pos = 0;
            pack.Qvfgetpos(h, &pos);
            pack.Qvfsetpos(h, &pos);
            pack.Qvfread(buf.data(), 1, 1, h);
            pack.Qvfclose(h);
        }
        if (pack.OpenFile(name)) pack.CloseFile();
    }
    pack.EndPack();
    return 0;
}
