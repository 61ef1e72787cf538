#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/Qvdib.h"
#include "media/Qvtimer.h"
#include "media/Qvwave.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "platform/Form.h"

// The tag-script player of the opening and ending sequences.

class TQvPack;

// Ticks counted while a script runs; the lyric subtitles time their lines by it.
extern std::atomic<int> EventTickCount;
// The lyric subtitles of the songs: off unless something switches them on (nothing
// does in this game); the ending flag picks the ending song's lines.
extern bool LyricsActive;
extern int LyricEndingFlag;
// One call of the subtitles (the main form's 200 ms timer calls it while active).
void LyricSubtitleTick();
void LyricsReset();

// Plays a TagScript: text with tags in angle brackets that load pictures and palettes
// onto two 640x480 palette surfaces, bring pictures in through numbered effects, wait
// for ticks of a 20 ms timer, play sounds and songs and call other scripts. Text
// outside tags is never shown. The form shows EventDib; BGDib is a background kept
// off-screen.
class TEventForm : public ui::Form {
public:
    static constexpr int kStackDepth = 32;
    static constexpr unsigned kTickMs = 20;

    TEventForm();
    ~TEventForm() override;

    // ---- components
    ui::Panel* EventPanel = nullptr;
    ui::Image* EventImage = nullptr;
    std::unique_ptr<TQvDib> EventDib;
    std::unique_ptr<TQvDib> BGDib;
    TQvTimer EventTimer;
    TQvWave EventWave;
    // Optional handler of CDPLAY and CDSTOP (n, on); without one they play the songs.
    std::function<void(int n, bool on)> OnCDPlay;

    // ---- operations
    bool FullSize() const { return fullSize_; }
    void SetFullSize(bool on);
    // Binds the pack (null: loose files of the game folder), clears both surfaces and
    // every piece of player state; closes first when open.
    void Open(TQvPack* pack);
    // Stops the run, waits for the run loop to leave, unbinds the pack.
    void Close();
    // Starts a text (only when open and stopped) and runs its first tick.
    bool RunText(const std::string& text);
    // Reads a member of the pack (or a file) and RunText's it.
    bool RunFile(const std::string& name);
    // Reads a member or file into the text at position 1 without starting it.
    bool LoadFile(const std::string& name);
    // One 20 ms step.
    void Tick();
    // Runs tags until one asks to wait; the wait in ticks.
    int Interpret();
    // The run loop: a tick for every timer count until the script stops; 1.
    int Play();
    void FormShow();
    void EventImageMouseDown(ui::MouseButton button, ui::ShiftState shift);
    void Trace(const std::string& text);
    void PumpMessages();
    void CdPlay(int n, bool on);
    void CdStop();
    // Song 1 "QDVOP_S.wav", 2 "QDVOP_L.wav" of the game folder, other n > 0 the last
    // one again (nothing when none was played yet); n <= 0 stops.
    void PlaySong(int n);

    // ---- state, for the callers and the debug caption
    bool IsOpen() const { return open_; }
    bool Playing() const { return playing_; }
    int State() const { return state_; }
    int Depth() const { return depth_; }
    int WaitTicks() const { return wait_; }
    int AnchorTicks() const { return anchor_; }
    bool SkipArmed() const { return skip_; }
    int Position() const { return position_; }
    bool TraceOn = false;

private:
    struct StackEntry {
        std::string text;
        int position = 0;
    };
    struct Transition {
        std::vector<std::uint8_t> pixels;
        int x = 0, y = 0, w = 0, h = 0;
        int effect = 0;
        int step = 0;
        std::array<std::uint8_t, 8> mask{};  // tile bits set so far (mask effects)
    };

    bool ReadScript(const std::string& name, std::string& out);
    // Loads an 8-bit picture (palette ignored); false when it cannot be read.
    bool LoadPicture(const std::string& name, std::vector<std::uint8_t>& pixels, int& w, int& h);
    // Runs one tag; the wait it asks for (0: go on).
    int RunTag(const std::string& body);
    // Brings the prepared transition picture in with `effect`, or at once.
    void StartTransition(int effect);
    void TransitionStep();
    void EndTransition();
    void FoldTimerIntoAnchor();
    bool SkipClicked() const { return clicked_ && skip_; }
    void ShowNow();

    bool open_ = false;
    bool fullSize_ = false;
    TQvPack* pack_ = nullptr;
    std::string text_;
    int position_ = 0;
    int wait_ = 0;
    std::array<StackEntry, kStackDepth> stack_{};
    int depth_ = 0;
    int anchor_ = 0;
    bool wait2_ = false;
    bool skip_ = false;
    int state_ = 0;
    Transition trans_;
    bool clicked_ = false;
    bool rightClicked_ = false;
    bool pumping_ = false;
    bool playing_ = false;
    std::string songFile_;
    ui::Font subtitleFont_;
};

extern TEventForm* EventForm;
