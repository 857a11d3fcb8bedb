// Whole games on the fake backend: start-up, the state passes of the main loop, thousands of play frames, the
// teardown and a second game, as the program runs them.
#include <cmath>

#include "core/entry.h"
#include "game/play.h"
#include "game_test_support.h"
#include "graphics/display.h"
#include "input/input_system.h"
#include "support/allocation_counter.h"
#include "support/engine_fixture.h"

namespace {

// A 60 Hz frame: the clock reads the counter twice per frame.
constexpr std::int64_t COUNTER_STEP_60HZ = 1000000 / 120;

class WholeGameTest : public GameTest {
protected:
    void SetUp() override {
        resetEngineGlobals();
        GameTest::SetUp();
        GameState = 0;
        fake::system().counterStep = COUNTER_STEP_60HZ;
        ASSERT_TRUE(initGame());
    }
    void TearDown() override {
        GameTest::TearDown();
        fake::reset();
    }

    // One pass of the main loop, as WinMain runs it while the window is active.
    void pass() {
        g_display.pumpMessages();
        g_input.poll();
        runGameState();
    }

    void startGame() {
        GameState = STATE_NEW_GAME;
        pass();
        ASSERT_EQ(GameState, STATE_PLAY);
    }

    int teardownPasses() {
        GameState = STATE_TEARDOWN;
        int passes = 0;
        while (GameState == STATE_TEARDOWN && passes < 1000) {
            pass();
            ++passes;
        }
        return passes;
    }
};

TEST_F(WholeGameTest, BallBreaksBricksOverThousandsOfFramesWithASoundForEachHit) {
    startGame();
    const int swaps = fake::window().swapCount;
    for (int frame = 0; frame < 6000; ++frame)
        pass();
    EXPECT_EQ(fake::window().swapCount, swaps + 6000);
    EXPECT_NEAR(g_display.frameTime, 1.0f / 60.0f, 1e-4);

    int standing = 0;
    for (Sprite* brick = g_bricks.head; brick; brick = brick->next)
        standing += brick->state == ENTITY_ALIVE;
    EXPECT_LT(g_bricks.count, 216);
    EXPECT_EQ(timesPlayed(top), 216 - standing);
    EXPECT_GT(timesPlayed(yan), 0);
    EXPECT_GT(timesPlayed(tops), 0) << "the paddle, standing still, was met now and then";
    EXPECT_EQ(timesPlayed(patlama), 0);
    // The ball keeps its speed on a diagonal however it bounced.
    EXPECT_FLOAT_EQ(std::abs(playScene().ball.vx), 4.0f);
    EXPECT_FLOAT_EQ(std::abs(playScene().ball.vy), 4.0f);
}

TEST_F(WholeGameTest, TeardownTakesOnePassPerBrickAndOneMoreAndDrawsNothing) {
    startGame();
    pass();
    const int swaps = fake::window().swapCount;
    EXPECT_EQ(teardownPasses(), 217);
    EXPECT_EQ(fake::window().swapCount, swaps);
    EXPECT_EQ(GameState, STATE_MENU);
    pass();
    EXPECT_EQ(fake::window().swapCount, swaps + 1) << "the menu draws again";
}

TEST_F(WholeGameTest, SecondGameContinuesTheColourSequence) {
    startGame();
    teardownPasses();
    startGame();
    expectBrickColor(*g_bricks.head, 0.7f, 0.2f);
}

TEST_F(WholeGameTest, SteadyStatePlayAndMenuFramesAllocateNothing) {
    startGame();
    // The test's own ears would allocate as they record.
    fake::system().recordCalls = false;
    g_soundCueListener = nullptr;
    g_textListener = nullptr;
    pass();
    EXPECT_EQ(testsupport::allocationsDuring([this] {
                  for (int frame = 0; frame < 500; ++frame)
                      pass();
              }),
              0u);
    teardownPasses();
    pass();
    EXPECT_EQ(testsupport::allocationsDuring([this] {
                  for (int frame = 0; frame < 100; ++frame)
                      pass();
              }),
              0u);
}

}  // namespace
