#include "platform/Screen.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace ui {

Screen::Screen(int width, int height) : width_(0), height_(0) { Resize(width, height); }

Screen::Screen(const Screen& other) : width_(0), height_(0) { *this = other; }

Screen& Screen::operator=(const Screen& other) {
    if (this == &other) return *this;
    other.Settle();
    width_ = other.width_;
    height_ = other.height_;
    pixels_ = other.pixels_;
    owed_ = false;
    return *this;
}

void Screen::Compose() const {
    owed_ = false;  // first: what the composer draws reaches the pixels, not another compose
    // The pixels are a cache of the composition: filling it is no change of the screen.
    composer_(const_cast<Screen&>(*this));
}

std::uint32_t Screen::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return Row(y)[x];
}

void Screen::Resize(int width, int height) {
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    owed_ = false;
    pixels_.assign(static_cast<std::size_t>(width_) * height_, 0);
}

void Screen::Fill(std::uint32_t color) {
    Settle();
    std::fill(pixels_.begin(), pixels_.end(), color & 0xFFFFFF);
}

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool WritePng(const std::string& path, const std::uint32_t* pixels, int width, int height,
              int stride) {
    if (!pixels || width <= 0 || height <= 0 || stride < width) return false;
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* src = pixels + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            row[x * 3 + 0] = RedOf(src[x]);
            row[x * 3 + 1] = GreenOf(src[x]);
            row[x * 3 + 2] = BlueOf(src[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(file.get()) == 0 && !std::ferror(file.get());
}

bool WritePng(const std::string& path, const Screen& screen) {
    return WritePng(path, screen.Pixels(), screen.Width(), screen.Height(), screen.Width());
}

bool ReadPng(const std::string& path, std::vector<std::uint32_t>& pixels, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
        png_image_free(&image);
        return false;
    }
    std::vector<png_byte> buf(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, buf.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = Rgb(buf[i * 3], buf[i * 3 + 1], buf[i * 3 + 2]);
    return true;
}

}  // namespace ui
