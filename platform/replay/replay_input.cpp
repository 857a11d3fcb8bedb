// The input devices, recorded or replayed. A replay touches no device at all: every device the engine holds
// is a stand-in, and everything it reads, from the devices found to each poll's states, comes from the
// recording.
#include <cstring>

#include "platform/native.h"
#include "platform/replay/session.h"

namespace {

using replay::Entry;
using replay::Op;

using StateSlot = replay::Session::DeviceState;
constexpr std::size_t STATE_MAX_WORDS = sizeof StateSlot::words / sizeof StateSlot::words[0];

StateSlot* slotFor(DWORD size) {
    if (size == 0 || size > STATE_MAX_WORDS * 4) return nullptr;
    for (StateSlot& slot : replay::g_session.deviceStates) {
        if (slot.size == size) return &slot;
        if (slot.size == 0) {
            slot.size = size;
            return &slot;
        }
    }
    return nullptr;
}

std::size_t wordsOf(DWORD size) {
    return (size + 3) / 4;
}

// The words that changed since the slot's state: how many, then for each the gap from the previous changed
// word and the difference of its value (small for mouse movement, one bit for a key).
void writeChanges(const StateSlot& slot, const std::uint32_t* words, std::size_t count) {
    std::uint64_t changed = 0;
    for (std::size_t i = 0; i < count; ++i)
        changed += words[i] != slot.words[i];
    replay::g_session.writer.unsignedNumber(changed);
    std::size_t previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (words[i] == slot.words[i]) continue;
        replay::g_session.writer.unsignedNumber(i - previous);
        replay::g_session.writer.signedNumber(static_cast<std::int32_t>(words[i] - slot.words[i]));
        previous = i;
    }
}

void readChanges(StateSlot& slot, std::size_t count) {
    replay::Reader& reader = replay::g_session.reader;
    const std::uint64_t changed = reader.unsignedNumber();
    if (changed > count) replay::fail("corrupted: a device state changes more words than it has");
    std::size_t index = 0;
    for (std::uint64_t i = 0; i < changed; ++i) {
        // The gap is checked before it is added, so that no gap wraps the index round to a word in range.
        const std::uint64_t gap = reader.unsignedNumber();
        if (gap >= count - index) replay::fail("corrupted: a device state changes a word past its end");
        index += static_cast<std::size_t>(gap);
        slot.words[index] += static_cast<std::uint32_t>(reader.signedNumber());
    }
}

HRESULT recordState(plat::InputDevice* device, DWORD size, void* data) {
    const HRESULT result = plat::native::getDeviceState(device, size, data);
    StateSlot* slot = slotFor(size);
    std::uint32_t words[STATE_MAX_WORDS] = {};
    if (slot && SUCCEEDED(result)) std::memcpy(words, data, size);
    const std::size_t count = slot ? wordsOf(size) : 0;
    const bool same = slot && result == DI_OK && std::memcmp(words, slot->words, count * 4) == 0;
    Entry entry(same ? Op::deviceStateSame : Op::deviceState);
    DWORD recordedSize = size;
    entry.number(recordedSize);
    if (same) return result;
    HRESULT recordedResult = result;
    entry.result(recordedResult);
    if (!slot || FAILED(result)) return result;
    writeChanges(*slot, words, count);
    std::memcpy(slot->words, words, count * 4);
    return result;
}

// A failed read leaves the caller's state as it was, as the device does.
HRESULT replayState(DWORD size, void* data) {
    const Op op = replay::either(Op::deviceStateSame, Op::deviceState, false);
    Entry entry(op);
    DWORD recordedSize = 0;
    entry.number(recordedSize);
    StateSlot* slot = slotFor(size);
    if (recordedSize != size || !slot)
        replay::fail("this run reads a device state of another size than the recorded one");
    HRESULT result = DI_OK;
    if (op == Op::deviceState) {
        entry.result(result);
        if (FAILED(result)) return result;
        readChanges(*slot, wordsOf(size));
    }
    std::memcpy(data, slot->words, size);
    return result;
}

// A device's description, in enumerations and asked for on its own.
void transferInstance(Entry& entry, plat::DeviceInstance* instance) {
    entry.bytes(&instance->guidInstance, sizeof instance->guidInstance)
        .bytes(&instance->guidProduct, sizeof instance->guidProduct)
        .number(instance->devType);
    for (char* name : {instance->instanceName, instance->productName}) {
        const void* terminator = std::memchr(name, '\0', sizeof instance->productName - 1);
        auto length = static_cast<std::uint32_t>(terminator ? static_cast<const char*>(terminator) - name
                                                            : sizeof instance->productName - 1);
        entry.number(length);
        if (length >= sizeof instance->productName) replay::fail("corrupted: a device name is too long");
        entry.bytes(name, length);
        name[length] = '\0';
    }
}

