#include "platform/fake/fake_input.h"

#include <cstring>
#include <string>

#include "platform/fake/fake_platform.h"
#include "platform/native.h"

namespace plat {

struct InputObject {
    int unused;
};

struct InputDevice {
    fake::FakeDevice& (*script)();
    const char* name;
};

}  // namespace plat

namespace fake {

// Never destroyed, like the rest of the fake: g_input releases its devices during the static teardown.
InputState& input() {
    static InputState* state = new InputState;
    return *state;
}

void resetInput() {
    input() = InputState{};
}

void pressKey(std::uint8_t dik) {
    input().keys[dik] = 0x80;
}

void releaseKey(std::uint8_t dik) {
    input().keys[dik] = 0;
}

void moveMouse(plat::LONG dx, plat::LONG dy) {
    input().mouseNow.lX += dx;
    input().mouseNow.lY += dy;
}

void turnWheel(plat::LONG dz) {
    input().mouseNow.lZ += dz;
}

void setMouseButton(int button, bool down) {
    input().mouseNow.rgbButtons[button] = down ? 0x80 : 0;
}

void setJoystickAxes(plat::LONG x, plat::LONG y) {
    input().joystickNow.lX = x;
    input().joystickNow.lY = y;
}

void setJoystickButton(int button, bool down) {
    input().joystickNow.rgbButtons[button] = down ? 0x80 : 0;
}

void loseFocus() {
    input().keyboardDevice.acquired = false;
    input().mouseDevice.acquired = false;
    input().joystickDevice.acquired = false;
}

}  // namespace fake

namespace {

plat::InputObject g_inputObject{};
plat::InputDevice g_keyboard{[]() -> fake::FakeDevice& { return fake::input().keyboardDevice; }, "keyboard"};
plat::InputDevice g_mouse{[]() -> fake::FakeDevice& { return fake::input().mouseDevice; }, "mouse"};
plat::InputDevice g_joystick{[]() -> fake::FakeDevice& { return fake::input().joystickDevice; }, "joystick"};

// The instance GUIDs of the attached joysticks differ in their first member only.
constexpr plat::Guid JOYSTICK_GUID = {0x4A4F5900u, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};

plat::Guid joystickGuid(int index) {
    plat::Guid guid = JOYSTICK_GUID;
    guid.Data1 += static_cast<std::uint32_t>(index);
    return guid;
}

void record(const std::string& call) {
    if (fake::system().recordCalls) fake::calls().push_back("input." + call);
}

void record(const char* call, const plat::InputDevice* device) {
    if (fake::system().recordCalls) record(std::string(call) + " " + device->name);
}

HRESULT createJoystick(const plat::Guid& guid, plat::InputDevice** out) {
    fake::InputState& state = fake::input();
    for (int i = 0; i < state.joysticksAttached; ++i) {
        if (!(guid == joystickGuid(i))) continue;
        if (i < state.joysticksFailingCreation) return DIERR_DEVICENOTREG;
        *out = &g_joystick;
        return DI_OK;
    }
    return DIERR_DEVICENOTREG;
}

bool consumeFailure(int& failures) {
    if (failures == 0) return false;
    if (failures > 0) --failures;
    return true;
}

template <typename Snapshot>
Snapshot takeSnapshot(std::deque<Snapshot>& queue, const Snapshot& now) {
    if (queue.empty()) return now;
    Snapshot front = queue.front();
    queue.pop_front();
    return front;
}

void readInto(const plat::InputDevice* device, void* data) {
    fake::InputState& state = fake::input();
    if (device == &g_keyboard) {
        const auto keys = takeSnapshot(state.keyboardQueue, state.keys);
        std::memcpy(data, keys.data(), keys.size());
    } else if (device == &g_mouse) {
        const bool queued = !state.mouseQueue.empty();
        const plat::MouseState mouse = takeSnapshot(state.mouseQueue, state.mouseNow);
        std::memcpy(data, &mouse, sizeof(mouse));
        // A mouse reports its movement since the previous read.
        if (!queued) state.mouseNow.lX = state.mouseNow.lY = state.mouseNow.lZ = 0;
    } else {
        const plat::JoystickState joystick = takeSnapshot(state.joystickQueue, state.joystickNow);
        std::memcpy(data, &joystick, sizeof(joystick));
    }
}

}  // namespace

