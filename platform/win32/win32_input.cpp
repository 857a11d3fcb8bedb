// The input devices on DirectInput 7, the interfaces the engine was written against.
//
// Every operation is the DirectInput call it is named after, with its own results: DirectInput itself says
// DI_NOEFFECT, DIERR_OTHERAPPHASPRIO, DIERR_NOTACQUIRED or DIERR_INPUTLOST, and it unacquires a foreground
// device when its window loses the focus. The contract's handles are the COM interfaces themselves: an
// InputObject is an IDirectInputA, an InputDevice an IDirectInputDeviceA, and the InputDevice2 that
// queryInterface hands out an IDirectInputDevice2A, the only kind poll is given. What this file adds is what
// the contract asks beyond the SDK: a null handle is refused instead of called through, queryInterface
// answers for the second device interface only, and a device's description is copied into the contract's
// shorter DeviceInstance.
#include <cstddef>
#include <cstring>

#include "platform/input.h"
#include "platform/native.h"

namespace {

// DirectInput writes its device states, in the layouts of c_dfDIMouse and c_dfDIJoystick, straight into the
// contract's.
static_assert(sizeof(plat::MouseState) == sizeof(DIMOUSESTATE), "DIMOUSESTATE, member for member");
static_assert(sizeof(plat::JoystickState) == sizeof(DIJOYSTATE), "DIJOYSTATE, member for member");
static_assert(offsetof(plat::JoystickState, rgbButtons) == offsetof(DIJOYSTATE, rgbButtons),
              "DIJOYSTATE buttons");

// The contract passes DirectInput's property structures through by their header, as DirectInput does.
static_assert(sizeof(plat::PropertyHeader) == sizeof(DIPROPHEADER), "DIPROPHEADER, member for member");
static_assert(sizeof(plat::PropertyRange) == sizeof(DIPROPRANGE), "DIPROPRANGE, member for member");
static_assert(sizeof(plat::PropertyDword) == sizeof(DIPROPDWORD), "DIPROPDWORD, member for member");
static_assert(offsetof(plat::PropertyRange, min) == offsetof(DIPROPRANGE, lMin), "DIPROPRANGE's minimum");
static_assert(offsetof(plat::PropertyDword, data) == offsetof(DIPROPDWORD, dwData), "DIPROPDWORD's value");
static_assert(sizeof(plat::DeviceInstance::productName) == sizeof(DIDEVICEINSTANCEA::tszProductName),
              "device names are MAX_PATH characters");

IDirectInputA* com(plat::InputObject* input) {
    return reinterpret_cast<IDirectInputA*>(input);
}

IDirectInputDeviceA* com(plat::InputDevice* device) {
    return reinterpret_cast<IDirectInputDeviceA*>(device);
}

// Only queryInterface makes these, so the handle really is the second interface.
IDirectInputDevice2A* com2(plat::InputDevice2* device) {
    return reinterpret_cast<IDirectInputDevice2A*>(device);
}

void copyName(char* to, const char* from, std::size_t size) {
    std::strncpy(to, from, size - 1);
    to[size - 1] = '\0';
}

// What the contract keeps of a device's description. `size` stays as the caller set it.
void describe(const DIDEVICEINSTANCEA& from, plat::DeviceInstance* to) {
    to->guidInstance = from.guidInstance;
    to->guidProduct = from.guidProduct;
    to->devType = from.dwDevType;
    copyName(to->instanceName, from.tszInstanceName, sizeof to->instanceName);
    copyName(to->productName, from.tszProductName, sizeof to->productName);
}

// DirectInput calls back with its own description and, on 32-bit Windows, its own calling convention
// (stdcall); the contract's callback gets the contract's description through this one.
struct Enumeration {
    plat::EnumDevicesCallback callback;
    void* context;
};

BOOL CALLBACK forwardDevice(LPCDIDEVICEINSTANCEA instance, LPVOID reference) {
    const auto* enumeration = static_cast<const Enumeration*>(reference);
    plat::DeviceInstance described{};
    described.size = sizeof described;
    describe(*instance, &described);
    return enumeration->callback(&described, enumeration->context);
}

}  // namespace

