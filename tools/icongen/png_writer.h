// A PNG writer for small palette pictures: no compression (stored deflate blocks), so it needs no zlib and
// the same picture always gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::size_t PNG_PALETTE_MAX = 256;

struct PaletteColour {
    std::uint8_t r, g, b, a;
};

struct PalettePicture {
    int width;
    int height;
    std::vector<PaletteColour> palette;  // at most PNG_PALETTE_MAX colours
    std::vector<std::uint8_t> indices;   // width * height palette indices, top row first
};

// Writes the picture as an 8-bit palette PNG; the alpha of the colours goes to a tRNS chunk when any is not
// opaque. False when the picture is inconsistent or the file cannot be written in full.
bool writePalettePng(const char* path, const PalettePicture& picture);
