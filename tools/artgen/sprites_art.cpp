// The sprites: cursor, logo, ball, plate, brick, explosion, and the masks that cut their holes.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/artgen/glyphs.h"
#include "tools/artgen/pictures.h"

namespace art {

namespace {

constexpr int CURSOR_SIDE = 32;
constexpr int SUPERSAMPLE = 4;
constexpr int BALL_SIDE = 64;
constexpr int PLATE_WIDTH = 128;
constexpr int PLATE_HEIGHT = 32;
constexpr int BRICK_WIDTH = 64;
constexpr int BRICK_HEIGHT = 32;
constexpr int EXPLOSION_SIDE = 64;
constexpr int LOGO_WIDTH = 256;
constexpr int LOGO_HEIGHT = 128;
constexpr float TWO_PI = 6.2831853f;

const Colour WHITE = {1.0f, 1.0f, 1.0f};

struct Point {
    float x;
    float y;
};

// The arrow, tip at the sprite's top-left corner, in cursor pixels.
const Point ARROW[] = {{1.5f, 1.5f},   {1.5f, 24.0f},  {7.0f, 18.5f}, {11.5f, 28.0f},
                       {15.0f, 26.5f}, {10.8f, 17.2f}, {18.5f, 17.2f}};

float segmentDistance(Point p, Point a, Point b) {
    const float abx = b.x - a.x;
    const float aby = b.y - a.y;
    const float t = std::clamp(((p.x - a.x) * abx + (p.y - a.y) * aby) / (abx * abx + aby * aby), 0.0f, 1.0f);
    const float dx = p.x - (a.x + abx * t);
    const float dy = p.y - (a.y + aby * t);
    return std::sqrt(dx * dx + dy * dy);
}

// Distance to the arrow's outline, negative inside.
float arrowDistance(Point p) {
    constexpr int n = sizeof ARROW / sizeof ARROW[0];
    float distance = 1e9f;
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        distance = std::min(distance, segmentDistance(p, ARROW[j], ARROW[i]));
        const Point a = ARROW[i];
        const Point b = ARROW[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside ? -distance : distance;
}

// Fraction of the pixel (x, y) whose sub-samples satisfy distance < limit.
float arrowCoverage(int x, int y, float limit) {
    int hits = 0;
    for (int sy = 0; sy < SUPERSAMPLE; ++sy) {
        for (int sx = 0; sx < SUPERSAMPLE; ++sx) {
            const Point p{static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / SUPERSAMPLE,
                          static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / SUPERSAMPLE};
            if (arrowDistance(p) < limit) ++hits;
        }
    }
    return static_cast<float>(hits) / (SUPERSAMPLE * SUPERSAMPLE);
}

constexpr float ARROW_OUTLINE = 1.3f;  // the black rim the mask cuts around the lit body

float radius(int x, int y, int side) {
    const float half = static_cast<float>(side) * 0.5f;
    const float dx = (static_cast<float>(x) + 0.5f - half) / half;
    const float dy = (static_cast<float>(y) + 0.5f - half) / half;
    return std::sqrt(dx * dx + dy * dy);
}

// Distance inside a rounded rectangle filling the picture (negative outside), in pixels.
float roundedInside(float px, float py, float w, float h, float corner) {
    const float qx = std::fabs(px - w * 0.5f) - (w * 0.5f - corner);
    const float qy = std::fabs(py - h * 0.5f) - (h * 0.5f - corner);
    const float outside =
        std::sqrt(std::max(qx, 0.0f) * std::max(qx, 0.0f) + std::max(qy, 0.0f) * std::max(qy, 0.0f));
    return corner - (outside + std::min(std::max(qx, qy), 0.0f));
}

constexpr float BRICK_CORNER = 5.0f;
constexpr float BRICK_BEVEL = 4.5f;

float brickCoverage(int x, int y) {
    int hits = 0;
    for (int sy = 0; sy < SUPERSAMPLE; ++sy) {
        for (int sx = 0; sx < SUPERSAMPLE; ++sx) {
            const float px = static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / SUPERSAMPLE;
            const float py = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / SUPERSAMPLE;
            if (roundedInside(px, py, BRICK_WIDTH, BRICK_HEIGHT, BRICK_CORNER) > 0.0f) ++hits;
        }
    }
    return static_cast<float>(hits) / (SUPERSAMPLE * SUPERSAMPLE);
}

// Grows coverage by `r` pixels (the largest value within a disc).
Coverage dilate(const Coverage& in, int r) {
    Coverage out = in;
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            float best = 0.0f;
            for (int dy = -r; dy <= r; ++dy) {
                for (int dx = -r; dx <= r; ++dx) {
                    if (dx * dx + dy * dy <= r * r) best = std::max(best, in.at(x + dx, y + dy));
                }
            }
            out.alpha[pixelIndex(x, y, in.width)] = best;
        }
    }
    return out;
}

Coverage boxBlur(const Coverage& in, int r) {
    Coverage out = in;
    const float area = static_cast<float>((2 * r + 1) * (2 * r + 1));
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            float sum = 0.0f;
            for (int dy = -r; dy <= r; ++dy) {
                for (int dx = -r; dx <= r; ++dx)
                    sum += in.at(x + dx, y + dy);
            }
            out.alpha[pixelIndex(x, y, in.width)] = sum / area;
        }
    }
    return out;
}

}  // namespace

