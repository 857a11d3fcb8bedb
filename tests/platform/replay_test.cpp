// A whole run recorded, then replayed on a machine that answers nothing the recorded one did, on the fake
// backend: the same states, frame times and log, no steady-frame allocation, and bad recordings refused.
#include <cstddef>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "core/entry.h"
#include "game/entity_list.h"
#include "platform/dik_codes.h"
#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_input.h"
#include "platform/replay/replay.h"
#include "support/allocation_counter.h"
#include "support/engine_fixture.h"
#include "support/test_files.h"

namespace {

using testfiles::Bytes;
using testfiles::readFile;
using testfiles::writeFile;

const char* const RECORDING = "replay_test.demo";

// What each frame shows of the game as it is presented (state, cursor x and y, bricks, frame time): a trace
// that allocates nothing while it is taken.
using Frame = std::tuple<int, int, int, int, float>;

struct ProgramRun {
    int status;
    std::vector<Frame> frames;
    std::string log;
    std::size_t steadyAllocations;  // in steady play and menu frames
};
ProgramRun* g_run = nullptr;

void traceFrame(unsigned) {
    int x = 0;
    int y = 0;
    g_input.getCursor(&x, &y);
    g_run->frames.emplace_back(GameState, x, y, g_bricks.count, g_display.frameTime);
}

// Runs the program as main does with these options, calling `play` with 0 before it starts and with the
// number of the pass as each pass of its main loop finds the backend's message queue empty.
template <class Play>
ProgramRun runProgram(const char* option, const char* path, Play play) {
    resetEngineGlobals();
    fake::system().recordCalls = false;
    play(0);
    ProgramRun run{0, {}, {}, 0};
    run.frames.reserve(1000);
    g_run = &run;
    int passes = 0;
    fake::window().whenQueueEmpty = [&] {
        play(++passes);
        // Play frames from pass 300 to 400, menu frames from 650 to 690.
        if (passes == 300 || passes == 650) run.steadyAllocations -= testsupport::allocationCount();
        if (passes == 400 || passes == 690) run.steadyAllocations += testsupport::allocationCount();
    };
    char program[] = "brikatan";
    std::string optionText = option, pathText = path;
    char* argv[] = {program, optionText.data(), pathText.data(), nullptr};
    if (!replay::start(3, argv, &run.status)) return run;
    replay::setFrameObserver(traceFrame);
    run.status = replay::finish(WinMain(nullptr, nullptr, nullptr, SW_SHOW));
    fake::window().whenQueueEmpty = nullptr;
    run.log = readLogBytes();
    return run;
}

// A player's session: the menu, a new game with the paddle steered and grown, a screen of hits, Escape, and
// the window closed from the menu. Every frame takes 5 ms of the counter, the F1 frames longer.
void playSession(int pass) {
    fake::system().counterStep = 2500;
    fake::system().milliseconds += 5;
    if (pass == 2) fake::moveMouse(-10000, -10000);
    if (pass == 3) fake::moveMouse(150, 110);  // over "<-Yeni Oyun->"
    if (pass == 5) fake::setMouseButton(0, true);
    if (pass == 6) fake::setMouseButton(0, false);
    if (pass > 10 && pass < 400) fake::moveMouse(pass % 40 < 20 ? 7 : -7, 0);
    if (pass == 100) fake::setMouseButton(0, true);
    if (pass == 160) fake::setMouseButton(0, false);
    if (pass == 200) fake::pressKey(DIK_F1);
    if (pass == 202) fake::releaseKey(DIK_F1);
    if (pass == 400) fake::pressKey(DIK_ESCAPE);
    if (pass == 402) fake::releaseKey(DIK_ESCAPE);
    if (pass == 700) fake::window().queue.push_back({fake::fakeWindowHandle(), WM_CLOSE, 0, 0});
}

TEST(ReplayTest, AReplayGoesThroughTheRecordedGameWhateverTheMachineSaysNowAndABadRecordingIsRefused) {
    const ProgramRun recorded = runProgram("--record", RECORDING, playSession);
    ASSERT_EQ(recorded.status, 0);
    ASSERT_EQ(std::get<0>(recorded.frames.at(300)), STATE_PLAY);
    EXPECT_EQ(recorded.steadyAllocations, 0u) << "recording allocates nothing per frame";

    // No counter, sound device, music or input devices, and a clock that stands still.
    const ProgramRun replayed = runProgram("--replay", RECORDING, [](int) {
        fake::system().hasCounter = false;
        fake::input().keyboardDevice.present = false;
        fake::input().mouseDevice.present = false;
        fake::sound().createDeviceResult = DSERR_NODRIVER;
        fake::media().createGraphResult = REGDB_E_CLASSNOTREG;
    });
    EXPECT_EQ(replayed.status, 0);
    EXPECT_TRUE(replayed.frames == recorded.frames);
    EXPECT_EQ(replayed.log, recorded.log);
    EXPECT_EQ(replayed.steadyAllocations, 0u) << "replaying allocates nothing per frame";

    // A recording that cannot be replayed is refused, or stops, with a message.
    const Bytes good = readFile(RECORDING);
    ASSERT_GT(good.size(), 16 + 2 * std::size_t{8 + 4096}) << "more than two blocks";
    Bytes otherVersion = good, corrupted = good, insideBlock = good;
    otherVersion[8] = 9;
    corrupted[good.size() / 2] ^= 0x10;
    insideBlock.resize(good.size() - 3);
    const std::pair<Bytes, const char*> refused[] = {{otherVersion, "another version"},
                                                     {corrupted, "corrupted"},
                                                     {insideBlock, "cut short"},
                                                     {{'x'}, "not a"}};
    for (const auto& [bytes, message] : refused) {
        writeFile(RECORDING, bytes);
        testing::internal::CaptureStderr();
        EXPECT_EQ(runProgram("--replay", RECORDING, [](int) {}).status, replay::REPLAY_FAILED);
        EXPECT_NE(testing::internal::GetCapturedStderr().find(message), std::string::npos) << message;
    }

    // Whole blocks only, but not the last: the program runs until the recording ends, then stops.
    writeFile(RECORDING, Bytes(good.begin(), good.begin() + 16 + 2 * std::ptrdiff_t{8 + 4096}));
    EXPECT_EXIT(runProgram("--replay", RECORDING, [](int) {}), testing::ExitedWithCode(replay::REPLAY_FAILED),
                "stopped at frame .*: the recording ends here");
    std::remove(RECORDING);
}

}  // namespace
