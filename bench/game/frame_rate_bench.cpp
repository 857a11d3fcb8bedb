// Frames of the real program on a virtual screen, each run side by side with its baseline (one of each per
// iteration, so both see the same load on the machine): the menu frame and the play frame with the full wall
// against the bare frame that only clears and presents, and the play frame against the same frame with the
// wall drawn one brick at a time. Counters: both frames' milliseconds, their ratio, and the C heap
// allocations per frame (the GL driver's included). Run it from a run folder so that the assets load
// (bench/game/frame_rate.sh does).
//
// Frames are timed by the wall clock, or with --processor_time by the processor time of the whole process,
// the driver's drawing threads included: the work a frame costs, which on a machine busy with other programs
// the wall clock buries under the time its drawing threads wait to be scheduled.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/entry.h"
#include "core/game_state.h"
#include "game/entity_list.h"
#include "game/new_game.h"
#include "game/scene.h"
#include "graphics/display.h"
#include "harness/malloc_counter.h"
#include "harness/side_by_side.h"
#include "platform/native.h"

namespace plat {

// Answers every box at once: the notice with OK, the full-screen question with Yes.
int native::messageBox(HWND, const char*, const char*, UINT style) {
    return (style & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

}  // namespace plat

namespace {

using Frame = void (*)();

double (*g_seconds)() = benchharness::wallSeconds;

void bareFrame() {
    g_display.pumpMessages();
    g_display.clearScene();
    g_display.present();
}

void menuFrame() {
    g_display.pumpMessages();
    GameState = STATE_MENU;
    runGameState();
}

// The ball starts every frame from below the wall, so all 216 bricks stay standing.
void playFrame() {
    g_display.pumpMessages();
    playScene().ball.setPosition(310.0f, 355.0f);
    GameState = STATE_PLAY;
    runGameState();
}

void unbatchedPlayFrame() {
    g_bricks.drawInBatches = false;
    playFrame();
    g_bricks.drawInBatches = true;
}

void BM_SideBySide(benchmark::State& state, Frame frame, Frame baseline) {
    g_bricks.deleteAll();
    newGame();  // the menu draws no bricks; play frames find the full wall
    std::int64_t allocations = 0;
    const auto countedFrame = [frame, &allocations] {
        const std::int64_t before = benchharness::mallocCount();
        frame();
        allocations += benchharness::mallocCount() - before;
    };
    benchharness::runSideBySide(state, g_seconds, countedFrame, baseline, "frame", "baseline");
    state.counters["allocs_per_frame"] =
        benchharness::mallocCount() < 0
            ? -1.0
            : static_cast<double>(allocations) / static_cast<double>(state.iterations());
    g_bricks.deleteAll();
}

BENCHMARK_CAPTURE(BM_SideBySide, menu_against_bare, menuFrame, bareFrame)->UseManualTime();
BENCHMARK_CAPTURE(BM_SideBySide, play_against_bare, playFrame, bareFrame)->UseManualTime();
BENCHMARK_CAPTURE(BM_SideBySide, play_against_unbatched, playFrame, unbatchedPlayFrame)->UseManualTime();
BENCHMARK_CAPTURE(BM_SideBySide, unbatched_against_bare, unbatchedPlayFrame, bareFrame)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--processor_time") != 0) {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
        g_seconds = benchharness::processorSeconds;
    }
    if (!initGame()) return 1;
    benchmark::RunSpecifiedBenchmarks();
    shutdownGame();
    benchmark::Shutdown();
    return 0;
}
