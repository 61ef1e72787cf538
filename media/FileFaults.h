#pragma once
#include <string>

// Telling the player about a file of the game folder that is missing or damaged. Play
// goes on without it wherever it can; the player hears, once for each file, which file
// it is, so a blank picture or a silent scene is never left unexplained.

// Shows "沒有檔案" (the file is not there) or "檔案已經損壞" (it is there but cannot
// be read), a line feed and the file's name as the game writes it (relative to the
// game folder, with backslashes), with `member` in brackets when one member of a pack
// is at fault; caption "緹菈". Once a run for each file and game folder, whichever of
// its members is at fault; without an application the line goes to stderr. Always
// recorded as an "error" line.
void TellFileFault(const std::string& path, const std::string& member = {});

// For the files the game plays on without and whose absence the player is not told of
// (event pictures, sounds, the opening and ending scripts): a file that is not there,
// or a member its pack does not list (`memberListed` false), is only written to stderr
// (once a run) and recorded as an "error" line; a file that is there but does not
// open, or a member its pack lists but cannot give, is told as TellFileFault tells it.
void NoteFileFault(const std::string& path, const std::string& member = {},
                   bool memberListed = true);

// Whether `path` (a game path, or one on disk) names something that is there: a file,
// or a folder standing where a file should be.
bool GameFileThere(const std::string& path);

// The name the player is shown for `path`: relative to the game folder, backslashes.
std::string GameFileName(const std::string& path);
