#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The virtual screen: every window is composited into this buffer, which the back end
// shows (SDL) or keeps in memory and writes as PNG on request (headless).
//
// The pixels may be owed: a back end that shows nothing (headless) lets a present leave
// the composing for later, and the first look at the pixels (or write to them) composes
// them then, so a run that never looks costs nothing for its pictures.
//
// Pixel format: one std::uint32_t per pixel, 0x00RRGGBB (the top byte is unused and
// written as 0), rows top to bottom, each row Width() pixels with no padding
// (the stride in pixels is Width()).
namespace ui {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

constexpr std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}
constexpr std::uint8_t RedOf(std::uint32_t c) { return static_cast<std::uint8_t>(c >> 16); }
constexpr std::uint8_t GreenOf(std::uint32_t c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t BlueOf(std::uint32_t c) { return static_cast<std::uint8_t>(c); }

class Screen {
public:
    explicit Screen(int width = kScreenWidth, int height = kScreenHeight);
    // A copy has the pixels, composed; it owes nothing and has no composer.
    Screen(const Screen& other);
    Screen& operator=(const Screen& other);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Row-major pixels, Width() * Height() of them (composed first when owed).
    std::uint32_t* Pixels() {
        Settle();
        return pixels_.data();
    }
    const std::uint32_t* Pixels() const {
        Settle();
        return pixels_.data();
    }
    std::uint32_t* Row(int y) { return Pixels() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* Row(int y) const {
        return Pixels() + static_cast<std::size_t>(y) * width_;
    }
    // The pixel at (x, y), or 0 outside the screen.
    std::uint32_t At(int x, int y) const;

    // A new size (at least 1x1); the contents become black and nothing is owed. The SDL
    // window follows the screen's size at the next present.
    void Resize(int width, int height);
    void Fill(std::uint32_t color);

    // What draws the pixels when they are owed (the application's paint).
    void SetComposer(std::function<void(Screen&)> composer) { composer_ = std::move(composer); }
    // The pixels are due from the composer at the next look.
    void Owe() { owed_ = static_cast<bool>(composer_); }
    bool Owed() const { return owed_; }
    // Composes now when the pixels are owed.
    void Settle() const {
        if (owed_) Compose();
    }

private:
    void Compose() const;

    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
    std::function<void(Screen&)> composer_;
    mutable bool owed_ = false;
};

// PNG of 0x00RRGGBB pixels (stride in pixels). False when the file cannot be written.
bool WritePng(const std::string& path, const std::uint32_t* pixels, int width, int height,
              int stride);
bool WritePng(const std::string& path, const Screen& screen);
// Reads a PNG of any colour type into 0x00RRGGBB pixels (alpha dropped). False on a
// missing or damaged file.
bool ReadPng(const std::string& path, std::vector<std::uint32_t>& pixels, int& width, int& height);

}  // namespace ui
