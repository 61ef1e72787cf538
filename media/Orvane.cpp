#include "media/Orvane.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "platform/Files.h"

using namespace orvane;

namespace {
constexpr int kSlack = 64;
// The fast path starts a token only with this much input ahead: a flag word and the
// longest token (8 bytes) leave the 256-byte margin untouched, and a 32-byte literal
// stride stays inside the loaded bytes.
constexpr std::uint64_t kFastInput = kInputSlack + 8 + 32;
}  // namespace

// ---------------------------------------------------------------- decoder

TOrvaneDecode::TOrvaneDecode() = default;
TOrvaneDecode::~TOrvaneDecode() { Close(); }

const std::uint8_t* TOrvaneDecode::Open(std::uint32_t size, std::uint32_t stored) {
    Close();
    // Slack behind both buffers lets the fast path copy in whole 32-byte strides. The
    // buffers of an earlier run are used again.
    if (!in_) in_.reset(new (std::nothrow) std::uint8_t[kDecodeInSize + kSlack]);
    if (!out_) out_.reset(new (std::nothrow) std::uint8_t[kDecodeOutSize + kSlack]);
    if (!in_ || !out_) {
        in_.reset();
        out_.reset();
        return nullptr;
    }
    open_ = true;
    size_ = size;
    stored_ = stored;
    done_ = size == 0;  // an empty member decodes to nothing
    failed_ = false;
    needInput_ = !done_ && stored > 0;
    loaded_ = consumed_ = inBase_ = 0;
    produced_ = blockStart_ = 0;
    write_ = kHistory;
    flags_ = 0;
    tokenInGroup_ = 0;
    matchLeft_ = matchDistance_ = 0;
    return out_.get() + kHistory;
}

void TOrvaneDecode::Close() {
    open_ = false;
    done_ = false;
    needInput_ = false;
}

void TOrvaneDecode::Fail() {
    failed_ = true;
    done_ = true;
    needInput_ = false;
}

// Every loaded byte lies in in_; a byte that was never loaded means the stream ran out.
bool TOrvaneDecode::ReadByte(std::uint8_t& b) {
    if (consumed_ >= loaded_) {
        Fail();
        return false;
    }
    b = in_[consumed_ - inBase_];
    ++consumed_;
    return true;
}

