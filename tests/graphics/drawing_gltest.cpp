// Drawing in a real context, read back pixel by pixel: sprites (masks, blending, tiling, the shared scroll
// offsets, placement, animation) and the bitmap font (which cell each character draws, where, and what state
// it leaves).
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "graphics/bitmap_font.h"
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

    // A sprite without a mask draws the same masked or not.
    sprite.maskTexture = 0;
    for (int mode : {0, 1, 4, 12}) {
        const auto pixels = drawAndSample(mode, true, true);
        EXPECT_EQ(pixels, drawAndSample(mode, true, false)) << "mode " << mode;
        EXPECT_PRED2(near, pixels[0], ADDED) << "mode " << mode;
    }

    // Opaque modes replace the background with the tinted image, as an additive one does with blend off.
    sprite.setColor(0.5f, 1.0f, 1.0f);
    for (int mode : {2, 6})
        EXPECT_PRED2(near, drawAndSample(mode, true, true)[0], (Rgb{100, 0, 0})) << "mode " << mode;
    EXPECT_PRED2(near, drawAndSample(1, false, false)[0], (Rgb{100, 0, 0}));

    // Every mode leaves blending off; modes outside the table draw nothing.
    for (int mode : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 1000}) {
        glEnable(GL_BLEND);
        const auto pixels = drawAndSample(mode, true, true);
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "mode " << mode;
        const bool inTable = mode >= 0 && mode < SPRITE_MODE_COUNT;
        EXPECT_TRUE(inTable || near(pixels[0], BACKGROUND)) << "mode " << mode << " is outside the table";
    }
}

TEST_F(SpriteDrawTest, TiledAndScrollingModesMoveTheTextureAcrossTheQuad) {
    sprite.texture = makeSplitTexture(RED, GREEN);
    sprite.repeat = 4;  // 64 pixels wide: each copy 16 pixels, red then green
    drawAndSample(6, true, false);
    for (int copy = 0; copy < 4; ++copy) {
        EXPECT_PRED2(near, pixelAt(100 + copy * 16 + 4, 110), RED) << "copy " << copy;
        EXPECT_PRED2(near, pixelAt(100 + copy * 16 + 12, 110), GREEN) << "copy " << copy;
    }

    spriteDrawState().scrollOffsets[SCROLL_HORIZONTAL_RISING] = 0.0f;
    sprite.scrollSpeed = 500.0f;  // one draw moves half a texture width
    const auto pixels = drawAndSample(13, true, false);
    EXPECT_PRED2(near, pixels[0], (Rgb{0, 200, 200}));  // the green half now starts at the left edge
    EXPECT_PRED2(near, pixels[1], ADDED);
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

TEST_F(SpriteDrawTest, AnimatedModeOneAddsTheCurrentFrameModeTwoDrawsTheImage) {
    sprite.frameTextures[0] = gltest::makeSolidTexture(GREEN);
    sprite.frameTextures[1] = gltest::makeSolidTexture(WHITE);
    sprite.frameCount = 2;
    spriteDrawState().animCountdownStarted = true;
    spriteDrawState().animCountdown = 10.0f;

    // Mode 1 adds the current frame, mode 2 draws the sprite's image, any other draws nothing.
    const struct {
        int mode;
        Rgb colour;
    } draws[] = {{1, {0, 200, 200}}, {2, RED}, {3, BACKGROUND}};
    for (const auto& d : draws) {
        gltest::beginFrame(BACKGROUND);
        sprite.drawAnimated(d.mode, true, 10.0f);
        gltest::endFrame();
        EXPECT_PRED2(near, pixelAt(116, 116), d.colour) << "mode " << d.mode;
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "mode " << d.mode;
    }
}

constexpr int CELLS = 16;

// Every texel of cell (column, row from the top of the picture) is (column * 16 + 8, row * 16 + 8, 200), so a
// pixel tells which cell drew it.
GLuint makeCellTexture() {
    std::vector<std::uint8_t> rgb;
    for (int texelRow = 0; texelRow < 256; ++texelRow) {  // bottom row first
        const int cellRow = (255 - texelRow) / CELLS;
        for (int texelColumn = 0; texelColumn < 256; ++texelColumn) {
            rgb.push_back(static_cast<std::uint8_t>(texelColumn / CELLS * CELLS + 8));
            rgb.push_back(static_cast<std::uint8_t>(cellRow * CELLS + 8));
            rgb.push_back(200);
        }
    }
    return gltest::makeTexture(256, 256, rgb);
}

Rgb cellColour(int cell) {
    return {cell % CELLS * CELLS + 8, cell / CELLS * CELLS + 8, 200};
}

class BitmapFontTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL_WINDOW();
        font.texture = makeCellTexture();
        font.buildLists();
        font.screenHeight = gltest::WINDOW_HEIGHT;
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override { font.deleteLists(); }

    BitmapFont font;
};

