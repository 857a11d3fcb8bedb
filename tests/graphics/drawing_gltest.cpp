// Drawing in a real context, read back pixel by pixel: what the golden frames of the game's demos do not show
// (tests/golden, where the game's modes 1, 2, 4, 5, 6, 12 and 13 draw with and without masks and tints): the
// blending every mode leaves, the mask pass in isolation, the scroll offsets that modes the game never uses
// share, and the animation the game never plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "graphics/sprite.h"
#include "support/gl_pixels.h"

using gltest::near;
using gltest::pixelAt;
using gltest::Rgb;

namespace {

const Rgb BLACK = {0, 0, 0};
const Rgb BACKGROUND = {0, 0, 200};
const Rgb RED = {200, 0, 0};
const Rgb WHITE = {255, 255, 255};
const Rgb ADDED = {200, 0, 200};  // the red image added to the background

// Left column one colour, right column the other (2 x 2 texels, nearest filtering).
GLuint makeSplitTexture(Rgb left, Rgb right) {
    std::vector<std::uint8_t> rgb;
    for (const Rgb& c : {left, right, left, right})
        rgb.insert(rgb.end(), c.begin(), c.end());
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

TEST_F(SpriteDrawTest, ModesCombineImageMaskAndBackgroundAndLeaveBlendingOff) {
    // The mask pass: where the mask is white the background is kept and the image added; black cuts the hole.
    sprite.maskTexture = makeSplitTexture(WHITE, BLACK);
    const auto masked = drawAndSample(1, true, true);
    EXPECT_PRED2(near, masked[0], ADDED);
    EXPECT_PRED2(near, masked[1], RED);
    EXPECT_PRED2(near, pixelAt(90, 116), BACKGROUND);  // outside the quad nothing changes
    EXPECT_PRED2(near, drawAndSample(1, true, false)[1], ADDED);

    // Every mode leaves blending off, the game's own as much as those it never draws with; modes outside the
    // table draw nothing.
    for (int mode : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 1000}) {
        glEnable(GL_BLEND);
        const auto pixels = drawAndSample(mode, true, true);
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "mode " << mode;
        const bool inTable = mode >= 0 && mode < SPRITE_MODE_COUNT;
        EXPECT_TRUE(inTable || near(pixels[0], BACKGROUND)) << "mode " << mode << " is outside the table";
    }
}

TEST_F(SpriteDrawTest, ScrollOffsetsAreSharedPerPatternAndWrapStrictly) {
    float* offsets = spriteDrawState().scrollOffsets;
    offsets[SCROLL_TILED_DIAGONAL_RISING] = 0.0f;
    offsets[SCROLL_TILED_DIAGONAL_FALLING] = 1.0f;
    offsets[SCROLL_HORIZONTAL_RISING] = 0.5f;
    offsets[SCROLL_DIAGONAL_FALLING] = 0.5f;
    Sprite other = sprite;
    other.scrollSpeed = 500.0f;  // 500 x 0.001 rounds to exactly 0.5 in single precision
    // Modes 7 and 10 share one offset, 8 and 11 another, whichever sprite draws. An offset that lands exactly
    // on the far end stays there for one draw and wraps on the next.
    const struct {
        Sprite* sprite;
        int mode;
        SpriteScroll scroll;
        float offset;
    } draws[] = {
        {&sprite, 7, SCROLL_TILED_DIAGONAL_RISING, 0.001f},
        {&other, 10, SCROLL_TILED_DIAGONAL_RISING, 0.001f + 0.5f},
        {&sprite, 8, SCROLL_TILED_DIAGONAL_FALLING, 1.0f - 0.001f},
        {&sprite, 11, SCROLL_TILED_DIAGONAL_FALLING, (1.0f - 0.001f) - 0.001f},
        {&other, 13, SCROLL_HORIZONTAL_RISING, 1.0f},
        {&other, 13, SCROLL_HORIZONTAL_RISING, 0.0f},
        {&other, 5, SCROLL_DIAGONAL_FALLING, 0.0f},
        {&other, 5, SCROLL_DIAGONAL_FALLING, 1.0f},
    };
    for (const auto& d : draws) {
        d.sprite->draw(d.mode, true, false);
        EXPECT_EQ(offsets[d.scroll], d.offset) << "mode " << d.mode;
    }
}

TEST_F(SpriteDrawTest, OneAnimationCountdownServesEverySpriteAndFramesWrapInsideTheArray) {
    spriteDrawState().animCountdownStarted = false;
    Sprite a = sprite;
    Sprite b = sprite;
    a.frameCount = b.frameCount = 3;
    // The first call starts the countdown at 2; every call of either sprite takes one away, and the sprite
    // whose call takes it below 0 steps its frame.
    const struct {
        Sprite* sprite;
        int frame;
    } calls[] = {{&a, 0}, {&b, 0}, {&a, 1}, {&b, 0}, {&a, 1}, {&b, 1}};
    for (const auto& call : calls) {
        call.sprite->drawAnimated(1, true, 2.0f);
        EXPECT_EQ(call.sprite->frame, call.frame) << (call.sprite == &a ? "a" : "b");
    }
    EXPECT_EQ(spriteDrawState().animCountdown, 2.0f);

    // A single frame stays at 0 and marks every wrap; a frame count beyond the array still wraps inside it.
    spriteDrawState().animCountdownStarted = false;
    sprite.frameCount = 1;
    for (int call = 0; call < 2; ++call) {
        sprite.animMarker = 0;
        sprite.drawAnimated(1, true, 0.0f);
        EXPECT_EQ(sprite.frame, 0);
        EXPECT_EQ(sprite.animMarker, SPRITE_ANIM_WRAP_MARKER);
    }
    sprite.frameCount = 40;
    sprite.frame = SPRITE_MAX_FRAMES - 1;
    sprite.drawAnimated(1, true, 0.0f);
    EXPECT_EQ(sprite.frame, 0);
}

}  // namespace
