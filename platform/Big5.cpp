#include "platform/Big5.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>
#include <vector>

namespace ui {
namespace {

// One iconv converter for each direction, opened at the first conversion and kept: to
// open one costs more than to convert a line, and the story converts thousands of lines
// at start-up. Never closed, so that no object converting as it is destroyed at exit
// outlives it.
enum class Direction { ToBig5, FromBig5 };

struct Converter {
    std::mutex lock;
    iconv_t cd;
};

Converter& TheConverter(Direction d) {
    static Converter* const toBig5 = new Converter{{}, iconv_open("CP950", "UTF-8")};
    static Converter* const fromBig5 = new Converter{{}, iconv_open("UTF-8", "CP950")};
    return d == Direction::ToBig5 ? *toBig5 : *fromBig5;
}

// Converts with iconv; an unconvertible input sequence is replaced and skipped.
std::string Convert(Direction d, std::string_view in, std::string_view bad, bool* allGood) {
    Converter& converter = TheConverter(d);
    const std::lock_guard<std::mutex> hold(converter.lock);
    iconv_t cd = converter.cd;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (allGood) *allGood = false;
        return std::string(in);
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // the initial state
    std::string out;
    out.resize(in.size() * 4 + 8);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) break;  // cannot happen with the 4x buffer
        if (allGood) *allGood = false;
        // EILSEQ or EINVAL: replace one input character and go on.
        size_t skip = 1;
        unsigned char c = static_cast<unsigned char>(*src);
        if (d == Direction::ToBig5) {
            while (skip < srcLeft && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
        } else if (IsBig5Lead(c) && srcLeft >= 2) {
            skip = 2;
        }
        src += skip;
        srcLeft -= skip;
        if (dstLeft < bad.size()) break;
        for (char b : bad) {
            *dst++ = b;
            --dstLeft;
        }
    }
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace

std::string Utf8ToBig5(std::string_view utf8) {
    return Convert(Direction::ToBig5, utf8, "?", nullptr);
}

std::string Utf8ToBig5(std::string_view utf8, bool& fits) {
    fits = true;
    return Convert(Direction::ToBig5, utf8, "?", &fits);
}

std::string Big5ToUtf8(std::string_view big5) {
    return Convert(Direction::FromBig5, big5, "\xEF\xBF\xBD", nullptr);
}

char32_t Big5CodePoint(unsigned char lead, unsigned char trail) {
    // Trail bytes run 0x40..0x7E and 0xA1..0xFE: 157 columns per lead byte.
    static const std::vector<char32_t> table = [] {
        std::vector<char32_t> t(126 * 157, 0);
        iconv_t cd = iconv_open("UTF-32LE", "CP950");
        if (cd == reinterpret_cast<iconv_t>(-1)) return t;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int col = 0; col < 157; ++col) {
                const int trail = col < 63 ? 0x40 + col : 0xA1 + (col - 63);
                char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                unsigned char out[8] = {};
                char* src = in;
                size_t srcLeft = 2;
                char* dst = reinterpret_cast<char*>(out);
                size_t dstLeft = sizeof out;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
                if (r == static_cast<size_t>(-1) || srcLeft != 0 || sizeof out - dstLeft != 4)
                    continue;
                t[(lead - 0x81) * 157 + col] = char32_t(out[0]) | char32_t(out[1]) << 8 |
                                               char32_t(out[2]) << 16 | char32_t(out[3]) << 24;
            }
        }
        iconv_close(cd);
        return t;
    }();
    if (lead < 0x81 || lead > 0xFE) return 0;
    int col;
    if (trail >= 0x40 && trail <= 0x7E)
        col = trail - 0x40;
    else if (trail >= 0xA1 && trail <= 0xFE)
        col = 63 + (trail - 0xA1);
    else
        return 0;
    return table[(lead - 0x81) * 157 + col];
}

bool FitsBig5(std::string_view utf8) {
    bool good = true;
    Convert(Direction::ToBig5, utf8, "?", &good);
    return good;
}

}  // namespace ui
