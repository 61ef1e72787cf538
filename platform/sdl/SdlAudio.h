#pragma once
#include <cstdint>
#include <string>

#include "platform/Audio.h"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

// Sound through SDL2_mixer: channel 0 is the wave voice, the music stream plays
// files. The mixer is opened on first use; when it cannot be, everything is silent
// and the plays report failure.
namespace ui {

class SdlAudio final : public AudioBackend {
public:
    SdlAudio() = default;
    ~SdlAudio() override;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    bool PlayWave(const std::uint8_t* data, std::size_t size, bool sync) override;
    void StopWave() override;
    bool WavePlaying() override;

    bool PlayMusic(const std::string& path, bool loop) override;
    void StopMusic() override;
    bool MusicPlaying() override;
    std::uint32_t MusicPositionMs() override;
    bool TakeMusicEnded() override;

private:
    bool Open();

    bool tried_ = false;
    bool open_ = false;
    Mix_Chunk* chunk_ = nullptr;
    Mix_Music* music_ = nullptr;
    bool musicLoop_ = false;
    std::uint32_t musicStart_ = 0;
};

}  // namespace ui
