#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Pack files: many named members in one file, each stored as is or as an Orvane
// stream (media/Orvane.h).
//
// File layout (little-endian):
//   QvPackHeader, 16 bytes at 0: "QvPack", u16 version (0x0200; 0x0100 older,
//   read only), u32 D (size of the data area), u32 N (table records, deleted ones
//   included); the data area from 16 to 16 + D, every member starting at a multiple
//   of 16 from byte 16 and zero-filled up to the next; the table at 16 + D: N
//   records of 40 bytes (0x0100: 32 bytes, no stored size, never compressed).
//   Record: name char[21] (the part before the first dot), ext char[3], u32 offset
//   (from byte 16), u32 size, u32 stored size, u8 compressed, 3 zero bytes.
//   A deleted record keeps its data but its 24 name bytes are zero.

constexpr std::uint16_t kQvPackVersion = 0x0200;
constexpr std::uint16_t kQvPackVersionOld = 0x0100;
constexpr int kQvPackHeaderSize = 16;
constexpr int kQvFileTable2Size = 40;
constexpr int kQvFileTableSize = 32;
constexpr int kQvNameLen = 21;
constexpr int kQvExtLen = 3;
constexpr int kQvMaxNameLen = 25;  // name, dot, ext; a longer name is never found
// The largest member a reader holds in memory, decoded or as a stream: far above any
// picture, sound or script of the game, far below what a machine can spare. A member
// declaring more is refused before anything is allocated for it.
constexpr std::uint32_t kQvMaxMemberSize = 128u << 20;

struct QvPackHeader {
    char magic[6] = {'Q', 'v', 'P', 'a', 'c', 'k'};
    std::uint16_t version = kQvPackVersion;
    std::uint32_t dataSize = 0;  // D
    std::uint32_t count = 0;     // N
};

struct QvFileTable2 {
    char name[kQvNameLen] = {};
    char ext[kQvExtLen] = {};
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint32_t storedSize = 0;
    std::uint8_t compressed = 0;
    std::uint8_t reserved[3] = {};
};

// One open member, from Qvfopen to Qvfclose; must not outlive its pack.
struct QvFILE {
    int index = -1;                // record number
    std::uint64_t dataOffset = 0;  // absolute file offset of the first byte
    std::uint32_t size = 0;        // full (decoded) size
    std::uint32_t storedSize = 0;
    std::uint8_t compressed = 0;       // 0 or 1
    std::vector<std::uint8_t> buffer;  // the decoded member
    bool decoded = false;              // buffer holds the member
    std::int64_t position = 0;         // 0..end
};

// The class library's memory stream, as members are handed out whole.
class TMemoryStream {
public:
    enum Origin { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

    std::int64_t Size() const { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t size);
    std::int64_t Position() const { return pos_; }
    void SetPosition(std::int64_t pos) { pos_ = pos < 0 ? 0 : pos; }
    // Returns the new position (clamped at 0; may lie past the end, like the library's).
    std::int64_t Seek(std::int64_t offset, int origin);
    // Bytes read (up to the end).
    std::int64_t Read(void* buffer, std::int64_t count);
    // Writes at the position, growing the stream; returns count.
    std::int64_t Write(const void* buffer, std::int64_t count);
    std::uint8_t* Memory() { return data_.data(); }
    const std::uint8_t* Memory() const { return data_.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return data_; }

private:
    std::vector<std::uint8_t> data_;
    std::int64_t pos_ = 0;
};

class TQvPack {
public:
    TQvPack() = default;
    ~TQvPack();
    TQvPack(const TQvPack&) = delete;
    TQvPack& operator=(const TQvPack&) = delete;

    // ReadOnly (default true): the mode the next pack opens in ("rb" / "r+b");
    // changes only while no pack is open.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    // Progress of the long copy and decode loops, 0..100.
    int ProgPercent() const { return progPercent_; }
    std::function<void(TQvPack* sender)> OnProgress;

    const std::string& PackName() const { return packName_; }
    bool SetPackName(const std::string& path) { return OpenPack(path); }
    const std::string& FileName() const { return fileName_; }
    bool SetFileName(const std::string& name) { return OpenFile(name); }

    // The member opened by OpenFile, owned by the pack; null when none.
    std::unique_ptr<TMemoryStream> Stream;

    // ---- Opening and closing
    // Paths are game paths (platform/Files.h): backslashes and any case; a relative
    // path is taken from the program's folder.
    // An empty path closes the open pack and returns true; else LoadPack.
    [[nodiscard]] bool OpenPack(const std::string& path);
    // Opens a pack (closing the one open). False when the file does not open, is
    // not a pack of a known version, or its header or table do not fit the file.
    [[nodiscard]] bool LoadPack(const char* path);
    bool ClosePack() { return IsOpen() ? EndPack() : true; }
    // Writes the header and table back when modified, then closes. False when that
    // write failed (the pack is closed either way).
    bool EndPack();
    // Creates an empty pack (not when ReadOnly).
    [[nodiscard]] bool NewPack(const char* path);
    bool IsOpen() const { return file_ != nullptr; }
    bool Modified() const { return modified_; }
    const QvPackHeader& Header() const { return header_; }

