#include "platform/Audio.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/Files.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/sdl/SdlAudio.h"

namespace ui {
namespace {

// Walks the chunks of a RIFF WAVE header. `bytes` may be only the start of a file of
// `total` bytes: the data chunk's size is then taken from its header, bounded by the file.
std::int64_t WaveLength(std::span<const std::uint8_t> bytes, std::uint64_t total) {
    const std::uint8_t* p = bytes.data();
    const std::size_t n = bytes.size();
    if (n < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0) return -1;
    std::uint32_t byteRate = 0;
    std::size_t at = 12;
    while (at + 8 <= n) {
        const std::uint32_t size = LoadU32(p + at + 4);
        if (std::memcmp(p + at, "fmt ", 4) == 0) {
            if (at + 8 + 16 > n || size < 16) return -1;
            byteRate = LoadU32(p + at + 8 + 8);
        } else if (std::memcmp(p + at, "data", 4) == 0) {
            if (byteRate == 0) return -1;
            const std::uint64_t left = total > at + 8 ? total - (at + 8) : 0;
            const std::uint64_t data = std::min<std::uint64_t>(size, left);
            return static_cast<std::int64_t>(data * 1000 / byteRate);
        }
        at += 8 + std::size_t(size) + (size & 1);
    }
    return -1;
}

std::int64_t OggLength(std::FILE* f, std::int64_t fileSize) {
    // The identification header on the first page gives the sample rate; the last
    // page's granule position is the count of samples.
    std::uint8_t head[256] = {};
    if (std::fseek(f, 0, SEEK_SET) != 0) return -1;
    const std::size_t got = std::fread(head, 1, sizeof head, f);
    if (got < 58 || std::memcmp(head, "OggS", 4) != 0) return -1;
    const std::size_t segments = head[26];
    const std::size_t packet = 27 + segments;
    if (packet + 16 > got || head[packet] != 1 || std::memcmp(head + packet + 1, "vorbis", 6) != 0)
        return -1;
    const std::uint32_t rate = LoadU32(head + packet + 12);
    if (rate == 0) return -1;
    const std::int64_t tail = std::min<std::int64_t>(fileSize, 65536);
    std::vector<std::uint8_t> buf(static_cast<std::size_t>(tail));
    if (std::fseek(f, static_cast<long>(fileSize - tail), SEEK_SET) != 0) return -1;
    if (std::fread(buf.data(), 1, buf.size(), f) != buf.size()) return -1;
    for (std::size_t i = buf.size() >= 14 ? buf.size() - 14 : 0; i + 14 <= buf.size(); --i) {
        if (std::memcmp(buf.data() + i, "OggS", 4) == 0) {
            std::uint64_t granule = 0;
            for (int b = 7; b >= 0; --b) granule = granule << 8 | buf[i + 6 + b];
            if (granule != ~std::uint64_t{0})
                return static_cast<std::int64_t>(granule * 1000 / rate);
        }
        if (i == 0) break;
    }
    return -1;
}

std::int64_t FlacLength(const std::uint8_t* p, std::size_t n) {
    // "fLaC", then the STREAMINFO block: rate (20 bits), channels, bits, samples (36 bits).
    if (n < 4 + 4 + 18 || std::memcmp(p, "fLaC", 4) != 0 || (p[4] & 0x7F) != 0) return -1;
    const std::uint8_t* s = p + 8 + 10;
    const std::uint32_t rate = std::uint32_t(s[0]) << 12 | std::uint32_t(s[1]) << 4 | s[2] >> 4;
    const std::uint64_t samples = std::uint64_t(s[3] & 0x0F) << 32 | std::uint64_t(s[4]) << 24 |
                                  std::uint64_t(s[5]) << 16 | std::uint64_t(s[6]) << 8 | s[7];
    if (rate == 0 || samples == 0) return -1;
    return static_cast<std::int64_t>(samples * 1000 / rate);
}

std::unique_ptr<AudioBackend>& Current() {
    static std::unique_ptr<AudioBackend> backend;
    return backend;
}

int g_track = -1;

}  // namespace

std::int64_t WaveLengthMs(std::span<const std::uint8_t> image) {
    return WaveLength(image, image.size());
}

std::int64_t SoundFileLengthMs(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return -1;
    std::int64_t result = -1;
    std::uint8_t head[4096];
    const std::size_t got = std::fread(head, 1, sizeof head, f);
    if (std::fseek(f, 0, SEEK_END) == 0) {
        const long size = std::ftell(f);
        if (size > 0) {
            if (got >= 4 && std::memcmp(head, "RIFF", 4) == 0)
                result = WaveLength({head, got}, std::uint64_t(size));
            else if (got >= 4 && std::memcmp(head, "fLaC", 4) == 0)
                result = FlacLength(head, got);
            else if (got >= 4 && std::memcmp(head, "OggS", 4) == 0)
                result = OggLength(f, size);
        }
    }
    std::fclose(f);
    return result;
}

AudioBackend& Audio() {
    auto& backend = Current();
    if (!backend) {
        const char* headless = std::getenv("LUMIA_HEADLESS");
        if (headless != nullptr && std::string_view(headless) == "1")
            backend = std::make_unique<RecordingAudio>();
        else
            backend = std::make_unique<SdlAudio>();
    }
    return *backend;
}

void SetAudio(std::unique_ptr<AudioBackend> backend) {
    auto& current = Current();
    if (current) {
        current->StopWave();
        current->StopMusic();
    }
    current = std::move(backend);
    g_track = -1;
}

bool WaveVoice::Play(std::vector<std::uint8_t> image, bool sync) {
    // The old sound is stopped (and the audio side done with its buffer) before the
    // buffer is freed.
    Stop();
    if (image.empty()) return false;
    buffer_ = std::move(image);
    const bool played = Audio().PlayWave(buffer_.data(), buffer_.size(), sync);
    if (sync || !played) {
        if (sync) Audio().StopWave();
        buffer_.clear();
        buffer_.shrink_to_fit();
    }
    return played;
}

void WaveVoice::Stop() {
    Audio().StopWave();
    buffer_.clear();
    buffer_.shrink_to_fit();
}

namespace music {

std::string TrackFile(int track) {
    if (track < 0 || track > 999) return "";
    static constexpr const char* kExt[] = {"ogg", "flac", "wav"};
    for (const char* pattern : {"music/track%02d.%s", "music/track%d.%s"}) {
        for (const char* ext : kExt) {
            char name[64];
            std::snprintf(name, sizeof name, pattern, track, ext);
            if (FileExists(name)) return FindPath(name);
        }
    }
    return "";
}

bool PlayTrack(int track, bool loop) {
    Audio().StopMusic();
    g_track = -1;
    const std::string file = TrackFile(track);
    if (file.empty() || !Audio().PlayMusic(file, loop)) return false;
    g_track = track;
    return true;
}

bool PlayFile(const std::string& path, bool loop) {
    Audio().StopMusic();
    g_track = -1;
    if (!Audio().PlayMusic(FindPath(path), loop)) return false;
    g_track = 0;
    return true;
}

void Stop() {
    Audio().StopMusic();
    g_track = -1;
}

bool IsPlaying() { return Audio().MusicPlaying(); }
int Track() { return g_track; }
std::uint32_t PositionMs() { return Audio().MusicPositionMs(); }
bool TakeEnded() { return Audio().TakeMusicEnded(); }

}  // namespace music

}  // namespace ui