// Decodes whole tokens while no limit is near: plenty of input ahead, the block
// not yet past 16 KB, the size not reached. Stops where the token-by-token loop's
// checks could first fire, so the general loop's checks then see the same state.
// Anything unusual (a match that would not fit, a bad distance) is left to the
// general loop. Returns the tokens decoded.
int TOrvaneDecode::FastTokens() {
    std::uint8_t* const out = out_.get();
    const std::uint8_t* ip = in_.get() + (consumed_ - inBase_);
    const std::uint8_t* const inEnd = in_.get() + (loaded_ - inBase_);
    if (inEnd - ip < static_cast<std::ptrdiff_t>(kFastInput)) return 0;
    const std::uint8_t* const ipLimit = inEnd - kFastInput;
    std::uint8_t* op = out + write_;
    // The block passes 16 KB at blockStop; the member ends at sizeEnd (or later than
    // the buffer, which the match test below covers).
    std::uint8_t* const blockStop = out + kHistory + kBlockSize + 1;
    const std::uint64_t sizeLeft = size_ - produced_;
    std::uint8_t* const sizeEnd = sizeLeft < static_cast<std::uint64_t>(kDecodeOutSize)
                                      ? op + sizeLeft
                                      : out + kDecodeOutSize;
    std::uint8_t* const outEnd = out + kDecodeOutSize;
    std::uint8_t* const opStart = op;
    const std::uint64_t producedBefore = produced_;
    std::uint32_t flags = flags_;
    int tig = tokenInGroup_;
    int tokens = 0;

    while (ip <= ipLimit && op < blockStop && op < sizeEnd) {
        const std::uint8_t* const tokenStart = ip;
        const int tigStart = tig;
        const std::uint32_t flagsStart = flags;
        if (tig == 0) {
            flags = ui::LoadU32(ip);
            ip += 4;
        }
        const std::uint32_t ahead = flags << tig;
        if (!(ahead & 0x80000000u)) {
            const std::ptrdiff_t inGroup = 32 - tig;
            std::ptrdiff_t n =
                ahead == 0 ? inGroup : std::min<std::ptrdiff_t>(std::countl_zero(ahead), inGroup);
            n = std::min({n, blockStop - op, sizeEnd - op});
            std::memcpy(op, ip, 32);
            op += n;
            ip += n;
            tig = static_cast<int>((tig + n) & 31);
            ++tokens;
            continue;
        }
        const std::uint8_t c = *ip++;
        std::uint32_t length = c >> 4;
        const std::uint32_t code = c & 15;
        if (length == 14) {
            length = *ip++;
        } else if (length == 15) {
            length = ui::LoadU16(ip);
            ip += 2;
        } else {
            length += 1;
        }
        std::uint32_t distance = code + 1;
        if (code >= 10) distance = (code - 10) * 256 + *ip++;
        const std::uint64_t produced = producedBefore + static_cast<std::uint64_t>(op - opStart);
        if (distance == 0 || distance > produced ||
            length > static_cast<std::uint64_t>(sizeEnd - op) ||
            length + 32 > static_cast<std::uint64_t>(outEnd - op)) {
            ip = tokenStart;  // the general loop takes this token
            tig = tigStart;
            flags = flagsStart;
            break;
        }
        const std::uint8_t* src = op - distance;
        if (distance >= 32) {
            for (std::uint32_t i = 0; i < length; i += 32) std::memcpy(op + i, src + i, 32);
        } else if (length <= distance) {
            // No overlap within the length: one 32-byte load, then the store.
            std::uint8_t tmp[32];
            std::memcpy(tmp, src, 32);
            std::memcpy(op, tmp, 32);
        } else if (distance == 1) {
            std::memset(op, *src, length);
        } else {
            for (std::uint32_t i = 0; i < length; ++i) op[i] = src[i];
        }
        op += length;
        tig = (tig + 1) & 31;
        ++tokens;
    }
    consumed_ += static_cast<std::uint64_t>(ip - (in_.get() + (consumed_ - inBase_)));
    produced_ += static_cast<std::uint64_t>(op - opStart);
    write_ = static_cast<std::uint32_t>(op - out);
    flags_ = flags;
    tokenInGroup_ = tig;
    return tokens;
}

