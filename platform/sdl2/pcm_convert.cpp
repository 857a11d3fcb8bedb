#include "platform/sdl2/pcm_convert.h"

namespace sdl2 {

namespace {

constexpr int MIN_RATE = 100;
constexpr int MAX_RATE = 200000;
constexpr int UNSIGNED_8_BIAS = 128;
constexpr int SCALE_8_TO_16 = 256;

std::int32_t sampleAt(const std::uint8_t* data, std::size_t index, int bitsPerSample) {
    if (bitsPerSample == 8) return (static_cast<std::int32_t>(data[index]) - UNSIGNED_8_BIAS) * SCALE_8_TO_16;
    const std::uint8_t* at = data + index * 2;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(at[0] | (at[1] << 8)));
}

}  // namespace

bool isConvertible(const PcmFormat& format) {
    return (format.channels == 1 || format.channels == 2) &&
           (format.bitsPerSample == 8 || format.bitsPerSample == 16) && format.rate >= MIN_RATE &&
           format.rate <= MAX_RATE;
}

std::size_t outputFrameOf(std::size_t frame, int inputRate, int outputRate) {
    if (inputRate <= 0 || outputRate <= 0) return 0;
    return static_cast<std::size_t>(static_cast<std::uint64_t>(frame) *
                                    static_cast<std::uint64_t>(outputRate) /
                                    static_cast<std::uint64_t>(inputRate));
}

std::size_t inputFrameOf(std::size_t frame, int inputRate, int outputRate) {
    return outputFrameOf(frame, outputRate, inputRate);
}

std::size_t outputFrameCount(std::size_t frames, int inputRate, int outputRate) {
    const auto rateIn = static_cast<std::uint64_t>(inputRate);
    return static_cast<std::size_t>((frames * static_cast<std::uint64_t>(outputRate) + rateIn - 1) / rateIn);
}

std::int16_t interpolate(std::int32_t a, std::int32_t b, std::int64_t fraction, int outputRate) {
    return static_cast<std::int16_t>(a + (static_cast<std::int64_t>(b) - a) * fraction / outputRate);
}

void convertToStereo16(const std::uint8_t* data, std::size_t bytes, const PcmFormat& format, int outputRate,
                       std::vector<std::int16_t>* out) {
    const std::size_t frameBytes =
        static_cast<std::size_t>(format.channels) * static_cast<std::size_t>(format.bitsPerSample / 8);
    const std::size_t inFrames = bytes / frameBytes;
    const std::uint64_t rateIn = static_cast<std::uint64_t>(format.rate);
    const std::uint64_t rateOut = static_cast<std::uint64_t>(outputRate);
    const std::size_t outFrames = outputFrameCount(inFrames, format.rate, outputRate);
    out->assign(outFrames * 2, 0);
    if (inFrames == 0) return;

    const int right = format.channels == 2 ? 1 : 0;
    for (std::size_t i = 0; i < outFrames; ++i) {
        // Position in input frames as whole part and a fraction in units of 1/rateOut.
        const std::uint64_t scaled = i * rateIn;
        const std::size_t at = static_cast<std::size_t>(scaled / rateOut);
        const std::int64_t fraction = static_cast<std::int64_t>(scaled % rateOut);
        const std::size_t next = at + 1 < inFrames ? at + 1 : at;
        for (int channel = 0; channel < 2; ++channel) {
            const std::size_t offset = static_cast<std::size_t>(channel == 0 ? 0 : right);
            const std::int32_t a =
                sampleAt(data, at * static_cast<std::size_t>(format.channels) + offset, format.bitsPerSample);
            const std::int32_t b = sampleAt(data, next * static_cast<std::size_t>(format.channels) + offset,
                                            format.bitsPerSample);
            (*out)[i * 2 + static_cast<std::size_t>(channel)] = interpolate(a, b, fraction, outputRate);
        }
    }
}

}  // namespace sdl2
