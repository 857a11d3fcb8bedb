// Audio on the fake media graph and sound device: the chunk walk of a sound load, the music's start-up
// failures and loop, the game's sounds and their copies. The order of the audio's calls in the program is
// pinned by the replays of the committed demos, which stop at the first call that differs.
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

// A RIFF/WAVE image put together chunk by chunk after a "fmt " chunk of `formatBytes` bytes (16 or more).
class Builder {
public:
    Builder(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
            std::uint32_t formatBytes = 16) {
        const std::uint32_t blockAlign = channels * bits / 8u;
        const std::uint32_t fields[][2] = {{formatBytes, 4},       {tag, 2},        {channels, 2}, {rate, 4},
                                           {rate * blockAlign, 4}, {blockAlign, 2}, {bits, 2}};
        for (const auto& [value, width] : fields)
            testfiles::putLe(image, value, static_cast<int>(width));
        image.resize(image.size() + formatBytes - 16, 0);
    }
    // A chunk whose size field claims `claimed` bytes, by default those of its payload.
    Builder& chunk(const char* id, const Bytes& payload, std::uint32_t claimed = UINT32_MAX) {
        image.insert(image.end(), id, id + 4);
        testfiles::putLe(image, claimed == UINT32_MAX ? static_cast<std::uint32_t>(payload.size()) : claimed,
                         4);
        image.insert(image.end(), payload.begin(), payload.end());
        return *this;
    }
    Bytes bytes() const { return image; }

private:
    Bytes image = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
};

// sox writes the formats the tests cannot build by hand; where it cannot be run (a Windows build under Wine)
// the tests that need it are skipped.
bool soxInstalled() {
    return std::system("sox --version >/dev/null 2>&1") == 0;
}

// A 0.01 s tone written by sox in the output format `options` name, read back; empty when sox fails.
Bytes soxFile(const std::string& options) {
    const std::string command = "sox -n " + options + " sox.wav synth 0.01 sine 440 2>/dev/null";
    return std::system(command.c_str()) == 0 ? testfiles::readFile("sox.wav") : Bytes{};
}

Bytes payload(std::size_t bytes) {
    Bytes data(bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        data[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return data;
}

class WaveWalk : public testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        ASSERT_EQ(system.init(fake::fakeWindowHandle()), S_OK);
    }

    // Loads from a heap block of exactly the image's size, so that ASan catches any read past its end.
    HRESULT loadImage(const Bytes& image, int copies) {
        auto exact = std::make_unique<std::uint8_t[]>(std::max<std::size_t>(image.size(), 1));
        std::copy(image.begin(), image.end(), exact.get());
        return sound.createFromMemory(&system, image.size(), exact.get(), copies);
    }

    SoundSystem system;
    Sound sound;
};

