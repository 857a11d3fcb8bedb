// Keyboard, mouse and joysticks of the platform contract.
//
// Each operation stands for one DirectInput call (interface version 0x0700, ANSI) and keeps its inputs,
// results and meaning. Devices are read as immediate snapshots: the keyboard as 256 bytes indexed by DIK_*
// code with bit 7 set while the key is down; the mouse as its movement since the previous read, the wheel in
// units of 120 per notch and four button bytes; a joystick as its X and Y axes within the range and dead zone
// set on it, and up to 32 button bytes. A device set to the foreground cooperative level counts as acquired
// only while its window has the input focus: when the window loses it the device is unacquired, its next read
// fails with DIERR_INPUTLOST or DIERR_NOTACQUIRED, and acquiring it fails with DIERR_OTHERAPPHASPRIO until
// the focus is back.
#pragma once

#include <cstdint>

#include "platform/dik_codes.h"
#include "platform/types.h"

namespace plat {

#ifdef _WIN32

// The SDK's own types where the engine passes the SDK's objects (device GUIDs, data formats, properties).
using LONG = ::LONG;
using BOOL = ::BOOL;
using Guid = ::GUID;
using DataFormat = ::DIDATAFORMAT;
// A property is named by the address of a GUID-shaped constant (DIPROP_RANGE is MAKEDIPROP(4)).
using PropertyId = REFGUID;
inline bool sameProperty(PropertyId a, PropertyId b) {
    return &a == &b;
}

#else

using LONG = std::int32_t;
using BOOL = std::int32_t;

// GUID, member for member.
struct Guid {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};

constexpr bool operator==(const Guid& a, const Guid& b) {
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i]) return false;
    }
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3;
}

// DIDATAFORMAT, reduced to the size of the state it describes; a backend tells the formats apart by address.
struct DataFormat {
    DWORD dwDataSize;
};

using PropertyId = std::uintptr_t;
constexpr bool sameProperty(PropertyId a, PropertyId b) {
    return a == b;
}

#endif  // _WIN32

// IDirectInputA: the input object, the factory of devices.
struct InputObject;
// IDirectInputDeviceA: one keyboard, mouse or joystick.
struct InputDevice;
// IDirectInputDevice2A: the same device reached through queryInterface; only it may be polled.
using InputDevice2 = InputDevice;

// DIPROPHEADER, DIPROPRANGE, DIPROPDWORD, member for member.
struct PropertyHeader {
    DWORD size;        // of the whole property structure
    DWORD headerSize;  // of this header
    DWORD object;      // with DIPH_BYOFFSET: the offset of the axis in JoystickState
    DWORD how;
};
struct PropertyRange {
    PropertyHeader header;
    LONG min;
    LONG max;
};
struct PropertyDword {
    PropertyHeader header;
    DWORD data;
};

// DIMOUSESTATE: movement since the previous read (lZ is the wheel, 120 per notch), bit 7 of a button = down.
struct MouseState {
    LONG lX;
    LONG lY;
    LONG lZ;
    std::uint8_t rgbButtons[4];
};

// DIJOYSTATE: axes within the range set on them (centre when inside the dead zone), hats as hundredths of a
// degree (0xFFFFFFFF when centred), bit 7 of a button = down.
struct JoystickState {
    LONG lX;
    LONG lY;
    LONG lZ;
    LONG lRx;
    LONG lRy;
    LONG lRz;
    LONG rglSlider[2];
    DWORD rgdwPOV[4];
    std::uint8_t rgbButtons[32];
};

// DIDEVICEINSTANCEA, reduced to the members a backend can fill. `size` must be set by the caller.
struct DeviceInstance {
    DWORD size;
    Guid guidInstance;
    Guid guidProduct;
    DWORD devType;
    char instanceName[260];
    char productName[260];
};

using EnumDevicesCallback = BOOL (*)(const DeviceInstance* instance, void* context);

}  // namespace plat

#ifndef _WIN32