int TOrvaneDecode::Decode(const std::uint8_t* input) {
    if (!open_ || done_) return 0;

    if (needInput_) {
        // Keep the unconsumed bytes, then append the next block of the stream.
        const std::uint64_t keep = loaded_ - consumed_;
        std::memmove(in_.get(), in_.get() + (consumed_ - inBase_), keep);
        inBase_ = consumed_;
        const std::uint64_t want = std::min<std::uint64_t>(kBlockSize, stored_ - loaded_);
        if (want > 0) {
            if (!input) {
                Fail();
                return 0;
            }
            std::memcpy(in_.get() + keep, input, want);
            loaded_ += want;
        }
        needInput_ = false;
    }

    std::uint8_t* out = out_.get();
    if (produced_ - blockStart_ >= static_cast<std::uint64_t>(kHistory)) {
        // The block was handed out: its last bytes become the history.
        std::memmove(out, out + write_ - kHistory, kHistory);
        blockStart_ = produced_;
        write_ = kHistory;
    }

    for (;;) {
        if (matchLeft_ == 0 && FastTokens() > 0) {
            // Whole tokens done; the checks below see the state after the last one.
        } else if (matchLeft_ == 0) {
            if (tokenInGroup_ == 0) {
                std::uint8_t f[4];
                for (auto& b : f)
                    if (!ReadByte(b)) return 0;
                flags_ = ui::LoadU32(f);
            }
            // Bit 31 of `ahead` is the current token, then the rest of the group.
            const std::uint32_t ahead = flags_ << tokenInGroup_;
            if (!(ahead & 0x80000000u)) {
                // A run of literals is copied at once. It stops where the token-by-token
                // loop would have stopped: at the size, at the input margin, or once
                // the block passes 16 KB; so the blocks come out the same.
                const std::uint32_t inGroup = static_cast<std::uint32_t>(32 - tokenInGroup_);
                std::uint64_t n = ahead == 0
                                      ? inGroup
                                      : std::min<std::uint32_t>(std::countl_zero(ahead), inGroup);
                const std::uint64_t avail = loaded_ - consumed_;
                if (avail == 0) {
                    Fail();
                    return 0;
                }
                const std::uint64_t inputRoom =
                    loaded_ < stored_ ? (avail > kInputSlack - 1 ? avail - (kInputSlack - 1) : 1)
                                      : avail;
                const std::uint64_t blockRoom = kBlockSize + 1 - (produced_ - blockStart_);
                n = std::min({n, size_ - produced_, inputRoom, blockRoom});
                std::memcpy(out + write_, in_.get() + (consumed_ - inBase_), n);
                write_ += static_cast<std::uint32_t>(n);
                produced_ += n;
                consumed_ += n;
                tokenInGroup_ = static_cast<int>((tokenInGroup_ + n) & 31);
            } else {
                if (++tokenInGroup_ == 32) tokenInGroup_ = 0;
                std::uint8_t c, b0, b1;
                if (!ReadByte(c)) return 0;
                std::uint32_t length = c >> 4;
                const std::uint32_t code = c & 15;
                if (length == 14) {
                    if (!ReadByte(b0)) return 0;
                    length = b0;
                } else if (length == 15) {
                    if (!ReadByte(b0) || !ReadByte(b1)) return 0;
                    length = b0 | b1 << 8;
                } else {
                    length += 1;
                }
                std::uint32_t distance;
                if (code < 10) {
                    distance = code + 1;
                } else {
                    if (!ReadByte(b0)) return 0;
                    distance = (code - 10) * 256 + b0;
                }
                if (distance == 0 || distance > produced_) {
                    Fail();
                    return 0;
                }
                // Never past the member's end.
                matchLeft_ =
                    static_cast<std::uint32_t>(std::min<std::uint64_t>(length, size_ - produced_));
                matchDistance_ = distance;
            }
        }

        if (matchLeft_ > 0) {
            // Front to back: an overlap repeats the bytes just made.
            const std::uint32_t room = kDecodeOutSize - write_;
            const std::uint32_t n = std::min(matchLeft_, room);
            std::uint8_t* dst = out + write_;
            const std::uint8_t* src = dst - matchDistance_;
            if (matchDistance_ >= n)
                std::memcpy(dst, src, n);
            else if (matchDistance_ == 1)
                std::memset(dst, *src, n);
            else
                for (std::uint32_t i = 0; i < n; ++i) dst[i] = src[i];
            write_ += n;
            produced_ += n;
            matchLeft_ -= n;
            if (matchLeft_ > 0) break;  // the block area is full; finish next call
        }

        if (produced_ >= size_) {
            done_ = true;
            break;
        }
        if (loaded_ - consumed_ < static_cast<std::uint64_t>(kInputSlack) && loaded_ < stored_) {
            needInput_ = true;
            break;
        }
        if (produced_ - blockStart_ > static_cast<std::uint64_t>(kBlockSize)) break;
    }

    const std::uint64_t block = produced_ - blockStart_;
    if (block >= static_cast<std::uint64_t>(kHistory) || done_) return static_cast<int>(block);
    return 0;
}

// ---------------------------------------------------------------- encoder

TOrvaneEncode::TOrvaneEncode() = default;
TOrvaneEncode::~TOrvaneEncode() { Close(); }

