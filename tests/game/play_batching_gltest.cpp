// The play frame with the game's own pictures, its entity lists drawn in batches, against the same frame with
// one draw per entity: every pixel the same, and the same shared drawing state afterwards, through the states
// a game passes: the full wall, bricks shrinking, explosions, paddle and ball at both ends of their sizes,
// bricks overlapping, and the second wall's colours.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
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

void refill(EntityList& list, const std::vector<Sprite>& entities) {
    list.deleteAll();
    for (const Sprite& e : entities)
        list.append(new Sprite(e));
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
    refill(g_bricks, field.bricks);
    refill(g_effects, field.effects);
    spriteDrawState() = field.drawState;
}

std::vector<std::pair<int, int>> animationOf(const std::vector<Sprite>& effects) {
    std::vector<std::pair<int, int>> frames;
    frames.reserve(effects.size());
    for (const Sprite& e : effects)
        frames.emplace_back(e.frame, e.animMarker);
    return frames;
}

// The frame's pixels and the GL state that sprite drawing leaves for whatever draws next.
struct Frame {
    std::vector<std::uint8_t> pixels;
    std::vector<GLfloat> state;
};

Frame playFrame(bool batched) {
    g_bricks.drawInBatches = batched;
    g_effects.drawInBatches = batched;
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    g_display.clearScene();
    g_display.setOrtho2D(1);
    updatePlay();
    // The lists once more, after the last plate, so their own leftover state is what is compared.
    g_bricks.drawAll(1, true, true);
    g_effects.drawAllAnimated(1, true, 2.0f);
    Frame frame{std::vector<std::uint8_t>(std::size_t{640} * 480 * 3), std::vector<GLfloat>(12)};
    glGetFloatv(GL_CURRENT_COLOR, frame.state.data());
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, frame.state.data() + 4);
    const GLenum integers[] = {GL_BLEND_SRC, GL_BLEND_DST, GL_TEXTURE_BINDING_2D, GL_BLEND};
    for (int i = 0; i < 4; ++i) {
        GLint value = 0;
        glGetIntegerv(integers[i], &value);
        frame.state[8 + static_cast<std::size_t>(i)] = static_cast<GLfloat>(value);
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, frame.pixels.data());
    g_display.setOrtho2D(0);
    g_bricks.drawInBatches = true;
    g_effects.drawInBatches = true;
    return frame;
}

// One frame drawn both ways from the same field; the field goes on from the batched frame.
void expectSameFrames(int frames, const std::string& what) {
    for (int i = 0; i < frames; ++i) {
        const PlayField before = save();
        const Frame batched = playFrame(true);
        const PlayField after = save();
        restore(before);
        const Frame unbatched = playFrame(false);
        ASSERT_EQ(batched.pixels, unbatched.pixels) << what << ", frame " << i;
        ASSERT_EQ(batched.state, unbatched.state) << what << ", frame " << i;
        // The animation and scroll state the frames leave: the same, as the next frame starts from it.
        const SpriteDrawState& shared = spriteDrawState();
        EXPECT_TRUE(std::equal(std::begin(shared.scrollOffsets), std::end(shared.scrollOffsets),
                               std::begin(after.drawState.scrollOffsets)))
            << what;
        EXPECT_EQ(shared.animCountdown, after.drawState.animCountdown) << what;
        EXPECT_EQ(animationOf(copies(g_effects)), animationOf(after.effects)) << what;
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

TEST(PlayFrameBatching, EveryStateOfTheFieldDrawsTheSamePixelsAsOneDrawPerEntity) {
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
