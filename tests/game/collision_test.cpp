#include "game/collision.h"

#include <gtest/gtest.h>

namespace {

Sprite box(float x, float y, int width, int height) {
    Sprite sprite;
    sprite.setPosition(x, y);
    sprite.width = width;
    sprite.height = height;
    return sprite;
}

TEST(OverlapSide, EmptyIntersectionsAndTheirShapes) {
    const IntRect brick{100, 100, 130, 115};
    EXPECT_EQ(overlapSide(brick, IntRect{130, 100, 150, 115}), OVERLAP_NONE);  // edge to edge
    EXPECT_EQ(overlapSide(brick, IntRect{0, 0, 10, 10}), OVERLAP_NONE);
    EXPECT_EQ(overlapSide(brick, IntRect{125, 112, 150, 140}), OVERLAP_TOP_BOTTOM);  // 5 x 3
    EXPECT_EQ(overlapSide(brick, IntRect{127, 110, 150, 140}), OVERLAP_SIDE);        // 3 x 5
    EXPECT_EQ(overlapSide(brick, IntRect{126, 111, 150, 140}), OVERLAP_SIDE);        // 4 x 4
    EXPECT_EQ(overlapSide(IntRect{125, 112, 150, 140}, brick), OVERLAP_TOP_BOTTOM);  // either order
}

TEST(SpritesOverlap, StrictOnEveryEdgeAndWithARaisedBottom) {
    const Collision collision;
    const Sprite paddle = box(100.0f, 435.0f, 64, 14);
    EXPECT_EQ(collision.spritesOverlap(paddle, box(110.0f, 420.0f, 16, 16), 0), 1);
    EXPECT_EQ(collision.spritesOverlap(paddle, box(164.0f, 430.0f, 16, 16), 0), 0);  // touches the right end
    EXPECT_EQ(collision.spritesOverlap(paddle, box(84.0f, 430.0f, 16, 16), 0), 0);   // touches the left end
    EXPECT_EQ(collision.spritesOverlap(paddle, box(110.0f, 419.0f, 16, 16), 0), 0);  // touches the top
    EXPECT_EQ(collision.spritesOverlap(paddle, box(110.0f, 449.0f, 16, 16), 0), 0);  // touches the bottom
    EXPECT_EQ(collision.spritesOverlap(paddle, box(110.0f, 448.0f, 16, 16), 0), 1);
    EXPECT_EQ(collision.spritesOverlap(paddle, box(110.0f, 448.0f, 16, 16), 14), 0);
}

TEST(PointInRect, BorderIsOutside) {
    const Collision collision;
    EXPECT_EQ(collision.pointInRect(220.0f, 210.0f, 168.0f, 32.0f, 221.0f, 211.0f), 1);
    EXPECT_EQ(collision.pointInRect(220.0f, 210.0f, 168.0f, 32.0f, 220.0f, 230.0f), 0);
    EXPECT_EQ(collision.pointInRect(220.0f, 210.0f, 168.0f, 32.0f, 388.0f, 230.0f), 0);
    EXPECT_EQ(collision.pointInRect(220.0f, 210.0f, 168.0f, 32.0f, 300.0f, 210.0f), 0);
    EXPECT_EQ(collision.pointInRect(220.0f, 210.0f, 168.0f, 32.0f, 300.0f, 242.0f), 0);
    EXPECT_EQ(collision.pointInRect(220.0f, 210.0f, 168.0f, 32.0f, 387.5f, 241.5f), 1);
}

}  // namespace
