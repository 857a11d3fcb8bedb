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

}  // namespace
