#include "graphics/spr_decoder.h"

#include <algorithm>
#include <cstring>

#include "platform/system.h"

namespace {

// Decoded bytes are collected in a window of the last LZARI_N bytes followed by this much new output, which
// is written out whenever it fills; a match then copies from one flat array and never wraps.
constexpr std::size_t OUTPUT_CHUNK = std::size_t{64} * 1024;
constexpr std::size_t INPUT_CHUNK = std::size_t{64} * 1024;
// Bits of the coder's registers: M + 2, the scale 0 .. Q4.
constexpr int CODE_BITS = LZARI_M + 2;
constexpr std::uint32_t CODE_MASK = LZARI_Q4 - 1;
constexpr std::uint32_t HALF_MASK = LZARI_Q2 - 1;
// A code stream that ends early continues with one bits.
constexpr std::uint8_t END_OF_STREAM_BYTE = 0xFF;
// The bit window is refilled a byte at a time while it has room for one.
constexpr int BIT_WINDOW_BITS = 64;

std::uint32_t readLe32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The expanded file, and the caller's copy of its bytes when it asked for one.
struct FileSink {
    std::FILE* file;
    std::vector<std::uint8_t>* copy;
};

bool writeToFile(void* context, const std::uint8_t* bytes, std::size_t size) {
    const FileSink& sink = *static_cast<FileSink*>(context);
    if (sink.copy) sink.copy->insert(sink.copy->end(), bytes, bytes + size);
    return std::fwrite(bytes, 1, size, sink.file) == size;
}

bool appendToVector(void* context, const std::uint8_t* bytes, std::size_t size) {
    static_cast<std::vector<std::uint8_t>*>(context)->insert(
        static_cast<std::vector<std::uint8_t>*>(context)->end(), bytes, bytes + size);
    return true;
}

// Copies a match of `length` bytes from `distance` bytes back. A match nearer than its length repeats its own
// output (a run of one colour is a match 3 bytes back): each copy then doubles the part already repeated.
void copyMatch(std::uint8_t* out, const std::uint8_t* from, std::size_t distance, std::size_t length) {
    if (distance >= length) {
        std::memcpy(out, from, length);
        return;
    }
    std::size_t step = distance;
    while (length > 0) {
        const std::size_t chunk = std::min(step, length);
        std::memcpy(out, out - step, chunk);
        out += chunk;
        length -= chunk;
        step *= 2;
    }
}

// Leading zero bits of a CODE_BITS-wide value.
int leadingZeros(std::uint32_t x) {
    return x != 0 ? __builtin_clz(x) - (32 - CODE_BITS) : CODE_BITS;
}

// Leading one bits of the bits below the top bit of a CODE_BITS-wide value.
int leadingOnesBelowTop(std::uint32_t x) {
    return __builtin_clz(~(x << (32 - CODE_BITS + 1)));
}

}  // namespace

int SprDecoder::convert(const char* sprPath, const char* bmpPath, std::vector<std::uint8_t>* expanded) {
    if (expanded) expanded->clear();
    std::FILE* sprFile = plat::openFile(sprPath, "rb");
    if (!sprFile) return 0;
    std::FILE* bmpFile = plat::openFile(bmpPath, "wb");
    if (!bmpFile) {
        std::fclose(sprFile);
        return 0;
    }
    std::uint8_t header[SPR_HEADER_SIZE];
    bool done = std::fread(header, 1, sizeof header, sprFile) == sizeof header &&
                readHeader(header, SPR_MAX_DECODED_SIZE);
    if (done) {
        input = sprFile;
        inputBuffer.resize(INPUT_CHUNK);
        in = inEnd = inputBuffer.data();
        if (expanded) expanded->reserve(decodedSize);
        FileSink sink{bmpFile, expanded};
        done = decode(writeToFile, &sink);
        input = nullptr;
    }
    std::fclose(sprFile);
    // A file that could not be written in full is a failed expansion, not a success.
    if (std::fclose(bmpFile) != 0) done = false;
    if (!done && expanded) expanded->clear();
    return done ? 1 : 0;
}

bool SprDecoder::decodeMemory(const std::uint8_t* spr, std::size_t size, std::vector<std::uint8_t>& out,
                              std::uint32_t maxDecodedSize) {
    out.clear();
    if (!spr || size < SPR_HEADER_SIZE || !readHeader(spr, maxDecodedSize)) return false;
    input = nullptr;
    in = spr + SPR_HEADER_SIZE;
    inEnd = spr + size;
    out.reserve(decodedSize);
    return decode(appendToVector, &out);
}

bool SprDecoder::readHeader(const std::uint8_t* header, std::uint32_t maxDecodedSize) {
    std::memcpy(tag, header, sizeof tag);
    decodedSize = readLe32(header + SPR_DECODED_SIZE_OFFSET);
    reserved1 = readLe32(header + 7);
    reserved2 = readLe32(header + 11);
    reserved3 = header[15];
    return decodedSize != 0 && decodedSize <= maxDecodedSize;
}