namespace plat {

HRESULT native::directInputCreate(HINSTANCE, DWORD version, InputObject** out, void*) {
    fake::InputState& state = fake::input();
    record("create");
    state.createdVersion = version;
    if (FAILED(state.createResult)) {
        *out = nullptr;
        return state.createResult;
    }
    state.inputCreated = true;
    state.inputReferences = 1;
    *out = &g_inputObject;
    return DI_OK;
}

HRESULT native::createDevice(InputObject*, const Guid& guid, InputDevice** out, void*) {
    fake::InputState& state = fake::input();
    *out = nullptr;
    HRESULT result = DIERR_DEVICENOTREG;
    if (guid == GUID_SysKeyboard && state.keyboardDevice.present) {
        *out = &g_keyboard;
        result = DI_OK;
    } else if (guid == GUID_SysMouse && state.mouseDevice.present) {
        *out = &g_mouse;
        result = DI_OK;
    } else if (!(guid == GUID_SysKeyboard) && !(guid == GUID_SysMouse)) {
        result = createJoystick(guid, out);
    }
    if (*out) {
        (*out)->script().created = true;
        (*out)->script().references = 1;
        record("createDevice", *out);
    } else {
        record("createDevice failed");
    }
    return result;
}

HRESULT native::enumDevices(InputObject*, DWORD devType, EnumDevicesCallback callback, void* context,
                            DWORD flags) {
    fake::InputState& state = fake::input();
    record("enumDevices " + std::to_string(devType) + " " + std::to_string(flags));
    if (devType != DIDEVTYPE_JOYSTICK) return DI_OK;
    for (int i = 0; i < state.joysticksAttached; ++i) {
        DeviceInstance instance{};
        instance.size = sizeof(instance);
        instance.guidInstance = joystickGuid(i);
        instance.guidProduct = JOYSTICK_GUID;
        instance.devType = state.joystickDevType;
        std::strcpy(instance.productName, "Fake joystick");
        ++state.joysticksEnumerated;
        if (callback(&instance, context) == DIENUM_STOP) break;
    }
    return DI_OK;
}

std::uint32_t native::release(InputObject*) {
    fake::InputState& state = fake::input();
    record("release directInput");
    if (state.inputReferences > 0) --state.inputReferences;
    return static_cast<std::uint32_t>(state.inputReferences);
}

HRESULT native::setDataFormat(InputDevice* device, const DataFormat* format) {
    record("setDataFormat", device);
    device->script().dataFormat = format;
    return DI_OK;
}

HRESULT native::setCooperativeLevel(InputDevice* device, HWND window, DWORD flags) {
    record("setCooperativeLevel", device);
    device->script().cooperativeWindow = window;
    device->script().cooperativeFlags = flags;
    return DI_OK;
}

HRESULT native::acquire(InputDevice* device) {
    fake::FakeDevice& script = device->script();
    record("acquire", device);
    ++script.acquireCalls;
    if (consumeFailure(script.acquireFailures)) return script.acquireFailure;
    if (script.acquired) return DI_NOEFFECT;
    script.acquired = true;
    return DI_OK;
}

HRESULT native::unacquire(InputDevice* device) {
    fake::FakeDevice& script = device->script();
    record("unacquire", device);
    ++script.unacquireCalls;
    if (!script.acquired) return DI_NOEFFECT;
    script.acquired = false;
    return DI_OK;
}

HRESULT native::getDeviceState(InputDevice* device, DWORD size, void* data) {
    fake::FakeDevice& script = device->script();
    ++script.readCalls;
    script.lastReadSequence = ++fake::input().readSequence;
    if (!script.dataFormat || size != script.dataFormat->dwDataSize || !data) return DIERR_INVALIDPARAM;
    if (consumeFailure(script.readFailures)) {
        script.acquired = false;
        return script.readFailure;
    }
    if (!script.acquired) return DIERR_NOTACQUIRED;
    readInto(device, data);
    return DI_OK;
}

HRESULT native::setProperty(InputDevice* device, PropertyId property, const PropertyHeader* header) {
    fake::InputState& state = fake::input();
    record("setProperty " + std::string(plat::sameProperty(property, DIPROP_RANGE) ? "range " : "deadzone ") +
           (header->object == DIJOFS_X ? "x" : "y"));
    if (device != &g_joystick || header->how != DIPH_BYOFFSET) return DIERR_INVALIDPARAM;
    fake::JoystickAxisProperties& axis = header->object == DIJOFS_X ? state.axisX : state.axisY;
    if (plat::sameProperty(property, DIPROP_RANGE) && header->size == sizeof(PropertyRange)) {
        if (FAILED(state.rangeResult)) return state.rangeResult;
        const PropertyRange* range = reinterpret_cast<const PropertyRange*>(header);
        axis.min = range->min;
        axis.max = range->max;
        axis.rangeSet = true;
        return DI_OK;
    }
    if (plat::sameProperty(property, DIPROP_DEADZONE) && header->size == sizeof(PropertyDword)) {
        if (FAILED(state.deadZoneResult)) return state.deadZoneResult;
        axis.deadZone = reinterpret_cast<const PropertyDword*>(header)->data;
        axis.deadZoneSet = true;
        return DI_OK;
    }
    return DIERR_INVALIDPARAM;
}

HRESULT native::getDeviceInfo(InputDevice* device, DeviceInstance* info) {
    record("getDeviceInfo", device);
    if (info->size != sizeof(DeviceInstance)) return DIERR_INVALIDPARAM;
    info->devType = device == &g_joystick ? fake::input().joystickDevType : 0;
    return DI_OK;
}

HRESULT native::queryInterface(InputDevice* device, const Guid& iid, InputDevice2** out) {
    record("queryInterface", device);
    *out = nullptr;
    if (!(iid == IID_IDirectInputDevice2A)) return DIERR_NOINTERFACE;
    if (FAILED(fake::input().queryInterfaceResult)) return fake::input().queryInterfaceResult;
    ++device->script().references;
    *out = device;
    return DI_OK;
}

HRESULT native::poll(InputDevice2* device) {
    fake::FakeDevice& script = device->script();
    ++script.pollCalls;
    script.lastReadSequence = ++fake::input().readSequence;
    return script.acquired ? DI_NOEFFECT : DIERR_NOTACQUIRED;
}

std::uint32_t native::release(InputDevice* device) {
    fake::FakeDevice& script = device->script();
    record("release", device);
    if (script.references > 0) --script.references;
    return static_cast<std::uint32_t>(script.references);
}

}  // namespace plat
