// One pass of the input system: reading a keyboard, a mouse and a joystick into the key states, the cursor
// and the joystick position. The baseline copies the same three device states and nothing else.
#include <benchmark/benchmark.h>

#include <cstring>

#include "input/input_system.h"
#include "platform/dik_codes.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"

namespace {

void BM_CopyDeviceStates(benchmark::State& state) {
    fake::reset();
    std::uint8_t keys[KEYBOARD_STATE_SIZE];
    plat::MouseState mouse{};
    plat::JoystickState joystick{};
    for (auto _ : state) {
        std::memcpy(keys, fake::input().keys.data(), sizeof(keys));
        std::memcpy(&mouse, &fake::input().mouseNow, sizeof(mouse));
        std::memcpy(&joystick, &fake::input().joystickNow, sizeof(joystick));
        benchmark::DoNotOptimize(keys);
        benchmark::DoNotOptimize(mouse);
        benchmark::DoNotOptimize(joystick);
    }
}
BENCHMARK(BM_CopyDeviceStates);

void BM_Poll(benchmark::State& state) {
    fake::reset();
    fake::input().joysticksAttached = 1;
    InputSystem input;
    input.init(nullptr, fake::fakeWindowHandle());
    input.setCursorBounds(0, 0, 631, 471);
    fake::pressKey(DIK_ESCAPE);
    fake::setJoystickAxes(300, -200);
    for (auto _ : state) {
        fake::moveMouse(5, -3);
        benchmark::DoNotOptimize(input.poll());
    }
}
BENCHMARK(BM_Poll);

void BM_KeyState(benchmark::State& state) {
    fake::reset();
    InputSystem input;
    input.init(nullptr, fake::fakeWindowHandle());
    std::uint16_t code = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(input.keyState(code));
        code = static_cast<std::uint16_t>((code + 1) % 300);
    }
}
BENCHMARK(BM_KeyState);

}  // namespace
