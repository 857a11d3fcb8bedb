// The input system inside the program: created for the window at start-up, polled once per active pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/entry.h"
#include "input/input_system.h"
#include "platform/fake/fake_input.h"
#include "support/engine_fixture.h"

namespace {

using InputStartup = EngineTest;

int callIndex(const std::string& prefix) {
    const auto& calls = fake::calls();
    const auto found = std::find_if(calls.begin(), calls.end(), [&prefix](const std::string& call) {
        return call.rfind(prefix, 0) == 0;
    });
    return found == calls.end() ? -1 : static_cast<int>(found - calls.begin());
}

}  // namespace

TEST_F(InputStartup, DevicesFollowTheWindowAndEveryActivePassPollsOnce) {
    int emptyQueues = 0;
    fake::window().whenQueueEmpty = [&emptyQueues] {
        if (++emptyQueues == 5) fake::window().queue.push_back({fake::fakeWindowHandle(), WM_CLOSE, 0, 0});
    };
    // A button the menu does not act on (F12 would close the program at the first pass).
    fake::setMouseButton(2, true);
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);

    EXPECT_GT(callIndex("input.create"), callIndex("createWindow"));
    EXPECT_EQ(fake::input().mouseDevice.cooperativeWindow, fake::fakeWindowHandle());
    EXPECT_EQ(g_input.mouseMinX, 0);
    EXPECT_EQ(g_input.mouseMinY, 0);
    EXPECT_EQ(g_input.mouseMaxX, 631);
    EXPECT_EQ(g_input.mouseMaxY, 471);
    EXPECT_EQ(fake::input().keyboardDevice.readCalls, fake::window().swapCount);
    EXPECT_EQ(g_input.keyState(KEY_MOUSE_MIDDLE), KEYSTATE_HELD);
}

TEST_F(InputStartup, NoDevicesWithoutADisplay) {
    fake::window().createWindowFails = true;
    EXPECT_FALSE(initGame());
    EXPECT_EQ(callIndex("input."), -1);
    EXPECT_EQ(g_input.directInput, nullptr);
}
