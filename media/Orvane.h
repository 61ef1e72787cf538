#pragma once
#include <cstdint>
#include <memory>

// The Orvane codec of compressed pack members: LZ77 over a 1,535-byte window,
// byte-aligned tokens, one little-endian u32 flag word ahead of every 32 tokens
// (bit 31 - i set: token i is a match). A literal is one byte; a match is a code
// byte (length code << 4 | distance code) followed by the length's extra byte(s)
// and then the distance's extra byte. The stream carries no length of its own:
// the member's size tells the decoder when to stop.
//
// Both sides work block by block in bounded buffers, so members of any size pass.

namespace orvane {

constexpr int kBlockSize = 16384;   // input read per call, and the output block goal
constexpr int kHistory = 1536;      // bytes kept behind a block for back references
constexpr int kMaxDistance = 1535;  // farthest match
constexpr int kMaxMatch = 8192;     // longest match the encoder writes
constexpr int kInputSlack = 256;    // unconsumed input kept ahead of the decoder
constexpr int kDecodeInSize = kBlockSize + kInputSlack;       // 16,640
constexpr int kDecodeOutSize = kHistory + 2 * kBlockSize;     // 34,304
constexpr int kEncodeWindowSize = kHistory + 2 * kBlockSize;  // 34,304
constexpr int kEncodeOutSize = 18944;
// The most output one stored byte can stand for: a match of three bytes (code byte
// and a u16 length) copies up to 65,535 bytes. A member's size above its stored size
// times this cannot come from its stream.
constexpr std::uint32_t kMaxExpansion = 65535 / 3;

}  // namespace orvane

// Decodes one member's stream. The caller loads the next 16 KB of stored bytes
// whenever NeedInput() is true before a call, and stops once Done().
class TOrvaneDecode {
public:
    TOrvaneDecode();
    ~TOrvaneDecode();
    TOrvaneDecode(const TOrvaneDecode&) = delete;
    TOrvaneDecode& operator=(const TOrvaneDecode&) = delete;

    // Starts a run producing `size` bytes from `stored` stream bytes. Returns the
    // place where every block that Decode hands out begins, or null when memory
    // runs out. A size of 0 is done at once.
    const std::uint8_t* Open(std::uint32_t size, std::uint32_t stored);

    // Decodes on. `input` is read only when NeedInput() was true at entry: it holds
    // the next min(16,384, stored bytes not yet loaded) bytes of the stream. Returns
    // the byte count of the next output block (at the pointer Open returned), or 0
    // when nothing is ready yet. A damaged stream (a distance of 0 or behind the
    // start, a stream that runs out) stops the run: Failed() and Done() become true.
    int Decode(const std::uint8_t* input);

    void Close();

    bool IsOpen() const { return open_; }
    bool Done() const { return done_; }
    bool NeedInput() const { return needInput_; }
    bool Failed() const { return failed_; }
    std::uint64_t Produced() const { return produced_; }

private:
    bool ReadByte(std::uint8_t& b);
    int FastTokens();
    void Fail();

    bool open_ = false, done_ = false, needInput_ = false, failed_ = false;
    std::uint32_t size_ = 0, stored_ = 0;
    std::unique_ptr<std::uint8_t[]> in_;   // kDecodeInSize
    std::unique_ptr<std::uint8_t[]> out_;  // kDecodeOutSize: history, then the block area
    std::uint64_t loaded_ = 0;             // stream bytes loaded so far
    std::uint64_t consumed_ = 0;           // stream bytes consumed
    std::uint64_t inBase_ = 0;             // stream offset of in_[0]
    std::uint64_t produced_ = 0;
    std::uint64_t blockStart_ = 0;  // produced count at which the current block began
    std::uint32_t write_ = 0;       // index into out_
    std::uint32_t flags_ = 0;
    int tokenInGroup_ = 0;  // tokens of the group decoded; 0: the next token starts a group
    // A match that did not fit the block area is finished by the next call.
    std::uint32_t matchLeft_ = 0, matchDistance_ = 0;
};

// Encodes one member with the greedy longest-nearest match search. The caller
// passes the input in 16 KB blocks, in order, one per call, until Done().
class TOrvaneEncode {
public:
    TOrvaneEncode();
    ~TOrvaneEncode();
    TOrvaneEncode(const TOrvaneEncode&) = delete;
    TOrvaneEncode& operator=(const TOrvaneEncode&) = delete;

    // Starts a run over `total` input bytes. Returns the output buffer, where the
    // bytes each Encode call hands out begin, or null when memory runs out.
    const std::uint8_t* Open(std::uint32_t total);

    // Takes the next input block (min(16,384, remaining) bytes are used; after the
    // input is all passed, any pointer serves) and returns the byte count of the
    // groups completed since the last call, at the start of the output buffer.
    int Encode(const std::uint8_t* block);

    // The number of equal bytes at the two places, up to `max`.
    static std::uint16_t Search(const std::uint8_t* candidate, const std::uint8_t* current,
                                std::uint16_t max);

    void Close();

    bool IsOpen() const { return open_; }
    bool Done() const { return done_; }

private:
    struct Match {
        std::uint32_t length = 0, distance = 0;
    };
    Match FindMatch(std::uint64_t p, std::uint32_t max) const;
    void UpdateRuns(std::uint32_t from, std::uint32_t to);
    void Insert(std::uint64_t q);
    std::uint8_t At(std::uint64_t pos) const { return window_[pos - windowBase_]; }
    const std::uint8_t* Ptr(std::uint64_t pos) const { return &window_[pos - windowBase_]; }
    void PutByte(std::uint8_t b) { out_[outCount_++] = b; }
    void EndGroup();

    bool open_ = false, done_ = false;
    std::uint32_t total_ = 0;
    std::unique_ptr<std::uint8_t[]> window_;  // kEncodeWindowSize
    std::unique_ptr<std::uint8_t[]> out_;     // kEncodeOutSize
    // For every window byte, how many equal bytes start there (capped above the
    // longest match), so matches inside runs are measured without comparing.
    std::unique_ptr<std::uint16_t[]> run_;  // kEncodeWindowSize
    int blocksLoaded_ = 0;
    std::uint64_t loadedEnd_ = 0;   // input bytes loaded so far
    std::uint64_t blockStart_ = 0;  // stream position of window_[kHistory]
    std::uint64_t windowBase_ = 0;  // stream position of window_[0] (may be "negative": wraps)
    std::uint64_t pos_ = 0;         // current input position
    std::uint64_t inserted_ = 0;    // positions below this are in the search tables
    std::uint32_t flagAt_ = 0, flags_ = 0, mask_ = 0;
    int tokens_ = 0;
    std::uint32_t outCount_ = 0;   // bytes in out_
    std::uint32_t completed_ = 0;  // bytes of completed groups in out_

    // Search tables: chains of positions with the same 3-byte hash, and the last
    // position of every byte and every byte pair. Entries hold position + 1 (0: none),
    // in 32 bits so the tables stay small enough for the cache.
    static constexpr int kHashBits = 15;
    static constexpr std::uint32_t kRing = 4096;  // > the window, so no live link is overwritten
    std::unique_ptr<std::uint32_t[]> head_;       // 1 << kHashBits
    std::unique_ptr<std::uint32_t[]> prev_;       // kRing
    std::unique_ptr<std::uint32_t[]> lastPair_;   // 65536
    std::uint32_t lastByte_[256] = {};
};
