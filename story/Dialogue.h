#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The story's data: the body of every event as a step list, keyed by event and scene,
// with its lines and every step between them. An event function tests its conditions
// in C++ and hands its body to RunEvent, which plays the scene "main". The texts are
// UTF-8 files under story/text/; each is read once, and every line is converted to
// Big5 then.
//
// File format, one record a line ('#' starts a comment line, blank lines are skipped):
//   [EvName:scene]     starts a scene of an event ("main" is the event's body)
//   line TEXT          a dialogue line; "\n" in TEXT is a line break
//   voice N / sound N  PlaySound(N) (a voice from 100, an effect below)
//   soundsync N        PlaySoundSync(N)
//   face N             FaceGr(N)
//   figure N L         ShowFigure(N, L);   clear L  ClearFigure(L)
//   picture C          DspGr(C);  dissolve C  DspGrDissolve(C);  setpicture C  SetGr(C)
//   dissolveto C       DissolveToGr(C);  cleargr  ClearGr()
//   placegr P          SetPlaceGr(P);  showplace P  ShowPlaceGr(P)
//   whiteout           WhiteOut();  whitein C  WhiteIn(C);  shake S  ShakeGr(S)
//   blank 1|0          ShowBlankStage;  hidestage / showstage  HideStage / ShowStage
//   place P S          SetPlace(P, S)  (S: 1 shown, 0 silent)
//   refresh            RefreshStage()
//   begin [voice N]    EventBegin() or EventBeginVoice(N)
//   end [stopmusic M]  EventEnd() or EventEndStopMusic(M)
//   music TRACK loop|once  PlayMusic(TRACK, loop), by the register's name;
//                      stopmusic  StopMusic()
//   placemusic / seasonmusic   PlayPlaceMusic() / PlaySeasonMusic()
//   time H             PassTime(H);  nights N  PassNights(N);  waithour H  WaitHour(H)
//   set FLAG / unset FLAG      SetFlg(FLAG, on/off), by the register's name
//   var NAME N / addvar NAME N the event variable := N / += N
//   mark NAME / unmark NAME    SetDayMark / ClearDayMark
//   give ITEM N / take ITEM N  GiveItem / TakeItem
//   money N / reputation N     GiveMoney / GiveReputation
//   recipe ITEM / recipescene ITEM   LearnRecipe / LearnRecipeScene
//   shop SHEET ACTION          ShopAction(SHEET, ACTION)
//   resetcondition             ResetCondition()
//   play SCENE                 plays another scene ("scene" of this event, or "Ev:scene")
//   ifset FLAG SCENE / ifclear FLAG SCENE   plays SCENE when the flag is set / clear
//   call NAME                  a mechanic of the code (story/Calls.cpp), by name
//   choice                     a choice; two or three option records follow it:
//   option SCENE TEXT          a caption; the chosen one's scene plays, then the body
//                              goes on after the last option; "option - TEXT" plays
//                              nothing, for code that reads the answer (LastChoice)
//   otherwise SCENE            after the options: plays when the choice ends without an
//                              answer (the run stopped or the program closed while it
//                              waited); without it no option's scene plays then, and
//                              LastChoice is -1
namespace story {

enum class StepKind {
    Line,
    Sound,
    SoundSync,
    Face,
    Figure,
    ClearFigure,
    Picture,
    Dissolve,
    SetPicture,
    DissolveTo,
    ClearPicture,
    PlaceGr,
    ShowPlaceGr,
    WhiteOut,
    WhiteIn,
    Shake,
    Blank,
    HideStage,
    ShowStage,
    Place,
    Refresh,
    Begin,
    BeginVoice,
    End,
    EndStopMusic,
    Music,
    StopMusic,
    PlaceMusic,
    SeasonMusic,
    Time,
    Nights,
    WaitHour,
    SetFlag,
    ClearFlag,
    SetVar,
    AddVar,
    Mark,
    Unmark,
    Give,
    Take,
    Money,
    Reputation,
    Recipe,
    RecipeScene,
    Shop,
    ResetCondition,
    Play,
    IfSet,
    IfClear,
    Call,
    Choice,
    Option,
    Otherwise
};

struct Step {
    StepKind kind = StepKind::Line;
    int a = 0;
    int b = 0;
    std::string text;  // Big5: a line or an option's caption
    std::string name;  // a scene's key ("Ev:scene") or a mechanic's name
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
// (file:line: what), when a record is malformed, names a flag, variable or mark the
// register lacks or a mechanic the code lacks, a scene is named twice, a line holds a
// character Big5 lacks or an unknown speaker, a line does not fit its page
// (LineProblem; the line is kept), or a record stands before the first scene.
bool ParseDialogue(std::string_view name, std::string_view utf8, std::vector<Scene>& out,
                   std::vector<std::string>& errors);
// The scenes that `scenes` plays (play, ifset, ifclear, option) but does not hold, as
// errors "file:line: no scene Ev:scene".
std::vector<std::string> MissingScenes(const std::vector<Scene>& scenes);
// The event bodies (scenes "main") that begin an event but hold no end record, nor
// play a scene that does, as errors "file:line: Ev:main begins an event and never ends
// it": such an event would leave the game-flow controller busy for good, with no
// command menu in town and the program refusing to close.
std::vector<std::string> UnendedEvents(const std::vector<Scene>& scenes);

// Every scene of the story's texts, read at the first call: from the folder the build
// names (the test build reads the source tree, so a changed text needs no rebuild), or
// from the texts compiled into the program. A damaged file is reported on stderr once;
// its scenes that did read stay usable.
std::vector<Scene>& Scenes();
const std::vector<std::string>& DialogueErrors();
Scene* FindScene(std::string_view event, std::string_view scene);

// After each line: `afterLine(voice)` with the sound that stood before it (-1 none);
// returning true stops the scene there.
using AfterLine = std::function<bool(int voice)>;

// What is wrong with a line (Big5) on the message window's page, or "" when nothing
// is. The page shows four rows of 23 full-width cells, the fourth ending at cell 20
// before the end button; a text line longer than a row wraps onto the next. A line
// that would be cut fails, as does a half-width character (the window skips it), a
// row starting with a closing mark (。，、？！」』…), which the writer breaks before
// instead, and a wrapped text line leaving a lone character on its last row.
std::string LineProblem(std::string_view big5);
// The speaker a line names ("" for narration and bare text), from its tag before
// 「 or 『; and whether the story knows that speaker.
std::string SpeakerTag(std::string_view big5);
bool KnownSpeaker(std::string_view big5Tag);

// Plays a scene's steps on the event server. False when the scene is missing (reported
// on stderr, nothing shown) or when afterLine stopped it.
bool PlayScene(std::string_view event, std::string_view scene, const AfterLine& afterLine = {});
// An event's body: its scene "main". True when it played (false only when missing).
bool RunEvent(std::string_view event);
// The index of the caption picked at the last choice a scene played (0 the first;
// -1 before any), for an event whose code goes on from the answer.
int LastChoice();

// The mechanics the data may call by name (story/Calls.cpp): null when unknown.
using Mechanic = void (*)();
Mechanic FindMechanic(std::string_view name);

// The accounting, for the tests: every scene and record counts its plays, and every
// scene asked for in vain is remembered. ResetPlays zeroes the counts and forgets.
void ResetPlays();
// What the plays since the last reset leave unaccounted: each scene and record of
// `file` ("" every file) never played ("file:line: Ev:scene never played"), and each
// scene an event asked for that no file holds ("no scene Ev:scene").
std::vector<std::string> Unaccounted(std::string_view file = {});

}  // namespace story
