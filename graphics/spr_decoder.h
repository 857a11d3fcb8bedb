// Expands a .spr image (a 16-byte header and an LZARI code stream) into the bitmap file it was made from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "graphics/lzari_model.h"

class SprDecoder {
public:
    SprDecoder() = default;
    virtual ~SprDecoder() = default;

    SprDecoder(const SprDecoder&) = delete;
    SprDecoder& operator=(const SprDecoder&) = delete;

    // 1 when sprPath was expanded into bmpPath, 0 otherwise. A missing or unreadable sprPath leaves bmpPath
    // as it was; once sprPath is open, bmpPath is created or emptied, and a short header, a decodedSize of 0
    // or one above SPR_MAX_DECODED_SIZE leave it empty. With `expanded`, the bytes written also land there
    // (replaced; left empty unless the result is 1), so the caller need not read the file back.
    int convert(const char* sprPath, const char* bmpPath, std::vector<std::uint8_t>* expanded = nullptr);

    // The same expansion from a whole .spr file held in memory into `out` (replaced). False, with `out`
    // empty, when the header is short or its decodedSize is 0 or above maxDecodedSize.
    bool decodeMemory(const std::uint8_t* spr, std::size_t size, std::vector<std::uint8_t>& out,
                      std::uint32_t maxDecodedSize = SPR_MAX_DECODED_SIZE);

    // The header fields of the last expansion; only decodedSize means anything.
    std::uint8_t tag[3] = {};
    std::uint32_t decodedSize = 0;
    std::uint32_t reserved1 = 0;
    std::uint32_t reserved2 = 0;
    std::uint8_t reserved3 = 0;

private:
    // Receives the decoded bytes chunk by chunk; false stops the expansion (the output cannot be written).
    using Sink = bool (*)(void* context, const std::uint8_t* bytes, std::size_t size);

    bool readHeader(const std::uint8_t* header, std::uint32_t maxDecodedSize);
    bool decode(Sink sink, void* context);
    void startCoder();
    int decodeChar();
    int decodePosition();
    void renormalise();
    std::uint32_t takeBits(int count);
    void refillBits();
    void refillInput();

    // The code stream: the bytes at [in, inEnd), refilled from `input` when that is set.
    const std::uint8_t* in = nullptr;
    const std::uint8_t* inEnd = nullptr;
    std::FILE* input = nullptr;
    std::vector<std::uint8_t> inputBuffer;

    std::uint32_t low = 0;
    std::uint32_t high = 0;
    std::uint32_t value = 0;
    // Code bits not yet taken, first at the top; bitCount of them are valid.
    std::uint64_t bitWindow = 0;
    int bitCount = 0;
    LzariSymbolModel model;
};
