// pack, unpack and decode: the engine's image formats from the command line.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "graphics/bitmap_reader.h"
#include "graphics/spr_decoder.h"
#include "graphics/spr_encoder.h"
#include "tools/peltool/commands.h"

namespace {

bool writeFile(const char* path, const std::uint8_t* bytes, std::size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes, 1, size, file) == size;
    if (std::fclose(file) != 0) written = false;
    return written;
}

int fail(const char* what, const char* path) {
    std::fprintf(stderr, "peltool: %s %s\n", what, path);
    return 1;
}

}  // namespace

int packCommand(char** args) {
    std::vector<std::uint8_t> data;
    if (!readWholeFile(args[0], data)) return fail("cannot read", args[0]);
    std::vector<std::uint8_t> spr;
    if (!encodeSpr(data.data(), data.size(), spr)) {
        return fail(data.empty() ? "nothing to pack in" : "too large to pack:", args[0]);
    }
    if (!writeFile(args[1], spr.data(), spr.size())) return fail("cannot write", args[1]);
    return 0;
}

int unpackCommand(char** args) {
    // Runs exactly what the engine runs before loading an image.
    if (SprDecoder().convert(args[0], args[1]) != 1) return fail("cannot expand", args[0]);
    return 0;
}

int decodeCommand(char** args) {
    // A failure has already been printed, with the engine's own message.
    RgbImage* image = loadDibImage(args[0]);
    if (!image) return 1;
    char head[64];
    const int headSize = std::snprintf(head, sizeof head, "P6\n%d %d\n255\n", image->sizeX, image->sizeY);
    std::vector<std::uint8_t> ppm(head, head + headSize);
    const std::size_t row = static_cast<std::size_t>(image->sizeX) * 3;
    for (std::int32_t y = image->sizeY - 1; y >= 0; --y) {
        const std::uint8_t* start = image->data + static_cast<std::size_t>(y) * row;
        ppm.insert(ppm.end(), start, start + row);
    }
    freeRgbImage(image);
    if (!writeFile(args[1], ppm.data(), ppm.size())) return fail("cannot write", args[1]);
    return 0;
}
