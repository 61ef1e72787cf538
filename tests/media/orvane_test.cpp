#include "media/Orvane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The greedy search exactly as the format's encoder is defined: every candidate in
// the window from the farthest to the nearest, an equal or longer match replacing
// the best. Whole buffer, no blocks: the reference the block encoder must equal.
Bytes ReferenceEncode(const Bytes& in) {
    Bytes out;
    const std::size_t n = in.size();
    if (n == 0) return out;
    std::size_t flagAt = 0;
    out.resize(4);
    std::uint32_t flags = 0, mask = 0x80000000u;
    int tokens = 0;
    std::size_t p = 0;
    while (p < n) {
        const std::size_t max = n - p <= 8192 ? n - p : 8192;
        std::size_t bestLen = 0, bestDist = 0;
        for (std::size_t c = p > 1535 ? p - 1535 : 0; c < p; ++c) {
            if (in[c] != in[p]) continue;
            std::size_t len = 0;
            while (len < max && in[c + len] == in[p + len]) ++len;
            if (len >= bestLen) {
                bestLen = len;
                bestDist = p - c;
            }
        }
        std::size_t cost = 1;
        if (bestLen > 255) cost += 2;
        if (bestLen >= 15 && bestLen <= 255) cost += 1;
        if (bestDist > 10) cost += 1;
        if (bestLen >= 1 && cost <= bestLen) {
            flags |= mask;
            const int lc = bestLen <= 14 ? int(bestLen - 1) : bestLen <= 255 ? 14 : 15;
            const int dc = bestDist <= 10 ? int(bestDist - 1) : int(10 + bestDist / 256);
            out.push_back(std::uint8_t(lc << 4 | dc));
            if (lc == 14) out.push_back(std::uint8_t(bestLen));
            if (lc == 15) {
                out.push_back(std::uint8_t(bestLen));
                out.push_back(std::uint8_t(bestLen >> 8));
            }
            if (dc >= 10) out.push_back(std::uint8_t(bestDist & 255));
            p += bestLen;
        } else {
            out.push_back(in[p]);
            ++p;
        }
        mask >>= 1;
        if (++tokens == 32 || p >= n) {
            for (int i = 0; i < 4; ++i) out[flagAt + i] = std::uint8_t(flags >> (8 * i));
            if (p < n) {
                flagAt = out.size();
                out.resize(out.size() + 4);
                flags = 0;
                mask = 0x80000000u;
                tokens = 0;
            }
        }
    }
    return out;
}

// The block protocol as the pack's compress loop drives it.
Bytes BlockEncode(const Bytes& in) {
    TOrvaneEncode enc;
    const std::uint8_t* out = enc.Open(static_cast<std::uint32_t>(in.size()));
    EXPECT_NE(out, nullptr);
    Bytes result, block(orvane::kBlockSize);
    std::size_t at = 0;
    while (!enc.Done()) {
        const std::size_t n = std::min<std::size_t>(orvane::kBlockSize, in.size() - at);
        std::fill(block.begin(), block.end(), 0xEE);  // stale bytes must not matter
        std::copy_n(in.begin() + at, n, block.begin());
        at += n;
        const int k = enc.Encode(block.data());
        EXPECT_LE(k, orvane::kEncodeOutSize);
        result.insert(result.end(), out, out + k);
    }
    return result;
}

struct DecodeResult {
    Bytes bytes;
    std::vector<int> blocks;
    bool failed = false;
};

// The decode loop as the pack drives it: 16 KB of stored bytes whenever asked.
DecodeResult BlockDecode(const Bytes& stream, std::uint32_t size) {
    DecodeResult r;
    TOrvaneDecode dec;
    const std::uint8_t* block = dec.Open(size, static_cast<std::uint32_t>(stream.size()));
    EXPECT_NE(block, nullptr);
    Bytes in(orvane::kBlockSize);
    std::size_t at = 0;
    int calls = 0;
    while (!dec.Done()) {
        if (dec.NeedInput()) {
            const std::size_t n = std::min<std::size_t>(orvane::kBlockSize, stream.size() - at);
            std::copy_n(stream.begin() + at, n, in.begin());
            at += n;
        }
        const int k = dec.Decode(in.data());
        if (k > 0) {
            r.blocks.push_back(k);
            r.bytes.insert(r.bytes.end(), block, block + k);
        }
        if (++calls > 1000000) {
            ADD_FAILURE() << "decoder does not finish";
            break;
        }
    }
    r.failed = dec.Failed();
    return r;
}

