// Audio on the fake sound device and media graph; the replays of the committed demos pin its calls' order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
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

// The fuzzer's seed files: sound files as sox writes them, some in unusual layouts.
Bytes seed(const char* name) {
    return testfiles::readFile(std::string(PEL_SOURCE_DIR) + "/tests/fuzz/corpus/wav/" + name);
}

// The header and format of 8-bit mono at 8000 Hz, then `chunks`: each an id, the size it claims, its bytes.
Bytes wave(std::initializer_list<std::tuple<const char*, std::uint32_t, Bytes>> chunks) {
    Bytes image = seed("u8-mono.wav");
    image.resize(36);
    for (const auto& [id, claimed, bytes] : chunks) {
        image.insert(image.end(), id, id + 4);
        testfiles::putLe(image, claimed, 4);
        image.insert(image.end(), bytes.begin(), bytes.end());
    }
    return image;
}

namespace fs = std::filesystem;

// A fresh machine with the game's sound files in place and a sound system on it.
class Audio : public testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        fs::create_directories("data/snd");
        fs::copy(fs::path(PEL_SOURCE_DIR) / "data/snd/ses", "data/snd/ses",
                 fs::copy_options::overwrite_existing | fs::copy_options::recursive);
        ASSERT_EQ(system.init(fake::fakeWindowHandle()), S_OK);
    }
    void TearDown() override {
        freeGameSounds();
        shutdownAudio();
        fs::remove_all("data");
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
using WaveWalk = Audio;
using Music = Audio;
using GameSounds = Audio;

// Bad files keep the system and copies stored but make no buffers.
TEST_F(WaveWalk, GoodFilesLoadTheSamplesAfterTheFormatAndFactChunksIntoEveryCopyBadOnesGiveTheirReason) {
    const struct {
        const char* what;
        Bytes image;
        HRESULT result;
        std::tuple<int, unsigned, int> format;  // channels, rate, bits
        long offset;                            // of the samples in the image
        DWORD bytes;
    } cases[] = {
        {"16-bit stereo", seed("s16-stereo.wav"), S_OK, {2, 11025, 16}, 44, 176},
        {"two fact chunks", seed("facts.wav"), S_OK, {1, 8000, 8}, 64, 40},
        {"odd fact", wave({{"fact", 9, Bytes(9)}, {"data", 12, Bytes(12, 7)}}), S_OK, {1, 8000, 8}, 61, 12},
        {"a chunk whatever its id", seed("list.wav"), S_OK, {2, 22050, 16}, 44, 16},
        {"an 18-byte format block", seed("fmt18.wav"), S_OK, {1, 22050, 16}, 46, 32},
        {"big-endian RIFX", seed("rifx.wav"), DSERR_BADFORMAT, {}, 0, 0},
        {"empty", {}, DSERR_BADFORMAT, {}, 0, 0},
        {"A-law", seed("alaw-fact.wav"), E_NOTIMPL, {}, 0, 0},
        {"data size past the end", wave({{"data", 40, {}}}), WAVE_E_TRUNCATED, {}, 0, 0},
        {"fact size past the end", wave({{"fact", 0xFFFFFFF0u, {}}}), WAVE_E_TRUNCATED, {}, 0, 0},
        {"fact then nothing", wave({{"fact", 4, Bytes(4, 0x5A)}}), WAVE_E_TRUNCATED, {}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(loadImage(c.image, 3), c.result);
        if (FAILED(c.result)) {
            EXPECT_EQ(std::make_tuple(sound.system, sound.copies, sound.buffers),
                      std::make_tuple(&system, 3, nullptr));
            continue;
        }
        const plat::SoundBuffer& first = *sound.buffers[0];
        EXPECT_EQ(std::make_tuple(int{first.format.channels}, unsigned{first.format.samplesPerSec},
                                  int{first.format.bitsPerSample}),
                  c.format);
        EXPECT_EQ(first.format.extraSize, 0);
        EXPECT_EQ(*first.samples, Bytes(c.image.begin() + c.offset, c.image.begin() + c.offset + c.bytes));
        EXPECT_EQ(sound.buffers[2]->samples, first.samples);
    }
    EXPECT_EQ(fake::callCount("createSoundBuffer"), 5);
}

TEST_F(WaveWalk, MissingArgumentsFilesAndDevicesAndUnreadableStreams) {
    const Bytes image = wave({{"data", 8, Bytes(8, 0x5A)}});
    SoundSystem noDevice;
    EXPECT_EQ(sound.createFromMemory(&noDevice, image.size(), image.data(), 1), DSERR_UNINITIALIZED);
    EXPECT_EQ(sound.system, nullptr);
    EXPECT_EQ(sound.createFromMemory(&system, image.size(), image.data(), 0), S_OK);
    EXPECT_EQ(sound.copies, 1);

    // A file that cannot be opened keeps the sound as it was.
    testfiles::writeFile("tone.wav", image);
    ASSERT_EQ(sound.load(&system, "tone.wav", 2), S_OK);
    EXPECT_EQ(*sound.buffers[1]->samples, Bytes(8, 0x5A));
    const auto kept = [&] {
        return std::make_tuple(sound.buffers, sound.path, fake::sound().buffersReleased);
    };
    const auto before = kept();
    EXPECT_EQ(sound.load(&system, "missing.wav", 2), E_FAIL);
    EXPECT_EQ(sound.load(&system, nullptr, 2), E_INVALIDARG);
    EXPECT_EQ(kept(), before);

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
    fs::remove_all("data");  // no effects to release: the shutdown's calls are the music's and the device's
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

        // Later frames show nothing more; without a graph only the shutdown's last media call is made.
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
    // Plays of top, yan (garbage), ykr (missing); system disabled; top holds buffers; buffers played. A
    // device that will not cooperate disables the system: every sound, even a rejected one, then reports
    // success.
    using Results = std::tuple<HRESULT, HRESULT, HRESULT, int, bool, int>;
    const std::pair<void (*)(), Results> setups[] = {
        {[] {}, {S_OK, DSERR_ALLOCATED, DSERR_UNINITIALIZED, 0, true, 1}},
        {[] { fake::sound().cooperativeLevelResult = DSERR_ALLOCATED; },
         {S_OK, S_OK, DSERR_UNINITIALIZED, 1, true, 0}},
        {[] { fake::sound().createDeviceResult = DSERR_NODRIVER; },
         {DSERR_UNINITIALIZED, DSERR_UNINITIALIZED, DSERR_UNINITIALIZED, 1, false, 0}},
    };
    for (const auto& [arrange, results] : setups) {
        freeGameSounds();
        fake::reset();
        arrange();
        loadGameSounds();
        EXPECT_EQ((Results{g_sndTop->play(0), g_sndYan->play(0), g_sndYkr->play(0), g_soundSystem->disabled,
                           g_sndTop->buffers != nullptr, fake::callCount("playBuffer")}),
                  results);
    }
    EXPECT_EQ(Sound().play(0), DSERR_UNINITIALIZED);

    // A failed duplicate is reported; the copies made still play, and cycling onto one never made gives up.
    fake::reset();
    fake::sound().duplicatesBeforeFailure = 2;
    SoundSystem fresh;
    fresh.init(nullptr);
    Sound top;
    EXPECT_EQ(top.load(&fresh, "data\\snd\\ses\\top.WAV", 7), DSERR_OUTOFMEMORY);
    ASSERT_NE(top.buffers, nullptr);
    EXPECT_TRUE(top.buffers[2] && !top.buffers[3]);
    EXPECT_EQ(top.play(0), S_OK);
    top.current = 2;
    top.buffers[2]->status |= DSBSTATUS_PLAYING;
    EXPECT_EQ(top.play(0), DSERR_ALLOCATED);
    top.release();
    EXPECT_EQ(fake::callCount("releaseBuffer"), 3);
}

}  // namespace
