#include "tools/icongen/png_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

namespace {

constexpr std::size_t STORED_BLOCK_MAX = 65535;
constexpr std::uint8_t BIT_DEPTH = 8;
constexpr std::uint8_t COLOUR_TYPE_PALETTE = 3;
constexpr std::uint8_t COMPRESSION_DEFLATE = 0;
constexpr std::uint8_t FILTERING_ADAPTIVE = 0;
constexpr std::uint8_t INTERLACE_NONE = 0;
constexpr std::uint8_t FILTER_NONE = 0;
constexpr std::uint8_t OPAQUE = 255;
constexpr std::uint32_t ADLER_MODULUS = 65521;
// zlib header: deflate with a 32 KiB window, no dictionary, check bits making the pair a multiple of 31.
constexpr std::uint8_t ZLIB_CMF = 0x78;
constexpr std::uint8_t ZLIB_FLG = 0x01;
constexpr std::uint8_t PNG_SIGNATURE[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

using Bytes = std::string;

std::uint32_t crc32(const Bytes& bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < t.size(); ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1U) ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFU;
    for (const char byte : bytes)
        c = table[(c ^ static_cast<std::uint8_t>(byte)) & 0xFFU] ^ (c >> 8);
    return c ^ 0xFFFFFFFFU;
}

std::uint32_t adler32(const Bytes& bytes) {
    std::uint32_t a = 1, b = 0;
    for (const char byte : bytes) {
        a = (a + static_cast<std::uint8_t>(byte)) % ADLER_MODULUS;
        b = (b + a) % ADLER_MODULUS;
    }
    return (b << 16) | a;
}

void putByte(Bytes& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFFU));
}

void putBigEndian32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        putByte(out, value >> shift);
}

// A chunk: length, type, data, and the CRC of type and data.
void putChunk(Bytes& out, const char* type, const Bytes& data) {
    const Bytes typed = type + data;
    putBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    out += typed;
    putBigEndian32(out, crc32(typed));
}

// The zlib stream of the raw rows in stored blocks: each block holds its length and its complement, little
// end first, and the stream ends with the Adler-32 of the uncompressed bytes.
Bytes zlibStored(const Bytes& raw) {
    Bytes out;
    putByte(out, ZLIB_CMF);
    putByte(out, ZLIB_FLG);
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min(STORED_BLOCK_MAX, raw.size() - offset);
        const bool last = offset + length == raw.size();
        putByte(out, last ? 1U : 0U);
        putByte(out, static_cast<unsigned>(length));
        putByte(out, static_cast<unsigned>(length >> 8));
        putByte(out, static_cast<unsigned>(~length));
        putByte(out, static_cast<unsigned>(~length >> 8));
        out.append(raw, offset, length);
        offset += length;
    } while (offset < raw.size());
    putBigEndian32(out, adler32(raw));
    return out;
}

bool consistent(const PalettePicture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return false;
    if (picture.palette.empty() || picture.palette.size() > PNG_PALETTE_MAX) return false;
    const std::size_t pixels =
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    if (picture.indices.size() != pixels) return false;
    for (const std::uint8_t index : picture.indices) {
        if (index >= picture.palette.size()) return false;
    }
    return true;
}

Bytes encode(const PalettePicture& picture) {
    Bytes header;
    putBigEndian32(header, static_cast<std::uint32_t>(picture.width));
    putBigEndian32(header, static_cast<std::uint32_t>(picture.height));
    for (const std::uint8_t field :
         {BIT_DEPTH, COLOUR_TYPE_PALETTE, COMPRESSION_DEFLATE, FILTERING_ADAPTIVE, INTERLACE_NONE}) {
        putByte(header, field);
    }
    Bytes colours, alphas;
    bool translucent = false;
    for (const PaletteColour& colour : picture.palette) {
        putByte(colours, colour.r);
        putByte(colours, colour.g);
        putByte(colours, colour.b);
        putByte(alphas, colour.a);
        translucent = translucent || colour.a != OPAQUE;
    }
    Bytes raw;
    const auto width = static_cast<std::size_t>(picture.width);
    for (std::size_t row = 0; row < static_cast<std::size_t>(picture.height); ++row) {
        putByte(raw, FILTER_NONE);
        raw.append(reinterpret_cast<const char*>(&picture.indices[row * width]), width);
    }
    Bytes png(reinterpret_cast<const char*>(PNG_SIGNATURE), sizeof PNG_SIGNATURE);
    putChunk(png, "IHDR", header);
    putChunk(png, "PLTE", colours);
    if (translucent) putChunk(png, "tRNS", alphas);
    putChunk(png, "IDAT", zlibStored(raw));
    putChunk(png, "IEND", Bytes());
    return png;
}

}  // namespace

bool writePalettePng(const char* path, const PalettePicture& picture) {
    if (!consistent(picture)) return false;
    const Bytes png = encode(picture);
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && written;
}
