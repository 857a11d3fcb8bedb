// The input devices on SDL2.
//
// The keyboard and the mouse are what SDL's events say about them: the window part shows every event it takes
// from SDL's queue to inputHandleEvent, which keeps the keys down, the buttons down, and the motion and wheel
// turns since the last mouse read. Joysticks are SDL joysticks. Every device is a foreground device: it reads
// only while the engine's window has the keyboard focus, and a focus loss unacquires it until acquired again.
//
// DirectInput reports the mouse's movement however far it goes, while SDL's pointer stops at the screen's
// edge and leaves the window at the window's. So the acquired mouse holds SDL's relative mode, in a window as
// in full screen: the device's own motion keeps coming, the system pointer is hidden and kept in the window
// (the game draws its own cursor), and both are given back the moment the focus goes. Warping the pointer
// back to the middle instead would report accelerated pointer steps and lose what moves past the edge between
// warps.
#include <cmath>
#include <cstring>

#include "platform/input.h"
#include "platform/native.h"
#include "platform/sdl2/sdl_backend.h"
#include "platform/sdl2/sdl_input_internal.h"

namespace {

constexpr double WHEEL_UNITS_PER_NOTCH = 120.0;
constexpr int MOUSE_BUTTON_COUNT = 4;
constexpr std::uint8_t DOWN = 0x80;

bool g_scancodeDown[SDL_NUM_SCANCODES] = {};
plat::LONG g_motionX = 0;
plat::LONG g_motionY = 0;
double g_wheel = 0.0;  // in DirectInput's units, kept fractional for high-resolution wheels
std::uint8_t g_buttons[MOUSE_BUTTON_COUNT] = {};
unsigned g_focusLosses = 0;

bool hasFocus() {
    SDL_Window* window = sdl2::mainWindow();
    return window && SDL_GetKeyboardFocus() == window;
}

// SDL numbers buttons left, middle, right, X1; DirectInput's mouse state has left, right, middle, fourth.
int buttonIndex(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return 0;
        case SDL_BUTTON_RIGHT:
            return 1;
        case SDL_BUTTON_MIDDLE:
            return 2;
        case SDL_BUTTON_X1:
            return 3;
        default:
            return -1;
    }
}

void handleKey(const SDL_KeyboardEvent& key) {
    const SDL_Scancode scancode = key.keysym.scancode;
    if (scancode > SDL_SCANCODE_UNKNOWN && scancode < SDL_NUM_SCANCODES) {
        g_scancodeDown[scancode] = key.state == SDL_PRESSED;
    }
}

void handleButton(const SDL_MouseButtonEvent& button) {
    const int index = buttonIndex(button.button);
    if (index >= 0) g_buttons[index] = button.state == SDL_PRESSED ? DOWN : 0;
}

void handleWheel(const SDL_MouseWheelEvent& wheel) {
    const double turn = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.preciseY : wheel.preciseY;
    g_wheel += turn * WHEEL_UNITS_PER_NOTCH;
}

void clearMouseMotion() {
    g_motionX = 0;
    g_motionY = 0;
    g_wheel = 0.0;
}

void captureMouse(bool capture) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
    if ((SDL_GetRelativeMouseMode() == SDL_TRUE) != capture)
        SDL_SetRelativeMouseMode(capture ? SDL_TRUE : SDL_FALSE);
}

bool stillAcquired(plat::InputDevice* device) {
    return device->acquired && device->focusLossesAtAcquire == g_focusLosses && hasFocus();
}

HRESULT readKeyboard(DWORD size, void* data) {
    if (size != KEYBOARD_STATE_SIZE) return DIERR_INVALIDPARAM;
    sdl2::fillKeyboardSnapshot(g_scancodeDown, static_cast<std::uint8_t*>(data));
    return DI_OK;
}

HRESULT readMouse(DWORD size, void* data) {
    if (size != sizeof(plat::MouseState)) return DIERR_INVALIDPARAM;
    plat::MouseState state{};
    state.lX = g_motionX;
    state.lY = g_motionY;
    state.lZ = static_cast<plat::LONG>(std::trunc(g_wheel));
    std::memcpy(state.rgbButtons, g_buttons, sizeof(state.rgbButtons));
    g_motionX = 0;
    g_motionY = 0;
    g_wheel -= state.lZ;
    std::memcpy(data, &state, sizeof(state));
    return DI_OK;
}

HRESULT readJoystickState(plat::InputDevice* device, DWORD size, void* data) {
    if (size != sizeof(plat::JoystickState)) return DIERR_INVALIDPARAM;
    plat::JoystickState state{};
    sdl2::readJoystick(device->joystick, device->axes, &state);
    std::memcpy(data, &state, sizeof(state));
    return DI_OK;
}

