// Audio on the fake media graph and sound device. The chunk walk of a sound load, through Sound::load and
// Sound::createFromMemory; start-up failures and the music loop; the game's sounds and their copies, whose
// buffer status each test sets. The order of the audio's calls in the program is pinned by the replays of the
// committed demos, which stop at the first call that differs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "audio/music.h"
#include "audio/sound.h"
#include "audio/wav_reader.h"
#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_platform.h"
#include "support/engine_fixture.h"
#include "support/test_files.h"

namespace {

using testfiles::Bytes;

// A RIFF/WAVE image put together chunk by chunk: "RIFF", size, "WAVE", then a "fmt " chunk of `formatBytes`
// bytes (16 or more) holding the given format.
class Builder {
public:
    Builder(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
            std::uint32_t formatBytes = 16) {
        const std::uint32_t blockAlign = channels * bits / 8u;
        // Each field's value and width in bytes.
        const std::uint32_t fields[][2] = {{formatBytes, 4},       {tag, 2},        {channels, 2}, {rate, 4},
                                           {rate * blockAlign, 4}, {blockAlign, 2}, {bits, 2}};
        for (const auto& field : fields)
            testfiles::putLe(image, field[0], static_cast<int>(field[1]));
        image.resize(image.size() + formatBytes - 16, 0);
    }
    Builder& chunk(const char* id, const Bytes& payload) {
        header(id, static_cast<std::uint32_t>(payload.size()));
        image.insert(image.end(), payload.begin(), payload.end());
        return *this;
    }
    // A chunk header whose size field claims `claimed` bytes, followed by nothing.
    Builder& header(const char* id, std::uint32_t claimed) {
        image.insert(image.end(), id, id + 4);
        testfiles::putLe(image, claimed, 4);
        return *this;
    }
    Bytes bytes() const { return image; }

private:
    Bytes image = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
};

// A 0.01 s tone made by sox in the output format `options` name, read back; empty when sox fails.
// The files sox writes are the reference for formats the tests cannot build by hand; where sox cannot be run
// (a Windows build under Wine) the tests that need it are skipped.
bool soxInstalled() {
    return std::system("sox --version >/dev/null 2>&1") == 0;
}

Bytes soxFile(const std::string& options, const char* path = "sox.wav") {
    const std::string command = "sox -n " + options + " " + path + " synth 0.01 sine 440 2>/dev/null";
    return std::system(command.c_str()) == 0 ? testfiles::readFile(path) : Bytes{};
}

Bytes payload(std::size_t bytes) {
    Bytes data(bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        data[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return data;
}

Bytes tail(const Bytes& bytes, std::size_t count) {
    return Bytes(bytes.end() - static_cast<std::ptrdiff_t>(count), bytes.end());
}

class WaveWalk : public testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        ASSERT_EQ(system.init(fake::fakeWindowHandle()), S_OK);
    }

    // Loads from a heap block of exactly the image's size, so that ASan catches any read past its end.
    HRESULT loadImage(const Bytes& image, int copies = 1) {
        auto exact = std::make_unique<std::uint8_t[]>(std::max<std::size_t>(image.size(), 1));
        std::copy(image.begin(), image.end(), exact.get());
        return sound.createFromMemory(&system, image.size(), exact.get(), copies);
    }

    const plat::SoundBuffer& first() const { return *sound.buffers[0]; }

    SoundSystem system;
    Sound sound;
};

TEST_F(WaveWalk, PcmFilesFromSoxLoadWithTheirFormatAndSamples) {
    if (!soxInstalled()) GTEST_SKIP() << "sox is not installed";
    const struct {
        const char* options;
        std::uint16_t channels;
        std::uint32_t rate;
        std::uint16_t bits;
        std::uint32_t dataBytes;
    } cases[] = {
        {"-r 8000 -c 1 -b 16 -e signed", 1, 8000, 16, 160},    // 80 frames of 2 bytes
        {"-r 11025 -c 2 -b 8 -e unsigned", 2, 11025, 8, 220},  // 110 frames of 2 bytes
        {"-r 44100 -c 2 -b 16 -e signed", 2, 44100, 16, 1764},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        const Bytes file = soxFile(c.options, "tone.wav");
        ASSERT_EQ(sound.load(&system, "tone.wav", 3), S_OK);
        EXPECT_EQ(std::make_tuple(first().format.channels, first().format.samplesPerSec,
                                  first().format.bitsPerSample),
                  std::make_tuple(c.channels, c.rate, c.bits));
        EXPECT_EQ(*first().samples, tail(file, c.dataBytes));
        // The other copies are duplicates sharing copy 0's samples.
        EXPECT_EQ(sound.copies, 3);
        EXPECT_EQ(sound.buffers[2]->samples, first().samples);
    }
}

TEST_F(WaveWalk, FactChunksAreSkippedAndTheNextChunkIsTheData) {
    if (!soxInstalled()) GTEST_SKIP() << "sox is not installed";
    const Bytes data = payload(12);
    const Bytes list = payload(20);
    const struct {
        const char* what;
        Bytes image;
        Bytes samples;
    } cases[] = {
        {"fact chunks of any size",
         Builder(1, 1, 8000, 8)
             .chunk("fact", payload(4))
             .chunk("fact", {})
             .chunk("fact", payload(9))
             .chunk("data", data)
             .bytes(),
         data},
        {"whatever its id", Builder(1, 2, 22050, 16).chunk("LIST", list).chunk("data", payload(8)).bytes(),
         list},
        {"after an 18-byte format block", Builder(1, 1, 22050, 16, 18).chunk("data", data).bytes(), data},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(loadImage(c.image), S_OK) << c.what;
        EXPECT_EQ(*first().samples, c.samples) << c.what;
    }
    EXPECT_EQ(first().format.extraSize, 0);

    // sox writes an 18-byte format block and a fact chunk for A-law; with the tag made PCM the walk must step
    // over both exactly (two bytes further than after a 16-byte block) and land on the 80 sample bytes.
    Bytes alaw = soxFile("-r 8000 -c 1 -e a-law");
    ASSERT_EQ(alaw.at(16), 18);
    EXPECT_EQ(loadImage(alaw), E_NOTIMPL);
    alaw[20] = 1;
    ASSERT_EQ(loadImage(alaw), S_OK);
    EXPECT_EQ(first().bytes, 80u);
    EXPECT_EQ(*first().samples, tail(alaw, 80));
}

TEST_F(WaveWalk, BadFilesAreRejectedWithTheirReasonWithoutReadingPastTheEnd) {
    if (!soxInstalled()) GTEST_SKIP() << "sox is not installed";
    Bytes formatPastTheEnd = Builder(1, 1, 8000, 8, 200).bytes();
    formatPastTheEnd.resize(60);
    const struct {
        const char* what;
        Bytes image;
        HRESULT result;
    } cases[] = {
        {"big-endian RIFX", soxFile("-r 8000 -c 1 -b 16 -B"), DSERR_BADFORMAT},
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!'}, DSERR_BADFORMAT},
        {"empty", {}, DSERR_BADFORMAT},
        {"MS ADPCM", soxFile("-r 8000 -c 1 -e ms-adpcm"), E_NOTIMPL},
        {"floating point", soxFile("-r 8000 -c 1 -e floating-point"), E_NOTIMPL},
        {"no chunk after the format", Builder(1, 1, 8000, 8).bytes(), WAVE_E_TRUNCATED},
        {"data size past the end", Builder(1, 1, 8000, 8).header("data", 40).bytes(), WAVE_E_TRUNCATED},
        {"fact size past the end", Builder(1, 1, 8000, 8).header("fact", 0xFFFFFFF0u).bytes(),
         WAVE_E_TRUNCATED},
        {"fact then nothing", Builder(1, 1, 8000, 8).chunk("fact", payload(4)).bytes(), WAVE_E_TRUNCATED},
        {"format block longer than the file", formatPastTheEnd, WAVE_E_TRUNCATED},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loadImage(c.image, 2), c.result) << c.what;
        // A rejected file leaves the system and copies stored but no buffers.
        EXPECT_EQ(sound.system, &system);
        EXPECT_EQ(sound.copies, 2);
        EXPECT_EQ(sound.buffers, nullptr);
    }
    EXPECT_FALSE(fake::called("createSoundBuffer"));

