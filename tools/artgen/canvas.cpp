#include "tools/artgen/canvas.h"

#include <cmath>
#include <cstdio>

namespace art {

Colour operator+(Colour a, Colour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Colour operator*(Colour a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}
Colour operator*(Colour a, Colour b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}
Colour mix(Colour a, Colour b, float t) {
    return a * (1.0f - t) + b * t;
}

Canvas::Canvas(int width, int height, Colour fill)
    : w(width), h(height), pixels(static_cast<std::size_t>(width * height), fill) {}

void Canvas::add(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    at(x, y) = at(x, y) + c;
}

float clamp01(float v) {
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

float smoothstep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

namespace {

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint8_t toByte(float v) {
    return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f));
}

}  // namespace

bool Canvas::writeBmp(const std::string& path) const {
    constexpr std::uint32_t FILE_HEADER = 14;
    constexpr std::uint32_t INFO_HEADER = 40;
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(h);
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    putLe(out, FILE_HEADER + INFO_HEADER + imageBytes, 4);
    putLe(out, 0, 4);
    putLe(out, FILE_HEADER + INFO_HEADER, 4);
    putLe(out, INFO_HEADER, 4);
    putLe(out, static_cast<std::uint32_t>(w), 4);
    putLe(out, static_cast<std::uint32_t>(h), 4);
    putLe(out, 1, 2);
    putLe(out, 24, 2);
    putLe(out, 0, 4);
    putLe(out, imageBytes, 4);
    putLe(out, 2835, 4);  // 72 dots per inch
    putLe(out, 2835, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Colour& c = at(x, y);
            out.push_back(toByte(c.b));
            out.push_back(toByte(c.g));
            out.push_back(toByte(c.r));
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(w) * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}

float hash01(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xffffffu) / static_cast<float>(0xffffffu);
}

float tiledNoise(float u, float v, int periodX, int periodY, std::uint32_t seed) {
    const float fu = std::floor(u);
    const float fv = std::floor(v);
    const int ix = static_cast<int>(fu);
    const int iy = static_cast<int>(fv);
    const float tx = smoothstep(0.0f, 1.0f, u - fu);
    const float ty = smoothstep(0.0f, 1.0f, v - fv);
    auto corner = [&](int cx, int cy) {
        const int wx = ((cx % periodX) + periodX) % periodX;
        const int wy = ((cy % periodY) + periodY) % periodY;
        return hash01(static_cast<std::uint32_t>(wx), static_cast<std::uint32_t>(wy), seed);
    };
    const float top = corner(ix, iy) + (corner(ix + 1, iy) - corner(ix, iy)) * tx;
    const float bottom = corner(ix, iy + 1) + (corner(ix + 1, iy + 1) - corner(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

float tiledFbm(float u, float v, int baseX, int baseY, int octaves, std::uint32_t seed) {
    float sum = 0.0f;
    float amplitude = 0.5f;
    float total = 0.0f;
    int px = baseX;
    int py = baseY;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * tiledNoise(u * static_cast<float>(px), v * static_cast<float>(py), px, py,
                                      seed + static_cast<std::uint32_t>(i) * 101u);
        total += amplitude;
        amplitude *= 0.5f;
        px *= 2;
        py *= 2;
    }
    return sum / total;
}

Colour fireRamp(float t) {
    t = clamp01(t);
    const Colour stops[] = {{0.0f, 0.0f, 0.0f},
                            {0.35f, 0.02f, 0.0f},
                            {0.85f, 0.22f, 0.02f},
                            {1.0f, 0.55f, 0.08f},
                            {1.0f, 0.9f, 0.55f}};
    const float scaled = t * 4.0f;
    const int i = scaled >= 4.0f ? 3 : static_cast<int>(scaled);
    return mix(stops[i], stops[i + 1], scaled - static_cast<float>(i));
}

}  // namespace art
