// The engine's key-code space (0 to 269) and the four key states.
#pragma once

#include <cstdint>

constexpr int KEY_CODE_COUNT = 270;

constexpr std::uint16_t KEYSTATE_UP = 0;
constexpr std::uint16_t KEYSTATE_RELEASED = 1;
constexpr std::uint16_t KEYSTATE_PRESSED = 2;
constexpr std::uint16_t KEYSTATE_HELD = 3;

constexpr std::uint16_t KEY_ESC = 27;
constexpr std::uint16_t KEY_F1 = 138;
constexpr std::uint16_t KEY_F12 = 149;
constexpr std::uint16_t KEY_MOUSE_LEFT = 256;
constexpr std::uint16_t KEY_MOUSE_RIGHT = 257;
