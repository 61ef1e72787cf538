#include "media/Qvpack.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "media/Orvane.h"
#include "platform/Big5.h"
#include "platform/Files.h"

namespace {

constexpr std::uint64_t kUnknownPos = ~std::uint64_t{0};
constexpr std::uint32_t kCopyChunk = 32768;
constexpr std::uint32_t kCodecChunk = orvane::kBlockSize;
constexpr std::uint64_t kPercentDirect = 67108864;  // above this, percent from 32 KB units

// A compressed member's size must lie within what its stored bytes can expand to and
// within the reader's ceiling; checked before anything is allocated from it.
bool DecodableSize(std::uint32_t size, std::uint32_t stored) {
    return size <= kQvMaxMemberSize && size <= std::uint64_t{stored} * orvane::kMaxExpansion;
}

bool Seek(std::FILE* f, std::uint64_t pos) {
    return fseeko(f, static_cast<off_t>(pos), SEEK_SET) == 0;
}

// Upper-cases ASCII letters; the byte after a Big5 lead byte stays.
std::string UpperName(const char* s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if (ui::IsBig5Lead(c)) {
            ++i;
            continue;
        }
        if (c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

void EncodeRecord(const QvFileTable2& r, std::uint8_t* p) {
    std::memset(p, 0, kQvFileTable2Size);
    std::memcpy(p, r.name, kQvNameLen);
    std::memcpy(p + 21, r.ext, kQvExtLen);
    ui::StoreU32(p + 24, r.offset);
    ui::StoreU32(p + 28, r.size);
    ui::StoreU32(p + 32, r.storedSize);
    p[36] = r.compressed;
}

}  // namespace

// ---------------------------------------------------------------- TMemoryStream

void TMemoryStream::SetSize(std::int64_t size) {
    data_.resize(static_cast<std::size_t>(size < 0 ? 0 : size));
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, int origin) {
    std::int64_t base = origin == soFromCurrent ? pos_ : origin == soFromEnd ? Size() : 0;
    pos_ = std::max<std::int64_t>(0, base + offset);
    return pos_;
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    if (count <= 0 || pos_ >= Size()) return 0;
    const std::int64_t n = std::min(count, Size() - pos_);
    std::memcpy(buffer, data_.data() + pos_, static_cast<std::size_t>(n));
    pos_ += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    if (pos_ + count > Size()) data_.resize(static_cast<std::size_t>(pos_ + count));
    std::memcpy(data_.data() + pos_, buffer, static_cast<std::size_t>(count));
    pos_ += count;
    return count;
}

// ---------------------------------------------------------------- opening and closing

TQvPack::~TQvPack() { EndPack(); }

void TQvPack::SetReadOnly(bool readOnly) {
    if (!IsOpen()) readOnly_ = readOnly;
}

bool TQvPack::OpenPack(const std::string& path) {
    if (path.empty()) {
        ClosePack();
        return true;
    }
    return LoadPack(path.c_str());
}

bool TQvPack::LoadPack(const char* path) {
    EndPack();
    if (!path) return false;
    std::FILE* f = ui::OpenFile(path, readOnly_ ? "rb" : "r+b");
    if (!f) return false;
    auto fail = [&] {
        std::fclose(f);
        table_.clear();
        header_ = QvPackHeader{};
        return false;
    };
    if (fseeko(f, 0, SEEK_END) != 0) return fail();
    const off_t end = ftello(f);
    if (end < 0 || !Seek(f, 0)) return fail();
    const std::uint64_t fileSize = static_cast<std::uint64_t>(end);

    std::uint8_t h[kQvPackHeaderSize];
    if (std::fread(h, 1, sizeof h, f) != sizeof h) return fail();
    std::memcpy(header_.magic, h, 6);
    header_.version = ui::LoadU16(h + 6);
    header_.dataSize = ui::LoadU32(h + 8);
    header_.count = ui::LoadU32(h + 12);
    std::uint64_t pos = kQvPackHeaderSize;

    int recordSize;
    if (header_.version == kQvPackVersion)
        recordSize = kQvFileTable2Size;
    else if (header_.version == kQvPackVersionOld)
        recordSize = kQvFileTableSize;
    else
        return fail();

    // The data area and the whole table must lie inside the file before anything
    // is allocated from the count.
    const std::uint64_t tableAt = kQvPackHeaderSize + std::uint64_t{header_.dataSize};
    const std::uint64_t tableBytes = std::uint64_t{header_.count} * recordSize;
    if (tableAt > fileSize || tableBytes > fileSize - tableAt) return fail();

    table_.clear();
    try {  // the table is bounded by the file, but memory may still run out
        if (header_.count > 0) {
            std::vector<std::uint8_t> raw(tableBytes);
            if (!Seek(f, tableAt) || std::fread(raw.data(), 1, raw.size(), f) != raw.size())
                return fail();
            pos = tableAt + tableBytes;
            table_.resize(header_.count);
            for (std::uint32_t i = 0; i < header_.count; ++i) {
                const std::uint8_t* p = raw.data() + std::size_t{i} * recordSize;
                QvFileTable2& r = table_[i];
                std::memcpy(r.name, p, kQvNameLen);
                std::memcpy(r.ext, p + 21, kQvExtLen);
                r.offset = ui::LoadU32(p + 24);
                r.size = ui::LoadU32(p + 28);
                if (recordSize == kQvFileTable2Size) {
                    r.storedSize = ui::LoadU32(p + 32);
                    r.compressed = p[36] != 0 ? 1 : 0;
                } else {
                    r.storedSize = r.size;
                    r.compressed = 0;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        return fail();
    }
    header_.version = kQvPackVersion;  // an older table is widened in memory
    file_ = f;
    fileSize_ = fileSize;
    filePos_ = pos;
    modified_ = false;
    packName_ = path;
    return true;
}

bool TQvPack::EndPack() {
    if (!file_) return true;
    CloseFile();
    bool ok = true;
    if (modified_) {
        std::uint8_t h[kQvPackHeaderSize] = {};
        std::memcpy(h, header_.magic, 6);
        ui::StoreU16(h + 6, kQvPackVersion);
        ui::StoreU32(h + 8, header_.dataSize);
        ui::StoreU32(h + 12, header_.count);
        ok = Seek(file_, 0) && std::fwrite(h, 1, sizeof h, file_) == sizeof h;
        const std::uint64_t tableAt = kQvPackHeaderSize + std::uint64_t{header_.dataSize};
        if (ok && header_.count > 0) {
            std::vector<std::uint8_t> raw(std::size_t{header_.count} * kQvFileTable2Size);
            for (std::uint32_t i = 0; i < header_.count; ++i)
                EncodeRecord(table_[i], raw.data() + std::size_t{i} * kQvFileTable2Size);
            ok =
                Seek(file_, tableAt) && std::fwrite(raw.data(), 1, raw.size(), file_) == raw.size();
        }
        // Nothing stays behind the table (a failed addition may have written there).
        ok = ok && std::fflush(file_) == 0 &&
             ftruncate(fileno(file_), static_cast<off_t>(tableAt + std::uint64_t{header_.count} *
                                                                       kQvFileTable2Size)) == 0;
    }
    if (std::fclose(file_) != 0) ok = false;
    file_ = nullptr;
    table_.clear();
    header_ = QvPackHeader{};
    modified_ = false;
    filePos_ = 0;
    fileSize_ = 0;
    packName_.clear();
    return ok;
}

bool TQvPack::NewPack(const char* path) {
    if (readOnly_ || !path) return false;
    EndPack();
    std::FILE* f = ui::OpenFile(path, "w+b");
    if (!f) return false;
    header_ = QvPackHeader{};
    std::uint8_t h[kQvPackHeaderSize] = {};
    std::memcpy(h, header_.magic, 6);
    ui::StoreU16(h + 6, kQvPackVersion);
    if (std::fwrite(h, 1, sizeof h, f) != sizeof h || std::fflush(f) != 0) {
        std::fclose(f);
        return false;
    }
    file_ = f;
    table_.clear();
    filePos_ = kUnknownPos;
    fileSize_ = kQvPackHeaderSize;
    modified_ = false;
    packName_ = path;
    return true;
}

// ---------------------------------------------------------------- names

int TQvPack::GetFileNum() const { return file_ ? static_cast<int>(header_.count) : 0; }

const QvFileTable2* TQvPack::Record(int index) const {
    if (!file_ || index < 0 || static_cast<std::size_t>(index) >= table_.size()) return nullptr;
    return &table_[static_cast<std::size_t>(index)];
}

bool TQvPack::RecordFits(int index) const {
    const QvFileTable2* r = Record(index);
    if (!r) return false;
    const std::uint64_t bytes = r->compressed ? r->storedSize : r->size;
    return std::uint64_t{r->offset} + bytes <= header_.dataSize;
}

bool TQvPack::GetFileName(int index, char* out) const {
    const QvFileTable2* r = Record(index);
    if (!r || !out) return false;
    int n = 0;
    for (int i = 0; i < kQvNameLen && r->name[i]; ++i) out[n++] = r->name[i];
    if (r->ext[0]) {
        out[n++] = '.';
        for (int i = 0; i < kQvExtLen && r->ext[i]; ++i) out[n++] = r->ext[i];
    }
    out[n] = '\0';
    return true;
}

std::string TQvPack::GetFileName(int index) const {
    char buf[kQvMaxNameLen + 1];
    return GetFileName(index, buf) ? std::string(buf) : std::string();
}

int TQvPack::CheckFileName(const char* name) const {
    if (!file_ || !name) return -1;
    const std::size_t len = std::strlen(name);
    // An empty name would match a deleted record.
    if (len == 0 || len > static_cast<std::size_t>(kQvMaxNameLen)) return -1;
    const std::string want = UpperName(name);
    char buf[kQvMaxNameLen + 1];
    for (std::size_t i = 0; i < table_.size(); ++i) {
        const int index = static_cast<int>(i);
        GetFileName(index, buf);
        if (UpperName(buf) == want && RecordFits(index)) return index;
    }
    return -1;
}

void TQvPack::MakeFTName(QvFileTable2& record, const char* name) {
    std::memset(record.name, 0, sizeof record.name);
    std::memset(record.ext, 0, sizeof record.ext);
    if (!name) return;
    std::size_t i = 0;
    for (; name[i] && name[i] != '.'; ++i)
        if (i < static_cast<std::size_t>(kQvNameLen)) record.name[i] = name[i];
    if (name[i] == '.') {
        ++i;
        for (int k = 0; k < kQvExtLen && name[i + k]; ++k) record.ext[k] = name[i + k];
    }
}

// ---------------------------------------------------------------- handles

bool TQvPack::SeekFile(std::uint64_t pos) {
    if (pos == filePos_) return true;
    if (!Seek(file_, pos)) {
        filePos_ = kUnknownPos;
        return false;
    }
    filePos_ = pos;
    return true;
}

QvFILE* TQvPack::QvfopenComp(const char* name, bool decode) {
    const int index = CheckFileName(name);
    if (index < 0) return nullptr;
    const QvFileTable2& r = table_[static_cast<std::size_t>(index)];
    // A member decoded into memory must declare a size its stream can reach and the
    // reader is willing to hold.
    if (r.compressed && decode && !DecodableSize(r.size, r.storedSize)) return nullptr;
    auto* h = new (std::nothrow) QvFILE;
    if (!h) return nullptr;
    h->index = index;
    h->dataOffset = kQvPackHeaderSize + std::uint64_t{r.offset};
    h->size = r.size;
    h->storedSize = r.compressed ? r.storedSize : r.size;
    h->compressed = r.compressed ? 1 : 0;
    h->position = 0;
    if (h->compressed && decode) {
        bool ok = SeekFile(h->dataOffset);
        ok = ok && FileDecode(h->buffer, file_, h->storedSize, h->size);
        // The decoder reads whole chunks; where it stopped is not worth tracking.
        filePos_ = kUnknownPos;
        if (!ok) {
            delete h;
            return nullptr;
        }
        h->decoded = true;
    }
    return h;
}

bool TQvPack::Qvfclose(QvFILE* handle) {
    if (!handle) return false;
    delete handle;
    return true;
}

std::uint32_t TQvPack::Qvfsize(const QvFILE* handle) const {
    return file_ && handle ? handle->size : 0;
}
std::uint32_t TQvPack::Qvdsize(const QvFILE* handle) const {
    return file_ && handle ? handle->storedSize : 0;
}
bool TQvPack::QvIsComp(const QvFILE* handle) const { return file_ && handle && handle->compressed; }

namespace {
std::int64_t EndOf(const QvFILE* h) {
    return h->compressed && !h->decoded ? h->storedSize : h->size;
}
std::int64_t Clamp(std::int64_t v, std::int64_t end) { return std::clamp<std::int64_t>(v, 0, end); }
}  // namespace

bool TQvPack::Qvfseek(QvFILE* handle, int offset, int origin) {
    if (!file_ || !handle) return false;
    std::int64_t pos = handle->position;
    switch (origin) {
        case 0:
            pos = offset;
            break;
        case 1:
            pos += offset;
            break;
        case 2:
            pos = EndOf(handle) + offset;
            break;
        default:
            break;
    }
    handle->position = Clamp(pos, EndOf(handle));
    return true;
}

bool TQvPack::Qvfgetpos(const QvFILE* handle, int* pos) const {
    if (!file_ || !handle || !pos) return false;
    *pos = static_cast<int>(handle->position);
    return true;
}

bool TQvPack::Qvfsetpos(QvFILE* handle, const int* pos) {
    if (!file_ || !handle || !pos) return false;
    handle->position = Clamp(*pos, EndOf(handle));
    return true;
}

std::uint32_t TQvPack::Qvfread(void* buffer, std::uint32_t itemSize, std::uint32_t count,
                               QvFILE* handle) {
    if (!file_ || !handle || itemSize == 0 || !buffer) return 0;
    const std::int64_t limit = EndOf(handle);
    handle->position = Clamp(handle->position, limit);
    const std::uint64_t total = std::uint64_t{itemSize} * count;  // 64 bits: no wrap
    const std::uint64_t pos = static_cast<std::uint64_t>(handle->position);
    std::uint64_t items = count;
    if (pos + total > static_cast<std::uint64_t>(limit)) {
        const std::uint64_t over = pos + total - static_cast<std::uint64_t>(limit);
        items -= (over + itemSize - 1) / itemSize;
    }
    if (items == 0) return 0;
    const std::uint64_t bytes = items * itemSize;
    if (handle->decoded) {
        std::memcpy(buffer, handle->buffer.data() + pos, bytes);
        handle->position += static_cast<std::int64_t>(bytes);
        return static_cast<std::uint32_t>(items);
    }
    if (!SeekFile(handle->dataOffset + pos)) return 0;
    const std::size_t got = std::fread(buffer, itemSize, items, file_);
    handle->position += static_cast<std::int64_t>(got * itemSize);
    if (got == items)
        filePos_ += got * itemSize;
    else
        filePos_ = kUnknownPos;  // a part item may have been read; seek next time
    return static_cast<std::uint32_t>(got);
}

// ---------------------------------------------------------------- streams

std::unique_ptr<TMemoryStream> TQvPack::QvMakeStream(const char* name) {
    QvFILE* h = Qvfopen(name);
    if (!h) return nullptr;
    const std::uint32_t size = Qvfsize(h);
    std::unique_ptr<TMemoryStream> stream;
    bool ok = size <= kQvMaxMemberSize;
    try {
        if (ok) {
            stream = std::make_unique<TMemoryStream>();
            stream->SetSize(size);
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    ok = ok && (size == 0 || Qvfread(stream->Memory(), 1, size, h) == size);
    Qvfclose(h);
    if (!ok) return nullptr;
    stream->SetPosition(0);
    return stream;
}

bool TQvPack::OpenFile(const std::string& name) {
    Stream.reset();
    fileName_ = name;
    if (name.empty()) return true;
    Stream = QvMakeStream(name.c_str());
    if (!Stream) {
        fileName_.clear();
        return false;
    }
    return true;
}

void TQvPack::CloseFile() {
    if (Stream) {
        Stream.reset();
        fileName_.clear();
    }
}

// ---------------------------------------------------------------- progress

void TQvPack::ProgressStart() {
    if (!OnProgress) return;
    progPercent_ = 0;
    OnProgress(this);
}

void TQvPack::Progress(std::uint64_t done, std::uint64_t total) {
    if (!OnProgress) return;
    if (total == 0)
        progPercent_ = 100;
    else if (total <= kPercentDirect)
        progPercent_ = static_cast<int>(done * 100 / total);
    else
        progPercent_ = static_cast<int>((done >> 15) * 100 / (total >> 15));
    OnProgress(this);
}

// ---------------------------------------------------------------- copy and codec loops

bool TQvPack::FileCopy(std::FILE* dest, std::FILE* source, std::uint32_t length) {
    if (!dest || !source) return false;
    std::vector<std::uint8_t> buf(kCopyChunk);
    ProgressStart();
    std::uint64_t done = 0;
    const std::uint32_t whole = length / kCopyChunk, rest = length % kCopyChunk;
    for (std::uint32_t i = 0; i < whole; ++i) {
        if (std::fread(buf.data(), 1, kCopyChunk, source) != kCopyChunk) return false;
        done += kCopyChunk;
        Progress(done, length);
        if (std::fwrite(buf.data(), 1, kCopyChunk, dest) != kCopyChunk) return false;
    }
    if (rest > 0) {
        if (std::fread(buf.data(), 1, rest, source) != rest) return false;
        Progress(length, length);
        if (std::fwrite(buf.data(), 1, rest, dest) != rest) return false;
    }
    return true;
}

bool TQvPack::PackCopy(std::FILE* dest, TQvPack* source, QvFILE* handle, std::uint32_t length) {
    if (!dest || !source || !handle) return false;
    std::vector<std::uint8_t> buf(kCopyChunk);
    // The destination position is kept here: the source may be this very pack.
    off_t writeAt = ftello(dest);
    if (writeAt < 0) return false;
    ProgressStart();
    std::uint64_t done = 0;
    while (done < length) {
        const std::uint32_t n =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(kCopyChunk, length - done));
        if (source->Qvfread(buf.data(), 1, n, handle) != n) return false;
        done += n;
        Progress(n == kCopyChunk ? done : length, length);
        if (fseeko(dest, writeAt, SEEK_SET) != 0 || std::fwrite(buf.data(), 1, n, dest) != n)
            return false;
        writeAt += n;
        if (dest == file_) filePos_ = kUnknownPos;
    }
    return true;
}

std::int64_t TQvPack::FileEncode(std::FILE* dest, std::FILE* source, std::uint32_t length) {
    if (!dest || !source) return -1;
    TOrvaneEncode encoder;
    const std::uint8_t* out = encoder.Open(length);
    if (!out) return -1;
    std::vector<std::uint8_t> buf(kCodecChunk);
    ProgressStart();
    std::uint64_t done = 0;
    std::int64_t written = 0;
    while (!encoder.Done()) {
        const std::uint32_t n =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(kCodecChunk, length - done));
        if (n > 0) {
            if (std::fread(buf.data(), 1, n, source) != n) return -1;
            done += n;
            Progress(done, length);
        }
        const int k = encoder.Encode(buf.data());
        if (k > 0 &&
            std::fwrite(out, 1, static_cast<std::size_t>(k), dest) != static_cast<std::size_t>(k))
            return -1;
        written += k;
    }
    return written;
}

bool TQvPack::StreamDecode(const DecodeSink& sink, std::FILE* source, std::uint32_t stored,
                           std::uint32_t size) {
    if (!source || !DecodableSize(size, stored)) return false;
    TOrvaneDecode decoder;
    const std::uint8_t* block = decoder.Open(size, stored);
    if (!block) return false;
    std::vector<std::uint8_t> buf(kCodecChunk);
    ProgressStart();
    std::uint64_t read = 0, written = 0;
    while (!decoder.Done()) {
        if (decoder.NeedInput()) {
            const std::uint32_t n =
                static_cast<std::uint32_t>(std::min<std::uint64_t>(kCodecChunk, stored - read));
            if (std::fread(buf.data(), 1, n, source) != n) return false;
            read += n;
            Progress(read, stored);
        }
        const int k = decoder.Decode(buf.data());
        if (k > 0) {
            if (!sink(block, static_cast<std::size_t>(k))) return false;
            written += static_cast<std::uint64_t>(k);
        }
    }
    return !decoder.Failed() && written == size;
}

bool TQvPack::FileDecode(std::vector<std::uint8_t>& dest, std::FILE* source, std::uint32_t stored,
                         std::uint32_t size) {
    dest.clear();
    bool ok = false;
    try {
        // The buffer grows with what is actually decoded, never from the record's word
        // alone; the decoder stops at the declared size.
        if (DecodableSize(size, stored)) dest.reserve(std::min<std::uint32_t>(size, 1u << 20));
        ok = StreamDecode(
            [&dest](const std::uint8_t* bytes, std::size_t n) {
                dest.insert(dest.end(), bytes, bytes + n);
                return true;
            },
            source, stored, size);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) std::vector<std::uint8_t>().swap(dest);
    return ok;
}

bool TQvPack::ExtractTo(std::FILE* dest, QvFILE* handle) {
    if (!file_ || !dest || !handle) return false;
    if (!handle->compressed || handle->decoded) {
        handle->position = 0;
        return PackCopy(dest, this, handle, handle->size);
    }
    if (!SeekFile(handle->dataOffset)) return false;
    const bool ok =
        StreamDecode([dest](const std::uint8_t* bytes,
                            std::size_t n) { return std::fwrite(bytes, 1, n, dest) == n; },
                     file_, handle->storedSize, handle->size);
    filePos_ = kUnknownPos;
    return ok;
}

// ---------------------------------------------------------------- writing

bool TQvPack::NameAcceptable(const char* name) const {
    if (readOnly_ || !file_ || !name) return false;
    const std::size_t len = std::strlen(name);
    if (len == 0 || len > static_cast<std::size_t>(kQvMaxNameLen)) return false;
    // A name must be findable again: base up to 21, ext up to 3, no dot without ext.
    const char* dot = std::strchr(name, '.');
    const std::size_t base = dot ? static_cast<std::size_t>(dot - name) : len;
    if (base > static_cast<std::size_t>(kQvNameLen)) return false;
    if (dot) {
        const std::size_t ext = len - base - 1;
        if (ext == 0 || ext > static_cast<std::size_t>(kQvExtLen)) return false;
    }
    return CheckFileName(name) < 0;
}

bool TQvPack::WriteZeros(std::uint32_t count) {
    static const std::uint8_t zeros[16] = {};
    return count == 0 || std::fwrite(zeros, 1, count, file_) == count;
}

// Pads the member's bytes to 16 and appends its record.
bool TQvPack::AppendRecord(const QvFileTable2& record, std::uint32_t stored) {
    const std::uint64_t padded = (std::uint64_t{stored} + 15) & ~std::uint64_t{15};
    if (std::uint64_t{header_.dataSize} + padded > 0xFFFFFFFFu || header_.count == 0xFFFFFFFFu)
        return false;
    if (!WriteZeros(static_cast<std::uint32_t>(padded - stored))) return false;
    QvFileTable2 r = record;
    r.storedSize = stored;
    table_.push_back(r);
    header_.dataSize += static_cast<std::uint32_t>(padded);
    header_.count += 1;
    modified_ = true;
    return true;
}

bool TQvPack::AddFile(const char* name, const char* sourcePath, bool compress) {
    if (!NameAcceptable(name) || !sourcePath) return false;
    std::FILE* src = ui::OpenFile(sourcePath, "rb");
    if (!src) return false;
    const bool ok = AddFileFrom(name, src, compress);
    std::fclose(src);
    return ok;
}

bool TQvPack::AddFileFrom(const char* name, std::FILE* source, bool compress) {
    if (!NameAcceptable(name) || !source) return false;
    if (fseeko(source, 0, SEEK_END) != 0) return false;
    const off_t end = ftello(source);
    if (end < 0 || static_cast<std::uint64_t>(end) > 0xFFFFFFFFu ||
        fseeko(source, 0, SEEK_SET) != 0)
        return false;
    const std::uint32_t size = static_cast<std::uint32_t>(end);

    QvFileTable2 r;
    MakeFTName(r, name);
    r.offset = header_.dataSize;
    r.size = size;
    r.compressed = compress && size > 0 ? 1 : 0;  // an empty member is stored as is

    const std::uint64_t at = kQvPackHeaderSize + std::uint64_t{header_.dataSize};
    filePos_ = kUnknownPos;
    if (!Seek(file_, at)) return false;
    // From here the old table on disk is overwritten: it must be written again.
    modified_ = true;
    std::int64_t stored;
    if (r.compressed) {
        stored = FileEncode(file_, source, size);
    } else {
        stored = FileCopy(file_, source, size) ? size : -1;
    }
    if (stored < 0 || stored > 0xFFFFFFFF) return false;
    return AppendRecord(r, static_cast<std::uint32_t>(stored));
}

bool TQvPack::AddPack(const char* name, TQvPack* source, const char* sourceName) {
    if (!NameAcceptable(name) || !source) return false;
    QvFILE* h = source->QvfopenComp(sourceName, false);
    if (!h) return false;
    QvFileTable2 r;
    MakeFTName(r, name);
    r.offset = header_.dataSize;
    r.size = h->size;
    r.compressed = h->compressed;
    const std::uint32_t length = h->compressed ? h->storedSize : h->size;

    bool ok = false;
    filePos_ = kUnknownPos;
    if (Seek(file_, kQvPackHeaderSize + std::uint64_t{header_.dataSize})) {
        modified_ = true;
        ok = PackCopy(file_, source, h, length);
        // PackCopy leaves the pack positioned after the copied bytes.
        ok = ok && AppendRecord(r, length);
    }
    source->Qvfclose(h);
    return ok;
}

bool TQvPack::DelFile(const char* name) {
    if (readOnly_ || !file_) return false;
    const int index = CheckFileName(name);
    if (index < 0) return false;
    QvFileTable2& r = table_[static_cast<std::size_t>(index)];
    std::memset(r.name, 0, sizeof r.name);
    std::memset(r.ext, 0, sizeof r.ext);
    modified_ = true;
    return true;
}