const std::uint8_t* TOrvaneEncode::Open(std::uint32_t total) {
    Close();
    // The buffers and tables of an earlier run are used again; the tables start empty.
    if (!window_) window_.reset(new (std::nothrow) std::uint8_t[kEncodeWindowSize]);
    if (!run_) run_.reset(new (std::nothrow) std::uint16_t[kEncodeWindowSize]);
    if (!out_) out_.reset(new (std::nothrow) std::uint8_t[kEncodeOutSize]);
    if (!head_) head_.reset(new (std::nothrow) std::uint32_t[1u << kHashBits]);
    if (!prev_) prev_.reset(new (std::nothrow) std::uint32_t[kRing]);
    if (!lastPair_) lastPair_.reset(new (std::nothrow) std::uint32_t[65536]);
    if (!window_ || !run_ || !out_ || !head_ || !prev_ || !lastPair_) return nullptr;
    std::memset(head_.get(), 0, sizeof(std::uint32_t) << kHashBits);
    std::memset(prev_.get(), 0, sizeof(std::uint32_t) * kRing);
    std::memset(lastPair_.get(), 0, sizeof(std::uint32_t) * 65536);
    std::memset(lastByte_, 0, sizeof lastByte_);
    open_ = true;
    total_ = total;
    done_ = total == 0;  // nothing to encode: an empty stream
    blocksLoaded_ = 0;
    loadedEnd_ = 0;
    blockStart_ = 0;
    windowBase_ = blockStart_ - kHistory;
    pos_ = 0;
    inserted_ = 0;
    flagAt_ = flags_ = mask_ = 0;
    tokens_ = 0;
    outCount_ = completed_ = 0;
    return out_.get();
}

void TOrvaneEncode::Close() {
    open_ = false;
    done_ = false;
}

std::uint16_t TOrvaneEncode::Search(const std::uint8_t* candidate, const std::uint8_t* current,
                                    std::uint16_t max) {
    std::uint16_t n = 0;
    // Eight bytes at a time while they agree; the candidate may overlap the current place.
    while (n + 8 <= max) {
        std::uint64_t a, b;
        std::memcpy(&a, candidate + n, 8);
        std::memcpy(&b, current + n, 8);
        if (a != b) {
            const std::uint64_t x = a ^ b;
            if constexpr (std::endian::native == std::endian::little)
                return static_cast<std::uint16_t>(n + __builtin_ctzll(x) / 8);
            break;
        }
        n += 8;
    }
    while (n < max && candidate[n] == current[n]) ++n;
    return n;
}

namespace {
inline std::uint32_t Hash3(const std::uint8_t* p) {
    const std::uint32_t v = p[0] | p[1] << 8 | p[2] << 16;
    return (v * 2654435761u) >> (32 - 15);
}
}  // namespace

// Puts position q into the search tables (its byte, its pair, its 3-byte chain).
void TOrvaneEncode::Insert(std::uint64_t q) {
    const std::uint8_t* p = Ptr(q);
    const std::uint32_t entry = static_cast<std::uint32_t>(q + 1);
    lastByte_[p[0]] = entry;
    if (q + 1 < total_) lastPair_[p[0] << 8 | p[1]] = entry;
    if (q + 2 < total_) {
        const std::uint32_t h = Hash3(p);
        prev_[q & (kRing - 1)] = head_[h];
        head_[h] = entry;
    }
}

namespace {
constexpr std::uint16_t kRunCap = kMaxMatch + 1;
}