TEST_F(WaveWalk, GoodFilesLoadTheirFormatAndTheChunkAfterTheFormatAndFactChunksIntoEveryCopy) {
    if (!soxInstalled()) GTEST_SKIP() << "sox is not installed";
    // sox writes an 18-byte format block and a fact chunk for A-law; made PCM, the walk must step over both.
    Bytes alawAsPcm = soxFile("-r 8000 -c 1 -e a-law");
    alawAsPcm.at(20) = 1;
    const struct {
        const char* what;
        Bytes image;
        std::tuple<int, unsigned, int, DWORD> format;  // channels, rate, bits, data bytes at the image's end
    } cases[] = {
        {"sox 16-bit mono", soxFile("-r 8000 -c 1 -b 16 -e signed"), {1, 8000, 16, 160}},
        {"sox 8-bit stereo", soxFile("-r 11025 -c 2 -b 8 -e unsigned"), {2, 11025, 8, 220}},
        {"sox 16-bit stereo", soxFile("-r 44100 -c 2 -b 16 -e signed"), {2, 44100, 16, 1764}},
        {"fact chunks of any size",
         Builder(1, 1, 8000, 8)
             .chunk("fact", payload(4))
             .chunk("fact", {})
             .chunk("fact", payload(9))
             .chunk("data", payload(12))
             .bytes(),
         {1, 8000, 8, 12}},
        {"data whatever its id",
         Builder(1, 2, 22050, 16).chunk("LIST", payload(20)).bytes(),
         {2, 22050, 16, 20}},
        {"after an 18-byte format block",
         Builder(1, 1, 22050, 16, 18).chunk("data", payload(12)).bytes(),
         {1, 22050, 16, 12}},
        {"A-law's blocks made PCM", alawAsPcm, {1, 8000, 8, 80}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(loadImage(c.image, 3), S_OK);
        const plat::SoundBuffer& first = *sound.buffers[0];
        EXPECT_EQ(std::make_tuple(int{first.format.channels}, unsigned{first.format.samplesPerSec},
                                  int{first.format.bitsPerSample}, first.bytes),
                  c.format);
        EXPECT_EQ(first.format.extraSize, 0);
        EXPECT_EQ(*first.samples, Bytes(c.image.end() - std::get<3>(c.format), c.image.end()));
        // The other copies are duplicates sharing copy 0's samples.
        EXPECT_EQ(sound.buffers[2]->samples, first.samples);
    }
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
        {"A-law", soxFile("-r 8000 -c 1 -e a-law"), E_NOTIMPL},
        {"MS ADPCM", soxFile("-r 8000 -c 1 -e ms-adpcm"), E_NOTIMPL},
        {"floating point", soxFile("-r 8000 -c 1 -e floating-point"), E_NOTIMPL},
        {"no chunk after the format", Builder(1, 1, 8000, 8).bytes(), WAVE_E_TRUNCATED},
        {"data size past the end", Builder(1, 1, 8000, 8).chunk("data", {}, 40).bytes(), WAVE_E_TRUNCATED},
        {"fact size past the end", Builder(1, 1, 8000, 8).chunk("fact", {}, 0xFFFFFFF0u).bytes(),
         WAVE_E_TRUNCATED},
        {"fact then nothing", Builder(1, 1, 8000, 8).chunk("fact", payload(4)).bytes(), WAVE_E_TRUNCATED},
        {"format block longer than the file", formatPastTheEnd, WAVE_E_TRUNCATED},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loadImage(c.image, 2), c.result) << c.what;
        // A rejected file leaves the system and copies stored but no buffers.
        EXPECT_EQ(std::make_tuple(sound.system, sound.copies, sound.buffers),
                  std::make_tuple(&system, 2, nullptr))
            << c.what;
    }
    EXPECT_FALSE(fake::called("createSoundBuffer"));

    // Cut a good file anywhere: it loads whole or fails, never reads beyond the cut.
    const Bytes good = Builder(1, 1, 8000, 8).chunk("fact", payload(4)).chunk("data", payload(10)).bytes();
    for (std::size_t size = 0; size < good.size(); ++size) {
        const HRESULT result = loadImage(Bytes(good.begin(), good.begin() + static_cast<long>(size)), 1);
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
    EXPECT_EQ(*sound.buffers[1]->samples, payload(8));
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
        ASSERT_EQ(fake::system().messageBoxes.size(), 1u);
        EXPECT_EQ(shownBox(0), std::make_tuple("Hata", c.message, MB_OK));
        EXPECT_EQ(fake::system().messageBoxes[0].owner, nullptr);
        EXPECT_EQ(fake::called("run"), c.graph) << "a graph that exists plays";
        EXPECT_TRUE(fake::called("directSoundCreate")) << "the effects load all the same";

        // Later frames show nothing more; without a graph they and the shutdown make no media call but the
        // last.
        fake::media().events.push_back(EC_COMPLETE);
        fake::calls().clear();
        for (int frame = 0; frame < 3; ++frame)
            EXPECT_EQ(pollMusicEvents(), S_OK);
        EXPECT_EQ(fake::system().messageBoxes.size(), 1u);
        shutdownAudio();
        if (!c.graph) {
            EXPECT_EQ(fake::calls(), (std::vector<std::string>{"releaseSoundDevice", "coUninitialize"}));
        }
        EXPECT_EQ(fake::sound().devicesReleased, 1);
    }
}

