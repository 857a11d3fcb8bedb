// One pass of the input system: reading the devices, the key state machine, the cursor and the queries.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "input/input_system.h"
#include "platform/input.h"
#include "platform/system.h"

namespace {

constexpr std::uint8_t DOWN_BIT = 0x80;
constexpr std::int64_t WHEEL_NOTCH = 120;

bool isDown(std::uint8_t stateByte) {
    return (stateByte & DOWN_BIT) != 0;
}

// A scaled movement back to whole units, toward zero, kept within 32 bits whatever the device reported.
std::int32_t truncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(INT32_MIN)) return INT32_MIN;
    if (value >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    return static_cast<std::int32_t>(std::trunc(value));
}

// Running sums go round at 32 bits instead of overflowing.
std::int32_t wrappingAdd(std::int32_t sum, std::int32_t step) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(sum) + static_cast<std::uint32_t>(step));
}

// Moves a position and keeps it within [min, max - 1]; the sum is taken at 64 bits, so a position pushed
// against an unbounded edge stays there instead of going round.
std::int32_t moveClamped(std::int32_t position, std::int32_t step, std::int32_t min, std::int32_t max) {
    std::int64_t moved = static_cast<std::int64_t>(position) + step;
    if (moved >= max) moved = static_cast<std::int64_t>(max) - 1;
    if (moved <= min) moved = min;
    return static_cast<std::int32_t>(moved);
}

}  // namespace

HRESULT InputSystem::poll() {
    HRESULT result = pollKeyboard();
    if (FAILED(result)) return result;
    result = pollMouse();
    if (FAILED(result)) return result;
    result = pollJoystick();
    if (FAILED(result)) return result;
    return DI_OK;
}

// Read whether or not the keyboard counts as acquired: a failed read is what brings it back.
HRESULT InputSystem::pollKeyboard() {
    if (!keyboard) return DI_OK;
    const HRESULT result = plat::getDeviceState(keyboard, sizeof(keyboardSnapshot), keyboardSnapshot);
    if (FAILED(result)) {
        acquireKeyboard();
        return result;
    }
    for (int dik = 0; dik < KEYBOARD_KEY_COUNT; ++dik) {
        if (dikToKey[dik] != 0) updateKey(dikToKey[dik], isDown(keyboardSnapshot[dik]));
    }
    return DI_OK;
}

HRESULT InputSystem::pollMouse() {
    if (!mouse || !mouseAcquired) return DI_OK;
    plat::MouseState state{};
    const HRESULT result = plat::getDeviceState(mouse, sizeof(state), &state);
    if (FAILED(result)) {
        acquireMouse();
        return result;
    }
    const std::int32_t moveX = truncateToInt32(accelerate(state.lX) * static_cast<double>(mouseSensitivity));
    const std::int32_t moveY = truncateToInt32(accelerate(state.lY) * static_cast<double>(mouseSensitivity));
    mouseSumX = wrappingAdd(mouseSumX, moveX);
    mouseSumY = wrappingAdd(mouseSumY, moveY);
    cursorX = moveClamped(cursorX, moveX, mouseMinX, mouseMaxX);
    cursorY = moveClamped(cursorY, moveY, mouseMinY, mouseMaxY);
    mouseDeltaX = moveX;
    mouseDeltaY = moveY;
    for (int button = 0; button < MOUSE_BUTTONS_READ; ++button) {
        updateKey(KEY_MOUSE_LEFT + static_cast<std::uint32_t>(button), isDown(state.rgbButtons[button]));
    }
    readWheel(state.lZ);
    return DI_OK;
}

