// Conversion of PCM samples to the mixer's format, done once when a sound is made.
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

// How the conversion resamples, shared with the music, which converts as it plays. Output frame i lies
// i * inputRate / outputRate input frames in: between input frames at and at + 1 (at itself for the last),
// `fraction` / outputRate of the way, where at and fraction are that product's quotient and remainder.
// A stream of `frames` input frames makes outputFrameCount of them.
std::size_t outputFrameCount(std::size_t frames, int inputRate, int outputRate);
// One sample at `fraction` / outputRate of the way from sample a to sample b.
std::int16_t interpolate(std::int32_t a, std::int32_t b, std::int64_t fraction, int outputRate);

// The frame of the output that frame `frame` of the input lands on, and back.
std::size_t outputFrameOf(std::size_t frame, int inputRate, int outputRate);
std::size_t inputFrameOf(std::size_t frame, int inputRate, int outputRate);

}  // namespace sdl2