Canvas cursor() {
    Canvas canvas(CURSOR_SIDE, CURSOR_SIDE);
    for (int y = 0; y < CURSOR_SIDE; ++y) {
        for (int x = 0; x < CURSOR_SIDE; ++x) {
            const float body = arrowCoverage(x, y, 0.0f);
            // Lit from the tip: brightest there, a little darker toward the tail, so the tint reads as metal.
            const float shade = 1.0f - 0.35f * static_cast<float>(x + y) / 40.0f;
            canvas.at(x, y) = WHITE * (body * shade);
        }
    }
    return canvas;
}

Canvas cursorMask() {
    Canvas canvas(CURSOR_SIDE, CURSOR_SIDE);
    for (int y = 0; y < CURSOR_SIDE; ++y) {
        for (int x = 0; x < CURSOR_SIDE; ++x) {
            const float keep = 1.0f - arrowCoverage(x, y, ARROW_OUTLINE);
            canvas.at(x, y) = WHITE * keep;
        }
    }
    return canvas;
}

Canvas logo(const std::string& fontFile) {
    Canvas canvas(LOGO_WIDTH, LOGO_HEIGHT);
    Coverage title;
    Coverage subtitle;
    if (!renderText(fontFile, "PEL2D", 66, LOGO_WIDTH, LOGO_HEIGHT, 80, title)) return canvas;
    if (!renderText(fontFile, "E N G I N E", 15, LOGO_WIDTH, LOGO_HEIGHT, 108, subtitle)) return canvas;
    const Coverage outline = dilate(title, 3);
    const Coverage halo = boxBlur(dilate(title, 5), 6);
    for (int y = 0; y < LOGO_HEIGHT; ++y) {
        for (int x = 0; x < LOGO_WIDTH; ++x) {
            const float v = static_cast<float>(y) / LOGO_HEIGHT;
            Colour c = mix(Colour{0.04f, 0.06f, 0.2f}, Colour{0.01f, 0.015f, 0.07f}, v);
            const bool frame = x == 3 || y == 3 || x == LOGO_WIDTH - 4 || y == LOGO_HEIGHT - 4;
            if (frame) c = Colour{0.2f, 0.35f, 0.8f};
            c = c + Colour{0.9f, 0.3f, 0.04f} * (halo.at(x, y) * 0.8f);
            c = c * (1.0f - outline.at(x, y));
            // Hot metal letters: pale yellow on top, deep orange below the middle line.
            const float letterV = std::clamp((static_cast<float>(y) - 30.0f) / 50.0f, 0.0f, 1.0f);
            const Colour letter = mix(Colour{1.0f, 0.97f, 0.8f}, Colour{1.0f, 0.42f, 0.05f}, letterV);
            c = mix(c, letter, title.at(x, y));
            c = mix(c, Colour{0.6f, 0.75f, 1.0f}, subtitle.at(x, y));
            canvas.at(x, y) = c;
        }
    }
    return canvas;
}

// A glowing orb: white-hot core, orange rim, fading to black before the picture's edge.
Canvas ball() {
    Canvas canvas(BALL_SIDE, BALL_SIDE);
    for (int y = 0; y < BALL_SIDE; ++y) {
        for (int x = 0; x < BALL_SIDE; ++x) {
            const float r = radius(x, y, BALL_SIDE);
            const float body = smoothstep(0.95f, 0.72f, r);
            Colour c =
                mix(Colour{1.0f, 0.45f, 0.08f}, Colour{1.0f, 0.95f, 0.8f}, smoothstep(0.75f, 0.15f, r));
            c = c * body;
            const float hx = (static_cast<float>(x) + 0.5f) / BALL_SIDE - 0.36f;
            const float hy = (static_cast<float>(y) + 0.5f) / BALL_SIDE - 0.34f;
            c = c + WHITE * (0.5f * std::exp(-(hx * hx + hy * hy) / 0.006f) * body);
            canvas.at(x, y) = c;
        }
    }
    return canvas;
}