HRESULT InputSystem::pollJoystick() {
    if (!joystick || !joystickAcquired) return DI_OK;
    plat::poll(joystick);
    plat::JoystickState state{};
    const HRESULT result = plat::getDeviceState(joystick, sizeof(state), &state);
    if (FAILED(result)) {
        if (FAILED(acquireJoystick())) releaseJoystickInputs();
        return result;
    }
    // The axes are a deflection, not a movement: a stick held aside moves the position every poll.
    const std::int32_t moveX = truncateToInt32(state.lX * static_cast<double>(joystickSensitivity));
    const std::int32_t moveY = truncateToInt32(state.lY * static_cast<double>(joystickSensitivity));
    joystickSumX = wrappingAdd(joystickSumX, moveX);
    joystickSumY = wrappingAdd(joystickSumY, moveY);
    joystickX = moveClamped(joystickX, moveX, joystickMinX, joystickMaxX);
    joystickY = moveClamped(joystickY, moveY, joystickMinY, joystickMaxY);
    joystickDeltaX = moveX;
    joystickDeltaY = moveY;
    for (int button = 0; button < JOYSTICK_BUTTONS_READ; ++button) {
        updateKey(KEY_JOY_BUTTON_0 + static_cast<std::uint32_t>(button), isDown(state.rgbButtons[button]));
    }
    return DI_OK;
}

// Fast movements go further: beyond the second threshold twice as far, beyond the first half as far again.
std::int32_t InputSystem::accelerate(std::int32_t movement) const {
    const std::int64_t magnitude = movement < 0 ? -static_cast<std::int64_t>(movement) : movement;
    if (magnitude > accelThreshold2) return truncateToInt32(movement * accelFactor2);
    if (magnitude > accelThreshold1) return truncateToInt32(movement * accelFactor1);
    return movement;
}

// The wheel's turn of the last read, in notches of 120. Each notch count keeps its last value while the wheel
// turns the other way or rests.
void InputSystem::readWheel(std::int32_t turn) {
    if (turn == 0) {
        wheelForward = 0;
        wheelBackward = 0;
    } else if (turn > 0) {
        wheelForwardNotches = static_cast<std::uint8_t>(turn / WHEEL_NOTCH);
        wheelForward = 1;
        wheelBackward = 0;
    } else {
        wheelBackward = 1;
        wheelForward = 0;
        wheelBackwardNotches = static_cast<std::uint8_t>(-static_cast<std::int64_t>(turn) / WHEEL_NOTCH);
    }
}

void InputSystem::updateKey(std::uint32_t code, bool down) {
    if (code >= static_cast<std::uint32_t>(KEY_COUNT)) return;
    std::uint8_t& state = keyStates[code];
    const bool wasDown = state == KEYSTATE_PRESSED || state == KEYSTATE_HELD;
    if (down && !wasDown) {
        state = KEYSTATE_PRESSED;
        pressTimes[code] = plat::timeGetTime();
        pressPositions[code] = {mouseSumX, mouseSumY};
    } else if (down) {
        state = KEYSTATE_HELD;
    } else {
        state = wasDown ? KEYSTATE_RELEASED : KEYSTATE_UP;
    }
}

// A joystick given up on (pulled out, or refused every attempt) is never read again, so nothing it reported
// may stay: no deflection, no button held or pressed for ever.
void InputSystem::releaseJoystickInputs() {
    joystickDeltaX = 0;
    joystickDeltaY = 0;
    for (int button = 0; button < JOYSTICK_BUTTONS_READ; ++button)
        keyStates[KEY_JOY_BUTTON_0 + button] = KEYSTATE_UP;
}

void InputSystem::resetKeys() {
    std::memset(keyStates, 0, sizeof(keyStates));
    std::memset(keyboardSnapshot, 0, sizeof(keyboardSnapshot));
    wheelForward = 0;
    wheelBackward = 0;
    wheelForwardNotches = 0;
    wheelBackwardNotches = 0;
    std::memset(pressTimes, 0, sizeof(pressTimes));
    std::memset(pressPositions, 0, sizeof(pressPositions));
}

std::uint16_t InputSystem::keyState(std::uint16_t code) const {
    return code < KEY_COUNT ? keyStates[code] : KEYSTATE_UP;
}

void InputSystem::getCursor(std::int32_t* outX, std::int32_t* outY) const {
    *outX = cursorX;
    *outY = cursorY;
}

void InputSystem::getMouseDelta(std::int32_t* outX, std::int32_t* outY) const {
    *outX = mouseDeltaX;
    *outY = mouseDeltaY;
}

void InputSystem::setCursorBounds(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    mouseMinX = x1 < x2 ? x1 : x2;
    mouseMaxX = x1 < x2 ? x2 : x1;
    mouseMinY = y1 < y2 ? y1 : y2;
    mouseMaxY = y1 < y2 ? y2 : y1;
}
