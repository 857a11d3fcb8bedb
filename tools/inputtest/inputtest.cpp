// inputtest: opens the engine's window and prints every change the input system reads, one line each: key and
// button states by name, the cursor and the mouse movement, the wheel, the joystick. Close the window to end.
// It runs the engine's start-up of the window, so it writes the engine log into the working directory.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "graphics/display.h"
#include "input/input_system.h"

namespace {

constexpr int WINDOW_WIDTH = 640;
constexpr int WINDOW_HEIGHT = 480;
constexpr int WINDOW_COLOR_BITS = 16;
constexpr int CURSOR_RIGHT = 631;
constexpr int CURSOR_BOTTOM = 471;

const char* const STATE_NAMES[] = {"up", "released", "pressed", "held"};

// What was printed last, so only changes are printed.
struct Seen {
    std::uint8_t keyStates[KEY_COUNT] = {};
    std::int32_t cursorX = 0, cursorY = 0;
    std::int32_t wheelForward = 0, wheelBackward = 0;
    std::int32_t joystickDeltaX = 0, joystickDeltaY = 0;
};

void printKeys(const InputSystem& input, Seen& seen) {
    for (int code = 0; code < KEY_COUNT; ++code) {
        const std::uint16_t state = input.keyState(static_cast<std::uint16_t>(code));
        if (state == seen.keyStates[code]) continue;
        seen.keyStates[code] = static_cast<std::uint8_t>(state);
        const char* name = input.keyNames[code][0] != '\0' ? input.keyNames[code] : "?";
        std::printf("key %3d %-12s %s\n", code, name, STATE_NAMES[state & 3]);
    }
}

void printMouse(const InputSystem& input, Seen& seen) {
    std::int32_t x = 0, y = 0, dx = 0, dy = 0;
    input.getCursor(&x, &y);
    input.getMouseDelta(&dx, &dy);
    if (x != seen.cursorX || y != seen.cursorY) {
        std::printf("cursor %d,%d  movement %d,%d\n", x, y, dx, dy);
        seen.cursorX = x;
        seen.cursorY = y;
    }
    if (input.wheelForward != seen.wheelForward || input.wheelBackward != seen.wheelBackward) {
        std::printf("wheel forward %d (%d notches)  backward %d (%d notches)\n", input.wheelForward,
                    input.wheelForwardNotches, input.wheelBackward, input.wheelBackwardNotches);
        seen.wheelForward = input.wheelForward;
        seen.wheelBackward = input.wheelBackward;
    }
}

void printJoystick(const InputSystem& input, Seen& seen) {
    if (input.joystickDeltaX == seen.joystickDeltaX && input.joystickDeltaY == seen.joystickDeltaY) return;
    std::printf("joystick axes %d,%d  position %d,%d\n", input.joystickDeltaX, input.joystickDeltaY,
                input.joystickX, input.joystickY);
    seen.joystickDeltaX = input.joystickDeltaX;
    seen.joystickDeltaY = input.joystickDeltaY;
}

void printDevices(const InputSystem& input, HRESULT result) {
    std::printf("init 0x%08X: keyboard %s, mouse %s, joystick %s (subtype %d)\n",
                static_cast<unsigned>(result), input.keyboard ? "yes" : "no", input.mouse ? "yes" : "no",
                input.joystick ? "yes" : "no", input.joystickSubtype);
}

}  // namespace

int main() {
    if (!g_display.createWindow(WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_COLOR_BITS, SCREEN_WINDOWED,
                                "PEL2D - input test")) {
        std::fprintf(stderr, "inputtest: no window\n");
        return 1;
    }
    printDevices(g_input, g_input.init(g_hInstance, g_hWnd));
    g_input.setCursorBounds(0, 0, CURSOR_RIGHT, CURSOR_BOTTOM);
    std::fflush(stdout);

    Seen seen;
    g_input.getCursor(&seen.cursorX, &seen.cursorY);
    while (g_display.pumpMessages()) {
        if (!g_display.active) continue;
        const HRESULT result = g_input.poll();
        if (result != 0) std::printf("poll 0x%08X\n", static_cast<unsigned>(result));
        printKeys(g_input, seen);
        printMouse(g_input, seen);
        printJoystick(g_input, seen);
        std::fflush(stdout);
        g_display.clearScene();
        g_display.present();
    }
    g_display.destroyWindow();
    return 0;
}