    // Cut a good file anywhere: it loads whole or fails, never reads beyond the cut.
    const Bytes good = Builder(1, 1, 8000, 8).chunk("fact", payload(4)).chunk("data", payload(10)).bytes();
    for (std::size_t size = 0; size < good.size(); ++size) {
        const HRESULT result = loadImage(Bytes(good.begin(), good.begin() + static_cast<long>(size)));
        EXPECT_TRUE(result == WAVE_E_TRUNCATED || result == DSERR_BADFORMAT) << size;
    }
}

TEST_F(WaveWalk, MissingArgumentsFilesAndDevicesAndUnreadableStreams) {
    const Bytes image = Builder(1, 1, 8000, 8).chunk("data", payload(8)).bytes();
    SoundSystem noDevice;
    EXPECT_EQ(sound.createFromMemory(&noDevice, image.size(), image.data(), 1), DSERR_UNINITIALIZED);
    EXPECT_EQ(sound.system, nullptr);
    // Fewer than one copy means one.
    EXPECT_EQ(sound.createFromMemory(&system, image.size(), image.data(), 0), S_OK);
    EXPECT_EQ(sound.copies, 1);

    // A file that cannot be opened keeps the sound as it was.
    testfiles::writeFile("tone.wav", image);
    ASSERT_EQ(sound.load(&system, "tone.wav", 2), S_OK);
    plat::SoundBuffer* const* before = sound.buffers;
    const int released = fake::sound().buffersReleased;
    EXPECT_EQ(sound.load(&system, "missing.wav", 2), E_FAIL);
    EXPECT_EQ(sound.load(&system, nullptr, 2), E_INVALIDARG);
    EXPECT_EQ(sound.buffers, before);
    EXPECT_STREQ(sound.path, "tone.wav");
    EXPECT_EQ(fake::sound().buffersReleased, released);

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

class Music : public testing::Test {
protected:
    void SetUp() override { fake::reset(); }
    void TearDown() override { shutdownAudio(); }

    const std::vector<fake::MessageBoxRecord>& boxes() { return fake::system().messageBoxes; }
};

TEST_F(Music, EachStartUpFailureIsShownOnceAndTheRestStillStarts) {
    const struct {
        const char* message;
        void (*fail)();
        bool graph;
    } cases[] = {
        {"Com init edilemedi!", [] { fake::media().coInitializeResult = E_OUTOFMEMORY; }, true},
        {"Mp3 bulunamadi!", [] { fake::media().renderResult = HRESULT_FILE_NOT_FOUND; }, true},
        {"Filter acilamadi!", [] { fake::media().createGraphResult = REGDB_E_CLASSNOTREG; }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        fake::reset();
        c.fail();
        initAudio();
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(shownBox(0), std::make_tuple("Hata", c.message, MB_OK));
        EXPECT_EQ(boxes()[0].owner, nullptr);
        EXPECT_EQ(fake::called("run"), c.graph) << "a graph that exists plays";
        EXPECT_TRUE(fake::called("directSoundCreate")) << "the effects load all the same";

        // Later frames show nothing more; without a graph they and the shutdown make no media call but the
        // last.
        fake::media().events.push_back(EC_COMPLETE);
        fake::calls().clear();
        for (int frame = 0; frame < 3; ++frame)
            EXPECT_EQ(pollMusicEvents(), S_OK);
        EXPECT_EQ(boxes().size(), 1u);
        shutdownAudio();
        if (!c.graph) {
            EXPECT_EQ(fake::calls(), (std::vector<std::string>{"releaseSoundDevice", "coUninitialize"}));
        }
        EXPECT_EQ(fake::sound().devicesReleased, 1);
    }
}

TEST_F(Music, EveryQueuedEventIsTakenAndFreedAndTheEndOfTheTrackSeeksBack) {
    initAudio();
    fake::calls().clear();
    EXPECT_EQ(pollMusicEvents(), S_OK);
    EXPECT_FALSE(fake::called("setPositions"));

    fake::media().events = {EC_PAUSED, EC_COMPLETE, EC_USERABORT, EC_COMPLETE};
    EXPECT_EQ(pollMusicEvents(), S_OK);
    EXPECT_TRUE(fake::media().events.empty());
    EXPECT_EQ(fake::media().eventsTaken, 4);
    EXPECT_EQ(fake::media().eventsFreed, 4);
    EXPECT_EQ(fake::callCount("setPositions 0 1"), 2);
    // The graph is not stopped: the seek alone starts the track over.
    EXPECT_FALSE(fake::called("stop"));
}

TEST_F(Music, ARefusedSeekStopsAndRunsTheGraphInstead) {
    initAudio();
    fake::media().seekResult = E_NOTIMPL;
    fake::media().events = {EC_COMPLETE};
    fake::calls().clear();
    EXPECT_EQ(pollMusicEvents(), S_OK);
    const std::vector<std::string> expected = {"getEvent", "freeEventParams 1", "setPositions 0 1", "stop",
                                               "run",      "getEvent"};
    EXPECT_EQ(fake::calls(), expected);

    // A stop that fails ends the frame's draining at once with its result; the next frame goes on.
    fake::media().stopResult = VFW_E_WRONG_STATE;
    fake::media().events = {EC_COMPLETE, EC_COMPLETE};
    EXPECT_EQ(pollMusicEvents(), VFW_E_WRONG_STATE);
    EXPECT_EQ(fake::media().events.size(), 1u);
    fake::media().stopResult = S_OK;
    EXPECT_EQ(pollMusicEvents(), S_OK);
    EXPECT_TRUE(fake::media().events.empty());
}

namespace fs = std::filesystem;

class GameSounds : public testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        fs::create_directories("data/snd");
        fs::copy(fs::path(PEL_SOURCE_DIR) / "data/snd/ses", "data/snd/ses",
                 fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    }
    void TearDown() override {
        freeGameSounds();
        fs::remove_all("data");
    }
};

TEST_F(GameSounds, CopiesOverlapInTurnAndTheNextBusyOneIsCutWhileASingleCopyIsNeverCut) {
    loadGameSounds();
    EXPECT_EQ(g_sndTops->play(0), S_OK);
    EXPECT_EQ(g_sndTops->play(0), DSERR_ALLOCATED);
    EXPECT_EQ(std::tie(g_sndTops->buffers[0]->plays, g_sndTops->buffers[0]->stops), std::make_tuple(1, 0));

    Sound& yan = *g_sndYan;
    EXPECT_EQ(yan.play(0), S_OK);
    EXPECT_EQ(yan.play(0), S_OK);
    EXPECT_EQ(yan.current, 1);
    yan.buffers[0]->position = 500;
    EXPECT_EQ(yan.play(0), S_OK);
    EXPECT_EQ(yan.current, 0);
    // Copy 0 sounded, copy 1 sounded, then copy 0 was stopped, rewound and started again.
    EXPECT_EQ(std::tie(yan.buffers[0]->plays, yan.buffers[0]->stops, yan.buffers[0]->position),
              std::make_tuple(2, 1, 0u));
    EXPECT_EQ(std::tie(yan.buffers[1]->plays, yan.buffers[1]->stops), std::make_tuple(1, 0));

    // An idle copy is used again where it ended; the device decides what that means.
    const int rewinds = fake::callCount("setCurrentPosition");
    EXPECT_EQ(g_sndTop->play(0), S_OK);
    g_sndTop->buffers[0]->status &= ~DSBSTATUS_PLAYING;
    EXPECT_EQ(g_sndTop->play(0), S_OK);
    EXPECT_EQ(g_sndTop->current, 0);
    EXPECT_EQ(g_sndTop->buffers[0]->plays, 2);
    EXPECT_EQ(fake::callCount("setCurrentPosition"), rewinds);
}

TEST_F(GameSounds, LostBuffersAreRestoredOrGiveUp) {
    loadGameSounds();
    g_sndTop->buffers[0]->status = DSBSTATUS_BUFFERLOST;
    EXPECT_EQ(g_sndTop->play(0), S_OK);
    EXPECT_EQ(g_sndTop->buffers[0]->restores, 1);
    EXPECT_EQ(g_sndTop->buffers[0]->plays, 1);

    g_sndYkr->buffers[0]->status = DSBSTATUS_BUFFERLOST;
    fake::sound().restoreResult = DSERR_BUFFERLOST;
    EXPECT_EQ(g_sndYkr->play(0), DSERR_ALLOCATED);
    EXPECT_EQ(g_sndYkr->buffers[0]->plays, 0);
}

TEST_F(GameSounds, SoundsWithoutAFileADeviceOrCooperationPlayNothing) {
    testfiles::writeFile("data/snd/ses/yan.WAV", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '});
    fs::remove("data/snd/ses/ykr.WAV");
    loadGameSounds();
    EXPECT_EQ(g_sndYkr->play(0), DSERR_UNINITIALIZED);
    EXPECT_EQ(g_sndYan->play(0), DSERR_ALLOCATED);
    EXPECT_EQ(Sound().play(0), DSERR_UNINITIALIZED);

    // A device that will not cooperate leaves the system disabled: every sound, even a rejected one, plays
    // nothing and reports success.
    freeGameSounds();
    fake::reset();
    fake::sound().cooperativeLevelResult = DSERR_ALLOCATED;
    loadGameSounds();
    EXPECT_EQ(g_soundSystem->disabled, 1);
    EXPECT_NE(g_sndTop->buffers, nullptr);
    EXPECT_EQ(g_sndTop->play(0), S_OK);
    EXPECT_EQ(g_sndYan->play(0), S_OK);
    EXPECT_EQ(fake::callCount("playBuffer"), 0);

    // Without a device no sound holds a buffer.
    freeGameSounds();
    fake::reset();
    fake::sound().createDeviceResult = DSERR_NODRIVER;
    loadGameSounds();
    EXPECT_EQ(g_sndTop->buffers, nullptr);
    EXPECT_EQ(g_sndTop->play(0), DSERR_UNINITIALIZED);
}

TEST_F(GameSounds, AFailedDuplicateIsReportedAndTheCopiesMadeStillPlay) {
    fake::sound().duplicatesBeforeFailure = 2;
    SoundSystem system;
    system.init(nullptr);
    Sound top;
    EXPECT_EQ(top.load(&system, "data\\snd\\ses\\top.WAV", 7), DSERR_OUTOFMEMORY);
    ASSERT_NE(top.buffers, nullptr);
    EXPECT_NE(top.buffers[2], nullptr);
    EXPECT_EQ(top.buffers[3], nullptr);
    EXPECT_EQ(top.play(0), S_OK);
    // Cycling onto a copy that was never made gives up instead of touching it.
    top.current = 2;
    top.buffers[2]->status |= DSBSTATUS_PLAYING;
    EXPECT_EQ(top.play(0), DSERR_ALLOCATED);
    top.release();
    EXPECT_EQ(fake::callCount("releaseBuffer"), 3);
}

}  // namespace
