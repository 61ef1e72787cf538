#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Audio.h"

// The recording sink of tests and headless runs: nothing sounds, every request is
// logged with the tick count, and each sound lasts as long as its header says, in
// the time of the current clock (virtual in tests). A synchronous wave moves the
// clock on by its length. While a wave is held the sink reads its bytes whenever it
// looks at the voice, as the audio callback would, so a buffer freed too early is
// caught by the sanitizers.
namespace ui {

struct AudioRecord {
    std::uint32_t time = 0;  // tick count when it happened
    std::string what;        // "wave.play", "wave.stop", "wave.end", "wave.bad",
                       // "music.play", "music.restart", "music.end", "music.stop", "music.missing"
    std::string detail;  // "sync"/"async" with the length, or the file name and "loop"/"once"
};

class RecordingAudio final : public AudioBackend {
public:
    bool PlayWave(const std::uint8_t* data, std::size_t size, bool sync) override;
    void StopWave() override;
    bool WavePlaying() override;

    bool PlayMusic(const std::string& path, bool loop) override;
    void StopMusic() override;
    bool MusicPlaying() override;
    std::uint32_t MusicPositionMs() override;
    bool TakeMusicEnded() override;

    const std::vector<AudioRecord>& Records() {
        Update();
        return log_;
    }
    // One line per record: "<time> <what> <detail>".
    std::vector<std::string> Lines();
    void Clear() { log_.clear(); }

    // The sink in use, when it is the back end; else null.
    static RecordingAudio* Current();

private:
    // Notices the ends that the clock has passed.
    void Update();
    void Record(std::uint32_t time, std::string what, std::string detail);
    // Reads the held wave image, as the audio callback does.
    std::uint32_t Touch() const;

    std::vector<AudioRecord> log_;

    const std::uint8_t* wave_ = nullptr;
    std::size_t waveSize_ = 0;
    std::uint32_t waveSum_ = 0;
    std::uint32_t waveStart_ = 0;
    std::uint32_t waveLength_ = 0;
    bool wavePlaying_ = false;

    std::string music_;
    bool musicLoop_ = false;
    bool musicPlaying_ = false;
    bool musicEnded_ = false;
    std::uint32_t musicStart_ = 0;
    std::int64_t musicLength_ = -1;  // unknown: plays until stopped
};

}  // namespace ui
