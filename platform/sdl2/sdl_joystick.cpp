// Joysticks on SDL2: enumeration, opening, and the state in DirectInput's shape.
#include <cmath>
#include <cstring>

#include "platform/sdl2/sdl_input_internal.h"

namespace {

constexpr double SDL_AXIS_LIMIT = 32767.0;
constexpr DWORD POV_CENTRED = 0xFFFFFFFFu;
constexpr int POV_COUNT = 4;
constexpr int BUTTON_COUNT = 32;

// SDL's hat positions and the matching DirectInput angles, in hundredths of a degree clockwise from north.
struct HatAngle {
    Uint8 hat;
    DWORD angle;
};
constexpr HatAngle HAT_ANGLES[] = {
    {SDL_HAT_UP, 0},       {SDL_HAT_RIGHTUP, 4500},   {SDL_HAT_RIGHT, 9000}, {SDL_HAT_RIGHTDOWN, 13500},
    {SDL_HAT_DOWN, 18000}, {SDL_HAT_LEFTDOWN, 22500}, {SDL_HAT_LEFT, 27000}, {SDL_HAT_LEFTUP, 31500},
};

DWORD hatAngle(Uint8 hat) {
    for (const HatAngle& entry : HAT_ANGLES) {
        if (entry.hat == hat) return entry.angle;
    }
    return POV_CENTRED;
}

DWORD subtypeOf(SDL_JoystickType type) {
    switch (type) {
        case SDL_JOYSTICK_TYPE_GAMECONTROLLER:
            return DIDEVTYPEJOYSTICK_GAMEPAD;
        case SDL_JOYSTICK_TYPE_WHEEL:
            return DIDEVTYPEJOYSTICK_WHEEL;
        case SDL_JOYSTICK_TYPE_FLIGHT_STICK:
        case SDL_JOYSTICK_TYPE_THROTTLE:
            return DIDEVTYPEJOYSTICK_FLIGHTSTICK;
        case SDL_JOYSTICK_TYPE_ARCADE_STICK:
            return DIDEVTYPEJOYSTICK_TRADITIONAL;
        default:
            return DIDEVTYPEJOYSTICK_UNKNOWN;
    }
}

DWORD devTypeOf(SDL_JoystickType type) {
    return DIDEVTYPE_JOYSTICK | (subtypeOf(type) << DIDEVTYPE_SUBTYPE_SHIFT);
}

plat::Guid productGuid(SDL_JoystickGUID sdlGuid) {
    plat::Guid guid{};
    static_assert(sizeof(guid) == sizeof(sdlGuid.data), "a GUID is 16 bytes");
    std::memcpy(&guid, sdlGuid.data, sizeof(guid));
    return guid;
}

int deviceIndexOf(SDL_JoystickID id) {
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
    }
    return -1;
}

plat::LONG axisValue(SDL_Joystick* joystick, int axis, const sdl2::AxisSettings& settings) {
    const Sint16 raw = axis < SDL_JoystickNumAxes(joystick) ? SDL_JoystickGetAxis(joystick, axis) : 0;
    return sdl2::scaleAxis(raw, settings);
}

}  // namespace

namespace sdl2 {

bool isJoystickGuid(const plat::Guid& guid) {
    plat::Guid marker = guid;
    marker.Data1 = 0;
    return marker == SDL_JOYSTICK_GUID;
}

plat::Guid joystickGuid(SDL_JoystickID id) {
    plat::Guid guid = SDL_JOYSTICK_GUID;
    guid.Data1 = static_cast<std::uint32_t>(id);
    return guid;
}

plat::LONG scaleAxis(Sint16 raw, const AxisSettings& settings) {
    double t = raw / SDL_AXIS_LIMIT;
    if (t < -1.0) t = -1.0;
    const double deadZone = static_cast<double>(settings.deadZone) / DI_DEADZONE_SCALE;
    const double magnitude = std::fabs(t);
    double travel = 0.0;
    if (magnitude > deadZone && deadZone < 1.0)
        travel = std::copysign((magnitude - deadZone) / (1.0 - deadZone), t);
    const double centre = (static_cast<double>(settings.min) + settings.max) / 2.0;
    const double half = (static_cast<double>(settings.max) - settings.min) / 2.0;
    return static_cast<plat::LONG>(std::lround(centre + travel * half));
}

HRESULT enumJoysticks(plat::EnumDevicesCallback callback, void* context) {
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        plat::DeviceInstance instance{};
        instance.size = sizeof(instance);
        instance.guidInstance = joystickGuid(SDL_JoystickGetDeviceInstanceID(i));
        instance.guidProduct = productGuid(SDL_JoystickGetDeviceGUID(i));
        instance.devType = devTypeOf(SDL_JoystickGetDeviceType(i));
        const char* name = SDL_JoystickNameForIndex(i);
        std::strncpy(instance.instanceName, name ? name : "", sizeof(instance.instanceName) - 1);
        std::strncpy(instance.productName, name ? name : "", sizeof(instance.productName) - 1);
        if (callback(&instance, context) == DIENUM_STOP) break;
    }
    return DI_OK;
}

SDL_Joystick* openJoystick(const plat::Guid& guid) {
    const int index = deviceIndexOf(static_cast<SDL_JoystickID>(guid.Data1));
    return index < 0 ? nullptr : SDL_JoystickOpen(index);
}

DWORD joystickDevType(SDL_Joystick* joystick) {
    return devTypeOf(SDL_JoystickGetType(joystick));
}

void readJoystick(SDL_Joystick* joystick, const AxisSettings* axes, plat::JoystickState* state) {
    plat::LONG* values[JOYSTICK_AXIS_COUNT] = {&state->lX,           &state->lY,          &state->lZ,
                                               &state->lRx,          &state->lRy,         &state->lRz,
                                               &state->rglSlider[0], &state->rglSlider[1]};
    for (int axis = 0; axis < JOYSTICK_AXIS_COUNT; ++axis)
        *values[axis] = axisValue(joystick, axis, axes[axis]);
    const int hats = SDL_JoystickNumHats(joystick);
    for (int pov = 0; pov < POV_COUNT; ++pov) {
        state->rgdwPOV[pov] = pov < hats ? hatAngle(SDL_JoystickGetHat(joystick, pov)) : POV_CENTRED;
    }
    const int buttons = SDL_JoystickNumButtons(joystick);
    for (int button = 0; button < BUTTON_COUNT; ++button) {
        const bool down = button < buttons && SDL_JoystickGetButton(joystick, button) != 0;
        state->rgbButtons[button] = down ? 0x80 : 0;
    }
}

}  // namespace sdl2
