// The play frame's heaviest drawing: 216 bricks in mode 1 with their mask. The engine's table-driven
// Sprite::draw against the bare sequence of GL calls it stands for (the ratio is the cost of the table), and
// the wall drawn as the entity list draws it, in batches.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <vector>

#include "graphics/display.h"
#include "graphics/sprite.h"
#include "graphics/sprite_batch.h"

namespace {

constexpr int BRICK_ROWS = 12;
constexpr int BRICK_COLUMNS = 18;
constexpr int SCREEN_HEIGHT = 480;

GLuint solidTexture(unsigned char value) {
    const std::vector<unsigned char> rgb(std::size_t{32} * 16 * 3, value);
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 32, 16, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    return id;
}

std::vector<Sprite> makeWall(GLuint texture, GLuint mask) {
    std::vector<Sprite> wall(std::size_t{BRICK_ROWS} * BRICK_COLUMNS);
    for (int i = 0; i < BRICK_ROWS * BRICK_COLUMNS; ++i) {
        Sprite& brick = wall[static_cast<std::size_t>(i)];
        brick.texture = texture;
        brick.maskTexture = mask;
        brick.screenHeight = SCREEN_HEIGHT;
        brick.setSize(30, 15);
        const int row = i / BRICK_COLUMNS;
        brick.setPosition(static_cast<float>(20 + 33 * (i % BRICK_COLUMNS)),
                          static_cast<float>(50 + 18 * row));
        brick.setColor(0.5f, 0.5f, 1.0f);
    }
    return wall;
}

void quad(const Sprite& s) {
    const float top = static_cast<float>(s.screenHeight) - s.y;
    const float bottom = top - static_cast<float>(s.height);
    const float right = s.x + static_cast<float>(s.width);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex3f(s.x, top, 0);
    glTexCoord2f(1, 1);
    glVertex3f(right, top, 0);
    glTexCoord2f(1, 0);
    glVertex3f(right, bottom, 0);
    glTexCoord2f(0, 0);
    glVertex3f(s.x, bottom, 0);
    glEnd();
}

bool ensureContext() {
    static const bool created = g_display.createWindow(640, SCREEN_HEIGHT, 16, SCREEN_WINDOWED, "bench");
    return created;
}

void BM_BrickWallEngine(benchmark::State& state) {
    if (!ensureContext()) return state.SkipWithError("no OpenGL window");
    std::vector<Sprite> wall = makeWall(solidTexture(200), solidTexture(0));
    g_display.setOrtho2D(1);
    for (auto _ : state) {
        for (Sprite& brick : wall)
            brick.draw(1, true, true);
        glFinish();
    }
    g_display.setOrtho2D(0);
}

void BM_BrickWallBare(benchmark::State& state) {
    if (!ensureContext()) return state.SkipWithError("no OpenGL window");
    std::vector<Sprite> wall = makeWall(solidTexture(200), solidTexture(0));
    g_display.setOrtho2D(1);
    for (auto _ : state) {
        for (const Sprite& brick : wall) {
            glLoadIdentity();
            glDisable(GL_DEPTH_TEST);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            glEnable(GL_BLEND);
            glBlendFunc(GL_DST_COLOR, GL_ZERO);
            glBindTexture(GL_TEXTURE_2D, brick.maskTexture);
            glColor4f(1, 1, 1, 1);
            quad(brick);
            glBlendFunc(GL_ONE, GL_ONE);
            glBindTexture(GL_TEXTURE_2D, brick.texture);
            glColor4f(brick.red, brick.green, brick.blue, brick.alpha);
            quad(brick);
            glDisable(GL_BLEND);
        }
        glFinish();
    }
    g_display.setOrtho2D(0);
}

void BM_BrickWallBatched(benchmark::State& state) {
    if (!ensureContext()) return state.SkipWithError("no OpenGL window");
    std::vector<Sprite> wall = makeWall(solidTexture(200), solidTexture(0));
    for (std::size_t i = 0; i + 1 < wall.size(); ++i)
        wall[i].next = &wall[i + 1];
    g_display.setOrtho2D(1);
    for (auto _ : state) {
        drawSpriteList(wall.data(), 1, true, true);
        glFinish();
    }
    g_display.setOrtho2D(0);
}

BENCHMARK(BM_BrickWallBare)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BrickWallBatched)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BrickWallEngine)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
