#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/entry.h"
#include "game/entity_list.h"
#include "game/scene.h"
#include "support/allocation_counter.h"
#include "support/engine_fixture.h"

namespace {

// Ends the loop with a close request once the queue has been found empty `passes` times.
void closeAfterPasses(int passes) {
    fake::window().whenQueueEmpty = [remaining = passes]() mutable {
        if (--remaining == 0) fake::window().queue.push_back({fake::fakeWindowHandle(), WM_CLOSE, 0, 0});
    };
}

}  // namespace

using MainLoopTest = EngineTest;

TEST_F(MainLoopTest, MenuPassesDrawAndPresentEveryFrame) {
    closeAfterPasses(5);
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);
    // Passes 1 to 4 find the queue empty and draw; pass 5 dispatches WM_CLOSE, whose quit message joins the
    // same drain, so the loop ends without drawing again.
    EXPECT_EQ(fake::window().swapCount, 4);
    EXPECT_EQ(fake::window().window, nullptr) << "shutdown destroyed the window";
    EXPECT_EQ(readLogBytes().substr(readLogBytes().size() - 9), "</html>\r\n");
}

TEST_F(MainLoopTest, StatesWithoutARoutineDoNothingAtAll) {
    ASSERT_TRUE(initGame());
    for (int state : {0, 3, 5, 6, 7, 8, -1, 10, 1000}) {
        GameState = state;
        const int reads = fake::system().counterReads;
        const int swaps = fake::window().swapCount;
        EXPECT_TRUE(runGameState());
        EXPECT_EQ(fake::window().swapCount, swaps) << "state " << state;
        EXPECT_EQ(fake::system().counterReads, reads) << "state " << state;
    }
}

TEST_F(MainLoopTest, QuitIsActedOnOnlyAfterItIsDispatched) {
    ASSERT_TRUE(initGame());
    const HWND window = fake::fakeWindowHandle();
    fake::window().queue = {{window, WM_SIZE, 0, MAKELPARAM(320, 200)},
                            {nullptr, WM_QUIT, 0, 0},
                            {window, WM_SIZE, 0, MAKELPARAM(800, 600)}};
    EXPECT_FALSE(g_display.pumpMessages());
    EXPECT_EQ(fake::window().dispatched.size(), 2u);
    EXPECT_EQ(g_display.width, 320) << "messages before the quit message were dispatched";
    ASSERT_EQ(fake::window().queue.size(), 1u) << "later messages stay queued";
    EXPECT_TRUE(g_display.pumpMessages());
    EXPECT_EQ(g_display.width, 800);
}

TEST_F(MainLoopTest, MinimisedWindowOnlyDrainsTheQueue) {
    const HWND window = fake::fakeWindowHandle();
    int passes = 0;
    int swapsWhileMinimised = -1;
    int readsWhileMinimised = -1;
    fake::window().whenQueueEmpty = [&] {
        ++passes;
        if (passes == 2) fake::window().queue.push_back({window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0});
        if (passes == 3) {
            swapsWhileMinimised = fake::window().swapCount;
            readsWhileMinimised = fake::system().counterReads;
        }
        if (passes == 50) {
            EXPECT_EQ(fake::window().swapCount, swapsWhileMinimised);
            EXPECT_EQ(fake::system().counterReads, readsWhileMinimised);
            fake::window().queue.push_back({window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0});
        }
        if (passes == 52) fake::window().queue.push_back({window, WM_CLOSE, 0, 0});
    };
    WinMain(nullptr, nullptr, nullptr, SW_SHOW);
    EXPECT_GT(fake::window().swapCount, swapsWhileMinimised) << "drawing resumes once restored";
}

TEST_F(MainLoopTest, FirstFrameIsMeasuredFromTheStartOfStartUp) {
    fake::system().counter = 1000;
    fake::system().counterStep = 0;
    ASSERT_TRUE(initGame());                      // the clock started at 1000
    fake::system().counter = 1000 + 3 * 1000000;  // start-up took three seconds
    runGameState();
    EXPECT_FLOAT_EQ(g_display.frameTime, 3.0f);
}

TEST_F(MainLoopTest, SteadyStateFramesAllocateNothing) {
    ASSERT_TRUE(initGame());
    fake::system().recordCalls = false;
    runGameState();  // the first frame may set things up
    const std::size_t allocations = testsupport::allocationsDuring([] {
        for (int frame = 0; frame < 100; ++frame) {
            g_display.pumpMessages();
            runGameState();
        }
    });
    EXPECT_EQ(allocations, 0u);
}

// The loop's passes, scripted: `step(pass)` runs each time the queue is found empty, and its messages are
// dispatched in that pass. WinMain's result is returned.
int runPasses(const std::function<void(int)>& step) {
    int pass = 0;
    fake::window().whenQueueEmpty = [&] { step(++pass); };
    return WinMain(nullptr, nullptr, nullptr, SW_SHOW);
}

void post(UINT message, WPARAM wParam) {
    fake::window().queue.push_back({fake::fakeWindowHandle(), message, wParam, 0});
}

// Minimised in the middle of the teardown, the program stops deleting and drawing; restored, it finishes the
// teardown, returns to the menu and can start the next game.
TEST_F(MainLoopTest, TeardownWaitsWhileMinimisedAndFinishesWhenRestored) {
    int swaps = 0;
    std::size_t bricks = 0;
    const int status = runPasses([&](int pass) {
        if (pass == 1) GameState = STATE_NEW_GAME;
        if (pass == 3) {
            EXPECT_EQ(g_bricks.count, 216u);
            GameState = STATE_TEARDOWN;
        }
        if (pass == 50) post(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1));
        if (pass == 51) {
            bricks = g_bricks.count;
            swaps = fake::window().swapCount;
            EXPECT_GT(bricks, 0u);
        }
        if (pass == 500) {
            EXPECT_EQ(g_bricks.count, bricks) << "nothing is deleted while minimised";
            EXPECT_EQ(fake::window().swapCount, swaps);
            EXPECT_EQ(GameState, STATE_TEARDOWN);
            post(WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0));
        }
        if (pass == 800) {
            EXPECT_EQ(g_bricks.count, 0u);
            EXPECT_EQ(GameState, STATE_MENU);
            GameState = STATE_NEW_GAME;
        }
        if (pass == 802) {
            EXPECT_EQ(g_bricks.count, 216u) << "the next game has a full wall";
            post(WM_CLOSE, 0);
        }
    });
    EXPECT_EQ(status, 0);
}

// Frames of two seconds (a stalled machine) and of no time at all: the ball stays inside the field and the
// frame rate stays a number.
TEST_F(MainLoopTest, VeryLongAndVeryShortPlayFramesKeepTheBallInTheField) {
    const Sprite& ball = playScene().ball;
    const int status = runPasses([&](int pass) {
        if (pass == 1) GameState = STATE_NEW_GAME;
        if (pass == 3) fake::system().counterStep = 1000000;
        if (pass == 40) fake::system().counterStep = 0;
        if (pass > 3 && pass < 80) {
            EXPECT_EQ(GameState, STATE_PLAY);
            EXPECT_TRUE(ball.x >= 0.0f && ball.x <= 640.0f) << "pass " << pass << ": x " << ball.x;
            EXPECT_TRUE(ball.y >= 30.0f && ball.y <= 480.0f) << "pass " << pass << ": y " << ball.y;
            EXPECT_TRUE(std::isfinite(g_display.framesPerSecond));
        }
        if (pass == 80) post(WM_CLOSE, 0);
    });
    EXPECT_EQ(status, 0);
}
