// Codec fuzz target. The input's first 3 bytes give a member size (up to 1 MB),
// the rest is a stream: decode it as the pack does, never past the size. Then the
// input itself is encoded and must decode back to itself.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "media/Orvane.h"

namespace {

// One decoder and one encoder for every input, as a reader keeps its own: each run
// opens them afresh, but their buffers are set up once, not once an input.
TOrvaneDecode g_Decoder;
TOrvaneEncode g_Encoder;

bool Decode(const std::uint8_t* s, std::size_t n, std::uint32_t size,
            std::vector<std::uint8_t>& out) {
    out.clear();
    TOrvaneDecode& dec = g_Decoder;
    const std::uint8_t* block = dec.Open(size, static_cast<std::uint32_t>(n));
    if (!block) return false;
    static std::vector<std::uint8_t> in(orvane::kBlockSize);
    std::size_t at = 0;
    while (!dec.Done()) {
        if (dec.NeedInput()) {
            const std::size_t k = std::min<std::size_t>(orvane::kBlockSize, n - at);
            std::memcpy(in.data(), s + at, k);
            // Nothing of an earlier input is left behind the bytes passed.
            std::memset(in.data() + k, 0, in.size() - k);
            at += k;
        }
        const int got = dec.Decode(in.data());
        out.insert(out.end(), block, block + got);
        if (out.size() > size) std::abort();
    }
    return !dec.Failed();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint32_t member = data[0] | data[1] << 8 | (data[2] & 0x0F) << 16;
    std::vector<std::uint8_t> out;
    if (Decode(data + 3, size - 3, member, out) && out.size() != member) std::abort();

    TOrvaneEncode& enc = g_Encoder;
    const std::uint8_t* o = enc.Open(static_cast<std::uint32_t>(size));
    if (!o) return 0;
    static std::vector<std::uint8_t> block(orvane::kBlockSize);
    std::vector<std::uint8_t> stream;
    std::size_t at = 0;
    while (!enc.Done()) {
        const std::size_t k = std::min<std::size_t>(orvane::kBlockSize, size - at);
        std::memcpy(block.data(), data + at, k);
        std::memset(block.data() + k, 0, block.size() - k);
        at += k;
        const int got = enc.Encode(block.data());
        stream.insert(stream.end(), o, o + got);
    }
    if (!Decode(stream.data(), stream.size(), static_cast<std::uint32_t>(size), out)) std::abort();
    if (out.size() != size || std::memcmp(out.data(), data, size) != 0) std::abort();
    return 0;
}
