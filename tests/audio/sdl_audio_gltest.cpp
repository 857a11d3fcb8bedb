// The SDL2 sound device and media graph, directly and as heard through SDL's "disk" audio driver.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/media.h"
#include "platform/sdl2/music_stream.h"
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
    const std::uint8_t signedStereo[] = {0x34, 0x12, 0xFE, 0xFF, 0x01};  // with a partial frame to drop
    sdl2::convertToStereo16(signedStereo, 5, {2, 16, 8000}, 8000, &out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0x1234, -2}));
    for (const sdl2::PcmFormat format : {sdl2::PcmFormat{3, 16, 44100}, {1, 24, 44100}, {1, 16, 50}})
        EXPECT_FALSE(sdl2::isConvertible(format));
    const std::uint8_t ramp[] = {0x00, 0x00, 0x00, 0x10};  // 0, then 4096, 16-bit mono
    sdl2::convertToStereo16(ramp, 4, {1, 16, 22050}, 44100, &out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 0, 2048, 2048, 4096, 4096, 4096, 4096}));
    EXPECT_EQ(std::make_pair(sdl2::outputFrameOf(7, 22050, 44100), sdl2::inputFrameOf(14, 22050, 44100)),
              std::make_pair(std::size_t{14}, std::size_t{7}));
}

using Samples = std::vector<std::int16_t>;

// What the audio callback takes from the stream, a period at a time, up to `frames` frames or until it stops.
Samples play(sdl2::MusicStream& music, std::size_t frames) {
    constexpr std::size_t PERIOD = 1024;
    Samples out;
    std::int16_t period[PERIOD * 2];
    for (std::size_t got = PERIOD; got == PERIOD && out.size() < frames * 2;) {
        got = music.read(period, std::min(PERIOD, frames - out.size() / 2));
        out.insert(out.end(), period, period + got * 2);
    }
    return out;
}

// One pass of the track as the mixer gets it at `rate`.
Samples trackAt(const testfiles::Bytes& file, int rate) {
    sdl2::MusicStream music;
    EXPECT_TRUE(music.open(file.data(), file.size(), rate, 0));
    return play(music, SIZE_MAX);
}

// Decoded as it plays, the track is what converting it whole would give; at its end, unanswered, its start
// plays on for the wait, then the end stands (the answered loop is heard below).
TEST(MusicStream, TheTrackIsDecodedAsItPlaysAndAtItsEndGoesOnFromItsStartUntilTheRewindOrTheWaitRunsOut) {
    const auto music = testfiles::readFile(SOURCE_DIR + "/data/snd/oyun.mp3");
    EXPECT_LT(music.size(), 1u << 20);
    // Exactly 16 bars at 100 beats a minute: the encoder's delay and padding are gone, so the loop joins.
    EXPECT_EQ(trackAt(music, 44100).size() / 2, 44100u * 384 / 10);

    sdl2::MusicStream stream;
    const std::vector<std::uint8_t> zeros(4096, 0);
    EXPECT_FALSE(stream.open(zeros.data(), zeros.size(), 44100, 0));
    EXPECT_FALSE(stream.open(nullptr, 0, 44100, 0));

    // Off its own rate the stream resamples across its decoding pieces exactly as converting the whole does.
    const auto noise = testfiles::readFile(SOURCE_DIR + "/tests/fuzz/corpus/mp3/noise-mono-8000.mp3");
    const Samples decoded = trackAt(noise, 8000);
    Samples whole;
    sdl2::convertToStereo16(reinterpret_cast<const std::uint8_t*>(decoded.data()), decoded.size() * 2,
                            {2, 16, 8000}, 44100, &whole);
    EXPECT_EQ(trackAt(noise, 44100), whole);

    const auto tone = testfiles::readFile(TONE_MP3);
    const Samples once = trackAt(tone, 44100);
    constexpr std::size_t WAIT = 3000;
    ASSERT_TRUE(stream.open(tone.data(), tone.size(), 44100, WAIT));
    EXPECT_EQ(play(stream, SIZE_MAX).size(), once.size() + 2 * WAIT);
    EXPECT_TRUE(stream.atEnd());
    EXPECT_TRUE(stream.takeEnd());
    EXPECT_FALSE(stream.takeEnd());
    stream.seek(0);  // a late rewind, then a stop, start it over
    EXPECT_EQ(play(stream, once.size() / 2 + 10).size(), once.size() + 20);
    stream.reset();
    EXPECT_FALSE(stream.takeEnd());
    EXPECT_EQ(play(stream, 64), Samples(once.begin(), once.begin() + 128));
}