TEST_F(Music, EveryQueuedEventIsTakenAndFreedTheEndSeeksBackAndARefusedSeekRestartsTheGraph) {
    initAudio();
    // The graph is not stopped: the seek alone starts the track over.
    fake::media().events = {EC_PAUSED, EC_COMPLETE, EC_USERABORT};
    fake::calls().clear();
    EXPECT_EQ(pollMusicEvents(), S_OK);
    EXPECT_EQ(fake::calls(),
              (std::vector<std::string>{"getEvent", "freeEventParams 14", "getEvent", "freeEventParams 1",
                                        "setPositions 0 1", "getEvent", "freeEventParams 2", "getEvent"}));
    fake::media().seekResult = E_NOTIMPL;
    fake::media().events = {EC_COMPLETE};
    fake::calls().clear();
    EXPECT_EQ(pollMusicEvents(), S_OK);
    EXPECT_EQ(fake::calls(), (std::vector<std::string>{"getEvent", "freeEventParams 1", "setPositions 0 1",
                                                       "stop", "run", "getEvent"}));

    // A stop that fails ends the frame's draining at once with its result; the next frame goes on.
    fake::media().stopResult = VFW_E_WRONG_STATE;
    fake::media().events = {EC_COMPLETE, EC_COMPLETE};
    EXPECT_EQ(pollMusicEvents(), VFW_E_WRONG_STATE);
    EXPECT_EQ(fake::media().events.size(), 1u);
    fake::media().stopResult = S_OK;
    EXPECT_EQ(pollMusicEvents(), S_OK);
    EXPECT_TRUE(fake::media().events.empty());
    EXPECT_EQ(fake::media().eventsTaken, fake::media().eventsFreed);
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

TEST_F(GameSounds, CopiesOverlapInTurnTheNextBusyOneIsCutASingleCopyIsNeverCutAndLostOnesAreRestored) {
    loadGameSounds();
    EXPECT_EQ(g_sndTops->play(0), S_OK);
    EXPECT_EQ(g_sndTops->play(0), DSERR_ALLOCATED);
    EXPECT_EQ(std::tie(g_sndTops->buffers[0]->plays, g_sndTops->buffers[0]->stops), std::make_tuple(1, 0));

    // Copy 0 sounds, copy 1 sounds, then copy 0 is stopped, rewound and started again.
    Sound& yan = *g_sndYan;
    EXPECT_EQ(yan.play(0), S_OK);
    EXPECT_EQ(yan.play(0), S_OK);
    EXPECT_EQ(yan.current, 1);
    yan.buffers[0]->position = 500;
    EXPECT_EQ(yan.play(0), S_OK);
    EXPECT_EQ(yan.current, 0);
    EXPECT_EQ(std::tie(yan.buffers[0]->plays, yan.buffers[0]->stops, yan.buffers[0]->position),
              std::make_tuple(2, 1, 0u));
    EXPECT_EQ(std::tie(yan.buffers[1]->plays, yan.buffers[1]->stops), std::make_tuple(1, 0));

    // An idle copy is used again where it ended; the device decides what that means.
    const int rewinds = fake::callCount("setCurrentPosition");
    EXPECT_EQ(g_sndTop->play(0), S_OK);
    g_sndTop->buffers[0]->status &= ~DSBSTATUS_PLAYING;
    EXPECT_EQ(g_sndTop->play(0), S_OK);
    EXPECT_EQ(fake::callCount("setCurrentPosition"), rewinds);
    g_sndTop->buffers[0]->status = DSBSTATUS_BUFFERLOST;
    EXPECT_EQ(g_sndTop->play(0), S_OK);
    EXPECT_EQ(std::tie(g_sndTop->current, g_sndTop->buffers[0]->plays, g_sndTop->buffers[0]->restores),
              std::make_tuple(0, 3, 1));

    g_sndYkr->buffers[0]->status = DSBSTATUS_BUFFERLOST;
    fake::sound().restoreResult = DSERR_BUFFERLOST;
    EXPECT_EQ(g_sndYkr->play(0), DSERR_ALLOCATED);
    EXPECT_EQ(g_sndYkr->buffers[0]->plays, 0);
}

TEST_F(GameSounds, SoundsWithoutAFileADeviceCooperationOrAllTheirCopiesPlayWhatTheyCan) {
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

    // A failed duplicate is reported; the copies made still play, and cycling onto one never made gives up.
    fake::reset();
    fake::sound().duplicatesBeforeFailure = 2;
    SoundSystem system;
    system.init(nullptr);
    Sound top;
    EXPECT_EQ(top.load(&system, "data\\snd\\ses\\top.WAV", 7), DSERR_OUTOFMEMORY);
    ASSERT_NE(top.buffers, nullptr);
    EXPECT_EQ(std::make_pair(top.buffers[2] != nullptr, top.buffers[3] == nullptr),
              std::make_pair(true, true));
    EXPECT_EQ(top.play(0), S_OK);
    top.current = 2;
    top.buffers[2]->status |= DSBSTATUS_PLAYING;
    EXPECT_EQ(top.play(0), DSERR_ALLOCATED);
    top.release();
    EXPECT_EQ(fake::callCount("releaseBuffer"), 3);
}

}  // namespace
