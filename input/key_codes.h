// The engine's key-code space (0 to 269) and the four key states.
//
// A keyboard key that types a character has the code of that character without Shift (the letter keys the
// lower-case codes 97 to 122); keys without a character have 128 to 176; mouse buttons 256 to 259 and
// joystick buttons 260 to 269. input/key_table.cpp lists every named code.
#pragma once

#include <cstdint>

constexpr int KEY_COUNT = 270;
constexpr int KEY_CODE_COUNT = KEY_COUNT;
// Keyboard snapshots and the tables between key codes and keyboard keys span the 256 keyboard key codes.
constexpr int KEYBOARD_KEY_COUNT = 256;
// Room for a key name and its terminating NUL.
constexpr int KEY_NAME_SIZE = 12;

constexpr std::uint16_t KEYSTATE_UP = 0;
constexpr std::uint16_t KEYSTATE_RELEASED = 1;  // went up at the last poll
constexpr std::uint16_t KEYSTATE_PRESSED = 2;   // went down at the last poll
constexpr std::uint16_t KEYSTATE_HELD = 3;      // down at two or more polls in a row

constexpr std::uint16_t KEY_ESC = 27;
constexpr std::uint16_t KEY_F1 = 138;
constexpr std::uint16_t KEY_F12 = 149;
constexpr std::uint16_t KEY_MOUSE_LEFT = 256;
constexpr std::uint16_t KEY_MOUSE_RIGHT = 257;
constexpr std::uint16_t KEY_MOUSE_MIDDLE = 258;
constexpr std::uint16_t KEY_JOY_BUTTON_0 = 260;

// How many buttons of each device feed key codes, from KEY_MOUSE_LEFT and KEY_JOY_BUTTON_0 on. The mouse's
// fourth button feeds nothing, so code 259 never changes.
constexpr int MOUSE_BUTTONS_READ = 3;
constexpr int JOYSTICK_BUTTONS_READ = 10;
