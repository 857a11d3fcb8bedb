// The fake sound device: buffers are records in fake::sound(), their status whatever the test sets.
#include <algorithm>
#include <string>

#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_platform.h"
#include "platform/native.h"

namespace fake {

// Never destroyed, like the rest of the fake's state: sounds still held at exit may be released after statics
// go.
SoundState& sound() {
    static SoundState* state = new SoundState;
    return *state;
}

}  // namespace fake

namespace {

// Callers test this before building the text, so that a test counting allocations sees none of the fake's.
bool recording() {
    return fake::system().recordCalls;
}

void record(const std::string& call) {
    fake::calls().push_back(call);
}

std::string named(const char* call, const plat::SoundBuffer* buffer) {
    return std::string(call) + " #" + std::to_string(buffer ? buffer->id : -1);
}

plat::SoundBuffer* newBuffer() {
    fake::SoundState& state = fake::sound();
    auto* buffer = new plat::SoundBuffer;
    buffer->id = static_cast<int>(state.buffers.size());
    state.buffers.push_back(buffer);
    return buffer;
}

}  // namespace

namespace plat {

HRESULT native::directSoundCreate(SoundDevice** device) {
    if (recording()) record("directSoundCreate");
    fake::SoundState& state = fake::sound();
    *device = nullptr;
    if (FAILED(state.createDeviceResult)) return state.createDeviceResult;
    ++state.devicesCreated;
    *device = new SoundDevice;
    return S_OK;
}

HRESULT native::setCooperativeLevel(SoundDevice* device, HWND window, DWORD level) {
    if (recording()) record("setCooperativeLevel " + std::to_string(level));
    if (FAILED(fake::sound().cooperativeLevelResult)) return fake::sound().cooperativeLevelResult;
    device->window = window;
    device->level = level;
    return S_OK;
}

HRESULT native::createSoundBuffer(SoundDevice*, const SoundBufferDesc& desc, SoundBuffer** buffer) {
    if (recording()) record("createSoundBuffer " + std::to_string(desc.bufferBytes));
    *buffer = nullptr;
    if (FAILED(fake::sound().createBufferResult)) return fake::sound().createBufferResult;
    if (desc.bufferBytes < DSBSIZE_MIN || desc.bufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
    SoundBuffer* made = newBuffer();
    made->bytes = desc.bufferBytes;
    made->flags = desc.flags;
    made->format = *desc.format;
    made->samples = std::make_shared<std::vector<std::uint8_t>>(desc.bufferBytes);
    *buffer = made;
    return S_OK;
}

HRESULT native::duplicateSoundBuffer(SoundDevice*, SoundBuffer* original, SoundBuffer** duplicate) {
    if (recording()) record(named("duplicateSoundBuffer", original));
    *duplicate = nullptr;
    int& left = fake::sound().duplicatesBeforeFailure;
    if (left == 0) return DSERR_OUTOFMEMORY;
    if (left > 0) --left;
    SoundBuffer* made = newBuffer();
    made->original = original->id;
    made->bytes = original->bytes;
    made->flags = original->flags;
    made->format = original->format;
    made->samples = original->samples;
    *duplicate = made;
    return S_OK;
}

std::uint32_t native::releaseSoundDevice(SoundDevice* device) {
    if (recording()) record("releaseSoundDevice");
    delete device;
    ++fake::sound().devicesReleased;
    return 0;
}

HRESULT native::lockBuffer(SoundBuffer* buffer, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1,
                           void** region2, DWORD* bytes2, DWORD flags) {
    if (recording()) record(named("lockBuffer", buffer));
    if (FAILED(fake::sound().lockResult)) return fake::sound().lockResult;
    if (flags & DSBLOCK_ENTIREBUFFER) {
        offset = 0;
        bytes = buffer->bytes;
    }
    if (offset >= buffer->bytes || bytes > buffer->bytes) return DSERR_INVALIDPARAM;
    const DWORD first = std::min(bytes, buffer->bytes - offset);
    *region1 = buffer->samples->data() + offset;
    *bytes1 = first;
    *region2 = bytes > first ? buffer->samples->data() : nullptr;
    *bytes2 = bytes - first;
    return S_OK;
}

HRESULT native::unlockBuffer(SoundBuffer* buffer, void*, DWORD, void*, DWORD) {
    if (recording()) record(named("unlockBuffer", buffer));
    return fake::sound().unlockResult;
}

HRESULT native::playBuffer(SoundBuffer* buffer, DWORD, DWORD, DWORD flags) {
    if (recording()) record(named("playBuffer", buffer));
    if (buffer->status & DSBSTATUS_BUFFERLOST) return DSERR_BUFFERLOST;
    buffer->status |= DSBSTATUS_PLAYING;
    if (flags & DSBPLAY_LOOPING) buffer->status |= DSBSTATUS_LOOPING;
    ++buffer->plays;
    return S_OK;
}

HRESULT native::stopBuffer(SoundBuffer* buffer) {
    if (recording()) record(named("stopBuffer", buffer));
    buffer->status &= ~(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    ++buffer->stops;
    return S_OK;
}

HRESULT native::getBufferStatus(SoundBuffer* buffer, DWORD* status) {
    if (FAILED(fake::sound().statusResult)) return fake::sound().statusResult;
    *status = buffer->status;
    return S_OK;
}

HRESULT native::getCurrentPosition(SoundBuffer* buffer, DWORD* playCursor, DWORD* writeCursor) {
    if (playCursor) *playCursor = buffer->position;
    if (writeCursor) *writeCursor = buffer->position;
    return S_OK;
}

HRESULT native::setCurrentPosition(SoundBuffer* buffer, DWORD position) {
    if (recording()) record(named("setCurrentPosition", buffer) + " " + std::to_string(position));
    buffer->position = position;
    return S_OK;
}

HRESULT native::restoreBuffer(SoundBuffer* buffer) {
    if (recording()) record(named("restoreBuffer", buffer));
    if (FAILED(fake::sound().restoreResult)) return fake::sound().restoreResult;
    buffer->status &= ~DSBSTATUS_BUFFERLOST;
    ++buffer->restores;
    return S_OK;
}

std::uint32_t native::releaseBuffer(SoundBuffer* buffer) {
    if (recording()) record(named("releaseBuffer", buffer));
    delete buffer;
    ++fake::sound().buffersReleased;
    return 0;
}

}  // namespace plat
