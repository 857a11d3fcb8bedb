#include "graphics/bitmap_reader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/bitmap_pixels.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::size_t FILE_SIZE_FIELD = 2;
constexpr std::size_t PIXEL_OFFSET_FIELD = 10;
constexpr std::size_t IMAGE_SIZE_FIELD = 20;  // in the 40-byte info header
constexpr std::uint32_t CORE_HEADER_SIZE = 12;
constexpr std::uint32_t INFO_HEADER_SIZE = 40;
constexpr std::size_t CORE_PALETTE_ENTRY = 3;  // B, G, R
constexpr std::size_t INFO_PALETTE_ENTRY = 4;  // B, G, R, unused
constexpr std::size_t MESSAGE_SIZE = 512;

constexpr const char* MESSAGE_CAPTION = "Error";
constexpr const char* MESSAGE_OPEN_FAILED = "Failed to open DIB file %s.\n";
constexpr const char* MESSAGE_OUT_OF_MEMORY = "Out of memory.";
constexpr const char* MESSAGE_UNKNOWN_FORMAT = "Unknown DIB file format.";
constexpr const char* MESSAGE_CONVERSION_ERROR = "Image file conversion error.";

std::uint16_t readLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t readLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The info header's fields, from either header size.
struct InfoHeader {
    std::uint32_t size;
    std::int32_t width;
    std::int32_t height;
    int bitCount;
    std::uint32_t compression;
    std::uint32_t imageSize;
    std::uint32_t colorsUsed;
};

InfoHeader parseInfoHeader(const std::uint8_t* p, std::uint32_t size) {
    InfoHeader h{size, 0, 0, 0, DIB_COMPRESSION_RGB, 0, 0};
    if (size == CORE_HEADER_SIZE) {
        h.width = readLe16(p + 4);
        h.height = readLe16(p + 6);
        h.bitCount = readLe16(p + 10);
    } else {
        h.width = static_cast<std::int32_t>(readLe32(p + 4));
        h.height = static_cast<std::int32_t>(readLe32(p + 8));
        h.bitCount = readLe16(p + 14);
        h.compression = readLe32(p + 16);
        h.imageSize = readLe32(p + IMAGE_SIZE_FIELD);
        h.colorsUsed = readLe32(p + 32);
    }
    return h;
}

// Palette entries that follow the header: colours-used when given, otherwise the full set of an indexed
// format.
std::size_t paletteCount(const InfoHeader& h) {
    if (h.colorsUsed != 0) return h.colorsUsed;
    switch (h.bitCount) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

bool supportedEncoding(const InfoHeader& h) {
    switch (h.compression) {
        case DIB_COMPRESSION_RGB:
            return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
                   h.bitCount == 24 || h.bitCount == 32;
        case DIB_COMPRESSION_RLE8:
            return h.bitCount == 8 && h.height > 0;  // RLE pictures are always stored bottom-up
        case DIB_COMPRESSION_RLE4:
            return h.bitCount == 4 && h.height > 0;
        default:
            return false;  // bit-field masks and anything newer are not handled
    }
}

// Fills the layout from the file's bytes: header, palette and where the pixels are, every bound checked.
DibResult readLayout(const std::uint8_t* bytes, std::size_t size, DibLayout& layout) {
    const bool hasFileHeader = size >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    const std::size_t infoStart = hasFileHeader ? FILE_HEADER_SIZE : 0;
    if (size < infoStart + 4) return DIB_UNKNOWN_FORMAT;
    const std::uint32_t headerSize = readLe32(bytes + infoStart);
    if (headerSize != CORE_HEADER_SIZE && headerSize != INFO_HEADER_SIZE) return DIB_UNKNOWN_FORMAT;
    if (size - infoStart < headerSize) return DIB_UNKNOWN_FORMAT;
    const InfoHeader h = parseInfoHeader(bytes + infoStart, headerSize);
    if (h.width <= 0 || h.height == 0 || !supportedEncoding(h)) return DIB_CONVERSION_ERROR;

    const std::size_t entrySize = headerSize == CORE_HEADER_SIZE ? CORE_PALETTE_ENTRY : INFO_PALETTE_ENTRY;
    const std::size_t paletteStart = infoStart + headerSize;
    const std::size_t colors = paletteCount(h);
    if (colors > (size - paletteStart) / entrySize) return DIB_CONVERSION_ERROR;
    std::memset(layout.palette, 0, sizeof layout.palette);
    for (std::size_t i = 0; i < colors && i < 256; ++i) {
        const std::uint8_t* entry = bytes + paletteStart + i * entrySize;
        layout.palette[i][0] = entry[2];
        layout.palette[i][1] = entry[1];
        layout.palette[i][2] = entry[0];
    }
    const std::size_t pixelStart =
        hasFileHeader ? readLe32(bytes + PIXEL_OFFSET_FIELD) : paletteStart + colors * entrySize;
    if (pixelStart > size) return DIB_CONVERSION_ERROR;

    layout.width = h.width;
    layout.height = h.height;
    layout.bitCount = h.bitCount;
    layout.compression = h.compression;
    layout.pixels = bytes + pixelStart;
    layout.pixelBytes = size - pixelStart;
    // The image size when the info header gives one, else what the file header's file size leaves for pixels.
    const std::size_t statedFileSize = hasFileHeader ? readLe32(bytes + FILE_SIZE_FIELD) : 0;
    layout.statedPixelBytes = h.imageSize != 0              ? h.imageSize
                              : statedFileSize > pixelStart ? statedFileSize - pixelStart
                                                            : 0;
    return DIB_OK;
}

// From the C heap, as the caller releases it: the pixels, then the record.
RgbImage* newImage(std::int32_t width, std::int32_t rows, std::size_t pixelBytes) {
    auto* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    if (!image) return nullptr;
    // Zeroed: pixels an RLE picture never paints are black.
    auto* data = static_cast<std::uint8_t*>(std::calloc(pixelBytes, 1));
    if (!data) {
        std::free(image);
        return nullptr;
    }
    *image = RgbImage{width, rows, data};
    return image;
}

void showError(const char* text) {
    plat::messageBox(plat::getFocus(), text, MESSAGE_CAPTION, MB_OK);
}

}  // namespace

