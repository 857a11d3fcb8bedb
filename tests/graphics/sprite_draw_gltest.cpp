// Sprite drawing in a real context: masks, blending, tiling, the shared scroll offsets and placement.
#include <gtest/gtest.h>

#include "graphics/sprite.h"
#include "support/gl_pixels.h"

using gltest::near;
using gltest::pixelAt;
using gltest::Rgb;

namespace {

const Rgb BLACK = {0, 0, 0};
const Rgb BACKGROUND = {0, 0, 200};
const Rgb RED = {200, 0, 0};
const Rgb GREEN = {0, 200, 0};
const Rgb WHITE = {255, 255, 255};

// Left column one colour, right column the other (2 x 2 texels, nearest filtering).
GLuint makeSplitTexture(Rgb left, Rgb right) {
    std::vector<std::uint8_t> rgb;
    for (int row = 0; row < 2; ++row) {
        for (const Rgb& c : {left, right}) {
            for (int v : c)
                rgb.push_back(static_cast<std::uint8_t>(v));
        }
    }
    return gltest::makeTexture(2, 2, rgb);
}

class SpriteDrawTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL_WINDOW();
        sprite.screenHeight = gltest::WINDOW_HEIGHT;
        sprite.setPosition(100.0f, 100.0f);
        sprite.setSize(64.0f, 32.0f);
        sprite.texture = gltest::makeSolidTexture(RED);
    }

    // Draws the sprite over a cleared background and returns the pixels at the left and right quarter.
    std::array<Rgb, 2> drawAndSample(int mode, bool blend, bool masked) {
        gltest::beginFrame(BACKGROUND);
        sprite.draw(mode, blend, masked);
        gltest::endFrame();
        return {pixelAt(116, 116), pixelAt(148, 116)};
    }

    Sprite sprite;
};

TEST_F(SpriteDrawTest, MaskCutsTheHoleAndTheImageIsAddedIntoIt) {
    sprite.maskTexture = makeSplitTexture(WHITE, BLACK);
    const auto masked = drawAndSample(1, true, true);
    EXPECT_PRED2(near, masked[0], (Rgb{200, 0, 200}));  // mask white: background kept, image added
    EXPECT_PRED2(near, masked[1], RED);                 // mask black: hole, image alone
    EXPECT_PRED2(near, pixelAt(90, 116), BACKGROUND);   // outside the quad nothing changes

    const auto unmasked = drawAndSample(1, true, false);
    EXPECT_PRED2(near, unmasked[1], (Rgb{200, 0, 200}));
}

TEST_F(SpriteDrawTest, SpriteWithoutMaskDrawsTheSameMaskedOrNot) {
    sprite.maskTexture = 0;
    for (int mode : {0, 1, 4, 12}) {
        const auto masked = drawAndSample(mode, true, true);
        const auto unmasked = drawAndSample(mode, true, false);
        EXPECT_EQ(masked, unmasked) << "mode " << mode;
        EXPECT_PRED2(near, masked[0], (Rgb{200, 0, 200})) << "mode " << mode;
    }
}

TEST_F(SpriteDrawTest, OpaqueModesReplaceTheBackgroundWithTheTintedImage) {
    sprite.setColor(0.5f, 1.0f, 1.0f);
    for (int mode : {2, 6}) {
        const auto pixels = drawAndSample(mode, true, true);
        EXPECT_PRED2(near, pixels[0], (Rgb{100, 0, 0})) << "mode " << mode;
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
    }
    // With blend off, an additive mode shows the image alone as well.
    EXPECT_PRED2(near, drawAndSample(1, false, false)[0], (Rgb{100, 0, 0}));
}

TEST_F(SpriteDrawTest, TiledModeRepeatsTheImageRepeatTimes) {
    sprite.texture = makeSplitTexture(RED, GREEN);
    sprite.repeat = 4;  // 64 pixels wide: each copy 16 pixels, red then green
    gltest::beginFrame(BACKGROUND);
    sprite.draw(6, true, false);
    gltest::endFrame();
    for (int copy = 0; copy < 4; ++copy) {
        EXPECT_PRED2(near, pixelAt(100 + copy * 16 + 4, 110), RED) << "copy " << copy;
        EXPECT_PRED2(near, pixelAt(100 + copy * 16 + 12, 110), GREEN) << "copy " << copy;
    }
}

TEST_F(SpriteDrawTest, ModesOutsideTheTableDrawNothingAndLeaveBlendingOff) {
    for (int mode : {-1, 14, 1000}) {
        glEnable(GL_BLEND);
        const auto pixels = drawAndSample(mode, true, true);
        EXPECT_EQ(pixels[0], pixelAt(50, 50)) << "mode " << mode;
        EXPECT_PRED2(near, pixels[0], BACKGROUND) << "mode " << mode;
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "mode " << mode;
    }
    for (int mode = 0; mode < SPRITE_MODE_COUNT; ++mode) {
        drawAndSample(mode, true, true);
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "mode " << mode;
    }
}

TEST_F(SpriteDrawTest, QuadIsPlacedWithTheSpritesOwnScreenHeight) {
    sprite.screenHeight = 400;  // loaded for a 400-pixel window, drawn into a 480-pixel one
    sprite.setPosition(100.0f, 0.0f);
    drawAndSample(2, false, false);
    EXPECT_PRED2(near, pixelAt(110, 79), BACKGROUND);
    EXPECT_PRED2(near, pixelAt(110, 81), RED);
    EXPECT_PRED2(near, pixelAt(110, 111), RED);
    EXPECT_PRED2(near, pixelAt(110, 113), BACKGROUND);
}