Bytes Str(const char* s) { return Bytes(s, s + std::strlen(s)); }

// Inputs like the game's members: an 8-bit picture with flat areas, outlines,
// gradients and dithered noise; 16-bit speech-like audio; random bytes.
Bytes Picture(int w, int h, unsigned seed) {
    std::mt19937 g(seed);
    Bytes px(std::size_t(w) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[std::size_t(y) * w + x] = std::uint8_t(16 + (x + y) / 24 % 8);
    for (int r = 0; r < 40; ++r) {
        const int x0 = g() % w, y0 = g() % h, rw = 8 + g() % 160, rh = 8 + g() % 100;
        const std::uint8_t c = std::uint8_t(g() % 256);
        const bool dither = g() % 3 == 0;
        for (int y = y0; y < std::min(h, y0 + rh); ++y)
            for (int x = x0; x < std::min(w, x0 + rw); ++x)
                px[std::size_t(y) * w + x] = (y == y0 || x == x0) ? 0
                                             : dither             ? std::uint8_t(c + g() % 3)
                                                                  : c;
    }
    return px;
}

Bytes Speech(std::size_t samples, unsigned seed) {
    std::mt19937 g(seed);
    Bytes b;
    double phase = 0;
    for (std::size_t i = 0; i < samples; ++i) {
        const double t = double(i) / 22050;
        const double env =
            std::max(0.0, std::sin(t * 9.0)) * std::max(0.0, std::sin(t * 1.7 + 0.3));
        const double f0 = 140 + 40 * std::sin(t * 3);
        phase += 2 * M_PI * f0 / 22050;
        double v = env * (std::sin(phase) + 0.5 * std::sin(2 * phase) + 0.25 * std::sin(3 * phase));
        v += (double(g() % 200) - 100) / 20000.0;
        const auto s = std::int16_t(std::clamp(v * 9000, -32768.0, 32767.0));
        b.push_back(std::uint8_t(s));
        b.push_back(std::uint8_t(s >> 8));
    }
    return b;
}

Bytes Random(std::size_t n, unsigned seed) {
    std::mt19937 g(seed);
    Bytes b(n);
    for (auto& c : b) c = std::uint8_t(g());
    return b;
}

// Text-like: words from a small vocabulary, so matches of every length and distance.
Bytes Mixed(std::size_t n, unsigned seed) {
    std::mt19937 g(seed);
    static const char* words[] = {"shop", "witch", "potion",   "herb", "the ", "a",
                                  "and ", "moon",  "\x80\x81", "zz",   "   ",  "0123456789"};
    Bytes b;
    while (b.size() < n) {
        const int k = int(g() % 16);
        if (k < 12) {
            for (const char* w = words[k]; *w; ++w) b.push_back(std::uint8_t(*w));
        } else if (k == 12) {
            b.insert(b.end(), 1 + g() % 400, std::uint8_t(g()));
        } else if (k == 13 && b.size() > 2000) {
            const std::size_t from = b.size() - 1 - g() % 1600, len = 1 + g() % 300;
            for (std::size_t i = 0; i < len; ++i) b.push_back(b[from + i]);
        } else {
            b.push_back(std::uint8_t(g()));
        }
    }
    b.resize(n);
    return b;
}

TEST(OrvaneEncode, ThreeLiteralsAndOneMatch) {
    const Bytes in = Str("abcabcabc");
    const Bytes expected = {0x00, 0x00, 0x00, 0x10, 'a', 'b', 'c', 0x52};
    EXPECT_EQ(BlockEncode(in), expected);
    EXPECT_EQ(ReferenceEncode(in), expected);
    EXPECT_EQ(BlockDecode(expected, 9).bytes, in);
}

TEST(OrvaneEncode, RunOfEqualBytesIsOneLongMatch) {
    const Bytes in(300, 0x42);
    const Bytes expected = {0x00, 0x00, 0x00, 0x40, 0x42, 0xF0, 0x2B, 0x01};
    EXPECT_EQ(BlockEncode(in), expected);
    EXPECT_EQ(BlockDecode(expected, 300).bytes, in);
}

TEST(OrvaneEncode, GroupsOfThirtyTwoTokens) {
    // 32 distinct bytes are 32 literals: one flag word, nothing after the last.
    Bytes in32(32);
    for (int i = 0; i < 32; ++i) in32[i] = std::uint8_t(i * 7);
    Bytes out = BlockEncode(in32);
    ASSERT_EQ(out.size(), 36u);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), Bytes(4, 0));
    // A 33rd token (a repeat of the last byte: a one-byte match at distance 1)
    // starts a second group whose flag word has only bit 31 set.
    Bytes in33 = in32;
    in33.push_back(in32.back());
    out = BlockEncode(in33);
    ASSERT_EQ(out.size(), 36u + 4 + 1);
    EXPECT_EQ(Bytes(out.begin() + 36, out.begin() + 40), Bytes({0, 0, 0, 0x80}));
    EXPECT_EQ(out[40], 0x00);  // length 1, distance 1
    EXPECT_EQ(BlockDecode(out, 33).bytes, in33);
}