namespace plat {

HRESULT native::directInputCreate(HINSTANCE instance, DWORD version, InputObject** out, void* outer) {
    if (!out) return DIERR_INVALIDPARAM;
    IDirectInputA* input = nullptr;
    const HRESULT result = DirectInputCreateA(instance, version, &input, static_cast<IUnknown*>(outer));
    *out = SUCCEEDED(result) ? reinterpret_cast<InputObject*>(input) : nullptr;
    return result;
}

HRESULT native::createDevice(InputObject* input, const Guid& guid, InputDevice** out, void* outer) {
    if (!input || !out) return DIERR_INVALIDPARAM;
    IDirectInputDeviceA* device = nullptr;
    const HRESULT result = com(input)->CreateDevice(guid, &device, static_cast<IUnknown*>(outer));
    *out = SUCCEEDED(result) ? reinterpret_cast<InputDevice*>(device) : nullptr;
    return result;
}

HRESULT native::enumDevices(InputObject* input, DWORD devType, EnumDevicesCallback callback, void* context,
                            DWORD flags) {
    if (!input || !callback) return DIERR_INVALIDPARAM;
    Enumeration enumeration{callback, context};
    return com(input)->EnumDevices(devType, forwardDevice, &enumeration, flags);
}

std::uint32_t native::release(InputObject* input) {
    return input ? com(input)->Release() : 0;
}

HRESULT native::setDataFormat(InputDevice* device, const DataFormat* format) {
    if (!device || !format) return DIERR_INVALIDPARAM;
    return com(device)->SetDataFormat(format);
}

HRESULT native::setCooperativeLevel(InputDevice* device, HWND window, DWORD flags) {
    if (!device) return DIERR_INVALIDPARAM;
    return com(device)->SetCooperativeLevel(window, flags);
}

HRESULT native::acquire(InputDevice* device) {
    return device ? com(device)->Acquire() : DIERR_INVALIDPARAM;
}

HRESULT native::unacquire(InputDevice* device) {
    return device ? com(device)->Unacquire() : DIERR_INVALIDPARAM;
}

HRESULT native::getDeviceState(InputDevice* device, DWORD size, void* data) {
    if (!device || !data) return DIERR_INVALIDPARAM;
    return com(device)->GetDeviceState(size, data);
}

HRESULT native::setProperty(InputDevice* device, PropertyId property, const PropertyHeader* header) {
    if (!device || !header) return DIERR_INVALIDPARAM;
    return com(device)->SetProperty(property, reinterpret_cast<const DIPROPHEADER*>(header));
}

HRESULT native::getDeviceInfo(InputDevice* device, DeviceInstance* info) {
    if (!device || !info || info->size != sizeof(DeviceInstance)) return DIERR_INVALIDPARAM;
    DIDEVICEINSTANCEA instance{};
    instance.dwSize = sizeof instance;
    const HRESULT result = com(device)->GetDeviceInfo(&instance);
    if (SUCCEEDED(result)) describe(instance, info);
    return result;
}

HRESULT native::queryInterface(InputDevice* device, const Guid& iid, InputDevice2** out) {
    if (!device || !out) return DIERR_INVALIDPARAM;
    *out = nullptr;
    // Any other interface would be handed out as one that can poll.
    if (!(iid == IID_IDirectInputDevice2A)) return DIERR_NOINTERFACE;
    void* second = nullptr;
    const HRESULT result = com(device)->QueryInterface(iid, &second);
    if (SUCCEEDED(result)) *out = static_cast<InputDevice2*>(second);
    return result;
}

HRESULT native::poll(InputDevice2* device) {
    return device ? com2(device)->Poll() : DIERR_INVALIDPARAM;
}

std::uint32_t native::release(InputDevice* device) {
    return device ? com(device)->Release() : 0;
}

}  // namespace plat
