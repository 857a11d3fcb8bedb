// Texture loading up to the upload, on the fake backend: which names fail, silently or with a message, and
// what happens to the .bmp file beside a .spr file. The upload itself is checked under a real context (GL
// tests).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/spr_encoder.h"
#include "graphics/texture_loader.h"
#include "platform/fake/fake_platform.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path) {
    return std::ifstream(path).good();
}

class TextureLoading : public testing::Test {
protected:
    void SetUp() override { fake::reset(); }
    GLuint texture = 77;
};

TEST_F(TextureLoading, NamesWithoutFilesFailSilently) {
    EXPECT_FALSE(g_textureLoader.loadTexture(&texture, nullptr));
    EXPECT_FALSE(g_textureLoader.loadTexture(&texture, "absent"));
    EXPECT_FALSE(exists("absent.bmp"));
    // Too long for the 200-byte paths: refused before any file is touched, even if it exists.
    const std::string longName(TEXTURE_NAME_MAX + 1, 'n');
    writeFile(longName + ".bmp", Bytes{'B', 'M'});
    EXPECT_FALSE(g_textureLoader.loadTexture(&texture, longName.c_str()));
    EXPECT_EQ(texture, 77u);
    EXPECT_TRUE(fake::system().messageBoxes.empty());
}

TEST_F(TextureLoading, EmptySprLeavesAnEmptyBitmapThatFailsToOpen) {
    Bytes header = {'P', 'E', 'L'};
    header.resize(16, 0);  // decodedSize 0
    writeFile("zero.spr", header);
    writeFile("zero.bmp", Bytes(100, 1));
    EXPECT_FALSE(g_textureLoader.loadTexture(&texture, "zero"));
    EXPECT_TRUE(readFile("zero.bmp").empty());
    ASSERT_EQ(fake::system().messageBoxes.size(), 1u);
    EXPECT_EQ(fake::system().messageBoxes[0].text, "Failed to open DIB file zero.bmp.\n");
    EXPECT_EQ(texture, 77u);
}

TEST_F(TextureLoading, SprRefreshesItsBitmapOnEveryLoad) {
    // The packed file is not a bitmap the reader takes, so the load stops before the upload, after the
    // refresh.
    const Bytes unreadable = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 108, 0, 0, 0};
    Bytes spr;
    ASSERT_TRUE(encodeSpr(unreadable.data(), unreadable.size(), spr));
    writeFile("img.spr", spr);
    writeFile("img.bmp", Bytes(50, 9));
    EXPECT_FALSE(g_textureLoader.loadTexture(&texture, "img"));
    EXPECT_EQ(readFile("img.bmp"), unreadable);
    writeFile("img.bmp", Bytes(50, 9));
    EXPECT_FALSE(g_textureLoader.loadTexture(&texture, "img"));
    EXPECT_EQ(readFile("img.bmp"), unreadable);
    ASSERT_EQ(fake::system().messageBoxes.size(), 2u);
    EXPECT_EQ(fake::system().messageBoxes[1].text, "Unknown DIB file format.");
}

}  // namespace
