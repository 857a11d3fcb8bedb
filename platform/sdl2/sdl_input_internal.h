// What the SDL2 input parts share among themselves: the keyboard map and the joystick's axes.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/input.h"

namespace sdl2 {

// One SDL scancode and the DirectInput key code of the same physical key.
struct ScancodeKey {
    SDL_Scancode scancode;
    std::uint8_t dik;
};

extern const ScancodeKey SCANCODE_KEYS[];
extern const int SCANCODE_KEY_COUNT;

// Writes the 256-byte keyboard snapshot (bit 7 = down) of the scancodes marked down in `down`.
void fillKeyboardSnapshot(const bool* down, std::uint8_t* snapshot);

// The range and dead zone set on one joystick axis; DirectInput's defaults until the engine sets them.
struct AxisSettings {
    plat::LONG min = 0;
    plat::LONG max = 65535;
    DWORD deadZone = 0;  // 1/10000 of the range
};

// An SDL axis reading (-32768 to 32767) within the axis's range: centre while inside the dead zone, and from
// the dead zone's edge to the end of the range outside it.
plat::LONG scaleAxis(Sint16 raw, const AxisSettings& settings);

enum class DeviceKind { keyboard, mouse, joystick };

// The axes a joystick state carries (X, Y, Z, Rx, Ry, Rz, two sliders), by their offset / 4.
constexpr int JOYSTICK_AXIS_COUNT = 8;

// Joysticks are enumerated with instance GUIDs made of this marker and SDL's instance id in Data1.
constexpr plat::Guid SDL_JOYSTICK_GUID = {0, 0x5344, 0x4C32, {'j', 'o', 'y', 's', 't', 'i', 'c', 'k'}};

bool isJoystickGuid(const plat::Guid& guid);
plat::Guid joystickGuid(SDL_JoystickID id);

// The joystick part of the input object.
HRESULT enumJoysticks(plat::EnumDevicesCallback callback, void* context);
SDL_Joystick* openJoystick(const plat::Guid& guid);
DWORD joystickDevType(SDL_Joystick* joystick);
void readJoystick(SDL_Joystick* joystick, const AxisSettings* axes, plat::JoystickState* state);

}  // namespace sdl2

namespace plat {

struct InputObject {
    int references;
    bool joystickReady;  // SDL's joystick subsystem is ours to quit
};

struct InputDevice {
    sdl2::DeviceKind kind;
    int references;
    const DataFormat* format;
    HWND window;
    DWORD cooperativeFlags;
    bool acquired;
    // How many times the window had lost the focus when the device was acquired; a later loss unacquires it.
    unsigned focusLossesAtAcquire;
    SDL_Joystick* joystick;
    sdl2::AxisSettings axes[sdl2::JOYSTICK_AXIS_COUNT];
};

}  // namespace plat