Canvas ballMask() {
    Canvas canvas(BALL_SIDE, BALL_SIDE);
    for (int y = 0; y < BALL_SIDE; ++y) {
        for (int x = 0; x < BALL_SIDE; ++x)
            canvas.at(x, y) = WHITE * smoothstep(0.8f, 0.9f, radius(x, y, BALL_SIDE));
    }
    return canvas;
}

// An energy bar lit from above, dark at its top and bottom rows; tiles horizontally because it scrolls.
Canvas plate() {
    Canvas canvas(PLATE_WIDTH, PLATE_HEIGHT);
    for (int y = 0; y < PLATE_HEIGHT; ++y) {
        for (int x = 0; x < PLATE_WIDTH; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / PLATE_WIDTH;
            const float v = (static_cast<float>(y) + 0.5f) / PLATE_HEIGHT;
            const float body = smoothstep(0.0f, 0.2f, v) * smoothstep(1.0f, 0.8f, v);
            const float pulse = 0.5f + 0.5f * std::cos(TWO_PI * 4.0f * u);
            const float brushed = 0.85f + 0.3f * tiledNoise(u * 64.0f, v * 3.0f, 64, 3, 61);
            Colour c = Colour{0.16f, 0.3f, 0.62f} * (body * (0.7f + 0.3f * pulse) * brushed);
            c = c + Colour{0.55f, 0.75f, 1.0f} * (0.55f * std::exp(-std::pow((v - 0.3f) / 0.08f, 2.0f)));
            c = c + Colour{0.9f, 0.4f, 0.08f} * (0.35f * std::exp(-std::pow((v - 0.76f) / 0.05f, 2.0f)));
            canvas.at(x, y) = c;
        }
    }
    return canvas;
}

// A light bevelled face: the game's tint gives each brick its colour.
Canvas brick() {
    Canvas canvas(BRICK_WIDTH, BRICK_HEIGHT);
    for (int y = 0; y < BRICK_HEIGHT; ++y) {
        for (int x = 0; x < BRICK_WIDTH; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float inside = roundedInside(px, py, BRICK_WIDTH, BRICK_HEIGHT, BRICK_CORNER);
            const float v = py / BRICK_HEIGHT;
            float shade = 0.72f + 0.16f * (1.0f - v);
            if (inside < BRICK_BEVEL) {
                // Light from the top-left: the bevel facing up or left is bright, the others dark.
                const float nearest = std::min({px, py, BRICK_WIDTH - px, BRICK_HEIGHT - py});
                shade = (nearest == px || nearest == py) ? 1.0f : 0.4f;
            }
            shade += 0.18f * std::exp(-std::pow((v - 0.32f) / 0.07f, 2.0f));
            canvas.at(x, y) = WHITE * (shade * brickCoverage(x, y));
        }
    }
    return canvas;
}

Canvas brickMask() {
    Canvas canvas(BRICK_WIDTH, BRICK_HEIGHT);
    for (int y = 0; y < BRICK_HEIGHT; ++y) {
        for (int x = 0; x < BRICK_WIDTH; ++x)
            canvas.at(x, y) = WHITE * (1.0f - brickCoverage(x, y));
    }
    return canvas;
}

// One frame of a fireball that swells, turns into a ring and cools to nothing.
Canvas explosionFrame(int frame, int frameCount) {
    const float p = static_cast<float>(frame) / static_cast<float>(frameCount - 1);
    const float outer = 0.25f + 0.7f * std::sqrt(p);
    const float hollow = outer * 0.75f * std::max(0.0f, (p - 0.15f) / 0.85f);
    const float cooling = std::pow(1.0f - p, 1.3f);
    Canvas canvas(EXPLOSION_SIDE, EXPLOSION_SIDE);
    for (int y = 0; y < EXPLOSION_SIDE; ++y) {
        for (int x = 0; x < EXPLOSION_SIDE; ++x) {
            const float r = radius(x, y, EXPLOSION_SIDE);
            const float u = (static_cast<float>(x) + 0.5f) / EXPLOSION_SIDE;
            const float v = (static_cast<float>(y) + 0.5f) / EXPLOSION_SIDE;
            const float turbulence = tiledFbm(u + 0.05f * p, v - 0.08f * p, 4, 4, 5, 71);
            const float shell =
                smoothstep(outer, outer * 0.7f, r) * smoothstep(hollow - 0.05f, hollow + 0.05f, r);
            const float heat = shell * (0.2f + 1.5f * turbulence) * (0.25f + 0.95f * cooling);
            canvas.at(x, y) = fireRamp(heat) * std::min(1.0f, 0.35f + cooling);
        }
    }
    return canvas;
}

}  // namespace art
