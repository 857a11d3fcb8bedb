// The SDL2 sound device and media graph. Their conversions and MP3 decoding directly; the device and the
// graph as heard through SDL's "disk" audio driver, which writes what the mixer produces to a file: signed
// 16-bit stereo at the rate asked for.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/media.h"
#include "platform/sdl2/mp3_decode.h"
#include "platform/sdl2/pcm_convert.h"
#include "platform/sound.h"
#include "support/allocation_counter.h"
#include "support/test_files.h"

namespace {

const std::string SOURCE_DIR = PEL_SOURCE_DIR;
const std::string TONE_MP3 = SOURCE_DIR + "/tests/fuzz/corpus/mp3/tone-stereo-44100.mp3";

TEST(PcmConvert, EightAndSixteenBitMonoAndStereoBecomeSixteenBitStereoAtTheOutputRate) {
    std::vector<std::int16_t> out;
    const std::uint8_t unsignedMono[] = {0x80, 0xFF, 0x00};
    sdl2::convertToStereo16(unsignedMono, 3, {1, 8, 22050}, 22050, &out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 0, 127 * 256, 127 * 256, -128 * 256, -128 * 256}));
    const std::uint8_t signedStereo[] = {0x34, 0x12, 0xFE, 0xFF,
                                         0x01};  // a trailing partial frame is dropped
    sdl2::convertToStereo16(signedStereo, 5, {2, 16, 8000}, 8000, &out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0x1234, -2}));
    for (const sdl2::PcmFormat format : {sdl2::PcmFormat{3, 16, 44100}, {1, 24, 44100}, {1, 16, 50}})
        EXPECT_FALSE(sdl2::isConvertible(format));

    // Resampling keeps the duration and interpolates.
    const std::uint8_t ramp[] = {0x00, 0x00, 0x00, 0x10};  // 0, then 4096, 16-bit mono
    sdl2::convertToStereo16(ramp, 4, {1, 16, 22050}, 44100, &out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 0, 2048, 2048, 4096, 4096, 4096, 4096}));
    const std::vector<std::uint8_t> second(std::size_t{48000} * 2, 0);
    sdl2::convertToStereo16(second.data(), second.size(), {1, 16, 48000}, 44100, &out);
    EXPECT_EQ(out.size(), 44100u * 2);
    EXPECT_EQ(sdl2::outputFrameOf(22050, 22050, 44100), 44100u);
    EXPECT_EQ(sdl2::inputFrameOf(44100, 22050, 44100), 22050u);
}

TEST(Mp3Decode, TheShippedMusicDecodesGaplessAndNothingPlayableFails) {
    const auto image = testfiles::readFile(SOURCE_DIR + "/data/snd/oyun.mp3");
    EXPECT_LT(image.size(), 1u << 20);
    sdl2::DecodedPcm pcm;
    ASSERT_TRUE(sdl2::decodeMp3(image.data(), image.size(), std::size_t{48000} * 300, &pcm));
    EXPECT_EQ(pcm.channels, 2);
    EXPECT_EQ(pcm.rate, 44100);
    // Exactly 16 bars at 100 beats a minute: the encoder's delay and padding are gone, so the loop joins.
    EXPECT_EQ(pcm.bytes.size() / 4, 44100u * 384 / 10);

    const std::vector<std::uint8_t> zeros(4096, 0);
    EXPECT_FALSE(sdl2::decodeMp3(zeros.data(), zeros.size(), 1000000, &pcm));
    EXPECT_FALSE(sdl2::decodeMp3(nullptr, 0, 1000000, &pcm));
    // The frame limit cuts a longer stream.
    const auto tone = testfiles::readFile(TONE_MP3);
    ASSERT_TRUE(sdl2::decodeMp3(tone.data(), tone.size(), 1000, &pcm));
    EXPECT_EQ(pcm.bytes.size(), 1000u * 4);
}

using namespace std::chrono_literals;

constexpr int OUTPUT_RATE = 44100;
constexpr int EFFECT_RATE = 22050;

// Waits for `done` to hold, checking every few milliseconds; `limit` only stops a test whose device is stuck.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

