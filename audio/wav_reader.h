// The RIFF/WAVE walk: finds the format block and the sample data in a file image held in memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/sound.h"

// HRESULT_FROM_WIN32(ERROR_HANDLE_EOF): the image ends before a block that one of its size fields announces.
constexpr HRESULT WAVE_E_TRUNCATED = static_cast<HRESULT>(0x80070026u);

// Where the walk found things, as offsets into the image it was given.
struct WaveLayout {
    plat::WaveFormat format;    // the format block, with extraSize 0 when the block is only 16 bytes long
    std::uint32_t formatBytes;  // F, the format chunk's size
    std::size_t dataOffset;     // where the samples start
    std::uint32_t dataBytes;    // D, the size of the chunk taken as sample data
};

// The walk every sound load makes: "RIFF" at 0 and "WAVE" at 8, the format chunk at 12 (its id not compared),
// then any number of "fact" chunks skipped, and the first chunk that is not "fact" taken as the sample data,
// whatever its id. No size is rounded up to an even number.
//
// Returns S_OK with *layout filled in; DSERR_BADFORMAT without the RIFF/WAVE header or with a format block
// too short to describe samples; WAVE_E_TRUNCATED when a size field points past the end of the image;
// E_NOTIMPL for a format tag other than PCM. Never reads outside [image, image + size).
HRESULT walkWave(const std::uint8_t* image, std::size_t size, WaveLayout* layout);