    // ---- Names and lookup
    int GetFileNum() const;
    // Writes "name[.ext]" into out (at least 26 bytes).
    bool GetFileName(int index, char* out) const;
    std::string GetFileName(int index) const;
    // The record number of the live member called `name` (ASCII letters without
    // regard to case, Big5 trail bytes as they are), or -1.
    int CheckFileName(const char* name) const;
    static void MakeFTName(QvFileTable2& record, const char* name);
    // The record, or null for an index out of range.
    const QvFileTable2* Record(int index) const;
    // False for a record whose bytes do not lie inside the data area.
    bool RecordFits(int index) const;

    // ---- Reading members through handles
    [[nodiscard]] QvFILE* QvfopenComp(const char* name, bool decode);
    // Opens and decodes a member; null when missing or damaged.
    [[nodiscard]] QvFILE* Qvfopen(const char* name) { return QvfopenComp(name, true); }
    bool Qvfclose(QvFILE* handle);
    std::uint32_t Qvfsize(const QvFILE* handle) const;
    std::uint32_t Qvdsize(const QvFILE* handle) const;
    bool QvIsComp(const QvFILE* handle) const;
    // origin 0: offset; 1: position + offset; 2: end + offset; clamped to 0..end.
    bool Qvfseek(QvFILE* handle, int offset, int origin);
    bool Qvfgetpos(const QvFILE* handle, int* pos) const;
    bool Qvfsetpos(QvFILE* handle, const int* pos);
    // Whole items read.
    std::uint32_t Qvfread(void* buffer, std::uint32_t itemSize, std::uint32_t count,
                          QvFILE* handle);

    // ---- Whole members as streams
    // The member's bytes in a new stream at position 0; null when missing or damaged.
    [[nodiscard]] std::unique_ptr<TMemoryStream> QvMakeStream(const char* name);
    // Replaces Stream with the member `name`; false (no Stream, empty FileName)
    // when it cannot be read. An empty name just drops the Stream.
    [[nodiscard]] bool OpenFile(const std::string& name);
    void CloseFile();

    // ---- Writing members (pack-building tools; the game only reads)
    // Refused: ReadOnly, no pack, a name that exists, is empty, has a base longer
    // than 21 or an ext longer than 3 characters, or a source that does not open.
    [[nodiscard]] bool AddFile(const char* name, const char* sourcePath, bool compress);
    // The same from an open stdio file (read from its start to its end).
    [[nodiscard]] bool AddFileFrom(const char* name, std::FILE* source, bool compress);
    // Copies a member of another open pack, stored bytes as they are.
    [[nodiscard]] bool AddPack(const char* name, TQvPack* source, const char* sourceName);
    // Marks a member deleted (its data stays).
    [[nodiscard]] bool DelFile(const char* name);

    // The copy, compress and decode loops (with progress).
    [[nodiscard]] bool FileCopy(std::FILE* dest, std::FILE* source, std::uint32_t length);
    [[nodiscard]] bool PackCopy(std::FILE* dest, TQvPack* source, QvFILE* handle,
                                std::uint32_t length);
    // Returns the stored length, or -1 on a read or write failure.
    [[nodiscard]] std::int64_t FileEncode(std::FILE* dest, std::FILE* source, std::uint32_t length);
    // Decodes `stored` bytes read from `source` into `dest` (size bytes); false when
    // the stream is damaged or the file runs short, when `size` is above
    // kQvMaxMemberSize or more than `stored` bytes can expand to (refused before
    // anything is allocated), or when memory runs out.
    [[nodiscard]] bool FileDecode(std::vector<std::uint8_t>& dest, std::FILE* source,
                                  std::uint32_t stored, std::uint32_t size);
    // The same, handing each decoded block to `sink` as it comes (false from the sink
    // stops the decode); true when exactly `size` bytes came out of an undamaged stream.
    using DecodeSink = std::function<bool(const std::uint8_t* bytes, std::size_t count)>;
    [[nodiscard]] bool StreamDecode(const DecodeSink& sink, std::FILE* source, std::uint32_t stored,
                                    std::uint32_t size);
    // Writes an open member's whole content to `dest`, decoding a compressed one block by
    // block without holding it in memory; false when it is damaged or the write fails.
    [[nodiscard]] bool ExtractTo(std::FILE* dest, QvFILE* handle);

private:
    bool NameAcceptable(const char* name) const;
    bool SeekFile(std::uint64_t pos);
    bool WriteZeros(std::uint32_t count);
    bool AppendRecord(const QvFileTable2& record, std::uint32_t stored);
    void Progress(std::uint64_t done, std::uint64_t total);
    void ProgressStart();

    bool readOnly_ = true;
    std::FILE* file_ = nullptr;
    QvPackHeader header_;
    std::vector<QvFileTable2> table_;
    bool modified_ = false;
    std::uint64_t filePos_ = 0;  // where our own reads and writes left the file
    std::uint64_t fileSize_ = 0;
    int progPercent_ = 0;
    std::string packName_;
    std::string fileName_;
};
