// The SDL2 sound device and media graph, heard through SDL's "disk" audio driver, which writes what the mixer
// produces to a file: signed 16-bit stereo at the rate asked for.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "platform/media.h"
#include "platform/sound.h"

namespace {

// Heap allocations made by any thread but the test's own while counting is on: the mixer callback must make
// none.
std::atomic<bool> countingForeignAllocations{false};
std::atomic<int> foreignAllocations{0};
std::thread::id testThread;

}  // namespace

namespace {

void* allocate(std::size_t bytes) noexcept {
    if (countingForeignAllocations && std::this_thread::get_id() != testThread) ++foreignAllocations;
    return std::malloc(bytes ? bytes : 1);
}

void* allocateOrThrow(std::size_t bytes) {
    void* block = allocate(bytes);
    if (!block) throw std::bad_alloc();
    return block;
}

}  // namespace

// Every form is replaced, so that each block goes back through the delete that matches its new.
void* operator new(std::size_t bytes) {
    return allocateOrThrow(bytes);
}

void* operator new[](std::size_t bytes) {
    return allocateOrThrow(bytes);
}

void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return allocate(bytes);
}

void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return allocate(bytes);
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete[](void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

using namespace std::chrono_literals;

constexpr int OUTPUT_RATE = 44100;
constexpr int EFFECT_RATE = 22050;

// Waits up to `limit` for `done` to hold, checking every few milliseconds.
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
        testThread = std::this_thread::get_id();
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
        std::ifstream in(outputPath, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }

    std::string outputPath;
    plat::SoundDevice* device = nullptr;
};

std::vector<std::int16_t> sineWave(double seconds, double amplitude) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * EFFECT_RATE));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(
            amplitude * std::sin(2.0 * 3.14159265 * 440.0 * static_cast<double>(i) / EFFECT_RATE));
    }
    return samples;
}

TEST_F(DiskAudio, APlayedEffectReachesTheOutputOnceWithoutAllocating) {
    plat::SoundBuffer* buffer = makeBuffer(sineWave(0.1, 12000.0));
    countingForeignAllocations = true;
    ASSERT_EQ(plat::playBuffer(buffer, 0, 0, 0), DS_OK);
    EXPECT_TRUE(status(buffer) & DSBSTATUS_PLAYING);
    EXPECT_TRUE(waitFor([&] { return status(buffer) == 0; }, 2000ms));
    std::this_thread::sleep_for(100ms);
    countingForeignAllocations = false;
    EXPECT_EQ(foreignAllocations, 0);
    plat::releaseBuffer(buffer);

    const auto output = finish();
    // 0.1 s at the output rate, both sides alike; nothing but silence around it.
    const int sounding =
        countFrames(output, [](int left, int right) { return left == right && std::abs(left) > 300; });
    EXPECT_NEAR(sounding, OUTPUT_RATE / 10, OUTPUT_RATE / 50);
    EXPECT_EQ(countFrames(output, [](int left, int right) { return left != right; }), 0);
}

TEST_F(DiskAudio, TwoCopiesOfOneSoundOverlap) {
    const std::vector<std::int16_t> level(EFFECT_RATE * 3 / 10, 7000);
    plat::SoundBuffer* original = makeBuffer(level);
    plat::SoundBuffer* copy = nullptr;
    ASSERT_EQ(plat::duplicateSoundBuffer(device, original, &copy), DS_OK);
    plat::playBuffer(original, 0, 0, 0);
    plat::playBuffer(copy, 0, 0, 0);
    EXPECT_TRUE(waitFor([&] { return status(original) == 0 && status(copy) == 0; }, 2000ms));
    plat::releaseBuffer(copy);
    plat::releaseBuffer(original);

    const auto output = finish();
    EXPECT_GT(countFrames(output, [](int left, int) { return left == 14000; }), OUTPUT_RATE / 5);
    EXPECT_EQ(countFrames(output, [](int left, int) { return left > 14000; }), 0);
}

TEST_F(DiskAudio, AStoppedCopyGoesSilentAndKeepsItsPlace) {
    const std::vector<std::int16_t> level(EFFECT_RATE * 2, 5000);
    plat::SoundBuffer* buffer = makeBuffer(level);
    plat::playBuffer(buffer, 0, 0, 0);
    std::this_thread::sleep_for(150ms);
    ASSERT_EQ(plat::stopBuffer(buffer), DS_OK);
    EXPECT_EQ(status(buffer), 0u);
    DWORD stoppedAt = 0;
    plat::getCurrentPosition(buffer, &stoppedAt, nullptr);
    EXPECT_GT(stoppedAt, 0u);
    std::this_thread::sleep_for(150ms);
    DWORD later = 0;
    plat::getCurrentPosition(buffer, &later, nullptr);
    EXPECT_EQ(later, stoppedAt);
    // Rewound, it would start over; the engine does this when it cuts a copy.
    EXPECT_EQ(plat::setCurrentPosition(buffer, 0), DS_OK);
    plat::getCurrentPosition(buffer, &later, nullptr);
    EXPECT_EQ(later, 0u);
    plat::releaseBuffer(buffer);

    const auto output = finish();
    const int sounding = countFrames(output, [](int left, int) { return left == 5000; });
    // What sounded is what the position says was played: well short of the two seconds the buffer holds.
    EXPECT_NEAR(sounding, static_cast<int>(stoppedAt / 2 * 2), OUTPUT_RATE / 10);
    EXPECT_LT(sounding, OUTPUT_RATE / 2);
}

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
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
    std::ofstream("zeros.mp3", std::ios::binary) << std::string(4096, '\0');
    EXPECT_EQ(plat::renderFile(graph, L"zeros.mp3", nullptr), VFW_E_UNSUPPORTED_STREAM);
    const std::string tone = std::string(PEL_SOURCE_DIR) + "/tests/fuzz/corpus/mp3/tone-stereo-44100.mp3";
    ASSERT_EQ(plat::renderFile(graph, widen(tone).c_str(), nullptr), S_OK);
    ASSERT_EQ(plat::run(control), S_OK);

    long code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    auto ended = [&] { return plat::getEvent(events, &code, &param1, &param2, 0) == S_OK; };
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        EXPECT_FALSE(ended());
        ASSERT_TRUE(waitFor(ended, 3000ms));
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