// New bytes were loaded at window indices from..to (the end of what is loaded):
// work out their runs, and lengthen the runs before them that continue into them.
void TOrvaneEncode::UpdateRuns(std::uint32_t from, std::uint32_t to) {
    if (to == 0) return;
    const std::uint8_t* w = window_.get();
    std::uint16_t* r = run_.get();
    // Before position 0 the window holds nothing.
    const std::uint32_t first = blockStart_ == 0 ? static_cast<std::uint32_t>(kHistory) : 0;
    if (to <= first) return;
    std::uint32_t next = r[to - 1] = 1;
    std::uint8_t after = w[to - 1];
    std::uint32_t i = to - 1;
    // The new bytes: nothing to compare with, so no test inside the loop.
    while (i-- > std::max(first, from)) {
        const std::uint8_t b = w[i];
        next = b == after ? std::min<std::uint32_t>(next + 1, kRunCap) : 1;
        after = b;
        r[i] = static_cast<std::uint16_t>(next);
    }
    // The bytes before them, as long as their runs reach into the new ones.
    for (i = std::max(first, from); i-- > first;) {
        const std::uint8_t b = w[i];
        next = b == after ? std::min<std::uint32_t>(next + 1, kRunCap) : 1;
        if (next == r[i]) break;  // from here down nothing changes
        after = b;
        r[i] = static_cast<std::uint16_t>(next);
    }
}

// The longest match within the window; among equal lengths the nearest. This is
// what visiting every candidate from the farthest to the nearest and keeping the
// last of the longest gives, found through the tables instead.
TOrvaneEncode::Match TOrvaneEncode::FindMatch(std::uint64_t p, std::uint32_t max) const {
    Match best;
    // Entries are position + 1: the window's farthest candidate gives this bound.
    const std::uint64_t lowest =
        p >= static_cast<std::uint64_t>(kMaxDistance) ? p - kMaxDistance + 1 : 1;
    const std::uint8_t* cur = Ptr(p);
    if (max >= 3) {
        const std::uint32_t rp = run_[p - windowBase_];
        // Every candidate of length 3 or more shares the first three bytes, so it is
        // on this chain. Nearest first; only a strictly longer one replaces the best.
        std::uint32_t e = head_[Hash3(cur)];
        while (e >= lowest) {
            const std::uint64_t c = e - 1;
            const std::uint8_t* cand = Ptr(c);
            if (cand[best.length] == cur[best.length] && cand[0] == cur[0] && cand[1] == cur[1] &&
                cand[2] == cur[2]) {
                // Both start with a run of the same byte: unequal runs end the match
                // at the shorter one; equal runs are compared from where they end.
                const std::uint32_t rc = run_[c - windowBase_];
                std::uint32_t len;
                if (rc != rp)
                    len = std::min({rc, rp, max});
                else if (rc >= max)
                    len = max;
                else
                    len = rc + Search(cand + rc, cur + rc, static_cast<std::uint16_t>(max - rc));
                if (len > best.length) {
                    best.length = len;
                    best.distance = static_cast<std::uint32_t>(p - c);
                    if (len >= max) break;  // nothing farther can be longer
                }
            }
            e = prev_[c & (kRing - 1)];
        }
        if (best.length >= 3) return best;
    }
    if (max >= 2) {
        const std::uint32_t e = lastPair_[cur[0] << 8 | cur[1]];
        if (e >= lowest) {
            best.length = 2;
            best.distance = static_cast<std::uint32_t>(p - (e - 1));
            return best;
        }
    }
    const std::uint32_t e = lastByte_[cur[0]];
    if (e >= lowest) {
        best.length = 1;
        best.distance = static_cast<std::uint32_t>(p - (e - 1));
    }
    return best;
}

void TOrvaneEncode::EndGroup() {
    out_[flagAt_] = static_cast<std::uint8_t>(flags_);
    out_[flagAt_ + 1] = static_cast<std::uint8_t>(flags_ >> 8);
    out_[flagAt_ + 2] = static_cast<std::uint8_t>(flags_ >> 16);
    out_[flagAt_ + 3] = static_cast<std::uint8_t>(flags_ >> 24);
    completed_ = outCount_;
}