int countFrames(const std::vector<std::int16_t>& output, const std::function<bool(int, int)>& match) {
    int count = 0;
    for (std::size_t i = 0; i + 1 < output.size(); i += 2)
        count += match(output[i], output[i + 1]) ? 1 : 0;
    return count;
}

class DiskAudio : public testing::Test {
protected:
    void SetUp() override {
        outputPath = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", outputPath.c_str(), 1);
        ASSERT_EQ(plat::directSoundCreate(&device), DS_OK);
        ASSERT_EQ(plat::setCooperativeLevel(device, nullptr, DSSCL_NORMAL), DS_OK);
    }

    void TearDown() override {
        if (device) plat::releaseSoundDevice(device);
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }

    // A 16-bit mono buffer at EFFECT_RATE holding `samples`, written through lock and unlock.
    plat::SoundBuffer* makeBuffer(const std::vector<std::int16_t>& samples) {
        static const plat::WaveFormat format{WAVE_FORMAT_PCM, 1, EFFECT_RATE, EFFECT_RATE * 2, 2, 16, 0};
        plat::SoundBufferDesc desc{36, DSBCAPS_STATIC, static_cast<DWORD>(samples.size() * 2), 0, &format};
        plat::SoundBuffer* buffer = nullptr;
        EXPECT_EQ(plat::createSoundBuffer(device, desc, &buffer), DS_OK);
        void* region = nullptr;
        DWORD bytes = 0;
        EXPECT_EQ(plat::lockBuffer(buffer, 0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER),
                  DS_OK);
        std::memcpy(region, samples.data(), bytes);
        EXPECT_EQ(plat::unlockBuffer(buffer, region, bytes, nullptr, 0), DS_OK);
        return buffer;
    }

    static DWORD status(plat::SoundBuffer* buffer) {
        DWORD bits = 0;
        plat::getBufferStatus(buffer, &bits);
        return bits;
    }

    // Closes the device (every buffer must be released first) and reads what it played.
    std::vector<std::int16_t> finish() {
        plat::releaseSoundDevice(device);
        device = nullptr;
        const testfiles::Bytes bytes = testfiles::readFile(outputPath);
        std::vector<std::int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }

    std::string outputPath;
    plat::SoundDevice* device = nullptr;
};

TEST_F(DiskAudio, TwoCopiesOfASoundSumIntoTheOutputWithoutTheMixerAllocatingAndOneThatEndedPlaysAgain) {
    plat::SoundBuffer* original = makeBuffer(std::vector<std::int16_t>(EFFECT_RATE * 3 / 10, 6000));
    plat::SoundBuffer* copy = nullptr;
    ASSERT_EQ(plat::duplicateSoundBuffer(device, original, &copy), DS_OK);
    // Allocations by any thread but this one are the mixer's.
    const std::size_t all = testsupport::allocationCount();
    const std::size_t own = testsupport::threadAllocationCount();
    ASSERT_EQ(plat::playBuffer(original, 0, 0, 0), DS_OK);
    ASSERT_EQ(plat::playBuffer(copy, 0, 0, 0), DS_OK);
    EXPECT_TRUE(status(original) & DSBSTATUS_PLAYING);
    EXPECT_TRUE(waitFor([&] { return status(original) == 0 && status(copy) == 0; }, 60s));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(testsupport::allocationCount() - all, testsupport::threadAllocationCount() - own);
    // A copy that has played to its end plays again from the start, as the brick sound's copies do after the
    // seventh hit.
    ASSERT_EQ(plat::playBuffer(original, 0, 0, 0), DS_OK);
    EXPECT_TRUE(waitFor([&] { return status(original) == 0; }, 60s));
    plat::releaseBuffer(copy);
    plat::releaseBuffer(original);

    // 0.3 s at the output rate for the two copies together, then 0.3 s of the one; both sides alike; the
    // copies overlap (they may start a mixing period apart) and sum to nothing louder than both.
    const auto output = finish();
    EXPECT_NEAR(countFrames(output, [](int left, int) { return left > 0; }), OUTPUT_RATE * 0.6,
                OUTPUT_RATE * 0.1);
    EXPECT_GT(countFrames(output, [](int left, int) { return left == 12000; }), OUTPUT_RATE / 5);
    EXPECT_GT(countFrames(output, [](int left, int) { return left == 6000; }), OUTPUT_RATE / 5);
    EXPECT_EQ(countFrames(output, [](int left, int right) { return left != right || left > 12000; }), 0);
}

