// Sprite and template loading without a context: defaults, what each load resets or keeps, the frame limit.
#include <gtest/gtest.h>

#include "graphics/sprite.h"

namespace {

// No image of these names exists in the test's folder, so every texture load fails and leaves its id.
constexpr const char* MISSING = "data/spr/none";

TEST(SpriteLoad, FreshSpriteHasTheDocumentedDefaultsAndIsOtherwiseZero) {
    const Sprite sprite;
    EXPECT_EQ(sprite.texture, 0u);
    EXPECT_EQ(sprite.maskTexture, 0u);
    EXPECT_EQ(sprite.frameTextures[SPRITE_MAX_FRAMES - 1], 0u);
    EXPECT_EQ(sprite.scrollSpeed, 1.0f);
    EXPECT_EQ(sprite.red + sprite.green + sprite.blue + sprite.alpha, 4.0f);
    EXPECT_EQ(sprite.vx, 1.0f);
    EXPECT_EQ(sprite.speedX, 0.0f) << "only the loads set the game's two speeds";
    EXPECT_EQ(sprite.repeat, 1);
    EXPECT_EQ(sprite.next, nullptr);
    const SpriteTemplate spriteTemplate;
    EXPECT_EQ(spriteTemplate.frameCount, 0);
    EXPECT_EQ(spriteTemplate.startFrame, 0);
    EXPECT_EQ(spriteTemplate.frameDelay, 0.0f);
}

TEST(SpriteLoad, LoadResetsTheGameFieldsButKeepsXAndTheFrames) {
    Sprite sprite;
    sprite.texture = 7;
    sprite.setPosition(12.5f, 40.0f);
    sprite.frame = 3;
    sprite.frameCount = 5;
    sprite.setColor(0.1f, 0.2f, 0.3f);
    sprite.setState(4);
    sprite.repeat = 6;
    EXPECT_TRUE(sprite.load(TextureLoader(), 400, MISSING, true, MISSING, 32, 16, true, nullptr));
    EXPECT_EQ(sprite.texture, 7u) << "a failed load keeps the id";
    EXPECT_EQ(sprite.x, 12.5f);
    EXPECT_EQ(sprite.y, 0.0f);
    EXPECT_EQ(sprite.frame, 3);
    EXPECT_EQ(sprite.frameCount, 5);
    EXPECT_EQ(sprite.red, 1.0f);
    EXPECT_EQ(sprite.speedY, 1.0f);
    EXPECT_EQ(sprite.state, 0);
    EXPECT_EQ(sprite.repeat, 1);
    EXPECT_EQ(sprite.width, 32);
    EXPECT_EQ(sprite.screenHeight, 400);
}

TEST(SpriteLoad, InstanceOfATemplateTruncatesItsFloats) {
    SpriteTemplate brick;
    brick.texture = 3;
    brick.maskTexture = 4;
    brick.frameTextures[0] = 9;
    brick.width = 30.9f;
    brick.height = 15.2f;
    brick.screenHeight = 480.7f;
    brick.startFrame = 1;
    brick.frameCount = 15;
    brick.frameDelay = 20.6f;
    Sprite sprite;
    sprite.setX(77.0f);
    EXPECT_TRUE(sprite.initFromTemplate(brick));
    EXPECT_EQ(sprite.texture, 3u);
    EXPECT_EQ(sprite.maskTexture, 4u);
    EXPECT_EQ(sprite.frameTextures[0], 0u) << "frames are not copied";
    EXPECT_EQ(sprite.width, 30);
    EXPECT_EQ(sprite.height, 15);
    EXPECT_EQ(sprite.screenHeight, 480);
    EXPECT_EQ(sprite.frame, 1);
    EXPECT_EQ(sprite.frameCount, 15);
    EXPECT_EQ(sprite.animMarker, 20);
    EXPECT_EQ(sprite.x, 77.0f);

    sprite.setSize(99.9f, -0.5f);
    EXPECT_EQ(sprite.width, 99);
    EXPECT_EQ(sprite.height, 0);
}

TEST(SpriteLoad, FramesStopAtTheArraySize) {
    SpriteTemplate explosion;
    explosion.texture = 5;
    EXPECT_TRUE(explosion.loadFrames(TextureLoader(), 480, MISSING, 55, 55, 40, 20.0f));
    EXPECT_EQ(explosion.frameCount, SPRITE_MAX_FRAMES);
    EXPECT_EQ(explosion.startFrame, 1);
    EXPECT_EQ(explosion.frameDelay, 20.0f);
    EXPECT_EQ(explosion.width, 55.0f);
    EXPECT_EQ(explosion.texture, 5u);

    EXPECT_TRUE(explosion.loadFrames(TextureLoader(), 480, nullptr, 55, 55, 15, 20.0f));
    EXPECT_EQ(explosion.frameCount, 0) << "no name, no frames";
    EXPECT_TRUE(explosion.loadFrames(TextureLoader(), 480, MISSING, 55, 55, -3, 20.0f));
    EXPECT_EQ(explosion.frameCount, 0);
}

}  // namespace
