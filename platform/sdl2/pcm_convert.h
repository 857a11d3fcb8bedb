// Conversion of PCM samples to the mixer's format, done once when a sound or the music is made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sdl2 {

struct PcmFormat {
    int channels;       // 1 or 2
    int bitsPerSample;  // 8 (unsigned) or 16 (signed, little-endian)
    int rate;           // frames per second
};

// True for the formats convertToStereo16 takes.
bool isConvertible(const PcmFormat& format);

// Interleaved signed 16-bit stereo at `outputRate`, resampled linearly, from `bytes` bytes of `format` (a
// trailing partial frame is dropped). The result replaces *out.
void convertToStereo16(const std::uint8_t* data, std::size_t bytes, const PcmFormat& format, int outputRate,
                       std::vector<std::int16_t>* out);

// The frame of the output that frame `frame` of the input lands on, and back.
std::size_t outputFrameOf(std::size_t frame, int inputRate, int outputRate);
std::size_t inputFrameOf(std::size_t frame, int inputRate, int outputRate);

}  // namespace sdl2
