// The engine's key-code space as one table: for every code that has a name, where it comes from on the
// keyboard, which keyboard key it stands for and what it types with Shift. InputSystem builds its four lookup
// tables (dikToKey, keyToDik, shiftChars, keyNames) from these rows.
#pragma once

#include <cstdint>

struct KeyRow {
    std::uint16_t code;
    const char* name;
    // The keyboard key (DIK_*) whose snapshot bit feeds this code's state; 0 when no key feeds it.
    std::uint8_t fedBy;
    // The keyboard key this code stands for (codes below 256 only); 0 when none.
    std::uint8_t dik;
    // What the key types with Shift held on a United States layout; 0 when nothing.
    char shifted;
};

extern const KeyRow KEY_ROWS[];
extern const int KEY_ROW_COUNT;