int TOrvaneEncode::Encode(const std::uint8_t* block) {
    if (!open_ || done_) return 0;

    if (blocksLoaded_ < 2) {
        // Start-up: one block per call until two are in (or the input is all in).
        const std::uint64_t remaining = total_ - loadedEnd_;
        const std::uint64_t n = std::min<std::uint64_t>(kBlockSize, remaining);
        const std::uint32_t at = static_cast<std::uint32_t>(kHistory + blocksLoaded_ * kBlockSize);
        std::memcpy(window_.get() + at, block, n);
        UpdateRuns(at, at + static_cast<std::uint32_t>(n));
        loadedEnd_ += n;
        blocksLoaded_ = remaining <= static_cast<std::uint64_t>(kBlockSize) ? 2 : blocksLoaded_ + 1;
        if (blocksLoaded_ < 2) return 0;
        // The first group's flag word.
        outCount_ = 4;
        flagAt_ = 0;
        flags_ = 0;
        mask_ = 0x80000000u;
        tokens_ = 0;
    } else {
        // Slide the window by one block and append the next one.
        std::memmove(window_.get(), window_.get() + kBlockSize, kHistory + kBlockSize);
        std::memmove(run_.get(), run_.get() + kBlockSize,
                     (kHistory + kBlockSize) * sizeof(std::uint16_t));
        blockStart_ += kBlockSize;
        windowBase_ = blockStart_ - kHistory;
        if (loadedEnd_ < total_) {
            const std::uint64_t n = std::min<std::uint64_t>(kBlockSize, total_ - loadedEnd_);
            constexpr std::uint32_t at = kHistory + kBlockSize;
            std::memcpy(window_.get() + at, block, n);
            UpdateRuns(at, at + static_cast<std::uint32_t>(n));
            loadedEnd_ += n;
        }
        // The open group moves to the front of the output buffer.
        std::memmove(out_.get(), out_.get() + completed_, outCount_ - completed_);
        outCount_ -= completed_;
        flagAt_ -= completed_;
        completed_ = 0;
    }

    const std::uint64_t limit = blockStart_ + kBlockSize;
    while (pos_ < total_ && pos_ <= limit) {
        while (inserted_ < pos_) Insert(inserted_++);
        const std::uint64_t remaining = total_ - pos_;
        const std::uint32_t max = remaining <= static_cast<std::uint64_t>(kMaxMatch)
                                      ? static_cast<std::uint32_t>(remaining)
                                      : kMaxMatch;
        const Match m = FindMatch(pos_, max);
        int cost = 1;
        if (m.length > 255) cost += 2;
        if (m.length >= 15 && m.length <= 255) cost += 1;
        if (m.distance > 10) cost += 1;
        if (m.length >= 1 && static_cast<std::uint32_t>(cost) <= m.length) {
            flags_ |= mask_;
            std::uint8_t lengthCode, distanceCode;
            lengthCode = m.length <= 14    ? static_cast<std::uint8_t>(m.length - 1)
                         : m.length <= 255 ? 14
                                           : 15;
            distanceCode = m.distance <= 10 ? static_cast<std::uint8_t>(m.distance - 1)
                                            : static_cast<std::uint8_t>(10 + m.distance / 256);
            PutByte(static_cast<std::uint8_t>(lengthCode << 4 | distanceCode));
            if (lengthCode == 14) {
                PutByte(static_cast<std::uint8_t>(m.length));
            } else if (lengthCode == 15) {
                PutByte(static_cast<std::uint8_t>(m.length));
                PutByte(static_cast<std::uint8_t>(m.length >> 8));
            }
            if (distanceCode >= 10) PutByte(static_cast<std::uint8_t>(m.distance & 255));
            pos_ += m.length;
        } else {
            PutByte(At(pos_));
            pos_ += 1;
        }
        mask_ >>= 1;
        ++tokens_;
        if (pos_ >= total_ || tokens_ == 32) {
            EndGroup();
            if (pos_ < total_) {
                flagAt_ = outCount_;
                outCount_ += 4;
                flags_ = 0;
                mask_ = 0x80000000u;
                tokens_ = 0;
            }
        }
    }
    // Positions passed by the last match go into the tables before the window slides.
    while (inserted_ < pos_) Insert(inserted_++);
    if (pos_ >= total_) done_ = true;
    return static_cast<int>(completed_);
}
