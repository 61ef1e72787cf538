// qvpack: lists, creates, changes and extracts pack files.
//
//   qvpack list PACK
//   qvpack create PACK [-z] FILE...
//   qvpack add PACK [-z] FILE...
//   qvpack delete PACK NAME...
//   qvpack extract PACK [NAME...] [-o DIR]
//
// A changed pack is written to a temporary file beside it and renamed over it, so
// a failure leaves the old pack whole. Errors go to stderr; the exit status is 1.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "media/Qvpack.h"

namespace fs = std::filesystem;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: qvpack list PACK\n"
                 "       qvpack create PACK [-z] FILE...\n"
                 "       qvpack add PACK [-z] FILE...\n"
                 "       qvpack delete PACK NAME...\n"
                 "       qvpack extract PACK [NAME...] [-o DIR]\n");
    return 1;
}

void Error(const std::string& text) { std::fprintf(stderr, "qvpack: %s\n", text.c_str()); }

// Why a name cannot be a member's name, or empty when it can.
std::string NameProblem(const std::string& name) {
    if (name.empty()) return "an empty name";
    const std::size_t dot = name.find('.');
    const std::size_t base = dot == std::string::npos ? name.size() : dot;
    if (base > static_cast<std::size_t>(kQvNameLen))
        return "'" + name + "' does not fit a pack record (name up to 21 characters)";
    if (dot != std::string::npos) {
        const std::size_t ext = name.size() - dot - 1;
        if (ext == 0 || ext > static_cast<std::size_t>(kQvExtLen))
            return "'" + name + "' does not fit a pack record (extension of 1 to 3 characters)";
    }
    return {};
}

// Upper-cased for comparing names: ASCII letters only, Big5 trail bytes as they are.
std::string Folded(std::string s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c & 0x80)
            ++i;
        else if (c >= 'a' && c <= 'z')
            s[i] = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

bool IsLive(const QvFileTable2& r) {
    for (char c : r.name)
        if (c) return true;
    for (char c : r.ext)
        if (c) return true;
    return false;
}

bool OpenForReading(TQvPack& pack, const std::string& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        Error(path + ": no such file");
        return false;
    }
    if (!pack.LoadPack(path.c_str())) {
        Error(path + ": not a pack file, or a damaged one");
        return false;
    }
    return true;
}

// A temporary file beside the pack, to be renamed over it. It gets the pack's
// permissions, or for a new pack those a new file would get.
std::string MakeTemp(const std::string& pack) {
    std::string name = pack + ".XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        Error("cannot create a temporary file beside " + pack + ": " + std::strerror(errno));
        return {};
    }
    struct stat st;
    if (stat(pack.c_str(), &st) == 0) {
        fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    close(fd);
    return name;
}

