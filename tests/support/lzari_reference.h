// A plain LZARI decoder written straight from the algorithm's description: a 4096-byte ring, one getc per
// input byte, one putc per output byte, linear model tables. The tests hold the engine's decoder to it on
// arbitrary code streams, and the benchmarks measure against it.
#pragma once

#include <cstdint>
#include <cstdio>

namespace reference {

class LzariDecoder {
public:
    // Decodes the code stream from `in` (positioned after the .spr header) into `out`.
    void decode(std::FILE* in, std::FILE* out, std::uint32_t decodedSize) {
        input = in;
        start();
        for (int i = 0; i < N - F; ++i)
            ring[i] = ' ';
        int r = N - F;
        std::uint32_t count = 0;
        while (count < decodedSize) {
            const int c = decodeChar();
            if (c < 256) {
                std::putc(c, out);
                ring[r] = static_cast<std::uint8_t>(c);
                r = (r + 1) & (N - 1);
                ++count;
                continue;
            }
            const int begin = (r - decodePosition() - 1) & (N - 1);
            const int length = c - 253;
            for (int k = 0; k < length; ++k) {
                const std::uint8_t byte = ring[(begin + k) & (N - 1)];
                std::putc(byte, out);
                ring[r] = byte;
                r = (r + 1) & (N - 1);
            }
            count += static_cast<std::uint32_t>(length);
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

    void start() {
        low = 0;
        high = Q4;
        value = 0;
        mask = 0;
        for (int i = 0; i < 17; ++i)
            value = 2 * value + getBit();
        symCum[N_CHAR] = 0;
        for (int sym = N_CHAR; sym >= 1; --sym) {
            charToSym[sym - 1] = sym;
            symToChar[sym] = sym - 1;
            symFreq[sym] = 1;
            symCum[sym - 1] = symCum[sym] + 1;
        }
        symFreq[0] = 0;
        positionCum[N] = 0;
        for (int i = N; i >= 1; --i)
            positionCum[i - 1] = positionCum[i] + 10000 / (i + 200);
    }

    void renormalise() {
        for (;;) {
            if (low >= Q2) {
                value -= Q2;
                low -= Q2;
                high -= Q2;
            } else if (low >= Q1 && high <= Q3) {
                value -= Q1;
                low -= Q1;
                high -= Q1;
            } else if (high > Q2) {
                break;
            }
            low += low;
            high += high;
            value = 2 * value + getBit();
        }
    }

    static int bisect(const std::uint32_t* cum, int hi, std::uint32_t x) {
        int lo = 1;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (cum[mid] > x) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        return lo;
    }

    void update(int sym) {
        if (symCum[0] >= MAX_CUM) {
            std::uint32_t c = 0;
            for (int i = N_CHAR; i > 0; --i) {
                symCum[i] = c;
                symFreq[i] = (symFreq[i] + 1) / 2;
                c += symFreq[i];
            }
            symCum[0] = c;
        }
        int i = sym;
        while (symFreq[i] == symFreq[i - 1])
            --i;
        if (i < sym) {
            const int charI = symToChar[i];
            const int charSym = symToChar[sym];
            symToChar[i] = charSym;
            symToChar[sym] = charI;
            charToSym[charI] = sym;
            charToSym[charSym] = i;
        }
        ++symFreq[i];
        while (--i >= 0)
            ++symCum[i];
    }

    int decodeChar() {
        const std::uint32_t range = high - low;
        const std::uint32_t x = ((value - low + 1) * symCum[0] - 1) / range;
        const int sym = bisect(symCum, N_CHAR, x);
        high = low + range * symCum[sym - 1] / symCum[0];
        low += range * symCum[sym] / symCum[0];
        renormalise();
        const int c = symToChar[sym];
        update(sym);
        return c;
    }

    int decodePosition() {
        const std::uint32_t range = high - low;
        const std::uint32_t x = ((value - low + 1) * positionCum[0] - 1) / range;
        const int position = bisect(positionCum, N, x) - 1;
        high = low + range * positionCum[position] / positionCum[0];
        low += range * positionCum[position + 1] / positionCum[0];
        renormalise();
        return position;
    }

    std::FILE* input = nullptr;
    std::uint32_t low = 0, high = 0, value = 0, buffer = 0, mask = 0;
    std::uint8_t ring[N] = {};
    int charToSym[N_CHAR] = {};
    int symToChar[N_CHAR + 1] = {};
    std::uint32_t symFreq[N_CHAR + 1] = {};
    std::uint32_t symCum[N_CHAR + 1] = {};
    std::uint32_t positionCum[N + 1] = {};
};

}  // namespace reference
