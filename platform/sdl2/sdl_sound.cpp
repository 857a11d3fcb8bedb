// The sound device on SDL2: static buffers converted once to the mixer's format and mixed by sdl2::Mixer.
#include <algorithm>
#include <memory>
#include <new>

#include "platform/native.h"
#include "platform/sdl2/pcm_convert.h"
#include "platform/sdl2/sdl_mixer.h"
#include "platform/sound.h"

namespace {

// The samples of a buffer and all its duplicates: the bytes Lock hands out in the buffer's own format, and
// what the mixer plays, converted from them at Unlock.
struct SampleStore {
    plat::WaveFormat format{};
    std::vector<std::uint8_t> raw;
    sdl2::DeviceSamples converted;
};

sdl2::Mixer& mixer() {
    return sdl2::Mixer::instance();
}

sdl2::PcmFormat pcmFormatOf(const plat::WaveFormat& format) {
    return {format.channels, format.bitsPerSample, static_cast<int>(format.samplesPerSec)};
}

bool isPlayableFormat(const plat::WaveFormat& format) {
    return format.formatTag == WAVE_FORMAT_PCM && sdl2::isConvertible(pcmFormatOf(format)) &&
           format.blockAlign == format.channels * format.bitsPerSample / 8;
}

}  // namespace

namespace plat {

struct SoundDevice {
    HWND window = nullptr;
    DWORD level = 0;
};

struct SoundBuffer {
    std::shared_ptr<SampleStore> store;
    sdl2::Voice voice;
    DWORD frameBytes = 1;
    DWORD lockedOffset = 0;
};

}  // namespace plat

namespace {

plat::SoundBuffer* newBuffer(std::shared_ptr<SampleStore> store) {
    auto* buffer = new (std::nothrow) plat::SoundBuffer;
    if (!buffer) return nullptr;
    buffer->store = std::move(store);
    buffer->frameBytes = std::max<DWORD>(1, buffer->store->format.blockAlign);
    buffer->voice.samples = &buffer->store->converted;
    // Each buffer keeps the device open while it exists, so that it can still sound after the device handle
    // goes.
    mixer().open();
    mixer().attach(&buffer->voice);
    return buffer;
}

std::size_t bytesToFrames(const plat::SoundBuffer* buffer, DWORD bytes) {
    return sdl2::outputFrameOf(bytes / buffer->frameBytes,
                               static_cast<int>(buffer->store->format.samplesPerSec), mixer().rate());
}

DWORD framesToBytes(const plat::SoundBuffer* buffer, std::size_t frames) {
    const std::size_t input =
        sdl2::inputFrameOf(frames, static_cast<int>(buffer->store->format.samplesPerSec), mixer().rate());
    return static_cast<DWORD>(std::min<std::size_t>(input * buffer->frameBytes, buffer->store->raw.size()));
}

}  // namespace

