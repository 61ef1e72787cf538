#include "platform/headless/HeadlessAudio.h"

#include <algorithm>
#include <filesystem>

#include "platform/Clock.h"

namespace ui {
namespace {
// A looped file restarting many times between two looks logs this many restarts at most.
constexpr std::uint32_t kMaxRestartRecords = 100;
}  // namespace

RecordingAudio* RecordingAudio::Current() { return dynamic_cast<RecordingAudio*>(&Audio()); }

void RecordingAudio::Record(std::uint32_t time, std::string what, std::string detail) {
    log_.push_back(AudioRecord{time, std::move(what), std::move(detail)});
}

std::uint32_t RecordingAudio::Touch() const {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < waveSize_; ++i) sum = sum * 31 + wave_[i];
    return sum;
}

void RecordingAudio::Update() {
    const std::uint32_t now = GetTickCount();
    if (wavePlaying_ && waveSize_ > 0) {
        // The "callback" reads the image while it plays; a freed image is unreadable
        // whole, so its ends show a use after its release as well as every byte would.
        volatile std::uint8_t ends = wave_[0] ^ wave_[waveSize_ - 1];
        (void)ends;
    }
    if (wavePlaying_) {
        if (now - waveStart_ >= waveLength_) {
            wavePlaying_ = false;
            Record(waveStart_ + waveLength_, "wave.end", "");
        }
    }
    if (musicPlaying_ && musicLength_ >= 0) {
        const std::uint32_t length =
            static_cast<std::uint32_t>(std::max<std::int64_t>(musicLength_, 1));
        const std::uint32_t elapsed = now - musicStart_;
        if (elapsed >= length) {
            if (musicLoop_) {
                const std::uint32_t passes = elapsed / length;
                for (std::uint32_t k = 1; k <= std::min(passes, kMaxRestartRecords); ++k)
                    Record(musicStart_ + k * length, "music.restart", music_);
                musicStart_ += passes * length;
            } else {
                musicPlaying_ = false;
                musicEnded_ = true;
                Record(musicStart_ + length, "music.end", music_);
            }
        }
    }
}

bool RecordingAudio::PlayWave(const std::uint8_t* data, std::size_t size, bool sync) {
    Update();
    StopWave();
    const std::int64_t length = data ? WaveLengthMs({data, size}) : -1;
    if (length < 0) {
        Record(GetTickCount(), "wave.bad", std::to_string(size) + " bytes");
        return false;
    }
    wave_ = data;
    waveSize_ = size;
    waveSum_ = Touch();
    waveStart_ = GetTickCount();
    waveLength_ = static_cast<std::uint32_t>(length);
    wavePlaying_ = true;
    Record(waveStart_, "wave.play",
           std::string(sync ? "sync " : "async ") + std::to_string(length) + "ms");
    if (sync) {
        // Returns when the sound has ended: the clock moves on by its length.
        Sleep(waveLength_);
        Update();
        // A synchronous sound is over when the call returns: its image is let go.
        wave_ = nullptr;
        waveSize_ = 0;
    }
    return true;
}

void RecordingAudio::StopWave() {
    Update();
    if (wave_ != nullptr) {
        // The last look of the "callback" before the buffer is let go: it must still
        // hold what was handed over.
        const bool intact = Touch() == waveSum_;
        if (wavePlaying_)
            Record(GetTickCount(), "wave.stop", intact ? "" : "buffer changed");
        else if (!intact)
            Record(GetTickCount(), "wave.stop", "buffer changed");
    }
    wave_ = nullptr;
    waveSize_ = 0;
    wavePlaying_ = false;
}

bool RecordingAudio::WavePlaying() {
    Update();
    return wavePlaying_;
}

bool RecordingAudio::PlayMusic(const std::string& path, bool loop) {
    StopMusic();
    const std::string name = std::filesystem::path(path).filename().string();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        Record(GetTickCount(), "music.missing", name);
        return false;
    }
    music_ = name;
    musicLoop_ = loop;
    musicPlaying_ = true;
    musicEnded_ = false;
    musicStart_ = GetTickCount();
    musicLength_ = SoundFileLengthMs(path);
    Record(musicStart_, "music.play",
           name + (loop ? " loop " : " once ") + std::to_string(musicLength_) + "ms");
    return true;
}

void RecordingAudio::StopMusic() {
    Update();
    if (musicPlaying_) Record(GetTickCount(), "music.stop", music_);
    musicPlaying_ = false;
    musicEnded_ = false;
}

bool RecordingAudio::MusicPlaying() {
    Update();
    return musicPlaying_;
}

std::uint32_t RecordingAudio::MusicPositionMs() {
    Update();
    if (!musicPlaying_) return 0;
    return GetTickCount() - musicStart_;
}

bool RecordingAudio::TakeMusicEnded() {
    Update();
    const bool ended = musicEnded_;
    musicEnded_ = false;
    return ended;
}

std::vector<std::string> RecordingAudio::Lines() {
    Update();
    std::vector<std::string> lines;
    for (const AudioRecord& r : log_)
        lines.push_back(std::to_string(r.time) + " " + r.what +
                        (r.detail.empty() ? "" : " " + r.detail));
    return lines;
}

}  // namespace ui
