// The bitmap font in a real context: which cell each character draws, where, and what state it leaves.
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/bitmap_font.h"
#include "support/gl_pixels.h"

using gltest::near;
using gltest::pixelAt;
using gltest::Rgb;

namespace {

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

TEST_F(BitmapFontTest, GlyphCellsEndAtYAndSpanSixteenPixelsUpward) {
    font.print(100, 20, "A", 1);
    const Rgb cellA = cellColour('A' - 32 + 128);
    EXPECT_PRED2(near, pixelAt(100, 4), cellA);
    EXPECT_PRED2(near, pixelAt(115, 19), cellA);
    EXPECT_PRED2(near, pixelAt(100, 3), (Rgb{0, 0, 0}));
    EXPECT_PRED2(near, pixelAt(100, 20), (Rgb{0, 0, 0}));
    EXPECT_PRED2(near, pixelAt(116, 10), (Rgb{0, 0, 0}));
    EXPECT_PRED2(near, pixelAt(99, 10), (Rgb{0, 0, 0}));
}

TEST_F(BitmapFontTest, SetsPickTheirHalfAndLargerSetsMeanOne) {
    font.print(100, 40, "A", 0);
    font.print(100, 80, "A", 1);
    font.print(100, 120, "A", 5);
    font.printColored(100, 160, "A", 1, 255, 0, 255, 255);
    EXPECT_PRED2(near, pixelAt(104, 30), cellColour('A' - 32));
    EXPECT_PRED2(near, pixelAt(104, 70), cellColour('A' - 32 + 128));
    EXPECT_PRED2(near, pixelAt(104, 110), cellColour('A' - 32 + 128));
    const Rgb plain = cellColour('A' - 32 + 128);
    EXPECT_PRED2(near, pixelAt(104, 150), (Rgb{plain[0], 0, plain[2]}));
}

TEST_F(BitmapFontTest, PenAdvancesTenPixelsAndSkipsCharactersWithoutAList) {
    font.print(100, 40, "AB", 1);
    EXPECT_PRED2(near, pixelAt(104, 30), cellColour('A' - 32 + 128));
    EXPECT_PRED2(near, pixelAt(124, 30), cellColour('B' - 32 + 128));

    // Codes from 160 name lists past the 256 built: nothing is drawn and the pen stays.
    font.print(300, 40,
               "\xA0\xFE"
               "A",
               1);
    EXPECT_PRED2(near, pixelAt(304, 30), cellColour('A' - 32 + 128));
    EXPECT_PRED2(near, pixelAt(322, 30), (Rgb{0, 0, 0}));

    // With set 0, control characters name lists before the first.
    font.print(400, 40,
               "\x01"
               "A",
               0);
    EXPECT_PRED2(near, pixelAt(404, 30), cellColour('A' - 32));
}

TEST_F(BitmapFontTest, EmptyTextDrawsNothingAndRestoresTheState) {
    GLdouble projectionBefore[16];
    GLdouble projectionAfter[16];
    GLint depthBefore = 0;
    GLint depthAfter = 0;
    glMatrixMode(GL_PROJECTION);
    glGetDoublev(GL_PROJECTION_MATRIX, projectionBefore);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depthBefore);
    glDisable(GL_DEPTH_TEST);

    font.print(100, 40, "", 1);

    glGetDoublev(GL_PROJECTION_MATRIX, projectionAfter);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(0, std::memcmp(projectionBefore, projectionAfter, sizeof projectionBefore));
    EXPECT_EQ(depthBefore, depthAfter);
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_PRED2(near, pixelAt(104, 30), (Rgb{0, 0, 0}));
}

}  // namespace
