// The input system's life: creating the devices, acquiring and releasing them, and the key tables.
#include "input/input_system.h"

#include <cstdint>
#include <cstring>

#include "input/key_table.h"
#include "platform/input.h"
#include "platform/window.h"

namespace {

// Shared with other programs, and only while our window has the focus.
constexpr DWORD COOPERATIVE_LEVEL = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND;
// One attempt and 50 retries, without pause: a device busy for a moment is usually free again at once.
constexpr int ACQUIRE_ATTEMPTS = 51;
constexpr HRESULT DEVICE_ABSENT = -1;
constexpr plat::LONG JOYSTICK_AXIS_LIMIT = 1000;
// 10 % of the axis range, in the property's units of 1/10000.
constexpr DWORD JOYSTICK_DEAD_ZONE = DI_DEADZONE_SCALE / 10;
constexpr DWORD JOYSTICK_AXES[] = {DIJOFS_X, DIJOFS_Y};

// Receives the joystick that the enumeration callback creates; null outside init.
plat::InputDevice* g_enumeratedJoystick = nullptr;

plat::BOOL createFirstJoystick(const plat::DeviceInstance* instance, void* context) {
    plat::InputObject* input = static_cast<plat::InputObject*>(context);
    const HRESULT result = plat::createDevice(input, instance->guidInstance, &g_enumeratedJoystick, nullptr);
    return SUCCEEDED(result) ? DIENUM_STOP : DIENUM_CONTINUE;
}

HRESULT acquireDevice(plat::InputDevice* device) {
    HRESULT result = E_FAIL;
    for (int attempt = 0; attempt < ACQUIRE_ATTEMPTS; ++attempt) {
        result = plat::acquire(device);
        if (SUCCEEDED(result)) break;
    }
    return result;
}

// A failure that ends init. E_ACCESSDENIED only means another window has the focus now; the device is
// acquired again by a later poll.
bool fatal(HRESULT result) {
    return FAILED(result) && result != E_ACCESSDENIED;
}

}  // namespace

InputSystem::InputSystem()
    : mouseMinX(INT32_MIN),
      mouseMinY(INT32_MIN),
      mouseMaxX(INT32_MAX),
      mouseMaxY(INT32_MAX),
      joystickMinX(INT32_MIN),
      joystickMinY(INT32_MIN),
      joystickMaxX(INT32_MAX),
      joystickMaxY(INT32_MAX) {
    resetKeys();
}

InputSystem::~InputSystem() {
    if (!directInput) return;
    if (keyboard) {
        unacquireKeyboard();
        plat::release(keyboard);
        keyboard = nullptr;
    }
    if (mouse) {
        unacquireMouse();
        plat::release(mouse);
        mouse = nullptr;
    }
    if (joystick) {
        unacquireJoystick();
        plat::release(joystick);
        joystick = nullptr;
    }
    plat::release(directInput);
    directInput = nullptr;
}

HRESULT InputSystem::init(HINSTANCE instance, HWND newWindow) {
    window = newWindow;
    HRESULT result = plat::directInputCreate(instance, DIRECTINPUT_VERSION, &directInput, nullptr);
    if (FAILED(result)) return result;
    result = initMouse();
    if (fatal(result)) return result;
    result = initKeyboard();
    if (fatal(result)) return result;
    return initJoystick();
}

HRESULT InputSystem::initMouse() {
    if (FAILED(plat::createDevice(directInput, GUID_SysMouse, &mouse, nullptr))) {
        mouse = nullptr;
        return DI_OK;
    }
    plat::setDataFormat(mouse, &c_dfDIMouse);
    plat::setCooperativeLevel(mouse, window, COOPERATIVE_LEVEL);
    const HRESULT result = acquireMouse();
    if (fatal(result)) return result;
    plat::Point position{};
    if (plat::getCursorPos(&position)) {
        cursorX = position.x;
        cursorY = position.y;
    }
    return DI_OK;
}

HRESULT InputSystem::initKeyboard() {
    if (FAILED(plat::createDevice(directInput, GUID_SysKeyboard, &keyboard, nullptr))) {
        keyboard = nullptr;
        return DI_OK;
    }
    plat::setDataFormat(keyboard, &c_dfDIKeyboard);
    plat::setCooperativeLevel(keyboard, window, COOPERATIVE_LEVEL);
    const HRESULT result = acquireKeyboard();
    if (fatal(result)) return result;
    buildDikToKey();
    buildKeyToDik();
    buildShiftChars();
    buildKeyNames();
    return DI_OK;
}

