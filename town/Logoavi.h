#pragma once
// The logo movie form: plays "\mivuto_s.avi" of the game folder over the whole screen
// before the opening, its sound through the wave voice, and closes itself when the
// movie has ended or when it is clicked. A movie that is missing or does not decode
// closes the form at once.
#include <string>

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Movie.h"
#include "platform/Timer.h"

inline constexpr const char* kLogoMovie = "\\mivuto_s.avi";

class TaviForm1 : public ui::Form {
public:
    TaviForm1();
    ~TaviForm1() override;

    // ---- components
    // The movie player (the media player's device): its file, and where it shows.
    ui::Movie MediaPlayerAVI;
    std::string MovieFileName = kLogoMovie;
    ui::Image* Display = nullptr;
    ui::Timer Timer1;  // 20 ms

    // ---- operations
    void FormCreate();
    void FormShow();
    void Timer1Timer();
    void FromMouseDown();

    // The state flag: the movie was started. The opener clears it before each show.
    bool Started() const { return started_; }
    void SetStarted(bool on) { started_ = on; }
    // The tick count at which the movie started playing.
    std::uint32_t StartTick() const { return startTick_; }

private:
    void CloseDevice();
    void FitToScreen();

    bool started_ = false;
    std::uint32_t startTick_ = 0;
};

extern TaviForm1* aviForm1;