using namespace std::chrono_literals;

constexpr int OUTPUT_RATE = 44100;
constexpr int EFFECT_RATE = 22050;

// Waits for `done` however long the device takes on a loaded machine; CTest's time-out ends a stuck one.
void waitFor(const std::function<bool()>& done) {
    while (!done())
        std::this_thread::sleep_for(5ms);
}

// A 16-bit mono buffer at EFFECT_RATE holding `samples`, written through lock and unlock.
plat::SoundBuffer* makeBuffer(plat::SoundDevice* device, const Samples& samples) {
    static const plat::WaveFormat format{WAVE_FORMAT_PCM, 1, EFFECT_RATE, EFFECT_RATE * 2, 2, 16, 0};
    plat::SoundBufferDesc desc{36, DSBCAPS_STATIC, static_cast<DWORD>(samples.size() * 2), 0, &format};
    plat::SoundBuffer* buffer = nullptr;
    EXPECT_EQ(plat::createSoundBuffer(device, desc, &buffer), DS_OK);
    void* region = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(plat::lockBuffer(buffer, 0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::memcpy(region, samples.data(), bytes);
    EXPECT_EQ(plat::unlockBuffer(buffer, region, bytes, nullptr, 0), DS_OK);
    return buffer;
}

// The first frame from `from` on that is not silent.
std::size_t firstSound(const Samples& samples, std::size_t from) {
    while (from * 2 < samples.size() && samples[from * 2] == 0 && samples[from * 2 + 1] == 0)
        ++from;
    return from;
}

// The effects, then the music, on one device heard through SDL's "disk" driver.
TEST(DiskAudio,
     CopiesSumOneThatEndedPlaysAgainAStoppedOneKeepsItsPlaceTheMusicLoopsWithoutAGapNoMixerAllocation) {
    const char* const OUTPUT = "disk-audio.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", OUTPUT, 1);
    const auto status = [](plat::SoundBuffer* buffer) {
        DWORD bits = 0;
        return plat::getBufferStatus(buffer, &bits) == DS_OK ? bits : ~DWORD{0};
    };
    plat::SoundDevice* device = nullptr;
    ASSERT_EQ(plat::directSoundCreate(&device), DS_OK);
    ASSERT_EQ(plat::setCooperativeLevel(device, nullptr, DSSCL_NORMAL), DS_OK);
    plat::SoundBuffer* original = makeBuffer(device, Samples(EFFECT_RATE * 3 / 10, 6000));
    plat::SoundBuffer* copy = nullptr;
    ASSERT_EQ(plat::duplicateSoundBuffer(device, original, &copy), DS_OK);
    plat::SoundBuffer* stopped = makeBuffer(device, Samples(std::size_t{EFFECT_RATE} * 2, 5000));
    // Allocations by any thread but this one are the mixer's.
    const std::size_t all = testsupport::allocationCount();
    const std::size_t own = testsupport::threadAllocationCount();
    ASSERT_EQ(plat::playBuffer(original, 0, 0, 0), DS_OK);
    ASSERT_EQ(plat::playBuffer(copy, 0, 0, 0), DS_OK);
    waitFor([&] { return status(original) == 0 && status(copy) == 0; });
    // A copy that has played to its end plays again from the start, as the brick sound's after its 7th hit.
    ASSERT_EQ(plat::playBuffer(original, 0, 0, 0), DS_OK);
    waitFor([&] { return status(original) == 0; });

    // A stopped copy goes silent and keeps its place; the engine rewinds a copy it cuts.
    plat::playBuffer(stopped, 0, 0, 0);
    DWORD seen = 0, stoppedAt = 0;
    waitFor([&] { return plat::getCurrentPosition(stopped, &seen, nullptr) == DS_OK && seen > 0; });
    ASSERT_EQ(plat::stopBuffer(stopped), DS_OK);
    EXPECT_EQ(status(stopped), 0u);
    plat::getCurrentPosition(stopped, &stoppedAt, nullptr);
    EXPECT_GE(stoppedAt, seen);
    EXPECT_EQ(plat::setCurrentPosition(stopped, 0), DS_OK);
    DWORD rewound = 1;
    plat::getCurrentPosition(stopped, &rewound, nullptr);
    EXPECT_EQ(rewound, 0u);
    for (plat::SoundBuffer* buffer : {copy, original, stopped})
        plat::releaseBuffer(buffer);
    // The effects are all in the file once it has grown by more than its writer buffers.
    const auto written = [OUTPUT] { return std::filesystem::file_size(OUTPUT) / 4; };
    const std::size_t effectsEnd = written() + 4096;
    waitFor([&] { return written() >= effectsEnd; });

    ASSERT_EQ(plat::coInitialize(), S_OK);
    plat::GraphBuilder* graph = nullptr;
    plat::MediaControl* control = nullptr;
    plat::MediaEvent* events = nullptr;
    plat::MediaSeeking* seeking = nullptr;
    ASSERT_EQ(plat::createFilterGraph(&graph), S_OK);
    plat::queryMediaControl(graph, &control);
    plat::queryMediaEvent(graph, &events);
    plat::queryMediaSeeking(graph, &seeking);
    ASSERT_EQ(plat::renderFile(graph, std::wstring(TONE_MP3.begin(), TONE_MP3.end()).c_str(), nullptr), S_OK);
    ASSERT_EQ(plat::run(control), S_OK);
    // As the engine's frames do: each end of the track taken and answered with a rewind to 0.
    long code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    auto ended = [&] { return plat::getEvent(events, &code, &param1, &param2, 0) == S_OK; };
    for (int end = 0; end < 3; ++end) {
        SCOPED_TRACE(end);
        EXPECT_FALSE(ended());
        waitFor(ended);
        EXPECT_EQ(code, EC_COMPLETE);
        EXPECT_EQ(plat::freeEventParams(events, code, param1, param2), S_OK);
        LONGLONG start = 0;
        EXPECT_EQ(plat::setPositions(seeking, &start, AM_SEEKING_AbsolutePositioning, nullptr,
                                     AM_SEEKING_NoPositioning),
                  S_OK);
    }
    EXPECT_EQ(testsupport::allocationCount() - all, testsupport::threadAllocationCount() - own);
    EXPECT_EQ(plat::stop(control), S_OK);
    EXPECT_EQ(plat::release(control), 3u);
    plat::release(events);
    plat::release(seeking);
    EXPECT_EQ(plat::release(graph), 0u);
    plat::coUninitialize();
    plat::releaseSoundDevice(device);
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
    const testfiles::Bytes bytes = testfiles::readFile(OUTPUT);
    Samples output(bytes.size() / 2);
    std::memcpy(output.data(), bytes.data(), output.size() * 2);

    // Frames at each level (-1: sides unalike): 0.6 s of the copies, at first together (a period apart at
    // most), nothing louder; then the stopped one as long as its position says (in bytes: as many frames).
    std::map<int, int> levels;
    for (std::size_t i = 0; i < std::min(output.size() / 2, effectsEnd); ++i)
        ++levels[output[2 * i] == output[2 * i + 1] ? output[2 * i] : -1];
    EXPECT_NEAR(levels[6000] + levels[12000], OUTPUT_RATE * 0.6, OUTPUT_RATE * 0.1);
    EXPECT_GT(std::min(levels[6000], levels[12000]), OUTPUT_RATE / 5);
    EXPECT_EQ(std::make_pair(levels.count(-1), levels.rbegin()->first),
              std::make_pair(std::size_t{0}, 12000));
    EXPECT_NEAR(levels[5000], static_cast<double>(stoppedAt), OUTPUT_RATE * 0.1);

    // Three passes of the tone joined without a gap from its first frame on, each sample within a step.
    const Samples track = trackAt(testfiles::readFile(TONE_MP3), OUTPUT_RATE);
    const std::size_t start = firstSound(output, effectsEnd) - firstSound(track, 0);
    ASSERT_GE(output.size(), start * 2 + 3 * track.size());
    int worst = 0;
    for (std::size_t i = 0; i < 3 * track.size(); ++i)
        worst = std::max(worst, std::abs(output[start * 2 + i] - track[i % track.size()]));
    EXPECT_LE(worst, 1);
}

}  // namespace
