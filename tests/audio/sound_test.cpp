// The game's sounds and their copies, on the fake sound device whose buffer status each test sets.
#include <gtest/gtest.h>

#include <filesystem>

#include "audio/sound.h"
#include "graphics/display.h"
#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_platform.h"
#include "wave_files.h"

namespace {

namespace fs = std::filesystem;

void setPlaying(Sound* sound, int copy, bool playing) {
    DWORD& status = sound->buffers[copy]->status;
    status = playing ? (status | DSBSTATUS_PLAYING) : (status & ~DSBSTATUS_PLAYING);
}

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

TEST_F(GameSounds, LoadInOrderWithTheirCopiesAndFreeBeforeTheDevice) {
    ASSERT_TRUE(loadGameSounds());
    ASSERT_NE(g_soundSystem, nullptr);
    EXPECT_EQ(g_soundSystem->disabled, 0);
    const Sound* sounds[] = {g_sndTop, g_sndYan, g_sndYkr, g_sndPatlama, g_sndTops};
    const int copies[] = {7, 2, 2, 4, 1};
    const char* files[] = {"top.WAV", "yan.WAV", "ykr.WAV", "patlama.WAV", "tops.WAV"};
    int made = 0;
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(files[i]);
        ASSERT_NE(sounds[i]->buffers, nullptr);
        EXPECT_EQ(sounds[i]->copies, copies[i]);
        EXPECT_EQ(std::string(sounds[i]->path), std::string("data\\snd\\ses\\") + files[i]);
        // Copy 0 of each sound is made right after the copies of the sound before it.
        EXPECT_EQ(sounds[i]->buffers[0]->id, made);
        made += copies[i];
    }
    EXPECT_EQ(fake::sound().buffers.size(), 16u);

    freeGameSounds();
    EXPECT_EQ(g_sndTop, nullptr);
    EXPECT_EQ(g_sndTops, nullptr);
    EXPECT_EQ(g_soundSystem, nullptr);
    EXPECT_EQ(fake::callCount("releaseBuffer"), 16);
    EXPECT_EQ(fake::calls().back(), "releaseSoundDevice");
    // Freeing again, with every global already null, does nothing.
    freeGameSounds();
    EXPECT_EQ(fake::callCount("releaseSoundDevice"), 1);
}

TEST_F(GameSounds, ASingleCopyIsNotInterrupted) {
    loadGameSounds();
    EXPECT_EQ(g_sndTops->play(0), S_OK);
    EXPECT_EQ(g_sndTops->play(0), DSERR_ALLOCATED);
    EXPECT_EQ(g_sndTops->buffers[0]->plays, 1);
    EXPECT_EQ(g_sndTops->buffers[0]->stops, 0);
}

TEST_F(GameSounds, QuickPlaysOverlapThenCutTheNextCopyInTurn) {
    loadGameSounds();
    Sound& yan = *g_sndYan;
    EXPECT_EQ(yan.play(0), S_OK);
    EXPECT_EQ(yan.play(0), S_OK);
    EXPECT_EQ(yan.current, 1);
    yan.buffers[0]->position = 500;
    EXPECT_EQ(yan.play(0), S_OK);
    EXPECT_EQ(yan.current, 0);
    // Copy 0 sounded, copy 1 sounded, then copy 0 was stopped, rewound and started again.
    EXPECT_EQ(yan.buffers[0]->plays, 2);
    EXPECT_EQ(yan.buffers[1]->plays, 1);
    EXPECT_EQ(yan.buffers[0]->stops, 1);
    EXPECT_EQ(yan.buffers[0]->position, 0u);
    EXPECT_EQ(yan.buffers[1]->stops, 0);
}

TEST_F(GameSounds, AnIdleCopyIsUsedAgain) {
    loadGameSounds();
    EXPECT_EQ(g_sndTop->play(0), S_OK);
    setPlaying(g_sndTop, 0, false);
    EXPECT_EQ(g_sndTop->play(0), S_OK);
    EXPECT_EQ(g_sndTop->current, 0);
    EXPECT_EQ(g_sndTop->buffers[0]->plays, 2);
    EXPECT_EQ(g_sndTop->buffers[1]->plays, 0);
    // A copy that ended where it was is played from there; the device decides what that means.
    EXPECT_EQ(fake::callCount("setCurrentPosition"), 0);
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

TEST_F(GameSounds, SoundsThatNeverLoadedOrWereRejected) {
    wave_files::writeFile("data/snd/ses/yan.WAV", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '});
    fs::remove("data/snd/ses/ykr.WAV");
    loadGameSounds();
    EXPECT_EQ(g_sndYkr->play(0), DSERR_UNINITIALIZED);
    EXPECT_EQ(g_sndYan->play(0), DSERR_ALLOCATED);
    Sound neverLoaded;
    EXPECT_EQ(neverLoaded.play(0), DSERR_UNINITIALIZED);

    // While the system is disabled a rejected sound, like every other, plays nothing and reports success.
    g_soundSystem->disabled = 1;
    EXPECT_EQ(g_sndYan->play(0), S_OK);
    EXPECT_EQ(g_sndTop->play(0), S_OK);
    EXPECT_EQ(fake::callCount("playBuffer"), 0);
}

TEST_F(GameSounds, WithoutADeviceOrCooperationTheGameRunsSilent) {
    fake::sound().createDeviceResult = DSERR_NODRIVER;
    loadGameSounds();
    EXPECT_EQ(g_soundSystem->directSound, nullptr);
    EXPECT_EQ(g_sndTop->buffers, nullptr);
    EXPECT_EQ(g_sndTop->play(0), DSERR_UNINITIALIZED);
    freeGameSounds();

    fake::reset();
    fake::sound().cooperativeLevelResult = DSERR_ALLOCATED;
    loadGameSounds();
    EXPECT_EQ(g_soundSystem->disabled, 1);
    EXPECT_NE(g_sndTop->buffers, nullptr);
    EXPECT_EQ(g_sndTop->play(0), S_OK);
    EXPECT_EQ(fake::callCount("playBuffer"), 0);
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
    setPlaying(&top, 2, true);
    EXPECT_EQ(top.play(0), DSERR_ALLOCATED);
    top.release();
    EXPECT_EQ(fake::callCount("releaseBuffer"), 3);
}

}  // namespace