bool readWholeFile(const char* fileName, std::vector<std::uint8_t>& bytes) {
    std::FILE* file = plat::openFile(fileName, "rb");
    if (!file) return false;
    std::uint8_t chunk[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool complete = std::ferror(file) == 0;
    std::fclose(file);
    return complete;
}

DibResult decodeDibImage(const std::uint8_t* bytes, std::size_t size, RgbImage** image,
                         std::size_t maxPixelBytes) {
    *image = nullptr;
    if (!bytes || size == 0) return DIB_OPEN_FAILED;
    DibLayout layout;
    const DibResult result = readLayout(bytes, size, layout);
    if (result != DIB_OK) return result;
    const std::int64_t rows = layout.height < 0 ? -static_cast<std::int64_t>(layout.height) : layout.height;
    const std::uint64_t pixelBytes =
        static_cast<std::uint64_t>(layout.width) * static_cast<std::uint64_t>(rows) * 3;
    if (pixelBytes > maxPixelBytes) return DIB_OUT_OF_MEMORY;
    RgbImage* decoded =
        newImage(layout.width, static_cast<std::int32_t>(rows), static_cast<std::size_t>(pixelBytes));
    if (!decoded) return DIB_OUT_OF_MEMORY;
    if (!convertDibPixels(layout, decoded->data)) {
        freeRgbImage(decoded);
        return DIB_CONVERSION_ERROR;
    }
    *image = decoded;
    return DIB_OK;
}

RgbImage* loadDibImage(const char* fileName) {
    // Decoded straight from the file's mapped bytes. A file that cannot be mapped counts as one that cannot
    // be opened, as an empty one does.
    std::size_t size = 0;
    const std::uint8_t* view = plat::mapFile(fileName, &size);
    RgbImage* image = loadDibImage(fileName, view, size);
    plat::unmapFile(view, size);
    return image;
}

RgbImage* loadDibImage(const char* fileName, const std::uint8_t* bytes, std::size_t size) {
    RgbImage* image = nullptr;
    switch (decodeDibImage(bytes, size, &image)) {
        case DIB_OK:
            return image;
        case DIB_OPEN_FAILED: {
            char text[MESSAGE_SIZE];
            std::snprintf(text, sizeof text, MESSAGE_OPEN_FAILED, fileName ? fileName : "");
            showError(text);
            break;
        }
        case DIB_OUT_OF_MEMORY:
            showError(MESSAGE_OUT_OF_MEMORY);
            break;
        case DIB_UNKNOWN_FORMAT:
            showError(MESSAGE_UNKNOWN_FORMAT);
            break;
        case DIB_CONVERSION_ERROR:
            showError(MESSAGE_CONVERSION_ERROR);
            break;
    }
    return nullptr;
}

void freeRgbImage(RgbImage* image) {
    if (!image) return;
    std::free(image->data);
    std::free(image);
}