bool Commit(const std::string& temp, const std::string& pack) {
    std::error_code ec;
    fs::rename(temp, pack, ec);
    if (ec) {
        Error("cannot replace " + pack + ": " + ec.message());
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

// Adds the files to the open, writable pack.
bool AddFiles(TQvPack& pack, const std::vector<std::string>& files, bool compress) {
    for (const std::string& file : files) {
        std::error_code ec;
        if (!fs::is_regular_file(file, ec)) {
            Error(file + ": no such file");
            return false;
        }
        const std::string name = fs::path(file).filename().string();
        if (const std::string problem = NameProblem(name); !problem.empty()) {
            Error(problem);
            return false;
        }
        if (pack.CheckFileName(name.c_str()) >= 0) {
            Error("'" + name + "' is already in the pack");
            return false;
        }
        if (!pack.AddFile(name.c_str(), fs::absolute(file, ec).c_str(), compress)) {
            Error(file + ": cannot be read or written into the pack");
            return false;
        }
    }
    return true;
}

// Splits "[-z] FILE..." arguments.
void FilesAndFlag(int argc, char** argv, int from, std::vector<std::string>& files, bool& z) {
    for (int i = from; i < argc; ++i) {
        if (std::strcmp(argv[i], "-z") == 0)
            z = true;
        else
            files.push_back(argv[i]);
    }
}

int List(const std::string& path) {
    TQvPack pack;
    if (!OpenForReading(pack, path)) return 1;
    for (int i = 0; i < pack.GetFileNum(); ++i) {
        const QvFileTable2* r = pack.Record(i);
        if (!IsLive(*r)) continue;
        std::printf("%-25s %10u %10u%s%s\n", pack.GetFileName(i).c_str(), r->size,
                    r->compressed ? r->storedSize : r->size, r->compressed ? " z" : "",
                    pack.RecordFits(i) ? "" : " damaged");
    }
    return 0;
}

int Create(const std::string& path, const std::vector<std::string>& files, bool z) {
    const std::string temp = MakeTemp(path);
    if (temp.empty()) return 1;
    TQvPack pack;
    pack.SetReadOnly(false);
    bool ok = pack.NewPack(temp.c_str());
    if (!ok) Error("cannot create " + temp);
    ok = ok && AddFiles(pack, files, z);
    if (!pack.EndPack() && ok) {
        Error("cannot write " + temp);
        ok = false;
    }
    std::error_code ec;
    if (!ok) {
        fs::remove(temp, ec);
        return 1;
    }
    return Commit(temp, path) ? 0 : 1;
}

// Opens a copy of the pack for writing, lets `change` work on it, then renames it
// over the pack.
template <typename Change>
int ChangePack(const std::string& path, Change change) {
    {
        TQvPack probe;
        if (!OpenForReading(probe, path)) return 1;
    }
    const std::string temp = MakeTemp(path);
    if (temp.empty()) return 1;
    std::error_code ec;
    fs::copy_file(path, temp, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        Error("cannot copy " + path + ": " + ec.message());
        fs::remove(temp, ec);
        return 1;
    }
    TQvPack pack;
    pack.SetReadOnly(false);
    bool ok = pack.LoadPack(temp.c_str());
    if (!ok) Error("cannot open " + temp + " for writing");
    ok = ok && change(pack);
    if (!pack.EndPack() && ok) {
        Error("cannot write " + temp);
        ok = false;
    }
    if (!ok) {
        fs::remove(temp, ec);
        return 1;
    }
    return Commit(temp, path) ? 0 : 1;
}

int Delete(const std::string& path, const std::vector<std::string>& names) {
    return ChangePack(path, [&](TQvPack& pack) {
        for (const std::string& name : names) {
            if (!pack.DelFile(name.c_str())) {
                Error("'" + name + "': no such member");
                return false;
            }
        }
        return true;
    });
}

// A member name safe to use as a file name in the output folder.
bool SafeFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool ExtractOne(TQvPack& pack, int index, const fs::path& dir) {
    const std::string name = pack.GetFileName(index);
    if (!SafeFileName(name)) {
        Error("'" + name + "': not a usable file name");
        return false;
    }
    // The member is decoded block by block straight into the file.
    QvFILE* h = pack.RecordFits(index) ? pack.QvfopenComp(name.c_str(), false) : nullptr;
    // A duplicate name opens the first record of that name.
    if (h && h->index != index) {
        pack.Qvfclose(h);
        Error("'" + name + "': a second member of that name, skipped");
        return false;
    }
    if (!h) {
        Error("'" + name + "': damaged member");
        return false;
    }
    const fs::path out = dir / name;
    std::FILE* f = std::fopen(out.c_str(), "wb");
    if (!f) {
        pack.Qvfclose(h);
        Error(out.string() + ": cannot write");
        return false;
    }
    const bool extracted = pack.ExtractTo(f, h);
    pack.Qvfclose(h);
    const bool writeFailed = std::ferror(f) != 0;
    const bool closed = std::fclose(f) == 0;
    const bool ok = extracted && closed;
    if (!ok) {
        // Nothing half written is left behind.
        std::error_code ec;
        fs::remove(out, ec);
        Error(writeFailed || !closed ? out.string() + ": cannot write"
                                     : "'" + name + "': damaged member");
    }
    return ok;
}

int Extract(const std::string& path, int argc, char** argv, int from) {
    std::vector<std::string> names;
    fs::path dir = ".";
    for (int i = from; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0) {
            if (i + 1 >= argc) return Usage();
            dir = argv[++i];
        } else {
            names.push_back(argv[i]);
        }
    }
    TQvPack pack;
    if (!OpenForReading(pack, path)) return 1;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        Error("cannot create " + dir.string() + ": " + ec.message());
        return 1;
    }
    bool ok = true;
    if (names.empty()) {
        for (int i = 0; i < pack.GetFileNum(); ++i)
            if (IsLive(*pack.Record(i))) ok = ExtractOne(pack, i, dir) && ok;
    } else {
        for (const std::string& name : names) {
            int index = pack.CheckFileName(name.c_str());
            if (index < 0) {
                // Tell a damaged member from a missing one.
                for (int i = 0; i < pack.GetFileNum() && index < 0; ++i)
                    if (IsLive(*pack.Record(i)) && Folded(pack.GetFileName(i)) == Folded(name))
                        index = i;
                if (index < 0) {
                    Error("'" + name + "': no such member");
                    ok = false;
                    continue;
                }
            }
            ok = ExtractOne(pack, index, dir) && ok;
        }
    }
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    // The pack reads game paths from the program's folder: hand it absolute ones.
    std::error_code ec;
    const std::string pack = fs::absolute(argv[2], ec).string();
    if (command == "list") {
        if (argc != 3) return Usage();
        return List(pack);
    }
    if (command == "create" || command == "add") {
        std::vector<std::string> files;
        bool z = false;
        FilesAndFlag(argc, argv, 3, files, z);
        if (files.empty()) return Usage();
        if (command == "create") return Create(pack, files, z);
        return ChangePack(pack, [&](TQvPack& p) { return AddFiles(p, files, z); });
    }
    if (command == "delete") {
        if (argc < 4) return Usage();
        return Delete(pack, std::vector<std::string>(argv + 3, argv + argc));
    }
    if (command == "extract") return Extract(pack, argc, argv, 3);
    return Usage();
}
