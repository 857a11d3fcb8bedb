// The music path: libmpg123 decoding a file image in memory, then the conversion to the mixer's format, as
// the SDL2 media graph does when it renders the track.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/sdl2/mp3_decode.h"
#include "platform/sdl2/pcm_convert.h"

namespace {

constexpr std::size_t FUZZ_MAX_FRAMES = 48000 * 20;  // keeps a run's memory bounded
constexpr int MIXER_RATE = 44100;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sdl2::DecodedPcm pcm;
    if (!sdl2::decodeMp3(data, size, FUZZ_MAX_FRAMES, &pcm)) return 0;
    const sdl2::PcmFormat format{pcm.channels, 16, pcm.rate};
    if (!sdl2::isConvertible(format)) return 0;
    std::vector<std::int16_t> converted;
    sdl2::convertToStereo16(pcm.bytes.data(), pcm.bytes.size(), format, MIXER_RATE, &converted);
    return 0;
}
