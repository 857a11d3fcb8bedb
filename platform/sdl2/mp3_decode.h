// MP3 decoding of a whole file image held in memory, with libmpg123. The media graph plays what it returns;
// the fuzz target of the music path calls it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sdl2 {

struct DecodedPcm {
    std::vector<std::uint8_t> bytes;  // interleaved signed 16-bit little-endian samples
    int channels = 0;
    int rate = 0;
};

// Decodes up to `maxFrames` frames of the first format found in the stream (the encoder's delay and padding
// removed, so that a track made to loop loops without a gap). A change of format mid-stream ends the decoding
// there. False when no sample could be decoded.
bool decodeMp3(const std::uint8_t* image, std::size_t size, std::size_t maxFrames, DecodedPcm* out);

}  // namespace sdl2
