// The box and point tests of the game, and the shape of a rectangle intersection.
#pragma once

#include <cstdint>

#include "graphics/sprite.h"

// What an intersection of two boxes looks like.
constexpr int OVERLAP_SIDE = 5;        // at least as tall as wide: a hit from the left or right
constexpr int OVERLAP_TOP_BOTTOM = 6;  // wider than tall: a hit from above or below
constexpr int OVERLAP_NONE = 7;

// An integer rectangle; right and bottom are exclusive.
struct IntRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// OVERLAP_NONE when the boxes do not intersect, else whether the intersection is wider than tall.
int overlapSide(const IntRect& a, const IntRect& b);

// State-free floating-point hit tests; inputs are read, never changed.
class Collision {
public:
    Collision() = default;
    virtual ~Collision() = default;

    // 1 when the boxes of a and b overlap, with a's bottom edge raised by bottomInset; else 0. Touching edges
    // do not overlap.
    int spritesOverlap(const Sprite& a, const Sprite& b, int bottomInset) const;
    // 1 when (px, py) lies strictly inside the rectangle at (x, y) of size w x h; the border is outside.
    int pointInRect(float x, float y, float w, float h, float px, float py) const;
};

extern Collision g_collision;
