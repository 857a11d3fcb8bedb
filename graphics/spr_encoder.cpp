#include "graphics/spr_encoder.h"

#include <algorithm>

#include "graphics/lzari_model.h"

namespace {

// Farthest match the encoder offers. The decoder also accepts LZARI_N, a copy of the byte about to be
// replaced, but other decoders of the format may not.
constexpr std::size_t MAX_DISTANCE = LZARI_N - 1;
constexpr int MIN_MATCH = LZARI_THRESHOLD + 1;
constexpr int HASH_BITS = 15;
constexpr std::size_t HASH_SIZE = std::size_t{1} << HASH_BITS;
// A power of two at least twice the window, so a chain link is never overwritten while it is still in reach.
constexpr std::size_t CHAIN_SIZE = std::size_t{2} * LZARI_N;
// Candidates examined per position: enough for game images, bounded for incompressible data.
constexpr int MAX_CHAIN = 256;
constexpr std::int64_t NO_POSITION = -1;

class LzariEncoder {
public:
    explicit LzariEncoder(std::vector<std::uint8_t>& output) : out(output) {}

    void encode(const std::uint8_t* data, std::size_t size);

private:
    struct Match {
        int length;
        std::size_t distance;
    };

    void putBit(std::uint32_t bit);
    void emit(std::uint32_t bit);
    void narrow(std::uint32_t range, std::uint32_t cumHigh, std::uint32_t cumLow, std::uint32_t total);
    void encodeChar(int c);
    void encodePosition(int position);
    void finish();

    std::uint32_t hashAt(std::size_t pos) const;
    void insert(std::size_t pos);
    Match findMatch(std::size_t pos) const;

    std::vector<std::uint8_t>& out;
    std::uint8_t bitBuffer = 0;
    std::uint8_t bitMask = 0x80;
    std::uint32_t low = 0;
    std::uint32_t high = LZARI_Q4;
    // Bits decided to be the opposite of the next bit emitted, while the interval straddles the middle.
    std::uint32_t pendingBits = 0;
    LzariSymbolModel model;

    // The spaces the decoder's ring starts with, then the data: matches reach into both.
    std::vector<std::uint8_t> text;
    std::vector<std::int64_t> head;
    std::vector<std::int64_t> chain;
};

void LzariEncoder::putBit(std::uint32_t bit) {
    if (bit) bitBuffer = static_cast<std::uint8_t>(bitBuffer | bitMask);
    bitMask = static_cast<std::uint8_t>(bitMask >> 1);
    if (bitMask == 0) {
        out.push_back(bitBuffer);
        bitBuffer = 0;
        bitMask = 0x80;
    }
}

void LzariEncoder::emit(std::uint32_t bit) {
    putBit(bit);
    for (; pendingBits > 0; --pendingBits)
        putBit(bit ^ 1u);
}

void LzariEncoder::narrow(std::uint32_t range, std::uint32_t cumHigh, std::uint32_t cumLow,
                          std::uint32_t total) {
    high = low + range * cumHigh / total;
    low += range * cumLow / total;
    for (;;) {
        if (high <= LZARI_Q2) {
            emit(0);
        } else if (low >= LZARI_Q2) {
            emit(1);
            low -= LZARI_Q2;
            high -= LZARI_Q2;
        } else if (low >= LZARI_Q1 && high <= LZARI_Q3) {
            ++pendingBits;
            low -= LZARI_Q1;
            high -= LZARI_Q1;
        } else {
            return;
        }
        low += low;
        high += high;
    }
}

void LzariEncoder::encodeChar(int c) {
    const int sym = model.charToSym[c];
    narrow(high - low, model.cumulative(sym - 1), model.cumulative(sym), model.total());
    model.update(sym);
}

void LzariEncoder::encodePosition(int position) {
    const std::uint16_t* cum = lzariPositionModel().positionCum;
    narrow(high - low, cum[position], cum[position + 1], cum[0]);
}

void LzariEncoder::finish() {
    // Two more bits pick a quarter of the scale that lies wholly inside the final interval; whatever the
    // decoder reads after them (zero fill, then the one bits of the end of the stream) stays inside it.
    ++pendingBits;
    emit(low < LZARI_Q1 ? 0 : 1);
    if (bitMask != 0x80) out.push_back(bitBuffer);
}

std::uint32_t LzariEncoder::hashAt(std::size_t pos) const {
    const std::uint32_t key = static_cast<std::uint32_t>(text[pos]) << 16 |
                              static_cast<std::uint32_t>(text[pos + 1]) << 8 | text[pos + 2];
    return (key * 2654435761u) >> (32 - HASH_BITS);
}

void LzariEncoder::insert(std::size_t pos) {
    if (pos + MIN_MATCH > text.size()) return;
    const std::uint32_t h = hashAt(pos);
    chain[pos & (CHAIN_SIZE - 1)] = head[h];
    head[h] = static_cast<std::int64_t>(pos);
}

LzariEncoder::Match LzariEncoder::findMatch(std::size_t pos) const {
    Match best{0, 0};
    if (pos + MIN_MATCH > text.size()) return best;
    const int limit = static_cast<int>(std::min<std::size_t>(LZARI_F, text.size() - pos));
    std::int64_t candidate = head[hashAt(pos)];
    for (int tries = 0; candidate != NO_POSITION && tries < MAX_CHAIN; ++tries) {
        const std::size_t from = static_cast<std::size_t>(candidate);
        const std::size_t distance = pos - from;
        if (distance > MAX_DISTANCE) break;
        int length = 0;
        while (length < limit && text[from + static_cast<std::size_t>(length)] ==
                                     text[pos + static_cast<std::size_t>(length)]) {
            ++length;
        }
        if (length > best.length) {
            best = {length, distance};
            if (length == limit) break;
        }
        candidate = chain[from & (CHAIN_SIZE - 1)];
    }
    return best;
}

void LzariEncoder::encode(const std::uint8_t* data, std::size_t size) {
    text.assign(LZARI_WINDOW_START, LZARI_FILL);
    text.insert(text.end(), data, data + size);
    head.assign(HASH_SIZE, NO_POSITION);
    chain.assign(CHAIN_SIZE, NO_POSITION);
    for (std::size_t pos = LZARI_WINDOW_START - LZARI_F; pos < LZARI_WINDOW_START; ++pos)
        insert(pos);

    std::size_t pos = LZARI_WINDOW_START;
    while (pos < text.size()) {
        const Match match = findMatch(pos);
        if (match.length < MIN_MATCH) {
            encodeChar(text[pos]);
            insert(pos++);
            continue;
        }
        encodeChar(LZARI_MATCH_BASE + match.length);
        encodePosition(static_cast<int>(match.distance) - 1);
        for (int k = 0; k < match.length; ++k)
            insert(pos++);
    }
    finish();
}

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

}  // namespace

bool encodeSpr(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out) {
    out.clear();
    if (!data || size == 0 || size > SPR_MAX_DECODED_SIZE) return false;
    out.insert(out.end(), SPR_TAG, SPR_TAG + sizeof SPR_TAG);
    putLe32(out, static_cast<std::uint32_t>(size));
    putLe32(out, 0);
    putLe32(out, 0);
    out.push_back(0);
    LzariEncoder(out).encode(data, size);
    return true;
}
