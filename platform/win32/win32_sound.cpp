// The sound device on Windows: for now a machine without one, where DirectSoundCreate fails as it does with
// no audio device (E_INVALIDARG), so the engine plays on silently.
#include "platform/native.h"

namespace plat {

HRESULT native::directSoundCreate(SoundDevice** device) {
    if (device) *device = nullptr;
    return E_INVALIDARG;
}

HRESULT native::setCooperativeLevel(SoundDevice*, HWND, DWORD) {
    return DSERR_UNINITIALIZED;
}

HRESULT native::createSoundBuffer(SoundDevice*, const SoundBufferDesc&, SoundBuffer** buffer) {
    if (buffer) *buffer = nullptr;
    return DSERR_UNINITIALIZED;
}

HRESULT native::duplicateSoundBuffer(SoundDevice*, SoundBuffer*, SoundBuffer** duplicate) {
    if (duplicate) *duplicate = nullptr;
    return DSERR_UNINITIALIZED;
}

std::uint32_t native::releaseSoundDevice(SoundDevice*) {
    return 0;
}

HRESULT native::lockBuffer(SoundBuffer*, DWORD, DWORD, void** region1, DWORD* bytes1, void** region2,
                           DWORD* bytes2, DWORD) {
    if (region1) *region1 = nullptr;
    if (bytes1) *bytes1 = 0;
    if (region2) *region2 = nullptr;
    if (bytes2) *bytes2 = 0;
    return DSERR_UNINITIALIZED;
}

HRESULT native::unlockBuffer(SoundBuffer*, void*, DWORD, void*, DWORD) {
    return DSERR_UNINITIALIZED;
}

HRESULT native::playBuffer(SoundBuffer*, DWORD, DWORD, DWORD) {
    return DSERR_UNINITIALIZED;
}

HRESULT native::stopBuffer(SoundBuffer*) {
    return DSERR_UNINITIALIZED;
}

HRESULT native::getBufferStatus(SoundBuffer*, DWORD* status) {
    if (status) *status = 0;
    return DSERR_UNINITIALIZED;
}

HRESULT native::getCurrentPosition(SoundBuffer*, DWORD* playCursor, DWORD* writeCursor) {
    if (playCursor) *playCursor = 0;
    if (writeCursor) *writeCursor = 0;
    return DSERR_UNINITIALIZED;
}

HRESULT native::setCurrentPosition(SoundBuffer*, DWORD) {
    return DSERR_UNINITIALIZED;
}

HRESULT native::restoreBuffer(SoundBuffer*) {
    return DSERR_UNINITIALIZED;
}

std::uint32_t native::releaseBuffer(SoundBuffer*) {
    return 0;
}

}  // namespace plat
