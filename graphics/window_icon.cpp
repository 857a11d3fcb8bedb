#include "graphics/window_icon.h"

#include <array>
#include <cstdint>

namespace {

constexpr int ICON_SIDE = 32;
constexpr std::size_t ICON_BYTES = std::size_t{ICON_SIDE} * ICON_SIDE * 4;

struct Rgba {
    std::uint8_t r, g, b, a;
};

// Deep blue field, three rows of warm bricks and a bright ball: the game at a glance.
Rgba iconPixel(int x, int y) {
    const Rgba background{12, 24, 64, 255};
    static const Rgba rowColours[] = {{230, 70, 40, 255}, {240, 170, 40, 255}, {90, 200, 120, 255}};
    if (y >= 4 && y < 16) {
        const int row = (y - 4) / 4;
        const int brickX = (x + (row % 2) * 4) % 8;
        const bool mortar = (y - 4) % 4 == 3 || brickX == 7;
        return mortar ? background : rowColours[row];
    }
    const int dx = x - 16, dy = y - 23;
    if (dx * dx + dy * dy <= 16) return Rgba{255, 255, 255, 255};
    if (y >= 29 && y < 31 && x >= 8 && x < 24) return Rgba{120, 180, 255, 255};
    return background;
}

}  // namespace

const plat::IconImage& windowIcon() {
    static std::array<std::uint8_t, ICON_BYTES> pixels = [] {
        std::array<std::uint8_t, ICON_BYTES> rgba{};
        for (int y = 0; y < ICON_SIDE; ++y) {
            for (int x = 0; x < ICON_SIDE; ++x) {
                const Rgba p = iconPixel(x, y);
                std::uint8_t* out =
                    &rgba[(static_cast<std::size_t>(y) * ICON_SIDE + static_cast<std::size_t>(x)) * 4];
                out[0] = p.r;
                out[1] = p.g;
                out[2] = p.b;
                out[3] = p.a;
            }
        }
        return rgba;
    }();
    static const plat::IconImage icon{ICON_SIDE, ICON_SIDE, pixels.data()};
    return icon;
}
