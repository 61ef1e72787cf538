#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The story's dialogue data: the lines of every event, in script order, with the
// voice, face, figure, picture and place steps that stand between them. The texts
// are UTF-8 files under story/text/, compiled into the program; each is read once,
// and every line is converted to Big5 then.
//
// File format, one record a line ('#' starts a comment line, blank lines are skipped):
//   [EvName:scene]     starts a scene of an event
//   line TEXT          a dialogue line; "\n" in TEXT is a line break
//   voice N / sound N  PlaySound(N) (a voice from 100, an effect below)
//   face N             FaceGr(N)
//   figure N L         ShowFigure(N, L);   clear L  ClearFigure(L)
//   picture C          DspGr(C);  dissolve C  DspGrDissolve(C);  setpicture C  SetGr(C)
//   place P S          SetPlace(P, S)  (S: 1 shown, 0 silent)
//   refresh            RefreshStage()
namespace story {

enum class StepKind {
    Line,
    Sound,
    Face,
    Figure,
    ClearFigure,
    Picture,
    Dissolve,
    SetPicture,
    Place,
    Refresh
};

struct Step {
    StepKind kind = StepKind::Line;
    int a = 0;
    int b = 0;
    std::string text;  // Big5, for a line
    int voice = -1;    // a line: the sound played just before it in its scene, or -1
    int line = 0;      // where the record stands in its file
    int plays = 0;     // how often an event has played it, for the tests
};

struct Scene {
    std::string key;  // "EvName:scene"
    std::string file;
    std::vector<Step> steps;
    int plays = 0;  // how often an event has played it, for the tests
    int line = 0;   // where the scene is named in its file
};

// Reads one text file into `out` (appended). False, with the reasons in `errors`
// (file:line: what), when a record is malformed, a scene is named twice, a line holds
// a character Big5 lacks, a narration is larger than NarrationFits allows (the line
// is kept), or a record stands before the first scene.
bool ParseDialogue(std::string_view name, std::string_view utf8, std::vector<Scene>& out,
                   std::vector<std::string>& errors);

// Every scene of the compiled-in texts, read at the first call. A damaged file is
// reported on stderr once; its scenes that did read stay usable.
std::vector<Scene>& Scenes();
const std::vector<std::string>& DialogueErrors();
Scene* FindScene(std::string_view event, std::string_view scene);

// After each line: `afterLine(voice)` with the sound that stood before it (-1 none);
// returning true stops the scene there.
using AfterLine = std::function<bool(int voice)>;

// A narration line (one that begins with a full-width space) holds at most 5 text
// lines of at most 32 full-width characters each, a half-width character counting
// half. Spoken and thought lines are the message window's to wrap: always true.
bool NarrationFits(std::string_view big5);

// Plays a scene's steps on the event server. False when the scene is missing (reported
// on stderr, nothing shown) or when afterLine stopped it.
bool PlayScene(std::string_view event, std::string_view scene, const AfterLine& afterLine = {});

// The accounting, for the tests: every scene and record counts its plays, and every
// scene asked for in vain is remembered. ResetPlays zeroes the counts and forgets.
void ResetPlays();
// What the plays since the last reset leave unaccounted: each scene and record of
// `file` ("" every file) never played ("file:line: Ev:scene never played"), and each
// scene an event asked for that no file holds ("no scene Ev:scene").
std::vector<std::string> Unaccounted(std::string_view file = {});

}  // namespace story
