// The sound device on Windows: DirectSound itself. Each operation is the DirectSound call it stands for,
// with its results passed on; the handles carry the interfaces.
#include <new>

#include "platform/native.h"
#include "platform/sound.h"

namespace plat {

struct SoundDevice {
    IDirectSound* directSound;
};

// A buffer holds a reference on the device that made it: DirectSound frees every buffer of a device when the
// device goes, and the contract keeps a buffer playable until its own release.
struct SoundBuffer {
    IDirectSoundBuffer* buffer;
    IDirectSound* device;
};

}  // namespace plat

namespace {

// With the default device and no aggregation, DirectSoundCreate has no argument that could be wrong: an
// invalid-argument answer (Wine's, when no output device exists) means there is no driver to open.
HRESULT noDriverResult(HRESULT result) {
    return result == DSERR_INVALIDPARAM ? DSERR_NODRIVER : result;
}

// The contract's format has no bytes after its members, so the extra-size field is always 0 here.
WAVEFORMATEX waveFormatOf(const plat::WaveFormat& format) {
    WAVEFORMATEX wave{};
    wave.wFormatTag = format.formatTag;
    wave.nChannels = format.channels;
    wave.nSamplesPerSec = format.samplesPerSec;
    wave.nAvgBytesPerSec = format.avgBytesPerSec;
    wave.nBlockAlign = format.blockAlign;
    wave.wBitsPerSample = format.bitsPerSample;
    wave.cbSize = 0;
    return wave;
}

// Wraps a buffer DirectSound made; releases it again when the wrapper cannot be had.
HRESULT wrapBuffer(IDirectSound* device, IDirectSoundBuffer* made, plat::SoundBuffer** buffer) {
    *buffer = new (std::nothrow) plat::SoundBuffer{made, device};
    if (!*buffer) {
        made->Release();
        return DSERR_OUTOFMEMORY;
    }
    device->AddRef();
    return DS_OK;
}

}  // namespace

namespace plat {

HRESULT native::directSoundCreate(SoundDevice** device) {
    *device = nullptr;
    IDirectSound* directSound = nullptr;
    const HRESULT result = DirectSoundCreate(nullptr, &directSound, nullptr);
    if (FAILED(result)) return noDriverResult(result);
    *device = new (std::nothrow) SoundDevice{directSound};
    if (*device) return result;
    directSound->Release();
    return DSERR_OUTOFMEMORY;
}

HRESULT native::setCooperativeLevel(SoundDevice* device, HWND window, DWORD level) {
    if (!device) return DSERR_INVALIDPARAM;
    return device->directSound->SetCooperativeLevel(window, level);
}

HRESULT native::createSoundBuffer(SoundDevice* device, const SoundBufferDesc& desc, SoundBuffer** buffer) {
    *buffer = nullptr;
    if (!device || !desc.format) return DSERR_INVALIDPARAM;
    WAVEFORMATEX wave = waveFormatOf(*desc.format);
    // The engine describes the buffer as the 32-bit structure; the real one has this build's size.
    DSBUFFERDESC real{};
    real.dwSize = sizeof real;
    real.dwFlags = desc.flags;
    real.dwBufferBytes = desc.bufferBytes;
    real.dwReserved = desc.reserved;
    real.lpwfxFormat = &wave;
    IDirectSoundBuffer* made = nullptr;
    const HRESULT result = device->directSound->CreateSoundBuffer(&real, &made, nullptr);
    if (FAILED(result)) return result;
    return wrapBuffer(device->directSound, made, buffer);
}

HRESULT native::duplicateSoundBuffer(SoundDevice* device, SoundBuffer* original, SoundBuffer** duplicate) {
    *duplicate = nullptr;
    if (!device || !original) return DSERR_INVALIDPARAM;
    IDirectSoundBuffer* made = nullptr;
    const HRESULT result = device->directSound->DuplicateSoundBuffer(original->buffer, &made);
    if (FAILED(result)) return result;
    return wrapBuffer(device->directSound, made, duplicate);
}

std::uint32_t native::releaseSoundDevice(SoundDevice* device) {
    const ULONG left = device->directSound->Release();
    delete device;
    return left;
}

HRESULT native::lockBuffer(SoundBuffer* buffer, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1,
                           void** region2, DWORD* bytes2, DWORD flags) {
    return buffer->buffer->Lock(offset, bytes, region1, bytes1, region2, bytes2, flags);
}

HRESULT native::unlockBuffer(SoundBuffer* buffer, void* region1, DWORD bytes1, void* region2, DWORD bytes2) {
    return buffer->buffer->Unlock(region1, bytes1, region2, bytes2);
}

HRESULT native::playBuffer(SoundBuffer* buffer, DWORD reserved, DWORD priority, DWORD flags) {
    return buffer->buffer->Play(reserved, priority, flags);
}

HRESULT native::stopBuffer(SoundBuffer* buffer) {
    return buffer->buffer->Stop();
}

HRESULT native::getBufferStatus(SoundBuffer* buffer, DWORD* status) {
    return buffer->buffer->GetStatus(status);
}

HRESULT native::getCurrentPosition(SoundBuffer* buffer, DWORD* playCursor, DWORD* writeCursor) {
    return buffer->buffer->GetCurrentPosition(playCursor, writeCursor);
}

HRESULT native::setCurrentPosition(SoundBuffer* buffer, DWORD position) {
    return buffer->buffer->SetCurrentPosition(position);
}

HRESULT native::restoreBuffer(SoundBuffer* buffer) {
    return buffer->buffer->Restore();
}

std::uint32_t native::releaseBuffer(SoundBuffer* buffer) {
    const ULONG left = buffer->buffer->Release();
    buffer->device->Release();
    delete buffer;
    return left;
}

}  // namespace plat
