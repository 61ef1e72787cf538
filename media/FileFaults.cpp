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

// The names told so far, with the game folder they were told for: a new game folder
// (a test's scratch folder) starts afresh.
std::set<std::pair<std::string, std::string>>& Told() {
    static std::set<std::pair<std::string, std::string>> told;
    return told;
}

}  // namespace

bool GameFileThere(const std::string& path) { return ui::FileExists(path); }

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
    std::string name = GameFileName(path);
    if (!member.empty()) name += " (" + member + ")";
    ui::Record("error", std::string(there ? "file damaged: " : "file missing: ") + name);
    if (!Told().insert({ui::ProgramFolder(), name}).second) return;
    const std::string text = (there ? B5("檔案已經損壞") : B5("沒有檔案")) + "\n" + name;
    if (!ui::HaveApp()) {
        std::fprintf(stderr, "lumia: %s\n", ui::Big5ToUtf8(text).c_str());
        return;
    }
    ui::App().MessageBox(text, B5("緹菈"), ui::MB_OK | ui::MB_ICONERROR);
}
