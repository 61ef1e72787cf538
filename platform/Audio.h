#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Sound: one wave voice (effects and voices, played from a whole RIFF image in
// memory) and one music stream (CD tracks played from the game folder's music/
// files, and songs from WAV files). The back end is SDL2_mixer in play, opened on
// first use, and a recording sink in tests and headless runs.
namespace ui {

// Length of a RIFF WAVE image in milliseconds, from its "fmt " byte rate and its
// "data" size; -1 when the image is not a wave we can read.
std::int64_t WaveLengthMs(std::span<const std::uint8_t> image);
// Length of a sound file (wav, Ogg Vorbis, FLAC) from its headers; -1 when unknown.
std::int64_t SoundFileLengthMs(const std::string& path);

class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    // The wave voice. PlayWave stops the sound before it, then plays the image: with
    // `sync` it returns when the sound has ended. The caller keeps the image alive
    // until StopWave or the next PlayWave has returned; once either returns, the
    // audio side no longer reads it. False when the image does not play.
    virtual bool PlayWave(const std::uint8_t* data, std::size_t size, bool sync) = 0;
    virtual void StopWave() = 0;
    virtual bool WavePlaying() = 0;

    // The music stream: a file played once or looped (a looped file restarts at its
    // end by itself). False, with nothing playing, when it does not open.
    virtual bool PlayMusic(const std::string& path, bool loop) = 0;
    virtual void StopMusic() = 0;
    virtual bool MusicPlaying() = 0;
    // Milliseconds into the current pass of the file; 0 when nothing plays.
    virtual std::uint32_t MusicPositionMs() = 0;
    // True once after a file played once reached its end.
    virtual bool TakeMusicEnded() = 0;
};

// The back end in use: the one given to SetAudio, else (chosen on first use) the
// recording sink when LUMIA_HEADLESS=1 is set, else SDL2_mixer.
AudioBackend& Audio();
// Replaces the back end (null: choose again on next use). The old one is stopped and
// closed first: call SetAudio(nullptr) before SDL is shut down.
void SetAudio(std::unique_ptr<AudioBackend> backend);

// Wave playback: the whole image played from memory through the one voice.
inline bool PlayWaveMemory(const std::uint8_t* data, std::size_t size, bool sync) {
    return Audio().PlayWave(data, size, sync);
}
inline void StopWave() { Audio().StopWave(); }
inline bool IsWavePlaying() { return Audio().WavePlaying(); }

// A wave buffer and its sound: what a wave-player component holds. Play stops the
// voice and frees the previous buffer before the new one is taken; an asynchronous
// sound keeps its buffer until Stop or the next Play; a synchronous one returns when
// the sound has ended and frees it at once.
class WaveVoice {
public:
    WaveVoice() = default;
    ~WaveVoice() { Stop(); }
    WaveVoice(const WaveVoice&) = delete;
    WaveVoice& operator=(const WaveVoice&) = delete;

    // An empty image plays nothing (and is not kept); false when nothing played.
    bool Play(std::vector<std::uint8_t> image, bool sync);
    // Stops whatever the voice plays, then frees the held buffer. Harmless when idle.
    void Stop();
    bool HoldsBuffer() const { return !buffer_.empty(); }

private:
    std::vector<std::uint8_t> buffer_;
};

// Music in place of the CD: track n plays from the game folder's music/ folder,
// named trackNN or trackN with .ogg, .flac or .wav (any case). Songs are WAV files
// played through the same stream.
namespace music {

// The file of track n, or "" when there is none.
std::string TrackFile(int track);
// Starts track n, once or looped. False (silence, nothing playing) without a file.
bool PlayTrack(int track, bool loop);
// Plays a file (a song), once or looped, through the same stream.
bool PlayFile(const std::string& path, bool loop = false);
void Stop();
bool IsPlaying();
// The track last started and still playing or ended; -1 after Stop or a failed start,
// 0 for a file.
int Track();
std::uint32_t PositionMs();
// True once after a track played once reached its end, so a caller can restart it.
bool TakeEnded();

}  // namespace music

}  // namespace ui
