// Frames of the real program on a virtual screen: a menu frame and a play frame with the full wall, against
// the bare frame that only clears and presents. Run it from a run folder so that the assets load
// (bench/game/frame_rate.sh does).
#include <benchmark/benchmark.h>

#include "core/entry.h"
#include "core/game_state.h"
#include "game/entity_list.h"
#include "game/new_game.h"
#include "game/scene.h"
#include "graphics/display.h"
#include "platform/native.h"

namespace plat {

// Answers every box at once: the notice with OK, the full-screen question with Yes.
int native::messageBox(HWND, const char*, const char*, UINT style) {
    return (style & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

}  // namespace plat

namespace {

void BM_BareFrame(benchmark::State& state) {
    for (auto _ : state) {
        g_display.pumpMessages();
        g_display.clearScene();
        g_display.present();
    }
}
BENCHMARK(BM_BareFrame)->UseRealTime();

void BM_MenuFrame(benchmark::State& state) {
    for (auto _ : state) {
        g_display.pumpMessages();
        GameState = STATE_MENU;
        runGameState();
    }
}
BENCHMARK(BM_MenuFrame)->UseRealTime();

// The ball starts every frame from below the wall, so all 216 bricks stay standing.
void BM_PlayFrame(benchmark::State& state) {
    g_bricks.deleteAll();
    newGame();
    for (auto _ : state) {
        g_display.pumpMessages();
        playScene().ball.setPosition(310.0f, 355.0f);
        GameState = STATE_PLAY;
        runGameState();
    }
    state.counters["bricks"] = static_cast<double>(g_bricks.count);
    g_bricks.deleteAll();
}
BENCHMARK(BM_PlayFrame)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!initGame()) return 1;
    benchmark::RunSpecifiedBenchmarks();
    shutdownGame();
    benchmark::Shutdown();
    return 0;
}
