// Keyboard, mouse and joysticks on Windows: for now a machine where DirectInput cannot be created, so the
// engine runs without input devices.
#include "platform/native.h"

namespace plat {

HRESULT native::directInputCreate(HINSTANCE, DWORD, InputObject** out, void*) {
    if (out) *out = nullptr;
    return DIERR_NOTINITIALIZED;
}

HRESULT native::createDevice(InputObject*, const Guid&, InputDevice** out, void*) {
    if (out) *out = nullptr;
    return DIERR_NOTINITIALIZED;
}

HRESULT native::enumDevices(InputObject*, DWORD, EnumDevicesCallback, void*, DWORD) {
    return DIERR_NOTINITIALIZED;
}

std::uint32_t native::release(InputObject*) {
    return 0;
}

HRESULT native::setDataFormat(InputDevice*, const DataFormat*) {
    return DIERR_NOTINITIALIZED;
}

HRESULT native::setCooperativeLevel(InputDevice*, HWND, DWORD) {
    return DIERR_NOTINITIALIZED;
}

HRESULT native::acquire(InputDevice*) {
    return DIERR_NOTINITIALIZED;
}

HRESULT native::unacquire(InputDevice*) {
    return DIERR_NOTINITIALIZED;
}

HRESULT native::getDeviceState(InputDevice*, DWORD, void*) {
    return DIERR_NOTINITIALIZED;
}

HRESULT native::setProperty(InputDevice*, PropertyId, const PropertyHeader*) {
    return DIERR_NOTINITIALIZED;
}

HRESULT native::getDeviceInfo(InputDevice*, DeviceInstance*) {
    return DIERR_NOTINITIALIZED;
}

HRESULT native::queryInterface(InputDevice*, const Guid&, InputDevice2** out) {
    if (out) *out = nullptr;
    return DIERR_NOINTERFACE;
}

HRESULT native::poll(InputDevice2*) {
    return DIERR_NOTINITIALIZED;
}

std::uint32_t native::release(InputDevice*) {
    return 0;
}

}  // namespace plat
