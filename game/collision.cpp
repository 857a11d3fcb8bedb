#include "game/collision.h"

#include <algorithm>

int overlapSide(const IntRect& a, const IntRect& b) {
    const std::int32_t left = std::max(a.left, b.left);
    const std::int32_t top = std::max(a.top, b.top);
    const std::int32_t right = std::min(a.right, b.right);
    const std::int32_t bottom = std::min(a.bottom, b.bottom);
    const std::int32_t width = right - left;
    const std::int32_t height = bottom - top;
    if (width <= 0 || height <= 0) return OVERLAP_NONE;
    return width > height ? OVERLAP_TOP_BOTTOM : OVERLAP_SIDE;
}

int Collision::spritesOverlap(const Sprite& a, const Sprite& b, int bottomInset) const {
    const bool overlap = a.x < b.x + static_cast<float>(b.width) && a.x + static_cast<float>(a.width) > b.x &&
                         a.y < b.y + static_cast<float>(b.height) &&
                         a.y + static_cast<float>(a.height - bottomInset) > b.y;
    return overlap ? 1 : 0;
}

int Collision::pointInRect(float x, float y, float w, float h, float px, float py) const {
    return (px > x && x + w > px && py > y && y + h > py) ? 1 : 0;
}