TEST_F(BitmapFontTest, EachCharacterDrawsItsCellAtThePenAndTheStateIsRestored) {
    GLdouble projectionBefore[16];
    GLint depthBefore = 0;
    glMatrixMode(GL_PROJECTION);
    glGetDoublev(GL_PROJECTION_MATRIX, projectionBefore);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depthBefore);
    glDisable(GL_DEPTH_TEST);

    // A glyph ends at y and spans sixteen pixels up and right of the pen.
    font.print(100, 20, "A", 1);
    const Rgb cellA = cellColour('A' - 32 + 128);
    EXPECT_PRED2(near, pixelAt(100, 4), cellA);
    EXPECT_PRED2(near, pixelAt(115, 19), cellA);
    for (const auto& [x, y] : {std::pair{100, 3}, {100, 20}, {116, 10}, {99, 10}})
        EXPECT_PRED2(near, pixelAt(x, y), BLACK) << x << ", " << y;

    // Set 0 draws the first half of the cells, set 1 the second, larger sets mean 1; a colour multiplies.
    font.print(100, 40, "A", 0);
    font.print(100, 80, "A", 5);
    font.printColored(100, 120, "A", 1, 255, 0, 255, 255);
    EXPECT_PRED2(near, pixelAt(104, 30), cellColour('A' - 32));
    EXPECT_PRED2(near, pixelAt(104, 70), cellA);
    EXPECT_PRED2(near, pixelAt(104, 110), (Rgb{cellA[0], 0, cellA[2]}));

    // The pen advances ten pixels. Codes from 160 name lists past the 256 built: nothing is drawn and the
    // pen stays. With set 0, control characters name lists before the first. Empty text draws nothing.
    font.print(200, 40, "AB", 1);
    font.print(300, 40,
               "\xA0\xFE"
               "A",
               1);
    font.print(400, 40,
               "\x01"
               "A",
               0);
    font.print(500, 40, "", 1);
    EXPECT_PRED2(near, pixelAt(204, 30), cellA);
    EXPECT_PRED2(near, pixelAt(224, 30), cellColour('B' - 32 + 128));
    EXPECT_PRED2(near, pixelAt(304, 30), cellA);
    EXPECT_PRED2(near, pixelAt(322, 30), BLACK);
    EXPECT_PRED2(near, pixelAt(404, 30), cellColour('A' - 32));
    EXPECT_PRED2(near, pixelAt(504, 30), BLACK);

    // Each print leaves the projection as it found it, the model-view matrix current, blending off and the
    // depth test on.
    GLdouble projectionAfter[16];
    GLint depthAfter = 0;
    GLint matrixMode = 0;
    glGetDoublev(GL_PROJECTION_MATRIX, projectionAfter);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depthAfter);
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_TRUE(std::equal(projectionBefore, projectionBefore + 16, projectionAfter));
    EXPECT_EQ(depthBefore, depthAfter);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

}  // namespace
