// Loading a sound: the file image, the chunk walk, copy 0 and its duplicates.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "audio/sound.h"
#include "audio/wav_reader.h"
#include "platform/system.h"

namespace {

// The description every effect buffer gets: static samples, with the controls a game may want later.
constexpr DWORD SOUND_BUFFER_DESC_BYTES = 36;
constexpr DWORD SOUND_BUFFER_FLAGS = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN |
                                     DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2;

// The bytes from the stream's position to its end, or 0 with the error indicator set when it cannot be told.
std::size_t bytesToEnd(std::FILE* stream) {
    const long start = std::ftell(stream);
    if (start < 0 || std::fseek(stream, 0, SEEK_END) != 0) return 0;
    const long end = std::ftell(stream);
    if (end < 0 || std::fseek(stream, start, SEEK_SET) != 0) return 0;
    return static_cast<std::size_t>(end - start);
}

}  // namespace

HRESULT Sound::load(SoundSystem* soundSystem, const char* filePath, int copyCount) {
    if (!filePath) return E_INVALIDARG;
    std::FILE* file = plat::openFile(filePath, "rb");
    if (!file) return E_FAIL;
    const HRESULT result = loadFromStream(soundSystem, 0, file, copyCount);
    std::fclose(file);
    path = filePath;
    return result;
}

HRESULT Sound::loadFromStream(SoundSystem* soundSystem, std::size_t size, std::FILE* stream, int copyCount) {
    release();
    if (!stream) return E_INVALIDARG;
    const bool measured = size == 0;
    if (measured) {
        size = bytesToEnd(stream);
        if (std::ferror(stream)) return E_FAIL;
    }
    std::unique_ptr<std::uint8_t[]> image(new (std::nothrow) std::uint8_t[std::max<std::size_t>(size, 1)]);
    if (!image) return E_OUTOFMEMORY;
    // A file shorter than asked for yields only what was there; the walk rejects an image cut short. Fewer
    // bytes than the stream itself measured is a stream that cannot be read, whether or not the C library
    // flags it (a write-only stream reads as empty on some).
    const std::size_t got = std::fread(image.get(), 1, size, stream);
    if (std::ferror(stream) || (measured && got < size)) return E_FAIL;
    return createFromMemory(soundSystem, got, image.get(), copyCount);
}

HRESULT Sound::createFromMemory(SoundSystem* soundSystem, std::size_t size, const std::uint8_t* image,
                                int copyCount) {
    release();
    if (!image || !soundSystem) return E_INVALIDARG;
    if (!soundSystem->directSound) return DSERR_UNINITIALIZED;
    system = soundSystem;
    copies = copyCount < 1 ? 1 : copyCount;
    path = nullptr;

    WaveLayout layout{};
    const HRESULT walked = walkWave(image, size, &layout);
    if (FAILED(walked)) return walked;

    HRESULT result = createBuffers(layout.dataBytes, layout.format, copies);
    if (FAILED(result)) return result;
    result = fillBuffer(image + layout.dataOffset, layout.dataBytes);
    if (FAILED(result)) return result;
    return duplicateBuffers();
}

HRESULT Sound::createBuffers(DWORD bytes, const plat::WaveFormat& format, int copyCount) {
    buffers = new (std::nothrow) plat::SoundBuffer*[static_cast<std::size_t>(copyCount)]();
    if (!buffers) return E_OUTOFMEMORY;
    copies = copyCount;

    plat::SoundBufferDesc desc{};
    desc.size = SOUND_BUFFER_DESC_BYTES;
    desc.flags = SOUND_BUFFER_FLAGS;
    desc.bufferBytes = bytes;
    desc.format = &format;
    const HRESULT result = plat::createSoundBuffer(system->directSound, desc, &buffers[0]);
    return FAILED(result) ? result : S_OK;
}

HRESULT Sound::fillBuffer(const std::uint8_t* data, DWORD bytes) {
    void* region1 = nullptr;
    void* region2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    HRESULT result =
        plat::lockBuffer(buffers[0], 0, 0, &region1, &bytes1, &region2, &bytes2, DSBLOCK_ENTIREBUFFER);
    if (FAILED(result)) return result;
    // The buffer was made for exactly `bytes` bytes; never copy more than either side holds.
    const DWORD first = std::min(bytes1, bytes);
    if (region1 && first > 0) std::memcpy(region1, data, first);
    const DWORD second = std::min(bytes2, bytes - first);
    if (region2 && second > 0) std::memcpy(region2, data + first, second);
    result = plat::unlockBuffer(buffers[0], region1, bytes1, region2, bytes2);
    return FAILED(result) ? result : S_OK;
}

HRESULT Sound::duplicateBuffers() {
    for (int i = 1; i < copies; ++i) {
        const HRESULT result = plat::duplicateSoundBuffer(system->directSound, buffers[0], &buffers[i]);
        if (FAILED(result)) return result;
    }
    return S_OK;
}
