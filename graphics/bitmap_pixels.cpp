#include "graphics/bitmap_pixels.h"

#include <cstring>

namespace {

// RLE escape codes, the second byte after a zero count.
constexpr std::uint8_t RLE_END_OF_LINE = 0;
constexpr std::uint8_t RLE_END_OF_BITMAP = 1;
constexpr std::uint8_t RLE_DELTA = 2;

// Scales a 5-bit channel to 8 bits by repeating its top bits, so 0 stays black and 31 becomes full 255.
std::uint8_t expand5(std::uint32_t v) {
    return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}

void putIndexed(const DibLayout& layout, std::uint8_t* pixel, std::uint32_t index) {
    std::memcpy(pixel, layout.palette[index & 0xFF], 3);
}

void convertRow(const DibLayout& layout, const std::uint8_t* row, std::uint8_t* out) {
    const auto width = static_cast<std::size_t>(layout.width);
    switch (layout.bitCount) {
        case 1:
        case 4:
        case 8: {
            const std::size_t bits = layout.bitCount;
            const std::uint32_t mask = (1u << bits) - 1;
            for (std::size_t x = 0; x < width; ++x) {
                const std::size_t bit = x * bits;
                const std::uint32_t index =
                    static_cast<std::uint32_t>(row[bit / 8] >> (8 - bits - bit % 8)) & mask;
                putIndexed(layout, out + 3 * x, index);
            }
            break;
        }
        case 16:
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint32_t v = row[2 * x] | static_cast<std::uint32_t>(row[2 * x + 1]) << 8;
                out[3 * x] = expand5((v >> 10) & 31);
                out[3 * x + 1] = expand5((v >> 5) & 31);
                out[3 * x + 2] = expand5(v & 31);
            }
            break;
        default: {
            const std::size_t step =
                layout.bitCount / 8u;  // 24 or 32 bits: B, G, R and, at 32, one unused byte
            for (std::size_t x = 0; x < width; ++x) {
                out[3 * x] = row[step * x + 2];
                out[3 * x + 1] = row[step * x + 1];
                out[3 * x + 2] = row[step * x];
            }
            break;
        }
    }
}

bool convertRows(const DibLayout& layout, std::uint8_t* out) {
    const std::size_t stride = dibStride(layout.width, layout.bitCount);
    const std::size_t rows = static_cast<std::size_t>(
        layout.height < 0 ? -static_cast<std::int64_t>(layout.height) : layout.height);
    // The last row may lack its padding; every pixel must be in the file.
    const std::size_t lastRowBytes =
        (static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.bitCount) + 7) / 8;
    if (layout.pixelBytes < stride * (rows - 1) + lastRowBytes) return false;
    const std::size_t outStride = static_cast<std::size_t>(layout.width) * 3;
    for (std::size_t r = 0; r < rows; ++r) {
        // Top-down files store the top row first; the picture keeps the bottom row first either way.
        const std::size_t stored = layout.height < 0 ? rows - 1 - r : r;
        convertRow(layout, layout.pixels + stored * stride, out + r * outStride);
    }
    return true;
}

// Walks the RLE codes, painting pixels at a cursor that runs along the rows from the bottom. Pixels no code
// reaches stay black; runs past the end of a row are cut off there.
class RleReader {
public:
    RleReader(const DibLayout& source, std::uint8_t* target) : layout(source), out(target) {}

    bool run();

private:
    void paint(std::uint32_t index) {
        if (x >= layout.width) return;
        if (y < layout.height) {
            putIndexed(layout, out + static_cast<std::size_t>(y * layout.width + x) * 3, index);
        }
        ++x;
    }
    // Pixel k of a run or literal: RLE4 alternates the two nibbles of its byte, high first.
    std::uint32_t pixelOf(std::uint8_t byte, int k) const {
        if (layout.bitCount == 8) return byte;
        return k % 2 == 0 ? static_cast<std::uint32_t>(byte >> 4) : static_cast<std::uint32_t>(byte & 0x0F);
    }
    bool literal(int count);

    const DibLayout& layout;
    std::uint8_t* out;
    std::size_t at = 0;
    // Wide enough that no number of deltas can overflow them.
    std::int64_t x = 0;
    std::int64_t y = 0;
};

bool RleReader::literal(int count) {
    const std::size_t bytes =
        layout.bitCount == 8 ? static_cast<std::size_t>(count) : static_cast<std::size_t>(count + 1) / 2;
    if (layout.pixelBytes - at < bytes) return false;
    const std::uint8_t* data = layout.pixels + at;
    for (int k = 0; k < count; ++k) {
        paint(pixelOf(data[layout.bitCount == 8 ? k : k / 2], k));
    }
    // Literal runs are padded to a 16-bit boundary; a file may end without the last padding byte.
    at += bytes;
    if ((bytes & 1) != 0 && at < layout.pixelBytes) ++at;
    return true;
}

bool RleReader::run() {
    const std::uint8_t* data = layout.pixels;
    while (y < layout.height) {
        // Codes that end without an end mark are whole only when they fill what the headers state.
        if (layout.pixelBytes - at < 2) return at == layout.pixelBytes && at >= layout.statedPixelBytes;
        const std::uint8_t count = data[at];
        const std::uint8_t code = data[at + 1];
        at += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                paint(pixelOf(code, k));
        } else if (code == RLE_END_OF_LINE) {
            x = 0;
            ++y;
        } else if (code == RLE_END_OF_BITMAP) {
            return true;
        } else if (code == RLE_DELTA) {
            if (layout.pixelBytes - at < 2) return false;
            x += data[at];
            y += data[at + 1];
            at += 2;
        } else if (!literal(code)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::size_t dibStride(std::int32_t width, int bitCount) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32 * 4;
}

bool convertDibPixels(const DibLayout& layout, std::uint8_t* out) {
    if (layout.compression == DIB_COMPRESSION_RGB) return convertRows(layout, out);
    return RleReader(layout, out).run();
}
