#include <gtest/gtest.h>

#include "core/entry.h"
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