HRESULT InputSystem::initJoystick() {
    g_enumeratedJoystick = nullptr;
    plat::enumDevices(directInput, DIDEVTYPE_JOYSTICK, createFirstJoystick, directInput, DIEDFL_ATTACHEDONLY);
    if (!g_enumeratedJoystick) return DI_OK;

    HRESULT result = plat::queryInterface(g_enumeratedJoystick, IID_IDirectInputDevice2A, &joystick);
    // The enumerated reference is dropped on both paths, so a joystick without the polling interface is not
    // kept open for the rest of the run.
    plat::release(g_enumeratedJoystick);
    g_enumeratedJoystick = nullptr;
    if (FAILED(result)) {
        joystick = nullptr;
        return result;
    }

    plat::setDataFormat(joystick, &c_dfDIJoystick);
    plat::setCooperativeLevel(joystick, window, COOPERATIVE_LEVEL);
    result = setJoystickAxes();
    if (FAILED(result)) return result;
    result = acquireJoystick();
    if (fatal(result)) return result;

    plat::DeviceInstance info{};
    info.size = sizeof(info);
    plat::getDeviceInfo(joystick, &info);
    joystickSubtype = static_cast<std::int32_t>((info.devType >> DIDEVTYPE_SUBTYPE_SHIFT) & 0xFF);
    return DI_OK;
}

// Both axes report -1000 to 1000, and the innermost 10 % of their travel reads as centred.
HRESULT InputSystem::setJoystickAxes() {
    for (DWORD axis : JOYSTICK_AXES) {
        plat::PropertyRange range{};
        range.header = {sizeof(range), sizeof(range.header), axis, DIPH_BYOFFSET};
        range.min = -JOYSTICK_AXIS_LIMIT;
        range.max = JOYSTICK_AXIS_LIMIT;
        const HRESULT result = plat::setProperty(joystick, DIPROP_RANGE, &range.header);
        if (FAILED(result)) return result;
    }
    for (DWORD axis : JOYSTICK_AXES) {
        plat::PropertyDword deadZone{};
        deadZone.header = {sizeof(deadZone), sizeof(deadZone.header), axis, DIPH_BYOFFSET};
        deadZone.data = JOYSTICK_DEAD_ZONE;
        const HRESULT result = plat::setProperty(joystick, DIPROP_DEADZONE, &deadZone.header);
        if (FAILED(result)) return result;
    }
    return DI_OK;
}

HRESULT InputSystem::acquireKeyboard() {
    if (!keyboard) return DEVICE_ABSENT;
    keyboardAcquired = 1;
    const HRESULT result = acquireDevice(keyboard);
    if (FAILED(result)) {
        keyboardAcquired = 0;
        return result;
    }
    // Whatever happened while the keyboard was away is unknown: keys still down read as pressed anew.
    resetKeys();
    return result;
}

HRESULT InputSystem::acquireMouse() {
    if (!mouse) return DEVICE_ABSENT;
    mouseAcquired = 1;
    const HRESULT result = acquireDevice(mouse);
    // Refused because another window has the focus: stay marked, so that every poll tries again.
    if (FAILED(result) && result != E_ACCESSDENIED) mouseAcquired = 0;
    return result;
}

HRESULT InputSystem::acquireJoystick() {
    if (!joystick) return DEVICE_ABSENT;
    joystickAcquired = 1;
    const HRESULT result = acquireDevice(joystick);
    if (FAILED(result)) joystickAcquired = 0;
    return result;
}

HRESULT InputSystem::unacquireKeyboard() {
    resetKeys();
    keyboardAcquired = 0;
    return keyboard ? plat::unacquire(keyboard) : DEVICE_ABSENT;
}

HRESULT InputSystem::unacquireMouse() {
    mouseAcquired = 0;
    return mouse ? plat::unacquire(mouse) : DEVICE_ABSENT;
}

HRESULT InputSystem::unacquireJoystick() {
    joystickAcquired = 0;
    return joystick ? plat::unacquire(joystick) : DEVICE_ABSENT;
}

void InputSystem::buildDikToKey() {
    std::memset(dikToKey, 0, sizeof(dikToKey));
    for (int i = 0; i < KEY_ROW_COUNT; ++i) {
        if (KEY_ROWS[i].fedBy != 0) dikToKey[KEY_ROWS[i].fedBy] = KEY_ROWS[i].code;
    }
}

void InputSystem::buildKeyToDik() {
    std::memset(keyToDik, 0, sizeof(keyToDik));
    for (int i = 0; i < KEY_ROW_COUNT; ++i) {
        if (KEY_ROWS[i].dik != 0 && KEY_ROWS[i].code < KEYBOARD_KEY_COUNT)
            keyToDik[KEY_ROWS[i].code] = KEY_ROWS[i].dik;
    }
}

void InputSystem::buildShiftChars() {
    std::memset(shiftChars, 0, sizeof(shiftChars));
    for (int i = 0; i < KEY_ROW_COUNT; ++i) {
        if (KEY_ROWS[i].shifted != 0) shiftChars[KEY_ROWS[i].code] = KEY_ROWS[i].shifted;
    }
}

void InputSystem::buildKeyNames() {
    for (int i = 0; i < KEY_ROW_COUNT; ++i) {
        char* entry = keyNames[KEY_ROWS[i].code];
        std::strncpy(entry, KEY_ROWS[i].name, KEY_NAME_SIZE);
        entry[KEY_NAME_SIZE - 1] = '\0';
    }
}
