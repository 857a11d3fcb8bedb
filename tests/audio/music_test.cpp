// Audio start-up, the music loop and shutdown, on the fake media graph and sound device.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "audio/music.h"
#include "audio/sound.h"
#include "core/entry.h"
#include "core/game_state.h"
#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_platform.h"
#include "support/engine_fixture.h"

namespace {

// The recorded calls that belong to COM and the media graph, in order.
std::vector<std::string> mediaCalls() {
    static const char* const MEDIA[] = {
        "coInitialize", "coUninitialize", "createFilterGraph", "query",        "renderFile", "run",
        "stop",         "getEvent",       "freeEventParams",   "setPositions", "release "};
    std::vector<std::string> out;
    for (const std::string& call : fake::calls()) {
        for (const char* prefix : MEDIA) {
            if (call.rfind(prefix, 0) == 0) {
                out.push_back(call);
                break;
            }
        }
    }
    return out;
}

class Music : public testing::Test {
protected:
    void SetUp() override { fake::reset(); }
    void TearDown() override { shutdownAudio(); }

    const std::vector<fake::MessageBoxRecord>& boxes() { return fake::system().messageBoxes; }
};

TEST_F(Music, StartsComTheTrackAndThenTheEffects) {
    EXPECT_EQ(initAudio(), 1);
    const std::vector<std::string> expected = {"coInitialize",
                                               "createFilterGraph",
                                               "queryMediaControl",
                                               "queryMediaEvent",
                                               "renderFile data/snd/oyun.mp3",
                                               "run",
                                               "queryMediaSeeking"};
    EXPECT_EQ(mediaCalls(), expected);
    EXPECT_TRUE(boxes().empty());
    EXPECT_TRUE(fake::media().running);
    // The effects are loaded after the music (the files are absent here, so only the device is made).
    const auto& calls = fake::calls();
    const auto seeking = std::find(calls.begin(), calls.end(), "queryMediaSeeking");
    EXPECT_NE(std::find(seeking, calls.end(), "directSoundCreate"), calls.end());
}

TEST_F(Music, AMissingTrackIsShownOnceAndTheGraphStillRuns) {
    fake::media().renderResult = HRESULT_FILE_NOT_FOUND;
    initAudio();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Mp3 bulunamadi!");
    EXPECT_EQ(boxes()[0].caption, "Hata");
    EXPECT_EQ(boxes()[0].owner, nullptr);
    EXPECT_EQ(boxes()[0].style, MB_OK);
    EXPECT_TRUE(fake::called("run"));
    EXPECT_TRUE(fake::called("directSoundCreate"));
    for (int frame = 0; frame < 3; ++frame)
        pollMusicEvents();
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(Music, ComFailureIsShownAndStartUpGoesOn) {
    fake::media().coInitializeResult = E_OUTOFMEMORY;
    initAudio();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Com init edilemedi!");
    EXPECT_TRUE(fake::called("createFilterGraph"));
    EXPECT_TRUE(fake::called("directSoundCreate"));
}

TEST_F(Music, WithoutAGraphNoMediaCallFollowsButShutdownStillRuns) {
    fake::media().createGraphResult = REGDB_E_CLASSNOTREG;
    initAudio();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Filter acilamadi!");
    EXPECT_TRUE(fake::called("directSoundCreate"));
    fake::media().events.push_back(EC_COMPLETE);
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(pollMusicEvents(), S_OK);

    fake::calls().clear();
    shutdownAudio();
    EXPECT_EQ(mediaCalls(), std::vector<std::string>{"coUninitialize"});
    EXPECT_EQ(fake::sound().devicesReleased, 1);
    EXPECT_EQ(g_sndTop, nullptr);
}

TEST_F(Music, TheEndOfTheTrackSeeksBackWithinOneFrame) {
    initAudio();
    fake::calls().clear();
    EXPECT_EQ(pollMusicEvents(), S_OK);
    EXPECT_FALSE(fake::called("setPositions"));

    fake::media().events.push_back(EC_COMPLETE);
    EXPECT_EQ(pollMusicEvents(), S_OK);
    EXPECT_EQ(fake::callCount("setPositions 0 1"), 1);
    // The graph is not stopped: the seek alone starts the track over.
    EXPECT_FALSE(fake::called("stop"));
    EXPECT_EQ(fake::media().eventsFreed, 1);
}

TEST_F(Music, EveryQueuedEventIsTakenAndFreedInOneFrame) {
    constexpr long EC_PAUSED = 0x0E;
    initAudio();
    fake::media().events = {EC_PAUSED, EC_COMPLETE, EC_USERABORT, EC_COMPLETE};
    EXPECT_EQ(pollMusicEvents(), S_OK);
    EXPECT_TRUE(fake::media().events.empty());
    EXPECT_EQ(fake::media().eventsTaken, 4);
    EXPECT_EQ(fake::media().eventsFreed, 4);
    EXPECT_EQ(fake::callCount("setPositions"), 2);
}

TEST_F(Music, ARefusedSeekStopsAndRunsTheGraphInstead) {
    initAudio();
    fake::media().seekResult = E_NOTIMPL;
    fake::media().events = {EC_COMPLETE};
    fake::calls().clear();
    EXPECT_EQ(pollMusicEvents(), S_OK);
    const std::vector<std::string> expected = {"getEvent", "freeEventParams 1", "setPositions 0 1", "stop",
                                               "run",      "getEvent"};
    EXPECT_EQ(mediaCalls(), expected);

    // A stop that fails ends the frame's draining at once with its result; the next frame goes on.
    fake::media().stopResult = VFW_E_WRONG_STATE;
    fake::media().events = {EC_COMPLETE, EC_COMPLETE};
    EXPECT_EQ(pollMusicEvents(), VFW_E_WRONG_STATE);
    EXPECT_EQ(fake::media().events.size(), 1u);
    fake::media().stopResult = S_OK;
    EXPECT_EQ(pollMusicEvents(), S_OK);
    EXPECT_TRUE(fake::media().events.empty());
}

TEST_F(Music, ShutdownFreesEffectsThenTheGraphThenCom) {
    initAudio();
    fake::calls().clear();
    shutdownAudio();
    std::vector<std::string> expected = {"releaseSoundDevice",   "stop",
                                         "release MediaControl", "release MediaEvent",
                                         "release MediaSeeking", "release GraphBuilder",
                                         "coUninitialize"};
    EXPECT_EQ(fake::calls(), expected);
    EXPECT_EQ(fake::media().graphReferences, 0);
    EXPECT_EQ(fake::media().comInitialized, 0);
    EXPECT_EQ(g_mediaEvent, nullptr);
    // After shutdown the frame's poll touches nothing.
    EXPECT_EQ(pollMusicEvents(), S_OK);
    EXPECT_EQ(fake::calls().size(), expected.size());
}

using AudioInTheGame = EngineTest;

TEST_F(AudioInTheGame, StartsAfterTheWindowIsPolledFirstInEachFrameAndStopsFirst) {
    ASSERT_TRUE(initGame());
    const auto& calls = fake::calls();
    const auto window = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
        return call.rfind("createWindow", 0) == 0;
    });
    const auto com = std::find(calls.begin(), calls.end(), "coInitialize");
    EXPECT_LT(window, com);
    EXPECT_EQ(GameState, STATE_MENU);

    for (int state : {STATE_MENU, STATE_PLAY}) {
        GameState = state;
        fake::calls().clear();
        fake::media().events = {EC_COMPLETE};
        runGameState();
        ASSERT_FALSE(fake::calls().empty());
        EXPECT_EQ(fake::calls().front(), "getEvent") << state;
        EXPECT_TRUE(fake::media().events.empty());
    }

    fake::calls().clear();
    shutdownGame();
    ASSERT_FALSE(fake::calls().empty());
    EXPECT_EQ(fake::calls().front(), "releaseSoundDevice");
    const auto left = std::find(fake::calls().begin(), fake::calls().end(), "coUninitialize");
    const auto destroyed =
        std::find_if(fake::calls().begin(), fake::calls().end(),
                     [](const std::string& call) { return call.rfind("destroyWindow", 0) == 0; });
    EXPECT_LT(left, destroyed);
}

}  // namespace