TEST(OrvaneEncode, DistanceCodes) {
    // "0123456789A" then a repeat of its first two bytes: distance 11 (Dc 10, extra 11).
    Bytes in = Str("0123456789A01");
    Bytes out = BlockEncode(in);
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(Bytes(out.end() - 2, out.end()), Bytes({0x1A, 11}));
    EXPECT_EQ(BlockDecode(out, std::uint32_t(in.size())).bytes, in);
    // Distance 10: Dc 9, no extra byte.
    in = Str("0123456789012");
    out = BlockEncode(in);
    EXPECT_EQ(out.back(), 0x29);  // length 3 at distance 10
    EXPECT_EQ(BlockDecode(out, std::uint32_t(in.size())).bytes, in);
}

TEST(OrvaneEncode, EmptyInputIsAnEmptyStream) {
    EXPECT_TRUE(BlockEncode({}).empty());
    const DecodeResult r = BlockDecode({}, 0);
    EXPECT_TRUE(r.bytes.empty());
    EXPECT_FALSE(r.failed);
}

TEST(OrvaneEncode, SearchCountsEqualBytesUpToTheMaximum) {
    const Bytes a = Str("abcdefghijklmnopqrstuvwxyz"), b = Str("abcdefghijklmnopqrsTuvwxyz");
    EXPECT_EQ(TOrvaneEncode::Search(a.data(), b.data(), 26), 19);
    EXPECT_EQ(TOrvaneEncode::Search(a.data(), b.data(), 10), 10);
    EXPECT_EQ(TOrvaneEncode::Search(a.data(), a.data(), 26), 26);
    EXPECT_EQ(TOrvaneEncode::Search(a.data(), b.data() + 1, 26), 0);
}

