#include "platform/sdl/SdlAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstdio>

namespace ui {
namespace {

// Set by the mixer's thread when a file played once has finished.
std::atomic<bool> g_musicFinished{false};

void MusicFinished() { g_musicFinished.store(true); }

}  // namespace

SdlAudio::~SdlAudio() {
    if (!open_) return;
    StopWave();
    StopMusic();
    Mix_HookMusicFinished(nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::Open() {
    if (tried_) return open_;
    tried_ = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "Sound is off: %s\n", SDL_GetError());
        return false;
    }
    Mix_Init(MIX_INIT_OGG | MIX_INIT_FLAC);
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        std::fprintf(stderr, "Sound is off: %s\n", Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(1);
    Mix_HookMusicFinished(MusicFinished);
    open_ = true;
    return true;
}

bool SdlAudio::PlayWave(const std::uint8_t* data, std::size_t size, bool sync) {
    StopWave();
    if (data == nullptr || size == 0 || !Open()) return false;
    // The mixer decodes into a chunk of its own, so the caller's image is read only here.
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (rw == nullptr) return false;
    chunk_ = Mix_LoadWAV_RW(rw, 1);
    if (chunk_ == nullptr) return false;
    if (Mix_PlayChannel(0, chunk_, 0) < 0) {
        Mix_FreeChunk(chunk_);
        chunk_ = nullptr;
        return false;
    }
    if (sync) {
        // Wait for the end, but never longer than the sound plus a second.
        int frequency = 44100, channels = 2;
        Uint16 format = MIX_DEFAULT_FORMAT;
        Mix_QuerySpec(&frequency, &format, &channels);
        const int bytesPerFrame = (SDL_AUDIO_BITSIZE(format) / 8) * channels;
        const Uint64 lengthMs =
            bytesPerFrame > 0 && frequency > 0
                ? Uint64(chunk_->alen) * 1000 / (Uint64(bytesPerFrame) * frequency)
                : 0;
        const Uint64 limit = SDL_GetTicks64() + lengthMs + 1000;
        while (Mix_Playing(0) && SDL_GetTicks64() < limit) SDL_Delay(5);
        StopWave();
    }
    return true;
}

void SdlAudio::StopWave() {
    if (!open_) return;
    // Halting takes the mixer's lock, so the callback is out of the chunk when it returns.
    Mix_HaltChannel(0);
    if (chunk_ != nullptr) {
        SDL_LockAudio();
        SDL_UnlockAudio();
        Mix_FreeChunk(chunk_);
        chunk_ = nullptr;
    }
}

bool SdlAudio::WavePlaying() { return open_ && Mix_Playing(0) != 0; }

bool SdlAudio::PlayMusic(const std::string& path, bool loop) {
    StopMusic();
    if (!Open()) return false;
    music_ = Mix_LoadMUS(path.c_str());
    if (music_ == nullptr) {
        std::fprintf(stderr, "Music %s does not play: %s\n", path.c_str(), Mix_GetError());
        return false;
    }
    g_musicFinished.store(false);
    // -1 repeats without a gap; 1 plays once and reports the end through the hook.
    if (Mix_PlayMusic(music_, loop ? -1 : 1) != 0) {
        Mix_FreeMusic(music_);
        music_ = nullptr;
        return false;
    }
    musicLoop_ = loop;
    musicStart_ = SDL_GetTicks();
    return true;
}

void SdlAudio::StopMusic() {
    if (!open_) return;
    if (music_ != nullptr) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    g_musicFinished.store(false);
}

bool SdlAudio::MusicPlaying() { return open_ && music_ != nullptr && Mix_PlayingMusic() != 0; }

std::uint32_t SdlAudio::MusicPositionMs() {
    if (!MusicPlaying()) return 0;
    const double seconds = Mix_GetMusicPosition(music_);
    if (seconds >= 0) return static_cast<std::uint32_t>(seconds * 1000.0);
    return SDL_GetTicks() - musicStart_;
}

bool SdlAudio::TakeMusicEnded() { return g_musicFinished.exchange(false); }

}  // namespace ui
