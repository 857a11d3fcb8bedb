// Pictures in floating-point RGB, the deterministic noise they are made from, and the 24-bit bitmap writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct Colour {
    float r;
    float g;
    float b;
};

// Where pixel (x, y) of a picture `width` pixels wide sits in its row-major array; in size_t, so large
// pictures cannot overflow the int product.
inline std::size_t pixelIndex(int x, int y, int width) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
}

Colour operator+(Colour a, Colour b);
Colour operator*(Colour a, float k);
Colour operator*(Colour a, Colour b);
Colour mix(Colour a, Colour b, float t);

// A picture of width x height pixels, top row first, channels 0..1 (values outside are clamped when written).
class Canvas {
public:
    Canvas(int width, int height, Colour fill = {0.0f, 0.0f, 0.0f});

    int width() const { return w; }
    int height() const { return h; }
    Colour& at(int x, int y) { return pixels[pixelIndex(x, y, w)]; }
    const Colour& at(int x, int y) const { return pixels[pixelIndex(x, y, w)]; }
    // Adds light: used for glows and stars.
    void add(int x, int y, Colour c);

    // Writes a 24-bit uncompressed bitmap, bottom row first, as the engine's image reader expects.
    bool writeBmp(const std::string& path) const;

private:
    int w;
    int h;
    std::vector<Colour> pixels;
};

float clamp01(float v);
float smoothstep(float edge0, float edge1, float v);

// Integer hash to 0..1: the only source of randomness, so every run draws the same pictures.
float hash01(std::uint32_t x, std::uint32_t y, std::uint32_t seed);

// Value noise on a lattice that repeats every periodX x periodY cells, so pictures built from it tile.
// (u, v) are in lattice cells.
float tiledNoise(float u, float v, int periodX, int periodY, std::uint32_t seed);
// Sum of octaves of tiledNoise over the unit square (u, v in 0..1), tiling with the square; result about
// 0..1.
float tiledFbm(float u, float v, int baseX, int baseY, int octaves, std::uint32_t seed);

// Fire colours from black through red and orange to pale yellow.
Colour fireRamp(float t);

}  // namespace art
