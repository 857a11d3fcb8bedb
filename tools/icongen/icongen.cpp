// icongen SIZE OUT.png: draws the window icon at SIZE x SIZE pixels (nearest neighbour, so its pixel-art
// edges stay sharp) and writes it as a palette PNG for application menus.
#include <cstdio>
#include <cstdlib>

#include "graphics/window_icon.h"
#include "tools/icongen/png_writer.h"

namespace {

constexpr int EXIT_USAGE = 2;
constexpr int ICON_SIZE_MIN = 16;
constexpr int ICON_SIZE_MAX = 512;
constexpr std::size_t RGBA_BYTES = 4;

// The colour's index, added to the palette when new; -1 when the palette is full.
int paletteIndex(std::vector<PaletteColour>& palette, const std::uint8_t* rgba) {
    const PaletteColour colour{rgba[0], rgba[1], rgba[2], rgba[3]};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const PaletteColour& known = palette[i];
        if (known.r == colour.r && known.g == colour.g && known.b == colour.b && known.a == colour.a) {
            return static_cast<int>(i);
        }
    }
    if (palette.size() == PNG_PALETTE_MAX) return -1;
    palette.push_back(colour);
    return static_cast<int>(palette.size() - 1);
}

// False when the icon has more colours than a palette holds.
bool drawIcon(int size, PalettePicture& picture) {
    const plat::IconImage& icon = windowIcon();
    picture = PalettePicture{size, size, {}, {}};
    picture.indices.reserve(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int sourceX = x * icon.width / size;
            const int sourceY = y * icon.height / size;
            const auto pixel = static_cast<std::size_t>(sourceY) * static_cast<std::size_t>(icon.width) +
                               static_cast<std::size_t>(sourceX);
            const std::uint8_t* rgba = icon.rgba + pixel * RGBA_BYTES;
            const int index = paletteIndex(picture.palette, rgba);
            if (index < 0) return false;
            picture.indices.push_back(static_cast<std::uint8_t>(index));
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: icongen SIZE OUT.png\n");
        return EXIT_USAGE;
    }
    char* end = nullptr;
    const long size = std::strtol(argv[1], &end, 10);
    if (*end != '\0' || size < ICON_SIZE_MIN || size > ICON_SIZE_MAX) {
        std::fprintf(stderr, "icongen: SIZE must be a number of pixels from %d to %d\n", ICON_SIZE_MIN,
                     ICON_SIZE_MAX);
        return EXIT_USAGE;
    }
    PalettePicture picture;
    if (!drawIcon(static_cast<int>(size), picture)) {
        std::fprintf(stderr, "icongen: the icon has more than %zu colours\n", PNG_PALETTE_MAX);
        return 1;
    }
    if (!writePalettePng(argv[2], picture)) {
        std::fprintf(stderr, "icongen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