// The block encoder's fast search gives the reference's output byte for byte,
// including across the 16 KB and 32 KB block boundaries of the window.
TEST(OrvaneEncode, BlockEncoderEqualsTheReference) {
    struct Case {
        const char* name;
        Bytes input;
    };
    std::vector<Case> cases = {
        {"picture", Picture(640, 96, 7)},
        {"speech", Speech(16000, 3)},
        {"random", Random(20000, 5)},
        {"runs", Bytes(40000, 9)},
    };
    // Inputs where many candidates share long prefixes: ties and near-ties everywhere.
    std::mt19937 g(17);
    Bytes binary(6000), periodic(6000), flat(20000);
    for (auto& c : binary) c = std::uint8_t(g() % 2);
    for (std::size_t i = 0; i < periodic.size(); ++i)
        periodic[i] = i % 5 == 4 ? std::uint8_t(g()) : 'a';
    for (std::size_t i = 0; i < flat.size(); ++i) flat[i] = i % 1500 < 1400 ? 0 : std::uint8_t(g());
    cases.push_back({"binary", binary});
    cases.push_back({"periodic", periodic});
    cases.push_back({"flat", flat});
    // Runs across the block edges and the window's slides.
    Bytes edges = Random(70000, 23);
    std::fill(edges.begin() + 15000, edges.begin() + 35000, 0);
    std::fill(edges.begin() + 49000, edges.begin() + 49200, 7);
    std::fill(edges.begin() + 65000, edges.begin() + 69990, 0);
    cases.push_back({"edges", edges});
    for (std::size_t size : {1u, 2u, 3u, 16383u, 16384u, 16385u, 32767u, 32768u, 32769u, 49153u})
        cases.push_back({"mixed", Mixed(size, unsigned(size))});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " of " + std::to_string(c.input.size()));
        const Bytes fast = BlockEncode(c.input);
        EXPECT_EQ(fast, ReferenceEncode(c.input));
        EXPECT_EQ(BlockDecode(fast, std::uint32_t(c.input.size())).bytes, c.input);
    }
}

// The block sizes the decoder hands out, worked out token by token for a valid
// stream: a call first loads input when asked, starts a new block once the last one
// (of 1,536 bytes or more) was handed out, then decodes until the size is reached,
// fewer than 256 loaded bytes remain unconsumed while more are to load, or the block
// holds more than 16,384 bytes; it hands out the block when it holds 1,536 or more.
std::vector<int> ReferenceBlocks(const Bytes& s, std::uint64_t size) {
    std::vector<int> blocks;
    const std::uint64_t stored = s.size();
    std::uint64_t loaded = 0, consumed = 0, produced = 0, blockStart = 0;
    bool need = true, done = size == 0;
    int tig = 0;
    std::uint32_t flags = 0;
    while (!done) {
        if (need) {
            loaded += std::min<std::uint64_t>(16384, stored - loaded);
            need = false;
        }
        if (produced - blockStart >= 1536) blockStart = produced;
        for (;;) {
            if (tig == 0) {
                flags = s[consumed] | s[consumed + 1] << 8 | s[consumed + 2] << 16 |
                        std::uint32_t(s[consumed + 3]) << 24;
                consumed += 4;
            }
            const bool match = (flags << tig) & 0x80000000u;
            tig = (tig + 1) & 31;
            const std::uint8_t c = s[consumed++];
            if (!match) {
                ++produced;
            } else {
                std::uint64_t len = (c >> 4) + 1;
                if (c >> 4 == 14) len = s[consumed++];
                if (c >> 4 == 15) {
                    len = s[consumed] | s[consumed + 1] << 8;
                    consumed += 2;
                }
                if ((c & 15) >= 10) ++consumed;
                produced += std::min(len, size - produced);
            }
            if (produced >= size) {
                done = true;
                break;
            }
            if (loaded - consumed < 256 && loaded < stored) {
                need = true;
                break;
            }
            if (produced - blockStart > 16384) break;
        }
        const std::uint64_t block = produced - blockStart;
        if (block >= 1536 || done) blocks.push_back(int(block));
    }
    return blocks;
}

// A larger member: blocks of at least 1,536 bytes until the last, each ending past
// 16 KB by at most one match, and together the member.
TEST(OrvaneDecode, HandsOutBlocks) {
    Bytes in = Picture(640, 480, 11);
    const Bytes more = Mixed(60000, 2);
    in.insert(in.end(), more.begin(), more.end());
    const Bytes stream = BlockEncode(in);
    const DecodeResult r = BlockDecode(stream, std::uint32_t(in.size()));
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(r.bytes, in);
    ASSERT_GT(r.blocks.size(), 2u);
    for (std::size_t i = 0; i + 1 < r.blocks.size(); ++i) {
        EXPECT_GE(r.blocks[i], orvane::kHistory) << "block " << i;
        EXPECT_LE(r.blocks[i], orvane::kBlockSize + orvane::kMaxMatch) << "block " << i;
    }
    EXPECT_EQ(r.blocks, ReferenceBlocks(stream, in.size()));
    // Streams of every kind: literal runs, long matches, input reloads.
    for (const Bytes& other :
         {Random(70000, 1), Speech(40000, 2), Bytes(100000, 3), Mixed(90000, 4)}) {
        const Bytes st = BlockEncode(other);
        const DecodeResult d = BlockDecode(st, std::uint32_t(other.size()));
        EXPECT_EQ(d.bytes, other);
        EXPECT_EQ(d.blocks, ReferenceBlocks(st, other.size()));
    }
}

