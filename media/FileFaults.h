#pragma once
#include <string>

// Telling the player about a file of the game folder that is missing or damaged. Play
// goes on without it wherever it can; the player hears, once for each file, which file
// it is, so a blank picture or a silent scene is never left unexplained.

// Shows "沒有檔案" (the file is not there) or "檔案已經損壞" (it is there but cannot
// be read), a line feed and the file's name as the game writes it (relative to the
// game folder, with backslashes), with `member` in brackets when one member of a pack
// is at fault; caption "緹菈". Once a run for each name and game folder; without an
// application the line goes to stderr. Always recorded as an "error" line.
void TellFileFault(const std::string& path, const std::string& member = {});

// Whether `path` (a game path, or one on disk) names a file that is there.
bool GameFileThere(const std::string& path);

// The name the player is shown for `path`: relative to the game folder, backslashes.
std::string GameFileName(const std::string& path);
