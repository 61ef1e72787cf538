#pragma once
#include <string>

#include "media/Qvwave.h"
#include "platform/Controls.h"
#include "platform/Form.h"

class TQvPack;

// The music and sound form: a hidden form that owns the game's two sound outputs.
// Music is played as numbered tracks through the "CD device", which here is the
// platform's music player: track n is the file music/trackNN (.ogg, .flac or .wav)
// of the game folder. Effects and voices are pack members played by the wave player.
//
// A track is started once by the device; when it has ended the device is taken to
// have moved on, and PollTrack starts a looping track again or stops the device.
class TMdpFm : public ui::Form {
public:
    TMdpFm();
    ~TMdpFm() override;

    // The CD device: the music player is there as soon as the form is made, so it
    // starts open; it is closed and opened again around work that needs the disc
    // drive. While it is closed no track plays.
    bool OpenCdAudio();
    void CloseCdAudio();
    void ReopenCdAudio();

    void PlayTrackOnce(int n);
    // A track that is already the current one and still playing is not restarted.
    void PlayTrackLoop(int n);
    // Stops what plays and starts track n; a track without a file leaves nothing
    // playing and the current track -1.
    void PlayTrack(int n);
    void StopTrack();
    // Looks at the device (the game-flow controller's refresh, every 200 ms): an ended
    // looping track starts again, an ended play-once track is stopped.
    void PollTrack();

    // Stops the wave playing and plays a member of the open pack, then closes the pack.
    void PlayWaveAsync(const std::string& name, TQvPack* pack);
    // The same, returning when the sound has ended.
    void PlayWaveSync(const std::string& name, TQvPack* pack);
    void StopWave();

    // The form is never closed by a close request.
    bool CloseQuery() override { return false; }

    // The track playing now; -1 once it has stopped, for whatever reason.
    int CurrentTrack() const { return DevicePlaying() ? m_CurrentTrack : -1; }
    bool Loop() const { return m_Loop; }
    bool Playing() const { return m_Playing; }
    bool DeviceOpen() const { return m_DeviceOpen; }

    ui::Panel m_PnlAvi;
    TQvWave m_Qvwv;
    // The program folder followed by "\avi", set by the game-flow controller.
    std::string m_MovieFolder;

private:
    // Whether the device is playing the current track now.
    bool DevicePlaying() const;

    bool m_Loop = false;
    int m_CurrentTrack = -1;
    bool m_Playing = false;
    bool m_DeviceOpen = true;
};

extern TMdpFm* MdpFm;
