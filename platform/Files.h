#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Files as the game names them: paths keep the game's backslashes and any case; the
// file layer maps `\` to `/`, collapses doubled separators and matches each component
// against the folder's entries without regard to (ASCII) case. A relative path is
// taken from the program's folder, which is the game folder.
namespace ui {

// ---- the program's folder (the game folder)

// The game folder, ending in '/'. Until SetProgramFolder, the generated game folder.
const std::string& ProgramFolder();
void SetProgramFolder(const std::string& dir);
// The generated game folder the build writes (LUMIA_DEFAULT_GAMEDATA).
std::string DefaultGameFolder();
// A folder holds game data when it has a `Data` folder or a *.pak file (any case).
bool HoldsGameData(const std::string& dir);
// The game folder to use: `given` (from --game DIR) when set, else the current folder
// when it holds game data, else the generated one.
std::string ChooseGameFolder(const std::optional<std::string>& given);

// ---- the save folder

// Where the save files live, ending in '/': the program's folder until SetSaveFolder
// (empty: the program's folder again).
std::string SaveFolder();
void SetSaveFolder(const std::string& dir);
// A save file's path: `name` in the save folder.
std::string SavePath(std::string_view name);
// The user's data folder for `program` by the desktop's conventions: $XDG_DATA_HOME/
// program when that is an absolute path, else $HOME/.local/share/program; empty when
// neither is known.
std::string UserDataFolder(const std::string& program);
// The save folder for a game folder: the game folder itself, unless it is the generated
// one (which a rebuild deletes), whose saves go to the user's data folder for `program`
// (the game folder when there is none). Nothing is made on disk.
std::string ChooseSaveFolder(const std::string& gameFolder, const std::string& program);
// Makes a save folder set apart from the game folder (and the folders above it) when it
// is not there yet, as the first save needs it; false when it cannot be made. The game
// folder itself is never made.
bool MakeSaveFolder();

// ---- lookup

// The path on disk for a game path. Components that exist are matched without regard
// to case (an exact match wins); from the first one that does not, the rest is kept as
// given, so a new file can be created there.
std::string FindPath(std::string_view path);
bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);
// Size in bytes, or -1 when the file does not exist.
std::int64_t FileSize(std::string_view path);
bool DeleteFile(std::string_view path);
// The time of the file's last change in seconds since 1970, or -1.
std::int64_t FileModified(std::string_view path);
// The names in a folder ("": the program's folder), without "." and ".."; empty when
// it cannot be read.
std::vector<std::string> FolderEntries(std::string_view path);
// Copies a file (its bytes, not its permissions: the copy is writable); with
// failIfExists an existing target is left alone and false returned. Atomic on the target.
[[nodiscard]] bool CopyFile(std::string_view from, std::string_view to, bool failIfExists);
bool CreateDirectory(std::string_view path);

// fopen through the lookup ("rb", "wb", "r+b", ...); null on failure.
[[nodiscard]] std::FILE* OpenFile(std::string_view path, const char* mode);

// ---- whole files

// Reads the whole file; false when it cannot be read.
[[nodiscard]] bool ReadFile(std::string_view path, std::vector<std::uint8_t>& out);
// Writes the file so that either the new contents are there in full or the old file is
// left as it was: the bytes go to a temporary file beside it, which is flushed to disk
// and renamed over the old one. The writer is called with the open temporary file and
// returns false to give up. False on any failure, the temporary file removed.
[[nodiscard]] bool WriteFileAtomic(std::string_view path, const void* data, std::size_t size);
[[nodiscard]] bool WriteFileAtomic(std::string_view path,
                                   const std::function<bool(std::FILE*)>& writer);

// ---- little-endian fields at stated offsets

inline std::uint16_t LoadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t LoadU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}
inline std::int16_t LoadI16(const std::uint8_t* p) { return static_cast<std::int16_t>(LoadU16(p)); }
inline std::int32_t LoadI32(const std::uint8_t* p) { return static_cast<std::int32_t>(LoadU32(p)); }
inline void StoreU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}
inline void StoreI16(std::uint8_t* p, std::int16_t v) {
    StoreU16(p, static_cast<std::uint16_t>(v));
}
inline void StoreI32(std::uint8_t* p, std::int32_t v) {
    StoreU32(p, static_cast<std::uint32_t>(v));
}

// Reads fields from a byte buffer with every read checked against its end: a read past
// it fails, returns 0 and leaves the reader failed, so a loader checks Ok() once.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const std::vector<std::uint8_t>& v) : ByteReader(v.data(), v.size()) {}

    bool Ok() const { return ok_; }
    std::size_t Offset() const { return pos_; }
    std::size_t Size() const { return size_; }
    std::size_t Left() const { return size_ - pos_; }
    bool Seek(std::size_t offset);
    bool Skip(std::size_t n) { return Seek(pos_ + n); }
    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    bool Bytes(void* out, std::size_t n);

private:
    const std::uint8_t* Take(std::size_t n);
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// Appends little-endian fields to a byte buffer.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void U8(std::uint8_t v) { out_.push_back(v); }
    void U16(std::uint16_t v);
    void U32(std::uint32_t v);
    void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void Bytes(const void* data, std::size_t n);
    std::size_t Size() const { return out_.size(); }

private:
    std::vector<std::uint8_t>& out_;
};

}  // namespace ui
