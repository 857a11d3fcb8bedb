#include "audio/wav_reader.h"

#include <cstring>

namespace {

constexpr std::size_t RIFF_HEADER_BYTES = 12;   // "RIFF", size, "WAVE"
constexpr std::size_t FORMAT_SIZE_OFFSET = 16;  // the format chunk's size field
constexpr std::size_t FORMAT_OFFSET = 20;       // the format block
constexpr std::size_t CHUNK_HEADER_BYTES = 8;   // id and size
constexpr std::uint32_t PCM_FORMAT_BYTES = 16;  // WAVEFORMATEX without its extra-size field
constexpr std::uint32_t EXTRA_SIZE_END = 18;    // a block this long also holds the extra-size field

std::uint16_t read16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

std::uint32_t read32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

bool hasId(const std::uint8_t* at, const char* id) {
    return std::memcmp(at, id, 4) == 0;
}

plat::WaveFormat readFormat(const std::uint8_t* block, std::uint32_t bytes) {
    plat::WaveFormat format{};
    format.formatTag = read16(block);
    format.channels = read16(block + 2);
    format.samplesPerSec = read32(block + 4);
    format.avgBytesPerSec = read32(block + 8);
    format.blockAlign = read16(block + 12);
    format.bitsPerSample = read16(block + 14);
    format.extraSize = bytes >= EXTRA_SIZE_END ? read16(block + 16) : 0;
    return format;
}

}  // namespace

HRESULT walkWave(const std::uint8_t* image, std::size_t size, WaveLayout* layout) {
    if (!layout || (!image && size > 0)) return E_INVALIDARG;
    if (size < RIFF_HEADER_BYTES || !hasId(image, "RIFF") || !hasId(image + 8, "WAVE"))
        return DSERR_BADFORMAT;
    if (size < FORMAT_OFFSET) return WAVE_E_TRUNCATED;

    const std::uint32_t formatBytes = read32(image + FORMAT_SIZE_OFFSET);
    if (formatBytes > size - FORMAT_OFFSET) return WAVE_E_TRUNCATED;
    // The device reads a whole PCM format block; a shorter one would hand it the bytes of the next chunk.
    if (formatBytes < PCM_FORMAT_BYTES) return DSERR_BADFORMAT;

    // Offsets stay below `size`, so the sums below cannot overflow a size_t holding them.
    std::size_t chunk = FORMAT_OFFSET + formatBytes;
    for (;;) {
        if (size - chunk < CHUNK_HEADER_BYTES) return WAVE_E_TRUNCATED;
        const std::uint32_t chunkBytes = read32(image + chunk + 4);
        if (chunkBytes > size - chunk - CHUNK_HEADER_BYTES) return WAVE_E_TRUNCATED;
        if (!hasId(image + chunk, "fact")) break;
        chunk += CHUNK_HEADER_BYTES + chunkBytes;
    }

    const plat::WaveFormat format = readFormat(image + FORMAT_OFFSET, formatBytes);
    if (format.formatTag != WAVE_FORMAT_PCM) return E_NOTIMPL;

    layout->format = format;
    layout->formatBytes = formatBytes;
    layout->dataOffset = chunk + CHUNK_HEADER_BYTES;
    layout->dataBytes = read32(image + chunk + 4);
    return S_OK;
}