TEST(OrvaneDecode, MatchLongerThanTheEncoderWritesStillDecodes) {
    // A literal, then a match of 65,535 at distance 1: more than the block area holds.
    const Bytes stream = {0, 0, 0, 0x40, 'q', 0xF0, 0xFF, 0xFF};
    const DecodeResult r = BlockDecode(stream, 65536);
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(r.bytes, Bytes(65536, 'q'));
}

TEST(OrvaneDecode, NeverWritesPastTheSize) {
    // A literal, then a match of 10 at distance 1, for a member of 5 bytes.
    const Bytes stream = {0, 0, 0, 0x40, 'q', 0x90};
    TOrvaneDecode dec;
    const std::uint8_t* block = dec.Open(5, std::uint32_t(stream.size()));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(dec.Decode(stream.data()), 5);
    EXPECT_TRUE(dec.Done());
    EXPECT_FALSE(dec.Failed());
    EXPECT_EQ(dec.Produced(), 5u);
    EXPECT_EQ(Bytes(block, block + 5), Bytes(5, 'q'));
}

TEST(OrvaneDecode, DamagedStreamsFail) {
    struct Case {
        const char* what;
        Bytes stream;
        std::uint32_t size;
    };
    const Case cases[] = {
        {"distance 0", {0, 0, 0, 0x40, 'a', 0x0A, 0x00}, 3},
        {"distance behind the start", {0, 0, 0, 0x40, 'a', 0x01}, 3},
        {"far distance behind the start", {0, 0, 0, 0x40, 'a', 0x0F, 0xFF}, 3},
        {"stream runs out in a token", {0, 0, 0, 0x40, 'a', 0xF0, 0x05}, 300},
        {"stream runs out before the size", {0, 0, 0, 0, 'a', 'b'}, 3},
        {"no flag word", {0, 0}, 3},
        {"no bytes at all", {}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DecodeResult r = BlockDecode(c.stream, c.size);
        EXPECT_TRUE(r.failed);
        EXPECT_LE(r.bytes.size(), c.size);
    }
}

// Random streams: no crash, no output past the size, either a clean failure or
// exactly the size.
TEST(OrvaneDecode, RandomStreamsFailCleanly) {
    std::mt19937 g(99);
    for (int i = 0; i < 300; ++i) {
        const Bytes stream = Random(g() % 40000, g());
        const std::uint32_t size = g() % 70000;
        const DecodeResult r = BlockDecode(stream, size);
        if (!r.failed) {
            EXPECT_EQ(r.bytes.size(), size);
        }
        EXPECT_LE(r.bytes.size(), size);
    }
}

TEST(OrvaneDecode, ReopenStartsAFreshRun) {
    const Bytes a = Str("abcabcabc");
    const Bytes stream = BlockEncode(a);
    TOrvaneDecode dec;
    dec.Open(100, 3);
    const std::uint8_t* block = dec.Open(9, std::uint32_t(stream.size()));
    ASSERT_TRUE(dec.NeedInput());
    EXPECT_EQ(dec.Decode(stream.data()), 9);
    EXPECT_EQ(Bytes(block, block + 9), a);
    EXPECT_EQ(dec.Decode(stream.data()), 0);  // done: nothing more
    dec.Close();
    EXPECT_EQ(dec.Decode(stream.data()), 0);
}

}  // namespace
