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

// Where the mouse had gone (its running sums) when a key went down.
struct KeyPressPosition {
    std::int32_t x;
    std::int32_t y;
};

class InputSystem {
public:
    InputSystem();
    // Releases the devices: keyboard, mouse, joystick, then the input object.
    virtual ~InputSystem();

    InputSystem(const InputSystem&) = delete;
    InputSystem& operator=(const InputSystem&) = delete;

    // Creates the mouse, the keyboard with the key tables and the first attached joystick, in that order. The
    // first fatal failure is returned and what comes after it is left missing; the devices made so far are
    // kept.
    HRESULT init(HINSTANCE instance, HWND window);
    // Reads the keyboard, the mouse and the joystick once, in that order. A failed read re-acquires its
    // device, skips the devices after it and is returned; otherwise S_OK. Allocates nothing.
    HRESULT poll();
    // The state (KEYSTATE_*) of an engine key code; 0 for codes of 270 and above.
    std::uint16_t keyState(std::uint16_t code) const;
    void getCursor(std::int32_t* outX, std::int32_t* outY) const;
    void getMouseDelta(std::int32_t* outX, std::int32_t* outY) const;
    // The cursor rectangle from two corners given in either order. The cursor stays within [min, max - 1] and
    // is clamped at the next successful mouse read.
    void setCursorBounds(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

    plat::InputObject* directInput = nullptr;
    plat::InputDevice* keyboard = nullptr;
    plat::InputDevice* mouse = nullptr;
    plat::InputDevice* joystick = nullptr;  // reached through the second device interface, which can poll
    // Nonzero while the device counts as acquired. The keyboard is read whatever its flag; a mouse refused
    // with E_ACCESSDENIED keeps its flag and is retried by every poll; a joystick whose flag drops is never
    // read again.
    std::int32_t mouseAcquired = 0;
    std::int32_t keyboardAcquired = 0;
    std::int32_t joystickAcquired = 0;
    std::int32_t joystickSubtype = 0;
    float mouseSensitivity = 1.0f;
    float joystickSensitivity = 1.0f;
    std::int32_t mouseMinX, mouseMinY, mouseMaxX, mouseMaxY;
    std::int32_t joystickMinX, joystickMinY, joystickMaxX, joystickMaxY;
    std::int32_t cursorX = 0, cursorY = 0;
    std::int32_t mouseSumX = 0, mouseSumY = 0;  // all mouse movement, never clamped (wraps around)
    std::int32_t mouseDeltaX = 0, mouseDeltaY = 0;
    std::int32_t joystickX = 0, joystickY = 0;
    std::int32_t joystickSumX = 0, joystickSumY = 0;  // never clamped (wraps around)
    std::int32_t joystickDeltaX = 0, joystickDeltaY = 0;
    std::uint8_t keyStates[KEY_COUNT];
    std::uint8_t keyboardSnapshot[KEYBOARD_KEY_COUNT];  // bit 7 set = down
    std::uint8_t wheelForward = 0, wheelBackward = 0;
    std::uint8_t wheelForwardNotches = 0, wheelBackwardNotches = 0;  // low 8 bits of the notch count
    std::uint32_t pressTimes[KEY_COUNT];                             // milliseconds of each code's last press
    KeyPressPosition pressPositions[KEY_COUNT];                      // mouse sums at each code's last press
    char shiftChars[KEY_COUNT] = {};                                 // 0 = none
    std::uint32_t dikToKey[KEYBOARD_KEY_COUNT] = {};                 // 0 = the keyboard key feeds no code
    HWND window = nullptr;
    std::uint32_t keyToDik[KEYBOARD_KEY_COUNT] = {};  // 0 = none; codes of 256 and above have no entry
    char keyNames[KEY_COUNT][KEY_NAME_SIZE] = {};     // "" = no name
    std::int32_t accelThreshold1 = 2;
    std::int32_t accelThreshold2 = 6;
    double accelFactor1 = 1.5;
    double accelFactor2 = 2.0;

private:
    HRESULT initMouse();
    HRESULT initKeyboard();
    HRESULT initJoystick();
    HRESULT setJoystickAxes();

    HRESULT acquireKeyboard();
    HRESULT acquireMouse();
    HRESULT acquireJoystick();
    HRESULT unacquireKeyboard();
    HRESULT unacquireMouse();
    HRESULT unacquireJoystick();

    HRESULT pollKeyboard();
    HRESULT pollMouse();
    HRESULT pollJoystick();
    std::int32_t accelerate(std::int32_t movement) const;
    void readWheel(std::int32_t turn);

    void resetKeys();
    void releaseJoystickInputs();
    void updateKey(std::uint32_t code, bool down);

    void buildDikToKey();
    void buildKeyToDik();
    void buildShiftChars();
    void buildKeyNames();
};

extern InputSystem g_input;
