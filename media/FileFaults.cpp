#include "media/FileFaults.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

#include "platform/Application.h"
#include "platform/Big5.h"
#include "platform/Files.h"
#include "platform/Transcript.h"

namespace {

using Seen = std::set<std::pair<std::string, std::string>>;

// The files told so far, with the game folder they were told for: a new game folder
// (a test's scratch folder) starts afresh.
Seen& Told() {
    static Seen told;
    return told;
}

// The missing files written to stderr so far, the same way.
Seen& Noted() {
    static Seen noted;
    return noted;
}

std::string WithMember(const std::string& file, const std::string& member) {
    return member.empty() ? file : file + " (" + member + ")";
}

}  // namespace

bool GameFileThere(const std::string& path) {
    return ui::FileExists(path) || ui::DirectoryExists(path);
}

std::string GameFileName(const std::string& path) {
    std::string name = path;
    std::replace(name.begin(), name.end(), '/', '\\');
    std::string folder = ui::ProgramFolder();
    std::replace(folder.begin(), folder.end(), '/', '\\');
    if (name.starts_with(folder)) name.erase(0, folder.size());
    while (!name.empty() && name.front() == '\\') name.erase(0, 1);
    return name;
}

void TellFileFault(const std::string& path, const std::string& member) {
    const bool there = GameFileThere(path);
    const std::string file = GameFileName(path);
    const std::string name = WithMember(file, member);
    ui::Record("error", std::string(there ? "file damaged: " : "file missing: ") + name);
    // One box for a file, however many of its members turn out damaged.
    if (!Told().insert({ui::ProgramFolder(), file}).second) return;
    const std::string text = (there ? B5("檔案已經損壞") : B5("沒有檔案")) + "\n" + name;
    if (!ui::HaveApp()) {
        std::fprintf(stderr, "lumia: %s\n", ui::Big5ToUtf8(text).c_str());
        return;
    }
    ui::App().MessageBox(text, B5("緹菈"), ui::MB_OK | ui::MB_ICONERROR);
}

void NoteFileFault(const std::string& path, const std::string& member, bool memberListed) {
    const bool missing = member.empty() ? !GameFileThere(path) : !memberListed;
    if (!missing) {
        TellFileFault(path, member);
        return;
    }
    const std::string name = WithMember(GameFileName(path), member);
    ui::Record("error", "file missing: " + name);
    if (Noted().insert({ui::ProgramFolder(), name}).second)
        std::fprintf(stderr, "lumia: file missing: %s\n", name.c_str());
}