void SprDecoder::refillInput() {
    in = inEnd = inputBuffer.data();
    if (input) inEnd += std::fread(inputBuffer.data(), 1, inputBuffer.size(), input);
}

void SprDecoder::refillBits() {
    while (bitCount <= BIT_WINDOW_BITS - 8) {
        if (in == inEnd && input) refillInput();
        const std::uint8_t byte = in < inEnd ? *in++ : END_OF_STREAM_BYTE;
        bitWindow |= static_cast<std::uint64_t>(byte) << (BIT_WINDOW_BITS - 8 - bitCount);
        bitCount += 8;
    }
}

// Any count from 0 to CODE_BITS.
inline std::uint32_t SprDecoder::takeBits(int count) {
    if (bitCount < count) refillBits();
    // Shifted in two steps so that a count of 0 takes nothing rather than shifting by the whole width.
    const std::uint32_t bits = static_cast<std::uint32_t>((bitWindow >> 1) >> (BIT_WINDOW_BITS - 1 - count));
    bitWindow <<= count;
    bitCount -= count;
    return bits;
}

void SprDecoder::startCoder() {
    low = 0;
    high = LZARI_Q4;
    bitWindow = 0;
    bitCount = 0;
    value = takeBits(CODE_BITS);
    model = LzariSymbolModel();
}

// Doubles the interval, taking one code bit per doubling, until it straddles the middle of the scale without
// lying in its middle half. Which way each doubling goes is as unpredictable as the data, so it is done in
// two steps rather than one bit at a time. First the leading bits that low and top (high - 1) share are
// settled and shift out. The interval then straddles the middle; while it also lies in the middle half (low
// 01..., top 10...), each doubling around the middle drops the second bit of low, top and value and keeps the
// first. Where the interval lies both in the lower half and in the middle half, the algorithm doubles it
// around the middle; settling instead leaves every register Q2 higher, and the two ways meet again before the
// interval can straddle the middle, so the same symbols come out.
inline void SprDecoder::renormalise() {
    std::uint32_t top = high - 1;
    const int settled = leadingZeros(low ^ top);
    low = (low << settled) & CODE_MASK;
    top = ((top << settled) | ((1u << settled) - 1)) & CODE_MASK;
    value = ((value << settled) | takeBits(settled)) & CODE_MASK;

    const int middle = leadingOnesBelowTop(low & ~top);
    low = (low << middle) & HALF_MASK;
    top = LZARI_Q2 | ((top << middle) & HALF_MASK) | ((1u << middle) - 1);
    value = (value & LZARI_Q2) | ((value << middle) & HALF_MASK) | takeBits(middle);
    high = top + 1;
}

inline int SprDecoder::decodeChar() {
    const std::uint32_t range = high - low;
    const std::uint32_t total = model.total();
    const std::uint32_t x = ((value - low + 1) * total - 1) / range;
    const int sym = model.findSymbol(x);
    high = low + range * model.cumulative(sym - 1) / total;
    low += range * model.cumulative(sym) / total;
    renormalise();
    const int c = model.symToChar[sym];
    model.update(sym);
    return c;
}

inline int SprDecoder::decodePosition() {
    const LzariPositionModel& positions = lzariPositionModel();
    const std::uint16_t* cum = positions.positionCum;
    const std::uint32_t range = high - low;
    const std::uint32_t total = cum[0];
    const std::uint32_t x = ((value - low + 1) * total - 1) / range;
    const int position = positions.positionAt[x];
    high = low + range * cum[position] / total;
    low += range * cum[position + 1] / total;
    renormalise();
    return position;
}

bool SprDecoder::decode(Sink sink, void* context) {
    startCoder();
    // window[0 .. N) is the history before the first new byte. Its last N - F bytes are the spaces the ring
    // starts with; the F bytes before them stand for ring positions never written yet and read as 0.
    std::vector<std::uint8_t> window(LZARI_N + OUTPUT_CHUNK + LZARI_F, 0);
    std::memset(window.data() + LZARI_F, LZARI_FILL, LZARI_WINDOW_START);
    std::uint8_t* const base = window.data();
    std::uint8_t* const flushMark = base + LZARI_N + OUTPUT_CHUNK;
    std::uint8_t* out = base + LZARI_N;
    std::uint32_t count = 0;
    while (count < decodedSize) {
        const int c = decodeChar();
        if (c < 256) {
            *out++ = static_cast<std::uint8_t>(c);
            ++count;
        } else {
            const std::size_t distance = static_cast<std::size_t>(decodePosition()) + 1;
            const int length = c - LZARI_MATCH_BASE;
            copyMatch(out, out - distance, distance, static_cast<std::size_t>(length));
            out += length;
            count += static_cast<std::uint32_t>(length);
        }
        if (out >= flushMark) {
            if (!sink(context, base + LZARI_N, static_cast<std::size_t>(out - base) - LZARI_N)) return false;
            std::memmove(base, out - LZARI_N, LZARI_N);
            out = base + LZARI_N;
        }
    }
    return sink(context, base + LZARI_N, static_cast<std::size_t>(out - base) - LZARI_N);
}
