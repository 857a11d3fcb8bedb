// The pixel conversions behind the bitmap reader: stored rows or RLE runs to bottom-up R, G, B rows.
#pragma once

#include <cstddef>
#include <cstdint>

// A bitmap's header as the conversion needs it, its bounds already checked against the file.
struct DibLayout {
    std::int32_t width;   // > 0
    std::int32_t height;  // > 0 for bottom-up rows, < 0 for top-down rows
    int bitCount;         // 1, 4, 8, 16, 24 or 32
    std::uint32_t compression;
    std::uint8_t palette[256][3];  // R, G, B; entries past the file's palette are black
    const std::uint8_t* pixels;    // the stored pixel data, up to the end of the file
    std::size_t pixelBytes;
    std::size_t statedPixelBytes;  // what the headers say the pixel data takes; 0 when they do not say
};

constexpr std::uint32_t DIB_COMPRESSION_RGB = 0;
constexpr std::uint32_t DIB_COMPRESSION_RLE8 = 1;
constexpr std::uint32_t DIB_COMPRESSION_RLE4 = 2;

// Bytes of one stored uncompressed row, padded to four bytes.
std::size_t dibStride(std::int32_t width, int bitCount);

// Fills `out` (width x |height| x 3 bytes, bottom row first). False when the pixel data is malformed: too
// short for the rows, RLE codes that end inside a code, or RLE codes that end without an end mark before the
// size the headers state (a file cut short, which would otherwise show half black).
bool convertDibPixels(const DibLayout& layout, std::uint8_t* out);
