#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#ifndef LUMIA_DEFAULT_GAMEDATA
#define LUMIA_DEFAULT_GAMEDATA "gamedata"
#endif

namespace ui {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(const std::string& dir) {
    if (dir.empty()) return "./";
    return dir.back() == '/' ? dir : dir + '/';
}

std::string& Folder() {
    static std::string folder = WithSlash(LUMIA_DEFAULT_GAMEDATA);
    return folder;
}

// Empty: the program's folder.
std::string& SavesAt() {
    static std::string folder;
    return folder;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool EndsWithIgnoringCase(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && SameIgnoringCase(s.substr(s.size() - tail.size()), tail);
}

bool Exists(const std::string& p) {
    struct stat st;
    return ::lstat(p.c_str(), &st) == 0;
}

// The entry of `dir` named `name` without regard to case; the first in byte order
// when several match, so the choice does not depend on the order of the folder.
std::optional<std::string> MatchInFolder(const std::string& dir, const std::string& name) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return std::nullopt;
    std::optional<std::string> best;
    while (dirent* e = ::readdir(d)) {
        const std::string entry = e->d_name;
        if (SameIgnoringCase(entry, name) && (!best || entry < *best)) best = entry;
    }
    ::closedir(d);
    return best;
}

}  // namespace

const std::string& ProgramFolder() { return Folder(); }
void SetProgramFolder(const std::string& dir) { Folder() = WithSlash(dir); }
std::string DefaultGameFolder() { return LUMIA_DEFAULT_GAMEDATA; }

std::string SaveFolder() { return SavesAt().empty() ? ProgramFolder() : SavesAt(); }
void SetSaveFolder(const std::string& dir) { SavesAt() = dir.empty() ? dir : WithSlash(dir); }

std::string SavePath(std::string_view name) {
    std::string p(name);
    std::replace(p.begin(), p.end(), '\\', '/');
    if (!p.empty() && p.front() == '/') return p;
    return SaveFolder() + p;
}

std::string UserDataFolder(const std::string& program) {
    // A relative XDG_DATA_HOME is invalid by the desktop's rules and is ignored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return WithSlash(xdg) + program;
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return WithSlash(home) + ".local/share/" + program;
    return {};
}

std::string ChooseSaveFolder(const std::string& gameFolder, const std::string& program) {
    std::error_code ec;
    const auto same = [&](const std::string& a, const std::string& b) {
        return fs::equivalent(a, b, ec) || fs::path(WithSlash(a)).lexically_normal() ==
                                               fs::path(WithSlash(b)).lexically_normal();
    };
    if (!same(gameFolder, DefaultGameFolder())) return gameFolder;
    const std::string user = UserDataFolder(program);
    return user.empty() ? gameFolder : user;
}

bool MakeSaveFolder() {
    // The game folder is there or not: it is never made here.
    if (SavesAt().empty()) return true;
    std::error_code ec;
    const std::string dir = SavesAt();
    fs::create_directories(dir, ec);
    return fs::is_directory(dir, ec);
}

bool HoldsGameData(const std::string& dir) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return false;
    bool found = false;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        const std::string full = WithSlash(dir) + name;
        if (SameIgnoringCase(name, "data") && DirectoryExists(full)) found = true;
        if (EndsWithIgnoringCase(name, ".pak")) {
            struct stat st;
            if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) found = true;
        }
        if (found) break;
    }
    ::closedir(d);
    return found;
}

std::string ChooseGameFolder(const std::optional<std::string>& given) {
    std::error_code ec;
    if (given) {
        const fs::path p = fs::absolute(*given, ec);
        return ec ? *given : p.lexically_normal().string();
    }
    const fs::path cwd = fs::current_path(ec);
    if (!ec && HoldsGameData(cwd.string())) return cwd.string();
    return DefaultGameFolder();
}

