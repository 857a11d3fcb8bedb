// The display in a real context on a virtual screen: the viewport of a window sized to height zero, texture
// upload, screenshots of odd widths, and the asset catalogue loading the game's own images. What the game's
// frames look like is checked by the golden frames (tests/golden).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "graphics/asset_catalogue.h"
#include "graphics/spr_encoder.h"
#include "graphics/texture_loader.h"
#include "support/gl_window.h"
#include "support/test_files.h"

namespace {

using testfiles::Bytes;
using testfiles::readFile;

constexpr int WINDOW_WIDTH = 640;
constexpr int WINDOW_HEIGHT = 480;
constexpr std::size_t TGA_HEADER = 18;

// Up to four integers of GL state.
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
        glViewport(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
    }

    // A frame with a few coloured rectangles, so rows and channels cannot be confused.
    static void drawFrame(float shade) {
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_SCISSOR_TEST);
        const struct {
            int x, y, w, h;
            float r, g, b;
        } boxes[] = {{0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, 0.1f, 0.2f, shade},
                     {0, 0, 100, 50, 1.0f, 0.0f, 0.0f},
                     {WINDOW_WIDTH - 1, 0, 1, WINDOW_HEIGHT, 0.0f, 1.0f, 0.0f},
                     {200, WINDOW_HEIGHT - 30, 30, 30, 0.0f, 0.0f, 1.0f}};
        for (const auto& b : boxes) {
            glScissor(b.x, b.y, b.w, b.h);
            glClearColor(b.r, b.g, b.b, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        glDisable(GL_SCISSOR_TEST);
        glFinish();
    }

    // What the frame buffer holds over the viewport, bottom row first, as B, G, R.
    static Bytes readBack(int width, int height) {
        Bytes pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_BGR_EXT, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
};

TEST_F(DisplayGl, AWindowSizedToHeightZeroGetsAViewportOfHeightOne) {
    WindowProc(g_hWnd, WM_SIZE, 0, MAKELPARAM(800, 0));
    EXPECT_EQ(g_display.height, 0);
    EXPECT_EQ(integers(GL_VIEWPORT), (std::array<GLint, 4>{0, 0, 800, 1}));
    WindowProc(g_hWnd, WM_SIZE, 0, MAKELPARAM(640, 480));
    EXPECT_EQ(integers(GL_VIEWPORT), (std::array<GLint, 4>{0, 0, 640, 480}));
}

TEST_F(DisplayGl, PicturesReusedWithinAStartAreUploadedIntoTexturesOfTheirOwn) {
    // A 4 x 4 24-bit bitmap whose pixel (x, y) from the bottom is (16x, 16y, 200).
    Bytes stored;
    Bytes rgb;
    for (int i = 0; i < 16; ++i) {
        const auto x = static_cast<std::uint8_t>(16 * (i % 4));
        const auto y = static_cast<std::uint8_t>(16 * (i / 4));
        stored.insert(stored.end(), {200, y, x});
        rgb.insert(rgb.end(), {x, y, 200});
    }
    const Bytes bitmap = testfiles::makeDib({40, 4, 4, 24, 0, 0, {}, stored, true});
    Bytes spr;
    ASSERT_TRUE(encodeSpr(bitmap.data(), bitmap.size(), spr));
    testfiles::writeFile("tex.spr", spr);
    Bytes texels(rgb.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);

    // While pictures are reused, a name loaded again uploads the picture read the first time, into a texture
    // of its own, though its files are gone; afterwards the name is read from disk again.
    GLuint texture = 0;
    GLuint second = 0;
    {
        const TexturePictureReuse reuse;
        ASSERT_TRUE(g_textureLoader.loadTexture(&texture, "tex"));
        EXPECT_EQ(readFile("tex.bmp"), bitmap);
        std::remove("tex.spr");
        std::remove("tex.bmp");
        ASSERT_TRUE(g_textureLoader.loadTexture(&second, "tex"));
        EXPECT_NE(second, texture);
        EXPECT_EQ(integers(GL_TEXTURE_BINDING_2D)[0], static_cast<GLint>(second));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_EQ(texels, rgb);
    }
    EXPECT_FALSE(g_textureLoader.loadTexture(&second, "tex"));
}

TEST_F(DisplayGl, ScreenshotHoldsTheViewportBottomUpWithoutFillBytes) {
    // The golden frames check 640 x 480 screenshots pixel for pixel. A viewport 641 wide has rows of an odd
    // number of bytes, written without fill bytes; the column past the window reads the same in the file and
    // in a direct read-back.
    glViewport(0, 0, WINDOW_WIDTH + 1, WINDOW_HEIGHT);
    drawFrame(0.8f);
    ASSERT_EQ(g_textureLoader.saveScreenshot(), 0);
    const Bytes file = readFile("ekrang.tga");
    ASSERT_EQ(file.size(), TGA_HEADER + std::size_t{WINDOW_WIDTH + 1} * 3 * WINDOW_HEIGHT);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + TGA_HEADER),
              (Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 129, 2, 224, 1, 24, 0}));
    EXPECT_EQ(Bytes(file.begin() + TGA_HEADER, file.end()), readBack(WINDOW_WIDTH + 1, WINDOW_HEIGHT));

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
    std::multiset<GLuint> ids;
    auto keep = [&](GLuint id) {
        if (id != 0) ids.insert(id);
    };
    keep(g_font.texture);
    for (const Sprite* sprite : CATALOGUE_SPRITES) {
        keep(sprite->texture);
        keep(sprite->maskTexture);
        keep(sprite->extraTexture);
    }
    for (const SpriteTemplate* t : {g_brickTemplate, g_explosionTemplate}) {
        if (!t) continue;
        keep(t->texture);
        keep(t->maskTexture);
        for (GLuint frame : t->frameTextures)
            keep(frame);
    }
    return ids;
}