// The system's keyboard and mouse (all keyboards and mice attached, seen as one each).
constexpr plat::Guid GUID_SysMouse = {
    0x6F1D2B60u, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr plat::Guid GUID_SysKeyboard = {
    0x6F1D2B61u, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// The second device interface, which adds poll.
constexpr plat::Guid IID_IDirectInputDevice2A = {
    0x5944E682u, 0xC92E, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

constexpr DWORD DIRECTINPUT_VERSION = 0x0700;

// Results.
constexpr HRESULT DI_OK = S_OK;
constexpr HRESULT DI_NOEFFECT = S_FALSE;  // also: acquiring a device that is already acquired
constexpr HRESULT DIERR_GENERIC = E_FAIL;
constexpr HRESULT DIERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DIERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DIERR_UNSUPPORTED = E_NOTIMPL;
constexpr HRESULT DIERR_NOINTERFACE = E_NOINTERFACE;
constexpr HRESULT DIERR_OTHERAPPHASPRIO = E_ACCESSDENIED;  // the window is not in the foreground
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_NOTINITIALIZED = static_cast<HRESULT>(0x80070015u);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AAu);
constexpr HRESULT DIERR_OBJECTNOTFOUND = static_cast<HRESULT>(0x80070002u);

// Cooperative levels.
constexpr DWORD DISCL_EXCLUSIVE = 0x1;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x2;
constexpr DWORD DISCL_FOREGROUND = 0x4;
constexpr DWORD DISCL_BACKGROUND = 0x8;

// Device types: the low byte is the type, the second byte the subtype.
constexpr DWORD DIDEVTYPE_DEVICE = 1;
constexpr DWORD DIDEVTYPE_MOUSE = 2;
constexpr DWORD DIDEVTYPE_KEYBOARD = 3;
constexpr DWORD DIDEVTYPE_JOYSTICK = 4;
constexpr DWORD DIDEVTYPEMOUSE_UNKNOWN = 1;
constexpr DWORD DIDEVTYPEKEYBOARD_PCENH = 4;
constexpr DWORD DIDEVTYPEJOYSTICK_UNKNOWN = 1;
constexpr DWORD DIDEVTYPEJOYSTICK_TRADITIONAL = 2;
constexpr DWORD DIDEVTYPEJOYSTICK_FLIGHTSTICK = 3;
constexpr DWORD DIDEVTYPEJOYSTICK_GAMEPAD = 4;
constexpr DWORD DIDEVTYPEJOYSTICK_RUDDER = 5;
constexpr DWORD DIDEVTYPEJOYSTICK_WHEEL = 6;

// Device enumeration.
constexpr DWORD DIEDFL_ATTACHEDONLY = 0x1;
constexpr plat::BOOL DIENUM_STOP = 0;
constexpr plat::BOOL DIENUM_CONTINUE = 1;

// Properties and how their object is named.
constexpr plat::PropertyId DIPROP_RANGE = 4;
constexpr plat::PropertyId DIPROP_DEADZONE = 5;
constexpr DWORD DIPH_DEVICE = 0;
constexpr DWORD DIPH_BYOFFSET = 1;

// Offsets of the axes in JoystickState, the objects of DIPH_BYOFFSET properties.
constexpr DWORD DIJOFS_X = 0;
constexpr DWORD DIJOFS_Y = 4;

inline constexpr plat::DataFormat c_dfDIKeyboard = {256};
inline constexpr plat::DataFormat c_dfDIMouse = {sizeof(plat::MouseState)};
inline constexpr plat::DataFormat c_dfDIJoystick = {sizeof(plat::JoystickState)};

#endif  // _WIN32

// The device subtype's place in a device type (GET_DIDEVICE_SUBTYPE).
constexpr DWORD DIDEVTYPE_SUBTYPE_SHIFT = 8;
// Dead zones and saturations are given in units of 1/10000 of the axis range.
constexpr DWORD DI_DEADZONE_SCALE = 10000;

constexpr DWORD KEYBOARD_STATE_SIZE = 256;

namespace plat {

// DirectInputCreateA: the input object of this version. The caller owns one reference.
HRESULT directInputCreate(HINSTANCE instance, DWORD version, InputObject** out, void* outer);
// IDirectInput::CreateDevice: a device by the system GUIDs above or an enumerated instance GUID; one
// reference.
HRESULT createDevice(InputObject* input, const Guid& guid, InputDevice** out, void* outer);
// IDirectInput::EnumDevices: calls back once per device of the type until the callback returns DIENUM_STOP.
HRESULT enumDevices(InputObject* input, DWORD devType, EnumDevicesCallback callback, void* context,
                    DWORD flags);
// IUnknown::Release of the input object: the count of references left.
std::uint32_t release(InputObject* input);

// IDirectInputDevice::SetDataFormat; must come before acquire.
HRESULT setDataFormat(InputDevice* device, const DataFormat* format);
// IDirectInputDevice::SetCooperativeLevel with DISCL_* flags.
HRESULT setCooperativeLevel(InputDevice* device, HWND window, DWORD flags);
// IDirectInputDevice::Acquire: DI_OK, DI_NOEFFECT when already acquired, DIERR_OTHERAPPHASPRIO without focus.
HRESULT acquire(InputDevice* device);
// IDirectInputDevice::Unacquire: DI_OK, DI_NOEFFECT when not acquired.
HRESULT unacquire(InputDevice* device);
// IDirectInputDevice::GetDeviceState: `size` bytes of the device's data format into `data`.
HRESULT getDeviceState(InputDevice* device, DWORD size, void* data);
// IDirectInputDevice::SetProperty: DIPROP_RANGE with a PropertyRange, DIPROP_DEADZONE with a PropertyDword.
HRESULT setProperty(InputDevice* device, PropertyId property, const PropertyHeader* header);
// IDirectInputDevice::GetDeviceInfo.
HRESULT getDeviceInfo(InputDevice* device, DeviceInstance* info);
// IUnknown::QueryInterface for IID_IDirectInputDevice2A: the same device, with one more reference.
HRESULT queryInterface(InputDevice* device, const Guid& iid, InputDevice2** out);
// IDirectInputDevice2::Poll: brings the state of a polled device up to date. DI_NOEFFECT when not needed.
HRESULT poll(InputDevice2* device);
// IUnknown::Release of a device: the count of references left.
std::uint32_t release(InputDevice* device);

}  // namespace plat
