// Batched drawing against one draw per entity where the golden frames do not reach: overlapping bricks, whose
// masks and images must keep their order, and explosions (the game makes none) over each other, one wrapping.
// Both must leave the same pixels, GL state and animation state, frame after frame.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "game/entity_list.h"
#include "game/new_game.h"
#include "graphics/asset_catalogue.h"
#include "graphics/display.h"
#include "support/gl_window.h"

namespace {

// A new wall, every other brick pushed half over its neighbour, under explosions.
void makeField() {
    g_bricks.deleteAll();
    g_effects.deleteAll();
    g_brickRed = g_brickGreen = g_brickBlue = 0.0f;
    spriteDrawState() = SpriteDrawState{};
    newGame();
    int index = 0;
    for (Sprite* brick = g_bricks.head; brick; brick = brick->next)
        brick->x += (index++ % 2 == 0) ? 15.0f : 0.0f;
    // The last on its last frame, about to wrap.
    const struct {
        float x, y;
        int frame;
    } explosions[] = {{100, 120, 0}, {130, 120, 0}, {160, 120, 1}, {100, 140, 1},
                      {130, 140, 2}, {160, 140, 2}, {400, 200, 14}};
    for (const auto& [x, y, frame] : explosions) {
        auto* effect = new Sprite;
        effect->initFromTemplate(*g_explosionTemplate);
        std::memcpy(effect->frameTextures, g_explosionTemplate->frameTextures, sizeof effect->frameTextures);
        effect->frame = frame;
        effect->kind = KIND_EFFECT;
        effect->state = ENTITY_ALIVE;
        effect->setPosition(x, y);
        g_effects.append(effect);
    }
}

// Frames of both lists: their pixels, then the GL state and the animation state they leave behind.
std::vector<float> drawFrames(bool batched, int frames) {
    makeField();
    g_bricks.drawInBatches = g_effects.drawInBatches = batched;
    std::vector<float> seen;
    std::vector<std::uint8_t> pixels(std::size_t{640} * 480 * 3);
    for (int i = 0; i < frames; ++i) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        g_display.clearScene();
        g_display.setOrtho2D(1);
        g_bricks.drawAll(1, true, true);
        g_effects.drawAllAnimated(1, true, 2.0f);
        glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        seen.insert(seen.end(), pixels.begin(), pixels.end());
        GLfloat current[8] = {};
        glGetFloatv(GL_CURRENT_COLOR, current);
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, current + 4);
        seen.insert(seen.end(), current, current + 8);
        for (GLenum name : {GL_BLEND_SRC, GL_BLEND_DST, GL_TEXTURE_BINDING_2D, GL_BLEND}) {
            GLint value = 0;
            glGetIntegerv(name, &value);
            seen.push_back(static_cast<float>(value));
        }
        seen.push_back(spriteDrawState().animCountdown);
        for (const Sprite* e = g_effects.head; e; e = e->next)
            seen.insert(seen.end(), {static_cast<float>(e->frame), static_cast<float>(e->animMarker)});
        g_display.setOrtho2D(0);
    }
    g_bricks.drawInBatches = g_effects.drawInBatches = true;
    g_bricks.deleteAll();
    g_effects.deleteAll();
    return seen;
}

TEST(PlayFrameBatching, OverlappingBricksAndExplosionsDrawTheSameAsOneDrawPerEntity) {
    REQUIRE_GL_WINDOW();
    std::filesystem::remove_all("data");
    std::filesystem::create_directory("data");
    std::filesystem::copy(std::string(PEL_SOURCE_DIR) + "/data/spr", "data/spr",
                          std::filesystem::copy_options::recursive);
    loadAssets();
    ASSERT_NE(g_explosionTemplate, nullptr);
    EXPECT_TRUE(drawFrames(true, 8) == drawFrames(false, 8));
}

}  // namespace