// Every picture the catalogue names is committed, loads into a texture of its own, and has sides that are
// powers of two, so no picture is rescaled at load. Without the font, everything after it still loads.
TEST_F(DisplayGl, TheCatalogueLoadsEveryPictureIntoATextureOfItsOwnWithOrWithoutTheFont) {
    std::filesystem::remove_all("data");
    std::filesystem::create_directory("data");
    std::filesystem::copy(std::string(PEL_SOURCE_DIR) + "/data/spr", "data/spr",
                          std::filesystem::copy_options::recursive);
    loadAssets();
    const std::multiset<GLuint> ids = catalogueTextures();
    EXPECT_EQ(ids.size(), 31u);
    EXPECT_EQ(std::set<GLuint>(ids.begin(), ids.end()).size(), ids.size());
    EXPECT_EQ(g_spriteBall.maskTexture, 0u) << "the ball's mask flag is off";
    for (const Sprite* sprite : CATALOGUE_SPRITES)
        EXPECT_EQ(sprite->screenHeight, g_display.height);
    EXPECT_EQ(g_font.screenHeight, g_display.height);
    for (const auto& entry : std::filesystem::recursive_directory_iterator("data/spr")) {
        if (entry.path().extension() != ".bmp") continue;
        const testfiles::Bytes header = testfiles::readFile(entry.path());
        ASSERT_GE(header.size(), 26u) << entry.path();
        const int width = header[18] | header[19] << 8;
        const int height = header[22] | header[23] << 8;
        EXPECT_TRUE(width > 0 && (width & (width - 1)) == 0) << entry.path() << " width " << width;
        EXPECT_TRUE(height > 0 && (height & (height - 1)) == 0) << entry.path() << " height " << height;
    }

    // Every load but the font's replaces its texture id; the font keeps the one it had.
    g_font.deleteLists();
    g_font.texture = 0;
    std::filesystem::remove("data/spr/font.spr");
    std::filesystem::remove("data/spr/font.bmp");
    loadAssets();
    EXPECT_EQ(g_font.texture, 0u);
    EXPECT_NE(g_font.listBase, 0u) << "the lists are built without the texture";
    EXPECT_EQ(catalogueTextures().size(), 30u);
    g_font.deleteLists();
}

}  // namespace