plat::InputDevice* newDevice(sdl2::DeviceKind kind, SDL_Joystick* joystick) {
    plat::InputDevice* device = new plat::InputDevice{};
    device->kind = kind;
    device->references = 1;
    device->joystick = joystick;
    return device;
}

// The axis a property names: one by its offset in the joystick state, or all of them.
bool propertyAxes(const plat::PropertyHeader* header, int* first, int* last) {
    if (header->how == DIPH_DEVICE && header->object == 0) {
        *first = 0;
        *last = sdl2::JOYSTICK_AXIS_COUNT - 1;
        return true;
    }
    const DWORD axis = header->object / sizeof(plat::LONG);
    if (header->how != DIPH_BYOFFSET || header->object % sizeof(plat::LONG) != 0) return false;
    if (axis >= static_cast<DWORD>(sdl2::JOYSTICK_AXIS_COUNT)) return false;
    *first = *last = static_cast<int>(axis);
    return true;
}

}  // namespace

namespace sdl2 {

void inputHandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            handleKey(event.key);
            break;
        case SDL_MOUSEMOTION:
            if (!hasFocus()) break;
            g_motionX += event.motion.xrel;
            g_motionY += event.motion.yrel;
            break;
        case SDL_MOUSEWHEEL:
            if (hasFocus()) handleWheel(event.wheel);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            handleButton(event.button);
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                ++g_focusLosses;
                captureMouse(false);
            }
            break;
        default:
            break;
    }
}

}  // namespace sdl2