TEST_F(SpriteDrawTest, ScrollOffsetsAreSharedPerPatternAndWrapStrictly) {
    float* offsets = spriteDrawState().scrollOffsets;
    offsets[SCROLL_TILED_DIAGONAL_RISING] = 0.0f;
    offsets[SCROLL_TILED_DIAGONAL_FALLING] = 1.0f;
    Sprite other = sprite;
    sprite.draw(7, true, false);
    other.draw(10, true, false);
    EXPECT_EQ(offsets[SCROLL_TILED_DIAGONAL_RISING], 0.001f + 0.001f);
    sprite.draw(8, true, false);
    other.draw(11, true, false);
    EXPECT_EQ(offsets[SCROLL_TILED_DIAGONAL_FALLING], (1.0f - 0.001f) - 0.001f);

    // 500 x 0.001 rounds to exactly 0.5 in single precision: the offset lands on the end and stays there
    // once.
    sprite.scrollSpeed = 500.0f;
    offsets[SCROLL_HORIZONTAL_RISING] = 0.5f;
    sprite.draw(13, true, false);
    EXPECT_EQ(offsets[SCROLL_HORIZONTAL_RISING], 1.0f);
    sprite.draw(13, true, false);
    EXPECT_EQ(offsets[SCROLL_HORIZONTAL_RISING], 0.0f);

    offsets[SCROLL_DIAGONAL_FALLING] = 0.5f;
    sprite.draw(5, true, false);
    EXPECT_EQ(offsets[SCROLL_DIAGONAL_FALLING], 0.0f);
    sprite.draw(5, true, false);
    EXPECT_EQ(offsets[SCROLL_DIAGONAL_FALLING], 1.0f);
}

TEST_F(SpriteDrawTest, ScrollOffsetShiftsTheTextureAcrossTheQuad) {
    sprite.texture = makeSplitTexture(RED, GREEN);
    spriteDrawState().scrollOffsets[SCROLL_HORIZONTAL_RISING] = 0.0f;
    sprite.scrollSpeed = 500.0f;  // one draw moves half a texture width
    const auto pixels = drawAndSample(13, true, false);
    EXPECT_PRED2(near, pixels[0], (Rgb{0, 200, 200}));  // the green half now starts at the left edge
    EXPECT_PRED2(near, pixels[1], (Rgb{200, 0, 200}));
}

class SpriteAnimationTest : public SpriteDrawTest {
protected:
    void SetUp() override {
        SpriteDrawTest::SetUp();
        spriteDrawState().animCountdownStarted = false;
    }
};

TEST_F(SpriteAnimationTest, OneCountdownServesEverySprite) {
    Sprite a = sprite;
    Sprite b = sprite;
    a.frameCount = b.frameCount = 3;
    // The first call starts the countdown at 2; every call of either sprite takes one away.
    a.drawAnimated(1, true, 2.0f);
    b.drawAnimated(1, true, 2.0f);
    EXPECT_EQ(a.frame, 0);
    EXPECT_EQ(b.frame, 0);
    a.drawAnimated(1, true, 2.0f);
    EXPECT_EQ(a.frame, 1);
    b.drawAnimated(1, true, 2.0f);
    a.drawAnimated(1, true, 2.0f);
    b.drawAnimated(1, true, 2.0f);
    EXPECT_EQ(a.frame, 1);
    EXPECT_EQ(b.frame, 1);
    EXPECT_EQ(spriteDrawState().animCountdown, 2.0f);
}

TEST_F(SpriteAnimationTest, SingleFrameStaysAtZeroAndMarksEveryWrap) {
    sprite.frameCount = 1;
    sprite.drawAnimated(1, true, 0.0f);
    EXPECT_EQ(sprite.frame, 0);
    EXPECT_EQ(sprite.animMarker, SPRITE_ANIM_WRAP_MARKER);
    sprite.animMarker = 0;
    sprite.drawAnimated(1, true, 0.0f);
    EXPECT_EQ(sprite.animMarker, SPRITE_ANIM_WRAP_MARKER);

    // A frame count beyond the array still wraps inside it.
    sprite.frameCount = 40;
    sprite.frame = SPRITE_MAX_FRAMES - 1;
    sprite.drawAnimated(1, true, 0.0f);
    EXPECT_EQ(sprite.frame, 0);
}

TEST_F(SpriteAnimationTest, ModeOneAddsTheCurrentFrameModeTwoDrawsTheImage) {
    sprite.frameTextures[0] = gltest::makeSolidTexture(GREEN);
    sprite.frameTextures[1] = gltest::makeSolidTexture(WHITE);
    sprite.frameCount = 2;
    spriteDrawState().animCountdownStarted = true;
    spriteDrawState().animCountdown = 10.0f;

    gltest::beginFrame(BACKGROUND);
    sprite.drawAnimated(1, true, 10.0f);
    gltest::endFrame();
    EXPECT_PRED2(near, pixelAt(116, 116), (Rgb{0, 200, 200}));

    gltest::beginFrame(BACKGROUND);
    sprite.drawAnimated(2, true, 10.0f);
    gltest::endFrame();
    EXPECT_PRED2(near, pixelAt(116, 116), RED);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    gltest::beginFrame(BACKGROUND);
    sprite.drawAnimated(3, true, 10.0f);
    gltest::endFrame();
    EXPECT_PRED2(near, pixelAt(116, 116), BACKGROUND);
}

}  // namespace