TEST_F(DiskAudio, AStoppedCopyGoesSilentAndKeepsItsPlace) {
    plat::SoundBuffer* buffer = makeBuffer(std::vector<std::int16_t>(std::size_t{EFFECT_RATE} * 2, 5000));
    plat::playBuffer(buffer, 0, 0, 0);
    DWORD stoppedAt = 0;
    ASSERT_TRUE(waitFor(
        [&] { return plat::getCurrentPosition(buffer, &stoppedAt, nullptr) == DS_OK && stoppedAt > 0; },
        60s));
    ASSERT_EQ(plat::stopBuffer(buffer), DS_OK);
    EXPECT_EQ(status(buffer), 0u);
    plat::getCurrentPosition(buffer, &stoppedAt, nullptr);
    std::this_thread::sleep_for(100ms);
    DWORD later = 0;
    plat::getCurrentPosition(buffer, &later, nullptr);
    EXPECT_EQ(later, stoppedAt);
    // Rewound, it would start over; the engine does this when it cuts a copy.
    EXPECT_EQ(plat::setCurrentPosition(buffer, 0), DS_OK);
    plat::getCurrentPosition(buffer, &later, nullptr);
    EXPECT_EQ(later, 0u);
    plat::releaseBuffer(buffer);

    // What sounded is what the position says was played (its bytes of 16-bit mono at half the output rate
    // make as many output frames), short of the two seconds the buffer holds.
    const auto output = finish();
    const int sounding = countFrames(output, [](int left, int) { return left == 5000; });
    EXPECT_NEAR(sounding, static_cast<double>(stoppedAt), OUTPUT_RATE * 0.1);
    EXPECT_LT(sounding, OUTPUT_RATE * 2);
}

TEST_F(DiskAudio, TheMusicPlaysToItsEndAndStartsOverOnASeek) {
    ASSERT_EQ(plat::coInitialize(), S_OK);
    plat::GraphBuilder* graph = nullptr;
    plat::MediaControl* control = nullptr;
    plat::MediaEvent* events = nullptr;
    plat::MediaSeeking* seeking = nullptr;
    ASSERT_EQ(plat::createFilterGraph(&graph), S_OK);
    plat::queryMediaControl(graph, &control);
    plat::queryMediaEvent(graph, &events);
    plat::queryMediaSeeking(graph, &seeking);
    EXPECT_EQ(plat::renderFile(graph, L"no-such-file.mp3", nullptr), HRESULT_FILE_NOT_FOUND);
    ASSERT_EQ(plat::renderFile(graph, std::wstring(TONE_MP3.begin(), TONE_MP3.end()).c_str(), nullptr), S_OK);
    ASSERT_EQ(plat::run(control), S_OK);

    long code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    auto ended = [&] { return plat::getEvent(events, &code, &param1, &param2, 0) == S_OK; };
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        ASSERT_TRUE(waitFor(ended, 60s));
        EXPECT_EQ(code, EC_COMPLETE);
        EXPECT_EQ(plat::freeEventParams(events, code, param1, param2), S_OK);
        LONGLONG start = 0;
        EXPECT_EQ(plat::setPositions(seeking, &start, AM_SEEKING_AbsolutePositioning, nullptr,
                                     AM_SEEKING_NoPositioning),
                  S_OK);
    }
    EXPECT_EQ(plat::stop(control), S_OK);
    EXPECT_EQ(plat::release(control), 3u);
    plat::release(events);
    plat::release(seeking);
    EXPECT_EQ(plat::release(graph), 0u);
    plat::coUninitialize();

    const auto output = finish();
    // Two passes of a half-second tone, at least most of each heard.
    EXPECT_GT(countFrames(output, [](int left, int) { return std::abs(left) > 1000; }), OUTPUT_RATE * 7 / 10);
}

}  // namespace
