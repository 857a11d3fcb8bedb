// A plain LZARI decoder straight from the algorithm's description (a 4096-byte ring, getc and putc, linear
// model tables): the spr fuzzer's oracle for the engine's decoder, and the benchmarks' baseline.
#pragma once

#include <cstdint>
#include <cstdio>

namespace reference {

class LzariDecoder {
public:
    // Decodes the code stream from `in` (positioned after the .spr header) into `out`. One object per stream.
    void decode(std::FILE* in, std::FILE* out, std::uint32_t decodedSize) {
        input = in;
        for (int i = 0; i < 17; ++i)
            value = 2 * value + getBit();
        for (int sym = N_CHAR; sym >= 1; --sym) {
            symToChar[sym] = sym - 1;
            symFreq[sym] = 1;
            symCum[sym - 1] = symCum[sym] + 1;
        }
        for (int i = N; i >= 1; --i)
            positionCum[i - 1] = positionCum[i] + 10000 / (i + 200);
        int r = N - F;
        for (int i = 0; i < r; ++i)
            ring[i] = ' ';
        for (std::uint32_t count = 0; count < decodedSize;) {
            const int c = decodeChar();
            const int begin = c < 256 ? 0 : (r - decodeEntry(positionCum, N)) & (N - 1);
            for (int k = 0; k < (c < 256 ? 1 : c - 253); ++k, ++count) {
                ring[r] = c < 256 ? static_cast<std::uint8_t>(c) : ring[(begin + k) & (N - 1)];
                std::putc(ring[r], out);
                r = (r + 1) & (N - 1);
            }
        }
    }

private:
    static constexpr int N = 4096, F = 60, N_CHAR = 314;
    static constexpr std::uint32_t Q1 = 32768, Q2 = 65536, Q3 = 98304, Q4 = 131072, MAX_CUM = Q1 - 1;

    std::uint32_t getBit() {
        if ((mask >>= 1) == 0) {
            buffer = static_cast<std::uint32_t>(std::getc(input));  // EOF reads as all one bits
            mask = 0x80;
        }
        return (buffer & mask) != 0;
    }

    // Bisects the falling table cum for k with cum[k - 1] > x >= cum[k], narrows to it and renormalises.
    int decodeEntry(const std::uint32_t* cum, int last) {
        const std::uint32_t range = high - low;
        const std::uint32_t x = ((value - low + 1) * cum[0] - 1) / range;
        int lo = 1;
        for (int hi = last; lo < hi;) {
            const int mid = (lo + hi) / 2;
            if (cum[mid] > x) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        high = low + range * cum[lo - 1] / cum[0];
        low += range * cum[lo] / cum[0];
        // Until the interval straddles the middle: drop the half (or middle half) it lies in, take in a bit.
        for (;;) {
            const std::uint32_t shift = low >= Q2 ? Q2 : (low >= Q1 && high <= Q3 ? Q1 : 0);
            if (shift == 0 && high > Q2) return lo;
            low = 2 * (low - shift);
            high = 2 * (high - shift);
            value = 2 * (value - shift) + getBit();
        }
    }

    // A symbol: a literal byte below 256, a match length code from 256. The model halves its frequencies
    // when their total reaches MAX_CUM, then moves the symbol in front of the others of its frequency.
    int decodeChar() {
        const int sym = decodeEntry(symCum, N_CHAR);
        const int c = symToChar[sym];
        if (symCum[0] >= MAX_CUM) {
            std::uint32_t total = 0;
            for (int i = N_CHAR; i > 0; --i) {
                symCum[i] = total;
                symFreq[i] = (symFreq[i] + 1) / 2;
                total += symFreq[i];
            }
            symCum[0] = total;
        }
        int i = sym;
        while (symFreq[i] == symFreq[i - 1])
            --i;
        symToChar[sym] = symToChar[i];
        symToChar[i] = c;
        ++symFreq[i];
        while (--i >= 0)
            ++symCum[i];
        return c;
    }

    std::FILE* input = nullptr;
    std::uint32_t low = 0, high = Q4, value = 0, buffer = 0, mask = 0;
    std::uint8_t ring[N] = {};
    int symToChar[N_CHAR + 1] = {};
    std::uint32_t symFreq[N_CHAR + 1] = {};
    std::uint32_t symCum[N_CHAR + 1] = {};
    std::uint32_t positionCum[N + 1] = {};
};

}  // namespace reference
