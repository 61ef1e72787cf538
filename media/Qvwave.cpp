#include "media/Qvwave.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <new>
#include <vector>

#include "media/Qvpack.h"
#include "platform/Files.h"

void TQvWave::SetSyncMode(int mode) {
    if (mode == smSync || mode == smASync) syncMode_ = static_cast<TSyncMode>(mode);
}

void TQvWave::Play(TQvPack* pack, const std::string& memberName) {
    // The sound before is stopped and its buffer freed before the next is read.
    if (voice_.HoldsBuffer()) Stop();
    if (pack == nullptr || !pack->IsOpen()) return;
    QvFILE* h = pack->Qvfopen(memberName.c_str());
    if (h == nullptr) return;
    const std::uint32_t size = pack->Qvfsize(h);
    std::vector<std::uint8_t> buffer;
    bool read = false;
    if (size > 0) {
        try {
            buffer.resize(size);
            read = pack->Qvfread(buffer.data(), size, 1, h) >= 1;
        } catch (const std::bad_alloc&) {
            read = false;
        }
    }
    if (read) voice_.Play(std::move(buffer), syncMode_ == smSync);
    pack->Qvfclose(h);
}

void TQvWave::Play(const std::string& fileName) {
    if (voice_.HoldsBuffer()) Stop();
    std::FILE* f = ui::OpenFile(fileName, "rb");
    if (f == nullptr) return;
    std::vector<std::uint8_t> buffer;
    bool read = false;
    // Only a regular file of a sound's size: a folder opens too, and its "length" is no
    // size at all.
    struct stat st;
    if (::fstat(::fileno(f), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
        static_cast<std::uint64_t>(st.st_size) <= kQvMaxMemberSize) {
        try {
            buffer.resize(static_cast<std::size_t>(st.st_size));
            read = std::fread(buffer.data(), buffer.size(), 1, f) == 1;
        } catch (const std::bad_alloc&) {
            read = false;
        }
    }
    std::fclose(f);
    if (read) voice_.Play(std::move(buffer), syncMode_ == smSync);
}

bool TQvWave::PlayDef(const char*) {
    if (voice_.HoldsBuffer()) Stop();
    // No system sounds here: the request is accepted and nothing sounds.
    return true;
}
