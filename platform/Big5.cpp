#include "platform/Big5.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace ui {
namespace {

// Converts with iconv; an unconvertible input sequence is replaced and skipped.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view bad,
                    bool* allGood) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (allGood) *allGood = false;
        return std::string(in);
    }
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
        if (std::string_view(from) == "UTF-8") {
            while (skip < srcLeft && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
        } else if (c >= 0x81 && srcLeft >= 2) {
            skip = 2;
        }
        src += skip;
        srcLeft -= skip;
        if (dstLeft < bad.size()) break;
        for (char b : bad) { *dst++ = b; --dstLeft; }
    }
    out.resize(out.size() - dstLeft);
    iconv_close(cd);
    return out;
}

}  // namespace

std::string Utf8ToBig5(std::string_view utf8) { return Convert("CP950", "UTF-8", utf8, "?", nullptr); }

std::string Big5ToUtf8(std::string_view big5) {
    return Convert("UTF-8", "CP950", big5, "\xEF\xBF\xBD", nullptr);
}

bool FitsBig5(std::string_view utf8) {
    bool good = true;
    Convert("CP950", "UTF-8", utf8, "?", &good);
    return good;
}

}  // namespace ui
