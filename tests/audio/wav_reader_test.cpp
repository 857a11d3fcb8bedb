// The chunk walk of a sound load, through Sound::load and Sound::createFromMemory on the fake sound device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "audio/sound.h"
#include "audio/wav_info.h"
#include "audio/wav_reader.h"
#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_platform.h"
#include "wave_files.h"

namespace {

using wave_files::Builder;

std::vector<std::uint8_t> payload(std::size_t bytes) {
    std::vector<std::uint8_t> data(bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        data[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return data;
}

std::vector<std::uint8_t> tail(const std::vector<std::uint8_t>& bytes, std::size_t count) {
    return std::vector<std::uint8_t>(bytes.end() - static_cast<std::ptrdiff_t>(count), bytes.end());
}

class WaveWalk : public testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        ASSERT_EQ(system.init(fake::fakeWindowHandle()), S_OK);
    }

    // Loads from a heap block of exactly the image's size, so that ASan catches any read past its end.
    HRESULT loadImage(const std::vector<std::uint8_t>& image, int copies = 1) {
        auto exact = std::make_unique<std::uint8_t[]>(std::max<std::size_t>(image.size(), 1));
        std::copy(image.begin(), image.end(), exact.get());
        return sound.createFromMemory(&system, image.size(), exact.get(), copies);
    }

    const plat::SoundBuffer& first() const { return *sound.buffers[0]; }

    SoundSystem system;
    Sound sound;
};

TEST_F(WaveWalk, PcmFilesFromSoxLoadWithTheirFormatAndSamples) {
    struct Case {
        const char* options;
        std::uint16_t channels;
        std::uint32_t rate;
        std::uint16_t bits;
        std::uint32_t dataBytes;
    };
    const Case cases[] = {
        {"-r 8000 -c 1 -b 16 -e signed", 1, 8000, 16, 160},    // 80 frames of 2 bytes
        {"-r 11025 -c 2 -b 8 -e unsigned", 2, 11025, 8, 220},  // 110 frames of 2 bytes
        {"-r 44100 -c 2 -b 16 -e signed", 2, 44100, 16, 1764},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        ASSERT_TRUE(wave_files::makeWithSox(c.options, "tone.wav"));
        ASSERT_EQ(sound.load(&system, "tone.wav", 3), S_OK);
        EXPECT_STREQ(sound.path, "tone.wav");
        EXPECT_EQ(sound.copies, 3);
        EXPECT_EQ(first().bytes, c.dataBytes);
        EXPECT_EQ(first().format.channels, c.channels);
        EXPECT_EQ(first().format.samplesPerSec, c.rate);
        EXPECT_EQ(first().format.bitsPerSample, c.bits);
        EXPECT_EQ(first().flags, 0x100E2u);
        EXPECT_EQ(*first().samples, tail(wave_files::readFile("tone.wav"), c.dataBytes));
        // The other copies are duplicates sharing copy 0's samples.
        EXPECT_EQ(sound.buffers[1]->samples, first().samples);
        EXPECT_EQ(sound.buffers[2]->original, first().id);
    }
}

TEST_F(WaveWalk, FactChunksAreSkippedWhateverTheirSize) {
    const auto data = payload(12);
    const auto image = Builder(1, 1, 8000, 8)
                           .chunk("fact", payload(4))
                           .chunk("fact", {})
                           .chunk("fact", payload(9))
                           .chunk("data", data)
                           .bytes();
    ASSERT_EQ(loadImage(image), S_OK);
    EXPECT_EQ(*first().samples, data);

    // sox writes an 18-byte format block and a fact chunk for A-law; with the tag made PCM the walk must step
    // over both exactly (two bytes further than after a 16-byte block) and land on the 80 sample bytes.
    ASSERT_TRUE(wave_files::makeWithSox("-r 8000 -c 1 -e a-law", "alaw.wav"));
    auto alaw = wave_files::readFile("alaw.wav");
    ASSERT_EQ(alaw[16], 18);
    EXPECT_EQ(loadImage(alaw), E_NOTIMPL);
    alaw[20] = 1;
    ASSERT_EQ(loadImage(alaw), S_OK);
    EXPECT_EQ(first().bytes, 80u);
    EXPECT_EQ(*first().samples, tail(alaw, 80));
}

TEST_F(WaveWalk, TheChunkAfterTheFormatIsTheDataWhateverItsIdOrFormatSize) {
    const auto list = payload(20);
    ASSERT_EQ(loadImage(Builder(1, 2, 22050, 16).chunk("LIST", list).chunk("data", payload(8)).bytes()),
              S_OK);
    EXPECT_EQ(*first().samples, list);

    const auto data = payload(6);
    ASSERT_EQ(loadImage(Builder(1, 1, 22050, 16, 18).chunk("data", data).bytes()), S_OK);
    EXPECT_EQ(*first().samples, data);
    EXPECT_EQ(first().format.extraSize, 0);
}

TEST_F(WaveWalk, FilesThatAreNotPcmRiffWaveAreRejected) {
    ASSERT_TRUE(wave_files::makeWithSox("-r 8000 -c 1 -b 16 -B", "rifx.wav"));
    ASSERT_TRUE(wave_files::makeWithSox("-r 8000 -c 1 -e ms-adpcm", "adpcm.wav"));
    ASSERT_TRUE(wave_files::makeWithSox("-r 8000 -c 1 -e floating-point", "float.wav"));
    wave_files::writeFile("text.wav", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!'});
    wave_files::writeFile("empty.wav", {});

    EXPECT_EQ(sound.load(&system, "rifx.wav", 2), DSERR_BADFORMAT);
    EXPECT_EQ(sound.load(&system, "text.wav", 2), DSERR_BADFORMAT);
    EXPECT_EQ(sound.load(&system, "empty.wav", 2), DSERR_BADFORMAT);
    EXPECT_EQ(sound.load(&system, "adpcm.wav", 2), E_NOTIMPL);
    EXPECT_EQ(sound.load(&system, "float.wav", 2), E_NOTIMPL);
    // A rejected file leaves the system and copies stored but no buffers.
    EXPECT_EQ(sound.system, &system);
    EXPECT_EQ(sound.copies, 2);
    EXPECT_EQ(sound.buffers, nullptr);
    EXPECT_FALSE(fake::called("createSoundBuffer"));
}

TEST_F(WaveWalk, SizesRunningPastTheEndFailWithoutReadingThere) {
    const std::vector<std::vector<std::uint8_t>> cases = {
        Builder(1, 1, 8000, 8).bytes(),                              // no chunk after the format
        Builder(1, 1, 8000, 8).header("data", 40).bytes(),           // data size past the end
        Builder(1, 1, 8000, 8).header("fact", 0xFFFFFFF0u).bytes(),  // fact size past the end
        Builder(1, 1, 8000, 8).chunk("fact", payload(4)).bytes(),    // fact then nothing
        Builder(1, 1, 8000, 8, 200).bytes(),                         // format block longer than the file
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        auto image = cases[i];
        if (i == 4) image.resize(60);
        EXPECT_EQ(loadImage(image), WAVE_E_TRUNCATED);
        EXPECT_EQ(sound.buffers, nullptr);
    }
    // Cut a good file anywhere: it loads whole or fails, never reads beyond the cut.
    const auto good = Builder(1, 1, 8000, 8).chunk("fact", payload(4)).chunk("data", payload(10)).bytes();
    for (std::size_t size = 0; size < good.size(); ++size) {
        const HRESULT result =
            loadImage(std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<long>(size)));
        EXPECT_TRUE(result == WAVE_E_TRUNCATED || result == DSERR_BADFORMAT) << size;
    }
}

TEST_F(WaveWalk, AFailedOpenKeepsTheSoundAndStreamErrorsAreFailures) {
    ASSERT_TRUE(wave_files::makeWithSox("-r 8000 -c 1 -b 16", "tone.wav"));
    ASSERT_EQ(sound.load(&system, "tone.wav", 2), S_OK);
    plat::SoundBuffer* const* before = sound.buffers;

    EXPECT_EQ(sound.load(&system, "missing.wav", 2), E_FAIL);
    EXPECT_EQ(sound.load(&system, nullptr, 2), E_INVALIDARG);
    EXPECT_EQ(sound.buffers, before);
    EXPECT_STREQ(sound.path, "tone.wav");
    EXPECT_EQ(fake::sound().buffersReleased, 0);

    // A stream that cannot be read reports a failure, not success, and holds nothing afterwards.
    std::FILE* writeOnly = std::fopen("written.wav", "wb");
    ASSERT_NE(writeOnly, nullptr);
    std::fputs("RIFF....WAVEfmt ", writeOnly);
    std::rewind(writeOnly);
    EXPECT_EQ(sound.loadFromStream(&system, 0, writeOnly, 2), E_FAIL);
    std::fclose(writeOnly);
    EXPECT_EQ(sound.buffers, nullptr);

    // A size larger than the file gives the bytes that are there; here the whole file, which loads.
    std::FILE* file = std::fopen("tone.wav", "rb");
    EXPECT_EQ(sound.loadFromStream(&system, 1 << 20, file, 1), S_OK);
    std::fclose(file);
}

TEST_F(WaveWalk, LoadsNeedAnImageAndADevice) {
    const auto image = Builder(1, 1, 8000, 8).chunk("data", payload(8)).bytes();
    EXPECT_EQ(sound.createFromMemory(&system, image.size(), nullptr, 1), E_INVALIDARG);
    EXPECT_EQ(sound.createFromMemory(nullptr, image.size(), image.data(), 1), E_INVALIDARG);
    SoundSystem noDevice;
    EXPECT_EQ(sound.createFromMemory(&noDevice, image.size(), image.data(), 1), DSERR_UNINITIALIZED);
    EXPECT_EQ(sound.system, nullptr);
    // Fewer than one copy means one.
    EXPECT_EQ(sound.createFromMemory(&system, image.size(), image.data(), 0), S_OK);
    EXPECT_EQ(sound.copies, 1);
}

TEST(WaveInfo, DescribesPcmFilesAndNamesFailures) {
    ASSERT_TRUE(wave_files::makeWithSox("-r 11025 -c 2 -b 8", "info.wav"));
    ASSERT_TRUE(wave_files::makeWithSox("-r 8000 -c 1 -e ms-adpcm", "adpcm.wav"));
    auto cut = wave_files::readFile("info.wav");
    cut.resize(cut.size() - 1);
    wave_files::writeFile("cut.wav", cut);

    std::string line;
    EXPECT_EQ(describeWave("info.wav", &line), S_OK);
    EXPECT_EQ(line, "pcm channels=2 rate=11025 bits=8 data=220");
    EXPECT_EQ(describeWave("adpcm.wav", &line), E_NOTIMPL);
    EXPECT_EQ(line, "E_NOTIMPL");
    EXPECT_EQ(describeWave("cut.wav", &line), WAVE_E_TRUNCATED);
    EXPECT_EQ(line, "WAVE_E_TRUNCATED");
    EXPECT_EQ(describeWave("nothing.wav", &line), E_FAIL);
    EXPECT_EQ(line, "E_FAIL");
    EXPECT_EQ(describeWave(nullptr, &line), E_INVALIDARG);
    EXPECT_EQ(line, "E_INVALIDARG");
}

}  // namespace
