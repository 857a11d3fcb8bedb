// Reads Windows bitmap files into 24-bit R, G, B pictures: 12- or 40-byte info headers, with or without the
// 14-byte file header, 1, 4, 8, 16 (5-5-5), 24 and 32 bits per pixel, uncompressed, RLE4 or RLE8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture of sizeX x sizeY pixels, 3 bytes each (R, G, B), rows tightly packed, bottom row first. The
// caller owns it and releases it with freeRgbImage.
struct RgbImage {
    std::int32_t sizeX;
    std::int32_t sizeY;
    std::uint8_t* data;
};

// Outcome of reading a bitmap, one per message the player may see.
enum DibResult {
    DIB_OK,
    DIB_OPEN_FAILED,       // "Failed to open DIB file %s.\n"
    DIB_OUT_OF_MEMORY,     // "Out of memory."
    DIB_UNKNOWN_FORMAT,    // "Unknown DIB file format."
    DIB_CONVERSION_ERROR,  // "Image file conversion error."
};

// Largest picture accepted, in bytes of R, G, B data; a larger one fails as out of memory.
constexpr std::size_t DIB_MAX_PIXEL_BYTES = std::size_t{256} << 20;

// Reads fileName as a bitmap. On failure shows the reason in a message box (caption "Error") and returns
// null.
RgbImage* loadDibImage(const char* fileName);
// The same for the file's bytes, already in memory; fileName only names the file in the message.
RgbImage* loadDibImage(const char* fileName, const std::uint8_t* bytes, std::size_t size);

// The same reading from a whole file held in memory, without any message. On DIB_OK *image is the picture;
// otherwise *image is null. A bitmap stored top-down comes out bottom-up like any other, with a positive
// sizeY.
DibResult decodeDibImage(const std::uint8_t* bytes, std::size_t size, RgbImage** image,
                         std::size_t maxPixelBytes = DIB_MAX_PIXEL_BYTES);

// Releases the pixels, then the record. Null is allowed.
void freeRgbImage(RgbImage* image);

// Reads a whole file, opened by the program's own relative path, into `bytes`. False when it cannot be opened
// or a read fails.
bool readWholeFile(const char* fileName, std::vector<std::uint8_t>& bytes);
