// The full-screen backgrounds (opaque) and the scrolling strips: lava, the glow strip and the wall.
#include <cmath>

#include "tools/artgen/pictures.h"

namespace art {

namespace {

constexpr float PI = 3.14159265f;
constexpr int BACKGROUND_SIDE = 512;  // drawn stretched to 640 x 480
constexpr int STRIP_WIDTH = 256;
constexpr int STRIP_HEIGHT = 128;
constexpr int WALL_SIDE = 64;

const Colour SPACE_TOP = {0.015f, 0.025f, 0.09f};
const Colour SPACE_BOTTOM = {0.04f, 0.035f, 0.13f};
const Colour NEBULA_BLUE = {0.12f, 0.2f, 0.55f};
const Colour NEBULA_VIOLET = {0.35f, 0.08f, 0.42f};
const Colour LAVA_GLOW = {0.75f, 0.2f, 0.03f};

float u01(int x, int size) {
    return (static_cast<float>(x) + 0.5f) / static_cast<float>(size);
}

// Small soft stars at hashed places; brighter ones get a faint cross.
void scatterStars(Canvas& canvas, int count, float brightness, std::uint32_t seed) {
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<std::uint32_t>(i);
        const float sx = hash01(index, 1, seed) * static_cast<float>(canvas.width());
        const float sy = hash01(index, 2, seed) * static_cast<float>(canvas.height());
        const float power = brightness * std::pow(hash01(index, 3, seed), 3.0f);
        const Colour tint = mix(Colour{0.7f, 0.8f, 1.0f}, Colour{1.0f, 0.9f, 0.75f}, hash01(index, 4, seed));
        const int cx = static_cast<int>(sx);
        const int cy = static_cast<int>(sy);
        for (int dy = -3; dy <= 3; ++dy) {
            for (int dx = -3; dx <= 3; ++dx) {
                const float fx = static_cast<float>(cx + dx) + 0.5f - sx;
                const float fy = static_cast<float>(cy + dy) + 0.5f - sy;
                float light = std::exp(-(fx * fx + fy * fy) * 2.2f);
                if (power > 0.5f * brightness && (dx == 0 || dy == 0))
                    light += 0.15f / (1.0f + fx * fx + fy * fy);
                canvas.add(cx + dx, cy + dy, tint * (light * power));
            }
        }
    }
}

Colour nebula(float u, float v, float strength, std::uint32_t seed) {
    const float blue = smoothstep(0.42f, 0.8f, tiledFbm(u, v, 3, 3, 6, seed));
    const float violet = smoothstep(0.5f, 0.85f, tiledFbm(u, v, 4, 4, 6, seed + 7));
    return (NEBULA_BLUE * blue + NEBULA_VIOLET * (violet * 0.7f)) * strength;
}

float vignette(float u, float v) {
    const float dx = u - 0.5f;
    const float dy = v - 0.5f;
    return 1.0f - 0.9f * (dx * dx + dy * dy);
}

// Heat rising from below the screen: the lava under the play field.
Colour lavaHorizon(float u, float v, float height, float strength, std::uint32_t seed) {
    const float flicker = 0.7f + 0.6f * tiledFbm(u, v, 8, 2, 4, seed);
    const float glow = std::exp(-(1.0f - v) / height) * flicker;
    return LAVA_GLOW * (glow * strength);
}

// A faint grid of cells, drawn toward the bottom more strongly, like a floor under the field.
float gridLine(int x, int y, int cell) {
    const bool onLine = x % cell == 0 || y % cell == 0;
    return onLine ? 1.0f : 0.0f;
}

}  // namespace

Canvas menuBackground() {
    Canvas canvas(BACKGROUND_SIDE, BACKGROUND_SIDE);
    for (int y = 0; y < BACKGROUND_SIDE; ++y) {
        for (int x = 0; x < BACKGROUND_SIDE; ++x) {
            const float u = u01(x, BACKGROUND_SIDE);
            const float v = u01(y, BACKGROUND_SIDE);
            Colour c = mix(SPACE_TOP, SPACE_BOTTOM, v) + nebula(u, v, 0.55f, 11);
            c = c + lavaHorizon(u, v, 0.12f, 0.55f, 12);
            canvas.at(x, y) = c * vignette(u, v);
        }
    }
    scatterStars(canvas, 420, 0.9f, 13);
    return canvas;
}