namespace plat {

HRESULT native::directSoundCreate(SoundDevice** device) {
    *device = nullptr;
    if (!mixer().open()) return DSERR_NODRIVER;
    *device = new (std::nothrow) SoundDevice;
    if (*device) return DS_OK;
    mixer().close();
    return DSERR_OUTOFMEMORY;
}

HRESULT native::setCooperativeLevel(SoundDevice* device, HWND window, DWORD level) {
    if (!device || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
    device->window = window;
    device->level = level;
    return DS_OK;
}

HRESULT native::createSoundBuffer(SoundDevice* device, const SoundBufferDesc& desc, SoundBuffer** buffer) {
    *buffer = nullptr;
    if (!device || !desc.format) return DSERR_INVALIDPARAM;
    if (desc.bufferBytes < DSBSIZE_MIN || desc.bufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
    if (!isPlayableFormat(*desc.format)) return DSERR_BADFORMAT;
    auto store = std::shared_ptr<SampleStore>(new (std::nothrow) SampleStore);
    if (!store) return DSERR_OUTOFMEMORY;
    store->format = *desc.format;
    store->raw.assign(desc.bufferBytes, desc.format->bitsPerSample == 8 ? 0x80 : 0);
    *buffer = newBuffer(std::move(store));
    return *buffer ? DS_OK : DSERR_OUTOFMEMORY;
}

HRESULT native::duplicateSoundBuffer(SoundDevice* device, SoundBuffer* original, SoundBuffer** duplicate) {
    *duplicate = nullptr;
    if (!device || !original) return DSERR_INVALIDPARAM;
    *duplicate = newBuffer(original->store);
    return *duplicate ? DS_OK : DSERR_OUTOFMEMORY;
}

std::uint32_t native::releaseSoundDevice(SoundDevice* device) {
    delete device;
    mixer().close();
    return 0;
}

HRESULT native::lockBuffer(SoundBuffer* buffer, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1,
                           void** region2, DWORD* bytes2, DWORD flags) {
    const DWORD size = static_cast<DWORD>(buffer->store->raw.size());
    if (flags & DSBLOCK_ENTIREBUFFER) {
        offset = 0;
        bytes = size;
    }
    if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
    const DWORD first = std::min(bytes, size - offset);
    *region1 = buffer->store->raw.data() + offset;
    *bytes1 = first;
    if (region2) *region2 = bytes > first ? buffer->store->raw.data() : nullptr;
    if (bytes2) *bytes2 = bytes - first;
    buffer->lockedOffset = offset;
    return DS_OK;
}

HRESULT native::unlockBuffer(SoundBuffer* buffer, void*, DWORD, void*, DWORD) {
    // The conversion runs on the caller's thread into a fresh vector; the mixer only sees the swap.
    SampleStore& store = *buffer->store;
    sdl2::DeviceSamples converted;
    if (mixer().isOpen()) {
        sdl2::convertToStereo16(store.raw.data(), store.raw.size(), pcmFormatOf(store.format), mixer().rate(),
                                &converted);
    }
    sdl2::Mixer::Lock lock(mixer());
    store.converted.swap(converted);
    return DS_OK;
}

HRESULT native::playBuffer(SoundBuffer* buffer, DWORD, DWORD, DWORD flags) {
    sdl2::Mixer::Lock lock(mixer());
    // A buffer played once to its end stands at its end; playing it again starts over, as DirectSound's does.
    if (buffer->voice.position >= buffer->store->converted.size() / 2) buffer->voice.position = 0;
    buffer->voice.looping = (flags & DSBPLAY_LOOPING) != 0;
    buffer->voice.playing = true;
    return DS_OK;
}

HRESULT native::stopBuffer(SoundBuffer* buffer) {
    sdl2::Mixer::Lock lock(mixer());
    buffer->voice.playing = false;
    return DS_OK;
}

HRESULT native::getBufferStatus(SoundBuffer* buffer, DWORD* status) {
    sdl2::Mixer::Lock lock(mixer());
    *status = 0;
    if (buffer->voice.playing) *status |= DSBSTATUS_PLAYING;
    if (buffer->voice.playing && buffer->voice.looping) *status |= DSBSTATUS_LOOPING;
    return DS_OK;
}

HRESULT native::getCurrentPosition(SoundBuffer* buffer, DWORD* playCursor, DWORD* writeCursor) {
    std::size_t frame = 0;
    {
        sdl2::Mixer::Lock lock(mixer());
        frame = buffer->voice.position;
    }
    const DWORD bytes = framesToBytes(buffer, frame);
    if (playCursor) *playCursor = bytes;
    if (writeCursor) *writeCursor = bytes;
    return DS_OK;
}

HRESULT native::setCurrentPosition(SoundBuffer* buffer, DWORD position) {
    if (position >= buffer->store->raw.size()) return DSERR_INVALIDPARAM;
    const std::size_t frame = bytesToFrames(buffer, position);
    sdl2::Mixer::Lock lock(mixer());
    buffer->voice.position = frame;
    return DS_OK;
}

HRESULT native::restoreBuffer(SoundBuffer*) {
    // Samples live in ordinary memory here; a buffer is never lost.
    return DS_OK;
}

std::uint32_t native::releaseBuffer(SoundBuffer* buffer) {
    mixer().detach(&buffer->voice);
    delete buffer;
    mixer().close();
    return 0;
}

}  // namespace plat
