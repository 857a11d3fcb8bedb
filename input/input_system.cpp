#include "input/input_system.h"

// Devices arrive with the input backend; until then nothing is read and every key reads up.
InputSystem::InputSystem() = default;
InputSystem::~InputSystem() = default;

HRESULT InputSystem::init(HINSTANCE, HWND) {
    return E_FAIL;
}

HRESULT InputSystem::poll() {
    return E_FAIL;
}

std::uint16_t InputSystem::keyState(std::uint16_t) const {
    return KEYSTATE_UP;
}

void InputSystem::getCursor(std::int32_t* outX, std::int32_t* outY) const {
    *outX = 0;
    *outY = 0;
}

void InputSystem::getMouseDelta(std::int32_t* outX, std::int32_t* outY) const {
    *outX = 0;
    *outY = 0;
}

void InputSystem::setCursorBounds(std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
