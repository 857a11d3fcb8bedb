// The display in a real context where the golden frames (tests/golden) do not look: a window sized to height
// zero, odd-width screenshots, the catalogue without its font, and the state the drawing modes share.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "graphics/asset_catalogue.h"
#include "graphics/sprite.h"
#include "graphics/texture_loader.h"
#include "support/gl_window.h"
#include "support/test_files.h"

namespace {

using testfiles::Bytes;
using testfiles::readFile;

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

// The colour of the pixel at (x, y), y counted down from the top edge like sprite positions.
std::array<GLubyte, 3> pixelAt(int x, int y) {
    std::array<GLubyte, 3> rgb{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, HEIGHT - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

std::array<GLint, 4> integers(GLenum name) {
    std::array<GLint, 4> values{};
    glGetIntegerv(name, values.data());
    return values;
}

class DisplayGl : public testing::Test {
protected:
    void SetUp() override { REQUIRE_GL_WINDOW(); }
    // Back to the state the frame routines expect.
    void TearDown() override {
        glViewport(0, 0, WIDTH, HEIGHT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
    }
};

TEST_F(DisplayGl, AWindowSizedToHeightZeroGetsAViewportOfHeightOne) {
    WindowProc(g_hWnd, WM_SIZE, 0, MAKELPARAM(800, 0));
    EXPECT_EQ(g_display.height, 0);
    EXPECT_EQ(integers(GL_VIEWPORT), (std::array<GLint, 4>{0, 0, 800, 1}));
    WindowProc(g_hWnd, WM_SIZE, 0, MAKELPARAM(640, 480));
    EXPECT_EQ(integers(GL_VIEWPORT), (std::array<GLint, 4>{0, 0, 640, 480}));
}

TEST_F(DisplayGl, ScreenshotHoldsTheViewportBottomUpWithoutFillBytes) {
    // A viewport 641 wide has rows of an odd number of bytes, written without fill bytes; the column past the
    // window reads the same in the file and in a direct read-back. Boxes show a row or a channel misplaced.
    glViewport(0, 0, WIDTH + 1, HEIGHT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_SCISSOR_TEST);
    for (const std::array<int, 7> b : {std::array<int, 7>{0, 0, WIDTH + 1, HEIGHT, 30, 50, 200},
                                       {0, 0, 100, 50, 255, 0, 0},
                                       {WIDTH - 1, 0, 2, HEIGHT, 0, 255, 0}}) {
        glScissor(b[0], b[1], b[2], b[3]);
        glClearColor(static_cast<float>(b[4]) / 255, static_cast<float>(b[5]) / 255,
                     static_cast<float>(b[6]) / 255, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    ASSERT_EQ(g_textureLoader.saveScreenshot(), 0);
    const Bytes file = readFile("ekrang.tga");
    ASSERT_EQ(file.size(), 18 + std::size_t{WIDTH + 1} * 3 * HEIGHT);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 18),
              (Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 129, 2, 224, 1, 24, 0}));
    Bytes pixels(file.size() - 18);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WIDTH + 1, HEIGHT, GL_BGR_EXT, GL_UNSIGNED_BYTE, pixels.data());
    EXPECT_EQ(Bytes(file.begin() + 18, file.end()), pixels);

    // A screenshot that cannot be written reports it.
    std::filesystem::remove("ekrang.tga");
    std::filesystem::create_directory("ekrang.tga");
    EXPECT_EQ(g_textureLoader.saveScreenshot(), 1);
    std::filesystem::remove("ekrang.tga");
}

Sprite* const CATALOGUE_SPRITES[] = {
    &g_spriteCursor,         &g_spriteLogo,           &g_spriteLava,  &g_spriteMenuGlow,
    &g_spriteMenuBackground, &g_spriteBall,           &g_spritePlate, &g_spritePaddle,
    &g_spritePlayGlow,       &g_spritePlayBackground, &g_spriteWall};

// Every texture id the catalogue's objects hold, zeros left out.
std::multiset<GLuint> catalogueTextures() {
    std::multiset<GLuint> ids = {g_font.texture};
    for (const Sprite* sprite : CATALOGUE_SPRITES)
        ids.insert({sprite->texture, sprite->maskTexture, sprite->extraTexture});
    for (const SpriteTemplate* t : {g_brickTemplate, g_explosionTemplate}) {
        if (!t) continue;
        ids.insert({t->texture, t->maskTexture});
        ids.insert(std::begin(t->frameTextures), std::end(t->frameTextures));
    }
    ids.erase(0);
    return ids;
}

// Without the font every other picture still loads, each into a texture of its own (two are loaded twice,
// read once), and the font's lists are built without its texture.
TEST_F(DisplayGl, TheCatalogueLoadsEveryOtherPictureIntoATextureOfItsOwnWithoutTheFont) {
    std::filesystem::remove_all("data");
    std::filesystem::create_directory("data");
    std::filesystem::copy(std::string(PEL_SOURCE_DIR) + "/data/spr", "data/spr",
                          std::filesystem::copy_options::recursive);
    std::filesystem::remove("data/spr/font.spr");
    std::filesystem::remove("data/spr/font.bmp");
    g_font.texture = 0;
    loadAssets();
    const std::multiset<GLuint> ids = catalogueTextures();
    EXPECT_EQ(ids.size(), 30u);
    EXPECT_EQ(std::set<GLuint>(ids.begin(), ids.end()).size(), ids.size());
    EXPECT_EQ(g_font.texture, 0u);
    EXPECT_NE(g_font.listBase, 0u);
    g_font.deleteLists();
}

TEST_F(DisplayGl, ModesLeaveBlendingOffAndSpritesShareScrollOffsetsAndOneAnimationCountdown) {
    Sprite sprite;
    sprite.screenHeight = HEIGHT;
    sprite.setPosition(100.0f, 100.0f);
    sprite.setSize(64.0f, 32.0f);
    // Every mode leaves blending off; modes outside the table draw nothing over the blue background.
    glClearColor(0.0f, 0.0f, 0.8f, 0.0f);
    for (int mode : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 1000}) {
        g_display.clearScene();
        g_display.setOrtho2D(1);
        const std::array<GLubyte, 3> background = pixelAt(116, 116);
        glEnable(GL_BLEND);
        sprite.draw(mode, true, true);
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "mode " << mode;  // before leaving the 2D mode turns it off
        g_display.setOrtho2D(0);
        const bool inTable = mode >= 0 && mode < SPRITE_MODE_COUNT;
        EXPECT_TRUE(inTable || pixelAt(116, 116) == background) << "mode " << mode << " drew";
    }

    // Modes 7 and 10 share one offset, 8 and 11 another, whichever sprite draws. An offset that lands exactly
    // on the far end stays there for one draw and wraps on the next.
    float* offsets = spriteDrawState().scrollOffsets;
    offsets[SCROLL_TILED_DIAGONAL_RISING] = 0.0f;
    offsets[SCROLL_TILED_DIAGONAL_FALLING] = 1.0f;
    offsets[SCROLL_HORIZONTAL_RISING] = 0.5f;
    offsets[SCROLL_DIAGONAL_FALLING] = 0.5f;
    Sprite fast = sprite;
    fast.scrollSpeed = 500.0f;  // 500 x 0.001 rounds to exactly 0.5 in single precision
    const std::tuple<Sprite*, int, SpriteScroll, float> draws[] = {
        {&sprite, 7, SCROLL_TILED_DIAGONAL_RISING, 0.001f},
        {&fast, 10, SCROLL_TILED_DIAGONAL_RISING, 0.001f + 0.5f},
        {&sprite, 8, SCROLL_TILED_DIAGONAL_FALLING, 1.0f - 0.001f},
        {&sprite, 11, SCROLL_TILED_DIAGONAL_FALLING, (1.0f - 0.001f) - 0.001f},
        {&fast, 13, SCROLL_HORIZONTAL_RISING, 1.0f},
        {&fast, 13, SCROLL_HORIZONTAL_RISING, 0.0f},
        {&fast, 5, SCROLL_DIAGONAL_FALLING, 0.0f},
        {&fast, 5, SCROLL_DIAGONAL_FALLING, 1.0f},
    };
    for (const auto& [drawn, mode, scroll, offset] : draws) {
        drawn->draw(mode, true, false);
        EXPECT_EQ(offsets[scroll], offset) << "mode " << mode;
    }

    // Every call of any sprite takes one from the shared countdown, started at the delay; the call that takes
    // it below 0 steps its sprite's frame (the golden frames' bricks see that much), wrapping inside the
    // array whatever the frame count. A single frame stays at 0 and marks the wrap.
    spriteDrawState().animCountdownStarted = false;
    sprite.frameCount = SPRITE_MAX_FRAMES + 15;
    sprite.frame = SPRITE_MAX_FRAMES - 1;
    for (const int frame : {SPRITE_MAX_FRAMES - 1, SPRITE_MAX_FRAMES - 1, 0}) {
        sprite.drawAnimated(1, true, 2.0f);
        EXPECT_EQ(sprite.frame, frame);
    }
    spriteDrawState().animCountdownStarted = false;
    sprite.frameCount = 1;
    sprite.drawAnimated(1, true, 0.0f);
    EXPECT_EQ(std::make_pair(sprite.frame, sprite.animMarker), std::make_pair(0, SPRITE_ANIM_WRAP_MARKER));
}

}  // namespace