std::string FindPath(std::string_view path) {
    std::string p(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    std::string out = !p.empty() && p.front() == '/' ? std::string(1, '/') : ProgramFolder();
    bool matching = true;
    std::size_t start = 0;
    while (start <= p.size()) {
        std::size_t end = p.find('/', start);
        if (end == std::string::npos) end = p.size();
        const std::string part = p.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        const std::string here = out;  // ends in '/'
        std::string chosen = part;
        if (matching && part != ".." && !Exists(here + part)) {
            if (auto m = MatchInFolder(here, part)) {
                chosen = *m;
            } else {
                matching = false;
            }
        }
        out = here + chosen + '/';
    }
    // Drop the separator after the last component (but keep "/" itself).
    if (out.size() > 1 && out.back() == '/' && !(p.empty() || p.back() == '/')) out.pop_back();
    return out;
}

bool FileExists(std::string_view path) {
    struct stat st;
    return ::stat(FindPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(std::string_view path) {
    struct stat st;
    return ::stat(FindPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::int64_t FileSize(std::string_view path) {
    struct stat st;
    if (::stat(FindPath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return st.st_size;
}

bool DeleteFile(std::string_view path) { return ::unlink(FindPath(path).c_str()) == 0; }

std::int64_t FileModified(std::string_view path) {
    struct stat st;
    if (::stat(FindPath(path).c_str(), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.st_mtime);
}

std::vector<std::string> FolderEntries(std::string_view path) {
    std::vector<std::string> names;
    const std::string dir = path.empty() ? ProgramFolder() : FindPath(path);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(d);
    return names;
}

bool CreateDirectory(std::string_view path) {
    const std::string p = FindPath(path);
    return ::mkdir(p.c_str(), 0777) == 0 || (errno == EEXIST && DirectoryExists(p));
}

std::FILE* OpenFile(std::string_view path, const char* mode) {
    return std::fopen(FindPath(path).c_str(), mode);
}

bool ReadFile(std::string_view path, std::vector<std::uint8_t>& out) {
    std::FILE* f = OpenFile(path, "rb");
    if (!f) return false;
    std::vector<std::uint8_t> data;
    std::uint8_t buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (ok) out = std::move(data);
    return ok;
}

bool WriteFileAtomic(std::string_view path, const void* data, std::size_t size) {
    return WriteFileAtomic(path, [data, size](std::FILE* f) {
        return size == 0 || std::fwrite(data, 1, size, f) == size;
    });
}

bool WriteFileAtomic(std::string_view path, const std::function<bool(std::FILE*)>& writer) {
    const std::string target = FindPath(path);
    const std::size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) return false;
    std::string tmp = (slash == std::string::npos ? std::string() : dir) + "." + name + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return false;
    // Keep the old file's permissions; a new file gets the usual ones.
    struct stat st;
    ::fchmod(fd, ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return false;
    }
    bool ok = writer(f);
    ok = ok && std::fflush(f) == 0 && !std::ferror(f) && ::fsync(fd) == 0;
    ok = (std::fclose(f) == 0) && ok;
    ok = ok && ::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    if (failIfExists && Exists(FindPath(to))) return false;
    std::FILE* src = OpenFile(from, "rb");
    if (!src) return false;
    const bool ok = WriteFileAtomic(to, [src](std::FILE* out) {
        char buf[65536];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, src)) > 0)
            if (std::fwrite(buf, 1, n, out) != n) return false;
        return !std::ferror(src);
    });
    std::fclose(src);
    return ok;
}

// ---- ByteReader / ByteWriter

bool ByteReader::Seek(std::size_t offset) {
    if (!ok_ || offset > size_) {
        ok_ = false;
        return false;
    }
    pos_ = offset;
    return true;
}

const std::uint8_t* ByteReader::Take(std::size_t n) {
    if (!ok_ || n > size_ - pos_) {
        ok_ = false;
        return nullptr;
    }
    const std::uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
}

std::uint8_t ByteReader::U8() {
    const std::uint8_t* p = Take(1);
    return p ? *p : 0;
}

std::uint16_t ByteReader::U16() {
    const std::uint8_t* p = Take(2);
    return p ? LoadU16(p) : 0;
}

std::uint32_t ByteReader::U32() {
    const std::uint8_t* p = Take(4);
    return p ? LoadU32(p) : 0;
}

bool ByteReader::Bytes(void* out, std::size_t n) {
    const std::uint8_t* p = Take(n);
    if (!p) return false;
    if (n) std::memcpy(out, p, n);
    return true;
}

void ByteWriter::U16(std::uint16_t v) {
    std::uint8_t b[2];
    StoreU16(b, v);
    out_.insert(out_.end(), b, b + 2);
}

void ByteWriter::U32(std::uint32_t v) {
    std::uint8_t b[4];
    StoreU32(b, v);
    out_.insert(out_.end(), b, b + 4);
}

void ByteWriter::Bytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    out_.insert(out_.end(), p, p + n);
}

}  // namespace ui
