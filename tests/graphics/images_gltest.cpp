// Texture upload and screenshots in a real OpenGL context on a virtual display.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/spr_encoder.h"
#include "graphics/texture_loader.h"
#include "support/gl_window.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int WINDOW_WIDTH = 640;
constexpr int WINDOW_HEIGHT = 480;
// Odd, so a row is not a multiple of four bytes. The column past the window reads the same in the file and in
// a direct read-back: neither read writes it.
constexpr int WIDE_VIEWPORT = 641;

Bytes readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void putLe(Bytes& out, std::uint32_t v, int bytes) {
    // Fields wider than 4 bytes are zero-filled.
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(i < 4 ? v >> (8 * i) : 0));
}

// A 4 x 4 24-bit bitmap file whose pixel (x, y) from the bottom is (16x, 16y, 200).
Bytes smallBitmap() {
    Bytes file = {'B', 'M'};
    putLe(file, 54 + 48, 4);
    putLe(file, 0, 4);
    putLe(file, 54, 4);
    for (std::uint32_t v : {40u, 4u, 4u})
        putLe(file, v, 4);
    putLe(file, 1, 2);
    putLe(file, 24, 2);
    putLe(file, 0, 24);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            file.insert(file.end(),
                        {200, static_cast<std::uint8_t>(16 * y), static_cast<std::uint8_t>(16 * x)});
    }
    return file;
}

class ImagesGl : public testing::Test {
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
        Bytes pixels(static_cast<std::size_t>(width * height * 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_BGR_EXT, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
};

TEST_F(ImagesGl, LoadTextureUploadsAMipmappedTextureAndLeavesItBound) {
    Bytes spr;
    const Bytes bitmap = smallBitmap();
    ASSERT_TRUE(encodeSpr(bitmap.data(), bitmap.size(), spr));
    writeFile("tex.spr", spr);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    GLuint texture = 0;
    ASSERT_TRUE(g_textureLoader.loadTexture(&texture, "tex"));
    EXPECT_NE(texture, 0u);
    EXPECT_EQ(readFile("tex.bmp"), bitmap);
    GLint value = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(static_cast<GLuint>(value), texture);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
    EXPECT_EQ(value, 1);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 1);  // the chain goes down to 1 x 1

    Bytes texels(4 * 4 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(texels[static_cast<std::size_t>(3 * i)], 16 * (i % 4)) << i;
        EXPECT_EQ(texels[static_cast<std::size_t>(3 * i + 1)], 16 * (i / 4)) << i;
        EXPECT_EQ(texels[static_cast<std::size_t>(3 * i + 2)], 200) << i;
    }

    // A second load of a bitmap without a .spr file makes another texture from the file left on disk.
    std::remove("tex.spr");
    GLuint second = 0;
    ASSERT_TRUE(g_textureLoader.loadTexture(&second, "tex"));
    EXPECT_NE(second, texture);
}

TEST_F(ImagesGl, ScreenshotHoldsTheViewportBottomUpWithoutFillBytes) {
    glViewport(0, 0, 640, 480);
    drawFrame(0.3f);
    ASSERT_EQ(g_textureLoader.saveScreenshot(), 0);
    Bytes file = readFile("ekrang.tga");
    ASSERT_EQ(file.size(), 921618u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 18),
              (Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 128, 2, 224, 1, 24, 0}));
    EXPECT_EQ(Bytes(file.begin() + 18, file.end()), readBack(640, 480));

    // A 641-pixel-wide viewport, drawn again: the second screenshot replaces the first.
    glViewport(0, 0, WIDE_VIEWPORT, WINDOW_HEIGHT);
    drawFrame(0.8f);
    ASSERT_EQ(g_textureLoader.saveScreenshot(), 0);
    file = readFile("ekrang.tga");
    ASSERT_EQ(file.size(), 18u + 1923u * 480u);
    EXPECT_EQ(file[12], 129);
    EXPECT_EQ(file[13], 2);
    const Bytes pixels = readBack(WIDE_VIEWPORT, WINDOW_HEIGHT);
    EXPECT_EQ(Bytes(file.begin() + 18, file.end()), pixels);
    // Spot checks against what was drawn: bottom-left is red, the window's last column green, in both rows.
    EXPECT_EQ(Bytes(file.begin() + 18, file.begin() + 21), (Bytes{0, 0, 255}));
    EXPECT_EQ(Bytes(file.begin() + 18 + 1917, file.begin() + 18 + 1920), (Bytes{0, 255, 0}));
    EXPECT_EQ(Bytes(file.begin() + 18 + 1923 + 1917, file.begin() + 18 + 1923 + 1920), (Bytes{0, 255, 0}));
}

TEST_F(ImagesGl, ScreenshotThatCannotBeWrittenReportsIt) {
    std::remove("ekrang.tga");
    std::filesystem::create_directory("ekrang.tga");
    EXPECT_EQ(g_textureLoader.saveScreenshot(), 1);
    std::filesystem::remove("ekrang.tga");
}

}  // namespace