Canvas playBackground() {
    constexpr int GRID_CELL = 32;
    Canvas canvas(BACKGROUND_SIDE, BACKGROUND_SIDE);
    for (int y = 0; y < BACKGROUND_SIDE; ++y) {
        for (int x = 0; x < BACKGROUND_SIDE; ++x) {
            const float u = u01(x, BACKGROUND_SIDE);
            const float v = u01(y, BACKGROUND_SIDE);
            Colour c = mix(SPACE_TOP, SPACE_BOTTOM, v) * 0.8f + nebula(u, v, 0.3f, 21);
            const float grid = gridLine(x, y, GRID_CELL) * (0.04f + 0.1f * v * v);
            c = c + Colour{0.25f, 0.45f, 1.0f} * grid;
            c = c + lavaHorizon(u, v, 0.08f, 0.8f, 22);
            canvas.at(x, y) = c * vignette(u, v);
        }
    }
    scatterStars(canvas, 160, 0.55f, 23);
    return canvas;
}

// Molten veins on dark rock; tiles both ways because it scrolls diagonally, and is added over the logo.
Canvas lava() {
    Canvas canvas(STRIP_WIDTH, STRIP_HEIGHT);
    for (int y = 0; y < STRIP_HEIGHT; ++y) {
        for (int x = 0; x < STRIP_WIDTH; ++x) {
            const float u = u01(x, STRIP_WIDTH);
            const float v = u01(y, STRIP_HEIGHT);
            const float warpU = tiledFbm(u, v, 4, 2, 4, 31) - 0.5f;
            const float warpV = tiledFbm(u, v, 4, 2, 4, 32) - 0.5f;
            const float field = tiledFbm(u + 0.4f * warpU, v + 0.4f * warpV, 4, 2, 5, 33);
            const float ridge = 1.0f - std::fabs(2.0f * field - 1.0f);
            const float heat = std::pow(ridge, 9.0f) * 0.9f + 0.05f * field;
            canvas.at(x, y) = fireRamp(heat) * 0.6f;
        }
    }
    return canvas;
}

// Soft streaks of warm light that flow along thin strips; tiles both ways.
Canvas glowStrip() {
    const Colour stops[] = {
        {0.0f, 0.0f, 0.0f}, {0.4f, 0.04f, 0.32f}, {0.95f, 0.4f, 0.1f}, {1.0f, 0.85f, 0.5f}};
    Canvas canvas(STRIP_WIDTH, STRIP_HEIGHT);
    for (int y = 0; y < STRIP_HEIGHT; ++y) {
        for (int x = 0; x < STRIP_WIDTH; ++x) {
            const float u = u01(x, STRIP_WIDTH);
            const float v = u01(y, STRIP_HEIGHT);
            const float warp = tiledFbm(u, v, 2, 2, 3, 41) - 0.5f;
            const float field = tiledFbm(u + 0.3f * warp, v, 2, 6, 5, 42);
            const float t = smoothstep(0.3f, 0.85f, field) * 3.0f;
            const int i = t >= 3.0f ? 2 : static_cast<int>(t);
            canvas.at(x, y) = mix(stops[i], stops[i + 1], t - static_cast<float>(i)) * 0.85f;
        }
    }
    return canvas;
}

// A rounded steel bar. The game draws it as thin strips both ways (10 x 480 and 640 x 30), so the shading is
// the product of one profile across each side.
Canvas wallStrip() {
    const Colour steel = {0.26f, 0.34f, 0.55f};
    const Colour shine = {0.75f, 0.85f, 1.0f};
    Canvas canvas(WALL_SIDE, WALL_SIDE);
    for (int y = 0; y < WALL_SIDE; ++y) {
        for (int x = 0; x < WALL_SIDE; ++x) {
            const float u = u01(x, WALL_SIDE);
            const float v = u01(y, WALL_SIDE);
            const float profile = std::sqrt(std::sin(PI * u) * std::sin(PI * v));
            const float brushed = 0.92f + 0.16f * tiledNoise(u * 32.0f, v * 32.0f, 32, 32, 51);
            const float highlight = smoothstep(0.8f, 0.97f, profile) * 0.35f;
            canvas.at(x, y) = steel * ((0.25f + 0.75f * profile) * brushed) + shine * highlight;
        }
    }
    return canvas;
}

}  // namespace art
