// Pack reader fuzz target: the input is a pack file. Opens it, then looks up,
// opens, reads, seeks and streams every member, decoded and raw.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "media/Qvpack.h"

namespace {
const std::string& Path() {
    static const std::string path = "/tmp/fuzz_qvpack_" + std::to_string(getpid()) + ".pak";
    return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(Path().c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    TQvPack pack;
    if (!pack.LoadPack(Path().c_str())) return 0;
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
