// The conversions behind the SDL2 sound device and media graph, and the music file the game ships.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/sdl2/mp3_decode.h"
#include "platform/sdl2/pcm_convert.h"

namespace {

std::vector<std::uint8_t> readSourceFile(const char* relative) {
    std::ifstream in(std::string(PEL_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::int16_t sampleOf(const std::vector<std::uint8_t>& bytes, std::size_t index) {
    return static_cast<std::int16_t>(
        static_cast<std::uint16_t>(bytes[index * 2] | (bytes[index * 2 + 1] << 8)));
}

TEST(PcmConvert, EightAndSixteenBitMonoAndStereoBecomeSixteenBitStereo) {
    std::vector<std::int16_t> out;
    const std::uint8_t unsignedMono[] = {0x80, 0xFF, 0x00};
    sdl2::convertToStereo16(unsignedMono, 3, {1, 8, 22050}, 22050, &out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 0, 127 * 256, 127 * 256, -128 * 256, -128 * 256}));

    const std::uint8_t signedStereo[] = {0x34, 0x12, 0xFE, 0xFF,
                                         0x01};  // a trailing partial frame is dropped
    sdl2::convertToStereo16(signedStereo, 5, {2, 16, 8000}, 8000, &out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0x1234, -2}));

    EXPECT_FALSE(sdl2::isConvertible({3, 16, 44100}));
    EXPECT_FALSE(sdl2::isConvertible({1, 24, 44100}));
    EXPECT_FALSE(sdl2::isConvertible({1, 16, 50}));
}

TEST(PcmConvert, ResamplingKeepsTheDurationAndInterpolates) {
    const std::vector<std::uint8_t> ramp = {0x00, 0x00, 0x00, 0x10};  // 0, then 4096, 16-bit mono
    std::vector<std::int16_t> out;
    sdl2::convertToStereo16(ramp.data(), ramp.size(), {1, 16, 22050}, 44100, &out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 0, 2048, 2048, 4096, 4096, 4096, 4096}));

    const std::vector<std::uint8_t> second(48000 * 2, 0);
    sdl2::convertToStereo16(second.data(), second.size(), {1, 16, 48000}, 44100, &out);
    EXPECT_EQ(out.size(), 44100u * 2);
    EXPECT_EQ(sdl2::outputFrameOf(22050, 22050, 44100), 44100u);
    EXPECT_EQ(sdl2::inputFrameOf(44100, 22050, 44100), 22050u);
}

TEST(Mp3Decode, TheShippedMusicIsAWholeLoopThatJoinsWithoutAClick) {
    const auto image = readSourceFile("data/snd/oyun.mp3");
    ASSERT_FALSE(image.empty());
    EXPECT_LT(image.size(), 1u << 20);
    sdl2::DecodedPcm pcm;
    ASSERT_TRUE(sdl2::decodeMp3(image.data(), image.size(), 48000 * 300, &pcm));
    EXPECT_EQ(pcm.channels, 2);
    EXPECT_EQ(pcm.rate, 44100);
    // Exactly 16 bars at 100 beats a minute: the encoder's delay and padding are gone.
    const std::size_t frames = pcm.bytes.size() / 4;
    EXPECT_EQ(frames, 44100u * 384 / 10);

    // The step from the last sample back to the first is no larger than the steps inside the track.
    std::vector<int> steps;
    for (std::size_t i = 2; i < frames * 2; ++i)
        steps.push_back(std::abs(sampleOf(pcm.bytes, i) - sampleOf(pcm.bytes, i - 2)));
    std::nth_element(steps.begin(), steps.begin() + static_cast<long>(steps.size() * 999 / 1000),
                     steps.end());
    const int usualLargest = steps[steps.size() * 999 / 1000];
    for (std::size_t channel = 0; channel < 2; ++channel) {
        const int seam =
            std::abs(sampleOf(pcm.bytes, channel) - sampleOf(pcm.bytes, frames * 2 - 2 + channel));
        EXPECT_LE(seam, usualLargest) << channel;
    }
}

TEST(Mp3Decode, NothingPlayableAndTheFrameLimit) {
    sdl2::DecodedPcm pcm;
    const std::vector<std::uint8_t> zeros(4096, 0);
    EXPECT_FALSE(sdl2::decodeMp3(zeros.data(), zeros.size(), 1000000, &pcm));
    EXPECT_FALSE(sdl2::decodeMp3(nullptr, 0, 1000000, &pcm));

    const auto tone = readSourceFile("tests/fuzz/corpus/mp3/tone-stereo-44100.mp3");
    ASSERT_TRUE(sdl2::decodeMp3(tone.data(), tone.size(), 1000, &pcm));
    EXPECT_EQ(pcm.bytes.size(), 1000u * 4);
}

}  // namespace