namespace plat {

HRESULT native::directInputCreate(HINSTANCE, DWORD version, InputObject** out, void* outer) {
    if (!out) return DIERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return DIERR_NOINTERFACE;
    if (version > DIRECTINPUT_VERSION) return DIERR_NOTINITIALIZED;
    // Without joysticks the keyboard and the mouse still work; the enumeration then finds none.
    const bool joystickReady = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    *out = new InputObject{1, joystickReady};
    return DI_OK;
}

HRESULT native::createDevice(InputObject* input, const Guid& guid, InputDevice** out, void* outer) {
    if (!input || !out) return DIERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return DIERR_NOINTERFACE;
    if (guid == GUID_SysKeyboard) {
        *out = newDevice(sdl2::DeviceKind::keyboard, nullptr);
    } else if (guid == GUID_SysMouse) {
        *out = newDevice(sdl2::DeviceKind::mouse, nullptr);
    } else if (input->joystickReady && sdl2::isJoystickGuid(guid)) {
        SDL_Joystick* joystick = sdl2::openJoystick(guid);
        if (!joystick) return DIERR_DEVICENOTREG;
        *out = newDevice(sdl2::DeviceKind::joystick, joystick);
    } else {
        return DIERR_DEVICENOTREG;
    }
    return DI_OK;
}

HRESULT native::enumDevices(InputObject* input, DWORD devType, EnumDevicesCallback callback, void* context,
                            DWORD) {
    if (!input || !callback) return DIERR_INVALIDPARAM;
    // Only attached joysticks are known to SDL, so every enumeration lists attached devices only.
    if (devType != DIDEVTYPE_JOYSTICK || !input->joystickReady) return DI_OK;
    return sdl2::enumJoysticks(callback, context);
}

std::uint32_t native::release(InputObject* input) {
    if (!input) return 0;
    const int left = --input->references;
    if (left > 0) return static_cast<std::uint32_t>(left);
    if (input->joystickReady) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    delete input;
    return 0;
}

HRESULT native::setDataFormat(InputDevice* device, const DataFormat* format) {
    if (!device || !format) return DIERR_INVALIDPARAM;
    if (device->acquired) return DIERR_ACQUIRED;
    const DataFormat* expected = device->kind == sdl2::DeviceKind::keyboard ? &c_dfDIKeyboard
                                 : device->kind == sdl2::DeviceKind::mouse  ? &c_dfDIMouse
                                                                            : &c_dfDIJoystick;
    if (format != expected) return DIERR_INVALIDPARAM;
    device->format = format;
    return DI_OK;
}

HRESULT native::setCooperativeLevel(InputDevice* device, HWND window, DWORD flags) {
    if (!device) return DIERR_INVALIDPARAM;
    device->window = window;
    device->cooperativeFlags = flags;
    return DI_OK;
}

HRESULT native::acquire(InputDevice* device) {
    if (!device || !device->format) return DIERR_INVALIDPARAM;
    if (stillAcquired(device)) return DI_NOEFFECT;
    if (!hasFocus()) return DIERR_OTHERAPPHASPRIO;
    if (device->joystick && !SDL_JoystickGetAttached(device->joystick)) return DIERR_INPUTLOST;
    device->acquired = true;
    device->focusLossesAtAcquire = g_focusLosses;
    if (device->kind == sdl2::DeviceKind::mouse) {
        // Motion from before the acquisition is not the engine's.
        clearMouseMotion();
        captureMouse(true);
    }
    return DI_OK;
}

HRESULT native::unacquire(InputDevice* device) {
    if (!device) return DIERR_INVALIDPARAM;
    if (device->kind == sdl2::DeviceKind::mouse) captureMouse(false);
    if (!device->acquired) return DI_NOEFFECT;
    device->acquired = false;
    return DI_OK;
}

HRESULT native::getDeviceState(InputDevice* device, DWORD size, void* data) {
    if (!device || !data) return DIERR_INVALIDPARAM;
    if (!device->acquired) return DIERR_NOTACQUIRED;
    if (!stillAcquired(device) || (device->joystick && !SDL_JoystickGetAttached(device->joystick))) {
        device->acquired = false;
        return DIERR_INPUTLOST;
    }
    switch (device->kind) {
        case sdl2::DeviceKind::keyboard:
            return readKeyboard(size, data);
        case sdl2::DeviceKind::mouse:
            return readMouse(size, data);
        default:
            return readJoystickState(device, size, data);
    }
}

HRESULT native::setProperty(InputDevice* device, PropertyId property, const PropertyHeader* header) {
    if (!device || !header || device->kind != sdl2::DeviceKind::joystick) return DIERR_UNSUPPORTED;
    if (header->headerSize != sizeof(PropertyHeader)) return DIERR_INVALIDPARAM;
    int first = 0, last = 0;
    if (!propertyAxes(header, &first, &last)) return DIERR_OBJECTNOTFOUND;
    if (property == DIPROP_RANGE && header->size == sizeof(PropertyRange)) {
        const PropertyRange* range = reinterpret_cast<const PropertyRange*>(header);
        if (range->min >= range->max) return DIERR_INVALIDPARAM;
        for (int axis = first; axis <= last; ++axis) {
            device->axes[axis].min = range->min;
            device->axes[axis].max = range->max;
        }
        return DI_OK;
    }
    if (property == DIPROP_DEADZONE && header->size == sizeof(PropertyDword)) {
        const DWORD deadZone = reinterpret_cast<const PropertyDword*>(header)->data;
        if (deadZone > DI_DEADZONE_SCALE) return DIERR_INVALIDPARAM;
        for (int axis = first; axis <= last; ++axis)
            device->axes[axis].deadZone = deadZone;
        return DI_OK;
    }
    return DIERR_UNSUPPORTED;
}

HRESULT native::getDeviceInfo(InputDevice* device, DeviceInstance* info) {
    if (!device || !info || info->size != sizeof(DeviceInstance)) return DIERR_INVALIDPARAM;
    switch (device->kind) {
        case sdl2::DeviceKind::keyboard:
            info->guidInstance = info->guidProduct = GUID_SysKeyboard;
            info->devType = DIDEVTYPE_KEYBOARD | (DIDEVTYPEKEYBOARD_PCENH << DIDEVTYPE_SUBTYPE_SHIFT);
            break;
        case sdl2::DeviceKind::mouse:
            info->guidInstance = info->guidProduct = GUID_SysMouse;
            info->devType = DIDEVTYPE_MOUSE | (DIDEVTYPEMOUSE_UNKNOWN << DIDEVTYPE_SUBTYPE_SHIFT);
            break;
        default: {
            info->guidInstance = sdl2::joystickGuid(SDL_JoystickInstanceID(device->joystick));
            info->devType = sdl2::joystickDevType(device->joystick);
            const char* name = SDL_JoystickName(device->joystick);
            std::strncpy(info->productName, name ? name : "", sizeof(info->productName) - 1);
            std::strncpy(info->instanceName, name ? name : "", sizeof(info->instanceName) - 1);
            break;
        }
    }
    return DI_OK;
}

HRESULT native::queryInterface(InputDevice* device, const Guid& iid, InputDevice2** out) {
    if (!device || !out) return DIERR_INVALIDPARAM;
    *out = nullptr;
    if (!(iid == IID_IDirectInputDevice2A)) return DIERR_NOINTERFACE;
    ++device->references;
    *out = device;
    return DI_OK;
}

HRESULT native::poll(InputDevice2* device) {
    if (!device) return DIERR_INVALIDPARAM;
    if (!device->acquired) return DIERR_NOTACQUIRED;
    if (device->kind != sdl2::DeviceKind::joystick) return DI_NOEFFECT;
    SDL_JoystickUpdate();
    return DI_OK;
}

std::uint32_t native::release(InputDevice* device) {
    if (!device) return 0;
    const int left = --device->references;
    if (left > 0) return static_cast<std::uint32_t>(left);
    if (device->acquired) native::unacquire(device);
    if (device->joystick) SDL_JoystickClose(device->joystick);
    delete device;
    return 0;
}

}  // namespace plat
