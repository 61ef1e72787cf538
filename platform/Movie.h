#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

// A movie file decoded with FFmpeg's libraries: its pictures, scaled to any size on
// request, follow the time the caller gives; its sound is decoded whole when the
// movie opens and handed out as one RIFF wave image (16-bit stereo), for the wave
// voice to play. A movie that is missing, has no picture stream or whose first
// picture does not decode does not open.
namespace ui {

class Movie {
public:
    Movie();
    ~Movie();
    Movie(const Movie&) = delete;
    Movie& operator=(const Movie&) = delete;

    // A game path (platform/Files.h). Closes a movie that was open first.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const;

    // The pictures' own size; 0 when closed.
    int Width() const;
    int Height() const;
    // The time the last picture ends, in ms (known once the stream has been read to its
    // end; until then the container's duration).
    std::uint32_t DurationMs() const;

    // Brings the picture due at `ms` into `out`, which takes the size w x h (32-bit)
    // and the picture stretched over it. True when `out` changed.
    bool DrawAt(std::uint32_t ms, Bitmap& out, int w, int h);
    // True once `ms` is past the last picture and DrawAt has read the stream to its end
    // (or it stopped decoding).
    bool EndedAt(std::uint32_t ms) const;

    // The sound track as a wave image; empty when the movie has none.
    const std::vector<std::uint8_t>& Sound() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ui
