// The contract calls of one play frame (the message queue drained, the keyboard and the mouse read, the music
// polled, the frame clock's two counter readings) with the replay layer passing them on, recording them and
// replaying them. Compare the difference with a play frame of the real program (--timedemo prints its rate).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"
#include "platform/native.h"
#include "platform/replay/replay.h"

namespace {

constexpr const char* RECORDING = "replay_bench.demo";

struct Devices {
    plat::InputObject* input = nullptr;
    plat::InputDevice* keyboard = nullptr;
    plat::InputDevice* mouse = nullptr;
    plat::MediaEvent* events = nullptr;
};

Devices open() {
    Devices d;
    plat::directInputCreate(nullptr, DIRECTINPUT_VERSION, &d.input, nullptr);
    plat::createDevice(d.input, GUID_SysKeyboard, &d.keyboard, nullptr);
    plat::createDevice(d.input, GUID_SysMouse, &d.mouse, nullptr);
    for (plat::InputDevice* device : {d.keyboard, d.mouse}) {
        plat::setDataFormat(device, device == d.keyboard ? &c_dfDIKeyboard : &c_dfDIMouse);
        plat::acquire(device);
    }
    plat::coInitialize();
    plat::GraphBuilder* graph = nullptr;
    plat::createFilterGraph(&graph);
    plat::queryMediaEvent(graph, &d.events);
    return d;
}

void frame(const Devices& d, int n) {
    fake::moveMouse(n % 2 == 0 ? 3 : -3, 0);
    plat::Message message;
    while (plat::peekMessage(&message)) {
    }
    std::uint8_t keys[KEYBOARD_STATE_SIZE];
    plat::MouseState mouse;
    plat::getDeviceState(d.keyboard, sizeof keys, keys);
    plat::getDeviceState(d.mouse, sizeof mouse, &mouse);
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    plat::getEvent(d.events, &code, &p1, &p2, 0);
    std::int64_t counter = 0;
    plat::queryPerformanceCounter(&counter);
    plat::queryPerformanceCounter(&counter);
    benchmark::DoNotOptimize(counter);
}

// Starts the replay layer with `option` (none, --record or --replay) on a fresh fake machine.
bool start(const char* option) {
    fake::reset();
    fake::system().recordCalls = false;
    fake::system().counterStep = 2500;
    char program[] = "replay_bench";
    std::string optionText = option, path = RECORDING;
    char* argv[] = {program, optionText.data(), path.data(), nullptr};
    int status = 0;
    return replay::start(option[0] ? 3 : 1, argv, &status);
}

constexpr int FRAMES = 200000;

void run(benchmark::State& state, const char* option) {
    for (auto _ : state) {
        state.PauseTiming();
        if (std::string(option) == "--replay") {
            start("--record");
            const Devices recorded = open();
            for (int n = 0; n < FRAMES; ++n)
                frame(recorded, n);
            replay::finish(0);
        }
        if (!start(option)) state.SkipWithError("cannot start");
        const Devices d = open();
        state.ResumeTiming();
        for (int n = 0; n < FRAMES; ++n)
            frame(d, n);
        state.PauseTiming();
        replay::finish(0);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * FRAMES);
    std::remove(RECORDING);
}

void BM_FramePassedOn(benchmark::State& state) {
    run(state, "");
}
void BM_FrameRecorded(benchmark::State& state) {
    run(state, "--record");
}
void BM_FrameReplayed(benchmark::State& state) {
    run(state, "--replay");
}

BENCHMARK(BM_FramePassedOn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameRecorded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameReplayed)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