struct Enumeration {
    plat::EnumDevicesCallback callback;
    void* context;
};

plat::BOOL recordItem(const plat::DeviceInstance* instance, void* context) {
    plat::DeviceInstance copy = *instance;
    Entry entry(Op::enumItem);
    transferInstance(entry, &copy);
    const auto* enumeration = static_cast<Enumeration*>(context);
    return enumeration->callback(instance, enumeration->context);
}

HRESULT replayEnumeration(plat::EnumDevicesCallback callback, void* context) {
    while (replay::g_session.reader.nextOp() == Op::enumItem) {
        plat::DeviceInstance instance{};
        instance.size = sizeof instance;
        {
            Entry entry(Op::enumItem);
            transferInstance(entry, &instance);
        }
        callback(&instance, context);
    }
    HRESULT result = DI_OK;
    Entry(Op::enumEnd).result(result);
    return result;
}

}  // namespace

namespace plat {

HRESULT directInputCreate(HINSTANCE instance, DWORD version, InputObject** out, void* outer) {
    return replay::made(Op::inputCreate, out, false,
                        [&] { return native::directInputCreate(instance, version, out, outer); });
}

HRESULT createDevice(InputObject* input, const Guid& guid, InputDevice** out, void* outer) {
    return replay::made(Op::createDevice, out, false,
                        [&] { return native::createDevice(input, guid, out, outer); });
}

HRESULT enumDevices(InputObject* input, DWORD devType, EnumDevicesCallback callback, void* context,
                    DWORD flags) {
    if (replay::passing()) return native::enumDevices(input, devType, callback, context, flags);
    if (replay::replaying()) return replayEnumeration(callback, context);
    Enumeration enumeration{callback, context};
    HRESULT result = native::enumDevices(input, devType, recordItem, &enumeration, flags);
    Entry(Op::enumEnd).result(result);
    return result;
}

std::uint32_t release(InputObject* input) {
    return replay::releaseOf(input, [&] { return native::release(input); });
}

HRESULT setDataFormat(InputDevice* device, const DataFormat* format) {
    return replay::resultOf(Op::setDataFormat, false, [&] { return native::setDataFormat(device, format); });
}

HRESULT setCooperativeLevel(InputDevice* device, HWND window, DWORD flags) {
    return replay::resultOf(Op::inputCooperativeLevel, false,
                            [&] { return native::setCooperativeLevel(device, window, flags); });
}

HRESULT acquire(InputDevice* device) {
    return replay::resultOf(Op::acquire, false, [&] { return native::acquire(device); });
}

HRESULT unacquire(InputDevice* device) {
    return replay::resultOf(Op::unacquire, false, [&] { return native::unacquire(device); });
}

HRESULT getDeviceState(InputDevice* device, DWORD size, void* data) {
    if (replay::passing()) return native::getDeviceState(device, size, data);
    if (replay::recording()) return recordState(device, size, data);
    return replay::replaying() ? replayState(size, data) : DIERR_NOTACQUIRED;
}

HRESULT setProperty(InputDevice* device, PropertyId property, const PropertyHeader* header) {
    return replay::resultOf(Op::setProperty, false,
                            [&] { return native::setProperty(device, property, header); });
}

HRESULT getDeviceInfo(InputDevice* device, DeviceInstance* info) {
    if (replay::passing()) return native::getDeviceInfo(device, info);
    HRESULT result = replay::recording() ? native::getDeviceInfo(device, info) : S_OK;
    Entry entry(Op::deviceInfo);
    entry.result(result);
    if (SUCCEEDED(result)) transferInstance(entry, info);
    return result;
}

HRESULT queryInterface(InputDevice* device, const Guid& iid, InputDevice2** out) {
    return replay::made(Op::queryInterface, out, false,
                        [&] { return native::queryInterface(device, iid, out); });
}

HRESULT poll(InputDevice2* device) {
    return replay::resultOf(Op::poll, false, [&] { return native::poll(device); });
}

std::uint32_t release(InputDevice* device) {
    return replay::releaseOf(device, [&] { return native::release(device); });
}

}  // namespace plat
