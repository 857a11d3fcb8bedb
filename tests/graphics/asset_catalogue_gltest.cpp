// The asset catalogue against real image files: what it creates, in which objects, and that a missing image
// stops nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "graphics/asset_catalogue.h"
#include "support/gl_pixels.h"

namespace {

const char* const IMAGE_NAMES[] = {"font",  "mouse", "mouse_m", "pel3d", "lava",  "lava2",  "arka",
                                   "arka2", "top",   "topm",    "sopa",  "duvar", "duvarm", "menus"};

// A 2 x 2 24-bit bitmap; the loader takes an existing .bmp without a .spr as it is.
void writeTinyBmp(const std::string& path) {
    const std::uint8_t header[54] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0,  54, 0, 0, 0, 40, 0,  0, 0, 2,
                                     0,   0,   0,  2, 0, 0, 0, 1, 0, 24, 0,  0, 0, 0, 0,  16, 0, 0, 0};
    const std::vector<std::uint8_t> pixels(16, 0x80);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(header, 1, sizeof header, file);
    std::fwrite(pixels.data(), 1, pixels.size(), file);
    std::fclose(file);
}

void writeEveryImage() {
    std::filesystem::create_directories("data/spr/efek");
    for (const char* name : IMAGE_NAMES)
        writeTinyBmp(std::string("data/spr/") + name + ".bmp");
    for (int frame = 0; frame < EXPLOSION_FRAME_COUNT; ++frame) {
        writeTinyBmp("data/spr/efek/exp" + std::to_string(frame) + ".bmp");
    }
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

void forgetTextures() {
    g_font.texture = 0;
    for (Sprite* sprite : CATALOGUE_SPRITES)
        *sprite = Sprite();
    for (SpriteTemplate* t : {g_brickTemplate, g_explosionTemplate}) {
        if (t) *t = SpriteTemplate();
    }
}

class AssetCatalogueTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL_WINDOW();
        writeEveryImage();
        forgetTextures();
    }
    void TearDown() override { g_font.deleteLists(); }
};

TEST_F(AssetCatalogueTest, EveryImagePresentGivesThirtyOneTextures) {
    loadAssets();
    const std::multiset<GLuint> ids = catalogueTextures();
    EXPECT_EQ(ids.size(), 31u);
    EXPECT_EQ(std::set<GLuint>(ids.begin(), ids.end()).size(), ids.size())
        << "each load makes its own texture";
    EXPECT_NE(g_spritePaddle.texture, g_spritePlate.texture);
    EXPECT_EQ(g_spriteBall.maskTexture, 0u) << "the ball's mask flag is off";
    EXPECT_NE(g_spriteBall.extraTexture, 0u);
    EXPECT_EQ(g_spriteBall.getVelocityX(), 5.0f);
    EXPECT_EQ(g_spriteWall.width, 640);
    EXPECT_EQ(g_spriteWall.height, 30);
    ASSERT_NE(g_explosionTemplate, nullptr);
    EXPECT_EQ(g_explosionTemplate->frameCount, EXPLOSION_FRAME_COUNT);
    EXPECT_EQ(g_explosionTemplate->frameDelay, 20.0f);
    ASSERT_NE(g_brickTemplate, nullptr);
    EXPECT_EQ(g_brickTemplate->width, 30.0f);
    for (const Sprite* sprite : CATALOGUE_SPRITES)
        EXPECT_EQ(sprite->screenHeight, g_display.height);
    EXPECT_EQ(g_font.screenHeight, g_display.height);
}

TEST_F(AssetCatalogueTest, MissingFontStopsNothingAfterIt) {
    std::filesystem::remove("data/spr/font.bmp");
    loadAssets();
    EXPECT_EQ(g_font.texture, 0u);
    EXPECT_NE(g_font.listBase, 0u) << "the lists are built without the texture";
    EXPECT_EQ(catalogueTextures().size(), 30u);
    EXPECT_NE(g_spriteCursor.maskTexture, 0u);
    EXPECT_NE(g_spriteWall.texture, 0u);
    EXPECT_NE(g_explosionTemplate->frameTextures[EXPLOSION_FRAME_COUNT - 1], 0u);
}

// The game's own pictures: every one the catalogue names is committed, loads, and has sides that are powers
// of two, so no picture is rescaled at load.
TEST_F(AssetCatalogueTest, CommittedArtLoadsWholeAndUnscaled) {
    std::filesystem::remove_all("data");
    std::filesystem::copy(std::string(PEL_SOURCE_DIR) + "/data", "data",
                          std::filesystem::copy_options::recursive);
    loadAssets();
    EXPECT_EQ(catalogueTextures().size(), 31u);
    for (const auto& entry : std::filesystem::recursive_directory_iterator("data/spr")) {
        if (entry.path().extension() != ".bmp") continue;
        std::FILE* file = std::fopen(entry.path().c_str(), "rb");
        ASSERT_NE(file, nullptr);
        std::uint8_t header[26] = {};
        EXPECT_EQ(std::fread(header, 1, sizeof header, file), sizeof header);
        std::fclose(file);
        const int width = header[18] | header[19] << 8;
        const int height = header[22] | header[23] << 8;
        EXPECT_TRUE(width > 0 && (width & (width - 1)) == 0) << entry.path() << " width " << width;
        EXPECT_TRUE(height > 0 && (height & (height - 1)) == 0) << entry.path() << " height " << height;
    }
}

}  // namespace
