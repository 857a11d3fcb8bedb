// The play frame with the game's own pictures and its entity lists drawn in batches, against the same frame
// with one draw per entity: the same pixels, GL state and animation state, through the states a game passes:
// the full wall, bricks shrinking, explosions, paddle and ball at both ends of their sizes, bricks
// overlapping, and the second wall's colours.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "game/entity_list.h"
#include "game/new_game.h"
#include "game/play.h"
#include "game/scene.h"
#include "graphics/asset_catalogue.h"
#include "graphics/display.h"
#include "support/gl_window.h"

namespace {

constexpr float FRAME_TIME = 0.05f;  // the ball moves 6 pixels a frame
constexpr int EXPLOSION_FRAMES = 15;

// What a play frame reads and changes: the scene's sprites, both lists and the shared scroll and animation
// state. Saved before the batched frame and put back for the unbatched one.
struct PlayField {
    std::vector<Sprite> sprites;
    std::vector<Sprite> bricks;
    std::vector<Sprite> effects;
    SpriteDrawState drawState;
};

std::vector<Sprite*> sceneSprites() {
    const PlayScene& s = playScene();
    return {&s.background, &s.wall, &s.ball, &s.paddle, &s.glow, &s.plate, &s.plateGlow};
}

std::vector<Sprite> copies(const EntityList& list) {
    std::vector<Sprite> entities;
    for (const Sprite* e = list.head; e; e = e->next)
        entities.push_back(*e);
    return entities;
}

PlayField save() {
    PlayField field{{}, copies(g_bricks), copies(g_effects), spriteDrawState()};
    for (const Sprite* sprite : sceneSprites())
        field.sprites.push_back(*sprite);
    return field;
}

void restore(const PlayField& field) {
    for (std::size_t i = 0; i < field.sprites.size(); ++i)
        *sceneSprites()[i] = field.sprites[i];
    for (auto [list, entities] :
         {std::pair{&g_bricks, &field.bricks}, std::pair{&g_effects, &field.effects}}) {
        list->deleteAll();
        for (const Sprite& e : *entities)
            list->append(new Sprite(e));
    }
    spriteDrawState() = field.drawState;
}

// The frame's pixels, then what drawing leaves for the next draw and the next frame: the lists' GL state
// (drawn once more after the last plate), the shared scroll and animation state, the effects' frames.
std::vector<float> playFrame(bool batched) {
    g_bricks.drawInBatches = g_effects.drawInBatches = batched;
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    g_display.clearScene();
    g_display.setOrtho2D(1);
    updatePlay();
    g_bricks.drawAll(1, true, true);
    g_effects.drawAllAnimated(1, true, 2.0f);
    std::vector<std::uint8_t> pixels(std::size_t{640} * 480 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<float> frame(pixels.begin(), pixels.end());
    GLfloat current[8] = {};
    glGetFloatv(GL_CURRENT_COLOR, current);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, current + 4);
    frame.insert(frame.end(), current, current + 8);
    for (GLenum name : {GL_BLEND_SRC, GL_BLEND_DST, GL_TEXTURE_BINDING_2D, GL_BLEND}) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        frame.push_back(static_cast<float>(value));
    }
    const SpriteDrawState& shared = spriteDrawState();
    frame.insert(frame.end(), shared.scrollOffsets, shared.scrollOffsets + SCROLL_COUNT);
    frame.push_back(shared.animCountdown);
    for (const Sprite* e = g_effects.head; e; e = e->next)
        frame.insert(frame.end(), {static_cast<float>(e->frame), static_cast<float>(e->animMarker)});
    g_display.setOrtho2D(0);
    g_bricks.drawInBatches = g_effects.drawInBatches = true;
    return frame;
}

// Frames drawn both ways from the same field; the field goes on from the batched frame.
void expectSameFrames(int frames, const std::string& what) {
    for (int i = 0; i < frames; ++i) {
        const PlayField before = save();
        const std::vector<float> batched = playFrame(true);
        const PlayField after = save();
        restore(before);
        ASSERT_TRUE(batched == playFrame(false)) << what << ", frame " << i;
        restore(after);
    }
}

// An explosion from the catalogue's frames at (x, y), partway through its animation.
void explode(float x, float y, int frame) {
    auto* effect = new Sprite;
    effect->initFromTemplate(*g_explosionTemplate);
    std::memcpy(effect->frameTextures, g_explosionTemplate->frameTextures, sizeof effect->frameTextures);
    effect->frame = frame;
    effect->kind = KIND_EFFECT;
    effect->state = ENTITY_ALIVE;
    effect->setPosition(x, y);
    g_effects.append(effect);
}

TEST(PlayFrameBatching, EveryStateOfTheFieldDrawsTheSameAsOneDrawPerEntity) {
    REQUIRE_GL_WINDOW();
    std::filesystem::remove_all("data");
    std::filesystem::create_directory("data");
    std::filesystem::copy(std::string(PEL_SOURCE_DIR) + "/data/spr", "data/spr",
                          std::filesystem::copy_options::recursive);
    loadAssets();
    ASSERT_NE(g_explosionTemplate, nullptr);
    g_display.frameTime = FRAME_TIME;
    g_bricks.deleteAll();
    g_effects.deleteAll();
    g_brickRed = g_brickGreen = g_brickBlue = 0.0f;
    Sprite& ball = playScene().ball;
    Sprite& paddle = playScene().paddle;

    newGame();
    expectSameFrames(1, "full wall");

    // Under the wall's bottom row, rising: a brick is hit at once and the next ones soon after.
    ball.setPosition(300.0f, 268.0f);
    expectSameFrames(12, "bricks shrinking");

    // Explosions over the wall and over each other, some on the same frame, one wrapping to its first.
    for (int i = 0; i < 6; ++i) {
        const int column = i % 3;
        const int row = i / 3;
        explode(100.0f + 30.0f * static_cast<float>(column), 120.0f + 20.0f * static_cast<float>(row), i / 2);
    }
    explode(400.0f, 200.0f, EXPLOSION_FRAMES - 1);
    expectSameFrames(8, "explosions");

    paddle.width = 400;
    ball.width = 120;
    expectSameFrames(2, "largest paddle and ball");
    paddle.width = 34;
    ball.width = 17;
    expectSameFrames(2, "smallest paddle and ball");

    // Every other brick pushed half over its right-hand neighbour: masks and images must keep their order.
    int index = 0;
    for (Sprite* brick = g_bricks.head; brick; brick = brick->next)
        brick->x += (index++ % 2 == 0) ? 15.0f : 0.0f;
    expectSameFrames(2, "overlapping bricks");

    g_bricks.deleteAll();
    g_effects.deleteAll();
    newGame();
    expectSameFrames(2, "second wall");
    g_bricks.deleteAll();
    g_effects.deleteAll();
}

}  // namespace
