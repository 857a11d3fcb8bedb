// The cost of the game's rules in one play frame with all 216 bricks standing, against the bare cost of
// visiting every brick of the list once. No GL context is current, so the frame's draw calls do no drawing.
#include <benchmark/benchmark.h>

#include "game/ball.h"
#include "game/entity_list.h"
#include "game/new_game.h"
#include "game/play.h"
#include "graphics/display.h"

namespace {

constexpr float FRAME_TIME = 1.0f / 60.0f;

struct PlayField {
    Sprite background, wall, ball, paddle, glow, plate, plateGlow;
    SpriteTemplate brick;
    SpriteTemplate* brickPointer = &brick;
    PlayScene scene{background, wall, ball, paddle, glow, plate, plateGlow, brickPointer};

    PlayField() {
        brick.width = 30.0f;
        brick.height = 15.0f;
        g_bricks.deleteAll();
        newGame(scene);
        g_display.frameTime = FRAME_TIME;
    }
    ~PlayField() { g_bricks.deleteAll(); }

    // The ball starts each frame from below the wall, so every brick stays standing.
    void resetBall() { ball.setPosition(310.0f, 355.0f); }
};

void BM_PlayFrameLogic(benchmark::State& state) {
    PlayField field;
    for (auto _ : state) {
        field.resetBall();
        updatePlay(field.scene);
    }
    state.counters["bricks"] = static_cast<double>(g_bricks.count);
}
BENCHMARK(BM_PlayFrameLogic);

void BM_BallAgainstWall(benchmark::State& state) {
    PlayField field;
    for (auto _ : state) {
        field.resetBall();
        collideBallWithBricks(field.ball);
        updateBricks();
    }
}
BENCHMARK(BM_BallAgainstWall);

// Baseline: one read of every brick, the least any rule over the wall costs.
void BM_BareWalkOverWall(benchmark::State& state) {
    PlayField field;
    for (auto _ : state) {
        int alive = 0;
        for (Sprite* brick = g_bricks.head; brick; brick = brick->next)
            alive += brick->state == ENTITY_ALIVE;
        benchmark::DoNotOptimize(alive);
    }
}
BENCHMARK(BM_BareWalkOverWall);

}  // namespace

BENCHMARK_MAIN();
