// Keyboard, mouse and the first joystick, read once per pass of the main loop into one four-state machine per
// engine key code, an accelerated and clamped cursor, the mouse movement, a joystick position and the wheel.
#pragma once

#include <cstdint>

#include "input/key_codes.h"
#include "platform/types.h"

namespace plat {
struct InputObject;
struct InputDevice;
}  // namespace plat

class InputSystem {
public:
    InputSystem();
    // Releases the devices: keyboard, mouse, joystick, then the input object.
    virtual ~InputSystem();

    InputSystem(const InputSystem&) = delete;
    InputSystem& operator=(const InputSystem&) = delete;

    HRESULT init(HINSTANCE instance, HWND window);
    // Reads every present device once. S_OK, or the failure of the first read that failed.
    HRESULT poll();
    // The state (KEYSTATE_*) of an engine key code; 0 for codes of 270 and above.
    std::uint16_t keyState(std::uint16_t code) const;
    void getCursor(std::int32_t* outX, std::int32_t* outY) const;
    void getMouseDelta(std::int32_t* outX, std::int32_t* outY) const;
    // The cursor rectangle from two corners given in either order.
    void setCursorBounds(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

    std::int32_t mouseAcquired = 0;

    // The input system's own state follows; see input_system.cpp.
};

extern InputSystem g_input;
